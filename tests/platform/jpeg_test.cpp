// JPEG decoding into bitmaps: the kinds of JPEG stream, and damaged streams that must fail cleanly.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdlib>
#include <vector>

#include "platform/Jpeg.h"

namespace {
// Four flat quadrants (red, green, blue, grey), 32 x 16 pixels: flat 8 x 8 blocks survive the
// compression almost unchanged.
TBitmap Quadrants() {
  TBitmap b(32, 16, pf24bit);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool right = x >= 16, bottom = y >= 8;
      b.SetPixel(x, y, !right && !bottom ? RGB(220, 30, 30) : right && !bottom ? RGB(30, 200, 40)
                       : !right ? RGB(40, 40, 210) : RGB(128, 128, 128));
    }
  return b;
}

TJpegResult Decode(const QByteArray& bytes, TBitmap& out, QString* reason = nullptr) {
  return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()), out,
                    reason);
}

void ExpectNear(TColor actual, TColor expected, int tolerance) {
  EXPECT_NEAR(GetRValue(actual), GetRValue(expected), tolerance);
  EXPECT_NEAR(GetGValue(actual), GetGValue(expected), tolerance);
  EXPECT_NEAR(GetBValue(actual), GetBValue(expected), tolerance);
}

// Offset of the height field of the first start-of-frame marker (SOF0 or SOF2).
qsizetype FrameHeader(const QByteArray& jpeg) {
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i)
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
        (static_cast<unsigned char>(jpeg[i + 1]) == 0xC0 || static_cast<unsigned char>(jpeg[i + 1]) == 0xC2))
      return i + 5;
  return -1;
}

TEST(Jpeg, ColourKinds) {
  struct Case {
    const char* name;
    TJpegWriteOptions options;
    int tolerance;
  };
  const TBitmap source = Quadrants();
  for (const Case& c : std::initializer_list<Case>{
           {"baseline", {95, false, jcsYCbCr, true}, 12},
           {"progressive", {95, true, jcsYCbCr, true}, 12},
           {"cmyk", {95, false, jcsCMYK, true}, 12},
           {"ycck", {95, false, jcsYCCK, true}, 12},
           {"progressive cmyk", {95, true, jcsCMYK, true}, 12},
       }) {
    SCOPED_TRACE(c.name);
    const QByteArray jpeg = EncodeJpeg(source, c.options);
    ASSERT_FALSE(jpeg.isEmpty());
    // Four-component streams carry the Adobe marker that tells their inversion.
    const bool fourComponents = c.options.ColorSpace == jcsCMYK || c.options.ColorSpace == jcsYCCK;
    EXPECT_EQ(jpeg.contains("Adobe"), fourComponents);
    TBitmap out;
    QString reason;
    ASSERT_EQ(Decode(jpeg, out, &reason), TJpegResult::Ok) << reason.toStdString();
    EXPECT_EQ(out.PixelFormat(), pf24bit);
    EXPECT_EQ(out.Width(), 32);
    EXPECT_EQ(out.Height(), 16);
    for (auto [x, y] : {std::pair{3, 3}, {27, 4}, {4, 12}, {28, 12}}) ExpectNear(out.Pixel(x, y), source.Pixel(x, y), c.tolerance);
    // The rows hold blue, green, red: the red quadrant's third byte is the large one.
    const std::uint8_t* row = out.ScanLine(3);
    EXPECT_GT(row[3 * 3 + 2], 180);
    EXPECT_LT(row[3 * 3], 80);
  }
}

TEST(Jpeg, GrayscaleGivesAnEightBitPicture) {
  TBitmap source(16, 16, pf24bit);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) source.SetPixel(x, y, y < 8 ? RGB(50, 50, 50) : RGB(200, 200, 200));
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    TBitmap out;
    ASSERT_EQ(Decode(EncodeJpeg(source, {95, progressive, jcsGrayscale, true}), out), TJpegResult::Ok);
    EXPECT_EQ(out.PixelFormat(), pf8bit);
    EXPECT_NEAR(out.ScanLine(2)[2], 50, 3);
    EXPECT_NEAR(out.ScanLine(12)[2], 200, 3);
    ExpectNear(out.Pixel(2, 12), RGB(200, 200, 200), 3);
  }
}

TEST(Jpeg, DamagedStreamsFailCleanly) {
  const QByteArray good = EncodeJpeg(Quadrants(), {90, false, jcsYCbCr, true});
  const QByteArray progressive = EncodeJpeg(Quadrants(), {90, true, jcsYCbCr, true});
  ASSERT_GT(good.size(), 200);
  QByteArray zeroWidth = good;
  const qsizetype sof = FrameHeader(good);
  ASSERT_GT(sof, 0);
  zeroWidth[sof + 2] = 0, zeroWidth[sof + 3] = 0;
  QByteArray corrupt = good;
  // Scramble the entropy-coded data after the headers, keeping the end marker.
  for (qsizetype i = good.size() - 120; i < good.size() - 2; ++i) corrupt[i] = static_cast<char>(0xFF - (i % 7));
  struct Case {
    const char* name;
    QByteArray bytes;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"empty", QByteArray()},
           {"text", QByteArray("this is not a picture at all")},
           {"png signature", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
           {"header only", good.left(20)},
           {"truncated", good.left(good.size() * 2 / 3)},
           {"truncated progressive", progressive.left(progressive.size() * 2 / 3)},
           {"zero width", zeroWidth},
           {"corrupt data", corrupt},
       }) {
    SCOPED_TRACE(c.name);
    TBitmap out(4, 4);
    QString reason;
    EXPECT_EQ(Decode(c.bytes, out, &reason), TJpegResult::Invalid);
    EXPECT_TRUE(out.Empty());
    EXPECT_FALSE(reason.isEmpty());
  }
}

TEST(Jpeg, PicturesTooLargeAreRefusedBeforeDecoding) {
  // A small stream whose frame header claims 60000 x 60000 pixels.
  QByteArray huge = EncodeJpeg(Quadrants(), {90, false, jcsYCbCr, true});
  const qsizetype sof = FrameHeader(huge);
  ASSERT_GT(sof, 0);
  for (int k = 0; k < 4; ++k) huge[sof + k] = static_cast<char>(k % 2 ? 0x60 : 0xEA);  // 0xEA60 = 60000
  TBitmap out;
  QString reason;
  EXPECT_EQ(Decode(huge, out, &reason), TJpegResult::TooLarge);
  EXPECT_TRUE(out.Empty());
  EXPECT_TRUE(reason.contains(QStringLiteral("60000 x 60000"))) << reason.toStdString();
}
}  // namespace

namespace {
QByteArray ReadExample(const char* name) {
  QFile f(QStringLiteral(LUMIO_SHARED_DATA "/") + QLatin1String(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TJpegResult DecodeRows(const QByteArray& bytes, TJpegRows rows, TBitmap& out) {
  return DecodeJpegRows(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()),
                        [rows](int, int) { return rows; }, out);
}
}  // namespace

TEST(Jpeg, ChosenRowsHoldWhatTheWholeDecodeGivesThem) {
  // Camera photographs (4:2:0 and others), our own progressive and grayscale streams: the upsampled
  // chroma of a row depends on its neighbours, which skipping must not change.
  TBitmap photo;
  ASSERT_EQ(Decode(ReadExample("webcam-ipa-glass.jpg"), photo), TJpegResult::Ok);
  struct Stream {
    const char* name;
    QByteArray bytes;
  };
  const std::vector<Stream> streams = {
      {"webcam-ipa-glass", ReadExample("webcam-ipa-glass.jpg")},
      {"webcam-cfl", ReadExample("webcam-cfl.jpg")},
      {"cfl-lamp-1280x720", ReadExample("cfl-lamp-1280x720.jpg")},
      {"progressive", EncodeJpeg(photo, {85, true, jcsYCbCr, true})},
      {"grayscale", EncodeJpeg(photo, {85, false, jcsGrayscale, true})},
  };
  for (const Stream& s : streams) {
    SCOPED_TRACE(s.name);
    ASSERT_FALSE(s.bytes.isEmpty());
    TBitmap whole;
    ASSERT_EQ(Decode(s.bytes, whole), TJpegResult::Ok);
    const int h = whole.Height();
    const int rowBytes = whole.PixelFormat() == pf24bit ? 3 * whole.Width() : whole.Width();
    for (const TJpegRows rows : {TJpegRows{0, 0}, TJpegRows{0, h - 1}, TJpegRows{h / 2 - 3, h / 2 + 3}, TJpegRows{7, 8},
                                 TJpegRows{8, 8}, TJpegRows{15, 17}, TJpegRows{h - 1, h - 1}, TJpegRows{h - 2, h + 10},
                                 TJpegRows{-5, 3}, TJpegRows{5, 4}}) {
      SCOPED_TRACE(testing::Message() << "rows " << rows.First << " to " << rows.Last);
      TBitmap part;
      ASSERT_EQ(DecodeRows(s.bytes, rows, part), TJpegResult::Ok);
      ASSERT_EQ(part.Width(), whole.Width());
      ASSERT_EQ(part.Height(), h);
      ASSERT_EQ(part.PixelFormat(), whole.PixelFormat());
      const QByteArray black(rowBytes, '\0');
      for (int y = 0; y < h; ++y) {
        const QByteArray got(reinterpret_cast<const char*>(part.ScanLine(y)), rowBytes);
        const bool wanted = y >= rows.First && y <= rows.Last;
        const QByteArray expected =
            wanted ? QByteArray(reinterpret_cast<const char*>(whole.ScanLine(y)), rowBytes) : black;
        ASSERT_TRUE(got == expected) << "row " << y << (wanted ? " differs from the whole decode" : " is not black");
      }
    }
  }
}

TEST(Jpeg, ChosenRowsStillRefuseDamageOutsideThem) {
  // Only the top rows are wanted; the damage lies far below them and must still be found.
  const QByteArray good = ReadExample("webcam-ipa-glass.jpg");
  ASSERT_GT(good.size(), 1000);
  QByteArray corrupt = good;
  for (qsizetype i = good.size() - 400; i < good.size() - 2; ++i) corrupt[i] = static_cast<char>(0xFF - (i % 7));
  for (const QByteArray& bytes : {good.left(good.size() * 2 / 3), good.left(good.size() - 3), corrupt}) {
    TBitmap whole, part;
    ASSERT_EQ(Decode(bytes, whole), TJpegResult::Invalid);
    EXPECT_EQ(DecodeRows(bytes, {0, 3}, part), TJpegResult::Invalid);
    EXPECT_TRUE(part.Empty());
    EXPECT_EQ(DecodeRows(bytes, {5, 4}, part), TJpegResult::Invalid);  // no row wanted at all
  }
}
