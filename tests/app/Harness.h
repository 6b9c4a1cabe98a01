// The desktop tests' one harness: the application in this process on a virtual display, its
// windows driven as users drive them, what they show and print read back, and the program run on
// its own. Every test ends with the windows it left open closed.
#pragma once

#include "app/Application.h"
#include "app/FileOpen.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinStatus.h"
#include "model/BarCodeDataRec.h"
#include "output/save/FileSave.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <functional>

using Cells = std::vector<std::string>;
// The rows of tests/data/<name> by position (their header is a "#" line), each cell unescaped like
// the engine tables' (tests/data/README.md).
std::vector<Cells> ReadCells(const std::string& name);

void Pump();
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// A new document window, shown, holding the request; the newest one; closing all of them.
Gtk::Window& NewWindow(const std::string& symbology = {}, const std::string& data = {},
                       const std::string& addon = {});
Gtk::Window* Newest();
void CloseAllWindows();
// A control as a user sets and reads it: a field's text, a slider's value (its range widened to
// take it), a check box ("1" ticked), the symbology pop-up's item label.
void SetControl(Gtk::Window& window, int identifier, const std::string& value);
std::string ControlValue(Gtk::Window& window, int identifier);
// The symbology, data and add-on a window shows, that a record holds, and that the window a file
// opens shows ({"-"}: it opens none; the window is closed again).
Cells Shown(Gtk::Window& window);
Cells RequestOf(const BarCodeDataRec& rec);
Cells Opened(const std::string& path);
// Runs "menu:<menu>/<item>" (labels without mnemonics), "toolbar:<item identifier>" or an action
// ("win.EdDr"); false when there is no such command.
bool RunCommand(Gtk::Window& window, const std::string& command);
// Whether a window's menu item carries its mark (a true state).
bool ActionState(Gtk::Window& window, const std::string& command);
// Whether the menu item or action ("app.", "win.") can be used now.
bool CommandEnabled(Gtk::Window& window, const std::string& command);
Gtk::Widget* FindNamed(Gtk::Widget& root, const std::string& name);

std::vector<GtkWindow*> ShownWindows();
// The first window shown that was not among `before`, waited for; null when none comes.
GtkWindow* WaitForNew(const std::vector<GtkWindow*>& before, int timeoutMs = 5000);
// An alert's text and secondary text on two lines, any other window's title.
std::string Caption(GtkWindow* window);
std::vector<std::string> ButtonLabels(GtkWindow* window);
bool Press(GtkWindow* window, const std::string& label);
// A key without modifiers as the window's own shortcuts take it; false when none takes it.
bool PressKey(GtkWindow* window, guint keyval);
// Selects the row of that name (none for an unknown name) in the list box of that name.
void ChooseRow(GtkWindow* dialog, const std::string& list, const std::string& item);
std::string ProposedName(GtkWindow* dialog);
bool ChooseFile(GtkWindow* dialog, const std::string& path);

// Runs the main loop until the widget's window has drawn that many more frames.
void PumpFrames(Gtk::Widget& widget, int frames = 2);
// The preview's visible area as the screen shows it, as a PNG, and what a scanner reads off it.
std::string SnapshotPreview(Gtk::Window& window);
std::vector<std::string> ReadPreview(Gtk::Window& window, const std::string& formats);
// The clipboard's content of that type written to the path (this process may own the clipboard and
// serves its events meanwhile); empty when there is none.
std::string ReadClipboard(const std::string& type, const std::string& path);

// A picture on white as dark-or-not pixels, addressed in points from its top-left corner.
struct PagePixels {
  int width = 0, height = 0;
  double scale = 1; // pixels per point
  std::vector<uint8_t> dark;
  int Ink(double x1, double y1, double x2, double y2) const; // dark pixels, edges included
};
PagePixels ReadPixels(const std::string& png, double pixelsPerPoint);
std::string PdfPagePng(const std::string& pdf, int dpi);
std::string PdfText(const std::string& pdf);
std::string PdfInfo(const std::string& pdf, const std::string& field); // "(none)": no such entry

// veltrix-barcode started as users start it, with a preference folder of its own, ended with this.
struct RunningProgram {
  explicit RunningProgram(const std::vector<std::string>& args);
  ~RunningProgram();
  int WaitForExit(); // the exit status, or -1 when it does not end in time
  const std::string config;
  bool started = false;
  int pid = 0;
};
// The titles of the windows the X server shows, and what a scanner reads off the screen.
std::vector<std::string> ScreenTitles();
bool WaitForScreenTitle(const std::string& title);
std::vector<std::string> ReadScreen(const std::string& formats);
