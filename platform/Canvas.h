#pragma once
// The drawing surface with the desktop platform's pixel rules, over QPainter:
// - no anti-aliasing anywhere;
// - a line excludes its end point; a one-pixel line is rasterised here, not by Qt, so that the
//   pixels and the dash patterns are the platform's;
// - Rectangle, FillRect and Ellipse exclude the right and bottom edge; with a clear pen Rectangle
//   and Ellipse shrink by one more pixel on those sides;
// - pens wider than one pixel draw solid whatever their style; lines get round ends and joins,
//   rectangles square corners; psInsideFrame keeps a wide pen inside the bounding rectangle of
//   Rectangle and Ellipse;
// - the gaps of dashed lines, the gaps of hatch brushes and the cell behind text are filled with
//   the background colour when the background mode is opaque. Choosing a brush sets them as the
//   platform's canvas does: a solid brush makes the background opaque in the brush colour, any
//   other brush makes it transparent. SetBkColor and SetBkMode change them until the next brush
//   change;
// - text is placed by the top-left corner of its cell; a font with an Orientation (escapement)
//   turns the text about that corner, counter-clockwise;
// - DrawText lays text into a rectangle with the platform's DT_ flags.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/CanvasLines.h"
#include "platform/Graphics.h"

class QImage;
class QPainter;
class QPaintDevice;
class QFont;
class QFontMetrics;
struct TFontMeasures;
class QRectF;
class TBitmap;

enum TPenStyle : int { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen, as the platform numbers them. They work on bitmaps; other
// surfaces draw pmNop as nothing and every other mode as pmCopy.
enum TPenMode : int {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : int { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TPen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;  // 0 and 1 both draw one pixel
  TPenMode Mode = pmCopy;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// Background modes, with the platform's numbers.
enum TBkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// DrawText flags, with the platform's values. DT_VCENTER and DT_BOTTOM act only together with
// DT_SINGLELINE; without DT_NOPREFIX an ampersand underlines the next character ("&&" shows one).
inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_WORDBREAK = 0x10;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_EXPANDTABS = 0x40;
inline constexpr unsigned DT_NOCLIP = 0x100;
inline constexpr unsigned DT_CALCRECT = 0x400;
inline constexpr unsigned DT_NOPREFIX = 0x800;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
inline constexpr unsigned DT_MODIFYSTRING = 0x10000;  // accepted; the text passed in is never changed
inline constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;

// DrawEdge kinds and sides, with the platform's values.
inline constexpr unsigned BDR_RAISEDOUTER = 0x1;
inline constexpr unsigned BDR_SUNKENOUTER = 0x2;
inline constexpr unsigned BDR_RAISEDINNER = 0x4;
inline constexpr unsigned BDR_SUNKENINNER = 0x8;
inline constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr unsigned BF_LEFT = 0x1;
inline constexpr unsigned BF_TOP = 0x2;
inline constexpr unsigned BF_RIGHT = 0x4;
inline constexpr unsigned BF_BOTTOM = 0x8;
inline constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr unsigned BF_MIDDLE = 0x800;   // fill the inside with clBtnFace
inline constexpr unsigned BF_ADJUST = 0x2000;  // shrink the rectangle by the edges drawn

class TCanvas {
 public:
  // Draws on a device (a QImage, a QPicture, a printer); the painter is begun when first needed.
  explicit TCanvas(QPaintDevice* device);
  // Draws with a painter that someone else has begun and will end.
  explicit TCanvas(QPainter* painter);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { penPos_ = p; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // Draws from the pen position to (x, y), the end point excluded, and moves the pen there.
  void LineTo(int x, int y);
  // Segments through the points; the last point is excluded. The pen position is not used.
  void Polyline(const TPoint* points, int count);
  void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), static_cast<int>(points.size())); }
  // A closed figure: filled with the brush (alternate rule), outlined with the pen.
  // Filled by the alternate (odd-even) rule, the platform's default, or by the winding rule, in
  // which the overlapping parts of a self-crossing outline (a star's centre) are filled too.
  void Polygon(const TPoint* points, int count, bool winding = false);
  void Polygon(const std::vector<TPoint>& points, bool winding = false) {
    Polygon(points.data(), static_cast<int>(points.size()), winding);
  }
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Fills with the brush only (nothing with a clear brush).
  void FillRect(const TRect& r);
  // A one-pixel frame in the brush.
  void FrameRect(const TRect& r);

  TColor Pixel(int x, int y) const;  // clBlack where there is no pixel to read
  void SetPixel(int x, int y, TColor color);

  void TextOut(int x, int y, const QString& text);
  // Text at (x, y) clipped to r; an opaque background fills all of r.
  void TextRect(const TRect& r, int x, int y, const QString& text);
  TSize TextExtent(const QString& text);
  int TextWidth(const QString& text) { return TextExtent(text).cx; }
  int TextHeight(const QString& text) { return TextExtent(text).cy; }
  // The platform's DrawText: returns the height of the text, or, with DT_VCENTER or DT_BOTTOM,
  // the distance from rect.Top to the bottom of the text. With DT_CALCRECT nothing is drawn and
  // rect is fitted to the text (its right edge to the widest line, its bottom to the last line).
  int DrawText(const QString& text, TRect& rect, unsigned flags);

  TColor BkColor();
  void SetBkColor(TColor color);
  TBkMode BkMode();
  void SetBkMode(TBkMode mode);

  // The platform's three-dimensional edges (kinds BDR_..., EDGE_..., sides BF_...).
  void DrawEdge(TRect& rect, unsigned edge, unsigned flags);
  // The dotted focus rectangle: every second pixel of the frame inverted, so drawing it twice
  // restores the picture.
  void DrawFocusRect(const TRect& r);

  // Narrows the clip region to r (right and bottom excluded); RemoveClip lifts every clip.
  void IntersectClipRect(const TRect& r);
  void RemoveClip();
  bool HasClip() const { return clip_.has_value(); }
  TRect ClipRect() const;  // the clip, or the whole surface

  void Draw(int x, int y, const TBitmap& bitmap);
  void Draw(int x, int y, const QImage& image);
  void StretchDraw(const TRect& r, const TBitmap& bitmap);

  // Ends the painter this canvas began; the next drawing begins a new one. Pen, brush, font,
  // clip and background settings are kept.
  void Release();
  // The painter, begun if needed (for the window classes that mix Qt drawing in).
  QPainter* Painter();
  int DeviceWidth() const;
  int DeviceHeight() const;

  // One-pixel lines on bitmaps are written straight into the rows. On, they go through the
  // painter one run of pixels at a time instead, as they did before the row writer: the
  // reference its pixels are checked and measured against. Recordings and printers are not
  // affected.
  void UseReferenceLines(bool on) {
    referenceLines_ = on;
    rowsReady_ = false;
  }

 private:
  friend class TBitmap;
  explicit TCanvas(TBitmap* bitmap);

  QPainter* Ready();
  void RealizeBrush();
  QImage* RasterImage() const;
  bool ApplyPenMode(QPainter* p);
  void RestoreMode(QPainter* p);
  enum class TThinLines { Rows, Recorded, Painted };
  TThinLines PrepareThinLines(QPainter* p, TScanlineLines& rows);
  TThinLines ThinLinesFor(QPainter* p);
  void StrokeThin(const TPoint* points, int count, bool closed);
  void StrokeSegment(int x1, int y1, int x2, int y2);
  // Wide solid lines in copy mode written straight into a bitmap's pixels; false when the
  // surface needs the painter.
  bool StrokeWideRows(const TPoint* points, int count);
  void PaintSegment(QPainter* p, int x1, int y1, int x2, int y2);
  void RecordThin(QPainter* p, const TPoint* points, int count, bool closed);
  void SyncDashPen();
  void FillRun(QPainter* p, int x, int y, int w, int h, TColor color);
  void FillWithBrush(QPainter* p, const class QPainterPath& path);
  void FillRectWithBrush(QPainter* p, const TRect& r);
  void DrawTextLine(QPainter* p, int x, int y, const QString& text, int underlineIndex);
  const QFont& CurrentQFont();
  const QFontMetrics& Metrics();
  TFontMeasures& Measures();
  int Advance(const QString& text);  // horizontalAdvance of the current font, remembered
  int WidePenWidth() const;
  QRectF WideCentreLine(const TRect& r) const;
  void StrokeWideOutline(QPainter* p, const QRectF& centre, bool ellipse);

  QPaintDevice* device_ = nullptr;
  TBitmap* bitmap_ = nullptr;
  QPainter* external_ = nullptr;
  std::unique_ptr<QPainter> own_;

  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  std::optional<TRect> clip_;

  bool painterLent_ = false;  // Painter() handed out: its clip and transform may have changed
  bool referenceLines_ = false;

  // The row writer as last prepared for this canvas's own painter, kept while the painter, the
  // clip, the pen and the background stay as they were, so that LineTo need not ask Qt again.
  TScanlineLines rows_;
  bool rowsReady_ = false;
  TPen rowsPen_;
  TColor rowsBkColor_ = clWhite;
  TBkMode rowsBkMode_ = OPAQUE;

  std::optional<TBrush> realizedBrush_;
  TColor bkColor_ = clWhite;
  TBkMode bkMode_ = OPAQUE;

  // Position inside the dash pattern, carried from one segment to the next while the pen stays.
  TPen dashPen_;
  int dashPhase_ = 0;

  // The current font's Qt font, metrics and measured widths, shared with every canvas of this
  // thread that uses the same face, height and style.
  std::shared_ptr<TFontMeasures> fontMeasures_;
};

// The dash pattern of a pen style in pixels (on, off, on, off ...); empty for a solid line.
const std::vector<int>& PenDashPattern(TPenStyle style);
