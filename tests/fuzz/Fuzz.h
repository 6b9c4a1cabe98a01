// What the fuzz targets share: the input split into fields, a scratch folder, and the check that
// ends a run on a broken property.
#pragma once

#include "app/DocFile.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "services/MacRoman.h"
#include "services/Services.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                      \
  ((condition) ? (void)0                                                                           \
               : (std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__),    \
                  std::abort()))

// The input as fields split at NUL bytes, which no argument and no typed text holds; the last
// field takes the rest, NULs included.
struct FuzzFields {
  std::string_view rest;
  bool done = false;
  FuzzFields(const uint8_t* data, size_t size) : rest(reinterpret_cast<const char*>(data), size) {}
  std::string_view Next() {
    const size_t end = std::min(rest.find('\0'), rest.size());
    const std::string_view field = rest.substr(0, end);
    done = end == rest.size();
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return field;
  }
};

// The next number of a blank-separated list, or the fallback when the list has no more. Seeds
// stay valid when a target reads one more number at the end.
template <class Number> Number FuzzNumber(std::string_view& list, Number fallback) {
  list.remove_prefix(std::min(list.find_first_not_of(' '), list.size()));
  Number value = fallback;
  std::from_chars(list.data(), list.data() + list.size(), value);
  list.remove_prefix(std::min(list.find(' '), list.size()));
  return value;
}

// A folder of the run's own, removed when the run ends (after the static objects are gone: the
// name is never destroyed).
inline const std::string& FuzzFolder() {
  static const std::string& folder = *[] {
    auto* path = new std::string(std::filesystem::temp_directory_path() / "vxfuzz-XXXXXX");
    if (!mkdtemp(path->data())) std::abort();
    std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
    return path;
  }();
  return folder;
}

// Every target starts as both programs do. Its scratch folder is also its home and configuration
// folder, and there is no display, so no clipboard.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
    setenv(name, FuzzFolder().c_str(), 1);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  return 0;
}

// A fresh record, released when it goes out of scope.
struct FuzzRecord : BarCodeDataRec {
  FuzzRecord() { BarCodeDataRecCreate(this); }
  FuzzRecord(const FuzzRecord&) = delete;
  ~FuzzRecord() { BarCodeDataRecRelease(this); }
  bool SameRequest(const BarCodeDataRec& other) const {
    return symbology == other.symbology && *data == *other.data && *addon == *other.addon;
  }
};

// The request as a window hands it to the writers (cleaned), written with a document or EPS writer
// and opened as the desktop program opens files: the window shows the same barcode, but for white
// space at the end of the data, which the macro text drops. The save commands refuse empty data;
// a writer may refuse too (text that Mac OS Roman cannot hold, a request that cannot be drawn) and
// then writes nothing.
inline void FuzzCheckReadBack(BarCodeDataRec& rec, decltype(&OutputFileSave) writer,
                              const char* name) {
  BarCodeCleanData(&rec);
  const std::string want = *rec.data; // exactly, blanks at its end included
  if (want.empty()) return;
  const std::string path = FuzzFolder() + "/" + name;
  std::filesystem::remove(path);
  if (writer(path, rec, 0, 0) != OutputResult::Ok) return FUZZ_CHECK(!DataFileExists(path));
  const std::string bytes = DataFileReadBytes(path).value();
  uint32_t type = 0, creator = 0;
  if (FSRefGetTypeAndCreator(path, type, creator) != 0)
    DocFileGuessTypeAndCreator(name, bytes, type, creator);
  FuzzRecord back;
  FUZZ_CHECK(DocFileRead(MacRomanToUtf8(bytes), type, creator, &back));
  BarCodeCleanData(&back);
  FUZZ_CHECK(back.symbology == rec.symbology && *back.addon == *rec.addon);
  FUZZ_CHECK(*back.data == want);
}
