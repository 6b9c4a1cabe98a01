// A window and the document it stands for: the file it was opened from or saved as (Save writes
// that file again), its unsaved changes, its title, and the question before closing or quitting
// with changes that are not saved.
#pragma once

#include <functional>
#include <string>

namespace Gtk {
class Window;
}

// The window now shows what the file holds: opened from it, or just saved as it. An empty path
// takes what the window shows as its unchanged state without a file (a new window, or one opened
// from a file that is not a document).
void WinDocumentSet(Gtk::Window& window, const std::string& path);
// The file Save writes, empty for an untitled window.
std::string WinDocumentPath(Gtk::Window& window);
// Whether the symbology, data or add-on (what a document holds) differ from what was opened or
// saved last; an untitled window without data or add-on has nothing to lose.
bool WinDocumentModified(Gtk::Window& window);
// The document's name, marked "*" while it has unsaved changes; untitled windows keep their
// numbered titles.
void WinDocumentUpdateTitle(Gtk::Window& window);
// Closes the window, first asking Save / Discard / Cancel when it has unsaved changes; `closed`
// runs once it is closed (not after Cancel, nor when a save is cancelled or fails).
void WinCloseAsking(Gtk::Window& window, std::function<void()> closed = {});
// Takes the window off the screen and deletes it once the current event is over, without asking.
void WinDispose(Gtk::Window& window);
// The Quit command: every window with unsaved changes asks in turn; Cancel keeps the program.
void ApplQuitAsking();

inline constexpr const char* kSaveChangesDiscard = "Discard";
inline constexpr const char* kSaveChangesCancel = "Cancel";
inline constexpr const char* kSaveChangesSave = "Save";
