#include "app/RunningProgram.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

constexpr const char* kBusName = "org.veltrix.BarCode";

void Sleep(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// One top-level window of `xwininfo -root -children`: its id and its name.
struct ScreenWindow {
  std::string id, title;
};

std::vector<ScreenWindow> RootChildren() {
  // Titles come as UTF-8 only under a UTF-8 locale.
  const RunResult r = RunProgram({"xwininfo", "-root", "-children"}, {"LC_ALL=C.UTF-8"});
  std::vector<ScreenWindow> windows;
  static const std::regex line(R"re(^\s*(0x[0-9a-f]+) "(.*)":)re");
  std::istringstream in(r.out);
  for (std::string text; std::getline(in, text);) {
    std::smatch match;
    if (std::regex_search(text, match, line)) windows.push_back({match[1], match[2]});
  }
  return windows;
}

bool Viewable(const std::string& id) {
  const RunResult r = RunProgram({"xwininfo", "-id", id});
  return r.out.find("Map State: IsViewable") != std::string::npos;
}

} // namespace

bool BusNameOwned(const std::string& name) {
  const RunResult r =
      RunProgram({"gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                  "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", name});
  return r.out.find("true") != std::string::npos;
}

GPid StartProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  gchar** environment = g_get_environ();
  for (const std::string& setting : env) {
    const size_t equals = setting.find('=');
    environment = g_environ_setenv(environment, setting.substr(0, equals).c_str(),
                                   setting.substr(equals + 1).c_str(), TRUE);
  }
  GPid pid = 0;
  const auto flags =
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                               G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
  if (!g_spawn_async(nullptr, args.data(), environment, flags, nullptr, nullptr, &pid, nullptr))
    pid = 0;
  g_strfreev(environment);
  return pid;
}

RunningProgram::RunningProgram(const std::vector<std::string>& args, bool waitForBus) {
  std::vector<std::string> argv = {"timeout", "120", VX_APP_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_ = StartProgram(argv, {"XDG_CONFIG_HOME=" + TestTempDir()});
  started_ = pid_ > 0;
  if (!started_ || !waitForBus) return;
  started_ = false;
  for (int i = 0; i < 300 && !started_; ++i) {
    started_ = BusNameOwned(kBusName);
    if (!started_) Sleep(100);
  }
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0 && !exited_) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

int RunningProgram::WaitForExit(int timeoutMs) {
  if (pid_ <= 0) return -1;
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exited_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Sleep(50);
  }
  return -1;
}

RunResult SendToProgram(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"gapplication"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

std::string VariantText(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

std::vector<std::string> ScreenWindowTitles() {
  std::vector<std::string> titles;
  for (const ScreenWindow& window : RootChildren())
    if (Viewable(window.id)) titles.push_back(window.title);
  return titles;
}

bool WaitForWindowTitle(const std::string& title, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 100) {
    const std::vector<std::string> titles = ScreenWindowTitles();
    if (std::find(titles.begin(), titles.end(), title) != titles.end()) return true;
    Sleep(100);
  }
  return false;
}

std::string GrabScreen(const std::string& path) {
  const RunResult grab = RunProgram({"import", "-window", "root", path});
  return grab.status == 0 ? path : std::string();
}
