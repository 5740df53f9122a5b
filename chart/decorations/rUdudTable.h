#pragma once
// Text tables beside the data view, and their scroll buttons.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "chart/core/iGPFunctions.h"
#include "chart/core/iPersistent.h"
#include "chart/core/rUdudObjects.h"

class TiPlotTable;

// The scroll buttons of a table. They belong to their table and never announce themselves to the
// chart: the table hands them out from GetObjectAt, and a click on them raises no chart event.
class TiPlotTableButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
  // The face: the button colour with a raised bevel, sunken while the mouse holds it.
  void Draw(TCanvas* canvas, TColor backgroundColor) override;
};

// One column of a table. A plain object, not a published property: a program builds its columns
// through the table's operations and sets them here; every setter repaints the table.
class TiPlotTableColumn {
 public:
  explicit TiPlotTableColumn(TiPlotTable* table) : table_(table) {}
  TiPlotTableColumn(const TiPlotTableColumn&) = delete;
  TiPlotTableColumn& operator=(const TiPlotTableColumn&) = delete;

  // Pixels, set by the layout.
  int Width() const { return width_; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& value);
  // Widths of "0" in the table's DataFont; the layout writes it back for automatic columns.
  double WidthInChars() const { return widthInChars_; }
  void SetWidthInChars(double value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TiAlignmentHorizontal TitleAlignment() const { return titleAlignment_; }
  void SetTitleAlignment(TiAlignmentHorizontal value);
  // Widths of "0" in the title font, kept from the aligned edge (left or right alignment only).
  double TitleMargin() const { return titleMargin_; }
  void SetTitleMargin(double value);
  TColor TitleFontColor() const { return titleFontColor_; }
  void SetTitleFontColor(TColor value);
  TiAlignmentHorizontal DataAlignment() const { return dataAlignment_; }
  void SetDataAlignment(TiAlignmentHorizontal value);
  double DataMargin() const { return dataMargin_; }
  void SetDataMargin(double value);
  TColor DataFontColor() const { return dataFontColor_; }
  void SetDataFontColor(TColor value);
  // As wide as the widest cell or title, plus ColumnSpacing and one more "0".
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

 private:
  friend class TiPlotTable;
  template <class T>
  void Change(T& field, const T& value, bool remeasure = false);

  TiPlotTable* table_;
  int width_ = 0;
  QString title_;
  double widthInChars_ = 10.0;
  bool visible_ = true;
  TiAlignmentHorizontal titleAlignment_ = iahCenter;
  double titleMargin_ = 0.5;
  TColor titleFontColor_ = clAqua;
  TiAlignmentHorizontal dataAlignment_ = iahLeft;
  double dataMargin_ = 0.5;
  TColor dataFontColor_ = clWhite;
  bool autoSize_ = true;
  // The widths of the title and of the widest cell, as last measured by the table.
  int titleTextWidth_ = 0;
  int cellTextWidth_ = 0;
};

class TiPlotTable : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotTable(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotTable() override;
  // Its ZOrder and orientation take effect at the next rebuild another object causes.
  bool FollowsLayoutChanges() const override { return false; }

  // --- Overrides, in slot order. ---
  void NotifyFocus(TiPlotObject* object) override;                    // 10
  void Draw(TCanvas* canvas, TColor backgroundColor) override;        // 12
  void DoMouseUp(const TiPlotMouseParams& params) override;           // 22
  TiPlotObject* GetObjectAt(int x, int y) override;                   // 28
  void AddMenuItems(TPopupMenu* menu) override;                       // 32
  int RequiredSize(TCanvas* canvas) override;                         // 36

  TiPlotTableButton* UpButton() const { return upButton_.get(); }
  TiPlotTableButton* DownButton() const { return downButton_.get(); }
  int RequiredWidth() const { return requiredWidth_; }
  int RequiredHeight() const { return requiredHeight_; }
  TRect GridRect() const { return gridRect_; }
  TRect TitleRect() const { return titleRect_; }
  int FirstRow() const { return firstRow_; }
  int LastRow() const { return lastRow_; }
  int RowHeight() const { return rowHeight_; }

  // --- Columns and rows. Not published properties: they are the table's content, which the
  // program fills through these operations. Indexes outside the lists raise "Index out of
  // Bounds". ---
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TiPlotTableColumn* Column(int index) const;
  // Appends a column with the given title; returns its index. New columns size themselves
  // (AutoSize), centre their titles and align their cells left, in the colours of the fonts.
  int AddColumn(const QString& title = QString());
  void DeleteColumn(int index);
  void ClearColumns();

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Appends a row; its text holds the cells of the columns in order, split at CR LF, a lone CR
  // or a lone LF (a break at the very end adds no empty cell). Returns the row's index.
  int AddRow(const QString& text);
  // The cell of an existing column in an existing row; a row with fewer cells grows. Line
  // breaks inside a cell become blanks (they would split the row).
  void SetCell(int column, int row, const QString& text);
  void DeleteRow(int index);
  void ClearRows();
  // The row's cells as one text, CR LF between them.
  QString RowText(int row) const;
  // The cell of column `column` (counting hidden columns) in row `row`: empty where the row has
  // fewer cells.
  QString CellText(int column, int row) const;

  // Lays the table out in its layout rectangle: the grid, the title row, the column widths, the
  // rows that fit and the scroll buttons.
  void LayoutTable(TCanvas* canvas);

  // --- Published properties. ---
  double MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(double value);
  double MarginRight() const { return marginRight_; }
  void SetMarginRight(double value);
  double MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(double value);
  double MarginTop() const { return marginTop_; }
  void SetMarginTop(double value);
  bool GridBackGroundTransparent() const { return gridBackGroundTransparent_; }
  void SetGridBackGroundTransparent(bool value);
  TColor GridBackGroundColor() const { return gridBackGroundColor_; }
  void SetGridBackGroundColor(TColor value);
  bool GridLinesShow() const { return gridLinesShow_; }
  void SetGridLinesShow(bool value);
  TColor GridLinesColor() const { return gridLinesColor_; }
  void SetGridLinesColor(TColor value);
  double ColumnSpacing() const { return columnSpacing_; }
  void SetColumnSpacing(double value);
  double RowSpacing() const { return rowSpacing_; }
  void SetRowSpacing(double value);
  // Most rows shown at once; 0 (or below) shows all that fit.
  int RowsMax() const { return rowsMax_; }
  void SetRowsMax(int value);
  TiFont* DataFont() { return &dataFont_; }
  const TiFont* DataFont() const { return &dataFont_; }
  bool ColumnTitlesVisible() const { return columnTitlesVisible_; }
  void SetColumnTitlesVisible(bool value);
  TiFont* ColumnTitlesFont() { return &columnTitlesFont_; }
  const TiFont* ColumnTitlesFont() const { return &columnTitlesFont_; }

 private:
  friend class TiPlotTableColumn;

  void CheckColumn(int index) const;
  void CheckRow(int index) const;
  // The cells changed (rows, titles or fonts): the next layout measures again; repaints.
  void ContentChanged();
  // Measures every title and cell once per content change (or when the canvas measures "0"
  // differently, as a printer does).
  void Measure(TCanvas* canvas, int cw, int dw);
  void PlaceButtons(int visibleRows);
  void ScrollUp();
  void ScrollDown();
  void DrawGridLines(TCanvas* canvas);
  void DrawTitles(TCanvas* canvas);
  void DrawCells(TCanvas* canvas);
  void DrawButton(TCanvas* canvas, TiPlotTableButton* button, bool up);

  TiPlotPtr<TiPlotTableButton> upButton_;
  TiPlotPtr<TiPlotTableButton> downButton_;
  int requiredWidth_ = 0;
  int requiredHeight_ = 0;
  std::vector<std::unique_ptr<TiPlotTableColumn>> columns_;
  std::vector<QStringList> rows_;
  int firstRow_ = 0;
  int lastRow_ = -1;
  int rowHeight_ = 1;
  double marginLeft_ = 1.0;
  double marginRight_ = 1.0;
  double marginBottom_ = 1.0;
  double marginTop_ = 1.0;
  bool gridBackGroundTransparent_ = false;
  TColor gridBackGroundColor_ = clGray;
  bool gridLinesShow_ = true;
  TColor gridLinesColor_ = clWhite;
  double columnSpacing_ = 2.0;
  double rowSpacing_ = 0.5;
  int rowsMax_ = 0;
  TiFont dataFont_;
  TRect gridRect_;
  TRect titleRect_;
  bool columnTitlesVisible_ = true;
  TiFont columnTitlesFont_;

  // Measurement cache: valid while nothing measured has changed and "0" measures the same.
  bool measured_ = false;
  int measuredTitleZero_ = 0;
  int measuredDataZero_ = 0;
};
