// The program as users start it: one instance, alerts, and redrawing the preview on each change.
#include "app/AppTestSupport.h"
#include "app/RunningProgram.h"

#include "app/Application.h"
#include "app/NotifyAlert.h"
#include "app/WinControls.h"
#include "app/WinData.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <chrono>
#include <sys/wait.h>
#include <thread>

namespace {

class LaunchTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

} // namespace

TEST_F(LaunchTest, ASecondLaunchHandsOverToTheRunningProgram) {
  const std::string config = TestTempDir();
  const GPid first = StartProgram({"timeout", "60", VX_APP_PATH}, {"XDG_CONFIG_HOME=" + config});
  ASSERT_GT(first, 0);
  bool owned = false;
  for (int i = 0; i < 300 && !owned; ++i) {
    owned = BusNameOwned("org.veltrix.BarCode");
    if (!owned) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(owned);
  const auto start = std::chrono::steady_clock::now();
  const RunResult second =
      RunProgram({"timeout", "60", VX_APP_PATH}, {"XDG_CONFIG_HOME=" + config});
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(second.status, 0); // it handed its start to the first instance and left
  EXPECT_LT(seconds.count(), 30.0);
  EXPECT_TRUE(BusNameOwned("org.veltrix.BarCode")); // the first one is still there
  // The quit command reaches the running program over the bus.
  const RunResult quit = RunProgram({"gapplication", "action", "org.veltrix.BarCode", "quit"});
  EXPECT_EQ(quit.status, 0) << quit.err;
  int status = -1;
  waitpid(first, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(LaunchTest, AlertsHaveTheButtonsAskedFor) {
  struct Case {
    int16_t buttons;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {1, {"OK"}},
      {2, {"OK", "Cancel"}},
      {3, {"OK", "Cancel", "Other"}},
      {0, {"OK", "Cancel"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttons);
    int response = -1;
    NotifyAlert(kAlertCaution, "Header", "Message", c.buttons, nullptr,
                [&](int answer) { response = answer; });
    Pump();
    Gtk::MessageDialog* alert = FindAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(AlertButtons(*alert), c.labels);
    EXPECT_EQ(alert->property_message_type().get_value(), Gtk::MessageType::WARNING);
    alert->response(kAlertResponseOK);
    Pump();
    EXPECT_EQ(response, 0);
  }
}

TEST_F(LaunchTest, TheSeriousErrorAlertNamesTheProblem) {
  SeriousErrorQuit("Can't create nib ref.");
  Pump();
  Gtk::MessageDialog* alert = FindAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->property_text().get_value(), "Sorry, a serious error has occurred!");
  EXPECT_EQ(alert->property_secondary_text().get_value(), "Can't create nib ref.");
  EXPECT_EQ(alert->property_message_type().get_value(), Gtk::MessageType::ERROR);
  EXPECT_EQ(AlertButtons(*alert), std::vector<std::string>{"OK"});
  alert->response(kAlertResponseOK); // quits: the application here is not running its loop
  Pump();
}

TEST_F(LaunchTest, EveryChangeRedrawsThePreview) {
  Gtk::Window& window = NewShownWindow();
  Gtk::Widget* preview = ViewFindByID(window, kViewPreview);
  GdkPaintable* paintable = gtk_widget_paintable_new(preview->gobj());
  int frames = 0;
  g_signal_connect(paintable, "invalidate-contents",
                   G_CALLBACK(+[](GdkPaintable*, gpointer count) { ++*static_cast<int*>(count); }),
                   &frames);
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"data", [&] { TypeInto(window, kViewData, "5012"); }},
      {"data again", [&] { TypeInto(window, kViewData, "50123"); }},
      {"add-on", [&] { TypeInto(window, kViewAddon, "1"); }},
      {"display", [&] { TypeInto(window, kViewDisplay, "x"); }},
      {"scale", [&] { ViewFindAs<Gtk::Range>(window, kViewScale)->set_value(120); }},
      {"trim", [&] { ViewFindAs<Gtk::Range>(window, kViewTrim)->set_value(20); }},
      {"antialias", [&] { ViewFindAs<Gtk::CheckButton>(window, kViewAntialiasOff)->set_active(); }},
      {"smoothing",
       [&] { ViewFindAs<Gtk::CheckButton>(window, kViewFontSmoothOff)->set_active(); }},
      {"symbology", [&] { ChooseSymbology(window, 8); }},
      {"menu", [&] { ActivateAction(window, "win.m901"); }},
  };
  PumpUntil([] { return false; }, 200);
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const int before = frames;
    change();
    EXPECT_TRUE(PumpUntil([&] { return frames > before; }, 3000));
  }
  g_signal_handlers_disconnect_by_data(paintable, &frames);
  g_object_unref(paintable);
}
