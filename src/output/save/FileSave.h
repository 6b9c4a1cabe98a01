// The desktop program's save commands (a save dialog, then the format writer) and its clipboard
// command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct BarCodeDataRec;
namespace Gtk {
class NativeDialog;
class Window;
} // namespace Gtk

// Save commands: check the data, propose a name and open the save dialog on the window.
int FileSavePICT(Gtk::Window& window);
int FileSavePNG(Gtk::Window& window);
int FileSaveTIFF(Gtk::Window& window);
int FileSavePDF(Gtk::Window& window);
int FileSaveEPSF(Gtk::Window& window);
int FileSaveSVG(Gtk::Window& window);
// Completion handlers: the dialog's answer, a path, becomes the window's chosen location and the
// window-level writer runs.
int FileHandlerPICT(Gtk::Window& window, const std::string& path);
int FileHandlerPNG(Gtk::Window& window, const std::string& path);
int FileHandlerTIFF(Gtk::Window& window, const std::string& path);
int FileHandlerPDF(Gtk::Window& window, const std::string& path);
int FileHandlerEPSF(Gtk::Window& window, const std::string& path);
int FileHandlerSVG(Gtk::Window& window, const std::string& path);
// Window-level writers: the window's barcode to the chosen location.
int WinDoFilePICT(Gtk::Window& window);
int WinDoFilePNG(Gtk::Window& window);
int WinDoFileTIFF(Gtk::Window& window);
int WinDoFilePDF(Gtk::Window& window);
int WinDoFileEPSF(Gtk::Window& window);
int WinDoFileSVG(Gtk::Window& window);
// The document commands Save and Save As: the same three steps for a document file.
// Save writes the window's document file in place when it has one, and asks where otherwise;
// Save As always asks. A document written becomes the window's document.
int FileSave(Gtk::Window& window);
int FileSaveAs(Gtk::Window& window);
// Save, then `saved` once the window's document is written (never after Cancel or a failure).
int FileSaveThen(Gtk::Window& window, std::function<void()> saved);
int FileHandlerSave(Gtk::Window& window, const std::string& path);
int FileHandlerSaveAs(Gtk::Window& window, const std::string& path);
int WinDoFileSave(Gtk::Window& window);
int WinDoFileSaveAs(Gtk::Window& window);
// The clipboard command: the window's barcode as PDF, and as PNG and SVG for programs that take
// no PDF.
int PasteboardSavePDF(Gtk::Window& window);

// The name a save dialog proposes: the title text cut to 250 characters, "/" and ":" made "-",
// then the extension. A document's name keeps its ":" (only "/" cannot be part of a file name).
std::string FileSaveProposedName(const BarCodeDataRec& rec, std::string_view extension,
                                 bool document = false);
inline constexpr const char* kEmptyDataHeader =
    "Sorry, please enter some valid BarCode data first!";
inline constexpr const char* kEmptyDataMessage =
    "You cannot perform that function without valid data.";

// Flags of the dialog routine: the low byte is the kind, the rest options.
enum : uint32_t {
  kNavGetFile = 0,
  kNavPutFile = 1,
  kNavChooseFile = 2,
  kNavKindMask = 0xFF,
  kNavSheet = 0x100,
  kNavAllowMultiple = 0x200,
  kNavAllowInvisible = 0x400,
  kNavPreserveExtension = 0x2000,
};
// Opens a file dialog, modal; a sheet stays over `window`, any other dialog belongs to the whole
// application (`window` may then be null). `nameOrTypes` is the proposed name of a save dialog or
// the four-character file types an open dialog offers ("TEXTBARC"). The callback runs with the
// chosen path when the user confirms; Cancel calls nothing.
int NavDialog(Gtk::Window* window, uint32_t flags, const std::string& message,
              const std::string& nameOrTypes, std::function<void(const std::string&)> callback);
// The open dialog that belongs to no window, while it waits for an answer; null otherwise.
Gtk::NativeDialog* NavDialogOfApplication();
