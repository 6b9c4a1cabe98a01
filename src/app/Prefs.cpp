#include "app/Prefs.h"

#include "app/Application.h"
#include "app/WinBuild.h"
#include "app/WinData.h"
#include "services/Services.h"

#include "model/BarCodeDataRec.h"

#include <gtkmm.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// The resolutions of common printers: label printers at 203, 300 and 600 dots per inch, office
// printers at 150 and 300 or 600, and the screen's 72.
constexpr std::array<int32_t, 5> kBitmapResolutions{72, 150, 203, 300, 600};

// The offered resolution nearest to a stored one (the file may hold any number).
size_t BitmapResolutionIndex(int32_t dpi) {
  size_t best = 0;
  for (size_t i = 1; i < kBitmapResolutions.size(); ++i)
    if (std::abs(kBitmapResolutions[i] - dpi) < std::abs(kBitmapResolutions[best] - dpi)) best = i;
  return best;
}

void FillBitmapResolutions(Gtk::DropDown& popup) {
  std::vector<Glib::ustring> names;
  for (int32_t dpi : kBitmapResolutions)
    names.push_back(std::to_string(dpi) + " dpi");
  popup.set_model(Gtk::StringList::create(names));
  popup.set_selected(static_cast<guint>(BitmapResolutionIndex(WinPrefsBitmapDPI())));
}

} // namespace

Gtk::Window* WinPrefsBuild() {
  if (Gtk::Window* open = WinPrefsWindow()) {
    open->present();
    return open;
  }
  Glib::RefPtr<Gtk::Builder> builder = ApplLoadInterface({"PrefWindow"});
  if (!builder) {
    SeriousErrorQuit("Can't create nib ref.");
    return nullptr;
  }
  auto* window = builder->get_widget<Gtk::Window>("PrefWindow");
  if (!window) {
    SeriousErrorQuit("Can't create prefs window from nib.");
    return nullptr;
  }
  ApplGet()->add_window(*window);
  if (auto* cancel = ViewFindAs<Gtk::Button>(*window, kPrefViewCancel))
    cancel->signal_clicked().connect([window] { WinPrefsCancel(*window); });
  if (auto* ok = ViewFindAs<Gtk::Button>(*window, kPrefViewOK))
    ok->signal_clicked().connect([window] { WinPrefsSave(*window); });
  window->signal_close_request().connect([window] { return ProcessWindowClose(*window); }, false);
  window->set_modal(true);
  WinCloseOnEscape(*window);
  if (Gtk::Window* front = WindowFindByID(0)) window->set_transient_for(*front);
  std::string author;
  CFPrefsGetCFStr(kPrefAuthor, author);
  if (auto* field = ViewFindAs<Gtk::Entry>(*window, kPrefViewAuthor)) {
    field->set_text(author);
    field->set_sensitive(true);
  }
  if (auto* popup = ViewFindAs<Gtk::DropDown>(*window, kPrefViewBitmapDPI))
    FillBitmapResolutions(*popup);
  window->present();
  ApplSetMenusEnabled(false);
  return window;
}

int WinPrefsSave(Gtk::Window& window) {
  auto* field = ViewFindAs<Gtk::Entry>(window, kPrefViewAuthor);
  CFPrefsSetCFStr(kPrefAuthor, field ? std::string(field->get_text()) : std::string());
  if (auto* popup = ViewFindAs<Gtk::DropDown>(window, kPrefViewBitmapDPI);
      popup && popup->get_selected() < kBitmapResolutions.size())
    CFPrefsSetInt(kPrefBitmapDPI, kBitmapResolutions[popup->get_selected()]);
  CFPrefsAppSynchronize();
  return WinPrefsCancel(window);
}

int WinPrefsCancel(Gtk::Window& window) {
  window.set_visible(false);
  window.unset_transient_for();
  Glib::signal_idle().connect_once([&window] { delete &window; });
  ApplSetMenusEnabled(true);
  return 0;
}

Gtk::Window* WinPrefsWindow() {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  if (!app) return nullptr;
  for (Gtk::Window* window : app->get_windows())
    if (window->get_title() == kPrefsWindowTitle && window->get_visible()) return window;
  return nullptr;
}

int32_t WinPrefsBitmapDPI() {
  return std::clamp(CFPrefsGetInt(kPrefBitmapDPI).value_or(kBarCodeDefaultDPI), kBarCodeDefaultDPI,
                    kBarCodeMaxDPI);
}

void WinPrefsFirstRun() {
  std::string author;
  if (CFPrefsGetCFStr(kPrefAuthor, author)) return;
  CFPrefsSetCFStr(kPrefAuthor, g_get_real_name());
  CFPrefsAppSynchronize();
}
