// Script command lines. A command accepted names a window command, and its request, written back
// as a command line, parses to the same request; in a window and saved as a document, it opens
// again as the same request.
#include "Fuzz.h"

#include "app/ScriptCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FuzzRecord rec;
  std::string_view command;
  if (!ParseAEScript(text, &rec, command)) return FUZZ_CHECK(command.empty()), 0;
  FUZZ_CHECK(command.size() == 4 && rec.symbology >= 1 && rec.symbology <= kBarCodeCount);
  std::string again = Utf8Encode(Utf8Decode(text).substr(0, 5));
  BarCodeSymName(again, static_cast<int16_t>(rec.symbology));
  again += " " + *rec.data + (rec.addon->empty() ? "" : " " + *rec.addon);
  FuzzRecord back;
  std::string_view backCommand;
  FUZZ_CHECK(ParseAEScript(again, &back, backCommand) && backCommand == command);
  FUZZ_CHECK(back.SameRequest(rec));
  FuzzCheckReadBack(rec, OutputFileSave, "a.vbc");
  return 0;
}
