#include "app/DocFile.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"
#include "render/epsf/EPSF.h"
#include "services/MacRoman.h"
#include "services/Services.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

constexpr char32_t kBlank = U' ';
constexpr char32_t kMacroOpen = U'\u00AB';
constexpr char32_t kMacroClose = U'\u00BB';

constexpr uint32_t kTypeDocument = FourCharCode("BARC");
constexpr uint32_t kTypeEPS = FourCharCode("EPSF");
constexpr uint32_t kTypeText = FourCharCode("TEXT");
// The creator of a file that no known program claims.
constexpr uint32_t kCreatorUnknown = FourCharCode("????");

constexpr size_t kToEnd = SIZE_MAX;

// Characters from..to of the text (to not included), cut at its end.
std::string Chars(std::u32string_view text, size_t from, size_t to) {
  if (from >= text.size()) return {};
  return Utf8Encode(text.substr(from, std::min(to, text.size()) - from));
}

// What scanners type: a symbology identifier "]" + letter + modifier (ISO/IEC 15424: E EAN/UPC,
// I ITF, C Code 128, A Code 39, G Code 93, F Codabar), then the data. The first row that matches
// the second and third characters decides.
struct ScannerRule {
  char32_t second;            // 0: any other second character
  std::u32string_view thirds; // the third characters the row takes; empty: any
  int32_t symbology;
  size_t dataFrom, dataTo;
  size_t addonFrom, addonTo; // equal: no add-on
  const char* fixedData;     // an add-on read alone comes with an all-zero main symbol
};
constexpr ScannerRule kScannerRules[] = {
    {U'E', U"0", kBarCodeEAN13, 3, 16, 0, 0, nullptr},
    {U'E', U"1", kBarCodeEAN13, 0, 0, 3, 5, "0000000000000"},
    {U'E', U"2", kBarCodeEAN13, 0, 0, 3, 8, "0000000000000"},
    {U'E', U"3", kBarCodeEAN13, 3, 16, 16, 21, nullptr},
    {U'E', U"4", kBarCodeEAN8, 3, 11, 0, 0, nullptr},
    {U'E', U"", kBarCodeEAN13, 2, kToEnd, 0, 0, nullptr},
    {U'I', U"012", kBarCodeITFSCC, 3, 17, 0, 0, nullptr},
    {U'I', U"", kBarCodeITFSCC, 2, kToEnd, 0, 0, nullptr},
    {U'C', U"012", kBarCodeEAN128, 3, kToEnd, 0, 0, nullptr},
    {U'C', U"", kBarCodeEAN128, 2, kToEnd, 0, 0, nullptr},
    {U'A', U"0123", kBarCodeCode39, 3, kToEnd, 0, 0, nullptr},
    {U'A', U"", kBarCodeCode39, 2, kToEnd, 0, 0, nullptr},
    {U'G', U"0", kBarCodeCode93, 3, kToEnd, 0, 0, nullptr},
    {U'G', U"", kBarCodeCode93, 2, kToEnd, 0, 0, nullptr},
    {U'F', U"0", kBarCodeCodabar, 3, kToEnd, 0, 0, nullptr},
    {U'F', U"", kBarCodeCodabar, 2, kToEnd, 0, 0, nullptr},
    {0, U"", kBarCodeEAN13, 1, 14, 14, 19, nullptr},
};
// Text without an identifier: an EAN-13 with its add-on, as most scanners send it.
constexpr ScannerRule kScannerPlain{0, U"", kBarCodeEAN13, 0, 13, 13, 18, nullptr};

const ScannerRule& ScannerRuleFor(std::u32string_view text) {
  if (text.empty() || text[0] != U']') return kScannerPlain;
  for (const ScannerRule& rule : kScannerRules) {
    const bool second = rule.second == 0 || (text.size() > 1 && text[1] == rule.second);
    const bool third = rule.thirds.empty() ||
                       (text.size() > 2 && rule.thirds.find(text[2]) != std::u32string_view::npos);
    if (second && third) return rule;
  }
  return kScannerRules[std::size(kScannerRules) - 1];
}

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// The header comments of an EPS file, one line at a time (this system ends lines with CR, others
// with LF or both), until the first line that is not a comment or ends them.
template <class Visit> void ForEachHeaderComment(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    if (!line.starts_with('%') || line == "%%EndComments") return;
    if (visit(line)) return;
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

bool WrittenByThisSystem(std::string_view eps) {
  bool ours = false;
  ForEachHeaderComment(eps, [&](std::string_view line) {
    ours = TrimWhiteSpace(line) == kEPSFCreatorComment;
    return ours;
  });
  return ours;
}

// An EPS file's macro text is its meta line; reading only that line keeps a title (the file's
// name) that happens to hold « or » from hiding it.
std::string_view MetaLine(std::string_view eps) {
  std::string_view meta = eps;
  ForEachHeaderComment(eps, [&](std::string_view line) {
    if (!line.starts_with(kEPSFMetaComment)) return false;
    meta = line;
    return true;
  });
  return meta;
}

// The bytes a text of hex digit pairs stands for; none when it is anything else.
std::optional<std::string> HexBytes(std::string_view hex) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  if (hex.size() % 2) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const auto digit = [&](char c) {
      return kDigits.find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    };
    const size_t high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
    bytes += static_cast<char>(high << 4 | low);
  }
  return bytes;
}

// The whole macro text that an EPS file carries beside a meta line that could not hold every
// character, as the hex of its UTF-8 bytes. None when the file has no such line or it holds no
// UTF-8 text.
std::optional<std::string> MetaUtf8Text(std::string_view eps) {
  std::optional<std::string> text;
  ForEachHeaderComment(eps, [&](std::string_view line) {
    if (!line.starts_with(kEPSFMetaUtf8Comment)) return false;
    text = HexBytes(TrimWhiteSpace(line.substr(kEPSFMetaUtf8Comment.size())));
    return true;
  });
  if (text && (text->empty() || !Utf8Valid(*text))) return std::nullopt;
  return text;
}

// A file of bytes that all stand for characters: no NUL (found in every bitmap format this system
// writes), and neither a PDF, whose compressed streams may lack one, nor an SVG picture.
bool LooksLikeText(std::string_view bytes) {
  return bytes.find('\0') == std::string_view::npos && !bytes.starts_with("%PDF-") &&
         !bytes.starts_with("<?xml");
}

// A document's bytes: its macro text, « (0xC7 in Mac OS Roman) to » (0xC8), perhaps with blanks
// or a line end an editor added. Scanners type no «, so such a text is a document that lost its
// name.
bool LooksLikeDocument(std::string_view bytes) {
  constexpr std::string_view kLineEnds = " \t\r\n";
  const size_t first = bytes.find_first_not_of(kLineEnds), last = bytes.find_last_not_of(kLineEnds);
  return first != std::string_view::npos && bytes[first] == '\xC7' && bytes[last] == '\xC8';
}

OutputResult DocFileWrite(const std::string& path, const BarCodeDataRec& rec) {
  std::string macro;
  BarCodeMacroText(macro, rec);
  const std::optional<std::string> bytes = MacRomanFromUtf8(macro);
  if (!bytes) return OutputResult::NotMacRoman;
  return OutputStoreBytes(path, kTypeDocument, kMyAppSignature, *bytes);
}

} // namespace

bool BarCodeDataRequestValid(std::string_view request, BarCodeDataRec* rec) {
  const std::u32string text = Utf8Decode(request);
  size_t blank[3] = {0, 0, 0};
  size_t blanks = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == kBlank && blanks++ < 3) blank[blanks - 1] = i;
  if (blanks == 0) return false;
  const int32_t code = BarCodeSymType(Chars(text, 0, blank[0]));
  if (code <= 0) return false;
  std::string data, addon;
  if (BarCodeTextSpaces(static_cast<int16_t>(code)) == 1 || blanks == 1) {
    data = Chars(text, blank[0] + 1, kToEnd);
  } else {
    data = Chars(text, blank[0] + 1, blank[1]);
    addon = Chars(text, blank[1] + 1, blanks == 2 ? kToEnd : blank[2]);
  }
  rec->symbology = code;
  *rec->data = std::move(data);
  *rec->addon = std::move(addon);
  return true;
}

bool BarCodeDataMetaValid(std::string_view text, BarCodeDataRec* rec) {
  const std::u32string chars = Utf8Decode(text);
  const size_t open = chars.find(kMacroOpen), first = chars.find(kMacroClose);
  if (open == std::u32string::npos || first == std::u32string::npos || first < open) return false;
  // The request ends at the last », not the first: data may hold » (Code 128, QR Code), and the
  // writers put nothing after the macro text.
  return BarCodeDataRequestValid(Chars(chars, open + 1, chars.rfind(kMacroClose)), rec);
}

bool BarCodeDataTextValid(std::string_view text, BarCodeDataRec* rec) {
  const std::u32string chars = Utf8Decode(text);
  const ScannerRule& rule = ScannerRuleFor(chars);
  rec->symbology = rule.symbology;
  *rec->data =
      rule.fixedData ? std::string(rule.fixedData) : Chars(chars, rule.dataFrom, rule.dataTo);
  *rec->addon = Chars(chars, rule.addonFrom, rule.addonTo);
  return true;
}

DocReader DocFileReaderFor(uint32_t type, uint32_t creator) {
  if (creator == kMyAppSignature &&
      (type == kTypeDocument || type == kTypeEPS || type == kTypeText))
    return DocReader::MacroText;
  if (type == kTypeText) return DocReader::ScannerText;
  return DocReader::None;
}

bool DocFileRead(std::string_view text, uint32_t type, uint32_t creator, BarCodeDataRec* rec) {
  switch (DocFileReaderFor(type, creator)) {
  case DocReader::MacroText:
    if (type != kTypeEPS) return BarCodeDataMetaValid(text, rec);
    if (const std::optional<std::string> exact = MetaUtf8Text(text))
      return BarCodeDataMetaValid(*exact, rec);
    return BarCodeDataMetaValid(MetaLine(text), rec);
  case DocReader::ScannerText:
    return BarCodeDataTextValid(text, rec);
  case DocReader::None:
    break;
  }
  return false;
}

void DocFileGuessTypeAndCreator(std::string_view name, std::string_view bytes, uint32_t& type,
                                uint32_t& creator) {
  type = creator = 0;
  if (EndsWithNoCase(name, kDocFileExtension)) {
    type = kTypeDocument;
    creator = kMyAppSignature;
  } else if (bytes.starts_with("%!PS") || EndsWithNoCase(name, ".eps") ||
             EndsWithNoCase(name, ".epsf")) {
    type = kTypeEPS;
    creator = WrittenByThisSystem(bytes) ? kMyAppSignature : kCreatorUnknown;
  } else if (LooksLikeText(bytes)) {
    type = LooksLikeDocument(bytes) ? kTypeDocument : kTypeText;
    creator = LooksLikeDocument(bytes) ? kMyAppSignature : kCreatorUnknown;
  }
}

OutputResult OutputFileSave(const std::string& path, const BarCodeDataRec& rec, float, float) {
  return DocFileWrite(path, rec);
}

OutputResult OutputFileSaveAs(const std::string& path, const BarCodeDataRec& rec, float, float) {
  return DocFileWrite(path, rec);
}
