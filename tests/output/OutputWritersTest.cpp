#include "output/writers/OutputWriters.h"
#include "model/BarCodeDataRec.h"
#include "output/writers/OutputPICT.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

TEST(OutputWriters, BitmapSizesFollowThePoints) {
  EXPECT_EQ(OutputPixels(101.5f), 101);
  EXPECT_EQ(OutputPixels(40.9f), 40);
  EXPECT_EQ(OutputPixels(-3), 0);
  EXPECT_EQ(OutputBytesPerRow(101), 416);
  EXPECT_EQ(OutputBytesPerRow(64), 256);
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "123", "12");
  rec.scale = 150;
  OutputBitmap bitmap;
  ASSERT_TRUE(OutputRenderBitmap(rec, 0, 0, bitmap));
  EXPECT_EQ(bitmap.width, 207); // 138 x 1.5
  EXPECT_EQ(bitmap.height, 120);
  EXPECT_EQ(bitmap.stride, 832);
  uint32_t corner;
  std::memcpy(&corner, bitmap.pixels.data(), 4);
  EXPECT_EQ(corner, 0u) << "the background stays transparent";
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, UndrawableRequestsWriteNothingAndKeepTheEarlierFile) {
  const std::string dir = TestTempDir();
  BarCodeDataRec good = MakeRecord(kBarCodeEAN13, "501234567890");
  BarCodeDataRec bad = MakeRecord(kBarCodeEAN13, "50123456789X");
  using Writer = OutputResult (*)(const std::string&, const BarCodeDataRec&, float, float);
  const Writer writers[] = {OutputFilePNG, OutputFileTIFF, OutputFilePICT, OutputFilePDF,
                            OutputFileEPSF};
  for (Writer writer : writers) {
    const std::string path = dir + "/out";
    ASSERT_EQ(writer(path, good, 0, 0), OutputResult::Ok);
    const std::string before = ReadFileBytes(path);
    EXPECT_EQ(writer(path, bad, 0, 0), OutputResult::NotDrawable);
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(writer(dir + "/none", bad, 0, 0), OutputResult::NotDrawable);
    EXPECT_FALSE(FileExists(dir + "/none"));
    EXPECT_EQ(writer(dir + "/no/such/folder", good, 0, 0), OutputResult::CannotWrite);
  }
  // Given a size, a bitmap shows the placeholder instead, as the window does.
  EXPECT_EQ(OutputFilePNG(dir + "/holder.png", bad, 200, 50), OutputResult::Ok);
  BarCodeDataRecRelease(&good);
  BarCodeDataRecRelease(&bad);
}

namespace {

// The information entries of a PDF file as pdfinfo reports them.
std::map<std::string, std::string> PDFInfo(const std::string& path) {
  std::map<std::string, std::string> entries;
  std::istringstream lines(RunProgram({"pdfinfo", path}).out);
  for (std::string line; std::getline(lines, line);) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const size_t value = line.find_first_not_of(' ', colon + 1);
    entries[line.substr(0, colon)] = value == std::string::npos ? "" : line.substr(value);
  }
  return entries;
}

} // namespace

TEST(OutputWriters, PDFInformationEntries) {
  const std::string dir = TestTempDir(), config = getenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  CFPrefsSetCFStr(kPrefAuthor, "Ada Lovelace");
  ASSERT_TRUE(CFPrefsAppSynchronize());
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "501234567890", "12");
  ASSERT_EQ(OutputFilePDF(dir + "/x.pdf", rec, 0, 0), OutputResult::Ok);
  auto info = PDFInfo(dir + "/x.pdf");
  EXPECT_EQ(info["Title"], "EAN-13 501234567890 12");
  EXPECT_EQ(info["Author"], "Ada Lovelace");
  EXPECT_EQ(info["Subject"], "EAN-13");
  EXPECT_EQ(info["Keywords"], "EAN-13 501234567890 12");
  EXPECT_EQ(info["Creator"], "Veltrix BarCode");
  EXPECT_EQ(info["Page size"], "138 x 80 pts");
  // On a system before 10.5 only Author, Creator and Title are written.
  std::string pdf;
  ASSERT_TRUE(OutputRenderPDF(rec, 0, 0, true, pdf, 100499));
  DataFileWriteBytes(dir + "/old.pdf", pdf);
  info = PDFInfo(dir + "/old.pdf");
  EXPECT_EQ(info.count("Subject") + info.count("Keywords"), 0u);
  EXPECT_EQ(info["Title"], "EAN-13 501234567890 12");
  EXPECT_EQ(info["Author"], "Ada Lovelace");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, EPSFileCarriesNameMacroTextAndCodes) {
  const std::string dir = TestTempDir();
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "501234567890", "12");
  ASSERT_EQ(OutputFileEPSF(dir + "/label.eps", rec, 0, 0), OutputResult::Ok);
  const std::string eps = ReadFileBytes(dir + "/label.eps");
  EXPECT_NE(eps.find("%%Title: label.eps\n"), std::string::npos);
  EXPECT_NE(eps.find("%%Meta: \xC7"
                     "EAN-13 501234567890 12\xC8\n"),
            std::string::npos);
  uint32_t type = 0, creator = 0;
  if (FSRefGetTypeAndCreator(dir + "/label.eps", type, creator) == 0) {
    EXPECT_EQ(FourCharString(type), "EPSF");
    EXPECT_EQ(FourCharString(creator), "VLTX");
  }
  // A file name without a Mac OS Roman form is refused rather than written wrongly.
  EXPECT_EQ(OutputFileEPSF(dir + "/\u65E5.eps", rec, 0, 0), OutputResult::NotMacRoman);
  EXPECT_FALSE(FileExists(dir + "/\u65E5.eps"));
  // A line end in the file name cannot start a line of PostScript.
  std::string out;
  ASSERT_TRUE(OutputRenderEPS(rec, "a\nshowpage", out));
  EXPECT_NE(out.find("%%Title: a\\nshowpage\n"), std::string::npos);
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, PICTFilesAreReadByOtherPrograms) {
  const std::string dir = TestTempDir();
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "501234567890", "12345");
  ASSERT_EQ(OutputFilePICT(dir + "/x.pict", rec, 0, 0), OutputResult::Ok);
  const RunResult id = RunProgram({"identify", "-format", "%m %w %h", dir + "/x.pict"});
  EXPECT_EQ(id.out, "PICT 165 80");
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, PackBits) {
  using namespace std::string_literals; // the counts are bytes such as \0
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"A", "\0A"s},
      {"AAAA", "\375A"},
      {"ABC", "\2ABC"s},
      {"ABBBC", "\0A\376B\0C"s},
      {std::string(130, 'x'), "\201x\377x"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(OutputPackBits(in), out) << in;
}
