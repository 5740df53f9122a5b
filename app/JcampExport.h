#pragma once
// The plotted spectrum as JCAMP-DX 5.01 text, the interchange format spectroscopy programs read.
#include <QByteArray>
#include <QString>
#include <vector>

#include "app/SpectrumCore.h"

inline constexpr const char* kJcampDefaultExt = "jdx";
inline constexpr const char* kJcampNoPlotMessage = "There is no plotted spectrum to save.  Please make a plot first.";

// One curve gives one spectrum block; two (both intensities) give a LINK file holding a block
// each. X and Y are written as they are (XFACTOR and YFACTOR 1) as pairs, one per line, since
// the X steps are not even in general; a value that is not finite is written as "?". Lines end
// with CR LF.
QByteArray JcampText(const std::vector<TSpectrumCurve>& curves, const QString& title);
