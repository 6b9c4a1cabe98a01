#include "render/BarCodeDraw.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeGraphics.h"
#include "render/epsf/EPSF.h"

#include <algorithm>

BarCodeCanvas BarCodeBeginSymbol(cairo_t* cg, const BarCodeDataRec& rec, BarCodeRect box) {
  BarCodeCanvas canvas{cg, rec.epsText.get(), rec.textVisible == 1};
  if (cg) {
    GraphicsSetFontSmoothing(cg, rec.fontSmoothOff == 0);
    GraphicsSetAntialias(cg, rec.antialiasOff == 0);
  }
  if (canvas.eps) EPSFOpenPicture(box, *canvas.eps, rec.scale);
  return canvas;
}

void BarCodeEndSymbol(const BarCodeCanvas& canvas) {
  if (canvas.cg) {
    GraphicsFillShapes(canvas.cg);
    GraphicsSetAntialias(canvas.cg, true);
    GraphicsSetFontSmoothing(canvas.cg, true);
  }
  if (canvas.eps) EPSFClosePicture(*canvas.eps);
}

// Bars and modules are filled together as one shape when something else is drawn or the symbol
// ends: one fill for a whole PDF417 symbol instead of thousands, and no antialiasing seams
// between modules that touch.
void BarCodePaintRect(const BarCodeCanvas& canvas, BarCodeRect r) {
  if (canvas.cg) GraphicsAddRect(canvas.cg, r.x, r.y, r.width, r.height);
  if (canvas.eps) EPSFPaintRect(r, *canvas.eps);
}

void BarCodeFrameRect(const BarCodeCanvas& canvas, BarCodeRect r) {
  if (canvas.cg) {
    GraphicsFillShapes(canvas.cg);
    GraphicsStrokeRect(canvas.cg, r.x, r.y, r.width, r.height);
  }
  if (canvas.eps) EPSFFrameRect(r, *canvas.eps);
}

void BarCodePenSize(const BarCodeCanvas& canvas, int16_t width) {
  if (canvas.cg) GraphicsLineWidth(canvas.cg, width);
  if (canvas.eps) EPSFPenSize(width, *canvas.eps);
}

void BarCodeSelectFont(const BarCodeCanvas& canvas, std::string_view fontName, int16_t size) {
  if (canvas.cg) GraphicsSelectFont(canvas.cg, fontName, size);
  if (canvas.eps) EPSFSetFontFaceSize(fontName, size, *canvas.eps);
}

void BarCodeDrawText(const BarCodeCanvas& canvas, int16_t x, int16_t y, std::string_view text) {
  if (canvas.cg) {
    GraphicsFillShapes(canvas.cg);
    GraphicsShowText(canvas.cg, x, y, text);
  }
  if (canvas.eps) EPSFPrintText(x, y, text, *canvas.eps);
}

void BarCodeDrawSpacedText(const BarCodeCanvas& canvas, int16_t x, int16_t y, int16_t step,
                           std::string_view text) {
  for (char32_t c : Utf8Decode(text)) {
    BarCodeDrawText(canvas, x, y, Utf8Encode(std::u32string(1, c)));
    x = static_cast<int16_t>(x + step);
  }
}

int BarCodeDrawModules(const BarCodeCanvas& canvas, std::string_view modules, int x, float bottom,
                       float top) {
  size_t run = 0;
  for (size_t i = 0; i <= modules.size(); ++i) {
    if (i < modules.size() && modules[i] == '1') {
      ++run;
      continue;
    }
    if (run > 0) {
      const float start = static_cast<float>(x + static_cast<int>(i - run));
      BarCodePaintRect(canvas, {start, bottom, static_cast<float>(run), top - bottom});
    }
    run = 0;
  }
  return x + static_cast<int>(modules.size());
}

int BarCodeDrawWidths(const BarCodeCanvas& canvas, std::string_view widths, int x, float bottom,
                      float top) {
  bool bar = true;
  for (char digit : widths) {
    const int width = digit - '0';
    if (bar && width > 0)
      BarCodePaintRect(canvas,
                       {static_cast<float>(x), bottom, static_cast<float>(width), top - bottom});
    x += width;
    bar = !bar;
  }
  return x;
}

std::string BarCodeDisplayText(const BarCodeDataRec& rec) {
  if (rec.display && !rec.display->empty()) return *rec.display;
  return rec.data ? *rec.data : std::string();
}

// On a bitmap file whole-pixel modules go straight into the pixels; on other bitmaps a run of dark
// modules in a row goes to cairo as one rectangle: the filled shape is the same, the pixels are
// the same, and cairo has a fraction of the edges to sort. Vector output keeps one rectangle a
// module.
void BarCodeDrawModulePicture(const BarCodeCanvas& canvas, std::string_view picture, int columns,
                              int rows, float moduleWidth, float moduleHeight) {
  if (columns <= 0 || rows <= 0 || picture.size() != static_cast<size_t>(columns) * rows) return;
  const bool filled = canvas.cg && GraphicsFillPicture(canvas.cg, picture, columns, rows,
                                                       moduleWidth, moduleHeight);
  const bool runs = canvas.cg && !filled && GraphicsDrawsPixels(canvas.cg);
  for (int r = 0; r < rows && (canvas.eps || (canvas.cg && !filled)); ++r) {
    const std::string_view row = picture.substr(static_cast<size_t>(r) * columns, columns);
    const float y = moduleHeight * static_cast<float>(rows - 1 - r);
    for (int c = 0; c < columns; ++c) {
      if (row[c] != '1') continue;
      const float x = moduleWidth * static_cast<float>(c);
      if (canvas.eps) EPSFPaintRect({x, y, moduleWidth, moduleHeight}, *canvas.eps);
      if (!canvas.cg || filled) continue;
      if (!runs) {
        GraphicsAddRect(canvas.cg, x, y, moduleWidth, moduleHeight);
        continue;
      }
      if (c > 0 && row[c - 1] == '1') continue;
      const size_t end = std::min(row.find('0', c), row.size());
      GraphicsAddRect(canvas.cg, x, y, moduleWidth * static_cast<float>(end - c), moduleHeight);
    }
  }
}
