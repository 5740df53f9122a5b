#pragma once
// Data cursors: measuring pointers laid over a data view. One or two pointer lines that the user
// drags or moves with the keys, and a hint box with the values the bound channel (or every
// channel) reads at the pointers.
#include <QString>
#include <QStringList>

#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iPersistent.h"
#include "chart/core/rUdudObjects.h"

class TiPlotDataView;
class TiPlotChannelCustom;
class TiPlotChannel;

// Which side of its pointer the hint box goes.
enum TiOrientationSide : int { iosBottomRight, iosTopLeft };
const QStringList& OrientationSideNames();
const QStringList& DataCursorStyleNames();

// The name that binds a cursor to every channel.
inline const QString& AllChannelsName() {
  static const QString name = QStringLiteral("<All>");
  return name;
}

// The defaults of a data cursor's published properties, each written once: the cursor starts
// from them and its property table declares them.
struct TiPlotDataCursorDefaults {
  bool ChannelAllowAll = true;
  bool ChannelShowAllInLegend = true;
  TiPlotDataCursorStyle Style = ipcsValueXY;
  TColor Color = clYellow;
  bool UseChannelColor = true;
  bool HintShow = true;
  bool HintHideOnRelease = false;
  TiOrientationSide HintOrientationSide = iosBottomRight;
  double HintPosition = 50.0;
  double Pointer1Position = 50.0;
  double Pointer2Position = 60.0;
  int PointerPenWidth = 1;
  bool SnapToDataPoint = false;
  bool UseCachedInterpolatedData = false;
  bool MenuUserCanChangeOptions = true;
  bool MenuItemVisible = true;
};
inline constexpr TiPlotDataCursorDefaults kDataCursorDefaults{};

class TiPlotDataCursor : public TiPlotManagerObject {
  TI_PERSISTENT
 public:
  TiPlotDataCursor(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  // --- Virtual operations. ---
  void SetVisible(bool value) override;                                     // 3
  void SetXYAxesReverse(bool value) override;                               // 5
  void NotifyRemoving(TiPlotPersistent* item) override;                     // 8
  void NotifyRenamed(TiPlotObject* object) override;                        // 9
  void NotifyFocus(TiPlotObject* object) override;                          // 10
  void Draw(TCanvas* canvas, TColor backgroundColor) override;              // 12
  bool HitTest(const TiPlotMouseParams& params) override;                   // 16
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;           // 19
  void DoMouseDrag(const TiPlotMouseParams& params) override;               // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;                 // 22
  // Only a release over a pointer or the hint is the cursor's click: a pointer dragged beyond
  // the data view stays at its edge while the mouse is released elsewhere.
  bool ReleaseIsClick(int x, int y) override { return HitAt(x, y); }
  void DoGotFocus() override;                                               // 25
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;         // 29
  void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) override;   // 30
  void AddMenuItems(TPopupMenu* menu) override;                             // 32

  // --- Other operations. ---
  // The channel ChannelName names, looked up in the chart and kept until the name is set again
  // or the channel leaves; nullptr for "<All>" and for a name that matches no channel.
  TiPlotChannelCustom* BoundChannel();
  // ChannelName is "<All>" (in any letter case).
  bool FollowsAllChannels() const;
  // Decides which pointers exist and how they lie, from Style and XYAxesReverse.
  void SetupPointers();
  // Reads the values under the pointers off the channels; the painting cycle calls it for every
  // cursor at the start of each paint.
  virtual void UpdateValues();
  // Stores a channel's result and raises the chart's change event when anything differs (NaN
  // counts as equal to NaN, so a trace holding NaN does not raise it at every paint).
  void SetValues(int status, double x, double y);
  void SelectAllChannels();
  void SelectChannel(TiPlotChannelCustom* channel);
  void FlipAlignment();
  // --- Snapping to data points (the time chart's cursors only). ---
  // The cursor belongs to a time chart.
  bool InTimeChart() const;
  // Pointer 1, then pointer 2, onto the nearest data point.
  void SnapPointers();
  // Pointer n (1 or 2) onto the data point nearest to its X, with SnapToDataPoint set and a style
  // other than ipcsDeltaY; records the channel and point in SnapChannelIndex and SnapPointIndex.
  void SnapPointer(int n);
  // The index of the point nearest to target along X (-1 for an empty channel or none with a
  // finite X) and its distance (1e300 without one).
  static int FindNearestPoint(TiPlotChannel* channel, double target, double& distance);
  // Pointer n onto the point `offset` points away from index (against the offset on a reversed X
  // axis), scrolling the X axis when the point lies beyond it.
  void MoveToPoint(TiPlotChannel* channel, int index, int pointer, int offset);
  // The hint by `step` pixels along its direction.
  void MoveHint(int step);

  // --- Properties. ---
  const QString& ChannelName() const { return channelName_; }
  void SetChannelName(const QString& value);
  bool ChannelAllowAll() const { return channelAllowAll_; }
  void SetChannelAllowAll(bool value);
  // With "<All>": the legend shows every channel's cursor values.
  bool ChannelShowAllInLegend() const { return channelShowAllInLegend_; }
  void SetChannelShowAllInLegend(bool value);
  TiPlotDataCursorStyle Style() const { return style_; }
  void SetStyle(TiPlotDataCursorStyle value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool UseChannelColor() const { return useChannelColor_; }
  void SetUseChannelColor(bool value);
  bool HintShow() const { return hintShow_; }
  void SetHintShow(bool value);
  bool HintHideOnRelease() const { return hintHideOnRelease_; }
  void SetHintHideOnRelease(bool value);
  TiOrientationSide HintOrientationSide() const { return hintOrientationSide_; }
  void SetHintOrientationSide(TiOrientationSide value);
  // Percent along the pointer; stored as given, held to 0 .. 100 where it is used.
  double HintPosition() const { return hintPosition_; }
  void SetHintPosition(double value);
  // Percent of the data view's width (vertical pointer) or height (horizontal pointer), held to
  // 0 .. 100; anything not >= 0 (NaN too) becomes 0.
  double Pointer1Position() const { return pointer1Position_; }
  void SetPointer1Position(double value);
  double Pointer2Position() const { return pointer2Position_; }
  void SetPointer2Position(double value);
  int PointerPenWidth() const { return pointerPenWidth_; }
  void SetPointerPenWidth(int value);
  // Kept for the time chart, whose pointers snap to data points; the XY chart never snaps.
  bool SnapToDataPoint() const { return snapToDataPoint_; }
  void SetSnapToDataPoint(bool value) { snapToDataPoint_ = value; }
  bool UseCachedInterpolatedData() const { return useCachedInterpolatedData_; }
  void SetUseCachedInterpolatedData(bool value) { useCachedInterpolatedData_ = value; }
  bool MenuUserCanChangeOptions() const { return menuUserCanChangeOptions_; }
  void SetMenuUserCanChangeOptions(bool value) { menuUserCanChangeOptions_ = value; }
  // The six style items of the popup menu, indexed by style: visibility and caption.
  bool MenuItemVisible(TiPlotDataCursorStyle style) const { return menuItems_[style].Visible; }
  void SetMenuItemVisible(TiPlotDataCursorStyle style, bool value) { menuItems_[style].Visible = value; }
  const QString& MenuItemCaption(TiPlotDataCursorStyle style) const { return menuItems_[style].Caption; }
  void SetMenuItemCaption(TiPlotDataCursorStyle style, const QString& value) { menuItems_[style].Caption = value; }
#define TI_CURSOR_MENU_ITEM(Name)                                                                            \
  bool MenuItemVisible##Name() const { return MenuItemVisible(ipcs##Name); }                                 \
  void SetMenuItemVisible##Name(bool value) { SetMenuItemVisible(ipcs##Name, value); }                       \
  const QString& MenuItemCaption##Name() const { return MenuItemCaption(ipcs##Name); }                       \
  void SetMenuItemCaption##Name(const QString& value) { SetMenuItemCaption(ipcs##Name, value); }
  TI_CURSOR_MENU_ITEM(ValueXY)
  TI_CURSOR_MENU_ITEM(ValueX)
  TI_CURSOR_MENU_ITEM(ValueY)
  TI_CURSOR_MENU_ITEM(DeltaX)
  TI_CURSOR_MENU_ITEM(DeltaY)
  TI_CURSOR_MENU_ITEM(InverseDeltaX)
#undef TI_CURSOR_MENU_ITEM

  // --- State of the last drawing, the values and the mouse. ---
  // The data view the cursor lives in, or nullptr; not owned. Without one the cursor neither
  // draws nor reacts.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }
  bool Pointer1Shown() const { return pointer1Shown_; }
  bool Pointer2Shown() const { return pointer2Shown_; }
  bool Pointer1Horizontal() const { return pointer1Horizontal_; }
  bool Pointer2Horizontal() const { return pointer2Horizontal_; }
  // True: the hint slides horizontally (beside horizontal pointers).
  bool HintAlongX() const { return hintAlongX_; }
  bool HintVisible() const { return hintVisible_; }
  TRect Pointer1Rect() const { return pointer1Rect_; }
  TRect Pointer2Rect() const { return pointer2Rect_; }
  TRect HintRect() const { return hintRect_; }
  int HintWidth() const { return hintWidth_; }
  int HintHeight() const { return hintHeight_; }
  // Filled by the channel's UpdateDataCursor.
  const QString& HintText() const { return hintText_; }
  void SetHintText(const QString& value) { hintText_ = value; }
  double ValueX() const { return valueX_; }
  double ValueY() const { return valueY_; }
  int ValueStatus() const { return valueStatus_; }
  bool DraggingHint() const { return draggingHint_; }
  bool DraggingPointer1() const { return draggingPointer1_; }
  bool DraggingPointer2() const { return draggingPointer2_; }
  int SnapChannelIndex() const { return snapChannelIndex_; }
  int SnapPointIndex() const { return snapPointIndex_; }

 private:
  struct TMenuItemSetting {
    bool Visible = kDataCursorDefaults.MenuItemVisible;
    QString Caption;
  };
  // A repaint now, not a change: dragging and keys write positions directly.
  void RepaintNow();
  TColor PointerColor();
  void DrawPointer(TCanvas* canvas, bool horizontal, double position, TRect& grabRect);
  void DrawHint(TCanvas* canvas, TColor pointerColor);
  bool IsDeltaStyle() const;
  // The value of one drag step along the free direction of the grabbed item.
  double DragPercent(bool alongX, const TiPlotMouseParams& params) const;
  // A key with snapping: the pointer it moves snaps, then moves by points from there.
  void SnapByKey(int key, TShiftState shift);
  // Moves a pointer by a key; false when the key does not move it.
  bool MovePointerByKey(int key, bool shown, bool horizontal, double h, double v, double& position) const;

  TPoint pressPixel_;
  TPoint pressMouse_;
  bool draggingHint_ = false;
  bool draggingPointer1_ = false;
  bool draggingPointer2_ = false;
  TRect pointer1Rect_{};
  TRect pointer2Rect_{};
  bool pointer1Shown_ = false;
  bool pointer2Shown_ = false;
  bool pointer1Horizontal_ = false;
  bool pointer2Horizontal_ = false;
  TRect hintRect_{};
  bool hintAlongX_ = false;
  bool hintVisible_ = false;
  TiPlotChannelCustom* boundChannel_ = nullptr;
  TiPlotDataView* dataView_ = nullptr;
  // A key reaches the cursor twice per press; it acts once.
  unsigned lastKeyPress_ = 0;

  QString channelName_;
  bool channelAllowAll_ = kDataCursorDefaults.ChannelAllowAll;
  bool channelShowAllInLegend_ = kDataCursorDefaults.ChannelShowAllInLegend;
  TiPlotDataCursorStyle style_ = kDataCursorDefaults.Style;
  TiFont font_;
  TColor color_ = kDataCursorDefaults.Color;
  bool useChannelColor_ = kDataCursorDefaults.UseChannelColor;
  bool hintShow_ = kDataCursorDefaults.HintShow;
  bool hintHideOnRelease_ = kDataCursorDefaults.HintHideOnRelease;
  TiOrientationSide hintOrientationSide_ = kDataCursorDefaults.HintOrientationSide;
  double hintPosition_ = kDataCursorDefaults.HintPosition;
  double pointer1Position_ = kDataCursorDefaults.Pointer1Position;
  double pointer2Position_ = kDataCursorDefaults.Pointer2Position;
  int pointerPenWidth_ = kDataCursorDefaults.PointerPenWidth;
  bool snapToDataPoint_ = kDataCursorDefaults.SnapToDataPoint;
  bool useCachedInterpolatedData_ = kDataCursorDefaults.UseCachedInterpolatedData;
  bool menuUserCanChangeOptions_ = kDataCursorDefaults.MenuUserCanChangeOptions;
  TMenuItemSetting menuItems_[6];

  int hintHeight_ = 0;
  int hintWidth_ = 0;
  QString hintText_;
  double valueX_ = 0.0;
  double valueY_ = 0.0;
  int valueStatus_ = 0;
  int snapChannelIndex_ = -1;
  int snapPointIndex_ = -1;
};
