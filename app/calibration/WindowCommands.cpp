// The main window's calibration, peak-label, saturation and workspace commands.
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <cmath>

#include "app/MainWindow.h"
#include "app/PlotAssembly.h"
#include "app/SpectrumCore.h"
#include "app/calibration/Calibration.h"
#include "app/calibration/CalibrationDialog.h"
#include "app/calibration/PeakLabels.h"
#include "app/calibration/Workspace.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "platform/Controls.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"

namespace {
// Wavelength boxes: four decimals keep an accepted fit to well under a thousandth of a nanometre.
QString WavelengthText(double v) { return FormatFixed(v, 4); }

constexpr int kMaxPeakLabels = 12;

QString SideName(TSide side) { return side == sdSample ? QStringLiteral("sample") : QStringLiteral("reference"); }
}  // namespace

void TForm1::CalibrateFromLampClick(TSide side) {
  if (!Loaded(side)) {
    TOpenDialogOptions options;
    options.Title = QStringLiteral("Lamp Photograph");
    options.Filter = QStringLiteral("JPeg Files (*.JPG) | *.JPG");
    QString fileName;
    if (!Dialogs().ExecuteOpen(options, fileName)) return;
    LoadPicture(fileName, side);
    if (!Loaded(side)) return;
  }
  TSpectrumRecord& record = Record(side);
  ReadParameters(record);
  const TCalibrationResult extracted = CalibrateFromLamp(Copy(side), record, CompactFluorescentLines());
  if (extracted.Rows.size() < 3) {
    ShowMessage(QStringLiteral("The marked band of the %1 picture holds too few rows to calibrate. Mark the blue and "
                               "red ends of the lamp's spectrum first.")
                    .arg(SideName(side)));
    return;
  }
  TCalibrationDialog dialog(extracted, record.BlueWavelength, record.RedWavelength,
                            side == sdSample ? QStringLiteral("Calibrate Sample from Lamp")
                                             : QStringLiteral("Calibrate Reference from Lamp"),
                            this);
  RunCalibrationDialog(dialog);
  if (dialog.Choice() == TCalibrationDialog::ccLinear)
    AcceptLinearCalibration(side, dialog.Result().Linear.Fit, dialog.Rows());
  else if (dialog.Choice() == TCalibrationDialog::ccQuadratic)
    AcceptQuadraticCalibration(side, dialog.Result().Quadratic.Fit, dialog.Rows());
}

bool TForm1::AcceptLinearCalibration(TSide side, const TPolynomialFit& fit, int rows) {
  double blue = 0, red = 0;
  TPolynomialFit linear = fit;
  linear.Degree = 1;
  if (!CalibratedEnds(linear, rows, blue, red)) {
    ShowMessage(QString::fromLatin1(kCalibrationOutOfRangeMessage));
    return false;
  }
  TSpectrumRecord& r = Record(side);
  r.Binding[0]->setText(WavelengthText(blue));
  r.Binding[1]->setText(WavelengthText(red));
  r.QuadraticInForce = false;
  ShowQuadraticNote(side);
  RefreshRecord(r);
  return true;
}

bool TForm1::AcceptQuadraticCalibration(TSide side, const TPolynomialFit& fit, int rows) {
  double blue = 0, red = 0;
  TPolynomialFit quadratic = fit;
  quadratic.Degree = 2;
  if (!CalibratedEnds(quadratic, rows, blue, red)) {
    ShowMessage(QString::fromLatin1(kCalibrationOutOfRangeMessage));
    return false;
  }
  TSpectrumRecord& r = Record(side);
  r.Binding[0]->setText(WavelengthText(blue));
  r.Binding[1]->setText(WavelengthText(red));
  RefreshRecord(r);
  r.QuadraticInForce = true;
  for (int k = 0; k < 3; ++k) r.Quadratic[k] = fit.C[static_cast<std::size_t>(k)];
  ShowQuadraticNote(side);
  return true;
}

void TForm1::RevertToLinear(TSide side) {
  TSpectrumRecord& r = Record(side);
  if (!r.QuadraticInForce) return;
  r.QuadraticInForce = false;
  ShowQuadraticNote(side);
}

void TForm1::ShowQuadraticNote(TSide side) {
  QuadraticNote[side]->setVisible(Record(side).QuadraticInForce);
}

// ---- plot notes ----

void TForm1::LabelPeaks() {
  RemoveNamedAnnotations(*iXYPlot1, QString::fromLatin1(kPeakLabelName));
  if (!LabelPeaks1->isChecked() || plottedTrace_ < 0 || plottedTrace_ > ptBothIntensities) return;
  for (TSide side : {sdSample, sdReference}) {
    const bool shown = side == sdSample ? plottedTrace_ != ptReferenceIntensity : plottedTrace_ != ptSampleIntensity;
    if (!shown || !Loaded(side)) continue;
    const TSpectrumRecord& r = Record(side);
    TiXYPlotChannel* channel = iXYPlot1->Channel(side == sdSample ? 3 : 7);
    const int rows = ProfileRows(r);
    if (channel->Count() != rows) continue;  // the chart does not show this profile
    std::vector<double> x(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) x[static_cast<std::size_t>(i)] = plottedAbscissa_ == paPixelNumber ? i : r.Wavelength[i];
    const int most = plottedTrace_ == ptBothIntensities ? kMaxPeakLabels / 2 : kMaxPeakLabels;
    std::vector<unsigned char> clipped = BandClipping(Copy(side), r).Rows;
    clipped.resize(static_cast<std::size_t>(rows), 0);
    AddPeakLabels(*iXYPlot1, channel->Name(),
                  TraceLabels(x, std::span<const double>(r.TotalSum.data(), rows),
                              std::span<const double>(r.Wavelength.data(), rows), most, clipped));
  }
}

// ---- workspaces ----

TWorkspace TForm1::CurrentWorkspace() {
  ReadParameters(Sample);
  ReadParameters(Reference);
  TWorkspace w;
  for (TSide side : {sdSample, sdReference}) {
    const TSpectrumRecord& r = Record(side);
    TWorkspaceSide& s = side == sdSample ? w.Sample : w.Reference;
    s.Picture = Loaded(side) ? PicturePath[side] : QString();
    s.BlueWavelength = r.BlueWavelength, s.RedWavelength = r.RedWavelength;
    s.BlueX = r.BlueX, s.BlueY = r.BlueY, s.RedX = r.RedX, s.RedY = r.RedY;
    s.QuadraticInForce = r.QuadraticInForce;
    for (int k = 0; k < 3; ++k) s.Quadratic[static_cast<std::size_t>(k)] = r.Quadratic[k];
  }
  w.BandWidth = Sample.BandWidth;
  w.Trace = RadioGroup1->ItemIndex();
  w.Abscissa = RadioGroup2->ItemIndex();
  return w;
}

void TForm1::SaveWorkspace(const QString& fileName) { WriteWorkspaceFile(CurrentWorkspace(), fileName); }

void TForm1::SaveWorkspace1Click() {
  TSaveDialogOptions options;
  options.Filter = QStringLiteral("Lumio Workspaces (*.lumio) | *.lumio");
  options.DefaultExt = QStringLiteral("lumio");
  options.OverwritePrompt = true;
  QString fileName;
  if (Dialogs().ExecuteSave(options, fileName)) SaveWorkspace(fileName);
}

void TForm1::OpenWorkspace1Click() {
  TOpenDialogOptions options;
  options.Filter = QStringLiteral("Lumio Workspaces (*.lumio) | *.lumio");
  QString fileName;
  if (Dialogs().ExecuteOpen(options, fileName)) OpenWorkspace(fileName);
}

void TForm1::OpenWorkspace(const QString& fileName) {
  const TWorkspaceRead read = ReadWorkspaceFile(fileName);
  if (!read.Ok) {
    ShowMessage(read.Message);
    return;
  }
  const TWorkspace& w = read.Workspace;
  Edit[7]->setText(IntToStr(w.BandWidth));
  Sample.BandWidth = Reference.BandWidth = w.BandWidth;
  RadioGroup1->SetItemIndex(w.Trace);
  RadioGroup2->SetItemIndex(w.Abscissa);
  QStringList missing;
  for (TSide side : {sdSample, sdReference}) {
    const TWorkspaceSide& s = side == sdSample ? w.Sample : w.Reference;
    TSpectrumRecord& r = Record(side);
    r.Binding[0]->setText(FloatToStr(s.BlueWavelength));
    r.Binding[1]->setText(FloatToStr(s.RedWavelength));
    r.Binding[2]->setText(IntToStr(s.BlueX));
    r.Binding[3]->setText(IntToStr(s.BlueY));
    r.Binding[4]->setText(IntToStr(s.RedX));
    r.Binding[5]->setText(IntToStr(s.RedY));
    ReadParameters(r);
    r.QuadraticInForce = s.QuadraticInForce;
    for (int k = 0; k < 3; ++k) r.Quadratic[k] = s.Quadratic[static_cast<std::size_t>(k)];
    ShowQuadraticNote(side);
    if (s.Picture.isEmpty() || !QFileInfo(s.Picture).isFile()) {
      // The workspace's picture (or its lack of one) replaces whatever the side showed.
      if (!s.Picture.isEmpty()) missing << QStringLiteral("The %1 picture %2 is missing.").arg(SideName(side), s.Picture);
      EmptyView(side);
      Copy(side) = TBitmap();
      SetLoaded(side, false);
      PicturePath[side].clear();
      continue;
    }
    LoadPicture(s.Picture, side);
  }
  if (!missing.isEmpty())
    ShowMessage(missing.join(QLatin1Char(' ')) + QStringLiteral(" The rest of the workspace was restored."));
}
