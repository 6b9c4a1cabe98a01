#include "model/BarCodeDataRec.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>

namespace {

// Module positions of an EAN-8 symbol (GS1 General Specifications, EAN-8 symbol): a 7-module
// quiet zone holding "<", 3 + 4 x 7 + 5 + 4 x 7 + 3 modules of symbol, and a 7-module quiet zone
// holding ">".
constexpr int kLeftQuiet = 7;
constexpr int kSymbolModules = 3 + 4 * 7 + 5 + 4 * 7 + 3;
constexpr int kRightQuiet = 7;
constexpr int kWidth = kLeftQuiet + kSymbolModules + kRightQuiet;
static_assert(kWidth == 81);

// The guards of this smaller symbol reach 5 units below the data bars.
constexpr float kGuardBottom = 5, kDataBottom = 10;

} // namespace

int BarCodeMakeEAN8(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = EANCompleteDigits(*rec, *rec->data, 7);
  const int trim = std::min(rec->trim, 35);
  const float top = static_cast<float>(65 - trim);
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, kWidth, top});

  int x = kLeftQuiet;
  x = BarCodeDrawModules(canvas, BarCodeEANStrt, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(0, 4), BarCodeEANNSet[0]), x, kDataBottom,
                         top);
  x = BarCodeDrawModules(canvas, BarCodeEANCent, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(4, 4), BarCodeEANNSet[10]), x,
                         kDataBottom, top);
  BarCodeDrawModules(canvas, BarCodeEANStop, x, kGuardBottom, top);

  if (canvas.text) {
    BarCodeSelectFont(canvas, kEANFont, kEANFontSize);
    BarCodeDrawText(canvas, 0, 1, "<");
    BarCodeDrawText(canvas, 75, 1, ">");
    BarCodeDrawSpacedText(canvas, 11, 1, 7, digits.substr(0, 4));
    BarCodeDrawSpacedText(canvas, 43, 1, 7, digits.substr(4, 4));
  }
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedEAN8(const BarCodeDataRec& rec) {
  return EANCompleteDigits(rec, *rec.data, 7);
}
