// The format writers shared by both programs: a request becomes a PNG, TIFF, PICT, PDF, SVG or
// EPS file, or PDF data on the clipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

struct BarCodeDataRec;

enum class OutputResult {
  Ok,
  NotDrawable,  // the request cannot be drawn and no size was given to show the placeholder in
  NotMacRoman,  // the EPS or document text has no Mac OS Roman form
  CannotRender, // the image or PDF could not be made (out of memory, too large)
  CannotWrite,  // the file could not be written
  IsFolder,     // the output path names a folder, not a file
  TooWide,      // wider than the format can hold
  NoClipboard,  // no display or no clipboard tool to hand the PDF to
};

// One line for the user that says why the output was not made.
std::string_view OutputResultText(OutputResult result);

// Width and height are the target size in points: 0 and 0 size the output from the symbol alone.
OutputResult OutputFilePNG(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height);
OutputResult OutputFileTIFF(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height);
OutputResult OutputFilePICT(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height);
OutputResult OutputFilePDF(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height);
// The PDF writer with the author entry given, for a caller that read it once for many files.
OutputResult OutputFilePDFAuthor(const std::string& path, const BarCodeDataRec& rec, float width,
                                 float height, const std::string& author);
// The author of the PDF files made: the preference shared with the desktop program.
std::string OutputPDFAuthor();
OutputResult OutputFileEPSF(const std::string& path, const BarCodeDataRec& rec, float width,
                            float height);
OutputResult OutputFileSVG(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height);
OutputResult OutputPasteboardPDF(const BarCodeDataRec& rec, float width, float height);

// Stores a file whole (through a temporary file beside it, or beside the file a link points at)
// and gives it its Finder codes.
OutputResult OutputStoreFile(const std::string& path, uint32_t type, uint32_t creator,
                             const std::function<bool(const std::string& tempPath)>& write);
OutputResult OutputStoreBytes(const std::string& path, uint32_t type, uint32_t creator,
                              std::string_view bytes);

// The pieces the desktop program reuses for its own clipboard and tests.
// Zeroed memory for pixels, mapped from the system, whose fresh pages are zero already: a bitmap
// is not cleared a second time byte by byte.
class OutputPixelBuffer {
public:
  OutputPixelBuffer() = default;
  OutputPixelBuffer(const OutputPixelBuffer&) = delete;
  OutputPixelBuffer& operator=(const OutputPixelBuffer&) = delete;
  OutputPixelBuffer(OutputPixelBuffer&& other) noexcept { *this = std::move(other); }
  OutputPixelBuffer& operator=(OutputPixelBuffer&& other) noexcept;
  ~OutputPixelBuffer();
  bool Allocate(size_t size);
  char* data() { return bytes_; }
  const char* data() const { return bytes_; }
  size_t size() const { return size_; }

private:
  char* bytes_ = nullptr;
  size_t size_ = 0;
};

struct OutputBitmap {
  int width = 0, height = 0, stride = 0;
  double resolution = 72; // pixels per inch at which the bitmap has the symbol's size in points
  // cairo ARGB32, premultiplied, native byte order; or, for a symbol, which is black throughout,
  // cairo A8: its alpha alone, a quarter of the memory to fill and to encode.
  bool alphaOnly = false;
  OutputPixelBuffer pixels;
};
// Pixels per unit of a bitmap's drawing: the whole number nearest to what the record's scale and
// resolution ask for, at least 1. A bitmap is the unscaled symbol box times this factor.
int OutputPixelFactor(const BarCodeDataRec& rec);
// Whether a writer has something to draw: the symbol, or the placeholder in the size given.
bool OutputDrawable(const BarCodeDataRec& rec, float width, float height);
bool OutputRenderBitmap(const BarCodeDataRec& rec, float width, float height, OutputBitmap& out);
std::string OutputEncodePNG(const OutputBitmap& bitmap);
// PDF of the request; with info, the document information entries of a saved file (the author
// read from the preferences unless given).
bool OutputRenderPDF(const BarCodeDataRec& rec, float width, float height, bool info,
                     std::string& out, int32_t sysVersion, const std::string* author = nullptr);
// SVG of the request, sized in points like the PDF.
bool OutputRenderSVG(const BarCodeDataRec& rec, float width, float height, std::string& out);
// The finished EPS text of a request, with its title and meta lines filled in.
bool OutputRenderEPS(const BarCodeDataRec& rec, std::string_view fileName, std::string& out);
// The pixel at (x, y), row 0 at the top, as cairo ARGB32 holds it: premultiplied.
uint32_t OutputPixelAt(const OutputBitmap& bitmap, int x, int y);
// A premultiplied pixel as straight red, green, blue and alpha; a fully transparent pixel gets
// the colour `clear` in all three channels.
void OutputStraightRGBA(uint32_t pixel, uint8_t clear, uint8_t rgba[4]);
// Bytes a pixel of a bitmap takes: 4, or 1 when it holds alpha only.
constexpr int OutputBytesPerPixel(bool alphaOnly) {
  return alphaOnly ? 1 : 4;
}
// Bytes per row of a bitmap: its pixels, rounded up to a multiple of 16.
int OutputBytesPerRow(int width, bool alphaOnly);
// Pixel size of a dimension in points: truncated, negative gives 0.
int OutputPixels(float points);
