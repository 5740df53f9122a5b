#include "app/calibration/Peaks.h"

#include <algorithm>
#include <cmath>

std::vector<double> SmoothProfile(std::span<const double> profile, int halfWidth) {
  const int n = static_cast<int>(profile.size());
  const int m = std::max(0, halfWidth);
  if (m == 0 || n == 0) return {profile.begin(), profile.end()};
  // Quadratic Savitzky-Golay weights: (3(3m^2 + 3m - 1) - 15 i^2) / ((2m + 1)(4m^2 + 4m - 3)).
  std::vector<double> w(2 * m + 1);
  const double norm = (2.0 * m + 1) * (4.0 * m * m + 4.0 * m - 3);
  for (int i = -m; i <= m; ++i) w[i + m] = (3.0 * (3.0 * m * m + 3.0 * m - 1) - 15.0 * i * i) / norm;
  std::vector<double> out(n);
  for (int r = 0; r < n; ++r) {
    double s = 0;
    if (r >= m && r + m < n) {
      for (int i = -m; i <= m; ++i) s += w[i + m] * profile[r + i];
    } else {
      for (int i = -m; i <= m; ++i) s += w[i + m] * profile[std::clamp(r + i, 0, n - 1)];
    }
    out[r] = s;
  }
  return out;
}

namespace {
// Where the profile falls below `level` walking from `top` in direction `step`, interpolated.
double Crossing(std::span<const double> s, int top, int step, double level) {
  const int n = static_cast<int>(s.size());
  int k = top;
  while (k + step >= 0 && k + step < n && s[k + step] >= level) k += step;
  if (k + step < 0 || k + step >= n) return k;
  const double a = s[k], b = s[k + step];
  const double f = a == b ? 0.0 : (a - level) / (a - b);
  return k + step * f;
}

// Vertex of the least-squares parabola through rows top - h .. top + h, held to that span.
double ParabolaCentre(const std::vector<double>& s, int top, int h) {
  const int n = static_cast<int>(s.size());
  h = std::min({h, top, n - 1 - top});
  if (h < 1) return top;
  // Symmetric offsets: the odd sums vanish, so the fit splits into two small sums.
  double s0 = 0, s2 = 0, s4 = 0, y0 = 0, y1 = 0, y2 = 0;
  for (int i = -h; i <= h; ++i) {
    const double y = s[top + i], x = i;
    s0 += 1, s2 += x * x, s4 += x * x * x * x;
    y0 += y, y1 += x * y, y2 += x * x * y;
  }
  const double b = y1 / s2;
  const double det = s4 * s0 - s2 * s2;
  if (det == 0) return top;
  const double c = (y2 * s0 - s2 * y0) / det;
  if (c >= 0) return top;
  return top + std::clamp(-b / (2 * c), -static_cast<double>(h), static_cast<double>(h));
}
}  // namespace

std::vector<TPeak> FindPeaks(std::span<const double> profile, const TPeakOptions& options,
                             std::span<const unsigned char> clipped) {
  const int n = static_cast<int>(profile.size());
  std::vector<TPeak> peaks;
  if (n < 3) return peaks;
  const std::vector<double> s = SmoothProfile(profile, options.SmoothHalfWidth);
  const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
  const double range = *hi - *lo;
  if (!(range > 0)) return peaks;
  const double minProminence = options.MinProminence * range;

  for (int i = 1; i < n - 1; ++i) {
    if (!(s[i] > s[i - 1])) continue;
    int j = i;
    while (j + 1 < n && s[j + 1] == s[i]) ++j;
    if (j + 1 >= n || !(s[j + 1] < s[i])) { i = j; continue; }
    const int top = (i + j) / 2;
    const double height = s[top];
    i = j;
    // Bases: the lowest point on each side before the profile rises above this peak.
    double leftMin = height, rightMin = height;
    for (int k = top - 1; k >= 0 && s[k] <= height; --k) leftMin = std::min(leftMin, s[k]);
    for (int k = top + 1; k < n && s[k] <= height; ++k) rightMin = std::min(rightMin, s[k]);
    const double prominence = height - std::max(leftMin, rightMin);
    if (prominence < minProminence) continue;
    const double level = height - prominence / 2;
    const double left = Crossing(s, top, -1, level), right = Crossing(s, top, +1, level);
    // Width on the unsmoothed profile, where a one-row spike stays one row wide.
    const double rawLevel = 0.5 * (profile[top] + height - prominence);
    const double width = Crossing(profile, top, +1, rawLevel) - Crossing(profile, top, -1, rawLevel);
    if (width < options.MinWidth) continue;

    TPeak p;
    p.Top = top, p.Height = height, p.Prominence = prominence, p.Width = width;
    // Clipped rows near the top, or a flat run at the raw maximum, mark a saturated line.
    const int from = std::max(0, static_cast<int>(std::floor(left))), to = std::min(n - 1, static_cast<int>(std::ceil(right)));
    int rawTop = from;
    for (int k = from; k <= to; ++k)
      if (profile[k] > profile[rawTop]) rawTop = k;
    int flatL = rawTop, flatR = rawTop;
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(profile[rawTop]));
    while (flatL - 1 >= from && std::fabs(profile[flatL - 1] - profile[rawTop]) <= tolerance) --flatL;
    while (flatR + 1 <= to && std::fabs(profile[flatR + 1] - profile[rawTop]) <= tolerance) ++flatR;
    bool clippedTop = false;
    if (!clipped.empty())
      for (int k = std::max(from, top - 1); k <= std::min(to, top + 1) && k < static_cast<int>(clipped.size()); ++k)
        clippedTop = clippedTop || clipped[k] != 0;
    p.Saturated = clippedTop || flatR - flatL >= 2;
    if (p.Saturated) {
      // A clipped top has no shape to fit: the middle of the flanks at half height is its centre.
      p.Centre = flatR - flatL >= 2 ? 0.5 * (flatL + flatR) : 0.5 * (left + right);
    } else {
      const int h = std::clamp(static_cast<int>(std::lround(width / 4)), 1, 3);
      p.Centre = ParabolaCentre(s, top, h);
    }
    peaks.push_back(p);
  }
  if (options.MaxPeaks > 0 && static_cast<int>(peaks.size()) > options.MaxPeaks) {
    std::nth_element(peaks.begin(), peaks.begin() + options.MaxPeaks, peaks.end(),
                     [](const TPeak& a, const TPeak& b) { return a.Prominence > b.Prominence; });
    peaks.resize(options.MaxPeaks);
    std::sort(peaks.begin(), peaks.end(), [](const TPeak& a, const TPeak& b) { return a.Centre < b.Centre; });
  }
  return peaks;
}
