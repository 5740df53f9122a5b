#include "platform/PrinterDevice.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

bool SelectPrinterByName(TPrinter& printer, const QString& name) {
  const QString wanted = name.trimmed();
  if (wanted.isEmpty()) return false;
  for (const QString& installed : QPrinterInfo::availablePrinterNames()) {
    if (installed.compare(wanted, Qt::CaseInsensitive) == 0) {
      printer.QtPrinter().setPrinterName(installed);
      return true;
    }
  }
  return false;
}

void SetPrinterOrientation(TPrinter& printer, TPrinterOrientation orientation) {
  printer.QtPrinter().setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

TPrinterMetrics PrinterMetrics(TPrinter& printer) {
  QPrinter& qt = printer.QtPrinter();
  TPrinterMetrics m;
  m.DpiX = qt.logicalDpiX();
  m.DpiY = qt.logicalDpiY();
  const QPageLayout layout = qt.pageLayout();
  const QRect paint = layout.paintRectPixels(qt.resolution());
  m.OffsetX = paint.left();
  m.OffsetY = paint.top();
  m.PaperCode = layout.pageSize().windowsId();
  m.Orientation = layout.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  return m;
}

bool PrinterNewPage(TPrinter& printer) {
  if (!printer.Printing()) return false;
  // A printer that only records has no painter and no device to turn the page on.
  if (!printer.Painter()) {
    printer.NewPage();
    return true;
  }
  return printer.QtPrinter().newPage();
}

void AbortPrinting(TPrinter& printer) {
  const bool toFile = printer.Printing() && printer.Painter() && !printer.QtPrinter().outputFileName().isEmpty();
  const QString fileName = toFile ? printer.QtPrinter().outputFileName() : QString();
  printer.Abort();
  // A PDF engine finishes the file even when aborted; a failed print must not look like one.
  if (toFile) QFile::remove(fileName);
}

bool FinishPrinting(TPrinter& printer) {
  bool finished = true;
  if (QPainter* painter = printer.Painter(); painter && painter->isActive()) finished = painter->end();
  printer.EndDoc();
  return finished;
}
