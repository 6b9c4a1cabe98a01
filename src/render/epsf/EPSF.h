// The EPS picture writer: appends PostScript text to a string while an encoder draws.
#pragma once

#include "render/BarCodeRect.h"

#include <cstdint>
#include <string>
#include <string_view>

// Placeholders that the file output fills in after the picture is closed.
inline constexpr std::string_view kEPSFTitlePlaceholder = "\u00AB"
                                                          "EPSFileName"
                                                          "\u00BB";
inline constexpr std::string_view kEPSFMetaPlaceholder = "\u00AB"
                                                         "EPSMetaData"
                                                         "\u00BB";

// The header comments that mark an EPS file as this system's, and the line that carries the
// request's macro text (the desktop program opens such a file as a document).
inline constexpr std::string_view kEPSFCreatorComment = "%%Creator: Veltrix BarCode";
inline constexpr std::string_view kEPSFMetaComment = "%%Meta: ";
// Follows the meta line when the macro text has no Mac OS Roman form: its UTF-8 bytes in hex.
inline constexpr std::string_view kEPSFMetaUtf8Comment = "%%MetaUTF8: ";

int EPSFOpenPicture(BarCodeRect bounds, std::string& eps, int32_t scale);
int EPSFPaintRect(BarCodeRect rect, std::string& eps);
int EPSFFrameRect(BarCodeRect rect, std::string& eps);
int EPSFPenSize(int16_t width, std::string& eps);
int EPSFSetFontFaceSize(std::string_view fontName, int16_t size, std::string& eps);
int EPSFPrintText(int16_t x, int16_t y, std::string_view text, std::string& eps);
int EPSFFilterText(std::string& out, std::string_view text);
int EPSFSetData(std::string& eps, std::string_view find, std::string_view replace);
int EPSFClosePicture(std::string& eps);
