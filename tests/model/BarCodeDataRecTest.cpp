#include "model/BarCodeDataRec.h"

#include <gtest/gtest.h>

TEST(BarCodeDataRec, FreshRecordHasScale100AndEmptyStrings) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  EXPECT_EQ(rec.scale, 100);
  EXPECT_EQ(rec.symbology + rec.trim + rec.position + rec.textVisible + rec.antialiasOff, 0);
  EXPECT_TRUE(rec.data->empty() && rec.addon->empty() && rec.epsText->empty() &&
              rec.display->empty());
  BarCodeDataRec copy = rec;
  *copy.epsText += "x";
  EXPECT_EQ(*rec.epsText, "x") << "copies share the record's strings";
  BarCodeDataRecRelease(&rec);
  EXPECT_EQ(rec.data, nullptr);
}

TEST(BarCodeDataRec, SymTypeMatchesNamesExactly) {
  struct Case {
    const char* name;
    int32_t code;
  } cases[] = {{"EAN-13", 1},  {"Interleaved-25", 25}, {"PDF417", 27}, {"MSI ", 0},
               {"ean-13", 0},  {"EAN13", 0},           {" EAN-13", 0}, {"", 0},
               {"QRCode", 26}, {"Code-39", 12}};
  for (const Case& c : cases)
    EXPECT_EQ(BarCodeSymType(c.name), c.code) << c.name;
}

TEST(BarCodeDataRec, SymNameRoundTripsEveryCode) {
  for (int16_t code = 1; code <= kBarCodeCount; ++code) {
    std::string name;
    BarCodeSymName(name, code);
    EXPECT_EQ(BarCodeSymType(name), code) << name;
  }
  for (int16_t code : {0, 28, -1}) {
    std::string out = "keep";
    BarCodeSymName(out, code);
    EXPECT_EQ(out, "keep");
  }
}

TEST(BarCodeDataRec, Predicates) {
  struct Case {
    int16_t code, visible, spaces, addon;
  } cases[] = {{19, 0, 1, 0}, {20, 0, 1, 0}, {0, 1, 0, 0},  {27, 1, 1, 0},
               {18, 1, 1, 0}, {17, 1, 0, 1}, {16, 1, 0, 1}, {1, 1, 0, 1},
               {8, 1, 0, 1},  {14, 1, 0, 1}, {2, 1, 1, 0},  {99, 1, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(BarCodeTextVisible(c.code), c.visible) << c.code;
    EXPECT_EQ(BarCodeTextSpaces(c.code), c.spaces) << c.code;
    EXPECT_EQ(BarCodeTextAddon(c.code), c.addon) << c.code;
  }
}
