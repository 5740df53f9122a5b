#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/axes/iAxisTicks.h"
#include "chart/axes/iDateUtils.h"
#include "chart/core/iErrors.h"

namespace {

struct Row {
  std::int64_t Divisor;
  double Step;  // days, or months / years for the calendar rows
};

// The span counted in whole units of `unitMs` milliseconds: whole days, then the time of day
// down to that unit. Counts beyond 32 bits become `cap`.
std::int64_t CountUnits(double span, std::int64_t unitMs, std::int64_t cap) {
  const double days = std::trunc(span + 1e-15);
  double rest = std::max(0.0, span - days);
  auto ms = static_cast<std::int64_t>(std::nearbyint(rest * kMSecsPerDay));
  ms = std::min<std::int64_t>(ms, 86399999);
  const double perDay = kMSecsPerDay / static_cast<double>(unitMs);
  const double total = days * perDay + static_cast<double>(ms / unitMs);
  if (!(total <= 2147483647.0)) return cap;
  return static_cast<std::int64_t>(total);
}

}  // namespace

TiPlotTickGenerator::Step TiPlotDateTimeTicks::ChooseStep(const TiPlotTickRequest&, double span, int maxCount,
                                                          TiPlotTickSet& out) const {
  const std::int64_t a = static_cast<std::int64_t>(maxCount) - 1;
  auto tryTable = [&](std::int64_t count, std::initializer_list<Row> rows, Step& step) {
    for (const Row& r : rows)
      if (a >= count / r.Divisor) {
        step = {r.Step, std::max<std::int64_t>(1, count / r.Divisor)};
        return true;
      }
    return false;
  };
  constexpr double ms = 1.0 / 86400000.0, sec = 1.0 / 86400.0, min = 1.0 / 1440.0, hour = 1.0 / 24.0;
  Step step;
  if (tryTable(CountUnits(span, 1, 2147483647),
               {{1, ms}, {2, 2 * ms}, {5, 5 * ms}, {10, 10 * ms}, {20, 20 * ms}, {50, 50 * ms}, {100, 100 * ms}, {200, 200 * ms},
                {500, 500 * ms}},
               step))
    return step;
  if (tryTable(CountUnits(span, 1000, 2147483647),
               {{1, sec}, {2, 2 * sec}, {5, 5 * sec}, {10, 10 * sec}, {15, 15 * sec}, {20, 20 * sec}, {30, 30 * sec}}, step))
    return step;
  if (tryTable(CountUnits(span, 60000, 10000),
               {{1, min}, {2, 2 * min}, {5, 5 * min}, {10, 10 * min}, {15, 15 * min}, {20, 20 * min}, {30, 30 * min}}, step))
    return step;
  if (tryTable(CountUnits(span, 3600000, 2147483647), {{1, hour}, {2, 2 * hour}, {4, 4 * hour}, {6, 6 * hour}, {12, 12 * hour}},
               step))
    return step;
  const double wholeDays = std::trunc(span);
  const std::int64_t days = wholeDays > 2147483647.0 ? 2147483647 : static_cast<std::int64_t>(wholeDays);
  if (tryTable(days, {{1, 1}, {7, 7}, {14, 14}}, step)) return step;
  if (tryTable(days, {{31, 1}, {61, 2}, {92, 3}, {183, 6}}, step)) {
    out.MonthSteps = true;
    return step;
  }
  out.YearSteps = true;
  for (std::int64_t p = 1; p <= 1000000000000LL; p *= 10)
    if (tryTable(days, {{365 * p, static_cast<double>(p)}, {730 * p, 2.0 * p}, {1825 * p, 5.0 * p}}, step)) return step;
  return {1, 1};
}

// Calendar steps start from the calendar date of Min; the walk then covers the whole range
// shown (its tick cap bounds it), so neither Min nor Span is narrowed for it. Only a Min outside
// the calendar (years 1 to 9999) starts the walk at the calendar's nearer end.
double TiPlotDateTimeTicks::StartValue(double& min, double& span, double& major, const TiPlotTickSet& out) const {
  const double from = std::clamp(min, kDateTimeFirstDay, kDateTimeEndDay - 1);
  if (out.MonthSteps) {
    major = std::max(major, 1.0);
    const auto k = static_cast<int>(std::nearbyint(major));
    const TDateTimeParts p = DecodeDateTime(from);
    int month = (p.Month / k) * k;
    if (month < 1 || month > 12) month = 1;
    const std::optional<double> first = TryEncodeDate(p.Year, month, 1);
    return IncMonth(first.value_or(from) + TimeOfDay(from), -k);
  }
  if (out.YearSteps) {
    major = std::max(major, 1.0);
    const auto k = static_cast<int>(std::min(std::nearbyint(major), 10000.0));
    int year = YearOf(from);
    if (k != 0) year = (year / k) * k;
    // 1 January of the year k years earlier, at Min's time of day, computed directly: stepping
    // the year of Min first could pass through 29 February of a common year.
    const std::optional<double> first = TryEncodeDate(year - k, 1, 1);
    if (!first)
      throw EiError(InvalidDateTimeMessage(year - k, 1, 1, std::nullopt, std::nullopt, std::nullopt, std::nullopt, from));
    return *first + TimeOfDay(from);
  }
  return TiPlotTickGenerator::StartValue(min, span, major, out);
}

double TiPlotDateTimeTicks::NextCalendarValue(double s, double major, const TiPlotTickSet& out) const {
  const auto k = static_cast<std::int64_t>(std::nearbyint(major));
  return out.YearSteps ? IncYear(s, k) : IncMonth(s, k);
}

const TiPlotTickGenerator& DateTimeTicks() {
  static const TiPlotDateTimeTicks generator;
  return generator;
}
