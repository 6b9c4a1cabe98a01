#include "app/Application.h"

#include "app/AppCommands.h"
#include "app/FileOpen.h"
#include "app/NotifyAlert.h"
#include "app/Prefs.h"
#include "app/Script.h"
#include "app/Toolbar.h"
#include "app/WinActions.h"
#include "app/WinBuild.h"
#include "app/WinData.h"
#include "app/WinDocument.h"
#include "services/Services.h"

#include <gtkmm.h>

extern "C" void vx_app_resources_register_resource(void);

namespace {

constexpr const char* kStyleResource = "/org/veltrix/BarCode/VeltrixBarCode.css";
constexpr const char* kMenuResource = "/org/veltrix/BarCode/VeltrixBarCodeMenus.ui";

struct ApplCommand {
  std::string_view code;
  void (*run)(); // null: the command exists but this build cannot carry it out yet
};

void ApplNew() {
  WinBuildNew();
}
void ApplOpen() {
  FileOpen();
}
void ApplPrefs() {
  WinPrefsBuild();
}
void ApplUserGuide() {
  DoHelp();
}
void ApplHomePage() {
  LaunchURL(kHomePageURL);
}
void ApplSupportMail() {
  LaunchURL(kSupportMailURL);
}
void ApplQuit() {
  DoQuit();
}
void ApplShowAbout() {
  ApplAbout();
}

constexpr ApplCommand kApplCommands[] = {
    {kCmdNew, ApplNew},
    {kCmdOpen, ApplOpen},
    {kCmdPref, ApplPrefs},
    {kCmdUserGuide, ApplUserGuide},
    {kCmdHomePage, ApplHomePage},
    {kCmdSupportMail, ApplSupportMail},
    {kCmdQuit, ApplQuit},
    {kActionAbout, ApplShowAbout},
    {kActionQuitAsking, ApplQuitAsking},
};

// The commands that the preferences window holds back while it is open.
constexpr std::string_view kModalCommands[] = {kCmdNew, kCmdOpen, kCmdPref};

struct Accelerator {
  const char* action;
  const char* keys;
};
// Copy to the clipboard leaves Ctrl+C to the text fields, which copy text with it.
constexpr Accelerator kAccelerators[] = {
    {"app.new", "<Control>n"},
    {"app.open", "<Control>o"},
    {"app.pref", "<Control>comma"},
    {"app.quit-asking", "<Control>q"},
    {"win.clos", "<Control>w"},
    {"win.save", "<Control>s"},
    {"win.svas", "<Control><Shift>s"},
    {"win.page", "<Control><Shift>p"},
    {"win.prnt", "<Control>p"},
    {"win.CLIP", "<Control><Shift>c"},
    {"win.EdDr", "<Control>d"},
    {"win.Help", "F1"},
    {"win.zoom-in", "<Control>plus"},
    {"win.zoom-in", "<Control>equal"},
    {"win.zoom-in", "<Control>KP_Add"},
    {"win.zoom-out", "<Control>minus"},
    {"win.zoom-out", "<Control>KP_Subtract"},
    {"win.zoom-actual", "<Control>0"},
    {"win.zoom-actual", "<Control>KP_0"},
};

void InstallStyle() {
  auto provider = Gtk::CssProvider::create();
  provider->load_from_resource(kStyleResource);
  Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void ApplActivate() {
  std::vector<Gtk::Window*> windows = WindowListDocuments();
  if (windows.empty())
    WinBuildNew();
  else
    windows.front()->present();
}

bool CommandAvailable(std::string_view code) {
  for (const ApplCommand& command : kApplCommands)
    if (command.code == code) return command.run != nullptr;
  return false;
}

// The windows are forms around one picture that the program draws itself: GTK's cairo renderer
// draws them as well as OpenGL would, and without OpenGL the program does not load and set up a GL
// driver before its first window (a quarter of a second with software GL). Another renderer or
// GDK options chosen in the environment are kept. GTK reads the option as it starts (when the
// application is made); it is not handed on to the programs that this one opens.
bool DrawWithoutGL() {
  const std::string renderer = Glib::getenv("GSK_RENDERER");
  if (!Glib::getenv("GDK_DEBUG").empty() || !(renderer.empty() || renderer == "cairo"))
    return false;
  Glib::setenv("GDK_DEBUG", "gl-disable");
  return true;
}

void DrawnWithoutGL() {
  Glib::unsetenv("GDK_DEBUG");
  // The display's own choice of renderer, so that GTK does not try OpenGL first.
  if (GdkDisplay* display = gdk_display_get_default())
    g_object_set_data(G_OBJECT(display), "gsk-renderer", const_cast<char*>("cairo"));
}

} // namespace

Glib::RefPtr<Gtk::Application> ApplCreate(bool unique) {
  vx_app_resources_register_resource();
  const bool withoutGL = DrawWithoutGL();
  auto app =
      Gtk::Application::create(kApplicationId, unique ? Gio::Application::Flags::HANDLES_OPEN
                                                      : Gio::Application::Flags::HANDLES_OPEN |
                                                            Gio::Application::Flags::NON_UNIQUE);
  if (withoutGL) DrawnWithoutGL();
  app->signal_startup().connect([] { ApplInit(); });
  app->signal_activate().connect(&ApplActivate);
  // Files handed to the program, on its command line or by another launch, open as documents.
  app->signal_open().connect([](const Gio::Application::type_vec_files& files,
                                const Glib::ustring&) { HandleAEOpenDoc(files); });
  return app;
}

Glib::RefPtr<Gtk::Application> ApplGet() {
  return std::dynamic_pointer_cast<Gtk::Application>(Gio::Application::get_default());
}

Glib::RefPtr<Gtk::Builder> ApplLoadInterface(const std::vector<Glib::ustring>& objects) {
  try {
    return Gtk::Builder::create_from_resource(kInterfaceResource, objects);
  } catch (const Glib::Error&) {
    return {};
  }
}

int ApplInit() {
  HBRegister();
  // The menu bar has a file of its own: GtkBuilder builds menus only from a whole file, and the
  // windows are built when they are opened.
  Glib::RefPtr<Gtk::Builder> builder;
  try {
    builder = Gtk::Builder::create_from_resource(kMenuResource);
  } catch (const Glib::Error&) {
  }
  if (!builder) {
    SeriousErrorQuit("Can't create nib ref.");
    return 0;
  }
  auto menu = std::dynamic_pointer_cast<Gio::MenuModel>(builder->get_object("MainMenu"));
  if (!menu) {
    SeriousErrorQuit("Can't set MenuBar.");
    return 0;
  }
  ApplGet()->set_menubar(menu);
  InstallApplicationHandler();
  InstallAEHandler();
  BuildHelpMenu();
  BuildToolbar();
  if (CheckSysVersionExtended() < kSysVersionTiger) {
    SeriousErrorQuit("Sorry, Veltrix BarCode only works with MacOS X 10.4 or later.");
    return 0;
  }
  InstallStyle();
  // Files saved through the dialogs go to the recently used list, which names the program.
  Glib::set_application_name("Veltrix BarCode");
  if (Glib::get_prgname().empty()) Glib::set_prgname("veltrix-barcode");
  Gtk::Window::set_default_icon_name(kApplicationId);
  WinPrefsFirstRun();
  return 0;
}

int InstallApplicationHandler() {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (const ApplCommand& command : kApplCommands) {
    auto run = command.run;
    app->add_action(CommandActionName(command.code),
                    [run] {
                      if (run) run();
                    })
        ->set_enabled(run != nullptr);
  }
  // An action may have several keys (Ctrl+plus is Ctrl+equal on most keyboards).
  std::map<std::string, std::vector<Glib::ustring>> keys;
  for (const Accelerator& accelerator : kAccelerators)
    keys[accelerator.action].push_back(accelerator.keys);
  for (const auto& [action, accels] : keys)
    app->set_accels_for_action(action, accels);
  return 0;
}

int BuildHelpMenu() {
  auto menubar = ApplGet()->get_menubar();
  if (!menubar) return 0;
  // The Help menu is the menu bar's last submenu.
  const int last = menubar->get_n_items() - 1;
  auto help = std::dynamic_pointer_cast<Gio::Menu>(
      menubar->get_item_link(last, Gio::MenuModel::Link::SUBMENU));
  if (!help) return 0;
  auto guide = Gio::Menu::create();
  guide->append("Veltrix BarCode User Guide", "app." + CommandActionName(kCmdUserGuide));
  help->append_section(guide);
  auto maker = Gio::Menu::create();
  maker->append("Veltrix Research Home Page", "app." + CommandActionName(kCmdHomePage));
  maker->append("Veltrix Research Support eMail", "app." + CommandActionName(kCmdSupportMail));
  help->append_section(maker);
  return 0;
}

int HBRegister() {
  // The user guide is a web page found beside the program; there is no help index to register.
  return 0;
}

int DoHelp() {
  const std::string guide = ApplUserGuidePath();
  if (!guide.empty()) LaunchURL(Glib::filename_to_uri(guide));
  return 0;
}

int DoQuit() {
  if (Glib::RefPtr<Gtk::Application> app = ApplGet()) app->quit();
  return 0;
}

void SeriousErrorQuit(const std::string& message) {
  NotifyAlert(kAlertStop, "Sorry, a serious error has occurred!", message, 1, nullptr,
              [](int) { DoQuit(); });
}

void ApplSetMenusEnabled(bool enabled) {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (std::string_view code : kModalCommands)
    if (auto action = std::dynamic_pointer_cast<Gio::SimpleAction>(
            app->lookup_action(CommandActionName(code))))
      action->set_enabled(enabled && CommandAvailable(code));
  for (Gtk::Window* window : WindowListDocuments())
    WinActionsSetEnabled(*window, enabled);
}

bool ApplMenusEnabled() {
  return WinPrefsWindow() == nullptr;
}
