#include "platform/FileReplace.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Qt's own text when it has one; the system's words for errno when Qt only knows "Unknown error".
QString Reason(const QFileDevice& file, int systemError) {
  const QString qt = file.errorString();
  if (systemError != 0 && (qt.isEmpty() || qt == QLatin1String("Unknown error")))
    return QString::fromLocal8Bit(std::strerror(systemError));
  return qt;
}
}  // namespace

void CheckReplaceableFile(const QString& fileName) {
  std::error_code error;
  const auto status = std::filesystem::status(fileName.toStdString(), error);
  // Renaming over a device, a FIFO, a socket or a folder would replace it by a plain file.
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". It is not a regular file.").arg(fileName), EINVAL);
}

namespace {
QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The plain case in the fewest system calls, as a batch writes thousands of files: a target that
// is missing or a regular file. The bytes go to a new file beside it, are synced, take the old
// file's permissions and are renamed over it. False, having done nothing, for anything else
// (a symbolic link, which QSaveFile keeps as a link, or what stat cannot tell).
bool WritePlainFileReplacing(const QString& fileName, const QByteArray& data) {
  const QByteArray path = QFile::encodeName(fileName);
  struct stat old {};
  const bool exists = lstat(path.constData(), &old) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && !S_ISREG(old.st_mode)) return false;
  static std::atomic<unsigned> serial{0};
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = path + ".new-" + QByteArray::number(static_cast<qint64>(getpid())) + '-' + QByteArray::number(serial++);
    fd = open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100))
      throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, SystemReason(errno)), errno);
  }
  const auto fail = [&](int error) {
    if (fd >= 0) close(fd);
    unlink(temp.constData());
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, SystemReason(error)), error);
  };
  const char* p = data.constData();
  for (qsizetype left = data.size(); left > 0;) {
    const ssize_t n = write(fd, p, static_cast<std::size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(n < 0 ? errno : ENOSPC);
    p += n;
    left -= n;
  }
  if (exists && fchmod(fd, old.st_mode & 07777) != 0) fail(errno);
  if (fdatasync(fd) != 0) fail(errno);
  const int closed = close(fd);
  fd = -1;
  if (closed != 0) fail(errno);
  if (rename(temp.constData(), path.constData()) != 0) fail(errno);
  return true;
}
}  // namespace

void WriteFileReplacing(const QString& fileName, const QByteArray& data) {
  if (WritePlainFileReplacing(fileName, data)) return;
  CheckReplaceableFile(fileName);
  QSaveFile file(fileName);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly))
    throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, Reason(file, errno)), static_cast<int>(file.error()));
  errno = 0;
  const bool written = file.write(data) == data.size();
  const int writeError = errno;
  if (!written) {
    const QString reason = Reason(file, writeError);
    file.cancelWriting();
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason), writeError);
  }
  errno = 0;
  if (!file.commit())
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, Reason(file, errno)), errno);
}

namespace {
constexpr std::size_t kReplacingBlock = 1 << 20;
// A background sync begins whenever this much more has been written.
constexpr std::size_t kSyncStep = std::size_t{4} << 20;
}  // namespace

// Syncs a file's data on a thread of its own whenever asked, so that the disk works while the
// writer makes the next bytes. The first error is kept for Finish: a sync reports a failed
// write only once.
class TBackgroundSync {
 public:
  explicit TBackgroundSync(int fd) : fd_(fd), thread_([this] { Run(); }) {}
  ~TBackgroundSync() { Finish(); }
  void Request() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++requested_;
    }
    wake_.notify_one();
  }
  // Waits for the sync under way, if any; the first error, or 0.
  int Finish() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    return error_;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || done_ < requested_; });
      if (stop_) return;
      done_ = requested_;
      lock.unlock();
      const int result = fdatasync(fd_);
      const int error = result == 0 ? 0 : errno;
      lock.lock();
      if (error != 0 && error_ == 0) error_ = error;
    }
  }
  const int fd_;
  std::mutex mutex_;
  std::condition_variable wake_;
  unsigned requested_ = 0, done_ = 0;
  bool stop_ = false;
  int error_ = 0;
  std::thread thread_;  // last: it starts once everything above is ready
};

TReplacingFile::TReplacingFile(const QString& fileName) : fileName_(fileName) {
  CheckReplaceableFile(fileName);
  file_ = std::make_unique<QSaveFile>(fileName);
  errno = 0;
  if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, Reason(*file_, errno)), static_cast<int>(file_->error()));
  block_ = std::make_unique<char[]>(kReplacingBlock);
}

TReplacingFile::~TReplacingFile() {
  sync_.reset();  // no sync may run on a file that is thrown away
  if (file_ && file_->isOpen()) file_->cancelWriting();
}

void TReplacingFile::Fail(const QString& reason, int error) {
  sync_.reset();
  file_->cancelWriting();
  throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName_, reason), error);
}

void TReplacingFile::Flush() {
  if (used_ == 0) return;
  errno = 0;
  const qint64 written = file_->write(block_.get(), static_cast<qint64>(used_));
  const int error = errno;
  if (written != static_cast<qint64>(used_)) Fail(Reason(*file_, error), error);
  unsynced_ += used_;
  used_ = 0;
  if (unsynced_ >= kSyncStep && file_->handle() >= 0) {
    unsynced_ = 0;
    if (!sync_) {
      try {
        sync_ = std::make_unique<TBackgroundSync>(file_->handle());
      } catch (const std::system_error&) {
        return;  // no thread to be had: Commit's sync does it all
      }
    }
    sync_->Request();
  }
}

char* TReplacingFile::Reserve(std::size_t size) {
  if (used_ + size > kReplacingBlock) Flush();
  if (size > kReplacingBlock) throw EInOutError(QStringLiteral("Cannot write file \"%1\". Too large a piece").arg(fileName_), EINVAL);
  return block_.get() + used_;
}

void TReplacingFile::Write(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ == kReplacingBlock) Flush();
    const std::size_t n = std::min(size, kReplacingBlock - used_);
    std::memcpy(block_.get() + used_, data, n);
    used_ += n;
    data += n;
    size -= n;
  }
}

void TReplacingFile::Commit() {
  Flush();
  if (sync_) {
    const int error = sync_->Finish();
    if (error != 0) Fail(SystemReason(error), error);
  }
  errno = 0;
  if (!file_->commit())
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName_, Reason(*file_, errno)), errno);
}
