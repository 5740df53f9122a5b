#include "chart/decorations/rUdudTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/core/iErrors.h"
#include "chart/decorations/iScrollButtons.h"
#include "platform/Canvas.h"

namespace {

// Positions and sizes stay within what the canvas can draw.
constexpr int kPixelLimit = 32000;

int Saturate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -kPixelLimit, kPixelLimit));
}

// nearest(value), ties to even; a product that is no number counts as 0, and one beyond the
// pixel range (a margin of 1e300 read from a file) is cut to it.
int NearestPixels(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(value, -double(kPixelLimit), double(kPixelLimit))));
}

// Width and height of "0" in the canvas's current font, at least 1 so that nothing divides by 0.
int ZeroWidth(TCanvas* canvas) { return std::max(1, canvas->TextWidth(QStringLiteral("0"))); }
int ZeroHeight(TCanvas* canvas) { return std::max(1, canvas->TextHeight(QStringLiteral("0"))); }

// The cells of a row text: lines end at CR LF, a lone CR or a lone LF; a break at the very end
// adds no empty cell.
QStringList SplitCells(const QString& text) {
  QStringList cells;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    cells << text.mid(start, i - start);
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  if (start < text.size()) cells << text.mid(start);
  return cells;
}

// One title or cell: centred, or kept `margin` widths of "0" from the aligned edge.
void DrawCellText(TCanvas& canvas, TRect rect, const QString& text, TiAlignmentHorizontal alignment, double margin,
                  int zeroWidth, TColor color) {
  TTextOptions options{TTextOption::SingleLine, TTextOption::VCenter};
  const int inset = NearestPixels(margin * zeroWidth);
  switch (alignment) {
    case iahLeft:
      rect.Left = Saturate(std::int64_t(rect.Left) + inset);
      options.Include(TTextOption::Left);
      break;
    case iahRight:
      rect.Right = Saturate(std::int64_t(rect.Right) - inset);
      options.Include(TTextOption::Right);
      break;
    default: options.Include(TTextOption::Center); break;
  }
  canvas.Font().Color = color;
  DrawTextOptions(canvas, text, rect, color, true, options);
}

// The scroll buttons are 17 pixels square, 5 pixels right of the grid.
constexpr int kButtonGap = 5;
constexpr int kButtonSize = 17;

TRect ButtonRectAt(int gridRight, int top) { return Rect(gridRight + kButtonGap, top, gridRight + kButtonGap + kButtonSize, top + kButtonSize); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TiPlotTableButton

void TiPlotTableButton::Draw(TCanvas* canvas, TColor) {
  if (canvas) DrawScrollButtonFace(*canvas, *this);
}

// ---------------------------------------------------------------------------------------------
// TiPlotTableColumn

template <class T>
void TiPlotTableColumn::Change(T& field, const T& value, bool remeasure) {
  if (field == value) return;
  field = value;
  if (remeasure)
    table_->ContentChanged();
  else
    table_->DoChange();
}

void TiPlotTableColumn::SetTitle(const QString& value) { Change(title_, value, true); }
void TiPlotTableColumn::SetWidthInChars(double value) { Change(widthInChars_, value); }
void TiPlotTableColumn::SetVisible(bool value) { Change(visible_, value); }
void TiPlotTableColumn::SetTitleAlignment(TiAlignmentHorizontal value) { Change(titleAlignment_, value); }
void TiPlotTableColumn::SetTitleMargin(double value) { Change(titleMargin_, value); }
void TiPlotTableColumn::SetTitleFontColor(TColor value) { Change(titleFontColor_, value); }
void TiPlotTableColumn::SetDataAlignment(TiAlignmentHorizontal value) { Change(dataAlignment_, value); }
void TiPlotTableColumn::SetDataMargin(double value) { Change(dataMargin_, value); }
void TiPlotTableColumn::SetDataFontColor(TColor value) { Change(dataFontColor_, value); }
void TiPlotTableColumn::SetAutoSize(bool value) { Change(autoSize_, value); }

// ---------------------------------------------------------------------------------------------
// TiPlotTable

const TiClassInfo& TiPlotTable::StaticClassInfo() {
  using C = TiPlotTable;
  // Columns and rows are content, not published properties: they are not stored with the chart.
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotTable"), &TiPlotLayoutObject::StaticClassInfo())
          .Float(QStringLiteral("MarginLeft"), &C::MarginLeft, &C::SetMarginLeft, 1.0)
          .Float(QStringLiteral("MarginRight"), &C::MarginRight, &C::SetMarginRight, 1.0)
          .Float(QStringLiteral("MarginBottom"), &C::MarginBottom, &C::SetMarginBottom, 1.0)
          .Float(QStringLiteral("MarginTop"), &C::MarginTop, &C::SetMarginTop, 1.0)
          .Boolean(QStringLiteral("GridBackGroundTransparent"), &C::GridBackGroundTransparent, &C::SetGridBackGroundTransparent, false)
          .Color(QStringLiteral("GridBackGroundColor"), &C::GridBackGroundColor, &C::SetGridBackGroundColor, clGray)
          .Boolean(QStringLiteral("GridLinesShow"), &C::GridLinesShow, &C::SetGridLinesShow, true)
          .Color(QStringLiteral("GridLinesColor"), &C::GridLinesColor, &C::SetGridLinesColor, clWhite)
          .Float(QStringLiteral("ColumnSpacing"), &C::ColumnSpacing, &C::SetColumnSpacing, 2.0)
          .Float(QStringLiteral("RowSpacing"), &C::RowSpacing, &C::SetRowSpacing, 0.5)
          .Integer(QStringLiteral("RowsMax"), &C::RowsMax, &C::SetRowsMax, 0)
          .Object(QStringLiteral("DataFont"), static_cast<TiFont* (C::*)()>(&C::DataFont))
          // Declared with the default the constructor sets, so that titles switched off are stored
          // as off and stay off when the chart is read back.
          .Boolean(QStringLiteral("ColumnTitlesVisible"), &C::ColumnTitlesVisible, &C::SetColumnTitlesVisible, true)
          .Object(QStringLiteral("ColumnTitlesFont"), static_cast<TiFont* (C::*)()>(&C::ColumnTitlesFont))
          .Build();
  return info;
}

TiPlotTable::TiPlotTable(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotLayoutObject(owner, handlers),
      dataFont_(TFont{TFont().Name, TFont().Height, clWhite, FontStyleBit(fsBold)}),
      columnTitlesFont_(TFont{TFont().Name, TFont().Height, clAqua, FontStyleBit(fsBold)}) {
  // The buttons stay inside the table: no chart handlers, so they never announce themselves.
  const TiPlotHandlers none;
  upButton_.reset(new TiPlotTableButton(owner, none));
  downButton_.reset(new TiPlotTableButton(owner, none));
  auto repaintNow = [this] {
    if (OnFocusChange) OnFocusChange(this);
  };
  SetUpScrollButton(*upButton_, QStringLiteral("PlotTableUpButton"), repaintNow, [this] { ScrollUp(); });
  SetUpScrollButton(*downButton_, QStringLiteral("PlotTableDownButton"), repaintNow, [this] { ScrollDown(); });
  dataFont_.OnChange = [this] { ContentChanged(); };
  columnTitlesFont_.OnChange = dataFont_.OnChange;
  // A table stands left or right of the data view; set before it announces itself.
  SetHorizontal(false);
}

TiPlotTable::~TiPlotTable() {
  // The columns go without repaint requests: the chart has been told of the removal already.
  columns_.clear();
}

// --- Content ---

void TiPlotTable::CheckColumn(int index) const {
  if (index < 0 || index >= ColumnCount()) throw EiError(QStringLiteral("Index out of Bounds"));
}

void TiPlotTable::CheckRow(int index) const {
  if (index < 0 || index >= RowCount()) throw EiError(QStringLiteral("Index out of Bounds"));
}

void TiPlotTable::ContentChanged() {
  measured_ = false;
  DoChange();
}

TiPlotTableColumn* TiPlotTable::Column(int index) const {
  CheckColumn(index);
  return columns_[static_cast<size_t>(index)].get();
}

int TiPlotTable::AddColumn(const QString& title) {
  auto column = std::make_unique<TiPlotTableColumn>(this);
  column->title_ = title;
  column->titleFontColor_ = columnTitlesFont_.Color();
  column->dataFontColor_ = dataFont_.Color();
  columns_.push_back(std::move(column));
  ContentChanged();
  return ColumnCount() - 1;
}

void TiPlotTable::DeleteColumn(int index) {
  CheckColumn(index);
  columns_.erase(columns_.begin() + index);
  ContentChanged();
}

void TiPlotTable::ClearColumns() {
  while (!columns_.empty()) DeleteColumn(0);
}

int TiPlotTable::AddRow(const QString& text) {
  rows_.push_back(SplitCells(text));
  ContentChanged();
  return RowCount() - 1;
}

void TiPlotTable::SetCell(int column, int row, const QString& text) {
  CheckColumn(column);
  CheckRow(row);
  QString cell = text;
  cell.replace(QLatin1String("\r\n"), QLatin1String(" "));
  cell.replace(QLatin1Char('\r'), QLatin1Char(' '));
  cell.replace(QLatin1Char('\n'), QLatin1Char(' '));
  QStringList& cells = rows_[static_cast<size_t>(row)];
  if (column < cells.size() && cells[column] == cell) return;
  while (cells.size() <= column) cells << QString();
  cells[column] = cell;
  ContentChanged();
}

void TiPlotTable::DeleteRow(int index) {
  CheckRow(index);
  rows_.erase(rows_.begin() + index);
  ContentChanged();
}

void TiPlotTable::ClearRows() {
  if (rows_.empty()) return;
  rows_.clear();
  ContentChanged();
}

QString TiPlotTable::RowText(int row) const {
  CheckRow(row);
  return rows_[static_cast<size_t>(row)].join(QLatin1String("\r\n"));
}

QString TiPlotTable::CellText(int column, int row) const {
  CheckRow(row);
  const QStringList& cells = rows_[static_cast<size_t>(row)];
  return column >= 0 && column < cells.size() ? cells[column] : QString();
}

// --- Properties ---

void TiPlotTable::SetMarginLeft(double value) { SetAndChange(marginLeft_, value); }
void TiPlotTable::SetMarginRight(double value) { SetAndChange(marginRight_, value); }
void TiPlotTable::SetMarginBottom(double value) { SetAndChange(marginBottom_, value); }
void TiPlotTable::SetMarginTop(double value) { SetAndChange(marginTop_, value); }
void TiPlotTable::SetGridBackGroundTransparent(bool value) { SetAndChange(gridBackGroundTransparent_, value); }
void TiPlotTable::SetGridBackGroundColor(TColor value) { SetAndChange(gridBackGroundColor_, value); }
void TiPlotTable::SetGridLinesShow(bool value) { SetAndChange(gridLinesShow_, value); }
void TiPlotTable::SetGridLinesColor(TColor value) { SetAndChange(gridLinesColor_, value); }
void TiPlotTable::SetColumnSpacing(double value) { SetAndChange(columnSpacing_, value); }
void TiPlotTable::SetRowSpacing(double value) { SetAndChange(rowSpacing_, value); }
void TiPlotTable::SetRowsMax(int value) { SetAndChange(rowsMax_, value); }
void TiPlotTable::SetColumnTitlesVisible(bool value) { SetAndChange(columnTitlesVisible_, value); }

// --- Layout ---

void TiPlotTable::Measure(TCanvas* canvas, int cw, int dw) {
  if (measured_ && measuredTitleZero_ == cw && measuredDataZero_ == dw) return;
  canvas->Font() = columnTitlesFont_.Font();
  for (const auto& column : columns_) column->titleTextWidth_ = canvas->TextWidth(column->title_);
  canvas->Font() = dataFont_.Font();
  for (size_t c = 0; c < columns_.size(); ++c) {
    int widest = 0;
    for (const QStringList& cells : rows_)
      if (static_cast<qsizetype>(c) < cells.size()) widest = std::max(widest, canvas->TextWidth(cells[static_cast<qsizetype>(c)]));
    columns_[c]->cellTextWidth_ = widest;
  }
  measured_ = true;
  measuredTitleZero_ = cw;
  measuredDataZero_ = dw;
}

void TiPlotTable::LayoutTable(TCanvas* canvas) {
  if (!canvas || RowCount() == 0 || ColumnCount() == 0) {
    requiredWidth_ = requiredHeight_ = 0;
    upButton_->SetVisible(false);
    downButton_->SetVisible(false);
    return;
  }
  const TRect l = GetLayoutRect();

  // Outer margins and the title row, in ColumnTitlesFont.
  canvas->Font() = columnTitlesFont_.Font();
  const int cw = ZeroWidth(canvas);
  const int ch = ZeroHeight(canvas);
  const int mt = NearestPixels(ch * marginTop_);
  const int mb = NearestPixels(ch * marginBottom_);
  const int ml = NearestPixels(cw * marginLeft_);
  const int mr = NearestPixels(cw * marginRight_);
  gridRect_ = Rect(Saturate(std::int64_t(l.Left) + ml), Saturate(std::int64_t(l.Top) + mt), Saturate(std::int64_t(l.Right) - mr),
                   Saturate(std::int64_t(l.Bottom) - mb));
  titleRect_ = Rect(gridRect_.Left, gridRect_.Top, gridRect_.Right, columnTitlesVisible_ ? Saturate(std::int64_t(gridRect_.Top) + ch) : gridRect_.Top);

  // Rows, in DataFont.
  canvas->Font() = dataFont_.Font();
  const int dw = ZeroWidth(canvas);
  const int dh = ZeroHeight(canvas);
  rowHeight_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t(dh) + NearestPixels(double(dh) * rowSpacing_), 1, kPixelLimit));
  int r = rowsMax_ > 0 && rowsMax_ < RowCount() ? rowsMax_ : RowCount();
  std::int64_t height = std::int64_t(mt) + mb + (titleRect_.Bottom - titleRect_.Top) + std::int64_t(r) * rowHeight_;
  gridRect_.Bottom = Saturate(titleRect_.Bottom + std::int64_t(r) * rowHeight_);
  requiredHeight_ = Saturate(height);

  // Column widths, added in 64 bits.
  Measure(canvas, cw, dw);
  const int titleSpacing = NearestPixels(cw * columnSpacing_);
  const int dataSpacing = NearestPixels(dw * columnSpacing_);
  std::int64_t width = std::int64_t(ml) + mr;
  for (const auto& column : columns_) {
    if (!column->visible_) continue;
    if (column->autoSize_) {
      const std::int64_t s = std::max(std::int64_t(column->titleTextWidth_) + titleSpacing + cw,
                                      std::int64_t(column->cellTextWidth_) + dataSpacing + dw);
      column->width_ = static_cast<int>(std::clamp<std::int64_t>(s, 0, kPixelLimit));
      column->widthInChars_ = column->width_ / dw;
    } else {
      column->width_ = std::clamp(NearestPixels(column->widthInChars_ * dw), 0, kPixelLimit);
    }
    width += column->width_;
  }
  gridRect_.Right = Saturate(gridRect_.Left + width - ml - mr);

  // Only whole rows that fit; none when not even the title row fits.
  const std::int64_t room = std::int64_t(l.Bottom) - mb;
  if (room < gridRect_.Bottom) {
    r = static_cast<int>(std::max<std::int64_t>(0, (room - titleRect_.Bottom) / rowHeight_));
    gridRect_.Bottom = Saturate(titleRect_.Bottom + std::int64_t(r) * rowHeight_);
  }

  // Scrolling, when some rows are left out. A disabled table takes the same room.
  if (r > 0 && r < RowCount()) {
    PlaceButtons(r);
    width += upButton_->ButtonWidth() + kButtonGap;
    lastRow_ = firstRow_ + r - 1;
    if (lastRow_ > RowCount() - 1) {
      lastRow_ = RowCount() - 1;
      firstRow_ = lastRow_ - r + 1;
    }
    if (firstRow_ < 0) {
      firstRow_ = 0;
      lastRow_ = r - 1;
    }
  } else {
    upButton_->SetVisible(false);
    downButton_->SetVisible(false);
    if (r == 0) {
      // Nothing shown: the scroll position waits for room.
      firstRow_ = std::clamp(firstRow_, 0, RowCount() - 1);
      lastRow_ = firstRow_ - 1;
    } else {
      firstRow_ = 0;
      lastRow_ = r - 1;
    }
  }
  requiredWidth_ = Saturate(width);
  upButton_->SetEnabled(firstRow_ != 0);
  downButton_->SetEnabled(lastRow_ != RowCount() - 1);
}

void TiPlotTable::PlaceButtons(int visibleRows) {
  const int h = rowHeight_ / 2;
  const int yu = Saturate(std::int64_t(titleRect_.Bottom) + h);
  const TRect up = ButtonRectAt(gridRect_.Right, yu - 8);
  upButton_->SetButtonRect(up);
  // With one row both middles coincide: the down button goes below the up button, so that both
  // can be clicked.
  if (visibleRows == 1) {
    downButton_->SetButtonRect(ButtonRectAt(gridRect_.Right, up.Bottom));
  } else {
    const int yd = Saturate(std::int64_t(titleRect_.Bottom) + std::int64_t(visibleRows) * rowHeight_ - h);
    downButton_->SetButtonRect(ButtonRectAt(gridRect_.Right, yd - 8));
  }
  upButton_->SetVisible(true);
  downButton_->SetVisible(true);
}

int TiPlotTable::RequiredSize(TCanvas* canvas) {
  LayoutTable(canvas);
  return IsHorizontal() ? requiredHeight_ : requiredWidth_;
}

// --- Scrolling ---

void TiPlotTable::ScrollUp() {
  if (!Enabled() || firstRow_ <= 0) return;
  --firstRow_;
  DoChange();
}

void TiPlotTable::ScrollDown() {
  if (!Enabled() || firstRow_ >= RowCount() - 1) return;
  ++firstRow_;
  DoChange();
}

// --- Drawing ---

void TiPlotTable::Draw(TCanvas* canvas, TColor) {
  if (!canvas || !Visible() || RowCount() == 0 || ColumnCount() == 0) return;
  LayoutTable(canvas);
  if (std::none_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->visible_; })) return;
  canvas->Brush() = TBrush{gridBackGroundColor_, bsSolid};
  canvas->Pen() = TPen{gridLinesColor_, psSolid, 1, pmCopy};
  if (!gridBackGroundTransparent_) canvas->FillRect(gridRect_);
  if (gridLinesShow_) DrawGridLines(canvas);
  if (columnTitlesVisible_) DrawTitles(canvas);
  DrawCells(canvas);
  if (upButton_->Visible()) DrawButton(canvas, upButton_.get(), true);
  if (downButton_->Visible()) DrawButton(canvas, downButton_.get(), false);
  if (HasFocus()) {
    TRect r = GetLayoutRect();
    if (IsHorizontal()) {
      r.Top += 2;
      r.Bottom -= 2;
    }
    DrawFocusRectangle(*canvas, r);
  }
}

void TiPlotTable::DrawGridLines(TCanvas* canvas) {
  canvas->Pen() = TPen{gridLinesColor_, psSolid, 1, pmCopy};
  int x = gridRect_.Left;
  for (const auto& column : columns_) {
    if (!column->visible_) continue;
    canvas->MoveTo(x, gridRect_.Top);
    canvas->LineTo(x, gridRect_.Bottom);
    x = Saturate(std::int64_t(x) + column->width_);
  }
  canvas->MoveTo(gridRect_.Right, gridRect_.Top);
  canvas->LineTo(gridRect_.Right, gridRect_.Bottom);
  auto across = [&](int y) {
    canvas->MoveTo(gridRect_.Left, y);
    canvas->LineTo(gridRect_.Right + 1, y);
  };
  across(gridRect_.Top);
  for (int k = 0; k <= lastRow_ - firstRow_ + 1; ++k) across(Saturate(titleRect_.Bottom + std::int64_t(k) * rowHeight_));
}

void TiPlotTable::DrawTitles(TCanvas* canvas) {
  canvas->Font() = columnTitlesFont_.Font();
  canvas->Brush().Style = bsClear;
  const int z = ZeroWidth(canvas);
  int x = titleRect_.Left;
  for (const auto& column : columns_) {
    if (!column->visible_) continue;
    const int right = Saturate(std::int64_t(x) + column->width_);
    DrawCellText(*canvas, Rect(x, titleRect_.Top, right, titleRect_.Bottom), column->title_, column->titleAlignment_,
                 column->titleMargin_, z, column->titleFontColor_);
    x = right;
  }
}

void TiPlotTable::DrawCells(TCanvas* canvas) {
  canvas->Font() = dataFont_.Font();
  canvas->Brush().Style = bsClear;
  const int z = ZeroWidth(canvas);
  for (int j = firstRow_; j <= lastRow_; ++j) {
    const int y = Saturate(titleRect_.Bottom + std::int64_t(j - firstRow_) * rowHeight_);
    const int bottom = Saturate(std::int64_t(y) + rowHeight_);
    int x = gridRect_.Left;
    for (size_t c = 0; c < columns_.size(); ++c) {
      const TiPlotTableColumn& column = *columns_[c];
      if (!column.visible_) continue;
      const int right = Saturate(std::int64_t(x) + column.width_);
      DrawCellText(*canvas, Rect(x, y, right, bottom), CellText(static_cast<int>(c), j), column.dataAlignment_,
                   column.dataMargin_, z, column.dataFontColor_);
      x = right;
    }
  }
}

void TiPlotTable::DrawButton(TCanvas* canvas, TiPlotTableButton* button, bool up) {
  button->Draw(canvas, clBtnFace);
  // Grey on a disabled table, whose buttons take no clicks, as on a button with nothing to scroll.
  DrawScrollArrow(*canvas, button->GetButtonRect(), up, Enabled() && button->Enabled() ? clBlack : clGray);
}

// --- Input ---

void TiPlotTable::NotifyFocus(TiPlotObject* object) {
  if (object && object != this && object->HasFocus()) SetFocused(false);
}

void TiPlotTable::DoMouseUp(const TiPlotMouseParams&) {
  // A click on a table is not reported to the chart.
  SetMouseIsDown(false);
}

TiPlotObject* TiPlotTable::GetObjectAt(int x, int y) {
  TiPlotObject* self = TiPlotLayoutObject::GetObjectAt(x, y);
  if (!Enabled()) return self;
  for (TiPlotTableButton* button : {upButton_.get(), downButton_.get()})
    if (button->Visible() && PtInRect(button->GetButtonRect(), {x, y})) return button;
  return self;
}

void TiPlotTable::AddMenuItems(TPopupMenu* menu) {
  TiPlotLayoutObject::AddMenuItems(menu);
  AddEditMenuItem(menu);
}
