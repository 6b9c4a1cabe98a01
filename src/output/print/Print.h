// Printing a document window's barcode: Page Setup, the Print dialog and the print job, through
// GTK's print operation, and the decoration of the printed page.
#pragma once

#include <cairo.h>

#include <string>

struct BarCodeDataRec;
namespace Gtk {
class Window;
}

// Statuses besides 0: the window is not a document window or has no usable page setup, or the
// printing system failed (or a Print dialog is already open on the window).
enum : int { kPrintErrParam = -50, kPrintErrGeneral = -30870 };

// Page Setup command ("page"): the page setup dialog, modal to the window; the choice is kept per
// window while it is open.
int WinDoPageSetup(Gtk::Window& window);
// Print command ("prnt"), the script action "prnt" and the print-documents request: the print
// dialog for the window's barcode. copies 0 shows the dialog; a number above 0 shows it with that
// many copies filled in (a printer is only ever chosen in the dialog).
int WinDoPrintWindow(Gtk::Window& window, int copies);
// The same print job exported to a PDF file instead of a printer, without a dialog (for tests).
int WinDoPrintWindowToFile(Gtk::Window& window, const std::string& pdfPath);
// The page decoration, drawn into a y-up context whose origin is the printable area's lower-left
// corner, in points; width and height are the printable area's size (W and H).
void MakePrintPageBackground(cairo_t* cg, double width, double height, const BarCodeDataRec& rec);
// 1 when the window has a page setup whose printable area can be read, otherwise 0.
int GetDocNumPages(Gtk::Window& window);
