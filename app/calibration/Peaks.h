#pragma once
// Peak finding in an intensity profile: smoothing, prominence and width thresholds, sub-pixel
// centres, clipped plateaus taken at their centre.
#include <span>
#include <vector>

struct TPeakOptions {
  int SmoothHalfWidth = 2;      // Savitzky-Golay window of 2m + 1 rows (quadratic)
  double MinProminence = 0.03;  // as a fraction of the smoothed profile's range
  double MinWidth = 1.5;        // rows, full width at half prominence (a one-row spike smooths to about 2.3)
  int MaxPeaks = 0;             // 0: every peak; otherwise the most prominent ones
};

struct TPeak {
  double Centre = 0;      // sub-pixel row
  int Top = 0;            // row of the smoothed maximum
  double Height = 0;      // smoothed value at the top
  double Prominence = 0;  // height above the higher of the two bases
  double Width = 0;       // full width at half prominence, rows
  bool Saturated = false; // clipped pixels at the top, or a flat top in the profile
};

// Savitzky-Golay smoothing (quadratic, window 2m + 1); the ends repeat the first and last value.
std::vector<double> SmoothProfile(std::span<const double> profile, int halfWidth);

// Peaks ordered by centre. `clipped` (optional, one flag per row) marks rows holding clipped pixels.
std::vector<TPeak> FindPeaks(std::span<const double> profile, const TPeakOptions& options = {},
                             std::span<const unsigned char> clipped = {});
