// The Preferences window and the PDF author it stores.
#include "app/AppTestSupport.h"

#include "app/Application.h"
#include "app/Prefs.h"
#include "app/WinData.h"
#include "output/save/FileSave.h"
#include "services/Services.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

class PrefsTest : public testing::Test {
protected:
  void SetUp() override {
    CFPrefsSetCFStr(kPrefAuthor, "Stored Author");
    CFPrefsAppSynchronize();
  }
  void TearDown() override { CloseAllWindows(); }
};

// The author as the preference file holds it on disk, read by a fresh key-file parser.
std::optional<std::string> AuthorOnDisk() {
  GKeyFile* file = g_key_file_new();
  std::optional<std::string> author;
  if (g_key_file_load_from_file(file, CFPrefsFilePath().c_str(), G_KEY_FILE_NONE, nullptr)) {
    if (char* value = g_key_file_get_value(file, "Preferences", kPrefAuthor, nullptr)) {
      GVariant* parsed = g_variant_parse(G_VARIANT_TYPE_STRING, value, nullptr, nullptr, nullptr);
      if (parsed) author = g_variant_get_string(parsed, nullptr);
      if (parsed) g_variant_unref(parsed);
      g_free(value);
    }
  }
  g_key_file_free(file);
  return author;
}

Gtk::Window& OpenPrefs(const std::string& typed) {
  Gtk::Window* prefs = WinPrefsBuild();
  Pump();
  ViewFindAs<Gtk::Entry>(*prefs, kPrefViewAuthor)->set_text(typed);
  return *prefs;
}

void Click(Gtk::Window& window, int identifier) {
  ClickButton(ViewFindAs<Gtk::Button>(window, identifier));
  Pump();
}

std::string PdfInfoAuthor(const std::string& pdf) {
  const RunResult info = RunProgram({"pdfinfo", pdf});
  const size_t at = info.out.find("Author:");
  if (at == std::string::npos) return "(none)";
  const size_t start = info.out.find_first_not_of(' ', at + 7);
  const size_t end = info.out.find('\n', at);
  return start >= end ? "" : info.out.substr(start, end - start);
}

} // namespace

TEST(PrefsFirstStart, TheFirstStartStoresTheUsersFullName) {
  // The program itself, started on an empty preference folder, then stopped.
  const std::string config = TestTempDir();
  RunProgram({"timeout", "5", VX_APP_PATH}, {"XDG_CONFIG_HOME=" + config});
  const std::string file = ReadFileBytes(config + "/org.veltrix.BarCode/preferences");
  gchar* quoted = g_variant_print(g_variant_new_string(g_get_real_name()), FALSE);
  EXPECT_NE(file.find(std::string("VLTXAuth=") + quoted), std::string::npos) << file;
  g_free(quoted);
}

TEST_F(PrefsTest, TheWindowShowsTheStoredAuthor) {
  Gtk::Window* prefs = WinPrefsBuild();
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(prefs->get_title(), "Veltrix BarCode Preferences");
  EXPECT_TRUE(prefs->get_modal());
  EXPECT_EQ(ViewFindAs<Gtk::Entry>(*prefs, kPrefViewAuthor)->get_text(), "Stored Author");
  EXPECT_EQ(WinPrefsBuild(), prefs); // never two at once
}

TEST_F(PrefsTest, OkStoresTheAuthorEvenWhenEmpty) {
  for (const std::string& typed : {std::string("Ada Lövelace"), std::string()}) {
    SCOPED_TRACE(typed);
    Gtk::Window& prefs = OpenPrefs(typed);
    Click(prefs, kPrefViewOK);
    EXPECT_EQ(AuthorOnDisk(), typed);
    EXPECT_EQ(WinPrefsWindow(), nullptr);
  }
}

TEST_F(PrefsTest, CancelAndTheCloseBoxStoreNothing) {
  Gtk::Window& cancelled = OpenPrefs("Someone Else");
  Click(cancelled, kPrefViewCancel);
  EXPECT_EQ(AuthorOnDisk(), "Stored Author");
  EXPECT_EQ(WinPrefsWindow(), nullptr);
  Gtk::Window& closed = OpenPrefs("Someone Else");
  closed.close();
  Pump();
  EXPECT_EQ(AuthorOnDisk(), "Stored Author");
  EXPECT_EQ(WinPrefsWindow(), nullptr);
  std::string author;
  CFPrefsGetCFStr(kPrefAuthor, author);
  EXPECT_EQ(author, "Stored Author");
}

TEST_F(PrefsTest, WhileOpenOnlyThePreferencesWindowAndHelpCanBeUsed) {
  Gtk::Window& document = NewShownWindow();
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  auto& actions = dynamic_cast<Gtk::ApplicationWindow&>(document);
  Gtk::Window& prefs = OpenPrefs("x");
  for (const char* name : {"new", "open", "pref"})
    EXPECT_FALSE(app->get_action_enabled(name)) << name;
  for (const char* name : {"CLIP", "FPNG", "EdDr", "m901", "clos", "save", "svas", "page", "prnt"})
    EXPECT_FALSE(actions.get_action_enabled(name)) << name;
  EXPECT_TRUE(actions.get_action_enabled("Help"));
  EXPECT_TRUE(app->get_action_enabled("UsGu"));
  Click(prefs, kPrefViewCancel);
  for (const char* name : {"new", "open", "pref"})
    EXPECT_TRUE(app->get_action_enabled(name)) << name;
  for (const char* name : {"CLIP", "FPNG", "EdDr", "m901", "clos", "save", "svas", "page", "prnt"})
    EXPECT_TRUE(actions.get_action_enabled(name)) << name;
}

TEST_F(PrefsTest, APdfWrittenAfterwardsCarriesTheAuthor) {
  Gtk::Window& document = NewShownWindow();
  TypeInto(document, 101, "501234567890");
  const std::string dir = TestTempDir();
  for (const std::string& typed : {std::string("Grace Hopper"), std::string()}) {
    SCOPED_TRACE(typed);
    Gtk::Window& prefs = OpenPrefs(typed);
    Click(prefs, kPrefViewOK);
    const std::string pdf = dir + "/author" + std::to_string(typed.size()) + ".pdf";
    FileHandlerPDF(document, pdf);
    ASSERT_TRUE(FileExists(pdf));
    EXPECT_EQ(PdfInfoAuthor(pdf), typed); // an empty author is an empty entry, not none
  }
}
