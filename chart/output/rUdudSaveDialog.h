#pragma once
// TiSaveDialog: the save-file dialog of the chart's picture export.
#include <QString>

class QWidget;

class TiSaveDialog {
 public:
  // owner: the control the dialog belongs to; the window it sits in owns the dialog on screen.
  explicit TiSaveDialog(QWidget* owner) : owner_(owner) {}

  QString FileName;        // proposed name in; chosen name out
  QString Filter;          // description and pattern pairs, all separated by "|"
  int FilterIndex = 1;     // 1-based, the filter shown first in; the filter chosen out
  QString DefaultExt;
  // The extension of the chosen filter's pattern (".jpg" for "*.jpg"), set by Execute.
  const QString& ReturnExt() const { return returnExt_; }

  // Runs the save dialog; true when the user confirmed. The chosen filter's extension is added
  // to a name without it; when that makes the name of an existing file, the user is asked
  // before it is replaced (No counts as cancel).
  bool Execute();

  // The owner window: the first window up the owner chain; nullptr without an owner.
  QWidget* OwnerWindow() const;

 private:
  QWidget* owner_;
  QString returnExt_;
};
