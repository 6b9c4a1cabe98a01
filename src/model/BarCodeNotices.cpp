#include "model/BarCodeNotices.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"

#include <cstdio>

namespace {

// Data is quoted whole up to this many characters; longer data by its start, so that a notice
// stays one line.
constexpr size_t kQuoted = 40;

std::string Quoted(std::string_view text) {
  const std::u32string chars = Utf8Decode(text);
  if (chars.size() <= kQuoted) return std::string(text);
  return Utf8Encode(std::u32string_view(chars).substr(0, kQuoted - 1)) + "…";
}

} // namespace

std::string BarCodeNoticeName(const BarCodeDataRec& rec) {
  std::string name;
  BarCodeSymName(name, static_cast<int16_t>(rec.symbology));
  return name;
}

std::string BarCodeCharacterName(char32_t c) {
  if (c > ' ' && c != 0x7F && !IsWhiteSpace(c)) return Utf8Encode(std::u32string(1, c));
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

std::string BarCodeCannotCarry(const BarCodeDataRec& rec, char32_t c) {
  return BarCodeNoticeName(rec) + " cannot carry the character " + BarCodeCharacterName(c);
}

std::string BarCodeFitDigits(const BarCodeDataRec& rec, std::string_view digits, size_t length,
                             std::string_view takes) {
  std::string fitted(digits);
  if (fitted.size() == length) return fitted;
  PadCFStrText(fitted, static_cast<int32_t>(length), "0");
  const char* change = digits.size() < length ? " was padded with zeros to " : " was cut to ";
  BarCodeNote(rec, BarCodeNoticeName(rec) + " takes " + std::string(takes) + ": " + Quoted(digits) +
                       change + fitted);
  return fitted;
}

void BarCodeNoteReadAs(const BarCodeDataRec& rec, std::string_view typed, std::string_view result,
                       std::string_view rule) {
  if (typed == result) return;
  BarCodeNote(rec, BarCodeNoticeName(rec) + ' ' + std::string(rule) + ": " + Quoted(typed) +
                       " was read as " + Quoted(result));
}

void BarCodeNoteCheckReplaced(const BarCodeDataRec& rec, char typed, char right) {
  if (typed == right) return;
  BarCodeNote(rec, BarCodeNoticeName(rec) + " check digit " + typed +
                       " was wrong: the symbol carries " + right + " instead");
}

void BarCodeNoteGS1Check(const BarCodeDataRec& rec, std::string_view digits) {
  if (digits.empty() || !IsDigits(digits)) return;
  const char typed = digits.back();
  const char right = static_cast<char>('0' + BarCodeCheckSum(digits.substr(0, digits.size() - 1)));
  if (typed == right) return;
  BarCodeNote(rec, BarCodeNoticeName(rec) + " check digit " + typed + " is wrong, it should be " +
                       right + ": the symbol carries it as typed");
}
