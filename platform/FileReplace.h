#pragma once
// Writing a whole file so that a failure never leaves a truncated one behind.
#include <QByteArray>
#include <QString>

#include "platform/TextFile.h"  // EInOutError

// Writes data beside fileName and renames it over fileName when complete. Raises EInOutError
// naming the file; the old file, if any, is then unchanged.
void WriteFileReplacing(const QString& fileName, const QByteArray& data);
