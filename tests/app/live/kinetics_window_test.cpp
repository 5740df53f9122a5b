// The kinetics window: one point per channel per frame at the chosen wavelengths, the curve it
// follows, its messages, its text log on the chart's own logging, and its drawing.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <random>

#include "app/live/KineticsWindow.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdud.h"
#include "platform/Bitmap.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A calibrated curve from 400 to 700 nm in 1.5 nm steps (201 points) with y = f(x).
template <typename F>
TSpectrumCurve Curve(const QString& units, F f, bool descending = false) {
  TSpectrumCurve c{QStringLiteral("Curve"), true, units, {}, {}};
  for (int k = 0; k <= 200; ++k) {
    const double x = descending ? 700.0 - 1.5 * k : 400.0 + 1.5 * k;
    c.X.push_back(x);
    c.Y.push_back(f(x));
  }
  return c;
}

TSpectrumCurve Absorbance(double scale) {
  return Curve(QStringLiteral("ABSORBANCE"), [scale](double x) { return scale * x * x * 1e-6; });
}

// The hand interpolation of x * x * 1e-6 * scale at 450.7 nm: the neighbours are 449.5 and 451.0.
double HandAt450_7(double scale) {
  const double y0 = 449.5 * 449.5 * 1e-6 * scale, y1 = 451.0 * 451.0 * 1e-6 * scale;
  return y0 + (y1 - y0) * (450.7 - 449.5) / (451.0 - 449.5);
}

QStringList ReadLines(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

int CountColor(const QImage& image, TColor color) {
  const QRgb want = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) ++n;
  return n;
}

}  // namespace

TEST(KineticsValueAt, InterpolatesBetweenNeighboursEitherWay) {
  const std::vector<double> up{400, 410, 420, 430}, down{430, 420, 410, 400};
  const std::vector<double> yUp{1, 3, 7, 15}, yDown{15, 7, 3, 1};
  struct Case {
    double wavelength, expected;
  };
  for (const Case& c : std::initializer_list<Case>{{400, 1}, {405, 2}, {410, 3}, {417.5, 6}, {430, 15}, {425, 11}}) {
    SCOPED_TRACE(c.wavelength);
    EXPECT_DOUBLE_EQ(KineticsValueAt(up, yUp, c.wavelength), c.expected);
    EXPECT_DOUBLE_EQ(KineticsValueAt(down, yDown, c.wavelength), c.expected);
  }
  for (double outside : {399.99, 430.01, kNaN}) {
    SCOPED_TRACE(outside);
    EXPECT_TRUE(std::isnan(KineticsValueAt(up, yUp, outside)));
    EXPECT_TRUE(std::isnan(KineticsValueAt(down, yDown, outside)));
  }
  EXPECT_TRUE(std::isnan(KineticsValueAt({}, {}, 500)));
  EXPECT_DOUBLE_EQ(KineticsValueAt({500}, {4}, 500), 4);
  EXPECT_TRUE(std::isnan(KineticsValueAt({500}, {4}, 501)));
  // Two points at one wavelength: the value is the later one's, not a division by zero.
  EXPECT_DOUBLE_EQ(KineticsValueAt({400, 410, 410, 420}, {1, 2, 5, 6}, 410), 2);
  EXPECT_DOUBLE_EQ(KineticsValueAt({400, 410, 410, 420}, {1, 2, 5, 6}, 415), 5.5);
}

TEST(KineticsCurve, AbsorbanceBeforeTransmittanceBeforeIntensity) {
  const TSpectrumCurve a = Absorbance(1), t = Curve(QStringLiteral("TRANSMITTANCE"), [](double) { return 0.5; }),
                       i = Curve(QStringLiteral("ARBITRARY UNITS"), [](double) { return 100.0; }),
                       j = Curve(QStringLiteral("ARBITRARY UNITS"), [](double) { return 7.0; });
  TKineticsQuantity q = kqNone;
  EXPECT_EQ(KineticsCurve({i, t, a}, q)->YUnits, QStringLiteral("ABSORBANCE"));
  EXPECT_EQ(q, kqAbsorbance);
  EXPECT_EQ(KineticsCurve({i, t}, q)->YUnits, QStringLiteral("TRANSMITTANCE"));
  EXPECT_EQ(q, kqAbsorbance);
  EXPECT_EQ(KineticsCurve({j, i}, q)->Y[0], 7.0);  // the first intensity curve
  EXPECT_EQ(q, kqIntensity);
  EXPECT_EQ(KineticsCurve({}, q), nullptr);
  EXPECT_EQ(q, kqNone);
}

TEST(ParseKineticsWavelengths, AcceptsOneToFourDistinctWavelengths) {
  struct Case {
    const char* text;
    std::vector<double> expected;
    const char* message;  // empty: accepted
  };
  const char* range = "Input must be a real number in the range 200.0 to 999.9.  Please re-enter.";
  for (const Case& c : std::initializer_list<Case>{
           {"450", {450}, ""},
           {" 450, 550.25;600  700 ", {450, 550.3, 600, 700}, ""},
           {"200,999.9", {200, 999.9}, ""},
           {"", {}, "Enter one to four wavelengths in nm, for example 450, 550, 650."},
           {" , ", {}, "Enter one to four wavelengths in nm, for example 450, 550, 650."},
           {"400 450 500 550 600", {}, "At most four wavelengths can be followed; 5 were entered."},
           {"450, green", {}, "Wavelength \"green\": "},
           {"1200", {}, "Wavelength \"1200\": "},
           {"199.9", {}, "Wavelength \"199.9\": "},
           {"450, 450.04", {}, "450.0 nm is entered twice; each wavelength can be followed once."},
       }) {
    SCOPED_TRACE(c.text);
    std::vector<double> got{1.0};
    QString message;
    const bool ok = ParseKineticsWavelengths(QString::fromUtf8(c.text), got, message);
    const QString expected = QString::fromUtf8(c.message);
    EXPECT_EQ(ok, expected.isEmpty());
    if (ok) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_EQ(got, std::vector<double>{1.0});  // untouched
      const QString whole = expected.endsWith(QStringLiteral(": ")) ? expected + QString::fromUtf8(range) : expected;
      EXPECT_EQ(message, whole);
    }
  }
}

class KineticsWindowTest : public ::testing::Test {
 protected:
  TDialogRecorder dialogs;
  TKineticsWindow window;
  QTemporaryDir dir;

  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  TiPlotChannel* Channel(int i) const { return window.Chart->Channel(i); }
};

TEST_F(KineticsWindowTest, OnePointPerChannelPerFrameAtTheHandInterpolation) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("450.7, 400, 700")));
  ASSERT_EQ(window.Chart->ChannelCount(), 3);
  EXPECT_EQ(Channel(0)->TitleText(), QStringLiteral("450.7 nm"));
  constexpr int kFrames = 25;
  for (int f = 0; f < kFrames; ++f) {
    const double scale = 1.0 + 0.1 * f;
    // Descending X in every other frame: the same values.
    const TSpectrumCurve c = f % 2 ? Curve(QStringLiteral("ABSORBANCE"), [scale](double x) { return scale * x * x * 1e-6; }, true)
                                   : Absorbance(scale);
    window.AddFrame(100.0 + 0.5 * f, {c});
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(window.FrameCount(), kFrames);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Channel(i)->Count(), kFrames);
  for (int f = 0; f < kFrames; ++f) {
    SCOPED_TRACE(f);
    const double scale = 1.0 + 0.1 * f;
    EXPECT_DOUBLE_EQ(Channel(0)->GetX(f), 0.5 * f);  // seconds since the run's first frame
    EXPECT_DOUBLE_EQ(Channel(0)->GetY(f), HandAt450_7(scale));
    EXPECT_DOUBLE_EQ(Channel(1)->GetY(f), 400.0 * 400.0 * 1e-6 * scale);  // the curve's ends
    EXPECT_DOUBLE_EQ(Channel(2)->GetY(f), 700.0 * 700.0 * 1e-6 * scale);
  }
  EXPECT_EQ(window.Chart->YAxis(0)->Title(), QStringLiteral("Absorbance"));
  // The Y axis holds every value with room on both sides.
  const TiPlotYAxis* y = window.Chart->YAxis(0);
  EXPECT_LT(y->Min(), 400.0 * 400.0 * 1e-6);
  EXPECT_GT(y->Max(), 700.0 * 700.0 * 1e-6 * (1.0 + 0.1 * (kFrames - 1)));
}

TEST_F(KineticsWindowTest, IntensityAndTransmittanceCurves) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("450.7")));
  window.AddFrame(0, {Curve(QStringLiteral("ARBITRARY UNITS"), [](double x) { return x * x * 1e-6; })});
  EXPECT_EQ(window.Quantity(), kqIntensity);
  EXPECT_EQ(window.Chart->YAxis(0)->Title(), QStringLiteral("Intensity"));
  EXPECT_DOUBLE_EQ(Channel(0)->GetY(0), HandAt450_7(1));
  window.AddFrame(1, {Curve(QStringLiteral("ARBITRARY UNITS"), [](double x) { return x * x * 1e-6; })});
  ASSERT_EQ(window.FrameCount(), 2);
  // A reference arrives: transmittance now, followed as absorbance; the run starts again.
  window.AddFrame(2, {Curve(QStringLiteral("TRANSMITTANCE"), [](double x) { return x / 1000.0; })});
  EXPECT_EQ(window.Quantity(), kqAbsorbance);
  EXPECT_EQ(window.Chart->YAxis(0)->Title(), QStringLiteral("Absorbance"));
  ASSERT_EQ(window.FrameCount(), 1);
  EXPECT_DOUBLE_EQ(Channel(0)->GetX(0), 0.0);
  // Each neighbour turned into absorbance, then interpolated, as the absorbance curve would give.
  const double a0 = -std::log10(0.4495), a1 = -std::log10(0.451);
  EXPECT_NEAR(Channel(0)->GetY(0), a0 + (a1 - a0) * 1.2 / 1.5, 1e-12);
  EXPECT_TRUE(dialogs.Messages.isEmpty());  // no log ran, so nothing to say
}

TEST_F(KineticsWindowTest, OutsideTheCurveGivesAGapAndOneMessage) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("380, 499, 720")));
  for (int f = 0; f < 4; ++f) window.AddFrame(f, {Absorbance(1)});
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Channel(i)->Count(), 4);
  for (int f = 0; f < 4; ++f) {
    EXPECT_TRUE(std::isnan(Channel(0)->GetY(f)));
    EXPECT_DOUBLE_EQ(Channel(1)->GetY(f), 499.0 * 499.0 * 1e-6);
    EXPECT_TRUE(std::isnan(Channel(2)->GetY(f)));
  }
  EXPECT_EQ(dialogs.Messages,
            QStringList({QStringLiteral("380.0 nm lies outside the live spectrum (400.0 to 700.0 nm): its trace has a gap while it does."),
                         QStringLiteral("720.0 nm lies outside the live spectrum (400.0 to 700.0 nm): its trace has a gap while it does.")}));
  // The Y axis is fitted to the values there are.
  EXPECT_LT(window.Chart->YAxis(0)->Min(), 0.249);
  EXPECT_GT(window.Chart->YAxis(0)->Max(), 0.249);
}

TEST_F(KineticsWindowTest, CurveAgainstPixelNumberAddsNothingAndSaysSoOnce) {
  TSpectrumCurve pixels = Absorbance(1);
  pixels.Wavelength = false;
  for (int f = 0; f < 5; ++f) window.AddFrame(f, {pixels});
  EXPECT_EQ(window.FrameCount(), 0);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("The live spectrum is plotted against pixel number")));
  window.AddFrame(5, {Absorbance(1)});
  EXPECT_EQ(window.FrameCount(), 1);
  EXPECT_DOUBLE_EQ(Channel(0)->GetX(0), 0.0);  // time starts with the first frame taken
  // Frames without any curve add nothing and say nothing.
  window.AddFrame(6, {});
  EXPECT_EQ(window.FrameCount(), 1);
  EXPECT_EQ(dialogs.Messages.size(), 1);
}

TEST_F(KineticsWindowTest, TimeRestartsAtClearAndNeverGoesBackwards) {
  window.AddFrame(50, {Absorbance(1)});
  window.AddFrame(52, {Absorbance(1)});
  // The source's clock starts again: the run goes on from its last time.
  window.AddFrame(1, {Absorbance(1)});
  window.AddFrame(4, {Absorbance(1)});
  ASSERT_EQ(window.FrameCount(), 4);
  EXPECT_EQ(Channel(0)->GetX(1), 2.0);
  EXPECT_EQ(Channel(0)->GetX(2), 2.0);
  EXPECT_EQ(Channel(0)->GetX(3), 5.0);
  // A user's zoom pauses the axes' tracking; the new run is followed again.
  window.Chart->XAxis(0)->SetTrackingEnabled(false);
  window.Chart->YAxis(0)->SetTrackingEnabled(false);
  window.Chart->YAxis(0)->SetMinSpan(-5, 1);
  EXPECT_TRUE(window.Restart());
  EXPECT_EQ(window.FrameCount(), 0);
  EXPECT_TRUE(window.Chart->XAxis(0)->TrackingEnabled());
  EXPECT_TRUE(window.Chart->YAxis(0)->TrackingEnabled());
  window.AddFrame(80, {Absorbance(1)});
  window.AddFrame(81.25, {Absorbance(1)});
  EXPECT_EQ(Channel(0)->GetX(0), 0.0);
  EXPECT_EQ(Channel(0)->GetX(1), 1.25);
  EXPECT_EQ(window.Chart->XAxis(0)->Min(), 0.0);
  EXPECT_LT(window.Chart->YAxis(0)->Min(), 0.2025);  // fitted to the lowest value, 450 nm: 0.2025
  EXPECT_GT(window.Chart->YAxis(0)->Min(), 0.0);
}

TEST_F(KineticsWindowTest, XAxisWidensToAnHourThenScrolls) {
  const TiPlotXAxis* x = window.Chart->XAxis(0);
  window.AddFrame(0, {Absorbance(1)});
  window.AddFrame(30, {Absorbance(1)});
  EXPECT_EQ(x->Min(), 0.0);
  EXPECT_EQ(x->Span(), TKineticsWindow::kInitialSeconds);
  window.AddFrame(600, {Absorbance(1)});
  EXPECT_EQ(x->Min(), 0.0);
  EXPECT_EQ(x->Max(), 600.0);
  window.AddFrame(3600, {Absorbance(1)});
  EXPECT_EQ(x->Min(), 0.0);
  EXPECT_EQ(x->Max(), 3600.0);
  // The frame that takes the window past an hour still widens it; from the next on it scrolls.
  window.AddFrame(3601, {Absorbance(1)});
  window.AddFrame(3700, {Absorbance(1)});
  EXPECT_EQ(x->Max(), 3700.0);
  EXPECT_EQ(x->Span(), TKineticsWindow::kScrollAfter);
}

TEST_F(KineticsWindowTest, LogHoldsTheChartsRows) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("450.7, 380, 600")));
  window.AddFrame(0, {Absorbance(0.5)});  // before logging: not in the log
  const QString file = Path("kinetics.txt");
  ASSERT_TRUE(window.StartLog(file));
  EXPECT_TRUE(window.Logging());
  constexpr int kLogged = 12;
  for (int f = 1; f <= kLogged; ++f) {
    window.AddFrame(f * 0.37, {Absorbance(1.0 + 0.01 * f)});
    // Every frame's row is on disk as soon as the frame is in.
    EXPECT_EQ(ReadLines(file).size(), f + 1);
  }
  ASSERT_TRUE(window.StopLog());
  EXPECT_FALSE(window.Logging());
  const QStringList lines = ReadLines(file);
  ASSERT_EQ(lines.size(), kLogged + 1);
  EXPECT_EQ(lines[0], QStringLiteral("(X)\t450.7 nm(Y)\t380.0 nm(Y)\t600.0 nm(Y)"));
  for (int r = 1; r <= kLogged; ++r) {
    SCOPED_TRACE(lines[r].toStdString());
    const QStringList fields = lines[r].split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 4);
    EXPECT_NEAR(fields[0].toDouble(), Channel(0)->GetX(r), 1e-12);
    for (int c = 0; c < 3; ++c) {
      const double y = Channel(c)->GetY(r);
      if (std::isnan(y)) {
        EXPECT_TRUE(fields[c + 1].isEmpty());  // outside the curve: an empty cell
      } else {
        bool ok = false;
        EXPECT_NEAR(fields[c + 1].toDouble(&ok), y, 1e-13 * std::fabs(y));
        EXPECT_TRUE(ok);
      }
    }
  }
  EXPECT_NEAR(lines[1].split(QLatin1Char('\t'))[1].toDouble(), HandAt450_7(1.01), 1e-14);
}

TEST_F(KineticsWindowTest, LogToFileAsksForTheFileThroughTheDialogs) {
  window.LogToFile();  // cancelled
  EXPECT_FALSE(window.Logging());
  ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
  EXPECT_TRUE(dialogs.SaveRequests[0].OverwritePrompt);
  dialogs.SaveAnswer = Path("chosen.txt");
  window.LogToFile();
  EXPECT_TRUE(window.Logging());
  EXPECT_FALSE(window.ApplyButton->isEnabled());
  EXPECT_TRUE(window.StopLogButton->isEnabled());
  window.AddFrame(0, {Absorbance(1)});
  EXPECT_EQ(ReadLines(Path("chosen.txt")).size(), 2);
  // Starting again while logging is refused with its message.
  EXPECT_FALSE(window.StartLog(Path("other.txt")));
  EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Already logging to \"%1\": stop logging first.").arg(Path("chosen.txt")));
  EXPECT_FALSE(QFile::exists(Path("other.txt")));
}

TEST_F(KineticsWindowTest, WavelengthsAreFixedWhileLoggingAndRestartTheRunOtherwise) {
  for (int f = 0; f < 5; ++f) window.AddFrame(f, {Absorbance(1)});
  ASSERT_TRUE(window.StartLog(Path("run.txt")));
  EXPECT_FALSE(window.SetWavelengthsText(QStringLiteral("500, 600")));
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Stop logging before choosing other wavelengths.")});
  EXPECT_EQ(window.Chart->ChannelCount(), 3);
  EXPECT_EQ(window.FrameCount(), 5);
  ASSERT_TRUE(window.StopLog());
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("500  600")));
  EXPECT_EQ(window.WavelengthBox->text(), QStringLiteral("500.0, 600.0"));
  ASSERT_EQ(window.Chart->ChannelCount(), 2);
  EXPECT_EQ(window.FrameCount(), 0);
  EXPECT_EQ(Channel(1)->TitleText(), QStringLiteral("600.0 nm"));
  window.AddFrame(10, {Absorbance(1)});
  EXPECT_EQ(Channel(0)->GetX(0), 0.0);
  EXPECT_EQ(Channel(1)->Count(), 1);
  // A refused text keeps the wavelengths.
  EXPECT_FALSE(window.SetWavelengthsText(QStringLiteral("500, 600, 700, 800, 900")));
  EXPECT_EQ(window.Wavelengths(), (std::vector<double>{500, 600}));
}

TEST_F(KineticsWindowTest, ClearWhileLoggingGoesOnInTheSameFile) {
  const QString file = Path("clear.txt");
  ASSERT_TRUE(window.StartLog(file));
  window.AddFrame(10, {Absorbance(1)});
  window.AddFrame(11, {Absorbance(1)});
  ASSERT_TRUE(window.Restart());
  EXPECT_TRUE(window.Logging());
  window.AddFrame(20, {Absorbance(1)});
  const QStringList lines = ReadLines(file);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("0\t")));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1\t")));
  EXPECT_TRUE(lines[3].startsWith(QStringLiteral("0\t")));  // the run after the clear
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(KineticsWindowTest, AFailedLogIsReported) {
  // A folder that does not exist.
  EXPECT_FALSE(window.StartLog(Path("missing/kinetics.txt")));
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0], QStringLiteral("Logging could not start: Cannot open file \"%1\": No such file or directory")
                                    .arg(Path("missing/kinetics.txt")));
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("No such file or directory")));
  EXPECT_FALSE(window.Logging());

  // The file goes away under a running log (a folder takes its place): the next frame's row
  // cannot be written; the log ends with one message and the chart goes on.
  const QString file = Path("vanishing.txt");
  ASSERT_TRUE(window.StartLog(file));
  window.AddFrame(0, {Absorbance(1)});
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkdir(file));
  const int before = dialogs.Messages.size();
  window.AddFrame(1, {Absorbance(1)});
  window.AddFrame(2, {Absorbance(1)});
  ASSERT_EQ(dialogs.Messages.size(), before + 1);
  EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Logging stopped: Cannot open file \"%1\": Is a directory").arg(file));
  EXPECT_FALSE(window.Logging());
  EXPECT_TRUE(window.LogButton->isEnabled());
  EXPECT_EQ(window.FrameCount(), 3);
}

TEST_F(KineticsWindowTest, DrawsTheTracesInTheirColours) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("450, 490, 520, 570")));
  window.resize(820, 560);
  window.show();
  window.layout()->activate();
  // A product with its band at 520 nm forming at first order (time constant 80 s), one frame
  // every 2 s for 5 minutes, with a little noise.
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 0.004);
  for (int f = 0; f <= 150; ++f) {
    const double t = 2.0 * f;
    const double progress = 1.0 - std::exp(-t / 80.0);
    window.AddFrame(1000.0 + t, {Curve(QStringLiteral("ABSORBANCE"), [&](double x) {
                      const double band = std::exp(-std::pow((x - 520.0) / 50.0, 2));
                      return 0.05 + 0.85 * progress * band + noise(random);
                    })});
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  TBitmap bitmap(window.Chart->width(), window.Chart->height());
  window.Chart->DoPaint(*bitmap.Canvas());
  const QImage image = bitmap.Image();
  const TColor colors[4] = {clLime, clAqua, clYellow, clFuchsia};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Channel(i)->Color(), colors[i]);
    // A trace over most of the chart's width, two pixels thick: hundreds of its pixels.
    EXPECT_GT(CountColor(image, colors[i]), 400);
  }
  // LUMIO_KINETICS_PNG=file keeps a picture of the window to look at.
  const QString picture = qEnvironmentVariable("LUMIO_KINETICS_PNG");
  if (!picture.isEmpty()) {
    EXPECT_TRUE(window.grab().save(picture));
  }
}

TEST_F(KineticsWindowTest, AWavelengthLeavingTheCurveBreaksItsTrace) {
  ASSERT_TRUE(window.SetWavelengthsText(QStringLiteral("450")));
  window.resize(820, 560);
  window.show();
  window.layout()->activate();
  TSpectrumCurve wide = Absorbance(1);
  TSpectrumCurve narrow = wide;  // from 500 nm on: 450 nm lies outside
  narrow.X.erase(narrow.X.begin(), narrow.X.begin() + 67);
  narrow.Y.erase(narrow.Y.begin(), narrow.Y.begin() + 67);
  for (int f = 0; f < 60; ++f) window.AddFrame(f, {f >= 20 && f < 40 ? narrow : wide});
  ASSERT_EQ(Channel(0)->Count(), 60);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  TBitmap bitmap(window.Chart->width(), window.Chart->height());
  window.Chart->DoPaint(*bitmap.Canvas());
  const QImage image = bitmap.Image();
  const TiPlotXAxis* x = window.Chart->XAxis(0);
  // Columns well inside each stretch: the trace is drawn before and after the gap, not in it.
  const auto columnHasTrace = [&](double seconds) {
    const int column = x->ValueToPosition(seconds);
    for (int row = 0; row < image.height(); ++row)
      if ((image.pixel(column, row) & 0xFFFFFF) == 0x00FF00) return true;
    return false;
  };
  EXPECT_TRUE(columnHasTrace(10));
  EXPECT_FALSE(columnHasTrace(25));
  EXPECT_FALSE(columnHasTrace(34));
  EXPECT_TRUE(columnHasTrace(50));
}

TEST_F(KineticsWindowTest, ButtonsRunTheirActions) {
  window.AddFrame(0, {Absorbance(1)});
  window.ClearButton->click();
  EXPECT_EQ(window.FrameCount(), 0);
  window.WavelengthBox->setText(QStringLiteral("510"));
  window.ApplyButton->click();
  EXPECT_EQ(window.Wavelengths(), std::vector<double>{510});
  dialogs.SaveAnswer = Path("buttons.txt");
  window.LogButton->click();
  EXPECT_TRUE(window.Logging());
  window.StopLogButton->click();
  EXPECT_FALSE(window.Logging());
  window.WavelengthBox->setText(QStringLiteral("nine hundred"));
  window.ApplyButton->click();
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Wavelength \"nine\": ")));
}

TEST_F(KineticsWindowTest, ClearWhoseLogCannotGoOnSaysSo) {
  const QString file = Path("moved.txt");
  ASSERT_TRUE(window.StartLog(file));
  window.AddFrame(0, {Absorbance(1)});
  // The file is gone when the log is to go on after the clear: the run restarts without it.
  ASSERT_TRUE(QFile::remove(file));
  EXPECT_FALSE(window.Restart());
  EXPECT_FALSE(window.Logging());
  EXPECT_EQ(window.FrameCount(), 0);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Logging stopped: "))) << dialogs.Messages[0].toStdString();
}
