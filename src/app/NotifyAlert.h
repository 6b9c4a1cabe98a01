// The application's modal alert.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace Gtk {
class Window;
}

// Alert levels.
enum : int16_t { kAlertStop = 0, kAlertNote = 1, kAlertCaution = 2, kAlertPlain = 3 };
// Responses: the default button "OK" is 0, "Cancel" 1, "Other" 2.
enum : int { kAlertResponseOK = 0, kAlertResponseCancel = 1, kAlertResponseOther = 2 };

// Shows a modal alert over `parent` (or over the whole application when null): "OK" alone for one
// button, "OK", "Cancel" and "Other" for three, "OK" and "Cancel" otherwise. Alerts here do not
// block: `done` receives the response when the user answers. Returns 0.
int NotifyAlert(int16_t level, const std::string& header, const std::string& message,
                int16_t buttons, Gtk::Window* parent = nullptr, std::function<void(int)> done = {});
