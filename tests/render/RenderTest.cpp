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

// Text drawn straight into a bitmap's pixels is exactly what cairo's show_text draws: every face,
// sizes, scales and mirrorings, both antialiasing modes, accents stacked on letters, glyphs the
// faces lack, text running off the image, over random pixels.
TEST(GraphicsShowTextOnPixels, DrawsWhatCairoDraws) {
  std::mt19937 random(20261207);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::u32string pool = U"0123456789 0123456789 ABCXYZ abcxyz-.,<>/$%+\u00e9\u00df\u00d8"
                              U"\u20ac\u0301\u0308\u20dd\u4e2d\U0001f600";
  const char* fonts[] = {"Monaco", "Lucida Grande", "Helvetica"};
  for (int run = 0; run < 1500; ++run) {
    const int width = 8 + pick(250), height = 8 + pick(150);
    std::vector<uint32_t> reference(static_cast<size_t>(width) * height);
    for (uint32_t& pixel : reference)
      pixel = pick(3) == 0 ? 0 : static_cast<uint32_t>(random());
    std::vector<uint32_t> own = reference;
    const double k = 1 + pick(pick(4) == 0 ? 24 : 4), sx = pick(2) ? k : -k, sy = pick(2) ? k : -k;
    const double tx = pick(2) ? uniform(-4, 4) : pick(9), ty = pick(2) ? uniform(-4, 4) : pick(9);
    const bool smooth = pick(2);
    const cairo_format_t format = pick(2) ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32;
    const char* font = fonts[pick(3)];
    const int size = 5 + pick(12);
    std::u32string chars;
    for (int n = pick(13); n > 0; --n)
      chars += pool[pick(static_cast<int>(pool.size()))];
    const std::string text = Utf8Encode(chars);
    const double x = uniform(-20, width / k + 20) / (sx / k),
                 y = uniform(-20, height / k + 20) / (sy / k);
    auto draw = [&](std::vector<uint32_t>& pixels, bool onPixels) {
      cairo_surface_t* surface = cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(pixels.data()), format, width, height,
          cairo_format_stride_for_width(format, width));
      cairo_t* cg = cairo_create(surface);
      if (onPixels) GraphicsOwnImage(cg);
      cairo_translate(cg, tx, height + ty);
      cairo_scale(cg, sx, -sy);
      GraphicsSetFontSmoothing(cg, smooth);
      GraphicsSelectFont(cg, font, size);
      bool drawn = false;
      if (onPixels) {
        drawn = GraphicsShowTextOnPixels(cg, x, y, text);
      } else {
        cairo_move_to(cg, x, y);
        cairo_show_text(cg, text.c_str());
      }
      cairo_destroy(cg);
      cairo_surface_destroy(surface);
      return drawn;
    };
    draw(reference, false);
    ASSERT_TRUE(draw(own, true)) << run;
    ASSERT_TRUE(own == reference) << "run " << run << ": " << font << " " << size << " at " << x
                                  << "," << y << " scale " << sx << "," << sy << " smooth "
                                  << smooth << " format " << format << " text " << text;
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
