// A document window's controls and the barcode request record: reading, setting, the add-on
// field, the drawer and the live preview.
#pragma once

#include <cairo.h>
#include <cstdint>

struct BarCodeDataRec;
namespace Gtk {
class Widget;
class Window;
} // namespace Gtk

// Control identifiers.
enum : int {
  kViewSymbology = 900,
  kViewData = 101,
  kViewAddon = 102,
  kViewPreview = 701,
  kViewStatus = 702, // the status line under the preview
  kViewScale = 201,
  kViewTrim = 202,
  kViewDisplay = 203,
  kViewAntialiasOff = 204,
  kViewFontSmoothOff = 205,
};

// Fills the record from the controls (with the clamps), cleans it, and gives the preview's size.
// The record's epsText, textVisible and position stay as the caller set them.
int GetWindowData(Gtk::Window& window, BarCodeDataRec* rec, float* width, float* height);
int SetWindowData(Gtk::Window& window, const BarCodeDataRec& rec);
int SetWindowFields(Gtk::Window& window, int32_t symbology);
int ProcessMenuControl(Gtk::Window& window, int identifier, int value);
int ProcessDrawerToggle(Gtk::Window& window);
// Marks the preview for redrawing; the window takes in the changed controls before the next frame.
int SetWindowImageUpdate(Gtk::Window& window);
// Takes in the controls: the preview's request and size.
void WinRefresh(Gtk::Window& window);
// Draws the preview of the window that holds `view` into the view's own context.
int UpdateWindowImage(cairo_t* cg, Gtk::Widget& view);
// Connects the controls so that every change redraws the preview.
int WinInstallControlHandlers(Gtk::Window& window);
// The symbology code of the pop-up (0 when none is chosen).
int32_t GetWindowSymbology(Gtk::Window& window);
