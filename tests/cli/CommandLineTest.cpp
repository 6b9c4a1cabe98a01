// The command-line tool: its runs (tests/data/cli.tsv), the notices it prints (notices.tsv) and
// its scan of the arguments (scan.tsv).
#include "cli/CommandLine.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <sstream>

TEST(CommandLine, RunsExitWithTheirStatusAndLeaveOnlyWholeFiles) {
  for (const TableRow& row : ReadTable("cli.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string dir = TestTempDir();
    const auto shell = [&](const char* column) {
      if (!row.Raw(column).empty()) {
        EXPECT_EQ(RunProgram({"sh", "-c", row.Text(column)}, {}, dir).status, 0) << column;
      }
    };
    shell("before");
    std::vector<std::string> argv = row.List("args", ' ');
    argv.insert(argv.begin(), CliPath());
    const RunResult run = RunProgram(argv, {"HOME=" + dir, "DISPLAY=", "WAYLAND_DISPLAY="}, dir);
    EXPECT_EQ(run.status, row.Int("status")) << run.err;
    std::string out = row.Text("stdout"); // "@name": the file of that name in tests/data
    if (out.starts_with("@")) out = ReadFileBytes(VX_TEST_DATA_DIR "/" + out.substr(1));
    EXPECT_TRUE(out.empty() || run.out == out) << run.out;
    EXPECT_NE(run.err.find(row.Text("stderr")), std::string::npos) << run.err;
    // One line says why a run failed; each notice is a warning line of its own.
    std::istringstream lines(run.err);
    int reasons = 0;
    for (std::string line; std::getline(lines, line);)
      reasons += line.find(": warning: ") == std::string::npos;
    EXPECT_LE(reasons, 1) << "one line: " << run.err;
    EXPECT_TRUE(run.err.empty() || run.err.ends_with('\n')) << run.err;
    for (const std::string& file : row.List("files", ' '))
      EXPECT_EQ(FileExists(dir + "/" + file.substr(file[0] == '!')), file[0] != '!') << file;
    shell("after");
  }
}

// notices.tsv: every notice of a request as a warning, none for clean data, and the file written;
// under -strict 1 a refusal without a file exactly where there are notices.
TEST(CommandLine, NoticesWarnAndStrictRefuses) {
  for (const TableRow& row : ReadTable("notices.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    std::vector<std::string> notices = row.List("notices");
    std::erase(notices, "");
    std::string warnings;
    for (const std::string& notice : notices)
      warnings += "VeltrixBarCode: warning: " + notice + "\n";
    const std::string dir = TestTempDir();
    const std::vector<std::string> request{"-type",  row.Raw("type"),   "-data",   row.Text("data"),
                                           "-addon", row.Text("addon"), "-action", "epsf"};
    std::vector<std::string> args = request;
    args.insert(args.end(), {"-output", dir + "/a.eps"});
    const RunResult run = RunCli(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, warnings);
    EXPECT_TRUE(FileExists(dir + "/a.eps"));
    args = request;
    args.insert(args.end(), {"-strict", "1", "-output", dir + "/b.eps"});
    const RunResult strict = RunCli(args);
    EXPECT_EQ(strict.status, notices.empty() ? 0 : 1);
    EXPECT_EQ(FileExists(dir + "/b.eps"), notices.empty());
    for (const std::string& notice : notices)
      EXPECT_NE(strict.err.find("refused under -strict 1: " + notice), std::string::npos);
  }
}

TEST(CommandLine, ScanFillsTheRun) {
  const std::string home = getenv("HOME");
  setenv("HOME", "/home/tester", 1);
  for (const TableRow& row : ReadTable("scan.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    std::vector<std::string> args = row.List("args", ' ');
    args.insert(args.begin(), "VeltrixBarCode");
    CommandLineRun run;
    CommandLineScan(args, run);
    const BarCodeDataRec& rec = run.rec;
    const std::pair<const char*, std::string> fields[] = {
        {"symbology", std::to_string(rec.symbology)},
        {"data", *rec.data},
        {"action", run.action ? FourCharString(run.action) : "0"},
        {"position", std::to_string(rec.position)},
        {"invalid", run.invalid},
        {"scale", std::to_string(rec.scale)},
        {"trim", std::to_string(rec.trim)},
        {"antialiasOff", std::to_string(rec.antialiasOff)},
        {"fontSmoothOff", std::to_string(rec.fontSmoothOff)},
        {"output", run.output},
        {"strict", std::to_string(run.strict)},
        {"verify", std::to_string(run.verify)}};
    for (const auto& [field, value] : fields)
      EXPECT_TRUE(row.Raw(field).empty() || value == row.Text(field)) << field << ": " << value;
    BarCodeDataRecRelease(&run.rec);
  }
  setenv("HOME", home.c_str(), 1);
}
