#pragma once
// An axis on its own for scale, text and tick tests: a fake chart that records the axis events
// and finds axes by name, and a canvas to measure labels with.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QStringList>
#include <cmath>
#include <functional>
#include <vector>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/ChartTestSupport.h"
#include "platform/Canvas.h"

class TAxisOwner : public TFakeOwner, public TiPlotAxisEvents, public TiPlotAxisLookup {
 public:
  void AxisMinChange(TiPlotAxis* a, double o, double n) override { Events << QStringLiteral("min %1 %2 %3").arg(a->Name()).arg(o).arg(n); }
  void AxisSpanChange(TiPlotAxis* a, double o, double n) override {
    Events << QStringLiteral("span %1 %2 %3").arg(a->Name()).arg(o).arg(n);
  }
  void AxisMinSpanChange(TiPlotAxis* a, double om, double os, double nm, double ns) override {
    Events << QStringLiteral("minspan %1 %2 %3 %4 %5").arg(a->Name()).arg(om).arg(os).arg(nm).arg(ns);
  }
  void AxisCustomizeLabel(TiPlotAxis*, double value, QString& text) override {
    ++Customized;
    if (Customize) Customize(value, text);
  }
  TiPlotXAxis* FindXAxis(const QString& name) const override {
    for (TiPlotXAxis* a : XAxes)
      if (a->Name().compare(name, Qt::CaseInsensitive) == 0) return a;
    return nullptr;
  }
  bool AxisRangeChangesHeld() const override { return Held; }
  TiPlotYAxis* FindYAxis(const QString& name) const override {
    for (TiPlotYAxis* a : YAxes)
      if (a->Name().compare(name, Qt::CaseInsensitive) == 0) return a;
    return nullptr;
  }

  QStringList Events;
  // Tracking steps hold their range changes (as a chart in update suspension).
  bool Held = false;
  int Customized = 0;
  std::function<void(double, QString&)> Customize;
  std::vector<TiPlotXAxis*> XAxes;
  std::vector<TiPlotYAxis*> YAxes;
};

// One X axis whose scale area is set by hand.
struct AxisFixture : ::testing::Test {
  TAxisOwner owner;
  THandlerLog log;
  TiPlotXAxis axis{&owner, log.Handlers()};
  QImage image{8, 8, QImage::Format_RGB32};
  TCanvas canvas{&image};

  AxisFixture() { axis.SetName(QStringLiteral("X")); }

  // The axis runs along (left .. right) when horizontal, (top .. bottom) when vertical.
  void Place(bool horizontal, int left, int top, int right, int bottom) {
    axis.SetHorizontal(horizontal);
    axis.SetLayoutRect(TRect{left, top, right, bottom});
    axis.UpdateScaleArea(&canvas);
  }
  // Width of "0" in the axis's label font.
  int ZeroWidth() {
    canvas.Font() = axis.LabelsFont()->Font();
    return canvas.TextWidth(QStringLiteral("0"));
  }
  std::vector<double> Majors() const {
    std::vector<double> v;
    for (const TiPlotTickObject& t : axis.Ticks())
      if (!t.Minor) v.push_back(t.Value);
    return v;
  }
  std::vector<double> Minors() const {
    std::vector<double> v;
    for (const TiPlotTickObject& t : axis.Ticks())
      if (t.Minor) v.push_back(t.Value);
    return v;
  }
  QStringList Labels() const {
    QStringList l;
    for (const TiPlotTickObject& t : axis.Ticks())
      if (!t.Minor) l << t.Text;
    return l;
  }
};

// Values compared to a relative tolerance (tick values are sums of steps).
inline void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(actual[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i])));
  }
}
