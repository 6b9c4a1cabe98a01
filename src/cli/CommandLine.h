// The command-line tool: one run, one barcode; or, with -batch, one barcode per row of a file.
#pragma once

#include "batch/BarCodeRun.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct CommandLineRun : BarCodeRun {
  std::string batch; // the file of a batch, "-" for standard input; empty for a single run
  int32_t jobs = 0;  // threads of a batch, 0 for one per core
};

extern const char* const kUsageText;

// Fills the run from the arguments (program name first), as the tool scans them.
void CommandLineScan(const std::vector<std::string>& args, CommandLineRun& run);
// The whole run; returns the exit status. With `terminal`, standard error is a terminal and a
// batch shows its progress there.
int CommandLineMain(const std::vector<std::string>& args, FILE* out, FILE* err,
                    bool terminal = false);
