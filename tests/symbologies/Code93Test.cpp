// Code 93 in its full-ASCII form: read back by zxing-cpp and zbar from the command line's files,
// compared with zint (which computes the check characters C and K itself), and measured through
// the EPS picture.
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "support/TestSupport.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

// zint's escaped form of any ASCII text.
std::string ZintEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
    out += escape;
  }
  return out;
}

// Every ASCII character, 16 to a symbol.
std::vector<std::string> AsciiChunks() {
  std::vector<std::string> chunks;
  for (int first = 0; first < 128; first += 16)
    chunks.push_back(CharRange(first, first + 15));
  return chunks;
}

} // namespace

TEST(Code93Scan, ZXingAndZBarReadEveryAsciiCharacter) {
  std::vector<std::string> cases = AsciiChunks();
  cases.push_back("TEST93");
  cases.push_back("Code 93");
  for (const std::string& data : cases) {
    for (const ScanFile& file : ScanFiles("Code-93", data)) {
      SCOPED_TRACE(Printable(data) + " " + file.format);
      const std::vector<ZXingSymbol> zxing = ZXingReadSymbols(file.png, "Code93");
      ASSERT_EQ(zxing.size(), 1u);
      EXPECT_EQ(Printable(zxing[0].text), Printable(data));
      EXPECT_EQ(Printable(ZBarReadRaw(file.png)), Printable(data + "\n"));
    }
  }
}

TEST(Code93Oracle, BarsEqualZint) {
  std::vector<std::string> cases = AsciiChunks();
  cases.push_back("TEST93");
  cases.push_back("a");
  cases.push_back("ZZZZZZZZZZZZZZZZZZZZZZZZ"); // C weights wrap after 20, K after 15
  for (const std::string& data : cases) {
    SCOPED_TRACE(Printable(data));
    const std::vector<std::string> rows = ZintRows(25, ZintEscaped(data), {"--esc"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ModulesOf(DrawEps(kBarCodeCode93, data).fills), rows[0]);
  }
}

TEST(Code93Geometry, BoxBarsAndText) {
  struct Case {
    std::string data;
    int trim;
    int width, height; // 9 modules a character: start, data, C, K; stop 10
  } cases[] = {
      {"TEST93", 0, 9 + 6 * 9 + 9 + 9 + 10, 48}, {"a", 0, 9 + 2 * 9 + 9 + 9 + 10, 48},
      {"A\xC3\xA9", 25, 9 + 9 + 9 + 9 + 10, 23}, {"\x7F", 100, 9 + 2 * 9 + 9 + 9 + 10, 23},
      {"AB", -5, 9 + 2 * 9 + 9 + 9 + 10, 53},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Printable(c.data));
    const EpsPicture eps = DrawEps(kBarCodeCode93, c.data, "", c.trim);
    const BarCodeRect size = SizeOf(kBarCodeCode93, c.data, c.trim);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
    EXPECT_EQ(eps.width, c.width);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(static_cast<int>(ModulesOf(eps.fills).size()), c.width);
    EXPECT_EQ(eps.fills.front().x1, 0);
    for (const EpsBox& bar : eps.fills) {
      EXPECT_EQ(bar.y1, 16);
      EXPECT_EQ(bar.y2, c.height);
    }
    // The text is the data as given, one character every 7 units; no check characters.
    ASSERT_EQ(eps.texts.size(), Utf8Length(c.data));
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].x, 5 + 7 * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, 7);
      EXPECT_EQ(eps.texts[k].size, 10);
    }
  }
  EXPECT_EQ(SizeOf(kBarCodeCode93, "").width, 0);
}
