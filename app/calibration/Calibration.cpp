#include "app/calibration/Calibration.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/SpectrumRecord.h"
#include "platform/Bitmap.h"

TPolynomialFit FitPolynomial(std::span<const double> rows, std::span<const double> wavelengths, int degree) {
  TPolynomialFit fit;
  fit.Degree = degree;
  const std::size_t n = std::min(rows.size(), wavelengths.size());
  if (n < static_cast<std::size_t>(degree + 1) || degree < 1 || degree > 2) return fit;
  // Rows are centred and scaled before the normal equations, which keeps them well conditioned.
  double mean = 0;
  for (std::size_t i = 0; i < n; ++i) mean += rows[i];
  mean /= n;
  double scale = 0;
  for (std::size_t i = 0; i < n; ++i) scale = std::max(scale, std::fabs(rows[i] - mean));
  if (scale == 0) return fit;
  const int m = degree + 1;
  double A[3][4] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const double t = (rows[i] - mean) / scale;
    const double p[3] = {1, t, t * t};
    for (int r = 0; r < m; ++r) {
      for (int c = 0; c < m; ++c) A[r][c] += p[r] * p[c];
      A[r][m] += p[r] * wavelengths[i];
    }
  }
  for (int c = 0; c < m; ++c) {  // Gauss-Jordan with partial pivoting
    int piv = c;
    for (int r = c + 1; r < m; ++r)
      if (std::fabs(A[r][c]) > std::fabs(A[piv][c])) piv = r;
    if (std::fabs(A[piv][c]) < 1e-12 * n) return fit;
    for (int k = 0; k <= m; ++k) std::swap(A[c][k], A[piv][k]);
    for (int r = 0; r < m; ++r) {
      if (r == c) continue;
      const double f = A[r][c] / A[c][c];
      for (int k = c; k <= m; ++k) A[r][k] -= f * A[c][k];
    }
  }
  double q[3] = {};
  for (int r = 0; r < m; ++r) q[r] = A[r][m] / A[r][r];
  // Back to powers of the row itself: t = (row - mean) / scale.
  const double a = q[0], b = q[1] / scale, c = q[2] / (scale * scale);
  fit.C = {a - b * mean + c * mean * mean, b - 2 * c * mean, c};
  fit.Valid = std::isfinite(fit.C[0]) && std::isfinite(fit.C[1]) && std::isfinite(fit.C[2]);
  return fit;
}

void LinearEnds(const TPolynomialFit& fit, int rows, double& blue, double& red) {
  blue = fit.C[0];
  red = fit.C[0] + fit.C[1] * rows;
}

namespace {
// A wavelength a peak can be matched to: one line, or the mean of two close lines.
struct TTarget {
  double Wavelength;
  int A, B;  // line indices; B = -1 for a single line
};

struct TModel {
  TPolynomialFit Fit;
  double Slope(double row) const { return Fit.C[1] + 2 * Fit.C[2] * row; }
};

std::vector<TTarget> Targets(const std::vector<TLampLine>& lines, double mergeGap) {
  std::vector<TTarget> t;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    if (lines[i].Enabled) t.push_back({lines[i].Wavelength, i, -1});
  const std::size_t singles = t.size();
  for (std::size_t i = 0; i < singles; ++i)
    for (std::size_t j = i + 1; j < singles; ++j)
      if (std::fabs(t[i].Wavelength - t[j].Wavelength) < mergeGap)
        t.push_back({0.5 * (t[i].Wavelength + t[j].Wavelength), t[i].A, t[j].A});
  std::sort(t.begin(), t.end(), [](const TTarget& x, const TTarget& y) { return x.Wavelength < y.Wavelength; });
  return t;
}

// Index of the target nearest to w (targets sorted).
int Nearest(const std::vector<TTarget>& t, double w) {
  auto it = std::lower_bound(t.begin(), t.end(), w, [](const TTarget& x, double v) { return x.Wavelength < v; });
  int k = static_cast<int>(it - t.begin());
  if (k == static_cast<int>(t.size())) return k - 1;
  if (k > 0 && w - t[k - 1].Wavelength < t[k].Wavelength - w) return k - 1;
  return k;
}

bool Shares(const TTarget& x, const TTarget& y) {
  return x.A == y.A || (y.B >= 0 && x.A == y.B) || (x.B >= 0 && (x.B == y.A || x.B == y.B));
}

struct TPair {
  int Peak, Target;
};

// Each peak to its nearest target within tol; a target (or a line inside a merged target) goes to
// the closest peak only.
std::vector<TPair> Assign(const std::vector<TPeak>& peaks, const std::vector<TTarget>& targets, const TModel& model,
                          double tolRows) {
  struct TCand {
    int Peak, Target;
    double Distance;
  };
  std::vector<TCand> cands;
  for (int p = 0; p < static_cast<int>(peaks.size()); ++p) {
    const double w = model.Fit.At(peaks[p].Centre);
    const double tol = tolRows * std::fabs(model.Slope(peaks[p].Centre));
    const int k = Nearest(targets, w);
    for (int j = std::max(0, k - 2); j <= std::min(static_cast<int>(targets.size()) - 1, k + 2); ++j) {
      const double d = std::fabs(targets[j].Wavelength - w);
      if (d <= tol) cands.push_back({p, j, d});
    }
  }
  std::sort(cands.begin(), cands.end(), [](const TCand& a, const TCand& b) { return a.Distance < b.Distance; });
  std::vector<TPair> pairs;
  std::vector<char> peakUsed(peaks.size(), 0);
  for (const TCand& c : cands) {
    if (peakUsed[c.Peak]) continue;
    bool clash = false;
    for (const TPair& q : pairs) clash = clash || Shares(targets[q.Target], targets[c.Target]);
    if (clash) continue;
    peakUsed[c.Peak] = 1;
    pairs.push_back({c.Peak, c.Target});
  }
  return pairs;
}

QString TargetName(const std::vector<TLampLine>& lines, const TTarget& t) {
  if (t.B < 0) return lines[t.A].Name + QLatin1Char(' ') + QString::number(lines[t.A].Wavelength, 'f', 2);
  return lines[t.A].Name + QLatin1Char(' ') + QString::number(lines[t.A].Wavelength, 'f', 2) + QLatin1Char('+') +
         QString::number(lines[t.B].Wavelength, 'f', 2);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Fits and drops the worst line while it lies far outside the others' scatter.
TCalibrationFit FitWithRejection(std::vector<TLineMatch> lines, int degree) {
  TCalibrationFit out;
  for (;;) {
    std::vector<double> x, y;
    for (const TLineMatch& m : lines) x.push_back(m.Row), y.push_back(m.Wavelength);
    out.Fit = FitPolynomial(x, y, degree);
    if (!out.Fit.Valid) break;
    std::vector<double> abs;
    int worst = -1;
    double worstAbs = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
      lines[i].Fitted = out.Fit.At(lines[i].Row);
      lines[i].Residual = lines[i].Fitted - lines[i].Wavelength;
      abs.push_back(std::fabs(lines[i].Residual));
      if (abs.back() > worstAbs) worstAbs = abs.back(), worst = i;
    }
    // A robust scatter (median absolute residual); a floor of a quarter row keeps good lines
    // when the others agree almost exactly.
    const double sigma = 1.4826 * Median(abs);
    const double floor = 0.25 * std::fabs(out.Fit.C[1]);
    const bool canDrop = static_cast<int>(lines.size()) > degree + 3;
    if (!canDrop || worstAbs <= std::max(4 * sigma, floor)) break;
    out.Rejected.push_back(lines[worst]);
    lines.erase(lines.begin() + worst);
  }
  double ss = 0;
  for (const TLineMatch& m : lines) ss += m.Residual * m.Residual;
  out.Rms = lines.empty() ? 0 : std::sqrt(ss / lines.size());
  out.Lines = std::move(lines);
  return out;
}
}  // namespace

TCalibrationResult CalibrateProfile(std::span<const double> profile, std::span<const unsigned char> clipped,
                                    double guessBlue, double guessRed, const TLineList& list,
                                    const TCalibrationOptions& options) {
  TCalibrationResult result;
  result.Rows.assign(profile.begin(), profile.end());
  result.Clipped.assign(clipped.begin(), clipped.end());
  result.Linear.Fit.Degree = 1;
  result.Quadratic.Fit.Degree = 2;
  const int rows = static_cast<int>(profile.size());
  result.Peaks = FindPeaks(profile, options.Peaks, clipped);
  const std::vector<TTarget> targets = Targets(list.Lines, options.MergeGap);
  if (targets.empty()) {
    result.Message = list.Note.isEmpty() ? QStringLiteral("The line list has no lines switched on.") : list.Note;
    return result;
  }
  if (rows < 2 || result.Peaks.size() < 2) {
    result.Message = QStringLiteral("Too few peaks in the marked band to calibrate.");
    return result;
  }
  const std::vector<TPeak>& peaks = result.Peaks;
  const double guessSlope = (guessRed - guessBlue) / rows;
  if (!(std::fabs(guessSlope) > 0) || !std::isfinite(guessSlope)) {
    result.Message = QStringLiteral("The blue and red wavelengths must differ to start the calibration.");
    return result;
  }

  // Try every pair of strong peaks against every pair of targets whose spacing gives a plausible
  // scale near the first guess; keep the scale under which the most peaks meet a line.
  std::vector<int> strong(peaks.size());
  for (int i = 0; i < static_cast<int>(peaks.size()); ++i) strong[i] = i;
  std::sort(strong.begin(), strong.end(), [&](int a, int b) { return peaks[a].Prominence > peaks[b].Prominence; });
  if (static_cast<int>(strong.size()) > options.StrongPeaks) strong.resize(options.StrongPeaks);
  std::sort(strong.begin(), strong.end());
  double maxProminence = 0;
  for (const TPeak& p : peaks) maxProminence = std::max(maxProminence, p.Prominence);
  std::vector<double> weight(peaks.size());
  for (std::size_t i = 0; i < peaks.size(); ++i) weight[i] = 0.5 + std::sqrt(peaks[i].Prominence / maxProminence);

  struct THypothesis {
    double Score, A, B;
  };
  std::vector<THypothesis> hypotheses;
  const double hypothesisTol = 5.0;  // rows: wide enough for a curved scale between the pair
  for (std::size_t i = 0; i < strong.size(); ++i)
    for (std::size_t j = i + 1; j < strong.size(); ++j) {
      const double xi = peaks[strong[i]].Centre, xj = peaks[strong[j]].Centre;
      if (xj - xi < 2) continue;
      for (std::size_t k = 0; k < targets.size(); ++k)
        for (std::size_t m = k + 1; m < targets.size(); ++m) {
          if (Shares(targets[k], targets[m])) continue;
          // Lines ordered like the guess: rising wavelength with the row when the guess rises.
          const double lk = guessSlope >= 0 ? targets[k].Wavelength : targets[m].Wavelength;
          const double lm = guessSlope >= 0 ? targets[m].Wavelength : targets[k].Wavelength;
          const double b = (lm - lk) / (xj - xi);
          if (b / guessSlope < 0.7 || b / guessSlope > 1.4) continue;
          const double a = lk - b * xi;
          if (std::fabs(a - guessBlue) > options.MaxGuessError || std::fabs(a + b * rows - guessRed) > options.MaxGuessError)
            continue;
          const double tol = hypothesisTol * std::fabs(b);
          double score = 0;
          for (std::size_t p = 0; p < peaks.size(); ++p) {
            const double w = a + b * peaks[p].Centre;
            const double d = std::fabs(targets[Nearest(targets, w)].Wavelength - w) / tol;
            if (d < 1) score += weight[p] * (1 - d * d);
          }
          hypotheses.push_back({score, a, b});
        }
    }
  if (hypotheses.empty()) {
    result.Message = QStringLiteral("No assignment of the peaks to the lamp's lines fits the first guess.");
    return result;
  }
  const std::size_t keep = std::min<std::size_t>(hypotheses.size(), 24);
  std::partial_sort(hypotheses.begin(), hypotheses.begin() + keep, hypotheses.end(),
                    [](const THypothesis& x, const THypothesis& y) { return x.Score > y.Score; });

  // Refine the best few: match, fit, match again with a tighter tolerance, with curvature once
  // enough lines agree; keep the one whose final scale meets the most peaks closely.
  double bestScore = -1;
  TModel best;
  std::vector<TPair> pairs;
  for (std::size_t h = 0; h < keep; ++h) {
    TModel model;
    model.Fit.Degree = 1, model.Fit.Valid = true, model.Fit.C = {hypotheses[h].A, hypotheses[h].B, 0};
    std::vector<TPair> found;
    for (double tolRows : {5.0, 4.0, 3.0, 2.0, 2.0}) {
      found = Assign(peaks, targets, model, tolRows);
      std::vector<double> x, y;
      for (const TPair& q : found) x.push_back(peaks[q.Peak].Centre), y.push_back(targets[q.Target].Wavelength);
      TPolynomialFit next = FitPolynomial(x, y, found.size() >= 5 ? 2 : 1);
      // A curve whose slope turns within the profile is no spectrometer's scale.
      if (next.Valid && next.Degree == 2 && (next.C[1] * (next.C[1] + 2 * next.C[2] * rows) <= 0)) next.Valid = false;
      if (!next.Valid) break;
      model.Fit = next;
    }
    found = Assign(peaks, targets, model, 2.0);
    double score = 0;
    for (const TPair& q : found) {
      const double d = std::fabs(model.Fit.At(peaks[q.Peak].Centre) - targets[q.Target].Wavelength) /
                       (2.0 * std::fabs(model.Slope(peaks[q.Peak].Centre)));
      score += weight[q.Peak] * (1 - d * d);
    }
    if (score > bestScore) bestScore = score, best = model, pairs = found;
  }
  std::vector<TLineMatch> matches;
  for (const TPair& q : pairs) {
    TLineMatch m;
    m.Peak = q.Peak, m.Row = peaks[q.Peak].Centre, m.Wavelength = targets[q.Target].Wavelength;
    m.Name = TargetName(list.Lines, targets[q.Target]);
    m.Saturated = peaks[q.Peak].Saturated;
    matches.push_back(m);
  }
  std::sort(matches.begin(), matches.end(), [](const TLineMatch& a, const TLineMatch& b) { return a.Row < b.Row; });
  result.Linear = FitWithRejection(matches, 1);
  result.Quadratic = FitWithRejection(matches, 2);
  result.Ok = result.Linear.Fit.Valid && result.Linear.Lines.size() >= 2;
  if (!result.Ok) result.Message = QStringLiteral("Too few lines matched to calibrate.");
  return result;
}

TBandClipping BandClipping(const TBitmap& picture, const TSpectrumRecord& record) {
  TBandClipping out;
  const int W = picture.Width(), H = picture.Height();
  if (picture.Empty() || W <= 0 || H <= 0 || record.BlueY < 0) return out;
  const TExtractionGeometry g = ExtractionGeometry(W, H, record);
  const std::int64_t rows = std::max<std::int64_t>(g.LastRow - record.BlueY + 1, 0);
  out.Rows.assign(static_cast<std::size_t>(rows), 0);
  for (std::int64_t i = 0; i < rows; ++i) {
    const std::int64_t yr = record.BlueY + i;
    if (yr < 0 || yr >= g.D) continue;
    unsigned char flags = 0;
    ForEachBandPixel(g, record, W, H, yr, [&](int sx, int sy) {
      int r = 0, gr = 0, b = 0;
      ReadPixel(picture, sx, sy, r, gr, b);
      flags |= (r >= 255 ? 1 : 0) | (gr >= 255 ? 2 : 0) | (b >= 255 ? 4 : 0);
    });
    out.Rows[static_cast<std::size_t>(i)] = flags;
    out.RedRows += flags & 1 ? 1 : 0;
    out.GreenRows += flags & 2 ? 1 : 0;
    out.BlueRows += flags & 4 ? 1 : 0;
  }
  return out;
}

TCalibrationResult CalibrateFromLamp(const TBitmap& lamp, const TSpectrumRecord& marks, const TLineList& lines,
                                     const TCalibrationOptions& options) {
  TSpectrumRecord record = marks;
  for (QLineEdit*& box : record.Binding) box = nullptr;
  record.RowCount = 0;
  ExtractSpectrum(lamp, record);
  const int rows = ProfileRows(record);
  const TBandClipping clipping = BandClipping(lamp, record);
  std::vector<unsigned char> clipped(clipping.Rows.begin(), clipping.Rows.end());
  clipped.resize(static_cast<std::size_t>(rows), 0);
  TCalibrationResult result = CalibrateProfile(std::span<const double>(record.TotalSum.data(), rows), clipped,
                                               marks.BlueWavelength, marks.RedWavelength, lines, options);
  result.Red.assign(record.RedSum.begin(), record.RedSum.begin() + rows);
  result.Green.assign(record.GreenSum.begin(), record.GreenSum.begin() + rows);
  result.Blue.assign(record.BlueSum.begin(), record.BlueSum.begin() + rows);
  return result;
}

bool CalibratedEnds(const TPolynomialFit& fit, int rows, double& blue, double& red) {
  if (!fit.Valid || rows <= 0) return false;
  if (fit.Degree >= 2) {
    blue = fit.At(0), red = fit.At(rows);
    // The scale must rise over the whole profile, or rows would share wavelengths.
    if (fit.C[1] <= 0 || fit.C[1] + 2 * fit.C[2] * rows <= 0) return false;
  } else {
    LinearEnds(fit, rows, blue, red);
  }
  return std::isfinite(blue) && std::isfinite(red) && blue >= 200.0 && red <= 999.9 && red >= blue + 1;
}
