#include "render/epsf/EPSF.h"

#include "model/BarCodeStrings.h"
#include "services/MacRoman.h"

#include <charconv>
#include <cstdio>
#include <ctime>

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

// A number with a fixed count of decimals, as printf's %.Nf writes it in the C locale (without
// printf's cost, which a picture of a hundred bars pays hundreds of times).
std::string Format(double value, int decimals) {
  char buffer[400]; // the longest double in fixed notation, with its decimals
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, written.ptr);
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

void AppendRect(BarCodeRect r, std::string& eps, std::string_view procedure) {
  const float x2 = r.x + r.width, y2 = r.y + r.height;
  for (float v : {r.x, r.y, x2, y2})
    eps += Format(v, 0) + ' ';
  AppendLine(eps, procedure);
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
  ReplaceAll(eps, "  ", " ");
  ReplaceAll(eps, std::string(kLineMark) + ' ', kLineMark);
  ReplaceAll(eps, ' ' + std::string(kLineMark), kLineMark);
  ReplaceAll(eps, kLineMark, "\n");
  return 0;
}
