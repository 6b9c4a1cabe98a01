#include "render/BarCodeTextPixels.h"

#include "model/BarCodeStrings.h"
#include "render/BarCodeFonts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

// The glyphs are laid out, measured and composited as cairo's show_text does it on an image
// surface with a FreeType face: positions advance by the unhinted advances, each is rounded to a
// pixel, and the glyphs' measured boxes decide how cairo composites and clips them.

namespace {

// Whether the context draws text unhinted, grey or one bit a pixel, as a bitmap's symbol does.
bool PlainText(cairo_t* cg, bool& smooth) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_get_font_options(cg, options);
  const cairo_antialias_t antialias = cairo_font_options_get_antialias(options);
  smooth = antialias == CAIRO_ANTIALIAS_GRAY;
  const bool plain = (smooth || antialias == CAIRO_ANTIALIAS_NONE) &&
                     cairo_font_options_get_hint_style(options) == CAIRO_HINT_STYLE_NONE &&
                     cairo_font_options_get_hint_metrics(options) == CAIRO_HINT_METRICS_OFF &&
                     !cairo_font_options_get_variations(options);
  cairo_font_options_destroy(options);
  return plain;
}

// The characters cairo accepts in text; it draws nothing of text with any other.
bool ShowableByCairo(std::u32string_view chars) {
  return std::all_of(chars.begin(), chars.end(), [](char32_t c) {
    return c != 0 && c < 0x110000 && (c & 0xFFFFF800) != 0xD800 && (c < 0xFDD0 || c > 0xFDEF) &&
           (c & 0xFFFE) != 0xFFFE;
  });
}

// A box in 1/256 pixel, cairo's fixed point.
struct FixedBox {
  int64_t x1 = INT64_MAX, y1 = INT64_MAX, x2 = INT64_MIN, y2 = INT64_MIN;
};

int64_t Fixed(double v) {
  return static_cast<int64_t>(std::nearbyint(v * 256.0));
}

// A glyph's box as cairo measures it: the corners of its ink in font space through the scale
// matrix, from its position rounded to a pixel.
FixedBox MeasuredBox(const FontGlyph& g, const cairo_matrix_t& scale, const cairo_glyph_t& at) {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  for (int corner = 0; corner < 4; ++corner) {
    double x = g.xBearing + g.width * (corner & 1), y = g.yBearing + g.height * (corner >> 1);
    cairo_matrix_transform_distance(&scale, &x, &y);
    x1 = corner ? std::min(x1, x) : x, x2 = corner ? std::max(x2, x) : x;
    y1 = corner ? std::min(y1, y) : y, y2 = corner ? std::max(y2, y) : y;
  }
  const int64_t x = int64_t{FontPixelAt(at.x)} * 256, y = int64_t{FontPixelAt(at.y)} * 256;
  return {x + Fixed(x1), y + Fixed(y1), x + Fixed(x2), y + Fixed(y2)};
}

// A rectangle of whole pixels.
struct PixelRect {
  int64_t x1, y1, x2, y2;
};

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

// cairo's quick bound on a run before it measures the glyphs: their positions, widened by the
// farthest any glyph may reach; everything when the font gives no such reach.
PixelRect Reckoned(std::span<const cairo_glyph_t> glyphs, double reach) {
  if (reach == 0 || glyphs.empty()) return {INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX};
  double x1 = glyphs[0].x, y1 = glyphs[0].y, x2 = x1, y2 = y1;
  for (const cairo_glyph_t& g : glyphs) {
    x1 = std::min(x1, g.x), y1 = std::min(y1, g.y), x2 = std::max(x2, g.x), y2 = std::max(y2, g.y);
  }
  return {static_cast<int64_t>(std::floor(x1 - reach)),
          static_cast<int64_t>(std::floor(y1 - reach)), static_cast<int64_t>(std::ceil(x2 + reach)),
          static_cast<int64_t>(std::ceil(y2 + reach))};
}

// How cairo composites a run of glyphs into an image. It measures the run by the union of the
// glyphs' boxes, bounded by the image and its quick bound; when a glyph's box meets the union of
// those before it, the glyphs' coverage is added up in a mask of that bounded union and black goes
// over it once; else each glyph goes over in turn, clipped to the bounded union only when the
// bounds cut the union. One-bit glyphs in opaque black go over in turn either way.
void ClipText(std::span<const FixedBox> boxes, const PixelRect& reckoned, bool smooth, int width,
              int height, FontPixels& pixels) {
  FixedBox all;
  bool overlap = false;
  for (const FixedBox& b : boxes) {
    overlap = overlap || (b.x1 != b.x2 && b.y1 != b.y2 && b.x2 > all.x1 && b.x1 < all.x2 &&
                          b.y2 > all.y1 && b.y1 < all.y2);
    all = {std::min(all.x1, b.x1), std::min(all.y1, b.y1), std::max(all.x2, b.x2),
           std::max(all.y2, b.y2)};
  }
  pixels.addCoverage = overlap && smooth && boxes.size() > 1;
  const PixelRect measured{all.x1 >> 8, all.y1 >> 8, (all.x2 + 255) >> 8, (all.y2 + 255) >> 8};
  const PixelRect bounded = Intersect(Intersect(measured, {0, 0, width, height}), reckoned);
  const bool cut = bounded.x2 - bounded.x1 < measured.x2 - measured.x1 ||
                   bounded.y2 - bounded.y1 < measured.y2 - measured.y1;
  const PixelRect clip =
      boxes.empty() || (!cut && !pixels.addCoverage) ? PixelRect{0, 0, width, height} : bounded;
  pixels.clipX1 = static_cast<int>(std::clamp<int64_t>(clip.x1, 0, width));
  pixels.clipY1 = static_cast<int>(std::clamp<int64_t>(clip.y1, 0, height));
  pixels.clipX2 = static_cast<int>(std::clamp<int64_t>(clip.x2, 0, width));
  pixels.clipY2 = static_cast<int>(std::clamp<int64_t>(clip.y2, 0, height));
}

// The glyphs laid out from (x, y) in user space, each advancing the next by its advance through
// the font matrix, placed in device pixels and measured; without those cairo drops for lying ten
// font sizes or more outside the image.
void LayOut(std::span<const FontGlyph> glyphs, double x, double y, const cairo_matrix_t& font,
            const cairo_matrix_t& m, const cairo_matrix_t& scale, double margin, int width,
            int height, std::vector<cairo_glyph_t>& placed, std::vector<FixedBox>& boxes) {
  for (const FontGlyph& g : glyphs) {
    cairo_glyph_t at{g.index, x, y};
    cairo_matrix_transform_point(&m, &at.x, &at.y);
    if (-margin <= at.x && at.x <= width + margin && -margin <= at.y && at.y <= height + margin) {
      placed.push_back(at);
      boxes.push_back(MeasuredBox(g, scale, at));
    }
    double dx = g.xAdvance, dy = 0.0;
    cairo_matrix_transform_distance(&font, &dx, &dy);
    x += dx;
    y += dy;
  }
}

} // namespace

// Drawn by cairo, the first glyph would build a quarter-megabyte glyph cache that a symbol never
// fills, and the face cairo needs would be opened beside the one that draws here.
bool TextShowOnPixels(cairo_t* cg, const cairo_matrix_t& m, const cairo_matrix_t& fontMatrix,
                      std::string_view fontName, double x, double y, std::string_view text,
                      const TextImage& image) {
  bool smooth = false;
  if (!PlainText(cg, smooth)) return false;
  cairo_surface_t* target = cairo_get_target(cg);
  double dx, dy, sx, sy;
  cairo_surface_get_device_offset(target, &dx, &dy);
  cairo_surface_get_device_scale(target, &sx, &sy);
  if (dx != 0 || dy != 0 || sx != 1 || sy != 1) return false;
  const std::u32string chars = Utf8Decode(text);
  std::vector<FontGlyph> glyphs;
  double reach = 0;
  if (!ShowableByCairo(chars) || !FontGlyphsOf(fontName, chars, smooth, glyphs, reach))
    return false;
  // Text starts from the current point as cairo keeps it, on its fixed-point grid.
  cairo_move_to(cg, x, y);
  cairo_get_current_point(cg, &x, &y);
  // The font's scale as cairo's scaled font has it: the font matrix, then the device matrix
  // without its translation.
  cairo_matrix_t linear = m, scale;
  linear.x0 = linear.y0 = 0;
  cairo_matrix_multiply(&scale, &fontMatrix, &linear);
  // The most a font size is enlarged in any direction, as cairo reckons it.
  const double maxScale = std::max(std::fabs(scale.xx) + std::fabs(scale.xy),
                                   std::fabs(scale.yx) + std::fabs(scale.yy));
  std::vector<cairo_glyph_t> placed;
  std::vector<FixedBox> boxes;
  LayOut(glyphs, x, y, fontMatrix, m, scale, 10 * maxScale, image.width, image.height, placed,
         boxes);
  FontPixels pixels{image.pixels, image.stride};
  pixels.alphaOnly = image.alphaOnly;
  ClipText(boxes, Reckoned(placed, reach * maxScale), smooth, image.width, image.height, pixels);
  return FontDrawGlyphs(fontName, scale, smooth, placed, pixels);
}
