#pragma once
// TiPlotPreviewForm: the print preview window. It shows the page as it would print, at reduced
// size on a sheet with a shadow, and lets the user print and change the print settings.
#include <QDialog>
#include <functional>

#include "chart/output/rUdudPreviewSettings.h"
#include "platform/Bitmap.h"

class QPushButton;
class QToolButton;
class TiPlotComponent;

class TiPlotPreviewForm : public QDialog {
  Q_OBJECT
 public:
  explicit TiPlotPreviewForm(TiPlotComponent* chart, QWidget* parent = nullptr);
  ~TiPlotPreviewForm() override;

  // The preview's own settings, copied from the chart when it opened; the paper size starts at Letter.
  const TiPreviewSettings& Settings() const { return settings_; }

  // The paint area's picture at the given size.
  TBitmap RenderPreview(int width, int height);

  void PrintButtonClick();
  void CloseButtonClick();
  // Opens the settings window; with answer given, it is called in place of running the window
  // (tests fill and accept it there).
  void SettingsButtonClick();
  std::function<void(TiPlotPreviewSettingsForm&)> SettingsAnswer;

  QWidget* Panel2;
  QToolButton* PrintButton;
  QPushButton* SettingsButton;
  QPushButton* CloseButton;
  QWidget* Preview;

 private:
  void ApplySettings(const TiPreviewSettings& s);
  TiPlotComponent* chart_;
  TiPreviewSettings settings_;
};
