#include "chart/core/iPlotDefaultObjects.h"

#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"

namespace {

void AddDefaultObjects(TiPlotComponent& chart) {
  chart.ToolBar(chart.AddToolBar())->SetZOrder(3);
  chart.Legend(chart.AddLegend())->SetZOrder(2);
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddChannel();
  chart.AddDataView();
  chart.AddDataCursor();
  TiPlotLabel* title = chart.Labels(chart.AddLabel());
  title->SetZOrder(2);
  title->SetName(QStringLiteral("Title"));
  title->SetCaption(QStringLiteral("Untitled"));
  title->SetMarginBottom(0);
}

}  // namespace

void CreateDefaultPlotObjects(TiPlotComponent& chart) {
  TiPlotLayoutManager* layout = chart.LayoutManager();
  if (!layout) {
    AddDefaultObjects(chart);
    return;
  }
  layout->SetLayoutEnabled(false);
  try {
    AddDefaultObjects(chart);
  } catch (...) {
    // The failure that is on its way is the one to report, not one of the rebuild.
    RunGuarded([layout] { layout->SetLayoutEnabled(true); });
    throw;
  }
  layout->SetLayoutEnabled(true);
}
