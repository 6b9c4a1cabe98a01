// Code 39 as the encoder and the size computation both see it: the data framed by its start and
// stop characters, and the patterns that carry it.
#pragma once

#include <string>
#include <string_view>

// The data with "*" put in front and after, unless it already begins or ends with one.
std::u32string Code39Framed(std::u32string_view data);
// The characters between the start and the stop: what a reader passes on.
std::u32string_view Code39Inner(std::u32string_view framed);
// Whether the characters need the full-ASCII reading: any character outside the 43 native ones.
bool Code39NeedsFullAscii(std::u32string_view inner);
// The wide/narrow pattern of the framed data, 9 elements per Code 39 character. Data that needs
// full ASCII writes $ / + % as their pairs /D /O /K /E, so that a full-ASCII reader gives them
// back; data of native characters only draws them as themselves.
std::string Code39Pattern(std::u32string_view framed);
