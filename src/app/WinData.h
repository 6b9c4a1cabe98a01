// The state a document window keeps (its "window properties"), and finding windows and their
// controls by number.
#pragma once

#include "app/WinPreview.h"
#include "app/WinStatus.h"
#include "app/WinWorker.h"

#include <glibmm/refptr.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Gtk {
class NativeDialog;
class PageSetup;
class PrintOperation;
class PrintSettings;
class Revealer;
class Widget;
class Window;
} // namespace Gtk

struct WinData {
  ~WinData() { link->window = nullptr; } // work done later finds no window

  int32_t number = 0;              // "wID ": 1, 2, ... for document windows; 0 once closing
  Gtk::Revealer* drawer = nullptr; // "DRWR": the drawer at the window's right edge
  // Properties stored by tag, such as the chosen save location ("PNGR" folder, "PNGN" name).
  std::map<uint32_t, std::string> properties;
  // The open save or open dialog, kept alive until it answers.
  Glib::RefPtr<Gtk::NativeDialog> nav;
  // "PagF": the page setup, made with the defaults on first use and kept while the window is open.
  Glib::RefPtr<Gtk::PageSetup> pageFormat;
  // The open Page Setup dialog, kept until it answers.
  std::shared_ptr<Gtk::Window> pageSetupDialog;
  // "PrtS": the print settings, from the Print command until its dialog ends, with the print
  // operation that carries them.
  Glib::RefPtr<Gtk::PrintSettings> printSettings;
  Glib::RefPtr<Gtk::PrintOperation> printJob;
  // The preview: its zoom and what it keeps between frames.
  std::unique_ptr<WinPreview> preview = std::make_unique<WinPreview>();
  // A change of the controls is taken in once, before the next frame.
  bool refreshPending = false;
  // The document: the file Save writes (empty while untitled), the macro text last opened or
  // saved, the numbered title an untitled window shows, and whether the window is asking to save.
  std::string documentPath, savedRequest, untitledTitle;
  bool asking = false;
  WinStatus status; // the status line
  // What work done off the main loop finds of the window.
  std::shared_ptr<WinLink> link = std::make_shared<WinLink>();
};

// The state of a window, created with it; null for windows that are not ours.
WinData* WinDataGet(Gtk::Window& window);
WinData& WinDataAttach(Gtk::Window& window);

void SetWindowProperty(Gtk::Window& window, uint32_t tag, std::string value);
std::optional<std::string> GetWindowProperty(Gtk::Window& window, uint32_t tag);
void RemoveWindowProperty(Gtk::Window& window, uint32_t tag);

// Open document windows, in the application's order (most recently active first).
std::vector<Gtk::Window*> WindowListDocuments();
// The open document window with this number; 0 means the window with the user focus.
Gtk::Window* WindowFindByID(int32_t number);
// The smallest number from 1 up that no open document window has.
int32_t WindowNextNumber();
// "Veltrix BarCode" for window 1, "Veltrix BarCode 2" for window 2, ...
std::string WindowTitleForNumber(const std::string& title, int32_t number);
int WindowAppendIDToTitle(Gtk::Window& window);

// A control of a window by its numeric identifier (its interface id ends in "-<identifier>").
Gtk::Widget* ViewFindByID(Gtk::Widget& root, int identifier);
// A widget of a window by its whole interface id.
Gtk::Widget* ViewFindByName(Gtk::Widget& root, const std::string& id);
template <class T> T* ViewFindAs(Gtk::Widget& root, int identifier) {
  Gtk::Widget* view = ViewFindByID(root, identifier);
  return view ? dynamic_cast<T*>(view) : nullptr;
}
