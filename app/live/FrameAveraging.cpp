#include "app/live/FrameAveraging.h"

#include <algorithm>
#include <cstring>

namespace {
bool Averageable(const TBitmap& b) { return b.PixelFormat() == pf24bit || b.PixelFormat() == pf32bit; }
int PixelBytes(const TBitmap& b) { return b.PixelFormat() == pf32bit ? 4 : 3; }
int RowBytes(const TBitmap& b) { return b.Width() * PixelBytes(b); }
// The unused fourth byte of a 32-bit pixel is kept at 255, as 32-bit pictures have it.
void MarkOpaque(std::uint8_t* row, int width) {
  for (int x = 0; x < width; ++x) row[4 * x + 3] = 255;
}
bool SameShape(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat();
}
}  // namespace

void TFrameAverager::Clear() {
  ring_.clear();
  sum_.clear();
  frames_ = 0;
}

TBitmap TFrameAverager::Add(const TBitmap& frame, int frames) {
  frames = std::clamp(frames, 1, kMaxAveragedFrames);
  if (frame.Empty() || !Averageable(frame)) {
    Clear();
    return frame;
  }
  if (frames != frames_ || (!ring_.empty() && !SameShape(ring_.front(), frame))) {
    Clear();
    frames_ = frames;
  }
  if (frames == 1) return frame;  // nothing to hold

  const int w = frame.Width(), h = frame.Height(), row = RowBytes(frame);
  if (sum_.empty()) sum_.assign(static_cast<std::size_t>(row) * static_cast<std::size_t>(h), 0);
  // The oldest frame leaves the sum as the newest enters it.
  const TBitmap* oldest = static_cast<int>(ring_.size()) == frames ? &ring_.front() : nullptr;
  for (int y = 0; y < h; ++y) {
    std::uint32_t* s = sum_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(row);
    const std::uint8_t* in = frame.ScanLine(y);
    if (oldest) {
      const std::uint8_t* out = oldest->ScanLine(y);
      for (int x = 0; x < row; ++x) s[x] += static_cast<std::uint32_t>(in[x]) - out[x];
    } else {
      for (int x = 0; x < row; ++x) s[x] += in[x];
    }
  }
  if (oldest) ring_.pop_front();
  ring_.push_back(frame);

  const auto n = static_cast<std::uint32_t>(ring_.size());
  TBitmap mean(w, h, frame.PixelFormat());
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* s = sum_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(row);
    std::uint8_t* out = mean.ScanLine(y);
    for (int x = 0; x < row; ++x) out[x] = static_cast<std::uint8_t>((s[x] + n / 2) / n);
    if (frame.PixelFormat() == pf32bit) MarkOpaque(out, w);
  }
  return mean;
}

bool SubtractDark(TBitmap& frame, const TBitmap& dark) {
  if (dark.Empty() || !Averageable(frame) || !SameShape(frame, dark)) return false;
  const int row = RowBytes(frame);
  for (int y = 0; y < frame.Height(); ++y) {
    std::uint8_t* f = frame.ScanLine(y);
    const std::uint8_t* d = dark.ScanLine(y);
    for (int x = 0; x < row; ++x) f[x] = f[x] > d[x] ? static_cast<std::uint8_t>(f[x] - d[x]) : 0;
    if (frame.PixelFormat() == pf32bit) MarkOpaque(f, frame.Width());
  }
  return true;
}
