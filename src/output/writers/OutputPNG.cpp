#include "output/writers/OutputWriters.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

// PNG written by hand. A symbol has a handful of colours (black at the coverages of its edges and
// its text, and the transparent ground), so it goes out as the smallest palette that holds every
// pixel exactly; and most of its rows repeat the row above, which the compressed stream copies in
// a few bits instead of letting a general compressor search for it. The stream is deflate with
// the fixed codes: rows repeated as one match, runs within a row as matches one byte back.

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr size_t kMaxDistance = 32768;
constexpr size_t kMaxMatch = 258;
constexpr size_t kMinMatch = 3;

// Bits packed from the least significant end, as deflate reads them; they go out four bytes at a
// time.
struct BitSink {
  std::string& out;
  uint64_t bits = 0;
  int count = 0;

  // At most 32 bits at a time.
  void Put(uint32_t value, int n) {
    bits |= static_cast<uint64_t>(value) << count;
    count += n;
    if (count >= 32) {
      const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8),
                             static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
      out.append(bytes, 4);
      bits >>= 32;
      count -= 32;
    }
  }
  void Flush() {
    for (; count > 0; count -= 8, bits >>= 8)
      out += static_cast<char>(bits & 0xFF);
    bits = 0;
    count = 0;
  }
};

// A Huffman code goes out with its first bit first, so it is stored reversed.
constexpr uint32_t Reversed(uint32_t code, int length) {
  uint32_t out = 0;
  for (int k = 0; k < length; ++k)
    out |= ((code >> k) & 1) << (length - 1 - k);
  return out;
}

struct Code {
  uint16_t bits;
  uint8_t length;
};

// The fixed literal/length code of deflate.
constexpr std::array<Code, 288> kFixedCodes = [] {
  std::array<Code, 288> codes{};
  for (uint32_t v = 0; v < 288; ++v) {
    if (v < 144)
      codes[v] = {static_cast<uint16_t>(Reversed(0x30 + v, 8)), 8};
    else if (v < 256)
      codes[v] = {static_cast<uint16_t>(Reversed(0x190 + v - 144, 9)), 9};
    else if (v < 280)
      codes[v] = {static_cast<uint16_t>(Reversed(v - 256, 7)), 7};
    else
      codes[v] = {static_cast<uint16_t>(Reversed(0xC0 + v - 280, 8)), 8};
  }
  return codes;
}();

constexpr std::array<uint16_t, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                               15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                               67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                 4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The fixed five-bit distance codes, reversed for going out first bit first.
constexpr std::array<uint8_t, 30> kDistanceCodes = [] {
  std::array<uint8_t, 30> codes{};
  for (uint32_t d = 0; d < codes.size(); ++d)
    codes[d] = static_cast<uint8_t>(Reversed(d, 5));
  return codes;
}();

template <size_t N> constexpr size_t BaseIndex(const std::array<uint16_t, N>& bases, size_t value) {
  size_t k = N - 1;
  while (bases[k] > value)
    --k;
  return k;
}

// The length code of each match length 0-258 (valid from 3), found once at compile time.
constexpr std::array<uint8_t, kMaxMatch + 1> kLengthCodes = [] {
  std::array<uint8_t, kMaxMatch + 1> codes{};
  for (size_t length = kMinMatch; length <= kMaxMatch; ++length)
    codes[length] = static_cast<uint8_t>(BaseIndex(kLengthBase, length));
  return codes;
}();

// The distance code of 1 to 32768: two codes for each power of two above 4.
size_t DistanceCode(size_t distance) {
  if (distance <= 4) return distance - 1;
  const size_t v = distance - 1;
  const auto width = static_cast<size_t>(std::bit_width(v));
  return 2 * (width - 1) + ((v >> (width - 2)) & 1);
}

void PutSymbol(BitSink& sink, uint32_t symbol) {
  sink.Put(kFixedCodes[symbol].bits, kFixedCodes[symbol].length);
}

// One match of 3 to 258 bytes, `distance` bytes back.
void PutMatch(BitSink& sink, size_t length, size_t distance) {
  const size_t l = kLengthCodes[length];
  PutSymbol(sink, static_cast<uint32_t>(257 + l));
  sink.Put(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  const size_t d = DistanceCode(distance);
  sink.Put(kDistanceCodes[d], 5);
  sink.Put(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// `length` bytes that repeat those `distance` bytes back, as matches; a rest too short for a
// match goes out as literals, `bytes` being the repeated bytes themselves.
void PutRepeat(BitSink& sink, const uint8_t* bytes, size_t length, size_t distance) {
  while (length >= kMinMatch) {
    size_t take = std::min(length, kMaxMatch);
    if (length - take > 0 && length - take < kMinMatch) take = length - kMinMatch;
    PutMatch(sink, take, distance);
    bytes += take;
    length -= take;
  }
  for (size_t k = 0; k < length; ++k)
    PutSymbol(sink, bytes[k]);
}

// How many bytes from the start a and b have in common, up to limit; eight at a time.
size_t RunLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t n = 0;
  for (; n + 8 <= limit; n += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<size_t>(std::countr_zero(x ^ y) / 8);
  }
  while (n < limit && a[n] == b[n])
    ++n;
  return n;
}

// A row that differs from the one above it: where it goes on as the row above, a match one row
// back; where a byte repeats, a match one byte back; otherwise the byte itself. `above` is null
// for the first row and for rows too long to reach back to.
void PutRow(BitSink& sink, const uint8_t* row, const uint8_t* above, size_t length) {
  for (size_t k = 0; k < length;) {
    const size_t same = above ? RunLength(row + k, above + k, length - k) : 0;
    if (same >= kMinMatch) {
      PutRepeat(sink, row + k, same, length);
      k += same;
      continue;
    }
    PutSymbol(sink, row[k]);
    const size_t run = k + 1 < length ? RunLength(row + k + 1, row + k, length - k - 1) : 0;
    PutRepeat(sink, row + k + 1, run, 1);
    k += 1 + run;
  }
}

// Row y's bytes: a byte a pixel for alpha alone, four for ARGB32.
const uint8_t* RowBytes(const OutputBitmap& bitmap, int y) {
  return reinterpret_cast<const uint8_t*>(bitmap.pixels.data()) +
         static_cast<size_t>(y) * bitmap.stride;
}

bool SameRow(const OutputBitmap& bitmap, int y) {
  const uint8_t* row = RowBytes(bitmap, y);
  return std::memcmp(row, row - bitmap.stride,
                     static_cast<size_t>(OutputBytesPerPixel(bitmap.alphaOnly)) * bitmap.width) ==
         0;
}

// Row y of an ARGB32 bitmap, premultiplied pixels.
void ReadRow(const OutputBitmap& bitmap, int y, std::vector<uint32_t>& pixels) {
  pixels.resize(static_cast<size_t>(bitmap.width));
  std::memcpy(pixels.data(), RowBytes(bitmap, y), 4 * pixels.size());
}

// The colours of an image in the order they come, up to 256, with a cache in front of the search:
// a symbol's colours differ in their alpha, which picks the slot.
struct Palette {
  std::vector<uint32_t> colours; // premultiplied pixels
  bool ink = false;              // all black: colours in the order of their alpha, indexed by it
  std::array<uint8_t, 256> byAlpha{};
  std::array<uint32_t, 256> cached{};
  std::array<int16_t, 256> cachedIndex;

  Palette() { cachedIndex.fill(-1); }

  // The index of a colour, added if new; -1 once a 257th colour comes.
  int Index(uint32_t p) {
    if (ink) return byAlpha[p >> 24];
    const size_t slot = (p >> 24 ^ p >> 16 ^ p >> 8 ^ p) & 0xFF;
    if (cachedIndex[slot] >= 0 && cached[slot] == p) return cachedIndex[slot];
    size_t at = static_cast<size_t>(std::find(colours.begin(), colours.end(), p) - colours.begin());
    if (at == colours.size()) {
      if (at == 256) return -1;
      colours.push_back(p);
    }
    cached[slot] = p;
    cachedIndex[slot] = static_cast<int16_t>(at);
    return static_cast<int>(at);
  }
};

// The image as PNG rows: a palette of up to 256 colours at the fewest bits a pixel that index
// them, or else straight RGBA.
struct PNGLayout {
  std::vector<bool> repeats; // whether a row is the row above again
  Palette palette;           // no colours for RGBA
  int depth = 8;
  size_t rowBytes = 0;
};

// Whether the image holds nothing but black at some coverage, as every symbol does; its palette
// is then made from the alphas seen, without a search.
bool InkPalette(const OutputBitmap& bitmap, const std::vector<bool>& repeats, Palette& palette) {
  std::array<bool, 256> seen{};
  std::vector<uint32_t> pixels;
  for (int y = 0; y < bitmap.height; ++y) {
    if (repeats[y]) continue;
    if (bitmap.alphaOnly) {
      const uint8_t* alpha = RowBytes(bitmap, y);
      for (int x = 0; x < bitmap.width; ++x)
        seen[alpha[x]] = true;
      continue;
    }
    ReadRow(bitmap, y, pixels);
    uint32_t colour = 0;
    for (uint32_t p : pixels) {
      colour |= p;
      seen[p >> 24] = true;
    }
    if ((colour & 0x00FFFFFF) != 0) return false;
  }
  for (size_t a = 0; a < seen.size(); ++a) {
    if (!seen[a]) continue;
    palette.byAlpha[a] = static_cast<uint8_t>(palette.colours.size());
    palette.colours.push_back(static_cast<uint32_t>(a) << 24);
  }
  palette.ink = true;
  return true;
}

PNGLayout Layout(const OutputBitmap& bitmap) {
  PNGLayout layout;
  layout.repeats.resize(static_cast<size_t>(bitmap.height));
  for (int y = 1; y < bitmap.height; ++y)
    layout.repeats[y] = SameRow(bitmap, y);
  Palette& palette = layout.palette;
  std::vector<uint32_t> pixels;
  const bool ink = InkPalette(bitmap, layout.repeats, palette);
  for (int y = 0; y < bitmap.height && !ink; ++y) {
    if (layout.repeats[y]) continue;
    ReadRow(bitmap, y, pixels);
    uint32_t last = pixels[0] + 1;
    for (uint32_t p : pixels) {
      if (p == last) continue;
      last = p;
      if (palette.Index(p) < 0) {
        palette.colours.clear();
        layout.rowBytes = 4 * static_cast<size_t>(bitmap.width);
        return layout;
      }
    }
  }
  const size_t n = palette.colours.size();
  layout.depth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
  layout.rowBytes = (static_cast<size_t>(bitmap.width) * layout.depth + 7) / 8;
  return layout;
}

// Palette indices, `Depth` bits each, packed from the most significant bit as PNG wants them.
template <int Depth, typename IndexAt>
void PackIndicesAt(size_t width, const IndexAt& indexAt, uint8_t* out) {
  constexpr size_t kPerByte = 8 / Depth;
  size_t x = 0;
  for (; x + kPerByte <= width; x += kPerByte) {
    uint32_t byte = 0;
    for (size_t k = 0; k < kPerByte; ++k)
      byte = byte << Depth | indexAt(x + k);
    *out++ = static_cast<uint8_t>(byte);
  }
  if (x == width) return;
  uint32_t byte = 0;
  for (size_t k = x; k < width; ++k)
    byte = byte << Depth | indexAt(k);
  *out = static_cast<uint8_t>(byte << (8 - Depth * (width - x)));
}

// Pixels that are clear or black, a bit each (1 for black): eight pixels are read at once and
// their top bits gathered into one byte, the first pixel's at the top.
void PackClearOrBlack(const uint8_t* alpha, size_t width, uint8_t* out) {
  size_t x = 0;
  for (; x + 8 <= width; x += 8) {
    uint64_t eight;
    std::memcpy(&eight, alpha + x, 8);
    *out++ = static_cast<uint8_t>(((eight & 0x8080808080808080u) >> 7) * 0x8040201008040201u >> 56);
  }
  PackIndicesAt<1>(
      width - x, [&](size_t k) { return alpha[x + k] >> 7; }, out);
}

template <typename IndexAt>
void PackIndices(size_t width, int depth, const IndexAt& indexAt, uint8_t* out) {
  if (depth == 1) return PackIndicesAt<1>(width, indexAt, out);
  if (depth == 2) return PackIndicesAt<2>(width, indexAt, out);
  if (depth == 4) return PackIndicesAt<4>(width, indexAt, out);
  PackIndicesAt<8>(width, indexAt, out);
}

// Row y as its filter byte (none) and its pixels. A bitmap of alpha alone has an ink palette and
// its bytes index it directly, without being widened to colours first.
void PackRow(const OutputBitmap& bitmap, PNGLayout& layout, int y, std::vector<uint32_t>& pixels,
             uint8_t* row) {
  row[0] = 0;
  const auto width = static_cast<size_t>(bitmap.width);
  Palette& palette = layout.palette;
  if (bitmap.alphaOnly) {
    const uint8_t* alpha = RowBytes(bitmap, y);
    // Clear and black alone, as when every edge falls between pixels: eight pixels at once.
    const std::vector<uint32_t>& c = palette.colours;
    if (c.size() == 2 && c[0] == 0 && c[1] == 0xFF000000u)
      PackClearOrBlack(alpha, width, row + 1);
    else
      PackIndices(
          width, layout.depth, [&](size_t x) { return palette.byAlpha[alpha[x]]; }, row + 1);
    return;
  }
  ReadRow(bitmap, y, pixels);
  if (palette.colours.empty()) {
    for (size_t x = 0; x < width; ++x)
      OutputStraightRGBA(pixels[x], 0, row + 1 + 4 * x);
    return;
  }
  uint32_t last = pixels[0] + 1, index = 0;
  const auto indexAt = [&](size_t x) {
    if (pixels[x] != last) index = static_cast<uint32_t>(palette.Index(last = pixels[x]));
    return index;
  };
  PackIndices(width, layout.depth, indexAt, row + 1);
}

// The zlib stream of the image's rows.
std::string Compress(const OutputBitmap& bitmap, PNGLayout& layout) {
  std::string out("\x78\x01", 2);
  BitSink sink{out};
  sink.Put(1, 1); // the last block
  sink.Put(1, 2); // fixed codes
  const size_t length = layout.rowBytes + 1;
  std::vector<uint8_t> row(length), above(length);
  std::vector<uint32_t> pixels;
  const bool reach = length <= kMaxDistance;
  // A repeated row adds its checksum again without reading it.
  const uLong empty = adler32(0, nullptr, 0);
  uLong adler = empty, rowAdler = empty;
  const auto rowLength = static_cast<uInt>(length);
  for (int y = 0; y < bitmap.height; ++y) {
    if (layout.repeats[y]) {
      if (reach)
        PutRepeat(sink, row.data(), length, length);
      else
        PutRow(sink, row.data(), nullptr, length);
    } else {
      row.swap(above);
      PackRow(bitmap, layout, y, pixels, row.data());
      rowAdler = adler32(empty, row.data(), rowLength);
      PutRow(sink, row.data(), reach && y > 0 ? above.data() : nullptr, length);
    }
    adler = adler32_combine(adler, rowAdler, static_cast<z_off_t>(length));
  }
  PutSymbol(sink, 256);
  sink.Flush();
  const auto check = static_cast<uint32_t>(adler);
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>(check >> shift);
  return out;
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>(value >> shift);
}

void PutChunk(std::string& png, const char type[4], const std::string& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  png.append(type, 4);
  png += data;
  const auto* bytes = reinterpret_cast<const Bytef*>(png.data() + start);
  PutBigEndian(png, static_cast<uint32_t>(crc32(0, bytes, static_cast<uInt>(png.size() - start))));
}

} // namespace

std::string OutputEncodePNG(const OutputBitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return {};
  PNGLayout layout = Layout(bitmap);
  const bool indexed = !layout.palette.colours.empty();
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(bitmap.width));
  PutBigEndian(header, static_cast<uint32_t>(bitmap.height));
  header += static_cast<char>(layout.depth);
  header += static_cast<char>(indexed ? 3 : 6); // palette or RGBA
  header.append(3, '\0');                       // deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);
  const auto perMetre = static_cast<uint32_t>(std::lround(bitmap.resolution / kMetresPerInch));
  std::string phys;
  PutBigEndian(phys, perMetre);
  PutBigEndian(phys, perMetre);
  phys += '\1'; // metres
  PutChunk(png, "pHYs", phys);
  if (indexed) {
    std::string colours, alphas;
    bool opaque = true;
    for (uint32_t p : layout.palette.colours) {
      uint8_t rgba[4];
      OutputStraightRGBA(p, 0, rgba);
      colours.append(reinterpret_cast<const char*>(rgba), 3);
      alphas += static_cast<char>(rgba[3]);
      opaque = opaque && rgba[3] == 0xFF;
    }
    PutChunk(png, "PLTE", colours);
    if (!opaque) PutChunk(png, "tRNS", alphas);
  }
  PutChunk(png, "IDAT", Compress(bitmap, layout));
  PutChunk(png, "IEND", {});
  return png;
}
