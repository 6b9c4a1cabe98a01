#include "model/BarCodeDataRec.h"
#include "output/writers/OutputPICT.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"

#include <cairo.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr int kMaxPixels = 16384; // per side; beyond it cairo refuses the surface anyway
constexpr double kMetresPerInch = 0.0254;

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
};

BitmapPlan PlanBitmap(const BarCodeDataRec& rec, float width, float height) {
  BitmapPlan plan{rec, {0, 0, width, height}};
  plan.rec.epsText = nullptr; // a bitmap needs no EPS text
  if (rec.scale <= 0 || !BarCodeGetSize(rec, plan.box)) return plan;
  const int k = OutputPixelFactor(rec);
  plan.rec.scale = 100 * k;
  plan.resolution = kBarCodeDefaultDPI * k / (rec.scale / 100.0);
  BarCodeGetSize(plan.rec, plan.box);
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

// Whether the bitmap holds nothing but black at some coverage, as every symbol does: its PNG is
// then grey and alpha, which holds exactly the same pixels in half the bytes and needs no division.
bool InkOnly(const OutputBitmap& bitmap) {
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x)
      if ((OutputPixelAt(bitmap, x, y) & 0x00FFFFFF) != 0) return false;
  return true;
}

} // namespace

uint32_t OutputPixelAt(const OutputBitmap& bitmap, int x, int y) {
  uint32_t pixel;
  std::memcpy(&pixel, bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.stride + 4 * x, 4);
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

int OutputBytesPerRow(int width) {
  return (4 * width + 15) / 16 * 16;
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
  out.stride = OutputBytesPerRow(out.width);
  try {
    out.pixels.assign(static_cast<size_t>(out.stride) * out.height, '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(out.pixels.data()),
                                          CAIRO_FORMAT_ARGB32, out.width, out.height, out.stride);
  cairo_t* cg = CreateUpContext(surface, out.height);
  BarCodeUpdateImage(cg, width, height, &plan.rec);
  cairo_destroy(cg);
  cairo_surface_flush(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

// PNG through libpng rather than cairo's writer: cairo lets libpng try every row filter on every
// row, which costs a run of the command line more time than drawing the barcode. The rows of a
// barcode mostly repeat the row above, so the "up" filter leaves runs of zeros, which zlib's
// run-length matching packs as small as its fastest level does, without its hash chains.
std::string OutputEncodePNG(const OutputBitmap& bitmap) {
  std::string png;
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = writer ? png_create_info_struct(writer) : nullptr;
  if (!info || setjmp(png_jmpbuf(writer))) {
    png_destroy_write_struct(&writer, &info);
    return {};
  }
  png_set_write_fn(
      writer, &png,
      [](png_structp p, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), length);
      },
      nullptr);
  const bool grey = InkOnly(bitmap);
  png_set_IHDR(writer, info, bitmap.width, bitmap.height, 8,
               grey ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const auto perMetre = static_cast<png_uint_32>(std::lround(bitmap.resolution / kMetresPerInch));
  png_set_pHYs(writer, info, perMetre, perMetre, PNG_RESOLUTION_METER);
  png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(writer, 1);
  png_set_compression_strategy(writer, Z_RLE);
  png_write_info(writer, info);
  std::string row((grey ? 2 : 4) * static_cast<size_t>(bitmap.width), '\0');
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width && grey; ++x)
      row[2 * x + 1] = static_cast<char>(OutputPixelAt(bitmap, x, y) >> 24);
    for (int x = 0; x < bitmap.width && !grey; ++x)
      OutputStraightRGBA(OutputPixelAt(bitmap, x, y), 0, reinterpret_cast<uint8_t*>(&row[4 * x]));
    png_write_row(writer, reinterpret_cast<png_const_bytep>(row.data()));
  }
  png_write_end(writer, info);
  png_destroy_write_struct(&writer, &info);
  return png;
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
