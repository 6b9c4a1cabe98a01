// Veltrix BarCode, the desktop application.
#include "app/Application.h"

#include <gtkmm/application.h>

int main(int argc, char* argv[]) {
  Glib::RefPtr<Gtk::Application> app = ApplCreate(true);
  app->run(argc, argv);
  return 0;
}
