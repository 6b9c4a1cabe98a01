// Helpers of the test suite: temporary folders, files and programs, the case tables of tests/data,
// and the independent readers that symbols are checked with (zxing-cpp in process, zbar, zint).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct BarCodeDataRec;

// A fresh, empty folder for one test; the folders go away when the test process ends.
std::string TestTempDir();
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// The text as one word of the shell, in single quotes.
std::string ShellQuoted(const std::string& text);

struct RunResult {
  int status = -1; // exit status, or -1 when the program could not be run or was killed
  std::string out, err;
};
// Runs a program with its arguments and standard input from a file (empty by default); env entries
// ("NAME=value") are added to the environment, and a name alone ("NAME=") removes it.
RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                     const std::string& workdir = {}, const std::string& input = "/dev/null");
std::string CliPath(); // the command-line tool under test
RunResult RunCli(const std::vector<std::string>& args, const std::string& workdir = {});
// A record made for a test, placed as for files; release it with BarCodeDataRecRelease.
BarCodeDataRec MakeRecord(int symbology, const std::string& data, const std::string& addon = {});

// A cell with its escapes undone: \t \n \r \f \v, \s a space, \xNN any byte, \| \\, and the
// runs \{repeat unit N}, \{range first last} (the characters first to last) and \{} (nothing).
std::string Unescape(std::string_view cell);
// A row of a table of tests/data; a column it does not have reads as empty.
struct TableRow {
  std::string table;
  int line = 0;
  std::map<std::string, std::string> cells; // as written, by column name
  std::string Raw(const std::string& column) const;
  std::string Text(const std::string& column) const { return Unescape(Raw(column)); }
  int Int(const std::string& column) const { return std::atoi(Raw(column).c_str()); }
  // The cell split at each unescaped separator, each part unescaped; none for an empty cell.
  std::vector<std::string> List(const std::string& column, char separator = '|') const;
  friend void PrintTo(const TableRow& r, std::ostream* o) { *o << r.table << ":" << r.line; }
};
// The lines of tests/data/<name> that are neither empty nor "#" comments, with their numbers, split
// at tabs, cells as written: a tab never stands for itself in a cell.
struct TableLine {
  int number = 0;
  std::vector<std::string> cells;
};
std::vector<TableLine> ReadTableLines(const std::string& name);
// The rows of a table whose first line names its columns.
std::vector<TableRow> ReadTable(const std::string& name);

// Any output file (PNG, TIFF, PICT, PDF, EPS) as a PNG on white, at about `dpi` (vector formats)
// or enlarged `factor` times (bitmaps, each pixel a square block). Empty on failure.
std::string RasterizeOnWhite(const std::string& path, int factor = 4, int dpi = 288);
// The texts of the given formats (zxing-cpp names joined by "|") that zxing-cpp reads in a PNG.
std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats);
// zint --dump of a symbol (zint's arguments after -b): a module string per row, without padding.
std::vector<std::string> ZintRows(const std::vector<std::string>& args);
// A bitmap file's width in pixels and its resolution in pixels per inch, as ImageMagick reads them;
// a PICT's resolution, which ImageMagick does not read, from its picture header.
std::pair<double, double> BitmapWidthAndResolution(const std::string& path);
// Makes the symbol with the command-line tool into each file of the row's `files` and checks what
// the readers of its `zxing`, `zbar` and `pdftext` columns read from each (tests/data/README.md).
void ExpectReadBack(const std::vector<std::string>& args, const TableRow& expected);
// Checks that a file was made and what those readers read from it (its format told by its name).
void ExpectFileReadsAs(const std::string& file, const TableRow& expected);
