#include "output/save/FileSave.h"

#include "app/DocFile.h"
#include "app/NotifyAlert.h"
#include "app/Prefs.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinDocument.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"

#include <gtkmm/window.h>

#include <algorithm>

namespace {

using FormatWriter = OutputResult (*)(const std::string&, const BarCodeDataRec&, float, float);

struct SaveFormat {
  const char* extension;
  const char* message; // the dialog's title, followed by an ellipsis
  uint32_t folderTag, nameTag;
  FormatWriter writer;
  bool document = false;
};

constexpr SaveFormat kPICT{".pct", "Save PICT File as", FourCharCode("PCTR"), FourCharCode("PCTN"),
                           OutputFilePICT};
constexpr SaveFormat kPNG{".png", "Save PNG File as", FourCharCode("PNGR"), FourCharCode("PNGN"),
                          OutputFilePNG};
constexpr SaveFormat kTIFF{".tif", "Save TIFF File as", FourCharCode("TIFR"), FourCharCode("TIFN"),
                           OutputFileTIFF};
constexpr SaveFormat kPDF{".pdf", "Save PDF File as", FourCharCode("PDFR"), FourCharCode("PDFN"),
                          OutputFilePDF};
constexpr SaveFormat kEPSF{".eps", "Save EPS File as", FourCharCode("EPFR"), FourCharCode("EPFN"),
                           OutputFileEPSF};
constexpr SaveFormat kSVG{".svg", "Save SVG File as", FourCharCode("SVGR"), FourCharCode("SVGN"),
                          OutputFileSVG};

// Documents keep their names as typed, but for "/", which no file name here can hold.
constexpr SaveFormat kSave{.extension = kDocFileExtension,
                           .message = "Save File",
                           .folderTag = FourCharCode("SVFR"),
                           .nameTag = FourCharCode("SVFN"),
                           .writer = OutputFileSave,
                           .document = true};
constexpr SaveFormat kSaveAs{.extension = kDocFileExtension,
                             .message = "Save File As",
                             .folderTag = FourCharCode("SAFR"),
                             .nameTag = FourCharCode("SAFN"),
                             .writer = OutputFileSaveAs,
                             .document = true};

constexpr const char* kEllipsis = "\u2026";
// A file name is at most 255 bytes here, as a Pascal string was on the original platform.
constexpr size_t kMaxNameBytes = 255;
constexpr int32_t kMaxTitleCharacters = 250;

// A fresh record read from the window; the caller releases it.
BarCodeDataRec ReadWindow(Gtk::Window& window, float* width, float* height) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.position = kPositionFile;
  GetWindowData(window, &rec, width, height);
  rec.dpi = WinPrefsBitmapDPI();
  return rec;
}

void AlertEmptyData(Gtk::Window& window) {
  NotifyAlert(kAlertStop, kEmptyDataHeader, kEmptyDataMessage, 1, &window);
}

// A write that fails is told to the user rather than lost without a word.
void AlertFailure(Gtk::Window& window, OutputResult result) {
  if (result == OutputResult::Ok) return;
  NotifyAlert(kAlertCaution, "Sorry, the barcode could not be saved.",
              std::string(OutputResultText(result)), 1, &window);
}

// Asks where to save (or, for a document saved in place, takes `path`), then writes; `saved` runs
// once a document is written.
int FileSaveFormat(Gtk::Window& window, const SaveFormat& format,
                   int (*handler)(Gtk::Window&, const std::string&), const std::string& path = {},
                   std::function<void()> saved = {}) {
  BarCodeDataRec rec = ReadWindow(window, nullptr, nullptr);
  auto write = [&window, handler, saved](const std::string& chosen) {
    handler(window, chosen);
    if (saved && !WinDocumentModified(window)) saved();
  };
  if (rec.data->empty())
    AlertEmptyData(window);
  else if (!path.empty())
    write(path);
  else
    NavDialog(&window, kNavPutFile | kNavSheet, std::string(format.message) + kEllipsis,
              FileSaveProposedName(rec, format.extension, format.document), write);
  BarCodeDataRecRelease(&rec);
  return 0;
}

int WinDoFile(Gtk::Window& window, const SaveFormat& format) {
  std::optional<std::string> name = GetWindowProperty(window, format.nameTag);
  if (!name) return 0;
  if (std::optional<std::string> folder = GetWindowProperty(window, format.folderTag)) {
    float width = 0, height = 0;
    BarCodeDataRec rec = ReadWindow(window, &width, &height);
    const std::string path = CreateURLFromParentFSRefFileName(*folder, *name);
    const OutputResult result = format.writer(path, rec, width, height);
    AlertFailure(window, result);
    if (format.document && result == OutputResult::Ok) WinDocumentSet(window, path);
    BarCodeDataRecRelease(&rec);
    RemoveWindowProperty(window, format.folderTag);
  }
  RemoveWindowProperty(window, format.nameTag);
  return 0;
}

int FileHandler(Gtk::Window& window, const SaveFormat& format, const std::string& path,
                int (*writer)(Gtk::Window&)) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return 0;
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  const std::string name = path.substr(slash + 1);
  if (name.empty() || name.size() > kMaxNameBytes || !Utf8Valid(name)) return 0;
  SetWindowProperty(window, format.folderTag, folder);
  SetWindowProperty(window, format.nameTag, name);
  writer(window);
  return 0;
}

} // namespace

std::string FileSaveProposedName(const BarCodeDataRec& rec, std::string_view extension,
                                 bool document) {
  std::string name;
  BarCodeTitleText(name, rec);
  TruncCFStrText(name, kMaxTitleCharacters);
  if (document)
    std::replace(name.begin(), name.end(), '/', '-');
  else
    DataFileCleanName(name);
  // Characters beyond ASCII take several bytes: cut whole characters until the name with its
  // extension fits a file name.
  while (!name.empty() && name.size() + extension.size() > kMaxNameBytes)
    TruncCFStrText(name, static_cast<int32_t>(Utf8Length(name)) - 1);
  return name + std::string(extension);
}

int FileSavePICT(Gtk::Window& window) {
  return FileSaveFormat(window, kPICT, FileHandlerPICT);
}
int FileSavePNG(Gtk::Window& window) {
  return FileSaveFormat(window, kPNG, FileHandlerPNG);
}
int FileSaveTIFF(Gtk::Window& window) {
  return FileSaveFormat(window, kTIFF, FileHandlerTIFF);
}
int FileSavePDF(Gtk::Window& window) {
  return FileSaveFormat(window, kPDF, FileHandlerPDF);
}
int FileSaveEPSF(Gtk::Window& window) {
  return FileSaveFormat(window, kEPSF, FileHandlerEPSF);
}
int FileSaveSVG(Gtk::Window& window) {
  return FileSaveFormat(window, kSVG, FileHandlerSVG);
}

int FileHandlerPICT(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kPICT, path, WinDoFilePICT);
}
int FileHandlerPNG(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kPNG, path, WinDoFilePNG);
}
int FileHandlerTIFF(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kTIFF, path, WinDoFileTIFF);
}
int FileHandlerPDF(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kPDF, path, WinDoFilePDF);
}
int FileHandlerEPSF(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kEPSF, path, WinDoFileEPSF);
}
int FileHandlerSVG(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kSVG, path, WinDoFileSVG);
}

int WinDoFilePICT(Gtk::Window& window) {
  return WinDoFile(window, kPICT);
}
int WinDoFilePNG(Gtk::Window& window) {
  return WinDoFile(window, kPNG);
}
int WinDoFileTIFF(Gtk::Window& window) {
  return WinDoFile(window, kTIFF);
}
int WinDoFilePDF(Gtk::Window& window) {
  return WinDoFile(window, kPDF);
}
int WinDoFileEPSF(Gtk::Window& window) {
  return WinDoFile(window, kEPSF);
}
int WinDoFileSVG(Gtk::Window& window) {
  return WinDoFile(window, kSVG);
}

int FileSave(Gtk::Window& window) {
  return FileSaveThen(window, {});
}
int FileSaveThen(Gtk::Window& window, std::function<void()> saved) {
  return FileSaveFormat(window, kSave, FileHandlerSave, WinDocumentPath(window), std::move(saved));
}
int FileSaveAs(Gtk::Window& window) {
  return FileSaveFormat(window, kSaveAs, FileHandlerSaveAs);
}
int FileHandlerSave(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kSave, path, WinDoFileSave);
}
int FileHandlerSaveAs(Gtk::Window& window, const std::string& path) {
  return FileHandler(window, kSaveAs, path, WinDoFileSaveAs);
}
int WinDoFileSave(Gtk::Window& window) {
  return WinDoFile(window, kSave);
}
int WinDoFileSaveAs(Gtk::Window& window) {
  return WinDoFile(window, kSaveAs);
}
