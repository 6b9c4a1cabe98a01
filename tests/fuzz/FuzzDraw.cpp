// Every symbology through the size computation and the drawing. Fields: the numbers "symbology
// scale trim antialiasOff fontSmoothOff dpi" (a new drawing parameter is one more number at the
// end), the add-on, the display text, then the data. What can be drawn is drawn on an image surface
// and as EPS text, inside the box that the size computation gives, and the bitmap's PNG decodes to
// exactly its pixels; what cannot be drawn is drawn nowhere.
#include "Fuzz.h"

#include "render/BarCodeRender.h"
#include "support/PNGPixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

// Every rectangle of the EPS picture lies inside its bounding box, which is the size computation's.
void CheckEps(const std::string& eps, BarCodeRect box, BarCodeRect unscaled) {
  std::istringstream lines(eps);
  bool bounded = false;
  for (std::string line; std::getline(lines, line);) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (std::sscanf(line.c_str(), "%%%%BoundingBox: 0 0 %f %f", &x2, &y2) == 2) {
      FUZZ_CHECK(std::abs(x2 - box.width) < 0.01f && std::abs(y2 - box.height) < 0.01f);
      bounded = true;
    } else if (line.ends_with("VXfillrect") &&
               std::sscanf(line.c_str(), "%f %f %f %f", &x1, &y1, &x2, &y2) == 4) {
      // Corners are written rounded to whole units.
      FUZZ_CHECK(std::min(x1, x2) >= -0.5f && std::max(x1, x2) <= unscaled.width + 0.5f);
      FUZZ_CHECK(std::min(y1, y2) >= -0.5f && std::max(y1, y2) <= unscaled.height + 0.5f);
    }
  }
  FUZZ_CHECK(bounded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFields in(data, size);
  std::string_view numbers = in.Next();
  FuzzRecord rec;
  rec.symbology = 1 + std::abs(FuzzNumber(numbers, 1) - 1) % kBarCodeCount;
  rec.scale = std::clamp(FuzzNumber(numbers, 100), 50, 150);
  rec.trim = std::clamp(FuzzNumber(numbers, 0), 0, 100);
  rec.antialiasOff = FuzzNumber(numbers, 0) & 1;
  rec.fontSmoothOff = FuzzNumber(numbers, 0) & 1;
  rec.dpi = std::clamp(FuzzNumber(numbers, kBarCodeDefaultDPI), kBarCodeDefaultDPI, kBarCodeMaxDPI);
  rec.position = kPositionFile;
  *rec.addon = in.Next();
  *rec.display = in.Next();
  *rec.data = in.rest;
  BarCodeRect box;
  const bool drawable = BarCodeGetSize(rec, box) == 1;
  const BarCodeRect unscaled = BarCodeGetUnscaledSize(rec);
  FUZZ_CHECK(drawable == (unscaled.width > 0 && unscaled.height > 0));
  OutputBitmap bitmap;
  // A bitmap is the unscaled box in whole pixels a unit, each side below 16384 pixels.
  const bool fits =
      drawable && std::max(unscaled.width, unscaled.height) * OutputPixelFactor(rec) < 16384;
  FUZZ_CHECK(OutputRenderBitmap(rec, 0, 0, bitmap) == fits);
  if (fits && size_t(bitmap.width) * bitmap.height < (1u << 22))
    FUZZ_CHECK(PNGFirstDifference(bitmap) == -1); // libpng reads back exactly its pixels
  rec.epsText = std::make_shared<std::string>();
  BarCodeUpdateImage(nullptr, 0, 0, &rec);
  if (drawable) CheckEps(*rec.epsText, box, unscaled);
  FUZZ_CHECK(drawable != rec.epsText->empty());
  return 0;
}
