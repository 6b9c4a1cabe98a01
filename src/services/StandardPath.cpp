#include "services/Services.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

std::string HomeFolder(const std::string& user) {
  if (user.empty()) {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
  }
  const passwd* entry = getpwnam(user.c_str());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

// "~" and "~user" at the start become that home folder; an unknown user is left as written.
std::string ExpandTilde(const std::string& path) {
  if (path.empty() || path[0] != '~') return path;
  const size_t slash = path.find('/');
  const std::string user =
      path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
  const std::string home = HomeFolder(user);
  if (home.empty()) return path;
  return home + (slash == std::string::npos ? "" : path.substr(slash));
}

} // namespace

int GetStandardUnixPath(std::string& path) {
  const std::string expanded = ExpandTilde(path);
  if (expanded.empty()) return 0;
  const bool absolute = expanded[0] == '/';
  std::vector<std::string> parts;
  for (size_t from = 0; from <= expanded.size();) {
    size_t slash = expanded.find('/', from);
    if (slash == std::string::npos) slash = expanded.size();
    const std::string part = expanded.substr(from, slash - from);
    from = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..") {
      parts.pop_back();
      continue;
    }
    if (part == ".." && absolute) continue; // nothing lies above the root
    parts.push_back(part);
  }
  std::string result = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i)
    result += (i ? "/" : "") + parts[i];
  path = result.empty() ? "." : result;
  return 0;
}
