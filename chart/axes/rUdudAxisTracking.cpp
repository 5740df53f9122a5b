// Axis tracking: how an axis follows the values its channels add, and the resume values that
// switching tracking back on restores.
#include <cmath>

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

void TiPlotAxis::SetTrackingStyle(TiPlotTrackingStyle value) { SetAndChange(trackingStyle_, value); }
void TiPlotAxis::SetTrackingIncrementStyle(TiPlotTrackingIncrementStyle value) { SetAndChange(trackingIncrementStyle_, value); }
void TiPlotAxis::SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle value) { SetAndChange(trackingAlignFirstStyle_, value); }
void TiPlotAxis::SetTrackingScrollCompressMax(double value) {
  SetFinite(value, [&](double v) { SetAndChange(trackingScrollCompressMax_, v); });
}
void TiPlotAxis::SetTrackingSpanMinimum(double value) {
  SetFinite(value, [&](double v) { SetAndChange(trackingSpanMinimum_, v); });
}
void TiPlotAxis::SetTrackingMinMargin(double value) {
  SetFinite(value, [&](double v) { SetAndChange(trackingMinMargin_, v); });
}
void TiPlotAxis::SetTrackingMaxMargin(double value) {
  SetFinite(value, [&](double v) { SetAndChange(trackingMaxMargin_, v); });
}
void TiPlotAxis::SetRestoreValuesOnResume(bool value) { SetAndChange(restoreValuesOnResume_, value); }

void TiPlotAxis::ResetTracking() { trackingFirstSeen_ = false; }

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

void TiPlotAxis::NewTrackingData(double value) {
  if (!trackingEnabled_ || !std::isfinite(value)) return;
  if (!trackingFirstSeen_) {
    trackingFirstSeen_ = true;
    switch (trackingAlignFirstStyle_) {
      case ipafsMin: SetMin(value); break;
      case ipafsMax: SetMin(value - s_.Span); break;
      case ipafsAuto:
        if (value < s_.Min || value > Max()) SetMin(value);
        break;
      case ipafsNone: break;
    }
    return;
  }
  const std::weak_ptr<const void> life = LifeToken();
  TrackStyle(value);
  if (life.expired()) return;
  TrackLimits(value);
}

void TiPlotAxis::TrackStyle(double x) {
  const double min = s_.Min, span = s_.Span, max = Max();
  bool snap = true;
  const std::weak_ptr<const void> life = LifeToken();
  switch (trackingStyle_) {
    case iptsScaleMinMax:
      if (x > max) SetMinSpan(min, x - min);
      else if (x < min) SetMinSpan(x, span);
      else snap = false;
      break;
    case iptsScaleMax:
      if (x > max) SetMinSpan(min, span + (x - max));
      else snap = false;
      break;
    case iptsScaleMin:
      if (x < min) SetMinSpan(x, max - x);
      else snap = false;
      break;
    case iptsScrollSmooth:
    case iptsScrollPage: {
      snap = false;
      double width = span;
      if (trackingScrollCompressMax_ != 0 && x > max) width = span <= trackingScrollCompressMax_ ? x - min : trackingScrollCompressMax_;
      const bool smooth = trackingStyle_ == iptsScrollSmooth;
      if (x > max) SetMinSpan(smooth ? x - width : min + width, width);
      else if (x < min) SetMinSpan(smooth ? x : min - width, width);
      break;
    }
    case iptsExpandCollapse: FitToData(); break;
    case iptsExpandCollapseFast: FitToDataFast(); break;
    case iptsExpandMinMax:
      if (x > max) SetMinSpan(min, span + (x - max));
      else if (x < min) SetMinSpan(x, span + (min - x));
      else snap = false;
      break;
  }
  if (snap && !life.expired()) AlignToIncrement();
}

void TiPlotAxis::TrackLimits(double x) {
  const std::weak_ptr<const void> life = LifeToken();
  if (trackingSpanMinimum_ != 0 && s_.Span < trackingSpanMinimum_) {
    SetMinSpan(Mid() - trackingSpanMinimum_ / 2, trackingSpanMinimum_);
    if (life.expired()) return;
  }
  if (trackingMinMargin_ != 0 && x < s_.Min + trackingMinMargin_) {
    SetMinSpan(s_.Min - (s_.Min + trackingMinMargin_ - x), s_.Span);
    if (life.expired()) return;
  }
  if (trackingMaxMargin_ != 0 && x > Max() - trackingMaxMargin_) SetMinSpan(s_.Min, s_.Span + (x - (Max() - trackingMaxMargin_)));
}

void TiPlotAxis::AlignToIncrement() {
  if (trackingIncrementStyle_ == iptisMinimum) return;
  const double s = trackingIncrementStyle_ == iptisMajor ? majorStep_ : minorStep_;
  // Before the first tick list the step is unknown; calendar steps have no fixed length.
  if (!(s > 0) || !std::isfinite(s) || monthSteps_ || yearSteps_) return;
  const double max = Max(), min = s_.Min;
  double hi = max, lo = min;
  if (max / s != std::trunc(max / s)) {
    hi = s * std::trunc(max / s);
    if (hi < max) hi += s;
  }
  if (min / s != std::trunc(min / s)) {
    lo = s * std::trunc(min / s);
    if (lo > min) lo -= s;
  }
  if (lo != min || hi != max) SetMinSpan(lo, hi - lo);
}

void TiPlotAxis::FitToData() { FitTo(false); }
void TiPlotAxis::FitToDataFast() { FitTo(true); }

void TiPlotAxis::FitTo(bool fast) {
  const auto* chart = dynamic_cast<const TiPlotComponent*>(Owner());
  if (!chart) return;
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
  if (!(hi > -1e299 && lo < 1e299) || hi == lo) return;
  double d = hi - lo;
  if (!fast && trackingSpanMinimum_ != 0 && trackingSpanMinimum_ > d) d = trackingSpanMinimum_;
  SetMinSpan(lo - trackingMinMargin_, d + trackingMaxMargin_ + trackingMinMargin_);
}
