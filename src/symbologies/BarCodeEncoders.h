// The encoders, one per symbology. Each draws one symbol in its own unscaled units, origin at the
// lower left of its box, y up, into the context (may be null) and the record's EPS text.
#pragma once

#include <cairo.h>

struct BarCodeDataRec;

using BarCodeEncoder = int (*)(cairo_t* cg, BarCodeDataRec* rec);

int BarCodeMakeEAN13(cairo_t* cg, BarCodeDataRec* rec);

// One-dimensional
int BarCodeMakeCode128(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEAN128(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEAN14(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEAN18(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeCode93(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeCode39(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeCode25(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeInterleaved25(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeITF14(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeITFSCC(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeCodabar(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeMSI(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakePharmacode(cairo_t* cg, BarCodeDataRec* rec);

// Postal
int BarCodeMakePostNet(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeRM4SCC(cairo_t* cg, BarCodeDataRec* rec);

// The encoder of a symbology code, or null for a code without one.
BarCodeEncoder BarCodeEncoderFor(int32_t symbology);
