#include "support/TestSupport.h"

#include "model/BarCodeDataRec.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

std::string TestTempDir() {
  // One folder for the process, removed when the process that made it ends (not a forked child).
  static const struct Root {
    pid_t owner = getpid();
    std::string path = (std::filesystem::temp_directory_path() / "vxtest-XXXXXX").string();
    Root() { mkdtemp(path.data()); }
    ~Root() {
      std::error_code ignored;
      if (getpid() == owner) std::filesystem::remove_all(path, ignored);
    }
  } root;
  static int made = 0;
  const std::string dir = root.path + "/" + std::to_string(++made);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Through the shell and env, the program's output going to files rather than pipes, so that
// nothing it leaves running can hold the test up.
RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     const std::string& workdir, const std::string& input) {
  const std::string dir = TestTempDir();
  std::string unset, set; // "NAME=" removes a variable
  for (const std::string& change : env)
    if (change.find('=') + 1 == change.size())
      unset += " -u " + ShellQuoted(change.substr(0, change.size() - 1));
    else
      set += " " + ShellQuoted(change);
  std::string command =
      "cd " + ShellQuoted(workdir.empty() ? "." : workdir) + " && exec env" + unset + set;
  for (const std::string& arg : argv) // /proc/self/exe: this program, not the shell starting one
    command +=
        " " +
        ShellQuoted(arg == "/proc/self/exe" ? std::filesystem::read_symlink(arg).string() : arg);
  const int status = std::system(
      (command + " <" + ShellQuoted(input) + " >" + dir + "/out 2>" + dir + "/err").c_str());
  return {WIFEXITED(status) && WEXITSTATUS(status) != 127 ? WEXITSTATUS(status) : -1,
          ReadFileBytes(dir + "/out"), ReadFileBytes(dir + "/err")};
}

std::string CliPath() {
  return VX_CLI_PATH;
}

RunResult RunCli(const std::vector<std::string>& args, const std::string& workdir) {
  std::vector<std::string> argv{CliPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv, {}, workdir);
}

BarCodeDataRec MakeRecord(int symbology, const std::string& data, const std::string& addon) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = symbology;
  *rec.data = data;
  *rec.addon = addon;
  rec.position = 3;
  return rec;
}

namespace {

std::string Generated(const std::string& run) {
  const size_t space = run.rfind(' ');
  const long last = run.empty() ? 0 : std::stol(run.substr(space + 1));
  std::string out;
  for (long n = 0; run.starts_with("repeat ") && n < last; ++n)
    out += Unescape(run.substr(7, space - 7));
  for (long c = run.starts_with("range ") ? std::stol(run.substr(6)) : last + 1; c <= last; ++c)
    out += static_cast<char>(c);
  return out;
}

// The parts of a text between separators, an escaped separator (or any escape) left whole.
std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  for (size_t k = 0, start = 0; !text.empty() && k <= text.size(); ++k) {
    if (k < text.size() && text[k] == '\\') {
      k = text[k + 1] == '{' ? text.find('}', k) : k + 1 + 2 * (text[k + 1] == 'x');
    } else if (k == text.size() || text[k] == separator) {
      parts.emplace_back(text.substr(start, k - start));
      start = k + 1;
    }
  }
  return parts;
}

} // namespace

std::string Unescape(std::string_view cell) {
  static constexpr std::string_view kFrom = "tnrfvs", kTo = "\t\n\r\f\v ";
  std::string out;
  for (size_t k = 0; k < cell.size(); ++k) {
    if (cell[k] != '\\' || k + 1 == cell.size()) {
      out += cell[k];
    } else if (cell[++k] == 'x') {
      out += static_cast<char>(std::stoi(std::string(cell.substr(k + 1, 2)), nullptr, 16));
      k += 2;
    } else if (cell[k] == '{') {
      const size_t end = cell.find('}', k);
      out += Generated(std::string(cell.substr(k + 1, end - k - 1)));
      k = end;
    } else {
      out += kFrom.find(cell[k]) == kFrom.npos ? cell[k] : kTo[kFrom.find(cell[k])];
    }
  }
  return out;
}

std::string TableRow::Raw(const std::string& column) const {
  const auto cell = cells.find(column);
  return cell == cells.end() ? std::string() : cell->second;
}

std::vector<std::string> TableRow::List(const std::string& column, char separator) const {
  std::vector<std::string> parts = Split(Raw(column), separator);
  for (std::string& part : parts)
    part = Unescape(part);
  return parts;
}

std::vector<TableLine> ReadTableLines(const std::string& name) {
  std::istringstream in(ReadFileBytes(std::string(VX_TEST_DATA_DIR) + "/" + name));
  std::vector<TableLine> lines;
  int number = 0;
  for (std::string text; std::getline(in, text);) {
    if (++number, text.empty() || text[0] == '#') continue;
    lines.push_back({number, {}});
    for (size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
      tab = text.find('\t', start);
      lines.back().cells.push_back(text.substr(start, tab - start));
    }
  }
  EXPECT_FALSE(lines.empty()) << "no table " << name;
  return lines;
}

std::vector<TableRow> ReadTable(const std::string& name) {
  std::vector<TableRow> rows;
  std::vector<std::string> header;
  for (const TableLine& line : ReadTableLines(name)) {
    if (header.empty()) {
      header = line.cells;
      continue;
    }
    rows.push_back({name, line.number, {}});
    for (size_t i = 0; i < line.cells.size() && i < header.size(); ++i)
      rows.back().cells[header[i]] = line.cells[i];
  }
  return rows;
}

std::string RasterizeOnWhite(const std::string& path, int factor, int dpi) {
  const std::string dir = TestTempDir();
  std::string ext = path.substr(path.rfind('.') + 1); // any case; .pdff and .epsf too
  for (char& c : ext)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ext = ext == "pdff" || ext == "epsf" ? ext.substr(0, 3) : ext;
  std::string png = dir + "/page.png";
  RunResult r{0, {}, {}};
  if (ext == "pdf") {
    r = RunProgram({"pdftoppm", "-png", "-singlefile", "-r", std::to_string(dpi), path,
                    png.substr(0, png.size() - 4)});
  } else if (ext == "eps") {
    r = RunProgram({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=png16m",
                    "-r" + std::to_string(dpi), "-sOutputFile=" + png, path});
  } else if (ext == "svg") {
    r = RunProgram({"rsvg-convert", "-b", "white", "-d", std::to_string(dpi), "-p",
                    std::to_string(dpi), "-o", png, path});
  } else if (ext == "png") {
    png = path;
  } else { // TIFF and PICT through ImageMagick, which reads both, to a PNG that keeps the alpha
    r = RunProgram({"convert", path, "PNG32:" + png});
  }
  // On white, a bitmap's pixels square blocks, in a white margin: as a scanner sees a print.
  factor = ext == "pdf" || ext == "eps" || ext == "svg" ? 1 : factor;
  cairo_surface_t* source = cairo_image_surface_create_from_png(png.c_str());
  const int margin = 40, w = cairo_image_surface_get_width(source) * factor + 2 * margin,
            h = cairo_image_surface_get_height(source) * factor + 2 * margin;
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
  const bool ok =
      r.status == 0 && cairo_surface_status(source) == CAIRO_STATUS_SUCCESS &&
      cairo_surface_write_to_png(target, (dir + "/flat.png").c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(target);
  cairo_surface_destroy(source);
  return ok ? dir + "/flat.png" : std::string();
}

namespace {

// What zxing-cpp reads in a PNG: the symbology identifier, a line feed and the text (any bytes),
// or nothing. zxing-cpp 1.4 aborts on an assertion of its own when it merges several results of
// one linear symbol: asking for one symbol avoids the merge, and a child process keeps any other
// abort from ending the whole suite.
std::string ZXingReadOne(const std::string& png, const std::string& formats, bool extended) {
  const std::string read = TestTempDir() + "/zxing";
  if (const pid_t pid = fork(); pid != 0) {
    waitpid(pid, nullptr, 0);
    return ReadFileBytes(read);
  }
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  cairo_surface_flush(surface);
  // cairo keeps a pixel as one native 32-bit word: B, G, R, X bytes on a little-endian machine.
  const ZXing::ImageView image(cairo_image_surface_get_data(surface),
                               cairo_image_surface_get_width(surface),
                               cairo_image_surface_get_height(surface), ZXing::ImageFormat::BGRX,
                               cairo_image_surface_get_stride(surface));
  ZXing::DecodeHints hints;
  hints.setTryHarder(true).setTryRotate(false).setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
  hints.setFormats(ZXing::BarcodeFormatsFromString(formats)).setMaxNumberOfSymbols(1);
  hints.setTryCode39ExtendedMode(extended).setReturnCodabarStartEnd(true);
  std::ofstream out(read, std::ios::binary);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
    for (const ZXing::Result& result : ZXing::ReadBarcodes(image, hints))
      if (result.isValid()) out << result.symbologyIdentifier() << '\n' << result.text();
  out.close();
  _exit(0);
}

} // namespace

std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats) {
  const std::string read = ZXingReadOne(png, formats, false);
  return read.empty() ? std::vector<std::string>() : std::vector{read.substr(read.find('\n') + 1)};
}

std::pair<double, double> BitmapWidthAndResolution(const std::string& path) {
  std::istringstream info(
      RunProgram({"identify", "-units", "PixelsPerInch", "-format", "%w %x", path}).out);
  double width = 0, dpi = 0;
  info >> width >> dpi;
  // The hRes of the version 2 picture header, 16.16 fixed point (Inside Macintosh: Imaging With
  // QuickDraw, A-22): after the 512-byte block, size, frame and the version and header opcodes.
  const std::string bytes = ReadFileBytes(path);
  const auto word = [&](size_t at) { return uint8_t(bytes[at]) << 8 | uint8_t(bytes[at + 1]); };
  if (path.ends_with(".pict") && bytes.size() > 536) dpi = word(532) + word(534) / 65536.0;
  return {width, dpi};
}

std::vector<std::string> ZintRows(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"zint", "--dump", "-b"}, rows;
  argv.insert(argv.end(), args.begin(), args.end());
  std::istringstream lines(RunProgram(argv).out);
  for (std::string line; std::getline(lines, line);) {
    std::string bits;
    for (char digit : line)
      if (std::isxdigit(static_cast<unsigned char>(digit)))
        for (int value = std::stoi(std::string(1, digit), nullptr, 16), bit = 3; bit >= 0; --bit)
          bits += ((value >> bit) & 1) ? '1' : '0';
    bits.erase(bits.find_last_of('1') + 1); // every row ends with a bar: the rest is padding
    if (!bits.empty()) rows.push_back(bits);
  }
  return rows;
}

void ExpectFileReadsAs(const std::string& file, const TableRow& expected) {
  ASSERT_FALSE(ReadFileBytes(file).empty()) << "no file " << file;
  bool extended = false;
  std::string identifier;
  std::vector<std::string> zbar{"zbarimg", "--quiet", "--raw"};
  for (const std::string& setting : expected.List("settings", ' ')) {
    if (setting.starts_with("id=")) identifier = setting.substr(3);
    extended = extended || setting == "code39ext";
    if (setting.find('.') != std::string::npos) zbar.push_back("-S" + setting);
  }
  // zbar ends each text it reads with a line feed, and a text may hold line feeds itself.
  const auto sortedLines = [](const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  const bool eps = file.ends_with(".eps");
  if ((eps || file.ends_with(".pdf")) && !expected.Raw("pdftext").empty()) {
    const std::vector<std::string> pdf{"pdftotext", file, "-"},
        gs{"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-sOutputFile=-",
           file};
    std::string shown = RunProgram(eps ? gs : pdf).out;
    std::erase_if(shown, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
    EXPECT_NE(shown.find(expected.Text("pdftext")), std::string::npos) << shown;
  }
  if (expected.Raw("zxing").empty() && expected.Raw("zbar").empty()) return;
  const std::string png = RasterizeOnWhite(file);
  ASSERT_FALSE(png.empty()) << "no picture of the file";
  std::vector<std::string> read, wanted;
  for (const std::string& item : expected.List("zxing")) {
    wanted.push_back(item.substr(item.find(':') + 1));
    const std::string symbol = ZXingReadOne(png, item.substr(0, item.find(':')), extended);
    if (symbol.empty()) continue;
    read.push_back(symbol.substr(symbol.find('\n') + 1));
    EXPECT_TRUE(identifier.empty() || symbol.starts_with(identifier + '\n')) << symbol;
  }
  EXPECT_EQ(read, wanted) << "zxing-cpp";
  if (expected.Raw("zbar").empty()) return;
  std::string texts;
  for (const std::string& text : expected.List("zbar"))
    texts += text + '\n';
  zbar.push_back(png);
  EXPECT_EQ(sortedLines(RunProgram(zbar, {"DBUS_SESSION_BUS_ADDRESS=disabled:"}).out),
            sortedLines(texts))
      << "zbar";
}

void ExpectReadBack(const std::vector<std::string>& args, const TableRow& expected) {
  const std::string dir = TestTempDir();
  ASSERT_FALSE(expected.Raw("files").empty()) << "a row names the files to make";
  for (std::string format : expected.List("files", ' ')) {
    SCOPED_TRACE(format);
    const bool unread = format.ends_with('-'); // made, and no reader asked
    format.erase(format.size() - unread);
    const std::string file = dir + "/symbol." + (format == "clip" ? "pdf" : format);
    // xclip keeps the selection in a child it forks, which may own it a moment after it returns.
    const std::string clip = "\"$0\" \"$@\" && for t in 1 2 3 4 5; do xclip -selection clipboard -o"
                             " -t application/pdf >'" +
                             file + "' && exit; sleep 0.2; done; exit 1";
    std::vector<std::string> cli{"xvfb-run", "-a", "sh", "-c", clip, CliPath()};
    cli.erase(cli.begin(), cli.begin() + (format == "clip" ? 0 : 5)); // a display of its own
    cli.insert(cli.end(), args.begin(), args.end());
    const bool named = format == "tiff" || format == "pict" || format == "clip"; // else pngf ...
    cli.insert(cli.end(), {"-action", format + (named ? "" : "f"), "-output", file});
    const RunResult made = RunProgram(cli, {"WAYLAND_DISPLAY="});
    EXPECT_EQ(made.status, 0) << made.err;
    ASSERT_FALSE(ReadFileBytes(file).empty()) << "no file";
    if (!unread) ExpectFileReadsAs(file, expected);
  }
}
