// The render driver's placement and crop marks, text measurement, and the EPS picture writer.
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeGraphics.h"
#include "render/BarCodeRender.h"
#include "render/epsf/EPSF.h"
#include "support/TestSupport.h"

#include <cairo.h>
#include <random>
#include <sstream>

TEST(BarCodeUpdateImage, PlacesSymbolAndPlaceholderByMode) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
  for (const TableRow& row : ReadTable("placement.tsv")) {
    cairo_t* cg = cairo_create(surface);
    BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, row.Raw("data"));
    rec.position = static_cast<int16_t>(row.Int("position"));
    rec.scale = 50;
    BarCodeUpdateImage(cg, 300, 200, &rec);
    cairo_matrix_t m;
    cairo_get_matrix(cg, &m);
    std::ostringstream matrix;
    matrix << m.x0 << " " << m.y0 << " " << m.xx << " " << m.yy;
    EXPECT_EQ(matrix.str(), row.Raw("matrix")) << testing::PrintToString(row);
    cairo_destroy(cg);
    BarCodeDataRecRelease(&rec);
  }
  cairo_surface_destroy(surface);
}

TEST(BarCodeUpdateImage, PrintingStrokesCropMarksAwayFromTheSymbol) {
  const int w = 400, h = 300; // a white page with its y axis up, as printing has it
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cg = cairo_create(page);
  cairo_set_source_rgb(cg, 1, 1, 1);
  cairo_paint(cg);
  cairo_translate(cg, 0, h);
  cairo_scale(cg, 1, -1);
  cairo_set_source_rgb(cg, 1, 1, 0); // the symbol is drawn in black whatever the source was
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "123");
  rec.position = 1;
  BarCodeUpdateImage(cg, w, h, &rec);
  cairo_destroy(cg);
  cairo_surface_flush(page);
  const unsigned char* pixels = cairo_image_surface_get_data(page);
  for (const TableRow& row : ReadTable("cropmarks.tsv")) {
    // A half-point line on a pixel edge falls on one side of it or the other, in grey.
    bool dark = false;
    for (int dy = 0; dy <= 1; ++dy)
      for (int dx = -1; dx <= 0; ++dx)
        dark = dark || pixels[cairo_image_surface_get_stride(page) * (h - row.Int("y") - dy) +
                              4 * (row.Int("x") + dx) + 1] < 192;
    EXPECT_EQ(dark, row.Int("dark") == 1) << testing::PrintToString(row);
  }
  cairo_surface_destroy(page);
  BarCodeDataRecRelease(&rec);
}

TEST(GetCGTextDrawnSize, AdvancesGrowInProportionToTheSize) {
  // Text is measured as a PDF page measures it, without rounding each glyph's advance to a whole
  // point: ten times the size is ten times the advance. A horizontal line has no height.
  for (const char* font : {"Helvetica", "Lucida Grande", "Monaco"}) {
    BarCodeSize small, large;
    GetCGTextDrawnSize("Veltrix BarCode 2.20 \u2022 No BarCode Image 0123456789", font, 7, small);
    GetCGTextDrawnSize("Veltrix BarCode 2.20 \u2022 No BarCode Image 0123456789", font, 70, large);
    EXPECT_TRUE(small.width > 0 && small.height == 0) << font;
    EXPECT_NEAR(large.width, 10 * small.width, 0.01) << font;
  }
}

// Two pictures written out in full (their creation date as "*"): a 95 x 60 symbol with one bar
// and one text run, and a scaled one whose rectangles round half to even.
TEST(EPSF, PicturesLineByLine) {
  std::string small, scaled;
  EPSFOpenPicture({0, 0, 95, 60}, small, 100);
  EPSFPaintRect({10, 0, 1, 60}, small);
  EPSFSetFontFaceSize("Monaco", 10, small);
  EPSFPrintText(5, 7, "A", small);
  EPSFClosePicture(small);
  EPSFOpenPicture({0, 0, 113, 80}, scaled, 150);
  EPSFPaintRect({10.5f, 0, 1, 11.5f}, scaled);
  EPSFFrameRect({0, 0, 2, 2}, scaled);
  EPSFPenSize(3, scaled);
  EPSFClosePicture(scaled);
  for (auto [eps, file] : {std::pair{small, "picture.eps"}, std::pair{scaled, "picture150.eps"}}) {
    const size_t date = eps.find("%%CreationDate: ") + 16;
    ASSERT_NE(eps.find('\n', date), date) << "a date";
    eps.replace(date, eps.find('\n', date) - date, "*");
    EXPECT_EQ(eps, ReadFileBytes(VX_TEST_DATA_DIR "/" + std::string(file)));
  }
}

// The close step rewrites the text in four passes, each over the result of the one before; the
// picture is closed in one pass, which must agree with the four for any text, including runs of
// spaces and marks that overlap.
TEST(EPSF, ClosingAgreesWithTheFourRewritesInTurn) {
  std::mt19937 random(20261207);
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    for (int length = static_cast<int>(random() % 24); length > 0; --length)
      text += " \\r\nx"[random() % 5];
    std::string expected = text + "grestore\\r%%EOF\\r", closed = text;
    ReplaceAll(expected, "  ", " ");
    ReplaceAll(expected, "\\r ", "\\r");
    ReplaceAll(expected, " \\r", "\\r");
    ReplaceAll(expected, "\\r", "\n");
    EPSFClosePicture(closed);
    ASSERT_EQ(closed, expected) << '"' << text << '"';
  }
}
