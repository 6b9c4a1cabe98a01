#include "render/epsf/EPSF.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text, char end = '\n') {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line, end);)
    lines.push_back(line);
  return lines;
}

std::string Picture(BarCodeRect box, int scale, const std::string& text) {
  std::string eps;
  EPSFOpenPicture(box, eps, scale);
  EPSFPaintRect({10, 0, 1, 60}, eps);
  EPSFSetFontFaceSize("Monaco", 10, eps);
  EPSFPrintText(5, 7, text, eps);
  EPSFClosePicture(eps);
  return eps;
}

} // namespace

TEST(EPSF, PictureOfASmallSymbolLineByLine) {
  const std::string eps = Picture({0, 0, 95, 60}, 100, "A");
  const std::vector<std::string> lines = Lines(eps);
  const std::vector<std::string> head{"%!PS-Adobe-3.0 EPSF-3.0", "%%Creator: Veltrix BarCode",
                                      "%%Title: \u00ABEPSFileName\u00BB",
                                      "%%Meta: \u00ABEPSMetaData\u00BB"};
  ASSERT_GE(lines.size(), 28u);
  for (size_t i = 0; i < head.size(); ++i)
    EXPECT_EQ(lines[i], head[i]);
  EXPECT_EQ(lines[4].rfind("%%CreationDate: ", 0), 0u);
  const std::vector<std::string> rest{"%%DocumentData: Clean7Bit",
                                      "%%Origin: 0 0",
                                      "%%BoundingBox: 0 0 95.0000 60.0000",
                                      "%%DPI: 72",
                                      "%%Magnification: 100%",
                                      "%%LanguageLevel: 2",
                                      "%%Pages: 1",
                                      "%%Page: 1 1",
                                      "%%EndComments",
                                      "gsave",
                                      "0 setgray",
                                      "1 setlinewidth",
                                      "0 0 translate",
                                      "1.00 1.00 scale",
                                      "0 0 moveto"};
  for (size_t i = 0; i < rest.size(); ++i)
    EXPECT_EQ(lines[5 + i], rest[i]);
  // The two procedures: 28 lines ending in CR, then the picture's own LF lines go on.
  const std::vector<std::string> procedures = Lines(lines[20], '\r');
  ASSERT_EQ(procedures.size(), 29u);
  EXPECT_EQ(procedures[0], "/VXfillrect {");
  EXPECT_EQ(procedures[12], "fill");
  EXPECT_EQ(procedures[13], "} def");
  EXPECT_EQ(procedures[14], "/VXdrawrect {");
  EXPECT_EQ(procedures[26], "stroke");
  EXPECT_EQ(procedures[27], "} def");
  EXPECT_EQ(procedures[28], "10 0 11 60 VXfillrect");
  const std::vector<std::string> tail{"/Monaco findfont", "10 scalefont", "setfont",
                                      "newpath",          "5 7 moveto",   "(A) show",
                                      "closepath",        "grestore",     "%%EOF"};
  ASSERT_EQ(lines.size(), 21 + tail.size());
  for (size_t i = 0; i < tail.size(); ++i)
    EXPECT_EQ(lines[21 + i], tail[i]);
  EXPECT_EQ(eps.back(), '\n');
}

TEST(EPSF, ScaleAndRounding) {
  std::string eps;
  EPSFOpenPicture({0, 0, 113, 80}, eps, 150);
  EPSFPaintRect({10.5f, 0, 1, 11.5f}, eps);
  EPSFFrameRect({0, 0, 2, 2}, eps);
  EPSFPenSize(3, eps);
  EPSFClosePicture(eps);
  for (const char* expected :
       {"%%BoundingBox: 0 0 169.5000 120.0000\n", "%%Magnification: 150%\n", "1.50 1.50 scale\n",
        "\r10 0 12 12 VXfillrect\n", "\n0 0 2 2 VXdrawrect\n", "\n3 setlinewidth\n"})
    EXPECT_NE(eps.find(expected), std::string::npos) << expected;
}

TEST(EPSF, TextCannotBreakOutOfItsString) {
  struct Case {
    const char* text;
    const char* shown;
  } cases[] = {
      {"(A)", "(\\(A\\)) show"},
      {"a\\b", "(a\\134b) show"},
      {"\\r", "(\\134r) show"},                    // never becomes a line end
      {"a  b   c", "(a \\040b \\040\\040c) show"}, // spaces survive the close step
      {"caf\u00E9", "(caf\\216) show"},            // Mac OS Roman 0x8E
      {"\u65E5", "(?) show"},
      {") show (x", "(\\) show \\(x) show"},
      {"\n%%EOF", "(\\012%%EOF) show"},
  };
  for (const Case& c : cases) {
    const std::string eps = Picture({0, 0, 10, 10}, 100, c.text);
    EXPECT_NE(eps.find(std::string("\n") + c.shown + "\n"), std::string::npos) << c.text << "\n"
                                                                               << eps;
    for (unsigned char b : eps)
      if (b >= 0x80) {
        // Only the two placeholders' guillemets are outside 7-bit ASCII.
        EXPECT_TRUE(b == 0xC2 || b == 0xAB || b == 0xBB) << c.text;
      }
  }
}

TEST(EPSF, SetDataReplacesEveryOccurrence) {
  std::string eps = "a \u00ABEPSFileName\u00BB b \u00ABEPSFileName\u00BB";
  EPSFSetData(eps, kEPSFTitlePlaceholder, "x.eps");
  EXPECT_EQ(eps, "a x.eps b x.eps");
}

TEST(EPSF, UnclosedPictureKeepsLineMarks) {
  std::string eps;
  EPSFOpenPicture({0, 0, 1, 1}, eps, 100);
  EXPECT_NE(eps.find("gsave\\r"), std::string::npos);
  EXPECT_EQ(eps.find("%%EOF"), std::string::npos);
}
