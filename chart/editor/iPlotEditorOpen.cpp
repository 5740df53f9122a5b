// The chart's one way into its editor (the "Edit..." items of its objects and the toolbar's
// Edit button call it).
#include "chart/core/rUdudComponent.h"
#include "chart/editor/iPlotEditor.h"

QWidget* TiPlotComponent::ShowEditor(TiPlotObject* object) {
  // One editor per chart: a second request brings the open one forward on the object.
  if (auto* open = findChild<TiPlotEditorForm*>(QString(), Qt::FindDirectChildrenOnly); open && open->isVisible()) {
    open->SelectObject(object);
    open->raise();
    open->activateWindow();
    return open;
  }
  auto* form = new TiPlotEditorForm(this, object);
  form->setAttribute(Qt::WA_DeleteOnClose);
  if (EditorFormStyle() == ipfsModal) {
    form->setWindowModality(Qt::ApplicationModal);
    form->exec();
    return nullptr;  // closed again (and on its way out)
  }
  form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  form->show();
  return form;
}
