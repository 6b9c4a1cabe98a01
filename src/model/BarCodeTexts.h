// Check digits of the EAN/UPC family and the one-line descriptions of a request.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct BarCodeDataRec;

// GTIN modulo-10 check digit of digits that do not yet carry one (weights 3, 1, 3, ... from the
// right).
int16_t BarCodeCheckSum(std::string_view digits);
// Parity value 0-9 that selects the number sets of a 5-digit add-on (weights 3, 9 from the right).
int16_t BarCodeAddParity(std::string_view digits);
// «name data addon»: the content of a document file and the meta line of an EPS file.
int BarCodeMacroText(std::string& out, const BarCodeDataRec& rec);
// name data addon: proposed file names, PDF titles and page headings.
int BarCodeTitleText(std::string& out, const BarCodeDataRec& rec);
