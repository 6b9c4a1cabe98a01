#include "symbologies/EANFrame.h"

#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "model/BarCodeTexts.h"

#include <string>

std::string EANCheckDigit(std::string_view digits) {
  return std::string(1, static_cast<char>('0' + BarCodeCheckSum(digits)));
}

std::string EANCompleteDigits(const BarCodeDataRec& rec, std::string_view data, size_t length) {
  // One digit more than the number is its check digit as the user typed it: the symbol carries
  // the right one, and a wrong one is worth a word.
  if (data.size() == length + 1) {
    const std::string digits(data.substr(0, length));
    const std::string check = EANCheckDigit(digits);
    BarCodeNoteCheckReplaced(rec, data.back(), check[0]);
    return digits + check;
  }
  const std::string digits =
      BarCodeFitDigits(rec, data, length, std::to_string(length) + " digits and a check digit");
  return digits + EANCheckDigit(digits);
}

std::string EANAddonDigits(const BarCodeDataRec& rec, std::string_view addon) {
  std::string digits(addon);
  const size_t n = Utf8Length(digits);
  if (n == 0) return {};
  if (n >= 6) {
    BarCodeNote(rec, "the add-on " + digits + " was left out: an add-on has 2 or 5 digits");
    return {};
  }
  PadCFStrText(digits, n <= 2 ? 2 : 5, "0");
  if (n != 2 && n != 5)
    BarCodeNote(rec, "the add-on " + std::string(addon) + " was padded with zeros to " + digits);
  return digits;
}

std::string EANCarriedText(std::string_view digits, std::string_view addonDigits) {
  if (addonDigits.empty()) return std::string(digits);
  return std::string(digits) + ' ' + std::string(addonDigits);
}

int EANAddonIncrement(std::string_view addonDigits) {
  if (addonDigits.empty()) return 0;
  return addonDigits.size() == 2 ? 25 : 52;
}

std::string EANModules(std::string_view digits, std::string_view sets) {
  std::string modules;
  for (size_t k = 0; k < digits.size() && k < sets.size(); ++k) {
    const int set = sets[k] - 'A', digit = digits[k] - '0';
    // The size computation refuses anything else; this keeps the table safe all the same.
    if (set < 0 || set > 2 || digit < 0 || digit > 9) continue;
    modules += BarCodeEANSym[set * 10 + digit];
  }
  return modules;
}

namespace {

// Module positions of EAN-13 (GS1 General Specifications figure 5.2.3.4.1-1) and UPC-A, which
// shares its 95 modules: a start guard, two halves of six 7-module digits around a centre guard,
// and a stop guard between quiet zones that hold the digits drawn outside the bars.
constexpr int kGuardModules = 3;
constexpr int kCentreModules = 5;
constexpr int kDigitModules = 7;
constexpr int kHalfModules = 6 * kDigitModules;
constexpr int kSymbolModules =
    kGuardModules + kHalfModules + kCentreModules + kHalfModules + kGuardModules; // 95
constexpr int kEAN13LeftQuiet = 11, kEAN13RightQuiet = 7;
constexpr int kUPCALeftQuiet = 9, kUPCARightQuiet = 9;
static_assert(kEAN13LeftQuiet + kSymbolModules + kEAN13RightQuiet == kEANWidth);
static_assert(kUPCALeftQuiet + kSymbolModules + kUPCARightQuiet == kEANWidth);
// The add-on of both starts at x = 114: 8 units after the EAN-13 stop guard, 10 after UPC-A's.
constexpr int kEAN13AddonGap = 8;

// Guard bars (and the UPC-A digits drawn in the quiet zones) reach 4 units below the data bars.
constexpr float kGuardBottom = 6, kDataBottom = 10;
// The add-on's bars end 10 units below the main bars; its digits stand one unit above them.
constexpr float kAddonDrop = 10;
constexpr int kAddonTextRise = 1;

std::string AddonModules(std::string_view digits) {
  std::string modules(BarCodeAddStrt);
  if (digits.size() == 2) {
    const int m = ((digits[0] - '0') * 10 + (digits[1] - '0')) % 4;
    modules += EANModules(digits.substr(0, 1), BarCodeEAN2Add[m]);
    modules += BarCodeAddCent;
    modules += EANModules(digits.substr(1, 1), BarCodeEAN2Add[m + 4]);
    return modules;
  }
  const std::string_view sets = BarCodeEAN5Add[BarCodeAddParity(digits)];
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

void EANDrawEAN13(const BarCodeCanvas& canvas, std::string_view digits, std::string_view addon,
                  float top) {
  const int first = digits[0] - '0';
  int x = kEAN13LeftQuiet;
  x = BarCodeDrawModules(canvas, BarCodeEANStrt, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(1, 6), BarCodeEANNSet[first]), x,
                         kDataBottom, top);
  x = BarCodeDrawModules(canvas, BarCodeEANCent, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(7, 6), BarCodeEANNSet[first + 10]), x,
                         kDataBottom, top);
  x = BarCodeDrawModules(canvas, BarCodeEANStop, x, kGuardBottom, top);

  const int addonX = x + kEAN13AddonGap;
  const float addonTop = top - kAddonDrop;
  if (!addon.empty()) EANDrawAddonBars(canvas, addon, addonX, kGuardBottom, addonTop);
  if (!canvas.text) return;
  BarCodeSelectFont(canvas, kEANFont, kEANFontSize);
  BarCodeDrawText(canvas, 0, 1, digits.substr(0, 1));
  BarCodeDrawSpacedText(canvas, 15, 1, 7, digits.substr(1, 6));
  BarCodeDrawSpacedText(canvas, 62, 1, 7, digits.substr(7, 6));
  if (addon.empty()) BarCodeDrawText(canvas, 107, 1, ">");
  EANDrawAddonText(canvas, addon, addonX, static_cast<int16_t>(addonTop + kAddonTextRise));
}

int EANDrawUPCABars(const BarCodeCanvas& canvas, std::string_view digits, float top) {
  const std::string_view sets = BarCodeEANNSet[0], right = BarCodeEANNSet[10];
  int x = kUPCALeftQuiet;
  x = BarCodeDrawModules(canvas, BarCodeEANStrt, x, kGuardBottom, top);
  // The number-system digit and the check digit are drawn as long as the guards.
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(0, 1), sets), x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(1, 5), sets), x, kDataBottom, top);
  x = BarCodeDrawModules(canvas, BarCodeEANCent, x, kGuardBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(6, 5), right), x, kDataBottom, top);
  x = BarCodeDrawModules(canvas, EANModules(digits.substr(11, 1), right), x, kGuardBottom, top);
  return BarCodeDrawModules(canvas, BarCodeEANStop, x, kGuardBottom, top);
}

void EANDrawUPCAText(const BarCodeCanvas& canvas, std::string_view digits) {
  if (!canvas.text) return;
  BarCodeSelectFont(canvas, kEANFont, kUPCSmallFontSize);
  BarCodeDrawText(canvas, 0, 1, digits.substr(0, 1));
  BarCodeDrawText(canvas, 109, 1, digits.substr(11, 1));
  BarCodeSelectFont(canvas, kEANFont, kEANFontSize);
  BarCodeDrawSpacedText(canvas, 20, 1, 7, digits.substr(1, 5));
  BarCodeDrawSpacedText(canvas, 60, 1, 7, digits.substr(6, 5));
}
