#include "support/TestSupport.h"

#include "model/BarCodeDataRec.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The folders made by this process, removed when it ends (a forked child leaves them alone).
struct TempDirs {
  pid_t owner = getpid();
  std::vector<std::string> made;
  ~TempDirs() {
    if (getpid() != owner) return;
    std::error_code ignored;
    for (const std::string& dir : made)
      fs::remove_all(dir, ignored);
  }
};

TempDirs& MadeTempDirs() {
  static TempDirs dirs;
  return dirs;
}

} // namespace

std::string TestTempDir() {
  std::string dir = (fs::temp_directory_path() / "vxtest-XXXXXX").string();
  if (!mkdtemp(dir.data())) return "/tmp";
  MadeTempDirs().made.push_back(dir);
  return dir;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

namespace {

std::vector<std::string> Environment(const std::vector<std::string>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    env.emplace_back(*e);
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('=') + 1);
    std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    if (change.size() > name.size()) env.push_back(change);
  }
  return env;
}

// Reads both pipes to their end without letting either fill up.
void Drain(int outFd, int errFd, RunResult& result) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0 && poll(fds, 2, 60000) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, n);
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
}

} // namespace

RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     const std::string& workdir) {
  RunResult result;
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  if (!workdir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings = Environment(env);
  std::vector<char*> envp;
  for (std::string& e : envStrings)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (rc != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    return result;
  }
  Drain(outPipe[0], errPipe[0], result);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string CliPath() {
  return VX_CLI_PATH;
}

RunResult RunCli(const std::vector<std::string>& args, const std::string& workdir) {
  std::vector<std::string> argv{CliPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv, {}, workdir);
}

BarCodeDataRec MakeRecord(int symbology, const std::string& data, const std::string& addon) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = symbology;
  *rec.data = data;
  *rec.addon = addon;
  rec.position = 3;
  return rec;
}

// ---- Test data ----

std::string Repeat(std::string_view unit, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i)
    out += unit;
  return out;
}

std::string Digits(size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i)
    out += static_cast<char>('0' + (i * 7 + 3) % 10);
  return out;
}

std::string Letters(size_t n, char first) {
  std::string out;
  for (size_t i = 0; i < n; ++i)
    out += static_cast<char>(first + i % 26);
  return out;
}

std::string CharRange(int first, int last) {
  std::string text;
  for (int c = first; c <= last; ++c)
    text += static_cast<char>(c);
  return text;
}

std::string Fitted(const std::string& data, size_t n) {
  if (data.size() >= n) return data.substr(0, n);
  return std::string(n - data.size(), '0') + data;
}

std::string WithGtinCheck(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i)
    sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
  return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::vector<std::string>> ReadReferenceTable(const std::string& name) {
  std::ifstream in(std::string(VX_TEST_DATA_DIR) + "/" + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');)
      cells.push_back(cell);
    if (!cells.empty()) rows.push_back(cells);
  }
  return rows;
}
