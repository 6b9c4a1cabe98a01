// Helpers of the test suite: temporary folders, running programs, and reading symbols back with
// independent decoders (zxing-cpp in process, zbar through zbarimg) from the real output files.
#pragma once

#include <string>
#include <vector>

struct BarCodeDataRec;

// A fresh, empty folder for one test; the folders go away when the test process ends.
std::string TestTempDir();
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

struct RunResult {
  int status = -1; // exit status, or -1 when the program could not be run or was killed
  std::string out, err;
};
// Runs a program with its arguments; env entries ("NAME=value") are added to the environment,
// and a name alone ("NAME=") removes it. Standard input is empty.
RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                     const std::string& workdir = {});
// The command-line tool under test.
std::string CliPath();
RunResult RunCli(const std::vector<std::string>& args, const std::string& workdir = {});

// A record made for a test; release it with BarCodeDataRecRelease.
BarCodeDataRec MakeRecord(int symbology, const std::string& data, const std::string& addon = {});

// Turns any output file (PNG, TIFF, PICT, PDF, EPS) into a PNG on white, at about `dpi` (vector
// formats) or enlarged `factor` times (bitmaps, each pixel a square block). Empty on failure.
std::string RasterizeOnWhite(const std::string& path, int factor = 4, int dpi = 288);

// The symbol of the given formats (zxing-cpp names joined by "|", such as "EAN13|UPCA") that
// zxing-cpp finds in a PNG, as its text (none or one); EAN/UPC add-ons follow after a space.
std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats);
// Every symbol zbar finds in a PNG, as its text (EAN add-ons are separate symbols).
std::vector<std::string> ZBarRead(const std::string& png);

// ---- Linear symbols: every symbol's text with its symbology identifier, and decoder options ----

struct ZXingSymbol {
  std::string text;       // may hold any byte, NUL included
  std::string identifier; // the symbology identifier, such as "]C1" for GS1-128
};
struct ZXingOptions {
  bool code39Extended = false;  // read Code 39 full-ASCII pairs as the characters they stand for
  bool codabarStartStop = true; // keep Codabar's start and stop characters in the text
};
// The symbol of the given formats that zxing-cpp finds in a PNG (none or one).
std::vector<ZXingSymbol> ZXingReadSymbols(const std::string& png, const std::string& formats,
                                          const ZXingOptions& options = {});
// zbar's whole raw output for a PNG: each symbol's text followed by a line feed (the text may
// hold line feeds itself). `settings` are extra zbarimg -S settings, such as "i25.min-length=2".
std::string ZBarReadRaw(const std::string& png, const std::vector<std::string>& settings = {});
