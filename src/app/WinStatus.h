// The status line under a document window's preview, always true to the symbol on screen: what
// it carries, whether a scanner reads it back (checked off the main loop), what the engine and
// the window's input cleaning changed, or why nothing can be drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct BarCodeDataRec;
namespace Gtk {
class Window;
}

// How long typing must pause before the symbol is read back: the largest symbols take a reader
// tens of milliseconds.
inline constexpr unsigned kStatusVerifyDelayMs = 150;

// What the status line tells of.
struct WinStatus {
  std::string requestKey;  // the request the line tells of
  uint64_t generation = 0; // a reading of an older request is dropped
  std::string told;        // what it carries, what was changed, or why nothing is drawn (markup)
  std::string scan;        // the reading, as markup; empty when there is none to make
};

// What the window's input cleaning took out of a field, as one sentence ("Letters removed: EAN-13
// takes digits only"); empty when nothing was taken out, or when characters were turned into
// others rather than removed (the escapes of QR Code and PDF417 data). `name` is the symbology's,
// or empty for the add-on.
std::string WinCleaningText(std::string_view name, std::string_view typed, std::string_view kept);
// Tells the request of the preview on the window's status line, when it changed: at once what it
// carries and what was changed, and the reading once the reader is done.
void WinStatusUpdate(Gtk::Window& window);
// The status line's text without markup.
std::string WinStatusText(Gtk::Window& window);
