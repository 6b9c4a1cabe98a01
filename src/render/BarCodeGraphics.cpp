#include "render/BarCodeGraphics.h"

#include "model/BarCodeStrings.h"
#include "render/BarCodeFonts.h"
#include "render/BarCodeTextPixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>

namespace {

// Text that cairo accepts: valid UTF-8 without NUL, which would end it early.
std::string ShowableText(std::string_view text) {
  std::u32string chars = Utf8Decode(text);
  for (char32_t& c : chars)
    if (c == 0) c = 0xFFFD;
  return Utf8Encode(chars);
}

const cairo_user_data_key_t kOwnImageKey{};

bool Whole(double v) {
  return std::nearbyint(v) == v;
}

// Rectangles on whole pixels in opaque black are written straight into the pixels: exactly what
// cairo's fill makes of them (full coverage, black over anything is black), without sorting their
// edges with every other bar's. Anything else is left to cairo. The context's matrix, when it
// allows this: a bitmap file's own context, black, and no rotation or skew.
bool DirectMatrix(cairo_t* cg, cairo_matrix_t& m) {
  double red, green, blue, alpha;
  if (!cairo_get_user_data(cg, &kOwnImageKey) || cairo_get_operator(cg) != CAIRO_OPERATOR_OVER ||
      cairo_pattern_get_rgba(cairo_get_source(cg), &red, &green, &blue, &alpha) !=
          CAIRO_STATUS_SUCCESS ||
      alpha != 1 || red != 0 || green != 0 || blue != 0)
    return false;
  cairo_get_matrix(cg, &m);
  return m.xy == 0 && m.yx == 0;
}

// The pixels of an image surface (ARGB32, or A8: alpha alone), flushed for writing; cairo is told
// of the change when it goes.
struct PixelWriter {
  cairo_surface_t* target;
  unsigned char* pixels;
  int stride;
  double width, height;
  bool alphaOnly;

  explicit PixelWriter(cairo_surface_t* surface)
      : target(surface),
        pixels((cairo_surface_flush(surface), cairo_image_surface_get_data(surface))),
        stride(cairo_image_surface_get_stride(surface)),
        width(cairo_image_surface_get_width(surface)),
        height(cairo_image_surface_get_height(surface)),
        alphaOnly(cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8) {}
  PixelWriter(const PixelWriter&) = delete;
  PixelWriter& operator=(const PixelWriter&) = delete;
  ~PixelWriter() { cairo_surface_mark_dirty(target); }

  // Fills a rectangle given in whole device pixels, clipped to the image.
  void Fill(double x1, double y1, double x2, double y2) const {
    const int left = static_cast<int>(std::clamp(std::min(x1, x2), 0.0, width));
    const int right = static_cast<int>(std::clamp(std::max(x1, x2), 0.0, width));
    const int top = static_cast<int>(std::clamp(std::min(y1, y2), 0.0, height));
    const int bottom = static_cast<int>(std::clamp(std::max(y1, y2), 0.0, height));
    if (left >= right || top >= bottom) return;
    const size_t size = alphaOnly ? 1 : 4, bytes = size * static_cast<size_t>(right - left);
    unsigned char* first =
        pixels + static_cast<size_t>(top) * stride + size * static_cast<size_t>(left);
    if (alphaOnly) {
      for (int row = top; row < bottom; ++row)
        FillAlphaRow(first + static_cast<size_t>(row - top) * stride, bytes);
      return;
    }
    // One row filled, the others copied from it: copying runs many pixels to an instruction.
    std::fill_n(reinterpret_cast<uint32_t*>(first), right - left, 0xFF000000u);
    for (int row = top + 1; row < bottom; ++row)
      std::memcpy(first + static_cast<size_t>(row - top) * stride, first, bytes);
  }

  // Full coverage for `bytes` pixels of alpha. A bar is mostly a few pixels wide and hundreds
  // high: up to 16 pixels are two or three stores, which may overlap, instead of a call a row.
  static void FillAlphaRow(unsigned char* row, size_t bytes) {
    constexpr uint64_t kEight = ~uint64_t{0};
    constexpr uint32_t kFour = ~uint32_t{0};
    if (bytes >= 8 && bytes <= 16) {
      std::memcpy(row, &kEight, 8);
      std::memcpy(row + bytes - 8, &kEight, 8);
    } else if (bytes >= 4 && bytes < 8) {
      std::memcpy(row, &kFour, 4);
      std::memcpy(row + bytes - 4, &kFour, 4);
    } else if (bytes < 4) {
      row[0] = row[bytes / 2] = row[bytes - 1] = 0xFF;
    } else {
      std::memset(row, 0xFF, bytes);
    }
  }
};

bool FillWholePixels(cairo_t* cg, double x, double y, double width, double height) {
  cairo_matrix_t m;
  if (!DirectMatrix(cg, m)) return false;
  double x1 = x, y1 = y, x2 = x + width, y2 = y + height;
  cairo_matrix_transform_point(&m, &x1, &y1);
  cairo_matrix_transform_point(&m, &x2, &y2);
  if (!Whole(x1) || !Whole(y1) || !Whole(x2) || !Whole(y2)) return false;
  PixelWriter(cairo_get_target(cg)).Fill(x1, y1, x2, y2);
  return true;
}

// A bitmap's own context chooses its font by a stand-in face that only names it: text it draws
// into the pixels needs none of cairo's, and cairo's face, with the FreeType face behind it, is
// made only when cairo draws text after all. Kept in the context's state, the choice is saved and
// restored with it.
const cairo_user_data_key_t kStandInKey{};

cairo_font_face_t* StandIn(std::string_view fontName) {
  // Never destroyed: the faces live as long as the program, and contexts may outlive statics.
  static auto* standIns = new std::map<std::string, cairo_font_face_t*, std::less<>>;
  static std::mutex guard;
  const std::lock_guard lock(guard);
  if (auto found = standIns->find(fontName); found != standIns->end()) return found->second;
  cairo_font_face_t* face = cairo_user_font_face_create();
  auto* name = new std::string(fontName);
  cairo_font_face_set_user_data(face, &kStandInKey, name,
                                [](void* n) { delete static_cast<std::string*>(n); });
  return standIns->emplace(*name, face).first->second;
}

// The font a stand-in names, or null when the context's face is cairo's own.
const std::string* StandInName(cairo_t* cg) {
  return static_cast<const std::string*>(
      cairo_font_face_get_user_data(cairo_get_font_face(cg), &kStandInKey));
}

} // namespace

void GraphicsOwnImage(cairo_t* cg) {
  cairo_surface_t* target = cairo_get_target(cg);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
  const cairo_format_t format = cairo_image_surface_get_format(target);
  if (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_A8)
    cairo_set_user_data(cg, &kOwnImageKey, cg, nullptr);
}

bool GraphicsFillPicture(cairo_t* cg, std::string_view picture, int columns, int rows,
                         double moduleWidth, double moduleHeight) {
  cairo_matrix_t m;
  if (!DirectMatrix(cg, m) || !Whole(m.x0) || !Whole(m.y0) || !Whole(m.xx * moduleWidth) ||
      !Whole(m.yy * moduleHeight))
    return false;
  const PixelWriter writer(cairo_get_target(cg));
  for (int r = 0; r < rows; ++r) {
    const std::string_view row = picture.substr(static_cast<size_t>(r) * columns, columns);
    const double y1 = m.yy * moduleHeight * (rows - 1 - r) + m.y0;
    for (size_t c = row.find('1'); c != std::string_view::npos; c = row.find('1', c)) {
      const size_t end = std::min(row.find('0', c), row.size());
      writer.Fill(m.xx * moduleWidth * static_cast<double>(c) + m.x0, y1,
                  m.xx * moduleWidth * static_cast<double>(end) + m.x0, y1 + m.yy * moduleHeight);
      c = end;
    }
  }
  return true;
}

void GraphicsFillRect(cairo_t* cg, double x, double y, double width, double height) {
  cairo_rectangle(cg, x, y, width, height);
  cairo_fill(cg);
}

bool GraphicsDrawsPixels(cairo_t* cg) {
  return cairo_surface_get_type(cairo_get_target(cg)) == CAIRO_SURFACE_TYPE_IMAGE;
}

void GraphicsAddRect(cairo_t* cg, double x, double y, double width, double height) {
  if (cairo_get_user_data(cg, &kOwnImageKey) && FillWholePixels(cg, x, y, width, height)) return;
  cairo_rectangle(cg, x, y, width, height);
}

void GraphicsFillShapes(cairo_t* cg) {
  if (cairo_has_current_point(cg)) cairo_fill(cg);
}

void GraphicsStrokeRect(cairo_t* cg, double x, double y, double width, double height) {
  cairo_rectangle(cg, x, y, width, height);
  cairo_stroke(cg);
}

void GraphicsStrokeLine(cairo_t* cg, double x1, double y1, double x2, double y2) {
  cairo_move_to(cg, x1, y1);
  cairo_line_to(cg, x2, y2);
  cairo_stroke(cg);
}

void GraphicsFillPolygon(cairo_t* cg, std::span<const BarCodePoint> points) {
  for (const BarCodePoint& point : points)
    cairo_line_to(cg, point.x, point.y);
  cairo_close_path(cg);
  cairo_fill(cg);
}

void GraphicsStrokeCircle(cairo_t* cg, double x, double y, double radius) {
  cairo_new_sub_path(cg);
  cairo_arc(cg, x, y, radius, 0, 2 * std::numbers::pi);
  cairo_stroke(cg);
}

void GraphicsLineWidth(cairo_t* cg, double width) {
  cairo_set_line_width(cg, width);
}

void GraphicsColor(cairo_t* cg, double red, double green, double blue, double alpha) {
  cairo_set_source_rgba(cg, red, green, blue, alpha);
}

void GraphicsSetAntialias(cairo_t* cg, bool on) {
  cairo_set_antialias(cg, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void GraphicsSetFontSmoothing(cairo_t* cg, bool on) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_get_font_options(cg, options);
  cairo_font_options_set_antialias(options, on ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cg, options);
  cairo_font_options_destroy(options);
}

void GraphicsSelectFont(cairo_t* cg, std::string_view fontName, double size) {
  cairo_set_font_face(cg, cairo_get_user_data(cg, &kOwnImageKey) ? StandIn(fontName)
                                                                 : FontFace(fontName));
  // Glyph up is user-space +y, as on a y-up page; in a y-down view text stands on its head.
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, size, 0, 0, -size, 0, 0);
  cairo_set_font_matrix(cg, &matrix);
}

bool GraphicsShowTextOnPixels(cairo_t* cg, double x, double y, std::string_view text) {
  const std::string* name = StandInName(cg);
  cairo_matrix_t m, font;
  cairo_get_font_matrix(cg, &font);
  if (!name || !DirectMatrix(cg, m) || font.x0 != 0 || font.y0 != 0) return false;
  const PixelWriter writer(cairo_get_target(cg));
  return TextShowOnPixels(cg, m, font, *name, x, y, text,
                          {writer.pixels, writer.stride, static_cast<int>(writer.width),
                           static_cast<int>(writer.height), writer.alphaOnly});
}

void GraphicsShowText(cairo_t* cg, double x, double y, std::string_view text) {
  const std::string showable = ShowableText(text);
  if (!GraphicsShowTextOnPixels(cg, x, y, showable)) {
    // cairo draws it after all, with the face the stand-in names.
    if (const std::string* name = StandInName(cg)) cairo_set_font_face(cg, FontFace(*name));
    cairo_move_to(cg, x, y);
    cairo_show_text(cg, showable.c_str());
  }
  cairo_new_path(cg);
}

int GetCGTextDrawnSize(std::string_view text, std::string_view fontName, double size,
                       BarCodeSize& out) {
  // One measuring surface per thread: a surface is not to be used from two threads at once.
  thread_local const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1), cairo_surface_destroy);
  cairo_t* cg = cairo_create(surface.get());
  // Unhinted advances, as a PDF page measures them: a bitmap's default rounds each glyph's
  // advance to whole pixels, which at one pixel to the point is points too short or too long.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cg, options);
  cairo_font_options_destroy(options);
  GraphicsSelectFont(cg, fontName, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cg, ShowableText(text).c_str(), &extents);
  out.width = static_cast<float>(extents.x_advance);
  out.height = static_cast<float>(-extents.y_advance);
  cairo_destroy(cg);
  return 0;
}
