#include "platform/Printer.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include "platform/FileReplace.h"

namespace {
TPrinter* g_printer = nullptr;
}

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() {
  if (painter_ && painter_->isActive()) painter_->end();
}

QPrinter& TPrinter::QtPrinter() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TPrinter::RenewDevice() {
  if (!printer_ || printing_) return;
  auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const QPrinter& old = *printer_;
  fresh->setOutputFormat(old.outputFormat());
  if (old.outputFormat() == QPrinter::NativeFormat) fresh->setPrinterName(old.printerName());
  fresh->setOutputFileName(old.outputFileName());
  fresh->setPageLayout(old.pageLayout());
  fresh->setFullPage(old.fullPage());
  fresh->setCopyCount(old.copyCount());
  fresh->setCollateCopies(old.collateCopies());
  fresh->setColorMode(old.colorMode());
  fresh->setDuplex(old.duplex());
  fresh->setPageOrder(old.pageOrder());
  fresh->setDocName(old.docName());
  fresh->setCreator(old.creator());
  printer_ = std::move(fresh);
}

void TPrinter::BeginDoc() {
  QPrinter& qt = QtPrinter();
  qt.setDocName(Title);
  const QString target = qt.outputFileName();
  if (!target.isEmpty()) {
    // The document is written beside its file and renamed over it only when complete, so a
    // failed print never leaves a truncated file or destroys the old one.
    CheckReplaceableFile(target);
    QTemporaryFile partial(target + QStringLiteral(".XXXXXX.part"));
    partial.setAutoRemove(false);
    if (!partial.open())
      throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(target, partial.errorString()), 0);
    target_ = target;
    partial_ = partial.fileName();
    qt.setOutputFileName(partial_);
  }
  painter_ = std::make_unique<QPainter>();
  printing_ = painter_->begin(&qt);
  if (!printing_) {
    if (!partial_.isEmpty()) QFile::remove(partial_);
    RestoreOutputFile();
  }
}

void TPrinter::RestoreOutputFile() {
  if (!target_.isEmpty()) QtPrinter().setOutputFileName(target_);
  target_.clear();
  partial_.clear();
}

void TPrinter::EndDoc() {
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  printing_ = false;
  RestoreOutputFile();
}

void TPrinter::NewPage() {
  if (printing_) QtPrinter().newPage();
}

void TPrinter::Abort() {
  if (printing_) QtPrinter().abort();
  EndDoc();
}

TRecordingPrinter::TRecordingPrinter() : previous_(g_printer) { SetPrinter(this); }
TRecordingPrinter::~TRecordingPrinter() { SetPrinter(previous_); }
void TRecordingPrinter::BeginDoc() {
  printing_ = true;
  Pages = 1;
  LastTitle = Title;
}
void TRecordingPrinter::EndDoc() {
  if (printing_) ++Jobs;
  printing_ = false;
}
void TRecordingPrinter::NewPage() { ++Pages; }
void TRecordingPrinter::Abort() { printing_ = false; }

TPrinter& Printer() {
  static TPrinter systemPrinter;
  return g_printer ? *g_printer : systemPrinter;
}
void SetPrinter(TPrinter* printer) { g_printer = printer; }
