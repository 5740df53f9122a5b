#include "chart/axes/rUdudAxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/axes/iDateTimeFormat.h"
#include "platform/Canvas.h"

namespace {

const QStringList kTextFormatNames{QStringLiteral("iptfValue"),    QStringLiteral("iptfExponent"),
                                   QStringLiteral("iptfPrefix"),   QStringLiteral("iptfDateTime"),
                                   QStringLiteral("iptfPrice32nds"), QStringLiteral("iptfThousands")};
const QStringList kPrecisionStyleNames{QStringLiteral("ipsSignificantDigits"), QStringLiteral("ipsFixedDecimalPoints")};

TFont DefaultLabelsFont() {
  TFont font;
  font.Color = clWhite;
  return font;
}

// nearest() of a width computation, kept within int.
int NearestPixels(double value) {
  if (!(value > -2e9)) return value != value ? 0 : -2000000000;
  if (value > 2e9) return 2000000000;
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

const TiClassInfo& TiPlotAxis::StaticClassInfo() {
  using C = TiPlotAxis;
  static const TiPlotAxisSettings d;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotAxis"), &TiPlotLayoutObject::StaticClassInfo())
          .String(QStringLiteral("Title"), &C::Title, &C::SetTitle)
          .Boolean(QStringLiteral("TrackingEnabled"), &C::TrackingEnabled, &C::SetTrackingEnabled, true)
          .Enumeration<TiPlotTrackingStyle>(QStringLiteral("TrackingStyle"), &C::TrackingStyle, &C::SetTrackingStyle, iptsScaleMinMax,
                                            {QStringLiteral("iptsScaleMinMax"), QStringLiteral("iptsScaleMax"),
                                             QStringLiteral("iptsScaleMin"), QStringLiteral("iptsScrollSmooth"),
                                             QStringLiteral("iptsScrollPage"), QStringLiteral("iptsExpandCollapse"),
                                             QStringLiteral("iptsExpandCollapseFast"), QStringLiteral("iptsExpandMinMax")})
          .Enumeration<TiPlotTrackingIncrementStyle>(QStringLiteral("TrackingIncrementStyle"), &C::TrackingIncrementStyle,
                                                     &C::SetTrackingIncrementStyle, iptisMinimum,
                                                     {QStringLiteral("iptisMinimum"), QStringLiteral("iptisMajor"), QStringLiteral("iptisMinor")})
          .Enumeration<TiPlotAlignFirstStyle>(QStringLiteral("TrackingAlignFirstStyle"), &C::TrackingAlignFirstStyle,
                                              &C::SetTrackingAlignFirstStyle, ipafsAuto,
                                              {QStringLiteral("ipafsNone"), QStringLiteral("ipafsAuto"), QStringLiteral("ipafsMin"),
                                               QStringLiteral("ipafsMax")})
          .Float(QStringLiteral("TrackingScrollCompressMax"), &C::TrackingScrollCompressMax, &C::SetTrackingScrollCompressMax, 0.0)
          .Float(QStringLiteral("TrackingSpanMinimum"), &C::TrackingSpanMinimum, &C::SetTrackingSpanMinimum, 0.0)
          .Float(QStringLiteral("TrackingMinMargin"), &C::TrackingMinMargin, &C::SetTrackingMinMargin, 0.0)
          .Float(QStringLiteral("TrackingMaxMargin"), &C::TrackingMaxMargin, &C::SetTrackingMaxMargin, 0.0)
          .Boolean(QStringLiteral("RestoreValuesOnResume"), &C::RestoreValuesOnResume, &C::SetRestoreValuesOnResume, true)
          .Enumeration<TiPlotCartesianStyle>(QStringLiteral("CartesianStyle"), &C::CartesianStyle, &C::SetCartesianStyle, ipcsNone,
                                             {QStringLiteral("ipcsNone"), QStringLiteral("ipcsMaster"), QStringLiteral("ipcsChild")})
          .String(QStringLiteral("CartesianChildRefAxisName"), &C::CartesianChildRefAxisName, &C::SetCartesianChildRefAxisName, QStringLiteral("<None>"))
          .Float(QStringLiteral("CartesianChildRefValue"), &C::CartesianChildRefValue, &C::SetCartesianChildRefValue, 0.0)
          .String(QStringLiteral("AlignRefAxisName"), &C::AlignRefAxisName, &C::SetAlignRefAxisName, QStringLiteral("<None>"))
          .Boolean(QStringLiteral("ForceStacking"), &C::ForceStacking, &C::SetForceStacking, false)
          // The scale.
          .Float(QStringLiteral("Min"), &C::Min, &C::SetMin, 0.0)
          .Float(QStringLiteral("Span"), &C::Span, &C::SetSpan, 100.0)
          .ReadOnlyFromFiles(QStringLiteral("Span_2"), &C::SetStoredSpan)
          .Boolean(QStringLiteral("ReverseScale"), &C::ReverseScale, &C::SetReverseScale, d.ReverseScale)
          .Enumeration<TiPlotScaleType>(QStringLiteral("ScaleType"), &C::ScaleType, &C::SetScaleType, d.ScaleType,
                                        {QStringLiteral("ipstLinear"), QStringLiteral("ipstLog10")})
          .Float(QStringLiteral("DesiredIncrement"), &C::DesiredIncrement, &C::SetDesiredIncrement, 0.0)
          .Float(QStringLiteral("DesiredStart"), &C::DesiredStart, &C::SetDesiredStart, 0.0)
          .Integer(QStringLiteral("MinorCount"), &C::MinorCount, &C::SetMinorCount, d.MinorCount)
          // Scroll limits and the repetition of user input.
          .Boolean(QStringLiteral("ScrollMinMaxEnabled"), &C::ScrollMinMaxEnabled, &C::SetScrollMinMaxEnabled, false)
          .Float(QStringLiteral("ScrollMin"), &C::ScrollMin, &C::SetScrollMin, 0.0)
          .Float(QStringLiteral("ScrollMax"), &C::ScrollMax, &C::SetScrollMax, 100.0)
          .Boolean(QStringLiteral("MasterUIInput"), &C::MasterUIInput, &C::SetMasterUIInput, false)
          // Labels.
          .Float(QStringLiteral("LabelSeparation"), &C::LabelSeparation, &C::SetLabelSeparation, 2.0)
          .Float(QStringLiteral("LabelsMinLength"), &C::LabelsMinLength, &C::SetLabelsMinLength, 5.0)
          .Boolean(QStringLiteral("LabelsMinLengthAutoAdjust"), &C::LabelsMinLengthAutoAdjust, &C::SetLabelsMinLengthAutoAdjust,
                   d.Labels.MinLengthAutoAdjust)
          .Enumeration<TiPlotTextFormat>(QStringLiteral("LabelsFormatStyle"), &C::LabelsFormatStyle, &C::SetLabelsFormatStyle,
                                         d.Labels.FormatStyle, kTextFormatNames)
          .Integer(QStringLiteral("LabelsPrecision"), &C::LabelsPrecision, &C::SetLabelsPrecision, d.Labels.Precision)
          .Enumeration<TiPrecisionStyle>(QStringLiteral("LabelsPrecisionStyle"), &C::LabelsPrecisionStyle, &C::SetLabelsPrecisionStyle,
                                         d.Labels.PrecisionStyle, kPrecisionStyleNames)
          .String(QStringLiteral("DateTimeFormat"), &C::DateTimeFormat, &C::SetDateTimeFormat, QStringLiteral("hh:nn:ss"))
          // Data cursor texts.
          .Boolean(QStringLiteral("CursorUseDefaultFormat"), &C::CursorUseDefaultFormat, &C::SetCursorUseDefaultFormat,
                   d.CursorUseDefaultFormat)
          .Enumeration<TiPlotTextFormat>(QStringLiteral("CursorFormatStyle"), &C::CursorFormatStyle, &C::SetCursorFormatStyle,
                                         d.Cursor.FormatStyle, kTextFormatNames)
          .Integer(QStringLiteral("CursorPrecision"), &C::CursorPrecision, &C::SetCursorPrecision, d.Cursor.Precision)
          .Enumeration<TiPrecisionStyle>(QStringLiteral("CursorPrecisionStyle"), &C::CursorPrecisionStyle, &C::SetCursorPrecisionStyle,
                                         d.Cursor.PrecisionStyle, kPrecisionStyleNames)
          .String(QStringLiteral("CursorDateTimeFormat"), &C::CursorDateTimeFormat, &C::SetCursorDateTimeFormat, QStringLiteral("hh:nn:ss"))
          .Float(QStringLiteral("CursorMinLength"), &C::CursorMinLength, &C::SetCursorMinLength, 5.0)
          .Boolean(QStringLiteral("CursorMinLengthAutoAdjust"), &C::CursorMinLengthAutoAdjust, &C::SetCursorMinLengthAutoAdjust,
                   d.Cursor.MinLengthAutoAdjust)
          // Legend texts.
          .Boolean(QStringLiteral("LegendUseDefaultFormat"), &C::LegendUseDefaultFormat, &C::SetLegendUseDefaultFormat,
                   d.LegendUseDefaultFormat)
          .Enumeration<TiPlotTextFormat>(QStringLiteral("LegendFormatStyle"), &C::LegendFormatStyle, &C::SetLegendFormatStyle,
                                         d.Legend.FormatStyle, kTextFormatNames)
          .Integer(QStringLiteral("LegendPrecision"), &C::LegendPrecision, &C::SetLegendPrecision, d.Legend.Precision)
          .Enumeration<TiPrecisionStyle>(QStringLiteral("LegendPrecisionStyle"), &C::LegendPrecisionStyle, &C::SetLegendPrecisionStyle,
                                         d.Legend.PrecisionStyle, kPrecisionStyleNames)
          .String(QStringLiteral("LegendDateTimeFormat"), &C::LegendDateTimeFormat, &C::SetLegendDateTimeFormat, QStringLiteral("hh:nn:ss"))
          .Float(QStringLiteral("LegendMinLength"), &C::LegendMinLength, &C::SetLegendMinLength, 5.0)
          .Boolean(QStringLiteral("LegendMinLengthAutoAdjust"), &C::LegendMinLengthAutoAdjust, &C::SetLegendMinLengthAutoAdjust,
                   d.Legend.MinLengthAutoAdjust)
          .Float(QStringLiteral("CursorScaler"), &C::CursorScaler, &C::SetCursorScaler, 1.0)
          // Label drawing settings the tick placement needs.
          .Boolean(QStringLiteral("LabelsVisible"), &C::LabelsVisible, &C::SetLabelsVisible, d.LabelsVisible)
          .Enumeration<TiRotationAngle>(QStringLiteral("LabelsRotation"), &C::LabelsRotation, &C::SetLabelsRotation, d.LabelsRotation,
                                        {QStringLiteral("ira000"), QStringLiteral("ira090"), QStringLiteral("ira180"),
                                         QStringLiteral("ira270")})
          .Object(QStringLiteral("LabelsFont"), static_cast<TiFont* (C::*)()>(&C::LabelsFont))
          // Drawing and placement.
          .Boolean(QStringLiteral("TitleShow"), &C::TitleShow, &C::SetTitleShow, false)
          .Boolean(QStringLiteral("TitleRotated"), &C::TitleRotated, &C::SetTitleRotated, false)
          .Float(QStringLiteral("TitleMargin"), &C::TitleMargin, &C::SetTitleMargin, 0.25)
          .Object(QStringLiteral("TitleFont"), static_cast<TiFont* (C::*)()>(&C::TitleFont))
          .Float(QStringLiteral("LabelsMargin"), &C::LabelsMargin, &C::SetLabelsMargin, 0.25)
          .Integer(QStringLiteral("MajorLength"), &C::MajorLength, &C::SetMajorLength, 7)
          .Integer(QStringLiteral("MinorLength"), &C::MinorLength, &C::SetMinorLength, 3)
          .Integer(QStringLiteral("InnerMargin"), &C::InnerMargin, &C::SetInnerMargin, 5)
          .Integer(QStringLiteral("OuterMargin"), &C::OuterMargin, &C::SetOuterMargin, 5)
          .Boolean(QStringLiteral("ScaleLinesShow"), &C::ScaleLinesShow, &C::SetScaleLinesShow, true)
          .Boolean(QStringLiteral("ScaleLineShow"), &C::ScaleLineShow, &C::SetScaleLineShow, true)
          .Color(QStringLiteral("ScaleLinesColor"), &C::ScaleLinesColor, &C::SetScaleLinesColor, clWhite)
          .Float(QStringLiteral("StackingEndsMargin"), &C::StackingEndsMargin, &C::SetStackingEndsMargin, 0.5)
          .Boolean(QStringLiteral("GridLinesVisible"), &C::GridLinesVisible, &C::SetGridLinesVisible, true)
          .Build();
  return info;
}

const TiClassInfo& TiPlotXAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotXAxis>(QStringLiteral("TiPlotXAxis"), &TiPlotAxis::StaticClassInfo())
      .Build();
  return info;
}

const TiClassInfo& TiPlotYAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotYAxis>(QStringLiteral("TiPlotYAxis"), &TiPlotAxis::StaticClassInfo())
      .Redefault(QStringLiteral("TrackingAlignFirstStyle"), ipafsNone)
      .Build();
  return info;
}

TiPlotAxis::TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers, TiPlotAlignFirstStyle alignFirst)
    : TiPlotLayoutObject(owner, handlers), labelsFont_(DefaultLabelsFont()), trackingAlignFirstStyle_(alignFirst) {
  labelsFont_.OnChange = [this] { DoChange(); };
  titleFont_.OnChange = [this] { DoChange(); };
  UpdateMappings();
}

void TiPlotAxis::SetTitle(const QString& value) { SetAndChange(title_, value); }

// ---------------------------------------------------------------------------------------------
// Placement references

void TiPlotAxis::SetCartesianStyle(TiPlotCartesianStyle value) { SetAndChange(cartesianStyle_, value); }

void TiPlotAxis::SetCartesianChildRefAxisName(const QString& value) {
  cartesianRef_ = nullptr;
  if (value == cartesianChildRefAxisName_) return;
  cartesianChildRefAxisName_ = value;
  DoChange();
}

void TiPlotAxis::SetCartesianChildRefValue(double value) {
  // A reference that is no number would place the child axis nowhere.
  if (std::isfinite(value)) SetAndChange(cartesianChildRefValue_, value);
}

void TiPlotAxis::SetAlignRefAxisName(const QString& value) {
  alignRef_ = nullptr;
  if (value == alignRefAxisName_) return;
  alignRefAxisName_ = value;
  DoChange();
}

void TiPlotAxis::SetForceStacking(bool value) { SetAndChange(forceStacking_, value); }

TiPlotAxis* TiPlotAxis::FindReferenceAxis(const QString& name, bool sameKind) const {
  const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner());
  if (!lookup || name.compare(QStringLiteral("<None>"), Qt::CaseInsensitive) == 0) return nullptr;
  const bool isX = dynamic_cast<const TiPlotXAxis*>(this) != nullptr;
  const bool wantX = sameKind ? isX : !isX;
  TiPlotAxis* found = wantX ? static_cast<TiPlotAxis*>(lookup->FindXAxis(name)) : static_cast<TiPlotAxis*>(lookup->FindYAxis(name));
  // An axis is never its own reference: that would place it by itself.
  return found == this ? nullptr : found;
}

// A miss is not kept: the reference may be added to the chart later.
TiPlotAxis* TiPlotAxis::CartesianChildRefAxis() {
  if (!cartesianRef_) cartesianRef_ = FindReferenceAxis(cartesianChildRefAxisName_, false);
  return cartesianRef_;
}

TiPlotAxis* TiPlotAxis::AlignRefAxis() {
  if (!alignRef_) alignRef_ = FindReferenceAxis(alignRefAxisName_, true);
  return alignRef_;
}

void TiPlotAxis::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotLayoutObject::NotifyRemoving(item);
  // Looked up again next time: a later axis of the same name may take its place.
  if (cartesianRef_ && static_cast<TiPlotPersistent*>(cartesianRef_) == item) cartesianRef_ = nullptr;
  if (alignRef_ && static_cast<TiPlotPersistent*>(alignRef_) == item) alignRef_ = nullptr;
}

void TiPlotAxis::NotifyRenamed(TiPlotObject* object) {
  TiPlotLayoutObject::NotifyRenamed(object);
  auto* axis = dynamic_cast<TiPlotAxis*>(object);
  if (!axis || axis == this) return;
  // The reference keeps pointing at the same axis; only the stored text follows it, so that a
  // saved chart keeps its placement. A reference not looked up yet is known by the old name.
  auto follows = [&](TiPlotAxis*& cached, QString& name, bool sameKind) {
    const bool kindMatches = (dynamic_cast<TiPlotXAxis*>(axis) != nullptr) == (dynamic_cast<TiPlotXAxis*>(this) != nullptr);
    if (kindMatches != sameKind) return false;
    const bool isIt = cached ? cached == axis : name.compare(axis->PreviousName(), Qt::CaseInsensitive) == 0;
    if (!isIt || axis->Name() == name) return false;
    name = axis->Name();
    cached = axis;
    return true;
  };
  const bool cartesian = follows(cartesianRef_, cartesianChildRefAxisName_, false);
  const bool align = follows(alignRef_, alignRefAxisName_, true);
  if (cartesian || align) DoChange();
}

// ---------------------------------------------------------------------------------------------
// Scale properties

TiPlotAxisEvents* TiPlotAxis::Events() const {
  // Looked up again only when the owner changes (a detached axis has none): tracking asks for
  // it on every range change.
  if (eventsOwner_ != Owner()) {
    eventsOwner_ = Owner();
    events_ = dynamic_cast<TiPlotAxisEvents*>(Owner());
  }
  return events_;
}

void TiPlotAxis::ChangeScaleValue(double& field, double value, bool single,
                                  void (TiPlotAxisEvents::*event)(TiPlotAxis*, double, double)) {
  if (value == field) return;
  if (!ReleaseHeldRangeFirst()) return;
  const double oldMin = s_.Min, oldSpan = s_.Span, old = field;
  field = value;
  UpdateMappings();
  const std::weak_ptr<const void> life = LifeToken();
  DoChange();
  if (!single || life.expired()) return;
  if (TiPlotAxisEvents* events = Events()) {
    (events->*event)(this, old, value);
    if (life.expired()) return;
    events->AxisMinSpanChange(this, oldMin, oldSpan, s_.Min, s_.Span);
  }
}

void TiPlotAxis::ChangeMin(double value, bool single) {
  ChangeScaleValue(s_.Min, std::clamp(value, -1e300, 1e300), single, &TiPlotAxisEvents::AxisMinChange);
}

void TiPlotAxis::ChangeSpan(double value, bool single) {
  ChangeScaleValue(s_.Span, std::clamp(value, 1e-300, 1e300), single, &TiPlotAxisEvents::AxisSpanChange);
}

void TiPlotAxis::SetMin(double value) {
  if (std::isfinite(value)) ChangeMin(value, true);
}

void TiPlotAxis::SetSpan(double value) {
  if (std::isfinite(value)) ChangeSpan(value, true);
}

// The older stored name of the span: taken as it stands, without the clamp and without events.
// A span that no scale can map (zero, negative, not finite) is passed over.
void TiPlotAxis::SetStoredSpan(double value) {
  if (!std::isfinite(value) || value <= 0) return;
  s_.Span = value;
  UpdateMappings();
}

void TiPlotAxis::SetMinSpan(double min, double span) {
  if (!BoundRange(min, span)) return;
  if (!ReleaseHeldRangeFirst()) return;
  const double oldMin = s_.Min, oldSpan = s_.Span;
  // Both ends move together: one mapping update and one change for tracking's per-point calls.
  s_.Min = min;
  s_.Span = span;
  UpdateMappings();
  RaiseRangeChange(oldMin, oldSpan);
}

void TiPlotAxis::RaiseRangeChange(double oldMin, double oldSpan) {
  if (s_.Min == oldMin && s_.Span == oldSpan) return;
  const std::weak_ptr<const void> life = LifeToken();
  DoChange();
  if (life.expired()) return;
  TiPlotAxisEvents* events = Events();
  if (!events || (s_.Min == oldMin && s_.Span == oldSpan)) return;
  if (s_.Min != oldMin) {
    events->AxisMinChange(this, oldMin, s_.Min);
    if (life.expired()) return;
  }
  if (s_.Span != oldSpan) {
    events->AxisSpanChange(this, oldSpan, s_.Span);
    if (life.expired()) return;
  }
  events->AxisMinSpanChange(this, oldMin, oldSpan, s_.Min, s_.Span);
}

void TiPlotAxis::SetReverseScale(bool value) {
  if (value == s_.ReverseScale) return;
  s_.ReverseScale = value;
  UpdateMappings();
  DoChange();
}

void TiPlotAxis::SetScaleType(TiPlotScaleType value) {
  if (value == s_.ScaleType) return;
  s_.ScaleType = value;
  if (value == ipstLog10 && !(s_.Min > 0)) s_.Min = 1.0;
  UpdateMappings();
  DoChange();
}

void TiPlotAxis::SetDesiredIncrement(double value) {
  if (std::isfinite(value)) SetAndChange(s_.DesiredIncrement, std::clamp(value, 0.0, 1e300));
}

void TiPlotAxis::SetDesiredStart(double value) {
  if (std::isfinite(value)) SetAndChange(s_.DesiredStart, value);
}

void TiPlotAxis::SetMinorCount(int value) { SetAndChange(s_.MinorCount, value); }

void TiPlotAxis::SetCursorScaler(double value) {
  if (std::isfinite(value)) SetAndChange(s_.CursorScaler, value);
}

void TiPlotAxis::SetLabelSeparation(double value) {
  if (std::isfinite(value)) SetAndChange(s_.LabelSeparation, value);
}
void TiPlotAxis::SetLabelsMinLength(double value) {
  if (std::isfinite(value)) SetAndChange(s_.Labels.MinLength, value);
}
void TiPlotAxis::SetLabelsMinLengthAutoAdjust(bool value) { SetAndChange(s_.Labels.MinLengthAutoAdjust, value); }
void TiPlotAxis::SetLabelsFormatStyle(TiPlotTextFormat value) { SetAndChange(s_.Labels.FormatStyle, value); }
void TiPlotAxis::SetLabelsPrecision(int value) { SetAndChange(s_.Labels.Precision, value); }
void TiPlotAxis::SetLabelsPrecisionStyle(TiPrecisionStyle value) { SetAndChange(s_.Labels.PrecisionStyle, value); }
void TiPlotAxis::SetDateTimeFormat(const QString& value) { SetAndChange(s_.Labels.DateTimeFormat, value); }

void TiPlotAxis::SetCursorUseDefaultFormat(bool value) { SetAndChange(s_.CursorUseDefaultFormat, value); }
void TiPlotAxis::SetCursorFormatStyle(TiPlotTextFormat value) { SetAndChange(s_.Cursor.FormatStyle, value); }
void TiPlotAxis::SetCursorPrecision(int value) { SetAndChange(s_.Cursor.Precision, value); }
void TiPlotAxis::SetCursorPrecisionStyle(TiPrecisionStyle value) { SetAndChange(s_.Cursor.PrecisionStyle, value); }
void TiPlotAxis::SetCursorDateTimeFormat(const QString& value) { SetAndChange(s_.Cursor.DateTimeFormat, value); }
void TiPlotAxis::SetCursorMinLength(double value) {
  if (std::isfinite(value)) SetAndChange(s_.Cursor.MinLength, value);
}
void TiPlotAxis::SetCursorMinLengthAutoAdjust(bool value) { SetAndChange(s_.Cursor.MinLengthAutoAdjust, value); }

void TiPlotAxis::SetLegendUseDefaultFormat(bool value) { SetAndChange(s_.LegendUseDefaultFormat, value); }
void TiPlotAxis::SetLegendFormatStyle(TiPlotTextFormat value) { SetAndChange(s_.Legend.FormatStyle, value); }
void TiPlotAxis::SetLegendPrecision(int value) { SetAndChange(s_.Legend.Precision, value); }
void TiPlotAxis::SetLegendPrecisionStyle(TiPrecisionStyle value) { SetAndChange(s_.Legend.PrecisionStyle, value); }
void TiPlotAxis::SetLegendDateTimeFormat(const QString& value) { SetAndChange(s_.Legend.DateTimeFormat, value); }
void TiPlotAxis::SetLegendMinLength(double value) {
  if (std::isfinite(value)) SetAndChange(s_.Legend.MinLength, value);
}
void TiPlotAxis::SetLegendMinLengthAutoAdjust(bool value) { SetAndChange(s_.Legend.MinLengthAutoAdjust, value); }

void TiPlotAxis::SetLabelsVisible(bool value) { SetAndChange(s_.LabelsVisible, value); }
void TiPlotAxis::SetLabelsRotation(TiRotationAngle value) { SetAndChange(s_.LabelsRotation, value); }

// ---------------------------------------------------------------------------------------------
// Mappings

int TiPlotScaleMap::LogPosition(double value) const {
  if (FlatLog) return 0;
  const double logValue = value > 0 ? std::log10(value) : 0.0;
  double d = (logValue - Min) * Factor;
  if (d != d) d = 0;
  // Not clamped to the drawing range, only kept within 32 bits.
  const double p = MinEnd - std::nearbyint(std::clamp(d, -1e10, 1e10));
  return static_cast<int>(std::clamp(p, static_cast<double>(std::numeric_limits<int>::min()),
                                     static_cast<double>(std::numeric_limits<int>::max())));
}

void TiPlotAxis::BuildMappings() const {
  // Each field is written in place: tracking may rebuild the maps on every added point.
  auto build = [this](TiPlotScaleMap& map, int minEnd, int maxEnd) {
    // Integer halves truncate toward zero.
    map.MiddlePixel = static_cast<int>((static_cast<std::int64_t>(minEnd) + maxEnd) / 2);
    map.Middle = minEnd == maxEnd || !(s_.Span > 1e-300);
    map.MinEnd = minEnd;
    map.Logarithmic = IsLogarithmic();
    if (!map.Logarithmic) {
      map.Min = s_.Min;
      map.FlatLog = false;
      map.Factor = (static_cast<double>(minEnd) - maxEnd) / s_.Span;
      if (!(std::fabs(map.Factor) <= 1e300)) map.Factor = 0;
    } else {
      const double s = s_.Span > 0 ? s_.Span : 1.0;
      const double l0 = std::log10(LogMin());
      const double l1 = std::log10(LogMin() + s);
      map.Min = l0;
      map.FlatLog = !(l1 - l0 != 0);
      map.Factor = map.FlatLog ? 0.0 : (static_cast<double>(minEnd) - maxEnd) / (l1 - l0);
    }
  };
  const TRect& r = scaleArea_;
  if (s_.ReverseScale) {
    build(mapH_, r.Right, r.Left);
    build(mapV_, r.Top, r.Bottom);
  } else {
    build(mapH_, r.Left, r.Right);
    build(mapV_, r.Bottom, r.Top);
  }
  mapsStale_ = false;
}

void TiPlotAxis::SetScaleArea(const TRect& rect) {
  scaleArea_ = rect;
  UpdateMappings();
}

double TiPlotAxis::PositionToValue(int position) const {
  const double a = Horizontal() ? scaleArea_.Left : scaleArea_.Top;
  const double b = Horizontal() ? scaleArea_.Right : scaleArea_.Bottom;
  if (a == b) return s_.Min;
  double r = Horizontal() ? (position - a) / (b - a) : (b - position) / (b - a);
  if (s_.ReverseScale) r = 1 - r;
  return ScaleValue(r);
}

int TiPlotAxis::ValueLengthToPixels(double delta) const {
  const std::int64_t d = static_cast<std::int64_t>(ValueToPosition(s_.Min + delta)) - ValueToPosition(s_.Min);
  return static_cast<int>(std::min<std::int64_t>(d < 0 ? -d : d, std::numeric_limits<int>::max()));
}

bool TiPlotAxis::ValueInView(double value) const {
  if (value != value) return false;
  const int p = ValueToPosition(value);
  if (Horizontal()) return p >= scaleArea_.Left && p <= scaleArea_.Right;
  return p >= scaleArea_.Top && p <= scaleArea_.Bottom;
}

double TiPlotAxis::ScaleFraction(double value) const {
  if (!IsLogarithmic()) return (value - s_.Min) / s_.Span;
  const double l0 = std::log10(LogMin());
  const double d = std::log10(LogMax()) - l0;
  if (d == 0) return 0;
  return (std::log10(value > 0 ? value : 1.0) - l0) / d;
}

double TiPlotAxis::ScaleValue(double fraction) const {
  double value;
  if (!IsLogarithmic()) {
    value = s_.Min + fraction * s_.Span;
  } else {
    const double l0 = std::log10(LogMin());
    value = std::pow(10.0, l0 + fraction * (std::log10(LogMax()) - l0));
  }
  // Far beyond a wide scale the value stays within what an axis can hold (never infinite).
  return std::clamp(value, -1e300, 1e300);
}

double TiPlotAxis::FractionToValue(double fraction) const {
  const double share = StopPercent() - StartPercent();
  if (!(share > 0)) return 0;
  double r = (fraction * 100 - StartPercent()) / share;
  if (s_.ReverseScale) r = 1 - r;
  return ScaleValue(r);
}

double TiPlotAxis::ValueToFraction(double value) const {
  const double share = StopPercent() - StartPercent();
  if (!(share > 0)) return 0;
  double r = ScaleFraction(value);
  if (s_.ReverseScale) r = 1 - r;
  return (StartPercent() + r * share) / 100;
}

// ---------------------------------------------------------------------------------------------
// Value texts

QString TiPlotAxis::FormatNumber(TiPlotTextFormat style, const QString& pattern, const TiPlotTextSettings& t, double v,
                                 bool& unknown) const {
  unknown = false;
  switch (style) {
    case iptfValue:
      if (IsLogarithmic()) {
        if (!(v > 0) || !std::isfinite(v)) {
          unknown = true;
          return QStringLiteral("Unknown");
        }
        // The label precision, whichever text this is for.
        long long n = s_.Labels.Precision;
        if (s_.Labels.PrecisionStyle != ipsFixedDecimalPoints)
          n = static_cast<long long>(s_.Labels.Precision) - static_cast<long long>(std::trunc(std::log10(v))) - 1;
        return FormatFixedValue(v, static_cast<int>(std::clamp<long long>(n, 0, 18)));
      }
      return FormatFixedValue(v, DecimalsForPrecision(t.Precision, t.PrecisionStyle, s_.Span));
    case iptfExponent:
      // Held before the + 1: a property file may set the precision to INT_MAX.
      return FormatExponentValue(v, t.PrecisionStyle == ipsFixedDecimalPoints ? std::clamp(t.Precision, 0, 17) + 1
                                                                              : t.Precision);
    case iptfPrefix:
      return FormatPrefixValue(v, t.Precision, t.PrecisionStyle, s_.Span).value_or(QStringLiteral("Unknown"));
    case iptfDateTime:
      if (!pattern.isEmpty() && pattern[0].toUpper() == QLatin1Char('J'))
        return FormatFixedValue(std::trunc(v), 0) + QLatin1Char(' ') + FormatDateTime(pattern.mid(1), v);
      return FormatDateTime(pattern, v);
    case iptfPrice32nds:
      return FormatPrice32ndsValue(v);
    case iptfThousands:
      return FormatThousandsValue(v, DecimalsForPrecision(t.Precision, t.PrecisionStyle, s_.Span));
  }
  return QStringLiteral("Unknown");
}

void TiPlotAxis::RaiseCustomizeLabel(double value, QString& text) {
  if (TiPlotAxisEvents* events = Events()) events->AxisCustomizeLabel(this, value, text);
}

QString TiPlotAxis::FormatValue(TiPlotTextFormat style, const QString& pattern, const TiPlotTextSettings& settings, double value,
                                TiPlotTextSettings* autoAdjust) {
  QString text;
  bool unknown = false;
  try {
    text = FormatNumber(style, pattern, settings, value, unknown).trimmed();
  } catch (const std::exception&) {
    text = QStringLiteral("Error");
  }
  if (unknown) return text;
  const std::weak_ptr<const void> life = LifeToken();
  RaiseCustomizeLabel(value, text);
  if (life.expired()) return text.trimmed();
  text = text.trimmed();
  if (autoAdjust && autoAdjust->MinLengthAutoAdjust && text.size() > autoAdjust->MinLength) autoAdjust->MinLength = text.size();
  return text;
}

QString TiPlotAxis::LabelText(double value) {
  return FormatValue(s_.Labels.FormatStyle, s_.Labels.DateTimeFormat, s_.Labels, value, nullptr);
}

namespace {
// Texts shown on one line: CR LF pairs, then lone CRs, become one blank.
QString OneLine(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  return text;
}
}  // namespace

QString TiPlotAxis::CursorText(double value) {
  const TiPlotTextSettings& t = CursorSettings();
  return OneLine(FormatValue(t.FormatStyle, t.DateTimeFormat, t, value, nullptr));
}

QString TiPlotAxis::CursorValueText(double value) {
  return OneLine(FormatValue(iptfValue, QString(), CursorSettings(), value, nullptr));
}

QString TiPlotAxis::LegendText(double value) {
  const TiPlotTextSettings& t = LegendSettings();
  return OneLine(FormatValue(t.FormatStyle, t.DateTimeFormat, t, value, nullptr));
}

int TiPlotAxis::TickTextsWidth(TCanvas* canvas, const TFont& font) {
  if (tickWidthValid_ && tickWidthFont_ == font) return tickWidth_;
  int widest = 0;
  for (const TiPlotTickObject& tick : ticks_)
    if (!tick.Text.isEmpty()) widest = std::max(widest, TextMaxLineWidth(*canvas, tick.Text));
  tickWidthValid_ = true;
  tickWidthFont_ = font;
  tickWidth_ = widest;
  return widest;
}

int TiPlotAxis::LabelsMaxWidth(TCanvas* canvas, const TFont& font) {
  canvas->Font() = font;
  const int zeroWidth = canvas->TextWidth(QStringLiteral("0"));
  // The minimum length as it was before this measurement lets it grow.
  int widest = NearestPixels(zeroWidth * s_.Labels.MinLength);
  double representative = s_.Span + std::trunc(s_.Min / s_.Span) * s_.Span;
  if (!std::isfinite(representative)) representative = s_.Min;
  const std::weak_ptr<const void> life = LifeToken();
  const QString text = FormatValue(s_.Labels.FormatStyle, s_.Labels.DateTimeFormat, s_.Labels, representative, &s_.Labels);
  if (life.expired()) return widest;
  canvas->Font() = font;   // a customising handler may have drawn with another font
  widest = std::max(widest, TextMaxLineWidth(*canvas, text));
  return std::max(widest, TickTextsWidth(canvas, font));
}

int TiPlotAxis::CursorMinWidth(TCanvas* canvas, const TFont& font) {
  canvas->Font() = font;
  return NearestPixels(canvas->TextWidth(QStringLiteral("0")) * CursorSettings().MinLength);
}

int TiPlotAxis::LegendMinWidth(TCanvas* canvas, const TFont& font) {
  canvas->Font() = font;
  return NearestPixels(canvas->TextWidth(QStringLiteral("0")) * LegendSettings().MinLength);
}

// ---------------------------------------------------------------------------------------------
// Ticks

void TiPlotAxis::CalculateTicks(TCanvas* canvas) {
  monthSteps_ = false;
  yearSteps_ = false;
  UpdateScaleArea(canvas);
  ticks_.clear();
  tickWidthValid_ = false;
  const std::weak_ptr<const void> life = LifeToken();

  // Label pitch: labels side by side along the axis need their width, stacked ones their height.
  const TFont font = labelsFont_.Font();
  const bool turned = s_.LabelsRotation == ira090 || s_.LabelsRotation == ira270;
  int pitch;
  if (Horizontal() != turned) {
    const int widest = LabelsMaxWidth(canvas, font);
    if (life.expired()) return;
    canvas->Font() = font;
    pitch = NearestPixels(widest + canvas->TextWidth(QStringLiteral("0")) * (s_.LabelSeparation + 1));
  } else {
    canvas->Font() = font;
    pitch = NearestPixels(canvas->TextHeight(QStringLiteral("0")) * (s_.LabelSeparation + 1));
  }
  pitch = std::max(pitch, 1);
  const int length = Horizontal() ? scaleArea_.Right - scaleArea_.Left : scaleArea_.Bottom - scaleArea_.Top;

  TiPlotTickRequest request;
  request.Logarithmic = IsLogarithmic();
  request.Min = request.Logarithmic ? LogMin() : s_.Min;
  request.Span = s_.Span;
  request.MaxCount = std::max(1, length / pitch);
  request.AxisLength = length;
  request.DesiredIncrement = s_.DesiredIncrement;
  request.DesiredStart = s_.DesiredStart;
  request.MinorCount = s_.MinorCount;
  request.LabelsVisible = s_.LabelsVisible;
  request.InView = [this](double v) { return ValueInView(v); };

  const TiPlotTickGenerator* generator = &DecimalTicks();
  if (request.Logarithmic && std::log10(LogMax()) - std::log10(LogMin()) > 1) generator = &LogTicks();
  else if (s_.Labels.FormatStyle == iptfDateTime) generator = &DateTimeTicks();
  else if (s_.Labels.FormatStyle == iptfPrice32nds) generator = &PriceTicks();
  TiPlotTickSet set;
  generator->Generate(request, set);
  majorStep_ = set.MajorStep;
  minorStep_ = set.MinorStep;
  monthSteps_ = set.MonthSteps;
  yearSteps_ = set.YearSteps;

  // Label texts once per tick; measuring and drawing reuse them.
  for (TiPlotTickObject& tick : set.Ticks) {
    if (!tick.Minor) tick.Text = LabelText(tick.Value);
    if (life.expired()) return;
  }
  ticks_ = std::move(set.Ticks);
  for (TiPlotTickObject& tick : ticks_) {
    tick.OnScale = ValueInView(tick.Value);
    tick.Position = ValueToPosition(tick.Value);
  }
}

void TiPlotAxis::PlaceThroughDataView(const TiPlotLayoutFrame& frame, TiPlotLayoutRound round, TCanvas* canvas) {
  const TRect& view = frame.DataView;
  switch (round) {
    case iplrCartesianMaster:
      // Through the middle of the data view (integer halves truncate toward zero).
      if (CartesianStyle() != ipcsMaster) return;
      if (IsHorizontal()) {
        const int m = (view.Top + view.Bottom) / 2;
        SetLayoutRect(Rect(view.Left, m, view.Right, m));
      } else {
        const int m = (view.Left + view.Right) / 2;
        SetLayoutRect(Rect(m, view.Top, m, view.Bottom));
      }
      return;
    case iplrCartesianChild: {
      // Through a value of the reference axis; nowhere without one.
      if (CartesianStyle() != ipcsChild) return;
      TiPlotAxis* reference = CartesianChildRefAxis();
      if (!reference) {
        SetLayoutRect(TRect());
        return;
      }
      const int p = reference->ValueToPosition(CartesianChildRefValue());
      SetLayoutRect(IsHorizontal() ? Rect(view.Left, p, view.Right, p) : Rect(p, view.Top, p, view.Bottom));
      return;
    }
    case iplrAligned: {
      // The reference's extent and stacking.
      // A reference that is aligned itself is placed first, so that a chain ends at its root.
      TiPlotAxis* reference = AlignRefAxisInLayout();
      if (!reference) return;
      if (reference->AlignRefAxisInLayout()) reference->PlaceThroughDataView(frame, round, canvas);
      const TRect from = reference->GetLayoutRect();
      if (IsHorizontal())
        SetExtentAlong(from.Left, from.Right);
      else
        SetExtentAlong(from.Top, from.Bottom);
      SetStackedAtStart(reference->StackedAtStart());
      SetStackedAtEnd(reference->StackedAtEnd());
      UpdateScaleArea(canvas);
      return;
    }
  }
}
