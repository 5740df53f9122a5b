#include "app/live/FrameSource.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>

void TFrameSource::Deliver(const QVideoFrame& frame) {
  if (ended_ || !frame.isValid()) return;
  ++frames_;
  last_ = frame;
  emit FrameArrived(frame);
}

void TFrameSource::End(const QString& message) {
  if (ended_) return;
  ended_ = true;
  emit Ended(message);
}

// ---- video file ----

TVideoFileSource::TVideoFileSource(const QString& fileName, QObject* parent)
    : TFrameSource(parent), fileName_(fileName) {
  player_.setVideoOutput(&sink_);
  connect(&sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) { Deliver(frame); });
  connect(&player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
    const QString name = QFileInfo(fileName_).fileName();
    if (status == QMediaPlayer::EndOfMedia) {
      // The sink may hold a last frame whose signal has not reached us yet: it is the video's end.
      const QVideoFrame last = sink_.videoFrame();
      if (last.isValid() && last != last_) Deliver(last);
      // A file that plays to its end without one picture holds none we can decode.
      if (frames_ == 0)
        End(QString::fromLatin1(kVideoNotDecodableMessage).arg(name, QStringLiteral("It holds no picture.")));
      else
        End(QString::fromLatin1(kVideoEndedMessage));
    } else if (status == QMediaPlayer::InvalidMedia) {
      End(QString::fromLatin1(kVideoNotDecodableMessage).arg(name, player_.errorString()).trimmed());
    }
  });
  connect(&player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
    End(QString::fromLatin1(kVideoNotDecodableMessage).arg(QFileInfo(fileName_).fileName(), text).trimmed());
  });
  firstFrameDue_.setSingleShot(true);
  firstFrameDue_.setInterval(kFirstFrameWaitMs);
  connect(&firstFrameDue_, &QTimer::timeout, this, [this] {
    if (frames_ > 0 || ended_) return;
    player_.stop();
    End(QString::fromLatin1(kVideoNotDecodableMessage)
            .arg(QFileInfo(fileName_).fileName(), QStringLiteral("No picture came from it.")));
  });
  connect(this, &TFrameSource::FrameArrived, &firstFrameDue_, &QTimer::stop);
}

TVideoFileSource::~TVideoFileSource() {
  ended_ = true;  // nothing is reported while the player winds down
  player_.stop();
}

void TVideoFileSource::Start() {
  const QFileInfo info(fileName_);
  if (!info.isFile()) return End(QString::fromLatin1(kVideoMissingMessage).arg(fileName_));
  player_.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
  player_.play();
  firstFrameDue_.start();
}

void TVideoFileSource::Stop() {
  ended_ = true;
  player_.stop();
}

// ---- camera ----

QString CameraFormatText(const QCameraFormat& format) {
  const QSize size = format.resolution();
  const double lo = format.minFrameRate(), hi = format.maxFrameRate();
  const auto rate = [](double r) { return QString::number(std::round(r * 100) / 100); };
  const QString rates = std::abs(hi - lo) < 0.01 ? rate(hi) : QStringLiteral("%1-%2").arg(rate(lo), rate(hi));
  return QStringLiteral("%1 x %2, %3 fps").arg(size.width()).arg(size.height()).arg(rates);
}

TCameraSource::TCameraSource(const QCameraDevice& device, const QCameraFormat& format, QObject* parent)
    : TFrameSource(parent), device_(device), camera_(device) {
  if (!format.isNull()) camera_.setCameraFormat(format);
  session_.setCamera(&camera_);
  session_.setVideoSink(&sink_);
  connect(&sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) { Deliver(frame); });
  connect(&camera_, &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString& text) {
    if (error != QCamera::NoError) End(QString::fromLatin1(kCameraErrorMessage).arg(device_.description(), text).trimmed());
  });
  // A camera unplugged while it runs leaves the list of video inputs.
  connect(&devices_, &QMediaDevices::videoInputsChanged, this, [this] {
    for (const QCameraDevice& d : QMediaDevices::videoInputs())
      if (d.id() == device_.id()) return;
    End(QString::fromLatin1(kCameraGoneMessage).arg(device_.description()));
  });
}

TCameraSource::~TCameraSource() {
  ended_ = true;
  camera_.stop();
}

void TCameraSource::Start() { camera_.start(); }

void TCameraSource::Stop() {
  ended_ = true;
  camera_.stop();
}
