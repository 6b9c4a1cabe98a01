#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<BarCodeEncoder, kBarCodeCount + 1> kEncoders{
    nullptr,           // none
    BarCodeMakeEAN13,  // EAN-13
    nullptr,           // EAN-8
    nullptr,           // EAN-128
    nullptr,           // EAN-14
    nullptr,           // EAN-18
    nullptr,           // EAN-99
    nullptr,           // EAN-Coupon
    nullptr,           // UPC-A
    nullptr,           // UPC-E
    nullptr,           // Code-128
    nullptr,           // Code-93
    nullptr,           // Code-39
    nullptr,           // Code-25
    nullptr,           // UPC-Coupon
    nullptr,           // Codabar
    nullptr,           // ISSN
    nullptr,           // ISBN
    nullptr,           // ISMN
    nullptr,           // PostNet
    nullptr,           // RM4SCC
    nullptr,           // Pharmacode
    nullptr,           // MSI
    nullptr,           // ITF-SCC
    nullptr,           // ITF-14
    nullptr,           // Interleaved-25
    BarCodeMakeQRCode, // QRCode
    BarCodeMakePDF417, // PDF417
};

} // namespace

BarCodeEncoder BarCodeEncoderFor(int32_t symbology) {
  if (symbology < 1 || symbology > kBarCodeCount) return nullptr;
  return kEncoders[symbology];
}
