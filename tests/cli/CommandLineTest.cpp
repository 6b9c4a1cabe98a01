// The command-line tool: its runs (tests/data/cli.tsv) and its scan of the arguments (scan.tsv).
#include "cli/CommandLine.h"
#include "services/Services.h"
#include "support/TestSupport.h"

#include <cstdlib>

TEST(CommandLine, RunsExitWithTheirStatusAndLeaveOnlyWholeFiles) {
  for (const TableRow& row : ReadTable("cli.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string dir = TestTempDir();
    std::vector<std::string> argv = row.List("args", ' ');
    argv.insert(argv.begin(), CliPath());
    const RunResult run = RunProgram(argv, {"HOME=" + dir, "DISPLAY=", "WAYLAND_DISPLAY="}, dir);
    EXPECT_EQ(run.status, row.Int("status")) << run.err;
    std::string out = row.Text("stdout"); // "@name": the file of that name in tests/data
    if (out.starts_with("@")) out = ReadFileBytes(VX_TEST_DATA_DIR "/" + out.substr(1));
    EXPECT_TRUE(out.empty() || run.out == out) << run.out;
    EXPECT_NE(run.err.find(row.Text("stderr")), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.empty() ? std::string::npos : run.err.size() - 1)
        << "one line: " << run.err;
    for (const std::string& file : row.List("files", ' '))
      EXPECT_EQ(FileExists(dir + "/" + file.substr(file[0] == '!')), file[0] != '!') << file;
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
        {"output", run.output}};
    for (const auto& [field, value] : fields)
      EXPECT_TRUE(row.Raw(field).empty() || value == row.Text(field)) << field << ": " << value;
    BarCodeDataRecRelease(&run.rec);
  }
  setenv("HOME", home.c_str(), 1);
}
