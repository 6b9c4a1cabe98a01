#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "render/epsf/EPSF.h"
#include "services/MacRoman.h"
#include "services/Services.h"

#include <array>
#include <memory>

namespace {

// The title and meta lines are PostScript comments: a line end inside them would start a line
// of PostScript. Control characters go in as the escapes the command line reads back.
std::string CommentText(std::string_view text) {
  static constexpr std::array<std::string_view, 32> kEscapes = [] {
    std::array<std::string_view, 32> escapes{};
    escapes.fill("?");
    escapes['\t'] = "\\t";
    escapes['\n'] = "\\n";
    escapes['\v'] = "\\v";
    escapes['\f'] = "\\f";
    escapes['\r'] = "\\r";
    return escapes;
  }();
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20)
      out += kEscapes[static_cast<unsigned char>(c)];
    else
      out += c;
  }
  return out;
}

// What Mac OS Roman can show of a text, with "?" for the rest.
std::string MacRomanPart(std::string_view text) {
  return MacRomanToUtf8(MacRomanFromUtf8Lossy(text));
}

// A macro text that Mac OS Roman cannot hold shows what it can in the meta line; the text then
// follows in full, as hex of its UTF-8 bytes so that the file stays 7-bit clean, in a line that the
// document reader prefers.
std::string MetaLines(std::string_view macro) {
  const std::string line = CommentText(macro);
  if (MacRomanFromUtf8(macro)) return line;
  std::string lines = MacRomanPart(line) + '\n' + std::string(kEPSFMetaUtf8Comment);
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : macro) {
    lines += kHex[static_cast<unsigned char>(c) >> 4];
    lines += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  return lines;
}

} // namespace

bool OutputRenderEPS(const BarCodeDataRec& rec, std::string_view fileName, std::string& out) {
  BarCodeDataRec copy = rec;
  copy.epsText = std::make_shared<std::string>();
  copy.epsText->reserve(8192); // most pictures: their text is never copied as it grows
  BarCodeUpdateImage(nullptr, 0, 0, &copy);
  if (copy.epsText->empty()) return false;
  std::string macro;
  BarCodeMacroText(macro, rec);
  EPSFSetData(*copy.epsText, kEPSFTitlePlaceholder, MacRomanPart(CommentText(fileName)));
  EPSFSetData(*copy.epsText, kEPSFMetaPlaceholder, MetaLines(macro));
  out = std::move(*copy.epsText);
  return true;
}

OutputResult OutputFileEPSF(const std::string& path, const BarCodeDataRec& rec, float, float) {
  const size_t slash = path.rfind('/');
  std::string eps;
  if (!OutputRenderEPS(rec, slash == std::string::npos ? path : path.substr(slash + 1), eps))
    return OutputResult::NotDrawable;
  const std::optional<std::string> bytes = MacRomanFromUtf8(eps);
  if (!bytes) return OutputResult::NotMacRoman;
  return OutputStoreBytes(path, FourCharCode("EPSF"), kMyAppSignature, *bytes);
}

std::string_view OutputResultText(OutputResult result) {
  switch (result) {
  case OutputResult::Ok:
    return "done";
  case OutputResult::NotDrawable:
    return "the data cannot be drawn in this symbology";
  case OutputResult::NotMacRoman:
    return "the text holds characters that Mac OS Roman cannot express";
  case OutputResult::CannotRender:
    return "the image could not be made (too large or out of memory)";
  case OutputResult::CannotWrite:
    return "the file could not be written";
  case OutputResult::IsFolder:
    return "the output path names a folder, not a file";
  case OutputResult::TooWide:
    return "the image is wider than the format can hold (PICT: 4095 pixels); choose PNG or TIFF";
  case OutputResult::NoClipboard:
    return "no clipboard is available (needs a display and wl-copy or xclip)";
  }
  return "unknown error";
}
