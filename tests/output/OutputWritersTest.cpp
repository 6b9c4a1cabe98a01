// The format writers beyond what ScanBackTest.cpp reads back: sizes, failed writes, own entries.
#include "output/writers/OutputWriters.h"
#include "model/BarCodeDataRec.h"
#include "services/Services.h"
#include "support/PNGPixels.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <random>
#include <set>

TEST(OutputWriters, BitmapSizesFollowThePoints) {
  // A unit is k = max(1, round(scale / 100 * dpi / 72)) whole pixels: at 150% and 72 dpi 2, so the
  // 81 x 65 units are 162 x 130 pixels at 96 dpi, 121.5 x 97.5 points; a symbol, black, keeps
  // only alpha: rows of a byte a pixel padded to 16 (162: 176).
  BarCodeDataRec rec = MakeRecord(kBarCodeEAN8, "1234567");
  rec.scale = 150;
  OutputBitmap bitmap;
  ASSERT_TRUE(OutputRenderBitmap(rec, 0, 0, bitmap));
  EXPECT_TRUE(bitmap.width == 162 && bitmap.height == 130 && bitmap.alphaOnly &&
              bitmap.stride == 176);
  EXPECT_EQ(bitmap.resolution, 96);
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
  // A file name without a Mac OS Roman form shows what it can in the title; given a size, a
  // bitmap shows the placeholder instead, as the window does.
  EXPECT_EQ(OutputFileEPSF(dir + "/\u65E5.eps", good, 0, 0), OutputResult::Ok);
  EXPECT_NE(ReadFileBytes(dir + "/\u65E5.eps").find("\n%%Title: ?.eps\n"), std::string::npos);
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

// Every width of the symbols narrower than 401 pixels that MSI and Code 25 (n digits) and
// Pharmacode (the value n) make at the printer resolutions gives a PICT that ImageMagick reads: no
// row overflows its one-byte length, none falls where QuickDraw and ImageMagick count lengths
// differently (201-250 bytes).
TEST(OutputWriters, PICTsOfEveryWidthRead) {
  const std::string dir = TestTempDir();
  std::set<int> widths;
  for (int symbology : {kBarCodeMSI, kBarCodeCode25, kBarCodePharmacode})
    for (int dpi : {72, 150, 203, 300, 600})
      for (int n = 1; n < 400; n = n < 30 ? n + 1 : n * 3) {
        BarCodeDataRec rec = MakeRecord(
            symbology, symbology == kBarCodePharmacode ? std::to_string(n) : std::string(n, '7'));
        rec.dpi = dpi;
        OutputBitmap bitmap;
        if (OutputRenderBitmap(rec, 0, 0, bitmap) && bitmap.width <= 400 &&
            widths.insert(bitmap.width).second) {
          const std::string path = dir + "/" + std::to_string(bitmap.width) + ".pict";
          ASSERT_EQ(OutputFilePICT(path, rec, 0, 0), OutputResult::Ok);
          const RunResult read = RunProgram({"convert", path, "-format", "%w", "info:"});
          EXPECT_EQ(read.out, std::to_string(bitmap.width)) << read.err;
        }
        BarCodeDataRecRelease(&rec);
      }
}

// Any bitmap, of colours (the placeholder's kind) or of alpha alone (a symbol's), goes out as a PNG
// that libpng decodes to exactly its pixels: palettes of every depth, partial last bytes, repeated
// rows, and more colours than a palette holds.
TEST(OutputWriters, PNGOfAnyBitmapDecodesToItsPixels) {
  std::mt19937 random(7);
  for (const bool alphaOnly : {false, true})
    for (const int colours : {1, 2, 3, 5, 17, 300})
      for (const int width : {1, 7, 8, 9, 100}) {
        OutputBitmap b;
        b.width = width, b.height = 9, b.alphaOnly = alphaOnly;
        b.stride = OutputBytesPerRow(width, alphaOnly);
        ASSERT_TRUE(b.pixels.Allocate(static_cast<size_t>(b.stride) * b.height));
        std::vector<uint32_t> palette{0, 0xFF000000u}; // clear and black first, as symbols have
        while (palette.size() < static_cast<size_t>(colours)) {
          const uint32_t a = random() % 256, c = alphaOnly ? 0 : random() % (a + 1);
          palette.push_back(a << 24 | c << 16 | (c / 2) << 8 | c / 3);
        }
        for (int y = 0; y < b.height; ++y)
          for (int x = 0; x < width; ++x) {
            const uint32_t p = y == 4 ? OutputPixelAt(b, x, 3) : palette[random() % colours];
            char* at = b.pixels.data() + static_cast<size_t>(y) * b.stride;
            if (alphaOnly)
              at[x] = static_cast<char>(p >> 24);
            else
              std::memcpy(at + 4 * x, &p, 4);
          }
        ASSERT_EQ(PNGFirstDifference(b), -1)
            << alphaOnly << " " << colours << " colours, " << width << " wide";
      }
}
