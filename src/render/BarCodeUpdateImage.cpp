#include "model/BarCodeDataRec.h"
#include "render/BarCodeGraphics.h"
#include "render/BarCodeRender.h"
#include "symbologies/BarCodeEncoders.h"

#include <array>
#include <cmath>

namespace {

constexpr const char* kHoldingText = "No BarCode Image";
constexpr float kHoldingWidth = 200, kHoldingHeight = 50;

// Crop marks: 20-unit lines that start 20 units out from each corner of the symbol box and point
// away from it along the box's edges.
void StrokeCropMarks(cairo_t* cg, float w, float h) {
  struct Mark {
    float x1, y1, x2, y2;
  };
  const std::array<Mark, 8> marks{{
      {-20, 0, -40, 0},
      {0, -20, 0, -40},
      {w + 20, 0, w + 40, 0},
      {w, -20, w, -40},
      {w, h + 20, w, h + 40},
      {w + 20, h, w + 40, h},
      {-20, h, -40, h},
      {0, h + 20, 0, h + 40},
  }};
  GraphicsLineWidth(cg, 0.5);
  GraphicsColor(cg, 0, 0, 0, 1);
  for (const Mark& m : marks)
    GraphicsStrokeLine(cg, m.x1, m.y1, m.x2, m.y2);
}

void PlaceSymbol(cairo_t* cg, int16_t position, float w, float h, BarCodeRect box, double s) {
  switch (position) {
  case kPositionPreview:
    cairo_translate(cg, std::nearbyint(w / 2 - box.width / 2),
                    std::nearbyint(h / 2 + box.height / 2));
    cairo_scale(cg, s, -s);
    break;
  case kPositionPrint:
    // The page is y-up: the box's lower-left corner goes half its height below the centre, so the
    // symbol stands centred on the page (half its height above the centre would put a large
    // symbol past the top edge).
    cairo_translate(cg, std::nearbyint(w / 2 - box.width / 2),
                    std::nearbyint(h / 2 - box.height / 2));
    cairo_scale(cg, s, s);
    break;
  case kPositionFlipped:
    cairo_translate(cg, 0, std::nearbyint(box.height));
    cairo_scale(cg, s, -s);
    break;
  default:
    cairo_scale(cg, s, s);
    break;
  }
}

void PlaceHolder(cairo_t* cg, int16_t position, float w, float h, double s) {
  switch (position) {
  case kPositionPreview:
    cairo_translate(cg, std::nearbyint(w / 2 - kHoldingWidth / 2),
                    std::nearbyint(h / 2 - kHoldingHeight / 2));
    cairo_scale(cg, s, s);
    break;
  case kPositionPrint:
    cairo_translate(cg, std::nearbyint(w / 2 - kHoldingWidth / 2),
                    std::nearbyint(h - (h / 2 - kHoldingHeight / 2)));
    cairo_scale(cg, s, -s);
    break;
  case kPositionFile:
    cairo_translate(cg, 0, kHoldingHeight);
    cairo_scale(cg, s, -s);
    break;
  default:
    cairo_scale(cg, s, s);
    break;
  }
}

} // namespace

int BarCodeUpdateImage(cairo_t* cg, float width, float height, BarCodeDataRec* rec) {
  BarCodeRect box;
  const bool drawable = BarCodeGetSize(*rec, box) == 1;
  rec->textVisible = BarCodeTextVisible(static_cast<int16_t>(rec->symbology));
  const double s = rec->scale / 100.0;
  if (!drawable) {
    // A scale of 0 or less leaves nothing to see, and would break the context's matrix.
    if (!cg || s <= 0) return 0;
    PlaceHolder(cg, rec->position, width, height, s);
    cairo_save(cg);
    BarCodeMakeHoldingImage(cg, *rec);
    cairo_restore(cg);
    return 0;
  }
  if (cg) {
    PlaceSymbol(cg, rec->position, width, height, box, s);
    cairo_save(cg);
    GraphicsColor(cg, 0, 0, 0, 1); // bars and text are opaque black on every target
  }
  BarCodeDataRec copy = *rec;
  BarCodeEncoderFor(rec->symbology)(cg, &copy);
  if (!cg) return 0;
  cairo_restore(cg);
  cairo_save(cg);
  cairo_scale(cg, 1 / s, 1 / s);
  if (rec->position == kPositionPrint) StrokeCropMarks(cg, box.width, box.height);
  cairo_restore(cg);
  return 0;
}

int BarCodeMakeHoldingImage(cairo_t* cg, const BarCodeDataRec& rec) {
  if (!cg) return 0;
  const double s = rec.scale / 100.0;
  cairo_save(cg);
  cairo_scale(cg, 1 / s, -1 / s);
  GraphicsSelectFont(cg, "Lucida Grande", 14);
  BarCodeSize size;
  GetCGTextDrawnSize(kHoldingText, "Lucida Grande", 14, size);
  GraphicsColor(cg, 1, 0, 0, 1);
  GraphicsShowText(cg, kHoldingWidth / 2 - size.width / 2, -kHoldingHeight / 2 - size.height / 2,
                   kHoldingText);
  cairo_restore(cg);
  return 0;
}
