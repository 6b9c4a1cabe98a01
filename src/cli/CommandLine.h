// The command-line tool: one run, one barcode.
#pragma once

#include "model/BarCodeDataRec.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Exit statuses.
enum : int { kExitWritten = 0, kExitCannotProduce = 1, kExitUsage = 2 };

struct CommandLineRun {
  BarCodeDataRec rec;  // created by the scan; the caller releases it
  std::string output;  // standardised output path
  uint32_t action = 0; // four-character action code, 0 when none was valid
  std::string invalid; // the first parameter whose value is not valid UTF-8
  int16_t strict = 0;  // 1: any notice refuses the request
  int16_t verify = 0;  // 1: the symbol is read back before it is written
};

extern const char* const kUsageText;

// Fills the run from the arguments (program name first), as the tool scans them.
void CommandLineScan(const std::vector<std::string>& args, CommandLineRun& run);
// The leading integer of a text (optional sign, digits), saturated to 32 bits; 0 otherwise.
int32_t CommandLineInteger(const std::string& text);
// Expands a leading "~", drops "." components and duplicate slashes, resolves ".." lexically.
int GetStandardUnixPath(std::string& path);
// The whole run; returns the exit status.
int CommandLineMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
