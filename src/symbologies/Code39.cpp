#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>

namespace {

// A Code 39 character (ANSI/AIM BC1) is 9 elements, 5 bars and 4 spaces, drawn 1 : 3, followed
// by a 1-unit gap: 3 wide elements make it 6 + 9 + 1 = 16 units. The symbol carries no quiet zone
// of its own and its box ends at the last bar, before the last gap.
constexpr size_t kElements = 9;
constexpr int kCharacter = 6 * 1 + 3 * 3 + 1;
static_assert(kCharacter == 16);
constexpr float kBarBottom = 16;
constexpr LinearTextLayout kText{10, 5, 7, 7};

} // namespace

int BarCodeMakeCode39(cairo_t* cg, BarCodeDataRec* rec) {
  std::u32string data = Utf8Decode(*rec->data);
  if (data.empty()) return 0; // nothing to frame with start and stop: never drawable
  if (data.front() != '*') data.insert(data.begin(), U'*');
  if (data.back() != '*') data += U'*';
  std::erase_if(data, [](char32_t c) { return c >= 128; });
  const std::string text = LinearDisplayText(*rec, Utf8Encode(data));

  std::string pattern;
  for (char32_t c : data)
    pattern += BarCodeCode39[c];
  const int groups = static_cast<int>(pattern.size() / kElements);
  const auto top = static_cast<float>(48 - LinearTrim(*rec, 25));
  const BarCodeRect box{0, 0, static_cast<float>(kCharacter * groups - 1), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  BarCodeDrawWidths(canvas, LinearWideNarrowWidths(pattern, kElements), 0, kBarBottom, top);
  LinearDrawText(canvas, kText, text);
  BarCodeEndSymbol(canvas);
  return 0;
}
