// The live side's cost per frame: a 1280 x 720 frame from arrival (as a video sink's picture) to
// the repainted chart (extraction with band 99, transmittance against a loaded reference, the
// eight 640-point channels refilled, the chart painted) beside the extraction of that frame
// alone; and the sustained rate of a 30 fps 720p video played through the live path.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cmath>

#include "app/Application.h"
#include "app/SpectrumRecord.h"
#include "app/live/FrameSource.h"
#include "app/live/LiveController.h"
#include "chart/core/iXYPlot.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/MjpegAvi.h"

namespace {
constexpr int kW = 1280, kH = 720;

// Handles events until `done` or a minute has passed.
template <class F>
void WaitFor(F done) {
  QTimer tick;  // wakes the loop even when nothing else arrives
  tick.start(10);
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A horizontal spectrum across the middle of the frame: a smooth rainbow with a few bright lines,
// a little brighter with `k`, so that successive frames differ.
TBitmap SpectrumFrame(int k = 0) {
  TBitmap b(kW, kH, pf24bit);
  for (int y = 0; y < kH; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    const double across = std::exp(-std::pow((y - 360) / 60.0, 2));
    for (int x = 0; x < kW; ++x) {
      const double t = (x - 320) / 640.0;
      const double line = (x % 97 == 0) ? 1.0 : 0.0;
      const double level = across * (0.5 + 0.02 * (k % 10) + 0.5 * line);
      row[3 * x + 0] = static_cast<std::uint8_t>(std::clamp(255 * level * (1 - t), 0.0, 255.0));
      row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(255 * level * (1 - std::abs(t - 0.5) * 2), 0.0, 255.0));
      row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(255 * level * t, 0.0, 255.0));
    }
  }
  return b;
}

// The record of a 640-row spectrum from (320, 360) to (960, 360) with a band of 99.
void Mark(TSpectrumRecord& r) {
  r.BlueX = 320, r.BlueY = 360, r.RedX = 960, r.RedY = 360;
  r.BandWidth = 99;
}

// The main window with both sides marked as above, the reference loaded, both intensities chosen.
struct TLiveWindow {
  TDialogRecorder dialogs;
  TLumioWindows windows = CreateLumioWindows();
  TForm1& form = *windows.Form1;
  TLiveWindow() {
    for (int box : {2, 9}) form.Edit[box]->setText(QStringLiteral("320"));
    for (int box : {5, 12}) form.Edit[box]->setText(QStringLiteral("960"));
    for (int box : {3, 6, 10, 13}) form.Edit[box]->setText(QStringLiteral("360"));
    form.Edit[7]->setText(QStringLiteral("99"));
    form.EditExit(form.Edit[7]);
    form.RadioGroup1->SetItemIndex(2);
    form.RadioGroup2->SetItemIndex(1);
    form.ShowLiveFrame(sdReference, SpectrumFrame(5));
  }
};

// Bits 24: a photograph's 24-bit rows; 32: the 32-bit frame as the live path works on it.
template <int Bits>
void BM_ExtractOnly(benchmark::State& state) {
  TDialogRecorder dialogs;
  TBitmap frame = SpectrumFrame();
  if (Bits == 32) frame.AssignFrame(frame.Image().convertToFormat(QImage::Format_RGB32));
  TSpectrumRecord r;
  Mark(r);
  for (auto _ : state) {
    ExtractSpectrum(frame, r);
    benchmark::DoNotOptimize(r.TotalSum.data());
  }
  state.counters["rows"] = r.RowCount;
}
BENCHMARK(BM_ExtractOnly<24>)->Name("BM_ExtractOnly/720p")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractOnly<32>)->Name("BM_ExtractOnly/720p_32bit")->Unit(benchmark::kMillisecond);

void BM_LiveFrame(benchmark::State& state) {
  TLiveWindow w;
  // As a video sink hands it over.
  const QImage arriving = SpectrumFrame(1).Image().convertToFormat(QImage::Format_RGB32);
  TiXYPlot& chart = *w.form.iXYPlot1;
  TBitmap canvas(chart.width(), chart.height(), pfDevice);
  for (auto _ : state) {
    w.form.Live->ProcessNow(sdSample, arriving);
    chart.DoPaint(*canvas.Canvas());
  }
  state.counters["points"] = chart.Channel(3)->Count();
  state.counters["messages"] = w.dialogs.Messages.size();
}
BENCHMARK(BM_LiveFrame)->Name("BM_LiveFrame/720p")->Unit(benchmark::kMillisecond);

// Plays a 3-second 30 fps 720p MJPEG video through the live path and counts the frames processed
// per second of playing (arg: frames averaged).
void BM_VideoFrameRate(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("live720p.avi"));
  {
    std::vector<TBitmap> frames;
    for (int k = 0; k < 90; ++k) frames.push_back(SpectrumFrame(k));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(MjpegAvi(frames, 30)) <= 0) state.SkipWithError("cannot write the video");
  }
  double processed = 0, delivered = 0, seconds = 0;
  for (auto _ : state) {
    TLiveWindow w;
    w.form.Live->SetAveraging(sdSample, static_cast<int>(state.range(0)));
    auto source = std::make_unique<TVideoFileSource>(path);
    int arrived = 0;
    QElapsedTimer clock;
    QObject::connect(source.get(), &TFrameSource::FrameArrived, [&] {
      if (arrived++ == 0) clock.start();
    });
    w.form.Live->StartSource(sdSample, std::move(source));
    WaitFor([&] { return !w.form.Live->Running(sdSample) && !w.form.Live->Busy(); });
    seconds += clock.isValid() ? clock.nsecsElapsed() / 1e9 : 0;
    processed += w.form.Live->ProcessedFrames(sdSample);
    delivered += arrived;
  }
  state.counters["processed_fps"] = seconds > 0 ? processed / seconds : 0;
  state.counters["delivered_fps"] = seconds > 0 ? delivered / seconds : 0;
}
BENCHMARK(BM_VideoFrameRate)->Name("BM_VideoFrameRate/720p/avg")->Arg(1)->Arg(16)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
