// Batches: the file reader (tests/data/batch_csv.tsv), runs of the tool (batch.tsv), a batch of
// every symbology read back from its files and from the pages of one PDF, and a stop midway.
#include "batch/BatchCSV.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

std::string Fields(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields)
    text += "[" + field + "]";
  return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(Batch, ReaderSplitsRowsAndFields) {
  for (const TableRow& row : ReadTable("batch_csv.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string input = row.Text("input");
    for (size_t chunk : {size_t{1}, size_t{1} << 20}) {
      size_t at = 0;
      BatchCSV csv;
      csv.fill = [&](char* to, size_t size) {
        const size_t n = std::min({size, chunk, input.size() - at});
        std::memcpy(to, input.data() + at, n);
        at += n;
        return static_cast<std::ptrdiff_t>(n);
      };
      std::vector<std::string> fields;
      std::string problem, rows;
      const bool header =
          BatchCSVHeader(csv, row.Raw("name") == "-" ? "" : row.Raw("name"), fields);
      EXPECT_EQ(header ? Fields(fields) : "!none", row.Text("header"));
      while (header && BatchCSVRead(csv, fields, problem))
        rows += (rows.empty() ? "" : "\n") + (problem.empty() ? Fields(fields) : "!" + problem);
      EXPECT_EQ(rows, row.Text("rows")) << "chunks of " << chunk;
    }
  }
}

TEST(Batch, RunsWriteTheirRowsAndReportTheOthers) {
  for (const TableRow& row : ReadTable("batch.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string dir = TestTempDir(), name = row.Raw("name");
    const std::string file = dir + "/" + (name == "-" ? "stdin" : name);
    if (!row.Raw("csv").empty()) WriteFile(file, row.Text("csv"));
    std::vector<std::string> argv{CliPath(), "-batch", name};
    for (const std::string& arg : row.List("args", ' '))
      argv.push_back(arg);
    if (row.Int("terminal") == 1) {
      std::string command;
      for (const std::string& arg : argv)
        command += ShellQuoted(arg) + " ";
      argv = {"script", "-qec", command, "/dev/null"};
    }
    const RunResult run = RunProgram(argv, {"HOME=" + dir}, dir, name == "-" ? file : "/dev/null");
    EXPECT_EQ(run.status, row.Int("status")) << run.err;
    for (const std::string& part : row.List("stderr")) {
      const bool absent = part.starts_with('!');
      EXPECT_EQ((run.out + run.err).find(part.substr(absent)) == std::string::npos, absent)
          << part << " in " << run.err;
    }
    for (const std::string& made : row.List("files", ' '))
      EXPECT_EQ(FileExists(dir + "/" + made.substr(made[0] == '!')), made[0] != '!') << made;
  }
}

// The first row of each symbology in readback.tsv, as one batch of PNG files and as one PDF:
// every file and every page reads as the table says.
TEST(Batch, EverySymbologyReadsBackFromItsFileAndItsPage) {
  std::vector<TableRow> rows;
  std::set<std::string> types;
  for (const TableRow& row : ReadTable("readback.tsv"))
    if (types.insert(row.Raw("type")).second) rows.push_back(row);
  // Each option becomes a column; a row without it leaves its cell empty.
  std::vector<std::string> columns{"type", "data"};
  std::vector<std::map<std::string, std::string>> cells;
  for (const TableRow& row : rows) {
    cells.push_back({{"type", row.Raw("type")}, {"data", row.Text("data")}});
    const std::vector<std::string> options = row.List("options", ' ');
    for (size_t k = 0; k + 1 < options.size(); k += 2) {
      cells.back()[options[k].substr(1)] = options[k + 1];
      if (std::find(columns.begin(), columns.end(), options[k].substr(1)) == columns.end())
        columns.push_back(options[k].substr(1));
    }
  }
  std::string csv;
  for (size_t k = 0; k < columns.size(); ++k)
    csv += (k ? "," : "") + columns[k];
  for (auto& row : cells)
    for (size_t k = 0; k < columns.size(); ++k) {
      std::string field = row[columns[k]];
      for (size_t at = 0; (at = field.find('"', at)) != std::string::npos; at += 2)
        field.insert(at, "\"");
      csv += (k ? ",\"" : "\n\"") + field + "\"";
    }
  const std::string dir = TestTempDir();
  WriteFile(dir + "/rows.csv", csv + "\n");
  const RunResult files =
      RunCli({"-batch", "rows.csv", "-action", "pngf", "-output", "png/{type}.png"}, dir);
  EXPECT_EQ(files.status, 0) << files.err;
  const RunResult pages =
      RunCli({"-batch", "rows.csv", "-action", "pdff", "-output", "all.pdf"}, dir);
  EXPECT_EQ(pages.status, 0) << pages.err;
  const std::string info = RunProgram({"pdfinfo", dir + "/all.pdf"}).out;
  EXPECT_NE(info.find("Pages:           " + std::to_string(rows.size()) + "\n"), std::string::npos);
  RunProgram({"pdfseparate", dir + "/all.pdf", dir + "/page-%d.pdf"});
  for (size_t k = 0; k < rows.size(); ++k) {
    SCOPED_TRACE(testing::PrintToString(rows[k]));
    ExpectFileReadsAs(dir + "/png/" + rows[k].Raw("type") + ".png", rows[k]);
    ExpectFileReadsAs(dir + "/page-" + std::to_string(k + 1) + ".pdf", rows[k]);
  }
}

// SIGINT while rows still arrive: the files made are whole, no temporary file is left, and the
// summary says where the batch stopped.
TEST(Batch, InterruptStopsBetweenRows) {
  const std::string dir = TestTempDir();
  const RunResult run = RunProgram(
      {"sh", "-c",
       "mkfifo rows; (echo data; i=100000; while [ $i -lt 101000 ]; do echo 501234$i; "
       "i=$((i+1)); sleep 0.01; done) >rows & \"$0\" -batch rows -type EAN-13 -action pngf "
       "-output 'out/{data}.png' 2>err & n=0; until [ -e out/501234100009.png ] || [ $n -gt 600 ]; "
       "do sleep 0.05; n=$((n+1)); "
       "done; "
       "kill -INT $!; wait $!; echo $?; cat err >&2",
       CliPath()},
      {}, dir);
  EXPECT_EQ(run.out, "1\n");
  EXPECT_NE(run.err.find("stopped after row "), std::string::npos) << run.err;
  size_t written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir + "/out")) {
    const std::string png = ReadFileBytes(entry.path());
    EXPECT_TRUE(png.ends_with(std::string("IEND\xAE\x42\x60\x82", 8))) << entry.path();
    ++written;
  }
  EXPECT_NE(run.err.find(": " + std::to_string(written) + " written, 0 failed"), std::string::npos)
      << run.err;
}
