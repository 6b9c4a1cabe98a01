// The Preferences window: the author name of the PDF files the program writes, and the
// resolution of its bitmaps.
#pragma once

#include <cstdint>

namespace Gtk {
class Window;
}

// Control identifiers of the preferences window.
enum : int {
  kPrefViewAuthor = 101,
  kPrefViewBitmapDPI = 102,
  kPrefViewCancel = 900,
  kPrefViewOK = 901
};

// Opens the preferences window (application-modal) and returns it.
Gtk::Window* WinPrefsBuild();
int WinPrefsSave(Gtk::Window& window);
int WinPrefsCancel(Gtk::Window& window);
// The open preferences window, or null.
Gtk::Window* WinPrefsWindow();
// The resolution the bitmap files and the clipboard image are made at: the stored preference, or
// the default.
int32_t WinPrefsBitmapDPI();
// On the first start, with no author stored yet, the user's full name becomes the author.
void WinPrefsFirstRun();
