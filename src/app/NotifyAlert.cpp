#include "app/NotifyAlert.h"

#include "app/Application.h"

#include <gtkmm.h>

namespace {

Gtk::MessageType MessageTypeForLevel(int16_t level) {
  switch (level) {
  case kAlertStop:
    return Gtk::MessageType::ERROR;
  case kAlertNote:
    return Gtk::MessageType::INFO;
  case kAlertCaution:
    return Gtk::MessageType::WARNING;
  default:
    return Gtk::MessageType::OTHER;
  }
}

} // namespace

int NotifyAlert(int16_t level, const std::string& header, const std::string& message,
                int16_t buttons, Gtk::Window* parent, std::function<void(int)> done) {
  auto* alert = new Gtk::MessageDialog(header, false, MessageTypeForLevel(level),
                                       Gtk::ButtonsType::NONE, true);
  alert->set_secondary_text(message);
  if (parent) alert->set_transient_for(*parent);
  if (Glib::RefPtr<Gtk::Application> app = ApplGet()) alert->set_application(app);
  alert->add_button("OK", kAlertResponseOK);
  if (buttons != 1) alert->add_button("Cancel", kAlertResponseCancel);
  if (buttons == 3) alert->add_button("Other", kAlertResponseOther);
  alert->set_default_response(kAlertResponseOK);
  alert->signal_response().connect([alert, done](int response) {
    // The close box answers like Cancel where there is one, and like OK where there is not.
    if (response < 0)
      response = alert->get_widget_for_response(kAlertResponseCancel) ? kAlertResponseCancel
                                                                      : kAlertResponseOK;
    alert->set_visible(false);
    Glib::signal_idle().connect_once([alert] { delete alert; });
    if (done) done(response);
  });
  alert->present();
  return 0;
}
