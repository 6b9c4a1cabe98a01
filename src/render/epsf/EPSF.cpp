#include "render/epsf/EPSF.h"

#include "model/BarCodeStrings.h"
#include "services/MacRoman.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iterator>

namespace {

// While a picture is built its lines end in this two-character mark; the close step turns every
// mark into a line feed. Text runs can never form one (see EPSFFilterText).
constexpr std::string_view kLineMark = "\\r";

// Both procedures keep real carriage returns, which the close step leaves alone.
constexpr std::string_view kPathLines = "/y2 exch def\r/x2 exch def\r/y1 exch def\r/x1 exch def\r"
                                        "newpath\rx1 y1 moveto\rx1 y2 lineto\rx2 y2 lineto\r"
                                        "x2 y1 lineto\rx1 y1 lineto\rclosepath\r";

void AppendLine(std::string& eps, std::string_view line) {
  eps += line;
  eps += kLineMark;
}

// Appends a number with a fixed count of decimals, as printf's %.Nf writes it in the C locale
// (without printf's cost, which a picture of a hundred bars pays hundreds of times).
void AppendNumber(std::string& eps, double value, int decimals) {
  char buffer[400]; // the longest double in fixed notation, with its decimals
  char* end = nullptr;
  // Most numbers are whole (bars stand on whole units): their digits need no conversion of a
  // fraction. Negative zero keeps its sign, as printf writes it.
  if (value == std::trunc(value) && std::abs(value) < 1e15 && !std::signbit(value)) {
    end = std::to_chars(buffer, std::end(buffer), static_cast<int64_t>(value)).ptr;
    if (decimals > 0) {
      *end++ = '.';
      end = std::fill_n(end, decimals, '0');
    }
  } else {
    end = std::to_chars(buffer, std::end(buffer), value, std::chars_format::fixed, decimals).ptr;
  }
  eps.append(buffer, end);
}

std::string Format(double value, int decimals) {
  std::string text;
  AppendNumber(text, value, decimals);
  return text;
}

std::string FormatInt(int value) {
  return std::to_string(value);
}

// The creation date in the locale's short date and time, as a desktop shows it.
std::string CreationDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%x %H:%M", &local);
  return std::string(TrimWhiteSpace(buffer));
}

// The names of the glyphs of Mac OS Roman's upper half, bytes 0x80 to 0xFF (Apple's ROMAN.TXT with
// Adobe's glyph names), written as the tail of a PostScript array.
constexpr std::string_view kMacRomanUpperGlyphs =
    "/Adieresis/Aring/Ccedilla/Eacute/Ntilde/Odieresis/Udieresis/aacute\r"
    "/agrave/acircumflex/adieresis/atilde/aring/ccedilla/eacute/egrave\r"
    "/ecircumflex/edieresis/iacute/igrave/icircumflex/idieresis/ntilde/oacute\r"
    "/ograve/ocircumflex/odieresis/otilde/uacute/ugrave/ucircumflex/udieresis\r"
    "/dagger/degree/cent/sterling/section/bullet/paragraph/germandbls\r"
    "/registered/copyright/trademark/acute/dieresis/notequal/AE/Oslash\r"
    "/infinity/plusminus/lessequal/greaterequal/yen/mu/partialdiff/summation\r"
    "/product/pi/integral/ordfeminine/ordmasculine/Omega/ae/oslash\r"
    "/questiondown/exclamdown/logicalnot/radical/florin/approxequal/Delta/guillemotleft\r"
    "/guillemotright/ellipsis/space/Agrave/Atilde/Otilde/OE/oe\r"
    "/endash/emdash/quotedblleft/quotedblright/quoteleft/quoteright/divide/lozenge\r"
    "/ydieresis/Ydieresis/fraction/Euro/guilsinglleft/guilsinglright/fi/fl\r"
    "/daggerdbl/periodcentered/quotesinglbase/quotedblbase/perthousand/Acircumflex/Ecircumflex/"
    "Aacute\r"
    "/Edieresis/Egrave/Iacute/Icircumflex/Idieresis/Igrave/Oacute/Ocircumflex\r"
    "/apple/Ograve/Uacute/Ucircumflex/Ugrave/dotlessi/circumflex/tilde\r"
    "/macron/breve/dotaccent/ring/cedilla/hungarumlaut/ogonek/caron\r";

// PostScript fonts come in StandardEncoding, where the bytes above 0x7F name other glyphs or none.
// A font that shows such a byte is copied under the name "<font>-MacRoman" with the Mac OS Roman
// encoding, defined by this procedure (new name, font name); ASCII keeps its own glyphs but for
// the straight quote and the grave, which StandardEncoding curls.
constexpr std::string_view kReencodeProcedure =
    "/VXmacroman StandardEncoding 256 array copy def\r"
    "VXmacroman 39 /quotesingle put VXmacroman 96 /grave put\r"
    "VXmacroman 128 [\r";
constexpr std::string_view kReencodeProcedureEnd =
    "] putinterval\r"
    "/VXreencode {\r"
    "findfont dup length dict begin\r"
    "{1 index /FID ne {def} {pop pop} ifelse} forall\r"
    "/Encoding VXmacroman def\r"
    "currentdict end definefont pop\r"
    "} def\r";
constexpr std::string_view kFindFont = " findfont";
constexpr std::string_view kMacRomanSuffix = "-MacRoman";
// The last line of the prologue's procedures, after which the re-encoding goes.
constexpr std::string_view kProceduresEnd = "stroke\r} def\r";

bool HasUpperHalf(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
}

// Makes the font selected last show Mac OS Roman: the re-encoding procedure goes into the
// prologue once, and the selection becomes one of the re-encoded copy.
void ReencodeLastFont(std::string& eps) {
  const size_t find = eps.rfind(std::string(kFindFont) + std::string(kLineMark));
  if (find == std::string::npos) return;
  const size_t markEnd = eps.rfind(kLineMark, find);
  const size_t crEnd = eps.rfind('\r', find);
  size_t start = 0;
  if (markEnd != std::string::npos) start = markEnd + kLineMark.size();
  if (crEnd != std::string::npos) start = std::max(start, crEnd + 1);
  const std::string font = eps.substr(start, find - start); // "/Name"
  if (font.ends_with(kMacRomanSuffix)) return;
  const std::string copy = font + std::string(kMacRomanSuffix);
  eps.replace(start, find - start,
              copy + ' ' + font + " VXreencode" + std::string(kLineMark) + copy);
  if (eps.find("/VXreencode {") != std::string::npos) return;
  const size_t prologue = eps.find(kProceduresEnd);
  if (prologue == std::string::npos) return;
  eps.insert(prologue + kProceduresEnd.size(), std::string(kReencodeProcedure) +
                                                   std::string(kMacRomanUpperGlyphs) +
                                                   std::string(kReencodeProcedureEnd));
}

void AppendRect(BarCodeRect r, std::string& eps, std::string_view procedure) {
  const float x2 = r.x + r.width, y2 = r.y + r.height;
  for (float v : {r.x, r.y, x2, y2}) {
    AppendNumber(eps, v, 0);
    eps += ' ';
  }
  AppendLine(eps, procedure);
}

// The close step's four rewrites of the whole text, each over the result of the one before: "  "
// becomes " ", then a mark followed by a space the mark alone, then a space followed by a mark the
// mark alone, then every mark a line feed. One pass does all four: each rewrite holds back the
// characters that may begin its pattern and hands the rest to the next, and a character that
// begins no pattern while none holds anything goes straight out. Nothing ever comes out longer
// than it went in, so the result is written over the text as it is read.
class LineCloser {
public:
  // Most characters, a single space before one of them, and a mark between two of them, begin no
  // pattern: while nothing is held they go straight out (see CloseLines).
  static bool Plain(char c) { return c != ' ' && c != '\\'; }
  bool Idle() const { return !halving_ && held_[0] == 0 && held_[1] == 0 && held_[2] == 0; }
  void WriteAt(char* out) { out_ = out; }
  // The first rewrite, halving runs of spaces, takes a character and hands on what it lets out.
  void Put(char c) {
    if (c == ' ') {
      if (halving_) Step(0, ' ');
      halving_ = !halving_;
      return;
    }
    if (halving_) Step(0, ' ');
    halving_ = false;
    Step(0, c);
  }
  void Flush() {
    if (halving_) Step(0, ' ');
    halving_ = false;
    for (size_t k = 0; k < kPatterns.size(); ++k)
      Release(k);
  }
  char* End() const { return out_; }

private:
  struct Pattern {
    std::string_view find, replace;
  };
  static constexpr std::array<Pattern, 3> kPatterns{
      {{"\\r ", kLineMark}, {" \\r", kLineMark}, {kLineMark, "\n"}}};

  // Rewrite k takes a character. None of the patterns begins with its own end, so a held start
  // that fails is handed on whole and the character is tried afresh.
  void Step(size_t k, char c) {
    if (k == kPatterns.size()) {
      *out_++ = c;
      return;
    }
    const Pattern& p = kPatterns[k];
    if (c == p.find[held_[k]]) {
      if (++held_[k] < p.find.size()) return;
      held_[k] = 0;
      for (char r : p.replace)
        Step(k + 1, r);
      return;
    }
    Release(k);
    if (c == p.find[0])
      held_[k] = 1;
    else
      Step(k + 1, c);
  }
  void Release(size_t k) {
    const size_t held = held_[k];
    held_[k] = 0;
    for (size_t i = 0; i < held; ++i)
      Step(k + 1, kPatterns[k].find[i]);
  }

  char* out_ = nullptr;
  bool halving_ = false;
  std::array<size_t, 3> held_{};
};

void CloseLines(std::string& eps) {
  char* const begin = eps.data();
  char* out = begin;
  const char* in = begin;
  const char* const end = begin + eps.size();
  LineCloser closer;
  while (in < end) {
    if (LineCloser::Plain(*in)) {
      *out++ = *in++;
    } else if (*in == ' ' && in + 1 < end && LineCloser::Plain(in[1])) {
      out[0] = ' ';
      out[1] = in[1];
      out += 2;
      in += 2;
    } else if (*in == '\\' && end - in > 2 && in[1] == 'r' && LineCloser::Plain(in[2])) {
      // A mark between two lines that neither ends nor begins with a space.
      out[0] = '\n';
      out[1] = in[2];
      out += 2;
      in += 3;
    } else {
      closer.WriteAt(out);
      do
        closer.Put(*in++);
      while (in < end && !closer.Idle());
      out = closer.End();
    }
  }
  closer.WriteAt(out);
  closer.Flush();
  eps.resize(static_cast<size_t>(closer.End() - begin));
}

} // namespace

int EPSFOpenPicture(BarCodeRect bounds, std::string& eps, int32_t scale) {
  const double factor = scale / 100.0;
  const auto extent = [&](float size) { return Format(static_cast<float>(size * factor), 4); };
  AppendLine(eps, "%!PS-Adobe-3.0 EPSF-3.0");
  AppendLine(eps, kEPSFCreatorComment);
  AppendLine(eps, "%%Title: " + std::string(kEPSFTitlePlaceholder));
  AppendLine(eps, std::string(kEPSFMetaComment) + std::string(kEPSFMetaPlaceholder));
  AppendLine(eps, "%%CreationDate: " + CreationDate());
  AppendLine(eps, "%%DocumentData: Clean7Bit");
  AppendLine(eps, "%%Origin: 0 0");
  AppendLine(eps, "%%BoundingBox: 0 0 " + extent(bounds.width) + ' ' + extent(bounds.height));
  AppendLine(eps, "%%DPI: 72");
  AppendLine(eps, "%%Magnification: " + FormatInt(scale) + '%');
  for (std::string_view line : {"%%LanguageLevel: 2", "%%Pages: 1", "%%Page: 1 1", "%%EndComments",
                                "gsave", "0 setgray", "1 setlinewidth", "0 0 translate"})
    AppendLine(eps, line);
  const std::string s = Format(static_cast<float>(factor), 2);
  AppendLine(eps, s + ' ' + s + " scale");
  AppendLine(eps, "0 0 moveto");
  eps += "/VXfillrect {\r";
  eps += kPathLines;
  eps += "fill\r} def\r";
  eps += "/VXdrawrect {\r";
  eps += kPathLines;
  eps += "stroke\r} def\r";
  return 0;
}

int EPSFPaintRect(BarCodeRect rect, std::string& eps) {
  AppendRect(rect, eps, "VXfillrect");
  return 0;
}

int EPSFFrameRect(BarCodeRect rect, std::string& eps) {
  AppendRect(rect, eps, "VXdrawrect");
  return 0;
}

int EPSFPenSize(int16_t width, std::string& eps) {
  AppendLine(eps, FormatInt(width) + " setlinewidth");
  return 0;
}

int EPSFSetFontFaceSize(std::string_view fontName, int16_t size, std::string& eps) {
  std::string name;
  EPSFFilterText(name, fontName);
  AppendLine(eps, '/' + name + " findfont");
  AppendLine(eps, FormatInt(size) + " scalefont");
  AppendLine(eps, "setfont");
  return 0;
}

int EPSFPrintText(int16_t x, int16_t y, std::string_view text, std::string& eps) {
  AppendLine(eps, "newpath");
  AppendLine(eps, FormatInt(x) + ' ' + FormatInt(y) + " moveto");
  std::string run = "(";
  EPSFFilterText(run, text);
  AppendLine(eps, run + ") show");
  AppendLine(eps, "closepath");
  if (HasUpperHalf(MacRomanFromUtf8Lossy(text))) ReencodeLastFont(eps);
  return 0;
}

// Writes text so that it can neither end the PostScript string nor be changed by the close step:
// the text goes out in Mac OS Roman, parentheses get a backslash, and the backslash, every byte
// outside printable ASCII and every space that follows a space become octal escapes. The picture
// thus stays 7-bit clean and no text forms a line mark or a double space.
int EPSFFilterText(std::string& out, std::string_view text) {
  const std::string bytes = MacRomanFromUtf8Lossy(text);
  char previous = 0;
  for (char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    if (byte == '(' || byte == ')') {
      out += '\\';
      out += byte;
    } else if (byte == '\\' || b < 0x20 || b > 0x7E || (byte == ' ' && previous == ' ')) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\%03o", b);
      out += escape;
    } else {
      out += byte;
    }
    previous = byte;
  }
  return 0;
}

int EPSFSetData(std::string& eps, std::string_view find, std::string_view replace) {
  ReplaceAll(eps, find, replace);
  return 0;
}

int EPSFClosePicture(std::string& eps) {
  AppendLine(eps, "grestore");
  AppendLine(eps, "%%EOF");
  CloseLines(eps);
  return 0;
}
