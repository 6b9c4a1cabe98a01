#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

using DigitTable = std::array<std::string_view, 10>;

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Interleaved 2 of 5 (ISO/IEC 16390): the digits of a pair share five bars and five spaces, the
// first digit's pattern giving the bars and the second's the spaces.
std::string InterleavedWidths(std::string_view digits, const DigitTable& table,
                              std::string_view start, std::string_view stop) {
  std::string widths(start);
  for (size_t k = 0; k + 1 < digits.size(); k += 2) {
    const std::string_view bars = table[digits[k] - '0'];
    const std::string_view spaces = table[digits[k + 1] - '0'];
    for (size_t e = 0; e < bars.size(); ++e) {
      widths += bars[e];
      widths += spaces[e];
    }
  }
  return widths + std::string(stop);
}

// Interleaved-25 and ITF-14: a 4-unit quiet zone, start 4, 9 units a digit, stop 5 and 6 units of
// right margin.
constexpr int kITFLeft = 4;
constexpr int kITFFrame = kITFLeft + 4 + 5 + 6;
static_assert(kITFFrame == 19);
constexpr int kITFDigit = 3 * 1 + 2 * 3;
constexpr LinearTextLayout kITFText{9, 12, 9, 4};

int MakeInterleaved(cairo_t* cg, const BarCodeDataRec& rec, std::string_view digits) {
  if (!AllDigits(digits) || digits.size() % 2 != 0) return 0;
  const int width = kITFFrame + kITFDigit * static_cast<int>(digits.size());
  const auto top = static_cast<float>(90 - LinearTrim(rec, 60));
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, rec, {0, 0, static_cast<float>(width), top});
  BarCodeDrawWidths(canvas,
                    InterleavedWidths(digits, BarCodeITFSym, BarCodeITFStrt, BarCodeITFStop),
                    kITFLeft, 15, top);
  LinearDrawText(canvas, kITFText, LinearDisplayText(rec, digits));
  BarCodeEndSymbol(canvas);
  return 0;
}

// The 14 digits of ITF-14 and ITF-SCC: zeros in front, or the first 14. They are drawn as typed,
// a wrong check digit included.
std::string FourteenDigits(const BarCodeDataRec& rec) {
  const std::string digits = BarCodeFitDigits(rec, *rec.data, 14, "14 digits");
  BarCodeNoteGS1Check(rec, digits);
  return digits;
}

// Interleaved digits come in pairs: an odd number gets a zero in front.
std::string EvenDigits(const BarCodeDataRec& rec) {
  const std::string& data = *rec.data;
  if (data.size() % 2 == 0) return data;
  return BarCodeFitDigits(rec, data, data.size() + 1, "an even number of digits");
}

// ITF-SCC: a bearer frame 10 units thick round the bars, drawn 2 : 5, with an H-shaped mark in the
// quiet zone at either side.
constexpr float kSCCBottom = 26, kSCCTop = 90;
constexpr int kSCCFirstBar = 32;
constexpr BarCodeRect kSCCBearer{5, 21, 295, 74};
constexpr int16_t kSCCBearerWidth = 10;
constexpr std::array<BarCodeRect, 6> kSCCMarks{{{11, 49, 2, 16},
                                                {14, 49, 2, 16},
                                                {11, 57, 5, 2},
                                                {289, 49, 2, 16},
                                                {292, 49, 2, 16},
                                                {289, 57, 5, 2}}};
constexpr LinearTextLayout kSCCText{10, 45, 16, 7};

// Code 25 (industrial 2 of 5): only the bars carry the pattern, each followed by a 1-unit space; a
// digit is 3 narrow and 2 wide bars, 3 + 6 + 5 = 14 units. 10 units of quiet zone on each side and
// 8 units each for the start and the stop.
constexpr int kCode25Quiet = 10;
constexpr int kCode25Digit = 3 * 1 + 2 * 3 + 5;
constexpr int kCode25Frame = kCode25Quiet + 8 + 8 + kCode25Quiet;
static_assert(kCode25Frame == 36);
constexpr LinearTextLayout kCode25Text{10, 11, 15, 4};

std::string BarsWithGaps(std::string_view bars) {
  std::string widths;
  for (char bar : bars) {
    widths += bar;
    widths += '1';
  }
  return widths;
}

} // namespace

int BarCodeMakeInterleaved25(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeInterleaved(cg, *rec, EvenDigits(*rec));
}

int BarCodeMakeITF14(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeInterleaved(cg, *rec, FourteenDigits(*rec));
}

int BarCodeMakeITFSCC(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = FourteenDigits(*rec);
  if (!AllDigits(digits)) return 0;
  const auto height = static_cast<float>(100 - LinearTrim(*rec, 0));
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, 305, height});
  BarCodePenSize(canvas, kSCCBearerWidth);
  BarCodeFrameRect(canvas, kSCCBearer);
  BarCodePenSize(canvas, 1);
  for (const BarCodeRect& mark : kSCCMarks)
    BarCodePaintRect(canvas, mark);
  BarCodeDrawWidths(
      canvas, InterleavedWidths(digits, BarCodeITFSCCSym, BarCodeITFSCCStrt, BarCodeITFSCCStop),
      kSCCFirstBar, kSCCBottom, kSCCTop);
  LinearDrawText(canvas, kSCCText, digits);
  BarCodeEndSymbol(canvas);
  return 0;
}

int BarCodeMakeCode25(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string& digits = *rec->data;
  if (!AllDigits(digits)) return 0;
  std::string bars(BarCodeCode25Strt);
  for (char digit : digits)
    bars += BarCodeCode25Sym[digit - '0'];
  bars += BarCodeCode25Stop;
  const int width = kCode25Frame + kCode25Digit * static_cast<int>(digits.size());
  const auto top = static_cast<float>(80 - LinearTrim(*rec, 50));
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, static_cast<float>(width), top});
  BarCodeDrawWidths(canvas, BarsWithGaps(bars), kCode25Quiet, 15, top);
  LinearDrawText(canvas, kCode25Text, LinearDisplayText(*rec, digits));
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedInterleaved25(const BarCodeDataRec& rec) {
  return EvenDigits(rec);
}

std::string BarCodeCarriedITF14(const BarCodeDataRec& rec) {
  return FourteenDigits(rec);
}

std::string BarCodeCarriedCode25(const BarCodeDataRec& rec) {
  return *rec.data;
}
