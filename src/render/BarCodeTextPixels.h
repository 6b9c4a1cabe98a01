// Text of the fonts the drawing code names, shown straight into the pixels of an image in exactly
// the pixels cairo_show_text makes of it with the face FontFace makes.
#pragma once

#include <cairo.h>

#include <string_view>

// The pixels of an ARGB32 image, or of an A8 one (alpha only).
struct TextImage {
  unsigned char* pixels = nullptr;
  int stride = 0, width = 0, height = 0;
  bool alphaOnly = false;
};

// Shows valid UTF-8 text from (x, y) in opaque black in the font named (as the drawing code names
// fonts) through a font matrix without translation, on a context drawing into the image through
// the device matrix m, which has no rotation or skew. False, with nothing drawn, when the context's
// text is hinted or subpixel-smoothed, cairo would refuse the text, or the font cannot draw it.
bool TextShowOnPixels(cairo_t* cg, const cairo_matrix_t& m, const cairo_matrix_t& fontMatrix,
                      std::string_view fontName, double x, double y, std::string_view text,
                      const TextImage& image);
