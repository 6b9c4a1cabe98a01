// The EPS picture of a request parsed back into its rectangles and texts: what the tests measure
// a symbol's geometry on, since every encoder draws through the same calls into it.
#pragma once

#include "render/BarCodeRect.h"

#include <string>
#include <vector>

struct EpsBox {
  int x1, y1, x2, y2;
  bool operator==(const EpsBox&) const = default;
};
struct EpsText {
  int x, y, size;
  std::string text; // the run as UTF-8, escapes undone
  bool operator==(const EpsText&) const = default;
};
struct EpsPicture {
  float width = 0, height = 0; // the bounding box
  std::vector<EpsBox> fills;   // VXfillrect, in drawing order
  std::vector<EpsBox> frames;  // VXdrawrect
  std::vector<int> penSizes;   // setlinewidth, in order
  std::vector<EpsText> texts;
};

EpsPicture ParseEps(const std::string& eps);

struct SymbolRequest {
  int symbology;
  std::string data, addon = {};
  int trim = 0;
  std::string display = {};
  int textVisible = -1; // -1: as the render driver sets it; else the encoder is called directly
};
// The picture drawn with no context (empty when the request is not drawable).
EpsPicture DrawEps(const SymbolRequest& request);
// The unscaled box of the size computation; 0 by 0 when the request is not drawable.
BarCodeRect SizeOf(const SymbolRequest& request);
// The picture, once the test has checked that its bounding box and (for a request drawn by the
// render driver) the size computation's box are both width by height.
EpsPicture DrawInBox(const SymbolRequest& request, float width, float height);

// The bars as a module string from the first bar's left edge: "1" where a bar covers the unit.
std::string ModulesOf(const std::vector<EpsBox>& bars);
// The elements of a module string as "n" (as narrow as the narrowest) and "w" (wider), bar first:
// how two renderings that draw their elements at different ratios compare.
std::string WideNarrowOf(const std::string& modules);
