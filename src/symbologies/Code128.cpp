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

// Code set A holds the characters 0-95, the controls as the values 64-95; code set B holds the
// characters 32-127 as the values 0-95. A character of U+0080-U+00FF is FNC4 followed by the
// character 128 below it (ISO/IEC 15417, 4.3.4.2).
enum class CodeSet { A, B };

bool InSet(CodeSet set, char32_t c) {
  return set == CodeSet::A ? c < 96 : c >= 32 && c < 128;
}

int ValueIn(CodeSet set, char32_t c) {
  return (set == CodeSet::A && c < 32) ? static_cast<int>(c) + 64 : static_cast<int>(c) - 32;
}

char32_t Base(char32_t c) {
  return c >= 128 ? c - 128 : c;
}

bool IsDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

// Digit pairs in code set C; an odd last digit follows CODE B, so that the symbol holds exactly the
// digits given and no digit is added. A lone digit is shorter as one character of code set B.
void EncodeDigits(std::u32string_view digits, Code128Symbol& symbol) {
  if (digits.size() == 1) {
    symbol.values.push_back(ValueIn(CodeSet::B, digits[0]));
    return;
  }
  symbol.start = kCode128StartC;
  size_t k = 0;
  for (; k + 1 < digits.size(); k += 2)
    symbol.values.push_back((digits[k] - '0') * 10 + (digits[k + 1] - '0'));
  if (k < digits.size()) {
    symbol.values.push_back(kCode128CodeB);
    symbol.values.push_back(ValueIn(CodeSet::B, digits[k]));
  }
}

// Text in code set B, as every symbol without control characters has always been drawn; a control
// character goes behind a shift to code set A when the character after it is back in the current
// set, and a run of them switches sets. Characters beyond U+00FF are not carried: the size
// computation refuses such data.
void EncodeText(std::u32string_view text, Code128Symbol& symbol) {
  const auto firstOwn = std::find_if(text.begin(), text.end(), [](char32_t c) {
    return InSet(CodeSet::A, Base(c)) != InSet(CodeSet::B, Base(c));
  });
  CodeSet set = (firstOwn != text.end() && Base(*firstOwn) < 32) ? CodeSet::A : CodeSet::B;
  symbol.start = set == CodeSet::A ? kCode128StartA : kCode128StartB;
  std::vector<int>& values = symbol.values;
  for (size_t k = 0; k < text.size(); ++k) {
    const char32_t c = text[k], base = Base(c);
    if (c > 0xFF) continue;
    if (!InSet(set, base)) {
      const CodeSet other = set == CodeSet::A ? CodeSet::B : CodeSet::A;
      const bool lone = c < 128 && (k + 1 == text.size() || InSet(set, Base(text[k + 1])));
      if (lone) {
        values.push_back(kCode128Shift);
        values.push_back(ValueIn(other, base));
        continue;
      }
      values.push_back(other == CodeSet::A ? kCode128CodeAFromB : kCode128CodeBFromA);
      set = other;
    }
    if (c >= 128) values.push_back(set == CodeSet::A ? kCode128FNC4InA : kCode128FNC4InB);
    values.push_back(ValueIn(set, base));
  }
}

// Human-readable lines (size, first x, step, baseline): set B characters stand under their own
// symbol characters, digits two to a character in a smaller face.
constexpr LinearTextLayout kTextB{10, 21, 11, 1};
constexpr LinearTextLayout kTextDigits{7, 10, 7, 2};

} // namespace

Code128Symbol Code128Encode(std::u32string_view data, bool fnc1) {
  Code128Symbol symbol;
  if (fnc1) symbol.values.push_back(kCode128FNC1);
  symbol.digits = !data.empty() && std::all_of(data.begin(), data.end(), IsDigit);
  if (symbol.digits)
    EncodeDigits(data, symbol);
  else
    EncodeText(data, symbol);
  return symbol;
}

char32_t Code128FirstUncarried(std::u32string_view data) {
  const auto it = std::find_if(data.begin(), data.end(), [](char32_t c) { return c > 0xFF; });
  return it == data.end() ? 0 : *it;
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
  std::string widths(BarCodeEAN128Sym[symbol.start]);
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
