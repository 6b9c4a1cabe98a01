#include "output/writers/OutputPICT.h"

#include <algorithm>
#include <cmath>

namespace {

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v >> 16);
  Put16(out, v & 0xFFFF);
}

void PutRect(std::string& out, int height, int width) {
  Put16(out, 0); // top
  Put16(out, 0); // left
  Put16(out, static_cast<uint32_t>(height));
  Put16(out, static_cast<uint32_t>(width));
}

// A resolution in QuickDraw's 16.16 fixed point.
uint32_t FixedResolution(double dpi) {
  return static_cast<uint32_t>(std::lround(dpi * 65536.0));
}

// Opcodes of QuickDraw's version 2 pictures (Inside Macintosh: Imaging With QuickDraw, A-22).
enum : uint32_t {
  kOpClip = 0x0001,
  kOpVersion = 0x0011,
  kOpDirectBitsRect = 0x009A,
  kOpEnd = 0x00FF,
  kOpHeader = 0x0C00,
};

void PutHeader(std::string& out, int width, int height, uint32_t resolution) {
  out.assign(512, '\0'); // the file's unused leading block
  Put16(out, 0);         // picture size: unused by version 2 readers
  PutRect(out, height, width);
  Put16(out, kOpVersion);
  Put16(out, 0x02FF);
  Put16(out, kOpHeader);
  Put16(out, 0xFFFE); // extended version 2 header
  Put16(out, 0);
  Put32(out, resolution);
  Put32(out, resolution);
  PutRect(out, height, width);
  Put32(out, 0);
  Put16(out, kOpClip);
  Put16(out, 10);
  PutRect(out, height, width);
}

// The pixmap's bounds are `stride` pixels wide; only the first `width` of each row are drawn.
void PutPixMap(std::string& out, int width, int stride, int height, uint32_t resolution) {
  Put16(out, kOpDirectBitsRect);
  Put32(out, 0x000000FF); // base address placeholder for direct pixels
  Put16(out, 0x8000 | static_cast<uint32_t>(4 * stride));
  PutRect(out, height, stride);
  Put16(out, 0); // pixmap version
  Put16(out, 4); // pack type: component planes, PackBits
  Put32(out, 0); // pack size
  Put32(out, resolution);
  Put32(out, resolution);
  Put16(out, 16);              // RGBDirect
  Put16(out, 32);              // bits per pixel
  Put16(out, 4);               // components: alpha, red, green, blue
  Put16(out, 8);               // bits per component
  Put32(out, 0);               // plane bytes
  Put32(out, 0);               // colour table
  Put32(out, 0);               // reserved
  PutRect(out, height, width); // source
  PutRect(out, height, width); // destination
  Put16(out, 0);               // transfer mode srcCopy
}

// One row as four planes (A, R, G, B) of `stride` pixels each, colour unpremultiplied; pixels past
// the bitmap's width are transparent white.
std::string RowPlanes(const OutputBitmap& bitmap, int y, int stride) {
  const size_t w = static_cast<size_t>(stride);
  std::string planes(4 * w, '\xFF');
  std::fill_n(planes.begin(), w, '\0');
  for (size_t x = 0; x < static_cast<size_t>(bitmap.width); ++x) {
    uint8_t rgba[4];
    OutputStraightRGBA(OutputPixelAt(bitmap, static_cast<int>(x), y), 0xFF, rgba);
    planes[x] = static_cast<char>(rgba[3]);
    for (size_t k = 0; k < 3; ++k)
      planes[(k + 1) * w + x] = static_cast<char>(rgba[k]);
  }
  return planes;
}

} // namespace

// A run of equal bytes that starts a packet is repeated; a literal is broken only by a run of three
// or more, since breaking it for two would cost as much as it saves. So no row grows by more than
// one count byte in 128 (a row of 250 bytes packs into at most 252, which the one-byte length of
// such a row can hold).
std::string OutputPackBits(std::string_view bytes) {
  std::string out;
  const auto runAt = [&](size_t i) {
    size_t run = 1;
    while (i + run < bytes.size() && run < 128 && bytes[i + run] == bytes[i])
      ++run;
    return run;
  };
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t run = runAt(i);
    if (run >= 2) {
      out += static_cast<char>(257 - run);
      out += bytes[i];
      i += run;
      continue;
    }
    size_t literal = 1;
    while (i + literal < bytes.size() && literal < 128 && runAt(i + literal) < 3)
      ++literal;
    out += static_cast<char>(literal - 1);
    out.append(bytes.substr(i, literal));
    i += literal;
  }
  return out;
}

std::string OutputEncodePICT(const OutputBitmap& bitmap) {
  if (bitmap.width > kPICTMaxWidth) return {};
  const int stride = OutputPICTRowPixels(bitmap.width);
  const uint32_t resolution = FixedResolution(bitmap.resolution);
  std::string out;
  PutHeader(out, bitmap.width, bitmap.height, resolution);
  PutPixMap(out, bitmap.width, stride, bitmap.height, resolution);
  const int rowBytes = 4 * stride;
  for (int y = 0; y < bitmap.height; ++y) {
    const std::string planes = RowPlanes(bitmap, y, stride);
    // QuickDraw stores rows narrower than 8 bytes unpacked.
    if (rowBytes < 8) {
      out += planes;
      continue;
    }
    const std::string packed = OutputPackBits(planes);
    // Rows of more than 250 bytes give their packed length in a word, shorter ones in a byte.
    if (rowBytes > kPICTByteCountRow)
      Put16(out, static_cast<uint32_t>(packed.size()));
    else
      out += static_cast<char>(packed.size());
    out += packed;
  }
  if (out.size() % 2) out += '\0'; // opcodes start on word boundaries
  Put16(out, kOpEnd);
  return out;
}

int OutputPICTRowPixels(int width) {
  // Rows of 201 to 250 bytes have their packed length in a byte by QuickDraw's rule, but some
  // readers (ImageMagick among them) switch to a word above 200 bytes: such rows are padded to 63
  // pixels, 252 bytes, where everyone reads a word.
  constexpr int kReaderWordRow = 200;
  const int rowBytes = 4 * width;
  if (rowBytes > kReaderWordRow && rowBytes <= kPICTByteCountRow)
    return (kPICTByteCountRow + 4) / 4;
  return width;
}
