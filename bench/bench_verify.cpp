// What a verification costs per symbol, in process: the drawing at two pixels per module and the
// reading back by the decoder module, which is loaded once before the first timed run. The plain
// drawing of the same request to PNG bytes is timed beside it for comparison.
#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "verify/BarCodeVerify.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

BarCodeDataRec Request(int32_t symbology, const std::string& data) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = symbology;
  *rec.data = data;
  rec.position = kPositionFile;
  return rec;
}

void Verify(benchmark::State& state, int32_t symbology, const std::string& data) {
  BarCodeDataRec rec = Request(symbology, data);
  if (BarCodeVerify(rec).result != BarCodeVerifyResult::Match)
    state.SkipWithError("the symbol does not verify (is vxdecoder.so beside the benchmark?)");
  for (auto _ : state)
    benchmark::DoNotOptimize(BarCodeVerify(rec));
  BarCodeDataRecRelease(&rec);
}

void ToPNG(benchmark::State& state, int32_t symbology, const std::string& data) {
  BarCodeDataRec rec = Request(symbology, data);
  for (auto _ : state) {
    OutputBitmap bitmap;
    OutputRenderBitmap(rec, 0, 0, bitmap);
    benchmark::DoNotOptimize(OutputEncodePNG(bitmap));
  }
  BarCodeDataRecRelease(&rec);
}

const std::string kText100 = std::string(
    "Veltrix BarCode 2.2, order #20240117: 12 boxes of 48 items; ship to Main Street 5. Thanks!!");

} // namespace

BENCHMARK_CAPTURE(ToPNG, EAN13, kBarCodeEAN13, "501234567890");
BENCHMARK_CAPTURE(Verify, EAN13, kBarCodeEAN13, "501234567890");
BENCHMARK_CAPTURE(Verify, Code128, kBarCodeCode128, "VELTRIX-2024-0117");
BENCHMARK_CAPTURE(Verify, Code39, kBarCodeCode39, "ORDER 2024");
BENCHMARK_CAPTURE(Verify, ITF14, kBarCodeITF14, "15012345678907");
BENCHMARK_CAPTURE(ToPNG, QRCode100, kBarCodeQRCode, kText100);
BENCHMARK_CAPTURE(Verify, QRCode100, kBarCodeQRCode, kText100);
BENCHMARK_CAPTURE(Verify, PDF417_100, kBarCodePDF417, kText100);

BENCHMARK_MAIN();
