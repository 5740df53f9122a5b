#pragma once
// The legend: one entry per channel listed in it (line sample, marker, title and optional axis
// title, value and statistics columns), wrapped into entry columns and rows, with two scroll
// buttons when not every entry fits.
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "chart/core/iGPFunctions.h"
#include "chart/core/iPersistent.h"
#include "chart/core/rUdudObjects.h"

class TiPlotChannelCustom;

// Where a listed channel's title takes its colour from.
enum TiPlotLegendChannelNameColorStyle : int { iplcncsFont, iplcncsChannelColor, iplcncsXAxisFontColor, iplcncsYAxisFontColor };
const QStringList& LegendChannelNameColorStyleNames();

// The columns of an entry, in their order from the left.
enum TiPlotLegendColumn : int {
  iplcLine, iplcMarker, iplcTitle, iplcXAxisTitle, iplcYAxisTitle, iplcXValue, iplcYValue, iplcYMax, iplcYMin, iplcYMean
};
inline constexpr int kLegendColumnCount = iplcYMean + 1;

// One listed channel as the last layout computation placed it.
struct TiPlotLegendItem {
  TiPlotChannelCustom* Channel = nullptr;
  int Height = 0;   // the title's height in pixels
  int X = 0;        // top-left pixel
  int Y = 0;
  int Row = 0;      // 1-based place in the wrapping grid; 0 while not placed (scrolled away)
  int Column = 0;
  // The texts of the columns (title, axis titles, values and statistics) as measured.
  std::array<QString, kLegendColumnCount> Texts;
};

// The legend's scroll buttons. They belong to their legend and never announce themselves to the
// chart: the legend hands them out from GetObjectAt.
class TiPlotLegendButton : public TiPlotButton {
 public:
  TiPlotLegendButton(TiPlotOwner* owner, const TiPlotHandlers& handlers, bool pointsUp);
  // The face, raised (lowered while held), with a small triangle: black, grey when disabled.
  void Draw(TCanvas* canvas, TColor backgroundColor) override;
  bool PointsUp() const { return pointsUp_; }

 private:
  bool pointsUp_;
};

class TiPlotLegend : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotLegend(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotLegend() override;

  // --- Overrides, in slot order. ---
  void NotifyRemoving(TiPlotPersistent* item) override;             // 8
  void NotifyFocus(TiPlotObject* object) override;                  // 10
  void Draw(TCanvas* canvas, TColor backgroundColor) override;      // 12
  // Only a release inside the legend is a click on it.
  bool ReleaseIsClick(int x, int y) override { return HitAt(x, y); }
  TiPlotObject* GetObjectAt(int x, int y) override;                 // 28
  void AddMenuItems(TPopupMenu* menu) override;                     // 32
  int RequiredSize(TCanvas* canvas) override;                       // 36

  // Whether a visible data cursor that follows all channels shows its values in the legend; the
  // painting cycle sets it before the layout.
  bool AllChannelsCursorActive() const { return allChannelsCursorActive_; }
  void SetAllChannelsCursorActive(bool value) { allChannelsCursorActive_ = value; }

  // Runs the layout computation in the layout rectangle: the entries, the column widths and
  // offsets, the wrapping counts, the entries' places, the size and the scroll buttons. False
  // when no channel is listed (then nothing changes but the entry list).
  bool LayoutEntries(TCanvas* canvas);

  // --- Results of the last layout computation. ---
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const TiPlotLegendItem& Item(int index) const;
  // The index of the first shown entry (the scroll position) and of the last shown one.
  int FirstItem() const { return firstItem_; }
  int LastItem() const { return lastItem_; }
  bool ColumnShown(TiPlotLegendColumn column) const { return shown_[column]; }
  int ColumnWidth(TiPlotLegendColumn column) const { return widths_[column]; }
  int ColumnOffset(TiPlotLegendColumn column) const { return offsets_[column]; }
  int EntryWidth() const { return entryWidth_; }
  int RowHeight() const { return rowHeight_; }
  int LargestEntryHeight() const { return largestHeight_; }
  int HeaderHeight() const { return headerHeight_; }
  int HeaderGap() const { return headerGap_; }
  // The x of every entry column placed.
  const std::vector<int>& ColumnXPositions() const { return columnX_; }
  // The wrapping grid: entry columns and rows.
  int WrapColCount() const { return colCount_; }
  int WrapRowCount() const { return rowCount_; }
  int RequiredWidth() const { return requiredWidth_; }
  int RequiredHeight() const { return requiredHeight_; }
  TRect HeaderRect() const { return headerRect_; }
  TRect EntryArea() const { return entryArea_; }
  TiPlotLegendButton* UpButton() const { return upButton_.get(); }
  TiPlotLegendButton* DownButton() const { return downButton_.get(); }

  // --- Published properties. ---
  double MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(double value);
  double MarginRight() const { return marginRight_; }
  void SetMarginRight(double value);
  double MarginTop() const { return marginTop_; }
  void SetMarginTop(double value);
  double MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(double value);
  TColor BackGroundColor() const { return backGroundColor_; }
  void SetBackGroundColor(TColor value);
  bool BackGroundTransparent() const { return backGroundTransparent_; }
  void SetBackGroundTransparent(bool value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }
  TiFont* SelectedItemFont() { return &selectedItemFont_; }
  const TiFont* SelectedItemFont() const { return &selectedItemFont_; }
  TColor SelectedItemBackGroundColor() const { return selectedItemBackGroundColor_; }
  void SetSelectedItemBackGroundColor(TColor value);
  bool ColumnTitlesVisible() const { return columnTitlesVisible_; }
  void SetColumnTitlesVisible(bool value);
  TiFont* ColumnTitlesFont() { return &columnTitlesFont_; }
  const TiFont* ColumnTitlesFont() const { return &columnTitlesFont_; }
  bool ShowColumnLine() const { return showColumn_[iplcLine]; }
  void SetShowColumnLine(bool value) { SetShowColumn(iplcLine, value); }
  bool ShowColumnMarker() const { return showColumn_[iplcMarker]; }
  void SetShowColumnMarker(bool value) { SetShowColumn(iplcMarker, value); }
  bool ShowColumnXAxisTitle() const { return showColumn_[iplcXAxisTitle]; }
  void SetShowColumnXAxisTitle(bool value) { SetShowColumn(iplcXAxisTitle, value); }
  bool ShowColumnYAxisTitle() const { return showColumn_[iplcYAxisTitle]; }
  void SetShowColumnYAxisTitle(bool value) { SetShowColumn(iplcYAxisTitle, value); }
  bool ShowColumnXValue() const { return showColumn_[iplcXValue]; }
  void SetShowColumnXValue(bool value) { SetShowColumn(iplcXValue, value); }
  bool ShowColumnYValue() const { return showColumn_[iplcYValue]; }
  void SetShowColumnYValue(bool value) { SetShowColumn(iplcYValue, value); }
  bool ShowColumnYMax() const { return showColumn_[iplcYMax]; }
  void SetShowColumnYMax(bool value) { SetShowColumn(iplcYMax, value); }
  bool ShowColumnYMin() const { return showColumn_[iplcYMin]; }
  void SetShowColumnYMin(bool value) { SetShowColumn(iplcYMin, value); }
  bool ShowColumnYMean() const { return showColumn_[iplcYMean]; }
  void SetShowColumnYMean(bool value) { SetShowColumn(iplcYMean, value); }
  const QString& CaptionColumnTitle() const { return captions_[iplcTitle]; }
  void SetCaptionColumnTitle(const QString& value) { SetCaption(iplcTitle, value); }
  const QString& CaptionColumnXAxisTitle() const { return captions_[iplcXAxisTitle]; }
  void SetCaptionColumnXAxisTitle(const QString& value) { SetCaption(iplcXAxisTitle, value); }
  const QString& CaptionColumnYAxisTitle() const { return captions_[iplcYAxisTitle]; }
  void SetCaptionColumnYAxisTitle(const QString& value) { SetCaption(iplcYAxisTitle, value); }
  const QString& CaptionColumnXValue() const { return captions_[iplcXValue]; }
  void SetCaptionColumnXValue(const QString& value) { SetCaption(iplcXValue, value); }
  const QString& CaptionColumnYValue() const { return captions_[iplcYValue]; }
  void SetCaptionColumnYValue(const QString& value) { SetCaption(iplcYValue, value); }
  const QString& CaptionColumnYMax() const { return captions_[iplcYMax]; }
  void SetCaptionColumnYMax(const QString& value) { SetCaption(iplcYMax, value); }
  const QString& CaptionColumnYMin() const { return captions_[iplcYMin]; }
  void SetCaptionColumnYMin(const QString& value) { SetCaption(iplcYMin, value); }
  const QString& CaptionColumnYMean() const { return captions_[iplcYMean]; }
  void SetCaptionColumnYMean(const QString& value) { SetCaption(iplcYMean, value); }
  // Widths of "0" between the columns of an entry.
  double ColumnSpacing() const { return columnSpacing_; }
  void SetColumnSpacing(double value);
  // Heights of "0" between rows; WrapRowSpacingMin is a second name of the same setting.
  double RowSpacing() const { return rowSpacing_; }
  void SetRowSpacing(double value);
  double WrapRowSpacingMin() const { return rowSpacing_; }
  void SetWrapRowSpacingMin(double value) { SetRowSpacing(value); }
  // Heights of "0" between wrapped entry columns.
  double WrapColSpacingMin() const { return wrapColSpacingMin_; }
  void SetWrapColSpacingMin(double value);
  // Counts below 1 are kept as stored and used as 1.
  int WrapColDesiredCount() const { return wrapColDesiredCount_; }
  void SetWrapColDesiredCount(int value);
  int WrapRowDesiredCount() const { return wrapRowDesiredCount_; }
  void SetWrapRowDesiredCount(int value);
  bool WrapColAutoCountEnabled() const { return wrapColAutoCountEnabled_; }
  void SetWrapColAutoCountEnabled(bool value);
  bool WrapRowAutoCountEnabled() const { return wrapRowAutoCountEnabled_; }
  void SetWrapRowAutoCountEnabled(bool value);
  int WrapColAutoCountMax() const { return wrapColAutoCountMax_; }
  void SetWrapColAutoCountMax(int value);
  int WrapRowAutoCountMax() const { return wrapRowAutoCountMax_; }
  void SetWrapRowAutoCountMax(int value);
  bool WrapColSpacingAuto() const { return wrapColSpacingAuto_; }
  void SetWrapColSpacingAuto(bool value);
  bool WrapRowSpacingAuto() const { return wrapRowSpacingAuto_; }
  void SetWrapRowSpacingAuto(bool value);
  // Widths of "0" of the title column, titles wrapped to it; 0 (or below) sizes it to the titles.
  double ChannelNameMaxWidth() const { return channelNameMaxWidth_; }
  void SetChannelNameMaxWidth(double value);
  TiPlotLegendChannelNameColorStyle ChannelNameColorStyle() const { return channelNameColorStyle_; }
  void SetChannelNameColorStyle(TiPlotLegendChannelNameColorStyle value);
  // Pixels; held to 0 .. the drawable range.
  int LineColumnWidth() const { return lineColumnWidth_; }
  void SetLineColumnWidth(int value);
  int LineColumnHeight() const { return lineColumnHeight_; }
  void SetLineColumnHeight(int value);

 private:
  // What one layout computation measures before it places anything.
  struct TFrame {
    int ZeroWidth = 0, ZeroHeight = 0;
    int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
    int ColumnGap = 0, RowGap = 0, WrapGap = 0;
    TRect Inner;
  };

  void SetShowColumn(TiPlotLegendColumn column, bool value);
  void SetCaption(TiPlotLegendColumn column, const QString& value);
  // The steps of the layout computation.
  TFrame MeasureFrame(TCanvas* canvas);
  void CollectEntries();
  void MeasureTitles(TCanvas* canvas, const TFrame& f);
  void MeasureHeader(TCanvas* canvas);
  void MeasureValueColumns(TCanvas* canvas, const TFrame& f);
  void PlaceColumns(const TFrame& f);
  void FitCounts(const TFrame& f);
  void PlaceEntries(const TFrame& f);
  void SizeAndButtons(const TFrame& f);
  void SpreadColumns(const TFrame& f);
  void SpreadRows(const TFrame& f);
  // The texts of one entry's axis title, value and statistics columns.
  void FillValueTexts(TiPlotLegendItem& item);
  // Gives every channel this legend gave a rectangle an empty one again, so that no click finds
  // a channel where the legend no longer shows it.
  void ForgetLegendRects();
  TColor TitleColor(const TiPlotLegendItem& item, const TiFont& font) const;
  void DrawHeader(TCanvas* canvas);
  void DrawEntry(TCanvas* canvas, TiPlotLegendItem& item, TColor sampleBackground);
  void DrawLineSample(TCanvas* canvas, const TiPlotChannelCustom& channel, int x, int centre);
  void ScrollUp();
  void ScrollDown();

  // Properties.
  double marginLeft_ = 1.0, marginRight_ = 1.0, marginTop_ = 1.0, marginBottom_ = 1.0;
  TColor backGroundColor_ = clGray;
  bool backGroundTransparent_ = true;
  TiFont font_;
  TiFont selectedItemFont_;
  TColor selectedItemBackGroundColor_ = clYellow;
  bool columnTitlesVisible_ = false;
  TiFont columnTitlesFont_;
  std::array<bool, kLegendColumnCount> showColumn_{true, false, true, false, false, false, false, false, false, false};
  std::array<QString, kLegendColumnCount> captions_;
  double columnSpacing_ = 0.5;
  double rowSpacing_ = 0.25;
  double wrapColSpacingMin_ = 2.0;
  int wrapColDesiredCount_ = 1;
  int wrapRowDesiredCount_ = 5;
  bool wrapColAutoCountEnabled_ = false;
  bool wrapRowAutoCountEnabled_ = true;
  int wrapColAutoCountMax_ = 100;
  int wrapRowAutoCountMax_ = 100;
  bool wrapColSpacingAuto_ = true;
  bool wrapRowSpacingAuto_ = false;
  double channelNameMaxWidth_ = 0.0;
  TiPlotLegendChannelNameColorStyle channelNameColorStyle_ = iplcncsFont;
  int lineColumnWidth_ = 13;
  int lineColumnHeight_ = 3;

  bool allChannelsCursorActive_ = false;

  // Layout state.
  std::vector<TiPlotLegendItem> items_;
  std::vector<int> columnX_;
  std::array<bool, kLegendColumnCount> shown_{};
  std::array<int, kLegendColumnCount> widths_{};
  std::array<int, kLegendColumnCount> offsets_{};
  int entryWidth_ = 0;
  int rowHeight_ = 0;
  int largestHeight_ = 0;
  int headerHeight_ = 0;
  int headerGap_ = 0;
  int firstItem_ = 0;
  int lastItem_ = -1;
  int colCount_ = 1;
  int rowCount_ = 1;
  // A new legend has no size yet: empty, it takes no room.
  int requiredWidth_ = 0;
  int requiredHeight_ = 0;
  TRect headerRect_;
  TRect entryArea_;
  // The channels this legend gave a rectangle at its last drawing; compared, never followed.
  std::vector<const TiPlotChannelCustom*> rectChannels_;
  TiPlotPtr<TiPlotLegendButton> upButton_;
  TiPlotPtr<TiPlotLegendButton> downButton_;
};
