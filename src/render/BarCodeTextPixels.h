// Text of the faces FontFace makes, shown straight into the pixels of an image in exactly the
// pixels cairo_show_text makes of it: cairo places and measures the glyphs, FreeType renders them.
#pragma once

#include <cairo.h>

#include <string_view>

// The pixels of an ARGB32 image.
struct TextImage {
  unsigned char* pixels = nullptr;
  int stride = 0, width = 0, height = 0;
};

// Shows valid UTF-8 text without NUL from (x, y) in opaque black, on a context drawing into the
// image through the device matrix m, which has no rotation or skew. False, with nothing drawn,
// when the context's face is not one FontFace made or its text is hinted or subpixel-smoothed.
bool TextShowOnPixels(cairo_t* cg, const cairo_matrix_t& m, double x, double y,
                      std::string_view text, const TextImage& image);
