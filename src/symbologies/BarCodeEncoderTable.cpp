#include "model/BarCodeDataRec.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>

namespace {

struct Symbology {
  BarCodeEncoder make;
  BarCodeCarrier carried;
};

// By symbology code; a symbology without an encoder yet cannot be drawn.
constexpr std::array<Symbology, kBarCodeCount + 1> kSymbologies{{
    {nullptr, nullptr},                                      // none
    {BarCodeMakeEAN13, BarCodeCarriedEAN13},                 // EAN-13
    {BarCodeMakeEAN8, BarCodeCarriedEAN8},                   // EAN-8
    {BarCodeMakeEAN128, BarCodeCarriedAsTyped},              // EAN-128
    {BarCodeMakeEAN14, BarCodeCarriedEAN14},                 // EAN-14
    {BarCodeMakeEAN18, BarCodeCarriedEAN18},                 // EAN-18
    {BarCodeMakeEAN99, BarCodeCarriedEAN99},                 // EAN-99
    {BarCodeMakeEANCoupon, BarCodeCarriedEANCoupon},         // EAN-Coupon
    {BarCodeMakeUPCA, BarCodeCarriedUPCA},                   // UPC-A
    {BarCodeMakeUPCE, BarCodeCarriedUPCE},                   // UPC-E
    {BarCodeMakeCode128, BarCodeCarriedAsTyped},             // Code-128
    {BarCodeMakeCode93, BarCodeCarriedAsTyped},              // Code-93
    {BarCodeMakeCode39, BarCodeCarriedCode39},               // Code-39
    {BarCodeMakeCode25, BarCodeCarriedCode25},               // Code-25
    {BarCodeMakeUPCCoupon, BarCodeCarriedUPCCoupon},         // UPC-Coupon
    {BarCodeMakeCodabar, BarCodeCarriedCodabar},             // Codabar
    {BarCodeMakeISSN, BarCodeCarriedISSN},                   // ISSN
    {BarCodeMakeISBN, BarCodeCarriedISBN},                   // ISBN
    {BarCodeMakeISMN, BarCodeCarriedISMN},                   // ISMN
    {BarCodeMakePostNet, BarCodeCarriedPostNet},             // PostNet
    {BarCodeMakeRM4SCC, BarCodeCarriedRM4SCC},               // RM4SCC
    {BarCodeMakePharmacode, BarCodeCarriedPharmacode},       // Pharmacode
    {BarCodeMakeMSI, BarCodeCarriedMSI},                     // MSI
    {BarCodeMakeITFSCC, BarCodeCarriedITF14},                // ITF-SCC
    {BarCodeMakeITF14, BarCodeCarriedITF14},                 // ITF-14
    {BarCodeMakeInterleaved25, BarCodeCarriedInterleaved25}, // Interleaved-25
    {BarCodeMakeQRCode, BarCodeCarriedAsTyped},              // QRCode
    {BarCodeMakePDF417, BarCodeCarriedAsTyped},              // PDF417
}};

const Symbology* SymbologyFor(int32_t symbology) {
  if (symbology < 1 || symbology > kBarCodeCount) return nullptr;
  return &kSymbologies[symbology];
}

} // namespace

BarCodeEncoder BarCodeEncoderFor(int32_t symbology) {
  const Symbology* entry = SymbologyFor(symbology);
  return entry ? entry->make : nullptr;
}

BarCodeCarrier BarCodeCarrierFor(int32_t symbology) {
  const Symbology* entry = SymbologyFor(symbology);
  return entry ? entry->carried : nullptr;
}

// Code 128, Code 93 and the two-dimensional symbols carry the data exactly as typed, or refuse it.
std::string BarCodeCarriedAsTyped(const BarCodeDataRec& rec) {
  return *rec.data;
}
