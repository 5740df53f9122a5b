// Legends: the property table, the wrapping of entries into columns and rows, the column widths
// and offsets, the scroll buttons, the value columns, the line sample and the selected entry in
// pixels, the rectangles that make channels clickable, and clicks and menus through the chart.
#include <gtest/gtest.h>

#include <QImage>
#include <limits>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Menus.h"
#include "tests/chart/core/InteractionTestSupport.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

struct LegendFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotLegend* legend = nullptr;
  TBitmap bitmap{600, 400};

  void SetUp() override {
    chart.AddXAxis();
    chart.AddYAxis();
    legend = chart.Legend(chart.AddLegend());
  }
  // Channels "Channel 1" .. "Channel n", listed in the legend and plotted on the two axes.
  void AddChannels(int n) {
    for (int i = 0; i < n; ++i) chart.AddChannel();
  }
  void Layout(const TRect& rect) {
    legend->SetLayoutRect(rect);
    legend->LayoutEntries(bitmap.Canvas());
  }
  static void Click(TiPlotButton* button) { ClickButton(button); }
  int W0() const { return TextW(legend->Font()->Font(), QStringLiteral("0")); }
  int H0() const { return TextH(legend->Font()->Font(), QStringLiteral("0")); }
  // The default margins (1.0) and row gap (0.25) in pixels.
  int MarginW() const { return Nearest(W0() * 1.0); }
  int MarginH() const { return Nearest(H0() * 1.0); }
  int RowGap() const { return Nearest(H0() * 0.25); }
  int WrapGap() const { return Nearest(H0() * 2.0); }
  int ColumnGap() const { return Nearest(W0() * 0.5); }
  // The widest of the channels' titles in the legend's font (the selected font has the same face).
  int WidestTitle() const {
    int w = 0;
    for (int i = 0; i < chart.ChannelCount(); ++i) w = std::max(w, TextW(legend->Font()->Font(), chart.Channel(i)->TitleText()));
    return w;
  }
  // An entry with the line sample and the title, nothing else.
  int PlainEntryWidth() const { return 13 + 3 + ColumnGap() + WidestTitle(); }
};

// --- Properties ---

TEST_F(LegendFixture, EveryPropertyIsPublishedWithItsDefault) {
  struct Case {
    const char* name;
    std::int64_t value;
  };
  const TiClassInfo& info = legend->ClassInfo();
  for (const Case& c : std::initializer_list<Case>{
           {"Horizontal", 0}, {"BackGroundColor", RGB(128, 128, 128)}, {"BackGroundTransparent", 1},
           {"SelectedItemBackGroundColor", RGB(255, 255, 0)}, {"ColumnTitlesVisible", 0}, {"ShowColumnLine", 1},
           {"ShowColumnMarker", 0}, {"ShowColumnXAxisTitle", 0}, {"ShowColumnYAxisTitle", 0}, {"ShowColumnXValue", 0},
           {"ShowColumnYValue", 0}, {"ShowColumnYMax", 0}, {"ShowColumnYMin", 0}, {"ShowColumnYMean", 0},
           {"WrapColDesiredCount", 1}, {"WrapRowDesiredCount", 5}, {"WrapColAutoCountEnabled", 0},
           {"WrapRowAutoCountEnabled", 1}, {"WrapColAutoCountMax", 100}, {"WrapRowAutoCountMax", 100},
           {"WrapColSpacingAuto", 1}, {"WrapRowSpacingAuto", 0}, {"ChannelNameColorStyle", iplcncsFont},
           {"LineColumnWidth", 13}, {"LineColumnHeight", 3},
       }) {
    SCOPED_TRACE(c.name);
    const TiPropertyInfo* p = info.Find(QString::fromLatin1(c.name));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetOrdinal(*legend), c.value);
  }
  struct FloatCase {
    const char* name;
    double value;
  };
  for (const FloatCase& c : std::initializer_list<FloatCase>{{"MarginLeft", 1.0}, {"MarginRight", 1.0}, {"MarginTop", 1.0},
                                                             {"MarginBottom", 1.0}, {"ColumnSpacing", 0.5}, {"RowSpacing", 0.25},
                                                             {"WrapRowSpacingMin", 0.25}, {"WrapColSpacingMin", 2.0},
                                                             {"ChannelNameMaxWidth", 0.0}}) {
    SCOPED_TRACE(c.name);
    const TiPropertyInfo* p = info.Find(QString::fromLatin1(c.name));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetFloat(*legend), c.value);
  }
  const QStringList captions{"Title", "X-Axis", "Y-Axis", "X", "Y", "Y-Max", "Y-Min", "Y-Mean"};
  const QStringList names{"CaptionColumnTitle", "CaptionColumnXAxisTitle", "CaptionColumnYAxisTitle", "CaptionColumnXValue",
                          "CaptionColumnYValue", "CaptionColumnYMax", "CaptionColumnYMin", "CaptionColumnYMean"};
  for (int i = 0; i < names.size(); ++i) {
    const TiPropertyInfo* p = info.Find(names[i]);
    ASSERT_NE(p, nullptr) << names[i].toStdString();
    EXPECT_EQ(p->GetString(*legend), captions[i]);
  }
  // The fonts: entries white, the selected entry black, the header aqua and bold.
  for (const char* name : {"Font", "SelectedItemFont", "ColumnTitlesFont"}) EXPECT_NE(info.Find(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_EQ(legend->Font()->Color(), clWhite);
  EXPECT_EQ(legend->SelectedItemFont()->Color(), clBlack);
  EXPECT_EQ(legend->ColumnTitlesFont()->Color(), clAqua);
  EXPECT_TRUE(legend->ColumnTitlesFont()->Style() & FontStyleBit(fsBold));
}

TEST_F(LegendFixture, RowSpacingAndWrapRowSpacingMinAreOneSetting) {
  int changes = 0;
  chart.Master()->OnChanged = [&](TiPlotMasterManager*) { ++changes; };
  legend->SetWrapRowSpacingMin(0.75);
  EXPECT_EQ(legend->RowSpacing(), 0.75);
  legend->SetRowSpacing(0.75);   // the same value: no change
  EXPECT_EQ(changes, 1);
  legend->SetRowSpacing(0.5);
  EXPECT_EQ(legend->WrapRowSpacingMin(), 0.5);
}

TEST_F(LegendFixture, PixelSizesAreHeldToTheDrawableRange) {
  legend->SetLineColumnWidth(-5);
  legend->SetLineColumnHeight(std::numeric_limits<int>::max());
  EXPECT_EQ(legend->LineColumnWidth(), 0);
  EXPECT_EQ(legend->LineColumnHeight(), 32000);
}

// --- Wrapping ---

TEST_F(LegendFixture, TwelveChannelsInEightRowsScrollOneEntryPerClick) {
  AddChannels(12);
  const int step = H0() + RowGap();
  const TRect r = Rect(100, 20, 300, 20 + MarginH() + 8 * step - RowGap() + MarginH() + 2);
  Layout(r);
  EXPECT_EQ(legend->WrapColCount(), 1);
  EXPECT_EQ(legend->WrapRowCount(), 8);
  EXPECT_EQ(legend->FirstItem(), 0);
  EXPECT_EQ(legend->LastItem(), 7);
  const int top = r.Top + MarginH();
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(legend->Item(i).Row, i + 1);
    EXPECT_EQ(legend->Item(i).Column, 1);
    EXPECT_EQ(legend->Item(i).X, r.Left + MarginW());
    EXPECT_EQ(legend->Item(i).Y, top + i * step);
  }
  EXPECT_EQ(legend->Item(8).Row, 0);   // not placed
  // Width: one entry column, the margins and the room of the buttons; height: eight rows.
  EXPECT_EQ(legend->EntryWidth(), PlainEntryWidth());
  EXPECT_EQ(legend->RequiredWidth(), PlainEntryWidth() + 2 * MarginW() + 25);
  EXPECT_EQ(legend->RequiredHeight(), 2 * MarginH() + 8 * step - RowGap());
  EXPECT_EQ(legend->RequiredSize(bitmap.Canvas()), legend->RequiredWidth());

  TiPlotLegendButton* up = legend->UpButton();
  TiPlotLegendButton* down = legend->DownButton();
  ASSERT_TRUE(up->Visible() && down->Visible());
  const int right = r.Right - MarginW();
  EXPECT_EQ(up->GetButtonRect(), Rect(right - 17, top, right, top + 17));
  EXPECT_EQ(down->GetButtonRect(), Rect(right - 17, r.Bottom - MarginH() - 17, right, r.Bottom - MarginH()));
  EXPECT_FALSE(up->Enabled());
  EXPECT_TRUE(down->Enabled());

  for (int click = 1; click <= 4; ++click) {
    Click(down);
    Layout(r);
    EXPECT_EQ(legend->FirstItem(), click);
    EXPECT_EQ(legend->LastItem(), click + 7);
    EXPECT_EQ(legend->Item(click).Y, top);
  }
  // The last entry is shown: the down button has nothing left to do.
  EXPECT_FALSE(down->Enabled());
  EXPECT_TRUE(up->Enabled());
  Click(down);
  Layout(r);
  EXPECT_EQ(legend->FirstItem(), 4);
  Click(up);
  Layout(r);
  EXPECT_EQ(legend->FirstItem(), 3);
}

TEST_F(LegendFixture, AHeldScrollButtonRepeats) {
  AddChannels(8);
  const TRect r = Rect(0, 0, 200, 2 * MarginH() + 3 * (H0() + RowGap()));
  Layout(r);
  ASSERT_EQ(legend->FirstItem(), 0);
  HoldScrollButtonDown(legend->DownButton(), [&] { return legend->FirstItem(); });
}

TEST_F(LegendFixture, AVerticalLegendThatFitsFewerThanThreeRowsStillGetsThree) {
  AddChannels(5);
  Layout(Rect(0, 0, 200, 2 * MarginH() + H0()));   // room for one row
  EXPECT_EQ(legend->WrapRowCount(), 3);
  EXPECT_EQ(legend->LastItem(), 2);
  EXPECT_TRUE(legend->DownButton()->Visible());
  EXPECT_EQ(legend->RequiredHeight(), 2 * MarginH() + 3 * (H0() + RowGap()) - RowGap());
}

TEST_F(LegendFixture, WhenEveryEntryFitsTheScrollPositionGoesBackToTheStart) {
  AddChannels(6);
  const TRect small = Rect(0, 0, 200, 2 * MarginH() + 3 * (H0() + RowGap()));
  Layout(small);
  Click(legend->DownButton());
  Click(legend->DownButton());
  Layout(small);
  ASSERT_EQ(legend->FirstItem(), 2);
  // Grown: all six fit, and all six are placed from the top in the same computation.
  Layout(Rect(0, 0, 200, 300));
  EXPECT_FALSE(legend->DownButton()->Visible());
  EXPECT_EQ(legend->FirstItem(), 0);
  EXPECT_EQ(legend->LastItem(), 5);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(legend->Item(i).Row, i + 1) << i;
  // A disabled legend shows no buttons and does not scroll.
  Layout(small);
  legend->SetEnabled(false);
  Layout(small);
  EXPECT_FALSE(legend->UpButton()->Visible());
  EXPECT_EQ(legend->FirstItem(), 0);
}

TEST_F(LegendFixture, AHorizontalLegendSpreadsItsEntryColumnsToTheButtonsRoom) {
  AddChannels(6);
  legend->SetHorizontal(true);
  legend->SetWrapColDesiredCount(3);
  const TRect r = Rect(10, 10, 590, 100);
  Layout(r);
  const int ew = PlainEntryWidth();
  ASSERT_EQ(legend->WrapColCount(), 3);
  EXPECT_EQ(legend->WrapRowCount(), 2);   // ceil(6 / 3)
  const int areaWidth = (r.Right - MarginW()) - (r.Left + MarginW());
  const int gap = (areaWidth - 25 - 3 * ew) / 2;
  ASSERT_EQ(legend->ColumnXPositions().size(), 3u);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(legend->ColumnXPositions()[c], r.Left + MarginW() + c * (ew + gap)) << c;
  // The last column ends at the right edge less the buttons' room (less what the division cut).
  const int end = legend->ColumnXPositions()[2] + ew;
  EXPECT_LE(end, r.Right - MarginW() - 25);
  EXPECT_GT(end, r.Right - MarginW() - 25 - 2);
  EXPECT_EQ(legend->Item(4).X, legend->ColumnXPositions()[2]);
  EXPECT_EQ(legend->Item(4).Row, 1);
  EXPECT_EQ(legend->Item(5).Row, 2);
  // Across its side a horizontal legend needs its height: two rows.
  EXPECT_EQ(legend->RequiredSize(bitmap.Canvas()), 2 * MarginH() + 2 * (H0() + RowGap()) - RowGap());
}

TEST_F(LegendFixture, CountsFollowTheWrapSettings) {
  // Entry heights of one "0" and the default gaps; the area is given in rows and columns that fit.
  struct Case {
    const char* name;
    bool horizontal;
    int entries;
    int rowsFit;   // vertical: rows of entries that fit the area
    int colDesired, rowDesired;
    bool colAuto, rowAuto;
    int colMax, rowMax;
    int cols, rows;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"vertical, desired 1 column", false, 7, 10, 1, 5, false, true, 100, 100, 1, 7},
           {"vertical, rows limited by the desired count", false, 7, 10, 1, 4, false, false, 100, 100, 1, 4},
           {"vertical, automatic columns", false, 7, 3, 1, 5, true, true, 100, 100, 3, 3},
           {"vertical, automatic columns held to their maximum", false, 9, 3, 1, 5, true, true, 2, 100, 2, 3},
           {"vertical, desired count 0 is used as 1", false, 4, 10, 0, 5, false, true, 100, 100, 1, 4},
           {"vertical, a maximum of 0 is used as 1", false, 4, 10, 3, 5, false, true, 0, 100, 1, 4},
           {"vertical, desired rows below 1 still show three", false, 4, 10, 1, -2, false, false, 100, 100, 1, 3},
           {"horizontal, automatic rows", true, 7, 1, 3, 5, false, true, 100, 100, 3, 3},
           {"horizontal, desired rows", true, 7, 1, 2, 2, false, false, 100, 100, 2, 3},
           {"horizontal, automatic columns fit the entries", true, 4, 1, 1, 5, true, true, 100, 100, 4, 1},
           {"horizontal, automatic columns with a maximum of 0", true, 4, 1, 1, 5, true, true, 0, 100, 1, 4},
       }) {
    SCOPED_TRACE(c.name);
    TiPlotComponent ch;
    ch.AddXAxis();
    ch.AddYAxis();
    TiPlotLegend* l = ch.Legend(ch.AddLegend());
    for (int i = 0; i < c.entries; ++i) ch.AddChannel();
    l->SetHorizontal(c.horizontal);
    l->SetWrapColDesiredCount(c.colDesired);
    l->SetWrapRowDesiredCount(c.rowDesired);
    l->SetWrapColAutoCountEnabled(c.colAuto);
    l->SetWrapRowAutoCountEnabled(c.rowAuto);
    l->SetWrapColAutoCountMax(c.colMax);
    l->SetWrapRowAutoCountMax(c.rowMax);
    const int height = 2 * MarginH() + c.rowsFit * (H0() + RowGap()) - RowGap();
    l->SetLayoutRect(Rect(0, 0, c.horizontal ? 2000 : 590, height));
    ASSERT_TRUE(l->LayoutEntries(bitmap.Canvas()));
    EXPECT_EQ(l->WrapColCount(), c.cols);
    EXPECT_EQ(l->WrapRowCount(), c.rows);
    // The stored counts keep what was set.
    EXPECT_EQ(l->WrapColDesiredCount(), c.colDesired);
    EXPECT_GT(l->RequiredWidth(), 0);
  }
}

TEST_F(LegendFixture, DivisorsOfZeroOrLessFitOneRowAndOneColumn) {
  AddChannels(4);
  // Gaps that cancel the entry height and width: no division by zero, one of each fits.
  legend->SetRowSpacing(-1.0);
  legend->SetWrapColSpacingMin(-1000.0);
  legend->SetHorizontal(true);
  legend->SetWrapColAutoCountEnabled(true);
  Layout(Rect(0, 0, 590, 60));
  EXPECT_EQ(legend->WrapColCount(), 1);
  legend->SetHorizontal(false);
  Layout(Rect(0, 0, 200, 60));
  EXPECT_EQ(legend->WrapColCount(), 4);   // ceil(4 entries / 1 row that fits)
  EXPECT_EQ(legend->WrapRowCount(), 1);
  // Four entries and three gaps of -1000 "0"s: no room rather than a negative width.
  EXPECT_EQ(legend->RequiredWidth(), 0);
}

TEST_F(LegendFixture, SpreadRowsFillTheHeightOfAVerticalLegend) {
  AddChannels(4);
  legend->SetWrapRowSpacingAuto(true);
  const TRect r = Rect(0, 0, 200, 300);
  Layout(r);
  const int top = r.Top + MarginH();
  const int areaHeight = (r.Bottom - MarginH()) - top;
  const int gap = (areaHeight - 4 * H0()) / 3;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(legend->Item(i).Y, top + i * (H0() + gap)) << i;
  EXPECT_LE(legend->Item(3).Y + H0(), r.Bottom - MarginH());
  EXPECT_GT(legend->Item(3).Y + H0(), r.Bottom - MarginH() - 3);
}

// --- Columns ---

TEST_F(LegendFixture, ColumnsTakeTheWidestOfCaptionTitleAndValue) {
  chart.AddChannel();
  chart.AddChannel();
  TiPlotChannelCustom* a = chart.Channel(0);
  TiPlotChannelCustom* b = chart.Channel(1);
  a->AddXY(1.0, 12.5);
  a->AddXY(2.0, 7.5);
  b->SetYAxisName(QStringLiteral("no such axis"));
  // Spans of 10 and 20 give one decimal at three significant digits.
  chart.XAxis(0)->SetSpan(10.0);
  chart.YAxis(0)->SetSpan(20.0);
  legend->SetColumnTitlesVisible(true);
  legend->SetShowColumnMarker(true);
  legend->SetShowColumnXAxisTitle(true);
  legend->SetShowColumnYAxisTitle(true);
  legend->SetShowColumnXValue(true);
  legend->SetShowColumnYValue(true);
  legend->SetShowColumnYMax(true);
  legend->SetShowColumnYMin(true);
  legend->SetShowColumnYMean(true);
  Layout(Rect(0, 0, 590, 300));

  // Texts, formatted by hand: one decimal; no points "Empty"; no Y axis "N/A".
  const TiPlotLegendItem& ia = legend->Item(0);
  const TiPlotLegendItem& ib = legend->Item(1);
  EXPECT_EQ(ia.Texts[iplcXValue], QStringLiteral("2.0"));
  EXPECT_EQ(ia.Texts[iplcYValue], QStringLiteral("7.5"));
  EXPECT_EQ(ia.Texts[iplcYMax], QStringLiteral("12.5"));
  EXPECT_EQ(ia.Texts[iplcYMin], QStringLiteral("7.5"));
  EXPECT_EQ(ia.Texts[iplcYMean], QStringLiteral("10.0"));
  EXPECT_EQ(ia.Texts[iplcXAxisTitle], QStringLiteral("X-Axis 1"));
  EXPECT_EQ(ib.Texts[iplcXValue], QStringLiteral("Empty"));
  EXPECT_EQ(ib.Texts[iplcYValue], QStringLiteral("N/A"));
  EXPECT_EQ(ib.Texts[iplcYAxisTitle], QStringLiteral("None"));

  const TFont f = legend->Font()->Font();
  const TFont cf = legend->ColumnTitlesFont()->Font();
  auto widest = [&](std::initializer_list<int> widths) { return std::max(widths); };
  const int minValue = Nearest(W0() * 5.0);   // the axes' LabelsMinLength
  EXPECT_EQ(legend->ColumnWidth(iplcLine), 16);
  EXPECT_EQ(legend->ColumnWidth(iplcMarker), 16);
  EXPECT_EQ(legend->ColumnWidth(iplcTitle), widest({TextW(f, "Channel 1"), TextW(f, "Channel 2"), TextW(cf, "Title")}));
  EXPECT_EQ(legend->ColumnWidth(iplcXAxisTitle), widest({TextW(f, "X-Axis 1"), TextW(cf, "X-Axis")}));
  EXPECT_EQ(legend->ColumnWidth(iplcYAxisTitle), widest({TextW(f, "Y-Axis 1"), TextW(f, "None"), TextW(cf, "Y-Axis")}));
  EXPECT_EQ(legend->ColumnWidth(iplcXValue), widest({minValue, TextW(f, "2.0"), TextW(f, "Empty"), TextW(cf, "X")}));
  EXPECT_EQ(legend->ColumnWidth(iplcYValue), widest({minValue, TextW(f, "7.5"), TextW(f, "N/A"), TextW(cf, "Y")}));
  EXPECT_EQ(legend->ColumnWidth(iplcYMax), widest({TextW(f, "12.5"), TextW(f, "N/A"), TextW(cf, "Y-Max")}));
  EXPECT_EQ(legend->ColumnWidth(iplcYMean), widest({TextW(f, "10.0"), TextW(f, "N/A"), TextW(cf, "Y-Mean")}));

  // Offsets: each shown column after the previous one and a gap.
  const int g = ColumnGap();
  int at = 0;
  for (int c = iplcLine; c < kLegendColumnCount; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(legend->ColumnOffset(TiPlotLegendColumn(c)), at);
    at += legend->ColumnWidth(TiPlotLegendColumn(c)) + g;
  }
  EXPECT_EQ(legend->EntryWidth(), at - g);
  // The header band and its gap come before the entries.
  const int hh = TextH(cf, "0");
  EXPECT_EQ(legend->HeaderHeight(), hh);
  EXPECT_EQ(legend->HeaderGap(), hh / 4);
  EXPECT_EQ(legend->Item(0).Y, MarginH() + hh + hh / 4);
  EXPECT_EQ(legend->RequiredHeight(), 2 * MarginH() + hh + hh / 4 + 2 * (H0() + RowGap()) - RowGap());
}

TEST_F(LegendFixture, AnAllChannelsCursorShowsTheValueColumnsWithTheCursorTexts) {
  AddChannels(2);
  chart.Channel(0)->AddXY(1.0, 2.0);
  legend->SetAllChannelsCursorActive(true);
  Layout(Rect(0, 0, 590, 300));
  ASSERT_TRUE(legend->ColumnShown(iplcXValue));
  ASSERT_TRUE(legend->ColumnShown(iplcYValue));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(legend->Item(i).Texts[iplcXValue], chart.Channel(i)->CursorXText());
    EXPECT_EQ(legend->Item(i).Texts[iplcYValue], chart.Channel(i)->CursorYText());
  }
  // At least the cursor's minimum width (CursorMinLength 5 widths of "0").
  EXPECT_GE(legend->ColumnWidth(iplcXValue), Nearest(W0() * 5.0));
  EXPECT_GE(legend->ColumnWidth(iplcYValue), Nearest(W0() * 5.0));
  legend->SetAllChannelsCursorActive(false);
  Layout(Rect(0, 0, 590, 300));
  EXPECT_FALSE(legend->ColumnShown(iplcXValue));
  EXPECT_EQ(legend->EntryWidth(), PlainEntryWidth());
}

TEST_F(LegendFixture, TitlesWrapToTheChannelNameMaxWidth) {
  AddChannels(2);
  chart.Channel(0)->SetTitleText(QStringLiteral("A rather long channel title"));
  chart.Channel(1)->SetTitleText(QStringLiteral("   "));   // blank: the name stands in
  legend->SetChannelNameMaxWidth(6.0);
  Layout(Rect(0, 0, 300, 300));
  EXPECT_EQ(legend->ColumnWidth(iplcTitle), Nearest(W0() * 6.0));
  EXPECT_GE(legend->Item(0).Height, 3 * H0());
  EXPECT_EQ(legend->Item(1).Texts[iplcTitle], QStringLiteral("Channel 2"));
  EXPECT_GE(legend->Item(1).Height, H0());
  EXPECT_EQ(legend->LargestEntryHeight(), legend->Item(0).Height);
  EXPECT_EQ(legend->Item(1).Y, legend->Item(0).Y + legend->Item(0).Height + RowGap());
  // A negative width counts as none: unwrapped titles, one row each.
  legend->SetChannelNameMaxWidth(-3.0);
  Layout(Rect(0, 0, 300, 300));
  EXPECT_EQ(legend->ColumnWidth(iplcTitle), TextW(legend->Font()->Font(), "A rather long channel title"));
  EXPECT_EQ(legend->Item(0).Height, H0());
}

// --- No entries ---

TEST_F(LegendFixture, WithoutListedChannelsNothingIsDrawnAndTheSizeStays) {
  legend->SetBackGroundTransparent(false);
  EXPECT_EQ(legend->RequiredSize(bitmap.Canvas()), 0);   // a new legend takes no room
  AddChannels(2);
  legend->SetLayoutRect(Rect(0, 0, 200, 200));
  const int size = legend->RequiredSize(bitmap.Canvas());
  ASSERT_GT(size, 0);
  legend->Draw(bitmap.Canvas(), clBlack);
  const TRect title = chart.Channel(0)->LegendRect();
  ASSERT_FALSE(IsRectEmpty(title));
  EXPECT_EQ(legend->GetObjectAt(title.Left + 1, title.Top + 1), chart.Channel(0));

  for (int i = 0; i < 2; ++i) chart.Channel(i)->SetVisibleInLegend(false);
  TBitmap fresh(600, 400);
  fresh.Canvas()->Brush() = TBrush{clBlack, bsSolid};
  fresh.Canvas()->FillRect(Rect(0, 0, 600, 400));
  legend->Draw(fresh.Canvas(), clBlack);
  EXPECT_EQ(CountOther(fresh, clBlack, Rect(0, 0, 600, 400)), 0);
  EXPECT_EQ(legend->RequiredSize(fresh.Canvas()), size);
  // The rectangles are gone with the entries: the old place is the legend's own.
  EXPECT_TRUE(IsRectEmpty(chart.Channel(0)->LegendRect()));
  chart.Channel(0)->SetVisibleInLegend(true);
  EXPECT_EQ(legend->GetObjectAt(title.Left + 1, title.Top + 1), legend);
}

TEST_F(LegendFixture, AHiddenLegendLeavesNoRectanglesBehind) {
  AddChannels(1);
  Layout(Rect(0, 0, 200, 200));
  legend->Draw(bitmap.Canvas(), clBlack);
  ASSERT_FALSE(IsRectEmpty(chart.Channel(0)->LegendRect()));
  legend->SetVisible(false);
  legend->Draw(bitmap.Canvas(), clBlack);
  EXPECT_TRUE(IsRectEmpty(chart.Channel(0)->LegendRect()));
}

TEST_F(LegendFixture, ARemovedChannelLeavesTheEntryList) {
  AddChannels(3);
  Layout(Rect(0, 0, 200, 200));
  legend->Draw(bitmap.Canvas(), clBlack);
  chart.DeleteChannel(1);
  EXPECT_EQ(legend->ItemCount(), 2);
  EXPECT_EQ(legend->Item(1).Channel, chart.Channel(1));
  legend->Draw(bitmap.Canvas(), clBlack);   // the sanitizers watch the old pointer
  EXPECT_EQ(legend->ItemCount(), 2);
}

// --- Pixels ---

// Draws the legend alone on black and returns the picture.
TBitmap DrawAlone(TiPlotLegend* legend, const TRect& rect) {
  TBitmap out(400, 200);
  out.Canvas()->Brush() = TBrush{clBlack, bsSolid};
  out.Canvas()->FillRect(Rect(0, 0, 400, 200));
  legend->SetLayoutRect(rect);
  legend->Draw(out.Canvas(), clBlack);
  return out;
}

TEST_F(LegendFixture, TheLineSampleIsOneRowThickerThanLineColumnHeight) {
  AddChannels(1);
  TiPlotChannelCustom* c = chart.Channel(0);
  c->SetColor(clRed);
  const TRect r = Rect(10, 10, 300, 150);
  const int x = r.Left + MarginW();
  const int centre = r.Top + MarginH() + H0() / 2;
  struct Case {
    int height;
    int first, rows;   // first row relative to the centre, rows drawn
  };
  for (const Case& k : std::initializer_list<Case>{{3, -1, 4}, {0, 0, 1}, {1, 0, 2}, {6, -3, 7}}) {
    SCOPED_TRACE(k.height);
    legend->SetLineColumnHeight(k.height);
    TBitmap out = DrawAlone(legend, r);
    EXPECT_EQ(BoxOf(out, clRed, Rect(0, 0, 400, 200)), Rect(x, centre + k.first, x + 13, centre + k.first + k.rows));
  }
}

TEST_F(LegendFixture, TheLineSampleDrawsTheTraceStyleAsFixedSegments) {
  AddChannels(1);
  TiPlotChannelCustom* c = chart.Channel(0);
  c->SetColor(clRed);
  legend->SetLineColumnHeight(0);
  const TRect r = Rect(10, 10, 300, 150);
  const int x = r.Left + MarginW();
  const int y = r.Top + MarginH() + H0() / 2;
  struct Case {
    TiPlotLineStyle style;
    const char* row;   // 13 pixels from the column's start, # painted
  };
  for (const Case& k : std::initializer_list<Case>{{iplsSolid, "#############"},
                                                   {iplsDash, "#####...#####"},
                                                   {iplsDot, "##..##..##..."},
                                                   {iplsDashDot, "#####..##...."},
                                                   {iplsDashDotDot, "#####..##..##"},
                                                   {iplsClear, "............."}}) {
    SCOPED_TRACE(k.row);
    c->SetTraceLineStyle(k.style);
    TBitmap out = DrawAlone(legend, r);
    QString seen;
    for (int i = 0; i < 13; ++i) seen += out.Canvas()->Pixel(x + i, y) == clRed ? QLatin1Char('#') : QLatin1Char('.');
    EXPECT_EQ(seen, QString::fromLatin1(k.row));
    EXPECT_NE(out.Canvas()->Pixel(x + 13, y), clRed);
  }
  // Another length draws one styled line of that length.
  c->SetTraceLineStyle(iplsSolid);
  legend->SetLineColumnWidth(20);
  TBitmap out = DrawAlone(legend, r);
  EXPECT_EQ(BoxOf(out, clRed, Rect(0, 0, 400, 200)), Rect(x, y, x + 20, y + 1));
}

TEST_F(LegendFixture, TheFocusedChannelsEntryIsHighlighted) {
  AddChannels(2);
  legend->SetShowColumnLine(false);
  chart.Channel(1)->SetFocused(true);
  TBitmap out = DrawAlone(legend, Rect(10, 10, 300, 150));
  const TRect selected = chart.Channel(1)->LegendRect();
  const TRect other = chart.Channel(0)->LegendRect();
  // The title rectangle is filled yellow and the title written in the selected font's black.
  EXPECT_EQ(BoxOf(out, clYellow, Rect(0, 0, 400, 200)), selected);
  EXPECT_GT(CountOther(out, clYellow, selected), 0);
  EXPECT_EQ(BoxOf(out, clWhite, selected), TRect{});
  // The other entry is white text on the background.
  EXPECT_FALSE(IsRectEmpty(BoxOf(out, clWhite, other)));
}

TEST_F(LegendFixture, TitleColoursFollowTheColorStyle) {
  AddChannels(1);
  legend->SetShowColumnLine(false);
  chart.Channel(0)->SetColor(clRed);
  chart.XAxis(0)->LabelsFont()->SetColor(clLime);
  chart.YAxis(0)->LabelsFont()->SetColor(clBlue);
  struct Case {
    TiPlotLegendChannelNameColorStyle style;
    TColor color;
  };
  for (const Case& k : std::initializer_list<Case>{{iplcncsFont, clWhite},
                                                   {iplcncsChannelColor, clRed},
                                                   {iplcncsXAxisFontColor, clLime},
                                                   {iplcncsYAxisFontColor, clBlue}}) {
    SCOPED_TRACE(k.style);
    legend->SetChannelNameColorStyle(k.style);
    TBitmap out = DrawAlone(legend, Rect(10, 10, 300, 150));
    const TRect title = chart.Channel(0)->LegendRect();
    EXPECT_FALSE(IsRectEmpty(BoxOf(out, k.color, title)));
    for (TColor other : {clWhite, clRed, clLime, clBlue})
      if (other != k.color) {
        EXPECT_TRUE(IsRectEmpty(BoxOf(out, other, title)));
      }
  }
}

TEST_F(LegendFixture, TheScrollButtonsAreDrawnWithTheirTriangles) {
  AddChannels(6);
  const TRect r = Rect(10, 10, 300, 10 + 2 * MarginH() + 3 * (H0() + RowGap()) - RowGap());
  TBitmap out = DrawAlone(legend, r);
  const TRect up = legend->UpButton()->GetButtonRect();
  const TRect down = legend->DownButton()->GetButtonRect();
  // Up is disabled at the start: a grey triangle; down is black. Each is 9 pixels wide around the
  // centre and points its way.
  const TRect greyBox = BoxOf(out, clGray, Rect(up.Left + 2, up.Top + 2, up.Right - 2, up.Bottom - 2));
  const TRect blackBox = BoxOf(out, clBlack, Rect(down.Left + 2, down.Top + 2, down.Right - 2, down.Bottom - 2));
  const int cx = (up.Left + up.Right) / 2;
  EXPECT_EQ(greyBox.Left, cx - 4);
  EXPECT_EQ(blackBox.Left, cx - 4);
  const int cyUp = (up.Top + up.Bottom) / 2;
  const int cyDown = (down.Top + down.Bottom) / 2;
  EXPECT_EQ(greyBox.Top, cyUp - 2);
  EXPECT_EQ(blackBox.Top, cyDown - 2);
  // The up triangle is widest at its bottom, the down triangle at its top.
  EXPECT_EQ(out.Canvas()->Pixel(cx - 4, greyBox.Bottom - 1), clGray);
  EXPECT_EQ(out.Canvas()->Pixel(cx - 4, blackBox.Top), clBlack);
}

TEST_F(LegendFixture, AnOpaqueLegendFillsItsRectangleAndAFocusedOneIsFramed) {
  AddChannels(1);
  legend->SetBackGroundTransparent(false);
  legend->SetBackGroundColor(clNavy);
  const TRect r = Rect(10, 10, 200, 100);
  TBitmap out = DrawAlone(legend, r);
  EXPECT_EQ(BoxOf(out, clNavy, Rect(0, 0, 400, 200)), r);
  auto column = [&](TBitmap& b, int x) { return CountOther(b, clNavy, Rect(x, r.Top, x + 1, r.Bottom)); };
  EXPECT_EQ(column(out, r.Left + 2), 0);
  legend->SetFocused(true);
  TBitmap framed = DrawAlone(legend, r);
  // The dotted frame stands 2 pixels in from the left and right of a vertical legend.
  EXPECT_GT(column(framed, r.Left + 2), 0);
  EXPECT_GT(column(framed, r.Right - 3), 0);
  EXPECT_EQ(column(framed, r.Left + 1), 0);
  EXPECT_EQ(column(framed, r.Right - 2), 0);
}

// --- Through the chart ---

struct ChartLegend {
  TPaintableChart p{400, 240};
  TiPlotLegend* legend;
  TInput input{p.chart};
  TMenuRecorder menus;
  ChartLegend() {
    p.chart.AddXAxis();
    p.chart.AddYAxis();
    legend = p.chart.Legend(0);
    legend->SetVisible(true);
    for (int i = 0; i < 8; ++i) p.chart.AddChannel();
    p.Paint();
  }
};

TEST(LegendInChart, ReleasesInsideRaiseTheLegendsClickAndPressesOnATitleFocusTheChannel) {
  ChartLegend t;
  std::vector<int> clicks;
  t.p.chart.OnClickLegend = [&](int index) { clicks.push_back(index); };
  const TRect r = t.legend->GetLayoutRect();
  ASSERT_FALSE(IsRectEmpty(r));
  const QPoint empty(r.Left + 3, r.Bottom - 3);
  t.input.Click(empty);
  EXPECT_EQ(clicks, std::vector<int>{0});
  EXPECT_TRUE(t.legend->HasFocus());
  // Pressed on the legend, released elsewhere: no click.
  t.input.Press(empty);
  t.input.Release(QPoint(5, 5));
  EXPECT_EQ(clicks, std::vector<int>{0});
  std::vector<int> doubles;
  t.p.chart.OnDblClickLegend = [&](int index) { doubles.push_back(index); };
  t.input.DoubleClick(empty);
  EXPECT_EQ(clicks, (std::vector<int>{0, 0}));
  EXPECT_EQ(doubles, std::vector<int>{0});

  const TRect title = t.p.chart.Channel(2)->LegendRect();
  ASSERT_FALSE(IsRectEmpty(title));
  EXPECT_EQ(t.p.chart.HitTestChart(title.Left + 1, title.Top + 1), t.p.chart.Channel(2));
  t.input.Click(QPoint(title.Left + 1, title.Top + 1));
  EXPECT_TRUE(t.p.chart.Channel(2)->HasFocus());
  EXPECT_FALSE(t.legend->HasFocus());
  TBitmap painted = t.p.Paint();
  const TRect selected = t.p.chart.Channel(2)->LegendRect();
  EXPECT_EQ(BoxOf(painted, clYellow, selected), selected);
  EXPECT_TRUE(IsRectEmpty(BoxOf(painted, clYellow, t.p.chart.Channel(1)->LegendRect())));
}

TEST(LegendInChart, ARightClickShowsTheMenuAndTheButtonsScrollWithoutAClick) {
  ChartLegend t;
  // Make it scroll: a short legend.
  t.legend->SetStopPercent(30);
  t.p.Paint();
  ASSERT_TRUE(t.legend->DownButton()->Visible());
  std::vector<int> clicks;
  t.p.chart.OnClickLegend = [&](int index) { clicks.push_back(index); };
  const TRect down = t.legend->DownButton()->GetButtonRect();
  EXPECT_EQ(t.p.chart.HitTestChart(down.Left + 2, down.Top + 2), t.legend->DownButton());
  t.input.Click(QPoint(down.Left + 2, down.Top + 2));
  EXPECT_EQ(t.legend->FirstItem(), 1);
  EXPECT_TRUE(clicks.empty());

  const TRect r = t.legend->GetLayoutRect();
  t.input.Click(QPoint(r.Left + 3, r.Bottom - 3), Qt::RightButton);
  ASSERT_EQ(t.menus.Shown.size(), 1u);
  EXPECT_EQ(t.menus.Shown[0].Captions, QStringList{QStringLiteral("Edit...")});
}

TEST(LegendInChart, EightChannelsPaintedToAPicture) {
  TPaintableChart p{360, 260};
  p.chart.AddXAxis();
  p.chart.AddYAxis();
  TiPlotLegend* legend = p.chart.Legend(0);
  legend->SetVisible(true);
  legend->SetColumnTitlesVisible(true);
  legend->SetShowColumnYMax(true);
  legend->SetBackGroundTransparent(false);
  const TColor colors[] = {clRed, clLime, RGB(0, 128, 255), clWhite, RGB(255, 128, 128), clGreen, clBlue, clYellow};
  const char* titles[] = {"Sample", "Reference", "Channel 3", "Channel 4", "Red Reference", "Green Reference", "Blue Reference",
                          "Reference I Total"};
  const TiPlotLineStyle styles[] = {iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot, iplsSolid, iplsDash, iplsSolid};
  for (int i = 0; i < 8; ++i) {
    TiPlotChannelCustom* c = p.chart.Channel(p.chart.AddChannel());
    c->SetColor(colors[i]);
    c->SetTitleText(QString::fromLatin1(titles[i]));
    c->SetTraceLineStyle(styles[i]);
    for (int k = 0; k <= i; ++k) c->AddXY(k, 10.0 * (i + 1) + k);
  }
  p.chart.Channel(3)->SetFocused(true);
  TBitmap painted = p.Paint();
  painted.Image().save(PicturePath(QStringLiteral("legend_eight_channels.png")));
  // Every entry is shown, one under the other, each with its sample in its colour.
  ASSERT_EQ(legend->LastItem(), 7);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const TRect title = p.chart.Channel(i)->LegendRect();
    ASSERT_FALSE(IsRectEmpty(title));
    if (i > 0) {
      EXPECT_GT(title.Top, p.chart.Channel(i - 1)->LegendRect().Top);
    }
    const TRect sample = Rect(legend->Item(i).X, title.Top, title.Left, title.Bottom);
    EXPECT_FALSE(IsRectEmpty(BoxOf(painted, colors[i], sample)));
  }
}

}  // namespace
