// EAN-8 (GS1 General Specifications, EAN-8 symbol): read back by zxing-cpp and zbar, geometry of
// the EPS picture, and refusal of data without a pattern.
#include "model/BarCodeDataRec.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(EAN8, ReadsBackWithRecomputedCheckDigit) {
  // Seven digits are kept (zeros in front, or cut), a typed check digit is replaced.
  for (const char* data : {"1234567", "12345678", "42", "55123450"}) {
    SCOPED_TRACE(data);
    const std::string expected = WithGtinCheck(Fitted(data, 7));
    ExpectReadBack({"-type", "EAN-8", "-data", data}, {{"EAN8", expected}}, {expected});
  }
}

TEST(EAN8, GeometryFollowsTrim) {
  for (int trim : {0, 20, 35, 60, -10}) {
    SCOPED_TRACE(trim);
    const EANRequest request{kBarCodeEAN8, "1234567", "12", trim};
    const int top = 65 - std::min(trim, 35);
    const EANEpsPicture picture = DrawEPS(request);
    EXPECT_EQ(SizeOf(request), std::make_pair(81.0f, static_cast<float>(top)));
    EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
    // Guards reach 5 units below the data bars; the add-on is ignored.
    ExpectStretches(picture, {{7, 10, 5, top},
                              {10, 38, 10, top},
                              {38, 43, 5, top},
                              {43, 71, 10, top},
                              {71, 74, 5, top}});
    const std::string d = WithGtinCheck("1234567");
    std::vector<EANEpsText> texts{{0, 1, 10, "<"}, {75, 1, 10, ">"}};
    for (int k = 0; k < 8; ++k)
      texts.push_back({(k < 4 ? 11 : 15) + 7 * k, 1, 10, d.substr(k, 1)});
    EXPECT_EQ(picture.texts, texts);
  }
}

TEST(EAN8, DataWithoutPatternIsNotDrawn) {
  for (const char* data : {"12a4567", "1234567x", "１２３"})
    EXPECT_EQ(SizeOf({kBarCodeEAN8, data, ""}).first, 0) << data;
  EXPECT_GT(SizeOf({kBarCodeEAN8, "1234567", "ab"}).first, 0) << "the add-on is not used";
}
