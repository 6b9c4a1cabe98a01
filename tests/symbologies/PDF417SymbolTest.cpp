// PDF417 symbols as drawn: read back by zxing-cpp from every vector and bitmap output, capacities
// worked from the compaction rules of ISO/IEC 15438, and the module picture's row layout.

#include "symbologies/TwoDimensionalSupport.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct ScanCase {
  const char* name;
  std::string data;     // as typed on the command line
  std::string expected; // what a scanner must give back
  bool eps;             // the EPS file carries the data in Mac OS Roman
};

std::vector<ScanCase> ScanCases() {
  const std::string text = "The quick brown fox jumps over the lazy dog 0123456789. ";
  const std::string digitRuns = "A012345678901B0123456789012C" + Digits(44) + "D" + Digits(50);
  return {
      {"short", "HELLO WORLD", "HELLO WORLD", true},
      {"a dozen letters", "ABCDEFGHIJKL", "ABCDEFGHIJKL", true},
      {"punctuation", "Mixed Case: a+b=c; #1 (100%) [x] {y} ~z!? 'q' \"r\" <s> @t |u| ^v",
       "Mixed Case: a+b=c; #1 (100%) [x] {y} ~z!? 'q' \"r\" <s> @t |u| ^v", true},
      {"case shifts", "aBcDeFGHij kLMN o.p,q", "aBcDeFGHij kLMN o.p,q", true},
      {"digit runs of 12, 13, 44 and 50", digitRuns, digitRuns, true},
      {"eight digits", "12345678", "12345678", true},
      {"seven digits", "1234567", "1234567", true},
      {"text line ends", "Line 1\\nLine 2\\tTab\\rEnd", "Line 1\nLine 2\tTab\rEnd", true},
      {"one byte between text", "ab\\fc", "ab\fc", true},
      {"six bytes", "Data:\\f\\v\\f\\v\\f\\v:end", "Data:\f\v\f\v\f\v:end", true},
      {"three bytes", "x\\f\\v\\fy", "x\f\v\fy", true},
      {"Latin-1", "café ü", "café ü", true},
      {"Latin-1 that looks like Shift JIS", "ÀÉÈ", "ÀÉÈ", true},
      {"Latin-1 that looks like UTF-8", "Ã©", "Ã©", true},
      {"Latin-1 byte between text", "aé b", "aé b", true},
      {"euro sign", "5 €", "5 €", true},
      {"Japanese", "日本", "日本", false},
      {"mixed scripts", "Grüße 日本 €", "Grüße 日本 €", false},
      {"long text", Repeat(text, 9), Repeat(text, 9), true},
      {"1850 digits", Digits(1850), Digits(1850), true},
      {"longest upper-case text", Letters(1850, 'A'), Letters(1850, 'A'), true},
  };
}

const ReadOptions kPDF417Read{"PDF417", false, 4, 288};

TEST(PDF417SymbolScan, ReadsBackExactlyFromEveryFormat) {
  for (const ScanCase& c : ScanCases()) {
    for (const OutputFormat& f : kScanFormats) {
      if (!c.eps && f.action == std::string("epsf")) continue;
      SCOPED_TRACE(std::string(c.name) + " " + f.action);
      const CliReadBack back = MakeAndRead("PDF417", c.data, f, kPDF417Read);
      ASSERT_EQ(back.status, 0) << back.err;
      EXPECT_EQ(back.zxing, std::vector<std::string>{c.expected});
    }
  }
}

// Capacities from the compaction rules: at most 926 data codewords with the length descriptor;
// two upper-case letters a codeword; 44 digits make 15 codewords and a last group of d digits
// d / 3 + 1; 6 bytes make 5 codewords and each further byte one; a mode latch and the two-codeword
// ECI designator (for text beyond ASCII) count too.
struct CapacityCase {
  const char* name;
  std::string data;
  bool drawable;
};

TEST(PDF417SymbolSize, FollowsTheCodewordLimit) {
  const CapacityCase cases[] = {
      {"1850 upper-case letters: 925 codewords", Letters(1850, 'A'), true},
      {"1851 upper-case letters: 926 codewords", Letters(1851, 'A'), false},
      {"2710 digits: 902 and 924 codewords", Digits(2710), true},
      {"2711 digits: 902 and 925 codewords", Digits(2711), false},
      {"1108 bytes: 901 and 924 codewords", std::string(1108, '\f'), true},
      {"1109 bytes: 901 and 925 codewords", std::string(1109, '\f'), false},
      {"1106 Latin-1 bytes: ECI, 901 and 922 codewords", Repeat("é", 1106), true},
      {"1107 Latin-1 bytes: ECI, 901 and 923 codewords", Repeat("é", 1107), false},
      {"more than 5420 bytes", Repeat("é", 5421), false},
      {"empty", "", false},
      {"not UTF-8", "AB\xC3", false},
  };
  for (const CapacityCase& c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t columns = ProcessPDF417GetCols(c.data), rows = ProcessPDF417GetRows(c.data);
    EXPECT_EQ(columns > 0, c.drawable);
    EXPECT_EQ(rows > 0, c.drawable);
    BarCodeDataRec rec = MakeRecord(kBarCodePDF417, c.data);
    BarCodeRect box{};
    EXPECT_EQ(BarCodeGetSize(rec, box), c.drawable ? 1 : 0);
    EXPECT_EQ(box.width, static_cast<float>(columns));
    EXPECT_EQ(box.height, 2.0f * static_cast<float>(rows));
    BarCodeDataRecRelease(&rec);
  }
}

TEST(PDF417SymbolSize, OnlyANegativeTrimChangesTheBox) {
  const uint32_t rows = ProcessPDF417GetRows("ABCDEFGHIJKL");
  ASSERT_GE(rows, 3u);
  struct {
    int trim;
    float extra;
  } const cases[] = {{0, 0}, {-6, 6}, {20, 0}, {100, 0}};
  for (const auto& c : cases) {
    BarCodeDataRec rec = MakeRecord(kBarCodePDF417, "ABCDEFGHIJKL");
    rec.trim = c.trim;
    BarCodeRect box{};
    ASSERT_EQ(BarCodeGetSize(rec, box), 1);
    EXPECT_EQ(box.height, 2.0f * rows + c.extra) << "trim " << c.trim;
    const std::vector<double> eps = EpsBoundingBox(DrawEpsOnly(rec));
    EXPECT_EQ(eps, (std::vector<double>{box.width, box.height})) << "trim " << c.trim;
    BarCodeDataRecRelease(&rec);
  }
}

TEST(PDF417SymbolSize, DataThatDoesNotFitIsRefusedByTheTool) {
  const RunResult run = RunCli({"-type", "PDF417", "-data", Letters(1851, 'A'), "-action", "pngf",
                                "-output", TestTempDir() + "/big.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot be drawn"), std::string::npos) << run.err;
}

// Every row is the start pattern, the left row indicator, the data columns, the right row
// indicator and the stop pattern, 17 modules each but the 18-module stop (ISO/IEC 15438, symbol
// structure).
constexpr std::string_view kStart = "11111111010101000";
constexpr std::string_view kStop = "111111101000101001";

TEST(PDF417SymbolPicture, EveryRowRunsFromStartToStopPattern) {
  for (const std::string& data : {std::string("ABCDEFGHIJKL"), Digits(1850), Repeat("é", 300)}) {
    std::string picture = "stale";
    ProcessPDF417Display(data, picture);
    const size_t columns = ProcessPDF417GetCols(data), rows = ProcessPDF417GetRows(data);
    ASSERT_EQ(picture.size(), columns * rows);
    EXPECT_EQ((columns - 69) % 17, 0u);
    EXPECT_GE(rows, 3u);
    EXPECT_LE(rows, 90u);
    for (size_t r = 0; r < rows; ++r) {
      const std::string_view row = std::string_view(picture).substr(r * columns, columns);
      EXPECT_EQ(row.substr(0, kStart.size()), kStart) << "row " << r;
      EXPECT_EQ(row.substr(columns - kStop.size()), kStop) << "row " << r;
    }
  }
}

TEST(PDF417SymbolPicture, IsEmptyWithoutASymbol) {
  std::string picture = "stale";
  ProcessPDF417Display(Letters(1851, 'A'), picture);
  EXPECT_TRUE(picture.empty());
}

// Each dark module is a rectangle 1 unit wide and 2 high, rows counted from the top: the first is
// the start pattern's bar in the top row, the last the stop pattern's end in the bottom row.
TEST(PDF417SymbolDrawing, DrawsEachDarkModuleAsARectangle) {
  for (const std::string& data : {std::string("ABCDEFGHIJKL"), Digits(1850)}) {
    BarCodeDataRec rec = MakeRecord(kBarCodePDF417, data);
    const std::vector<EpsRectangle> rects = EpsFilledRects(DrawEpsOnly(rec));
    std::string picture;
    ProcessPDF417Display(data, picture);
    ASSERT_EQ(rects.size(), static_cast<size_t>(std::count(picture.begin(), picture.end(), '1')));
    const int columns = static_cast<int>(ProcessPDF417GetCols(data));
    const int top = 2 * static_cast<int>(ProcessPDF417GetRows(data));
    EXPECT_EQ(rects.front(), (EpsRectangle{0, top - 2, 1, top}));
    EXPECT_EQ(rects.back(), (EpsRectangle{columns - 1, 0, columns, 2}));
    for (const EpsRectangle& r : rects) {
      EXPECT_EQ(r.x2 - r.x1, 1);
      EXPECT_EQ(r.y2 - r.y1, 2);
    }
    BarCodeDataRecRelease(&rec);
  }
}

} // namespace
