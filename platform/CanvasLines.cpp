#include "platform/CanvasLines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/Canvas.h"

namespace {

// The first step i in [0, n] whose minor offset floor((2 i m + n - 1) / 2n) reaches k; n when
// none does. 128 bits: k and n may each come near 2^33.
long long FirstOffsetAtLeast(long long k, long long m, long long n) {
  if (k <= 0) return 0;
  if (m == 0) return n;
  const __int128 num = static_cast<__int128>(2) * n * k - n + 1;  // > 0 as k >= 1
  const __int128 den = static_cast<__int128>(2) * m;
  const __int128 i = (num + den - 1) / den;
  return i > n ? n : static_cast<long long>(i);
}

// The range of steps whose coordinate start + step * s lies in [from, to), where the coordinate
// of step i is start + s * offset(i).
struct TRange {
  long long lo, hi;
};

TRange MajorRange(long long start, int s, long long from, long long to) {
  if (s > 0) return {from - start, to - start};
  return {start - to + 1, start - from + 1};
}

TRange MinorRange(long long start, int s, long long from, long long to, long long m, long long n) {
  if (s > 0) return {FirstOffsetAtLeast(from - start, m, n), FirstOffsetAtLeast(to - start, m, n)};
  return {FirstOffsetAtLeast(start - to + 1, m, n), FirstOffsetAtLeast(start - from + 1, m, n)};
}

// Pixel layouts: a pixel's bytes from a colour, and back.
using TLayout = TScanlineLines::TLayout;

template <TLayout L>
struct Px;

template <>
struct Px<TLayout::Argb32> {
  static void Save(uchar* p, QRgb c) {
    const std::uint32_t v = 0xFF000000u | c;
    std::memcpy(p, &v, 4);
  }
  static QRgb Load(const uchar* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
};

// Three bytes a pixel; Red is the index of the red byte, blue sits at the other end.
template <int Red>
struct Px24 {
  static void Save(uchar* p, QRgb c) {
    p[Red] = static_cast<uchar>(qRed(c));
    p[1] = static_cast<uchar>(qGreen(c));
    p[2 - Red] = static_cast<uchar>(qBlue(c));
  }
  static QRgb Load(const uchar* p) { return qRgb(p[Red], p[1], p[2 - Red]); }
};
template <>
struct Px<TLayout::Bgr24> : Px24<2> {};
template <>
struct Px<TLayout::Rgb24> : Px24<0> {};

// Two bytes a pixel, red in the high bits, green with GreenBits: the high bits of each channel
// are kept and widened again by repeating them.
template <int GreenBits>
struct Px16 {
  static void Save(uchar* p, QRgb c) {
    const std::uint16_t v = static_cast<std::uint16_t>(((qRed(c) >> 3) << (5 + GreenBits)) |
                                                       ((qGreen(c) >> (8 - GreenBits)) << 5) | (qBlue(c) >> 3));
    std::memcpy(p, &v, 2);
  }
  static QRgb Load(const uchar* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    const int r = (v >> (5 + GreenBits)) & 0x1F, g = (v >> 5) & ((1 << GreenBits) - 1), b = v & 0x1F;
    return qRgb(Widen(r, 5), Widen(g, GreenBits), Widen(b, 5));
  }
  static int Widen(int v, int bits) { return (v << (8 - bits)) | (v >> (2 * bits - 8)); }
};
template <>
struct Px<TLayout::Rgb565> : Px16<6> {};
template <>
struct Px<TLayout::Rgb555> : Px16<5> {};

// Where the walk stands in a dash pattern: the element and the pixels left in it.
struct TDash {
  const std::vector<int>* pattern;
  std::size_t k = 0;
  int left = 0;
  TDash(const std::vector<int>& p, int pos) : pattern(&p) {
    for (k = 0; k < p.size(); ++k) {
      if (pos < p[k]) break;
      pos -= p[k];
    }
    left = p[k] - pos;
  }
  bool On() const { return (k % 2) == 0; }
  void Step() {
    if (--left == 0) {
      k = k + 1 == pattern->size() ? 0 : k + 1;
      left = (*pattern)[k];
    }
  }
};

struct TWalk {
  uchar* bits;
  qsizetype first;       // byte offset of the first pixel
  qsizetype majorStep;   // bytes from one step to the next
  qsizetype minorStep;   // bytes added when the minor coordinate moves
  long long count;       // pixels to walk
  long long error;       // the remainder of 2 i m + n - 1 over 2n at the first step
  long long twoM, twoN;
};

// The walk itself: the error term grows by 2m a step and moves the minor coordinate each time
// it passes 2n, which is exactly the nearest-with-halves-down rule.
template <TLayout L, bool Dashed, bool Copy>
void Walk(const TWalk& w, QRgb pen, QRgb gap, bool opaqueGaps, int mode, TDash* dash) {
  uchar* const bits = w.bits;
  qsizetype at = w.first;
  long long e = w.error;
  for (long long c = w.count; c > 0; --c) {
    bool on = true;
    if constexpr (Dashed) {
      on = dash->On();
      dash->Step();
    }
    if (on || opaqueGaps) {
      const QRgb ink = on ? pen : gap;
      uchar* p = bits + at;
      if constexpr (Copy)
        Px<L>::Save(p, ink);
      else
        Px<L>::Save(p, ApplyRasterOp(mode, ink, Px<L>::Load(p)));
    }
    at += w.majorStep;
    e += w.twoM;
    if (e >= w.twoN) {
      e -= w.twoN;
      at += w.minorStep;
    }
  }
}

template <TLayout L>
void WalkIn(const TWalk& w, QRgb pen, QRgb gap, bool opaqueGaps, int mode, TDash* dash) {
  const bool copy = mode == pmCopy;
  if (dash) {
    if (copy)
      Walk<L, true, true>(w, pen, gap, opaqueGaps, mode, dash);
    else
      Walk<L, true, false>(w, pen, gap, opaqueGaps, mode, dash);
  } else if (copy) {
    Walk<L, false, true>(w, pen, gap, opaqueGaps, mode, dash);
  } else {
    Walk<L, false, false>(w, pen, gap, opaqueGaps, mode, dash);
  }
}

}  // namespace

bool DashOnAt(const std::vector<int>& pattern, int position) {
  long long total = 0;
  for (int v : pattern) total += v;
  if (total <= 0) return true;
  return TDash(pattern, static_cast<int>(((position % total) + total) % total)).On();
}

QRgb ApplyRasterOp(int mode, QRgb s, QRgb d) {
  QRgb r;
  switch (mode) {
    case pmBlack: r = 0; break;
    case pmWhite: r = 0xFFFFFF; break;
    case pmNot: r = ~d; break;
    case pmNotCopy: r = ~s; break;
    case pmMergePenNot: r = s | ~d; break;
    case pmMaskPenNot: r = s & ~d; break;
    case pmMergeNotPen: r = ~s | d; break;
    case pmMaskNotPen: r = ~s & d; break;
    case pmMerge: r = s | d; break;
    case pmNotMerge: r = ~s & ~d; break;
    case pmMask: r = s & d; break;
    case pmNotMask: r = ~s | ~d; break;
    case pmXor: r = s ^ d; break;
    case pmNotXor: r = ~s ^ d; break;
    case pmNop: r = d; break;
    default: r = s; break;
  }
  return 0xFF000000u | (r & 0x00FFFFFFu);
}

TLineSteps VisibleSteps(int x1, int y1, int x2, int y2, const TRect& box) {
  TLineSteps s;
  const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
  const long long ax = std::llabs(dx), ay = std::llabs(dy);
  s.n = std::max(ax, ay);
  s.xMajor = ax >= ay;
  s.sx = dx < 0 ? -1 : 1;
  s.sy = dy < 0 ? -1 : 1;
  s.minor = s.xMajor ? ay : ax;
  s.lo = 0;
  s.hi = s.n;
  if (s.n == 0) return s;
  // Segments lying wholly inside need no cutting (the common case of a trace on its chart).
  if (std::min(x1, x2) >= box.Left && std::max(x1, x2) < box.Right && std::min(y1, y2) >= box.Top &&
      std::max(y1, y2) < box.Bottom)
    return s;
  const TRange rx = s.xMajor ? MajorRange(x1, s.sx, box.Left, box.Right)
                             : MinorRange(x1, s.sx, box.Left, box.Right, s.minor, s.n);
  const TRange ry = s.xMajor ? MinorRange(y1, s.sy, box.Top, box.Bottom, s.minor, s.n)
                             : MajorRange(y1, s.sy, box.Top, box.Bottom);
  s.lo = std::max({0LL, rx.lo, ry.lo});
  s.hi = std::min({s.n, rx.hi, ry.hi});
  if (s.hi < s.lo) s.hi = s.lo;
  return s;
}

TPoint StepPixel(int x1, int y1, const TLineSteps& s, long long i) {
  if (i == 0 || s.n == 0) return {x1, y1};
  // Offsets stay within the segment, so the coordinates stay within int. 64 bits hold
  // 2 i m + n for segments up to 2^30 steps, 128 bits any segment between int end points.
  const long long off =
      s.n <= (1LL << 30) ? (2 * i * s.minor + s.n - 1) / (2 * s.n)
                         : static_cast<long long>((static_cast<__int128>(2) * i * s.minor + s.n - 1) /
                                                  (static_cast<__int128>(2) * s.n));
  const long long x = x1 + static_cast<long long>(s.sx) * (s.xMajor ? i : off);
  const long long y = y1 + static_cast<long long>(s.sy) * (s.xMajor ? off : i);
  return {static_cast<int>(x), static_cast<int>(y)};
}

bool TScanlineLines::Begin(QImage& image, const TRect& clip, QRgb pen, QRgb gap, bool opaqueGaps, TPenMode mode) {
  switch (image.format()) {
    case QImage::Format_RGB32: layout_ = TLayout::Argb32; break;
    // Pixels with alpha below 255 would blend under the raster operations: copy only there.
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      if (mode != pmCopy) return false;
      layout_ = TLayout::Argb32;
      break;
    case QImage::Format_BGR888: layout_ = TLayout::Bgr24; break;
    case QImage::Format_RGB888: layout_ = TLayout::Rgb24; break;
    case QImage::Format_RGB16: layout_ = TLayout::Rgb565; break;
    case QImage::Format_RGB555: layout_ = TLayout::Rgb555; break;
    default: return false;
  }
  bits_ = image.bits();
  bytesPerLine_ = image.bytesPerLine();
  IntersectRect(clip_, clip, TRect{0, 0, image.width(), image.height()});
  pen_ = pen;
  gap_ = gap;
  opaqueGaps_ = opaqueGaps;
  mode_ = mode;
  return bits_ != nullptr;
}

void TScanlineLines::Segment(int x1, int y1, int x2, int y2, const std::vector<int>& pattern, int& phase) {
  const TLineSteps s = VisibleSteps(x1, y1, x2, y2, clip_);
  if (s.n == 0) return;
  long long total = 0;
  for (int v : pattern) total += v;
  // A position from elsewhere may lie outside the pattern: taken round it.
  if (total > 0) phase = static_cast<int>(((phase % total) + total) % total);
  const int start = total > 0 ? static_cast<int>((phase + s.lo % total) % total) : 0;
  if (total > 0) phase = static_cast<int>((phase + s.n % total) % total);
  if (s.hi <= s.lo) return;

  int bytes = 4;
  switch (layout_) {
    case TLayout::Argb32: bytes = 4; break;
    case TLayout::Bgr24:
    case TLayout::Rgb24: bytes = 3; break;
    case TLayout::Rgb565:
    case TLayout::Rgb555: bytes = 2; break;
  }
  const TPoint p = StepPixel(x1, y1, s, s.lo);
  TWalk w;
  w.bits = bits_;
  w.first = static_cast<qsizetype>(p.Y) * bytesPerLine_ + static_cast<qsizetype>(p.X) * bytes;
  const qsizetype xStep = static_cast<qsizetype>(s.sx) * bytes, yStep = static_cast<qsizetype>(s.sy) * bytesPerLine_;
  w.majorStep = s.xMajor ? xStep : yStep;
  w.minorStep = s.xMajor ? yStep : xStep;
  w.count = s.hi - s.lo;
  w.twoM = 2 * s.minor;
  w.twoN = 2 * s.n;
  // The remainder of 2 lo m + n - 1 over 2n; at the start of a segment simply n - 1.
  w.error = s.lo == 0             ? s.n - 1
            : s.n <= (1LL << 30) ? (2 * s.lo * s.minor + s.n - 1) % (2 * s.n)
                                 : static_cast<long long>((static_cast<__int128>(2) * s.lo * s.minor + s.n - 1) %
                                                          (static_cast<__int128>(2) * s.n));
  std::optional<TDash> dash;
  if (total > 0) dash.emplace(pattern, start);
  TDash* d = dash ? &*dash : nullptr;
  switch (layout_) {
    case TLayout::Argb32: WalkIn<TLayout::Argb32>(w, pen_, gap_, opaqueGaps_, mode_, d); break;
    case TLayout::Bgr24: WalkIn<TLayout::Bgr24>(w, pen_, gap_, opaqueGaps_, mode_, d); break;
    case TLayout::Rgb24: WalkIn<TLayout::Rgb24>(w, pen_, gap_, opaqueGaps_, mode_, d); break;
    case TLayout::Rgb565: WalkIn<TLayout::Rgb565>(w, pen_, gap_, opaqueGaps_, mode_, d); break;
    case TLayout::Rgb555: WalkIn<TLayout::Rgb555>(w, pen_, gap_, opaqueGaps_, mode_, d); break;
  }
}
