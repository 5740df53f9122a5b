#pragma once
// Peak labels as annotations on a chart: the calibration dialog's matched lines and the main
// chart's "Label Peaks".
#include <QString>
#include <span>
#include <vector>

#include "platform/Graphics.h"

class TiXYPlot;

// Label colours that read on the spectrum chart's black data view.
inline constexpr TColor kLabelColor = RGB(255, 255, 0);
inline constexpr TColor kSaturatedLabelColor = RGB(255, 96, 96);
inline constexpr TColor kPeakMarkColor = RGB(170, 170, 170);

struct TPeakLabel {
  double X = 0, Y = 0;  // in the channel's axes
  QString Text;
  TColor Color = kLabelColor;
};

// Annotations this code adds carry this name prefix, so that they can be taken away again
// without touching annotations the user made.
inline constexpr const char* kPeakLabelName = "Peak label";

// One text annotation per label, pinned to the channel's axes, just above its point.
void AddPeakLabels(TiXYPlot& chart, const QString& channelName, const std::vector<TPeakLabel>& labels);
// Removes every annotation whose name starts with `prefix`.
void RemoveNamedAnnotations(TiXYPlot& chart, const QString& prefix);

// Labels for a plotted intensity trace: its most prominent peaks (at most maxLabels, ordered by
// x), placed at (x[row], y[row]) and labelled with the wavelength of the peak's centre; peaks
// over clipped rows (optional, one flag per row) in the saturated colour.
std::vector<TPeakLabel> TraceLabels(std::span<const double> x, std::span<const double> y,
                                    std::span<const double> wavelength, int maxLabels,
                                    std::span<const unsigned char> clipped = {});
