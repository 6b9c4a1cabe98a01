// The decoration of a printed page, drawn on a page of its own: where its rules, emblem and texts
// stand, measured on the pixels, and what its texts say.
#include "output/print/Print.h"
#include "output/print/PrintTestSupport.h"

#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"

#include <cairo-pdf.h>
#include <gtest/gtest.h>

#include <sstream>

namespace {

// The printable area of a letter page in the example: 576 x 734 points.
constexpr double kWidth = 576, kHeight = 734;
constexpr double kPixelsPerPoint = 4;

// The decoration drawn on a white page of the printable area's size, y up from its lower-left
// corner as the print job sets it, read back with y down from the top edge.
PagePixels DecoratedPage(const BarCodeDataRec& rec, double width = kWidth,
                         double height = kHeight) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width * kPixelsPerPoint),
                                 static_cast<int>(height * kPixelsPerPoint));
  cairo_t* cg = cairo_create(surface);
  cairo_set_source_rgb(cg, 1, 1, 1);
  cairo_paint(cg);
  cairo_scale(cg, kPixelsPerPoint, kPixelsPerPoint);
  cairo_translate(cg, 0, height);
  cairo_scale(cg, 1, -1);
  cairo_set_source_rgb(cg, 1, 0, 1); // the decoration is black whatever the source was
  MakePrintPageBackground(cg, width, height, rec);
  cairo_destroy(cg);
  PagePixels page = PagePixels::FromSurface(surface, kPixelsPerPoint);
  cairo_surface_destroy(surface);
  return page;
}

class PrintPageTest : public testing::Test {
protected:
  void SetUp() override { rec_ = MakeRecord(kBarCodeEAN13, "501234567890"); }
  void TearDown() override { BarCodeDataRecRelease(&rec_); }
  BarCodeDataRec rec_;
};

} // namespace

TEST_F(PrintPageTest, RulesRunFromTenToWidthLessTen) {
  const PagePixels page = DecoratedPage(rec_);
  ASSERT_TRUE(page.Valid());
  struct Rule {
    const char* name;
    double down; // below the top edge
  } rules[] = {{"top", 10}, {"under the heading", 60}, {"over the title line", 706}};
  for (const Rule& rule : rules) {
    SCOPED_TRACE(rule.name);
    // From x = 10 to x = 566, and no further.
    for (double x : {10.1, 100.0, 288.0, 480.0, 565.9})
      EXPECT_TRUE(page.Dark(x, rule.down - 0.2) && page.Dark(x, rule.down + 0.2)) << x;
    EXPECT_FALSE(page.Dark(9.9, rule.down - 0.2));
    EXPECT_FALSE(page.Dark(566.1, rule.down - 0.2));
    // Half a point thick.
    EXPECT_FALSE(page.Dark(288, rule.down - 0.3));
    EXPECT_FALSE(page.Dark(288, rule.down + 0.3));
  }
}

TEST_F(PrintPageTest, EmblemStandsAtTheTopLeft) {
  const PagePixels page = DecoratedPage(rec_);
  // Points as (x, down): the two wedges, the ring of radius 14.75 around (36, 36), and the gaps.
  struct Probe {
    double x, down;
    bool dark;
  } probes[] = {
      {45, 32, true},    {34, 31, true},    {28, 29, false}, // upper wedge and above its slope
      {27, 40, true},    {38, 41, true},    {44, 43, false}, // lower wedge and below its slope
      {36, 21.25, true}, {50.75, 36, true}, {36, 50.75, true},
      {21.25, 36, true}, {36, 36, false},   {36, 24, false}, // ring, its centre and inside
      {36, 18.5, false}, {53.5, 36, false},                  // just outside the ring
  };
  for (const Probe& p : probes)
    EXPECT_EQ(page.Dark(p.x, p.down), p.dark) << p.x << ", " << p.down;
  // The ring is 2.5 points wide: 1.25 on either side of its radius.
  EXPECT_TRUE(page.Dark(36, 36 - 14.75 - 1.1));
  EXPECT_FALSE(page.Dark(36, 36 - 14.75 - 1.4));
}

TEST_F(PrintPageTest, TextsStandOnTheirBaselinesCentred) {
  const PagePixels page = DecoratedPage(rec_);
  // The heading's baseline is 42 plus its measured height below the top; the height of a
  // horizontal line of text is 0. The title line stands 48 and the footer 20 above the bottom.
  struct Line {
    const char* name;
    double baseline, size; // baseline below the top edge
  } lines[] = {{"heading", 42, 20}, {"title line", kHeight - 48, 10}, {"footer", kHeight - 20, 7}};
  // Away from the emblem at the left.
  const double x1 = 60, x2 = kWidth - 60;
  for (const Line& line : lines) {
    SCOPED_TRACE(line.name);
    const int above = page.Ink(x1, line.baseline - 1, x2, line.baseline);
    const int below = page.Ink(x1, line.baseline + 0.25, x2, line.baseline + 1.25);
    EXPECT_GT(above, 0);
    // Only descenders go below the baseline.
    EXPECT_GT(above, 3 * below);
    double left = 0, right = 0;
    ASSERT_TRUE(page.InkSpan(x1, line.baseline - line.size, x2, line.baseline + 0.3 * line.size,
                             left, right));
    EXPECT_NEAR((left + right) / 2, kWidth / 2, 1.5);
  }
}

TEST_F(PrintPageTest, LayoutFollowsTheAreaSize) {
  // A landscape letter area: the same distances from the edges.
  const double width = 734, height = 576;
  const PagePixels page = DecoratedPage(rec_, width, height);
  for (double down : {10.0, 60.0, height - 28})
    EXPECT_TRUE(page.Dark(width - 10.1, down - 0.2) && !page.Dark(width - 9.9, down - 0.2)) << down;
  double left = 0, right = 0;
  ASSERT_TRUE(page.InkSpan(60, height - 27, width - 60, height - 18, left, right));
  EXPECT_NEAR((left + right) / 2, width / 2, 1.5);
}

TEST_F(PrintPageTest, TextsSayTheHeadingTitleAndFooter) {
  // The decoration on a PDF page (y up, as the print job gives it), read back by pdftotext.
  std::string accents; // 300 characters of two bytes each
  for (int i = 0; i < 300; ++i)
    accents += "\u00E9";
  struct Case {
    int symbology;
    std::string data, addon;
    std::string title;
  } cases[] = {
      {kBarCodeEAN13, "501234567890", "12", "EAN-13 501234567890 12"},
      {kBarCodeCode128, "Gr\u00F6\u00DFe 42", "", "Code-128 Gr\u00F6\u00DFe 42"},
      // The title line holds at most 250 characters: the name, a blank and 241 of the data's.
      {kBarCodeCode128, accents, "", "Code-128 " + accents.substr(0, 2 * 241)},
  };
  const std::string dir = TestTempDir();
  const double width = 3000, height = 734; // wide enough for the longest title
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    BarCodeDataRec rec = MakeRecord(c.symbology, c.data, c.addon);
    const std::string pdf = dir + "/decoration.pdf";
    cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), width, height);
    cairo_t* cg = cairo_create(surface);
    cairo_translate(cg, 0, height);
    cairo_scale(cg, 1, -1);
    MakePrintPageBackground(cg, width, height, rec);
    cairo_destroy(cg);
    cairo_surface_destroy(surface);
    BarCodeDataRecRelease(&rec);
    std::istringstream text(PdfText(pdf));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
      if (!line.empty() && line != "\f") lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Veltrix BarCode", c.title,
                         "Veltrix BarCode 2.20 \u2022 https://www.veltrix-barcode.example/"}));
  }
}
