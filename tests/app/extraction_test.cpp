#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "app/SpectrumRecord.h"
#include "app/calibration/Calibration.h"
#include "platform/Bitmap.h"
#include "platform/Dialogs.h"
#include "support/FullRotation.h"
#include "support/Pictures.h"

namespace {
TSpectrumRecord Marked(int bx, int by, int rx, int ry, int band = 1, double blue = 400, double red = 700) {
  TSpectrumRecord r;
  r.BlueX = bx, r.BlueY = by, r.RedX = rx, r.RedY = ry, r.BandWidth = band;
  r.BlueWavelength = blue, r.RedWavelength = red;
  return r;
}

// The components of a CoordinatePicture pixel.
void ExpectPixel(const TSpectrumRecord& r, int i, int x, int y) {
  SCOPED_TRACE(testing::Message() << "row " << i << " expects source (" << x << ", " << y << ")");
  EXPECT_EQ(r.RedSum[i], x & 0xFF);
  EXPECT_EQ(r.GreenSum[i], y & 0xFF);
  EXPECT_EQ(r.BlueSum[i], (x + y) & 0xFF);
  EXPECT_EQ(r.TotalSum[i], (x & 0xFF) + (y & 0xFF) + ((x + y) & 0xFF));
}
}  // namespace

TEST(RoundEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(3.5), 4);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(-3.5), -4);
  EXPECT_EQ(RoundEven(2.4999), 2);
  // Around the magnitudes where the rounding changes method, and where adding a half would go wrong.
  for (const double v : {0.49999999999999994, -0.49999999999999994, 2251799813685247.5, -2251799813685247.5,
                         2251799813685248.0, 2251799813685249.0, 4503599627370497.0, -4503599627370497.0, 1e18, -1e18,
                         1048576.5, 1048577.5, -1048576.5})
    EXPECT_EQ(RoundEven(v), static_cast<std::int64_t>(std::nearbyint(v))) << v;
  EXPECT_EQ(Div2(-3), -1);
  EXPECT_EQ(Div2(3), 1);
}

TEST(RotationAngle, UsesTheDecimalConstants) {
  EXPECT_EQ(RotationAngle(Marked(100, 50, 100, 350)), 0.0);
  EXPECT_EQ(RotationAngle(Marked(100, 350, 100, 50)), 3.14159265358979);
  EXPECT_EQ(RotationAngle(Marked(100, 100, 400, 100)), -1.570796326794895);
  EXPECT_EQ(RotationAngle(Marked(400, 100, 100, 100)), 1.570796326794895);
  EXPECT_EQ(RotationAngle(Marked(5, 5, 5, 5)), 0.0);
}

TEST(ExtractSpectrum, VerticalSpectrumReadsTheColumnBelowTheBlueEnd) {
  TDialogRecorder dialogs;
  const TBitmap pic = CoordinatePicture(400, 400);
  TSpectrumRecord r = Marked(100, 50, 100, 350);
  ExtractSpectrum(pic, r);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_EQ(r.RowCount, 301);
  EXPECT_EQ(r.Wavelength[0], 400.0);
  EXPECT_EQ(r.Wavelength[300], 400 + 300.0 * 300 / 301);
  EXPECT_EQ(r.Wavelength[301], 0.0);
  for (int i : {0, 1, 150, 300}) ExpectPixel(r, i, 100, 50 + i);
}

TEST(ExtractSpectrum, TurnedSpectraShiftByHalfPixels) {
  TDialogRecorder dialogs;
  const TBitmap pic = CoordinatePicture(500, 500);
  TSpectrumRecord up = Marked(100, 350, 100, 50);
  ExtractSpectrum(pic, up);
  ASSERT_EQ(up.RowCount, 301);
  for (int i : {0, 7, 300}) ExpectPixel(up, i, 99, 349 - i);

  TSpectrumRecord right = Marked(100, 100, 400, 100);
  ExtractSpectrum(pic, right);
  ASSERT_EQ(right.RowCount, 301);
  for (int i : {0, 42, 299}) ExpectPixel(right, i, 100 + i, 99);
}

TEST(ExtractSpectrum, GeneralAnglesReadTheSourcePixelsWorkedOutByHand) {
  // Each expected source pixel below was worked out by hand from the per-pixel rule: for the
  // rotated pixel (x', y') with X = 2(x' - a) + 1 and Y = 2(y' - b) + 1, u = nearest(X c - Y s)
  // and v = nearest(X s + Y c) (ties to even), the source is (a + (u - 1) div 2, b + (v - 1) div 2)
  // with div truncating toward zero, or black outside the picture. The band columns are
  // x' = a - h .. a + h of the rows y' = b .. e.
  //
  // 45 degrees: blue (5, 0), red (10, 5) on 20 x 20. theta = atan(1) - 1.570796326794895, so
  // s = -0.70711 and c = 0.70711: X c - Y s = 0.70711 (X + Y), X s + Y c = 0.70711 (Y - X).
  // D = nearest(sqrt(800) = 28.28) + 2 = 30; L = sqrt(50) = 7.07, e = 7: 8 rows. Band 3: h = 1.
  //   row 0, X = -1, Y = 1: u = nearest(0) = 0, v = nearest(1.414) = 1 -> (5 + (-1 div 2), 0 + 0)
  //          = (5, 0); -1 div 2 is 0, not -1 (that would be column 4)
  //   row 0, X = 1: u = nearest(1.414) = 1, v = nearest(0) = 0 -> (5, 0 + (-1 div 2)) = (5, 0)
  //   row 0, X = 3: u = nearest(2.83) = 3, v = nearest(-1.414) = -1 -> (6, 0 + (-2 div 2)) = (6, -1):
  //          above the picture, black
  //   row 1, X = -1, Y = 3: u = nearest(1.414) = 1, v = nearest(2.83) = 3 -> (5, 1)
  //   row 1, X = 1: u = 3, v = 1 -> (6, 0);  X = 3: u = nearest(4.24) = 4, v = 0 -> (6, 0)
  //   row 4, X = -1, Y = 9: u = nearest(5.66) = 6, v = nearest(7.07) = 7 -> (5 + 2, 0 + 3) = (7, 3)
  //   row 7, X = 3, Y = 15: u = nearest(12.73) = 13, v = nearest(8.49) = 8 -> (5 + 6, 0 + 3) = (11, 3)
  //
  // 30 degrees: blue (30, 10), red (15, 36) on 40 x 50. theta = atan(26 / -15) + 1.570796326794895
  // = 0.52328 (29.98 degrees): s = 0.49972, c = 0.86619. D = nearest(sqrt(4100) = 64.03) + 2 = 66;
  // L = sqrt(901) = 30.02, e = 10 + 30 = 40: 31 rows. Band 1 reads X = 1 only:
  //   row 0, Y = 1: u = nearest(0.3665) = 0, v = nearest(1.3659) = 1 -> (30, 10)
  //   row 1, Y = 3: u = nearest(-0.633) = -1 (a negative odd u), v = nearest(3.098) = 3 -> (29, 11)
  //   row 2, Y = 5: u = nearest(-1.632) = -2, v = nearest(4.831) = 5 -> (30 + (-3 div 2), 12)
  //          = (29, 12); -3 div 2 is -1, not -2
  //   row 3, Y = 7: u = nearest(-2.632) = -3, v = nearest(6.563) = 7 -> (28, 13)
  //   row 4, Y = 9: u = -4, v = nearest(8.295) = 8 -> (30 + (-5 div 2), 10 + (7 div 2)) = (28, 13)
  //   row 7, Y = 15: u = nearest(-6.630) = -7, v = nearest(13.4925) = 13 -> (26, 16)
  //   row 30, Y = 61: u = nearest(-29.617) = -30, v = nearest(53.337) = 53 -> (15, 36), the red end
  // and with band 3 (X = -1, 1, 3):
  //   row 0: X = -1: u = nearest(-1.366) = -1, v = nearest(0.3665) = 0 -> (29, 10);
  //          X = 3: u = nearest(2.099) = 2, v = nearest(2.365) = 2 -> (30, 10); with X = 1: (30, 10)
  //   row 2: X = -1: u = nearest(-3.365) = -3, v = nearest(3.831) = 4 -> (28, 11);
  //          X = 3: u = nearest(0.0999) = 0, v = nearest(5.830) = 6 -> (30 + (-1 div 2), 12) = (30, 12)
  struct Source { int x, y; };  // {-1, -1}: black
  struct Row { int i; std::vector<Source> sources; };
  struct Case { const char* name; int w, h, bx, by, rx, ry, band, rows; std::vector<Row> expected; };
  const std::vector<Case> cases{
      {"45 degrees, band 3", 20, 20, 5, 0, 10, 5, 3, 8,
       {{0, {{5, 0}, {5, 0}, {-1, -1}}},
        {1, {{5, 1}, {6, 0}, {6, 0}}},
        {4, {{7, 3}, {8, 2}, {8, 1}}},
        {7, {{9, 5}, {10, 4}, {11, 3}}}}},
      {"30 degrees, band 1", 40, 50, 30, 10, 15, 36, 1, 31,
       {{0, {{30, 10}}}, {1, {{29, 11}}}, {2, {{29, 12}}}, {3, {{28, 13}}}, {4, {{28, 13}}}, {7, {{26, 16}}},
        {30, {{15, 36}}}}},
      {"30 degrees, band 3", 40, 50, 30, 10, 15, 36, 3, 31,
       {{0, {{29, 10}, {30, 10}, {30, 10}}},
        {1, {{29, 10}, {29, 11}, {30, 11}}},
        {2, {{28, 11}, {29, 12}, {30, 12}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDialogRecorder dialogs;
    TSpectrumRecord r = Marked(c.bx, c.by, c.rx, c.ry, c.band);
    ExtractSpectrum(CoordinatePicture(c.w, c.h), r);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    ASSERT_EQ(r.RowCount, c.rows);
    for (const Row& row : c.expected) {
      SCOPED_TRACE(testing::Message() << "row " << row.i);
      // A CoordinatePicture pixel (x, y) holds red x, green y and blue x + y.
      double red = 0, green = 0, blue = 0;
      for (const Source& s : row.sources) {
        if (s.x < 0) continue;
        red += s.x, green += s.y, blue += s.x + s.y;
      }
      EXPECT_EQ(r.RedSum[row.i], red);
      EXPECT_EQ(r.GreenSum[row.i], green);
      EXPECT_EQ(r.BlueSum[row.i], blue);
      EXPECT_EQ(r.TotalSum[row.i], red + green + blue);
      EXPECT_EQ(r.Wavelength[row.i], 400 + 300.0 * row.i / c.rows);
    }
  }
}

TEST(ExtractSpectrum, BothEndsAtOnePointGiveOneRow) {
  TDialogRecorder dialogs;
  TSpectrumRecord r = Marked(10, 10, 10, 10, 1, 450, 650);
  ExtractSpectrum(CoordinatePicture(30, 30), r);
  EXPECT_EQ(r.RowCount, 1);
  EXPECT_EQ(r.Wavelength[0], 450.0);
  ExpectPixel(r, 0, 10, 10);
}

TEST(ExtractSpectrum, BandIsCutAtTheLeftEdge) {
  TDialogRecorder dialogs;
  TBitmap pic(40, 40, pf24bit);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) pic.SetPixel(x, y, RGB(1, 0, 0));
  struct Case { int band, blueX; double expected; };
  for (const Case& c : std::initializer_list<Case>{{1, 2, 1}, {2, 10, 3}, {3, 10, 3}, {4, 10, 5}, {5, 10, 5}, {6, 2, 6}, {6, 0, 4}}) {
    SCOPED_TRACE(testing::Message() << "band " << c.band << " at column " << c.blueX);
    TSpectrumRecord r = Marked(c.blueX, 5, c.blueX, 20, c.band);
    ExtractSpectrum(pic, r);
    EXPECT_EQ(r.RedSum[0], c.expected);
    EXPECT_EQ(r.GreenSum[0], 0);
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(ExtractSpectrum, SpectrumRunningOffThePictureIsTruncatedWithAWarning) {
  TDialogRecorder dialogs;
  const TBitmap pic = CoordinatePicture(30, 40);  // D = 50 + 2 = 52
  TSpectrumRecord r = Marked(5, 10, 5, 90);
  ExtractSpectrum(pic, r);
  ASSERT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kTruncatedMessage)});
  EXPECT_EQ(r.RowCount, 52 - 10);
  EXPECT_EQ(r.Wavelength[r.RowCount - 1], 400 + 300.0 * (r.RowCount - 1) / r.RowCount);
  // Rows below the picture are black.
  EXPECT_EQ(r.TotalSum[29], ExtractByFullRotation(pic, r).TotalSum[29]);
  EXPECT_EQ(r.TotalSum[35], 0);
}

TEST(ExtractSpectrum, UnsupportedPicturesLeaveTheRecordAsItWas) {
  TDialogRecorder dialogs;
  TSpectrumRecord r = Marked(1, 1, 1, 8);
  ExtractSpectrum(CoordinatePicture(10, 10), r);
  const TSpectrumRecord before = r;
  TBitmap grey(10, 10, pf8bit);
  TBitmap empty;
  TBitmap zero(0, 0, pf24bit);
  for (const TBitmap* pic : {&grey, &empty, &zero}) {
    dialogs.Messages.clear();
    ExtractSpectrum(*pic, r);
    EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kPixelFormatMessage)});
    EXPECT_EQ(r.RowCount, before.RowCount);
    EXPECT_EQ(r.Wavelength, before.Wavelength);
    EXPECT_EQ(r.TotalSum, before.TotalSum);
  }
}

TEST(ExtractSpectrum, OtherPixelFormatsGiveTheirComponents) {
  TDialogRecorder dialogs;
  struct Case { TPixelFormat format; TColor colour; double red, green, blue; };
  for (const Case& c : std::initializer_list<Case>{
           {pf32bit, RGB(10, 20, 30), 10, 20, 30},
           {pf24bit, RGB(255, 128, 1), 255, 128, 1},
           {pf16bit, RGB(255, 255, 255), 255, 255, 255},
           {pf16bit, RGB(0, 0, 0), 0, 0, 0},
           {pf15bit, RGB(255, 255, 255), 255, 255, 255},
           {pf15bit, RGB(8, 16, 132), 8, 16, 132}}) {
    SCOPED_TRACE(static_cast<int>(c.format));
    TBitmap pic(6, 6, c.format);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) pic.SetPixel(x, y, c.colour);
    TSpectrumRecord r = Marked(2, 1, 2, 4);
    ExtractSpectrum(pic, r);
    ASSERT_EQ(r.RowCount, 4);
    EXPECT_EQ(r.RedSum[3], c.red);
    EXPECT_EQ(r.GreenSum[3], c.green);
    EXPECT_EQ(r.BlueSum[3], c.blue);
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(ExtractSpectrum, LongSpectraGrowTheArraysInsteadOfWritingPastThem) {
  TDialogRecorder dialogs;
  const TBitmap pic = CoordinatePicture(20, 1600);
  TSpectrumRecord r = Marked(10, 0, 10, 1500);
  ExtractSpectrum(pic, r);
  ASSERT_EQ(r.RowCount, 1501);
  ASSERT_GE(r.Capacity(), 1501);
  ExpectPixel(r, 1500, 10, 1500);
  EXPECT_EQ(r.Wavelength[1500], 400 + 300.0 * 1500 / 1501);
  // A shorter spectrum afterwards zeroes every wavelength past its rows.
  TSpectrumRecord& again = r;
  again.RedY = 99;
  ExtractSpectrum(pic, again);
  EXPECT_EQ(again.RowCount, 100);
  EXPECT_EQ(again.Wavelength[100], 0.0);
  EXPECT_EQ(again.Wavelength[1500], 0.0);
}

TEST(ExtractSpectrum, EqualsTheFullRotationOnRandomPictures) {
  TDialogRecorder dialogs;
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int> size(8, 40);
  int compared = 0;
  for (int picture = 0; picture < 12; ++picture) {
    const int W = size(rng), H = size(rng);
    const TBitmap pic = RandomPicture(W, H, rng);
    std::uniform_int_distribution<int> px(0, W - 1), py(0, H - 1);
    for (int trial = 0; trial < 40; ++trial) {
      TSpectrumRecord r;
      r.BlueX = px(rng), r.BlueY = py(rng);
      // Angles all round, including both directions of the vertical and horizontal lines.
      const double angle = (trial % 8 == 0) ? (trial / 8) * M_PI / 2 : std::uniform_real_distribution<double>(-M_PI, M_PI)(rng);
      const double length = std::uniform_real_distribution<double>(0, 1.3 * (W + H))(rng);
      r.RedX = r.BlueX + static_cast<int>(std::lround(length * std::cos(angle)));
      r.RedY = r.BlueY + static_cast<int>(std::lround(length * std::sin(angle)));
      r.BandWidth = std::uniform_int_distribution<int>(1, 15)(rng);
      r.BlueWavelength = 380, r.RedWavelength = 760;
      SCOPED_TRACE(testing::Message() << W << "x" << H << " blue (" << r.BlueX << "," << r.BlueY << ") red (" << r.RedX
                                      << "," << r.RedY << ") band " << r.BandWidth);
      const TFullRotationProfile expected = ExtractByFullRotation(pic, r);
      ExtractSpectrum(pic, r);
      ASSERT_EQ(r.RowCount, expected.RowCount);
      for (int i = 0; i < r.RowCount; ++i) {
        ASSERT_EQ(r.Wavelength[i], expected.Wavelength[i]) << i;
        ASSERT_EQ(r.RedSum[i], expected.RedSum[i]) << i;
        ASSERT_EQ(r.GreenSum[i], expected.GreenSum[i]) << i;
        ASSERT_EQ(r.BlueSum[i], expected.BlueSum[i]) << i;
        ASSERT_EQ(r.TotalSum[i], expected.TotalSum[i]) << i;
      }
      ++compared;
    }
  }
  EXPECT_EQ(compared, 12 * 40);
}

TEST(ExtractSpectrum, EndsFarOutsideThePictureNeitherOverflowNorExhaustMemory) {
  // Positions typed into boxes reach the record unchecked when the box is never left (a menu
  // command reads it): the extraction must stay defined for every 32-bit value.
  struct Case { int bx, by, rx, ry, band; bool refused; int rows; };
  for (const Case& c : std::initializer_list<Case>{
           {1000, 5, INT32_MIN, 5, 1, false, 0},         // the red end far left: truncated
           {INT32_MAX, 5, INT32_MIN, 5, 1, false, 0},    // both ends at opposite extremes
           {5, 5, 5, INT32_MAX, INT32_MAX, false, 0},    // straight down far past the picture
           {5, INT32_MAX, 5, INT32_MIN, 1, false, 0},    // the blue end far below: no rows
           {5, INT32_MIN, 5, INT32_MAX, 1, true, 0},     // the blue end far above the picture
           {5, -1, 5, 10, 1, true, 0},                   // just above: no such row either
       }) {
    SCOPED_TRACE(testing::Message() << "blue (" << c.bx << "," << c.by << ") red (" << c.rx << "," << c.ry << ")");
    TDialogRecorder dialogs;
    const TBitmap pic = CoordinatePicture(50, 40);  // D = 64 + 2 = 66
    TSpectrumRecord r = Marked(c.bx, c.by, c.rx, c.ry, c.band);
    r.RowCount = 7;
    ExtractSpectrum(pic, r);
    if (c.refused) {
      EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kOutsideMessage)});
      EXPECT_EQ(r.RowCount, 7);  // left as it was
    } else {
      EXPECT_LE(r.RowCount, 66);
      EXPECT_EQ(r.Capacity(), SpectrumCapacity);
    }
  }
}

// The extraction that also finds the clipped rows gives the plain extraction's profile and
// BandClipping's rows: straight, slanted, reversed, truncated and wide bands.
TEST(ExtractSpectrum, FindsTheClippedRowsAsBandClippingDoes) {
  TDialogRecorder dialogs;  // the band running off the picture says so
  TBitmap picture(200, 120, pf24bit);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) {
      std::uint8_t* p = picture.ScanLine(y) + 3 * x;
      p[2] = static_cast<std::uint8_t>(std::min(255, x * 2));      // red clips right of x = 127
      p[1] = static_cast<std::uint8_t>(std::min(255, y * 4));      // green clips below y = 63
      p[0] = static_cast<std::uint8_t>((x * 7 + y * 3) % 256);     // blue reaches 255 here and there
    }
  bool anyClipped = false;
  for (const TSpectrumRecord& marks : {Marked(20, 10, 180, 10), Marked(30, 5, 150, 100, 5), Marked(180, 100, 20, 20, 3),
                                       Marked(10, 60, 199, 119, 15), Marked(100, 50, 100, 300, 9)}) {
    SCOPED_TRACE(testing::Message() << marks.BlueX << "," << marks.BlueY << " to " << marks.RedX << "," << marks.RedY);
    TSpectrumRecord plain = marks, fused = marks;
    TBandClipping clipping;
    ExtractSpectrum(picture, plain);
    ExtractSpectrum(picture, fused, clipping);
    ASSERT_EQ(fused.RowCount, plain.RowCount);
    EXPECT_EQ(fused.TotalSum, plain.TotalSum);
    EXPECT_EQ(fused.RedSum, plain.RedSum);
    const TBandClipping expected = BandClipping(picture, plain);
    EXPECT_EQ(clipping.Rows, expected.Rows);
    EXPECT_EQ(clipping.RedRows, expected.RedRows);
    EXPECT_EQ(clipping.GreenRows, expected.GreenRows);
    EXPECT_EQ(clipping.BlueRows, expected.BlueRows);
    anyClipped = anyClipped || expected.Any();
  }
  EXPECT_TRUE(anyClipped);
}
