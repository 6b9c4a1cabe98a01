// QR Code symbols: read back by zxing-cpp and zbar from every vector and bitmap output, capacities
// and function patterns checked against ISO/IEC 18004.

#include "symbologies/TwoDimensionalSupport.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Lower-case letters fit neither the numeric nor the alphanumeric mode: one byte each.
std::string Bytes(size_t n) {
  return Letters(n, 'a');
}

// Side of a version in modules with the 4-module quiet zone on both sides (ISO/IEC 18004, 5.3.1).
uint32_t SideOfVersion(int version) {
  return static_cast<uint32_t>(4 * version + 17 + 8);
}

struct ScanCase {
  const char* name;
  std::string data;     // as typed on the command line
  std::string expected; // what a scanner must give back
  bool zbar;            // zbar prints one line per line of text: multi-line texts are zxing's
  bool eps;             // the EPS file carries the data in Mac OS Roman
};

std::vector<ScanCase> ScanCases() {
  const std::string text = "The quick brown fox jumps over the lazy dog 0123456789. ";
  return {
      {"short", "HELLO WORLD", "HELLO WORLD", true, true},
      {"mixed case and punctuation", "Mixed Case: a+b=c; #1 (100%) [x] {y} ~z!?",
       "Mixed Case: a+b=c; #1 (100%) [x] {y} ~z!?", true, true},
      {"digit runs", "A012345678901B0123456789012C" + Digits(44),
       "A012345678901B0123456789012C" + Digits(44), true, true},
      {"control characters", "Line 1\\nLine 2\\tTab\\rEnd", "Line 1\nLine 2\tTab\rEnd", false,
       true},
      {"form feed and vertical tab", "A\\fB\\vC", "A\fB\vC", true, true},
      {"Latin", "Café 5 €, Grüße aus Köln", "Café 5 €, Grüße aus Köln", true, true},
      {"Japanese", "日本", "日本", true, false},
      {"Japanese among ASCII", "Tokyo 日本 2024", "Tokyo 日本 2024", true, false},
      {"long text", Repeat(text, 18), Repeat(text, 18), true, true},
      {"most digits", Digits(7089), Digits(7089), true, true},
      {"most bytes", Bytes(2953), Bytes(2953), true, true},
      {"most two-byte characters", Repeat("é", 1476), Repeat("é", 1476), true, true},
  };
}

const ReadOptions kQRRead{"QRCode", true, 4, 288};

TEST(QRCodeScan, ReadsBackExactlyFromEveryFormat) {
  for (const ScanCase& c : ScanCases()) {
    for (const OutputFormat& f : kScanFormats) {
      if (!c.eps && f.action == std::string("epsf")) continue;
      SCOPED_TRACE(std::string(c.name) + " " + f.action);
      const CliReadBack back = MakeAndRead("QRCode", c.data, f, kQRRead);
      ASSERT_EQ(back.status, 0) << back.err;
      EXPECT_EQ(back.zxing, std::vector<std::string>{c.expected});
      if (c.zbar) {
        EXPECT_EQ(back.zbar, std::vector<std::string>{c.expected});
      }
    }
  }
}

// Capacities of version 1 and version 40 at level L (ISO/IEC 18004, table 7); text beyond ASCII
// spends 12 bits on its ECI designator, so version 40 holds 2952 bytes of it.
struct CapacityCase {
  const char* name;
  std::string data;
  uint32_t side; // 0: no symbol
};

TEST(QRCodeSize, FollowsTheCapacityOfEachVersion) {
  const CapacityCase cases[] = {
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
  for (const CapacityCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ProcessQRCodeGetWidth(c.data), c.side);
    BarCodeDataRec rec = MakeRecord(kBarCodeQRCode, c.data);
    BarCodeRect box{};
    EXPECT_EQ(BarCodeGetSize(rec, box), c.side > 0 ? 1 : 0);
    EXPECT_EQ(box.width, 3.0f * c.side);
    BarCodeDataRecRelease(&rec);
  }
}

TEST(QRCodeSize, OnlyANegativeTrimChangesTheBox) {
  struct {
    int trim;
    float height;
  } const cases[] = {{0, 87}, {-10, 97}, {30, 87}, {100, 87}};
  for (const auto& c : cases) {
    BarCodeDataRec rec = MakeRecord(kBarCodeQRCode, "HELLO");
    rec.trim = c.trim;
    BarCodeRect box{};
    ASSERT_EQ(BarCodeGetSize(rec, box), 1);
    EXPECT_EQ(box.width, 87);
    EXPECT_EQ(box.height, c.height) << "trim " << c.trim;
    const std::vector<double> eps = EpsBoundingBox(DrawEpsOnly(rec));
    EXPECT_EQ(eps, (std::vector<double>{87, c.height})) << "trim " << c.trim;
    BarCodeDataRecRelease(&rec);
  }
}

TEST(QRCodeSize, DataThatDoesNotFitIsRefusedByTheTool) {
  for (const std::string& data : {Digits(7090), Bytes(2954)}) {
    const RunResult run = RunCli({"-type", "QRCode", "-data", data, "-action", "pngf", "-output",
                                  TestTempDir() + "/big.png"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot be drawn"), std::string::npos) << run.err;
  }
}

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

TEST(QRCodePicture, HasTheFunctionPatternsInsideTheQuietZone) {
  for (const std::string& data : {std::string("HELLO"), Bytes(100), Digits(7089)}) {
    std::string picture = "stale";
    ProcessQRCodeDisplay(data, picture);
    ExpectFunctionPatterns(picture, static_cast<int>(ProcessQRCodeGetWidth(data)));
  }
}

TEST(QRCodePicture, IsEmptyWithoutASymbol) {
  std::string picture = "stale";
  ProcessQRCodeDisplay(Digits(7090), picture);
  EXPECT_TRUE(picture.empty());
}

// Each dark module is a 3 x 3 square, rows counted from the top: the first is the top-left
// corner of the top-left finder, at column 4, row 4.
TEST(QRCodeDrawing, DrawsEachDarkModuleAsASquare) {
  struct {
    std::string data;
    int side;
  } const cases[] = {{"HELLO", 29}, {Bytes(2953), 185}};
  for (const auto& c : cases) {
    BarCodeDataRec rec = MakeRecord(kBarCodeQRCode, c.data);
    rec.textVisible = 1;
    *rec.display = "shown nowhere";
    const std::vector<EpsRectangle> rects = EpsFilledRects(DrawEpsOnly(rec));
    std::string picture;
    ProcessQRCodeDisplay(c.data, picture);
    ASSERT_EQ(rects.size(), static_cast<size_t>(std::count(picture.begin(), picture.end(), '1')));
    const int top = 3 * (c.side - 5);
    EXPECT_EQ(rects.front(), (EpsRectangle{12, top, 15, top + 3}));
    // The last dark modules are on the symbol's bottom row, the lower-left finder's.
    EXPECT_EQ(rects.back().y1, 12);
    for (const EpsRectangle& r : rects) {
      EXPECT_EQ(r.x2 - r.x1, 3);
      EXPECT_EQ(r.y2 - r.y1, 3);
    }
    BarCodeDataRecRelease(&rec);
  }
}

} // namespace
