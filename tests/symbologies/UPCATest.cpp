// UPC-A (GS1 General Specifications, UPC-A symbol) with and without its 2- and 5-digit add-ons:
// read back by zxing-cpp and zbar, geometry of the EPS picture, refusals.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The add-on as drawn: none, or zeros in front up to 2 or 5 digits; 6 or more are left out.
std::string AddonDrawn(const std::string& addon) {
  if (addon.empty() || addon.size() > 5) return {};
  return Fitted(addon, addon.size() <= 2 ? 2 : 5);
}

} // namespace

TEST(UPCA, ReadsBackWithAddons) {
  struct Case {
    const char* data;
    const char* addon;
  } cases[] = {{"03600029145", ""},  {"036000291457", ""},     {"03600029145", "12"},
               {"72527273070", "5"}, {"01234567890", "12345"}, {"123", "123"},
               {"9", "1234567"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.data) + " + " + c.addon);
    const std::string upc = WithGtinCheck(Fitted(c.data, 11)), addon = AddonDrawn(c.addon);
    // zxing-cpp gives the 12 digits and the add-on after a space; zbar gives UPC-A as its EAN-13
    // form (a leading 0) and the add-on as a symbol of its own.
    std::vector<std::string> zbar{"0" + upc};
    if (!addon.empty()) zbar.push_back(addon);
    ExpectReadBack({"-type", "UPC-A", "-data", c.data, "-addon", c.addon},
                   {{"UPCA", addon.empty() ? upc : upc + " " + addon}}, zbar);
  }
}

TEST(UPCA, GeometryWithAddonsAndTrim) {
  for (const char* addonEntered : {"", "12", "12345", "1234567"})
    for (int trim : {0, 50, 75}) {
      SCOPED_TRACE(std::string(addonEntered) + " trim " + std::to_string(trim));
      const EANRequest request{kBarCodeUPCA, "03600029145", addonEntered, trim};
      const std::string d = WithGtinCheck("03600029145"), addon = AddonDrawn(addonEntered);
      const int top = 80 - std::min(trim, 50);
      const int addonModules = addon.empty() ? 0 : addon.size() == 2 ? 20 : 47;
      const int width = 113 + (addon.empty() ? 0 : addon.size() == 2 ? 25 : 52);
      const EANEpsPicture picture = DrawEPS(request);
      EXPECT_EQ(SizeOf(request),
                std::make_pair(static_cast<float>(width), static_cast<float>(top)));
      EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
      // The bars of the first and the check digit are as long as the guards.
      std::vector<BarStretch> stretches = UPCAStretches(top);
      if (!addon.empty()) stretches.push_back({114, 114 + addonModules, 6, top - 10});
      ExpectStretches(picture, stretches);

      std::vector<EANEpsText> texts = UPCADigitTexts(d);
      for (size_t i = 0; i < addon.size(); ++i)
        texts.push_back(
            {117 + 8 * static_cast<int>(i), 71 - std::min(trim, 50), 10, addon.substr(i, 1)});
      if (!addon.empty()) texts.push_back({113 + addonModules, 71 - std::min(trim, 50), 10, ">"});
      EXPECT_EQ(picture.texts, texts);
    }
}

TEST(UPCA, CharactersWithoutPatternAreNotDrawn) {
  EXPECT_EQ(SizeOf({kBarCodeUPCA, "0360002914A", ""}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCA, "03600029145", "1a"}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCA, "03600029145", "12b45"}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeUPCA, "03600029145", "abcdefg"}).first, 113) << "add-on left out";
  const RunResult run = RunCli({"-type", "UPC-A", "-data", "0360002914A", "-action", "pngf",
                                "-output", TestTempDir() + "/x.png"});
  EXPECT_EQ(run.status, 1);
}
