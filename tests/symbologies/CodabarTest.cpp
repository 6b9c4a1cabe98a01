// Codabar: read back by zxing-cpp and zbar from the command line's files, compared with zint and
// measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

TEST(CodabarScan, ZXingAndZBarReadStartDataAndStop) {
  // Scanners report the start and stop characters in capitals (ANSI/AIM BC3).
  struct Case {
    std::string data, expected;
  } cases[] = {
      {"123", "A123B"},
      {"C45D", "C45D"},
      {"a1-2$3:4/5.6+7d", "A1-2$3:4/5.6+7D"},
      {"1x23", "A123B"}, // a character Codabar has no pattern for is dropped from the bars
  };
  for (const Case& c : cases) {
    for (const ScanFile& file : ScanFiles("Codabar", c.data)) {
      SCOPED_TRACE(c.data + " " + file.format);
      const std::vector<ZXingSymbol> zxing = ZXingReadSymbols(file.png, "Codabar");
      ASSERT_EQ(zxing.size(), 1u);
      EXPECT_EQ(zxing[0].text, c.expected);
      EXPECT_EQ(ZBarReadRaw(file.png), c.expected + "\n");
    }
  }
}

// zint (type 18) draws wide elements at another ratio: the elements compare as wide and narrow.
TEST(CodabarOracle, ElementsEqualZint) {
  struct Case {
    std::string data, zintData;
  } cases[] = {{"0123456789", "A0123456789B"}, {"C-$:/.+D", "C-$:/.+D"}, {"b7a", "B7A"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::vector<std::string> rows = ZintRows(18, c.zintData);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(WideNarrowOf(ModulesOf(DrawEps(kBarCodeCodabar, c.data).fills)),
              WideNarrowOf(rows[0]));
  }
}

TEST(CodabarGeometry, BoxBarsAndText) {
  struct Case {
    std::string data;
    int trim;
    int width, height; // 12 a digit, "-" or "$"; 14 the others; the gap after each included
    std::string text;
  } cases[] = {
      {"123", 0, 14 + 3 * 12 + 14, 48, "a123b"}, {"C45D", 0, 14 + 2 * 12 + 14, 48, "C45D"},
      {"1x2", 0, 14 + 2 * 12 + 14, 48, "a1x2b"}, {"1:2", 30, 14 + 12 + 14 + 12 + 14, 18, "a1:2b"},
      {"1", 100, 14 + 12 + 14, 18, "a1b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const EpsPicture eps = DrawEps(kBarCodeCodabar, c.data, "", c.trim);
    EXPECT_EQ(SizeOf(kBarCodeCodabar, c.data, c.trim).width, c.width);
    EXPECT_EQ(SizeOf(kBarCodeCodabar, c.data, c.trim).height, c.height);
    EXPECT_EQ(eps.width, c.width);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(eps.fills.front().x1, 0);
    EXPECT_EQ(eps.fills.back().x2, c.width - 1) << "the last gap ends the box";
    for (const EpsBox& bar : eps.fills) {
      EXPECT_EQ(bar.y1, 16);
      EXPECT_EQ(bar.y2, c.height);
    }
    ASSERT_EQ(eps.texts.size(), c.text.size());
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].text, c.text.substr(k, 1));
      EXPECT_EQ(eps.texts[k].x, 5 + 7 * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, 7);
      EXPECT_EQ(eps.texts[k].size, 10);
    }
  }
}
