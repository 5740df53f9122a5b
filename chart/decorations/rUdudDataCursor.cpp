#include "chart/decorations/rUdudDataCursor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "chart/channels/rUdud.h"
#include "chart/core/iGPFunctions.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataView.h"
#include "platform/Canvas.h"
#include "platform/Menus.h"

const QStringList& OrientationSideNames() {
  static const QStringList names{QStringLiteral("iosBottomRight"), QStringLiteral("iosTopLeft")};
  return names;
}

const QStringList& DataCursorStyleNames() {
  static const QStringList names{QStringLiteral("ipcsValueXY"), QStringLiteral("ipcsValueX"), QStringLiteral("ipcsValueY"),
                                 QStringLiteral("ipcsDeltaX"),  QStringLiteral("ipcsDeltaY"), QStringLiteral("ipcsInverseDeltaX")};
  return names;
}

namespace {
// Half the grab width of a pointer line: 5 pixels before it, 5 after (the right and bottom edges
// of a rectangle are outside it).
constexpr int kGrab = 5;
// The gap between a pointer and a hint beside it.
constexpr int kHintGap = 5;

const TiPlotDataCursorStyle kStyles[] = {ipcsValueXY, ipcsValueX, ipcsValueY, ipcsDeltaX, ipcsDeltaY, ipcsInverseDeltaX};
const char* const kDefaultCaptions[] = {"Value X-Y", "Value X", "Value Y", "Period", "Peak-Peak", "Frequency"};

// A percentage as stored positions hold it: above 100 is 100, anything not >= 0 (NaN too) is 0.
double HeldPercent(double value) {
  if (!(value >= 0)) return 0;
  return value > 100 ? 100 : value;
}

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TiPlotComponent* ChartOf(const TiPlotObject* object) { return dynamic_cast<TiPlotComponent*>(object->Owner()); }

void RaiseChange(TiPlotDataCursor* cursor) {
  if (TiPlotComponent* chart = ChartOf(cursor))
    chart->DispatchObjectEvent<TiPlotObjectEvent>(cursor, {{ipokDataCursor, &chart->OnDataCursorChange}});
}

// The cursor whose values every channel is handing in, one after the other (the chart's thread
// only; a nested round of another cursor restores the outer one when it ends).
class TAllChannelsRound {
 public:
  explicit TAllChannelsRound(const TiPlotDataCursor* cursor) : outer_(current_) { current_ = cursor; }
  ~TAllChannelsRound() { current_ = outer_; }
  TAllChannelsRound(const TAllChannelsRound&) = delete;
  TAllChannelsRound& operator=(const TAllChannelsRound&) = delete;
  static bool Running(const TiPlotDataCursor* cursor) { return current_ == cursor; }

 private:
  static inline const TiPlotDataCursor* current_ = nullptr;
  const TiPlotDataCursor* outer_;
};

int CentreX(const TRect& r) { return (r.Left + r.Right) / 2; }
int CentreY(const TRect& r) { return (r.Top + r.Bottom) / 2; }

void Shift(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
}

// Line breaks of a title would break the menu item.
QString OneLine(QString text) {
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  return text;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Properties

const TiClassInfo& TiPlotDataCursor::StaticClassInfo() {
  using C = TiPlotDataCursor;
  const TiPlotDataCursorDefaults& d = kDataCursorDefaults;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotDataCursor"), &TiPlotManagerObject::StaticClassInfo())
          .Redefault(QStringLiteral("Visible"), 0)
          .String(QStringLiteral("ChannelName"), &C::ChannelName, &C::SetChannelName, QString())
          .Boolean(QStringLiteral("ChannelAllowAll"), &C::ChannelAllowAll, &C::SetChannelAllowAll, d.ChannelAllowAll)
          .Boolean(QStringLiteral("ChannelShowAllInLegend"), &C::ChannelShowAllInLegend, &C::SetChannelShowAllInLegend,
                   d.ChannelShowAllInLegend)
          .Enumeration<TiPlotDataCursorStyle>(QStringLiteral("Style"), &C::Style, &C::SetStyle, d.Style, DataCursorStyleNames())
          .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
          .Color(QStringLiteral("Color"), &C::Color, &C::SetColor, d.Color)
          .Boolean(QStringLiteral("UseChannelColor"), &C::UseChannelColor, &C::SetUseChannelColor, d.UseChannelColor)
          .Boolean(QStringLiteral("HintShow"), &C::HintShow, &C::SetHintShow, d.HintShow)
          .Boolean(QStringLiteral("HintHideOnRelease"), &C::HintHideOnRelease, &C::SetHintHideOnRelease, d.HintHideOnRelease)
          .Enumeration<TiOrientationSide>(QStringLiteral("HintOrientationSide"), &C::HintOrientationSide,
                                          &C::SetHintOrientationSide, d.HintOrientationSide, OrientationSideNames())
          .Float(QStringLiteral("HintPosition"), &C::HintPosition, &C::SetHintPosition, d.HintPosition)
          .Float(QStringLiteral("Pointer1Position"), &C::Pointer1Position, &C::SetPointer1Position, d.Pointer1Position)
          .Float(QStringLiteral("Pointer2Position"), &C::Pointer2Position, &C::SetPointer2Position, d.Pointer2Position)
          .Integer(QStringLiteral("PointerPenWidth"), &C::PointerPenWidth, &C::SetPointerPenWidth, d.PointerPenWidth)
          .Boolean(QStringLiteral("SnapToDataPoint"), &C::SnapToDataPoint, &C::SetSnapToDataPoint, d.SnapToDataPoint)
          .Boolean(QStringLiteral("UseCachedInterpolatedData"), &C::UseCachedInterpolatedData,
                   &C::SetUseCachedInterpolatedData, d.UseCachedInterpolatedData)
          .Boolean(QStringLiteral("MenuUserCanChangeOptions"), &C::MenuUserCanChangeOptions,
                   &C::SetMenuUserCanChangeOptions, d.MenuUserCanChangeOptions)
          .Boolean(QStringLiteral("MenuItemVisibleValueXY"), &C::MenuItemVisibleValueXY, &C::SetMenuItemVisibleValueXY, d.MenuItemVisible)
          .Boolean(QStringLiteral("MenuItemVisibleValueX"), &C::MenuItemVisibleValueX, &C::SetMenuItemVisibleValueX, d.MenuItemVisible)
          .Boolean(QStringLiteral("MenuItemVisibleValueY"), &C::MenuItemVisibleValueY, &C::SetMenuItemVisibleValueY, d.MenuItemVisible)
          .Boolean(QStringLiteral("MenuItemVisibleDeltaX"), &C::MenuItemVisibleDeltaX, &C::SetMenuItemVisibleDeltaX, d.MenuItemVisible)
          .Boolean(QStringLiteral("MenuItemVisibleDeltaY"), &C::MenuItemVisibleDeltaY, &C::SetMenuItemVisibleDeltaY, d.MenuItemVisible)
          .Boolean(QStringLiteral("MenuItemVisibleInverseDeltaX"), &C::MenuItemVisibleInverseDeltaX,
                   &C::SetMenuItemVisibleInverseDeltaX, d.MenuItemVisible)
          .String(QStringLiteral("MenuItemCaptionValueXY"), &C::MenuItemCaptionValueXY, &C::SetMenuItemCaptionValueXY,
                  QString::fromLatin1(kDefaultCaptions[ipcsValueXY]))
          .String(QStringLiteral("MenuItemCaptionValueX"), &C::MenuItemCaptionValueX, &C::SetMenuItemCaptionValueX,
                  QString::fromLatin1(kDefaultCaptions[ipcsValueX]))
          .String(QStringLiteral("MenuItemCaptionValueY"), &C::MenuItemCaptionValueY, &C::SetMenuItemCaptionValueY,
                  QString::fromLatin1(kDefaultCaptions[ipcsValueY]))
          .String(QStringLiteral("MenuItemCaptionDeltaX"), &C::MenuItemCaptionDeltaX, &C::SetMenuItemCaptionDeltaX,
                  QString::fromLatin1(kDefaultCaptions[ipcsDeltaX]))
          .String(QStringLiteral("MenuItemCaptionDeltaY"), &C::MenuItemCaptionDeltaY, &C::SetMenuItemCaptionDeltaY,
                  QString::fromLatin1(kDefaultCaptions[ipcsDeltaY]))
          .String(QStringLiteral("MenuItemCaptionInverseDeltaX"), &C::MenuItemCaptionInverseDeltaX,
                  &C::SetMenuItemCaptionInverseDeltaX,
                  QString::fromLatin1(kDefaultCaptions[ipcsInverseDeltaX]))
          .Build();
  return info;
}

TiPlotDataCursor::TiPlotDataCursor(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotManagerObject(owner, handlers) {
  for (TiPlotDataCursorStyle s : kStyles) menuItems_[s].Caption = QString::fromLatin1(kDefaultCaptions[s]);
  font_.OnChange = [this] { DoChange(); };
  // A new cursor waits to be switched on; set before it announces itself.
  TiPlotManagerObject::SetVisible(false);
  SetupPointers();
}

void TiPlotDataCursor::SetChannelName(const QString& value) {
  if (value == channelName_) return;
  channelName_ = value;
  boundChannel_ = nullptr;
  DoChange();
}

void TiPlotDataCursor::SetChannelAllowAll(bool value) { SetAndChange(channelAllowAll_, value); }
void TiPlotDataCursor::SetChannelShowAllInLegend(bool value) { SetAndChange(channelShowAllInLegend_, value); }

void TiPlotDataCursor::SetStyle(TiPlotDataCursorStyle value) {
  if (value == style_) return;
  style_ = value;
  SetupPointers();
  DoChange();
}

void TiPlotDataCursor::SetColor(TColor value) { SetAndChange(color_, value); }
void TiPlotDataCursor::SetUseChannelColor(bool value) { SetAndChange(useChannelColor_, value); }
void TiPlotDataCursor::SetHintShow(bool value) { SetAndChange(hintShow_, value); }
void TiPlotDataCursor::SetHintHideOnRelease(bool value) { SetAndChange(hintHideOnRelease_, value); }
void TiPlotDataCursor::SetHintOrientationSide(TiOrientationSide value) { SetAndChange(hintOrientationSide_, value); }

void TiPlotDataCursor::SetHintPosition(double value) {
  if (SameValue(value, hintPosition_)) return;
  hintPosition_ = value;
  DoChange();
}

void TiPlotDataCursor::SetPointer1Position(double value) { SetAndChange(pointer1Position_, HeldPercent(value)); }
void TiPlotDataCursor::SetPointer2Position(double value) { SetAndChange(pointer2Position_, HeldPercent(value)); }
// A size on the chart: held to its drawable range.
void TiPlotDataCursor::SetPointerPenWidth(int value) { SetAndChange(pointerPenWidth_, ClampCoordinate(value, 0)); }

// ---------------------------------------------------------------------------------------------
// Chart links

bool TiPlotDataCursor::FollowsAllChannels() const { return channelName_.compare(AllChannelsName(), Qt::CaseInsensitive) == 0; }

// A miss is not kept: the channel may be added or renamed later.
TiPlotChannelCustom* TiPlotDataCursor::BoundChannel() {
  if (FollowsAllChannels()) return nullptr;
  if (!boundChannel_)
    if (const TiPlotComponent* chart = ChartOf(this)) boundChannel_ = chart->FindChannel(channelName_);
  return boundChannel_;
}

void TiPlotDataCursor::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotManagerObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
  if (boundChannel_ && static_cast<TiPlotPersistent*>(boundChannel_) == item) boundChannel_ = nullptr;
}

void TiPlotDataCursor::NotifyRenamed(TiPlotObject* object) {
  TiPlotManagerObject::NotifyRenamed(object);
  // The cursor stays on the same channel; only the stored name follows it.
  if (object && boundChannel_ == object) channelName_ = object->Name();
}

void TiPlotDataCursor::NotifyFocus(TiPlotObject* object) {
  TiPlotManagerObject::NotifyFocus(object);
  if (!object || object == this || !object->HasFocus()) return;
  if (auto* channel = dynamic_cast<TiPlotChannelCustom*>(object)) {
    if (channel == BoundChannel()) return;
    if (HasFocus()) {
      // The focused cursor follows the channel the user picks.
      SetChannelName(channel->Name());
      return;
    }
  }
  SetFocused(false);
}

void TiPlotDataCursor::DoGotFocus() {
  const TiPlotLifeGuard life(this);
  TiPlotManagerObject::DoGotFocus();
  if (life.Gone()) return;
  if (TiPlotChannelCustom* channel = BoundChannel()) channel->SetFocused(true);
}

void TiPlotDataCursor::SetVisible(bool value) {
  TiPlotManagerObject::SetVisible(value);
  if (value && Visible()) UpdateValues();
}

void TiPlotDataCursor::SetXYAxesReverse(bool value) {
  TiPlotManagerObject::SetXYAxesReverse(value);
  SetupPointers();
}

void TiPlotDataCursor::RepaintNow() {
  if (OnFocusChange) OnFocusChange(this);
}

// ---------------------------------------------------------------------------------------------
// Values

void TiPlotDataCursor::SetupPointers() {
  bool shown1 = false, shown2 = false;
  bool horizontal1 = pointer1Horizontal_, horizontal2 = pointer2Horizontal_;
  bool alongX = false;
  // The time chart reads Y off its channels at pointer 1's X: one vertical pointer.
  const bool timeChart = InTimeChart();
  switch (style_) {
    case ipcsValueXY:
      shown1 = true;
      horizontal1 = false;
      if (!timeChart) {
        shown2 = true;
        horizontal2 = true;
      }
      break;
    case ipcsValueX:
      shown1 = true;
      horizontal1 = false;
      break;
    case ipcsValueY:
      if (timeChart) {
        shown1 = true;
        horizontal1 = false;
        break;
      }
      shown2 = true;
      horizontal2 = true;
      alongX = true;
      break;
    case ipcsDeltaX:
    case ipcsInverseDeltaX:
      shown1 = shown2 = true;
      horizontal1 = horizontal2 = false;
      break;
    case ipcsDeltaY:
      shown1 = shown2 = true;
      horizontal1 = horizontal2 = true;
      alongX = true;
      break;
  }
  // With the axes exchanged every shown line turns. A hidden pointer keeps its flag as it was,
  // so that setting the style again does not turn it back and forth.
  if (XYAxesReverse()) {
    if (shown1) horizontal1 = !horizontal1;
    if (shown2) horizontal2 = !horizontal2;
    alongX = !alongX;
  }
  pointer1Shown_ = shown1;
  pointer2Shown_ = shown2;
  pointer1Horizontal_ = horizontal1;
  pointer2Horizontal_ = horizontal2;
  hintAlongX_ = alongX;
}

void TiPlotDataCursor::UpdateValues() {
  const TiPlotLifeGuard life(this);
  TiPlotComponent* chart = ChartOf(this);
  if (chart) chart->DispatchObjectEvent<TiPlotObjectEvent>(this, {{ipokDataCursor, &chart->OnBeforeDataCursorUpdate}});
  if (life.Gone()) return;
  if (FollowsAllChannels()) {
    if (!chart) return;
    // Every channel hands its values in turn; channels on other axes read other values, so a
    // change is told once for the round, by the values it ends with, and an unchanged chart
    // raises nothing at every paint.
    const double x = valueX_, y = valueY_;
    const int status = valueStatus_;
    {
      const TAllChannelsRound round(this);
      for (int i = 0; i < chart->ChannelCount(); ++i) {
        chart->Channel(i)->UpdateDataCursor(this);
        if (life.Gone()) return;
      }
    }
    if (!SameValue(x, valueX_) || !SameValue(y, valueY_) || status != valueStatus_) RaiseChange(this);
  } else if (TiPlotChannelCustom* channel = BoundChannel()) {
    channel->UpdateDataCursor(this);
  }
}

void TiPlotDataCursor::SetValues(int status, double x, double y) {
  if (SameValue(x, valueX_) && SameValue(y, valueY_) && status == valueStatus_) return;
  valueX_ = x;
  valueY_ = y;
  valueStatus_ = status;
  if (!TAllChannelsRound::Running(this)) RaiseChange(this);
}

bool TiPlotDataCursor::IsDeltaStyle() const { return style_ == ipcsDeltaX || style_ == ipcsDeltaY || style_ == ipcsInverseDeltaX; }

// ---------------------------------------------------------------------------------------------
// Drawing

TColor TiPlotDataCursor::PointerColor() {
  if (useChannelColor_)
    if (TiPlotChannelCustom* channel = BoundChannel()) return channel->Color();
  return color_;
}

void TiPlotDataCursor::Draw(TCanvas* canvas, TColor) {
  // What is not drawn cannot be grabbed.
  pointer1Rect_ = pointer2Rect_ = hintRect_ = TRect{};
  hintVisible_ = false;
  if (!canvas || !dataView_ || !Visible()) return;
  const TiPlotLifeGuard life(this);
  UpdateValues();
  // A handler of the update may have removed the cursor or its data view.
  if (life.Gone() || !dataView_) return;
  const TColor color = PointerColor();
  canvas->Pen().Color = color;
  canvas->Pen().Style = psSolid;
  if (pointer1Shown_) {
    canvas->Pen().Width = draggingPointer1_ ? 0 : pointerPenWidth_;
    DrawPointer(canvas, pointer1Horizontal_, pointer1Position_, pointer1Rect_);
  }
  if (pointer2Shown_) {
    canvas->Pen().Width = draggingPointer2_ ? 0 : pointerPenWidth_;
    DrawPointer(canvas, pointer2Horizontal_, pointer2Position_, pointer2Rect_);
  }
  hintVisible_ = hintShow_ && !FollowsAllChannels() && !(hintHideOnRelease_ && !draggingPointer1_ && !draggingPointer2_);
  if (hintVisible_) DrawHint(canvas, color);
}

void TiPlotDataCursor::DrawPointer(TCanvas* canvas, bool horizontal, double position, TRect& grabRect) {
  const TRect d = dataView_->GetLayoutRect();
  const double percent = HeldPercent(position);
  if (horizontal) {
    const int y = dataView_->PercentToPixelY(percent);
    canvas->MoveTo(d.Left, y);
    canvas->LineTo(d.Right, y);
    grabRect = Rect(d.Left, y - kGrab, d.Right, y + kGrab + 1);
  } else {
    const int x = dataView_->PercentToPixelX(percent);
    canvas->MoveTo(x, d.Top);
    canvas->LineTo(x, d.Bottom);
    grabRect = Rect(x - kGrab, d.Top, x + kGrab + 1, d.Bottom);
  }
}

void TiPlotDataCursor::DrawHint(TCanvas* canvas, TColor pointerColor) {
  TiPlotChannelCustom* channel = BoundChannel();
  QString text = channel ? hintText_ : Translate(QStringLiteral("No Channel"));
  if (TiPlotComponent* chart = ChartOf(this)) {
    const TiPlotLifeGuard life(this);
    chart->DispatchObjectEvent<TiPlotObjectCustomizeTextEvent>(this, {{ipokDataCursor, &chart->OnDataCursorCustomizeHint}}, text);
    if (life.Gone() || !dataView_) return;
    channel = BoundChannel();
  }
  canvas->Pen().Style = psSolid;
  canvas->Pen().Width = 0;
  canvas->Font() = font_.Font();

  const int tw = TextMaxLineWidth(*canvas, text);
  const int th = TextHeightWrapped(*canvas, text, tw);
  const int aw = canvas->TextWidth(QStringLiteral("A"));
  hintHeight_ = aw / 2 + th;
  hintWidth_ = tw + aw;
  const int hw = hintWidth_ / 2, hh = hintHeight_ / 2;
  const TRect d = dataView_->GetLayoutRect();
  const bool delta = IsDeltaStyle();
  // The pointer the hint sits beside: pointer 1, or pointer 2 when pointer 1 is not shown.
  const TRect beside = pointer1Shown_ ? pointer1Rect_ : pointer2Rect_;
  const double along = HeldPercent(hintPosition_);
  TRect box;
  // The side is written straight into the field: a paint must not ask for the next paint.
  if (!hintAlongX_) {
    int c = CentreX(beside);
    if (c + kHintGap + aw + tw > d.Right) hintOrientationSide_ = iosTopLeft;
    if (c - kHintGap - aw - tw < d.Left) hintOrientationSide_ = iosBottomRight;
    const int y = dataView_->PercentToPixelY(along);
    if (delta) {
      c = (pointer1Rect_.Left + pointer1Rect_.Right + pointer2Rect_.Left + pointer2Rect_.Right) / 4;
      box = Rect(c - hw, y - hh, c + hw, y + hh);
    } else if (hintOrientationSide_ == iosBottomRight) {
      box = Rect(c + kHintGap, y - hh, c + kHintGap + tw + aw, y + hh);
    } else {
      box = Rect(c - kHintGap - tw - aw, y - hh, c - kHintGap, y + hh);
    }
  } else {
    int c = CentreY(beside);
    if (c + aw + th > d.Bottom) hintOrientationSide_ = iosTopLeft;
    if (c - aw - th < d.Top) hintOrientationSide_ = iosBottomRight;
    const int x = dataView_->PercentToPixelX(along);
    if (delta) {
      c = (pointer1Rect_.Top + pointer1Rect_.Bottom + pointer2Rect_.Top + pointer2Rect_.Bottom) / 4;
      box = Rect(x - hw, c - hh, x + hw, c + hh);
    } else if (hintOrientationSide_ == iosBottomRight) {
      box = Rect(x - hw, c + kHintGap, x + hw, c + kHintGap + hintHeight_);
    } else {
      box = Rect(x - hw, c - kHintGap - hintHeight_, x + hw, c - kHintGap);
    }
  }
  // Kept inside the data view by shifting.
  if (box.Left < d.Left) Shift(box, d.Left - box.Left, 0);
  if (box.Right > d.Right) Shift(box, d.Right - box.Right, 0);
  if (box.Top < d.Top) Shift(box, 0, d.Top - box.Top);
  if (box.Bottom > d.Bottom) Shift(box, 0, d.Bottom - box.Bottom);
  hintRect_ = box;

  if (delta) {
    // A dotted line joins the two pointers through the box.
    canvas->Pen().Color = pointerColor;
    canvas->Pen().Style = psDot;
    canvas->Brush().Style = bsClear;
    if (!hintAlongX_) {
      canvas->MoveTo(CentreX(pointer1Rect_), CentreY(box));
      canvas->LineTo(CentreX(pointer2Rect_), CentreY(box));
    } else {
      canvas->MoveTo(CentreX(box), CentreY(pointer1Rect_));
      canvas->LineTo(CentreX(box), CentreY(pointer2Rect_));
    }
  }

  canvas->Pen().Style = psSolid;
  canvas->Pen().Color = (useChannelColor_ && channel) ? channel->Color() : clBlack;
  canvas->Brush().Style = bsSolid;
  canvas->Brush().Color = clInfoBk;
  canvas->Font().Color = clInfoText;
  canvas->Rectangle(box);
  TRect textRect = Rect(box.Left + 2, box.Top + 1, box.Left + 2 + tw, box.Top + 1 + th);
  TTextOptions options{TTextOption::Left};
  options.Include(TTextOption::WordBreak).Include(TTextOption::NoClip);
  DrawTextOptions(*canvas, text, textRect, clInfoText, true, options);
  canvas->Brush().Style = bsClear;
  canvas->Rectangle(box);
  if (HasFocus()) {
    canvas->Font().Color = clWhite;
    DrawFocusRectangle(*canvas, Rect(box.Left - 2, box.Top - 2, box.Right + 2, box.Bottom + 2));
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse

bool TiPlotDataCursor::HitTest(const TiPlotMouseParams& params) {
  if (!dataView_) return false;
  const TPoint p{params.X, params.Y};
  return (pointer1Shown_ && PtInRect(pointer1Rect_, p)) || (pointer2Shown_ && PtInRect(pointer2Rect_, p)) ||
         (hintVisible_ && PtInRect(hintRect_, p));
}

void TiPlotDataCursor::DoMouseDownLeft(const TiPlotMouseParams& params) {
  pressMouse_ = {params.X, params.Y};
  if (!dataView_) return;
  const TPoint p = pressMouse_;
  auto pressAt = [this](double percent) {
    const double held = HeldPercent(percent);
    pressPixel_ = {dataView_->PercentToPixelX(held), dataView_->PercentToPixelY(held)};
  };
  const TiPlotLifeGuard life(this);
  // The hint over a pointer takes the press; pointer 1 comes before pointer 2.
  if (hintVisible_ && PtInRect(hintRect_, p)) {
    pressAt(hintPosition_);
    draggingHint_ = true;
    RepaintNow();
    return;
  }
  bool* dragging = nullptr;
  if (pointer1Shown_ && PtInRect(pointer1Rect_, p)) {
    pressAt(pointer1Position_);
    dragging = &draggingPointer1_;
  } else if (pointer2Shown_ && PtInRect(pointer2Rect_, p)) {
    pressAt(pointer2Position_);
    dragging = &draggingPointer2_;
  } else {
    return;
  }
  *dragging = true;
  RepaintNow();
  if (life.Gone()) return;
  UpdateValues();
}

double TiPlotDataCursor::DragPercent(bool alongX, const TiPlotMouseParams& params) const {
  // In 64 bits and held to the drawable range: the mouse may report far-off points.
  const std::int64_t x = std::int64_t(pressPixel_.X) + params.X - pressMouse_.X;
  const std::int64_t y = std::int64_t(pressPixel_.Y) + params.Y - pressMouse_.Y;
  return HeldPercent(alongX ? dataView_->PixelToPercentX(ClampCoordinate(x)) : dataView_->PixelToPercentY(ClampCoordinate(y)));
}

void TiPlotDataCursor::DoMouseDrag(const TiPlotMouseParams& params) {
  if (!dataView_) return;
  // Written straight into the fields: a drag step is a repaint, not a property change.
  if (draggingHint_)
    hintPosition_ = DragPercent(hintAlongX_, params);
  else if (draggingPointer1_)
    pointer1Position_ = DragPercent(!pointer1Horizontal_, params);
  else if (draggingPointer2_)
    pointer2Position_ = DragPercent(!pointer2Horizontal_, params);
  else
    return;
  const TiPlotLifeGuard life(this);
  UpdateValues();
  if (life.Gone()) return;
  RepaintNow();
}

void TiPlotDataCursor::DoMouseUp(const TiPlotMouseParams&) {
  if (!draggingHint_ && !draggingPointer1_ && !draggingPointer2_) return;
  const TiPlotLifeGuard life(this);
  // A released pointer lands on a data point.
  if (draggingPointer1_) SnapPointer(1);
  else if (draggingPointer2_) SnapPointer(2);
  if (life.Gone()) return;
  draggingHint_ = draggingPointer1_ = draggingPointer2_ = false;
  RepaintNow();
}

TCursor TiPlotDataCursor::GetMouseCursor(const TiPlotMouseParams&) {
  TCursor cursor = crHandPoint;
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TiPlotDataCursor::MovePointerByKey(int key, bool shown, bool horizontal, double h, double v, double& position) const {
  const double page = horizontal ? 5 * v : 5 * h;
  switch (key) {
    case VK_PRIOR: position += page; return true;
    case VK_NEXT: position -= page; return true;
    case VK_END: position = 100; return true;
    case VK_HOME: position = 0; return true;
    case VK_LEFT:
      if (!shown || horizontal) return false;
      position -= h;
      return true;
    case VK_RIGHT:
      if (!shown || horizontal) return false;
      position += h;
      return true;
    case VK_UP:
      if (!shown || !horizontal) return false;
      position += v;
      return true;
    case VK_DOWN:
      if (!shown || !horizontal) return false;
      position -= v;
      return true;
    default: return false;
  }
}

void TiPlotDataCursor::DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) {
  const TiPlotLifeGuard life(this);
  TiPlotManagerObject::DoKeyDown(key, shift, menu);
  if (life.Gone() || !dataView_) return;
  // Within one key press the key reaches the cursor twice: first in the control's pre-processing
  // with no modifiers, then delivered with the real ones. The cursor acts once, on the delivery,
  // so that Ctrl reaches it. Outside a press (a direct call) it acts at once.
  const TiPlotComponent* chart = ChartOf(this);
  const unsigned press = chart ? chart->KeyPressNumber() : 0;
  if (press != 0) {
    if (press != lastKeyPress_) {
      lastKeyPress_ = press;   // the first delivery: wait for the second
      return;
    }
    lastKeyPress_ = 0;
  }

  if (snapToDataPoint_ && InTimeChart()) {
    SnapByKey(key, shift);
    return;
  }
  const double h = std::fabs(dataView_->PixelToPercentX(101) - dataView_->PixelToPercentX(100));
  const double v = std::fabs(dataView_->PixelToPercentY(100) - dataView_->PixelToPercentY(101));
  // Every key ends with the positions held to 0 .. 100 and a repaint, also one that moves nothing.
  if (shift & ssCtrl) {
    if (pointer2Shown_) MovePointerByKey(key, true, pointer2Horizontal_, h, v, pointer2Position_);
  } else {
    MovePointerByKey(key, pointer1Shown_, pointer1Horizontal_, h, v, pointer1Position_);
    if (hintShow_) {
      if (hintAlongX_ && key == VK_LEFT) hintPosition_ -= h;
      if (hintAlongX_ && key == VK_RIGHT) hintPosition_ += h;
      if (!hintAlongX_ && key == VK_UP) hintPosition_ += v;
      if (!hintAlongX_ && key == VK_DOWN) hintPosition_ -= v;
    }
  }
  hintPosition_ = HeldPercent(hintPosition_);
  pointer1Position_ = HeldPercent(pointer1Position_);
  pointer2Position_ = HeldPercent(pointer2Position_);
  RepaintNow();
}

// ---------------------------------------------------------------------------------------------
// Menu

void TiPlotDataCursor::SelectAllChannels() {
  const TiPlotLifeGuard life(this);
  SetChannelName(AllChannelsName());
  TiPlotComponent* chart = ChartOf(this);
  if (life.Gone() || !chart) return;
  for (int i = 0; i < chart->ChannelCount(); ++i) chart->Channel(i)->SetFocused(false);
}

void TiPlotDataCursor::SelectChannel(TiPlotChannelCustom* channel) {
  if (!channel) return;
  const TiPlotLifeGuard life(this), channelLife(channel);
  SetChannelName(channel->Name());
  if (life.Gone() || channelLife.Gone()) return;
  channel->SetFocused(true);
  if (life.Gone()) return;
  SnapPointers();
}

void TiPlotDataCursor::FlipAlignment() {
  SetHintOrientationSide(hintOrientationSide_ == iosTopLeft ? iosBottomRight : iosTopLeft);
}

void TiPlotDataCursor::AddMenuItems(TPopupMenu* menu) {
  TiPlotManagerObject::AddMenuItems(menu);
  if (!menu) return;
  const TiPlotLifeGuard life(this);
  // Each command first checks that the cursor is still there.
  auto command = [life](std::function<void()> action) {
    return [life, action = std::move(action)] {
      if (!life.Gone()) action();
    };
  };

  TMenuItem* channels = menu->Items().Add(Translate(QStringLiteral("Channel")));
  if (channelAllowAll_) {
    TMenuItem* all = channels->Add(Translate(AllChannelsName()), command([this] { SelectAllChannels(); }));
    all->Checked = FollowsAllChannels();
  }
  if (const TiPlotComponent* chart = ChartOf(this)) {
    for (int i = 0; i < chart->ChannelCount(); ++i) {
      TiPlotChannelCustom* channel = chart->Channel(i);
      if (!channel->Visible()) continue;
      const TiPlotLifeGuard channelLife(channel);
      TMenuItem* item = channels->Add(OneLine(channel->TitleText()), command([this, channel, channelLife] {
                                        if (!channelLife.Gone()) SelectChannel(channel);
                                      }));
      item->Checked = channel->Name().compare(channelName_, Qt::CaseInsensitive) == 0;
    }
  }

  TMenuItem* styles = menu->Items().Add(Translate(QStringLiteral("Style")));
  for (TiPlotDataCursorStyle s : kStyles) {
    TMenuItem* item = styles->Add(Translate(menuItems_[s].Caption), command([this, s] { SetStyle(s); }));
    item->Visible = menuItems_[s].Visible;
    item->Checked = style_ == s;
  }

  if (menuUserCanChangeOptions_) {
    TMenuItem* options = menu->Items().Add(Translate(QStringLiteral("Options")));
    TMenuItem* useColor = options->Add(Translate(QStringLiteral("Use Channel Color")), command([this] {
                                         const TiPlotLifeGuard alive(this);
                                         SetUseChannelColor(!useChannelColor_);
                                         if (!alive.Gone()) RepaintNow();
                                       }));
    useColor->Checked = useChannelColor_;
    TMenuItem* hide = options->Add(Translate(QStringLiteral("Hide Hint On Release")), command([this] {
                                     const TiPlotLifeGuard alive(this);
                                     SetHintHideOnRelease(!hintHideOnRelease_);
                                     if (!alive.Gone()) RepaintNow();
                                   }));
    hide->Checked = hintHideOnRelease_;
    TMenuItem* flip = options->Add(Translate(QStringLiteral("Flip Alignment")), command([this] { FlipAlignment(); }));
    flip->Enabled = (style_ == ipcsValueXY || style_ == ipcsValueX || style_ == ipcsValueY) && !FollowsAllChannels();
  }
  if (InTimeChart()) {
    TMenuItem* snap = menu->Items().Add(Translate(QStringLiteral("Snap to Data-Point")), command([this] {
                                          const TiPlotLifeGuard alive(this);
                                          SetSnapToDataPoint(!snapToDataPoint_);
                                          if (snapToDataPoint_) SnapPointers();
                                          if (!alive.Gone()) RepaintNow();
                                        }));
    snap->Checked = snapToDataPoint_;
  }
  AddEditMenuItem(menu);
}

// ---------------------------------------------------------------------------------------------
// Snapping

bool TiPlotDataCursor::InTimeChart() const { return dynamic_cast<const TiPlot*>(ChartOf(this)) != nullptr; }

void TiPlotDataCursor::SnapPointers() {
  const TiPlotLifeGuard life(this);
  SnapPointer(1);
  if (!life.Gone()) SnapPointer(2);
}

int TiPlotDataCursor::FindNearestPoint(TiPlotChannel* channel, double target, double& distance) {
  distance = 1e300;
  if (!channel || std::isnan(target)) return -1;
  const int count = channel->Count();
  if (count == 0) return -1;
  auto distanceTo = [&](int i) {
    const double x = channel->GetX(i);
    return std::isfinite(x) ? std::fabs(x - target) : std::numeric_limits<double>::infinity();
  };
  const double first = channel->GetX(0), last = channel->GetX(count - 1);
  int found = -1;
  if (channel->XInOrder() && std::isfinite(first) && std::isfinite(last)) {
    const bool ascending = !(last < first);
    if (ascending ? target >= last : target <= last) {
      found = count - 1;
    } else if (ascending ? target <= first : target >= first) {
      found = 0;
    } else {
      found = channel->FindIndex(target);
      if (found < 0) return -1;
      // A neighbour replaces it only when strictly nearer; the lower one is asked first.
      const int at = found;
      double best = distanceTo(at);
      for (int n : {at - 1, at + 1})
        if (n >= 0 && n < count && distanceTo(n) < best) {
          best = distanceTo(n);
          found = n;
        }
    }
  }
  // Out of order, or landed on a point without a finite X: the nearest point with one, by scan.
  if (found < 0 || !std::isfinite(distanceTo(found))) {
    found = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i)
      if (distanceTo(i) < best) {
        best = distanceTo(i);
        found = i;
      }
    if (found < 0) return -1;
  }
  distance = distanceTo(found);
  return found;
}

void TiPlotDataCursor::MoveToPoint(TiPlotChannel* channel, int index, int pointer, int offset) {
  if (!channel || channel->Count() == 0) return;
  TiPlotAxis* axis = channel->XAxis();
  if (!axis) return;
  index += axis->ReverseScale() ? -offset : offset;
  index = std::clamp(index, 0, channel->Count() - 1);
  const double x = channel->GetX(index);
  if (!std::isfinite(x)) return;
  const TiPlotLifeGuard life(this);
  const double span = axis->Span();
  if (x > axis->Max()) axis->SetMin(x - span + span / 40);
  else if (x < axis->Min()) axis->SetMin(x - span / 40);
  if (life.Gone()) return;
  const double position = 100 * axis->ValueToFraction(x);
  if (pointer == 1) SetPointer1Position(position);
  else SetPointer2Position(position);
}

void TiPlotDataCursor::SnapPointer(int n) {
  if (!snapToDataPoint_ || style_ == ipcsDeltaY || !InTimeChart()) return;
  const double position = n == 1 ? pointer1Position_ : pointer2Position_;
  TiPlotChannel* best = nullptr;
  int bestChannel = -1, bestIndex = -1;
  double bestDistance = 1e300;
  auto consider = [&](TiPlotChannel* channel, int channelIndex) {
    if (!channel || !channel->XAxis()) return;
    double distance;
    const int i = FindNearestPoint(channel, channel->XAxis()->FractionToValue(position / 100), distance);
    if (i < 0 || !(distance < bestDistance || !best)) return;
    best = channel;
    bestChannel = channelIndex;
    bestIndex = i;
    bestDistance = distance;
  };
  TiPlotComponent* chart = ChartOf(this);
  if (!chart) return;
  if (FollowsAllChannels()) {
    for (int i = 0; i < chart->ChannelCount(); ++i) consider(dynamic_cast<TiPlotChannel*>(chart->Channel(i)), i);
  } else if (TiPlotChannelCustom* bound = BoundChannel()) {
    for (int i = 0; i < chart->ChannelCount(); ++i)
      if (chart->Channel(i) == bound) consider(dynamic_cast<TiPlotChannel*>(bound), i);
  }
  // An empty channel (or one without a finite X) snaps nowhere.
  if (!best) return;
  snapChannelIndex_ = bestChannel;
  snapPointIndex_ = bestIndex;
  MoveToPoint(best, bestIndex, n, 0);
}

void TiPlotDataCursor::MoveHint(int step) {
  if (!dataView_) return;
  const double h = std::fabs(dataView_->PixelToPercentX(101) - dataView_->PixelToPercentX(100));
  const double v = std::fabs(dataView_->PixelToPercentY(100) - dataView_->PixelToPercentY(101));
  hintPosition_ = HeldPercent(hintPosition_ + step * (hintAlongX_ ? h : v));
  RepaintNow();
}

void TiPlotDataCursor::SnapByKey(int key, TShiftState shift) {
  const int pointer = (shift & ssCtrl) && pointer2Shown_ ? 2 : 1;
  const bool reversed = XYAxesReverse();
  // The hint's keys.
  const int hintStep = reversed ? (key == VK_RIGHT ? 1 : key == VK_LEFT ? -1 : 0) : (key == VK_UP ? 1 : key == VK_DOWN ? -1 : 0);
  if (hintStep != 0) {
    MoveHint(hintStep);
    return;
  }
  int offset = 0;
  bool toEnd = false, toStart = false;
  switch (key) {
    case VK_PRIOR: offset = 5; break;
    case VK_NEXT: offset = -5; break;
    case VK_END: toEnd = true; break;
    case VK_HOME: toStart = true; break;
    case VK_LEFT: offset = reversed ? 0 : -1; break;
    case VK_RIGHT: offset = reversed ? 0 : 1; break;
    case VK_UP: offset = reversed ? 1 : 0; break;
    case VK_DOWN: offset = reversed ? -1 : 0; break;
    default: return;
  }
  const TiPlotLifeGuard life(this);
  snapPointIndex_ = -1;
  SnapPointer(pointer);
  if (life.Gone() || snapPointIndex_ < 0) return;
  TiPlotComponent* chart = ChartOf(this);
  if (!chart || snapChannelIndex_ < 0 || snapChannelIndex_ >= chart->ChannelCount()) return;
  auto* channel = dynamic_cast<TiPlotChannel*>(chart->Channel(snapChannelIndex_));
  if (!channel) return;
  if (toEnd) MoveToPoint(channel, channel->Count() - 1, pointer, 0);
  else if (toStart) MoveToPoint(channel, 0, pointer, 0);
  else MoveToPoint(channel, snapPointIndex_, pointer, offset);
  if (!life.Gone()) RepaintNow();
}
