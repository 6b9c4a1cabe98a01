#include "model/BarCodeDataRec.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

struct CatalogueEntry {
  std::string_view name;
  int16_t textVisible;
  int16_t spacesInData;
  int16_t takesAddon;
};

// Indexed by symbology code; entry 0 stands for every code outside the catalogue.
constexpr std::array<CatalogueEntry, kBarCodeCount + 1> kCatalogue{{
    {"", 1, 0, 0},
    {"EAN-13", 1, 0, 1},
    {"EAN-8", 1, 1, 0},
    {"EAN-128", 1, 1, 0},
    {"EAN-14", 1, 1, 0},
    {"EAN-18", 1, 1, 0},
    {"EAN-99", 1, 1, 0},
    {"EAN-Coupon", 1, 1, 0},
    {"UPC-A", 1, 0, 1},
    {"UPC-E", 1, 1, 0},
    {"Code-128", 1, 1, 0}, // 10
    {"Code-93", 1, 1, 0},
    {"Code-39", 1, 1, 0},
    {"Code-25", 1, 1, 0},
    {"UPC-Coupon", 1, 0, 1},
    {"Codabar", 1, 1, 0},
    {"ISSN", 1, 0, 1},
    {"ISBN", 1, 0, 1},
    {"ISMN", 1, 1, 0},
    {"PostNet", 0, 1, 0},
    {"RM4SCC", 0, 1, 0}, // 20
    {"Pharmacode", 1, 1, 0},
    {"MSI", 1, 1, 0},
    {"ITF-SCC", 1, 1, 0},
    {"ITF-14", 1, 1, 0},
    {"Interleaved-25", 1, 1, 0},
    {"QRCode", 1, 1, 0},
    {"PDF417", 1, 1, 0},
}};

const CatalogueEntry& Entry(int16_t code) {
  return (code >= 1 && code <= kBarCodeCount) ? kCatalogue[code] : kCatalogue[0];
}

} // namespace

int BarCodeDataRecCreate(BarCodeDataRec* rec) {
  *rec = BarCodeDataRec{};
  rec->data = std::make_shared<std::string>();
  rec->addon = std::make_shared<std::string>();
  rec->epsText = std::make_shared<std::string>();
  rec->display = std::make_shared<std::string>();
  rec->scale = 100;
  rec->dpi = kBarCodeDefaultDPI;
  return 0;
}

int BarCodeDataRecRelease(BarCodeDataRec* rec) {
  rec->data.reset();
  rec->addon.reset();
  rec->epsText.reset();
  rec->display.reset();
  rec->notices.reset();
  return 0;
}

int32_t BarCodeSymType(std::string_view name) {
  for (int32_t code = 1; code <= kBarCodeCount; ++code)
    if (kCatalogue[code].name == name) return code;
  return 0;
}

int BarCodeSymName(std::string& out, int16_t code) {
  out += Entry(code).name;
  return 0;
}

int16_t BarCodeTextVisible(int16_t code) {
  return Entry(code).textVisible;
}
int16_t BarCodeTextSpaces(int16_t code) {
  return Entry(code).spacesInData;
}
int16_t BarCodeTextAddon(int16_t code) {
  return Entry(code).takesAddon;
}

void BarCodeNote(const BarCodeDataRec& rec, std::string sentence) {
  if (!rec.notices) return;
  // A notice is one line wherever it is shown: control characters of the data in it are written
  // as the escapes -data takes, or as their code.
  std::string line;
  for (const char c : sentence) {
    const auto byte = static_cast<unsigned char>(c);
    char code[8];
    std::snprintf(code, sizeof code, "U+%04X", byte);
    line += byte >= 0x20 && byte != 0x7F ? std::string(1, c)
            : c == '\n'                  ? "\\n"
            : c == '\t'                  ? "\\t"
            : c == '\r'                  ? "\\r"
                                         : code;
  }
  sentence = std::move(line);
  std::vector<std::string>& list = *rec.notices;
  if (std::find(list.begin(), list.end(), sentence) == list.end())
    list.push_back(std::move(sentence));
}
