// Commands as users reach them (menus, toolbar, script actions) and what each one shows, and the
// symbology menu.
#include "app/Harness.h"

#include "app/Script.h"

// Runs the command on a window holding the request (or empty data); the windows shown before it
// (a script's own window among them) go to `before`.
static Gtk::Window* RunOn(const std::string& command, bool empty, std::vector<GtkWindow*>& before) {
  before = ShownWindows();
  if (command.starts_with("script:")) {
    ProcessAEScript(command.substr(7) + (empty ? " EAN-13 abc" : " EAN-13 501234567890 12"));
    before.push_back(Newest() ? Newest()->gobj() : nullptr);
    return Newest();
  }
  Gtk::Window& window = NewWindow("EAN-13", empty ? "" : "501234567890", "12");
  before = ShownWindows();
  EXPECT_TRUE(RunCommand(window, command));
  return &window;
}

TEST(CommandTest, EachCommandShowsWhatItShould) {
  for (const Cells& row : ReadCells("app_commands.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    std::vector<GtkWindow*> before;
    Gtk::Window* window = RunOn(row[0], false, before);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Shown(*window), (Cells{"EAN-13", "501234567890", "12"}));
    if (row[1] == "drawer") {
      EXPECT_TRUE(WinDataGet(*window)->drawer->get_reveal_child());
      ASSERT_TRUE(RunCommand(*window, row[0]));
      EXPECT_FALSE(WinDataGet(*window)->drawer->get_reveal_child()) << "a second time closes it";
    } else if (row[1] == "-") {
      EXPECT_EQ(WaitForNew(before, 300), nullptr);
    } else if (GtkWindow* shown = WaitForNew(before)) {
      EXPECT_EQ(Caption(shown), row[1]);
      EXPECT_EQ(gtk_window_get_modal(shown), row[2] != "-");
      EXPECT_TRUE(row[2] != "window" || gtk_window_get_transient_for(shown) == window->gobj());
      EXPECT_EQ(row[3] == "-" ? "-" : ProposedName(shown), row[3]);
      if (!Press(shown, "Cancel")) gtk_widget_set_visible(GTK_WIDGET(shown), false);
      WinData* data = WinDataGet(*window); // Cancel leaves no location and no print settings
      EXPECT_TRUE(PumpUntil([&] { return data->properties.empty() && !data->printSettings; }));
    } else {
      ADD_FAILURE() << "nothing appeared";
    }
    CloseAllWindows();
    if (row[4] == "-") continue;
    window = RunOn(row[0], true, before);
    if (row[4] == "disabled") {
      EXPECT_FALSE(CommandEnabled(*window, row[0]));
      EXPECT_EQ(WaitForNew(before, 300), nullptr);
      CloseAllWindows();
      continue;
    }
    GtkWindow* alert = WaitForNew(before);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(Caption(alert), row[4]);
    EXPECT_TRUE(gtk_window_get_modal(alert) &&
                gtk_window_get_transient_for(alert) == window->gobj());
    EXPECT_EQ(ButtonLabels(alert), Cells{"OK"});
    Press(alert, "OK");
    EXPECT_EQ(WaitForNew(before, 300), nullptr) << "something besides the alert";
    CloseAllWindows();
  }
}

// Each item chooses its symbology, as the pop-up does; the add-on keeps its text either way.
TEST(CommandTest, TheSymbologyMenuChoosesEachSymbology) {
  Gtk::Window& window = NewWindow("EAN-13", "123", "12");
  Gtk::Widget* addon = ViewFindByID(window, kViewAddon);
  const std::vector<Cells> rows = ReadCells("app_symbologies.tsv");
  for (const Cells& row : rows) {
    SCOPED_TRACE(row[0]);
    SetControl(window, kViewSymbology, row[0]);
    EXPECT_EQ(addon->get_sensitive(), row[1] == "on") << "chosen in the pop-up";
    SetControl(window, kViewSymbology, (row == rows.front() ? rows.back() : rows.front())[0]);
    ASSERT_TRUE(RunCommand(window, "menu:Symbology/" + row[0]));
    EXPECT_EQ(addon->get_sensitive(), row[1] == "on");
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    GetWindowData(window, &rec, nullptr, nullptr);
    EXPECT_EQ((Cells{RequestOf(rec)[0], ControlValue(window, kViewAddon)}), (Cells{row[0], "12"}));
    BarCodeDataRecRelease(&rec);
    Pump(); // the menu marks the symbology chosen, and only that one
    for (const Cells& item : rows)
      EXPECT_EQ(ActionState(window, "menu:Symbology/" + item[0]), item == row) << item[0];
  }
}

// Each dialog has a title, and leaving it takes it off the screen, however often it is done.
TEST(CommandTest, DialogsCloseCleanlyAgainAndAgain) {
  Gtk::Window& window = NewWindow("EAN-13", "501234567890");
  for (const Cells& row : ReadCells("app_dialogs.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    for (int n = std::stoi(row[3]); n > 0; --n) {
      const std::vector<GtkWindow*> before = ShownWindows();
      ASSERT_TRUE(RunCommand(window, row[0]));
      GtkWindow* dialog = WaitForNew(before);
      ASSERT_NE(dialog, nullptr);
      EXPECT_NE(gtk_window_get_title(dialog), nullptr);
      if (row[1] != "-")
        ChooseRow(dialog, row[1].substr(0, row[1].find('/')), row[1].substr(row[1].find('/') + 1));
      ASSERT_TRUE(row[2] == "Escape" ? PressKey(dialog, GDK_KEY_Escape) : Press(dialog, row[2]));
      EXPECT_TRUE(PumpUntil([&] { return !WaitForNew(before, 0); }));
    }
  }
}
