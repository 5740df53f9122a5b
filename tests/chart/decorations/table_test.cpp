// Tables: their content operations, the layout of grid, title row, columns and scroll buttons,
// scrolling with the buttons, disabled tables, hostile numbers, the property table, and their
// pixels in a painted chart.
#include <gtest/gtest.h>

#include <QImage>
#include <limits>

#include "chart/core/iErrors.h"
#include "chart/decorations/rUdudTable.h"
#include "platform/Menus.h"
#include "platform/Timer.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

struct TableFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotTable* table = nullptr;
  TBitmap bitmap{500, 300};

  void SetUp() override { table = chart.Table(chart.AddTable()); }

  void Fill(int rows, int columns) {
    for (int c = 0; c < columns; ++c) table->AddColumn(QStringLiteral("C%1").arg(c));
    for (int r = 0; r < rows; ++r) table->AddRow(QStringLiteral("r%1a\r\nr%1b\r\nr%1c").arg(r));
  }
  void Layout(const TRect& rect) {
    table->SetLayoutRect(rect);
    table->LayoutTable(bitmap.Canvas());
  }
  static void Click(TiPlotButton* button) { ClickButton(button); }
  int TitleZeroW() const { return TextW(table->ColumnTitlesFont()->Font(), QStringLiteral("0")); }
  int TitleZeroH() const { return TextH(table->ColumnTitlesFont()->Font(), QStringLiteral("0")); }
  int DataZeroW() const { return TextW(table->DataFont()->Font(), QStringLiteral("0")); }
  int DataZeroH() const { return TextH(table->DataFont()->Font(), QStringLiteral("0")); }
  int ExpectedRowHeight() const { return DataZeroH() + Nearest(DataZeroH() * table->RowSpacing()); }
};

// --- Content ---

TEST_F(TableFixture, RowTextsSplitIntoCellsAtEveryKindOfLineBreak) {
  struct Case {
    const char* name;
    QString text;
    QStringList cells;
  };
  for (int c = 0; c < 4; ++c) table->AddColumn();
  for (const Case& c : std::initializer_list<Case>{
           {"CR LF", QStringLiteral("a\r\nb\r\nc"), {"a", "b", "c"}},
           {"lone CR", QStringLiteral("a\rb"), {"a", "b"}},
           {"lone LF", QStringLiteral("a\nb"), {"a", "b"}},
           {"mixed", QStringLiteral("a\n\rb\r\n"), {"a", "", "b"}},
           {"trailing break adds no cell", QStringLiteral("a\r\n"), {"a"}},
           {"empty lines inside stay", QStringLiteral("a\r\n\r\nb"), {"a", "", "b"}},
           {"a break alone is one empty cell", QStringLiteral("\n"), {""}},
           {"no text, no cells", QString(), {}},
       }) {
    SCOPED_TRACE(c.name);
    const int row = table->AddRow(c.text);
    EXPECT_EQ(table->RowText(row), c.cells.join(QStringLiteral("\r\n")));
    // Cells missing from the row read as empty, up to the last column.
    for (int col = 0; col < 4; ++col) EXPECT_EQ(table->CellText(col, row), col < c.cells.size() ? c.cells[col] : QString());
  }
  EXPECT_EQ(table->RowCount(), 8);
}

TEST_F(TableFixture, CellsAreSetDeletedAndClearedThroughTheTable) {
  int changes = 0;
  chart.Master()->OnChanged = [&](TiPlotMasterManager*) { ++changes; };
  table->AddColumn(QStringLiteral("A"));
  table->AddColumn(QStringLiteral("B"));
  table->AddRow(QStringLiteral("1"));
  table->AddRow(QStringLiteral("2\n3"));
  EXPECT_EQ(changes, 4);

  table->SetCell(1, 0, QStringLiteral("x\r\ny"));   // the row grows; a break inside would split it
  EXPECT_EQ(table->RowText(0), QStringLiteral("1\r\nx y"));
  table->SetCell(1, 0, QStringLiteral("x y"));       // the same text: no change
  EXPECT_EQ(changes, 5);

  table->DeleteRow(0);
  EXPECT_EQ(table->RowCount(), 1);
  EXPECT_EQ(table->CellText(1, 0), QStringLiteral("3"));
  table->DeleteColumn(0);
  EXPECT_EQ(table->ColumnCount(), 1);
  EXPECT_EQ(table->Column(0)->Title(), QStringLiteral("B"));
  table->ClearColumns();
  table->ClearRows();
  EXPECT_EQ(table->ColumnCount(), 0);
  EXPECT_EQ(table->RowCount(), 0);
  EXPECT_EQ(changes, 9);
}

TEST_F(TableFixture, IndexesOutsideTheListsAreRefused) {
  Fill(2, 2);
  struct Case {
    const char* name;
    std::function<void()> call;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Column -1", [&] { table->Column(-1); }},
           {"Column 2", [&] { table->Column(2); }},
           {"DeleteColumn 2", [&] { table->DeleteColumn(2); }},
           {"DeleteRow -1", [&] { table->DeleteRow(-1); }},
           {"DeleteRow 2", [&] { table->DeleteRow(2); }},
           {"SetCell column 2", [&] { table->SetCell(2, 0, QStringLiteral("x")); }},
           {"SetCell row 2", [&] { table->SetCell(0, 2, QStringLiteral("x")); }},
           {"CellText row 2", [&] { table->CellText(0, 2); }},
           {"RowText row -1", [&] { table->RowText(-1); }},
       }) {
    SCOPED_TRACE(c.name);
    try {
      c.call();
      ADD_FAILURE() << "accepted";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("Index out of Bounds"));
    }
  }
  EXPECT_EQ(table->RowCount(), 2);
  EXPECT_EQ(table->ColumnCount(), 2);
  EXPECT_EQ(table->RowText(0), QStringLiteral("r0a\r\nr0b\r\nr0c"));
}

TEST_F(TableFixture, NewColumnsTakeTheFontColoursAndSizeThemselves) {
  table->ColumnTitlesFont()->SetColor(clYellow);
  table->DataFont()->SetColor(clLime);
  TiPlotTableColumn* column = table->Column(table->AddColumn(QStringLiteral("T")));
  EXPECT_EQ(column->Title(), QStringLiteral("T"));
  EXPECT_EQ(column->TitleFontColor(), clYellow);
  EXPECT_EQ(column->DataFontColor(), clLime);
  EXPECT_TRUE(column->AutoSize());
  EXPECT_TRUE(column->Visible());
  EXPECT_EQ(column->TitleAlignment(), iahCenter);
  EXPECT_EQ(column->DataAlignment(), iahLeft);
}

// --- Layout ---

TEST_F(TableFixture, WithoutRowsOrColumnsATableNeedsNoRoomAndDrawsNothing) {
  for (int rows : {0, 3})
    for (int columns : {0, 2}) {
      if (rows && columns) continue;
      SCOPED_TRACE(QStringLiteral("%1 rows, %2 columns").arg(rows).arg(columns).toStdString());
      table->ClearRows();
      table->ClearColumns();
      Fill(rows, columns);
      table->SetLayoutRect(Rect(10, 10, 300, 250));
      EXPECT_EQ(table->RequiredSize(bitmap.Canvas()), 0);
      EXPECT_EQ(table->RequiredWidth(), 0);
      EXPECT_EQ(table->RequiredHeight(), 0);
      bitmap.Canvas()->Brush() = TBrush{clBlack, bsSolid};
      bitmap.Canvas()->FillRect(Rect(0, 0, 500, 300));
      table->Draw(bitmap.Canvas(), clBlack);
      EXPECT_EQ(CountOther(bitmap, clBlack, Rect(0, 0, 500, 300)), 0);
    }
}

TEST_F(TableFixture, GridTitleRowAndAutomaticWidthsFollowTheFonts) {
  table->SetMarginLeft(1.5);
  table->SetMarginTop(2.5);
  table->SetMarginRight(0.5);
  table->SetMarginBottom(1.0);
  table->ColumnTitlesFont()->SetHeight(15);   // titles and cells measured in different fonts
  table->AddColumn(QStringLiteral("Wavelength"));
  table->AddColumn(QStringLiteral("I"));
  table->AddRow(QStringLiteral("400\r\n1234567890"));
  table->AddRow(QStringLiteral("720.25\r\n5"));
  Layout(Rect(100, 10, 400, 290));

  const int cw = TitleZeroW(), ch = TitleZeroH(), dw = DataZeroW();
  const int ml = Nearest(cw * 1.5), mt = Nearest(ch * 2.5), mr = Nearest(cw * 0.5), mb = ch;
  const TFont titles = table->ColumnTitlesFont()->Font(), data = table->DataFont()->Font();
  // Widest of title (plus 2 title "0"s and one more) and cells (plus 2 data "0"s and one more).
  const int w0 = std::max(TextW(titles, QStringLiteral("Wavelength")) + Nearest(2.0 * cw) + cw,
                          std::max(TextW(data, QStringLiteral("400")), TextW(data, QStringLiteral("720.25"))) + Nearest(2.0 * dw) + dw);
  const int w1 = std::max(TextW(titles, QStringLiteral("I")) + Nearest(2.0 * cw) + cw,
                          std::max(TextW(data, QStringLiteral("1234567890")), TextW(data, QStringLiteral("5"))) + Nearest(2.0 * dw) + dw);
  const int rh = ExpectedRowHeight();

  EXPECT_EQ(table->Column(0)->Width(), w0);
  EXPECT_EQ(table->Column(1)->Width(), w1);
  EXPECT_EQ(table->Column(0)->WidthInChars(), w0 / dw);   // written back in whole "0"s
  EXPECT_EQ(table->RowHeight(), rh);
  // The title row keeps the right edge of the whole layout rectangle; the grid ends after the columns.
  EXPECT_EQ(table->TitleRect(), Rect(100 + ml, 10 + mt, 400 - mr, 10 + mt + ch));
  EXPECT_EQ(table->GridRect(), Rect(100 + ml, 10 + mt, 100 + ml + w0 + w1, 10 + mt + ch + 2 * rh));
  EXPECT_EQ(table->RequiredWidth(), ml + mr + w0 + w1);
  EXPECT_EQ(table->RequiredHeight(), mt + mb + ch + 2 * rh);
  EXPECT_EQ(table->RequiredSize(bitmap.Canvas()), table->RequiredWidth());   // a table stands beside the data view
  table->SetHorizontal(true);
  EXPECT_EQ(table->RequiredSize(bitmap.Canvas()), table->RequiredHeight());
  EXPECT_FALSE(table->UpButton()->Visible());
  EXPECT_EQ(table->FirstRow(), 0);
  EXPECT_EQ(table->LastRow(), 1);
}

TEST_F(TableFixture, FixedAndHiddenColumns) {
  Fill(1, 3);
  table->Column(0)->SetAutoSize(false);
  table->Column(0)->SetWidthInChars(2.5);
  table->Column(1)->SetVisible(false);
  table->Column(2)->SetAutoSize(false);
  table->Column(2)->SetWidthInChars(3.5);
  Layout(Rect(0, 0, 400, 200));
  const int dw = DataZeroW();
  EXPECT_EQ(table->Column(0)->Width(), Nearest(2.5 * dw));
  EXPECT_EQ(table->Column(2)->Width(), Nearest(3.5 * dw));
  const TRect grid = table->GridRect();
  EXPECT_EQ(grid.Right - grid.Left, Nearest(2.5 * dw) + Nearest(3.5 * dw));   // the hidden column takes none
}

TEST_F(TableFixture, MeasuredWidthsFollowChangesOfCellsTitlesAndFonts) {
  Fill(2, 1);
  Layout(Rect(0, 0, 400, 200));
  const TFont data = table->DataFont()->Font();
  const int dw = DataZeroW();
  const int titleTerm = TextW(table->ColumnTitlesFont()->Font(), QStringLiteral("C0")) + Nearest(2.0 * TitleZeroW()) + TitleZeroW();

  table->SetCell(0, 1, QStringLiteral("a much longer cell than before"));
  Layout(Rect(0, 0, 400, 200));
  EXPECT_EQ(table->Column(0)->Width(), TextW(data, QStringLiteral("a much longer cell than before")) + Nearest(2.0 * dw) + dw);

  table->DeleteRow(1);
  Layout(Rect(0, 0, 400, 200));
  EXPECT_EQ(table->Column(0)->Width(), std::max(titleTerm, TextW(data, QStringLiteral("r0a")) + Nearest(2.0 * dw) + dw));

  table->DataFont()->SetHeight(30);
  Layout(Rect(0, 0, 400, 200));
  const TFont big = table->DataFont()->Font();
  const int bw = TextW(big, QStringLiteral("0"));
  EXPECT_EQ(table->Column(0)->Width(), std::max(titleTerm, TextW(big, QStringLiteral("r0a")) + Nearest(2.0 * bw) + bw));

  table->Column(0)->SetTitle(QStringLiteral("A title wider than any cell of it"));
  Layout(Rect(0, 0, 400, 200));
  EXPECT_EQ(table->Column(0)->Width(), TextW(table->ColumnTitlesFont()->Font(), QStringLiteral("A title wider than any cell of it")) +
                                           Nearest(2.0 * TitleZeroW()) + TitleZeroW());
}

TEST_F(TableFixture, RowsMaxShowsSomeRowsAndTheButtonsScrollToTheEnd) {
  Fill(10, 2);
  table->SetRowsMax(3);
  Layout(Rect(20, 5, 400, 295));
  const int rh = ExpectedRowHeight();
  const TRect title = table->TitleRect();
  const TRect grid = table->GridRect();
  EXPECT_EQ(grid.Bottom, title.Bottom + 3 * rh);
  EXPECT_EQ(table->FirstRow(), 0);
  EXPECT_EQ(table->LastRow(), 2);
  // Right of the grid, beside the first and the last row shown.
  const int yu = title.Bottom + rh / 2, yd = title.Bottom + 3 * rh - rh / 2;
  EXPECT_EQ(table->UpButton()->GetButtonRect(), Rect(grid.Right + 5, yu - 8, grid.Right + 22, yu + 9));
  EXPECT_EQ(table->DownButton()->GetButtonRect(), Rect(grid.Right + 5, yd - 8, grid.Right + 22, yd + 9));
  EXPECT_TRUE(table->UpButton()->Visible());
  EXPECT_TRUE(table->DownButton()->Visible());
  EXPECT_FALSE(table->UpButton()->Enabled());
  EXPECT_TRUE(table->DownButton()->Enabled());
  const int cw = TitleZeroW();
  EXPECT_EQ(table->RequiredWidth(), Nearest(cw * 1.0) * 2 + (grid.Right - grid.Left) + 17 + 5);

  for (int i = 0; i < 7; ++i) {
    Click(table->DownButton());
    Layout(Rect(20, 5, 400, 295));
  }
  EXPECT_EQ(table->FirstRow(), 7);
  EXPECT_EQ(table->LastRow(), 9);
  EXPECT_FALSE(table->DownButton()->Enabled());
  EXPECT_TRUE(table->UpButton()->Enabled());
  Click(table->DownButton());   // disabled: nothing
  Layout(Rect(20, 5, 400, 295));
  EXPECT_EQ(table->FirstRow(), 7);

  Click(table->UpButton());
  Layout(Rect(20, 5, 400, 295));
  EXPECT_EQ(table->FirstRow(), 6);
  EXPECT_EQ(table->LastRow(), 8);
}

TEST_F(TableFixture, AHeldButtonRepeatsFirstAfter500ThenEvery50Milliseconds) {
  Fill(10, 1);
  table->SetRowsMax(2);
  Layout(Rect(0, 0, 400, 295));
  ASSERT_EQ(table->FirstRow(), 0);
  HoldScrollButtonDown(table->DownButton(), [&] { return table->FirstRow(); });
  EXPECT_EQ(table->DownButton()->RepeatTimer(), nullptr);
}

TEST_F(TableFixture, ScrollingKeepsTheLastRowsShownWhenRowsGo) {
  Fill(10, 1);
  table->SetRowsMax(4);
  Layout(Rect(0, 0, 400, 295));
  for (int i = 0; i < 6; ++i) Click(table->DownButton());
  Layout(Rect(0, 0, 400, 295));
  EXPECT_EQ(table->FirstRow(), 6);
  for (int i = 0; i < 3; ++i) table->DeleteRow(0);   // 7 rows left: the last 4 are 3 .. 6
  Layout(Rect(0, 0, 400, 295));
  EXPECT_EQ(table->FirstRow(), 3);
  EXPECT_EQ(table->LastRow(), 6);
  for (int i = 0; i < 4; ++i) table->DeleteRow(0);   // all fit: no scrolling
  Layout(Rect(0, 0, 400, 295));
  EXPECT_EQ(table->FirstRow(), 0);
  EXPECT_EQ(table->LastRow(), 2);
  EXPECT_FALSE(table->UpButton()->Visible());
  EXPECT_FALSE(table->DownButton()->Visible());
}

TEST_F(TableFixture, OnlyWholeRowsThatFitAreShown) {
  Fill(10, 2);
  const int ch = TitleZeroH(), rh = ExpectedRowHeight();
  struct Case {
    const char* name;
    int height;          // of the layout rectangle
    int shown;           // rows shown
  };
  // Top and bottom margins are one title "0" high each.
  for (const Case& c : std::initializer_list<Case>{
           {"room for all", 3 * ch + 10 * rh, 10},
           {"one pixel short of all", 3 * ch + 10 * rh - 1, 9},
           {"three and a half", 3 * ch + 3 * rh + rh / 2, 3},
           {"exactly one", 3 * ch + rh, 1},
           {"the title only", 3 * ch + rh - 1, 0},
           {"shorter than the title", 2 * ch, 0},
           {"no height at all", 0, 0},
       }) {
    SCOPED_TRACE(c.name);
    Layout(Rect(0, 50, 300, 50 + c.height));
    EXPECT_EQ(table->GridRect().Bottom, table->TitleRect().Bottom + c.shown * rh);
    EXPECT_EQ(table->LastRow() - table->FirstRow() + 1, c.shown);
    // The room asked for is that of all rows.
    EXPECT_EQ(table->RequiredHeight(), 3 * ch + 10 * rh);
    // Buttons only when some rows are shown and some are not.
    EXPECT_EQ(table->UpButton()->Visible(), c.shown > 0 && c.shown < 10);
  }
}

TEST_F(TableFixture, WithOneRowShownTheDownButtonSitsBelowTheUpButton) {
  Fill(5, 1);
  table->SetRowsMax(1);
  Layout(Rect(0, 0, 300, 290));
  const TRect up = table->UpButton()->GetButtonRect();
  const TRect down = table->DownButton()->GetButtonRect();
  EXPECT_EQ(down, Rect(up.Left, up.Bottom, up.Right, up.Bottom + 17));
  // Both can be clicked.
  EXPECT_EQ(table->GetObjectAt(down.Left + 3, down.Top + 3), table->DownButton());
  EXPECT_EQ(table->GetObjectAt(up.Left + 3, up.Bottom - 1), table->UpButton());
  Click(table->DownButton());
  Layout(Rect(0, 0, 300, 290));
  EXPECT_EQ(table->FirstRow(), 1);
  EXPECT_EQ(table->LastRow(), 1);
}

TEST_F(TableFixture, RowsMaxOfZeroOrBelowMeansNoLimit) {
  Fill(6, 1);
  for (int rowsMax : {0, -1, -100, 6, 7}) {
    SCOPED_TRACE(rowsMax);
    table->SetRowsMax(rowsMax);
    Layout(Rect(0, 0, 300, 290));
    EXPECT_EQ(table->LastRow() - table->FirstRow() + 1, 6);
    EXPECT_EQ(table->RowsMax(), rowsMax);   // the stored value stays as given
  }
}

TEST_F(TableFixture, WithoutTitlesTheFirstRowStartsAtTheGridsTop) {
  Fill(3, 2);
  table->SetColumnTitlesVisible(false);
  Layout(Rect(0, 0, 300, 290));
  EXPECT_EQ(table->TitleRect().Bottom, table->TitleRect().Top);
  EXPECT_EQ(table->TitleRect().Top, table->GridRect().Top);
  EXPECT_EQ(table->GridRect().Bottom, table->GridRect().Top + 3 * ExpectedRowHeight());
}

TEST_F(TableFixture, ADisabledTableKeepsItsGeometryAndIgnoresClicks) {
  Fill(10, 2);
  table->SetRowsMax(3);
  Layout(Rect(0, 0, 300, 290));
  const int width = table->RequiredWidth();
  const TRect up = table->UpButton()->GetButtonRect(), down = table->DownButton()->GetButtonRect();

  table->SetEnabled(false);
  Layout(Rect(0, 0, 300, 290));
  EXPECT_EQ(table->RequiredWidth(), width);
  EXPECT_EQ(table->UpButton()->GetButtonRect(), up);
  EXPECT_EQ(table->DownButton()->GetButtonRect(), down);
  EXPECT_TRUE(table->DownButton()->Visible());
  // Not handed out under the mouse, and a click reaching a button anyway scrolls nothing.
  EXPECT_EQ(table->GetObjectAt(down.Left + 2, down.Top + 2), table);
  Click(table->DownButton());
  Layout(Rect(0, 0, 300, 290));
  EXPECT_EQ(table->FirstRow(), 0);
}

TEST_F(TableFixture, HostileNumbersStayWithinTheCanvas) {
  struct Case {
    const char* name;
    double margin, spacing, rowSpacing, widthInChars;
    int rowsMax;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Fill(4, 2);
  table->Column(1)->SetAutoSize(false);
  for (const Case& c : std::initializer_list<Case>{
           {"huge", 1e300, 1e300, 1e300, 1e300, std::numeric_limits<int>::max()},
           {"infinite", inf, inf, inf, inf, 3},
           {"not a number", nan, nan, nan, nan, 2},
           {"negative", -1e300, -1e300, -1e300, -1e300, std::numeric_limits<int>::min()},
       }) {
    SCOPED_TRACE(c.name);
    for (auto set : {&TiPlotTable::SetMarginLeft, &TiPlotTable::SetMarginRight, &TiPlotTable::SetMarginTop,
                     &TiPlotTable::SetMarginBottom})
      (table->*set)(c.margin);
    table->SetColumnSpacing(c.spacing);
    table->SetRowSpacing(c.rowSpacing);
    table->Column(1)->SetWidthInChars(c.widthInChars);
    table->SetRowsMax(c.rowsMax);
    table->SetLayoutRect(Rect(0, 0, 300, 290));
    const int size = table->RequiredSize(bitmap.Canvas());
    EXPECT_LE(std::abs(size), 32000);
    EXPECT_GE(table->RowHeight(), 1);
    for (int v : {table->GridRect().Left, table->GridRect().Top, table->GridRect().Right, table->GridRect().Bottom,
                  table->RequiredWidth(), table->RequiredHeight(), table->Column(0)->Width(), table->Column(1)->Width()})
      EXPECT_LE(std::abs(v), 32000);
    table->Draw(bitmap.Canvas(), clBlack);   // must neither overflow nor stall
  }
}

// --- Input and menus ---

TEST_F(TableFixture, ButtonsAreFoundUnderTheMouseOnlyWhileShown) {
  Fill(10, 1);
  table->SetRowsMax(3);
  Layout(Rect(0, 0, 300, 290));
  const TRect up = table->UpButton()->GetButtonRect();
  EXPECT_EQ(table->GetObjectAt(up.Left, up.Top), table->UpButton());
  EXPECT_EQ(table->GetObjectAt(up.Right, up.Top), table);   // right edge excluded
  EXPECT_EQ(table->GetObjectAt(5, 5), table);
  table->SetRowsMax(0);
  Layout(Rect(0, 0, 300, 290));
  EXPECT_EQ(table->GetObjectAt(up.Left, up.Top), table);     // hidden buttons take no clicks
}

TEST_F(TableFixture, AButtonClickRepaintsAtOnceAndRaisesNoChartEvent) {
  Fill(10, 1);
  table->SetRowsMax(3);
  Layout(Rect(0, 0, 300, 290));
  int immediate = 0;
  table->OnFocusChange = [&](TiPlotObject* o) {
    EXPECT_EQ(o, table);
    ++immediate;
  };
  Click(table->DownButton());
  EXPECT_EQ(immediate, 2);   // pressed and released
  EXPECT_EQ(table->FirstRow(), 1);
}

TEST_F(TableFixture, AReleaseOnTheTableIsNotReportedAsAClick) {
  struct TOwner : TiPlotOwner {
    QStringList log;
    void ObjectMouseDown(TiPlotObject*, TMouseButton, TShiftState, int, int) override { log << "down"; }
    void ObjectMouseMove(TiPlotObject*, TShiftState, int, int) override {}
    void ObjectMouseUp(TiPlotObject*, TMouseButton, TShiftState, int, int) override { log << "up"; }
    void ObjectMouseWheel(TiPlotObject*, int, TShiftState, int, int) override {}
    bool ObjectPopupHandled(TiPlotObject*, int, int) override { return true; }
    void ObjectGotFocus(TiPlotObject*) override {}
    void ObjectLostFocus(TiPlotObject*) override {}
    QString Translate(const QString& t) const override { return t; }
    TPoint ClientToScreen(TPoint p) const override { return p; }
  } owner;
  auto nothing = [](TiPlotPersistent*) {};
  TiPlotPtr<TiPlotTable> own(new TiPlotTable(&owner, {nothing, nothing, nothing, nothing}));
  own->SetLayoutRect(Rect(0, 0, 100, 100));
  const TiPlotMouseParams p = MakeMouseParams(mbLeft, 0, 10, 10, false);
  own->MouseDown(p);
  own->MouseUp(p);
  EXPECT_EQ(owner.log, QStringList{QStringLiteral("down")});
}

TEST_F(TableFixture, ItGivesUpTheFocusToAnotherObjectAndOffersEdit) {
  chart.AddLabel();
  TiPlotLabel* other = chart.Labels(0);
  table->SetFocused(true);
  table->NotifyFocus(table);
  EXPECT_TRUE(table->HasFocus());
  table->NotifyFocus(other);   // the other does not hold the focus
  EXPECT_TRUE(table->HasFocus());
  other->SetFocused(true);     // the chart tells every object
  EXPECT_FALSE(table->HasFocus());

  TPopupMenu menu;
  menu.Items().Add(QStringLiteral("stale"), [] {});
  table->AddMenuItems(&menu);
  ASSERT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(menu.Items().Items(0)->Caption, QStringLiteral("Edit..."));
}

// --- Properties ---

TEST_F(TableFixture, PropertiesHaveTheirDefaultsAndTitlesSwitchedOffStayOff) {
  EXPECT_FALSE(table->Horizontal());
  EXPECT_EQ(table->MarginLeft(), 1.0);
  EXPECT_EQ(table->MarginTop(), 1.0);
  EXPECT_EQ(table->GridBackGroundColor(), TColor(8421504));
  EXPECT_EQ(table->GridLinesColor(), TColor(16777215));
  EXPECT_EQ(table->ColumnSpacing(), 2.0);
  EXPECT_EQ(table->RowSpacing(), 0.5);
  EXPECT_EQ(table->RowsMax(), 0);
  EXPECT_TRUE(table->GridLinesShow());
  EXPECT_FALSE(table->GridBackGroundTransparent());
  EXPECT_TRUE(table->ColumnTitlesVisible());
  EXPECT_EQ(table->DataFont()->Color(), clWhite);
  EXPECT_EQ(table->ColumnTitlesFont()->Color(), TColor(16776960));
  EXPECT_TRUE(table->DataFont()->Style() & FontStyleBit(fsBold));
  EXPECT_TRUE(table->ColumnTitlesFont()->Style() & FontStyleBit(fsBold));
  EXPECT_EQ(table->UpButton()->Name(), QStringLiteral("PlotTableUpButton"));
  EXPECT_EQ(table->DownButton()->Name(), QStringLiteral("PlotTableDownButton"));
  EXPECT_TRUE(table->UpButton()->AutoRepeat());

  QStringList names;
  for (const TiPropertyInfo& p : table->ClassInfo().Properties()) names << p.Name;
  const QStringList own{"MarginLeft", "MarginRight", "MarginBottom", "MarginTop", "GridBackGroundTransparent",
                        "GridBackGroundColor", "GridLinesShow", "GridLinesColor", "ColumnSpacing", "RowSpacing",
                        "RowsMax", "DataFont", "ColumnTitlesVisible", "ColumnTitlesFont"};
  EXPECT_EQ(names.mid(names.size() - own.size()), own);

  table->SetColumnTitlesVisible(false);
  table->SetRowsMax(4);
  QStringList lines;
  WriteProperties(*table, QString(), lines);
  EXPECT_TRUE(lines.contains(QStringLiteral("ColumnTitlesVisible = 0"))) << lines.join(QLatin1Char('|')).toStdString();
  TiPlotTable* copy = chart.Table(chart.AddTable());
  ReadProperties(*copy, QString(), lines);
  EXPECT_FALSE(copy->ColumnTitlesVisible());
  EXPECT_EQ(copy->RowsMax(), 4);
}

// --- Pixels ---

struct TablePaint : ::testing::Test {
  TPaintableChart small;
  TiPlotTable* table = nullptr;
  void SetUp() override {
    table = small.chart.Table(small.chart.AddTable());
    table->AddColumn(QStringLiteral("nm"));
    table->AddColumn(QStringLiteral("Value"));
    table->Column(1)->SetDataAlignment(iahRight);
    for (int i = 0; i < 8; ++i) table->AddRow(QStringLiteral("%1\r\n%2").arg(400 + 40 * i).arg(i * 1.5));
  }
};

TEST_F(TablePaint, GridFillLinesTitlesAndCellsInTheirColours) {
  table->SetRowsMax(4);
  TBitmap bitmap = small.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-table.png")));
  const TRect grid = table->GridRect();
  const TRect title = table->TitleRect();
  const int rh = table->RowHeight();
  ASSERT_GT(grid.Right, grid.Left);
  ASSERT_EQ(grid.Bottom, title.Bottom + 4 * rh);
  TCanvas* c = bitmap.Canvas();
  // Grid lines: the outline, the column edge and every row edge, white.
  const int x1 = grid.Left + table->Column(0)->Width();
  for (int y = grid.Top; y < grid.Bottom; ++y) {
    EXPECT_EQ(c->Pixel(grid.Left, y), clWhite) << y;
    EXPECT_EQ(c->Pixel(x1, y), clWhite) << y;
    EXPECT_EQ(c->Pixel(grid.Right, y), clWhite) << y;
  }
  for (int k = 0; k <= 4; ++k)
    for (int x = grid.Left; x <= grid.Right; ++x) EXPECT_EQ(c->Pixel(x, title.Bottom + k * rh), clWhite) << k << " " << x;
  EXPECT_NE(c->Pixel(grid.Right + 1, grid.Top), clWhite);   // the lines across end at the right edge
  // Title texts in aqua inside the title row; cell texts in white inside the rows; the rest grey.
  const TRect titles = BoxOf(bitmap, clAqua, Rect(0, 0, bitmap.Width(), bitmap.Height()));
  EXPECT_GE(titles.Left, grid.Left);
  EXPECT_GE(titles.Top, title.Top);
  EXPECT_LE(titles.Bottom, title.Bottom);
  EXPECT_EQ(c->Pixel(grid.Left + 1, title.Bottom + 1), clGray);
  // The right-aligned column: its text ends a half "0" before the column's right edge.
  const TRect firstRow = Rect(x1 + 1, title.Bottom + 1, grid.Right, title.Bottom + rh);
  const TRect value = BoxOf(bitmap, clWhite, firstRow);
  ASSERT_GT(value.Right, value.Left);
  const int z = TextW(table->DataFont()->Font(), QStringLiteral("0"));
  EXPECT_LE(value.Right, grid.Right - Nearest(0.5 * z));
  EXPECT_GE(value.Right, grid.Right - Nearest(0.5 * z) - 2);
  // The buttons, right of the grid: the face, and a black arrow on the enabled down button only.
  const TRect up = table->UpButton()->GetButtonRect(), down = table->DownButton()->GetButtonRect();
  EXPECT_EQ(up.Left, grid.Right + 5);
  const TPoint upCentre{(up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2};
  const TPoint downCentre{(down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2};
  EXPECT_EQ(c->Pixel(upCentre.X, upCentre.Y), clGray);
  EXPECT_EQ(c->Pixel(downCentre.X, downCentre.Y), clBlack);
  EXPECT_EQ(c->Pixel(downCentre.X - 3, downCentre.Y - 2), clBlack);   // the wide edge of the down arrow is on top
  EXPECT_NE(c->Pixel(downCentre.X - 3, downCentre.Y + 1), clBlack);
  EXPECT_EQ(c->Pixel(up.Left + 4, up.Top + 4), ColorToRGB(clBtnFace));
}

TEST_F(TablePaint, ADisabledTablesButtonsAreGrey) {
  table->SetRowsMax(4);
  table->SetEnabled(false);
  TBitmap bitmap = small.Paint();
  const TRect down = table->DownButton()->GetButtonRect();
  ASSERT_TRUE(table->DownButton()->Visible());
  EXPECT_EQ(bitmap.Canvas()->Pixel((down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2), clGray);
  EXPECT_EQ(BoxOf(bitmap, clBlack, down).Right, 0);   // no black arrow
  // The chart does not find it under the mouse.
  EXPECT_EQ(small.chart.HitTestChart(down.Left + 2, down.Top + 2, mbLeft), nullptr);
}

TEST_F(TablePaint, TransparentGridWithoutLinesAndNoVisibleColumn) {
  table->SetGridBackGroundTransparent(true);
  table->SetGridLinesShow(false);
  TBitmap bitmap = small.Paint();
  const TRect grid = table->GridRect();
  EXPECT_EQ(BoxOf(bitmap, clGray, grid).Right, 0);
  EXPECT_EQ(BoxOf(bitmap, clWhite, Rect(grid.Left, grid.Top, grid.Left + 1, grid.Bottom)).Right, 0);
  EXPECT_GT(BoxOf(bitmap, clWhite, grid).Right, 0);   // the cells are there

  table->Column(0)->SetVisible(false);
  table->Column(1)->SetVisible(false);
  table->SetGridBackGroundTransparent(false);
  TBitmap empty = small.Paint();
  EXPECT_EQ(CountOther(empty, clBlack, Rect(0, 0, empty.Width(), empty.Height())), 0);
}

TEST_F(TablePaint, AFocusedTableShowsTheFocusRectangle) {
  TBitmap plain = small.Paint();
  table->SetFocused(true);
  TBitmap focused = small.Paint();
  const TRect l = table->GetLayoutRect();
  EXPECT_EQ(CountOther(plain, clBlack, Rect(l.Left, l.Top, l.Right, l.Top + 1)), 0);
  EXPECT_GT(CountOther(focused, clBlack, Rect(l.Left, l.Top, l.Right, l.Top + 1)), 0);
}

TEST(TableLevel, AboveOrBelowTheDataViewTheFocusRectangleIsInsetAtTopAndBottom) {
  TPaintableChart small;
  auto* level = new TiPlotTable(&small.chart, small.chart.Master()->Handlers());
  level->SetHorizontal(true);   // before it announces itself, so that it is placed as such
  InsertObject(TiPlotPtr<TiPlotObject>(level));
  level->AddColumn(QStringLiteral("A"));
  level->AddRow(QStringLiteral("1"));
  level->SetFocused(true);
  TBitmap bitmap = small.Paint();
  const TRect h = level->GetLayoutRect();
  EXPECT_EQ(h.Bottom - h.Top, level->RequiredHeight());
  ASSERT_GT(h.Bottom - h.Top, 4);
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(h.Left, h.Top, h.Right, h.Top + 2)), 0);
  EXPECT_GT(CountOther(bitmap, clBlack, Rect(h.Left, h.Top + 2, h.Right, h.Top + 3)), 0);
  EXPECT_GT(CountOther(bitmap, clBlack, Rect(h.Left, h.Bottom - 3, h.Right, h.Bottom - 2)), 0);
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(h.Left, h.Bottom - 2, h.Right, h.Bottom)), 0);
}

TEST_F(TablePaint, ClicksThroughTheChartScrollTheTable) {
  table->SetRowsMax(3);
  small.Paint();
  const TRect down = table->DownButton()->GetButtonRect();
  EXPECT_EQ(small.chart.HitTestChart(down.Left + 2, down.Top + 2, mbLeft), table->DownButton());
  small.chart.DoMouseDown(mbLeft, ssLeft, down.Left + 2, down.Top + 2);
  small.chart.DoMouseUp(mbLeft, 0, down.Left + 2, down.Top + 2);
  small.Paint();
  EXPECT_EQ(table->FirstRow(), 1);
  EXPECT_EQ(table->LastRow(), 3);
}

}  // namespace
