// The PDF417 encoder: compaction and sizes from tests/data, each symbol laid out as the standard
// says (published patterns, the Reed-Solomon generator's roots), read back by zxing-cpp.
#include "PDF417.h"
#include "PDF417Tables.h"
#include "support/TestSupport.h"

#define ZX_USE_UTF8 // text() as UTF-8
#include <ZXing/ReadBarcode.h>

#include <functional>
#include <random>

namespace {

// A record from pdf417init, changed by `setup`, after paintCode.
PDF417Param Encoded(const std::function<void(PDF417Param&)>& setup) {
  PDF417Param p;
  pdf417init(&p);
  setup(p);
  paintCode(&p);
  return p;
}

// Row r of the matrix, "1" for a dark module (a clear bit when the matrix is inverted).
std::string MatrixRow(const PDF417Param& p, int32_t r) {
  std::string modules;
  for (int32_t c = 0; c < p.bitColumns; ++c) {
    const bool set = p.bitMatrix[size_t(r * ((p.bitColumns + 7) / 8) + c / 8)] >> (7 - c % 8) & 1;
    modules += set != bool(p.options & kPDF417InvertBitmap) ? '1' : '0';
  }
  return modules;
}

// The bytes zxing-cpp reads from the matrix drawn 3 x 9 pixels a module in a white quiet zone of
// 2 modules; "unread" when it reads no symbol.
std::string Decoded(const PDF417Param& p) {
  constexpr int kModule = 3, kRowHeight = 9, kQuiet = 2 * kModule;
  const int width = p.bitColumns * kModule + 2 * kQuiet;
  std::vector<uint8_t> pixels(size_t(width) * size_t(p.codeRows * kRowHeight + 2 * kQuiet), 255);
  for (int32_t r = 0; r < p.codeRows; ++r) {
    const std::string modules = MatrixRow(p, r);
    for (int y = kQuiet + r * kRowHeight; y < kQuiet + (r + 1) * kRowHeight; ++y)
      for (int x = 0; x < p.bitColumns * kModule; ++x)
        if (modules[size_t(x / kModule)] == '1') pixels[size_t(y * width + kQuiet + x)] = 0;
  }
  const ZXing::Result result = ZXing::ReadBarcode(
      {pixels.data(), width, int(pixels.size()) / width, ZXing::ImageFormat::Lum},
      ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417));
  return result.isValid() ? std::string(result.bytes().begin(), result.bytes().end()) : "unread";
}

// The published module patterns of cluster 0, 3 or 6, by value.
const std::vector<std::string>& Cluster(int k) {
  static const auto clusters = [] {
    std::map<int, std::vector<std::string>> patterns;
    for (const TableRow& row : ReadTable("pdf417_clusters.tsv"))
      patterns[row.Int("cluster")].push_back(row.Raw("pattern"));
    return patterns;
  }();
  return clusters.at(k);
}

// The standard's layout: the descriptor counts the padding, the codewords vanish at the generator's
// roots 3^1 ... 3^k, a row is start, row indicator, codewords, row indicator (in the published
// patterns of the row's cluster), stop.
void ExpectStandardLayout(const PDF417Param& p) {
  const int32_t rows = p.codeRows, columns = p.codeColumns, level = p.errorLevel;
  ASSERT_TRUE(columns >= 1 && columns <= 30 && rows >= 3 && rows <= 90 && level <= 8);
  ASSERT_EQ(p.lenCodewords, columns * rows);
  EXPECT_EQ(p.codewords[0], p.lenCodewords - (2 << level));
  EXPECT_EQ(p.bitColumns, 17 * columns + 69);
  ASSERT_EQ(p.lenBitMatrix, int32_t(p.bitMatrix.size()));
  ASSERT_EQ(p.lenBitMatrix, rows * ((p.bitColumns + 7) / 8));
  for (int64_t k = 1, root = 3; k <= (2 << level); ++k, root = root * 3 % 929) {
    int64_t value = 0;
    for (int32_t j = 0; j < p.lenCodewords; ++j)
      value = (value * root + p.codewords[size_t(j)]) % 929;
    ASSERT_EQ(value, 0) << "root 3^" << k;
  }
  for (int32_t r = 0; r < rows; ++r) {
    const auto& cluster = Cluster(3 * (r % 3));
    const int32_t q = 30 * (r / 3),
                  indicators[] = {q + (rows - 1) / 3, q + 3 * level + (rows - 1) % 3,
                                  q + columns - 1};
    std::string row = "11111111010101000" + cluster[size_t(indicators[r % 3])];
    for (int32_t c = 0; c < columns; ++c)
      row += cluster[size_t(p.codewords[size_t(r * columns + c)])];
    row += cluster[size_t(indicators[(r + 2) % 3])] + "111111101000101001";
    ASSERT_EQ(MatrixRow(p, r), row) << "row " << r;
  }
}

} // namespace

TEST(PDF417Tables, ClustersAndCoefficientsMatchTheStandard) {
  for (size_t k = 0; k < 3; ++k) {
    ASSERT_EQ(Cluster(int(3 * k)).size(), 929u);
    for (size_t v = 0; v < 929; ++v)
      EXPECT_EQ(pdf417::CLUSTERS[k][v], std::stoul(Cluster(int(3 * k))[v], nullptr, 2)) << v;
  }
  std::map<int, std::vector<int>> coefficients;
  for (const TableRow& row : ReadTable("pdf417_rs.tsv"))
    coefficients[row.Int("level")].push_back(row.Int("coefficient"));
  for (size_t level = 0; level < 9; ++level) {
    const auto table = pdf417::ERROR_LEVEL[level];
    EXPECT_EQ(std::vector<int>(table.begin(), table.end()), coefficients.at(int(level))) << level;
  }
}

TEST(PDF417Compaction, CodewordsAndReadBack) {
  for (const TableRow& row : ReadTable("pdf417-compaction.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string text = row.Text("text");
    const PDF417Param p = Encoded([&](PDF417Param& q) { q.text = text; });
    ASSERT_EQ(p.error, kPDF417ErrorNone);
    int32_t n = p.codewords[0]; // the data codewords, up to the padding
    while (p.codewords[size_t(n - 1)] == 900)
      --n;
    std::string codewords = std::to_string(n);
    for (int32_t k = 1; k < n; ++k)
      codewords += " " + std::to_string(p.codewords[size_t(k)]);
    EXPECT_TRUE(row.Raw("codewords").empty() || codewords == row.Raw("codewords")) << codewords;
    EXPECT_EQ(Decoded(p), text.substr(0, text.find('\0')));
  }
}

TEST(PDF417Size, ColumnsRowsAndLevel) {
  for (const TableRow& row : ReadTable("pdf417-size.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const int32_t n = row.Int("codewords");
    const std::string text = row.Text("text");
    const PDF417Param p = Encoded([&](PDF417Param& q) {
      q.options = row.Int("options") | (n > 0 ? kPDF417RawCodewords : 0);
      q.codeColumns = row.Int("columns in");
      q.codeRows = row.Int("rows in");
      q.errorLevel = row.Int("level in");
      q.aspectRatio = row.Raw("aspect").empty() ? q.aspectRatio : std::stof(row.Raw("aspect"));
      q.yHeight = row.Raw("height").empty() ? q.yHeight : std::stof(row.Raw("height"));
      q.text = text;
      q.lenText = row.Raw("length").empty() ? -1 : row.Int("length");
      q.lenCodewords = n;
      for (int32_t i = 0; i < int32_t(q.codewords.size()); ++i)
        q.codewords[size_t(i)] = row.Raw("fill").empty() ? (i * 37) % 900 : row.Int("fill");
      q.codewords[0] = row.Raw("first").empty() ? n : row.Int("first");
    });
    if (row.Raw("error") == "invalid") {
      EXPECT_TRUE(p.error == kPDF417ErrorInvalidParams && p.bitMatrix.empty());
      continue;
    }
    ASSERT_EQ(p.error, kPDF417ErrorNone);
    ExpectStandardLayout(p);
    const std::string size = std::to_string(p.codeColumns) + " " + std::to_string(p.codeRows) +
                             " " + std::to_string(p.errorLevel);
    EXPECT_TRUE(row.Raw("columns") == "*" ||
                size == row.Raw("columns") + " " + row.Raw("rows") + " " + row.Raw("level"))
        << size;
    EXPECT_TRUE(p.aspectRatio >= 0.001f && p.aspectRatio <= 1000.0f) << "stored back";
    for (int32_t i = n; n > 0 && i < p.codewords[0]; ++i)
      EXPECT_EQ(p.codewords[size_t(i)], 900) << "padding";
  }
}

// Any text and any options give a symbol laid out as the standard says, or an error without a
// matrix; runs that favour each compaction mode read back.
TEST(PDF417Property, RandomTextsAndOptions) {
  const std::string alphabets[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ ", "abcdefXYZ 0123456789",
                                   "0123456789", ";<>@[\\]_`~!,:-.$/\"|*()?{}'&#+%=^\r\n\t"};
  std::mt19937 random(15438);
  for (int i = 0; i < 400; ++i) {
    std::string text;
    for (size_t n = random() % 4 ? random() % 400 : random() % 6000; text.size() < n;) {
      const std::string& a = alphabets[random() % 4];
      for (size_t run = 1 + random() % 20; run > 0 && text.size() < n; --run)
        text += random() % 5 ? a[random() % a.size()] : char(random());
    }
    const PDF417Param p = Encoded([&](PDF417Param& q) {
      q.text = text;
      q.lenText = int32_t(text.size());
      q.options = int32_t(random() % 256) & ~kPDF417RawCodewords;
      q.codeColumns = int32_t(random() % 40) - 5;
      q.codeRows = int32_t(random() % 110) - 5;
      q.errorLevel = int32_t(random() % 12) - 2;
    });
    SCOPED_TRACE(testing::PrintToString(text));
    if (p.error != kPDF417ErrorNone) {
      EXPECT_TRUE(p.bitMatrix.empty());
      continue;
    }
    ExpectStandardLayout(p);
    if (i % 4 == 0) {
      EXPECT_EQ(Decoded(p), text);
    }
  }
}
