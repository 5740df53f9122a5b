#include "app/live/KineticsWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

#include "app/EntryCheck.h"
#include "app/Transmittance.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdud.h"
#include "chart/core/iErrors.h"
#include "chart/decorations/rUdudLabel.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kLowestWavelength = 200.0;
constexpr double kHighestWavelength = 999.9;
// Bright on the chart's dark data view, and apart from one another.
constexpr TColor kTraceColors[TKineticsWindow::kMaxWavelengths] = {clLime, clAqua, clYellow, clFuchsia};

// Every entry from Qt catches: a failure is shown, never thrown into the event loop.
template <typename F>
void Guarded(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    ShowMessage(ErrorMessage(e));
  }
}

QString Nm(double wavelength) { return FormatFixed(wavelength, 1) + QStringLiteral(" nm"); }

QString QuantityName(TKineticsQuantity q) {
  return q == kqAbsorbance ? QStringLiteral("absorbance") : QStringLiteral("intensity");
}

// Absorbance from transmittance as Make Plot works it out, its marker where T is not positive.
double AbsorbanceOf(double t) { return t > 0 ? -std::log(t) / std::log(10.0) : kAbsorbanceMarker; }

}  // namespace

double KineticsValueAt(const std::vector<double>& x, const std::vector<double>& y, double wavelength) {
  const std::size_t n = std::min(x.size(), y.size());
  if (n == 0 || !std::isfinite(wavelength)) return kNaN;
  const bool ascending = x[n - 1] >= x[0];
  const double low = ascending ? x[0] : x[n - 1];
  const double high = ascending ? x[n - 1] : x[0];
  if (!(wavelength >= low && wavelength <= high)) return kNaN;
  // The first point at or beyond the wavelength in the curve's own direction.
  const auto end = x.begin() + static_cast<std::ptrdiff_t>(n);
  const std::size_t i = static_cast<std::size_t>(
      ascending ? std::lower_bound(x.begin(), end, wavelength) - x.begin()
                : std::lower_bound(x.begin(), end, wavelength, [](double a, double w) { return a > w; }) - x.begin());
  if (i >= n) return kNaN;
  if (x[i] == wavelength || i == 0) return y[i];
  const double x0 = x[i - 1], x1 = x[i], y0 = y[i - 1], y1 = y[i];
  if (x1 == x0) return y1;
  return y0 + (y1 - y0) * (wavelength - x0) / (x1 - x0);
}

const TSpectrumCurve* KineticsCurve(const std::vector<TSpectrumCurve>& curves, TKineticsQuantity& quantity) {
  const TSpectrumCurve* transmittance = nullptr;
  const TSpectrumCurve* intensity = nullptr;
  for (const TSpectrumCurve& c : curves) {
    if (c.YUnits == QLatin1String("ABSORBANCE")) {
      quantity = kqAbsorbance;
      return &c;
    }
    if (c.YUnits == QLatin1String("TRANSMITTANCE") && !transmittance) transmittance = &c;
    if (c.YUnits == QLatin1String("ARBITRARY UNITS") && !intensity) intensity = &c;
  }
  if (transmittance) {
    quantity = kqAbsorbance;
    return transmittance;
  }
  quantity = intensity ? kqIntensity : kqNone;
  return intensity;
}

bool ParseKineticsWavelengths(const QString& text, std::vector<double>& wavelengths, QString& message) {
  static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
  const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
  if (parts.isEmpty()) {
    message = QStringLiteral("Enter one to four wavelengths in nm, for example 450, 550, 650.");
    return false;
  }
  if (parts.size() > TKineticsWindow::kMaxWavelengths) {
    message = QStringLiteral("At most four wavelengths can be followed; %1 were entered.").arg(parts.size());
    return false;
  }
  std::vector<double> chosen;
  for (const QString& part : parts) {
    // A value beyond the limits is refused rather than clamped: following 200.0 nm in place of
    // the 1200 typed would be a trace of something else.
    const TEntryCheck check = CheckRealText(part, kLowestWavelength, kHighestWavelength);
    if (check.State != TEntryCheck::Accepted) {
      message = QStringLiteral("Wavelength \"%1\": %2").arg(part, check.Range);
      return false;
    }
    const double value = StrToFloat(check.Text);
    if (std::find(chosen.begin(), chosen.end(), value) != chosen.end()) {
      message = QStringLiteral("%1 is entered twice; each wavelength can be followed once.").arg(Nm(value));
      return false;
    }
    chosen.push_back(value);
  }
  wavelengths = std::move(chosen);
  return true;
}

TKineticsWindow::TKineticsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("KineticsWindow"));
  setWindowTitle(QStringLiteral("Kinetics"));
  resize(820, 560);
  auto* layout = new QVBoxLayout(this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Wavelengths (nm):"), this));
  WavelengthBox = new QLineEdit(QStringLiteral("450, 550, 650"), this);
  WavelengthBox->setToolTip(QStringLiteral("Up to four wavelengths, separated by commas"));
  controls->addWidget(WavelengthBox, 1);
  ApplyButton = new QPushButton(QStringLiteral("Apply"), this);
  ClearButton = new QPushButton(QStringLiteral("Clear"), this);
  LogButton = new QPushButton(QStringLiteral("Log to File..."), this);
  StopLogButton = new QPushButton(QStringLiteral("Stop Logging"), this);
  for (QPushButton* b : {ApplyButton, ClearButton, LogButton, StopLogButton}) controls->addWidget(b);
  layout->addLayout(controls);

  Chart = new TiPlot(this);
  Chart->setObjectName(QStringLiteral("KineticsChart"));
  Chart->setMinimumHeight(300);
  layout->addWidget(Chart, 1);
  Status = new QLabel(this);
  layout->addWidget(Status);

  Chart->BeginUpdate();
  try {
    Chart->Labels(0)->SetCaption(QStringLiteral("Kinetics"));
    TiPlotXAxis* x = Chart->XAxis(0);
    x->SetTitle(QStringLiteral("Time (s)"));
    x->SetTitleShow(true);
    // The time chart's scrolling axis: the window widens with the run up to an hour, then
    // keeps the last hour in view.
    x->SetTrackingStyle(iptsScrollSmooth);
    x->SetTrackingScrollCompressMax(kScrollAfter);
    x->SetMinSpan(0.0, kInitialSeconds);
    TiPlotYAxis* y = Chart->YAxis(0);
    y->SetTitleShow(true);
    y->SetMinSpan(0.0, 1.0);
  } catch (...) {
    Chart->EndUpdate();
    throw;
  }
  Chart->EndUpdate();

  QString message;
  ParseKineticsWavelengths(WavelengthBox->text(), wavelengths_, message);
  BuildChannels();
  StartRun(kqNone);

  connect(ApplyButton, &QPushButton::clicked, this, [this] { Guarded([&] { SetWavelengthsText(WavelengthBox->text()); }); });
  connect(WavelengthBox, &QLineEdit::returnPressed, this, [this] { Guarded([&] { SetWavelengthsText(WavelengthBox->text()); }); });
  connect(ClearButton, &QPushButton::clicked, this, [this] { Guarded([&] { Restart(); }); });
  connect(LogButton, &QPushButton::clicked, this, [this] { Guarded([&] { LogToFile(); }); });
  connect(StopLogButton, &QPushButton::clicked, this, [this] { Guarded([&] { StopLog(); }); });
}

TKineticsWindow::~TKineticsWindow() {
  // What is pending reaches the file before the chart goes.
  if (Chart && Chart->LoggingActive()) {
    try {
      Chart->StopLogging();
    } catch (...) {
    }
  }
}

int TKineticsWindow::FrameCount() const { return Chart->ChannelCount() > 0 ? Chart->Channel(0)->Count() : 0; }

bool TKineticsWindow::Logging() const { return Chart->LoggingActive(); }

void TKineticsWindow::BuildChannels() {
  Chart->BeginUpdate();
  try {
    const int n = static_cast<int>(wavelengths_.size());
    while (Chart->ChannelCount() > n) Chart->DeleteChannel(Chart->ChannelCount() - 1);
    while (Chart->ChannelCount() < n) Chart->AddChannel();
    for (int i = 0; i < n; ++i) {
      TiPlotChannel* c = Chart->Channel(i);
      c->SetTitleText(Nm(wavelengths_[static_cast<std::size_t>(i)]));
      c->SetColor(kTraceColors[i]);
      c->SetTraceLineWidth(2);
      // The Y axis is fitted to the run by the window (FitYAxis), with room above and below.
      c->SetYAxisTrackingEnabled(false);
    }
  } catch (...) {
    Chart->EndUpdate();
    throw;
  }
  Chart->EndUpdate();
  toldOutside_.assign(wavelengths_.size(), false);
}

void TKineticsWindow::StartRun(TKineticsQuantity quantity) {
  Chart->BeginUpdate();
  try {
    // The chart's clearing would end the log: every caller has ended it first.
    Chart->ClearAllData();
    // A new run is followed again, also where the user had scrolled or zoomed the last one.
    Chart->EnableAllTracking();
    Chart->XAxis(0)->SetMinSpan(0.0, kInitialSeconds);
  } catch (...) {
    Chart->EndUpdate();
    throw;
  }
  Chart->EndUpdate();
  quantity_ = quantity;
  ShowYTitle();
  started_ = false;
  startSeconds_ = lastX_ = shift_ = 0.0;
  yAny_ = false;
  toldPixelAxis_ = false;
  std::fill(toldOutside_.begin(), toldOutside_.end(), false);
  ShowStatus();
}

bool TKineticsWindow::Restart() {
  if (!Chart->LoggingActive()) {
    StartRun(kqNone);
    return true;
  }
  // Logging goes on into the same file across a restart: the rows after it start again at time
  // zero, and nothing logged so far is lost.
  QStringList messages;
  EndLog(messages);
  StartRun(kqNone);
  if (!messages.isEmpty()) {
    ShowMessage(messages.join(QLatin1Char('\n')));
    return false;
  }
  Chart->SetLogFileName(logFileName_);
  try {
    Chart->StartLogging(true);
  } catch (const std::exception& e) {
    ShowStatus();
    ShowMessage(QStringLiteral("Logging stopped: %1").arg(ErrorMessage(e)));
    return false;
  }
  ShowStatus();
  return true;
}

bool TKineticsWindow::SetWavelengthsText(const QString& text) {
  if (Chart->LoggingActive()) {
    // The log's columns are the wavelengths: other ones would need another file.
    ShowMessage(QStringLiteral("Stop logging before choosing other wavelengths."));
    return false;
  }
  std::vector<double> chosen;
  QString message;
  if (!ParseKineticsWavelengths(text, chosen, message)) {
    ShowMessage(message);
    return false;
  }
  wavelengths_ = std::move(chosen);
  QStringList shown;
  for (double w : wavelengths_) shown << FormatFixed(w, 1);
  WavelengthBox->setText(shown.join(QStringLiteral(", ")));
  BuildChannels();
  // New wavelengths start a new run: every row of the chart has a value for every channel.
  StartRun(kqNone);
  return true;
}

void TKineticsWindow::AddFrame(double secondsSinceStart, const std::vector<TSpectrumCurve>& curves) {
  // Called from the live path once per frame: nothing is thrown back into it, and a failure that
  // repeats frame after frame is said once.
  try {
    TakeFrame(secondsSinceStart, curves);
    lastFailure_.clear();
  } catch (const std::exception& e) {
    const QString message = ErrorMessage(e);
    if (message == lastFailure_) return;
    lastFailure_ = message;
    ShowMessage(message);
  }
}

void TKineticsWindow::TakeFrame(double secondsSinceStart, const std::vector<TSpectrumCurve>& curves) {
  if (wavelengths_.empty() || !std::isfinite(secondsSinceStart)) return;
  TKineticsQuantity quantity = kqNone;
  const TSpectrumCurve* curve = KineticsCurve(curves, quantity);
  if (!curve) return;
  // Messages are shown after the frame is complete: a message box runs the event loop, which can
  // deliver the next frame.
  QStringList messages;
  if (!curve->Wavelength) {
    if (!toldPixelAxis_) {
      toldPixelAxis_ = true;
      ShowMessage(QStringLiteral(
          "The live spectrum is plotted against pixel number, and kinetics follows wavelengths: choose the "
          "wavelength abscissa. Until then no frame is added to the kinetics chart."));
    }
    return;
  }
  toldPixelAxis_ = false;

  if (quantity_ == kqNone) {
    // The run's first frame says what it follows.
    quantity_ = quantity;
    ShowYTitle();
  } else if (quantity != quantity_) {
    // Intensity and absorbance do not share a trace: the run starts again with the new one.
    if (Chart->LoggingActive() && EndLog(messages))
      messages << QStringLiteral("The live spectrum now gives %1 instead of %2: the kinetics run starts again, "
                                 "and logging to \"%3\" stopped.")
                      .arg(QuantityName(quantity), QuantityName(quantity_), logFileName_);
    StartRun(quantity);
  }

  if (!started_) {
    started_ = true;
    startSeconds_ = secondsSinceStart;
  }
  // X never goes backwards, as the time chart's drawing expects: a clock that went back (a live
  // source started again) continues from the last time.
  double x = secondsSinceStart - startSeconds_ + shift_;
  if (x < lastX_) {
    shift_ += lastX_ - x;
    x = lastX_;
  }
  lastX_ = x;

  std::vector<double> absorbance;
  const std::vector<double>* values = &curve->Y;
  if (curve->YUnits == QLatin1String("TRANSMITTANCE")) {
    absorbance.reserve(curve->Y.size());
    for (double t : curve->Y) absorbance.push_back(AbsorbanceOf(t));
    values = &absorbance;
  }

  Chart->BeginUpdate();
  try {
    for (std::size_t i = 0; i < wavelengths_.size(); ++i) {
      const double y = KineticsValueAt(curve->X, *values, wavelengths_[i]);
      if (std::isfinite(y)) {
        yLow_ = yAny_ ? std::min(yLow_, y) : y;
        yHigh_ = yAny_ ? std::max(yHigh_, y) : y;
        yAny_ = true;
      } else if (!toldOutside_[i]) {
        toldOutside_[i] = true;
        const auto [lo, hi] = std::minmax_element(curve->X.begin(), curve->X.end());
        messages << (lo == curve->X.end()
                         ? QStringLiteral("The live spectrum has no points: %1 has no value.").arg(Nm(wavelengths_[i]))
                         : QStringLiteral("%1 lies outside the live spectrum (%2 to %3 nm): its trace has a gap "
                                          "while it does.")
                               .arg(Nm(wavelengths_[i]), FormatFixed(*lo, 1), FormatFixed(*hi, 1)));
      }
      // NaN outside the curve: the time chart draws it as a break in the line.
      Chart->Channel(static_cast<int>(i))->AddXY(x, y);
    }
    FitYAxis();
  } catch (...) {
    Chart->EndUpdate();
    throw;
  }
  Chart->EndUpdate();
  FlushLog(messages);
  ShowStatus();
  for (const QString& m : messages) ShowMessage(m);
}

void TKineticsWindow::ShowYTitle() {
  Chart->YAxis(0)->SetTitle(quantity_ == kqIntensity ? QStringLiteral("Intensity") : QStringLiteral("Absorbance"));
}

void TKineticsWindow::FitYAxis() {
  TiPlotAxis* y = Chart->YAxis(0);
  // A user who scrolled or zoomed the axis has paused its tracking: the range is then theirs.
  if (!yAny_ || !y->TrackingEnabled()) return;
  double span = yHigh_ - yLow_;
  if (!(span > 0)) span = std::max(std::fabs(yHigh_) * 0.1, 0.01);
  const double room = span * 0.05;
  const double min = yLow_ - room;
  const double total = span + 2 * room;
  if (y->Min() != min || y->Span() != total) y->SetMinSpan(min, total);
}

void TKineticsWindow::FlushLog(QStringList& messages) {
  if (!Chart->LoggingActive()) return;
  // Every frame's row goes to the file at once: one append of a short line per frame costs far
  // less than a frame, and a run of hours that ends by a crash or a power cut keeps every row
  // up to the last frame.
  try {
    Chart->LogFlush();
  } catch (const std::exception& e) {
    // The chart has ended the log; the chart goes on without it.
    messages << QStringLiteral("Logging stopped: %1").arg(ErrorMessage(e));
  }
}

void TKineticsWindow::LogToFile() {
  TSaveDialogOptions options;
  options.Title = QStringLiteral("Log Kinetics to File");
  options.Filter = QStringLiteral("Text files (*.txt) | *.txt | All files (*.*) | *.*");
  options.DefaultExt = QStringLiteral("txt");
  options.FileName = QStringLiteral("kinetics.txt");
  options.OverwritePrompt = true;
  QString fileName;
  if (!Dialogs().ExecuteSave(options, fileName)) return;
  StartLog(fileName);
}

bool TKineticsWindow::StartLog(const QString& fileName) {
  if (Chart->LoggingActive()) {
    ShowMessage(QStringLiteral("Already logging to \"%1\": stop logging first.").arg(logFileName_));
    return false;
  }
  try {
    Chart->SetDataFileColumnSeparator(ipdfcsTab);
    Chart->SetDataFileFormat(ipdffText);
    Chart->SetLogFileName(fileName);
    Chart->StartLogging(false);
  } catch (const std::exception& e) {
    ShowStatus();
    ShowMessage(QStringLiteral("Logging could not start: %1").arg(ErrorMessage(e)));
    return false;
  }
  logFileName_ = fileName;
  ShowStatus();
  return true;
}

bool TKineticsWindow::StopLog() {
  if (!Chart->LoggingActive()) return false;
  QStringList messages;
  const bool ok = EndLog(messages);
  ShowStatus();
  for (const QString& m : messages) ShowMessage(m);
  return ok;
}

bool TKineticsWindow::EndLog(QStringList& messages) {
  try {
    Chart->StopLogging();
  } catch (const std::exception& e) {
    // The chart has ended the log all the same; the rows it could not write are named.
    messages << QStringLiteral("Logging stopped: %1").arg(ErrorMessage(e));
    return false;
  }
  return true;
}

void TKineticsWindow::ShowStatus() {
  const bool logging = Chart->LoggingActive();
  LogButton->setEnabled(!logging);
  StopLogButton->setEnabled(logging);
  ApplyButton->setEnabled(!logging);
  QString text = QStringLiteral("%1 frames").arg(FrameCount());
  if (started_) text += QStringLiteral(", %1 s").arg(FormatFixed(lastX_, 1));
  text += logging ? QStringLiteral("; logging to %1").arg(logFileName_) : QStringLiteral("; not logging");
  Status->setText(text);
}
