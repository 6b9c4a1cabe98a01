// Pharmacode (one track), whose bar string the size computation shares with the encoder.
#pragma once

#include <string>
#include <string_view>

// The bar string of the data's last 9 characters read as an integer (optional sign and leading
// digits; anything else reads as 0): "0" a narrow bar, "1" a wide one, left to right.
std::string PharmacodeBars(std::u32string_view data);
// The width of the bars with their 2-unit spaces.
int PharmacodeBarsWidth(std::string_view bars);
// The characters that the bars and the box width are made from: the last 9.
std::u32string_view PharmacodeText(std::u32string_view data);
