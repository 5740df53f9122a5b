// Appending 10 million points to each point list layout through the virtual Add, as a channel
// does, beside a plain std::vector push_back of the same records in the same program. Counters:
// time per point and bytes held per point at the end. Also reading the points back once through
// the virtual GetData and once through the typed accessor that drawing and fitting use.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "PointBench.h"
#include "chart/channels/rUdudDataLists.h"

namespace {

using pointbench::kLayouts;
using pointbench::Layout;
using pointbench::kPoints;
using pointbench::SetCounters;

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

// Sums X and Y of every point of a filled list, as a drawing or fitting loop reads them.
void ReadPoints(benchmark::State& state, TiPlotDataStyle style, bool typed) {
  std::unique_ptr<TiPlotDataCustomList> list = CreateDataList(style);
  for (int i = 0; i < kPoints; ++i) list->Add(false, false, i, i * 0.5);
  for (auto _ : state) {
    // Four sums, so that the addition's latency does not hide the cost of the access.
    double sum[4] = {};
    if (typed) {
      VisitDataList(*list, [&](const auto& points) {
        points.ForEachPoint(0, points.Count() - 1, [&](int i, const TiPlotPoint& p) {
          if (!p.Null && !p.Empty) sum[i & 3] += p.X + p.Y;
        });
      });
    } else {
      double x, y;
      bool empty, null;
      for (int i = 0; i < list->Count(); ++i) {
        list->GetData(i, x, y, empty, null);
        if (!null && !empty) sum[i & 3] += x + y;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["per_point"] =
      benchmark::Counter(kPoints, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Register() {
  for (const Layout& l : kLayouts) {
    benchmark::RegisterBenchmark((std::string("BM_ListAdd/") + l.name).c_str(),
                                 [style = l.style](benchmark::State& s) { ListAdd(s, style); })
        ->Unit(benchmark::kMillisecond);
  }
  for (const Layout& l : kLayouts) {
    for (bool typed : {false, true}) {
      benchmark::RegisterBenchmark((std::string(typed ? "BM_ReadTyped/" : "BM_ReadVirtual/") + l.name).c_str(),
                                   [style = l.style, typed](benchmark::State& s) { ReadPoints(s, style, typed); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  pointbench::RegisterVectorPushBack();
}

}  // namespace

int main(int argc, char** argv) {
  pointbench::FixAllocatorThreshold();
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
