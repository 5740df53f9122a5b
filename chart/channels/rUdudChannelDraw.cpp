// The channel's drawing: trace, markers and their clipping.
#include <QImage>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define LUMIO_TRACE_AVX2 1
#endif

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/iTracePolyline.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataView.h"
#include "platform/Canvas.h"
#include "platform/VectorState.h"

// How one marker is drawn.
struct TiPlotChannelCustom::TiMarkerLook {
  TiPlotMarkerStyle Style = ipmsCircle;
  int Size = 0;   // half the width
  TPen Pen;
  TBrush Brush;
  char Character = 0;
  bool operator==(const TiMarkerLook&) const = default;
};

// A width of 1 is the platform's one-pixel cosmetic pen (0).
TPen TracePen(TColor color, TiPlotLineStyle style, int width) {
  TPen pen;
  pen.Color = color;
  pen.Style = TPenStyle(style);
  pen.Width = width == 1 ? 0 : ClampCoordinate(width, 0);
  pen.Mode = pmCopy;
  return pen;
}

namespace {

// Half-sizes and pen widths from any source (a stored file may hold anything).
int HalfSize(int size) { return ClampCoordinate(size, 0); }

// The line ends of a segment, ordered by X: L is the left end.
struct TEnds {
  double lx, ly, rx, ry;
};

// The Y of the line through L and R at x. Ends above each other have no line through them: the
// left end's Y stands for it.
double InterpolateY(const TEnds& e, double x) {
  if (e.rx == e.lx) return e.ly;
  const double slope = (e.ry - e.ly) / (e.rx - e.lx);
  return e.ly + slope * (x - e.lx);
}

// The X of the line at y; a line without a usable slope (vertical, or too steep to compute)
// keeps the end's own X.
double InterpolateX(const TEnds& e, double y, double endX) {
  const double slope = (e.ry - e.ly) / (e.rx - e.lx);
  if (slope == 0 || !std::isfinite(slope)) return endX;
  return (y - e.ly) / slope + e.lx;
}

bool Within(double v, double lo, double hi) { return v >= lo && v <= hi; }

// One end cut to the Y range along the line.
void ClipEndToY(const TEnds& line, double& x, double& y, double yMin, double yMax) {
  if (y > yMax) {
    x = InterpolateX(line, yMax, x);
    y = yMax;
  } else if (y < yMin) {
    x = InterpolateX(line, yMin, x);
    y = yMin;
  }
}

// The settings one clipped segment needs.
struct TSegmentClip {
  const TiPlotAxis* X = nullptr;
  const TiPlotAxis* Y = nullptr;
  const TiPlotDataView* View = nullptr;   // for percentages of the view's height
  bool ClipToAxes = false;
  bool Reversed = false;
  bool UseDataViewY = false;
  double XMin = 0, XMax = 0, YMin = 0, YMax = 0;

  TSegmentClip(const TiPlotAxis* x, const TiPlotAxis* y, const TiPlotDataView* view, bool clipToAxes, bool reversed,
               bool useDataViewY)
      : X(x), Y(y), View(view), ClipToAxes(clipToAxes), Reversed(reversed), UseDataViewY(useDataViewY) {
    XMin = x->Min();
    XMax = x->Max();
    if (y) {
      YMin = y->Min();
      YMax = y->Max();
    }
  }

  int YPixel(double y) const {
    if (!UseDataViewY) return Y->ValueToPosition(y);
    if (!View) return 0;
    return Reversed ? View->PercentToPixelX(y) : View->PercentToPixelY(y);
  }

  // The pixel ends of the part of the segment to draw; false when nothing is drawn. Ends that
  // are not finite are no position: such a segment is not drawn.
  bool Pixels(double x1, double y1, double x2, double y2, TPoint& from, TPoint& to) const {
    TEnds e = x1 > x2 ? TEnds{x2, y2, x1, y1} : TEnds{x1, y1, x2, y2};
    // The cheap rejections first: wholly beside the X range, or (clipped to the axes) wholly
    // above or below the Y range. NaN fails every comparison and is rejected here.
    const bool xVisible = (e.lx < XMin && e.rx > XMax) || Within(e.lx, XMin, XMax) || Within(e.rx, XMin, XMax);
    if (!xVisible) return false;
    const bool clipY = ClipToAxes && !UseDataViewY;
    if (clipY) {
      const bool yVisible = (e.ly < YMin && e.ry > YMax) || (e.ly > YMax && e.ry < YMin) || Within(e.ly, YMin, YMax) ||
                            Within(e.ry, YMin, YMax);
      if (!yVisible) return false;
    }
    if (!std::isfinite(e.lx) || !std::isfinite(e.ly) || !std::isfinite(e.rx) || !std::isfinite(e.ry)) return false;
    // Cut to the X range, whatever ClipToAxes says.
    const TEnds line = e;
    if (e.lx < XMin) {
      e.ly = InterpolateY(line, XMin);
      e.lx = XMin;
    }
    if (e.rx > XMax) {
      e.ry = InterpolateY(line, XMax);
      e.rx = XMax;
    }
    if (clipY) {
      const TEnds cut = e;
      ClipEndToY(cut, e.lx, e.ly, YMin, YMax);
      ClipEndToY(cut, e.rx, e.ry, YMin, YMax);
      const bool startIn = X->ValueInView(e.lx) && Y->ValueInView(e.ly);
      const bool endIn = X->ValueInView(e.rx) && Y->ValueInView(e.ry);
      if (!startIn || !endIn) return false;
    } else if (ClipToAxes && (!X->ValueInView(e.lx) || !X->ValueInView(e.rx))) {
      return false;
    }
    if (!std::isfinite(e.ly) || !std::isfinite(e.ry) || !std::isfinite(e.lx) || !std::isfinite(e.rx)) return false;
    from = Pixel(e.lx, e.ly);
    to = Pixel(e.rx, e.ry);
    return true;
  }

  TPoint Pixel(double x, double y) const {
    const int px = X->ValueToPosition(x), py = YPixel(y);
    return Reversed ? TPoint{py, px} : TPoint{px, py};
  }

  // A finite point that no clipping moves: inside the X range, and the Y range is not clipped.
  bool Unclipped(double x) const { return x >= XMin && x <= XMax && !(ClipToAxes && !UseDataViewY); }
};

// Solid lines in copy mode are reduced to a column's first, extreme and last points. For one-pixel
// lines that covers exactly the pixels of every segment; a wider pen covers the same band of the
// column and may differ only in how the segments that meet inside the column are joined. Dashes
// follow the length of the path, and other pen modes combine overlapping segments, so those are
// drawn segment by segment.
bool ReducesColumns(const TPen& pen) { return pen.Style == psSolid && pen.Mode == pmCopy; }

// Keys that order doubles as numbers (-0 and +0 alike), for searching among them.
std::int64_t OrderKey(double d) {
  std::int64_t i;
  std::memcpy(&i, &d, sizeof i);
  return i < 0 ? -(i & std::numeric_limits<std::int64_t>::max()) : i;
}
double FromOrderKey(std::int64_t key) {
  const std::int64_t i = key < 0 ? ((-key) | std::numeric_limits<std::int64_t>::min()) : key;
  double d;
  std::memcpy(&d, &i, sizeof d);
  return d;
}

// The last value from v on, upward (toward = +max) or downward (toward = -max), that the axis
// still maps to the pixel of v. The mapping is monotonic, so the values of one pixel form an
// interval; its end is searched among the ordered doubles, first by steps that double from a
// guess halfway to the next pixel's value, then by halving the gap left.
double EndOfPixel(const TiPlotAxis& axis, double v, double toward) {
  const int pixel = axis.ValueToPosition(v);
  if (axis.ValueToPosition(toward) == pixel) return toward;
  std::int64_t in = OrderKey(v), out = OrderKey(toward);
  const bool up = out > in;
  // Keys are moved by unsigned steps that never pass the other end.
  auto gap = [&] { return up ? std::uint64_t(out) - std::uint64_t(in) : std::uint64_t(in) - std::uint64_t(out); };
  auto moved = [&](std::int64_t key, std::uint64_t step, bool forward) {
    return std::int64_t(forward == up ? std::uint64_t(key) + step : std::uint64_t(key) - step);
  };
  auto inPixel = [&](std::int64_t key) { return axis.ValueToPosition(FromOrderKey(key)) == pixel; };
  const double next = axis.PositionToValue(pixel + 1), previous = axis.PositionToValue(pixel - 1);
  const double neighbour = (up ? next > v : next < v) ? next : previous;
  const double guess = (axis.PositionToValue(pixel) + neighbour) / 2;
  if (std::isfinite(guess) && (up ? guess > v && guess < toward : guess < v && guess > toward)) {
    const std::int64_t g = OrderKey(guess);
    if (inPixel(g)) {
      in = g;
      for (std::uint64_t step = 1; step < gap(); step *= 2) {
        const std::int64_t k = moved(in, step, true);
        if (!inPixel(k)) {
          out = k;
          break;
        }
        in = k;
      }
    } else {
      out = g;
      for (std::uint64_t step = 1; step < gap(); step *= 2) {
        const std::int64_t k = moved(out, step, false);
        if (inPixel(k)) {
          in = k;
          break;
        }
        out = k;
      }
    }
  }
  for (;;) {
    const std::uint64_t left = gap();
    if (left <= 1) break;
    const std::int64_t mid = moved(in, left / 2, true);
    if (inPixel(mid)) in = mid;
    else out = mid;
  }
  return FromOrderKey(in);
}

constexpr double kTop = std::numeric_limits<double>::max();

// A value from v on, upward, that the axis still maps to the pixel of v, found with a few
// mappings: just short of halfway to the next pixel's value, checked. Not the last such value
// (EndOfPixel finds that with a search of some ninety mappings): values beyond it are mapped one
// by one. NaN when the guess does not hold (a logarithmic scale, a pixel at the end of the range).
double InsideOfPixel(const TiPlotAxis& axis, double v) {
  const int pixel = axis.ValueToPosition(v);
  const double here = axis.PositionToValue(pixel), next = axis.PositionToValue(pixel + 1),
               previous = axis.PositionToValue(pixel - 1);
  const double neighbour = next > here ? next : previous;
  const double guess = here + (neighbour - here) * (0.5 - 1e-7);
  if (std::isfinite(guess) && guess >= v && axis.ValueToPosition(guess) == pixel) return guess;
  return std::numeric_limits<double>::quiet_NaN();
}

// Calls f(index, point) for first .. last in order until f returns false; returns the index it
// stopped at (last + 1 when it went through). Streams over the stored records a contiguous
// stretch at a time: no index check or ring arithmetic per point.
template <class Points, class F>
int ScanPoints(const Points& points, int first, int last, F&& f) {
  int i = first;
  while (i <= last) {
    int length;
    const auto* record = points.Stretch(i, length);
    const int end = i + std::min(length - 1, last - i) + 1;
    for (; i < end; ++i, ++record)
      if (!f(i, points.Decode(*record, i))) return i;
  }
  return i;
}

#ifdef LUMIO_TRACE_AVX2
// The plain blocks of ScanKnownColumn below for the standard layout's records, four points in
// three 32-byte loads: r0 = X0 Y0 F0 X1, r1 = Y1 F1 X2 Y2, r2 = F2 X3 Y3 F3 (F the flag word and
// the record's padding). A block is taken when its X values do not decrease from lastX and do not
// pass xLimit, no point is empty or null and every Y is finite: the same test as the scalar
// block, which goes on from the first block that fails it. Running lowest and highest values per
// lane; minimum and maximum pick one of their operands, so the result is the scalar loop's.
// Returns the index of the first point not taken.
static_assert(sizeof(TiPlotNullRecord) == 24 && offsetof(TiPlotNullRecord, Y) == 8 &&
              offsetof(TiPlotNullRecord, Flags) == 16);
__attribute__((target("avx2"))) int PlainBlocksAvx2(const TiPlotNullRecord* records, int i, int stop, double xLimit,
                                                    double& lastX, double& lowY, double& highY, int& end) {
  constexpr long long kGapFlags = TiPlotDataNullList::kNullFlag | TiPlotDataNullList::kEmptyFlag;
  const __m256i f0 = _mm256_setr_epi64x(0, 0, kGapFlags, 0), f1 = _mm256_setr_epi64x(0, kGapFlags, 0, 0),
                f2 = _mm256_setr_epi64x(kGapFlags, 0, 0, kGapFlags);
  const __m256d limit = _mm256_set1_pd(xLimit), top = _mm256_set1_pd(kTop);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(std::numeric_limits<std::int64_t>::max()));
  __m256d previous = _mm256_set1_pd(lastX), lo = _mm256_set1_pd(lowY), hi = _mm256_set1_pd(highY);
  const char* at = reinterpret_cast<const char*>(records);
  const int first = i;
  for (; i + 3 < stop; i += 4, at += 4 * sizeof(TiPlotNullRecord)) {
    const __m256d r0 = _mm256_loadu_pd(reinterpret_cast<const double*>(at)),
                  r1 = _mm256_loadu_pd(reinterpret_cast<const double*>(at + 32)),
                  r2 = _mm256_loadu_pd(reinterpret_cast<const double*>(at + 64));
    const __m256i flags = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(_mm256_castpd_si256(r0), f0), _mm256_and_si256(_mm256_castpd_si256(r1), f1)),
        _mm256_and_si256(_mm256_castpd_si256(r2), f2));
    const __m256d xs = _mm256_blend_pd(_mm256_blend_pd(r0, r1, 0b0100), r2, 0b0010);   // X0 X3 X2 X1
    // What each must not be below: lastX X2 X1 X0.
    const __m256d before = _mm256_blend_pd(_mm256_permute4x64_pd(xs, _MM_SHUFFLE(0, 3, 2, 0)), previous, 0b0001);
    const __m256d ys = _mm256_blend_pd(_mm256_blend_pd(r1, r0, 0b0010), r2, 0b0100);   // Y1 Y0 Y3 Y2
    const __m256d inOrder = _mm256_and_pd(_mm256_cmp_pd(xs, before, _CMP_GE_OQ), _mm256_cmp_pd(xs, limit, _CMP_LE_OQ));
    const __m256d ok = _mm256_and_pd(inOrder, _mm256_cmp_pd(_mm256_and_pd(ys, magnitude), top, _CMP_LE_OQ));
    if ((_mm256_movemask_pd(ok) != 0b1111) | !_mm256_testz_si256(flags, flags)) break;
    lo = _mm256_min_pd(lo, ys);
    hi = _mm256_max_pd(hi, ys);
    previous = _mm256_permute4x64_pd(xs, _MM_SHUFFLE(1, 1, 1, 1));
  }
  if (i != first) {
    const __m128d lo2 = _mm_min_pd(_mm256_castpd256_pd128(lo), _mm256_extractf128_pd(lo, 1));
    const __m128d hi2 = _mm_max_pd(_mm256_castpd256_pd128(hi), _mm256_extractf128_pd(hi, 1));
    lowY = _mm_cvtsd_f64(_mm_min_sd(lo2, _mm_unpackhi_pd(lo2, lo2)));
    highY = _mm_cvtsd_f64(_mm_max_sd(hi2, _mm_unpackhi_pd(hi2, hi2)));
    lastX = _mm256_cvtsd_f64(previous);
    end = i - 1;
  }
  return i;
}
#endif

// The rest of a long run once a limit inside its column is known: a few comparisons per point,
// no mapping up to the limit (beyond it, the mapping decides). Returns the index where the run
// stopped.
template <bool Vector, class Points>
int ScanKnownColumn(const Points& points, int i, int last, double xLimit, double xMax, const TiPlotAxis& xAxis,
                    int column, double& lastX, double& lastY, double& lowY, double& highY, int& runEnd,
                    int& knownIndex, int& knownColumn) {
  double lx = lastX, lo = lowY, hi = highY;
  int end = runEnd;
  // Plain loops over locals, so that the compiler keeps them in registers. Points go four at a
  // time while all four simply continue the run (one test, and the lowest and highest value
  // taken over the four before they meet the running ones, which keeps the dependency chain
  // short); a block with anything else in it (an empty point, a break) goes point by point.
  auto plain = [xLimit](const TiPlotPoint& q, double previousX) {
    return !q.Empty & !q.Null & (q.X >= previousX) & (q.X <= xLimit) & (std::abs(q.Y) <= kTop);
  };
  bool stopped = false;
  while (i <= last && !stopped) {
    int length;
    const auto* record = points.Stretch(i, length);
    const int stop = i + std::min(length - 1, last - i) + 1;
    while (i < stop) {
#ifdef LUMIO_TRACE_AVX2
      if constexpr (Vector && std::is_same_v<Points, TiPlotDataNullList>) {
        const int from = i;
        i = PlainBlocksAvx2(record, i, stop, xLimit, lx, lo, hi, end);
        record += i - from;
      }
#endif
      for (; i + 3 < stop; i += 4, record += 4) {
        const TiPlotPoint a = points.Decode(record[0], i), b = points.Decode(record[1], i + 1),
                          c = points.Decode(record[2], i + 2), d = points.Decode(record[3], i + 3);
        // X in order within the column (NaN fails), no empty or null point, and every Y
        // finite (y - y is 0 exactly then, NaN otherwise).
        const bool xs = (a.X >= lx) & (b.X >= a.X) & (c.X >= b.X) & (d.X >= c.X) & (d.X <= xLimit);
        const bool flags = a.Empty | a.Null | b.Empty | b.Null | c.Empty | c.Null | d.Empty | d.Null;
        const bool ys = ((a.Y - a.Y) + (b.Y - b.Y)) + ((c.Y - c.Y) + (d.Y - d.Y)) == 0;
        if (!(xs & !flags & ys)) break;
        lo = std::min(lo, std::min(std::min(a.Y, b.Y), std::min(c.Y, d.Y)));
        hi = std::max(hi, std::max(std::max(a.Y, b.Y), std::max(c.Y, d.Y)));
        lx = d.X;
        end = i + 3;
      }
      const int blockEnd = std::min(i + 4, stop);
      for (; i < blockEnd; ++i, ++record) {
        const TiPlotPoint q = points.Decode(*record, i);
        if (!plain(q, lx)) {
          if (q.Empty) continue;
          // Past the quick limit, the mapping tells whether the column goes on.
          bool inColumn = !q.Null && q.X >= lx && q.X <= xMax && std::abs(q.Y) <= kTop;
          if (inColumn) {
            const int c = xAxis.ValueToPosition(q.X);
            if (c != column) {
              // The next run's column, mapped once.
              inColumn = false;
              knownIndex = i;
              knownColumn = c;
            }
          }
          if (!inColumn) {
            stopped = true;
            break;
          }
        }
        lx = q.X;
        lo = std::min(lo, q.Y);
        hi = std::max(hi, q.Y);
        end = i;
      }
      if (stopped) break;
    }
  }
  const double ly = end == runEnd ? lastY : points.ReadPoint(end).Y;
  lastX = lx;
  lastY = ly;
  lowY = lo;
  highY = hi;
  runEnd = end;
  return i;
}

// The trace of solid one-pixel lines that the X range and no Y range clip, worked through in
// runs of points that fall into one pixel column with X not decreasing. Such a run is followed in
// values (the Y mapping is monotonic, so the lowest and highest values give the lowest and
// highest pixels) and only its first, extreme and last points are converted to pixels. A run
// that ends on one of its extreme pixels covers that pixel only when an earlier point of the run
// had it and the run went on elsewhere before it came back. That matters only where the polyline
// ends there: a segment that starts from the pixel (the next run's, or a clipped line's) draws it
// anyway. So it is looked up in values only then, and the polyline is handed the points that
// cover the same. Everything else goes segment by segment.
// Vector: the plain blocks of long runs go through PlainBlocksAvx2 (only in a copy compiled for
// AVX2).
template <bool Vector, class Points>
void TraceByColumns(const Points& points, int first, int last, const TSegmentClip& clip, TiTracePolyline& polyline) {
  const TiPlotAxis& xAxis = *clip.X;
  const TiPlotAxis& yAxis = *clip.Y;
  bool chain = false;   // the polyline ends at chainEnd, the pixel of the last point handed on
  TPoint chainEnd;
  auto handOn = [&](TPoint q) {
    if (chain) polyline.Segment(chainEnd, q);
    chain = true;
    chainEnd = q;
  };
  // The pixel of a value in a known column.
  auto at = [&](int column, double y) {
    const int py = clip.YPixel(y);
    return clip.Reversed ? TPoint{py, column} : TPoint{column, py};
  };
  // The last run handed on ended on its extreme pixel End (coming from Other), which the
  // polyline does not draw yet; Y is the last value, Start .. Last the run's indexes.
  struct TOpenEnd {
    bool Open = false;
    int Start = 0, Last = 0;
    double Y = 0;
    TPoint End, Other;
  } openEnd;
  // Called before anything but a segment from openEnd.End is handed on: draws that pixel when the
  // run covered it (a point there followed by one elsewhere).
  auto closeEnd = [&] {
    if (!openEnd.Open) return;
    openEnd.Open = false;
    if (polyline.CoversEnds()) return;
    const double a = EndOfPixel(yAxis, openEnd.Y, -kTop), b = EndOfPixel(yAxis, openEnd.Y, kTop);
    bool there = false, covered = false;
    ScanPoints(points, openEnd.Start, openEnd.Last, [&](int, TiPlotPoint r) {
      if (r.Empty) return true;
      if (r.Y >= a && r.Y <= b) there = true;
      else covered = there;
      return !covered;
    });
    if (!covered) return;
    // Back one pixel toward the other end (a pixel the run covers anyway) and forward again.
    const TPoint pl = openEnd.End, other = openEnd.Other;
    const int along = clip.Reversed ? other.X - pl.X : other.Y - pl.Y;
    const int step = along > 0 ? 1 : -1;
    handOn(clip.Reversed ? TPoint{pl.X + step, pl.Y} : TPoint{pl.X, pl.Y + step});
    handOn(pl);
  };
  bool newRun = true, previousUnclipped = false;
  double px = 0, py = 0;
  // The column of the point that ended the last run, so that it is mapped once.
  int knownIndex = -1, knownColumn = 0;
  int i = first;
  while (i <= last) {
    const TiPlotPoint p = points.ReadPoint(i);
    if (p.Empty) {
      ++i;
      continue;
    }
    if (p.Null || !std::isfinite(p.X) || !std::isfinite(p.Y)) {
      closeEnd();
      newRun = true;
      ++i;
      continue;
    }
    const bool unclipped = clip.Unclipped(p.X);
    if (newRun) {
      newRun = false;
      chain = false;
    } else if (!(unclipped && previousUnclipped && px <= p.X)) {
      closeEnd();
      TPoint from, to;
      const bool drawn = clip.Pixels(px, py, p.X, p.Y, from, to);
      if (drawn) polyline.Segment(from, to);
      // A run starting here continues the polyline only when this line ended on this point.
      chain = drawn && unclipped && px <= p.X;
      chainEnd = to;
    }
    // (Between two unclipped points in X order the line is handed on with the run below.)
    previousUnclipped = unclipped;
    px = p.X;
    py = p.Y;
    ++i;
    if (!unclipped) continue;
    // The run starts in another column than the last one, and its first segment starts from the
    // last run's end.
    openEnd.Open = false;

    // The run of this point's column.
    const int column = i - 1 == knownIndex ? knownColumn : xAxis.ValueToPosition(p.X);
    int count = 1;
    double ys[4] = {p.Y, 0, 0, 0};
    double lastX = p.X, lastY = p.Y, lowY = p.Y, highY = p.Y;
    const double xMax = clip.XMax;
    int runEnd = i - 1;
    const int runStart = runEnd;
    i = ScanPoints(points, i, last, [&](int k, TiPlotPoint q) {
      if (q.Empty) return true;
      if (q.Null || !std::isfinite(q.Y) || !(q.X >= lastX && q.X <= xMax)) return false;
      const int c = xAxis.ValueToPosition(q.X);
      if (c != column) {
        knownIndex = k;
        knownColumn = c;
        return false;
      }
      runEnd = k;
      lastX = q.X;
      lastY = q.Y;
      lowY = std::min(lowY, q.Y);
      highY = std::max(highY, q.Y);
      ys[count] = q.Y;
      return ++count < 4;
    });
    // A run that goes on after four points is worth finding where its column ends, once.
    if (count == 4) {
      // Up to a limit that surely is inside the column the points need no mapping; the rare
      // ones beyond it are mapped.
      double inside = InsideOfPixel(xAxis, p.X);
      if (std::isnan(inside)) inside = EndOfPixel(xAxis, p.X, kTop);
      const int fourth = runEnd;
      i = ScanKnownColumn<Vector>(points, i + 1, last, std::min(inside, xMax), xMax, xAxis, column, lastX, lastY, lowY,
                                  highY, runEnd, knownIndex, knownColumn);
      if (runEnd != fourth) count = 5;   // more points than ys holds
    }
    px = lastX;
    py = lastY;
    if (count <= 4) {
      for (int k = 0; k < count; ++k) handOn(at(column, ys[k]));
      continue;
    }
    const TPoint pf = at(column, p.Y), pl = at(column, lastY);
    const TPoint low = at(column, lowY), high = at(column, highY);
    if ((pl == low || pl == high) && !(low == high)) {
      const TPoint other = pl == low ? high : low;
      handOn(pf);
      handOn(other);
      handOn(pl);
      openEnd = {true, runStart, runEnd, lastY, pl, other};
      continue;
    }
    handOn(pf);
    handOn(low);
    handOn(high);
    handOn(pl);
  }
  closeEnd();
}

// The trace loop is mostly scalar floating point: it first clears the vector registers' upper
// halves that the drawing before it may have left in use (see VectorState.h).
//
// The axes round to the nearest pixel with nearbyint, which the baseline x86-64 instruction set
// can only call out for. Where the processor has SSE4.1 the trace loop runs as a second copy
// compiled for it, with the mappings inlined and the rounding one instruction; where it has AVX2,
// as a third copy that also takes the plain blocks of long runs in vector registers. All round
// half to even in the current mode and none contracts a multiplication and an addition into one,
// so the pixels are the same.
#ifdef LUMIO_TRACE_AVX2
template <class Points>
__attribute__((target("avx2"), flatten)) void TraceByColumnsAvx2(const Points& points, int first, int last,
                                                                 const TSegmentClip& clip, TiTracePolyline& polyline) {
  TraceByColumns<true>(points, first, last, clip, polyline);
}
#endif

#if defined(LUMIO_TRACE_AVX2) && !defined(__SSE4_1__)
template <class Points>
__attribute__((target("sse4.1"), flatten)) void TraceByColumnsSse41(const Points& points, int first, int last,
                                                                    const TSegmentClip& clip, TiTracePolyline& polyline) {
  TraceByColumns<false>(points, first, last, clip, polyline);
}
#endif

template <class Points>
void TraceByColumnsFastest(const Points& points, int first, int last, const TSegmentClip& clip,
                           TiTracePolyline& polyline) {
  ClearUpperVectorHalves();
#ifdef LUMIO_TRACE_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) {
    TraceByColumnsAvx2(points, first, last, clip, polyline);
    return;
  }
#endif
#if defined(LUMIO_TRACE_AVX2) && !defined(__SSE4_1__)
  static const bool sse41 = __builtin_cpu_supports("sse4.1");
  if (sse41) {
    TraceByColumnsSse41(points, first, last, clip, polyline);
    return;
  }
#endif
  TraceByColumns<false>(points, first, last, clip, polyline);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pre-rendered markers

// Markers whose pixels do not depend on where they stand (solid or no pen and brush, no text,
// no even pen width)
// are drawn once into a small transparent image and stamped at every point.
class TiPlotChannelCustom::TiMarkerStamps {
 public:
  static bool Stampable(const TiMarkerLook& look) {
    const bool pen = look.Pen.Style == psSolid || look.Pen.Style == psClear || look.Pen.Style == psInsideFrame;
    const bool brush = look.Brush.Style == bsSolid || look.Brush.Style == bsClear;
    // An even pen width puts the line's centre between pixels, which rounds by where the marker
    // stands: such markers are drawn where they stand, not stamped.
    const bool evenPen = look.Pen.Style != psClear && look.Pen.Width >= 2 && look.Pen.Width % 2 == 0;
    return look.Style != ipmsCharacter && pen && brush && !evenPen && look.Pen.Mode == pmCopy && look.Size <= kMaxSize &&
           look.Pen.Width <= kMaxPen;
  }
  // The stamp of a look and the distance of its centre from its top-left corner.
  const QImage& Stamp(TiPlotChannelCustom& channel, const TiMarkerLook& look, int& centre) {
    for (const TEntry& entry : entries_)
      if (entry.Look == look) {
        centre = entry.Centre;
        return entry.Image;
      }
    if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin());
    TEntry entry;
    entry.Look = look;
    entry.Centre = look.Size + std::max(look.Pen.Width, 1) + 2;
    const int side = 2 * entry.Centre + 1;
    entry.Image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    entry.Image.fill(Qt::transparent);
    {
      TCanvas canvas(&entry.Image);
      channel.DrawMarkerLook(&canvas, look, clBlack, {entry.Centre, entry.Centre});
    }
    entries_.push_back(std::move(entry));
    centre = entries_.back().Centre;
    return entries_.back().Image;
  }

 private:
  static constexpr int kMaxSize = 64;
  static constexpr int kMaxPen = 16;
  static constexpr size_t kMaxEntries = 16;
  struct TEntry {
    TiMarkerLook Look;
    int Centre = 0;
    QImage Image;
  };
  std::vector<TEntry> entries_;
};

// ---------------------------------------------------------------------------------------------
// Positions

TiPlotComponent* TiPlotChannelCustom::Chart() const { return dynamic_cast<TiPlotComponent*>(Owner()); }

void TiPlotChannelCustom::UpdateFirstVisibleIndex() { firstVisibleIndex_ = 0; }
void TiPlotChannelCustom::UpdateLastVisibleIndex() { lastVisibleIndex_ = Count() - 1; }

TPoint TiPlotChannelCustom::GetPixelPoint(int index) {
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  const int px = x ? x->ValueToPosition(GetX(index)) : 0;
  const int py = y ? y->ValueToPosition(GetY(index)) : 0;
  return XYAxesReverse() ? TPoint{py, px} : TPoint{px, py};
}

TRect TiPlotChannelCustom::GetMarkerRect(int index) {
  const TPoint p = GetPixelPoint(index);
  const int s = HalfSize(markersAllowIndividual_ ? list_->GetMarkerSize(index) : MarkersSize());
  return Rect(p.X - s, p.Y - s, p.X + s, p.Y + s);
}

bool TiPlotChannelCustom::MarkerDrawable(int index) {
  if (!MarkersVisible()) return false;
  double x, y;
  bool empty, null;
  list_->GetData(index, x, y, empty, null);
  if (null || empty) return false;
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (!xAxis || !yAxis) return false;
  if (markersAllowIndividual_ && !list_->GetMarkerVisible(index)) return false;
  return xAxis->ValueInView(x) && yAxis->ValueInView(y);
}

// ---------------------------------------------------------------------------------------------
// Trace

bool TiPlotChannelCustom::ClipCanvasToAxes(TCanvas* canvas, bool reversed) {
  if (!ClipToAxes()) return true;
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  if (!x || !y) return false;
  int left = x->PositionOfMin(), right = x->PositionOfMax();
  int top = y->PositionOfMax(), bottom = y->PositionOfMin();
  if (reversed) {
    std::swap(left, top);
    std::swap(right, bottom);
  }
  canvas->IntersectClipRect(Rect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)));
  return true;
}

void TiPlotChannelCustom::DrawClippedSegment(TCanvas* canvas, bool reversed, double x1, double y1, double x2, double y2,
                                             bool useDataViewY) {
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  if (!canvas || !x || (!y && !useDataViewY)) return;
  TiPlotComponent* chart = Chart();
  const TiPlotDataView* view = chart && chart->DataViewCount() > 0 ? chart->DataView(0) : nullptr;
  const TSegmentClip clip(x, y, view, clipToAxes_, reversed, useDataViewY);
  TPoint from, to;
  if (!clip.Pixels(x1, y1, x2, y2, from, to)) return;
  canvas->MoveTo(from.X, from.Y);
  canvas->LineTo(to.X, to.Y);
}

void TiPlotChannelCustom::DrawTrace(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  if (!traceVisible_ || !canvas) return;
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (!xAxis || !yAxis) return;
  const TiPlotPointTemplate& t = list_->PointTemplate();
  canvas->Pen() = TracePen(t.TraceColor, TiPlotLineStyle(t.TraceLineStyle), t.TraceLineWidth);
  canvas->Brush().Style = bsClear;
  if (lastVisibleIndex_ <= firstVisibleIndex_ || firstVisibleIndex_ < 0 || lastVisibleIndex_ >= Count()) return;
  // The gaps of dashed and dotted lines show the background.
  canvas->SetBkColor(backgroundColor);
  canvas->SetBkMode(OPAQUE);

  const TSegmentClip clip(xAxis, yAxis, nullptr, clipToAxes_, reversed, false);
  TiTracePolyline polyline(canvas, ReducesColumns(canvas->Pen()), reversed);
  // Only the full-feature layout keeps a pen per point; the others answer with the template.
  const bool penPerPoint = list_->DataStyle() == ipdsFullFeature;
  if (!penPerPoint && ReducesColumns(canvas->Pen()) && !clipToAxes_) {
    // The runs come reduced already: the polyline only joins them.
    polyline.SetReduceColumns(false);
    VisitDataList(*list_, [&](const auto& points) {
      TraceByColumnsFastest(points, firstVisibleIndex_, lastVisibleIndex_, clip, polyline);
    });
    polyline.Flush();
    return;
  }
  bool newRun = true;
  double px = 0, py = 0;
  // A point that no clipping moves is converted to its pixel once, for both of its segments.
  bool previousUnclipped = false;
  TPoint previousPixel;
  VisitDataList(*list_, [&](const auto& points) {
    points.ForEachPoint(firstVisibleIndex_, lastVisibleIndex_, [&](int i, TiPlotPoint p) {
      if (p.Empty) return;
      // A null point breaks the line, and so does a point without a position.
      if (p.Null || !std::isfinite(p.X) || !std::isfinite(p.Y)) {
        newRun = true;
        return;
      }
      const bool unclipped = clip.Unclipped(p.X);
      const TPoint pixel = unclipped ? clip.Pixel(p.X, p.Y) : TPoint{};
      if (newRun) {
        newRun = false;
      } else {
        if (penPerPoint) {
          const TPen pen = TracePen(list_->GetTraceColor(i), list_->GetTraceLineStyle(i), list_->GetTraceLineWidth(i));
          if (!(pen == canvas->Pen())) {
            polyline.Flush();
            canvas->Pen() = pen;
            polyline.SetReduceColumns(ReducesColumns(pen));
          }
        }
        TPoint from, to;
        if (unclipped && previousUnclipped) {
          // The line runs from its left end to its right end.
          if (px > p.X) polyline.Segment(pixel, previousPixel);
          else polyline.Segment(previousPixel, pixel);
        } else if (clip.Pixels(px, py, p.X, p.Y, from, to)) {
          polyline.Segment(from, to);
        }
      }
      px = p.X;
      py = p.Y;
      previousUnclipped = unclipped;
      previousPixel = pixel;
    });
  });
  polyline.Flush();
}

// ---------------------------------------------------------------------------------------------
// Markers

TiPlotChannelCustom::TiMarkerLook TiPlotChannelCustom::MarkerLook(int index) {
  const TiPlotPointTemplate& t = list_->PointTemplate();
  TiMarkerLook look;
  const bool own = index >= 0 && markersAllowIndividual_;
  look.Style = own ? list_->GetMarkerStyle(index) : TiPlotMarkerStyle(t.MarkerStyle);
  look.Size = HalfSize(own ? list_->GetMarkerSize(index) : t.MarkerSize);
  // The legend's sample stays small whatever the markers' size.
  if (index < 0) look.Size = std::min(look.Size, 6);
  look.Pen.Width = ClampCoordinate(own ? list_->GetMarkerPenWidth(index) : t.MarkerPenWidth, 0);
  look.Pen.Style = own ? list_->GetMarkerPenStyle(index) : TPenStyle(t.MarkerPenStyle);
  look.Pen.Color = markersPenUseChannelColor_ ? Color() : (own ? list_->GetMarkerPenColor(index) : t.MarkerPenColor);
  look.Pen.Mode = pmCopy;
  look.Brush.Color = markersBrushUseChannelColor_ ? Color() : (own ? list_->GetMarkerBrushColor(index) : t.MarkerBrushColor);
  look.Brush.Style = own ? list_->GetMarkerBrushStyle(index) : TBrushStyle(t.MarkerBrushStyle);
  look.Character = own ? list_->GetMarkerCharacter(index) : t.MarkerCharacter;
  return look;
}

void TiPlotChannelCustom::DrawMarkerLook(TCanvas* canvas, const TiMarkerLook& look, TColor backgroundColor, TPoint p) {
  const int x = p.X, y = p.Y, s = look.Size;
  if (look.Style == ipmsCharacter) {
    if (look.Character == 0) return;
    canvas->Brush().Style = bsClear;
    canvas->SetBkColor(backgroundColor);
    TRect r = Rect(x, y, x, y);
    canvas->DrawText(QString(QChar::fromLatin1(look.Character)), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    return;
  }
  canvas->Pen() = look.Pen;
  canvas->Brush() = look.Brush;
  auto line = [canvas](int x1, int y1, int x2, int y2) {
    const TPoint points[] = {{x1, y1}, {x2, y2}};
    canvas->Polyline(points, 2);
  };
  auto polygon = [canvas](std::initializer_list<TPoint> points) { canvas->Polygon(points.begin(), int(points.size())); };
  switch (look.Style) {
    case ipmsCircle: canvas->Ellipse(x - s, y - s, x + s, y + s); break;
    case ipmsSquare: canvas->Rectangle(x - s, y - s, x + s, y + s); break;
    case ipmsDiamond: polygon({{x + s, y}, {x, y + s}, {x - s, y}, {x, y - s}}); break;
    case ipmsCross:
      line(x + s, y + s, x - s, y - s);
      line(x + s, y - s, x - s, y + s);
      break;
    case ipmsPlus:
      line(x, y + s, x, y - s);
      line(x + s, y, x - s, y);
      break;
    case ipmsTriangleUp: polygon({{x - s, y + s}, {x, y}, {x + s, y + s}}); break;
    case ipmsTriangleDown: polygon({{x - s, y - s}, {x, y}, {x + s, y - s}}); break;
    case ipmsTriangleLeft: polygon({{x + s, y - s}, {x, y}, {x + s, y + s}}); break;
    case ipmsTriangleRight: polygon({{x - s, y - s}, {x, y}, {x - s, y + s}}); break;
    case ipmsVerticalLine: line(x, y - s, x, y + s); break;
    case ipmsHorizontalLine: line(x - s, y, x + s, y); break;
    case ipmsCharacter: break;
  }
}

void TiPlotChannelCustom::DrawMarker(TCanvas* canvas, int index, TColor backgroundColor, TPoint p) {
  if (!canvas || !MarkersVisible()) return;
  const TiMarkerLook look = MarkerLook(index);
  if (!TiMarkerStamps::Stampable(look)) {
    DrawMarkerLook(canvas, look, backgroundColor, p);
    return;
  }
  if (!markerStamps_) markerStamps_ = std::make_shared<TiMarkerStamps>();
  int centre = 0;
  const QImage& stamp = markerStamps_->Stamp(*this, look, centre);
  canvas->Draw(p.X - centre, p.Y - centre, stamp);
}

void TiPlotChannelCustom::DrawMarkers(TCanvas* canvas, bool reversed, TColor backgroundColor) {
  if (!canvas || !MarkersVisible()) return;
  canvas->Font() = markersFont_.Font();
  if (markersTurnOffLimit_ > 0 && std::abs(static_cast<long long>(lastVisibleIndex_) - firstVisibleIndex_) > markersTurnOffLimit_)
    return;
  if (firstVisibleIndex_ < 0 || lastVisibleIndex_ >= Count()) return;
  for (int i = firstVisibleIndex_; i <= lastVisibleIndex_; ++i)
    if (MarkerDrawable(i)) DrawMarker(canvas, i, backgroundColor, GetPixelPoint(i));
}
