#pragma once
// What each fuzz target does with one input, shared by the libFuzzer programs (fuzz/*_fuzz.cpp)
// and by the ordinary tests that replay the kept corpus (tests/fixtures/fuzz): the bytes become
// a file, the file is loaded into a chart with its default objects, and the chart is painted.
// A refused file is fine; a crash, a sanitizer report, a chart left suspended or a failing
// paint is not (the last two raise std::logic_error).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/Jpeg.h"

namespace fuzzcases {

enum class TTarget { PropertyFile, AnnotationFile, TextData, CompactData, Jpeg };

// A chart that notes a failure of its DoPaint (the paint cycle would show the failure picture).
class TFuzzChart : public TiXYPlot {
 public:
  void DoPaint(TCanvas& canvas) override {
    try {
      TiXYPlot::DoPaint(canvas);
    } catch (const std::exception& e) {
      Failure = ErrorMessage(e);
      throw;
    }
  }
  QString Failure;
};

inline QString InputFile() {
  static const QString path = QDir::temp().filePath(QStringLiteral("lumio_fuzz_input_%1").arg(QCoreApplication::applicationPid()));
  return path;
}

inline void Check(bool condition, const char* what) {
  if (!condition) throw std::logic_error(what);
}

inline void PaintAndCheck(TFuzzChart& chart) {
  Check(!chart.Updating(), "the chart was left suspended");
  Check(!chart.IsLoading(), "the chart was left loading");
  QImage target(320, 240, QImage::Format_RGB32);
  QPainter painter(&target);
  chart.PaintCycle(painter, QRect(0, 0, 320, 240));
  Check(chart.Failure.isEmpty(), "the chart did not paint");
}

inline void Run(TTarget target, const std::uint8_t* data, std::size_t size) {
  TFuzzChart chart;
  chart.resize(320, 240);
  if (target == TTarget::Jpeg) {
    TBitmap bitmap;
    if (DecodeJpeg(data, size, bitmap) == TJpegResult::Ok) {
      // Shown as an image annotation of the chart, scaled to the list's size as the list does.
      chart.ImageList(0)->Add(bitmap.Image());
      const int index = chart.AddAnnotation();
      chart.Annotation(index)->SetStyle(ipasImage);
      chart.Annotation(index)->SetImageListIndex(0);
      chart.Annotation(index)->SetImageIndex(chart.ImageList(0)->Count() - 1);
    }
    PaintAndCheck(chart);
    return;
  }
  {
    QFile file(InputFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  // Points already in the chart, so that the loads add to something.
  chart.Channel(0)->AddXY(1, 2);
  chart.Channel(0)->AddXY(2, 3);
  try {
    switch (target) {
      case TTarget::PropertyFile: chart.LoadPropertiesFromFile(InputFile()); break;
      case TTarget::AnnotationFile: chart.LoadAnnotationsFromFile(InputFile()); break;
      case TTarget::TextData:
      case TTarget::CompactData: chart.LoadDataFromFile(InputFile()); break;
      case TTarget::Jpeg: break;
    }
  } catch (const EiError& e) {
    // Every refusal carries its prefix.
    Check(e.Message.startsWith(QLatin1String("Error Loading ")), "a failure without its prefix");
  }
  PaintAndCheck(chart);
  QFile::remove(InputFile());
}

}  // namespace fuzzcases
