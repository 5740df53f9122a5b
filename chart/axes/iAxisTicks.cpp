#include "chart/axes/iAxisTicks.h"

#include <algorithm>
#include <cmath>

#include "chart/core/iErrors.h"

namespace {
// Ticks offered (listed or not) before a loop gives up: a minor count in the millions with its
// ticks off the scale would otherwise spin without ever filling the list.
constexpr std::int64_t kMaxOffered = 1000000;
// Steps of lowering a desired start towards Min.
constexpr std::int64_t kMaxStartSteps = 1000000;
}  // namespace

void TiPlotTickGenerator::AddTick(const TiPlotTickRequest& request, TiPlotTickSet& out, bool minor, double value) {
  if (request.Logarithmic && !(value > 0.0)) return;
  if (request.InView && !request.InView(value)) return;
  TiPlotTickObject tick;
  tick.Minor = minor;
  tick.Value = value;
  out.Ticks.push_back(std::move(tick));
}

void TiPlotTickGenerator::MiddleTickOnly(const TiPlotTickRequest& request, TiPlotTickSet& out) {
  out.Ticks.clear();
  AddTick(request, out, false, request.Min + request.Span / 2);
}

double TiPlotTickGenerator::StartValue(double& min, double&, double& major, const TiPlotTickSet&) const {
  // One step below the first multiple of the step (trunc toward zero stays in double).
  return std::trunc(min / major) * major - major;
}

double TiPlotTickGenerator::NextCalendarValue(double s, double major, const TiPlotTickSet&) const { return s + major; }

void TiPlotTickGenerator::Generate(const TiPlotTickRequest& rq, TiPlotTickSet& out) const {
  out = TiPlotTickSet();
  double min = rq.Min;
  double span = rq.Span;
  const int minorCount = std::max(0, rq.MinorCount);
  std::int64_t maxCount = std::max(1, rq.MaxCount);
  std::int64_t count = 0;
  double major = 0.0;

  // Step choice.
  if (!(span > 1e-299)) {
    count = 1;
    major = span;
  } else {
    const double di = rq.DesiredIncrement;
    // Hidden labels take a desired increment while its ticks (and minors) leave a pixel each.
    if (di != 0 && !rq.LabelsVisible && span / di < static_cast<double>(rq.AxisLength) / (minorCount + 1.0)) {
      count = static_cast<std::int64_t>(std::nearbyint(span / di));
      major = di;
      maxCount = count;
    }
    // With labels it is taken only when it gives fewer labels than fit.
    if (count == 0 && di != 0 && static_cast<double>(maxCount) > span / di) {
      count = static_cast<std::int64_t>(std::nearbyint(span / di));
      major = di;
      maxCount = count;
    }
  }
  if (maxCount < 1) maxCount = 1;
  if (count == 0) {
    const Step step = ChooseStep(rq, span, static_cast<int>(std::min<std::int64_t>(maxCount, INT32_MAX)), out);
    major = step.Major;
    count = step.Count;
  }
  if (count < 2 && maxCount > 1) {
    major /= 2;
    count = 2;
  }
  if (maxCount < count) {
    count = maxCount;
    major = span / static_cast<double>(maxCount);
  }
  const double minor = major / (static_cast<double>(minorCount) + 1);  // a count of INT_MAX must not overflow
  out.MajorStep = major;
  out.MinorStep = minor;
  const bool calendar = out.MonthSteps || out.YearSteps;

  try {
    // Start value.
    double s;
    if (rq.DesiredStart != 0 && min <= rq.DesiredStart && rq.DesiredStart <= min + span) {
      s = rq.DesiredStart;
      for (std::int64_t i = 0; s > min && i < kMaxStartSteps; ++i) {
        const double lower = s - major;
        if (!(lower < s)) break;  // the step is lost in the size of s
        s = lower;
      }
    } else {
      s = StartValue(min, span, major, out);
      out.MajorStep = major;
    }

    // The loop: majors, and between them the minors. Each major is start + i x step, so that
    // rounding does not pile up over the walk; a tick within a tiny fraction of the step from 0
    // is 0 (start + i x step lands a few ulps beside it).
    const double max = min + span;
    const double start = s;
    const double zero = std::fabs(major) * 1e-9;
    auto value = [zero](double v) { return std::fabs(v) < zero ? 0.0 : v; };
    std::int64_t index = 0, offered = 0;
    bool guard = false;
    while (!guard && s <= max + major) {
      AddTick(rq, out, false, value(s));
      ++offered;
      if (minorCount >= 1 && !calendar && minor != 0) {
        for (int i = 1; i <= minorCount; ++i) {
          AddTick(rq, out, true, value(s + i * minor));
          if (static_cast<std::int64_t>(out.Ticks.size()) > kMaxTicks || ++offered > kMaxOffered) {
            guard = true;
            break;
          }
        }
        if (guard) break;
      }
      double next;
      if (calendar)
        next = NextCalendarValue(s, major, out);
      else
        next = start + static_cast<double>(++index) * major;
      // A step lost in the size of the values (a range below the resolution of doubles) cannot
      // advance: the middle tick stands for the range instead.
      if (!(next > s) || (minor != 0 && !calendar && s + minor == s)) {
        guard = true;
        break;
      }
      s = next;
      if (static_cast<std::int64_t>(out.Ticks.size()) > kMaxTicks || offered > kMaxOffered) guard = true;
    }
    // No tick listed at all (a range below the resolution of doubles at its size, where the
    // start rounds past the end): the middle tick stands for the range.
    if (guard || out.Ticks.empty()) MiddleTickOnly(rq, out);
  } catch (const EiError&) {
    // A calendar step that leaves the calendar: one tick rather than a failed paint.
    MiddleTickOnly(rq, out);
  }
}
