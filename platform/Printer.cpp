#include "platform/Printer.h"

#include <QPainter>
#include <QPrinter>

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

void TPrinter::BeginDoc() {
  QtPrinter().setDocName(Title);
  painter_ = std::make_unique<QPainter>();
  printing_ = painter_->begin(&QtPrinter());
}

void TPrinter::EndDoc() {
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  printing_ = false;
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
