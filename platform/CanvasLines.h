#pragma once
// One-pixel lines written straight into the rows of an image.
//
// Step i of a segment (0 <= i < n, n the larger of |dx| and |dy|) lies i pixels along the major
// axis from the start point and, along the other axis, at the nearest whole number of
// i * minor / n, an exact half rounding towards the start point. The end point (step n) is not
// drawn. The same rule serves the walk through a painter, so both show the same pixels.
#include <QImage>
#include <QRgb>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

enum TPenMode : int;

// The steps of one segment and the part of them whose pixels lie inside a box.
struct TLineSteps {
  long long n = 0;   // steps of the whole segment
  long long lo = 0;  // first step inside the box
  long long hi = 0;  // one past the last step inside the box (lo == hi: nothing shows)
  bool xMajor = true;
  int sx = 1, sy = 1;
  long long minor = 0;  // |dy| for an x-major segment, |dx| otherwise
};

// Cuts the segment from (x1, y1) to (x2, y2) to the box (right and bottom excluded). Exact for
// every int end point: the steps inside a box form one range because both coordinates move one
// way along the segment.
TLineSteps VisibleSteps(int x1, int y1, int x2, int y2, const TRect& box);

// The pixel of step i (0 <= i <= n).
TPoint StepPixel(int x1, int y1, const TLineSteps& s, long long i);

// Writes one-pixel segments into an image's rows: pen pixels in the pen colour, gaps of a dash
// pattern in the gap colour when gaps are opaque, both through the pen's raster operation.
class TScanlineLines {
 public:
  // False when the image's pixel format is not one the writer knows; the caller then draws
  // through a painter. The image must stay alive and unshared while segments are drawn.
  bool Begin(QImage& image, const TRect& clip, QRgb pen, QRgb gap, bool opaqueGaps, TPenMode mode);
  // One segment, clipped to the clip of Begin. phase is the position in the dash pattern (on,
  // off, on, ... pixel counts; empty for a solid line) at the start of the segment and comes
  // back advanced by every step of the segment, shown or not.
  void Segment(int x1, int y1, int x2, int y2, const std::vector<int>& pattern, int& phase);

  enum class TLayout { Argb32, Bgr24, Rgb24, Rgb565, Rgb555 };

 private:
  uchar* bits_ = nullptr;
  qsizetype bytesPerLine_ = 0;
  TLayout layout_ = TLayout::Argb32;
  TRect clip_;
  QRgb pen_ = 0, gap_ = 0;
  bool opaqueGaps_ = false;
  int mode_ = 0;
};

// Whether a dash pattern (on, off, on, ... pixel counts) is on at a position within it; true for
// a solid line (empty pattern).
bool DashOnAt(const std::vector<int>& pattern, int position);

// The colour a raster operation leaves in a pixel (the platform's pen modes; modes that take
// no part in drawing copy the pen).
QRgb ApplyRasterOp(int mode, QRgb pen, QRgb pixel);
