#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeDraw.h"
#include "symbologies/BarCodeEncoders.h"
#include "symbologies/PDF417/PDF417.h"

#include <algorithm>

namespace {

// Every symbol is sized and corrected by the encoder itself, about half as high as wide, and its
// matrix comes inverted: a set bit is a light module. A module is 1 unit wide, a row 2 units high.
constexpr int32_t kEncoderOptions = kPDF417InvertBitmap;
constexpr int kRowUnits = 2;

// The ECI designator codeword (ISO/IEC 15438, Extended Channel Interpretation) and the
// AIM ECI assignments it names here: ISO/IEC 8859-1 and UTF-8.
constexpr int32_t kEciDesignator = 927;
constexpr int32_t kEciLatin1 = 3;
constexpr int32_t kEciUtf8 = 26;
// The encoder pads the data with text latches; compaction never ends on one.
constexpr int32_t kPadCodeword = 900;

// The character set that readers must apply to the data's bytes: none for ASCII, which every
// reader takes as it is; Latin-1 (then written into `latin1`) for text that it holds, else UTF-8.
// Without the designator readers guess, and they read Latin-1 bytes such as those of "ÀÉÈ" as
// Shift JIS and those of "Ã©" as UTF-8.
int32_t ReaderCharacterSet(const std::string& data, std::string& latin1) {
  if (std::all_of(data.begin(), data.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return 0;
  const std::u32string chars = Utf8Decode(data);
  if (std::any_of(chars.begin(), chars.end(), [](char32_t c) { return c > 0xFF; })) return kEciUtf8;
  latin1.assign(chars.begin(), chars.end());
  return kEciLatin1;
}

// Puts the designator in front of the encoded data and encodes it again as raw codewords.
void PrefixEci(PDF417Param& p, int32_t eci) {
  int32_t n = p.codewords[0];
  while (n > 1 && p.codewords[n - 1] == kPadCodeword)
    --n;
  if (n + 2 > kPDF417MaxDataCodewords) {
    p.error = kPDF417ErrorTextTooBig;
    pdf417free(&p);
    return;
  }
  std::copy_backward(p.codewords.begin() + 1, p.codewords.begin() + n, p.codewords.begin() + n + 2);
  p.codewords[1] = kEciDesignator;
  p.codewords[2] = eci;
  p.codewords[0] = p.lenCodewords = n + 2;
  p.options = kEncoderOptions | kPDF417RawCodewords;
  paintCode(&p);
}

// Runs the encoder on the data; false when it makes no symbol: empty data, bytes that are not
// UTF-8, or more than 5420 bytes or 926 data codewords.
bool PDF417Encode(const std::string& data, PDF417Param& p) {
  pdf417init(&p);
  // No text of more than twice the limit comes under it, not even as Latin-1.
  if (data.empty() || data.size() > 2 * size_t{kPDF417MaxTextBytes} || !Utf8Valid(data))
    return false;
  std::string latin1;
  const int32_t eci = ReaderCharacterSet(data, latin1);
  p.text = eci == kEciLatin1 ? std::string_view(latin1) : std::string_view(data);
  p.lenText = static_cast<int32_t>(p.text.size()); // zero bytes are data too
  p.options = kEncoderOptions;
  paintCode(&p);
  p.text = {};
  if (p.error == kPDF417ErrorNone && eci != 0) PrefixEci(p, eci);
  return p.error == kPDF417ErrorNone;
}

// The module picture of a symbol ('1' dark) with its size; none for data that makes no symbol.
struct PDF417Picture {
  std::string data;
  uint32_t columns = 0, rows = 0;
  std::string modules;
};

// Sizing and drawing one request ask for its symbol several times, and its error correction is
// most of the work: each thread keeps the last symbol it made.
const PDF417Picture& PDF417Symbol(const std::string& data) {
  thread_local PDF417Picture last{"", 0, 0, ""};
  if (data == last.data) return last;
  PDF417Param p;
  last = {data, 0, 0, ""};
  if (!PDF417Encode(data, p)) return last;
  const size_t columns = static_cast<size_t>(p.bitColumns), rows = static_cast<size_t>(p.codeRows);
  const size_t bytesPerRow = (columns + 7) / 8;
  last.columns = static_cast<uint32_t>(columns);
  last.rows = static_cast<uint32_t>(rows);
  last.modules.resize(columns * rows);
  for (size_t r = 0; r < rows; ++r) {
    const uint8_t* bits = p.bitMatrix.data() + r * bytesPerRow;
    char* out = last.modules.data() + r * columns;
    for (size_t c = 0; c < columns; ++c)
      out[c] = (bits[c / 8] >> (7 - c % 8) & 1) ? '0' : '1';
  }
  return last;
}

} // namespace

uint32_t ProcessPDF417GetCols(const std::string& data) {
  return PDF417Symbol(data).columns;
}

uint32_t ProcessPDF417GetRows(const std::string& data) {
  return PDF417Symbol(data).rows;
}

int ProcessPDF417Display(const std::string& data, std::string& picture) {
  picture = PDF417Symbol(data).modules;
  return 0;
}

int BarCodeMakePDF417(cairo_t* cg, BarCodeDataRec* rec) {
  const int rows = static_cast<int>(ProcessPDF417GetRows(*rec->data));
  const int width = static_cast<int>(ProcessPDF417GetCols(*rec->data));
  const BarCodeRect box{0, 0, static_cast<float>(width),
                        static_cast<float>(kRowUnits * rows - std::min(rec->trim, 0))};
  const BarCodeCanvas canvas = BarCodeBeginSymbol(cg, *rec, box);

  std::string picture;
  ProcessPDF417Display(*rec->data, picture);
  BarCodeDrawModulePicture(canvas, picture, width, rows, 1, kRowUnits);
  BarCodeEndSymbol(canvas);
  return 0;
}
