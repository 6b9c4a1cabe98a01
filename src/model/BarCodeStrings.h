// Input cleaning and the small string utilities that the cleaning, the EPS writer and the
// encoders share. Strings hold UTF-8; lengths, cuts and pads count characters, never bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct BarCodeDataRec;

std::u32string Utf8Decode(std::string_view text); // invalid bytes become U+FFFD, one per byte
std::string Utf8Encode(std::u32string_view text);
bool Utf8Valid(std::string_view text);
bool IsAscii(std::string_view text); // every byte below 0x80
size_t Utf8Length(std::string_view text);
bool IsWhiteSpace(char32_t c);
bool IsDigits(std::string_view text); // every character 0-9 (true for the empty string)
std::string_view TrimWhiteSpace(std::string_view text);
void ReplaceAll(std::string& text, std::string_view find, std::string_view replace);

int BarCodeCleanData(BarCodeDataRec* rec);
int FixCFStringMetaChars(std::string& text);
int TruncCFStrText(std::string& text, int32_t n);
int PadCFStrText(std::string& text, int32_t n, std::string_view pad);
int MakeCFStringNorm(std::string& text, int16_t n, int16_t spacesAllowed);
int MakeCFStringDigit(std::string& text, int16_t noLetters, int16_t noDigits);
int MakeCFStringTrim(std::string& text, int16_t mode, char32_t c);
