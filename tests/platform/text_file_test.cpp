// Text files written line by line with CR LF, and the input/output error that names the file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/TextFile.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(TextFile, AppendRewriteAndLineEnds) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.txt"));
  {
    TTextFile f(path);
    f.Append();  // creates the missing file
    f.WriteLine(QStringLiteral("one"));
    f.Write(QStringLiteral("t\u00e9"));
    f.WriteLine(QString());
    f.Close();
    EXPECT_FALSE(f.IsOpen());
  }
  EXPECT_EQ(ReadAll(path), QByteArray("one\r\nt\xc3\xa9\r\n"));
  {
    TTextFile f(path);
    f.Append();
    f.WriteLine(QStringLiteral("two"));
  }  // the destructor closes
  EXPECT_EQ(ReadAll(path), QByteArray("one\r\nt\xc3\xa9\r\ntwo\r\n"));
  TTextFile f(path);
  f.Rewrite();
  f.WriteLine(QStringLiteral("new"));
  f.Close();
  EXPECT_EQ(ReadAll(path), QByteArray("new\r\n"));
}

TEST(TextFile, FailuresNameTheFile) {
  QTemporaryDir dir;
  const QString missingFolder = dir.filePath(QStringLiteral("no/such/file.txt"));
  TTextFile f(missingFolder);
  try {
    f.Append();
    FAIL() << "opening in a missing folder succeeded";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message.toStdString(), "Cannot open file \"" + missingFolder.toStdString() + "\": No such file or directory");
    EXPECT_NE(e.ErrorCode, 0);
  }
  // Writing to a file that is not open is an error too, not a silent loss.
  EXPECT_THROW(f.WriteLine(QStringLiteral("x")), EInOutError);
  EXPECT_THROW(TTextFile(QString()).Append(), EInOutError);
}
}  // namespace
