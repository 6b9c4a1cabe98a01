// Documents: the readers of requests, and files of every kind opened (each in a new window) or
// refused, and what the installed desktop calls them.
#include "app/Harness.h"

#include "app/DocFile.h"
#include "app/Script.h"

#include <sys/stat.h>

// What a reader makes of the text, or "-" when it refuses it (a script: when no window opens).
static Cells ReadRequest(const std::string& reader, const std::string& text) {
  if (reader == "script") {
    const size_t before = WindowListDocuments().size();
    ProcessAEScript(text);
    return WindowListDocuments().size() > before ? Shown(*Newest()) : Cells{"-"};
  }
  BarCodeDataRec rec = MakeRecord(0, "");
  const bool read =
      reader == "macro" ? BarCodeDataMetaValid(text, &rec) : BarCodeDataTextValid(text, &rec);
  const Cells request = read ? RequestOf(rec) : Cells{"-"};
  BarCodeDataRecRelease(&rec);
  return request;
}

// The MIME type GIO's content sniffing gives a file, with the install's data folder in use.
static std::string DesktopType(const std::string& dataDir, const std::string& path) {
  const std::string info = RunProgram({"gio", "info", "-a", "standard::content-type", path},
                                      {"XDG_DATA_HOME=" + dataDir, "XDG_DATA_DIRS=" + dataDir})
                               .out;
  const size_t at = info.find("content-type: ") + 14;
  return info.substr(at, info.find('\n', at) - at);
}

TEST(DocumentTest, ReadersMakeTheRequestsOfTheTable) {
  for (const Cells& row : ReadCells("app_readers.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    EXPECT_EQ(ReadRequest(row[0], row[1]), Cells(row.begin() + 2, row.end()));
    CloseAllWindows();
  }
}

TEST(DocumentTest, FilesOpenByTheirKind) {
  // An install teaches the desktop the document type and hands such files to the program, and the
  // user guide that Help opens is found.
  const std::string prefix = TestTempDir(), data = prefix + "/share";
  const RunResult install = RunProgram({"cmake", "--install", VX_BUILD_DIR, "--prefix", prefix});
  ASSERT_EQ(install.status, 0) << install.err;
  const std::string entry = ReadFileBytes(data + "/applications/org.veltrix.BarCode.desktop");
  EXPECT_NE(entry.find("\nExec=veltrix-barcode %F\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=application/x-veltrix-barcode;"), std::string::npos) << entry;
  EXPECT_NE(ReadFileBytes(ApplUserGuidePath()).find("User Guide"), std::string::npos);
  const std::string dir = TestTempDir();
  for (const Cells& row : ReadCells("app_open.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string path = dir + "/" + row[0];
    if (row[1] == "@folder")
      mkdir(path.c_str(), 0755);
    else if (row[1] == "@fifo")
      mkfifo(path.c_str(), 0644);
    else if (row[1] != "@missing")
      DataFileWriteBytes(path, row[1]);
    if (row[2] != "-" &&
        FSRefSetTypeAndCreator(path, FourCharCode(row[2]), FourCharCode(row[3])) != 0)
      continue; // this file system keeps no codes
    if (row[4] != "-") {
      EXPECT_EQ(DesktopType(data, path), row[4]);
    }
    EXPECT_EQ(Opened(path), Cells(row.begin() + 5, row.end()));
  }
}

// A window and its document through opening, changes, saving in place, closing and quitting.
TEST(DocumentTest, WindowsKeepTheirDocuments) {
  const std::string dir = TestTempDir();
  DataFileWriteBytes(dir + "/made.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  DataFileWriteBytes(dir + "/bad.vbc", "\xC7XYZ 1\xC8");
  Gtk::Window* window = nullptr;
  GtkWindow* shown = nullptr; // what a step brought up last
  for (const Cells& row : ReadCells("app_documents.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    std::vector<GtkWindow*> before = ShownWindows();
    const std::string &step = row[0], &argument = row[1];
    if (step == "write") DataFileWriteBytes(dir + "/doc.vbc", argument);
    if (step == "open") window = ProcessFileOpen(dir + "/" + argument, false);
    if (step == "new") window = &NewWindow();
    if (step == "set") SetControl(*window, kViewData, argument);
    if (step == "close") window->close();
    const bool done = step == "run"      ? RunCommand(*window, argument)
                      : step == "choose" ? ChooseFile(shown, dir + "/" + argument)
                      : step == "answer" ? Press(shown, argument)
                                         : true;
    ASSERT_TRUE(done);
    Pump();
    const bool open = std::ranges::count(WindowListDocuments(), window) > 0;
    if (open) before.push_back(window->gobj()); // the document's own window is no news
    GtkWindow* appeared = WaitForNew(before, row[3] == "-" ? 100 : 5000);
    if (appeared) shown = appeared;
    if (step == "focus") {
      Gtk::Widget *focus = window->get_focus(), *data = ViewFindByID(*window, kViewData);
      EXPECT_TRUE(focus && (focus == data || focus->is_ancestor(*data)));
    } else {
      EXPECT_EQ(appeared ? Caption(appeared) : "-", row[3]);
    }
    auto title = [&] { // a file chosen is written once the dialog has gone
      const bool open = std::ranges::count(WindowListDocuments(), window) > 0;
      return open ? std::string(window->get_title()) : "-";
    };
    PumpUntil([&] { return title() == row[2]; }, 1000);
    EXPECT_EQ(title(), row[2]);
    if (row[4] != "-") {
      EXPECT_EQ(ReadFileBytes(dir + "/doc.vbc"), row[4]);
    }
  }
}
