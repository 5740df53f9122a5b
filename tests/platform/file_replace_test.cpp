// Writing whole files through a temporary file and a rename: targets that are not regular files
// are refused and left alone, and a failed write says why in the system's words.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/FileReplace.h"
#include "support/FileSizeLimit.h"

namespace {

TEST(FileReplace, WritesAndReplacesARegularFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("a.bin"));
  WriteFileReplacing(name, "first");
  WriteFileReplacing(name, "second");
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("second"));
  // The replaced file keeps its permissions; nothing is left beside it.
  ASSERT_EQ(chmod(name.toLocal8Bit().constData(), 0640), 0);
  WriteFileReplacing(name, "third");
  struct stat st {};
  ASSERT_EQ(stat(name.toLocal8Bit().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.bin")});
}

TEST(FileReplace, ALinkStaysALinkAndItsFileIsReplaced) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("data.csv")), link = dir.filePath(QStringLiteral("latest.csv"));
  WriteFileReplacing(target, "old");
  ASSERT_TRUE(QFile::link(target, link));
  WriteFileReplacing(link, "new");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("new"));
}

TEST(FileReplace, AFolderThatCannotBeWrittenSaysWhy) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("no-such-folder/a.csv"));
  try {
    WriteFileReplacing(missing, "data");
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(missing));
  }
}

TEST(FileReplace, RefusesTargetsThatAreNotRegularFiles) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("pipe"));
  ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  const QString folder = dir.filePath(QStringLiteral("folder"));
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const QString& target : {fifo, folder}) {
    SCOPED_TRACE(target.toStdString());
    try {
      WriteFileReplacing(target, "data");
      ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("Cannot write file \"%1\". It is not a regular file.").arg(target));
    }
  }
  struct stat st {};
  ASSERT_EQ(stat(fifo.toLocal8Bit().constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0) << "no temporary file left";
}

// A file size limit stands in for a full disk: the old file stays, no temporary file is left,
// and the message names the cause.
TEST(FileReplace, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("a.bin"));
  WriteFileReplacing(name, "old contents");
  QString message;
  {
    TFileSizeLimit limit(4096);
    ASSERT_TRUE(limit.Active());
    try {
      WriteFileReplacing(name, QByteArray(100000, 'x'));
    } catch (const EInOutError& e) {
      message = e.Message;
    }
  }
  EXPECT_EQ(message.toStdString(), QStringLiteral("Cannot write file \"%1\". File too large").arg(name).toStdString());
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("old contents"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.bin")});
}

// Large enough that the disk is synced in the background while later pieces are written.
TEST(FileReplace, AStreamedLargeFileIsWholeOrNotThere) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("a.bin"));
  WriteFileReplacing(name, "old contents");
  const auto piece = [](int i) { return QByteArray(1000 + i % 7, static_cast<char>('a' + i % 26)); };
  const auto write = [&](int pieces) {
    TReplacingFile file(name);
    for (int i = 0; i < pieces; ++i) file.Write(piece(i));
    file.Commit();
  };
  QString message;
  {
    TFileSizeLimit limit(9 << 20);
    ASSERT_TRUE(limit.Active());
    try {
      write(12000);
    } catch (const EInOutError& e) {
      message = e.Message;
    }
  }
  EXPECT_EQ(message.toStdString(), QStringLiteral("Cannot write file \"%1\". File too large").arg(name).toStdString());
  QFile old(name);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old contents"));
  old.close();

  write(12000);
  QByteArray expected;
  for (int i = 0; i < 12000; ++i) expected += piece(i);
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll() == expected);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.bin")});
}

}  // namespace
