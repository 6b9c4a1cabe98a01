#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/EANFrame.h"

#include <algorithm>
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
};

constexpr BookNumber kISBN{"ISBN", 50, 80, true, ISBNTwelve};
constexpr BookNumber kISMN{"ISMN", 50, 80, false, ISMNTwelve};
constexpr BookNumber kISSN{"ISSN", 30, 55, true, ISSNTwelve};

constexpr int kTitleRoom = 15, kTitleRise = 4;

// The 13 digits drawn. An X kept among the first 12 has no pattern: the number is then read as if
// the X were not there.
std::string BookDigits(const BookNumber& kind, const std::string& data) {
  std::string digits = data;
  MakeCFStringDigit(digits, 1, 0);
  std::string twelve = kind.twelve(digits);
  const bool endsInX = !data.empty() && (data.back() == 'X' || data.back() == 'x');
  if (kind.checkX && endsInX) {
    const std::string withX = kind.twelve(digits + 'X');
    if (withX.find('X') == std::string::npos) twelve = withX;
  }
  return EANCompleteDigits(twelve, 12);
}

std::string BookTitle(const BookNumber& kind, const BarCodeDataRec& rec) {
  const std::string title = BarCodeDisplayText(rec);
  if (title.starts_with(kind.keyword)) return title;
  return std::string(kind.keyword) + ' ' + title;
}

int MakeBookNumber(cairo_t* cg, BarCodeDataRec* rec, const BookNumber& kind) {
  const std::string digits = BookDigits(kind, *rec->data);
  const std::string addon = EANAddonDigits(*rec->addon);
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
