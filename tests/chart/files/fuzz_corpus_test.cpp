// The kept fuzz corpus (tests/fixtures/fuzz/<target>/) replayed through the fuzz targets' own
// code, so that every case runs in the ordinary test run under the sanitizers; and the cases too
// large or too many to keep as files, made here.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <map>
#include <string>

#include "fuzz/FuzzCases.h"

namespace {

using fuzzcases::TTarget;

void RunCase(TTarget target, const QByteArray& bytes, const std::string& name) {
  SCOPED_TRACE(name);
  try {
    fuzzcases::Run(target, reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
  }
}

}  // namespace

TEST(FuzzCorpus, EveryKeptCaseLoadsOrIsRefusedAndPaints) {
  const std::map<QString, TTarget> targets{{"property_file", TTarget::PropertyFile},
                                           {"annotation_file", TTarget::AnnotationFile},
                                           {"text_data", TTarget::TextData},
                                           {"compact_data", TTarget::CompactData},
                                           {"jpeg", TTarget::Jpeg}};
  const QDir root(QStringLiteral(LUMIO_FIXTURES "/fuzz"));
  int cases = 0;
  for (const auto& [folder, target] : targets) {
    const QDir dir(root.filePath(folder));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    EXPECT_FALSE(files.isEmpty()) << folder.toStdString();
    for (const QString& file : files) {
      QFile input(dir.filePath(file));
      ASSERT_TRUE(input.open(QIODevice::ReadOnly));
      RunCase(target, input.readAll(), (folder + QLatin1Char('/') + file).toStdString());
      ++cases;
    }
  }
  EXPECT_GE(cases, 50);
}

TEST(FuzzCorpus, MadeCases) {
  // Lines over a megabyte in every text format.
  const QByteArray longLine(1100000, 'W');
  RunCase(TTarget::PropertyFile, "File Type = Plot Config\r\nChannelCount = 1\r\nChannel0.TitleText = " + longLine + "\r\n", "long title");
  RunCase(TTarget::PropertyFile, "File Type = Plot Config\r\n" + longLine + " = 1\r\n", "long name");
  RunCase(TTarget::AnnotationFile, "AnnotationCount = 1\r\nAnnotation0.Text = " + longLine + "\r\n", "long text");
  RunCase(TTarget::TextData, "A(X)\tA(Y)\r\n1\t" + longLine + "\r\n", "long value");
  RunCase(TTarget::TextData, longLine + "\r\n1\t2\r\n", "long header");
  // The picture the tests use, and a copy of it cut at many places.
  QFile picture(QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg"));
  ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
  const QByteArray jpeg = picture.readAll();
  RunCase(TTarget::Jpeg, jpeg, "whole picture");
  for (int size = 0; size < jpeg.size(); size += 997) RunCase(TTarget::Jpeg, jpeg.left(size), "picture cut at " + std::to_string(size));
  // A compact file of two channels cut at every offset.
  QByteArray compact = "Compact Interval\r\n2\r\n";
  for (float v : {1.f, 2.f, 3.f, 4.f, 1.5f, 2.5f, 3.5f, 4.5f, 5.f, 6.f, 2e38f}) compact.append(reinterpret_cast<const char*>(&v), 4);
  for (int size = 0; size <= compact.size(); ++size) RunCase(TTarget::CompactData, compact.left(size), "compact cut at " + std::to_string(size));
}
