// The format writers beyond what ScanBackTest.cpp reads back: sizes, failed writes, own entries.
#include "output/writers/OutputWriters.h"
#include "model/BarCodeDataRec.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <cstdlib>

TEST(OutputWriters, BitmapSizesFollowThePoints) {
  // One pixel a point, truncated (121.5 x 97.5); rows of 4 bytes a pixel padded to 16 (484: 496).
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN8, "1234567");
  rec.scale = 150;
  OutputBitmap bitmap;
  ASSERT_TRUE(OutputRenderBitmap(rec, 0, 0, bitmap));
  EXPECT_TRUE(bitmap.width == 121 && bitmap.height == 97 && bitmap.stride == 496);
  EXPECT_EQ(OutputPixelAt(bitmap, 0, 0), 0u) << "the background stays transparent";
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, FailedWritesLeaveNothingAndKeepTheEarlierFile) {
  const std::string dir = TestTempDir(), path = dir + "/out";
  BarCodeDataRec good = MakeRecord(kBarCodeEAN13, "501234567890");
  BarCodeDataRec bad = MakeRecord(kBarCodeEAN13, "50123456789X");
  for (auto writer :
       {OutputFilePNG, OutputFileTIFF, OutputFilePICT, OutputFilePDF, OutputFileEPSF}) {
    ASSERT_EQ(writer(path, good, 0, 0), OutputResult::Ok);
    const std::string before = ReadFileBytes(path);
    EXPECT_EQ(writer(path, bad, 0, 0), OutputResult::NotDrawable);
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(writer(dir + "/none", bad, 0, 0), OutputResult::NotDrawable);
    EXPECT_FALSE(FileExists(dir + "/none"));
    EXPECT_EQ(writer(dir + "/no/such/folder", good, 0, 0), OutputResult::CannotWrite);
  }
  // A file name without a Mac OS Roman form is refused rather than written wrongly; given a size,
  // a bitmap shows the placeholder instead, as the window does.
  EXPECT_EQ(OutputFileEPSF(dir + "/\u65E5.eps", good, 0, 0), OutputResult::NotMacRoman);
  EXPECT_FALSE(FileExists(dir + "/\u65E5.eps"));
  EXPECT_EQ(OutputFilePNG(dir + "/holder.png", bad, 200, 50), OutputResult::Ok);
  BarCodeDataRecRelease(&good);
  BarCodeDataRecRelease(&bad);
}

TEST(OutputWriters, PDFInformationEntries) {
  const std::string dir = TestTempDir(), config = getenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  CFPrefsSetCFStr(kPrefAuthor, "Ada Lovelace");
  ASSERT_TRUE(CFPrefsAppSynchronize());
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "501234567890", "12");
  ASSERT_EQ(OutputFilePDF(dir + "/x.pdf", rec, 0, 0), OutputResult::Ok);
  std::string old; // on a system before 10.5 only Author, Creator and Title are written
  ASSERT_TRUE(OutputRenderPDF(rec, 0, 0, true, old, 100499));
  DataFileWriteBytes(dir + "/old.pdf", old);
  for (const std::string file : {"/x.pdf", "/old.pdf"}) {
    std::string info; // pdfinfo's entries with their runs of spaces made one
    for (char c : RunProgram({"pdfinfo", dir + file}).out)
      if (c != ' ' || (!info.empty() && info.back() != ' ')) info += c;
    for (const char* entry : {"Title: EAN-13 501234567890 12\n", "Author: Ada Lovelace\n",
                              "Creator: Veltrix BarCode\n", "Page size: 138 x 80 pts"})
      EXPECT_NE(info.find(entry), std::string::npos) << file << " " << entry << info;
    EXPECT_EQ(info.find("Subject: EAN-13\nKeywords: EAN-13 501234567890 12\n") != std::string::npos,
              file == "/x.pdf")
        << info;
  }
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  BarCodeDataRecRelease(&rec);
}

TEST(OutputWriters, EPSFileCarriesNameMacroTextAndCodes) {
  const std::string path = TestTempDir() + "/label.eps";
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "501234567890", "12");
  ASSERT_EQ(OutputFileEPSF(path, rec, 0, 0), OutputResult::Ok);
  EXPECT_NE(ReadFileBytes(path).find("\n%%Title: label.eps\n%%Meta: \xC7"
                                     "EAN-13 501234567890 12\xC8\n"),
            std::string::npos);
  uint32_t type = 0, creator = 0; // unless the file system refuses extended attributes
  EXPECT_TRUE(FSRefGetTypeAndCreator(path, type, creator) == 0
                  ? FourCharString(type) + FourCharString(creator) == "EPSFVLTX"
                  : FSRefSetTypeAndCreator(path, type, creator) != 0);
  // A line end in the file name cannot start a line of PostScript.
  std::string out;
  ASSERT_TRUE(OutputRenderEPS(rec, "a\nshowpage", out));
  EXPECT_NE(out.find("%%Title: a\\nshowpage\n"), std::string::npos);
  BarCodeDataRecRelease(&rec);
}
