#include "app/calibration/PeakLabels.h"

#include <algorithm>
#include <cmath>

#include "app/calibration/Peaks.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"

void AddPeakLabels(TiXYPlot& chart, const QString& channelName, const std::vector<TPeakLabel>& labels) {
  int n = 0;
  for (const TPeakLabel& l : labels) {
    if (!std::isfinite(l.X) || !std::isfinite(l.Y)) continue;
    TiPlotAnnotation* a = chart.Annotation(chart.AddAnnotation());
    a->SetName(QStringLiteral("%1 %2").arg(QLatin1String(kPeakLabelName)).arg(++n));
    a->SetStyle(ipasText);
    a->SetReference(iprtChannel);
    a->SetChannelName(channelName);
    a->SetX(l.X);
    a->SetY(l.Y);
    a->SetText(l.Text);
    a->SetTextVertAlignment(iavBottom);  // the text stands on the peak
    a->SetTextVertMargin(0.3);
    a->Font()->SetColor(l.Color);
  }
}

void RemoveNamedAnnotations(TiXYPlot& chart, const QString& prefix) {
  for (int i = chart.AnnotationCount() - 1; i >= 0; --i)
    if (chart.Annotation(i)->Name().startsWith(prefix)) chart.DeleteAnnotation(i);
}

std::vector<TPeakLabel> TraceLabels(std::span<const double> x, std::span<const double> y,
                                    std::span<const double> wavelength, int maxLabels,
                                    std::span<const unsigned char> clipped) {
  std::vector<TPeakLabel> out;
  const std::size_t n = std::min({x.size(), y.size(), wavelength.size()});
  if (n < 3 || maxLabels <= 0) return out;
  TPeakOptions options;
  options.MaxPeaks = maxLabels;
  for (const TPeak& p : FindPeaks(y.first(n), options, clipped.size() >= n ? clipped.first(n) : clipped)) {
    const int lo = std::clamp(static_cast<int>(std::floor(p.Centre)), 0, static_cast<int>(n) - 1);
    const int hi = std::min(lo + 1, static_cast<int>(n) - 1);
    const double f = p.Centre - lo;
    const double w = wavelength[lo] + (wavelength[hi] - wavelength[lo]) * f;
    TPeakLabel l;
    l.X = x[lo] + (x[hi] - x[lo]) * f;
    l.Y = y[p.Top];
    l.Text = QString::number(w, 'f', 1);
    l.Color = p.Saturated ? kSaturatedLabelColor : kLabelColor;
    out.push_back(l);
  }
  return out;
}
