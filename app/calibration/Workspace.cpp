#include "app/calibration/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>

#include "platform/Picture.h"  // ReadPictureFile: a bounded, non-blocking whole-file read
#include "platform/TextFile.h"

namespace {
const char* const kFormat = "lumio-workspace";

QString StoredPath(const QString& picture, const QString& workspaceFile) {
  if (picture.isEmpty()) return {};
  const QDir folder = QFileInfo(workspaceFile).absoluteDir();
  const QString absolute = QFileInfo(picture).absoluteFilePath();
  const QString relative = folder.relativeFilePath(absolute);
  // Only pictures inside the workspace's folder move with it.
  if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative)) return relative;
  return absolute;
}

QJsonObject SideObject(const TWorkspaceSide& s, const QString& workspaceFile) {
  QJsonObject o;
  o[QStringLiteral("picture")] = StoredPath(s.Picture, workspaceFile);
  o[QStringLiteral("blueWavelength")] = s.BlueWavelength;
  o[QStringLiteral("redWavelength")] = s.RedWavelength;
  o[QStringLiteral("blueX")] = s.BlueX;
  o[QStringLiteral("blueY")] = s.BlueY;
  o[QStringLiteral("redX")] = s.RedX;
  o[QStringLiteral("redY")] = s.RedY;
  if (s.QuadraticInForce) o[QStringLiteral("quadratic")] = QJsonArray{s.Quadratic[0], s.Quadratic[1], s.Quadratic[2]};
  return o;
}

// Reading: the first fault found names the field.
struct TReader {
  QString Fault;
  double Number(const QJsonObject& o, const char* name, double lo, double hi) {
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < lo || v.toDouble() > hi) {
      if (Fault.isEmpty()) Fault = QStringLiteral("\"%1\" is missing or out of range").arg(QLatin1String(name));
      return lo;
    }
    return v.toDouble();
  }
  int Integer(const QJsonObject& o, const char* name, int lo, int hi) {
    const double d = Number(o, name, lo, hi);
    if (d != std::floor(d)) {
      if (Fault.isEmpty()) Fault = QStringLiteral("\"%1\" is not a whole number").arg(QLatin1String(name));
      return lo;
    }
    return static_cast<int>(d);
  }
};

TWorkspaceSide ReadSide(TReader& r, const QJsonValue& value, const char* name, const QString& workspaceFile) {
  TWorkspaceSide s;
  if (!value.isObject()) {
    if (r.Fault.isEmpty()) r.Fault = QStringLiteral("\"%1\" is missing").arg(QLatin1String(name));
    return s;
  }
  const QJsonObject o = value.toObject();
  const QJsonValue picture = o.value(QStringLiteral("picture"));
  if (!picture.isString() && !picture.isUndefined() && !picture.isNull() && r.Fault.isEmpty())
    r.Fault = QStringLiteral("\"picture\" of \"%1\" is not a text").arg(QLatin1String(name));
  const QString path = picture.toString();
  if (!path.isEmpty())
    s.Picture = QDir::isAbsolutePath(path) ? path : QFileInfo(workspaceFile).absoluteDir().absoluteFilePath(path);
  // The ranges the calibration boxes accept.
  s.BlueWavelength = r.Number(o, "blueWavelength", 200.0, 999.9);
  s.RedWavelength = r.Number(o, "redWavelength", 200.0, 999.9);
  if (r.Fault.isEmpty() && !(s.RedWavelength >= s.BlueWavelength + 1))
    r.Fault = QStringLiteral("the red wavelength of \"%1\" is not above its blue wavelength").arg(QLatin1String(name));
  s.BlueX = r.Integer(o, "blueX", 0, 1000000);
  s.BlueY = r.Integer(o, "blueY", 0, 1000000);
  s.RedX = r.Integer(o, "redX", 0, 1000000);
  s.RedY = r.Integer(o, "redY", 0, 1000000);
  const QJsonValue q = o.value(QStringLiteral("quadratic"));
  if (!q.isUndefined() && !q.isNull()) {
    const QJsonArray a = q.toArray();
    bool ok = q.isArray() && a.size() == 3;
    for (int i = 0; ok && i < 3; ++i) ok = a[i].isDouble() && std::isfinite(a[i].toDouble());
    if (!ok) {
      if (r.Fault.isEmpty()) r.Fault = QStringLiteral("\"quadratic\" of \"%1\" is not three numbers").arg(QLatin1String(name));
    } else {
      s.QuadraticInForce = true;
      for (int i = 0; i < 3; ++i) s.Quadratic[static_cast<std::size_t>(i)] = a[i].toDouble();
    }
  }
  return s;
}
}  // namespace

QByteArray WorkspaceJson(const TWorkspace& w, const QString& workspaceFile) {
  QJsonObject o;
  o[QStringLiteral("format")] = QLatin1String(kFormat);
  o[QStringLiteral("version")] = kWorkspaceVersion;
  o[QStringLiteral("sample")] = SideObject(w.Sample, workspaceFile);
  o[QStringLiteral("reference")] = SideObject(w.Reference, workspaceFile);
  o[QStringLiteral("bandWidth")] = w.BandWidth;
  o[QStringLiteral("trace")] = w.Trace;
  o[QStringLiteral("abscissa")] = w.Abscissa;
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

TWorkspaceRead ParseWorkspace(const QByteArray& json, const QString& workspaceFile) {
  TWorkspaceRead out;
  const QString name = QFileInfo(workspaceFile).fileName();
  auto damaged = [&](const QString& why) {
    out.Message = QStringLiteral("%1 is not a Lumio workspace or is damaged (%2). Nothing was changed.").arg(name, why);
    return out;
  };
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError) return damaged(error.errorString());
  if (!doc.isObject()) return damaged(QStringLiteral("no JSON object"));
  const QJsonObject o = doc.object();
  if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat)) return damaged(QStringLiteral("no workspace format mark"));
  const QJsonValue version = o.value(QStringLiteral("version"));
  if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != std::floor(version.toDouble()))
    return damaged(QStringLiteral("no valid version"));
  if (version.toDouble() > kWorkspaceVersion) {
    out.Message = QStringLiteral("%1 was written by a newer version of Lumio Spectrometer (workspace version %2; this "
                                 "program reads version %3). Nothing was changed.")
                      .arg(name, QString::number(version.toDouble()), QString::number(kWorkspaceVersion));
    return out;
  }
  TReader r;
  TWorkspace w;
  w.Sample = ReadSide(r, o.value(QStringLiteral("sample")), "sample", workspaceFile);
  w.Reference = ReadSide(r, o.value(QStringLiteral("reference")), "reference", workspaceFile);
  w.BandWidth = r.Integer(o, "bandWidth", 1, 99);
  w.Trace = r.Integer(o, "trace", 0, 4);
  w.Abscissa = r.Integer(o, "abscissa", 0, 1);
  if (!r.Fault.isEmpty()) return damaged(r.Fault);
  out.Ok = true;
  out.Workspace = w;
  return out;
}

void WriteWorkspaceFile(const TWorkspace& workspace, const QString& workspaceFile) {
  // Written whole or not at all: a failed save keeps the earlier file.
  QSaveFile file(workspaceFile);
  const QByteArray text = WorkspaceJson(workspace, workspaceFile);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
    throw EInOutError(QStringLiteral("Cannot write workspace %1: %2").arg(workspaceFile, file.errorString()), 0);
}

TWorkspaceRead ReadWorkspaceFile(const QString& workspaceFile) {
  const QByteArray bytes = ReadPictureFile(workspaceFile);
  if (bytes.size() > kMaxWorkspaceBytes) {
    TWorkspaceRead out;
    out.Message = QStringLiteral("%1 is too large to be a Lumio workspace. Nothing was changed.").arg(QFileInfo(workspaceFile).fileName());
    return out;
  }
  return ParseWorkspace(bytes, workspaceFile);
}
