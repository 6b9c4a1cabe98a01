#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<BarCodeEncoder, kBarCodeCount + 1> kEncoders{
    nullptr,                  // none
    BarCodeMakeEAN13,         // EAN-13
    BarCodeMakeEAN8,          // EAN-8
    BarCodeMakeEAN128,        // EAN-128
    BarCodeMakeEAN14,         // EAN-14
    BarCodeMakeEAN18,         // EAN-18
    BarCodeMakeEAN99,         // EAN-99
    BarCodeMakeEANCoupon,     // EAN-Coupon
    BarCodeMakeUPCA,          // UPC-A
    BarCodeMakeUPCE,          // UPC-E
    BarCodeMakeCode128,       // Code-128
    BarCodeMakeCode93,        // Code-93
    BarCodeMakeCode39,        // Code-39
    BarCodeMakeCode25,        // Code-25
    BarCodeMakeUPCCoupon,     // UPC-Coupon
    BarCodeMakeCodabar,       // Codabar
    BarCodeMakeISSN,          // ISSN
    BarCodeMakeISBN,          // ISBN
    BarCodeMakeISMN,          // ISMN
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
