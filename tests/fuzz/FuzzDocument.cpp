// Opening a file: the first field is the file's name, the rest its bytes. The desktop program
// guesses the type from both and runs the reader the type calls for; a request it opens, saved as
// a document, opens again as the same request.
#include "Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFields in(data, size);
  const std::string_view name = in.Next(), bytes = in.rest;
  uint32_t type = 0, creator = 0;
  DocFileGuessTypeAndCreator(name, bytes, type, creator);
  FuzzRecord rec;
  if (!DocFileRead(MacRomanToUtf8(bytes), type, creator, &rec)) return 0;
  FUZZ_CHECK(rec.symbology >= 1 && rec.symbology <= kBarCodeCount);
  FuzzCheckReadBack(rec, OutputFileSave, "a.vbc");
  return 0;
}
