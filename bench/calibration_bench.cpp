// Peak finding and lamp-line matching on a 4000-row profile (a high-resolution camera's band):
// the calibration dialog recalibrates on every change of the line list, so this must stay far
// below a frame.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <cmath>
#include <random>
#include <vector>

#include "app/calibration/Calibration.h"

namespace {
// The compact fluorescent lamp's lines over 400 to 720 nm, 12 rows wide, with noise and a
// gentle quadratic scale; the green mercury line clipped.
const std::vector<double>& Profile() {
  static const std::vector<double> profile = [] {
    const int rows = 4000;
    std::vector<double> p(rows);
    std::mt19937 rng(3);
    std::normal_distribution<double> noise(0, 8);
    auto row = [](double w) { return (w - 400) / 0.08 * (1 - 0.00002 * (w - 400)); };
    const double heights[] = {900, 2400, 700, 600, 3000, 1400, 1200, 2600};
    for (int r = 0; r < rows; ++r) p[r] = 200 + 0.05 * r + noise(rng);
    const auto& lines = CompactFluorescentLines().Lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const double c = row(lines[i].Wavelength);
      for (int r = 0; r < rows; ++r) p[r] += heights[i] * std::exp(-0.5 * (r - c) * (r - c) / 36.0);
    }
    for (double& v : p) v = std::min(v, 2500.0);
    return p;
  }();
  return profile;
}

void BM_FindPeaks4000(benchmark::State& state) {
  const std::vector<double>& p = Profile();
  TPeakOptions options;
  options.SmoothHalfWidth = 4;
  for (auto _ : state) benchmark::DoNotOptimize(FindPeaks(p, options));
}
BENCHMARK(BM_FindPeaks4000)->Unit(benchmark::kMicrosecond);

// Peaks, candidate assignments from a first guess 25 nm off at both ends, refinement, both fits.
void BM_CalibrateProfile4000(benchmark::State& state) {
  const std::vector<double>& p = Profile();
  TCalibrationOptions options;
  options.Peaks.SmoothHalfWidth = 4;
  std::size_t matched = 0;
  for (auto _ : state) {
    const TCalibrationResult r = CalibrateProfile(p, {}, 425, 695, CompactFluorescentLines(), options);
    matched = r.Quadratic.Lines.size();
    benchmark::DoNotOptimize(matched);
  }
  state.counters["lines"] = static_cast<double>(matched);
}
BENCHMARK(BM_CalibrateProfile4000)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
