#include "batch/Batch.h"

#include "model/BarCodeDataRec.h"
#include "services/Services.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

struct Placeholder {
  std::string_view name;
  std::string (*value)(const BarCodeDataRec& rec);
};
const std::array<Placeholder, 3> kPlaceholders{{
    {"{data}", [](const BarCodeDataRec& rec) { return *rec.data; }},
    {"{addon}", [](const BarCodeDataRec& rec) { return *rec.addon; }},
    {"{type}",
     [](const BarCodeDataRec& rec) {
       std::string name;
       BarCodeSymName(name, static_cast<int16_t>(rec.symbology));
       return name;
     }},
}};
constexpr std::string_view kRowPlaceholder = "{row}";

// A value as part of a file name: no folder separators and no control characters.
std::string CleanValue(std::string value) {
  DataFileCleanName(value);
  for (char& c : value)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '-';
  return value;
}

// One component of the pattern with its placeholders replaced. A value cannot add a folder; nor
// may it make a component that means this folder or the one above.
std::string FillComponent(std::string_view component, uint64_t row, int rowWidth,
                          const BarCodeDataRec& rec) {
  std::string out;
  bool filled = false;
  for (size_t k = 0; k < component.size();) {
    if (component.substr(k).starts_with(kRowPlaceholder)) {
      const std::string number = std::to_string(row);
      out += std::string(std::max<size_t>(number.size(), rowWidth) - number.size(), '0') + number;
      k += kRowPlaceholder.size();
      filled = true;
      continue;
    }
    const auto* placeholder =
        std::find_if(kPlaceholders.begin(), kPlaceholders.end(),
                     [&](const Placeholder& p) { return component.substr(k).starts_with(p.name); });
    if (placeholder == kPlaceholders.end()) {
      out += component[k++];
      continue;
    }
    out += CleanValue(placeholder->value(rec));
    k += placeholder->name.size();
    filled = true;
  }
  if (filled && (out == "." || out == "..")) out.assign(out.size(), '-');
  return out;
}

bool Insert(std::vector<uint64_t>& slots, uint64_t hash) {
  const size_t mask = slots.size() - 1;
  for (size_t k = hash & mask;; k = (k + 1) & mask) {
    if (slots[k] == hash) return false;
    if (slots[k] != 0) continue;
    slots[k] = hash;
    return true;
  }
}

// Whether the pattern names any of the row's values.
bool HasValue(std::string_view pattern) {
  return std::any_of(kPlaceholders.begin(), kPlaceholders.end(), [&](const Placeholder& p) {
    return pattern.find(p.name) != std::string_view::npos;
  });
}

} // namespace

bool BatchHasPlaceholder(std::string_view pattern) {
  return pattern.find(kRowPlaceholder) != std::string_view::npos || HasValue(pattern);
}

bool BatchNamesByRow(std::string_view pattern) {
  return pattern.find(kRowPlaceholder) != std::string_view::npos && !HasValue(pattern);
}

std::string BatchOutputName(std::string_view pattern, uint64_t row, int rowWidth,
                            const BarCodeDataRec& rec) {
  std::string out;
  for (size_t from = 0; from <= pattern.size();) {
    const size_t slash = std::min(pattern.find('/', from), pattern.size());
    out += FillComponent(pattern.substr(from, slash - from), row, rowWidth, rec);
    if (slash < pattern.size()) out += '/';
    from = slash + 1;
  }
  return out;
}

// An open-addressing set of 64-bit hashes of the absolute names: eight bytes a row, so that a
// batch of millions of rows stays small. Two different names with the same hash (about one chance
// in 30 million for a million rows) would count as one, refusing the second rather than
// overwriting the first.
bool BatchNamesTake(BatchNames& names, const std::string& path) {
  std::string key = path.starts_with('/') ? path : names.folder + "/" + path;
  GetStandardUnixPath(key);
  if (2 * (names.used + 1) > names.slots.size()) {
    std::vector<uint64_t> grown(std::max<size_t>(1024, 2 * names.slots.size()), 0);
    for (uint64_t hash : names.slots)
      if (hash != 0) Insert(grown, hash);
    names.slots.swap(grown);
  }
  if (!Insert(names.slots, std::max<uint64_t>(std::hash<std::string>{}(key), 1))) return false;
  ++names.used;
  return true;
}
