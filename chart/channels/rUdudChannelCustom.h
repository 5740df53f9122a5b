#pragma once
// The channel base: a named trace of a chart that owns its point list, is plotted against one X
// and one Y axis by name, keeps running statistics of the values added, drives the axes'
// tracking as points arrive and saves and loads its points and properties.
#include <QString>
#include <algorithm>
#include <QVariant>
#include <cmath>
#include <cstdint>
#include <memory>
#include <typeinfo>

#include "chart/channels/rUdudDataCustomList.h"
#include "chart/core/rUdudObjects.h"

class TiPlotAxis;
class TiPlotDataCursor;
class TCanvas;

// What a data cursor measures.
enum TiPlotDataCursorStyle : int { ipcsValueXY, ipcsValueX, ipcsValueY, ipcsDeltaX, ipcsDeltaY, ipcsInverseDeltaX };

// Which coordinates dragging a point changes.
enum TiPlotChannelDataPointMoveStyle : int { ipcdpmsXandY, ipcdpmsXOnly, ipcdpmsYOnly };

// A running sum with Neumaier's compensation, so that the mean of many points keeps the digits a
// plain double sum loses. Values near the top of the double range would overflow the sum: the
// sum then goes on scaled down by 2^-64 steps (exact, a power of two), so that the mean of finite
// values stays finite.
struct TiCompensatedSum {
  double Sum = 0.0;
  double Compensation = 0.0;
  double InvScale = 1.0;  // the sums hold value * InvScale
  [[gnu::always_inline]] void Add(double value) {
    value *= InvScale;
    double t = Sum + value;
    if (!std::isfinite(t) && std::isfinite(Sum) && std::isfinite(value)) [[unlikely]] {
      Rescale();
      value *= 0x1p-64;
      t = Sum + value;
    }
    Compensation += (std::fabs(Sum) >= std::fabs(value)) ? (Sum - t) + value : (value - t) + Sum;
    Sum = t;
  }
  double Value() const { return (Sum + Compensation) / InvScale; }
  // The sum over count, scaled back only after the division.
  double Mean(double count) const { return (Sum + Compensation) / count / InvScale; }

 private:
  void Rescale() {
    Sum *= 0x1p-64;
    Compensation *= 0x1p-64;
    InvScale *= 0x1p-64;
  }
};

class TiPlotChannelCustom : public TiPlotManagerObject {
  TI_PERSISTENT
 public:
  TiPlotChannelCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotChannelCustom() override;

  // --- Properties. ---
  // A value kept for the program that holds the chart; the channel never uses or stores it.
  const QVariant& Tag() const { return tag_; }
  void SetTag(const QVariant& value) { tag_ = value; }

  // The connection to two OPC data items. No OPC client is built in: the settings are kept and
  // stored by the channel classes that publish them (AddOPCItemProperties), and channels without
  // OPC items work without one.
  const QString& OPCComputerName() const { return opcComputerName_; }
  void SetOPCComputerName(const QString& value) { SetAndChange(opcComputerName_, value); }
  const QString& OPCServerName() const { return opcServerName_; }
  void SetOPCServerName(const QString& value) { SetAndChange(opcServerName_, value); }
  const QString& OPCItemName() const { return opcItemName_; }
  void SetOPCItemName(const QString& value) { SetAndChange(opcItemName_, value); }
  const QString& OPCItem2Name() const { return opcItem2Name_; }
  void SetOPCItem2Name(const QString& value) { SetAndChange(opcItem2Name_, value); }
  int OPCUpdateRate() const { return opcUpdateRate_; }
  void SetOPCUpdateRate(int value) { SetAndChange(opcUpdateRate_, value); }
  double OPCScalar() const { return opcScalar_; }
  void SetOPCScalar(double value) { SetAndChange(opcScalar_, value); }
  double OPCOffset() const { return opcOffset_; }
  void SetOPCOffset(double value) { SetAndChange(opcOffset_, value); }
  double OPCScalar2() const { return opcScalar2_; }
  void SetOPCScalar2(double value) { SetAndChange(opcScalar2_, value); }
  double OPCOffset2() const { return opcOffset2_; }
  void SetOPCOffset2(double value) { SetAndChange(opcOffset2_, value); }
  bool OPCAutoConnect() const { return opcAutoConnect_; }
  void SetOPCAutoConnect(bool value) { SetAndChange(opcAutoConnect_, value); }

  const QString& TitleText() const { return titleText_; }
  void SetTitleText(const QString& value);
  TColor Color() const { return list_->PointTemplate().TraceColor; }
  void SetColor(TColor value);
  bool TraceVisible() const { return traceVisible_; }
  void SetTraceVisible(bool value);
  TiPlotLineStyle TraceLineStyle() const { return TiPlotLineStyle(list_->PointTemplate().TraceLineStyle); }
  void SetTraceLineStyle(TiPlotLineStyle value);
  int TraceLineWidth() const { return list_->PointTemplate().TraceLineWidth; }
  void SetTraceLineWidth(int value);
  bool MarkersVisible() const { return list_->PointTemplate().MarkerVisible; }
  void SetMarkersVisible(bool value);
  int MarkersSize() const { return list_->PointTemplate().MarkerSize; }
  void SetMarkersSize(int value);
  TiPlotMarkerStyle MarkersStyle() const { return TiPlotMarkerStyle(list_->PointTemplate().MarkerStyle); }
  void SetMarkersStyle(TiPlotMarkerStyle value);
  TColor MarkersPenColor() const { return list_->PointTemplate().MarkerPenColor; }
  void SetMarkersPenColor(TColor value);
  TPenStyle MarkersPenStyle() const { return TPenStyle(list_->PointTemplate().MarkerPenStyle); }
  void SetMarkersPenStyle(TPenStyle value);
  int MarkersPenWidth() const { return list_->PointTemplate().MarkerPenWidth; }
  void SetMarkersPenWidth(int value);
  TColor MarkersBrushColor() const { return list_->PointTemplate().MarkerBrushColor; }
  void SetMarkersBrushColor(TColor value);
  TBrushStyle MarkersBrushStyle() const { return TBrushStyle(list_->PointTemplate().MarkerBrushStyle); }
  void SetMarkersBrushStyle(TBrushStyle value);
  bool MarkersPenUseChannelColor() const { return markersPenUseChannelColor_; }
  void SetMarkersPenUseChannelColor(bool value);
  bool MarkersBrushUseChannelColor() const { return markersBrushUseChannelColor_; }
  void SetMarkersBrushUseChannelColor(bool value);
  bool MarkersAllowIndividual() const { return markersAllowIndividual_; }
  void SetMarkersAllowIndividual(bool value);
  int MarkersTurnOffLimit() const { return markersTurnOffLimit_; }
  void SetMarkersTurnOffLimit(int value);
  TiFont* MarkersFont() { return &markersFont_; }
  bool VisibleInLegend() const { return visibleInLegend_; }
  void SetVisibleInLegend(bool value);
  bool ClipToAxes() const { return clipToAxes_; }
  void SetClipToAxes(bool value);
  // The next three change no drawing and therefore do not repaint.
  bool ShowDataPointHints() const { return showDataPointHints_; }
  void SetShowDataPointHints(bool value) { showDataPointHints_ = value; }
  bool UserCanMoveDataPoints() const { return userCanMoveDataPoints_; }
  void SetUserCanMoveDataPoints(bool value) { userCanMoveDataPoints_ = value; }
  TiPlotChannelDataPointMoveStyle UserCanMoveDataPointsStyle() const { return userCanMoveDataPointsStyle_; }
  void SetUserCanMoveDataPointsStyle(TiPlotChannelDataPointMoveStyle value) { userCanMoveDataPointsStyle_ = value; }
  int RingBufferSize() const { return list_->RingBufferSize(); }
  // 0 (or less): a growing list. A size above MaxCount is refused and the ring stays as it was.
  void SetRingBufferSize(int value);
  const QString& XAxisName() const { return xAxisName_; }
  void SetXAxisName(const QString& value);
  const QString& YAxisName() const { return yAxisName_; }
  void SetYAxisName(const QString& value);
  bool XAxisTrackingEnabled() const { return xAxisTrackingEnabled_; }
  void SetXAxisTrackingEnabled(bool value);
  bool YAxisTrackingEnabled() const { return yAxisTrackingEnabled_; }
  void SetYAxisTrackingEnabled(bool value);
  TiPlotDataStyle DataStyle() const { return list_->DataStyle(); }
  // Replaces the list by one of the new layout: its points are lost, its template and ring size
  // kept. The running statistics keep their values until the next Clear or recalculation.
  void SetDataStyle(TiPlotDataStyle value);

  // The rectangle of the channel's row in the legend, written by the legend as it lays out.
  TRect LegendRect() const { return legendRect_; }
  void SetLegendRect(const TRect& rect) { legendRect_ = rect; }

  // --- Points. Indexes are logical (0 = oldest); a bad one raises "Index out of Bounds". ---
  virtual int AddXY(double x, double y);
  int AddDataPoint(bool null, bool empty, double x, double y);
  int Count() const { return list_->Count(); }
  // Empties the channel's data and its statistics; the chart calls it on every channel when all
  // data are cleared.
  virtual void Clear();
  // Removes the n oldest points (all of them: Clear).
  void DeleteFirst(int n);
  double GetX(int index) const { return list_->GetX(index); }
  double GetY(int index) const { return list_->GetY(index); }
  bool GetNull(int index) const { return list_->GetNull(index); }
  bool GetEmpty(int index) const { return list_->GetEmpty(index); }
  bool GetValid(int index) const { return !GetNull(index) && !GetEmpty(index); }
  void GetData(int index, double& x, double& y, bool& empty, bool& null) const { list_->GetData(index, x, y, empty, null); }
  // Write through the list and repaint; the statistics are not updated.
  void SetX(int index, double value);
  void SetY(int index, double value);
  void SetNull(int index, bool value);
  void SetEmpty(int index, bool value);
  const TiPlotDataCustomList& DataList() const { return *list_; }
  // Counts every change of the points (appends on every path, changes, removals), so that what
  // is worked out from the points can be kept until they change.
  std::uint64_t DataRevision() const { return dataRevision_; }
  // Every X added since the channel was last emptied went the same way as the one before it
  // (all non-decreasing or all non-increasing; NaN goes neither way). SetX clears it: an X
  // changed in place is not compared with its neighbours.
  bool XInOrder() const { return xNonDecreasing_ || xNonIncreasing_; }
  bool XNonDecreasing() const { return xNonDecreasing_; }
  bool XNonIncreasing() const { return xNonIncreasing_; }

  // The coordinate with room for the marker on its side when markers are shown: the marker's
  // half-size in the axis's units at its low end. "Data Point Null" for a null point.
  double GetXPlusMarker(int index);
  double GetXMinusMarker(int index);
  double GetYPlusMarker(int index);
  double GetYMinusMarker(int index);

  // --- Running statistics of the points added since the last Clear or recalculation. ---
  std::int64_t DataStatCount() const { return statCount_; }
  double DataXMin() const { return xMin_; }
  double DataXMax() const { return xMax_; }
  double DataXMean() const { return statCount_ ? xSum_.Mean(double(statCount_)) : 0.0; }
  double DataYMin() const { return yMin_; }
  double DataYMax() const { return yMax_; }
  double DataYMean() const { return statCount_ ? ySum_.Mean(double(statCount_)) : 0.0; }
  // Starts the statistics over from the valid points present.
  void RecalculateStatistics();

  // The extremes of the valid points present (sentinels 1e300 / -1e300 without any), kept as
  // points arrive and worked out again only after points were changed or dropped.
  virtual double GetXMaxExtent();
  virtual double GetXMinExtent();
  virtual double GetYMaxExtent();
  virtual double GetYMinExtent();

  int FirstDataIndex() const { return Count() > 0 ? 0 : -1; }
  int LastDataIndex() const { return Count() - 1; }
  double FirstXValue() const { return Count() > 0 ? GetX(0) : -1.0; }
  double LastXValue() const { return Count() > 0 ? GetX(Count() - 1) : -1.0; }
  double LastYValue() const { return Count() > 0 ? GetY(Count() - 1) : -1.0; }
  int RecordSize() const { return list_->RecordSize(); }
  int MaxCount() const { return list_->MaxCount(); }
  int Capacity() const { return list_->Capacity(); }
  std::int64_t MemoryUsed() const { return list_->MemoryUsed(); }

  // --- Axes, resolved by name and cached until the name changes or the axis leaves. ---
  TiPlotAxis* XAxis() { return xAxis_ ? xAxis_ : ResolveXAxis(); }
  TiPlotAxis* YAxis() { return yAxis_ ? yAxis_ : ResolveYAxis(); }
  bool AxesAssigned() { return XAxis() && YAxis(); }
  // The axis's cursor text, or "No X-Axis" / "No Y-Axis" (translated) without one.
  QString GetXText(double value);
  QString GetYText(double value);
  void NotifyRemoving(TiPlotPersistent* item) override;
  void NotifyRenamed(TiPlotObject* object) override;

  // --- Drawing. ---
  // One marker at pixel p: index -1 draws the legend's sample of the channel's marker.
  void DrawMarker(TCanvas* canvas, int index, TColor backgroundColor, TPoint p);

  // --- Data cursor. ---
  // Works out the cursor's values at its pointers and hands them and the hint text to it.
  virtual void UpdateDataCursor(TiPlotDataCursor* cursor);
  // Stores the values and builds the texts the cursor's hint and the legend's value columns show.
  QString FormatCursorText(TiPlotDataCursorStyle style, int status, double x, double y);
  double CursorX() const { return cursorX_; }
  double CursorY() const { return cursorY_; }
  int CursorStatus() const { return cursorStatus_; }
  const QString& CursorXText() const { return cursorXText_; }
  const QString& CursorYText() const { return cursorYText_; }

  // --- Logging of new points to a text file. ---
  const QString& LogFileName() const { return logFileName_; }
  // Refused while logging: "Log File Name can not be changed while logging is active."
  void SetLogFileName(const QString& value);
  // Points collected before a write; 0 or 1 writes every point as it is added. No repaint.
  int LogBufferSize() const { return logBufferSize_; }
  void SetLogBufferSize(int value) { logBufferSize_ = value; }
  bool LoggingActive() const { return loggingActive_; }
  int LogCount() const { return logCount_; }
  // Appending needs an existing file; otherwise the file is created or emptied.
  void LogActivate(bool append);
  // Writes the pending points and stops.
  void LogDeactivate();

  // --- Files. ---
  // One line per non-empty point: X, the chart's column separator, Y or "Null"; CR LF.
  void SaveDataToFile(const QString& fileName);
  // Adds the points of such a file (tab or comma separated; "." or "," decimals).
  void LoadDataFromFile(const QString& fileName, bool clearFirst);
  // "File Type = Plot Channel Config", then the published properties under "Channel" (without
  // Name). Failures carry "Error Saving Properties - " / "Error Loading Properties - ".
  void SavePropertiesToFile(const QString& fileName);
  void LoadPropertiesFromFile(const QString& fileName);

 protected:
  // The keyboard-opened menu appears at the centre of the channel's legend row.
  bool PopupAnchorRect(TRect& rect) const override;
  // Hit testing of points: whether any point can be hit at all, and the rectangle of point i
  // (false: it has none to hit). Markers here.
  virtual bool PointsHittable() { return MarkersVisible(); }
  virtual bool PointHitRect(int index, TRect& rect);
  // The value of an axis at a cursor pointer's position (percent of the data view).
  static double ValueAtPointer(const TiPlotAxis& axis, const class TiPlotDataView* view, double percent);
  // For channel classes that find their own drawing range.
  void SetFirstVisibleIndex(int value) { firstVisibleIndex_ = value; }
  void SetLastVisibleIndex(int value) { lastVisibleIndex_ = value; }
  // The attributes new points take, for the properties a channel class adds to them.
  TiPlotPointTemplate& WritablePointTemplate() { return list_->PointTemplate(); }

 private:
  TiPlotAxis* ResolveXAxis();
  TiPlotAxis* ResolveYAxis();
  void ResetStatistics();
  // Inline: every added point takes these.
  [[gnu::always_inline]] void AddToStatistics(double x, double y) {
    if (x > xMax_) xMax_ = x;
    if (!(x >= xMin_)) xMin_ = x;
    if (y > yMax_) yMax_ = y;
    if (!(y >= yMin_)) yMin_ = y;
    ++statCount_;
    xSum_.Add(x);
    ySum_.Add(y);
  }
  [[gnu::always_inline]] void WidenExtents(double x, double y) {
    if (!extentsValid_) return;
    extXMin_ = std::min(extXMin_, x);
    extXMax_ = std::max(extXMax_, x);
    extYMin_ = std::min(extYMin_, y);
    extYMax_ = std::max(extYMax_, y);
  }
  // A full ring is about to overwrite its oldest point: when that one held an extreme, the kept
  // extents are worked out again on the next question.
  void ForgetOverwrittenExtreme();
  // Every append: the revision and the order of X (x as stored, before the point is added).
  [[gnu::always_inline]] void NoteAppend(double x) {
    ++dataRevision_;
    if (list_->Count() > 0) {
      xNonDecreasing_ = xNonDecreasing_ && x >= lastAddedX_;
      xNonIncreasing_ = xNonIncreasing_ && x <= lastAddedX_;
    } else if (!(x == x)) {
      xNonDecreasing_ = xNonIncreasing_ = false;
    }
    lastAddedX_ = x;
  }
  void ResetOrder() { xNonDecreasing_ = xNonIncreasing_ = true; }
  // AddDataPoint's work, shared with AddXY.
  int AddPoint(bool null, bool empty, double x, double y);
  bool AddHeld(double x, double y, int& index);
  // True when a change request would do nothing: the chart is suspended with a repaint already
  // pending, and the channel's OnChange is still the chart's own handler (which then only marks
  // the repaint pending again). A program's own OnChange is always called.
  bool ChangeRequestPending();
  bool RangeChangesHeld(const TiPlotAxis& axis);
  void FindChart();
  // Reports a new point to the axes; false when the channel went away meanwhile, which only
  // a watched call (`watch`: the axes may call handlers) can tell.
  bool Track(bool null, bool empty, double x, double y, bool watch);
  void RecalculateExtents();
  double MarkerExtent(int index, bool xAxis, double sign);
  template <class T>
  void SetTemplate(T TiPlotPointTemplate::*field, T value);
  QChar SeparatorChar() const;
  // Appends the pending points that are still present. A failure stops logging (so that later
  // additions do not fail as well) and goes on to the caller.
  void LogFlush();

  std::unique_ptr<TiPlotDataCustomList> list_;
  // The owner as a chart and that chart's object manager (the origin of the change handler its
  // objects get), looked up once per owner.
  const TiPlotOwner* chartOwner_ = nullptr;
  const class TiPlotComponent* chart_ = nullptr;
  const void* chartMaster_ = nullptr;
  TiPlotAxis* xAxis_ = nullptr;
  TiPlotAxis* yAxis_ = nullptr;
  QString titleText_;
  QVariant tag_;
  QString opcComputerName_;
  QString opcServerName_;
  QString opcItemName_;
  QString opcItem2Name_;
  int opcUpdateRate_ = 500;
  double opcScalar_ = 1.0;
  double opcOffset_ = 0.0;
  double opcScalar2_ = 1.0;
  double opcOffset2_ = 0.0;
  bool opcAutoConnect_ = true;
  QString yAxisName_;
  QString xAxisName_;
  bool xAxisTrackingEnabled_ = true;
  bool yAxisTrackingEnabled_ = true;
  bool markersAllowIndividual_ = false;
  int markersTurnOffLimit_ = 0;
  TRect legendRect_;
  bool visibleInLegend_ = true;
  bool clipToAxes_ = false;
  bool showDataPointHints_ = false;
  bool userCanMoveDataPoints_ = false;
  TiPlotChannelDataPointMoveStyle userCanMoveDataPointsStyle_ = ipcdpmsXandY;
  bool markersBrushUseChannelColor_ = true;
  bool markersPenUseChannelColor_ = true;
  bool traceVisible_ = true;
  TiFont markersFont_;

  double cursorX_ = 0.0, cursorY_ = 0.0;
  int cursorStatus_ = 0;
  QString cursorXText_, cursorYText_;

  std::int64_t statCount_ = 0;
  // The means are the sums over the count, worked out when asked (0 without points).
  double xMin_ = 1e300, xMax_ = -1e300;
  double yMin_ = 1e300, yMax_ = -1e300;
  TiCompensatedSum xSum_, ySum_;
  // The kept extents of the valid points present.
  bool extentsValid_ = true;
  double extXMin_ = 1e300, extXMax_ = -1e300, extYMin_ = 1e300, extYMax_ = -1e300;
  std::uint64_t dataRevision_ = 0;
  bool xNonDecreasing_ = true, xNonIncreasing_ = true;
  double lastAddedX_ = 0.0;
  QChar loadedSeparator_ = QLatin1Char('\t');
  QString logFileName_;
  int logBufferSize_ = 0;
  bool loggingActive_ = false;
  int logCount_ = 0;

  // ---- The trace and its markers on the chart: drawing, hit testing, hints and dragging of
  // points (rUdudChannelDraw.cpp, rUdudChannelInput.cpp). ----
 public:
  // 34, 35: the indexes a drawing and a hit test walk (all points here).
  virtual void UpdateFirstVisibleIndex();
  virtual void UpdateLastVisibleIndex();
  int FirstVisibleIndex() const { return firstVisibleIndex_; }
  int LastVisibleIndex() const { return lastVisibleIndex_; }
  // 41: the connecting line of the valid points, broken at null points; reversed: the X axis
  // runs vertically.
  virtual void DrawTrace(TCanvas* canvas, bool reversed, TColor backgroundColor);
  // 42: a marker on every point that has one in view.
  virtual void DrawMarkers(TCanvas* canvas, bool reversed, TColor backgroundColor);
  // One line between two points given as values, cut to the X axis's range (and the Y axis's
  // with ClipToAxes). With useDataViewY the Y values are percentages of the data view's height.
  void DrawClippedSegment(TCanvas* canvas, bool reversed, double x1, double y1, double x2, double y2, bool useDataViewY);
  // With ClipToAxes, narrows the canvas's clip to the rectangle the two axes' ranges span; false
  // when that is asked for and an axis is missing (nothing is to be drawn then).
  bool ClipCanvasToAxes(TCanvas* canvas, bool reversed);
  // The point has a marker to draw: markers shown, a valid point, both axes there, inside both.
  bool MarkerDrawable(int index);
  // The pixel of a point (the two coordinates exchanged under XYAxesReverse).
  TPoint GetPixelPoint(int index);
  // The marker's square around the point's pixel.
  TRect GetMarkerRect(int index);

  // Another object took the focus: the channel gives its own up, except to the legend (which
  // shows the channel selected) and to a data cursor bound to this channel.
  void NotifyFocus(TiPlotObject* object) override;                 // 10
  bool HitTest(const TiPlotMouseParams& params) override;          // 16
  void DoMouseHover(const TiPlotMouseParams& params) override;     // 18
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;  // 19
  void DoMouseDrag(const TiPlotMouseParams& params) override;      // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;        // 22
  // The hand, through the chart's OnGetMouseCursorChannel.
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;  // 29
  void AddMenuItems(TPopupMenu* menu) override;                    // 32
  // A release is the channel's click only after a press that held no point, inside its legend row.
  bool ReleaseIsClick(int x, int y) override;

  // The point under the mouse at the last hit test (-1: none) and its marker square.
  int HitIndex() const { return hitIndex_; }
  TRect HitRect() const { return hitRect_; }
  // The point held by a left press on its marker, -1 while none is.
  int HeldIndex() const { return held_ ? heldIndex_ : -1; }

 private:
  struct TiMarkerLook;
  class TiMarkerStamps;
  TiMarkerLook MarkerLook(int index);
  void DrawMarkerLook(TCanvas* canvas, const TiMarkerLook& look, TColor backgroundColor, TPoint p);
  class TiPlotComponent* Chart() const;

  int firstVisibleIndex_ = -1;
  int lastVisibleIndex_ = -1;
  int hitIndex_ = -1;
  TRect hitRect_;
  int pressedIndex_ = -1;
  bool held_ = false;
  int heldIndex_ = -1;
  TRect heldRect_;
  double heldX_ = 0.0, heldY_ = 0.0;
  int pressAlongX_ = 0, pressAlongY_ = 0;
  bool clickOnRelease_ = true;
  // Pre-rendered markers, made on first use.
  std::shared_ptr<TiMarkerStamps> markerStamps_;
};

// The pen of a trace of that colour, style and width.
TPen TracePen(TColor color, TiPlotLineStyle style, int width);

// The OPC items' published properties, each written only when set, so that charts without OPC
// items keep their files as they were.
template <class C>
TiClassBuilder<C>& AddOPCItemProperties(TiClassBuilder<C>& builder) {
  return builder.String(QStringLiteral("OPCComputerName"), &C::OPCComputerName, &C::SetOPCComputerName)
      .StoredWhen([](const C& c) { return !c.OPCComputerName().isEmpty(); })
      .String(QStringLiteral("OPCServerName"), &C::OPCServerName, &C::SetOPCServerName)
      .StoredWhen([](const C& c) { return !c.OPCServerName().isEmpty(); })
      .String(QStringLiteral("OPCItemName"), &C::OPCItemName, &C::SetOPCItemName)
      .StoredWhen([](const C& c) { return !c.OPCItemName().isEmpty(); })
      .String(QStringLiteral("OPCItem2Name"), &C::OPCItem2Name, &C::SetOPCItem2Name)
      .StoredWhen([](const C& c) { return !c.OPCItem2Name().isEmpty(); })
      .Integer(QStringLiteral("OPCUpdateRate"), &C::OPCUpdateRate, &C::SetOPCUpdateRate, 500)
      .Float(QStringLiteral("OPCScalar"), &C::OPCScalar, &C::SetOPCScalar)
      .StoredWhen([](const C& c) { return c.OPCScalar() != 1.0; })
      .Float(QStringLiteral("OPCOffset"), &C::OPCOffset, &C::SetOPCOffset)
      .StoredWhen([](const C& c) { return c.OPCOffset() != 0.0; })
      .Float(QStringLiteral("OPCScalar2"), &C::OPCScalar2, &C::SetOPCScalar2)
      .StoredWhen([](const C& c) { return c.OPCScalar2() != 1.0; })
      .Float(QStringLiteral("OPCOffset2"), &C::OPCOffset2, &C::SetOPCOffset2)
      .StoredWhen([](const C& c) { return c.OPCOffset2() != 0.0; })
      .Boolean(QStringLiteral("OPCAutoConnect"), &C::OPCAutoConnect, &C::SetOPCAutoConnect, true);
}
// The same on a builder made in the same expression (it lives to the expression's end).
template <class C>
TiClassBuilder<C>& AddOPCItemProperties(TiClassBuilder<C>&& builder) {
  return AddOPCItemProperties(builder);
}

// The class of new channels of a chart: a function that makes one with the chart's owner and
// handlers.
using TiPlotChannelClass = TiPlotPtr<TiPlotChannelCustom> (*)(TiPlotOwner*, const TiPlotHandlers&);

template <class T>
TiPlotPtr<TiPlotChannelCustom> CreateChannelOf(TiPlotOwner* owner, const TiPlotHandlers& handlers) {
  return TiPlotPtr<TiPlotChannelCustom>(new T(owner, handlers));
}
