#include "app/ChartSetup.h"

#include <initializer_list>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudLegend.h"
#include "chart/decorations/rUdudToolBar.h"

namespace {
const QString kXAxisName = QStringLiteral("X-Axis 1");
const QString kYAxisName = QStringLiteral("Y-Axis 1");
const QString kNoAxis = QStringLiteral("<None>");
const QString kTimeFormat = QStringLiteral("hh:nn:ss");

TFont MakeFont(const char* face, int height, TColor color, bool bold = false) {
  TFont f;
  f.Name = QString::fromLatin1(face);
  f.Height = height;
  f.Color = color;
  f.Style = bold ? FontStyleBit(fsBold) : TFontStyles(0);
  return f;
}

// Reading a stored chart: layout manager off, repaints held back, chart events silent. Ends also
// when a step fails, so the chart is never left suspended.
class TLoadingBracket {
 public:
  explicit TLoadingBracket(TiXYPlot& chart) : chart_(chart) { chart_.BeginLoading(); }
  ~TLoadingBracket() { chart_.EndLoading(); }
  TLoadingBracket(const TLoadingBracket&) = delete;
  TLoadingBracket& operator=(const TLoadingBracket&) = delete;

 private:
  TiXYPlot& chart_;
};

// Empties a kind and makes `count` fresh objects of it, named from 1 on by their collection.
void ReplaceKind(TiXYPlot& chart, TiPlotObjectKind kind, int count) {
  chart.RemoveAll(kind);
  for (int i = 0; i < count; ++i) chart.Add(kind);
}

void ConfigureChartItself(TiXYPlot& chart) {
  chart.SetDataViewZHorz(1);
  chart.SetDataViewZVert(1);
  chart.SetPrintMarginLeft(1.0);
  chart.SetPrintMarginTop(1.0);
  chart.SetPrintMarginRight(1.0);
  chart.SetPrintMarginBottom(1.0);
  chart.SetPrintDocumentName(QStringLiteral("Lumio Spectrum"));
  chart.HintsFont()->SetName(QStringLiteral("Tahoma"));  // its colour stays the framework's
  chart.HintsFont()->SetHeight(11);
  chart.SetEditorFormStyle(ipfsModal);
  chart.SetCopyToClipBoardFormat(ipefMetaFile);
  chart.AnnotationDefaultFont()->Assign(MakeFont("Tahoma", 11, clWhite));
  chart.SetAnnotationDefaultBrushStlye(bsSolid);
  chart.SetAnnotationDefaultBrushColor(clWhite);
  chart.SetAnnotationDefaultPenStlye(psSolid);
  chart.SetAnnotationDefaultPenColor(clWhite);
  chart.SetAnnotationDefaultPenWidth(1);
  chart.SetAnnotationDefaultReference(iprtDataView);
  chart.SetAnnotationDefaultReferencePositionX(ipriAuto);
  chart.SetAnnotationDefaultReferencePositionY(ipriAuto);
  chart.SetAnnotationDefaultReferenceSizeX(ipriAuto);
  chart.SetAnnotationDefaultReferenceSizeY(ipriAuto);
  chart.SetClipAnnotationsToAxes(true);
  chart.SetBackGroundGradientEnabled(false);
  chart.SetBackGroundGradientDirection(ifdTopBottom);
  chart.SetBackGroundGradientStartColor(clBlue);
  chart.SetBackGroundGradientStopColor(clBlack);
  chart.SetDataFileColumnSeparator(ipdfcsTab);
  chart.SetDataFileFormat(ipdffText);
}

// The settings both axes share; the Y axis differs in orientation, title and first-value rule.
void ConfigureAxis(TiPlotAxis& axis, bool horizontal, const QString& title, TiPlotAlignFirstStyle alignFirst) {
  axis.SetHorizontal(horizontal);
  axis.SetZOrder(0);
  axis.SetStopPercent(100);
  axis.SetSpan(100);
  axis.SetTitle(title);
  axis.SetTitleMargin(0.25);
  axis.TitleFont()->Assign(MakeFont("Arial", 13, clWhite, true));
  axis.SetLabelsMargin(0.25);
  axis.LabelsFont()->Assign(MakeFont("Tahoma", 11, clWhite));
  axis.SetLabelSeparation(2.0);
  axis.SetLabelsRotation(ira000);
  axis.SetLabelsMinLength(5.0);
  axis.SetDateTimeFormat(kTimeFormat);
  axis.SetCursorDateTimeFormat(kTimeFormat);
  axis.SetLegendDateTimeFormat(kTimeFormat);
  axis.SetCursorPrecision(3);
  axis.SetCursorMinLength(5.0);
  axis.SetLegendPrecision(3);
  axis.SetLegendMinLength(5.0);
  axis.SetCursorScaler(1.0);
  axis.SetScaleLineShow(true);
  axis.SetStackingEndsMargin(0.5);
  axis.SetTrackingStyle(iptsScaleMinMax);
  axis.SetTrackingIncrementStyle(iptisMinimum);
  axis.SetTrackingAlignFirstStyle(alignFirst);
  axis.SetScrollMinMaxEnabled(false);
  axis.SetScrollMax(100);
  axis.SetRestoreValuesOnResume(true);
  axis.SetMasterUIInput(false);
  axis.SetCartesianStyle(ipcsNone);
  axis.SetCartesianChildRefAxisName(kNoAxis);
  axis.SetAlignRefAxisName(kNoAxis);
  axis.SetGridLinesVisible(true);
  axis.SetForceStacking(false);
}

void ConfigureChannels(TiXYPlot& chart) {
  struct Look {
    const char* title;
    TColor color;
  };
  const Look looks[kPlotChannelCount] = {
      {"Sample", clRed},           {"Reference", clLime},          {"Channel 3", RGB(0, 128, 255)},
      {"Channel 4", clWhite},      {"Red Reference", RGB(255, 128, 128)}, {"Green Reference", RGB(0, 128, 0)},
      {"Blue Reference", RGB(0, 0, 255)}, {"Reference I Total", RGB(255, 255, 0)}};
  for (int i = 0; i < kPlotChannelCount; ++i) {
    TiXYPlotChannel* channel = chart.Channel(i);
    channel->SetTitleText(QString::fromLatin1(looks[i].title));
    channel->SetColor(looks[i].color);
    channel->SetVisibleInLegend(false);
    channel->SetMarkersTurnOffLimit(0);
    channel->MarkersFont()->Assign(MakeFont("Tahoma", 11, clWhite, true));
    channel->SetXAxisName(kXAxisName);
    channel->SetYAxisName(kYAxisName);
    channel->SetDataStyle(ipdsStandard);
  }
}

void ConfigureDataView(TiPlotDataView& view) {
  view.SetHorizontal(false);
  view.SetZOrder(0);
  view.SetStopPercent(100);
  view.SetGridXAxisName(kXAxisName);
  view.SetGridYAxisName(kYAxisName);
  view.SetAxesControlEnabled(false);
  view.SetAxesControlMouseStyle(ipacsBoth);
  view.SetAxesControlWheelStyle(ipacsXAxis);
}

// Label 0 is the chart's title and cannot be deleted: the other labels go and it is set up in
// place. A chart without any label gets one made as a new chart makes its title.
void ConfigureTitle(TiXYPlot& chart) {
  chart.RemoveAllLabels();
  if (chart.LabelCount() == 0) {
    chart.AddLabel();
    chart.Labels(0)->SetMarginBottom(0);
  }
  TiPlotLabel* title = chart.Labels(0);
  title->SetName(QStringLiteral("Title"));
  title->SetHorizontal(true);
  title->SetZOrder(2);
  title->SetStopPercent(100);
  title->SetCaption(QStringLiteral("Lumio Spectrum"));
  title->SetFont(MakeFont("Arial", 19, clWhite, true));
}
}  // namespace

void ConfigureLegendToolBarAndCursor(TiXYPlot& chart) {
  TiPlotLegend* legend = chart.Legend(0);
  legend->SetHorizontal(false);
  legend->SetZOrder(2);
  legend->SetStopPercent(100);
  legend->SetMarginLeft(1.0);
  legend->SetMarginTop(1.0);
  legend->SetMarginRight(1.0);
  legend->SetMarginBottom(1.0);
  legend->SelectedItemFont()->Assign(MakeFont("Tahoma", 11, clBlack));
  legend->SetCaptionColumnTitle(QStringLiteral("Title"));
  legend->SetCaptionColumnXAxisTitle(QStringLiteral("X-Axis"));
  legend->SetCaptionColumnYAxisTitle(QStringLiteral("Y-Axis"));
  legend->SetCaptionColumnXValue(QStringLiteral("X"));
  legend->SetCaptionColumnYValue(QStringLiteral("Y"));
  legend->SetCaptionColumnYMax(QStringLiteral("Y-Max"));
  legend->SetCaptionColumnYMin(QStringLiteral("Y-Min"));
  legend->SetCaptionColumnYMean(QStringLiteral("Y-Mean"));
  legend->Font()->Assign(MakeFont("Tahoma", 11, clWhite));
  legend->SetColumnSpacing(0.5);
  legend->SetRowSpacing(0.25);
  legend->SetWrapColDesiredCount(1);
  legend->SetWrapColAutoCountEnabled(false);
  legend->SetWrapColAutoCountMax(100);
  legend->SetWrapColSpacingMin(2.0);
  legend->SetWrapColSpacingAuto(true);
  legend->SetWrapRowDesiredCount(5);
  legend->SetWrapRowAutoCountEnabled(true);
  legend->SetWrapRowAutoCountMax(100);
  legend->SetWrapRowSpacingMin(0.25);
  legend->SetWrapRowSpacingAuto(false);
  legend->ColumnTitlesFont()->Assign(MakeFont("Tahoma", 11, clAqua, true));
  legend->SetLineColumnHeight(3);

  TiPlotToolBar* toolBar = chart.ToolBar(0);
  toolBar->SetHorizontal(true);
  toolBar->SetZOrder(3);
  toolBar->SetStopPercent(100);
  toolBar->SetZoomInOutFactor(2.0);

  TiPlotDataCursor* cursor = chart.DataCursor(0);
  cursor->SetVisible(false);  // there, but hidden until the user switches it on
  cursor->SetChannelName(QStringLiteral("Channel 1"));
  cursor->SetChannelShowAllInLegend(true);
  cursor->SetChannelAllowAll(true);
  cursor->SetStyle(ipcsValueXY);
  cursor->SetFont(MakeFont("Tahoma", 11, clWindowText));
  cursor->SetColor(clYellow);
  cursor->SetUseChannelColor(true);
  cursor->SetHintShow(true);
  cursor->SetHintHideOnRelease(false);
  cursor->SetHintOrientationSide(iosBottomRight);
  cursor->SetHintPosition(50.0);
  cursor->SetPointer1Position(50.0);
  cursor->SetPointer2Position(60.0);
  cursor->SetPointerPenWidth(1);
  const char* const captions[] = {"Value X-Y", "Value X", "Value Y", "Period", "Peak-Peak", "Frequency"};
  for (int style = ipcsValueXY; style <= ipcsInverseDeltaX; ++style) {
    cursor->SetMenuItemVisible(TiPlotDataCursorStyle(style), true);
    cursor->SetMenuItemCaption(TiPlotDataCursorStyle(style), QString::fromLatin1(captions[style]));
  }
}

void ConfigureSpectrumChart(TiXYPlot& chart) {
  TLoadingBracket loading(chart);
  // Kind by kind, in the order a stored chart lists its collections.
  ReplaceKind(chart, ipokToolBar, 1);
  ReplaceKind(chart, ipokLegend, 1);
  ReplaceKind(chart, ipokTable, 0);
  ReplaceKind(chart, ipokXAxis, 1);
  ReplaceKind(chart, ipokYAxis, 1);
  ReplaceKind(chart, ipokChannel, kPlotChannelCount);
  ReplaceKind(chart, ipokDataView, 1);
  ReplaceKind(chart, ipokDataCursor, 1);
  ReplaceKind(chart, ipokLimit, 0);
  ReplaceKind(chart, ipokAnnotation, 0);
  ConfigureTitle(chart);

  ConfigureChartItself(chart);
  ConfigureAxis(*chart.XAxis(0), true, kXAxisName, ipafsAuto);
  ConfigureAxis(*chart.YAxis(0), false, kYAxisName, ipafsNone);
  ConfigureChannels(chart);
  ConfigureDataView(*chart.DataView(0));
  ConfigureLegendToolBarAndCursor(chart);
}
