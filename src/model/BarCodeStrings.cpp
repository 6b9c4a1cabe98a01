#include "model/BarCodeStrings.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"

#include <algorithm>
#include <array>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the UTF-8 sequence led by b, 0 for a byte that cannot lead one.
int SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// Decodes one character at text[i]; advances i past it. A malformed sequence yields U+FFFD and
// consumes exactly one byte, so no read ever passes the end of the text.
char32_t DecodeAt(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const int len = SequenceLength(lead);
  if (len == 1) return text[i++];
  if (len == 0 || i + len > text.size()) return ++i, kReplacement;
  char32_t c = lead & (0xFF >> (len + 1));
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return ++i, kReplacement;
    c = (c << 6) | (b & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kMin{0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return ++i, kReplacement;
  i += len;
  return c;
}

bool IsAsciiLetter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

} // namespace

std::u32string Utf8Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();)
    out += DecodeAt(text, i);
  return out;
}

std::string Utf8Encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool Utf8Valid(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t at = i;
    if (DecodeAt(text, i) == kReplacement && text.substr(at, 3) != "\xEF\xBF\xBD") return false;
  }
  return true;
}

size_t Utf8Length(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++n)
    DecodeAt(text, i);
  return n;
}

bool IsWhiteSpace(char32_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool IsDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view TrimWhiteSpace(std::string_view text) {
  std::u32string chars = Utf8Decode(text);
  size_t first = 0, last = chars.size();
  while (first < last && IsWhiteSpace(chars[first]))
    ++first;
  while (last > first && IsWhiteSpace(chars[last - 1]))
    --last;
  const size_t head = Utf8Encode(chars.substr(0, first)).size();
  const size_t body = Utf8Encode(chars.substr(first, last - first)).size();
  return text.substr(head, body);
}

void ReplaceAll(std::string& text, std::string_view find, std::string_view replace) {
  if (find.empty() || text.find(find) == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::string::npos; from = at + find.size()) {
    out.append(text, from, at - from);
    out += replace;
  }
  out.append(text, from);
  text = std::move(out);
}

int FixCFStringMetaChars(std::string& text) {
  ReplaceAll(text, "\\r", "\r");
  ReplaceAll(text, "\\n", "\n");
  ReplaceAll(text, "\\t", "\t");
  ReplaceAll(text, "\\f", "\f");
  ReplaceAll(text, "\\v", "\v");
  return 0;
}

int TruncCFStrText(std::string& text, int32_t n) {
  std::u32string chars = Utf8Decode(text);
  if (n >= 0 && chars.size() > static_cast<size_t>(n)) text = Utf8Encode(chars.substr(0, n));
  return 0;
}

int PadCFStrText(std::string& text, int32_t n, std::string_view pad) {
  std::u32string chars = Utf8Decode(text);
  const size_t want = n < 0 ? 0 : static_cast<size_t>(n);
  const std::u32string fill = Utf8Decode(pad);
  if (chars.size() < want && !fill.empty()) {
    std::u32string padding;
    while (padding.size() < want - chars.size())
      padding += fill;
    padding.resize(want - chars.size());
    chars = padding + chars;
  }
  if (chars.size() > want) chars.resize(want);
  text = Utf8Encode(chars);
  return 0;
}

int MakeCFStringNorm(std::string& text, int16_t n, int16_t spacesAllowed) {
  std::u32string chars = Utf8Decode(text);
  if (!spacesAllowed) {
    const size_t space = chars.find(U' ', 1);
    if (space != std::u32string::npos) chars.resize(space);
  }
  if (n >= 0 && chars.size() > static_cast<size_t>(n)) chars.resize(n);
  text = Utf8Encode(chars);
  return 0;
}

int MakeCFStringDigit(std::string& text, int16_t noLetters, int16_t noDigits) {
  std::string out;
  for (char32_t c : Utf8Decode(TrimWhiteSpace(text)))
    if ((!noDigits && IsAsciiDigit(c)) || (!noLetters && IsAsciiLetter(c)))
      out += static_cast<char>(c);
  text = std::move(out);
  return 0;
}

int MakeCFStringTrim(std::string& text, int16_t mode, char32_t c) {
  std::u32string chars = Utf8Decode(TrimWhiteSpace(text));
  if (mode == 1) std::erase(chars, c);
  text = Utf8Encode(chars);
  return 0;
}

namespace {

enum class Clean : uint8_t { Unchanged, Digits, Alnum, TrimCut, DigitsThenCut, NoSpaces, Escapes };

struct CleanRule {
  Clean data;
  int16_t dataLimit;
  int16_t addonLimit; // 0: the add-on is emptied
};

// By symbology code. The limits are applied before the filters, so separators count against them.
constexpr std::array<CleanRule, kBarCodeCount + 1> kCleanRules{{
    {Clean::Unchanged, 0, -1},    // none
    {Clean::Digits, 13, 5},       // EAN-13
    {Clean::Digits, 8, 0},        // EAN-8
    {Clean::TrimCut, 250, 0},     // EAN-128
    {Clean::Digits, 14, 0},       // EAN-14
    {Clean::Digits, 18, 0},       // EAN-18
    {Clean::Digits, 10, 0},       // EAN-99
    {Clean::Digits, 10, 0},       // EAN-Coupon
    {Clean::Digits, 12, 5},       // UPC-A
    {Clean::Digits, 8, 0},        // UPC-E
    {Clean::TrimCut, 250, 0},     // Code-128
    {Clean::TrimCut, 250, 0},     // Code-93
    {Clean::TrimCut, 250, 0},     // Code-39
    {Clean::Digits, 250, 0},      // Code-25
    {Clean::Digits, 12, 30},      // UPC-Coupon
    {Clean::Digits, 250, 0},      // Codabar
    {Clean::Alnum, 18, 5},        // ISSN
    {Clean::Alnum, 18, 5},        // ISBN
    {Clean::Alnum, 18, 0},        // ISMN
    {Clean::Digits, 13, 0},       // PostNet
    {Clean::NoSpaces, 12, 0},     // RM4SCC
    {Clean::DigitsThenCut, 9, 0}, // Pharmacode
    {Clean::Digits, 250, 0},      // MSI
    {Clean::Digits, 14, 0},       // ITF-SCC
    {Clean::Digits, 14, 0},       // ITF-14
    {Clean::Digits, 250, 0},      // Interleaved-25
    {Clean::Escapes, 7089, 0},    // QRCode
    {Clean::Escapes, 1850, 0},    // PDF417
}};

void CleanField(std::string& text, Clean how, int16_t limit, int16_t spaces) {
  switch (how) {
  case Clean::Unchanged:
    break;
  case Clean::Digits:
  case Clean::Alnum:
    MakeCFStringNorm(text, limit, spaces);
    MakeCFStringDigit(text, how == Clean::Digits, 0);
    break;
  case Clean::TrimCut:
    // Trimmed again after the cut, which may end in blanks that a second cleaning would drop: the
    // data a window keeps and saves cleans to itself.
    MakeCFStringTrim(text, 0, 0);
    MakeCFStringNorm(text, limit, spaces);
    MakeCFStringTrim(text, 0, 0);
    break;
  case Clean::DigitsThenCut:
    MakeCFStringDigit(text, 1, 0);
    MakeCFStringNorm(text, limit, spaces);
    break;
  case Clean::NoSpaces:
    MakeCFStringTrim(text, 1, U' ');
    MakeCFStringNorm(text, limit, spaces);
    break;
  case Clean::Escapes:
    FixCFStringMetaChars(text);
    MakeCFStringNorm(text, limit, spaces);
    break;
  }
}

} // namespace

int BarCodeCleanData(BarCodeDataRec* rec) {
  if (rec->symbology < 1 || rec->symbology > kBarCodeCount) return 0;
  const CleanRule& rule = kCleanRules[rec->symbology];
  const int16_t spaces = BarCodeTextSpaces(static_cast<int16_t>(rec->symbology));
  const std::string data = *rec->data, addon = *rec->addon;
  CleanField(*rec->data, rule.data, rule.dataLimit, spaces);
  if (rule.addonLimit == 0)
    rec->addon->clear();
  else
    CleanField(*rec->addon, Clean::Digits, rule.addonLimit, spaces);
  BarCodeNoteReadAs(*rec, data, *rec->data, "input keeps what the symbology takes");
  if (*rec->addon != addon)
    BarCodeNote(*rec, "the add-on " + addon + " was read as " +
                          (rec->addon->empty() ? std::string("none") : *rec->addon));
  return 0;
}
