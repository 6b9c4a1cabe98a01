#include "output/writers/OutputWriters.h"
#include "services/Services.h"

#include <sys/stat.h>

OutputResult OutputStoreFile(const std::string& path, uint32_t type, uint32_t creator,
                             const std::function<bool(const std::string& tempPath)>& write) {
  // A name ending in a slash means a folder even when none exists yet: writing a file of that name
  // without the slash would not be what was asked for.
  if (path.empty() || path.back() == '/') return OutputResult::IsFolder;
  if (DataFileWriteAtomic(path, write, type, creator)) return OutputResult::Ok;
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? OutputResult::IsFolder
                                                                 : OutputResult::CannotWrite;
}

OutputResult OutputStoreBytes(const std::string& path, uint32_t type, uint32_t creator,
                              std::string_view bytes) {
  return OutputStoreFile(path, type, creator,
                         [&](const std::string& temp) { return DataFileFillTemp(temp, bytes); });
}
