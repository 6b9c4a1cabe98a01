// Symbol pattern tables, filled once at start-up by BarCodeInitArrays and only read afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// EAN/UPC: module strings ("1" dark, "0" light) and set strings.
extern std::array<std::string, 30> BarCodeEANSym; // set * 10 + digit, sets A, B, C
extern std::array<std::string, 20> BarCodeEANNSet;
extern std::string BarCodeEANStrt, BarCodeEANCent, BarCodeEANStop;
extern std::array<std::string, 10> BarCodeUPCESet;
extern std::string BarCodeUPCStop, BarCodeAddStrt, BarCodeAddCent;
extern std::array<std::string, 8> BarCodeEAN2Add;
extern std::array<std::string, 20> BarCodeEAN5Add;

// Code 128: six element widths per symbol value, bar first.
extern std::array<std::string, 106> BarCodeEAN128Sym;
extern std::string BarCodeEAN128Stop;

// Code 93: width strings indexed by ASCII code, 128-131 the shift characters ($) (%) (/) (+),
// 132 the start/stop character and 133 the stop with its final bar.
extern std::array<std::string, 134> BarCodeCode93;

// Code 39: wide/narrow strings by ASCII code; 9 or 18 elements.
extern std::array<std::string, 128> BarCodeCode39;

// Two-of-five family: relative element widths.
extern std::array<std::string, 10> BarCodeCode25Sym, BarCodeITFSym, BarCodeITFSCCSym;
extern std::string BarCodeCode25Strt, BarCodeCode25Stop;
extern std::string BarCodeITFStrt, BarCodeITFStop, BarCodeITFSCCStrt, BarCodeITFSCCStop;

extern std::array<std::string, 20> BarCodeCodabar;
extern std::array<std::string, 10> BarCodeMSI;
extern std::string BarCodeMSIStrt, BarCodeMSIStop;
extern std::array<std::string, 10> BarCodePostNet;
extern std::string BarCodePostStrt, BarCodePostStop;
extern std::array<std::string, 36> BarCodeRM4SCC; // digits, then A-Z
extern std::string BarCodeRM4SCCSt, BarCodeRM4SCCSp;

// The four Code 93 shift characters travel through strings as these character codes.
enum : int16_t {
  kCode93ShiftDollar = 128,
  kCode93ShiftPercent,
  kCode93ShiftSlash,
  kCode93ShiftPlus
};

int BarCodeInitArrays();
int BarCodeInitEAN8_13();
int BarCodeInitEAN128();
int BarCodeInitCode93();
int BarCodeInitCode39();
int BarCodeInitRM4SCC();

// Code 93 character value 0-46 of a character code, or -1.
int16_t BarCodeConvASC_Code93(int32_t c);
// The one or two characters (shift codes 128-131 included) that stand for c in Code 93 full ASCII.
int BarCodeConvChr_Code93(std::u32string& out, int32_t c);
