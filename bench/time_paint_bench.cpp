// The time chart's hot paths. Painting a 497 x 345 time chart (axes and grid shown, legend hidden)
// with one channel of a million ordered random-walk points in a solid one-pixel pen, all of them in
// view (BM_TimePaint/1M) or a tenth of them (BM_TimePaint/1M_Tenth); when Debian's Qt 6 build of
// QCustomPlot is installed, the same data drawn by a QCPGraph with adaptive sampling into an image
// of the same size (BM_QCustomPlot/...). Appending ten million points to a time channel
// (BM_TimeAddXY/compact-interval) beside the XY channel's append of the same points in the same
// layout (BM_XYAddXY/compact-interval), both in update suspension with tracking on.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QVector>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "PointBench.h"
#include "bench/BenchMain.h"
#include "chart/channels/iXYPlotChannel.h"
#include "chart/channels/rUdud.h"
#include "chart/core/rUdudMasterManager.h"
#include "platform/Bitmap.h"
#include "tests/chart/channels/XYChartSupport.h"

#ifdef LUMIO_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

constexpr int kWidth = 497;
constexpr int kHeight = 345;
constexpr int kPaintPoints = 1000000;

struct TSeries {
  std::vector<double> X, Y;
  double Low = 1e300, High = -1e300;
};

// A random walk with X the point's number.
TSeries Walk() {
  std::mt19937 random(1025);
  std::normal_distribution<double> step(0.0, 1.0);
  TSeries s;
  s.X.resize(kPaintPoints);
  s.Y.resize(kPaintPoints);
  double y = 0;
  for (int i = 0; i < kPaintPoints; ++i) {
    y += step(random);
    s.X[i] = i;
    s.Y[i] = y;
    s.Low = std::min(s.Low, y);
    s.High = std::max(s.High, y);
  }
  return s;
}

// The visible part: all, or the first tenth.
double VisibleSpan(bool tenth) { return tenth ? (kPaintPoints - 1) / 10.0 : kPaintPoints - 1; }

void PaintOurs(benchmark::State& state, bool tenth) {
  const TSeries data = Walk();
  TiPlot chart;
  PrepareXYChart(chart, kWidth, kHeight, 0, VisibleSpan(tenth), data.Low, data.High - data.Low);
  chart.DataView(0)->SetGridXAxisName(chart.XAxis(0)->Name());
  chart.DataView(0)->SetGridYAxisName(chart.YAxis(0)->Name());
  TiPlotChannel* ch = AddChannelOnAxes(chart);
  chart.BeginUpdate();
  for (int i = 0; i < kPaintPoints; ++i) ch->AddXY(data.X[i], data.Y[i]);
  chart.EndUpdate();
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  for (auto _ : state) chart.DoPaint(*bitmap.Canvas());
}

void BM_TimePaint_1M(benchmark::State& state) { PaintOurs(state, false); }
void BM_TimePaint_1M_Tenth(benchmark::State& state) { PaintOurs(state, true); }
BENCHMARK(BM_TimePaint_1M)->Name("BM_TimePaint/1M")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimePaint_1M_Tenth)->Name("BM_TimePaint/1M_Tenth")->Unit(benchmark::kMicrosecond);

#ifdef LUMIO_HAVE_QCUSTOMPLOT
void PaintQCustomPlot(benchmark::State& state, bool tenth) {
  const TSeries data = Walk();
  QCustomPlot plot;
  plot.resize(kWidth, kHeight);
  QCPGraph* graph = plot.addGraph();
  graph->setAdaptiveSampling(true);
  graph->setPen(QPen(Qt::red, 0));
  graph->setData(QVector<double>(data.X.begin(), data.X.end()), QVector<double>(data.Y.begin(), data.Y.end()), true);
  plot.legend->setVisible(false);
  plot.xAxis->setRange(0, VisibleSpan(tenth));
  plot.yAxis->setRange(data.Low, data.High);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QCPPainter painter(&image);
    plot.toPainter(&painter, kWidth, kHeight);
  }
}

void BM_QCustomPlot_1M(benchmark::State& state) { PaintQCustomPlot(state, false); }
void BM_QCustomPlot_1M_Tenth(benchmark::State& state) { PaintQCustomPlot(state, true); }
BENCHMARK(BM_QCustomPlot_1M)->Name("BM_QCustomPlot/1M")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QCustomPlot_1M_Tenth)->Name("BM_QCustomPlot/1M_Tenth")->Unit(benchmark::kMicrosecond);
#endif

// Ten million points appended to a channel of the given class, compact-interval layout.
void Append(benchmark::State& state, TiPlotChannelClass channelClass) {
  using pointbench::kPoints;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto chart = std::make_unique<TiPlotComponent>();
    chart->Master()->SetChannelClass(channelClass);
    chart->AddXAxis();
    chart->AddYAxis();
    chart->AddChannel();
    TiPlotChannelCustom* channel = chart->Channel(0);
    channel->SetDataStyle(ipdsCompactInterval);
    chart->BeginUpdate();
    state.ResumeTiming();
    for (int i = 0; i < kPoints; ++i) channel->AddXY(i, i * 0.5);
    benchmark::DoNotOptimize(channel->Count());
    state.PauseTiming();
    bytes = channel->MemoryUsed();
    chart->EndUpdate();
    chart.reset();
    state.ResumeTiming();
  }
  pointbench::SetCounters(state, bytes);
}

void BM_TimeAddXY(benchmark::State& state) { Append(state, &CreateChannelOf<TiPlotChannel>); }
void BM_XYAddXY(benchmark::State& state) { Append(state, &CreateChannelOf<TiXYPlotChannel>); }
BENCHMARK(BM_TimeAddXY)->Name("BM_TimeAddXY/compact-interval")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XYAddXY)->Name("BM_XYAddXY/compact-interval")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  pointbench::FixAllocatorThreshold();
#ifndef LUMIO_HAVE_QCUSTOMPLOT
  std::fprintf(stderr, "QCustomPlot (libqcustomplot2.1-qt6, libqcustomplot-dev) is not installed: its benchmarks are left out.\n");
#endif
  return RunHeadlessBenchmarks(argc, argv);
}
