// Opening the user guide, the home page and the support mail with the user's own programs.
#include "app/Application.h"

#include <gtkmm.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kParamErr = -50;

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

// The guide is installed as <prefix>/share/doc/veltrix-barcode beside <prefix>/bin; a build tree
// holds the same folders next to the program.
std::vector<fs::path> DocumentFolders() {
  const fs::path program = ProgramFolder();
  if (program.empty()) return {};
  return {program.parent_path() / VX_DOC_SUBDIR, program / VX_DOC_SUBDIR};
}

} // namespace

std::string ApplUserGuidePath() {
  for (const fs::path& folder : DocumentFolders()) {
    std::error_code error;
    if (fs::is_regular_file(folder / kUserGuideName, error))
      return fs::weakly_canonical(folder / kUserGuideName, error).string();
  }
  return {};
}

int LaunchAppFolderSubDirFile(const std::string& relativePath) {
  const fs::path program = ProgramFolder();
  if (program.empty()) return 0;
  std::error_code error;
  const fs::path file = program.parent_path() / relativePath;
  if (fs::exists(file, error)) LaunchURL(Glib::filename_to_uri(file.string()));
  return 0;
}

int LaunchURL(const std::string& text) {
  if (text.empty() || !g_uri_is_valid(text.c_str(), G_URI_FLAGS_NONE, nullptr)) return kParamErr;
  try {
    Gio::AppInfo::launch_default_for_uri(text);
  } catch (const Glib::Error& error) {
    return error.code() ? error.code() : -1;
  }
  return 0;
}
