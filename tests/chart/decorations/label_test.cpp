// Labels: the room they ask for, captions placed by alignment and margins (level and turned),
// pictures from the chart's picture lists with teal left out, the property table, and a chart
// with a title and a turned label.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <limits>

#include "chart/decorations/rUdudLabel.h"
#include "platform/ImageList.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

constexpr TColor kTeal = RGB(0, 128, 128);

// A 24 x 24 picture: teal all round a red square from (4, 4) to (19, 19).
QImage RedSquareOnTeal() {
  QImage image(24, 24, QImage::Format_RGB32);
  image.fill(QColor(0, 128, 128));
  QPainter p(&image);
  p.fillRect(4, 4, 16, 16, QColor(255, 0, 0));
  return image;
}

struct LabelFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotLabel* label = nullptr;
  TBitmap bitmap{200, 200};

  void SetUp() override { label = chart.Labels(chart.AddLabel()); }
  TFont Font() const { return label->Font()->Font(); }
  int ZeroW() const { return TextW(Font(), QStringLiteral("0")); }
  int ZeroH() const { return TextH(Font(), QStringLiteral("0")); }
  // Draws the label alone into a black bitmap.
  void DrawAt(const TRect& r) {
    bitmap.Canvas()->Brush() = TBrush{clBlack, bsSolid};
    bitmap.Canvas()->FillRect(Rect(0, 0, 200, 200));
    label->SetLayoutRect(r);
    label->Draw(bitmap.Canvas(), clBlack);
  }
  TRect White() { return BoxOf(bitmap, clWhite, Rect(0, 0, 200, 200)); }
};

TEST_F(LabelFixture, TheCaptionsLinesAndTheTopAndBottomMarginsMakeItsHeight) {
  struct Case {
    const char* name;
    QString caption;
    int lines;
    double top, bottom;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"one line, no margins", QStringLiteral("Spectrum"), 1, 0, 0},
           {"two lines", QStringLiteral("Sample\r\nReference"), 2, 0, 0},
           {"three lines, each kind of break", QStringLiteral("a\nb\rc"), 3, 0, 0},
           {"margins", QStringLiteral("Spectrum"), 1, 0.5, 1.5},
           {"half margins round to even", QStringLiteral("Spectrum"), 1, 2.5, 0.25},
           {"no caption, margins only", QString(), 0, 1, 1},
       }) {
    SCOPED_TRACE(c.name);
    label->SetCaption(c.caption);
    label->SetMarginTop(c.top);
    label->SetMarginBottom(c.bottom);
    const int lineHeight = TextH(Font(), QStringLiteral("Spectrum"));
    EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), c.lines * lineHeight + Nearest(ZeroH() * c.top) + Nearest(ZeroH() * c.bottom));
  }
  // The side margins take no height.
  label->SetMarginLeft(5);
  label->SetMarginRight(5);
  EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), Nearest(ZeroH() * 1.0) * 2);
  EXPECT_EQ(label->RequiredEndMargin(bitmap.Canvas()), 0);
}

TEST_F(LabelFixture, ALevelCaptionIsPlacedByAlignmentWithinItsMargins) {
  label->SetCaption(QStringLiteral("Absorbance"));
  label->SetMarginLeft(2);
  label->SetMarginRight(3);
  const TRect r = Rect(10, 40, 190, 120);
  const int l = Nearest(ZeroW() * 2.0), rr = Nearest(ZeroW() * 3.0);
  const int w = TextW(Font(), QStringLiteral("Absorbance"));
  struct Case {
    TiAlignmentHorizontal alignment;
    int textLeft;   // where the text's cell starts
  };
  for (const Case& c : std::initializer_list<Case>{{iahLeft, r.Left + l},
                                                   {iahRight, r.Right - rr - w},
                                                   {iahCenter, (r.Left + l + r.Right - rr - w) / 2}}) {
    SCOPED_TRACE(c.alignment);
    label->SetAlignment(c.alignment);
    DrawAt(r);
    const TRect ink = White();
    ASSERT_GT(ink.Right, ink.Left);
    // The ink lies inside the text's cell, a glyph's side bearing from its ends.
    EXPECT_GE(ink.Left, c.textLeft - 1);
    EXPECT_LE(ink.Left, c.textLeft + 3);
    EXPECT_LE(ink.Right, c.textLeft + w + 1);
    EXPECT_GE(ink.Right, c.textLeft + w - 4);
    // Several lines may follow, so the caption starts at the top (the label is as tall as its
    // text when it has its own level).
    EXPECT_GE(ink.Top, r.Top);
    EXPECT_LE(ink.Bottom, r.Top + TextH(Font(), QStringLiteral("Absorbance")));
  }
}

TEST_F(LabelFixture, TheTopAndBottomMarginsMoveALevelCaption) {
  label->SetCaption(QStringLiteral("X"));
  label->SetMarginTop(3);
  const int h = TextH(Font(), QStringLiteral("X"));
  const int t = Nearest(ZeroH() * 3.0);
  DrawAt(Rect(10, 20, 190, 20 + t + h));
  const TRect ink = White();
  EXPECT_GE(ink.Top, 20 + t);
  EXPECT_LE(ink.Bottom, 20 + t + h);
}

TEST_F(LabelFixture, ATurnedCaptionReadsUpwardsAndIsPlacedAlongTheLabel) {
  label->SetHorizontal(false);
  label->SetCaption(QStringLiteral("Intensity"));
  label->SetMarginLeft(1);
  label->SetMarginRight(2);
  const TRect r = Rect(20, 10, 60, 190);
  const int w = TextW(Font(), QStringLiteral("Intensity"));
  const int half = w / 2;
  const int l = Nearest(ZeroW() * 1.0), rr = Nearest(ZeroW() * 2.0);
  struct Case {
    TiAlignmentHorizontal alignment;
    int centre;   // of the text along the label
  };
  for (const Case& c : std::initializer_list<Case>{{iahCenter, (r.Top + r.Bottom) / 2},
                                                   {iahLeft, r.Bottom - half - l},
                                                   {iahRight, r.Top + half + rr}}) {
    SCOPED_TRACE(c.alignment);
    label->SetAlignment(c.alignment);
    DrawAt(r);
    const TRect ink = White();
    ASSERT_GT(ink.Bottom, ink.Top);
    EXPECT_GT(ink.Bottom - ink.Top, 2 * (ink.Right - ink.Left));   // turned: tall and narrow
    EXPECT_LE(std::abs((ink.Top + ink.Bottom) / 2 - c.centre), 3);
    EXPECT_GE(ink.Left, r.Left);
    EXPECT_LE(ink.Right, r.Right);
  }
  // Reading upwards: the first letter (a capital, taller than the rest) is at the bottom.
  label->SetCaption(QStringLiteral("Ixxxxxxx"));
  label->SetAlignment(iahCenter);
  DrawAt(r);
  const TRect ink = White();
  const TRect bottomQuarter = BoxOf(bitmap, clWhite, Rect(r.Left, ink.Bottom - (ink.Bottom - ink.Top) / 8, r.Right, ink.Bottom));
  const TRect topQuarter = BoxOf(bitmap, clWhite, Rect(r.Left, ink.Top, r.Right, ink.Top + (ink.Bottom - ink.Top) / 8));
  EXPECT_GT(bottomQuarter.Right - bottomQuarter.Left, topQuarter.Right - topQuarter.Left);
}

TEST_F(LabelFixture, APictureFromAPictureListIsDrawnWithoutItsTeal) {
  chart.ImageList(1)->Add(RedSquareOnTeal());
  label->SetCaption(QStringLiteral("not shown"));
  label->SetImageListIndex(1);
  label->SetImageIndex(0);
  label->SetMarginTop(1);
  label->SetMarginLeft(1);
  label->SetMarginRight(2);
  const int t = Nearest(ZeroH() * 1.0), l = Nearest(ZeroW() * 1.0), rr = Nearest(ZeroW() * 2.0);
  const TRect r = Rect(10, 30, 191, 90);
  struct Case {
    TiAlignmentHorizontal alignment;
    int x;   // the picture's left edge
  };
  for (const Case& c : std::initializer_list<Case>{{iahCenter, (r.Left + r.Right) / 2 - 12},
                                                   {iahLeft, r.Left + l},
                                                   {iahRight, r.Right - rr - 24}}) {
    SCOPED_TRACE(c.alignment);
    label->SetAlignment(c.alignment);
    DrawAt(r);
    EXPECT_EQ(BoxOf(bitmap, clRed, Rect(0, 0, 200, 200)), Rect(c.x + 4, r.Top + t + 4, c.x + 20, r.Top + t + 20));
    EXPECT_EQ(BoxOf(bitmap, kTeal, Rect(0, 0, 200, 200)).Right, 0);   // the background shows through
    EXPECT_EQ(White().Right, 0);                                        // and no caption
  }
  // Greyed when the label is disabled.
  label->SetEnabled(false);
  DrawAt(r);
  EXPECT_EQ(BoxOf(bitmap, clRed, Rect(0, 0, 200, 200)).Right, 0);
  const int x = r.Right - rr - 24;
  EXPECT_EQ(BoxOf(bitmap, clGray, Rect(0, 0, 200, 200)), Rect(x + 4, r.Top + t + 4, x + 20, r.Top + t + 20));
}

TEST_F(LabelFixture, WithoutSuchAPictureTheCaptionIsShown) {
  chart.ImageList(1)->Add(RedSquareOnTeal());
  label->SetCaption(QStringLiteral("Caption"));
  struct Case {
    const char* name;
    int list, index;
  };
  for (const Case& c : std::initializer_list<Case>{{"index beyond the list", 1, 1},
                                                   {"negative index", 1, -1},
                                                   {"an empty list", 0, 0},
                                                   {"no such list", 3, 0},
                                                   {"no list", -1, 0}}) {
    SCOPED_TRACE(c.name);
    label->SetImageListIndex(c.list);
    label->SetImageIndex(c.index);
    DrawAt(Rect(10, 30, 190, 90));
    EXPECT_GT(White().Right, 0);
    EXPECT_EQ(BoxOf(bitmap, clRed, Rect(0, 0, 200, 200)).Right, 0);
    EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), TextH(Font(), QStringLiteral("Caption")));
  }
}

TEST_F(LabelFixture, APictureTakesItsOwnRoom) {
  chart.ImageList(2)->Add(RedSquareOnTeal());
  label->SetCaption(QString());   // a picture alone would otherwise get no room at all
  label->SetImageListIndex(2);
  label->SetMarginTop(1);
  label->SetMarginBottom(2);
  label->SetMarginLeft(3);
  label->SetMarginRight(4);
  EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), 24 + Nearest(ZeroH() * 1.0) + Nearest(ZeroH() * 2.0));
  label->SetHorizontal(false);
  EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), 24 + Nearest(ZeroW() * 3.0) + Nearest(ZeroW() * 4.0));
}

TEST_F(LabelFixture, MarginsFromAFileThatAreNoNumberOrHugeStayWithinTheCanvas) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  label->SetCaption(QStringLiteral("Spectrum"));
  const int text = TextH(Font(), QStringLiteral("Spectrum"));
  struct Case {
    const char* name;
    double margin;
    int size;
  };
  for (const Case& c : std::initializer_list<Case>{{"no number counts as 0", nan, text},
                                                   {"huge stops at the pixel range", 1e300, 32000},
                                                   {"infinite too", inf, 32000},
                                                   {"and far below", -inf, -32000}}) {
    SCOPED_TRACE(c.name);
    for (auto set : {&TiPlotLabel::SetMarginLeft, &TiPlotLabel::SetMarginRight, &TiPlotLabel::SetMarginTop,
                     &TiPlotLabel::SetMarginBottom})
      (label->*set)(c.margin);
    EXPECT_EQ(label->RequiredSize(bitmap.Canvas()), c.size);
    DrawAt(Rect(10, 10, 190, 60));   // must neither overflow nor stall
    label->SetHorizontal(false);
    DrawAt(Rect(10, 10, 60, 190));
    label->SetHorizontal(true);
  }
}

TEST_F(LabelFixture, PropertiesDefaultsAndValueNames) {
  EXPECT_TRUE(label->Horizontal());
  EXPECT_EQ(label->Alignment(), iahCenter);
  EXPECT_EQ(label->ImageListIndex(), -1);
  EXPECT_EQ(label->ImageIndex(), 0);
  EXPECT_EQ(label->MarginLeft() + label->MarginRight() + label->MarginTop() + label->MarginBottom(), 0.0);
  EXPECT_EQ(label->Font()->Name(), QStringLiteral("Arial"));
  EXPECT_EQ(label->Font()->Size(), 14);
  EXPECT_EQ(label->Font()->Color(), clWhite);
  EXPECT_TRUE(label->Font()->Style() & FontStyleBit(fsBold));

  QStringList names;
  for (const TiPropertyInfo& p : label->ClassInfo().Properties()) names << p.Name;
  const QStringList own{"Caption", "Font", "Alignment", "MarginLeft", "MarginRight", "MarginTop", "MarginBottom",
                        "ImageListIndex", "ImageIndex"};
  EXPECT_EQ(names.mid(names.size() - own.size()), own);
  const TiPropertyInfo* alignment = label->ClassInfo().Find(QStringLiteral("Alignment"));
  ASSERT_NE(alignment, nullptr);
  EXPECT_EQ(alignment->ValueNames, (QStringList{"iahCenter", "iahLeft", "iahRight"}));

  // Every setter repaints once, and only on a change.
  int changes = 0;
  chart.Master()->OnChanged = [&](TiPlotMasterManager*) { ++changes; };
  label->SetAlignment(iahRight);
  label->SetAlignment(iahRight);
  label->SetMarginLeft(1);
  label->SetMarginRight(1);
  label->SetMarginTop(1);
  label->SetImageListIndex(0);
  label->SetImageIndex(2);
  label->SetImageIndex(2);
  label->Font()->SetColor(clYellow);
  EXPECT_EQ(changes, 7);

  QStringList lines;
  WriteProperties(*label, QString(), lines);
  TiPlotLabel* copy = chart.Labels(chart.AddLabel());
  ReadProperties(*copy, QString(), lines);
  EXPECT_EQ(copy->Alignment(), iahRight);
  EXPECT_EQ(copy->ImageListIndex(), 0);
  EXPECT_EQ(copy->ImageIndex(), 2);
  EXPECT_EQ(copy->MarginTop(), 1.0);
}

TEST(LabelChart, TheTitleAndATurnedLabelInAPaintedChart) {
  TPaintableChart small(300, 160);
  TiPlotComponent& chart = small.chart;
  TiPlotLabel* title = chart.Labels(chart.AddLabel());
  chart.SetTitleText(QStringLiteral("Lumio Spectrum"));
  chart.SetTitleMargin(0.5);
  EXPECT_EQ(title->Caption(), QStringLiteral("Lumio Spectrum"));
  EXPECT_EQ(title->MarginBottom(), 0.5);
  TiPlotLabel* side = chart.Labels(chart.AddLabel());
  side->SetHorizontal(false);
  side->SetCaption(QStringLiteral("Counts"));
  side->Font()->SetColor(clYellow);
  side->Font()->SetHeight(13);
  chart.ImageList(0)->Add(RedSquareOnTeal());
  TiPlotLabel* picture = chart.Labels(chart.AddLabel());
  picture->SetImageListIndex(0);
  picture->SetAlignment(iahRight);
  picture->SetMarginRight(1);

  TBitmap bitmap = small.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-labels.png")));
  const TRect whole = Rect(0, 0, bitmap.Width(), bitmap.Height());
  // The title's ink lies in its rectangle, which is as tall as it asks (text and margin).
  const TRect t = title->GetLayoutRect();
  const TRect ink = BoxOf(bitmap, clWhite, whole);
  EXPECT_GE(ink.Top, t.Top);
  EXPECT_LE(ink.Bottom, t.Bottom);
  TBitmap scratch(8, 8);
  EXPECT_EQ(t.Bottom - t.Top, title->RequiredSize(scratch.Canvas()));
  // The turned label stands beside the data view, its ink tall and narrow inside its rectangle.
  const TRect s = side->GetLayoutRect();
  const TRect yellow = BoxOf(bitmap, clYellow, whole);
  EXPECT_GE(yellow.Left, s.Left);
  EXPECT_LE(yellow.Right, s.Right);
  EXPECT_GT(yellow.Bottom - yellow.Top, yellow.Right - yellow.Left);
  // The picture at the right end of its own row, without its teal.
  const TRect p = picture->GetLayoutRect();
  EXPECT_EQ(p.Bottom - p.Top, 24);
  const TRect red = BoxOf(bitmap, clRed, whole);
  EXPECT_EQ(red.Right, p.Right - Nearest(TextW(picture->Font()->Font(), QStringLiteral("0")) * 1.0) - 4);
  EXPECT_EQ(BoxOf(bitmap, kTeal, whole).Right, 0);
}

}  // namespace
