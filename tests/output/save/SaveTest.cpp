// The save commands of a document window, their dialogs answered: files that scan, documents that
// open again or are refused whole, the names the dialogs propose, and the clipboard.
#include "app/Harness.h"

static std::string Bytes(const std::string& path) {
  return FileExists(path) ? ReadFileBytes(path) : "(no file)";
}

TEST(SaveTest, EachSaveCommandWritesAFileThatScans) {
  const std::string dir = TestTempDir();
  for (const Cells& row : ReadCells("app_saves.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    Gtk::Window& window = NewWindow(); // untitled: Save asks where
    for (int c = 0; c < 3; ++c)
      SetControl(window, std::vector{kViewSymbology, kViewData, kViewAddon}[c], row[1 + c]);
    Pump();
    const std::string path = dir + "/" + row[4], before = Bytes(path);
    std::vector<GtkWindow*> shown = ShownWindows();
    ASSERT_TRUE(RunCommand(window, row[0]));
    shown.push_back(WaitForNew(shown)); // the save dialog
    ASSERT_TRUE(ChooseFile(shown.back(), path));
    if (row[7] == "-") { // refused, and said so
      GtkWindow* alert = WaitForNew(shown);
      EXPECT_TRUE(alert && Caption(alert).starts_with("Sorry, the barcode could not be saved.\n"));
      if (alert) Press(alert, "OK");
      EXPECT_EQ(Bytes(path), before);
      continue;
    }
    ASSERT_TRUE(PumpUntil([&] { return Bytes(path) != before; }));
    EXPECT_TRUE(WinDataGet(window)->properties.empty()) << "the chosen location stays behind";
    uint32_t type = 0, creator = 0;
    if (FSRefGetTypeAndCreator(path, type, creator) == 0) {
      EXPECT_EQ(FourCharString(type), row[5]);
    }
    EXPECT_EQ(row[6] == "bytes" ? Cells{Bytes(path)} : ZXingRead(RasterizeOnWhite(path), row[6]),
              Cells{row[7]});
    const Cells opens = row[8] == "yes" ? Cells(row.begin() + 1, row.begin() + 4) : Cells{"-"};
    if (row[8] == "yes") { // a document opens again through the Open command
      shown = ShownWindows();
      ASSERT_TRUE(RunCommand(window, "menu:File/Open…") && ChooseFile(WaitForNew(shown), path));
      EXPECT_TRUE(PumpUntil([&] { return Newest() != &window && Shown(*Newest()) == opens; }));
    }
    EXPECT_EQ(Opened(path), opens);
    const std::string copy = dir + "/copy-" + row[4]; // the bytes only, as copies often are
    DataFileWriteBytes(copy, ReadFileBytes(path));
    EXPECT_EQ(Opened(copy), opens) << "the copy";
  }
}

TEST(SaveTest, ProposedNamesAreCutAndCleaned) {
  for (const Cells& row : ReadCells("app_names.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    BarCodeDataRec rec = MakeRecord(BarCodeSymType(row[0]), row[1], row[2]);
    EXPECT_EQ(FileSaveProposedName(rec, row[3], row[4] == "yes"), row[5]);
    BarCodeDataRecRelease(&rec);
  }
}

// The clipboard command puts the barcode there as PDF, PNG and SVG; with empty data it is off and
// leaves the clipboard alone.
TEST(SaveTest, TheClipboardHoldsAPdfAPngAndAnSvgThatScan) {
  Gtk::Window& window = NewWindow("EAN-13", " - ");
  window.get_clipboard()->set_text("left alone");
  RunCommand(window, "menu:Edit/Copy To Clipboard");
  const std::string dir = TestTempDir();
  EXPECT_EQ(Bytes(ReadClipboard("UTF8_STRING", dir + "/clip.txt")), "left alone");
  SetControl(window, kViewData, "501234567890");
  Pump();
  ASSERT_TRUE(RunCommand(window, "menu:Edit/Copy To Clipboard"));
  for (const std::string type : {"application/pdf", "image/png", "image/svg+xml"}) {
    const std::string file =
        ReadClipboard(type, dir + "/clip." + type.substr(type.find('/') + 1, 3));
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(file), "EAN13"), Cells{"5012345678900"}) << type;
  }
}
