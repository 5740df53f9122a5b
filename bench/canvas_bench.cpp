// Line drawing on the platform canvas (pixel-exact, end point excluded, dash patterns of the
// platform) beside Qt's own aliased polyline on the same bitmap, for a trace of 1025 points.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

std::vector<TPoint> Trace() {
  std::vector<TPoint> pts;
  for (int i = 0; i < 1025; ++i)
    pts.push_back({20 + i * 760 / 1024, 200 + static_cast<int>(150 * std::sin(i / 40.0) * std::cos(i / 170.0))});
  return pts;
}

void CanvasPolyline(benchmark::State& state) {
  const std::vector<TPoint> pts = Trace();
  TBitmap bitmap(800, 400, pfDevice);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Pen().Style = static_cast<TPenStyle>(state.range(0));
  for (auto _ : state) {
    canvas->MoveTo(pts[0].X, pts[0].Y);
    for (std::size_t i = 1; i < pts.size(); ++i) canvas->LineTo(pts[i].X, pts[i].Y);
  }
}
BENCHMARK(CanvasPolyline)->Arg(psSolid)->Arg(psDot);

void QtPolyline(benchmark::State& state) {
  const std::vector<TPoint> pts = Trace();
  QPolygon poly;
  for (const TPoint& p : pts) poly << QPoint(p.X, p.Y);
  QImage image(800, 400, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 0, state.range(0) == psDot ? Qt::DotLine : Qt::SolidLine));
  for (auto _ : state) painter.drawPolyline(poly);
}
BENCHMARK(QtPolyline)->Arg(psSolid)->Arg(psDot);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
