// An EPS file opened as a document: the program's own EPS files (creator comment, meta line)
// open as their request; a request opened, written as EPS and opened again, is the same request.
#include "Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  uint32_t type = 0, creator = 0;
  DocFileGuessTypeAndCreator("a.eps", bytes, type, creator);
  FUZZ_CHECK(type == FourCharCode("EPSF"));
  FuzzRecord rec;
  if (DocFileRead(MacRomanToUtf8(bytes), type, creator, &rec))
    FuzzCheckReadBack(rec, OutputFileEPSF, "a.eps");
  return 0;
}
