// Appending 10 million points to each point list layout through the virtual Add, as a channel
// does, beside a plain std::vector push_back of the same records in the same program. Counters:
// time per point and bytes held per point at the end. Also reading the points back once through
// the virtual GetData and once through the typed accessor that drawing and fitting use.
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
