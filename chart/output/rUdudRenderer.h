#pragma once
// The one renderer behind printing, the preview, the clipboard and every picture file: it sizes
// a surface to the control, has the control draw itself once with DoPaint, and encodes.
#include <QByteArray>
#include <QPicture>
#include <QRect>
#include <QSize>
#include <exception>

#include "platform/Bitmap.h"

class TiComponent;
class QPainter;

// The creator text that the chart's metafiles carry.
inline constexpr const char* kMetafileCreator = "Vantor";

// The most pixels an output picture may have: a chart made huge by a property file must not
// make every save, copy and print allocate gigabytes.
inline constexpr qint64 kMaxOutputPixels = 100000000;

// The control's size; raises EiError when it has no area, as nothing could be drawn, or when
// it has more than kMaxOutputPixels.
QSize OutputSize(const TiComponent& control);

// The control drawn into a new 24-bit bitmap of its size.
TBitmap RenderBitmap(TiComponent& control);
// The control recorded as a picture of its size (vector drawing commands, replayable at any scale).
QPicture RenderPicture(TiComponent& control);
// A recorded picture of `source` size replayed stretched into a picture of `target` size
// (the source size when not given). Nothing the recording draws reaches beyond that picture.
QImage PictureToImage(const QPicture& picture, QSize source, QSize target = QSize());
// Replays a picture recorded at `source` size stretched into `target`, keeping it vector drawing.
// The recording's own clip changes replace the clip to target.
void DrawPictureScaled(QPainter& painter, const QPicture& picture, QSize source, const QRect& target);

// Encoders. Each raises EiError when the encoder fails.
QByteArray EncodeBmpFile(const QImage& image);
QByteArray EncodeJpegFile(const TBitmap& bitmap, int quality, bool progressive);
QByteArray EncodePngFile(const QImage& image, int level);
QByteArray EncodeEmfFile(const QImage& image, const QString& description);
QByteArray EncodeSvgFile(const QPicture& picture, QSize size);

// The message of a caught failure of any kind, for the commands that show it.
QString FailureText(std::exception_ptr failure);

// The range checks of the picture settings, with their messages.
void CheckJpegCompression(int compression);
void CheckPngCompression(int compression);
