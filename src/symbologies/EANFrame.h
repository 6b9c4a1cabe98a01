// What the EAN/UPC encoders share: completing the digits, the add-on symbol and the number sets.
#pragma once

#include "render/BarCodeDraw.h"

#include <string>
#include <string_view>

struct BarCodeDataRec;

// The check digit of digits that do not carry one yet, as a character.
std::string EANCheckDigit(std::string_view digits);
// The digits brought to length characters (zeros in front, or cut) followed by their check digit;
// data of length + 1 digits ends in a typed check digit, which the right one replaces. Notes what
// it changed in the record.
std::string EANCompleteDigits(const BarCodeDataRec& rec, std::string_view data, size_t length);
// The add-on as drawn: empty, 2 or 5 digits (zeros in front); 6 or more characters are dropped.
// Notes what it changed in the record.
std::string EANAddonDigits(const BarCodeDataRec& rec, std::string_view addon);
// What a scanner reads from the symbol: the digits, and the add-on after a space.
std::string EANCarriedText(std::string_view digits, std::string_view addonDigits);
// The width the add-on adds to the symbol box: 0, 25 or 52 units.
int EANAddonIncrement(std::string_view addonDigits);
// The module string of digits drawn in the given number sets ("A", "B", "C" per digit).
std::string EANModules(std::string_view digits, std::string_view sets);
// Draws the bars of the add-on symbol from x, between bottom and top.
void EANDrawAddonBars(const BarCodeCanvas& canvas, std::string_view addonDigits, int x,
                      float bottom, float top);
// Draws the add-on's digits and the closing ">" above the add-on symbol that starts at x.
void EANDrawAddonText(const BarCodeCanvas& canvas, std::string_view addonDigits, int x,
                      int16_t textY);
// The font of the human-readable line of every EAN/UPC symbol, and the smaller size of the UPC
// number-system and check digits that stand in the quiet zones.
inline constexpr std::string_view kEANFont = "Monaco";
inline constexpr int16_t kEANFontSize = 10;
inline constexpr int16_t kUPCSmallFontSize = 7;

// Width of the EAN-13 and UPC-A symbol boxes without add-on, in units.
inline constexpr int kEANWidth = 113;

// Draws an EAN-13 symbol of 13 digits with its bars up to top, the add-on (may be empty) to its
// right with bars up to top - 10, and, when the canvas shows text, the digits, the add-on's digits
// and the closing ">".
void EANDrawEAN13(const BarCodeCanvas& canvas, std::string_view digits, std::string_view addon,
                  float top);
// Draws the bars of a UPC-A symbol of 12 digits up to top; returns the x after its stop guard.
int EANDrawUPCABars(const BarCodeCanvas& canvas, std::string_view digits, float top);
// Draws the digits of a UPC-A symbol when the canvas shows text; ends with the 10-point font.
void EANDrawUPCAText(const BarCodeCanvas& canvas, std::string_view digits);
