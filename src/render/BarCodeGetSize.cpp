#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "render/BarCodeRender.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/Code128.h"
#include "symbologies/Code39.h"
#include "symbologies/Pharmacode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

struct Prepared {
  std::u32string data, addon;
};

using WidthRule = int64_t (*)(const Prepared&);
// Why the request cannot be drawn, one sentence; empty when it can.
using RefusalRule = std::string (*)(const BarCodeDataRec&, const Prepared&);

bool IsDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

std::u32string AsciiOnly(std::u32string text) {
  std::erase_if(text, [](char32_t c) { return c > 127; });
  return text;
}

int64_t AddonIncrement(const Prepared& p) {
  const size_t n = p.addon.size();
  if (n == 0 || n >= 6) return 0;
  return n <= 2 ? 25 : 52;
}

// Code 128 symbol characters as the encoder draws them.
int64_t Code128Count(const Prepared& p) {
  return Code128DataCount(p.data);
}

int64_t TableCount(std::u32string_view text, const std::string_view* table, size_t elements) {
  int64_t count = 0;
  for (char32_t c : text)
    count += static_cast<int64_t>(table[c].size() / elements);
  return count;
}

int64_t Code93Width(const Prepared& p) {
  return 9 * TableCount(AsciiOnly(p.data), BarCodeCode93.data(), 6) + 37;
}

int64_t Code39Width(const Prepared& p) {
  return 16 * static_cast<int64_t>(Code39Pattern(Code39Framed(p.data)).size() / 9) - 1;
}

bool IsCodabarStartStop(char32_t c) {
  return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd');
}

int64_t CodabarWidth(const Prepared& p) {
  std::u32string text = p.data;
  if (!IsCodabarStartStop(text.front())) text.insert(text.begin(), U'A');
  if (!IsCodabarStartStop(text.back())) text += U'B';
  int64_t sum = 0;
  for (char32_t c : text) {
    if (IsDigit(c) || c == '-' || c == '$')
      sum += 12;
    else if (std::u32string_view(U":/.+").find(c) != std::u32string_view::npos ||
             IsCodabarStartStop(c))
      sum += 14;
  }
  return sum;
}

int64_t PostNetWidth(const Prepared& p) {
  const auto digits = std::count_if(p.data.begin(), p.data.end(), IsDigit);
  if (digits <= 5) return 94;
  return digits <= 9 ? 154 : 184;
}

int64_t RM4SCCCount(const Prepared& p) {
  return std::count_if(p.data.begin(), p.data.end(), [](char32_t c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

int64_t RM4SCCWidth(const Prepared& p) {
  const int64_t n = RM4SCCCount(p);
  return 16 * (n <= 6 ? 0 : n) + 24;
}

int64_t PharmacodeWidth(const Prepared& p) {
  const int64_t bars = PharmacodeBarsWidth(PharmacodeBars(p.data));
  return std::max<int64_t>(bars, 7 * static_cast<int64_t>(PharmacodeText(p.data).size()));
}

int64_t Fixed(const Prepared&) {
  return 0;
}
int64_t EANWithAddon(const Prepared& p) {
  return 113 + AddonIncrement(p);
}
int64_t Code128Width(const Prepared& p) {
  return 11 * Code128Count(p) + 55;
}
int64_t EAN128Width(const Prepared& p) {
  return 11 * Code128Count(p) + 66;
}
int64_t Code25Width(const Prepared& p) {
  return 14 * static_cast<int64_t>(p.data.size()) + 36;
}
// The coupon extension: digit pairs, and for a digit left over the switch to code set B and the
// digit itself.
int64_t UPCCouponWidth(const Prepared& p) {
  const auto n = static_cast<int64_t>(p.addon.size());
  return 11 * (n / 2 + (n % 2 == 0 ? 0 : 2)) + 189;
}
int64_t MSIWidth(const Prepared& p) {
  return 12 * std::count_if(p.data.begin(), p.data.end(), IsDigit) + 19;
}
int64_t Interleaved25Width(const Prepared& p) {
  return 9 * static_cast<int64_t>(p.data.size() + p.data.size() % 2) + 19;
}

// The first character of text outside [low, high], or 0.
// None when every character is inside; U+0000 is a character like any other here.
std::optional<char32_t> FirstOutside(std::u32string_view text, char32_t low, char32_t high) {
  const auto it =
      std::find_if(text.begin(), text.end(), [&](char32_t c) { return c < low || c > high; });
  return it == text.end() ? std::nullopt : std::optional<char32_t>(*it);
}

std::string Anything(const BarCodeDataRec&, const Prepared&) {
  return {};
}

// EAN/UPC data and the add-on actually drawn (1 to 5 characters) must be digits: the number sets
// have no pattern for anything else.
std::string DigitsIn(const BarCodeDataRec& rec, std::u32string_view data) {
  const std::optional<char32_t> c = FirstOutside(data, '0', '9');
  return c ? BarCodeCannotCarry(rec, *c) : std::string();
}
std::string AddonDigitsIn(const BarCodeDataRec& rec, std::u32string_view addon) {
  const std::optional<char32_t> c = FirstOutside(addon, '0', '9');
  if (!c) return {};
  return BarCodeNoticeName(rec) + " add-on cannot carry the character " + BarCodeCharacterName(*c);
}
std::string AddonUsedDigits(const BarCodeDataRec& rec, const Prepared& p) {
  const bool addonUsed = !p.addon.empty() && p.addon.size() <= 5;
  return addonUsed ? AddonDigitsIn(rec, p.addon) : std::string();
}
std::string DigitsAndAddon(const BarCodeDataRec& rec, const Prepared& p) {
  const std::string data = DigitsIn(rec, p.data);
  return data.empty() ? AddonUsedDigits(rec, p) : data;
}
std::string DigitsOnly(const BarCodeDataRec& rec, const Prepared& p) {
  return DigitsIn(rec, p.data);
}
// UPC-E also refuses a printed form whose check digit or number system is not its own.
std::string UPCEDigits(const BarCodeDataRec& rec, const Prepared& p) {
  const std::string digits = DigitsIn(rec, p.data);
  return digits.empty() ? BarCodeRefuseUPCE(rec) : digits;
}
// The UPC-Coupon extension encodes its add-on whatever its length.
std::string CouponDigits(const BarCodeDataRec& rec, const Prepared& p) {
  const std::string data = DigitsIn(rec, p.data);
  return data.empty() ? AddonDigitsIn(rec, p.addon) : data;
}

// Code 128 carries up to U+00FF (control characters in code set A, Latin-1 behind FNC4), Code 93
// the 128 characters of ASCII.
std::string Code128Carries(const BarCodeDataRec& rec, const Prepared& p) {
  const char32_t c = Code128FirstUncarried(p.data);
  return c ? BarCodeCannotCarry(rec, c) : std::string();
}
std::string Code93Carries(const BarCodeDataRec& rec, const Prepared& p) {
  const std::optional<char32_t> c = FirstOutside(p.data, 0, 127);
  return c ? BarCodeCannotCarry(rec, *c) : std::string();
}
std::string Code39Carries(const BarCodeDataRec& rec, const Prepared&) {
  return BarCodeRefuseCode39(rec);
}
std::string CodabarCarries(const BarCodeDataRec& rec, const Prepared&) {
  return BarCodeRefuseCodabar(rec);
}

// The two-dimensional symbols are as high as their module matrix: the encoder gives the box
// (width and base height, before trim), 0 wide when the data makes no symbol.
struct MatrixBox {
  int64_t width, height;
};
using BoxRule = MatrixBox (*)(const std::string& data);

// QR Code's library is loaded when the first symbol is asked for; without it there is none.
std::string QRLoaded(const BarCodeDataRec&, const Prepared&) {
  return QRCodeLibraryProblem();
}

// A QR Code module is 3 x 3 units.
MatrixBox QRCodeBox(const std::string& data) {
  const int64_t side = 3 * static_cast<int64_t>(ProcessQRCodeGetWidth(data));
  return {side, side};
}

// A PDF417 module is 1 unit wide and its rows 2 units high.
MatrixBox PDF417Box(const std::string& data) {
  return {ProcessPDF417GetCols(data), 2 * static_cast<int64_t>(ProcessPDF417GetRows(data))};
}

// Two-of-five, EAN-14 and EAN-18 patterns exist for digits only; the fixed-length ones read the
// first digits and cut the rest.
template <size_t Length> std::string LeadingDigits(const BarCodeDataRec& rec, const Prepared& p) {
  return DigitsIn(rec, std::u32string_view(p.data).substr(0, Length));
}

// MSI draws its digits and RM4SCC needs a postcode and delivery point: without them there is no
// symbol at all.
std::string HasDigit(const BarCodeDataRec& rec, const Prepared& p) {
  if (std::any_of(p.data.begin(), p.data.end(), IsDigit)) return {};
  return BarCodeNoticeName(rec) + " data holds no digits";
}
constexpr int64_t kRM4SCCMinimum = 7;
std::string RM4SCCEnough(const BarCodeDataRec& rec, const Prepared& p) {
  const int64_t n = RM4SCCCount(p);
  if (n >= kRM4SCCMinimum) return {};
  return BarCodeNoticeName(rec) + " needs at least 7 letters or digits: this data has " +
         std::to_string(n);
}

struct SizeRule {
  WidthRule width;
  int16_t fixedWidth; // used when width is Fixed
  int16_t height;
  int16_t trimCap;
  RefusalRule refusal;
  bool addon = false;    // whether the symbol draws an add-on (or an extension) from `addon`
  BoxRule box = nullptr; // when set, gives the width and the base height instead
};

constexpr std::array<SizeRule, kBarCodeCount + 1> kSizeRules{{
    {Fixed, 0, 0, 0, Anything},                       // none
    {EANWithAddon, 0, 80, 50, DigitsAndAddon, true},  // EAN-13
    {Fixed, 81, 65, 35, DigitsOnly},                  // EAN-8
    {EAN128Width, 0, 60, 40, Code128Carries},         // EAN-128
    {Fixed, 154, 100, 70, LeadingDigits<14>},         // EAN-14
    {Fixed, 176, 100, 70, LeadingDigits<18>},         // EAN-18
    {Fixed, 113, 80, 50, DigitsOnly},                 // EAN-99
    {Fixed, 113, 80, 50, DigitsOnly},                 // EAN-Coupon
    {EANWithAddon, 0, 80, 50, DigitsAndAddon, true},  // UPC-A
    {Fixed, 67, 80, 50, UPCEDigits},                  // UPC-E
    {Code128Width, 0, 60, 40, Code128Carries},        // Code-128
    {Code93Width, 0, 48, 25, Code93Carries},          // Code-93
    {Code39Width, 0, 48, 25, Code39Carries},          // Code-39
    {Code25Width, 0, 80, 50, DigitsOnly},             // Code-25
    {UPCCouponWidth, 0, 80, 50, CouponDigits, true},  // UPC-Coupon
    {CodabarWidth, 0, 48, 30, CodabarCarries},        // Codabar
    {EANWithAddon, 0, 70, 30, AddonUsedDigits, true}, // ISSN
    {EANWithAddon, 0, 95, 50, AddonUsedDigits, true}, // ISBN
    {EANWithAddon, 0, 95, 50, AddonUsedDigits, true}, // ISMN
    {PostNetWidth, 0, 9, 0, Anything},                // PostNet
    {RM4SCCWidth, 0, 21, 0, RM4SCCEnough},            // RM4SCC
    {PharmacodeWidth, 0, 25, 0, Anything},            // Pharmacode
    {MSIWidth, 0, 48, 30, HasDigit},                  // MSI
    {Fixed, 305, 100, 0, LeadingDigits<14>},          // ITF-SCC
    {Fixed, 145, 90, 60, LeadingDigits<14>},          // ITF-14
    {Interleaved25Width, 0, 90, 60, DigitsOnly},      // Interleaved-25
    {Fixed, 0, 0, 0, QRLoaded, false, QRCodeBox},     // QRCode
    {Fixed, 0, 0, 0, Anything, false, PDF417Box},     // PDF417
}};

// The box before trim.
MatrixBox BaseBox(const SizeRule& rule, const Prepared& p, const std::string& data) {
  if (rule.box) return rule.box(data);
  return {rule.width == Fixed ? rule.fixedWidth : rule.width(p), rule.height};
}

// Sizes are 16-bit quantities: a box outside that range cannot be drawn rather than wrap.
constexpr int64_t kLargest = std::numeric_limits<int16_t>::max();
bool InRange(int64_t v) {
  return v > 0 && v <= kLargest;
}

// The most characters of the data that the two-dimensional symbol holds: the longest start of it
// that still makes a symbol.
size_t MatrixCapacity(BoxRule box, std::u32string_view data) {
  size_t fits = 0, fails = data.size();
  while (fails - fits > 1) {
    const size_t middle = fits + (fails - fits) / 2;
    (box(Utf8Encode(data.substr(0, middle))).width > 0 ? fits : fails) = middle;
  }
  return fits;
}

std::string MatrixRefusal(const BarCodeDataRec& rec, const SizeRule& rule, const Prepared& p) {
  // A zero byte would end the text that QR Code's library takes.
  if (rule.box == QRCodeBox && p.data.find(U'\0') != std::u32string::npos)
    return BarCodeCannotCarry(rec, U'\0');
  return BarCodeNoticeName(rec) + " holds at most " +
         std::to_string(MatrixCapacity(rule.box, p.data)) + " characters of this data; it has " +
         std::to_string(p.data.size());
}

// The unscaled box of a request, 0 by 0 when it cannot be drawn; with `why`, the reason. A drawn
// request whose record collects notices gets them here, from the encoder's own completion steps.
BarCodeRect Measure(const BarCodeDataRec& rec, std::string* why) {
  const auto refuse = [&](std::string reason) {
    if (why) *why = std::move(reason);
    return BarCodeRect{};
  };
  if (!rec.data || rec.data->empty()) return refuse("there is no data to draw");
  if (!BarCodeEncoderFor(rec.symbology)) return refuse("no symbology is chosen");
  const SizeRule& rule = kSizeRules[rec.symbology];
  const Prepared p{Utf8Decode(*rec.data), rec.addon ? Utf8Decode(*rec.addon) : U""};
  if (std::string reason = rule.refusal(rec, p); !reason.empty()) return refuse(reason);
  const MatrixBox base = BaseBox(rule, p, *rec.data);
  const int64_t w = base.width;
  const int64_t h = base.height - std::min<int64_t>(rec.trim, rule.trimCap);
  if (!InRange(w) || !InRange(h)) {
    if (!why) return {};
    if (rule.box && w <= 0) return refuse(MatrixRefusal(rec, rule, p));
    return refuse(BarCodeNoticeName(rec) + " would make a symbol " + std::to_string(w) + " by " +
                  std::to_string(h) + " units; at most " + std::to_string(kLargest) +
                  " fit either way");
  }
  if (rec.notices) {
    BarCodeCarrierFor(rec.symbology)(rec);
    if (!rule.addon && !p.addon.empty())
      BarCodeNote(rec, BarCodeNoticeName(rec) + " takes no add-on: " + *rec.addon + " is ignored");
  }
  return {0, 0, static_cast<float>(w), static_cast<float>(h)};
}

} // namespace

BarCodeRect BarCodeGetUnscaledSize(const BarCodeDataRec& rec) {
  return Measure(rec, nullptr);
}

int16_t BarCodeGetSize(const BarCodeDataRec& rec, BarCodeRect& out) {
  const BarCodeRect box = BarCodeGetUnscaledSize(rec);
  if (box.width <= 0 || rec.scale <= 0) return 0;
  const double s = rec.scale / 100.0;
  out = {0, 0, static_cast<float>(box.width * s), static_cast<float>(box.height * s)};
  return 1;
}

std::string BarCodeRefusal(const BarCodeDataRec& rec) {
  std::string why;
  if (Measure(rec, &why).width > 0 && rec.scale <= 0) why = "the scale must be above 0";
  return why;
}

std::string BarCodeCarriedText(const BarCodeDataRec& rec) {
  if (Measure(rec, nullptr).width <= 0) return {};
  return BarCodeCarrierFor(rec.symbology)(rec);
}
