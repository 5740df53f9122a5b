#pragma once
// Tick placement of an axis: from the range, the room along the axis and the step settings, a
// generator returns the plain list of major and minor tick values with the steps it chose. It
// knows nothing of texts, fonts or pixels beyond the questions in the request; the axis formats
// the labels and maps the ticks to pixels afterwards.
//
// Generators, one kind per file: decimal steps of 1, 2 and 5 times a power of ten (and the
// price steps of 32nds), calendar steps for date-times, decades for logarithmic scales.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

struct TiPlotTickObject {
  bool Minor = false;
  double Value = 0.0;
  int Position = 0;      // pixel along the axis, filled in by the axis
  bool OnScale = false;  // inside the scale area, filled in by the axis
  QString Text;          // label of a major tick, filled in by the axis
};

struct TiPlotTickRequest {
  // The range. A logarithmic axis passes the Min it maps with (1 in place of a Min that is not
  // positive).
  double Min = 0.0;
  double Span = 100.0;
  bool Logarithmic = false;
  // Labels that fit side by side (at least 1) and the scale's length in pixels.
  int MaxCount = 1;
  int AxisLength = 0;
  double DesiredIncrement = 0.0;
  double DesiredStart = 0.0;
  int MinorCount = 1;  // a negative count counts as 0
  bool LabelsVisible = true;
  // Whether a value lies on the scale; ticks elsewhere are not listed.
  std::function<bool(double)> InView;
};

struct TiPlotTickSet {
  std::vector<TiPlotTickObject> Ticks;
  double MajorStep = 0.0;
  double MinorStep = 0.0;
  bool MonthSteps = false;  // MajorStep counts months
  bool YearSteps = false;   // MajorStep counts years
};

// More than this many ticks (or a loop that cannot advance) leaves one tick in the middle.
inline constexpr int kMaxTicks = 5000;

class TiPlotTickGenerator {
 public:
  virtual ~TiPlotTickGenerator() = default;
  virtual void Generate(const TiPlotTickRequest& request, TiPlotTickSet& out) const;

 protected:
  struct Step {
    double Major = 0.0;
    std::int64_t Count = 0;
  };
  // The automatic step for the range when no desired increment applies.
  virtual Step ChooseStep(const TiPlotTickRequest& request, double span, int maxCount, TiPlotTickSet& out) const = 0;
  // The first value of the tick loop (one step below the first tick). Calendar steps may narrow
  // the range and step they work on (copies, never the axis's own values).
  virtual double StartValue(double& min, double& span, double& major, const TiPlotTickSet& out) const;
  // The major value after s where the steps are calendar steps.
  virtual double NextCalendarValue(double s, double major, const TiPlotTickSet& out) const;

  // Lists a tick where the request says it lies on the scale (and, on a logarithmic scale, is
  // above zero).
  static void AddTick(const TiPlotTickRequest& request, TiPlotTickSet& out, bool minor, double value);
  // Replaces the list by one major tick in the middle of the range.
  static void MiddleTickOnly(const TiPlotTickRequest& request, TiPlotTickSet& out);
};

// Steps of 1, 2 and 5 times a power of ten.
class TiPlotDecimalTicks : public TiPlotTickGenerator {
 protected:
  Step ChooseStep(const TiPlotTickRequest& request, double span, int maxCount, TiPlotTickSet& out) const override;
};

// Steps of 1/256 .. 1/2, then 1, 2 and 5 times a power of ten, for prices in 32nds.
class TiPlotPriceTicks : public TiPlotTickGenerator {
 protected:
  Step ChooseStep(const TiPlotTickRequest& request, double span, int maxCount, TiPlotTickSet& out) const override;
};

// Milliseconds, seconds, minutes, hours, days, weeks, then whole months and years.
class TiPlotDateTimeTicks : public TiPlotTickGenerator {
 protected:
  Step ChooseStep(const TiPlotTickRequest& request, double span, int maxCount, TiPlotTickSet& out) const override;
  double StartValue(double& min, double& span, double& major, const TiPlotTickSet& out) const override;
  double NextCalendarValue(double s, double major, const TiPlotTickSet& out) const override;
};

// Decades on a logarithmic scale over more than one decade; within one decade the decimal
// steps, ticks at values not above zero left out.
class TiPlotLogTicks : public TiPlotDecimalTicks {
 public:
  void Generate(const TiPlotTickRequest& request, TiPlotTickSet& out) const override;
};

// One shared generator of each kind (they hold no state).
const TiPlotTickGenerator& DecimalTicks();
const TiPlotTickGenerator& PriceTicks();
const TiPlotTickGenerator& DateTimeTicks();
const TiPlotTickGenerator& LogTicks();
