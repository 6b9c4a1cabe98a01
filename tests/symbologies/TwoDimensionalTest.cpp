// QR Code and PDF417 symbols as drawn: read back by zxing-cpp (and zbar, which reads QR Code) from
// every vector and bitmap output, capacities from ISO/IEC 18004 and from the compaction rules of
// ISO/IEC 15438, and the module pictures' layouts. The PDF417 encoder itself is tested in
// PDF417/PDF417Test.cpp.
#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Lower-case letters fit neither the numeric nor the alphanumeric mode of QR Code: one byte each.
std::string Bytes(size_t n) {
  return Letters(n, 'a');
}

struct ScanCase {
  const char* type;
  const char* name;
  std::string data;     // as typed on the command line
  std::string expected; // what a scanner must give back
  bool eps = true;      // false: Mac OS Roman, which the EPS file carries, cannot express it
};

std::vector<ScanCase> ScanCases() {
  const std::string text = "The quick brown fox jumps over the lazy dog 0123456789. ";
  const std::string digitRuns = "A012345678901B0123456789012C" + Digits(44);
  const std::string punctuation =
      "Mixed Case: a+b=c; #1 (100%) [x] {y} ~z!? 'q' \"r\" <s> @t |u| ^v";
  std::vector<ScanCase> cases = {
      {"QRCode", "short", "HELLO WORLD", "HELLO WORLD"},
      {"QRCode", "punctuation", punctuation, punctuation},
      {"QRCode", "digit runs", digitRuns, digitRuns},
      {"QRCode", "control characters", "Line 1\\nLine 2\\tTab\\rEnd", "Line 1\nLine 2\tTab\rEnd"},
      {"QRCode", "form feed and vertical tab", "A\\fB\\vC", "A\fB\vC"},
      {"QRCode", "Latin", "Café 5 €, Grüße aus Köln", "Café 5 €, Grüße aus Köln"},
      {"QRCode", "Japanese", "日本", "日本", false},
      {"QRCode", "Japanese among ASCII", "Tokyo 日本 2024", "Tokyo 日本 2024", false},
      {"QRCode", "long text", Repeat(text, 18), Repeat(text, 18)},
      {"QRCode", "most digits", Digits(7089), Digits(7089)},
      {"QRCode", "most bytes", Bytes(2953), Bytes(2953)},
      {"QRCode", "most two-byte characters", Repeat("é", 1476), Repeat("é", 1476)},
      {"PDF417", "short", "HELLO WORLD", "HELLO WORLD"},
      {"PDF417", "punctuation", punctuation, punctuation},
      {"PDF417", "text line ends", "Line 1\\nLine 2\\tTab\\rEnd", "Line 1\nLine 2\tTab\rEnd"},
      {"PDF417", "Latin-1", "café ü", "café ü"},
      {"PDF417", "Latin-1 that looks like Shift JIS", "ÀÉÈ", "ÀÉÈ"},
      {"PDF417", "Latin-1 that looks like UTF-8", "Ã©", "Ã©"},
      {"PDF417", "Latin-1 byte between text", "aé b", "aé b"},
      {"PDF417", "euro sign", "5 €", "5 €"},
      {"PDF417", "Japanese", "日本", "日本", false},
      {"PDF417", "mixed scripts", "Grüße 日本 €", "Grüße 日本 €", false},
      {"PDF417", "long text", Repeat(text, 9), Repeat(text, 9)},
      {"PDF417", "1850 digits", Digits(1850), Digits(1850)},
      {"PDF417", "longest upper-case text", Letters(1850, 'A'), Letters(1850, 'A')},
  };
  return cases;
}

} // namespace

// zbar does not read PDF417. How the PDF417 encoder compacts text, digits and bytes is read back
// in its own test; here, what the symbol makes of the text typed.
TEST(TwoDimensionalScan, ReadsBackExactlyFromEveryFormat) {
  for (const ScanCase& c : ScanCases()) {
    SCOPED_TRACE(std::string(c.type) + " " + c.name);
    const bool qr = c.type == std::string("QRCode");
    ReadBack expected{{{c.type, c.expected}}};
    if (qr) expected.zbar = {c.expected};
    if (!c.eps) expected.files = {kPNGFile, kPDFFile};
    ExpectReadBack({"-type", c.type, "-data", c.data}, expected);
    if (!c.eps) {
      const RunResult eps = RunCli({"-type", c.type, "-data", c.data, "-action", "epsf", "-output",
                                    TestTempDir() + "/x.eps"});
      EXPECT_EQ(eps.status, 1) << "an EPS file that cannot carry the data is not written";
    }
  }
}

namespace {

// Side of a QR Code version in modules with the 4-module quiet zone on both sides (ISO/IEC 18004,
// 5.3.1).
uint32_t SideOfVersion(int version) {
  return static_cast<uint32_t>(4 * version + 17 + 8);
}

bool DrawnBySize(int symbology, const std::string& data, BarCodeRect& box) {
  BarCodeDataRec rec = MakeRecord(symbology, data);
  const bool drawn = BarCodeGetSize(rec, box) == 1;
  BarCodeDataRecRelease(&rec);
  return drawn;
}

} // namespace

// Capacities of version 1 and version 40 at level L (ISO/IEC 18004, table 7); text beyond ASCII
// spends 12 bits on its ECI designator, so version 40 holds 2952 bytes of it.
TEST(TwoDimensionalSize, QRCodeFollowsTheCapacityOfEachVersion) {
  const struct {
    const char* name;
    std::string data;
    uint32_t side; // 0: no symbol
  } cases[] = {
      {"41 digits", Digits(41), SideOfVersion(1)},
      {"42 digits", Digits(42), SideOfVersion(2)},
      {"25 alphanumerics", Repeat("HELLO", 5), SideOfVersion(1)},
      {"26 alphanumerics", Repeat("HELLO", 5) + "X", SideOfVersion(2)},
      {"17 bytes", Bytes(17), SideOfVersion(1)},
      {"18 bytes", Bytes(18), SideOfVersion(2)},
      {"7089 digits", Digits(7089), SideOfVersion(40)},
      {"7090 digits", Digits(7090), 0},
      {"2953 bytes", Bytes(2953), SideOfVersion(40)},
      {"2954 bytes", Bytes(2954), 0},
      {"2952 UTF-8 bytes", Repeat("é", 1476), SideOfVersion(40)},
      {"2954 UTF-8 bytes", Repeat("é", 1477), 0},
      {"empty", "", 0},
      {"zero byte", std::string("AB\0CD", 5), 0},
      {"not UTF-8", "AB\xC3", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ProcessQRCodeGetWidth(c.data), c.side);
    BarCodeRect box{};
    EXPECT_EQ(DrawnBySize(kBarCodeQRCode, c.data, box), c.side > 0);
    EXPECT_EQ(box.width, 3.0f * c.side);
    std::string picture = "stale";
    ProcessQRCodeDisplay(c.data, picture);
    EXPECT_EQ(picture.size(), static_cast<size_t>(c.side) * c.side);
  }
}

// Capacities from the compaction rules: at most 926 data codewords with the length descriptor;
// two upper-case letters a codeword; 44 digits make 15 codewords and a last group of d digits
// d / 3 + 1; 6 bytes make 5 codewords and each further byte one; a mode latch and the
// two-codeword ECI designator (for text beyond ASCII) count too.
TEST(TwoDimensionalSize, PDF417FollowsTheCodewordLimit) {
  const struct {
    const char* name;
    std::string data;
    bool drawable;
  } cases[] = {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t columns = ProcessPDF417GetCols(c.data), rows = ProcessPDF417GetRows(c.data);
    EXPECT_EQ(columns > 0, c.drawable);
    EXPECT_EQ(rows > 0, c.drawable);
    BarCodeRect box{};
    EXPECT_EQ(DrawnBySize(kBarCodePDF417, c.data, box), c.drawable);
    EXPECT_EQ(box.width, static_cast<float>(columns));
    EXPECT_EQ(box.height, 2.0f * static_cast<float>(rows));
    std::string picture = "stale";
    ProcessPDF417Display(c.data, picture);
    EXPECT_EQ(picture.size(), static_cast<size_t>(columns) * rows);
  }
}

TEST(TwoDimensionalSize, OnlyANegativeTrimChangesTheBox) {
  // A version 1 QR Code is 29 modules of 3 units; the PDF417 symbol's rows are 2 units high.
  const float columns = static_cast<float>(ProcessPDF417GetCols("ABCDEFGHIJKL"));
  const float rows = static_cast<float>(ProcessPDF417GetRows("ABCDEFGHIJKL"));
  ASSERT_GE(rows, 3);
  for (int trim : {0, -10, 30, 100}) {
    SCOPED_TRACE(trim);
    const float extra = static_cast<float>(-std::min(trim, 0));
    DrawInBox({kBarCodeQRCode, "HELLO", "", trim}, 87, 87 + extra);
    DrawInBox({kBarCodePDF417, "ABCDEFGHIJKL", "", trim}, columns, 2 * rows + extra);
  }
}

namespace {

// Function patterns of ISO/IEC 18004, 6.3: three 7 x 7 finder patterns, each in a light
// separator, the timing patterns on row and column 6, and the dark module beside the lower-left
// finder; all inside a 4-module light quiet zone.
constexpr const char* kFinder[7] = {"1111111", "1000001", "1011101", "1011101",
                                    "1011101", "1000001", "1111111"};

void ExpectFunctionPatterns(const std::string& picture, int side) {
  ASSERT_EQ(picture.size(), static_cast<size_t>(side) * side);
  const int w = side - 8, version = (w - 17) / 4;
  const auto at = [&](int row, int col) { return picture[(row + 4) * side + col + 4]; };
  for (int i = 0; i < side; ++i)
    for (int q = 0; q < 4; ++q) {
      EXPECT_EQ(picture[q * side + i], '0');
      EXPECT_EQ(picture[(side - 1 - q) * side + i], '0');
      EXPECT_EQ(picture[i * side + q], '0');
      EXPECT_EQ(picture[i * side + side - 1 - q], '0');
    }
  const int corners[3][2] = {{0, 0}, {0, w - 7}, {w - 7, 0}};
  for (const auto& corner : corners)
    for (int r = -1; r < 8; ++r)
      for (int c = -1; c < 8; ++c) {
        const int row = corner[0] + r, col = corner[1] + c;
        if (row < 0 || col < 0 || row >= w || col >= w) continue;
        const bool inside = r >= 0 && r < 7 && c >= 0 && c < 7;
        EXPECT_EQ(at(row, col), inside ? kFinder[r][c] : '0') << row << "," << col;
      }
  for (int i = 8; i < w - 8; ++i) {
    EXPECT_EQ(at(6, i), i % 2 == 0 ? '1' : '0') << "timing row, column " << i;
    EXPECT_EQ(at(i, 6), i % 2 == 0 ? '1' : '0') << "timing column, row " << i;
  }
  EXPECT_EQ(at(4 * version + 9, 8), '1');
}

} // namespace

// Each dark module is a 3 x 3 square, rows counted from the top: the first is the top-left
// corner of the top-left finder, at column 4, row 4; the last is on the lower-left finder's
// bottom row. The display text is shown nowhere.
TEST(TwoDimensionalPicture, QRCodeDrawsItsFunctionPatternsModuleByModule) {
  for (const std::string& data : {std::string("HELLO"), Bytes(100), Digits(7089), Bytes(2953)}) {
    SCOPED_TRACE(data.size());
    const int side = static_cast<int>(ProcessQRCodeGetWidth(data));
    std::string picture = "stale";
    ProcessQRCodeDisplay(data, picture);
    ExpectFunctionPatterns(picture, side);
    const EpsPicture drawn = DrawEps({kBarCodeQRCode, data, "", 0, "shown nowhere", 1});
    EXPECT_TRUE(drawn.texts.empty());
    ASSERT_EQ(drawn.fills.size(), static_cast<size_t>(std::ranges::count(picture, '1')));
    const int top = 3 * (side - 5);
    EXPECT_EQ(drawn.fills.front(), (EpsBox{12, top, 15, top + 3}));
    EXPECT_EQ(drawn.fills.back().y1, 12);
    for (const EpsBox& r : drawn.fills)
      EXPECT_TRUE(r.x2 - r.x1 == 3 && r.y2 - r.y1 == 3) << r.x1 << "," << r.y1;
  }
}

// Every row is the start pattern, the left row indicator, the data columns, the right row
// indicator and the stop pattern, 17 modules each but the 18-module stop (ISO/IEC 15438, symbol
// structure). Each dark module is a rectangle 1 unit wide and 2 high, rows counted from the top:
// the first is the start pattern's bar in the top row, the last the stop pattern's end in the
// bottom row.
TEST(TwoDimensionalPicture, PDF417RowsRunFromStartToStopPattern) {
  constexpr std::string_view kStart = "11111111010101000", kStop = "111111101000101001";
  for (const std::string& data : {std::string("ABCDEFGHIJKL"), Digits(1850), Repeat("é", 300)}) {
    SCOPED_TRACE(data.size());
    std::string picture = "stale";
    ProcessPDF417Display(data, picture);
    const int columns = static_cast<int>(ProcessPDF417GetCols(data));
    const int rows = static_cast<int>(ProcessPDF417GetRows(data));
    ASSERT_EQ(picture.size(), static_cast<size_t>(columns) * rows);
    EXPECT_EQ((columns - 69) % 17, 0);
    EXPECT_TRUE(rows >= 3 && rows <= 90) << rows;
    for (int r = 0; r < rows; ++r) {
      const std::string_view row = std::string_view(picture).substr(r * columns, columns);
      EXPECT_EQ(row.substr(0, kStart.size()), kStart) << "row " << r;
      EXPECT_EQ(row.substr(columns - kStop.size()), kStop) << "row " << r;
    }
    const EpsPicture drawn = DrawEps({kBarCodePDF417, data});
    ASSERT_EQ(drawn.fills.size(), static_cast<size_t>(std::ranges::count(picture, '1')));
    EXPECT_EQ(drawn.fills.front(), (EpsBox{0, 2 * rows - 2, 1, 2 * rows}));
    EXPECT_EQ(drawn.fills.back(), (EpsBox{columns - 1, 0, columns, 2}));
    for (const EpsBox& r : drawn.fills)
      EXPECT_TRUE(r.x2 - r.x1 == 1 && r.y2 - r.y1 == 2) << r.x1 << "," << r.y1;
  }
}
