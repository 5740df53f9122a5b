#pragma once
// Stand-ins for the desktop platform's standard controls that Qt lacks: an up-down control
// attached to an edit box, a button whose caption wraps, drive, folder and file lists that
// follow one another, and a picture view that sizes itself to its picture.
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <functional>

class QToolButton;

class TUpDown : public QWidget {
  Q_OBJECT
 public:
  enum TUDBtnType { btNext, btPrev };
  explicit TUpDown(QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v) { min_ = v; SetPosition(position_); }
  void SetMax(int v) { max_ = v; SetPosition(position_); }
  void SetPosition(int v);
  QLineEdit* Associate() const { return associate_; }
  void SetAssociate(QLineEdit* edit);

  // Runs before each step is applied and may refuse it; the step then moves the position by one
  // within the limits.
  std::function<bool(TUDBtnType)> OnChanging;
  // One step, as a click on an arrow does.
  void Click(TUDBtnType button);

 private:
  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* associate_ = nullptr;
  int min_ = 0, max_ = 100, position_ = 0;
};

// A group of radio buttons, one item a line, with the index of the checked item (-1 for none).
class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
  QStringList Items() const;
  int ItemIndex() const;
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const { return buttons_.value(index); }

 private:
  QList<QRadioButton*> buttons_;
};

// A push button whose caption breaks into lines at blanks to fit its width.
class TWrapButton : public QPushButton {
  Q_OBJECT
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Sets a control's background colour (filled) or its text colour, as the platform's Color and Font.Color do.
void SetControlColor(QWidget* control, const QColor& background);
void SetControlTextColor(QWidget* control, const QColor& text);

// A label whose text wraps into the label's width (narrow labels stack their words vertically).
QLabel* MakeWrappedLabel(const QString& text, QWidget* parent, int left, int top, int width, int height);

class TFileListBox;
class TDirectoryListBox;

class TDriveComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TDriveComboBox(QWidget* parent = nullptr);
  // The drives: the file-system root and the roots of the mounted volumes.
  static QStringList Drives();
  QString Drive() const { return currentText(); }
  void SetDrive(const QString& root);
  TDirectoryListBox* DirList = nullptr;
};

class TDirectoryListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TDirectoryListBox(QWidget* parent = nullptr);
  QString Directory() const { return directory_; }
  void SetDirectory(const QString& path);
  // Opens the folder of the given row (ancestors first, then the current folder's subfolders).
  void OpenItem(int row);
  TFileListBox* FileList = nullptr;
  std::function<void()> OnChange;

 private:
  QString directory_;
  QStringList paths_;
};

class TFileListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TFileListBox(QWidget* parent = nullptr);
  QString Directory() const { return directory_; }
  void SetDirectory(const QString& path);
  // Patterns separated by semicolons, matched without regard to letter case ("*.jpg;*.png").
  QString Mask() const { return mask_; }
  void SetMask(const QString& mask);
  void Update();
  // Full path of the selected file, or empty.
  QString FileName() const;
  void SelectFile(const QString& name);
  std::function<void()> OnDblClick;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QString directory_;
  QString mask_ = QStringLiteral("*.*");
};

// A picture view: shows an image at its natural size and reports clicks. It takes no focus, so
// a click into it leaves the focus (and the exit check of the box that holds it) where it is.
class TImage : public QWidget {
  Q_OBJECT
 public:
  // The platform's size of a view that has never shown a picture.
  static constexpr int kEmptySize = 105;
  explicit TImage(QWidget* parent = nullptr);
  const QImage& Picture() const { return picture_; }
  // Shows the picture and sizes the view to it (AutoSize); an empty picture keeps the view's size.
  void SetPicture(const QImage& picture);
  // Empties the view. An auto-sized view goes back to the size it has without a picture, so that
  // nothing measured on the view (the limits of the position boxes) stays that of the old picture.
  void Clear();
  // Lets go of the picture's pixels and keeps the size: for a picture about to be replaced by
  // SetPicture, so that the scroll position in the box survives.
  void ReleasePicture();
  bool AutoSize = true;
  // The screen position of the last mouse press or release on the view.
  QPoint LastMouseScreenPos() const { return lastScreenPos_; }
  std::function<void()> OnClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  QPoint lastScreenPos_;
  bool pressed_ = false;
};
