// The chart's one way into its editor (the "Edit..." items of its objects and the toolbar's
// Edit button call it).
#include "chart/core/rUdudComponent.h"
#include "chart/editor/iPlotEditor.h"
#include "chart/editor/iPlotEditorWidgets.h"

namespace {
QWidget* OpenEditor(TiPlotComponent& chart, TiPlotObject* object) {
  // One editor per chart: a second request brings the open one forward on the object.
  if (auto* open = chart.findChild<TiPlotEditorForm*>(QString(), Qt::FindDirectChildrenOnly); open && open->isVisible()) {
    open->SelectObject(object);
    open->raise();
    open->activateWindow();
    return open;
  }
  auto* form = new TiPlotEditorForm(&chart, object);
  form->setAttribute(Qt::WA_DeleteOnClose);
  if (chart.EditorFormStyle() == ipfsModal) {
    form->setWindowModality(Qt::ApplicationModal);
    form->exec();
    return nullptr;  // closed again (and on its way out)
  }
  form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  form->show();
  return form;
}
}  // namespace

QWidget* TiPlotComponent::ShowEditor(TiPlotObject* object) {
  // Called from menu commands and button clicks: a failure is shown, never passed on to the
  // event loop.
  try {
    return OpenEditor(*this, object);
  } catch (const std::exception& e) {
    ReportSlotFailure(&e);
  } catch (...) {
    ReportSlotFailure(nullptr);
  }
  return nullptr;
}
