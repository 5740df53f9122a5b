#include "platform/TextFile.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

TTextFile::TTextFile(const QString& fileName) : fileName_(fileName) {}

TTextFile::~TTextFile() {
  if (fd_ >= 0) ::close(fd_);
}

void TTextFile::Fail(const char* what, int error) {
  throw EInOutError(QStringLiteral("%1 file \"%2\": %3")
                        .arg(QString::fromLatin1(what), fileName_, QString::fromLocal8Bit(std::strerror(error))),
                    error);
}

void TTextFile::Open(int flags) {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  const QByteArray path = fileName_.toLocal8Bit();
  if (path.isEmpty()) Fail("Cannot open", ENOENT);
  int fd = -1;
  // Non-blocking, so that a named pipe without a reader fails at once instead of waiting for
  // one; the writes afterwards block as usual.
  do {
    fd = ::open(path.constData(), flags | O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) Fail("Cannot open", errno);
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0) {
    const int error = errno;
    ::close(fd);
    Fail("Cannot open", error);
  }
  fd_ = fd;
}

void TTextFile::Append() { Open(O_APPEND); }
void TTextFile::Rewrite() { Open(O_TRUNC); }

void TTextFile::WriteBytes(const char* data, long long size) {
  if (fd_ < 0) Fail("Cannot write to", EBADF);
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, static_cast<size_t>(size));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write to", errno);
    }
    if (n == 0) Fail("Cannot write to", ENOSPC);
    data += n;
    size -= n;
  }
}

void TTextFile::Write(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  WriteBytes(bytes.constData(), bytes.size());
}

void TTextFile::WriteLine(const QString& text) {
  QByteArray bytes = text.toUtf8();
  bytes.append("\r\n", 2);
  WriteBytes(bytes.constData(), bytes.size());
}

void TTextFile::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  // A close interrupted by a signal has still released the descriptor on Linux: no retry.
  if (::close(fd) != 0 && errno != EINTR) Fail("Cannot close", errno);
}
