#include "app/WinWorker.h"

#include "model/BarCodeDataRec.h"

#include <glib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct Work {
  const void* owner;
  WinWork kind;
  std::function<void()> run;
};

class Worker {
public:
  ~Worker() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

  void Post(Work work) {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    std::erase_if(queue_, [&](const Work& waiting) {
      return waiting.owner == work.owner && waiting.kind == work.kind;
    });
    queue_.push_back(std::move(work));
    wake_.notify_one();
  }

private:
  void Run() {
    for (;;) {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      Work work = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      work.run();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Work> queue_;
  bool stop_ = false;
  std::thread thread_;
};

Worker& TheWorker() {
  static Worker worker;
  return worker;
}

} // namespace

void WinWorkerPost(const void* owner, WinWork kind, std::function<void()> work) {
  TheWorker().Post({owner, kind, std::move(work)});
}

void WinWorkerDeliver(std::function<void()> done) {
  using Done = std::function<void()>;
  g_idle_add_full(
      G_PRIORITY_HIGH_IDLE,
      [](gpointer data) {
        (*static_cast<Done*>(data))();
        return G_SOURCE_REMOVE;
      },
      new Done(std::move(done)), [](gpointer data) { delete static_cast<Done*>(data); });
}

BarCodeDataRec WinCopyRequest(const BarCodeDataRec& rec) {
  BarCodeDataRec copy = rec;
  copy.data = std::make_shared<std::string>(*rec.data);
  copy.addon = std::make_shared<std::string>(*rec.addon);
  copy.display = std::make_shared<std::string>(*rec.display);
  copy.epsText = nullptr;
  copy.notices = nullptr;
  return copy;
}
