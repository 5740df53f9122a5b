// Axis drawing and placement: how thick the axis must be and how far its labels reach beyond its
// ends, where along its rectangle the scale runs, and the scale line, tick marks, labels, title
// and focus frame.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/rUdudComponent.h"
#include "platform/Canvas.h"

namespace {

bool Turned(TiRotationAngle rotation) { return rotation == ira090 || rotation == ira270; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Properties

void TiPlotAxis::SetTitleShow(bool value) { SetAndChange(titleShow_, value); }
void TiPlotAxis::SetTitleRotated(bool value) { SetAndChange(titleRotated_, value); }
void TiPlotAxis::SetTitleMargin(double value) {
  if (std::isfinite(value)) SetAndChange(titleMargin_, value);
}
void TiPlotAxis::SetLabelsMargin(double value) {
  if (std::isfinite(value)) SetAndChange(labelsMargin_, value);
}
// Lengths on the chart, held to the drawable range (a stored chart may hold anything).
void TiPlotAxis::SetMajorLength(int value) { SetAndChange(majorLength_, ClampCoordinate(value)); }
void TiPlotAxis::SetMinorLength(int value) { SetAndChange(minorLength_, ClampCoordinate(value)); }
void TiPlotAxis::SetInnerMargin(int value) { SetAndChange(innerMargin_, ClampCoordinate(value)); }
void TiPlotAxis::SetOuterMargin(int value) { SetAndChange(outerMargin_, ClampCoordinate(value)); }
void TiPlotAxis::SetScaleLinesShow(bool value) { SetAndChange(scaleLinesShow_, value); }
void TiPlotAxis::SetScaleLineShow(bool value) { SetAndChange(scaleLineShow_, value); }
void TiPlotAxis::SetScaleLinesColor(TColor value) { SetAndChange(scaleLinesColor_, value); }
void TiPlotAxis::SetStackingEndsMargin(double value) {
  if (std::isfinite(value)) SetAndChange(stackingEndsMargin_, value);
}
void TiPlotAxis::SetGridLinesVisible(bool value) { SetAndChange(gridLinesVisible_, value); }

// ---------------------------------------------------------------------------------------------
// Measuring

int TiPlotAxis::LabelsExtentAcross(TCanvas* canvas) {
  const TFont font = LabelsFont()->Font();
  // Labels side by side across the axis need their width, stacked ones their height.
  if (Horizontal() == Turned(LabelsRotation())) return LabelsMaxWidth(canvas, font);
  const QString text = LabelText(Min());
  canvas->Font() = font;
  return canvas->TextHeight(text);
}

int TiPlotAxis::LabelsExtentAlong(TCanvas* canvas) {
  const TFont font = LabelsFont()->Font();
  if (Horizontal() != Turned(LabelsRotation())) return LabelsMaxWidth(canvas, font);
  const QString text = LabelText(Min());
  canvas->Font() = font;
  return canvas->TextHeight(text);
}

int TiPlotAxis::RequiredSize(TCanvas* canvas) {
  // Title part.
  std::int64_t t = 0;
  if (TitleShow() && !IsCartesian()) {
    canvas->Font() = TitleFont()->Font();
    const int h = canvas->TextHeight(Title());
    const int x = TitleRotated() ? TextMaxLineWidth(*canvas, Title()) : h;
    t = NearestCoordinate(h * TitleMargin() + x);
  }
  // Tick part.
  const std::int64_t k = ScaleLinesShow() ? std::max(std::max(MajorLength(), 0), MinorLength()) : 0;
  // Label part.
  std::int64_t g = 0, e = 0;
  if (LabelsVisible()) {
    canvas->Font() = LabelsFont()->Font();
    g = NearestCoordinate(canvas->TextHeight(QStringLiteral("A")) * LabelsMargin());
    e = LabelsExtentAcross(canvas);
  }
  labelsOffset_ = ClampCoordinate(k + InnerMargin() + g + e);
  lastRequiredSize_ = ClampCoordinate(static_cast<std::int64_t>(InnerMargin()) + OuterMargin() + k + g + e + t);
  return lastRequiredSize_;
}

int TiPlotAxis::RequiredEndMargin(TCanvas* canvas) {
  if (!LabelsVisible()) return 0;
  if (Horizontal() != Turned(LabelsRotation())) return LabelsMaxWidth(canvas, LabelsFont()->Font()) / 2;
  canvas->Font() = LabelsFont()->Font();
  return canvas->TextHeight(QStringLiteral("XYZ")) / 2;
}

int TiPlotAxis::StackingInset(TCanvas* canvas) {
  if (IsCartesian()) return 0;
  if (Horizontal()) {
    const int c = LabelsVisible() ? LabelsExtentAlong(canvas) : 0;
    canvas->Font() = LabelsFont()->Font();
    const int w0 = canvas->TextWidth(QStringLiteral("0"));
    return ClampCoordinate(static_cast<std::int64_t>(NearestCoordinate(c / 2.0)) + NearestCoordinate(w0 * StackingEndsMargin()));
  }
  // Vertical: the labels' extent counts even while they are hidden.
  const int c = LabelsExtentAlong(canvas);
  canvas->Font() = LabelsFont()->Font();
  const int h0 = canvas->TextHeight(QStringLiteral("0"));
  return ClampCoordinate((static_cast<std::int64_t>(c) + NearestCoordinate(h0 * StackingEndsMargin())) / 2);
}

// ---------------------------------------------------------------------------------------------
// Placement

void TiPlotAxis::UpdateScaleArea(TCanvas* canvas) {
  if (IsCartesian())
    side_ = Horizontal() ? sideBottom : sideRight;
  else if (Horizontal())
    side_ = FarSide() ? sideTop : sideBottom;
  else
    side_ = FarSide() ? sideRight : sideLeft;

  const TRect r = GetLayoutRect();
  const int d = canvas ? StackingInset(canvas) : 0;
  TRect area = r;
  // Insets larger than the rectangle leave the scale at its middle rather than turned round.
  auto collapse = [](int& low, int& high) {
    if (low <= high) return;
    low = high = static_cast<int>((static_cast<std::int64_t>(low) + high) / 2);
  };
  if (Horizontal()) {
    if (StackedAtStart()) area.Left = ClampCoordinate(static_cast<std::int64_t>(r.Left) + d);
    if (StackedAtEnd()) area.Right = ClampCoordinate(static_cast<std::int64_t>(r.Right) - d);
    collapse(area.Left, area.Right);
    focusRect_ = Rect(ClampCoordinate(static_cast<std::int64_t>(area.Left) - d), r.Top + 2, ClampCoordinate(static_cast<std::int64_t>(area.Right) + d),
                      r.Bottom - 2);
  } else {
    if (StackedAtStart()) area.Bottom = ClampCoordinate(static_cast<std::int64_t>(r.Bottom) - d);
    if (StackedAtEnd()) area.Top = ClampCoordinate(static_cast<std::int64_t>(r.Top) + d);
    collapse(area.Top, area.Bottom);
    focusRect_ = Rect(r.Left + 2, ClampCoordinate(static_cast<std::int64_t>(area.Top) - d), r.Right - 2,
                      ClampCoordinate(static_cast<std::int64_t>(area.Bottom) + d));
  }
  SetScaleArea(area);
}

bool TiPlotAxis::ZeroLength() const {
  const TRect r = GetLayoutRect();
  return Horizontal() ? r.Left == r.Right : r.Top == r.Bottom;
}

TiPlotAxis* TiPlotAxis::AlignRefAxisInLayout() {
  TiPlotAxis* reference = AlignRefAxis();
  if (!reference) return nullptr;
  // Followed until the chain ends or repeats; a chain that comes back here is ignored, one that
  // runs into another loop still gives this axis its reference.
  std::unordered_set<const TiPlotAxis*> seen{this};
  for (TiPlotAxis* a = reference; a && seen.insert(a).second;) {
    a = a->AlignRefAxis();
    if (a == this) return nullptr;
  }
  return reference;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TiPlotAxis::ReserveInChart(const TRect& rect) {
  if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner())) chart->ReserveRect(rect);
}

bool TiPlotAxis::TryReserveInChart(const TRect& rect) {
  auto* chart = dynamic_cast<TiPlotComponent*>(Owner());
  return !chart || chart->TryReserveRect(rect);
}

TRect TiPlotAxis::ScaleLineRect() const {
  const TRect& a = scaleArea_;
  switch (side_) {
    case sideLeft: return Rect(a.Right, a.Top, a.Right + 1, a.Bottom + 1);
    case sideTop: return Rect(a.Left, a.Bottom, a.Right, a.Bottom + 1);
    case sideRight: return Rect(a.Left, a.Top, a.Left + 1, a.Bottom + 1);
    case sideBottom: break;
  }
  return Rect(a.Left, a.Top, a.Right + 1, a.Top + 1);
}

void TiPlotAxis::PrepareDraw(TCanvas* canvas) {
  TiPlotLayoutObject::PrepareDraw(canvas);
  if (!IsCartesian() || !Visible() || ZeroLength()) return;
  // The layout pass does not measure axes through the data view; the focus frame needs the size.
  RequiredSize(canvas);
  ReserveInChart(ScaleLineRect());
}

int TiPlotAxis::LabelsDistance(TCanvas* canvas) {
  canvas->Font() = LabelsFont()->Font();
  const std::int64_t gap = NearestCoordinate(canvas->TextHeight(QStringLiteral("A")) * LabelsMargin());
  if (IsCartesian()) return ClampCoordinate(gap + (static_cast<std::int64_t>(MajorLength()) + 1) / 2);
  if (ScaleLinesShow()) return ClampCoordinate(static_cast<std::int64_t>(InnerMargin()) + MajorLength() + gap);
  return ClampCoordinate(InnerMargin() + gap);
}

void TiPlotAxis::DrawLabel(TCanvas* canvas, const TiPlotTickObject& tick, int f) {
  canvas->Font() = LabelsFont()->Font();
  const int tw = TextMaxLineWidth(*canvas, tick.Text);
  const int th = canvas->TextHeight(tick.Text);
  const int p = tick.Position;
  const int hw = tw / 2, hh = th / 2;
  const bool turned = Turned(LabelsRotation());
  const TRect& r = GetLayoutRect();
  const int across = turned ? th : tw;   // on the left and right sides
  const int tall = turned ? tw : th;     // above and below
  const int halfLeftRight = turned ? hw : hh;
  const int halfTopBottom = turned ? hh : hw;
  TRect box;
  switch (side_) {
    case sideLeft: box = Rect(r.Right - across - f, p - halfLeftRight, r.Right - f, p + halfLeftRight); break;
    case sideTop: box = Rect(p - halfTopBottom, r.Bottom - f - tall, p + halfTopBottom, r.Bottom - f); break;
    case sideRight: box = Rect(r.Left + f, p - halfLeftRight, r.Left + f + across, p + halfLeftRight); break;
    case sideBottom: box = Rect(p - halfTopBottom, r.Top + f, p + halfTopBottom, r.Top + f + tall); break;
  }
  // Through the data view a label gives way to lines, marks and labels drawn before it.
  if (IsCartesian() && !TryReserveInChart(box)) return;
  canvas->Brush().Style = bsClear;
  TRect covered;
  DrawRotatedText(*canvas, tick.Text, box, covered, LabelsFont()->Color(), true, iahCenter, LabelsRotation());
}

void TiPlotAxis::DrawScaleLine(TCanvas* canvas) {
  const TRect& a = scaleArea_;
  const int i = IsCartesian() ? 0 : InnerMargin();
  // The second point is not painted; every side covers both ends of its scale.
  switch (side_) {
    case sideLeft:
      canvas->MoveTo(a.Right - i, a.Top);
      canvas->LineTo(a.Right - i, a.Bottom + 1);
      break;
    case sideTop:
      canvas->MoveTo(a.Left, a.Bottom - i);
      canvas->LineTo(a.Right + 1, a.Bottom - i);
      break;
    case sideRight:
      canvas->MoveTo(a.Left + i, a.Top);
      canvas->LineTo(a.Left + i, a.Bottom + 1);
      break;
    case sideBottom:
      canvas->MoveTo(a.Left, a.Top + i);
      canvas->LineTo(a.Right + 1, a.Top + i);
      break;
  }
}

void TiPlotAxis::DrawTickMark(TCanvas* canvas, int p, int a, int b) {
  const TRect& r = GetLayoutRect();
  TPoint from, to;
  switch (side_) {
    case sideLeft: from = Point(r.Right - a, p), to = Point(r.Right - b, p); break;
    case sideTop: from = Point(p, r.Bottom - a), to = Point(p, r.Bottom - b); break;
    case sideRight: from = Point(r.Left + a, p), to = Point(r.Left + b, p); break;
    case sideBottom: from = Point(p, r.Top + a), to = Point(p, r.Top + b); break;
  }
  canvas->MoveTo(from.X, from.Y);
  canvas->LineTo(to.X, to.Y);
  if (!IsCartesian()) return;
  // The pixels the mark covers, its end point excluded.
  auto covered = [](int first, int end, int& low, int& high) {
    low = end > first ? first : end + 1;
    high = end > first ? end : first + 1;
  };
  TRect mark;
  if (from.X == to.X) {
    mark.Left = from.X, mark.Right = from.X + 1;
    covered(from.Y, to.Y, mark.Top, mark.Bottom);
  } else {
    mark.Top = from.Y, mark.Bottom = from.Y + 1;
    covered(from.X, to.X, mark.Left, mark.Right);
  }
  ReserveInChart(mark);
}

void TiPlotAxis::DrawTitle(TCanvas* canvas) {
  if (!TitleShow() || Title().trimmed().isEmpty()) return;
  canvas->Brush().Style = bsClear;
  canvas->Font() = TitleFont()->Font();
  const int w = TextMaxLineWidth(*canvas, Title());
  const int h = canvas->TextHeight(Title());
  const int a = TitleRotated() ? w : h;   // across the axis
  const int l = TitleRotated() ? h : w;   // along it
  const TRect& s = scaleArea_;
  TRect box;
  TiRotationAngle rotation;
  if (Horizontal()) {
    rotation = TitleRotated() ? ira090 : ira000;
    if (side_ == sideTop) {
      const int y = s.Top + OuterMargin();
      box = Rect(s.Left, y, s.Right, y + a);
    } else {
      const int y = s.Bottom - OuterMargin();
      box = Rect(s.Left, y - a, s.Right, y);
    }
  } else {
    rotation = TitleRotated() ? ira000 : ira090;
    const int m = static_cast<int>((static_cast<std::int64_t>(s.Top) + s.Bottom) / 2);
    if (side_ == sideLeft) {
      const int x = s.Left + OuterMargin();
      box = Rect(x, m - l / 2, x + a, m + l / 2);
    } else {
      const int x = s.Right - OuterMargin();
      box = Rect(x - a, m - l / 2, x, m + l / 2);
    }
  }
  TRect covered;
  DrawRotatedText(*canvas, Title(), box, covered, TitleFont()->Color(), true, iahCenter, rotation);
}

void TiPlotAxis::Draw(TCanvas* canvas, TColor) {
  if (!Visible() || ZeroLength()) return;
  // 1. Ticks in view, and the labels of the major ones.
  const int distance = LabelsDistance(canvas);
  for (TiPlotTickObject& tick : ticks_) {
    tick.OnScale = ValueInView(tick.Value);
    if (!tick.OnScale) continue;
    tick.Position = ValueToPosition(tick.Value);
    if (!tick.Minor && LabelsVisible()) DrawLabel(canvas, tick, distance);
  }
  // 2. Scale line and tick marks.
  if (ScaleLinesShow()) {
    canvas->Brush().Style = bsSolid;
    canvas->Pen() = TPen{ScaleLinesColor(), psSolid, 1, pmCopy};
    if (ScaleLineShow()) DrawScaleLine(canvas);
    const std::int64_t inner = IsCartesian() ? 0 : InnerMargin();
    const int c = ClampCoordinate((static_cast<std::int64_t>(MinorLength()) + 1) / 2);
    const int halfMajor = ClampCoordinate((static_cast<std::int64_t>(MajorLength()) + 1) / 2);
    for (const TiPlotTickObject& tick : ticks_) {
      if (!tick.OnScale) continue;
      if (IsCartesian()) {
        if (tick.Minor)
          DrawTickMark(canvas, tick.Position, -c - 1, c);
        else
          DrawTickMark(canvas, tick.Position, halfMajor, -halfMajor - 1);
      } else if (tick.Minor) {
        DrawTickMark(canvas, tick.Position, ClampCoordinate(inner + MinorLength()), ClampCoordinate(inner));
      } else {
        DrawTickMark(canvas, tick.Position, ClampCoordinate(inner), ClampCoordinate(inner + MajorLength()));
      }
    }
  }
  // 3. Title beside the data view; through it, the focus frame across the line instead.
  if (!IsCartesian()) {
    DrawTitle(canvas);
  } else {
    const TRect& r = GetLayoutRect();
    const std::int64_t back = (static_cast<std::int64_t>(MajorLength()) + 1) / 2 + 5;
    if (Horizontal()) {
      focusRect_.Top = ClampCoordinate(r.Top - back);
      focusRect_.Bottom = ClampCoordinate(static_cast<std::int64_t>(focusRect_.Top) + lastRequiredSize_);
    } else {
      focusRect_.Left = ClampCoordinate(r.Left - back);
      focusRect_.Right = ClampCoordinate(static_cast<std::int64_t>(focusRect_.Left) + lastRequiredSize_);
    }
  }
  // 4. Focus frame.
  if (HasFocus()) {
    const TRect& f = focusRect_;
    DrawFocusRectangle(*canvas, Rect(f.Left, f.Top, f.Right + 1, f.Bottom + 1));
  }
}

bool TiPlotAxis::HitTest(const TiPlotMouseParams& params) {
  if (ZeroLength()) return false;
  return PtInRect(focusRect_, Point(params.X, params.Y));
}

void TiPlotAxis::DrawGridLines(TCanvas* canvas, const TRect& rect, const TiPlotGridLineSettings& minor,
                               const TiPlotGridLineSettings& major) {
  if (!GridLinesVisible()) return;
  for (const TiPlotTickObject& tick : ticks_) {
    if (!tick.OnScale) continue;
    const TiPlotGridLineSettings& g = tick.Minor ? minor : major;
    if (!g.Show) continue;
    const TPenStyle style = g.Style == ipglsDash ? psDash : g.Style == ipglsDot ? psDot : psSolid;
    canvas->Pen() = TPen{g.Color, style, ClampCoordinate(g.Width, 0), pmCopy};
    const int p = tick.Position;
    if (Horizontal()) {
      canvas->MoveTo(p, rect.Top);
      canvas->LineTo(p, rect.Bottom);
    } else {
      canvas->MoveTo(rect.Left, p);
      canvas->LineTo(rect.Right, p);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Focus and hint

void TiPlotAxis::NotifyFocus(TiPlotObject* object) {
  TiPlotLayoutObject::NotifyFocus(object);
  if (object == this) return;
  // Shift- and Ctrl-clicks on axes keep several axes focused at once.
  if (dynamic_cast<TiPlotAxis*>(object) && (ShiftState() & (ssShift | ssCtrl))) return;
  SetFocused(false);
}

void TiPlotAxis::DoMouseHover(const TiPlotMouseParams& params) {
  TiPlotLayoutObject::DoMouseHover(params);
  if (TitleShow() || !params.Hint) return;
  params.Hint->Text = Title();
  params.Hint->X = params.X;
  params.Hint->Y = params.Y - 20;
  if (auto* chart = dynamic_cast<TiPlotComponent*>(Owner()))
    chart->DispatchObjectEvent<TiPlotObjectCustomizeTextEvent>(
        this, {{ipokXAxis, &chart->OnXAxisCustomizeHint}, {ipokYAxis, &chart->OnYAxisCustomizeHint}}, params.Hint->Text);
}
