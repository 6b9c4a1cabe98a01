// An EPS file opened as a document: the program's own EPS files (creator comment, meta line)
// open as their request; a request opened, written as EPS and opened again, is the same request.
// The meta line holds control characters as the command line's escapes or "?", so requests with
// them are not compared.
#include "Fuzz.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  uint32_t type = 0, creator = 0;
  DocFileGuessTypeAndCreator("a.eps", bytes, type, creator);
  FUZZ_CHECK(type == FourCharCode("EPSF"));
  FuzzRecord rec;
  if (!DocFileRead(MacRomanToUtf8(bytes), type, creator, &rec)) return 0;
  BarCodeCleanData(&rec);
  if (std::none_of(rec.data->begin(), rec.data->end(), [](unsigned char c) { return c < 0x20; }))
    FuzzCheckReadBack(rec, OutputFileEPSF, "a.eps");
  return 0;
}
