// The chart component's printing: the job bracket, the page loop over the first X axis, and the
// page geometry. The chart is recorded at its screen size and replayed scaled onto the page, so
// the print keeps the screen layout and stays vector drawing.
#include <QPainter>
#include <QPicture>
#include <cmath>
#include <optional>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudPaperSizes.h"
#include "chart/output/rUdudPreview.h"
#include "chart/output/rUdudPrintGeometry.h"
#include "chart/output/rUdudPrintRange.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Dialogs.h"
#include "platform/PrinterDevice.h"

namespace {
const QString kPrintErrorPrefix = QStringLiteral("Error Printing : ");

// The chart settings printing changes and puts back, also after a failure.
struct TiPrintRestore {
  bool hasToolBars = false;
  bool toolBarsVisible = false;
  std::optional<double> rangeMin, rangeSpan;
  int width = 0, height = 0;
  int margins[4] = {};
};
}  // namespace

namespace {
// X axis 0's scale as the printed range.
template <class Axis>
class TiAxisPrintRange : public TiPlotPrintRange {
 public:
  explicit TiAxisPrintRange(Axis* axis) : axis_(axis), life_(axis) {}
  double Min() const override { return axis_->Min(); }
  double Span() const override { return axis_->Span(); }
  void SetMin(double value) override { axis_->SetMin(value); }
  void SetSpan(double value) override { axis_->SetSpan(value); }
  bool Gone() const override { return life_.Gone(); }

 private:
  Axis* axis_;
  TiPlotLifeGuard life_;
};

template <class Axis>
std::unique_ptr<TiPlotPrintRange> AxisPrintRange(Axis* axis) {
  // Until the axis class offers its scale (Min and Span) there is nothing to step: one page.
  if constexpr (requires(Axis* a) {
                  a->Min();
                  a->Span();
                  a->SetMin(0.0);
                  a->SetSpan(0.0);
                })
    return std::make_unique<TiAxisPrintRange<Axis>>(axis);
  else
    return nullptr;
}
}  // namespace

std::unique_ptr<TiPlotPrintRange> TiPlotComponent::PrintRange() {
  // A chart without an X axis prints as it stands, on one page.
  if (XAxisCount() == 0) return nullptr;
  return AxisPrintRange(XAxis(0));
}

void TiPlotComponent::PrintChart() {
  TPrinter& printer = Printer();
  bool updating = false;
  std::exception_ptr failure;
  try {
    if (printer.Printing()) printer.EndDoc();
    SetPrinterOrientation(printer, printOrientation_);
    printer.Title = printDocumentName_;
    if (printShowDialog_ && !Dialogs().ExecutePrint()) return;
    BeginUpdate();
    updating = true;
    std::unique_ptr<TiPlotPrintRange> range = PrintRange();
    const double start = range ? range->Min() : 0.0;
    const double end = range ? range->Max() : 0.0;

    // ---- the pages ----
    if (!printerName_.trimmed().isEmpty()) SelectPrinterByName(printer, printerName_);
    const TPrinterMetrics metrics = PrinterMetrics(printer);
    const TiPaperSize paper = PrinterPaperSize(metrics);
    TiPrintMargins margins{printMarginLeft_, printMarginTop_, printMarginRight_, printMarginBottom_};
    // Checked before the job starts, so that nothing is printed for a chart that cannot be.
    TRect target = PrintTargetRect(metrics, paper, margins, Width(), Height());

    printer.BeginDoc();
    if (!printer.Printing()) throw EiError(QStringLiteral("The printer cannot start the document"));
    TiPrintRestore saved;
    saved.hasToolBars = ToolBarCount() > 0;
    saved.toolBarsVisible = saved.hasToolBars && ToolBar(0)->Visible();
    if (range) {
      saved.rangeMin = range->Min();
      saved.rangeSpan = range->Span();
    }
    saved.width = Width();
    saved.height = Height();
    saved.margins[0] = OuterMarginLeft();
    saved.margins[1] = OuterMarginTop();
    saved.margins[2] = OuterMarginRight();
    saved.margins[3] = OuterMarginBottom();
    // A handler of the printing events may remove X axis 0: from then on the pages go on as
    // the chart stands, and nothing reads or restores the removed axis.
    auto ranged = [&] {
      if (range && range->Gone()) range.reset();
      return range != nullptr;
    };
    auto restore = [&] {
      if (saved.hasToolBars && ToolBarCount() > 0) Master()->SetToolBarsVisible(saved.toolBarsVisible);
      if (ranged()) {
        range->SetMin(*saved.rangeMin);
        range->SetSpan(*saved.rangeSpan);
      }
      if (Width() != saved.width || Height() != saved.height) resize(saved.width, saved.height);
      SetOuterMarginLeft(saved.margins[0]);
      SetOuterMarginTop(saved.margins[1]);
      SetOuterMarginRight(saved.margins[2]);
      SetOuterMarginBottom(saved.margins[3]);
    };
    try {
      Master()->DeselectAll();
      if (saved.hasToolBars) Master()->SetToolBarsVisible(false);
      RaiseEvent(OnBeforePrint, static_cast<QObject*>(this));
      int page = 1;
      if (ranged()) range->SetMin(start);
      for (;;) {
        // The first page always prints: a range without extent (span 0, negative or not a
        // number) would otherwise end the job with an empty document.
        if (ranged() && page > 1 && range->Min() >= end) break;
        RaiseEvent(OnBeforePrintPage, page, ranged() ? range->Max() >= end : true);
        target = PrintTargetRect(metrics, paper, margins, Width(), Height());
        RenderBitmap(*this);  // settles the layout at screen size
        const QPicture picture = RenderPicture(*this);
        if (QPainter* painter = printer.Painter())
          DrawPictureScaled(*painter, picture, QSize(Width(), Height()),
                            QRect(QPoint(target.Left, target.Top), QPoint(target.Right - 1, target.Bottom - 1)));
        if (!ranged() || !(range->Min() + range->Span() > range->Min()) || range->Max() >= end) break;
        if (!PrinterNewPage(printer)) throw EiError(QStringLiteral("The printer cannot start a new page"));
        ++page;
        range->SetMin(range->Min() + range->Span());
      }
      RaiseEvent(OnAfterPrint, static_cast<QObject*>(this));
    } catch (...) {
      AbortPrinting(printer);
      restore();
      throw;
    }
    const bool finished = FinishPrinting(printer);
    restore();
    if (!finished) throw EiError(QStringLiteral("The printer could not finish the document"));
  } catch (...) {
    failure = std::current_exception();
  }
  if (updating) EndUpdate();
  if (failure) throw EiError(kPrintErrorPrefix + FailureText(failure));
}

void TiPlotComponent::ShowPrintPreview() {
  TiPlotPreviewForm form(this);
  form.exec();
}
