// Every output format of the command-line tool, read back by independent decoders.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// GTIN check digit computed here independently of the engine (GS1 General Specifications 7.9).
char GtinCheck(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i)
    sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::string Join(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& t : texts)
    joined += "[" + t + "]";
  return joined;
}

struct FormatCase {
  const char* action;
  const char* extension;
};
constexpr FormatCase kFormats[] = {
    {"pngf", ".png"}, {"tiff", ".tiff"}, {"pict", ".pict"}, {"pdff", ".pdf"}, {"epsf", ".eps"}};

// Bitmaps have one pixel per point, so at scales other than 100 their modules are fractions of
// pixels that no scanner resolves: those cases are read from the vector formats only.
struct EANCase {
  const char* data;
  const char* addon;
  const char* scale;
  const char* trim;
  bool vectorOnly;
};
constexpr EANCase kEANCases[] = {
    {"501234567890", "", "100", "0", false},
    {"501234567890", "12", "100", "0", false},
    {"400638133393", "12345", "100", "0", false},
    {"978014300723", "", "150", "30", true},
    {"123", "5", "100", "50", false},
    {"4006381333937", "", "100", "0", false},
    {"978014300723", "", "100", "30", false},
    {"400638133393", "12345", "50", "0", true},
    {"590123412345", "99", "150", "0", true},
};

bool IsVector(const FormatCase& f) {
  return f.action == std::string("pdff") || f.action == std::string("epsf");
}

} // namespace

TEST(ScanBack, EAN13InEveryFormat) {
  const std::string dir = TestTempDir();
  for (const EANCase& c : kEANCases) {
    std::string twelve = std::string(12 - std::min<size_t>(12, strlen(c.data)), '0') + c.data;
    twelve.resize(12);
    const std::string expected = twelve + GtinCheck(twelve);
    std::string addon = c.addon;
    if (!addon.empty()) addon.insert(0, (addon.size() <= 2 ? 2 : 5) - addon.size(), '0');
    for (const FormatCase& f : kFormats) {
      if (c.vectorOnly && !IsVector(f)) continue;
      SCOPED_TRACE(std::string(c.data) + " +" + c.addon + " scale " + c.scale + " trim " + c.trim +
                   " " + f.action);
      const std::string file = dir + "/ean" + f.extension;
      const RunResult run =
          RunCli({"-type", "EAN-13", "-data", c.data, "-addon", c.addon, "-scale", c.scale, "-trim",
                  c.trim, "-action", f.action, "-output", file});
      ASSERT_EQ(run.status, 0) << run.err;
      const std::string png = RasterizeOnWhite(file);
      ASSERT_FALSE(png.empty());
      const std::vector<std::string> zxing = ZXingRead(png, "EAN13");
      const std::vector<std::string> zbar = ZBarRead(png);
      const std::string withAddon = addon.empty() ? expected : expected + " " + addon;
      EXPECT_TRUE(Contains(zxing, withAddon)) << "zxing read " << Join(zxing);
      EXPECT_TRUE(Contains(zbar, expected)) << "zbar read " << Join(zbar);
      if (!addon.empty()) {
        EXPECT_TRUE(Contains(zbar, addon)) << "zbar read " << Join(zbar);
      }
    }
  }
}
