#pragma once
// The live sides of the main window: a camera or a video file feeding a side's picture, every new
// frame extracted and plotted as "Make Plot" does, frames dropped rather than queued; freezing a
// frame as the side's photograph, saving it as JPEG, averaging and a dark frame.
#include <QCameraDevice>
#include <QCameraFormat>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVideoFrame>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/MainWindow.h"
#include "app/SpectrumCore.h"
#include "app/live/FrameAveraging.h"

class QAction;
class QMenu;
class TFrameSource;

// What "Live Sample..." / "Live Reference..." chose.
struct TLiveSourceChoice {
  enum TKind { None, Camera, VideoFile } Kind = None;
  QCameraDevice Device;
  QCameraFormat Format;
};

inline constexpr const char* kFrameSizeMessage =
    "The frame size changed to %1 x %2 pixels; the spectrum marks were kept within the new frame.";
inline constexpr const char* kDarkClearedMessage = "The dark frame no longer fits the frames and was cleared.";
inline constexpr const char* kNoFrameMessage = "There is no live frame yet.";
inline constexpr const char* kFrameNotWrittenMessage = "The frame could not be encoded as JPEG; nothing was written.";
inline constexpr const char* kVideoFileFilter =
    "Video Files (*.avi;*.mp4;*.mkv;*.mov;*.webm;*.ogv) | *.avi;*.mp4;*.mkv;*.mov;*.webm;*.ogv | All Files (*.*) | *.*";

// One frame's work, done off the user-interface thread: the frame as our picture (32-bit
// frames as they come, others in 24-bit rows), averaged and with the dark frame taken off, then
// the extraction as "Make Plot" does it.
struct TLiveJob {
  TSide Side = sdSample;
  int Run = 0;  // the side's run it belongs to: a later run (or a freeze) drops it
  QVideoFrame Video;  // as the source delivered it, or
  QImage Image;       // a picture handed in directly
  int Averaging = 1;
  TBitmap Dark;
  std::shared_ptr<TFrameAverager> Averager;  // the side's run's; used by one job at a time
  TPlotRequest Request;
  bool Plot = true;  // false when the boxes did not convert: the frame is only shown
  TSpectrumRecord Sample, Reference;
  TTransmittanceResult Result;
  TBitmap SamplePicture, ReferencePicture;  // the live side's is filled by the job
  bool OtherExtracted = false;  // the other side's record holds its picture's profile already
  QString OtherSaturation;       // and this its words in the saturation note (made when not)
  // Results.
  TBitmap Averaged;  // before the dark frame is taken off (what "Take Dark" keeps)
  TBitmap Frame;     // what the side shows and extracts
  QString Note;
  QStringList Messages;
};
// Runs the job's work on the calling thread; messages go into the job, never onto the screen.
void RunLiveJob(TLiveJob& job);

class TKineticsWindow;

class TLiveController : public QObject {
  Q_OBJECT
 public:
  explicit TLiveController(TForm1& form);
  ~TLiveController() override;

  // "Live Sample..." / "Live Reference...": the chooser, then the chosen source.
  void LiveClick(TSide side);
  // The chooser; tests answer it in place. The default shows the cameras with their formats and
  // "Video File...".
  std::function<TLiveSourceChoice(TSide)> ChooseSource;
  void StartVideo(TSide side, const QString& fileName);
  void StartCamera(TSide side, const QCameraDevice& device, const QCameraFormat& format);
  // Runs the side from any source (ends a run the side had).
  void StartSource(TSide side, std::unique_ptr<TFrameSource> source);
  // Ends the side's run; the last frame stays as the side's picture.
  void Stop(TSide side);
  bool Running(TSide side) const { return sides_[side].Source != nullptr; }

  // "Freeze": the current frame stays as the side's photograph, as if loaded; the run ends.
  void Freeze(TSide side);
  // "Save Frame...": the current frame as a JPEG file through our encoder.
  void SaveFrame(TSide side);
  void SaveFrameTo(TSide side, const QString& fileName);
  // Averaging of the last N frames, 1..64.
  void SetAveraging(TSide side, int frames);
  int Averaging(TSide side) const { return sides_[side].Averaging; }
  // "Take Dark": the current frame (averaged, before any dark) is subtracted from every frame.
  void TakeDark(TSide side);
  void ClearDark(TSide side);
  bool HasDark(TSide side) const { return !sides_[side].Dark.Empty(); }
  // The frame the side shows now (averaged, dark taken off); empty before the first.
  const TBitmap& CurrentFrame(TSide side) const { return sides_[side].Current; }
  int ProcessedFrames(TSide side) const { return sides_[side].Processed; }

  // Hands a frame to the live path as a source does: taken when the worker is free, else kept as
  // the newest waiting one in place of an older.
  void SubmitFrame(TSide side, const QVideoFrame& frame);
  void SubmitImage(TSide side, const QImage& image);
  // One frame from arrival to the refilled chart on this thread, skipping the worker (benchmarks).
  void ProcessNow(TSide side, const QImage& image);
  // True while a frame is being worked on or waits.
  bool Busy() const;

  // Called on the user-interface thread once per processed frame: seconds since the live run
  // started (the first side started while none ran) and the curves now plotted.
  std::function<void(double seconds, const std::vector<TSpectrumCurve>& curves)> FrameProcessed;

  // "Kinetics...": the kinetics window, made on first use; it follows every processed frame.
  void KineticsClick();
  QPointer<TKineticsWindow> Kinetics;
  QAction* KineticsItem = nullptr;

  QMenu* LiveMenu = nullptr;
  struct TSideActions {
    QMenu* Menu = nullptr;
    QAction *Freeze = nullptr, *SaveFrame = nullptr, *TakeDark = nullptr, *ClearDark = nullptr, *Stop = nullptr;
    std::vector<QAction*> Averaging;
  } Actions[2];

 signals:
  // A run started or ended, a dark frame was taken or cleared.
  void StateChanged();

 private:
  struct TSideState {
    std::unique_ptr<TFrameSource> Source;
    int Run = 0;
    int Averaging = 1;
    TBitmap Dark;
    TBitmap Current, Averaged;
    std::shared_ptr<TFrameAverager> Averager = std::make_shared<TFrameAverager>();
    QSize LastSize;
    int Processed = 0;
    std::optional<QVideoFrame> PendingVideo;
    std::optional<QImage> PendingImage;
    bool Ending = false;  // the source has ended; its message follows the last frame
    QString EndMessage;
  };
  void BuildMenu();
  void UpdateActions();
  std::shared_ptr<TLiveJob> PrepareJob(TSide side, const QSize& frameSize);
  void StartNext();
  void Finish(const std::shared_ptr<TLiveJob>& job);
  // Takes a finished job's frame and plot into the window; the messages it gathered come back.
  QStringList Apply(TLiveJob& job);
  void Show(const QString& message);
  void SourceEnded(TSide side, const QString& message);
  void EndRun(TSide side);
  void FinishEnding();
  void KeepMarksInside(TSide side, const QSize& size);
  void Report(const QStringList& messages);
  double Seconds() const;

  // The profile of a side's still photograph as last extracted, with what it was extracted from:
  // beside a live side it is taken again only when the picture or the side's marks change.
  struct TStillProfile {
    qint64 PictureKey = 0;
    TSpectrumRecord Input, Output;
    QString Saturation;  // the picture's words in the saturation note, whatever the trace
    bool Ready = false;  // Output holds the extraction of Input
  };
  static bool SameInput(const TSpectrumRecord& a, const TSpectrumRecord& b);

  TForm1& form_;
  TSideState sides_[2];
  std::optional<TStillProfile> still_[2];
  std::shared_ptr<TLiveJob> inFlight_;
  QFutureWatcher<void> watcher_;
  TSide lastSide_ = sdReference;
  double startMs_ = 0;
  QStringList lastMessages_;  // shown for the previous frame: not shown again while they repeat
  bool reporting_ = false;
  QStringList waitingMessages_;
  std::vector<std::unique_ptr<TFrameSource>> retired_;  // ended sources, deleted outside their own signals
};
