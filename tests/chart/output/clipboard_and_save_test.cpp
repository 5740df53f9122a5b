// Copying the chart to the clipboard (read back in-process on the offscreen platform) and saving
// it through the save dialog.
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

#include "chart/core/iErrors.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudSaveDialog.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "tests/chart/output/OutputTestSupport.h"

namespace {

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
  const QMimeData* Data() const { return QGuiApplication::clipboard()->mimeData(); }
  QImage ClipboardImage() const {
    return QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  }
  TDialogRecorder dialogs;
  TDrawingChart chart;
};

TEST_F(Clipboard, BitmapIsTheChartAtItsSize) {
  chart.SetCopyToClipBoardFormat(ipefBitmap);
  chart.CopyToClipBoard();
  const QImage image = ClipboardImage();
  ASSERT_EQ(image.size(), QSize(500, 200));
  // The copy leaves the toolbar out.
  chart.ToolBar(0)->SetVisible(false);
  EXPECT_EQ(DifferingPixels(image, chart.PaintToImage()), 0);
  EXPECT_FALSE(Data()->hasFormat(QStringLiteral("image/svg+xml")));
}

TEST_F(Clipboard, JpegArrivesAsTheDecodedPicture) {
  chart.SetCopyToClipBoardFormat(ipefJPEG);
  chart.CopyToClipBoard();
  const QImage image = ClipboardImage();
  ASSERT_EQ(image.size(), QSize(500, 200));
  // Close to the chart but carrying the JPEG losses (quality 100, baseline).
  EXPECT_NEAR(qRed(image.pixel(150, 100)), 255, 8);
  EXPECT_NEAR(qGreen(image.pixel(150, 100)), 0, 8);
  EXPECT_NEAR(qGreen(image.pixel(350, 100)), 255, 8);
  EXPECT_NEAR(qBlue(image.pixel(450, 50)), 255, 8);
}

TEST_F(Clipboard, MetafileOffersBitmapSvgAndEmf) {
  ASSERT_EQ(chart.CopyToClipBoardFormat(), ipefMetaFile);
  chart.CopyToClipBoard();
  const QMimeData* data = Data();
  ASSERT_TRUE(data);
  ASSERT_TRUE(data->hasImage());
  const QImage image = ClipboardImage();
  ASSERT_EQ(image.size(), QSize(500, 200));
  EXPECT_EQ(Rgb(image, 150, 100), 0xFF0000u);
  EXPECT_EQ(Rgb(image, 350, 100), 0x00FF00u);
  EXPECT_EQ(Rgb(image, 450, 50), 0x0000FFu);

  const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 500 200\""));

  const std::vector<TEmfRecord> records = ReadEmfRecords(data->data(QStringLiteral("image/x-emf")));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Type, 1u);
  const std::uint32_t chars = records[0].U32(60), offset = records[0].U32(64);
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(records[0].Bytes.constData() + offset), chars);
  EXPECT_EQ(text, QStringLiteral("Vantor") + QChar(0) + QStringLiteral("Strip Chart") + QChar(0));
  EXPECT_EQ(records[1].Type, 81u);
  EXPECT_EQ(records[2].Type, 14u);
}

TEST_F(Clipboard, ToolbarsAreHiddenForTheCopyAndTakeToolbarZerosVisibility) {
  chart.AddToolBar();
  chart.ToolBar(0)->SetVisible(true);
  chart.ToolBar(1)->SetVisible(false);
  std::vector<bool> during;
  chart.OnDraw = [&] { during = {chart.ToolBar(0)->Visible(), chart.ToolBar(1)->Visible(), chart.Updating()}; };
  for (TiPlotExportFormat format : {ipefMetaFile, ipefBitmap, ipefJPEG}) {
    SCOPED_TRACE(format);
    chart.SetCopyToClipBoardFormat(format);
    const int paints = chart.Paints;
    chart.CopyToClipBoard();
    EXPECT_EQ(chart.Paints, paints + 1);  // drawn once
    EXPECT_EQ(during, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(chart.ToolBar(0)->Visible());
    EXPECT_TRUE(chart.ToolBar(1)->Visible());
    EXPECT_FALSE(chart.Updating());
  }
}

TEST_F(Clipboard, AFailureRestoresToolbarsAndEndsTheSuspension) {
  chart.ToolBar(0)->SetVisible(true);
  chart.OnDraw = [] { throw EiError(QStringLiteral("drawing failed")); };
  EXPECT_THROW(chart.CopyToClipBoard(), EiError);
  EXPECT_TRUE(chart.ToolBar(0)->Visible());
  EXPECT_FALSE(chart.Updating());
  // The user command shows it.
  EXPECT_FALSE(chart.CopyCommand());
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("drawing failed")});
  // Without toolbars there is nothing to hide; a chart without area is refused.
  TDrawingChart bare(false);
  ASSERT_EQ(bare.ToolBarCount(), 0);
  bare.resize(0, 0);
  EXPECT_THROW(bare.CopyToClipBoard(), EiError);
  EXPECT_FALSE(bare.Updating());
  bare.resize(500, 200);
  bare.CopyToClipBoard();
  EXPECT_EQ(ClipboardImage().size(), QSize(500, 200));
}

// ---- the save dialog ----

class SaveWithDialog : public ::testing::Test {
 protected:
  SaveWithDialog() { QDir::setCurrent(dir.path()); }
  ~SaveWithDialog() override { QDir::setCurrent(QDir::rootPath()); }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
  QTemporaryDir dir;
  TDialogRecorder dialogs;
  TDrawingChart chart;
};

TEST_F(SaveWithDialog, ProposesUntitledWithTheFourFilters) {
  dialogs.SaveAnswer.clear();  // cancel
  chart.SaveImageWithDialog();
  chart.SaveImageWithDialog();
  ASSERT_EQ(dialogs.SaveRequests.size(), 2u);
  for (const TSaveDialogOptions& o : dialogs.SaveRequests) {
    EXPECT_EQ(o.FileName, QStringLiteral("Untitled"));
    EXPECT_EQ(o.Filter, QStringLiteral("Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png"));
    EXPECT_EQ(o.FilterIndex, 1);
    EXPECT_TRUE(o.DefaultExt.isEmpty());
    EXPECT_TRUE(o.OverwritePrompt);
    EXPECT_EQ(o.InitialDir, QStringLiteral("."));
  }
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(SaveWithDialog, TheEndingChoosesTheFormat) {
  struct Case {
    const char* typed;
    int filter;
    const char* written;  // nullptr: nothing saved
    const char* start;    // the file's first bytes, in hexadecimal
  };
  for (const Case& c : {Case{"a.bmp", 1, "a.bmp", "424d"}, Case{"b", 2, "b.emf", "01000000"},
                        Case{"c", 3, "c.jpg", "ffd8"}, Case{"d.png", 4, "d.png", "89504e47"},
                        Case{"e.bmp", 3, "e.bmp.jpg", "ffd8"}, Case{"f.JPG", 3, nullptr, nullptr},
                        Case{"g.PNG", 4, nullptr, nullptr}}) {
    SCOPED_TRACE(c.typed);
    const QStringList before = Files();
    dialogs.SaveAnswer = Path(c.typed);
    dialogs.SaveFilterAnswer = c.filter;
    chart.SaveImageWithDialog();
    if (!c.written) {
      EXPECT_EQ(Files(), before);
      continue;
    }
    const QByteArray data = ReadAll(Path(c.written));
    EXPECT_TRUE(data.startsWith(QByteArray::fromHex(c.start)));
  }
  EXPECT_TRUE(dialogs.Questions.isEmpty());
}

TEST_F(SaveWithDialog, JpegIsProgressiveAtQuality100AndPngAtLevel9) {
  dialogs.SaveAnswer = Path("chart.jpg");
  dialogs.SaveFilterAnswer = 3;
  chart.SaveImageWithDialog();
  const QByteArray jpeg = ReadAll(Path("chart.jpg"));
  EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC2", 2)));
  EXPECT_FALSE(jpeg.contains(QByteArray("\xFF\xC0", 2)));
  EXPECT_EQ(jpeg, chart.GetJPEGImage(100, true));

  dialogs.SaveAnswer = Path("chart.png");
  dialogs.SaveFilterAnswer = 4;
  chart.SaveImageWithDialog();
  const QByteArray png = ReadAll(Path("chart.png"));
  const qsizetype idat = png.indexOf("IDAT");
  ASSERT_GT(idat, 0);
  EXPECT_EQ(uchar(png[idat + 5]) >> 6, 3);  // zlib's mark for levels 7 to 9
}

TEST_F(SaveWithDialog, AnAddedExtensionThatMeetsAnExistingFileAsksFirst) {
  WriteAll(Path("chart.jpg"), "keep me");
  dialogs.SaveAnswer = Path("chart");
  dialogs.SaveFilterAnswer = 3;
  dialogs.YesNoAnswer = false;
  chart.SaveImageWithDialog();
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0], Path("chart.jpg") + QStringLiteral(" already exists.\nDo you want to replace it?"));
  EXPECT_EQ(ReadAll(Path("chart.jpg")), QByteArray("keep me"));
  dialogs.YesNoAnswer = true;
  chart.SaveImageWithDialog();
  EXPECT_TRUE(ReadAll(Path("chart.jpg")).startsWith("\xFF\xD8"));
  // A name the dialog itself showed was confirmed there: no second question.
  dialogs.SaveAnswer = Path("chart.jpg");
  chart.SaveImageWithDialog();
  EXPECT_EQ(dialogs.Questions.size(), 2);
}

TEST_F(SaveWithDialog, FailuresReachTheSaveCommandsMessage) {
  dialogs.SaveAnswer = Path("no/such/folder/chart.png");
  dialogs.SaveFilterAnswer = 4;
  EXPECT_FALSE(chart.SaveCommand());
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].contains(Path("no/such/folder/chart.png")));
  dialogs.SaveAnswer.clear();
  EXPECT_TRUE(chart.SaveCommand());  // cancelled: nothing to report
  EXPECT_EQ(dialogs.Messages.size(), 1);
}

TEST(SaveDialog, ReturnExtAndTheOwnerWindow) {
  TDialogRecorder dialogs;
  TiSaveDialog orphan(nullptr);
  orphan.Filter = QStringLiteral("Text|*.txt");
  dialogs.SaveAnswer = QStringLiteral("x");
  EXPECT_FALSE(orphan.Execute());
  EXPECT_TRUE(dialogs.SaveRequests.empty());

  QWidget window;
  QWidget inner(&window);
  TiSaveDialog dialog(&inner);
  EXPECT_EQ(dialog.OwnerWindow(), &window);
  // The proposed name goes to the dialog cut to the 260 characters of its buffer.
  dialog.FileName = QString(300, QLatin1Char('n'));
  dialogs.SaveAnswer.clear();
  EXPECT_FALSE(dialog.Execute());
  ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(dialogs.SaveRequests[0].FileName, QString(260, QLatin1Char('n')));
  struct Case {
    const char* filter;
    int index;
    const char* answer;
    const char* fileName;
    const char* returnExt;
  };
  for (const Case& c : {Case{"Text|*.txt|All|*.*", 1, "notes", "notes.txt", ".txt"},
                        Case{"Text|*.txt|All|*.*", 2, "notes", "notes", ".*"},
                        Case{"Text|*.txt", 5, "notes", "notes", ""},
                        Case{"Text|*.txt", 1, "notes.TXT", "notes.TXT", ".txt"}}) {
    SCOPED_TRACE(c.answer);
    dialog.Filter = QString::fromLatin1(c.filter);
    dialogs.SaveAnswer = QString::fromLatin1(c.answer);
    dialogs.SaveFilterAnswer = c.index;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, QString::fromLatin1(c.fileName));
    EXPECT_EQ(dialog.ReturnExt(), QString::fromLatin1(c.returnExt));
    EXPECT_EQ(dialog.FilterIndex, c.index);
  }
}

}  // namespace

namespace {

// A chart made 32000 x 32000 pixels (a property file can) is refused with a message by every
// output instead of allocating gigabytes; at its normal size everything works again.
TEST(OutputBudget, AHugeChartIsRefusedByEveryOutput) {
  TDialogRecorder dialogs;
  TRecordingPrinter printer;
  TRealChart real;
  real.chart.SetPrintShowDialog(false);
  real.chart.resize(32000, 32000);
  ASSERT_EQ(real.chart.Width(), 32000);
  const QString message =
      QStringLiteral("The chart is too large for a picture (32000 x 32000 pixels; at most 100 million pixels)");
  QTemporaryDir dir;
  const std::initializer_list<std::pair<const char*, std::function<void()>>> outputs = {
      {"png", [&] { real.chart.SaveImageToPNG(dir.filePath(QStringLiteral("a.png")), 1); }},
      {"bmp", [&] { real.chart.SaveImageToBitmap(dir.filePath(QStringLiteral("a.bmp"))); }},
      {"jpeg", [&] { real.chart.GetJPEGImage(80, false); }},
      {"clipboard", [&] { real.chart.CopyToClipBoard(); }},
      {"metafile", [&] { real.chart.GetMetaFilePicture(); }},
  };
  for (const auto& [what, output] : outputs) {
    SCOPED_TRACE(what);
    try {
      output();
      ADD_FAILURE() << "no error";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, message);
    }
  }
  EXPECT_FALSE(real.chart.PrintCommand());
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Error Printing : ") + message});
  EXPECT_EQ(printer.Jobs, 0);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  real.chart.resize(600, 400);
  real.chart.SaveImageToPNG(dir.filePath(QStringLiteral("a.png")), 1);
  EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("a.png"))).isNull());
}

}  // namespace
