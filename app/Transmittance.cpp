#include "app/Transmittance.h"

#include <algorithm>
#include <cmath>

#include "platform/Dialogs.h"

void TTransmittanceResult::EnsureCapacity(int points) {
  if (points <= Capacity()) return;
  const auto n = static_cast<std::size_t>(points);
  for (std::vector<double>* a : {&Wavelength, &Transmittance, &Absorbance}) a->resize(n, 0.0);
}

namespace {
// Tolerance for two wavelengths to count as the same, and the margin above the blue wavelength
// at which its scan gives up (nm).
constexpr double kSameWavelength = 0.01;
constexpr double kScanLimit = 0.02;
// A reference total below this floor is replaced by kReferenceFloorTotal.
constexpr double kReferenceFloor = 1e-50;
constexpr double kReferenceFloorTotal = 0.01;

int CountInRange(const std::vector<double>& w, double lo, double hi) {
  return static_cast<int>(std::count_if(w.begin(), w.end(), [&](double v) { return lo <= v && v <= hi; }));
}

// The record's wavelength scale must hold its blue wavelength before it has risen past it.
bool ScaleStartsAtBlue(const TSpectrumRecord& r) {
  for (double v : r.Wavelength) {
    if (std::abs(v - r.BlueWavelength) < kSameWavelength) return true;
    if (v > r.BlueWavelength + kScanLimit) return false;
  }
  return false;
}

// Index of the first of the `count` entries of the record that lie in [lo, hi]. They must be
// valid rows and follow one another, as they do after an extraction; false otherwise.
bool FirstInRange(const TSpectrumRecord& r, int count, double lo, double hi, int& first) {
  first = 0;
  if (count == 0) return true;
  const std::vector<double>& w = r.Wavelength;
  const int rows = ProfileRows(r);
  int i = 0;
  while (i < rows && !(lo <= w[static_cast<std::size_t>(i)] && w[static_cast<std::size_t>(i)] <= hi)) ++i;
  if (i + count > rows) return false;
  for (int k = i; k < i + count; ++k) {
    const double v = w[static_cast<std::size_t>(k)];
    if (!(lo <= v && v <= hi)) return false;
  }
  first = i;
  return true;
}

// Value of the profile (w, total, its valid rows) at wavelength x, given j as advanced to the
// first row at or above x (or the last row). An exact match takes the row itself; otherwise the
// pair j-1, j is interpolated, and a point outside the profile is extrapolated from the nearest
// pair. Two equal wavelengths in the pair take the total at j.
double ProfileAt(const std::vector<double>& w, const std::vector<double>& total, int rows, int j, double x) {
  const auto at = [](const std::vector<double>& a, int i) { return a[static_cast<std::size_t>(i)]; };
  if (std::abs(at(w, j) - x) < kSameWavelength) return at(total, j);
  if (rows == 1) return at(total, 0);
  const int hi = std::max(j, 1);
  const double x0 = at(w, hi - 1), x1 = at(w, hi);
  if (x1 == x0) return at(total, j);
  const double y0 = at(total, hi - 1), y1 = at(total, hi);
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

void AdvanceTo(const std::vector<double>& w, int rows, double x, int& j) {
  while (j < rows - 1 && w[static_cast<std::size_t>(j)] < x) ++j;
}

void Store(TTransmittanceResult& result, int n, double wavelength, double t) {
  // Nothing undefined reaches the result: a quotient that overflowed counts as having no usable
  // reference.
  if (!std::isfinite(t)) t = kNoReferenceTransmittance;
  const auto i = static_cast<std::size_t>(n);
  result.Wavelength[i] = wavelength;
  result.Transmittance[i] = t;
  result.Absorbance[i] = t > 0 ? -std::log(t) / std::log(10.0) : kAbsorbanceMarker;
}
}  // namespace

void ComputeTransmittance(TSpectrumRecord& S, TSpectrumRecord& R, TTransmittanceResult& result) {
  result.OverlapMin = std::max(S.BlueWavelength, R.BlueWavelength);
  result.OverlapMax = std::min(S.RedWavelength, R.RedWavelength);
  const double lo = result.OverlapMin, hi = result.OverlapMax;
  if (hi - lo < 2.0) {
    ShowMessage(QString::fromLatin1(kOverlapMessage));
    return;
  }

  const int nS = CountInRange(S.Wavelength, lo, hi);
  const int nR = CountInRange(R.Wavelength, lo, hi);
  enum { ReferenceGrid, SampleGrid, Paired } mode = nR < nS ? ReferenceGrid : (nS < nR ? SampleGrid : Paired);
  const int count = std::min(nS, nR);
  result.PointCount = count;
  result.EnsureCapacity(std::max({count, S.Capacity(), R.Capacity()}));

  // The grid starts at the first entry inside the common range of each profile, so that profiles
  // with different blue wavelengths are compared at the same wavelengths.
  int firstS = 0, firstR = 0;
  const bool scaleOk = ScaleStartsAtBlue(mode == ReferenceGrid ? S : R);
  if (!scaleOk || !FirstInRange(S, nS, lo, hi, firstS) || !FirstInRange(R, nR, lo, hi, firstR)) {
    ShowMessage(QString::fromLatin1(kInconsistentMessage));
    return;
  }

  const int rowsS = ProfileRows(S), rowsR = ProfileRows(R);
  switch (mode) {
    case ReferenceGrid: {
      int j = 0;
      for (int n = 0; n < count; ++n) {
        const auto k = static_cast<std::size_t>(firstR + n);
        const double x = R.Wavelength[k];
        AdvanceTo(S.Wavelength, rowsS, x, j);
        if (R.TotalSum[k] < kReferenceFloor) R.TotalSum[k] = kReferenceFloorTotal;
        const auto uj = static_cast<std::size_t>(j);
        double s;
        if (j >= 1 && S.Wavelength[uj] == S.Wavelength[uj - 1]) {
          ShowMessage(QString::fromLatin1(kIdenticalWavelengthsMessage));
          s = S.TotalSum[uj];
        } else {
          s = ProfileAt(S.Wavelength, S.TotalSum, rowsS, j, x);
        }
        Store(result, n, x, s / R.TotalSum[k]);
      }
      break;
    }
    case SampleGrid: {
      int j = 0;
      for (int n = 0; n < count; ++n) {
        const auto k = static_cast<std::size_t>(firstS + n);
        const double x = S.Wavelength[k];
        AdvanceTo(R.Wavelength, rowsR, x, j);
        const double r = ProfileAt(R.Wavelength, R.TotalSum, rowsR, j, x);
        Store(result, n, x, r > 0 ? S.TotalSum[k] / r : kNoReferenceTransmittance);
      }
      break;
    }
    case Paired:
      for (int n = 0; n < count; ++n) {
        const auto ks = static_cast<std::size_t>(firstS + n), kr = static_cast<std::size_t>(firstR + n);
        const double r = R.TotalSum[kr];
        Store(result, n, S.Wavelength[ks], r > 0 ? S.TotalSum[ks] / r : kNoReferenceTransmittance);
      }
      break;
  }
}

int ResultPoints(const TTransmittanceResult& result) {
  return std::clamp(result.PointCount, 0, std::min({result.Capacity(), static_cast<int>(result.Transmittance.size()),
                                                    static_cast<int>(result.Absorbance.size())}));
}
