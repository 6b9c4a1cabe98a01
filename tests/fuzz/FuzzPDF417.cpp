// The PDF417 encoder with any options. Fields: the numbers "options codeColumns codeRows
// errorLevel aspectRatio yHeight lenText lenCodewords", then the text (with raw codewords, the
// codewords as numbers). A symbol made is whole: its size within the limits, every row framed by
// the start and stop patterns, and every codeword of row r from cluster 3 (r mod 3) (ISO/IEC
// 15438: bar widths b1 - b2 + b3 - b4 + 9, modulo 9).
#include "Fuzz.h"

#include "symbologies/PDF417/PDF417.h"

namespace {

bool Module(const PDF417Param& p, int32_t row, int32_t column) {
  const size_t bit = size_t(row) * 8 * (size_t(p.bitColumns - 1) / 8 + 1) + size_t(column);
  return (p.bitMatrix[bit / 8] >> (7 - bit % 8) & 1) != ((p.options & kPDF417InvertBitmap) != 0);
}

// The modules from..from+n of a row as a number, first module in the top bit.
uint32_t Modules(const PDF417Param& p, int32_t row, int32_t from, int32_t n) {
  uint32_t value = 0;
  for (int32_t m = from; m < from + n; ++m)
    value = value << 1 | Module(p, row, m);
  return value;
}

int32_t Cluster(const PDF417Param& p, int32_t row, int32_t from) {
  int32_t widths[8] = {}, element = 0;
  for (int32_t m = from; m < from + 17; ++m) {
    if (m > from && Module(p, row, m) != Module(p, row, m - 1)) ++element;
    FUZZ_CHECK(element < 8);
    ++widths[element];
  }
  FUZZ_CHECK(element == 7 && Module(p, row, from));
  return (widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFields in(data, size);
  std::string_view numbers = in.Next();
  PDF417Param p;
  pdf417init(&p);
  p.options = FuzzNumber(numbers, 0);
  p.codeColumns = FuzzNumber(numbers, 0);
  p.codeRows = FuzzNumber(numbers, 0);
  p.errorLevel = FuzzNumber(numbers, 0);
  p.aspectRatio = FuzzNumber(numbers, 0.5f);
  p.yHeight = FuzzNumber(numbers, 3.0f);
  p.lenText = FuzzNumber(numbers, -1);
  p.lenCodewords = FuzzNumber(numbers, 0);
  p.text = in.rest;
  std::string_view list = in.rest;
  for (int32_t& codeword : p.codewords)
    codeword = FuzzNumber(list, 0);
  paintCode(&p);
  FUZZ_CHECK(p.error == kPDF417ErrorNone || p.bitMatrix.empty());
  if (p.error != kPDF417ErrorNone) return 0;
  FUZZ_CHECK(p.codeColumns >= 1 && p.codeColumns <= 30 && p.codeRows >= 3 && p.codeRows <= 90);
  FUZZ_CHECK(p.errorLevel >= 0 && p.errorLevel <= 8 && p.bitColumns == 17 * p.codeColumns + 69);
  FUZZ_CHECK(p.lenCodewords == p.codeRows * p.codeColumns && p.lenCodewords <= 928);
  FUZZ_CHECK(p.lenBitMatrix == int32_t(p.bitMatrix.size()));
  FUZZ_CHECK(p.bitMatrix.size() == size_t(p.codeRows) * (size_t(p.bitColumns - 1) / 8 + 1));
  for (int32_t r = 0; r < p.codeRows; ++r) {
    // Start 8 1 1 1 1 1 1 3, stop 7 1 1 3 1 1 1 2 1.
    FUZZ_CHECK(Modules(p, r, 0, 17) == 0b11111111010101000);
    FUZZ_CHECK(Modules(p, r, p.bitColumns - 18, 18) == 0b111111101000101001);
    for (int32_t c = 0; c < p.codeColumns + 2; ++c)
      FUZZ_CHECK(Cluster(p, r, 17 + 17 * c) == 3 * (r % 3));
  }
  pdf417free(&p);
  return 0;
}
