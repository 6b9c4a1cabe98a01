#include "batch/BatchCSV.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kChunk = 65536;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Keeps the unparsed bytes and reads more after them; false when nothing more came.
bool Refill(BatchCSV& csv) {
  if (csv.ended) return false;
  if (csv.pos > 0) {
    std::memmove(csv.buffer.data(), csv.buffer.data() + csv.pos, csv.end - csv.pos);
    csv.end -= csv.pos;
    csv.pos = 0;
  }
  if (csv.buffer.size() < csv.end + kChunk) csv.buffer.resize(csv.end + kChunk);
  const std::ptrdiff_t got = csv.fill(csv.buffer.data() + csv.end, kChunk);
  if (got <= 0) {
    csv.ended = true;
    csv.failed = got < 0;
    return false;
  }
  csv.end += static_cast<std::size_t>(got);
  return true;
}

int Peek(BatchCSV& csv) {
  if (csv.pos == csv.end && !Refill(csv)) return -1;
  return static_cast<unsigned char>(csv.buffer[csv.pos]);
}

int Get(BatchCSV& csv) {
  const int c = Peek(csv);
  csv.pos += c >= 0;
  return c;
}

// A line end: LF, CR LF or a CR alone (as old Mac spreadsheets write).
bool TakeLineEnd(BatchCSV& csv, int c) {
  if (c == '\r' && Peek(csv) == '\n') Get(csv);
  return c == '\r' || c == '\n';
}

struct Row {
  std::vector<std::string>& fields;
  std::string& problem;
  std::size_t bytes = 0;
  void Add(char c) {
    if (++bytes <= kBatchMaxRowBytes)
      fields.back() += c;
    else if (problem.empty())
      problem = "the row is longer than " + std::to_string(kBatchMaxRowBytes) + " bytes";
  }
};

// A field in quotes, the opening quote taken: "" stands for one quote. False when the input ends
// before the closing quote.
bool QuotedField(BatchCSV& csv, Row& row) {
  for (int c = Get(csv); c >= 0; c = Get(csv)) {
    if (c == '"' && Peek(csv) != '"') return true;
    if (c == '"') Get(csv);
    row.Add(static_cast<char>(c));
  }
  return false;
}

} // namespace

bool BatchCSVRead(BatchCSV& csv, std::vector<std::string>& fields, std::string& problem) {
  fields.clear();
  problem.clear();
  while (Peek(csv) == '\r' || Peek(csv) == '\n')
    Get(csv);
  if (Peek(csv) < 0) return false;
  Row row{fields, problem};
  fields.emplace_back();
  if (Peek(csv) == '"' && (Get(csv), !QuotedField(csv, row))) {
    problem = "a quoted field is not closed";
    return true;
  }
  for (int c = Get(csv); c >= 0 && !TakeLineEnd(csv, c); c = Get(csv)) {
    if (c != csv.separator) {
      row.Add(static_cast<char>(c)); // text after a closing quote is kept, as spreadsheets do
      continue;
    }
    fields.emplace_back();
    if (Peek(csv) == '"' && (Get(csv), !QuotedField(csv, row))) {
      problem = "a quoted field is not closed";
      return true;
    }
  }
  if (csv.failed && problem.empty()) problem = "the file could not be read to its end";
  return true;
}

bool BatchCSVHeader(BatchCSV& csv, std::string_view fileName, std::vector<std::string>& header) {
  // The first line decides the separator; it is read whole before it is parsed.
  std::size_t lineEnd = 0;
  while ((lineEnd = std::string_view(csv.buffer.data(), csv.end).find_first_of("\r\n")) ==
             std::string_view::npos &&
         csv.end < kBatchMaxRowBytes && Refill(csv)) {
  }
  std::string_view first(csv.buffer.data(), std::min(lineEnd, csv.end));
  if (first.starts_with(kByteOrderMark)) {
    csv.pos = kByteOrderMark.size();
    first.remove_prefix(kByteOrderMark.size());
  }
  bool tabs = false, commas = false, quoted = false; // outside quotes: a name may hold either
  for (char c : first) {
    quoted = quoted != (c == '"');
    tabs = tabs || (!quoted && c == '\t');
    commas = commas || (!quoted && c == ',');
  }
  csv.separator = fileName.ends_with(".tsv") || (tabs && !commas) ? '\t' : ',';
  std::string problem;
  return BatchCSVRead(csv, header, problem) && problem.empty();
}

std::string_view BatchCSVUnread(const BatchCSV& csv) {
  return std::string_view(csv.buffer.data() + csv.pos, csv.end - csv.pos);
}
