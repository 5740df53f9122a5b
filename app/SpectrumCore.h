#pragma once
// The plot-and-export core that the window and the command line share: the computation of
// "Make Plot", the plot itself with its note on clipped pixels, and the spectrum the JCAMP-DX
// file holds. Pictures are passed as pointers: null for a side that is not loaded.
#include <QString>
#include <vector>

#include "app/PlotAssembly.h"
#include "app/SpectrumRecord.h"
#include "app/Transmittance.h"
#include "platform/Jpeg.h"

class TBitmap;
class TiXYPlot;

// Whether a trace shows the sample's or the reference's photograph.
inline bool UsesSample(TPlotTrace trace) { return trace != ptReferenceIntensity; }
inline bool UsesReference(TPlotTrace trace) { return trace != ptSampleIntensity; }

// Extracts every loaded picture into its record and, with both loaded, the transmittance into
// `result`. Messages go through the platform's message box, as the steps give them.
// A side marked as extracted already holds the profile of its picture (a still photograph beside
// a live side): it is not extracted again.
void ComputeSpectra(const TBitmap* samplePicture, TSpectrumRecord& sample, const TBitmap* referencePicture,
                    TSpectrumRecord& reference, TTransmittanceResult& result, bool sampleExtracted = false,
                    bool referenceExtracted = false);

// The warning about clipped pixels in the marked bands that the trace uses; empty when none.
QString SaturationNoteText(TPlotTrace trace, const TBitmap* samplePicture, const TSpectrumRecord& sample,
                           const TBitmap* referencePicture, const TSpectrumRecord& reference);
// One side's words in that note ("sample red 3 rows, blue 1 row"); empty when its band has no
// clipped pixel. A batch words its one reference once.
QString SaturationPart(bool isSample, const TBitmap& picture, const TSpectrumRecord& record);
// The same words from the band's clipped rows found already.
QString SaturationPart(bool isSample, const TBandClipping& clipping);
// The note from the sides' words, empty ones left out; empty when both are.
QString SaturationNoteFromParts(const QString& samplePart, const QString& referencePart);
// Replaces the chart's saturation note by `text` (none when empty).
void ShowSaturationNote(TiXYPlot& chart, const QString& text);

// The plot as the window makes it: AssemblePlot, then the saturation note (from SaturationNoteText).
void PlotSpectra(TiXYPlot& chart, const TPlotRequest& request, const TSpectrumRecord& sample,
                 const TSpectrumRecord& reference, const TTransmittanceResult& result, const QString& note);

// The message for a file that is no JPEG photograph.
inline constexpr const char* kNotJpegMessage = "When is a JPG not a JPG?";
// Reads a photograph as the picture panes take it for a spectrum: JPEG only. False, with the
// message the window shows, for a file that cannot be read or is no JPEG picture.
// `rows` chooses the rows a reader needs (see LoadPictureFile); the others are left black.
bool LoadSpectrumPicture(const QString& fileName, TBitmap& picture, QString& message, const TJpegRowChoice& rows = {});

// One plotted curve: what its values are and the points in plotting order.
struct TSpectrumCurve {
  QString Title;       // the channel's title
  bool Wavelength;     // X in nanometres; else the pixel number
  QString YUnits;      // "ARBITRARY UNITS", "TRANSMITTANCE", "ABSORBANCE"
  std::vector<double> X, Y;
};

// The curves a spectrum file holds for a trace: the total intensity of each shown side, or the
// transmittance or absorbance against wavelength. Empty when a picture the trace needs is not
// loaded or the sides leave nothing to plot.
std::vector<TSpectrumCurve> SpectrumCurves(const TPlotRequest& request, const TSpectrumRecord& sample,
                                           const TSpectrumRecord& reference, const TTransmittanceResult& result);
