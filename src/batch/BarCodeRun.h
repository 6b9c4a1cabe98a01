// The parameters of one run: what the command line's "-name value" pairs and each row of a batch
// fill, the check that makes a run a usage error, and the making of its file. A single run and a
// batch row go through these same functions, so they validate, warn and refuse alike.
#pragma once

#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "services/Services.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses of a run and of a batch.
enum : int { kExitWritten = 0, kExitCannotProduce = 1, kExitUsage = 2 };

struct BarCodeRun {
  BarCodeDataRec rec;                // made by BarCodeRunCreate; BarCodeRunRelease releases it
  std::string output;                // standardised output path
  uint32_t action = 0;               // four-character action code, 0 when none was valid
  std::string invalid;               // the first parameter whose value is not valid UTF-8
  int16_t strict = 0;                // 1: any notice refuses the request
  int16_t verify = 0;                // 1: the symbol is read back before it is written
  std::optional<std::string> author; // the PDF author when read once for many runs
};

void BarCodeRunCreate(BarCodeRun& run);
void BarCodeRunRelease(BarCodeRun& run);
// A run of its own with the same parameters: the strings are copied, not shared.
void BarCodeRunCopy(const BarCodeRun& from, BarCodeRun& to);

// Applies "-name value" to the run; false when the name is no parameter of a run. A value that
// is not UTF-8 is not applied and names the parameter in `invalid`.
bool BarCodeRunApply(BarCodeRun& run, std::string_view name, const std::string& value);
// The names of the parameters ("-type", ...).
std::vector<std::string_view> BarCodeRunParameters();

// Why the run is a usage error, or empty when it can go ahead. The checks of the parameters for
// which `skip` answers true are left out (a batch's columns, which each row fills).
std::string BarCodeRunProblem(const BarCodeRun& run,
                              const std::function<bool(std::string_view)>& skip = nullptr);

// The action's four-character code for its word ("pngf"), 0 for none.
uint32_t BarCodeRunActionCode(std::string_view word);
inline constexpr uint32_t kActionClip = FourCharCode("CLIP");
inline constexpr uint32_t kActionPDF = FourCharCode("FPDF");

// Makes the run's file or puts it on the clipboard: with -verify or -strict the request is
// checked first. The lines for the user (without a prefix) are appended to `lines`: a warning
// for each notice, and one line saying why the run failed. Returns the exit status.
int BarCodeRunProduce(BarCodeRun& run, std::vector<std::string>& lines);
// The same with another way of making the output (a page of a document, say).
int BarCodeRunProduceWith(BarCodeRun& run, std::vector<std::string>& lines,
                          const std::function<OutputResult(BarCodeRun&)>& make);

// The leading integer of a text (optional sign, digits), saturated to 32 bits; 0 otherwise.
int32_t CommandLineInteger(const std::string& text);
