#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

// Digits (ASCII) with zeros put in front up to n characters; longer digits are left whole.
std::string Padded(std::string digits, size_t n) {
  if (digits.size() < n) digits.insert(0, n - digits.size(), '0');
  return digits;
}

// The 12 digits of the EAN form of a book number: an ISBN-10 (its check character dropped) gets
// the Bookland prefix 978; an ISBN-13 keeps its first 12 digits.
std::string ISBNTwelve(const std::string& digits) {
  const size_t n = digits.size();
  if (n <= 10) return "978" + Padded(digits, 10).substr(0, 9);
  if (n == 11) return "978" + digits.substr(1, 9);
  return digits.substr(0, 12);
}

// An ISMN: its last ten characters are the 0 that the M stands for, and nine digits before the
// check digit; in front goes 979.
std::string ISMNTwelve(const std::string& digits) {
  const std::string padded = Padded(digits, 10);
  return "979" + padded.substr(padded.size() - 10, 9);
}

// An ISSN: its seven digits without check character between the prefix 977 and the variant
// digits 00; longer numbers are taken as the EAN form.
std::string ISSNTwelve(const std::string& digits) {
  const size_t n = digits.size();
  if (n <= 8) return "977" + Padded(digits, 8).substr(0, 7) + "00";
  if (n <= 11) return "977" + digits.substr(0, 9);
  return digits.substr(0, 12);
}

struct BookNumber {
  std::string_view keyword;
  int trimCap;
  int barTop;  // at trim 0; the box is 15 units higher to hold the title
  bool checkX; // whether a trailing X (check character 10) is taken into the digits
  std::string (*twelve)(const std::string&);
  // The number's own form: its lengths in characters, check character included, and the top
  // weight of its modulo-11 check character (0: the check digit is the EAN one).
  std::array<size_t, 2> ownLengths;
  int mod11Weight;
  std::string_view takes;
};

constexpr BookNumber kISBN{"ISBN",     50,       80, true,
                           ISBNTwelve, {10, 10}, 10, "takes 10 or 13 characters"};
constexpr BookNumber kISMN{"ISMN",     50,      80, false,
                           ISMNTwelve, {9, 10}, 0,  "takes 9 digits after its M, or 13"};
constexpr BookNumber kISSN{"ISSN", 30, 55, true, ISSNTwelve, {8, 8}, 8, "takes 8 or 13 characters"};

constexpr int kTitleRoom = 15, kTitleRise = 4;

// The check character of an ISBN-10 or ISSN: weights from `top` down to 2, modulo 11, 10 as X.
char Mod11Check(std::string_view digits, int top) {
  int sum = 0;
  for (size_t k = 0; k < digits.size(); ++k)
    sum += (digits[k] - '0') * (top - static_cast<int>(k));
  const int check = (11 - sum % 11) % 11;
  return check == 10 ? 'X' : static_cast<char>('0' + check);
}

// The check character that the number as typed (digits, and a final X where it counts) should end
// in, or 0 when it is no whole number of its kind.
char OwnCheck(const BookNumber& kind, std::string_view typed, std::string_view thirteen) {
  const size_t n = typed.size();
  if (n == 13) return EANCheckDigit(typed.substr(0, 12))[0];
  if (n != kind.ownLengths[0] && n != kind.ownLengths[1]) return 0;
  return kind.mod11Weight ? Mod11Check(typed.substr(0, n - 1), kind.mod11Weight) : thirteen[12];
}

// Says when the number typed is not what the symbol carries: no digits, no whole number, or a
// wrong check character.
void NoteBookNumber(const BarCodeDataRec& rec, const BookNumber& kind, std::string_view typed,
                    std::string_view thirteen) {
  const std::string name = BarCodeNoticeName(rec);
  if (typed.empty()) {
    BarCodeNote(rec, name + " data holds no digits: the symbol carries " + std::string(thirteen));
    return;
  }
  const char check = OwnCheck(kind, typed, thirteen);
  if (check == 0) return BarCodeNoteReadAs(rec, typed, thirteen, kind.takes);
  if (check != typed.back())
    BarCodeNote(rec, name + " check character " + typed.back() + " is wrong, it should be " +
                         check + ": the symbol carries " + std::string(thirteen));
}

// The 13 digits drawn. An X kept among the first 12 has no pattern: the number is then read as if
// the X were not there.
std::string BookDigits(const BarCodeDataRec& rec, const BookNumber& kind) {
  const std::string& data = *rec.data;
  std::string digits = data;
  MakeCFStringDigit(digits, 1, 0);
  std::string twelve = kind.twelve(digits);
  const bool endsInX = !data.empty() && (data.back() == 'X' || data.back() == 'x');
  const bool withX = kind.checkX && endsInX;
  if (withX) {
    const std::string twelveX = kind.twelve(digits + 'X');
    if (twelveX.find('X') == std::string::npos) twelve = twelveX;
  }
  const std::string thirteen = twelve + EANCheckDigit(twelve);
  NoteBookNumber(rec, kind, withX ? digits + 'X' : digits, thirteen);
  return thirteen;
}

std::string BookTitle(const BookNumber& kind, const BarCodeDataRec& rec) {
  const std::string title = BarCodeDisplayText(rec);
  if (title.starts_with(kind.keyword)) return title;
  return std::string(kind.keyword) + ' ' + title;
}

int MakeBookNumber(cairo_t* cg, BarCodeDataRec* rec, const BookNumber& kind) {
  const std::string digits = BookDigits(*rec, kind);
  const std::string addon = EANAddonDigits(*rec, *rec->addon);
  const int trim = std::min(rec->trim, kind.trimCap);
  const float top = static_cast<float>(kind.barTop - trim);
  const BarCodeRect box{0, 0, static_cast<float>(kEANWidth + EANAddonIncrement(addon)),
                        top + kTitleRoom};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);
  EANDrawEAN13(canvas, digits, addon, top);
  if (canvas.text) {
    const std::string title = BookTitle(kind, *rec);
    const bool small = addon.empty() && Utf8Length(title) >= 18;
    BarCodeSelectFont(canvas, kEANFont, small ? 8 : 9);
    BarCodeDrawText(canvas, 0, static_cast<int16_t>(top + kTitleRise), title);
  }
  BarCodeEndSymbol(canvas);
  return 0;
}

} // namespace

int BarCodeMakeISBN(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeBookNumber(cg, rec, kISBN);
}

int BarCodeMakeISMN(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeBookNumber(cg, rec, kISMN);
}

int BarCodeMakeISSN(cairo_t* cg, BarCodeDataRec* rec) {
  return MakeBookNumber(cg, rec, kISSN);
}

std::string BarCodeCarriedISBN(const BarCodeDataRec& rec) {
  const std::string digits = BookDigits(rec, kISBN);
  return EANCarriedText(digits, EANAddonDigits(rec, *rec.addon));
}

std::string BarCodeCarriedISMN(const BarCodeDataRec& rec) {
  const std::string digits = BookDigits(rec, kISMN);
  return EANCarriedText(digits, EANAddonDigits(rec, *rec.addon));
}

std::string BarCodeCarriedISSN(const BarCodeDataRec& rec) {
  const std::string digits = BookDigits(rec, kISSN);
  return EANCarriedText(digits, EANAddonDigits(rec, *rec.addon));
}
