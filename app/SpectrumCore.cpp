#include "app/SpectrumCore.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "app/calibration/Calibration.h"
#include "app/calibration/PeakLabels.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "platform/Bitmap.h"
#include "platform/Picture.h"

namespace {
const char* const kSaturationName = "Saturation warning";
}  // namespace

void ComputeSpectra(const TBitmap* samplePicture, TSpectrumRecord& sample, const TBitmap* referencePicture,
                    TSpectrumRecord& reference, TTransmittanceResult& result, bool sampleExtracted,
                    bool referenceExtracted) {
  if (samplePicture && !sampleExtracted) ExtractSpectrum(*samplePicture, sample);
  if (referencePicture && !referenceExtracted) ExtractSpectrum(*referencePicture, reference);
  if (samplePicture && referencePicture) ComputeTransmittance(sample, reference, result);
}

QString SaturationPart(bool isSample, const TBitmap& picture, const TSpectrumRecord& record) {
  return SaturationPart(isSample, BandClipping(picture, record));
}

QString SaturationPart(bool isSample, const TBandClipping& c) {
  if (!c.Any()) return {};
  QStringList colours;
  const auto rows = [](const char* colour, int n) {
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(colour)).arg(n).arg(n == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
  };
  if (c.RedRows) colours << rows("red", c.RedRows);
  if (c.GreenRows) colours << rows("green", c.GreenRows);
  if (c.BlueRows) colours << rows("blue", c.BlueRows);
  return QStringLiteral("%1 %2").arg(isSample ? QStringLiteral("sample") : QStringLiteral("reference"),
                                     colours.join(QStringLiteral(", ")));
}

QString SaturationNoteFromParts(const QString& samplePart, const QString& referencePart) {
  QStringList parts;
  for (const QString& p : {samplePart, referencePart})
    if (!p.isEmpty()) parts << p;
  if (parts.isEmpty()) return {};
  return QStringLiteral("Saturated (clipped) pixels in the band: %1").arg(parts.join(QStringLiteral("; ")));
}

QString SaturationNoteText(TPlotTrace trace, const TBitmap* samplePicture, const TSpectrumRecord& sample,
                           const TBitmap* referencePicture, const TSpectrumRecord& reference) {
  return SaturationNoteFromParts(
      UsesSample(trace) && samplePicture ? SaturationPart(true, *samplePicture, sample) : QString(),
      UsesReference(trace) && referencePicture ? SaturationPart(false, *referencePicture, reference) : QString());
}

void ShowSaturationNote(TiXYPlot& chart, const QString& text) {
  RemoveNamedAnnotations(chart, QString::fromLatin1(kSaturationName));
  if (text.isEmpty()) return;
  TiPlotAnnotation* a = chart.Annotation(chart.AddAnnotation());
  a->SetName(QString::fromLatin1(kSaturationName));
  a->SetStyle(ipasText);
  a->SetX(50);
  a->SetY(96);
  a->SetText(text);
  a->Font()->SetColor(kSaturatedLabelColor);
}

void PlotSpectra(TiXYPlot& chart, const TPlotRequest& request, const TSpectrumRecord& sample,
                 const TSpectrumRecord& reference, const TTransmittanceResult& result, const QString& note) {
  AssemblePlot(chart, request, sample, reference, result);
  ShowSaturationNote(chart, note);
}

bool LoadSpectrumPicture(const QString& fileName, TBitmap& picture, QString& message, const TJpegRowChoice& rows) {
  try {
    TPicture loaded = LoadPictureFile(fileName, rows);
    if (loaded.Kind == pkJpeg) {
      picture = loaded.Bitmap;
      return true;
    }
  } catch (const EInvalidGraphic&) {
  } catch (const EInOutError& e) {
    message = e.Message;
    return false;
  } catch (const EPictureError& e) {
    message = e.Message;
    return false;
  }
  message = QString::fromLatin1(kNotJpegMessage);
  return false;
}

std::vector<TSpectrumCurve> SpectrumCurves(const TPlotRequest& request, const TSpectrumRecord& sample,
                                           const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  const TPlotTrace trace = request.Trace;
  std::vector<TSpectrumCurve> curves;
  if ((UsesSample(trace) && !request.SampleLoaded) || (UsesReference(trace) && !request.ReferenceLoaded)) return curves;
  if (trace >= ptTransmittance) {
    // As on the chart: against wavelength whichever abscissa is chosen, nothing for an unmarked side.
    if (EndsCoincide(sample) || EndsCoincide(reference)) return curves;
    const bool t = trace == ptTransmittance;
    TSpectrumCurve c{t ? QStringLiteral("Transmittance") : QStringLiteral("Absorbance"), true,
                     t ? QStringLiteral("TRANSMITTANCE") : QStringLiteral("ABSORBANCE"), {}, {}};
    const std::vector<double>& values = t ? result.Transmittance : result.Absorbance;
    const int points = ResultPoints(result);
    for (int n = 0; n < points; ++n) {
      c.X.push_back(result.Wavelength[static_cast<std::size_t>(n)]);
      c.Y.push_back(values[static_cast<std::size_t>(n)]);
    }
    curves.push_back(std::move(c));
    return curves;
  }
  const bool wavelength = request.Abscissa == paWavelength;
  // The axis the chart could not range shows no curves.
  if (!wavelength && (EndsCoincide(sample) || EndsCoincide(reference))) return curves;
  const double span = std::max(sample.RedWavelength, reference.RedWavelength) -
                      std::min(sample.BlueWavelength, reference.BlueWavelength);
  if (wavelength && !(span >= 0.1 && std::isfinite(span))) return curves;
  const auto add = [&](const TSpectrumRecord& r, const QString& title) {
    TSpectrumCurve c{title, wavelength, QStringLiteral("ARBITRARY UNITS"), {}, {}};
    const int rows = ProfileRows(r);
    for (int i = 0; i < rows; ++i) {
      c.X.push_back(wavelength ? r.Wavelength[static_cast<std::size_t>(i)] : static_cast<double>(i));
      c.Y.push_back(r.TotalSum[static_cast<std::size_t>(i)]);
    }
    curves.push_back(std::move(c));
  };
  const bool both = trace == ptBothIntensities;
  if (UsesSample(trace)) add(sample, both ? QStringLiteral("Sample Total Intensity") : QStringLiteral("Sample Intensity"));
  if (UsesReference(trace))
    add(reference, both ? QStringLiteral("Reference Total Intensity") : QStringLiteral("Reference Intensity"));
  return curves;
}
