// Services shared by both programs: the system version, the preference file, whole-file text
// reads and writes, and the Finder type and creator codes of a file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A four-character code as a 32-bit value, first character in the most significant byte.
constexpr uint32_t FourCharCode(std::string_view code) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<uint8_t>(i < code.size() ? code[i] : ' ');
  return value;
}
std::string FourCharString(uint32_t code);

inline constexpr uint32_t kMyAppSignature = FourCharCode("VLTX");
inline constexpr const char* kApplicationId = "org.veltrix.BarCode";
inline constexpr const char* kVersionText = "2.2.0";
// System version numbers: major * 10000 + minor * 100 + patch.
inline constexpr int32_t kSysVersionTiger = 100400;
inline constexpr int32_t kSysVersionLeopard = 100500;

int32_t CheckSysVersionExtended();

// Preferences, in the key file both programs share.
inline constexpr const char* kPrefAuthor = "VLTXAuth";
// The resolution of the bitmap files and the clipboard image the desktop program makes, an integer.
inline constexpr const char* kPrefBitmapDPI = "VLTXBitmapDPI";
std::string CFPrefsFilePath();
bool CFPrefsGetCFStr(const char* key, std::string& target);
std::optional<std::vector<std::string>> CFPrefsGetStringList(const char* key);
std::optional<int32_t> CFPrefsGetInt(const char* key);
void CFPrefsSetCFStr(const char* key, std::string_view value);
void CFPrefsSetStringList(const char* key, const std::vector<std::string>& value);
void CFPrefsSetInt(const char* key, int32_t value);
bool CFPrefsAppSynchronize();

// Whole files. Every write goes to a temporary file beside the target and is renamed over it, so
// a failed write leaves the earlier file as it was; a symbolic link is written through, replacing
// the file it points at. Given a type, the file gets its Finder codes before it takes its name.
// A folder of that name is left alone.
bool DataFileWriteAtomic(const std::string& path,
                         const std::function<bool(const std::string& tempPath)>& write,
                         uint32_t type = 0, uint32_t creator = 0);
bool DataFileWriteBytes(const std::string& path, std::string_view bytes);
// Writes all the bytes to an open file, however many calls it takes.
bool DataFileWriteAll(int fd, std::string_view bytes);
// Fills a file that is not in place yet (the temporary file of DataFileWriteAtomic) directly.
bool DataFileFillTemp(const std::string& tempPath, std::string_view bytes);
bool DataFileWriteCFStr(const std::string& path, std::string_view text);
std::optional<std::string> DataFileReadBytes(const std::string& path);
std::optional<std::string> DataFileReadAsCFStr(const std::string& path);
bool DataFileExists(const std::string& path);
int32_t DataFileLength(const std::string& path);
std::string CreateURLFromParentFSRefFileName(const std::string& folder, std::string_view name);
std::string GetNameAsPascalStringFromFSRef(const std::string& path);
void DataFileCleanName(std::string& text);
// Makes the folder and every missing folder above it; true when it is there afterwards.
bool DataFileMakeFolders(const std::string& folder);
// Expands a leading "~", drops "." components and duplicate slashes, resolves ".." lexically.
int GetStandardUnixPath(std::string& path);

// Finder codes live in extended attributes; a file system that refuses them gets none.
int FSRefSetTypeAndCreator(const std::string& path, uint32_t type, uint32_t creator);
int FSRefGetTypeAndCreator(const std::string& path, uint32_t& type, uint32_t& creator);
