// Any bytes, any length, as the command line passes them: never a read outside a table, and the
// picture always has exactly the box of the size computation.
#include "model/BarCodeDataRec.h"
#include "symbologies/LinearTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kSymbologies[] = {
    kBarCodeEAN128,     kBarCodeEAN14,  kBarCodeEAN18,   kBarCodeCode128, kBarCodeCode93,
    kBarCodeCode39,     kBarCodeCode25, kBarCodeCodabar, kBarCodePostNet, kBarCodeRM4SCC,
    kBarCodePharmacode, kBarCodeMSI,    kBarCodeITFSCC,  kBarCodeITF14,   kBarCodeInterleaved25};

// Data made of the characters that trip encoders: digits, letters, controls, the symbologies' own
// specials, multi-byte characters and invalid UTF-8.
std::string RandomData(std::mt19937& random) {
  static const std::string kPieces[] = {"0",
                                        "7",
                                        "9",
                                        "A",
                                        "z",
                                        "*",
                                        "$",
                                        "%",
                                        "+",
                                        "/",
                                        "-",
                                        ".",
                                        ":",
                                        " ",
                                        "\t",
                                        "\x01",
                                        "\x7F",
                                        "\xC3\xA9",
                                        "\xE2\x82\xAC",
                                        "\xF0\x9F\x98\x80",
                                        "\xFF",
                                        "\xC3",
                                        "a",
                                        "D",
                                        "\\"};
  std::uniform_int_distribution<size_t> length(1, 40), piece(0, std::size(kPieces) - 1);
  std::string data;
  for (size_t n = length(random); n > 0; --n)
    data += kPieces[piece(random)];
  return data;
}

} // namespace

TEST(LinearInput, PictureBoxEqualsSizeForAnyData) {
  std::mt19937 random(20240611);
  std::vector<std::string> inputs{"0",
                                  "00",
                                  "1",
                                  "-",
                                  "*",
                                  "**",
                                  "a",
                                  "\xC3\xA9",
                                  "\xFF",
                                  std::string(300, '9'),
                                  std::string(200, 'x')};
  for (int k = 0; k < 300; ++k)
    inputs.push_back(RandomData(random));
  for (int symbology : kSymbologies)
    for (const std::string& data : inputs) {
      SCOPED_TRACE(std::to_string(symbology) + " " + Printable(data));
      for (int trim : {0, 100, -20}) {
        const BarCodeRect size = SizeOf(symbology, data, trim);
        const EpsPicture eps = DrawEps(symbology, data, "", trim);
        EXPECT_EQ(eps.width, size.width);
        EXPECT_EQ(eps.height, size.height);
      }
    }
}
