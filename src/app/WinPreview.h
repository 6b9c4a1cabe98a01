// The preview of a document window: the symbol drawn at a whole number of screen pixels per unit,
// so that every bar edge falls between pixels, on white as a printout shows it. By default it is
// fitted to the preview area and follows the window's size; zoomed in past the area it scrolls.
#pragma once

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRect.h"

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Gtk {
class Widget;
class Window;
} // namespace Gtk

// The zoom that fits the symbol to the area.
inline constexpr int32_t kZoomToFit = 0;
// The largest picture the preview keeps, per side in screen pixels, and the largest zoom.
inline constexpr int32_t kPreviewMaxPixels = 4096;
inline constexpr int32_t kPreviewMaxZoom = 64;

struct WinPreview {
  WinPreview();
  ~WinPreview();
  WinPreview(const WinPreview&) = delete;
  WinPreview& operator=(const WinPreview&) = delete;

  int32_t zoom = kZoomToFit;        // screen pixels per unit the user chose, or fit
  int32_t pixelsPerUnit = 1;        // what the symbol is drawn at now
  BarCodeDataRec rec{};             // the request as the controls last held it
  std::string requestKey;           // everything of it that changes the picture
  BarCodeRect box;                  // its unscaled box; empty when it cannot be drawn
  std::vector<std::string> notices; // what the engine changed in its data
  // The picture drawn for one request at one zoom, kept until either changes.
  std::string imageKey;
  cairo_surface_t* image = nullptr;
  // A symbol that has just grown past the area is shown from its middle, across and down.
  bool recenter[2] = {false, false};
};

// The largest whole number of screen pixels per unit at which the box fits the area (given in
// screen pixels), at least 1; the same limits bound it as bound zooming.
int32_t PreviewFitFactor(BarCodeRect box, double areaWidth, double areaHeight);
// Draws the preview in its view, and fits it again whenever the area's size changes.
void PreviewInstall(Gtk::Window& window);
// Reads the controls and the area's size; the request is sized again only when it changed.
void PreviewUpdate(Gtk::Window& window);
// Zoom In and Zoom Out step one screen pixel per unit; Actual Size draws one unit as one point at
// the request's scale; Zoom to Fit fits again, and follows the area.
int PreviewZoomIn(Gtk::Window& window);
int PreviewZoomOut(Gtk::Window& window);
int PreviewZoomActual(Gtk::Window& window);
int PreviewZoomFit(Gtk::Window& window);
// Whether the request on screen can be drawn (export and copy need a symbol).
bool PreviewDrawable(Gtk::Window& window);
// Draws the preview into the view's context: white, then the kept picture centred on whole pixels
// (or the placeholder when there is no symbol).
void PreviewDraw(cairo_t* cg, Gtk::Widget& view);
