// The fonts the drawing code names, as cairo faces made straight from their files, and text of
// those faces drawn straight into the pixels of a bitmap.
#pragma once

#include <cairo.h>

#include <span>
#include <string_view>

// The face standing for a font name ("Monaco", "Lucida Grande", "Helvetica"), made on first use
// and kept for the life of the program.
cairo_font_face_t* FontFace(std::string_view name);

// The pixels of an ARGB32 image, the rectangle of them text may reach, and whether the glyphs'
// coverage is added up before black goes over it, or each glyph goes over in turn.
struct FontPixels {
  unsigned char* data = nullptr;
  int stride = 0;
  int clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
  bool addCoverage = false;
};

// Draws glyphs of a face FontFace made, at device positions, in opaque black over the pixels:
// exactly the pixels cairo's image compositor makes of them for a scaled font of that face with
// this scale matrix, without hinting, grey or one bit a pixel. False, with nothing drawn, where
// that cannot be promised: another face, or a glyph that is not an outline.
bool FontDrawGlyphs(cairo_font_face_t* face, const cairo_matrix_t& scale, bool smooth,
                    std::span<const cairo_glyph_t> glyphs, const FontPixels& pixels);
