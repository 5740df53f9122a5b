#include "platform/FileReplace.h"

#include <QSaveFile>

void WriteFileReplacing(const QString& fileName, const QByteArray& data) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()), static_cast<int>(file.error()));
  if (file.write(data) != data.size() || !file.commit())
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()), static_cast<int>(file.error()));
}
