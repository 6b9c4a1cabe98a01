#pragma once

// A rectangle in points or symbol units, origin at the lower left.
struct BarCodeRect {
  float x = 0, y = 0, width = 0, height = 0;
};
