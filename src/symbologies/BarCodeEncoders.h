// The encoders, one per symbology. Each draws one symbol in its own unscaled units, origin at the
// lower left of its box, y up, into the context (may be null) and the record's EPS text.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

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
// Two-dimensional symbols. Their module pictures hold "1" (dark) and "0" (light), row by row from
// the top; the size computation asks for their extents. Data that makes no symbol gives 0 and an
// empty picture.
int BarCodeMakeQRCode(cairo_t* cg, BarCodeDataRec* rec);
// The side of the QR Code symbol in modules, quiet zone included.
uint32_t ProcessQRCodeGetWidth(const std::string& data);
int ProcessQRCodeDisplay(const std::string& data, std::string& picture);
// Why no QR Code can be made at all (its library is missing); empty when it can.
std::string QRCodeLibraryProblem();
int BarCodeMakePDF417(cairo_t* cg, BarCodeDataRec* rec);
// The width of the PDF417 symbol in units (modules) and its rows, each 2 units high.
uint32_t ProcessPDF417GetCols(const std::string& data);
uint32_t ProcessPDF417GetRows(const std::string& data);
int ProcessPDF417Display(const std::string& data, std::string& picture);

// The encoder of a symbology code, or null for a code without one.
BarCodeEncoder BarCodeEncoderFor(int32_t symbology);

// What a scanner reads from the symbol of a drawable request, made by the same completion steps
// as the encoder, which note what they change: the completed digits with their check digits (an
// add-on after a space), the GS1 element string, or the text.
using BarCodeCarrier = std::string (*)(const BarCodeDataRec& rec);
BarCodeCarrier BarCodeCarrierFor(int32_t symbology);

std::string BarCodeCarriedAsTyped(const BarCodeDataRec& rec);
std::string BarCodeCarriedEAN13(const BarCodeDataRec& rec);
std::string BarCodeCarriedEAN8(const BarCodeDataRec& rec);
std::string BarCodeCarriedEAN14(const BarCodeDataRec& rec);
std::string BarCodeCarriedEAN18(const BarCodeDataRec& rec);
std::string BarCodeCarriedEAN99(const BarCodeDataRec& rec);
std::string BarCodeCarriedEANCoupon(const BarCodeDataRec& rec);
std::string BarCodeCarriedUPCA(const BarCodeDataRec& rec);
std::string BarCodeCarriedUPCE(const BarCodeDataRec& rec);
std::string BarCodeCarriedCode39(const BarCodeDataRec& rec);
std::string BarCodeCarriedCode25(const BarCodeDataRec& rec);
std::string BarCodeCarriedUPCCoupon(const BarCodeDataRec& rec);
std::string BarCodeCarriedCodabar(const BarCodeDataRec& rec);
std::string BarCodeCarriedISSN(const BarCodeDataRec& rec);
std::string BarCodeCarriedISBN(const BarCodeDataRec& rec);
std::string BarCodeCarriedISMN(const BarCodeDataRec& rec);
std::string BarCodeCarriedPostNet(const BarCodeDataRec& rec);
std::string BarCodeCarriedRM4SCC(const BarCodeDataRec& rec);
std::string BarCodeCarriedPharmacode(const BarCodeDataRec& rec);
std::string BarCodeCarriedMSI(const BarCodeDataRec& rec);
std::string BarCodeCarriedITF14(const BarCodeDataRec& rec);
std::string BarCodeCarriedInterleaved25(const BarCodeDataRec& rec);

// Why the data cannot be drawn, for the symbologies whose rule lives with their encoder; empty
// when it can.
std::string BarCodeRefuseUPCE(const BarCodeDataRec& rec);
std::string BarCodeRefuseCode39(const BarCodeDataRec& rec);
std::string BarCodeRefuseCodabar(const BarCodeDataRec& rec);
