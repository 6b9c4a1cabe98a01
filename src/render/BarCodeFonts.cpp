#include "render/BarCodeFonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fcfreetype.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The fonts the drawing code names, and the installed files that stand for them. Faces are made
// straight from the files: asking fontconfig costs a run of the command line more than the
// barcode itself, and would give a proportional face for "Monaco".
struct FontFile {
  std::string_view name;
  const char* path;
  const char* family; // what fontconfig is asked for when the file is missing
};
constexpr std::array<FontFile, 3> kFonts{{
    {"Monaco", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "DejaVu Sans Mono"},
    {"Lucida Grande", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans"},
    {"Helvetica", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans"},
}};

// Names that stand for the same file share its faces.
const FontFile& FontFor(std::string_view name) {
  const auto named = std::find_if(kFonts.begin(), kFonts.end(),
                                  [&](const FontFile& font) { return font.name == name; });
  const std::string_view path = named != kFonts.end() ? named->path : kFonts[1].path;
  return *std::find_if(kFonts.begin(), kFonts.end(),
                       [&](const FontFile& font) { return font.path == path; });
}

// One FreeType library for every face, so faces are made and dropped under this lock only. Each
// thread of a batch draws: cairo serialises its own use of a face, and this lock serialises the
// faces below that draw into pixels.
std::mutex& FontLock() {
  static std::mutex lock;
  return lock;
}

FT_Library Library() {
  static FT_Library library = nullptr;
  if (!library && FT_Init_FreeType(&library) != 0) library = nullptr;
  return library;
}

// Each file is opened by two faces at most, cairo's and the one that draws into pixels, and
// both live as long as the program. The second reads the bytes the first mapped into memory, when
// FreeType mapped them.
FT_Face OpenFace(const FontFile& font) {
  static std::map<const FontFile*, FT_Face> first;
  const FT_Face mapped = first[&font];
  FT_Face face = nullptr;
  const bool opened =
      mapped && mapped->stream->base
          ? FT_New_Memory_Face(Library(), mapped->stream->base,
                               static_cast<FT_Long>(mapped->stream->size), 0, &face) == 0
          : Library() && FT_New_Face(Library(), font.path, 0, &face) == 0;
  if (!opened) return nullptr;
  if (!mapped) first[&font] = face;
  return face;
}

cairo_font_face_t* FaceFromFile(const FontFile& font) {
  const FT_Face face = OpenFace(font);
  return face ? cairo_ft_font_face_create_for_ft_face(face, 0) : nullptr;
}

// A glyph as cairo's FreeType backend renders it: coverage, one byte a pixel, and where its top
// left pixel lies from the glyph's origin.
struct GlyphImage {
  int left = 0, top = 0, width = 0, rows = 0;
  std::vector<uint8_t> coverage;
};

using Scale = std::array<double, 4>;
struct GlyphKey {
  const FontFile* font;
  Scale scale;
  bool smooth;
  unsigned long index;
  auto operator<=>(const GlyphKey&) const = default;
};

// A face of each file of its own for drawing into pixels: cairo keeps its face at the scale it last
// set, and would not know it changed.
struct PixelFace {
  FT_Face face = nullptr;
  Scale scale{};
};
std::map<const FontFile*, PixelFace> pixelFaces;
std::map<GlyphKey, GlyphImage> glyphImages;
size_t glyphImageBytes = 0;
// Enough for every glyph of a batch's few fonts and sizes; a run of unusual sizes starts it over.
constexpr size_t kMaxGlyphImageBytes = size_t{16} << 20;

FT_Fixed To16Dot16(double v) {
  return static_cast<FT_Fixed>(v * 65536.0);
}

// Sizes the face as cairo sizes its own for a scale matrix: the matrix split into a character
// size (each at least one) and a shape FreeType applies to the outline.
bool SetScale(PixelFace& pf, const Scale& scale) {
  if (pf.scale == scale) return true;
  const cairo_matrix_t m{scale[0], scale[1], scale[2], scale[3], 0, 0};
  const double det = m.xx * m.yy - m.yx * m.xy;
  double x = 1, y = 0;
  cairo_matrix_transform_distance(&m, &x, &y);
  const double major = std::hypot(x, y);
  if (!std::isfinite(det) || det == 0 || major == 0) return false;
  const double xScale = std::max(major, 1.0), yScale = std::max(std::fabs(det) / major, 1.0);
  cairo_matrix_t shape = m;
  cairo_matrix_scale(&shape, 1.0 / xScale, 1.0 / yScale);
  FT_Matrix transform;
  transform.xx = To16Dot16(shape.xx);
  transform.yx = -To16Dot16(shape.yx);
  transform.xy = -To16Dot16(shape.xy);
  transform.yy = To16Dot16(shape.yy);
  FT_Set_Transform(pf.face, &transform, nullptr);
  pf.scale = {};
  if (FT_Set_Char_Size(pf.face, static_cast<FT_F26Dot6>(xScale * 64.0 + .5),
                       static_cast<FT_F26Dot6>(yScale * 64.0 + .5), 0, 0) != 0)
    return false;
  pf.scale = scale;
  return true;
}

// Copies FreeType's bitmap, grey or one bit a pixel (the leftmost pixel in the high bit), top row
// first whichever way its rows run.
void CopyCoverage(const FT_Bitmap& bitmap, GlyphImage& out) {
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.coverage.assign(static_cast<size_t>(out.width) * out.rows, 0);
  const int pitch = bitmap.pitch;
  const unsigned char* row = bitmap.buffer;
  if (pitch < 0) row -= static_cast<ptrdiff_t>(pitch) * (out.rows - 1);
  for (int r = 0; r < out.rows; ++r, row += pitch) {
    uint8_t* to = out.coverage.data() + static_cast<size_t>(r) * out.width;
    for (int c = 0; c < out.width; ++c)
      to[c] = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY
                  ? row[c]
                  : ((row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0);
  }
}

// Loads a glyph outline with the flags cairo's FreeType backend uses for unhinted text.
bool LoadGlyph(FT_Face face, unsigned long index, bool smooth) {
  const FT_Int32 flags = FT_LOAD_NO_HINTING | FT_LOAD_COLOR | (smooth ? 0 : FT_LOAD_MONOCHROME);
  return FT_Load_Glyph(face, static_cast<FT_UInt>(index), flags) == 0 &&
         face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
}

bool RenderGlyph(FT_Face face, unsigned long index, bool smooth, GlyphImage& out) {
  if (!LoadGlyph(face, index, smooth)) return false;
  FT_GlyphSlot slot = face->glyph;
  FT_BBox box;
  FT_Outline_Get_CBox(&slot->outline, &box);
  // An outline whose pixel box is empty draws nothing, and is not rendered.
  if (((box.xMax + 63) & -64) == (box.xMin & -64) || ((box.yMax + 63) & -64) == (box.yMin & -64))
    return true;
  if (FT_Render_Glyph(slot, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
    return false;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != (smooth ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO)) return false;
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  CopyCoverage(bitmap, out);
  return true;
}

PixelFace* PixelFaceOf(const FontFile& font) {
  PixelFace& pf = pixelFaces[&font];
  if (!pf.face) pf.face = OpenFace(font);
  return pf.face && FT_IS_SCALABLE(pf.face) ? &pf : nullptr;
}

const GlyphImage* FindGlyph(const FontFile& font, const Scale& scale, bool smooth,
                            unsigned long index) {
  const GlyphKey key{&font, scale, smooth, index};
  if (auto found = glyphImages.find(key); found != glyphImages.end()) return &found->second;
  PixelFace* pf = PixelFaceOf(font);
  GlyphImage image;
  if (!pf || !SetScale(*pf, scale) || !RenderGlyph(pf->face, index, smooth, image)) return nullptr;
  glyphImageBytes += sizeof(GlyphImage) + image.coverage.size();
  return &glyphImages.emplace(key, std::move(image)).first->second;
}

// A glyph's metrics as cairo measures it for unhinted text: loaded at a size of one font unit to
// the pixel, and scaled back to an em of one.
bool MeasureGlyph(PixelFace& pf, unsigned long index, bool smooth, FontGlyph& out) {
  const double em = pf.face->units_per_EM;
  if (!SetScale(pf, {em, 0, 0, em}) || !LoadGlyph(pf.face, index, smooth)) return false;
  const FT_Glyph_Metrics& m = pf.face->glyph->metrics;
  const double factor = 1 / std::max(em, 1.0);
  out.index = index;
  out.xBearing = (static_cast<double>(m.horiBearingX) / 64.0) * factor;
  out.yBearing = (static_cast<double>(-m.horiBearingY) / 64.0) * factor;
  out.width = (static_cast<double>(m.width) / 64.0) * factor;
  out.height = (static_cast<double>(m.height) / 64.0) * factor;
  out.xAdvance = (static_cast<double>(pf.face->glyph->linearHoriAdvance) / 65536.0) * factor;
  return true;
}

std::map<std::tuple<const FontFile*, unsigned long, bool>, FontGlyph> glyphMetrics;

// a x b / 255, rounded as pixman rounds it.
uint32_t Multiply(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 0x80;
  return ((t >> 8) + t) >> 8;
}

// Black over an alpha at a coverage: the coverage, and the alpha kept at 255 - coverage.
inline uint32_t BlackOverAlpha(uint32_t alpha, uint32_t coverage) {
  return coverage + Multiply(alpha, 255 - coverage);
}

// Black over a pixel at a coverage: premultiplied, each colour kept at 255 - coverage.
inline uint32_t BlackOver(uint32_t pixel, uint32_t coverage) {
  if (coverage == 255) return 0xFF000000u;
  const uint32_t keep = 255 - coverage;
  return BlackOverAlpha(pixel >> 24, coverage) << 24 | Multiply((pixel >> 16) & 0xFF, keep) << 16 |
         Multiply((pixel >> 8) & 0xFF, keep) << 8 | Multiply(pixel & 0xFF, keep);
}

struct PlacedGlyph {
  const GlyphImage* image;
  int x, y; // the image's top left pixel
};

// The rectangle of pixels some glyphs' images cover within the clip.
struct PixelBox {
  int x1, y1, x2, y2;
};

PixelBox Covered(std::span<const PlacedGlyph> placed, const FontPixels& pixels) {
  PixelBox box{pixels.clipX2, pixels.clipY2, pixels.clipX1, pixels.clipY1};
  for (const PlacedGlyph& g : placed) {
    if (g.image->width == 0 || g.image->rows == 0) continue;
    box.x1 = std::min(box.x1, g.x), box.y1 = std::min(box.y1, g.y);
    box.x2 = std::max(box.x2, g.x + g.image->width), box.y2 = std::max(box.y2, g.y + g.image->rows);
  }
  return {std::max(box.x1, pixels.clipX1), std::max(box.y1, pixels.clipY1),
          std::min(box.x2, pixels.clipX2), std::min(box.y2, pixels.clipY2)};
}

// Calls span(image row, first column, coverage, count) for each row of a glyph within a box.
template <typename Span> void EachRow(const PlacedGlyph& g, const PixelBox& box, Span span) {
  const int c1 = std::max(0, box.x1 - g.x), c2 = std::min(g.image->width, box.x2 - g.x);
  if (c1 >= c2) return;
  for (int r = std::max(0, box.y1 - g.y); r < std::min(g.image->rows, box.y2 - g.y); ++r)
    span(g.y + r, g.x + c1, &g.image->coverage[static_cast<size_t>(r) * g.image->width + c1],
         c2 - c1);
}

// Black over `count` pixels from column x of row y at the coverages given.
void BlendRow(const FontPixels& pixels, int y, int x, const uint8_t* coverage, int count) {
  unsigned char* row = pixels.data + static_cast<size_t>(y) * pixels.stride;
  if (pixels.alphaOnly) {
    for (int k = 0; k < count; ++k)
      if (coverage[k])
        row[x + k] = static_cast<unsigned char>(BlackOverAlpha(row[x + k], coverage[k]));
    return;
  }
  auto* to = reinterpret_cast<uint32_t*>(row) + x;
  for (int k = 0; k < count; ++k)
    if (coverage[k]) to[k] = BlackOver(to[k], coverage[k]);
}

void Composite(std::span<const PlacedGlyph> placed, const FontPixels& pixels) {
  const PixelBox box = Covered(placed, pixels);
  if (box.x2 <= box.x1 || box.y2 <= box.y1) return;
  if (!pixels.addCoverage) {
    for (const PlacedGlyph& g : placed)
      EachRow(g, box, [&](int y, int x, const uint8_t* coverage, int count) {
        BlendRow(pixels, y, x, coverage, count);
      });
    return;
  }
  const int width = box.x2 - box.x1;
  std::vector<uint8_t> mask(static_cast<size_t>(width) * (box.y2 - box.y1), 0);
  for (const PlacedGlyph& g : placed)
    EachRow(g, box, [&](int y, int x, const uint8_t* coverage, int count) {
      uint8_t* to = &mask[static_cast<size_t>(y - box.y1) * width + (x - box.x1)];
      for (int k = 0; k < count; ++k)
        to[k] = static_cast<uint8_t>(std::min(255, to[k] + coverage[k]));
    });
  for (int y = box.y1; y < box.y2; ++y)
    BlendRow(pixels, y, box.x1, &mask[static_cast<size_t>(y - box.y1) * width], width);
}

} // namespace

cairo_font_face_t* FontFace(std::string_view name) {
  static std::map<std::string, cairo_font_face_t*, std::less<>> faces;
  const std::lock_guard lock(FontLock());
  const FontFile& font = FontFor(name);
  auto found = faces.find(font.path);
  if (found != faces.end()) return found->second;
  cairo_font_face_t* face = FaceFromFile(font);
  if (!face)
    face =
        cairo_toy_font_face_create(font.family, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  faces.emplace(font.path, face);
  return face;
}

bool FontGlyphsOf(std::string_view fontName, std::u32string_view chars, bool smooth,
                  std::vector<FontGlyph>& out, double& reach) {
  const FontFile& font = FontFor(fontName);
  const std::lock_guard lock(FontLock());
  PixelFace* pf = PixelFaceOf(font);
  if (!pf) return false;
  const double em = pf->face->units_per_EM;
  const double advance = pf->face->max_advance_width / em, height = pf->face->height / em;
  reach = advance == 0 || height == 0 ? 0 : std::max(advance, height);
  out.clear();
  for (char32_t c : chars) {
    // Characters map to glyphs as cairo maps them, through fontconfig.
    const unsigned long index = FcFreeTypeCharIndex(pf->face, c);
    auto [at, added] = glyphMetrics.try_emplace({&font, index, smooth});
    if (added && !MeasureGlyph(*pf, index, smooth, at->second)) {
      glyphMetrics.erase(at);
      return false;
    }
    out.push_back(at->second);
  }
  return true;
}

bool FontDrawGlyphs(std::string_view fontName, const cairo_matrix_t& scale, bool smooth,
                    std::span<const cairo_glyph_t> glyphs, const FontPixels& pixels) {
  const FontFile* font = &FontFor(fontName);
  const Scale key{scale.xx, scale.yx, scale.xy, scale.yy};
  const std::lock_guard lock(FontLock());
  // Emptied between runs only: the run holds its glyphs' images.
  if (glyphImageBytes > kMaxGlyphImageBytes) {
    glyphImages.clear();
    glyphImageBytes = 0;
  }
  std::vector<PlacedGlyph> placed;
  placed.reserve(glyphs.size());
  for (const cairo_glyph_t& glyph : glyphs) {
    const GlyphImage* image = FindGlyph(*font, key, smooth, glyph.index);
    if (!image) return false;
    placed.push_back(
        {image, FontPixelAt(glyph.x) + image->left, FontPixelAt(glyph.y) - image->top});
  }
  Composite(placed, pixels);
  return true;
}
