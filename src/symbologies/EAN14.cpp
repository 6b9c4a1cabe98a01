#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/Code128.h"
#include "symbologies/LinearFrame.h"

#include <string>

namespace {

// A fixed-length number behind its GS1 application identifier: (01) GTIN-14 or (00) SSCC-18,
// drawn as GS1-128 in code set C.
struct GS1Number {
  size_t length;
  std::string_view identifier;
  std::string_view textPrefix;
};
constexpr GS1Number kEAN14{14, "01", "(01) "};
constexpr GS1Number kEAN18{18, "00", "(00) "};

// The number's digits: zeros in front, or the first ones. They are drawn as typed, a wrong check
// digit included.
std::string GS1Digits(const BarCodeDataRec& rec, const GS1Number& number) {
  const std::string digits =
      BarCodeFitDigits(rec, *rec.data, number.length, std::to_string(number.length) + " digits");
  BarCodeNoteGS1Check(rec, digits);
  return digits;
}

int MakeGS1Number(cairo_t* cg, const BarCodeDataRec& rec, const GS1Number& number) {
  const std::string digits = GS1Digits(rec, number);
  const std::string text = std::string(number.textPrefix) + LinearDisplayText(rec, digits);
  const Code128Symbol symbol =
      Code128Encode(Utf8Decode(std::string(number.identifier) + digits), true);
  return Code128MakeSymbol(cg, rec, symbol, 100 - LinearTrim(rec, 70), text);
}

} // namespace

int BarCodeMakeEAN14(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeGS1Number(cg, *rec, kEAN14);
}

int BarCodeMakeEAN18(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeGS1Number(cg, *rec, kEAN18);
}

// The GS1 element string: the application identifier and the number.
std::string BarCodeCarriedEAN14(const BarCodeDataRec& rec) {
  return std::string(kEAN14.identifier) + GS1Digits(rec, kEAN14);
}

std::string BarCodeCarriedEAN18(const BarCodeDataRec& rec) {
  return std::string(kEAN18.identifier) + GS1Digits(rec, kEAN18);
}
