// Transmittance and absorbance: the three modes on hand-computable profiles, the messages, the
// reference floor, the absorbance marker and the guards against undefined quotients.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/Transmittance.h"
#include "platform/Bitmap.h"
#include "platform/Dialogs.h"

namespace {
using TotalOf = std::function<double(double wavelength, int row)>;

// A record as the extraction leaves it: rows wavelengths from blue in steps of (red - blue) / rows,
// zeros after them, and the given totals.
TSpectrumRecord Profile(double blue, double red, int rows, const TotalOf& total) {
  TSpectrumRecord r;
  r.BlueWavelength = blue;
  r.RedWavelength = red;
  r.EnsureCapacity(rows);
  r.RowCount = rows;
  for (int i = 0; i < rows; ++i) {
    const auto k = static_cast<std::size_t>(i);
    r.Wavelength[k] = blue + (red - blue) * i / rows;
    r.TotalSum[k] = total(r.Wavelength[k], i);
  }
  return r;
}

double Log10Absorbance(double t) { return -std::log10(t); }

// Where a linear profile is read at wavelength x: a row within 0.01 nm at or above x counts as
// an exact match and gives its own wavelength; otherwise interpolation gives x itself.
double ReadAt(const TSpectrumRecord& r, double x) {
  for (int i = 0; i < r.RowCount; ++i) {
    const double w = r.Wavelength[static_cast<std::size_t>(i)];
    if (w >= x) return w - x < 0.01 ? w : x;
  }
  return x;
}

void ExpectNoUndefinedValues(const TTransmittanceResult& t) {
  for (int n = 0; n < t.PointCount; ++n) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_TRUE(std::isfinite(t.Wavelength[k]) && std::isfinite(t.Transmittance[k]) && std::isfinite(t.Absorbance[k]))
        << "point " << n;
  }
}

TEST(ComputeTransmittance, PairedModeDividesPointByPoint) {
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 301, [](double, int i) { return 3.0 * (i + 1); });
  TSpectrumRecord r = Profile(400, 720, 301, [](double, int i) { return 4.0 * (i + 1); });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(t.OverlapMin, 400.0);
  EXPECT_EQ(t.OverlapMax, 720.0);
  ASSERT_EQ(t.PointCount, 301);
  for (int n : {0, 1, 150, 300}) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_EQ(t.Wavelength[k], s.Wavelength[k]);
    EXPECT_DOUBLE_EQ(t.Transmittance[k], 0.75);
    EXPECT_DOUBLE_EQ(t.Absorbance[k], Log10Absorbance(0.75));
  }
}

TEST(ComputeTransmittance, ReferenceGridInterpolatesTheSample) {
  // The sample is linear in the wavelength, so interpolation between its rows is exact.
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 301, [](double w, int) { return 1000 + 10 * (w - 400); });
  TSpectrumRecord r = Profile(400, 720, 295, [](double, int) { return 200.0; });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(t.PointCount, 295);
  // Point 0 is an exact match at 400 nm.
  EXPECT_EQ(t.Wavelength[0], 400.0);
  EXPECT_DOUBLE_EQ(t.Transmittance[0], 1000.0 / 200.0);
  // Point 1 (401.0847 nm) lies between sample rows 1 (401.0631) and 2 (402.1262).
  const double w1 = 400 + 320.0 / 295;
  EXPECT_DOUBLE_EQ(t.Wavelength[1], w1);
  const double s1 = s.TotalSum[1] + (s.TotalSum[2] - s.TotalSum[1]) * (w1 - s.Wavelength[1]) / (s.Wavelength[2] - s.Wavelength[1]);
  EXPECT_DOUBLE_EQ(t.Transmittance[1], s1 / 200.0);
  // Point 49 (453.1525 nm) lies within 0.01 nm of sample row 50 (453.1561 nm) and takes that row.
  EXPECT_EQ(t.Transmittance[49], s.TotalSum[50] / 200.0);
  for (int n = 0; n < 295; ++n) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_EQ(t.Wavelength[k], r.Wavelength[k]);
    const double w = ReadAt(s, r.Wavelength[k]);
    EXPECT_NEAR(t.Transmittance[k], (1000 + 10 * (w - 400)) / 200.0, 1e-9) << n;
    EXPECT_NEAR(t.Absorbance[k], Log10Absorbance(t.Transmittance[k]), 1e-12);
  }
}

TEST(ComputeTransmittance, SampleGridInterpolatesTheReference) {
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 290, [](double, int) { return 100.0; });
  TSpectrumRecord r = Profile(400, 720, 301, [](double w, int) { return 200 + 2 * (w - 400); });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(t.PointCount, 290);
  for (int n = 0; n < 290; ++n) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_EQ(t.Wavelength[k], s.Wavelength[k]);
    EXPECT_NEAR(t.Transmittance[k], 100.0 / (200 + 2 * (ReadAt(r, s.Wavelength[k]) - 400)), 1e-12) << n;
  }
}

TEST(ComputeTransmittance, DifferentCalibrationsCompareTheSameWavelengths) {
  // Sample 400-720 nm, reference 380-700 nm: the common range is 400-700 nm and every point lies
  // in it, the reference rows below 400 nm take no part.
  TDialogRecorder dialogs;
  const auto sampleTotal = [](double w, int) { return 500 + 3 * (w - 400); };
  TSpectrumRecord s = Profile(400, 720, 301, sampleTotal);
  TSpectrumRecord r = Profile(380, 700, 295, [](double w, int) { return 1000 - (w - 380); });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(t.OverlapMin, 400.0);
  EXPECT_EQ(t.OverlapMax, 700.0);
  // Reference rows 19 (400.61 nm) to 294 (698.92 nm) lie in the range; the sample has more.
  ASSERT_EQ(t.PointCount, 276);
  EXPECT_DOUBLE_EQ(t.Wavelength[0], r.Wavelength[19]);
  for (int n = 0; n < t.PointCount; ++n) {
    const auto k = static_cast<std::size_t>(n);
    const double w = t.Wavelength[k];
    EXPECT_GE(w, 400.0);
    EXPECT_LE(w, 700.0);
    EXPECT_NEAR(t.Transmittance[k], sampleTotal(ReadAt(s, w), 0) / (1000 - (w - 380)), 1e-9) << n;
  }

  // Equal counts in the common range are paired row by row from the start of the range, not
  // from row 0: sample 400-710 nm and reference 390-710 nm, both in 1 nm rows.
  TSpectrumRecord s2 = Profile(400, 710, 310, [](double, int i) { return 1.0 * i; });
  TSpectrumRecord r2 = Profile(390, 710, 320, [](double, int i) { return 2.0 * i; });
  TTransmittanceResult t2;
  ComputeTransmittance(s2, r2, t2);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(t2.PointCount, 310);  // sample rows 0-309, reference rows 10-319
  EXPECT_EQ(t2.Wavelength[0], 400.0);
  EXPECT_DOUBLE_EQ(t2.Transmittance[0], 0.0);
  EXPECT_DOUBLE_EQ(t2.Transmittance[1], 1.0 / 22.0);
  EXPECT_DOUBLE_EQ(t2.Transmittance[309], 309.0 / (2.0 * 319));
}

TEST(ComputeTransmittance, GridPointsPastTheOtherProfileAreExtrapolated) {
  // Sample 400-700 nm (last row 699.003), reference 400-720 nm in 200 rows: the reference grid
  // runs to 699.2 nm, above the sample's last row, and takes the line through its last two rows.
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 700, 301, [](double w, int) { return 50 + 0.5 * (w - 400); });
  TSpectrumRecord r = Profile(400, 720, 200, [](double, int) { return 10.0; });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(t.PointCount, 188);
  const double last = t.Wavelength[187];
  EXPECT_DOUBLE_EQ(last, 400 + 1.6 * 187);
  EXPECT_GT(last, s.Wavelength[300]);
  EXPECT_NEAR(t.Transmittance[187], (50 + 0.5 * (last - 400)) / 10.0, 1e-9);

  // The mirror case in sample-grid mode.
  TSpectrumRecord s2 = Profile(400, 720, 200, [](double, int) { return 10.0; });
  TSpectrumRecord r2 = Profile(400, 700, 301, [](double w, int) { return 50 + 0.5 * (w - 400); });
  TTransmittanceResult t2;
  ComputeTransmittance(s2, r2, t2);
  ASSERT_EQ(t2.PointCount, 188);
  EXPECT_NEAR(t2.Transmittance[187], 10.0 / (50 + 0.5 * (t2.Wavelength[187] - 400)), 1e-12);
  ExpectNoUndefinedValues(t2);
}

TEST(ComputeTransmittance, NarrowOverlapKeepsThePreviousResult) {
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 301, [](double, int) { return 1.0; });
  TSpectrumRecord r = Profile(719, 999.9, 301, [](double, int) { return 1.0; });
  TTransmittanceResult t;
  t.PointCount = 7;
  t.Wavelength[0] = 123;
  t.Transmittance[0] = 0.5;
  ComputeTransmittance(s, r, t);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0].toStdString(), kOverlapMessage);
  EXPECT_EQ(t.OverlapMin, 719.0);
  EXPECT_EQ(t.OverlapMax, 720.0);
  EXPECT_EQ(t.PointCount, 7);
  EXPECT_EQ(t.Wavelength[0], 123.0);
  EXPECT_EQ(t.Transmittance[0], 0.5);
}

TEST(ComputeTransmittance, InconsistentScaleStopsWithTheNewCount) {
  // The reference's scale starts at 405 nm although its blue wavelength says 400 nm (a profile
  // extracted under another calibration).
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 301, [](double, int) { return 1.0; });
  TSpectrumRecord r = Profile(405, 720, 301, [](double, int) { return 1.0; });
  r.BlueWavelength = 400;
  TTransmittanceResult t;
  t.PointCount = 3;
  t.Transmittance[0] = 0.25;
  ComputeTransmittance(s, r, t);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0].toStdString(), kInconsistentMessage);
  EXPECT_EQ(t.PointCount, 301);  // set before the scan
  EXPECT_EQ(t.Transmittance[0], 0.25);
  EXPECT_EQ(t.Wavelength[0], 0.0);

  // Wavelengths counted in the common range must be valid rows of their profile.
  TSpectrumRecord stale = Profile(400, 720, 301, [](double, int) { return 1.0; });
  stale.RowCount = 100;
  dialogs.Messages.clear();
  ComputeTransmittance(stale, s, t);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0].toStdString(), kInconsistentMessage);
}

TEST(ComputeTransmittance, IdenticalSampleWavelengthsTakeTheSampleTotal) {
  // The sample's last two rows share 406 nm; the reference point at 408 nm lies past them.
  TDialogRecorder dialogs;
  TSpectrumRecord s;
  s.BlueWavelength = 400;
  s.RedWavelength = 410;
  s.RowCount = 5;
  const double sw[] = {400, 402, 404, 406, 406}, st[] = {10, 20, 30, 40, 50};
  for (int i = 0; i < 5; ++i) s.Wavelength[static_cast<std::size_t>(i)] = sw[i], s.TotalSum[static_cast<std::size_t>(i)] = st[i];
  TSpectrumRecord r = Profile(400, 412, 3, [](double, int) { return 100.0; });  // 400, 404, 408 nm
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  ASSERT_EQ(t.PointCount, 3);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0].toStdString(), kIdenticalWavelengthsMessage);
  EXPECT_DOUBLE_EQ(t.Transmittance[0], 0.1);
  EXPECT_DOUBLE_EQ(t.Transmittance[1], 0.3);
  EXPECT_DOUBLE_EQ(t.Transmittance[2], 0.5);
  ExpectNoUndefinedValues(t);
}

TEST(ComputeTransmittance, VanishingReferenceTotals) {
  struct Case {
    const char* name;
    int sampleRows, referenceRows;
    double sampleTotal, referenceTotal;
    double transmittance, absorbance;
    double storedReference;  // the reference total afterwards at the point
  };
  for (const Case& c : std::initializer_list<Case>{
           // Paired: a zero reference gives 2.0 and -log10(2).
           {"paired zero reference", 301, 301, 5, 0, 2.0, -0.301029995663981, 0},
           // A zero sample gives 0 and the absorbance marker.
           {"paired zero sample", 301, 301, 0, 5, 0.0, kAbsorbanceMarker, 5},
           // Reference grid: the reference total below 1e-50 becomes 0.01 in the record itself.
           {"reference grid floor", 301, 295, 5, 0, 500.0, -std::log10(500.0), 0.01},
           {"reference grid negative", 301, 295, 5, -3, 500.0, -std::log10(500.0), 0.01},
           // Sample grid: a zero interpolated reference gives 2.0 like the paired mode.
           {"sample grid zero reference", 295, 301, 5, 0, 2.0, -0.301029995663981, 0},
           // Quotients that overflow never reach the result.
           {"paired overflow", 301, 301, 1e308, 1e-300, 2.0, -0.301029995663981, 1e-300},
           {"sample grid overflow", 295, 301, 1e308, 1e-300, 2.0, -0.301029995663981, 1e-300},
           {"reference grid overflow", 301, 295, 1e308, 1e-49, 2.0, -0.301029995663981, 1e-49},
       }) {
    SCOPED_TRACE(c.name);
    TDialogRecorder dialogs;
    TSpectrumRecord s = Profile(400, 720, c.sampleRows, [&](double, int) { return c.sampleTotal; });
    TSpectrumRecord r = Profile(400, 720, c.referenceRows, [&](double, int) { return c.referenceTotal; });
    TTransmittanceResult t;
    ComputeTransmittance(s, r, t);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    ASSERT_GT(t.PointCount, 0);
    EXPECT_DOUBLE_EQ(t.Transmittance[0], c.transmittance);
    EXPECT_NEAR(t.Absorbance[0], c.absorbance, 1e-12);
    EXPECT_EQ(r.TotalSum[0], c.storedReference);
    ExpectNoUndefinedValues(t);
  }
}

TEST(ComputeTransmittance, ResultGrowsWithLongProfiles) {
  TDialogRecorder dialogs;
  TSpectrumRecord s = Profile(400, 720, 1500, [](double, int i) { return 2.0 + i; });
  TSpectrumRecord r = Profile(400, 720, 1500, [](double, int i) { return 4.0 + 2.0 * i; });
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  ASSERT_EQ(t.PointCount, 1500);
  ASSERT_GE(t.Capacity(), 1500);
  EXPECT_EQ(t.Wavelength[1499], s.Wavelength[1499]);
  EXPECT_DOUBLE_EQ(t.Transmittance[1499], 0.5);

  // Longer reference than sample, both past the standard capacity: sample grid.
  TSpectrumRecord r2 = Profile(400, 720, 2000, [](double, int) { return 10.0; });
  ComputeTransmittance(s, r2, t);
  ASSERT_EQ(t.PointCount, 1500);
  EXPECT_DOUBLE_EQ(t.Transmittance[1400], (2.0 + 1400) / 10.0);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(ComputeTransmittance, ExtractedPicturesPair) {
  // Two extractions of 301 rows from pictures whose band column is a gradient.
  TBitmap picture(200, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 200; ++x) picture.SetPixel(x, y, RGB(y % 256, 10, 20));
  TBitmap dimmer = picture;
  for (int y = 0; y < 400; ++y) dimmer.SetPixel(100, y, RGB(y % 256 / 2, 5, 10));
  TDialogRecorder dialogs;
  TSpectrumRecord s, r;
  for (TSpectrumRecord* rec : {&s, &r}) {
    rec->BlueX = rec->RedX = 100;
    rec->BlueY = 50;
    rec->RedY = 350;
  }
  ExtractSpectrum(dimmer, s);
  ExtractSpectrum(picture, r);
  ASSERT_EQ(s.RowCount, 301);
  TTransmittanceResult t;
  ComputeTransmittance(s, r, t);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(t.PointCount, 301);
  for (int n = 0; n < 301; ++n) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_EQ(t.Wavelength[k], s.Wavelength[k]);
    EXPECT_DOUBLE_EQ(t.Transmittance[k], s.TotalSum[k] / r.TotalSum[k]);
  }
}
}  // namespace
