// UPC-Coupon: a UPC-A symbol and a Code 128 extension (ISO/IEC 15417) that starts in code set C
// with FNC1; read back by zxing-cpp and zbar, geometry, refusals.
#include "model/BarCodeDataRec.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Code 128 data characters of the extension: one per digit pair, and for an odd digit the switch
// to code set B and the digit.
int ExtensionCharacters(const std::string& addon) {
  return static_cast<int>(addon.size() / 2 + (addon.size() % 2) * 2);
}

} // namespace

TEST(UPCCoupon, ReadsBackBothSymbols) {
  // Odd digit counts are encoded exactly: no 0 is put in front.
  for (const char* addon : {"81001234", "12345", "7", "8100123456789", "0"}) {
    SCOPED_TRACE(addon);
    const std::string upc = WithGtinCheck(Fitted("5123456789", 11));
    ExpectReadBack({"-type", "UPC-Coupon", "-data", "5123456789", "-addon", addon},
                   {{"UPCA", upc}, {"Code128", addon}}, {"0" + upc, addon});
  }
}

TEST(UPCCoupon, GeometryCountsTheCharactersDrawn) {
  for (const char* addon : {"", "12", "12345", "81001234"})
    for (int trim : {0, 50, 90}) {
      SCOPED_TRACE(std::string(addon) + " trim " + std::to_string(trim));
      const EANRequest request{kBarCodeUPCCoupon, "03600029145", addon, trim};
      const int top = 80 - std::min(trim, 50), n = ExtensionCharacters(addon);
      const EANEpsPicture picture = DrawEPS(request);
      EXPECT_EQ(SizeOf(request),
                std::make_pair(static_cast<float>(189 + 11 * n), static_cast<float>(top)));
      EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
      // Start C, FNC1, the data, the check character and the stop from x = 134.
      std::vector<BarStretch> stretches = UPCAStretches(top);
      stretches.push_back({134, 180 + 11 * n, 12, top});
      ExpectStretches(picture, stretches);
      EXPECT_EQ(picture.bars.back().x2, 180 + 11 * n);
      const std::string d = WithGtinCheck("03600029145");
      std::vector<EANEpsText> texts = UPCADigitTexts(d);
      for (size_t i = 0; addon[i] != 0; ++i)
        texts.push_back({133 + 7 * static_cast<int>(i), 2, 7, std::string(1, addon[i])});
      EXPECT_EQ(picture.texts, texts);
    }
}

TEST(UPCCoupon, CharactersWithoutPatternAreNotDrawn) {
  EXPECT_EQ(SizeOf({kBarCodeUPCCoupon, "abc", "12"}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCCoupon, "123", "12a45678"}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCCoupon, "123", "1234567"}).first, 189 + 11 * 5);
}
