#pragma once
#include <QDialog>

class QLabel;
class TWrapButton;

// "Point Click Meaning": asks whether a clicked point is the blue or the red end of the spectrum.
class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
  enum { mrCancel = 2, mrYes = 6, mrNo = 7 };
  // 0 = blue end, 1 = red end, 2 = neither.
  int Answer = 0;
  QLabel* Label1;
  TWrapButton* BitBtn1;
  TWrapButton* BitBtn2;
  TWrapButton* BitBtn3;
  QLabel* StaticText1;
  QLabel* StaticText2;
  // Shows the dialog modally, centred on `owner`, and returns its modal result.
  int ShowModalBeside(QWidget* owner);

 public slots:
  // The close box and Escape count as "Neither Cancel".
  void reject() override;
};
