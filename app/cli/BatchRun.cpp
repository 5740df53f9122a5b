#include "app/cli/BatchRun.h"

#include <QBuffer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "app/ChartSetup.h"
#include "app/CsvExport.h"
#include "app/EntryCheck.h"
#include "app/JcampExport.h"
#include "app/SpectrumCore.h"
#include "app/calibration/Calibration.h"
#include "app/calibration/LineLists.h"
#include "app/calibration/Workspace.h"
#include "chart/core/iErrors.h"
#include "chart/core/iXYPlot.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Bitmap.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"

namespace {
// ---- console ----

std::mutex g_console;

// One line, whole, even when threads print at once.
void PrintLine(std::FILE* stream, const QString& text) {
  QString line = text;
  line.replace(QLatin1Char('\r'), QLatin1Char(' '));
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QByteArray bytes = line.toUtf8() + '\n';
  std::lock_guard<std::mutex> lock(g_console);
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}
void PrintError(const QString& text) { PrintLine(stderr, text); }

// A job collects the messages its steps show; without one they are printed at once.
thread_local QStringList* t_messages = nullptr;

class TMessageScope {
 public:
  explicit TMessageScope(QStringList& messages) : previous_(t_messages) { t_messages = &messages; }
  ~TMessageScope() { t_messages = previous_; }
  TMessageScope(const TMessageScope&) = delete;
  TMessageScope& operator=(const TMessageScope&) = delete;

 private:
  QStringList* previous_;
};

// The message box of a run without a window: nobody to ask, so every dialog is cancelled.
class TConsoleDialogs final : public TDialogs {
 public:
  TConsoleDialogs() { SetDialogs(this); }
  ~TConsoleDialogs() override { SetDialogs(nullptr); }
  TConsoleDialogs(const TConsoleDialogs&) = delete;
  TConsoleDialogs& operator=(const TConsoleDialogs&) = delete;
  void ShowMessage(const QString& text) override {
    if (t_messages)
      t_messages->append(text);
    else
      PrintError(text);
  }
  bool ExecuteOpen(const TOpenDialogOptions&, QString&) override { return false; }
  bool ExecuteSave(const TSaveDialogOptions&, QString&) override { return false; }
  bool ExecutePrint() override { return false; }
  bool ExecutePrinterSetup() override { return false; }
  bool AskYesNo(const QString&) override { return false; }
};

// A message that lets the computation go on; every other one refuses the input.
bool IsWarning(const QString& message) { return message == QLatin1String(kTruncatedMessage); }

// ---- inputs ----

struct TSideInput {
  QString Picture;
  TSpectrumRecord Record;
  QStringList Ends;  // from the options, checked against the picture
};

void TakeWorkspaceSide(const TWorkspaceSide& s, int band, TSideInput& side) {
  side.Picture = s.Picture;
  TSpectrumRecord& r = side.Record;
  r.BlueWavelength = s.BlueWavelength, r.RedWavelength = s.RedWavelength;
  r.BlueX = s.BlueX, r.BlueY = s.BlueY, r.RedX = s.RedX, r.RedY = s.RedY;
  r.BandWidth = band;
  r.QuadraticInForce = s.QuadraticInForce;
  for (int k = 0; k < 3; ++k) r.Quadratic[k] = s.Quadratic[static_cast<std::size_t>(k)];
}

// The wavelength boxes' checks: the blue box against the red one, then the red against the blue.
// A value the box would clamp is refused here: nobody sees the changed number before it is used.
bool TakeWavelengths(const char* option, const QStringList& fields, TSpectrumRecord& r) {
  if (fields.isEmpty()) return true;
  double redTyped = 0;
  const bool redIsNumber = TryStrToFloat(fields[1], redTyped);
  const TEntryCheck blue = CheckRealText(fields[0], 200.0, redIsNumber ? redTyped - 1 : 998.9);
  TEntryCheck red;
  if (blue.State == TEntryCheck::Accepted) red = CheckRealText(fields[1], StrToFloat(blue.Text) + 1, 999.9);
  const TEntryCheck& failed = blue.State != TEntryCheck::Accepted ? blue : red;
  if (failed.State != TEntryCheck::Accepted) {
    PrintError(QStringLiteral("--%1: %2").arg(QLatin1String(option), failed.Range));
    return false;
  }
  r.BlueWavelength = StrToFloat(blue.Text);
  r.RedWavelength = StrToFloat(red.Text);
  r.QuadraticInForce = false;  // as typing a wavelength ends it in the window
  return true;
}

// The end boxes' checks against the picture the ends belong to. Empty when accepted.
QString TakeEnds(const char* option, const QStringList& fields, int width, int height, TSpectrumRecord& r) {
  if (fields.isEmpty()) return {};
  std::int32_t* targets[4] = {&r.BlueX, &r.BlueY, &r.RedX, &r.RedY};
  for (int k = 0; k < 4; ++k) {
    const TEntryCheck c = CheckIntegerText(fields[k], 0, k % 2 == 0 ? width : height);
    if (c.State != TEntryCheck::Accepted) return QStringLiteral("--%1: %2").arg(QLatin1String(option), c.Range);
    *targets[k] = StrToInt(c.Text);
  }
  return {};
}

QString TakeEnds(const char* option, const QStringList& fields, const TBitmap& picture, TSpectrumRecord& r) {
  return TakeEnds(option, fields, picture.Width(), picture.Height(), r);
}

// ---- lamp calibration ----

QString LampTable(const TCalibrationFit& fit, const char* kind, const QString& sides, double blue, double red) {
  QString t = QStringLiteral("Lamp fit (%1) for %2: %3 to %4 nm, RMS %5 nm over %6 lines\n")
                  .arg(QLatin1String(kind), sides, FormatFixed(blue, 4), FormatFixed(red, 4), FormatFixed(fit.Rms, 4))
                  .arg(fit.Lines.size());
  t += QStringLiteral("wavelength = c0 + c1 row + c2 row^2: c0 = %1, c1 = %2, c2 = %3\n")
           .arg(FloatToStr(fit.Fit.C[0]), FloatToStr(fit.Fit.C[1]), FloatToStr(fit.Fit.C[2]));
  t += QStringLiteral("%1 %2 %3  %4\n").arg(QStringLiteral("known nm"), 10).arg(QStringLiteral("row"), 10).arg(QStringLiteral("fitted nm"), 10).arg(QStringLiteral("line"));
  for (const TLineMatch& m : fit.Lines)
    t += QStringLiteral("%1 %2 %3  %4\n")
             .arg(FormatFixed(m.Wavelength, 2), 10)
             .arg(FormatFixed(m.Row, 2), 10)
             .arg(FormatFixed(m.Fitted, 2), 10)
             .arg(m.Name);
  t.chop(1);
  return t;
}

QString LampJson(const TCalibrationFit& fit, double blue, double red) {
  QJsonObject o;
  o[QStringLiteral("blue_nm")] = blue;
  o[QStringLiteral("red_nm")] = red;
  o[QStringLiteral("coefficients")] = QJsonArray{fit.Fit.C[0], fit.Fit.C[1], fit.Fit.C[2]};
  o[QStringLiteral("rms_nm")] = fit.Rms;
  QJsonArray lines;
  for (const TLineMatch& m : fit.Lines)
    lines.append(QJsonObject{{QStringLiteral("known_nm"), m.Wavelength},
                             {QStringLiteral("row"), m.Row},
                             {QStringLiteral("fitted_nm"), m.Fitted},
                             {QStringLiteral("name"), m.Name}});
  o[QStringLiteral("lines")] = lines;
  return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

// Calibrates from the lamp with the side's ends and band and applies the fit to the chosen
// side or both, as accepting it in the calibration dialog does. False after its message.
bool CalibrateLamp(const TCliOptions& o, TSideInput& sample, TSideInput& reference) {
  const bool fromReference = o.CalibrateSide == csReference;
  TSideInput& marked = fromReference ? reference : sample;
  TBitmap lamp;
  QString message;
  if (!LoadSpectrumPicture(o.CalibrateLamp, lamp, message)) {
    PrintError(QStringLiteral("%1: %2").arg(o.CalibrateLamp, message));
    return false;
  }
  TSpectrumRecord marks = marked.Record;
  message = TakeEnds(fromReference ? "reference-ends" : "sample-ends", marked.Ends, lamp, marks);
  if (!message.isEmpty()) {
    PrintError(QStringLiteral("%1: %2").arg(o.CalibrateLamp, message));
    return false;
  }
  const TLineList& lines = BuiltInLineLists()[static_cast<std::size_t>(o.Lamp)];
  const TCalibrationResult result = CalibrateFromLamp(lamp, marks, lines);
  if (result.Rows.size() < 3) {
    PrintError(QStringLiteral("The marked band of the lamp picture holds too few rows to calibrate. Mark the blue and "
                              "red ends of the lamp's spectrum first."));
    return false;
  }
  if (!result.Ok) {
    PrintError(result.Message.isEmpty() ? lines.Note : result.Message);
    return false;
  }
  const TCalibrationFit& fit = o.FitDegree == 2 ? result.Quadratic : result.Linear;
  const int rows = static_cast<int>(result.Rows.size());
  double blue = 0, red = 0;
  if (!CalibratedEnds(fit.Fit, rows, blue, red)) {
    PrintError(QString::fromLatin1(kCalibrationOutOfRangeMessage));
    return false;
  }
  // The boxes hold the ends with four decimals, and the plot reads them back from there.
  blue = StrToFloat(FormatFixed(blue, 4)), red = StrToFloat(FormatFixed(red, 4));
  for (TSideInput* side : {&sample, &reference}) {
    const bool applies = o.CalibrateSide == csBoth || (side == &sample) == (o.CalibrateSide == csSample);
    if (!applies) continue;
    TSpectrumRecord& r = side->Record;
    r.BlueWavelength = blue, r.RedWavelength = red;
    r.QuadraticInForce = o.FitDegree == 2;
    for (int k = 0; k < 3; ++k) r.Quadratic[k] = o.FitDegree == 2 ? fit.Fit.C[static_cast<std::size_t>(k)] : 0.0;
  }
  const QString sides = o.CalibrateSide == csBoth ? QStringLiteral("the sample and the reference")
                        : o.CalibrateSide == csSample ? QStringLiteral("the sample") : QStringLiteral("the reference");
  if (o.Json)
    PrintLine(stdout, LampJson(fit, blue, red));
  else
    for (const QString& line : LampTable(fit, o.FitDegree == 2 ? "quadratic" : "linear", sides, blue, red).split(QLatin1Char('\n')))
      PrintLine(stdout, line);
  return true;
}

// ---- jobs ----

struct TJobSpectra {
  TSpectrumRecord Sample, Reference;
  TTransmittanceResult Result;
};

struct TJob {
  QString SamplePath;  // empty when the run has no sample
  QString Name;        // what {name} stands for
  QStringList Messages;
  bool Refused = false;  // nothing of it is written
  bool Failed = false;   // an output could not be written
  // Made by the worker and dropped once the job is reported: a batch of thousands of photographs
  // keeps only the spectra in progress, and their memory is reused rather than taken afresh.
  std::unique_ptr<TJobSpectra> Spectra;
  QString Note;
  bool Done = false;
};

QString OutputName(const QString& pattern, const QString& name) {
  QString out = pattern;
  return out.replace(QLatin1String(kNamePlaceholder), name);
}

struct TRun {
  const TCliOptions& Options;
  TPlotRequest Request;
  TSideInput Sample, Reference;
  TBitmap ReferencePicture;
  bool ReferenceLoaded = false;
  QString ReferenceSaturation;  // the reference's words in every sample's saturation note
  TCsvProfileText ReferenceCsv;  // the reference's columns of every CSV file
};

// Everything of one sample that needs no widget: the picture, the computation, the CSV and
// JCAMP-DX files. Runs on a worker thread.
void ProcessJob(const TRun& run, TJob& job) {
  const QString label = job.SamplePath.isEmpty() ? run.Reference.Picture : job.SamplePath;
  const auto refuse = [&](const QString& message) {
    job.Messages << QStringLiteral("%1: %2").arg(label, message);
    job.Refused = true;
  };
  TBitmap picture;
  job.Spectra = std::make_unique<TJobSpectra>(TJobSpectra{run.Sample.Record, run.Reference.Record, {}});
  TJobSpectra& d = *job.Spectra;
  const bool sampleLoaded = !job.SamplePath.isEmpty();
  if (sampleLoaded) {
    QString message;
    // Only the rows the band reads are turned into pixels: most of a photograph's decoding time.
    // The ends are taken there, from the picture's size, as soon as the header tells it.
    bool endsTaken = false;
    QString endsMessage;
    const auto bandRows = [&](int width, int height) {
      endsMessage = TakeEnds("sample-ends", run.Sample.Ends, width, height, d.Sample);
      endsTaken = true;
      if (!endsMessage.isEmpty()) return TJpegRows{0, height - 1};
      const auto [first, last] = BandSourceRows(width, height, d.Sample);
      return TJpegRows{first, last};
    };
    if (!LoadSpectrumPicture(job.SamplePath, picture, message, bandRows)) return refuse(message);
    if (!endsTaken) endsMessage = TakeEnds("sample-ends", run.Sample.Ends, picture, d.Sample);
    if (!endsMessage.isEmpty()) return refuse(endsMessage);
  }
  // Make Plot's computation, with the reference extracted once for the whole batch.
  QStringList shown;
  {
    TMessageScope scope(shown);
    if (sampleLoaded) ExtractSpectrum(picture, d.Sample);
    if (sampleLoaded && run.ReferenceLoaded) ComputeTransmittance(d.Sample, d.Reference, d.Result);
  }
  for (const QString& m : shown) {
    if (IsWarning(m))
      job.Messages << QStringLiteral("%1: %2").arg(label, m);
    else
      refuse(m);
  }
  if (job.Refused) return;
  TPlotRequest request = run.Request;
  request.SampleLoaded = sampleLoaded;
  request.ReferenceLoaded = run.ReferenceLoaded;
  const std::vector<TSpectrumCurve> curves = SpectrumCurves(request, d.Sample, d.Reference, d.Result);
  if (curves.empty())
    return refuse(QString::fromLatin1(request.Abscissa == paWavelength && request.Trace < ptTransmittance
                                          ? kNoWavelengthRangeMessage
                                          : kNoPixelRangeMessage));
  job.Note = SaturationNoteFromParts(
      sampleLoaded && UsesSample(request.Trace) ? SaturationPart(true, picture, d.Sample) : QString(),
      run.ReferenceSaturation);

  const auto write = [&](const QString& pattern, const std::function<QByteArray()>& bytes) {
    if (pattern.isEmpty()) return;
    try {
      WriteFileReplacing(OutputName(pattern, job.Name), bytes());
    } catch (const EInOutError& e) {
      job.Messages << e.Message;
      job.Failed = true;
    }
  };
  write(run.Options.Csv, [&] { return CsvText(d.Sample, d.Reference, d.Result, run.ReferenceCsv); });
  QStringList names;
  if (sampleLoaded) names << QFileInfo(job.SamplePath).completeBaseName();
  if (run.ReferenceLoaded) names << QFileInfo(run.Reference.Picture).completeBaseName();
  write(run.Options.Jcamp, [&] { return JcampText(curves, names.join(QStringLiteral(" / "))); });
}

// The chart's pictures of a finished job, on the main thread.
void RenderJob(const TRun& run, TiXYPlot& chart, TJob& job) {
  if (!job.Spectra) return;
  const TJobSpectra& d = *job.Spectra;
  const TCliOptions& o = run.Options;
  TPlotRequest request = run.Request;
  request.SampleLoaded = !job.SamplePath.isEmpty();
  request.ReferenceLoaded = run.ReferenceLoaded;
  QStringList shown;
  {
    TMessageScope scope(shown);
    PlotSpectra(chart, request, d.Sample, d.Reference, d.Result, job.Note);
  }
  for (const QString& m : shown) job.Messages << m;
  if (!shown.isEmpty()) {
    job.Refused = true;
    return;
  }
  const auto write = [&](const QString& pattern, void (*writer)(TiXYPlot&, const QString&)) {
    if (pattern.isEmpty()) return;
    try {
      writer(chart, OutputName(pattern, job.Name));
    } catch (...) {
      job.Messages << FailureText(std::current_exception());
      job.Failed = true;
    }
  };
  write(o.Png, WriteChartPng);
  write(o.Svg, WriteChartSvg);
  write(o.Pdf, WriteChartPdf);
}

// Workers take jobs in order; the main thread renders and reports each as it finishes.
bool RunJobs(const TRun& run, std::vector<TJob>& jobs) {
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      try {
        ProcessJob(run, jobs[i]);
      } catch (...) {
        jobs[i].Messages << FailureText(std::current_exception());
        jobs[i].Refused = true;
      }
      std::lock_guard<std::mutex> lock(mutex);
      jobs[i].Done = true;
      finished.notify_all();
    }
  };
  // The chart is made before any worker starts, so that nothing can leave a worker unjoined.
  std::unique_ptr<TiXYPlot> chart;
  const TCliOptions& o = run.Options;
  if (o.DrawsChart()) {
    chart = std::make_unique<TiXYPlot>();
    ConfigureSpectrumChart(*chart);
    chart->resize(o.Size.isValid() ? o.Size : QSize(kSpectrumChartWidth, kSpectrumChartHeight));
  }
  const int cores = o.Threads > 0 ? o.Threads : std::max(1, QThread::idealThreadCount());
  const std::size_t threads = std::min<std::size_t>(jobs.size(), static_cast<std::size_t>(cores));
  std::vector<std::thread> workers;
  struct TJoin {
    std::vector<std::thread>& Workers;
    ~TJoin() {
      for (std::thread& w : Workers)
        if (w.joinable()) w.join();
    }
  } join{workers};
  for (std::size_t t = 0; t < threads; ++t) workers.emplace_back(work);

  bool ok = true;
  for (TJob& job : jobs) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      finished.wait(lock, [&] { return job.Done; });
    }
    if (!job.Refused && chart) {
      try {
        RenderJob(run, *chart, job);
      } catch (...) {
        job.Messages << FailureText(std::current_exception());
        job.Failed = true;
      }
    }
    for (const QString& m : job.Messages) PrintError(m);
    ok = ok && !job.Refused && !job.Failed;
    job.Spectra.reset();
  }
  return ok;
}

// ---- the run ----

int Usage(const QString& error) {
  PrintError(QStringLiteral("lumio-spectrometer: %1").arg(error));
  std::fputs(UsageText().toUtf8().constData(), stderr);
  return kExitUsage;
}

int Run(const TCliOptions& o) {
  TRun run{o, {}, {}, {}, {}, false};
  TWorkspace workspace;
  if (!o.Workspace.isEmpty()) {
    const TWorkspaceRead read = ReadWorkspaceFile(o.Workspace);
    if (!read.Ok) {
      PrintError(read.Message);  // names the file
      return kExitRefused;
    }
    workspace = read.Workspace;
  }
  TakeWorkspaceSide(workspace.Sample, workspace.BandWidth, run.Sample);
  TakeWorkspaceSide(workspace.Reference, workspace.BandWidth, run.Reference);
  QStringList samples = o.Samples;
  if (samples.isEmpty() && !run.Sample.Picture.isEmpty()) samples << run.Sample.Picture;
  if (!o.Reference.isEmpty()) run.Reference.Picture = o.Reference;
  run.Request.Trace = o.TraceGiven ? o.Trace : static_cast<TPlotTrace>(std::clamp(workspace.Trace, 0, 4));
  run.Request.Abscissa = o.AbscissaGiven ? o.Abscissa : static_cast<TPlotAbscissa>(std::clamp(workspace.Abscissa, 0, 1));
  run.Sample.Ends = o.SampleEnds;
  run.Reference.Ends = o.ReferenceEnds;

  if (!o.Band.isEmpty()) {
    const TEntryCheck band = CheckIntegerText(o.Band, 1, 99);
    if (band.State != TEntryCheck::Accepted) {
      PrintError(QStringLiteral("--band: %1").arg(band.Range));
      return kExitRefused;
    }
    run.Sample.Record.BandWidth = run.Reference.Record.BandWidth = StrToInt(band.Text);
  }
  if (!TakeWavelengths("sample-wavelengths", o.SampleWavelengths, run.Sample.Record) ||
      !TakeWavelengths("reference-wavelengths", o.ReferenceWavelengths, run.Reference.Record))
    return kExitRefused;

  const bool files = !o.FileOutputs().isEmpty();
  std::vector<TJob> jobs;
  if (files) {
    const TPlotTrace t = run.Request.Trace;
    if (samples.isEmpty() && run.Reference.Picture.isEmpty())
      return Usage(QStringLiteral("No picture to process: give --sample and --reference, or a workspace holding them."));
    if (t != ptReferenceIntensity && samples.isEmpty()) return Usage(QStringLiteral("The trace needs a sample picture: give --sample."));
    if (t != ptSampleIntensity && run.Reference.Picture.isEmpty())
      return Usage(QStringLiteral("The trace needs a reference picture: give --reference."));
    std::set<QString> names;
    if (samples.size() > 1) {
      for (const QString& s : samples)
        if (!names.insert(QFileInfo(s).completeBaseName()).second)
          return Usage(QStringLiteral("Two samples are named %1: their outputs would overwrite each other.").arg(QFileInfo(s).completeBaseName()));
      for (const auto& [name, file] : o.FileOutputs())
        if (!file.contains(QLatin1String(kNamePlaceholder)))
          return Usage(QStringLiteral("%1 needs {name} in its file name when several samples are given.").arg(name));
    }
    if (samples.isEmpty()) samples << QString();
    for (const QString& s : samples) {
      TJob job;
      job.SamplePath = s;
      job.Name = QFileInfo(s.isEmpty() ? run.Reference.Picture : s).completeBaseName();
      jobs.push_back(std::move(job));
    }
    // An output must not replace a photograph or another output of the run.
    std::set<QString> inputs;
    for (const QString& f : samples + QStringList{run.Reference.Picture, o.Workspace, o.CalibrateLamp})
      if (!f.isEmpty()) inputs.insert(QFileInfo(f).absoluteFilePath());
    std::set<QString> outputs;
    for (const TJob& job : jobs)
      for (const auto& [name, pattern] : o.FileOutputs()) {
        const QString file = QFileInfo(OutputName(pattern, job.Name)).absoluteFilePath();
        if (inputs.count(file)) return Usage(QStringLiteral("%1 would overwrite the input %2.").arg(name, file));
        if (!outputs.insert(file).second) return Usage(QStringLiteral("%1 names a file that another output writes: %2.").arg(name, file));
      }
  }

  if (!o.CalibrateLamp.isEmpty() && !CalibrateLamp(o, run.Sample, run.Reference)) return kExitRefused;
  if (!files) return kExitSuccess;

  if (!run.Reference.Picture.isEmpty()) {
    QString message;
    if (!LoadSpectrumPicture(run.Reference.Picture, run.ReferencePicture, message) ||
        !(message = TakeEnds("reference-ends", run.Reference.Ends, run.ReferencePicture, run.Reference.Record)).isEmpty()) {
      PrintError(QStringLiteral("%1: %2").arg(run.Reference.Picture, message));
      return kExitRefused;
    }
    run.ReferenceLoaded = true;
    QStringList shown;
    {
      TMessageScope scope(shown);
      ExtractSpectrum(run.ReferencePicture, run.Reference.Record);
    }
    bool refused = false;
    for (const QString& m : shown) {
      PrintError(QStringLiteral("%1: %2").arg(run.Reference.Picture, m));
      refused = refused || !IsWarning(m);
    }
    if (refused) return kExitRefused;
    if (UsesReference(run.Request.Trace))
      run.ReferenceSaturation = SaturationPart(false, run.ReferencePicture, run.Reference.Record);
    if (!o.Csv.isEmpty()) run.ReferenceCsv = CsvProfileText(run.Reference.Record);
  }
  return RunJobs(run, jobs) ? kExitSuccess : kExitRefused;
}
}  // namespace

int RunCommandLine(const TCliOptions& options) {
  TConsoleDialogs console;
  try {
    return Run(options);
  } catch (...) {
    PrintError(FailureText(std::current_exception()));
    return kExitRefused;
  }
}

// ---- pictures of the chart ----

namespace {
constexpr int kPngLevel = 6;
}  // namespace

void WriteChartPng(TiXYPlot& chart, const QString& fileName) { chart.SaveImageToPNG(fileName, kPngLevel); }

void WriteChartSvg(TiXYPlot& chart, const QString& fileName) {
  const QSize size = OutputSize(chart);
  WriteFileReplacing(fileName, EncodeSvgFile(RenderPicture(chart), size));
}

void WriteChartPdf(TiXYPlot& chart, const QString& fileName) {
  const QSize size = OutputSize(chart);
  const QPicture picture = RenderPicture(chart);
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  {
    // One page the chart's size: at 72 dots per inch a pixel is a point.
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Lumio Spectrometer"));
    QPainter painter;
    if (!painter.begin(&writer)) throw EiError(QStringLiteral("Cannot encode the PDF picture"));
    DrawPictureScaled(painter, picture, size, QRect(QPoint(0, 0), size));
    painter.end();
  }
  WriteFileReplacing(fileName, data);
}
