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
};
