// Building, numbering and closing document windows.
#pragma once

namespace Gtk {
class Window;
}

inline constexpr const char* kPrefsWindowTitle = "Veltrix BarCode Preferences";

// Creates, shows and returns a new document window; null when the interface file fails (the
// serious-error alert is then on its way).
Gtk::Window* WinBuildNew();
// The close request of any of the application's windows; always handled.
bool ProcessWindowClose(Gtk::Window& window);
// Escape closes a dialog of ours as its Cancel (or Done) button would: through its close request.
void WinCloseOnEscape(Gtk::Window& dialog);
