#include "app/FileOpen.h"

#include "app/DocFile.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "model/BarCodeDataRec.h"
#include "output/print/Print.h"
#include "output/save/FileSave.h"
#include "services/MacRoman.h"
#include "services/Services.h"

#include <gtkmm/window.h>

int FileOpen() {
  NavDialog(nullptr, kNavGetFile, kOpenDialogMessage, kOpenDialogTypes,
            [](const std::string& path) { FileHandlerOpen(path); });
  return 0;
}

int FileHandlerOpen(const std::string& path) {
  ProcessFileOpen(path, false);
  return 0;
}

Gtk::Window* ProcessFileOpen(const std::string& path, bool print) {
  const std::string name = GetNameAsPascalStringFromFSRef(path);
  if (name.empty()) return nullptr;
  if (!DataFileExists(path) || DataFileLength(path) == 0) return nullptr;
  std::optional<std::string> bytes = DataFileReadBytes(path);
  if (!bytes) return nullptr;
  uint32_t type = 0, creator = 0;
  if (FSRefGetTypeAndCreator(path, type, creator) != 0)
    DocFileGuessTypeAndCreator(name, *bytes, type, creator);
  return WinDoFileOpen(MacRomanToUtf8(*bytes), type, creator, print);
}

Gtk::Window* WinDoFileOpen(std::string_view text, uint32_t type, uint32_t creator, bool print) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  Gtk::Window* window = nullptr;
  if (DocFileRead(text, type, creator, &rec)) window = WinBuildNew();
  if (window) {
    SetWindowData(*window, rec);
    SetWindowImageUpdate(*window);
    if (print) WinDoPrintWindow(*window, 0);
  }
  BarCodeDataRecRelease(&rec);
  return window;
}
