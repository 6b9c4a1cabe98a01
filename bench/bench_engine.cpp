// The engine in process: one EAN-13 request to EPS text, PNG bytes (at screen and printer
// resolutions), PICT bytes, PDF bytes and SVG text.
#include "model/BarCodeDataRec.h"
#include "output/writers/OutputPICT.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"

#include <benchmark/benchmark.h>

namespace {

BarCodeDataRec Request() {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = kBarCodeEAN13;
  *rec.data = "501234567890";
  *rec.addon = "12";
  rec.position = kPositionFile;
  return rec;
}

void EAN13ToEPS(benchmark::State& state) {
  BarCodeDataRec rec = Request();
  std::string eps;
  for (auto _ : state) {
    benchmark::DoNotOptimize(OutputRenderEPS(rec, "bench.eps", eps));
  }
  BarCodeDataRecRelease(&rec);
}

// A bitmap drawn and encoded by `Encode`; the argument is the resolution in dots per inch.
template <std::string (*Encode)(const OutputBitmap&)> void EAN13ToBitmap(benchmark::State& state) {
  BarCodeDataRec rec = Request();
  rec.dpi = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    OutputBitmap bitmap;
    OutputRenderBitmap(rec, 0, 0, bitmap);
    benchmark::DoNotOptimize(Encode(bitmap));
  }
  BarCodeDataRecRelease(&rec);
}

void EAN13ToSVG(benchmark::State& state) {
  BarCodeDataRec rec = Request();
  std::string svg;
  for (auto _ : state) {
    benchmark::DoNotOptimize(OutputRenderSVG(rec, 0, 0, svg));
  }
  BarCodeDataRecRelease(&rec);
}

void EAN13ToPDF(benchmark::State& state) {
  BarCodeDataRec rec = Request();
  std::string pdf;
  for (auto _ : state) {
    benchmark::DoNotOptimize(OutputRenderPDF(rec, 0, 0, false, pdf, 100500));
  }
  BarCodeDataRecRelease(&rec);
}

void EAN13Size(benchmark::State& state) {
  BarCodeDataRec rec = Request();
  BarCodeRect box;
  for (auto _ : state)
    benchmark::DoNotOptimize(BarCodeGetSize(rec, box));
  BarCodeDataRecRelease(&rec);
}

} // namespace

BENCHMARK(EAN13Size);
BENCHMARK(EAN13ToEPS);
BENCHMARK_TEMPLATE(EAN13ToBitmap, OutputEncodePNG)->Arg(72)->Arg(300)->Arg(600);
BENCHMARK_TEMPLATE(EAN13ToBitmap, OutputEncodePICT)->Arg(72)->Arg(300);
BENCHMARK(EAN13ToPDF);
BENCHMARK(EAN13ToSVG);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
