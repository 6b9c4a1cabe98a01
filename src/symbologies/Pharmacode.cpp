#include "symbologies/Pharmacode.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>
#include <cstdint>

namespace {

// Pharmacode (Laetus): a narrow bar 1 unit, a wide bar 3 units, 2 units between bars, no quiet
// zone. The value keeps at most 9 digits, whatever the front end let through.
constexpr size_t kMaxCharacters = 9;
constexpr int kNarrow = 1, kWide = 3, kSpace = 2;
constexpr int kTextStep = 7;
constexpr LinearTextLayout kText{10, 0, kTextStep, 1};

// The leading integer of a text: an optional sign and the digits that follow it.
int64_t LeadingInteger(std::u32string_view text) {
  size_t k = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++k;
  int64_t value = 0;
  for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k)
    value = value * 10 + (text[k] - '0');
  return negative ? -value : value;
}

// The one-track range (Laetus): 3 is the smallest value of two bars, 131070 the largest of 16.
constexpr int64_t kLowest = 3, kHighest = 131070;

// The value the bars stand for: from the right, a narrow bar adds 2^k and a wide bar 2^(k+1).
int64_t BarsValue(std::string_view bars) {
  int64_t value = 0, weight = 1;
  for (auto bar = bars.rbegin(); bar != bars.rend(); ++bar, weight *= 2)
    value += *bar == '1' ? 2 * weight : weight;
  return value;
}

// Says where the number drawn is not the data typed: cut to its last digits, read from text that
// is no plain number, or outside the range of the code.
void NoteValue(const BarCodeDataRec& rec, std::u32string_view data) {
  const std::u32string_view text = PharmacodeText(data);
  const std::string kept = Utf8Encode(text);
  if (text.size() < data.size())
    BarCodeNote(rec, "Pharmacode takes at most 9 digits: " + *rec.data + " was cut to " + kept);
  const int64_t value = LeadingInteger(text);
  if (!IsDigits(kept)) BarCodeNoteReadAs(rec, kept, std::to_string(value), "reads a number");
  if (value < kLowest || value > kHighest)
    BarCodeNote(rec,
                "Pharmacode values run from 3 to 131070: " + std::to_string(value) + " is outside");
}

} // namespace

std::string BarCodeCarriedPharmacode(const BarCodeDataRec& rec) {
  const std::u32string data = Utf8Decode(*rec.data);
  NoteValue(rec, data);
  return std::to_string(BarsValue(PharmacodeBars(data)));
}

std::u32string_view PharmacodeText(std::u32string_view data) {
  return data.substr(data.size() > kMaxCharacters ? data.size() - kMaxCharacters : 0);
}

std::string PharmacodeBars(std::u32string_view data) {
  int64_t v = LeadingInteger(PharmacodeText(data));
  std::string bars;
  do {
    const bool odd = v % 2 != 0;
    bars.insert(bars.begin(), odd ? '0' : '1');
    v = odd ? (v - 1) / 2 : (v - 2) / 2;
  } while (v > 0);
  return bars;
}

int PharmacodeBarsWidth(std::string_view bars) {
  int width = 0;
  for (char bar : bars)
    width += bar == '1' ? kWide : kNarrow;
  return width + kSpace * (static_cast<int>(bars.size()) - 1);
}

int BarCodeMakePharmacode(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string text = LinearDisplayText(*rec, *rec->data);
  const std::u32string data = Utf8Decode(*rec->data);
  NoteValue(*rec, data);
  const std::string bars = PharmacodeBars(data);
  int width = PharmacodeBarsWidth(bars);
  const int grow = -LinearTrim(*rec, 0);
  float bottom = 0, top = static_cast<float>(12 + grow);
  if (rec->textVisible == 1) {
    bottom = 13;
    top = static_cast<float>(25 + grow);
    width = std::max(width, kTextStep * static_cast<int>(PharmacodeText(data).size()));
  }
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, static_cast<float>(width), top});
  BarCodeDrawWidths(canvas, LinearBitWidths(bars, "12", "32"), 0, bottom, top);
  LinearDrawText(canvas, kText, text);
  BarCodeEndSymbol(canvas);
  return 0;
}
