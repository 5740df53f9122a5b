#pragma once
// Filling the main window's chart with the chosen trace against the chosen abscissa, from the
// extracted profiles and the transmittance result.
#include <QString>

#include "app/SpectrumRecord.h"
#include "app/Transmittance.h"

class TiXYPlot;
class TiPlotAxis;

// The items of "Plot Trace Selection" and "Abscissa Selection", by index.
enum TPlotTrace : int { ptSampleIntensity, ptReferenceIntensity, ptBothIntensities, ptTransmittance, ptAbsorbance };
enum TPlotAbscissa : int { paPixelNumber, paWavelength };

struct TPlotRequest {
  TPlotTrace Trace = ptSampleIntensity;
  TPlotAbscissa Abscissa = paPixelNumber;
  bool SampleLoaded = false;
  bool ReferenceLoaded = false;
};

// The span of the intensity axis: e raised to the integer next above ln M, rounded to a whole
// number, M being the largest total of both profiles. Pictures too dark to give a total of 1
// count as M = 1 (span 1), so the axis never gets the logarithm of 0.
double IntensitySpan(const TSpectrumRecord& sample, const TSpectrumRecord& reference);

// Both ends of a side at one point: the side is not marked and gives no range to plot.
bool EndsCoincide(const TSpectrumRecord& record);

// Sets the X axis's title and range for the abscissa. False, after its message, when the
// calibration leaves no range to show.
bool SetAbscissa(TiPlotAxis& xAxis, TPlotAbscissa abscissa, const TSpectrumRecord& sample,
                 const TSpectrumRecord& reference);

// The plot once the profiles and the result are up to date: abscissa, intensity scale, empty
// channels, their titles and visibility, the legend and the points. Stops silently, after the
// abscissa has been set, when a picture the trace needs is not loaded; the chart then keeps its
// previous curves. Raises the framework's error when the chart lacks one of its objects.
void AssemblePlot(TiXYPlot& chart, const TPlotRequest& request, const TSpectrumRecord& sample,
                  const TSpectrumRecord& reference, const TTransmittanceResult& result);

inline constexpr const char* kNoPixelRangeMessage =
    "Scale parameters must allow a finite range of pixels or wavelengths to be displayed.  Please assign spectral range.";
inline constexpr const char* kNoWavelengthRangeMessage = "Maximum and minimum wavelengths must be different.";
