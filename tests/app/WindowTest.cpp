// The document window: its controls read into the record and set from it, every change redrawn,
// the preview read back by a scanner, and the windows' numbers.
#include "app/Harness.h"

// The controls of the tables' columns, in order.
constexpr int kControls[] = {kViewSymbology, kViewData,    kViewAddon,        kViewScale,
                             kViewTrim,      kViewDisplay, kViewAntialiasOff, kViewFontSmoothOff};

TEST(WindowTest, ControlsReadAndSetAsTheTableSays) {
  Gtk::Window& window = NewWindow();
  GdkPaintable* paintable = gtk_widget_paintable_new(ViewFindByID(window, kViewPreview)->gobj());
  int frames = 0;
  g_signal_connect(paintable, "invalidate-contents",
                   G_CALLBACK(+[](GdkPaintable*, gpointer count) { ++*static_cast<int*>(count); }),
                   &frames);
  for (const Cells& row : ReadCells("app_controls.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    BarCodeDataRec rec = MakeRecord(BarCodeSymType(row[1]), row[2], row[3]);
    Cells got;
    if (row[0] == "read") {
      for (size_t c = 0; c < std::size(kControls); ++c) {
        if (ControlValue(window, kControls[c]) == row[1 + c]) continue;
        const int before = frames; // every change draws the preview again
        SetControl(window, kControls[c], row[1 + c]);
        EXPECT_TRUE(PumpUntil([&] { return frames > before; }, 3000)) << "control " << c;
      }
      GetWindowData(window, &rec, nullptr, nullptr);
      got = RequestOf(rec);
      for (int value : {rec.scale, rec.trim})
        got.push_back(std::to_string(value));
      got.push_back(*rec.display);
      for (int value : {rec.antialiasOff, rec.fontSmoothOff})
        got.push_back(std::to_string(value));
    } else {
      SetControl(window, kViewAddon, "kept");
      rec.scale = std::stoi(row[4]);
      rec.trim = std::stoi(row[5]);
      *rec.display = row[6];
      rec.antialiasOff = static_cast<int16_t>(std::stoi(row[7]));
      rec.fontSmoothOff = static_cast<int16_t>(std::stoi(row[8]));
      SetWindowData(window, rec);
      for (int control : kControls)
        got.push_back(ControlValue(window, control));
    }
    EXPECT_EQ(got, Cells(row.begin() + 9, row.end()));
    BarCodeDataRecRelease(&rec);
  }
  g_signal_handlers_disconnect_by_data(paintable, &frames);
  g_object_unref(paintable);
}

// Two windows take the rows in turn; each keeps showing its own barcode while the other changes.
TEST(WindowTest, ThePreviewShowsTheTypedBarcode) {
  Gtk::Window* windows[] = {&NewWindow(), &NewWindow()};
  Cells last[2];
  for (int turn = 0; const Cells& row : ReadCells("app_preview.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    for (int c = 0; c < 4; ++c)
      SetControl(*windows[turn], kControls[c], row[c]);
    Pump();
    const std::string shot = SnapshotPreview(*windows[turn]);
    const Cells read = ZXingRead(RasterizeOnWhite(shot, 3), row[4]);
    EXPECT_EQ(read, row[5] == "-" ? Cells{} : Cells{row[5]});
    // Something is drawn: the symbol, or the placeholder where nothing scans.
    EXPECT_GT(ReadPixels(RasterizeOnWhite(shot, 1), 1).Ink(0, 0, 4000, 4000), 0);
    last[turn] = row;
    turn = 1 - turn;
    if (!last[turn].empty() && last[turn][5] != "-") {
      EXPECT_EQ(ReadPreview(*windows[turn], last[turn][4]), Cells{last[turn][5]}) << "the other";
    }
  }
}

TEST(WindowTest, WindowsTakeTheSmallestFreeNumber) {
  Gtk::Window& first = NewWindow();
  Gtk::Window& second = NewWindow();
  Gtk::Window& third = NewWindow();
  ASSERT_TRUE(RunCommand(second, "menu:File/Close"));
  Pump();
  EXPECT_EQ(
      (Cells{first.get_title(), third.get_title(), NewWindow().get_title(),
             NewWindow().get_title()}),
      (Cells{"Veltrix BarCode", "Veltrix BarCode 3", "Veltrix BarCode 2", "Veltrix BarCode 4"}));
}

// Screenshots of the preview at several window sizes and zooms: the symbol scans, and fills the
// area as a fitted symbol should.
TEST(WindowTest, ThePreviewFillsItsAreaAndScansAtEveryZoom) {
  for (const Cells& row : ReadCells("app_zoom.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    Gtk::Window& window = NewWindow(row[0], row[1]);
    window.set_default_size(std::stoi(row[2]), std::stoi(row[3]));
    std::istringstream commands(row[4]);
    for (std::string command; row[4] != "-" && std::getline(commands, command, ',');)
      ASSERT_TRUE(RunCommand(window, "menu:View/" + command));
    const std::string shot = SnapshotPreview(window);
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(shot, 2), row[5]), Cells{row[6]});
    const PagePixels pixels = ReadPixels(shot, 1);
    int left = pixels.width, right = -1, top = pixels.height, bottom = -1;
    for (int y = 0; y < pixels.height; ++y)
      for (int x = 0; x < pixels.width; ++x)
        if (pixels.dark[size_t(y) * pixels.width + x])
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
          bottom = std::max(bottom, y);
    EXPECT_GE(
        std::max(double(right - left + 1) / pixels.width, double(bottom - top + 1) / pixels.height),
        std::stod(row[7]))
        << pixels.width << "x" << pixels.height;
    CloseAllWindows();
  }
}

// The status line tells what the symbol carries, whether it scans, and what was changed or why
// nothing is drawn; exports and copies wait for a symbol.
TEST(WindowTest, TheStatusLineTellsWhatTheSymbolCarries) {
  Gtk::Window& window = NewWindow();
  for (const Cells& row : ReadCells("app_status.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    for (int c = 0; c < 3; ++c)
      SetControl(window, kControls[c], row[c]);
    Pump();
    EXPECT_TRUE(PumpUntil(
        [&] { return WinStatusText(window).find("Checking") == std::string::npos; }, 20000));
    EXPECT_EQ(WinStatusText(window), row[3]);
    EXPECT_EQ(CommandEnabled(window, "menu:File/Save PNG…"), row[4] == "on");
    EXPECT_EQ(CommandEnabled(window, "menu:Edit/Copy To Clipboard"), row[4] == "on");
  }
}
