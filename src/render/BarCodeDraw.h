// What every encoder draws with: each rectangle and text run goes to both targets of one draw,
// the cairo context (when there is one) and the EPS text (when there is one).
#pragma once

#include "render/BarCodeRect.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <string_view>

struct BarCodeDataRec;

struct BarCodeCanvas {
  cairo_t* cg;      // may be null: then only the EPS text is produced
  std::string* eps; // may be null: then only the context is drawn
  bool text;        // whether the human-readable text is drawn
};

// Opens a symbol: sets antialiasing and font smoothing from the record and opens the EPS picture
// with the symbol box in unscaled units.
BarCodeCanvas BarCodeBeginSymbol(cairo_t* cg, const BarCodeDataRec& rec, BarCodeRect box);
// Switches antialiasing and font smoothing back on and closes the EPS picture.
void BarCodeEndSymbol(const BarCodeCanvas& canvas);

void BarCodePaintRect(const BarCodeCanvas& canvas, BarCodeRect rect);
void BarCodeFrameRect(const BarCodeCanvas& canvas, BarCodeRect rect);
void BarCodePenSize(const BarCodeCanvas& canvas, int16_t width);
void BarCodeSelectFont(const BarCodeCanvas& canvas, std::string_view fontName, int16_t size);
void BarCodeDrawText(const BarCodeCanvas& canvas, int16_t x, int16_t y, std::string_view text);
// Draws text one character at a time, the k-th at (x + k * step, y).
void BarCodeDrawSpacedText(const BarCodeCanvas& canvas, int16_t x, int16_t y, int16_t step,
                           std::string_view text);

// Draws a width string: each digit the width in modules of the next element, elements
// alternating bar, space, bar, ... from a bar; bars span bottom to top. Returns the x after it.
int BarCodeDrawWidths(const BarCodeCanvas& canvas, std::string_view widths, int x, float bottom,
                      float top);

// The human-readable text of a symbol: the display override, or the data when it is empty.
std::string BarCodeDisplayText(const BarCodeDataRec& rec);

// Draws a picture of columns x rows modules ("1" dark), row by row from the top, each module a
// moduleWidth x moduleHeight rectangle of its own; the bottom row stands at y = 0. A picture of
// any other size draws nothing.
void BarCodeDrawModulePicture(const BarCodeCanvas& canvas, std::string_view picture, int columns,
                              int rows, float moduleWidth, float moduleHeight);

// Draws a module string ("1" dark, "0" light), one unit per module from x, each run of dark
// modules as one bar from bottom to top. Returns the x after the last module.
int BarCodeDrawModules(const BarCodeCanvas& canvas, std::string_view modules, int x, float bottom,
                       float top);
