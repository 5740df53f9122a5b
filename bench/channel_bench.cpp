// Appending 10 million points to a channel of a chart with tracking on and the chart in update
// suspension, one run per list layout, beside a plain std::vector push_back of the same records
// in the same program. Counters: time per point and bytes held per point at the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>
#include <vector>

#include "Headless.h"
#include "PointBench.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/rUdudComponent.h"

namespace {

using pointbench::kLayouts;
using pointbench::Layout;
using pointbench::kPoints;
using pointbench::SetCounters;

void AddXY(benchmark::State& state, TiPlotDataStyle style) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto chart = std::make_unique<TiPlotComponent>();
    chart->AddXAxis();
    chart->AddYAxis();
    chart->AddChannel();
    TiPlotChannelCustom* channel = chart->Channel(0);
    channel->SetDataStyle(style);
    chart->BeginUpdate();
    state.ResumeTiming();
    // X and Y rise with every point, so both axes widen on each: the most tracking work a point
    // can cause.
    for (int i = 0; i < kPoints; ++i) channel->AddXY(i, i * 0.5);
    benchmark::DoNotOptimize(channel->Count());
    state.PauseTiming();
    bytes = channel->MemoryUsed();
    chart->EndUpdate();
    chart.reset();
    state.ResumeTiming();
  }
  SetCounters(state, bytes);
}

void Register() {
  for (const Layout& l : kLayouts)
    benchmark::RegisterBenchmark((std::string("BM_AddXY/") + l.name).c_str(),
                                 [style = l.style](benchmark::State& s) { AddXY(s, style); })
        ->Unit(benchmark::kMillisecond);
  pointbench::RegisterVectorPushBack();
}

}  // namespace

int main(int argc, char** argv) {
  pointbench::FixAllocatorThreshold();
  UseOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
