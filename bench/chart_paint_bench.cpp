// The chart's painting cycle on a chart whose objects report fixed sizes: the layout pass on its
// own, and the whole cycle (ticks, two layout passes, draw list, background, border) into an
// off-screen bitmap of 800 x 400 pixels.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"
#include "platform/Bitmap.h"
#include "tests/chart/core/LayoutTestSupport.h"

namespace {

void LayoutPass(benchmark::State& state) {
  TSmallChart small;
  small.chart.resize(800, 400);
  TBitmap bitmap(800, 400, pfDevice);
  for (auto _ : state) small.chart.LayoutPass(*bitmap.Canvas());
}
BENCHMARK(LayoutPass);

void PaintCycle(benchmark::State& state) {
  TSmallChart small;
  small.chart.resize(800, 400);
  for (int i = 0; i < state.range(0); ++i) small.chart.AddChannel();
  small.view->SetBackgroundTransparent(false);
  TBitmap bitmap(800, 400, pfDevice);
  for (auto _ : state) small.chart.DoPaint(*bitmap.Canvas());
}
BENCHMARK(PaintCycle)->Arg(1)->Arg(8);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
