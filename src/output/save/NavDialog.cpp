#include "app/DocFile.h"
#include "app/WinData.h"
#include "output/save/FileSave.h"
#include "services/Services.h"

#include <gtkmm.h>

namespace {

// The file types a get-file dialog can offer, by their four-character codes.
struct NavFileType {
  uint32_t code;
  const char* name;
  const char* mimeType;
  const char* suffix; // files copied without their type are still known by their name
};
constexpr NavFileType kNavFileTypes[] = {
    {FourCharCode("TEXT"), "Text files", "text/plain", "txt"},
    {FourCharCode("BARC"), "Veltrix BarCode documents", kDocFileMimeType, "vbc"},
    {FourCharCode("EPSF"), "EPS files", "image/x-eps", "eps"},
};

void AddType(Gtk::FileFilter& filter, const NavFileType& type) {
  filter.add_mime_type(type.mimeType);
  filter.add_suffix(type.suffix);
}

// The type list, four characters per type, as the dialog's filters: all of them together first,
// then each alone.
void NavFilesSetTypeList(Gtk::FileChooser& dialog, std::string_view types) {
  std::vector<const NavFileType*> known;
  for (size_t at = 0; at + 4 <= types.size(); at += 4)
    for (const NavFileType& type : kNavFileTypes)
      if (type.code == FourCharCode(types.substr(at, 4))) known.push_back(&type);
  if (known.empty()) return;
  auto all = Gtk::FileFilter::create();
  all->set_name("All readable files");
  for (const NavFileType* type : known)
    AddType(*all, *type);
  dialog.add_filter(all);
  for (const NavFileType* type : known) {
    auto one = Gtk::FileFilter::create();
    one->set_name(type->name);
    AddType(*one, *type);
    dialog.add_filter(one);
  }
}

// A dialog that belongs to no window (the Open command's) lives here until it answers.
Glib::RefPtr<Gtk::NativeDialog> gApplicationDialog;

} // namespace

int NavDialog(Gtk::Window* window, uint32_t flags, const std::string& message,
              const std::string& nameOrTypes, std::function<void(const std::string&)> callback) {
  const bool save = (flags & kNavKindMask) == kNavPutFile;
  auto dialog = Gtk::FileChooserNative::create(message, save ? Gtk::FileChooser::Action::SAVE
                                                             : Gtk::FileChooser::Action::OPEN);
  // Not a sheet: modal to the whole application.
  dialog->set_modal(true);
  if (window && (flags & kNavSheet)) dialog->set_transient_for(*window);
  if (save && !nameOrTypes.empty()) dialog->set_current_name(nameOrTypes);
  if (!save) NavFilesSetTypeList(*dialog, nameOrTypes);
  dialog->set_select_multiple(!save && (flags & kNavAllowMultiple));
  WinData* data = window ? WinDataGet(*window) : nullptr;
  Glib::RefPtr<Gtk::NativeDialog>& slot = data ? data->nav : gApplicationDialog;
  Gtk::FileChooserNative* native = dialog.get();
  dialog->signal_response().connect([native, &slot, callback](int response) {
    std::string path;
    if (response == static_cast<int>(Gtk::ResponseType::ACCEPT))
      if (Glib::RefPtr<Gio::File> file = native->get_file()) path = file->get_path();
    // The dialog is done with: let it go once this answer has been handled.
    Glib::RefPtr<Gtk::NativeDialog> keep = slot;
    slot.reset();
    if (!path.empty()) callback(path);
  });
  slot = dialog;
  dialog->show();
  return 0;
}

Gtk::NativeDialog* NavDialogOfApplication() {
  return gApplicationDialog.get();
}
