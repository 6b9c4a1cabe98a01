#include "app/ScriptCommand.h"

#include "app/AppCommands.h"
#include "app/DocFile.h"
#include "model/BarCodeStrings.h"

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

} // namespace

bool ParseAEScript(std::string_view text, BarCodeDataRec* rec, std::string_view& command) {
  const std::u32string chars = Utf8Decode(text);
  if (chars.size() <= 5 || chars.size() > kScriptMaxCharacters) return false;
  const ScriptAction* action = FindAction(Utf8Encode(chars.substr(0, 4)));
  if (!action || !BarCodeDataRequestValid(Utf8Encode(chars.substr(5)), rec)) return false;
  command = action->command;
  return true;
}
