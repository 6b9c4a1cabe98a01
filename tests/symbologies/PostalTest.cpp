// PostNet and RM4SCC: bar heights compared with zint and with the published patterns, and the
// geometry measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// POSTNET (USPS DMM 708.4): each digit is five bars weighted 7 4 2 1 0 with exactly two full bars;
// 0 is 11000. The check digit brings the digit sum to a multiple of 10.
std::string PostNetDigit(int d) {
  if (d == 0) return "11000";
  static constexpr int kWeights[] = {7, 4, 2, 1, 0};
  for (int a = 0; a < 5; ++a)
    for (int b = a + 1; b < 5; ++b)
      if (kWeights[a] + kWeights[b] == d) {
        std::string bars = "00000";
        bars[a] = bars[b] = '1';
        return bars;
      }
  return {};
}

std::string PostNetBars(const std::string& digits) {
  int sum = 0;
  std::string bars = "1";
  for (char d : digits) {
    bars += PostNetDigit(d - '0');
    sum += d - '0';
  }
  return bars + PostNetDigit((10 - sum % 10) % 10) + "1";
}

// "1" for a full bar and "0" for a half bar, from our rectangles and from zint's two rows (full
// bars only, then all bars; one module of bar and one of space).
std::string TallOf(const std::vector<EpsBox>& bars, int fullHeight) {
  std::string tall;
  for (const EpsBox& bar : bars)
    tall += bar.y2 - bar.y1 == fullHeight ? '1' : '0';
  return tall;
}

std::string ZintTall(const std::vector<std::string>& rows) {
  std::string tall;
  for (size_t x = 0; x < rows.back().size(); x += 2)
    tall += x < rows.front().size() && rows.front()[x] == '1' ? '1' : '0';
  return tall;
}

} // namespace

TEST(PostNet, BarsEqualZintAndThePublishedPattern) {
  const std::pair<std::string, std::string> cases[] = {
      // The digits drawn: padded to 5, 9 or 11, or cut to 11.
      {"12345", "12345"},
      {"4", "00004"},
      {"123456", "000123456"},
      {"123456789", "123456789"},
      {"1234567890", "01234567890"},
      {"1234567890123", "12345678901"},
      {"12-345", "12345"},
  };
  for (const auto& [data, digits] : cases) {
    SCOPED_TRACE(data);
    const std::string tall = TallOf(DrawEps({kBarCodePostNet, data}).fills, 9);
    EXPECT_EQ(tall, PostNetBars(digits));
    const std::vector<std::string> rows = ZintRows(40, digits);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(tall, ZintTall(rows));
  }
}

TEST(PostNet, BoxAndBarHeights) {
  struct Case {
    std::string data;
    int trim, width, full, half;
  } cases[] = {
      {"12345", 0, 94, 9, 4},      {"12345", 50, 94, 9, 4},       {"12345", -6, 94, 15, 10},
      {"123456789", 0, 154, 9, 4}, {"12345678901", 0, 184, 9, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data + " trim " + std::to_string(c.trim));
    const EpsPicture picture = DrawInBox({kBarCodePostNet, c.data, "", c.trim}, c.width, c.full);
    ASSERT_EQ(static_cast<int>(picture.fills.size()), (c.width + 2) / 3);
    for (size_t k = 0; k < picture.fills.size(); ++k) {
      const EpsBox& bar = picture.fills[k];
      EXPECT_EQ(bar.x1, 3 * static_cast<int>(k));
      EXPECT_EQ(bar.x2 - bar.x1, 1);
      EXPECT_EQ(bar.y1, 0);
      EXPECT_TRUE(bar.y2 == c.full || bar.y2 == c.half) << bar.y2;
    }
    EXPECT_TRUE(picture.texts.empty());
  }
}

namespace {

// Ascender and descender flags of each bar: ours from the rectangles (the box is 21 units high at
// trim 0), zint's from its three rows (ascenders, trackers, descenders).
std::string FlagsOf(const std::vector<EpsBox>& bars) {
  std::string flags;
  for (const EpsBox& bar : bars) {
    flags += bar.y2 == 21 ? 'A' : '-';
    flags += bar.y1 == 0 ? 'D' : '-';
  }
  return flags;
}

std::string ZintFlags(const std::vector<std::string>& rows) {
  std::string flags;
  for (size_t x = 0; x < rows[1].size(); x += 2) {
    flags += x < rows[0].size() && rows[0][x] == '1' ? 'A' : '-';
    flags += x < rows[2].size() && rows[2][x] == '1' ? 'D' : '-';
  }
  return flags;
}

} // namespace

TEST(RM4SCC, BarsEqualZint) {
  const std::pair<std::string, std::string> cases[] = {
      {"SN34RD1A", "SN34RD1A"},
      {"BX11LT1A", "BX11LT1A"},
      {"sn34 rd1a", "SN34RD1A"},
      {"0123456789AB", "0123456789AB"},
      {"CDEFGHIJKLMNOPQRSTUVWXYZ", "CDEFGHIJKLMNOPQRSTUVWXYZ"}, // longer than 12 is drawn too
  };
  for (const auto& [data, zintData] : cases) {
    SCOPED_TRACE(data);
    const std::vector<std::string> rows = ZintRows(70, zintData);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(FlagsOf(DrawEps({kBarCodeRM4SCC, data}).fills), ZintFlags(rows));
  }
}

TEST(RM4SCC, BoxAndBarExtents) {
  struct Case {
    std::string data;
    int trim;
    int characters; // data characters after cleaning
  } cases[] = {
      {"SN34RD1A", 0, 8}, {"SN34RD1A", 30, 8}, {"SN34RD1A", -5, 8}, {"a b c d e f g", 0, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data + " trim " + std::to_string(c.trim));
    const int lift = c.trim < 0 ? -c.trim : 0;
    const int width = 16 * c.characters + 24; // 4 bars a character, start, stop and check
    const EpsPicture picture = DrawInBox({kBarCodeRM4SCC, c.data, "", c.trim}, width, 21 + lift);
    ASSERT_EQ(static_cast<int>(picture.fills.size()), 4 * c.characters + 6);
    for (size_t k = 0; k < picture.fills.size(); ++k) {
      const EpsBox& bar = picture.fills[k];
      EXPECT_EQ(bar.x1, 4 * static_cast<int>(k));
      EXPECT_EQ(bar.x2 - bar.x1, 2);
      EXPECT_TRUE(bar.y1 == lift || bar.y1 == 8 + lift) << bar.y1;
      EXPECT_TRUE(bar.y2 == 12 + lift || bar.y2 == 21 + lift) << bar.y2;
    }
    // Start: ascender only; stop: full bar.
    EXPECT_EQ(picture.fills.front(), (EpsBox{0, 8 + lift, 2, 21 + lift}));
    EXPECT_EQ(picture.fills.back(), (EpsBox{width - 4, lift, width - 2, 21 + lift}));
    EXPECT_TRUE(picture.texts.empty());
  }
}
