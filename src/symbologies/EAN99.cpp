#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
#include <string>

namespace {

// An EAN-13 symbol whose first two digits are fixed, then ten digits of the data and the check
// digit; it has no add-on.
int MakePrefixedEAN13(cairo_t* cg, BarCodeDataRec* rec, std::string_view prefix) {
  std::string ten = *rec->data;
  PadCFStrText(ten, 10, "0");
  const std::string digits = EANCompleteDigits(std::string(prefix) + ten, 12);
  const int trim = std::min(rec->trim, 50);
  const float top = static_cast<float>(80 - trim);
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, kEANWidth, top});
  EANDrawEAN13(canvas, digits, {}, top);
  BarCodeEndSymbol(canvas);
  return 0;
}

} // namespace

// The GS1 prefix list sets 98 and 99 aside for coupons and refund receipts.
int BarCodeMakeEAN99(cairo_t* cg, BarCodeDataRec* rec) {
  return MakePrefixedEAN13(cg, rec, "99");
}

int BarCodeMakeEANCoupon(cairo_t* cg, BarCodeDataRec* rec) {
  return MakePrefixedEAN13(cg, rec, "98");
}
