#include "platform/FileReplace.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <filesystem>

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

void WriteFileReplacing(const QString& fileName, const QByteArray& data) {
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
