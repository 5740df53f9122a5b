#include <algorithm>
#include <cmath>

#include "chart/axes/iAxisTicks.h"

void TiPlotLogTicks::Generate(const TiPlotTickRequest& rq, TiPlotTickSet& out) const {
  const double m = rq.Min > 0 ? rq.Min : 1.0;
  const double top = m + rq.Span;
  const double decades = std::log10(top) - std::log10(m);
  if (!(decades > 1)) {
    // One decade or less: the decimal steps, ticks at values not above zero left out.
    TiPlotDecimalTicks::Generate(rq, out);
    return;
  }
  out = TiPlotTickSet();
  const int maxCount = std::max(1, rq.MaxCount);
  int f = 1;
  int g = 0;
  if (maxCount >= decades) {
    g = static_cast<int>(std::trunc(std::log10(m))) - 1;
  } else {
    f = 200;
    for (const int c : {2, 5, 10, 20, 50, 100})
      if (maxCount >= decades / c) {
        f = c;
        break;
      }
    g = static_cast<int>(std::trunc(std::log10(m)));
  }
  // 10^g stays finite: top is at most about 2e300.
  for (double p = std::pow(10.0, g); p <= top; g += f, p = std::pow(10.0, g)) {
    AddTick(rq, out, false, p);
    if (f == 1)
      for (int i = 2; i <= 9; ++i) AddTick(rq, out, true, i * p);
    if (static_cast<int>(out.Ticks.size()) > kMaxTicks) {
      MiddleTickOnly(rq, out);
      return;
    }
  }
}

const TiPlotTickGenerator& LogTicks() {
  static const TiPlotLogTicks generator;
  return generator;
}
