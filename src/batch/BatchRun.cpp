#include "batch/Batch.h"

#include "batch/BatchDocument.h"
#include "batch/BatchSource.h"
#include "model/BarCodeStrings.h"
#include "services/Services.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <malloc.h>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Job {
  bool work = false; // to be made by a worker; false when the row failed before that
  bool done = false;
  int status = kExitCannotProduce;
  BarCodeRun run;
  std::vector<std::string> lines;
  BatchPage page;
};

// The rows between the reader and the report: rows [drained, filled) are in the ring, rows
// [taken, filled) wait for a worker. Only the reader fills and drains; workers take. The reader
// waits for many rows at a time (until `finished` reaches `wakeAt`), not for each.
struct Window {
  std::mutex lock;
  std::condition_variable work, done;
  std::vector<Job> jobs;
  uint64_t drained = 1, taken = 1, filled = 1;
  uint64_t finished = 0, wakeAt = UINT64_MAX;
  bool closing = false;
  Job& operator[](uint64_t row) { return jobs[row % jobs.size()]; }
};

struct Batch {
  const BatchOptions& options;
  BatchSummary& summary;
  BarCodeRun defaults{};
  std::vector<std::string> columns{}; // the parameter of each column
  BatchSource source{};
  BatchNames names{};
  int rowWidth = 1;
  bool document = false; // one PDF of all rows
  bool byRow = false;    // every row names a file of its own: no need to remember the names
  BatchDocument doc{};
  bool lost = false; // the document was not stored
  Window window{};
  Clock::time_point start = Clock::now(), shown{};
};

bool Stopping(const Batch& b) {
  return b.options.stop && b.options.stop->load();
}

bool HasColumn(const Batch& b, std::string_view parameter) {
  return std::find(b.columns.begin(), b.columns.end(), parameter) != b.columns.end();
}

// The header's names as parameters: "type" is -type; case and surrounding blanks do not matter.
std::string ReadColumns(Batch& b, const std::vector<std::string>& header) {
  for (const std::string& cell : header) {
    std::string name(TrimWhiteSpace(cell));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::vector<std::string_view> parameters = BarCodeRunParameters();
    if (std::find(parameters.begin(), parameters.end(), "-" + name) == parameters.end()) {
      std::string known;
      for (std::string_view parameter : parameters)
        known += (known.empty() ? "" : ", ") + std::string(parameter.substr(1));
      return "the column \"" + cell + "\" of " + BatchFileName(b.options.file) +
             " names no parameter (" + known + ")";
    }
    if (HasColumn(b, "-" + name)) return "the column " + name + " appears twice";
    b.columns.push_back("-" + name);
  }
  return {};
}

std::string Fields(size_t count) {
  return std::to_string(count) + (count == 1 ? " field" : " fields");
}

// Fills the row's run from its fields, or says why the row fails before it is drawn.
void BuildRow(Batch& b, uint64_t row, Job& job, const std::vector<std::string>& fields,
              const std::string& problem) {
  BarCodeRunCopy(b.defaults, job.run);
  job.lines.clear();
  job.work = false;
  job.status = kExitCannotProduce;
  if (!problem.empty()) return job.lines.push_back(problem);
  if (fields.size() != b.columns.size())
    return job.lines.push_back("the row has " + Fields(fields.size()) + " where the header has " +
                               Fields(b.columns.size()));
  // An empty cell gives no value: the command line's, or the run's default, holds.
  for (size_t k = 0; k < fields.size(); ++k)
    if (!fields[k].empty()) BarCodeRunApply(job.run, b.columns[k], fields[k]);
  if (std::string usage = BarCodeRunProblem(job.run); !usage.empty())
    return job.lines.push_back(usage);
  if (job.run.action == kActionClip)
    return job.lines.push_back("-action clip is for a single barcode; a batch writes files");
  if (!b.document) {
    job.run.output = BatchOutputName(job.run.output, row, b.rowWidth, job.run.rec);
    if (!b.byRow && !BatchNamesTake(b.names, job.run.output))
      return job.lines.push_back(job.run.output + " is named by an earlier row");
  }
  job.work = true;
}

// The folder of a file, made when missing; each worker remembers the last one it made.
void MakeFolderOf(const std::string& path, std::string& made) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return;
  const std::string folder = path.substr(0, slash);
  if (folder != made && DataFileMakeFolders(folder)) made = folder;
}

void Work(Batch& b) {
  Window& w = b.window;
  std::string made;
  for (;;) {
    Job* job = nullptr;
    {
      std::unique_lock lock(w.lock);
      w.work.wait(lock, [&] { return w.taken < w.filled || w.closing; });
      if (w.taken == w.filled) return;
      job = &w[w.taken++];
    }
    if (job->work && b.document) {
      job->status = BarCodeRunProduceWith(
          job->run, job->lines, [&](BarCodeRun& r) { return BatchPageRecord(r.rec, job->page); });
    } else if (job->work) {
      MakeFolderOf(job->run.output, made);
      job->status = BarCodeRunProduce(job->run, job->lines);
    }
    std::unique_lock lock(w.lock);
    job->done = true;
    const bool wake = ++w.finished >= w.wakeAt;
    lock.unlock();
    if (wake) w.done.notify_one();
  }
}

void ShowProgress(Batch& b, bool last) {
  if (!b.options.progress) return;
  const Clock::time_point now = Clock::now();
  if (!last && now - b.shown < std::chrono::milliseconds(100)) return;
  b.shown = now;
  b.options.progress({b.summary.written + b.summary.failed, b.source.total,
                      std::chrono::duration<double>(now - b.start).count()});
}

void Report(Batch& b, uint64_t row, Job& job) {
  for (const std::string& line : job.lines)
    if (b.options.message) b.options.message("row " + std::to_string(row) + ": " + line);
  if (job.status == kExitWritten && job.page.recording) BatchDocumentAdd(b.doc, job.page);
  BatchPageRelease(job.page);
  ++(job.status == kExitWritten ? b.summary.written : b.summary.failed);
  b.summary.lastRow = row;
  ShowProgress(b, false);
}

// Reports the rows that are done, in order, up to the first that is not.
void DrainDone(Batch& b) {
  Window& w = b.window;
  std::unique_lock lock(w.lock);
  while (w.drained < w.filled && w[w.drained].done) {
    lock.unlock();
    Report(b, w.drained, w[w.drained]);
    lock.lock();
    w[w.drained].done = false;
    ++w.drained;
  }
}

// Reports rows until at most `rows` are left in the window, waiting as long as it takes.
void DrainTo(Batch& b, uint64_t rows) {
  Window& w = b.window;
  for (DrainDone(b);; DrainDone(b)) {
    std::unique_lock lock(w.lock);
    if (w.filled - w.drained <= rows) return;
    w.wakeAt = std::max(w.finished + 1, w.filled - 1 - rows);
    w.done.wait(lock, [&] { return w.finished >= w.wakeAt; });
    w.wakeAt = UINT64_MAX;
  }
}

// Workers leave the stop signals to the thread that reads, which stops cleanly.
std::vector<std::thread> StartWorkers(Batch& b, int count) {
  sigset_t signals, old;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, &old);
  std::vector<std::thread> workers;
  for (int k = 0; k < count; ++k)
    workers.emplace_back(Work, std::ref(b));
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  return workers;
}

void RunRows(Batch& b, int jobs) {
  Window& w = b.window;
  w.jobs.resize(static_cast<size_t>(std::max(64, 16 * jobs)));
  std::vector<std::thread> workers = StartWorkers(b, jobs);
  std::vector<std::string> fields;
  std::string problem;
  for (uint64_t row = 1; !Stopping(b); ++row) {
    if (w.filled - w.drained == w.jobs.size()) DrainTo(b, w.jobs.size() / 2);
    if (!BatchCSVRead(b.source.csv, fields, problem) || Stopping(b)) break;
    BuildRow(b, row, w[row], fields, problem);
    {
      const std::lock_guard lock(w.lock);
      ++w.filled;
    }
    w.work.notify_one();
    DrainDone(b);
  }
  {
    // Rows no worker has started are left out when the batch stops.
    const std::lock_guard lock(w.lock);
    b.summary.stopped = Stopping(b);
    if (b.summary.stopped) w.filled = w.taken;
    w.closing = true;
  }
  w.work.notify_all();
  DrainTo(b, 0);
  for (std::thread& worker : workers)
    worker.join();
}

int Cores() {
  cpu_set_t set;
  return sched_getaffinity(0, sizeof set, &set) == 0 ? std::max(1, CPU_COUNT(&set)) : 1;
}

// One PDF for the whole batch, stored whole when every row was read: a stopped batch leaves none.
void RunDocument(Batch& b, int jobs) {
  const std::string& path = b.defaults.output;
  const size_t slash = path.rfind('/');
  std::string made;
  MakeFolderOf(path, made);
  bool opened = false;
  const OutputResult stored = OutputStoreFile(
      path, FourCharCode("PDF "), FourCharCode("prvw"), [&](const std::string& temp) {
        opened = BatchDocumentOpen(b.doc, temp, path.substr(slash + 1), *b.defaults.author);
        if (opened) RunRows(b, jobs);
        return BatchDocumentClose(b.doc) && opened && !b.summary.stopped && b.doc.pages > 0;
      });
  b.lost = stored != OutputResult::Ok;
  if (!b.lost || !b.options.message) return;
  const std::string why = b.summary.stopped            ? "the batch was stopped"
                          : b.doc.pages == 0 && opened ? "no row made a page"
                                                       : std::string(OutputResultText(stored));
  b.options.message(path + " was not written: " + why);
}

// Checks the file's columns and the command line's parameters for the columns it lacks, and
// counts the rows when they must be known first. Why the batch cannot start, or empty.
std::string Prepare(Batch& b) {
  std::vector<std::string> header;
  if (std::string problem = BatchSourceOpen(b.source, b.options.file, header); !problem.empty())
    return problem;
  if (std::string problem = ReadColumns(b, header); !problem.empty()) return problem;
  const auto given = [&](std::string_view parameter) { return HasColumn(b, parameter); };
  if (std::string problem = BarCodeRunProblem(b.defaults, given); !problem.empty()) return problem;
  if (b.defaults.action == kActionClip && !HasColumn(b, "-action"))
    return "-action clip is for a single barcode; a batch writes files";
  b.byRow = !HasColumn(b, "-output") && BatchNamesByRow(b.defaults.output);
  b.document = b.defaults.action == kActionPDF && !HasColumn(b, "-action") &&
               !HasColumn(b, "-output") && !BatchHasPlaceholder(b.defaults.output);
  const bool count = b.options.progress || HasColumn(b, "-output") ||
                     b.defaults.output.find("{row}") != std::string::npos;
  if (count && !BatchSourceCount(b.source)) {
    b.summary.stopped = Stopping(b);
    if (!b.summary.stopped) return BatchFileName(b.options.file) + " could not be read to its end";
  }
  b.rowWidth = static_cast<int>(std::to_string(b.source.total).size());
  b.summary.total = b.source.total;
  return {};
}

} // namespace

int BatchRun(const BarCodeRun& defaults, const BatchOptions& options, BatchSummary& summary) {
  // Every row allocates and frees the same few buffers (bitmap, compressor). Left to its defaults,
  // the allocator hands them back to the system after each row and takes them again, and the
  // page faults and cross-thread TLB flushes cost more than the drawing.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 32 << 20);
  summary = {};
  Batch b{options, summary};
  b.source.stop = options.stop;
  BarCodeRunCopy(defaults, b.defaults);
  if (!b.defaults.author) b.defaults.author = OutputPDFAuthor();
  std::array<char, 4096> folder{};
  b.names.folder = getcwd(folder.data(), folder.size()) ? folder.data() : ".";
  summary.problem = Prepare(b);
  const int jobs = std::clamp(options.jobs > 0 ? options.jobs : Cores(), 1, 256);
  if (summary.problem.empty() && !summary.stopped) (b.document ? RunDocument : RunRows)(b, jobs);
  BatchSourceClose(b.source);
  BarCodeRunRelease(b.defaults);
  summary.seconds = std::chrono::duration<double>(Clock::now() - b.start).count();
  if (!summary.problem.empty()) return kExitUsage;
  ShowProgress(b, true);
  return summary.failed > 0 || summary.stopped || b.lost ? kExitCannotProduce : kExitWritten;
}
