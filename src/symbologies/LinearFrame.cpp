#include "symbologies/LinearFrame.h"

#include "model/BarCodeDataRec.h"

#include <algorithm>

int LinearTrim(const BarCodeDataRec& rec, int cap) {
  return std::min(rec.trim, cap);
}

std::string LinearDisplayText(const BarCodeDataRec& rec, std::string_view derived) {
  if (rec.display && !rec.display->empty()) return *rec.display;
  return std::string(derived);
}

void LinearDrawText(const BarCodeCanvas& canvas, LinearTextLayout layout, std::string_view text) {
  if (!canvas.text) return;
  BarCodeSelectFont(canvas, kLinearFont, layout.size);
  BarCodeDrawSpacedText(canvas, layout.x, layout.y, layout.step, text);
}

std::string LinearWideNarrowWidths(std::string_view pattern, size_t group) {
  std::string widths;
  for (size_t k = 0; k < pattern.size(); ++k) {
    widths += pattern[k] == '1' ? '3' : '1';
    if ((k + 1) % group == 0) widths += '1';
  }
  return widths;
}

std::string LinearBitWidths(std::string_view bits, std::string_view zero, std::string_view one) {
  std::string widths;
  for (char bit : bits)
    widths += bit == '1' ? one : zero;
  return widths;
}
