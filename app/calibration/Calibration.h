#pragma once
// Wavelength calibration from a lamp's known lines: matching found peaks to lines without a good
// first guess, least-squares fits with outlier rejection.
#include <QString>
#include <array>
#include <span>
#include <vector>

#include "app/SpectrumRecord.h"
#include "app/calibration/LineLists.h"
#include "app/calibration/Peaks.h"

class TBitmap;
struct TSpectrumRecord;

// wavelength(row) = C[0] + C[1] row + C[2] row^2 (C[2] = 0 for a linear fit).
struct TPolynomialFit {
  int Degree = 1;
  std::array<double, 3> C{};
  bool Valid = false;
  double At(double row) const { return C[0] + row * (C[1] + row * C[2]); }
};

// Least squares of degree 1 or 2; not Valid with too few distinct rows.
TPolynomialFit FitPolynomial(std::span<const double> rows, std::span<const double> wavelengths, int degree);

struct TLineMatch {
  int Peak = -1;             // index into the peaks
  double Row = 0;            // the peak's centre
  double Wavelength = 0;     // known wavelength (the mean for a merged doublet)
  QString Name;              // "Hg 546.07", "Hg 576.96+579.07"
  bool Saturated = false;
  double Fitted = 0;         // the fit's wavelength at Row
  double Residual = 0;       // Fitted - Wavelength
};

struct TCalibrationFit {
  TPolynomialFit Fit;
  std::vector<TLineMatch> Lines;     // used in the fit
  std::vector<TLineMatch> Rejected;  // matched, then rejected as outliers
  double Rms = 0;
};

struct TCalibrationOptions {
  TPeakOptions Peaks;
  double MaxGuessError = 45;  // nm the first guess may be off at either end
  double MergeGap = 3.5;      // lines closer than this (nm) may show as one peak, matched to their mean
  int StrongPeaks = 10;       // peaks paired when trying assignments
};

struct TCalibrationResult {
  std::vector<double> Rows;  // extracted profile (total), one entry per row
  std::vector<double> Red, Green, Blue;
  std::vector<unsigned char> Clipped;  // rows with a clipped pixel in the band
  std::vector<TPeak> Peaks;
  TCalibrationFit Linear, Quadratic;
  bool Ok = false;
  QString Message;  // why there is no calibration
};

// Matches the profile's peaks to the enabled lines, starting from the first-guess linear scale
// guessBlue + (guessRed - guessBlue) row / rows, and fits linear and quadratic scales.
TCalibrationResult CalibrateProfile(std::span<const double> profile, std::span<const unsigned char> clipped,
                                    double guessBlue, double guessRed, const TLineList& lines,
                                    const TCalibrationOptions& options = {});

// Extracts the band of `lamp` marked by `marks` (ends, band width, wavelengths as first guess) as
// Make Plot does, and calibrates it against `lines`.
TCalibrationResult CalibrateFromLamp(const TBitmap& lamp, const TSpectrumRecord& marks, const TLineList& lines,
                                     const TCalibrationOptions& options = {});

// The blue and red wavelengths whose linear rule blue + (red - blue) i / rows equals the fit.
void LinearEnds(const TPolynomialFit& fit, int rows, double& blue, double& red);

// The wavelengths an accepted fit gives a side's blue and red boxes: the linear rule's ends, or
// the quadratic scale's at row 0 and `rows`. False when the fit is not valid, leaves 200 to
// 999.9 nm, runs backwards, or (quadratic) does not rise over the whole profile.
bool CalibratedEnds(const TPolynomialFit& fit, int rows, double& blue, double& red);
inline constexpr const char* kCalibrationOutOfRangeMessage =
    "The fitted scale runs outside 200 to 999.9 nm or backwards; the calibration was not changed.";

// Rows of the marked band with a clipped (255) component, per colour (TBandClipping is declared
// with the extraction, which can find them in the same pass).
TBandClipping BandClipping(const TBitmap& picture, const TSpectrumRecord& record);
