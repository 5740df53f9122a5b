// A scrolling strip chart: a time chart whose channel takes a value every 50 ms with X the
// seconds since the chart started. The X axis keeps the last ten seconds in view and scrolls
// smoothly as the values arrive (the time chart's X axes follow their data that way).
//
//   build/release/lumio-strip-chart                       shows the chart until it is closed
//   build/release/lumio-strip-chart --snapshot FILE.png   runs twelve seconds (the window has scrolled), saves the chart, ends
#include <QApplication>
#include <QImage>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <exception>
#include <random>

#include "chart/channels/rUdud.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Timer.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  RegisterPlatformFonts();
  const QStringList args = app.arguments();
  const int snapshotAt = args.indexOf(QStringLiteral("--snapshot"));
  const QString snapshot = snapshotAt >= 0 && snapshotAt + 1 < args.size() ? args[snapshotAt + 1] : QString();

  TiPlot chart;
  chart.resize(640, 360);
  chart.setWindowTitle(QStringLiteral("Strip chart"));
  chart.Labels(0)->SetCaption(QStringLiteral("Strip chart"));
  TiPlotXAxis* x = chart.XAxis(0);
  x->SetTitle(QStringLiteral("Seconds"));
  x->SetMin(0);
  x->SetSpan(10);   // the window the axis scrolls: ten seconds
  TiPlotYAxis* y = chart.YAxis(0);
  y->SetMin(-1.5);
  y->SetSpan(3);
  y->SetTrackingEnabled(false);
  TiPlotChannel* signal = chart.Channel(0);
  signal->SetTitleText(QStringLiteral("Signal"));
  signal->SetColor(clLime);
  // X counts from the first value.
  signal->SetResetStartTimeOnFirstDataPoint(true);

  std::mt19937 random(42);
  std::normal_distribution<double> noise(0.0, 0.05);
  TTimer sampler;
  sampler.SetInterval(50);
  sampler.OnTimer = [&] {
    // An exception must not reach Qt's event loop.
    try {
      const double t = signal->Count() * 0.05;
      signal->AddYElapsedSeconds(std::sin(t * 2.0) + 0.3 * std::sin(t * 7.3) + noise(random));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      sampler.SetEnabled(false);
    }
  };
  sampler.SetEnabled(true);

  TTimer stop;
  if (!snapshot.isEmpty()) {
    stop.SetInterval(12000);
    stop.OnTimer = [&] {
      try {
        TBitmap bitmap(chart.width(), chart.height());
        chart.DoPaint(*bitmap.Canvas());
        if (!bitmap.Image().save(snapshot)) std::fprintf(stderr, "Could not save %s\n", qPrintable(snapshot));
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
      }
      app.quit();
    };
    stop.SetEnabled(true);
  } else {
    chart.show();
  }
  return app.exec();
}
