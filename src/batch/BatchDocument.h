// One PDF with a page for each row of a batch. The rows are drawn on the batch's threads into
// recordings, and their pages are added to the document in row order.
#pragma once

#include "output/writers/OutputWriters.h"

#include <cairo.h>
#include <cstdint>
#include <string>

struct BarCodeDataRec;

struct BatchPage {
  cairo_surface_t* recording = nullptr;
  double width = 0, height = 0; // the page, in points: the symbol's box
};
// Draws the request as a page of its own size; NotDrawable when it cannot be drawn.
OutputResult BatchPageRecord(const BarCodeDataRec& rec, BatchPage& page);
void BatchPageRelease(BatchPage& page);

struct BatchDocument {
  cairo_surface_t* surface = nullptr;
  uint64_t pages = 0;
};
// Starts the document in the file at `path`, with its title and author.
bool BatchDocumentOpen(BatchDocument& doc, const std::string& path, const std::string& title,
                       const std::string& author);
// Adds the page (and releases its recording).
void BatchDocumentAdd(BatchDocument& doc, BatchPage& page);
// Finishes the file; true when it was written whole.
bool BatchDocumentClose(BatchDocument& doc);
