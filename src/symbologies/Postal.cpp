#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>
#include <string>

namespace {

// POSTNET (USPS DMM 708.4): bars 1 unit wide every 3 units, full bars 9 units high and half bars
// 4. Only a negative trim acts: it makes the box and every bar taller.
constexpr int kPostNetPitch = 3;
constexpr int kPostNetFull = 9, kPostNetHalf = 4;

// ZIP (5), ZIP+4 (9) or delivery point (11) digits.
std::string PostNetDigits(const BarCodeDataRec& rec) {
  std::string digits = *rec.data;
  std::erase_if(digits, [](char c) { return c < '0' || c > '9'; });
  BarCodeNoteReadAs(rec, *rec.data, digits, "carries digits only");
  const size_t length = digits.size() <= 5 ? 5 : digits.size() <= 9 ? 9 : 11;
  return BarCodeFitDigits(rec, digits, length, "5, 9 or 11 digits");
}

char PostNetCheck(std::string_view digits) {
  int sum = 0;
  for (char d : digits)
    sum += d - '0';
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// RM4SCC (Royal Mail 4-State Customer Code): bars 2 units wide every 4 units. A tracker spans
// 8-12, an ascender reaches up to 21 and a descender down to 0; a negative trim lifts them all.
constexpr int kRM4SCCPitch = 4, kRM4SCCBar = 2;
constexpr int kRM4SCCMinimum = 7; // postcode and delivery point: the shortest customer code
constexpr int kRM4SCCFrame = 2 * kRM4SCCPitch + 4 * kRM4SCCPitch; // start, stop, check character
static_assert(kRM4SCCFrame == 24);

std::string RM4SCCCharacters(const BarCodeDataRec& rec) {
  std::string kept;
  for (char32_t c : Utf8Decode(*rec.data)) {
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) kept += static_cast<char>(c);
  }
  BarCodeNoteReadAs(rec, *rec.data, kept, "carries capitals and digits only");
  return kept;
}

int RM4SCCValue(char c) {
  return c <= '9' ? c - '0' : c - 'A' + 10;
}

int BinaryValue(std::string_view bits) {
  int value = 0;
  for (char bit : bits)
    value = value * 2 + (bit == '1');
  return value;
}

// The check character: the row numbers of the characters (their ascender half) and their column
// numbers (the descender half) each summed modulo 6, 0 read as 6. The first three flags of a half
// spell the row or column number 1-6 in binary.
char RM4SCCCheck(std::string_view characters) {
  int rows = 0, columns = 0;
  for (char c : characters) {
    const std::string_view flags = BarCodeRM4SCC[RM4SCCValue(c)];
    rows += BinaryValue(flags.substr(0, 3));
    columns += BinaryValue(flags.substr(4, 3));
  }
  const int row = rows % 6 == 0 ? 6 : rows % 6;
  const int column = columns % 6 == 0 ? 6 : columns % 6;
  const int value = (row - 1) * 6 + (column - 1);
  return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

// Draws one bar from its ascender and descender flags.
void DrawRM4SCCBar(const BarCodeCanvas& canvas, int x, bool up, bool down, int lift) {
  const int bottom = (down ? 0 : 8) + lift;
  const int top = (up ? 21 : 12) + lift;
  BarCodePaintRect(canvas, {static_cast<float>(x), static_cast<float>(bottom),
                            static_cast<float>(kRM4SCCBar), static_cast<float>(top - bottom)});
}

} // namespace

int BarCodeMakePostNet(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = PostNetDigits(*rec);
  std::string bars(BarCodePostStrt);
  for (char d : digits)
    bars += BarCodePostNet[d - '0'];
  bars += BarCodePostNet[PostNetCheck(digits) - '0'];
  bars += BarCodePostStop;

  const int grow = -LinearTrim(*rec, 0);
  const int width = kPostNetPitch * static_cast<int>(bars.size()) - 2;
  const BarCodeRect box{0, 0, static_cast<float>(width), static_cast<float>(kPostNetFull + grow)};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  for (size_t k = 0; k < bars.size(); ++k) {
    const int height = (bars[k] == '1' ? kPostNetFull : kPostNetHalf) + grow;
    BarCodePaintRect(canvas,
                     {static_cast<float>(kPostNetPitch * k), 0, 1, static_cast<float>(height)});
  }
  BarCodeEndSymbol(canvas);
  return 0;
}

int BarCodeMakeRM4SCC(cairo_t* cg, BarCodeDataRec* rec) {
  std::string characters = RM4SCCCharacters(*rec);
  if (static_cast<int>(characters.size()) < kRM4SCCMinimum) return 0; // never drawable
  const int width = kRM4SCCFrame + 4 * kRM4SCCPitch * static_cast<int>(characters.size());
  characters += RM4SCCCheck(characters);

  const int lift = -LinearTrim(*rec, 0);
  const BarCodeRect box{0, 0, static_cast<float>(width), static_cast<float>(21 + lift)};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  int x = 0;
  DrawRM4SCCBar(canvas, x, BarCodeRM4SCCSt[0] == '1', BarCodeRM4SCCSt[1] == '1', lift);
  for (char c : characters) {
    const std::string_view flags = BarCodeRM4SCC[RM4SCCValue(c)];
    for (int bar = 0; bar < 4; ++bar) {
      x += kRM4SCCPitch;
      DrawRM4SCCBar(canvas, x, flags[bar] == '1', flags[4 + bar] == '1', lift);
    }
  }
  x += kRM4SCCPitch;
  DrawRM4SCCBar(canvas, x, BarCodeRM4SCCSp[0] == '1', BarCodeRM4SCCSp[1] == '1', lift);
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedPostNet(const BarCodeDataRec& rec) {
  const std::string digits = PostNetDigits(rec);
  return digits + PostNetCheck(digits);
}

std::string BarCodeCarriedRM4SCC(const BarCodeDataRec& rec) {
  const std::string characters = RM4SCCCharacters(rec);
  return characters + RM4SCCCheck(characters);
}
