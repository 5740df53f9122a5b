#pragma once
// Where the chart goes on a printed page and on the preview's sheet.
#include "chart/output/rUdudPaperSizes.h"
#include "platform/Geometry.h"
#include "platform/PrinterDevice.h"

struct TiPrintMargins {
  double Left = 1.0, Top = 1.0, Right = 1.0, Bottom = 1.0;  // inches
};

// The rectangle on the printer page (device pixels from the printable area's corner, right and
// bottom excluded) that a chart of width x height fills: scaled by the smaller of the two factors
// that fit it between the margins of the paper (already turned to the printer's orientation).
// Raises EiError when the chart has no area or the margins leave no room.
TRect PrintTargetRect(const TPrinterMetrics& metrics, const TiPaperSize& paper, const TiPrintMargins& margins, int width,
                      int height);

// The preview's drawing of one page inside its paint area.
struct TiPreviewGeometry {
  TRect Sheet;            // the white sheet (right and bottom excluded)
  TRect Shadow;           // the black shadow behind it
  int PixelsPerInch = 0;  // of the sheet as drawn
  TSize Printable;        // the sheet inside the margins
  bool HasPicture = false;
  TRect Picture;          // where the chart picture is drawn, when HasPicture
};

// paper: in inches, already turned to the preview's orientation; picture: the chart's size.
TiPreviewGeometry PreviewGeometry(int areaWidth, int areaHeight, const TiPaperSize& paper, const TiPrintMargins& margins,
                                  int pictureWidth, int pictureHeight);
