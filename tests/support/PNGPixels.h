// A bitmap's PNG decoded by libpng and compared with the bitmap pixel by pixel: one check for the
// unit tests and the fuzz targets alike, header-only because the fuzz targets link no test support.
#pragma once

#include "output/writers/OutputWriters.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The first pixel (y * width + x) at which the bitmap's PNG decodes to other straight RGBA than the
// bitmap holds; -1 when every pixel agrees, -2 when the PNG does not decode at the bitmap's size.
inline long PNGFirstDifference(const OutputBitmap& bitmap) {
  const std::string png = OutputEncodePNG(bitmap);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return -2;
  image.format = PNG_FORMAT_RGBA;
  if (static_cast<int>(image.width) != bitmap.width ||
      static_cast<int>(image.height) != bitmap.height) {
    png_image_free(&image);
    return -2;
  }
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return -2;
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      uint8_t want[4];
      OutputStraightRGBA(OutputPixelAt(bitmap, x, y), 0, want);
      const long at = static_cast<long>(y) * bitmap.width + x;
      if (std::memcmp(want, &pixels[4 * static_cast<size_t>(at)], 4) != 0) return at;
    }
  return -1;
}
