// Helpers of the EAN/UPC tests: the GS1 check digit computed apart from the engine, the EPS
// picture of a request parsed back into bars and text runs, and read-back of the command-line
// tool's PNG, PDF and EPS output with zxing-cpp and zbar.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The digits followed by their GS1 modulo-10 check digit (GS1 General Specifications 7.9.1).
std::string WithGtinCheck(const std::string& digits);
// Zeros put in front up to n characters, or the first n characters kept.
std::string Fitted(const std::string& data, size_t n);

struct EANRequest {
  int symbology;
  std::string data, addon;
  int trim = 0;
  std::string display = {};
  int textVisible = -1; // -1: as the render driver sets it; else the encoder is called directly
};

struct EANEpsBar {
  int x1, y1, x2, y2;
};
struct EANEpsText {
  int x, y, size;
  std::string text;
  bool operator==(const EANEpsText&) const = default;
};
struct EANEpsPicture {
  float width = 0, height = 0; // the bounding box
  std::vector<EANEpsBar> bars;
  std::vector<EANEpsText> texts;
};

// The picture drawn with no context, parsed from the record's EPS text (empty when not drawn).
EANEpsPicture DrawEPS(const EANRequest& request);
// The unscaled box of BarCodeGetSize; 0 by 0 when the request is not drawable.
std::pair<float, float> SizeOf(const EANRequest& request);

// Bars of one stretch of a symbol: every bar starting in [from, to) must end by `to`, start at
// `bottom` and end at `top`.
struct BarStretch {
  int from, to, bottom, top;
};
// Checks that every bar lies in one of the stretches, with its bottom and top, and that no
// stretch is empty.
void ExpectStretches(const EANEpsPicture& picture, const std::vector<BarStretch>& stretches);

// The main symbols' bar stretches and digit texts: EAN-13 from x = 11, its digits in 10 point;
// UPC-A from x = 9 with the bars of its first and check digits as long as the guards, those two
// digits in 7 point outside the bars.
std::vector<BarStretch> EAN13Stretches(int top);
std::vector<BarStretch> UPCAStretches(int top);
std::vector<EANEpsText> EAN13DigitTexts(const std::string& digits);
std::vector<EANEpsText> UPCADigitTexts(const std::string& digits);

// Makes the symbol with the command-line tool as PNG at scale 100, PDF and EPS, reads each file
// back with zxing-cpp (for each format name given) and zbar, and checks that each reads exactly
// the expected texts.
void ExpectReadBack(const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& zxingExpected,
                    const std::vector<std::string>& zbarExpected);
