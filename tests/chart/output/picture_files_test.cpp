// Picture files of the chart: BMP, JPEG, PNG and EMF at the chart's size, checked against the
// formats and against the chart as the window paints it.
#include <QDir>
#include <QFileInfo>

#include "chart/core/iErrors.h"
#include "platform/TextFile.h"
#include "tests/chart/output/OutputTestSupport.h"

namespace {

struct TJpegMarkers {
  std::vector<int> Markers;            // every marker code met before the scan data, in order
  std::vector<QByteArray> QuantTables;  // 64 entries each, 8-bit tables
  int Width = 0, Height = 0;
};

// Walks the marker segments of a JPEG stream up to the first scan.
TJpegMarkers ReadJpegMarkers(const QByteArray& data) {
  TJpegMarkers m;
  if (data.size() < 4 || uchar(data[0]) != 0xFF || uchar(data[1]) != 0xD8) return m;
  qsizetype at = 2;
  while (at + 4 <= data.size() && uchar(data[at]) == 0xFF) {
    const int marker = uchar(data[at + 1]);
    const int length = (uchar(data[at + 2]) << 8) | uchar(data[at + 3]);
    m.Markers.push_back(marker);
    const QByteArray body = data.mid(at + 4, length - 2);
    if (marker == 0xDB) {
      for (qsizetype i = 0; i + 65 <= body.size(); i += 65)
        if ((uchar(body[i]) >> 4) == 0) m.QuantTables.push_back(body.mid(i + 1, 64));
    }
    if (marker == 0xC0 || marker == 0xC2) {
      m.Height = (uchar(body[1]) << 8) | uchar(body[2]);
      m.Width = (uchar(body[3]) << 8) | uchar(body[4]);
    }
    if (marker == 0xDA) break;
    at += 2 + length;
  }
  return m;
}

class PictureFiles : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir;
  TDrawingChart chart;
};

TEST_F(PictureFiles, BitmapIsTheChartAtItsSize) {
  chart.SaveImageToBitmap(Path("chart.bmp"));
  const QByteArray data = ReadAll(Path("chart.bmp"));
  ASSERT_GE(data.size(), 2);
  EXPECT_EQ(data.left(2), QByteArray("BM"));
  const QImage image(Path("chart.bmp"));
  ASSERT_EQ(image.size(), QSize(500, 200));
  EXPECT_EQ(DifferingPixels(image, chart.PaintToImage()), 0);
  // The shapes the chart drew: red block, lime block with its white frame, blue ellipse centre.
  EXPECT_EQ(Rgb(image, 150, 100), 0xFF0000u);
  EXPECT_EQ(Rgb(image, 350, 100), 0x00FF00u);
  EXPECT_EQ(Rgb(image, 300, 100), 0xFFFFFFu);
  EXPECT_EQ(Rgb(image, 450, 50), 0x0000FFu);
}

TEST_F(PictureFiles, JpegIsBaselineOrProgressiveAtTheQualityAsked) {
  chart.SaveImageToJPEG(Path("base.jpg"), 100, false);
  chart.SaveImageToJPEG(Path("prog.jpg"), 100, true);
  chart.SaveImageToJPEG(Path("q50.jpg"), 50, false);
  const TJpegMarkers base = ReadJpegMarkers(ReadAll(Path("base.jpg")));
  const TJpegMarkers prog = ReadJpegMarkers(ReadAll(Path("prog.jpg")));
  const TJpegMarkers q50 = ReadJpegMarkers(ReadAll(Path("q50.jpg")));
  auto has = [](const TJpegMarkers& m, int marker) {
    return std::find(m.Markers.begin(), m.Markers.end(), marker) != m.Markers.end();
  };
  EXPECT_TRUE(has(base, 0xC0));
  EXPECT_FALSE(has(base, 0xC2));
  EXPECT_TRUE(has(prog, 0xC2));
  EXPECT_FALSE(has(prog, 0xC0));
  EXPECT_EQ(base.Width, 500);
  EXPECT_EQ(base.Height, 200);
  EXPECT_EQ(prog.Width, 500);
  // Quality 100 divides every coefficient by 1; quality 50 keeps the standard tables (16 first).
  ASSERT_FALSE(base.QuantTables.empty());
  for (const QByteArray& table : base.QuantTables) EXPECT_EQ(table, QByteArray(64, '\1'));
  ASSERT_FALSE(q50.QuantTables.empty());
  EXPECT_EQ(uchar(q50.QuantTables[0][0]), 16);
  // Decoded, a quality-100 picture is close to the chart.
  const QImage decoded(Path("base.jpg"));
  ASSERT_EQ(decoded.size(), QSize(500, 200));
  EXPECT_NEAR(qRed(decoded.pixel(150, 100)), 255, 8);
  EXPECT_NEAR(qGreen(decoded.pixel(350, 100)), 255, 8);
}

TEST_F(PictureFiles, PngCarriesTheDeflateLevelAndTheChartsPixels) {
  struct Case {
    int level;
    int flevel;  // the compression-level bits of the zlib header
  };
  for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{5, 1}, Case{6, 2}, Case{7, 3}, Case{9, 3}}) {
    SCOPED_TRACE(c.level);
    const QString name = Path("chart.png");
    chart.SaveImageToPNG(name, c.level);
    const QByteArray data = ReadAll(name);
    ASSERT_EQ(data.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    const qsizetype idat = data.indexOf("IDAT");
    ASSERT_GT(idat, 0);
    const uchar cmf = uchar(data[idat + 4]), flg = uchar(data[idat + 5]);
    EXPECT_EQ(cmf & 0x0F, 8);  // deflate
    EXPECT_EQ((cmf * 256 + flg) % 31, 0);
    EXPECT_EQ(flg >> 6, c.flevel);
    // Level 0 stores: the first deflate block is of type 00.
    if (c.level == 0) {
      EXPECT_EQ((uchar(data[idat + 6]) >> 1) & 3, 0);
    }
    const QImage decoded(name);
    ASSERT_EQ(decoded.size(), QSize(500, 200));
    EXPECT_EQ(DifferingPixels(decoded, chart.PaintToImage()), 0);
  }
}

TEST_F(PictureFiles, CompressionOutOfRangeIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* file;
    int compression;
    bool png;
    const char* message;
  };
  for (const Case& c : {Case{"a.jpg", 0, false, "Compression must be in the range of 1-100"},
                        Case{"b.jpg", 101, false, "Compression must be in the range of 1-100"},
                        Case{"c.png", 10, true, "Compression must be in the range of 0-9"},
                        Case{"d.png", -1, true, "Compression must be in the range of 0-9"}}) {
    SCOPED_TRACE(c.file);
    const int paints = chart.Paints;
    try {
      if (c.png)
        chart.SaveImageToPNG(Path(c.file), c.compression);
      else
        chart.SaveImageToJPEG(Path(c.file), c.compression, false);
      ADD_FAILURE() << "no error";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QString::fromLatin1(c.message));
    }
    EXPECT_FALSE(QFileInfo::exists(Path(c.file)));
    EXPECT_EQ(chart.Paints, paints);
  }
  EXPECT_THROW(chart.GetJPEGImage(0, true), EiError);
  // The ends of both ranges are accepted.
  EXPECT_FALSE(chart.GetJPEGImage(1, false).isEmpty());
  chart.SaveImageToPNG(Path("zero.png"), 0);
  EXPECT_TRUE(QFileInfo::exists(Path("zero.png")));
}

TEST_F(PictureFiles, MetafileReadsBackRecordByRecord) {
  chart.SaveImageToMetaFile(Path("chart.emf"));
  const QByteArray data = ReadAll(Path("chart.emf"));
  const std::vector<TEmfRecord> records = ReadEmfRecords(data);
  ASSERT_EQ(records.size(), 3u);

  const TEmfRecord& header = records[0];
  EXPECT_EQ(header.Type, 1u);
  EXPECT_EQ(header.I32(8), 0);  // bounds: the whole picture, inclusive
  EXPECT_EQ(header.I32(12), 0);
  EXPECT_EQ(header.I32(16), 499);
  EXPECT_EQ(header.I32(20), 199);
  EXPECT_EQ(header.U32(40), 0x464D4520u);
  EXPECT_EQ(header.U32(48), static_cast<std::uint32_t>(data.size()));
  EXPECT_EQ(header.U32(52), 3u);
  // The description: creator "Vantor", no title, UTF-16 with two terminating NULs.
  const std::uint32_t chars = header.U32(60), offset = header.U32(64);
  ASSERT_LE(offset + 2 * chars, static_cast<std::uint32_t>(header.Bytes.size()));
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(header.Bytes.constData() + offset), chars);
  EXPECT_EQ(text, QStringLiteral("Vantor") + QChar(0) + QChar(0));
  // The frame in hundredths of a millimetre at 96 pixels per inch: 500 px = 13229 (13229.17).
  EXPECT_EQ(header.I32(32), 13229 - 1);

  const TEmfRecord& dib = records[1];
  EXPECT_EQ(dib.Type, 81u);
  EXPECT_EQ(dib.I32(24), 0);    // destination x
  EXPECT_EQ(dib.I32(28), 0);    // destination y
  EXPECT_EQ(dib.I32(40), 500);  // source width
  EXPECT_EQ(dib.I32(44), 200);  // source height
  EXPECT_EQ(dib.U32(68), 0x00CC0020u);
  EXPECT_EQ(dib.I32(72), 500);  // destination width
  EXPECT_EQ(dib.I32(76), 200);
  const std::uint32_t bmiOffset = dib.U32(48), bitsOffset = dib.U32(56), bitsSize = dib.U32(60);
  EXPECT_EQ(dib.I32(bmiOffset + 4), 500);
  EXPECT_EQ(dib.I32(bmiOffset + 8), 200);
  EXPECT_EQ(qFromLittleEndian<std::uint16_t>(dib.Bytes.constData() + bmiOffset + 14), 24);
  const int stride = 1500;  // 500 pixels of 3 bytes, already a multiple of 4
  ASSERT_EQ(bitsSize, static_cast<std::uint32_t>(stride * 200));
  ASSERT_LE(bitsOffset + bitsSize, static_cast<std::uint32_t>(dib.Bytes.size()));
  // Rows bottom-up, blue-green-red: rebuild the picture and compare with the window's.
  QImage rebuilt(500, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y) {
    const uchar* row = reinterpret_cast<const uchar*>(dib.Bytes.constData()) + bitsOffset + (199 - y) * stride;
    for (int x = 0; x < 500; ++x) rebuilt.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
  }
  EXPECT_EQ(DifferingPixels(rebuilt, chart.PaintToImage()), 0);

  const TEmfRecord& eof = records[2];
  EXPECT_EQ(eof.Type, 14u);
  EXPECT_EQ(eof.Bytes.size(), 20);
  EXPECT_EQ(eof.U32(16), 20u);
}

TEST_F(PictureFiles, AChartWithoutAreaWritesNothingAndKeepsTheOldFile) {
  WriteAll(Path("old.png"), "old contents");
  for (QSize size : {QSize(0, 200), QSize(500, 0)}) {
    chart.resize(size);
    EXPECT_THROW(chart.SaveImageToPNG(Path("old.png"), 9), EiError);
    EXPECT_THROW(chart.SaveImageToBitmap(Path("new.bmp")), EiError);
    EXPECT_THROW(chart.SaveImageToMetaFile(Path("new.emf")), EiError);
    EXPECT_THROW(chart.SaveImageToJPEG(Path("new.jpg"), 90, false), EiError);
  }
  EXPECT_EQ(ReadAll(Path("old.png")), QByteArray("old contents"));
  EXPECT_FALSE(QFileInfo::exists(Path("new.bmp")));
  EXPECT_FALSE(QFileInfo::exists(Path("new.emf")));
  EXPECT_FALSE(QFileInfo::exists(Path("new.jpg")));
}

TEST_F(PictureFiles, AFileIsReplacedWholeOrNotAtAll) {
  WriteAll(Path("chart.bmp"), QByteArray(5'000'000, 'x'));  // larger than the new picture
  chart.SaveImageToBitmap(Path("chart.bmp"));
  EXPECT_EQ(QImage(Path("chart.bmp")).size(), QSize(500, 200));
  EXPECT_LT(QFileInfo(Path("chart.bmp")).size(), 5'000'000);
  // A folder that does not exist: the platform's error names the file; nothing is left behind.
  const QString missing = Path("no/such/folder/chart.png");
  try {
    chart.SaveImageToPNG(missing, 9);
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_TRUE(e.Message.contains(missing));
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QStringLiteral("chart.bmp")});
}

}  // namespace
