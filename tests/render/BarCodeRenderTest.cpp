#include "render/BarCodeRender.h"
#include "model/BarCodeDataRec.h"
#include "render/BarCodeGraphics.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cairo.h>

namespace {

struct SizeCase {
  int symbology;
  const char* data;
  const char* addon;
  int trim, scale;
  float width, height; // 0 by 0: not drawable
};

// Widths and heights worked out by hand from the symbols' module counts.
const SizeCase kSizeCases[] = {
    {1, "123", "", 0, 100, 113, 80},
    {1, "123", "12", 0, 100, 138, 80},
    {1, "123", "12345", 0, 100, 165, 80},
    {1, "123", "123456", 0, 100, 113, 80},
    {1, "123", "", 50, 100, 113, 30},
    {1, "123", "", 80, 100, 113, 30},
    {1, "123", "", -10, 100, 113, 90},
    {1, "123", "", 0, 150, 169.5f, 120},
    {1, "", "", 0, 100, 0, 0},
    {0, "123", "", 0, 100, 0, 0},
    {28, "123", "", 0, 100, 0, 0},
    {1, "12A", "", 0, 100, 0, 0},
    {1, "123", "1x", 0, 100, 0, 0},
    {1, "123", "1x34567", 0, 100, 113, 80},
    {1, "123", "", 0, 0, 0, 0},
    {1, "123", "", -40000, 100, 0, 0},
    {1, "\u0663\u0664", "", 0, 100, 0, 0}, // Arabic-Indic digits are not 0-9
};

cairo_matrix_t MatrixAfterDraw(int16_t position, float w, float h, int symbology,
                               const char* data) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
  cairo_t* cg = cairo_create(surface);
  BarCodeDataRec rec = MakeRecord(symbology, data);
  rec.position = position;
  rec.scale = 50;
  BarCodeUpdateImage(cg, w, h, &rec);
  cairo_matrix_t m;
  cairo_get_matrix(cg, &m);
  cairo_destroy(cg);
  cairo_surface_destroy(surface);
  BarCodeDataRecRelease(&rec);
  return m;
}

} // namespace

TEST(BarCodeGetSize, Table) {
  for (const SizeCase& c : kSizeCases) {
    BarCodeDataRec rec = MakeRecord(c.symbology, c.data, c.addon);
    rec.trim = c.trim;
    rec.scale = c.scale;
    BarCodeRect box{1, 2, 3, 4};
    const int16_t ok = BarCodeGetSize(rec, box);
    SCOPED_TRACE(std::to_string(c.symbology) + " " + c.data + " +" + c.addon);
    if (c.width == 0) {
      EXPECT_EQ(ok, 0);
      EXPECT_EQ(box.x + box.y + box.width + box.height, 10) << "the box stays as the caller set it";
    } else {
      EXPECT_EQ(ok, 1);
      EXPECT_FLOAT_EQ(box.width, c.width);
      EXPECT_FLOAT_EQ(box.height, c.height);
    }
    BarCodeDataRecRelease(&rec);
  }
}

TEST(BarCodeUpdateImage, PlacementModesOfSymbolAndPlaceholder) {
  // On a 300 x 200 target at scale 50: a 113 x 80 symbol is a 56.5 x 40 box, translated by
  // rint(150 - 28.25), rint(100 + 20); the placeholder's 200 x 50 box by rint(150 - 100),
  // rint(100 - 25) in mode 0, the 7 of an unknown mode as 3.
  struct Case {
    int16_t position;
    const char* data; // empty: not drawable
    double x0, y0, xx, yy;
  } cases[] = {
      {0, "123", 122, 120, 0.5, -0.5}, {1, "123", 122, 80, 0.5, 0.5}, {2, "123", 0, 40, 0.5, -0.5},
      {3, "123", 0, 0, 0.5, 0.5},      {7, "123", 0, 0, 0.5, 0.5},    {0, "", 50, 75, 0.5, 0.5},
      {1, "", 50, 125, 0.5, -0.5},     {3, "", 0, 50, 0.5, -0.5},     {2, "", 0, 0, 0.5, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.position) + " " + c.data);
    const cairo_matrix_t m = MatrixAfterDraw(c.position, 300, 200, 1, c.data);
    EXPECT_DOUBLE_EQ(m.x0, c.x0);
    EXPECT_DOUBLE_EQ(m.y0, c.y0);
    EXPECT_DOUBLE_EQ(m.xx, c.xx);
    EXPECT_DOUBLE_EQ(m.yy, c.yy);
  }
}

TEST(BarCodeUpdateImage, WithoutContextOnlyTheEPSTextAndTextVisible) {
  for (int symbology : {19, 20, 1}) {
    BarCodeDataRec rec = MakeRecord(symbology, "");
    BarCodeUpdateImage(nullptr, 0, 0, &rec);
    EXPECT_EQ(rec.textVisible, symbology == 1 ? 1 : 0);
    EXPECT_TRUE(rec.epsText->empty()) << "an undrawable request leaves no EPS text";
    BarCodeDataRecRelease(&rec);
  }
  BarCodeDataRec rec = MakeRecord(1, "123");
  BarCodeUpdateImage(nullptr, 0, 0, &rec);
  EXPECT_NE(rec.epsText->find("%%EOF"), std::string::npos);
  BarCodeDataRecRelease(&rec);
}

namespace {

// Draws a request in printing mode on a white y-up page and reports whether a pixel is dark.
struct Page {
  cairo_surface_t* surface;
  int height;
  // Whether a pixel next to the point (x, y) of the page is marked: a half-point line on a pixel
  // edge falls on one side of it or the other, in grey.
  bool Dark(int x, int y) const {
    for (int dy = -1; dy <= 0; ++dy)
      for (int dx = -1; dx <= 0; ++dx) {
        const unsigned char* row =
            cairo_image_surface_get_data(surface) +
            cairo_image_surface_get_stride(surface) * (height - 1 - (y + dy));
        if (row[4 * (x + dx) + 1] < 192) return true;
      }
    return false;
  }
};

} // namespace

TEST(BarCodeUpdateImage, PrintingStrokesEightCropMarksAwayFromTheSymbol) {
  const int w = 400, h = 300;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cg = cairo_create(surface);
  cairo_set_source_rgb(cg, 1, 1, 1);
  cairo_paint(cg);
  cairo_translate(cg, 0, h);
  cairo_scale(cg, 1, -1);
  cairo_set_source_rgb(cg, 1, 1, 0); // the symbol is drawn in black whatever the source was
  BarCodeDataRec rec = MakeRecord(1, "123");
  rec.position = 1;
  BarCodeUpdateImage(cg, w, h, &rec);
  cairo_destroy(cg);
  cairo_surface_flush(surface);
  const Page page{surface, h};
  // The 113 x 80 symbol stands centred, with its lower-left corner at (rint(200 - 56.5),
  // rint(150 - 40)): printing flips nothing, so the box spans x 144..257 and y 110..190.
  const int x0 = 144, y0 = 110, W = 113, H = 80;
  struct Probe {
    int x, y;
    bool dark;
  } probes[] = {
      {x0 - 30, y0, true},         {x0, y0 - 30, true},
      {x0 + W + 30, y0, true},     {x0 + W, y0 - 30, true},
      {x0 + W, y0 + H + 30, true}, {x0 + W + 30, y0 + H, true},
      {x0 - 30, y0 + H, true},     {x0, y0 + H + 30, true},
      {x0 - 10, y0, false},        {x0 - 45, y0, false},
      {x0, y0 - 10, false},        {x0 + 11, y0 + 40, true}, // the start guard's first bar
  };
  for (const Probe& p : probes)
    EXPECT_EQ(page.Dark(p.x, p.y), p.dark) << p.x << "," << p.y;
  cairo_surface_destroy(surface);
  BarCodeDataRecRelease(&rec);
}

TEST(GetCGTextDrawnSize, AdvancesGrowInProportionToTheSize) {
  // Text is measured as a PDF page measures it, without rounding each glyph's advance to a whole
  // point: ten times the size is ten times the advance. A horizontal line has no height.
  struct Case {
    const char* text;
    const char* font;
  } cases[] = {
      {"Veltrix BarCode 2.20 \u2022 https://www.veltrix-barcode.example/", "Helvetica"},
      {"EAN-13 501234567890", "Lucida Grande"},
      {"No BarCode Image", "Lucida Grande"},
      {"0123456789", "Monaco"},
  };
  for (const Case& c : cases) {
    BarCodeSize small, large;
    GetCGTextDrawnSize(c.text, c.font, 7, small);
    GetCGTextDrawnSize(c.text, c.font, 70, large);
    EXPECT_GT(small.width, 0) << c.text;
    EXPECT_NEAR(large.width, 10 * small.width, 0.01) << c.text;
    EXPECT_EQ(small.height, 0) << c.text;
  }
}
