// EAN-99 and EAN-Coupon: EAN-13 symbols with the GS1 coupon prefixes 99 and 98 in front of ten
// digits of data; read back by zxing-cpp and zbar, geometry, refusals.
#include "model/BarCodeDataRec.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Prefixed {
  const char* type;
  int symbology;
  const char* prefix;
};
constexpr Prefixed kKinds[] = {{"EAN-99", kBarCodeEAN99, "99"},
                               {"EAN-Coupon", kBarCodeEANCoupon, "98"}};

} // namespace

TEST(EAN99, ReadsBackWithPrefix) {
  // A typed prefix is not recognised: ten digits are always taken from the front.
  for (const Prefixed& kind : kKinds)
    for (const char* data : {"123", "1234567890", "9912345678901"}) {
      SCOPED_TRACE(std::string(kind.type) + " " + data);
      const std::string ean = WithGtinCheck(kind.prefix + Fitted(data, 10));
      ExpectReadBack({"-type", kind.type, "-data", data, "-addon", "12"}, {{"EAN13", ean}}, {ean});
    }
}

TEST(EAN99, GeometryIgnoresAddon) {
  for (const Prefixed& kind : kKinds)
    for (int trim : {0, 50, 70}) {
      SCOPED_TRACE(std::string(kind.type) + " trim " + std::to_string(trim));
      const EANRequest request{kind.symbology, "123", "12345", trim};
      const int top = 80 - std::min(trim, 50);
      const EANEpsPicture picture = DrawEPS(request);
      EXPECT_EQ(SizeOf(request), std::make_pair(113.0f, static_cast<float>(top)));
      EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
      ExpectStretches(picture, EAN13Stretches(top));
      const std::string d = WithGtinCheck(kind.prefix + Fitted("123", 10));
      std::vector<EANEpsText> texts = EAN13DigitTexts(d);
      texts.push_back({107, 1, 10, ">"});
      EXPECT_EQ(picture.texts, texts);
    }
}

TEST(EAN99, DataWithoutPatternIsNotDrawn) {
  for (const Prefixed& kind : kKinds) {
    EXPECT_EQ(SizeOf({kind.symbology, "12a", ""}).first, 0) << kind.type;
    EXPECT_EQ(SizeOf({kind.symbology, "123", "ab"}).first, 113) << kind.type;
  }
}
