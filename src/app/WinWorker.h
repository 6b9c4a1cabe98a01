// Work done off the main loop, so that typing never waits for the engine: one thread for the
// program takes the newest piece of work of each kind for each window, and hands what came of it
// back to the main loop. The engine's drawing may run there: its font faces are made under a lock.
#pragma once

#include <functional>

struct BarCodeDataRec;
namespace Gtk {
class Window;
}

// What work done for a window finds of it when it is done: null once the window is gone.
struct WinLink {
  Gtk::Window* window = nullptr;
};

// Kinds of work; a window's newer work of a kind replaces its older work still waiting.
enum class WinWork { Picture, Reading };

// Queues `work` for the thread, in place of `owner`'s older work of that kind still waiting.
void WinWorkerPost(const void* owner, WinWork kind, std::function<void()> work);
// Runs `done` on the main loop (from any thread).
void WinWorkerDeliver(std::function<void()> done);
// A request of the thread's own, sharing no string with the window's record.
BarCodeDataRec WinCopyRequest(const BarCodeDataRec& rec);
