#pragma once
// The program's command line: which options there are, what they hold, and the usage text.
#include <QSize>
#include <QString>
#include <QStringList>

#include "app/PlotAssembly.h"

// Exit statuses of a run without a window.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;  // an input was refused or an output could not be written
inline constexpr int kExitUsage = 2;

enum TCalibrateSide : int { csSample, csReference, csBoth };

struct TCliOptions {
  QString Workspace;
  QStringList Samples;
  QString Reference;
  // The values as typed, checked later against the pictures as the boxes check them; empty when
  // not given. Ends hold four fields, wavelengths two.
  QStringList SampleEnds, ReferenceEnds, SampleWavelengths, ReferenceWavelengths;
  QString Band;
  bool TraceGiven = false, AbscissaGiven = false;
  TPlotTrace Trace = ptSampleIntensity;
  TPlotAbscissa Abscissa = paPixelNumber;
  QString CalibrateLamp;
  int Lamp = 0;       // index into the built-in line lists: 0 fluorescent, 1 neon
  int FitDegree = 1;  // 1 linear, 2 quadratic
  TCalibrateSide CalibrateSide = csBoth;
  QString Csv, Jcamp, Png, Svg, Pdf;
  QSize Size;  // invalid: the window's chart size
  bool Json = false;
  // Worker threads for a batch; 0 takes one per core. Not an option: benchmarks set it.
  int Threads = 0;

  // Writes a file or prints a fit, and so runs without a window.
  bool HasOutput() const;
  // Writes a picture of the chart, and so needs the GUI application (on the offscreen platform).
  bool DrawsChart() const { return !Png.isEmpty() || !Svg.isEmpty() || !Pdf.isEmpty(); }
  // The file outputs, by option name, for the {name} rule.
  QList<QPair<QString, QString>> FileOutputs() const;
};

struct TCliParse {
  enum TState { Run, Window, Help, Version, UsageError };
  TState State = Window;
  QString Error;  // for UsageError: one line
  TCliOptions Options;
};

// Parses the arguments (without the program name).
TCliParse ParseCommandLine(const QStringList& arguments);

// The usage text: the synopsis, then one line per option, then the exit statuses.
QString UsageText();

// The placeholder in output names that takes each sample's base name.
inline constexpr const char* kNamePlaceholder = "{name}";
