#pragma once
// The platform's picture loader: chooses the decoder by the file's extension.
#include <QImage>
#include <QString>
#include <stdexcept>

#include "platform/Bitmap.h"
#include "platform/Jpeg.h"
#include "platform/TextFile.h"  // EInOutError, raised when a file cannot be read

enum TPictureKind { pkJpeg, pkPng, pkBitmap, pkIcon, pkMetafile };

// An invalid picture: an unrecognised extension or a JPEG file that cannot be decoded.
class EInvalidGraphic : public std::runtime_error {
 public:
  explicit EInvalidGraphic(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

// Any other failure of a decoder, and pictures too large for memory. The message names the file.
class EPictureError : public std::runtime_error {
 public:
  explicit EPictureError(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

struct TPicture {
  TPictureKind Kind = pkJpeg;
  // JPEG pictures: 24-bit for colour, 8-bit for grayscale.
  TBitmap Bitmap;
  // PNG, bitmap and icon pictures as decoded, for showing; metafiles are not drawn (empty).
  QImage Image;
};

// The picture file types, as patterns for a file list.
inline constexpr const char* kPictureFileMask = "*.jpg;*.jpeg;*.png;*.bmp;*.ico;*.emf;*.wmf";

// The largest file read as a picture.
inline constexpr long long kMaxPictureFileBytes = 1LL << 30;

// Reads the whole file. Raises EInOutError naming the file when it is missing, unreadable, not
// a regular file or larger than kMaxPictureFileBytes. A FIFO or device never blocks the read.
QByteArray ReadPictureFile(const QString& fileName);

// Loads a picture file. Raises EInvalidGraphic for an unrecognised extension or an undecodable
// JPEG file, EInOutError when the file cannot be read, EPictureError for failures of the other
// decoders and for pictures too large for memory. With `jpegRows`, a JPEG picture gets only the
// rows it chooses (DecodeJpegRows); other kinds ignore it.
TPicture LoadPictureFile(const QString& fileName, const TJpegRowChoice& jpegRows = {});
