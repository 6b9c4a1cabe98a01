// Helpers of the printing tests: a page read back as pixels, addressed in points from its top-left
// corner, and the texts of a PDF file.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

class PagePixels {
public:
  // A rasterised page (a PNG on white) with `pixelsPerPoint` pixels to the point.
  static PagePixels FromPNG(const std::string& png, double pixelsPerPoint);
  // An image surface the test drew itself, with `pixelsPerPoint` pixels to the point.
  static PagePixels FromSurface(cairo_surface_t* surface, double pixelsPerPoint);

  bool Valid() const { return width_ > 0 && height_ > 0; }
  // The size of the page in points.
  double Width() const { return width_ / scale_; }
  double Height() const { return height_ / scale_; }
  // Whether the pixel under the point (x, y) is dark.
  bool Dark(double x, double y) const { return DarkNear(x, y, 0); }
  // Whether any pixel within `radius` points of (x, y), along either axis, is dark.
  bool DarkNear(double x, double y, double radius) const;
  // The number of dark pixels in the rectangle from (x1, y1) to (x2, y2).
  int Ink(double x1, double y1, double x2, double y2) const;
  // The left and right ends of the ink in the rectangle, in points; false when there is none.
  bool InkSpan(double x1, double y1, double x2, double y2, double& left, double& right) const;

private:
  bool DarkPixel(int x, int y) const;
  int Column(double x) const;
  int Row(double y) const;

  std::vector<unsigned char> grey_;
  int width_ = 0, height_ = 0;
  double scale_ = 1;
};

// The first page of a PDF file as a PNG at `dpi`, the paper's edges at the image's edges; empty on
// failure.
std::string RasterizePdfPage(const std::string& pdf, int dpi);
// The text of a PDF file as pdftotext gives it (UTF-8, lines in reading order); empty on failure.
std::string PdfText(const std::string& pdf);
// The size of a PDF file's first page in points, as pdfinfo prints it ("612 x 792").
std::string PdfPageSize(const std::string& pdf);
// The number of pages of a PDF file, or -1 when it can't be read.
int PdfPageCount(const std::string& pdf);
