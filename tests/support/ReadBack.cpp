// The independent readers of the test suite, and symbols made by the command-line tool and read
// back by them.
#include "support/TestSupport.h"

#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Extension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Flattens a PNG on white, enlarges it `factor` times with square pixels and adds a white margin,
// as a scanner would see a print of it.
std::string FlattenPNG(const std::string& png, int factor, const std::string& out) {
  cairo_surface_t* source = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(source) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(source);
    return {};
  }
  const int margin = 40;
  const int w = cairo_image_surface_get_width(source) * factor + 2 * margin;
  const int h = cairo_image_surface_get_height(source) * factor + 2 * margin;
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cg = cairo_create(target);
  cairo_set_source_rgb(cg, 1, 1, 1);
  cairo_paint(cg);
  cairo_translate(cg, margin, margin);
  cairo_scale(cg, factor, factor);
  cairo_set_source_surface(cg, source, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cg), CAIRO_FILTER_NEAREST);
  cairo_paint(cg);
  cairo_destroy(cg);
  const bool ok = cairo_surface_write_to_png(target, out.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(target);
  cairo_surface_destroy(source);
  return ok ? out : std::string();
}

} // namespace

std::string RasterizeOnWhite(const std::string& path, int factor, int dpi) {
  const std::string dir = TestTempDir();
  const std::string ext = Extension(path);
  std::string png = dir + "/page.png";
  RunResult r;
  if (ext == ".pdf" || ext == ".pdff") {
    r = RunProgram(
        {"pdftoppm", "-png", "-singlefile", "-r", std::to_string(dpi), path, dir + "/page"});
    factor = 1;
  } else if (ext == ".eps" || ext == ".epsf") {
    r = RunProgram({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=png16m",
                    "-r" + std::to_string(dpi), "-sOutputFile=" + png, path});
    factor = 1;
  } else if (ext == ".png") {
    png = path;
    r.status = 0;
  } else {
    // TIFF and PICT go through ImageMagick, which reads both, to a PNG that keeps the alpha.
    r = RunProgram({"convert", path, "PNG32:" + png});
  }
  if (r.status != 0) return {};
  return FlattenPNG(png, factor, dir + "/flat.png");
}

namespace {

// Runs work in a child process and returns what it produced; an abort in the child loses only
// that result.
template <typename Work> std::string InChild(Work work) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string out = work();
    for (size_t sent = 0; sent < out.size();) {
      const ssize_t n = write(fds[1], out.data() + sent, out.size() - sent);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return bytes;
}

} // namespace

std::vector<ZXingSymbol> ZXingReadSymbols(const std::string& png, const std::string& formats,
                                          const ZXingOptions& options) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  cairo_surface_flush(surface);
  // cairo keeps a pixel as one native 32-bit word: B, G, R and X bytes on this little-endian
  // machine. zxing-cpp 1.4 aborts on an assertion of its own when it merges several results of
  // one linear symbol; asking for one symbol avoids the merge, and the child process keeps any
  // other abort from ending the whole suite.
  const std::string bytes = InChild([&] {
    std::string out;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return out;
    const ZXing::ImageView image(cairo_image_surface_get_data(surface),
                                 cairo_image_surface_get_width(surface),
                                 cairo_image_surface_get_height(surface), ZXing::ImageFormat::BGRX,
                                 cairo_image_surface_get_stride(surface));
    ZXing::DecodeHints hints;
    hints.setTryHarder(true).setTryRotate(false).setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
    hints.setFormats(ZXing::BarcodeFormatsFromString(formats)).setMaxNumberOfSymbols(1);
    hints.setTryCode39ExtendedMode(options.code39Extended);
    hints.setReturnCodabarStartEnd(options.codabarStartStop);
    // The identifier on a line of its own, then the text, which may hold any byte.
    for (const ZXing::Result& result : ZXing::ReadBarcodes(image, hints))
      if (result.isValid()) out = result.symbologyIdentifier() + '\n' + result.text();
    return out;
  });
  cairo_surface_destroy(surface);
  const size_t end = bytes.find('\n');
  if (end == std::string::npos) return {};
  return {{bytes.substr(end + 1), bytes.substr(0, end)}};
}

std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats) {
  std::vector<std::string> texts;
  for (const ZXingSymbol& symbol : ZXingReadSymbols(png, formats))
    texts.push_back(symbol.text);
  return texts;
}

std::string ZBarReadRaw(const std::string& png, const std::vector<std::string>& settings) {
  std::vector<std::string> argv{"zbarimg", "--quiet", "--raw"};
  for (const std::string& setting : settings)
    argv.push_back("-S" + setting);
  argv.push_back(png);
  return RunProgram(argv, {"DBUS_SESSION_BUS_ADDRESS=disabled:"}).out;
}

std::vector<std::string> ZBarRead(const std::string& png) {
  std::vector<std::string> texts;
  std::istringstream lines(ZBarReadRaw(png, kZBarEAN));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) texts.push_back(line);
  return texts;
}

std::vector<std::string> ZintRows(int zintType, const std::string& data,
                                  const std::vector<std::string>& options) {
  std::vector<std::string> argv{"zint", "-b", std::to_string(zintType), "-d", data, "--dump"};
  argv.insert(argv.end(), options.begin(), options.end());
  std::vector<std::string> rows;
  std::istringstream lines(RunProgram(argv).out);
  for (std::string line; std::getline(lines, line);) {
    std::string bits;
    for (char digit : line) {
      if (!std::isxdigit(static_cast<unsigned char>(digit))) continue;
      const int value = std::stoi(std::string(1, digit), nullptr, 16);
      for (int bit = 3; bit >= 0; --bit)
        bits += ((value >> bit) & 1) ? '1' : '0';
    }
    // Every row ends with a bar: what follows the last "1" is the padding of the last digit.
    bits.erase(bits.find_last_of('1') + 1);
    if (!bits.empty()) rows.push_back(bits);
  }
  return rows;
}

namespace {

using Writer = OutputResult (*)(const std::string&, const BarCodeDataRec&, float, float);

// What the command line does for one file; done in process when the data holds NUL.
void WriteSymbol(const std::vector<std::string>& args, const FileFormat& format,
                 const std::string& file) {
  const auto data = std::find(args.begin(), args.end(), "-data");
  if (data == args.end() || data + 1 == args.end() || data[1].find('\0') == std::string::npos) {
    std::vector<std::string> cli = args;
    cli.insert(cli.end(), {"-action", format.action, "-output", file});
    const RunResult run = RunCli(cli);
    EXPECT_EQ(run.status, 0) << format.action << ": " << run.err;
    return;
  }
  const auto type = std::find(args.begin(), args.end(), "-type");
  ASSERT_TRUE(type != args.end() && args.size() == 4) << "only -type and -data go in process";
  const std::string action = format.action;
  const Writer writer = action == "pngf"   ? OutputFilePNG
                        : action == "pdff" ? OutputFilePDF
                        : action == "epsf" ? OutputFileEPSF
                        : action == "tiff" ? OutputFileTIFF
                                           : OutputFilePICT;
  BarCodeDataRec rec = MakeRecord(BarCodeSymType(type[1]), data[1]);
  EXPECT_EQ(writer(file, rec, 0, 0), OutputResult::Ok) << format.action;
  BarCodeDataRecRelease(&rec);
}

std::string Listed(const std::vector<std::string>& texts) {
  std::string listed;
  for (const std::string& text : texts)
    listed += "[" + Printable(text) + "]";
  return listed;
}

// Whether zbar's raw output is the texts, each ended by a line feed, in some order.
bool InSomeOrder(const std::string& raw, std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  do {
    std::string joined;
    for (const std::string& text : texts)
      joined += text + '\n';
    if (joined == raw) return true;
  } while (std::next_permutation(texts.begin(), texts.end()));
  return false;
}

} // namespace

std::string EANAddonDrawn(const std::string& addon) {
  if (addon.empty() || addon.size() > 5) return {};
  return Fitted(addon, addon.size() <= 2 ? 2 : 5);
}

ReadBack EANReadBack(const char* zxingFormat, const std::string& main, const std::string& addon) {
  const std::string drawn = EANAddonDrawn(addon);
  ReadBack expected{{{zxingFormat, drawn.empty() ? main : main + " " + drawn}}, {main}, kZBarEAN};
  if (!drawn.empty()) expected.zbar.push_back(drawn);
  return expected;
}

void ExpectReadBack(const std::vector<std::string>& args, const ReadBack& expected) {
  const std::string dir = TestTempDir();
  for (const FileFormat& format : expected.files) {
    SCOPED_TRACE(format.action);
    const std::string file = dir + "/symbol" + format.extension;
    WriteSymbol(args, format, file);
    const std::string png = RasterizeOnWhite(file);
    ASSERT_FALSE(png.empty()) << "no file to read";
    std::vector<std::string> texts, wanted;
    for (const auto& [zxingFormat, text] : expected.zxing) {
      wanted.push_back(text);
      for (const ZXingSymbol& symbol : ZXingReadSymbols(png, zxingFormat, expected.options)) {
        texts.push_back(symbol.text);
        if (!expected.identifier.empty()) {
          EXPECT_EQ(symbol.identifier, expected.identifier);
        }
      }
    }
    EXPECT_EQ(Listed(texts), Listed(wanted)) << "zxing-cpp";
    if (expected.zbar.empty()) continue;
    const std::string raw = ZBarReadRaw(png, expected.zbarSettings);
    EXPECT_TRUE(InSomeOrder(raw, expected.zbar))
        << "zbar read " << Printable(raw) << ", not " << Listed(expected.zbar);
  }
}
