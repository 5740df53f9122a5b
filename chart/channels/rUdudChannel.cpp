#include "chart/channels/rUdudChannel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/iErrors.h"
#include "chart/core/iValueNames.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"

namespace {

const QString kOutOfOrder = QStringLiteral("New Data-Point X-Value is out of order");
const QString kOutOfOrderDescending = QStringLiteral("New Data-Point X-Value is out of order.");
const QString kSplineError = QStringLiteral("Splint Error - xa's must be distinct");
const QString kPolynomialError = QStringLiteral("Polynomial Interpolation Error - Pause in Routine Data");
const QString kRationalError = QStringLiteral("Rational Interpolation Error - Pause in Routine Data");
const QString kPixelRangeError = QStringLiteral("Pixel List XPixel out of Range");

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

TRect Normalised(int x1, int y1, int x2, int y2) {
  return Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

// The second derivatives of the natural cubic spline through xs (strictly ascending) and ys.
std::vector<double> SplineSecondDerivatives(const std::vector<double>& xs, const std::vector<double>& ys) {
  const size_t n = xs.size();
  std::vector<double> y2(n, 0.0), u(n, 0.0);
  for (size_t i = 1; i + 1 < n; ++i) {
    const double sig = (xs[i] - xs[i - 1]) / (xs[i + 1] - xs[i - 1]);
    const double p = sig * y2[i - 1] + 2.0;
    y2[i] = (sig - 1.0) / p;
    const double d = (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]) - (ys[i] - ys[i - 1]) / (xs[i] - xs[i - 1]);
    u[i] = (6.0 * d / (xs[i + 1] - xs[i - 1]) - sig * u[i - 1]) / p;
  }
  y2[n - 1] = 0.0;
  for (size_t k = n - 1; k-- > 0;) y2[k] = y2[k] * y2[k + 1] + u[k];
  return y2;
}

}  // namespace

const QStringList& InterpolationStyleNames() {
  static const QStringList names{QStringLiteral("ipistStraightLine"), QStringLiteral("ipistCubicSpline"),
                                 QStringLiteral("ipistPolynomial"),   QStringLiteral("ipistRational"),
                                 QStringLiteral("ipistDifferential"), QStringLiteral("ipistDifferentialTerminated")};
  return names;
}
const QStringList& DigitalReferenceStyleNames() {
  static const QStringList names{QStringLiteral("ipdrScale"), QStringLiteral("ipdrPercent")};
  return names;
}
const QStringList& HighLowStyleNames() {
  static const QStringList names{QStringLiteral("iphlsOpenClose"), QStringLiteral("iphlsCandleStick")};
  return names;
}

// The cubic splines of the runs of the data, kept until the points change.
class TiPlotChannel::TiSplineCache {
 public:
  struct TRun {
    std::vector<double> X, Y, Y2;   // X strictly ascending
    double At(double x) const {
      // Bisection for the interval.
      size_t lo = 0, hi = X.size() - 1;
      while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if (X[mid] > x) hi = mid;
        else lo = mid;
      }
      const double h = X[hi] - X[lo];
      const double a = (X[hi] - x) / h, b = (x - X[lo]) / h;
      return a * Y[lo] + b * Y[hi] + ((a * a * a - a) * Y2[lo] + (b * b * b - b) * Y2[hi]) * (h * h) / 6.0;
    }
  };
  // Builds the runs when the points changed since the last build; raises the spline error (again
  // on every later call while the points stay as they are) for two equal X values in a run.
  const std::vector<TRun>& Runs(const TiPlotChannelCustom& channel) {
    if (!built_ || revision_ != channel.DataRevision() || list_ != &channel.DataList()) Build(channel);
    if (failed_) throw EiError(kSplineError);
    return runs_;
  }

 private:
  void Build(const TiPlotChannelCustom& channel) {
    built_ = true;
    failed_ = false;
    revision_ = channel.DataRevision();
    list_ = &channel.DataList();
    runs_.clear();
    std::vector<double> xs, ys;
    int direction = 0;   // +1 ascending, -1 descending, 0 not known yet
    auto close = [&] {
      if (xs.size() >= 2 && !failed_) {
        if (direction < 0) {
          std::reverse(xs.begin(), xs.end());
          std::reverse(ys.begin(), ys.end());
        }
        TRun run;
        run.Y2 = SplineSecondDerivatives(xs, ys);
        run.X = std::move(xs);
        run.Y = std::move(ys);
        runs_.push_back(std::move(run));
      }
      xs.clear();
      ys.clear();
      direction = 0;
    };
    VisitDataList(channel.DataList(), [&](const auto& points) {
      points.ForEachPoint(0, points.Count() - 1, [&](int, TiPlotPoint p) {
        if (failed_ || p.Empty) return;
        if (p.Null || !Finite(p.X, p.Y)) {
          close();
          return;
        }
        if (!xs.empty()) {
          if (p.X == xs.back()) {
            failed_ = true;
            return;
          }
          const int d = p.X > xs.back() ? 1 : -1;
          if (direction == 0) {
            direction = d;
          } else if (d != direction) {
            // The direction of X turns: the run ends at the turning point, and the next one
            // starts from it.
            const double tx = xs.back(), ty = ys.back();
            close();
            xs.push_back(tx);
            ys.push_back(ty);
            direction = d;
          }
        }
        xs.push_back(p.X);
        ys.push_back(p.Y);
      });
    });
    close();
    if (failed_) runs_.clear();
  }

  bool built_ = false;
  bool failed_ = false;
  std::uint64_t revision_ = 0;
  const TiPlotDataCustomList* list_ = nullptr;
  std::vector<TRun> runs_;
};

const TiClassInfo& TiPlotChannel::StaticClassInfo() {
  using C = TiPlotChannel;
  const TiPlotChannelDefaults& d = kTimeChannelDefaults;
  static const TiClassInfo info =
      AddOPCItemProperties(TiClassBuilder<C>(QStringLiteral("TiPlotChannel"), &TiPlotChannelCustom::StaticClassInfo())
          .Boolean(QStringLiteral("FastDrawEnabled"), &C::FastDrawEnabled, &C::SetFastDrawEnabled, d.FastDrawEnabled)
          .Boolean(QStringLiteral("AllowOutOfOrderXValues"), &C::AllowOutOfOrderXValues, &C::SetAllowOutOfOrderXValues,
                   d.AllowOutOfOrderXValues)
          .Boolean(QStringLiteral("DrawOutOfOrderXValues"), &C::DrawOutOfOrderXValues, &C::SetDrawOutOfOrderXValues,
                   d.DrawOutOfOrderXValues)
          .Boolean(QStringLiteral("ResetStartTimeOnFirstDataPoint"), &C::ResetStartTimeOnFirstDataPoint,
                   &C::SetResetStartTimeOnFirstDataPoint, d.ResetStartTimeOnFirstDataPoint)
          .Enumeration<TiPlotInterpolationStyle>(QStringLiteral("InterpolationStyle"), &C::InterpolationStyle,
                                                 &C::SetInterpolationStyle, d.InterpolationStyle, InterpolationStyleNames())
          .Boolean(QStringLiteral("FillEnabled"), &C::FillEnabled, &C::SetFillEnabled, d.FillEnabled)
          .Float(QStringLiteral("FillReference"), &C::FillReference, &C::SetFillReference, d.FillReference)
          .Enumeration<TBrushStyle>(QStringLiteral("FillStyle"), &C::FillStyle, &C::SetFillStyle, d.FillStyle, BrushStyleNames())
          .Color(QStringLiteral("FillColor"), &C::FillColor, &C::SetFillColor, d.FillColor)
          .Boolean(QStringLiteral("FillUseChannelColor"), &C::FillUseChannelColor, &C::SetFillUseChannelColor,
                   d.FillUseChannelColor)
          .Boolean(QStringLiteral("DigitalEnabled"), &C::DigitalEnabled, &C::SetDigitalEnabled, d.DigitalEnabled)
          .Enumeration<TiPlotDigitalReferenceStyle>(QStringLiteral("DigitalReferenceStyle"), &C::DigitalReferenceStyle,
                                                    &C::SetDigitalReferenceStyle, d.DigitalReferenceStyle,
                                                    DigitalReferenceStyleNames())
          .Float(QStringLiteral("DigitalReferenceLow"), &C::DigitalReferenceLow, &C::SetDigitalReferenceLow, d.DigitalReferenceLow)
          .Float(QStringLiteral("DigitalReferenceHigh"), &C::DigitalReferenceHigh, &C::SetDigitalReferenceHigh,
                 d.DigitalReferenceHigh)
          .Boolean(QStringLiteral("HighLowEnabled"), &C::HighLowEnabled, &C::SetHighLowEnabled, d.HighLowEnabled)
          .Enumeration<TiPlotHighLowStyle>(QStringLiteral("HighLowStyle"), &C::HighLowStyle, &C::SetHighLowStyle, d.HighLowStyle,
                                           HighLowStyleNames())
          // Declared with the colours the constructor sets, so that every other colour is stored
          // and a stored chart reads back as it was.
          .Color(QStringLiteral("HighLowBarColor"), &C::HighLowBarColor, &C::SetHighLowBarColor, d.HighLowBarColor)
          .Float(QStringLiteral("HighLowBarWidth"), &C::HighLowBarWidth, &C::SetHighLowBarWidth, d.HighLowBarWidth)
          .Boolean(QStringLiteral("HighLowOpenShow"), &C::HighLowOpenShow, &C::SetHighLowOpenShow, d.HighLowOpenShow)
          .Boolean(QStringLiteral("HighLowCloseShow"), &C::HighLowCloseShow, &C::SetHighLowCloseShow, d.HighLowCloseShow)
          .Color(QStringLiteral("HighLowOpenColor"), &C::HighLowOpenColor, &C::SetHighLowOpenColor, d.HighLowOpenColor)
          .Color(QStringLiteral("HighLowCloseColor"), &C::HighLowCloseColor, &C::SetHighLowCloseColor, d.HighLowCloseColor)
          .Float(QStringLiteral("HighLowOpenWidth"), &C::HighLowOpenWidth, &C::SetHighLowOpenWidth, d.HighLowOpenWidth)
          .Float(QStringLiteral("HighLowCloseWidth"), &C::HighLowCloseWidth, &C::SetHighLowCloseWidth, d.HighLowCloseWidth)
          .Float(QStringLiteral("HighLowOpenHeight"), &C::HighLowOpenHeight, &C::SetHighLowOpenHeight, d.HighLowOpenHeight)
          .Float(QStringLiteral("HighLowCloseHeight"), &C::HighLowCloseHeight, &C::SetHighLowCloseHeight, d.HighLowCloseHeight)
          .Color(QStringLiteral("HighLowShadowColor"), &C::HighLowShadowColor, &C::SetHighLowShadowColor, d.HighLowShadowColor)
          .Color(QStringLiteral("HighLowBullishColor"), &C::HighLowBullishColor, &C::SetHighLowBullishColor, d.HighLowBullishColor)
          .Color(QStringLiteral("HighLowBearishColor"), &C::HighLowBearishColor, &C::SetHighLowBearishColor, d.HighLowBearishColor)
          .Boolean(QStringLiteral("BarEnabled"), &C::BarEnabled, &C::SetBarEnabled, d.BarEnabled)
          .Boolean(QStringLiteral("BarPenUseChannelColor"), &C::BarPenUseChannelColor, &C::SetBarPenUseChannelColor,
                   d.BarPenUseChannelColor)
          .Boolean(QStringLiteral("BarBrushUseChannelColor"), &C::BarBrushUseChannelColor, &C::SetBarBrushUseChannelColor,
                   d.BarBrushUseChannelColor)
          .Float(QStringLiteral("BarReference"), &C::BarReference, &C::SetBarReference, d.BarReference)
          .Float(QStringLiteral("BarWidth"), &C::BarWidth, &C::SetBarWidth, d.BarWidth)
          .Color(QStringLiteral("BarPenColor"), &C::BarPenColor, &C::SetBarPenColor, d.BarPenColor)
          .Color(QStringLiteral("BarBrushColor"), &C::BarBrushColor, &C::SetBarBrushColor, d.BarBrushColor)
          .Integer(QStringLiteral("BarPenWidth"), &C::BarPenWidth, &C::SetBarPenWidth, d.BarPenWidth)
          .Enumeration<TPenStyle>(QStringLiteral("BarPenStyle"), &C::BarPenStyle, &C::SetBarPenStyle, d.BarPenStyle,
                                  PenStyleNames())
          .Enumeration<TBrushStyle>(QStringLiteral("BarBrushStyle"), &C::BarBrushStyle, &C::SetBarBrushStyle, d.BarBrushStyle,
                                    BrushStyleNames()))
          .Build();
  return info;
}

TiPlotChannel::TiPlotChannel(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotChannelCustom(owner, handlers), splines_(std::make_unique<TiSplineCache>()) {
  const TiPlotChannelDefaults& d = kTimeChannelDefaults;
  TiPlotPointTemplate& t = WritablePointTemplate();
  t.BarReference = d.BarReference;
  t.BarWidth = d.BarWidth;
  t.BarPenColor = d.BarPenColor;
  t.BarBrushColor = d.BarBrushColor;
  t.BarPenWidth = d.BarPenWidth;
  t.BarPenStyle = std::uint8_t(d.BarPenStyle);
  t.BarBrushStyle = std::uint8_t(d.BarBrushStyle);
  startTime_ = Now();
  startSteadyMs_ = SteadyMs();
  startWall_ = startTime_;
}

TiPlotChannel::~TiPlotChannel() = default;

// ---------------------------------------------------------------------------------------------
// Properties

namespace {
template <class T>
bool SetField(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TiPlotChannel::SetBarReference(double value) {
  if (SetField(WritablePointTemplate().BarReference, value)) DoChange();
}
void TiPlotChannel::SetBarWidth(double value) {
  if (SetField(WritablePointTemplate().BarWidth, value)) DoChange();
}
void TiPlotChannel::SetBarPenColor(TColor value) {
  if (SetField(WritablePointTemplate().BarPenColor, value)) DoChange();
}
void TiPlotChannel::SetBarBrushColor(TColor value) {
  if (SetField(WritablePointTemplate().BarBrushColor, value)) DoChange();
}
void TiPlotChannel::SetBarPenWidth(int value) {
  if (SetField(WritablePointTemplate().BarPenWidth, std::int32_t(value))) DoChange();
}
void TiPlotChannel::SetBarPenStyle(TPenStyle value) {
  if (SetField(WritablePointTemplate().BarPenStyle, std::uint8_t(value))) DoChange();
}
void TiPlotChannel::SetBarBrushStyle(TBrushStyle value) {
  if (SetField(WritablePointTemplate().BarBrushStyle, std::uint8_t(value))) DoChange();
}

// ---------------------------------------------------------------------------------------------
// Adding points

void TiPlotChannel::SetStartTime(double value) {
  startTime_ = value;
  startWall_ = Now();
  startSteadyMs_ = SteadyMs();
}

void TiPlotChannel::ResetStartTime() { SetStartTime(Now()); }

double TiPlotChannel::ElapsedDays() const {
  // What had passed when the start was set, and the steady time since.
  return (startWall_ - startTime_) + MsToDays(SteadyMs() - startSteadyMs_);
}

int TiPlotChannel::AddXY(double x, double y) {
  if (resetStartTimeOnFirstDataPoint_ && Count() == 0) ResetStartTime();
  CheckXOrder(x);
  return TiPlotChannelCustom::AddXY(x, y);
}

int TiPlotChannel::AddYElapsedTime(double y) {
  if (resetStartTimeOnFirstDataPoint_ && Count() == 0) ResetStartTime();
  return AddDataPoint(false, false, ElapsedDays(), y);
}

int TiPlotChannel::AddYElapsedSeconds(double y) {
  if (resetStartTimeOnFirstDataPoint_ && Count() == 0) ResetStartTime();
  return AddDataPoint(false, false, ElapsedDays() * 60 * 60 * 24, y);
}

void TiPlotChannel::CheckXOrder(double x) {
  if (allowOutOfOrderXValues_) return;
  // A NaN X has no place in ordered data.
  if (std::isnan(x)) throw EiError(Count() >= 2 && GetX(1) < GetX(0) ? kOutOfOrderDescending : kOutOfOrder);
  if (Count() <= 1) return;
  const double last = GetX(Count() - 1);
  if (GetX(1) >= GetX(0)) {
    if (x < last) throw EiError(kOutOfOrder);
  } else if (x > last) {
    throw EiError(kOutOfOrderDescending);
  }
}

// ---------------------------------------------------------------------------------------------
// Searching along X

void TiPlotChannel::UpdateXAscending() { xAscending_ = Count() < 2 || !(GetX(1) < GetX(0)); }

int TiPlotChannel::BinarySearchAscending(double x) const {
  int lo = 0, hi = Count() - 1, result = -1;
  while (hi >= lo) {
    const int mid = lo + (hi - lo) / 2;
    result = mid;
    const double v = GetX(mid);
    if (v == x) break;
    if (x < v) hi = mid - 1;
    else lo = mid + 1;
  }
  return result;
}

int TiPlotChannel::BinarySearchDescending(double x) const {
  int lo = 0, hi = Count() - 1, result = -1;
  while (hi >= lo) {
    const int mid = lo + (hi - lo) / 2;
    result = mid;
    const double v = GetX(mid);
    if (v == x) break;
    if (x < v) lo = mid + 1;
    else hi = mid - 1;
  }
  return result;
}

int TiPlotChannel::FindIndex(double x) {
  if (!XAxis() || Count() == 0 || std::isnan(x)) return -1;
  UpdateXAscending();
  const int last = Count() - 1;
  int i;
  if (xAscending_) {
    if (x < GetX(0) || x > GetX(last)) return -1;
    i = BinarySearchAscending(x);
    if (x > GetX(i)) ++i;
  } else {
    if (x > GetX(0) || x < GetX(last)) return -1;
    i = BinarySearchDescending(x);
    if (x > GetX(i)) --i;
  }
  return std::clamp(i, 0, last);
}

// ---------------------------------------------------------------------------------------------
// Visible range

void TiPlotChannel::ScanVisibleRange(int& lowest, int& highest) {
  lowest = highest = -1;
  TiPlotAxis* axis = XAxis();
  const double lo = axis->Min(), hi = axis->Max();
  VisitDataList(DataList(), [&](const auto& points) {
    points.ForEachPoint(0, points.Count() - 1, [&](int i, TiPlotPoint p) {
      if (p.X >= lo && p.X <= hi && axis->ValueInView(p.X)) {
        if (lowest < 0) lowest = i;
        highest = i;
      }
    });
  });
}

void TiPlotChannel::UpdateFirstVisibleIndex() {
  TiPlotAxis* axis = XAxis();
  if (!axis || Count() == 0) {
    SetFirstVisibleIndex(-1);
    return;
  }
  const int last = Count() - 1;
  UpdateXAscending();
  int first;
  if (ScansForVisibleRange()) {
    int lowest, highest;
    ScanVisibleRange(lowest, highest);
    first = (lowest < 0 ? last : lowest) - 1;
  } else {
    UpdateXAscending();
    if (xAscending_) {
      first = BinarySearchAscending(axis->Min());
      if (axis->Min() < GetX(first)) --first;
    } else {
      first = BinarySearchDescending(axis->Max());
      if (axis->Max() > GetX(first)) --first;
    }
  }
  SetFirstVisibleIndex(std::clamp(first, 0, last));
}

void TiPlotChannel::UpdateLastVisibleIndex() {
  TiPlotAxis* axis = XAxis();
  if (!axis || Count() == 0) {
    SetLastVisibleIndex(-1);
    return;
  }
  const int count = Count();
  UpdateXAscending();
  int lastIndex;
  if (ScansForVisibleRange()) {
    int lowest, highest;
    ScanVisibleRange(lowest, highest);
    lastIndex = highest < 0 ? -1 : highest + 1;
  } else {
    UpdateXAscending();
    if (xAscending_) {
      lastIndex = BinarySearchAscending(axis->Max());
      if (axis->Max() > GetX(lastIndex)) ++lastIndex;
    } else {
      lastIndex = BinarySearchDescending(axis->Min());
      if (axis->Min() < GetX(lastIndex)) ++lastIndex;
    }
  }
  SetLastVisibleIndex(std::clamp(lastIndex, 0, count - 1));
}

// ---------------------------------------------------------------------------------------------
// Preparing and drawing

double TiPlotChannel::DigitalLevel(bool high) const {
  const double level = high ? digitalReferenceHigh_ : digitalReferenceLow_;
  if (digitalReferenceStyle_ == ipdrScale) return level;
  // Percent of the Y axis: one rule for lines, fill and markers.
  const TiPlotAxis* y = const_cast<TiPlotChannel*>(this)->YAxis();
  return y ? y->Min() + y->Span() * level / 100.0 : level;
}

void TiPlotChannel::PrepareDraw(TCanvas*) {
  SetReadyToDraw(false);
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  if (!x || !y || !Visible() || Count() == 0) return;
  UpdateXAscending();
  const bool steps = interpolationStyle_ == ipistDifferential || interpolationStyle_ == ipistDifferentialTerminated;
  if (!ScansForVisibleRange()) {
    const double first = GetX(0), last = GetX(Count() - 1);
    const bool beforeMin = xAscending_ ? x->Min() > last : last > x->Max();
    const bool afterMax = xAscending_ ? first > x->Max() : first < x->Min();
    // Data wholly behind the range still extends its last step across it.
    const bool extends = interpolationStyle_ == ipistDifferential && !digitalEnabled_ &&
                         (xAscending_ ? beforeMin : last > x->Max());
    if ((beforeMin || afterMax) && !extends) return;
  }
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  if (!steps && (FirstVisibleIndex() == -1 || LastVisibleIndex() == -1)) return;
  digitalHighPixel_ = y->ValueToPosition(DigitalLevel(true));
  digitalLowPixel_ = y->ValueToPosition(DigitalLevel(false));
  pixelLeft_ = std::min(x->PositionOfMin(), x->PositionOfMax());
  pixelRight_ = std::max(x->PositionOfMin(), x->PositionOfMax());
  const size_t columns = size_t(pixelRight_ - pixelLeft_) + 1;
  if (pixels_.size() < columns) pixels_.resize(columns);
  for (TiPlotPixelPoint& p : pixels_) p = TiPlotPixelPoint{};
  SetReadyToDraw(true);
}

void TiPlotChannel::Draw(TCanvas* canvas, TColor backgroundColor) {
  if (!canvas) return;
  const bool reversed = XYAxesReverse();
  // An error while drawing (an interpolation that cannot be done) ends this channel's drawing
  // for the paint; the chart goes on with its other objects.
  try {
    if (!ClipCanvasToAxes(canvas, reversed)) return;
    DrawFill(canvas, reversed);
    DrawBars(canvas, reversed, backgroundColor);
    DrawTrace(canvas, reversed, backgroundColor);
    DrawMarkers(canvas, reversed, backgroundColor);
    if (highLowEnabled_) {
      if (highLowStyle_ == iphlsOpenClose) DrawOpenClose(canvas, reversed, backgroundColor);
      else DrawCandleSticks(canvas, reversed, backgroundColor);
    }
  } catch (const EiError&) {
  }
}

TPoint TiPlotChannel::ValuePixel(double x, double y, bool reversed) {
  const int px = XAxis()->ValueToPosition(x), py = YAxis()->ValueToPosition(y);
  return reversed ? TPoint{py, px} : TPoint{px, py};
}

void TiPlotChannel::DrawTrace(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  if (!TraceVisible() || !canvas || !XAxis() || !YAxis()) return;
  canvas->Pen() = TracePen(Color(), TraceLineStyle(), TraceLineWidth());
  canvas->Brush().Style = bsClear;
  // The gaps of dashed and dotted lines show the background.
  canvas->SetBkColor(backgroundColor);
  canvas->SetBkMode(OPAQUE);
  if (digitalEnabled_) {
    DrawDigital(canvas, reversed);
    return;
  }
  switch (interpolationStyle_) {
    case ipistStraightLine:
      if (fastDrawEnabled_) DrawFastLine(canvas, reversed);
      else TiPlotChannelCustom::DrawTrace(canvas, reversed, backgroundColor);
      return;
    case ipistCubicSpline: DrawSpline(canvas, reversed); return;
    case ipistPolynomial: DrawPolynomial(canvas, reversed); return;
    case ipistRational: DrawRational(canvas, reversed); return;
    case ipistDifferential:
    case ipistDifferentialTerminated: DrawSteps(canvas, reversed); return;
  }
}

// ---------------------------------------------------------------------------------------------
// Straight lines, decimated per pixel column

void TiPlotChannel::DrawFastLine(TCanvas* canvas, bool reversed) {
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first == last || first < 0 || last < 0) return;
  const TPen pen = canvas->Pen();
  const bool onePixelSolid = pen.Style == psSolid && pen.Width <= 1 && pen.Mode == pmCopy;
  // The shared per-column path draws exactly the pixels of every segment for solid one-pixel
  // lines, and copes with X going back; it also keeps per-point pens. The columns below serve
  // the other pens along ordered data.
  if ((onePixelSolid && !ClipToAxes()) || !XInOrder() || DataStyle() == ipdsFullFeature) {
    TiPlotChannelCustom::DrawTrace(canvas, reversed, canvas->BkColor());
    return;
  }
  TiPlotAxis* xAxis = XAxis();
  TiPlotMinMaxPoint p, q, r;
  VisitDataList(DataList(), [&](const auto& points) {
    points.ForEachPoint(std::min(first, last), std::max(first, last), [&](int, TiPlotPoint point) {
      if (point.Empty) return;
      if (point.Null || !Finite(point.X, point.Y)) {
        // The line breaks here; the columns before are drawn whole.
        DrawColumns(canvas, reversed, r, q, p);
        p.Reset();
        q.Reset();
        r.Reset();
        return;
      }
      const int c = xAxis->ValueToPosition(point.X);
      if (p.Empty || c == p.Pixel) {
        p.Add(c, point.Y, point.X);
      } else if (q.Empty || c == q.Pixel) {
        q.Add(c, point.Y, point.X);
      } else {
        r.Add(c, point.Y, point.X);
        DrawColumns(canvas, reversed, r, q, p);
        p.Assign(r);
        q.Reset();
        r.Reset();
      }
    });
  });
  DrawColumns(canvas, reversed, r, q, p);
}

void TiPlotChannel::DrawColumns(TCanvas* canvas, bool reversed, const TiPlotMinMaxPoint& r, const TiPlotMinMaxPoint& q,
                                const TiPlotMinMaxPoint& p) {
  if (!p.Empty && p.Max != p.Min) DrawClippedSegment(canvas, reversed, p.X, p.Max, p.X, p.Min, false);
  if (!q.Empty && q.Max != q.Min) DrawClippedSegment(canvas, reversed, q.X, q.Max, q.X, q.Min, false);
  if (!p.Empty && !q.Empty) DrawClippedSegment(canvas, reversed, p.X, p.Last, q.X, q.First, false);
  if (!q.Empty && !r.Empty) DrawClippedSegment(canvas, reversed, q.X, q.Last, r.X, r.First, false);
}

// ---------------------------------------------------------------------------------------------
// Steps

void TiPlotChannel::DrawSteps(TCanvas* canvas, bool reversed) {
  const TColor fill = FillColorInUse();
  const bool filled = FillDrawn();
  const TPen linePen = canvas->Pen();
  bool hasPrevious = false;
  double px = 0, py = 0;
  auto step = [&](double x1, double x2, double y) {
    if (filled) {
      canvas->Brush().Style = fillStyle_;
      canvas->Brush().Color = fill;
      canvas->Pen().Color = fill;
      canvas->Pen().Style = psSolid;
      canvas->Pen().Width = 0;
      const TPoint a = ValuePixel(x1, fillReference_, reversed), b = ValuePixel(x2, y, reversed);
      canvas->Rectangle(Normalised(a.X, a.Y, b.X, b.Y));
      canvas->Pen() = linePen;
      canvas->Brush().Style = bsClear;
    }
    DrawClippedSegment(canvas, reversed, x1, y, x2, y, false);
  };
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first >= 0 && last >= 0) {
    for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
      double x, y;
      bool empty, null;
      GetData(i, x, y, empty, null);
      if (empty) continue;
      if (null || !Finite(x, y)) {
        if (hasPrevious && std::isfinite(x)) step(px, x, py);
        hasPrevious = false;
        continue;
      }
      if (hasPrevious) {
        step(px, x, py);
        DrawClippedSegment(canvas, reversed, x, py, x, y, false);
      }
      hasPrevious = true;
      px = x;
      py = y;
    }
  } else {
    for (int i = Count() - 1; i >= 0 && !hasPrevious; --i) {
      double x, y;
      bool empty, null;
      GetData(i, x, y, empty, null);
      if (!empty && !null && Finite(x, y)) {
        hasPrevious = true;
        px = x;
        py = y;
      }
    }
  }
  if (interpolationStyle_ == ipistDifferential && hasPrevious) {
    // The last level holds on to the end of the axis the data runs toward.
    TiPlotAxis* x = XAxis();
    const double end = xAscending_ ? x->Max() : x->Min();
    if (xAscending_ ? end > px : end < px) step(px, end, py);
  }
}

// ---------------------------------------------------------------------------------------------
// Digital

void TiPlotChannel::DrawDigital(TCanvas* canvas, bool reversed) {
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0) return;
  const TPen linePen = canvas->Pen();
  TDigitalSequenceData run;
  auto drawRun = [&](bool changed, double endX, bool newLevel) {
    const double level = DigitalLevel(run.Level);
    if (FillDrawn()) {
      canvas->Brush().Style = fillStyle_;
      canvas->Brush().Color = FillColorInUse();
      canvas->Pen().Color = FillColorInUse();
      canvas->Pen().Style = psClear;
      const TPoint a = ValuePixel(run.StartX, level, reversed), b = ValuePixel(endX, level, reversed);
      const TPoint c = ValuePixel(endX, fillReference_, reversed), d = ValuePixel(run.StartX, fillReference_, reversed);
      const TPoint polygon[] = {a, b, c, d};
      canvas->Polygon(polygon, 4);
      canvas->Pen() = linePen;
      canvas->Brush().Style = bsClear;
    }
    DrawClippedSegment(canvas, reversed, run.StartX, level, endX, level, false);
    if (changed) DrawClippedSegment(canvas, reversed, endX, level, endX, DigitalLevel(newLevel), false);
  };
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty) continue;
    if (null || !std::isfinite(x) || std::isnan(y)) {
      if (run.Started && run.Continued) drawRun(false, run.ContinueX, run.Level);
      run.Clear();
      continue;
    }
    const bool level = y != 0;
    if (!run.Started) {
      run.Started = true;
      run.StartX = x;
      run.Level = level;
    } else if (level == run.Level) {
      run.Continued = true;
      run.ContinueX = x;
    } else {
      run.Changed = true;
      run.ChangeX = x;
      drawRun(true, x, level);
      run.Clear();
      run.Started = true;
      run.StartX = x;
      run.Level = level;
    }
  }
  if (run.Started && run.Continued) drawRun(false, run.ContinueX, run.Level);
}

// ---------------------------------------------------------------------------------------------
// Interpolated curves

template <class F>
void TiPlotChannel::DrawCurve(TCanvas* canvas, bool reversed, double xFrom, double xTo, F&& at) {
  TiPlotAxis* x = XAxis();
  const double lo = std::max(std::min(xFrom, xTo), x->Min()), hi = std::min(std::max(xFrom, xTo), x->Max());
  if (!(lo <= hi)) return;
  const int a = x->ValueToPosition(lo), b = x->ValueToPosition(hi);
  const bool filled = FillDrawn();
  const TPen linePen = canvas->Pen();
  bool hasPrevious = false;
  double px = 0, py = 0;
  // Columns from the smaller pixel to the larger, whichever way the axis runs.
  for (int c = std::min(a, b); c <= std::max(a, b); ++c) {
    // The column's value, held to the curve's span (a column's value may lie a little beyond).
    const double v = std::clamp(x->PositionToValue(c), std::min(xFrom, xTo), std::max(xFrom, xTo));
    const double y = at(v);
    if (!std::isfinite(y)) throw EiError(interpolationStyle_ == ipistRational ? kRationalError : kPolynomialError);
    DrawClippedSegment(canvas, reversed, hasPrevious ? px : v, hasPrevious ? py : y, v, y, false);
    if (filled) {
      canvas->Pen().Color = FillColorInUse();
      DrawClippedSegment(canvas, reversed, v, y, v, fillReference_, false);
      canvas->Pen() = linePen;
    }
    if (c >= pixelLeft_ && c <= pixelRight_) SetPixelValue(c, y);
    hasPrevious = true;
    px = v;
    py = y;
  }
}

void TiPlotChannel::DrawSpline(TCanvas* canvas, bool reversed) {
  for (const TiSplineCache::TRun& run : splines_->Runs(*this))
    DrawCurve(canvas, reversed, run.X.front(), run.X.back(), [&run](double v) { return run.At(v); });
}

void TiPlotChannel::CollectInterpolationPoints(const QString& error, std::vector<double>& xs, std::vector<double>& ys) {
  xs.clear();
  ys.clear();
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0) return;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !Finite(x, y)) continue;
    // Every point costs its square at every column: a long trace is refused instead.
    if (int(xs.size()) >= kInterpolationPointLimit) throw EiError(error);
    xs.push_back(x);
    ys.push_back(y);
  }
}

namespace {

// Neville's algorithm: the polynomial through all points, at x.
double Polynomial(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  std::vector<double> p = ys;
  const size_t n = xs.size();
  for (size_t m = 1; m < n; ++m)
    for (size_t i = 0; i + m < n; ++i) {
      const double d = xs[i] - xs[i + m];
      if (d == 0) return std::numeric_limits<double>::quiet_NaN();
      p[i] = ((x - xs[i + m]) * p[i] + (xs[i] - x) * p[i + 1]) / d;
    }
  return p[0];
}

// The diagonal rational interpolant through all points (Bulirsch and Stoer), at x; NaN where it
// has a pole.
double Rational(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  const size_t n = xs.size();
  constexpr double kTiny = 1e-25;
  std::vector<double> c(n), d(n);
  size_t ns = 0;
  double hh = std::fabs(x - xs[0]);
  for (size_t i = 0; i < n; ++i) {
    const double h = std::fabs(x - xs[i]);
    if (h == 0.0) return ys[i];
    if (h < hh) {
      ns = i;
      hh = h;
    }
    c[i] = ys[i];
    d[i] = ys[i] + kTiny;
  }
  double y = ys[ns];
  long nsl = long(ns) - 1;
  for (size_t m = 1; m < n; ++m) {
    for (size_t i = 0; i < n - m; ++i) {
      const double w = c[i + 1] - d[i];
      const double h = xs[i + m] - x;
      double t = (xs[i] - x) * d[i] / h;
      const double dd = t - c[i + 1];
      if (dd == 0.0) return std::numeric_limits<double>::quiet_NaN();
      const double f = w / dd;
      d[i] = c[i + 1] * f;
      c[i] = t * f;
    }
    double dy;
    if (2 * (nsl + 1) < long(n - m)) {
      dy = c[size_t(nsl + 1)];
    } else {
      dy = d[size_t(nsl)];
      --nsl;
    }
    y += dy;
  }
  return y;
}

}  // namespace

void TiPlotChannel::DrawPolynomial(TCanvas* canvas, bool reversed) {
  std::vector<double> xs, ys;
  CollectInterpolationPoints(kPolynomialError, xs, ys);
  if (xs.size() < 2) return;
  const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
  DrawCurve(canvas, reversed, *lo, *hi, [&](double v) { return Polynomial(xs, ys, v); });
}

void TiPlotChannel::DrawRational(TCanvas* canvas, bool reversed) {
  std::vector<double> xs, ys;
  CollectInterpolationPoints(kRationalError, xs, ys);
  if (xs.size() < 2) return;
  const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
  DrawCurve(canvas, reversed, *lo, *hi, [&](double v) { return Rational(xs, ys, v); });
}

double TiPlotChannel::CurveAt(TiPlotInterpolationStyle style, double x, int& status) {
  status = 2;
  try {
    if (style == ipistCubicSpline) {
      double lo = std::numeric_limits<double>::infinity(), hi = -lo;
      for (const TiSplineCache::TRun& run : splines_->Runs(*this)) {
        if (x >= run.X.front() && x <= run.X.back()) {
          status = 0;
          return run.At(x);
        }
        lo = std::min(lo, run.X.front());
        hi = std::max(hi, run.X.back());
      }
      // Between two runs (a null point parts them) there is no curve.
      if (x > lo && x < hi) status = 1;
      return 0.0;
    }
    std::vector<double> xs, ys;
    CollectInterpolationPoints(style == ipistRational ? kRationalError : kPolynomialError, xs, ys);
    if (xs.size() < 2) return 0.0;
    const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
    if (!(x >= *lo && x <= *hi)) return 0.0;
    const double y = style == ipistRational ? Rational(xs, ys, x) : Polynomial(xs, ys, x);
    if (std::isfinite(y)) status = 0;
    return y;
  } catch (const EiError&) {
    return 0.0;
  }
}

void TiPlotChannel::SetPixelValue(int pixel, double y) {
  if (pixel < pixelLeft_ || pixel > pixelRight_ || size_t(pixel - pixelLeft_) >= pixels_.size())
    throw EiError(kPixelRangeError);
  TiPlotPixelPoint& p = pixels_[size_t(pixel - pixelLeft_)];
  p.Empty = false;
  p.Y = y;
}

// ---------------------------------------------------------------------------------------------
// Fill, bars, high-low

void TiPlotChannel::DrawFill(TCanvas* canvas, bool reversed) {
  if (!FillDrawn() || digitalEnabled_ || interpolationStyle_ != ipistStraightLine) return;
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0 || !XAxis() || !YAxis()) return;
  canvas->Brush().Style = fillStyle_;
  canvas->Brush().Color = FillColorInUse();
  canvas->Pen().Color = FillColorInUse();
  canvas->Pen().Style = psClear;
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  const int base = yAxis->ValueToPosition(fillReference_);
  bool hasPrevious = false;
  int pc = 0, py = 0;
  VisitDataList(DataList(), [&](const auto& points) {
    points.ForEachPoint(std::min(first, last), std::max(first, last), [&](int, TiPlotPoint p) {
      if (p.Empty) return;
      if (p.Null || !Finite(p.X, p.Y)) {
        hasPrevious = false;
        return;
      }
      const int c = xAxis->ValueToPosition(p.X), y = yAxis->ValueToPosition(p.Y);
      // Two points in one pixel column make an area of no width: nothing to fill.
      if (hasPrevious && c != pc) {
        TPoint polygon[] = {{pc, base}, {pc, py}, {c, y}, {c, base}};
        if (reversed)
          for (TPoint& q : polygon) std::swap(q.X, q.Y);
        canvas->Polygon(polygon, 4);
      }
      hasPrevious = true;
      pc = c;
      py = y;
    });
  });
}

TRect TiPlotChannel::GetBarRect(int index) {
  const double x = GetX(index), w = GetBarWidth(index);
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  const int x1 = xAxis->ValueToPosition(x - w / 2), x2 = xAxis->ValueToPosition(x + w / 2);
  const int y1 = yAxis->ValueToPosition(GetBarReference(index)), y2 = yAxis->ValueToPosition(GetY(index));
  TRect r = Normalised(x1, y1, x2, y2);
  if (r.Left == r.Right) r.Right = r.Left + 1;
  if (XYAxesReverse()) r = Rect(r.Top, r.Left, r.Bottom, r.Right);
  return r;
}

bool TiPlotChannel::PointHitRect(int index, TRect& rect) {
  if (!barEnabled_) return TiPlotChannelCustom::PointHitRect(index, rect);
  if (!GetValid(index) || !XAxis() || !YAxis()) return false;
  rect = GetBarRect(index);
  return true;
}

void TiPlotChannel::DrawBars(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  if (!barEnabled_) return;
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0 || !XAxis() || !YAxis()) return;
  canvas->SetBkColor(backgroundColor);
  (void)reversed;   // GetBarRect exchanges the coordinates itself
  bool drawn = false;
  TRect previous{};
  TPen previousPen;
  TBrush previousBrush;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !Finite(x, y) || !GetBarVisible(i)) continue;
    TPen pen;
    pen.Color = barPenUseChannelColor_ ? Color() : GetBarPenColor(i);
    pen.Width = ClampCoordinate(GetBarPenWidth(i), 0);
    pen.Style = GetBarPenStyle(i);
    pen.Mode = pmCopy;
    TBrush brush;
    brush.Color = barBrushUseChannelColor_ ? Color() : GetBarBrushColor(i);
    brush.Style = GetBarBrushStyle(i);
    const TRect r = GetBarRect(i);
    // The same bar again (many points in one column) adds no pixel.
    if (drawn && r == previous && pen == previousPen && brush == previousBrush) continue;
    canvas->Pen() = pen;
    canvas->Brush() = brush;
    canvas->Rectangle(r);
    drawn = true;
    previous = r;
    previousPen = pen;
    previousBrush = brush;
  }
}

namespace {
// A solid rectangle in one colour, edges excluded on the right and at the bottom.
void SolidRect(TCanvas* canvas, TColor color, TRect r, bool reversed) {
  if (reversed) r = Rect(r.Top, r.Left, r.Bottom, r.Right);
  canvas->Pen().Color = color;
  canvas->Pen().Style = psSolid;
  canvas->Pen().Width = 0;
  canvas->Brush().Color = color;
  canvas->Brush().Style = bsSolid;
  canvas->Rectangle(r);
}
}  // namespace

void TiPlotChannel::DrawOpenClose(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (first < 0 || last < 0 || !xAxis || !yAxis) return;
  canvas->SetBkColor(backgroundColor);
  const int bw = xAxis->ValueLengthToPixels(highLowBarWidth_);
  const int ow = xAxis->ValueLengthToPixels(highLowOpenWidth_), oh = yAxis->ValueLengthToPixels(highLowOpenHeight_);
  const int cw = xAxis->ValueLengthToPixels(highLowCloseWidth_), ch = yAxis->ValueLengthToPixels(highLowCloseHeight_);
  TRect previous[3];
  bool drawn = false;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !std::isfinite(x)) continue;
    const int px = xAxis->ValueToPosition(x);
    const int y1 = yAxis->ValueToPosition(GetHighLow1(i)), y2 = yAxis->ValueToPosition(GetHighLow2(i));
    TRect bar = Rect(px - bw / 2, std::min(y1, y2), px - bw / 2 + bw, std::max(y1, y2));
    if (bar.Bottom == bar.Top) bar.Bottom = bar.Top + 1;
    if (bar.Right == bar.Left) bar.Right = bar.Left + 1;
    const int yo = yAxis->ValueToPosition(GetOpen(i)), yc = yAxis->ValueToPosition(GetClose(i));
    const TRect open = Rect(px - ow, yo - oh / 2, px, yo - oh / 2 + std::max(oh, 1));
    const TRect close = Rect(px, yc - ch / 2, px + cw, yc - ch / 2 + std::max(ch, 1));
    // A symbol on the pixels of the one before adds nothing.
    if (drawn && bar == previous[0] && open == previous[1] && close == previous[2]) continue;
    if (highLowOpenShow_) SolidRect(canvas, highLowOpenColor_, open, reversed);
    if (highLowCloseShow_) SolidRect(canvas, highLowCloseColor_, close, reversed);
    SolidRect(canvas, highLowBarColor_, bar, reversed);
    previous[0] = bar;
    previous[1] = open;
    previous[2] = close;
    drawn = true;
  }
}

void TiPlotChannel::DrawCandleSticks(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (first < 0 || last < 0 || !xAxis || !yAxis) return;
  canvas->SetBkColor(backgroundColor);
  const int bw = std::max(xAxis->ValueLengthToPixels(highLowBarWidth_), 1);
  TRect previous{};
  TPoint previousShadow{};
  bool previousBearish = false, drawn = false;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !std::isfinite(x)) continue;
    const int px = xAxis->ValueToPosition(x);
    const int h1 = yAxis->ValueToPosition(GetHighLow1(i)), h2 = yAxis->ValueToPosition(GetHighLow2(i));
    const double o = GetOpen(i), c = GetClose(i);
    const int yo = yAxis->ValueToPosition(o), yc = yAxis->ValueToPosition(c);
    TRect body = Rect(px - bw / 2, std::min(yo, yc), px - bw / 2 + bw, std::max(yo, yc));
    if (body.Bottom == body.Top) body.Bottom = body.Top + 1;
    const bool bearish = o > c;
    if (drawn && body == previous && previousShadow == TPoint{h1, h2} && bearish == previousBearish) continue;
    canvas->Pen().Color = highLowShadowColor_;
    canvas->Pen().Style = psSolid;
    canvas->Pen().Width = 0;
    const TPoint a = reversed ? TPoint{h1, px} : TPoint{px, h1}, b = reversed ? TPoint{h2, px} : TPoint{px, h2};
    canvas->MoveTo(a.X, a.Y);
    canvas->LineTo(b.X, b.Y);
    canvas->Brush().Style = bsSolid;
    canvas->Brush().Color = bearish ? highLowBearishColor_ : highLowBullishColor_;
    canvas->Rectangle(reversed ? Rect(body.Top, body.Left, body.Bottom, body.Right) : body);
    previous = body;
    previousShadow = {h1, h2};
    previousBearish = bearish;
    drawn = true;
  }
}

// ---------------------------------------------------------------------------------------------
// Markers

void TiPlotChannel::DrawMarkers(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  if (!digitalEnabled_) {
    TiPlotChannelCustom::DrawMarkers(canvas, reversed, backgroundColor);
    return;
  }
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (!canvas || !MarkersVisible() || first < 0 || last < 0 || !xAxis || !yAxis) return;
  canvas->Font() = MarkersFont()->Font();
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null) continue;
    if (MarkersAllowIndividual() && !DataList().GetMarkerVisible(i)) continue;
    if (!xAxis->ValueInView(x) || !yAxis->ValueInView(y)) continue;
    const int px = xAxis->ValueToPosition(x);
    const int py = y != 0 ? digitalHighPixel_ : digitalLowPixel_;
    DrawMarker(canvas, i, backgroundColor, reversed ? TPoint{py, px} : TPoint{px, py});
  }
}

// ---------------------------------------------------------------------------------------------
// Extents

double TiPlotChannel::GetXMaxExtent() {
  if (!AxesAssigned() || !Visible() || Count() == 0) return -1e300;
  UpdateXAscending();
  double best = -1e300;
  int at = -1;
  auto consider = [&](int i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !std::isfinite(x) || !(x > best)) return false;
    best = x;
    at = i;
    return true;
  };
  if (!ScansForVisibleRange()) {
    // The valid point at the high end of X.
    if (xAscending_) {
      for (int i = Count() - 1; i >= 0; --i)
        if (consider(i)) break;
    } else {
      for (int i = 0; i < Count(); ++i)
        if (consider(i)) break;
    }
  } else {
    for (int i = 0; i < Count(); ++i) consider(i);
  }
  return at < 0 ? -1e300 : GetXPlusMarker(at);
}

double TiPlotChannel::GetXMinExtent() {
  if (!AxesAssigned() || !Visible() || Count() == 0) return 1e300;
  UpdateXAscending();
  double best = 1e300;
  int at = -1;
  auto consider = [&](int i) {
    double x, y;
    bool empty, null;
    GetData(i, x, y, empty, null);
    if (empty || null || !std::isfinite(x) || !(x < best)) return false;
    best = x;
    at = i;
    return true;
  };
  if (!ScansForVisibleRange()) {
    if (xAscending_) {
      for (int i = 0; i < Count(); ++i)
        if (consider(i)) break;
    } else {
      for (int i = Count() - 1; i >= 0; --i)
        if (consider(i)) break;
    }
  } else {
    for (int i = 0; i < Count(); ++i) consider(i);
  }
  return at < 0 ? 1e300 : GetXMinusMarker(at);
}

double TiPlotChannel::GetYMaxExtent() {
  if (!AxesAssigned() || !Visible() || Count() == 0) return -1e300;
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0) return -1e300;
  double best = -1e300;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i)
    if (GetValid(i) && std::isfinite(GetY(i))) best = std::max(best, GetYPlusMarker(i));
  return best;
}

double TiPlotChannel::GetYMinExtent() {
  if (!AxesAssigned() || !Visible() || Count() == 0) return 1e300;
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0) return 1e300;
  double best = 1e300;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i)
    if (GetValid(i) && std::isfinite(GetY(i))) best = std::min(best, GetYMinusMarker(i));
  return best;
}

// ---------------------------------------------------------------------------------------------
// Values at an X

bool TiPlotChannel::GetYAtXLinear(double x, double& y) {
  const int count = Count();
  if (count == 0 || !XAxis()) return false;
  if (GetValid(0) && x == GetX(0)) {
    y = GetY(0);
    return true;
  }
  if (GetValid(count - 1) && x == GetX(count - 1)) {
    y = GetY(count - 1);
    return true;
  }
  int c = FindIndex(x);
  if (c < 0) return false;
  const int away = xAscending_ ? -1 : 1;   // from c toward the smaller X
  int d = c + away;
  if (d < 0 || d >= count) return false;
  if (digitalEnabled_) {
    // The level before x.
    while (d >= 0 && d < count && GetEmpty(d)) d += away;
    if (d < 0 || d >= count || GetNull(d)) return false;
    y = GetY(d);
    return true;
  }
  if (x == GetX(c) && GetValid(c)) {
    y = GetY(c);
    return true;
  }
  // An empty point is no end: the line runs between the valid points on either side.
  while (c >= 0 && c < count && GetEmpty(c)) c -= away;
  while (d >= 0 && d < count && GetEmpty(d)) d += away;
  if (c < 0 || c >= count || d < 0 || d >= count || GetNull(c) || GetNull(d)) return false;
  const double yc = GetY(c), yd = GetY(d);
  if (!std::isfinite(yc) || !std::isfinite(yd)) return false;
  // In pixels, as the line is drawn.
  TiPlotAxis* axis = XAxis();
  const int e = axis->ValueToPosition(GetX(d)), f = axis->ValueToPosition(GetX(c)), g = axis->ValueToPosition(x);
  if (e == f || g == f) y = yc;
  else y = yc + double(g - f) * (yd - yc) / double(e - f);
  return true;
}

int TiPlotChannel::GetYAtX(double x, double& y) {
  const int count = Count();
  if (count == 0) return 2;
  if (GetValid(0) && x == GetX(0)) {
    y = GetY(0);
    return 0;
  }
  if (GetValid(count - 1) && x == GetX(count - 1)) {
    y = GetY(count - 1);
    return 0;
  }
  const TiPlotInterpolationStyle style = digitalEnabled_ ? ipistStraightLine : interpolationStyle_;
  switch (style) {
    case ipistStraightLine: return GetYAtXLinear(x, y) ? 0 : 2;
    case ipistCubicSpline:
    case ipistPolynomial:
    case ipistRational: {
      // Worked out at x itself: the pixel cache of the last paint may be stale by now.
      int status;
      const double v = CurveAt(style, x, status);
      if (status == 0) y = v;
      return status;
    }
    case ipistDifferential:
    case ipistDifferentialTerminated: {
      const int i = FindIndex(x) - 1;
      if (i < 0) {
        const bool beyond = xAscending_ ? x > GetX(count - 1) : x < GetX(count - 1);
        if (style == ipistDifferential && GetValid(count - 1) && beyond && XAxis()) {
          y = GetY(count - 1);
          return 0;
        }
        return 2;
      }
      if (!GetValid(i)) return 2;
      y = GetY(i);
      return 0;
    }
  }
  return 2;
}

void TiPlotChannel::UpdateDataCursor(TiPlotDataCursor* cursor) {
  if (!cursor) return;
  const double p1 = cursor->Pointer1Position(), p2 = cursor->Pointer2Position();
  const TiPlotDataView* view = cursor->DataView();
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  int status = 0;
  double x = 0, y = 0;
  switch (cursor->Style()) {
    case ipcsValueXY:
    case ipcsValueX:
    case ipcsValueY:
      if (!xAxis) {
        status = 2;
        break;
      }
      x = ValueAtPointer(*xAxis, view, p1);
      status = GetYAtX(x, y);
      break;
    case ipcsDeltaX:
      if (xAxis) x = xAxis->CursorScaler() * std::fabs(ValueAtPointer(*xAxis, view, p1) - ValueAtPointer(*xAxis, view, p2));
      break;
    case ipcsDeltaY:
      // Scaled by the Y axis's own scaler: the difference is in its units.
      if (yAxis) y = std::fabs(ValueAtPointer(*yAxis, view, p1) - ValueAtPointer(*yAxis, view, p2)) * yAxis->CursorScaler();
      else status = 2;
      break;
    case ipcsInverseDeltaX: {
      const double k = xAxis ? xAxis->CursorScaler() : 0.0;
      const double d = xAxis ? std::fabs(ValueAtPointer(*xAxis, view, p1) - ValueAtPointer(*xAxis, view, p2)) : 0.0;
      x = d != 0 && k != 0 ? 1 / (d * k) : std::numeric_limits<double>::infinity();
      break;
    }
  }
  // The cursor's change event runs the program's handler, which may remove either of them.
  const TiPlotLifeGuard self(this), other(cursor);
  cursor->SetValues(status, x, y);
  if (self.Gone() || other.Gone()) return;
  const QString text = FormatCursorText(cursor->Style(), status, x, y);
  if (!other.Gone()) cursor->SetHintText(text);
}

// ---------------------------------------------------------------------------------------------
// Hit testing

bool TiPlotChannel::HitTest(const TiPlotMouseParams& params) {
  if (TiPlotChannelCustom::HitTest(params)) return true;
  // A right-button press on the straight-line trace hits the channel too.
  if (params.Button != mbRight) return false;
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (!xAxis || !yAxis) return false;
  const int px = params.XR, py = params.YR;
  double y;
  if (!GetYAtXLinear(xAxis->PositionToValue(px), y)) return false;
  const int ty = yAxis->ValueToPosition(y);
  return ty >= py - 10 && ty < py + 10;
}
