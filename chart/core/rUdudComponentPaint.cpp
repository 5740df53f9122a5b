// The painting cycle of the chart: one paint onto any canvas (the window's off-screen bitmap, a
// printer or an export), as named steps in drawing order.
#include <algorithm>

#include "chart/core/rUdudComponent.h"

namespace {
// Draws one object inside the data view's clip; the clip goes also when the drawing fails.
void DrawClipped(TCanvas& canvas, const TRect& clip, TiPlotObject* object, TColor background) {
  canvas.IntersectClipRect(clip);
  try {
    object->Draw(&canvas, background);
  } catch (...) {
    canvas.RemoveClip();
    throw;
  }
  canvas.RemoveClip();
}
}  // namespace

void TiPlotComponent::DoPaint(TCanvas& canvas) {
  // A chart without a toolbar, a legend or a data view shows nothing.
  if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0) return;
  TiPlotDataView* view = DataView(0);
  paintBackGroundColor_ = view->BackgroundTransparent() ? BackGroundColor() : view->BackgroundColor();
  reservedRects_.clear();
  drawList_.clear();

  // Handlers of the program run from here on (cursor updates, label texts) and may remove the
  // legend or the data view; the paint then ends, and the removal has asked for the next one.
  const TiPlotLifeGuard viewLife(view);
  UpdateCursorValues();
  // Ticks, the layout twice (label sizes depend on it), ticks again.
  CalculateAllTicks(canvas);
  LayoutPass(canvas);
  LayoutPass(canvas);
  CalculateAllTicks(canvas);
  PrepareChannelsAndAxes(canvas);
  if (viewLife.Gone()) return;

  GiveDataViewToOverlays(view);
  PaintBackground(canvas);
  view->DrawBackground(&canvas);
  PaintInsideDataView(canvas, view);
  if (viewLife.Gone()) return;
  PaintAroundDataView(canvas, view);
  PaintOverlays(canvas);
  DrawHint(canvas);
  RaiseEvent(OnAfterPaint, this);
}

void TiPlotComponent::UpdateCursorValues() {
  // Data cursors read their values; one that shows all channels in the legend says so.
  TiPlotLegend* legend = Legend(0);
  const TiPlotLifeGuard legendLife(legend);
  legend->SetAllChannelsCursorActive(false);
  for (int i = 0; i < DataCursorCount(); ++i) {
    TiPlotDataCursor* cursor = DataCursor(i);
    const TiPlotLifeGuard cursorLife(cursor);
    cursor->UpdateValues();
    if (cursorLife.Gone() || legendLife.Gone()) continue;
    if (cursor->Visible() && cursor->FollowsAllChannels() && cursor->ChannelShowAllInLegend())
      legend->SetAllChannelsCursorActive(true);
  }
}

void TiPlotComponent::CalculateAllTicks(TCanvas& canvas) {
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->CalculateTicks(&canvas);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->CalculateTicks(&canvas);
}

void TiPlotComponent::PrepareChannelsAndAxes(TCanvas& canvas) {
  // Channels decide whether they have anything to draw; Cartesian axes compute their rectangles.
  for (int i = 0; i < ChannelCount(); ++i) Channel(i)->PrepareDraw(&canvas);
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->PrepareDraw(&canvas);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->PrepareDraw(&canvas);
}

void TiPlotComponent::GiveDataViewToOverlays(TiPlotDataView* view) {
  const bool reverse = XYAxesReverse();
  for (int i = 0; i < AnnotationCount(); ++i) {
    Annotation(i)->SetDataView(view);
    Annotation(i)->SetXYAxesReverse(reverse);
  }
  for (int i = 0; i < DataCursorCount(); ++i) DataCursor(i)->SetDataView(view);
}

void TiPlotComponent::PaintBackground(TCanvas& canvas) {
  // The border is drawn again after the data view's contents in both cases.
  if (backGroundGradientEnabled_) {
    const TRect whole = Rect(0, 0, Width(), Height());
    canvas.RemoveClip();
    canvas.IntersectClipRect(whole);
    FillGradient(canvas, whole, backGroundGradientDirection_, backGroundGradientStartColor_, backGroundGradientStopColor_);
    canvas.RemoveClip();
  } else {
    DrawBackGround(canvas, BackGroundColor());
  }
}

void TiPlotComponent::FillDrawList(TiPlotDataView* dataView) {
  drawList_.clear();
  // Sorted by layer, then by letter; a new entry goes before the equal ones already listed, so
  // of one layer and letter the object first in its collection is drawn last (on top).
  auto add = [this](TiPlotObject* object, QChar letter) {
    TiPlotDrawListItem item{object->LayerKey() + letter, object};
    const int layer = object->Layer();
    auto it = std::find_if(drawList_.begin(), drawList_.end(), [&](const TiPlotDrawListItem& e) {
      const int otherLayer = e.Object->Layer();
      if (otherLayer != layer) return otherLayer > layer;
      return e.Key.back().toUpper() >= letter.toUpper();
    });
    drawList_.insert(it, std::move(item));
  };
  for (int i = 0; i < LimitCount(); ++i)
    if (Limit(i)->IsFilledBand()) add(Limit(i), QLatin1Char('A'));
  add(dataView, QLatin1Char('B'));
  for (int i = 0; i < LimitCount(); ++i)
    if (!Limit(i)->IsFilledBand()) add(Limit(i), QLatin1Char('C'));
  for (int i = 0; i < YAxisCount(); ++i)
    if (YAxis(i)->IsCartesian()) add(YAxis(i), QLatin1Char('D'));
  for (int i = 0; i < XAxisCount(); ++i)
    if (XAxis(i)->IsCartesian()) add(XAxis(i), QLatin1Char('E'));
  for (int i = 0; i < ChannelCount(); ++i)
    if (Channel(i)->ReadyToDraw()) add(Channel(i), QLatin1Char('F'));
  for (int i = 0; i < AnnotationCount(); ++i) add(Annotation(i), QLatin1Char('G'));
}

void TiPlotComponent::PaintInsideDataView(TCanvas& canvas, TiPlotDataView* view) {
  // The objects inside the data view, by layer and letter, clipped to it (one pixel more to the
  // right and at the bottom).
  FillDrawList(view);
  TRect clip = view->GetLayoutRect();
  clip.Right += 1;
  clip.Bottom += 1;
  // A copy: a drawing object must not change what is walked. A handler of the program that runs
  // while an object draws may remove others still waiting; those are left out.
  std::vector<std::pair<TiPlotObject*, TiPlotLifeGuard>> drawOrder;
  drawOrder.reserve(drawList_.size());
  for (const TiPlotDrawListItem& item : drawList_) drawOrder.emplace_back(item.Object, TiPlotLifeGuard(item.Object));
  for (const auto& [object, life] : drawOrder)
    if (!life.Gone()) DrawClipped(canvas, clip, object, paintBackGroundColor_);
}

void TiPlotComponent::PaintAroundDataView(TCanvas& canvas, TiPlotDataView* view) {
  // The zoom box, the border, the axes beside the data view, labels, toolbars.
  TCanvas* c = &canvas;
  if (view->ZoomBoxActive()) view->DrawZoomBox(c);
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = BackGroundColor();
  DrawBorder(canvas);
  const TColor background = BackGroundColor();
  for (int i = 0; i < XAxisCount(); ++i)
    if (XAxis(i)->CartesianStyle() == ipcsNone) XAxis(i)->Draw(c, background);
  for (int i = 0; i < YAxisCount(); ++i)
    if (YAxis(i)->CartesianStyle() == ipcsNone) YAxis(i)->Draw(c, background);
  for (int i = 0; i < LabelCount(); ++i) Labels(i)->Draw(c, background);
  for (int i = 0; i < ToolBarCount(); ++i) ToolBar(i)->Draw(c, background);
}

void TiPlotComponent::PaintOverlays(TCanvas& canvas) {
  // Data cursors over the data view's background; legends and tables over the chart's.
  TCanvas* c = &canvas;
  const TColor background = BackGroundColor();
  for (int i = 0; i < DataCursorCount(); ++i) DataCursor(i)->Draw(c, paintBackGroundColor_);
  for (int i = 0; i < LegendCount(); ++i) Legend(i)->Draw(c, background);
  for (int i = 0; i < TableCount(); ++i) Table(i)->Draw(c, background);
}

void TiPlotComponent::DrawHint(TCanvas& canvas) {
  hintDrawn_ = false;
  if (!hintShowing_) return;
  canvas.Font() = hintsFont_->Font();
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clInfoBk;
  canvas.Font().Color = clInfoText;
  const TSize extent = canvas.TextExtent(hintText_);
  const int x = hintPosition_.X;
  const int y = hintPosition_.Y;
  const TRect box = Rect(x, y, x + extent.cx + 4, y + extent.cy + 4);
  canvas.Pen().Style = psSolid;
  canvas.Pen().Color = clBlack;
  canvas.Pen().Width = 1;
  canvas.Rectangle(box);
  canvas.TextRect(Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), x + 2, y + 2, hintText_);
  hintDrawn_ = true;
}
