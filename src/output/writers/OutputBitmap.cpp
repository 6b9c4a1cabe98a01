#include "model/BarCodeDataRec.h"
#include "output/writers/OutputPICT.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeGraphics.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"

#include <cairo.h>
#include <cstdlib>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/mman.h>

namespace {

constexpr int kMaxPixels = 16384; // per side; beyond it cairo refuses the surface anyway

// A bitmap draws in a y-up space like a page: row 0 of the buffer is the top of the image.
cairo_t* CreateUpContext(cairo_surface_t* surface, int height) {
  cairo_t* cg = cairo_create(surface);
  cairo_translate(cg, 0, height);
  cairo_scale(cg, 1, -1);
  return cg;
}

// What a bitmap draws: the request at a scale that makes every unit of the drawing a whole number
// of pixels, so that no module edge falls inside a pixel, and the resolution at which those pixels
// have the size that the requested scale gives. A request that cannot be drawn keeps its own
// scale: the placeholder fills the size the caller asked for.
struct BitmapPlan {
  BarCodeDataRec rec;
  BarCodeRect box;
  double resolution = kBarCodeDefaultDPI;
  bool symbol = false; // the symbol, black throughout; otherwise the placeholder, red text
};

BitmapPlan PlanBitmap(const BarCodeDataRec& rec, float width, float height) {
  BitmapPlan plan{rec, {0, 0, width, height}};
  plan.rec.epsText = nullptr; // a bitmap needs no EPS text
  if (rec.scale <= 0 || !BarCodeGetSize(rec, plan.box)) return plan;
  const int k = OutputPixelFactor(rec);
  plan.rec.scale = 100 * k;
  plan.resolution = kBarCodeDefaultDPI * k / (rec.scale / 100.0);
  plan.symbol = BarCodeGetSize(plan.rec, plan.box);
  return plan;
}

OutputResult WriteBitmap(const std::string& path, const BarCodeDataRec& rec, float width,
                         float height, uint32_t type,
                         bool (*encode)(const OutputBitmap&, const std::string& tempPath)) {
  if (!OutputDrawable(rec, width, height)) return OutputResult::NotDrawable;
  OutputBitmap bitmap;
  if (!OutputRenderBitmap(rec, width, height, bitmap)) return OutputResult::CannotRender;
  return OutputStoreFile(path, type, FourCharCode("prvw"),
                         [&](const std::string& temp) { return encode(bitmap, temp); });
}

bool EncodePNGFile(const OutputBitmap& bitmap, const std::string& temp) {
  const std::string png = OutputEncodePNG(bitmap);
  return !png.empty() && DataFileFillTemp(temp, png);
}

// 8-bit RGBA with associated (premultiplied) alpha, as cairo holds it.
bool EncodeTIFFFile(const OutputBitmap& bitmap, const std::string& temp) {
  TIFF* tiff = TIFFOpen(temp.c_str(), "w");
  if (!tiff) return false;
  const uint16_t extra[] = {EXTRASAMPLE_ASSOCALPHA};
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, bitmap.width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, bitmap.height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, bitmap.resolution);
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, bitmap.resolution);
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  std::string row(4 * static_cast<size_t>(bitmap.width), '\0');
  bool ok = true;
  for (int y = 0; y < bitmap.height && ok; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const uint32_t p = OutputPixelAt(bitmap, x, y);
      row[4 * x] = static_cast<char>(p >> 16);
      row[4 * x + 1] = static_cast<char>(p >> 8);
      row[4 * x + 2] = static_cast<char>(p);
      row[4 * x + 3] = static_cast<char>(p >> 24);
    }
    ok = TIFFWriteScanline(tiff, row.data(), y, 0) == 1;
  }
  TIFFClose(tiff);
  return ok;
}

bool EncodePICTFile(const OutputBitmap& bitmap, const std::string& temp) {
  const std::string pict = OutputEncodePICT(bitmap);
  return !pict.empty() && DataFileFillTemp(temp, pict);
}

} // namespace

OutputPixelBuffer& OutputPixelBuffer::operator=(OutputPixelBuffer&& other) noexcept {
  if (this != &other) {
    Allocate(0);
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
  }
  return *this;
}

OutputPixelBuffer::~OutputPixelBuffer() {
  Allocate(0);
}

// A batch's small bitmaps reuse the heap (calloc) instead of faulting in new pages and unmapping
// them for every row. A large one comes from fresh zeroed pages without a clearing pass, mapped
// in one call rather than a fault at each first touch: every page is written or read anyway.
constexpr size_t kMappedBitmap = size_t{1} << 17;

bool OutputPixelBuffer::Allocate(size_t size) {
  if (size_ >= kMappedBitmap)
    munmap(bytes_, size_);
  else
    std::free(bytes_);
  bytes_ = nullptr;
  size_ = 0;
  if (size == 0) return false;
  if (size >= kMappedBitmap) {
    void* pages = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    bytes_ = pages == MAP_FAILED ? nullptr : static_cast<char*>(pages);
  } else {
    bytes_ = static_cast<char*>(std::calloc(size, 1));
  }
  if (!bytes_) return false;
  size_ = size;
  return true;
}

uint32_t OutputPixelAt(const OutputBitmap& bitmap, int x, int y) {
  const char* row = bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.stride;
  if (bitmap.alphaOnly) return static_cast<uint32_t>(static_cast<uint8_t>(row[x])) << 24;
  uint32_t pixel;
  std::memcpy(&pixel, row + 4 * static_cast<size_t>(x), 4);
  return pixel;
}

void OutputStraightRGBA(uint32_t pixel, uint8_t clear, uint8_t rgba[4]) {
  const uint32_t a = pixel >> 24;
  rgba[3] = static_cast<uint8_t>(a);
  for (int k = 0; k < 3; ++k) {
    const uint32_t c = (pixel >> (16 - 8 * k)) & 0xFF;
    // Nearly every pixel is a bar or the ground, which need no division: printer resolutions
    // make bitmaps of a million pixels.
    if (a == 0xFF)
      rgba[k] = static_cast<uint8_t>(c);
    else
      rgba[k] = static_cast<uint8_t>(a == 0 ? clear : (c * 255 + a / 2) / a);
  }
}

int OutputBytesPerRow(int width, bool alphaOnly) {
  return (OutputBytesPerPixel(alphaOnly) * width + 15) / 16 * 16;
}

int OutputPixels(float points) {
  if (!(points > 0)) return 0;
  return points >= static_cast<float>(kMaxPixels) ? kMaxPixels + 1 : static_cast<int>(points);
}

int OutputPixelFactor(const BarCodeDataRec& rec) {
  const int32_t dpi = std::clamp(rec.dpi, kBarCodeDefaultDPI, kBarCodeMaxDPI);
  const double k = std::lround(rec.scale / 100.0 * dpi / kBarCodeDefaultDPI);
  return static_cast<int>(std::clamp(k, 1.0, static_cast<double>(kMaxPixels)));
}

bool OutputDrawable(const BarCodeDataRec& rec, float width, float height) {
  BarCodeRect box;
  return BarCodeGetSize(rec, box) || (OutputPixels(width) > 0 && OutputPixels(height) > 0);
}

bool OutputRenderBitmap(const BarCodeDataRec& rec, float width, float height, OutputBitmap& out) {
  BitmapPlan plan = PlanBitmap(rec, width, height);
  out.width = OutputPixels(plan.box.width);
  out.height = OutputPixels(plan.box.height);
  out.resolution = plan.resolution;
  if (out.width == 0 || out.height == 0 || out.width > kMaxPixels || out.height > kMaxPixels)
    return false;
  out.alphaOnly = plan.symbol;
  out.stride = OutputBytesPerRow(out.width, out.alphaOnly);
  if (!out.pixels.Allocate(static_cast<size_t>(out.stride) * out.height)) return false;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(out.pixels.data()),
      out.alphaOnly ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32, out.width, out.height, out.stride);
  cairo_t* cg = CreateUpContext(surface, out.height);
  GraphicsOwnImage(cg);
  BarCodeUpdateImage(cg, width, height, &plan.rec);
  cairo_destroy(cg);
  cairo_surface_flush(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

OutputResult OutputFilePNG(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height) {
  return WriteBitmap(path, rec, width, height, FourCharCode("PNGf"), EncodePNGFile);
}

OutputResult OutputFileTIFF(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height) {
  return WriteBitmap(path, rec, width, height, FourCharCode("TIFF"), EncodeTIFFFile);
}

OutputResult OutputFilePICT(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height) {
  if (OutputPixels(PlanBitmap(rec, width, height).box.width) > kPICTMaxWidth)
    return OutputResult::TooWide;
  return WriteBitmap(path, rec, width, height, FourCharCode("PICT"), EncodePICTFile);
}
