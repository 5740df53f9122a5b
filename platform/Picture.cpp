#include "platform/Picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Jpeg.h"

namespace {
[[noreturn]] void ReadFailure(const QString& fileName, const QString& reason, int error) {
  throw EInOutError(QStringLiteral("Cannot read file \"%1\": %2").arg(fileName, reason), error);
}
[[noreturn]] void ReadFailure(const QString& fileName, int error) {
  ReadFailure(fileName, QString::fromLocal8Bit(std::strerror(error)), error);
}

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};
}  // namespace

QByteArray ReadPictureFile(const QString& fileName) {
  const QByteArray path = fileName.toLocal8Bit();
  if (path.isEmpty()) ReadFailure(fileName, ENOENT);
  // Non-blocking, so that opening a FIFO without a writer does not wait.
  int raw = -1;
  do {
    raw = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (raw < 0 && errno == EINTR);
  if (raw < 0) ReadFailure(fileName, errno);
  TDescriptor fd(raw);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) ReadFailure(fileName, errno);
  if (S_ISDIR(st.st_mode)) ReadFailure(fileName, EISDIR);
  if (!S_ISREG(st.st_mode)) ReadFailure(fileName, QStringLiteral("Not a regular file"), EINVAL);
  if (st.st_size > kMaxPictureFileBytes) ReadFailure(fileName, EFBIG);
  QByteArray bytes;
  bytes.resize(static_cast<qsizetype>(st.st_size));
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ReadFailure(fileName, errno);
    }
    if (n == 0) break;  // the file shrank while being read
    done += n;
  }
  bytes.truncate(done);
  return bytes;
}

TPicture LoadPictureFile(const QString& fileName, const TJpegRowChoice& jpegRows) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  TPicture picture;
  const char* format = nullptr;
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
    picture.Kind = pkJpeg;
  } else if (ext == QLatin1String("png")) {
    picture.Kind = pkPng, format = "png";
  } else if (ext == QLatin1String("bmp")) {
    picture.Kind = pkBitmap, format = "bmp";
  } else if (ext == QLatin1String("ico")) {
    picture.Kind = pkIcon, format = "ico";
  } else if (ext == QLatin1String("emf") || ext == QLatin1String("wmf")) {
    picture.Kind = pkMetafile;
  } else {
    throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(QFileInfo(fileName).suffix()));
  }

  const QByteArray bytes = ReadPictureFile(fileName);
  switch (picture.Kind) {
    case pkJpeg: {
      QString reason;
      const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
      const auto size = static_cast<std::size_t>(bytes.size());
      const TJpegResult r = jpegRows ? DecodeJpegRows(data, size, jpegRows, picture.Bitmap, &reason)
                                     : DecodeJpeg(data, size, picture.Bitmap, &reason);
      if (r == TJpegResult::TooLarge)
        throw EPictureError(QStringLiteral("Cannot load picture \"%1\": %2").arg(fileName, reason));
      if (r != TJpegResult::Ok) throw EInvalidGraphic(QStringLiteral("JPEG error: %1").arg(reason));
      return picture;
    }
    case pkMetafile:
      return picture;  // metafiles are recognised but not drawn
    default: {
      QBuffer buffer;
      buffer.setData(bytes);
      buffer.open(QIODevice::ReadOnly);
      QImageReader reader(&buffer, format);
      reader.setDecideFormatFromContent(false);
      const QSize size = reader.size();
      if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels)
        throw EPictureError(QStringLiteral("Cannot load picture \"%1\": Picture of %2 x %3 pixels is too large")
                                .arg(fileName)
                                .arg(size.width())
                                .arg(size.height()));
      picture.Image = reader.read();
      if (picture.Image.isNull())
        throw EPictureError(QStringLiteral("Cannot load picture \"%1\": %2").arg(fileName, reader.errorString()));
      return picture;
    }
  }
}
