#pragma once
// Writing a whole file so that a failure never leaves a truncated one behind.
#include <QByteArray>
#include <QString>

#include "platform/TextFile.h"  // EInOutError

// Writes data beside fileName and renames it over fileName when complete. Raises EInOutError
// naming the file; the old file, if any, is then unchanged.
// A target that exists and is not a regular file (a device, a FIFO, a folder) is refused
// with its message and left as it was.
void WriteFileReplacing(const QString& fileName, const QByteArray& data);

// Raises EInOutError when fileName names something that is not a regular file.
void CheckReplaceableFile(const QString& fileName);
