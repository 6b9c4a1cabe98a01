#include "batch/BatchSource.h"

#include "services/Services.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Waits for input a tenth of a second at a time, so that a stop is seen even while a pipe or a
// terminal sends nothing.
std::ptrdiff_t ReadSome(int fd, char* to, std::size_t size, const std::atomic<bool>* stop) {
  for (;;) {
    if (stop && stop->load()) return 0;
    pollfd ready{fd, POLLIN, 0};
    const int polled = poll(&ready, 1, 100);
    if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
    const ssize_t got = read(fd, to, size);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

// The rest of a stream that cannot be read twice, in an unnamed temporary file that can.
int Spool(BatchSource& source) {
  std::string name = (std::filesystem::temp_directory_path() / "vxbatch-XXXXXX").string();
  const int spool = mkostemp(name.data(), O_CLOEXEC);
  if (spool < 0) return -1;
  unlink(name.c_str());
  bool ok = DataFileWriteAll(spool, BatchCSVUnread(source.csv));
  std::string chunk(65536, '\0');
  for (std::ptrdiff_t got = 1; ok && got > 0;) {
    got = ReadSome(source.fd, chunk.data(), chunk.size(), source.stop);
    ok = got >= 0 && DataFileWriteAll(spool, std::string_view(chunk.data(), got > 0 ? got : 0));
  }
  if (!ok || (source.stop && source.stop->load())) {
    close(spool);
    return -1;
  }
  return spool;
}

void Restart(BatchSource& source, off_t offset) {
  lseek(source.fd, offset, SEEK_SET);
  const char separator = source.csv.separator;
  source.csv = BatchCSV{};
  source.csv.separator = separator;
  source.csv.fill = [fd = source.fd, stop = source.stop](char* to, std::size_t size) {
    return ReadSome(fd, to, size, stop);
  };
}

} // namespace

std::string BatchFileName(const std::string& file) {
  return file == "-" ? "standard input" : "the batch file " + file;
}

std::string BatchSourceOpen(BatchSource& source, const std::string& file,
                            std::vector<std::string>& header) {
  source.fd = file == "-" ? STDIN_FILENO : open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (source.fd < 0) return BatchFileName(file) + " cannot be read: " + std::strerror(errno);
  source.owned = file != "-";
  struct stat info {};
  if (fstat(source.fd, &info) == 0 && S_ISDIR(info.st_mode))
    return BatchFileName(file) + " is a folder";
  source.csv.fill = [fd = source.fd, stop = source.stop](char* to, std::size_t size) {
    return ReadSome(fd, to, size, stop);
  };
  if (!BatchCSVHeader(source.csv, file == "-" ? "" : file, header))
    return BatchFileName(file) + " has no header row";
  return {};
}

bool BatchSourceCount(BatchSource& source) {
  off_t start = lseek(source.fd, 0, SEEK_CUR);
  if (start < 0) {
    const int spool = Spool(source);
    if (spool < 0) return false;
    BatchSourceClose(source);
    source.fd = spool;
    source.owned = true;
    start = 0;
  } else {
    start -= static_cast<off_t>(BatchCSVUnread(source.csv).size());
  }
  Restart(source, start);
  std::vector<std::string> fields;
  std::string problem;
  for (source.total = 0; BatchCSVRead(source.csv, fields, problem);)
    ++source.total;
  const bool whole = !source.csv.failed && !(source.stop && source.stop->load());
  Restart(source, start);
  return whole;
}

void BatchSourceClose(BatchSource& source) {
  if (source.owned && source.fd >= 0) close(source.fd);
  source.fd = -1;
  source.owned = false;
}
