#include "app/WinActions.h"

#include "app/AppCommands.h"
#include "app/Application.h"
#include "app/Toolbar.h"
#include "app/WinControls.h"
#include "app/WinPreview.h"
#include "output/print/Print.h"
#include "output/save/FileSave.h"

#include <gtkmm.h>

#include <iterator>

namespace {

int Handled(Gtk::Window&) {
  return 0;
}

int WinDoHelp(Gtk::Window&) {
  return DoHelp();
}

// The standard Close command becomes the window's close request, like the close box.
int WinDoClose(Gtk::Window& window) {
  window.close();
  return 0;
}

// The Print command shows the print dialog (no copies given).
int WinDoPrint(Gtk::Window& window) {
  return WinDoPrintWindow(window, 0);
}

int WinDoCustomizeToolbar(Gtk::Window& window) {
  return ToolbarCustomize(kMainToolbar, window);
}

struct WinCommand {
  std::string_view code;
  int (*run)(Gtk::Window&); // null: the command exists but this build cannot carry it out yet
  bool needsSymbol = false; // exports and copies: off while nothing can be drawn
};

constexpr WinCommand kWinCommands[] = {
    {kCmdSave, FileSave},
    {kCmdSaveAs, FileSaveAs},
    {kCmdPageSetup, WinDoPageSetup},
    {kCmdPrint, WinDoPrint},
    {kCmdClose, WinDoClose},
    {kCmdDataEntr, Handled},
    {kCmdAddonDat, Handled},
    {kCmdSymbEncd, Handled},
    {kCmdCopyClip, PasteboardSavePDF, true},
    {kCmdFileEPSF, FileSaveEPSF, true},
    {kCmdFilePDFf, FileSavePDF, true},
    {kCmdFileTIFF, FileSaveTIFF, true},
    {kCmdFilePNGf, FileSavePNG, true},
    {kCmdFilePICT, FileSavePICT, true},
    {kCmdFileSVGf, FileSaveSVG, true},
    {kCmdViewHelp, WinDoHelp},
    {kCmdEditDrwr, ProcessDrawerToggle},
    {kActionCustomizeToolbar, WinDoCustomizeToolbar},
    {kActionZoomIn, PreviewZoomIn},
    {kActionZoomOut, PreviewZoomOut},
    {kActionZoomActual, PreviewZoomActual},
    {kActionZoomFit, PreviewZoomFit},
};

// The Help menu stays usable while the preferences window holds everything else.
bool AlwaysEnabled(const std::string& name) {
  return name == CommandActionName(kCmdViewHelp);
}

const WinCommand* FindCommand(const std::string& name) {
  for (const WinCommand& command : kWinCommands)
    if (CommandActionName(command.code) == name) return &command;
  return nullptr; // the symbology menu
}

// Whether a command can be used now: this build carries it out, the Preferences window does not
// hold it back, and there is a symbol for it when it needs one.
bool Usable(Gtk::Window& window, const std::string& name, bool menusEnabled) {
  const WinCommand* command = FindCommand(name);
  if (command && !command->run) return false;
  if (!menusEnabled && !AlwaysEnabled(name)) return false;
  return !command || !command->needsSymbol || PreviewDrawable(window);
}

} // namespace

std::string CommandActionName(std::string_view code) {
  std::string name(code);
  std::erase(name, ' ');
  return name;
}

std::string SymbologyMenuCommand(int symbology) {
  std::string command = "m";
  command += std::to_string(kMenuEAN13 + symbology - 1);
  return command;
}

int WinInstallWindowHandler(Gtk::Window& window) {
  auto& map = dynamic_cast<Gtk::ApplicationWindow&>(window);
  for (const WinCommand& command : kWinCommands) {
    auto run = command.run;
    Glib::RefPtr<Gio::SimpleAction> action =
        map.add_action(CommandActionName(command.code), [&window, run] {
          if (run) run(window);
        });
    action->set_enabled(Usable(window, CommandActionName(command.code), ApplMenusEnabled()));
  }
  // The symbology items carry a mark on the current one.
  for (int n = 1; n <= kMenuItemTotal; ++n)
    map.add_action_bool(
           SymbologyMenuCommand(n), [&window, n] { ProcessMenuControl(window, kViewSymbology, n); },
           false)
        ->set_enabled(ApplMenusEnabled());
  return 0;
}

int WinDoCommand(Gtk::Window& window, std::string_view code) {
  for (const WinCommand& command : kWinCommands)
    if (command.code == code && command.run) return command.run(window);
  for (int n = 1; n <= kMenuItemTotal; ++n)
    if (SymbologyMenuCommand(n) == code) return ProcessMenuControl(window, kViewSymbology, n);
  return kEventNotHandled;
}

void WinActionsSetEnabled(Gtk::Window& window, bool enabled) {
  auto& map = dynamic_cast<Gtk::ApplicationWindow&>(window);
  for (const Glib::ustring& name : map.list_actions())
    if (auto action = std::dynamic_pointer_cast<Gio::SimpleAction>(map.lookup_action(name)))
      if (action->get_enabled() != Usable(window, name, enabled))
        action->set_enabled(Usable(window, name, enabled));
}

void WinActionsShowSymbology(Gtk::Window& window, int32_t symbology) {
  auto& map = dynamic_cast<Gtk::ApplicationWindow&>(window);
  for (int n = 1; n <= kMenuItemTotal; ++n)
    if (auto action = std::dynamic_pointer_cast<Gio::SimpleAction>(
            map.lookup_action(SymbologyMenuCommand(n))))
      if (action->get_state_variant().get_type_string() == "b" &&
          Glib::VariantBase::cast_dynamic<Glib::Variant<bool>>(action->get_state_variant()).get() !=
              (n == symbology))
        action->set_state(Glib::Variant<bool>::create(n == symbology));
}
