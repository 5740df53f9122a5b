#include "chart/core/rUdudComponent.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "chart/core/iValueNames.h"
#include "platform/Menus.h"

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {
// The chart's defaults for new annotations: an annotation's own start, with a one-pixel pen.
TiPlotAnnotationLook ChartAnnotationDefaults() {
  TiPlotAnnotationLook style;
  style.PenWidth = 1;
  return style;
}
}  // namespace

const TiClassInfo& TiPlotComponent::StaticClassInfo() {
  using C = TiPlotComponent;
  const TiPlotComponentDefaults& d = kPlotComponentDefaults;
  const QStringList& individual = ReferenceIndividualNames();
  const TiPlotAnnotationLook annotations = ChartAnnotationDefaults();
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotComponent"), &TiCustomComponent::StaticClassInfo())
          .Redefault(QStringLiteral("BackGroundColor"), d.BackGroundColor)
          .Redefault(QStringLiteral("BorderStyle"), d.BorderStyle)
          .Redefault(QStringLiteral("AutoFrameRate"), d.AutoFrameRate ? 1 : 0)
          .Boolean(QStringLiteral("BackGroundGradientEnabled"), &C::BackGroundGradientEnabled, &C::SetBackGroundGradientEnabled, d.BackGroundGradientEnabled)
          .Enumeration<TiFillDirection>(QStringLiteral("BackGroundGradientDirection"), &C::BackGroundGradientDirection,
                                        &C::SetBackGroundGradientDirection, d.BackGroundGradientDirection, FillDirectionNames())
          .Color(QStringLiteral("BackGroundGradientStartColor"), &C::BackGroundGradientStartColor,
                 &C::SetBackGroundGradientStartColor, d.BackGroundGradientStartColor)
          .Color(QStringLiteral("BackGroundGradientStopColor"), &C::BackGroundGradientStopColor,
                 &C::SetBackGroundGradientStopColor, d.BackGroundGradientStopColor)
          .Integer(QStringLiteral("OuterMarginLeft"), &C::OuterMarginLeft, &C::SetOuterMarginLeft, d.OuterMargin)
          .Integer(QStringLiteral("OuterMarginTop"), &C::OuterMarginTop, &C::SetOuterMarginTop, d.OuterMargin)
          .Integer(QStringLiteral("OuterMarginRight"), &C::OuterMarginRight, &C::SetOuterMarginRight, d.OuterMargin)
          .Integer(QStringLiteral("OuterMarginBottom"), &C::OuterMarginBottom, &C::SetOuterMarginBottom, d.OuterMargin)
          .Integer(QStringLiteral("DataViewZHorz"), &C::DataViewZHorz, &C::SetDataViewZHorz)
          .Integer(QStringLiteral("DataViewZVert"), &C::DataViewZVert, &C::SetDataViewZVert)
          .Boolean(QStringLiteral("XYAxesReverse"), &C::XYAxesReverse, &C::SetXYAxesReverse, d.XYAxesReverse)
          .String(QStringLiteral("TitleText"), &C::TitleText, &C::SetTitleText)
          .Boolean(QStringLiteral("TitleVisible"), &C::TitleVisible, &C::SetTitleVisible)
          .Object(QStringLiteral("TitleFont"), &C::TitleFont)
          .Float(QStringLiteral("TitleMargin"), &C::TitleMargin, &C::SetTitleMargin)
          .Boolean(QStringLiteral("HintsShow"), &C::HintsShow, &C::SetHintsShow, d.HintsShow)
          .Integer(QStringLiteral("HintsPause"), &C::HintsPause, &C::SetHintsPause, d.HintsPause)
          .Integer(QStringLiteral("HintsHidePause"), &C::HintsHidePause, &C::SetHintsHidePause, d.HintsHidePause)
          .Object(QStringLiteral("HintsFont"), &C::HintsFont)
          .Boolean(QStringLiteral("UserCanEditObjects"), &C::UserCanEditObjects, &C::SetUserCanEditObjects, d.UserCanEditObjects)
          .Boolean(QStringLiteral("UserCanAddRemoveChannels"), &C::UserCanAddRemoveChannels, &C::SetUserCanAddRemoveChannels, d.UserCanAddRemoveChannels)
          .Enumeration<TiPlotFormStyle>(QStringLiteral("EditorFormStyle"), &C::EditorFormStyle, &C::SetEditorFormStyle, d.EditorFormStyle,
                                        {QStringLiteral("ipfsModal"), QStringLiteral("ipfsStayOnTop")})
          .Boolean(QStringLiteral("ClipAnnotationsToAxes"), &C::ClipAnnotationsToAxes, &C::SetClipAnnotationsToAxes, d.ClipAnnotationsToAxes)
          .Object(QStringLiteral("AnnotationDefaultFont"), &C::AnnotationDefaultFont)
          .Enumeration<TBrushStyle>(QStringLiteral("AnnotationDefaultBrushStlye"), &C::AnnotationDefaultBrushStlye,
                                    &C::SetAnnotationDefaultBrushStlye, annotations.BrushStyle, BrushStyleNames())
          .Color(QStringLiteral("AnnotationDefaultBrushColor"), &C::AnnotationDefaultBrushColor,
                 &C::SetAnnotationDefaultBrushColor, annotations.BrushColor)
          .Enumeration<TPenStyle>(QStringLiteral("AnnotationDefaultPenStlye"), &C::AnnotationDefaultPenStlye,
                                  &C::SetAnnotationDefaultPenStlye, annotations.PenStyle, PenStyleNames())
          .Color(QStringLiteral("AnnotationDefaultPenColor"), &C::AnnotationDefaultPenColor, &C::SetAnnotationDefaultPenColor,
                 annotations.PenColor)
          .Integer(QStringLiteral("AnnotationDefaultPenWidth"), &C::AnnotationDefaultPenWidth, &C::SetAnnotationDefaultPenWidth,
                   annotations.PenWidth)
          .Enumeration<TiPlotReferenceType>(QStringLiteral("AnnotationDefaultReference"), &C::AnnotationDefaultReference,
                                            &C::SetAnnotationDefaultReference, annotations.Reference, ReferenceTypeNames())
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferencePositionX"),
                                                  &C::AnnotationDefaultReferencePositionX,
                                                  &C::SetAnnotationDefaultReferencePositionX, annotations.ReferencePositionX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferencePositionY"),
                                                  &C::AnnotationDefaultReferencePositionY,
                                                  &C::SetAnnotationDefaultReferencePositionY, annotations.ReferencePositionY, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferenceSizeX"),
                                                  &C::AnnotationDefaultReferenceSizeX, &C::SetAnnotationDefaultReferenceSizeX,
                                                  annotations.ReferenceSizeX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferenceSizeY"),
                                                  &C::AnnotationDefaultReferenceSizeY, &C::SetAnnotationDefaultReferenceSizeY,
                                                  annotations.ReferenceSizeY, individual)
          .Enumeration<TPrinterOrientation>(QStringLiteral("PrintOrientation"), &C::PrintOrientation, &C::SetPrintOrientation,
                                            d.PrintOrientation, {QStringLiteral("poPortrait"), QStringLiteral("poLandscape")})
          .Float(QStringLiteral("PrintMarginLeft"), &C::PrintMarginLeft, &C::SetPrintMarginLeft, 1.0)
          .Float(QStringLiteral("PrintMarginTop"), &C::PrintMarginTop, &C::SetPrintMarginTop, 1.0)
          .Float(QStringLiteral("PrintMarginRight"), &C::PrintMarginRight, &C::SetPrintMarginRight, 1.0)
          .Float(QStringLiteral("PrintMarginBottom"), &C::PrintMarginBottom, &C::SetPrintMarginBottom, 1.0)
          .Boolean(QStringLiteral("PrintShowDialog"), &C::PrintShowDialog, &C::SetPrintShowDialog, d.PrintShowDialog)
          .String(QStringLiteral("PrintDocumentName"), &C::PrintDocumentName, &C::SetPrintDocumentName, QStringLiteral("Untitled"))
          .String(QStringLiteral("PrinterName"), &C::PrinterName, &C::SetPrinterName, QString())
          .Enumeration<TiPlotExportFormat>(QStringLiteral("CopyToClipBoardFormat"), &C::CopyToClipBoardFormat,
                                           &C::SetCopyToClipBoardFormat, d.CopyToClipBoardFormat,
                                           {QStringLiteral("ipefMetaFile"), QStringLiteral("ipefBitmap"), QStringLiteral("ipefJPEG")})
          .Enumeration<TiPlotDataFileFormat>(QStringLiteral("DataFileFormat"), &C::DataFileFormat, &C::SetDataFileFormat, d.DataFileFormat,
                                             {QStringLiteral("ipdffText"), QStringLiteral("ipdffCompactInterval")})
          .Enumeration<TiPlotDataFileColumnSeparator>(QStringLiteral("DataFileColumnSeparator"), &C::DataFileColumnSeparator,
                                                      &C::SetDataFileColumnSeparator, d.DataFileColumnSeparator,
                                                      {QStringLiteral("ipdfcsTab"), QStringLiteral("ipdfcsComma")})
          .String(QStringLiteral("LogFileName"), &C::LogFileName, &C::SetLogFileName, QString())
          .Integer(QStringLiteral("LogBufferSize"), &C::LogBufferSize, &C::SetLogBufferSize, d.LogBufferSize)
          .Boolean(QStringLiteral("LoggingActive"), &C::LoggingActive, nullptr, d.LoggingActive)
          .NotStored()
          .Boolean(QStringLiteral("TabStop"), &C::TabStop, &C::SetTabStop, d.TabStop)
          .Integer(QStringLiteral("TabOrder"), &C::TabOrder, &C::SetTabOrder, d.TabOrder)
          .Build();
  return info;
}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

TiPlotComponent::TiPlotComponent(QWidget* parent) : TiCustomComponent(parent) {
  // 1. The chart's own defaults over those of the foundation.
  SetWidth(500);
  SetHeight(200);
  SetBackGroundColor(kPlotComponentDefaults.BackGroundColor);
  SetBorderStyle(kPlotComponentDefaults.BorderStyle);
  SetUpdateFrameRate(60);
  SetAutoFrameRate(kPlotComponentDefaults.AutoFrameRate);
  // (The other properties start at their defaults as members.)

  // 2. The master manager and its notifications.
  master_ = std::make_unique<TiPlotMasterManager>(this);
  master_->OnChanged = [this](TiPlotMasterManager*) { ObjectsChanged(); };
  master_->OnRepaintNow = [this](TiPlotMasterManager*) { InvalidateNow(); };
  master_->OnObjectInserted = [this](TiPlotPersistent* item) { ObjectInserted(item); };
  master_->OnObjectRemoved = [this](TiPlotPersistent* item) { ObjectRemoved(item); };
  // "Edit..." on any object opens the property editor on that object.
  master_->OnEditObject = [this](TiPlotObject* object) { ShowEditor(object); };

  // 3. Popup menu, fonts, picture lists (members), annotation defaults (members) and lists.
  popupMenu_ = std::make_unique<TPopupMenu>();
  hintsFont_ = std::make_unique<TiFont>(TFont());
  annotationDefaultFont_ = std::make_unique<TiFont>(AnnotationStartFont());
  annotationDefaults_ = ChartAnnotationDefaults();
  controlFont_ = std::make_unique<TiFont>(TFont());
  titleFontStandIn_ = std::make_unique<TiFont>(TFont());

  // 4.
  master_->SetUserCanEditObjects(kPlotComponentDefaults.UserCanEditObjects);
  OnInternalTimer = [this] { HintTimerTick(); };
}

TiPlotComponent::~TiPlotComponent() {
  pressedObject_ = nullptr;
  hoverObject_ = nullptr;
  releasedObject_ = nullptr;
  hintObject_ = nullptr;
  reservedRects_.clear();
  drawList_.clear();
  layoutTop_.clear();
  layoutBottom_.clear();
  layoutLeft_.clear();
  layoutRight_.clear();
  OnInternalTimer = nullptr;
  StopTimer();
  if (master_) {
    // Nothing reaches the half-destroyed chart while its objects go.
    master_->OnChanged = nullptr;
    master_->OnRepaintNow = nullptr;
    master_->OnObjectInserted = nullptr;
    master_->OnObjectRemoved = nullptr;
    master_->OnEditObject = nullptr;
    if (master_->AllObjects()) master_->AllObjects()->DetachAll();
    master_.reset();
  }
}

void TiPlotComponent::resizeEvent(QResizeEvent* e) {
  TiCustomComponent::resizeEvent(e);
  RaiseEvent(OnResize, this);
}

// ---------------------------------------------------------------------------------------------
// Notifications from the master manager

void TiPlotComponent::ObjectsChanged() { InvalidateChange(); }

void TiPlotComponent::ObjectInserted(TiPlotPersistent* item) {
  auto* object = dynamic_cast<TiPlotObject*>(item);
  if (!object) return;
  DispatchObjectEvent<TiPlotObjectEvent>(object, {{ipokChannel, &OnAddChannel},
                                                  {ipokXAxis, &OnAddXAxis},
                                                  {ipokYAxis, &OnAddYAxis},
                                                  {ipokDataCursor, &OnAddDataCursor},
                                                  {ipokDataView, &OnAddDataView},
                                                  {ipokLegend, &OnAddLegend},
                                                  {ipokLimit, &OnAddLimit},
                                                  {ipokTable, &OnAddTable},
                                                  {ipokAnnotation, &OnAddAnnotation}});
}

void TiPlotComponent::ObjectRemoved(TiPlotPersistent* item) {
  // Forget it wherever the chart still refers to it.
  auto forget = [item](TiPlotObject*& ref) {
    if (ref && static_cast<TiPlotPersistent*>(ref) == item) ref = nullptr;
  };
  forget(pressedObject_);
  forget(hoverObject_);
  forget(releasedObject_);
  forget(hintObject_);
  for (std::vector<TiPlotLayoutObject*>* list : {&layoutTop_, &layoutBottom_, &layoutLeft_, &layoutRight_})
    list->erase(std::remove_if(list->begin(), list->end(), [item](TiPlotLayoutObject* o) { return static_cast<TiPlotPersistent*>(o) == item; }),
                list->end());
  drawList_.erase(std::remove_if(drawList_.begin(), drawList_.end(),
                                 [item](const TiPlotDrawListItem& d) { return static_cast<TiPlotPersistent*>(d.Object) == item; }),
                  drawList_.end());
  // A plainly deleted object is no longer whole: the program's handlers must not see it.
  if (item->PartlyDestroyed()) return;
  auto* object = dynamic_cast<TiPlotObject*>(item);
  if (!object) return;
  auto raise = [&] {
    DispatchObjectEvent<TiPlotObjectEvent>(object, {{ipokChannel, &OnRemoveChannel},
                                                    {ipokXAxis, &OnRemoveXAxis},
                                                    {ipokYAxis, &OnRemoveYAxis},
                                                    {ipokDataCursor, &OnRemoveDataCursor},
                                                    {ipokDataView, &OnRemoveDataView},
                                                    {ipokLegend, &OnRemoveLegend},
                                                    {ipokLimit, &OnRemoveLimit},
                                                    {ipokTable, &OnRemoveTable},
                                                    {ipokAnnotation, &OnRemoveAnnotation}});
  };
  // On the way out of a destructor a failing handler would end the program: the removal goes on
  // without it. Taken out without being destroyed, the failure stops the removal as any other.
  if (item->Destroying())
    RunGuarded(raise);
  else
    raise();
}

// ---------------------------------------------------------------------------------------------
// Event dispatch

TiPlotObjectKind TiPlotComponent::ObjectKind(const TiPlotObject* object, int* index) const {
  if (index) *index = -1;
  if (!object || !master_) return ipokNone;
  const TiPlotObjectOwnedManager* collection = master_->Collection(object->Kind());
  const int at = collection ? collection->IndexOf(object) : -1;
  if (at < 0) return ipokNone;
  if (index) *index = at;
  return object->Kind();
}

void TiPlotComponent::ObjectMouseDown(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) {
  DispatchObjectEvent<TiPlotObjectMouseEvent>(
      object, {{ipokChannel, &OnMouseDownChannel}, {ipokXAxis, &OnMouseDownXAxis}, {ipokYAxis, &OnMouseDownYAxis},
               {ipokDataCursor, &OnMouseDownDataCursor}, {ipokDataView, &OnMouseDownDataView}, {ipokLegend, &OnMouseDownLegend},
               {ipokLimit, &OnMouseDownLimit}, {ipokAnnotation, &OnMouseDownAnnotation}},
      button, shift, x, y);
}

void TiPlotComponent::ObjectMouseMove(TiPlotObject* object, TShiftState shift, int x, int y) {
  DispatchObjectEvent<TiPlotObjectMouseMoveEvent>(
      object, {{ipokChannel, &OnMouseMoveChannel}, {ipokXAxis, &OnMouseMoveXAxis}, {ipokYAxis, &OnMouseMoveYAxis},
               {ipokDataCursor, &OnMouseMoveDataCursor}, {ipokDataView, &OnMouseMoveDataView}, {ipokLegend, &OnMouseMoveLegend},
               {ipokLimit, &OnMouseMoveLimit}, {ipokAnnotation, &OnMouseMoveAnnotation}},
      shift, x, y);
}

void TiPlotComponent::ObjectMouseUp(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) {
  const TiPlotLifeGuard life(object);
  DispatchObjectEvent<TiPlotObjectMouseEvent>(
      object, {{ipokChannel, &OnMouseUpChannel}, {ipokXAxis, &OnMouseUpXAxis}, {ipokYAxis, &OnMouseUpYAxis},
               {ipokDataCursor, &OnMouseUpDataCursor}, {ipokDataView, &OnMouseUpDataView}, {ipokLegend, &OnMouseUpLegend},
               {ipokLimit, &OnMouseUpLimit}, {ipokAnnotation, &OnMouseUpAnnotation}},
      button, shift, x, y);
  // A handler may have removed the object.
  if (!object || life.Gone()) return;
  // The release of a press on the object is its click (where the object counts it as one);
  // after a double click, its double click.
  const bool doubleClick = doubleClickPending_;
  doubleClickPending_ = false;
  if (!object->ReleaseIsClick(x, y)) return;
  if (doubleClick)
    DispatchObjectEvent<TiPlotObjectEvent>(
        object, {{ipokChannel, &OnDblClickChannel}, {ipokXAxis, &OnDblClickXAxis}, {ipokYAxis, &OnDblClickYAxis},
                 {ipokDataCursor, &OnDblClickDataCursor}, {ipokDataView, &OnDblClickDataView},
                 {ipokLegend, &OnDblClickLegend}, {ipokLimit, &OnDblClickLimit}, {ipokAnnotation, &OnDblClickAnnotation}});
  else
    DispatchObjectEvent<TiPlotObjectEvent>(
        object, {{ipokChannel, &OnClickChannel}, {ipokXAxis, &OnClickXAxis}, {ipokYAxis, &OnClickYAxis},
                 {ipokDataCursor, &OnClickDataCursor}, {ipokDataView, &OnClickDataView}, {ipokLegend, &OnClickLegend},
                 {ipokLimit, &OnClickLimit}, {ipokAnnotation, &OnClickAnnotation}});
}

void TiPlotComponent::ObjectMouseWheel(TiPlotObject* object, int wheelDelta, TShiftState shift, int x, int y) {
  DispatchObjectEvent<TiPlotObjectMouseWheelEvent>(
      object, {{ipokChannel, &OnMouseWheelChannel}, {ipokXAxis, &OnMouseWheelXAxis}, {ipokYAxis, &OnMouseWheelYAxis},
               {ipokDataCursor, &OnMouseWheelDataCursor}, {ipokDataView, &OnMouseWheelDataView},
               {ipokLegend, &OnMouseWheelLegend}, {ipokLimit, &OnMouseWheelLimit}, {ipokAnnotation, &OnMouseWheelAnnotation}},
      wheelDelta, shift, x, y);
}

bool TiPlotComponent::ObjectPopupHandled(TiPlotObject* object, int screenX, int screenY) {
  bool cancel = false;
  DispatchObjectEvent<TiPlotPopupMenuEvent>(
      object, {{ipokChannel, &OnPopupMenuChannel}, {ipokXAxis, &OnPopupMenuXAxis}, {ipokYAxis, &OnPopupMenuYAxis},
               {ipokDataCursor, &OnPopupMenuDataCursor}, {ipokDataView, &OnPopupMenuDataView}, {ipokLegend, &OnPopupMenuLegend},
               {ipokLimit, &OnPopupMenuLimit}, {ipokAnnotation, &OnPopupMenuAnnotation}},
      cancel, screenX, screenY);
  return cancel;
}

void TiPlotComponent::ObjectGotFocus(TiPlotObject* object) {
  DispatchObjectEvent<TiPlotObjectEvent>(
      object, {{ipokChannel, &OnGotFocusChannel}, {ipokXAxis, &OnGotFocusXAxis}, {ipokYAxis, &OnGotFocusYAxis},
               {ipokDataCursor, &OnGotFocusDataCursor}, {ipokDataView, &OnGotFocusDataView}, {ipokLegend, &OnGotFocusLegend},
               {ipokAnnotation, &OnGotFocusAnnotation}});
}

void TiPlotComponent::ObjectLostFocus(TiPlotObject* object) {
  DispatchObjectEvent<TiPlotObjectEvent>(
      object, {{ipokChannel, &OnLostFocusChannel}, {ipokXAxis, &OnLostFocusXAxis}, {ipokYAxis, &OnLostFocusYAxis},
               {ipokDataCursor, &OnLostFocusDataCursor}, {ipokDataView, &OnLostFocusDataView},
               {ipokLegend, &OnLostFocusLegend}, {ipokAnnotation, &OnLostFocusAnnotation}});
}

void TiPlotComponent::AxisMinChange(TiPlotAxis* axis, double oldValue, double newValue) {
  DispatchObjectEvent<TiPlotObjectDoubleValueChangeEvent>(axis, {{ipokXAxis, &OnXAxisMinChange}, {ipokYAxis, &OnYAxisMinChange}},
                                                          oldValue, newValue);
}

void TiPlotComponent::AxisSpanChange(TiPlotAxis* axis, double oldValue, double newValue) {
  DispatchObjectEvent<TiPlotObjectDoubleValueChangeEvent>(axis, {{ipokXAxis, &OnXAxisSpanChange}, {ipokYAxis, &OnYAxisSpanChange}},
                                                          oldValue, newValue);
}

void TiPlotComponent::AxisMinSpanChange(TiPlotAxis* axis, double oldMin, double oldSpan, double newMin, double newSpan) {
  DispatchObjectEvent<TiPlotAxesMinSpanChangeEvent>(axis, {{ipokXAxis, &OnXAxisMinSpanChange}, {ipokYAxis, &OnYAxisMinSpanChange}},
                                                    oldMin, oldSpan, newMin, newSpan);
}

void TiPlotComponent::LimitLine1PositionChange(TiPlotLimit* limit, double oldValue, double newValue) {
  DispatchObjectEvent<TiPlotObjectDoubleValueChangeEvent>(limit, {{ipokLimit, &OnLimitLine1PositionChange}}, oldValue, newValue);
}

void TiPlotComponent::LimitLine2PositionChange(TiPlotLimit* limit, double oldValue, double newValue) {
  DispatchObjectEvent<TiPlotObjectDoubleValueChangeEvent>(limit, {{ipokLimit, &OnLimitLine2PositionChange}}, oldValue, newValue);
}

void TiPlotComponent::AxisCustomizeLabel(TiPlotAxis* axis, double value, QString& text) {
  DispatchObjectEvent<TiPlotAxesCustomizeLabelEvent>(
      axis, {{ipokXAxis, &OnXAxisCustomizeLabel}, {ipokYAxis, &OnYAxisCustomizeLabel}}, value, text);
}

QString TiPlotComponent::Translate(const QString& text) const {
  const TiPlotTranslationManager* table = TranslationManager();
  return table ? table->Translate(text) : text;
}

TPoint TiPlotComponent::ClientToScreen(TPoint client) const {
  const QPoint p = mapToGlobal(QPoint(client.X, client.Y));
  return {p.x(), p.y()};
}

// ---------------------------------------------------------------------------------------------
// Property setters

namespace {
template <class T>
bool Changed(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TiPlotComponent::SetBackGroundGradientEnabled(bool value) {
  if (Changed(backGroundGradientEnabled_, value)) InvalidateChange();
}
void TiPlotComponent::SetBackGroundGradientDirection(TiFillDirection value) {
  if (Changed(backGroundGradientDirection_, value)) InvalidateChange();
}
void TiPlotComponent::SetBackGroundGradientStartColor(TColor value) {
  if (Changed(backGroundGradientStartColor_, value)) InvalidateChange();
}
void TiPlotComponent::SetBackGroundGradientStopColor(TColor value) {
  if (Changed(backGroundGradientStopColor_, value)) InvalidateChange();
}
// Margins are distances on the chart: held to its drawable range, so the layout's sums stay in range.
void TiPlotComponent::SetOuterMarginLeft(int value) {
  if (Changed(outerMarginLeft_, ClampCoordinate(value))) InvalidateChange();
}
void TiPlotComponent::SetOuterMarginTop(int value) {
  if (Changed(outerMarginTop_, ClampCoordinate(value))) InvalidateChange();
}
void TiPlotComponent::SetOuterMarginRight(int value) {
  if (Changed(outerMarginRight_, ClampCoordinate(value))) InvalidateChange();
}
void TiPlotComponent::SetOuterMarginBottom(int value) {
  if (Changed(outerMarginBottom_, ClampCoordinate(value))) InvalidateChange();
}
void TiPlotComponent::SetClipAnnotationsToAxes(bool value) {
  if (Changed(clipAnnotationsToAxes_, value)) InvalidateChange();
}

int TiPlotComponent::DataViewZHorz() const {
  const TiPlotLayoutManager* layout = LayoutManager();
  return layout && layout->DataViewHorz() ? layout->DataViewHorz()->ZOrder() : 1;
}

void TiPlotComponent::SetDataViewZHorz(int value) {
  TiPlotLayoutManager* layout = LayoutManager();
  if (!layout || !layout->DataViewHorz()) return;
  // The placeholder repaints through its change; the sides follow it at once.
  layout->DataViewHorz()->SetZOrder(value);
  layout->Rebuild();
}

int TiPlotComponent::DataViewZVert() const {
  const TiPlotLayoutManager* layout = LayoutManager();
  return layout && layout->DataViewVert() ? layout->DataViewVert()->ZOrder() : 1;
}

void TiPlotComponent::SetDataViewZVert(int value) {
  TiPlotLayoutManager* layout = LayoutManager();
  if (!layout || !layout->DataViewVert()) return;
  layout->DataViewVert()->SetZOrder(value);
  layout->Rebuild();
}

bool TiPlotComponent::XYAxesReverse() const { return master_ && master_->XYAxesReverse(); }

void TiPlotComponent::SetXYAxesReverse(bool value) {
  if (!master_ || master_->XYAxesReverse() == value) return;
  // The master manager passes it on and repaints at once.
  master_->SetXYAxesReverse(value);
}

QString TiPlotComponent::TitleText() const { return LabelCount() > 0 ? Labels(0)->Caption() : QString(); }
void TiPlotComponent::SetTitleText(const QString& value) {
  if (LabelCount() > 0) Labels(0)->SetCaption(value);
}
bool TiPlotComponent::TitleVisible() const { return LabelCount() > 0 && Labels(0)->Visible(); }
void TiPlotComponent::SetTitleVisible(bool value) {
  if (LabelCount() > 0) Labels(0)->SetVisible(value);
}
TiFont* TiPlotComponent::TitleFont() {
  if (LabelCount() > 0) return Labels(0)->Font();
  // Without a title a copy of the control's font: writing into it changes nothing.
  titleFontStandIn_->OnChange = nullptr;
  titleFontStandIn_->Assign(controlFont_->Font());
  return titleFontStandIn_.get();
}
void TiPlotComponent::SetTitleFont(const TFont& value) {
  if (LabelCount() > 0) Labels(0)->SetFont(value);
}
double TiPlotComponent::TitleMargin() const { return LabelCount() > 0 ? Labels(0)->MarginBottom() : 0.0; }
void TiPlotComponent::SetTitleMargin(double value) {
  if (LabelCount() > 0) Labels(0)->SetMarginBottom(value);
}

bool TiPlotComponent::UserCanEditObjects() const { return master_ && master_->UserCanEditObjects(); }
void TiPlotComponent::SetUserCanEditObjects(bool value) {
  if (master_) master_->SetUserCanEditObjects(value);
}

void TiPlotComponent::SetDataFileFormat(TiPlotDataFileFormat value) {
  // Checked before comparing: any attempt while logging is refused.
  if (loggingActive_) throw EiError(QStringLiteral("Data File Format can not be changed while logging active"));
  dataFileFormat_ = value;
}

void TiPlotComponent::SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator value) {
  if (value == dataFileColumnSeparator_) return;
  if (loggingActive_) throw EiError(QStringLiteral("Data File Column Seperator can not be changed while logging active"));
  dataFileColumnSeparator_ = value;
}

QChar TiPlotComponent::DataFileColumnSeparatorChar() const {
  return dataFileColumnSeparator_ == ipdfcsComma ? QLatin1Char(',') : QLatin1Char('\t');
}

void TiPlotComponent::SetLogFileName(const QString& value) {
  if (value == logFileName_) return;
  if (loggingActive_) throw EiError(QStringLiteral("Log File Name can not be changed while logging is active."));
  logFileName_ = value;
}

void TiPlotComponent::SetTabStop(bool value) {
  tabStop_ = value;
  setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

// ---------------------------------------------------------------------------------------------
// Object access, adding and removing, kind by kind

int TiPlotComponent::Count(TiPlotObjectKind kind) const {
  const TiPlotObjectOwnedManager* collection = master_ ? master_->Collection(kind) : nullptr;
  return collection ? collection->Count() : 0;
}

TiPlotObject* TiPlotComponent::Item(TiPlotObjectKind kind, int i) const {
  const TiPlotObjectOwnedManager* collection = master_ ? master_->Collection(kind) : nullptr;
  CheckIndex(i, collection ? collection->Count() : 0);
  return collection->Items(i);
}

TiPlotObject* TiPlotComponent::Find(TiPlotObjectKind kind, const QString& name) const {
  const TiPlotObjectOwnedManager* collection = master_ ? master_->Collection(kind) : nullptr;
  return collection ? collection->FindByName(name) : nullptr;
}

int TiPlotComponent::Add(TiPlotObjectKind kind) { return master_ ? master_->Add(kind) : -1; }

void TiPlotComponent::RemoveAll(TiPlotObjectKind kind) {
  if (TiPlotObjectOwnedManager* collection = master_ ? master_->Collection(kind) : nullptr) collection->Clear();
  InvalidateNow();
}

void TiPlotComponent::Delete(TiPlotObjectKind kind, int index) {
  TiPlotObjectOwnedManager* collection = master_ ? master_->Collection(kind) : nullptr;
  CheckIndex(index, collection ? collection->Count() : 0);
  collection->Delete(index);
  InvalidateNow();
}

int TiPlotComponent::ChannelCount() const { return Count(ipokChannel); }
int TiPlotComponent::XAxisCount() const { return Count(ipokXAxis); }
int TiPlotComponent::YAxisCount() const { return Count(ipokYAxis); }
int TiPlotComponent::ToolBarCount() const { return Count(ipokToolBar); }
int TiPlotComponent::LegendCount() const { return Count(ipokLegend); }
int TiPlotComponent::TableCount() const { return Count(ipokTable); }
int TiPlotComponent::LabelCount() const { return Count(ipokLabel); }
int TiPlotComponent::DataViewCount() const { return Count(ipokDataView); }
int TiPlotComponent::DataCursorCount() const { return Count(ipokDataCursor); }
int TiPlotComponent::LimitCount() const { return Count(ipokLimit); }
int TiPlotComponent::AnnotationCount() const { return Count(ipokAnnotation); }

TiPlotChannelCustom* TiPlotComponent::Channel(int i) const { return static_cast<TiPlotChannelCustom*>(Item(ipokChannel, i)); }
TiPlotXAxis* TiPlotComponent::XAxis(int i) const { return static_cast<TiPlotXAxis*>(Item(ipokXAxis, i)); }
TiPlotYAxis* TiPlotComponent::YAxis(int i) const { return static_cast<TiPlotYAxis*>(Item(ipokYAxis, i)); }
TiPlotToolBar* TiPlotComponent::ToolBar(int i) const { return static_cast<TiPlotToolBar*>(Item(ipokToolBar, i)); }
TiPlotLegend* TiPlotComponent::Legend(int i) const { return static_cast<TiPlotLegend*>(Item(ipokLegend, i)); }
TiPlotTable* TiPlotComponent::Table(int i) const { return static_cast<TiPlotTable*>(Item(ipokTable, i)); }
TiPlotLabel* TiPlotComponent::Labels(int i) const { return static_cast<TiPlotLabel*>(Item(ipokLabel, i)); }
TiPlotDataView* TiPlotComponent::DataView(int i) const { return static_cast<TiPlotDataView*>(Item(ipokDataView, i)); }
TiPlotDataCursor* TiPlotComponent::DataCursor(int i) const { return static_cast<TiPlotDataCursor*>(Item(ipokDataCursor, i)); }
TiPlotLimit* TiPlotComponent::Limit(int i) const { return static_cast<TiPlotLimit*>(Item(ipokLimit, i)); }
TiPlotAnnotation* TiPlotComponent::Annotation(int i) const { return static_cast<TiPlotAnnotation*>(Item(ipokAnnotation, i)); }

TiPlotChannelCustom* TiPlotComponent::FindChannel(const QString& name) const {
  return static_cast<TiPlotChannelCustom*>(Find(ipokChannel, name));
}
TiPlotXAxis* TiPlotComponent::FindXAxis(const QString& name) const { return static_cast<TiPlotXAxis*>(Find(ipokXAxis, name)); }
TiPlotYAxis* TiPlotComponent::FindYAxis(const QString& name) const { return static_cast<TiPlotYAxis*>(Find(ipokYAxis, name)); }

void TiPlotComponent::RemoveAllToolBars() { RemoveAll(ipokToolBar); }
void TiPlotComponent::RemoveAllLegends() { RemoveAll(ipokLegend); }
void TiPlotComponent::RemoveAllTables() { RemoveAll(ipokTable); }
void TiPlotComponent::RemoveAllXAxes() { RemoveAll(ipokXAxis); }
void TiPlotComponent::RemoveAllYAxes() { RemoveAll(ipokYAxis); }
void TiPlotComponent::RemoveAllDataViews() { RemoveAll(ipokDataView); }
void TiPlotComponent::RemoveAllDataCursors() { RemoveAll(ipokDataCursor); }
void TiPlotComponent::RemoveAllChannels() { RemoveAll(ipokChannel); }
void TiPlotComponent::RemoveAllAnnotations() { RemoveAll(ipokAnnotation); }
void TiPlotComponent::RemoveAllLimits() { RemoveAll(ipokLimit); }

void TiPlotComponent::RemoveAllLabels() {
  // Label 0 is the title and stays; no repaint request of its own.
  TiPlotLabelManager* labels = master_->LabelManager();
  while (labels && labels->Count() > 1) labels->Delete(1);
}

void TiPlotComponent::RemoveAllTranslations() {
  if (TiPlotTranslationManager* table = TranslationManager()) table->Clear();
  InvalidateNow();
}

void TiPlotComponent::DeleteToolBar(int index) { Delete(ipokToolBar, index); }
void TiPlotComponent::DeleteLegend(int index) { Delete(ipokLegend, index); }
void TiPlotComponent::DeleteTable(int index) { Delete(ipokTable, index); }
void TiPlotComponent::DeleteXAxis(int index) { Delete(ipokXAxis, index); }
void TiPlotComponent::DeleteYAxis(int index) { Delete(ipokYAxis, index); }
void TiPlotComponent::DeleteDataView(int index) { Delete(ipokDataView, index); }
void TiPlotComponent::DeleteDataCursor(int index) { Delete(ipokDataCursor, index); }
void TiPlotComponent::DeleteChannel(int index) { Delete(ipokChannel, index); }
void TiPlotComponent::DeleteAnnotation(int index) { Delete(ipokAnnotation, index); }
void TiPlotComponent::DeleteLimit(int index) { Delete(ipokLimit, index); }

void TiPlotComponent::DeleteLabel(int index) {
  if (index == 0) throw EiError(QStringLiteral("Label Index 0 can not be Deleted (Resevered for Title)"));
  // No repaint request of its own.
  TiPlotLabelManager* labels = master_ ? master_->LabelManager() : nullptr;
  CheckIndex(index, labels ? labels->Count() : 0);
  labels->Delete(index);
}

void TiPlotComponent::DeleteTranslation(int index) {
  TiPlotTranslationManager* table = TranslationManager();
  CheckIndex(index, table ? table->Count() : 0);
  table->Delete(index);
  InvalidateNow();
}

int TiPlotComponent::AddChannel() { return Add(ipokChannel); }
int TiPlotComponent::AddDataView() { return Add(ipokDataView); }
int TiPlotComponent::AddDataCursor() { return Add(ipokDataCursor); }
int TiPlotComponent::AddXAxis() { return Add(ipokXAxis); }
int TiPlotComponent::AddYAxis() { return Add(ipokYAxis); }
int TiPlotComponent::AddLegend() { return Add(ipokLegend); }
int TiPlotComponent::AddTable() { return Add(ipokTable); }
int TiPlotComponent::AddToolBar() { return Add(ipokToolBar); }
int TiPlotComponent::AddLimit() { return Add(ipokLimit); }
int TiPlotComponent::AddLabel() { return Add(ipokLabel); }

int TiPlotComponent::AddAnnotation() {
  const int index = Add(ipokAnnotation);
  if (index < 0) return index;
  TiPlotAnnotation* annotation = Annotation(index);
  annotation->SetLook(annotationDefaults_);
  annotation->Font()->Assign(annotationDefaultFont_->Font());
  return index;
}

void TiPlotComponent::ClearAllData() {
  if (loggingActive_) StopLogging();
  master_->ResetAll();
}

void TiPlotComponent::DisableAllTracking() {
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->SetTrackingEnabled(false);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->SetTrackingEnabled(false);
}

void TiPlotComponent::EnableAllTracking() {
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->SetTrackingEnabled(true);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->SetTrackingEnabled(true);
}

TImageList* TiPlotComponent::ImageList(int index) {
  if (index < 0 || index > 2) return nullptr;
  return &imageLists_[index];
}

// ---------------------------------------------------------------------------------------------
// Occupied rectangles

void TiPlotComponent::ReserveRect(const TRect& rect) { reservedRects_.push_back(rect); }

bool TiPlotComponent::TryReserveRect(const TRect& rect) {
  for (const TRect& reserved : reservedRects_) {
    TRect common;
    if (IntersectRect(common, rect, reserved)) return false;
    // Made inside the walk, so a first rectangle is taken wherever it lies.
    if (DataViewCount() > 0) {
      const TRect view = DataView(0)->GetLayoutRect();
      if (rect.Left < view.Left || rect.Top < view.Top || rect.Right > view.Right || rect.Bottom > view.Bottom) return false;
    }
  }
  reservedRects_.push_back(rect);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Reading a stored chart

void TiPlotComponent::BeginLoading() {
  SetLoading(true);
  if (TiPlotLayoutManager* layout = LayoutManager()) layout->SetLayoutEnabled(false);
  BeginUpdate();
}

void TiPlotComponent::EndLoading() {
  // Older definitions may put the toolbar and the title in one slot: the toolbar moves out.
  if (ToolBarCount() > 0 && LabelCount() > 0) {
    TiPlotToolBar* toolBar = ToolBar(0);
    TiPlotLabel* title = Labels(0);
    if (toolBar->Horizontal() == title->Horizontal() && toolBar->ZOrder() == title->ZOrder())
      toolBar->SetZOrder(toolBar->ZOrder() + 1);
  }
  if (TiPlotLayoutManager* layout = LayoutManager()) layout->SetLayoutEnabled(true);
  SetLoading(false);
  EndUpdate();
}

