// What the tests of the linear and postal symbologies share: the EPS picture of a request parsed
// into its rectangles and texts, the CLI's files read back by the decoders, and zint's patterns.
#pragma once

#include "render/BarCodeRect.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

struct BarCodeDataRec;

// Draws the record (symbology, data, display, trim) with no context and parses its EPS text.
EpsPicture DrawEps(int symbology, const std::string& data, const std::string& display = {},
                   int trim = 0);
// The unscaled box of BarCodeGetSize for the same request; 0 x 0 when it cannot be drawn.
BarCodeRect SizeOf(int symbology, const std::string& data, int trim = 0);

// The files of the CLI for one request in PNG (scale 100), PDF and EPS, each flattened on white
// for the decoders; the test fails when the tool does not write one. Data holding NUL, which no
// command line can carry, goes to the same writers in process.
struct ScanFile {
  std::string format; // "pngf", "pdff", "epsf"
  std::string png;
};
std::vector<ScanFile> ScanFiles(const std::string& type, const std::string& data,
                                const std::vector<std::string>& extra = {});
