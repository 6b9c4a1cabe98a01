#include "verify/BarCodeVerify.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "symbologies/Code39.h"
#include "verify/VxDecoder.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

// What the scanner library reads each symbology as: its format names, and the symbology
// identifier that tells a GS1 symbol (FNC1 after the start) from a plain one. Code 25, MSI,
// PostNet, RM4SCC and Pharmacode have no reader in it.
// The reader also passes over interleaved 2 of 5 symbols of fewer than 6 digits and Codabar
// symbols of fewer than 2 characters, which are easily misread.
struct DecoderFacts {
  const char* formats; // null: no reader
  std::string_view identifier = {};
  size_t shortest = 0; // characters of the shortest data the reader reads
  int symbols = 1;     // symbols in the image
};

constexpr std::array<DecoderFacts, kBarCodeCount + 1> kDecoders{{
    {nullptr},                   // none
    {"EAN-13"},                  // EAN-13
    {"EAN-8"},                   // EAN-8
    {"Code128", "]C1"},          // EAN-128
    {"Code128", "]C1"},          // EAN-14
    {"Code128", "]C1"},          // EAN-18
    {"EAN-13"},                  // EAN-99
    {"EAN-13"},                  // EAN-Coupon
    {"UPC-A"},                   // UPC-A
    {"UPC-E"},                   // UPC-E
    {"Code128", "]C0"},          // Code-128
    {"Code93"},                  // Code-93
    {"Code39"},                  // Code-39
    {nullptr},                   // Code-25
    {"UPC-A|Code128", {}, 0, 2}, // UPC-Coupon: the number and its extension
    {"Codabar", {}, 2},          // Codabar
    {"EAN-13"},                  // ISSN
    {"EAN-13"},                  // ISBN
    {"EAN-13"},                  // ISMN
    {nullptr},                   // PostNet
    {nullptr},                   // RM4SCC
    {nullptr},                   // Pharmacode
    {nullptr},                   // MSI
    {"ITF"},                     // ITF-SCC
    {"ITF"},                     // ITF-14
    {"ITF", {}, 6},              // Interleaved-25
    {"QRCode"},                  // QRCode
    {"PDF417"},                  // PDF417
}};

const DecoderFacts& FactsFor(const BarCodeDataRec& rec) {
  const bool known = rec.symbology >= 1 && rec.symbology <= kBarCodeCount;
  return kDecoders[known ? rec.symbology : 0];
}

constexpr const char* kModuleName = "vxdecoder.so";

// Where the module may be: beside the running program (the build tree), in the library folder of
// the prefix the program is installed in (wherever that was moved), and in the one it was built
// for.
std::vector<std::string> ModulePaths() {
  std::array<char, 4096> path{};
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  const std::string exe(path.data(), n > 0 ? static_cast<size_t>(n) : 0);
  const std::string folder = exe.substr(0, exe.rfind('/') + 1);
  return {folder + kModuleName, folder + "../" VX_DECODER_LIBDIR "/" + kModuleName,
          VX_DECODER_PREFIX "/" VX_DECODER_LIBDIR "/" + std::string(kModuleName)};
}

struct Decoder {
  VxDecodeGreyFunction decode = nullptr;
  std::string problem;
};

// Loaded once, on the first verification, and kept for the life of the program.
const Decoder& LoadDecoder() {
  static const Decoder decoder = [] {
    Decoder d;
    for (const std::string& path : ModulePaths()) {
      void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!module) {
        if (d.problem.empty()) d.problem = dlerror();
        continue;
      }
      d.decode = reinterpret_cast<VxDecodeGreyFunction>(dlsym(module, VX_DECODE_GREY_SYMBOL));
      if (d.decode) return d;
      d.problem = path + " has no " VX_DECODE_GREY_SYMBOL;
    }
    d.problem =
        "the decoder module " + std::string(kModuleName) + " could not be loaded: " + d.problem;
    return d;
  }();
  return decoder;
}

// The bitmap as grey on white, with a white margin round it: several symbols carry no quiet zone
// of their own, and a reader needs one.
constexpr int kMargin = 20;

struct GreyImage {
  int width, height;
  std::vector<unsigned char> pixels;
};

GreyImage GreyOnWhite(const OutputBitmap& bitmap) {
  GreyImage grey{bitmap.width + 2 * kMargin, bitmap.height + 2 * kMargin, {}};
  grey.pixels.assign(static_cast<size_t>(grey.width) * grey.height, 255);
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      uint8_t rgba[4];
      OutputStraightRGBA(OutputPixelAt(bitmap, x, y), 255, rgba);
      const unsigned luma = (306 * rgba[0] + 601 * rgba[1] + 117 * rgba[2] + 512) >> 10;
      const unsigned onWhite = (luma * rgba[3] + 255 * (255 - rgba[3]) + 127) / 255;
      grey.pixels[static_cast<size_t>(y + kMargin) * grey.width + x + kMargin] =
          static_cast<unsigned char>(onWhite);
    }
  return grey;
}

// Whether the bitmap holds all the pixels its size says: a failed drawing leaves none.
bool Complete(const OutputBitmap& bitmap) {
  return bitmap.width > 0 && bitmap.height > 0 &&
         bitmap.stride >= OutputBytesPerPixel(bitmap.alphaOnly) * bitmap.width &&
         bitmap.pixels.size() >= static_cast<size_t>(bitmap.stride) * bitmap.height;
}

struct Symbol {
  int left;
  std::string identifier, text;
};

unsigned OptionsFor(const BarCodeDataRec& rec, const std::string& expected) {
  const std::string_view formats = FactsFor(rec).formats;
  unsigned options = 0;
  // An EAN/UPC symbol with an add-on carries the add-on's digits after a space.
  if (formats.starts_with("EAN") || formats == "UPC-A" || formats == "UPC-E")
    if (expected.find(' ') != std::string::npos) options |= kVxDecodeRequireAddOn;
  if (formats == "Code39" && Code39NeedsFullAscii(Utf8Decode(expected)))
    options |= kVxDecodeCode39FullAscii;
  return options;
}

// Control characters shown as escapes and long text by its start, so that a message stays one
// line.
constexpr size_t kShown = 80;

std::string Printable(std::string_view text) {
  std::string out;
  const std::u32string chars = Utf8Decode(text);
  if (chars.size() > kShown)
    return Printable(Utf8Encode(std::u32string_view(chars).substr(0, kShown - 1))) + "…";
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
      out += hex;
    } else
      out += c;
  }
  return out;
}

// The symbols the reader finds in the image, from left to right.
std::vector<Symbol> ReadSymbols(const Decoder& decoder, const DecoderFacts& facts, unsigned options,
                                const GreyImage& grey) {
  std::vector<Symbol> symbols;
  decoder.decode(
      grey.pixels.data(), grey.width, grey.height, grey.width, facts.formats, options,
      facts.symbols,
      [](void* context, const char* identifier, const char* text, size_t length, int left) {
        static_cast<std::vector<Symbol>*>(context)->push_back({left, identifier, {text, length}});
      },
      &symbols);
  std::sort(symbols.begin(), symbols.end(),
            [](const Symbol& a, const Symbol& b) { return a.left < b.left; });
  return symbols;
}

} // namespace

BarCodeVerification BarCodeVerifyBitmap(const BarCodeDataRec& rec, const OutputBitmap& bitmap) {
  BarCodeVerification v;
  v.problem = BarCodeRefusal(rec);
  if (!v.problem.empty()) return v;
  v.expected = BarCodeCarriedText(rec);
  const DecoderFacts& facts = FactsFor(rec);
  if (!facts.formats) {
    v.result = BarCodeVerifyResult::NoDecoder;
    return v;
  }
  const Decoder& decoder = LoadDecoder();
  if (!decoder.decode) {
    v.result = BarCodeVerifyResult::DecoderUnavailable;
    v.problem = decoder.problem;
    return v;
  }
  if (!Complete(bitmap)) {
    v.problem = "the symbol is too large to draw at two pixels per module";
    return v;
  }
  const std::vector<Symbol> symbols =
      ReadSymbols(decoder, facts, OptionsFor(rec, v.expected), GreyOnWhite(bitmap));
  bool identified = true;
  for (const Symbol& symbol : symbols) {
    if (symbol.text.empty()) continue;
    if (!v.read.empty()) v.read += ' ';
    v.read += symbol.text;
    identified = identified && symbol.identifier.starts_with(facts.identifier);
  }
  v.result = (identified && v.read == v.expected && !symbols.empty())
                 ? BarCodeVerifyResult::Match
                 : BarCodeVerifyResult::Mismatch;
  if (!identified) v.problem = "the symbol reads as another kind of symbol";
  if (v.read.empty() && Utf8Length(v.expected) < facts.shortest)
    v.problem = "the reader reads no " + BarCodeNoticeName(rec) + " of fewer than " +
                std::to_string(facts.shortest) + " characters";
  return v;
}

BarCodeVerification BarCodeVerify(const BarCodeDataRec& rec) {
  OutputBitmap bitmap;
  if (FactsFor(rec).formats) {
    BarCodeDataRec copy = rec;
    copy.scale = kBarCodeVerifyScale;
    copy.dpi = kBarCodeDefaultDPI; // two pixels to the unit, whatever the files' resolution
    copy.position = kPositionFile;
    if (!OutputRenderBitmap(copy, 0, 0, bitmap)) bitmap = {};
  }
  BarCodeVerification v = BarCodeVerifyBitmap(rec, bitmap);
  if (v.result == BarCodeVerifyResult::NoDecoder)
    BarCodeNote(rec, "not verified: no decoder for " + BarCodeNoticeName(rec));
  return v;
}

std::string BarCodeVerificationText(const BarCodeVerification& v) {
  const std::string expected = "«" + Printable(v.expected) + "»";
  switch (v.result) {
  case BarCodeVerifyResult::Match:
    return "verified: a reader reads " + expected;
  case BarCodeVerifyResult::NoDecoder:
    return "not verified: there is no reader for this symbology";
  case BarCodeVerifyResult::DecoderUnavailable:
    return "not verified: " + v.problem;
  case BarCodeVerifyResult::Mismatch:
    break;
  }
  if (v.expected.empty() && !v.problem.empty()) return "not verified: " + v.problem;
  if (v.read.empty() && !v.problem.empty())
    return "verification failed: " + v.problem + "; it should read " + expected;
  std::string text = v.read.empty()
                         ? "verification failed: no reader could read the symbol"
                         : "verification failed: the symbol reads «" + Printable(v.read) + "»";
  text += ", but it should read " + expected;
  return v.problem.empty() ? text : text + " (" + v.problem + ")";
}

std::string BarCodePrintableText(std::string_view text) {
  return Printable(text);
}
