#include "app/cli/CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

namespace {
struct TOptionText {
  const char* Name;
  const char* Value;  // nullptr for a flag
  const char* Help;
};

// One table for the parser and the usage text, so that the two never drift apart.
const TOptionText kOptions[] = {
    {"workspace", "FILE", "start from a workspace file (alone: open it in the window)"},
    {"sample", "FILE", "sample photograph; repeat for a batch against one reference"},
    {"reference", "FILE", "reference photograph"},
    {"sample-ends", "BX,BY,RX,RY", "blue and red ends of the sample's spectrum (pixels)"},
    {"reference-ends", "BX,BY,RX,RY", "blue and red ends of the reference's spectrum (pixels)"},
    {"sample-wavelengths", "B,R", "wavelengths of the sample's blue and red ends (nm)"},
    {"reference-wavelengths", "B,R", "wavelengths of the reference's blue and red ends (nm)"},
    {"band", "N", "spectrum width in pixels, 1 to 99"},
    {"trace", "T", "sample, reference, both, transmittance or absorbance"},
    {"abscissa", "A", "pixel or wavelength"},
    {"calibrate-lamp", "FILE", "calibrate from a lamp photograph and print the fit"},
    {"lamp", "L", "the lamp's lines: cfl (default) or neon"},
    {"fit", "F", "linear (default) or quadratic"},
    {"calibrate-side", "S", "side the fit applies to: sample, reference or both (default)"},
    {"csv", "OUT", "write the profiles and the result as CSV"},
    {"jcamp", "OUT", "write the plotted spectrum as JCAMP-DX 5.01"},
    {"png", "OUT", "write the chart as PNG"},
    {"svg", "OUT", "write the chart as SVG"},
    {"pdf", "OUT", "write the chart as a one-page PDF"},
    {"size", "WxH", "picture size in pixels (default: the window's chart, 497x345)"},
    {"json", nullptr, "print the lamp fit as one JSON object"},
    {"help", nullptr, "show this text and exit"},
    {"version", nullptr, "show the program's version and exit"},
};

QString Spelled(const TOptionText& o) {
  return QStringLiteral("--%1%2").arg(QLatin1String(o.Name), o.Value ? QLatin1Char(' ') + QLatin1String(o.Value) : QString());
}

// The index of `text` among `names`, or -1.
int Choice(const QString& text, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* n : names) {
    if (text == QLatin1String(n)) return i;
    ++i;
  }
  return -1;
}
}  // namespace

bool TCliOptions::HasOutput() const {
  return !Csv.isEmpty() || !Jcamp.isEmpty() || !Png.isEmpty() || !Svg.isEmpty() || !Pdf.isEmpty() ||
         !CalibrateLamp.isEmpty();
}

QList<QPair<QString, QString>> TCliOptions::FileOutputs() const {
  QList<QPair<QString, QString>> outputs;
  const QPair<const char*, const QString*> all[] = {{"--csv", &Csv}, {"--jcamp", &Jcamp}, {"--png", &Png}, {"--svg", &Svg}, {"--pdf", &Pdf}};
  for (const auto& [name, value] : all)
    if (!value->isEmpty()) outputs.append({QString::fromLatin1(name), *value});
  return outputs;
}

QString UsageText() {
  QString text = QStringLiteral(
      "Usage: lumio-spectrometer [--workspace FILE]\n"
      "    [--sample FILE]... [--reference FILE]\n"
      "    [--sample-ends BX,BY,RX,RY] [--reference-ends BX,BY,RX,RY]\n"
      "    [--sample-wavelengths B,R] [--reference-wavelengths B,R] [--band N]\n"
      "    [--trace sample|reference|both|transmittance|absorbance] [--abscissa pixel|wavelength]\n"
      "    [--calibrate-lamp FILE [--lamp cfl|neon] [--fit linear|quadratic] [--calibrate-side sample|reference|both]]\n"
      "    [--csv OUT] [--jcamp OUT] [--png OUT] [--svg OUT] [--pdf OUT] [--size WxH] [--json]\n"
      "    [--help] [--version]\n"
      "\n"
      "Without output options the window starts. An output name holding {name} takes each sample's base name.\n"
      "\n"
      "Options:\n");
  int width = 0;
  for (const TOptionText& o : kOptions) width = std::max(width, static_cast<int>(Spelled(o).size()));
  for (const TOptionText& o : kOptions)
    text += QStringLiteral("  %1  %2\n").arg(Spelled(o), -width).arg(QLatin1String(o.Help));
  text += QStringLiteral(
      "\n"
      "Exit status: 0 success, 1 an input was refused or an output could not be written, 2 usage error.\n");
  return text;
}

TCliParse ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  for (const TOptionText& o : kOptions) {
    QCommandLineOption option(QString::fromLatin1(o.Name), QString::fromLatin1(o.Help));
    if (o.Value) option.setValueName(QString::fromLatin1(o.Value));
    parser.addOption(option);
  }
  TCliParse result;
  const auto usage = [&](const QString& error) {
    result.State = TCliParse::UsageError;
    result.Error = error;
    return result;
  };
  // The parser takes the program name first.
  if (!parser.parse(QStringList{QStringLiteral("lumio-spectrometer")} + arguments)) return usage(parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) {
    result.State = TCliParse::Help;
    return result;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    result.State = TCliParse::Version;
    return result;
  }
  if (!parser.positionalArguments().isEmpty())
    return usage(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
  // A value option given twice would silently lose one of them.
  for (const TOptionText& o : kOptions) {
    const QString name = QString::fromLatin1(o.Name);
    if (o.Value && name != QLatin1String("sample") && parser.values(name).size() > 1)
      return usage(QStringLiteral("Option '%1' is given more than once.").arg(name));
  }

  TCliOptions& opt = result.Options;
  const auto value = [&](const char* name) { return parser.value(QString::fromLatin1(name)); };
  const auto given = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
  opt.Workspace = value("workspace");
  opt.Samples = parser.values(QStringLiteral("sample"));
  opt.Reference = value("reference");

  const auto fields = [&](const char* name, int count, QStringList& out) -> bool {
    if (!given(name)) return true;
    out = value(name).split(QLatin1Char(','));
    for (QString& f : out) f = f.trimmed();
    return out.size() == count;
  };
  if (!fields("sample-ends", 4, opt.SampleEnds)) return usage(QStringLiteral("--sample-ends takes four numbers: BX,BY,RX,RY."));
  if (!fields("reference-ends", 4, opt.ReferenceEnds))
    return usage(QStringLiteral("--reference-ends takes four numbers: BX,BY,RX,RY."));
  if (!fields("sample-wavelengths", 2, opt.SampleWavelengths))
    return usage(QStringLiteral("--sample-wavelengths takes two numbers: B,R."));
  if (!fields("reference-wavelengths", 2, opt.ReferenceWavelengths))
    return usage(QStringLiteral("--reference-wavelengths takes two numbers: B,R."));
  if (given("band")) opt.Band = value("band").trimmed();

  if (given("trace")) {
    const int t = Choice(value("trace"), {"sample", "reference", "both", "transmittance", "absorbance"});
    if (t < 0) return usage(QStringLiteral("Unknown trace '%1': use sample, reference, both, transmittance or absorbance.").arg(value("trace")));
    opt.TraceGiven = true;
    opt.Trace = static_cast<TPlotTrace>(t);
  }
  if (given("abscissa")) {
    const int a = Choice(value("abscissa"), {"pixel", "wavelength"});
    if (a < 0) return usage(QStringLiteral("Unknown abscissa '%1': use pixel or wavelength.").arg(value("abscissa")));
    opt.AbscissaGiven = true;
    opt.Abscissa = static_cast<TPlotAbscissa>(a);
  }

  opt.CalibrateLamp = value("calibrate-lamp");
  const bool calibrating = given("calibrate-lamp");
  if (calibrating && opt.CalibrateLamp.isEmpty()) return usage(QStringLiteral("--calibrate-lamp needs a file name."));
  for (const char* name : {"lamp", "fit", "calibrate-side", "json"})
    if (given(name) && !calibrating) return usage(QStringLiteral("--%1 belongs to --calibrate-lamp.").arg(QLatin1String(name)));
  if (given("lamp")) {
    opt.Lamp = Choice(value("lamp"), {"cfl", "neon"});
    if (opt.Lamp < 0) return usage(QStringLiteral("Unknown lamp '%1': use cfl or neon.").arg(value("lamp")));
  }
  if (given("fit")) {
    const int f = Choice(value("fit"), {"linear", "quadratic"});
    if (f < 0) return usage(QStringLiteral("Unknown fit '%1': use linear or quadratic.").arg(value("fit")));
    opt.FitDegree = f + 1;
  }
  if (given("calibrate-side")) {
    const int s = Choice(value("calibrate-side"), {"sample", "reference", "both"});
    if (s < 0) return usage(QStringLiteral("Unknown side '%1': use sample, reference or both.").arg(value("calibrate-side")));
    opt.CalibrateSide = static_cast<TCalibrateSide>(s);
  }
  opt.Json = given("json");

  opt.Csv = value("csv"), opt.Jcamp = value("jcamp"), opt.Png = value("png"), opt.Svg = value("svg"), opt.Pdf = value("pdf");
  for (const char* name : {"csv", "jcamp", "png", "svg", "pdf", "sample", "reference", "workspace"})
    for (const QString& v : parser.values(QString::fromLatin1(name)))
      if (v.isEmpty()) return usage(QStringLiteral("--%1 needs a file name.").arg(QLatin1String(name)));

  if (given("size")) {
    static const QRegularExpression size(QStringLiteral("^([0-9]{1,5})[xX]([0-9]{1,5})$"));
    const QRegularExpressionMatch m = size.match(value("size").trimmed());
    const int w = m.hasMatch() ? m.captured(1).toInt() : 0, h = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (w <= 0 || h <= 0) return usage(QStringLiteral("--size takes a width and a height in pixels, as 800x600."));
    opt.Size = QSize(w, h);
  }

  if (!opt.HasOutput()) {
    // Only a workspace may open the window; anything else would be left without a use.
    for (const TOptionText& o : kOptions) {
      const QString name = QString::fromLatin1(o.Name);
      if (name != QLatin1String("workspace") && parser.isSet(name))
        return usage(QStringLiteral("--%1 needs an output: --csv, --jcamp, --png, --svg, --pdf or --calibrate-lamp.").arg(name));
    }
    result.State = TCliParse::Window;
    return result;
  }
  if (opt.Samples.size() > 1)
    for (const auto& [name, file] : opt.FileOutputs())
      if (!file.contains(QLatin1String(kNamePlaceholder)))
        return usage(QStringLiteral("%1 needs {name} in its file name when several samples are given.").arg(name));
  result.State = TCliParse::Run;
  return result;
}
