// The vector writers' common pass: a cairo surface that streams into a string, a y-up page the
// size of the symbol (or of the placeholder's target), and one draw.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

struct BarCodeDataRec;

// Makes the surface over the stream, width and height in points.
using OutputVectorSurface =
    std::function<cairo_surface_t*(cairo_write_func_t write, void* closure, double, double)>;

bool OutputRenderVector(const BarCodeDataRec& rec, float width, float height, std::string& out,
                        const OutputVectorSurface& create);
