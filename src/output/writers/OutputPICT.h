#pragma once

#include "output/writers/OutputWriters.h"

#include <string>

// A QuickDraw PICT version 2 file of the bitmap: one DirectBitsRect of 32-bit pixels with
// PackBits rows. Colour is stored unpremultiplied with the alpha channel; fully transparent pixels
// are white, so a reader that ignores alpha still shows dark bars on a light ground.
std::string OutputEncodePICT(const OutputBitmap& bitmap);
// PackBits, as QuickDraw and TIFF define it.
std::string OutputPackBits(std::string_view bytes);
