#include <cmath>

#include "chart/axes/iAxisTicks.h"

namespace {
// Enough decades to walk from any start to any span the axis allows.
constexpr int kMaxDecades = 700;
}  // namespace

TiPlotTickGenerator::Step TiPlotDecimalTicks::ChooseStep(const TiPlotTickRequest&, double span, int maxCount,
                                                         TiPlotTickSet&) const {
  int d = static_cast<int>(std::trunc(std::log10(span) - 1 - std::log10(static_cast<double>(maxCount))));
  for (int k = 0; k < kMaxDecades; ++k, ++d) {
    const double p = std::pow(10.0, d);
    for (const double m : {1.0, 2.0, 5.0}) {
      const double e = m * p;
      if (static_cast<double>(maxCount) >= span / e) return {e, static_cast<std::int64_t>(std::nearbyint(span / e))};
    }
  }
  return {span, 1};
}

TiPlotTickGenerator::Step TiPlotPriceTicks::ChooseStep(const TiPlotTickRequest&, double span, int maxCount,
                                                       TiPlotTickSet&) const {
  for (const double e : {1.0 / 256, 1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2})
    if (static_cast<double>(maxCount) >= span / e) return {e, static_cast<std::int64_t>(std::trunc(span / e))};
  for (int i = 0; i < kMaxDecades; ++i) {
    const double p = std::pow(10.0, i);
    for (const double m : {1.0, 2.0, 5.0}) {
      const double e = m * p;
      if (static_cast<double>(maxCount) >= span / e) return {e, static_cast<std::int64_t>(std::trunc(span / e))};
    }
  }
  return {span, 1};
}

const TiPlotTickGenerator& DecimalTicks() {
  static const TiPlotDecimalTicks generator;
  return generator;
}

const TiPlotTickGenerator& PriceTicks() {
  static const TiPlotPriceTicks generator;
  return generator;
}
