// The decoder module: zxing-cpp behind the plain C entry point of VxDecoder.h.
#include "verify/VxDecoder.h"

// text() in UTF-8, as later versions of the library give it anyway.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

extern "C" __attribute__((visibility("default"))) int
VxDecodeGrey(const unsigned char* grey, int width, int height, int stride, const char* formats,
             unsigned options, int symbols, VxDecodedSymbol found, void* context) {
  try {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormatsFromString(formats));
    if (hints.formats().empty()) return -1;
    // The bitmap is the symbol as drawn, upright and at two pixels per module: rotated or
    // downscaled readings would only cost time.
    hints.setTryRotate(false);
    hints.setTryDownscale(false);
    // zxing-cpp 1.4 can fail an assertion of its own when it merges several readings of one linear
    // symbol; asking for no more symbols than the image holds keeps it from merging.
    hints.setMaxNumberOfSymbols(static_cast<uint8_t>(symbols));
    hints.setTryCode39ExtendedMode((options & kVxDecodeCode39FullAscii) != 0);
    hints.setEanAddOnSymbol((options & kVxDecodeRequireAddOn) ? ZXing::EanAddOnSymbol::Require
                                                              : ZXing::EanAddOnSymbol::Ignore);
    const ZXing::ImageView image(grey, width, height, ZXing::ImageFormat::Lum, stride);
    int count = 0;
    for (const ZXing::Result& result : ZXing::ReadBarcodes(image, hints)) {
      if (!result.isValid()) continue;
      const std::string text = result.text();
      found(context, result.symbologyIdentifier().c_str(), text.data(), text.size(),
            result.position().topLeft().x);
      ++count;
    }
    return count;
  } catch (...) {
    return -1;
  }
}
