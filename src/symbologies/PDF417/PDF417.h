// PDF417 encoder: turns a byte string into a PDF417 symbol as a bit matrix, one bit per module
// (ISO/IEC 15438: text, byte and numeric compaction, Reed-Solomon error correction over GF(929),
// row indicators, clusters 0/3/6). It knows nothing of drawing; the caller owns the record, keeps
// it on its stack and renders the matrix itself.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// Bits of PDF417Param::options.
inline constexpr int32_t kPDF417FixedRectangle = 1; // use the given codeColumns x codeRows
inline constexpr int32_t kPDF417FixedColumns = 2;   // use the given codeColumns
inline constexpr int32_t kPDF417FixedRows = 4;      // use the given codeRows (wins over columns)
inline constexpr int32_t kPDF417UseErrorLevel = 16; // errorLevel is a minimum, not chosen
inline constexpr int32_t kPDF417RawCodewords = 64;  // codewords/lenCodewords given, no compaction
inline constexpr int32_t kPDF417InvertBitmap = 128; // set bit = light module

// Values of PDF417Param::error.
inline constexpr int32_t kPDF417ErrorNone = 0;
inline constexpr int32_t kPDF417ErrorTextTooBig = 1;    // over 5420 bytes or 926 data codewords
inline constexpr int32_t kPDF417ErrorInvalidParams = 2; // bad raw codewords, bad or empty text

// Limits of the symbol.
inline constexpr int32_t kPDF417MaxTextBytes = 5420;
inline constexpr int32_t kPDF417MaxDataCodewords = 926; // length descriptor included
inline constexpr int32_t kPDF417MaxCodewords = 928;

struct PDF417Param {
  // Output: rows x ((bitColumns - 1) / 8 + 1) bytes, first module of a byte in its top bit.
  std::vector<uint8_t> bitMatrix;
  int32_t lenBitMatrix = 0; // bytes in bitMatrix
  int32_t bitColumns = 0;   // 17 x codeColumns + 69
  int32_t codeRows = 0;     // 3-90; input with a fixed rectangle or fixed rows
  int32_t codeColumns = 0;  // 1-30; input with a fixed rectangle or fixed columns
  std::array<int32_t, kPDF417MaxCodewords> codewords{}; // input with kPDF417RawCodewords
  int32_t lenCodewords = 0;                             // output: total including error correction
  int32_t errorLevel = 0; // 0-8; input with kPDF417UseErrorLevel, output always
  std::string_view text;  // the bytes to encode
  int32_t lenText = -1;   // negative: up to the first zero byte of text (or all of it)
  int32_t options = 0;
  float aspectRatio = 0.5f; // automatic sizing only
  float yHeight = 3.0f;     // row height factor, automatic sizing only
  int32_t error = kPDF417ErrorNone;
};

// Encodes p->text (or the raw codewords) into p->bitMatrix. On return p->error is set; when it is
// kPDF417ErrorNone the matrix, its size, the codewords and the error level are filled, otherwise
// there is no matrix.
void paintCode(PDF417Param* p);

// Resets the record to the defaults (automatic size and level, text measured, aspect ratio 0.5,
// row height 3) and returns it.
PDF417Param* pdf417init(PDF417Param* p);

// Releases the bit matrix.
void pdf417free(PDF417Param* p);
