// Document files: one barcode stored as its macro text «name data addon» in Mac OS Roman, and the
// two readers that turn a file's text back into a request (the macro text, found in documents and
// in this system's EPS files, and the text that barcode scanners type).
#pragma once

#include "output/writers/OutputWriters.h"

#include <cstdint>
#include <string>
#include <string_view>

struct BarCodeDataRec;

inline constexpr const char* kDocFileExtension = ".vbc";
inline constexpr const char* kDocFileMimeType = "application/x-veltrix-barcode";

// The request part of a macro text or script command, "name data addon": the symbology by its
// exact catalogue name, then data and add-on split by the symbology's blank rule. False (and the
// record untouched) without a blank or with an unknown name.
bool BarCodeDataRequestValid(std::string_view request, BarCodeDataRec* rec);
// The macro-text reader: the request between the first « and the last » of the text (a text
// whose first » comes before its first « holds none).
bool BarCodeDataMetaValid(std::string_view text, BarCodeDataRec* rec);
// The scanner-text reader: the symbology identifier prefix ("]E0", "]C1", ...) picks the
// symbology and the data's place. It accepts every text.
bool BarCodeDataTextValid(std::string_view text, BarCodeDataRec* rec);

// Which reader a file's Finder type and creator call for.
enum class DocReader { None, MacroText, ScannerText };
DocReader DocFileReaderFor(uint32_t type, uint32_t creator);
// Runs the reader that the type and creator choose on the file's text (UTF-8); false when the
// file is not one this program opens or its text is rejected.
bool DocFileRead(std::string_view text, uint32_t type, uint32_t creator, BarCodeDataRec* rec);
// A file's Finder codes when it carries none (copies often lose them): told by its name and its
// bytes. Both stay 0 for a file this program does not open.
void DocFileGuessTypeAndCreator(std::string_view name, std::string_view bytes, uint32_t& type,
                                uint32_t& creator);

// The document writers of Save and Save As: the record's macro text, written whole in Mac OS Roman
// (nothing is written when a character has no Mac OS Roman form), then type "BARC" and creator
// "VLTX". Width and height are not used; they keep the signature of the other format writers.
OutputResult OutputFileSave(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height);
OutputResult OutputFileSaveAs(const std::string& path, const BarCodeDataRec& rec, float width,
                              float height);
