// Pixel rules of the platform canvas, each where it differs from Qt's own drawing.
#include <gtest/gtest.h>

#include <functional>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <set>
#include <utility>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

TBitmap White(int w = 40, int h = 30) {
  TBitmap b(w, h, pf24bit);
  return b;
}

Pixels PixelsOf(const TBitmap& b, TColor color) {
  Pixels out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) == color) out.insert({x, y});
  return out;
}

Pixels NotWhite(const TBitmap& b) {
  Pixels out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != clWhite) out.insert({x, y});
  return out;
}

// Bounding box of a pixel set as (left, top, right, bottom) with right and bottom exclusive.
TRect BoxOf(const Pixels& px) {
  if (px.empty()) return {};
  TRect r{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (auto [x, y] : px) {
    r.Left = std::min(r.Left, x);
    r.Top = std::min(r.Top, y);
    r.Right = std::max(r.Right, x + 1);
    r.Bottom = std::max(r.Bottom, y + 1);
  }
  return r;
}

Pixels Row(int y, int x0, int x1) {  // x0..x1 inclusive
  Pixels out;
  for (int x = x0; x <= x1; ++x) out.insert({x, y});
  return out;
}

}  // namespace

TEST(Canvas, LineExcludesItsEndPointInEitherDirection) {
  struct Case { int x1, y1, x2, y2; Pixels expected; };
  const Case cases[] = {
      {2, 5, 12, 5, Row(5, 2, 11)},
      {12, 5, 2, 5, Row(5, 3, 12)},
      {4, 1, 4, 6, {{4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}}},
      {1, 1, 5, 5, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {5, 5, 1, 1, {{5, 5}, {4, 4}, {3, 3}, {2, 2}}},
      {3, 3, 3, 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2);
    TBitmap b = White();
    b.Canvas()->MoveTo(c.x1, c.y1);
    b.Canvas()->LineTo(c.x2, c.y2);
    EXPECT_EQ(NotWhite(b), c.expected);
    EXPECT_EQ(b.Canvas()->PenPos(), Point(c.x2, c.y2));
  }
}

// Lines that reach far beyond the bitmap draw only what lies on it, with the same pixels and the
// same dash phase as if the bitmap were large enough, and end points near the limits of the
// coordinate range neither overflow nor keep the canvas busy along the invisible part.
TEST(Canvas, LinesFarBeyondTheBitmapDrawTheirVisiblePartOnly) {
  struct Case { int x1, y1, x2, y2; TPenStyle style; };
  const Case cases[] = {
      {-1000, 3, 1000, 3, psDash},
      {1000, 7, -1000, 7, psDashDot},
      {-1000, -500, 1000, 500, psDot},
      {-300, 900, 30, -700, psDash},
      {17, -2000, 5, 2000, psDashDotDot},
      {-40, -40, -10, -10, psSolid},
  };
  const int shift = 2000;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2);
    TBitmap small = White(40, 30);
    TBitmap large = White(2 * shift + 40, 2 * shift + 30);
    for (TBitmap* b : {&small, &large}) {
      const int d = b == &large ? shift : 0;
      b->Canvas()->Pen().Style = c.style;
      b->Canvas()->MoveTo(c.x1 + d, c.y1 + d);
      b->Canvas()->LineTo(c.x2 + d, c.y2 + d);
    }
    Pixels expected;
    for (auto [x, y] : NotWhite(large))
      if (x >= shift && x < shift + 40 && y >= shift && y < shift + 30) expected.insert({x - shift, y - shift});
    EXPECT_EQ(NotWhite(small), expected);
  }
  TBitmap b = White(20, 10);
  b.Canvas()->MoveTo(-2000000000, 5);
  b.Canvas()->LineTo(2000000000, 5);
  b.Canvas()->MoveTo(2147483647, -2147483647);
  b.Canvas()->LineTo(-2147483647, 2147483647);
  // The second line runs through (0, 0) along x + y = 0.
  Pixels expected = Row(5, 0, 19);
  expected.insert({0, 0});
  EXPECT_EQ(NotWhite(b), expected);
}

TEST(Canvas, ShallowLineStepsAtTheNearestRowWithoutGreyPixels) {
  TBitmap b = White();
  b.Canvas()->MoveTo(1, 1);
  b.Canvas()->LineTo(12, 3);
  // y = 1 + nearest(2 (x - 1) / 11): the row steps down after x = 3 and after x = 9.
  Pixels expected = Row(1, 1, 3);
  for (auto p : Row(2, 4, 9)) expected.insert(p);
  expected.insert({10, 3});
  expected.insert({11, 3});
  EXPECT_EQ(NotWhite(b), expected);
  EXPECT_EQ(PixelsOf(b, clBlack), expected);  // every touched pixel is pure pen colour
}

TEST(Canvas, PolylineExcludesOnlyTheLastPoint) {
  TBitmap b = White();
  const TPoint pts[] = {{2, 2}, {6, 2}, {6, 6}};
  b.Canvas()->Polyline(pts, 3);
  Pixels expected = Row(2, 2, 5);
  for (int y = 2; y <= 5; ++y) expected.insert({6, y});
  EXPECT_EQ(NotWhite(b), expected);
}

TEST(Canvas, DashPatternsUseThePlatformLengths) {
  struct Case { TPenStyle style; std::vector<int> pattern; };
  const Case cases[] = {
      {psDash, {18, 6}}, {psDot, {3, 3}}, {psDashDot, {9, 6, 3, 6}}, {psDashDotDot, {9, 3, 3, 3, 3, 3}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(PenDashPattern(c.style), c.pattern);
    TBitmap b = White(80, 4);
    TCanvas* cv = b.Canvas();
    cv->Brush().Style = bsClear;  // transparent gaps
    cv->Pen().Style = c.style;
    cv->MoveTo(0, 1);
    cv->LineTo(60, 1);
    int x = 0;
    bool on = true;
    std::size_t k = 0;
    while (x < 60) {
      for (int i = 0; i < c.pattern[k] && x < 60; ++i, ++x) EXPECT_EQ(b.Pixel(x, 1), on ? clBlack : clWhite) << "x=" << x;
      on = !on;
      k = (k + 1) % c.pattern.size();
    }
  }
}

TEST(Canvas, GapsOfStyledLinesShowTheBackgroundColour) {
  TBitmap b = White(40, 6);
  TCanvas* cv = b.Canvas();
  cv->Pen().Style = psDot;
  cv->Brush().Color = clYellow;  // solid brush: opaque background in the brush colour
  cv->MoveTo(0, 1);
  cv->LineTo(12, 1);
  EXPECT_EQ(b.Pixel(0, 1), clBlack);
  EXPECT_EQ(b.Pixel(3, 1), clYellow);
  EXPECT_EQ(b.Pixel(12, 1), clWhite);  // end point excluded

  cv->SetBkColor(clLime);  // holds until the brush changes
  cv->MoveTo(0, 3);
  cv->LineTo(12, 3);
  EXPECT_EQ(b.Pixel(3, 3), clLime);
  EXPECT_EQ(cv->BkMode(), OPAQUE);

  cv->Brush().Style = bsClear;  // a clear brush makes the background transparent
  EXPECT_EQ(cv->BkMode(), TRANSPARENT);
  cv->MoveTo(0, 5);
  cv->LineTo(12, 5);
  EXPECT_EQ(b.Pixel(3, 5), clWhite);
}

TEST(Canvas, ClearPenDrawsNoLine) {
  TBitmap b = White();
  b.Canvas()->Pen().Style = psClear;
  b.Canvas()->MoveTo(1, 1);
  b.Canvas()->LineTo(20, 9);
  EXPECT_TRUE(NotWhite(b).empty());
}

TEST(Canvas, WidePensDrawSolidAndCentredWithRoundEnds) {
  TBitmap b = White();
  TCanvas* cv = b.Canvas();
  cv->Pen().Width = 3;
  cv->Pen().Style = psDash;  // wide pens ignore the dash style
  cv->MoveTo(5, 10);
  cv->LineTo(30, 10);
  for (int x = 5; x <= 30; ++x)
    for (int y = 9; y <= 11; ++y) EXPECT_EQ(b.Pixel(x, y), clBlack) << x << "," << y;
  EXPECT_EQ(b.Pixel(15, 8), clWhite);
  EXPECT_EQ(b.Pixel(15, 12), clWhite);
  EXPECT_EQ(b.Pixel(4, 8), clWhite);  // round end: the corner beyond the end stays empty
  EXPECT_EQ(PixelsOf(b, clBlack).size() + PixelsOf(b, clWhite).size(), 40u * 30u);  // no grey
}

TEST(Canvas, RectangleExcludesRightAndBottomEdges) {
  TBitmap b = White();
  TCanvas* cv = b.Canvas();
  cv->Pen().Color = clRed;
  cv->Brush().Color = clBlue;
  cv->Rectangle(2, 3, 10, 8);
  EXPECT_EQ(BoxOf(NotWhite(b)), Rect(2, 3, 10, 8));
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)), Rect(3, 4, 9, 7));
  EXPECT_EQ(PixelsOf(b, clRed).size(), 2u * 8 + 2u * 3);
  // The corners are given in any order.
  TBitmap c = White();
  c.Canvas()->Rectangle(10, 8, 2, 3);
  EXPECT_EQ(BoxOf(NotWhite(c)), Rect(2, 3, 10, 8));
}

TEST(Canvas, RectangleWithClearPenShrinksByOnePixel) {
  TBitmap b = White();
  b.Canvas()->Pen().Style = psClear;
  b.Canvas()->Brush().Color = clBlue;
  b.Canvas()->Rectangle(2, 3, 10, 8);
  EXPECT_EQ(BoxOf(NotWhite(b)), Rect(2, 3, 9, 7));
}

TEST(Canvas, InsideFrameKeepsAWidePenInsideTheRectangle) {
  TBitmap inside = White();
  inside.Canvas()->Pen().Width = 4;
  inside.Canvas()->Pen().Style = psInsideFrame;
  inside.Canvas()->Brush().Style = bsClear;
  inside.Canvas()->Rectangle(5, 5, 25, 20);
  EXPECT_EQ(BoxOf(NotWhite(inside)), Rect(5, 5, 25, 20));
  EXPECT_EQ(inside.Pixel(8, 12), clBlack);   // four pixels thick on the left
  EXPECT_EQ(inside.Pixel(9, 12), clWhite);

  TBitmap centred = White();
  centred.Canvas()->Pen().Width = 4;
  centred.Canvas()->Brush().Style = bsClear;
  centred.Canvas()->Rectangle(5, 5, 25, 20);
  const TRect box = BoxOf(NotWhite(centred));
  EXPECT_LT(box.Left, 5);
  EXPECT_GT(box.Right, 25);
}

TEST(Canvas, FillRectUsesTheBrushAndExcludesTheFarEdges) {
  TBitmap b = White();
  b.Canvas()->Brush().Color = clGreen;
  b.Canvas()->FillRect(Rect(1, 2, 6, 9));
  EXPECT_EQ(PixelsOf(b, clGreen).size(), 5u * 7);
  EXPECT_EQ(BoxOf(PixelsOf(b, clGreen)), Rect(1, 2, 6, 9));
  b.Canvas()->Brush().Style = bsClear;
  b.Canvas()->Brush().Color = clRed;
  b.Canvas()->FillRect(Rect(10, 10, 20, 20));
  EXPECT_TRUE(PixelsOf(b, clRed).empty());
}

TEST(Canvas, FrameRectIsOnePixelInTheBrushColour) {
  TBitmap b = White();
  b.Canvas()->Brush().Color = clRed;
  b.Canvas()->FrameRect(Rect(2, 2, 7, 6));
  EXPECT_EQ(PixelsOf(b, clRed).size(), 2u * 5 + 2u * 2);
  EXPECT_EQ(BoxOf(PixelsOf(b, clRed)), Rect(2, 2, 7, 6));
}

TEST(Canvas, HatchBrushesDrawEightPixelPatternsOnATransparentBackground) {
  struct Case { TBrushStyle style; bool (*on)(int x, int y); };
  const Case cases[] = {
      {bsHorizontal, [](int, int y) { return y % 8 == 6; }},
      {bsVertical, [](int x, int) { return x % 8 == 4; }},
      {bsFDiagonal, [](int x, int y) { return x % 8 == y % 8; }},
      {bsBDiagonal, [](int x, int y) { return (x % 8) + (y % 8) == 7; }},
      {bsCross, [](int x, int y) { return y % 8 == 6 || x % 8 == 4; }},
      {bsDiagCross, [](int x, int y) { return x % 8 == y % 8 || (x % 8) + (y % 8) == 7; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    TBitmap b = White(24, 24);
    b.Canvas()->Brush().Style = c.style;
    b.Canvas()->Brush().Color = clRed;
    EXPECT_EQ(b.Canvas()->BkMode(), TRANSPARENT);
    b.Canvas()->FillRect(Rect(0, 0, 24, 24));
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) ASSERT_EQ(b.Pixel(x, y), c.on(x, y) ? clRed : clWhite) << x << "," << y;
  }
  // An opaque background fills the gaps with the background colour.
  TBitmap b = White(16, 16);
  b.Canvas()->Brush().Style = bsHorizontal;
  b.Canvas()->Brush().Color = clRed;
  b.Canvas()->SetBkMode(OPAQUE);
  b.Canvas()->SetBkColor(clAqua);
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  EXPECT_EQ(b.Pixel(0, 6), clRed);
  EXPECT_EQ(b.Pixel(0, 0), clAqua);
}

TEST(Canvas, EllipseStaysInsideItsRectangleWithoutTheFarEdges) {
  TBitmap b = White();
  b.Canvas()->Brush().Color = clBlue;
  b.Canvas()->Ellipse(4, 3, 24, 17);
  EXPECT_EQ(BoxOf(NotWhite(b)), Rect(4, 3, 24, 17));
  EXPECT_EQ(b.Pixel(14, 10), clBlue);
  EXPECT_EQ(b.Pixel(4, 3), clWhite);  // corners outside the ellipse

  TBitmap clear = White();
  clear.Canvas()->Pen().Style = psClear;
  clear.Canvas()->Brush().Color = clBlue;
  clear.Canvas()->Ellipse(4, 3, 24, 17);
  const TRect box = BoxOf(NotWhite(clear));
  EXPECT_EQ(box.Right, 23);
  EXPECT_EQ(box.Bottom, 16);
}

TEST(Canvas, PolygonOutlinePassesThroughEveryPoint) {
  TBitmap b = White();
  b.Canvas()->Pen().Color = clRed;
  b.Canvas()->Brush().Color = clBlue;
  const TPoint pts[] = {{2, 2}, {12, 2}, {12, 9}, {2, 9}};
  b.Canvas()->Polygon(pts, 4);
  EXPECT_EQ(BoxOf(NotWhite(b)), Rect(2, 2, 13, 10));
  for (const TPoint& p : pts) EXPECT_EQ(b.Pixel(p.X, p.Y), clRed);
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)), Rect(3, 3, 12, 9));
}

TEST(Canvas, TextCellIsFilledUnlessTheBrushIsClear) {
  TBitmap b = White(120, 40);
  TCanvas* cv = b.Canvas();
  cv->Font().Color = clRed;
  cv->Brush().Color = clYellow;
  const TSize ext = cv->TextExtent(QStringLiteral("Hg"));
  EXPECT_GT(ext.cx, 0);
  EXPECT_GE(ext.cy, 11);
  cv->TextOut(5, 5, QStringLiteral("Hg"));
  EXPECT_EQ(BoxOf(NotWhite(b)), Rect(5, 5, 5 + ext.cx, 5 + ext.cy));
  EXPECT_FALSE(PixelsOf(b, clRed).empty());
  const auto onlyPlatform = [&](const Pixels& px) {
    for (auto [x, y] : px) {
      const TColor c = b.Pixel(x, y);
      if (c != clRed && c != clYellow) return false;
    }
    return true;
  };
  EXPECT_TRUE(onlyPlatform(NotWhite(b)));  // no anti-aliased glyph edges

  TBitmap t = White(120, 40);
  t.Canvas()->Font().Color = clRed;
  t.Canvas()->Brush().Style = bsClear;
  t.Canvas()->TextOut(5, 5, QStringLiteral("Hg"));
  EXPECT_TRUE(PixelsOf(t, clYellow).empty());
  EXPECT_EQ(NotWhite(t), PixelsOf(t, clRed));
}

TEST(Canvas, EscapementTurnsTextAboutItsTopLeftCorner) {
  struct Case { int escapement; };
  TBitmap ref = White(100, 100);
  const TSize ext = ref.Canvas()->TextExtent(QStringLiteral("Lumio"));
  const struct { int esc; TRect area; } cases[] = {
      {900, Rect(50, 50 - ext.cx, 50 + ext.cy, 50)},
      {1800, Rect(50 - ext.cx, 50 - ext.cy, 50, 50)},
      {2700, Rect(50 - ext.cy, 50, 50, 50 + ext.cx)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.esc);
    TBitmap b = White(100, 100);
    b.Canvas()->Brush().Color = clBlue;  // opaque: the whole turned cell is filled
    b.Canvas()->Font().Orientation = c.esc;
    b.Canvas()->TextOut(50, 50, QStringLiteral("Lumio"));
    const TRect box = BoxOf(NotWhite(b));
    EXPECT_NEAR(box.Left, c.area.Left, 1);
    EXPECT_NEAR(box.Top, c.area.Top, 1);
    EXPECT_NEAR(box.Right, c.area.Right, 1);
    EXPECT_NEAR(box.Bottom, c.area.Bottom, 1);
  }
}

TEST(Canvas, DrawTextPlacesLinesByTheFlags) {
  TBitmap b = White(200, 100);
  TCanvas* cv = b.Canvas();
  const int h = cv->TextHeight(QStringLiteral("X"));
  const int w = cv->TextWidth(QStringLiteral("abc"));
  struct Case { const char* name; unsigned flags; int left, top; int result; };
  const TRect box = Rect(10, 10, 110, 60);
  const Case cases[] = {
      {"left top", DT_LEFT | DT_TOP, 10, 10, h},
      {"centre", DT_CENTER, (10 + 110 - w) / 2, 10, h},
      {"right", DT_RIGHT, 110 - w, 10, h},
      {"single line vcentre", DT_SINGLELINE | DT_VCENTER, 10, (10 + 60 - h) / 2, (10 + 60 - h) / 2 + h - 10},
      {"single line bottom", DT_SINGLELINE | DT_BOTTOM, 10, 60 - h, 50},
      {"vcentre needs single line", DT_VCENTER, 10, 10, h},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap t = White(200, 100);
    t.Canvas()->Brush().Color = clBlue;
    TRect r = box;
    EXPECT_EQ(t.Canvas()->DrawText(QStringLiteral("abc"), r, c.flags), c.result);
    EXPECT_EQ(r, box);
    EXPECT_EQ(BoxOf(PixelsOf(t, clBlue)).TopLeft(), Point(c.left, c.top));
  }
}

TEST(Canvas, DrawTextBreaksLinesAndMeasures) {
  TBitmap b = White(200, 100);
  TCanvas* cv = b.Canvas();
  const int h = cv->TextHeight(QStringLiteral("X"));
  // Line breaks: CR, LF and CR LF each end a line.
  TRect r = Rect(0, 0, 10, 0);
  EXPECT_EQ(cv->DrawText(QStringLiteral("a\rbb\ncc\r\nd"), r, DT_CALCRECT), 4 * h);
  EXPECT_EQ(r.Bottom, 4 * h);
  EXPECT_EQ(r.Right, std::max(cv->TextWidth(QStringLiteral("bb")), cv->TextWidth(QStringLiteral("cc"))));
  // Single line ignores them.
  r = Rect(0, 0, 10, 0);
  EXPECT_EQ(cv->DrawText(QStringLiteral("a\r\nb"), r, DT_CALCRECT | DT_SINGLELINE), h);
  // Measuring ignores the vertical placement.
  r = Rect(0, 20, 10, 20);
  EXPECT_EQ(cv->DrawText(QStringLiteral("ab"), r, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER), h);
  EXPECT_EQ(r.Bottom, 20 + h);
  // Word break at blanks; a word wider than the rectangle keeps its line and widens the result.
  const int wordW = cv->TextWidth(QStringLiteral("word"));
  r = Rect(0, 0, wordW + 2, 0);
  EXPECT_EQ(cv->DrawText(QStringLiteral("word word word"), r, DT_CALCRECT | DT_WORDBREAK), 3 * h);
  EXPECT_EQ(r.Right, wordW);
  r = Rect(0, 0, 5, 0);
  EXPECT_EQ(cv->DrawText(QStringLiteral("unbreakable"), r, DT_CALCRECT | DT_WORDBREAK), h);
  EXPECT_EQ(r.Right, cv->TextWidth(QStringLiteral("unbreakable")));
  // Empty text measures nothing.
  r = Rect(3, 4, 3, 4);
  EXPECT_EQ(cv->DrawText(QString(), r, DT_CALCRECT), 0);
  EXPECT_EQ(r, Rect(3, 4, 3, 4));
  // Ampersands: drawn as they are with DT_NOPREFIX, else they mark a character.
  r = Rect(0, 0, 0, 0);
  cv->DrawText(QStringLiteral("a&&b"), r, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r.Right, cv->TextWidth(QStringLiteral("a&&b")));
  r = Rect(0, 0, 0, 0);
  cv->DrawText(QStringLiteral("a&&b"), r, DT_CALCRECT);
  EXPECT_EQ(r.Right, cv->TextWidth(QStringLiteral("a&b")));
  // Ellipsis fits the line into the width.
  const int narrow = cv->TextWidth(QStringLiteral("abcdef..."));
  r = Rect(0, 0, narrow, 0);
  cv->DrawText(QStringLiteral("abcdefghijklmnop"), r, DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_LE(r.Right, narrow);
}

TEST(Canvas, EllipsisKeepsTheLongestStartThatFits) {
  TBitmap b(40, 40);
  TCanvas* cv = b.Canvas();
  struct Case {
    const char* name;
    QString text;
    QString shown;   // what the ellipsis leaves, whose width is the rectangle's
    unsigned flag;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"end", QStringLiteral("abcdefghijklmnop"), QStringLiteral("abcdef..."), DT_END_ELLIPSIS},
           {"word", QStringLiteral("abcdefghijklmnop"), QStringLiteral("abcdefghij..."), DT_WORD_ELLIPSIS},
           {"path keeps the last element", QStringLiteral("C:/data/spectra/sample.jpg"), QStringLiteral("C:/da.../sample.jpg"),
            DT_PATH_ELLIPSIS},
           {"nothing fits but the dots", QStringLiteral("WWWW"), QStringLiteral("..."), DT_END_ELLIPSIS},
       }) {
    SCOPED_TRACE(c.name);
    const int width = cv->TextWidth(c.shown);
    TRect r = Rect(0, 0, width, 0);
    cv->DrawText(c.text, r, DT_CALCRECT | DT_SINGLELINE | c.flag);
    EXPECT_EQ(r.Right, width);
  }
  // A very long word is cut as well (the longest start is found by halving).
  const QString longWord(100000, QLatin1Char('#'));
  TRect r = Rect(0, 0, 300, 0);
  cv->DrawText(longWord, r, DT_CALCRECT | DT_SINGLELINE | DT_WORD_ELLIPSIS);
  EXPECT_LE(r.Right, 300);
  EXPECT_GT(r.Right, 300 - cv->TextWidth(QStringLiteral("#")));
}

TEST(Canvas, DrawTextClipsToItsRectangleUnlessNoClip) {
  TBitmap b = White(200, 40);
  b.Canvas()->Brush().Color = clBlue;
  TRect r = Rect(10, 5, 20, 30);
  b.Canvas()->DrawText(QStringLiteral("WWWWWW"), r, DT_LEFT);
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)).Right, 20);
  TBitmap n = White(200, 40);
  n.Canvas()->Brush().Color = clBlue;
  r = Rect(10, 5, 20, 30);
  n.Canvas()->DrawText(QStringLiteral("WWWWWW"), r, DT_LEFT | DT_NOCLIP);
  EXPECT_GT(BoxOf(PixelsOf(n, clBlue)).Right, 20);
}

TEST(Canvas, RaisedAndSunkenEdgesUseTheSystemColours) {
  struct Case { unsigned edge; TColor outerLT, outerRB, innerLT, innerRB; };
  const Case cases[] = {
      {EDGE_RAISED, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
      {EDGE_SUNKEN, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    TBitmap b(20, 20, pf24bit);
    b.Canvas()->Brush().Color = clRed;
    b.Canvas()->FillRect(Rect(0, 0, 20, 20));
    TRect r = Rect(2, 2, 12, 10);
    b.Canvas()->DrawEdge(r, c.edge, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(4, 4, 10, 8));
    EXPECT_EQ(b.Pixel(2, 5), ColorToRGB(c.outerLT));
    EXPECT_EQ(b.Pixel(5, 2), ColorToRGB(c.outerLT));
    EXPECT_EQ(b.Pixel(11, 5), ColorToRGB(c.outerRB));
    EXPECT_EQ(b.Pixel(5, 9), ColorToRGB(c.outerRB));
    EXPECT_EQ(b.Pixel(11, 2), ColorToRGB(c.outerRB));  // far corners belong to the bottom-right colour
    EXPECT_EQ(b.Pixel(2, 9), ColorToRGB(c.outerRB));
    EXPECT_EQ(b.Pixel(3, 5), ColorToRGB(c.innerLT));
    EXPECT_EQ(b.Pixel(10, 5), ColorToRGB(c.innerRB));
    EXPECT_EQ(b.Pixel(6, 6), clRed);  // inside untouched
    EXPECT_EQ(b.Pixel(12, 5), clRed);  // right edge excluded
  }
}

TEST(Canvas, FocusRectangleInvertsEverySecondPixelAndUndoesItself) {
  TBitmap b = White(20, 20);
  b.Canvas()->DrawFocusRect(Rect(2, 2, 10, 8));
  const Pixels black = PixelsOf(b, clBlack);
  EXPECT_EQ(NotWhite(b), black);
  EXPECT_TRUE(black.count({2, 2}));
  EXPECT_FALSE(black.count({3, 2}));
  EXPECT_TRUE(black.count({4, 2}));
  EXPECT_TRUE(black.count({9, 3}));  // right column is x = 9
  EXPECT_FALSE(black.count({10, 2}));
  EXPECT_TRUE(black.count({3, 7}));  // bottom row is y = 7
  EXPECT_EQ(BoxOf(black), Rect(2, 2, 10, 8));
  b.Canvas()->DrawFocusRect(Rect(2, 2, 10, 8));
  EXPECT_TRUE(NotWhite(b).empty());
}

TEST(Canvas, ClipRectangleLimitsDrawingUntilRemoved) {
  TBitmap b = White();
  TCanvas* cv = b.Canvas();
  cv->IntersectClipRect(Rect(5, 5, 15, 15));
  cv->IntersectClipRect(Rect(0, 0, 12, 30));  // narrows further
  EXPECT_EQ(cv->ClipRect(), Rect(5, 5, 12, 15));
  cv->Brush().Color = clBlue;
  cv->FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)), Rect(5, 5, 12, 15));
  cv->RemoveClip();
  EXPECT_FALSE(cv->HasClip());
  EXPECT_EQ(cv->ClipRect(), Rect(0, 0, 40, 30));
  cv->Brush().Color = clRed;
  cv->FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(PixelsOf(b, clRed).size(), 40u * 30);
}

TEST(Canvas, ClipSurvivesTheEndOfPainting) {
  TBitmap b = White();
  b.Canvas()->IntersectClipRect(Rect(0, 0, 10, 10));
  (void)b.Image();  // ends the painter
  b.Canvas()->Brush().Color = clBlue;
  b.Canvas()->FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)), Rect(0, 0, 10, 10));
}

TEST(Canvas, XorPenTwiceRestoresThePicture) {
  TBitmap b = White();
  b.Canvas()->Brush().Color = clRed;
  b.Canvas()->FillRect(Rect(0, 0, 20, 30));
  TCanvas* cv = b.Canvas();
  cv->Pen().Mode = pmXor;
  cv->Pen().Color = clWhite;
  cv->MoveTo(0, 5);
  cv->LineTo(40, 5);
  EXPECT_EQ(b.Pixel(3, 5), clAqua);   // red xor white
  EXPECT_EQ(b.Pixel(30, 5), clBlack);
  cv->MoveTo(0, 5);
  cv->LineTo(40, 5);
  EXPECT_EQ(b.Pixel(3, 5), clRed);
  EXPECT_EQ(b.Pixel(30, 5), clWhite);
}

TEST(Canvas, BitmapRowsShowWhatTheCanvasDrew) {
  TBitmap b(8, 4, pf24bit);
  b.Canvas()->Pen().Color = RGB(10, 20, 30);
  b.Canvas()->MoveTo(0, 2);
  b.Canvas()->LineTo(8, 2);
  const std::uint8_t* row = b.ScanLine(2);
  EXPECT_EQ(row[0], 30);  // blue, green, red
  EXPECT_EQ(row[1], 20);
  EXPECT_EQ(row[2], 10);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  // Writing a row is seen by the next drawing and by pixel reads.
  b.ScanLine(0)[0] = 0;
  b.ScanLine(0)[1] = 0;
  b.ScanLine(0)[2] = 255;
  EXPECT_EQ(b.Canvas()->Pixel(0, 0), clRed);
}

TEST(Canvas, ACopyOfABitmapDoesNotChangeWhenTheOriginalIsDrawnOn) {
  TBitmap a(10, 10, pf24bit);
  a.Canvas()->MoveTo(0, 0);
  a.Canvas()->LineTo(5, 0);
  TBitmap copy = a;
  a.Canvas()->MoveTo(0, 5);
  a.Canvas()->LineTo(5, 5);
  EXPECT_EQ(copy.Pixel(1, 0), clBlack);
  EXPECT_EQ(copy.Pixel(1, 5), clWhite);
  EXPECT_EQ(a.Pixel(1, 5), clBlack);
  const QImage held = a.Image();
  a.Canvas()->MoveTo(0, 7);
  a.Canvas()->LineTo(5, 7);
  EXPECT_EQ(qRed(held.pixel(1, 7)), 255);
}

TEST(Canvas, PaletteBitmapsBecomeTrueColourWhenDrawnOn) {
  TBitmap b(6, 6, pf8bit);
  b.Canvas()->Pen().Color = clRed;
  b.Canvas()->MoveTo(0, 0);
  b.Canvas()->LineTo(6, 0);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.Pixel(2, 0), clRed);
}

TEST(Canvas, BitmapsDrawOntoOtherCanvases) {
  TBitmap src(4, 3, pf24bit);
  src.Canvas()->Brush().Color = clLime;
  src.Canvas()->FillRect(Rect(0, 0, 4, 3));
  TBitmap dst = White();
  dst.Canvas()->Draw(5, 6, src);
  EXPECT_EQ(BoxOf(PixelsOf(dst, clLime)), Rect(5, 6, 9, 9));
  dst.Canvas()->StretchDraw(Rect(20, 20, 28, 26), src);
  EXPECT_EQ(BoxOf(PixelsOf(dst, clLime)), Rect(5, 6, 28, 26));
  EXPECT_EQ(PixelsOf(dst, clLime).size(), 12u + 48u);
}

TEST(Canvas, RecordsOntoAPictureAndDrawsWithAnotherPainter) {
  QPicture picture;
  {
    TCanvas recording(&picture);
    recording.Brush().Color = clRed;
    recording.FillRect(Rect(2, 2, 6, 5));
    recording.MoveTo(0, 8);
    recording.LineTo(10, 8);
  }
  TBitmap b = White(12, 12);
  QImage& image = b.Image();
  QPainter painter(&image);
  TCanvas external(&painter);  // draws with a painter someone else owns
  external.Pen().Color = clBlue;
  external.MoveTo(0, 10);
  external.LineTo(5, 10);
  picture.play(&painter);
  painter.end();
  EXPECT_EQ(BoxOf(PixelsOf(b, clRed)), Rect(2, 2, 6, 5));
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlack)), Rect(0, 8, 10, 9));
  EXPECT_EQ(BoxOf(PixelsOf(b, clBlue)), Rect(0, 10, 5, 11));
}
// Figures reaching far beyond the bitmap show the same pixels as figures that end just outside
// it: their sizes do not overflow and no walk along their edges runs for long.
TEST(Canvas, FiguresFarBeyondTheBitmapShowLikeThoseJustOutsideIt) {
  using Draw = std::function<void(TCanvas&, int far)>;
  const std::pair<const char*, Draw> cases[] = {
      {"Rectangle", [](TCanvas& c, int far) { c.Rectangle(-far, 2, far, 8); }},
      {"wide Rectangle",
       [](TCanvas& c, int far) {
         c.Pen().Width = 3;
         c.Rectangle(-far, 2, far, 8);
       }},
      {"FillRect", [](TCanvas& c, int far) { c.FillRect(Rect(-far, 2, far, 8)); }},
      {"FrameRect", [](TCanvas& c, int far) { c.FrameRect(Rect(-far, 2, far, 8)); }},
      {"focus rectangle", [](TCanvas& c, int far) { c.DrawFocusRect(Rect(-far, 2, far, 8)); }},
      {"edge",
       [](TCanvas& c, int far) {
         TRect r = Rect(-far, 2, far, 8);
         c.DrawEdge(r, EDGE_RAISED, BF_RECT);
       }},
      {"clip",
       [](TCanvas& c, int far) {
         c.IntersectClipRect(Rect(-far, 3, far, 6));
         c.FillRect(Rect(0, 0, 20, 10));
         c.RemoveClip();
       }},
  };
  for (const auto& [name, draw] : cases) {
    SCOPED_TRACE(name);
    TBitmap near = White(20, 10), far = White(20, 10);
    for (TBitmap* b : {&near, &far}) {
      b->Canvas()->Brush().Color = clRed;
      draw(*b->Canvas(), b == &near ? 1000 : 2000000000);
    }
    EXPECT_FALSE(NotWhite(near).empty());
    EXPECT_EQ(NotWhite(far), NotWhite(near));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(far.Pixel(x, y), near.Pixel(x, y)) << x << "," << y;
  }
  // Ellipses, polygons and text only must not fail.
  TBitmap b = White(20, 10);
  b.Canvas()->Ellipse(-2000000000, 2, 2000000000, 8);
  const TPoint points[] = {{-2000000000, 0}, {2000000000, 9}, {0, 9}};
  b.Canvas()->Polygon(points, 3);
  b.Canvas()->Polyline(points, 3);
  TRect r = Rect(-2000000000, 2, 2000000000, 8);
  b.Canvas()->DrawText("abc", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// Widths are remembered per face, height and style: every change of those measures and draws as a
// canvas that never measured anything before, and going back finds the first widths again.
TEST(Canvas, RememberedTextWidthsFollowEveryChangeOfTheFont) {
  const QString text = QStringLiteral("-12.5e3 Wide");
  TBitmap used = White(200, 60);
  TCanvas* cv = used.Canvas();
  const int first = cv->TextWidth(text);
  struct Case {
    const char* name;
    std::function<void(TFont&)> change;
  };
  const Case cases[] = {
      {"height", [](TFont& f) { f.Height = 19; }},
      {"bold", [](TFont& f) { f.Style = FontStyleBit(fsBold); }},
      {"face", [](TFont& f) { f.Name = QStringLiteral("Courier New"); }},
      {"colour and turn keep the width", [](TFont& f) { f.Color = clRed; f.Orientation = 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFont font;
    c.change(font);
    cv->Font() = font;
    const TSize measured = cv->TextExtent(text);
    const QFontMetrics fresh(font.ToQFont());
    EXPECT_EQ(measured, (TSize{fresh.horizontalAdvance(text), fresh.height()}));
    // Right-aligned, the text starts where its width says.
    TBitmap again = White(200, 60);
    again.Canvas()->Font() = font;
    TRect r1 = Rect(0, 0, 190, 50), r2 = r1;
    used.Canvas()->Brush().Color = clWhite;
    used.Canvas()->FillRect(Rect(0, 0, 200, 60));
    used.Canvas()->DrawText(text, r1, DT_RIGHT | DT_SINGLELINE);
    again.Canvas()->DrawText(text, r2, DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(NotWhite(used), NotWhite(again));
  }
  cv->Font() = TFont();
  EXPECT_EQ(cv->TextWidth(text), first);
  // The changes above are of widths that differ from the first.
  TFont tall;
  tall.Height = 19;
  EXPECT_NE(QFontMetrics(tall.ToQFont()).horizontalAdvance(text), first);
}
