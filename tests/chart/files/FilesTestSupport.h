#pragma once
// Helpers of the chart file tests: file bytes, a chart with one object of every kind, a chart
// with non-default values everywhere, and a paint that reports a failure of DoPaint.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>

#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iPersistent.h"
#include "chart/core/iXYPlot.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudToolBar.h"

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return file.readAll();
}

inline QString PutFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  return path;
}

// Every kind of object the property file holds, two labels, and two annotations.
inline void AddEveryKind(TiPlotComponent& chart) {
  if (chart.ToolBarCount() == 0) chart.AddToolBar();
  if (chart.LabelCount() == 0) chart.AddLabel();
  chart.AddLegend();
  chart.AddTable();
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddDataView();
  chart.AddDataCursor();
  chart.AddChannel();
  chart.AddLimit();
  chart.AddLabel();
  chart.AddAnnotation();
  chart.AddAnnotation();
}

// Moves every stored Boolean, named enumeration and integer property of object away from its
// value (nested objects included), except the names in skip.
inline void ChangeEverything(TiPersistent& object, const QStringList& skip, int step, int depth = 0) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    if (!p.Stored || skip.contains(p.Name, Qt::CaseInsensitive)) continue;
    if (p.Kind == TiPropertyKind::Object) {
      if (TiPersistent* nested = p.GetObject ? p.GetObject(object) : nullptr; nested && depth < 3)
        ChangeEverything(*nested, skip, step, depth + 1);
      continue;
    }
    if (!p.Writable() || !p.Readable()) continue;
    try {
      switch (p.Kind) {
        case TiPropertyKind::Boolean: p.SetOrdinal(object, p.GetOrdinal(object) ? 0 : 1); break;
        case TiPropertyKind::Enumeration:
          if (p.ValueNames.size() > 1) p.SetOrdinal(object, (p.GetOrdinal(object) + step) % p.ValueNames.size());
          break;
        case TiPropertyKind::Integer: p.SetOrdinal(object, p.GetOrdinal(object) + step); break;
        case TiPropertyKind::Color: p.SetOrdinal(object, 0x123456 + step); break;
        case TiPropertyKind::Float: p.SetFloat(object, p.GetFloat(object) + 0.25 * step); break;
        default: break;
      }
    } catch (const std::exception&) {
      // A setter that refuses the value (a range it checks) keeps its old one.
    }
  }
}

// Paints the chart into a bitmap of its size; false (with the message) when DoPaint failed.
class TPaintWatch : public TiXYPlot {
 public:
  using TiXYPlot::TiXYPlot;
  void DoPaint(TCanvas& canvas) override {
    try {
      TiXYPlot::DoPaint(canvas);
    } catch (const std::exception& e) {
      Failure = ErrorMessage(e);
      throw;
    }
  }
  bool Paints() {
    Failure.clear();
    QImage target(400, 300, QImage::Format_RGB32);
    QPainter painter(&target);
    PaintCycle(painter, QRect(0, 0, 400, 300));
    return Failure.isEmpty();
  }
  QString Failure;
};
