#include "model/BarCodeTables.h"

namespace {

using Patterns = std::string_view;

// EAN/UPC number set A (odd parity, "L" patterns), GS1 General Specifications table 5.2.1.2.1-1.
// Sets B and C are derived from it as the standard defines them.
constexpr std::array<Patterns, 10> kEANSetA{"0001101", "0011001", "0010011", "0111101", "0100011",
                                            "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<Patterns, 10> kEANLeadingSets{"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                   "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                   "ABABBA", "ABBABA"};
constexpr std::array<Patterns, 10> kUPCESets{"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                             "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};
constexpr std::array<Patterns, 8> kEAN2Sets{"A", "A", "B", "B", "A", "B", "A", "B"};
constexpr std::array<Patterns, 10> kEAN5Sets{"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                             "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

// Code 128 symbol values 0-105, ISO/IEC 15417 table 1 (element widths, bar first).
constexpr std::array<Patterns, 106> kCode128{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", //
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232"};

// Code 93 values 0-46 (ANSI/AIM BC5), element widths; 43-46 are the shift characters.
constexpr std::array<Patterns, 47> kCode93{
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", // 0
    "141111", "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212",
    "112311", "122112", "132111", "111123", "111222", "111321", "121122", "131121", "212112",
    "212211", "211122", "211221", "221121", "222111", "112122", "112221", "122121", "123111",
    "121131", "311112", "311211", "321111", "112131", "113121", "211131", "121221", "312111",
    "311121", "122211"};

// Code 39 (ANSI/AIM BC1) characters with their own pattern, 1 = wide element, bar first.
// $ % + / have their own patterns here too instead of the full-ASCII shift pairs.
struct Code39Char {
  char c;
  Patterns pattern;
};
constexpr std::array<Code39Char, 44> kCode39{{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},
}};

// Royal Mail 4-State Customer Code characters 0-9, A-Z: ascender flags of the four bars, then
// descender flags (row and column of the standard's 6 x 6 table).
constexpr std::array<Patterns, 36> kRM4SCC{
    "00110011", "00110101", "00110110", "00111001", "00111010", "00111100", "01010011", // 0
    "01010101", "01010110", "01011001", "01011010", "01011100", "01100011", "01100101", // 7
    "01100110", "01101001", "01101010", "01101100", "10010011", "10010101", "10010110", // 14
    "10011001", "10011010", "10011100", "10100011", "10100101", "10100110", "10101001", // 21
    "10101010", "10101100", "11000011", "11000101", "11000110", "11001001", "11001010", // 28
    "11001100"};

// Two-of-five digits: 1 narrow, 3 wide (Code 25, ITF); ITF-SCC draws them 2 narrow, 5 wide.
constexpr std::array<Patterns, 10> kTwoOfFive{"11331", "31113", "13113", "33111", "11313",
                                              "31311", "13311", "11133", "31131", "13131"};

// Codabar (ANSI/AIM BC3): digits, then - $ : / . + A B C D; 1 = wide element.
constexpr std::array<Patterns, 20> kCodabar{"0000011", "0000110", "0001001", "1100000", "0010010",
                                            "1000010", "0100001", "0100100", "0110000", "1001000",
                                            "0001100", "0011000", "1000101", "1010001", "1010100",
                                            "0010101", "0011010", "0101001", "0001011", "0001110"};

// POSTNET digits, five bars each, 1 = full bar (USPS DMM 708.4).
constexpr std::array<Patterns, 10> kPostNet{"11000", "00011", "00101", "00110", "01001",
                                            "01010", "01100", "10001", "10010", "10100"};

// Code 93 character value 0-46 of a character code, or -1.
constexpr int16_t Code93Value(int32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int16_t>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(c - 'A' + 10);
  if (c >= kCode93ShiftDollar && c <= kCode93ShiftPlus)
    return static_cast<int16_t>(43 + c - kCode93ShiftDollar);
  constexpr std::string_view kSymbols = "-. $/+%";
  const size_t at =
      (c > 0 && c < 128) ? kSymbols.find(static_cast<char>(c)) : std::string_view::npos;
  return at == std::string_view::npos ? -1 : static_cast<int16_t>(36 + at);
}

// The published full-ASCII pairs of Code 93: ranges of character codes, the shift that leads them
// and the offset from the code to the paired letter.
struct ShiftRange {
  int32_t first, last;
  char32_t shift;
  int32_t offset;
};
constexpr std::array<ShiftRange, 13> kCode93Shifts{{
    {0, 0, kCode93ShiftPercent, 'U'},
    {1, 26, kCode93ShiftDollar, 64},
    {27, 31, kCode93ShiftPercent, 38},
    {33, 35, kCode93ShiftSlash, 32},
    {38, 42, kCode93ShiftSlash, 32},
    {44, 44, kCode93ShiftSlash, 32},
    {58, 58, kCode93ShiftSlash, 32},
    {59, 63, kCode93ShiftPercent, 11},
    {64, 64, kCode93ShiftPercent, 'V' - 64},
    {91, 95, kCode93ShiftPercent, -16},
    {96, 96, kCode93ShiftPercent, 'W' - 96},
    {97, 122, kCode93ShiftPlus, -32},
    {123, 127, kCode93ShiftPercent, -43},
}};

// The one or two characters that stand for c in Code 93 full ASCII; none for codes beyond it.
struct Code93Chars {
  std::array<char32_t, 2> c{};
  size_t size = 0;
};

constexpr Code93Chars Code93CharsOf(int32_t c) {
  if (Code93Value(c) >= 0) return {{static_cast<char32_t>(c), 0}, 1};
  for (const ShiftRange& range : kCode93Shifts)
    if (c >= range.first && c <= range.last)
      return {{range.shift, static_cast<char32_t>(c + range.offset)}, 2};
  return {};
}

// Strings of up to W characters for N entries, made at compile time.
template <size_t N, size_t W> struct PatternTable {
  std::array<std::array<char, W>, N> text{};
  std::array<size_t, N> size{};

  constexpr void Append(size_t i, std::string_view pattern) {
    for (char c : pattern)
      text[i][size[i]++] = c;
  }
  constexpr std::string_view operator[](size_t i) const { return {text[i].data(), size[i]}; }
};

// Views of a table's strings, for the tables the encoders read.
template <size_t N, size_t W>
constexpr std::array<std::string_view, N> Views(const PatternTable<N, W>& table) {
  std::array<std::string_view, N> views;
  for (size_t i = 0; i < N; ++i)
    views[i] = table[i];
  return views;
}

// Code 93 widths by ASCII code, full-ASCII pairs spelled out, then the four shift characters,
// the start/stop character and the stop with its final bar.
constexpr PatternTable<134, 12> kCode93Full = [] {
  PatternTable<134, 12> table;
  for (int32_t c = 0; c < 128; ++c) {
    const Code93Chars chars = Code93CharsOf(c);
    for (size_t k = 0; k < chars.size; ++k)
      table.Append(c, kCode93[Code93Value(static_cast<int32_t>(chars.c[k]))]);
  }
  for (int32_t shift = kCode93ShiftDollar; shift <= kCode93ShiftPlus; ++shift)
    table.Append(shift, kCode93[Code93Value(shift)]);
  table.Append(132, "111141");
  table.Append(133, "1111411");
  return table;
}();

constexpr std::string_view Code39Native(char32_t c) {
  for (const Code39Char& entry : kCode39)
    if (static_cast<char32_t>(entry.c) == c) return entry.pattern;
  return {};
}

// Code 39 by ASCII code. Its full-ASCII shift pairs are the same letter pairs as those of Code 93,
// with the shift characters $ % / + standing for the four Code 93 shifts.
constexpr PatternTable<128, 18> kCode39Full = [] {
  PatternTable<128, 18> table;
  constexpr std::array<char, 4> kShift{'$', '%', '/', '+'};
  for (int32_t c = 0; c < 128; ++c) {
    const std::string_view own = Code39Native(static_cast<char32_t>(c));
    if (!own.empty()) {
      table.Append(c, own);
      continue;
    }
    const Code93Chars chars = Code93CharsOf(c);
    table.Append(c, Code39Native(static_cast<char32_t>(kShift[chars.c[0] - kCode93ShiftDollar])));
    table.Append(c, Code39Native(chars.c[1]));
  }
  return table;
}();

// EAN/UPC sets A, B and C: C is A with bars and spaces swapped, B is C read backwards.
constexpr PatternTable<30, 7> kEANSymbols = [] {
  PatternTable<30, 7> table;
  for (size_t d = 0; d < 10; ++d) {
    table.Append(d, kEANSetA[d]);
    for (size_t k = 0; k < kEANSetA[d].size(); ++k) {
      const char inverted = kEANSetA[d][k] == '1' ? '0' : '1';
      table.text[20 + d][k] = table.text[10 + d][kEANSetA[d].size() - 1 - k] = inverted;
    }
    table.size[20 + d] = table.size[10 + d] = kEANSetA[d].size();
  }
  return table;
}();

// ITF-SCC draws the two-of-five digits 2 narrow, 5 wide.
constexpr PatternTable<10, 5> kTwoOfFiveSCC = [] {
  PatternTable<10, 5> table;
  for (size_t d = 0; d < 10; ++d)
    for (char w : kTwoOfFive[d])
      table.Append(d, w == '3' ? "5" : "2");
  return table;
}();

// MSI digits: their four bits, most significant first.
constexpr PatternTable<10, 4> kMSIDigits = [] {
  PatternTable<10, 4> table;
  for (size_t d = 0; d < 10; ++d)
    for (int bit = 3; bit >= 0; --bit)
      table.Append(d, ((d >> bit) & 1) ? "1" : "0");
  return table;
}();

// Sets for the first digit of an EAN-13 (0-9), then the right half's sets.
constexpr std::array<Patterns, 20> kEANNumberSets = [] {
  std::array<Patterns, 20> sets;
  for (size_t d = 0; d < 10; ++d) {
    sets[d] = kEANLeadingSets[d];
    sets[10 + d] = "CCCCCC";
  }
  return sets;
}();

// Five-digit add-on sets by check value; the second ten entries repeat the first.
constexpr std::array<Patterns, 20> kEAN5Twice = [] {
  std::array<Patterns, 20> sets;
  for (size_t d = 0; d < 10; ++d)
    sets[d] = sets[10 + d] = kEAN5Sets[d];
  return sets;
}();

} // namespace

constexpr std::array<std::string_view, 30> BarCodeEANSym = Views(kEANSymbols);
constexpr std::array<std::string_view, 20> BarCodeEANNSet = kEANNumberSets;
constexpr std::string_view BarCodeEANStrt = "101", BarCodeEANCent = "01010", BarCodeEANStop = "101";
constexpr std::array<std::string_view, 10> BarCodeUPCESet = kUPCESets;
constexpr std::string_view BarCodeUPCStop = "010101", BarCodeAddStrt = "1011",
                           BarCodeAddCent = "01";
constexpr std::array<std::string_view, 8> BarCodeEAN2Add = kEAN2Sets;
constexpr std::array<std::string_view, 20> BarCodeEAN5Add = kEAN5Twice;
constexpr std::array<std::string_view, 106> BarCodeEAN128Sym = kCode128;
constexpr std::string_view BarCodeEAN128Stop = "2331112";
constexpr std::array<std::string_view, 134> BarCodeCode93 = Views(kCode93Full);
constexpr std::array<std::string_view, 128> BarCodeCode39 = Views(kCode39Full);
constexpr std::array<std::string_view, 10> BarCodeCode25Sym = kTwoOfFive,
                                           BarCodeITFSym = kTwoOfFive;
constexpr std::array<std::string_view, 10> BarCodeITFSCCSym = Views(kTwoOfFiveSCC);
constexpr std::string_view BarCodeCode25Strt = "221", BarCodeCode25Stop = "212";
constexpr std::string_view BarCodeITFStrt = "1111", BarCodeITFStop = "3110";
constexpr std::string_view BarCodeITFSCCStrt = "2222", BarCodeITFSCCStop = "5220";
constexpr std::array<std::string_view, 20> BarCodeCodabar = kCodabar;
constexpr std::array<std::string_view, 10> BarCodeMSI = Views(kMSIDigits);
constexpr std::string_view BarCodeMSIStrt = "1", BarCodeMSIStop = "00";
constexpr std::array<std::string_view, 10> BarCodePostNet = kPostNet;
constexpr std::string_view BarCodePostStrt = "1", BarCodePostStop = "1";
constexpr std::array<std::string_view, 36> BarCodeRM4SCC = kRM4SCC;
constexpr std::string_view BarCodeRM4SCCSt = "10", BarCodeRM4SCCSp = "11";

int16_t BarCodeConvASC_Code93(int32_t c) {
  return Code93Value(c);
}

int BarCodeConvChr_Code93(std::u32string& out, int32_t c) {
  const Code93Chars chars = Code93CharsOf(c);
  out.assign(chars.c.data(), chars.size);
  return 0;
}
