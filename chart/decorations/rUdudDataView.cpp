#include "chart/decorations/rUdudDataView.h"

#include "platform/Canvas.h"

const TiClassInfo& TiPlotDataView::StaticClassInfo() {
  using C = TiPlotDataView;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotDataView"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("GridXAxisName"), &C::GridXAxisName, &C::SetGridXAxisName)
      .String(QStringLiteral("GridYAxisName"), &C::GridYAxisName, &C::SetGridYAxisName)
      .Boolean(QStringLiteral("BackgroundTransparent"), &C::BackgroundTransparent, &C::SetBackgroundTransparent, true)
      .Color(QStringLiteral("BackgroundColor"), &C::BackgroundColor, &C::SetBackgroundColor, RGB(0, 128, 128))
      .Build();
  return info;
}

void TiPlotDataView::SetGridXAxisName(const QString& value) {
  if (value == gridXAxisName_) return;
  gridXAxisName_ = value;
  DoChange();
}

void TiPlotDataView::SetGridYAxisName(const QString& value) {
  if (value == gridYAxisName_) return;
  gridYAxisName_ = value;
  DoChange();
}

void TiPlotDataView::SetBackgroundTransparent(bool value) {
  if (value == backgroundTransparent_) return;
  backgroundTransparent_ = value;
  DoChange();
}

void TiPlotDataView::SetBackgroundColor(TColor value) {
  if (value == backgroundColor_) return;
  backgroundColor_ = value;
  DoChange();
}

void TiPlotDataView::DrawBackground(TCanvas* canvas) {
  if (!canvas || backgroundTransparent_) return;
  canvas->Brush().Style = bsSolid;
  canvas->Brush().Color = backgroundColor_;
  canvas->FillRect(GetLayoutRect());
}

bool TiPlotDataView::ZoomBoxActive() const { return false; }

void TiPlotDataView::DrawZoomBox(TCanvas*) {}
