// The toolbar: what a fresh installation shows and what always stays, the user's arrangement shared
// by every window and kept across a restart, and definitions and saved arrangements made sound.
#include "app/Harness.h"

#include "app/Toolbar.h"

#include <cstdlib>

static std::string Id(const std::string& tail) {
  return "com.apple." + tail;
}

static void Choose(GtkWindow* dialog, const std::string& list, const std::string& item,
                   const std::string& button) {
  ChooseRow(dialog, list, item);
  if (!button.empty()) Press(dialog, button);
}

// A fresh installation's toolbar, the items that stay, and the user's arrangement, which every
// window shows and a restart brings back.
TEST(ToolbarTest, TheArrangementStartsFromTheDefaultsAndLasts) {
  ToolbarSetArrangement(kMainToolbar, ToolbarGetDefaultIdentifiers(kMainToolbar)); // as installed
  Cells allowed, shown, fixed;
  for (const Cells& row : ReadCells("app_toolbar.tsv")) {
    allowed.push_back(row[0]);
    if (row[1] == "yes") shown.push_back(row[0]);
    if (row[2] == "no") fixed.push_back(row[0]);
  }
  EXPECT_EQ(ToolbarGetAllowedIdentifiers(kMainToolbar), allowed);
  Gtk::Window& first = NewWindow();
  EXPECT_EQ(ToolbarWindowIdentifiers(first), shown);
  const std::vector<GtkWindow*> before = ShownWindows(); // the Customize dialog, hidden when done
  ASSERT_TRUE(RunCommand(first, "toolbar:" + Id("hitoolbox.toolbar.customize")));
  GtkWindow* dialog = WaitForNew(before);
  ASSERT_NE(dialog, nullptr);
  for (const std::string& item : shown) { // Remove is offered for the removable items only
    Choose(dialog, "toolbar-current", item, "");
    const bool removable = std::ranges::count(fixed, item) == 0;
    EXPECT_EQ(FindNamed(*Glib::wrap(GTK_WIDGET(dialog)), "toolbar-remove")->get_sensitive(),
              removable)
        << item;
    if (!removable) Press(dialog, "Remove");
  }
  EXPECT_EQ(ToolbarWindowIdentifiers(first), shown);
  Choose(dialog, "toolbar-current", Id("carbontoolbar.toolclip"), "");
  Choose(dialog, "toolbar-available", Id("carbontoolbar.vltxsave"), "Add");
  Choose(dialog, "toolbar-current", "", "");
  Choose(dialog, "toolbar-available", Id("carbontoolbar.vltxsvas"), "Add");
  Choose(dialog, "toolbar-current", Id("carbontoolbar.filepict"), "Remove");
  Choose(dialog, "toolbar-current", Id("carbontoolbar.editdrwr"), "Move Up");
  gtk_widget_set_visible(GTK_WIDGET(dialog), false);
  // Save after the copy item, Save As at the end, no PICT item, the drawer before the space.
  const Cells arranged = ToolbarWindowIdentifiers(first);
  ASSERT_EQ(arranged.size(), 13u);
  EXPECT_EQ((Cells{arranged[1], arranged[10], arranged[12]}),
            (Cells{Id("carbontoolbar.vltxsave"), Id("carbontoolbar.editdrwr"),
                   Id("carbontoolbar.vltxsvas")}));
  EXPECT_EQ(std::ranges::count(arranged, Id("carbontoolbar.filepict")), 0);
  EXPECT_EQ(ToolbarWindowIdentifiers(NewWindow()), arranged);
  // A new process on the same preference folder shows the same toolbar.
  const RunResult child = RunProgram(
      {"/proc/self/exe", "--gtest_filter=ToolbarRestart.*", "--gtest_also_run_disabled_tests"},
      {std::string("VX_TEST_CONFIG_HOME=") + std::getenv("XDG_CONFIG_HOME"),
       "VX_TEST_TOOLBAR=" + testing::PrintToString(arranged)});
  EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << child.out << child.err;
}

// Run only as the child of the test above.
TEST(ToolbarRestart, DISABLED_TheSavedArrangementComesBack) {
  ASSERT_NE(std::getenv("VX_TEST_TOOLBAR"), nullptr);
  EXPECT_EQ(testing::PrintToString(ToolbarWindowIdentifiers(NewWindow())),
            std::getenv("VX_TEST_TOOLBAR"));
  CloseAllWindows();
}

TEST(ToolbarTest, DefinitionsAndSavedArrangementsAreMadeSound) {
  // An item whose picture is missing still works.
  ToolbarCreate(7, "test.toolbar", kToolbarIsConfigurable);
  ToolbarItem(7, "test.item", "missing.png", "Item", FourCharCode("EdDr"), 0, true);
  EXPECT_FALSE(ToolbarItemGetImage(7, "test.item").has_value());
  Gtk::Window& window = NewWindow();
  Gtk::Widget* item = ToolbarDelegateCreateItem(7, "test.item");
  ASSERT_NE(item, nullptr);
  dynamic_cast<Gtk::Box*>(ViewFindByName(window, "main-toolbar"))->append(*item);
  ASSERT_TRUE(RunCommand(window, "toolbar:test.item"));
  EXPECT_TRUE(WinDataGet(window)->drawer->get_reveal_child());
  ToolbarRegistry().erase("7");
  // An edited preference file: unknown and repeated items go (unless they may repeat), removed
  // fixed items come back.
  const std::string pdf = Id("carbontoolbar.filepdff"), gap = Id("hitoolbox.toolbar.separator");
  const std::string help = Id("carbontoolbar.viewhelp");
  CFPrefsSetStringList("org.veltrix.BarCode.maintoolbar",
                       {pdf, "com.example.unknown", pdf, gap, gap, help});
  EXPECT_EQ(
      ToolbarArrangement(kMainToolbar),
      (Cells{pdf, gap, gap, help, Id("carbontoolbar.toolclip"), Id("carbontoolbar.editdrwr")}));
}
