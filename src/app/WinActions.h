// The commands of a document window as its actions ("win.CLIP", "win.m908", ...).
#pragma once

#include <cstdint>
#include <string_view>

namespace Gtk {
class Window;
}

// Installs the window's command table as actions on the window.
int WinInstallWindowHandler(Gtk::Window& window);
// Enables or disables every command of the window that it can carry out (the preferences window
// disables them while it is open); exports and copies also wait for a symbol to draw.
void WinActionsSetEnabled(Gtk::Window& window, bool enabled);
// Carries out a window command by its code, as its menu item would, whether or not the menus are
// enabled; kEventNotHandled for a code the window has no command for.
inline constexpr int kEventNotHandled = -9874;
int WinDoCommand(Gtk::Window& window, std::string_view code);
// Marks the current symbology in the Symbology menu.
void WinActionsShowSymbology(Gtk::Window& window, int32_t symbology);
