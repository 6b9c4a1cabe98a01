#include "output/print/PrintTestSupport.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <regex>

namespace {

constexpr unsigned char kDarkBelow = 160; // grey levels below this count as ink

// pdfinfo's value of one field, or empty.
std::string PdfInfoField(const std::string& pdf, const std::string& field) {
  const RunResult r = RunProgram({"pdfinfo", pdf});
  if (r.status != 0) return {};
  const std::regex line("(^|\n)" + field + ":\\s*([^\n]*)");
  std::smatch match;
  return std::regex_search(r.out, match, line) ? match[2].str() : std::string();
}

} // namespace

PagePixels PagePixels::FromSurface(cairo_surface_t* surface, double pixelsPerPoint) {
  PagePixels page;
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return page;
  cairo_surface_flush(surface);
  page.width_ = cairo_image_surface_get_width(surface);
  page.height_ = cairo_image_surface_get_height(surface);
  page.scale_ = pixelsPerPoint;
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  page.grey_.resize(static_cast<size_t>(page.width_) * page.height_);
  for (int y = 0; y < page.height_; ++y)
    for (int x = 0; x < page.width_; ++x) {
      uint32_t p;
      std::memcpy(&p, data + static_cast<size_t>(y) * stride + 4 * x, 4);
      // The darkest channel: black ink is dark in all three.
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      page.grey_[static_cast<size_t>(y) * page.width_ + x] =
          static_cast<unsigned char>(std::max({r, g, b}));
    }
  return page;
}

PagePixels PagePixels::FromPNG(const std::string& png, double pixelsPerPoint) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  PagePixels page = FromSurface(surface, pixelsPerPoint);
  cairo_surface_destroy(surface);
  return page;
}

int PagePixels::Column(double x) const {
  return static_cast<int>(std::floor(x * scale_));
}

int PagePixels::Row(double y) const {
  return static_cast<int>(std::floor(y * scale_));
}

bool PagePixels::DarkPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return grey_[static_cast<size_t>(y) * width_ + x] < kDarkBelow;
}

bool PagePixels::DarkNear(double x, double y, double radius) const {
  for (int row = Row(y - radius); row <= Row(y + radius); ++row)
    for (int column = Column(x - radius); column <= Column(x + radius); ++column)
      if (DarkPixel(column, row)) return true;
  return false;
}

int PagePixels::Ink(double x1, double y1, double x2, double y2) const {
  int count = 0;
  for (int row = Row(y1); row < Row(y2); ++row)
    for (int column = Column(x1); column < Column(x2); ++column)
      count += DarkPixel(column, row) ? 1 : 0;
  return count;
}

bool PagePixels::InkSpan(double x1, double y1, double x2, double y2, double& left,
                         double& right) const {
  int first = -1, last = -1;
  for (int column = Column(x1); column < Column(x2); ++column)
    for (int row = Row(y1); row < Row(y2); ++row)
      if (DarkPixel(column, row)) {
        if (first < 0) first = column;
        last = column;
        break;
      }
  if (first < 0) return false;
  left = first / scale_;
  right = (last + 1) / scale_;
  return true;
}

std::string RasterizePdfPage(const std::string& pdf, int dpi) {
  const std::string stem = TestTempDir() + "/page";
  const RunResult r = RunProgram({"pdftoppm", "-png", "-singlefile", "-f", "1", "-l", "1", "-r",
                                  std::to_string(dpi), pdf, stem});
  return r.status == 0 ? stem + ".png" : std::string();
}

std::string PdfText(const std::string& pdf) {
  const RunResult r = RunProgram({"pdftotext", "-enc", "UTF-8", pdf, "-"});
  return r.status == 0 ? r.out : std::string();
}

std::string PdfPageSize(const std::string& pdf) {
  const std::string size = PdfInfoField(pdf, "Page size");
  // "612 x 792 pts (letter)": the numbers only.
  const std::regex numbers("^([0-9.]+ x [0-9.]+)");
  std::smatch match;
  return std::regex_search(size, match, numbers) ? match[1].str() : std::string();
}

int PdfPageCount(const std::string& pdf) {
  const std::string pages = PdfInfoField(pdf, "Pages");
  return pages.empty() ? -1 : std::stoi(pages);
}
