#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/SpectrumRecord.h"
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
