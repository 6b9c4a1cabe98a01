// The interface of the decoder module: a small library, loaded only when a symbol is to be
// verified, that links the scanner library so that nothing else has to. Plain C, so that the
// module and the program may each carry their own C++ runtime.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Bits of the options.
enum {
  kVxDecodeRequireAddOn = 1,    // EAN/UPC: read only symbols with their 2- or 5-digit add-on
  kVxDecodeCode39FullAscii = 2, // Code 39: read shift pairs as full ASCII
};

// Called once for each symbol read: its AIM symbology identifier ("]E0"), its text in UTF-8 and
// the x of its left edge in pixels.
typedef void (*VxDecodedSymbol)(void* context, const char* identifier, const char* text,
                                size_t length, int left);

// Reads up to `symbols` symbols of the given formats (the scanner library's names, "EAN-13|UPC-A")
// in an 8-bit grey bitmap, rows from the top, 0 black. Returns the number of symbols read, or -1
// when the formats are unknown or the library failed.
typedef int (*VxDecodeGreyFunction)(const unsigned char* grey, int width, int height, int stride,
                                    const char* formats, unsigned options, int symbols,
                                    VxDecodedSymbol found, void* context);
#define VX_DECODE_GREY_SYMBOL "VxDecodeGrey"

int VxDecodeGrey(const unsigned char* grey, int width, int height, int stride, const char* formats,
                 unsigned options, int symbols, VxDecodedSymbol found, void* context);

#ifdef __cplusplus
}
#endif
