#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
#include <string>

namespace {

// The GS1 prefix list sets 98 and 99 aside for coupons and refund receipts: the symbol is an
// EAN-13 of that prefix, ten digits of the data and the check digit.
std::string PrefixedDigits(const BarCodeDataRec& rec, std::string_view prefix) {
  const std::string ten = BarCodeFitDigits(rec, *rec.data, 10, "10 digits after its prefix");
  return EANCompleteDigits(rec, std::string(prefix) + ten, 12);
}

// It has no add-on.
int MakePrefixedEAN13(cairo_t* cg, BarCodeDataRec* rec, std::string_view prefix) {
  const std::string digits = PrefixedDigits(*rec, prefix);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, kEANWidth, top});
  EANDrawEAN13(canvas, digits, {}, top);
  BarCodeEndSymbol(canvas);
  return 0;
}

} // namespace

int BarCodeMakeEAN99(cairo_t* cg, BarCodeDataRec* rec) {
  return MakePrefixedEAN13(cg, rec, "99");
}

int BarCodeMakeEANCoupon(cairo_t* cg, BarCodeDataRec* rec) {
  return MakePrefixedEAN13(cg, rec, "98");
}

std::string BarCodeCarriedEAN99(const BarCodeDataRec& rec) {
  return PrefixedDigits(rec, "99");
}

std::string BarCodeCarriedEANCoupon(const BarCodeDataRec& rec) {
  return PrefixedDigits(rec, "98");
}
