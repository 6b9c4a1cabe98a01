#include "model/BarCodeDataRec.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>

namespace {

// Module positions of an EAN-13 symbol (GS1 General Specifications figure 5.2.3.4.1-1): an
// 11-module quiet zone holding the first digit, 3 + 6 x 7 + 5 + 6 x 7 + 3 modules of symbol, and
// a 7-module right quiet zone holding ">".
constexpr int kLeftQuiet = 11;
constexpr int kSymbolModules = 3 + 6 * 7 + 5 + 6 * 7 + 3;
constexpr int kRightQuiet = 7;
constexpr int kWidth = kLeftQuiet + kSymbolModules + kRightQuiet; // 113
constexpr int kAddonGap = 8;
static_assert(kWidth == 113);

} // namespace

int BarCodeMakeEAN13(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = EANCompleteDigits(*rec->data, 12);
  const std::string addon = EANAddonDigits(*rec->addon);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeRect box{0, 0, static_cast<float>(kWidth + EANAddonIncrement(addon)), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);

  const int first = digits[0] - '0';
  int x = kLeftQuiet;
  x = BarCodeDrawModules(canvas, BarCodeEANStrt, x, 6, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(1, 6), BarCodeEANNSet[first]), x, 10,
                         top);
  x = BarCodeDrawModules(canvas, BarCodeEANCent, x, 6, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(7, 6), BarCodeEANNSet[first + 10]), x, 10,
                         top);
  x = BarCodeDrawModules(canvas, BarCodeEANStop, x, 6, top);

  const int addonX = x + kAddonGap;
  if (!addon.empty()) EANDrawAddonBars(canvas, addon, addonX, 6, top - 10);

  if (canvas.text) {
    BarCodeSelectFont(canvas, kEANFont, kEANFontSize);
    BarCodeDrawText(canvas, 0, 1, digits.substr(0, 1));
    BarCodeDrawSpacedText(canvas, 15, 1, 7, digits.substr(1, 6));
    BarCodeDrawSpacedText(canvas, 62, 1, 7, digits.substr(7, 6));
    if (addon.empty()) BarCodeDrawText(canvas, 107, 1, ">");
    EANDrawAddonText(canvas, addon, addonX, static_cast<int16_t>(71 - trim));
  }
  BarCodeEndSymbol(canvas);
  return 0;
}
