// Text as barcode scanners type it, opened from a text file: always a request, whose data is a
// piece of the text (or the all-zero main symbol of an add-on read alone), and which, saved as a
// document, opens again as the same request.
#include "Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      MacRomanToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzRecord rec;
  FUZZ_CHECK(BarCodeDataTextValid(text, &rec));
  FUZZ_CHECK(text.find(*rec.data) != std::string::npos || *rec.data == "0000000000000");
  FUZZ_CHECK(text.find(*rec.addon) != std::string::npos);
  FuzzCheckReadBack(rec, OutputFileSave, "a.vbc");
  return 0;
}
