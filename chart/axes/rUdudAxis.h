#pragma once
// Axes: the common axis and its X and Y kinds.
#include "chart/core/rUdudObjects.h"

// Where an axis runs: beside the data view, through its middle, or through it at a value of
// another axis.
enum TiPlotCartesianStyle : int { ipcsNone, ipcsMaster, ipcsChild };

class TiPlotAxis : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers);

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

  // The two references, looked up by name in the chart on first use and kept until the name is
  // set again or the axis leaves the chart; nullptr when the name matches no axis.
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
  // Rebuilds the tick list; the painting cycle runs it on every axis before and after the
  // layout pass. Nothing at this level.
  virtual void CalculateTicks(TCanvas* canvas);
  // Works out where along the rectangle given by the layout pass the scale runs. At this level
  // the scale runs along the whole rectangle.
  virtual void UpdateScaleArea(TCanvas* canvas);
  TRect ScaleArea() const { return scaleArea_; }
  // The pixel of a value along the axis (x for a horizontal axis, y for a vertical one). An axis
  // without a scale maps every value to the middle of its scale area.
  virtual int ValueToPosition(double value) const;

 protected:
  void SetScaleArea(const TRect& rect) { scaleArea_ = rect; }
  // The axis of the other kind (Cartesian reference) or of the same kind (alignment) by name.
  virtual TiPlotAxis* FindReferenceAxis(const QString& name, bool sameKind) const;

 private:
  QString title_;
  bool trackingEnabled_ = true;
  TiPlotCartesianStyle cartesianStyle_ = ipcsNone;
  QString cartesianChildRefAxisName_ = QStringLiteral("<None>");
  double cartesianChildRefValue_ = 0.0;
  QString alignRefAxisName_ = QStringLiteral("<None>");
  bool forceStacking_ = false;
  TiPlotAxis* cartesianRef_ = nullptr;
  bool cartesianRefResolved_ = false;
  TiPlotAxis* alignRef_ = nullptr;
  bool alignRefResolved_ = false;
  TRect scaleArea_;
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
  using TiPlotAxis::TiPlotAxis;
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
