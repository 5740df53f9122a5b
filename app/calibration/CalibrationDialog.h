#pragma once
// The calibration dialog: the lamp's profile with its peaks, the matched lines with their
// residuals under the linear and the quadratic fit, and the lamp's editable line list.
#include <QDialog>

#include "app/calibration/Calibration.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class TiXYPlot;

class TCalibrationDialog : public QDialog {
  Q_OBJECT
 public:
  enum TChoice { ccNone, ccLinear, ccQuadratic };

  // `extracted` holds the profile (Rows, Red, Green, Blue, Clipped); the guess is the side's
  // current wavelengths.
  TCalibrationDialog(const TCalibrationResult& extracted, double guessBlue, double guessRed, const QString& title,
                     QWidget* parent = nullptr);

  // Chooses one of BuiltInLineLists and calibrates again.
  void SetLineList(int index);
  // Switches one line of the current list on or off and calibrates again.
  void SetLineEnabled(int line, bool enabled);

  const TCalibrationResult& Result() const { return result_; }
  const TLineList& Lines() const { return lines_; }
  TChoice Choice() const { return choice_; }
  int Rows() const { return static_cast<int>(result_.Rows.size()); }

  TiXYPlot* Chart;
  QComboBox* ListBox;
  QListWidget* LineBox;
  QTableWidget* Table;
  QLabel* Summary;
  QPushButton* AcceptLinear;
  QPushButton* AcceptQuadratic;
  QPushButton* CancelButton;

 private:
  void Recalibrate();
  void ShowLines();
  void ShowResult();
  TCalibrationResult result_;
  double guessBlue_, guessRed_;
  TLineList lines_;
  TChoice choice_ = ccNone;
  bool filling_ = false;
};
