// What any symbology does with what the user types: data a symbology has no pattern for is not
// drawn (and the command line says so), any bytes of any length draw exactly the box of the size
// computation, and text outside Mac OS Roman is drawn as itself.
#include "model/BarCodeDataRec.h"
#include "support/EpsPicture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// A box width of 0: the request is refused; otherwise what has no pattern is left out and the
// rest is drawn in a box that wide.
struct DrawableCase {
  SymbolRequest request;
  float width;
};

const DrawableCase kDrawableCases[] = {
    {{kBarCodeEAN8, "12a4567"}, 0},
    {{kBarCodeEAN8, "1234567x"}, 0},
    {{kBarCodeEAN8, "\uFF11\uFF12\uFF13"}, 0}, // full-width digits
    {{kBarCodeEAN8, "1234567", "ab"}, 81},     // EAN-8 has no add-on
    {{kBarCodeUPCA, "0360002914A"}, 0},
    {{kBarCodeUPCA, "03600029145", "1a"}, 0},
    {{kBarCodeUPCA, "03600029145", "12b45"}, 0},
    {{kBarCodeUPCA, "03600029145", "abcdefg"}, 113}, // an add-on of 6 or more is left out
    {{kBarCodeUPCE, "12345x"}, 0},
    {{kBarCodeUPCE, "1234567 "}, 0},
    {{kBarCodeISBN, "ISBN abc"}, 113}, // the letters of a book number are filtered
    {{kBarCodeISMN, "M", "12"}, 138},
    {{kBarCodeISSN, "0317-8471", "1x"}, 0},
    {{kBarCodeISBN, "0-306-40615-2", "\uFF11\uFF12"}, 0},
    {{kBarCodeEAN99, "12a"}, 0},
    {{kBarCodeEAN99, "123", "ab"}, 113},
    {{kBarCodeEANCoupon, "12a"}, 0},
    {{kBarCodeEANCoupon, "123", "ab"}, 113},
    {{kBarCodeUPCCoupon, "abc", "12"}, 0},
    {{kBarCodeUPCCoupon, "123", "12a45678"}, 0},
    {{kBarCodeUPCCoupon, "123", "1234567"}, 189 + 11 * 5},
    {{kBarCodeCode128, ""}, 0},
    {{kBarCodeEAN14, "12a4"}, 0},
    {{kBarCodeEAN14, "1234567890123\u00E9"}, 0},
    {{kBarCodeEAN14, "12345678901234x"}, 154}, // only 14 digits are drawn
    {{kBarCodeEAN18, "12a"}, 0},
    {{kBarCodeCode93, ""}, 0},
    {{kBarCodeCode39, ""}, 0},
    {{kBarCodeCode25, "12a3"}, 0},
    {{kBarCodeInterleaved25, "12 "}, 0},
    {{kBarCodeITF14, "12345678901a"}, 0},
    {{kBarCodeITF14, "12345678901234x"}, 145}, // only 14 digits are drawn
    {{kBarCodeITFSCC, "1\u00E9"}, 0},
    {{kBarCodeMSI, "abc"}, 0},
    {{kBarCodeMSI, "a1"}, 12 + 19},
    {{kBarCodeRM4SCC, "SN34RD"}, 0}, // fewer than seven characters
    {{kBarCodeRM4SCC, "SN-34-RD"}, 0},
    {{kBarCodeQRCode, Digits(7090)}, 0},       // beyond version 40
    {{kBarCodePDF417, Letters(1851, 'A')}, 0}, // beyond 926 codewords
};

} // namespace

TEST(SymbologyInput, CharactersWithoutPatternsAreRefused) {
  const std::string dir = TestTempDir();
  for (const DrawableCase& c : kDrawableCases) {
    const SymbolRequest& r = c.request;
    std::string type;
    BarCodeSymName(type, static_cast<int16_t>(r.symbology));
    SCOPED_TRACE(type + " " + Printable(r.data.substr(0, 20)) + " + " + r.addon);
    EXPECT_EQ(SizeOf(r).width, c.width);
    if (c.width > 0) continue;
    const EpsPicture picture = DrawEps(r);
    EXPECT_TRUE(picture.fills.empty() && picture.texts.empty()) << "nothing is drawn";
    if (r.data.empty()) continue; // the command line refuses empty data itself
    const std::string file = dir + "/refused.eps";
    const RunResult run = RunCli(
        {"-type", type, "-data", r.data, "-addon", r.addon, "-action", "epsf", "-output", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find(type), 16u) << run.err; // "VeltrixBarCode: " and the reason
    EXPECT_FALSE(FileExists(file));
  }
}

namespace {

// Data made of the characters that trip encoders: digits, letters, controls, the symbologies' own
// specials, multi-byte characters and invalid UTF-8.
std::string RandomData(std::mt19937& random) {
  // clang-format off
  static const std::string kPieces[] = {
      "0", "7", "9", "A", "z", "*", "$", "%", "+", "/", "-", ".", ":", " ", "\t", "\x01", "\x7F",
      "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF", "\xC3", "a", "D", "\\"};
  // clang-format on
  std::uniform_int_distribution<size_t> length(1, 40), piece(0, std::size(kPieces) - 1);
  std::string data;
  for (size_t n = length(random); n > 0; --n)
    data += kPieces[piece(random)];
  return data;
}

} // namespace

TEST(SymbologyInput, PictureBoxEqualsSizeForAnyData) {
  std::mt19937 random(20240611);
  std::vector<std::string> inputs{"0", "00", "1", "-", "*", "**", "a", "\xC3\xA9", "\xFF"};
  inputs.insert(inputs.end(), {std::string(300, '9'), std::string(200, 'x')});
  for (int k = 0; k < 300; ++k)
    inputs.push_back(RandomData(random));
  for (int symbology = 1; symbology <= kBarCodeCount; ++symbology)
    for (const std::string& data : inputs) {
      SCOPED_TRACE(std::to_string(symbology) + " " + Printable(data));
      for (int trim : {0, 100, -20}) {
        const SymbolRequest request{symbology, data, data.substr(0, 5), trim};
        const BarCodeRect size = SizeOf(request);
        const EpsPicture picture = DrawEps(request);
        EXPECT_EQ(picture.width, size.width);
        EXPECT_EQ(picture.height, size.height);
      }
    }
}

// The human-readable text and the book number's title go to the PDF as the characters typed, even
// where Mac OS Roman, which the EPS file carries, has no form for them.
TEST(SymbologyInput, TextOutsideMacRomanIsDrawnAsItself) {
  const std::vector<std::string> cases[] = {
      {"-type", "Code-128", "-data", "AB", "-disp", "\u0142\u0141"},
      {"-type", "ISBN", "-data", "0-306-40615-2", "-disp", "ISBN \u0416\u0443\u043A 0-306"},
  };
  const auto withoutSpaces = [](std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
    return text;
  };
  for (std::vector<std::string> args : cases) {
    const std::string shown = args.back(), pdf = TestTempDir() + "/text.pdf";
    args.insert(args.end(), {"-action", "pdff", "-output", pdf});
    ASSERT_EQ(RunCli(args).status, 0);
    const RunResult text = RunProgram({"pdftotext", pdf, "-"});
    EXPECT_NE(withoutSpaces(text.out).find(withoutSpaces(shown)), std::string::npos) << text.out;
  }
}
