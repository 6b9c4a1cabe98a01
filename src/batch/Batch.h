// Batches: one barcode for each row of a comma- or tab-separated file, whose columns name the
// parameters of a run. Each row is the request a single run with those parameters makes; rows are
// drawn and written by a pool of threads, read as a stream and reported in order.
#pragma once

#include "batch/BarCodeRun.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

struct BatchProgress {
  uint64_t done = 0;  // rows finished, written or failed
  uint64_t total = 0; // rows in the file
  double seconds = 0; // since the batch started
};

struct BatchOptions {
  std::string file;                        // the rows; "-" for standard input
  int jobs = 0;                            // drawing threads; 0 for one per core
  const std::atomic<bool>* stop = nullptr; // set (from a signal, say) to stop the batch cleanly
  std::function<void(const std::string&)> message; // a line for the user, without its line end
  // The rows done, at most ten times a second and once at the end; none when null.
  std::function<void(const BatchProgress&)> progress;
};

struct BatchSummary {
  uint64_t written = 0, failed = 0;
  uint64_t total = 0;   // rows in the file, 0 when not counted
  uint64_t lastRow = 0; // the last row finished when the batch was stopped
  double seconds = 0;
  bool stopped = false;
  std::string problem; // why the batch is a usage error
};

// Runs the batch of options.file, with the parameters of `defaults` for the columns the file
// lacks. Returns the exit status: 0 when every row was written, 1 when any failed or the batch
// was stopped, 2 for a usage error (summary.problem says which; nothing is written).
int BatchRun(const BarCodeRun& defaults, const BatchOptions& options, BatchSummary& summary);

// "10000 written, 3 failed in 2.1 s", saying where a stopped batch stopped.
std::string BatchSummaryText(const BatchSummary& summary);
// The progress line: a bar, rows done of the total, rows a second and the time left.
std::string BatchProgressText(const BatchProgress& progress);
// Reports a batch on a stream: each message on a line of its own and, when the stream is a
// terminal, the progress redrawn in place below them.
void BatchReportTo(FILE* err, bool terminal, BatchOptions& options);
// Writes the parts to a C stream one after another, zero bytes and all.
void BatchWrite(FILE* to, std::initializer_list<std::string_view> parts);

// Output names. The placeholders {row} (zero-padded to rowWidth digits), {data}, {type} and
// {addon} are replaced by the row's values, cleaned as proposed file names are.
bool BatchHasPlaceholder(std::string_view pattern);
// Whether {row} is the only placeholder: then every row's name is its own.
bool BatchNamesByRow(std::string_view pattern);
std::string BatchOutputName(std::string_view pattern, uint64_t row, int rowWidth,
                            const BarCodeDataRec& rec);
// The output files a batch has named so far (unless each row's name is its own).
struct BatchNames {
  std::string folder; // the working folder, against which relative names are taken
  std::vector<uint64_t> slots;
  size_t used = 0;
};
// Takes the file for a row: false when an earlier row named it.
bool BatchNamesTake(BatchNames& names, const std::string& path);
