#pragma once
// TiPlotComponent: the chart control. It owns the master manager (and through it every chart
// object, the layout manager and the translation table), publishes the chart-wide properties
// and every chart event, adds, finds, counts and removes objects, turns object notifications
// into repaint requests and events, lays the chart out around its data view (LayoutPass) and
// paints it in a fixed order (DoPaint). The XY chart and the time chart derive from it.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "chart/core/iCustomComponent.h"
#include "chart/core/rUdudMasterManager.h"
#include "platform/ImageList.h"
#include "platform/Printer.h"

class TPopupMenu;
class QPicture;
class TiPlotPrintRange;
class TiSaveDialog;

enum TiPlotFormStyle : int { ipfsModal, ipfsStayOnTop };
enum TiPlotExportFormat : int { ipefMetaFile, ipefBitmap, ipefJPEG };
enum TiPlotDataFileFormat : int { ipdffText, ipdffCompactInterval };
enum TiPlotDataFileColumnSeparator : int { ipdfcsTab, ipdfcsComma };

// Chart events. Index is the position of the object in its kind's collection.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TiPlotObjectEvent = std::function<void(int Index)>;
using TiPlotObjectMouseEvent = std::function<void(int Index, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TiPlotObjectMouseMoveEvent = std::function<void(int Index, TShiftState Shift, int X, int Y)>;
using TiPlotObjectMouseWheelEvent = std::function<void(int Index, int WheelDelta, TShiftState Shift, int X, int Y)>;
using TiPlotDataPointMouseEvent =
    std::function<void(int ChannelIndex, int DataIndex, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TiPlotDataPointMouseMoveEvent = std::function<void(int ChannelIndex, int DataIndex, TShiftState Shift, int X, int Y)>;
using TiPlotClickDataPointEvent = std::function<void(int ChannelIndex, int DataIndex)>;
using TiPlotDataPointMovedEvent =
    std::function<void(int ChannelIndex, int DataIndex, double OldX, double OldY, double NewX, double NewY)>;
using TiPlotObjectCustomizeTextEvent = std::function<void(int Index, QString& AText)>;
using TiPlotDataPointCustomizeTextEvent = std::function<void(int ChannelIndex, int DataPointIndex, QString& AText)>;
using TiPlotObjectDoubleValueChangeEvent = std::function<void(int Index, double OldValue, double NewValue)>;
using TiPlotAxesMinSpanChangeEvent =
    std::function<void(int Index, double OldMin, double OldSpan, double NewMin, double NewSpan)>;
using TiPlotAxesCustomizeLabelEvent = std::function<void(int Index, double Value, QString& ALabel)>;
using TiPlotObjectGetMouseCursorEvent = std::function<void(int Index, TCursor& MouseCursor)>;
using TiPlotPopupMenuEvent = std::function<void(int Index, bool& Cancel, int ScreenX, int ScreenY)>;
using TiPlotPrintPageEvent = std::function<void(int PageIndex, bool LastPage)>;
using TiPlotToolBarButtonBeforeEvent = std::function<void(int Index, TiPlotToolBarButtonType ButtonType, bool& Cancel)>;
using TiPlotToolBarButtonEvent = std::function<void(int Index, TiPlotToolBarButtonType ButtonType)>;
using TiPlotZoomBoxEvent = std::function<void(TRect& ZoomRect, bool& Cancel)>;

// Which event of a family belongs to which kind of object; kinds without an entry raise nothing.
template <class Event>
struct TiPlotEventRoute {
  TiPlotObjectKind Kind;
  const Event* Handler;
};

// The user actions of an axis that the chart repeats on the other axes of its kind.
enum TiPlotAxisAction : int { ipaaMouseDownLeft, ipaaMouseDrag, ipaaMouseUp, ipaaMouseWheel, ipaaKeyDown };

// One such action with what it carries: the mouse parameters of a press, drag or release, the
// delta, shift state and point of a wheel turn, the key and shift state of a key press.
struct TiPlotAxisUserAction {
  TiPlotAxisAction Action = ipaaMouseDownLeft;
  TiPlotMouseParams Mouse;
  int WheelDelta = 0;
  TPoint WheelPoint;
  int Key = 0;
  TShiftState Shift = 0;
};

// One entry of the draw list: a sort key (the object's LayerKey and a letter) and the object.
struct TiPlotDrawListItem {
  QString Key;
  TiPlotObject* Object = nullptr;
};

// The defaults of the chart's published properties, each written once: the chart starts from
// them and its property table declares them.
struct TiPlotComponentDefaults {
  TColor BackGroundColor = clBlack;
  TiBevelStyle BorderStyle = ibsLowered;
  bool AutoFrameRate = true;
  bool BackGroundGradientEnabled = false;
  TiFillDirection BackGroundGradientDirection = ifdTopBottom;
  TColor BackGroundGradientStartColor = clBlue;
  TColor BackGroundGradientStopColor = clBlack;
  int OuterMargin = 5;
  bool XYAxesReverse = false;
  bool HintsShow = true;
  int HintsPause = 500;
  int HintsHidePause = 2500;
  bool UserCanEditObjects = true;
  bool UserCanAddRemoveChannels = false;
  TiPlotFormStyle EditorFormStyle = ipfsModal;
  bool ClipAnnotationsToAxes = true;
  TPrinterOrientation PrintOrientation = poLandscape;
  bool PrintShowDialog = true;
  TiPlotExportFormat CopyToClipBoardFormat = ipefMetaFile;
  TiPlotDataFileFormat DataFileFormat = ipdffText;
  TiPlotDataFileColumnSeparator DataFileColumnSeparator = ipdfcsTab;
  int LogBufferSize = 0;
  bool LoggingActive = false;
  bool TabStop = false;
  int TabOrder = -1;
};
inline constexpr TiPlotComponentDefaults kPlotComponentDefaults{};

class TiPlotComponent : public TiCustomComponent, public TiPlotOwner, public TiPlotAxisLookup, public TiPlotAxisEvents,
                        public TiPlotLimitEvents, public TiPlotDataViewHost {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiPlotComponent(QWidget* parent = nullptr);
  ~TiPlotComponent() override;

  // ================= Properties =================
  // Background and border (background requests); the gradient (content requests).
  bool BackGroundGradientEnabled() const { return backGroundGradientEnabled_; }
  void SetBackGroundGradientEnabled(bool value);
  TiFillDirection BackGroundGradientDirection() const { return backGroundGradientDirection_; }
  void SetBackGroundGradientDirection(TiFillDirection value);
  TColor BackGroundGradientStartColor() const { return backGroundGradientStartColor_; }
  void SetBackGroundGradientStartColor(TColor value);
  TColor BackGroundGradientStopColor() const { return backGroundGradientStopColor_; }
  void SetBackGroundGradientStopColor(TColor value);

  // Free space between the border and the outermost objects (content requests).
  int OuterMarginLeft() const { return outerMarginLeft_; }
  void SetOuterMarginLeft(int value);
  int OuterMarginTop() const { return outerMarginTop_; }
  void SetOuterMarginTop(int value);
  int OuterMarginRight() const { return outerMarginRight_; }
  void SetOuterMarginRight(int value);
  int OuterMarginBottom() const { return outerMarginBottom_; }
  void SetOuterMarginBottom(int value);

  // ZOrder of the data view's placeholders (layout change).
  int DataViewZHorz() const;
  void SetDataViewZHorz(int value);
  int DataViewZVert() const;
  void SetDataViewZVert(int value);

  // X axes run vertically and Y axes horizontally (repaint now).
  bool XYAxesReverse() const;
  void SetXYAxesReverse(bool value);

  // The title: label 0's Caption, Visible, Font and MarginBottom. Without a label reading gives
  // an empty text, False, the control's font and 0.0, and writing does nothing.
  QString TitleText() const;
  void SetTitleText(const QString& value);
  bool TitleVisible() const;
  void SetTitleVisible(bool value);
  TiFont* TitleFont();
  void SetTitleFont(const TFont& value);
  double TitleMargin() const;
  void SetTitleMargin(double value);

  // Hints (no repaint).
  bool HintsShow() const { return hintsShow_; }
  void SetHintsShow(bool value) { hintsShow_ = value; }
  int HintsPause() const { return hintsPause_; }
  void SetHintsPause(int value) { hintsPause_ = value; }
  int HintsHidePause() const { return hintsHidePause_; }
  void SetHintsHidePause(int value) { hintsHidePause_ = value; }
  TiFont* HintsFont() { return hintsFont_.get(); }

  // Editing.
  bool UserCanEditObjects() const;
  void SetUserCanEditObjects(bool value);
  bool UserCanAddRemoveChannels() const { return userCanAddRemoveChannels_; }
  void SetUserCanAddRemoveChannels(bool value) { userCanAddRemoveChannels_ = value; }
  TiPlotFormStyle EditorFormStyle() const { return editorFormStyle_; }
  void SetEditorFormStyle(TiPlotFormStyle value) { editorFormStyle_ = value; }
  // Opens the property editor on object (the chart itself when nullptr), modal or staying on top
  // as EditorFormStyle says; while one is open, brings it forward on the object instead. Returns
  // the window (a TiPlotEditorForm) while it stays open (staying on top), nullptr once a modal
  // one has closed.
  QWidget* ShowEditor(TiPlotObject* object = nullptr);

  // Annotations.
  bool ClipAnnotationsToAxes() const { return clipAnnotationsToAxes_; }
  void SetClipAnnotationsToAxes(bool value);
  TiFont* AnnotationDefaultFont() { return annotationDefaultFont_.get(); }
  TBrushStyle AnnotationDefaultBrushStlye() const { return annotationDefaults_.BrushStyle; }
  void SetAnnotationDefaultBrushStlye(TBrushStyle value) { annotationDefaults_.BrushStyle = value; }
  TColor AnnotationDefaultBrushColor() const { return annotationDefaults_.BrushColor; }
  void SetAnnotationDefaultBrushColor(TColor value) { annotationDefaults_.BrushColor = value; }
  TPenStyle AnnotationDefaultPenStlye() const { return annotationDefaults_.PenStyle; }
  void SetAnnotationDefaultPenStlye(TPenStyle value) { annotationDefaults_.PenStyle = value; }
  TColor AnnotationDefaultPenColor() const { return annotationDefaults_.PenColor; }
  void SetAnnotationDefaultPenColor(TColor value) { annotationDefaults_.PenColor = value; }
  int AnnotationDefaultPenWidth() const { return annotationDefaults_.PenWidth; }
  void SetAnnotationDefaultPenWidth(int value) { annotationDefaults_.PenWidth = ClampCoordinate(value); }  // a size on the chart
  TiPlotReferenceType AnnotationDefaultReference() const { return annotationDefaults_.Reference; }
  void SetAnnotationDefaultReference(TiPlotReferenceType value) { annotationDefaults_.Reference = value; }
  TiPlotReferenceIndividual AnnotationDefaultReferencePositionX() const { return annotationDefaults_.ReferencePositionX; }
  void SetAnnotationDefaultReferencePositionX(TiPlotReferenceIndividual value) { annotationDefaults_.ReferencePositionX = value; }
  TiPlotReferenceIndividual AnnotationDefaultReferencePositionY() const { return annotationDefaults_.ReferencePositionY; }
  void SetAnnotationDefaultReferencePositionY(TiPlotReferenceIndividual value) { annotationDefaults_.ReferencePositionY = value; }
  TiPlotReferenceIndividual AnnotationDefaultReferenceSizeX() const { return annotationDefaults_.ReferenceSizeX; }
  void SetAnnotationDefaultReferenceSizeX(TiPlotReferenceIndividual value) { annotationDefaults_.ReferenceSizeX = value; }
  TiPlotReferenceIndividual AnnotationDefaultReferenceSizeY() const { return annotationDefaults_.ReferenceSizeY; }
  void SetAnnotationDefaultReferenceSizeY(TiPlotReferenceIndividual value) { annotationDefaults_.ReferenceSizeY = value; }
  // All of them: the style every annotation made by AddAnnotation takes.
  const TiPlotAnnotationLook& AnnotationDefaults() const { return annotationDefaults_; }

  // Printing (no repaint).
  TPrinterOrientation PrintOrientation() const { return printOrientation_; }
  void SetPrintOrientation(TPrinterOrientation value) { printOrientation_ = value; }
  double PrintMarginLeft() const { return printMarginLeft_; }
  void SetPrintMarginLeft(double value) { printMarginLeft_ = value; }
  double PrintMarginTop() const { return printMarginTop_; }
  void SetPrintMarginTop(double value) { printMarginTop_ = value; }
  double PrintMarginRight() const { return printMarginRight_; }
  void SetPrintMarginRight(double value) { printMarginRight_ = value; }
  double PrintMarginBottom() const { return printMarginBottom_; }
  void SetPrintMarginBottom(double value) { printMarginBottom_ = value; }
  bool PrintShowDialog() const { return printShowDialog_; }
  void SetPrintShowDialog(bool value) { printShowDialog_ = value; }
  const QString& PrintDocumentName() const { return printDocumentName_; }
  void SetPrintDocumentName(const QString& value) { printDocumentName_ = value; }
  const QString& PrinterName() const { return printerName_; }
  void SetPrinterName(const QString& value) { printerName_ = value; }

  // Clipboard and files (no repaint); the data-file settings are refused while logging.
  TiPlotExportFormat CopyToClipBoardFormat() const { return copyToClipBoardFormat_; }
  void SetCopyToClipBoardFormat(TiPlotExportFormat value) { copyToClipBoardFormat_ = value; }
  TiPlotDataFileFormat DataFileFormat() const { return dataFileFormat_; }
  void SetDataFileFormat(TiPlotDataFileFormat value);
  TiPlotDataFileColumnSeparator DataFileColumnSeparator() const { return dataFileColumnSeparator_; }
  void SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator value);
  // The separator character of DataFileColumnSeparator: a tab or a comma.
  QChar DataFileColumnSeparatorChar() const;
  const QString& LogFileName() const { return logFileName_; }
  void SetLogFileName(const QString& value);
  int LogBufferSize() const { return logBufferSize_; }
  void SetLogBufferSize(int value) { logBufferSize_ = value; }
  bool LoggingActive() const { return loggingActive_; }

  // Placement in the window.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int value) { tabOrder_ = value; }

  // ================= Objects =================
  TiPlotMasterManager* Master() const { return master_.get(); }
  TiPlotLayoutManager* LayoutManager() const { return master_ ? master_->LayoutManager() : nullptr; }
  TiPlotTranslationManager* TranslationManager() const { return master_ ? master_->TranslationManager() : nullptr; }

  // The operations of every kind of object (the named ones below forward to them). Item raises
  // "Index out of Bounds" outside 0 .. count - 1; Find ignores case; RemoveAll and Delete destroy
  // and repaint now; Add returns the new object's index.
  int Count(TiPlotObjectKind kind) const;
  TiPlotObject* Item(TiPlotObjectKind kind, int i) const;
  TiPlotObject* Find(TiPlotObjectKind kind, const QString& name) const;
  int Add(TiPlotObjectKind kind);
  void RemoveAll(TiPlotObjectKind kind);
  void Delete(TiPlotObjectKind kind, int index);

  int ChannelCount() const;
  int XAxisCount() const;
  int YAxisCount() const;
  int ToolBarCount() const;
  int LegendCount() const;
  int TableCount() const;
  int LabelCount() const;
  int DataViewCount() const;
  int DataCursorCount() const;
  int LimitCount() const;
  int AnnotationCount() const;

  // The object at position i of its collection; outside 0 .. count - 1 "Index out of Bounds".
  TiPlotChannelCustom* Channel(int i) const;
  TiPlotXAxis* XAxis(int i) const;
  TiPlotYAxis* YAxis(int i) const;
  TiPlotToolBar* ToolBar(int i) const;
  TiPlotLegend* Legend(int i) const;
  TiPlotTable* Table(int i) const;
  TiPlotLabel* Labels(int i) const;
  TiPlotDataView* DataView(int i) const;
  TiPlotDataCursor* DataCursor(int i) const;
  TiPlotLimit* Limit(int i) const;
  TiPlotAnnotation* Annotation(int i) const;

  // The first object of the kind named so, ignoring case; nullptr when none.
  TiPlotChannelCustom* FindChannel(const QString& name) const;
  TiPlotXAxis* FindXAxis(const QString& name) const override;
  // What the data view asks of its chart.
  int DataViewAxisCount(bool xAxes) const override;
  TiPlotAxis* DataViewAxis(bool xAxes, int index) const override;
  bool FirstToolBarButtons(bool& selectDown, bool& zoomBoxDown) const override;
  void PauseAllTracking() override;
  void BeforeZoomBox(TRect& rect, bool& cancel) override;
  TiPlotYAxis* FindYAxis(const QString& name) const override;

  // --- Virtual operations, in slot order. ---
  // Object inserted, object removed, change: the master manager's notifications.
  virtual void ObjectInserted(TiPlotPersistent* item);
  virtual void ObjectRemoved(TiPlotPersistent* item);
  virtual void ObjectsChanged();
  virtual void Reserved1() {}
  virtual void Reserved2() {}
  // Each destroys all objects of its kind, then repaints now.
  virtual void RemoveAllToolBars();
  virtual void RemoveAllLegends();
  virtual void RemoveAllTables();
  virtual void RemoveAllXAxes();
  virtual void RemoveAllYAxes();
  virtual void RemoveAllDataViews();
  virtual void RemoveAllDataCursors();
  virtual void RemoveAllChannels();
  virtual void RemoveAllAnnotations();
  virtual void RemoveAllLimits();
  // Destroys every label but the title (label 0); no repaint request of its own.
  virtual void RemoveAllLabels();
  virtual void RemoveAllTranslations();
  // Each destroys the object at index, then repaints now.
  virtual void DeleteToolBar(int index);
  virtual void DeleteLegend(int index);
  virtual void DeleteTable(int index);
  virtual void DeleteXAxis(int index);
  virtual void DeleteYAxis(int index);
  virtual void DeleteDataView(int index);
  virtual void DeleteDataCursor(int index);
  virtual void DeleteChannel(int index);
  virtual void DeleteAnnotation(int index);
  virtual void DeleteLimit(int index);
  // Label 0 is the title and cannot be deleted; no repaint request of its own.
  virtual void DeleteLabel(int index);
  virtual void DeleteTranslation(int index);
  // Each makes one object of its kind and returns its index.
  virtual int AddChannel();
  virtual int AddDataView();
  virtual int AddDataCursor();
  virtual int AddXAxis();
  virtual int AddYAxis();
  virtual int AddLegend();
  virtual int AddTable();
  virtual int AddToolBar();
  // Gives the new annotation the AnnotationDefault settings and a copy of AnnotationDefaultFont.
  virtual int AddAnnotation();
  virtual int AddLimit();
  virtual int AddLabel();

  // Stops chart logging, then empties every channel and resets the tracking of every axis.
  void ClearAllData();
  void DisableAllTracking();
  void EnableAllTracking();

  // ================= Occupied rectangles =================
  // Emptied at every paint; Cartesian axes keep their labels from overlapping with it.
  void ReserveRect(const TRect& rect);
  // False when rect meets a reserved rectangle or, once anything is reserved, does not lie
  // inside data view 0; otherwise reserves it and returns true.
  bool TryReserveRect(const TRect& rect);
  const std::vector<TRect>& ReservedRects() const { return reservedRects_; }

  // ================= Layout and painting =================
  // Places the data view and every layout object around it (twice per paint).
  void LayoutPass(TCanvas& canvas);
  // The painting cycle onto any canvas: the window's off-screen bitmap, a printer or an export.
  void DoPaint(TCanvas& canvas) override;
  // The paint's background colour for objects inside the data view: the chart's background
  // when data view 0 is transparent, else the data view's own.
  TColor PaintBackGroundColor() const { return paintBackGroundColor_; }
  // The objects drawn inside the data view in the last paint, in drawing order.
  const std::vector<TiPlotDrawListItem>& DrawList() const { return drawList_; }
  // The visible members of the four side lists in the last layout pass.
  const std::vector<TiPlotLayoutObject*>& LayoutTopObjects() const { return layoutTop_; }
  const std::vector<TiPlotLayoutObject*>& LayoutBottomObjects() const { return layoutBottom_; }
  const std::vector<TiPlotLayoutObject*>& LayoutLeftObjects() const { return layoutLeft_; }
  const std::vector<TiPlotLayoutObject*>& LayoutRightObjects() const { return layoutRight_; }

  // ================= Printing and picture output (chart/output) =================
  // Prints the chart scaled into the page inside the print margins; failures raise
  // "Error Printing : " and the reason.
  void PrintChart();
  // The print preview window, modal.
  void ShowPrintPreview();
  // The chart recorded at its size as a picture, kept for later calls.
  const QPicture& GetMetaFilePicture();
  // The range that printing steps page by page (X axis 0's Min and Span); nullptr prints one page.
  virtual std::unique_ptr<TiPlotPrintRange> PrintRange();
  // Picture files of the chart at its size, written whole over an existing file.
  void SaveImageToBitmap(const QString& fileName);
  void SaveImageToMetaFile(const QString& fileName);
  void SaveImageToJPEG(const QString& fileName, int compression, bool progressive);
  void SaveImageToPNG(const QString& fileName, int compression);
  // The chart as JPEG data.
  QByteArray GetJPEGImage(int compression, bool progressive);
  // The chart on the clipboard in CopyToClipBoardFormat, without toolbars and focus marks.
  void CopyToClipBoard();
  // Asks for a file name and saves the picture in the format its ending names.
  void SaveImageWithDialog();
  // The user commands of the toolbar and the preview: they run the operation above and show a
  // failure as a message; false after a failure.
  bool PrintCommand();
  bool CopyCommand();
  bool SaveCommand();

  // ================= Files of the whole chart (chart/files) =================
  // The chart property file: "File Type = Plot Config", the object counts, one section per
  // object and the chart's own properties. A file that fails its check ("File Type", counts)
  // leaves the chart as it was; failures carry "Error Saving Properties - " /
  // "Error Loading Properties - ".
  void SavePropertiesToFile(const QString& fileName) override;
  void LoadPropertiesFromFile(const QString& fileName) override;
  // The annotations alone ("AnnotationCount", then one section per annotation).
  void SaveAnnotationsToFile(const QString& fileName);
  void LoadAnnotationsFromFile(const QString& fileName);
  // The points of every channel side by side, as text or compact-interval (DataFileFormat);
  // loading adds the points of a data or log file to the channels there are.
  void SaveDataToFile(const QString& fileName);
  void LoadDataFromFile(const QString& fileName);
  // Chart-level logging to LogFileName: a row is pending once every channel holds a point at
  // the next row's index; LogFlush appends the pending rows and StopLogging flushes.
  void StartLogging(bool append);
  virtual void StopLogging();
  void LogFlush();
  int LogPendingCount() const;
  // The column separator found by the last text load (tab or comma).
  QChar LoadedSeparator() const { return loadedSeparator_; }

  // ================= Reading a stored chart =================
  // The bracket around reading a stored definition: IsLoading, the layout manager disabled
  // (stored ZOrder values stay as read) and the update suspended. EndLoading keeps toolbar 0
  // and the title from sharing a slot, re-enables the layout and ends the suspension.
  void BeginLoading();
  void EndLoading();

  // ================= Services for objects =================
  // Raises an event unless the chart is being read from its stored definition.
  template <class Event, class... Args>
  bool RaiseEvent(const Event& event, Args&&... args) const {
    if (IsLoading() || !event) return false;
    event(std::forward<Args>(args)...);
    return true;
  }
  // The kind of a chart object and its index in the collection of its kind; ipokNone and -1 for
  // anything that collection does not hold.
  TiPlotObjectKind ObjectKind(const TiPlotObject* object, int* index = nullptr) const;
  // Raises the event of the object's kind, with the object's index first; silent while loading.
  template <class Event, class... Args>
  bool DispatchObjectEvent(const TiPlotObject* object, std::initializer_list<TiPlotEventRoute<Event>> routes,
                           Args&&... args) const {
    // Most events have no handler: that is answered before the object's kind is looked up, which
    // matters for events raised per added point (axis tracking).
    bool handled = false;
    for (const TiPlotEventRoute<Event>& route : routes) handled = handled || (route.Handler && *route.Handler);
    if (!handled || IsLoading()) return false;
    int index = -1;
    const TiPlotObjectKind kind = ObjectKind(object, &index);
    if (kind == ipokNone) return false;
    for (const TiPlotEventRoute<Event>& route : routes)
      if (route.Kind == kind) return route.Handler ? RaiseEvent(*route.Handler, index, std::forward<Args>(args)...) : false;
    return false;
  }
  // The picture lists (24 x 24) from which labels show pictures.
  TImageList* ImageList(int index) override;
  TPopupMenu* ChartPopupMenu() const { return popupMenu_.get(); }

  // ---- what the objects report (TiPlotOwner) ----
  void ObjectMouseDown(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) override;
  void ObjectMouseMove(TiPlotObject* object, TShiftState shift, int x, int y) override;
  void ObjectMouseUp(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) override;
  void ObjectMouseWheel(TiPlotObject* object, int wheelDelta, TShiftState shift, int x, int y) override;
  bool ObjectPopupHandled(TiPlotObject* object, int screenX, int screenY) override;
  void ObjectGotFocus(TiPlotObject* object) override;
  void ObjectLostFocus(TiPlotObject* object) override;
  QString Translate(const QString& text) const override;
  TPoint ClientToScreen(TPoint client) const override;
  void ObjectGetMouseCursor(TiPlotObject* object, TCursor& cursor) override;
  // ---- what the axes raise (TiPlotAxisEvents) ----
  void AxisMinChange(TiPlotAxis* axis, double oldValue, double newValue) override;
  void AxisSpanChange(TiPlotAxis* axis, double oldValue, double newValue) override;
  void AxisMinSpanChange(TiPlotAxis* axis, double oldMin, double oldSpan, double newMin, double newSpan) override;
  void AxisCustomizeLabel(TiPlotAxis* axis, double value, QString& text) override;
  // ---- tracking's range changes held during update suspension (rUdudAxisTracking.cpp) ----
  // While updates are suspended (and no stored chart is being read) tracking steps hold their
  // range changes; EndUpdate reports them, once per axis, before the one repaint.
  bool AxisRangeChangesHeld() const final { return Updating() && !IsLoading() && !releasingHeldRanges_; }
  void EndUpdate() override;

 private:
  bool releasingHeldRanges_ = false;

 public:
  // ---- what the limits raise (TiPlotLimitEvents) ----
  void LimitLine1PositionChange(TiPlotLimit* limit, double oldValue, double newValue) override;
  void LimitLine2PositionChange(TiPlotLimit* limit, double oldValue, double newValue) override;

  // ================= Mouse, keyboard, menus and hints (rUdudComponentInput.cpp) =================
  // The object under a client point: a focused object first, then any other, then data views
  // and legends (the large containers come last); a composite object answers with its part
  // under the point (a button). A press hands its button to the hit tests, a move none.
  TiPlotObject* HitTestChart(int x, int y);
  TiPlotObject* HitTestChart(int x, int y, TMouseButton button);
  // Stops the hint timer and takes the hint box away.
  void HideHint();
  // Toolbar 0's Select button; writing runs its Select command when the state differs.
  bool SelectMode() const override;
  void SetSelectMode(bool value);
  // Repeats an axis's user action on every other axis of its kind (X or Y) in collection order.
  // The repeats do not repeat again; a failure goes on to the caller.
  void RepeatToOtherAxes(TiPlotAxis* axis, const TiPlotAxisUserAction& action);
  bool RepeatingToOtherAxes() const { return repeatingToOtherAxes_; }
  // Counts the platform's key presses; 0 outside one. Both deliveries of a key within one press
  // see the same number, so that an object can act on the key once.
  unsigned KeyPressNumber() const { return inKeyPress_ ? keyPressNumber_ : 0; }
  // The number of the wheel turn being handed to the objects (0 outside one): an axis that a
  // turn has moved already, through another axis's repetition, is not moved again by it.
  unsigned WheelTurnNumber() const { return inWheelTurn_ ? wheelTurnNumber_ : 0; }

  // The input hooks of the foundation.
  void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoMouseMove(TShiftState shift, int x, int y) override;
  void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoDblClick() override;
  bool DoMouseWheel(int wheelDelta, TShiftState shift, QPoint mousePos) override;
  void DoKeyDown(int& key, TShiftState shift) override;
  void DoWantSpecialKey(int& key, bool& result) override;
  // Another window took the mouse capture: the hint goes and the hovered object is left.
  virtual void MouseCaptureChanged();

  // The interaction state.
  TiPlotObject* PressedObject() const;
  TiPlotObject* HoverObject() const;
  TiPlotObject* ReleasedObject() const;
  TMouseButton ReleasedButton() const { return releasedButton_; }
  TShiftState ReleasedShift() const { return releasedShift_; }
  TPoint ReleasedPosition() const { return releasedPosition_; }
  TPoint ReleasedScreenPosition() const { return releasedScreenPosition_; }
  bool MouseButtonDown() const { return mouseButtonDown_; }
  bool DoubleClickPending() const { return doubleClickPending_; }
  bool AxisMultiSelect() const { return axisMultiSelect_; }
  TShiftState MouseShiftState() const { return mouseShiftState_; }
  const QString& HintText() const { return hintText_; }
  TPoint HintPosition() const { return hintPosition_; }
  bool HintShowing() const { return hintShowing_; }
  bool HintDrawn() const { return hintDrawn_; }
  TiPlotObject* HintObject() const;
  TPoint HintStartPoint() const { return hintStartPoint_; }
  TRect HintKeepRect() const { return hintKeepRect_; }
  // The cursor shape last applied to the control's window.
  TCursor MouseCursor() const { return mouseCursor_; }

  // ================= Events =================
  // Mouse.
  TiPlotObjectMouseEvent OnMouseDownXAxis, OnMouseDownYAxis, OnMouseDownDataView, OnMouseDownLegend, OnMouseDownChannel,
      OnMouseDownLimit, OnMouseDownDataCursor, OnMouseDownAnnotation;
  TiPlotObjectMouseMoveEvent OnMouseMoveXAxis, OnMouseMoveYAxis, OnMouseMoveDataView, OnMouseMoveLegend, OnMouseMoveChannel,
      OnMouseMoveLimit, OnMouseMoveDataCursor, OnMouseMoveAnnotation;
  TiPlotObjectMouseEvent OnMouseUpXAxis, OnMouseUpYAxis, OnMouseUpDataView, OnMouseUpLegend, OnMouseUpChannel,
      OnMouseUpLimit, OnMouseUpDataCursor, OnMouseUpAnnotation;
  TiPlotDataPointMouseEvent OnMouseDownDataPoint, OnMouseUpDataPoint;
  TiPlotDataPointMouseMoveEvent OnMouseMoveDataPoint;
  TiPlotObjectEvent OnClickXAxis, OnClickYAxis, OnClickDataView, OnClickLegend, OnClickChannel, OnClickLimit,
      OnClickDataCursor, OnClickAnnotation;
  TiPlotObjectEvent OnDblClickXAxis, OnDblClickYAxis, OnDblClickDataView, OnDblClickLegend, OnDblClickChannel,
      OnDblClickLimit, OnDblClickDataCursor, OnDblClickAnnotation;
  TiPlotClickDataPointEvent OnClickDataPoint, OnDblClickDataPoint;
  TiPlotDataPointMovedEvent OnDataPointMoved;
  TiPlotObjectMouseWheelEvent OnMouseWheelXAxis, OnMouseWheelYAxis, OnMouseWheelDataView, OnMouseWheelLegend,
      OnMouseWheelChannel, OnMouseWheelLimit, OnMouseWheelDataCursor, OnMouseWheelAnnotation;
  TiPlotObjectGetMouseCursorEvent OnGetMouseCursorChannel, OnGetMouseCursorXAxis, OnGetMouseCursorYAxis,
      OnGetMouseCursorDataCursor, OnGetMouseCursorDataView, OnGetMouseCursorLegend, OnGetMouseCursorLimit,
      OnGetMouseCursorTable, OnGetMouseCursorAnnotation;
  TiPlotPopupMenuEvent OnPopupMenuChannel, OnPopupMenuXAxis, OnPopupMenuYAxis, OnPopupMenuDataCursor, OnPopupMenuDataView,
      OnPopupMenuLegend, OnPopupMenuLimit, OnPopupMenuAnnotation;
  // Focus.
  TiPlotObjectEvent OnGotFocusChannel, OnGotFocusXAxis, OnGotFocusYAxis, OnGotFocusDataCursor, OnGotFocusDataView,
      OnGotFocusLegend, OnGotFocusAnnotation;
  TiPlotObjectEvent OnLostFocusChannel, OnLostFocusXAxis, OnLostFocusYAxis, OnLostFocusDataCursor, OnLostFocusDataView,
      OnLostFocusLegend, OnLostFocusAnnotation;
  // Collections.
  TiPlotObjectEvent OnAddChannel, OnAddXAxis, OnAddYAxis, OnAddDataCursor, OnAddDataView, OnAddLegend, OnAddLimit,
      OnAddTable, OnAddAnnotation;
  TiPlotObjectEvent OnRemoveChannel, OnRemoveXAxis, OnRemoveYAxis, OnRemoveDataCursor, OnRemoveDataView, OnRemoveLegend,
      OnRemoveLimit, OnRemoveTable, OnRemoveAnnotation;
  // Axes.
  TiPlotObjectDoubleValueChangeEvent OnXAxisMinChange, OnXAxisSpanChange, OnYAxisMinChange, OnYAxisSpanChange;
  TiPlotAxesMinSpanChangeEvent OnXAxisMinSpanChange, OnXAxisMinSpanChangeFinished, OnYAxisMinSpanChange,
      OnYAxisMinSpanChangeFinished;
  TiPlotAxesCustomizeLabelEvent OnXAxisCustomizeLabel, OnYAxisCustomizeLabel;
  TiPlotObjectCustomizeTextEvent OnXAxisCustomizeHint, OnYAxisCustomizeHint;
  // Data cursors, data points, toolbars, limits, annotations, the zoom box.
  TiPlotObjectEvent OnDataCursorChange;
  TiPlotObjectCustomizeTextEvent OnDataCursorCustomizeHint;
  TiPlotObjectEvent OnBeforeDataCursorUpdate;
  TiPlotDataPointCustomizeTextEvent OnDataPointCustomizeHint;
  TiPlotObjectCustomizeTextEvent OnToolBarCustomizeHint;
  TiPlotToolBarButtonEvent OnToolBarButtonClick;
  TiPlotToolBarButtonBeforeEvent OnBeforeToolBarButtonClick;
  TiPlotObjectDoubleValueChangeEvent OnLimitLine1PositionChange, OnLimitLine2PositionChange;
  TiPlotObjectEvent OnAnnotationCoordinatesChange, OnAnnotationMoveUser, OnAnnotationResizeUser,
      OnAnnotationCoordinatesChangeFinished;
  TiPlotZoomBoxEvent OnBeforeZoomBox;
  // Printing, files, painting and the property editor.
  TNotifyEvent OnBeforePrint;
  TiPlotPrintPageEvent OnBeforePrintPage;
  TNotifyEvent OnAfterPrint;
  TNotifyEvent OnBeforeLoadProperties, OnAfterLoadProperties, OnAfterSaveProperties, OnAfterLoadData, OnAfterSaveData;
  TNotifyEvent OnAfterPaint;
  TNotifyEvent OnAfterOpenEditor, OnAfterCloseEditor;
  // The control was resized (the platform's event).
  TNotifyEvent OnResize;

 protected:
  // The hint timer's tick; the component's timer serves only the hints.
  virtual void HintTimerTick();
  void resizeEvent(QResizeEvent* e) override;
  // Watches for the mouse capture going to another window.
  bool event(QEvent* e) override;

  // Interaction state the painting cycle and the removal hook share with the input handling.
  TiPlotObject* pressedObject_ = nullptr;
  TiPlotObject* hoverObject_ = nullptr;
  TiPlotObject* releasedObject_ = nullptr;
  bool doubleClickPending_ = false;
  QString hintText_;
  TPoint hintPosition_;
  bool hintShowing_ = false;
  bool hintDrawn_ = false;
  TiPlotObject* hintObject_ = nullptr;
  bool loggingActive_ = kPlotComponentDefaults.LoggingActive;

 private:
  // The steps of the layout pass (rUdudComponentLayout.cpp).
  void CollectVisibleSideMembers();
  // The data view's rectangle from the room the four sides need; also the room left below a
  // toolbar alone on top.
  TRect DataViewFromLevels(TCanvas* canvas, int border, int& toolBarAllowance);
  // Places the members of one side across it, level by level outward from the data view's edge
  // `start` (outward: -1 toward the left or top, +1 toward the right or bottom).
  void PlaceAcrossSide(const std::vector<TiPlotLayoutObject*>& list, bool leftOrRight, int outward, bool fromLast, int start,
                       TCanvas* canvas, int border, int allowance);
  // The data view's edges follow the scale areas of the axes.
  void FitDataViewToScales(TiPlotDataView* view, TCanvas* canvas);

  // The steps of the painting cycle (rUdudComponentPaint.cpp).
  void UpdateCursorValues();
  void CalculateAllTicks(TCanvas& canvas);
  void PrepareChannelsAndAxes(TCanvas& canvas);
  // Annotations and data cursors live in data view 0 for this paint.
  void GiveDataViewToOverlays(TiPlotDataView* view);
  void PaintBackground(TCanvas& canvas);
  void FillDrawList(TiPlotDataView* dataView);
  void PaintInsideDataView(TCanvas& canvas, TiPlotDataView* view);
  void PaintAroundDataView(TCanvas& canvas, TiPlotDataView* view);
  void PaintOverlays(TCanvas& canvas);
  void DrawHint(TCanvas& canvas);

  // Interaction helpers (rUdudComponentInput.cpp).
  TiPlotObject* HitTestObjects(const TiPlotMouseParams& params);
  TiPlotMouseParams InputParams(TMouseButton button, TShiftState shift, int x, int y) const;
  void StoreShiftState(TShiftState shift);
  void FocusedMouseUp(const TiPlotMouseParams& params, const TiPlotObject* except);
  void UpdateHint(TiPlotObject* object, const TiPlotHintData& hint, TPoint point);
  void StartHintTimer(int milliseconds);
  void ApplyMouseCursor(TCursor cursor);
  void CaptureMouse();
  void ReleaseMouseCapture();
  // True when the capture went to another window since the control took it.
  bool CheckMouseCapture();

  // Interaction state besides the fields shared with the painting cycle. The life tokens tell
  // when a referenced part that no collection lists (a button) has gone.
  TiPlotLifeGuard pressedLife_, hoverLife_, releasedLife_, hintLife_;
  TMouseButton releasedButton_ = mbLeft;
  TShiftState releasedShift_ = 0;
  TPoint releasedPosition_;
  TPoint releasedScreenPosition_;
  bool mouseButtonDown_ = false;
  bool axisMultiSelect_ = false;
  TShiftState mouseShiftState_ = 0;
  TPoint hintStartPoint_;
  TRect hintKeepRect_;
  bool repeatingToOtherAxes_ = false;
  TCursor mouseCursor_ = crDefault;
  bool mouseCaptured_ = false;
  bool inKeyPress_ = false;
  bool menuKeyDelivered_ = false;
  unsigned keyPressNumber_ = 0;
  unsigned wheelTurnNumber_ = 0;
  bool inWheelTurn_ = false;

  // Output state, made on first use (shared pointers, so this header needs no complete types).
  std::shared_ptr<QPicture> metaFilePicture_;
  std::shared_ptr<TiSaveDialog> saveDialog_;
  QString savePickerFileName_;
  std::unique_ptr<TiPlotMasterManager> master_;
  std::unique_ptr<TPopupMenu> popupMenu_;
  std::unique_ptr<TiFont> hintsFont_;
  std::unique_ptr<TiFont> annotationDefaultFont_;
  // The control's own font, and what TitleFont hands out when the chart has no title label.
  std::unique_ptr<TiFont> controlFont_;
  std::unique_ptr<TiFont> titleFontStandIn_;
  TImageList imageLists_[3] = {TImageList(24, 24), TImageList(24, 24), TImageList(24, 24)};

  bool backGroundGradientEnabled_ = kPlotComponentDefaults.BackGroundGradientEnabled;
  TiFillDirection backGroundGradientDirection_ = kPlotComponentDefaults.BackGroundGradientDirection;
  TColor backGroundGradientStartColor_ = kPlotComponentDefaults.BackGroundGradientStartColor;
  TColor backGroundGradientStopColor_ = kPlotComponentDefaults.BackGroundGradientStopColor;
  int outerMarginLeft_ = kPlotComponentDefaults.OuterMargin;
  int outerMarginTop_ = kPlotComponentDefaults.OuterMargin;
  int outerMarginRight_ = kPlotComponentDefaults.OuterMargin;
  int outerMarginBottom_ = kPlotComponentDefaults.OuterMargin;
  bool hintsShow_ = kPlotComponentDefaults.HintsShow;
  int hintsPause_ = kPlotComponentDefaults.HintsPause;
  int hintsHidePause_ = kPlotComponentDefaults.HintsHidePause;
  bool userCanAddRemoveChannels_ = kPlotComponentDefaults.UserCanAddRemoveChannels;
  TiPlotFormStyle editorFormStyle_ = kPlotComponentDefaults.EditorFormStyle;
  bool clipAnnotationsToAxes_ = kPlotComponentDefaults.ClipAnnotationsToAxes;
  TiPlotAnnotationLook annotationDefaults_;
  TPrinterOrientation printOrientation_ = kPlotComponentDefaults.PrintOrientation;
  double printMarginLeft_ = 1.0;
  double printMarginTop_ = 1.0;
  double printMarginRight_ = 1.0;
  double printMarginBottom_ = 1.0;
  bool printShowDialog_ = kPlotComponentDefaults.PrintShowDialog;
  QString printDocumentName_ = QStringLiteral("Untitled");
  QString printerName_;
  TiPlotExportFormat copyToClipBoardFormat_ = kPlotComponentDefaults.CopyToClipBoardFormat;
  TiPlotDataFileFormat dataFileFormat_ = kPlotComponentDefaults.DataFileFormat;
  TiPlotDataFileColumnSeparator dataFileColumnSeparator_ = kPlotComponentDefaults.DataFileColumnSeparator;
  QString logFileName_;
  int logBufferSize_ = kPlotComponentDefaults.LogBufferSize;
  QChar loadedSeparator_ = QLatin1Char('\t');
  int logNextRow_ = 0;   // the point index of the next row to log
  int logFileRows_ = 0;  // rows in the log file (a compact log carries X in its first two)
  bool tabStop_ = kPlotComponentDefaults.TabStop;
  int tabOrder_ = kPlotComponentDefaults.TabOrder;

  TColor paintBackGroundColor_ = clBlack;
  std::vector<TRect> reservedRects_;
  std::vector<TiPlotDrawListItem> drawList_;
  std::vector<TiPlotLayoutObject*> layoutTop_;
  std::vector<TiPlotLayoutObject*> layoutBottom_;
  std::vector<TiPlotLayoutObject*> layoutLeft_;
  std::vector<TiPlotLayoutObject*> layoutRight_;
};
