#pragma once
// Axes: the common axis and its X and Y kinds. An axis owns a numeric scale (Min .. Min + Span,
// linear or base-10 logarithmic, optionally reversed), maps values to pixels and back, places
// its ticks once per paint and turns values into texts for its labels, the data cursor and the
// legend.
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "chart/axes/iAxisFormat.h"
#include "chart/axes/iAxisTicks.h"
#include "chart/axes/iAxisTracking.h"
#include "chart/core/iGPFunctions.h"
#include "chart/core/rUdudObjects.h"

// Where an axis runs: beside the data view, through its middle, or through it at a value of
// another axis.
enum TiPlotCartesianStyle : int { ipcsNone, ipcsMaster, ipcsChild };
enum TiPlotScaleType : int { ipstLinear, ipstLog10 };
enum TiPlotGridLineStyle : int { ipglsSolid, ipglsDash, ipglsDot };

// How the grid lines of one kind of tick (major or minor) are drawn across the data view.
struct TiPlotGridLineSettings {
  int Width = 0;
  TColor Color = clWhite;
  TiPlotGridLineStyle Style = ipglsSolid;
  bool Show = true;
};

// The settings of one kind of value text (labels, cursor or legend), with their defaults.
struct TiPlotTextSettings {
  TiPlotTextFormat FormatStyle = iptfValue;
  int Precision = 3;
  TiPrecisionStyle PrecisionStyle = ipsSignificantDigits;
  QString DateTimeFormat = QStringLiteral("hh:nn:ss");
  double MinLength = 5.0;
  bool MinLengthAutoAdjust = false;
};

// The scale and label settings of an axis, with their defaults (the property table takes its
// defaults from a default-built copy).
struct TiPlotAxisSettings {
  double Min = 0.0;
  double Span = 100.0;
  bool ReverseScale = false;
  TiPlotScaleType ScaleType = ipstLinear;
  double DesiredIncrement = 0.0;
  double DesiredStart = 0.0;
  int MinorCount = 1;
  double LabelSeparation = 2.0;
  bool CursorUseDefaultFormat = true;
  bool LegendUseDefaultFormat = true;
  double CursorScaler = 1.0;
  bool LabelsVisible = true;
  TiRotationAngle LabelsRotation = ira000;
  TiPlotTextSettings Labels;
  TiPlotTextSettings Cursor;
  TiPlotTextSettings Legend;
};

// The value-to-pixel mapping of one direction, worked out whenever the scale area or the range
// changes, so that a mapping is a few multiplications.
struct TiPlotScaleMap {
  bool Middle = true;      // every value maps to MiddlePixel
  int MiddlePixel = 0;
  bool Logarithmic = false;
  double MinEnd = 0.0;     // pixel of the Min end
  double Min = 0.0;        // linear: Min; logarithmic: log10 of the Min used
  double Factor = 0.0;     // linear: pixels per unit; logarithmic: pixels per decade
  bool FlatLog = false;    // logarithmic range of no width: every value maps to 0

  int Position(double value) const {
    if (Middle || value != value) return MiddlePixel;
    if (Logarithmic) return LogPosition(value);
    // Clamped in floating point first, so that no far value reaches an integer conversion.
    double d = (value - Min) * Factor;
    if (d != d) d = 0;   // infinity times a zero factor
    d = std::clamp(d, -1e9, 1e9);
    return static_cast<int>(std::clamp(MinEnd - std::nearbyint(d), -32000.0, 32000.0));
  }
  int LogPosition(double value) const;
};

class TiPlotAxis;

// What an axis raises through its chart; the chart component implements it.
class TiPlotAxisEvents {
 public:
  virtual ~TiPlotAxisEvents() = default;
  virtual void AxisMinChange(TiPlotAxis* axis, double oldValue, double newValue) = 0;
  virtual void AxisSpanChange(TiPlotAxis* axis, double oldValue, double newValue) = 0;
  virtual void AxisMinSpanChange(TiPlotAxis* axis, double oldMin, double oldSpan, double newMin, double newSpan) = 0;
  virtual void AxisCustomizeLabel(TiPlotAxis* axis, double value, QString& text) = 0;
  // True while the range changes of tracking are held back and reported once when the chart's
  // update suspension ends (TiPlotAxis::ReleaseHeldRange).
  virtual bool AxisRangeChangesHeld() const { return false; }
};

class TiPlotAxis : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  // `alignFirst`: the kind's default TrackingAlignFirstStyle.
  TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers, TiPlotAlignFirstStyle alignFirst = ipafsAuto);

  const QString& Title() const { return title_; }
  void SetTitle(const QString& value);

  // Forgets that tracked data has arrived, so that the next value starts the range afresh; the
  // chart calls it on every axis when all channel data are cleared.
  virtual void ResetTracking();
  bool TrackingEnabled() const { return trackingEnabled_; }
  virtual void SetTrackingEnabled(bool value);

  // --- Placement. ---
  TiPlotCartesianStyle CartesianStyle() const { return cartesianStyle_; }
  void SetCartesianStyle(TiPlotCartesianStyle value);
  bool IsCartesian() const { return cartesianStyle_ != ipcsNone; }
  // The axis of the other kind through whose value a Cartesian child runs ("<None>": none).
  const QString& CartesianChildRefAxisName() const { return cartesianChildRefAxisName_; }
  void SetCartesianChildRefAxisName(const QString& value);
  double CartesianChildRefValue() const { return cartesianChildRefValue_; }
  void SetCartesianChildRefValue(double value);
  // An axis of the same kind whose extent this axis copies ("<None>": none).
  const QString& AlignRefAxisName() const { return alignRefAxisName_; }
  void SetAlignRefAxisName(const QString& value);
  bool ForceStacking() const { return forceStacking_; }
  void SetForceStacking(bool value);

  // The two references, looked up by name in the chart and kept once found, until the name is
  // set again or the axis leaves the chart; nullptr while the name matches no axis (looked up
  // again on every call, so an axis added later is found).
  TiPlotAxis* CartesianChildRefAxis();
  TiPlotAxis* AlignRefAxis();

  void NotifyRemoving(TiPlotPersistent* item) override;   // 8
  void NotifyRenamed(TiPlotObject* object) override;      // 9

  // How an axis takes part in the layout: a Cartesian axis runs through the data view instead of
  // taking room beside it; ForceStacking stacks it at both ends; on top it lies next to the data
  // view, inside the room a toolbar leaves for end labels.
  bool TakesSideRoom() const override { return !IsCartesian(); }
  bool ForcesStackingInLayout() const override { return ForceStacking(); }
  bool InsideTopEdgeRoom() const override { return true; }
  void PlaceThroughDataView(const TiPlotLayoutFrame& frame, TiPlotLayoutRound round, TCanvas* canvas) override;

  // --- Scale. ---
  double Min() const { return s_.Min; }
  // Clamped to -1e300 .. 1e300; NaN and infinities are ignored.
  void SetMin(double value);
  double Span() const { return s_.Span; }
  // Clamped to 1e-300 .. 1e300 (a smaller or negative span becomes 1e-300); NaN and
  // infinities are ignored.
  void SetSpan(double value);
  // The older stored name "Span_2" sets the span without the clamp and without events.
  void SetStoredSpan(double value);
  double Max() const { return s_.Min + s_.Span; }
  double Mid() const { return s_.Min + s_.Span / 2; }
  // Sets both with one min-span event (after the min and span events of what changed). On a
  // logarithmic axis a Min or Span that is not positive becomes 1.
  void SetMinSpan(double min, double span);
  bool ReverseScale() const { return s_.ReverseScale; }
  void SetReverseScale(bool value);
  TiPlotScaleType ScaleType() const { return s_.ScaleType; }
  // Turning logarithmic moves a Min that is not positive to 1 (without events).
  void SetScaleType(TiPlotScaleType value);
  bool IsLogarithmic() const { return s_.ScaleType == ipstLog10; }
  double DesiredIncrement() const { return s_.DesiredIncrement; }
  void SetDesiredIncrement(double value);   // clamped to 0 .. 1e300
  double DesiredStart() const { return s_.DesiredStart; }
  void SetDesiredStart(double value);
  // Stored as given; tick placement counts a negative count as 0.
  int MinorCount() const { return s_.MinorCount; }
  void SetMinorCount(int value);
  double CursorScaler() const { return s_.CursorScaler; }
  void SetCursorScaler(double value);

  // --- Label and value text settings. ---
  double LabelSeparation() const { return s_.LabelSeparation; }
  void SetLabelSeparation(double value);
  double LabelsMinLength() const { return s_.Labels.MinLength; }
  void SetLabelsMinLength(double value);
  bool LabelsMinLengthAutoAdjust() const { return s_.Labels.MinLengthAutoAdjust; }
  void SetLabelsMinLengthAutoAdjust(bool value);
  TiPlotTextFormat LabelsFormatStyle() const { return s_.Labels.FormatStyle; }
  void SetLabelsFormatStyle(TiPlotTextFormat value);
  int LabelsPrecision() const { return s_.Labels.Precision; }
  void SetLabelsPrecision(int value);
  TiPrecisionStyle LabelsPrecisionStyle() const { return s_.Labels.PrecisionStyle; }
  void SetLabelsPrecisionStyle(TiPrecisionStyle value);
  const QString& DateTimeFormat() const { return s_.Labels.DateTimeFormat; }
  void SetDateTimeFormat(const QString& value);

  bool CursorUseDefaultFormat() const { return s_.CursorUseDefaultFormat; }
  void SetCursorUseDefaultFormat(bool value);
  TiPlotTextFormat CursorFormatStyle() const { return s_.Cursor.FormatStyle; }
  void SetCursorFormatStyle(TiPlotTextFormat value);
  int CursorPrecision() const { return s_.Cursor.Precision; }
  void SetCursorPrecision(int value);
  TiPrecisionStyle CursorPrecisionStyle() const { return s_.Cursor.PrecisionStyle; }
  void SetCursorPrecisionStyle(TiPrecisionStyle value);
  const QString& CursorDateTimeFormat() const { return s_.Cursor.DateTimeFormat; }
  void SetCursorDateTimeFormat(const QString& value);
  double CursorMinLength() const { return s_.Cursor.MinLength; }
  void SetCursorMinLength(double value);
  bool CursorMinLengthAutoAdjust() const { return s_.Cursor.MinLengthAutoAdjust; }
  void SetCursorMinLengthAutoAdjust(bool value);

  bool LegendUseDefaultFormat() const { return s_.LegendUseDefaultFormat; }
  void SetLegendUseDefaultFormat(bool value);
  TiPlotTextFormat LegendFormatStyle() const { return s_.Legend.FormatStyle; }
  void SetLegendFormatStyle(TiPlotTextFormat value);
  int LegendPrecision() const { return s_.Legend.Precision; }
  void SetLegendPrecision(int value);
  TiPrecisionStyle LegendPrecisionStyle() const { return s_.Legend.PrecisionStyle; }
  void SetLegendPrecisionStyle(TiPrecisionStyle value);
  const QString& LegendDateTimeFormat() const { return s_.Legend.DateTimeFormat; }
  void SetLegendDateTimeFormat(const QString& value);
  double LegendMinLength() const { return s_.Legend.MinLength; }
  void SetLegendMinLength(double value);
  bool LegendMinLengthAutoAdjust() const { return s_.Legend.MinLengthAutoAdjust; }
  void SetLegendMinLengthAutoAdjust(bool value);

  bool LabelsVisible() const { return s_.LabelsVisible; }
  void SetLabelsVisible(bool value);
  TiRotationAngle LabelsRotation() const { return s_.LabelsRotation; }
  void SetLabelsRotation(TiRotationAngle value);
  TiFont* LabelsFont() { return &labelsFont_; }
  const TiFont* LabelsFont() const { return &labelsFont_; }

  // --- Mappings. ---
  // The pixel of a value along the axis (x for a horizontal axis, y for a vertical one). Every
  // value maps to the middle of the scale area while it has no length or the span is not above
  // 1e-300, and NaN maps there too. Linear scales give at most 32000 in magnitude; logarithmic
  // ones are not clamped (beyond the 32-bit range they saturate).
  int ValueToPosition(double value) const {
    if (mapsStale_) BuildMappings();
    return (Horizontal() ? mapH_ : mapV_).Position(value);
  }
  // The value under a pixel (no rounding).
  double PositionToValue(int position) const;
  int PositionOfMin() const { return ValueToPosition(s_.Min); }
  int PositionOfMax() const { return ValueToPosition(Max()); }
  // Absolute pixel distance of Min + delta from Min.
  int ValueLengthToPixels(double delta) const;
  // The value's pixel lies within the scale area along the axis, both ends included; never for
  // NaN.
  bool ValueInView(double value) const;
  // The fraction (0..1) of the data view's extent along the axis at which a value lies, and
  // back: the percent position along the axis's share of the view first, then the reversal,
  // then the linear or logarithmic scale. Exact inverses of each other.
  double ValueToFraction(double value) const;
  double FractionToValue(double fraction) const;

  // --- Value texts. ---
  QString LabelText(double value);
  // For the data cursor and channel hints; line breaks become blanks.
  QString CursorText(double value);
  // Numbers only, for the data cursor's difference read-outs.
  QString CursorValueText(double value);
  // For legend value columns.
  QString LegendText(double value);
  // The widest label in pixels with the font: at least LabelsMinLength widths of "0", the
  // representative label and every tick's text (measured once per tick list and font).
  int LabelsMaxWidth(TCanvas* canvas, const TFont& font);
  int CursorMinWidth(TCanvas* canvas, const TFont& font);
  int LegendMinWidth(TCanvas* canvas, const TFont& font);

  // --- Ticks. ---
  // Rebuilds the tick list; the painting cycle runs it on every axis before and after the
  // layout pass. Drawing and measuring only read the list.
  virtual void CalculateTicks(TCanvas* canvas);
  const std::vector<TiPlotTickObject>& Ticks() const { return ticks_; }
  double MajorStep() const { return majorStep_; }
  double MinorStep() const { return minorStep_; }
  bool MonthSteps() const { return monthSteps_; }
  bool YearSteps() const { return yearSteps_; }

  // Works out from the rectangle given by the layout pass the side, the scale area (inset at
  // stacked ends) and the focus frame, and maps the scale onto the scale area.
  virtual void UpdateScaleArea(TCanvas* canvas);
  TRect ScaleArea() const { return scaleArea_; }

  // --- User input: scrolling and zooming by mouse, wheel and keys, and the popup menu. ---
  // What a drag, a wheel turn or a key does: the toolbar sets it on every axis.
  enum TiPlotControlMode : int { ipcmScroll, ipcmZoom };
  TiPlotControlMode ControlMode() const { return controlMode_; }
  void SetControlMode(TiPlotControlMode value) { controlMode_ = value; }
  // Keeps scrolling within ScrollMin .. ScrollMax.
  bool ScrollMinMaxEnabled() const { return scrollMinMaxEnabled_; }
  void SetScrollMinMaxEnabled(bool value);
  double ScrollMin() const { return scrollMin_; }
  void SetScrollMin(double value);   // NaN and infinities are ignored
  double ScrollMax() const { return scrollMax_; }
  void SetScrollMax(double value);   // NaN and infinities are ignored
  // Repeats this axis's presses, drags, releases, wheel turns and keys on the other axes of its
  // kind.
  bool MasterUIInput() const { return masterUIInput_; }
  void SetMasterUIInput(bool value);
  // Linear: the span times the factor about the middle (a factor that is not above zero fails);
  // logarithmic: the factor is a power of ten. Non-finite factors are otherwise ignored.
  void Zoom(double factor);
  // The span divided by 10 to the power, about the middle (logarithmic: in decades).
  void ZoomByPower(double power);
  // Moves the range by a fraction of its span (logarithmic: of its decades), kept within the
  // scroll limits when they are on.
  void ScrollByFraction(double fraction);
  // Shows the values under a pixel rectangle along the axis. Ignored while the axis has no
  // length or the rectangle has none along it.
  void ZoomToPixelRect(const TRect& rect);
  // A press on the axis is being dragged.
  bool Dragging() const { return dragging_; }

  void DoMouseDownLeft(const TiPlotMouseParams& params) override;                // 19
  void DoMouseDrag(const TiPlotMouseParams& params) override;                    // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;                      // 22
  bool DoMouseWheel(int wheelDelta, TShiftState shift, TPoint point) override;   // 24
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;              // 29
  void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) override;        // 30
  void AddMenuItems(TPopupMenu* menu) override;                                  // 32

  // --- Drawing and placement. ---
  // Where labels and title lie relative to the scale line.
  enum TSide : int { sideLeft, sideTop, sideRight, sideBottom };

  bool TitleShow() const { return titleShow_; }
  void SetTitleShow(bool value);
  // Horizontal axis: the title turned by 90 degrees; vertical axis: the title upright.
  bool TitleRotated() const { return titleRotated_; }
  void SetTitleRotated(bool value);
  // Gap between labels and title, in title text heights.
  double TitleMargin() const { return titleMargin_; }
  void SetTitleMargin(double value);
  TiFont* TitleFont() { return &titleFont_; }
  const TiFont* TitleFont() const { return &titleFont_; }
  // Gap between tick marks and labels, in heights of "A".
  double LabelsMargin() const { return labelsMargin_; }
  void SetLabelsMargin(double value);
  int MajorLength() const { return majorLength_; }
  void SetMajorLength(int value);
  int MinorLength() const { return minorLength_; }
  void SetMinorLength(int value);
  int InnerMargin() const { return innerMargin_; }
  void SetInnerMargin(int value);
  int OuterMargin() const { return outerMargin_; }
  void SetOuterMargin(int value);
  bool ScaleLinesShow() const { return scaleLinesShow_; }
  void SetScaleLinesShow(bool value);
  bool ScaleLineShow() const { return scaleLineShow_; }
  void SetScaleLineShow(bool value);
  TColor ScaleLinesColor() const { return scaleLinesColor_; }
  void SetScaleLinesColor(TColor value);
  // Extra gap at a stacked end, in widths (horizontal) or heights (vertical) of "0".
  double StackingEndsMargin() const { return stackingEndsMargin_; }
  void SetStackingEndsMargin(double value);
  bool GridLinesVisible() const { return gridLinesVisible_; }
  void SetGridLinesVisible(bool value);

  TSide Side() const { return side_; }
  TRect FocusRect() const { return focusRect_; }
  // Tick length, inner margin, label gap and label extent, as the last RequiredSize found them.
  int LabelsOffset() const { return labelsOffset_; }
  // No length along its direction (a Cartesian child without its reference): neither drawn nor
  // hit.
  bool ZeroLength() const;
  // The align reference as the layout uses it: none when following the align references from it
  // leads back to this axis.
  TiPlotAxis* AlignRefAxisInLayout();

  int RequiredSize(TCanvas* canvas) override;        // 36
  int RequiredEndMargin(TCanvas* canvas) override;   // 37
  void NotifyFocus(TiPlotObject* object) override;   // 10
  void PrepareDraw(TCanvas* canvas) override;        // 11
  void Draw(TCanvas* canvas, TColor backgroundColor) override;   // 12
  bool HitTest(const TiPlotMouseParams& params) override;        // 16
  // Only a release in the focus frame is the axis's click; a drag may end anywhere.
  bool ReleaseIsClick(int x, int y) override { return HitAt(x, y); }
  void DoMouseHover(const TiPlotMouseParams& params) override;   // 18
  // Lines across rect at the ticks on the scale (of the last paint), each kind with its own
  // settings; nothing while GridLinesVisible is off.
  void DrawGridLines(TCanvas* canvas, const TRect& rect, const TiPlotGridLineSettings& minor, const TiPlotGridLineSettings& major);

  // --- Tracking: following the values the channels add. ---
  TiPlotTrackingStyle TrackingStyle() const { return trackingStyle_; }
  void SetTrackingStyle(TiPlotTrackingStyle value);
  TiPlotTrackingIncrementStyle TrackingIncrementStyle() const { return trackingIncrementStyle_; }
  void SetTrackingIncrementStyle(TiPlotTrackingIncrementStyle value);
  TiPlotAlignFirstStyle TrackingAlignFirstStyle() const { return trackingAlignFirstStyle_; }
  void SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle value);
  // The doubles below ignore NaN and infinities; 0 switches each off.
  double TrackingScrollCompressMax() const { return trackingScrollCompressMax_; }
  void SetTrackingScrollCompressMax(double value);
  double TrackingSpanMinimum() const { return trackingSpanMinimum_; }
  void SetTrackingSpanMinimum(double value);
  double TrackingMinMargin() const { return trackingMinMargin_; }
  void SetTrackingMinMargin(double value);
  double TrackingMaxMargin() const { return trackingMaxMargin_; }
  void SetTrackingMaxMargin(double value);
  bool RestoreValuesOnResume() const { return restoreValuesOnResume_; }
  void SetRestoreValuesOnResume(bool value);
  // A channel reports a value it added on this axis. NaN and infinities are ignored.
  void NewTrackingData(double value) { NewTrackingData(value, RangeChangesHeld()); }
  // The same for a caller that asked RangeChangesHeld() once for several values. Inline for the
  // common steps of a point added to a chart: a value inside the range under the plain style
  // (nothing to do) and a held widening under it; every other case takes the full step.
  [[gnu::always_inline]] void NewTrackingData(double value, bool held) {
    TiPlotHeldStep step;
    if (held && PlainHeldStep(value, step)) return TakeHeldStep(step);
    if (!held && plainTracking_ && value >= s_.Min && value <= Max()) return;
    NewTrackingStep(value, held);
  }
  // A held tracking step worked out before it is taken: the new range, and whether it moves.
  struct TiPlotHeldStep {
    double Min = 0.0;
    double Span = 0.0;
    bool Move = false;
  };
  // The held step a value takes under the plain style when the new range needs no bounding,
  // found without changing anything (so that a caller can check several things first); false
  // for any other case (another style, NaN, infinities, a range beyond the bounds), which the
  // full step handles.
  [[gnu::always_inline]] bool PlainHeldStep(double value, TiPlotHeldStep& step) const {
    if (!plainTracking_) return false;
    const double min = s_.Min, span = s_.Span, max = min + span;
    if (value >= min && value <= max) {
      step.Move = false;
      return true;
    }
    if (value > max) {
      step.Min = min;
      step.Span = value - min;
    } else if (value < min) {
      step.Min = value;
      step.Span = span;
    } else {
      return false;
    }
    if (!(step.Span >= 1e-300 && step.Span <= 1e300 && std::fabs(step.Min) <= 1e300 &&
          (!IsLogarithmic() || step.Min > 0)))
      return false;
    step.Move = step.Min != min || step.Span != span;
    return true;
  }
  [[gnu::always_inline]] void TakeHeldStep(const TiPlotHeldStep& step) {
    if (step.Move) HoldRange(step.Min, step.Span);
  }
  // The first value since creation or the last ResetTracking has arrived.
  bool TrackingFirstValueSeen() const { return trackingFirstSeen_; }
  // Stores Min, Span and DesiredIncrement as the values that resuming tracking restores.
  void UpdateResumeValues();
  double ResumeMin() const { return resumeMin_; }
  double ResumeSpan() const { return resumeSpan_; }
  double ResumeDesiredIncrement() const { return resumeDesiredIncrement_; }
  // Snaps Min and Max outward to multiples of the major or minor step of the last tick list;
  // nothing while that step is unknown, not finite or a calendar step.
  void AlignToIncrement();
  // Fits the range to the valid points of the visible channels on this axis (their kept
  // extents, no rescan), or to the running extremes of every channel on it.
  void FitToData();
  void FitToDataFast();
  // Tracking steps taken while the chart holds range changes (update suspension) store the
  // range and its mappings at once but call nobody: the change and the range events follow
  // once, from the range before the first held step to the current one, when the suspension
  // ends or before any other range change of this axis.
  bool RangeChangesHeld() const {
    const TiPlotAxisEvents* events = eventsOwner_ == Owner() ? events_ : Events();
    return events && events->AxisRangeChangesHeld();
  }
  bool RangeChangeHeld() const { return held_; }
  void ReleaseHeldRange();

 protected:
  // Sets the scale area and works out the mappings for it.
  void SetScaleArea(const TRect& rect);
  // The axis of the other kind (Cartesian reference) or of the same kind (alignment) by name.
  virtual TiPlotAxis* FindReferenceAxis(const QString& name, bool sameKind) const;

 private:
  // The one formatter behind every value text. `autoAdjust` names the settings whose MinLength
  // grows to the text's length (only while the representative label is measured).
  QString FormatValue(TiPlotTextFormat style, const QString& pattern, const TiPlotTextSettings& settings, double value,
                      TiPlotTextSettings* autoAdjust);
  QString FormatNumber(TiPlotTextFormat style, const QString& pattern, const TiPlotTextSettings& settings, double value,
                       bool& unknown) const;
  const TiPlotTextSettings& CursorSettings() const { return s_.CursorUseDefaultFormat ? s_.Labels : s_.Cursor; }
  const TiPlotTextSettings& LegendSettings() const { return s_.LegendUseDefaultFormat ? s_.Labels : s_.Legend; }
  // Min as the logarithmic mapping uses it: 1 in place of a Min that is not positive.
  double LogMin() const { return s_.Min > 0 ? s_.Min : 1.0; }
  double LogMax() const { return LogMin() + s_.Span; }
  // The percent position along the axis's share of the data view (0..1) of a value, and back.
  double ScaleFraction(double value) const;
  double ScaleValue(double fraction) const;
  void UpdateMappings() { BuildMappings(); }
  void BuildMappings() const;
  void RaiseCustomizeLabel(double value, QString& text);
  TiPlotAxisEvents* Events() const;
  // Stores Min or Span (already clamped) and, unless part of SetMinSpan, raises its event
  // and then the min-span event.
  void ChangeScaleValue(double& field, double value, bool single, void (TiPlotAxisEvents::*event)(TiPlotAxis*, double, double));
  void ChangeMin(double value, bool single);
  void ChangeSpan(double value, bool single);
  int TickTextsWidth(TCanvas* canvas, const TFont& font);

  QString title_;
  bool trackingEnabled_ = true;
  TiPlotCartesianStyle cartesianStyle_ = ipcsNone;
  QString cartesianChildRefAxisName_ = QStringLiteral("<None>");
  double cartesianChildRefValue_ = 0.0;
  QString alignRefAxisName_ = QStringLiteral("<None>");
  bool forceStacking_ = false;
  TiPlotAxis* cartesianRef_ = nullptr;
  TiPlotAxis* alignRef_ = nullptr;
  TRect scaleArea_;

  TiPlotAxisSettings s_;
  TiFont labelsFont_;
  // Worked out again when the scale or its area changes; held tracking steps leave that to the
  // first question (mapsStale_), as a suspended chart may take many steps between two.
  mutable TiPlotScaleMap mapH_;
  mutable TiPlotScaleMap mapV_;
  mutable bool mapsStale_ = false;

  std::vector<TiPlotTickObject> ticks_;
  double majorStep_ = 0.0;
  double minorStep_ = 0.0;
  bool monthSteps_ = false;
  bool yearSteps_ = false;
  // The widest tick text, measured for one font per tick list.
  bool tickWidthValid_ = false;
  TFont tickWidthFont_;
  int tickWidth_ = 0;

  // --- User input. ---
 protected:
  // The popup menu's tracking items act through these: whether Min or Span differ from the
  // values kept for resuming, keeping the current ones, and fitting the range to the data.
  virtual bool MenuResumeValuesDiffer() const { return s_.Min != resumeMin_ || s_.Span != resumeSpan_; }
  virtual void MenuUpdateResumeValues() { UpdateResumeValues(); }
  virtual void MenuZoomToFit() { FitToData(); }

 private:
  // Raises the chart's finished event when the range differs from where the action began.
  void FinishUserAction();
  // The mode of a drag or wheel turn: ControlMode, swapped while Ctrl is held.
  TiPlotControlMode ModeWith(TShiftState shift) const;
  // Pixels along the scale area.
  int ScaleLength() const;

  TiPlotControlMode controlMode_ = ipcmScroll;
  bool scrollMinMaxEnabled_ = false;
  double scrollMin_ = 0.0;
  double scrollMax_ = 100.0;
  bool masterUIInput_ = false;
  bool dragging_ = false;
  TPoint lastMouse_;
  double actionMin_ = 0.0;
  double actionSpan_ = 100.0;
  // The chart's key press last acted on: a key reaches the axis twice within one press.
  unsigned lastKeyPress_ = 0;
  unsigned lastWheelTurn_ = 0;

  // --- Drawing and placement. ---
  // Label extent across the axis (E) and along it, with LabelsFont.
  int LabelsExtentAcross(TCanvas* canvas);
  int LabelsExtentAlong(TCanvas* canvas);
  // The end inset of a stacked end.
  int StackingInset(TCanvas* canvas);
  // The distance of the labels from the edge that faces the data view.
  int LabelsDistance(TCanvas* canvas);
  // The chart's occupied-rectangle list; without a chart nothing is reserved and every
  // rectangle is accepted.
  void ReserveInChart(const TRect& rect);
  bool TryReserveInChart(const TRect& rect);
  void DrawScaleLine(TCanvas* canvas);
  void DrawTickMark(TCanvas* canvas, int p, int a, int b);
  void DrawLabel(TCanvas* canvas, const TiPlotTickObject& tick, int distance);
  void DrawTitle(TCanvas* canvas);
  TRect ScaleLineRect() const;

  bool titleShow_ = false;
  bool titleRotated_ = false;
  double titleMargin_ = 0.25;
  TiFont titleFont_{TFont{QStringLiteral("Arial"), 13, clWhite, FontStyleBit(fsBold)}};
  double labelsMargin_ = 0.25;
  int majorLength_ = 7;
  int minorLength_ = 3;
  int innerMargin_ = 5;
  int outerMargin_ = 5;
  bool scaleLinesShow_ = true;
  bool scaleLineShow_ = true;
  TColor scaleLinesColor_ = clWhite;
  double stackingEndsMargin_ = 0.5;
  bool gridLinesVisible_ = true;
  TSide side_ = sideBottom;
  TRect focusRect_;
  int labelsOffset_ = 0;
  int lastRequiredSize_ = 0;

  // --- Tracking state. ---
  // How a range change is applied: at once (SetMinSpan), as a tracking step that watches the
  // axis's life across the events, or held (the chart holds range changes).
  enum class RangeStep { Set, Track, Hold };
  // The tracking steps below return false when the axis went away meanwhile (a handler of a
  // range event removed it).
  // Inline ones are defined and used in rUdudAxisTracking.cpp only: a point added to a chart
  // in update suspension takes this path on each of its axes.
  // Applies the tracking style to a value after the first one.
  inline bool TrackStyle(double value, RangeStep step);
  // The span minimum and the two margins, after the style.
  inline bool TrackLimits(double value, RangeStep step);
  inline bool ApplyRange(double min, double span, RangeStep step);
  // NewTrackingData's full step.
  void NewTrackingStep(double value, bool held);
  // Works out plainTracking_ again; called wherever a setting it depends on changes.
  void UpdatePlainTracking() {
    plainTracking_ = trackingFirstSeen_ && trackingEnabled_ && trackingStyle_ == iptsScaleMinMax &&
                     trackingIncrementStyle_ == iptisMinimum && trackingSpanMinimum_ == 0 &&
                     trackingMinMargin_ == 0 && trackingMaxMargin_ == 0;
  }
  // A tracking setting's change protocol: compare, store, plainTracking_, notify.
  template <class T>
  void SetTrackingSetting(T& field, const T& value) {
    if (field == value) return;
    field = value;
    UpdatePlainTracking();
    DoChange();
  }
  // A held step to (min, span) in SetMinSpan's bounds; nothing when that is the current range.
  void HoldBoundedRange(double min, double span) {
    if (BoundRange(min, span)) HoldRange(min, span);
  }
  // SetMinSpan's bounds; false for a range that is not finite.
  static bool Bound(double& min, double& span, bool logarithmic) {
    if (!std::isfinite(min) || !std::isfinite(span)) return false;
    if (logarithmic) {
      if (!(min > 0)) min = 1;
      if (!(span > 0)) span = 1;
    }
    min = std::clamp(min, -1e300, 1e300);
    span = std::clamp(span, 1e-300, 1e300);
    return true;
  }
  // The first value's move of Min alone (SetMin's rules).
  bool TrackMin(double min, RangeStep step);
  // Stores a range for a held step, keeping the range before the first one.
  void HoldRange(double min, double span) {
    if (!held_) {
      held_ = true;
      heldMin_ = s_.Min;
      heldSpan_ = s_.Span;
    }
    s_.Min = min;
    s_.Span = span;
    mapsStale_ = true;
  }
  // The range in SetMinSpan's bounds; false when it equals the current one.
  bool BoundRange(double& min, double& span) const {
    return Bound(min, span, IsLogarithmic()) && (min != s_.Min || span != s_.Span);
  }
  // Reports a range change from (oldMin, oldSpan) to the current one: DoChange, then the events.
  void RaiseRangeChange(double oldMin, double oldSpan);
  // Releases a held range before another change; false when the axis went away meanwhile.
  bool ReleaseHeldRangeFirst();
  // The chart is reading a stored definition (false outside a chart component).
  bool ChartIsLoading() const;
  // FitToData (fast: FitToDataFast) over the chart's channels on this axis.
  bool FitTo(bool fast, RangeStep step);
  // AlignToIncrement.
  bool SnapToIncrement(RangeStep step);
  bool held_ = false;
  double heldMin_ = 0.0;
  double heldSpan_ = 0.0;
  // The owner's event sink, looked up once per owner rather than on every range change.
  mutable const TiPlotOwner* eventsOwner_ = nullptr;
  mutable TiPlotAxisEvents* events_ = nullptr;
  TiPlotTrackingStyle trackingStyle_ = iptsScaleMinMax;
  TiPlotTrackingIncrementStyle trackingIncrementStyle_ = iptisMinimum;
  TiPlotAlignFirstStyle trackingAlignFirstStyle_ = ipafsAuto;
  double trackingScrollCompressMax_ = 0.0;
  double trackingSpanMinimum_ = 0.0;
  double trackingMinMargin_ = 0.0;
  double trackingMaxMargin_ = 0.0;
  bool restoreValuesOnResume_ = true;
  bool trackingFirstSeen_ = false;
  // Tracking under which a value changes the range only by widening it to the value: after the
  // first value, enabled, iptsScaleMinMax without snapping, span minimum or margins.
  bool plainTracking_ = false;
  double resumeMin_ = 0.0;
  double resumeSpan_ = 100.0;
  double resumeDesiredIncrement_ = 0.0;
};

class TiPlotXAxis : public TiPlotAxis {
  TI_PERSISTENT
 public:
  using TiPlotAxis::TiPlotAxis;
  // Horizontal unless the chart exchanges X and Y.
  bool HorizontalFor(bool xyAxesReverse, bool& horizontal) const override {
    horizontal = !xyAxesReverse;
    return true;
  }
};

class TiPlotYAxis : public TiPlotAxis {
  TI_PERSISTENT
 public:
  // The first value does not move a Y axis.
  TiPlotYAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotAxis(owner, handlers, ipafsNone) {}
  // Vertical unless the chart exchanges X and Y.
  bool HorizontalFor(bool xyAxesReverse, bool& horizontal) const override {
    horizontal = xyAxesReverse;
    return true;
  }
};

// Looks up axes by name for the axes of a chart; the chart component provides it.
class TiPlotAxisLookup {
 public:
  virtual ~TiPlotAxisLookup() = default;
  virtual TiPlotXAxis* FindXAxis(const QString& name) const = 0;
  virtual TiPlotYAxis* FindYAxis(const QString& name) const = 0;
};
