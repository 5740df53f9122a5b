#pragma once
// Drawing and text functions shared by every control and chart object of the framework.
#include <QString>
#include <cstdint>
#include <initializer_list>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"
#include "platform/Input.h"  // ShiftKeyDown, CtrlKeyDown

class QObject;
class QWidget;

enum TiBevelStyle : int { ibsNone, ibsRaised, ibsLowered };
enum TiFillDirection : int {
  ifdTopBottom, ifdBottomTop, ifdLeftRight, ifdRightLeft, ifdTopLeftBottomRight, ifdBottomRightTopLeft,
  ifdBottomLeftTopRight, ifdTopRightBottomLeft, ifdRectangleOut, ifdRectangleIn, ifdCircleOut, ifdCircleIn
};
enum TiAlignmentHorizontal : int { iahCenter, iahLeft, iahRight };
enum TiRotationAngle : int { ira000, ira090, ira180, ira270 };

enum class TTextOption : int {
  Left, Center, Right, Top, VCenter, Bottom, WordBreak, SingleLine, ExpandTabs, NoClip, ShowPrefix,
  CalcRect, EndEllipsis, PathEllipsis, WordEllipsis, ModifyString
};

// A set of TTextOption values.
class TTextOptions {
 public:
  constexpr TTextOptions() = default;
  constexpr TTextOptions(std::initializer_list<TTextOption> options) {
    for (TTextOption o : options) bits_ |= Bit(o);
  }
  constexpr bool Contains(TTextOption o) const { return bits_ & Bit(o); }
  constexpr TTextOptions& Include(TTextOption o) {
    bits_ |= Bit(o);
    return *this;
  }
  constexpr TTextOptions& Exclude(TTextOption o) {
    bits_ &= ~Bit(o);
    return *this;
  }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const TTextOptions&) const = default;

 private:
  static constexpr std::uint32_t Bit(TTextOption o) { return 1u << static_cast<int>(o); }
  std::uint32_t bits_ = 0;
};

// The platform's DrawText flags for a set of options.
unsigned TextOptionsToFlags(TTextOptions options);

// Draws text into rect with the canvas font and returns the height of the drawn text; with
// CalcRect rect is fitted to the text and nothing is drawn. Disabled text whose colour is not
// black is drawn embossed in shades of clBtnFace.
int DrawTextOptions(TCanvas& canvas, const QString& text, TRect& rect, TColor color, bool enabled, TTextOptions options);
// Draws text centred on rect, turned by a multiple of 90 degrees; outRect receives the
// rectangle the text covers.
void DrawRotatedText(TCanvas& canvas, const QString& text, const TRect& rect, TRect& outRect, TColor color, bool enabled,
                     TiAlignmentHorizontal alignment, TiRotationAngle rotation);
// Width of the widest line (lines end at CR, LF or CR LF); 0 for an empty text.
int TextMaxLineWidth(TCanvas& canvas, const QString& text);
int TextHeightMeasured(TCanvas& canvas, const QString& text);
int TextHeightWrapped(TCanvas& canvas, const QString& text, int width);

// Kind 0: sunken edge; 1: raised edge; 2: a closed clBtnShadow outline with the current brush.
void DrawBevel(TCanvas& canvas, const TRect& rect, int kind);
void DrawFocusRectangle(TCanvas& canvas, const TRect& rect);

// The colour resolved to RGB with step added to (lighter) or taken from each component, each
// kept within 0..255.
TColor AdjustColor(TColor color, int step, bool lighter);
// The nearest integer, an exact half going to the even neighbour (2.5 gives 2, 3.5 gives 4): what
// the chart and the spectrometer mean by "nearest" everywhere. 64 bits, for picture arithmetic
// far outside the picture.
std::int64_t RoundEven(double value);
void FillGradient(TCanvas& canvas, const TRect& rect, TiFillDirection direction, TColor startColor, TColor stopColor);

TRect OrderedRect(int x1, int y1, int x2, int y2);
// With swap the x and y roles are exchanged.
TRect OrientedRect(bool swap, int left, int top, int right, int bottom);
TRect OrientedRect(bool swap, const TRect& rect);
TPoint OrientedPoint(bool swap, int a, int b);

// The form that holds the component: the first owner that is a window, else the last widget
// met on the way, else nullptr.
QWidget* OwnerForm(const QObject* component);
