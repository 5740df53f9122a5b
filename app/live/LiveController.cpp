#include "app/live/LiveController.h"

#include "app/live/KineticsWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "app/live/FrameSource.h"
#include "app/live/LiveSourceDialog.h"
#include "chart/core/iErrors.h"
#include "chart/core/iXYPlot.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/Jpeg.h"
#include "platform/VectorState.h"

namespace {
constexpr TSide Other(TSide side) { return side == sdSample ? sdReference : sdSample; }
const int kAveragingChoices[] = {1, 2, 4, 8, 16, 32, 64};
}  // namespace

void RunLiveJob(TLiveJob& job) {
  TMessageCapture capture;
  ClearUpperVectorHalves();  // a frame worked on where the chart was just painted runs at full speed
  try {
    const QImage image = job.Video.isValid() ? job.Video.toImage() : job.Image;
    TBitmap frame;
    frame.AssignFrame(image);
    if (!frame.Empty() && frame.PixelFormat() != pf24bit && frame.PixelFormat() != pf32bit) frame.SetPixelFormat(pf24bit);  // grey video
    job.Averaged = job.Averager ? job.Averager->Add(frame, job.Averaging) : frame;
    job.Frame = job.Averaged;
    if (!job.Dark.Empty()) SubtractDark(job.Frame, job.Dark);
    (job.Side == sdSample ? job.SamplePicture : job.ReferencePicture) = job.Frame;
    if (job.Plot && !job.Frame.Empty()) {
      const TBitmap* sample = job.Request.SampleLoaded ? &job.SamplePicture : nullptr;
      const TBitmap* reference = job.Request.ReferenceLoaded ? &job.ReferencePicture : nullptr;
      // Make Plot's extraction, in its order; the live side's clipped rows are found in the same
      // pass, and a still side's words are made once: its band is as large as the live one's.
      const bool liveIsSample = job.Side == sdSample;
      TBandClipping liveClipping;
      for (const bool isSample : {true, false}) {
        const TBitmap* picture = isSample ? sample : reference;
        TSpectrumRecord& record = isSample ? job.Sample : job.Reference;
        if (!picture) continue;
        if (isSample == liveIsSample)
          ExtractSpectrum(*picture, record, liveClipping);
        else if (!job.OtherExtracted)
          ExtractSpectrum(*picture, record);
      }
      ComputeSpectra(sample, job.Sample, reference, job.Reference, job.Result, true, true);
      const TBitmap* other = liveIsSample ? reference : sample;
      if (other && !job.OtherExtracted)
        job.OtherSaturation = SaturationPart(!liveIsSample, *other, liveIsSample ? job.Reference : job.Sample);
      const TBitmap* live = liveIsSample ? sample : reference;
      const bool liveShown = liveIsSample ? UsesSample(job.Request.Trace) : UsesReference(job.Request.Trace);
      const QString livePart = live && liveShown ? SaturationPart(liveIsSample, liveClipping) : QString();
      const QString otherPart = other ? job.OtherSaturation : QString();
      const QString& samplePart = liveIsSample ? livePart : otherPart;
      const QString& referencePart = liveIsSample ? otherPart : livePart;
      job.Note = SaturationNoteFromParts(UsesSample(job.Request.Trace) ? samplePart : QString(),
                                         UsesReference(job.Request.Trace) ? referencePart : QString());
    }
  } catch (const std::exception& e) {
    job.Plot = false;
    capture.Messages << QString::fromLocal8Bit(e.what());
  }
  job.Messages << capture.Messages;
}

TLiveController::TLiveController(TForm1& form) : QObject(&form), form_(form) {
  ChooseSource = [this](TSide side) { return RunLiveSourceDialog(&form_, side); };
  connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] {
    try {
      std::shared_ptr<TLiveJob> job = std::move(inFlight_);
      if (job) Finish(job);
    } catch (...) {
      // an entry from Qt never lets an exception through
    }
  });
  BuildMenu();
}

TLiveController::~TLiveController() {
  watcher_.disconnect(this);
  for (TSideState& s : sides_)
    if (s.Source) {
      s.Source->disconnect(this);
      s.Source->Stop();
    }
  watcher_.waitForFinished();
}

// ---- menu ----

void TLiveController::BuildMenu() {
  LiveMenu = new QMenu(QStringLiteral("&Live"), form_.menuBar());
  form_.menuBar()->insertMenu(form_.About1, LiveMenu);
  for (TSide side : {sdSample, sdReference}) {
    TSideActions& a = Actions[side];
    a.Menu = LiveMenu->addMenu(side == sdSample ? QStringLiteral("&Sample") : QStringLiteral("&Reference"));
    a.Freeze = a.Menu->addAction(QStringLiteral("Freeze"));
    a.SaveFrame = a.Menu->addAction(QStringLiteral("Save Frame..."));
    a.Menu->addSeparator();
    QMenu* averaging = a.Menu->addMenu(QStringLiteral("Averaging"));
    auto* group = new QActionGroup(averaging);
    for (int n : kAveragingChoices) {
      QAction* item = averaging->addAction(n == 1 ? QStringLiteral("1 Frame") : QStringLiteral("%1 Frames").arg(n));
      item->setCheckable(true);
      group->addAction(item);
      a.Averaging.push_back(item);
      connect(item, &QAction::triggered, this, [this, side, n] { TForm1::RunCommand([&] { SetAveraging(side, n); }); });
    }
    a.TakeDark = a.Menu->addAction(QStringLiteral("Take Dark"));
    a.ClearDark = a.Menu->addAction(QStringLiteral("Clear Dark"));
    a.Menu->addSeparator();
    a.Stop = a.Menu->addAction(QStringLiteral("Stop"));
    connect(a.Freeze, &QAction::triggered, this, [this, side] { TForm1::RunCommand([&] { Freeze(side); }); });
    connect(a.SaveFrame, &QAction::triggered, this, [this, side] { TForm1::RunCommand([&] { SaveFrame(side); }); });
    connect(a.TakeDark, &QAction::triggered, this, [this, side] { TForm1::RunCommand([&] { TakeDark(side); }); });
    connect(a.ClearDark, &QAction::triggered, this, [this, side] { TForm1::RunCommand([&] { ClearDark(side); }); });
    connect(a.Stop, &QAction::triggered, this, [this, side] { TForm1::RunCommand([&] { Stop(side); }); });
  }
  LiveMenu->addSeparator();
  KineticsItem = LiveMenu->addAction(QStringLiteral("Kinetics..."));
  connect(KineticsItem, &QAction::triggered, this, [this] { TForm1::RunCommand([&] { KineticsClick(); }); });
  // The items follow the state when the menu opens, so that frames never touch the menu.
  connect(LiveMenu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
  UpdateActions();
}

void TLiveController::UpdateActions() {
  for (TSide side : {sdSample, sdReference}) {
    const TSideState& s = sides_[side];
    TSideActions& a = Actions[side];
    a.Freeze->setEnabled(Running(side));
    a.Stop->setEnabled(Running(side));
    a.SaveFrame->setEnabled(!s.Current.Empty());
    a.TakeDark->setEnabled(!s.Averaged.Empty());
    a.ClearDark->setEnabled(HasDark(side));
    for (std::size_t k = 0; k < a.Averaging.size(); ++k) a.Averaging[k]->setChecked(kAveragingChoices[k] == s.Averaging);
  }
}

void TLiveController::KineticsClick() {
  if (!Kinetics) Kinetics = new TKineticsWindow(&form_);  // a window of its own, owned by the form
  Kinetics->show();
  Kinetics->raise();
  Kinetics->activateWindow();
}

// ---- runs ----

void TLiveController::LiveClick(TSide side) {
  const TLiveSourceChoice choice = ChooseSource(side);
  if (choice.Kind == TLiveSourceChoice::Camera) return StartCamera(side, choice.Device, choice.Format);
  if (choice.Kind != TLiveSourceChoice::VideoFile) return;
  TOpenDialogOptions options;
  options.Title = side == sdSample ? QStringLiteral("Live Sample from Video File") : QStringLiteral("Live Reference from Video File");
  options.Filter = QString::fromLatin1(kVideoFileFilter);
  options.FileMustExist = true;
  QString fileName;
  if (Dialogs().ExecuteOpen(options, fileName)) StartVideo(side, fileName);
}

void TLiveController::StartVideo(TSide side, const QString& fileName) {
  StartSource(side, std::make_unique<TVideoFileSource>(fileName));
}

void TLiveController::StartCamera(TSide side, const QCameraDevice& device, const QCameraFormat& format) {
  StartSource(side, std::make_unique<TCameraSource>(device, format));
}

void TLiveController::StartSource(TSide side, std::unique_ptr<TFrameSource> source) {
  if (Running(side) || sides_[side].Ending) EndRun(side);
  if (!Running(Other(side))) {
    startMs_ = SteadyMs();
    lastMessages_.clear();
  }
  TSideState& s = sides_[side];
  ++s.Run;
  s.Averager = std::make_shared<TFrameAverager>();
  s.Processed = 0;
  s.LastSize = form_.Loaded(side) ? QSize(form_.Copy(side).Width(), form_.Copy(side).Height()) : QSize();
  TFrameSource* raw = source.get();
  s.Source = std::move(source);
  connect(raw, &TFrameSource::FrameArrived, this, [this, side](const QVideoFrame& frame) {
    try {
      SubmitFrame(side, frame);
    } catch (...) {
    }
  });
  connect(raw, &TFrameSource::Ended, this, [this, side](const QString& message) {
    try {
      SourceEnded(side, message);
    } catch (...) {
    }
  });
  emit StateChanged();
  raw->Start();  // may end at once (a missing file)
}

void TLiveController::Stop(TSide side) {
  if (!Running(side) && !sides_[side].Ending) return;
  EndRun(side);
}

void TLiveController::EndRun(TSide side) {
  TSideState& s = sides_[side];
  ++s.Run;  // a frame still being worked on is dropped
  s.PendingVideo.reset();
  s.PendingImage.reset();
  s.Ending = false;
  s.EndMessage.clear();
  s.LastSize = QSize();
  if (s.Source) {
    s.Source->disconnect(this);
    s.Source->Stop();
    // The source may be inside one of its own signals: it is deleted once that has returned.
    retired_.push_back(std::move(s.Source));
    QTimer::singleShot(0, this, [this] { retired_.clear(); });
  }
  emit StateChanged();
}

void TLiveController::SourceEnded(TSide side, const QString& message) {
  TSideState& s = sides_[side];
  if (!s.Source) return;
  s.Ending = true;
  s.EndMessage = message;
  FinishEnding();
}

void TLiveController::FinishEnding() {
  for (TSide side : {sdSample, sdReference}) {
    TSideState& s = sides_[side];
    const bool working = inFlight_ && inFlight_->Side == side && inFlight_->Run == s.Run;
    if (!s.Ending || s.PendingVideo || s.PendingImage || working) continue;
    // The last frame has been shown: the side keeps it as its picture.
    const QString message = s.EndMessage;
    EndRun(side);
    Show(message);
  }
}

// ---- frames ----

void TLiveController::SubmitFrame(TSide side, const QVideoFrame& frame) {
  if (!frame.isValid()) return;
  sides_[side].PendingImage.reset();
  sides_[side].PendingVideo = frame;  // the newest replaces one still waiting
  StartNext();
}

void TLiveController::SubmitImage(TSide side, const QImage& image) {
  if (image.isNull()) return;
  sides_[side].PendingVideo.reset();
  sides_[side].PendingImage = image;
  StartNext();
}

bool TLiveController::Busy() const {
  if (inFlight_) return true;
  for (const TSideState& s : sides_)
    if (s.PendingVideo || s.PendingImage) return true;
  return false;
}

void TLiveController::StartNext() {
  if (inFlight_) return;
  // Both sides live: they take turns.
  TSide side = Other(lastSide_);
  if (!sides_[side].PendingVideo && !sides_[side].PendingImage) side = lastSide_;
  TSideState& s = sides_[side];
  if (!s.PendingVideo && !s.PendingImage) return FinishEnding();
  const QSize size = s.PendingVideo ? s.PendingVideo->size() : s.PendingImage->size();
  std::shared_ptr<TLiveJob> job = PrepareJob(side, size);
  if (s.PendingVideo) job->Video = *s.PendingVideo;
  if (s.PendingImage) job->Image = *s.PendingImage;
  s.PendingVideo.reset();
  s.PendingImage.reset();
  lastSide_ = side;
  inFlight_ = job;
  watcher_.setFuture(QtConcurrent::run([job] { RunLiveJob(*job); }));
}

std::shared_ptr<TLiveJob> TLiveController::PrepareJob(TSide side, const QSize& frameSize) {
  TSideState& s = sides_[side];
  auto job = std::make_shared<TLiveJob>();
  job->Side = side;
  job->Run = s.Run;
  if (frameSize != s.LastSize) KeepMarksInside(side, frameSize);
  if (!s.Dark.Empty() && QSize(s.Dark.Width(), s.Dark.Height()) != frameSize) {
    s.Dark = TBitmap();
    job->Messages << QString::fromLatin1(kDarkClearedMessage);
  }
  job->Averaging = s.Averaging;
  job->Dark = s.Dark;
  job->Averager = s.Averager;
  try {
    job->Plot = form_.ReadPlotRequest(job->Request);
  } catch (const EConvertError& e) {
    job->Plot = false;  // the frame is shown; the plot waits for boxes that convert
    job->Messages << e.Message;
  }
  // The live side counts as loaded (its frame is its picture); the other side as it is.
  const TSide other = Other(side);
  (side == sdSample ? job->Request.SampleLoaded : job->Request.ReferenceLoaded) = true;
  (other == sdSample ? job->Request.SampleLoaded : job->Request.ReferenceLoaded) = form_.Loaded(other);
  if (form_.Loaded(other)) (other == sdSample ? job->SamplePicture : job->ReferencePicture) = form_.Copy(other);
  job->Sample = form_.Sample;
  job->Reference = form_.Reference;
  job->Result = form_.Transmittance;
  if (job->Plot && form_.Loaded(other) && !Running(other) && still_[other] && still_[other]->Ready &&
      still_[other]->PictureKey == form_.Copy(other).Image().cacheKey() && SameInput(still_[other]->Input, form_.Record(other))) {
    TSpectrumRecord& record = other == sdSample ? job->Sample : job->Reference;
    QLineEdit* binding[7];
    std::copy(std::begin(record.Binding), std::end(record.Binding), binding);
    record = still_[other]->Output;
    std::copy(std::begin(binding), std::end(binding), record.Binding);
    job->OtherExtracted = true;
    job->OtherSaturation = still_[other]->Saturation;
  }
  if (job->Plot && form_.Loaded(other) && !Running(other) && !job->OtherExtracted)
    still_[other] = TStillProfile{form_.Copy(other).Image().cacheKey(), form_.Record(other), {}, {}, false};
  else if (!job->OtherExtracted)
    still_[other].reset();
  return job;
}

void TLiveController::KeepMarksInside(TSide side, const QSize& size) {
  TSideState& s = sides_[side];
  const bool changed = s.LastSize.isValid();
  s.LastSize = size;
  if (size.isEmpty()) return;
  TSpectrumRecord& r = form_.Record(side);
  try {
    form_.ReadParameters(r);
  } catch (const EConvertError&) {
    // boxes being typed into keep their text; the record keeps its values
  }
  const auto keep = [](std::int32_t& v, int limit, QLineEdit* box) {
    const std::int32_t kept = std::clamp<std::int32_t>(v, 0, limit - 1);
    if (kept == v) return;
    v = kept;
    if (box) box->setText(IntToStr(kept));
  };
  keep(r.BlueX, size.width(), r.Binding[2]);
  keep(r.BlueY, size.height(), r.Binding[3]);
  keep(r.RedX, size.width(), r.Binding[4]);
  keep(r.RedY, size.height(), r.Binding[5]);
  if (changed) Show(QString::fromLatin1(kFrameSizeMessage).arg(size.width()).arg(size.height()));
}

void TLiveController::Finish(const std::shared_ptr<TLiveJob>& job) {
  const bool current = job->Run == sides_[job->Side].Run;
  QStringList messages;
  if (current) messages = Apply(*job);
  StartNext();  // the next frame is worked on while this one's messages are read
  if (current) Report(messages);
}

QStringList TLiveController::Apply(TLiveJob& job) {
  TSideState& s = sides_[job.Side];
  QStringList messages = job.Messages;
  if (job.Frame.Empty()) return messages;
  s.Current = job.Frame;
  s.Averaged = job.Averaged;
  ++s.Processed;
  {
    TMessageCapture capture;  // the marks and the plot report once, not once a frame
    try {
      if (job.Plot) {
        const TSide other = Other(job.Side);
        if (still_[other] && !job.OtherExtracted) {
          still_[other]->Output = other == sdSample ? job.Sample : job.Reference;
          still_[other]->Saturation = job.OtherSaturation;
          still_[other]->Ready = true;
        }
        form_.Sample = std::move(job.Sample);
        form_.Reference = std::move(job.Reference);
        form_.Transmittance = std::move(job.Result);
      }
      form_.ShowLiveFrame(job.Side, job.Frame);
      if (job.Plot) {
        // One repaint for the whole refill: point by point, the repaint gate would read the
        // clock thousands of times a frame.
        TiXYPlot& chart = *form_.iXYPlot1;
        struct TUpdate {
          TiXYPlot& c;
          ~TUpdate() {
            c.EndUpdate();
            c.InvalidateNow();
          }
        } update{chart};
        chart.BeginUpdate();
        form_.PlotComputed(job.Request, job.Note);
      }
    } catch (const EiError& e) {
      capture.Messages << e.Message;
    } catch (const EConvertError& e) {
      capture.Messages << e.Message;
    } catch (const std::exception& e) {
      capture.Messages << QString::fromLocal8Bit(e.what());
    }
    messages << capture.Messages;
  }
  if (FrameProcessed || Kinetics) {
    const std::vector<TSpectrumCurve> curves =
        job.Plot ? SpectrumCurves(job.Request, form_.Sample, form_.Reference, form_.Transmittance) : std::vector<TSpectrumCurve>{};
    const double seconds = Seconds();
    if (Kinetics) Kinetics->AddFrame(seconds, curves);
    if (FrameProcessed) FrameProcessed(seconds, curves);
  }
  return messages;
}

void TLiveController::ProcessNow(TSide side, const QImage& image) {
  std::shared_ptr<TLiveJob> job = PrepareJob(side, image.size());
  job->Image = image;
  RunLiveJob(*job);
  Report(Apply(*job));
}

bool TLiveController::SameInput(const TSpectrumRecord& a, const TSpectrumRecord& b) {
  return a.BlueWavelength == b.BlueWavelength && a.RedWavelength == b.RedWavelength && a.BlueX == b.BlueX &&
         a.BlueY == b.BlueY && a.RedX == b.RedX && a.RedY == b.RedY && a.BandWidth == b.BandWidth &&
         a.QuadraticInForce == b.QuadraticInForce && std::equal(std::begin(a.Quadratic), std::end(a.Quadratic), std::begin(b.Quadratic));
}

// ---- messages ----

void TLiveController::Report(const QStringList& messages) {
  // A message is shown when it appears, not again for every frame that repeats it.
  for (const QString& m : messages)
    if (!lastMessages_.contains(m) && !waitingMessages_.contains(m)) Show(m);
  lastMessages_ = messages;
}

void TLiveController::Show(const QString& message) {
  waitingMessages_ << message;
  if (reporting_) return;  // a message box is open: this one follows it
  reporting_ = true;
  while (!waitingMessages_.isEmpty()) ShowMessage(waitingMessages_.takeFirst());
  reporting_ = false;
}

double TLiveController::Seconds() const { return (SteadyMs() - startMs_) / 1000.0; }

// ---- freeze, save, averaging, dark ----

void TLiveController::Freeze(TSide side) {
  TSideState& s = sides_[side];
  EndRun(side);
  if (s.Current.Empty()) return ShowMessage(QString::fromLatin1(kNoFrameMessage));
  // The side's photograph from now on, in the 24-bit rows a loaded photograph has.
  TBitmap still = s.Current;
  if (still.PixelFormat() != pf24bit) still.SetPixelFormat(pf24bit);
  form_.ShowLiveFrame(side, still);
}

void TLiveController::SaveFrame(TSide side) {
  if (sides_[side].Current.Empty()) return ShowMessage(QString::fromLatin1(kNoFrameMessage));
  TSaveDialogOptions options;
  options.Filter = QStringLiteral("JPeg Files (*.JPG) | *.JPG");
  options.DefaultExt = QStringLiteral("jpg");
  options.OverwritePrompt = true;
  QString fileName;
  if (Dialogs().ExecuteSave(options, fileName)) SaveFrameTo(side, fileName);
}

void TLiveController::SaveFrameTo(TSide side, const QString& fileName) {
  const TBitmap frame = sides_[side].Current;  // kept while the file is written, whatever frames arrive
  if (frame.Empty()) return ShowMessage(QString::fromLatin1(kNoFrameMessage));
  const QByteArray data = EncodeJpeg(frame);
  if (data.isEmpty()) return ShowMessage(QString::fromLatin1(kFrameNotWrittenMessage));
  try {
    WriteFileReplacing(fileName, data);
  } catch (const EInOutError& e) {
    ShowMessage(e.Message);
  }
}

void TLiveController::SetAveraging(TSide side, int frames) {
  sides_[side].Averaging = std::clamp(frames, 1, kMaxAveragedFrames);
  emit StateChanged();
}

void TLiveController::TakeDark(TSide side) {
  TSideState& s = sides_[side];
  if (s.Averaged.Empty()) return ShowMessage(QString::fromLatin1(kNoFrameMessage));
  s.Dark = s.Averaged;
  emit StateChanged();
}

void TLiveController::ClearDark(TSide side) {
  sides_[side].Dark = TBitmap();
  emit StateChanged();
}
