// The fonts the drawing code names, as cairo faces made straight from their files, and text of
// those faces drawn straight into the pixels of a bitmap.
#pragma once

#include <cairo.h>

#include <cmath>
#include <span>
#include <string_view>
#include <vector>

// The face standing for a font name ("Monaco", "Lucida Grande", "Helvetica"), made on first use
// and kept for the life of the program.
cairo_font_face_t* FontFace(std::string_view name);

// The pixel cairo rounds a glyph's device position to.
inline int FontPixelAt(double v) {
  return static_cast<int>(std::floor(v + .5));
}

// A glyph and its metrics in font space, an em being one.
struct FontGlyph {
  unsigned long index = 0;
  double xBearing = 0, yBearing = 0, width = 0, height = 0, xAdvance = 0;
};

// The glyphs of characters in the font named and their metrics, exactly as cairo's FreeType
// backend maps characters and measures unhinted glyphs, grey or one bit a pixel; and how far, in
// ems, cairo reckons any glyph's ink may reach from its origin (0: it does not reckon). False when
// the font's file cannot be opened or a glyph is not an outline.
bool FontGlyphsOf(std::string_view fontName, std::u32string_view chars, bool smooth,
                  std::vector<FontGlyph>& out, double& reach);

// The pixels of an ARGB32 image (or an A8 one: alpha only), the rectangle of them text may reach,
// and whether the glyphs' coverage is added up before black goes over it, or each glyph goes over
// in turn.
struct FontPixels {
  unsigned char* data = nullptr;
  int stride = 0;
  int clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
  bool addCoverage = false;
  bool alphaOnly = false;
};

// Draws glyphs of the font named, at device positions, in opaque black over the pixels: exactly
// the pixels cairo's image compositor makes of them for a scaled font of its face with this scale
// matrix, without hinting, grey or one bit a pixel. False, with nothing drawn, when the font's file
// cannot be opened or a glyph is not an outline.
bool FontDrawGlyphs(std::string_view fontName, const cairo_matrix_t& scale, bool smooth,
                    std::span<const cairo_glyph_t> glyphs, const FontPixels& pixels);
