#pragma once
// Paper sizes by the platform's paper-size number.

struct TiPaperSize {
  double Width = 8.5;   // inches
  double Height = 11.0;
};

// The published size of paper-size numbers 3 to 68; every other number (1 and 2 included, and
// the reserved 48 and 49) is Letter, 8.5 x 11 inches.
TiPaperSize PaperSizeInches(int code);

// The current printer's paper in inches (the device's page size, or the table's size of its
// number), width and height exchanged in landscape.
struct TPrinterMetrics;
TiPaperSize PrinterPaperSize(const TPrinterMetrics& metrics);

// The five sizes the print preview offers, by position in its list: Letter, Legal, A3, A4, A5.
inline constexpr int kPreviewPaperCodes[5] = {1, 5, 8, 9, 11};
