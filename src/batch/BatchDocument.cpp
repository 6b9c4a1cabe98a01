#include "batch/BatchDocument.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"

#include <cairo-pdf.h>

OutputResult BatchPageRecord(const BarCodeDataRec& rec, BatchPage& page) {
  BarCodeRect box;
  if (!BarCodeGetSize(rec, box) || !(box.width > 0 && box.height > 0))
    return OutputResult::NotDrawable;
  const cairo_rectangle_t extents{0, 0, box.width, box.height};
  page = {cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents), box.width,
          box.height};
  // y up, as on the page of a PDF file of one symbol.
  cairo_t* cg = cairo_create(page.recording);
  cairo_translate(cg, 0, box.height);
  cairo_scale(cg, 1, -1);
  BarCodeDataRec copy = rec;
  copy.epsText = nullptr;
  BarCodeUpdateImage(cg, 0, 0, &copy);
  cairo_destroy(cg);
  if (cairo_surface_status(page.recording) == CAIRO_STATUS_SUCCESS) return OutputResult::Ok;
  BatchPageRelease(page);
  return OutputResult::CannotRender;
}

void BatchPageRelease(BatchPage& page) {
  if (page.recording) cairo_surface_destroy(page.recording);
  page = {};
}

bool BatchDocumentOpen(BatchDocument& doc, const std::string& path, const std::string& title,
                       const std::string& author) {
  doc = {cairo_pdf_surface_create(path.c_str(), 1, 1), 0};
  cairo_pdf_surface_set_metadata(doc.surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
  cairo_pdf_surface_set_metadata(doc.surface, CAIRO_PDF_METADATA_AUTHOR, author.c_str());
  cairo_pdf_surface_set_metadata(doc.surface, CAIRO_PDF_METADATA_CREATOR, "Veltrix BarCode");
  return cairo_surface_status(doc.surface) == CAIRO_STATUS_SUCCESS;
}

void BatchDocumentAdd(BatchDocument& doc, BatchPage& page) {
  cairo_pdf_surface_set_size(doc.surface, page.width, page.height);
  cairo_t* cg = cairo_create(doc.surface);
  cairo_set_source_surface(cg, page.recording, 0, 0);
  cairo_paint(cg);
  cairo_show_page(cg);
  cairo_destroy(cg);
  BatchPageRelease(page);
  ++doc.pages;
}

bool BatchDocumentClose(BatchDocument& doc) {
  cairo_surface_finish(doc.surface);
  const bool ok = cairo_surface_status(doc.surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(doc.surface);
  doc.surface = nullptr;
  return ok;
}
