#pragma once
// Transmittance and absorbance of the sample against the reference.
#include <cstdint>
#include <vector>

#include "app/SpectrumRecord.h"

struct TTransmittanceResult {
  double OverlapMin = 0;
  double OverlapMax = 0;
  std::int32_t PointCount = 0;
  std::vector<double> Wavelength = std::vector<double>(SpectrumCapacity, 0.0);
  std::vector<double> Transmittance = std::vector<double>(SpectrumCapacity, 0.0);
  std::vector<double> Absorbance = std::vector<double>(SpectrumCapacity, 0.0);

  // Entries the arrays hold (at least SpectrumCapacity).
  int Capacity() const { return static_cast<int>(Wavelength.size()); }
  // Grows the three arrays to hold `points` entries; new entries are 0, old ones are kept.
  void EnsureCapacity(int points);
};

// Divides the sample's totals by the reference's over their common wavelength range and takes the
// decadic absorbance. The grid of the profile with fewer points in that range is used and the
// other profile is interpolated onto it; equal counts are divided point by point. Shows its
// messages through the platform's message box; a computation that stops keeps the previous
// arrays. A vanishing reference total in reference-grid mode is replaced by 0.01 in `reference`.
void ComputeTransmittance(TSpectrumRecord& sample, TSpectrumRecord& reference, TTransmittanceResult& result);

// The absorbance written for a transmittance that is not positive.
inline constexpr double kAbsorbanceMarker = -0.12345;
// The transmittance given to a point whose reference is not positive.
inline constexpr double kNoReferenceTransmittance = 2.0;

inline constexpr const char* kOverlapMessage =
    "Overlapping wavelength range of sample and reference < 2 nm.  No computation of transmission or absorption spectrum.";
inline constexpr const char* kInconsistentMessage =
    "Inconsistent spectral data; could not compute transmittance or absorbance.";
inline constexpr const char* kIdenticalWavelengthsMessage = "Two adjacent sample spectrum wavelengths are identical.";

// The points of a result that hold values: PointCount, held to what its arrays really hold.
int ResultPoints(const TTransmittanceResult& result);
