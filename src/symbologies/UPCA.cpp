#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>

namespace {

// The add-on starts 10 units after the stop guard, where the EAN-13 add-on starts too.
constexpr int kAddonGap = 10;

} // namespace

int BarCodeMakeUPCA(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = EANCompleteDigits(*rec, *rec->data, 11);
  const std::string addon = EANAddonDigits(*rec, *rec->addon);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeRect box{0, 0, static_cast<float>(kEANWidth + EANAddonIncrement(addon)), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);

  const int addonX = EANDrawUPCABars(canvas, digits, top) + kAddonGap;
  if (!addon.empty()) EANDrawAddonBars(canvas, addon, addonX, 6, top - 10);
  EANDrawUPCAText(canvas, digits);
  EANDrawAddonText(canvas, addon, addonX, static_cast<int16_t>(71 - trim));
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedUPCA(const BarCodeDataRec& rec) {
  const std::string digits = EANCompleteDigits(rec, *rec.data, 11);
  return EANCarriedText(digits, EANAddonDigits(rec, *rec.addon));
}
