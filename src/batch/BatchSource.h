// Where a batch's rows come from: a file or standard input, read as a stream. Counting the rows
// first (for the progress and for {row} names) reads a file twice; standard input is kept in an
// unnamed temporary file for that.
#pragma once

#include "batch/BatchCSV.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct BatchSource {
  int fd = -1;
  bool owned = false; // the batch opened it and closes it
  const std::atomic<bool>* stop = nullptr;
  BatchCSV csv;
  uint64_t total = 0; // rows after the header, once counted
};

// The file as messages name it: "the batch file NAME", or "standard input" for "-".
std::string BatchFileName(const std::string& file);
// Opens the file ("-": standard input) and reads its header; why it cannot, or empty.
std::string BatchSourceOpen(BatchSource& source, const std::string& file,
                            std::vector<std::string>& header);
// Counts the rows after the header and goes back to the first of them; false when the input could
// not be read to its end (or the batch was stopped meanwhile).
bool BatchSourceCount(BatchSource& source);
void BatchSourceClose(BatchSource& source);
