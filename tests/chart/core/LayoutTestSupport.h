#pragma once
// Chart objects with fixed answers for layout and painting tests: they report the thickness and
// end margin they are given, map values linearly when asked, and note when they are drawn.
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "chart/channels/iXYPlotChannel.h"
#include "chart/core/rUdudComponent.h"

// Rectangles in failure messages as (left, top, right, bottom).
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

// A layout object of any kind that asks for a fixed room.
template <class Base>
class TFixed : public Base {
 public:
  using Base::Base;
  int Size = 0;
  int EndMargin = 0;
  int SizeCalls = 0;
  int RequiredSize(TCanvas*) override {
    ++SizeCalls;
    return Size;
  }
  int RequiredEndMargin(TCanvas*) override { return EndMargin; }
};

// An axis whose scale area is its rectangle with an optional inset at each end; it maps values
// with the axis's own scale (0 .. 100 unless set).
template <class Base>
class TFixedAxisOf : public TFixed<Base> {
 public:
  using TFixed<Base>::TFixed;
  int Inset = 0;
  int ScaleAreaUpdates = 0;
  void UpdateScaleArea(TCanvas* canvas) override {
    ++ScaleAreaUpdates;
    TRect r = this->GetLayoutRect();
    if (this->Horizontal()) {
      r.Left += Inset;
      r.Right -= Inset;
    } else {
      r.Top += Inset;
      r.Bottom -= Inset;
    }
    this->SetScaleArea(r);
  }
};
using TFixedXAxis = TFixedAxisOf<TiPlotXAxis>;
using TFixedYAxis = TFixedAxisOf<TiPlotYAxis>;
using TFixedLegend = TFixed<TiPlotLegend>;
using TFixedToolBar = TFixed<TiPlotToolBar>;
using TFixedLabel = TFixed<TiPlotLabel>;
using TFixedTable = TFixed<TiPlotTable>;

// Makes an object of class T for the chart, lets `setup` configure it before it announces
// itself (so that the layout manager places it as configured), and inserts it.
template <class T>
T* InsertInto(TiPlotComponent& chart, const std::function<void(T*)>& setup = {}) {
  auto* object = new T(&chart, chart.Master()->Handlers());
  if (setup) setup(object);
  InsertObject(TiPlotPtr<TiPlotObject>(object));
  return object;
}

// Objects that note their drawing in a shared list.
inline QStringList* g_drawLog = nullptr;

template <class Base>
class TDrawing : public Base {
 public:
  using Base::Base;
  void Draw(TCanvas* canvas, TColor background) override {
    if (g_drawLog) *g_drawLog << this->Name();
    Base::Draw(canvas, background);
  }
};

class TDrawingLimit : public TDrawing<TiPlotLimit> {
 public:
  using TDrawing<TiPlotLimit>::TDrawing;
  bool Band = false;
  bool IsFilledBand() const override { return Band; }
};

// A chart with a toolbar, a legend, a data view and fixed-size axes, the way a new chart is
// made: the layout manager is off while the ZOrder values are set.
struct TSmallChart {
  TiPlotComponent chart;
  TFixedToolBar* toolBar = nullptr;
  TFixedLabel* title = nullptr;
  TFixedXAxis* xAxis = nullptr;
  TFixedYAxis* yAxis = nullptr;
  TFixedLegend* legend = nullptr;
  TiPlotDataView* view = nullptr;

  TSmallChart() {
    chart.LayoutManager()->SetLayoutEnabled(false);
    toolBar = InsertInto<TFixedToolBar>(chart, [](TFixedToolBar* t) {
      t->SetHorizontal(true);
      t->SetZOrder(3);
      t->Size = 30;
    });
    legend = InsertInto<TFixedLegend>(chart, [](TFixedLegend* l) {
      l->SetZOrder(2);
      l->Size = 80;
    });
    xAxis = InsertInto<TFixedXAxis>(chart, [](TFixedXAxis* a) {
      a->Size = 33;
      a->EndMargin = 10;
    });
    yAxis = InsertInto<TFixedYAxis>(chart, [](TFixedYAxis* a) {
      a->Size = 40;
      a->EndMargin = 6;
    });
    chart.AddDataView();
    view = chart.DataView(0);
    title = InsertInto<TFixedLabel>(chart, [](TFixedLabel* l) {
      l->SetZOrder(2);
      l->SetName(QStringLiteral("Title"));
      l->Size = 20;
    });
    chart.LayoutManager()->SetLayoutEnabled(true);
  }
};

// A chart whose hint can be shown without the mouse and the hint timer.
class THintChart : public TiPlotComponent {
 public:
  using TiPlotComponent::TiPlotComponent;
  void ShowHint(const QString& text, int x, int y) {
    hintText_ = text;
    hintPosition_ = {x, y};
    hintShowing_ = true;
  }
};
