#include "app/Script.h"

#include "app/AppCommands.h"
#include "app/Application.h"
#include "app/DocFile.h"
#include "app/FileOpen.h"
#include "app/WinActions.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"

#include <gtkmm.h>

namespace {

// Each action of a command line is the window command that its menu item carries out.
struct ScriptAction {
  std::string_view action;
  std::string_view command;
};
constexpr ScriptAction kScriptActions[] = {
    {"edit", kCmdEditWind}, {"text", kCmdSave},     {"save", kCmdSaveAs},   {"prnt", kCmdPrint},
    {"clip", kCmdCopyClip}, {"epsf", kCmdFileEPSF}, {"pdff", kCmdFilePDFf}, {"tiff", kCmdFileTIFF},
    {"pngf", kCmdFilePNGf}, {"pict", kCmdFilePICT}, {"svgf", kCmdFileSVGf},
};

const ScriptAction* FindAction(std::string_view action) {
  for (const ScriptAction& entry : kScriptActions)
    if (entry.action == action) return &entry;
  return nullptr;
}

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
  const std::u32string chars = Utf8Decode(text);
  if (chars.size() <= 5 || chars.size() > kScriptMaxCharacters) return;
  const ScriptAction* action = FindAction(Utf8Encode(chars.substr(0, 4)));
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  if (BarCodeDataRequestValid(Utf8Encode(chars.substr(5)), &rec) && action) {
    if (Gtk::Window* window = WinBuildNew()) {
      SetWindowData(*window, rec);
      WinDoCommand(*window, action->command);
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
