#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/LinearFrame.h"

#include <algorithm>

namespace {

// MSI (modified Plessey): every bit is a 3-unit cell that starts with a bar, 1 unit for "0" and
// 2 for "1". Start 1 bit, 4 bits a digit and its check digit, stop 2 bits: 12 units a digit and
// 3 + 12 + 6 units of frame, of which the last space (2 units) falls outside the box.
constexpr int kDigit = 4 * 3;
constexpr int kFrame = 3 + kDigit + 6 - 2;
static_assert(kFrame == 19);
constexpr LinearTextLayout kText{10, 5, 12, 2};

// The modulo-10 check digit: the digits in the odd positions from the right, read as one number
// and doubled, give their digit sum; the other digits add themselves. Doubling the number carries
// exactly at its digits of 5 and more, so the digit sum of the doubled number is the sum of the
// digit sums of each doubled digit, which is what this adds up.
int CheckDigit(std::string_view digits) {
  int total = 0;
  for (size_t k = 0; k < digits.size(); ++k) {
    const int d = digits[digits.size() - 1 - k] - '0';
    total += (k % 2 == 0) ? (2 * d) / 10 + (2 * d) % 10 : d;
  }
  return (10 - total % 10) % 10;
}

std::string Digits(const BarCodeDataRec& rec) {
  std::string digits = *rec.data;
  std::erase_if(digits, [](char c) { return c < '0' || c > '9'; });
  BarCodeNoteReadAs(rec, *rec.data, digits, "carries digits only");
  return digits;
}

} // namespace

std::string BarCodeCarriedMSI(const BarCodeDataRec& rec) {
  const std::string digits = Digits(rec);
  return digits + static_cast<char>('0' + CheckDigit(digits));
}

int BarCodeMakeMSI(cairo_t* cg, BarCodeDataRec* rec) {
  const std::string digits = Digits(*rec);
  if (digits.empty()) return 0; // no digit, no symbol: never drawable

  std::string bits(BarCodeMSIStrt);
  for (char d : digits)
    bits += BarCodeMSI[d - '0'];
  bits += BarCodeMSI[CheckDigit(digits)];
  bits += BarCodeMSIStop;

  const int trim = LinearTrim(*rec, 30);
  const auto top = static_cast<float>((rec->textVisible == 1 ? 48 : 35) - trim);
  const float bottom = rec->textVisible == 1 ? 13 : 0;
  const int width = kFrame + kDigit * static_cast<int>(digits.size());
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, {0, 0, static_cast<float>(width), top});
  BarCodeDrawWidths(canvas, LinearBitWidths(bits, "12", "21"), 0, bottom, top);
  LinearDrawText(canvas, kText, LinearDisplayText(*rec, *rec->data));
  BarCodeEndSymbol(canvas);
  return 0;
}
