// Pharmacode (one track): bars compared with zint and with the published examples, and the geometry
// measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

// "n" for a narrow bar (1 unit), "w" for a wide one (3 units).
std::string BarKinds(const std::vector<EpsBox>& bars) {
  std::string kinds;
  for (const EpsBox& bar : bars)
    kinds += bar.x2 - bar.x1 == 3 ? 'w' : 'n';
  return kinds;
}

} // namespace

TEST(PharmacodeOracle, BarsEqualZint) {
  for (const char* data : {"3", "4", "91", "1234", "65535", "131070"}) {
    SCOPED_TRACE(data);
    const std::vector<std::string> rows = ZintRows(51, data);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ModulesOf(DrawEps(kBarCodePharmacode, data).fills), rows[0]);
  }
}

TEST(PharmacodeBars, PublishedExamples) {
  struct Case {
    std::string data, kinds;
  } cases[] = {
      {"3", "nn"}, {"4", "nw"},
      {"0", "w"},  {"1", "n"},
      {"2", "w"},  {"x", "w"},
      {"-5", "n"}, {"1000000000003", "nn"}, // only the last 9 characters, 000000003, are read
  };
  for (const Case& c : cases)
    EXPECT_EQ(BarKinds(DrawEps(kBarCodePharmacode, c.data).fills), c.kinds) << c.data;
}

TEST(PharmacodeGeometry, BoxBarsAndText) {
  struct Case {
    std::string data;
    int trim, width, height;
  } cases[] = {
      {"3", 0, 7, 25}, // bars 1 + 2 + 1 wide, the text 7 a character
      {"12", 0, 3 + 2 + 1 + 2 + 3 + 2 + 1, 25},
      {"3", -3, 7, 28},
      {"3", 20, 7, 25},
      {"1000000000003", 0, 7 * 9, 25}, // bars and box from the last 9 characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const EpsPicture eps = DrawEps(kBarCodePharmacode, c.data, "", c.trim);
    EXPECT_EQ(SizeOf(kBarCodePharmacode, c.data, c.trim).width, c.width);
    EXPECT_EQ(SizeOf(kBarCodePharmacode, c.data, c.trim).height, c.height);
    EXPECT_EQ(eps.width, c.width);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(eps.fills.front().x1, 0);
    for (size_t k = 0; k + 1 < eps.fills.size(); ++k)
      EXPECT_EQ(eps.fills[k + 1].x1 - eps.fills[k].x2, 2);
    for (const EpsBox& bar : eps.fills) {
      EXPECT_EQ(bar.y1, 13);
      EXPECT_EQ(bar.y2, c.height);
    }
    ASSERT_EQ(eps.texts.size(), c.data.size()) << "the text shows the data before the cut";
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].x, 7 * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, 1);
      EXPECT_EQ(eps.texts[k].size, 10);
    }
  }
}

TEST(PharmacodeGeometry, WithoutTextTheBoxIsTheBars) {
  BarCodeDataRec rec = MakeRecord(kBarCodePharmacode, "3");
  rec.textVisible = 0;
  BarCodeMakePharmacode(nullptr, &rec);
  const EpsPicture eps = ParseEps(*rec.epsText);
  BarCodeDataRecRelease(&rec);
  EXPECT_EQ(eps.width, 4);
  EXPECT_EQ(eps.height, 12);
  EXPECT_TRUE(eps.texts.empty());
  for (const EpsBox& bar : eps.fills)
    EXPECT_EQ(bar.y1, 0);
}
