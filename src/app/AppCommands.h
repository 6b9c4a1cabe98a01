// Command identifiers of the desktop application. Each is a four-character code; the menus, the
// toolbar and scripts reach it as the action of the same name ("win.CLIP", "app.pref"), blanks
// dropped because action names cannot hold them.
#pragma once

#include <string>
#include <string_view>

// Application commands.
inline constexpr std::string_view kCmdNew = "new ";
inline constexpr std::string_view kCmdOpen = "open";
inline constexpr std::string_view kCmdPref = "pref";
inline constexpr std::string_view kCmdUserGuide = "UsGu";
inline constexpr std::string_view kCmdHomePage = "VXHP";
inline constexpr std::string_view kCmdSupportMail = "VXeM";
// Quit for scripts: the program ends at once.
inline constexpr std::string_view kCmdQuit = "quit";
inline constexpr std::string_view kActionAbout = "about";
// Quit for the user: windows with unsaved changes ask first.
inline constexpr std::string_view kActionQuitAsking = "quit-asking";

// Standard document commands.
inline constexpr std::string_view kCmdSave = "save";
inline constexpr std::string_view kCmdSaveAs = "svas";
inline constexpr std::string_view kCmdPageSetup = "page";
inline constexpr std::string_view kCmdClose = "clos";
inline constexpr std::string_view kCmdPrint = "prnt";

// Window commands.
inline constexpr std::string_view kCmdDataEntr = "DtEn";
inline constexpr std::string_view kCmdAddonDat = "AdDt";
inline constexpr std::string_view kCmdSymbEncd = "SyEn";
inline constexpr std::string_view kCmdCopyClip = "CLIP";
inline constexpr std::string_view kCmdFilePDFf = "FPDF";
inline constexpr std::string_view kCmdFileEPSF = "FEPS";
inline constexpr std::string_view kCmdFilePICT = "FPCT";
inline constexpr std::string_view kCmdFileTIFF = "FTIF";
inline constexpr std::string_view kCmdFilePNGf = "FPNG";
inline constexpr std::string_view kCmdFileSVGf = "FSVG";
inline constexpr std::string_view kCmdEditWind = "0001";
inline constexpr std::string_view kCmdEditDrwr = "EdDr";
inline constexpr std::string_view kCmdViewHelp = "Help";

// Preferences buttons.
inline constexpr std::string_view kCmdPrefsCancel = "PrCn";
inline constexpr std::string_view kCmdPrefsOK = "PrOK";

// The symbology menu: "m901" for EAN-13 to "m927" for PDF417, in the order of the codes.
inline constexpr int kMenuEAN13 = 901;
inline constexpr int kMenuPDF417 = 927;
inline constexpr int kMenuItemTotal = kMenuPDF417 - kMenuEAN13 + 1;

// The platform's toolbar customisation has no command code of its own, nor have the preview's
// zoom commands.
inline constexpr std::string_view kActionCustomizeToolbar = "customize-toolbar";
inline constexpr std::string_view kActionZoomIn = "zoom-in";
inline constexpr std::string_view kActionZoomOut = "zoom-out";
inline constexpr std::string_view kActionZoomActual = "zoom-actual";
inline constexpr std::string_view kActionZoomFit = "zoom-fit";

// The action name of a command: its code without blanks.
std::string CommandActionName(std::string_view code);
// The symbology menu command of a symbology code ("m901" for 1).
std::string SymbologyMenuCommand(int symbology);
