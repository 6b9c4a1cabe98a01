// What the linear, postal and two-dimensional encoders share: the trim, the human-readable line in
// Monaco, and the element strings that their tables spell as wide/narrow or bar-only patterns.
#pragma once

#include "render/BarCodeDraw.h"

#include <cstdint>
#include <string>
#include <string_view>

struct BarCodeDataRec;

// The amount a symbology takes off its bar height: min(trim, cap) on the signed trim, so that a
// negative trim makes the bars taller.
int LinearTrim(const BarCodeDataRec& rec, int cap);

// The human-readable text: the display override, or `derived` (the data at the stage each
// symbology takes it) when the override is empty.
std::string LinearDisplayText(const BarCodeDataRec& rec, std::string_view derived);

// A human-readable line: one character every `step` units from x on baseline y, in Monaco.
struct LinearTextLayout {
  int16_t size, x, step, y;
};
inline constexpr std::string_view kLinearFont = "Monaco";
// Draws the line when the canvas shows text.
void LinearDrawText(const BarCodeCanvas& canvas, LinearTextLayout layout, std::string_view text);

// The width string of a wide/narrow pattern ("1" wide, "0" narrow, bar first) drawn 1 : 3, with a
// 1-unit gap after every group of `group` elements. Groups have an odd number of elements (they
// start and end with a bar), so the gap is the space that keeps bars and spaces alternating.
std::string LinearWideNarrowWidths(std::string_view pattern, size_t group);

// The width string of a bit string whose bits are drawn as a bar and the space after it: each "0"
// becomes the two widths of `zero`, each "1" those of `one`.
std::string LinearBitWidths(std::string_view bits, std::string_view zero, std::string_view one);
