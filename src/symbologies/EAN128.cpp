#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/Code128.h"
#include "symbologies/LinearFrame.h"

// A Code 128 symbol whose start is followed by FNC1, which marks it as GS1-128. The data goes in
// as it is: no application identifiers are parsed and no separators added.
int BarCodeMakeEAN128(cairo_t* cg, BarCodeDataRec* rec) {
  const Code128Symbol symbol = Code128Encode(Utf8Decode(*rec->data), true);
  return Code128MakeSymbol(cg, *rec, symbol, 60 - LinearTrim(*rec, 40),
                           LinearDisplayText(*rec, *rec->data));
}
