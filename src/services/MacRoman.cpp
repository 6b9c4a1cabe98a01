#include "services/MacRoman.h"

#include "model/BarCodeStrings.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The characters of bytes 0x80-0xFF in Mac OS Roman, as Apple's published mapping (ROMAN.TXT)
// gives them; bytes below 0x80 are ASCII. A table rather than iconv: opening a converter loads
// gconv modules, which costs the command line more than writing the whole EPS file.
constexpr std::array<char32_t, 128> kUpperHalf{
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, // 0x80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8, // 0x88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, // 0x90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, // 0x98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, // 0xA0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, // 0xA8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, // 0xB0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, // 0xB8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, // 0xC0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, // 0xC8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, // 0xD0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, // 0xD8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, // 0xE0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, // 0xE8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, // 0xF0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7, // 0xF8
};

// Characters that older tables give for two of the bytes (glibc among them). They stand for those
// bytes only where a text may lose characters: the bytes read back as the characters above, so a
// text kept in Mac OS Roman (a document, an EPS file's request) would come back as other data, and
// other barcode data, for a Greek capital delta.
struct Alias {
  char32_t c;
  unsigned char byte;
};
constexpr std::array<Alias, 2> kAliases{{{0x0394, 0xC6}, {0xE01E, 0xF0}}};

int ByteFor(char32_t c, bool lossy) {
  if (c < 0x80) return static_cast<int>(c);
  for (size_t i = 0; i < kUpperHalf.size(); ++i)
    if (kUpperHalf[i] == c) return static_cast<int>(0x80 + i);
  for (const Alias& alias : kAliases)
    if (lossy && alias.c == c) return alias.byte;
  return -1;
}

} // namespace

namespace {

// Mac OS Roman bytes of UTF-8 text, `lossy` giving "?" for what it cannot hold; false for text
// it cannot hold or bytes that are not UTF-8 when not lossy. ASCII runs, nearly all of an EPS
// file, are copied as they are; only the runs of other bytes, whole characters each, are decoded.
bool Convert(std::string_view text, bool lossy, std::string& out) {
  out.reserve(text.size());
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  for (auto at = text.begin(); at != text.end();) {
    auto high = at;
    // Eight bytes at a time while none has its high bit set.
    for (uint64_t word; text.end() - high >= 8; high += 8) {
      std::memcpy(&word, &*high, 8);
      if (word & 0x8080808080808080u) break;
    }
    high = std::find_if_not(high, text.end(), ascii);
    out.append(at, high);
    const auto end = std::find_if(high, text.end(), ascii);
    const std::string_view run(high, end);
    if (!lossy && !Utf8Valid(run)) return false;
    for (char32_t c : Utf8Decode(run)) {
      const int byte = ByteFor(c, lossy);
      if (byte < 0 && !lossy) return false;
      out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    at = end;
  }
  return true;
}

} // namespace

std::optional<std::string> MacRomanFromUtf8(std::string_view text) {
  std::string out;
  if (!Convert(text, false, out)) return std::nullopt;
  return out;
}

std::string MacRomanFromUtf8Lossy(std::string_view text) {
  std::string out;
  Convert(text, true, out);
  return out;
}

std::string MacRomanToUtf8(std::string_view bytes) {
  std::u32string chars;
  chars.reserve(bytes.size());
  for (char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    chars += byte < 0x80 ? char32_t{byte} : kUpperHalf[byte - 0x80];
  }
  return Utf8Encode(chars);
}
