// The one-dimensional symbologies: Code 128 with EAN-128 (GS1-128), EAN-14 and EAN-18; Code 93;
// Code 39; Code 25, Interleaved-25, ITF-14 and ITF-SCC; Codabar; MSI; Pharmacode. Read back by
// zxing-cpp and zbar from the command line's PNG, PDF and EPS files, compared with zint's
// patterns, and measured through the EPS picture. The postal codes are in PostalTest.cpp.
#include "model/BarCodeDataRec.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Every pair 00-99 from `first` to `last` written out: the values of Code 128 code set C.
std::string PairRange(int first, int last) {
  std::string digits;
  for (int v = first; v <= last; ++v)
    digits += std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
  return digits;
}

// Every ASCII character, 16 to a symbol.
std::vector<std::string> AsciiChunks() {
  std::vector<std::string> chunks;
  for (int first = 0; first < 128; first += 16)
    chunks.push_back(CharRange(first, first + 15));
  return chunks;
}

// The characters that this system draws with their own Code 39 pattern: the 43 of ANSI/AIM BC1
// (among them $ / + %, which the published full-ASCII table would spell /D /O /K /E).
const std::string kCode39Native = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

bool IsCode39Native(int c) {
  return c == '*' || kCode39Native.find(static_cast<char>(c)) != std::string::npos;
}

// The published full-ASCII spelling (ANSI/AIM BC1, table of Code 39 full ASCII) of a character
// that Code 39 has no pattern for.
std::string FullAsciiPair(int c) {
  auto pair = [](char shift, int letter) { return std::string{shift, static_cast<char>(letter)}; };
  if (c == 0) return "%U";
  if (c <= 26) return pair('$', 'A' + c - 1);
  if (c <= 31) return pair('%', 'A' + c - 27);
  if (c >= 33 && c <= 44) return pair('/', 'A' + c - 33);
  if (c == 58) return "/Z";
  if (c >= 59 && c <= 63) return pair('%', 'F' + c - 59);
  if (c == 64) return "%V";
  if (c >= 91 && c <= 95) return pair('%', 'K' + c - 91);
  if (c == 96) return "%W";
  if (c >= 97 && c <= 122) return pair('+', 'A' + c - 97);
  return pair('%', 'P' + c - 123); // 123-127
}

std::string SpelledInCode39(const std::string& data) {
  std::string out;
  for (char c : data)
    out += IsCode39Native(static_cast<unsigned char>(c)) ? std::string(1, c) : FullAsciiPair(c);
  return out;
}

// Every ASCII character without a Code 39 pattern of its own, 12 to a symbol.
std::vector<std::string> Code39PairChunks() {
  std::vector<std::string> chunks{""};
  for (int c = 0; c < 128; ++c) {
    if (IsCode39Native(c)) continue;
    if (chunks.back().size() == 12) chunks.emplace_back();
    chunks.back() += static_cast<char>(c);
  }
  return chunks;
}

// The symbol's bars: ITF-SCC's first six rectangles are the H marks inside its bearer frame.
std::vector<EpsBox> BarsOf(const EpsPicture& picture, int symbology) {
  std::vector<EpsBox> bars = picture.fills;
  if (symbology == kBarCodeITFSCC && bars.size() >= 6) bars.erase(bars.begin(), bars.begin() + 6);
  return bars;
}

struct ScanCase {
  std::vector<std::string> args;
  ReadBack expected;
};

// What zxing-cpp (as `zxingFormat`) and zbar must read from a symbol of `type` made of `data`.
ScanCase Scan(const char* type, const std::string& data, const char* zxingFormat,
              const std::string& zxing, const std::string& zbar) {
  return {{"-type", type, "-data", data}, {{{zxingFormat, zxing}}, {zbar}}};
}

std::vector<ScanCase> ScanCases() {
  std::vector<ScanCase> cases;
  // Code 128 (ISO/IEC 15417): ]C0 plain, ]C1 with FNC1 in the first position.
  const auto code128 = [&](const char* type, const std::string& data, const std::string& text) {
    cases.push_back(Scan(type, data, "Code128", text, text));
    cases.back().expected.identifier = type == std::string("Code-128") ? "]C0" : "]C1";
  };
  for (int first = 32; first < 128; first += 24) // code set B values 0-95: characters 32-127
    code128("Code-128", CharRange(first, first + 23), CharRange(first, first + 23));
  for (const std::string& digits : {PairRange(0, 49), PairRange(50, 99)}) // code set C values
    code128("Code-128", digits, digits);
  // Odd numbers of digits keep exactly their digits; digits among other characters go to set B.
  for (const char* data :
       {"1", "123", "12345", "1234567890123", "987654321", "123A", "Hello, World!"})
    code128("Code-128", data, data);
  // GS1-128: the element strings as given, FNC1 only after the start.
  for (const char* gs1 : {"0112345678901231", "011234567890123110123", "10ABC123", "3"})
    code128("EAN-128", gs1, gs1);
  code128("EAN-14", "1234", "01" + Fitted("1234", 14));
  code128("EAN-14", "98765432109876", "0198765432109876");
  code128("EAN-18", "123456789012345678", "00123456789012345678");
  code128("EAN-18", "12345678901234567890", "00123456789012345678");

  // Code 93 in its full-ASCII form, every ASCII character.
  std::vector<std::string> code93 = AsciiChunks();
  code93.insert(code93.end(), {"TEST93", "Code 93"});
  for (const std::string& data : code93)
    cases.push_back(Scan("Code-93", data, "Code93", data, data));

  // Code 39: the native characters read as themselves, the asterisks as start and stop.
  for (const std::string& data : {kCode39Native.substr(0, 22), kCode39Native.substr(22)})
    cases.push_back(Scan("Code-39", data, "Code39", data, data));
  cases.push_back(Scan("Code-39", "*AB-1*", "Code39", "AB-1", "AB-1"));
  // zxing-cpp in extended mode reads full-ASCII pairs as the characters they stand for; zbar does
  // not know full ASCII and reports the pairs themselves.
  for (const std::string& data : Code39PairChunks()) {
    cases.push_back(Scan("Code-39", data, "Code39", data, SpelledInCode39(data)));
    cases.back().expected.options.code39Extended = true;
  }
  // The EPS file escapes parentheses and backslashes of the text, and still scans.
  cases.push_back(Scan("Code-39", "CODE39", "Code39", "CODE39", "CODE39"));
  cases.back().args.insert(cases.back().args.end(), {"-disp", "a(b)c\\d)"});

  // The interleaved 2 of 5 symbols: an odd count gets a zero in front, ITF-14 and ITF-SCC are
  // fitted to 14 digits. zxing-cpp 1.4 reads 6 digits or more.
  const std::pair<const char*, std::string> interleaved[] = {
      {"Interleaved-25", "12345"},
      {"Interleaved-25", "1234567890"},
      {"Interleaved-25", "98765432109876543"},
      {"ITF-14", "123"},
      {"ITF-14", "123456789012345"},
      {"ITF-SCC", "1234567890123"},
      {"ITF-SCC", "0"}};
  for (const auto& [type, data] : interleaved) {
    const std::string digits = type == std::string("Interleaved-25")
                                   ? Fitted(data, data.size() + data.size() % 2)
                                   : Fitted(data, 14);
    cases.push_back(Scan(type, data, "ITF", digits, digits));
    cases.back().expected.zbarSettings = {"i25.min-length=2"};
  }

  // Codabar: scanners report the start and stop characters in capitals (ANSI/AIM BC3); a
  // character Codabar has no pattern for is dropped from the bars.
  const std::pair<const char*, const char*> codabar[] = {
      {"123", "A123B"}, {"C45D", "C45D"}, {"a1-2$3:4/5.6+7d", "A1-2$3:4/5.6+7D"}};
  for (const auto& [data, text] : codabar)
    cases.push_back(Scan("Codabar", data, "Codabar", text, text));
  return cases;
}

} // namespace

TEST(LinearScan, ZXingAndZBarReadEveryFile) {
  for (const ScanCase& c : ScanCases()) {
    SCOPED_TRACE(c.args[1] + " " + Printable(c.args[3]));
    ExpectReadBack(c.args, c.expected);
  }
}

namespace {

// zint draws Code 39's and Codabar's wide elements 2 : 1 where this system draws them 3 : 1, and
// the wide bars of Code 25's start and stop 3 units wide where this system draws 2, and ITF-SCC's
// elements 2 : 5: those compare as wide and narrow elements, the others module by module.
struct ZintCase {
  int symbology;
  std::string data;
  int zintType; // 20 Code 128, 60 its subset B, 16 GS1-128, 25 Code 93, 8 Code 39, 9 extended
                // Code 39, 3 Interleaved 2 of 5, 7 Industrial 2 of 5, 18 Codabar, 47 MSI,
                // 51 Pharmacode
  std::string zintData;
  std::vector<std::string> zintOptions = {};
  bool exact = true;
};

// zint's escaped form of any ASCII text.
std::string ZintEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
    out += escape;
  }
  return out;
}

std::vector<ZintCase> ZintCases() {
  std::vector<ZintCase> cases = {
      {kBarCodeCode128, CharRange(32, 79), 60, CharRange(32, 79)},
      {kBarCodeCode128, CharRange(80, 126), 60, CharRange(80, 126)},
      {kBarCodeCode128, PairRange(0, 49), 20, PairRange(0, 49)},
      {kBarCodeCode128, PairRange(50, 99), 20, PairRange(50, 99)},
      {kBarCodeEAN128, "0112345678901231", 16, "[01]12345678901231"},
      {kBarCodeEAN14, "1234", 16, "[01]00000000001234", {"--gs1nocheck"}},
      {kBarCodeEAN18, "123456789012345678", 16, "[00]123456789012345678", {"--gs1nocheck"}},
      {kBarCodeCode39, kCode39Native, 8, kCode39Native, {}, false},
      {kBarCodeCode39, "CODE-39", 8, "CODE-39", {}, false},
      {kBarCodeInterleaved25, "1234567890", 3, "1234567890"},
      {kBarCodeInterleaved25, "123", 3, "0123"},
      {kBarCodeITF14, "123", 3, Fitted("123", 14)},
      {kBarCodeITF14, "1234567890123456", 3, Fitted("1234567890123456", 14)},
      {kBarCodeITFSCC, "1234567890123", 3, Fitted("1234567890123", 14), {}, false},
      {kBarCodeCode25, "1234567890", 7, "1234567890", {}, false},
      {kBarCodeCode25, "0", 7, "0", {}, false},
      {kBarCodeCodabar, "0123456789", 18, "A0123456789B", {}, false},
      {kBarCodeCodabar, "C-$:/.+D", 18, "C-$:/.+D", {}, false},
      {kBarCodeCodabar, "b7a", 18, "B7A", {}, false},
  };
  // Code 93: zint computes the check characters C and K itself; their weights wrap after 20 and
  // 15 characters.
  std::vector<std::string> code93 = AsciiChunks();
  code93.insert(code93.end(), {"TEST93", "a", std::string(24, 'Z')});
  for (const std::string& data : code93)
    cases.push_back({kBarCodeCode93, data, 25, ZintEscaped(data), {"--esc"}});
  for (std::string data : Code39PairChunks()) {
    if (data.front() == 0) data.erase(0, 1); // no command line carries NUL
    cases.push_back({kBarCodeCode39, data, 9, data, {}, false});
  }
  // MSI with one modulo-10 check digit, which zint computes itself.
  for (const char* data : {"1234", "80523", "0", "9999999999", "314159265358979"})
    cases.push_back({kBarCodeMSI, data, 47, data, {"--vers=1"}});
  for (const char* data : {"3", "4", "91", "1234", "65535", "131070"})
    cases.push_back({kBarCodePharmacode, data, 51, data});
  return cases;
}

} // namespace

TEST(LinearOracle, BarsEqualZint) {
  for (const ZintCase& c : ZintCases()) {
    SCOPED_TRACE(std::to_string(c.symbology) + " " + Printable(c.data));
    const std::vector<std::string> rows = ZintRows(c.zintType, c.zintData, c.zintOptions);
    ASSERT_EQ(rows.size(), 1u);
    const std::string modules = ModulesOf(BarsOf(DrawEps({c.symbology, c.data}), c.symbology));
    if (c.exact)
      EXPECT_EQ(modules, rows[0]);
    else
      EXPECT_EQ(WideNarrowOf(modules), WideNarrowOf(rows[0]));
  }
}

namespace {

// The human-readable text: one character every `step` units.
struct TextRun {
  int x, step, y, size;
  std::string text;
};

std::vector<EpsText> TextsOf(const TextRun& run) {
  std::vector<EpsText> texts;
  for (size_t k = 0, next; k < run.text.size(); k = next) {
    next = k + 1;
    while (next < run.text.size() && (run.text[next] & 0xC0) == 0x80) // within a UTF-8 sequence
      ++next;
    const int i = static_cast<int>(texts.size());
    texts.push_back({run.x + run.step * i, run.y, run.size, run.text.substr(k, next - k)});
  }
  return texts;
}

struct GeometryCase {
  SymbolRequest request;
  int width, height;
  int firstX, lastX, bottom, top; // of the bars
  TextRun text;
};

// clang-format off
const GeometryCase kGeometryCases[] = {
    // Code 128 (and EAN-128, EAN-14, EAN-18): quiet zones of 10, start, check and stop, and 11
    // modules a symbol character: set B one a character, set C one a digit pair, an odd last digit
    // after the switch to set B (two characters), FNC1 one. Bars from y = 12. Digits alone show
    // in 7 point every 7 units, other text in 10 point under the characters.
    {{kBarCodeCode128, "AB"}, 77, 60, 10, 67, 12, 60, {21, 11, 1, 10, "AB"}},
    {{kBarCodeCode128, "123A"}, 99, 60, 10, 89, 12, 60, {21, 11, 1, 10, "123A"}},
    {{kBarCodeCode128, "\t\x01"}, 77, 60, 10, 67, 12, 60, {21, 11, 1, 10, "\t\x01"}},
    {{kBarCodeCode128, "A\xC3\xA9" "B"}, 99, 60, 10, 89, 12, 60, {21, 11, 1, 10, "A\xC3\xA9" "B"}},
    {{kBarCodeCode128, "1"}, 66, 60, 10, 56, 12, 60, {10, 7, 2, 7, "1"}},
    {{kBarCodeCode128, "12"}, 66, 60, 10, 56, 12, 60, {10, 7, 2, 7, "12"}},
    {{kBarCodeCode128, "12345"}, 99, 60, 10, 89, 12, 60, {10, 7, 2, 7, "12345"}},
    {{kBarCodeCode128, "12345", "", 100}, 99, 20, 10, 89, 12, 20, {10, 7, 2, 7, "12345"}},
    {{kBarCodeCode128, "A\tB", "", 40}, 88, 20, 10, 78, 12, 20, {21, 11, 1, 10, "A\tB"}},
    {{kBarCodeCode128, "AB", "", -10, "xy"}, 77, 70, 10, 67, 12, 70, {21, 11, 1, 10, "xy"}},
    {{kBarCodeEAN128, "ABC", "", 39}, 99, 21, 10, 89, 12, 21, {21, 11, 1, 10, "ABC"}},
    {{kBarCodeEAN128, "0112345678901231"}, 154, 60, 10, 144, 12, 60,
     {10, 7, 2, 7, "0112345678901231"}},
    {{kBarCodeEAN128, "123"}, 99, 60, 10, 89, 12, 60, {10, 7, 2, 7, "123"}},
    {{kBarCodeEAN14, "1234"}, 154, 100, 10, 144, 12, 100, {10, 7, 2, 7, "(01) 00000000001234"}},
    {{kBarCodeEAN14, "1234", "", 70}, 154, 30, 10, 144, 12, 30,
     {10, 7, 2, 7, "(01) 00000000001234"}},
    {{kBarCodeEAN18, "1", "", 0, "ABC"}, 176, 100, 10, 166, 12, 100, {10, 7, 2, 7, "(00) ABC"}},
    // Code 93: 9 modules a character (start, data, C, K), stop 10, no quiet zone; the text is the
    // data as given, without the check characters.
    {{kBarCodeCode93, "TEST93"}, 91, 48, 0, 91, 16, 48, {5, 7, 7, 10, "TEST93"}},
    {{kBarCodeCode93, "a"}, 55, 48, 0, 55, 16, 48, {5, 7, 7, 10, "a"}},
    {{kBarCodeCode93, "\x7F", "", 100}, 55, 23, 0, 55, 16, 23, {5, 7, 7, 10, "\x7F"}},
    {{kBarCodeCode93, "AB", "", -5}, 55, 53, 0, 55, 16, 53, {5, 7, 7, 10, "AB"}},
    // Code 39: 16 units a character with its gap, less the last gap; asterisks as start and stop.
    {{kBarCodeCode39, "ABC"}, 79, 48, 0, 79, 16, 48, {5, 7, 7, 10, "*ABC*"}},
    {{kBarCodeCode39, "*ABC*"}, 79, 48, 0, 79, 16, 48, {5, 7, 7, 10, "*ABC*"}},
    {{kBarCodeCode39, "*ABC"}, 79, 48, 0, 79, 16, 48, {5, 7, 7, 10, "*ABC*"}},
    {{kBarCodeCode39, "abc"}, 127, 48, 0, 127, 16, 48, {5, 7, 7, 10, "*abc*"}},
    {{kBarCodeCode39, "AB", "", 100}, 63, 23, 0, 63, 16, 23, {5, 7, 7, 10, "*AB*"}},
    {{kBarCodeCode39, "A", "", -10}, 47, 58, 0, 47, 16, 58, {5, 7, 7, 10, "*A*"}},
    {{kBarCodeCode39, "CODE39", "", 0, "a(b)c\\d)"}, 127, 48, 0, 127, 16, 48,
     {5, 7, 7, 10, "a(b)c\\d)"}}, // the text escaped in the EPS picture
    // Interleaved-25 and ITF-14: quiet zone 4, start 4, 9 a digit, stop 5, margin 6.
    {{kBarCodeInterleaved25, "123"}, 55, 90, 4, 49, 15, 90, {12, 9, 4, 9, "0123"}},
    {{kBarCodeInterleaved25, "12", "", 60}, 37, 30, 4, 31, 15, 30, {12, 9, 4, 9, "12"}},
    {{kBarCodeITF14, "123"}, 145, 90, 4, 139, 15, 90, {12, 9, 4, 9, "00000000000123"}},
    {{kBarCodeITF14, "123", "", 100}, 145, 30, 4, 139, 15, 30, {12, 9, 4, 9, "00000000000123"}},
    // ITF-SCC: start 8, 16 a digit, stop 9 from x 32; bars between the bearers, whatever the trim.
    {{kBarCodeITFSCC, "1", "", 40}, 305, 100, 32, 273, 26, 90, {45, 16, 7, 10, "00000000000001"}},
    {{kBarCodeITFSCC, "1", "", -10}, 305, 110, 32, 273, 26, 90, {45, 16, 7, 10, "00000000000001"}},
    // Code 25: quiet zone 10, start 8, 14 a digit, stop 7 and its space, quiet zone 10.
    {{kBarCodeCode25, "12"}, 64, 80, 10, 53, 15, 80, {11, 15, 4, 10, "12"}},
    {{kBarCodeCode25, "7", "", 50}, 50, 30, 10, 39, 15, 30, {11, 15, 4, 10, "7"}},
    // Codabar: 12 units a digit, "-" or "$" and 14 the others, the gap after each included.
    {{kBarCodeCodabar, "123"}, 64, 48, 0, 63, 16, 48, {5, 7, 7, 10, "a123b"}},
    {{kBarCodeCodabar, "C45D"}, 52, 48, 0, 51, 16, 48, {5, 7, 7, 10, "C45D"}},
    {{kBarCodeCodabar, "1:2", "", 30}, 66, 18, 0, 65, 16, 18, {5, 7, 7, 10, "a1:2b"}},
    {{kBarCodeCodabar, "1", "", 100}, 40, 18, 0, 39, 16, 18, {5, 7, 7, 10, "a1b"}},
    // MSI: 3 units a bit, without the stop's last space; the text is the data, digits or not.
    {{kBarCodeMSI, "1234"}, 67, 48, 0, 67, 13, 48, {5, 12, 2, 10, "1234"}},
    {{kBarCodeMSI, "12a34", "", 30}, 67, 18, 0, 67, 13, 18, {5, 12, 2, 10, "12a34"}},
    {{kBarCodeMSI, "7", "", 100}, 31, 18, 0, 31, 13, 18, {5, 12, 2, 10, "7"}},
    {{kBarCodeMSI, "7", "", -2}, 31, 50, 0, 31, 13, 50, {5, 12, 2, 10, "7"}},
    {{kBarCodeMSI, "12", "", 5, "", 0}, 43, 30, 0, 43, 0, 30, {}}, // without text, on the bottom
    // Pharmacode: bars 1 and 3 wide with 2 between; the box at least 7 a character of the text,
    // which shows the data before only its last 9 characters are read.
    {{kBarCodePharmacode, "3"}, 7, 25, 0, 4, 13, 25, {0, 7, 1, 10, "3"}},
    {{kBarCodePharmacode, "12"}, 14, 25, 0, 11, 13, 25, {0, 7, 1, 10, "12"}},
    {{kBarCodePharmacode, "3", "", -3}, 7, 28, 0, 4, 13, 28, {0, 7, 1, 10, "3"}},
    {{kBarCodePharmacode, "3", "", 20}, 7, 25, 0, 4, 13, 25, {0, 7, 1, 10, "3"}},
    {{kBarCodePharmacode, "1000000000003"}, 63, 25, 0, 4, 13, 25, {0, 7, 1, 10, "1000000000003"}},
    {{kBarCodePharmacode, "3", "", 0, "", 0}, 4, 12, 0, 4, 0, 12, {}}, // without text: the bars
};
// clang-format on

} // namespace

TEST(LinearGeometry, BoxBarsAndText) {
  for (const GeometryCase& c : kGeometryCases) {
    const SymbolRequest& r = c.request;
    SCOPED_TRACE(std::to_string(r.symbology) + " " + Printable(r.data) + " trim " +
                 std::to_string(r.trim));
    const EpsPicture picture = DrawInBox(r, c.width, c.height);
    const std::vector<EpsBox> bars = BarsOf(picture, r.symbology);
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars.front().x1, c.firstX);
    EXPECT_EQ(bars.back().x2, c.lastX);
    for (const EpsBox& bar : bars)
      EXPECT_TRUE(bar.y1 == c.bottom && bar.y2 == c.top) << "bar at " << bar.x1;
    EXPECT_EQ(picture.texts, TextsOf(c.text));
  }
}

TEST(LinearGeometry, ITFSCCBearerFrameAndMarks) {
  const EpsPicture picture = DrawEps({kBarCodeITFSCC, "0", "", 0, "IGNORED"});
  EXPECT_EQ(picture.frames, (std::vector<EpsBox>{{5, 21, 300, 95}}));
  EXPECT_EQ(picture.penSizes, (std::vector<int>{1, 10, 1})) << "the prologue's, the bearer's, back";
  const std::vector<EpsBox> marks(picture.fills.begin(), picture.fills.begin() + 6);
  EXPECT_EQ(marks, (std::vector<EpsBox>{{11, 49, 13, 65},
                                        {14, 49, 16, 65},
                                        {11, 57, 16, 59},
                                        {289, 49, 291, 65},
                                        {292, 49, 294, 65},
                                        {289, 57, 294, 59}}));
  EXPECT_EQ(picture.texts.front().text, "0") << "the display override is not used";
}

TEST(LinearBars, MSICheckDigitOfThePublishedExamples) {
  // 1234: 24 doubled is 48, 4 + 8 = 12, plus 3 + 1 makes 16: check digit 4.
  // 80523: 853 doubled is 1706, digit sum 14, plus 2 + 0 makes 16: check digit 4.
  // 13: 3 doubled is 6, plus 1 makes 7: check digit 3. 5: 10, digit sum 1: check digit 9.
  const std::pair<std::string, const char*> cases[] = {
      {"1234", "0100"}, {"80523", "0100"}, {"13", "0011"}, {"5", "1001"}};
  for (const auto& [data, checkBits] : cases) {
    // A 1-unit bar is a 0 bit, a 2-unit bar a 1: start bit, 4 bits a digit, the check digit's 4
    // bits, stop "00".
    std::string bits;
    for (const EpsBox& bar : DrawEps({kBarCodeMSI, data}).fills)
      bits += bar.x2 - bar.x1 == 2 ? '1' : '0';
    ASSERT_EQ(bits.size(), 1 + 4 * data.size() + 4 + 2);
    EXPECT_EQ(bits.substr(1 + 4 * data.size(), 4), checkBits) << data;
  }
}

TEST(LinearBars, PharmacodePublishedExamples) {
  // "n" for a narrow bar (1 unit), "w" for a wide one (3 units); only the last 9 characters,
  // 000000003, of 1000000000003 are read.
  const std::pair<std::string, std::string> cases[] = {
      {"3", "nn"}, {"4", "nw"}, {"0", "w"},  {"1", "n"},
      {"2", "w"},  {"x", "w"},  {"-5", "n"}, {"1000000000003", "nn"}};
  for (const auto& [data, kinds] : cases) {
    std::string drawn;
    for (const EpsBox& bar : DrawEps({kBarCodePharmacode, data}).fills)
      drawn += bar.x2 - bar.x1 == 3 ? 'w' : 'n';
    EXPECT_EQ(drawn, kinds) << data;
  }
}
