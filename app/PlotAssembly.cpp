#include "app/PlotAssembly.h"

#include <algorithm>
#include <cmath>

#include "app/ChartSetup.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Dialogs.h"

double IntensitySpan(const TSpectrumRecord& sample, const TSpectrumRecord& reference) {
  double m = 0;
  for (const TSpectrumRecord* r : {&sample, &reference})
    for (int i = 0; i < ProfileRows(*r); ++i)
      if (std::isfinite(r->TotalSum[i])) m = std::max(m, r->TotalSum[i]);
  m = std::max(m, 1.0);
  return static_cast<double>(RoundEven(std::exp(static_cast<double>(RoundEven(std::log(m) + 0.5)))));
}

bool EndsCoincide(const TSpectrumRecord& r) { return r.BlueX == r.RedX && r.BlueY == r.RedY; }

bool SetAbscissa(TiPlotAxis& xAxis, TPlotAbscissa abscissa, const TSpectrumRecord& sample,
                 const TSpectrumRecord& reference) {
  if (abscissa == paPixelNumber) {
    xAxis.SetTitle(QStringLiteral("Pixel"));
    if (EndsCoincide(reference) || EndsCoincide(sample)) {
      ShowMessage(QString::fromLatin1(kNoPixelRangeMessage));
      xAxis.SetMin(0);
      xAxis.SetSpan(100);
      xAxis.SetDesiredIncrement(20);
      xAxis.SetTitleShow(false);
      return false;
    }
    const auto length = [](const TSpectrumRecord& r) {
      return static_cast<double>(RoundEven(PixelDistance(r.BlueX, r.BlueY, r.RedX, r.RedY)));
    };
    const double pixels = std::max(length(sample), length(reference));
    xAxis.SetMin(0);
    xAxis.SetSpan(pixels);
    xAxis.SetDesiredIncrement(pixels / 5);
    return true;
  }
  xAxis.SetTitle(QStringLiteral("Wavelength (nm)"));
  const double lo = std::min(sample.BlueWavelength, reference.BlueWavelength);
  const double hi = std::max(sample.RedWavelength, reference.RedWavelength);
  // A reversed range (red below blue, possible when a box was left for a menu command without
  // its check) or one beyond the numbers would give the axis no sound span either.
  if (!(hi - lo >= 0.1) || !std::isfinite(hi - lo)) {
    ShowMessage(QString::fromLatin1(kNoWavelengthRangeMessage));
    return false;
  }
  xAxis.SetMin(lo);
  xAxis.SetSpan(hi - lo);
  xAxis.SetDesiredIncrement((hi - lo) / 5);
  return true;
}

namespace {
// Channels 0 to 3 carry the sample's red, green, blue and total sums, 4 to 7 the reference's.
constexpr int kReferenceFirst = 4;

void Show(TiXYPlotChannel* channel, bool visible, bool inLegend) {
  channel->SetVisible(visible);
  channel->SetVisibleInLegend(inLegend);
}

void SetTitles(TiXYPlot& chart, int first, std::initializer_list<const char*> titles) {
  int i = first;
  for (const char* title : titles) chart.Channel(i++)->SetTitleText(QString::fromLatin1(title));
}

// Titles and visibility of the channels, the legend and the intensity axis's title by trace.
void ShowTraces(TiXYPlot& chart, TPlotTrace trace) {
  TiPlotAxis* yAxis = chart.YAxis(0);
  switch (trace) {
    case ptSampleIntensity:
    case ptReferenceIntensity: {
      const bool sample = trace == ptSampleIntensity;
      if (sample)
        SetTitles(chart, 0, {"Sample Red I", "Sample Green I", "Sample Blue I", "Sample Intensity"});
      else
        SetTitles(chart, kReferenceFirst, {"Reference Red I", "Reference Green I", "Reference Blue I", "Reference Intensity"});
      const int shown = sample ? 0 : kReferenceFirst, hidden = sample ? kReferenceFirst : 0;
      for (int i = 0; i < kReferenceFirst; ++i) {
        Show(chart.Channel(shown + i), true, true);
        Show(chart.Channel(hidden + i), false, false);
      }
      break;
    }
    case ptBothIntensities:
      // The lower-case i of two titles is as the program has always written them.
      SetTitles(chart, 0, {"Sample Red I", "Sample Green I", "Sample Blue i", "Sample Total Intensity"});
      SetTitles(chart, kReferenceFirst, {"Reference Red I", "Reference Green I", "Reference Blue i", "Reference Total Intensity"});
      for (int i = 0; i < kPlotChannelCount; ++i) Show(chart.Channel(i), true, true);
      break;
    case ptTransmittance:
    case ptAbsorbance: {
      Show(chart.Channel(0), true, false);
      for (int i = 1; i < kPlotChannelCount; ++i) Show(chart.Channel(i), false, false);
      yAxis->SetMin(0);
      yAxis->SetSpan(trace == ptTransmittance ? 1 : 2);
      chart.Legend(0)->SetVisible(false);
      break;
    }
  }
  const char* yTitle = trace == ptTransmittance ? "Transmittance" : trace == ptAbsorbance ? "Absorbance" : "Intensity";
  yAxis->SetTitle(QString::fromLatin1(yTitle));
  yAxis->SetTitleShow(true);
}

// One profile into four channels, row by row: red, green, blue, total.
void AddProfile(TiXYPlot& chart, int first, const TSpectrumRecord& r, TPlotAbscissa abscissa) {
  TiXYPlotChannel* channels[4] = {chart.Channel(first), chart.Channel(first + 1), chart.Channel(first + 2),
                                  chart.Channel(first + 3)};
  const int rows = ProfileRows(r);
  for (int i = 0; i < rows; ++i) {
    const double x = abscissa == paPixelNumber ? static_cast<double>(i) : r.Wavelength[i];
    channels[0]->AddXY(x, r.RedSum[i]);
    channels[1]->AddXY(x, r.GreenSum[i]);
    channels[2]->AddXY(x, r.BlueSum[i]);
    channels[3]->AddXY(x, r.TotalSum[i]);
  }
}

void AddPoints(TiXYPlot& chart, TPlotTrace trace, TPlotAbscissa abscissa, const TSpectrumRecord& sample,
               const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  if (trace == ptSampleIntensity || trace == ptBothIntensities) AddProfile(chart, 0, sample, abscissa);
  if (trace == ptReferenceIntensity || trace == ptBothIntensities) AddProfile(chart, kReferenceFirst, reference, abscissa);
  if (trace == ptTransmittance || trace == ptAbsorbance) {
    const std::vector<double>& values = trace == ptTransmittance ? result.Transmittance : result.Absorbance;
    TiXYPlotChannel* channel = chart.Channel(0);
    const int points = ResultPoints(result);
    for (int n = 0; n < points; ++n) channel->AddXY(result.Wavelength[n], values[n]);
  }
}
}  // namespace

namespace {
void Assemble(TiXYPlot& chart, const TPlotRequest& request, const TSpectrumRecord& sample,
              const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  const TPlotTrace trace = request.Trace;
  // An unmarked picture gives no ratio to plot: without this, the result's single point would
  // be plotted silently.
  if (trace >= ptTransmittance && (EndsCoincide(sample) || EndsCoincide(reference))) {
    ShowMessage(QString::fromLatin1(kNoPixelRangeMessage));
    return;
  }
  // Transmittance and absorbance exist only against wavelength: their axis is a wavelength axis
  // whichever abscissa is chosen, so that its title and range fit the curve.
  const TPlotAbscissa abscissa = trace >= ptTransmittance ? paWavelength : request.Abscissa;
  TiPlotAxis* xAxis = chart.XAxis(0);
  const bool ranged = SetAbscissa(*xAxis, abscissa, sample, reference);

  const bool needsSample = trace != ptReferenceIntensity, needsReference = trace != ptSampleIntensity;
  if (!ranged || (needsSample && !request.SampleLoaded) || (needsReference && !request.ReferenceLoaded)) return;
  xAxis->SetTitleShow(true);

  if (trace <= ptBothIntensities) chart.YAxis(0)->SetSpan(IntensitySpan(sample, reference));

  for (int i = 0; i < kPlotChannelCount; ++i) {
    TiXYPlotChannel* channel = chart.Channel(i);
    if (channel->Count() > 0) channel->DeleteFirst(channel->Count());
  }
  chart.Legend(0)->SetVisible(true);
  ShowTraces(chart, trace);
  AddPoints(chart, trace, abscissa, sample, reference, result);
}
}  // namespace

void AssemblePlot(TiXYPlot& chart, const TPlotRequest& request, const TSpectrumRecord& sample,
                  const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  Assemble(chart, request, sample, reference, result);
  // The ranges just set are the ones that resuming tracking brings back, also when tracking
  // was paused (by the cursor button, a zoom or an axis drag) before the plot.
  chart.XAxis(0)->UpdateResumeValues();
  chart.YAxis(0)->UpdateResumeValues();
}
