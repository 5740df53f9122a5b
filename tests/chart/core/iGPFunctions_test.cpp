// Shared drawing and text functions.
#include <gtest/gtest.h>

#include <QWidget>
#include <cmath>
#include <set>

#include "chart/core/iGPFunctions.h"
#include "platform/Bitmap.h"

namespace {

TBitmap Canvas(int w, int h) { return TBitmap(w, h, pf24bit); }

int CountColour(const TBitmap& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
  return n;
}

TRect BoxNotWhite(const TBitmap& b) {
  TRect r{1 << 30, 1 << 30, -1, -1};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != clWhite) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

// The colour of step k of f between a and b, each component rounded to the nearest (ties even).
TColor Step(TColor a, TColor b, int k, int f) {
  auto mix = [&](int ca, int cb) { return static_cast<int>(std::nearbyint((f - k) / double(f) * ca + k / double(f) * cb)); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

constexpr TColor kStart = RGB(255, 0, 0);
constexpr TColor kStop = RGB(0, 0, 255);

}  // namespace

TEST(FillGradient, TopBottomDrawsOneLinePerRowFromStartToStop) {
  TBitmap b = Canvas(12, 100);
  FillGradient(*b.Canvas(), Rect(0, 0, 10, 100), ifdTopBottom, kStart, kStop);
  std::set<TColor> rows;
  for (int y = 0; y < 100; ++y) {
    const TColor c = b.Pixel(0, y);
    EXPECT_EQ(c, Step(kStart, kStop, y, 99)) << y;
    for (int x = 1; x < 10; ++x) ASSERT_EQ(b.Pixel(x, y), c);
    EXPECT_EQ(b.Pixel(10, y), clWhite);  // the right edge is outside
    rows.insert(c);
  }
  EXPECT_EQ(b.Pixel(0, 0), kStart);
  EXPECT_EQ(b.Pixel(0, 99), kStop);
  EXPECT_EQ(rows.size(), 100u);
}

TEST(FillGradient, EachLineDirectionRunsTheRightWay) {
  struct Case { TiFillDirection d; bool vertical; bool reversed; };
  const Case cases[] = {
      {ifdTopBottom, false, false}, {ifdBottomTop, false, true}, {ifdLeftRight, true, false}, {ifdRightLeft, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    TBitmap b = Canvas(20, 20);
    FillGradient(*b.Canvas(), Rect(2, 3, 12, 9), c.d, kStart, kStop);
    EXPECT_EQ(BoxNotWhite(b), Rect(2, 3, 12, 9));
    const int f = c.vertical ? 9 : 5;
    for (int k = 0; k <= f; ++k) {
      const int x = c.vertical ? 2 + k : 5, y = c.vertical ? 5 : 3 + k;
      EXPECT_EQ(b.Pixel(x, y), c.reversed ? Step(kStop, kStart, k, f) : Step(kStart, kStop, k, f)) << k;
    }
  }
}

TEST(FillGradient, DiagonalsRunFromCornerToCorner) {
  struct Case { TiFillDirection d; TPoint startCorner, stopCorner; };
  const Case cases[] = {
      // One pixel in from the corners: the steps of the top-left styles end just short of the
      // bottom-right corner pixel.
      {ifdTopLeftBottomRight, {1, 1}, {14, 10}},
      {ifdBottomRightTopLeft, {14, 10}, {1, 1}},
      {ifdBottomLeftTopRight, {1, 10}, {14, 1}},
      {ifdTopRightBottomLeft, {14, 1}, {1, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    TBitmap b = Canvas(16, 12);
    FillGradient(*b.Canvas(), Rect(0, 0, 16, 12), c.d, kStart, kStop);
    const TColor near = b.Pixel(c.startCorner.X, c.startCorner.Y);
    const TColor far = b.Pixel(c.stopCorner.X, c.stopCorner.Y);
    EXPECT_GT(GetRValue(near), 200);
    EXPECT_LT(GetBValue(near), 55);
    EXPECT_LT(GetRValue(far), 55);
    EXPECT_GT(GetBValue(far), 200);
    // Along the line between the corners the start component only falls.
    int previous = 256;
    for (int i = 0; i <= 10; ++i) {
      const int x = c.startCorner.X + (c.stopCorner.X - c.startCorner.X) * i / 10;
      const int y = c.startCorner.Y + (c.stopCorner.Y - c.startCorner.Y) * i / 10;
      const TColor p = b.Pixel(x, y);
      ASSERT_NE(p, clWhite) << x << "," << y;
      EXPECT_LE(GetRValue(p), previous);
      previous = GetRValue(p);
    }
  }
}

TEST(FillGradient, RectanglesAndCirclesGrowFromTheCentre) {
  // The rectangles end by setting the centre pixel to the centre colour; the circles' pen is 16
  // wide, so the second step (F = (40 - 1) div 8 = 4) already covers the centre as a disc.
  struct Case { TiFillDirection d; TColor centre, edge; };
  const Case cases[] = {{ifdRectangleOut, kStart, kStop},
                        {ifdRectangleIn, kStop, kStart},
                        {ifdCircleOut, Step(kStart, kStop, 1, 4), kStop},
                        {ifdCircleIn, Step(kStop, kStart, 1, 4), kStart}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    TBitmap b = Canvas(40, 40);
    b.Canvas()->IntersectClipRect(Rect(0, 0, 40, 40));
    FillGradient(*b.Canvas(), Rect(0, 0, 40, 40), c.d, kStart, kStop);
    EXPECT_EQ(b.Pixel(19, 19), c.centre);
    EXPECT_EQ(b.Pixel(0, 20), c.edge);
    EXPECT_EQ(b.Pixel(39, 20), c.edge);
    EXPECT_EQ(b.Pixel(1, 1), c.edge);
  }
}

TEST(FillGradient, EmptyAndOnePixelRectangles) {
  TBitmap b = Canvas(10, 10);
  FillGradient(*b.Canvas(), Rect(2, 2, 8, 2), ifdTopBottom, kStart, kStop);  // F = -1
  FillGradient(*b.Canvas(), Rect(2, 2, 2, 8), ifdLeftRight, kStart, kStop);
  EXPECT_EQ(CountColour(b, clWhite), 100);
  // F = 0: the start colour alone fills the rectangle.
  FillGradient(*b.Canvas(), Rect(2, 2, 8, 3), ifdBottomTop, kStart, kStop);
  EXPECT_EQ(CountColour(b, kStart), 6);
  EXPECT_EQ(BoxNotWhite(b), Rect(2, 2, 8, 3));
  TBitmap tiny = Canvas(4, 4);
  FillGradient(*tiny.Canvas(), Rect(0, 0, 2, 2), ifdCircleOut, kStart, kStop);  // (2 - 1) div 8 = 0
  EXPECT_EQ(CountColour(tiny, kStart), 4);
}

TEST(FillGradient, ResolvesSystemColoursAndKeepsThePenAndBrush) {
  TBitmap b = Canvas(4, 3);
  TCanvas* cv = b.Canvas();
  cv->Pen().Color = clLime;
  cv->Brush().Color = clYellow;
  FillGradient(*cv, Rect(0, 0, 4, 3), ifdTopBottom, clBtnFace, clBtnShadow);
  EXPECT_EQ(b.Pixel(0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(b.Pixel(0, 2), ColorToRGB(clBtnShadow));
  EXPECT_EQ(cv->Pen().Color, clLime);
  EXPECT_EQ(cv->Brush().Color, clYellow);
  EXPECT_EQ(cv->Brush().Style, bsSolid);
}

TEST(AdjustColor, StepsEachComponentWithinRange) {
  EXPECT_EQ(AdjustColor(RGB(10, 100, 250), 20, true), RGB(30, 120, 255));
  EXPECT_EQ(AdjustColor(RGB(10, 100, 250), 20, false), RGB(0, 80, 230));
  EXPECT_EQ(AdjustColor(clBtnFace, 64, true), clWhite);
  EXPECT_EQ(AdjustColor(clBtnFace, 32, false), RGB(180, 176, 168));
}

TEST(SmallFunctions, OrderAndOrient) {
  EXPECT_EQ(OrderedRect(10, 2, 3, 8), Rect(3, 2, 10, 8));
  EXPECT_EQ(OrientedRect(false, 1, 2, 3, 4), Rect(1, 2, 3, 4));
  EXPECT_EQ(OrientedRect(true, 1, 2, 3, 4), Rect(2, 1, 4, 3));
  EXPECT_EQ(OrientedPoint(false, 5, 6), Point(5, 6));
  EXPECT_EQ(OrientedPoint(true, 5, 6), Point(6, 5));
}

TEST(SmallFunctions, OwnerFormWalksToTheWindow) {
  QWidget form;
  QWidget* panel = new QWidget(&form);
  QWidget* inner = new QWidget(panel);
  QObject* component = new QObject(inner);
  EXPECT_EQ(OwnerForm(component), &form);
  EXPECT_EQ(OwnerForm(inner), &form);
  EXPECT_EQ(OwnerForm(&form), nullptr);
  QObject loose;
  EXPECT_EQ(OwnerForm(&loose), nullptr);
}

TEST(DrawTextOptions, CalcRectMeasuresWithoutDrawing) {
  TBitmap b = Canvas(100, 50);
  TRect r = Rect(5, 5, 5, 5);
  const int h = DrawTextOptions(*b.Canvas(), "one\r\ntwo", r, clBlack, true, {TTextOption::CalcRect});
  EXPECT_EQ(h, 2 * b.Canvas()->TextHeight("X"));
  EXPECT_EQ(r.Bottom, 5 + h);
  EXPECT_EQ(r.Right, 5 + TextMaxLineWidth(*b.Canvas(), "one\r\ntwo"));
  EXPECT_EQ(CountColour(b, clWhite), 100 * 50);
}

TEST(DrawTextOptions, DisabledTextIsEmbossedUnlessBlack) {
  TBitmap b = Canvas(100, 30);
  TCanvas* cv = b.Canvas();
  cv->Brush().Color = clNavy;
  cv->FillRect(Rect(0, 0, 100, 30));
  cv->Brush().Style = bsClear;
  cv->Font().Color = clRed;
  TRect r = Rect(2, 2, 98, 28);
  DrawTextOptions(*cv, "Emboss", r, clRed, false, {});
  const TColor light = AdjustColor(clBtnFace, 64, true), dark = AdjustColor(clBtnFace, 32, false);
  EXPECT_GT(CountColour(b, dark), 0);
  EXPECT_GT(CountColour(b, light), 0);
  EXPECT_EQ(CountColour(b, clRed), 0);
  EXPECT_EQ(cv->Font().Color, clRed);  // restored
  // The light copy lies one pixel right and down of the dark one.
  auto topLeftOf = [&](TColor c) {
    TPoint p{1 << 30, 1 << 30};
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 100; ++x)
        if (b.Pixel(x, y) == c) {
          p.X = std::min(p.X, x);
          p.Y = std::min(p.Y, y);
        }
    return p;
  };
  EXPECT_EQ(topLeftOf(light).X, topLeftOf(dark).X + 1);
  EXPECT_EQ(topLeftOf(light).Y, topLeftOf(dark).Y + 1);

  TBitmap black = Canvas(100, 30);
  black.Canvas()->Brush().Style = bsClear;
  TRect r2 = Rect(2, 2, 98, 28);
  DrawTextOptions(*black.Canvas(), "Plain", r2, clBlack, false, {});
  EXPECT_EQ(CountColour(black, dark), 0);
  EXPECT_GT(CountColour(black, clBlack), 0);  // the font colour, once
}

TEST(DrawRotatedText, ReportsTheCoveredRectangleForEachRotation) {
  TBitmap probe = Canvas(10, 10);
  const int tw = probe.Canvas()->TextWidth("Axis"), th = probe.Canvas()->TextHeight("Axis");
  const TRect rect = Rect(20, 30, 121, 91);  // centre (70, 60)
  struct Case { TiRotationAngle rot; TRect out; };
  const Case cases[] = {
      {ira000, Rect(70 - tw / 2, 60 - th / 2, 70 + tw / 2, 60 + th / 2)},
      {ira090, Rect(70 - th / 2, 60 - tw / 2, 70 + th / 2, 60 + tw / 2)},
      {ira180, Rect(70 - tw / 2, 60 - th / 2, 70 + tw / 2, 60 + th / 2)},
      {ira270, Rect(70 - th / 2, 60 - tw / 2, 70 + th / 2, 60 + tw / 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rot);
    TBitmap b = Canvas(140, 120);
    b.Canvas()->Brush().Color = clAqua;  // opaque: the text cell shows where the text went
    TRect out;
    DrawRotatedText(*b.Canvas(), "Axis", rect, out, clBlack, true, iahCenter, c.rot);
    EXPECT_EQ(out, c.out);
    const TRect drawn = BoxNotWhite(b);
    EXPECT_NEAR(drawn.Left, c.out.Left, 1);
    EXPECT_NEAR(drawn.Top, c.out.Top, 1);
    EXPECT_NEAR(drawn.Right, c.out.Right, 1);
    EXPECT_NEAR(drawn.Bottom, c.out.Bottom, 1);
    EXPECT_EQ(b.Canvas()->Font().Orientation, 0);  // the turned font is gone again
  }
}

TEST(DrawRotatedText, UprightTextFollowsTheAlignment) {
  const TRect rect = Rect(10, 10, 130, 40);
  struct Case { TiAlignmentHorizontal a; int left; };
  TBitmap probe = Canvas(10, 10);
  const int tw = probe.Canvas()->TextWidth("Lbl");
  const Case cases[] = {{iahLeft, 10}, {iahRight, 130 - tw}, {iahCenter, (10 + 130 - tw) / 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    TBitmap b = Canvas(140, 50);
    b.Canvas()->Brush().Color = clAqua;
    TRect out;
    DrawRotatedText(*b.Canvas(), "Lbl", rect, out, clBlack, true, c.a, ira000);
    EXPECT_EQ(BoxNotWhite(b).Left, c.left);
  }
}

TEST(TextMeasures, WidestLineAndHeights) {
  TBitmap b = Canvas(10, 10);
  TCanvas& cv = *b.Canvas();
  const int h = cv.TextHeight("X");
  EXPECT_EQ(TextMaxLineWidth(cv, ""), 0);
  EXPECT_EQ(TextMaxLineWidth(cv, "ab\rabcd\nabc"), cv.TextWidth("abcd"));
  EXPECT_EQ(TextMaxLineWidth(cv, "abcd\r\nab"), cv.TextWidth("abcd"));
  EXPECT_EQ(TextHeightMeasured(cv, "one"), h);
  EXPECT_EQ(TextHeightMeasured(cv, "one\rtwo\nthree"), 3 * h);
  const int word = cv.TextWidth("word");
  EXPECT_EQ(TextHeightWrapped(cv, "word word word", word + 1), 3 * h);
  EXPECT_EQ(TextHeightWrapped(cv, "word word word", 1000), h);
  EXPECT_EQ(CountColour(b, clWhite), 100);  // the wrapped measure draws nowhere visible
}

TEST(DrawBevel, KindsAndTheFocusRectangle) {
  TBitmap sunken = Canvas(20, 20);
  DrawBevel(*sunken.Canvas(), Rect(0, 0, 20, 20), 0);
  EXPECT_EQ(sunken.Pixel(0, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(sunken.Pixel(19, 5), ColorToRGB(clBtnHighlight));
  TBitmap raised = Canvas(20, 20);
  DrawBevel(*raised.Canvas(), Rect(0, 0, 20, 20), 1);
  EXPECT_EQ(raised.Pixel(1, 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(raised.Pixel(19, 5), ColorToRGB(cl3DDkShadow));
  TBitmap outline = Canvas(20, 20);
  outline.Canvas()->Brush().Color = clYellow;
  DrawBevel(*outline.Canvas(), Rect(2, 2, 10, 8), 2);
  EXPECT_EQ(outline.Pixel(2, 2), ColorToRGB(clBtnShadow));
  EXPECT_EQ(outline.Pixel(9, 7), ColorToRGB(clBtnShadow));
  EXPECT_EQ(outline.Pixel(10, 8), clWhite);
  EXPECT_EQ(outline.Pixel(5, 5), clYellow);
  EXPECT_EQ(outline.Canvas()->Pen().Color, clBlack);  // the caller's pen is back
  TBitmap focus = Canvas(20, 20);
  DrawFocusRectangle(*focus.Canvas(), Rect(0, 0, 6, 6));
  EXPECT_EQ(focus.Pixel(0, 0), clBlack);
  EXPECT_EQ(focus.Pixel(1, 0), clWhite);
}
