// Axis tracking: how an axis follows the values its channels add, and the resume values that
// switching tracking back on restores.
#include <algorithm>
#include <cmath>
#include <exception>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"

namespace {

// Setters of the tracking amounts keep only finite values: these enter range arithmetic.
template <class F>
void SetFinite(double value, F&& set) {
  if (std::isfinite(value)) set(value);
}

}  // namespace

void TiPlotAxis::SetTrackingStyle(TiPlotTrackingStyle value) { SetTrackingSetting(trackingStyle_, value); }
void TiPlotAxis::SetTrackingIncrementStyle(TiPlotTrackingIncrementStyle value) { SetTrackingSetting(trackingIncrementStyle_, value); }
void TiPlotAxis::SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle value) { SetAndChange(trackingAlignFirstStyle_, value); }
void TiPlotAxis::SetTrackingScrollCompressMax(double value) {
  SetFinite(value, [&](double v) { SetAndChange(trackingScrollCompressMax_, v); });
}
void TiPlotAxis::SetTrackingSpanMinimum(double value) {
  SetFinite(value, [&](double v) { SetTrackingSetting(trackingSpanMinimum_, v); });
}
void TiPlotAxis::SetTrackingMinMargin(double value) {
  SetFinite(value, [&](double v) { SetTrackingSetting(trackingMinMargin_, v); });
}
void TiPlotAxis::SetTrackingMaxMargin(double value) {
  SetFinite(value, [&](double v) { SetTrackingSetting(trackingMaxMargin_, v); });
}
void TiPlotAxis::SetRestoreValuesOnResume(bool value) { SetAndChange(restoreValuesOnResume_, value); }

void TiPlotAxis::ResetTracking() {
  trackingFirstSeen_ = false;
  UpdatePlainTracking();
}

bool TiPlotAxis::ChartIsLoading() const {
  const auto* component = dynamic_cast<const TiComponent*>(Owner());
  return component && component->IsLoading();
}

void TiPlotAxis::UpdateResumeValues() {
  resumeMin_ = s_.Min;
  resumeSpan_ = s_.Span;
  resumeDesiredIncrement_ = s_.DesiredIncrement;
}

void TiPlotAxis::SetTrackingEnabled(bool value) {
  if (trackingEnabled_ == value) return;
  trackingEnabled_ = value;
  UpdatePlainTracking();
  // A stored chart brings its own range: reading it neither stores nor restores resume values.
  if (restoreValuesOnResume_ && !ChartIsLoading()) {
    if (value) {
      const std::weak_ptr<const void> life = LifeToken();
      SetMinSpan(resumeMin_, resumeSpan_);
      if (life.expired()) return;
      s_.DesiredIncrement = resumeDesiredIncrement_;
    } else {
      UpdateResumeValues();
    }
  }
  DoChange();
}

void TiPlotAxis::NewTrackingStep(double value, bool held) {
  if (!trackingEnabled_ || !std::isfinite(value)) return;
  const RangeStep step = held ? RangeStep::Hold : RangeStep::Track;
  if (!trackingFirstSeen_) {
    trackingFirstSeen_ = true;
    UpdatePlainTracking();
    switch (trackingAlignFirstStyle_) {
      case ipafsMin: TrackMin(value, step); break;
      case ipafsMax: TrackMin(value - s_.Span, step); break;
      case ipafsAuto:
        if (value < s_.Min || value > Max()) TrackMin(value, step);
        break;
      case ipafsNone: break;
    }
    return;
  }
  if (TrackStyle(value, step)) TrackLimits(value, step);
}

bool TiPlotAxis::TrackStyle(double x, RangeStep step) {
  const double min = s_.Min, span = s_.Span, max = Max();
  bool snap = true;
  bool alive = true;
  switch (trackingStyle_) {
    case iptsScaleMinMax:
      if (x > max) alive = ApplyRange(min, x - min, step);
      else if (x < min) alive = ApplyRange(x, span, step);
      else snap = false;
      break;
    case iptsScaleMax:
      if (x > max) alive = ApplyRange(min, span + (x - max), step);
      else snap = false;
      break;
    case iptsScaleMin:
      if (x < min) alive = ApplyRange(x, max - x, step);
      else snap = false;
      break;
    case iptsScrollSmooth:
    case iptsScrollPage: {
      snap = false;
      double width = span;
      if (trackingScrollCompressMax_ != 0 && x > max) width = span <= trackingScrollCompressMax_ ? x - min : trackingScrollCompressMax_;
      const bool smooth = trackingStyle_ == iptsScrollSmooth;
      if (x > max) alive = ApplyRange(smooth ? x - width : min + width, width, step);
      else if (x < min) alive = ApplyRange(smooth ? x : min - width, width, step);
      break;
    }
    case iptsExpandCollapse: alive = FitTo(false, step); break;
    case iptsExpandCollapseFast: alive = FitTo(true, step); break;
    case iptsExpandMinMax:
      if (x > max) alive = ApplyRange(min, span + (x - max), step);
      else if (x < min) alive = ApplyRange(x, span + (min - x), step);
      else snap = false;
      break;
  }
  if (snap && alive && trackingIncrementStyle_ != iptisMinimum) alive = SnapToIncrement(step);
  return alive;
}

bool TiPlotAxis::TrackLimits(double x, RangeStep step) {
  if (trackingSpanMinimum_ != 0 && s_.Span < trackingSpanMinimum_)
    if (!ApplyRange(Mid() - trackingSpanMinimum_ / 2, trackingSpanMinimum_, step)) return false;
  if (trackingMinMargin_ != 0 && x < s_.Min + trackingMinMargin_)
    if (!ApplyRange(s_.Min - (s_.Min + trackingMinMargin_ - x), s_.Span, step)) return false;
  if (trackingMaxMargin_ != 0 && x > Max() - trackingMaxMargin_)
    return ApplyRange(s_.Min, s_.Span + (x - (Max() - trackingMaxMargin_)), step);
  return true;
}

bool TiPlotAxis::ApplyRange(double min, double span, RangeStep step) {
  switch (step) {
    case RangeStep::Hold:
      HoldBoundedRange(min, span);
      return true;
    case RangeStep::Track: {
      const TiPlotLifeGuard guard(this);
      SetMinSpan(min, span);
      return !guard.Gone();
    }
    case RangeStep::Set: break;
  }
  SetMinSpan(min, span);
  return true;
}

bool TiPlotAxis::TrackMin(double min, RangeStep step) {
  if (step == RangeStep::Hold) {
    min = std::clamp(min, -1e300, 1e300);
    if (min != s_.Min) HoldRange(min, s_.Span);
    return true;
  }
  const TiPlotLifeGuard guard(this);
  SetMin(min);
  return !guard.Gone();
}

void TiPlotAxis::ReleaseHeldRange() {
  if (!held_) return;
  held_ = false;
  if (mapsStale_) BuildMappings();
  RaiseRangeChange(heldMin_, heldSpan_);
}

bool TiPlotAxis::ReleaseHeldRangeFirst() {
  if (!held_) return true;
  const TiPlotLifeGuard guard(this);
  ReleaseHeldRange();
  return !guard.Gone();
}

void TiPlotAxis::AlignToIncrement() { SnapToIncrement(RangeStep::Set); }

bool TiPlotAxis::SnapToIncrement(RangeStep step) {
  if (trackingIncrementStyle_ == iptisMinimum) return true;
  const double s = trackingIncrementStyle_ == iptisMajor ? majorStep_ : minorStep_;
  // Before the first tick list the step is unknown; calendar steps have no fixed length.
  if (!(s > 0) || !std::isfinite(s) || monthSteps_ || yearSteps_) return true;
  const double max = Max(), min = s_.Min;
  // An end within a tiny fraction of a step from a multiple is aligned already: 0.3 / 0.1 is
  // 2.9999999999999996, which must not move 0.3 a whole step down.
  auto aligned = [s](double v) { return std::fabs(v / s - std::nearbyint(v / s)) <= 1e-9; };
  const double hi = aligned(max) ? max : std::max(max, s * std::ceil(max / s));
  const double lo = aligned(min) ? min : std::min(min, s * std::floor(min / s));
  if (lo == min && hi == max) return true;
  return ApplyRange(lo, hi - lo, step);
}

void TiPlotAxis::FitToData() { FitTo(false, RangeStep::Set); }
void TiPlotAxis::FitToDataFast() { FitTo(true, RangeStep::Set); }

bool TiPlotAxis::FitTo(bool fast, RangeStep step) {
  const auto* chart = dynamic_cast<const TiPlotComponent*>(Owner());
  if (!chart) return true;
  const bool isX = dynamic_cast<const TiPlotXAxis*>(this) != nullptr;
  double hi = -1e300, lo = 1e300;
  for (int i = 0; i < chart->ChannelCount(); ++i) {
    TiPlotChannelCustom* channel = chart->Channel(i);
    if (Name().compare(isX ? channel->XAxisName() : channel->YAxisName(), Qt::CaseInsensitive) != 0) continue;
    double cLo, cHi;
    if (fast) {
      cLo = isX ? channel->DataXMin() : channel->DataYMin();
      cHi = isX ? channel->DataXMax() : channel->DataYMax();
    } else {
      if (!channel->Visible() || channel->Count() == 0) continue;
      cLo = isX ? channel->GetXMinExtent() : channel->GetYMinExtent();
      cHi = isX ? channel->GetXMaxExtent() : channel->GetYMaxExtent();
    }
    hi = std::max(hi, cHi);
    lo = std::min(lo, cLo);
  }
  if (!(hi > -1e299 && lo < 1e299) || hi == lo) return true;
  double d = hi - lo;
  if (!fast && trackingSpanMinimum_ != 0 && trackingSpanMinimum_ > d) d = trackingSpanMinimum_;
  return ApplyRange(lo - trackingMinMargin_, d + trackingMaxMargin_ + trackingMinMargin_, step);
}

// ---------------------------------------------------------------------------------------------
// The chart's end of update suspension

namespace {

// The first axis of the chart whose range change is held; nullptr when none is.
TiPlotAxis* FirstHeldAxis(const TiPlotComponent& chart) {
  for (int i = 0; i < chart.XAxisCount(); ++i)
    if (chart.XAxis(i)->RangeChangeHeld()) return chart.XAxis(i);
  for (int i = 0; i < chart.YAxisCount(); ++i)
    if (chart.YAxis(i)->RangeChangeHeld()) return chart.YAxis(i);
  return nullptr;
}

}  // namespace

void TiPlotComponent::EndUpdate() {
  // Handlers of the released events may add or remove axes and points: the chart is searched
  // again after each release, and nothing is held while releasing, so this ends. A failing
  // handler still lets the suspension end; the first failure goes on afterwards.
  std::exception_ptr failure;
  releasingHeldRanges_ = true;
  while (TiPlotAxis* axis = FirstHeldAxis(*this)) {
    try {
      axis->ReleaseHeldRange();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  releasingHeldRanges_ = false;
  TiCustomComponent::EndUpdate();
  if (failure) std::rethrow_exception(failure);
}
