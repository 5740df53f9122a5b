// The CSV export on "Generate CSV File for Excel": exact bytes, appending, the dialog and the
// closing message, and failing writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/CsvExport.h"
#include "app/MainWindow.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

namespace {
const char* const kHeader =
    "pixel number, wavelength, Isample(red), Isample(green), Isample(blue), Isample(total), "
    "pixel number, wavelength, Iref(red), Iref(green), Iref(blue), Iref(total), "
    "wavelength, Transmittance, Absorbance\r\n";

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void SetRow(TSpectrumRecord& r, int i, double w, double red, double green, double blue) {
  const auto k = static_cast<std::size_t>(i);
  r.Wavelength[k] = w;
  r.RedSum[k] = red;
  r.GreenSum[k] = green;
  r.BlueSum[k] = blue;
  r.TotalSum[k] = red + green + blue;
}

// Sample of 3 rows, reference of 2 rows, 2 result points.
void FillSmallPlot(TForm1& form) {
  form.Sample.RowCount = 3;
  SetRow(form.Sample, 0, 400, 10, 20, 30);
  SetRow(form.Sample, 1, 400 + 320.0 / 301, 1.5, 0.25, 12345);
  SetRow(form.Sample, 2, 402.5, 0, 0, 0);
  form.Reference.RowCount = 2;
  SetRow(form.Reference, 0, 400, 5, 5, 5);
  SetRow(form.Reference, 1, 401, 1e-7, 2e20, 0);
  form.Transmittance.PointCount = 2;
  form.Transmittance.Wavelength[0] = 400;
  form.Transmittance.Transmittance[0] = 0.5;
  form.Transmittance.Absorbance[0] = -std::log(0.5) / std::log(10.0);
  form.Transmittance.Wavelength[1] = 401;
  form.Transmittance.Transmittance[1] = 0;
  form.Transmittance.Absorbance[1] = kAbsorbanceMarker;
}

const QByteArray kSmallPlot = QByteArray(kHeader) +
    "0,400,10,20,30,60,0,400,5,5,5,15,400,0.5,0.301029995663981\r\n"
    "1,401.063122923588,1.5,0.25,12345,12346.75,1,401,1E-7,2E20,0,2E20,401,0,-0.12345\r\n"
    "2,402.5,0,0,0,0, , , , , , , , , \r\n"
    " , , , , , , , , , , , , , , \r\n";

TEST(CsvExport, SmallPlotBytes) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = dir.filePath(QStringLiteral("out.CSV"));
  form.Button2Click();
  EXPECT_EQ(ReadAll(dialogs.SaveAnswer), kSmallPlot);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0].toStdString(), kCsvDoneMessage);
  ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(dialogs.SaveRequests[0].DefaultExt.toStdString(), "CSV");
  EXPECT_EQ(dialogs.SaveRequests[0].FileName.toStdString(), "LumioData.CSV");
  EXPECT_FALSE(dialogs.SaveRequests[0].OverwritePrompt);
}

TEST(CsvExport, AReferenceWrittenOnceServesOnlyTheSameValues) {
  TForm1 form;
  FillSmallPlot(form);
  const TCsvProfileText once = CsvProfileText(form.Reference);
  EXPECT_EQ(CsvText(form.Sample, form.Reference, form.Transmittance, once), kSmallPlot);
  // A reference changed after the text was made (its floor raised, a row more) is written anew.
  TSpectrumRecord changed = form.Reference;
  changed.TotalSum[1] = 0.01;
  EXPECT_EQ(CsvText(form.Sample, changed, form.Transmittance, once), CsvText(form.Sample, changed, form.Transmittance));
  changed = form.Reference;
  changed.RowCount = 3;
  SetRow(changed, 2, 402, 1, 2, 3);
  EXPECT_EQ(CsvText(form.Sample, changed, form.Transmittance, once), CsvText(form.Sample, changed, form.Transmittance));
  EXPECT_NE(CsvText(form.Sample, changed, form.Transmittance), kSmallPlot);
}

TEST(CsvExport, AppendsToAnExistingFile) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  TDialogRecorder dialogs;
  // A name without extension gets the default one.
  dialogs.SaveAnswer = dir.filePath(QStringLiteral("data"));
  const QString path = dir.filePath(QStringLiteral("data.CSV"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kept\r\n");
  }
  form.Button2Click();
  form.Button2Click();
  EXPECT_EQ(ReadAll(path), QByteArray("kept\r\n") + kSmallPlot + kSmallPlot);
  EXPECT_EQ(dialogs.Messages.size(), 2);
  // The second dialog proposes the name chosen the first time.
  ASSERT_EQ(dialogs.SaveRequests.size(), 2u);
  EXPECT_EQ(dialogs.SaveRequests[1].FileName, path);
}

TEST(CsvExport, BeforeAnyPlot) {
  TForm1 form;
  QTemporaryDir dir;
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = dir.filePath(QStringLiteral("LumioData.CSV"));
  form.Button2Click();
  EXPECT_EQ(ReadAll(dialogs.SaveAnswer), QByteArray(kHeader) + " , , , , , , , , , , , , , , \r\n");
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kCsvDoneMessage)});
}

TEST(CsvExport, CancelWritesNothing) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  TDialogRecorder dialogs;  // no answer: the dialog is cancelled
  form.Button2Click();
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kCsvDoneMessage)});
  ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
}

TEST(CsvExport, ButtonRunsTheExport) {
  TForm1 form;
  QTemporaryDir dir;
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = dir.filePath(QStringLiteral("b.CSV"));
  form.Button2->setEnabled(true);
  form.Button2->click();
  EXPECT_TRUE(QFile::exists(dialogs.SaveAnswer));
  EXPECT_EQ(dialogs.Messages.size(), 1);
}

TEST(CsvExport, AFailingSaveDialogEndsTheCommandWithItsMessage) {
  // A click reaches the handler from the Qt event loop: a failure must not go on from there.
  struct TFailingDialogs : TDialogRecorder {
    bool ExecuteSave(const TSaveDialogOptions&, QString&) override {
      throw std::runtime_error("The dialog could not be shown.");
    }
  } dialogs;
  TForm1 form;
  form.Button2->setEnabled(true);
  EXPECT_NO_THROW(form.Button2->click());
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("The dialog could not be shown.")});
}

TEST(CsvExport, LongProfilesPastTheStandardCapacity) {
  TSpectrumRecord s, r;
  s.EnsureCapacity(1500);
  s.RowCount = 1500;
  for (int i = 0; i < 1500; ++i) SetRow(s, i, 400 + i, i, 0, 0);
  TTransmittanceResult t;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("long.CSV"));
  WriteCsvFile(path, s, r, t);
  const QList<QByteArray> lines = ReadAll(path).split('\n');
  ASSERT_EQ(lines.size(), 1 + 1501 + 1);  // header, rows 0-1500, and the empty rest after the last CR LF
  EXPECT_EQ(lines[1500], QByteArray("1499,1899,1499,0,0,1499, , , , , , , , , \r"));
  EXPECT_EQ(lines[1501], QByteArray(" , , , , , , , , , , , , , , \r"));
}

// Failing writes: the input/output message names the file, the closing message follows, and the
// program goes on.
void ExpectFailure(const TDialogRecorder& dialogs, const QString& path, const char* reason) {
  ASSERT_EQ(dialogs.Messages.size(), 2) << dialogs.Messages.join(QStringLiteral(" | ")).toStdString();
  EXPECT_TRUE(dialogs.Messages[0].contains(path)) << dialogs.Messages[0].toStdString();
  EXPECT_TRUE(dialogs.Messages[0].contains(QString::fromLatin1(reason))) << dialogs.Messages[0].toStdString();
  EXPECT_EQ(dialogs.Messages[1].toStdString(), kCsvDoneMessage);
}

TEST(CsvExport, FullDisk) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("full.CSV"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = path;
  form.Button2Click();
  ExpectFailure(dialogs, path, "No space left on device");
}

TEST(CsvExport, FolderChosenAsTheFile) {
  TForm1 form;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("folder.CSV"));
  ASSERT_TRUE(QDir().mkdir(path));
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = path;
  form.Button2Click();
  ExpectFailure(dialogs, path, "Is a directory");
}

TEST(CsvExport, PipeWithoutReaderIsRefusedInsteadOfWaiting) {
  // A named pipe chosen in the dialog: opening it for writing would wait for a reader forever.
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("pipe.CSV"));
  ASSERT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = path;
  alarm(20);  // a hang ends the test program instead of the whole run
  form.Button2Click();
  alarm(0);
  ExpectFailure(dialogs, path, "No such device or address");
}

TEST(CsvExport, FailureMidwayKeepsTheLinesWritten) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("limited.CSV"));
  TDialogRecorder dialogs;
  dialogs.SaveAnswer = path;
  // A file-size limit just past the header and part of the first row makes a later write fail.
  const rlim_t limit = static_cast<rlim_t>(std::strlen(kHeader) + 40);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  if (old.rlim_max != RLIM_INFINITY && old.rlim_max < limit) GTEST_SKIP() << "file size limit too low already";
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit lowered = old;
  lowered.rlim_cur = limit;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
  form.Button2Click();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(ReadAll(path), kSmallPlot.left(static_cast<qsizetype>(limit)));
  ExpectFailure(dialogs, path, "File too large");
}

// Permissions bind only an ordinary user. Run as root (as CI runs), the test takes the effective
// user id of "nobody" for the exports and gives the files to it, and gets root back at the end.
class TOrdinaryUser {
 public:
  static constexpr uid_t kNobody = 65534;
  TOrdinaryUser() {
    if (geteuid() != 0) return;
    if (setegid(kNobody) != 0) return;
    if (seteuid(kNobody) != 0) {
      setegid(0);
      return;
    }
    switched_ = true;
  }
  ~TOrdinaryUser() { Restore(); }
  void Restore() {
    if (!switched_) return;
    // Back to root: the saved user id is still 0, so this is allowed.
    if (seteuid(0) == 0) setegid(0);
    switched_ = false;
  }
  // The user the files of the test must belong to.
  static uid_t Owner() { return geteuid() == 0 ? kNobody : geteuid(); }
  static gid_t Group() { return geteuid() == 0 ? kNobody : getegid(); }
  bool Ordinary() const { return geteuid() != 0; }

 private:
  bool switched_ = false;
};

// A file with the given content and permissions, owned by the user the exports run as.
void MakeFile(const QString& path, const QByteArray& content, mode_t mode) {
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }
  const QByteArray native = QFile::encodeName(path);
  ASSERT_EQ(chown(native.constData(), TOrdinaryUser::Owner(), TOrdinaryUser::Group()), 0);
  ASSERT_EQ(chmod(native.constData(), mode), 0);
}

TEST(CsvExport, UnwritableFiles) {
  TForm1 form;
  FillSmallPlot(form);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // The folder belongs to the exporting user, so that only the files' own permissions count.
  const QByteArray folder = QFile::encodeName(dir.path());
  ASSERT_EQ(chown(folder.constData(), TOrdinaryUser::Owner(), TOrdinaryUser::Group()), 0);
  const QString readOnly = dir.filePath(QStringLiteral("ro.CSV"));
  MakeFile(readOnly, "old\r\n", S_IRUSR);
  const QString writeOnly = dir.filePath(QStringLiteral("wo.CSV"));
  MakeFile(writeOnly, "old\r\n", S_IWUSR);

  TDialogRecorder dialogs;
  {
    TOrdinaryUser user;
    ASSERT_TRUE(user.Ordinary()) << "the superuser could not take the id of an ordinary user";
    // A read-only file is refused and keeps its content.
    dialogs.SaveAnswer = readOnly;
    form.Button2Click();
    ExpectFailure(dialogs, readOnly, "Permission denied");
    // A file that can be written but not read is appended to, not emptied.
    dialogs.Messages.clear();
    dialogs.SaveAnswer = writeOnly;
    form.Button2Click();
    EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kCsvDoneMessage)});
  }
  EXPECT_EQ(ReadAll(readOnly), QByteArray("old\r\n"));
  ASSERT_EQ(chmod(QFile::encodeName(writeOnly).constData(), S_IRUSR | S_IWUSR), 0);
  EXPECT_EQ(ReadAll(writeOnly), QByteArray("old\r\n") + kSmallPlot);
}
}  // namespace
