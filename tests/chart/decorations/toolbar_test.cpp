// The chart toolbar: its strip of buttons and separators, its commands and their events, the
// enabled states, hints, drawing and glyphs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <cmath>
#include <set>

#include "chart/core/rUdudTranslation.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/decorations/rUdudToolBarGlyphs.h"
#include "chart/editor/iPlotEditor.h"
#include "platform/Dialogs.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

// A chart with a toolbar, a legend, a data view, two X and one Y axes, and a log of the
// toolbar events ("before 6", "after 6").
struct TToolBarChart {
  TiPlotComponent chart;
  TiPlotToolBar* toolBar = nullptr;
  QStringList events;
  int cancelButton = -1;   // the before-event of this button cancels

  TToolBarChart() {
    chart.resize(600, 300);
    toolBar = chart.ToolBar(chart.AddToolBar());
    toolBar->SetZOrder(3);
    chart.AddLegend();
    chart.AddXAxis();
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddDataView();
    chart.OnBeforeToolBarButtonClick = [this](int index, TiPlotToolBarButtonType type, bool& cancel) {
      events << QStringLiteral("before %1 of %2").arg(type).arg(index);
      if (type == cancelButton) cancel = true;
    };
    chart.OnToolBarButtonClick = [this](int index, TiPlotToolBarButtonType type) {
      events << QStringLiteral("after %1 of %2").arg(type).arg(index);
    };
  }
  std::vector<TiPlotAxis*> Axes() { return {chart.XAxis(0), chart.XAxis(1), chart.YAxis(0)}; }
  TBitmap Paint() {
    TBitmap bitmap(chart.Width(), chart.Height());
    chart.DoPaint(*bitmap.Canvas());
    return bitmap;
  }
};

// The strip laid out in a known rectangle: each visible place as "name left..right" where
// separators are "|".
QStringList Places(TiPlotToolBar& toolBar) {
  toolBar.LayoutButtons();
  QStringList places;
  for (const TiPlotToolBarButton* b : toolBar.Strip()) {
    if (!b->Visible()) continue;
    const TRect r = b->GetButtonRect();
    places << QStringLiteral("%1 %2..%3").arg(b->IsSeparator() ? QStringLiteral("|") : QString::number(b->ButtonType())).arg(r.Left).arg(r.Right);
  }
  return places;
}

TEST(ToolBarStrip, DefaultButtonsSeparatorsAndSizes) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  EXPECT_TRUE(t.Horizontal());
  t.SetLayoutRect(Rect(2, 2, 597, 38));
  // From x = 2 + 3, 30 pixels per button and 10 per separator; Select (4) and Preview (13) hidden.
  EXPECT_EQ(Places(t), (QStringList{"0 5..35", "1 35..65", "| 65..75", "2 75..105", "3 105..135", "| 135..145", "6 145..175",
                                    "7 175..205", "| 205..215", "5 215..245", "8 245..275", "| 275..285", "9 285..315",
                                    "| 315..325", "10 325..355", "11 355..385", "12 385..415"}));
  // Every button is 30 high at y = 2 + 3.
  EXPECT_EQ(t.Button(iptbbtZoomIn)->GetButtonRect(), Rect(175, 5, 205, 35));
  EXPECT_EQ(t.RequiredSize(nullptr), 36);
  EXPECT_EQ(t.RequiredEndMargin(nullptr), 0);

  t.SetSmallButtons(true);
  EXPECT_EQ(t.RequiredSize(nullptr), 28);
  EXPECT_EQ(t.Button(iptbbtPause)->GlyphName(), QStringLiteral("SMALLPAUSE"));
  t.LayoutButtons();
  EXPECT_EQ(t.Button(iptbbtResume)->GetButtonRect(), Rect(5, 5, 27, 27));
  EXPECT_EQ(t.Button(iptbbtPause)->GetButtonRect(), Rect(27, 5, 49, 27));
  EXPECT_EQ(t.Button(iptbbtScroll)->GetButtonRect(), Rect(59, 5, 81, 27));
}

TEST(ToolBarStrip, SeparatorsShowOnlyAfterAVisibleGroup) {
  struct Case {
    const char* what;
    std::function<void(TiPlotToolBar&)> set;
    QStringList places;
  };
  for (const Case& k : std::initializer_list<Case>{
           {"no tracking and no zoom buttons",
            [](TiPlotToolBar& t) {
              t.SetShowResumeButton(false);
              t.SetShowPauseButton(false);
              t.SetShowZoomInOutButtons(false);
            },
            {"2 5..35", "3 35..65", "| 65..75", "5 75..105", "8 105..135", "| 135..145", "9 145..175", "| 175..185",
             "10 185..215", "11 215..245", "12 245..275"}},
           {"only Select of its group, and Preview",
            [](TiPlotToolBar& t) {
              t.SetShowZoomBoxButton(false);
              t.SetShowCursorButton(false);
              t.SetShowSelectButton(true);
              t.SetShowPreviewButton(true);
              t.SetShowEditButton(false);
              t.SetShowAxesModeButtons(false);
            },
            {"0 5..35", "1 35..65", "| 65..75", "6 75..105", "7 105..135", "| 135..145", "4 145..175", "| 175..185",
             "10 185..215", "11 215..245", "12 245..275", "13 275..305"}},
           {"only the output buttons",
            [](TiPlotToolBar& t) {
              t.SetShowResumeButton(false);
              t.SetShowPauseButton(false);
              t.SetShowAxesModeButtons(false);
              t.SetShowZoomInOutButtons(false);
              t.SetShowZoomBoxButton(false);
              t.SetShowCursorButton(false);
              t.SetShowEditButton(false);
            },
            {"10 5..35", "11 35..65", "12 65..95"}},
       }) {
    SCOPED_TRACE(k.what);
    TToolBarChart c;
    c.toolBar->SetLayoutRect(Rect(2, 2, 597, 38));
    k.set(*c.toolBar);
    EXPECT_EQ(Places(*c.toolBar), k.places);
  }
}

TEST(ToolBarStrip, ShowPropertiesReadAndWriteTheButtons) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  EXPECT_FALSE(t.ShowSelectButton());
  EXPECT_FALSE(t.ShowPreviewButton());
  t.SetShowZoomInOutButtons(false);
  EXPECT_FALSE(t.Button(iptbbtZoomIn)->Visible());
  EXPECT_FALSE(t.Button(iptbbtZoomOut)->Visible());
  t.Button(iptbbtCopy)->SetVisible(false);
  EXPECT_FALSE(t.ShowCopyButton());
  EXPECT_THROW(t.Button(14), EiError);
  EXPECT_THROW(t.Button(-1), EiError);
}

TEST(ToolBarStrip, AVerticalToolBarStacksItsButtonsDownward) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  t.SetHorizontal(false);
  t.SetLayoutRect(Rect(550, 20, 586, 280));
  t.LayoutButtons();
  EXPECT_EQ(t.Button(iptbbtResume)->GetButtonRect(), Rect(553, 23, 583, 53));
  EXPECT_EQ(t.Button(iptbbtScroll)->GetButtonRect(), Rect(553, 93, 583, 123));
  // Placed by the layout pass beside the data view, it spans the view's height.
  c.Paint();
  const TRect view = c.chart.DataView(0)->GetLayoutRect();
  EXPECT_EQ(t.GetLayoutRect().Top, view.Top);
  EXPECT_EQ(t.GetLayoutRect().Bottom, view.Bottom);
}

TEST(ToolBarStrip, GetObjectAtFindsVisibleButtonsOnly) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  t.SetLayoutRect(Rect(2, 2, 597, 38));
  t.LayoutButtons();
  EXPECT_EQ(t.GetObjectAt(5, 5), t.Button(iptbbtResume));
  EXPECT_EQ(t.GetObjectAt(34, 34), t.Button(iptbbtResume));
  EXPECT_EQ(t.GetObjectAt(35, 20), t.Button(iptbbtPause));
  EXPECT_EQ(t.GetObjectAt(70, 20), &t);    // a separator
  EXPECT_EQ(t.GetObjectAt(500, 20), &t);   // after the last button
  EXPECT_EQ(t.GetObjectAt(20, 36), &t);    // below the buttons
  t.SetShowResumeButton(false);
  t.LayoutButtons();
  EXPECT_EQ(t.GetObjectAt(20, 20), t.Button(iptbbtPause));
}

// --- Commands ---

TEST(ToolBarCommands, ScrollAndZoomSwitchEveryAxisAndKeepOneButtonDown) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  EXPECT_TRUE(t.Button(iptbbtScroll)->Down());
  EXPECT_FALSE(t.Button(iptbbtZoom)->Down());
  t.ClickButton(iptbbtZoom);
  EXPECT_TRUE(t.Button(iptbbtZoom)->Down());
  EXPECT_FALSE(t.Button(iptbbtScroll)->Down());
  for (TiPlotAxis* a : c.Axes()) EXPECT_EQ(a->ControlMode(), TiPlotAxis::ipcmZoom);
  t.ClickButton(iptbbtZoom);   // a second click keeps it down
  EXPECT_TRUE(t.Button(iptbbtZoom)->Down());
  t.ClickButton(iptbbtScroll);
  EXPECT_TRUE(t.Button(iptbbtScroll)->Down());
  EXPECT_FALSE(t.Button(iptbbtZoom)->Down());
  for (TiPlotAxis* a : c.Axes()) EXPECT_EQ(a->ControlMode(), TiPlotAxis::ipcmScroll);
  EXPECT_EQ(c.events, (QStringList{"before 3 of 0", "after 3 of 0", "before 3 of 0", "after 3 of 0", "before 2 of 0",
                                   "after 2 of 0"}));
}

TEST(ToolBarCommands, PauseAndResumeSwitchTrackingOfEveryAxis) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  c.chart.XAxis(1)->SetFocused(true);
  t.ClickButton(iptbbtPause);
  for (TiPlotAxis* a : c.Axes()) EXPECT_FALSE(a->TrackingEnabled());
  t.ClickButton(iptbbtResume);
  for (TiPlotAxis* a : c.Axes()) EXPECT_TRUE(a->TrackingEnabled());
  EXPECT_FALSE(c.chart.XAxis(1)->HasFocus());
}

TEST(ToolBarCommands, ZoomInHalvesALinearSpanAboutItsMiddleAndTakesADecadeOffALogAxis) {
  TToolBarChart c;
  TiPlotAxis* linear = c.chart.XAxis(0);
  linear->SetMinSpan(0, 100);
  TiPlotAxis* log = c.chart.YAxis(0);
  log->SetScaleType(ipstLog10);
  log->SetMinSpan(1, 999);
  c.toolBar->ClickButton(iptbbtZoomIn);
  EXPECT_DOUBLE_EQ(linear->Min(), 25);
  EXPECT_DOUBLE_EQ(linear->Span(), 50);
  // One decade in: Min times 10, Span divided by 10.
  EXPECT_NEAR(log->Min(), 10, 1e-9);
  EXPECT_NEAR(log->Span(), 99.9, 1e-9);
  c.toolBar->ClickButton(iptbbtZoomOut);
  EXPECT_DOUBLE_EQ(linear->Min(), 0);
  EXPECT_DOUBLE_EQ(linear->Span(), 100);
  EXPECT_NEAR(log->Min(), 1, 1e-9);
  EXPECT_NEAR(log->Span(), 999, 1e-9);
}

TEST(ToolBarCommands, ZoomOutRunsPauseWithItsOwnEventsFirst) {
  TToolBarChart c;
  c.chart.XAxis(0)->SetMinSpan(0, 100);
  std::vector<bool> trackingAtZoom;
  c.chart.OnXAxisSpanChange = [&](int, double, double) { trackingAtZoom.push_back(c.chart.XAxis(0)->TrackingEnabled()); };
  c.toolBar->ClickButton(iptbbtZoomOut);
  EXPECT_EQ(c.events, (QStringList{"before 6 of 0", "before 1 of 0", "after 1 of 0", "after 6 of 0"}));
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Span(), 200);
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Min(), -50);
  ASSERT_FALSE(trackingAtZoom.empty());
  EXPECT_FALSE(trackingAtZoom.front());
}

TEST(ToolBarCommands, ACancelledCommandChangesNothingAndRaisesNoAfterEvent) {
  struct Case {
    TiPlotToolBarButtonType button;
    const char* what;
  };
  for (const Case& k : {Case{iptbbtZoomIn, "zoom in"}, Case{iptbbtZoom, "zoom mode"}, Case{iptbbtPause, "pause"},
                        Case{iptbbtCursor, "cursor"}, Case{iptbbtSelect, "select"}}) {
    SCOPED_TRACE(k.what);
    TToolBarChart c;
    c.chart.AddDataCursor();
    c.chart.DataCursor(0)->SetVisible(false);
    for (TiPlotAxis* a : c.Axes()) a->SetMinSpan(0, 100);
    c.cancelButton = k.button;
    c.toolBar->ClickButton(k.button);
    EXPECT_EQ(c.events, QStringList{QStringLiteral("before %1 of 0").arg(k.button)});
    for (TiPlotAxis* a : c.Axes()) {
      EXPECT_EQ(a->Min(), 0);
      EXPECT_EQ(a->Span(), 100);
      EXPECT_TRUE(a->TrackingEnabled());
      EXPECT_EQ(a->ControlMode(), TiPlotAxis::ipcmScroll);
    }
    EXPECT_TRUE(c.toolBar->Button(iptbbtScroll)->Down());
    EXPECT_FALSE(c.toolBar->Button(iptbbtZoom)->Down());
    EXPECT_FALSE(c.toolBar->Button(iptbbtCursor)->Down());
    EXPECT_FALSE(c.toolBar->SelectButtonDown());
    EXPECT_FALSE(c.chart.DataCursor(0)->Visible());
  }
}

TEST(ToolBarCommands, ACancelledPauseStillLetsZoomOutZoom) {
  TToolBarChart c;
  c.chart.XAxis(0)->SetMinSpan(0, 100);
  c.cancelButton = iptbbtPause;
  c.toolBar->ClickButton(iptbbtZoomOut);
  EXPECT_EQ(c.events, (QStringList{"before 6 of 0", "before 1 of 0", "after 6 of 0"}));
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Span(), 200);
}

TEST(ToolBarCommands, AHandlerThatRemovesTheToolbarEndsTheClick) {
  // Removed by the after-event of the Pause that Zoom Out runs first, from a real click.
  TToolBarChart c;
  c.chart.XAxis(0)->SetMinSpan(0, 100);
  c.Paint();
  const TRect out = c.toolBar->Button(iptbbtZoomOut)->GetButtonRect();
  c.chart.OnToolBarButtonClick = [&](int, TiPlotToolBarButtonType type) {
    c.events << QStringLiteral("after %1").arg(type);
    if (type == iptbbtPause) c.chart.DeleteToolBar(0);
  };
  c.chart.DoMouseDown(mbLeft, ssLeft, out.Left + 5, out.Top + 5);
  c.chart.DoMouseUp(mbLeft, 0, out.Left + 5, out.Top + 5);
  EXPECT_EQ(c.chart.ToolBarCount(), 0);
  EXPECT_EQ(c.events, (QStringList{"before 6 of 0", "before 1 of 0", "after 1"}));
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Span(), 100);
  // And from the before-event of a command.
  TToolBarChart d;
  d.chart.OnBeforeToolBarButtonClick = [&](int, TiPlotToolBarButtonType, bool&) { d.chart.DeleteToolBar(0); };
  d.toolBar->ClickButton(iptbbtZoom);
  EXPECT_EQ(d.chart.ToolBarCount(), 0);
  EXPECT_EQ(d.chart.XAxis(0)->ControlMode(), TiPlotAxis::ipcmScroll);
}

TEST(ToolBarCommands, ZoomInOutFactorStaysWithinOneAndItsMaximum) {
  struct Case {
    double value, stored;
  };
  for (const Case& k : {Case{0.5, 1.0}, Case{-3, 1.0}, Case{NAN, 1.0}, Case{-INFINITY, 1.0}, Case{INFINITY, 1000.0},
                        Case{1e9, 1000.0}, Case{3.0, 3.0}, Case{1.0, 1.0}}) {
    SCOPED_TRACE(k.value);
    TToolBarChart c;
    c.toolBar->SetZoomInOutFactor(k.value);
    EXPECT_EQ(c.toolBar->ZoomInOutFactor(), k.stored);
  }
  // A factor of 1 zooms nothing.
  TToolBarChart c;
  c.chart.XAxis(0)->SetMinSpan(0, 100);
  c.toolBar->SetZoomInOutFactor(0.5);
  c.toolBar->ClickButton(iptbbtZoomIn);
  c.toolBar->ClickButton(iptbbtZoomOut);
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Min(), 0);
  EXPECT_DOUBLE_EQ(c.chart.XAxis(0)->Span(), 100);
}

TEST(ToolBarCommands, CursorShowsTheCursorsPausesAndFocusesTheFirst) {
  TToolBarChart c;
  c.chart.AddDataCursor();
  c.chart.AddDataCursor();
  for (int i = 0; i < 2; ++i) c.chart.DataCursor(i)->SetVisible(false);
  c.toolBar->ClickButton(iptbbtCursor);
  EXPECT_TRUE(c.toolBar->Button(iptbbtCursor)->Down());
  EXPECT_TRUE(c.chart.DataCursor(0)->Visible());
  EXPECT_TRUE(c.chart.DataCursor(1)->Visible());
  EXPECT_TRUE(c.chart.DataCursor(0)->HasFocus());
  EXPECT_FALSE(c.chart.DataCursor(1)->HasFocus());
  for (TiPlotAxis* a : c.Axes()) EXPECT_FALSE(a->TrackingEnabled());
  c.toolBar->ClickButton(iptbbtCursor);
  EXPECT_FALSE(c.toolBar->Button(iptbbtCursor)->Down());
  EXPECT_FALSE(c.chart.DataCursor(0)->Visible());
  EXPECT_FALSE(c.chart.DataCursor(1)->Visible());
}

TEST(ToolBarCommands, SelectAndZoomBoxExcludeEachOtherAndSelectIsTheChartsSelectMode) {
  TToolBarChart c;
  TiPlotToolBar& t = *c.toolBar;
  t.ClickButton(iptbbtSelect);
  EXPECT_TRUE(t.SelectButtonDown());
  EXPECT_TRUE(c.chart.SelectMode());
  for (TiPlotAxis* a : c.Axes()) EXPECT_FALSE(a->TrackingEnabled());
  t.ClickButton(iptbbtZoomBox);
  EXPECT_TRUE(t.ZoomBoxButtonDown());
  EXPECT_FALSE(t.SelectButtonDown());
  EXPECT_FALSE(c.chart.SelectMode());
  t.ClickButton(iptbbtSelect);
  EXPECT_TRUE(t.SelectButtonDown());
  EXPECT_FALSE(t.ZoomBoxButtonDown());
  t.ClickButton(iptbbtSelect);
  EXPECT_FALSE(t.SelectButtonDown());
  // The chart's select mode runs the Select command.
  c.chart.SetSelectMode(true);
  EXPECT_TRUE(t.SelectButtonDown());
  t.ClickButton(iptbbtZoomBox);
  t.ClickButton(iptbbtZoomBox);
  EXPECT_FALSE(t.ZoomBoxButtonDown());
}

TEST(ToolBarCommands, ResumeLeavesCursorAndSelectModes) {
  TToolBarChart c;
  c.chart.AddDataCursor();
  TiPlotToolBar& t = *c.toolBar;
  t.ClickButton(iptbbtCursor);
  t.ClickButton(iptbbtSelect);
  ASSERT_TRUE(c.chart.DataCursor(0)->Visible());
  t.ClickButton(iptbbtResume);
  EXPECT_FALSE(t.Button(iptbbtCursor)->Down());
  EXPECT_FALSE(t.SelectButtonDown());
  EXPECT_FALSE(c.chart.DataCursor(0)->Visible());
  EXPECT_FALSE(c.chart.DataCursor(0)->HasFocus());
  for (TiPlotAxis* a : c.Axes()) EXPECT_TRUE(a->TrackingEnabled());
}

TEST(ToolBarCommands, AFailedPrintShowsItsMessageAndRaisesNoAfterEvent) {
  TDialogRecorder dialogs;
  TToolBarChart c;
  c.chart.SetPrintShowDialog(false);
  c.chart.resize(600, 0);
  c.toolBar->ClickButton(iptbbtPrint);
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Error Printing : The chart has no area to draw")});
  EXPECT_EQ(c.events, QStringList{"before 12 of 0"});
}

TEST(ToolBarCommands, CopyPutsTheChartOnTheClipboardAndReportsTheClick) {
  TDialogRecorder dialogs;
  TToolBarChart c;
  c.chart.SetCopyToClipBoardFormat(ipefBitmap);
  c.toolBar->ClickButton(iptbbtCopy);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(600, 300));
  EXPECT_EQ(c.events, (QStringList{"before 10 of 0", "after 10 of 0"}));
}

TEST(ToolBarCommands, SaveAsksForAFileAndACancelledDialogIsNoFailure) {
  TDialogRecorder dialogs;   // answers the save dialog with no name: cancelled
  TToolBarChart c;
  c.toolBar->ClickButton(iptbbtSave);
  EXPECT_EQ(dialogs.SaveRequests.size(), 1u);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(c.events, (QStringList{"before 11 of 0", "after 11 of 0"}));
}

TEST(ToolBarCommands, EditOpensThePropertyEditorAndRaisesOnlyTheBeforeEvent) {
  TToolBarChart c;
  c.chart.SetEditorFormStyle(ipfsStayOnTop);   // a modal one would wait for the user
  c.toolBar->ClickButton(iptbbtEdit);
  auto* form = c.chart.findChild<TiPlotEditorForm*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  form->close();
  EXPECT_EQ(c.events, QStringList{"before 9 of 0"});
}

// --- Enabled states, hints, the mouse ---

TEST(ToolBarStates, ResumeAndPauseFollowTheAxesAtEveryDraw) {
  struct Case {
    const char* what;
    std::vector<bool> tracking;   // X 0, X 1, Y 0
    bool resume, pause;
  };
  for (const Case& k : {Case{"all tracking", {true, true, true}, false, true},
                        Case{"all paused", {false, false, false}, true, false},
                        Case{"one paused", {true, false, true}, true, true}}) {
    SCOPED_TRACE(k.what);
    TToolBarChart c;
    const auto axes = c.Axes();
    for (size_t i = 0; i < axes.size(); ++i) axes[i]->SetTrackingEnabled(k.tracking[i]);
    c.Paint();
    EXPECT_EQ(c.toolBar->Button(iptbbtResume)->Enabled(), k.resume);
    EXPECT_EQ(c.toolBar->Button(iptbbtPause)->Enabled(), k.pause);
  }
  // Without axes there is nothing to resume or pause.
  TPaintableChart bare;
  bare.chart.ToolBar(0)->SetVisible(true);
  bare.Paint();
  EXPECT_FALSE(bare.chart.ToolBar(0)->Button(iptbbtResume)->Enabled());
  EXPECT_FALSE(bare.chart.ToolBar(0)->Button(iptbbtPause)->Enabled());
}

TEST(ToolBarInput, AClickOnAButtonRunsItsCommandAndADisabledOneDoesNothing) {
  TToolBarChart c;
  c.Paint();
  const TRect zoom = c.toolBar->Button(iptbbtZoom)->GetButtonRect();
  c.chart.DoMouseDown(mbLeft, ssLeft, zoom.Left + 5, zoom.Top + 5);
  EXPECT_TRUE(c.toolBar->Button(iptbbtZoom)->Pressed());
  EXPECT_FALSE(c.toolBar->Button(iptbbtZoom)->Down());
  c.chart.DoMouseUp(mbLeft, 0, zoom.Left + 5, zoom.Top + 5);
  EXPECT_TRUE(c.toolBar->Button(iptbbtZoom)->Down());
  EXPECT_EQ(c.chart.XAxis(0)->ControlMode(), TiPlotAxis::ipcmZoom);
  // A release outside the button is no click.
  const TRect pause = c.toolBar->Button(iptbbtPause)->GetButtonRect();
  c.chart.DoMouseDown(mbLeft, ssLeft, pause.Left + 5, pause.Top + 5);
  c.chart.DoMouseUp(mbLeft, 0, pause.Left + 5, pause.Bottom + 5);
  EXPECT_TRUE(c.chart.XAxis(0)->TrackingEnabled());
  // Resume is disabled while everything tracks.
  const TRect resume = c.toolBar->Button(iptbbtResume)->GetButtonRect();
  c.events.clear();
  c.chart.DoMouseDown(mbLeft, ssLeft, resume.Left + 5, resume.Top + 5);
  c.chart.DoMouseUp(mbLeft, 0, resume.Left + 5, resume.Top + 5);
  EXPECT_TRUE(c.events.isEmpty());
}

TEST(ToolBarInput, AButtonsHintIsTranslatedPlacedBelowItAndCustomised) {
  TToolBarChart c;
  const TiPlotHandlers& handlers = c.chart.Master()->Handlers();
  TiPlotTranslationObject* entry = TiPlotTranslationObject::Create(handlers.OnRemove, handlers.OnInsert);
  ASSERT_NE(entry, nullptr);
  entry->SetOriginalString(QStringLiteral("Zoom In All Axes"));
  entry->SetReplacementString(QStringLiteral("Hineinzoomen"));
  int customisedIndex = -1;
  c.chart.OnToolBarCustomizeHint = [&](int index, QString& text) {
    customisedIndex = index;
    text += QStringLiteral("!");
  };
  c.Paint();
  const TRect r = c.toolBar->Button(iptbbtZoomIn)->GetButtonRect();
  c.chart.DoMouseMove(0, r.Left + 4, r.Top + 4);
  EXPECT_EQ(c.chart.HintText(), QStringLiteral("Hineinzoomen!"));
  EXPECT_EQ(c.chart.HintPosition().X, r.Left);
  EXPECT_EQ(c.chart.HintPosition().Y, r.Bottom + 3);
  EXPECT_EQ(customisedIndex, 0);
  EXPECT_TRUE(c.toolBar->Button(iptbbtZoomIn)->Hover());
  c.chart.DoMouseMove(0, 300, 150);
  EXPECT_FALSE(c.toolBar->Button(iptbbtZoomIn)->Hover());
}

// --- Drawing ---

TEST(ToolBarDrawing, FaceFramesDownButtonsAndGreyedGlyphs) {
  TToolBarChart c;
  TBitmap bitmap = c.Paint();
  TCanvas& canvas = *bitmap.Canvas();
  const TRect bar = c.toolBar->GetLayoutRect();
  EXPECT_EQ(bar.Top, 2);   // pinned to the top edge inside the bevel
  EXPECT_EQ(canvas.Pixel(bar.Left + 2, bar.Top + 2), ColorToRGB(clBtnFace));
  // Scroll is down: a lowered frame (shadow at its top left) around the light face.
  const TRect scroll = c.toolBar->Button(iptbbtScroll)->GetButtonRect();
  EXPECT_EQ(canvas.Pixel(scroll.Left + 3, scroll.Top + 3), RGB(239, 239, 239));
  EXPECT_EQ(canvas.Pixel(scroll.Left, scroll.Top + 10), ColorToRGB(clBtnShadow));
  // Zoom is up: a raised frame (highlight inside its top left), the face of the toolbar inside.
  const TRect zoom = c.toolBar->Button(iptbbtZoom)->GetButtonRect();
  EXPECT_EQ(canvas.Pixel(zoom.Left + 1, zoom.Top + 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(canvas.Pixel(zoom.Left + 3, zoom.Top + 3), ColorToRGB(clBtnFace));
  // Pause is enabled: its navy bars show; Resume is disabled: its green triangle is grey.
  const TRect pause = c.toolBar->Button(iptbbtPause)->GetButtonRect();
  EXPECT_GT(BoxOf(bitmap, clNavy, pause).Right, 0);
  const TRect resume = c.toolBar->Button(iptbbtResume)->GetButtonRect();
  EXPECT_EQ(BoxOf(bitmap, clGreen, resume).Right, 0);
  c.chart.XAxis(0)->SetTrackingEnabled(false);
  TBitmap after = c.Paint();
  EXPECT_GT(BoxOf(after, clGreen, resume).Right, 0);
}

TEST(ToolBarDrawing, TheGlyphIsCentredAndMovesWhenDown) {
  TToolBarChart c;
  TBitmap up = c.Paint();
  // The Zoom Box glyph is a dotted black frame from grid (3, 5) to (20, 18) of its 24 pixels,
  // drawn at (3, 3) inside the 30-pixel button.
  const TRect box = c.toolBar->Button(iptbbtZoomBox)->GetButtonRect();
  const TRect glyph = BoxOf(up, clBlack, Rect(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2));
  EXPECT_EQ(glyph, Rect(box.Left + 3 + 3, box.Top + 3 + 5, box.Left + 3 + 21, box.Top + 3 + 19));
  c.toolBar->ClickButton(iptbbtZoomBox);
  TBitmap down = c.Paint();
  const TRect moved = BoxOf(down, clBlack, Rect(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2));
  EXPECT_EQ(moved, Rect(glyph.Left + 1, glyph.Top + 1, glyph.Right + 1, glyph.Bottom + 1));
}

TEST(ToolBarDrawing, FlatButtonsShowAFrameOnlyUnderTheMouseAndFlatBorderDropsTheBevel) {
  TToolBarChart c;
  c.toolBar->SetFlatButtons(true);
  c.toolBar->SetFlatBorder(true);
  TBitmap still = c.Paint();
  const TRect zoom = c.toolBar->Button(iptbbtZoom)->GetButtonRect();
  const TRect bar = c.toolBar->GetLayoutRect();
  EXPECT_EQ(still.Canvas()->Pixel(zoom.Left, zoom.Top + 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(still.Canvas()->Pixel(bar.Left, bar.Top + 10), ColorToRGB(clBtnFace));
  c.chart.DoMouseMove(0, zoom.Left + 4, zoom.Top + 4);
  TBitmap hovered = c.Paint();
  // Raised outline within the button less its last column and row.
  EXPECT_EQ(hovered.Canvas()->Pixel(zoom.Left, zoom.Top + 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(hovered.Canvas()->Pixel(zoom.Right - 2, zoom.Top + 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(hovered.Canvas()->Pixel(zoom.Right - 1, zoom.Top + 10), ColorToRGB(clBtnFace));
  // Scroll is down and not under the mouse: the light face with a sunken outline.
  const TRect scroll = c.toolBar->Button(iptbbtScroll)->GetButtonRect();
  EXPECT_EQ(hovered.Canvas()->Pixel(scroll.Left + 3, scroll.Top + 3), RGB(239, 239, 239));
  EXPECT_EQ(hovered.Canvas()->Pixel(scroll.Left, scroll.Top + 10), ColorToRGB(clBtnShadow));
}

TEST(ToolBarDrawing, SmallButtonsReloadTheSmallGlyphs) {
  TToolBarChart c;
  c.Paint();
  EXPECT_EQ(c.toolBar->Glyphs().Width(), 24);
  EXPECT_EQ(c.toolBar->Glyphs().Count(), 14);
  c.toolBar->SetSmallButtons(true);
  EXPECT_EQ(c.toolBar->Glyphs().Count(), 0);
  c.Paint();
  EXPECT_EQ(c.toolBar->Glyphs().Width(), 16);
  EXPECT_EQ(c.toolBar->Glyphs().Count(), 14);
  EXPECT_EQ(c.toolBar->GetLayoutRect().Bottom - c.toolBar->GetLayoutRect().Top, 28);
}

TEST(ToolBarGlyphs, EveryPictureUsesTheBasicColoursOnTeal) {
  const std::set<QRgb> palette{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                               0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  const QStringList names = ToolBarGlyphNames();
  EXPECT_EQ(names.size(), 14);
  for (const QString& large : names) {
    for (const QString& name : {large, QStringLiteral("SMALL") + large}) {
      SCOPED_TRACE(name.toStdString());
      const QImage image = ToolBarGlyph(name);
      const int size = name.startsWith(QStringLiteral("SMALL")) ? 16 : 24;
      ASSERT_EQ(image.size(), QSize(size, size));
      EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x008080u);
      int drawn = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const QRgb p = image.pixel(x, y) & 0xFFFFFF;
          EXPECT_TRUE(palette.count(p)) << x << "," << y;
          drawn += p != 0x008080u;
        }
      EXPECT_GT(drawn, size);   // a picture, not an empty square
    }
  }
  EXPECT_EQ(ToolBarGlyph(QStringLiteral("NOSUCH")).pixel(12, 12) & 0xFFFFFF, 0x008080u);
}

}  // namespace
