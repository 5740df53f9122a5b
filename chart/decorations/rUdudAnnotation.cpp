#include "chart/decorations/rUdudAnnotation.h"

#include <algorithm>
#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iErrors.h"
#include "chart/core/iValueNames.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLabel.h"
#include "platform/ImageList.h"

const QStringList& ReferenceTypeNames() {
  static const QStringList names{QStringLiteral("iprtDataView"), QStringLiteral("iprtChannel"),
                                 QStringLiteral("iprtXChannelYDataView"), QStringLiteral("iprtXDataViewYChannel")};
  return names;
}

const QStringList& ReferenceIndividualNames() {
  static const QStringList names{QStringLiteral("ipriDataView"), QStringLiteral("ipriChannel"), QStringLiteral("ipriAuto")};
  return names;
}

const QStringList& AnnotationStyleNames() {
  static const QStringList names{QStringLiteral("ipasText"),        QStringLiteral("ipasLine"),
                                 QStringLiteral("ipasRectangle"),   QStringLiteral("ipasLineX"),
                                 QStringLiteral("ipasLineY"),       QStringLiteral("ipasImage"),
                                 QStringLiteral("ipasTextRectangle"), QStringLiteral("ipasEllipse"),
                                 QStringLiteral("ipasTextBox"),     QStringLiteral("ipasEllipse2"),
                                 QStringLiteral("ipasPolygon"),     QStringLiteral("ipasRectangle2")};
  return names;
}

const QStringList& AlignmentVerticalNames() {
  static const QStringList names{QStringLiteral("iavCenter"), QStringLiteral("iavTop"), QStringLiteral("iavBottom")};
  return names;
}

TFont AnnotationStartFont() { return TFont{QStringLiteral("Arial"), 11, clWhite, 0}; }

namespace {


// Whether the segment a-b meets the rectangle (both ends and edges included).
bool SegmentMeets(TPoint a, TPoint b, const TRect& r) {
  double t0 = 0, t1 = 1;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {double(a.X - r.Left), double(r.Right - a.X), double(a.Y - r.Top), double(r.Bottom - a.Y)};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

bool Meets(const TRect& a, const TRect& b) {
  return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

TRect Normalized(TPoint a, TPoint b) {
  return Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

// Width w by height h centred on c.
TRect Centred(TPoint c, int w, int h) { return Rect(c.X - w / 2, c.Y - h / 2, c.X - w / 2 + w, c.Y - h / 2 + h); }

TRect Intersection(const TRect& a, const TRect& b) {
  TRect r{};
  if (!IntersectRect(r, a, b)) return TRect{};
  return r;
}

enum TEvent { ieCoordinatesChange, ieMoveUser, ieResizeUser, ieCoordinatesChangeFinished };

}  // namespace

const TiClassInfo& TiPlotAnnotation::StaticClassInfo() {
  using C = TiPlotAnnotation;
  const TiPlotAnnotationLook start;
  const QStringList& individual = ReferenceIndividualNames();
  static const QStringList rotations{QStringLiteral("ira000"), QStringLiteral("ira090"), QStringLiteral("ira180"),
                                     QStringLiteral("ira270")};
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotAnnotation"), &TiPlotObject::StaticClassInfo())
          .Enumeration<TiPlotAnnotationStyle>(QStringLiteral("Style"), &C::Style, &C::SetStyle, ipasText, AnnotationStyleNames())
          .Enumeration<TiPlotReferenceType>(QStringLiteral("Reference"), &C::Reference, &C::SetReference, start.Reference,
                                            ReferenceTypeNames())
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionX"), &C::ReferencePositionX,
                                                  &C::SetReferencePositionX, start.ReferencePositionX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionY"), &C::ReferencePositionY,
                                                  &C::SetReferencePositionY, start.ReferencePositionY, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeX"), &C::ReferenceSizeX, &C::SetReferenceSizeX,
                                                  start.ReferenceSizeX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeY"), &C::ReferenceSizeY, &C::SetReferenceSizeY,
                                                  start.ReferenceSizeY, individual)
          .String(QStringLiteral("ChannelName"), &C::ChannelName, &C::SetChannelName, QString())
          .Float(QStringLiteral("X"), &C::X, &C::SetX, 0.0)
          .Float(QStringLiteral("Y"), &C::Y, &C::SetY, 0.0)
          .Float(QStringLiteral("X2"), &C::X2, &C::SetX2, 0.0)
          .Float(QStringLiteral("Y2"), &C::Y2, &C::SetY2, 0.0)
          .Float(QStringLiteral("Width"), &C::Width, &C::SetWidth, 0.0)
          .Float(QStringLiteral("Height"), &C::Height, &C::SetHeight, 0.0)
          .Color(QStringLiteral("PenColor"), &C::PenColor, &C::SetPenColor, start.PenColor)
          .Integer(QStringLiteral("PenWidth"), &C::PenWidth, &C::SetPenWidth, start.PenWidth)
          .Enumeration<TPenStyle>(QStringLiteral("PenStyle"), &C::PenStyle, &C::SetPenStyle, start.PenStyle, PenStyleNames())
          .Color(QStringLiteral("BrushColor"), &C::BrushColor, &C::SetBrushColor, start.BrushColor)
          .Enumeration<TBrushStyle>(QStringLiteral("BrushStyle"), &C::BrushStyle, &C::SetBrushStyle, start.BrushStyle, BrushStyleNames())
          .String(QStringLiteral("Text"), &C::Text, &C::SetText, QString())
          .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
          .Enumeration<TiRotationAngle>(QStringLiteral("TextRotation"), &C::TextRotation, &C::SetTextRotation, ira000, rotations)
          .Enumeration<TiAlignmentHorizontal>(QStringLiteral("TextHorzAlignment"), &C::TextHorzAlignment, &C::SetTextHorzAlignment,
                                              iahCenter, AlignmentHorizontalNames())
          .Enumeration<TiAlignmentVertical>(QStringLiteral("TextVertAlignment"), &C::TextVertAlignment, &C::SetTextVertAlignment,
                                            iavCenter, AlignmentVerticalNames())
          .Enumeration<TiAlignmentHorizontal>(QStringLiteral("TextLineAlignment"), &C::TextLineAlignment, &C::SetTextLineAlignment,
                                              iahCenter, AlignmentHorizontalNames())
          .Float(QStringLiteral("TextHorzMargin"), &C::TextHorzMargin, &C::SetTextHorzMargin, 1.0)
          .Float(QStringLiteral("TextVertMargin"), &C::TextVertMargin, &C::SetTextVertMargin, 1.0)
          .Integer(QStringLiteral("OuterMargin"), &C::OuterMargin, &C::SetOuterMargin, 0)
          .Integer(QStringLiteral("ImageListIndex"), &C::ImageListIndex, &C::SetImageListIndex, 0)
          .Integer(QStringLiteral("ImageIndex"), &C::ImageIndex, &C::SetImageIndex, 0)
          .Boolean(QStringLiteral("ClipToAxes"), &C::ClipToAxes, &C::SetClipToAxes, false)
          .Boolean(QStringLiteral("UserCanMove"), &C::UserCanMove, &C::SetUserCanMove, false)
          .Boolean(QStringLiteral("UserCanSize"), &C::UserCanSize, &C::SetUserCanSize, false)
          .Boolean(QStringLiteral("SelectModeOnlyInteraction"), &C::SelectModeOnlyInteraction, &C::SetSelectModeOnlyInteraction,
                   true)
          .Boolean(QStringLiteral("ShowFocusRect"), &C::ShowFocusRect, &C::SetShowFocusRect, true)
          .Build();
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObject(owner, handlers), font_(AnnotationStartFont()) {
  font_.OnChange = [this] { DoChange(); };
}

void TiPlotAnnotation::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
  if (channel_ && static_cast<TiPlotPersistent*>(channel_) == item) channel_ = nullptr;
}

void TiPlotAnnotation::NotifyRenamed(TiPlotObject* object) {
  TiPlotObject::NotifyRenamed(object);
  if (!object || object->Kind() != ipokChannel) return;
  // The name follows the channel; the cached channel is the same object.
  if (object == channel_ || object->PreviousName().compare(channelName_, Qt::CaseInsensitive) == 0) channelName_ = object->Name();
}

// --- Properties ---------------------------------------------------------------------------

void TiPlotAnnotation::SetStyle(TiPlotAnnotationStyle value) { SetAndChange(style_, value); }
void TiPlotAnnotation::SetReference(TiPlotReferenceType value) { SetAndChange(look_.Reference, value); }
void TiPlotAnnotation::SetReferencePositionX(TiPlotReferenceIndividual value) { SetAndChange(look_.ReferencePositionX, value); }
void TiPlotAnnotation::SetReferencePositionY(TiPlotReferenceIndividual value) { SetAndChange(look_.ReferencePositionY, value); }
void TiPlotAnnotation::SetReferenceSizeX(TiPlotReferenceIndividual value) { SetAndChange(look_.ReferenceSizeX, value); }
void TiPlotAnnotation::SetReferenceSizeY(TiPlotReferenceIndividual value) { SetAndChange(look_.ReferenceSizeY, value); }
void TiPlotAnnotation::SetPenColor(TColor value) { SetAndChange(look_.PenColor, value); }
// A size on the chart: held to its drawable range.
void TiPlotAnnotation::SetPenWidth(int value) { SetAndChange(look_.PenWidth, ClampCoordinate(value)); }
void TiPlotAnnotation::SetPenStyle(TPenStyle value) { SetAndChange(look_.PenStyle, value); }
void TiPlotAnnotation::SetBrushColor(TColor value) { SetAndChange(look_.BrushColor, value); }
void TiPlotAnnotation::SetBrushStyle(TBrushStyle value) { SetAndChange(look_.BrushStyle, value); }
void TiPlotAnnotation::SetLook(const TiPlotAnnotationLook& value) {
  TiPlotAnnotationLook held = value;
  held.PenWidth = ClampCoordinate(held.PenWidth);
  SetAndChange(look_, held);
}

void TiPlotAnnotation::SetChannelName(const QString& value) {
  if (channelName_ == value) return;
  channelName_ = value;
  channel_ = nullptr;
  DoChange();
}

void TiPlotAnnotation::SetCoordinate(double& field, double value) {
  // A coordinate that is not finite could never be drawn nor written back.
  if (!std::isfinite(value) || field == value) return;
  field = value;
  DoChange();
  RaiseEvent(ieCoordinatesChange);
}

void TiPlotAnnotation::SetX(double value) { SetCoordinate(x_, value); }
void TiPlotAnnotation::SetY(double value) { SetCoordinate(y_, value); }
void TiPlotAnnotation::SetX2(double value) { SetCoordinate(x2_, value); }
void TiPlotAnnotation::SetY2(double value) { SetCoordinate(y2_, value); }
void TiPlotAnnotation::SetWidth(double value) { SetCoordinate(width_, value); }
void TiPlotAnnotation::SetHeight(double value) { SetCoordinate(height_, value); }
void TiPlotAnnotation::SetText(const QString& value) { SetAndChange(text_, value); }
void TiPlotAnnotation::SetTextRotation(TiRotationAngle value) { SetAndChange(textRotation_, value); }
void TiPlotAnnotation::SetTextHorzAlignment(TiAlignmentHorizontal value) { SetAndChange(textHorzAlignment_, value); }
void TiPlotAnnotation::SetTextVertAlignment(TiAlignmentVertical value) { SetAndChange(textVertAlignment_, value); }
void TiPlotAnnotation::SetTextLineAlignment(TiAlignmentHorizontal value) { SetAndChange(textLineAlignment_, value); }
void TiPlotAnnotation::SetTextHorzMargin(double value) {
  if (std::isfinite(value)) SetAndChange(textHorzMargin_, value);
}
void TiPlotAnnotation::SetTextVertMargin(double value) {
  if (std::isfinite(value)) SetAndChange(textVertMargin_, value);
}
void TiPlotAnnotation::SetOuterMargin(int value) { SetAndChange(outerMargin_, ClampCoordinate(value)); }
void TiPlotAnnotation::SetImageListIndex(int value) { SetAndChange(imageListIndex_, value); }
void TiPlotAnnotation::SetImageIndex(int value) { SetAndChange(imageIndex_, value); }
void TiPlotAnnotation::SetClipToAxes(bool value) { SetAndChange(clipToAxes_, value); }
void TiPlotAnnotation::SetUserCanMove(bool value) { SetAndChange(userCanMove_, value); }
void TiPlotAnnotation::SetUserCanSize(bool value) { SetAndChange(userCanSize_, value); }
void TiPlotAnnotation::SetSelectModeOnlyInteraction(bool value) { SetAndChange(selectModeOnlyInteraction_, value); }
void TiPlotAnnotation::SetShowFocusRect(bool value) { SetAndChange(showFocusRect_, value); }

void TiPlotAnnotation::AddPoint(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  points_.push_back({x, y});
  DoChange();
}

void TiPlotAnnotation::ClearPoints() {
  if (points_.empty()) return;
  points_.clear();
  DoChange();
}

TiPlotAnnotationPoint TiPlotAnnotation::Point(int index) const {
  if (index < 0 || index >= PointCount()) throw EiError(QStringLiteral("Index out of bounds"));
  return points_[static_cast<std::size_t>(index)];
}

void TiPlotAnnotation::RaiseEvent(int which) {
  auto* chart = dynamic_cast<TiPlotComponent*>(Owner());
  if (!chart) return;
  int index = -1;
  for (int i = 0; i < chart->AnnotationCount(); ++i)
    if (chart->Annotation(i) == this) index = i;
  if (index < 0) return;
  const TiPlotObjectEvent* event = nullptr;
  switch (which) {
    case ieCoordinatesChange: event = &chart->OnAnnotationCoordinatesChange; break;
    case ieMoveUser: event = &chart->OnAnnotationMoveUser; break;
    case ieResizeUser: event = &chart->OnAnnotationResizeUser; break;
    default: event = &chart->OnAnnotationCoordinatesChangeFinished; break;
  }
  if (*event) (*event)(index);
}

// --- References ---------------------------------------------------------------------------

bool TiPlotAnnotation::UsesChannel(TCoordinate coordinate) const {
  const bool isX = coordinate == icPositionX || coordinate == icSizeX;
  TiPlotReferenceIndividual set = ipriAuto;
  switch (coordinate) {
    case icPositionX: set = look_.ReferencePositionX; break;
    case icPositionY: set = look_.ReferencePositionY; break;
    case icSizeX: set = look_.ReferenceSizeX; break;
    case icSizeY: set = look_.ReferenceSizeY; break;
  }
  if (set != ipriAuto) return set == ipriChannel;
  if (look_.Reference == iprtChannel) return true;
  return isX ? look_.Reference == iprtXChannelYDataView : look_.Reference == iprtXDataViewYChannel;
}

TiPlotChannelCustom* TiPlotAnnotation::Channel() const {
  if (!channel_) {
    if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner())) channel_ = chart->FindChannel(channelName_);
  }
  return channel_;
}

TiPlotAxis* TiPlotAnnotation::ChannelAxis(bool isX) const {
  const TiPlotChannelCustom* channel = Channel();
  const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner());
  if (!channel || !lookup) return nullptr;
  if (isX) return lookup->FindXAxis(channel->XAxisName());
  return lookup->FindYAxis(channel->YAxisName());
}

bool TiPlotAnnotation::ReferencesReady() const {
  bool needsView = false, needsChannel = false;
  for (TCoordinate c : {icPositionX, icPositionY, icSizeX, icSizeY}) (UsesChannel(c) ? needsChannel : needsView) = true;
  if (needsView && !dataView_) return false;
  if (needsChannel && (!ChannelAxis(true) || !ChannelAxis(false))) return false;
  return true;
}

// Under XYAxesReverse X runs up the view and Y across it, like the channel's axes.
bool TiPlotAnnotation::AcrossView(bool isX) const { return isX != XYAxesReverse(); }

int TiPlotAnnotation::ViewPixel(bool isX, double percent) const {
  return AcrossView(isX) ? dataView_->PercentToPixelX(percent) : dataView_->PercentToPixelY(percent);
}

int TiPlotAnnotation::AlongPixel(bool isX, double value) const {
  if (UsesChannel(isX ? icPositionX : icPositionY)) {
    const TiPlotAxis* axis = ChannelAxis(isX);
    return axis ? axis->ValueToPosition(value) : 0;
  }
  return dataView_ ? ViewPixel(isX, value) : 0;
}

int TiPlotAnnotation::SizePixels(bool isX, double value) const {
  if (UsesChannel(isX ? icSizeX : icSizeY)) {
    const TiPlotAxis* axis = ChannelAxis(isX);
    return axis ? axis->ValueLengthToPixels(value) : 0;
  }
  return dataView_ ? std::abs(ViewPixel(isX, value) - ViewPixel(isX, 0)) : 0;
}

TPoint TiPlotAnnotation::PointPixel(double x, double y) const {
  const int px = AlongPixel(true, x), py = AlongPixel(false, y);
  return XYAxesReverse() ? TPoint{py, px} : TPoint{px, py};
}

bool TiPlotAnnotation::AlongValue(bool isX, int pixel, double& value) const {
  double v = 0;
  if (UsesChannel(isX ? icPositionX : icPositionY)) {
    const TiPlotAxis* axis = ChannelAxis(isX);
    if (!axis) return false;
    v = axis->PositionToValue(pixel);
  } else {
    if (!dataView_) return false;
    const TRect r = dataView_->GetLayoutRect();
    const bool horizontal = AcrossView(isX);
    // A view of no width or height has no percentages: the division gives no finite value.
    v = horizontal ? (pixel - r.Left) / double(r.Right - r.Left) * 100.0
                   : (1.0 - (pixel - r.Top) / double(r.Bottom - r.Top)) * 100.0;
  }
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool TiPlotAnnotation::SizeValue(bool isX, int pixels, double& value) const {
  double v = 0;
  if (UsesChannel(isX ? icSizeX : icSizeY)) {
    const TiPlotAxis* axis = ChannelAxis(isX);
    if (!axis) return false;
    // The inverse of ValueLengthToPixels, which measures from Min: on a logarithmic axis a length
    // depends on where it starts.
    const int start = axis->ValueToPosition(axis->Min());
    const double up = axis->PositionToValue(start + pixels), down = axis->PositionToValue(start - pixels);
    v = std::max(up, down) - axis->Min();
  } else {
    if (!dataView_) return false;
    const TRect r = dataView_->GetLayoutRect();
    const bool horizontal = AcrossView(isX);
    v = pixels / double(horizontal ? r.Right - r.Left : r.Bottom - r.Top) * 100.0;
  }
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool TiPlotAnnotation::PointValue(TPoint pixel, double& x, double& y) const {
  const int alongX = XYAxesReverse() ? pixel.Y : pixel.X;
  const int alongY = XYAxesReverse() ? pixel.X : pixel.Y;
  double vx = 0, vy = 0;
  if (!AlongValue(true, alongX, vx) || !AlongValue(false, alongY, vy)) return false;
  x = vx;
  y = vy;
  return true;
}

// --- Drawing ------------------------------------------------------------------------------

const TImageList* TiPlotAnnotation::Picture() const {
  if (!Owner()) return nullptr;
  const int list = imageListIndex_ == 0 || imageListIndex_ == 1 ? imageListIndex_ : 2;
  const TImageList* images = Owner()->ImageList(list);
  if (!images || imageIndex_ < 0 || imageIndex_ >= images->Count()) return nullptr;
  return images;
}

TSize TiPlotAnnotation::MeasureText(TCanvas* canvas) {
  canvas->Font() = font_.Font();
  TTextCache& c = textCache_;
  if (!(c.Valid && c.Canvas == canvas && c.Text == text_ && c.Font == font_.Font() && c.Rotation == textRotation_)) {
    c.Canvas = canvas;
    c.Text = text_;
    c.Font = font_.Font();
    c.Rotation = textRotation_;
    const int w = TextMaxLineWidth(*canvas, text_), h = TextHeightMeasured(*canvas, text_);
    const bool across = textRotation_ == ira090 || textRotation_ == ira270;
    c.Size = across ? TSize{h, w} : TSize{w, h};
    c.CharA = canvas->TextExtent(QStringLiteral("A"));
    c.Char0 = canvas->TextWidth(QStringLiteral("0"));
    c.Valid = true;
  }
  return c.Size;
}

// Moves a rectangle centred on the anchor by the text alignments and margins.
TRect TiPlotAnnotation::PlaceText(TCanvas* canvas, TRect r) {
  MeasureText(canvas);
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  const int dx = NearestCoordinate(textCache_.CharA.cx * textHorzMargin_) + w / 2;
  const int dy = NearestCoordinate(textCache_.CharA.cy * textVertMargin_) + h / 2;
  if (textHorzAlignment_ == iahLeft) r = OffsetRect(r, dx, 0);
  else if (textHorzAlignment_ == iahRight) r = OffsetRect(r, -dx, 0);
  if (textVertAlignment_ == iavTop) r = OffsetRect(r, 0, dy);
  else if (textVertAlignment_ == iavBottom) r = OffsetRect(r, 0, -dy);
  return r;
}

void TiPlotAnnotation::DrawTextIn(TCanvas* canvas, const TRect& rect) {
  canvas->Font() = font_.Font();
  canvas->SetBkMode(TRANSPARENT);
  TRect covered;
  DrawRotatedText(*canvas, text_, rect, covered, font_.Color(), Enabled(), textLineAlignment_, textRotation_);
}

void TiPlotAnnotation::SetHandlesFor(const TRect& shape, const TRect& view) {
  hasHandles_ = true;
  const TPoint corners[4] = {{shape.Left, shape.Top}, {shape.Right, shape.Top}, {shape.Left, shape.Bottom}, {shape.Right, shape.Bottom}};
  for (int i = 0; i < 4; ++i) handles_[i] = Intersection(Rect(corners[i].X - 3, corners[i].Y - 3, corners[i].X + 3, corners[i].Y + 3), view);
  hitRect_ = Intersection(shape, view);
}

TRect TiPlotAnnotation::HandleRect(THandle corner) const {
  if (!hasHandles_ || corner < ihTopLeft) return TRect{};
  return handles_[corner - ihTopLeft];
}

bool TiPlotAnnotation::Sizable() const {
  if (!userCanSize_) return false;
  return style_ == ipasRectangle || style_ == ipasRectangle2 || style_ == ipasEllipse2 || style_ == ipasTextRectangle ||
         style_ == ipasEllipse;
}

void TiPlotAnnotation::Draw(TCanvas* canvas, TColor backgroundColor) {
  drawn_ = false;
  hasHandles_ = false;
  hitRect_ = shapeRect_ = TRect{};
  for (TRect& h : handles_) h = TRect{};
  if (!canvas || !Visible() || !ReferencesReady() || !dataView_) return;
  const TRect view = dataView_->GetLayoutRect();

  // Clipping to the channel's axes, within whatever clip the chart set.
  const TiPlotAxis* xAxis = nullptr;
  const TiPlotAxis* yAxis = nullptr;
  const auto* chart = dynamic_cast<const TiPlotComponent*>(Owner());
  const bool clip = clipToAxes_ || (look_.Reference == iprtChannel && chart && chart->ClipAnnotationsToAxes());
  if (clip) {
    xAxis = ChannelAxis(true);
    yAxis = ChannelAxis(false);
  }
  const TRect before = canvas->ClipRect();
  const bool clipped = xAxis && yAxis;
  if (clipped) {
    const int x1 = xAxis->PositionOfMin(), x2 = xAxis->PositionOfMax();
    const int y1 = yAxis->PositionOfMin(), y2 = yAxis->PositionOfMax();
    // Each axis gives the extent along its own direction.
    const TRect axes = XYAxesReverse() ? Rect(std::min(y1, y2), std::min(x1, x2), std::max(y1, y2), std::max(x1, x2))
                                       : Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    canvas->IntersectClipRect(axes);
  }
  DrawShape(canvas, view, backgroundColor);
  if (clipped) {
    canvas->RemoveClip();
    canvas->IntersectClipRect(before);
  }
  if (drawn_ && hasHandles_ && HasFocus() && showFocusRect_) DrawHandles(canvas);
}

void TiPlotAnnotation::DrawShape(TCanvas* canvas, const TRect& view, TColor backgroundColor) {
  const TPoint a = PointPixel(x_, y_);
  const TPoint b = PointPixel(x2_, y2_);
  const int w = SizePixels(!XYAxesReverse(), XYAxesReverse() ? height_ : width_);
  const int h = SizePixels(XYAxesReverse(), XYAxesReverse() ? width_ : height_);
  canvas->Pen() = TPen{look_.PenColor, look_.PenStyle, look_.PenWidth, pmCopy};
  canvas->Brush() = TBrush{look_.BrushColor, look_.BrushStyle};
  canvas->SetBkColor(backgroundColor);

  switch (style_) {
    case ipasText:
    case ipasTextBox: {
      const TSize size = MeasureText(canvas);
      const int m = style_ == ipasTextBox ? outerMargin_ : 0;
      const TRect box = PlaceText(canvas, Centred(a, size.cx + 2 * m, size.cy + 2 * m));
      if (!Meets(box, view)) return;
      if (style_ == ipasTextBox) {
        canvas->Pen() = TPen{look_.PenColor, look_.PenStyle, look_.PenWidth, pmCopy};
        canvas->Brush() = TBrush{look_.BrushColor, look_.BrushStyle};
        canvas->SetBkColor(backgroundColor);
        canvas->Rectangle(box);
      }
      DrawTextIn(canvas, InflateRect(box, -m, -m));
      shapeRect_ = hitRect_ = box;
      break;
    }
    case ipasLine:
      if (!SegmentMeets(a, b, view)) return;
      canvas->MoveTo(a.X, a.Y);
      canvas->LineTo(b.X, b.Y);
      shapeRect_ = Normalized(a, b);
      hitRect_ = TRect{};   // lines are not interactive
      break;
    case ipasLineX:
      if (a.X < view.Left || a.X > view.Right) return;
      canvas->MoveTo(a.X, view.Top);
      canvas->LineTo(a.X, view.Bottom);
      shapeRect_ = Rect(a.X, view.Top, a.X, view.Bottom);
      hitRect_ = Rect(a.X - 5, view.Top, a.X + 6, view.Bottom);
      break;
    case ipasLineY:
      if (a.Y < view.Top || a.Y > view.Bottom) return;
      canvas->MoveTo(view.Right, a.Y);
      canvas->LineTo(view.Left, a.Y);
      shapeRect_ = Rect(view.Left, a.Y, view.Right, a.Y);
      hitRect_ = Rect(view.Left, a.Y - 5, view.Right, a.Y + 6);
      break;
    case ipasImage: {
      const TImageList* images = Picture();
      if (!images) return;
      const TRect r = Centred(a, images->Width(), images->Height());
      if (!Meets(r, view)) return;
      images->Draw(*canvas, r.Left, r.Top, imageIndex_, Enabled());
      shapeRect_ = hitRect_ = r;
      break;
    }
    case ipasRectangle:
    case ipasRectangle2:
    case ipasTextRectangle: {
      const TRect r = style_ == ipasRectangle2 ? Normalized(a, b) : Centred(a, w, h);
      if (!Meets(r, view)) return;
      canvas->Rectangle(r);
      if (style_ == ipasTextRectangle) {
        const TSize size = MeasureText(canvas);
        TRect band = r;
        const int mx = NearestCoordinate(textCache_.Char0 * textHorzMargin_);
        const int my = NearestCoordinate(textCache_.CharA.cy * textVertMargin_);
        if (textHorzAlignment_ == iahLeft) band.Left = r.Left + mx, band.Right = band.Left + size.cx;
        else if (textHorzAlignment_ == iahRight) band.Right = r.Right - mx, band.Left = band.Right - size.cx;
        if (textVertAlignment_ == iavTop) band.Top = r.Top + my, band.Bottom = band.Top + size.cy;
        else if (textVertAlignment_ == iavBottom) band.Bottom = r.Bottom - my, band.Top = band.Bottom - size.cy;
        DrawTextIn(canvas, band);
      }
      shapeRect_ = r;
      SetHandlesFor(r, view);
      break;
    }
    case ipasEllipse:
    case ipasEllipse2: {
      const TRect r = style_ == ipasEllipse ? Normalized(a, b) : Centred(a, w, h);
      if (!Meets(r, view)) return;
      canvas->Ellipse(r);
      shapeRect_ = r;
      SetHandlesFor(r, view);
      break;
    }
    case ipasPolygon: {
      if (points_.size() < 2) return;
      std::vector<TPoint> pixels;
      pixels.reserve(points_.size());
      for (const TiPlotAnnotationPoint& p : points_) pixels.push_back(PointPixel(p.X, p.Y));
      TRect r{pixels[0].X, pixels[0].Y, pixels[0].X, pixels[0].Y};
      for (const TPoint& p : pixels) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
      }
      if (!Meets(r, view)) return;
      // Winding: a self-crossing outline (a star) is filled as drawn, centre included.
      canvas->Polygon(pixels, true);
      shapeRect_ = r;
      SetHandlesFor(r, view);
      break;
    }
  }
  drawn_ = true;
}

void TiPlotAnnotation::DrawHandles(TCanvas* canvas) {
  // Inverting: the brush takes the pen colour when the pen is solid.
  canvas->Brush() = TBrush{look_.PenStyle == psSolid ? look_.PenColor : look_.BrushColor, bsSolid};
  canvas->Pen() = TPen{look_.PenColor, psSolid, 1, pmNot};
  for (const TRect& h : handles_)
    if (h.Right > h.Left && h.Bottom > h.Top) canvas->Rectangle(h);
  canvas->Pen().Mode = pmCopy;
}

// --- Mouse --------------------------------------------------------------------------------

bool TiPlotAnnotation::HitTest(const TiPlotMouseParams& params) {
  if (selectModeOnlyInteraction_ && !(Owner() && Owner()->SelectMode())) return false;
  if (!drawn_ || style_ == ipasLine) return false;
  const TPoint p{params.X, params.Y};
  if (PtInRect(hitRect_, p)) return true;
  if (hasHandles_)
    for (const TRect& h : handles_)
      if (PtInRect(h, p)) return true;
  return false;
}

TCursor TiPlotAnnotation::GetMouseCursor(const TiPlotMouseParams& params) {
  TCursor cursor = crHandPoint;
  const TPoint p{params.X, params.Y};
  if (HasFocus() && Sizable() && hasHandles_) {
    if (PtInRect(HandleRect(ihTopLeft), p) || PtInRect(HandleRect(ihBottomRight), p)) cursor = crSizeNWSE;
    else if (PtInRect(HandleRect(ihTopRight), p) || PtInRect(HandleRect(ihBottomLeft), p)) cursor = crSizeNESW;
  }
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

void TiPlotAnnotation::DoMouseDownLeft(const TiPlotMouseParams& params) {
  grabbed_ = ihNone;
  moved_ = false;
  if (!drawn_) return;
  const TPoint p{params.X, params.Y};
  if (Sizable() && hasHandles_) {
    for (THandle h : {ihTopLeft, ihBottomRight, ihTopRight, ihBottomLeft})
      if (PtInRect(HandleRect(h), p)) {
        grabbed_ = h;
        break;
      }
  }
  if (grabbed_ == ihNone && userCanMove_) grabbed_ = ihMove;
  if (grabbed_ == ihNone) return;
  pressRect_ = shapeRect_;
  pressPoint_ = p;
  pressAnchor_ = PointPixel(x_, y_);
  pressAnchor2_ = PointPixel(x2_, y2_);
  pressX_ = x_;
  pressY_ = y_;
  pressX2_ = x2_;
  pressY2_ = y2_;
}

void TiPlotAnnotation::DoMouseDrag(const TiPlotMouseParams& params) {
  if (grabbed_ == ihNone || !HasFocus()) return;
  // The channel, its axes or the data view may have gone since the press: the grab ends.
  if (!ReferencesReady()) {
    grabbed_ = ihNone;
    return;
  }
  const int dx = params.X - pressPoint_.X, dy = params.Y - pressPoint_.Y;
  const TiPlotLifeGuard life(this);
  if (grabbed_ == ihMove) {
    MoveTo(TPoint{pressAnchor_.X + dx, pressAnchor_.Y + dy});
  } else {
    TRect r = pressRect_;
    switch (grabbed_) {
      case ihTopLeft: r.Left += dx, r.Top += dy; break;
      case ihTopRight: r.Right += dx, r.Top += dy; break;
      case ihBottomLeft: r.Left += dx, r.Bottom += dy; break;
      default: r.Right += dx, r.Bottom += dy; break;
    }
    ResizeTo(r);
  }
  if (life.Gone()) return;
  if (OnFocusChange) OnFocusChange(this);
}

void TiPlotAnnotation::MoveTo(TPoint anchor) {
  double nx = 0, ny = 0;
  if (!PointValue(anchor, nx, ny)) return;
  const bool keepsSecond = style_ == ipasEllipse || style_ == ipasRectangle2;
  const double nx2 = nx + (pressX2_ - pressX_), ny2 = ny + (pressY2_ - pressY_);
  if (keepsSecond && (!std::isfinite(nx2) || !std::isfinite(ny2))) return;
  x_ = nx;
  y_ = ny;
  if (keepsSecond) {
    x2_ = nx2;
    y2_ = ny2;
  }
  ChangedByUser(ieMoveUser);
}

void TiPlotAnnotation::ResizeTo(const TRect& r) {
  if (style_ == ipasEllipse || style_ == ipasRectangle2) {
    // Each of the two points stays on the side of the rectangle it was on.
    const TPoint a{pressAnchor_.X <= pressAnchor2_.X ? r.Left : r.Right, pressAnchor_.Y <= pressAnchor2_.Y ? r.Top : r.Bottom};
    const TPoint b{pressAnchor_.X <= pressAnchor2_.X ? r.Right : r.Left, pressAnchor_.Y <= pressAnchor2_.Y ? r.Bottom : r.Top};
    double ax = 0, ay = 0, bx = 0, by = 0;
    if (!PointValue(a, ax, ay) || !PointValue(b, bx, by)) return;
    x_ = ax, y_ = ay, x2_ = bx, y2_ = by;
  } else {
    double lx = 0, ty = 0, rx = 0, by = 0, w = 0, h = 0;
    if (!PointValue({r.Left, r.Top}, lx, ty) || !PointValue({r.Right, r.Bottom}, rx, by)) return;
    const int alongXPixels = std::abs(XYAxesReverse() ? r.Bottom - r.Top : r.Right - r.Left);
    const int alongYPixels = std::abs(XYAxesReverse() ? r.Right - r.Left : r.Bottom - r.Top);
    if (!SizeValue(true, alongXPixels, w) || !SizeValue(false, alongYPixels, h)) return;
    x_ = (lx + rx) / 2;
    y_ = (ty + by) / 2;
    width_ = w;
    height_ = h;
  }
  ChangedByUser(ieResizeUser);
}

// A step of a move or resize: repaint, the step's own event, then the coordinates-change event
// (unless a handler removed the annotation).
void TiPlotAnnotation::ChangedByUser(int event) {
  moved_ = true;
  DoChange();
  const TiPlotLifeGuard life(this);
  RaiseEvent(event);
  if (life.Gone()) return;
  RaiseEvent(ieCoordinatesChange);
}

void TiPlotAnnotation::DoMouseUp(const TiPlotMouseParams&) {
  if (grabbed_ == ihNone) return;
  grabbed_ = ihNone;
  if (moved_) {
    moved_ = false;
    RaiseEvent(ieCoordinatesChangeFinished);
  }
}
