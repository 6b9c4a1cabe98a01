// The commands of a document window as its actions ("win.CLIP", "win.m908", ...).
#pragma once

namespace Gtk {
class Window;
}

// Installs the window's command table as actions on the window.
int WinInstallWindowHandler(Gtk::Window& window);
// Enables or disables every command of the window that it can carry out (the preferences window
// disables them while it is open).
void WinActionsSetEnabled(Gtk::Window& window, bool enabled);
