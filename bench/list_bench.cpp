// Appending 10 million points to each point list layout through the virtual Add, as a channel
// does, beside a plain std::vector push_back of the same records in the same program. Counters:
// time per point and bytes held per point at the end.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "chart/channels/rUdudDataLists.h"

namespace {

constexpr int kPoints = 10'000'000;

void SetCounters(benchmark::State& state, std::int64_t bytes) {
  state.counters["per_point"] =
      benchmark::Counter(kPoints, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes_per_point"] = double(bytes) / kPoints;
}

void ListAdd(benchmark::State& state, TiPlotDataStyle style) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    // Made through the factory, so the calls stay virtual as in the channel.
    std::unique_ptr<TiPlotDataCustomList> list = CreateDataList(style);
    for (int i = 0; i < kPoints; ++i) list->Add(false, false, i, i * 0.5);
    benchmark::DoNotOptimize(list->Count());
    bytes = list->MemoryUsed();
  }
  SetCounters(state, bytes);
}

template <class Record, class Make>
void VectorPushBack(benchmark::State& state, Make make) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    std::vector<Record> records;
    for (int i = 0; i < kPoints; ++i) records.push_back(make(double(i), i * 0.5));
    benchmark::DoNotOptimize(records.data());
    bytes = std::int64_t(records.capacity() * sizeof(Record));
  }
  SetCounters(state, bytes);
}

const TiPlotPointTemplate kTemplate;

void Register() {
  struct Layout {
    const char* name;
    TiPlotDataStyle style;
  };
  for (const Layout& l : {Layout{"null", ipdsStandard}, Layout{"compact", ipdsCompact},
                          Layout{"compact_interval", ipdsCompactInterval}, Layout{"full", ipdsFullFeature}}) {
    benchmark::RegisterBenchmark((std::string("BM_ListAdd/") + l.name).c_str(),
                                 [style = l.style](benchmark::State& s) { ListAdd(s, style); })
        ->Unit(benchmark::kMillisecond);
  }
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
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
