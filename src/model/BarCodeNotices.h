// The sentences in which the engine tells what it changed while completing a request's data, and
// the completion steps that change it. Each step says so through BarCodeNote, so the size
// computation and the encoder, which run the same steps, give the same notices.
#pragma once

#include <string>
#include <string_view>

struct BarCodeDataRec;

// The symbology's name as the user chose it.
std::string BarCodeNoticeName(const BarCodeDataRec& rec);

// A character as a message names it: itself, or U+XXXX when it would not show.
std::string BarCodeCharacterName(char32_t c);
// "NAME cannot carry the character C": why a request with that character cannot be drawn.
std::string BarCodeCannotCarry(const BarCodeDataRec& rec, char32_t c);

// `digits` brought to `length` characters: zeros put in front, or the first `length` kept.
// `takes` says what the symbology takes ("14 digits").
std::string BarCodeFitDigits(const BarCodeDataRec& rec, std::string_view digits, size_t length,
                             std::string_view takes);
// Notes that the data was read as `result`, by the rule that follows the symbology's name
// ("carries digits only").
void BarCodeNoteReadAs(const BarCodeDataRec& rec, std::string_view typed, std::string_view result,
                       std::string_view rule);
// Notes that the typed check digit was wrong and the symbol carries the right one instead.
void BarCodeNoteCheckReplaced(const BarCodeDataRec& rec, char typed, char right);
// Checks the last of a GS1 number's digits (drawn as typed) and notes a wrong one.
void BarCodeNoteGS1Check(const BarCodeDataRec& rec, std::string_view digits);
