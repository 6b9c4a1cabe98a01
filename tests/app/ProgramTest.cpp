// The program started as users start it, on its own: the documents on its command line scanned
// off the screen, the first start's author, one instance taking later launches, and the commands
// and requests other programs send it over D-Bus.
#include "app/Harness.h"

// An action sent to the running program with `gapplication`, as scripts send it.
static RunResult Send(const std::string& action, const std::string& parameter = {}) {
  Cells argv = {"gapplication", "action", "org.veltrix.BarCode", action};
  if (!parameter.empty()) argv.push_back(parameter);
  return RunProgram(argv);
}

TEST(ProgramTest, TheProgramRunsAsUsersRunIt) {
  const std::string dir = TestTempDir();
  DataFileWriteBytes(dir + "/good.vbc", "\xC7"
                                        "EAN-13 400638133393\xC8");
  DataFileWriteBytes(dir + "/bad.vbc", "\xC7XYZ 1\xC8");
  DataFileWriteBytes(dir + "/eight.vbc", "\xC7"
                                         "EAN-8 1234567\xC8");
  RunningProgram refused({dir + "/bad.vbc", dir + "/missing.vbc"}); // with nothing to open
  EXPECT_EQ(refused.WaitForExit(), 0) << "it ends by itself";
  RunningProgram program({dir + "/good.vbc", dir + "/bad.vbc"});
  ASSERT_TRUE(program.started);
  ASSERT_TRUE(WaitForScreenTitle("good.vbc")); // a document's window is titled by its name
  EXPECT_EQ(ReadScreen("EAN13"), Cells{"4006381333931"});
  g_autofree gchar* author = g_variant_print(g_variant_new_string(g_get_real_name()), FALSE);
  EXPECT_NE(ReadFileBytes(program.config + "/org.veltrix.BarCode/preferences")
                .find(std::string("VLTXAuth=") + author),
            std::string::npos)
      << "the first start stores the user's full name";

  // A second launch hands its file to the running program and leaves.
  const RunResult second = RunProgram({"timeout", "60", VX_APP_PATH, dir + "/eight.vbc"},
                                      {"XDG_CONFIG_HOME=" + program.config});
  EXPECT_EQ(second.status, 0) << second.err;
  ASSERT_TRUE(WaitForScreenTitle("eight.vbc"));
  EXPECT_EQ(ReadScreen("EAN8"), Cells{"12345670"});

  // Script commands: malformed ones open nothing; a parameter that is not text goes back refused.
  for (const char* command : {"'edit'", "'xxxx EAN-13 501234567890'", "'edit EAN13 5012345678'"})
    EXPECT_EQ(Send("AUTO", command).status, 0) << command;
  EXPECT_NE(Send("AUTO", "3").err.find("InvalidArgs"), std::string::npos);
  ASSERT_EQ(Send("AUTO", "'edit Code-128 HELLO WORLD 42'").status, 0);
  ASSERT_TRUE(WaitForScreenTitle("Veltrix BarCode 3"));
  EXPECT_EQ(ReadScreen("Code128"), Cells{"HELLO WORLD 42"});

  // The clipboard command, sent as the other event with another separator, leaves a PDF there.
  ASSERT_EQ(Send("BARC", "'clip-EAN-8 1234567'").status, 0);
  ASSERT_TRUE(WaitForScreenTitle("Veltrix BarCode 4"));
  const std::string pdf = ReadClipboard("application/pdf", dir + "/clip.pdf");
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf), "EAN8"), Cells{"12345670"});

  // The print request opens each good file and shows its Print dialog; quit ends it at once.
  EXPECT_EQ(Send("pdoc", "['" + dir + "/bad.vbc', '" + dir + "/good.vbc']").status, 0);
  EXPECT_TRUE(WaitForScreenTitle("Print"));
  EXPECT_EQ(std::ranges::count(ScreenTitles(), "good.vbc"), 2) << "one window each";
  EXPECT_EQ(Send("quit").status, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}
