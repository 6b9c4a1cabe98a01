// The command line: any arguments, one per field. The scan keeps every number in its range, and a
// run carried out writes its whole file or none. Only runs whose file lands in the scratch folder
// are carried out: it is the working folder and "~" while they run, and there is no clipboard.
#include "Fuzz.h"

#include "cli/CommandLine.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{"VeltrixBarCode"};
  for (FuzzFields in(data, size); !in.done;)
    args.emplace_back(in.Next());
  CommandLineRun run;
  CommandLineScan(args, run);
  const BarCodeDataRec& rec = run.rec;
  FUZZ_CHECK(rec.symbology >= 0 && rec.symbology <= kBarCodeCount);
  FUZZ_CHECK(rec.scale >= 50 && rec.scale <= 150 && rec.trim >= 0 && rec.trim <= 100);
  FUZZ_CHECK(rec.antialiasOff >= 0 && rec.antialiasOff <= 1);
  FUZZ_CHECK(rec.fontSmoothOff >= 0 && rec.fontSmoothOff <= 1);
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(FuzzFolder());
  const std::string& path = run.output;
  const bool inFolder = !path.starts_with('/') || path.starts_with(FuzzFolder() + "/");
  // Batches, which may read standard input, have a target of their own for their reader.
  if (run.batch.empty() && inFolder && path.find("..") == std::string::npos &&
      !DataFileExists(path)) {
    char *outText = nullptr, *errText = nullptr;
    size_t outSize = 0, errSize = 0;
    FILE* outFile = open_memstream(&outText, &outSize);
    FILE* errFile = open_memstream(&errText, &errSize);
    const int status = CommandLineMain(args, outFile, errFile);
    std::fclose(outFile);
    std::fclose(errFile);
    const std::string out(outText, outSize), err(errText, errSize);
    std::free(outText);
    std::free(errText);
    FUZZ_CHECK(status == kExitWritten || status == kExitCannotProduce || status == kExitUsage);
    FUZZ_CHECK((status == kExitWritten && args.size() > 2) == (DataFileLength(path) > 0));
    FUZZ_CHECK(status == kExitWritten || DataFileExists(path) == false);
    // Every line is the tool's own; a failed run says why in at least one line that is not a
    // warning about the data.
    std::istringstream lines(err);
    bool reason = false;
    for (std::string line; std::getline(lines, line);) {
      FUZZ_CHECK(line.starts_with("VeltrixBarCode: "));
      reason = reason || !line.starts_with("VeltrixBarCode: warning: ");
    }
    FUZZ_CHECK(status == kExitWritten || reason);
    FUZZ_CHECK(status != kExitUsage || out == kUsageText);
    std::error_code ignored; // a name too long to write is too long to remove
    std::filesystem::remove(path, ignored);
  }
  std::filesystem::current_path(start);
  BarCodeDataRecRelease(&run.rec);
  return 0;
}
