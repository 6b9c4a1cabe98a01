#include "model/BarCodeDataRec.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Code 128 symbol values (ISO/IEC 15417 table 1) that the coupon extension uses.
constexpr int kStartC = 105;
constexpr int kFNC1 = 102;
constexpr int kCodeB = 100;     // in code set C: switch to code set B
constexpr int kDigitZeroB = 16; // "0" in code set B; "1" to "9" follow it

// The extension sits 30 units right of the UPC-A stop guard: a start, FNC1, the data characters
// and the check character of 11 modules each, the 13-module stop, and 9 units to the box's edge.
constexpr int kExtensionGap = 30;
constexpr int kCharModules = 11, kStopModules = 13, kRightQuiet = 9;
constexpr int kUPCAEnd = kEANWidth - 9; // the UPC-A stop guard's end
static_assert(kUPCAEnd + kExtensionGap + 3 * kCharModules + kStopModules + kRightQuiet == 189);
constexpr float kExtensionBottom = 12;

// The extension's data characters: digit pairs in code set C, and a digit left over after a
// switch to code set B, so that exactly the digits entered are encoded.
std::vector<int> ExtensionValues(std::string_view digits) {
  std::vector<int> values;
  size_t i = 0;
  for (; i + 1 < digits.size(); i += 2)
    values.push_back((digits[i] - '0') * 10 + (digits[i + 1] - '0'));
  if (i < digits.size()) {
    values.push_back(kCodeB);
    values.push_back(kDigitZeroB + (digits[i] - '0'));
  }
  return values;
}

// Modulo-103 check of Code 128: the start and FNC1 at weight 1, then the data from weight 2.
int ExtensionCheck(const std::vector<int>& values) {
  int64_t sum = kStartC + kFNC1;
  for (size_t i = 0; i < values.size(); ++i)
    sum += static_cast<int64_t>(i + 2) * values[i];
  return static_cast<int>((sum % 103 + 103) % 103);
}

void DrawExtension(const BarCodeCanvas& canvas, const std::vector<int>& values, int x, float top) {
  const auto draw = [&](std::string_view widths) {
    x = BarCodeDrawWidths(canvas, widths, x, kExtensionBottom, top);
  };
  draw(BarCodeEAN128Sym[kStartC]);
  draw(BarCodeEAN128Sym[kFNC1]);
  for (int value : values)
    if (value >= 0 && value < static_cast<int>(BarCodeEAN128Sym.size()))
      draw(BarCodeEAN128Sym[value]);
  draw(BarCodeEAN128Sym[ExtensionCheck(values)]);
  draw(BarCodeEAN128Stop);
}

} // namespace

int BarCodeMakeUPCCoupon(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = EANCompleteDigits(*rec, *rec->data, 11);
  const std::string& extension = *rec->addon;
  const std::vector<int> values = ExtensionValues(extension);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const int width = kUPCAEnd + kExtensionGap +
                    (3 + static_cast<int>(values.size())) * kCharModules + kStopModules +
                    kRightQuiet;
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, static_cast<float>(width), top});

  const int end = EANDrawUPCABars(canvas, digits, top);
  EANDrawUPCAText(canvas, digits);
  DrawExtension(canvas, values, end + kExtensionGap, top);
  if (canvas.text) {
    BarCodeSelectFont(canvas, kEANFont, kUPCSmallFontSize);
    BarCodeDrawSpacedText(canvas, static_cast<int16_t>(end + kExtensionGap - 1), 2, 7, extension);
  }
  BarCodeEndSymbol(canvas);
  return 0;
}

// The UPC-A number, then the extension's digits, each read as its own symbol.
std::string BarCodeCarriedUPCCoupon(const BarCodeDataRec& rec) {
  return EANCarriedText(EANCompleteDigits(rec, *rec.data, 11), *rec.addon);
}
