// Code 128, EAN-128 (GS1-128), EAN-14 and EAN-18: read back by zxing-cpp and zbar from the
// command line's files, compared with zint, and measured through the EPS picture.
#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "support/TestSupport.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Every pair 00-99 from `first` to `last` written out: the values of code set C.
std::string PairRange(int first, int last) {
  std::string digits;
  for (int v = first; v <= last; ++v)
    digits += std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
  return digits;
}

std::string ZeroPadded(const std::string& digits, size_t length) {
  if (digits.size() >= length) return digits.substr(0, length);
  return std::string(length - digits.size(), '0') + digits;
}

struct ScanCase {
  const char* type;
  std::string data;
  std::string expected;   // what a scanner reports: the data, with its identifier for GS1
  const char* identifier; // ISO/IEC 15417: ]C0 plain, ]C1 with FNC1 in the first position
};

std::vector<ScanCase> ScanCases() {
  std::vector<ScanCase> cases;
  // Code set B values 0-95 are the characters 32-127.
  for (int first = 32; first < 128; first += 24)
    cases.push_back(
        {"Code-128", CharRange(first, first + 23), CharRange(first, first + 23), "]C0"});
  // Code set C values 0-99, two digits each.
  for (int first = 0; first < 100; first += 50) {
    const std::string digits = PairRange(first, first + 49);
    cases.push_back({"Code-128", digits, digits, "]C0"});
  }
  // Odd numbers of digits keep exactly their digits.
  for (const char* odd : {"1", "123", "12345", "1234567890123", "987654321"})
    cases.push_back({"Code-128", odd, odd, "]C0"});
  cases.push_back({"Code-128", "123A", "123A", "]C0"});
  cases.push_back({"Code-128", "Hello, World!", "Hello, World!", "]C0"});
  // GS1-128: the element strings as given, FNC1 only after the start.
  for (const char* gs1 : {"0112345678901231", "011234567890123110123", "10ABC123", "3"})
    cases.push_back({"EAN-128", gs1, gs1, "]C1"});
  cases.push_back({"EAN-14", "1234", "01" + ZeroPadded("1234", 14), "]C1"});
  cases.push_back({"EAN-14", "98765432109876", "0198765432109876", "]C1"});
  cases.push_back({"EAN-18", "123456789012345678", "00123456789012345678", "]C1"});
  cases.push_back({"EAN-18", "12345678901234567890", "00123456789012345678", "]C1"});
  return cases;
}

} // namespace

TEST(Code128Scan, ZXingAndZBarReadEveryFile) {
  for (const ScanCase& c : ScanCases()) {
    for (const ScanFile& file : ScanFiles(c.type, c.data)) {
      SCOPED_TRACE(std::string(c.type) + " " + Printable(c.data) + " " + file.format);
      const std::vector<ZXingSymbol> zxing = ZXingReadSymbols(file.png, "Code128");
      ASSERT_EQ(zxing.size(), 1u);
      EXPECT_EQ(Printable(zxing[0].text), Printable(c.expected));
      EXPECT_EQ(zxing[0].identifier, c.identifier);
      EXPECT_EQ(Printable(ZBarReadRaw(file.png)), Printable(c.expected + "\n"));
    }
  }
}

namespace {

// Symbol characters between the start and the check character, counted from the published
// encodation: set B one per character, set C one per digit pair, an odd last digit after the
// switch to set B (two characters), FNC1 one.
struct WidthCase {
  int symbology;
  std::string data;
  int characters;
};
const WidthCase kWidthCases[] = {
    {kBarCodeCode128, "ABC", 3},
    {kBarCodeCode128, "12345", 2 + 2},
    {kBarCodeCode128, "1", 1},
    {kBarCodeCode128, "12", 1},
    {kBarCodeCode128, "123A", 4},
    {kBarCodeCode128, "\t\x01", 0},
    {kBarCodeCode128,
     "A\xC3\xA9"
     "B",
     2},
    {kBarCodeEAN128, "ABC", 1 + 3},
    {kBarCodeEAN128, "0112345678901231", 1 + 8},
    {kBarCodeEAN128, "123", 1 + 1 + 2},
    {kBarCodeEAN14, "1234", 1 + 8},
    {kBarCodeEAN18, "1", 1 + 10},
};

} // namespace

TEST(Code128Geometry, BoxIsQuietZonesAndElevenModulesACharacter) {
  for (const WidthCase& c : kWidthCases) {
    SCOPED_TRACE(Printable(c.data));
    const EpsPicture eps = DrawEps(c.symbology, c.data);
    const BarCodeRect size = SizeOf(c.symbology, c.data);
    // Quiet zone 10, start 11, characters, check 11, stop 13, quiet zone 10.
    const int width = 10 + 11 + 11 * c.characters + 11 + 13 + 10;
    EXPECT_EQ(size.width, width);
    EXPECT_EQ(eps.width, width);
    EXPECT_EQ(eps.height, size.height);
    const std::string modules = ModulesOf(eps.fills);
    EXPECT_EQ(eps.fills.front().x1, 10);
    EXPECT_EQ(static_cast<int>(modules.size()), width - 20);
  }
}

TEST(Code128Geometry, BarsAndTextFollowTheCodeSet) {
  struct Case {
    int symbology;
    const char* data;
    const char* display;
    int trim;
    int height;
    int textSize, textX, textStep, textY;
    std::string text;
  } cases[] = {
      {kBarCodeCode128, "AB", "", 0, 60, 10, 21, 11, 1, "AB"},
      {kBarCodeCode128, "12345", "", 0, 60, 7, 10, 7, 2, "12345"},
      {kBarCodeCode128, "12345", "", 100, 20, 7, 10, 7, 2, "12345"},
      {kBarCodeCode128, "A\tB", "", 40, 20, 10, 21, 11, 1, "A\tB"},
      {kBarCodeCode128, "AB", "xy", -10, 70, 10, 21, 11, 1, "xy"},
      {kBarCodeEAN128, "ABC", "", 39, 21, 10, 21, 11, 1, "ABC"},
      {kBarCodeEAN14, "1234", "", 0, 100, 7, 10, 7, 2, "(01) 00000000001234"},
      {kBarCodeEAN14, "1234", "", 70, 30, 7, 10, 7, 2, "(01) 00000000001234"},
      {kBarCodeEAN18, "1", "ABC", 0, 100, 7, 10, 7, 2, "(00) ABC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Printable(c.data) + " trim " + std::to_string(c.trim));
    const EpsPicture eps = DrawEps(c.symbology, c.data, c.display, c.trim);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(SizeOf(c.symbology, c.data, c.trim).height, c.height);
    for (const EpsBox& bar : eps.fills) {
      EXPECT_EQ(bar.y1, 12);
      EXPECT_EQ(bar.y2, c.height);
    }
    ASSERT_EQ(eps.texts.size(), c.text.size());
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].text, c.text.substr(k, 1));
      EXPECT_EQ(eps.texts[k].x, c.textX + c.textStep * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, c.textY);
      EXPECT_EQ(eps.texts[k].size, c.textSize);
    }
  }
}

TEST(Code128Oracle, BarsEqualZint) {
  struct Case {
    int symbology;
    std::string data;
    int zintType; // 60 Code 128 subset B, 20 Code 128, 16 GS1-128
    std::string zintData;
    std::vector<std::string> zintOptions;
  } cases[] = {
      {kBarCodeCode128, CharRange(32, 79), 60, CharRange(32, 79), {}},
      {kBarCodeCode128, CharRange(80, 126), 60, CharRange(80, 126), {}},
      {kBarCodeCode128, PairRange(0, 49), 20, PairRange(0, 49), {}},
      {kBarCodeCode128, PairRange(50, 99), 20, PairRange(50, 99), {}},
      {kBarCodeEAN128, "0112345678901231", 16, "[01]12345678901231", {}},
      {kBarCodeEAN14, "1234", 16, "[01]00000000001234", {"--gs1nocheck"}},
      {kBarCodeEAN18, "123456789012345678", 16, "[00]123456789012345678", {"--gs1nocheck"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zintData);
    const std::vector<std::string> rows = ZintRows(c.zintType, c.zintData, c.zintOptions);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ModulesOf(DrawEps(c.symbology, c.data).fills), rows[0]);
  }
}

TEST(Code128Drawable, NumbersWithoutPatternsAreRefused) {
  EXPECT_EQ(SizeOf(kBarCodeEAN14, "12a4").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeEAN18, "x").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeEAN14, "1234567890123\xC3\xA9").width, 0);
  EXPECT_EQ(SizeOf(kBarCodeEAN14, "12345678901234x").width, 154) << "only 14 digits are drawn";
  EXPECT_EQ(SizeOf(kBarCodeCode128, "").width, 0);
  const RunResult run = RunCli(
      {"-type", "EAN-18", "-data", "12a", "-action", "pngf", "-output", TestTempDir() + "/x.png"});
  EXPECT_EQ(run.status, 1) << run.err;
}

namespace {

// Pixels of the bottom rows (the human-readable line) that are not transparent.
std::string TextBand(const std::string& display) {
  BarCodeDataRec rec = MakeRecord(kBarCodeCode128, "AB");
  *rec.display = display;
  OutputBitmap bitmap;
  EXPECT_TRUE(OutputRenderBitmap(rec, 0, 0, bitmap));
  BarCodeDataRecRelease(&rec);
  std::string band;
  for (int y = bitmap.height - 11; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x)
      band += bitmap.pixels[static_cast<size_t>(y) * bitmap.stride + 4 * x + 3] != 0 ? '#' : '.';
  return band;
}

} // namespace

TEST(Code128Text, CharactersOutsideMacRomanAreDrawnThemselves) {
  const std::string blank = TextBand(" ");
  const std::string lStroke = TextBand("\xC5\x82"); // U+0142, not in Mac OS Roman
  EXPECT_NE(lStroke, blank);
  EXPECT_NE(lStroke, TextBand("?"));
  EXPECT_NE(lStroke, TextBand("l"));
}
