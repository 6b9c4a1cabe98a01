// The clipboard command: the window's barcode as PDF and as PNG, read back by another program.
#include "app/AppTestSupport.h"

#include "app/WinControls.h"
#include "output/save/FileSave.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <fstream>

namespace {

class ClipboardTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

// What xclip reads from the clipboard in that type, written to a file.
std::string ReadClipboard(const std::string& type, const std::string& path) {
  const RunResult r = RunWhilePumping({"xclip", "-selection", "clipboard", "-o", "-t", type});
  if (r.status != 0) return {};
  std::ofstream(path, std::ios::binary) << r.out;
  return path;
}

} // namespace

TEST_F(ClipboardTest, TheClipboardHoldsPdfAndPngThatScan) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "501234567890");
  ASSERT_TRUE(ActivateAction(window, "win.CLIP"));
  Pump();
  const RunResult targets =
      RunWhilePumping({"xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"});
  EXPECT_NE(targets.out.find("application/pdf"), std::string::npos) << targets.out;
  EXPECT_NE(targets.out.find("image/png"), std::string::npos) << targets.out;
  const std::string dir = TestTempDir();
  const std::string expected = "501234567890" + std::string(1, GtinCheck("501234567890"));
  const std::string pdf = ReadClipboard("application/pdf", dir + "/clip.pdf");
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf), "EAN13"), std::vector<std::string>{expected});
  const std::string png = ReadClipboard("image/png", dir + "/clip.png");
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(png), "EAN13"), std::vector<std::string>{expected});
}

TEST_F(ClipboardTest, EmptyDataShowsTheAlertAndLeavesTheClipboard) {
  Gtk::Window& window = NewShownWindow();
  window.get_clipboard()->set_text("left alone");
  Pump();
  PasteboardSavePDF(window);
  Pump();
  Gtk::MessageDialog* alert = FindAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->property_text().get_value(),
            "Sorry, please enter some valid BarCode data first!");
  alert->response(0);
  const RunResult text = RunWhilePumping({"xclip", "-selection", "clipboard", "-o"});
  EXPECT_EQ(text.out, "left alone");
}
