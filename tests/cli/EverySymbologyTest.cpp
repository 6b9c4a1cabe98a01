// The command line draws every symbology into every file format.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(CommandLine, EverySymbologyIntoEveryFormat) {
  struct Case {
    const char* type;
    const char* data;
  } cases[] = {
      {"Code-128", "Code 128"},  {"EAN-128", "0112345678901231"},
      {"EAN-14", "1234"},        {"EAN-18", "1234"},
      {"Code-93", "Code 93"},    {"Code-39", "CODE 39"},
      {"Code-25", "12345"},      {"Interleaved-25", "12345"},
      {"ITF-14", "1234"},        {"ITF-SCC", "1234"},
      {"Codabar", "A12-34B"},    {"MSI", "1234"},
      {"PostNet", "12345"},      {"RM4SCC", "SN34RD1A"},
      {"Pharmacode", "1234"},    {"EAN-13", "501234567890"},
      {"EAN-8", "5512345"},      {"EAN-99", "1234567"},
      {"EAN-Coupon", "1234567"}, {"UPC-A", "03600029145"},
      {"UPC-E", "123456"},       {"UPC-Coupon", "12345678901"},
      {"ISSN", "0317847"},       {"ISBN", "030640615"},
      {"ISMN", "9790230671187"}, {"QRCode", "Veltrix \u00e9"},
      {"PDF417", "PDF417 text"},
  };
  static_assert(sizeof cases / sizeof cases[0] == 27);
  const std::pair<const char*, const char*> formats[] = {
      {"pngf", ".png"}, {"tiff", ".tiff"}, {"pict", ".pict"}, {"pdff", ".pdf"}, {"epsf", ".eps"}};
  const std::string dir = TestTempDir();
  for (const Case& c : cases)
    for (const auto& [action, extension] : formats) {
      const std::string file = dir + "/" + c.type + extension;
      const RunResult run =
          RunCli({"-type", c.type, "-data", c.data, "-action", action, "-output", file});
      EXPECT_EQ(run.status, 0) << c.type << " " << action << ": " << run.err;
      EXPECT_FALSE(ReadFileBytes(file).empty()) << c.type << " " << action;
    }
}
