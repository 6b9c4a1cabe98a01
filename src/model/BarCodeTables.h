// Symbol pattern tables. They are constants made by the compiler, so a run neither fills them at
// start-up nor frees them at exit, and touches only the pages of the tables it reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// EAN/UPC: module strings ("1" dark, "0" light) and set strings.
extern const std::array<std::string_view, 30> BarCodeEANSym; // set * 10 + digit, sets A, B, C
extern const std::array<std::string_view, 20> BarCodeEANNSet;
extern const std::string_view BarCodeEANStrt, BarCodeEANCent, BarCodeEANStop;
extern const std::array<std::string_view, 10> BarCodeUPCESet;
extern const std::string_view BarCodeUPCStop, BarCodeAddStrt, BarCodeAddCent;
extern const std::array<std::string_view, 8> BarCodeEAN2Add;
extern const std::array<std::string_view, 20> BarCodeEAN5Add;

// Code 128: six element widths per symbol value, bar first.
extern const std::array<std::string_view, 106> BarCodeEAN128Sym;
extern const std::string_view BarCodeEAN128Stop;

// Code 93: width strings indexed by ASCII code, 128-131 the shift characters ($) (%) (/) (+),
// 132 the start/stop character and 133 the stop with its final bar.
extern const std::array<std::string_view, 134> BarCodeCode93;

// Code 39: wide/narrow strings by ASCII code; 9 or 18 elements.
extern const std::array<std::string_view, 128> BarCodeCode39;

// Two-of-five family: relative element widths.
extern const std::array<std::string_view, 10> BarCodeCode25Sym, BarCodeITFSym, BarCodeITFSCCSym;
extern const std::string_view BarCodeCode25Strt, BarCodeCode25Stop;
extern const std::string_view BarCodeITFStrt, BarCodeITFStop, BarCodeITFSCCStrt, BarCodeITFSCCStop;

extern const std::array<std::string_view, 20> BarCodeCodabar;
extern const std::array<std::string_view, 10> BarCodeMSI;
extern const std::string_view BarCodeMSIStrt, BarCodeMSIStop;
extern const std::array<std::string_view, 10> BarCodePostNet;
extern const std::string_view BarCodePostStrt, BarCodePostStop;
extern const std::array<std::string_view, 36> BarCodeRM4SCC; // digits, then A-Z
extern const std::string_view BarCodeRM4SCCSt, BarCodeRM4SCCSp;

// The four Code 93 shift characters travel through strings as these character codes.
enum : int16_t {
  kCode93ShiftDollar = 128,
  kCode93ShiftPercent,
  kCode93ShiftSlash,
  kCode93ShiftPlus
};

// Code 93 character value 0-46 of a character code, or -1.
int16_t BarCodeConvASC_Code93(int32_t c);
// The one or two characters (shift codes 128-131 included) that stand for c in Code 93 full ASCII.
int BarCodeConvChr_Code93(std::u32string& out, int32_t c);
