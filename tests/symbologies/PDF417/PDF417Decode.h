// Test support: renders an encoded PDF417 symbol as a grey image and reads it back with zxing-cpp,
// a decoder written independently of ours.
#pragma once

#include "PDF417.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels; // 0 = black, 255 = white, row by row
};

// Draws the modules of p.bitMatrix, each moduleWidth x rowHeight pixels, inside a white quiet
// zone of quietModules modules on every side; honours kPDF417InvertBitmap.
GreyImage renderPDF417(const PDF417Param& p, int moduleWidth = 3, int rowHeight = 9,
                       int quietModules = 2);

struct DecodedPDF417 {
  std::string bytes; // the content as the symbol carries it, no character set applied
  std::string text;  // the content as zxing-cpp presents it, in UTF-8
};

// Reads one PDF417 symbol from the image, or nothing.
std::optional<DecodedPDF417> decodePDF417(const GreyImage& image);
