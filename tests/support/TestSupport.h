// Helpers of the test suite: temporary folders, running programs, and reading symbols back with
// independent decoders (zxing-cpp in process, zbar through zbarimg) from the real output files.
#pragma once

#include <string>
#include <vector>

struct BarCodeDataRec;

// A fresh, empty folder for one test.
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
