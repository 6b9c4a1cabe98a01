// Helpers of the desktop application's tests: the application under a virtual display, running
// its event loop, typing into windows, and reading what they show.
#pragma once

#include "support/TestSupport.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace Gtk {
class MessageDialog;
class Widget;
class Window;
} // namespace Gtk

// The preference folder of this test process (XDG_CONFIG_HOME), fresh for each process.
std::string AppTestConfigDir();
// Runs pending events until none is left.
void Pump();
// Runs events until the condition holds or the time is up; true when it holds.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// A new document window, shown and laid out.
Gtk::Window& NewShownWindow();
// Closes every window of the application and lets them go.
void CloseAllWindows();

void TypeInto(Gtk::Window& window, int identifier, const std::string& text);
void ChooseSymbology(Gtk::Window& window, int symbology);
// A click on a button, at once (activate() clicks only after a visible delay).
void ClickButton(Gtk::Widget* button);
bool ActivateAction(Gtk::Window& window, const std::string& action);
// The first widget named `name` (Gtk::Widget::set_name) under the root.
Gtk::Widget* FindNamed(Gtk::Widget& root, const std::string& name);
// The visible alert of the program, or null.
Gtk::MessageDialog* FindAlert();
// The labels of an alert's buttons, in order.
std::vector<std::string> AlertButtons(Gtk::MessageDialog& alert);

// The preview as the screen shows it: the drawing area rendered through GTK's own renderer into a
// PNG file; empty on failure.
std::string SnapshotPreview(Gtk::Window& window);
// Counts pixels that are clearly red (the placeholder's text) in a PNG.
int CountRedPixels(const std::string& png);
// GTIN check digit, computed here from the GS1 rule independently of the engine.
char GtinCheck(const std::string& digits);
// Runs a program while the event loop keeps going (the clipboard is served by this process).
RunResult RunWhilePumping(const std::vector<std::string>& argv);

// A symbology, data and add-on, for comparing what a reader filled or a window shows in one go.
struct Request {
  int32_t symbology;
  std::string data, addon;
  bool operator==(const Request&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Request& r);
// What a window's controls show, before any cleaning.
Request Shown(Gtk::Window& window);
void WriteBytes(const std::string& path, const std::string& bytes);
