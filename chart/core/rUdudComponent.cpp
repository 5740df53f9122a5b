#include "chart/core/rUdudComponent.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "platform/Menus.h"

// ---------------------------------------------------------------------------------------------
// Published properties

const TiClassInfo& TiPlotComponent::StaticClassInfo() {
  using C = TiPlotComponent;
  static const QStringList individual{QStringLiteral("ipriDataView"), QStringLiteral("ipriChannel"), QStringLiteral("ipriAuto")};
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotComponent"), &TiCustomComponent::StaticClassInfo())
          .Redefault(QStringLiteral("BackGroundColor"), clBlack)
          .Redefault(QStringLiteral("BorderStyle"), ibsLowered)
          .Redefault(QStringLiteral("AutoFrameRate"), 1)
          .Boolean(QStringLiteral("BackGroundGradientEnabled"), &C::BackGroundGradientEnabled, &C::SetBackGroundGradientEnabled, false)
          .Enumeration<TiFillDirection>(QStringLiteral("BackGroundGradientDirection"), &C::BackGroundGradientDirection,
                                        &C::SetBackGroundGradientDirection, ifdTopBottom)
          .Color(QStringLiteral("BackGroundGradientStartColor"), &C::BackGroundGradientStartColor,
                 &C::SetBackGroundGradientStartColor, clBlue)
          .Color(QStringLiteral("BackGroundGradientStopColor"), &C::BackGroundGradientStopColor,
                 &C::SetBackGroundGradientStopColor, clBlack)
          .Integer(QStringLiteral("OuterMarginLeft"), &C::OuterMarginLeft, &C::SetOuterMarginLeft, 5)
          .Integer(QStringLiteral("OuterMarginTop"), &C::OuterMarginTop, &C::SetOuterMarginTop, 5)
          .Integer(QStringLiteral("OuterMarginRight"), &C::OuterMarginRight, &C::SetOuterMarginRight, 5)
          .Integer(QStringLiteral("OuterMarginBottom"), &C::OuterMarginBottom, &C::SetOuterMarginBottom, 5)
          .Integer(QStringLiteral("DataViewZHorz"), &C::DataViewZHorz, &C::SetDataViewZHorz)
          .Integer(QStringLiteral("DataViewZVert"), &C::DataViewZVert, &C::SetDataViewZVert)
          .Boolean(QStringLiteral("XYAxesReverse"), &C::XYAxesReverse, &C::SetXYAxesReverse, false)
          .String(QStringLiteral("TitleText"), &C::TitleText, &C::SetTitleText)
          .Boolean(QStringLiteral("TitleVisible"), &C::TitleVisible, &C::SetTitleVisible)
          .Object(QStringLiteral("TitleFont"), &C::TitleFont)
          .Float(QStringLiteral("TitleMargin"), &C::TitleMargin, &C::SetTitleMargin)
          .Boolean(QStringLiteral("HintsShow"), &C::HintsShow, &C::SetHintsShow, true)
          .Integer(QStringLiteral("HintsPause"), &C::HintsPause, &C::SetHintsPause, 500)
          .Integer(QStringLiteral("HintsHidePause"), &C::HintsHidePause, &C::SetHintsHidePause, 2500)
          .Object(QStringLiteral("HintsFont"), &C::HintsFont)
          .Boolean(QStringLiteral("UserCanEditObjects"), &C::UserCanEditObjects, &C::SetUserCanEditObjects, true)
          .Boolean(QStringLiteral("UserCanAddRemoveChannels"), &C::UserCanAddRemoveChannels, &C::SetUserCanAddRemoveChannels, false)
          .Enumeration<TiPlotFormStyle>(QStringLiteral("EditorFormStyle"), &C::EditorFormStyle, &C::SetEditorFormStyle, ipfsModal,
                                        {QStringLiteral("ipfsModal"), QStringLiteral("ipfsStayOnTop")})
          .Boolean(QStringLiteral("ClipAnnotationsToAxes"), &C::ClipAnnotationsToAxes, &C::SetClipAnnotationsToAxes, true)
          .Object(QStringLiteral("AnnotationDefaultFont"), &C::AnnotationDefaultFont)
          .Enumeration<TBrushStyle>(QStringLiteral("AnnotationDefaultBrushStlye"), &C::AnnotationDefaultBrushStlye,
                                    &C::SetAnnotationDefaultBrushStlye, bsSolid)
          .Color(QStringLiteral("AnnotationDefaultBrushColor"), &C::AnnotationDefaultBrushColor,
                 &C::SetAnnotationDefaultBrushColor, clWhite)
          .Enumeration<TPenStyle>(QStringLiteral("AnnotationDefaultPenStlye"), &C::AnnotationDefaultPenStlye,
                                  &C::SetAnnotationDefaultPenStlye, psSolid)
          .Color(QStringLiteral("AnnotationDefaultPenColor"), &C::AnnotationDefaultPenColor, &C::SetAnnotationDefaultPenColor, clWhite)
          .Integer(QStringLiteral("AnnotationDefaultPenWidth"), &C::AnnotationDefaultPenWidth, &C::SetAnnotationDefaultPenWidth, 1)
          .Enumeration<TiPlotReferenceType>(QStringLiteral("AnnotationDefaultReference"), &C::AnnotationDefaultReference,
                                            &C::SetAnnotationDefaultReference, iprtDataView,
                                            {QStringLiteral("iprtDataView"), QStringLiteral("iprtChannel"),
                                             QStringLiteral("iprtXChannelYDataView"), QStringLiteral("iprtXDataViewYChannel")})
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferencePositionX"),
                                                  &C::AnnotationDefaultReferencePositionX,
                                                  &C::SetAnnotationDefaultReferencePositionX, ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferencePositionY"),
                                                  &C::AnnotationDefaultReferencePositionY,
                                                  &C::SetAnnotationDefaultReferencePositionY, ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferenceSizeX"),
                                                  &C::AnnotationDefaultReferenceSizeX, &C::SetAnnotationDefaultReferenceSizeX,
                                                  ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("AnnotationDefaultReferenceSizeY"),
                                                  &C::AnnotationDefaultReferenceSizeY, &C::SetAnnotationDefaultReferenceSizeY,
                                                  ipriAuto, individual)
          .Enumeration<TPrinterOrientation>(QStringLiteral("PrintOrientation"), &C::PrintOrientation, &C::SetPrintOrientation,
                                            poLandscape, {QStringLiteral("poPortrait"), QStringLiteral("poLandscape")})
          .Float(QStringLiteral("PrintMarginLeft"), &C::PrintMarginLeft, &C::SetPrintMarginLeft)
          .Float(QStringLiteral("PrintMarginTop"), &C::PrintMarginTop, &C::SetPrintMarginTop)
          .Float(QStringLiteral("PrintMarginRight"), &C::PrintMarginRight, &C::SetPrintMarginRight)
          .Float(QStringLiteral("PrintMarginBottom"), &C::PrintMarginBottom, &C::SetPrintMarginBottom)
          .Boolean(QStringLiteral("PrintShowDialog"), &C::PrintShowDialog, &C::SetPrintShowDialog, true)
          .String(QStringLiteral("PrintDocumentName"), &C::PrintDocumentName, &C::SetPrintDocumentName)
          .String(QStringLiteral("PrinterName"), &C::PrinterName, &C::SetPrinterName)
          .Enumeration<TiPlotExportFormat>(QStringLiteral("CopyToClipBoardFormat"), &C::CopyToClipBoardFormat,
                                           &C::SetCopyToClipBoardFormat, ipefMetaFile,
                                           {QStringLiteral("ipefMetaFile"), QStringLiteral("ipefBitmap"), QStringLiteral("ipefJPEG")})
          .Enumeration<TiPlotDataFileFormat>(QStringLiteral("DataFileFormat"), &C::DataFileFormat, &C::SetDataFileFormat, ipdffText,
                                             {QStringLiteral("ipdffText"), QStringLiteral("ipdffCompactInterval")})
          .Enumeration<TiPlotDataFileColumnSeparator>(QStringLiteral("DataFileColumnSeparator"), &C::DataFileColumnSeparator,
                                                      &C::SetDataFileColumnSeparator, ipdfcsTab,
                                                      {QStringLiteral("ipdfcsTab"), QStringLiteral("ipdfcsComma")})
          .String(QStringLiteral("LogFileName"), &C::LogFileName, &C::SetLogFileName)
          .Integer(QStringLiteral("LogBufferSize"), &C::LogBufferSize, &C::SetLogBufferSize, 0)
          .Boolean(QStringLiteral("LoggingActive"), &C::LoggingActive, nullptr, false)
          .NotStored()
          .Boolean(QStringLiteral("TabStop"), &C::TabStop, &C::SetTabStop, false)
          .Integer(QStringLiteral("TabOrder"), &C::TabOrder, &C::SetTabOrder, -1)
          .Build();
  return info;
}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

TiPlotComponent::TiPlotComponent(QWidget* parent) : TiCustomComponent(parent) {
  // 1. The chart's own defaults over those of the foundation.
  SetWidth(500);
  SetHeight(200);
  SetBackGroundColor(clBlack);
  SetBorderStyle(ibsLowered);
  SetUpdateFrameRate(60);
  SetAutoFrameRate(true);
  // (Outer margins, hint timings and the print settings start at their defaults.)

  // 2. The master manager and its notifications.
  master_ = std::make_unique<TiPlotMasterManager>(this);
  master_->OnChanged = [this](TiPlotMasterManager*) { ObjectsChanged(); };
  master_->OnRepaintNow = [this](TiPlotMasterManager*) { InvalidateNow(); };
  master_->OnObjectInserted = [this](TiPlotPersistent* item) { ObjectInserted(item); };
  master_->OnObjectRemoved = [this](TiPlotPersistent* item) { ObjectRemoved(item); };

  // 3. Popup menu, fonts, picture lists (members), annotation defaults (members) and lists.
  popupMenu_ = std::make_unique<TPopupMenu>();
  hintsFont_ = std::make_unique<TiFont>(TFont());
  annotationDefaultFont_ = std::make_unique<TiFont>(TFont{QStringLiteral("Arial"), 11, clWhite, 0});
  controlFont_ = std::make_unique<TiFont>(TFont());
  titleFontStandIn_ = std::make_unique<TiFont>(TFont());

  // 4.
  clipAnnotationsToAxes_ = true;
  master_->SetUserCanEditObjects(true);
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
  auto* object = dynamic_cast<TiPlotObject*>(item);
  if (!object) return;
  DispatchObjectEvent<TiPlotObjectEvent>(object, {{ipokChannel, &OnRemoveChannel},
                                                  {ipokXAxis, &OnRemoveXAxis},
                                                  {ipokYAxis, &OnRemoveYAxis},
                                                  {ipokDataCursor, &OnRemoveDataCursor},
                                                  {ipokDataView, &OnRemoveDataView},
                                                  {ipokLegend, &OnRemoveLegend},
                                                  {ipokLimit, &OnRemoveLimit},
                                                  {ipokTable, &OnRemoveTable},
                                                  {ipokAnnotation, &OnRemoveAnnotation}});
}

// ---------------------------------------------------------------------------------------------
// Event dispatch

TiPlotObjectKind TiPlotComponent::ObjectKind(const TiPlotObject* object, int* index) const {
  if (index) *index = -1;
  if (!object || !master_) return ipokNone;
  auto test = [&](const TiPlotObjectManagerCustom* collection, TiPlotObjectKind kind) {
    if (!collection) return false;
    const int i = collection->IndexOf(object);
    if (i < 0) return false;
    if (index) *index = i;
    return true;
  };
  // The order in which several kinds are tested.
  if (dynamic_cast<const TiPlotChannelCustom*>(object)) return test(master_->ChannelManager(), ipokChannel) ? ipokChannel : ipokNone;
  if (dynamic_cast<const TiPlotXAxis*>(object)) return test(master_->XAxisManager(), ipokXAxis) ? ipokXAxis : ipokNone;
  if (dynamic_cast<const TiPlotYAxis*>(object)) return test(master_->YAxisManager(), ipokYAxis) ? ipokYAxis : ipokNone;
  if (dynamic_cast<const TiPlotDataCursor*>(object))
    return test(master_->DataCursorManager(), ipokDataCursor) ? ipokDataCursor : ipokNone;
  if (dynamic_cast<const TiPlotDataView*>(object)) return test(master_->DataViewManager(), ipokDataView) ? ipokDataView : ipokNone;
  if (dynamic_cast<const TiPlotLegend*>(object)) return test(master_->LegendManager(), ipokLegend) ? ipokLegend : ipokNone;
  if (dynamic_cast<const TiPlotLimit*>(object)) return test(master_->LimitManager(), ipokLimit) ? ipokLimit : ipokNone;
  if (dynamic_cast<const TiPlotAnnotation*>(object))
    return test(master_->AnnotationManager(), ipokAnnotation) ? ipokAnnotation : ipokNone;
  if (dynamic_cast<const TiPlotTable*>(object)) return test(master_->TableManager(), ipokTable) ? ipokTable : ipokNone;
  if (dynamic_cast<const TiPlotToolBar*>(object)) return test(master_->ToolBarManager(), ipokToolBar) ? ipokToolBar : ipokNone;
  if (dynamic_cast<const TiPlotLabel*>(object)) return test(master_->LabelManager(), ipokLabel) ? ipokLabel : ipokNone;
  return ipokNone;
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
  const std::weak_ptr<const void> life = object ? object->LifeToken() : std::weak_ptr<const void>();
  DispatchObjectEvent<TiPlotObjectMouseEvent>(
      object, {{ipokChannel, &OnMouseUpChannel}, {ipokXAxis, &OnMouseUpXAxis}, {ipokYAxis, &OnMouseUpYAxis},
               {ipokDataCursor, &OnMouseUpDataCursor}, {ipokDataView, &OnMouseUpDataView}, {ipokLegend, &OnMouseUpLegend},
               {ipokLimit, &OnMouseUpLimit}, {ipokAnnotation, &OnMouseUpAnnotation}},
      button, shift, x, y);
  // A handler may have removed the object.
  if (!object || life.expired()) return;
  // The release of a press on the object is its click; after a double click, its double click.
  const bool doubleClick = doubleClickPending_;
  doubleClickPending_ = false;
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
// Object access

namespace {
template <class M>
int CountOf(const M* manager) {
  return manager ? manager->Count() : 0;
}

template <class M>
auto ItemOf(const M* manager, int i) {
  if (!manager) throw EiError(QStringLiteral("Index out of Bounds"));
  return manager->Items(i);
}

[[noreturn]] void NoCollection() { throw EiError(QStringLiteral("Index out of Bounds")); }
}  // namespace

int TiPlotComponent::ChannelCount() const { return master_ ? CountOf(master_->ChannelManager()) : 0; }
int TiPlotComponent::XAxisCount() const { return master_ ? CountOf(master_->XAxisManager()) : 0; }
int TiPlotComponent::YAxisCount() const { return master_ ? CountOf(master_->YAxisManager()) : 0; }
int TiPlotComponent::ToolBarCount() const { return master_ ? CountOf(master_->ToolBarManager()) : 0; }
int TiPlotComponent::LegendCount() const { return master_ ? CountOf(master_->LegendManager()) : 0; }
int TiPlotComponent::TableCount() const { return master_ ? CountOf(master_->TableManager()) : 0; }
int TiPlotComponent::LabelCount() const { return master_ ? CountOf(master_->LabelManager()) : 0; }
int TiPlotComponent::DataViewCount() const { return master_ ? CountOf(master_->DataViewManager()) : 0; }
int TiPlotComponent::DataCursorCount() const { return master_ ? CountOf(master_->DataCursorManager()) : 0; }
int TiPlotComponent::LimitCount() const { return master_ ? CountOf(master_->LimitManager()) : 0; }
int TiPlotComponent::AnnotationCount() const { return master_ ? CountOf(master_->AnnotationManager()) : 0; }

TiPlotChannelCustom* TiPlotComponent::Channel(int i) const { return ItemOf(master_->ChannelManager(), i); }
TiPlotXAxis* TiPlotComponent::XAxis(int i) const { return ItemOf(master_->XAxisManager(), i); }
TiPlotYAxis* TiPlotComponent::YAxis(int i) const { return ItemOf(master_->YAxisManager(), i); }
TiPlotToolBar* TiPlotComponent::ToolBar(int i) const { return ItemOf(master_->ToolBarManager(), i); }
TiPlotLegend* TiPlotComponent::Legend(int i) const { return ItemOf(master_->LegendManager(), i); }
TiPlotTable* TiPlotComponent::Table(int i) const { return ItemOf(master_->TableManager(), i); }
TiPlotLabel* TiPlotComponent::Labels(int i) const { return ItemOf(master_->LabelManager(), i); }
TiPlotDataView* TiPlotComponent::DataView(int i) const { return ItemOf(master_->DataViewManager(), i); }
TiPlotDataCursor* TiPlotComponent::DataCursor(int i) const { return ItemOf(master_->DataCursorManager(), i); }
TiPlotLimit* TiPlotComponent::Limit(int i) const { return ItemOf(master_->LimitManager(), i); }
TiPlotAnnotation* TiPlotComponent::Annotation(int i) const { return ItemOf(master_->AnnotationManager(), i); }

TiPlotChannelCustom* TiPlotComponent::FindChannel(const QString& name) const {
  const TiPlotChannelManager* m = master_ ? master_->ChannelManager() : nullptr;
  return m ? static_cast<TiPlotChannelCustom*>(m->FindByName(name)) : nullptr;
}

TiPlotXAxis* TiPlotComponent::FindXAxis(const QString& name) const {
  const TiPlotXAxisManager* m = master_ ? master_->XAxisManager() : nullptr;
  return m ? static_cast<TiPlotXAxis*>(m->FindByName(name)) : nullptr;
}

TiPlotYAxis* TiPlotComponent::FindYAxis(const QString& name) const {
  const TiPlotYAxisManager* m = master_ ? master_->YAxisManager() : nullptr;
  return m ? static_cast<TiPlotYAxis*>(m->FindByName(name)) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Adding and removing objects

namespace {
void ClearCollection(TiPlotObjectManagerCustom* collection) {
  if (collection) collection->Clear();
}

void DeleteFrom(TiPlotObjectOwnedManager* collection, int index) {
  if (!collection) NoCollection();
  collection->Delete(index);
}
}  // namespace

void TiPlotComponent::RemoveAllToolBars() {
  ClearCollection(master_->ToolBarManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllLegends() {
  ClearCollection(master_->LegendManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllTables() {
  ClearCollection(master_->TableManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllXAxes() {
  ClearCollection(master_->XAxisManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllYAxes() {
  ClearCollection(master_->YAxisManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllDataViews() {
  ClearCollection(master_->DataViewManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllDataCursors() {
  ClearCollection(master_->DataCursorManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllChannels() {
  ClearCollection(master_->ChannelManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllAnnotations() {
  ClearCollection(master_->AnnotationManager());
  InvalidateNow();
}
void TiPlotComponent::RemoveAllLimits() {
  ClearCollection(master_->LimitManager());
  InvalidateNow();
}

void TiPlotComponent::RemoveAllLabels() {
  // Label 0 is the title and stays.
  TiPlotLabelManager* labels = master_->LabelManager();
  while (labels && labels->Count() > 1) labels->Delete(1);
}

void TiPlotComponent::RemoveAllTranslations() {
  if (TiPlotTranslationManager* table = TranslationManager()) table->Clear();
  InvalidateNow();
}

void TiPlotComponent::DeleteToolBar(int index) {
  DeleteFrom(master_->ToolBarManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteLegend(int index) {
  DeleteFrom(master_->LegendManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteTable(int index) {
  DeleteFrom(master_->TableManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteXAxis(int index) {
  DeleteFrom(master_->XAxisManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteYAxis(int index) {
  DeleteFrom(master_->YAxisManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteDataView(int index) {
  DeleteFrom(master_->DataViewManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteDataCursor(int index) {
  DeleteFrom(master_->DataCursorManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteChannel(int index) {
  DeleteFrom(master_->ChannelManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteAnnotation(int index) {
  DeleteFrom(master_->AnnotationManager(), index);
  InvalidateNow();
}
void TiPlotComponent::DeleteLimit(int index) {
  DeleteFrom(master_->LimitManager(), index);
  InvalidateNow();
}

void TiPlotComponent::DeleteLabel(int index) {
  if (index == 0) throw EiError(QStringLiteral("Label Index 0 can not be Deleted (Resevered for Title)"));
  DeleteFrom(master_->LabelManager(), index);
}

void TiPlotComponent::DeleteTranslation(int index) {
  TiPlotTranslationManager* table = TranslationManager();
  if (!table) NoCollection();
  table->Delete(index);
  InvalidateNow();
}

int TiPlotComponent::AddChannel() { return master_->AddChannel(); }
int TiPlotComponent::AddDataView() { return master_->AddDataView(); }
int TiPlotComponent::AddDataCursor() { return master_->AddDataCursor(); }
int TiPlotComponent::AddXAxis() { return master_->AddXAxis(); }
int TiPlotComponent::AddYAxis() { return master_->AddYAxis(); }
int TiPlotComponent::AddLegend() { return master_->AddLegend(); }
int TiPlotComponent::AddTable() { return master_->AddTable(); }
int TiPlotComponent::AddToolBar() { return master_->AddToolBar(); }
int TiPlotComponent::AddLimit() { return master_->AddLimit(); }
int TiPlotComponent::AddLabel() { return master_->AddLabel(); }

int TiPlotComponent::AddAnnotation() {
  const int index = master_->AddAnnotation();
  if (index < 0) return index;
  TiPlotAnnotation* annotation = Annotation(index);
  annotation->SetBrushStyle(annotationDefaultBrushStyle_);
  annotation->SetBrushColor(annotationDefaultBrushColor_);
  annotation->SetPenStyle(annotationDefaultPenStyle_);
  annotation->SetPenColor(annotationDefaultPenColor_);
  annotation->SetPenWidth(annotationDefaultPenWidth_);
  annotation->SetReference(annotationDefaultReference_);
  annotation->SetReferencePositionX(annotationDefaultReferencePositionX_);
  annotation->SetReferencePositionY(annotationDefaultReferencePositionY_);
  annotation->SetReferenceSizeX(annotationDefaultReferenceSizeX_);
  annotation->SetReferenceSizeY(annotationDefaultReferenceSizeY_);
  annotation->Font()->Assign(annotationDefaultFont_->Font());
  return index;
}

void TiPlotComponent::StopLogging() { loggingActive_ = false; }

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

// ---------------------------------------------------------------------------------------------
// Layout pass

namespace {
// Rounded to the nearest integer, ties to the even neighbour.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

TiPlotAxis* AsAxis(TiPlotLayoutObject* object) { return dynamic_cast<TiPlotAxis*>(object); }

bool IsCartesianAxis(TiPlotLayoutObject* object) {
  const TiPlotAxis* axis = AsAxis(object);
  return axis && axis->IsCartesian();
}

bool ForcesStacking(TiPlotLayoutObject* object) {
  const TiPlotAxis* axis = AsAxis(object);
  return axis && axis->ForceStacking();
}

using TLayoutList = std::vector<TiPlotLayoutObject*>;

// The thickness of level z: the largest RequiredSize among its members, Cartesian axes aside.
int LevelThickness(const TLayoutList& list, int z, TCanvas* canvas) {
  int thickness = 0;
  for (TiPlotLayoutObject* member : list)
    if (member->ZOrder() == z && !IsCartesianAxis(member)) thickness = std::max(thickness, member->RequiredSize(canvas));
  return thickness;
}

// The sum of the level thicknesses, each level counted when the walk enters it.
int SideThickness(const TLayoutList& list, TCanvas* canvas) {
  int total = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (i == 0 || list[i]->ZOrder() != list[i - 1]->ZOrder()) total += LevelThickness(list, list[i]->ZOrder(), canvas);
  return total;
}

// The largest end margin among non-Cartesian members whose start (or end) is not stacked.
int EndMargin(const TLayoutList& list, bool atStart, TCanvas* canvas) {
  int margin = 0;
  for (TiPlotLayoutObject* member : list) {
    if (IsCartesianAxis(member)) continue;
    if (atStart ? member->StackedAtStart() : member->StackedAtEnd()) continue;
    margin = std::max(margin, member->RequiredEndMargin(canvas));
  }
  return margin;
}

void SetStackingFlags(const TLayoutList& list) {
  for (TiPlotLayoutObject* member : list) {
    member->SetStackedAtStart(false);
    member->SetStackedAtEnd(false);
  }
  TiPlotLayoutObject* previous = nullptr;
  int lastLevel = -1;
  for (TiPlotLayoutObject* member : list) {
    if (IsCartesianAxis(member)) continue;
    if (ForcesStacking(member)) {
      member->SetStackedAtStart(true);
      member->SetStackedAtEnd(true);
      previous = member;
    } else if (member->ZOrder() == lastLevel) {
      if (previous) previous->SetStackedAtEnd(true);
      member->SetStackedAtStart(true);
      previous = member;
    } else {
      previous = member;
      lastLevel = member->ZOrder();
    }
  }
}

void SetAcross(TiPlotLayoutObject* object, bool horizontalEdges, int first, int second) {
  TRect r = object->GetLayoutRect();
  if (horizontalEdges) {
    r.Left = first;
    r.Right = second;
  } else {
    r.Top = first;
    r.Bottom = second;
  }
  object->SetLayoutRect(r);
}
}  // namespace

void TiPlotComponent::LayoutPass(TCanvas& canvas) {
  TiPlotLayoutManager* layout = LayoutManager();
  if (!layout) return;
  TCanvas* c = &canvas;

  // 1. Visible members of the side lists, in side-list order.
  auto visibleOf = [](const TiPlotSideList& side, TLayoutList& out) {
    out.clear();
    for (const TiPlotSideList::TEntry& e : side.Entries())
      if (e.Object->Visible()) out.push_back(e.Object);
  };
  visibleOf(layout->TopObjects(), layoutTop_);
  visibleOf(layout->BottomObjects(), layoutBottom_);
  visibleOf(layout->LeftObjects(), layoutLeft_);
  visibleOf(layout->RightObjects(), layoutRight_);
  const int d = BorderStyle() != ibsNone ? 2 : 0;

  // 2. Stacking flags.
  for (const TLayoutList* list : {&layoutTop_, &layoutBottom_, &layoutLeft_, &layoutRight_}) SetStackingFlags(*list);

  // 3. Side thicknesses.
  const int lw = SideThickness(layoutLeft_, c);
  const int rw = SideThickness(layoutRight_, c);
  const int th = SideThickness(layoutTop_, c);
  const int bh = SideThickness(layoutBottom_, c);

  // 4. End margins: below, above, left and right of the data view.
  const int vs = std::max(EndMargin(layoutLeft_, true, c), EndMargin(layoutRight_, true, c));
  const int ve = std::max(EndMargin(layoutLeft_, false, c), EndMargin(layoutRight_, false, c));
  const int hs = std::max(EndMargin(layoutTop_, true, c), EndMargin(layoutBottom_, true, c));
  const int he = std::max(EndMargin(layoutTop_, false, c), EndMargin(layoutBottom_, false, c));

  // 5. A toolbar alone on top would cover the end labels of vertical axes.
  const int a = layoutTop_.size() == 1 && dynamic_cast<TiPlotToolBar*>(layoutTop_.front()) ? ve : 0;

  // 6. The data view.
  const int dvLeft = OuterMarginLeft() + d + std::max(lw, hs);
  const int dvTop = OuterMarginTop() + d + std::max(th, ve) + a;
  const int dvRight = Width() - (OuterMarginRight() + d + std::max(rw, he) + 1);
  const int dvBottom = Height() - (OuterMarginBottom() + d + std::max(bh, vs) + 1);

  // 7. Across the sides; levels grow outward from the data view.
  {
    int p = dvLeft, w = 0;
    for (size_t i = layoutLeft_.size(); i-- > 0;) {
      TiPlotLayoutObject* m = layoutLeft_[i];
      if (i == layoutLeft_.size() - 1 || m->ZOrder() != layoutLeft_[i + 1]->ZOrder()) {
        p -= w;
        w = LevelThickness(layoutLeft_, m->ZOrder(), c);
      }
      SetAcross(m, true, p - w, p);
    }
  }
  {
    int p = dvRight, w = 0;
    for (size_t i = 0; i < layoutRight_.size(); ++i) {
      TiPlotLayoutObject* m = layoutRight_[i];
      if (i == 0 || m->ZOrder() != layoutRight_[i - 1]->ZOrder()) {
        p += w;
        w = LevelThickness(layoutRight_, m->ZOrder(), c);
      }
      SetAcross(m, true, p, p + w);
    }
  }
  {
    int p = dvTop, w = 0;
    bool allowanceTaken = false;
    for (size_t i = 0; i < layoutTop_.size(); ++i) {
      TiPlotLayoutObject* m = layoutTop_[i];
      if (!allowanceTaken && !AsAxis(m)) {
        p -= a;
        allowanceTaken = true;
      }
      if (i == 0 || m->ZOrder() != layoutTop_[i - 1]->ZOrder()) {
        p -= w;
        w = LevelThickness(layoutTop_, m->ZOrder(), c);
      }
      SetAcross(m, false, p - w, p);
      // A toolbar sits at the top edge.
      if (dynamic_cast<TiPlotToolBar*>(m)) SetAcross(m, false, d, d + m->RequiredSize(c));
    }
  }
  {
    int p = dvBottom, w = 0;
    for (size_t i = layoutBottom_.size(); i-- > 0;) {
      TiPlotLayoutObject* m = layoutBottom_[i];
      if (i == layoutBottom_.size() - 1 || m->ZOrder() != layoutBottom_[i + 1]->ZOrder()) {
        p += w;
        w = LevelThickness(layoutBottom_, m->ZOrder(), c);
      }
      SetAcross(m, false, p, p + w);
    }
  }

  // 8. Data view 0.
  TiPlotDataView* view = DataViewCount() > 0 ? DataView(0) : nullptr;
  if (view) view->SetLayoutRect(Rect(dvLeft, dvTop, dvRight, dvBottom));
  const int dvw = dvRight - dvLeft;
  const int dvh = dvBottom - dvTop;

  // 9. Along the sides, for every layout object, hidden ones too.
  const int layoutCount = layout->Count();
  std::vector<TiPlotLayoutObject*> objects;
  objects.reserve(static_cast<size_t>(layoutCount));
  for (int i = 0; i < layoutCount; ++i) {
    TiPlotLayoutObject* object = layout->Items(i);
    if (dynamic_cast<TiPlotDataView*>(object) || dynamic_cast<TiPlotDataViewLayout*>(object)) continue;
    objects.push_back(object);
  }
  for (TiPlotLayoutObject* object : objects) {
    const double start = object->StartPercent();
    const double stop = object->StopPercent();
    const bool isToolBar = dynamic_cast<TiPlotToolBar*>(object) != nullptr;
    const bool isLabel = dynamic_cast<TiPlotLabel*>(object) != nullptr;
    const bool isSpanned = dynamic_cast<TiPlotLegend*>(object) || dynamic_cast<TiPlotTable*>(object) || AsAxis(object);
    if (object->IsHorizontal()) {
      if (isToolBar) {
        const int w = Width() - 2 * d;
        SetAcross(object, true, d + RoundEven(start / 100.0 * w), d + RoundEven(stop / 100.0 * w) - 1);
      } else if (isLabel) {
        const int s = Width() - d - OuterMarginLeft() - OuterMarginRight();
        SetAcross(object, true, d + OuterMarginLeft() + RoundEven(start / 100.0 * s), d + OuterMarginLeft() + RoundEven(stop / 100.0 * s));
      } else if (isSpanned) {
        SetAcross(object, true, dvLeft + RoundEven(dvw * start / 100.0), dvLeft + RoundEven(dvw * stop / 100.0));
      }
    } else if (isSpanned || isLabel) {
      SetAcross(object, false, dvBottom - RoundEven(dvh * stop / 100.0), dvBottom - RoundEven(dvh * start / 100.0));
    }
  }

  // 10. Cartesian masters through the middle of the data view.
  for (TiPlotLayoutObject* object : objects) {
    TiPlotAxis* axis = AsAxis(object);
    if (!axis || axis->CartesianStyle() != ipcsMaster) continue;
    if (axis->IsHorizontal()) {
      const int m = (dvTop + dvBottom) / 2;
      axis->SetLayoutRect(Rect(dvLeft, m, dvRight, m));
    } else {
      const int m = (dvLeft + dvRight) / 2;
      axis->SetLayoutRect(Rect(m, dvTop, m, dvBottom));
    }
  }

  // 11. Cartesian children through a value of their reference axis.
  for (TiPlotLayoutObject* object : objects) {
    TiPlotAxis* axis = AsAxis(object);
    if (!axis || axis->CartesianStyle() != ipcsChild) continue;
    TiPlotAxis* reference = axis->CartesianChildRefAxis();
    if (!reference) {
      axis->SetLayoutRect(TRect());
      continue;
    }
    const int p = reference->ValueToPosition(axis->CartesianChildRefValue());
    axis->SetLayoutRect(axis->IsHorizontal() ? Rect(dvLeft, p, dvRight, p) : Rect(p, dvTop, p, dvBottom));
  }

  // 12. Aligned axes copy their reference's extent and stacking.
  for (TiPlotLayoutObject* object : objects) {
    TiPlotAxis* axis = AsAxis(object);
    if (!axis) continue;
    TiPlotAxis* reference = axis->AlignRefAxis();
    if (!reference) continue;
    const TRect from = reference->GetLayoutRect();
    if (axis->IsHorizontal())
      SetAcross(axis, true, from.Left, from.Right);
    else
      SetAcross(axis, false, from.Top, from.Bottom);
    axis->SetStackedAtStart(reference->StackedAtStart());
    axis->SetStackedAtEnd(reference->StackedAtEnd());
    axis->UpdateScaleArea(c);
  }

  // 13. The data view's edges follow the scale areas, each edge after its own walk.
  if (!view) return;
  // A Cartesian child without its reference has no place (an empty rectangle at the origin):
  // it would drag the data view's edges to the corner, so it takes no part.
  auto placed = [](TiPlotAxis* axis) { return axis->CartesianStyle() != ipcsChild || axis->CartesianChildRefAxis(); };
  std::vector<TiPlotAxis*> xAxes, yAxes;
  for (int i = 0; i < XAxisCount(); ++i)
    if (placed(XAxis(i))) xAxes.push_back(XAxis(i));
  for (int i = 0; i < YAxisCount(); ++i)
    if (placed(YAxis(i))) yAxes.push_back(YAxis(i));
  const std::vector<TiPlotAxis*>& vertical = XYAxesReverse() ? xAxes : yAxes;
  const std::vector<TiPlotAxis*>& horizontal = XYAxesReverse() ? yAxes : xAxes;
  TRect r = view->GetLayoutRect();
  int edge = Height();
  for (TiPlotAxis* axis : vertical) {
    axis->UpdateScaleArea(c);
    edge = std::min(edge, axis->ScaleArea().Top);
  }
  r.Top = edge;
  view->SetLayoutRect(r);
  edge = 0;
  for (TiPlotAxis* axis : vertical) {
    axis->UpdateScaleArea(c);
    edge = std::max(edge, axis->ScaleArea().Bottom);
  }
  r.Bottom = edge;
  view->SetLayoutRect(r);
  edge = Width();
  for (TiPlotAxis* axis : horizontal) {
    axis->UpdateScaleArea(c);
    edge = std::min(edge, axis->ScaleArea().Left);
  }
  r.Left = edge;
  view->SetLayoutRect(r);
  edge = 0;
  for (TiPlotAxis* axis : horizontal) {
    axis->UpdateScaleArea(c);
    edge = std::max(edge, axis->ScaleArea().Right);
  }
  r.Right = edge;
  view->SetLayoutRect(r);
}

// ---------------------------------------------------------------------------------------------
// Painting cycle

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

void TiPlotComponent::DoPaint(TCanvas& canvas) {
  // 1. A chart without a toolbar, a legend or a data view shows nothing.
  if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0) return;
  TCanvas* c = &canvas;

  // 2.
  TiPlotDataView* view = DataView(0);
  paintBackGroundColor_ = view->BackgroundTransparent() ? BackGroundColor() : view->BackgroundColor();

  // 3.
  reservedRects_.clear();
  drawList_.clear();

  // 4. Data cursors read their values; one that shows all channels in the legend says so.
  // Handlers of the program run from here on (cursor updates, label texts) and may remove the
  // legend or the data view; the paint then ends, and the removal has asked for the next one.
  const std::weak_ptr<const void> viewLife = view->LifeToken();
  TiPlotLegend* legend = Legend(0);
  const std::weak_ptr<const void> legendLife = legend->LifeToken();
  legend->SetAllChannelsCursorActive(false);
  for (int i = 0; i < DataCursorCount(); ++i) {
    TiPlotDataCursor* cursor = DataCursor(i);
    const std::weak_ptr<const void> cursorLife = cursor->LifeToken();
    cursor->UpdateValues();
    if (cursorLife.expired() || legendLife.expired()) continue;
    if (cursor->Visible() && cursor->ChannelName() == QLatin1String("<All>") && cursor->ChannelShowAllInLegend())
      legend->SetAllChannelsCursorActive(true);
  }

  // 5 to 7. Ticks, the layout twice (label sizes depend on it), ticks again.
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->CalculateTicks(c);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->CalculateTicks(c);
  LayoutPass(canvas);
  LayoutPass(canvas);
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->CalculateTicks(c);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->CalculateTicks(c);

  // 8.
  for (int i = 0; i < ChannelCount(); ++i) Channel(i)->PrepareDraw(c);
  for (int i = 0; i < XAxisCount(); ++i) XAxis(i)->PrepareDraw(c);
  for (int i = 0; i < YAxisCount(); ++i) YAxis(i)->PrepareDraw(c);

  if (viewLife.expired()) return;

  // 9.
  const bool reverse = XYAxesReverse();
  for (int i = 0; i < AnnotationCount(); ++i) {
    Annotation(i)->SetDataView(view);
    Annotation(i)->SetXYAxesReverse(reverse);
  }
  for (int i = 0; i < DataCursorCount(); ++i) DataCursor(i)->SetDataView(view);

  // 10. Background (the border is drawn again in step 14 in both cases).
  if (backGroundGradientEnabled_) {
    const TRect whole = Rect(0, 0, Width(), Height());
    canvas.RemoveClip();
    canvas.IntersectClipRect(whole);
    FillGradient(canvas, whole, backGroundGradientDirection_, backGroundGradientStartColor_, backGroundGradientStopColor_);
    canvas.RemoveClip();
  } else {
    DrawBackGround(canvas, BackGroundColor());
  }

  // 11.
  view->DrawBackground(c);

  // 12, 13. The objects inside the data view, by layer and letter.
  FillDrawList(view);
  TRect clip = view->GetLayoutRect();
  clip.Right += 1;
  clip.Bottom += 1;
  // A copy: a drawing object must not change what is walked. A handler of the program that runs
  // while an object draws may remove others still waiting; those are left out.
  std::vector<std::pair<TiPlotObject*, std::weak_ptr<const void>>> drawOrder;
  drawOrder.reserve(drawList_.size());
  for (const TiPlotDrawListItem& item : drawList_) drawOrder.emplace_back(item.Object, item.Object->LifeToken());
  for (const auto& [object, life] : drawOrder)
    if (!life.expired()) DrawClipped(canvas, clip, object, paintBackGroundColor_);
  if (viewLife.expired()) return;

  // 14. Zoom box, border, the axes beside the data view, labels, toolbars.
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

  // 15.
  for (int i = 0; i < DataCursorCount(); ++i) DataCursor(i)->Draw(c, paintBackGroundColor_);
  for (int i = 0; i < LegendCount(); ++i) Legend(i)->Draw(c, background);
  for (int i = 0; i < TableCount(); ++i) Table(i)->Draw(c, background);

  // 16.
  DrawHint(canvas);

  // 17.
  RaiseEvent(OnAfterPaint, this);
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
