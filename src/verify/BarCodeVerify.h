// Verification: a request's symbol is drawn to a bitmap and read back by a real scanner library,
// and what it reads must be what the symbol is meant to carry. The library lives in a module that
// is loaded only when a verification is asked for.
#pragma once

#include <string>
#include <string_view>

struct BarCodeDataRec;
struct OutputBitmap;

enum class BarCodeVerifyResult {
  Match,              // the reader read exactly what the symbol carries
  Mismatch,           // it read something else, or nothing
  NoDecoder,          // the scanner library has no reader for this symbology
  DecoderUnavailable, // the decoder module could not be loaded
};

struct BarCodeVerification {
  BarCodeVerifyResult result = BarCodeVerifyResult::Mismatch;
  std::string expected; // what the symbol carries (BarCodeCarriedText)
  std::string read;     // what the reader read, symbols left to right, a space between them
  std::string problem;  // for DecoderUnavailable, and a request that cannot be drawn: why
};

// Draws the request at two pixels per module (QR Code six) and reads it back. A symbology without
// a reader adds the notice "not verified: no decoder for NAME" to the record.
BarCodeVerification BarCodeVerify(const BarCodeDataRec& rec);
// Reads the symbol of the request in a given bitmap (as OutputRenderBitmap draws it, transparent
// where there is no ink) and compares it with what the request carries.
BarCodeVerification BarCodeVerifyBitmap(const BarCodeDataRec& rec, const OutputBitmap& bitmap);
// A text as a one-line message shows it: control characters as escapes, a long text by its start.
std::string BarCodePrintableText(std::string_view text);
// One sentence for the user: what was read, or why nothing was.
std::string BarCodeVerificationText(const BarCodeVerification& verification);
// The scale at which the verifier draws: two pixels to the unit.
inline constexpr int kBarCodeVerifyScale = 200;
