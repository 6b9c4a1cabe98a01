#include "symbologies/Code128.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>

namespace {

// Module positions of a Code 128 symbol (ISO/IEC 15417): a 10-module quiet zone on each side, an
// 11-module start, data and check character each, and the 13-module stop with its final bar.
constexpr int kQuiet = 10;
constexpr int kCharacter = 11;
constexpr int kStop = 13;
constexpr int kFrame = kQuiet + kCharacter + kCharacter + kStop + kQuiet;
static_assert(kFrame == 55);
constexpr float kBarBottom = 12;

// Code set B holds the characters 32-127 as the values 0-95.
constexpr int CodeSetB(char32_t c) {
  return static_cast<int>(c) - 32;
}

bool IsDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

// Digit pairs in code set C; an odd last digit follows CODE B, so that the symbol holds exactly the
// digits given and no digit is added. A lone digit is shorter as one character of code set B.
void EncodeDigits(std::u32string_view digits, Code128Symbol& symbol) {
  if (digits.size() == 1) {
    symbol.values.push_back(CodeSetB(digits[0]));
    return;
  }
  symbol.start = kCode128StartC;
  size_t k = 0;
  for (; k + 1 < digits.size(); k += 2)
    symbol.values.push_back((digits[k] - '0') * 10 + (digits[k + 1] - '0'));
  if (k < digits.size()) {
    symbol.values.push_back(kCode128CodeB);
    symbol.values.push_back(CodeSetB(digits[k]));
  }
}

// Human-readable lines (size, first x, step, baseline): set B characters stand under their own
// symbol characters, digits two to a character in a smaller face.
constexpr LinearTextLayout kTextB{10, 21, 11, 1};
constexpr LinearTextLayout kTextDigits{7, 10, 7, 2};

} // namespace

Code128Symbol Code128Encode(std::u32string_view data, bool fnc1) {
  std::u32string text(data);
  std::erase_if(text, [](char32_t c) { return c >= 128; });
  Code128Symbol symbol;
  if (fnc1) symbol.values.push_back(kCode128FNC1);
  symbol.digits = !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
  if (symbol.digits) {
    EncodeDigits(text, symbol);
    return symbol;
  }
  for (char32_t c : text)
    if (c >= 32) symbol.values.push_back(CodeSetB(c));
  return symbol;
}

int64_t Code128DataCount(std::u32string_view data) {
  return static_cast<int64_t>(Code128Encode(data, false).values.size());
}

int Code128CheckValue(const Code128Symbol& symbol) {
  int64_t sum = symbol.start;
  for (size_t k = 0; k < symbol.values.size(); ++k)
    sum += static_cast<int64_t>(symbol.values[k]) * static_cast<int64_t>(k + 1);
  return static_cast<int>(sum % 103);
}

int Code128Width(const Code128Symbol& symbol) {
  return kFrame + kCharacter * static_cast<int>(symbol.values.size());
}

int Code128MakeSymbol(cairo_t* cg, const BarCodeDataRec& rec, const Code128Symbol& symbol,
                      int height, std::string_view text) {
  const auto top = static_cast<float>(height);
  const BarCodeRect box{0, 0, static_cast<float>(Code128Width(symbol)), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, rec, box);
  std::string widths = BarCodeEAN128Sym[symbol.start];
  for (int value : symbol.values)
    widths += BarCodeEAN128Sym[value];
  widths += BarCodeEAN128Sym[Code128CheckValue(symbol)];
  widths += BarCodeEAN128Stop;
  BarCodeDrawWidths(canvas, widths, kQuiet, kBarBottom, top);
  LinearDrawText(canvas, symbol.digits ? kTextDigits : kTextB, text);
  BarCodeEndSymbol(canvas);
  return 0;
}

int BarCodeMakeCode128(cairo_t* cg, BarCodeDataRec* rec) {
  const Code128Symbol symbol = Code128Encode(Utf8Decode(*rec->data), false);
  return Code128MakeSymbol(cg, *rec, symbol, 60 - LinearTrim(*rec, 40),
                           LinearDisplayText(*rec, *rec->data));
}
