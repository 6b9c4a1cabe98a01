#include "model/BarCodeTexts.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"

namespace {

// Weighted sum of the characters' values (code − 48), weights alternating from the rightmost
// character. Non-digits are not rejected here: the front ends filter them.
int32_t WeightedSum(std::string_view digits, int32_t oddWeight, int32_t evenWeight) {
  std::u32string chars = Utf8Decode(digits);
  int32_t sum = 0;
  bool odd = true;
  for (auto c = chars.rbegin(); c != chars.rend(); ++c, odd = !odd)
    sum += (static_cast<int32_t>(*c) - 48) * (odd ? oddWeight : evenWeight);
  return sum;
}

// A remainder that stays in 0-9 whatever the characters were, so that callers can index a table
// with it safely.
int16_t Mod10(int32_t value) {
  return static_cast<int16_t>(((value % 10) + 10) % 10);
}

std::string JoinedText(const BarCodeDataRec& rec) {
  std::string text;
  BarCodeSymName(text, static_cast<int16_t>(rec.symbology));
  text += ' ';
  if (rec.data) text += *rec.data;
  text += ' ';
  if (rec.addon) text += *rec.addon;
  return std::string(TrimWhiteSpace(text));
}

} // namespace

int16_t BarCodeCheckSum(std::string_view digits) {
  return Mod10(10 - Mod10(WeightedSum(digits, 3, 1)));
}

int16_t BarCodeAddParity(std::string_view digits) {
  return Mod10(WeightedSum(digits, 3, 9));
}

int BarCodeMacroText(std::string& out, const BarCodeDataRec& rec) {
  // The data goes in exactly as held, blanks at its end included, so that a document opens as it
  // was saved (QR Code and PDF417 data may end in blanks, or be blanks only); only the blank that
  // would separate an empty add-on is left out.
  out = "\u00AB";
  BarCodeSymName(out, static_cast<int16_t>(rec.symbology));
  out += ' ';
  if (rec.data) out += *rec.data;
  if (rec.addon && !rec.addon->empty()) out += ' ' + *rec.addon;
  out += "\u00BB";
  return 0;
}

int BarCodeTitleText(std::string& out, const BarCodeDataRec& rec) {
  out = JoinedText(rec);
  return 0;
}
