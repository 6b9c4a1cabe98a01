// UPC-E (GS1 General Specifications, UPC-E symbol): the check digit belongs to the UPC-A number
// that the six digits stand for, for every last digit; read back by zxing-cpp and zbar, geometry.
#include "model/BarCodeDataRec.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Zero suppression undone: the manufacturer and item numbers that six UPC-E digits stand for,
// by the last digit, after the number system 0.
std::string UPCAOf(const std::string& e) {
  const char last = e[5];
  std::string manufacturer, item;
  if (last <= '2') {
    manufacturer = e.substr(0, 2) + last + "00";
    item = "00" + e.substr(2, 3);
  } else if (last == '3') {
    manufacturer = e.substr(0, 3) + "00";
    item = "000" + e.substr(3, 2);
  } else if (last == '4') {
    manufacturer = e.substr(0, 4) + "0";
    item = "0000" + e.substr(4, 1);
  } else {
    manufacturer = e.substr(0, 5);
    item = "0000" + e.substr(5, 1);
  }
  return WithGtinCheck("0" + manufacturer + item);
}

} // namespace

TEST(UPCE, ReadsBackForEveryLastDigit) {
  for (const char* data : {"123450", "654321", "246802", "135793", "908764", "123456", "111116",
                           "999997", "424248", "700009", "1234567", "7"}) {
    SCOPED_TRACE(data);
    const std::string six = Fitted(data, 6), upca = UPCAOf(six);
    // zxing-cpp gives number system, six digits and check digit; zbar the EAN-13 form of the
    // UPC-A number.
    ExpectReadBack({"-type", "UPC-E", "-data", data}, {{"UPCE", "0" + six + upca.back()}},
                   {"0" + upca});
  }
}

TEST(UPCE, GeometryAndCheckDigitText) {
  // 012340 stands for 00100000234, check digit 6; the six digits as they stand would give 2.
  const struct {
    const char* data;
    const char* check;
  } cases[] = {{"123456", "5"}, {"012340", "6"}};
  for (const auto& [data, check] : cases)
    for (int trim : {0, 50, 60}) {
      SCOPED_TRACE(std::string(data) + " trim " + std::to_string(trim));
      const EANRequest request{kBarCodeUPCE, data, "12345", trim};
      const int top = 80 - std::min(trim, 50);
      const EANEpsPicture picture = DrawEPS(request);
      EXPECT_EQ(SizeOf(request), std::make_pair(67.0f, static_cast<float>(top)));
      EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
      ExpectStretches(picture, {{9, 12, 6, top}, {12, 54, 10, top}, {54, 60, 6, top}});
      std::vector<EANEpsText> texts{{0, 1, 7, "0"}, {63, 1, 7, check}};
      for (int k = 0; k < 6; ++k)
        texts.push_back({13 + 7 * k, 1, 10, std::string(1, data[k])});
      EXPECT_EQ(picture.texts, texts);
    }
}

TEST(UPCE, DataWithoutPatternIsNotDrawn) {
  EXPECT_EQ(SizeOf({kBarCodeUPCE, "12345x", ""}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCE, "1234567 ", ""}).first, 0);
}
