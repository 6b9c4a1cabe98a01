// The render driver: sizes a request, places it in a context and calls its encoder.
#pragma once

#include "render/BarCodeRect.h"

#include <cairo.h>
#include <cstdint>
#include <string>

struct BarCodeDataRec;

// Placement modes of the record's position field.
enum : int16_t {
  kPositionPreview = 0, // centred, y down (window preview)
  kPositionPrint = 1,   // centred, y up, with crop marks
  kPositionFlipped = 2, // at the origin, y down
  kPositionFile = 3,    // at the origin, y up (files, clipboard, command line)
};

// 1 when the request can be drawn, with its box (0, 0, W * s, H * s) in out; else 0 and out
// unchanged.
int16_t BarCodeGetSize(const BarCodeDataRec& rec, BarCodeRect& out);
// The unscaled box, 0 by 0 when the request cannot be drawn.
BarCodeRect BarCodeGetUnscaledSize(const BarCodeDataRec& rec);
// Why the request cannot be drawn, one short sentence for the user; empty when it can.
std::string BarCodeRefusal(const BarCodeDataRec& rec);
// What the symbol carries as a scanner reads it: the completed digits with their check digits (an
// add-on after a space), the GS1 element string, or the exact text. Empty when it cannot be drawn.
std::string BarCodeCarriedText(const BarCodeDataRec& rec);
int BarCodeUpdateImage(cairo_t* cg, float width, float height, BarCodeDataRec* rec);
int BarCodeMakeHoldingImage(cairo_t* cg, const BarCodeDataRec& rec);
