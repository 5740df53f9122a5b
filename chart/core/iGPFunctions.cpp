#include "chart/core/iGPFunctions.h"

#include <QObject>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cmath>

unsigned TextOptionsToFlags(TTextOptions options) {
  unsigned flags = 0;
  if (options.Contains(TTextOption::Center)) flags |= DT_CENTER;
  if (options.Contains(TTextOption::Right)) flags |= DT_RIGHT;
  if (options.Contains(TTextOption::VCenter)) flags |= DT_VCENTER;
  if (options.Contains(TTextOption::Bottom)) flags |= DT_BOTTOM;
  if (options.Contains(TTextOption::WordBreak)) flags |= DT_WORDBREAK;
  if (options.Contains(TTextOption::SingleLine)) flags |= DT_SINGLELINE;
  if (options.Contains(TTextOption::ExpandTabs)) flags |= DT_EXPANDTABS;
  if (options.Contains(TTextOption::NoClip)) flags |= DT_NOCLIP;
  if (!options.Contains(TTextOption::ShowPrefix)) flags |= DT_NOPREFIX;
  if (options.Contains(TTextOption::CalcRect)) flags |= DT_CALCRECT;
  if (options.Contains(TTextOption::EndEllipsis)) flags |= DT_END_ELLIPSIS;
  if (options.Contains(TTextOption::PathEllipsis)) flags |= DT_PATH_ELLIPSIS;
  if (options.Contains(TTextOption::WordEllipsis)) flags |= DT_WORD_ELLIPSIS;
  if (options.Contains(TTextOption::ModifyString)) flags |= DT_MODIFYSTRING;
  return flags;
}

int DrawTextOptions(TCanvas& canvas, const QString& text, TRect& rect, TColor color, bool enabled, TTextOptions options) {
  const unsigned flags = TextOptionsToFlags(options);
  if (!enabled && !options.Contains(TTextOption::CalcRect) && ColorToRGB(color) != clBlack) {
    const TColor saved = canvas.Font().Color;
    TRect shifted = OffsetRect(rect, 1, 1);
    canvas.Font().Color = AdjustColor(clBtnFace, 64, true);
    canvas.DrawText(text, shifted, flags);
    canvas.Font().Color = AdjustColor(clBtnFace, 32, false);
    const int height = canvas.DrawText(text, rect, flags);
    canvas.Font().Color = saved;
    return height;
  }
  return canvas.DrawText(text, rect, flags);
}

void DrawRotatedText(TCanvas& canvas, const QString& text, const TRect& rect, TRect& outRect, TColor color, bool enabled,
                     TiAlignmentHorizontal alignment, TiRotationAngle rotation) {
  const int cx = (rect.Left + rect.Right) / 2;
  const int cy = (rect.Top + rect.Bottom) / 2;
  const int tw = canvas.TextWidth(text);
  const int th = canvas.TextHeight(text);
  const TRect upright = Rect(cx - tw / 2, cy - th / 2, cx + tw / 2, cy + th / 2);
  if (rotation == ira000) {
    TTextOptions options{TTextOption::VCenter, TTextOption::NoClip};
    options.Include(alignment == iahLeft ? TTextOption::Left : alignment == iahRight ? TTextOption::Right : TTextOption::Center);
    if (!text.contains(QLatin1Char('\r'))) options.Include(TTextOption::SingleLine);
    TRect r = rect;
    DrawTextOptions(canvas, text, r, color, enabled, options);
    outRect = upright;
    return;
  }
  TPoint start;
  int escapement = 0;
  switch (rotation) {
    case ira090:
      escapement = 900;
      start = Point(cx - th / 2, cy + tw / 2);
      outRect = Rect(cx - th / 2, cy - tw / 2, cx + th / 2, cy + tw / 2);
      break;
    case ira180:
      escapement = 1800;
      start = Point(cx + tw / 2, cy + th / 2);
      outRect = upright;
      break;
    default:
      escapement = 2700;
      start = Point(cx + th - th / 2, cy - tw / 2);
      outRect = Rect(cx - th / 2, cy - tw / 2, cx + th / 2, cy + tw / 2);
      break;
  }
  // The turned font is used for this text only.
  const int savedEscapement = canvas.Font().Orientation;
  canvas.Font().Orientation = escapement;
  TRect r = Rect(start.X, start.Y, start.X, start.Y);
  try {
    DrawTextOptions(canvas, text, r, color, enabled, {TTextOption::SingleLine, TTextOption::NoClip, TTextOption::Left, TTextOption::Top});
  } catch (...) {
    canvas.Font().Orientation = savedEscapement;
    throw;
  }
  canvas.Font().Orientation = savedEscapement;
}

int TextMaxLineWidth(TCanvas& canvas, const QString& text) {
  if (text.isEmpty()) return 0;
  QString s = text;
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  int widest = 0;
  for (const QString& line : s.split(QLatin1Char('\n'))) widest = std::max(widest, canvas.TextWidth(line));
  return widest;
}

int TextHeightMeasured(TCanvas& canvas, const QString& text) {
  TRect r;
  return DrawTextOptions(canvas, text, r, canvas.Font().Color, true, {TTextOption::NoClip, TTextOption::CalcRect});
}

int TextHeightWrapped(TCanvas& canvas, const QString& text, int width) {
  // Drawn above the surface, so nothing shows; only the height counts.
  TRect r = Rect(0, -800, width, -100);
  return DrawTextOptions(canvas, text, r, canvas.Font().Color, true, {TTextOption::Left, TTextOption::Top, TTextOption::WordBreak});
}

void DrawBevel(TCanvas& canvas, const TRect& rect, int kind) {
  TRect r = rect;
  switch (kind) {
    case 0: canvas.DrawEdge(r, EDGE_SUNKEN, BF_RECT); break;
    case 1: canvas.DrawEdge(r, EDGE_RAISED, BF_RECT); break;
    case 2: {
      const TPen saved = canvas.Pen();
      canvas.Pen() = TPen{clBtnShadow, psSolid, 1, pmCopy};
      const TPoint points[] = {{rect.Left, rect.Top}, {rect.Right - 1, rect.Top}, {rect.Right - 1, rect.Bottom - 1}, {rect.Left, rect.Bottom - 1}};
      canvas.Polygon(points, 4);
      canvas.Pen() = saved;
      break;
    }
    default: break;
  }
}

void DrawFocusRectangle(TCanvas& canvas, const TRect& rect) { canvas.DrawFocusRect(rect); }

TColor AdjustColor(TColor color, int step, bool lighter) {
  const TColor c = ColorToRGB(color);
  const int d = lighter ? step : -step;
  auto clamp = [](int v) { return std::clamp(v, 0, 255); };
  return RGB(clamp(GetRValue(c) + d), clamp(GetGValue(c) + d), clamp(GetBValue(c) + d));
}

std::int64_t RoundEven(double value) {
  // Below 2^51, adding and taking away 1.5 * 2^52 leaves the nearest integer (ties to even, the
  // default rounding) without nearbyint's library call: the extraction rounds twice per pixel.
  constexpr double kShift = 6755399441055744.0;
  if (std::fabs(value) < 2251799813685248.0) return static_cast<std::int64_t>((value + kShift) - kShift);
  return static_cast<std::int64_t>(std::nearbyint(value));
}

namespace {

TColor Blend(TColor a, TColor b, int k, int f) {
  const double wa = static_cast<double>(f - k) / f, wb = static_cast<double>(k) / f;
  return RGB(RoundEven(wa * GetRValue(a) + wb * GetRValue(b)), RoundEven(wa * GetGValue(a) + wb * GetGValue(b)),
             RoundEven(wa * GetBValue(a) + wb * GetBValue(b)));
}

}  // namespace

void FillGradient(TCanvas& canvas, const TRect& rect, TiFillDirection direction, TColor startColor, TColor stopColor) {
  // System colours are resolved, so that clBtnFace means the button face and not its table index.
  const TColor start = ColorToRGB(startColor);
  const TColor stop = ColorToRGB(stopColor);
  const int w = rect.Right - rect.Left;
  const int h = rect.Bottom - rect.Top;
  const int m = std::max(rect.Right, rect.Bottom);
  int f = 0;
  int penWidth = 1;
  switch (direction) {
    case ifdTopBottom:
    case ifdBottomTop: f = h - 1; break;
    case ifdLeftRight:
    case ifdRightLeft: f = w - 1; break;
    case ifdTopLeftBottomRight:
    case ifdBottomRightTopLeft:
    case ifdBottomLeftTopRight:
    case ifdTopRightBottomLeft: f = 2 * m - 2; break;
    case ifdRectangleOut:
    case ifdRectangleIn:
      f = (m - 1) / 3;
      penWidth = 2;
      break;
    case ifdCircleOut:
    case ifdCircleIn:
      f = (m - 1) / 8;
      penWidth = 16;
      break;
  }
  if (f < 0) return;
  const TPen savedPen = canvas.Pen();
  const TBrush savedBrush = canvas.Brush();
  if (f == 0) {
    // Too small for a gradient: the start colour alone.
    canvas.Brush() = TBrush{start, bsSolid};
    canvas.FillRect(rect);
    canvas.Brush() = savedBrush;
    return;
  }
  const bool reversed = direction == ifdBottomTop || direction == ifdRightLeft || direction == ifdBottomRightTopLeft ||
                        direction == ifdTopRightBottomLeft || direction == ifdRectangleIn || direction == ifdCircleIn;
  const TColor a = reversed ? stop : start;
  const TColor b = reversed ? start : stop;
  canvas.Brush().Style = bsClear;
  canvas.Pen() = TPen{clBlack, psSolid, penWidth, pmCopy};
  const double right1 = rect.Right - 1, bottom1 = rect.Bottom - 1;
  const double cx = right1 / 2, cy = bottom1 / 2;
  for (int k = 0; k <= f; ++k) {
    canvas.Pen().Color = Blend(a, b, k, f);
    const double t = static_cast<double>(k) / f;
    switch (direction) {
      case ifdTopBottom:
      case ifdBottomTop:
        canvas.MoveTo(rect.Left, rect.Top + k);
        canvas.LineTo(rect.Right, rect.Top + k);
        break;
      case ifdLeftRight:
      case ifdRightLeft:
        canvas.MoveTo(rect.Left + k, rect.Top);
        canvas.LineTo(rect.Left + k, rect.Bottom);
        break;
      case ifdTopLeftBottomRight:
      case ifdBottomRightTopLeft:
        canvas.MoveTo(RoundEven(2 * t * right1) - 1, 0);
        canvas.LineTo(-1, RoundEven(2 * t * bottom1));
        break;
      case ifdBottomLeftTopRight:
      case ifdTopRightBottomLeft:
        canvas.MoveTo(0, static_cast<int>(bottom1) - RoundEven(2 * t * bottom1));
        canvas.LineTo(RoundEven(2 * t * right1), static_cast<int>(bottom1));
        break;
      case ifdRectangleOut:
      case ifdRectangleIn: {
        const double hw = t * right1 / 2, hh = t * bottom1 / 2;
        canvas.Rectangle(RoundEven(cx - hw), RoundEven(cy - hh), RoundEven(cx + hw), RoundEven(cy + hh));
        break;
      }
      case ifdCircleOut:
      case ifdCircleIn: {
        const double ax = 1.414 * t * right1 / 2, ay = 1.414 * t * bottom1 / 2;
        canvas.Ellipse(RoundEven(cx - ax), RoundEven(cy - ay), RoundEven(cx + ax), RoundEven(cy + ay));
        break;
      }
    }
  }
  if (direction == ifdRectangleOut) canvas.SetPixel(rect.Left + w / 2 - 1, rect.Top + h / 2 - 1, start);
  if (direction == ifdRectangleIn) canvas.SetPixel(rect.Left + w / 2 - 1, rect.Top + h / 2 - 1, stop);
  canvas.Pen() = savedPen;
  canvas.Brush() = savedBrush;
}

TRect OrderedRect(int x1, int y1, int x2, int y2) {
  return Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

TRect OrientedRect(bool swap, int left, int top, int right, int bottom) {
  return swap ? Rect(top, left, bottom, right) : Rect(left, top, right, bottom);
}

TRect OrientedRect(bool swap, const TRect& rect) { return OrientedRect(swap, rect.Left, rect.Top, rect.Right, rect.Bottom); }

TPoint OrientedPoint(bool swap, int a, int b) { return swap ? Point(b, a) : Point(a, b); }

QWidget* OwnerForm(const QObject* component) {
  QWidget* lastWidget = nullptr;
  for (QObject* owner = component ? component->parent() : nullptr; owner; owner = owner->parent()) {
    if (!owner->isWidgetType()) continue;
    auto* widget = static_cast<QWidget*>(owner);
    if (widget->isWindow()) return widget;
    lastWidget = widget;
  }
  return lastWidget;
}
