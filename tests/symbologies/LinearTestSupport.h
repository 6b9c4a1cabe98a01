// What the tests of the linear and postal symbologies share: the EPS picture of a request parsed
// into its rectangles and texts, the CLI's files read back by the decoders, and zint's patterns.
#pragma once

#include "render/BarCodeRect.h"

#include <string>
#include <vector>

struct BarCodeDataRec;

struct EpsBox {
  int x1, y1, x2, y2;
  bool operator==(const EpsBox&) const = default;
};
struct EpsText {
  int x, y, size;
  std::string text; // the characters of the run, escapes undone (Mac OS Roman bytes)
};
struct EpsPicture {
  float width = 0, height = 0; // the bounding box
  std::vector<EpsBox> fills;   // VXfillrect, in drawing order
  std::vector<EpsBox> frames;  // VXdrawrect
  std::vector<int> penSizes;   // setlinewidth, in order
  std::vector<EpsText> texts;
};

// The rectangles and texts of an EPS picture.
EpsPicture ParseEps(const std::string& eps);
// Draws the record (symbology, data, display, trim) with no context and parses its EPS text.
EpsPicture DrawEps(int symbology, const std::string& data, const std::string& display = {},
                   int trim = 0);
// The unscaled box of BarCodeGetSize for the same request; 0 x 0 when it cannot be drawn.
BarCodeRect SizeOf(int symbology, const std::string& data, int trim = 0);

// The bars as a module string from the first bar's left edge: "1" where a bar covers the unit.
std::string ModulesOf(const std::vector<EpsBox>& bars);
// The lengths of the runs of equal modules, bar first.
std::vector<int> RunsOf(const std::string& modules);
// The elements of a module string as "n" (as narrow as the narrowest) and "w" (wider), bar first:
// how two renderings that draw their elements at different ratios compare.
std::string WideNarrowOf(const std::string& modules);

// The files of the CLI for one request in PNG (scale 100), PDF and EPS, each flattened on white
// for the decoders; the test fails when the tool does not write one. Data holding NUL, which no
// command line can carry, goes to the same writers in process.
struct ScanFile {
  std::string format; // "pngf", "pdff", "epsf"
  std::string png;
};
std::vector<ScanFile> ScanFiles(const std::string& type, const std::string& data,
                                const std::vector<std::string>& extra = {});

// zint --dump of a symbol (zint's barcode type number, data and further options): one module
// string per row, without the zero padding of the last hexadecimal digit.
std::vector<std::string> ZintRows(int zintType, const std::string& data,
                                  const std::vector<std::string>& options = {});

// Printable form of a text for failure messages: control characters as \xNN.
std::string Printable(const std::string& text);
