// One-pixel lines on the platform canvas (pixel-exact, end point excluded, dash patterns of the
// platform) beside Qt's own aliased cosmetic lines on a bitmap of the same size and format, and
// beside the canvas's earlier walk through the painter (its reference), in three loads:
// - a trace of 1025 points across a 497 x 345 bitmap, as a chart channel draws it;
// - one million random segments, end to end, anywhere on that bitmap;
// - 1000 long 45-degree lines, most of them cut by the bitmap's edges.
// The argument is the pen style (0 solid, 2 dotted).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <random>
#include <vector>

#include "bench/BenchMain.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

constexpr int kWidth = 497, kHeight = 345;

std::vector<TPoint> Trace() {
  std::vector<TPoint> pts;
  for (int i = 0; i < 1025; ++i)
    pts.push_back({i * (kWidth - 1) / 1024,
                   kHeight / 2 + static_cast<int>(std::lround(160 * std::sin(i / 40.0) * std::cos(i / 170.0)))});
  return pts;
}

std::vector<TPoint> RandomPath(std::size_t count) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
  std::vector<TPoint> pts(count);
  for (TPoint& p : pts) p = {x(rng), y(rng)};
  return pts;
}

// Start and end of each diagonal: down-right at 45 degrees from the top edge, from far left of
// the bitmap to far right of it.
std::vector<std::pair<TPoint, TPoint>> Diagonals() {
  std::vector<std::pair<TPoint, TPoint>> lines;
  for (int i = 0; i < 1000; ++i) {
    const int x0 = -kHeight + i * (kWidth + kHeight) / 1000;
    lines.push_back({{x0, 0}, {x0 + kHeight, kHeight}});
  }
  return lines;
}

QPolygon ToQPolygon(const std::vector<TPoint>& pts) {
  QPolygon poly;
  poly.reserve(static_cast<int>(pts.size()));
  for (const TPoint& p : pts) poly << QPoint(p.X, p.Y);
  return poly;
}

QPen QtPen(benchmark::State& state) { return QPen(Qt::black, 0, state.range(0) == psDot ? Qt::DotLine : Qt::SolidLine); }

void SetUpCanvas(TCanvas* canvas, benchmark::State& state, bool reference) {
  canvas->Pen().Style = static_cast<TPenStyle>(state.range(0));
  canvas->UseReferenceLines(reference);
}

void RunCanvasPolyline(benchmark::State& state, bool reference) {
  const std::vector<TPoint> pts = Trace();
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  SetUpCanvas(bitmap.Canvas(), state, reference);
  for (auto _ : state) bitmap.Canvas()->Polyline(pts);
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size() - 1));
}

// The trace as the canvas draws it.
void CanvasPolyline(benchmark::State& state) { RunCanvasPolyline(state, false); }
BENCHMARK(CanvasPolyline)->Arg(psSolid)->Arg(psDot);

void CanvasPolylineReference(benchmark::State& state) { RunCanvasPolyline(state, true); }
BENCHMARK(CanvasPolylineReference)->Arg(psSolid)->Arg(psDot);

// The trace point by point, as a program drawing with MoveTo and LineTo does.
void CanvasLineTo(benchmark::State& state) {
  const std::vector<TPoint> pts = Trace();
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  TCanvas* canvas = bitmap.Canvas();
  SetUpCanvas(canvas, state, false);
  for (auto _ : state) {
    canvas->MoveTo(pts[0].X, pts[0].Y);
    for (std::size_t i = 1; i < pts.size(); ++i) canvas->LineTo(pts[i].X, pts[i].Y);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size() - 1));
}
BENCHMARK(CanvasLineTo)->Arg(psSolid)->Arg(psDot);

// Qt's own aliased cosmetic polyline through the same points, on a bitmap of the same format.
void RunQtPolyline(benchmark::State& state, const std::vector<TPoint>& pts) {
  const QPolygon poly = ToQPolygon(pts);
  QImage image(kWidth, kHeight, QImageFormatOf(pfDevice));
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QtPen(state));
  for (auto _ : state) painter.drawPolyline(poly);
  state.SetItemsProcessed(state.iterations() * (poly.size() - 1));
}

void QtPolyline(benchmark::State& state) { RunQtPolyline(state, Trace()); }
BENCHMARK(QtPolyline)->Arg(psSolid)->Arg(psDot);

void RunCanvasRandomSegments(benchmark::State& state, bool reference) {
  const std::vector<TPoint> pts = RandomPath(1000001);
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  SetUpCanvas(bitmap.Canvas(), state, reference);
  for (auto _ : state) bitmap.Canvas()->Polyline(pts);
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size() - 1));
}

void CanvasRandomSegments(benchmark::State& state) { RunCanvasRandomSegments(state, false); }
BENCHMARK(CanvasRandomSegments)->Arg(psSolid)->Arg(psDot)->Unit(benchmark::kMillisecond);

void CanvasRandomSegmentsReference(benchmark::State& state) { RunCanvasRandomSegments(state, true); }
BENCHMARK(CanvasRandomSegmentsReference)->Arg(psSolid)->Unit(benchmark::kMillisecond)->Iterations(1);

void QtRandomSegments(benchmark::State& state) { RunQtPolyline(state, RandomPath(1000001)); }
BENCHMARK(QtRandomSegments)->Arg(psSolid)->Arg(psDot)->Unit(benchmark::kMillisecond);

void RunCanvasDiagonals(benchmark::State& state, bool reference) {
  const auto lines = Diagonals();
  TBitmap bitmap(kWidth, kHeight, pfDevice);
  TCanvas* canvas = bitmap.Canvas();
  SetUpCanvas(canvas, state, reference);
  for (auto _ : state)
    for (const auto& [a, b] : lines) {
      canvas->MoveTo(a.X, a.Y);
      canvas->LineTo(b.X, b.Y);
    }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(lines.size()));
}

void CanvasDiagonals(benchmark::State& state) { RunCanvasDiagonals(state, false); }
BENCHMARK(CanvasDiagonals)->Arg(psSolid)->Arg(psDot)->Unit(benchmark::kMicrosecond);

void CanvasDiagonalsReference(benchmark::State& state) { RunCanvasDiagonals(state, true); }
BENCHMARK(CanvasDiagonalsReference)->Arg(psSolid)->Unit(benchmark::kMicrosecond);

void QtDiagonals(benchmark::State& state) {
  std::vector<QLine> lines;
  for (const auto& [a, b] : Diagonals()) lines.emplace_back(a.X, a.Y, b.X, b.Y);
  QImage image(kWidth, kHeight, QImageFormatOf(pfDevice));
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QtPen(state));
  for (auto _ : state)
    for (const QLine& l : lines) painter.drawLine(l);
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(lines.size()));
}
BENCHMARK(QtDiagonals)->Arg(psSolid)->Arg(psDot)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
