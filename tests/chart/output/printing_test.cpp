// Printing: the page geometry, the paper sizes, and whole print jobs into PDF files.
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/iErrors.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLegend.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudPaperSizes.h"
#include "chart/output/rUdudPreview.h"
#include "chart/output/rUdudPrintGeometry.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Dialogs.h"
#include "support/FileSizeLimit.h"
#include "tests/chart/output/OutputTestSupport.h"

namespace {

TEST(PaperSizes, PublishedSizesAndLetterForTheRest) {
  struct Case {
    int code;
    double width, height;  // inches
  };
  for (const Case& c : {Case{1, 8.5, 11}, Case{2, 8.5, 11}, Case{3, 11, 17}, Case{5, 8.5, 14}, Case{8, 297 / 25.4, 420 / 25.4},
                        Case{9, 210 / 25.4, 297 / 25.4}, Case{11, 148 / 25.4, 210 / 25.4}, Case{20, 4.125, 9.5},
                        Case{27, 110 / 25.4, 220 / 25.4}, Case{48, 8.5, 11}, Case{66, 420 / 25.4, 594 / 25.4},
                        Case{68, 322 / 25.4, 445 / 25.4}, Case{69, 8.5, 11}, Case{0, 8.5, 11}, Case{-5, 8.5, 11}}) {
    SCOPED_TRACE(c.code);
    const TiPaperSize size = PaperSizeInches(c.code);
    // Sizes are kept in tenths of a millimetre: inch sizes come within 0.05 mm.
    EXPECT_NEAR(size.Width, c.width, 0.05 / 25.4);
    EXPECT_NEAR(size.Height, c.height, 0.05 / 25.4);
  }
}

TEST(PaperSizes, ThePrintersPaperTurnsWithItsOrientation) {
  TPrinterMetrics m;
  m.PaperCode = 9;  // A4
  m.Orientation = poPortrait;
  EXPECT_NEAR(PrinterPaperSize(m).Width, 210 / 25.4, 1e-9);
  m.Orientation = poLandscape;
  EXPECT_NEAR(PrinterPaperSize(m).Width, 297 / 25.4, 1e-9);
  EXPECT_NEAR(PrinterPaperSize(m).Height, 210 / 25.4, 1e-9);
}

TEST(PrintGeometry, TheChartFillsThePageByTheSmallerScale) {
  // 500 x 200 on Letter landscape at 600 pixels per inch, 1-inch margins: page 6600 x 5100,
  // k = min(5400 / 500, 3900 / 200) = 10.8, picture 5400 x 2160 at (600 - offX, 600 - offY).
  TPrinterMetrics m;
  m.DpiX = m.DpiY = 600;
  m.OffsetX = 25;
  m.OffsetY = 30;
  const TRect r = PrintTargetRect(m, {11, 8.5}, {1, 1, 1, 1}, 500, 200);
  EXPECT_EQ(r.Left, 575);
  EXPECT_EQ(r.Top, 570);
  EXPECT_EQ(r.Right, 575 + 5400);
  EXPECT_EQ(r.Bottom, 570 + 2160);
  // A tall chart is bound by the height: k = min(5400 / 100, 3900 / 300) = 13.
  const TRect tall = PrintTargetRect(m, {11, 8.5}, {1, 1, 1, 1}, 100, 300);
  EXPECT_EQ(tall.Right - tall.Left, 1300);
  EXPECT_EQ(tall.Bottom - tall.Top, 3900);
}

TEST(PrintGeometry, NoAreaOrNoRoomIsRefused) {
  TPrinterMetrics m;
  m.DpiX = m.DpiY = 600;
  struct Case {
    const char* what;
    TiPrintMargins margins;
    int width, height;
    const char* message;
  };
  for (const Case& c : {Case{"no width", {1, 1, 1, 1}, 0, 200, "The chart has no area to draw"},
                        Case{"no height", {1, 1, 1, 1}, 500, 0, "The chart has no area to draw"},
                        Case{"margins as wide as the paper", {5.5, 1, 5.5, 1}, 500, 200, "The print margins leave no room on the paper"},
                        Case{"margins beyond the paper", {1, 9, 1, 9}, 500, 200, "The print margins leave no room on the paper"},
                        Case{"not a number", {NAN, 1, 1, 1}, 500, 200, "The print margins leave no room on the paper"},
                        Case{"absurd", {-1e300, 1, 1, 1}, 500, 200, "The print margins leave no room on the paper"}}) {
    SCOPED_TRACE(c.what);
    try {
      PrintTargetRect(m, {11, 8.5}, c.margins, c.width, c.height);
      ADD_FAILURE() << "no error";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QString::fromLatin1(c.message));
    }
  }
}

// Printing into a PDF file through the system printer, without the print dialog.
class PrintJob : public ::testing::Test {
 protected:
  void SetUp() override {
    QPrinter& qt = Printer().QtPrinter();
    qt.setOutputFormat(QPrinter::PdfFormat);
    qt.setPageSize(QPageSize(QPageSize::Letter));
    // The printer outlives the tests: each starts from the same page, whatever the last printed.
    qt.setPageOrientation(QPageLayout::Portrait);
    qt.setOutputFileName(pdf);
    chart.SetPrintShowDialog(false);
  }
  void TearDown() override { Printer().QtPrinter().setOutputFileName(QString()); }
  QByteArray Pdf() const { return ReadAll(pdf); }

  QTemporaryDir dir;
  QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
  TDialogRecorder dialogs;
  TDrawingChart chart;
};

TEST_F(PrintJob, OnePageWhileTheRangeStaysAsItWas) {
  TTestRange range;
  range.min = 0;
  range.span = 30;
  chart.Range = &range;
  std::vector<std::pair<int, bool>> pages;
  QStringList order;
  chart.OnBeforePrint = [&](QObject* sender) { order << (sender == &chart ? "before" : "before?"); };
  chart.OnBeforePrintPage = [&](int page, bool last) { pages.push_back({page, last}); };
  chart.OnAfterPrint = [&](QObject* sender) { order << (sender == &chart ? "after" : "after?"); };
  chart.PrintChart();
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  // The chart goes to the page as drawing commands, not as a picture of pixels.
  EXPECT_FALSE(QString::fromLatin1(Pdf()).contains(QRegularExpression(QStringLiteral("/Subtype\\s*/Image"))));
  EXPECT_EQ(pages, (std::vector<std::pair<int, bool>>{{1, true}}));
  EXPECT_EQ(order, (QStringList{"before", "after"}));
  EXPECT_FALSE(chart.Updating());
  EXPECT_FALSE(Printer().Printing());
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PrintJob, ANarrowerSpanSpreadsTheRangeOverPages) {
  TTestRange range;
  range.min = 0;
  range.span = 30;
  chart.Range = &range;
  std::vector<bool> last;
  std::vector<double> mins;
  chart.OnBeforePrintPage = [&](int page, bool lastPage) {
    last.push_back(lastPage);
    if (page == 1) range.span = 10;
    mins.push_back(range.min);
  };
  chart.PrintChart();
  EXPECT_EQ(PdfPageCount(Pdf()), 3);
  EXPECT_EQ(last, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(mins, (std::vector<double>{0, 10, 20}));
  // The range is put back.
  EXPECT_EQ(range.min, 0);
  EXPECT_EQ(range.span, 30);
}

TEST_F(PrintJob, ARangeWithoutExtentStillPrintsItsPage) {
  struct Case {
    const char* what;
    double min, span;
  };
  for (const Case& c : {Case{"span 0", 5, 0}, Case{"negative span", 5, -10}, Case{"no number", NAN, 10},
                        Case{"infinite span", 0, INFINITY}}) {
    SCOPED_TRACE(c.what);
    QFile::remove(pdf);
    TTestRange range;
    range.min = c.min;
    range.span = c.span;
    chart.Range = &range;
    int pages = 0;
    chart.OnBeforePrintPage = [&](int, bool) { ++pages; };
    chart.PrintChart();
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(PdfPageCount(Pdf()), 1);
  }
}

TEST_F(PrintJob, ToolbarsAreHiddenForThePagesAndRestored) {
  chart.AddToolBar();
  chart.ToolBar(0)->SetVisible(true);
  chart.ToolBar(1)->SetVisible(false);
  std::vector<bool> during;
  chart.OnBeforePrintPage = [&](int, bool) { during = {chart.ToolBar(0)->Visible(), chart.ToolBar(1)->Visible()}; };
  chart.PrintChart();
  EXPECT_EQ(during, (std::vector<bool>{false, false}));
  // Every toolbar takes toolbar 0's visibility.
  EXPECT_TRUE(chart.ToolBar(0)->Visible());
  EXPECT_TRUE(chart.ToolBar(1)->Visible());
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
}

TEST_F(PrintJob, CancellingTheDialogPrintsNothing) {
  chart.SetPrintShowDialog(true);
  dialogs.PrintAnswer = false;
  bool raised = false;
  chart.OnBeforePrint = [&](QObject*) { raised = true; };
  chart.PrintChart();
  EXPECT_EQ(dialogs.PrintDialogs, 1);
  EXPECT_FALSE(raised);
  EXPECT_FALSE(QFileInfo::exists(pdf));
  EXPECT_FALSE(chart.Updating());
}

TEST_F(PrintJob, SettingsGoToThePrinterAndAnUnknownPrinterNameIsPassedOver) {
  chart.SetPrintShowDialog(true);
  dialogs.PrintAnswer = true;
  chart.SetPrinterName(QStringLiteral("  No Such Printer "));
  chart.SetPrintDocumentName(QStringLiteral("Spectrum"));
  chart.SetPrintOrientation(poPortrait);
  chart.PrintChart();
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  EXPECT_EQ(Printer().QtPrinter().docName(), QStringLiteral("Spectrum"));
  EXPECT_EQ(Printer().QtPrinter().pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_EQ(Printer().QtPrinter().outputFormat(), QPrinter::PdfFormat);
}

TEST_F(PrintJob, FailuresCarryThePrefixAndPrintNoPage) {
  struct Case {
    const char* what;
    std::function<void()> setup;
    QString message;
  };
  const QString missing = dir.filePath(QStringLiteral("missing/folder/x.pdf"));
  const std::initializer_list<Case> cases = {
      Case{"no width", [&] { chart.resize(0, 200); }, QStringLiteral("Error Printing : The chart has no area to draw")},
      Case{"margins as large as the paper", [&] { chart.SetPrintMarginTop(5); chart.SetPrintMarginBottom(6); },
           QStringLiteral("Error Printing : The print margins leave no room on the paper")},
      Case{"no file to print into", [&] { Printer().QtPrinter().setOutputFileName(missing); },
           QStringLiteral("Error Printing : Cannot create file \"%1\". No such file or directory").arg(missing)},
      Case{"a failing page handler", [&] { chart.OnBeforePrintPage = [](int, bool) { throw EiError(QStringLiteral("boom")); }; },
           QStringLiteral("Error Printing : boom")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    chart.resize(500, 200);
    chart.SetPrintMarginTop(1);
    chart.SetPrintMarginBottom(1);
    chart.OnBeforePrintPage = nullptr;
    chart.ToolBar(0)->SetVisible(true);
    Printer().QtPrinter().setOutputFileName(pdf);
    QFile::remove(pdf);
    c.setup();
    try {
      chart.PrintChart();
      ADD_FAILURE() << "no error";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_EQ(PdfPageCount(Pdf()), 0);
    EXPECT_FALSE(chart.Updating());
    EXPECT_FALSE(Printer().Printing());
    EXPECT_TRUE(chart.ToolBar(0)->Visible());
  }
}

TEST_F(PrintJob, AChartWithoutToolbarOrAxisPrintsOnePage) {
  TDrawingChart bare(false);
  bare.SetPrintShowDialog(false);
  ASSERT_EQ(bare.ToolBarCount(), 0);
  ASSERT_EQ(bare.XAxisCount(), 0);
  bare.PrintChart();
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
}

TEST_F(PrintJob, ThePreviewsPrintButtonPrints) {
  TiPlotPreviewForm form(&chart);
  form.PrintButtonClick();
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  chart.SetPrintMarginLeft(20);
  form.PrintButtonClick();
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Error Printing : The print margins leave no room on the paper")});
}

TEST_F(PrintJob, ThePrintCommandShowsTheFailure) {
  chart.resize(500, 0);
  EXPECT_FALSE(chart.PrintCommand());
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Error Printing : The chart has no area to draw")});
  chart.resize(500, 200);
  EXPECT_TRUE(chart.PrintCommand());
  EXPECT_EQ(dialogs.Messages.size(), 1);
}

// The printed page, rasterised by Ghostscript where the machine has it: the picture sits inside
// the 1-inch margins, 9 x 3.6 inches on landscape Letter.
TEST_F(PrintJob, ThePageShowsTheChartInsideTheMargins) {
  const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
  if (gs.isEmpty()) GTEST_SKIP() << "Ghostscript is not installed";
  chart.PrintChart();
  const QString png = dir.filePath(QStringLiteral("page.png"));
  QProcess::execute(gs, {QStringLiteral("-q"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dSAFER"),
                         QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r50"), QStringLiteral("-sOutputFile=") + png, pdf});
  const QImage page(png);
  ASSERT_EQ(page.size(), QSize(550, 425));  // 11 x 8.5 inches at 50 dpi
  // Chart pixel (x, y) lands at 50 + 0.9 x, 50 + 0.9 y.
  auto at = [&](int x, int y) { return Rgb(page, 50 + x * 9 / 10, 50 + y * 9 / 10); };
  EXPECT_EQ(at(150, 100), 0xFF0000u);
  EXPECT_EQ(at(350, 100), 0x00FF00u);
  EXPECT_EQ(at(450, 50), 0x0000FFu);
  // The chart's black background inside the picture; the paper outside it stays white.
  EXPECT_EQ(at(250, 180), 0x000000u);
  EXPECT_EQ(Rgb(page, 25, 25), 0xFFFFFFu);
  EXPECT_EQ(Rgb(page, 525, 300), 0xFFFFFFu);
}

}  // namespace

namespace {

// Near-white pixels of `image` inside r (chart coordinates scaled by k, shifted by origin): on
// the chart's black background these are the title's, the legend's and the table's letters.
int WhiteIn(const QImage& image, const TRect& r, double k = 1, QPoint origin = {}) {
  int white = 0;
  for (int y = origin.y() + int(r.Top * k); y < origin.y() + int(r.Bottom * k); ++y)
    for (int x = origin.x() + int(r.Left * k); x < origin.x() + int(r.Right * k); ++x) {
      const QColor c = image.pixelColor(x, y);
      white += c.red() > 200 && c.green() > 200 && c.blue() > 200;
    }
  return white;
}

std::vector<TiPlotLayoutObject*> TextObjects(TRealChart& real) {
  return {real.chart.Labels(0), real.chart.Legend(0), real.chart.Table(0)};
}

TEST(RealChartOutput, TheRecordedPictureReplaysAsTheBitmapIsDrawn) {
  TRealChart real;
  const QImage direct = RenderBitmap(real.chart).Image().convertToFormat(QImage::Format_RGB32);
  const QImage replayed = PictureToImage(RenderPicture(real.chart), QSize(600, 400));
  // Texts, frames and fills replay to the pixel; inside the data view, sloping one-pixel traces
  // may take Qt's rasterisation instead of the bitmap's own.
  const TRect view = real.chart.DataView(0)->GetLayoutRect();
  int outsideView = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 600; ++x)
      outsideView += Rgb(direct, x, y) != Rgb(replayed, x, y) && !(x >= view.Left && x < view.Right && y >= view.Top && y < view.Bottom);
  EXPECT_EQ(outsideView, 0);
  for (TiPlotLayoutObject* object : TextObjects(real)) {
    SCOPED_TRACE(object->Name().toStdString());
    const TRect r = object->GetLayoutRect();
    EXPECT_GT(WhiteIn(direct, r), 40);
    EXPECT_EQ(DifferingPixels(direct.copy(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top),
                              replayed.copy(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top)),
              0);
  }
}

// The printed page of a real chart, rasterised: the title, the legend's names and the table's
// texts are on paper.
TEST_F(PrintJob, ThePrintedPageKeepsTheTitleLegendAndTable) {
  const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
  ASSERT_FALSE(gs.isEmpty()) << "Ghostscript is installed with the project's packages";
  TRealChart real;
  real.chart.SetPrintShowDialog(false);
  real.chart.SetPrintOrientation(poLandscape);
  // Printing hides the toolbar; without it the screen's layout is the printed one.
  real.chart.ToolBar(0)->SetVisible(false);
  real.chart.PrintChart();
  const QString png = dir.filePath(QStringLiteral("real.png"));
  ASSERT_EQ(QProcess::execute(gs, {QStringLiteral("-q"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                                   QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r100"),
                                   QStringLiteral("-sOutputFile=") + png, pdf}),
            0);
  const QImage page(png);
  ASSERT_EQ(page.size(), QSize(1100, 850));
  // 600 x 400 between 1-inch margins of 11 x 8.5 inches: scaled by min(900/600, 650/400) = 1.5.
  const QImage screen = RenderBitmap(real.chart).Image().convertToFormat(QImage::Format_RGB32);
  for (TiPlotLayoutObject* object : TextObjects(real)) {
    SCOPED_TRACE(object->Name().toStdString());
    const TRect r = object->GetLayoutRect();
    const int onScreen = WhiteIn(screen, r);
    ASSERT_GT(onScreen, 40);
    // Scaled by 1.5 each way and smoothed, the letters still light many pixels; lost, none.
    EXPECT_GT(WhiteIn(page, r, 1.5, {100, 100}), onScreen / 2);
  }
}

}  // namespace

namespace {

// A handler that removes X axis 0 while the pages print: the job finishes on the chart as it
// stands and never touches the removed axis (ASan reports any use of it).
TEST_F(PrintJob, AHandlerRemovingXAxisZeroEndsNothingButThePaging) {
  for (const bool onPage : {false, true}) {
    SCOPED_TRACE(onPage ? "OnBeforePrintPage" : "OnBeforePrint");
    TRealChart real;
    real.chart.SetPrintShowDialog(false);
    real.chart.XAxis(0)->SetMin(0);
    real.chart.XAxis(0)->SetSpan(25);  // four pages' worth of a 0..100 range, were it kept
    auto removeAxis = [&real] {
      if (real.chart.XAxisCount() > 0) real.chart.DeleteXAxis(0);
    };
    if (onPage)
      real.chart.OnBeforePrintPage = [&](int, bool) { removeAxis(); };
    else
      real.chart.OnBeforePrint = [&](QObject*) { removeAxis(); };
    real.chart.PrintChart();
    EXPECT_EQ(real.chart.XAxisCount(), 0);
    EXPECT_EQ(PdfPageCount(Pdf()), 1);
  }
}

}  // namespace

namespace {

// A size limit stands in for a full disk: the print is reported as failed, the old file stays
// as it was and nothing half written is left beside it. Without the limit the same print
// replaces the file.
TEST_F(PrintJob, AFailedWriteIsAnErrorAndKeepsTheOldFile) {
  WriteAll(pdf, "old file");
  TRealChart real;
  real.chart.SetPrintShowDialog(false);
  bool printed;
  {
    TFileSizeLimit limit(2000);
    ASSERT_TRUE(limit.Active());
    printed = real.chart.PrintCommand();
  }
  EXPECT_FALSE(printed);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Error Printing : Cannot write file \"%1\".").arg(pdf)))
      << dialogs.Messages[0].toStdString();
  EXPECT_EQ(ReadAll(pdf), QByteArray("old file"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chart.pdf")});

  EXPECT_TRUE(real.chart.PrintCommand()) << dialogs.Messages.join(QStringLiteral("; ")).toStdString();
  EXPECT_TRUE(Pdf().startsWith("%PDF"));
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chart.pdf")});
  EXPECT_EQ(Printer().QtPrinter().outputFileName(), pdf);
}

TEST_F(PrintJob, ATargetThatIsNoRegularFileIsRefused) {
  const QString fifo = dir.filePath(QStringLiteral("pipe"));
  ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  Printer().QtPrinter().setOutputFileName(fifo);
  EXPECT_FALSE(chart.PrintCommand());
  EXPECT_EQ(dialogs.Messages,
            QStringList{QStringLiteral("Error Printing : Cannot write file \"%1\". It is not a regular file.").arg(fifo)});
  struct stat st {};
  ASSERT_EQ(stat(fifo.toLocal8Bit().constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace

namespace {

// Paper without a number in the platform's table takes its size from the device: the chart
// fits A6 and a custom page between the margins instead of running off a Letter-sized guess.
TEST_F(PrintJob, PaperOutsideTheTableTakesTheDevicesSize) {
  struct Case {
    const char* what;
    QPageSize size;
    double width, height;  // inches, portrait
  };
  for (const Case& c : {Case{"A6", QPageSize(QPageSize::A6), 105 / 25.4, 148 / 25.4},
                        Case{"custom", QPageSize(QSizeF(5, 4), QPageSize::Inch, QStringLiteral("Card")), 5, 4}}) {
    SCOPED_TRACE(c.what);
    Printer().QtPrinter().setPageSize(c.size);
    chart.SetPrintOrientation(poPortrait);
    const TPrinterMetrics m = PrinterMetrics(Printer());
    const TiPaperSize paper = PrinterPaperSize(m);
    EXPECT_NEAR(paper.Width, c.width, 0.01);
    EXPECT_NEAR(paper.Height, c.height, 0.01);
    // The picture's right and bottom edges stay inside the paper less its right and bottom margin.
    chart.SetPrintMarginLeft(0.5);
    chart.SetPrintMarginRight(0.5);
    chart.SetPrintMarginTop(0.5);
    chart.SetPrintMarginBottom(0.5);
    const TRect r = PrintTargetRect(m, paper, {0.5, 0.5, 0.5, 0.5}, chart.Width(), chart.Height());
    EXPECT_LE(r.Right + m.OffsetX, std::lround((c.width - 0.5) * m.DpiX) + 1);
    EXPECT_LE(r.Bottom + m.OffsetY, std::lround((c.height - 0.5) * m.DpiY) + 1);
    EXPECT_TRUE(chart.PrintCommand()) << dialogs.Messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(PdfPageCount(Pdf()), 1);
  }
}

}  // namespace
