// The chart data file: saving and loading one channel of 1 million points as text and as
// compact-interval data, beside a plain write and read of a buffer as large as each file
// through the same file API (the replacing writer; one QFile read). Counters: the file's size.
// BM_ConvertOnly measures what memory alone costs a compact load of these points.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/BenchMain.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"
#include "platform/FileReplace.h"

namespace {

constexpr int kPoints = 1000000;

// A chart with one X axis, one Y axis and one channel.
std::unique_ptr<TiPlotComponent> NewChart() {
  auto chart = std::make_unique<TiPlotComponent>();
  chart->AddXAxis();
  chart->AddYAxis();
  chart->AddChannel();
  return chart;
}

// The chart that is saved: a spectrum-like trace whose numbers take all 15 digits.
TiPlotComponent& SavedChart() {
  // Kept to the end of the program (a window may not outlive the application object).
  static TiPlotComponent* chart = [] {
    auto c = NewChart();
    c->Channel(0)->SetTitleText(QStringLiteral("Sample"));
    c->BeginUpdate();
    for (int i = 0; i < kPoints; ++i) c->Channel(0)->AddXY(380.0 + i * 0.000413, 1000.0 * std::sin(i * 0.001) + 1234.5678);
    c->EndUpdate();
    return c.release();
  }();
  return *chart;
}

QString FilePath(const char* name) { return QDir::temp().filePath(QStringLiteral("lumio_file_bench_%1").arg(QLatin1String(name))); }

// The file of a format, written once.
QString SavedFile(TiPlotDataFileFormat format) {
  const QString path = FilePath(format == ipdffText ? "text.txt" : "compact.bin");
  if (!QFileInfo::exists(path)) {
    SavedChart().SetDataFileFormat(format);
    SavedChart().SaveDataToFile(path);
  }
  return path;
}

void Save(benchmark::State& state, TiPlotDataFileFormat format) {
  TiPlotComponent& chart = SavedChart();
  chart.SetDataFileFormat(format);
  const QString path = FilePath("save.out");
  for (auto _ : state) chart.SaveDataToFile(path);
  state.counters["file_bytes"] = double(QFileInfo(path).size());
  QFile::remove(path);
}

void Load(benchmark::State& state, TiPlotDataFileFormat format) {
  const QString path = SavedFile(format);
  int count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto chart = NewChart();
    state.ResumeTiming();
    chart->LoadDataFromFile(path);
    state.PauseTiming();
    count = chart->Channel(0)->Count();
    chart.reset();
    state.ResumeTiming();
  }
  if (count != kPoints) state.SkipWithError("not every point was loaded");
  state.counters["file_bytes"] = double(QFileInfo(path).size());
}

void WriteBytes(benchmark::State& state, TiPlotDataFileFormat format) {
  const QByteArray buffer(QFileInfo(SavedFile(format)).size(), 'x');
  const QString path = FilePath("write.out");
  for (auto _ : state) {
    TReplacingFile file(path);
    file.Write(buffer);
    file.Commit();
  }
  state.counters["file_bytes"] = double(buffer.size());
  QFile::remove(path);
}

void ReadBytes(benchmark::State& state, TiPlotDataFileFormat format) {
  const QString path = SavedFile(format);
  qint64 size = 0;
  for (auto _ : state) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    benchmark::DoNotOptimize(data.constData());
    size = data.size();
  }
  state.counters["file_bytes"] = double(size);
}

// The floor under a compact load: the file's bytes (already in memory) turned into the points'
// doubles in fresh memory, with no channel at all. Into two vectors of X and Y (16 bytes a point)
// and into 24-byte records as the chart's standard point list keeps them.
struct TRecord {
  double X, Y;
  std::uint16_t Flags;
};

template <bool Records>
void ConvertOnly(benchmark::State& state) {
  QFile file(SavedFile(ipdffCompactInterval));
  file.open(QIODevice::ReadOnly);
  const QByteArray data = file.readAll();
  // Past the two header lines: X and Y of the first two rows, then Y only, then the end marker.
  const char* p = data.constData() + data.indexOf('\n', data.indexOf('\n') + 1) + 1;
  const std::size_t values = static_cast<std::size_t>(data.constData() + data.size() - p) / 4 - 1;
  std::vector<float> floats(values);
  std::memcpy(floats.data(), p, values * 4);
  const std::size_t points = values - 2;
  for (auto _ : state) {
    const double x0 = floats[0], dx = double(floats[2]) - x0;
    if constexpr (Records) {
      auto* records = static_cast<TRecord*>(std::malloc(points * sizeof(TRecord)));
      records[0] = {x0, floats[1], 0};
      records[1] = {floats[2], floats[3], 0};
      for (std::size_t i = 2; i < points; ++i) records[i] = {x0 + double(i) * dx, floats[i + 2], 0};
      benchmark::DoNotOptimize(records);
      benchmark::ClobberMemory();
      std::free(records);
    } else {
      std::vector<double> x(points), y(points);
      x[0] = x0, y[0] = floats[1], x[1] = floats[2], y[1] = floats[3];
      for (std::size_t i = 2; i < points; ++i) {
        x[i] = x0 + double(i) * dx;
        y[i] = floats[i + 2];
      }
      benchmark::DoNotOptimize(x.data());
      benchmark::DoNotOptimize(y.data());
      benchmark::ClobberMemory();
    }
  }
  state.counters["points"] = double(points);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_SaveText/1M", [](benchmark::State& s) { Save(s, ipdffText); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_WriteBytes/Text1M", [](benchmark::State& s) { WriteBytes(s, ipdffText); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_LoadText/1M", [](benchmark::State& s) { Load(s, ipdffText); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ReadBytes/Text1M", [](benchmark::State& s) { ReadBytes(s, ipdffText); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_SaveCompact/1M", [](benchmark::State& s) { Save(s, ipdffCompactInterval); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_WriteBytes/Compact1M", [](benchmark::State& s) { WriteBytes(s, ipdffCompactInterval); })
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_LoadCompact/1M", [](benchmark::State& s) { Load(s, ipdffCompactInterval); })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ReadBytes/Compact1M", [](benchmark::State& s) { ReadBytes(s, ipdffCompactInterval); })
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ConvertOnly/Compact1M", ConvertOnly<false>)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ConvertOnly/Records1M", ConvertOnly<true>)->Unit(benchmark::kMillisecond);
  const int result = RunHeadlessBenchmarks(argc, argv);
  QFile::remove(FilePath("text.txt"));
  QFile::remove(FilePath("compact.bin"));
  return result;
}
