#include "symbologies/Code39.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
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

constexpr std::u32string_view kNativeSymbols = U"-. $/+%";
// The full-ASCII pairs of the four symbols that are also shift characters (ANSI/AIM BC1, table of
// full-ASCII Code 39).
constexpr std::u32string_view kShiftSymbols = U"$/+%";
constexpr std::u32string_view kShiftLetters = U"DOKE";

bool IsNative(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         kNativeSymbols.find(c) != std::u32string_view::npos;
}

} // namespace

std::u32string Code39Framed(std::u32string_view data) {
  std::u32string framed(data);
  if (framed.empty() || framed.front() != '*') framed.insert(framed.begin(), U'*');
  if (framed.back() != '*') framed += U'*';
  return framed;
}

std::u32string_view Code39Inner(std::u32string_view framed) {
  return framed.size() < 2 ? std::u32string_view{} : framed.substr(1, framed.size() - 2);
}

bool Code39NeedsFullAscii(std::u32string_view inner) {
  return !std::all_of(inner.begin(), inner.end(), IsNative);
}

std::string Code39Pattern(std::u32string_view framed) {
  const bool fullAscii = Code39NeedsFullAscii(Code39Inner(framed));
  std::string pattern;
  for (size_t k = 0; k < framed.size(); ++k) {
    const char32_t c = framed[k];
    if (c >= 128) continue; // refused by the size computation; never read past the table
    const size_t shift = kShiftSymbols.find(c);
    const bool inner = k > 0 && k + 1 < framed.size();
    if (fullAscii && inner && shift != std::u32string_view::npos) {
      pattern += BarCodeCode39['/'];
      pattern += BarCodeCode39[kShiftLetters[shift]];
    } else {
      pattern += BarCodeCode39[c];
    }
  }
  return pattern;
}

int BarCodeMakeCode39(cairo_t* cg, BarCodeDataRec* rec) {
  const std::u32string framed = Code39Framed(Utf8Decode(*rec->data));
  const std::string text = LinearDisplayText(*rec, Utf8Encode(framed));
  const std::string pattern = Code39Pattern(framed);
  const int groups = static_cast<int>(pattern.size() / kElements);
  const auto top = static_cast<float>(48 - LinearTrim(*rec, 25));
  const BarCodeRect box{0, 0, static_cast<float>(kCharacter * groups - 1), top};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  BarCodeDrawWidths(canvas, LinearWideNarrowWidths(pattern, kElements), 0, kBarBottom, top);
  LinearDrawText(canvas, kText, text);
  BarCodeEndSymbol(canvas);
  return 0;
}

std::string BarCodeCarriedCode39(const BarCodeDataRec& rec) {
  return Utf8Encode(Code39Inner(Code39Framed(Utf8Decode(*rec.data))));
}

std::string BarCodeRefuseCode39(const BarCodeDataRec& rec) {
  const std::u32string framed = Code39Framed(Utf8Decode(*rec.data));
  const std::u32string_view inner = Code39Inner(framed);
  const std::string name = BarCodeNoticeName(rec);
  for (char32_t c : framed)
    if (c >= 128) return BarCodeCannotCarry(rec, c);
  if (inner.empty()) return name + " data holds nothing between its start and stop characters";
  if (inner.find(U'*') != std::u32string_view::npos)
    return name + " data holds the start/stop character * inside";
  return {};
}
