#pragma once
// Lowering the noise of live frames: the mean of the last N frames, and a dark frame subtracted
// from every frame.
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/Bitmap.h"

inline constexpr int kMaxAveragedFrames = 64;

class TFrameAverager {
 public:
  // Adds a 24- or 32-bit frame and returns the mean of the last `frames` frames (1..64; rounded to the
  // nearest value, halves up). A frame of another size, or a changed count, starts afresh.
  TBitmap Add(const TBitmap& frame, int frames);
  void Clear();
  int Held() const { return static_cast<int>(ring_.size()); }

 private:
  std::deque<TBitmap> ring_;
  std::vector<std::uint32_t> sum_;
  int frames_ = 0;
};

// Subtracts `dark` from every colour byte of the 24- or 32-bit `frame`, clamped at 0. A dark frame of another
// size or format is not applied (false).
bool SubtractDark(TBitmap& frame, const TBitmap& dark);
