// MSI with its modulo-10 check digit: compared with zint (which computes the check digit itself)
// and with the examples of the published check digit rule, and measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The bits of an MSI symbol from its bars: a 1-unit bar is 0, a 2-unit bar is 1.
std::string BitsOf(const std::vector<EpsBox>& bars) {
  std::string bits;
  for (const EpsBox& bar : bars)
    bits += bar.x2 - bar.x1 == 2 ? '1' : '0';
  return bits;
}

} // namespace

TEST(MSIOracle, BarsEqualZintWithModulo10) {
  for (const char* data : {"1234", "80523", "0", "9999999999", "314159265358979"}) {
    SCOPED_TRACE(data);
    const std::vector<std::string> rows = ZintRows(47, data, {"--vers=1"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ModulesOf(DrawEps(kBarCodeMSI, data).fills), rows[0]);
  }
}

TEST(MSICheckDigit, PublishedExamples) {
  // 1234: 24 doubled is 48, 4 + 8 = 12, plus 3 + 1 makes 16: check digit 4.
  // 80523: 853 doubled is 1706, digit sum 14, plus 2 + 0 makes 16: check digit 4.
  // 13: 3 doubled is 6, plus 1 makes 7: check digit 3. 5: 10, digit sum 1: check digit 9.
  struct Case {
    std::string data;
    const char* checkBits;
  } cases[] = {{"1234", "0100"}, {"80523", "0100"}, {"13", "0011"}, {"5", "1001"}};
  for (const Case& c : cases) {
    const std::string bits = BitsOf(DrawEps(kBarCodeMSI, c.data).fills);
    // Start bit, 4 bits a digit, the check digit's 4 bits, stop "00".
    ASSERT_EQ(bits.size(), 1 + 4 * c.data.size() + 4 + 2);
    EXPECT_EQ(bits.substr(1 + 4 * c.data.size(), 4), c.checkBits) << c.data;
  }
}

TEST(MSIGeometry, BoxBarsAndText) {
  struct Case {
    std::string data;
    int trim, digits, height;
  } cases[] = {{"1234", 0, 4, 48}, {"12a34", 30, 4, 18}, {"7", 100, 1, 18}, {"7", -2, 1, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const EpsPicture eps = DrawEps(kBarCodeMSI, c.data, "", c.trim);
    const int width = 12 * c.digits + 19; // 3 units a bit, without the stop's last space
    EXPECT_EQ(SizeOf(kBarCodeMSI, c.data, c.trim).width, width);
    EXPECT_EQ(SizeOf(kBarCodeMSI, c.data, c.trim).height, c.height);
    EXPECT_EQ(eps.width, width);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(eps.fills.front().x1, 0);
    EXPECT_EQ(eps.fills.back().x2, width);
    for (size_t k = 0; k < eps.fills.size(); ++k) {
      EXPECT_EQ(eps.fills[k].x1, 3 * static_cast<int>(k));
      EXPECT_EQ(eps.fills[k].y1, 13);
      EXPECT_EQ(eps.fills[k].y2, c.height);
    }
    // The text is the data as given, digits or not.
    ASSERT_EQ(eps.texts.size(), c.data.size());
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].text, c.data.substr(k, 1));
      EXPECT_EQ(eps.texts[k].x, 5 + 12 * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, 2);
    }
  }
}

TEST(MSIGeometry, WithoutTextTheBarsStandOnTheBottom) {
  BarCodeDataRec rec = MakeRecord(kBarCodeMSI, "12");
  rec.textVisible = 0;
  rec.trim = 5;
  BarCodeMakeMSI(nullptr, &rec);
  const EpsPicture eps = ParseEps(*rec.epsText);
  BarCodeDataRecRelease(&rec);
  EXPECT_EQ(eps.height, 35 - 5);
  EXPECT_TRUE(eps.texts.empty());
  for (const EpsBox& bar : eps.fills) {
    EXPECT_EQ(bar.y1, 0);
    EXPECT_EQ(bar.y2, 30);
  }
}

TEST(MSIDrawable, DataWithoutDigitsIsRefused) {
  EXPECT_EQ(SizeOf(kBarCodeMSI, "abc").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeMSI, "a1").width, 12 + 19);
}
