#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeDraw.h"
#include "symbologies/BarCodeEncoders.h"

#include <dlfcn.h>
#include <qrencode.h>

#include <algorithm>
#include <memory>

namespace {

// A QR Code symbol needs a light quiet zone of 4 modules on every side (ISO/IEC 18004, 6.3.8);
// libqrencode's matrix has none. Each module is drawn as a 3 x 3 unit square.
constexpr int kQuietZone = 4;
constexpr int kModuleUnits = 3;
// ECI 000026 names UTF-8 in the AIM ECI assignments.
constexpr unsigned kEciUtf8 = 26;
// The most characters any symbol holds: version 40-L in numeric mode (ISO/IEC 18004, table 7).
// Longer data is refused before the library spends time on it.
constexpr size_t kMaxCharacters = 7089;

// libqrencode is loaded the first time a QR Code is asked for: every run that makes another
// symbol then spares loading it and the thread library it needs, a tenth of a millisecond, some
// 5 % of a whole run of the command-line tool.
struct QRLibrary {
  decltype(&QRcode_encodeString) encodeString = nullptr;
  decltype(&QRcode_encodeInput) encodeInput = nullptr;
  decltype(&QRcode_free) symbolFree = nullptr;
  decltype(&QRinput_new2) inputNew = nullptr;
  decltype(&QRinput_appendECIheader) appendECI = nullptr;
  decltype(&QRinput_append) append = nullptr;
  decltype(&QRinput_free) inputFree = nullptr;
  std::string problem;
};

template <typename Function> bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

QRLibrary LoadQRLibrary() {
  QRLibrary l;
  void* library = dlopen(VX_QRENCODE_SONAME, RTLD_LAZY | RTLD_LOCAL);
  if (!library) {
    l.problem = "QRCode needs libqrencode, which could not be loaded: " + std::string(dlerror());
    return l;
  }
  if (!Find(library, "QRcode_encodeString", l.encodeString) ||
      !Find(library, "QRcode_encodeInput", l.encodeInput) ||
      !Find(library, "QRcode_free", l.symbolFree) || !Find(library, "QRinput_new2", l.inputNew) ||
      !Find(library, "QRinput_appendECIheader", l.appendECI) ||
      !Find(library, "QRinput_append", l.append) || !Find(library, "QRinput_free", l.inputFree))
    return {.problem = "QRCode needs libqrencode, and " VX_QRENCODE_SONAME " lacks a function"};
  return l;
}

const QRLibrary& QRLib() {
  static const QRLibrary library = LoadQRLibrary();
  return library;
}

struct SymbolFree {
  void operator()(QRcode* symbol) const { QRLib().symbolFree(symbol); }
};
struct InputFree {
  void operator()(QRinput* input) const { QRLib().inputFree(input); }
};
using QRSymbol = std::unique_ptr<QRcode, SymbolFree>;
using QRInput = std::unique_ptr<QRinput, InputFree>;

// Text beyond ASCII goes in as UTF-8 in one 8-bit segment behind an ECI designator: without it
// readers guess the character set of 8-bit data, and some guess Shift JIS for short UTF-8 text.
QRSymbol EncodeUtf8WithEci(const QRLibrary& qr, const std::string& data) {
  QRInput input(qr.inputNew(0, QR_ECLEVEL_L));
  if (!input || qr.appendECI(input.get(), kEciUtf8) != 0 ||
      qr.append(input.get(), QR_MODE_8, static_cast<int>(data.size()),
                reinterpret_cast<const unsigned char*>(data.data())) != 0)
    return nullptr;
  return QRSymbol(qr.encodeInput(input.get()));
}

// The smallest symbol at level L that holds the data, or none when it does not fit version 40
// (or libqrencode is missing). ASCII text lets the library pick numeric, alphanumeric and 8-bit
// segments. A zero byte would end the text early and bytes that are not UTF-8 are no text at all:
// neither makes a symbol.
QRSymbol QRCodeEncode(const std::string& data) {
  const QRLibrary& qr = QRLib();
  if (!qr.problem.empty() || data.empty() || data.size() > kMaxCharacters ||
      data.find('\0') != std::string::npos || !Utf8Valid(data))
    return nullptr;
  if (!IsAscii(data)) return EncodeUtf8WithEci(qr, data);
  return QRSymbol(qr.encodeString(data.c_str(), 0, QR_ECLEVEL_L, QR_MODE_8, 1));
}

// The module picture of a symbol with its quiet zone ('1' dark), and its side; none for data that
// makes no symbol. Nothing reads a symbol the library did not make, nor one wider than version 40.
struct QRPicture {
  std::string data;
  int side = 0;
  std::string modules;
};

// Sizing and drawing one request ask for its symbol several times, and choosing the mask is most
// of the work of a QR Code: each thread keeps the last symbol it made.
const QRPicture& QRCodePicture(const std::string& data) {
  thread_local QRPicture last{"", 0, ""};
  if (data == last.data) return last;
  const QRSymbol symbol = QRCodeEncode(data);
  const int width = symbol && symbol->width > 0 && symbol->width <= 177 ? symbol->width : 0;
  last = {data, width > 0 ? width + 2 * kQuietZone : 0, ""};
  const size_t side = static_cast<size_t>(last.side);
  last.modules.assign(side * side, '0');
  for (int y = 0; y < width; ++y) {
    const unsigned char* row = symbol->data + static_cast<size_t>(y) * width;
    char* out = last.modules.data() + (y + kQuietZone) * side + kQuietZone;
    for (int x = 0; x < width; ++x)
      out[x] = (row[x] & 1) ? '1' : '0';
  }
  return last;
}

} // namespace

std::string QRCodeLibraryProblem() {
  return QRLib().problem;
}

uint32_t ProcessQRCodeGetWidth(const std::string& data) {
  return static_cast<uint32_t>(QRCodePicture(data).side);
}

int ProcessQRCodeDisplay(const std::string& data, std::string& picture) {
  picture = QRCodePicture(data).modules;
  return 0;
}

int BarCodeMakeQRCode(cairo_t* cg, BarCodeDataRec* rec) {
  const int side = static_cast<int>(ProcessQRCodeGetWidth(*rec->data));
  const float size = static_cast<float>(kModuleUnits * side);
  const BarCodeRect box{0, 0, size, size - static_cast<float>(std::min(rec->trim, 0))};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);

  std::string picture;
  ProcessQRCodeDisplay(*rec->data, picture);
  BarCodeDrawModulePicture(canvas, picture, side, side, kModuleUnits, kModuleUnits);
  BarCodeEndSymbol(canvas);
  return 0;
}
