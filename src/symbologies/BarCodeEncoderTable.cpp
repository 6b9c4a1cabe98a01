#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<BarCodeEncoder, kBarCodeCount + 1> kEncoders{
    nullptr,          // none
    BarCodeMakeEAN13, // EAN-13
};

} // namespace

BarCodeEncoder BarCodeEncoderFor(int32_t symbology) {
  if (symbology < 1 || symbology > kBarCodeCount) return nullptr;
  return kEncoders[symbology];
}
