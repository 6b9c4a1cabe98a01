#include "cli/CommandLine.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

CommandLineRun Scan(std::vector<std::string> args) {
  args.insert(args.begin(), "VeltrixBarCode");
  CommandLineRun run;
  CommandLineScan(args, run);
  return run;
}

} // namespace

TEST(CommandLine, UsageTextWordForWord) {
  const std::string expected =
      "NAME:\nVeltrixBarCode v2.2.0 CLI -- Creates barcode images from the Command Line.\n\n"
      "SYNOPSIS:\nVeltrixBarCode [-parameter1] [value1] [-parameter2] [value2] [...]\n\n"
      "DESCRIPTION:\nThe VeltrixBarCode utility creates barcode images as image files or onto the "
      "clipboard based on parameters entered:\n\nPARAMETERS:\n-action\nSpecify result as \"clip\" "
      "for clipboard, or for graphic file format of \"epsf\", \"pdff\", \"tiff\", \"pngf\" or "
      "\"pict\".\n\n-type\nBarcode symbology to use. Valid values are EAN-13, EAN-8, EAN-128, "
      "EAN-14, EAN-18, EAN-99, EAN-Coupon, UPC-A, UPC-E, Code-128, Code-93, Code-39, Code-25, "
      "UPC-Coupon, Codabar, ISSN, ISBN, ISMN, PostNet, RM4SCC, Pharmacode, MSI, ITF-SCC, ITF-14, "
      "Interleaved-25, QRCode, PDF417.\n\n-data\nPrimary main barcode data.\n\n-addon\nSecondary "
      "addon barcode data.\n\n-scale\nScaling factor as a percentage where 100 is standard.\n\n"
      "-trim\nTrim level to reduce height where 0 is standard.\n\n-disp\nOverride displayed "
      "text.\n\n-antialiasoff\nDisable Anti-Aliasing of graphic image where 1 is to disable.\n\n"
      "-fontsmoothoff\nDisable smoothening of text where 1 is to disable.\n\n-output\nOutput file "
      "path and name for graphic image file\n\n";
  const RunResult run = RunCli({});
  EXPECT_TRUE(run.out.starts_with(expected)) << run.out;
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_EQ(RunCli({"--help"}).out, run.out);
  EXPECT_EQ(RunCli({"-h"}).status, 0);
  const RunResult version = RunCli({"--version"});
  EXPECT_EQ(version.out, "VeltrixBarCode 2.2.0\n");
  EXPECT_EQ(version.status, 0);
}

TEST(CommandLine, ScanQuirks) {
  CommandLineRun run = Scan({"-data", "-type", "-type", "Code-39"});
  EXPECT_EQ(*run.rec.data, "-type");
  EXPECT_EQ(run.rec.symbology, 12);
  run = Scan({"-type", "EAN-13"});
  EXPECT_EQ(run.rec.symbology, 0) << "two arguments are never scanned";
  run = Scan({"-type", "EAN-13", "-antialiasoff"});
  EXPECT_EQ(run.rec.symbology, 1);
  EXPECT_EQ(run.rec.antialiasOff, 0);
  run = Scan({"-action", "pngf", "-action", "EPSF"});
  EXPECT_EQ(run.action, 0u);
  EXPECT_EQ(run.rec.position, 0);
  run = Scan({"-action", "epsf", "-data", "a\\nb\\\\t", "-output", "x"});
  EXPECT_EQ(run.action, 0x46455053u); // FEPS
  EXPECT_EQ(run.rec.position, 3);
  EXPECT_EQ(*run.rec.data, "a\nb\\\t");
  run = Scan({"-data", "caf\u00E9", "-disp", "\u00E9"});
  EXPECT_EQ(*run.rec.data, "caf\u00E9") << "values are UTF-8 text";
  run = Scan({"-data", "a\xE9z", "-type", "EAN-13"});
  EXPECT_EQ(run.invalid, "-data");
  EXPECT_TRUE(run.rec.data->empty());
}

TEST(CommandLine, NumbersAreClamped) {
  struct Case {
    const char* parameter;
    const char* value;
    int32_t expected;
  } cases[] = {{"-scale", "10", 50},           {"-scale", "400", 150},
               {"-scale", "abc", 50},          {"-scale", "120mm", 120},
               {"-scale", "99999999999", 150}, {"-trim", "-5", 0},
               {"-trim", "101", 100},          {"-trim", " 7", 7},
               {"-antialiasoff", "5", 1},      {"-fontsmoothoff", "-1", 0}};
  for (const Case& c : cases) {
    CommandLineRun run = Scan({c.parameter, c.value, "-type", "EAN-13"});
    const std::string p = c.parameter;
    const int32_t value = p == "-scale"          ? run.rec.scale
                          : p == "-trim"         ? run.rec.trim
                          : p == "-antialiasoff" ? run.rec.antialiasOff
                                                 : run.rec.fontSmoothOff;
    EXPECT_EQ(value, c.expected) << c.parameter << " " << c.value;
  }
}

TEST(CommandLine, StandardPaths) {
  setenv("HOME", "/home/tester", 1);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"~/a//b/./c.png", "/home/tester/a/b/c.png"},
               {"a/../b.png", "b.png"},
               {"../x.png", "../x.png"},
               {"/../x.png", "/x.png"},
               {"./out.eps", "out.eps"},
               {"~", "/home/tester"},
               {"~nosuchuserhere/x", "~nosuchuserhere/x"},
               {"/a/b/../../..", "/"},
               {"dir/", "dir"}};
  for (const Case& c : cases) {
    std::string path = c.in;
    GetStandardUnixPath(path);
    EXPECT_EQ(path, c.out) << c.in;
  }
}

TEST(CommandLine, ExitStatusesAndNoFileLeftBehind) {
  const std::string dir = TestTempDir();
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message; // part of the one line on standard error
  } cases[] = {
      {{"-type", "EAN-13", "-data", "501234567890", "-action", "pngf", "-output", "ok.png"}, 0, ""},
      {{"-type", "EAN-13", "-data", "12A", "-action", "pngf", "-output", "bad.png"},
       1,
       "cannot carry the character A"},
      {{"-type", "EAN-13", "-data", "501234567890", "-action", "pngf", "-output", "no/dir/x.png"},
       1,
       "could not be written"},
      {{"-type", "EAN-13", "-data", "123", "-action", "pngf"}, 2, "-output"},
      {{"-type", "EAN13", "-data", "123", "-action", "pngf", "-output", "x.png"}, 2, "-type"},
      {{"-type", "EAN-13", "-data", "", "-action", "pngf", "-output", "x.png"}, 2, "-data"},
      {{"-type", "EAN-13", "-data", "1", "-action", "png", "-output", "x.png"}, 2, "-action"},
      {{"-type", "EAN-13", "-data", "1\xFF", "-action", "pngf", "-output", "x.png"}, 2, "UTF-8"},
  };
  for (const Case& c : cases) {
    const RunResult run = RunCli(c.args, dir);
    EXPECT_EQ(run.status, c.status) << c.args[3];
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.empty() ? std::string::npos : run.err.size() - 1);
  }
  EXPECT_TRUE(FileExists(dir + "/ok.png")) << "a relative path is taken in the current folder";
  EXPECT_FALSE(FileExists(dir + "/bad.png"));
  EXPECT_FALSE(FileExists(dir + "/x.png"));
}

TEST(CommandLine, TildePathsAndClipboardWithoutDisplay) {
  const std::string home = TestTempDir();
  const RunResult run = RunProgram(
      {CliPath(), "-type", "EAN-13", "-data", "1", "-action", "epsf", "-output", "~/x.eps"},
      {"HOME=" + home});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(FileExists(home + "/x.eps"));
  const RunResult clip = RunProgram(
      {CliPath(), "-type", "EAN-13", "-data", "1", "-action", "clip", "-output", "ignored"},
      {"DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(clip.status, 1);
  EXPECT_NE(clip.err.find("no clipboard"), std::string::npos) << clip.err;
}

TEST(CommandLine, ClipboardRoundTripUnderXvfb) {
  const std::string dir = TestTempDir();
  const std::string script = "'" + CliPath() +
                             "' -type EAN-13 -data 501234567890 -action clip && "
                             "xclip -selection clipboard -o -t application/pdf > '" +
                             dir + "/clip.pdf'";
  const RunResult run = RunProgram({"xvfb-run", "-a", "sh", "-c", script}, {"WAYLAND_DISPLAY="});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string png = RasterizeOnWhite(dir + "/clip.pdf");
  EXPECT_EQ(ZXingRead(png, "EAN13"), std::vector<std::string>{"5012345678900"});
}

// The command line draws every symbology into every file format.
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
