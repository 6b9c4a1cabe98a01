// Symbols made by the command-line tool, read back from the real output files by independent
// decoders: each row of tests/data/readback.tsv a test named after its line, and random EAN/UPC.
#include "support/TestSupport.h"

#include <random>

class ReadBack : public testing::TestWithParam<TableRow> {};

TEST_P(ReadBack, DecodersReadTheDataFromEveryFile) {
  std::vector<std::string> args{"-type", GetParam().Raw("type"), "-data", GetParam().Text("data")};
  for (const std::string& option : GetParam().List("options", ' '))
    args.push_back(option);
  ExpectReadBack(args, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadBack, testing::ValuesIn(ReadTable("readback.tsv")),
                         [](const auto& row) { return "line" + std::to_string(row.param.line); });

// Any number typed, short or long, and any add-on of 1 to 5 digits decode to the completed
// number: every leading digit's number sets, every digit of sets A, B and C, and every parity
// pattern of the add-ons turn up among them.
TEST(ReadBackProperty, EANAndUPCDecodeToTheCompletedNumber) {
  struct Kind {
    const char *type, *zxing, *zbar; // zbar gives UPC-A as EAN-13
    size_t digits;                   // before the check digit
  } kinds[] = {{"EAN-13", "EAN13", "", 12}, {"UPC-A", "UPCA", "0", 11}, {"EAN-8", "EAN8", "", 7}};
  std::mt19937 random(5012345);
  const auto digits = [&](size_t n) {
    std::string text;
    while (text.size() < n)
      text += static_cast<char>('0' + random() % 10);
    return text;
  };
  for (const Kind& kind : kinds)
    for (int i = 0; i < 8; ++i) {
      // Zeros in front up to the length, or the first digits kept; then the GS1 check digit
      // (weights 3, 1, 3, ... from the right). EAN-8 takes no add-on.
      const std::string data = digits(1 + random() % (kind.digits + 3));
      std::string number = data.substr(0, kind.digits), drawn;
      number.insert(0, kind.digits - number.size(), '0');
      int sum = 0;
      for (size_t k = 0; k < number.size(); ++k)
        sum += (number[number.size() - 1 - k] - '0') * (k % 2 == 0 ? 3 : 1);
      number += static_cast<char>('0' + (10 - sum % 10) % 10);
      const std::string addon = kind.digits > 7 ? digits(1 + random() % 5) : "";
      if (!addon.empty())
        drawn = std::string((addon.size() <= 2 ? 2 : 5) - addon.size(), '0') + addon;
      SCOPED_TRACE(std::string(kind.type) + " " + data + " " + addon);
      const TableRow row{
          "random",
          0,
          {{"files", "png"},
           {"settings", "ean2.enable ean5.enable isbn10.disable isbn13.disable"},
           {"zxing", kind.zxing + (":" + number) + (drawn.empty() ? "" : " " + drawn)},
           {"zbar", kind.zbar + number + (drawn.empty() ? "" : "|" + drawn)}}};
      ExpectReadBack({"-type", kind.type, "-data", data, "-addon", addon}, row);
    }
}
