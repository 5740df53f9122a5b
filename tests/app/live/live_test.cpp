// The live sides driven through their real path: generated MJPEG videos played by Qt Multimedia,
// or frames handed in as a source hands them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "app/live/FrameSource.h"
#include "app/live/KineticsWindow.h"
#include "app/live/LiveController.h"
#include "chart/channels/iXYPlotChannel.h"
#include "chart/channels/rUdud.h"
#include "chart/channels/rUdudChannel.h"
#include "chart/core/iXYPlot.h"
#include "platform/Controls.h"
#include "platform/Picture.h"
#include "support/MjpegAvi.h"
#include "support/PictureFiles.h"
#include "support/Pictures.h"
#include "support/WindowsFixture.h"

namespace {
constexpr int kWait = 30000;  // generous: playback starts slowly under the sanitizers

struct TPoints {
  std::vector<std::vector<std::pair<double, double>>> Channels;
  bool operator==(const TPoints&) const = default;
};

TPoints ChartPoints(TiXYPlot& chart) {
  TPoints p;
  for (int c = 0; c < 8; ++c) {
    std::vector<std::pair<double, double>> points;
    TiXYPlotChannel* ch = chart.Channel(c);
    for (int i = 0; i < ch->Count(); ++i) points.emplace_back(ch->GetX(i), ch->GetY(i));
    p.Channels.push_back(std::move(points));
  }
  return p;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<std::size_t>(a.Width()) * (a.PixelFormat() == pf32bit ? 4 : 3)) != 0)
      return false;
  return true;
}

// The picture in 24-bit rows, as a loaded photograph has them.
TBitmap As24(TBitmap b) {
  b.SetPixelFormat(pf24bit);
  return b;
}

double MeanLevel(const TBitmap& picture) {
  const TBitmap b = As24(picture);
  double sum = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < 3 * b.Width(); ++x) sum += b.ScanLine(y)[x];
  return sum / (3.0 * b.Width() * b.Height());
}

// The webcam photograph of a lamp, its levels scaled by `gain`.
TBitmap Scaled(const TBitmap& photo, double gain) {
  TBitmap b = photo;
  for (int y = 0; y < b.Height(); ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < 3 * b.Width(); ++x) row[x] = static_cast<std::uint8_t>(std::min(255.0, std::round(row[x] * gain)));
  }
  return b;
}
}  // namespace

// Frame k of n has its strip at this level: the last at 220, each earlier one 20 lower.
constexpr int kStripRows = 16;
int StripLevel(int k, int n) { return 220 - 20 * (n - 1 - k); }
double StripMean(const TBitmap& picture) {
  const TBitmap b = As24(picture);
  double sum = 0;
  for (int y = 2; y < kStripRows - 2; ++y)
    for (int x = 0; x < 3 * b.Width(); ++x) sum += b.ScanLine(y)[x];
  return sum / (3.0 * b.Width() * (kStripRows - 4));
}

class LiveTest : public TLumioWindowsTest {
 protected:
  TLiveController& live = *form.Live;
  TiXYPlot& chart = *form.iXYPlot1;
  TBitmap lamp;

  void SetUp() override {
    QString message;
    ASSERT_TRUE(LoadSpectrumPicture(QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg"), lamp, message));
    // Blue end (110, 75) at 400 nm, red end (414, 75) at 720 nm on both sides, band width 5.
    for (int box : {2, 9}) form.Edit[box]->setText(QStringLiteral("110"));
    for (int box : {5, 12}) form.Edit[box]->setText(QStringLiteral("414"));
    for (int box : {3, 6, 10, 13}) form.Edit[box]->setText(QStringLiteral("75"));
    form.Edit[7]->setText(QStringLiteral("5"));
    form.EditExit(form.Edit[7]);
  }
  void Choose(int trace, int abscissa) {
    form.RadioGroup1->SetItemIndex(trace);
    form.RadioGroup2->SetItemIndex(abscissa);
  }
  // A video of `count` frames of the lamp, brighter frame by frame (the last at full level), each
  // with a grey strip across its top rows that tells which frame it is.
  QString LampVideo(int count, const char* name = "lamp.avi") {
    std::vector<TBitmap> frames;
    for (int k = 0; k < count; ++k) {
      TBitmap f = Scaled(lamp, 0.4 + 0.6 * k / std::max(1, count - 1));
      for (int y = 0; y < kStripRows; ++y) std::memset(f.ScanLine(y), StripLevel(k, count), static_cast<std::size_t>(3 * f.Width()));
      frames.push_back(f);
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(WriteBytes(path, MjpegAvi(frames, 30)));
    return path;
  }
  bool WaitUntilEnded(TSide side) {
    return QTest::qWaitFor([&] { return !live.Running(side) && !live.Busy(); }, kWait);
  }
  bool WaitForProcessed(TSide side, int frames) {
    return QTest::qWaitFor([&] { return live.ProcessedFrames(side) >= frames && !live.Busy(); }, kWait);
  }
};

// After the last frame of a video the chart holds what Make Plot gives on that frame, for each
// kind of trace; the per-frame hook saw every processed frame with the plotted curves.
TEST_F(LiveTest, TracesAfterTheLastFrameEqualMakePlotOnIt) {
  ShowForm();
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/../../examples/webcam-ipa-glass.jpg"), sdReference);
  ASSERT_TRUE(form.ReferenceLoaded);
  struct Case { int trace, abscissa; };
  for (const Case c : {Case{2, 1}, Case{4, 0}, Case{0, 0}}) {
    SCOPED_TRACE(c.trace);
    Choose(c.trace, c.abscissa);
    dialogs.Messages.clear();
    int calls = 0;
    double lastSeconds = -1;
    std::vector<TSpectrumCurve> lastCurves;
    live.FrameProcessed = [&](double seconds, const std::vector<TSpectrumCurve>& curves) {
      ++calls;
      // The picture of the live view for the README and notes: LUMIO_SCREENSHOT_DIR=folder.
      if (c.trace == 2 && calls == 4 && qEnvironmentVariableIsSet("LUMIO_SCREENSHOT_DIR"))
        form.grab().save(QDir(qEnvironmentVariable("LUMIO_SCREENSHOT_DIR")).filePath(QStringLiteral("issue-34-live.png")));
      EXPECT_GE(seconds, lastSeconds);
      lastSeconds = seconds;
      lastCurves = curves;
    };
    const int count = 10;
    auto source = std::make_unique<TVideoFileSource>(LampVideo(count));
    QVideoFrame delivered;  // connected first: it sees each frame before the live side does
    QObject::connect(source.get(), &TFrameSource::FrameArrived, [&](const QVideoFrame& f) { delivered = f; });
    live.StartSource(sdSample, std::move(source));
    ASSERT_TRUE(WaitUntilEnded(sdSample));
    ASSERT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kVideoEndedMessage)});
    EXPECT_GE(live.ProcessedFrames(sdSample), 1);
    EXPECT_EQ(calls, live.ProcessedFrames(sdSample));
    // The last frame delivered was not dropped: the side shows it as delivered.
    ASSERT_TRUE(delivered.isValid());
    TBitmap last;
    last.AssignFrame(delivered.toImage());
    EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), last));
    // It is a frame of this video: its strip is within a decoder's range scaling of a frame's.
    EXPECT_GT(StripMean(live.CurrentFrame(sdSample)), 30.0);
    ASSERT_TRUE(form.SampleLoaded);
    EXPECT_TRUE(SamePixels(form.SampleBitmap, live.CurrentFrame(sdSample)));

    const TPoints shown = ChartPoints(chart);
    ASSERT_FALSE(shown.Channels[c.trace == 1 ? 4 : 0].empty());
    form.Button1Click();
    EXPECT_EQ(ChartPoints(chart), shown);
    // The hook's curves are the plotted ones.
    TPlotRequest request;
    ASSERT_TRUE(form.ReadPlotRequest(request));
    const std::vector<TSpectrumCurve> expected = SpectrumCurves(request, form.Sample, form.Reference, form.Transmittance);
    ASSERT_EQ(lastCurves.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(lastCurves[k].Title, expected[k].Title);
      EXPECT_EQ(lastCurves[k].X, expected[k].X);
      EXPECT_EQ(lastCurves[k].Y, expected[k].Y);
    }
  }
}

// "Kinetics..." opens the kinetics window; every processed frame of a live run adds one point per
// wavelength, the values of the plotted absorbance there, and its log holds the same rows.
TEST_F(LiveTest, KineticsFollowsEveryProcessedFrameAndLogsIt) {
  ShowForm();
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/../../examples/webcam-ipa-glass.jpg"), sdReference);
  ASSERT_TRUE(form.ReferenceLoaded);
  Choose(4, 1);  // absorbance against wavelength
  live.KineticsItem->trigger();
  ASSERT_TRUE(live.Kinetics);
  EXPECT_TRUE(live.Kinetics->isVisible());
  const QString log = dir.filePath(QStringLiteral("kinetics.txt"));
  ASSERT_TRUE(live.Kinetics->StartLog(log));
  std::vector<TSpectrumCurve> lastCurves;
  live.FrameProcessed = [&](double, const std::vector<TSpectrumCurve>& curves) { lastCurves = curves; };
  live.StartSource(sdSample, std::make_unique<TVideoFileSource>(LampVideo(8)));
  ASSERT_TRUE(WaitUntilEnded(sdSample));
  const int frames = live.ProcessedFrames(sdSample);
  ASSERT_GE(frames, 1);
  EXPECT_EQ(live.Kinetics->FrameCount(), frames);
  const std::vector<double>& wavelengths = live.Kinetics->Wavelengths();
  ASSERT_EQ(static_cast<int>(wavelengths.size()), live.Kinetics->Chart->ChannelCount());
  TKineticsQuantity quantity = kqNone;
  const TSpectrumCurve* followed = KineticsCurve(lastCurves, quantity);
  ASSERT_NE(followed, nullptr);
  EXPECT_EQ(quantity, kqAbsorbance);
  for (int i = 0; i < live.Kinetics->Chart->ChannelCount(); ++i) {
    TiPlotChannel* channel = live.Kinetics->Chart->Channel(i);
    ASSERT_EQ(channel->Count(), frames);
    const double expected = KineticsValueAt(followed->X, followed->Y, wavelengths[static_cast<std::size_t>(i)]);
    EXPECT_EQ(channel->GetY(frames - 1), expected) << wavelengths[static_cast<std::size_t>(i)];
  }
  ASSERT_TRUE(live.Kinetics->StopLog());
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_EQ(lines.size(), frames + 2) << "a heading, one row a frame and the last line end";
}

// "Freeze" ends the run and keeps the frame as the side's photograph: later frames change
// nothing, Make Plot plots that frame, and "Save Frame..." writes it as a JPEG picture.
TEST_F(LiveTest, FreezeKeepsTheFrameAsThePhotographAndSavesIt) {
  Choose(0, 1);
  live.StartVideo(sdSample, LampVideo(60));
  ASSERT_TRUE(WaitForProcessed(sdSample, 3));
  live.Freeze(sdSample);
  EXPECT_FALSE(live.Running(sdSample));
  const TBitmap frozen = live.CurrentFrame(sdSample);
  ASSERT_TRUE(form.SampleLoaded);
  EXPECT_TRUE(form.PicturePath[sdSample].isEmpty());
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_TRUE(SamePixels(form.SampleBitmap, As24(frozen)));
  const TBitmap view = form.Image1Bitmap;
  const TPoints atFreeze = ChartPoints(chart);
  QTest::qWait(300);  // the video would have delivered several frames by now
  EXPECT_TRUE(SamePixels(form.SampleBitmap, As24(frozen)));
  form.DrawSpectrumMarks(sdSample);  // as a loaded photograph is marked
  EXPECT_TRUE(SamePixels(form.Image1Bitmap, view));
  form.Button1Click();
  EXPECT_EQ(ChartPoints(chart), atFreeze);
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();

  const QString saved = dir.filePath(QStringLiteral("frame.jpg"));
  live.SaveFrameTo(sdSample, saved);
  TBitmap loaded;
  QString message;
  ASSERT_TRUE(LoadSpectrumPicture(saved, loaded, message)) << message.toStdString();
  ASSERT_EQ(loaded.Width(), frozen.Width());
  ASSERT_EQ(loaded.Height(), frozen.Height());
  EXPECT_NEAR(MeanLevel(loaded), MeanLevel(frozen), 1.0);
  // A folder in the file's place is refused with the file's message; nothing is written.
  const QString folder = dir.filePath(QStringLiteral("taken.jpg"));
  ASSERT_TRUE(QDir().mkdir(folder));
  live.SaveFrameTo(sdSample, folder);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("taken.jpg"))) << dialogs.Messages[0].toStdString();
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(LiveTest, FreezeAndSaveWithoutAFrameSayTheresNone) {
  live.Freeze(sdReference);
  live.SaveFrameTo(sdReference, dir.filePath(QStringLiteral("none.jpg")));
  live.TakeDark(sdReference);
  EXPECT_EQ(dialogs.Messages, QStringList(3, QString::fromLatin1(kNoFrameMessage)));
  EXPECT_FALSE(form.ReferenceLoaded);
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.jpg"))));
}

namespace {
// The mean of the frames, each byte rounded to the nearest (halves up), minus the dark frame.
TBitmap DirectMean(const std::vector<TBitmap>& frames, const TBitmap* dark = nullptr) {
  const TBitmap& f0 = frames.front();
  TBitmap out(f0.Width(), f0.Height(), pf24bit);
  const int n = static_cast<int>(frames.size());
  for (int y = 0; y < f0.Height(); ++y)
    for (int x = 0; x < 3 * f0.Width(); ++x) {
      int sum = 0;
      for (const TBitmap& f : frames) sum += f.ScanLine(y)[x];
      int v = (sum + n / 2) / n;
      if (dark) v = std::max(0, v - dark->ScanLine(y)[x]);
      out.ScanLine(y)[x] = static_cast<std::uint8_t>(v);
    }
  return out;
}
}  // namespace

// Averaging the last N frames and the dark frame give what a direct computation gives, and the
// plot is Make Plot on that frame.
TEST_F(LiveTest, AveragingAndDarkEqualADirectComputation) {
  Choose(0, 0);
  std::mt19937 rng(34);
  std::vector<TBitmap> frames;
  for (int k = 0; k < 7; ++k) frames.push_back(RandomPicture(480, 120, rng));
  const auto submit = [&](int k) {
    live.SubmitImage(sdSample, frames[static_cast<std::size_t>(k)].Image());
    ASSERT_TRUE(WaitForProcessed(sdSample, k + 1));
  };
  live.SetAveraging(sdSample, 3);
  for (int k = 0; k < 4; ++k) submit(k);
  const TBitmap mean = DirectMean({frames[1], frames[2], frames[3]});
  EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), mean));

  live.TakeDark(sdSample);
  EXPECT_TRUE(live.HasDark(sdSample));
  submit(4);
  EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), DirectMean({frames[2], frames[3], frames[4]}, &mean)));
  const TPoints shown = ChartPoints(chart);
  ASSERT_FALSE(shown.Channels[3].empty());
  form.Button1Click();
  EXPECT_EQ(ChartPoints(chart), shown);

  live.ClearDark(sdSample);
  submit(5);
  EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), DirectMean({frames[3], frames[4], frames[5]})));
  // A new count starts afresh; one frame is the frame itself.
  live.SetAveraging(sdSample, 1);
  submit(6);
  EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), frames[6]));
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
}

// Frames come from video sinks and cameras in 32-bit pixels and are worked on as they are: the
// same means and dark subtraction, the unused byte kept at 255.
TEST_F(LiveTest, ThirtyTwoBitFramesAreAveragedAsTheirColoursAre) {
  Choose(0, 0);
  std::mt19937 rng(32);
  std::vector<TBitmap> frames;
  for (int k = 0; k < 5; ++k) frames.push_back(RandomPicture(480, 120, rng));
  const auto submit = [&](int k) {
    live.SubmitImage(sdSample, frames[static_cast<std::size_t>(k)].Image().convertToFormat(QImage::Format_RGB32));
    ASSERT_TRUE(WaitForProcessed(sdSample, k + 1));
  };
  const auto opaque = [](const TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (b.ScanLine(y)[4 * x + 3] != 255) return false;
    return true;
  };
  live.SetAveraging(sdSample, 2);
  for (int k = 0; k < 3; ++k) submit(k);
  const TBitmap mean = DirectMean({frames[1], frames[2]});
  ASSERT_EQ(live.CurrentFrame(sdSample).PixelFormat(), pf32bit);
  EXPECT_TRUE(opaque(live.CurrentFrame(sdSample)));
  EXPECT_TRUE(SamePixels(As24(live.CurrentFrame(sdSample)), mean));
  live.TakeDark(sdSample);
  submit(3);
  EXPECT_TRUE(opaque(live.CurrentFrame(sdSample)));
  EXPECT_TRUE(SamePixels(As24(live.CurrentFrame(sdSample)), DirectMean({frames[2], frames[3]}, &mean)));
  // The plot is Make Plot on the frame; frozen, the frame is the photograph in 24-bit rows.
  const TPoints shown = ChartPoints(chart);
  ASSERT_FALSE(shown.Channels[3].empty());
  form.Button1Click();
  EXPECT_EQ(ChartPoints(chart), shown);
  const TBitmap current = live.CurrentFrame(sdSample);
  live.Freeze(sdSample);
  EXPECT_TRUE(SamePixels(form.SampleBitmap, As24(current)));
  form.Button1Click();
  EXPECT_EQ(ChartPoints(chart), shown);
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
}

// Frames arriving while one is worked on are not queued: only the newest waits.
TEST_F(LiveTest, FramesArrivingWhileBusyAreDroppedButTheNewest) {
  Choose(0, 0);
  std::mt19937 rng(7);
  std::vector<TBitmap> frames;
  for (int k = 0; k < 6; ++k) frames.push_back(RandomPicture(480, 120, rng));
  for (const TBitmap& f : frames) live.SubmitImage(sdSample, f.Image());  // no event is handled in between
  ASSERT_TRUE(QTest::qWaitFor([&] { return !live.Busy(); }, kWait));
  EXPECT_EQ(live.ProcessedFrames(sdSample), 2);  // the first, then the newest
  EXPECT_TRUE(SamePixels(live.CurrentFrame(sdSample), frames.back()));
}

// A frame of another size keeps the marks within it and says so; the dark frame that no longer
// fits is cleared with its message.
TEST_F(LiveTest, FrameSizeChangeKeepsTheMarksInside) {
  Choose(0, 0);
  live.SubmitImage(sdSample, lamp.Image());
  ASSERT_TRUE(WaitForProcessed(sdSample, 1));
  live.TakeDark(sdSample);
  ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
  std::mt19937 rng(3);
  live.SubmitImage(sdSample, RandomPicture(300, 60, rng).Image());
  ASSERT_TRUE(WaitForProcessed(sdSample, 2));
  EXPECT_EQ(dialogs.Messages, QStringList({QString::fromLatin1(kFrameSizeMessage).arg(300).arg(60),
                                           QString::fromLatin1(kDarkClearedMessage)}));
  EXPECT_FALSE(live.HasDark(sdSample));
  EXPECT_EQ(form.Sample.BlueX, 110);
  EXPECT_EQ(form.Sample.BlueY, 59);
  EXPECT_EQ(form.Sample.RedX, 299);
  EXPECT_EQ(form.Sample.RedY, 59);
  EXPECT_EQ(form.Edit[5]->text(), QStringLiteral("299"));
  EXPECT_EQ(form.Edit[6]->text(), QStringLiteral("59"));
  EXPECT_EQ(form.Edit[3]->text(), QStringLiteral("59"));
  // The reference's boxes are another side's.
  EXPECT_EQ(form.Edit[12]->text(), QStringLiteral("414"));
  // The marks are drawn on the new frame: the red end's square is there.
  EXPECT_EQ(form.Image1Bitmap.Pixel(295, 55), RGB(255, 0, 0));
}

// A missing file, a file of garbage and a truncated video end the run with their message; the
// side stays unloaded and nothing is left running.
TEST_F(LiveTest, MissingAndBrokenVideosGiveTheirMessage) {
  const QString good = LampVideo(10);
  QFile f(good);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  std::mt19937 rng(1);
  QByteArray garbage;
  for (int i = 0; i < 20000; ++i) garbage.append(static_cast<char>(rng() & 0xFF));
  const QString garbagePath = dir.filePath(QStringLiteral("garbage.avi"));
  const QString truncatedPath = dir.filePath(QStringLiteral("truncated.avi"));
  ASSERT_TRUE(WriteBytes(garbagePath, garbage));
  ASSERT_TRUE(WriteBytes(truncatedPath, bytes.left(150)));  // cut inside the headers
  const QString missing = dir.filePath(QStringLiteral("missing.avi"));
  struct Case { QString path, message; };
  for (const Case& c : {Case{missing, QString::fromLatin1(kVideoMissingMessage).arg(missing)},
                        Case{garbagePath, QStringLiteral("The video file \"garbage.avi\" cannot be decoded.")},
                        Case{truncatedPath, QStringLiteral("The video file \"truncated.avi\" cannot be decoded.")}}) {
    SCOPED_TRACE(c.path.toStdString());
    dialogs.Messages.clear();
    live.StartVideo(sdReference, c.path);
    ASSERT_TRUE(WaitUntilEnded(sdReference));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].startsWith(c.message)) << dialogs.Messages[0].toStdString();
    EXPECT_FALSE(form.ReferenceLoaded);
    EXPECT_EQ(live.ProcessedFrames(sdReference), 0);
  }
}

// The chooser's "Video File..." asks for the file through the dialogs and starts the side.
TEST_F(LiveTest, LiveMenuItemRunsTheChosenVideo) {
  live.ChooseSource = [](TSide) { return TLiveSourceChoice{TLiveSourceChoice::VideoFile, {}, {}}; };
  dialogs.OpenAnswer = LampVideo(5);
  form.LiveReference1->trigger();
  ASSERT_EQ(dialogs.OpenRequests.size(), 1u);
  EXPECT_TRUE(dialogs.OpenRequests[0].Filter.contains(QStringLiteral("*.avi")));
  EXPECT_TRUE(live.Running(sdReference));
  ASSERT_TRUE(WaitUntilEnded(sdReference));
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_GE(live.ProcessedFrames(sdReference), 1);
  // Loading a photograph ends a live run: the photograph stays.
  live.StartVideo(sdReference, LampVideo(60, "long.avi"));
  ASSERT_TRUE(WaitForProcessed(sdReference, 2));
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg"), sdReference);
  EXPECT_FALSE(live.Running(sdReference));
  QTest::qWait(200);
  EXPECT_TRUE(SamePixels(form.ReferenceBitmap, lamp));
  EXPECT_FALSE(form.PicturePath[sdReference].isEmpty());
  // A cancelled chooser starts nothing.
  live.ChooseSource = [](TSide) { return TLiveSourceChoice{}; };
  form.LiveSample1->trigger();
  EXPECT_FALSE(live.Running(sdSample));
  EXPECT_EQ(dialogs.OpenRequests.size(), 1u);
}

// Beside a live side a still photograph is extracted again only when it or its marks change: the
// plot always equals Make Plot.
TEST_F(LiveTest, TheStillSideFollowsItsMarksAndPicture) {
  Choose(2, 1);
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/../../examples/webcam-ipa-glass.jpg"), sdReference);
  ASSERT_TRUE(form.ReferenceLoaded);
  std::mt19937 rng(11);
  int frames = 0;
  const auto frameThenMakePlot = [&] {
    live.SubmitImage(sdSample, Scaled(lamp, 0.5 + 0.1 * frames).Image());
    ASSERT_TRUE(WaitForProcessed(sdSample, ++frames));
    const TPoints shown = ChartPoints(chart);
    ASSERT_FALSE(shown.Channels[7].empty());
    form.Button1Click();
    EXPECT_EQ(ChartPoints(chart), shown);
  };
  frameThenMakePlot();
  frameThenMakePlot();  // the reference's profile is kept
  form.Edit[9]->setText(QStringLiteral("130"));  // its blue end moves
  frameThenMakePlot();
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/../../examples/webcam-1-ipa-glass.jpg"), sdReference);
  frameThenMakePlot();
  EXPECT_EQ(form.Reference.BlueX, 130);
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
}

// The still side's words in the saturation note are made once and follow its marks and picture:
// after each frame the note is the one Make Plot gives.
TEST_F(LiveTest, TheStillSidesSaturationWordsFollowItsMarksAndPicture) {
  Choose(2, 1);
  const QString white = dir.filePath(QStringLiteral("white.jpg"));
  ASSERT_TRUE(WriteJpegFile(white, FlatPicture(lamp.Width(), lamp.Height(), clWhite)));
  form.LoadPicture(white, sdReference);
  ASSERT_TRUE(form.ReferenceLoaded);
  int frames = 0;
  QStringList notes;
  const auto frameThenMakePlot = [&] {
    live.SubmitImage(sdSample, Scaled(lamp, 0.5).Image());
    ASSERT_TRUE(WaitForProcessed(sdSample, ++frames));
    const QString live = form.SaturationText;
    form.Button1Click();
    EXPECT_EQ(live, form.SaturationText);
    notes << live;
  };
  frameThenMakePlot();
  frameThenMakePlot();
  form.Edit[12]->setText(QStringLiteral("300"));  // the reference's red end moves: fewer rows
  frameThenMakePlot();
  form.LoadPicture(QStringLiteral(LUMIO_FIXTURES "/../../examples/webcam-1-ipa-glass.jpg"), sdReference);
  frameThenMakePlot();
  ASSERT_EQ(notes.size(), 4);
  EXPECT_TRUE(notes[0].contains(QStringLiteral("reference red"))) << notes[0].toStdString();
  EXPECT_NE(notes[2], notes[0]);
  EXPECT_FALSE(notes[3].contains(QStringLiteral("reference"))) << notes[3].toStdString();
}

namespace {
// A source driven by the test, standing in for a camera.
class TFakeCamera final : public TFrameSource {
 public:
  void Start() override { ++starts; }
  void Stop() override { ++stops; }
  void Send(const TBitmap& picture) {
    const QImage image = picture.Image().convertToFormat(QImage::Format_RGBX8888);
    QVideoFrame frame(QVideoFrameFormat(image.size(), QVideoFrameFormat::Format_RGBX8888));
    ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < image.height(); ++y)
      std::memcpy(frame.bits(0) + y * frame.bytesPerLine(0), image.constScanLine(y), static_cast<std::size_t>(4 * image.width()));
    frame.unmap();
    Deliver(frame);
  }
  void Unplug() { End(QString::fromLatin1(kCameraGoneMessage).arg(QStringLiteral("Fake Camera"))); }
  int starts = 0, stops = 0;
};
}  // namespace

// A camera that disappears ends the run with its message after the frame it was busy with; the
// side keeps that frame as its picture.
TEST_F(LiveTest, ACameraThatDisappearsEndsTheRunWithItsMessage) {
  Choose(0, 1);
  auto owned = std::make_unique<TFakeCamera>();
  TFakeCamera& camera = *owned;
  live.StartSource(sdSample, std::move(owned));
  EXPECT_EQ(camera.starts, 1);
  camera.Send(Scaled(lamp, 0.5));
  camera.Send(lamp);  // waits while the first is worked on
  camera.Unplug();    // before the last frame is plotted
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ASSERT_TRUE(WaitUntilEnded(sdSample));
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kCameraGoneMessage).arg(QStringLiteral("Fake Camera"))});
  EXPECT_EQ(live.ProcessedFrames(sdSample), 2);
  EXPECT_TRUE(form.SampleLoaded);
  EXPECT_TRUE(SamePixels(As24(form.SampleBitmap), lamp));
  const TPoints shown = ChartPoints(chart);
  form.Button1Click();
  EXPECT_EQ(ChartPoints(chart), shown);
}
