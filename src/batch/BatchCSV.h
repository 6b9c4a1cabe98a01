// The rows of a batch file, read as a stream: comma-separated values as spreadsheets write them
// (fields in double quotes may hold separators, doubled quotes and line ends; CR LF, LF or CR end
// a row), or the same with tabs.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct BatchCSV {
  // Reads up to `size` bytes into `to`: the count, 0 at the end of the input, below 0 on an error.
  std::function<std::ptrdiff_t(char* to, std::size_t size)> fill;
  char separator = ',';
  std::string buffer; // bytes read and not yet parsed are buffer[pos, end)
  std::size_t pos = 0, end = 0;
  bool ended = false;  // fill has said there is no more
  bool failed = false; // fill reported an error
};

// A row longer than this is refused: no field of a request comes near it, and it keeps the
// memory of a batch bounded whatever the file holds.
inline constexpr std::size_t kBatchMaxRowBytes = 65536;

// Reads the header row and chooses the separator: a tab for a file named .tsv, or when the
// header holds tabs and no comma; a comma otherwise. A UTF-8 byte-order mark before it is skipped.
// False when the input holds no header.
bool BatchCSVHeader(BatchCSV& csv, std::string_view fileName, std::vector<std::string>& header);
// Reads the next row into `fields`; false at the end of the input. Empty lines are no rows. A row
// that is not well formed is still returned, with the reason in `problem` (else it is emptied).
bool BatchCSVRead(BatchCSV& csv, std::vector<std::string>& fields, std::string& problem);
// The bytes read from the input but not yet parsed.
std::string_view BatchCSVUnread(const BatchCSV& csv);
