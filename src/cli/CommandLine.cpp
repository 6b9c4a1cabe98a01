#include "cli/CommandLine.h"

#include "batch/Batch.h"
#include "services/Services.h"

#include <algorithm>
#include <atomic>
#include <csignal>

const char* const kUsageText =
    "NAME:\n"
    "VeltrixBarCode v2.2.0 CLI -- Creates barcode images from the Command Line.\n"
    "\n"
    "SYNOPSIS:\n"
    "VeltrixBarCode [-parameter1] [value1] [-parameter2] [value2] [...]\n"
    "\n"
    "DESCRIPTION:\n"
    "The VeltrixBarCode utility creates barcode images as image files or onto the clipboard based "
    "on parameters entered:\n"
    "\n"
    "PARAMETERS:\n"
    "-action\n"
    "Specify result as \"clip\" for clipboard, or for graphic file format of \"epsf\", \"pdff\", "
    "\"tiff\", \"pngf\" or \"pict\".\n"
    "\n"
    "-type\n"
    "Barcode symbology to use. Valid values are EAN-13, EAN-8, EAN-128, EAN-14, EAN-18, EAN-99, "
    "EAN-Coupon, UPC-A, UPC-E, Code-128, Code-93, Code-39, Code-25, UPC-Coupon, Codabar, ISSN, "
    "ISBN, ISMN, PostNet, RM4SCC, Pharmacode, MSI, ITF-SCC, ITF-14, Interleaved-25, QRCode, "
    "PDF417.\n"
    "\n"
    "-data\n"
    "Primary main barcode data.\n"
    "\n"
    "-addon\n"
    "Secondary addon barcode data.\n"
    "\n"
    "-scale\n"
    "Scaling factor as a percentage where 100 is standard.\n"
    "\n"
    "-trim\n"
    "Trim level to reduce height where 0 is standard.\n"
    "\n"
    "-disp\n"
    "Override displayed text.\n"
    "\n"
    "-antialiasoff\n"
    "Disable Anti-Aliasing of graphic image where 1 is to disable.\n"
    "\n"
    "-fontsmoothoff\n"
    "Disable smoothening of text where 1 is to disable.\n"
    "\n"
    "-output\n"
    "Output file path and name for graphic image file\n"
    "\n"
    "-strict\n"
    "Refuse data that would be changed (cut, padded, a check digit replaced) where 1 is to "
    "refuse.\n"
    "\n"
    "-verify\n"
    "Read the symbol back with a scanner library before writing it where 1 is to verify.\n"
    "\n"
    "-dpi\n"
    "Resolution of \"tiff\", \"pngf\" and \"pict\" files in dots per inch from 72 to 2400 where 72 "
    "is standard.\n"
    "\n"
    "-action svgf\n"
    "Specify result as \"svgf\" for graphic file format SVG.\n"
    "\n"
    "-batch\n"
    "Make one barcode for each row of a CSV or TSV file (\"-\" for standard input) whose "
    "header row names its columns after the parameters above without the dash: type, data, "
    "addon, scale, trim, disp, antialiasoff, fontsmoothoff, dpi, action, output, verify, strict. "
    "Parameters given here are the defaults for the columns the file lacks. In -output, {row}, "
    "{data}, {type} and {addon} name each row's file; \"pdff\" with one -output file makes one "
    "PDF with a page per row.\n"
    "\n"
    "-jobs\n"
    "Number of rows of a batch made at once; the default is one per processor core.\n"
    "\n"
    "EXAMPLES:\n"
    "VeltrixBarCode -batch products.csv -type EAN-13 -action pngf -output 'labels/{data}.png'\n"
    "VeltrixBarCode -batch - -type Code-128 -action pdff -output list.pdf < list.csv\n"
    "\n";

namespace {

constexpr std::string_view kPrefix = "VeltrixBarCode: ";

// Parameters of the tool itself, not of a request.
void ApplyToolParameter(CommandLineRun& run, const std::string& name, const std::string& value) {
  if (name == "-batch") run.batch = value;
  if (name == "-jobs") run.jobs = std::clamp(CommandLineInteger(value), 0, 256);
}

int Produce(CommandLineRun& run, FILE* err) {
  std::vector<std::string> lines;
  const int status = BarCodeRunProduce(run, lines);
  for (const std::string& line : lines)
    BatchWrite(err, {kPrefix, line, "\n"});
  return status;
}

std::atomic<bool> batchStop{false};

// Ctrl-C and kill stop a batch between rows: the files made stay, and no partial one is left.
int RunBatch(CommandLineRun& run, FILE* out, FILE* err, bool terminal) {
  struct sigaction stop {
  }, oldInterrupt{}, oldTerminate{};
  stop.sa_handler = [](int) { batchStop = true; };
  stop.sa_flags = SA_RESTART;
  sigemptyset(&stop.sa_mask);
  batchStop = false;
  sigaction(SIGINT, &stop, &oldInterrupt);
  sigaction(SIGTERM, &stop, &oldTerminate);
  BatchOptions options{run.batch, run.jobs, &batchStop, nullptr, nullptr};
  BatchReportTo(err, terminal, options);
  BatchSummary summary;
  const int status = BatchRun(run, options, summary);
  sigaction(SIGINT, &oldInterrupt, nullptr);
  sigaction(SIGTERM, &oldTerminate, nullptr);
  if (status == kExitUsage) {
    BatchWrite(err, {kPrefix, summary.problem, "\n"});
    BatchWrite(out, {kUsageText});
  } else {
    BatchWrite(err, {terminal ? "\r\x1b[K" : "", BatchSummaryText(summary), "\n"});
  }
  return status;
}

} // namespace

void CommandLineScan(const std::vector<std::string>& args, CommandLineRun& run) {
  BarCodeRunCreate(run);
  // Every element but the last is tried as a parameter name, values included: the scan moves
  // on by one element, not by two. Two arguments are scanned only as a batch of its own.
  if (args.size() <= 3 && !(args.size() == 3 && args[1] == "-batch")) return;
  for (size_t k = 1; k + 1 < args.size(); ++k)
    if (!BarCodeRunApply(run, args[k], args[k + 1])) ApplyToolParameter(run, args[k], args[k + 1]);
}

int CommandLineMain(const std::vector<std::string>& args, FILE* out, FILE* err, bool terminal) {
  if (args.size() == 2 && (args[1] == "-h" || args[1] == "--help")) {
    BatchWrite(out, {kUsageText});
    return kExitWritten;
  }
  if (args.size() == 2 && args[1] == "--version") {
    BatchWrite(out, {"VeltrixBarCode ", kVersionText, "\n"});
    return kExitWritten;
  }
  if (CheckSysVersionExtended() < kSysVersionTiger) {
    BatchWrite(out, {"Sorry, Veltrix BarCode only works with MacOS X 10.4 or later.\n"});
    return kExitCannotProduce;
  }
  CommandLineRun run;
  CommandLineScan(args, run);
  int status = kExitWritten;
  if (!run.batch.empty()) {
    status = RunBatch(run, out, err, terminal);
  } else if (const std::string problem = BarCodeRunProblem(run); !problem.empty()) {
    BatchWrite(err, {kPrefix, problem, "\n"});
    BatchWrite(out, {kUsageText});
    status = kExitUsage;
  } else {
    status = Produce(run, err);
  }
  BarCodeRunRelease(run);
  return status;
}
