// Code 25, Interleaved-25, ITF-14 and ITF-SCC: the interleaved ones read back by zxing-cpp and zbar
// from the command line's files; all compared with zint and measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string ZeroPadded(const std::string& digits, size_t length) {
  if (digits.size() >= length) return digits.substr(0, length);
  return std::string(length - digits.size(), '0') + digits;
}

// Interleaved 2 of 5 pairs its digits: an odd count gets a zero in front.
std::string Even(const std::string& digits) {
  return digits.size() % 2 == 0 ? digits : "0" + digits;
}

struct ScanCase {
  const char* type;
  std::string data;
  std::string expected;
};

} // namespace

TEST(TwoOfFiveScan, ZXingAndZBarReadTheInterleavedSymbols) {
  const ScanCase cases[] = {
      {"Interleaved-25", "12345", Even("12345")}, // zxing-cpp 1.4 reads 6 digits or more
      {"Interleaved-25", "1234567890", "1234567890"},
      {"Interleaved-25", "98765432109876543", Even("98765432109876543")},
      {"ITF-14", "123", ZeroPadded("123", 14)},
      {"ITF-14", "123456789012345", ZeroPadded("123456789012345", 14)},
      {"ITF-SCC", "1234567890123", ZeroPadded("1234567890123", 14)},
      {"ITF-SCC", "0", ZeroPadded("0", 14)},
  };
  for (const ScanCase& c : cases) {
    for (const ScanFile& file : ScanFiles(c.type, c.data)) {
      SCOPED_TRACE(std::string(c.type) + " " + c.data + " " + file.format);
      const std::vector<ZXingSymbol> zxing = ZXingReadSymbols(file.png, "ITF");
      ASSERT_EQ(zxing.size(), 1u);
      EXPECT_EQ(zxing[0].text, c.expected);
      EXPECT_EQ(ZBarReadRaw(file.png, {"i25.min-length=2"}), c.expected + "\n");
    }
  }
}

// zint's Interleaved 2 of 5 (type 3) and Industrial 2 of 5 (type 7). Code 25 draws the wide bars of
// its start and stop 2 units wide and ITF-SCC its elements 2 : 5, so those compare as wide and
// narrow elements.
TEST(TwoOfFiveOracle, BarsEqualZint) {
  struct Case {
    int symbology;
    std::string data;
    int zintType;
    std::string zintData;
    bool exact;
  } cases[] = {
      {kBarCodeInterleaved25, "1234567890", 3, "1234567890", true},
      {kBarCodeInterleaved25, "123", 3, Even("123"), true},
      {kBarCodeITF14, "123", 3, ZeroPadded("123", 14), true},
      {kBarCodeITF14, "1234567890123456", 3, ZeroPadded("1234567890123456", 14), true},
      {kBarCodeITFSCC, "1234567890123", 3, ZeroPadded("1234567890123", 14), false},
      {kBarCodeCode25, "1234567890", 7, "1234567890", false},
      {kBarCodeCode25, "0", 7, "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::vector<std::string> rows = ZintRows(c.zintType, c.zintData);
    ASSERT_EQ(rows.size(), 1u);
    std::vector<EpsBox> bars = DrawEps(c.symbology, c.data).fills;
    if (c.symbology == kBarCodeITFSCC) bars.erase(bars.begin(), bars.begin() + 6); // the H marks
    const std::string modules = ModulesOf(bars);
    if (c.exact)
      EXPECT_EQ(modules, rows[0]);
    else
      EXPECT_EQ(WideNarrowOf(modules), WideNarrowOf(rows[0]));
  }
}

TEST(TwoOfFiveGeometry, BoxBarsAndText) {
  struct Case {
    int symbology;
    std::string data;
    int trim;
    int width, height;
    int firstX, lastX, bottom, top;
    int textSize, textX, textStep, textY;
    std::string text;
  } cases[] = {
      // Interleaved: quiet zone 4, start 4, 9 a digit, stop 5, margin 6.
      {kBarCodeInterleaved25, "123", 0, 4 + 4 + 9 * 4 + 5 + 6, 90, 4, 4 + 4 + 36 + 5, 15, 90, 9, 12,
       9, 4, "0123"},
      {kBarCodeInterleaved25, "12", 60, 4 + 4 + 18 + 5 + 6, 30, 4, 31, 15, 30, 9, 12, 9, 4, "12"},
      {kBarCodeITF14, "123", 0, 145, 90, 4, 4 + 4 + 126 + 5, 15, 90, 9, 12, 9, 4, "00000000000123"},
      {kBarCodeITF14, "123", 100, 145, 30, 4, 139, 15, 30, 9, 12, 9, 4, "00000000000123"},
      // ITF-SCC: start 8, 16 a digit, stop 9 from x 32; bars between the bearers, whatever the
      // trim.
      {kBarCodeITFSCC, "1", 40, 305, 100, 32, 32 + 8 + 14 * 16 + 9, 26, 90, 10, 45, 16, 7,
       "00000000000001"},
      {kBarCodeITFSCC, "1", -10, 305, 110, 32, 273, 26, 90, 10, 45, 16, 7, "00000000000001"},
      // Code 25: quiet zone 10, start 8, 14 a digit, stop 7 and its space, quiet zone 10.
      {kBarCodeCode25, "12", 0, 10 + 8 + 28 + 8 + 10, 80, 10, 10 + 8 + 28 + 7, 15, 80, 10, 11, 15,
       4, "12"},
      {kBarCodeCode25, "7", 50, 10 + 8 + 14 + 8 + 10, 30, 10, 39, 15, 30, 10, 11, 15, 4, "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data + " in " + std::to_string(c.symbology));
    const EpsPicture eps = DrawEps(c.symbology, c.data, "", c.trim);
    const BarCodeRect size = SizeOf(c.symbology, c.data, c.trim);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
    EXPECT_EQ(eps.width, c.width);
    EXPECT_EQ(eps.height, c.height);
    std::vector<EpsBox> bars = eps.fills;
    if (c.symbology == kBarCodeITFSCC) bars.erase(bars.begin(), bars.begin() + 6);
    EXPECT_EQ(bars.front().x1, c.firstX);
    EXPECT_EQ(bars.back().x2, c.lastX);
    for (const EpsBox& bar : bars) {
      EXPECT_EQ(bar.y1, c.bottom);
      EXPECT_EQ(bar.y2, c.top);
    }
    ASSERT_EQ(eps.texts.size(), c.text.size());
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].text, c.text.substr(k, 1));
      EXPECT_EQ(eps.texts[k].x, c.textX + c.textStep * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, c.textY);
      EXPECT_EQ(eps.texts[k].size, c.textSize);
    }
  }
}

TEST(TwoOfFiveGeometry, ITFSCCBearerFrameAndMarks) {
  const EpsPicture eps = DrawEps(kBarCodeITFSCC, "0", "IGNORED");
  ASSERT_EQ(eps.frames.size(), 1u);
  EXPECT_EQ(eps.frames[0], (EpsBox{5, 21, 300, 95}));
  EXPECT_EQ(eps.penSizes, (std::vector<int>{1, 10, 1})) << "the prologue's, the bearer's, back";
  const std::vector<EpsBox> marks(eps.fills.begin(), eps.fills.begin() + 6);
  EXPECT_EQ(marks, (std::vector<EpsBox>{{11, 49, 13, 65},
                                        {14, 49, 16, 65},
                                        {11, 57, 16, 59},
                                        {289, 49, 291, 65},
                                        {292, 49, 294, 65},
                                        {289, 57, 294, 59}}));
  EXPECT_EQ(eps.texts.front().text, "0") << "the display override is not used";
}

TEST(TwoOfFiveDrawable, CharactersWithoutPatternsAreRefused) {
  EXPECT_EQ(SizeOf(kBarCodeCode25, "12a3").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeInterleaved25, "12 ").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeITF14, "12345678901a").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeITFSCC, "1\xC3\xA9").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeITF14, "12345678901234x").width, 145) << "only 14 digits are drawn";
  for (const char* type : {"Code-25", "Interleaved-25", "ITF-14", "ITF-SCC"}) {
    const RunResult run = RunCli(
        {"-type", type, "-data", "12A4", "-action", "epsf", "-output", TestTempDir() + "/x.eps"});
    EXPECT_EQ(run.status, 1) << type << run.err;
  }
}
