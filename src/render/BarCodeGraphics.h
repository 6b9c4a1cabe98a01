// The small layer through which everything is drawn into a cairo context. Contexts handed to the
// engine by the file writers, the clipboard and printing carry a y-up base transform; the window
// preview's context is y-down, like a flipped view.
#pragma once

#include <cairo.h>

#include <span>
#include <string_view>

struct BarCodeSize {
  float width = 0, height = 0;
};
struct BarCodePoint {
  double x = 0, y = 0;
};

void GraphicsFillRect(cairo_t* cg, double x, double y, double width, double height);
// Marks a context that draws unclipped into an ARGB32 image of its own, as a bitmap file's does:
// its rectangles on whole pixels and its text are written straight into the pixels.
void GraphicsOwnImage(cairo_t* cg);
// Fills the dark modules ('1') of a picture of columns x rows, row by row from the top, the bottom
// row at y = 0, straight into the pixels of a context marked by GraphicsOwnImage when every module
// falls on whole pixels; false, with nothing drawn, otherwise.
bool GraphicsFillPicture(cairo_t* cg, std::string_view picture, int columns, int rows,
                         double moduleWidth, double moduleHeight);
// Whether the context draws into pixels (an image surface) rather than a vector format.
bool GraphicsDrawsPixels(cairo_t* cg);
// Adds a rectangle to the shapes waiting to be filled; GraphicsFillShapes fills them all at once.
void GraphicsAddRect(cairo_t* cg, double x, double y, double width, double height);
void GraphicsFillShapes(cairo_t* cg);
void GraphicsStrokeRect(cairo_t* cg, double x, double y, double width, double height);
void GraphicsStrokeLine(cairo_t* cg, double x1, double y1, double x2, double y2);
// The polygon through the points, closed back to the first one, filled.
void GraphicsFillPolygon(cairo_t* cg, std::span<const BarCodePoint> points);
void GraphicsStrokeCircle(cairo_t* cg, double x, double y, double radius);
void GraphicsLineWidth(cairo_t* cg, double width);
void GraphicsColor(cairo_t* cg, double red, double green, double blue, double alpha);
void GraphicsSetAntialias(cairo_t* cg, bool on);
void GraphicsSetFontSmoothing(cairo_t* cg, bool on);
// Selects a font by the name the drawing code uses ("Monaco", "Lucida Grande", "Helvetica"),
// upright in a y-up user space.
void GraphicsSelectFont(cairo_t* cg, std::string_view fontName, double size);
void GraphicsShowText(cairo_t* cg, double x, double y, std::string_view text);
// Shows valid UTF-8 text without NUL as cairo_show_text would, straight into the pixels of a
// context marked by GraphicsOwnImage before it chose its font, when the text is opaque black and
// unhinted; false, with nothing drawn, otherwise.
bool GraphicsShowTextOnPixels(cairo_t* cg, double x, double y, std::string_view text);

// The advance of text in a font, as width and height (0 for horizontal text).
int GetCGTextDrawnSize(std::string_view text, std::string_view fontName, double size,
                       BarCodeSize& out);
