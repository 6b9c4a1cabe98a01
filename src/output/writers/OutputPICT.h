#pragma once

#include "output/writers/OutputWriters.h"

#include <string>

// A QuickDraw PICT version 2 file of the bitmap: one DirectBitsRect of 32-bit pixels with
// PackBits rows. Colour is stored unpremultiplied with the alpha channel; fully transparent pixels
// are white, so a reader that ignores alpha still shows dark bars on a light ground. The
// resolution is the bitmap's, in the picture header and the pixmap.
// Empty for a bitmap wider than kPICTMaxWidth.
std::string OutputEncodePICT(const OutputBitmap& bitmap);
// The pixmap's row-bytes field keeps 14 bits for the count (its top bits are flags): at 4 bytes a
// pixel, rows of 4 096 pixels or more cannot be described.
inline constexpr int kPICTMaxWidth = 0x3FFF / 4;
// The widest row whose packed length QuickDraw reads from a single byte.
inline constexpr int kPICTByteCountRow = 250;
// Pixels in each stored row of a bitmap this wide (at least its width).
int OutputPICTRowPixels(int width);
// PackBits, as QuickDraw and TIFF define it.
std::string OutputPackBits(std::string_view bytes);
