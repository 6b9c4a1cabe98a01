#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>

namespace {

// Module positions of a Code 93 symbol (ANSI/AIM BC5): 9 modules per character for the start,
// each data character, the check characters C and K, and 10 for the stop with its final bar. The
// symbol carries no quiet zone of its own.
constexpr int kCharacter = 9;
constexpr int kStop = 10;
constexpr int kFrame = kCharacter + 2 * kCharacter + kStop;
static_assert(kFrame == 37);
constexpr int kStartEntry = 132;
constexpr int kStopEntry = 133;
constexpr float kBarBottom = 16;
constexpr LinearTextLayout kText{10, 5, 7, 7};

// A check value 0-46 as the character whose pattern draws it.
char32_t Code93Character(int value) {
  if (value < 10) return U'0' + value;
  if (value < 36) return U'A' + (value - 10);
  if (value < 43) return U"-. $/+%"[value - 36];
  return kCode93ShiftDollar + (value - 43);
}

// The weighted sum of the standard's check characters: weights 1, 2, ... from the right,
// starting again at 1 after maxWeight.
int CheckValue(std::u32string_view characters, int maxWeight) {
  int64_t sum = 0;
  for (size_t k = 0; k < characters.size(); ++k) {
    const int weight = static_cast<int>(k % maxWeight) + 1;
    sum += static_cast<int64_t>(weight) *
           BarCodeConvASC_Code93(static_cast<int32_t>(characters[characters.size() - 1 - k]));
  }
  return static_cast<int>(sum % 47);
}

} // namespace

int BarCodeMakeCode93(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string text = LinearDisplayText(*rec, *rec->data);
  std::u32string data = Utf8Decode(*rec->data);
  std::erase_if(data, [](char32_t c) { return c >= 128; });

  std::u32string characters; // the Code 93 characters of the data, shifts as codes 128-131
  std::string widths(BarCodeCode93[kStartEntry]);
  for (char32_t c : data) {
    std::u32string pair;
    BarCodeConvChr_Code93(pair, static_cast<int32_t>(c));
    characters += pair;
    widths += BarCodeCode93[c];
  }
  const int width = kFrame + kCharacter * static_cast<int>(characters.size());
  const char32_t checkC = Code93Character(CheckValue(characters, 20));
  characters += checkC;
  const char32_t checkK = Code93Character(CheckValue(characters, 15));
  widths += BarCodeCode93[checkC];
  widths += BarCodeCode93[checkK];
  widths += BarCodeCode93[kStopEntry];

  const auto top = static_cast<float>(48 - LinearTrim(*rec, 25));
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, static_cast<float>(width), top});
  BarCodeDrawWidths(canvas, widths, 0, kBarBottom, top);
  LinearDrawText(canvas, kText, text);
  BarCodeEndSymbol(canvas);
  return 0;
}
