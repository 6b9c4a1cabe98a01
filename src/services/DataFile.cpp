#include "services/Services.h"

#include "services/MacRoman.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kTypeAttribute = "user.mac.type";
constexpr const char* kCreatorAttribute = "user.mac.creator";
constexpr const char* kMimeAttribute = "user.mime_type";

struct MimeByType {
  uint32_t type;
  const char* mime;
};
constexpr MimeByType kMimeTypes[] = {
    {FourCharCode("PNGf"), "image/png"},
    {FourCharCode("TIFF"), "image/tiff"},
    {FourCharCode("PICT"), "image/x-pict"},
    {FourCharCode("PDF "), "application/pdf"},
    {FourCharCode("EPSF"), "image/x-eps"},
    {FourCharCode("BARC"), "application/x-veltrix-barcode"},
    {FourCharCode("SVG "), "image/svg+xml"},
};

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path stands for: a symbolic link is followed (through chains of links, relative ones
// from their own folder) so that a write replaces the file it points at and the link stays a link.
// `info` gets what the last lstat found (nothing when the file is not there).
std::string FollowLinks(std::string path, struct stat& info) {
  for (int hops = 0; hops < 40; ++hops) {
    info = {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::string target(4096, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) break;
    target.resize(static_cast<size_t>(length));
    path = target[0] == '/' ? target : Folder(path) + "/" + target;
  }
  return path;
}

// A name beside `path` for a file on its way there. Names only need to be unlikely to meet (the
// create or link that takes one settles the rest): seeded from the clock and the thread, without a
// system call.
std::string TempName(const std::string& path) {
  static std::atomic<unsigned> made{0};
  thread_local std::minstd_rand random(static_cast<unsigned>(
      static_cast<size_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      std::hash<std::thread::id>{}(std::this_thread::get_id())));
  char name[32];
  std::snprintf(name, sizeof name, "/.vxtmp-%08x%04x", static_cast<unsigned>(random()),
                made++ & 0xFFFFu);
  return Folder(path) + name;
}

// Makes a new file beside the target under a name no other file has. A new target gets what a
// plain create would give it (the kernel applies the umask to 0666); a replaced file keeps its
// permissions.
int OpenTempBeside(const std::string& path, const struct stat& existing, std::string& temp) {
  const bool replaced = S_ISREG(existing.st_mode);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TempName(path);
    const int fd =
        open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, replaced ? 0600 : 0666);
    if (fd >= 0 && replaced) fchmod(fd, existing.st_mode & 07777);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Sets the three attributes through `set(name, value, size)`, by name or on an open file alike.
template <typename Set> int SetCodes(const Set& set, uint32_t type, uint32_t creator) {
  const std::string typeText = FourCharString(type), creatorText = FourCharString(creator);
  if (set(kTypeAttribute, typeText.data(), 4) != 0) return errno;
  if (set(kCreatorAttribute, creatorText.data(), 4) != 0) return errno;
  for (const MimeByType& entry : kMimeTypes)
    if (entry.type == type) set(kMimeAttribute, entry.mime, std::strlen(entry.mime));
  return 0;
}

// The temporary file that DataFileWriteAtomic has made on this thread, still open: filling it
// writes through that descriptor, as opening it again by name costs about as much as the rest of
// a small file's write.
struct OpenTemp {
  std::string path;
  int fd = -1;
  bool filled = false;
};
thread_local OpenTemp openTemp;

// Fills the file open as `fd` through the writer, which knows it as `path`, and puts the codes on
// it: before the file takes its name, so that it never appears without them.
bool FillTemp(int fd, const std::string& path,
              const std::function<bool(const std::string& tempPath)>& write, uint32_t type,
              uint32_t creator) {
  openTemp = {path, fd, false};
  const bool written = write(path);
  openTemp = {};
  if (written && type != 0)
    SetCodes([fd](const char* name, const void* value,
                  size_t size) { return fsetxattr(fd, name, value, size, 0); },
             type, creator);
  return written;
}

// The name under which a process reaches its own open file.
std::string DescriptorPath(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

std::string FourCharString(uint32_t code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i)
    text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
  return text;
}

bool DataFileWriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

namespace {

// Gives the file open as `fd`, which has no name yet, the name `path`; fails when that name is
// taken. linkat through the descriptor itself needs a recent kernel or privileges, through
// /proc neither; a refusal of the first is remembered so that a batch asks once.
int LinkUnnamed(int fd, const std::string& path) {
  static std::atomic<bool> byDescriptor{true};
  if (byDescriptor && linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return 0;
  if (byDescriptor && errno == EEXIST) return errno;
  if (errno == ENOENT || errno == EPERM) byDescriptor = false;
  const std::string self = DescriptorPath(fd);
  return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// Writes a new file with no name (O_TMPFILE) and names it only when it is complete, codes
// included: the name then costs one link, where a named temporary file costs a create and a rename,
// each holding the folder's lock, which the threads of a batch otherwise queue for. False when
// this way is closed (a file system without unnamed files, no /proc for a writer that opens its
// file by name, a name taken meanwhile, a writer that fails): the caller then writes the common
// way, which a failing writer fails again.
bool WriteUnnamed(const std::string& path, const std::function<bool(const std::string&)>& write,
                  uint32_t type, uint32_t creator) {
  const int fd = open(Folder(path).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool placed =
      FillTemp(fd, DescriptorPath(fd), write, type, creator) && LinkUnnamed(fd, path) == 0;
  close(fd);
  return placed;
}

} // namespace

bool DataFileWriteAtomic(const std::string& named,
                         const std::function<bool(const std::string& tempPath)>& write,
                         uint32_t type, uint32_t creator) {
  if (named.empty() || named.back() == '/') return false;
  struct stat existing {};
  const std::string path = FollowLinks(named, existing);
  if (S_ISDIR(existing.st_mode)) return false;
  // A file that is replaced keeps to a named temporary file and a rename, its one atomic way.
  if (existing.st_mode == 0 && WriteUnnamed(path, write, type, creator)) return true;
  std::string temp;
  const int fd = OpenTempBeside(path, existing, temp);
  if (fd < 0) return false;
  const bool written = FillTemp(fd, temp, write, type, creator);
  if (close(fd) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool DataFileFillTemp(const std::string& tempPath, std::string_view bytes) {
  if (openTemp.fd >= 0 && openTemp.path == tempPath) {
    const bool empty = !openTemp.filled ||
                       (ftruncate(openTemp.fd, 0) == 0 && lseek(openTemp.fd, 0, SEEK_SET) == 0);
    openTemp.filled = true;
    return empty && DataFileWriteAll(openTemp.fd, bytes);
  }
  std::ofstream out(tempPath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

bool DataFileWriteBytes(const std::string& path, std::string_view bytes) {
  return DataFileWriteAtomic(
      path, [&](const std::string& temp) { return DataFileFillTemp(temp, bytes); });
}

bool DataFileWriteCFStr(const std::string& path, std::string_view text) {
  std::optional<std::string> bytes = MacRomanFromUtf8(text);
  return bytes && DataFileWriteBytes(path, *bytes);
}

std::optional<std::string> DataFileReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

std::optional<std::string> DataFileReadAsCFStr(const std::string& path) {
  std::optional<std::string> bytes = DataFileReadBytes(path);
  if (!bytes) return std::nullopt;
  return MacRomanToUtf8(*bytes);
}

bool DataFileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

int32_t DataFileLength(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return info.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info.st_size);
}

std::string CreateURLFromParentFSRefFileName(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

std::string GetNameAsPascalStringFromFSRef(const std::string& path) {
  const size_t slash = path.rfind('/');
  std::string name =
      MacRomanFromUtf8Lossy(slash == std::string::npos ? path : path.substr(slash + 1));
  if (name.size() > 255) name.resize(255);
  return name;
}

void DataFileCleanName(std::string& text) {
  for (char& c : text)
    if (c == '/' || c == ':') c = '-';
}

bool DataFileMakeFolders(const std::string& folder) {
  struct stat info {};
  if (folder.empty() || stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const size_t slash = folder.find_last_not_of('/') == std::string::npos
                           ? std::string::npos
                           : folder.rfind('/', folder.find_last_not_of('/'));
  if (slash != std::string::npos && slash > 0 && !DataFileMakeFolders(folder.substr(0, slash)))
    return false;
  // Another thread or program may make the same folder at the same moment.
  return mkdir(folder.c_str(), 0777) == 0 ||
         (errno == EEXIST && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

int FSRefSetTypeAndCreator(const std::string& path, uint32_t type, uint32_t creator) {
  return SetCodes([&path](const char* name, const void* value,
                          size_t size) { return setxattr(path.c_str(), name, value, size, 0); },
                  type, creator);
}

int FSRefGetTypeAndCreator(const std::string& path, uint32_t& type, uint32_t& creator) {
  type = creator = 0;
  char typeText[4], creatorText[4];
  if (getxattr(path.c_str(), kTypeAttribute, typeText, 4) != 4 ||
      getxattr(path.c_str(), kCreatorAttribute, creatorText, 4) != 4)
    return errno ? errno : ENODATA;
  type = FourCharCode(std::string_view(typeText, 4));
  creator = FourCharCode(std::string_view(creatorText, 4));
  return 0;
}
