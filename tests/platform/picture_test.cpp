// The picture loader: decoder by extension, and files that cannot be read.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Jpeg.h"
#include "platform/Picture.h"

namespace {
void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

TBitmap Colour(int w, int h) {
  TBitmap b(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x * 8 % 256, y * 8 % 256, 90));
  return b;
}

TEST(LoadPictureFile, ChoosesTheDecoderByExtension) {
  QTemporaryDir dir;
  const TBitmap colour = Colour(24, 10);
  WriteFile(dir.filePath(QStringLiteral("camera.JPG")), EncodeJpeg(colour));
  WriteFile(dir.filePath(QStringLiteral("b.jpeg")), EncodeJpeg(colour));
  ASSERT_TRUE(colour.Image().save(dir.filePath(QStringLiteral("c.PNG")), "png"));
  ASSERT_TRUE(colour.Image().save(dir.filePath(QStringLiteral("d.bmp")), "bmp"));
  ASSERT_TRUE(colour.Image().convertToFormat(QImage::Format_ARGB32).save(dir.filePath(QStringLiteral("e.ico")), "ico"));
  WriteFile(dir.filePath(QStringLiteral("f.emf")), QByteArray(64, '\1'));

  for (const char* name : {"camera.JPG", "b.jpeg"}) {
    SCOPED_TRACE(name);
    const TPicture p = LoadPictureFile(dir.filePath(QString::fromLatin1(name)));
    EXPECT_EQ(p.Kind, pkJpeg);
    EXPECT_EQ(p.Bitmap.Width(), 24);
    EXPECT_EQ(p.Bitmap.Height(), 10);
    EXPECT_EQ(p.Bitmap.PixelFormat(), pf24bit);
  }
  struct Case {
    const char* name;
    TPictureKind kind;
  };
  for (const Case& c : std::initializer_list<Case>{{"c.PNG", pkPng}, {"d.bmp", pkBitmap}, {"e.ico", pkIcon}}) {
    SCOPED_TRACE(c.name);
    const TPicture p = LoadPictureFile(dir.filePath(QString::fromLatin1(c.name)));
    EXPECT_EQ(p.Kind, c.kind);
    EXPECT_EQ(p.Image.size(), QSize(24, 10));
    EXPECT_TRUE(p.Bitmap.Empty());
  }
  const TPicture meta = LoadPictureFile(dir.filePath(QStringLiteral("f.emf")));
  EXPECT_EQ(meta.Kind, pkMetafile);
  EXPECT_TRUE(meta.Image.isNull());
}

template <class E>
QString MessageOf(const QString& path) {
  try {
    LoadPictureFile(path);
  } catch (const E& e) {
    return e.Message;
  } catch (const std::exception& e) {
    return QStringLiteral("other exception: ") + QString::fromLocal8Bit(e.what());
  }
  return QStringLiteral("no exception");
}

TEST(LoadPictureFile, BadFiles) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("missing.jpg"));
  const QString folder = dir.filePath(QStringLiteral("folder.jpg"));
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString text = dir.filePath(QStringLiteral("notes.txt"));
  WriteFile(text, "hello");
  const QString empty = dir.filePath(QStringLiteral("empty.jpg"));
  WriteFile(empty, QByteArray());
  const QString fakeJpeg = dir.filePath(QStringLiteral("fake.jpg"));
  WriteFile(fakeJpeg, "GIF89a and so on");
  const QString fakePng = dir.filePath(QStringLiteral("fake.png"));
  WriteFile(fakePng, "not a png");
  const QString emptyPng = dir.filePath(QStringLiteral("empty.png"));
  WriteFile(emptyPng, QByteArray());

  // Files that cannot be read at all: the message names the file and the reason.
  for (auto [path, reason] : {std::pair{missing, "No such file or directory"}, {folder, "Is a directory"},
                              {fifo, "Not a regular file"}}) {
    SCOPED_TRACE(path.toStdString());
    const QString m = MessageOf<EInOutError>(path);
    EXPECT_TRUE(m.contains(path) && m.contains(QString::fromLatin1(reason))) << m.toStdString();
  }
  // Unknown extensions and undecodable JPEG files are invalid pictures.
  for (const QString& path : {text, empty, fakeJpeg}) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_THROW(LoadPictureFile(path), EInvalidGraphic);
  }
  // Other decoders' failures name the file.
  for (const QString& path : {fakePng, emptyPng}) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_THROW(LoadPictureFile(path), EPictureError);
    EXPECT_TRUE(MessageOf<EPictureError>(path).contains(path));
  }
}

TEST(LoadPictureFile, UnreadableFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("locked.jpg"));
  WriteFile(path, EncodeJpeg(Colour(8, 8)));
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
  const QString m = MessageOf<EInOutError>(path);
  EXPECT_TRUE(m.contains(path) && m.contains(QStringLiteral("Permission denied"))) << m.toStdString();
}
}  // namespace
