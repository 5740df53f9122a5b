#pragma once
// Small pictures made in code for tests.
#include <random>

#include "platform/Bitmap.h"

// A 24-bit picture whose pixel (x, y) has red x, green y and blue (x + y), all modulo 256, so
// that each pixel tells where it came from.
inline TBitmap CoordinatePicture(int width, int height) {
  TBitmap b(width, height, pf24bit);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = static_cast<std::uint8_t>((x + y) & 0xFF);
      row[3 * x + 1] = static_cast<std::uint8_t>(y & 0xFF);
      row[3 * x + 2] = static_cast<std::uint8_t>(x & 0xFF);
    }
  }
  return b;
}

inline TBitmap RandomPicture(int width, int height, std::mt19937& rng) {
  TBitmap b(width, height, pf24bit);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < 3 * width; ++x) row[x] = static_cast<std::uint8_t>(byte(rng));
  }
  return b;
}
