#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>

int BarCodeMakeEAN13(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = EANCompleteDigits(*rec, *rec->data, 12);
  const std::string addon = EANAddonDigits(*rec, *rec->addon);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeRect box{0, 0, static_cast<float>(kEANWidth + EANAddonIncrement(addon)), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  EANDrawEAN13(canvas, digits, addon, top);
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedEAN13(const BarCodeDataRec& rec) {
  const std::string digits = EANCompleteDigits(rec, *rec.data, 12);
  return EANCarriedText(digits, EANAddonDigits(rec, *rec.addon));
}
