#include "app/AboutWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "platform/Controls.h"

QImage ProgramPicture(int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::black);
  // A band of spectral colours from violet to red, fading to black at the top and bottom.
  for (int x = 0; x < width; ++x) {
    const double hue = 0.75 * (1.0 - static_cast<double>(x) / qMax(1, width - 1));
    for (int y = 0; y < height; ++y) {
      const double t = qAbs(2.0 * y / qMax(1, height - 1) - 1.0);
      const double value = qBound(0.0, 1.2 - 1.4 * t, 1.0);
      img.setPixelColor(x, y, QColor::fromHsvF(static_cast<float>(hue), 1.0f, static_cast<float>(value)));
    }
  }
  return img;
}

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About This Program"));
  setFixedSize(385, 256);
  SetControlColor(this, Qt::white);
  setModal(false);

  Image1 = new QLabel(this);
  Image1->setGeometry(24, 157, 60, 63);
  Image1->setPixmap(QPixmap::fromImage(ProgramPicture(60, 63)));

  auto line = [this](const QString& text, int top, int pixelHeight, bool bold) {
    auto* label = new QLabel(text, this);
    QFont f = font();
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    label->setFont(f);
    label->setGeometry(24, top, 340, pixelHeight + 8);
    return label;
  };
  StaticText1 = line(QStringLiteral("Lumio Spectrometer"), 24, 20, true);
  StaticText2 = line(QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                         ? QStringLiteral("0.1.0")
                                                         : QCoreApplication::applicationVersion()),
                     60, 13, false);
  StaticText3 = line(QStringLiteral("Calibrated intensity, transmittance and absorbance spectra"), 88, 13, false);
  StaticText4 = line(QStringLiteral("from photographs of a grating spectrum."), 108, 13, false);

  Button1 = new QPushButton(QStringLiteral("Close"), this);
  Button1->setGeometry(152, 176, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
}

void TForm2::ShowBeside(QWidget* owner) {
  if (owner) {
    const QRect r = owner->frameGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
}
