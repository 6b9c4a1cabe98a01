// The clipboard command: the window's barcode as PDF, and the same symbol as PNG (at the bitmap
// resolution of the preferences) and SVG, offered together on the display's clipboard.
#include "app/NotifyAlert.h"
#include "app/Prefs.h"
#include "app/WinControls.h"
#include "model/BarCodeDataRec.h"
#include "output/save/FileSave.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"

#include <gtkmm.h>

namespace {

Glib::RefPtr<Gdk::ContentProvider> BytesProvider(const char* mimeType, const std::string& bytes) {
  return Gdk::ContentProvider::create(mimeType, Glib::Bytes::create(bytes.data(), bytes.size()));
}

// The flavours of one request; false when none could be made.
bool MakeFlavours(const BarCodeDataRec& rec, float width, float height,
                  std::vector<Glib::RefPtr<Gdk::ContentProvider>>& providers) {
  std::string pdf;
  if (OutputRenderPDF(rec, width, height, false, pdf, CheckSysVersionExtended()))
    providers.push_back(BytesProvider("application/pdf", pdf));
  OutputBitmap bitmap;
  if (OutputRenderBitmap(rec, width, height, bitmap)) {
    const std::string png = OutputEncodePNG(bitmap);
    if (!png.empty()) providers.push_back(BytesProvider("image/png", png));
  }
  std::string svg;
  if (OutputRenderSVG(rec, width, height, svg))
    providers.push_back(BytesProvider("image/svg+xml", svg));
  return !providers.empty();
}

} // namespace

int PasteboardSavePDF(Gtk::Window& window) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.position = kPositionFile;
  float width = 0, height = 0;
  GetWindowData(window, &rec, &width, &height);
  rec.dpi = WinPrefsBitmapDPI();
  std::vector<Glib::RefPtr<Gdk::ContentProvider>> providers;
  if (rec.data->empty()) {
    NotifyAlert(kAlertStop, kEmptyDataHeader, kEmptyDataMessage, 1, &window);
  } else if (!MakeFlavours(rec, width, height, providers)) {
    NotifyAlert(kAlertCaution, "Sorry, the barcode could not be copied.",
                std::string(OutputResultText(OutputResult::CannotRender)), 1, &window);
  } else {
    window.get_clipboard()->set_content(Gdk::ContentProvider::create(providers));
  }
  BarCodeDataRecRelease(&rec);
  return 0;
}
