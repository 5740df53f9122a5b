#include "chart/decorations/rUdudLabel.h"

#include "chart/core/iGPFunctions.h"
#include <algorithm>
#include <cmath>

#include "platform/Canvas.h"
#include "platform/ImageList.h"

const QStringList& AlignmentHorizontalNames() {
  static const QStringList names{QStringLiteral("iahCenter"), QStringLiteral("iahLeft"), QStringLiteral("iahRight")};
  return names;
}

const TiClassInfo& TiPlotLabel::StaticClassInfo() {
  using C = TiPlotLabel;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotLabel"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("Caption"), &C::Caption, &C::SetCaption, QString())
      .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
      .Enumeration<TiAlignmentHorizontal>(QStringLiteral("Alignment"), &C::Alignment, &C::SetAlignment, iahCenter,
                                          AlignmentHorizontalNames())
      .Float(QStringLiteral("MarginLeft"), &C::MarginLeft, &C::SetMarginLeft, 0.0)
      .Float(QStringLiteral("MarginRight"), &C::MarginRight, &C::SetMarginRight, 0.0)
      .Float(QStringLiteral("MarginTop"), &C::MarginTop, &C::SetMarginTop, 0.0)
      .Float(QStringLiteral("MarginBottom"), &C::MarginBottom, &C::SetMarginBottom, 0.0)
      .Integer(QStringLiteral("ImageListIndex"), &C::ImageListIndex, &C::SetImageListIndex, -1)
      .Integer(QStringLiteral("ImageIndex"), &C::ImageIndex, &C::SetImageIndex, 0)
      .Build();
  return info;
}

TiPlotLabel::TiPlotLabel(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotLayoutObject(owner, handlers), font_(TFont{QStringLiteral("Arial"), 19, clWhite, FontStyleBit(fsBold)}) {
  font_.OnChange = [this] { DoChange(); };
  // A label lies above or below the data view unless told otherwise; set before it announces
  // itself, so nothing is notified.
  SetHorizontal(true);
}

void TiPlotLabel::SetCaption(const QString& value) { SetAndChange(caption_, value); }
void TiPlotLabel::SetAlignment(TiAlignmentHorizontal value) { SetAndChange(alignment_, value); }
void TiPlotLabel::SetMarginLeft(double value) { SetAndChange(marginLeft_, value); }
void TiPlotLabel::SetMarginRight(double value) { SetAndChange(marginRight_, value); }
void TiPlotLabel::SetMarginTop(double value) { SetAndChange(marginTop_, value); }
void TiPlotLabel::SetMarginBottom(double value) { SetAndChange(marginBottom_, value); }

void TiPlotLabel::PlaceAlongSide(const TiPlotLayoutFrame& frame) {
  if (!IsHorizontal()) {
    TiPlotLayoutObject::PlaceAlongSide(frame);
    return;
  }
  const int left = frame.Border + frame.OuterMarginLeft;
  const int width = frame.Width - frame.Border - frame.OuterMarginLeft - frame.OuterMarginRight;
  SetExtentAlong(left + RoundEven(StartPercent() / 100.0 * width), left + RoundEven(StopPercent() / 100.0 * width));
}

void TiPlotLabel::SetImageListIndex(int value) { SetAndChange(imageListIndex_, value); }
void TiPlotLabel::SetImageIndex(int value) { SetAndChange(imageIndex_, value); }

TiPlotLabel::TMargins TiPlotLabel::MeasureMargins(TCanvas* canvas) const {
  canvas->Font() = font_.Font();
  const int w0 = canvas->TextWidth(QStringLiteral("0"));
  const int h0 = canvas->TextHeight(QStringLiteral("0"));
  TMargins m;
  m.Top = NearestCoordinate(h0 * marginTop_);
  m.Bottom = NearestCoordinate(h0 * marginBottom_);
  m.Left = NearestCoordinate(w0 * marginLeft_);
  m.Right = NearestCoordinate(w0 * marginRight_);
  return m;
}

const TImageList* TiPlotLabel::Picture() const {
  if (imageListIndex_ < 0 || imageListIndex_ > 2 || !Owner()) return nullptr;
  const TImageList* list = Owner()->ImageList(imageListIndex_);
  if (!list || imageIndex_ < 0 || imageIndex_ >= list->Count()) return nullptr;
  return list;
}

int TiPlotLabel::RequiredSize(TCanvas* canvas) {
  if (!canvas) return 0;
  const TMargins m = MeasureMargins(canvas);
  std::int64_t size;
  if (const TImageList* list = Picture()) {
    // The picture takes the room, or it would cover its neighbours.
    size = IsHorizontal() ? std::int64_t(list->Height()) + m.Top + m.Bottom : std::int64_t(list->Width()) + m.Left + m.Right;
  } else {
    size = std::int64_t(TextHeightMeasured(*canvas, caption_)) + m.Top + m.Bottom;
  }
  return ClampCoordinate(size);
}

void TiPlotLabel::Draw(TCanvas* canvas, TColor) {
  if (!canvas || !Visible()) return;
  const TMargins m = MeasureMargins(canvas);
  if (const TImageList* list = Picture())
    DrawPicture(canvas, *list, m);
  else
    DrawCaption(canvas, m);
}

void TiPlotLabel::DrawPicture(TCanvas* canvas, const TImageList& list, const TMargins& m) {
  const TRect r = GetLayoutRect();
  int x;
  switch (alignment_) {
    case iahLeft: x = r.Left + m.Left; break;
    case iahRight: x = r.Right - m.Right - list.Width(); break;
    default: x = (r.Left + r.Right) / 2 - list.Width() / 2; break;
  }
  list.Draw(*canvas, x, r.Top + m.Top, imageIndex_, Enabled());
}

void TiPlotLabel::DrawCaption(TCanvas* canvas, const TMargins& m) {
  const TRect r = GetLayoutRect();
  canvas->Brush().Style = bsClear;
  const TColor color = font_.Color();
  if (IsHorizontal()) {
    TTextOptions options{TTextOption::VCenter};
    options.Include(alignment_ == iahLeft ? TTextOption::Left : alignment_ == iahRight ? TTextOption::Right : TTextOption::Center);
    TRect box = Rect(r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom);
    DrawTextOptions(*canvas, caption_, box, color, Enabled(), options);
    return;
  }
  // Turned to read upwards: across, centred between the top and bottom margins (which lie left
  // and right of the turned text); along, placed by the alignment from the bottom (left) or the
  // top (right).
  const int h = TextMaxLineWidth(*canvas, caption_) / 2;
  int centre;
  switch (alignment_) {
    case iahLeft: centre = r.Bottom - h - m.Left; break;
    case iahRight: centre = r.Top + h + m.Right; break;
    default: centre = (r.Top + r.Bottom) / 2; break;
  }
  TRect covered;
  DrawRotatedText(*canvas, caption_, Rect(r.Left + m.Top, centre, r.Right - m.Bottom, centre), covered, color, Enabled(),
                  iahCenter, ira090);
}
