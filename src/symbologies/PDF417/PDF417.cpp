// PDF417 encoder: entry points, size and error level choice, Reed-Solomon error correction over
// GF(929) and the bit matrix of the symbol. The data compaction is in PDF417Compaction.cpp.

#include "PDF417.h"

#include "PDF417Compaction.h"
#include "PDF417Tables.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

using pdf417::CLUSTERS;
using pdf417::ERROR_LEVEL;

constexpr int32_t kMaxColumns = 30;
constexpr int32_t kMinRows = 3;
constexpr int32_t kMaxRows = 90;
constexpr uint32_t kPrime = 929; // GF(929); also the number of codeword values

constexpr int32_t kPadCodeword = 900; // the text latch, ignored at the end of the data

constexpr uint32_t kStartPattern = 0x1fea8; // 11111111010101000
constexpr uint32_t kStopPattern = 0x3fa29;  // 111111101000101001, one module longer

// ---- Size and error level ----

// The largest level whose 2^(level+1) correction codewords fit in `room`, or 0.
int32_t largestLevel(int32_t room) {
  for (int32_t level = 8; level > 0; --level)
    if ((2 << level) <= room) return level;
  return 0;
}

int32_t automaticLevel(int32_t n) {
  if (n < 41) return 2;
  if (n <= 160) return 3;
  if (n <= 320) return 4;
  return 5;
}

// Over 928 codewords: the largest rectangles of 928, keeping roughly the asked shape.
int32_t capSize(PDF417Param& p) {
  int32_t total = p.codeColumns * p.codeRows;
  if (total > kPDF417MaxCodewords) {
    const bool narrow = p.codeColumns < 22;
    p.codeColumns = narrow ? 16 : 29;
    p.codeRows = narrow ? 58 : 32;
    total = kPDF417MaxCodewords;
  }
  return total;
}

void columnsFromRows(PDF417Param& p, int32_t needed) {
  p.codeColumns = (needed - 1) / p.codeRows + 1;
  if (p.codeColumns > kMaxColumns) {
    p.codeColumns = kMaxColumns;
    p.codeRows = (needed - 1) / kMaxColumns + 1;
  }
}

void rowsFromColumns(PDF417Param& p, int32_t needed) {
  const int32_t rows = (needed - 1) / p.codeColumns + 1;
  if (rows > kMaxRows) {
    p.codeRows = kMaxRows;
    p.codeColumns = (needed - 1) / kMaxRows + 1;
  } else {
    p.codeRows = std::max(rows, kMinRows);
  }
}

// Columns that make the symbol about aspectRatio times as high as wide, with rows yHeight
// modules high.
void columnsFromAspectRatio(PDF417Param& p, int32_t needed) {
  float& a = p.aspectRatio;
  if (!(a >= 0.001f)) a = 0.001f; // NaN too
  if (a > 1000.0f) a = 1000.0f;
  const float b = 73.0f * a - 4.0f;
  const float discriminant = b * b + 68.0f * a * float(needed) * p.yHeight;
  const double c = (std::sqrt(double(discriminant)) - b) / double(34.0f * a) + 0.5;
  // A negative or NaN row height makes c NaN; it must not reach the integer conversion.
  p.codeColumns = c >= 1.0 ? int32_t(std::min(c, double(kMaxColumns))) : 1;
}

// Chooses columns, rows and the error level for n data codewords; returns the codeword total.
int32_t chooseSizeAndLevel(PDF417Param& p, int32_t n) {
  const int32_t maxLevel = largestLevel(kPDF417MaxCodewords - n);
  p.errorLevel = (p.options & kPDF417UseErrorLevel) ? std::clamp(p.errorLevel, 0, maxLevel)
                                                    : std::min(automaticLevel(n), maxLevel);
  const int32_t needed = n + (2 << p.errorLevel);
  p.codeColumns = std::clamp(p.codeColumns, 1, kMaxColumns);
  p.codeRows = std::clamp(p.codeRows, kMinRows, kMaxRows);

  int32_t total = 0;
  const bool fixedRectangle = p.options & kPDF417FixedRectangle;
  if (fixedRectangle) total = capSize(p);
  if (!fixedRectangle || total < needed) {
    if (p.options & kPDF417FixedRows) {
      columnsFromRows(p, needed);
    } else {
      if (!(p.options & (kPDF417FixedRectangle | kPDF417FixedColumns)))
        columnsFromAspectRatio(p, needed);
      rowsFromColumns(p, needed);
    }
    total = capSize(p);
  }
  // Room left over by the rectangle goes to error correction rather than padding.
  p.errorLevel = largestLevel(total - n);
  return total;
}

// ---- Reed-Solomon ----

// Appends the correction codewords of the level to the first `dataCount` codewords: the
// remainder of data(x) * x^k divided by the generator polynomial, negated. Registers are kept as
// R + t * (929 - a) rather than R + 929 - t * a mod 929: the same value with one reduction.
void addErrorCorrection(PDF417Param& p, int32_t dataCount) {
  const std::span<const uint16_t> a = ERROR_LEVEL[size_t(p.errorLevel)];
  const size_t k = a.size();
  std::array<uint32_t, 512> negated; // register e is fed by coefficient a[k-1-e]
  for (size_t e = 0; e < k; ++e)
    negated[e] = (kPrime - a[k - 1 - e]) % kPrime;
  std::array<uint32_t, 512> r{};
  for (int32_t i = 0; i < dataCount; ++i) {
    const uint32_t t = (uint32_t(p.codewords[size_t(i)]) + r[0]) % kPrime;
    for (size_t e = 0; e + 1 < k; ++e)
      r[e] = (r[e + 1] + t * negated[e]) % kPrime;
    r[k - 1] = t * negated[k - 1] % kPrime;
  }
  for (size_t e = 0; e < k; ++e)
    p.codewords[size_t(dataCount) + e] = int32_t((kPrime - r[e]) % kPrime);
}

// ---- Bit matrix ----

struct BitWriter {
  uint8_t* bits;
  size_t position;
};

void outCodeword(BitWriter& w, uint32_t pattern, int32_t modules) {
  for (int32_t m = modules - 1; m >= 0; --m, ++w.position)
    if (pattern >> m & 1) w.bits[w.position / 8] |= uint8_t(0x80 >> (w.position % 8));
}

void outCodeword17(BitWriter& w, uint32_t pattern) {
  outCodeword(w, pattern, 17);
}

void paintMatrix(PDF417Param& p) {
  const int32_t rows = p.codeRows, columns = p.codeColumns;
  p.bitColumns = 17 * columns + 69;
  const size_t bytesPerRow = size_t(p.bitColumns - 1) / 8 + 1;
  p.bitMatrix.assign(bytesPerRow * size_t(rows), 0);
  p.lenBitMatrix = int32_t(p.bitMatrix.size());
  // Every row indicator tells the decoder one of rows, columns and level, in turn by cluster.
  const int32_t rowsInfo = (rows - 1) / 3;
  const int32_t levelInfo = 3 * p.errorLevel + (rows - 1) % 3;
  const int32_t columnsInfo = columns - 1;
  const int32_t* cw = p.codewords.data();
  for (int32_t r = 0; r < rows; ++r) {
    const size_t k = size_t(r % 3);
    const std::array<uint32_t, 929>& cluster = CLUSTERS[k];
    const int32_t q = 30 * (r / 3);
    const int32_t left[3] = {rowsInfo, levelInfo, columnsInfo};
    const int32_t right[3] = {columnsInfo, rowsInfo, levelInfo};
    BitWriter w{p.bitMatrix.data(), size_t(r) * 8 * bytesPerRow};
    outCodeword17(w, kStartPattern);
    outCodeword17(w, cluster[size_t(q + left[k])]);
    for (int32_t c = 0; c < columns; ++c)
      outCodeword17(w, cluster[size_t(*cw++)]);
    outCodeword17(w, cluster[size_t(q + right[k])]);
    outCodeword(w, kStopPattern, 18);
  }
  if (p.options & kPDF417InvertBitmap)
    for (uint8_t& b : p.bitMatrix)
      b = uint8_t(~b);
}

// Raw codewords must describe themselves and stay within the codeword values.
bool validRawCodewords(const PDF417Param& p) {
  if (p.lenCodewords < 1 || p.lenCodewords > kPDF417MaxDataCodewords) return false;
  if (p.codewords[0] != p.lenCodewords) return false;
  return std::all_of(p.codewords.begin(), p.codewords.begin() + p.lenCodewords,
                     [](int32_t c) { return c >= 0 && c < int32_t(kPrime); });
}

// The bytes to encode, or an error: too long is error 1, empty or longer than the view is 2.
int32_t takeText(PDF417Param& p, std::string_view& text) {
  text = p.text;
  if (p.lenText < 0) {
    text = text.substr(0, text.find('\0'));
    p.lenText = int32_t(std::min<size_t>(text.size(), INT32_MAX));
  } else if (size_t(p.lenText) > text.size()) {
    return kPDF417ErrorInvalidParams;
  } else {
    text = text.substr(0, size_t(p.lenText));
  }
  if (text.size() > size_t(kPDF417MaxTextBytes)) return kPDF417ErrorTextTooBig;
  if (text.empty()) return kPDF417ErrorInvalidParams;
  return kPDF417ErrorNone;
}

} // namespace

void paintCode(PDF417Param* p) {
  p->error = kPDF417ErrorNone;
  p->bitMatrix.clear(); // keeps the capacity for a record that is encoded again
  p->lenBitMatrix = 0;
  if (p->options & kPDF417RawCodewords) {
    if (!validRawCodewords(*p)) {
      p->error = kPDF417ErrorInvalidParams;
      return;
    }
  } else {
    std::string_view text;
    p->error = takeText(*p, text);
    if (p->error != kPDF417ErrorNone) return;
    if (!pdf417::compactText(*p, text)) {
      p->error = kPDF417ErrorTextTooBig;
      return;
    }
  }
  const int32_t total = chooseSizeAndLevel(*p, p->lenCodewords);
  // Every size rule leaves total >= n + 2^(level+1), so dataCount >= lenCodewords.
  const int32_t dataCount = total - (2 << p->errorLevel);
  std::fill(p->codewords.begin() + p->lenCodewords, p->codewords.begin() + dataCount, kPadCodeword);
  p->lenCodewords = p->codewords[0] = dataCount;
  addErrorCorrection(*p, dataCount);
  p->lenCodewords = total;
  paintMatrix(*p);
}

PDF417Param* pdf417init(PDF417Param* p) {
  p->options = 0;
  pdf417free(p);
  p->error = kPDF417ErrorNone;
  p->text = {};
  p->lenText = -1;
  p->aspectRatio = 0.5f;
  p->yHeight = 3.0f;
  return p;
}

void pdf417free(PDF417Param* p) {
  std::vector<uint8_t>().swap(p->bitMatrix);
  p->lenBitMatrix = 0;
}
