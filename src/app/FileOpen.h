// Opening documents: the Open command, files handed to the program, and the window each accepted
// file opens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Gtk {
class Window;
}

inline constexpr const char* kOpenDialogMessage = "Open file\u2026";
// The file types the Open dialog offers: documents, EPS files and text.
inline constexpr const char* kOpenDialogTypes = "TEXTBARCEPSF";

// The Open command: an application-modal dialog; the chosen file opens like any other, and one
// that opens nothing is told in an alert naming the file and why.
int FileOpen();
int FileHandlerOpen(const std::string& path);
// Opens one file in a new window and, with the print flag, prints that window. A file that is
// missing, empty, unreadable, of another kind or rejected by its reader opens nothing; the result
// is then null, and `why` says why in a sentence. A document file stays the window's document.
Gtk::Window* ProcessFileOpen(const std::string& path, bool print, std::string* why = nullptr);
// Reads the text with the reader that the type and creator call for and opens its window.
Gtk::Window* WinDoFileOpen(std::string_view text, uint32_t type, uint32_t creator, bool print);
