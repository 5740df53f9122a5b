#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// "About This Program": a modeless window that Close only hides.
class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
  QLabel* Image1;
  QLabel* StaticText1;
  QLabel* StaticText2;
  QLabel* StaticText3;
  QLabel* StaticText4;
  QPushButton* Button1;
  // Shows the window centred on `owner` without making it modal.
  void ShowBeside(QWidget* owner);
};

// The program's picture: a small grating spectrum, used as the window icon and in the About window.
QImage ProgramPicture(int width, int height);
