// Script commands: command lines parsed and carried out in this process, then the same commands
// and the open, print and quit requests sent over D-Bus to the program running on its own.
#include "app/AppTestSupport.h"
#include "app/RunningProgram.h"

#include "app/Application.h"
#include "app/Script.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"

#include <gtest/gtest.h>
#include <gtk/gtkunixprint.h>
#include <gtkmm.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <thread>

namespace {

class ScriptTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

std::string Ean13(const std::string& twelve) {
  return twelve + GtinCheck(twelve);
}

// The newest document window (the application lists the most recent first).
Gtk::Window* Newest() {
  std::vector<Gtk::Window*> windows = WindowListDocuments();
  return windows.empty() ? nullptr : windows.front();
}

std::string DialogTitle(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  auto* dialog = data ? dynamic_cast<Gtk::FileChooserNative*>(data->nav.get()) : nullptr;
  return dialog ? std::string(dialog->get_title()) : std::string();
}

// The user's Cancel in the window's save dialog.
void CancelDialog(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  auto* dialog = data ? dynamic_cast<Gtk::FileChooserNative*>(data->nav.get()) : nullptr;
  if (!dialog) return;
  dialog->hide();
  g_signal_emit_by_name(dialog->gobj(), "response", static_cast<int>(Gtk::ResponseType::CANCEL));
  Pump();
}

// The open Print dialogs (GTK's own windows), each with the window it belongs to.
std::vector<GtkWindow*> PrintDialogs() {
  std::vector<GtkWindow*> dialogs;
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item; item = item->next)
    if (G_TYPE_CHECK_INSTANCE_TYPE(item->data, GTK_TYPE_PRINT_UNIX_DIALOG) &&
        gtk_widget_get_visible(GTK_WIDGET(item->data)))
      dialogs.push_back(GTK_WINDOW(item->data));
  g_list_free(toplevels);
  return dialogs;
}

void CancelPrintDialogs() {
  for (GtkWindow* dialog : PrintDialogs())
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  PumpUntil([] { return PrintDialogs().empty(); });
  Pump();
}

// A command line of exactly `length` characters: an edit of Code-128 data.
std::string CommandOfLength(size_t length) {
  std::string command = "edit Code-128 ";
  command.append(length - command.size(), 'A');
  return command;
}

RunResult Script(const std::string& command, const char* event = "AUTO") {
  return SendToProgram({"action", "org.veltrix.BarCode", event, VariantText(command)});
}

std::string ClipboardFile(const std::string& type, const std::string& path) {
  const RunResult r = RunProgram({"xclip", "-selection", "clipboard", "-o", "-t", type});
  if (r.status != 0) return {};
  WriteBytes(path, r.out);
  return path;
}

// The window titles on the screen: `Veltrix BarCode` and its numbered followers.
std::string DocumentTitle(int number) {
  std::string title = "Veltrix BarCode";
  if (number > 1) title.append(" ").append(std::to_string(number));
  return title;
}

bool OnScreen(const std::string& title) {
  const std::vector<std::string> titles = ScreenWindowTitles();
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

// What a scanner reads off the screen once the newest window has drawn.
std::vector<std::string> ReadScreen(const std::string& formats) {
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const std::string shot = GrabScreen(TestTempDir() + "/screen.png");
  return shot.empty() ? std::vector<std::string>{} : ZXingRead(RasterizeOnWhite(shot, 2), formats);
}

} // namespace

TEST_F(ScriptTest, MalformedCommandsOpenNothing) {
  const std::string malformed[] = {
      "",
      "edit",
      "edit ",
      "edit E",                    // no blank in the request
      "edit EAN-13",               // the same
      "xxxx EAN-13 501234567890",  // unknown action
      "EDIT EAN-13 501234567890",  // actions are compared case-sensitively
      "edi EAN-13 501234567890",   // the action is "edi " and the request "AN-13 ..."
      "edit EAN13 501234567890",   // not a catalogue name
      "edit ean-13 501234567890",  // names are case-sensitive too
      "edit  EAN-13 501234567890", // the request starts with a blank: an empty name
      CommandOfLength(kScriptMaxCharacters + 1),
  };
  for (const std::string& command : malformed) {
    SCOPED_TRACE(command.substr(0, 40));
    ProcessAEScript(command);
    Pump();
    EXPECT_TRUE(WindowListDocuments().empty());
    EXPECT_EQ(FindAlert(), nullptr);
  }
}

TEST_F(ScriptTest, CommandsOpenAWindowWithTheirRequest) {
  struct Case {
    std::string command;
    Request want;
  };
  const Case cases[] = {
      {"edit EAN-13 501234567890 12", {kBarCodeEAN13, "501234567890", "12"}},
      {"edit EAN-13 501234567890", {kBarCodeEAN13, "501234567890", ""}},
      {"edit EAN-13 501234567890 12 extra", {kBarCodeEAN13, "501234567890", "12"}},
      {"edit Code-128 HELLO WORLD 42", {kBarCodeCode128, "HELLO WORLD 42", ""}},
      {"edit-EAN-8 1234567", {kBarCodeEAN8, "1234567", ""}},
      {"edit\u00E9UPC-A 03600029145", {kBarCodeUPCA, "03600029145", ""}},
      {"edit ISBN 978-3-16-148410 90000", {kBarCodeISBN, "978-3-16-148410", "90000"}},
      {"edit QRCode Gr\u00FC\u00DFe \u65E5", {kBarCodeQRCode, "Gr\u00FC\u00DFe \u65E5", ""}},
      {CommandOfLength(kScriptMaxCharacters),
       {kBarCodeCode128, std::string(kScriptMaxCharacters - 14, 'A'), ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.substr(0, 40));
    const size_t before = WindowListDocuments().size();
    ProcessAEScript(c.command);
    ASSERT_EQ(WindowListDocuments().size(), before + 1);
    EXPECT_EQ(Shown(*Newest()), c.want);
    EXPECT_EQ(DialogTitle(*Newest()), ""); // edit only opens the window
  }
}

TEST_F(ScriptTest, EachActionCarriesOutItsCommand) {
  struct Case {
    const char* action;
    const char* dialog;
  };
  const Case cases[] = {
      {"text", "Save File\u2026"},         {"save", "Save File As\u2026"},
      {"epsf", "Save EPS File as\u2026"},  {"pdff", "Save PDF File as\u2026"},
      {"tiff", "Save TIFF File as\u2026"}, {"pngf", "Save PNG File as\u2026"},
      {"pict", "Save PICT File as\u2026"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    ProcessAEScript(std::string(c.action) + " EAN-13 501234567890 12");
    Gtk::Window* window = Newest();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Shown(*window), (Request{kBarCodeEAN13, "501234567890", "12"}));
    EXPECT_EQ(DialogTitle(*window), c.dialog);
    CancelDialog(*window);
    // Data that cleaning empties gets the alert instead of the dialog.
    ProcessAEScript(std::string(c.action) + " EAN-13 abc");
    Pump();
    EXPECT_EQ(DialogTitle(*Newest()), "");
    Gtk::MessageDialog* alert = FindAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->property_text().get_value(),
              "Sorry, please enter some valid BarCode data first!");
    alert->response(0);
    Pump();
    CloseAllWindows();
  }
}

TEST_F(ScriptTest, TheApplicationActionsTakeTheCommandAsText) {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (const char* event : {"AUTO", "BARC"}) {
    SCOPED_TRACE(event);
    EXPECT_EQ(app->get_action_parameter_type(event).get_string(), "s");
    app->activate_action(event, Glib::Variant<Glib::ustring>::create("edit EAN-8 1234567"));
    Pump();
    ASSERT_NE(Newest(), nullptr);
    EXPECT_EQ(Shown(*Newest()), (Request{kBarCodeEAN8, "1234567", ""}));
    CloseAllWindows();
  }
  EXPECT_EQ(app->get_action_parameter_type("pdoc").get_string(), "as");
  // A parameter that is not text goes back as an error and opens nothing.
  EXPECT_EQ(HandleAEScript(Glib::Variant<int>::create(3)), kScriptNotText);
  EXPECT_EQ(HandleAEScript(Glib::VariantBase()), kScriptNotText);
  EXPECT_TRUE(WindowListDocuments().empty());
}

TEST_F(ScriptTest, TheOpenRequestOpensEachGoodFileInOrder) {
  const std::string dir = TestTempDir();
  WriteBytes(dir + "/a.vbc", "\xC7"
                             "EAN-8 1234567\xC8");
  WriteBytes(dir + "/b.vbc", "\xC7XYZ 1\xC8");
  WriteBytes(dir + "/c.txt", "]E412345670");
  const std::vector<Glib::RefPtr<Gio::File>> files = {
      Gio::File::create_for_path(dir + "/a.vbc"),
      Gio::File::create_for_path(dir + "/b.vbc"),
      Gio::File::create_for_path(dir + "/missing.vbc"),
      Gio::File::create_for_uri("https://www.veltrix-barcode.example/a.vbc"),
      nullptr,
      Gio::File::create_for_path(dir + "/c.txt"),
  };
  HandleAEOpenDoc(files);
  std::vector<Gtk::Window*> windows = WindowListDocuments();
  ASSERT_EQ(windows.size(), 2u);
  std::sort(windows.begin(), windows.end(), [](Gtk::Window* a, Gtk::Window* b) {
    return WinDataGet(*a)->number < WinDataGet(*b)->number;
  });
  EXPECT_EQ(Shown(*windows[0]), (Request{kBarCodeEAN8, "1234567", ""}));
  EXPECT_EQ(Shown(*windows[1]), (Request{kBarCodeEAN8, "12345670", ""}));
}

TEST_F(ScriptTest, ThePrintActionAndThePrintRequestShowThePrintDialog) {
  const std::string dir = TestTempDir();
  WriteBytes(dir + "/a.vbc", "\xC7"
                             "EAN-8 1234567\xC8");
  WriteBytes(dir + "/b.vbc", "\xC7XYZ 1\xC8");
  WriteBytes(dir + "/c.txt", "]E412345670");
  const std::vector<Glib::ustring> files = {dir + "/a.vbc", "", dir + "/b.vbc",
                                            dir + "/missing.vbc", "file://" + dir + "/c.txt"};
  ApplGet()->activate_action("pdoc", Glib::Variant<std::vector<Glib::ustring>>::create(files));
  ASSERT_TRUE(PumpUntil([] { return PrintDialogs().size() == 2; }));
  std::vector<Gtk::Window*> windows = WindowListDocuments();
  ASSERT_EQ(windows.size(), 2u);
  for (Gtk::Window* window : windows) {
    EXPECT_TRUE(WinDataGet(*window)->printJob);
    const std::vector<GtkWindow*> dialogs = PrintDialogs();
    EXPECT_EQ(std::count_if(dialogs.begin(), dialogs.end(),
                            [&](GtkWindow* dialog) {
                              return gtk_window_get_transient_for(dialog) == window->gobj();
                            }),
              1);
  }
  CancelPrintDialogs();
  CloseAllWindows();
  ProcessAEScript("prnt UPC-A 03600029145");
  ASSERT_TRUE(PumpUntil([] { return PrintDialogs().size() == 1; }));
  ASSERT_NE(Newest(), nullptr);
  EXPECT_EQ(Shown(*Newest()), (Request{kBarCodeUPCA, "03600029145", ""}));
  EXPECT_EQ(gtk_window_get_transient_for(PrintDialogs().front()), Newest()->gobj());
  CancelPrintDialogs();
}

TEST(ScriptOverDBus, CommandsReachTheRunningProgram) {
  RunningProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(1)));
  // (gapplication list-actions would need the installed desktop entry.)
  const RunResult actions =
      RunProgram({"gdbus", "call", "--session", "--dest", "org.veltrix.BarCode", "--object-path",
                  "/org/veltrix/BarCode", "--method", "org.gtk.Actions.List"});
  for (const char* name : {"'AUTO'", "'BARC'", "'pdoc'", "'quit'"})
    EXPECT_NE(actions.out.find(name), std::string::npos) << name << actions.out;
  for (const std::string& command :
       {std::string("edit"), std::string("xxxx EAN-13 501234567890"),
        std::string("edit EAN13 501234567890"), std::string("edit EAN-13"),
        CommandOfLength(kScriptMaxCharacters + 1)})
    EXPECT_EQ(Script(command).status, 0) << command.substr(0, 40);
  // A parameter that is not text goes back to the sender as an error.
  for (const std::vector<std::string>& parameter :
       {std::vector<std::string>{"3"}, std::vector<std::string>{}}) {
    std::vector<std::string> args = {"action", "org.veltrix.BarCode", "AUTO"};
    args.insert(args.end(), parameter.begin(), parameter.end());
    const RunResult sent = SendToProgram(args);
    EXPECT_NE(sent.status, 0);
    EXPECT_NE(sent.err.find("InvalidArgs"), std::string::npos) << sent.err;
  }
  // The next window is number 2: none of the malformed commands opened one.
  ASSERT_EQ(Script("edit EAN-13 501234567890 12").status, 0);
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(2)));
  EXPECT_EQ(ReadScreen("EAN13"), std::vector<std::string>{Ean13("501234567890") + " 12"});
  // The clipboard command; BARC is the same as AUTO, and the separator can be anything.
  ASSERT_EQ(Script("clip-EAN-8 1234567", "BARC").status, 0);
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(3)));
  const std::string pdf = ClipboardFile("application/pdf", TestTempDir() + "/clip.pdf");
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf), "EAN8"), std::vector<std::string>{"12345670"});
  EXPECT_FALSE(OnScreen(DocumentTitle(4)));
  // Quit ends the program at once, windows and all.
  EXPECT_EQ(SendToProgram({"action", "org.veltrix.BarCode", "quit"}).status, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(ScriptOverDBus, SaveActionsOpenTheirDialogs) {
  RunningProgram program;
  ASSERT_TRUE(program.Started());
  const std::pair<const char*, const char*> actions[] = {
      {"text", "Save File\u2026"},         {"save", "Save File As\u2026"},
      {"epsf", "Save EPS File as\u2026"},  {"pdff", "Save PDF File as\u2026"},
      {"tiff", "Save TIFF File as\u2026"}, {"pngf", "Save PNG File as\u2026"},
      {"pict", "Save PICT File as\u2026"},
  };
  for (const auto& [action, title] : actions) {
    SCOPED_TRACE(action);
    ASSERT_EQ(Script(std::string(action) + " EAN-13 501234567890 12").status, 0);
    EXPECT_TRUE(WaitForWindowTitle(title));
  }
  // Quit does not wait for the open dialogs.
  EXPECT_EQ(SendToProgram({"action", "org.veltrix.BarCode", "quit"}).status, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(ScriptOverDBus, OpenRequestsOpenTheGoodFiles) {
  const std::string dir = TestTempDir();
  WriteBytes(dir + "/bad.vbc", "\xC7"
                               "EAN-8 1234567");
  WriteBytes(dir + "/empty.vbc", "");
  const std::string eps = dir + "/made.eps";
  ASSERT_EQ(RunCli({"-type", "EAN-13", "-data", "501234567890", "-addon", "12", "-action", "epsf",
                    "-output", eps})
                .status,
            0);
  RunningProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(1)));
  const RunResult launch = SendToProgram({"launch", "org.veltrix.BarCode", dir + "/bad.vbc",
                                          dir + "/empty.vbc", dir + "/missing.vbc", eps});
  EXPECT_EQ(launch.status, 0) << launch.err;
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(2)));
  EXPECT_EQ(ReadScreen("EAN13"), std::vector<std::string>{Ean13("501234567890") + " 12"});
  EXPECT_FALSE(OnScreen(DocumentTitle(3)));
}

TEST(ScriptOverDBus, PrintRequestsOpenThenPrint) {
  const std::string dir = TestTempDir();
  WriteBytes(dir + "/good.vbc", "\xC7"
                                "EAN-8 1234567\xC8");
  WriteBytes(dir + "/bad.vbc", "\xC7XYZ 1\xC8");
  RunningProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(1)));
  std::string list = "[";
  list.append(VariantText(dir + "/bad.vbc")).append(", ").append(VariantText(dir + "/good.vbc"));
  list += "]";
  const RunResult sent = SendToProgram({"action", "org.veltrix.BarCode", "pdoc", list});
  EXPECT_EQ(sent.status, 0) << sent.err;
  EXPECT_TRUE(WaitForWindowTitle(DocumentTitle(2)));
  EXPECT_TRUE(WaitForWindowTitle("Print"));
  EXPECT_FALSE(OnScreen(DocumentTitle(3)));
  // The script's print action shows the dialog for its new window.
  ASSERT_EQ(Script("prnt UPC-A 03600029145").status, 0);
  EXPECT_TRUE(WaitForWindowTitle(DocumentTitle(3)));
  EXPECT_TRUE(PumpUntil(
      [] {
        const std::vector<std::string> titles = ScreenWindowTitles();
        return std::count(titles.begin(), titles.end(), "Print") == 2;
      },
      10000));
  EXPECT_EQ(SendToProgram({"action", "org.veltrix.BarCode", "quit"}).status, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(ScriptOverDBus, FilesOnTheCommandLineOpenAsDocuments) {
  const std::string dir = TestTempDir();
  WriteBytes(dir + "/good.vbc", "\xC7"
                                "EAN-13 400638133393\xC8");
  WriteBytes(dir + "/bad.vbc", "\xC7XYZ 1\xC8");
  {
    RunningProgram program({dir + "/good.vbc"});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitForWindowTitle(DocumentTitle(1)));
    EXPECT_EQ(ReadScreen("EAN13"), std::vector<std::string>{Ean13("400638133393")});
    EXPECT_FALSE(OnScreen(DocumentTitle(2))); // no empty window besides the document
    EXPECT_EQ(SendToProgram({"action", "org.veltrix.BarCode", "quit"}).status, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
  }
  // Nothing to open: no window, and the program ends by itself.
  RunningProgram program({dir + "/bad.vbc", dir + "/missing.vbc"}, false);
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_FALSE(OnScreen(DocumentTitle(1)));
}

// Command lines put together from pieces and random bytes: each opens one window or none.
TEST_F(ScriptTest, AnyTextIsParsedWithoutHarm) {
  std::mt19937 random(1312);
  const std::vector<std::string> pieces = {"edit",
                                           "clip",
                                           "xxxx",
                                           " ",
                                           "-",
                                           "EAN-13",
                                           "Code-128",
                                           "UPC-A",
                                           "501234567890",
                                           "12",
                                           "\u00E9",
                                           "\xFF",
                                           std::string(1, '\0')};
  for (int run = 0; run < 500; ++run) {
    std::string text;
    for (int p = static_cast<int>(random() % 8); p > 0; --p) {
      if (random() % 2)
        text += pieces[random() % pieces.size()];
      else
        for (int n = static_cast<int>(random() % 4); n > 0; --n)
          text += static_cast<char>(random() % 256);
    }
    ProcessAEScript(text);
    EXPECT_LE(WindowListDocuments().size(), 1u);
    // A clipboard command on data that cleaning empties leaves its alert: answer it.
    if (Gtk::MessageDialog* alert = FindAlert()) alert->response(0);
    CloseAllWindows();
  }
}
