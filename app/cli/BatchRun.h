#pragma once
// The command line's work without a window: the window's own computation, plot and writers,
// over one or many samples against one reference.
#include "app/cli/CommandLine.h"

class TiXYPlot;

// Runs the options (State Run of ParseCommandLine). Needs a QApplication when the options draw
// the chart (a widget, never shown), a QCoreApplication otherwise. Messages go to standard error one line each, the lamp fit to
// standard output. Returns the exit status.
int RunCommandLine(const TCliOptions& options);

// The chart's pictures. Each raises EiError when the picture cannot be made and EInOutError
// naming the file when it cannot be written; a failure leaves no partial file.
void WriteChartPng(TiXYPlot& chart, const QString& fileName);
void WriteChartSvg(TiXYPlot& chart, const QString& fileName);
void WriteChartPdf(TiXYPlot& chart, const QString& fileName);
