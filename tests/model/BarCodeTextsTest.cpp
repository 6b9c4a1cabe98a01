#include "model/BarCodeTexts.h"
#include "model/BarCodeDataRec.h"

#include <gtest/gtest.h>

TEST(BarCodeTexts, CheckSumAndAddParity) {
  struct Case {
    const char* digits;
    int16_t check, parity;
  } cases[] = {
      {"123", 6, 0},          {"999", 7, 5},   {"0", 0, 0},
      {"111", 3, 5},          {"00000", 0, 0}, {"", 0, 0},
      {"400638133393", 1, 0}, // GS1 example 4006381333931
      {"03600029145", 2, 0},  // UPC-A 036000291452
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BarCodeCheckSum(c.digits), c.check) << c.digits;
    if (std::string(c.digits).size() <= 5) {
      EXPECT_EQ(BarCodeAddParity(c.digits), c.parity) << c.digits;
    }
  }
  // Characters other than digits never push the result out of 0-9.
  for (const char* odd : {"A", "zzzz", "\xC3\xA9", "-----"}) {
    EXPECT_GE(BarCodeCheckSum(odd), 0);
    EXPECT_LE(BarCodeCheckSum(odd), 9);
    EXPECT_GE(BarCodeAddParity(odd), 0);
    EXPECT_LE(BarCodeAddParity(odd), 9);
  }
}

TEST(BarCodeTexts, MacroAndTitleText) {
  struct Case {
    int symbology;
    const char* data;
    const char* addon;
    const char* macro;
    const char* title;
  } cases[] = {
      {1, "123", "12", "\u00ABEAN-13 123 12\u00BB", "EAN-13 123 12"},
      {1, "123", "", "\u00ABEAN-13 123\u00BB", "EAN-13 123"},
      // The blank after the name stays: the document reader needs it to find the data.
      {0, "", "", "\u00AB \u00BB", ""},
      {1, "", "12", "\u00ABEAN-13  12\u00BB", "EAN-13  12"},
      {12, "  AB", "", "\u00ABCode-39   AB\u00BB", "Code-39   AB"},
      // Blanks that end the data are data: a document holding them opens as it was saved.
      {12, "caf\u00E9 ", "", "\u00ABCode-39 caf\u00E9 \u00BB", "Code-39 caf\u00E9"},
      {26, "   ", "", "\u00ABQRCode    \u00BB", "QRCode"},
  };
  for (const Case& c : cases) {
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    rec.symbology = c.symbology;
    *rec.data = c.data;
    *rec.addon = c.addon;
    std::string macro = "stale", title = "stale";
    BarCodeMacroText(macro, rec);
    BarCodeTitleText(title, rec);
    EXPECT_EQ(macro, c.macro);
    EXPECT_EQ(title, c.title);
    BarCodeDataRecRelease(&rec);
  }
}
