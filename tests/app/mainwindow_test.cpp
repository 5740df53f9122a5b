#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/Application.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "support/ChildEntry.h"
#include "support/WindowsFixture.h"

namespace {
class MainWindowTest : public TLumioWindowsTest {};

QStringList ActionTexts(const QList<QAction*>& actions) {
  QStringList out;
  for (const QAction* a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}
}  // namespace

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Lumio Spectrometer"));
  EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Lumio Spectrometer"));
  EXPECT_EQ(form.Client->size(), QSize(1016, 754));
  struct Case { QWidget* widget; QRect rect; };
  for (const Case& c : std::initializer_list<Case>{
           {form.ScrollBox1, {0, 0, 420, 400}},
           {form.ScrollBox2, {600, 0, 420, 400}},
           {form.RadioGroup1, {0, 400, 153, 132}},
           {form.RadioGroup2, {0, 538, 153, 65}},
           {form.Button1, {30, 609, 75, 42}},
           {form.Button2, {30, 671, 75, 42}},
           {form.iXYPlot1, {159, 400, 497, 345}}}) {
    SCOPED_TRACE(c.widget->objectName().toStdString());
    EXPECT_EQ(c.widget->parentWidget(), form.Client);
    EXPECT_EQ(c.widget->geometry(), c.rect);
  }
  struct Pos { QWidget* widget; int left, top; };
  for (const Pos& p : std::initializer_list<Pos>{
           {form.DriveComboBox1, 439, -1}, {form.DirectoryListBox1, 439, 19}, {form.FileListBox1, 439, 115},
           {form.DriveComboBox2, 439, 215}, {form.DirectoryListBox2, 439, 235}, {form.FileListBox2, 439, 329},
           {form.Label[1], 424, 40}, {form.Label[2], 588, 216}, {form.Label[3], 428, 186}, {form.Label[4], 428, 198},
           {form.Label[5], 590, 4}, {form.Label[6], 736, 410}, {form.Label[7], 736, 589}, {form.Label[8], 736, 534},
           {form.Label[9], 678, 458}, {form.Label[10], 678, 505}, {form.Label[15], 678, 638}, {form.Label[18], 678, 684},
           {form.Edit[1], 673, 432}, {form.Edit[2], 799, 432}, {form.Edit[3], 887, 432},
           {form.Edit[4], 673, 478}, {form.Edit[5], 800, 478}, {form.Edit[6], 887, 478},
           {form.Edit[7], 736, 556}, {form.UpDown1, 769, 556},
           {form.Edit[8], 672, 611}, {form.Edit[9], 799, 611}, {form.Edit[10], 887, 611},
           {form.Edit[11], 672, 657}, {form.Edit[12], 799, 657}, {form.Edit[13], 887, 657}}) {
    SCOPED_TRACE(p.widget->objectName().toStdString());
    EXPECT_EQ(p.widget->pos(), QPoint(p.left, p.top));
  }
  for (QWidget* w : {static_cast<QWidget*>(form.DriveComboBox1), static_cast<QWidget*>(form.DirectoryListBox1),
                     static_cast<QWidget*>(form.FileListBox2)})
    EXPECT_EQ(w->width(), 145);
  EXPECT_EQ(form.Edit[7]->width(), 33);
  EXPECT_EQ(form.Image1->size(), QSize(105, 105));

  EXPECT_EQ(form.Label[1]->text(), QStringLiteral("< S a m p l e <"));
  EXPECT_TRUE(form.Label[1]->font().bold());
  EXPECT_EQ(form.Label[2]->text(), QStringLiteral("> R e f e r e n c e >"));
  EXPECT_EQ(form.Label[6]->text(), QStringLiteral("Sample Spectrum Parameters"));
  EXPECT_EQ(form.Label[6]->font().pixelSize(), 13);
  EXPECT_EQ(form.Label[7]->text(), QStringLiteral("Reference Spectrum Parameters"));
  EXPECT_EQ(form.Label[8]->text(), QStringLiteral("Spectrum Width (Pixels)"));
  for (int n : {11, 13, 16, 19}) EXPECT_EQ(form.Label[n]->text(), QStringLiteral("x (pixels)"));
  for (int n : {12, 14, 17, 20}) EXPECT_EQ(form.Label[n]->text(), QStringLiteral("y (pixels)"));
  EXPECT_EQ(form.RadioGroup1->title(), QStringLiteral("Plot Trace Selection"));
  EXPECT_EQ(form.RadioGroup1->Items(), (QStringList{"Intensity (Sample)", "Intensity (Reference)", "Intensity (Both)",
                                                    "Transmittance", "Absorbance"}));
  EXPECT_EQ(form.RadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(form.RadioGroup2->Items(), (QStringList{"Pixel Number", "Wavelength (nm)"}));
  EXPECT_EQ(form.RadioGroup2->ItemIndex(), 0);
  EXPECT_EQ(form.Button1->text(), QStringLiteral("Make Plot Compute T Compute A"));
  EXPECT_EQ(form.Button2->text(), QStringLiteral("Generate CSV File for Excel"));
  EXPECT_FALSE(form.Button1->isEnabled());
  EXPECT_FALSE(form.Button2->isEnabled());
  EXPECT_EQ(form.font().pixelSize(), 11);
}

TEST_F(MainWindowTest, MenuHasItsItems) {
  const QList<QAction*> top = form.menuBar()->actions();
  ASSERT_EQ(top.size(), 4);
  EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
  EXPECT_EQ(top[1]->text(), QStringLiteral("&Calibration"));
  EXPECT_EQ(top[2]->text(), QStringLiteral("&Live"));
  EXPECT_EQ(top[3]->text(), QStringLiteral("&About"));
  EXPECT_EQ(ActionTexts(top[2]->menu()->actions()), (QStringList{"&Sample", "&Reference", "-", "Kinetics..."}));
  EXPECT_EQ(ActionTexts(top[2]->menu()->actions()[0]->menu()->actions()),
            (QStringList{"Freeze", "Save Frame...", "-", "Averaging", "Take Dark", "Clear Dark", "-", "Stop"}));
  EXPECT_EQ(ActionTexts(form.File1->actions()),
            (QStringList{"Load Sample (&Left)", "Load Reference (&Right)", "Live Sample...", "Live Reference...", "-",
                         "Open Workspace...", "Save Workspace...",
                         "-", "&Print", "Print Setup", "-", "CS&V File Export", "Save Spectrum as JCAMP-DX...", "-", "E&xit"}));
  EXPECT_EQ(ActionTexts(form.Calibration1->actions()),
            (QStringList{"Calibrate Sample from Lamp...", "Calibrate Reference from Lamp...", "-", "Label Peaks"}));
  EXPECT_TRUE(form.LabelPeaks1->isCheckable());
  form.CSVFileExport1->trigger();  // carries no action
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_TRUE(dialogs.SaveRequests.empty());
}

TEST_F(MainWindowTest, PrintSendsAnEmptyJobOnlyWhenConfirmed) {
  TRecordingPrinter printer;
  dialogs.PrintAnswer = false;
  form.Print1->trigger();
  EXPECT_EQ(dialogs.PrintDialogs, 1);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  EXPECT_EQ(printer.Jobs, 0);

  dialogs.PrintAnswer = true;
  bool printingDuringMessage = false;
  dialogs.OnMessage = [&](const QString&) { printingDuringMessage = printer.Printing(); };
  form.Print1->trigger();
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral(
                                  "Printing not yet coded.  Sorry, this is beta software.  Printing from graphics window may work.")});
  EXPECT_TRUE(printingDuringMessage);
  EXPECT_EQ(printer.Jobs, 1);
  EXPECT_EQ(printer.Pages, 1);
  EXPECT_FALSE(printer.Printing());

  form.PrintSetup1->trigger();
  EXPECT_EQ(dialogs.PrinterSetupDialogs, 1);
}

TEST_F(MainWindowTest, AboutStaysBesideTheMainWindowAndCloseOnlyHidesIt) {
  form.show();
  TForm2& about = *windows.Form2;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About This Program"));
  EXPECT_EQ(about.size(), QSize(385, 256));
  EXPECT_EQ(about.Button1->text(), QStringLiteral("Close"));
  EXPECT_EQ(about.Button1->pos(), QPoint(152, 176));
  EXPECT_EQ(about.Image1->geometry(), QRect(24, 157, 60, 63));
  EXPECT_FALSE(about.isVisible());
  form.About1->trigger();
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(about.isModal());
  EXPECT_TRUE(form.isEnabled());
  QTest::mouseClick(about.Button1, Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
  form.About1->trigger();
  EXPECT_TRUE(about.isVisible());
}

TEST_F(MainWindowTest, ExitClosesTheMainWindow) {
  form.show();
  ASSERT_TRUE(form.isVisible());
  form.Exit1->trigger();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, PointMeaningDialogIsReadyAtStart) {
  TForm3& dialog = *windows.Form3;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Point Click Meaning"));
  EXPECT_EQ(dialog.size(), QSize(334, 95));
  EXPECT_EQ(dialog.Answer, 0);
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Clicked Point Is"));
  struct Case { QPushButton* button; const char* caption; int left; int answer; int result; };
  for (const Case& c : std::initializer_list<Case>{{dialog.BitBtn1, "Blue End of Spectrum", 32, 0, 6},
                                                   {dialog.BitBtn2, "Red End of Spectrum", 132, 1, 7},
                                                   {dialog.BitBtn3, "Neither Cancel", 232, 2, 2}}) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(c.button->text(), QString::fromLatin1(c.caption));
    EXPECT_EQ(c.button->geometry(), QRect(c.left, 33, 75, 41));
    dialog.Answer = -1;
    c.button->click();
    EXPECT_EQ(dialog.Answer, c.answer);
    EXPECT_EQ(dialog.result(), c.result);
  }
  EXPECT_TRUE(dialog.BitBtn3->isDefault());
  dialog.Answer = 0;
  dialog.reject();  // the close box
  EXPECT_EQ(dialog.Answer, 2);
  EXPECT_EQ(dialog.result(), 2);
}

TEST_F(MainWindowTest, FileBrowsersFollowOneAnother) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir(dir.path()).mkdir(QStringLiteral("inner"));
  for (const char* name : {"b.JPG", "a.jpg", "c.Jpeg", "d.png", "notes.txt", "e.bmp", "inner/deep.jpg"}) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  form.DirectoryListBox1->SetDirectory(dir.path());
  QStringList shown;
  for (int i = 0; i < form.FileListBox1->count(); ++i) shown << form.FileListBox1->item(i)->text();
  EXPECT_EQ(shown, (QStringList{"a.jpg", "b.JPG", "c.Jpeg", "d.png", "e.bmp"}));
  form.FileListBox1->SelectFile(QStringLiteral("b.JPG"));
  EXPECT_EQ(form.FileListBox1->FileName(), QDir(dir.path()).filePath(QStringLiteral("b.JPG")));
  // The folder list shows the subfolder after the ancestors; opening it moves the file list along.
  const int last = form.DirectoryListBox1->count() - 1;
  EXPECT_EQ(form.DirectoryListBox1->item(last)->text().trimmed(), QStringLiteral("inner"));
  form.DirectoryListBox1->OpenItem(last);
  EXPECT_EQ(form.FileListBox1->Directory(), QDir(dir.path()).filePath(QStringLiteral("inner")));
  ASSERT_EQ(form.FileListBox1->count(), 1);
  // The drive box lists the root first; choosing a drive opens its root.
  EXPECT_EQ(form.DriveComboBox1->itemText(0), QDir::rootPath());
  form.DriveComboBox1->SetDrive(QDir::rootPath());
  if (form.DriveComboBox1->count() > 1) {
    form.DriveComboBox1->setCurrentIndex(1);
    EXPECT_EQ(form.DirectoryListBox1->Directory(), QDir(form.DriveComboBox1->currentText()).absolutePath());
  }
  // The reference browser is untouched.
  EXPECT_NE(form.FileListBox2->Directory(), form.FileListBox1->Directory());
}

TEST_F(MainWindowTest, RendersEveryControl) {
  form.show();
  QApplication::processEvents();
  const QImage shot = form.grab().toImage();
  ASSERT_FALSE(shot.isNull());
  const QString out = QDir::temp().filePath(QStringLiteral("lumio-main-window.png"));
  shot.save(out);
  // The chart stands in its place: its black ground, and its white title across the top.
  const QPoint plot = form.Client->mapTo(&form, QPoint(159 + 5, 400 + 170));
  EXPECT_EQ(shot.pixelColor(plot), QColor(Qt::black));
  int titlePixels = 0;
  const QRect titleBand(form.Client->mapTo(&form, QPoint(159, 400)), QSize(497, 40));
  for (int y = titleBand.top(); y <= titleBand.bottom(); ++y)
    for (int x = titleBand.left(); x <= titleBand.right(); ++x) titlePixels += shot.pixelColor(x, y) == QColor(Qt::white);
  EXPECT_GT(titlePixels, 50);
  // The red decorative strokes are drawn in red.
  bool red = false;
  const QRect strokes(form.Client->mapTo(&form, QPoint(428, 186)), QSize(160, 14));
  for (int y = strokes.top(); y <= strokes.bottom() && !red; ++y)
    for (int x = strokes.left(); x <= strokes.right() && !red; ++x) red = shot.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_TRUE(red);
}

// ---- window titles as the window system shows them ----

namespace {
// Runs in a child process on a real X server: shows the three windows and prints each title as
// the server holds it (xprop's lines for _NET_WM_NAME and WM_NAME), one window after the other.
int ShowWindowsAndPrintTitles() {
  TLumioWindows windows = CreateLumioWindows();
  QWidget* const shown[] = {windows.Form1.get(), windows.Form2.get(), windows.Form3.get()};
  for (QWidget* w : shown) {
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) return 3;
  }
  for (QWidget* w : shown) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                          QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_NAME")});
    if (!xprop.waitForFinished(20000) || xprop.exitCode() != 0) return 4;
    std::fputs(xprop.readAllStandardOutput().constData(), stdout);
  }
  std::fflush(stdout);
  return 0;
}
const TChildEntryRegistration kTitles("window-titles", ShowWindowsAndPrintTitles);

// A virtual X server for one test; it ends with the object.
class TXvfb {
 public:
  TXvfb() {
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (server.isEmpty()) return;
    // The server picks a free display and writes its number to the given descriptor.
    process_.start(server, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                            QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
    if (!process_.waitForStarted(10000)) return;
    QByteArray out;
    while (!out.contains('\n') && process_.waitForReadyRead(20000)) out += process_.readAllStandardOutput();
    bool ok = false;
    const int number = out.trimmed().toInt(&ok);
    if (ok) display_ = QStringLiteral(":%1").arg(number);
  }
  ~TXvfb() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) process_.kill(), process_.waitForFinished(10000);
  }
  QString Display() const { return display_; }

 private:
  QProcess process_;
  QString display_;
};

// The quoted values of xprop's "NAME(TYPE) = "value"" lines.
QStringList QuotedValues(const QByteArray& xpropOutput) {
  QStringList values;
  static const QRegularExpression line(QStringLiteral("^\\S+\\(\\S+\\) = \"(.*)\"$"));
  for (const QString& l : QString::fromUtf8(xpropOutput).split(QLatin1Char('\n'))) {
    const QRegularExpressionMatch m = line.match(l.trimmed());
    if (m.hasMatch()) values << m.captured(1);
  }
  return values;
}
}  // namespace

TEST(WindowTitles, ReadExactlyAsGivenInTheWindowSystem) {
  // The title the window system shows can differ from windowTitle(): Qt's X11 platform appends
  // the application display name to it. So the windows are shown on a real (virtual) X server
  // and their titles are read back from it.
  if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
    GTEST_SKIP() << "needs Xvfb and xprop (tools/deps.sh installs them)";
  TXvfb server;
  ASSERT_FALSE(server.Display().isEmpty()) << "the virtual X server did not start";
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("DISPLAY"), server.Display());
  // The X keyboard library reads its names with strndup over buffers that are not terminated
  // but long enough: the sanitizer's strict string checks would stop the child there.
  if (env.contains(QStringLiteral("ASAN_OPTIONS")))
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {ChildArgument("window-titles")});
  ASSERT_TRUE(child.waitForFinished(120000));
  const QByteArray out = child.readAllStandardOutput();
  ASSERT_EQ(child.exitCode(), 0) << out.constData() << child.readAllStandardError().constData();
  // Each window's _NET_WM_NAME, then its WM_NAME.
  EXPECT_EQ(QuotedValues(out), (QStringList{"Lumio Spectrometer", "Lumio Spectrometer", "About This Program",
                                            "About This Program", "Point Click Meaning", "Point Click Meaning"}))
      << out.constData();
}
