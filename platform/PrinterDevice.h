#pragma once
// What the printing of charts asks of the printer beyond the document bracket: the choice of a
// printer by name, the orientation, and the page geometry in device pixels.
#include <QString>

#include "platform/Printer.h"

struct TPrinterMetrics {
  int DpiX = 0, DpiY = 0;          // pixels per inch (LOGPIXELSX, LOGPIXELSY)
  int OffsetX = 0, OffsetY = 0;    // printable area from the paper's corner (PHYSICALOFFSETX/Y)
  int PaperCode = 1;               // the platform's paper-size number (1 Letter, 9 A4, ...)
  // The paper in inches, portrait, as the device's page layout gives it (0 when unknown). It
  // holds for every size, those without a platform number (A6, custom sizes) too.
  double PaperWidth = 0, PaperHeight = 0;
  TPrinterOrientation Orientation = poPortrait;
};

// Makes the installed printer of this name current; the name is trimmed and its letter case
// ignored. False (and nothing changed) when no installed printer has it.
bool SelectPrinterByName(TPrinter& printer, const QString& name);
void SetPrinterOrientation(TPrinter& printer, TPrinterOrientation orientation);
TPrinterMetrics PrinterMetrics(TPrinter& printer);
// Ends the running document; false when the device could not finish it. A document for a file
// replaces the file only when it was written completely; otherwise raises EInOutError naming
// the file and leaves it as it was.
bool FinishPrinting(TPrinter& printer);
// Abandons the running document. A job written to a file leaves its file as it was.
void AbortPrinting(TPrinter& printer);
// Starts a new page of the running document; false when the device refuses.
bool PrinterNewPage(TPrinter& printer);
