#pragma once
// Charts with something to show, and readers for the files the output writes, made apart from
// the writers so that the tests check the files against the formats themselves.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "chart/core/iXYPlot.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudTable.h"
#include "chart/output/rUdudPrintRange.h"
#include "platform/Canvas.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A chart that draws a few known shapes over its painting cycle: a red block, a lime block with
// a white frame and a blue ellipse. With its toolbar, legend and data view the cycle also draws
// the black background and the border. OnDraw, when set, runs first (it may throw).
class TDrawingChart : public TiPlotComponent {
 public:
  explicit TDrawingChart(bool withObjects = true) {
    resize(500, 200);
    if (!withObjects) return;
    AddToolBar();
    AddLegend();
    AddDataView();
  }
  void DoPaint(TCanvas& canvas) override {
    ++Paints;
    if (OnDraw) OnDraw();
    TiPlotComponent::DoPaint(canvas);
    canvas.Pen() = TPen{clRed, psSolid, 1};
    canvas.Brush() = TBrush{clRed, bsSolid};
    canvas.Rectangle(100, 50, 200, 150);
    canvas.Pen() = TPen{clWhite, psSolid, 1};
    canvas.Brush() = TBrush{clLime, bsSolid};
    canvas.Rectangle(300, 60, 400, 140);
    canvas.Pen() = TPen{clBlue, psSolid, 1};
    canvas.Brush() = TBrush{clBlue, bsSolid};
    canvas.Ellipse(420, 20, 480, 80);
  }
  std::unique_ptr<TiPlotPrintRange> PrintRange() override {
    if (!Range) return nullptr;
    struct TForward : TiPlotPrintRange {
      explicit TForward(TiPlotPrintRange* r) : r(r) {}
      double Min() const override { return r->Min(); }
      double Span() const override { return r->Span(); }
      void SetMin(double v) override { r->SetMin(v); }
      void SetSpan(double v) override { r->SetSpan(v); }
      TiPlotPrintRange* r;
    };
    return std::make_unique<TForward>(Range);
  }
  int Paints = 0;
  std::function<void()> OnDraw;
  TiPlotPrintRange* Range = nullptr;  // stands in for X axis 0's scale
};

// A chart as users see it: a title, a legend naming two channels with traces, and a table with
// column titles and cells. Output that loses clipped text shows on this one.
struct TRealChart {
  TiXYPlot chart;
  TRealChart() {
    chart.resize(600, 400);
    chart.Labels(0)->SetCaption(QStringLiteral("Lumio Spectrum"));
    chart.Channel(0)->SetTitleText(QStringLiteral("Sample Total"));
    chart.AddChannel();
    chart.Channel(1)->SetTitleText(QStringLiteral("Reference Total"));
    for (int i = 0; i <= 50; ++i) {
      chart.Channel(0)->AddXY(i * 2, 20 + 15 * std::sin(i / 5.0));
      chart.Channel(1)->AddXY(i * 2, 60 + 25 * std::cos(i / 7.0));
    }
    TiPlotTable* table = chart.Table(chart.AddTable());
    table->AddColumn(QStringLiteral("Line"));
    table->AddColumn(QStringLiteral("nm"));
    table->AddRow(QStringLiteral("Hg\r\n546.07"));
    table->AddRow(QStringLiteral("Eu\r\n611.6"));
  }
};

// A plain range, as an axis's Min and Span.
struct TTestRange : TiPlotPrintRange {
  double min = 0, span = 0;
  double Min() const override { return min; }
  double Span() const override { return span; }
  void SetMin(double v) override { min = v; }
  void SetSpan(double v) override { span = v; }
};

// The colour of a pixel as 0xRRGGBB.
inline unsigned Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

// Counts the pixels in which two pictures of equal size differ.
inline int DifferingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += Rgb(a, x, y) != Rgb(b, x, y);
  return n;
}

inline QByteArray ReadAll(const QString& fileName) {
  QFile f(fileName);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& fileName, const QByteArray& data) {
  QFile f(fileName);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

// One record of an enhanced metafile: its type and its bytes (type and size included).
struct TEmfRecord {
  std::uint32_t Type = 0;
  QByteArray Bytes;
  std::uint32_t U32(int offset) const { return qFromLittleEndian<std::uint32_t>(Bytes.constData() + offset); }
  std::int32_t I32(int offset) const { return qFromLittleEndian<std::int32_t>(Bytes.constData() + offset); }
};

// Splits a metafile into its records; empty when a size runs past the end or is not a multiple of 4.
inline std::vector<TEmfRecord> ReadEmfRecords(const QByteArray& data) {
  std::vector<TEmfRecord> records;
  qsizetype at = 0;
  while (at + 8 <= data.size()) {
    const auto type = qFromLittleEndian<std::uint32_t>(data.constData() + at);
    const auto size = qFromLittleEndian<std::uint32_t>(data.constData() + at + 4);
    if (size < 8 || size % 4 || at + size > data.size()) return {};
    records.push_back({type, data.mid(at, size)});
    at += size;
  }
  if (at != data.size()) return {};
  return records;
}

// The page objects of a PDF ("/Type /Page", not "/Pages").
inline int PdfPageCount(const QByteArray& pdf) {
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
  int n = 0;
  auto it = page.globalMatch(QString::fromLatin1(pdf));
  while (it.hasNext()) {
    it.next();
    ++n;
  }
  return n;
}
