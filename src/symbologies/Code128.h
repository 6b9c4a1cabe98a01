// The Code 128 symbol shared by Code-128, EAN-128, EAN-14 and EAN-18: data to symbol values, the
// check character, the bars and the human-readable line.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct BarCodeDataRec;

// Symbol values of ISO/IEC 15417 that the encoders use besides the data characters.
enum : int {
  kCode128CodeB = 100, // in code set C: the next characters are in code set B
  kCode128FNC1 = 102,
  kCode128StartB = 104,
  kCode128StartC = 105,
};

struct Code128Symbol {
  int start = kCode128StartB;
  std::vector<int> values; // every symbol character between the start and the check character
  bool digits = false;     // all-digit data: drawn in code set C, text in the small digit layout
};

// The symbol of the data (FNC1 after the start when fnc1 is set). Characters of code 128 and above
// are dropped. Data of digits only goes in code set C, two digits per character; an odd last digit
// follows a switch to code set B, so the symbol holds exactly the digits given (a lone digit is
// one character of code set B). Any other data is code set B throughout, its characters below 32
// dropped.
Code128Symbol Code128Encode(std::u32string_view data, bool fnc1);
// The number of symbol characters that the data takes between the start and the check character.
int64_t Code128DataCount(std::u32string_view data);
// (start + sum of value x position) mod 103, positions counted from 1.
int Code128CheckValue(const Code128Symbol& symbol);
// The box width: quiet zones, start, values, check character and stop.
int Code128Width(const Code128Symbol& symbol);
// Draws the whole symbol in a box `height` units high, bars from y = 12 to the top, with `text` as
// its human-readable line.
int Code128MakeSymbol(cairo_t* cg, const BarCodeDataRec& rec, const Code128Symbol& symbol,
                      int height, std::string_view text);
