// Tests of the PDF417 encoder. Expected values come from the published tables (read from the
// reference TSV files), from the compaction rules worked by hand, or from independent checks: the
// Reed-Solomon codewords are verified at the roots of the generator, and whole symbols are read
// back by zxing-cpp.

#include "PDF417.h"
#include "PDF417Tables.h"
#include "support/TestSupport.h"

#define ZX_USE_UTF8 // text() as UTF-8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>

namespace {

using Codewords = std::vector<int32_t>;

// A record from pdf417init, changed by `setup`, after paintCode.
template <typename Setup> PDF417Param make(Setup setup) {
  PDF417Param p;
  pdf417init(&p);
  setup(p);
  paintCode(&p);
  return p;
}

PDF417Param encode(std::string_view text, int32_t options = 0) {
  return make([&](PDF417Param& p) {
    p.text = text;
    p.lenText = int32_t(text.size());
    p.options = options;
  });
}

// n raw data codewords (length descriptor first).
PDF417Param encodeRaw(int32_t n, int32_t options, int32_t columns = 0, int32_t rows = 0,
                      int32_t level = 0) {
  return make([&](PDF417Param& p) {
    p.options = options | kPDF417RawCodewords;
    p.lenCodewords = p.codewords[0] = n;
    for (int32_t i = 1; i < n; ++i)
      p.codewords[size_t(i)] = (i * 37) % 900;
    p.codeColumns = columns;
    p.codeRows = rows;
    p.errorLevel = level;
  });
}

// The data codewords before padding, as compaction wrote them.
Codewords dataCodewords(const PDF417Param& p) {
  const int32_t n = p.lenCodewords - (2 << p.errorLevel);
  Codewords out(p.codewords.begin(), p.codewords.begin() + n);
  while (out.size() > 1 && out.back() == 900)
    out.pop_back(); // padding
  out[0] = int32_t(out.size());
  return out;
}

// Module strings of the published patterns: cluster (0, 3, 6) -> value -> "1110101...".
const std::map<int, std::vector<std::string>>& publishedPatterns() {
  static const auto patterns = [] {
    std::map<int, std::vector<std::string>> m;
    for (const auto& row : ReadReferenceTable("pdf417_clusters.tsv"))
      m[std::stoi(row[0])].push_back(row[2]);
    return m;
  }();
  return patterns;
}

std::string matrixRow(const PDF417Param& p, int32_t r) {
  const int32_t bytesPerRow = (p.bitColumns + 7) / 8;
  std::string modules;
  for (int32_t c = 0; c < p.bitColumns; ++c)
    modules += (p.bitMatrix[size_t(r * bytesPerRow + c / 8)] >> (7 - c % 8) & 1) ? '1' : '0';
  return modules;
}

// ---- Tables ----

TEST(PDF417Tables, ClustersMatchPublishedPatterns) {
  const auto& patterns = publishedPatterns();
  for (int k = 0; k < 3; ++k) {
    const auto& published = patterns.at(3 * k);
    ASSERT_EQ(published.size(), 929u);
    for (size_t v = 0; v < 929; ++v)
      EXPECT_EQ(pdf417::CLUSTERS[size_t(k)][v], std::stoul(published[v], nullptr, 2))
          << "cluster " << 3 * k << " value " << v;
  }
}

TEST(PDF417Tables, ErrorLevelsMatchPublishedCoefficients) {
  std::map<int, std::vector<int>> published;
  for (const auto& row : ReadReferenceTable("pdf417_rs.tsv"))
    published[std::stoi(row[0])].push_back(std::stoi(row[2]));
  for (size_t level = 0; level < 9; ++level) {
    const auto table = pdf417::ERROR_LEVEL[level];
    ASSERT_EQ(table.size(), size_t(2) << level);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), published.at(int(level)).begin(),
                           published.at(int(level)).end()))
        << "level " << level;
  }
}

// ---- Compaction ----

struct CompactionCase {
  const char* name;
  std::string text;
  Codewords expected; // length descriptor first
};

class PDF417Compaction : public testing::TestWithParam<CompactionCase> {};

TEST_P(PDF417Compaction, Codewords) {
  const PDF417Param p = encode(GetParam().text);
  ASSERT_EQ(p.error, kPDF417ErrorNone);
  EXPECT_EQ(dataCodewords(p), GetParam().expected);
}

// Text values: upper/lower letters 0-25, space 26; ll 27, ml 28, ps 29 (al in mixed 28, in
// punctuation 29), pl 25 in mixed; pairs h * 30 + l.
INSTANTIATE_TEST_SUITE_P(
    Segments, PDF417Compaction,
    testing::Values(
        CompactionCase{"StandardTextExample", "PDF417", {5, 453, 178, 121, 239}},
        CompactionCase{
            "StandardNumericExample", "000213298174000", {8, 902, 1, 624, 434, 632, 282, 200}},
        // 13 digits then a letter: numeric run, then back to text with 900.
        CompactionCase{
            "ThirteenDigitsAndLetter", "1234567890123A", {9, 902, 17, 110, 836, 811, 223, 900, 29}},
        // 12 digits stay in the mixed sub-mode of the text.
        CompactionCase{
            "TwelveDigitsAndLetter", "123456789012A", {9, 841, 63, 125, 187, 249, 1, 88, 29}},
        CompactionCase{"EightDigitsAlone", "12345678", {5, 902, 138, 628, 478}},
        CompactionCase{"SevenDigitsAlone", "1234567", {5, 841, 63, 125, 187}},
        // ab = 27 0 1, then ps pads the odd half before 913, then c in lower case.
        CompactionCase{"OneByteBetweenTexts", "ab\001c", {6, 810, 59, 913, 1, 89}},
        // Texts of 2 bytes together are not worth a shift: all three go to byte compaction.
        CompactionCase{"OneByteBetweenShortTexts", "a\001b", {5, 901, 97, 1, 98}},
        // A long text takes in a one-byte neighbour (shifted), not a two-byte one.
        CompactionCase{"LongTextTakesOneByte", "\001abcde", {6, 913, 1, 810, 32, 94}},
        CompactionCase{"LongTextLeavesTwoBytes", "abcde\x01\x02", {7, 810, 32, 94, 901, 1, 2}},
        // A short text goes into the byte run next to it: six bytes, 924; 0x616263640102 in
        // base 900.
        CompactionCase{"ShortTextJoinsBytes", "abcd\x01\x02", {7, 924, 163, 179, 507, 575, 22}},
        CompactionCase{"SingleByte", "\xc8", {3, 901, 200}},
        // 0xC8C8C8C8C8C8 = 220764687616200 in base 900.
        CompactionCase{"SixBytes", "\xc8\xc8\xc8\xc8\xc8\xc8", {7, 924, 336, 432, 197, 51, 300}},
        CompactionCase{
            "SevenBytes", "\xc8\xc8\xc8\xc8\xc8\xc8\xc8", {8, 901, 336, 432, 197, 51, 300, 200}},
        // Three punctuation marks latch (ml pl), values 24-28; one is shifted (ps).
        CompactionCase{"PunctuationValues24To28", ")?{}'", {5, 865, 745, 807, 869}},
        CompactionCase{"PunctuationShift", "A)", {3, 29, 749}},
        // Lower case: one capital is shifted (as), three latch through mixed (ml al).
        CompactionCase{"CapitalShift", "aBc", {4, 810, 811, 89}},
        CompactionCase{"CapitalLatch", "aBCD", {5, 810, 868, 32, 119}}),
    [](const auto& info) { return info.param.name; });

// ---- Size and error level ----

struct SizeCase {
  const char* name;
  int32_t n; // data codewords after compaction
  int32_t options;
  int32_t columnsIn, rowsIn, levelIn;
  int32_t columns, rows, level;
};

class PDF417Size : public testing::TestWithParam<SizeCase> {};

TEST_P(PDF417Size, ColumnsRowsLevel) {
  const SizeCase& c = GetParam();
  const PDF417Param p = encodeRaw(c.n, c.options, c.columnsIn, c.rowsIn, c.levelIn);
  ASSERT_EQ(p.error, kPDF417ErrorNone);
  EXPECT_EQ(p.codeColumns, c.columns);
  EXPECT_EQ(p.codeRows, c.rows);
  EXPECT_EQ(p.errorLevel, c.level);
  const int32_t ec = 2 << c.level;
  EXPECT_EQ(p.lenCodewords, c.columns * c.rows);
  EXPECT_EQ(p.codewords[0], c.columns * c.rows - ec); // descriptor counts the padding
  for (int32_t i = c.n; i < p.codewords[0]; ++i)
    EXPECT_EQ(p.codewords[size_t(i)], 900);
  EXPECT_EQ(p.bitColumns, 17 * c.columns + 69);
  EXPECT_EQ(p.lenBitMatrix, c.rows * ((p.bitColumns + 7) / 8));
}

constexpr int32_t kRect = kPDF417FixedRectangle, kCols = kPDF417FixedColumns,
                  kRows = kPDF417FixedRows, kLevel = kPDF417UseErrorLevel;

INSTANTIATE_TEST_SUITE_P(
    Rules, PDF417Size,
    testing::Values(
        // Automatic: level 2 below 41 codewords, 3 up to 160; about half as high as wide.
        SizeCase{"Auto26", 26, 0, 0, 0, 0, 2, 17, 2}, SizeCase{"Auto40", 40, 0, 0, 0, 0, 3, 16, 2},
        SizeCase{"Auto41", 41, 0, 0, 0, 0, 3, 19, 3},
        // 926 codewords leave room for level 0 only, in the largest narrow rectangle.
        SizeCase{"Full", 926, 0, 0, 0, 0, 16, 58, 0},
        // A roomy fixed rectangle raises the level: 100 - 20 leaves 64 for level 5.
        SizeCase{"Rectangle10x10", 20, kRect, 10, 10, 0, 10, 10, 5},
        SizeCase{"RectangleTooBigNarrow", 20, kRect, 21, 50, 0, 16, 58, 8},
        SizeCase{"RectangleTooBigWide", 20, kRect, 30, 90, 0, 29, 32, 8},
        SizeCase{"RectangleTooSmall", 26, kRect, 2, 3, 0, 2, 17, 2},
        SizeCase{"RectangleTooSmallFixedRows", 26, kRect | kRows, 2, 3, 0, 12, 3, 2},
        SizeCase{"FixedColumns", 26, kCols, 5, 0, 0, 5, 7, 2},
        SizeCase{"FixedRows", 26, kRows, 0, 10, 0, 4, 10, 2},
        SizeCase{"FixedRowsWinOverColumns", 26, kRows | kCols, 1, 10, 0, 4, 10, 2},
        SizeCase{"FixedRowsTooFew", 200, kRows, 0, 3, 0, 30, 8, 4},
        SizeCase{"FixedColumnsTooFew", 200, kCols, 1, 0, 0, 3, 90, 5},
        SizeCase{"ColumnsClamped", 26, kCols, 40, 0, 0, 30, 3, 5},
        SizeCase{"AtLeastThreeRows", 7, kCols, 10, 0, 0, 10, 3, 3},
        SizeCase{"RowsClamped", 26, kRows, 0, 200, 0, 1, 90, 5},
        SizeCase{"GivenLevel", 10, kLevel, 0, 0, 8, 12, 44, 8},
        SizeCase{"GivenLevelTooHigh", 500, kLevel, 0, 0, 8, 15, 51, 7},
        SizeCase{"GivenLevelIsAMinimum", 26, kLevel | kCols, 2, 0, 0, 2, 14, 0}),
    [](const auto& info) { return info.param.name; });

TEST(PDF417Size, OddAspectRatiosStillGiveASymbol) {
  const float values[][2] = {{1e6f, 3},   {0, 3},   {-1, 3},         {0.5f, -100},
                             {0.5f, NAN}, {NAN, 3}, {0.5f, INFINITY}};
  for (const auto& v : values) {
    const PDF417Param p = make([&](PDF417Param& q) {
      q.text = "Odd shapes";
      q.aspectRatio = v[0];
      q.yHeight = v[1];
    });
    ASSERT_EQ(p.error, kPDF417ErrorNone);
    EXPECT_TRUE(p.aspectRatio >= 0.001f && p.aspectRatio <= 1000.0f); // stored back
    EXPECT_TRUE(p.codeColumns >= 1 && p.codeColumns <= 30);
  }
}

// ---- Errors ----

TEST(PDF417Errors, InvalidParameters) {
  const auto raw = [](int32_t len, int32_t first, int32_t other) {
    return [=](PDF417Param& p) {
      p.options = kPDF417RawCodewords;
      p.lenCodewords = len;
      p.codewords.fill(other);
      p.codewords[0] = first;
    };
  };
  const std::function<void(PDF417Param&)> cases[] = {
      [](PDF417Param&) {},                                           // empty text
      [](PDF417Param& p) { p.text = std::string_view("\0abc", 4); }, // empty up to the zero
      [](PDF417Param& p) { p.text = "abc", p.lenText = 4; },         // longer than the bytes
      raw(0, 0, 1),
      raw(927, 927, 1),
      raw(5, 6, 1),
      raw(5, 5, 929),
      raw(5, 5, -1)};
  for (const auto& setup : cases) {
    const PDF417Param p = make(setup);
    EXPECT_EQ(p.error, kPDF417ErrorInvalidParams);
    EXPECT_TRUE(p.bitMatrix.empty());
  }
  EXPECT_EQ(make(raw(926, 926, 928)).error, kPDF417ErrorNone);
}

TEST(PDF417Errors, MeasuresUpToTheZeroByte) {
  const PDF417Param p = make([](PDF417Param& q) { q.text = std::string_view("ABC\0DEF", 7); });
  EXPECT_EQ(p.lenText, 3);
  EXPECT_EQ(dataCodewords(p), (Codewords{3, 1, 2 * 30 + 29}));
}

// ---- Reed-Solomon and matrix layout ----

// All codewords, first one the highest power, vanish at 3^1 ... 3^k mod 929.
void expectCodewordsDivisibleByGenerator(const PDF417Param& p) {
  const int32_t k = 2 << p.errorLevel;
  int64_t root = 1;
  for (int32_t i = 1; i <= k; ++i) {
    root = root * 3 % 929;
    int64_t value = 0;
    for (int32_t j = 0; j < p.lenCodewords; ++j)
      value = (value * root + p.codewords[size_t(j)]) % 929;
    ASSERT_EQ(value, 0) << "root 3^" << i << " level " << p.errorLevel;
  }
}

TEST(PDF417ReedSolomon, CodewordsVanishAtTheRoots) {
  for (int32_t level = 0; level <= 8; ++level)
    expectCodewordsDivisibleByGenerator(encodeRaw(20, kLevel, 0, 0, level));
  expectCodewordsDivisibleByGenerator(encode("Reed-Solomon over GF(929), 0123456789012345"));
  expectCodewordsDivisibleByGenerator(encodeRaw(926, 0));
}

TEST(PDF417Matrix, RowsFollowTheStandardLayout) {
  const auto& patterns = publishedPatterns();
  const std::string start = "11111111010101000", stop = "111111101000101001";
  for (const PDF417Param& p : {encode("Layout check 1234567890123 abc"), encodeRaw(300, kCols, 7),
                               encodeRaw(20, kLevel | kRect, 3, 12, 4)}) {
    ASSERT_EQ(p.error, kPDF417ErrorNone);
    const int32_t rows = p.codeRows, cols = p.codeColumns, level = p.errorLevel;
    int32_t next = 0;
    for (int32_t r = 0; r < rows; ++r) {
      const std::string modules = matrixRow(p, r);
      const auto& cluster = patterns.at(3 * (r % 3));
      const auto valueAt = [&](int32_t index) { // codeword `index` of the row, 0 = left indicator
        const std::string m = modules.substr(size_t(17 + 17 * index), 17);
        return int32_t(std::find(cluster.begin(), cluster.end(), m) - cluster.begin());
      };
      EXPECT_EQ(modules.substr(0, 17), start);
      EXPECT_EQ(modules.substr(size_t(p.bitColumns - 18)), stop);
      const int32_t q = 30 * (r / 3);
      const int32_t rowsInfo = q + (rows - 1) / 3, levelInfo = q + 3 * level + (rows - 1) % 3,
                    colsInfo = q + cols - 1;
      const int32_t left[] = {rowsInfo, levelInfo, colsInfo},
                    right[] = {colsInfo, rowsInfo, levelInfo};
      EXPECT_EQ(valueAt(0), left[r % 3]) << "row " << r;
      EXPECT_EQ(valueAt(cols + 1), right[r % 3]) << "row " << r;
      for (int32_t c = 1; c <= cols; ++c)
        EXPECT_EQ(valueAt(c), p.codewords[size_t(next++)]);
    }
    EXPECT_EQ(next, p.lenCodewords);
  }
}

TEST(PDF417Matrix, InvertComplementsEveryByte) {
  const PDF417Param plain = encode("Invert me"), inverted = encode("Invert me", 128);
  ASSERT_EQ(plain.bitMatrix.size(), inverted.bitMatrix.size());
  for (size_t i = 0; i < plain.bitMatrix.size(); ++i)
    EXPECT_EQ(plain.bitMatrix[i], uint8_t(~inverted.bitMatrix[i]));
  // Without inversion the padding bits of a row stay clear (86 modules: 2 padding bits).
  EXPECT_EQ(plain.bitColumns, 86);
  EXPECT_EQ(plain.bitMatrix[10] & 0x03, 0);
}

// ---- Decoding by zxing-cpp ----

// The bytes zxing-cpp reads from the symbol drawn 3 x 9 pixels a module in a white quiet zone of
// 2 modules, an inverted matrix's clear bits dark; nothing when it reads no symbol.
std::optional<std::string> decodedBytes(const PDF417Param& p) {
  constexpr int kModule = 3, kRowHeight = 9, kQuiet = 2 * kModule;
  const int width = p.bitColumns * kModule + 2 * kQuiet;
  const int height = p.codeRows * kRowHeight + 2 * kQuiet;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height), 255);
  const char dark = (p.options & kPDF417InvertBitmap) ? '0' : '1';
  for (int32_t r = 0; r < p.codeRows; ++r) {
    const std::string modules = matrixRow(p, r);
    for (int y = kQuiet + r * kRowHeight; y < kQuiet + (r + 1) * kRowHeight; ++y)
      for (int x = 0; x < p.bitColumns * kModule; ++x)
        if (modules[size_t(x / kModule)] == dark) pixels[size_t(y * width + kQuiet + x)] = 0;
  }
  const ZXing::Result result =
      ZXing::ReadBarcode({pixels.data(), width, height, ZXing::ImageFormat::Lum},
                         ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417));
  if (!result.isValid()) return std::nullopt;
  return std::string(result.bytes().begin(), result.bytes().end());
}

void expectDecodes(const std::string& text, int32_t options = kPDF417InvertBitmap) {
  const PDF417Param p = encode(text, options);
  ASSERT_EQ(p.error, kPDF417ErrorNone) << text.size();
  EXPECT_EQ(decodedBytes(p), text) << testing::PrintToString(text);
}

TEST(PDF417Decoding, ReadBackByAnotherDecoder) {
  const std::string cases[] = {
      "Hello, World!",
      "PDF417 Test: MiXeD cAsE, (punctuation)! a@b.c [x] {y} ~z' \"q\" 50% #1 & <2>;",
      "Tabs\tand\r\nnew lines\n",
      "abc;;;def;;;\x01;;;x",
      "Order 123456789012 ok",
      "Order 1234567890123 ok",
      std::string(44, '9') + "y" + std::string(45, '1') + "z" + std::string(100, '0'),
      "ab\001cd\200ef\377gh",
      "\001abcde",
      std::string("Zero\0byte", 9),
      CharRange(0, 255),
      std::string(1850, '5'),
      std::string(1850, 'Q'),
      Repeat("aB;1 ", 150),
  };
  for (const std::string& text : cases)
    expectDecodes(text);
  expectDecodes("Not inverted", 0);
  // Byte runs of every length modulo 6, alone and after text.
  for (size_t n = 1; n <= 13; ++n) {
    expectDecodes(std::string(n, '\xfe'));
    expectDecodes("Text then bytes " + std::string(n, '\x02'));
  }
  // Runs from alphabets that favour each compaction mode.
  std::mt19937 rng(417);
  const std::string alphabets[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ ", "abcdefXYZ 0123456789",
                                   "0123456789", ";<>@[\\]_`~!,:-.$/\"|*()?{}'&#+%=^\r\n\t",
                                   CharRange(0, 255)};
  for (int i = 0; i < 60; ++i) {
    std::string text;
    const size_t length = 1 + rng() % 300;
    while (text.size() < length) {
      const std::string& a = alphabets[rng() % 5];
      for (size_t run = 1 + rng() % 20; run > 0 && text.size() < length; --run)
        text += a[rng() % a.size()];
    }
    expectDecodes(text);
  }
}

// ---- Robustness and speed ----

TEST(PDF417Robustness, AnyInputGivesAConsistentSymbolOrAnError) {
  std::mt19937 rng(15438);
  for (int i = 0; i < 400; ++i) {
    std::string text(rng() % 4 ? rng() % 400 : rng() % 6000, '\0');
    const int bias = int(rng() % 4);
    for (char& c : text)
      c = char(bias == 0 ? rng() : bias == 1 ? '0' + rng() % 10 : 32 + rng() % 96);
    const PDF417Param p = make([&](PDF417Param& q) {
      q.text = text;
      q.lenText = int32_t(text.size());
      q.options = int32_t(rng() % 256) & ~kPDF417RawCodewords;
      q.codeColumns = int32_t(rng() % 40) - 5;
      q.codeRows = int32_t(rng() % 110) - 5;
      q.errorLevel = int32_t(rng() % 12) - 2;
    });
    if (p.error != kPDF417ErrorNone) {
      EXPECT_TRUE(p.bitMatrix.empty());
      continue;
    }
    EXPECT_TRUE(p.codeColumns >= 1 && p.codeColumns <= 30 && p.codeRows >= 3 && p.codeRows <= 90);
    EXPECT_TRUE(p.errorLevel >= 0 && p.errorLevel <= 8);
    EXPECT_EQ(p.lenCodewords, p.codeColumns * p.codeRows);
    EXPECT_EQ(p.codewords[0], p.lenCodewords - (2 << p.errorLevel));
    EXPECT_EQ(p.lenBitMatrix, int32_t(p.bitMatrix.size()));
    EXPECT_EQ(p.lenBitMatrix, p.codeRows * ((p.bitColumns + 7) / 8));
  }
}

TEST(PDF417Speed, EighteenHundredFiftyDigits) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  GTEST_SKIP() << "timed in optimised builds only";
#endif
  const std::string digits(1850, '8');
  PDF417Param p;
  pdf417init(&p)->text = digits;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i)
    paintCode(&p);
  ASSERT_EQ(p.error, kPDF417ErrorNone);
  // About 0.1 ms; the bound leaves room for a busy machine.
  EXPECT_LT((std::chrono::steady_clock::now() - t0) / 100, std::chrono::milliseconds(1));
  pdf417free(&p);
  EXPECT_TRUE(p.bitMatrix.empty());
}

} // namespace
