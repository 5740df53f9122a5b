#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/calibration/Workspace.h"
#include "platform/TextFile.h"

namespace {
TWorkspace Example(const QString& folder) {
  TWorkspace w;
  w.Sample.Picture = folder + QStringLiteral("/pictures/sample.jpg");
  w.Sample.BlueWavelength = 401.775812345678, w.Sample.RedWavelength = 609.25;
  w.Sample.BlueX = 241, w.Sample.BlueY = 360, w.Sample.RedX = 814, w.Sample.RedY = 360;
  w.Sample.QuadraticInForce = true;
  w.Sample.Quadratic = {401.7758, 0.357413, 6.65e-6};
  w.Reference.Picture = QStringLiteral("/elsewhere/reference.jpg");
  w.Reference.BlueX = 110, w.Reference.BlueY = 75, w.Reference.RedX = 414, w.Reference.RedY = 75;
  w.BandWidth = 99, w.Trace = 3, w.Abscissa = 1;
  return w;
}

void ExpectSameSide(const TWorkspaceSide& a, const TWorkspaceSide& b) {
  EXPECT_EQ(a.Picture, b.Picture);
  EXPECT_EQ(a.BlueWavelength, b.BlueWavelength);
  EXPECT_EQ(a.RedWavelength, b.RedWavelength);
  EXPECT_EQ(a.BlueX, b.BlueX);
  EXPECT_EQ(a.BlueY, b.BlueY);
  EXPECT_EQ(a.RedX, b.RedX);
  EXPECT_EQ(a.RedY, b.RedY);
  EXPECT_EQ(a.QuadraticInForce, b.QuadraticInForce);
  EXPECT_EQ(a.Quadratic, b.Quadratic);
}
}  // namespace

TEST(Workspace, RoundTripsWithPicturesRelativeUnderItsFolder) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("set-up.lumio"));
  const TWorkspace w = Example(dir.path());
  WriteWorkspaceFile(w, file);
  QFile raw(file);
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  const QByteArray text = raw.readAll();
  EXPECT_TRUE(text.contains("\"pictures/sample.jpg\"")) << text.constData();
  EXPECT_TRUE(text.contains("\"/elsewhere/reference.jpg\""));

  const TWorkspaceRead back = ReadWorkspaceFile(file);
  ASSERT_TRUE(back.Ok) << back.Message.toStdString();
  ExpectSameSide(back.Workspace.Sample, w.Sample);
  ExpectSameSide(back.Workspace.Reference, w.Reference);
  EXPECT_EQ(back.Workspace.BandWidth, 99);
  EXPECT_EQ(back.Workspace.Trace, 3);
  EXPECT_EQ(back.Workspace.Abscissa, 1);

  // The folder moves with its pictures: the relative path follows it.
  QTemporaryDir moved;
  const TWorkspaceRead there = ParseWorkspace(text, moved.filePath(QStringLiteral("set-up.lumio")));
  ASSERT_TRUE(there.Ok);
  EXPECT_EQ(there.Workspace.Sample.Picture, moved.path() + QStringLiteral("/pictures/sample.jpg"));
}

TEST(Workspace, RefusesNewerAndMalformedFilesWithAClearMessage) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("w.lumio"));
  const QByteArray good = WorkspaceJson(Example(dir.path()), file);
  ASSERT_TRUE(ParseWorkspace(good, file).Ok);
  struct Case {
    const char* what;
    QByteArray text;
    const char* says;
  };
  auto edited = [&](const char* from, const char* to) { return QByteArray(good).replace(from, to); };
  for (const Case& c : std::initializer_list<Case>{
           {"newer", edited("\"version\": 1", "\"version\": 2"), "newer version"},
           {"not JSON", "{\"format\": ", "damaged"},
           {"empty", "", "damaged"},
           {"an array", "[1, 2]", "damaged"},
           {"other format", edited("lumio-workspace", "something-else"), "damaged"},
           {"no version", edited("\"version\": 1", "\"versio\": 1"), "damaged"},
           {"text for a number", edited("\"blueX\": 241", "\"blueX\": \"241\""), "blueX"},
           {"fraction for an integer", edited("\"blueX\": 241", "\"blueX\": 241.5"), "blueX"},
           {"band width out of range", edited("\"bandWidth\": 99", "\"bandWidth\": 100"), "bandWidth"},
           {"wavelengths crossed", edited("\"redWavelength\": 609.25", "\"redWavelength\": 300"), "red wavelength"},
           {"short quadratic", edited("6.65e-06", "").replace(",\n            \n", "\n"), "quadratic"},
           {"no reference", edited("\"reference\"", "\"referenc\""), "reference"},
       }) {
    SCOPED_TRACE(c.what);
    const TWorkspaceRead r = ParseWorkspace(c.text, file);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Message.contains(QLatin1String(c.says))) << r.Message.toStdString();
    EXPECT_TRUE(r.Message.contains(QLatin1String("Nothing was changed")));
  }
  EXPECT_THROW(ReadWorkspaceFile(dir.filePath(QStringLiteral("missing.lumio"))), EInOutError);
  EXPECT_THROW(WriteWorkspaceFile(Example(dir.path()), dir.filePath(QStringLiteral("no/such/folder/w.lumio"))), EInOutError);
}
