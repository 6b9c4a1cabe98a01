// What the tests of the two-dimensional symbols share: making a symbol with the command-line tool
// in each output format and reading it back, and the rectangles of an EPS picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct BarCodeDataRec;

struct OutputFormat {
  const char* action;
  const char* extension;
  bool vector; // PDF and EPS are read at a resolution, bitmaps enlarged pixel by pixel
};
inline constexpr OutputFormat kScanFormats[] = {
    {"pngf", ".png", false}, {"pdff", ".pdf", true}, {"epsf", ".eps", true}};

struct CliReadBack {
  int status = -1; // exit status of the command-line tool
  std::string err; // what it said on its error stream
  std::vector<std::string> zxing, zbar;
};

struct ReadOptions {
  const char* zxingFormat; // "QRCode", "PDF417"
  bool zbar;               // also read with zbar
  int factor;              // enlargement of bitmaps
  int dpi;                 // resolution of vector formats
};

// Makes the symbol of `data` (as typed on the command line, escapes included) at scale 100 in
// `format` and reads it back; no reading when the tool fails.
CliReadBack MakeAndRead(const std::string& type, const std::string& data,
                        const OutputFormat& format, const ReadOptions& options);

// A filled rectangle of an EPS picture, as its corners.
struct EpsRectangle {
  int x1, y1, x2, y2;
  bool operator==(const EpsRectangle&) const = default;
};
// The picture the encoder of the record writes when drawing with no context.
std::string DrawEpsOnly(const BarCodeDataRec& rec);
std::vector<EpsRectangle> EpsFilledRects(const std::string& eps);
// The %%BoundingBox extent of an EPS picture (width, height), or empty.
std::vector<double> EpsBoundingBox(const std::string& eps);
