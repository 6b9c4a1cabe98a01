// The encoders, one per symbology. Each draws one symbol in its own unscaled units, origin at the
// lower left of its box, y up, into the context (may be null) and the record's EPS text.
#pragma once

#include <cairo.h>

struct BarCodeDataRec;

using BarCodeEncoder = int (*)(cairo_t* cg, BarCodeDataRec* rec);

int BarCodeMakeEAN13(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEAN8(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEAN99(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeEANCoupon(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeUPCA(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeUPCE(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeUPCCoupon(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeISSN(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeISBN(cairo_t* cg, BarCodeDataRec* rec);
int BarCodeMakeISMN(cairo_t* cg, BarCodeDataRec* rec);

// The encoder of a symbology code, or null for a code without one.
BarCodeEncoder BarCodeEncoderFor(int32_t symbology);
