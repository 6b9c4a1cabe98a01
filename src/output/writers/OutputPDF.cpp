#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"
#include "output/writers/OutputVector.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"

#include <cairo-pdf.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void SetInfo(cairo_surface_t* surface, const BarCodeDataRec& rec, int32_t sysVersion,
             const std::string& author) {
  std::string title, subject;
  BarCodeTitleText(title, rec);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, author.c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Veltrix BarCode");
  std::string cut = title;
  TruncCFStrText(cut, 250);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, cut.c_str());
  if (sysVersion <= 100499) return;
  BarCodeSymName(subject, static_cast<int16_t>(rec.symbology));
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_SUBJECT, subject.c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_KEYWORDS, title.c_str());
}

bool Executable(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t from = 0; from <= dirs.size();) {
    size_t colon = dirs.find(':', from);
    if (colon == std::string::npos) colon = dirs.size();
    const std::string candidate = dirs.substr(from, colon - from) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    from = colon + 1;
  }
  return false;
}

// Runs a clipboard tool with the PDF on its standard input. Its own output goes nowhere: xclip
// forks a child that keeps the selection, and that child must not hold our pipes open.
bool PipeTo(const std::vector<std::string>& command, const std::string& bytes) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[0]);
  bool ok = spawned == 0;
  auto previous = std::signal(SIGPIPE, SIG_IGN);
  for (size_t sent = 0; ok && sent < bytes.size();) {
    const ssize_t n = write(pipeFds[1], bytes.data() + sent, bytes.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) sent += static_cast<size_t>(n);
  }
  close(pipeFds[1]);
  std::signal(SIGPIPE, previous);
  int status = 0;
  if (spawned == 0 && waitpid(pid, &status, 0) != pid) ok = false;
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

std::string OutputPDFAuthor() {
  std::string author;
  CFPrefsGetCFStr(kPrefAuthor, author);
  return author;
}

bool OutputRenderVector(const BarCodeDataRec& rec, float width, float height, std::string& out,
                        const OutputVectorSurface& create) {
  BarCodeRect box{0, 0, width, height};
  BarCodeGetSize(rec, box);
  if (!(box.width > 0 && box.height > 0)) return false;
  out.clear();
  cairo_surface_t* surface = create(AppendBytes, &out, box.width, box.height);
  cairo_t* cg = cairo_create(surface);
  cairo_translate(cg, 0, box.height);
  cairo_scale(cg, 1, -1);
  BarCodeDataRec copy = rec;
  copy.epsText = nullptr;
  BarCodeUpdateImage(cg, width, height, &copy);
  cairo_show_page(cg);
  cairo_destroy(cg);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

bool OutputRenderPDF(const BarCodeDataRec& rec, float width, float height, bool info,
                     std::string& out, int32_t sysVersion, const std::string* author) {
  return OutputRenderVector(
      rec, width, height, out, [&](cairo_write_func_t write, void* closure, double w, double h) {
        cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(write, closure, w, h);
        if (info) SetInfo(surface, rec, sysVersion, author ? *author : OutputPDFAuthor());
        return surface;
      });
}

OutputResult OutputFilePDFAuthor(const std::string& path, const BarCodeDataRec& rec, float width,
                                 float height, const std::string& author) {
  if (!OutputDrawable(rec, width, height)) return OutputResult::NotDrawable;
  std::string pdf;
  if (!OutputRenderPDF(rec, width, height, true, pdf, CheckSysVersionExtended(), &author))
    return OutputResult::CannotRender;
  return OutputStoreBytes(path, FourCharCode("PDF "), FourCharCode("prvw"), pdf);
}

OutputResult OutputFilePDF(const std::string& path, const BarCodeDataRec& rec, float width,
                           float height) {
  return OutputFilePDFAuthor(path, rec, width, height, OutputPDFAuthor());
}

OutputResult OutputPasteboardPDF(const BarCodeDataRec& rec, float width, float height) {
  if (!OutputDrawable(rec, width, height)) return OutputResult::NotDrawable;
  std::vector<std::string> command;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x11 = std::getenv("DISPLAY");
  if (wayland && *wayland && Executable("wl-copy"))
    command = {"wl-copy", "--type", "application/pdf"};
  else if (x11 && *x11 && Executable("xclip"))
    command = {"xclip", "-selection", "clipboard", "-t", "application/pdf", "-i"};
  else
    return OutputResult::NoClipboard;
  std::string pdf;
  if (!OutputRenderPDF(rec, width, height, false, pdf, CheckSysVersionExtended()))
    return OutputResult::CannotRender;
  return PipeTo(command, pdf) ? OutputResult::Ok : OutputResult::NoClipboard;
}
