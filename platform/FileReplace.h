#pragma once
// Writing a whole file so that a failure never leaves a truncated one behind.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <memory>

#include "platform/TextFile.h"  // EInOutError

// Writes data beside fileName and renames it over fileName when complete. Raises EInOutError
// naming the file; the old file, if any, is then unchanged.
// A target that exists and is not a regular file (a device, a FIFO, a folder) is refused
// with its message and left as it was.
void WriteFileReplacing(const QString& fileName, const QByteArray& data);

// Raises EInOutError when fileName names something that is not a regular file.
void CheckReplaceableFile(const QString& fileName);

class QSaveFile;
class TBackgroundSync;

// The same written piece by piece, for files too large to build in memory first: bytes are
// gathered in a block of its own and handed on when it is full. Every failure (a full disk, a
// folder that cannot be written) raises EInOutError naming the file and leaves the old file;
// nothing replaces it before Commit. Dropped without Commit, the new bytes are thrown away.
// A large file is synced to the disk in the background while later bytes are made, so that
// Commit does not wait for all of it at the end.
class TReplacingFile {
 public:
  explicit TReplacingFile(const QString& fileName);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  void Write(const char* data, std::size_t size);
  void Write(const QByteArray& data) { Write(data.constData(), static_cast<std::size_t>(data.size())); }
  // Room for at least `size` further bytes in the block; the caller writes them at the returned
  // place and hands over the count written with Advance.
  char* Reserve(std::size_t size);
  void Advance(std::size_t size) { used_ += size; }
  // Writes what is gathered and puts the file in place of the old one.
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(const QString& reason, int error);
  QString fileName_;
  std::unique_ptr<QSaveFile> file_;
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  std::size_t unsynced_ = 0;  // bytes handed to the file since the last background sync began
  std::unique_ptr<TBackgroundSync> sync_;
};
