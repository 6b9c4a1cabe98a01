#include "model/BarCodeStrings.h"
#include "model/BarCodeDataRec.h"

#include <gtest/gtest.h>

TEST(BarCodeStrings, CleanDataPerSymbology) {
  struct Case {
    int symbology;
    const char* data;
    const char* addon;
    const char* cleanData;
    const char* cleanAddon;
  } cases[] = {
      {1, "590 123", "12", "590", "12"},
      {2, "12-34-56-78", "99", "123456", ""},
      {17, "1-23-4", "", "1234", ""},
      {17, "0-306-40615-X", "123456", "030640615X", "12345"},
      {15, "A123-4B", "", "1234", ""},
      {20, "SN34 RD1A", "", "SN34RD1A", ""},
      {26, "a\\nb", "1", "a\nb", ""},
      {27, "x\\ty\\\\n", "", "x\ty\\\n", ""},
      {21, "12a34 5", "", "12345", ""},
      {10, "  ab cd  ", "7", "ab cd", ""},
      {14, "12345678901 x", "123 45", "12345678901", "123"},
      {8, " 036000291452", "1", "03600029145", "1"}, // the limit counts the leading space
      {0, " keep ", " me ", " keep ", " me "},
      {12, "\u00E9\u00E8 ", "", "\u00E9\u00E8", ""},
  };
  for (const Case& c : cases) {
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    rec.symbology = c.symbology;
    *rec.data = c.data;
    *rec.addon = c.addon;
    BarCodeCleanData(&rec);
    EXPECT_EQ(*rec.data, c.cleanData) << c.symbology << " " << c.data;
    EXPECT_EQ(*rec.addon, c.cleanAddon) << c.symbology << " " << c.addon;
    BarCodeDataRecRelease(&rec);
  }
}

TEST(BarCodeStrings, CleanDataCutsLongDataByCharacters) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = kBarCodeQRCode;
  for (int i = 0; i < 8000; ++i)
    *rec.data += "\u00E9";
  BarCodeCleanData(&rec);
  EXPECT_EQ(Utf8Length(*rec.data), 7089u);
  EXPECT_TRUE(Utf8Valid(*rec.data));
  BarCodeDataRecRelease(&rec);
}

TEST(BarCodeStrings, Utilities) {
  std::string s = "42";
  PadCFStrText(s, 5, "0");
  EXPECT_EQ(s, "00042");
  s = "1234567";
  PadCFStrText(s, 5, "0");
  EXPECT_EQ(s, "12345");
  s = "7";
  PadCFStrText(s, 4, "ab");
  EXPECT_EQ(s, "aba7");
  s = "\u00E9\u00E9\u00E9";
  TruncCFStrText(s, 2);
  EXPECT_EQ(s, "\u00E9\u00E9");
  s = " 12 34";
  MakeCFStringNorm(s, 10, 0);
  EXPECT_EQ(s, " 12");
  s = "ab cd";
  MakeCFStringNorm(s, 3, 1);
  EXPECT_EQ(s, "ab ");
  s = "\\r\\n\\t\\f\\v\\\\x\\q";
  FixCFStringMetaChars(s);
  EXPECT_EQ(s, "\r\n\t\f\v\\\\x\\q");
  s = "  a-b-c  ";
  MakeCFStringTrim(s, 1, U'-');
  EXPECT_EQ(s, "abc");
}

TEST(BarCodeStrings, Utf8) {
  EXPECT_TRUE(Utf8Valid("caf\u00E9 \u65E5\u672C \U0001F600"));
  EXPECT_TRUE(Utf8Valid("\uFFFD"));
  for (const char* bad :
       {"\xC3", "\xE9t\xE9", "\xC0\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80", "a\xE2\x82"})
    EXPECT_FALSE(Utf8Valid(bad)) << bad;
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2u) << "each stray byte counts as one character";
  EXPECT_EQ(Utf8Encode(Utf8Decode("\u00E9\U0001F600")), "\u00E9\U0001F600");
  EXPECT_EQ(TrimWhiteSpace("\t\u00A0 x y \n"), "x y");
}
