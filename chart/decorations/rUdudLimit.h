#pragma once
// Limits: lines, bands and polygon bands at axis values, drawn inside the data view; their lines
// can be dragged with the mouse.
#include <vector>

#include "chart/core/rUdudObjects.h"
#include "platform/Canvas.h"

class TiPlotAxis;
class TiPlotLimit;

enum TiPlotLimitStyle : int { iplsLineX, iplsLineY, iplsBandX, iplsBandY, iplsPolyBandX, iplsPolyBandY };
// Their value names, in ordinal order.
const QStringList& LimitStyleNames();

// What a limit raises through its chart; the chart component implements it.
class TiPlotLimitEvents {
 public:
  virtual ~TiPlotLimitEvents() = default;
  virtual void LimitLine1PositionChange(TiPlotLimit* limit, double oldValue, double newValue) = 0;
  virtual void LimitLine2PositionChange(TiPlotLimit* limit, double oldValue, double newValue) = 0;
};

// One element of a polygon band: a position along one axis and the two bounds on the other.
struct TiLimitDataElement {
  double Position = 0.0;
  double Bound1 = 0.0;
  double Bound2 = 0.0;
};

// The elements of a polygon band, kept in ascending Position.
class TiLimitDataList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises "Index out of Bounds" outside 0 .. Count - 1.
  const TiLimitDataElement& Item(int index) const;
  double GetPosition(int index) const { return Item(index).Position; }
  double GetBound1(int index) const { return Item(index).Bound1; }
  double GetBound2(int index) const { return Item(index).Bound2; }
  // Inserts after every element whose Position is not greater, so equal positions keep the order
  // in which they came. An element holding NaN or an infinity is not taken (it could be neither
  // ordered nor drawn): -1; otherwise its index.
  int Add(double position, double bound1, double bound2);
  void Clear() { items_.clear(); }

 private:
  std::vector<TiLimitDataElement> items_;
};

class TiPlotLimit : public TiPlotObject {
  TI_PERSISTENT
 public:
  TiPlotLimit(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  // --- Virtual operations. ---
  void NotifyRemoving(TiPlotPersistent* item) override;                   // 8
  void NotifyRenamed(TiPlotObject* object) override;                      // 9
  void NotifyFocus(TiPlotObject* object) override;                        // 10
  void Draw(TCanvas* canvas, TColor backgroundColor) override;            // 12
  bool HitTest(const TiPlotMouseParams& params) override;                 // 16
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;         // 19
  void DoMouseDrag(const TiPlotMouseParams& params) override;             // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;               // 22
  // A focused limit also receives presses made elsewhere (the chart hands them to every
  // focused object), and a dragged line may be released away from it: only a release over one
  // of its lines is its click.
  bool ReleaseIsClick(int x, int y) override { return HitAt(x, y); }
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;       // 29
  void AddMenuItems(TPopupMenu* menu) override;                           // 32

  // The axes, looked up by name in the chart and kept once found, until the name is set again or
  // the axis leaves; nullptr while the name matches no axis.
  TiPlotAxis* XAxis();
  TiPlotAxis* YAxis();

  bool IsYStyle() const;
  // A band with a fill or a polygon band: the painting cycle draws it under the grid of its
  // layer. Everything else is drawn over the grid.
  virtual bool IsFilledBand() const;

  // --- Properties. ---
  TiPlotLimitStyle Style() const { return style_; }
  void SetStyle(TiPlotLimitStyle value);
  const QString& XAxisName() const { return xAxisName_; }
  void SetXAxisName(const QString& value);
  const QString& YAxisName() const { return yAxisName_; }
  void SetYAxisName(const QString& value);
  // NaN and infinities are ignored: such a line could be neither drawn nor dragged.
  double Line1Position() const { return line1Position_; }
  void SetLine1Position(double value);
  double Line2Position() const { return line2Position_; }
  void SetLine2Position(double value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int value);
  TPenStyle LineStyle() const { return lineStyle_; }
  void SetLineStyle(TPenStyle value);
  TBrushStyle FillStyle() const { return fillStyle_; }
  void SetFillStyle(TBrushStyle value);
  bool UserCanMove() const { return userCanMove_; }
  void SetUserCanMove(bool value);
  bool SelectModeOnlyInteraction() const { return selectModeOnlyInteraction_; }
  void SetSelectModeOnlyInteraction(bool value);
  bool ClipToAxes() const { return clipToAxes_; }
  void SetClipToAxes(bool value);

  // The polygon band's elements. Not a published property: it is neither written to nor read
  // from property files; the program fills it. Call DoChange after changing it to repaint.
  TiLimitDataList& BandData() { return bandData_; }
  const TiLimitDataList& BandData() const { return bandData_; }

  // --- State of the last paint and of the mouse. ---
  bool Line1Drawn() const { return line1Drawn_; }
  bool Line2Drawn() const { return line2Drawn_; }
  TRect Line1HitRect() const { return line1HitRect_; }
  TRect Line2HitRect() const { return line2HitRect_; }
  bool Line1Grabbed() const { return line1Grabbed_; }
  bool Line2Grabbed() const { return line2Grabbed_; }

 private:
  // A point given with its coordinate along the X axis first, in client coordinates.
  TPoint Pt(int alongX, int alongY) const;
  // The rectangle of two such points, normalised.
  TRect Span(int x1, int y1, int x2, int y2) const;
  void DrawLine(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya, TColor backgroundColor);
  void DrawBand(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya);
  void DrawPolyBand(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya);
  // The axis that carries the limit's values, and the pixels of the other axis's ends, between
  // which its lines run.
  struct TLineFrame {
    TiPlotAxis* own;
    int from;
    int to;
  };
  TLineFrame Frame(TiPlotAxis* xa, TiPlotAxis* ya) const;
  // A line at `at` (pixel along the limit's axis) across the other axis.
  void LineAcross(TCanvas* canvas, int at, int acrossFrom, int acrossTo);
  TRect HitRectAt(int at, int acrossFrom, int acrossTo) const;
  bool Interacts() const;
  void SetPosition(double& field, double value, void (TiPlotLimitEvents::*event)(TiPlotLimit*, double, double));
  void EndGrabs();
  void FollowLine(bool drawn, TRect& hitRect, double position);

  TiLimitDataList bandData_;
  bool line1Grabbed_ = false;
  bool line2Grabbed_ = false;
  TiPlotAxis* xAxis_ = nullptr;
  TiPlotAxis* yAxis_ = nullptr;
  QString yAxisName_;
  QString xAxisName_;
  TiPlotLimitStyle style_ = iplsLineY;
  TColor color_ = clRed;
  int lineWidth_ = 0;
  TPenStyle lineStyle_ = psSolid;
  TBrushStyle fillStyle_ = bsSolid;
  bool line1Drawn_ = false;
  bool line2Drawn_ = false;
  double line1Position_ = 50.0;
  double line2Position_ = 50.0;
  TRect line1HitRect_{};
  TRect line2HitRect_{};
  bool userCanMove_ = false;
  bool selectModeOnlyInteraction_ = true;
  bool clipToAxes_ = false;
};
