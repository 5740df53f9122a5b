// The command line run as a process, against the window's own results for the same inputs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <map>
#include <zlib.h>

#include "app/ChartSetup.h"
#include "app/CsvExport.h"
#include "app/JcampExport.h"
#include "app/SpectrumCore.h"
#include "app/calibration/Workspace.h"
#include "app/cli/CommandLine.h"
#include "chart/core/iXYPlot.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "support/PictureFiles.h"
#include "support/WindowsFixture.h"

namespace {
const QString kExamples = QDir(QStringLiteral(LUMIO_FIXTURES "/../../examples")).absolutePath();
QString Example(const char* name) { return kExamples + QLatin1Char('/') + QLatin1String(name); }

struct TRunResult {
  int Exit = -1;
  QString Out, Err;
};

// Runs the program with no display and no platform chosen for it: it must choose its own.
TRunResult RunProgram(const QStringList& arguments, const QString& folder = QString()) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  p.setProcessEnvironment(env);
  if (!folder.isEmpty()) p.setWorkingDirectory(folder);
  p.start(QStringLiteral(LUMIO_PROGRAM), arguments);
  TRunResult r;
  if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit) {
    ADD_FAILURE() << "the program did not finish: " << p.errorString().toStdString();
    return r;
  }
  r.Exit = p.exitCode();
  r.Out = QString::fromUtf8(p.readAllStandardOutput());
  r.Err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The example pair with the README's marks: both ends at (110, 75) and (414, 75), band 5.
QStringList ExamplePair() {
  return {QStringLiteral("--sample"), Example("webcam-1-ipa-glass.jpg"), QStringLiteral("--reference"),
          Example("webcam-ipa-glass.jpg"), QStringLiteral("--sample-ends"), QStringLiteral("110,75,414,75"),
          QStringLiteral("--reference-ends"), QStringLiteral("110,75,414,75"), QStringLiteral("--band"), QStringLiteral("5")};
}

const char* const kTraceNames[] = {"sample", "reference", "both", "transmittance", "absorbance"};
const char* const kAbscissaNames[] = {"pixel", "wavelength"};

// ---- an independent reader of the JCAMP-DX files written here ----

struct TJcampBlock {
  std::map<QString, QString> Labels;  // the last value of each label in the block
  std::vector<std::pair<double, double>> Points;
  bool YMissing = false;
};

// Reads labels (##NAME=value) and (XY..XY) tables. Each TITLE opens a block and each END closes
// the innermost one; a LINK block's labels are the file's outer labels, the others are spectra.
std::vector<TJcampBlock> ParseJcamp(const QString& text, std::map<QString, QString>& outer) {
  std::vector<TJcampBlock> blocks, open;
  bool inPoints = false;
  for (const QString& raw : text.split(QStringLiteral("\r\n"))) {
    const QString line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith(QStringLiteral("##"))) {
      inPoints = false;
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      EXPECT_GT(eq, 2) << line.toStdString();
      const QString name = line.mid(2, eq - 2).trimmed().toUpper(), value = line.mid(eq + 1).trimmed();
      if (name == QLatin1String("TITLE")) open.emplace_back();
      if (open.empty()) {
        ADD_FAILURE() << "label outside a block: " << line.toStdString();
        continue;
      }
      if (name == QLatin1String("END")) {
        TJcampBlock done = open.back();
        open.pop_back();
        if (done.Labels[QStringLiteral("DATA TYPE")] == QLatin1String("LINK"))
          outer = done.Labels;
        else
          blocks.push_back(done);
        continue;
      }
      open.back().Labels[name] = value;
      if (name == QLatin1String("XYPOINTS")) inPoints = true;
      continue;
    }
    EXPECT_TRUE(inPoints && !open.empty()) << "data outside a table: " << line.toStdString();
    if (open.empty()) continue;
    const QStringList xy = line.split(QLatin1Char(','));
    EXPECT_EQ(xy.size(), 2) << line.toStdString();
    if (xy.size() != 2) continue;
    bool okX = false, okY = false;
    const double x = xy[0].trimmed().toDouble(&okX), y = xy[1].trimmed().toDouble(&okY);
    EXPECT_TRUE(okX) << line.toStdString();
    if (!okY) {
      EXPECT_EQ(xy[1].trimmed(), QStringLiteral("?"));
      open.back().YMissing = true;
    }
    open.back().Points.emplace_back(x, okY ? y : NAN);
  }
  EXPECT_TRUE(open.empty()) << "every block ends";
  return blocks;
}

// ---- PDF: the page count and the drawing operators of its (deflated) content streams ----

QByteArray InflateStreams(const QByteArray& pdf) {
  QByteArray out;
  qsizetype at = 0;
  while ((at = pdf.indexOf("stream", at)) >= 0) {
    qsizetype start = at + 6;
    if (pdf.mid(start, 2) == "\r\n") start += 2;
    else if (pdf.mid(start, 1) == "\n") start += 1;
    else {
      at = start;
      continue;
    }
    const qsizetype end = pdf.indexOf("endstream", start);
    if (end < 0) break;
    QByteArray inflated(1 << 22, '\0');
    uLongf size = static_cast<uLongf>(inflated.size());
    if (uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size, reinterpret_cast<const Bytef*>(pdf.constData() + start),
                   static_cast<uLong>(end - start)) == Z_OK)
      out += inflated.left(static_cast<qsizetype>(size));
    else
      out += pdf.mid(start, end - start);
    at = end + 9;
  }
  return out;
}

class CliTest : public TLumioWindowsTest {
 protected:
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  // The window with the example pair loaded and marked as ExamplePair says, then plotted.
  void PlotInWindow(int trace, int abscissa) {
    form.LoadPicture(Example("webcam-1-ipa-glass.jpg"), sdSample);
    form.LoadPicture(Example("webcam-ipa-glass.jpg"), sdReference);
    for (int n : {2, 9}) form.Edit[n]->setText(QStringLiteral("110"));
    for (int n : {3, 6, 10, 13}) form.Edit[n]->setText(QStringLiteral("75"));
    for (int n : {5, 12}) form.Edit[n]->setText(QStringLiteral("414"));
    form.Edit[7]->setText(QStringLiteral("5"));
    form.RefreshRecord(form.Sample);
    form.RefreshRecord(form.Reference);
    form.RadioGroup1->SetItemIndex(trace);
    form.RadioGroup2->SetItemIndex(abscissa);
    form.Button1Click();
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
  }
};
}  // namespace

TEST_F(CliTest, HelpAndVersionAndUsageErrors) {
  const TRunResult help = RunProgram({QStringLiteral("--help")});
  EXPECT_EQ(help.Exit, 0);
  // One line per option, each naming it.
  for (const char* option : {"--workspace FILE", "--sample FILE", "--reference FILE", "--sample-ends", "--reference-ends",
                             "--sample-wavelengths", "--reference-wavelengths", "--band N", "--trace", "--abscissa",
                             "--calibrate-lamp FILE", "--lamp", "--fit", "--calibrate-side", "--csv OUT", "--jcamp OUT",
                             "--png OUT", "--svg OUT", "--pdf OUT", "--size WxH", "--json", "--help", "--version"}) {
    const QRegularExpression line(QStringLiteral("^  %1\\s+\\S").arg(QRegularExpression::escape(QLatin1String(option))),
                                  QRegularExpression::MultilineOption);
    EXPECT_TRUE(line.match(help.Out).hasMatch()) << option;
  }
  const TRunResult version = RunProgram({QStringLiteral("--version")});
  EXPECT_EQ(version.Exit, 0);
  EXPECT_EQ(version.Out, QStringLiteral("lumio-spectrometer 0.1.0\n"));

  struct Case {
    QStringList Arguments;
    const char* Message;
  };
  const QString a = Example("webcam-1-ipa-glass.jpg"), b = Example("webcam-2-ipa-glass.jpg");
  const QString csv = Path("usage.csv");
  for (const Case& c : std::initializer_list<Case>{
           {{QStringLiteral("--bogus")}, "Unknown option 'bogus'."},
           {{QStringLiteral("--csv")}, "Missing value after '--csv'."},
           {{QStringLiteral("stray")}, "Unexpected argument 'stray'."},
           {{QStringLiteral("--sample"), a}, "--sample needs an output"},
           {{QStringLiteral("--sample"), a, QStringLiteral("--sample"), b, QStringLiteral("--csv"), csv},
            "--csv needs {name} in its file name when several samples are given."},
           {{QStringLiteral("--sample"), a, QStringLiteral("--trace"), QStringLiteral("sideways"), QStringLiteral("--csv"), csv},
            "Unknown trace 'sideways'"},
           {{QStringLiteral("--sample"), a, QStringLiteral("--sample-ends"), QStringLiteral("1,2,3"), QStringLiteral("--csv"), csv},
            "--sample-ends takes four numbers"},
           {{QStringLiteral("--sample"), a, QStringLiteral("--size"), QStringLiteral("0x10"), QStringLiteral("--png"), csv},
            "--size takes a width and a height"},
           {{QStringLiteral("--sample"), a, QStringLiteral("--json"), QStringLiteral("--csv"), csv}, "--json belongs to --calibrate-lamp."},
           {{QStringLiteral("--band"), QStringLiteral("3"), QStringLiteral("--band"), QStringLiteral("4"), QStringLiteral("--csv"), csv},
            "Option 'band' is given more than once."},
           {{QStringLiteral("--sample"), a, QStringLiteral("--trace"), QStringLiteral("transmittance"), QStringLiteral("--csv"), csv},
            "The trace needs a reference picture"},
       }) {
    SCOPED_TRACE(c.Arguments.join(QLatin1Char(' ')).toStdString());
    const TRunResult r = RunProgram(c.Arguments);
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Err.startsWith(QStringLiteral("lumio-spectrometer: "))) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.section(QLatin1Char('\n'), 0, 0).contains(QLatin1String(c.Message))) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("\nUsage: lumio-spectrometer"))) << "with the usage text";
    EXPECT_FALSE(QFile::exists(csv));
  }
}

TEST_F(CliTest, CsvEqualsTheWindowsFile) {
  PlotInWindow(ptBothIntensities, paWavelength);
  const QString windowCsv = Path("window.csv");
  dialogs.SaveAnswer = windowCsv;
  form.Button2Click();
  const QByteArray expected = ReadAll(windowCsv);
  ASSERT_GT(expected.size(), 10000);

  const QString cliCsv = Path("cli.csv");
  const TRunResult r = RunProgram(ExamplePair() + QStringList{QStringLiteral("--trace"), QStringLiteral("both"),
                                                              QStringLiteral("--abscissa"), QStringLiteral("wavelength"),
                                                              QStringLiteral("--csv"), cliCsv});
  EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
  EXPECT_EQ(ReadAll(cliCsv), expected);
  EXPECT_EQ(CsvText(form.Sample, form.Reference, form.Transmittance), expected);
}

TEST_F(CliTest, EveryTraceAsPngSvgAndPdfShowsTheWindowsChart) {
  for (int trace = 0; trace < 5; ++trace) {
    for (int abscissa = 0; abscissa < 2; ++abscissa) {
      SCOPED_TRACE(testing::Message() << kTraceNames[trace] << " against " << kAbscissaNames[abscissa]);
      dialogs.Messages.clear();
      PlotInWindow(trace, abscissa);
      const QImage window = RenderBitmap(*form.iXYPlot1).Image().convertToFormat(QImage::Format_RGB32);

      const QString stem = QStringLiteral("%1-%2").arg(QLatin1String(kTraceNames[trace]), QLatin1String(kAbscissaNames[abscissa]));
      const QString png = dir.filePath(stem + QStringLiteral(".png"));
      const QString svg = dir.filePath(stem + QStringLiteral(".svg")), pdf = dir.filePath(stem + QStringLiteral(".pdf"));
      const TRunResult r = RunProgram(ExamplePair() + QStringList{QStringLiteral("--trace"), QLatin1String(kTraceNames[trace]),
                                                                  QStringLiteral("--abscissa"), QLatin1String(kAbscissaNames[abscissa]),
                                                                  QStringLiteral("--png"), png, QStringLiteral("--svg"), svg,
                                                                  QStringLiteral("--pdf"), pdf});
      ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();

      const QImage picture = QImage(png).convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(picture.size(), QSize(kSpectrumChartWidth, kSpectrumChartHeight));
      EXPECT_TRUE(picture == window) << "the picture is the window's chart";
      // The curves are there: pixels of the first channel's colour inside the data view.
      const QRgb first = ToQColor(form.iXYPlot1->Channel(trace == ptReferenceIntensity ? 4 : 0)->Color()).rgb();
      int curve = 0;
      for (int y = 40; y < 290; ++y)
        for (int x = 80; x < 330; ++x) curve += (picture.pixel(x, y) & 0xFFFFFF) == (first & 0xFFFFFF);
      EXPECT_GT(curve, 150);

      QXmlStreamReader xml(ReadAll(svg));
      int paths = 0, texts = 0;
      while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
          paths += xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline");
          texts += xml.name() == QLatin1String("text");
        }
      }
      EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
      EXPECT_GT(paths, 20);
      EXPECT_GT(texts, 5);

      const QByteArray pdfBytes = ReadAll(pdf);
      EXPECT_TRUE(pdfBytes.startsWith("%PDF-"));
      EXPECT_TRUE(pdfBytes.trimmed().endsWith("%%EOF"));
      EXPECT_EQ(pdfBytes.count("/Type /Page\n") + pdfBytes.count("/Type /Page\r") + pdfBytes.count("/Type /Page/") +
                    pdfBytes.count("/Type /Page "),
                1)
          << "one page";
      const QByteArray content = InflateStreams(pdfBytes);
      const qsizetype lines = content.count(" l\n"), moves = content.count(" m\n");
      EXPECT_GT(moves, 10);
      EXPECT_GT(lines, 300) << "the curves' line segments";
    }
  }
}

TEST_F(CliTest, BadInputsGiveTheirMessageAndWriteNothing) {
  const QString notJpeg = Path("notes.jpg");
  ASSERT_TRUE(WriteBytes(notJpeg, "not a picture at all"));
  const QString missing = Path("missing.jpg");
  struct Case {
    QStringList Arguments;  // replacing or adding to the example pair's
    const char* Message;
  };
  const auto pairWith = [](const QStringList& changes) {
    QStringList args = ExamplePair();
    for (int i = 0; i + 1 < changes.size(); i += 2) {
      const qsizetype at = args.indexOf(changes[i]);
      if (at >= 0)
        args[at + 1] = changes[i + 1];
      else
        args << changes[i] << changes[i + 1];
    }
    return args;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{QStringLiteral("--sample"), missing}, "missing.jpg"},
           {{QStringLiteral("--reference"), notJpeg}, "notes.jpg: When is a JPG not a JPG?"},
           {{QStringLiteral("--sample"), notJpeg}, "notes.jpg: When is a JPG not a JPG?"},
           {{QStringLiteral("--sample-ends"), QStringLiteral("110,75,9999,75")},
            "webcam-1-ipa-glass.jpg: --sample-ends: Input must be an integer in the range 0 to 640.  Please re-enter."},
           {{QStringLiteral("--reference-ends"), QStringLiteral("110,x,414,75")},
            "webcam-ipa-glass.jpg: --reference-ends: Input must be an integer in the range 0 to 150.  Please re-enter."},
           {{QStringLiteral("--sample-wavelengths"), QStringLiteral("500,500")},
            "--sample-wavelengths: Input must be a real number in the range 200.0 to 499.0.  Please re-enter."},
           {{QStringLiteral("--reference-wavelengths"), QStringLiteral("400,1200")},
            "--reference-wavelengths: Input must be a real number in the range 401.0 to 999.9.  Please re-enter."},
           {{QStringLiteral("--band"), QStringLiteral("0")}, "--band: Input must be an integer in the range 1 to 99.  Please re-enter."},
           {{QStringLiteral("--trace"), QStringLiteral("transmittance"), QStringLiteral("--sample-ends"), QStringLiteral("110,75,110,75")},
            "Scale parameters must allow a finite range of pixels or wavelengths to be displayed."},
       }) {
    SCOPED_TRACE(c.Arguments.join(QLatin1Char(' ')).toStdString());
    QDir(dir.path()).mkdir(QStringLiteral("out"));
    const QString out = Path("out/spectrum");
    const TRunResult r = RunProgram(pairWith(c.Arguments) + QStringList{QStringLiteral("--csv"), out + QStringLiteral(".csv"),
                                                                        QStringLiteral("--jcamp"), out + QStringLiteral(".jdx"),
                                                                        QStringLiteral("--png"), out + QStringLiteral(".png")});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(QLatin1String(c.Message))) << r.Err.toStdString();
    EXPECT_EQ(r.Err.count(QLatin1Char('\n')), 1) << "one line: " << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(QDir(Path("out")).isEmpty()) << "nothing written";
  }
}

TEST_F(CliTest, AnUnwritableOutputIsReportedAndTheOthersAreWritten) {
  const QString png = Path("chart.png"), csv = Path("no-such-folder/spectrum.csv");
  const TRunResult r = RunProgram(ExamplePair() + QStringList{QStringLiteral("--csv"), csv, QStringLiteral("--png"), png});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_TRUE(r.Err.contains(QStringLiteral("spectrum.csv"))) << r.Err.toStdString();
  EXPECT_EQ(r.Err.count(QLatin1Char('\n')), 1) << r.Err.toStdString();
  EXPECT_FALSE(QImage(png).isNull());
  EXPECT_FALSE(QFileInfo::exists(csv));
}

TEST_F(CliTest, BatchWritesOneSetPerSampleAndReportsTheBadPhotograph) {
  const QString bad = Path("cuvette-3.jpg");
  ASSERT_TRUE(WriteBytes(bad, QByteArray("\xFF\xD8\xFF\xE0 truncated")));
  QStringList args = ExamplePair();
  args.removeAt(0), args.removeAt(0);  // the sample
  for (const QString& s : {Example("webcam-1-ipa-glass.jpg"), bad, Example("webcam-2-ipa-glass.jpg")}) args << QStringLiteral("--sample") << s;
  args << QStringLiteral("--trace") << QStringLiteral("transmittance") << QStringLiteral("--csv") << Path("{name}.csv")
       << QStringLiteral("--png") << Path("{name}-chart.png") << QStringLiteral("--jcamp") << Path("{name}.jdx");
  const TRunResult r = RunProgram(args);
  EXPECT_EQ(r.Exit, 1);
  const QStringList lines = r.Err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << r.Err.toStdString();
  EXPECT_TRUE(lines[0].startsWith(bad + QStringLiteral(": "))) << r.Err.toStdString();
  for (const char* name : {"webcam-1-ipa-glass", "webcam-2-ipa-glass"}) {
    SCOPED_TRACE(name);
    const QString stem = Path(name);
    EXPECT_GT(ReadAll(stem + QStringLiteral(".csv")).size(), 10000);
    EXPECT_FALSE(QImage(stem + QStringLiteral("-chart.png")).isNull());
    EXPECT_TRUE(ReadAll(stem + QStringLiteral(".jdx")).contains("##YUNITS=TRANSMITTANCE"));
  }
  EXPECT_NE(ReadAll(Path("webcam-1-ipa-glass.csv")), ReadAll(Path("webcam-2-ipa-glass.csv")));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 7) << "two sets and the bad photograph";

  // Each file equals that of a run with the sample alone.
  QStringList alone = ExamplePair();
  alone[1] = Example("webcam-2-ipa-glass.jpg");
  alone << QStringLiteral("--trace") << QStringLiteral("transmittance") << QStringLiteral("--csv") << Path("alone.csv");
  ASSERT_EQ(RunProgram(alone).Exit, 0);
  EXPECT_EQ(ReadAll(Path("alone.csv")), ReadAll(Path("webcam-2-ipa-glass.csv")));
}

TEST_F(CliTest, APhotographDamagedBelowItsBandIsRefusedAsTheWindowRefusesIt) {
  // The batch makes pixels of the band's rows only; the rest of the file must still be read.
  const QByteArray whole = ReadAll(Example("webcam-1-ipa-glass.jpg"));
  ASSERT_GT(whole.size(), 5000);
  const QString cut = Path("cut.jpg");
  ASSERT_TRUE(WriteBytes(cut, whole.left(whole.size() - 300)));
  TBitmap picture;
  QString windowMessage;
  ASSERT_FALSE(LoadSpectrumPicture(cut, picture, windowMessage));
  QStringList args = ExamplePair();
  args[1] = cut;
  args << QStringLiteral("--trace") << QStringLiteral("transmittance") << QStringLiteral("--csv") << Path("cut.csv");
  const TRunResult r = RunProgram(args);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err.trimmed(), cut + QStringLiteral(": ") + windowMessage);
  EXPECT_FALSE(QFile::exists(Path("cut.csv")));
}

TEST_F(CliTest, TheSaturationNoteNamesBothSidesAsTheWindowsDoes) {
  // White photographs: every band row is clipped in every colour, on both sides. The batch words
  // its reference once; the note must still be the window's.
  const QString sample = Path("white-sample.jpg"), reference = Path("white-reference.jpg");
  ASSERT_TRUE(WriteJpegFile(sample, FlatPicture(640, 150, clWhite)));
  ASSERT_TRUE(WriteJpegFile(reference, FlatPicture(640, 150, clWhite)));
  TBitmap s, r;
  QString message;
  ASSERT_TRUE(LoadSpectrumPicture(sample, s, message));
  ASSERT_TRUE(LoadSpectrumPicture(reference, r, message));
  TSpectrumRecord S, R;
  for (TSpectrumRecord* rec : {&S, &R}) rec->BlueX = 110, rec->BlueY = 75, rec->RedX = 414, rec->RedY = 75, rec->BandWidth = 5;
  const QString expected = SaturationNoteText(ptTransmittance, &s, S, &r, R);
  ASSERT_TRUE(expected.contains(QStringLiteral("; reference "))) << expected.toStdString();
  QStringList args = ExamplePair();
  args[1] = sample;
  args[3] = reference;
  args << QStringLiteral("--trace") << QStringLiteral("transmittance") << QStringLiteral("--svg") << Path("white.svg");
  const TRunResult run = RunProgram(args);
  ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
  EXPECT_TRUE(QString::fromUtf8(ReadAll(Path("white.svg"))).contains(expected)) << expected.toStdString();
}

TEST_F(CliTest, JcampFileReadsBackAsThePlottedSpectrumAndEqualsTheWindowsMenuItem) {
  for (int trace : {ptTransmittance, ptSampleIntensity, ptBothIntensities}) {
    for (int abscissa : {paPixelNumber, paWavelength}) {
      SCOPED_TRACE(testing::Message() << kTraceNames[trace] << " against " << kAbscissaNames[abscissa]);
      dialogs.Messages.clear();
      PlotInWindow(trace, abscissa);
      const QString windowFile = dir.filePath(QStringLiteral("window-%1-%2.jdx").arg(trace).arg(abscissa));
      dialogs.SaveAnswer = windowFile;
      form.SaveJcamp1->trigger();
      ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
      const QString file = dir.filePath(QStringLiteral("cli-%1-%2.jdx").arg(trace).arg(abscissa));
      const TRunResult r = RunProgram(ExamplePair() + QStringList{QStringLiteral("--trace"), QLatin1String(kTraceNames[trace]),
                                                                  QStringLiteral("--abscissa"), QLatin1String(kAbscissaNames[abscissa]),
                                                                  QStringLiteral("--jcamp"), file});
      ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
      const QByteArray bytes = ReadAll(file);
      EXPECT_EQ(bytes, ReadAll(windowFile));

      std::map<QString, QString> outer;
      const std::vector<TJcampBlock> blocks = ParseJcamp(QString::fromUtf8(bytes), outer);
      const bool both = trace == ptBothIntensities;
      ASSERT_EQ(blocks.size(), both ? 2u : 1u);
      if (both) {
        EXPECT_EQ(outer[QStringLiteral("DATA TYPE")], QStringLiteral("LINK"));
        EXPECT_EQ(outer[QStringLiteral("BLOCKS")], QStringLiteral("2"));
      }
      for (std::size_t k = 0; k < blocks.size(); ++k) {
        const TJcampBlock& b = blocks[k];
        std::map<QString, QString> labels = b.Labels;
        EXPECT_EQ(labels[QStringLiteral("JCAMP-DX")], QStringLiteral("5.01"));
        EXPECT_EQ(labels[QStringLiteral("DATA TYPE")], QStringLiteral("UV/VIS SPECTRUM"));
        for (const char* required : {"TITLE", "ORIGIN", "OWNER", "XFACTOR", "YFACTOR"}) EXPECT_EQ(labels.count(QLatin1String(required)), 1u) << required;
        const bool nm = trace >= ptTransmittance || abscissa == paWavelength;
        EXPECT_EQ(labels[QStringLiteral("XUNITS")], nm ? QStringLiteral("NANOMETERS") : QStringLiteral("PIXEL NUMBER"));
        EXPECT_EQ(labels[QStringLiteral("YUNITS")], trace == ptTransmittance ? QStringLiteral("TRANSMITTANCE")
                                                                             : QStringLiteral("ARBITRARY UNITS"));
        EXPECT_EQ(labels[QStringLiteral("XYPOINTS")], QStringLiteral("(XY..XY)"));
        ASSERT_EQ(labels[QStringLiteral("NPOINTS")].toInt(), static_cast<int>(b.Points.size()));
        const double xf = labels[QStringLiteral("XFACTOR")].toDouble(), yf = labels[QStringLiteral("YFACTOR")].toDouble();
        EXPECT_DOUBLE_EQ(labels[QStringLiteral("FIRSTX")].toDouble(), b.Points.front().first * xf);
        EXPECT_DOUBLE_EQ(labels[QStringLiteral("LASTX")].toDouble(), b.Points.back().first * xf);
        // The values are the plotted ones: the window's records, to the 15 digits written.
        const TSpectrumRecord& r2 = k == 0 && trace != ptReferenceIntensity ? form.Sample : form.Reference;
        for (std::size_t i = 0; i < b.Points.size(); ++i) {
          double x = 0, y = 0;
          if (trace == ptTransmittance) {
            x = form.Transmittance.Wavelength[i], y = form.Transmittance.Transmittance[i];
          } else {
            x = abscissa == paWavelength ? r2.Wavelength[i] : static_cast<double>(i), y = r2.TotalSum[i];
          }
          ASSERT_NEAR(b.Points[i].first * xf, x, 1e-9 * std::max(1.0, std::abs(x))) << i;
          if (std::isfinite(y)) ASSERT_NEAR(b.Points[i].second * yf, y, 1e-9 * std::max(1.0, std::abs(y))) << i;
        }
        if (trace == ptTransmittance) EXPECT_EQ(static_cast<int>(b.Points.size()), ResultPoints(form.Transmittance));
        else EXPECT_EQ(static_cast<int>(b.Points.size()), ProfileRows(r2));
      }
    }
  }
}

TEST_F(CliTest, WorkspaceValuesAndOptionsOverridingThem) {
  PlotInWindow(ptTransmittance, paWavelength);
  const QString workspace = Path("pair.lumio");
  form.SaveWorkspace(workspace);
  const QString fromOptions = Path("options.csv"), fromWorkspace = Path("workspace.csv"), overridden = Path("band3.csv");
  ASSERT_EQ(RunProgram(ExamplePair() + QStringList{QStringLiteral("--csv"), fromOptions}).Exit, 0);
  const TRunResult r = RunProgram({QStringLiteral("--workspace"), workspace, QStringLiteral("--csv"), fromWorkspace,
                                   QStringLiteral("--jcamp"), Path("workspace.jdx")});
  ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
  EXPECT_EQ(ReadAll(fromWorkspace), ReadAll(fromOptions));
  EXPECT_TRUE(ReadAll(Path("workspace.jdx")).contains("##YUNITS=TRANSMITTANCE")) << "the workspace's trace";

  ASSERT_EQ(RunProgram({QStringLiteral("--workspace"), workspace, QStringLiteral("--band"), QStringLiteral("3"),
                        QStringLiteral("--csv"), overridden}).Exit, 0);
  QStringList band3 = ExamplePair();
  band3[band3.indexOf(QStringLiteral("--band")) + 1] = QStringLiteral("3");
  ASSERT_EQ(RunProgram(band3 + QStringList{QStringLiteral("--csv"), fromOptions}).Exit, 0);
  EXPECT_EQ(ReadAll(overridden), ReadAll(fromOptions));
  EXPECT_NE(ReadAll(overridden), ReadAll(fromWorkspace));

  ASSERT_TRUE(WriteBytes(Path("broken.lumio"), "{ not json"));
  const TRunResult broken = RunProgram({QStringLiteral("--workspace"), Path("broken.lumio"), QStringLiteral("--csv"), Path("b.csv")});
  EXPECT_EQ(broken.Exit, 1);
  EXPECT_TRUE(broken.Err.startsWith(QStringLiteral("broken.lumio is not a Lumio workspace or is damaged ("))) << broken.Err.toStdString();
  EXPECT_EQ(broken.Err.count(QLatin1Char('\n')), 1) << broken.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("b.csv")));
}

TEST_F(CliTest, LampCalibrationPrintsItsFitAndAppliesIt) {
  const QStringList lamp{QStringLiteral("--calibrate-lamp"), Example("webcam-cfl.jpg")};
  for (const char* fit : {"linear", "quadratic"}) {
    SCOPED_TRACE(fit);
    const QString csv = dir.filePath(QStringLiteral("%1.csv").arg(QLatin1String(fit)));
    const TRunResult r = RunProgram(ExamplePair() + lamp + QStringList{QStringLiteral("--fit"), QLatin1String(fit),
                                                                       QStringLiteral("--json"), QStringLiteral("--csv"), csv});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    ASSERT_EQ(r.Out.count(QLatin1Char('\n')), 1) << "one object: " << r.Out.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.Out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.Out.toStdString();
    const QJsonArray c = o[QStringLiteral("coefficients")].toArray();
    ASSERT_EQ(c.size(), 3);
    if (QLatin1String(fit) == QLatin1String("linear")) EXPECT_EQ(c[2].toDouble(), 0.0);
    else EXPECT_NE(c[2].toDouble(), 0.0);
    // The lamp's 546.07 nm line lies near x 250 (README), so the scale keeps near 1.05 nm per row.
    EXPECT_NEAR(c[1].toDouble(), 1.05, 0.1);
    const QJsonArray lines = o[QStringLiteral("lines")].toArray();
    ASSERT_GE(lines.size(), 3);
    double squares = 0;
    for (const QJsonValue& v : lines) {
      const QJsonObject l = v.toObject();
      const double row = l[QStringLiteral("row")].toDouble();
      EXPECT_NEAR(l[QStringLiteral("fitted_nm")].toDouble(), c[0].toDouble() + c[1].toDouble() * row + c[2].toDouble() * row * row, 1e-6);
      const double residual = l[QStringLiteral("fitted_nm")].toDouble() - l[QStringLiteral("known_nm")].toDouble();
      squares += residual * residual;
    }
    EXPECT_NEAR(o[QStringLiteral("rms_nm")].toDouble(), std::sqrt(squares / lines.size()), 1e-6);
    EXPECT_LT(o[QStringLiteral("rms_nm")].toDouble(), 2.0);
    // Both sides take the fit: row 0 lies at the blue end as the box holds it (linear) or at the
    // scale's own c0 (quadratic).
    const QStringList first = QString::fromUtf8(ReadAll(csv)).split(QStringLiteral("\r\n"))[1].split(QLatin1Char(','));
    const double blue = o[QStringLiteral("blue_nm")].toDouble();
    const double row0 = QLatin1String(fit) == QLatin1String("linear") ? blue : c[0].toDouble();
    EXPECT_NEAR(first[1].toDouble(), row0, 1e-9);
    EXPECT_NEAR(first[7].toDouble(), row0, 1e-9);
    EXPECT_NEAR(blue, c[0].toDouble(), 1e-4);
  }
  // One side only: the other keeps its typed wavelengths.
  const TRunResult reference = RunProgram(ExamplePair() + lamp + QStringList{QStringLiteral("--calibrate-side"), QStringLiteral("reference"),
                                                                             QStringLiteral("--json"), QStringLiteral("--csv"), Path("ref.csv")});
  ASSERT_EQ(reference.Exit, 0) << reference.Err.toStdString();
  const double blue = QJsonDocument::fromJson(reference.Out.toUtf8()).object()[QStringLiteral("blue_nm")].toDouble();
  const QStringList first = QString::fromUtf8(ReadAll(Path("ref.csv"))).split(QStringLiteral("\r\n"))[1].split(QLatin1Char(','));
  EXPECT_EQ(first[1], QStringLiteral("400"));
  EXPECT_NEAR(first[7].toDouble(), blue, 1e-9);
  EXPECT_GT(std::abs(blue - 400), 0.01);

  // Without --json a table; a picture without lines refuses with the calibration's message.
  const TRunResult table = RunProgram(ExamplePair() + lamp);
  EXPECT_EQ(table.Exit, 0) << table.Err.toStdString();
  EXPECT_TRUE(table.Out.startsWith(QStringLiteral("Lamp fit (linear) for the sample and the reference: "))) << table.Out.toStdString();
  const QStringList rows = table.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_GE(rows.size(), 6) << "the fit, its coefficients, a heading and a line each: " << table.Out.toStdString();
  EXPECT_TRUE(rows[1].startsWith(QStringLiteral("wavelength = c0 + c1 row + c2 row^2: c0 = ")));
  EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const QString& row) { return row.endsWith(QStringLiteral("  Hg 546.07")); }))
      << table.Out.toStdString();
  const QString dark = Path("dark.jpg");
  ASSERT_TRUE(WriteJpegFile(dark, FlatPicture(640, 150, clBlack)));
  const TRunResult none = RunProgram(ExamplePair() + QStringList{QStringLiteral("--calibrate-lamp"), dark, QStringLiteral("--csv"), Path("none.csv")});
  EXPECT_EQ(none.Exit, 1);
  EXPECT_EQ(none.Err.count(QLatin1Char('\n')), 1) << none.Err.toStdString();
  EXPECT_TRUE(none.Out.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Path("none.csv")));
}

TEST_F(CliTest, AnOutputNeverReplacesAPhotographOrAnotherOutput) {
  const QString photo = Path("photo.jpg");
  ASSERT_TRUE(QFile::copy(Example("webcam-1-ipa-glass.jpg"), photo));
  const QByteArray before = ReadAll(photo);
  QStringList args = ExamplePair();
  args[1] = photo;
  const TRunResult over = RunProgram(args + QStringList{QStringLiteral("--png"), Path("{name}.jpg")});
  EXPECT_EQ(over.Exit, 2);
  EXPECT_TRUE(over.Err.startsWith(QStringLiteral("lumio-spectrometer: --png would overwrite the input "))) << over.Err.toStdString();
  EXPECT_EQ(ReadAll(photo), before);
  const TRunResult twice = RunProgram(args + QStringList{QStringLiteral("--csv"), Path("x"), QStringLiteral("--png"), Path("x")});
  EXPECT_EQ(twice.Exit, 2);
  EXPECT_TRUE(twice.Err.contains(QStringLiteral("names a file that another output writes"))) << twice.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("x")));
}

TEST_F(CliTest, SavingJcampBeforeAnyPlotSaysSo) {
  form.LoadPicture(Example("webcam-1-ipa-glass.jpg"), sdSample);
  dialogs.SaveAnswer = Path("early.jdx");
  form.SaveJcamp1->trigger();
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kJcampNoPlotMessage)});
  EXPECT_TRUE(dialogs.SaveRequests.empty());
  EXPECT_FALSE(QFileInfo::exists(Path("early.jdx")));
}

TEST_F(CliTest, ATruncationWarningIsReportedAndTheOutputsAreWritten) {
  QStringList args = ExamplePair();
  args[args.indexOf(QStringLiteral("--sample-ends")) + 1] = QStringLiteral("5,140,630,2");
  args[args.indexOf(QStringLiteral("--band")) + 1] = QStringLiteral("30");
  const TRunResult r = RunProgram(args + QStringList{QStringLiteral("--csv"), Path("t.csv")});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Err, Example("webcam-1-ipa-glass.jpg") + QStringLiteral(": ") + QLatin1String(kTruncatedMessage) + QLatin1Char('\n'));
  EXPECT_GT(ReadAll(Path("t.csv")).size(), 1000);
}

TEST_F(CliTest, SizeSetsThePicturesAndThePdfPage) {
  const TRunResult r = RunProgram(ExamplePair() + QStringList{QStringLiteral("--trace"), QStringLiteral("transmittance"),
                                                              QStringLiteral("--size"), QStringLiteral("800x500"), QStringLiteral("--png"),
                                                              Path("big.png"), QStringLiteral("--svg"), Path("big.svg"),
                                                              QStringLiteral("--pdf"), Path("big.pdf")});
  ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
  EXPECT_EQ(QImage(Path("big.png")).size(), QSize(800, 500));
  QXmlStreamReader xml(ReadAll(Path("big.svg")));
  while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg"))) {
  }
  EXPECT_EQ(xml.attributes().value(QLatin1String("viewBox")).toString(), QStringLiteral("0 0 800 500"));
  const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
  const QRegularExpressionMatch m = mediaBox.match(QString::fromLatin1(ReadAll(Path("big.pdf"))));
  ASSERT_TRUE(m.hasMatch());
  EXPECT_NEAR(m.captured(1).toDouble(), 800, 0.5);
  EXPECT_NEAR(m.captured(2).toDouble(), 500, 0.5);
}
