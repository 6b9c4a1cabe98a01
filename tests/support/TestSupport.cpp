#include "support/TestSupport.h"

#include "model/BarCodeDataRec.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <cairo.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The folders made by this process, removed when it ends (a forked child leaves them alone).
struct TempDirs {
  pid_t owner = getpid();
  std::vector<std::string> made;
  ~TempDirs() {
    if (getpid() != owner) return;
    std::error_code ignored;
    for (const std::string& dir : made)
      fs::remove_all(dir, ignored);
  }
};

TempDirs& MadeTempDirs() {
  static TempDirs dirs;
  return dirs;
}

} // namespace

std::string TestTempDir() {
  std::string dir = (fs::temp_directory_path() / "vxtest-XXXXXX").string();
  if (!mkdtemp(dir.data())) return "/tmp";
  MadeTempDirs().made.push_back(dir);
  return dir;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

namespace {

std::vector<std::string> Environment(const std::vector<std::string>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    env.emplace_back(*e);
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('=') + 1);
    std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    if (change.size() > name.size()) env.push_back(change);
  }
  return env;
}

// Reads both pipes to their end without letting either fill up.
void Drain(int outFd, int errFd, RunResult& result) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0 && poll(fds, 2, 60000) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, n);
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
}

} // namespace

RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     const std::string& workdir) {
  RunResult result;
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  if (!workdir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings = Environment(env);
  std::vector<char*> envp;
  for (std::string& e : envStrings)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (rc != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    return result;
  }
  Drain(outPipe[0], errPipe[0], result);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
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

std::vector<uint8_t> GreyPixels(const std::string& png, int& w, int& h) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  std::vector<uint8_t> grey;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    w = cairo_image_surface_get_width(surface);
    h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    grey.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t p;
        std::memcpy(&p, data + static_cast<size_t>(y) * stride + 4 * x, 4);
        const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        grey[static_cast<size_t>(y) * w + x] =
            static_cast<uint8_t>((r * 30 + g * 59 + b * 11) / 100);
      }
  }
  cairo_surface_destroy(surface);
  return grey;
}

} // namespace

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

std::vector<std::string> ZXingRead(const std::string& png, const std::string& formats) {
  int w = 0, h = 0;
  std::vector<uint8_t> grey = GreyPixels(png, w, h);
  if (grey.empty()) return {};
  // zxing-cpp 1.4 aborts on an assertion of its own when it merges several results of one linear
  // symbol; asking for one symbol avoids the merge, and the child process keeps any other abort
  // from ending the whole suite.
  const std::string bytes = InChild([&] {
    ZXing::DecodeHints hints;
    hints.setTryHarder(true).setTryRotate(false).setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
    hints.setFormats(ZXing::BarcodeFormatsFromString(formats)).setMaxNumberOfSymbols(1);
    std::string out;
    for (const ZXing::Result& result :
         ZXing::ReadBarcodes(ZXing::ImageView(grey.data(), w, h, ZXing::ImageFormat::Lum), hints))
      if (result.isValid()) out += result.text() + '\0';
    return out;
  });
  std::vector<std::string> texts;
  for (size_t from = 0, end; (end = bytes.find('\0', from)) != std::string::npos; from = end + 1)
    texts.push_back(bytes.substr(from, end - from));
  return texts;
}

std::vector<std::string> ZBarRead(const std::string& png) {
  const RunResult r = RunProgram({"zbarimg", "--quiet", "--raw", "-Sean2.enable", "-Sean5.enable",
                                  "-Sisbn10.disable", "-Sisbn13.disable", png},
                                 {"DBUS_SESSION_BUS_ADDRESS=disabled:"});
  std::vector<std::string> texts;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) texts.push_back(line);
  return texts;
}

// ---- Linear symbols: every symbol's text with its symbology identifier, and decoder options ----

namespace {

// Each field goes through the pipe as its length, a colon and its bytes, so that texts may hold
// any byte.
void AppendField(std::string& out, const std::string& field) {
  out += std::to_string(field.size()) + ':' + field;
}

bool TakeField(const std::string& in, size_t& at, std::string& field) {
  const size_t colon = in.find(':', at);
  if (colon == std::string::npos) return false;
  const size_t length = std::stoul(in.substr(at, colon - at));
  if (colon + 1 + length > in.size()) return false;
  field = in.substr(colon + 1, length);
  at = colon + 1 + length;
  return true;
}

// Runs `work` in a child process (zxing-cpp 1.4 may abort on its own assertions) and returns the
// bytes it produced.

} // namespace

std::vector<ZXingSymbol> ZXingReadSymbols(const std::string& png, const std::string& formats,
                                          const ZXingOptions& options) {
  int w = 0, h = 0;
  std::vector<uint8_t> grey = GreyPixels(png, w, h);
  if (grey.empty()) return {};
  const std::string bytes = InChild([&] {
    ZXing::DecodeHints hints;
    hints.setTryHarder(true).setTryRotate(false).setMaxNumberOfSymbols(1);
    hints.setFormats(ZXing::BarcodeFormatsFromString(formats));
    hints.setTryCode39ExtendedMode(options.code39Extended);
    hints.setReturnCodabarStartEnd(options.codabarStartStop);
    std::string out;
    for (const ZXing::Result& result :
         ZXing::ReadBarcodes(ZXing::ImageView(grey.data(), w, h, ZXing::ImageFormat::Lum), hints))
      if (result.isValid()) {
        AppendField(out, result.text());
        AppendField(out, result.symbologyIdentifier());
      }
    return out;
  });
  std::vector<ZXingSymbol> symbols;
  ZXingSymbol symbol;
  for (size_t at = 0; TakeField(bytes, at, symbol.text) && TakeField(bytes, at, symbol.identifier);)
    symbols.push_back(symbol);
  return symbols;
}

std::string ZBarReadRaw(const std::string& png, const std::vector<std::string>& settings) {
  std::vector<std::string> argv{"zbarimg", "--quiet", "--raw"};
  for (const std::string& setting : settings)
    argv.push_back("-S" + setting);
  argv.push_back(png);
  return RunProgram(argv, {"DBUS_SESSION_BUS_ADDRESS=disabled:"}).out;
}
