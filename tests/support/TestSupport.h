// Helpers of the test suite: temporary folders, running programs, test data, the reference tables,
// and reading symbols back with independent decoders (zxing-cpp in process, zbar through zbarimg)
// from the real output files, or comparing them with zint's patterns.
#pragma once

#include <string>
#include <string_view>
#include <utility>
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

// ---- Test data ----

std::string Repeat(std::string_view unit, size_t times);
// n digits in a pattern that no short run repeats.
std::string Digits(size_t n);
// n letters cycling from `first` through the next 25 characters.
std::string Letters(size_t n, char first);
// The characters first to last.
std::string CharRange(int first, int last);
// Zeros put in front up to n characters, or the first n characters kept.
std::string Fitted(const std::string& data, size_t n);
// The digits followed by their GS1 modulo-10 check digit (GS1 General Specifications 7.9.1).
std::string WithGtinCheck(const std::string& digits);
// Printable form of a text for failure messages: control characters as \xNN.
std::string Printable(const std::string& text);
// The rows of a tab-separated reference table of the standards (tests/data), header dropped.
std::vector<std::vector<std::string>> ReadReferenceTable(const std::string& name);

// ---- Independent readers ----

// Turns any output file (PNG, TIFF, PICT, PDF, EPS) into a PNG on white, at about `dpi` (vector
// formats) or enlarged `factor` times (bitmaps, each pixel a square block). Empty on failure.
std::string RasterizeOnWhite(const std::string& path, int factor = 4, int dpi = 288);

struct ZXingSymbol {
  std::string text;       // may hold any byte, NUL included; EAN/UPC add-ons after a space
  std::string identifier; // the symbology identifier, such as "]C1" for GS1-128
};
struct ZXingOptions {
  bool code39Extended = false;  // read Code 39 full-ASCII pairs as the characters they stand for
  bool codabarStartStop = true; // keep Codabar's start and stop characters in the text
};
// The symbol of the given formats (zxing-cpp names joined by "|", such as "EAN13|UPCA") that
// zxing-cpp finds in a PNG (none or one).
std::vector<ZXingSymbol> ZXingReadSymbols(const std::string& png, const std::string& formats,
                                          const ZXingOptions& options = {});
// The same, as texts.
std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats);
// zbar's whole raw output for a PNG: each symbol's text followed by a line feed (the text may
// hold line feeds itself). `settings` are zbarimg -S settings, such as "i25.min-length=2".
std::string ZBarReadRaw(const std::string& png, const std::vector<std::string>& settings = {});
// zbar's settings for EAN/UPC symbols: add-ons as symbols of their own, ISBNs as EAN-13.
inline const std::vector<std::string> kZBarEAN = {"ean2.enable", "ean5.enable", "isbn10.disable",
                                                  "isbn13.disable"};
// The non-empty lines zbar reads with those settings.
std::vector<std::string> ZBarRead(const std::string& png);
// zint --dump of a symbol (zint's barcode type number, data and further options): one module
// string per row, without the zero padding of the last hexadecimal digit.
std::vector<std::string> ZintRows(int zintType, const std::string& data,
                                  const std::vector<std::string>& options = {});

// ---- Symbols made by the command-line tool and read back ----

struct FileFormat {
  const char* action;
  const char* extension;
};
inline constexpr FileFormat kPNGFile{"pngf", ".png"}, kTIFFFile{"tiff", ".tiff"},
    kPICTFile{"pict", ".pict"}, kPDFFile{"pdff", ".pdf"}, kEPSFile{"epsf", ".eps"};

// What the decoders must read from every file of a symbol.
struct ReadBack {
  // zxing-cpp format names ("UPCA", "Code128") with the text each must read, each read on its own.
  std::vector<std::pair<std::string, std::string>> zxing;
  std::vector<std::string> zbar = {}; // every text zbar must read, in any order; none: not asked
  std::vector<std::string> zbarSettings = {};
  std::string identifier = {}; // the symbology identifier zxing-cpp must report, if any
  ZXingOptions options = {};
  std::vector<FileFormat> files = {kPNGFile, kPDFFile, kEPSFile};
};
// An EAN/UPC add-on as drawn from what was typed: zeros in front up to 2 or 5 digits; one of 6
// digits or more is left out.
std::string EANAddonDrawn(const std::string& addon);
// What the decoders read from an EAN/UPC symbol and its add-on: zxing-cpp the add-on after a
// space, zbar the add-on as a symbol of its own.
ReadBack EANReadBack(const char* zxingFormat, const std::string& main, const std::string& addon);

// Makes the symbol with the command-line tool (args such as {"-type", "UPC-A", "-data", "123"})
// into each file format and checks what the decoders read from each file. Data holding NUL, which
// no command line carries, goes to the same writers in process.
void ExpectReadBack(const std::vector<std::string>& args, const ReadBack& expected);
