// How long a two-dimensional symbol takes from its request to PNG bytes, in process: the size
// computation, then the drawing into a bitmap and its encoding, as the PNG writer does them.

#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Text(size_t n) {
  static constexpr std::string_view kText =
      "Veltrix BarCode 2.2, order #20240117: 12 boxes of 48 items; ship to Main Street 5. ";
  std::string out;
  while (out.size() < n)
    out += kText;
  out.resize(n);
  return out;
}

std::string Digits(size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i)
    out += static_cast<char>('0' + (i * 7 + 3) % 10);
  return out;
}

void SymbolToPNG(benchmark::State& state, int32_t symbology, const std::string& data) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = symbology;
  *rec.data = data;
  rec.position = kPositionFile;
  for (auto _ : state) {
    BarCodeRect box{};
    if (!BarCodeGetSize(rec, box)) {
      state.SkipWithError("the data cannot be drawn");
      break;
    }
    OutputBitmap bitmap;
    OutputRenderBitmap(rec, 0, 0, bitmap);
    std::string png = OutputEncodePNG(bitmap);
    benchmark::DoNotOptimize(png);
  }
  BarCodeDataRecRelease(&rec);
}

} // namespace

BENCHMARK_CAPTURE(SymbolToPNG, QRCode_100_chars, kBarCodeQRCode, Text(100))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SymbolToPNG, PDF417_500_chars, kBarCodePDF417, Text(500))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SymbolToPNG, PDF417_1850_digits, kBarCodePDF417, Digits(1850))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SymbolToPNG, PDF417_1850_letters, kBarCodePDF417, std::string(1850, 'A'))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
