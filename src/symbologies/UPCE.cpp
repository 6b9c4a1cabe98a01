#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "model/BarCodeTexts.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

// Module positions of a UPC-E symbol: a 9-module quiet zone holding the number-system digit, the
// start guard, six 7-module digits, the 6-module end guard, and a 7-module quiet zone holding the
// check digit.
constexpr int kLeftQuiet = 9;
constexpr int kSymbolModules = 3 + 6 * 7 + 6;
constexpr int kRightQuiet = 7;
constexpr int kWidth = kLeftQuiet + kSymbolModules + kRightQuiet;
static_assert(kWidth == 67);

constexpr float kGuardBottom = 6, kDataBottom = 10;

// The 11-digit UPC-A number (number system 0, no check digit) that six UPC-E digits a-f stand
// for, by the last digit f: the zero-suppression rules of the GS1 General Specifications for
// UPC-E.
constexpr std::array<std::string_view, 10> kZeroSuppression{
    "0abf0000cde", "0abf0000cde", "0abf0000cde", "0abc00000de", "0abcd00000e", // 0
    "0abcde0000f", "0abcde0000f", "0abcde0000f", "0abcde0000f", "0abcde0000f", // 5
};

std::string UPCAOfUPCE(std::string_view six) {
  const int last = six[5] - '0';
  std::string number;
  for (char c : kZeroSuppression[last >= 0 && last <= 9 ? last : 9])
    number += c >= 'a' ? six[c - 'a'] : c;
  return number;
}

// The check digit belongs to the UPC-A number; UPC-E carries it only in the number sets.
int16_t CheckOfSix(std::string_view six) {
  return BarCodeCheckSum(UPCAOfUPCE(six));
}

// The printed form: number system 0, the six digits and the check digit.
constexpr size_t kPrintedLength = 8;

bool IsPrintedForm(std::string_view data) {
  return data.size() == kPrintedLength && IsDigits(data) && data[0] == '0' &&
         data[7] - '0' == CheckOfSix(data.substr(1, 6));
}

// The six digits the symbol carries: those of the printed form, or the data brought to six.
std::string SixDigits(const BarCodeDataRec& rec) {
  const std::string& data = *rec.data;
  if (IsPrintedForm(data)) return data.substr(1, 6);
  return BarCodeFitDigits(rec, data, 6, "6 digits, or 8 with number system 0 and the check digit");
}

} // namespace

std::string BarCodeRefuseUPCE(const BarCodeDataRec& rec) {
  const std::string_view data = *rec.data;
  if (data.size() != kPrintedLength || !IsDigits(data) || IsPrintedForm(data)) return {};
  if (data[0] != '0')
    return "UPC-E carries number system 0 only: " + std::string(data) + " starts with " + data[0];
  return "UPC-E check digit " + std::string(1, data[7]) + " does not match " +
         std::string(data.substr(0, 7)) + ": it should be " +
         static_cast<char>('0' + CheckOfSix(data.substr(1, 6)));
}

std::string BarCodeCarriedUPCE(const BarCodeDataRec& rec) {
  const std::string six = SixDigits(rec);
  return '0' + six + static_cast<char>('0' + CheckOfSix(six));
}

int BarCodeMakeUPCE(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string six = SixDigits(*rec);
  const int16_t check = CheckOfSix(six);
  const std::string checkText(1, static_cast<char>('0' + check));
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, kWidth, top});

  int x = kLeftQuiet;
  x = BarCodeDrawModules(canvas, BarCodeEANStrt, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(six, BarCodeUPCESet[check]), x, kDataBottom, top);
  BarCodeDrawModules(canvas, BarCodeUPCStop, x, kGuardBottom, top);

  if (canvas.text) {
    BarCodeSelectFont(canvas, kEANFont, kUPCSmallFontSize);
    BarCodeDrawText(canvas, 0, 1, "0");
    BarCodeDrawText(canvas, 63, 1, checkText);
    BarCodeSelectFont(canvas, kEANFont, kEANFontSize);
    BarCodeDrawSpacedText(canvas, 13, 1, 7, six);
  }
  BarCodeEndSymbol(canvas);
  return 0;
}
