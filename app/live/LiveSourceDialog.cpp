#include "app/live/LiveSourceDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMediaDevices>
#include <QVBoxLayout>

#include "app/live/FrameSource.h"

TLiveSourceChoice RunLiveSourceDialog(QWidget* parent, TSide side) {
  QDialog dialog(parent);
  dialog.setWindowTitle(side == sdSample ? QStringLiteral("Live Sample") : QStringLiteral("Live Reference"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("Source of the live frames:"), &dialog));
  auto* list = new QListWidget(&dialog);
  list->setMinimumSize(420, 240);
  layout->addWidget(list);

  std::vector<TLiveSourceChoice> choices;
  const auto add = [&](const QString& text, const TLiveSourceChoice& choice) {
    list->addItem(text);
    choices.push_back(choice);
  };
  const QList<QCameraDevice> cameras = QMediaDevices::videoInputs();
  for (const QCameraDevice& camera : cameras) {
    const QList<QCameraFormat> formats = camera.videoFormats();
    if (formats.isEmpty()) add(camera.description(), {TLiveSourceChoice::Camera, camera, QCameraFormat()});
    for (const QCameraFormat& format : formats)
      add(QStringLiteral("%1: %2").arg(camera.description(), CameraFormatText(format)),
          {TLiveSourceChoice::Camera, camera, format});
  }
  if (cameras.isEmpty()) {
    list->addItem(QStringLiteral("(no camera found)"));
    list->item(0)->setFlags(Qt::NoItemFlags);
    choices.push_back({});
  }
  add(QStringLiteral("Video File..."), {TLiveSourceChoice::VideoFile, {}, {}});
  list->setCurrentRow(cameras.isEmpty() ? list->count() - 1 : 0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return {};
  const int row = list->currentRow();
  if (row < 0 || row >= static_cast<int>(choices.size())) return {};
  return choices[static_cast<std::size_t>(row)];
}
