// The pattern tables against the reference tables of the published standards.
#include "model/BarCodeTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The published Code 39 / Code 93 shift pair "(%)U" or "%U" as the characters of our tables.
std::u32string ShiftPair(const std::string& published) {
  static const std::map<std::string, char32_t> kShifts{{"($)", kCode93ShiftDollar},
                                                       {"(%)", kCode93ShiftPercent},
                                                       {"(/)", kCode93ShiftSlash},
                                                       {"(+)", kCode93ShiftPlus}};
  if (published.size() == 4) return {kShifts.at(published.substr(0, 3)), char32_t(published[3])};
  if (published == "SPACE") return U" ";
  return {char32_t(published[0])};
}

} // namespace

TEST(BarCodeTables, Code128MatchesReference) {
  const auto rows = ReadReferenceTable("code128.tsv");
  ASSERT_EQ(rows.size(), 107u);
  for (const auto& row : rows) {
    if (row[0] == "stop")
      EXPECT_EQ(BarCodeEAN128Stop, row[1]);
    else
      EXPECT_EQ(BarCodeEAN128Sym.at(std::stoi(row[0])), row[1]) << "value " << row[0];
  }
}

TEST(BarCodeTables, Code93MatchesReferenceIncludingFullAscii) {
  const auto values = ReadReferenceTable("code93.tsv");
  std::map<std::string, std::string> byCharacter;
  for (const auto& row : values)
    byCharacter[row[1]] = row[2];
  EXPECT_EQ(BarCodeCode93[132], byCharacter.at("START"));
  EXPECT_EQ(BarCodeCode93[133], byCharacter.at("STOP"));
  const char* shifts[] = {"($)", "(%)", "(/)", "(+)"};
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(BarCodeCode93[128 + k], byCharacter.at(shifts[k]));

  const auto ascii = ReadReferenceTable("code93_fullascii.tsv");
  ASSERT_EQ(ascii.size(), 128u);
  for (const auto& row : ascii) {
    const int c = std::stoi(row[0]);
    std::u32string expected = ShiftPair(row[2]), actual;
    BarCodeConvChr_Code93(actual, c);
    EXPECT_EQ(actual, expected) << "ASCII " << c;
    std::string widths;
    for (char32_t ch : expected) {
      const std::string key = ch >= 128   ? shifts[ch - 128]
                              : ch == ' ' ? "SPACE"
                                          : std::string(1, char(ch));
      widths += byCharacter.at(key);
    }
    EXPECT_EQ(BarCodeCode93[c], widths) << "ASCII " << c;
  }
}

TEST(BarCodeTables, Code39MatchesReferenceWithOwnPatternsForShiftCharacters) {
  std::map<std::string, std::string> native;
  for (const auto& row : ReadReferenceTable("code39.tsv"))
    native[row[0]] = row[1];
  ASSERT_EQ(native.size(), 44u);
  const auto ascii = ReadReferenceTable("code39_fullascii.tsv");
  ASSERT_EQ(ascii.size(), 128u);
  for (const auto& row : ascii) {
    const int c = std::stoi(row[0]);
    const std::string own = c == ' ' ? "SPACE" : std::string(1, char(c));
    // $ % * + / are drawn with their own patterns rather than the published shift pairs.
    if (native.count(own)) {
      EXPECT_EQ(BarCodeCode39[c], native.at(own)) << "ASCII " << c;
      continue;
    }
    std::string expected;
    for (char ch : row[2])
      expected += native.at(std::string(1, ch));
    EXPECT_EQ(BarCodeCode39[c], expected) << "ASCII " << c;
  }
}

TEST(BarCodeTables, RM4SCCMatchesReference) {
  const auto rows = ReadReferenceTable("rm4scc.tsv");
  ASSERT_EQ(rows.size(), 36u);
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(BarCodeRM4SCC[i], rows[i][1]) << rows[i][0];
  EXPECT_EQ(BarCodeRM4SCC[10], "01011010") << "A is row 2, column 5 of the standard's table";
}

TEST(BarCodeTables, EANNumberSetsFollowTheStandard) {
  // GS1 General Specifications 5.2.1.2.1: set A (L), set B (G) and set C (R) of each digit.
  const char* a[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                     "0110001", "0101111", "0111011", "0110111", "0001011"};
  const char* b[] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                     "0111001", "0000101", "0010001", "0001001", "0010111"};
  const char* c[] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                     "1001110", "1010000", "1000100", "1001000", "1110100"};
  for (int d = 0; d < 10; ++d) {
    EXPECT_EQ(BarCodeEANSym[d], a[d]);
    EXPECT_EQ(BarCodeEANSym[10 + d], b[d]);
    EXPECT_EQ(BarCodeEANSym[20 + d], c[d]);
    EXPECT_EQ(BarCodeEAN5Add[d], BarCodeEAN5Add[10 + d]);
    EXPECT_EQ(BarCodeEANNSet[10 + d], "CCCCCC");
  }
}

TEST(BarCodeTables, Code93Conversions) {
  struct Case {
    int32_t c;
    int16_t value;
    std::u32string chars;
  } cases[] = {{'a', -1, {kCode93ShiftPlus, 'A'}},
               {'*', -1, {kCode93ShiftSlash, 'J'}},
               {'$', 39, U"$"},
               {'0', 0, U"0"},
               {'Z', 35, U"Z"},
               {' ', 38, U" "},
               {0, -1, {kCode93ShiftPercent, 'U'}},
               {127, -1, {kCode93ShiftPercent, 'T'}},
               {131, 46, {kCode93ShiftPlus}},
               {132, -1, U""},
               {-5, -1, U""},
               {0x10FFFF, -1, U""}};
  for (const Case& k : cases) {
    EXPECT_EQ(BarCodeConvASC_Code93(k.c), k.value) << k.c;
    std::u32string out = U"stale";
    BarCodeConvChr_Code93(out, k.c);
    EXPECT_EQ(out, k.chars) << k.c;
  }
}

TEST(BarCodeTables, InitialisingAgainRewritesTheSameValues) {
  const auto code39 = BarCodeCode39;
  const auto msi = BarCodeMSI;
  BarCodeInitArrays();
  EXPECT_EQ(code39, BarCodeCode39);
  EXPECT_EQ(msi, BarCodeMSI);
  EXPECT_EQ(BarCodeMSI[9], "1001");
  EXPECT_EQ(BarCodeITFSCCSym[0], "22552");
}
