// Plot assembly: the abscissa, the intensity scale, the channels' titles, visibility and points
// for every trace, the silent stop and the messages, on profiles written by hand.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <limits>
#include <vector>

#include "app/Application.h"
#include "app/ChartSetup.h"
#include "app/PlotAssembly.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/PictureFiles.h"
#include "support/WindowsFixture.h"

namespace {
// A profile of `rows` rows: wavelengths from blue in steps of (red - blue) / rows, red sums
// 10 + i, green 20 + 2i, blue 30 + 3i and totals their sum 60 + 6i.
TSpectrumRecord Profile(int rows, double blue = 400, double red = 720) {
  TSpectrumRecord r;
  r.BlueWavelength = blue;
  r.RedWavelength = red;
  r.RowCount = rows;
  for (int i = 0; i < rows; ++i) {
    r.Wavelength[i] = blue + (red - blue) * i / rows;
    r.RedSum[i] = 10 + i;
    r.GreenSum[i] = 20 + 2 * i;
    r.BlueSum[i] = 30 + 3 * i;
    r.TotalSum[i] = 60 + 6 * i;
  }
  return r;
}

void SetEnds(TSpectrumRecord& r, int bx, int by, int rx, int ry) {
  r.BlueX = bx, r.BlueY = by, r.RedX = rx, r.RedY = ry;
}

class PlotAssemblyTest : public testing::Test {
 protected:
  TDialogRecorder dialogs;
  TiXYPlot chart;
  TSpectrumRecord sample = Profile(5);
  TSpectrumRecord reference = Profile(4, 380, 700);
  TTransmittanceResult result;

  void SetUp() override {
    ConfigureSpectrumChart(chart);
    SetEnds(sample, 10, 10, 10, 14);     // 4 pixels long
    SetEnds(reference, 0, 0, 3, 4);      // 5 pixels long
    result.PointCount = 3;
    for (int n = 0; n < 3; ++n) {
      result.Wavelength[n] = 400 + 100 * n;
      result.Transmittance[n] = 0.25 * (n + 1);
      result.Absorbance[n] = 0.5 * n;
    }
  }
  void Plot(TPlotTrace trace, TPlotAbscissa abscissa, bool sampleLoaded = true, bool referenceLoaded = true) {
    AssemblePlot(chart, {trace, abscissa, sampleLoaded, referenceLoaded}, sample, reference, result);
  }
  std::vector<int> Counts() {
    std::vector<int> counts;
    for (int i = 0; i < 8; ++i) counts.push_back(chart.Channel(i)->Count());
    return counts;
  }
};
}  // namespace

TEST(IntensitySpan, ERaisedToTheIntegerAboveTheLogarithmOfTheLargestTotal) {
  struct Case { double largest; double span; };
  // e^11 = 59874.14, e^2 = 7.389, e^3 = 20.086, e^7 = 1096.63; below 1 counts as 1 (e^0), and
  // a total that is no number counts as none.
  for (const Case& c : std::initializer_list<Case>{{50000, 59874}, {3, 7}, {20, 20}, {1000, 1097}, {1, 1},
                                                   {0.01, 1}, {0, 1}, {std::numeric_limits<double>::infinity(), 1}}) {
    SCOPED_TRACE(c.largest);
    TSpectrumRecord s = Profile(3), r = Profile(2);
    for (int i = 0; i < 3; ++i) s.TotalSum[i] = i == 1 ? c.largest : 0;
    r.TotalSum[0] = r.TotalSum[1] = 0;
    EXPECT_EQ(IntensitySpan(s, r), c.span);
    EXPECT_EQ(IntensitySpan(r, s), c.span);
  }
}

TEST(IntensitySpan, ReadsOnlyTheRowsTheRecordsHold) {
  TSpectrumRecord s = Profile(2), r = Profile(2);
  s.TotalSum[0] = 19, s.TotalSum[1] = 0;
  r.TotalSum[0] = 0, r.TotalSum[1] = 3;
  s.TotalSum[2] = 1e6;  // beyond the profile
  EXPECT_EQ(IntensitySpan(s, r), 20);
  // A row count beyond the arrays reads up to their end and no further.
  s.TotalSum[2] = 0;
  s.RowCount = 5000;
  s.TotalSum.back() = 1000;
  EXPECT_EQ(ProfileRows(s), s.Capacity());
  EXPECT_EQ(IntensitySpan(s, r), 1097);
  s.RowCount = -3;
  EXPECT_EQ(ProfileRows(s), 0);
  EXPECT_EQ(IntensitySpan(s, r), 7);  // the reference's 3 alone
}

TEST_F(PlotAssemblyTest, PixelAbscissaSpansTheLongerSpectrum) {
  TiPlotAxis& x = *chart.XAxis(0);
  EXPECT_TRUE(SetAbscissa(x, paPixelNumber, sample, reference));
  EXPECT_EQ(x.Title(), QStringLiteral("Pixel"));
  EXPECT_EQ(x.Min(), 0.0);
  EXPECT_EQ(x.Span(), 5.0);
  EXPECT_EQ(x.DesiredIncrement(), 1.0);
  // A 300-pixel sample against the 5-pixel reference.
  SetEnds(sample, 100, 50, 100, 350);
  EXPECT_TRUE(SetAbscissa(x, paPixelNumber, sample, reference));
  EXPECT_EQ(x.Span(), 300.0);
  EXPECT_EQ(x.DesiredIncrement(), 60.0);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PlotAssemblyTest, PixelAbscissaWithEndsOnOnePointStops) {
  TiPlotAxis& x = *chart.XAxis(0);
  for (TSpectrumRecord* r : {&sample, &reference}) {
    SCOPED_TRACE(r == &sample ? "sample" : "reference");
    SetEnds(sample, 10, 10, 10, 14);
    SetEnds(reference, 0, 0, 3, 4);
    SetEnds(*r, 7, 7, 7, 7);
    x.SetMin(3), x.SetSpan(9), x.SetTitleShow(true);
    dialogs.Messages.clear();
    EXPECT_FALSE(SetAbscissa(x, paPixelNumber, sample, reference));
    EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kNoPixelRangeMessage)});
    EXPECT_EQ(x.Title(), QStringLiteral("Pixel"));
    EXPECT_EQ(x.Min(), 0.0);
    EXPECT_EQ(x.Span(), 100.0);
    EXPECT_EQ(x.DesiredIncrement(), 20.0);
    EXPECT_FALSE(x.TitleShow());
  }
}

TEST_F(PlotAssemblyTest, WavelengthAbscissaSpansBothCalibrations) {
  struct Case { double sBlue, sRed, rBlue, rRed; bool ok; double min = 0, span = 0, increment = 0; };
  for (const Case& c : std::initializer_list<Case>{
           {400, 720, 380, 700, true, 380, 340, 68},
           {400, 720, 400, 720, true, 400, 320, 64},
           {500, 500.1, 500, 500.05, true, 500, 0.1, 0.02},
           {500, 500.05, 500, 500.05, false},
           {700, 500, 700, 500, false},   // reversed: red below blue
           {-1e308, 1e308, 0, 1, false}}) {
    SCOPED_TRACE(c.sBlue);
    TiPlotAxis& x = *chart.XAxis(0);
    x.SetMinSpan(1, 2);
    dialogs.Messages.clear();
    sample.BlueWavelength = c.sBlue, sample.RedWavelength = c.sRed;
    reference.BlueWavelength = c.rBlue, reference.RedWavelength = c.rRed;
    EXPECT_EQ(SetAbscissa(x, paWavelength, sample, reference), c.ok);
    EXPECT_EQ(x.Title(), QStringLiteral("Wavelength (nm)"));
    if (c.ok) {
      EXPECT_TRUE(dialogs.Messages.isEmpty());
      EXPECT_EQ(x.Min(), c.min);
      EXPECT_NEAR(x.Span(), c.span, 1e-9);
      EXPECT_NEAR(x.DesiredIncrement(), c.increment, 1e-9);
    } else {
      EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kNoWavelengthRangeMessage)});
      EXPECT_EQ(x.Min(), 1.0);
      EXPECT_EQ(x.Span(), 2.0);
    }
  }
}

TEST_F(PlotAssemblyTest, EachTraceTitlesShowsAndHidesTheChannels) {
  struct Case {
    TPlotTrace trace;
    std::vector<const char*> titles;  // null: left as it was
    const char* visible;              // per channel: V visible and in the legend, v visible only, - hidden
    bool legend;
    const char* yTitle;
    std::vector<int> counts;
  };
  const char* const kept = nullptr;
  for (const Case& c : std::initializer_list<Case>{
           {ptSampleIntensity,
            {"Sample Red I", "Sample Green I", "Sample Blue I", "Sample Intensity", kept, kept, kept, kept},
            "VVVV----", true, "Intensity", {5, 5, 5, 5, 0, 0, 0, 0}},
           {ptReferenceIntensity,
            {kept, kept, kept, kept, "Reference Red I", "Reference Green I", "Reference Blue I", "Reference Intensity"},
            "----VVVV", true, "Intensity", {0, 0, 0, 0, 4, 4, 4, 4}},
           {ptBothIntensities,
            {"Sample Red I", "Sample Green I", "Sample Blue i", "Sample Total Intensity", "Reference Red I",
             "Reference Green I", "Reference Blue i", "Reference Total Intensity"},
            "VVVVVVVV", true, "Intensity", {5, 5, 5, 5, 4, 4, 4, 4}},
           {ptTransmittance, {kept, kept, kept, kept, kept, kept, kept, kept}, "v-------", false, "Transmittance",
            {3, 0, 0, 0, 0, 0, 0, 0}},
           {ptAbsorbance, {kept, kept, kept, kept, kept, kept, kept, kept}, "v-------", false, "Absorbance",
            {3, 0, 0, 0, 0, 0, 0, 0}}}) {
    for (TPlotAbscissa abscissa : {paPixelNumber, paWavelength}) {
      SCOPED_TRACE(testing::Message() << "trace " << c.trace << " abscissa " << abscissa);
      for (int i = 0; i < 8; ++i) chart.Channel(i)->SetTitleText(QStringLiteral("before %1").arg(i));
      chart.Legend(0)->SetVisible(!c.legend);
      Plot(c.trace, abscissa);
      EXPECT_TRUE(dialogs.Messages.isEmpty());
      EXPECT_EQ(Counts(), c.counts);
      for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        TiXYPlotChannel* channel = chart.Channel(i);
        EXPECT_EQ(channel->TitleText(), c.titles[i] ? QString::fromLatin1(c.titles[i]) : QStringLiteral("before %1").arg(i));
        EXPECT_EQ(channel->Visible(), c.visible[i] != '-');
        EXPECT_EQ(channel->VisibleInLegend(), c.visible[i] == 'V');
      }
      EXPECT_EQ(chart.Legend(0)->Visible(), c.legend);
      EXPECT_EQ(chart.YAxis(0)->Title(), QString::fromLatin1(c.yTitle));
      EXPECT_TRUE(chart.YAxis(0)->TitleShow());
      EXPECT_TRUE(chart.XAxis(0)->TitleShow());
    }
  }
}

TEST_F(PlotAssemblyTest, IntensityPointsAgainstPixelsAndWavelengths) {
  Plot(ptBothIntensities, paPixelNumber);
  // Sample row 3: red 13, green 26, blue 39, total 78; reference row 2: 12, 24, 36, 72.
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(chart.Channel(k)->GetX(3), 3.0);
    EXPECT_EQ(chart.Channel(4 + k)->GetX(2), 2.0);
  }
  EXPECT_EQ(chart.Channel(0)->GetY(3), 13.0);
  EXPECT_EQ(chart.Channel(1)->GetY(3), 26.0);
  EXPECT_EQ(chart.Channel(2)->GetY(3), 39.0);
  EXPECT_EQ(chart.Channel(3)->GetY(3), 78.0);
  EXPECT_EQ(chart.Channel(4)->GetY(2), 12.0);
  EXPECT_EQ(chart.Channel(7)->GetY(2), 72.0);
  // Largest total 84 (sample row 4): e^(ln 84 = 4.43 -> 5) = 148.4.
  EXPECT_EQ(chart.YAxis(0)->Span(), 148.0);

  Plot(ptBothIntensities, paWavelength);
  EXPECT_EQ(chart.Channel(0)->GetX(3), 400 + 320.0 * 3 / 5);   // 592
  EXPECT_EQ(chart.Channel(3)->GetX(4), 656.0);
  EXPECT_EQ(chart.Channel(4)->GetX(2), 380 + 320.0 * 2 / 4);   // 540
  EXPECT_EQ(chart.Channel(3)->GetY(4), 84.0);
  EXPECT_EQ(chart.XAxis(0)->Min(), 380.0);
  EXPECT_EQ(chart.XAxis(0)->Span(), 340.0);
}

TEST_F(PlotAssemblyTest, TheIntensityScaleKeepsItsMinimum) {
  chart.YAxis(0)->SetMin(-5);
  Plot(ptSampleIntensity, paPixelNumber);
  EXPECT_EQ(chart.YAxis(0)->Min(), -5.0);
  EXPECT_EQ(chart.YAxis(0)->Span(), 148.0);
}

TEST_F(PlotAssemblyTest, TransmittanceAndAbsorbanceAreAlwaysAgainstWavelength) {
  for (TPlotAbscissa abscissa : {paPixelNumber, paWavelength}) {
    SCOPED_TRACE(abscissa);
    Plot(ptTransmittance, abscissa);
    TiXYPlotChannel& c = *chart.Channel(0);
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.GetX(2), 600.0);
    EXPECT_EQ(c.GetY(2), 0.75);
    EXPECT_EQ(chart.YAxis(0)->Min(), 0.0);
    EXPECT_EQ(chart.YAxis(0)->Span(), 1.0);
    // The axis under the curve is a wavelength axis, titled and ranged as one.
    EXPECT_EQ(chart.XAxis(0)->Title(), QStringLiteral("Wavelength (nm)"));
    EXPECT_EQ(chart.XAxis(0)->Min(), 380.0);
    EXPECT_EQ(chart.XAxis(0)->Span(), 340.0);

    Plot(ptAbsorbance, abscissa);
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.GetX(1), 500.0);
    EXPECT_EQ(c.GetY(1), 0.5);
    EXPECT_EQ(chart.YAxis(0)->Min(), 0.0);
    EXPECT_EQ(chart.YAxis(0)->Span(), 2.0);
  }
  // Points a result counts but its arrays do not hold are not read.
  result.PointCount = 100000;
  Plot(ptTransmittance, paWavelength);
  EXPECT_EQ(chart.Channel(0)->Count(), result.Capacity());
}

TEST_F(PlotAssemblyTest, PlottingAgainGivesTheSameCurvesNotDoubledOnes) {
  Plot(ptBothIntensities, paPixelNumber);
  const std::vector<int> once = Counts();
  Plot(ptBothIntensities, paPixelNumber);
  EXPECT_EQ(Counts(), once);
  // A narrower trace empties the channels it no longer uses.
  Plot(ptReferenceIntensity, paPixelNumber);
  EXPECT_EQ(Counts(), (std::vector<int>{0, 0, 0, 0, 4, 4, 4, 4}));
}

TEST_F(PlotAssemblyTest, AMissingPictureStopsSilentlyAfterTheAbscissa) {
  Plot(ptSampleIntensity, paPixelNumber);
  const std::vector<int> before = Counts();
  chart.Channel(0)->SetTitleText(QStringLiteral("kept"));
  struct Case { TPlotTrace trace; bool sampleLoaded, referenceLoaded; };
  for (const Case& c : std::initializer_list<Case>{{ptBothIntensities, true, false},
                                                   {ptSampleIntensity, false, true},
                                                   {ptReferenceIntensity, true, false},
                                                   {ptTransmittance, true, false},
                                                   {ptAbsorbance, false, true}}) {
    SCOPED_TRACE(c.trace);
    chart.XAxis(0)->SetTitle(QStringLiteral("old"));
    Plot(c.trace, paPixelNumber, c.sampleLoaded, c.referenceLoaded);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_NE(chart.XAxis(0)->Title(), QStringLiteral("old"));  // the abscissa has been set
    EXPECT_EQ(Counts(), before);
    EXPECT_EQ(chart.Channel(0)->TitleText(), QStringLiteral("kept"));
  }
  // Only the reference loaded is enough for its own trace.
  Plot(ptReferenceIntensity, paPixelNumber, false, true);
  EXPECT_EQ(Counts(), (std::vector<int>{0, 0, 0, 0, 4, 4, 4, 4}));
}

TEST_F(PlotAssemblyTest, NoPixelRangeStopsEvenForTheSampleTrace) {
  Plot(ptSampleIntensity, paPixelNumber);
  SetEnds(reference, 0, 0, 0, 0);
  Plot(ptSampleIntensity, paPixelNumber, true, false);
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kNoPixelRangeMessage)});
  EXPECT_EQ(chart.Channel(0)->Count(), 5);  // the previous curves stay
  EXPECT_FALSE(chart.XAxis(0)->TitleShow());
}

// An unmarked side leaves no ratio: transmittance and absorbance say so, whatever the abscissa,
// and plot nothing instead of a silent single point.
TEST_F(PlotAssemblyTest, TransmittanceWithAnUnmarkedSideShowsTheScaleMessage) {
  for (const TPlotTrace trace : {ptTransmittance, ptAbsorbance})
    for (const TPlotAbscissa abscissa : {paPixelNumber, paWavelength})
      for (TSpectrumRecord* r : {&sample, &reference}) {
        SCOPED_TRACE(testing::Message() << trace << " " << abscissa << (r == &sample ? " sample" : " reference"));
        SetEnds(sample, 10, 10, 10, 14);
        SetEnds(reference, 0, 0, 3, 4);
        Plot(ptSampleIntensity, paPixelNumber);
        SetEnds(*r, 5, 5, 5, 5);
        result.PointCount = 1;
        dialogs.Messages.clear();
        Plot(trace, abscissa);
        EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kNoPixelRangeMessage)});
        EXPECT_EQ(Counts(), (std::vector<int>{5, 5, 5, 5, 0, 0, 0, 0}));  // nothing new plotted
        result.PointCount = 3;
      }
}

// Make Plot while tracking is paused: the ranges it sets are the ones that resuming brings back,
// not the previous plot's.
TEST_F(PlotAssemblyTest, ThePlotsRangesBecomeTheResumeValues) {
  TiPlotAxis& x = *chart.XAxis(0);
  TiPlotAxis& y = *chart.YAxis(0);
  x.SetRestoreValuesOnResume(true);
  y.SetRestoreValuesOnResume(true);
  Plot(ptSampleIntensity, paPixelNumber);
  x.SetTrackingEnabled(false);
  y.SetTrackingEnabled(false);
  Plot(ptTransmittance, paPixelNumber);
  const double min = x.Min(), span = x.Span(), ySpan = y.Span();
  EXPECT_EQ(x.Title(), QStringLiteral("Wavelength (nm)"));
  EXPECT_EQ(min, 380.0);
  EXPECT_EQ(span, 340.0);
  EXPECT_EQ(ySpan, 1.0);
  x.SetTrackingEnabled(true);
  y.SetTrackingEnabled(true);
  EXPECT_EQ(x.Min(), min);
  EXPECT_EQ(x.Span(), span);
  EXPECT_EQ(y.Span(), ySpan);
  EXPECT_EQ(y.Min(), 0.0);
}

// Through the window: the command reads the boxes, extracts, computes and plots, and any failure
// of the chart ends it with a message instead of ending the program.
namespace {
class PlotCommandTest : public TLumioWindowsTest {
 protected:

  void SetUp() override {
    for (TSide side : {sdSample, sdReference}) {
      const QString path = dir.filePath(side == sdSample ? QStringLiteral("s.jpg") : QStringLiteral("r.jpg"));
      ASSERT_TRUE(WriteJpegFile(path, FlatPicture(60, 40, RGB(200, 100, 50)), {100, false, jcsYCbCr, true}));
      form.LoadPicture(path, side);
      ASSERT_TRUE(form.Loaded(side));
    }
    // Blue end (10, 5), red end (10, 35): 31 rows on both sides.
    for (int box : {2, 9, 5, 12}) form.Edit[box]->setText(QStringLiteral("10"));
    for (int box : {3, 10}) form.Edit[box]->setText(QStringLiteral("5"));
    for (int box : {6, 13}) form.Edit[box]->setText(QStringLiteral("35"));
    form.ReadParameters(form.Sample);
    form.ReadParameters(form.Reference);
    dialogs.Messages.clear();
  }
  void Plot(TPlotTrace trace, TPlotAbscissa abscissa) {
    form.RadioGroup1->SetItemIndex(trace);
    form.RadioGroup2->SetItemIndex(abscissa);
    form.Button1->click();
  }
};
}  // namespace

TEST_F(PlotCommandTest, MakePlotReadsExtractsComputesAndPlots) {
  Plot(ptTransmittance, paWavelength);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(form.Sample.RowCount, 31);
  EXPECT_EQ(form.Transmittance.PointCount, 31);
  ASSERT_EQ(form.iXYPlot1->Channel(0)->Count(), 31);
  EXPECT_EQ(form.iXYPlot1->Channel(0)->GetY(7), 1.0);  // the same picture on both sides
}

TEST_F(PlotCommandTest, AStaleResultIsPlottedAgain) {
  Plot(ptTransmittance, paWavelength);
  // Common range 719 .. 720 nm: the computation stops with its message and keeps its result.
  form.Edit[8]->setText(QStringLiteral("719.0"));
  form.Edit[11]->setText(QStringLiteral("999.9"));
  Plot(ptTransmittance, paWavelength);
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kOverlapMessage)});
  EXPECT_EQ(form.iXYPlot1->Channel(0)->Count(), 31);
  EXPECT_EQ(form.iXYPlot1->Channel(0)->GetX(0), 400.0);
}

TEST_F(PlotCommandTest, TheSampleTraceDoesNotReadTheReferenceBoxes) {
  form.Edit[11]->setText(QStringLiteral("abc"));
  Plot(ptSampleIntensity, paPixelNumber);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(form.iXYPlot1->Channel(0)->Count(), 31);
  Plot(ptReferenceIntensity, paPixelNumber);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("abc")));
}

TEST_F(PlotCommandTest, AFailureWhilePlottingGivesAMessage) {
  struct Case { const char* what; std::function<void(TiXYPlot&)> damage; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
           {"a channel removed", [](TiXYPlot& chart) { chart.DeleteChannel(7); }, "Index out of Bounds"},
           {"the legend removed", [](TiXYPlot& chart) { chart.DeleteLegend(0); }, "Index out of Bounds"},
           {"the Y axis removed", [](TiXYPlot& chart) { chart.DeleteYAxis(0); }, "Index out of Bounds"},
           {"the X axis removed", [](TiXYPlot& chart) { chart.DeleteXAxis(0); }, "Index out of Bounds"},
           // A channel logging its points to a full disk: the first point's write fails.
           {"a log that cannot be written",
            [](TiXYPlot& chart) {
              chart.Channel(5)->SetLogFileName(QStringLiteral("/dev/full"));
              chart.Channel(5)->LogActivate(false);
            },
            "/dev/full"}}) {
    SCOPED_TRACE(c.what);
    ConfigureSpectrumChart(*form.iXYPlot1);
    c.damage(*form.iXYPlot1);
    dialogs.Messages.clear();
    Plot(ptBothIntensities, paPixelNumber);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QString::fromLatin1(c.message))) << dialogs.Messages[0].toStdString();
    form.iXYPlot1->grab();  // and the chart still paints
  }
  ConfigureSpectrumChart(*form.iXYPlot1);
  dialogs.Messages.clear();
  Plot(ptBothIntensities, paPixelNumber);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(form.iXYPlot1->Channel(7)->Count(), 31);
}
