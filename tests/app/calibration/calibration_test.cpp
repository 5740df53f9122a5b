#include <gtest/gtest.h>

#include <QFileInfo>
#include <cmath>
#include <random>
#include <vector>

#include "app/SpectrumRecord.h"
#include "app/calibration/Calibration.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"

namespace {
// A lamp profile: Gaussian lines (sigma in rows) over a sloping background, with noise, and a
// clip level (0 = none). `missing` lines are left out of the picture but kept in the line list.
struct TSynthetic {
  int Rows = 600;
  double C0 = 400, C1 = 0.5, C2 = 0;  // wavelength(row)
  double Sigma = 1.8;
  double Noise = 0;
  double Clip = 0;
  std::vector<double> Missing;
  unsigned Seed = 1;
};

double RowOf(const TSynthetic& s, double w) {
  if (s.C2 == 0) return (w - s.C0) / s.C1;
  return (-s.C1 + std::sqrt(s.C1 * s.C1 - 4 * s.C2 * (s.C0 - w))) / (2 * s.C2);
}

std::vector<double> Profile(const TSynthetic& s, const TLineList& lines) {
  std::vector<double> p(s.Rows);
  std::mt19937 rng(s.Seed);
  std::normal_distribution<double> noise(0, s.Noise > 0 ? s.Noise : 1);
  const double heights[] = {900, 2400, 700, 600, 3000, 1400, 1200, 2600};
  for (int r = 0; r < s.Rows; ++r) p[r] = 200 + 0.3 * r;
  for (std::size_t i = 0; i < lines.Lines.size(); ++i) {
    const double w = lines.Lines[i].Wavelength;
    if (std::find(s.Missing.begin(), s.Missing.end(), w) != s.Missing.end()) continue;
    const double c = RowOf(s, w), h = heights[i % 8];
    for (int r = 0; r < s.Rows; ++r) p[r] += h * std::exp(-0.5 * (r - c) * (r - c) / (s.Sigma * s.Sigma));
  }
  for (double& v : p) {
    if (s.Noise > 0) v += noise(rng);
    if (s.Clip > 0) v = std::min(v, s.Clip);
  }
  return p;
}

void ExpectGoodFit(const TCalibrationFit& fit, std::size_t minLines, double maxResidual) {
  EXPECT_GE(fit.Lines.size(), minLines);
  for (const TLineMatch& m : fit.Lines) {
    SCOPED_TRACE(m.Name.toStdString());
    EXPECT_LE(std::fabs(m.Residual), maxResidual) << "row " << m.Row;
  }
}

TSpectrumRecord Marks(int bx, int by, int rx, int ry, int band, double blue, double red) {
  TSpectrumRecord r;
  r.BlueX = bx, r.BlueY = by, r.RedX = rx, r.RedY = ry, r.BandWidth = band;
  r.BlueWavelength = blue, r.RedWavelength = red;
  return r;
}
}  // namespace


namespace {
// Guesses off by up to 30 nm at either end, around the ends each photograph really has.
void ExpectCalibratesFromPoorGuesses(const TBitmap& lamp, TSpectrumRecord marks, double blue, double red,
                                     std::size_t minLines) {
  for (double db : {-30.0, 0.0, 30.0})
    for (double dr : {-30.0, 0.0, 30.0}) {
      SCOPED_TRACE(testing::Message() << "guess " << blue + db << " / " << red + dr);
      marks.BlueWavelength = blue + db, marks.RedWavelength = red + dr;
      const TCalibrationResult r = CalibrateFromLamp(lamp, marks, CompactFluorescentLines());
      ASSERT_TRUE(r.Ok) << r.Message.toStdString();
      ExpectGoodFit(r.Quadratic, minLines, 0.5);
      // The same lines whatever the guess: the blue mercury line sits near the blue end.
      EXPECT_NEAR(r.Quadratic.Fit.At(0), blue, 3.0);
    }
}
}  // namespace

TEST(CalibrateFromLamp, CflPhotographFromPoorGuesses) {
  const QString path = QStringLiteral(LUMIO_SHARED_DATA "/cfl-lamp-1280x720.jpg");
  if (!QFileInfo::exists(path)) GTEST_SKIP() << "the shared photograph is not here";
  TDialogRecorder dialogs;
  const TPicture pic = LoadPictureFile(path);
  // The band runs from about 402 nm (Hg 404.66 near its start) to about 609 nm.
  ExpectCalibratesFromPoorGuesses(pic.Bitmap, Marks(241, 360, 814, 360, 99, 0, 0), 402, 609, 5);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(CalibrateFromLamp, WebcamPhotographFromPoorGuesses) {
  TDialogRecorder dialogs;
  const TPicture pic = LoadPictureFile(QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg"));
  // The README's marks; Hg 546.07 lies near x 250, row 140. This webcam shows four clean lines:
  // 576.96/579.07 run into the europium orange, and the faint violet rise at the band's start sits
  // 3 nm away from the scale the other four agree on, so it stays under the prominence threshold.
  ExpectCalibratesFromPoorGuesses(pic.Bitmap, Marks(110, 75, 414, 75, 5, 0, 0), 397, 716, 4);
  const TCalibrationResult r = CalibrateFromLamp(pic.Bitmap, Marks(110, 75, 414, 75, 5, 400, 720), CompactFluorescentLines());
  bool found546 = false;
  for (const TLineMatch& m : r.Quadratic.Lines)
    if (m.Wavelength == 546.07) {
      found546 = true;
      EXPECT_NEAR(m.Row, 140, 3);
    }
  EXPECT_TRUE(found546);
}

TEST(CalibrateProfile, SyntheticLampsWithKnownDispersion) {
  struct Case {
    const char* what;
    TSynthetic s;
    double guessBlue, guessRed;
    int degree;
  };
  TSynthetic linear;
  TSynthetic quadratic;
  quadratic.C0 = 395, quadratic.C1 = 0.42, quadratic.C2 = 1.6e-4;
  TSynthetic noisy = linear;
  noisy.Noise = 25, noisy.Sigma = 3.5;  // blur and noise
  TSynthetic clipped = quadratic;
  clipped.Clip = 2000, clipped.Noise = 5;  // three lines with flat tops
  TSynthetic missing = linear;
  missing.Missing = {487.7, 404.66};
  TSynthetic reversed = linear;  // red at the top of the picture
  reversed.C0 = 700, reversed.C1 = -0.5;
  for (const Case& c : std::initializer_list<Case>{
           {"linear", linear, 425, 675, 1},
           {"quadratic", quadratic, 370, 700, 2},
           {"noise and blur", noisy, 380, 730, 1},
           {"saturated lines", clipped, 420, 670, 2},
           {"missing lines", missing, 372, 728, 1},
           {"blue at the bottom", reversed, 725, 375, 1}}) {
    SCOPED_TRACE(c.what);
    const std::vector<double> p = Profile(c.s, CompactFluorescentLines());
    const TCalibrationResult r = CalibrateProfile(p, {}, c.guessBlue, c.guessRed, CompactFluorescentLines());
    ASSERT_TRUE(r.Ok) << r.Message.toStdString();
    const TCalibrationFit& fit = c.degree == 1 ? r.Linear : r.Quadratic;
    ExpectGoodFit(fit, 5, 0.5);
    for (double row : {0.0, 300.0, 599.0}) EXPECT_NEAR(fit.Fit.At(row), c.s.C0 + row * (c.s.C1 + row * c.s.C2), 0.6);
    int saturated = 0;
    for (const TLineMatch& m : fit.Lines) saturated += m.Saturated;
    EXPECT_EQ(saturated > 0, c.s.Clip > 0);
  }
}

TEST(CalibrateProfile, ExplainsWhyItCannotCalibrate) {
  TSynthetic s;
  const std::vector<double> p = Profile(s, CompactFluorescentLines());
  const TLineList& led = BuiltInLineLists()[2];
  EXPECT_FALSE(CalibrateProfile(p, {}, 400, 700, led).Ok);
  EXPECT_EQ(CalibrateProfile(p, {}, 400, 700, led).Message, led.Note);
  TLineList off = CompactFluorescentLines();
  for (TLampLine& l : off.Lines) l.Enabled = false;
  EXPECT_FALSE(CalibrateProfile(p, {}, 400, 700, off).Ok);
  const std::vector<double> flat(500, 100.0);
  const TCalibrationResult none = CalibrateProfile(flat, {}, 400, 700, CompactFluorescentLines());
  EXPECT_FALSE(none.Ok);
  EXPECT_FALSE(none.Message.isEmpty());
  EXPECT_FALSE(CalibrateProfile(p, {}, 500, 500, CompactFluorescentLines()).Ok);  // no scale at all
}

TEST(CalibrateProfile, SwitchedOffLinesAreNotMatched) {
  TSynthetic s;
  const std::vector<double> p = Profile(s, CompactFluorescentLines());
  TLineList list = CompactFluorescentLines();
  list.Lines[4].Enabled = false;  // Hg 546.07
  const TCalibrationResult r = CalibrateProfile(p, {}, 400, 700, list);
  ASSERT_TRUE(r.Ok);
  for (const TLineMatch& m : r.Linear.Lines) EXPECT_NE(m.Wavelength, 546.07);
  ExpectGoodFit(r.Linear, 5, 0.5);
}

TEST(FindPeaks, SubPixelCentresFlatTopsAndThresholds) {
  std::vector<double> p(200, 10.0);
  auto add = [&](double c, double h, double sigma) {
    for (int r = 0; r < 200; ++r) p[r] += h * std::exp(-0.5 * (r - c) * (r - c) / (sigma * sigma));
  };
  add(40.3, 1000, 2);
  add(100.0, 5000, 3);  // clipped below to a flat top
  add(150.7, 20, 2);    // below the prominence threshold
  p[170] += 600;        // a one-row spike: too narrow
  for (double& v : p) v = std::min(v, 3000.0);
  const std::vector<TPeak> peaks = FindPeaks(p);
  ASSERT_EQ(peaks.size(), 2u);
  EXPECT_NEAR(peaks[0].Centre, 40.3, 0.1);
  EXPECT_FALSE(peaks[0].Saturated);
  EXPECT_NEAR(peaks[1].Centre, 100.0, 0.01);
  EXPECT_TRUE(peaks[1].Saturated);
  // Clipped rows reported by the picture mark a peak saturated even without a flat top.
  std::vector<unsigned char> clipped(200, 0);
  clipped[40] = 1;
  EXPECT_TRUE(FindPeaks(p, {}, clipped)[0].Saturated);
  TPeakOptions one;
  one.MaxPeaks = 1;
  ASSERT_EQ(FindPeaks(p, one).size(), 1u);
  EXPECT_NEAR(FindPeaks(p, one)[0].Centre, 100.0, 0.01);
}

TEST(FindPeaks, CloseDoubletResolvedOrMatchedToItsMean) {
  // 576.96 and 579.07 nm: 4.2 rows apart at 0.5 nm a row are resolved, 1.4 rows at 1.5 nm are one peak.
  for (double perRow : {0.5, 1.5}) {
    SCOPED_TRACE(perRow);
    TSynthetic s;
    s.C0 = 400, s.C1 = perRow, s.Rows = static_cast<int>(330 / perRow), s.Sigma = perRow < 1 ? 1.2 : 1.5;
    const std::vector<double> p = Profile(s, CompactFluorescentLines());
    const TCalibrationResult r = CalibrateProfile(p, {}, 410, 410 + 330 + 20, CompactFluorescentLines());
    ASSERT_TRUE(r.Ok);
    int singles = 0, merged = 0;
    for (const TLineMatch& m : r.Linear.Lines) {
      if (m.Wavelength == 576.96 || m.Wavelength == 579.07) ++singles;
      if (std::fabs(m.Wavelength - (576.96 + 579.07) / 2) < 1e-9) ++merged;
    }
    if (perRow < 1) EXPECT_EQ(singles, 2);
    else EXPECT_EQ(merged, 1);
    ExpectGoodFit(r.Linear, 5, 0.5);
  }
}

TEST(FitPolynomial, RecoversCoefficientsAndRefusesTooFewRows) {
  const std::vector<double> x = {10, 200, 350, 800, 1000};
  std::vector<double> y;
  for (double r : x) y.push_back(390 + 0.31 * r + 2e-5 * r * r);
  const TPolynomialFit q = FitPolynomial(x, y, 2);
  ASSERT_TRUE(q.Valid);
  EXPECT_NEAR(q.C[0], 390, 1e-6);
  EXPECT_NEAR(q.C[1], 0.31, 1e-9);
  EXPECT_NEAR(q.C[2], 2e-5, 1e-12);
  EXPECT_FALSE(FitPolynomial(std::vector<double>{5, 5, 5}, std::vector<double>{1, 2, 3}, 1).Valid);
  EXPECT_FALSE(FitPolynomial(std::vector<double>{1, 2}, std::vector<double>{1, 2}, 2).Valid);
  double blue = 0, red = 0;
  TPolynomialFit l;
  l.C = {400, 0.5, 0};
  LinearEnds(l, 600, blue, red);
  EXPECT_EQ(blue, 400);
  EXPECT_EQ(red, 700);  // 400 + (700 - 400) i / 600 = 400 + 0.5 i
}
