#pragma once
// Where live frames come from: a camera or a video file, behind one small interface. Frames are
// handed on as they arrive; the receiver decides which of them it has time for.
#include <QCamera>
#include <QCameraDevice>
#include <QCameraFormat>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>

class TFrameSource : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  // Frames delivered since Start.
  int Frames() const { return frames_; }

 signals:
  void FrameArrived(const QVideoFrame& frame);
  // The source gives no further frames; `message` says why (the video is over, the camera is gone,
  // the file cannot be decoded). Emitted once.
  void Ended(const QString& message);

 protected:
  void Deliver(const QVideoFrame& frame);
  void End(const QString& message);
  int frames_ = 0;
  bool ended_ = false;
  QVideoFrame last_;  // the last frame delivered
};

// A video file played through a media player into a video sink, in real time.
class TVideoFileSource final : public TFrameSource {
  Q_OBJECT
 public:
  explicit TVideoFileSource(const QString& fileName, QObject* parent = nullptr);
  ~TVideoFileSource() override;
  void Start() override;
  void Stop() override;

 private:
  QString fileName_;
  QMediaPlayer player_;
  QVideoSink sink_;
  QTimer firstFrameDue_;
};

// How long a video file may take to give its first picture before it counts as undecodable: some
// demultiplexers wait for ever on a file cut short instead of failing.
inline constexpr int kFirstFrameWaitMs = 10000;

// A camera of Qt Multimedia's list, in the chosen resolution and frame rate.
class TCameraSource final : public TFrameSource {
  Q_OBJECT
 public:
  TCameraSource(const QCameraDevice& device, const QCameraFormat& format, QObject* parent = nullptr);
  ~TCameraSource() override;
  void Start() override;
  void Stop() override;

 private:
  QCameraDevice device_;
  QCamera camera_;
  QMediaCaptureSession session_;
  QVideoSink sink_;
  QMediaDevices devices_;
};

inline constexpr const char* kVideoEndedMessage = "The video has ended; its last frame stays in the picture.";
// %1 the file, %2 the player's reason.
inline constexpr const char* kVideoNotDecodableMessage = "The video file \"%1\" cannot be decoded. %2";
inline constexpr const char* kVideoMissingMessage = "The video file \"%1\" does not exist.";
inline constexpr const char* kCameraGoneMessage = "The camera \"%1\" is no longer available.";
inline constexpr const char* kCameraErrorMessage = "The camera \"%1\" failed. %2";

// "1280 x 720, 30 fps" for a camera format.
QString CameraFormatText(const QCameraFormat& format);
