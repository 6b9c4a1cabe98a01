#include "app/WinBuild.h"

#include "app/Application.h"
#include "app/Prefs.h"
#include "app/Toolbar.h"
#include "app/WinActions.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinDocument.h"
#include "services/Services.h"

#include <gtkmm.h>

namespace {

// The window and its drawer come from the interface file; GTK has no window placement of its own
// to cascade with, so the window manager places it.
Gtk::ApplicationWindow* CreateFromInterface() {
  Glib::RefPtr<Gtk::Builder> builder = ApplLoadInterface({"MainWindow", "MainDrawerRight"});
  if (!builder) {
    SeriousErrorQuit("Can't create nib ref.");
    return nullptr;
  }
  auto* window = builder->get_widget<Gtk::ApplicationWindow>("MainWindow");
  if (!window) {
    SeriousErrorQuit("Can't create main window from nib.");
    return nullptr;
  }
  auto* drawer = builder->get_widget<Gtk::Revealer>("MainDrawerRight");
  auto* content = dynamic_cast<Gtk::Box*>(ViewFindByName(*window, "main-content"));
  if (!drawer || !content) {
    delete window;
    SeriousErrorQuit("Can't create drawer window from nib.");
    return nullptr;
  }
  content->append(*drawer);
  WinDataAttach(*window).drawer = drawer;
  return window;
}

} // namespace

Gtk::Window* WinBuildNew() {
  Gtk::ApplicationWindow* window = CreateFromInterface();
  if (!window) return nullptr;
  WinData& data = *WinDataGet(*window);
  data.number = WindowNextNumber();
  WindowAppendIDToTitle(*window);
  data.untitledTitle = window->get_title();
  ApplGet()->add_window(*window);
  WinInstallWindowHandler(*window);
  WinInstallControlHandlers(*window);
  window->signal_close_request().connect([window] { return ProcessWindowClose(*window); }, false);
  ToolbarAttachToWindow(kMainToolbar, *window, true);
  data.drawer->set_transition_duration(0);
  data.drawer->set_reveal_child(false);
  data.drawer->set_transition_duration(250);
  SetWindowFields(*window, GetWindowSymbology(*window));
  // Typing goes to the data first.
  if (Gtk::Widget* field = ViewFindByID(*window, kViewData)) window->set_focus(*field);
  window->present();
  WinDocumentSet(*window, "");
  SetWindowImageUpdate(*window);
  return window;
}

bool ProcessWindowClose(Gtk::Window& window) {
  if (window.get_title() == kPrefsWindowTitle) {
    WinPrefsCancel(window);
    return true;
  }
  WinCloseAsking(window);
  return true;
}

void WinCloseOnEscape(Gtk::Window& dialog) {
  auto keys = Gtk::ShortcutController::create();
  keys->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape),
                                           Gtk::NamedAction::create("window.close")));
  dialog.add_controller(keys);
}
