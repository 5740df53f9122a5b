// The main window's chart: exactly its set of objects with their settings, whatever the chart
// held before it was configured.
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/ChartSetup.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/core/rUdudLayoutManager.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudLegend.h"
#include "chart/decorations/rUdudToolBar.h"
#include "platform/Dialogs.h"

namespace {
void ExpectFont(const TFont& font, const char* face, int height, TColor color, bool bold) {
  EXPECT_EQ(font.Name, QString::fromLatin1(face));
  EXPECT_EQ(font.Height, height);
  EXPECT_EQ(font.Color, color);
  EXPECT_EQ(font.Style, bold ? FontStyleBit(fsBold) : TFontStyles(0));
}

// The whole listed set, checked on any configured chart.
void ExpectListedSet(TiXYPlot& chart) {
  EXPECT_EQ(chart.ToolBarCount(), 1);
  EXPECT_EQ(chart.LegendCount(), 1);
  EXPECT_EQ(chart.TableCount(), 0);
  EXPECT_EQ(chart.XAxisCount(), 1);
  EXPECT_EQ(chart.YAxisCount(), 1);
  EXPECT_EQ(chart.ChannelCount(), 8);
  EXPECT_EQ(chart.DataViewCount(), 1);
  EXPECT_EQ(chart.DataCursorCount(), 1);
  EXPECT_EQ(chart.LimitCount(), 0);
  EXPECT_EQ(chart.LabelCount(), 1);
  EXPECT_EQ(chart.AnnotationCount(), 0);
  if (chart.ChannelCount() != 8 || chart.LabelCount() != 1) return;

  EXPECT_EQ(chart.ToolBar(0)->Name(), QStringLiteral("Toolbar 1"));
  EXPECT_EQ(chart.Legend(0)->Name(), QStringLiteral("Legend 1"));
  EXPECT_EQ(chart.XAxis(0)->Name(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(chart.YAxis(0)->Name(), QStringLiteral("Y-Axis 1"));
  EXPECT_EQ(chart.DataView(0)->Name(), QStringLiteral("Data View 1"));
  EXPECT_EQ(chart.DataCursor(0)->Name(), QStringLiteral("Cursor 1"));
  EXPECT_EQ(chart.Labels(0)->Name(), QStringLiteral("Title"));
  EXPECT_EQ(chart.TitleText(), QStringLiteral("Lumio Spectrum"));

  // The places: each ZOrder as listed, none shifted by the layout manager.
  struct Place { TiPlotLayoutObject* object; bool horizontal; int zOrder; };
  for (const Place& p : std::initializer_list<Place>{{chart.ToolBar(0), true, 3},
                                                     {chart.Legend(0), false, 2},
                                                     {chart.XAxis(0), true, 0},
                                                     {chart.YAxis(0), false, 0},
                                                     {chart.DataView(0), false, 0},
                                                     {chart.Labels(0), true, 2}}) {
    SCOPED_TRACE(p.object->Name().toStdString());
    EXPECT_EQ(p.object->Horizontal(), p.horizontal);
    EXPECT_EQ(p.object->ZOrder(), p.zOrder);
    EXPECT_EQ(p.object->StopPercent(), 100.0);
  }
  EXPECT_EQ(chart.DataViewZHorz(), 1);
  EXPECT_EQ(chart.DataViewZVert(), 1);

  struct Channel { const char* name; const char* title; TColor color; };
  const Channel channels[8] = {{"Channel 1", "Sample", RGB(255, 0, 0)},
                               {"Channel 2", "Reference", RGB(0, 255, 0)},
                               {"Channel 3", "Channel 3", RGB(0, 128, 255)},
                               {"Channel 4", "Channel 4", RGB(255, 255, 255)},
                               {"Channel 5", "Red Reference", RGB(255, 128, 128)},
                               {"Channel 6", "Green Reference", RGB(0, 128, 0)},
                               {"Channel 7", "Blue Reference", RGB(0, 0, 255)},
                               {"Channel 8", "Reference I Total", RGB(255, 255, 0)}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(channels[i].name);
    TiXYPlotChannel* c = chart.Channel(i);
    EXPECT_EQ(c->Name(), QString::fromLatin1(channels[i].name));
    EXPECT_EQ(c->TitleText(), QString::fromLatin1(channels[i].title));
    EXPECT_EQ(c->Color(), channels[i].color);
    EXPECT_TRUE(c->Visible());
    EXPECT_FALSE(c->VisibleInLegend());
    EXPECT_EQ(c->Count(), 0);
    EXPECT_EQ(c->MarkersTurnOffLimit(), 0);
    ExpectFont(c->MarkersFont()->Font(), "Tahoma", 11, clWhite, true);
    EXPECT_EQ(c->XAxisName(), QStringLiteral("X-Axis 1"));
    EXPECT_EQ(c->YAxisName(), QStringLiteral("Y-Axis 1"));
    EXPECT_EQ(c->XAxis(), chart.XAxis(0));
    EXPECT_EQ(c->YAxis(), chart.YAxis(0));
    EXPECT_EQ(c->DataStyle(), ipdsStandard);
  }
}
}  // namespace

TEST(SpectrumChart, TheMainWindowsChartAfterCreation) {
  TDialogRecorder dialogs;
  TLumioWindows windows = CreateLumioWindows();
  TiXYPlot& chart = *windows.Form1->iXYPlot1;
  ExpectListedSet(chart);
  EXPECT_EQ(chart.XAxis(0)->Title(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(chart.YAxis(0)->Title(), QStringLiteral("Y-Axis 1"));
  EXPECT_FALSE(chart.DataCursor(0)->Visible());
  EXPECT_EQ(chart.DataCursor(0)->ChannelName(), QStringLiteral("Channel 1"));
  EXPECT_TRUE(chart.DataCursor(0)->ChannelShowAllInLegend());
  EXPECT_EQ(chart.ToolBar(0)->ZoomInOutFactor(), 2.0);
  const TiPlotLegend* legend = chart.Legend(0);
  EXPECT_EQ(legend->MarginLeft(), 1.0);
  EXPECT_EQ(legend->MarginBottom(), 1.0);
  EXPECT_EQ(legend->SelectedItemFont()->Color(), TColor(0));
  EXPECT_EQ(legend->CaptionColumnTitle(), QStringLiteral("Title"));
  EXPECT_EQ(legend->CaptionColumnYMean(), QStringLiteral("Y-Mean"));
  EXPECT_EQ(legend->Font()->Name(), QStringLiteral("Tahoma"));
  EXPECT_EQ(legend->Font()->Color(), TColor(0xFFFFFF));
  EXPECT_EQ(legend->ColumnSpacing(), 0.5);
  EXPECT_EQ(legend->RowSpacing(), 0.25);
  EXPECT_EQ(legend->WrapColDesiredCount(), 1);
  EXPECT_FALSE(legend->WrapColAutoCountEnabled());
  EXPECT_EQ(legend->WrapColSpacingMin(), 2.0);
  EXPECT_TRUE(legend->WrapColSpacingAuto());
  EXPECT_EQ(legend->WrapRowDesiredCount(), 5);
  EXPECT_TRUE(legend->WrapRowAutoCountEnabled());
  EXPECT_EQ(legend->WrapRowAutoCountMax(), 100);
  EXPECT_FALSE(legend->WrapRowSpacingAuto());
  EXPECT_EQ(legend->ColumnTitlesFont()->Color(), TColor(0xFFFF00));  // aqua: green and blue
  EXPECT_EQ(legend->LineColumnHeight(), 3);
  // The cursor's own settings; a cursor made visible sits at 50 and 60 percent.
  TiPlotDataCursor* cursor = chart.DataCursor(0);
  EXPECT_TRUE(cursor->ChannelAllowAll());
  EXPECT_EQ(cursor->Style(), ipcsValueXY);
  EXPECT_EQ(cursor->Font()->Name(), QStringLiteral("Tahoma"));
  EXPECT_EQ(cursor->Font()->Height(), 11);
  EXPECT_EQ(cursor->Color(), TColor(0x00FFFF));  // yellow: red and green, no blue
  EXPECT_TRUE(cursor->UseChannelColor());
  EXPECT_TRUE(cursor->HintShow());
  EXPECT_FALSE(cursor->HintHideOnRelease());
  EXPECT_EQ(cursor->HintOrientationSide(), iosBottomRight);
  EXPECT_EQ(cursor->HintPosition(), 50.0);
  EXPECT_EQ(cursor->PointerPenWidth(), 1);
  cursor->SetVisible(true);
  EXPECT_EQ(cursor->Pointer1Position(), 50.0);
  EXPECT_EQ(cursor->Pointer2Position(), 60.0);
  const char* const captions[] = {"Value X-Y", "Value X", "Value Y", "Period", "Peak-Peak", "Frequency"};
  for (int style = ipcsValueXY; style <= ipcsInverseDeltaX; ++style) {
    EXPECT_TRUE(cursor->MenuItemVisible(TiPlotDataCursorStyle(style)));
    EXPECT_EQ(cursor->MenuItemCaption(TiPlotDataCursorStyle(style)), QString::fromLatin1(captions[style]));
  }
  cursor->SetVisible(false);
  // Configured as a stored chart is read, and nothing of that reading is left behind.
  EXPECT_FALSE(chart.IsLoading());
  EXPECT_FALSE(chart.Updating());
  EXPECT_TRUE(chart.LayoutManager()->LayoutEnabled());
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(SpectrumChart, BothAxesAsListed) {
  TiXYPlot chart;
  ConfigureSpectrumChart(chart);
  struct Case { TiPlotAxis* axis; const char* title; TiPlotAlignFirstStyle alignFirst; };
  for (const Case& c : {Case{chart.XAxis(0), "X-Axis 1", ipafsAuto}, Case{chart.YAxis(0), "Y-Axis 1", ipafsNone}}) {
    SCOPED_TRACE(c.title);
    TiPlotAxis& a = *c.axis;
    EXPECT_EQ(a.Span(), 100.0);
    EXPECT_EQ(a.Title(), QString::fromLatin1(c.title));
    EXPECT_EQ(a.TitleMargin(), 0.25);
    ExpectFont(a.TitleFont()->Font(), "Arial", 13, clWhite, true);
    EXPECT_EQ(a.LabelsMargin(), 0.25);
    ExpectFont(a.LabelsFont()->Font(), "Tahoma", 11, clWhite, false);
    EXPECT_EQ(a.LabelSeparation(), 2.0);
    EXPECT_EQ(a.LabelsRotation(), ira000);
    EXPECT_EQ(a.LabelsMinLength(), 5.0);
    EXPECT_EQ(a.DateTimeFormat(), QStringLiteral("hh:nn:ss"));
    EXPECT_EQ(a.CursorDateTimeFormat(), QStringLiteral("hh:nn:ss"));
    EXPECT_EQ(a.LegendDateTimeFormat(), QStringLiteral("hh:nn:ss"));
    EXPECT_EQ(a.CursorPrecision(), 3);
    EXPECT_EQ(a.CursorMinLength(), 5.0);
    EXPECT_EQ(a.LegendPrecision(), 3);
    EXPECT_EQ(a.LegendMinLength(), 5.0);
    EXPECT_EQ(a.CursorScaler(), 1.0);
    EXPECT_TRUE(a.ScaleLineShow());
    EXPECT_EQ(a.StackingEndsMargin(), 0.5);
    EXPECT_EQ(a.TrackingStyle(), iptsScaleMinMax);
    EXPECT_EQ(a.TrackingIncrementStyle(), iptisMinimum);
    EXPECT_EQ(a.TrackingAlignFirstStyle(), c.alignFirst);
    EXPECT_FALSE(a.ScrollMinMaxEnabled());
    EXPECT_EQ(a.ScrollMax(), 100.0);
    EXPECT_TRUE(a.RestoreValuesOnResume());
    EXPECT_FALSE(a.MasterUIInput());
    EXPECT_EQ(a.CartesianStyle(), ipcsNone);
    EXPECT_EQ(a.CartesianChildRefAxisName(), QStringLiteral("<None>"));
    EXPECT_EQ(a.AlignRefAxisName(), QStringLiteral("<None>"));
    EXPECT_TRUE(a.GridLinesVisible());
    EXPECT_FALSE(a.ForceStacking());
  }
}

TEST(SpectrumChart, ChartDataViewAndTitleAsListed) {
  TiXYPlot chart;
  ConfigureSpectrumChart(chart);
  EXPECT_EQ(chart.PrintMarginLeft(), 1.0);
  EXPECT_EQ(chart.PrintMarginTop(), 1.0);
  EXPECT_EQ(chart.PrintMarginRight(), 1.0);
  EXPECT_EQ(chart.PrintMarginBottom(), 1.0);
  EXPECT_EQ(chart.PrintDocumentName(), QStringLiteral("Lumio Spectrum"));
  EXPECT_EQ(chart.HintsFont()->Name(), QStringLiteral("Tahoma"));
  EXPECT_EQ(chart.HintsFont()->Height(), 11);
  EXPECT_EQ(chart.EditorFormStyle(), ipfsModal);
  EXPECT_EQ(chart.CopyToClipBoardFormat(), ipefMetaFile);
  ExpectFont(chart.TitleFont()->Font(), "Arial", 19, clWhite, true);
  ExpectFont(chart.AnnotationDefaultFont()->Font(), "Tahoma", 11, clWhite, false);
  EXPECT_EQ(chart.AnnotationDefaultBrushStlye(), bsSolid);
  EXPECT_EQ(chart.AnnotationDefaultBrushColor(), clWhite);
  EXPECT_EQ(chart.AnnotationDefaultPenStlye(), psSolid);
  EXPECT_EQ(chart.AnnotationDefaultPenColor(), clWhite);
  EXPECT_EQ(chart.AnnotationDefaultPenWidth(), 1);
  EXPECT_EQ(chart.AnnotationDefaultReference(), iprtDataView);
  EXPECT_EQ(chart.AnnotationDefaultReferencePositionX(), ipriAuto);
  EXPECT_EQ(chart.AnnotationDefaultReferencePositionY(), ipriAuto);
  EXPECT_EQ(chart.AnnotationDefaultReferenceSizeX(), ipriAuto);
  EXPECT_EQ(chart.AnnotationDefaultReferenceSizeY(), ipriAuto);
  EXPECT_TRUE(chart.ClipAnnotationsToAxes());
  EXPECT_FALSE(chart.BackGroundGradientEnabled());
  EXPECT_EQ(chart.BackGroundGradientDirection(), ifdTopBottom);
  EXPECT_EQ(chart.BackGroundGradientStartColor(), clBlue);
  EXPECT_EQ(chart.BackGroundGradientStopColor(), clBlack);
  EXPECT_EQ(chart.DataFileColumnSeparator(), ipdfcsTab);
  EXPECT_EQ(chart.DataFileFormat(), ipdffText);

  TiPlotDataView& view = *chart.DataView(0);
  EXPECT_EQ(view.GridXAxisName(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(view.GridYAxisName(), QStringLiteral("Y-Axis 1"));
  EXPECT_FALSE(view.AxesControlEnabled());
  EXPECT_EQ(view.AxesControlMouseStyle(), ipacsBoth);
  EXPECT_EQ(view.AxesControlWheelStyle(), ipacsXAxis);

  EXPECT_EQ(chart.Labels(0)->Caption(), QStringLiteral("Lumio Spectrum"));
  ExpectFont(chart.Labels(0)->Font()->Font(), "Arial", 19, clWhite, true);
}

// Whatever the chart held, it ends with exactly the listed set; the title label is the same object,
// set up in place, since label 0 cannot be deleted.
TEST(SpectrumChart, ReplacesWhatTheChartHeldKindByKind) {
  TiXYPlot chart;
  for (TiPlotObjectKind kind : {ipokToolBar, ipokLegend, ipokTable, ipokXAxis, ipokYAxis, ipokChannel, ipokDataView,
                                ipokDataCursor, ipokLimit, ipokAnnotation})
    for (int i = 0; i < 3; ++i) chart.Add(kind);
  while (chart.LabelCount() < 3) chart.AddLabel();
  chart.Labels(0)->SetName(QStringLiteral("Heading"));
  chart.Labels(0)->SetZOrder(7);
  chart.XAxis(2)->SetName(QStringLiteral("Extra X"));
  chart.Channel(0)->SetTitleText(QStringLiteral("left over"));
  chart.Channel(0)->AddXY(1, 2);
  TiPlotLabel* title = chart.Labels(0);
  const TiPlotLifeGuard oldChannel(chart.Channel(0));

  ConfigureSpectrumChart(chart);
  ExpectListedSet(chart);
  EXPECT_EQ(chart.Labels(0), title);
  EXPECT_TRUE(oldChannel.Gone());
  EXPECT_EQ(chart.FindXAxis(QStringLiteral("Extra X")), nullptr);
  EXPECT_FALSE(chart.Updating());

  // Configuring again changes nothing of the set.
  ConfigureSpectrumChart(chart);
  ExpectListedSet(chart);
}

TEST(SpectrumChart, AChartWithoutAnyObjectGetsTheWholeSet) {
  TiXYPlot chart;
  for (int kind = 0; kind < kPlotObjectKindCount; ++kind) chart.RemoveAll(static_cast<TiPlotObjectKind>(kind));
  ASSERT_EQ(chart.LabelCount(), 0);
  ConfigureSpectrumChart(chart);
  ExpectListedSet(chart);
}
