#include "symbologies/EANFrame.h"

#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "model/BarCodeTexts.h"

#include <string>

std::string EANCompleteDigits(std::string_view data, int length) {
  std::string digits(data);
  PadCFStrText(digits, length, "0");
  digits += static_cast<char>('0' + BarCodeCheckSum(digits));
  return digits;
}

std::string EANAddonDigits(std::string_view addon) {
  std::string digits(addon);
  const size_t n = Utf8Length(digits);
  if (n == 0 || n >= 6) return {};
  PadCFStrText(digits, n <= 2 ? 2 : 5, "0");
  return digits;
}

int EANAddonIncrement(std::string_view addonDigits) {
  if (addonDigits.empty()) return 0;
  return addonDigits.size() == 2 ? 25 : 52;
}

std::string EANModules(std::string_view digits, std::string_view sets) {
  std::string modules;
  for (size_t k = 0; k < digits.size() && k < sets.size(); ++k)
    modules += BarCodeEANSym[(sets[k] - 'A') * 10 + (digits[k] - '0')];
  return modules;
}

namespace {

std::string AddonModules(std::string_view digits) {
  std::string modules = BarCodeAddStrt;
  if (digits.size() == 2) {
    const int m = ((digits[0] - '0') * 10 + (digits[1] - '0')) % 4;
    modules += EANModules(digits.substr(0, 1), BarCodeEAN2Add[m]);
    modules += BarCodeAddCent;
    modules += EANModules(digits.substr(1, 1), BarCodeEAN2Add[m + 4]);
    return modules;
  }
  const std::string& sets = BarCodeEAN5Add[BarCodeAddParity(digits)];
  for (size_t k = 0; k < digits.size(); ++k) {
    if (k > 0) modules += BarCodeAddCent;
    modules += EANModules(digits.substr(k, 1), sets.substr(k, 1));
  }
  return modules;
}

} // namespace

void EANDrawAddonBars(const BarCodeCanvas& canvas, std::string_view addonDigits, int x,
                      float bottom, float top) {
  BarCodeDrawModules(canvas, AddonModules(addonDigits), x, bottom, top);
}

void EANDrawAddonText(const BarCodeCanvas& canvas, std::string_view addonDigits, int x,
                      int16_t textY) {
  if (!canvas.text || addonDigits.empty()) return;
  BarCodeDrawSpacedText(canvas, static_cast<int16_t>(x + 3), textY, 8, addonDigits);
  const int modules = static_cast<int>(AddonModules(addonDigits).size());
  BarCodeDrawText(canvas, static_cast<int16_t>(x + modules - 1), textY, ">");
}
