// Document files: the bytes written, writing and reading back, the macro-text and scanner-text
// readers, which reader a file gets, and reading any bytes without harm.
#include "app/AppTestSupport.h"

#include "app/DocFile.h"
#include "model/BarCodeDataRec.h"
#include "services/Services.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr uint32_t kBARC = FourCharCode("BARC"), kEPSF = FourCharCode("EPSF"),
                   kTEXT = FourCharCode("TEXT"), kVLTX = FourCharCode("VLTX");

// Runs a reader on a fresh record; nullopt when it rejects the text.
template <class Reader> std::optional<Request> Read(Reader reader, std::string_view text) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  std::optional<Request> result;
  if (reader(text, &rec)) result = Request{rec.symbology, *rec.data, *rec.addon};
  BarCodeDataRecRelease(&rec);
  return result;
}

OutputResult SaveDocument(const std::string& path, int symbology, const std::string& data,
                          const std::string& addon) {
  BarCodeDataRec rec = MakeRecord(symbology, data, addon);
  const OutputResult result = OutputFileSave(path, rec, 0, 0);
  BarCodeDataRecRelease(&rec);
  return result;
}

} // namespace

// The example of the document format: « is 0xC7 and » is 0xC8 in Mac OS Roman.
TEST(DocFileTest, TheDocumentHoldsTheMacroTextInMacRoman) {
  const std::string path = TestTempDir() + "/example.vbc";
  ASSERT_EQ(SaveDocument(path, kBarCodeEAN13, "501234567890", "12"), OutputResult::Ok);
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes, "\xC7"
                   "EAN-13 501234567890 12\xC8");
  EXPECT_EQ(bytes.size(), 24u);
  EXPECT_EQ(static_cast<unsigned char>(bytes.front()), 0xC7);
  EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0xC8);
  uint32_t type = 0, creator = 0;
  if (FSRefGetTypeAndCreator(path, type, creator) == 0) {
    EXPECT_EQ(FourCharString(type), "BARC");
    EXPECT_EQ(FourCharString(creator), "VLTX");
  }
}

TEST(DocFileTest, WhatIsWrittenReadsBack) {
  struct Case {
    int symbology;
    std::string data, addon, bytes;
  };
  const Case cases[] = {
      {kBarCodeCode39, "AB 12 C", "",
       "\xC7"
       "Code-39 AB 12 C\xC8"},
      {kBarCodeEAN13, "501234567890", "",
       "\xC7"
       "EAN-13 501234567890\xC8"},
      {kBarCodeUPCA, "03600029145", "12345",
       "\xC7"
       "UPC-A 03600029145 12345\xC8"},
      {kBarCodeISBN, "978-3-16-148410", "90000",
       "\xC7"
       "ISBN 978-3-16-148410 90000\xC8"},
      {kBarCodeCode128, "HELLO WORLD 42", "",
       "\xC7"
       "Code-128 HELLO WORLD 42\xC8"},
      {kBarCodeQRCode, "Gr\u00FC\u00DFe", "",
       "\xC7"
       "QRCode Gr\x9F\xA7"
       "e\xC8"},
      {kBarCodePDF417, "", "",
       "\xC7"
       "PDF417\xC8"},
  };
  const std::string dir = TestTempDir();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::string path = dir + "/doc.vbc";
    ASSERT_EQ(SaveDocument(path, c.symbology, c.data, c.addon), OutputResult::Ok);
    EXPECT_EQ(ReadFileBytes(path), c.bytes);
    const std::optional<std::string> text = DataFileReadAsCFStr(path);
    ASSERT_TRUE(text);
    if (c.data.empty()) {
      EXPECT_EQ(Read(BarCodeDataMetaValid, *text), std::nullopt); // «PDF417» has no blank
      continue;
    }
    EXPECT_EQ(Read(BarCodeDataMetaValid, *text), (Request{c.symbology, c.data, c.addon}));
  }
}

TEST(DocFileTest, TextWithoutAMacRomanFormWritesNothing) {
  const std::string path = TestTempDir() + "/kept.vbc";
  ASSERT_EQ(SaveDocument(path, kBarCodeEAN8, "1234567", ""), OutputResult::Ok);
  const std::string before = ReadFileBytes(path);
  for (const char* data : {"\u65E5\u672C", "A\u20AC\u0100", "\U0001F600"}) {
    SCOPED_TRACE(data);
    EXPECT_EQ(SaveDocument(path, kBarCodeCode128, data, ""), OutputResult::NotMacRoman);
    EXPECT_EQ(ReadFileBytes(path), before);
  }
  const std::string fresh = TestTempDir() + "/never.vbc";
  EXPECT_EQ(SaveDocument(fresh, kBarCodeCode128, "\u65E5", ""), OutputResult::NotMacRoman);
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_NE(SaveDocument(TestTempDir() + "/no/such/folder.vbc", kBarCodeEAN8, "1", ""),
            OutputResult::Ok);
}

TEST(DocFileTest, TheMacroTextReaderFollowsTheBlankRule) {
  struct Case {
    const char* text;
    std::optional<Request> want;
  };
  const Case cases[] = {
      // One, two, three and more blanks for a symbology with an add-on.
      {"\u00ABEAN-13 501234567890\u00BB", Request{kBarCodeEAN13, "501234567890", ""}},
      {"\u00ABEAN-13 501234567890 12\u00BB", Request{kBarCodeEAN13, "501234567890", "12"}},
      {"\u00ABEAN-13 501234567890 12 extra\u00BB", Request{kBarCodeEAN13, "501234567890", "12"}},
      {"\u00ABUPC-A 0360 002 91452 x y\u00BB", Request{kBarCodeUPCA, "0360", "002"}},
      {"\u00ABEAN-13  12\u00BB", Request{kBarCodeEAN13, "", "12"}},
      {"\u00ABISSN 0317-8471 05\u00BB", Request{kBarCodeISSN, "0317-8471", "05"}},
      // Symbologies without an add-on keep every later blank in the data.
      {"\u00ABCode-39 AB 12 C\u00BB", Request{kBarCodeCode39, "AB 12 C", ""}},
      {"\u00ABCode-128 HELLO WORLD 42\u00BB", Request{kBarCodeCode128, "HELLO WORLD 42", ""}},
      {"\u00ABEAN-8 \u00BB", Request{kBarCodeEAN8, "", ""}},
      // Text around the macro text, as in an EPS file.
      {"%%Meta: \u00ABEAN-8 1234567\u00BB\r%%End", Request{kBarCodeEAN8, "1234567", ""}},
      {"\u00AB\u00ABEAN-8 1\u00BB", std::nullopt}, // the name would be «EAN-8
      // Rejected: unknown or differently written names, no blank, a missing or early ».
      {"\u00ABXYZ 123\u00BB", std::nullopt},
      {"\u00ABean-13 501234567890\u00BB", std::nullopt},
      {"\u00AB EAN-13 501234567890\u00BB", std::nullopt},
      {"\u00ABEAN-13\u00BB", std::nullopt},
      {"\u00ABEAN-13 501234567890", std::nullopt},
      {"EAN-13 501234567890\u00BB", std::nullopt},
      {"\u00BB\u00ABEAN-13 501234567890\u00BB", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Read(BarCodeDataMetaValid, c.text), c.want);
  }
}

// Every row of the scanner-text table, with the identifier prefixes of ISO/IEC 15424.
TEST(DocFileTest, TheScannerTextReaderReadsEachIdentifier) {
  struct Case {
    const char* text;
    Request want;
  };
  const Case cases[] = {
      {"5012345678900", {kBarCodeEAN13, "5012345678900", ""}},
      {"501234567890012", {kBarCodeEAN13, "5012345678900", "12"}},
      {"50123456789001234567", {kBarCodeEAN13, "5012345678900", "12345"}},
      {"123", {kBarCodeEAN13, "123", ""}},
      {"]E05012345678900", {kBarCodeEAN13, "5012345678900", ""}},
      {"]E05012345678900999", {kBarCodeEAN13, "5012345678900", ""}},
      {"]E112", {kBarCodeEAN13, "0000000000000", "12"}},
      {"]E212345", {kBarCodeEAN13, "0000000000000", "12345"}},
      {"]E3501234567890012345", {kBarCodeEAN13, "5012345678900", "12345"}},
      {"]E3501234567890001", {kBarCodeEAN13, "5012345678900", "01"}},
      {"]E412345670", {kBarCodeEAN8, "12345670", ""}},
      {"]E94006381333931", {kBarCodeEAN13, "94006381333931", ""}},
      {"]I01234567890123456", {kBarCodeITFSCC, "12345678901234", ""}},
      {"]I212345", {kBarCodeITFSCC, "12345", ""}},
      {"]I91234", {kBarCodeITFSCC, "91234", ""}},
      {"]C1(01)09501101530003", {kBarCodeEAN128, "(01)09501101530003", ""}},
      {"]C0ABC", {kBarCodeEAN128, "ABC", ""}},
      {"]C4ABC", {kBarCodeEAN128, "4ABC", ""}},
      {"]A0CODE 39", {kBarCodeCode39, "CODE 39", ""}},
      {"]A3X", {kBarCodeCode39, "X", ""}},
      {"]A4X", {kBarCodeCode39, "4X", ""}},
      {"]G0CODE93", {kBarCodeCode93, "CODE93", ""}},
      {"]G1CODE93", {kBarCodeCode93, "1CODE93", ""}},
      {"]F0A1234B", {kBarCodeCodabar, "A1234B", ""}},
      {"]F1A1234B", {kBarCodeCodabar, "1A1234B", ""}},
      {"]Q1501234567890012345", {kBarCodeEAN13, "Q150123456789", "00123"}},
      {"]X5012345678900", {kBarCodeEAN13, "X501234567890", "0"}},
      {"]", {kBarCodeEAN13, "", ""}},
      {"]E", {kBarCodeEAN13, "", ""}},
      {"]E0", {kBarCodeEAN13, "", ""}},
      {"]E1", {kBarCodeEAN13, "0000000000000", ""}},
      {"", {kBarCodeEAN13, "", ""}},
      // Characters beyond ASCII count as one each.
      {"\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00FC",
       {kBarCodeEAN13,
        "\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9"
        "\u00E9",
        "\u00FC"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Read(BarCodeDataTextValid, c.text), std::optional<Request>(c.want));
  }
}

TEST(DocFileTest, TheTypeAndCreatorChooseTheReader) {
  struct Case {
    uint32_t type, creator;
    DocReader reader;
  };
  const Case cases[] = {
      {kBARC, kVLTX, DocReader::MacroText},
      {kEPSF, kVLTX, DocReader::MacroText},
      {kTEXT, kVLTX, DocReader::MacroText},
      {kTEXT, FourCharCode("ttxt"), DocReader::ScannerText},
      {kTEXT, 0, DocReader::ScannerText},
      {kBARC, FourCharCode("ttxt"), DocReader::None},
      {kEPSF, FourCharCode("ART5"), DocReader::None},
      {FourCharCode("PNGf"), kVLTX, DocReader::None},
      {0, kVLTX, DocReader::None},
      {0, 0, DocReader::None},
  };
  const std::string macro = "\u00ABEAN-8 1234567\u00BB";
  for (const Case& c : cases) {
    SCOPED_TRACE(FourCharString(c.type) + "/" + FourCharString(c.creator));
    EXPECT_EQ(DocFileReaderFor(c.type, c.creator), c.reader);
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    EXPECT_EQ(DocFileRead(macro, c.type, c.creator, &rec), c.reader != DocReader::None);
    // The scanner reader takes the macro text's first 13 characters as EAN-13 data.
    const int32_t want = c.reader == DocReader::MacroText     ? kBarCodeEAN8
                         : c.reader == DocReader::ScannerText ? kBarCodeEAN13
                                                              : rec.symbology;
    EXPECT_EQ(rec.symbology, want);
    BarCodeDataRecRelease(&rec);
  }
}

// Copies lose extended attributes: the name and the contents stand in for the codes.
TEST(DocFileTest, FilesWithoutCodesAreKnownByNameAndContents) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* type;
    const char* creator;
  };
  const std::string ours = "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: Veltrix BarCode\r%%Title: x\r"
                           "%%EndComments\rgsave\r";
  const std::string foreign = "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: cairo 1.16\n%%EndComments\n"
                              "%%Creator: Veltrix BarCode\n";
  const Case cases[] = {
      {"a.vbc",
       "\xC7"
       "EAN-8 1234567\xC8",
       "BARC", "VLTX"},
      {"A.VBC", "anything", "BARC", "VLTX"},
      {"a.eps", ours, "EPSF", "VLTX"},
      {"no-extension", ours, "EPSF", "VLTX"},
      {"a.eps", foreign, "EPSF", "????"},
      {"a.epsf", "%!PS\n", "EPSF", "????"},
      {"scan.txt", "5012345678900\n", "TEXT", "????"},
      {"scan", "]E412345670", "TEXT", "????"},
      {"a.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "\0\0\0\0", "\0\0\0\0"},
      {"a.pdf", "%PDF-1.5\n%\xB5\xED\xAE\xFB\n", "\0\0\0\0", "\0\0\0\0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t type = 1, creator = 1;
    DocFileGuessTypeAndCreator(c.name, c.bytes, type, creator);
    EXPECT_EQ(FourCharString(type), std::string(c.type, 4));
    EXPECT_EQ(FourCharString(creator), std::string(c.creator, 4));
  }
}

// Whatever the bytes, the readers return and never read outside the text.
TEST(DocFileTest, ReadersTakeAnyBytes) {
  std::mt19937 random(20240607);
  // Pieces that steer the readers into their branches, mixed with random bytes.
  const std::vector<std::string> pieces = {
      "\u00AB",   "\u00BB", " ",     "]",    "E",    "EAN-13",   "Code-39",
      "4",        "\xC7",   "\xC8",  "\xFF", "\xC2", "\r",       std::string(1, '\0'),
      "%%Meta: ", "%!PS",   "UPC-A", "ISBN", "0",    "\xE2\x82", "%%Creator: Veltrix BarCode",
  };
  for (int run = 0; run < 20000; ++run) {
    std::string text;
    const int parts = static_cast<int>(random() % 12);
    for (int p = 0; p < parts; ++p) {
      if (random() % 2) {
        text += pieces[random() % pieces.size()];
      } else {
        const int n = static_cast<int>(random() % 6);
        for (int i = 0; i < n; ++i)
          text += static_cast<char>(random() % 256);
      }
    }
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    BarCodeDataMetaValid(text, &rec);
    BarCodeDataRequestValid(text, &rec);
    EXPECT_TRUE(BarCodeDataTextValid(text, &rec));
    uint32_t type = 0, creator = 0;
    DocFileGuessTypeAndCreator(text, text, type, creator);
    DocFileRead(text, type, creator, &rec);
    DocFileRead(text, kEPSF, kVLTX, &rec);
    EXPECT_GE(rec.symbology, 1);
    EXPECT_LE(rec.symbology, kBarCodeCount);
    BarCodeDataRecRelease(&rec);
  }
}
