#include "render/BarCodeTextPixels.h"

#include "render/BarCodeFonts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

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
  cairo_matrix_t font;
  cairo_get_font_matrix(cg, &font);
  return plain && font.x0 == 0 && font.y0 == 0;
}

// Where cairo rounds a glyph's position to a pixel.
double RoundPosition(double v) {
  return std::floor(v + .5);
}

// A glyph's box as cairo measures it, in 1/256 pixel: its ink extents on a diagonal device matrix,
// from its position rounded to a pixel.
struct FixedBox {
  int64_t x1 = INT64_MAX, y1 = INT64_MAX, x2 = INT64_MIN, y2 = INT64_MIN;
};

int64_t Fixed(double v) {
  return static_cast<int64_t>(std::nearbyint(v * 256.0));
}

FixedBox MeasuredBox(cairo_scaled_font_t* font, const cairo_matrix_t& m, const cairo_glyph_t& g) {
  cairo_glyph_t origin{g.index, 0, 0};
  cairo_text_extents_t e;
  cairo_scaled_font_glyph_extents(font, &origin, 1, &e);
  const double ax = e.x_bearing * m.xx, bx = (e.x_bearing + e.width) * m.xx;
  const double ay = e.y_bearing * m.yy, by = (e.y_bearing + e.height) * m.yy;
  const int64_t x = static_cast<int64_t>(RoundPosition(g.x)) * 256;
  const int64_t y = static_cast<int64_t>(RoundPosition(g.y)) * 256;
  return {x + Fixed(std::min(ax, bx)), y + Fixed(std::min(ay, by)), x + Fixed(std::max(ax, bx)),
          y + Fixed(std::max(ay, by))};
}

// How cairo composites a run of glyphs into an image. It measures the run by the union of the
// glyphs' boxes; when a glyph's box meets the union of those before it, the glyphs' coverage is
// added up in a mask the size of the union, and black goes over it once; else each glyph goes over
// in turn, clipped to the union only when the union reaches outside the image. One-bit glyphs in
// opaque black go over in turn either way.
void ClipText(cairo_scaled_font_t* font, const cairo_matrix_t& m,
              std::span<const cairo_glyph_t> glyphs, bool smooth, int width, int height,
              FontPixels& pixels) {
  FixedBox all;
  bool overlap = false;
  for (const cairo_glyph_t& g : glyphs) {
    const FixedBox b = MeasuredBox(font, m, g);
    overlap = overlap || (b.x1 != b.x2 && b.y1 != b.y2 && b.x2 > all.x1 && b.x1 < all.x2 &&
                          b.y2 > all.y1 && b.y1 < all.y2);
    all = {std::min(all.x1, b.x1), std::min(all.y1, b.y1), std::max(all.x2, b.x2),
           std::max(all.y2, b.y2)};
  }
  pixels.addCoverage = overlap && smooth && glyphs.size() > 1;
  const int64_t x1 = all.x1 >> 8, y1 = all.y1 >> 8, x2 = (all.x2 + 255) >> 8,
                y2 = (all.y2 + 255) >> 8;
  const bool inside = x1 >= 0 && y1 >= 0 && x2 <= width && y2 <= height;
  if (glyphs.empty() || (inside && !pixels.addCoverage)) {
    pixels.clipX1 = 0, pixels.clipY1 = 0, pixels.clipX2 = width, pixels.clipY2 = height;
    return;
  }
  pixels.clipX1 = static_cast<int>(std::clamp<int64_t>(x1, 0, width));
  pixels.clipY1 = static_cast<int>(std::clamp<int64_t>(y1, 0, height));
  pixels.clipX2 = static_cast<int>(std::clamp<int64_t>(x2, 0, width));
  pixels.clipY2 = static_cast<int>(std::clamp<int64_t>(y2, 0, height));
}

// Glyphs placed in device pixels, without those cairo drops for lying ten font sizes or more
// outside the image.
std::vector<cairo_glyph_t> DeviceGlyphs(cairo_scaled_font_t* font, const cairo_matrix_t& m,
                                        std::span<const cairo_glyph_t> glyphs, int width,
                                        int height) {
  cairo_matrix_t scale;
  cairo_scaled_font_get_scale_matrix(font, &scale);
  const double margin = 10 * std::max(std::fabs(scale.xx) + std::fabs(scale.xy),
                                      std::fabs(scale.yx) + std::fabs(scale.yy));
  std::vector<cairo_glyph_t> kept;
  for (cairo_glyph_t g : glyphs) {
    cairo_matrix_transform_point(&m, &g.x, &g.y);
    if (-margin <= g.x && g.x <= width + margin && -margin <= g.y && g.y <= height + margin)
      kept.push_back(g);
  }
  return kept;
}

} // namespace

// Drawn by cairo, the first glyph would build a quarter-megabyte glyph cache that a symbol never
// fills.
bool TextShowOnPixels(cairo_t* cg, const cairo_matrix_t& m, double x, double y,
                      std::string_view text, const TextImage& image) {
  bool smooth = false;
  if (!PlainText(cg, smooth)) return false;
  cairo_surface_t* target = cairo_get_target(cg);
  double dx, dy, sx, sy;
  cairo_surface_get_device_offset(target, &dx, &dy);
  cairo_surface_get_device_scale(target, &sx, &sy);
  if (dx != 0 || dy != 0 || sx != 1 || sy != 1) return false;
  // Text starts from the current point as cairo keeps it, on its fixed-point grid.
  cairo_move_to(cg, x, y);
  cairo_get_current_point(cg, &x, &y);
  cairo_scaled_font_t* font = cairo_get_scaled_font(cg);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(font, x, y, text.data(), static_cast<int>(text.size()),
                                       &glyphs, &count, nullptr, nullptr,
                                       nullptr) != CAIRO_STATUS_SUCCESS)
    return false;
  const std::unique_ptr<cairo_glyph_t, decltype(&cairo_glyph_free)> owned(glyphs, cairo_glyph_free);
  const std::vector<cairo_glyph_t> placed =
      DeviceGlyphs(font, m, {glyphs, static_cast<size_t>(count)}, image.width, image.height);
  FontPixels pixels{image.pixels, image.stride};
  ClipText(font, m, placed, smooth, image.width, image.height, pixels);
  cairo_matrix_t scale;
  cairo_scaled_font_get_scale_matrix(font, &scale);
  return FontDrawGlyphs(cairo_scaled_font_get_font_face(font), scale, smooth, placed, pixels);
}
