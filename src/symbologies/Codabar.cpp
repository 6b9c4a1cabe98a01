#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
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

// The data with its start and stop letters: "a" in front and "b" after unless it begins or ends
// with one of A-D.
std::u32string Framed(std::string_view data) {
  std::u32string framed = Utf8Decode(data);
  if (framed.empty()) return framed;
  if (!IsStartStop(framed.front())) framed.insert(framed.begin(), U'a');
  if (!IsStartStop(framed.back())) framed += U'b';
  return framed;
}

} // namespace

std::string BarCodeCarriedCodabar(const BarCodeDataRec& rec) {
  const std::u32string framed = Framed(*rec.data);
  return framed.size() < 2 ? std::string() : Utf8Encode(framed.substr(1, framed.size() - 2));
}

// A start/stop letter inside the data would end the symbol there for a reader, and a character
// without a pattern would go missing: neither is drawn.
std::string BarCodeRefuseCodabar(const BarCodeDataRec& rec) {
  const std::u32string framed = Framed(*rec.data);
  const std::string name = BarCodeNoticeName(rec);
  if (framed.size() < 3) return name + " data holds nothing between its start and stop letters";
  for (size_t k = 1; k + 1 < framed.size(); ++k) {
    if (IsStartStop(framed[k]))
      return name + " data holds the start/stop letter " + BarCodeCharacterName(framed[k]) +
             " inside";
    if (kCharacters.find(framed[k]) == std::u32string_view::npos)
      return BarCodeCannotCarry(rec, framed[k]);
  }
  return {};
}

int BarCodeMakeCodabar(cairo_t* cg, BarCodeDataRec* rec) {
  const std::u32string data = Framed(*rec->data);
  if (data.empty()) return 0;
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
