#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<BarCodeEncoder, kBarCodeCount + 1> kEncoders{
    nullptr,                  // none
    BarCodeMakeEAN13,         // EAN-13
    nullptr,                  // EAN-8
    BarCodeMakeEAN128,        // EAN-128
    BarCodeMakeEAN14,         // EAN-14
    BarCodeMakeEAN18,         // EAN-18
    nullptr,                  // EAN-99
    nullptr,                  // EAN-Coupon
    nullptr,                  // UPC-A
    nullptr,                  // UPC-E
    BarCodeMakeCode128,       // Code-128
    BarCodeMakeCode93,        // Code-93
    BarCodeMakeCode39,        // Code-39
    BarCodeMakeCode25,        // Code-25
    nullptr,                  // UPC-Coupon
    BarCodeMakeCodabar,       // Codabar
    nullptr,                  // ISSN
    nullptr,                  // ISBN
    nullptr,                  // ISMN
    BarCodeMakePostNet,       // PostNet
    BarCodeMakeRM4SCC,        // RM4SCC
    BarCodeMakePharmacode,    // Pharmacode
    BarCodeMakeMSI,           // MSI
    BarCodeMakeITFSCC,        // ITF-SCC
    BarCodeMakeITF14,         // ITF-14
    BarCodeMakeInterleaved25, // Interleaved-25
    BarCodeMakeQRCode,        // QRCode
    BarCodeMakePDF417,        // PDF417
};

} // namespace

BarCodeEncoder BarCodeEncoderFor(int32_t symbology) {
  if (symbology < 1 || symbology > kBarCodeCount) return nullptr;
  return kEncoders[symbology];
}
