#pragma once
// What the point-appending benchmarks share: the number of points, the per-point counters, the
// four list layouts and the plain std::vector push_back of the same records that each layout is
// compared with in the same program.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chart/channels/rUdudDataLists.h"

namespace pointbench {

constexpr int kPoints = 10'000'000;

// Every large block is mapped afresh, whichever benchmark runs first. glibc otherwise raises its
// mapping threshold after the first large block is freed, so that later benchmarks find memory
// already mapped (no page faults) and the comparison depends on the order of the runs.
inline void FixAllocatorThreshold() { mallopt(M_MMAP_THRESHOLD, 128 * 1024); }

inline void SetCounters(benchmark::State& state, std::int64_t bytes) {
  state.counters["per_point"] =
      benchmark::Counter(kPoints, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes_per_point"] = double(bytes) / kPoints;
}

struct Layout {
  const char* name;
  TiPlotDataStyle style;
};
inline constexpr Layout kLayouts[] = {{"null", ipdsStandard},
                                      {"compact", ipdsCompact},
                                      {"compact_interval", ipdsCompactInterval},
                                      {"full", ipdsFullFeature}};

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

// BM_VectorPushBack/<layout> for the four record layouts.
inline void RegisterVectorPushBack() {
  static const TiPlotPointTemplate kTemplate;
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

}  // namespace pointbench
