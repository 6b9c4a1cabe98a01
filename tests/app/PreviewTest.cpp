// The live preview: what the drawing area shows is read back by an independent decoder.
#include "app/AppTestSupport.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

class PreviewTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

// The expected EAN-13 text: twelve digits (padded in front) and their GS1 check digit.
std::string Ean13Text(std::string digits) {
  digits.insert(0, 12 - std::min<size_t>(12, digits.size()), '0');
  digits.resize(12);
  return digits + GtinCheck(digits);
}

std::vector<std::string> ReadPreview(Gtk::Window& window) {
  const std::string shot = SnapshotPreview(window);
  if (shot.empty()) return {};
  return ZXingRead(RasterizeOnWhite(shot, 3), "EAN13");
}

} // namespace

TEST_F(PreviewTest, ThePreviewShowsTheTypedBarcode) {
  struct Case {
    const char *data, *addon;
    double scale;
  };
  const Case cases[] = {
      {"501234567890", "", 100}, {"400638133393", "12", 100}, {"978014300723", "12345", 100},
      {"123", "", 100},          {"590123412345", "", 150},
  };
  Gtk::Window& window = NewShownWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.data) + "+" + c.addon);
    TypeInto(window, kViewData, c.data);
    TypeInto(window, kViewAddon, c.addon);
    ViewFindAs<Gtk::Range>(window, kViewScale)->set_value(c.scale);
    Pump();
    std::string expected = Ean13Text(c.data);
    if (*c.addon) expected += std::string(" ") + c.addon;
    EXPECT_EQ(ReadPreview(window), std::vector<std::string>{expected});
  }
}

TEST_F(PreviewTest, EachWindowShowsItsOwnBarcode) {
  Gtk::Window& first = NewShownWindow();
  Gtk::Window& second = NewShownWindow();
  TypeInto(first, kViewData, "501234567890");
  TypeInto(second, kViewData, "400638133393");
  Pump();
  EXPECT_EQ(ReadPreview(first), std::vector<std::string>{Ean13Text("501234567890")});
  EXPECT_EQ(ReadPreview(second), std::vector<std::string>{Ean13Text("400638133393")});
}

TEST_F(PreviewTest, EmptyDataShowsThePlaceholder) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "");
  Pump();
  const std::string shot = SnapshotPreview(window);
  ASSERT_FALSE(shot.empty());
  // "No BarCode Image" is drawn in red, and nothing scans.
  EXPECT_GT(CountRedPixels(shot), 20);
  EXPECT_TRUE(ZXingRead(RasterizeOnWhite(shot, 3), "EAN13|UPCA").empty());
  TypeInto(window, kViewData, "501234567890");
  Pump();
  EXPECT_EQ(CountRedPixels(SnapshotPreview(window)), 0);
}

TEST_F(PreviewTest, ThePreviewIsDrawnThroughTheDrawingAreasOwnContext) {
  // Drawing straight into an image surface of the area's size, as GTK hands the draw function
  // its context, gives the same barcode.
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "501234567890");
  Gtk::Widget* preview = ViewFindByID(window, kViewPreview);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, preview->get_width(), preview->get_height());
  cairo_t* cg = cairo_create(surface);
  UpdateWindowImage(cg, *preview);
  cairo_destroy(cg);
  const std::string png = TestTempDir() + "/direct.png";
  ASSERT_EQ(cairo_surface_write_to_png(surface, png.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(png, 3), "EAN13"),
            std::vector<std::string>{Ean13Text("501234567890")});
}
