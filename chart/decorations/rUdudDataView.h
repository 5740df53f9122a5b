#pragma once
// The data view: the plot area in the middle of the chart. It paints its background, the grid
// lines at the ticks of the axes it is tied to and a frame, draws the zoom box while the user
// drags one, and converts between pixels and percentages of its rectangle.
#include <functional>

#include <QStringList>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/rUdudObjects.h"

class TiPlotAxis;

enum TiPlotAxesControlStyle : int { ipacsXAxis, ipacsYAxis, ipacsBoth, ipacsNone };
const QStringList& GridLineStyleNames();
const QStringList& AxesControlStyleNames();

// What the data view does with the mouse, decided at every mouse event.
enum TiPlotDataViewMode : int { ipdvmNone, ipdvmSelect, ipdvmZoomBox, ipdvmAxesControl };

// The look of one kind of grid line (X major, X minor, Y major, Y minor) when it is custom.
struct TiPlotGridLineKind {
  bool Custom = false;
  TColor Color = RGB(0, 128, 0);
  int Width = 0;   // 0: the thinnest pen
  TiPlotGridLineStyle Style = ipglsSolid;
};

// What the data view needs of its chart: the axes, the first toolbar's state, the tracking pause
// and the zoom box event. The chart component provides it.
class TiPlotDataViewHost {
 public:
  virtual ~TiPlotDataViewHost() = default;
  virtual int DataViewAxisCount(bool xAxes) const = 0;
  virtual TiPlotAxis* DataViewAxis(bool xAxes, int index) const = 0;
  // False when the chart has no toolbar; otherwise the Select and Zoom Box buttons' states.
  virtual bool FirstToolBarButtons(bool& selectDown, bool& zoomBoxDown) const = 0;
  // The toolbar's Pause effect: every axis stops tracking.
  virtual void PauseAllTracking() = 0;
  // Raises OnBeforeZoomBox; the handler may change the rectangle or cancel.
  virtual void BeforeZoomBox(TRect& rect, bool& cancel) = 0;
};

// The getter and setter of one property of a grid line kind.
#define TI_GRID_LINE_KIND_PROPERTIES(Kind, field)                                              \
  bool GridLine##Kind##Custom() const { return field.Custom; }                                 \
  void SetGridLine##Kind##Custom(bool value) { SetAndChange(field.Custom, value); }            \
  TColor GridLine##Kind##Color() const { return field.Color; }                                 \
  void SetGridLine##Kind##Color(TColor value) { SetAndChange(field.Color, value); }            \
  int GridLine##Kind##Width() const { return field.Width; }                                    \
  void SetGridLine##Kind##Width(int value) { SetAndChange(field.Width, value); }               \
  TiPlotGridLineStyle GridLine##Kind##Style() const { return field.Style; }                    \
  void SetGridLine##Kind##Style(TiPlotGridLineStyle value) { SetAndChange(field.Style, value); }

class TiPlotDataView : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;

  const QString& Title() const { return title_; }
  void SetTitle(const QString& value);
  // Without a fill of its own the chart's background shows through.
  bool BackgroundTransparent() const { return backgroundTransparent_; }
  void SetBackgroundTransparent(bool value);
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor value);

  // --- Grid and frame. ---
  bool GridShow() const { return gridShow_; }
  void SetGridShow(bool value);
  // The axes whose ticks the grid follows, by name; "<ALL>" in any letter case means every axis
  // of the kind.
  const QString& GridXAxisName() const { return gridXAxisName_; }
  void SetGridXAxisName(const QString& value);
  const QString& GridYAxisName() const { return gridYAxisName_; }
  void SetGridYAxisName(const QString& value);
  // The named axes, looked up in the chart and kept once found until the name is set again or
  // the axis leaves; nullptr for "<ALL>" and for a name that matches no axis.
  TiPlotAxis* GridXAxis();
  TiPlotAxis* GridYAxis();
  TColor GridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(TColor value);
  TiPlotGridLineStyle GridLineMajorStyle() const { return gridLineMajorStyle_; }
  void SetGridLineMajorStyle(TiPlotGridLineStyle value);
  TiPlotGridLineStyle GridLineMinorStyle() const { return gridLineMinorStyle_; }
  void SetGridLineMinorStyle(TiPlotGridLineStyle value);
  bool GridLineShowLeft() const { return gridLineShowLeft_; }
  void SetGridLineShowLeft(bool value);
  bool GridLineShowTop() const { return gridLineShowTop_; }
  void SetGridLineShowTop(bool value);
  bool GridLineShowRight() const { return gridLineShowRight_; }
  void SetGridLineShowRight(bool value);
  bool GridLineShowBottom() const { return gridLineShowBottom_; }
  void SetGridLineShowBottom(bool value);
  bool GridLineShowXMajors() const { return gridLineShowXMajors_; }
  void SetGridLineShowXMajors(bool value);
  bool GridLineShowYMajors() const { return gridLineShowYMajors_; }
  void SetGridLineShowYMajors(bool value);
  bool GridLineShowXMinors() const { return gridLineShowXMinors_; }
  void SetGridLineShowXMinors(bool value);
  bool GridLineShowYMinors() const { return gridLineShowYMinors_; }
  void SetGridLineShowYMinors(bool value);
  TI_GRID_LINE_KIND_PROPERTIES(XMajor, xMajor_)
  TI_GRID_LINE_KIND_PROPERTIES(XMinor, xMinor_)
  TI_GRID_LINE_KIND_PROPERTIES(YMajor, yMajor_)
  TI_GRID_LINE_KIND_PROPERTIES(YMinor, yMinor_)

  // --- Mouse control of the axes. ---
  bool AxesControlEnabled() const { return axesControlEnabled_; }
  void SetAxesControlEnabled(bool value);
  TiPlotAxesControlStyle AxesControlMouseStyle() const { return axesControlMouseStyle_; }
  void SetAxesControlMouseStyle(TiPlotAxesControlStyle value);
  TiPlotAxesControlStyle AxesControlWheelStyle() const { return axesControlWheelStyle_; }
  void SetAxesControlWheelStyle(TiPlotAxesControlStyle value);
  bool AxesControlAllowInSelectMode() const { return axesControlAllowInSelectMode_; }
  void SetAxesControlAllowInSelectMode(bool value);

  // What the mouse does now, from the chart's first toolbar (when it has one) and AxesControlEnabled.
  TiPlotDataViewMode InteractionMode() const;
  // Which axes a left drag to `point` moves in axes control mode, by AxesControlMouseStyle and
  // Shift; with ipacsBoth and Shift the first move beyond 3 pixels locks the direction.
  void DragAxes(TShiftState shift, TPoint point, bool& xAxes, bool& yAxes);
  // Which axes the wheel moves in axes control mode, by AxesControlWheelStyle and Shift; false
  // for ipacsNone.
  bool WheelAxes(TShiftState shift, bool& xAxes, bool& yAxes) const;
  // Hands a mouse action to the chosen axes, X axes first; false when an axis's handler removed
  // this view. The lists are read afresh at each step, as handlers may remove axes.
  bool PassToAxes(bool xAxes, bool yAxes, const std::function<void(TiPlotAxis*)>& action);

  // --- Conversions between pixels and percentages of the rectangle (0 at the left and bottom).
  // A rectangle of no width or height gives 0 percent and maps every percentage to its edge; NaN
  // counts as 0 percent; pixels are limited to -32000 .. 32000.
  double PixelToPercentX(int x) const;
  double PixelToPercentY(int y) const;
  int PercentToPixelX(double percent) const;
  int PercentToPixelY(double percent) const;

  // The data view is what the layout pass places the others around: it is on no side, holds no
  // level, and receives its rectangle from the pass.
  bool InSideLists() const override { return false; }
  bool HoldsLevel() const override { return false; }
  void PlaceAlongSide(const TiPlotLayoutFrame&) override {}
  int RequiredSize(TCanvas*) override { return 0; }
  int RequiredEndMargin(TCanvas*) override { return 0; }

  void NotifyRemoving(TiPlotPersistent* item) override;                   // 8
  void NotifyRenamed(TiPlotObject* object) override;                      // 9
  // Grid lines and frame; `backgroundColor` fills the gaps of dashed and dotted lines.
  void Draw(TCanvas* canvas, TColor backgroundColor) override;            // 12
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;         // 19
  void DoMouseDownRight(const TiPlotMouseParams& params) override;        // 20
  void DoMouseDrag(const TiPlotMouseParams& params) override;             // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;               // 22
  bool DoMouseWheel(int wheelDelta, TShiftState shift, TPoint point) override;   // 24
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;       // 29
  void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) override;  // 30
  // A release is the view's click only inside its rectangle.
  bool ReleaseIsClick(int x, int y) override;

  // --- Painting entry points, called by the painting cycle at its own times. ---
  // Fills the rectangle with BackgroundColor unless transparent.
  virtual void DrawBackground(TCanvas* canvas);
  // Whether the user is dragging a zoom box, and its rubber band.
  virtual bool ZoomBoxActive() const { return zoomBoxActive_; }
  virtual void DrawZoomBox(TCanvas* canvas);
  TPoint ZoomBoxStart() const { return start_; }
  TPoint ZoomBoxEnd() const { return end_; }

 private:
  TiPlotDataViewHost* Host() const;
  // The named axis of one kind, resolved and kept in `cache`.
  TiPlotAxis* ResolveGridAxis(const QString& name, bool xAxes, TiPlotAxis*& cache);
  void DrawGridOfKind(TCanvas* canvas, bool xAxes);
  void DrawFrame(TCanvas* canvas, TColor color);
  // Ends the interaction: no press, no zoom box, no direction lock.
  void ClearInteraction();

  QString title_;
  QString gridXAxisName_;
  QString gridYAxisName_;
  TiPlotAxis* gridXAxis_ = nullptr;
  TiPlotAxis* gridYAxis_ = nullptr;
  // Each default written once: the member starts from it and the property table declares it.
  static constexpr bool kBackgroundTransparent = true;
  static constexpr TColor kBackgroundColor = RGB(0, 128, 128);
  static constexpr TColor kGridLineColor = RGB(0, 128, 0);
  bool backgroundTransparent_ = kBackgroundTransparent;
  TColor backgroundColor_ = kBackgroundColor;
  bool gridShow_ = true;
  TColor gridLineColor_ = kGridLineColor;
  TiPlotGridLineStyle gridLineMajorStyle_ = ipglsSolid;
  TiPlotGridLineStyle gridLineMinorStyle_ = ipglsSolid;
  bool gridLineShowLeft_ = true;
  bool gridLineShowTop_ = true;
  bool gridLineShowRight_ = true;
  bool gridLineShowBottom_ = true;
  bool gridLineShowXMajors_ = true;
  bool gridLineShowYMajors_ = true;
  bool gridLineShowXMinors_ = false;
  bool gridLineShowYMinors_ = false;
  TiPlotGridLineKind xMajor_;
  TiPlotGridLineKind xMinor_;
  TiPlotGridLineKind yMajor_;
  TiPlotGridLineKind yMinor_;
  bool axesControlEnabled_ = false;
  TiPlotAxesControlStyle axesControlMouseStyle_ = ipacsBoth;
  TiPlotAxesControlStyle axesControlWheelStyle_ = ipacsXAxis;
  bool axesControlAllowInSelectMode_ = false;

  // Interaction state.
  bool pressed_ = false;
  bool rightPressed_ = false;
  bool directionLocked_ = false;
  bool lockedToX_ = false;
  bool zoomBoxActive_ = false;
  TPoint start_;
  TPoint end_;
};

#undef TI_GRID_LINE_KIND_PROPERTIES
