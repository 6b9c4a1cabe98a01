// The batch file reader. Any bytes, in any chunks, read without a crash and give no more rows
// than they have lines. And rows written by a CSV writer (the input's fields, split at NUL bytes,
// so many to a row) read back as exactly those rows: none lost, none invented, none changed.
// The first two bytes choose the separator, the fields a row, the line end, a byte-order mark and
// the size of the chunks the reader is handed.
#include "Fuzz.h"

#include "batch/BatchCSV.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The rows of the bytes as a batch reads them, header first; the bytes come `chunk` at a time.
Rows Read(std::string_view bytes, std::string_view name, size_t chunk, size_t& malformed) {
  BatchCSV csv;
  csv.fill = [&bytes, chunk](char* to, size_t size) {
    const size_t n = std::min({size, chunk, bytes.size()});
    std::memcpy(to, bytes.data(), n);
    bytes.remove_prefix(n);
    return static_cast<std::ptrdiff_t>(n);
  };
  Rows rows(1);
  if (!BatchCSVHeader(csv, name, rows[0])) return {};
  std::string problem;
  for (rows.emplace_back(); BatchCSVRead(csv, rows.back(), problem); rows.emplace_back())
    malformed += !problem.empty();
  rows.pop_back();
  return rows;
}

// A field as a CSV writer puts it: in quotes when it holds a separator, a quote or a line end,
// when it starts as a byte-order mark would, or when it is a row's only field and empty (else
// the row would be an empty line).
std::string Written(const std::string& field, char separator, bool alone) {
  const bool quoted =
      field.find_first_of(std::string{separator, '\t', '"', '\r', '\n'}) != std::string::npos ||
      field.starts_with("\xEF\xBB\xBF") || (alone && field.empty());
  if (!quoted) return field;
  std::string out = "\"";
  for (char c : field)
    out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char separator = (data[0] & 1) ? '\t' : ',';
  const size_t columns = 1 + (data[0] >> 1) % 6;
  const std::string_view lineEnd = std::array{"\n", "\r\n", "\r"}[(data[0] >> 4) % 3];
  const bool mark = data[1] & 1;
  const size_t chunk = 1 + (data[1] >> 1) * 3;
  const std::string_view name = separator == '\t' ? "rows.tsv" : "rows.csv";
  const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);

  size_t malformed = 0;
  const Rows raw = Read(input, name, chunk, malformed);
  FUZZ_CHECK(raw.size() <=
             1 + static_cast<size_t>(std::count_if(input.begin(), input.end(),
                                                   [](char c) { return c == '\r' || c == '\n'; })));
  for (const std::vector<std::string>& row : raw) {
    size_t bytes = 0;
    for (const std::string& field : row)
      bytes += field.size();
    FUZZ_CHECK(bytes <= input.size());
  }

  Rows rows;
  for (FuzzFields in(data + 2, size - 2); !in.done;) {
    if (rows.empty() || rows.back().size() == columns) rows.emplace_back();
    rows.back().emplace_back(in.Next());
  }
  rows.back().resize(columns);
  std::string csv = mark ? "\xEF\xBB\xBF" : "";
  for (const std::vector<std::string>& row : rows) {
    for (size_t k = 0; k < row.size(); ++k)
      csv += (k ? std::string(1, separator) : "") + Written(row[k], separator, columns == 1);
    csv += lineEnd;
  }
  malformed = 0;
  FUZZ_CHECK(Read(csv, name, chunk, malformed) == rows);
  FUZZ_CHECK(malformed == 0);
  return 0;
}
