#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/Bitmap.h"

TEST(Bitmap, RowsHoldThePlatformByteOrder) {
  TBitmap b(3, 2, pf24bit);
  b.SetPixel(1, 1, RGB(10, 20, 30));
  const std::uint8_t* row = b.ScanLine(1);
  EXPECT_EQ(row[3], 30);  // blue first
  EXPECT_EQ(row[4], 20);
  EXPECT_EQ(row[5], 10);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);  // new pixels are white
  EXPECT_EQ(b.Pixel(1, 1), RGB(10, 20, 30));

  TBitmap b32(2, 1, pf32bit);
  b32.SetPixel(0, 0, RGB(1, 2, 3));
  EXPECT_EQ(b32.ScanLine(0)[0], 3);
  EXPECT_EQ(b32.ScanLine(0)[2], 1);

  TBitmap b16(1, 1, pf16bit);
  b16.SetPixel(0, 0, RGB(255, 0, 0));
  EXPECT_EQ(b16.ScanLine(0)[0] | (b16.ScanLine(0)[1] << 8), 0xF800);
  TBitmap b15(1, 1, pf15bit);
  b15.SetPixel(0, 0, RGB(255, 0, 0));
  EXPECT_EQ(b15.ScanLine(0)[0] | (b15.ScanLine(0)[1] << 8), 0x7C00);
}

TEST(Bitmap, ResizingKeepsPixelsAndFormatChangesConvert) {
  TBitmap b(2, 2, pf24bit);
  b.SetPixel(1, 1, clRed);
  ASSERT_TRUE(b.SetSize(4, 3));
  EXPECT_EQ(b.Pixel(1, 1), clRed);
  EXPECT_EQ(b.Pixel(3, 2), clWhite);
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.Pixel(1, 1), clRed);
  EXPECT_EQ(b.Pixel(-1, 0), clBlack);  // outside
  b.SetSize(0, 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(TBitmap().PixelFormat(), pfDevice);
}

TEST(Bitmap, ThirtyTwoBitPicturesTakeTheSameBytesAsQtsConversion) {
  // Widths around the 16-pixel steps of the fast path, and a video frame's; the unused byte holds
  // noise, as some camera frames do.
  std::uint32_t state = 12345;
  for (const int width : {1, 3, 15, 16, 17, 31, 33, 47, 1280}) {
    QImage image(width, 3, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
      for (int x = 0; x < width; ++x) row[x] = state = state * 1664525u + 1013904223u;
    }
    image.setDotsPerMeterX(3937);
    image.setText(QStringLiteral("Camera"), QStringLiteral("webcam"));
    TBitmap b;
    b.AssignImage(image);
    ASSERT_EQ(b.PixelFormat(), pf24bit);
    const QImage expected = image.convertToFormat(QImage::Format_BGR888);
    EXPECT_EQ(b.Image(), expected) << "width " << width;
    EXPECT_EQ(b.Image().dotsPerMeterX(), 3937);
    EXPECT_EQ(b.Image().text(QStringLiteral("Camera")), QStringLiteral("webcam"));
  }
}

TEST(Graphics, SystemColoursResolveThroughTheTable) {
  EXPECT_EQ(ColorToRGB(clWindow), RGB(255, 255, 255));
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
  EXPECT_EQ(ColorToRGB(clLime), RGB(0, 255, 0));
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clAqua));
  EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
  EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

TEST(Graphics, NamedFacesResolveToInstalledFonts) {
  EXPECT_EQ(ResolveFontFace(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
  const QFont tahoma = TFont{}.ToQFont();
  EXPECT_EQ(tahoma.pixelSize(), 11);
  EXPECT_TRUE(QFontInfo(tahoma).family().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)) << QFontInfo(tahoma).family().toStdString();
}
