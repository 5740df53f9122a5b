#pragma once
// The time chart's channel. Its X runs one way (normally upward, typically time), so the visible
// part of the data is found by halving searches, long traces are drawn one pixel column at a
// time, and it offers the drawings that only make sense along an ordered X: filled areas, bars,
// high-low symbols, two-level digital traces, steps and interpolated curves. X values can come
// from the clock.
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "chart/channels/rUdudChannelCustom.h"

// The shape of the trace.
enum TiPlotInterpolationStyle : int {
  ipistStraightLine,
  ipistCubicSpline,
  ipistPolynomial,
  ipistRational,
  ipistDifferential,
  ipistDifferentialTerminated
};
// Digital levels in Y-axis units, or in percent of the Y axis (of the data view when drawn).
enum TiPlotDigitalReferenceStyle : int { ipdrScale, ipdrPercent };
enum TiPlotHighLowStyle : int { iphlsOpenClose, iphlsCandleStick };

const QStringList& InterpolationStyleNames();
const QStringList& DigitalReferenceStyleNames();
const QStringList& HighLowStyleNames();

// One pixel column of an interpolated curve, as the data cursor reads it between paints.
struct TiPlotPixelPoint {
  bool Empty = true;
  double Y = 0.0;
};

// The points of one pixel column while a straight-line trace is decimated: where the column
// starts, its extremes and its first and last value. Only finite values are added (anything
// else breaks the line before it gets here), and the extremes start from the first of them.
struct TiPlotMinMaxPoint {
  bool Empty = true;
  int Pixel = 0;
  double X = 0.0;
  double Max = -1e301;
  double Min = 1e301;
  double First = 0.0;
  double Last = 0.0;

  void Reset() {
    Empty = true;
    Max = -1e301;
    Min = 1e301;
  }
  void Add(int pixel, double y, double x) {
    if (Empty) {
      Empty = false;
      Pixel = pixel;
      X = x;
      First = Max = Min = y;
    } else {
      if (y > Max) Max = y;
      if (y < Min) Min = y;
    }
    Last = y;
  }
  void Assign(const TiPlotMinMaxPoint& other) { *this = other; }
};

// The state of one level run while a digital trace is drawn.
struct TDigitalSequenceData {
  bool Started = false;
  double StartX = 0.0;
  bool Level = false;   // high: Y is not 0
  bool Continued = false;
  double ContinueX = 0.0;
  bool Changed = false;
  double ChangeX = 0.0;
  void Clear() { Started = Continued = Changed = false; }
};

// The defaults of the published properties the time channel adds, each written once.
struct TiPlotChannelDefaults {
  bool FastDrawEnabled = true;
  bool AllowOutOfOrderXValues = true;
  bool DrawOutOfOrderXValues = false;
  bool ResetStartTimeOnFirstDataPoint = false;
  TiPlotInterpolationStyle InterpolationStyle = ipistStraightLine;
  bool FillEnabled = false;
  double FillReference = 0.0;
  TBrushStyle FillStyle = bsSolid;
  TColor FillColor = 0;
  bool FillUseChannelColor = true;
  bool DigitalEnabled = false;
  TiPlotDigitalReferenceStyle DigitalReferenceStyle = ipdrScale;
  double DigitalReferenceLow = 10.0;
  double DigitalReferenceHigh = 90.0;
  bool HighLowEnabled = false;
  TiPlotHighLowStyle HighLowStyle = iphlsOpenClose;
  TColor HighLowBarColor = 16776960;   // aqua
  double HighLowBarWidth = 0.5;
  bool HighLowOpenShow = true;
  bool HighLowCloseShow = true;
  TColor HighLowOpenColor = 65280;     // lime
  TColor HighLowCloseColor = 255;      // red
  double HighLowOpenWidth = 1.0;
  double HighLowCloseWidth = 1.0;
  double HighLowOpenHeight = 1.0;
  double HighLowCloseHeight = 1.0;
  TColor HighLowShadowColor = 8421504;   // grey
  TColor HighLowBullishColor = 16777215; // white
  TColor HighLowBearishColor = 8421504;  // grey
  bool BarEnabled = false;
  bool BarPenUseChannelColor = true;
  bool BarBrushUseChannelColor = true;
  double BarReference = 0.0;
  double BarWidth = 5.0;
  TColor BarPenColor = 255;
  TColor BarBrushColor = 255;
  int BarPenWidth = 0;
  TPenStyle BarPenStyle = psSolid;
  TBrushStyle BarBrushStyle = bsSolid;
};
inline constexpr TiPlotChannelDefaults kTimeChannelDefaults{};

// Points above which polynomial and rational curves are refused: their work per pixel column
// grows with the square of the points.
inline constexpr int kInterpolationPointLimit = 64;

class TiPlotChannel : public TiPlotChannelCustom {
  TI_PERSISTENT
 public:
  TiPlotChannel(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotChannel() override;

  // --- Virtual operations. ---
  void PrepareDraw(TCanvas* canvas) override;                                 // 11
  void Draw(TCanvas* canvas, TColor backgroundColor) override;                // 12
  bool HitTest(const TiPlotMouseParams& params) override;                     // 16
  void UpdateFirstVisibleIndex() override;                                    // 34
  void UpdateLastVisibleIndex() override;                                     // 35
  double GetXMaxExtent() override;                                            // 36
  double GetXMinExtent() override;                                            // 37
  double GetYMaxExtent() override;                                            // 38
  double GetYMinExtent() override;                                            // 39
  void UpdateDataCursor(TiPlotDataCursor* cursor) override;                   // 40
  void DrawTrace(TCanvas* canvas, bool reversed, TColor backgroundColor) override;    // 41
  void DrawMarkers(TCanvas* canvas, bool reversed, TColor backgroundColor) override;  // 42
  // Checks the order (unless out-of-order values are allowed), then the base's append.
  int AddXY(double x, double y) override;                                     // 43

  // --- Points from the clock. ---
  // X is the time since StartTime, in days or in seconds. The order is not checked.
  int AddYElapsedTime(double y);
  int AddYElapsedSeconds(double y);
  void ResetStartTime();
  // Date-time in days. The time elapsed since comes from a steady clock read from the moment it
  // was set, so a clock set or a daylight-saving change does not move X backward.
  double StartTime() const { return startTime_; }
  void SetStartTime(double value);

  // Raises "New Data-Point X-Value is out of order" (descending data: with a full stop) when x
  // goes against the data's direction and out-of-order values are not allowed; a NaN X is always
  // refused that way once the direction is known.
  void CheckXOrder(double x);

  // --- Searching along X. ---
  bool XAscending() const { return xAscending_; }
  // The first index whose X is >= x (ascending data), -1 outside the data or without an X axis.
  int FindIndex(double x);
  int BinarySearchAscending(double x) const;
  int BinarySearchDescending(double x) const;

  // --- Values between the points. ---
  // status 0: found; 1: the interpolated curve left that column empty ("Null"); 2: no value
  // ("Empty").
  int GetYAtX(double x, double& y);
  bool GetYAtXLinear(double x, double& y);
  // Raises "Pixel List XPixel out of Range" outside the X axis's pixels.
  void SetPixelValue(int pixel, double y);
  const std::vector<TiPlotPixelPoint>& PixelCache() const { return pixels_; }
  int PixelLeft() const { return pixelLeft_; }
  int PixelRight() const { return pixelRight_; }
  int DigitalHighPixel() const { return digitalHighPixel_; }
  int DigitalLowPixel() const { return digitalLowPixel_; }

  // --- Per-point attributes, passed through to the point list. ---
  double GetHighLow1(int index) const { return DataList().GetHighLow1(index); }
  double GetHighLow2(int index) const { return DataList().GetHighLow2(index); }
  double GetOpen(int index) const { return DataList().GetOpen(index); }
  double GetClose(int index) const { return DataList().GetClose(index); }
  bool GetBarVisible(int index) const { return DataList().GetBarVisible(index); }
  double GetBarReference(int index) const { return DataList().GetBarReference(index); }
  double GetBarWidth(int index) const { return DataList().GetBarWidth(index); }
  TColor GetBarPenColor(int index) const { return DataList().GetBarPenColor(index); }
  int GetBarPenWidth(int index) const { return DataList().GetBarPenWidth(index); }
  TPenStyle GetBarPenStyle(int index) const { return DataList().GetBarPenStyle(index); }
  TColor GetBarBrushColor(int index) const { return DataList().GetBarBrushColor(index); }
  TBrushStyle GetBarBrushStyle(int index) const { return DataList().GetBarBrushStyle(index); }

  // --- Drawing steps. ---
  void DrawFill(TCanvas* canvas, bool reversed);
  void DrawBars(TCanvas* canvas, bool reversed, TColor backgroundColor);
  TRect GetBarRect(int index);
  void DrawOpenClose(TCanvas* canvas, bool reversed, TColor backgroundColor);
  void DrawCandleSticks(TCanvas* canvas, bool reversed, TColor backgroundColor);
  void DrawFastLine(TCanvas* canvas, bool reversed);
  void DrawColumns(TCanvas* canvas, bool reversed, const TiPlotMinMaxPoint& r, const TiPlotMinMaxPoint& q,
                   const TiPlotMinMaxPoint& p);
  void DrawSteps(TCanvas* canvas, bool reversed);
  void DrawDigital(TCanvas* canvas, bool reversed);
  void DrawSpline(TCanvas* canvas, bool reversed);
  void DrawPolynomial(TCanvas* canvas, bool reversed);
  void DrawRational(TCanvas* canvas, bool reversed);

  // --- Properties. ---
#define TI_TIME_PROPERTY(Type, Name, field)                  \
  Type Name() const { return field; }                        \
  void Set##Name(Type value) { SetAndChange(field, value); }
  TI_TIME_PROPERTY(bool, FastDrawEnabled, fastDrawEnabled_)
  TI_TIME_PROPERTY(bool, AllowOutOfOrderXValues, allowOutOfOrderXValues_)
  TI_TIME_PROPERTY(bool, DrawOutOfOrderXValues, drawOutOfOrderXValues_)
  TI_TIME_PROPERTY(bool, ResetStartTimeOnFirstDataPoint, resetStartTimeOnFirstDataPoint_)
  TI_TIME_PROPERTY(TiPlotInterpolationStyle, InterpolationStyle, interpolationStyle_)
  TI_TIME_PROPERTY(bool, FillEnabled, fillEnabled_)
  TI_TIME_PROPERTY(double, FillReference, fillReference_)
  TI_TIME_PROPERTY(TBrushStyle, FillStyle, fillStyle_)
  TI_TIME_PROPERTY(TColor, FillColor, fillColor_)
  TI_TIME_PROPERTY(bool, FillUseChannelColor, fillUseChannelColor_)
  TI_TIME_PROPERTY(bool, DigitalEnabled, digitalEnabled_)
  TI_TIME_PROPERTY(TiPlotDigitalReferenceStyle, DigitalReferenceStyle, digitalReferenceStyle_)
  TI_TIME_PROPERTY(double, DigitalReferenceLow, digitalReferenceLow_)
  TI_TIME_PROPERTY(double, DigitalReferenceHigh, digitalReferenceHigh_)
  TI_TIME_PROPERTY(bool, HighLowEnabled, highLowEnabled_)
  TI_TIME_PROPERTY(TiPlotHighLowStyle, HighLowStyle, highLowStyle_)
  TI_TIME_PROPERTY(TColor, HighLowBarColor, highLowBarColor_)
  TI_TIME_PROPERTY(double, HighLowBarWidth, highLowBarWidth_)
  TI_TIME_PROPERTY(bool, HighLowOpenShow, highLowOpenShow_)
  TI_TIME_PROPERTY(bool, HighLowCloseShow, highLowCloseShow_)
  TI_TIME_PROPERTY(TColor, HighLowOpenColor, highLowOpenColor_)
  TI_TIME_PROPERTY(TColor, HighLowCloseColor, highLowCloseColor_)
  TI_TIME_PROPERTY(double, HighLowOpenWidth, highLowOpenWidth_)
  TI_TIME_PROPERTY(double, HighLowCloseWidth, highLowCloseWidth_)
  TI_TIME_PROPERTY(double, HighLowOpenHeight, highLowOpenHeight_)
  TI_TIME_PROPERTY(double, HighLowCloseHeight, highLowCloseHeight_)
  TI_TIME_PROPERTY(TColor, HighLowShadowColor, highLowShadowColor_)
  TI_TIME_PROPERTY(TColor, HighLowBullishColor, highLowBullishColor_)
  TI_TIME_PROPERTY(TColor, HighLowBearishColor, highLowBearishColor_)
  TI_TIME_PROPERTY(bool, BarEnabled, barEnabled_)
  TI_TIME_PROPERTY(bool, BarPenUseChannelColor, barPenUseChannelColor_)
  TI_TIME_PROPERTY(bool, BarBrushUseChannelColor, barBrushUseChannelColor_)
#undef TI_TIME_PROPERTY
  // The bar attributes new points take.
  double BarReference() const { return DataList().PointTemplate().BarReference; }
  void SetBarReference(double value);
  double BarWidth() const { return DataList().PointTemplate().BarWidth; }
  void SetBarWidth(double value);
  TColor BarPenColor() const { return DataList().PointTemplate().BarPenColor; }
  void SetBarPenColor(TColor value);
  TColor BarBrushColor() const { return DataList().PointTemplate().BarBrushColor; }
  void SetBarBrushColor(TColor value);
  int BarPenWidth() const { return DataList().PointTemplate().BarPenWidth; }
  void SetBarPenWidth(int value);
  TPenStyle BarPenStyle() const { return TPenStyle(DataList().PointTemplate().BarPenStyle); }
  void SetBarPenStyle(TPenStyle value);
  TBrushStyle BarBrushStyle() const { return TBrushStyle(DataList().PointTemplate().BarBrushStyle); }
  void SetBarBrushStyle(TBrushStyle value);


 protected:
  bool PointsHittable() override { return MarkersVisible() || barEnabled_; }
  bool PointHitRect(int index, TRect& rect) override;

 private:
  class TiSplineCache;
  // X(1) >= X(0): the direction the data was started in.
  void UpdateXAscending();
  // The visible range is found by scanning rather than searching: asked for, or the data did not
  // all come in the direction its first two points set (XAscending must be up to date).
  bool ScansForVisibleRange() const {
    return drawOutOfOrderXValues_ || !(xAscending_ ? XNonDecreasing() : XNonIncreasing());
  }
  // The lowest and highest index whose X lies in view, -1 when none does.
  void ScanVisibleRange(int& lowest, int& highest);
  double DigitalLevel(bool high) const;
  TColor FillColorInUse() const { return fillUseChannelColor_ ? Color() : fillColor_; }
  bool FillDrawn() const { return fillEnabled_ && fillStyle_ != bsClear; }
  // Days since StartTime, from the steady clock.
  double ElapsedDays() const;
  // The curve of an interpolating style at x, worked out afresh, with GetYAtX's status.
  double CurveAt(TiPlotInterpolationStyle style, double x, int& status);
  // Draws a curve column by column between two X values (either order).
  template <class F>
  void DrawCurve(TCanvas* canvas, bool reversed, double xFrom, double xTo, F&& at);
  // The points a polynomial or rational curve goes through: the valid, finite ones, ordered by X;
  // raises the style's error above the point limit.
  void CollectInterpolationPoints(const QString& error, std::vector<double>& xs, std::vector<double>& ys);
  TPoint ValuePixel(double x, double y, bool reversed);

  std::vector<TiPlotPixelPoint> pixels_;
  int pixelLeft_ = 0, pixelRight_ = 0;
  int digitalHighPixel_ = 0, digitalLowPixel_ = 0;
  bool xAscending_ = true;
  double startTime_ = 0.0;
  // When StartTime was set: the date and time then, and the steady clock then.
  double startWall_ = 0.0;
  double startSteadyMs_ = 0.0;
  std::unique_ptr<TiSplineCache> splines_;

  bool fastDrawEnabled_ = kTimeChannelDefaults.FastDrawEnabled;
  bool allowOutOfOrderXValues_ = kTimeChannelDefaults.AllowOutOfOrderXValues;
  bool drawOutOfOrderXValues_ = kTimeChannelDefaults.DrawOutOfOrderXValues;
  bool resetStartTimeOnFirstDataPoint_ = kTimeChannelDefaults.ResetStartTimeOnFirstDataPoint;
  TiPlotInterpolationStyle interpolationStyle_ = kTimeChannelDefaults.InterpolationStyle;
  bool fillEnabled_ = kTimeChannelDefaults.FillEnabled;
  double fillReference_ = kTimeChannelDefaults.FillReference;
  TBrushStyle fillStyle_ = kTimeChannelDefaults.FillStyle;
  TColor fillColor_ = kTimeChannelDefaults.FillColor;
  bool fillUseChannelColor_ = kTimeChannelDefaults.FillUseChannelColor;
  bool digitalEnabled_ = kTimeChannelDefaults.DigitalEnabled;
  TiPlotDigitalReferenceStyle digitalReferenceStyle_ = kTimeChannelDefaults.DigitalReferenceStyle;
  double digitalReferenceLow_ = kTimeChannelDefaults.DigitalReferenceLow;
  double digitalReferenceHigh_ = kTimeChannelDefaults.DigitalReferenceHigh;
  bool highLowEnabled_ = kTimeChannelDefaults.HighLowEnabled;
  TiPlotHighLowStyle highLowStyle_ = kTimeChannelDefaults.HighLowStyle;
  TColor highLowBarColor_ = kTimeChannelDefaults.HighLowBarColor;
  double highLowBarWidth_ = kTimeChannelDefaults.HighLowBarWidth;
  bool highLowOpenShow_ = kTimeChannelDefaults.HighLowOpenShow;
  bool highLowCloseShow_ = kTimeChannelDefaults.HighLowCloseShow;
  TColor highLowOpenColor_ = kTimeChannelDefaults.HighLowOpenColor;
  TColor highLowCloseColor_ = kTimeChannelDefaults.HighLowCloseColor;
  double highLowOpenWidth_ = kTimeChannelDefaults.HighLowOpenWidth;
  double highLowCloseWidth_ = kTimeChannelDefaults.HighLowCloseWidth;
  double highLowOpenHeight_ = kTimeChannelDefaults.HighLowOpenHeight;
  double highLowCloseHeight_ = kTimeChannelDefaults.HighLowCloseHeight;
  TColor highLowShadowColor_ = kTimeChannelDefaults.HighLowShadowColor;
  TColor highLowBullishColor_ = kTimeChannelDefaults.HighLowBullishColor;
  TColor highLowBearishColor_ = kTimeChannelDefaults.HighLowBearishColor;
  bool barEnabled_ = kTimeChannelDefaults.BarEnabled;
  bool barPenUseChannelColor_ = kTimeChannelDefaults.BarPenUseChannelColor;
  bool barBrushUseChannelColor_ = kTimeChannelDefaults.BarBrushUseChannelColor;

};
