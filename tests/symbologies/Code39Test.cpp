// Code 39, native characters and full-ASCII pairs: read back by zxing-cpp (plain and in extended
// mode) and zbar from the command line's files, compared with zint, and measured through the EPS
// picture.
#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The characters that this system draws with their own Code 39 pattern: the 43 of ANSI/AIM BC1
// (among them $ / + %, which the published full-ASCII table would spell /D /O /K /E).
const std::string kNative = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// The published full-ASCII spelling (ANSI/AIM BC1, table of Code 39 full ASCII) of a character
// that Code 39 has no pattern for.
std::string FullAsciiPair(int c) {
  auto pair = [](char shift, int letter) { return std::string{shift, static_cast<char>(letter)}; };
  if (c == 0) return "%U";
  if (c <= 26) return pair('$', 'A' + c - 1);
  if (c <= 31) return pair('%', 'A' + c - 27);
  if (c >= 33 && c <= 44) return pair('/', 'A' + c - 33);
  if (c == 58) return "/Z";
  if (c >= 59 && c <= 63) return pair('%', 'F' + c - 59);
  if (c == 64) return "%V";
  if (c >= 91 && c <= 95) return pair('%', 'K' + c - 91);
  if (c == 96) return "%W";
  if (c >= 97 && c <= 122) return pair('+', 'A' + c - 97);
  return pair('%', 'P' + c - 123); // 123-127
}

bool IsNative(int c) {
  return c == '*' || kNative.find(static_cast<char>(c)) != std::string::npos;
}

// Every ASCII character without a pattern of its own, 12 to a symbol.
std::vector<std::string> PairChunks() {
  std::vector<std::string> chunks{""};
  for (int c = 0; c < 128; ++c) {
    if (IsNative(c)) continue;
    if (chunks.back().size() == 12) chunks.emplace_back();
    chunks.back() += static_cast<char>(c);
  }
  return chunks;
}

std::string Spelled(const std::string& data) {
  std::string out;
  for (char c : data)
    out += IsNative(static_cast<unsigned char>(c)) ? std::string(1, c) : FullAsciiPair(c);
  return out;
}

void ExpectReads(const std::string& data, const std::vector<std::string>& extra,
                 const ZXingOptions& options, const std::string& zxingText,
                 const std::string& zbarText) {
  for (const ScanFile& file : ScanFiles("Code-39", data, extra)) {
    SCOPED_TRACE(Printable(data) + " " + file.format);
    const std::vector<ZXingSymbol> zxing = ZXingReadSymbols(file.png, "Code39", options);
    ASSERT_EQ(zxing.size(), 1u);
    EXPECT_EQ(Printable(zxing[0].text), Printable(zxingText));
    EXPECT_EQ(Printable(ZBarReadRaw(file.png)), Printable(zbarText + "\n"));
  }
}

} // namespace

TEST(Code39Scan, NativeCharactersReadAsThemselves) {
  for (const std::string& data :
       {kNative.substr(0, 22), kNative.substr(22), std::string("*AB-1*")}) {
    const std::string bare = data.front() == '*' ? data.substr(1, data.size() - 2) : data;
    ExpectReads(data, {}, {}, bare, bare);
  }
}

// zxing-cpp in extended mode reads the pairs back as the characters they stand for; zbar does not
// know full ASCII and reports the pairs themselves.
TEST(Code39Scan, FullAsciiPairsReadAsTheirCharacters) {
  ZXingOptions extended;
  extended.code39Extended = true;
  for (const std::string& data : PairChunks())
    ExpectReads(data, {}, extended, data, Spelled(data));
}

TEST(Code39Scan, EpsWithParenthesesAndBackslashInTheTextStillScans) {
  ExpectReads("CODE39", {"-disp", "a(b)c\\d)"}, {}, "CODE39", "CODE39");
  const EpsPicture eps = DrawEps(kBarCodeCode39, "CODE39", "a(b)c\\d)");
  std::string shown;
  for (const EpsText& text : eps.texts)
    shown += text.text;
  EXPECT_EQ(shown, "a(b)c\\d)");
}

// zint draws wide elements 2 : 1 and this system 3 : 1, so the elements are compared as wide and
// narrow.
TEST(Code39Oracle, ElementsEqualZint) {
  struct Case {
    std::string data;
    int zintType; // 8 Code 39, 9 extended Code 39
  } cases[] = {{kNative, 8}, {"CODE-39", 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::vector<std::string> rows = ZintRows(c.zintType, c.data);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(WideNarrowOf(ModulesOf(DrawEps(kBarCodeCode39, c.data).fills)),
              WideNarrowOf(rows[0]));
  }
  for (std::string data : PairChunks()) {
    if (data.front() == 0) data.erase(0, 1); // no command line carries NUL
    SCOPED_TRACE(Printable(data));
    const std::vector<std::string> rows = ZintRows(9, data);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(WideNarrowOf(ModulesOf(DrawEps(kBarCodeCode39, data).fills)), WideNarrowOf(rows[0]));
  }
}

TEST(Code39Geometry, BoxBarsAndText) {
  struct Case {
    std::string data;
    int trim;
    int characters; // Code 39 characters, start and stop included: 16 units each, less 1
    int height;
    std::string text;
  } cases[] = {
      {"ABC", 0, 5, 48, "*ABC*"}, {"*ABC*", 0, 5, 48, "*ABC*"},   {"*ABC", 0, 5, 48, "*ABC*"},
      {"*", 0, 1, 48, "*"},       {"abc", 0, 2 + 6, 48, "*abc*"}, {"A*B", 25, 5, 23, "*A*B*"},
      {"AB", 100, 4, 23, "*AB*"}, {"A\xC3\xA9", 0, 3, 48, "*A*"}, {"A", -10, 3, 58, "*A*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Printable(c.data));
    const EpsPicture eps = DrawEps(kBarCodeCode39, c.data, "", c.trim);
    const int width = 16 * c.characters - 1;
    EXPECT_EQ(SizeOf(kBarCodeCode39, c.data, c.trim).width, width);
    EXPECT_EQ(SizeOf(kBarCodeCode39, c.data, c.trim).height, c.height);
    EXPECT_EQ(eps.width, width);
    EXPECT_EQ(eps.height, c.height);
    EXPECT_EQ(static_cast<int>(ModulesOf(eps.fills).size()), width);
    EXPECT_EQ(eps.fills.front().x1, 0);
    EXPECT_EQ(static_cast<int>(eps.fills.size()), 5 * c.characters);
    for (const EpsBox& bar : eps.fills) {
      EXPECT_EQ(bar.y1, 16);
      EXPECT_EQ(bar.y2, c.height);
    }
    ASSERT_EQ(eps.texts.size(), c.text.size());
    for (size_t k = 0; k < eps.texts.size(); ++k) {
      EXPECT_EQ(eps.texts[k].text, c.text.substr(k, 1));
      EXPECT_EQ(eps.texts[k].x, 5 + 7 * static_cast<int>(k));
      EXPECT_EQ(eps.texts[k].y, 7);
      EXPECT_EQ(eps.texts[k].size, 10);
    }
  }
}

TEST(Code39Drawable, EmptyDataIsRefused) {
  EXPECT_EQ(SizeOf(kBarCodeCode39, "").width, 0);
  BarCodeDataRec rec = MakeRecord(kBarCodeCode39, "");
  BarCodeUpdateImage(nullptr, 0, 0, &rec);
  EXPECT_TRUE(rec.epsText->empty());
  BarCodeDataRecRelease(&rec);
}
