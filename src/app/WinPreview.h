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

// What the thread makes of a request: its box, what the engine said of it, and its picture at k
// screen pixels per unit (none when it cannot be drawn).
struct WinPicture {
  WinPicture();
  ~WinPicture();
  WinPicture(const WinPicture&) = delete;
  WinPicture& operator=(const WinPicture&) = delete;

  std::string requestKey; // everything of the request that changes the picture
  BarCodeDataRec rec{};
  BarCodeRect box;                  // its unscaled box; empty when it cannot be drawn
  std::vector<std::string> notices; // what the engine changed in its data
  std::string refusal;              // why it cannot be drawn
  std::string carried;              // what a scanner reads off it
  int32_t pixelsPerUnit = 1;
  cairo_surface_t* image = nullptr; // on white, one pixel a screen pixel
};

struct WinPreview {
  int32_t zoom = kZoomToFit; // screen pixels per unit the user chose, or fit
  // The picture on screen, kept until the request or the zoom changes; the status line tells of
  // the same request.
  std::shared_ptr<const WinPicture> shown = std::make_shared<WinPicture>();
  // The picture being made on the thread, and the newest one asked for: an older one that comes
  // back is dropped.
  std::string asked;
  uint64_t generation = 0;
  bool pending = false;
  // A symbol that has just grown past the area is shown from its middle, across and down.
  bool recenter[2] = {false, false};
};

// The largest whole number of screen pixels per unit at which the box fits the area (given in
// screen pixels), at least 1; the same limits bound it as bound zooming.
int32_t PreviewFitFactor(BarCodeRect box, double areaWidth, double areaHeight);
// Draws the preview in its view, and fits it again whenever the area's size changes.
void PreviewInstall(Gtk::Window& window);
// Reads the controls and the area's size, and asks the thread for a new picture when the request
// or the zoom changed.
void PreviewUpdate(Gtk::Window& window);
// Whether a picture is still being made for the window.
bool PreviewPending(Gtk::Window& window);
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
