#pragma once
// TiPlotPreviewSettingsForm: margins, orientation, document name and paper size of the preview.
#include <QDialog>

#include "platform/Printer.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct TiPreviewSettings {
  double MarginLeft = 1.0, MarginTop = 1.0, MarginRight = 1.0, MarginBottom = 1.0;
  TPrinterOrientation Orientation = poLandscape;
  QString DocumentName;
  int PaperSizeIndex = 0;  // Letter, Legal, A3, A4, A5
};

class TiPlotPreviewSettingsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TiPlotPreviewSettingsForm(QWidget* parent = nullptr);

  void SetSettings(const TiPreviewSettings& settings);
  // The values typed, once Accept has taken them.
  const TiPreviewSettings& Settings() const { return settings_; }
  // The OK button: takes the values and closes with OK, or names the first bad value in a
  // message and stays open. True when accepted.
  bool Accept();

  QGroupBox* MarginGroup;
  QLineEdit* PrintMarginTopEdit;
  QLineEdit* PrintMarginLeftEdit;
  QLineEdit* PrintMarginRightEdit;
  QLineEdit* PrintMarginBottomEdit;
  QGroupBox* OrientationGroup;
  QRadioButton* PortraitButton;
  QRadioButton* LandscapeButton;
  QLineEdit* PrintDocumentNameEdit;
  QComboBox* PrintPaperSizeComboBox;
  QPushButton* OKButton;
  QPushButton* CancelButton;

 private:
  TiPreviewSettings settings_;
};
