#include "services/MacRoman.h"

#include "model/BarCodeStrings.h"

#include <cerrno>
#include <iconv.h>

namespace {

// glibc knows Mac OS Roman as MACINTOSH.
constexpr const char* kMacRoman = "MACINTOSH";

class Converter {
public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of in; false at the first character that cannot be converted.
  bool Convert(std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      const size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, dst - buffer);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

private:
  iconv_t cd_;
};

} // namespace

std::optional<std::string> MacRomanFromUtf8(std::string_view text) {
  Converter converter(kMacRoman, "UTF-8");
  std::string out;
  if (!converter.ok() || !Utf8Valid(text) || !converter.Convert(text, out)) return std::nullopt;
  return out;
}

std::string MacRomanFromUtf8Lossy(std::string_view text) {
  Converter converter(kMacRoman, "UTF-8");
  std::string out;
  for (char32_t c : Utf8Decode(text)) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    std::string one;
    if (!converter.ok() || !converter.Convert(Utf8Encode(std::u32string(1, c)), one))
      one.assign(1, '?');
    out += one;
  }
  return out;
}

std::string MacRomanToUtf8(std::string_view bytes) {
  Converter converter("UTF-8", kMacRoman);
  std::string out;
  if (converter.ok() && converter.Convert(bytes, out)) return out;
  // Every byte value is defined in Mac OS Roman; reaching this means iconv lacks the charset.
  out.clear();
  for (char b : bytes)
    out += (static_cast<unsigned char>(b) < 0x80) ? b : '?';
  return out;
}
