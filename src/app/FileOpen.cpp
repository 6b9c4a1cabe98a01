#include "app/FileOpen.h"

#include "app/DocFile.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "model/BarCodeDataRec.h"
#include "output/print/Print.h"
#include "output/save/FileSave.h"
#include "services/MacRoman.h"
#include "services/Services.h"

#include "app/NotifyAlert.h"
#include "app/WinData.h"
#include "app/WinDocument.h"

#include <gtkmm.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotADocument =
    "It is not a Veltrix BarCode document, an EPS file written by Veltrix BarCode, or text as a "
    "barcode scanner types it.";
constexpr const char* kNoRequest =
    "It names no symbology that Veltrix BarCode makes, or holds no data after the name.";

} // namespace

int FileOpen() {
  NavDialog(nullptr, kNavGetFile, kOpenDialogMessage, kOpenDialogTypes,
            [](const std::string& path) { FileHandlerOpen(path); });
  return 0;
}

int FileHandlerOpen(const std::string& path) {
  std::string why;
  if (!ProcessFileOpen(path, false, &why))
    NotifyAlert(kAlertCaution,
                "\u201C" + std::string(Glib::filename_display_basename(path)) +
                    "\u201D cannot be opened.",
                why, 1, WindowFindByID(0));
  return 0;
}

Gtk::Window* ProcessFileOpen(const std::string& path, bool print, std::string* why) {
  std::string reason;
  Gtk::Window* window = nullptr;
  const std::string name = GetNameAsPascalStringFromFSRef(path);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  std::optional<std::string> bytes;
  uint32_t type = 0, creator = 0;
  if (name.empty() || !fs::exists(status))
    reason = "The file does not exist.";
  else if (fs::is_directory(status))
    reason = "It is a folder.";
  else if (!fs::is_regular_file(status))
    reason = "It is not a file that can be read.";
  else if (DataFileLength(path) == 0)
    reason = "The file is empty.";
  else if (!(bytes = DataFileReadBytes(path)))
    reason = "The file cannot be read.";
  if (bytes && FSRefGetTypeAndCreator(path, type, creator) != 0)
    DocFileGuessTypeAndCreator(name, *bytes, type, creator);
  if (bytes && DocFileReaderFor(type, creator) == DocReader::None)
    reason = kNotADocument;
  else if (bytes && !(window = WinDoFileOpen(MacRomanToUtf8(*bytes), type, creator, false)))
    reason = kNoRequest;
  if (window) {
    // Only a document is written again by Save: an EPS file or a scanner's text stays as it is.
    const bool document =
        DocFileReaderFor(type, creator) == DocReader::MacroText && type != FourCharCode("EPSF");
    WinDocumentSet(*window, document ? path : std::string());
    if (print) WinDoPrintWindow(*window, 0);
  }
  if (why) *why = reason;
  return window;
}

Gtk::Window* WinDoFileOpen(std::string_view text, uint32_t type, uint32_t creator, bool print) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  Gtk::Window* window = nullptr;
  if (DocFileRead(text, type, creator, &rec)) window = WinBuildNew();
  if (window) {
    SetWindowData(*window, rec);
    WinDocumentSet(*window, "");
    if (print) WinDoPrintWindow(*window, 0);
  }
  BarCodeDataRecRelease(&rec);
  return window;
}
