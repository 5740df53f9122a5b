#include "chart/decorations/rUdudDataView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/axes/rUdudAxis.h"
#include "platform/Canvas.h"

namespace {
const QString kAll = QStringLiteral("<ALL>");

bool IsAll(const QString& name) { return name.compare(kAll, Qt::CaseInsensitive) == 0; }

double FinitePercent(double percent) { return std::isnan(percent) ? 0.0 : percent; }
}  // namespace

const QStringList& GridLineStyleNames() {
  static const QStringList names{QStringLiteral("ipglsSolid"), QStringLiteral("ipglsDash"), QStringLiteral("ipglsDot")};
  return names;
}

const QStringList& AxesControlStyleNames() {
  static const QStringList names{QStringLiteral("ipacsXAxis"), QStringLiteral("ipacsYAxis"), QStringLiteral("ipacsBoth"),
                                 QStringLiteral("ipacsNone")};
  return names;
}

const TiClassInfo& TiPlotDataView::StaticClassInfo() {
  using C = TiPlotDataView;
  const TiPlotGridLineKind kind;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotDataView"), &TiPlotLayoutObject::StaticClassInfo())
          .String(QStringLiteral("Title"), &C::Title, &C::SetTitle, QString())
          .Boolean(QStringLiteral("BackgroundTransparent"), &C::BackgroundTransparent, &C::SetBackgroundTransparent,
                   kBackgroundTransparent)
          .Color(QStringLiteral("BackgroundColor"), &C::BackgroundColor, &C::SetBackgroundColor, kBackgroundColor)
          .Boolean(QStringLiteral("GridShow"), &C::GridShow, &C::SetGridShow, true)
          .String(QStringLiteral("GridXAxisName"), &C::GridXAxisName, &C::SetGridXAxisName, QString())
          .String(QStringLiteral("GridYAxisName"), &C::GridYAxisName, &C::SetGridYAxisName, QString())
          .Color(QStringLiteral("GridLineColor"), &C::GridLineColor, &C::SetGridLineColor, kGridLineColor)
          .Enumeration(QStringLiteral("GridLineMajorStyle"), &C::GridLineMajorStyle, &C::SetGridLineMajorStyle,
                       std::optional<TiPlotGridLineStyle>(ipglsSolid), GridLineStyleNames())
          .Enumeration(QStringLiteral("GridLineMinorStyle"), &C::GridLineMinorStyle, &C::SetGridLineMinorStyle,
                       std::optional<TiPlotGridLineStyle>(ipglsSolid), GridLineStyleNames())
          .Boolean(QStringLiteral("GridLineShowLeft"), &C::GridLineShowLeft, &C::SetGridLineShowLeft, true)
          .Boolean(QStringLiteral("GridLineShowTop"), &C::GridLineShowTop, &C::SetGridLineShowTop, true)
          .Boolean(QStringLiteral("GridLineShowRight"), &C::GridLineShowRight, &C::SetGridLineShowRight, true)
          .Boolean(QStringLiteral("GridLineShowBottom"), &C::GridLineShowBottom, &C::SetGridLineShowBottom, true)
          .Boolean(QStringLiteral("GridLineShowXMajors"), &C::GridLineShowXMajors, &C::SetGridLineShowXMajors, true)
          .Boolean(QStringLiteral("GridLineShowYMajors"), &C::GridLineShowYMajors, &C::SetGridLineShowYMajors, true)
          .Boolean(QStringLiteral("GridLineShowXMinors"), &C::GridLineShowXMinors, &C::SetGridLineShowXMinors, false)
          .Boolean(QStringLiteral("GridLineShowYMinors"), &C::GridLineShowYMinors, &C::SetGridLineShowYMinors, false)
#define TI_GRID_LINE_KIND_TABLE(Kind)                                                                                  \
  .Boolean(QStringLiteral("GridLine" #Kind "Custom"), &C::GridLine##Kind##Custom, &C::SetGridLine##Kind##Custom,     \
           kind.Custom)                                                                                              \
      .Color(QStringLiteral("GridLine" #Kind "Color"), &C::GridLine##Kind##Color, &C::SetGridLine##Kind##Color,      \
             kind.Color)                                                                                             \
      .Integer(QStringLiteral("GridLine" #Kind "Width"), &C::GridLine##Kind##Width, &C::SetGridLine##Kind##Width,    \
               kind.Width)                                                                                           \
      .Enumeration(QStringLiteral("GridLine" #Kind "Style"), &C::GridLine##Kind##Style, &C::SetGridLine##Kind##Style, \
                   std::optional<TiPlotGridLineStyle>(kind.Style), GridLineStyleNames())
          TI_GRID_LINE_KIND_TABLE(XMajor) TI_GRID_LINE_KIND_TABLE(XMinor) TI_GRID_LINE_KIND_TABLE(YMajor)
              TI_GRID_LINE_KIND_TABLE(YMinor)
#undef TI_GRID_LINE_KIND_TABLE
          .Boolean(QStringLiteral("AxesControlEnabled"), &C::AxesControlEnabled, &C::SetAxesControlEnabled, false)
          .Enumeration(QStringLiteral("AxesControlMouseStyle"), &C::AxesControlMouseStyle, &C::SetAxesControlMouseStyle,
                       std::optional<TiPlotAxesControlStyle>(ipacsBoth), AxesControlStyleNames())
          .Enumeration(QStringLiteral("AxesControlWheelStyle"), &C::AxesControlWheelStyle, &C::SetAxesControlWheelStyle,
                       std::optional<TiPlotAxesControlStyle>(ipacsXAxis), AxesControlStyleNames())
          .Boolean(QStringLiteral("AxesControlAllowInSelectMode"), &C::AxesControlAllowInSelectMode,
                   &C::SetAxesControlAllowInSelectMode, false)
          .Build();
  return info;
}

void TiPlotDataView::SetTitle(const QString& value) { SetAndChange(title_, value); }
void TiPlotDataView::SetBackgroundTransparent(bool value) { SetAndChange(backgroundTransparent_, value); }
void TiPlotDataView::SetBackgroundColor(TColor value) { SetAndChange(backgroundColor_, value); }
void TiPlotDataView::SetGridShow(bool value) { SetAndChange(gridShow_, value); }
void TiPlotDataView::SetGridLineColor(TColor value) { SetAndChange(gridLineColor_, value); }
void TiPlotDataView::SetGridLineMajorStyle(TiPlotGridLineStyle value) { SetAndChange(gridLineMajorStyle_, value); }
void TiPlotDataView::SetGridLineMinorStyle(TiPlotGridLineStyle value) { SetAndChange(gridLineMinorStyle_, value); }
void TiPlotDataView::SetGridLineShowLeft(bool value) { SetAndChange(gridLineShowLeft_, value); }
void TiPlotDataView::SetGridLineShowTop(bool value) { SetAndChange(gridLineShowTop_, value); }
void TiPlotDataView::SetGridLineShowRight(bool value) { SetAndChange(gridLineShowRight_, value); }
void TiPlotDataView::SetGridLineShowBottom(bool value) { SetAndChange(gridLineShowBottom_, value); }
void TiPlotDataView::SetGridLineShowXMajors(bool value) { SetAndChange(gridLineShowXMajors_, value); }
void TiPlotDataView::SetGridLineShowYMajors(bool value) { SetAndChange(gridLineShowYMajors_, value); }
void TiPlotDataView::SetGridLineShowXMinors(bool value) { SetAndChange(gridLineShowXMinors_, value); }
void TiPlotDataView::SetGridLineShowYMinors(bool value) { SetAndChange(gridLineShowYMinors_, value); }
void TiPlotDataView::SetAxesControlEnabled(bool value) { SetAndChange(axesControlEnabled_, value); }
void TiPlotDataView::SetAxesControlMouseStyle(TiPlotAxesControlStyle value) { SetAndChange(axesControlMouseStyle_, value); }
void TiPlotDataView::SetAxesControlWheelStyle(TiPlotAxesControlStyle value) { SetAndChange(axesControlWheelStyle_, value); }
void TiPlotDataView::SetAxesControlAllowInSelectMode(bool value) { SetAndChange(axesControlAllowInSelectMode_, value); }

// Setting a name forgets the axis found for the old one, even when the name is the same.
void TiPlotDataView::SetGridXAxisName(const QString& value) {
  gridXAxis_ = nullptr;
  SetAndChange(gridXAxisName_, value);
}

void TiPlotDataView::SetGridYAxisName(const QString& value) {
  gridYAxis_ = nullptr;
  SetAndChange(gridYAxisName_, value);
}

TiPlotDataViewHost* TiPlotDataView::Host() const { return dynamic_cast<TiPlotDataViewHost*>(Owner()); }

// A miss is not kept: the axis may be added to the chart later.
TiPlotAxis* TiPlotDataView::ResolveGridAxis(const QString& name, bool xAxes, TiPlotAxis*& cache) {
  if (cache) return cache;
  if (name.isEmpty() || IsAll(name)) return nullptr;
  const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner());
  if (!lookup) return nullptr;
  cache = xAxes ? static_cast<TiPlotAxis*>(lookup->FindXAxis(name)) : static_cast<TiPlotAxis*>(lookup->FindYAxis(name));
  return cache;
}

TiPlotAxis* TiPlotDataView::GridXAxis() { return ResolveGridAxis(gridXAxisName_, true, gridXAxis_); }

TiPlotAxis* TiPlotDataView::GridYAxis() { return ResolveGridAxis(gridYAxisName_, false, gridYAxis_); }

void TiPlotDataView::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotLayoutObject::NotifyRemoving(item);
  if (item == static_cast<TiPlotPersistent*>(gridXAxis_)) gridXAxis_ = nullptr;
  if (item == static_cast<TiPlotPersistent*>(gridYAxis_)) gridYAxis_ = nullptr;
}

// The grid stays with a renamed axis: its new name is copied into the property. An axis not yet
// looked up is recognised by its previous name.
void TiPlotDataView::NotifyRenamed(TiPlotObject* object) {
  TiPlotLayoutObject::NotifyRenamed(object);
  if (!object) return;
  auto follow = [this, object](QString& name, TiPlotAxis*& cache, bool ofKind) {
    const bool same = cache ? object == static_cast<TiPlotObject*>(cache)
                            : ofKind && !name.isEmpty() && !IsAll(name) &&
                                  name.compare(object->PreviousName(), Qt::CaseInsensitive) == 0;
    if (!same || name == object->Name()) return;
    cache = static_cast<TiPlotAxis*>(object);
    name = object->Name();
    DoChange();
  };
  follow(gridXAxisName_, gridXAxis_, dynamic_cast<TiPlotXAxis*>(object) != nullptr);
  follow(gridYAxisName_, gridYAxis_, dynamic_cast<TiPlotYAxis*>(object) != nullptr);
}

// --- Painting. ---

void TiPlotDataView::DrawBackground(TCanvas* canvas) {
  if (!canvas || backgroundTransparent_) return;
  canvas->Brush().Style = bsSolid;
  canvas->Brush().Color = backgroundColor_;
  canvas->FillRect(GetLayoutRect());
}

void TiPlotDataView::Draw(TCanvas* canvas, TColor backgroundColor) {
  if (!canvas || !gridShow_) return;
  // A solid brush in the background colour: the gaps of dashed and dotted lines show it.
  canvas->Brush().Style = bsSolid;
  canvas->Brush().Color = backgroundColor;
  DrawGridOfKind(canvas, true);
  DrawGridOfKind(canvas, false);
  DrawFrame(canvas, gridLineColor_);
  if (HasFocus()) {
    DrawFrame(canvas, backgroundColor);
    const TRect r = GetLayoutRect();
    canvas->DrawFocusRect(Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1));
  }
}

void TiPlotDataView::DrawGridOfKind(TCanvas* canvas, bool xAxes) {
  const TiPlotGridLineKind& majorKind = xAxes ? xMajor_ : yMajor_;
  const TiPlotGridLineKind& minorKind = xAxes ? xMinor_ : yMinor_;
  auto penOf = [this](const TiPlotGridLineKind& kind, TiPlotGridLineStyle plainStyle, bool show) {
    TiPlotGridLineSettings pen;
    pen.Show = show;
    pen.Color = kind.Custom ? kind.Color : gridLineColor_;
    pen.Width = kind.Custom ? kind.Width : 0;
    pen.Style = kind.Custom ? kind.Style : plainStyle;
    return pen;
  };
  const TiPlotGridLineSettings major = penOf(majorKind, gridLineMajorStyle_, xAxes ? gridLineShowXMajors_ : gridLineShowYMajors_);
  const TiPlotGridLineSettings minor = penOf(minorKind, gridLineMinorStyle_, xAxes ? gridLineShowXMinors_ : gridLineShowYMinors_);
  const TRect r = GetLayoutRect();
  if (IsAll(xAxes ? gridXAxisName_ : gridYAxisName_)) {
    TiPlotDataViewHost* host = Host();
    if (!host) return;
    for (int i = 0; i < host->DataViewAxisCount(xAxes); ++i)
      if (TiPlotAxis* axis = host->DataViewAxis(xAxes, i)) axis->DrawGridLines(canvas, r, minor, major);
    return;
  }
  if (TiPlotAxis* axis = xAxes ? GridXAxis() : GridYAxis()) axis->DrawGridLines(canvas, r, minor, major);
}

void TiPlotDataView::DrawFrame(TCanvas* canvas, TColor color) {
  const TRect r = GetLayoutRect();
  canvas->Pen().Color = color;
  canvas->Pen().Style = psSolid;
  canvas->Pen().Width = 0;
  auto line = [canvas](int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  if (gridLineShowLeft_) line(r.Left, r.Top, r.Left, r.Bottom);
  if (gridLineShowRight_) line(r.Right, r.Top, r.Right, r.Bottom);
  if (gridLineShowTop_) line(r.Left, r.Top, r.Right, r.Top);
  // One pixel further, so that the bottom right corner is closed.
  if (gridLineShowBottom_) line(r.Left, r.Bottom, r.Right + 1, r.Bottom);
}

void TiPlotDataView::DrawZoomBox(TCanvas* canvas) {
  if (!canvas || !zoomBoxActive_) return;
  canvas->DrawFocusRect(Rect(std::min(start_.X, end_.X), std::min(start_.Y, end_.Y), std::max(start_.X, end_.X),
                             std::max(start_.Y, end_.Y)));
}

// --- Conversions. ---

double TiPlotDataView::PixelToPercentX(int x) const {
  const TRect r = GetLayoutRect();
  const int width = r.Right - r.Left;
  if (width == 0) return 0;
  return static_cast<double>(x - r.Left) / width * 100;
}

double TiPlotDataView::PixelToPercentY(int y) const {
  const TRect r = GetLayoutRect();
  const int height = r.Bottom - r.Top;
  if (height == 0) return 0;
  return (1 - static_cast<double>(y - r.Top) / height) * 100;
}

int TiPlotDataView::PercentToPixelX(double percent) const {
  const TRect r = GetLayoutRect();
  const int width = r.Right - r.Left;
  if (width == 0) return NearestCoordinate(r.Left);
  return NearestCoordinate(width * FinitePercent(percent) / 100 + r.Left);
}

int TiPlotDataView::PercentToPixelY(double percent) const {
  const TRect r = GetLayoutRect();
  const int height = r.Bottom - r.Top;
  if (height == 0) return NearestCoordinate(r.Top);
  return NearestCoordinate(height * (100 - FinitePercent(percent)) / 100 + r.Top);
}

// --- Interaction. ---

TiPlotDataViewMode TiPlotDataView::InteractionMode() const {
  bool selectDown = false;
  bool zoomBoxDown = false;
  const TiPlotDataViewHost* host = Host();
  if (host && host->FirstToolBarButtons(selectDown, zoomBoxDown)) {
    if (selectDown && !axesControlAllowInSelectMode_) return ipdvmSelect;
    if (zoomBoxDown) return ipdvmZoomBox;
  }
  return axesControlEnabled_ ? ipdvmAxesControl : ipdvmNone;
}

namespace {
// The axes a style chooses: Shift turns X into Y and back; false for ipacsNone.
bool AxesByStyle(TiPlotAxesControlStyle style, bool shifted, bool& xAxes, bool& yAxes) {
  xAxes = yAxes = false;
  switch (style) {
    case ipacsXAxis:
      xAxes = !shifted;
      yAxes = shifted;
      return true;
    case ipacsYAxis:
      yAxes = !shifted;
      xAxes = shifted;
      return true;
    case ipacsBoth:
      xAxes = yAxes = true;
      return true;
    default:
      return false;
  }
}
}  // namespace

void TiPlotDataView::DragAxes(TShiftState shift, TPoint point, bool& xAxes, bool& yAxes) {
  const bool shifted = (shift & ssShift) != 0;
  AxesByStyle(axesControlMouseStyle_, shifted, xAxes, yAxes);
  if (axesControlMouseStyle_ != ipacsBoth || !shifted) return;
  if (!directionLocked_) {
    // The vertical test comes second and wins a diagonal move.
    if (std::abs(point.X - start_.X) > 3) {
      directionLocked_ = true;
      lockedToX_ = true;
    }
    if (std::abs(point.Y - start_.Y) > 3) {
      directionLocked_ = true;
      lockedToX_ = false;
    }
  }
  if (directionLocked_) {
    xAxes = lockedToX_;
    yAxes = !lockedToX_;
  }
}

bool TiPlotDataView::WheelAxes(TShiftState shift, bool& xAxes, bool& yAxes) const {
  return AxesByStyle(axesControlWheelStyle_, (shift & ssShift) != 0, xAxes, yAxes);
}

void TiPlotDataView::ClearInteraction() {
  pressed_ = false;
  rightPressed_ = false;
  directionLocked_ = false;
  lockedToX_ = false;
  zoomBoxActive_ = false;
}

void TiPlotDataView::DoMouseDownLeft(const TiPlotMouseParams& params) {
  directionLocked_ = false;
  pressed_ = true;
  const TPoint point{params.X, params.Y};
  switch (InteractionMode()) {
    case ipdvmZoomBox:
      if (TiPlotDataViewHost* host = Host()) host->PauseAllTracking();
      start_ = end_ = point;
      zoomBoxActive_ = true;
      DoChange();
      break;
    case ipdvmAxesControl:
      start_ = point;
      PassToAxes(true, true, [&params](TiPlotAxis* axis) { axis->DoMouseDownLeft(params); });
      break;
    default:
      break;
  }
}

void TiPlotDataView::DoMouseDownRight(const TiPlotMouseParams& params) {
  if (InteractionMode() != ipdvmAxesControl) return;
  rightPressed_ = true;
  start_ = end_ = TPoint{params.X, params.Y};
}

void TiPlotDataView::DoMouseDrag(const TiPlotMouseParams& params) {
  if (!pressed_ && !rightPressed_) return;
  const TPoint point{params.X, params.Y};
  if (zoomBoxActive_) {
    if (params.DblClickActive) return;
    end_ = point;
    DoChange();
    return;
  }
  if (InteractionMode() != ipdvmAxesControl) return;
  if (rightPressed_) {
    // A right drag of more than 5 pixels becomes a zoom box instead of the popup menu.
    if (std::abs(point.X - start_.X) <= 5 && std::abs(point.Y - start_.Y) <= 5) return;
    end_ = point;
    zoomBoxActive_ = true;
    CancelPendingPopup();
    if (TiPlotDataViewHost* host = Host()) host->PauseAllTracking();
    DoChange();
    return;
  }
  // A left drag: the direction lock is kept up to date for the axes it moves.
  bool xAxes = false;
  bool yAxes = false;
  DragAxes(params.Shift, point, xAxes, yAxes);
  PassToAxes(xAxes, yAxes, [&params](TiPlotAxis* axis) { axis->DoMouseDrag(params); });
}

bool TiPlotDataView::PassToAxes(bool xAxes, bool yAxes, const std::function<void(TiPlotAxis*)>& action) {
  TiPlotDataViewHost* host = Host();
  if (!host) return true;
  const TiPlotLifeGuard life(this);
  for (const bool x : {true, false}) {
    if (x ? !xAxes : !yAxes) continue;
    for (int i = 0; i < host->DataViewAxisCount(x); ++i) {
      if (TiPlotAxis* axis = host->DataViewAxis(x, i)) action(axis);
      if (life.Gone()) return false;
    }
  }
  return true;
}

bool TiPlotDataView::DoMouseWheel(int wheelDelta, TShiftState shift, TPoint point) {
  if (InteractionMode() != ipdvmAxesControl) return false;
  bool xAxes = false;
  bool yAxes = false;
  if (!WheelAxes(shift, xAxes, yAxes)) return false;
  PassToAxes(xAxes, yAxes, [&](TiPlotAxis* axis) { axis->DoMouseWheel(wheelDelta, shift, point); });
  return true;
}

void TiPlotDataView::DoMouseUp(const TiPlotMouseParams& params) {
  if (!pressed_ && !rightPressed_) return;
  if (zoomBoxActive_ && !params.DblClickActive && start_.X < end_.X && start_.Y < end_.Y) {
    TRect box = Rect(start_.X, start_.Y, end_.X, end_.Y);
    bool cancel = false;
    // The handler may remove this view; nothing is touched afterwards then.
    const TiPlotLifeGuard life(this);
    if (TiPlotDataViewHost* host = Host()) host->BeforeZoomBox(box, cancel);
    if (life.Gone()) return;
    // Every X axis, then every Y axis shows what lies under the box.
    if (!cancel && !PassToAxes(true, true, [&box](TiPlotAxis* axis) { axis->ZoomToPixelRect(box); })) return;
  } else if (!zoomBoxActive_ && InteractionMode() == ipdvmAxesControl) {
    if (!PassToAxes(true, true, [&params](TiPlotAxis* axis) { axis->DoMouseUp(params); })) return;
  }
  ClearInteraction();
  DoChange();
}

bool TiPlotDataView::ReleaseIsClick(int x, int y) { return PtInRect(GetLayoutRect(), {x, y}); }

TCursor TiPlotDataView::GetMouseCursor(const TiPlotMouseParams& params) {
  TCursor cursor = crDefault;
  switch (InteractionMode()) {
    case ipdvmZoomBox: cursor = crDrag; break;
    case ipdvmAxesControl: cursor = crHandPoint; break;
    default: break;
  }
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

void TiPlotDataView::DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) {
  const TiPlotLifeGuard life(this);
  TiPlotLayoutObject::DoKeyDown(key, shift, menu);
  if (life.Gone() || key != VK_ESCAPE) return;
  // Escape abandons the zoom box.
  zoomBoxActive_ = false;
  DoChange();
}
