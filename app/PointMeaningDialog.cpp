#include "app/PointMeaningDialog.h"

#include <QLabel>

#include "platform/Controls.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Point Click Meaning"));
  setFixedSize(334, 95);
  SetControlColor(this, Qt::white);

  Label1 = new QLabel(QStringLiteral("Clicked Point Is"), this);
  QFont f = font();
  f.setPixelSize(16);
  Label1->setFont(f);
  Label1->move(104, 8);
  Label1->adjustSize();

  struct ButtonInfo { TWrapButton** button; const char* caption; int left; int answer; int result; };
  const ButtonInfo buttons[] = {{&BitBtn1, "Blue End of Spectrum", 32, 0, mrYes},
                          {&BitBtn2, "Red End of Spectrum", 132, 1, mrNo},
                          {&BitBtn3, "Neither Cancel", 232, 2, mrCancel}};
  for (const ButtonInfo& s : buttons) {
    auto* b = new TWrapButton(QString::fromLatin1(s.caption), this);
    b->setGeometry(s.left, 33, 75, 41);
    const int answer = s.answer, result = s.result;
    connect(b, &QPushButton::clicked, this, [this, answer, result] {
      Answer = answer;
      done(result);
    });
    *s.button = b;
  }
  BitBtn3->setDefault(true);

  auto key = [this](int left, const QColor& colour) {
    auto* l = new QLabel(this);
    l->setGeometry(left, 72, 73, 17);
    SetControlColor(l, colour);
    return l;
  };
  StaticText1 = key(33, QColor(0, 0, 255));
  StaticText2 = key(132, QColor(255, 0, 0));
}

void TForm3::reject() {
  Answer = 2;
  done(mrCancel);
}

int TForm3::ShowModalBeside(QWidget* owner) {
  if (owner) {
    const QRect r = owner->frameGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  return exec();
}
