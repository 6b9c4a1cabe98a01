// The pattern tables against the reference tables of the published standards, and the small
// functions of the engine (tests/data/functions.tsv).
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "model/BarCodeTexts.h"
#include "output/writers/OutputPICT.h"
#include "render/BarCodeRender.h"
#include "render/epsf/EPSF.h"
#include "services/MacRoman.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <functional>

namespace {

// The reference table's `value` column by its `key` column.
std::map<std::string, std::string> Reference(const std::string& table, const char* key,
                                             const char* value) {
  std::map<std::string, std::string> values;
  for (const TableRow& row : ReadTable(table))
    values[row.Raw(key)] = row.Raw(value);
  return values;
}

} // namespace

TEST(BarCodeTables, Code128AndRM4SCCMatchTheStandards) {
  const std::vector<TableRow> code128 = ReadTable("code128.tsv"), rm4scc = ReadTable("rm4scc.tsv");
  ASSERT_TRUE(code128.size() == 107 && rm4scc.size() == 36); // values 0-105 and the stop; 0-9, A-Z
  for (size_t v = 0; v < code128.size(); ++v)
    EXPECT_EQ(v < 106 ? BarCodeEAN128Sym[v] : BarCodeEAN128Stop, code128[v].Raw("widths")) << v;
  for (size_t i = 0; i < rm4scc.size(); ++i)
    EXPECT_EQ(BarCodeRM4SCC[i], rm4scc[i].Raw("pattern")) << rm4scc[i].Raw("character");
}

// Every ASCII character is its one or two characters of the full-ASCII table, each drawn with the
// pattern of the standard's character table; Code 39 draws $ % * + / with their own patterns
// rather than the published pairs. (zint checks the characters' values through the check digits.)
TEST(BarCodeTables, FullAsciiCode93AndCode39MatchTheStandards) {
  const auto code93 = Reference("code93.tsv", "character", "widths");
  const auto code39 = Reference("code39.tsv", "character", "pattern");
  const auto pairs93 = Reference("code93_fullascii.tsv", "ascii", "code93_chars");
  const auto pairs39 = Reference("code39_fullascii.tsv", "ascii", "code39_chars");
  ASSERT_TRUE(code93.size() == 49 && code39.size() == 44 && pairs93.size() == 128);
  EXPECT_EQ(std::string(BarCodeCode93[132]) += BarCodeCode93[133],
            code93.at("START") + code93.at("STOP"));
  for (int c = 0; c < 132; ++c) { // 128-131: the shift characters ($) (%) (/) (+)
    const std::string published = c < 128 ? pairs93.at(std::to_string(c))
                                          : std::string("($)(%)(/)(+)").substr(3 * (c - 128), 3);
    std::string widths;
    for (size_t k = 0, n = 0; k < published.size(); k += n) {
      n = published == "SPACE" ? 5 : published[k] == '(' ? 3 : 1;
      widths += code93.at(published.substr(k, n));
    }
    EXPECT_EQ(BarCodeCode93[c], widths) << c;
    if (c >= 128) continue;
    const std::string own = c == ' ' ? "SPACE" : std::string(1, char(c));
    std::string pattern = code39.count(own) ? code39.at(own) : "";
    for (char ch : pattern.empty() ? pairs39.at(std::to_string(c)) : "")
      pattern += code39.at(std::string(1, ch));
    EXPECT_EQ(BarCodeCode39[c], pattern) << c;
  }
  for (int32_t c : {132, -5, 0x10FFFF}) { // beyond ASCII and the shifts: nothing, and no value
    std::u32string out = U"stale";
    BarCodeConvChr_Code93(out, c);
    EXPECT_TRUE(out.empty() && BarCodeConvASC_Code93(c) == -1) << c;
  }
}

namespace {

// The line that shows a text in an EPS picture, all of it 7-bit but its placeholders' guillemets.
std::string EPSTextLine(const std::string& text) {
  std::string eps;
  EPSFOpenPicture({0, 0, 10, 10}, eps, 100);
  EPSFSetFontFaceSize("Monaco", 10, eps);
  EPSFPrintText(5, 7, text, eps);
  EPSFClosePicture(eps);
  for (unsigned char b : eps)
    if (b >= 0x80 && b != 0xC2 && b != 0xAB && b != 0xBB) return "not 7-bit";
  const size_t end = eps.find(" show\n"), start = eps.rfind('\n', end) + 1;
  return end == std::string::npos ? "no text" : eps.substr(start, end + 5 - start);
}

// A request (symbology name, data, add-on) as cleaned, or its macro text or title.
std::string OfRequest(const std::vector<std::string>& in, const std::string& function) {
  BarCodeDataRec rec = MakeRecord(BarCodeSymType(in.at(0)), in.at(1), in.at(2));
  std::string text;
  if (function == "Macro") BarCodeMacroText(text, rec);
  if (function == "Title") BarCodeTitleText(text, rec);
  if (function == "Clean") text = (BarCodeCleanData(&rec), *rec.data + "|" + *rec.addon);
  if (function == "Refusal") text = BarCodeRefusal(rec);
  BarCodeDataRecRelease(&rec);
  return text;
}

using Function = std::function<std::string(const std::vector<std::string>&)>;
const std::map<std::string, Function> kFunctions{
    {"Clean", [](auto& in) { return OfRequest(in, "Clean"); }},
    {"Macro", [](auto& in) { return OfRequest(in, "Macro"); }},
    {"Title", [](auto& in) { return OfRequest(in, "Title"); }},
    {"Refusal", [](auto& in) { return OfRequest(in, "Refusal"); }},
    {"PackBits", [](auto& in) { return OutputPackBits(in.at(0)); }},
    {"MacRoman", [](auto& in) { return MacRomanFromUtf8(in.at(0)).value_or("refused"); }},
    {"MacRomanLossy", [](auto& in) { return MacRomanFromUtf8Lossy(in.at(0)); }},
    {"EPSText", [](auto& in) { return EPSTextLine(in.at(0)); }},
    {"CleanName", [](auto in) { return DataFileCleanName(in.at(0)), in.at(0); }},
    {"PascalName", [](auto& in) { return GetNameAsPascalStringFromFSRef(in.at(0)); }},
};

} // namespace

TEST(Functions, GiveWhatTheTableSays) {
  for (const TableRow& row : ReadTable("functions.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    EXPECT_EQ(kFunctions.at(row.Raw("function"))(row.List("input")), row.Text("expected"));
  }
}
