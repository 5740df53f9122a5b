#include "chart/decorations/rUdudLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/iScrollButtons.h"
#include "platform/Canvas.h"
#include "platform/Menus.h"

namespace {

// The scroll buttons are 17 pixels square; they take 25 pixels of room beside the entries.
constexpr int kButtonSize = 17;
constexpr int kButtonRoom = 25;
// A line sample of this length draws its style as fixed segments.
constexpr int kSegmentedSampleWidth = 13;

int Saturate(std::int64_t value) { return ClampCoordinate(value); }
int SaturateSize(std::int64_t value) { return ClampCoordinate(value, 0); }

// Counts the layout divides by or into: below 1 they are used as 1.
std::int64_t AtLeastOne(std::int64_t value) { return std::max<std::int64_t>(1, value); }
std::int64_t CeilDiv(std::int64_t n, std::int64_t d) { return (n + d - 1) / d; }

// How many steps of `step` fit into `room`; a step of 0 or less fits once.
std::int64_t StepsThatFit(std::int64_t room, std::int64_t step) { return step > 0 ? AtLeastOne(room / step) : 1; }

struct TSegment {
  int From, To;
};

// The fixed segments of a 13-pixel line sample per trace line style, [From, To).
std::vector<TSegment> SampleSegments(TiPlotLineStyle style) {
  switch (style) {
    case iplsSolid: return {{0, 13}};
    case iplsDash: return {{0, 5}, {8, 13}};
    case iplsDot: return {{0, 2}, {4, 6}, {8, 10}};
    case iplsDashDot: return {{0, 5}, {7, 9}};
    case iplsDashDotDot: return {{0, 5}, {7, 9}, {11, 13}};
    default: return {};
  }
}

bool IsAxisTitleColumn(int column) { return column == iplcXAxisTitle || column == iplcYAxisTitle; }

}  // namespace

const QStringList& LegendChannelNameColorStyleNames() {
  static const QStringList names{QStringLiteral("iplcncsFont"), QStringLiteral("iplcncsChannelColor"),
                                 QStringLiteral("iplcncsXAxisFontColor"), QStringLiteral("iplcncsYAxisFontColor")};
  return names;
}

// ---------------------------------------------------------------------------------------------
// TiPlotLegendButton

TiPlotLegendButton::TiPlotLegendButton(TiPlotOwner* owner, const TiPlotHandlers& handlers, bool pointsUp)
    : TiPlotButton(owner, handlers), pointsUp_(pointsUp) {}

void TiPlotLegendButton::Draw(TCanvas* canvas, TColor) {
  if (!canvas) return;
  DrawScrollButtonFace(*canvas, *this);
  DrawScrollArrow(*canvas, GetButtonRect(), pointsUp_, Enabled() ? clBlack : clGray);
}

// ---------------------------------------------------------------------------------------------
// TiPlotLegend

const TiClassInfo& TiPlotLegend::StaticClassInfo() {
  using C = TiPlotLegend;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotLegend"), &TiPlotLayoutObject::StaticClassInfo())
          .Float(QStringLiteral("MarginLeft"), &C::MarginLeft, &C::SetMarginLeft)
          .Float(QStringLiteral("MarginRight"), &C::MarginRight, &C::SetMarginRight)
          .Float(QStringLiteral("MarginTop"), &C::MarginTop, &C::SetMarginTop)
          .Float(QStringLiteral("MarginBottom"), &C::MarginBottom, &C::SetMarginBottom)
          .Color(QStringLiteral("BackGroundColor"), &C::BackGroundColor, &C::SetBackGroundColor, clGray)
          .Boolean(QStringLiteral("BackGroundTransparent"), &C::BackGroundTransparent, &C::SetBackGroundTransparent, true)
          .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
          .Object(QStringLiteral("SelectedItemFont"), static_cast<TiFont* (C::*)()>(&C::SelectedItemFont))
          .Color(QStringLiteral("SelectedItemBackGroundColor"), &C::SelectedItemBackGroundColor,
                 &C::SetSelectedItemBackGroundColor, clYellow)
          .Boolean(QStringLiteral("ColumnTitlesVisible"), &C::ColumnTitlesVisible, &C::SetColumnTitlesVisible, false)
          .Object(QStringLiteral("ColumnTitlesFont"), static_cast<TiFont* (C::*)()>(&C::ColumnTitlesFont))
          .Boolean(QStringLiteral("ShowColumnLine"), &C::ShowColumnLine, &C::SetShowColumnLine, true)
          .Boolean(QStringLiteral("ShowColumnMarker"), &C::ShowColumnMarker, &C::SetShowColumnMarker, false)
          .Boolean(QStringLiteral("ShowColumnXAxisTitle"), &C::ShowColumnXAxisTitle, &C::SetShowColumnXAxisTitle, false)
          .Boolean(QStringLiteral("ShowColumnYAxisTitle"), &C::ShowColumnYAxisTitle, &C::SetShowColumnYAxisTitle, false)
          .Boolean(QStringLiteral("ShowColumnXValue"), &C::ShowColumnXValue, &C::SetShowColumnXValue, false)
          .Boolean(QStringLiteral("ShowColumnYValue"), &C::ShowColumnYValue, &C::SetShowColumnYValue, false)
          .Boolean(QStringLiteral("ShowColumnYMax"), &C::ShowColumnYMax, &C::SetShowColumnYMax, false)
          .Boolean(QStringLiteral("ShowColumnYMin"), &C::ShowColumnYMin, &C::SetShowColumnYMin, false)
          .Boolean(QStringLiteral("ShowColumnYMean"), &C::ShowColumnYMean, &C::SetShowColumnYMean, false)
          .String(QStringLiteral("CaptionColumnTitle"), &C::CaptionColumnTitle, &C::SetCaptionColumnTitle)
          .String(QStringLiteral("CaptionColumnXAxisTitle"), &C::CaptionColumnXAxisTitle, &C::SetCaptionColumnXAxisTitle)
          .String(QStringLiteral("CaptionColumnYAxisTitle"), &C::CaptionColumnYAxisTitle, &C::SetCaptionColumnYAxisTitle)
          .String(QStringLiteral("CaptionColumnXValue"), &C::CaptionColumnXValue, &C::SetCaptionColumnXValue)
          .String(QStringLiteral("CaptionColumnYValue"), &C::CaptionColumnYValue, &C::SetCaptionColumnYValue)
          .String(QStringLiteral("CaptionColumnYMax"), &C::CaptionColumnYMax, &C::SetCaptionColumnYMax)
          .String(QStringLiteral("CaptionColumnYMin"), &C::CaptionColumnYMin, &C::SetCaptionColumnYMin)
          .String(QStringLiteral("CaptionColumnYMean"), &C::CaptionColumnYMean, &C::SetCaptionColumnYMean)
          .Float(QStringLiteral("ColumnSpacing"), &C::ColumnSpacing, &C::SetColumnSpacing)
          .Float(QStringLiteral("RowSpacing"), &C::RowSpacing, &C::SetRowSpacing)
          .Float(QStringLiteral("WrapRowSpacingMin"), &C::WrapRowSpacingMin, &C::SetWrapRowSpacingMin)
          .Float(QStringLiteral("WrapColSpacingMin"), &C::WrapColSpacingMin, &C::SetWrapColSpacingMin)
          .Integer(QStringLiteral("WrapColDesiredCount"), &C::WrapColDesiredCount, &C::SetWrapColDesiredCount, 1)
          .Integer(QStringLiteral("WrapRowDesiredCount"), &C::WrapRowDesiredCount, &C::SetWrapRowDesiredCount, 5)
          .Boolean(QStringLiteral("WrapColAutoCountEnabled"), &C::WrapColAutoCountEnabled, &C::SetWrapColAutoCountEnabled, false)
          .Boolean(QStringLiteral("WrapRowAutoCountEnabled"), &C::WrapRowAutoCountEnabled, &C::SetWrapRowAutoCountEnabled, true)
          .Integer(QStringLiteral("WrapColAutoCountMax"), &C::WrapColAutoCountMax, &C::SetWrapColAutoCountMax, 100)
          .Integer(QStringLiteral("WrapRowAutoCountMax"), &C::WrapRowAutoCountMax, &C::SetWrapRowAutoCountMax, 100)
          .Boolean(QStringLiteral("WrapColSpacingAuto"), &C::WrapColSpacingAuto, &C::SetWrapColSpacingAuto, true)
          .Boolean(QStringLiteral("WrapRowSpacingAuto"), &C::WrapRowSpacingAuto, &C::SetWrapRowSpacingAuto, false)
          .Float(QStringLiteral("ChannelNameMaxWidth"), &C::ChannelNameMaxWidth, &C::SetChannelNameMaxWidth)
          .Enumeration<TiPlotLegendChannelNameColorStyle>(QStringLiteral("ChannelNameColorStyle"), &C::ChannelNameColorStyle,
                                                          &C::SetChannelNameColorStyle, iplcncsFont,
                                                          LegendChannelNameColorStyleNames())
          .Integer(QStringLiteral("LineColumnWidth"), &C::LineColumnWidth, &C::SetLineColumnWidth, 13)
          .Integer(QStringLiteral("LineColumnHeight"), &C::LineColumnHeight, &C::SetLineColumnHeight, 3)
          .Build();
  return info;
}

TiPlotLegend::TiPlotLegend(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotLayoutObject(owner, handlers),
      font_(TFont{TFont().Name, TFont().Height, clWhite, 0}),
      selectedItemFont_(TFont{TFont().Name, TFont().Height, clBlack, 0}),
      columnTitlesFont_(TFont{TFont().Name, TFont().Height, clAqua, FontStyleBit(fsBold)}) {
  captions_[iplcTitle] = QStringLiteral("Title");
  captions_[iplcXAxisTitle] = QStringLiteral("X-Axis");
  captions_[iplcYAxisTitle] = QStringLiteral("Y-Axis");
  captions_[iplcXValue] = QStringLiteral("X");
  captions_[iplcYValue] = QStringLiteral("Y");
  captions_[iplcYMax] = QStringLiteral("Y-Max");
  captions_[iplcYMin] = QStringLiteral("Y-Min");
  captions_[iplcYMean] = QStringLiteral("Y-Mean");
  for (TiFont* font : {&font_, &selectedItemFont_, &columnTitlesFont_}) font->OnChange = [this] { DoChange(); };

  // The buttons stay inside the legend: no chart handlers, so they never announce themselves.
  const TiPlotHandlers none;
  upButton_.reset(new TiPlotLegendButton(owner, none, true));
  downButton_.reset(new TiPlotLegendButton(owner, none, false));
  auto repaintNow = [this] {
    if (OnFocusChange) OnFocusChange(this);
  };
  SetUpScrollButton(*upButton_, QStringLiteral("PlotLegendUpButton"), repaintNow, [this] { ScrollUp(); });
  SetUpScrollButton(*downButton_, QStringLiteral("PlotLegendDownButton"), repaintNow, [this] { ScrollDown(); });
  // A legend stands left or right of the data view; set before it announces itself.
  SetHorizontal(false);
}

TiPlotLegend::~TiPlotLegend() = default;

// --- Properties ---

void TiPlotLegend::SetMarginLeft(double value) { SetAndChange(marginLeft_, value); }
void TiPlotLegend::SetMarginRight(double value) { SetAndChange(marginRight_, value); }
void TiPlotLegend::SetMarginTop(double value) { SetAndChange(marginTop_, value); }
void TiPlotLegend::SetMarginBottom(double value) { SetAndChange(marginBottom_, value); }
void TiPlotLegend::SetBackGroundColor(TColor value) { SetAndChange(backGroundColor_, value); }
void TiPlotLegend::SetBackGroundTransparent(bool value) { SetAndChange(backGroundTransparent_, value); }
void TiPlotLegend::SetSelectedItemBackGroundColor(TColor value) { SetAndChange(selectedItemBackGroundColor_, value); }
void TiPlotLegend::SetColumnTitlesVisible(bool value) { SetAndChange(columnTitlesVisible_, value); }
void TiPlotLegend::SetShowColumn(TiPlotLegendColumn column, bool value) { SetAndChange(showColumn_[column], value); }
void TiPlotLegend::SetCaption(TiPlotLegendColumn column, const QString& value) { SetAndChange(captions_[column], value); }
void TiPlotLegend::SetColumnSpacing(double value) { SetAndChange(columnSpacing_, value); }
void TiPlotLegend::SetRowSpacing(double value) { SetAndChange(rowSpacing_, value); }
void TiPlotLegend::SetWrapColSpacingMin(double value) { SetAndChange(wrapColSpacingMin_, value); }
void TiPlotLegend::SetWrapColDesiredCount(int value) { SetAndChange(wrapColDesiredCount_, value); }
void TiPlotLegend::SetWrapRowDesiredCount(int value) { SetAndChange(wrapRowDesiredCount_, value); }
void TiPlotLegend::SetWrapColAutoCountEnabled(bool value) { SetAndChange(wrapColAutoCountEnabled_, value); }
void TiPlotLegend::SetWrapRowAutoCountEnabled(bool value) { SetAndChange(wrapRowAutoCountEnabled_, value); }
void TiPlotLegend::SetWrapColAutoCountMax(int value) { SetAndChange(wrapColAutoCountMax_, value); }
void TiPlotLegend::SetWrapRowAutoCountMax(int value) { SetAndChange(wrapRowAutoCountMax_, value); }
void TiPlotLegend::SetWrapColSpacingAuto(bool value) { SetAndChange(wrapColSpacingAuto_, value); }
void TiPlotLegend::SetWrapRowSpacingAuto(bool value) { SetAndChange(wrapRowSpacingAuto_, value); }
void TiPlotLegend::SetChannelNameMaxWidth(double value) { SetAndChange(channelNameMaxWidth_, value); }
void TiPlotLegend::SetChannelNameColorStyle(TiPlotLegendChannelNameColorStyle value) { SetAndChange(channelNameColorStyle_, value); }
void TiPlotLegend::SetLineColumnWidth(int value) { SetAndChange(lineColumnWidth_, ClampCoordinate(value, 0)); }
void TiPlotLegend::SetLineColumnHeight(int value) { SetAndChange(lineColumnHeight_, ClampCoordinate(value, 0)); }

const TiPlotLegendItem& TiPlotLegend::Item(int index) const {
  if (index < 0 || index >= ItemCount()) throw EiError(QStringLiteral("Index out of Bounds"));
  return items_[static_cast<size_t>(index)];
}

// --- Layout computation ---

bool TiPlotLegend::LayoutEntries(TCanvas* canvas) {
  CollectEntries();
  if (!canvas || items_.empty()) {
    // Nothing to show: the sizes stay, and no button can be pressed.
    upButton_->SetVisible(false);
    downButton_->SetVisible(false);
    return false;
  }
  const TFrame f = MeasureFrame(canvas);
  MeasureTitles(canvas, f);
  if (columnTitlesVisible_) MeasureHeader(canvas);
  MeasureValueColumns(canvas, f);
  PlaceColumns(f);
  FitCounts(f);
  PlaceEntries(f);
  SizeAndButtons(f);
  SpreadColumns(f);
  SpreadRows(f);
  return true;
}

void TiPlotLegend::CollectEntries() {
  items_.clear();
  if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner()))
    for (int i = 0; i < chart->ChannelCount(); ++i)
      if (TiPlotChannelCustom* channel = chart->Channel(i); channel->VisibleInLegend()) {
        TiPlotLegendItem item;
        item.Channel = channel;
        items_.push_back(std::move(item));
      }
  firstItem_ = items_.empty() ? 0 : std::clamp(firstItem_, 0, ItemCount() - 1);
}

TiPlotLegend::TFrame TiPlotLegend::MeasureFrame(TCanvas* canvas) {
  TFrame f;
  canvas->Font() = font_.Font();
  f.ZeroWidth = canvas->TextWidth(QStringLiteral("0"));
  f.ZeroHeight = canvas->TextHeight(QStringLiteral("0"));
  f.MarginTop = NearestCoordinate(f.ZeroHeight * marginTop_);
  f.MarginBottom = NearestCoordinate(f.ZeroHeight * marginBottom_);
  f.MarginLeft = NearestCoordinate(f.ZeroWidth * marginLeft_);
  f.MarginRight = NearestCoordinate(f.ZeroWidth * marginRight_);
  const TRect r = GetLayoutRect();
  f.Inner = Rect(Saturate(std::int64_t(r.Left) + f.MarginLeft), Saturate(std::int64_t(r.Top) + f.MarginTop),
                 Saturate(std::int64_t(r.Right) - f.MarginRight), Saturate(std::int64_t(r.Bottom) - f.MarginBottom));
  f.ColumnGap = NearestCoordinate(f.ZeroWidth * columnSpacing_);
  f.RowGap = NearestCoordinate(f.ZeroHeight * rowSpacing_);
  f.WrapGap = NearestCoordinate(f.ZeroHeight * wrapColSpacingMin_);

  rowHeight_ = f.ZeroHeight;
  widths_.fill(0);
  offsets_.fill(0);
  largestHeight_ = headerHeight_ = headerGap_ = 0;
  shown_ = showColumn_;
  shown_[iplcTitle] = true;
  shown_[iplcXValue] = showColumn_[iplcXValue] || allChannelsCursorActive_;
  shown_[iplcYValue] = showColumn_[iplcYValue] || allChannelsCursorActive_;
  return f;
}

void TiPlotLegend::MeasureTitles(TCanvas* canvas, const TFrame& f) {
  // A width that is no number or not above 0 leaves the titles unwrapped.
  const bool wrapped = channelNameMaxWidth_ > 0;
  if (wrapped) widths_[iplcTitle] = NearestCoordinate(f.ZeroWidth * channelNameMaxWidth_);
  for (TiPlotLegendItem& item : items_) {
    const TiPlotChannelCustom& channel = *item.Channel;
    QString& title = item.Texts[iplcTitle];
    title = channel.TitleText().trimmed().isEmpty() ? channel.Name() : channel.TitleText();
    if (wrapped) {
      // Measured as shown (the name stands in for a blank title), in either font, since the
      // selected entry changes with the focus.
      canvas->Font() = font_.Font();
      item.Height = TextHeightWrapped(*canvas, title, widths_[iplcTitle]);
      canvas->Font() = selectedItemFont_.Font();
      item.Height = std::max(item.Height, TextHeightWrapped(*canvas, title, widths_[iplcTitle]));
    } else {
      item.Height = f.ZeroHeight;
      canvas->Font() = font_.Font();
      widths_[iplcTitle] = std::max(widths_[iplcTitle], TextMaxLineWidth(*canvas, title));
      canvas->Font() = selectedItemFont_.Font();
      widths_[iplcTitle] = std::max(widths_[iplcTitle], TextMaxLineWidth(*canvas, title));
    }
    largestHeight_ = std::max(largestHeight_, item.Height);
  }
}

void TiPlotLegend::MeasureHeader(TCanvas* canvas) {
  canvas->Font() = columnTitlesFont_.Font();
  headerHeight_ = canvas->TextHeight(QStringLiteral("0"));
  headerGap_ = headerHeight_ / 4;
  for (int c = iplcTitle; c < kLegendColumnCount; ++c)
    if (shown_[c]) widths_[c] = std::max(widths_[c], canvas->TextWidth(Translate(captions_[c])));
}

void TiPlotLegend::FillValueTexts(TiPlotLegendItem& item) {
  TiPlotChannelCustom& channel = *item.Channel;
  TiPlotAxis* xAxis = channel.XAxis();
  TiPlotAxis* yAxis = channel.YAxis();
  auto axisTitle = [this](TiPlotAxis* axis) {
    if (!axis) return Translate(QStringLiteral("None"));
    return axis->Title().trimmed().isEmpty() ? axis->Name() : axis->Title();
  };
  // Statistics without a valid point would show the sentinels; they are as empty as no points.
  auto value = [&](TiPlotAxis* axis, bool statistic, double v) {
    if (!axis) return Translate(QStringLiteral("N/A"));
    if (channel.Count() == 0 || (statistic && channel.DataStatCount() == 0)) return Translate(QStringLiteral("Empty"));
    return axis->LegendText(v);
  };
  auto& t = item.Texts;
  if (shown_[iplcXAxisTitle]) t[iplcXAxisTitle] = axisTitle(xAxis);
  if (shown_[iplcYAxisTitle]) t[iplcYAxisTitle] = axisTitle(yAxis);
  if (allChannelsCursorActive_) {
    t[iplcXValue] = channel.CursorXText();
    t[iplcYValue] = channel.CursorYText();
  } else {
    if (shown_[iplcXValue]) t[iplcXValue] = value(xAxis, false, channel.LastXValue());
    if (shown_[iplcYValue]) t[iplcYValue] = value(yAxis, false, channel.LastYValue());
  }
  if (shown_[iplcYMax]) t[iplcYMax] = value(yAxis, true, channel.DataYMax());
  if (shown_[iplcYMin]) t[iplcYMin] = value(yAxis, true, channel.DataYMin());
  if (shown_[iplcYMean]) t[iplcYMean] = value(yAxis, true, channel.DataYMean());
}

void TiPlotLegend::MeasureValueColumns(TCanvas* canvas, const TFrame& f) {
  for (int c : {iplcLine, iplcMarker})
    if (shown_[c]) widths_[c] = std::max(widths_[c], SaturateSize(std::int64_t(lineColumnWidth_) + 3));
  const TFont& font = font_.Font();
  for (TiPlotLegendItem& item : items_) {
    FillValueTexts(item);
    TiPlotAxis* axes[] = {item.Channel->XAxis(), item.Channel->YAxis()};
    for (int k = 0; k < 2; ++k) {
      const int column = k == 0 ? iplcXValue : iplcYValue;
      if (!shown_[column]) continue;
      int& w = widths_[column];
      if (TiPlotAxis* axis = axes[k])
        w = std::max(w, allChannelsCursorActive_ ? axis->CursorMinWidth(canvas, font) : axis->LegendMinWidth(canvas, font));
      canvas->Font() = font;
      const QString& text = item.Texts[column];
      w = std::max(w, allChannelsCursorActive_ ? SaturateSize(std::int64_t(f.ZeroWidth) * text.size()) : canvas->TextWidth(text));
    }
    canvas->Font() = font;
    for (int c : {iplcXAxisTitle, iplcYAxisTitle, iplcYMax, iplcYMin, iplcYMean})
      if (shown_[c]) widths_[c] = std::max(widths_[c], canvas->TextWidth(item.Texts[c]));
  }
}

void TiPlotLegend::PlaceColumns(const TFrame& f) {
  std::int64_t at = 0;
  offsets_[iplcLine] = 0;
  if (shown_[iplcLine]) at = std::int64_t(widths_[iplcLine]) + f.ColumnGap;
  offsets_[iplcMarker] = Saturate(at);
  if (shown_[iplcMarker]) at += std::int64_t(widths_[iplcMarker]) + f.ColumnGap;
  offsets_[iplcTitle] = Saturate(at);
  at += widths_[iplcTitle];
  for (int c = iplcXAxisTitle; c < kLegendColumnCount; ++c) {
    if (!shown_[c]) continue;
    at += f.ColumnGap;
    offsets_[c] = Saturate(at);
    at += widths_[c];
  }
  entryWidth_ = Saturate(at);
}

void TiPlotLegend::FitCounts(const TFrame& f) {
  const TRect& in = f.Inner;
  headerRect_ = Rect(in.Left, in.Top, in.Right, Saturate(std::int64_t(in.Top) + headerHeight_));
  entryArea_ = Rect(in.Left, Saturate(std::int64_t(in.Top) + headerHeight_ + headerGap_), in.Right, in.Bottom);
  const std::int64_t areaWidth = std::int64_t(entryArea_.Right) - entryArea_.Left;
  const std::int64_t areaHeight = std::int64_t(entryArea_.Bottom) - entryArea_.Top;
  const bool horizontal = IsHorizontal();
  const std::int64_t rowsFit = StepsThatFit(areaHeight + f.RowGap, std::int64_t(largestHeight_) + f.RowGap);
  const std::int64_t colsFit =
      StepsThatFit(areaWidth + f.WrapGap - (horizontal ? kButtonRoom : 0), std::int64_t(f.WrapGap) + entryWidth_);
  const std::int64_t n = ItemCount();
  std::int64_t cols = AtLeastOne(wrapColAutoCountEnabled_ ? wrapColAutoCountMax_ : wrapColDesiredCount_);
  const std::int64_t rowLimit = AtLeastOne(wrapRowAutoCountEnabled_ ? wrapRowAutoCountMax_ : wrapRowDesiredCount_);
  std::int64_t rows;
  if (horizontal) {
    cols = std::min(cols, colsFit);
    rows = wrapRowAutoCountEnabled_ ? CeilDiv(n, cols) : rowLimit;
    rows = std::min(rows, rowLimit);
    if (rows < 3 && rows * cols < n) rows = 3;
    if (wrapColAutoCountEnabled_) cols = std::min(cols, CeilDiv(n, rows));
  } else {
    if (wrapColAutoCountEnabled_) cols = CeilDiv(n, rowsFit);
    cols = std::min(cols, AtLeastOne(wrapColAutoCountMax_));
    rows = std::min({rowsFit, n, rowLimit});
    if (rows < 3 && rows * cols < n) rows = 3;
  }
  colCount_ = static_cast<int>(cols);
  rowCount_ = static_cast<int>(rows);
}

void TiPlotLegend::PlaceEntries(const TFrame& f) {
  const int n = ItemCount();
  // When every entry fits (or the legend takes no clicks) the list is not scrolled; decided
  // before placing, so that the entries placed are the ones shown.
  if (std::int64_t(rowCount_) * colCount_ >= n || !Enabled()) firstItem_ = 0;
  columnX_.assign(1, f.Inner.Left);
  int row = 1, column = 1;
  int x = f.Inner.Left;
  std::int64_t y = entryArea_.Top;
  const std::int64_t rowStep = std::int64_t(largestHeight_) + f.RowGap;
  lastItem_ = n - 1;
  for (int i = firstItem_; i < n; ++i) {
    TiPlotLegendItem& item = items_[static_cast<size_t>(i)];
    item.Row = row;
    item.Column = column;
    item.X = x;
    item.Y = Saturate(y);
    y += rowStep;
    if (++row <= rowCount_ || i == n - 1) continue;
    if (++column > colCount_) {
      lastItem_ = i;
      break;
    }
    row = 1;
    y = entryArea_.Top;
    x = Saturate(f.Inner.Left + std::int64_t(column - 1) * (std::int64_t(entryWidth_) + f.WrapGap));
    columnX_.push_back(x);
  }
}

void TiPlotLegend::SizeAndButtons(const TFrame& f) {
  const std::int64_t cols = colCount_, rows = rowCount_;
  std::int64_t width = cols * entryWidth_ + (cols - 1) * f.WrapGap + f.MarginLeft + f.MarginRight;
  const std::int64_t height = std::int64_t(f.MarginTop) + headerHeight_ + headerGap_ +
                              (std::int64_t(largestHeight_) + f.RowGap) * rows + f.MarginBottom - f.RowGap;
  const int n = ItemCount();
  if (rows * cols < n && Enabled()) {
    const TRect& a = entryArea_;
    upButton_->SetButtonRect(Rect(a.Right - kButtonSize, a.Top, a.Right, Saturate(std::int64_t(a.Top) + kButtonSize)));
    downButton_->SetButtonRect(Rect(a.Right - kButtonSize, Saturate(std::int64_t(a.Bottom) - kButtonSize), a.Right, a.Bottom));
    upButton_->SetVisible(true);
    downButton_->SetVisible(true);
    width += kButtonRoom;
  } else {
    upButton_->SetVisible(false);
    downButton_->SetVisible(false);
    firstItem_ = 0;
  }
  upButton_->SetEnabled(firstItem_ != 0);
  downButton_->SetEnabled(lastItem_ != n - 1);
  requiredWidth_ = SaturateSize(width);
  requiredHeight_ = SaturateSize(height);
}

void TiPlotLegend::SpreadColumns(const TFrame& f) {
  if (!IsHorizontal() || !wrapColSpacingAuto_ || colCount_ <= 1) return;
  const std::int64_t cols = colCount_;
  const std::int64_t areaWidth = std::int64_t(entryArea_.Right) - entryArea_.Left;
  const std::int64_t gap = (areaWidth - kButtonRoom - cols * entryWidth_) / (cols - 1);
  auto xOf = [&](int column) { return Saturate(f.Inner.Left + std::int64_t(column - 1) * (entryWidth_ + gap)); };
  for (TiPlotLegendItem& item : items_)
    if (item.Column > 0) item.X = xOf(item.Column);
  for (size_t k = 0; k < columnX_.size(); ++k) columnX_[k] = xOf(static_cast<int>(k) + 1);
}

void TiPlotLegend::SpreadRows(const TFrame&) {
  if (IsHorizontal() || !wrapRowSpacingAuto_) return;
  const std::int64_t rows =
      std::count_if(items_.begin(), items_.end(), [](const TiPlotLegendItem& item) { return item.Column == 1; });
  if (rows <= 1) return;
  const std::int64_t areaHeight = std::int64_t(entryArea_.Bottom) - entryArea_.Top;
  const std::int64_t gap = (areaHeight - std::int64_t(largestHeight_) * rows) / (rows - 1);
  for (TiPlotLegendItem& item : items_)
    if (item.Row > 0) item.Y = Saturate(entryArea_.Top + std::int64_t(item.Row - 1) * (largestHeight_ + gap));
}

int TiPlotLegend::RequiredSize(TCanvas* canvas) {
  LayoutEntries(canvas);
  return IsHorizontal() ? requiredHeight_ : requiredWidth_;
}

// --- Scrolling ---

void TiPlotLegend::ScrollUp() {
  if (firstItem_ <= 0) return;
  --firstItem_;
  DoChange();
}

void TiPlotLegend::ScrollDown() {
  if (firstItem_ >= ItemCount() - 1) return;
  ++firstItem_;
  DoChange();
}

// --- Drawing ---

void TiPlotLegend::ForgetLegendRects() {
  // The chart's channels are walked rather than the ones remembered, which may have gone.
  if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner()))
    for (int i = 0; i < chart->ChannelCount(); ++i) {
      TiPlotChannelCustom* channel = chart->Channel(i);
      if (std::find(rectChannels_.begin(), rectChannels_.end(), channel) != rectChannels_.end()) channel->SetLegendRect(TRect{});
    }
  rectChannels_.clear();
}

void TiPlotLegend::Draw(TCanvas* canvas, TColor backgroundColor) {
  if (!canvas) return;
  if (!Visible() || !LayoutEntries(canvas)) {
    ForgetLegendRects();
    upButton_->SetVisible(false);
    downButton_->SetVisible(false);
    return;
  }
  canvas->Brush() = TBrush{backGroundColor_, bsSolid};
  canvas->Pen().Style = psSolid;
  if (!backGroundTransparent_) canvas->FillRect(GetLayoutRect());
  if (columnTitlesVisible_) DrawHeader(canvas);
  ForgetLegendRects();
  for (const TiPlotLegendItem& item : items_) item.Channel->SetLegendRect(TRect{});
  const TColor sampleBackground = backGroundTransparent_ ? backgroundColor : backGroundColor_;
  for (int i = firstItem_; i <= lastItem_; ++i) DrawEntry(canvas, items_[static_cast<size_t>(i)], sampleBackground);
  for (TiPlotLegendButton* button : {upButton_.get(), downButton_.get()})
    if (button->Visible()) button->Draw(canvas, backgroundColor);
  if (HasFocus()) {
    const TRect r = GetLayoutRect();
    DrawFocusRectangle(*canvas, IsHorizontal() ? Rect(r.Left, r.Top + 2, r.Right, r.Bottom - 2)
                                               : Rect(r.Left + 2, r.Top, r.Right - 2, r.Bottom));
  }
}

void TiPlotLegend::DrawHeader(TCanvas* canvas) {
  canvas->Font() = columnTitlesFont_.Font();
  canvas->Brush().Style = bsClear;
  const TColor color = columnTitlesFont_.Color();
  for (int x : columnX_)
    for (int c = iplcTitle; c < kLegendColumnCount; ++c) {
      if (!shown_[c]) continue;
      const int left = Saturate(std::int64_t(x) + offsets_[c]);
      TRect box = Rect(left, headerRect_.Top, Saturate(std::int64_t(left) + widths_[c]), headerRect_.Bottom);
      const TTextOption alignment = c == iplcTitle ? TTextOption::Left : IsAxisTitleColumn(c) ? TTextOption::Center : TTextOption::Right;
      DrawTextOptions(*canvas, Translate(captions_[c]), box, color, true, {alignment, TTextOption::VCenter, TTextOption::SingleLine});
    }
}

TColor TiPlotLegend::TitleColor(const TiPlotLegendItem& item, const TiFont& font) const {
  TiPlotChannelCustom& channel = *item.Channel;
  TiPlotAxis* axis = nullptr;
  switch (channelNameColorStyle_) {
    case iplcncsChannelColor: return channel.Color();
    case iplcncsXAxisFontColor: axis = channel.XAxis(); break;
    case iplcncsYAxisFontColor: axis = channel.YAxis(); break;
    default: break;
  }
  // Without the axis the font says.
  return axis ? axis->LabelsFont()->Color() : font.Color();
}

void TiPlotLegend::DrawEntry(TCanvas* canvas, TiPlotLegendItem& item, TColor sampleBackground) {
  TiPlotChannelCustom& channel = *item.Channel;
  const std::int64_t x = item.X, y = item.Y;
  const int titleLeft = Saturate(x + offsets_[iplcTitle]);
  const TRect title = Rect(titleLeft, item.Y, Saturate(std::int64_t(titleLeft) + widths_[iplcTitle] + 1), Saturate(y + item.Height));
  channel.SetLegendRect(title);
  rectChannels_.push_back(&channel);

  const int centre = Saturate(y + rowHeight_ / 2);
  if (shown_[iplcLine]) DrawLineSample(canvas, channel, Saturate(x + offsets_[iplcLine]), centre);
  if (shown_[iplcMarker])
    channel.DrawMarker(canvas, -1, sampleBackground, {Saturate(x + offsets_[iplcMarker] + widths_[iplcMarker] / 2), centre});

  const bool selected = channel.HasFocus();
  const TiFont& titleFont = selected ? selectedItemFont_ : font_;
  if (selected) {
    canvas->Brush() = TBrush{selectedItemBackGroundColor_, bsSolid};
    canvas->FillRect(title);
  }
  canvas->Brush().Style = bsClear;
  canvas->Font() = titleFont.Font();
  const TColor titleColor = TitleColor(item, titleFont);
  canvas->Font().Color = titleColor;
  TRect titleBox = title;
  DrawTextOptions(*canvas, item.Texts[iplcTitle], titleBox, titleColor, true,
                  {TTextOption::Left, TTextOption::Top, TTextOption::WordBreak, TTextOption::WordEllipsis});

  canvas->Font() = font_.Font();
  for (int c = iplcXAxisTitle; c < kLegendColumnCount; ++c) {
    if (!shown_[c]) continue;
    const int left = Saturate(x + offsets_[c]);
    TRect box = Rect(left, item.Y, Saturate(std::int64_t(left) + widths_[c]), Saturate(y + rowHeight_));
    DrawTextOptions(*canvas, item.Texts[c], box, font_.Color(), true,
                    {IsAxisTitleColumn(c) ? TTextOption::Left : TTextOption::Right, TTextOption::Top, TTextOption::SingleLine});
  }
}

void TiPlotLegend::DrawLineSample(TCanvas* canvas, const TiPlotChannelCustom& channel, int x, int centre) {
  const int thickness = lineColumnHeight_;
  const int first = -(thickness / 2);
  const bool segmented = lineColumnWidth_ == kSegmentedSampleWidth;
  canvas->Pen() = TPen{channel.Color(), segmented ? psSolid : TPenStyle(channel.TraceLineStyle()), 1, pmCopy};
  const std::vector<TSegment> segments =
      segmented ? SampleSegments(channel.TraceLineStyle()) : std::vector<TSegment>{{0, lineColumnWidth_}};
  for (int k = first; k <= first + thickness; ++k) {
    const int y = Saturate(std::int64_t(centre) + k);
    for (const TSegment& s : segments) {
      canvas->MoveTo(Saturate(std::int64_t(x) + s.From), y);
      canvas->LineTo(Saturate(std::int64_t(x) + s.To), y);
    }
  }
}

// --- Input ---

void TiPlotLegend::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotLayoutObject::NotifyRemoving(item);
  std::erase_if(items_, [item](const TiPlotLegendItem& e) { return static_cast<TiPlotPersistent*>(e.Channel) == item; });
  if (lastItem_ >= ItemCount()) lastItem_ = ItemCount() - 1;
}

void TiPlotLegend::NotifyFocus(TiPlotObject* object) {
  // Another object took the focus: the legend no longer receives the presses meant for it.
  if (object && object != this && object->HasFocus()) SetFocused(false);
}

TiPlotObject* TiPlotLegend::GetObjectAt(int x, int y) {
  TiPlotObject* self = TiPlotLayoutObject::GetObjectAt(x, y);
  for (TiPlotLegendButton* button : {upButton_.get(), downButton_.get()})
    if (button->Visible() && PtInRect(button->GetButtonRect(), {x, y})) return button;
  if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner()))
    for (int i = 0; i < chart->ChannelCount(); ++i) {
      TiPlotChannelCustom* channel = chart->Channel(i);
      if (channel->VisibleInLegend() && PtInRect(channel->LegendRect(), {x, y})) return channel;
    }
  return self;
}

void TiPlotLegend::AddMenuItems(TPopupMenu* menu) {
  TiPlotLayoutObject::AddMenuItems(menu);
  AddEditMenuItem(menu);
}
