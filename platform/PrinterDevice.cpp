#include "platform/PrinterDevice.h"

#include "platform/TextFile.h"  // EInOutError

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
  const QSizeF inches = layout.pageSize().size(QPageSize::Inch);
  m.PaperWidth = inches.width();
  m.PaperHeight = inches.height();
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
  const QString partial = printer.PartialFile();
  printer.Abort();
  // A PDF engine finishes the file even when aborted; a failed print must not look like one.
  if (!partial.isEmpty()) QFile::remove(partial);
}

namespace {
// The PDF writer ends a complete document with its end-of-file mark; a full disk or a size
// limit cuts it off, and Qt's painter still reports success.
bool CompletePdf(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
  file.seek(std::max<qint64>(0, file.size() - 64));
  return file.readAll().contains("%%EOF");
}
}  // namespace

bool FinishPrinting(TPrinter& printer) {
  const QString target = printer.TargetFile(), partial = printer.PartialFile();
  bool finished = true;
  if (QPainter* painter = printer.Painter(); painter && painter->isActive()) finished = painter->end();
  printer.EndDoc();
  if (partial.isEmpty()) return finished;
  if (!finished || !CompletePdf(partial)) {
    QFile::remove(partial);
    // Qt's PDF writer keeps a failed stream's state and would write nothing the next time.
    printer.RenewDevice();
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". The document could not be written completely (is the disk full?).").arg(target), EIO);
  }
  if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
    const int error = errno;
    QFile::remove(partial);
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(target, QString::fromLocal8Bit(std::strerror(error))), error);
  }
  return true;
}
