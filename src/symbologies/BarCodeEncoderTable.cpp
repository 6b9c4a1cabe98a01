#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<BarCodeEncoder, kBarCodeCount + 1> kEncoders{
    nullptr,              // none
    BarCodeMakeEAN13,     // EAN-13
    BarCodeMakeEAN8,      // EAN-8
    nullptr,              // EAN-128
    nullptr,              // EAN-14
    nullptr,              // EAN-18
    BarCodeMakeEAN99,     // EAN-99
    BarCodeMakeEANCoupon, // EAN-Coupon
    BarCodeMakeUPCA,      // UPC-A
    BarCodeMakeUPCE,      // UPC-E
    nullptr,              // Code-128
    nullptr,              // Code-93
    nullptr,              // Code-39
    nullptr,              // Code-25
    BarCodeMakeUPCCoupon, // UPC-Coupon
    nullptr,              // Codabar
    BarCodeMakeISSN,      // ISSN
    BarCodeMakeISBN,      // ISBN
    BarCodeMakeISMN,      // ISMN
};

} // namespace

BarCodeEncoder BarCodeEncoderFor(int32_t symbology) {
  if (symbology < 1 || symbology > kBarCodeCount) return nullptr;
  return kEncoders[symbology];
}
