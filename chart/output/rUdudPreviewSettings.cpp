#include "chart/output/rUdudPreviewSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/Convert.h"
#include "platform/Dialogs.h"

TiPlotPreviewSettingsForm::TiPlotPreviewSettingsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TiPlotPreviewSettingsForm"));
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);

  MarginGroup = new QGroupBox(QStringLiteral("Margin"), this);
  auto* margins = new QGridLayout(MarginGroup);
  PrintMarginTopEdit = new QLineEdit(MarginGroup);
  PrintMarginLeftEdit = new QLineEdit(MarginGroup);
  PrintMarginRightEdit = new QLineEdit(MarginGroup);
  PrintMarginBottomEdit = new QLineEdit(MarginGroup);
  PrintMarginTopEdit->setObjectName(QStringLiteral("PrintMarginTopEdit"));
  PrintMarginLeftEdit->setObjectName(QStringLiteral("PrintMarginLeftEdit"));
  PrintMarginRightEdit->setObjectName(QStringLiteral("PrintMarginRightEdit"));
  PrintMarginBottomEdit->setObjectName(QStringLiteral("PrintMarginBottomEdit"));
  margins->addWidget(PrintMarginTopEdit, 0, 1);
  margins->addWidget(PrintMarginLeftEdit, 1, 0);
  margins->addWidget(PrintMarginRightEdit, 1, 2);
  margins->addWidget(PrintMarginBottomEdit, 2, 1);
  layout->addWidget(MarginGroup);

  OrientationGroup = new QGroupBox(QStringLiteral("Orientation"), this);
  auto* orientation = new QVBoxLayout(OrientationGroup);
  PortraitButton = new QRadioButton(QStringLiteral("Portrait"), OrientationGroup);
  LandscapeButton = new QRadioButton(QStringLiteral("Landscape"), OrientationGroup);
  orientation->addWidget(PortraitButton);
  orientation->addWidget(LandscapeButton);
  layout->addWidget(OrientationGroup);

  auto* form = new QFormLayout;
  PrintDocumentNameEdit = new QLineEdit(this);
  PrintDocumentNameEdit->setObjectName(QStringLiteral("PrintDocumentNameEdit"));
  form->addRow(new QLabel(QStringLiteral("Document Name"), this), PrintDocumentNameEdit);
  PrintPaperSizeComboBox = new QComboBox(this);
  PrintPaperSizeComboBox->setObjectName(QStringLiteral("PrintPaperSizeComboBox"));
  PrintPaperSizeComboBox->addItems({QStringLiteral("Letter"), QStringLiteral("Legal"), QStringLiteral("A3"),
                                    QStringLiteral("A4"), QStringLiteral("A5")});
  form->addRow(new QLabel(QStringLiteral("Paper Size"), this), PrintPaperSizeComboBox);
  layout->addLayout(form);

  auto* buttons = new QHBoxLayout;
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  OKButton->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  layout->addLayout(buttons);
  // Slots catch: a failure must not reach the event loop.
  connect(OKButton, &QPushButton::clicked, this, [this] {
    try {
      Accept();
    } catch (...) {
    }
  });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TiPlotPreviewSettingsForm::SetSettings(const TiPreviewSettings& s) {
  settings_ = s;
  PrintMarginTopEdit->setText(FloatToStr(s.MarginTop));
  PrintMarginLeftEdit->setText(FloatToStr(s.MarginLeft));
  PrintMarginRightEdit->setText(FloatToStr(s.MarginRight));
  PrintMarginBottomEdit->setText(FloatToStr(s.MarginBottom));
  PortraitButton->setChecked(s.Orientation == poPortrait);
  LandscapeButton->setChecked(s.Orientation == poLandscape);
  PrintDocumentNameEdit->setText(s.DocumentName);
  PrintPaperSizeComboBox->setCurrentIndex(s.PaperSizeIndex >= 0 && s.PaperSizeIndex < 5 ? s.PaperSizeIndex : 0);
}

bool TiPlotPreviewSettingsForm::Accept() {
  struct TField {
    QLineEdit* edit;
    const char* name;
    double* value;
  };
  TiPreviewSettings s = settings_;
  const TField fields[] = {{PrintMarginTopEdit, "Top", &s.MarginTop},
                           {PrintMarginLeftEdit, "Left", &s.MarginLeft},
                           {PrintMarginRightEdit, "Right", &s.MarginRight},
                           {PrintMarginBottomEdit, "Bottom", &s.MarginBottom}};
  for (const TField& f : fields) {
    double value = 0.0;
    if (!TryStrToFloat(f.edit->text().trimmed(), value) || !std::isfinite(value) || value < 0.0) {
      ShowMessage(QStringLiteral("%1 margin must be a number of 0 or more (inches).").arg(QLatin1String(f.name)));
      f.edit->setFocus();
      return false;
    }
    *f.value = value;
  }
  s.Orientation = PortraitButton->isChecked() ? poPortrait : poLandscape;
  s.DocumentName = PrintDocumentNameEdit->text();
  s.PaperSizeIndex = PrintPaperSizeComboBox->currentIndex();
  settings_ = s;
  accept();
  return true;
}
