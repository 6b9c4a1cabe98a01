// Script commands: what other programs ask of the running program over its D-Bus interface. The
// application actions "AUTO" and "BARC" carry one command line, "pdoc" (print documents) a list of
// files; files to open arrive through the application's open request, and "quit" ends it.
#pragma once

#include "app/ScriptCommand.h"

#include <glibmm/refptr.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Gio {
class File;
}
namespace Glib {
class VariantBase;
}

// The status of a parameter that is not text (the sender's error).
inline constexpr int kScriptNotText = -1700;

// Installs the script actions on the application.
int InstallAEHandler();
// "AUTO", "BARC": the parameter is the command line.
int HandleAEScript(const Glib::VariantBase& parameter);
// Parses one command line (ParseAEScript) and carries it out in a new window. Anything malformed
// is ignored.
void ProcessAEScript(std::string_view text);
// The open request: each file opens in a window of its own.
int HandleAEOpenDoc(const std::vector<Glib::RefPtr<Gio::File>>& files);
// "pdoc": each path or file URI of the list opens, and its window shows the Print dialog.
int HandleAEPrintDoc(const Glib::VariantBase& parameter);
