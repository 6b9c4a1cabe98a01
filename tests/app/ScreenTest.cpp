// The whole screen as the X server shows it: a window with data typed in carries a barcode that
// a scanner reads off a screenshot.
#include "app/AppTestSupport.h"

#include "app/WinControls.h"
#include "app/WinData.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <iostream>

TEST(ScreenTest, TheWindowOnScreenShowsAScannableBarcode) {
  Gtk::Window& window = NewShownWindow();
  ChooseSymbology(window, 1);
  TypeInto(window, kViewData, "501234567890");
  TypeInto(window, kViewAddon, "12");
  ActivateAction(window, "win.EdDr");
  Gtk::Revealer* drawer = WinDataGet(window)->drawer;
  ASSERT_TRUE(PumpUntil([&] { return drawer->get_child_revealed(); }));
  PumpUntil([] { return false; }, 500); // let the last frames reach the server
  const std::string shot = TestTempDir() + "/screen.png";
  const RunResult grab = RunWhilePumping({"import", "-window", "root", shot});
  ASSERT_EQ(grab.status, 0) << grab.err;
  std::cout << "Screenshot: " << shot << std::endl;
  const std::string expected = "501234567890" + std::string(1, GtinCheck("501234567890")) + " 12";
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(shot, 2), "EAN13"), std::vector<std::string>{expected});
  EXPECT_EQ(window.get_title(), "Veltrix BarCode");
  CloseAllWindows();
}
