#include "app/WinData.h"
#include "output/save/FileSave.h"

#include <gtkmm.h>

int NavDialog(Gtk::Window& window, uint32_t flags, const std::string& message,
              const std::string& nameOrTypes, std::function<void(const std::string&)> callback) {
  const bool save = (flags & kNavKindMask) == kNavPutFile;
  auto dialog = Gtk::FileChooserNative::create(message, save ? Gtk::FileChooser::Action::SAVE
                                                             : Gtk::FileChooser::Action::OPEN);
  if (flags & kNavSheet) {
    dialog->set_transient_for(window);
    dialog->set_modal(true);
  }
  if (save && !nameOrTypes.empty()) dialog->set_current_name(nameOrTypes);
  dialog->set_select_multiple(!save && (flags & kNavAllowMultiple));
  WinData* data = WinDataGet(window);
  Gtk::FileChooserNative* native = dialog.get();
  dialog->signal_response().connect([native, data, callback](int response) {
    std::string path;
    if (response == static_cast<int>(Gtk::ResponseType::ACCEPT))
      if (Glib::RefPtr<Gio::File> file = native->get_file()) path = file->get_path();
    // The dialog is done with: let it go once this answer has been handled.
    Glib::RefPtr<Gtk::NativeDialog> keep = data ? data->nav : nullptr;
    if (data) data->nav.reset();
    if (!path.empty()) callback(path);
  });
  if (data) data->nav = dialog;
  dialog->show();
  return 0;
}
