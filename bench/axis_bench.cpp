// The axis's hot path and its per-paint work: ValueToPosition of a linear and a logarithmic
// axis over 4096 values (beside the same formula evaluated from the axis's properties on every
// call, as it would be without the factors worked out in advance), and CalculateTicks of a
// decimal, a logarithmic and a date-time axis 800 pixels long.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QApplication>
#include <cmath>
#include <random>
#include <vector>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/rUdudComponent.h"
#include "platform/Bitmap.h"

namespace {

struct AxisChart {
  TiPlotComponent chart;
  TiPlotXAxis* axis = nullptr;
  std::vector<double> values;
  explicit AxisChart(bool log) {
    chart.AddXAxis();
    axis = chart.XAxis(0);
    axis->SetHorizontal(true);
    if (log) {
      axis->SetScaleType(ipstLog10);
      axis->SetMinSpan(1e-3, 1e6);
    }
    axis->SetLayoutRect(TRect{40, 300, 840, 330});
    axis->UpdateScaleArea(nullptr);
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> spread(-0.2, 1.2);
    for (int i = 0; i < 4096; ++i) {
      const double f = spread(random);
      values.push_back(log ? std::pow(10.0, -3 + 6 * f) : axis->Min() + f * axis->Span());
    }
  }
};

// The mapping evaluated from the properties on every call.
int PlainValueToPosition(const TiPlotAxis& axis, double v) {
  const TRect r = axis.ScaleArea();
  const double a = axis.ReverseScale() ? r.Right : r.Left;
  const double b = axis.ReverseScale() ? r.Left : r.Right;
  if (a == b || !(axis.Span() > 1e-300)) return (r.Left + r.Right) / 2;
  if (axis.ScaleType() == ipstLinear) {
    const double d = std::clamp((v - axis.Min()) * ((a - b) / axis.Span()), -1e9, 1e9);
    return static_cast<int>(std::clamp(a - std::nearbyint(d), -32000.0, 32000.0));
  }
  const double m = axis.Min() > 0 ? axis.Min() : 1.0;
  const double l0 = std::log10(m), l1 = std::log10(m + axis.Span());
  const double d = (std::log10(v > 0 ? v : 1.0) - l0) * (a - b) / (l1 - l0);
  return static_cast<int>(a - std::nearbyint(std::clamp(d, -1e10, 1e10)));
}

template <bool Log, bool Plain>
void ValueToPosition(benchmark::State& state) {
  AxisChart c(Log);
  for (auto _ : state) {
    long long sum = 0;
    for (double v : c.values) sum += Plain ? PlainValueToPosition(*c.axis, v) : c.axis->ValueToPosition(v);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(c.values.size()));
}
BENCHMARK(ValueToPosition<false, false>)->Name("ValueToPosition/linear");
BENCHMARK(ValueToPosition<false, true>)->Name("ValueToPosition/linear_plain");
BENCHMARK(ValueToPosition<true, false>)->Name("ValueToPosition/log");
BENCHMARK(ValueToPosition<true, true>)->Name("ValueToPosition/log_plain");

void CalculateTicks(benchmark::State& state) {
  AxisChart c(state.range(0) == 1);
  if (state.range(0) == 2) {
    c.axis->SetLabelsFormatStyle(iptfDateTime);
    c.axis->SetMinSpan(45322, 30);
  }
  TBitmap bitmap(8, 8, pfDevice);
  for (auto _ : state) {
    c.axis->CalculateTicks(bitmap.Canvas());
    benchmark::DoNotOptimize(c.axis->Ticks().data());
  }
  state.counters["ticks"] = static_cast<double>(c.axis->Ticks().size());
}
BENCHMARK(CalculateTicks)->Arg(0)->Arg(1)->Arg(2)->ArgName("decimal0_log1_datetime2");

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
