// Spectrum extraction on a camera-sized photograph: the band-only extraction beside the full
// rotation of the picture that defines it.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QGuiApplication>
#include <random>

#include "app/SpectrumRecord.h"
#include "platform/Dialogs.h"
#include "support/FullRotation.h"
#include "support/Pictures.h"

namespace {
const TBitmap& Photograph() {
  static const TBitmap picture = [] {
    std::mt19937 rng(7);
    return RandomPicture(6000, 4000, rng);
  }();
  return picture;
}

TSpectrumRecord DiagonalSpectrum() {
  TSpectrumRecord r;
  // 1000 rows along a diagonal: (600, 800) to (600 + 707, 800 + 707).
  r.BlueX = 600, r.BlueY = 800, r.RedX = 1307, r.RedY = 1507;
  r.BandWidth = 99;
  return r;
}

void BM_ExtractSpectrum(benchmark::State& state) {
  TDialogRecorder dialogs;
  const TBitmap& picture = Photograph();
  TSpectrumRecord r = DiagonalSpectrum();
  for (auto _ : state) {
    ExtractSpectrum(picture, r);
    benchmark::DoNotOptimize(r.TotalSum.data());
  }
  state.counters["rows"] = r.RowCount;
}

void BM_ExtractByFullRotation(benchmark::State& state) {
  const TBitmap& picture = Photograph();
  const TSpectrumRecord r = DiagonalSpectrum();
  for (auto _ : state) {
    TFullRotationProfile p = ExtractByFullRotation(picture, r);
    benchmark::DoNotOptimize(p.TotalSum.data());
  }
}
}  // namespace

BENCHMARK(BM_ExtractSpectrum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractByFullRotation)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
