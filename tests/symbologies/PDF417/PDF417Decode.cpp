#include "PDF417Decode.h"

#define ZX_USE_UTF8 // text() as UTF-8
#include <ZXing/ReadBarcode.h>

GreyImage renderPDF417(const PDF417Param& p, int moduleWidth, int rowHeight, int quietModules) {
  GreyImage image;
  image.width = (p.bitColumns + 2 * quietModules) * moduleWidth;
  image.height = p.codeRows * rowHeight + 2 * quietModules * moduleWidth;
  image.pixels.assign(size_t(image.width) * size_t(image.height), 255);
  const int bytesPerRow = (p.bitColumns + 7) / 8;
  const bool inverted = p.options & kPDF417InvertBitmap;
  const int top = quietModules * moduleWidth;
  for (int r = 0; r < p.codeRows; ++r) {
    for (int c = 0; c < p.bitColumns; ++c) {
      const uint8_t byte = p.bitMatrix[size_t(r * bytesPerRow + c / 8)];
      const bool set = byte & (0x80 >> (c % 8));
      if (set == inverted) continue; // light module
      for (int y = 0; y < rowHeight; ++y) {
        uint8_t* line = &image.pixels[size_t(top + r * rowHeight + y) * size_t(image.width)];
        for (int x = 0; x < moduleWidth; ++x)
          line[(quietModules + c) * moduleWidth + x] = 0;
      }
    }
  }
  return image;
}

std::optional<DecodedPDF417> decodePDF417(const GreyImage& image) {
  const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                              ZXing::ImageFormat::Lum);
  const auto hints = ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  if (!result.isValid()) return std::nullopt;
  const ZXing::ByteArray& bytes = result.bytes();
  return DecodedPDF417{std::string(bytes.begin(), bytes.end()), result.text()};
}
