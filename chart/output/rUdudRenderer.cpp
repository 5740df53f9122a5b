#include "chart/output/rUdudRenderer.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "chart/core/iComponent.h"
#include "chart/core/iErrors.h"
#include "platform/Canvas.h"
#include "platform/Emf.h"
#include "platform/Jpeg.h"
#include "platform/Png.h"

namespace {
void CheckPictureBudget(QSize size) {
  if (qint64(size.width()) * size.height() > kMaxOutputPixels)
    throw EiError(QStringLiteral("The chart is too large for a picture (%1 x %2 pixels; at most %3 million pixels)")
                      .arg(size.width())
                      .arg(size.height())
                      .arg(kMaxOutputPixels / 1000000));
}
}  // namespace

QSize OutputSize(const TiComponent& control) {
  const QSize size(control.Width(), control.Height());
  if (size.width() <= 0 || size.height() <= 0) throw EiError(QStringLiteral("The chart has no area to draw"));
  CheckPictureBudget(size);
  return size;
}

TBitmap RenderBitmap(TiComponent& control) {
  const QSize size = OutputSize(control);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  if (!bitmap.SetSize(size.width(), size.height())) throw EiError(QStringLiteral("Not enough memory for the picture"));
  control.DoPaint(*bitmap.Canvas());
  return bitmap;
}

QPicture RenderPicture(TiComponent& control) {
  const QSize size = OutputSize(control);
  QPicture picture;
  picture.setBoundingRect(QRect(QPoint(0, 0), size));
  {
    TCanvas canvas(&picture);
    control.DoPaint(canvas);
  }  // the canvas ends its painter here, which closes the recording
  picture.setBoundingRect(QRect(QPoint(0, 0), size));
  return picture;
}

namespace {
// Replaying a picture scales it by the device's resolution over the one it was recorded at;
// this undoes that, so that one recorded pixel is one pixel of the painter's coordinates.
void PlayAtPixelScale(QPainter& painter, const QPicture& picture) {
  const QPaintDevice* device = painter.device();
  if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
    painter.scale(double(picture.logicalDpiX()) / device->logicalDpiX(), double(picture.logicalDpiY()) / device->logicalDpiY());
  painter.drawPicture(0, 0, picture);
}
}  // namespace

QImage PictureToImage(const QPicture& picture, QSize source, QSize target) {
  if (!target.isValid()) target = source;
  CheckPictureBudget(target);
  QImage image(target, QImage::Format_RGB32);
  if (image.isNull() || source.isEmpty()) throw EiError(QStringLiteral("Not enough memory for the picture"));
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.scale(double(target.width()) / source.width(), double(target.height()) / source.height());
  PlayAtPixelScale(painter, picture);
  painter.end();
  return image;
}

void DrawPictureScaled(QPainter& painter, const QPicture& picture, QSize source, const QRect& target) {
  if (source.isEmpty() || target.isEmpty()) return;
  painter.save();
  painter.translate(target.left(), target.top());
  painter.scale(double(target.width()) / source.width(), double(target.height()) / source.height());
  painter.setClipRect(QRect(QPoint(0, 0), source));
  PlayAtPixelScale(painter, picture);
  painter.restore();
}

QByteArray EncodeBmpFile(const QImage& image) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) throw EiError(QStringLiteral("Cannot encode the bitmap"));
  return data;
}

QByteArray EncodeJpegFile(const TBitmap& bitmap, int quality, bool progressive) {
  TJpegWriteOptions options;
  options.Quality = quality;
  options.Progressive = progressive;
  options.BestDCT = true;
  QByteArray data = EncodeJpeg(bitmap, options);
  if (data.isEmpty()) throw EiError(QStringLiteral("Cannot encode the JPEG picture"));
  return data;
}

QByteArray EncodePngFile(const QImage& image, int level) {
  QByteArray data = EncodePng(image, level);
  if (data.isEmpty()) throw EiError(QStringLiteral("Cannot encode the PNG picture"));
  return data;
}

QByteArray EncodeEmfFile(const QImage& image, const QString& description) {
  QByteArray data = EncodeEmf(image, QString::fromLatin1(kMetafileCreator), description);
  if (data.isEmpty()) throw EiError(QStringLiteral("Cannot encode the metafile"));
  return data;
}

QByteArray EncodeSvgFile(const QPicture& picture, QSize size) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QString::fromLatin1(kMetafileCreator));
  QPainter painter;
  if (!painter.begin(&generator)) throw EiError(QStringLiteral("Cannot encode the SVG picture"));
  PlayAtPixelScale(painter, picture);
  painter.end();
  return data;
}

void CheckJpegCompression(int compression) {
  if (compression < 1 || compression > 100) throw EiError(QStringLiteral("Compression must be in the range of 1-100"));
}

void CheckPngCompression(int compression) {
  if (compression < 0 || compression > 9) throw EiError(QStringLiteral("Compression must be in the range of 0-9"));
}

QString FailureText(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return ErrorMessage(e);
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
}
