// The barcode request record and the symbology catalogue.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The record's strings are shared by every copy of the record, so that an encoder working on a
// copy still appends its EPS picture to the caller's text. All hold UTF-8.
using BarCodeString = std::shared_ptr<std::string>;

struct BarCodeDataRec {
  BarCodeString data;    // primary barcode data
  BarCodeString addon;   // 2- or 5-digit supplement
  BarCodeString epsText; // EPS picture, appended to while drawing; null means "no EPS wanted"
  BarCodeString display; // override of the human-readable text; empty means "derive it"
  int32_t symbology;
  int32_t scale; // percent
  int32_t trim;  // reduction of the bar height, capped per symbology
  int32_t reserved1, reserved2, reserved3, reserved4;
  int16_t antialiasOff;
  int16_t fontSmoothOff;
  int16_t textVisible; // written by the render driver before every draw
  int16_t position;    // placement mode, see BarCodeUpdateImage
  // What the engine changed in the data while completing it (cut, padded, a check digit
  // replaced, an add-on dropped), one sentence each; shared by every copy like the strings.
  std::shared_ptr<std::vector<std::string>> notices; // null: not collected
};

enum : int32_t {
  kBarCodeEAN13 = 1,
  kBarCodeEAN8,
  kBarCodeEAN128,
  kBarCodeEAN14,
  kBarCodeEAN18,
  kBarCodeEAN99,
  kBarCodeEANCoupon,
  kBarCodeUPCA,
  kBarCodeUPCE,
  kBarCodeCode128,
  kBarCodeCode93,
  kBarCodeCode39,
  kBarCodeCode25,
  kBarCodeUPCCoupon,
  kBarCodeCodabar,
  kBarCodeISSN,
  kBarCodeISBN,
  kBarCodeISMN,
  kBarCodePostNet,
  kBarCodeRM4SCC,
  kBarCodePharmacode,
  kBarCodeMSI,
  kBarCodeITFSCC,
  kBarCodeITF14,
  kBarCodeInterleaved25,
  kBarCodeQRCode,
  kBarCodePDF417,
  kBarCodeCount = kBarCodePDF417
};

int BarCodeDataRecCreate(BarCodeDataRec* rec);
int BarCodeDataRecRelease(BarCodeDataRec* rec);

int32_t BarCodeSymType(std::string_view name);
int BarCodeSymName(std::string& out, int16_t code);
int16_t BarCodeTextVisible(int16_t code);
int16_t BarCodeTextSpaces(int16_t code);
int16_t BarCodeTextAddon(int16_t code);

// Appends a notice to the record's list when it collects them and does not hold that sentence yet:
// the size computation and the encoder complete the same data and say the same thing.
void BarCodeNote(const BarCodeDataRec& rec, std::string sentence);
