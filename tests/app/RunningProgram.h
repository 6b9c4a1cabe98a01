// The desktop program run as users run it, in a process of its own on the test's display and
// session bus, and what the X server shows of it.
#pragma once

#include "support/TestSupport.h"

#include <glib.h>

#include <string>
#include <vector>

// True when a process owns the name on the session bus.
bool BusNameOwned(const std::string& name);
// Starts a program in the background with more environment entries ("NAME=value"). Unlike
// RunProgram, it leaves the child none of this process's pipes, so other programs run meanwhile
// see their own output end when they finish. 0 when it cannot be started.
GPid StartProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env);

// veltrix-barcode with its own preference folder; ended (if it still runs) when this goes.
class RunningProgram {
public:
  // Starts the program with these arguments and waits until it owns its bus name (when
  // `waitForBus`); Started() tells whether it came up.
  explicit RunningProgram(const std::vector<std::string>& args = {}, bool waitForBus = true);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  bool Started() const { return started_; }
  // Waits for the program to end; its exit status, or -1 when it did not end in time.
  int WaitForExit(int timeoutMs = 10000);

private:
  GPid pid_ = 0;
  bool started_ = false;
  bool exited_ = false;
};

// `gapplication` with these arguments (action, launch, list-actions) sent to the program.
RunResult SendToProgram(const std::vector<std::string>& args);
// GVariant text of a string: the command in single quotes, its quotes and backslashes escaped.
std::string VariantText(const std::string& text);
// The titles of the top-level windows the X server shows, in stacking order (bottom first).
std::vector<std::string> ScreenWindowTitles();
// Waits until a window of that title is shown; true when it is.
bool WaitForWindowTitle(const std::string& title, int timeoutMs = 10000);
// Saves the whole screen as a PNG; empty on failure.
std::string GrabScreen(const std::string& path);
