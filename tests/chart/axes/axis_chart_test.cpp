// The axis in a chart: its events through the chart, reference axes found by name, and its
// published properties.
#include <QImage>

#include "chart/axes/AxisTestSupport.h"
#include "chart/core/rUdudComponent.h"
#include "platform/Canvas.h"

TEST(AxisInChart, ScaleEventsCarryTheAxisIndex) {
  TiPlotComponent chart;
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddYAxis();
  QStringList seen;
  chart.OnXAxisMinChange = [&](int i, double o, double n) { seen << QStringLiteral("x min %1 %2 %3").arg(i).arg(o).arg(n); };
  chart.OnYAxisSpanChange = [&](int i, double o, double n) { seen << QStringLiteral("y span %1 %2 %3").arg(i).arg(o).arg(n); };
  chart.OnYAxisMinSpanChange = [&](int i, double om, double os, double nm, double ns) {
    seen << QStringLiteral("y minspan %1 %2 %3 %4 %5").arg(i).arg(om).arg(os).arg(nm).arg(ns);
  };
  chart.OnXAxisMinSpanChange = [&](int i, double, double, double nm, double ns) {
    seen << QStringLiteral("x minspan %1 %2 %3").arg(i).arg(nm).arg(ns);
  };
  chart.XAxis(0)->SetMin(5);
  chart.YAxis(1)->SetMinSpan(0, 40);
  EXPECT_EQ(seen, (QStringList{"x min 0 0 5", "x minspan 0 5 100", "y span 1 100 40", "y minspan 1 0 100 0 40"}));
  // Silent while a stored chart is read.
  seen.clear();
  chart.BeginLoading();
  chart.XAxis(0)->SetMin(6);
  chart.EndLoading();
  EXPECT_TRUE(seen.isEmpty());
  EXPECT_EQ(chart.XAxis(0)->Min(), 6.0);
}

TEST(AxisInChart, CustomizeLabelEventOfItsKind) {
  TiPlotComponent chart;
  chart.AddXAxis();
  chart.AddYAxis();
  chart.OnYAxisCustomizeLabel = [](int index, double value, QString& text) {
    text = QStringLiteral("Y%1:%2").arg(index).arg(value);
  };
  EXPECT_EQ(chart.XAxis(0)->LabelText(20), "20");
  EXPECT_EQ(chart.YAxis(0)->LabelText(20), "Y0:20");
}

TEST(AxisInChart, AReferenceAddedLaterIsFound) {
  TiPlotComponent chart;
  chart.AddXAxis();
  chart.AddYAxis();
  TiPlotXAxis* x = chart.XAxis(0);
  x->SetCartesianChildRefAxisName(QStringLiteral("Y-Axis 2"));
  x->SetAlignRefAxisName(QStringLiteral("X-Axis 2"));
  EXPECT_EQ(x->CartesianChildRefAxis(), nullptr);
  EXPECT_EQ(x->AlignRefAxis(), nullptr);
  chart.AddYAxis();
  chart.AddXAxis();
  ASSERT_EQ(chart.YAxis(1)->Name(), "Y-Axis 2");
  EXPECT_EQ(x->CartesianChildRefAxis(), chart.YAxis(1));
  EXPECT_EQ(x->AlignRefAxis(), chart.XAxis(1));
  // Removed: dropped, and found again when an axis of that name returns.
  chart.DeleteYAxis(1);
  EXPECT_EQ(x->CartesianChildRefAxis(), nullptr);
  chart.AddYAxis();
  chart.YAxis(1)->SetName(QStringLiteral("Y-Axis 2"));
  EXPECT_EQ(x->CartesianChildRefAxis(), chart.YAxis(1));
}

TEST(AxisInChart, PaintingPlacesTicksOnEveryAxis) {
  TiPlotComponent chart;
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddDataView();
  chart.AddToolBar();
  chart.AddLegend();
  chart.SetWidth(500);
  chart.SetHeight(300);
  QImage image(500, 300, QImage::Format_RGB32);
  TCanvas canvas(&image);
  chart.DoPaint(canvas);
  for (TiPlotAxis* axis : {static_cast<TiPlotAxis*>(chart.XAxis(0)), static_cast<TiPlotAxis*>(chart.YAxis(0))}) {
    SCOPED_TRACE(axis->Name().toStdString());
    ASSERT_FALSE(axis->Ticks().empty());
    for (const TiPlotTickObject& t : axis->Ticks()) {
      EXPECT_TRUE(t.OnScale);
      EXPECT_EQ(t.Position, axis->ValueToPosition(t.Value));
    }
    // Majors from 0 to 100 (0 and 100 both on the scale).
    EXPECT_EQ(axis->Ticks().front().Value, 0.0);
    EXPECT_EQ(axis->Ticks().back().Value, 100.0);
  }
  EXPECT_EQ(chart.XAxis(0)->PositionOfMin(), chart.XAxis(0)->ScaleArea().Left);
  EXPECT_EQ(chart.YAxis(0)->PositionOfMin(), chart.YAxis(0)->ScaleArea().Bottom);
}

TEST(AxisProperties, EnumerationsHaveValueNamesAndDefaultsMatchAFreshAxis) {
  TFakeOwner owner;
  THandlerLog log;
  TiPlotYAxis axis(&owner, log.Handlers());
  int checked = 0;
  for (const TiPropertyInfo& p : axis.ClassInfo().Properties()) {
    SCOPED_TRACE(p.Name.toStdString());
    if (p.Kind == TiPropertyKind::Enumeration) {
      EXPECT_FALSE(p.ValueNames.isEmpty());
    }
    if (p.IsOrdinal() && p.Default && p.GetOrdinal) {
      EXPECT_EQ(p.GetOrdinal(axis), *p.Default);
      ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

TEST(AxisProperties, WriteAndReadBack) {
  TFakeOwner owner;
  THandlerLog log;
  TiPlotXAxis source(&owner, log.Handlers());
  source.SetMinSpan(-2.5, 1e-7);
  source.SetScaleType(ipstLog10);
  source.SetReverseScale(true);
  source.SetLabelsFormatStyle(iptfThousands);
  source.SetCursorUseDefaultFormat(false);
  source.SetCursorPrecisionStyle(ipsFixedDecimalPoints);
  source.SetLegendDateTimeFormat(QStringLiteral("yyyy mmm"));
  source.SetMinorCount(4);
  source.SetLabelsRotation(ira270);
  source.LabelsFont()->SetHeight(17);
  QStringList lines;
  WriteProperties(source, QString(), lines);
  EXPECT_TRUE(lines.contains(QStringLiteral("ScaleType = 1")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Min = 1")));   // turning logarithmic moved Min to 1

  TiPlotXAxis target(&owner, log.Handlers());
  ReadProperties(target, QString(), lines);
  EXPECT_EQ(target.Min(), 1.0);
  EXPECT_EQ(target.Span(), 1e-7);
  EXPECT_EQ(target.ScaleType(), ipstLog10);
  EXPECT_TRUE(target.ReverseScale());
  EXPECT_EQ(target.LabelsFormatStyle(), iptfThousands);
  EXPECT_FALSE(target.CursorUseDefaultFormat());
  EXPECT_EQ(target.CursorPrecisionStyle(), ipsFixedDecimalPoints);
  EXPECT_EQ(target.LegendDateTimeFormat(), "yyyy mmm");
  EXPECT_EQ(target.MinorCount(), 4);
  EXPECT_EQ(target.LabelsRotation(), ira270);
  EXPECT_EQ(target.LabelsFont()->Height(), 17);

  // An ordinal that names no value is refused.
  QStringList bad{QStringLiteral("LabelsFormatStyle = 9")};
  EXPECT_ANY_THROW(ReadProperties(target, QString(), bad));
  EXPECT_EQ(target.LabelsFormatStyle(), iptfThousands);
}

// "Span_2", the older stored name of the span, is read but never written: it sets the span as it
// stands (beyond the clamp too) without raising an event; a span no scale can map is passed over.
TEST(AxisProperties, TheOlderSpanEntryIsReadDirectlyAndSilently) {
  TiPlotComponent chart;
  chart.AddXAxis();
  TiPlotAxis* axis = chart.XAxis(0);
  int events = 0;
  chart.OnXAxisSpanChange = [&](int, double, double) { ++events; };
  chart.OnXAxisMinSpanChange = [&](int, double, double, double, double) { ++events; };
  for (const auto& [text, expected] : std::initializer_list<std::pair<const char*, double>>{
           {"Span_2 = 40", 40.0}, {"Span_2 = 1E301", 1e301}, {"Span_2 = 0", 1e301}, {"Span_2 = -5", 1e301}, {"Span_2 = NAN", 1e301}}) {
    SCOPED_TRACE(text);
    QStringList lines{QString::fromLatin1(text)};
    ReadProperties(*axis, QString(), lines);
    EXPECT_EQ(axis->Span(), expected);
  }
  EXPECT_EQ(events, 0);
  QStringList written;
  WriteProperties(*axis, QString(), written);
  EXPECT_TRUE(written.filter(QStringLiteral("Span_2")).isEmpty());
}
