#include "chart/decorations/rUdudDataView.h"

#include "platform/Canvas.h"

const TiClassInfo& TiPlotDataView::StaticClassInfo() {
  using C = TiPlotDataView;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotDataView"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("GridXAxisName"), &C::GridXAxisName, &C::SetGridXAxisName)
      .String(QStringLiteral("GridYAxisName"), &C::GridYAxisName, &C::SetGridYAxisName)
      .Boolean(QStringLiteral("BackgroundTransparent"), &C::BackgroundTransparent, &C::SetBackgroundTransparent, kBackgroundTransparent)
      .Color(QStringLiteral("BackgroundColor"), &C::BackgroundColor, &C::SetBackgroundColor, kBackgroundColor)
      .Build();
  return info;
}

void TiPlotDataView::SetGridXAxisName(const QString& value) { SetAndChange(gridXAxisName_, value); }

void TiPlotDataView::SetGridYAxisName(const QString& value) { SetAndChange(gridYAxisName_, value); }

void TiPlotDataView::SetBackgroundTransparent(bool value) { SetAndChange(backgroundTransparent_, value); }

void TiPlotDataView::SetBackgroundColor(TColor value) { SetAndChange(backgroundColor_, value); }

void TiPlotDataView::DrawBackground(TCanvas* canvas) {
  if (!canvas || backgroundTransparent_) return;
  canvas->Brush().Style = bsSolid;
  canvas->Brush().Color = backgroundColor_;
  canvas->FillRect(GetLayoutRect());
}

bool TiPlotDataView::ZoomBoxActive() const { return false; }

void TiPlotDataView::DrawZoomBox(TCanvas*) {}
