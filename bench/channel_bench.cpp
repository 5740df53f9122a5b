// Appending 10 million points to a channel of a chart with tracking on and the chart in update
// suspension, one run per list layout, beside a plain std::vector push_back of the same records
// in the same program. Counters: time per point and bytes held per point at the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>
#include <vector>

#include "Headless.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/rUdudComponent.h"

namespace {

constexpr int kPoints = 10'000'000;

void SetCounters(benchmark::State& state, std::int64_t bytes) {
  state.counters["per_point"] =
      benchmark::Counter(kPoints, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes_per_point"] = double(bytes) / kPoints;
}

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
    // X rises with every point, so the X axis widens on each; Y wanders inside a band.
    for (int i = 0; i < kPoints; ++i) channel->AddXY(i, (i & 1023) * 0.5);
    benchmark::DoNotOptimize(channel->Count());
    state.PauseTiming();
    bytes = channel->MemoryUsed();
    chart->EndUpdate();
    chart.reset();
    state.ResumeTiming();
  }
  SetCounters(state, bytes);
}

template <class Record, class Make>
void VectorPushBack(benchmark::State& state, Make make) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    std::vector<Record> records;
    for (int i = 0; i < kPoints; ++i) records.push_back(make(double(i), (i & 1023) * 0.5));
    benchmark::DoNotOptimize(records.data());
    bytes = std::int64_t(records.capacity() * sizeof(Record));
  }
  SetCounters(state, bytes);
}

const TiPlotPointTemplate kTemplate;

struct Layout {
  const char* name;
  TiPlotDataStyle style;
};
const Layout kLayouts[] = {{"null", ipdsStandard},
                           {"compact", ipdsCompact},
                           {"compact_interval", ipdsCompactInterval},
                           {"full", ipdsFullFeature}};

void Register() {
  for (const Layout& l : kLayouts)
    benchmark::RegisterBenchmark((std::string("BM_AddXY/") + l.name).c_str(),
                                 [style = l.style](benchmark::State& s) { AddXY(s, style); })
        ->Unit(benchmark::kMillisecond);
  auto vector = [](const char* name, auto fn) {
    benchmark::RegisterBenchmark((std::string("BM_VectorPushBack/") + name).c_str(), fn)->Unit(benchmark::kMillisecond);
  };
  vector("null", [](benchmark::State& s) {
    VectorPushBack<TiPlotNullRecord>(s, [](double x, double y) { return TiPlotNullRecord{x, y, 0}; });
  });
  vector("compact", [](benchmark::State& s) {
    VectorPushBack<TiPlotCompactRecord>(s, [](double x, double y) { return TiPlotCompactRecord{ToSingle(x), ToSingle(y)}; });
  });
  vector("compact_interval", [](benchmark::State& s) {
    VectorPushBack<TiPlotCompactIntervalRecord>(s, [](double, double y) { return TiPlotCompactIntervalRecord{ToSingle(y)}; });
  });
  vector("full", [](benchmark::State& s) {
    VectorPushBack<TiPlotFullRecord>(
        s, [](double x, double y) { return TiPlotFullRecord{x, y, false, false, 0.0, 0.0, 0.0, 0.0, kTemplate}; });
  });
}

}  // namespace

int main(int argc, char** argv) {
  UseOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
