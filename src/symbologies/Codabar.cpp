#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <string_view>

namespace {

// Codabar (ANSI/AIM BC3) characters in the order of their patterns: digits, six symbols, then the
// start/stop characters a-d. Each is 7 elements drawn 1 : 3 and followed by a 1-unit gap.
constexpr std::u32string_view kCharacters = U"0123456789-$:/.+abcd";
constexpr size_t kElements = 7;
constexpr float kBarBottom = 16;
constexpr LinearTextLayout kText{10, 5, 7, 7};

bool IsStartStop(char32_t c) {
  return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd');
}

char32_t LowerStartStop(char32_t c) {
  return (c >= 'A' && c <= 'D') ? c - 'A' + 'a' : c;
}

int WidthOf(std::string_view widths) {
  int width = 0;
  for (char w : widths)
    width += w - '0';
  return width;
}

} // namespace

int BarCodeMakeCodabar(cairo_t* cg, BarCodeDataRec* rec) {
  std::u32string data = Utf8Decode(*rec->data);
  if (data.empty()) return 0;
  if (!IsStartStop(data.front())) data.insert(data.begin(), U'a');
  if (!IsStartStop(data.back())) data += U'b';
  const std::string text = LinearDisplayText(*rec, Utf8Encode(data));

  std::string pattern;
  for (char32_t c : data) {
    const size_t index = kCharacters.find(LowerStartStop(c));
    if (index != std::u32string_view::npos) pattern += BarCodeCodabar[index];
  }
  const std::string widths = LinearWideNarrowWidths(pattern, kElements);
  const auto top = static_cast<float>(48 - LinearTrim(*rec, 30));
  const BarCodeRect box{0, 0, static_cast<float>(WidthOf(widths)), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  BarCodeDrawWidths(canvas, widths, 0, kBarBottom, top);
  LinearDrawText(canvas, kText, text);
  BarCodeEndSymbol(canvas);
  return 0;
}
