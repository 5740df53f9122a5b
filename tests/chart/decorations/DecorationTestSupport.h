#pragma once
// Helpers for decoration tests: text measured the way the chart measures it, pixel searches in a
// bitmap, and a small chart that can paint (it has the toolbar, legend and data view a paint
// needs).
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <ostream>

#include "chart/core/rUdudComponent.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Timer.h"
// Readable failures for rectangles and texts, shared with the core tests' helpers.
#include "tests/chart/core/ChartTestSupport.h"
#include "tests/chart/core/LayoutTestSupport.h"

// Text extents in a font, on a scratch bitmap.
inline int TextW(const TFont& font, const QString& text) {
  TBitmap scratch(8, 8);
  scratch.Canvas()->Font() = font;
  return scratch.Canvas()->TextWidth(text);
}
inline int TextH(const TFont& font, const QString& text) {
  TBitmap scratch(8, 8);
  scratch.Canvas()->Font() = font;
  return scratch.Canvas()->TextHeight(text);
}

// Nearest integer, an exact half going to the even neighbour.
inline int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

// The bounding box of the pixels inside `within` that have `color` (empty when there are none).
inline TRect BoxOf(TBitmap& bitmap, TColor color, const TRect& within) {
  TRect box{0, 0, 0, 0};
  bool any = false;
  TCanvas* c = bitmap.Canvas();
  for (int y = within.Top; y < within.Bottom; ++y)
    for (int x = within.Left; x < within.Right; ++x) {
      if (c->Pixel(x, y) != color) continue;
      if (!any) {
        box = Rect(x, y, x + 1, y + 1);
        any = true;
      } else {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
    }
  return box;
}

// Pixels inside `within` that differ from `color`.
inline int CountOther(TBitmap& bitmap, TColor color, const TRect& within) {
  int n = 0;
  for (int y = within.Top; y < within.Bottom; ++y)
    for (int x = within.Left; x < within.Right; ++x)
      if (bitmap.Canvas()->Pixel(x, y) != color) ++n;
  return n;
}

// A chart with what a paint needs (toolbar, legend, data view) and nothing that draws: the
// decorations under test are the only things on its black background.
struct TPaintableChart {
  TiPlotComponent chart;
  TPaintableChart(int width = 400, int height = 220) {
    chart.resize(width, height);
    chart.AddToolBar();
    chart.AddLegend();
    chart.AddDataView();
    chart.Legend(0)->SetVisible(false);
    chart.ToolBar(0)->SetVisible(false);
    chart.DataView(0)->SetBackgroundTransparent(true);
    chart.SetBorderStyle(ibsNone);
  }
  TBitmap Paint() {
    TBitmap bitmap(chart.Width(), chart.Height());
    chart.DoPaint(*bitmap.Canvas());
    return bitmap;
  }
};

// Presses and releases a button where its rectangle says it is.
inline void ClickButton(TiPlotButton* button) {
  const TRect r = button->GetButtonRect();
  const TiPlotMouseParams p = MakeMouseParams(mbLeft, 0, r.Left + 2, r.Top + 2, false);
  button->MouseDown(p);
  button->MouseUp(p);
}

// Where tests leave pictures to look at.
inline QString PicturePath(const QString& name) { return QDir::temp().filePath(name); }

// Holds a scroll button (the legend's, the table's) down and releases it inside: the first repeat
// comes after 500 ms, the next after 50 ms, and the release scrolls once more. `position` reads
// how far the owner has scrolled; the press itself does not scroll.
template <class Position>
void HoldScrollButtonDown(TiPlotButton* button, Position position) {
  const TRect r = button->GetButtonRect();
  const TiPlotMouseParams p = MakeMouseParams(mbLeft, 0, r.Left + 1, r.Top + 1, false);
  const int start = position();
  button->MouseDown(p);
  ASSERT_NE(button->RepeatTimer(), nullptr);
  EXPECT_EQ(button->RepeatTimer()->Interval(), 500);
  button->RepeatTimer()->Fire();
  EXPECT_EQ(button->RepeatTimer()->Interval(), 50);
  button->RepeatTimer()->Fire();
  EXPECT_EQ(position(), start + 2);
  button->MouseUp(p);
  EXPECT_EQ(position(), start + 3);
}
