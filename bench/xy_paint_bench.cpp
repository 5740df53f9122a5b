// Painting an XY chart of 497 x 345 pixels (axes, grid, legend hidden): eight channels of 1025
// points (BM_XYPaint/8x1025) and one channel of a million random-walk points (BM_XYPaint/1M), the
// latter also with traces two and five pixels wide (BM_XYPaint/1M_Width2, /1M_Width5).
// When Debian's Qt 6 build of QCustomPlot is installed, the same data are drawn by it into an
// image of the same size with toPainter (adaptive sampling on, its default, and the same pen
// width) in the same program (BM_QCustomPlot/...); without it those are left out.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QVector>
#include <cstdio>
#include <random>
#include <vector>

#include "bench/BenchMain.h"
#include "chart/core/iXYPlot.h"
#include "platform/Bitmap.h"
#include "tests/chart/channels/XYChartSupport.h"

#ifdef LUMIO_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

constexpr int kWidth = 497;
constexpr int kHeight = 345;

struct TSeries {
  std::vector<double> X, Y;
};

// Random walks with X the point's number.
std::vector<TSeries> Walks(int channels, int points) {
  std::mt19937 random(1025);
  std::normal_distribution<double> step(0.0, 1.0);
  std::vector<TSeries> all(channels);
  for (int c = 0; c < channels; ++c) {
    double y = 10.0 * c;
    all[c].X.resize(points);
    all[c].Y.resize(points);
    for (int i = 0; i < points; ++i) {
      y += step(random);
      all[c].X[i] = i;
      all[c].Y[i] = y;
    }
  }
  return all;
}

void Range(const std::vector<TSeries>& all, double& lo, double& hi) {
  lo = 1e300;
  hi = -1e300;
  for (const TSeries& s : all)
    for (double v : s.Y) {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
}

void PaintOurs(benchmark::State& state, int channels, int points, int width = 1) {
  const std::vector<TSeries> data = Walks(channels, points);
  double lo, hi;
  Range(data, lo, hi);
  TiXYPlot chart;
  PrepareXYChart(chart, kWidth, kHeight, 0, points - 1, lo, hi - lo);
  chart.DataView(0)->SetGridXAxisName(chart.XAxis(0)->Name());
  chart.DataView(0)->SetGridYAxisName(chart.YAxis(0)->Name());
  chart.BeginUpdate();
  for (const TSeries& s : data) {
    TiXYPlotChannel* ch = AddXYChannel(chart);
    ch->SetTraceLineWidth(width);
    for (size_t i = 0; i < s.X.size(); ++i) ch->AddXY(s.X[i], s.Y[i]);
  }
  chart.EndUpdate();
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  for (auto _ : state) chart.DoPaint(*bitmap.Canvas());
}

void BM_XYPaint_8x1025(benchmark::State& state) { PaintOurs(state, 8, 1025); }
void BM_XYPaint_1M(benchmark::State& state) { PaintOurs(state, 1, 1000000); }
BENCHMARK(BM_XYPaint_8x1025)->Name("BM_XYPaint/8x1025")->Unit(benchmark::kMicrosecond);
void BM_XYPaint_1M_Width2(benchmark::State& state) { PaintOurs(state, 1, 1000000, 2); }
void BM_XYPaint_1M_Width5(benchmark::State& state) { PaintOurs(state, 1, 1000000, 5); }
BENCHMARK(BM_XYPaint_1M)->Name("BM_XYPaint/1M")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XYPaint_1M_Width2)->Name("BM_XYPaint/1M_Width2")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XYPaint_1M_Width5)->Name("BM_XYPaint/1M_Width5")->Unit(benchmark::kMicrosecond);

#ifdef LUMIO_HAVE_QCUSTOMPLOT
void PaintQCustomPlot(benchmark::State& state, int channels, int points, int width = 1) {
  const std::vector<TSeries> data = Walks(channels, points);
  QCustomPlot plot;
  plot.resize(kWidth, kHeight);
  for (const TSeries& s : data) {
    QCPGraph* graph = plot.addGraph();
    graph->setAdaptiveSampling(true);
    if (width > 1) graph->setPen(QPen(graph->pen().color(), width));
    graph->setData(QVector<double>(s.X.begin(), s.X.end()), QVector<double>(s.Y.begin(), s.Y.end()), true);
  }
  plot.legend->setVisible(false);
  plot.rescaleAxes();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QCPPainter painter(&image);
    plot.toPainter(&painter, kWidth, kHeight);
  }
}

void BM_QCustomPlot_8x1025(benchmark::State& state) { PaintQCustomPlot(state, 8, 1025); }
void BM_QCustomPlot_1M(benchmark::State& state) { PaintQCustomPlot(state, 1, 1000000); }
BENCHMARK(BM_QCustomPlot_8x1025)->Name("BM_QCustomPlot/8x1025")->Unit(benchmark::kMicrosecond);
void BM_QCustomPlot_1M_Width2(benchmark::State& state) { PaintQCustomPlot(state, 1, 1000000, 2); }
void BM_QCustomPlot_1M_Width5(benchmark::State& state) { PaintQCustomPlot(state, 1, 1000000, 5); }
BENCHMARK(BM_QCustomPlot_1M)->Name("BM_QCustomPlot/1M")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QCustomPlot_1M_Width2)->Name("BM_QCustomPlot/1M_Width2")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QCustomPlot_1M_Width5)->Name("BM_QCustomPlot/1M_Width5")->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifndef LUMIO_HAVE_QCUSTOMPLOT
  std::fprintf(stderr, "QCustomPlot (libqcustomplot2.1-qt6, libqcustomplot-dev) is not installed: its benchmarks are left out.\n");
#endif
  return RunHeadlessBenchmarks(argc, argv);
}
