#include "app/Script.h"

#include "app/Application.h"
#include "app/FileOpen.h"
#include "app/WinActions.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "model/BarCodeDataRec.h"

#include <gtkmm.h>

namespace {

void OpenEach(const std::vector<std::string>& paths, bool print) {
  for (const std::string& path : paths)
    if (!path.empty()) ProcessFileOpen(path, print);
}

} // namespace

int InstallAEHandler() {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  const Glib::VariantType text(G_VARIANT_TYPE_STRING), list(G_VARIANT_TYPE_STRING_ARRAY);
  for (const char* name : {"AUTO", "BARC"})
    app->add_action_with_parameter(
        name, text, [](const Glib::VariantBase& command) { HandleAEScript(command); });
  app->add_action_with_parameter("pdoc", list,
                                 [](const Glib::VariantBase& files) { HandleAEPrintDoc(files); });
  return 0;
}

int HandleAEScript(const Glib::VariantBase& parameter) {
  if (!parameter || !parameter.is_of_type(Glib::VariantType(G_VARIANT_TYPE_STRING)))
    return kScriptNotText;
  const Glib::ustring text =
      Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(parameter).get();
  ProcessAEScript(text.raw());
  return 0;
}

void ProcessAEScript(std::string_view text) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  std::string_view command;
  if (ParseAEScript(text, &rec, command)) {
    if (Gtk::Window* window = WinBuildNew()) {
      SetWindowData(*window, rec);
      WinDoCommand(*window, command);
    }
  }
  BarCodeDataRecRelease(&rec);
}

int HandleAEOpenDoc(const std::vector<Glib::RefPtr<Gio::File>>& files) {
  std::vector<std::string> paths;
  for (const Glib::RefPtr<Gio::File>& file : files)
    if (file) paths.push_back(file->get_path()); // empty for what is not a local file
  OpenEach(paths, false);
  return 0;
}

int HandleAEPrintDoc(const Glib::VariantBase& parameter) {
  if (!parameter || !parameter.is_of_type(Glib::VariantType(G_VARIANT_TYPE_STRING_ARRAY))) return 0;
  std::vector<std::string> paths;
  for (const Glib::ustring& item :
       Glib::VariantBase::cast_dynamic<Glib::Variant<std::vector<Glib::ustring>>>(parameter).get())
    if (!item.empty()) paths.push_back(Gio::File::create_for_commandline_arg(item)->get_path());
  OpenEach(paths, true);
  return 0;
}
