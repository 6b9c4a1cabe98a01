// The Preferences window: the author it stores only on OK, the PDFs that then carry it, and
// everything else of the program held back while it is open.
#include "app/Harness.h"

#include "app/Prefs.h"

// The commands that work while the Preferences window is open (or not): Help alone of the window's.
static void ExpectCommandsEnabled(Gtk::Window& document, bool prefsOpen) {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (const Glib::ustring& name : app->list_actions())
    EXPECT_EQ(app->get_action_enabled(name),
              !prefsOpen || (name != "new" && name != "open" && name != "pref"))
        << "app." << name;
  auto& window = dynamic_cast<Gtk::ApplicationWindow&>(document);
  for (const Glib::ustring& name : window.list_actions())
    EXPECT_EQ(window.get_action_enabled(name), !prefsOpen || name == "Help") << "win." << name;
}

// The author as the preference file on disk holds it.
static bool OnDisk(const std::string& author) {
  g_autofree gchar* quoted = g_variant_print(g_variant_new_string(author.c_str()), FALSE);
  return ReadFileBytes(CFPrefsFilePath()).find(std::string("VLTXAuth=") + quoted + "\n") !=
         std::string::npos;
}

TEST(PrefsTest, OkStoresTheAuthorThatPdfsCarry) {
  CFPrefsSetCFStr(kPrefAuthor, "Stored Author");
  std::string author = "Stored Author";
  Gtk::Window& document = NewWindow("EAN-13", "501234567890");
  const std::string dir = TestTempDir();
  for (const Cells& row : ReadCells("app_prefs.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    ASSERT_TRUE(RunCommand(document, "menu:Veltrix BarCode/Preferences…"));
    Gtk::Window* prefs = WinPrefsWindow();
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(ControlValue(*prefs, kPrefViewAuthor), author);
    ExpectCommandsEnabled(document, true);
    SetControl(*prefs, kPrefViewAuthor, row[0]);
    if (row[1] == "close box")
      prefs->close();
    else
      Press(prefs->gobj(), row[1]);
    ASSERT_TRUE(PumpUntil([] { return WinPrefsWindow() == nullptr; }));
    ExpectCommandsEnabled(document, false);
    author = row[2];
    EXPECT_TRUE(OnDisk(author)) << ReadFileBytes(CFPrefsFilePath());
    const std::string pdf = dir + "/author.pdf";
    FileHandlerPDF(document, pdf);
    EXPECT_EQ(PdfInfo(pdf, "Author"), author); // an empty author is an empty entry, not none
  }
}
