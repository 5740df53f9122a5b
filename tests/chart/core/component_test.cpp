// The chart component: its defaults and repaint requests, the object operations, the title
// properties, the occupied-rectangle list, the events and their silence while loading, the
// loading bracket, and the painting cycle with its draw order.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <QImage>
#include <QProcessEnvironment>

#include "platform/Bitmap.h"
#include "tests/chart/core/ChartTestSupport.h"
#include "tests/chart/core/LayoutTestSupport.h"

namespace {

// Lets tests reach the interaction and logging state.
class TTestChart : public THintChart {
 public:
  using THintChart::THintChart;
  bool HintDrawn() const { return hintDrawn_; }
  void SetLogging(bool value) { loggingActive_ = value; }
  void SetDoubleClickPending() { doubleClickPending_ = true; }
};

TEST(Component, ConstructionSetsTheChartsDefaults) {
  TiPlotComponent chart;
  EXPECT_EQ(chart.Width(), 500);
  EXPECT_EQ(chart.Height(), 200);
  EXPECT_EQ(chart.BackGroundColor(), clBlack);
  EXPECT_EQ(chart.BorderStyle(), ibsLowered);
  EXPECT_EQ(chart.UpdateFrameRate(), 60);
  EXPECT_TRUE(chart.AutoFrameRate());
  EXPECT_FALSE(chart.BackGroundGradientEnabled());
  EXPECT_EQ(chart.BackGroundGradientDirection(), ifdTopBottom);
  EXPECT_EQ(chart.BackGroundGradientStartColor(), clBlue);
  EXPECT_EQ(chart.BackGroundGradientStopColor(), clBlack);
  EXPECT_EQ(chart.OuterMarginLeft() + chart.OuterMarginTop() + chart.OuterMarginRight() + chart.OuterMarginBottom(), 20);
  EXPECT_EQ(chart.DataViewZHorz(), 1);
  EXPECT_EQ(chart.DataViewZVert(), 1);
  EXPECT_FALSE(chart.XYAxesReverse());
  EXPECT_TRUE(chart.HintsShow());
  EXPECT_EQ(chart.HintsPause(), 500);
  EXPECT_EQ(chart.HintsHidePause(), 2500);
  EXPECT_TRUE(chart.UserCanEditObjects());
  EXPECT_FALSE(chart.UserCanAddRemoveChannels());
  EXPECT_EQ(chart.EditorFormStyle(), ipfsModal);
  EXPECT_TRUE(chart.ClipAnnotationsToAxes());
  EXPECT_EQ(chart.AnnotationDefaultFont()->Color(), clWhite);
  EXPECT_EQ(chart.AnnotationDefaultBrushStlye(), bsSolid);
  EXPECT_EQ(chart.AnnotationDefaultPenWidth(), 1);
  EXPECT_EQ(chart.AnnotationDefaultReference(), iprtDataView);
  EXPECT_EQ(chart.AnnotationDefaultReferenceSizeY(), ipriAuto);
  EXPECT_EQ(chart.PrintOrientation(), poLandscape);
  EXPECT_EQ(chart.PrintMarginBottom(), 1.0);
  EXPECT_TRUE(chart.PrintShowDialog());
  EXPECT_EQ(chart.PrintDocumentName(), "Untitled");
  EXPECT_EQ(chart.CopyToClipBoardFormat(), ipefMetaFile);
  EXPECT_EQ(chart.DataFileFormat(), ipdffText);
  EXPECT_EQ(chart.DataFileColumnSeparatorChar(), QLatin1Char('\t'));
  EXPECT_FALSE(chart.LoggingActive());
  EXPECT_EQ(chart.TabOrder(), -1);
  // The component makes no objects of its own: the chart variants add their defaults.
  EXPECT_EQ(chart.ChannelCount() + chart.XAxisCount() + chart.YAxisCount() + chart.ToolBarCount() + chart.LegendCount() +
                chart.TableCount() + chart.LabelCount() + chart.DataViewCount() + chart.DataCursorCount() +
                chart.LimitCount() + chart.AnnotationCount(),
            0);
  EXPECT_EQ(chart.LayoutManager()->Count(), 2);
  EXPECT_TRUE(chart.LayoutManager()->LayoutEnabled());
  ASSERT_NE(chart.ImageList(2), nullptr);
  EXPECT_EQ(chart.ImageList(2)->Width(), 24);
  EXPECT_EQ(chart.ImageList(3), nullptr);
}

TEST(Component, PublishedPropertiesAtTheirDefaultsAreNotWritten) {
  TiPlotComponent chart;
  QStringList lines;
  WriteProperties(chart, QString(), lines, chart.PropertyFileExclusions());
  for (const char* name : {"BackGroundColor =", "BorderStyle =", "AutoFrameRate =", "HintsPause =", "OuterMarginLeft =",
                           "LoggingActive ="})
    EXPECT_FALSE(lines.filter(QLatin1String(name)).size()) << name;
  chart.SetOuterMarginLeft(9);
  chart.SetBorderStyle(ibsNone);
  lines.clear();
  WriteProperties(chart, QString(), lines, chart.PropertyFileExclusions());
  EXPECT_TRUE(lines.contains(QStringLiteral("OuterMarginLeft = 9")));
  EXPECT_TRUE(lines.contains(QStringLiteral("BorderStyle = 0")));
  TiPlotComponent other;
  ReadProperties(other, QString(), lines);
  EXPECT_EQ(other.OuterMarginLeft(), 9);
  EXPECT_EQ(other.BorderStyle(), ibsNone);
}

// Content requests repaint; background requests also mark the background; the rest none.
TEST(Component, EachPropertyAsksForItsKindOfRepaint) {
  enum Kind { None, Content, Background };
  struct Case {
    const char* name;
    std::function<void(TiPlotComponent&)> set;
    Kind kind;
  };
  const std::vector<Case> cases = {
      {"BackGroundColor", [](TiPlotComponent& c) { c.SetBackGroundColor(clNavy); }, Background},
      {"BorderStyle", [](TiPlotComponent& c) { c.SetBorderStyle(ibsRaised); }, Background},
      {"BackGroundGradientEnabled", [](TiPlotComponent& c) { c.SetBackGroundGradientEnabled(true); }, Content},
      {"BackGroundGradientDirection", [](TiPlotComponent& c) { c.SetBackGroundGradientDirection(ifdCircleIn); }, Content},
      {"BackGroundGradientStartColor", [](TiPlotComponent& c) { c.SetBackGroundGradientStartColor(clRed); }, Content},
      {"BackGroundGradientStopColor", [](TiPlotComponent& c) { c.SetBackGroundGradientStopColor(clRed); }, Content},
      {"OuterMarginTop", [](TiPlotComponent& c) { c.SetOuterMarginTop(7); }, Content},
      {"OuterMarginBottom", [](TiPlotComponent& c) { c.SetOuterMarginBottom(7); }, Content},
      {"ClipAnnotationsToAxes", [](TiPlotComponent& c) { c.SetClipAnnotationsToAxes(false); }, Content},
      {"DataViewZHorz", [](TiPlotComponent& c) { c.SetDataViewZHorz(4); }, Content},
      {"XYAxesReverse", [](TiPlotComponent& c) { c.SetXYAxesReverse(true); }, Content},
      {"OuterMarginLeft unchanged", [](TiPlotComponent& c) { c.SetOuterMarginLeft(5); }, None},
      {"HintsShow", [](TiPlotComponent& c) { c.SetHintsShow(false); }, None},
      {"HintsPause", [](TiPlotComponent& c) { c.SetHintsPause(100); }, None},
      {"PrintMarginLeft", [](TiPlotComponent& c) { c.SetPrintMarginLeft(2); }, None},
      {"DataFileColumnSeparator", [](TiPlotComponent& c) { c.SetDataFileColumnSeparator(ipdfcsComma); }, None},
      {"CopyToClipBoardFormat", [](TiPlotComponent& c) { c.SetCopyToClipBoardFormat(ipefJPEG); }, None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TiPlotComponent chart;
    chart.SetAutoFrameRate(false);
    TBitmap bitmap(10, 10);
    chart.DrawBackGround(*bitmap.Canvas(), clBlack);   // clears the background mark
    const int before = chart.RepaintRequests();
    c.set(chart);
    EXPECT_EQ(chart.RepaintRequests() - before, c.kind == None ? 0 : 1);
    EXPECT_EQ(chart.BackGroundChanged(), c.kind == Background);
  }
}

TEST(Component, XYAxesReverseRepaintsAtOnceDespiteTheFrameRate) {
  TManualClock clock;
  TiPlotComponent chart;
  chart.InvalidateNow();
  const int before = chart.RepaintRequests();
  chart.SetOuterMarginLeft(8);   // held back by the frame-rate gate
  EXPECT_EQ(chart.RepaintRequests(), before);
  EXPECT_TRUE(chart.ChangePending());
  chart.SetXYAxesReverse(true);
  EXPECT_EQ(chart.RepaintRequests(), before + 1);
  EXPECT_TRUE(chart.XYAxesReverse());
  EXPECT_TRUE(chart.Master()->XYAxesReverse());
}

TEST(Component, DataViewZOrdersAreThePlaceholders) {
  TiPlotComponent chart;
  chart.SetDataViewZVert(3);
  EXPECT_EQ(chart.LayoutManager()->DataViewVert()->ZOrder(), 3);
  EXPECT_EQ(chart.DataViewZVert(), 3);
  chart.AddLegend();   // a vertical object at 0 now lies left of the data view
  EXPECT_EQ(chart.LayoutManager()->LeftObjects().Count(), 1);
  chart.SetDataViewZVert(-1);
  EXPECT_EQ(chart.LayoutManager()->RightObjects().Count(), 1);
}

TEST(Component, AccessorsAddAndFind) {
  TiPlotComponent chart;
  EXPECT_EQ(chart.AddXAxis(), 0);
  EXPECT_EQ(chart.AddXAxis(), 1);
  EXPECT_EQ(chart.AddYAxis(), 0);
  EXPECT_EQ(chart.AddChannel(), 0);
  EXPECT_EQ(chart.AddDataView(), 0);
  EXPECT_EQ(chart.AddDataCursor(), 0);
  EXPECT_EQ(chart.AddLegend(), 0);
  EXPECT_EQ(chart.AddToolBar(), 0);
  EXPECT_EQ(chart.AddTable(), 0);
  EXPECT_EQ(chart.AddLimit(), 0);
  EXPECT_EQ(chart.AddLabel(), 0);
  EXPECT_EQ(chart.XAxis(1)->Name(), "X-Axis 2");
  EXPECT_EQ(chart.FindXAxis(QStringLiteral("x-axis 2")), chart.XAxis(1));
  EXPECT_EQ(chart.FindYAxis(QStringLiteral("X-Axis 1")), nullptr);
  EXPECT_EQ(chart.FindChannel(QStringLiteral("CHANNEL 1")), chart.Channel(0));
  EXPECT_EQ(chart.Channel(0)->XAxisName(), "X-Axis 1");
  EXPECT_EQ(chart.DataCursor(0)->DataView(), chart.DataView(0));
  EXPECT_THROW(chart.XAxis(2), EiError);
  EXPECT_THROW(chart.Annotation(0), EiError);
  EXPECT_THROW(chart.Labels(-1), EiError);
}

// Every kind of the table: added, counted, found, told apart and removed through the chart's
// operations of that kind; each of the table's orders names every kind once.
TEST(Component, EveryKindOfTheTable) {
  const QString baseNames[] = {"Toolbar", "Legend", "Table", "X-Axis", "Y-Axis", "Channel", "Data View", "Cursor", "Limit", "Label", ""};
  TiPlotComponent chart;
  for (const TiPlotKindInfo& info : PlotObjectKinds()) {
    const TiPlotObjectKind kind = info.Kind;
    SCOPED_TRACE(kind);
    EXPECT_EQ(chart.Count(kind), 0);
    EXPECT_EQ(chart.Add(kind), 0);
    EXPECT_EQ(chart.Add(kind), 1);
    ASSERT_EQ(chart.Count(kind), 2);
    TiPlotObject* second = chart.Item(kind, 1);
    EXPECT_EQ(second->Kind(), kind);
    int index = -1;
    EXPECT_EQ(chart.ObjectKind(second, &index), kind);
    EXPECT_EQ(index, 1);
    // Annotations are added without a name.
    const QString expectedName = baseNames[kind].isEmpty() ? QString() : baseNames[kind] + QStringLiteral(" 2");
    EXPECT_EQ(second->Name(), expectedName);
    if (!expectedName.isEmpty()) {
      EXPECT_EQ(chart.Find(kind, expectedName.toUpper()), second);
    }
    chart.Delete(kind, 0);
    EXPECT_EQ(chart.Count(kind), 1);
    EXPECT_EQ(chart.Item(kind, 0), second);
    EXPECT_EQ(chart.ObjectKind(second, &index), kind);
    EXPECT_EQ(index, 0);
    chart.RemoveAll(kind);
    EXPECT_EQ(chart.Count(kind), 0);
    EXPECT_THROW(chart.Item(kind, 0), EiError);
    EXPECT_THROW(chart.Delete(kind, 0), EiError);
  }
  for (int TiPlotKindInfo::*rank : {&TiPlotKindInfo::CreationRank, &TiPlotKindInfo::DestructionRank, &TiPlotKindInfo::FlagRank}) {
    std::array<TiPlotObjectKind, kPlotObjectKindCount> order = PlotObjectKindsBy(rank);
    std::sort(order.begin(), order.end());
    for (int k = 0; k < kPlotObjectKindCount; ++k) EXPECT_EQ(order[static_cast<size_t>(k)], k);
  }
}

// A removal event raised while the object is being destroyed cannot let a failure out (it would
// leave a destructor and end the program): the object goes all the same.
TEST(Component, AFailingRemovalHandlerDoesNotStopADestruction) {
  TiPlotComponent chart;
  chart.AddChannel();
  chart.AddChannel();
  int calls = 0;
  chart.OnRemoveChannel = [&](int) {
    ++calls;
    throw EiError(QStringLiteral("handler failed"));
  };
  EXPECT_NO_THROW(chart.DeleteChannel(0));
  EXPECT_NO_THROW(chart.RemoveAllChannels());
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(chart.ChannelCount(), 0);
  EXPECT_EQ(chart.Master()->AllObjects()->Count(), 2) << "only the two placeholders are left";
}

TEST(Component, DeleteAndRemoveAllRepaintAtOnceExceptLabels) {
  TManualClock clock;
  TiPlotComponent chart;
  for (int i = 0; i < 3; ++i) {
    chart.AddChannel();
    chart.AddLabel();
  }
  int before = chart.RepaintRequests();
  chart.DeleteChannel(1);
  EXPECT_EQ(chart.RepaintRequests(), before + 1);
  EXPECT_EQ(chart.ChannelCount(), 2);
  EXPECT_EQ(chart.Channel(1)->Name(), "Channel 3");
  chart.RemoveAllChannels();
  EXPECT_EQ(chart.ChannelCount(), 0);
  EXPECT_THROW(chart.DeleteChannel(0), EiError);

  try {
    chart.DeleteLabel(0);
    FAIL() << "label 0 deleted";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Label Index 0 can not be Deleted (Resevered for Title)");
  }
  EXPECT_EQ(chart.LabelCount(), 3);
  before = chart.RepaintRequests();
  chart.DeleteLabel(2);
  chart.RemoveAllLabels();
  EXPECT_EQ(chart.RepaintRequests(), before);   // the labels' own changes are held by the frame-rate gate
  ASSERT_EQ(chart.LabelCount(), 1);
  EXPECT_EQ(chart.Labels(0)->Name(), "Label 1");
}

TEST(Component, TitleIsLabelZero) {
  TiPlotComponent chart;
  EXPECT_EQ(chart.TitleText(), "");
  EXPECT_FALSE(chart.TitleVisible());
  EXPECT_EQ(chart.TitleMargin(), 0.0);
  EXPECT_EQ(chart.TitleFont()->Font(), TFont());
  chart.SetTitleText(QStringLiteral("Spectrum"));
  chart.SetTitleVisible(true);
  chart.SetTitleMargin(2.0);
  chart.TitleFont()->SetColor(clRed);
  chart.SetTitleFont(TFont{QStringLiteral("Arial"), 30});
  EXPECT_EQ(chart.TitleText(), "");
  EXPECT_FALSE(chart.TitleVisible());
  EXPECT_EQ(chart.TitleFont()->Font(), TFont());
  EXPECT_EQ(chart.LabelCount(), 0);

  chart.AddLabel();
  chart.AddLabel();
  EXPECT_EQ(chart.TitleText(), "Label 1");
  chart.SetTitleText(QStringLiteral("Spectrum"));
  chart.SetTitleMargin(0.5);
  chart.TitleFont()->SetHeight(25);
  chart.SetTitleVisible(false);
  EXPECT_EQ(chart.Labels(0)->Caption(), "Spectrum");
  EXPECT_EQ(chart.Labels(0)->MarginBottom(), 0.5);
  EXPECT_EQ(chart.Labels(0)->Font()->Height(), 25);
  EXPECT_FALSE(chart.Labels(0)->Visible());
  EXPECT_EQ(chart.Labels(1)->Caption(), "Label 2");
}

TEST(Component, TryReserveRect) {
  TiPlotComponent chart;
  chart.AddDataView();
  chart.DataView(0)->SetLayoutRect(Rect(10, 10, 100, 100));
  // The first one of a paint is taken wherever it lies.
  EXPECT_TRUE(chart.TryReserveRect(Rect(200, 200, 210, 210)));
  // From then on it must lie inside the data view and meet no reserved rectangle.
  EXPECT_FALSE(chart.TryReserveRect(Rect(300, 300, 310, 310)));
  EXPECT_FALSE(chart.TryReserveRect(Rect(95, 20, 105, 30)));
  EXPECT_TRUE(chart.TryReserveRect(Rect(20, 20, 30, 30)));
  EXPECT_FALSE(chart.TryReserveRect(Rect(25, 25, 35, 35)));
  EXPECT_TRUE(chart.TryReserveRect(Rect(30, 20, 40, 30)));   // touching is not meeting
  chart.ReserveRect(Rect(50, 50, 51, 51));
  EXPECT_FALSE(chart.TryReserveRect(Rect(45, 45, 55, 55)));
  EXPECT_EQ(chart.ReservedRects().size(), 4u);
}

TEST(Component, ObjectEventsCarryTheIndexAndStaySilentWhileLoading) {
  TTestChart chart;
  QStringList events;
  chart.OnAddXAxis = [&](int i) { events << QStringLiteral("add x %1").arg(i); };
  chart.OnAddChannel = [&](int i) { events << QStringLiteral("add channel %1").arg(i); };
  chart.OnRemoveXAxis = [&](int i) { events << QStringLiteral("remove x %1").arg(i); };
  chart.OnClickXAxis = [&](int i) { events << QStringLiteral("click x %1").arg(i); };
  chart.OnDblClickXAxis = [&](int i) { events << QStringLiteral("double x %1").arg(i); };
  chart.OnMouseUpXAxis = [&](int i, TMouseButton, TShiftState, int x, int y) { events << QStringLiteral("up x %1 %2 %3").arg(i).arg(x).arg(y); };
  chart.OnGotFocusXAxis = [&](int i) { events << QStringLiteral("focus x %1").arg(i); };
  chart.OnPopupMenuYAxis = [&](int i, bool& cancel, int, int) {
    events << QStringLiteral("popup y %1").arg(i);
    cancel = true;
  };
  chart.AddXAxis();
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddChannel();
  EXPECT_EQ(events, (QStringList{"add x 0", "add x 1", "add channel 0"}));
  // An axis is clicked in its focus frame: the second X axis's frame takes the releases below.
  {
    TiPlotXAxis* axis = chart.XAxis(1);
    axis->SetHorizontal(true);
    axis->SetLayoutRect(TRect{0, 0, 100, 20});
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    axis->UpdateScaleArea(&canvas);
    ASSERT_TRUE(PtInRect(axis->FocusRect(), {3, 4}) && PtInRect(axis->FocusRect(), {5, 6}));
  }
  events.clear();
  chart.ObjectMouseUp(chart.XAxis(1), mbLeft, 0, 3, 4);
  chart.SetDoubleClickPending();
  chart.ObjectMouseUp(chart.XAxis(1), mbLeft, 0, 5, 6);
  chart.XAxis(0)->SetFocused(true);
  EXPECT_TRUE(chart.ObjectPopupHandled(chart.YAxis(0), 0, 0));
  EXPECT_FALSE(chart.ObjectPopupHandled(chart.XAxis(0), 0, 0));
  chart.DeleteXAxis(0);
  EXPECT_EQ(events, (QStringList{"up x 1 3 4", "click x 1", "up x 1 5 6", "double x 1", "focus x 0", "popup y 0", "remove x 0"}));

  events.clear();
  chart.BeginLoading();
  chart.AddXAxis();
  chart.ObjectMouseUp(chart.XAxis(0), mbLeft, 0, 0, 0);
  chart.DeleteXAxis(0);
  EXPECT_FALSE(chart.ObjectPopupHandled(chart.YAxis(0), 0, 0));
  chart.EndLoading();
  EXPECT_TRUE(events.isEmpty()) << events.join(", ").toStdString();
  chart.AddXAxis();
  EXPECT_EQ(events, QStringList{"add x 1"});
}

TEST(Component, TheLoadingBracket) {
  TiPlotComponent chart;
  QStringList events;
  chart.OnAfterPaint = [&](QObject*) { events << QStringLiteral("painted"); };
  chart.BeginLoading();
  EXPECT_TRUE(chart.IsLoading());
  EXPECT_FALSE(chart.LayoutManager()->LayoutEnabled());
  EXPECT_TRUE(chart.Updating());
  // Stored values as read: a toolbar and the title both at ZOrder 2 above the data view.
  chart.AddToolBar();
  chart.ToolBar(0)->SetHorizontal(true);
  chart.ToolBar(0)->SetZOrder(2);
  chart.AddLabel();
  chart.Labels(0)->SetZOrder(2);
  chart.AddLegend();
  chart.AddDataView();
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_TRUE(events.isEmpty());
  EXPECT_EQ(chart.ToolBar(0)->ZOrder(), 2);
  chart.EndLoading();
  EXPECT_FALSE(chart.IsLoading());
  EXPECT_TRUE(chart.LayoutManager()->LayoutEnabled());
  EXPECT_FALSE(chart.Updating());
  EXPECT_EQ(chart.ToolBar(0)->ZOrder(), 3);
  EXPECT_EQ(chart.Labels(0)->ZOrder(), 2);
  EXPECT_EQ(chart.LayoutManager()->TopLevelCount(), 2);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(events, QStringList{"painted"});
}

TEST(Component, TheToolbarKeepsItsSlotWhenOnAnotherSideOrLevel) {
  TiPlotComponent chart;
  chart.BeginLoading();
  chart.AddToolBar();
  chart.ToolBar(0)->SetHorizontal(false);
  chart.ToolBar(0)->SetZOrder(2);
  chart.AddLabel();
  chart.Labels(0)->SetZOrder(2);    // horizontal
  chart.EndLoading();
  EXPECT_EQ(chart.ToolBar(0)->ZOrder(), 2);
}

class TRecordingChannel : public TiXYPlotChannel {
 public:
  using TiXYPlotChannel::TiXYPlotChannel;
  void Clear() override { *Log << "clear " + Name(); }
  QStringList* Log = nullptr;
};

class TRecordingXAxis : public TiPlotXAxis {
 public:
  using TiPlotXAxis::TiPlotXAxis;
  void ResetTracking() override { *Log << "reset " + Name(); }
  QStringList* Log = nullptr;
};

TEST(Component, ClearAllDataStopsLoggingThenResetsEverything) {
  TTestChart chart;
  QStringList log;
  InsertInto<TRecordingXAxis>(chart, [&](TRecordingXAxis* a) { a->Log = &log; });
  InsertInto<TRecordingChannel>(chart, [&](TRecordingChannel* c) { c->Log = &log; });
  chart.SetLogging(true);
  chart.ClearAllData();
  EXPECT_FALSE(chart.LoggingActive());
  EXPECT_EQ(log, (QStringList{"clear Channel 1", "reset X-Axis 1"}));
}

TEST(Component, TrackingSwitches) {
  TiPlotComponent chart;
  chart.AddXAxis();
  chart.AddYAxis();
  chart.DisableAllTracking();
  EXPECT_FALSE(chart.XAxis(0)->TrackingEnabled());
  EXPECT_FALSE(chart.YAxis(0)->TrackingEnabled());
  chart.EnableAllTracking();
  EXPECT_TRUE(chart.XAxis(0)->TrackingEnabled() && chart.YAxis(0)->TrackingEnabled());
}

TEST(Component, NewAnnotationsTakeTheDefaults) {
  TiPlotComponent chart;
  chart.SetAnnotationDefaultBrushStlye(bsCross);
  chart.SetAnnotationDefaultBrushColor(clRed);
  chart.SetAnnotationDefaultPenStlye(psDot);
  chart.SetAnnotationDefaultPenColor(clLime);
  chart.SetAnnotationDefaultPenWidth(3);
  chart.SetAnnotationDefaultReference(iprtChannel);
  chart.SetAnnotationDefaultReferenceSizeX(ipriDataView);
  chart.AnnotationDefaultFont()->SetHeight(17);
  EXPECT_EQ(chart.AddAnnotation(), 0);
  TiPlotAnnotation* a = chart.Annotation(0);
  EXPECT_EQ(a->BrushStyle(), bsCross);
  EXPECT_EQ(a->BrushColor(), clRed);
  EXPECT_EQ(a->PenStyle(), psDot);
  EXPECT_EQ(a->PenColor(), clLime);
  EXPECT_EQ(a->PenWidth(), 3);
  EXPECT_EQ(a->Reference(), iprtChannel);
  EXPECT_EQ(a->ReferenceSizeX(), ipriDataView);
  EXPECT_EQ(a->ReferencePositionX(), ipriAuto);
  EXPECT_EQ(a->Font()->Height(), 17);
  EXPECT_EQ(a->Font()->Color(), clWhite);
  // A copy: later changes of the default leave it alone.
  chart.AnnotationDefaultFont()->SetHeight(9);
  EXPECT_EQ(a->Font()->Height(), 17);
}

TEST(Component, DataFileSettingsAreRefusedWhileLogging) {
  TTestChart chart;
  chart.SetLogging(true);
  struct Case {
    std::function<void()> set;
    const char* message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {[&] { chart.SetDataFileFormat(ipdffText); }, "Data File Format can not be changed while logging active"},
           {[&] { chart.SetDataFileColumnSeparator(ipdfcsComma); },
            "Data File Column Seperator can not be changed while logging active"},
           {[&] { chart.SetLogFileName(QStringLiteral("a.log")); }, "Log File Name can not be changed while logging is active."}}) {
    SCOPED_TRACE(c.message);
    try {
      c.set();
      FAIL() << "accepted";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  // Unchanged values pass where only changes are checked.
  EXPECT_NO_THROW(chart.SetDataFileColumnSeparator(ipdfcsTab));
  EXPECT_NO_THROW(chart.SetLogFileName(QString()));
  EXPECT_EQ(chart.DataFileColumnSeparator(), ipdfcsTab);
}

// ---------------------------------------------------------------------------------------------
// Painting

struct DrawLogScope {
  QStringList log;
  DrawLogScope() { g_drawLog = &log; }
  ~DrawLogScope() { g_drawLog = nullptr; }
};

class TCountingCursor : public TDrawing<TiPlotDataCursor> {
 public:
  using TDrawing<TiPlotDataCursor>::TDrawing;
  int Updates = 0;
  void UpdateValues() override { ++Updates; }
};

TEST(Paint, NothingWithoutAToolbarALegendOrADataView) {
  for (int missing = 0; missing < 3; ++missing) {
    SCOPED_TRACE(missing);
    TiPlotComponent chart;
    int painted = 0;
    chart.OnAfterPaint = [&](QObject* sender) {
      EXPECT_EQ(sender, &chart);
      ++painted;
    };
    chart.AddToolBar();
    chart.AddLegend();
    chart.AddDataView();
    chart.AddXAxis();
    TBitmap bitmap(500, 200);
    bitmap.Canvas()->Brush().Color = clRed;
    bitmap.Canvas()->FillRect(Rect(0, 0, 500, 200));
    chart.DoPaint(*bitmap.Canvas());
    EXPECT_EQ(painted, 1);
    EXPECT_NE(bitmap.Canvas()->Pixel(250, 100), clRed);
    bitmap.Canvas()->Brush() = TBrush{clRed, bsSolid};
    bitmap.Canvas()->FillRect(Rect(0, 0, 500, 200));
    if (missing == 0) chart.RemoveAllToolBars();
    if (missing == 1) chart.RemoveAllLegends();
    if (missing == 2) chart.RemoveAllDataViews();
    chart.DoPaint(*bitmap.Canvas());
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(bitmap.Canvas()->Pixel(250, 100), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clRed);
  }
}

TEST(Paint, DrawOrderByLayerAndLetter) {
  DrawLogScope scope;
  TiPlotComponent chart;
  InsertInto<TDrawing<TiPlotToolBar>>(chart);
  InsertInto<TDrawing<TiPlotLegend>>(chart);
  InsertInto<TDrawing<TiPlotXAxis>>(chart);                                                   // X-Axis 1, beside
  InsertInto<TDrawing<TiPlotXAxis>>(chart, [](auto* a) { a->SetCartesianStyle(ipcsMaster); });  // X-Axis 2, E
  InsertInto<TDrawing<TiPlotYAxis>>(chart, [](auto* a) { a->SetCartesianStyle(ipcsMaster); });  // Y-Axis 1, D
  InsertInto<TDrawing<TiPlotDataView>>(chart);                                                // B
  // Channels are drawn when they have points on axes that exist.
  auto plotted = [](TiXYPlotChannel* c) {
    c->SetXAxisName(QStringLiteral("X-Axis 1"));
    c->SetYAxisName(QStringLiteral("Y-Axis 1"));
    c->SetXAxisTrackingEnabled(false);
    c->SetYAxisTrackingEnabled(false);
    c->AddXY(1, 1);
  };
  InsertInto<TDrawing<TiXYPlotChannel>>(chart, plotted);                                      // F
  InsertInto<TDrawing<TiXYPlotChannel>>(chart, plotted);                                      // F
  InsertInto<TDrawing<TiXYPlotChannel>>(chart, [&](auto* c) {                                 // F, under the grid
    plotted(c);
    c->SetLayer(50);
  });
  InsertInto<TDrawingLimit>(chart, [](TDrawingLimit* l) { l->SetName(QStringLiteral("Line")); });  // C
  InsertInto<TDrawingLimit>(chart, [](TDrawingLimit* l) {                                    // A
    l->SetName(QStringLiteral("Band"));
    l->Band = true;
  });
  InsertInto<TDrawing<TiPlotAnnotation>>(chart, [](auto* a) { a->SetName(QStringLiteral("Note")); });  // G
  InsertInto<TDrawing<TiPlotLabel>>(chart);
  InsertInto<TDrawing<TiPlotTable>>(chart);
  InsertInto<TCountingCursor>(chart);
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(scope.log, (QStringList{// inside the data view, by layer and letter
                                    "Channel 3", "Band", "Data View 1", "Line", "Y-Axis 1", "X-Axis 2", "Channel 2",
                                    "Channel 1", "Note",
                                    // then the axes beside it, labels, toolbars, cursors, legends, tables
                                    "X-Axis 1", "Label 1", "Toolbar 1", "Cursor 1", "Legend 1", "Table 1"}));
  QStringList keys;
  for (const TiPlotDrawListItem& item : chart.DrawList()) keys << item.Key;
  EXPECT_EQ(keys, (QStringList{"000050F", "000100A", "000100B", "000100C", "000100D", "000100E", "000100F", "000100F",
                               "000100G"}));
}

// An annotation whose drawing runs a handler of the program (as an axis does for its labels).
class THandlerAnnotation : public TDrawing<TiPlotAnnotation> {
 public:
  using TDrawing<TiPlotAnnotation>::TDrawing;
  std::function<void()> WhileDrawing;
  void Draw(TCanvas* canvas, TColor background) override {
    TDrawing<TiPlotAnnotation>::Draw(canvas, background);
    if (WhileDrawing) WhileDrawing();
  }
};

// A handler run while the data view's objects are drawn may remove objects still waiting to be
// drawn: they are left out, not drawn after they have gone.
TEST(Paint, ObjectsRemovedWhileTheDataViewIsDrawnAreSkipped) {
  DrawLogScope scope;
  TiPlotComponent chart;
  chart.AddToolBar();
  chart.AddLegend();
  chart.AddDataView();
  THandlerAnnotation* first = InsertInto<THandlerAnnotation>(chart, [](auto* a) {
    a->SetName(QStringLiteral("First"));
    a->SetLayer(10);
  });
  InsertInto<TDrawing<TiPlotAnnotation>>(chart, [](auto* a) { a->SetName(QStringLiteral("Second")); });
  InsertInto<TDrawing<TiPlotAnnotation>>(chart, [](auto* a) { a->SetName(QStringLiteral("Third")); });
  first->WhileDrawing = [&chart] { chart.DeleteAnnotation(1); };
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(scope.log, (QStringList{"First", "Third"}));
  EXPECT_EQ(chart.AnnotationCount(), 2);
  // Removing the data view ends the paint there; the next paint finds no data view.
  scope.log.clear();
  first->WhileDrawing = [&chart] { chart.DeleteDataView(0); };
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(scope.log, (QStringList{"First", "Third"}));
  EXPECT_EQ(chart.DataViewCount(), 0);
  scope.log.clear();
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_TRUE(scope.log.isEmpty());
}

TEST(Paint, CursorsAnnotationsAndTheLegendAreToldAboutThePaint) {
  TiPlotComponent chart;
  chart.AddToolBar();
  chart.AddLegend();
  chart.AddDataView();
  TCountingCursor* first = InsertInto<TCountingCursor>(chart);
  TCountingCursor* all = InsertInto<TCountingCursor>(chart, [](TCountingCursor* c) {
    c->SetChannelName(QStringLiteral("<All>"));
    c->SetVisible(false);
  });
  chart.AddAnnotation();
  chart.SetXYAxesReverse(true);
  first->SetDataView(nullptr);
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(first->Updates, 1);
  EXPECT_EQ(all->Updates, 1);
  EXPECT_EQ(first->DataView(), chart.DataView(0));
  EXPECT_EQ(chart.Annotation(0)->DataView(), chart.DataView(0));
  EXPECT_TRUE(chart.Annotation(0)->XYAxesReverse());
  EXPECT_FALSE(chart.Legend(0)->AllChannelsCursorActive());   // the all-channels cursor is hidden
  all->SetVisible(true);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_TRUE(chart.Legend(0)->AllChannelsCursorActive());
  all->SetChannelShowAllInLegend(false);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_FALSE(chart.Legend(0)->AllChannelsCursorActive());
}

TEST(Paint, BackgroundsAndTheBorder) {
  TiPlotComponent chart;
  chart.AddToolBar();
  chart.AddLegend();
  chart.AddDataView();
  chart.AddXAxis();
  chart.AddYAxis();
  TiPlotDataView* view = chart.DataView(0);
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(chart.PaintBackGroundColor(), clBlack);
  const TRect r = view->GetLayoutRect();
  ASSERT_FALSE(IsRectEmpty(r));
  EXPECT_EQ(bitmap.Canvas()->Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clBlack);

  view->SetBackgroundTransparent(false);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_EQ(chart.PaintBackGroundColor(), RGB(0, 128, 128));
  EXPECT_EQ(bitmap.Canvas()->Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), RGB(0, 128, 128));
  EXPECT_EQ(bitmap.Canvas()->Pixel(r.Left - 1, r.Top), clBlack);

  // A gradient under a raised border: the bevel lies over the gradient.
  chart.SetBackGroundGradientEnabled(true);
  chart.SetBorderStyle(ibsRaised);
  chart.DoPaint(*bitmap.Canvas());
  TBitmap border(500, 200);
  border.Canvas()->Brush().Color = clBlack;
  border.Canvas()->FillRect(Rect(0, 0, 500, 200));
  chart.DrawBorder(*border.Canvas());
  for (TPoint p : {TPoint{0, 0}, TPoint{1, 1}, TPoint{499, 199}, TPoint{250, 0}, TPoint{0, 100}})
    EXPECT_EQ(bitmap.Canvas()->Pixel(p.X, p.Y), border.Canvas()->Pixel(p.X, p.Y)) << p.X << "," << p.Y;
  EXPECT_NE(bitmap.Canvas()->Pixel(0, 0), clBlue);
  // Inside the bevel the gradient's first rows, nearly pure blue.
  const TColor top = bitmap.Canvas()->Pixel(250, 2);
  EXPECT_EQ(GetRValue(top) + GetGValue(top), 0);
  EXPECT_GE(GetBValue(top), 250);
}

TEST(Paint, TheHintBox) {
  TTestChart chart;
  chart.AddToolBar();
  chart.AddLegend();
  chart.AddDataView();
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_FALSE(chart.HintDrawn());
  chart.ShowHint(QStringLiteral("X-Axis 1"), 100, 50);
  chart.DoPaint(*bitmap.Canvas());
  EXPECT_TRUE(chart.HintDrawn());
  EXPECT_EQ(bitmap.Canvas()->Pixel(101, 51), ColorToRGB(clInfoBk));
  const int width = bitmap.Canvas()->TextWidth(QStringLiteral("X-Axis 1"));
  EXPECT_EQ(bitmap.Canvas()->Pixel(100 + width + 4, 51), clBlack);   // just outside the box
}

// A chart whose objects outline the rectangles the layout gave them, to look at the layout.
template <class Base>
class TOutlined : public TFixed<Base> {
 public:
  using TFixed<Base>::TFixed;
  TColor Color = clWhite;
  void Draw(TCanvas* canvas, TColor) override {
    const TRect r = this->GetLayoutRect();
    canvas->Brush().Style = bsClear;
    canvas->Pen().Color = Color;
    canvas->Pen().Style = psSolid;
    canvas->Rectangle(r);
    canvas->Font().Color = Color;
    canvas->TextOut(r.Left + 3, r.Top + 2, this->Name());
  }
};

TEST(Paint, AChartWithOutlinedObjects) {
  TiPlotComponent chart;
  chart.LayoutManager()->SetLayoutEnabled(false);
  InsertInto<TOutlined<TiPlotToolBar>>(chart, [](auto* t) {
    t->SetHorizontal(true);
    t->SetZOrder(3);
    t->Size = 26;
    t->Color = clAqua;
  });
  InsertInto<TOutlined<TiPlotLegend>>(chart, [](auto* l) {
    l->SetZOrder(2);
    l->Size = 90;
    l->Color = clYellow;
  });
  InsertInto<TOutlined<TiPlotXAxis>>(chart, [](auto* a) {
    a->Size = 33;
    a->EndMargin = 12;
    a->Color = clLime;
  });
  InsertInto<TOutlined<TiPlotYAxis>>(chart, [](auto* a) {
    a->Size = 45;
    a->EndMargin = 7;
    a->Color = clLime;
  });
  chart.AddDataView();
  InsertInto<TOutlined<TiPlotLabel>>(chart, [](auto* l) {
    l->SetZOrder(2);
    l->SetName(QStringLiteral("Title"));
    l->Size = 24;
    l->Color = clFuchsia;
  });
  chart.LayoutManager()->SetLayoutEnabled(true);
  chart.DataView(0)->SetBackgroundTransparent(false);
  chart.resize(600, 300);
  const QImage image = chart.PaintToImage();
  const QString out = QProcessEnvironment::systemEnvironment().value(QStringLiteral("LUMIO_SAVE_PICTURES"));
  if (!out.isEmpty()) image.save(QDir(out).filePath(QStringLiteral("chart_layout.png")));
  const TRect view = chart.DataView(0)->GetLayoutRect();
  // Data view in teal, the outlines around it, nothing overlapping.
  EXPECT_EQ(view, Rect(52, 57, 502, 259));
  EXPECT_EQ(FromQColor(image.pixelColor((view.Left + view.Right) / 2, (view.Top + view.Bottom) / 2)), RGB(0, 128, 128));
  EXPECT_EQ(FromQColor(image.pixelColor(view.Right, view.Top + 30)), clYellow);   // legend's left edge
  EXPECT_EQ(FromQColor(image.pixelColor(view.Left + 30, view.Bottom)), clLime);        // X axis's top edge
  EXPECT_EQ(FromQColor(image.pixelColor(300, 2)), clAqua);                             // toolbar at the top edge
}

}  // namespace

namespace {

// One object of every kind, two of some, so that removals leave others that refer to them.
void FillChart(TiPlotComponent& chart) {
  chart.LayoutManager()->SetLayoutEnabled(false);
  for (int round = 0; round < 2; ++round) {
    chart.AddToolBar();
    chart.AddLegend();
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddDataView();
    chart.AddLabel();
    chart.AddChannel();
  }
  chart.AddDataCursor();
  chart.AddLimit();
  chart.AddAnnotation();
  chart.AddTable();
  chart.LayoutManager()->SetLayoutEnabled(true);
}

// A paint that asked for another one would keep the chart repainting for ever.
TEST(Paint, PaintingAsksForNoFurtherRepaint) {
  TiPlotComponent chart;
  FillChart(chart);
  chart.PaintToImage();
  const int before = chart.RepaintRequests();
  chart.PaintToImage();
  chart.PaintToImage();
  EXPECT_EQ(chart.RepaintRequests(), before);
}

// Whatever goes, the chart still paints and is destroyed without touching what went.
TEST(Paint, RemovingAnObjectOfAnyKindThenPaintingAndDestroying) {
  const std::function<void(TiPlotComponent&)> removals[] = {
      [](TiPlotComponent& c) { c.DeleteXAxis(0); },
      [](TiPlotComponent& c) { c.DeleteYAxis(0); },
      [](TiPlotComponent& c) { c.DeleteChannel(0); },
      [](TiPlotComponent& c) { c.DeleteDataView(0); },
      [](TiPlotComponent& c) { c.DeleteLegend(0); },
      [](TiPlotComponent& c) { c.DeleteToolBar(0); },
      [](TiPlotComponent& c) { c.DeleteDataCursor(0); },
      [](TiPlotComponent& c) { c.DeleteLimit(0); },
      [](TiPlotComponent& c) { c.DeleteAnnotation(0); },
      [](TiPlotComponent& c) { c.DeleteTable(0); },
      [](TiPlotComponent& c) { c.DeleteLabel(1); },
      [](TiPlotComponent& c) { c.RemoveAllXAxes(); },
      [](TiPlotComponent& c) { c.RemoveAllYAxes(); },
      [](TiPlotComponent& c) { c.RemoveAllChannels(); },
      [](TiPlotComponent& c) { c.RemoveAllDataViews(); },
      [](TiPlotComponent& c) { c.RemoveAllLegends(); },
      [](TiPlotComponent& c) { c.RemoveAllToolBars(); },
      [](TiPlotComponent& c) { c.RemoveAllLabels(); },
      [](TiPlotComponent& c) { c.SetXYAxesReverse(true); },
      [](TiPlotComponent& c) { c.XAxis(0)->SetName(QStringLiteral("renamed")); },
      [](TiPlotComponent& c) {
        c.Channel(0)->SetFocused(true);
        c.DeleteChannel(0);
      },
      [](TiPlotComponent& c) {
        c.DataView(0)->SetFocused(true);
        c.RemoveAllDataViews();
      },
  };
  int index = 0;
  for (const auto& remove : removals) {
    SCOPED_TRACE(index++);
    auto chart = std::make_unique<TiPlotComponent>();
    FillChart(*chart);
    chart->PaintToImage();
    remove(*chart);
    const QImage image = chart->PaintToImage();
    EXPECT_EQ(image.width(), chart->Width());
    EXPECT_NO_THROW(chart.reset());
  }
}

// A program may delete a chart object or a translation entry with a plain delete: the owner must
// neither free it again nor keep it anywhere, and the chart paints and goes cleanly after it.
TEST(Paint, PlainDeleteOfAnObjectOfAnyKindOrATranslationEntry) {
  struct Case {
    const char* what;
    std::function<TiPlotPersistent*(TiPlotComponent&)> pick;
    std::function<int(TiPlotComponent&)> count;
  };
  const Case cases[] = {
      {"x axis", [](TiPlotComponent& c) { return c.XAxis(0); }, [](TiPlotComponent& c) { return c.XAxisCount(); }},
      {"y axis", [](TiPlotComponent& c) { return c.YAxis(1); }, [](TiPlotComponent& c) { return c.YAxisCount(); }},
      {"channel", [](TiPlotComponent& c) { return c.Channel(0); }, [](TiPlotComponent& c) { return c.ChannelCount(); }},
      {"data view", [](TiPlotComponent& c) { return c.DataView(0); }, [](TiPlotComponent& c) { return c.DataViewCount(); }},
      {"legend", [](TiPlotComponent& c) { return c.Legend(0); }, [](TiPlotComponent& c) { return c.LegendCount(); }},
      {"toolbar", [](TiPlotComponent& c) { return c.ToolBar(0); }, [](TiPlotComponent& c) { return c.ToolBarCount(); }},
      {"label", [](TiPlotComponent& c) { return c.Labels(0); }, [](TiPlotComponent& c) { return c.LabelCount(); }},
      {"data cursor", [](TiPlotComponent& c) { return c.DataCursor(0); }, [](TiPlotComponent& c) { return c.DataCursorCount(); }},
      {"limit", [](TiPlotComponent& c) { return c.Limit(0); }, [](TiPlotComponent& c) { return c.LimitCount(); }},
      {"annotation", [](TiPlotComponent& c) { return c.Annotation(0); }, [](TiPlotComponent& c) { return c.AnnotationCount(); }},
      {"table", [](TiPlotComponent& c) { return c.Table(0); }, [](TiPlotComponent& c) { return c.TableCount(); }},
      {"translation entry", [](TiPlotComponent& c) { return c.TranslationManager()->Items(0); },
       [](TiPlotComponent& c) { return c.TranslationManager()->Count(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto chart = std::make_unique<TiPlotComponent>();
    FillChart(*chart);
    TiPlotTranslationObject::Create(chart->Master()->Handlers().OnRemove, chart->Master()->Handlers().OnInsert);
    int removeEvents = 0;
    chart->OnRemoveXAxis = chart->OnRemoveYAxis = chart->OnRemoveChannel = chart->OnRemoveDataView =
        chart->OnRemoveLegend = chart->OnRemoveDataCursor = chart->OnRemoveLimit = chart->OnRemoveAnnotation =
            chart->OnRemoveTable = [&](int) { ++removeEvents; };
    chart->PaintToImage();
    const int before = c.count(*chart);
    const int all = chart->Master()->AllObjects()->Count();
    TiPlotPersistent* victim = c.pick(*chart);
    delete victim;
    EXPECT_EQ(c.count(*chart), before - 1);
    EXPECT_EQ(chart->Master()->AllObjects()->IndexOf(victim), -1);
    EXPECT_EQ(chart->LayoutManager()->IndexOf(victim), -1);
    const TiPlotLayoutManager& layout = *chart->LayoutManager();
    for (const TiPlotSideList* side : {&layout.TopObjects(), &layout.BottomObjects(), &layout.LeftObjects(), &layout.RightObjects()})
      for (const TiPlotSideList::TEntry& e : side->Entries())
        EXPECT_NE(static_cast<const TiPlotPersistent*>(e.Object), victim) << "still in a side list";
    const bool isEntry = std::string(c.what) == "translation entry";
    EXPECT_EQ(chart->Master()->AllObjects()->Count(), isEntry ? all : all - 1);
    EXPECT_EQ(removeEvents, 0) << "handlers never see a half-destroyed object";
    const QImage image = chart->PaintToImage();
    EXPECT_EQ(image.width(), chart->Width());
    EXPECT_NO_THROW(chart.reset());
  }
}

// A collection or the translation table deleted plainly leaves its slot empty and is not freed
// again; the chart goes on without it.
TEST(Component, PlainDeleteOfACollectionOrTheTranslationTable) {
  const std::function<TiPlotPersistent*(TiPlotComponent&)> picks[] = {
      [](TiPlotComponent& c) { return c.Master()->XAxisManager(); },
      [](TiPlotComponent& c) { return c.Master()->ChannelManager(); },
      [](TiPlotComponent& c) { return c.TranslationManager(); },
  };
  int index = 0;
  for (const auto& pick : picks) {
    SCOPED_TRACE(index++);
    auto chart = std::make_unique<TiPlotComponent>();
    FillChart(*chart);
    TiPlotTranslationObject::Create(chart->Master()->Handlers().OnRemove, chart->Master()->Handlers().OnInsert);
    delete pick(*chart);
    EXPECT_EQ(pick(*chart), nullptr);
    chart->PaintToImage();
    chart->AddXAxis();
    chart->AddChannel();
    EXPECT_NO_THROW(chart.reset());
  }
}

}  // namespace
