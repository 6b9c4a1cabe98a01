#include "model/BarCodeDataRec.h"
#include "output/writers/OutputVector.h"
#include "output/writers/OutputWriters.h"
#include "services/Services.h"

#include <cairo-svg.h>

// Sizes in points, like the PDF and EPS of the same request: a page or label layout places the
// symbol at its true size, where a size in pixels or user units would be read at 96 per inch.
bool OutputRenderSVG(const BarCodeDataRec& rec, float width, float height, std::string& out) {
  return OutputRenderVector(
      rec, width, height, out, [](cairo_write_func_t write, void* closure, double w, double h) {
        cairo_surface_t* surface = cairo_svg_surface_create_for_stream(write, closure, w, h);
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PT);
        return surface;
      });
}

OutputResult OutputFileSVG(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height) {
  if (!OutputDrawable(rec, width, height)) return OutputResult::NotDrawable;
  std::string svg;
  if (!OutputRenderSVG(rec, width, height, svg)) return OutputResult::CannotRender;
  return OutputStoreBytes(path, FourCharCode("SVG "), FourCharCode("prvw"), svg);
}
