// ISBN, ISMN and ISSN drawn as their EAN-13 forms 978..., 979... and 977... (ISO 2108, ISO 10957,
// ISO 3297 and the GS1 prefixes): read back by zxing-cpp and zbar, the title line, geometry.
#include "model/BarCodeDataRec.h"
#include "support/TestSupport.h"
#include "symbologies/EANTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    const std::string ean = WithGtinCheck(c.twelve), addon = c.addon;
    std::vector<std::string> zbar{ean};
    if (!addon.empty()) zbar.push_back(addon);
    ExpectReadBack({"-type", c.type, "-data", c.data, "-addon", c.addon},
                   {{"EAN13", addon.empty() ? ean : ean + " " + addon}}, zbar);
  }
}

TEST(ISBN, GeometryAndTitle) {
  struct Case {
    int symbology;
    const char* data;
    const char* addon;
    const char* display;
    int trim;
    int top; // of the main bars
    const char* title;
    int titleSize;
  } cases[] = {
      {kBarCodeISBN, "0-306-40615-2", "", "", 0, 80, "ISBN 0-306-40615-2", 8},
      {kBarCodeISBN, "0-306-40615-2", "12", "", 0, 80, "ISBN 0-306-40615-2", 9},
      {kBarCodeISBN, "9780306406157", "", "ISBN 978-0-306-40615-7", 60, 30,
       "ISBN 978-0-306-40615-7", 8},
      {kBarCodeISBN, "123", "12345", "isbn 123", -5, 85, "ISBN isbn 123", 9},
      {kBarCodeISMN, "M-2306-7118-7", "", "", 10, 70, "ISMN M-2306-7118-7", 8},
      {kBarCodeISSN, "0317-8471", "", "", 40, 25, "ISSN 0317-8471", 9},
      {kBarCodeISSN, "0317-8471", "5", "", 0, 55, "ISSN 0317-8471", 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.data) + " + " + c.addon + " trim " + std::to_string(c.trim));
    const EANRequest request{c.symbology, c.data, c.addon, c.trim, c.display};
    const std::string addon = Fitted(c.addon, std::string(c.addon).size() <= 2 ? 2 : 5);
    const int addonModules = addon.size() == 2 ? 20 : 47;
    const int width = 113 + (*c.addon == 0 ? 0 : addon.size() == 2 ? 25 : 52);
    const EANEpsPicture picture = DrawEPS(request);
    EXPECT_EQ(SizeOf(request), std::make_pair(static_cast<float>(width), c.top + 15.0f));
    EXPECT_EQ(std::make_pair(picture.width, picture.height), SizeOf(request));
    std::vector<BarStretch> stretches = EAN13Stretches(c.top);
    if (*c.addon != 0) stretches.push_back({114, 114 + addonModules, 6, c.top - 10});
    ExpectStretches(picture, stretches);
    ASSERT_FALSE(picture.texts.empty());
    EXPECT_EQ(picture.texts.back(), (EANEpsText{0, c.top + 4, c.titleSize, c.title}));
    EXPECT_EQ(picture.texts.size(), 13 + (*c.addon == 0 ? 1 : addon.size() + 1) + 1);
    if (*c.addon != 0) {
      EXPECT_EQ(picture.texts[13].y, c.top - 9) << "add-on digits";
    }
  }
}

TEST(ISBN, NoTextKeepsTheFullBox) {
  const EANEpsPicture picture = DrawEPS({kBarCodeISSN, "0317-8471", "", 0, "", 0});
  EXPECT_TRUE(picture.texts.empty());
  EXPECT_EQ(picture.height, 70);
}

TEST(ISBN, TitleOutsideMacRomanIsDrawnAsItself) {
  const std::string pdf = TestTempDir() + "/title.pdf";
  ASSERT_EQ(RunCli({"-type", "ISBN", "-data", "0-306-40615-2", "-disp", "ISBN Жук 0-306", "-action",
                    "pdff", "-output", pdf})
                .status,
            0);
  const RunResult text = RunProgram({"pdftotext", pdf, "-"});
  EXPECT_NE(text.out.find("ISBN Жук 0-306"), std::string::npos) << text.out;
}

TEST(ISBN, LettersAreFilteredButAddonNeedsDigits) {
  EXPECT_EQ(SizeOf({kBarCodeISBN, "ISBN abc", ""}).first, 113);
  EXPECT_EQ(SizeOf({kBarCodeISMN, "M", "12"}).first, 138);
  EXPECT_EQ(SizeOf({kBarCodeISSN, "0317-8471", "1x"}).first, 0);
  EXPECT_EQ(SizeOf({kBarCodeISBN, "0-306-40615-2", "１２"}).first, 0);
}
