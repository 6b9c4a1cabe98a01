// The EAN/UPC family (GS1 General Specifications): EAN-8, UPC-A, UPC-E, ISBN/ISMN/ISSN, EAN-99 and
// EAN-Coupon, UPC-Coupon. Each is read back by zxing-cpp and zbar from the command line's PNG, PDF
// and EPS files, and measured through its EPS picture. EAN-13 itself is read back in
// output/ScanBackTest.cpp and sized in render/BarCodeRenderTest.cpp.
#include "model/BarCodeDataRec.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Bars of one stretch of a symbol: every bar starting in [from, to) must end by `to`, start at
// `bottom` and end at `top`.
struct BarStretch {
  int from, to, bottom, top;
};

// Checks that every bar lies in one of the stretches, with its bottom and top, and that no
// stretch is empty.
void ExpectStretches(const EpsPicture& picture, const std::vector<BarStretch>& stretches) {
  ASSERT_FALSE(picture.fills.empty());
  for (const BarStretch& s : stretches) {
    std::vector<EpsBox> in;
    for (const EpsBox& bar : picture.fills)
      if (bar.x1 >= s.from && bar.x1 < s.to) in.push_back(bar);
    SCOPED_TRACE("stretch " + std::to_string(s.from) + "-" + std::to_string(s.to));
    ASSERT_FALSE(in.empty());
    EXPECT_LE(in.back().x2, s.to);
    for (const EpsBox& bar : in)
      EXPECT_TRUE(bar.y1 == s.bottom && bar.y2 == s.top) << "bar at " << bar.x1;
  }
  for (const EpsBox& bar : picture.fills)
    EXPECT_TRUE(
        std::any_of(stretches.begin(), stretches.end(),
                    [&](const BarStretch& s) { return bar.x1 >= s.from && bar.x2 <= s.to; }))
        << "stray bar at " << bar.x1;
}

// EAN-13 from x = 11: guards 4 units below the data bars. UPC-A from x = 9, the bars of its
// first and check digits as long as the guards.
std::vector<BarStretch> EAN13Stretches(int top) {
  return {{11, 14, 6, top},
          {14, 56, 10, top},
          {56, 61, 6, top},
          {61, 103, 10, top},
          {103, 106, 6, top}};
}
std::vector<BarStretch> UPCAStretches(int top) {
  return {{9, 12, 6, top},   {12, 19, 6, top},  {19, 54, 10, top}, {54, 59, 6, top},
          {59, 94, 10, top}, {94, 101, 6, top}, {101, 104, 6, top}};
}

// The digits under the bars: EAN-13's in 10 point; UPC-A's first and check digits in 7 point
// outside the bars.
std::vector<EpsText> EAN13DigitTexts(const std::string& d) {
  std::vector<EpsText> texts{{0, 1, 10, d.substr(0, 1)}};
  for (int k = 1; k < 13; ++k)
    texts.push_back({(k <= 6 ? 8 : 13) + 7 * k, 1, 10, d.substr(k, 1)});
  return texts;
}
std::vector<EpsText> UPCADigitTexts(const std::string& d) {
  std::vector<EpsText> texts{{0, 1, 7, d.substr(0, 1)}, {109, 1, 7, d.substr(11, 1)}};
  for (int k = 1; k <= 10; ++k)
    texts.push_back({(k <= 5 ? 13 : 18) + 7 * k, 1, 10, d.substr(k, 1)});
  return texts;
}

int AddonModules(const std::string& drawn) {
  return drawn.empty() ? 0 : drawn.size() == 2 ? 20 : 47;
}

} // namespace

TEST(EAN8, ReadsBackWithRecomputedCheckDigit) {
  // Seven digits are kept (zeros in front, or cut), a typed check digit is replaced.
  for (const char* data : {"1234567", "12345678", "42", "55123450"}) {
    SCOPED_TRACE(data);
    const std::string ean = WithGtinCheck(Fitted(data, 7));
    ExpectReadBack({"-type", "EAN-8", "-data", data}, {{{"EAN8", ean}}, {ean}, kZBarEAN});
  }
}

TEST(EAN8, GeometryFollowsTrimAndIgnoresTheAddon) {
  const std::string d = WithGtinCheck("1234567");
  for (int trim : {0, 20, 35, 60, -10}) {
    SCOPED_TRACE(trim);
    const int top = 65 - std::min(trim, 35);
    const EpsPicture picture = DrawInBox({kBarCodeEAN8, "1234567", "12", trim}, 81, top);
    // Guards reach 5 units below the data bars.
    ExpectStretches(picture, {{7, 10, 5, top},
                              {10, 38, 10, top},
                              {38, 43, 5, top},
                              {43, 71, 10, top},
                              {71, 74, 5, top}});
    std::vector<EpsText> texts{{0, 1, 10, "<"}, {75, 1, 10, ">"}};
    for (int k = 0; k < 8; ++k)
      texts.push_back({(k < 4 ? 11 : 15) + 7 * k, 1, 10, d.substr(k, 1)});
    EXPECT_EQ(picture.texts, texts);
  }
}

TEST(UPCA, ReadsBackWithAddons) {
  const std::pair<const char*, const char*> cases[] = {
      {"03600029145", ""},      {"036000291457", ""}, {"03600029145", "12"}, {"72527273070", "5"},
      {"01234567890", "12345"}, {"123", "123"},       {"9", "1234567"}};
  for (const auto& [data, addon] : cases) {
    SCOPED_TRACE(std::string(data) + " + " + addon);
    // zbar gives UPC-A as its EAN-13 form, a leading 0.
    const std::string upc = WithGtinCheck(Fitted(data, 11));
    ReadBack expected = EANReadBack("UPCA", upc, addon);
    expected.zbar[0] = "0" + upc;
    ExpectReadBack({"-type", "UPC-A", "-data", data, "-addon", addon}, expected);
  }
}

TEST(UPCA, GeometryWithAddonsAndTrim) {
  const std::string d = WithGtinCheck("03600029145");
  for (const char* addonEntered : {"", "12", "12345", "1234567"})
    for (int trim : {0, 50, 75}) {
      SCOPED_TRACE(std::string(addonEntered) + " trim " + std::to_string(trim));
      const std::string addon = EANAddonDrawn(addonEntered);
      const int top = 80 - std::min(trim, 50), modules = AddonModules(addon);
      const int width = 113 + (addon.empty() ? 0 : modules + 5);
      const EpsPicture picture =
          DrawInBox({kBarCodeUPCA, "03600029145", addonEntered, trim}, width, top);
      std::vector<BarStretch> stretches = UPCAStretches(top);
      if (!addon.empty()) stretches.push_back({114, 114 + modules, 6, top - 10});
      ExpectStretches(picture, stretches);
      std::vector<EpsText> texts = UPCADigitTexts(d);
      for (size_t i = 0; i < addon.size(); ++i)
        texts.push_back({117 + 8 * static_cast<int>(i), top - 9, 10, addon.substr(i, 1)});
      if (!addon.empty()) texts.push_back({113 + modules, top - 9, 10, ">"});
      EXPECT_EQ(picture.texts, texts);
    }
}

namespace {

// Zero suppression undone: the UPC-A number that six UPC-E digits stand for, by the last digit,
// after the number system 0.
std::string UPCAOf(const std::string& e) {
  const char last = e[5];
  if (last <= '2') return WithGtinCheck("0" + e.substr(0, 2) + last + "0000" + e.substr(2, 3));
  if (last == '3') return WithGtinCheck("0" + e.substr(0, 3) + "00000" + e.substr(3, 2));
  if (last == '4') return WithGtinCheck("0" + e.substr(0, 4) + "00000" + e.substr(4, 1));
  return WithGtinCheck("0" + e.substr(0, 5) + "0000" + e.substr(5, 1));
}

} // namespace

TEST(UPCE, CheckDigitOfTheUPCANumberReadsBackForEveryLastDigit) {
  for (const char* data : {"123450", "654321", "246802", "135793", "908764", "111115", "123456",
                           "999997", "424248", "700009", "1234567", "7"}) {
    SCOPED_TRACE(data);
    // zxing-cpp gives number system, six digits and check digit; zbar the EAN-13 form of the
    // UPC-A number.
    const std::string six = Fitted(data, 6), upca = UPCAOf(six);
    ExpectReadBack({"-type", "UPC-E", "-data", data},
                   {{{"UPCE", "0" + six + upca.back()}}, {"0" + upca}, kZBarEAN});
  }
}

TEST(UPCE, GeometryAndCheckDigitText) {
  // 012340 stands for 00100000234, check digit 6; the six digits as they stand would give 2.
  const std::pair<std::string, const char*> cases[] = {{"123456", "5"}, {"012340", "6"}};
  for (const auto& [data, check] : cases)
    for (int trim : {0, 50, 60}) {
      SCOPED_TRACE(data + " trim " + std::to_string(trim));
      const int top = 80 - std::min(trim, 50);
      const EpsPicture picture = DrawInBox({kBarCodeUPCE, data, "12345", trim}, 67, top);
      ExpectStretches(picture, {{9, 12, 6, top}, {12, 54, 10, top}, {54, 60, 6, top}});
      std::vector<EpsText> texts{{0, 1, 7, "0"}, {63, 1, 7, check}};
      for (int k = 0; k < 6; ++k)
        texts.push_back({13 + 7 * k, 1, 10, data.substr(k, 1)});
      EXPECT_EQ(picture.texts, texts);
    }
}

// ISBN, ISMN and ISSN are drawn as their EAN-13 forms 978..., 979... and 977... (ISO 2108, ISO
// 10957, ISO 3297).
TEST(ISBN, ReadsBackAsEAN13) {
  struct Case {
    const char* type;
    const char* data;
    const char* addon;
    const char* twelve; // the EAN form without its check digit
  } cases[] = {
      {"ISBN", "0-306-40615-2", "", "978030640615"},
      {"ISBN", "978-0-306-40615-7", "51995", "978030640615"},
      {"ISBN", "0-8044-2957-X", "", "978080442957"},
      {"ISBN", "0-8044-2957-", "", "978008044295"}, // nine digits: an ISBN-10 missing its 0
      {"ISBN", "12345678901X", "", "978234567890"}, // X would be the 12th digit: read without it
      {"ISBN", "97803064061571234", "", "978030640615"}, // long numbers are cut to 12
      {"ISMN", "M-2306-7118-7", "", "979023067118"},
      {"ISMN", "979-0-2306-7118-7", "12", "979023067118"},
      {"ISSN", "0317-8471", "", "977031784700"},
      {"ISSN", "0317-847X", "", "977031784700"},
      {"ISSN", "12345678X", "", "977123456700"},
      {"ISSN", "12345678901X", "", "977123456789"},
      {"ISSN", "97703178470019", "", "977031784700"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.data);
    ExpectReadBack({"-type", c.type, "-data", c.data, "-addon", c.addon},
                   EANReadBack("EAN13", WithGtinCheck(c.twelve), c.addon));
  }
}

TEST(ISBN, GeometryAndTitle) {
  struct Case {
    SymbolRequest request;
    int top; // of the main bars
    const char* title;
    int titleSize;
  } cases[] = {
      {{kBarCodeISBN, "0-306-40615-2"}, 80, "ISBN 0-306-40615-2", 8},
      {{kBarCodeISBN, "0-306-40615-2", "12"}, 80, "ISBN 0-306-40615-2", 9},
      {{kBarCodeISBN, "9780306406157", "", 60, "ISBN 978-0-306-40615-7"},
       30,
       "ISBN 978-0-306-40615-7",
       8},
      {{kBarCodeISBN, "123", "12345", -5, "isbn 123"}, 85, "ISBN isbn 123", 9},
      {{kBarCodeISMN, "M-2306-7118-7", "", 10}, 70, "ISMN M-2306-7118-7", 8},
      {{kBarCodeISSN, "0317-8471", "", 40}, 25, "ISSN 0317-8471", 9},
      {{kBarCodeISSN, "0317-8471", "5"}, 55, "ISSN 0317-8471", 9},
  };
  for (const Case& c : cases) {
    const std::string addon = EANAddonDrawn(c.request.addon);
    SCOPED_TRACE(c.request.data + " + " + addon + " trim " + std::to_string(c.request.trim));
    const int modules = AddonModules(addon), width = 113 + (addon.empty() ? 0 : modules + 5);
    const EpsPicture picture = DrawInBox(c.request, width, c.top + 15);
    std::vector<BarStretch> stretches = EAN13Stretches(c.top);
    if (!addon.empty()) stretches.push_back({114, 114 + modules, 6, c.top - 10});
    ExpectStretches(picture, stretches);
    // The digits, the add-on's digits and its ">" (or the ">" alone), then the title.
    ASSERT_EQ(picture.texts.size(), 13 + addon.size() + 1 + 1);
    EXPECT_EQ(picture.texts.back(), (EpsText{0, c.top + 4, c.titleSize, c.title}));
    if (!addon.empty()) {
      EXPECT_EQ(picture.texts[13].y, c.top - 9) << "add-on digits";
    }
  }
  // Without the text the box keeps its full height.
  EXPECT_TRUE(DrawInBox({kBarCodeISSN, "0317-8471", "", 0, "", 0}, 113, 70).texts.empty());
}

// EAN-99 and EAN-Coupon: EAN-13 symbols with the GS1 coupon prefixes 99 and 98 in front of ten
// digits of data.
namespace {

struct Prefixed {
  const char* type;
  int symbology;
  const char* prefix;
};
constexpr Prefixed kCoupons[] = {{"EAN-99", kBarCodeEAN99, "99"},
                                 {"EAN-Coupon", kBarCodeEANCoupon, "98"}};

} // namespace

TEST(EAN99, ReadsBackWithPrefix) {
  // A typed prefix is not recognised: ten digits are always taken from the front.
  for (const Prefixed& kind : kCoupons)
    for (const char* data : {"123", "1234567890", "9912345678901"}) {
      SCOPED_TRACE(std::string(kind.type) + " " + data);
      const std::string ean = WithGtinCheck(kind.prefix + Fitted(data, 10));
      ExpectReadBack({"-type", kind.type, "-data", data, "-addon", "12"},
                     {{{"EAN13", ean}}, {ean}, kZBarEAN});
    }
}

TEST(EAN99, GeometryIgnoresAddon) {
  for (const Prefixed& kind : kCoupons)
    for (int trim : {0, 50, 70}) {
      SCOPED_TRACE(std::string(kind.type) + " trim " + std::to_string(trim));
      const int top = 80 - std::min(trim, 50);
      const EpsPicture picture = DrawInBox({kind.symbology, "123", "12345", trim}, 113, top);
      ExpectStretches(picture, EAN13Stretches(top));
      std::vector<EpsText> texts = EAN13DigitTexts(WithGtinCheck(kind.prefix + Fitted("123", 10)));
      texts.push_back({107, 1, 10, ">"});
      EXPECT_EQ(picture.texts, texts);
    }
}

// UPC-Coupon: a UPC-A symbol and a Code 128 extension (ISO/IEC 15417) that starts in code set C
// with FNC1.
TEST(UPCCoupon, ReadsBackBothSymbols) {
  // Odd digit counts are encoded exactly: no 0 is put in front.
  const std::string upc = WithGtinCheck(Fitted("5123456789", 11));
  for (const char* addon : {"81001234", "12345", "7", "8100123456789", "0"}) {
    SCOPED_TRACE(addon);
    ExpectReadBack({"-type", "UPC-Coupon", "-data", "5123456789", "-addon", addon},
                   {{{"UPCA", upc}, {"Code128", addon}}, {"0" + upc, addon}, kZBarEAN});
  }
}

TEST(UPCCoupon, GeometryCountsTheCharactersDrawn) {
  const std::string d = WithGtinCheck("03600029145");
  for (const std::string& addon : std::vector<std::string>{"", "12", "12345", "81001234"})
    for (int trim : {0, 50, 90}) {
      SCOPED_TRACE(addon + " trim " + std::to_string(trim));
      // Code 128 data characters of the extension: one per digit pair, and for an odd digit the
      // switch to code set B and the digit.
      const int n = static_cast<int>(addon.size() / 2 + (addon.size() % 2) * 2);
      const int top = 80 - std::min(trim, 50);
      const EpsPicture picture =
          DrawInBox({kBarCodeUPCCoupon, "03600029145", addon, trim}, 189 + 11 * n, top);
      // Start C, FNC1, the data, the check character and the stop from x = 134.
      std::vector<BarStretch> stretches = UPCAStretches(top);
      stretches.push_back({134, 180 + 11 * n, 12, top});
      ExpectStretches(picture, stretches);
      EXPECT_EQ(picture.fills.back().x2, 180 + 11 * n);
      std::vector<EpsText> texts = UPCADigitTexts(d);
      for (size_t i = 0; i < addon.size(); ++i)
        texts.push_back({133 + 7 * static_cast<int>(i), 2, 7, addon.substr(i, 1)});
      EXPECT_EQ(picture.texts, texts);
    }
}
