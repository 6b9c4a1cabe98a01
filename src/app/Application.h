// Start-up of the desktop application, its application-level commands, help and the
// serious-error path.
#pragma once

#include <glibmm/refptr.h>

#include <glibmm/ustring.h>

#include <string>
#include <vector>

namespace Gtk {
class Application;
class Builder;
class Window;
} // namespace Gtk

// The interface file inside the program's resources.
inline constexpr const char* kInterfaceResource = "/org/veltrix/BarCode/VeltrixBarCode.ui";
inline constexpr const char* kHomePageURL = "https://www.veltrix-barcode.example/";
inline constexpr const char* kSupportMailURL =
    "mailto:support@veltrix-barcode.example?Subject=Veltrix%20BarCode%20Support%20Request";
// Where the user guide is installed, relative to the folder one up from the program's.
inline constexpr const char* kUserGuideName = "user-guide.html";

// Creates the application. A unique one is the single instance that later launches hand their
// files and commands to; tests run several side by side and ask for a non-unique one.
Glib::RefPtr<Gtk::Application> ApplCreate(bool unique);
// The application of this process.
Glib::RefPtr<Gtk::Application> ApplGet();
// The start-up sequence, run once when the application starts (its startup signal).
int ApplInit();
// Loads objects of the interface file (the windows); null when it cannot be read.
Glib::RefPtr<Gtk::Builder> ApplLoadInterface(const std::vector<Glib::ustring>& objects);

int InstallApplicationHandler();
int BuildHelpMenu();
int HBRegister();
int DoHelp();
int DoQuit();
void SeriousErrorQuit(const std::string& message);
// While the preferences window is open, nothing else of the application can be used: the File,
// Edit, Symbology and View menus and the New, Open and Preferences commands are disabled.
void ApplSetMenusEnabled(bool enabled);
bool ApplMenusEnabled();

// Help: the user guide, the home page and the support mail.
int LaunchAppFolderSubDirFile(const std::string& relativePath);
int LaunchURL(const std::string& text);
// The installed user guide beside the program, empty when it cannot be found.
std::string ApplUserGuidePath();
// The About window: name, version, web site, licence and credits.
Gtk::Window* ApplAbout();
