// Chart output on an 800 x 400 chart: drawing it once into a bitmap or a recorded picture, and
// each encoder on the drawn bitmap (BMP, JPEG at the save command's settings, PNG at three
// deflate levels, EMF) or picture (SVG).
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"
#include "chart/core/rUdudComponent.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Canvas.h"

namespace {

// A chart with the objects its painting cycle needs and a few filled shapes over them.
class TBenchChart : public TiPlotComponent {
 public:
  TBenchChart() {
    resize(800, 400);
    AddToolBar();
    AddLegend();
    AddDataView();
  }
  void DoPaint(TCanvas& canvas) override {
    TiPlotComponent::DoPaint(canvas);
    for (int i = 0; i < 40; ++i) {
      canvas.Brush() = TBrush{RGB(6 * i, 255 - 6 * i, 128), bsSolid};
      canvas.Rectangle(10 + 19 * i, 300 - 6 * i, 25 + 19 * i, 390);
    }
    canvas.Pen() = TPen{clYellow, psSolid, 1};
    canvas.MoveTo(0, 200);
    for (int x = 0; x < 800; x += 4) canvas.LineTo(x, 200 + (x * 37) % 150 - 75);
  }
};

void RenderBitmapBench(benchmark::State& state) {
  TBenchChart chart;
  for (auto _ : state) benchmark::DoNotOptimize(RenderBitmap(chart));
}
BENCHMARK(RenderBitmapBench)->Name("Output/RenderBitmap")->Unit(benchmark::kMillisecond);

void RenderPictureBench(benchmark::State& state) {
  TBenchChart chart;
  for (auto _ : state) benchmark::DoNotOptimize(RenderPicture(chart));
}
BENCHMARK(RenderPictureBench)->Name("Output/RenderPicture")->Unit(benchmark::kMillisecond);

void EncodeBmpBench(benchmark::State& state) {
  TBenchChart chart;
  const TBitmap bitmap = RenderBitmap(chart);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeBmpFile(bitmap.Image()));
}
BENCHMARK(EncodeBmpBench)->Name("Output/EncodeBmp")->Unit(benchmark::kMillisecond);

void EncodeJpegBench(benchmark::State& state) {
  TBenchChart chart;
  const TBitmap bitmap = RenderBitmap(chart);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpegFile(bitmap, 100, true));
}
BENCHMARK(EncodeJpegBench)->Name("Output/EncodeJpegQ100Progressive")->Unit(benchmark::kMillisecond);

void EncodePngBench(benchmark::State& state) {
  TBenchChart chart;
  const TBitmap bitmap = RenderBitmap(chart);
  const int level = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(EncodePngFile(bitmap.Image(), level));
}
BENCHMARK(EncodePngBench)->Name("Output/EncodePng")->Arg(0)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

void EncodeEmfBench(benchmark::State& state) {
  TBenchChart chart;
  const TBitmap bitmap = RenderBitmap(chart);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeEmfFile(bitmap.Image(), QString()));
}
BENCHMARK(EncodeEmfBench)->Name("Output/EncodeEmf")->Unit(benchmark::kMillisecond);

void EncodeSvgBench(benchmark::State& state) {
  TBenchChart chart;
  const QPicture picture = RenderPicture(chart);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeSvgFile(picture, QSize(800, 400)));
}
BENCHMARK(EncodeSvgBench)->Name("Output/EncodeSvg")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
