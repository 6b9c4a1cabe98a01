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
  kCode128Shift = 98,       // in code sets A and B: the next character is in the other one
  kCode128CodeB = 100,      // in code set C: the next characters are in code set B
  kCode128CodeBFromA = 100, // the same in code set A
  kCode128FNC4InB = 100,    // in code set B: the next character is 128 higher
  kCode128CodeAFromB = 101, // in code set B: the next characters are in code set A
  kCode128FNC4InA = 101,    // in code set A: the next character is 128 higher
  kCode128FNC1 = 102,
  kCode128StartA = 103,
  kCode128StartB = 104,
  kCode128StartC = 105,
};

struct Code128Symbol {
  int start = kCode128StartB;
  std::vector<int> values; // every symbol character between the start and the check character
  bool digits = false;     // all-digit data: drawn in code set C, text in the small digit layout
};

// The symbol of the data (FNC1 after the start when fnc1 is set). Data of digits only goes in code
// set C, two digits per character; an odd last digit follows a switch to code set B, so the symbol
// holds exactly the digits given (a lone digit is one character of code set B). Any other data is
// code set B, with control characters in code set A and U+0080-U+00FF behind FNC4, so that every
// character is carried; characters beyond U+00FF have no place in the symbol.
Code128Symbol Code128Encode(std::u32string_view data, bool fnc1);
// The first character that no Code 128 symbol can carry (beyond U+00FF), or 0.
char32_t Code128FirstUncarried(std::u32string_view data);
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
