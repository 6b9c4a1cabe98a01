// The desktop application's tests run in one process with the application registered (its
// start-up sequence done), on a virtual display, with a preference folder of their own.
#include "app/AppTestSupport.h"
#include "app/Application.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>

#include <cstdlib>
#include <string>

namespace {

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override {
    app_ = ApplCreate(false);
    app_->register_application();
  }
  void TearDown() override {
    CloseAllWindows();
    app_.reset();
  }

private:
  Glib::RefPtr<Gtk::Application> app_;
};

} // namespace

int main(int argc, char** argv) {
  // Never the user's own preferences; a child run for a restart is handed its parent's folder.
  const char* inherited = std::getenv("VX_TEST_CONFIG_HOME");
  std::string dir = inherited ? inherited : "/tmp/vxapptest-XXXXXX";
  if (!inherited && !mkdtemp(dir.data())) return 1;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new AppEnvironment);
  return RUN_ALL_TESTS();
}
