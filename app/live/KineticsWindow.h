#pragma once
// The kinetics view: the value of the live spectrum at up to four chosen wavelengths against the
// time since start, one point per processed frame, on a time chart whose X axis scrolls with the
// newest frame, with the chart's own text log so that a run of hours is on disk as it goes.
//
// Which curve of a frame is followed: the absorbance curve when the frame has one; else the
// transmittance curve, turned into absorbance point by point (-log10 T, as Make Plot does);
// else the first intensity curve (no reference: the trace shows intensity). A frame whose
// quantity differs from the run's (a reference was loaded or dropped) starts the run again.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "app/SpectrumCore.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TiPlot;

// What the kinetics traces show.
enum TKineticsQuantity { kqNone, kqAbsorbance, kqIntensity };

// The value of the curve (x, y) at `wavelength` by linear interpolation between the two
// neighbouring points; x may run upward or downward. NaN when `wavelength` lies outside the
// curve's range or the curve has no points; at a point's own x, that point's y.
double KineticsValueAt(const std::vector<double>& x, const std::vector<double>& y, double wavelength);

// The curve a frame offers for kinetics and what its values are (kqNone and nullptr: none).
const TSpectrumCurve* KineticsCurve(const std::vector<TSpectrumCurve>& curves, TKineticsQuantity& quantity);

// Reads "450, 550.5 600" (commas, semicolons or blanks between): one to four wavelengths in nm,
// each 200.0 to 999.9 with one decimal, none twice. False with the message to show.
bool ParseKineticsWavelengths(const QString& text, std::vector<double>& wavelengths, QString& message);

class TKineticsWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kMaxWavelengths = 4;
  static constexpr double kInitialSeconds = 60.0;   // the X axis's first window
  static constexpr double kScrollAfter = 3600.0;    // the X axis widens to an hour, then scrolls

  // A top-level window (parent only owns it) following 450, 550 and 650 nm.
  explicit TKineticsWindow(QWidget* parent = nullptr);
  ~TKineticsWindow() override;

  // One processed frame, on the GUI thread: `secondsSinceStart` from the live source's clock,
  // `curves` as the live plot shows them. Adds exactly one point to every channel, X the seconds
  // since the first frame of the run (never going backwards), Y the followed curve's value at
  // the channel's wavelength or NaN outside its range (a gap in the trace, an empty cell in the
  // log). A frame without a curve adds nothing; a curve against pixel number adds nothing and
  // says why once (again after a calibrated frame). While logging, the new row is written to
  // the log file at once. Throws nothing: failures are shown through the dialogs.
  void AddFrame(double secondsSinceStart, const std::vector<TSpectrumCurve>& curves);

  // "Clear": empties the traces; the next frame is time zero. A running log goes on in the same
  // file (its rows start again at 0); false only when it could not and has stopped, after a
  // message.
  bool Restart();
  // Applies the wavelengths typed (see ParseKineticsWavelengths): one channel each, titled
  // "450.0 nm"; the run starts again. Refused while logging. False after a message.
  bool SetWavelengthsText(const QString& text);
  const std::vector<double>& Wavelengths() const { return wavelengths_; }
  TKineticsQuantity Quantity() const { return quantity_; }
  // Frames taken into the traces since the run started.
  int FrameCount() const;

  // "Log to File...": asks for the file through the dialogs, then StartLog.
  void LogToFile();
  // Starts the chart's text log in `fileName` (created or emptied; header "(X)", then one
  // "<title>(Y)" column per channel, tab separated). False after a message.
  bool StartLog(const QString& fileName);
  // "Stop Logging": writes what is pending and ends the log.
  bool StopLog();
  bool Logging() const;

  // The controls, for tests and for the program that wires the window.
  TiPlot* Chart = nullptr;
  QLineEdit* WavelengthBox = nullptr;
  QPushButton* ApplyButton = nullptr;
  QPushButton* ClearButton = nullptr;
  QPushButton* LogButton = nullptr;
  QPushButton* StopLogButton = nullptr;
  QLabel* Status = nullptr;

 private:
  void TakeFrame(double secondsSinceStart, const std::vector<TSpectrumCurve>& curves);
  void BuildChannels();
  void StartRun(TKineticsQuantity quantity);
  void FitYAxis();
  void ShowYTitle();
  void ShowStatus();
  // Writes the newest row when logging; a failure ends the log and gives its message.
  void FlushLog(QStringList& messages);
  // Ends the log, writing what is pending; false (with its message) when that failed.
  bool EndLog(QStringList& messages);

  std::vector<double> wavelengths_;
  TKineticsQuantity quantity_ = kqNone;
  bool started_ = false;        // the run has its first frame (time zero)
  double startSeconds_ = 0.0;   // the caller's time of that frame
  double lastX_ = 0.0;
  double shift_ = 0.0;          // added after the caller's clock went backwards
  double yLow_ = 0.0, yHigh_ = 0.0;
  bool yAny_ = false;
  bool toldPixelAxis_ = false;
  std::vector<bool> toldOutside_;
  QString logFileName_;
  QString lastFailure_;
};
