// From two photographs to a plotted spectrum, as a user goes: load both pictures, mark their
// ends by clicking, plot every trace against both abscissas, export CSV, and render the window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/Application.h"
#include "app/PointMeaningDialog.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/PictureFiles.h"
#include "support/PointClicks.h"
#include "support/WindowsFixture.h"

namespace {
double Bell(double x, double centre, double width) { return std::exp(-((x - centre) / width) * ((x - centre) / width)); }

// A grating spectrum as a camera sees it: a horizontal band `rows` high around row y, black
// elsewhere, from column x0 (400 nm) to x1, column x showing 400 + 320 (x - x0) / (x1 - x0 + 1)
// nm: the wavelength the extraction gives the row of that column. A white lamp seen through
// the camera's blue, green and red filters; with `dip`, a sample absorbing 70 % at 550 nm.
TBitmap SpectrumPicture(int x0, int x1, int y, bool dip) {
  TBitmap b(400, 200, pf24bit);
  for (int row = 0; row < 200; ++row) std::fill_n(b.ScanLine(row), 3 * 400, std::uint8_t(0));
  for (int x = x0; x <= x1; ++x) {
    const double nm = 400 + 320.0 * (x - x0) / (x1 - x0 + 1);
    const double pass = dip ? 1 - 0.7 * Bell(nm, 550, 12) : 1;
    const auto level = [&](double filter) { return static_cast<std::uint8_t>(std::lround(255 * filter * pass)); };
    const std::uint8_t blue = level(Bell(nm, 450, 60)), green = level(Bell(nm, 540, 70)), red = level(Bell(nm, 610, 80));
    for (int row = y - 10; row <= y + 10; ++row) {
      std::uint8_t* p = b.ScanLine(row) + 3 * x;
      p[0] = blue, p[1] = green, p[2] = red;
    }
  }
  return b;
}

class FirstPlotTest : public TLumioWindowsTest {
 protected:
  TiXYPlot& chart = *form.iXYPlot1;

  void SetUp() override { ShowForm(); }
  // "Load Sample (&Left)" or "Load Reference (&Right)" with the file chosen in the open dialog.
  void Load(QAction* item, const QString& path) {
    dialogs.OpenAnswer = path;
    item->trigger();
    QCoreApplication::processEvents();
  }
  // A click into a picture view, answered in the point dialog with the given button.
  void Mark(TImage* view, QPoint pos, QAbstractButton* answer) {
    ASSERT_TRUE(AnswerDialog(dialog, answer, [&] { SendClick(view, pos); }));
  }
  void Plot(int trace, int abscissa) {
    form.RadioGroup1->Button(trace)->click();
    form.RadioGroup2->Button(abscissa)->click();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  // The window as the user sees it, kept as PNG (in LUMIO_SCREENSHOT_DIR when that is set).
  QImage Screenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("LUMIO_SCREENSHOT_DIR", dir.path());
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(form.grab().save(path, "PNG")) << path.toStdString();
    return QImage(path);
  }
};

// A number read back from the CSV file, written there with 15 significant digits.
void ExpectWritten(const QString& text, double value) { EXPECT_NEAR(text.toDouble(), value, 1e-13 * std::abs(value)) << text.toStdString(); }

// The expected position of row i on each abscissa, from the marked ends: row i of a spectrum of
// n rows lies i pixels from the blue end and at 400 + 320 i / n nm.
double RowX(int abscissa, int i, int rows) { return abscissa == 0 ? i : 400 + 320.0 * i / rows; }
}  // namespace

TEST_F(FirstPlotTest, TwoPhotographsToEveryPlotAndACsvFile) {
  const QString samplePath = dir.filePath(QStringLiteral("sample.jpg"));
  const QString referencePath = dir.filePath(QStringLiteral("reference.jpg"));
  ASSERT_TRUE(WriteJpegFile(samplePath, SpectrumPicture(50, 350, 100, true), {100, false, jcsYCbCr, true}));
  ASSERT_TRUE(WriteJpegFile(referencePath, SpectrumPicture(60, 350, 80, false), {100, false, jcsYCbCr, true}));
  Load(form.LoadSample1, samplePath);
  Load(form.LoadReference1, referencePath);
  ASSERT_TRUE(form.SampleLoaded && form.ReferenceLoaded);
  ASSERT_TRUE(form.Button1->isEnabled());

  // Sample from (50, 100) to (350, 100): 301 rows; reference from (60, 80) to (350, 80): 291.
  Mark(form.Image1, {50, 100}, dialog.BitBtn1);
  Mark(form.Image1, {350, 100}, dialog.BitBtn2);
  Mark(form.Image2, {60, 80}, dialog.BitBtn1);
  Mark(form.Image2, {350, 80}, dialog.BitBtn2);
  ASSERT_EQ(form.Edit[5]->text(), QStringLiteral("350"));
  ASSERT_EQ(form.Edit[10]->text(), QStringLiteral("80"));
  const int sampleRows = 301, referenceRows = 291;

  const char* const sampleTitles[] = {"Sample Red I", "Sample Green I", "Sample Blue I", "Sample Intensity"};
  const char* const referenceTitles[] = {"Reference Red I", "Reference Green I", "Reference Blue I", "Reference Intensity"};
  const char* const bothTitles[] = {"Sample Red I", "Sample Green I", "Sample Blue i", "Sample Total Intensity",
                                    "Reference Red I", "Reference Green I", "Reference Blue i", "Reference Total Intensity"};
  std::vector<double> transmittanceX, transmittanceY;
  for (int trace = 0; trace < 5; ++trace) {
    for (int abscissa = 0; abscissa < 2; ++abscissa) {
      SCOPED_TRACE(testing::Message() << "trace " << trace << " abscissa " << abscissa);
      Plot(trace, abscissa);
      ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
      ASSERT_EQ(form.Sample.RowCount, sampleRows);
      ASSERT_EQ(form.Reference.RowCount, referenceRows);

      // The channels: which show, in the legend or not, their titles and their points.
      const bool sampleShown = trace == 0 || trace == 2, referenceShown = trace == 1 || trace == 2;
      for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        TiXYPlotChannel& c = *chart.Channel(i);
        const bool shown = i < 4 ? sampleShown : referenceShown;
        EXPECT_EQ(c.Visible(), shown || (i == 0 && trace >= 3));
        EXPECT_EQ(c.VisibleInLegend(), shown);
        if (trace == 2) {
          EXPECT_EQ(c.TitleText(), QString::fromLatin1(bothTitles[i]));
        } else if (trace == 0 && i < 4) {
          EXPECT_EQ(c.TitleText(), QString::fromLatin1(sampleTitles[i]));
        } else if (trace == 1 && i >= 4) {
          EXPECT_EQ(c.TitleText(), QString::fromLatin1(referenceTitles[i - 4]));
        }
        if (!shown) {
          EXPECT_EQ(c.Count(), i == 0 && trace >= 3 ? form.Transmittance.PointCount : 0);
          continue;
        }
        const TSpectrumRecord& r = i < 4 ? form.Sample : form.Reference;
        const int rows = i < 4 ? sampleRows : referenceRows;
        const std::vector<double>* sums[4] = {&r.RedSum, &r.GreenSum, &r.BlueSum, &r.TotalSum};
        ASSERT_EQ(c.Count(), rows);
        for (int row : {0, 1, 137, rows - 1}) {
          EXPECT_DOUBLE_EQ(c.GetX(row), RowX(abscissa, row, rows));
          EXPECT_EQ(c.GetY(row), (*sums[i % 4])[row]);
        }
      }
      EXPECT_EQ(chart.Legend(0)->Visible(), trace <= 2);

      // The axes. X: 0 .. 300 pixels (the longer spectrum), or 400 .. 720 nm, ticks every fifth.
      // Transmittance and absorbance are against wavelength whichever abscissa is chosen.
      TiPlotAxis& x = *chart.XAxis(0);
      TiPlotAxis& y = *chart.YAxis(0);
      const bool pixels = abscissa == 0 && trace <= 2;
      EXPECT_EQ(x.Title(), pixels ? QStringLiteral("Pixel") : QStringLiteral("Wavelength (nm)"));
      EXPECT_TRUE(x.TitleShow());
      EXPECT_EQ(x.Min(), pixels ? 0.0 : 400.0);
      EXPECT_EQ(x.Span(), pixels ? 300.0 : 320.0);
      EXPECT_EQ(x.DesiredIncrement(), pixels ? 60.0 : 64.0);
      const char* yTitles[] = {"Intensity", "Intensity", "Intensity", "Transmittance", "Absorbance"};
      EXPECT_EQ(y.Title(), QString::fromLatin1(yTitles[trace]));
      EXPECT_TRUE(y.TitleShow());
      if (trace <= 2) {
        // e raised to the integer next above ln M, M the largest total of both profiles.
        double m = 0;
        for (int i = 0; i < sampleRows; ++i) m = std::max(m, form.Sample.TotalSum[i]);
        for (int i = 0; i < referenceRows; ++i) m = std::max(m, form.Reference.TotalSum[i]);
        EXPECT_EQ(y.Min(), 0.0);
        EXPECT_EQ(y.Span(), std::nearbyint(std::exp(std::nearbyint(std::log(m) + 0.5))));
      }
    }

    if (trace >= 3) {
      // Against the reference's grid (it has fewer rows in the common range): T is the sample's
      // total over the reference's, so the dip at 550 nm shows and the rest stays near 1.
      const TTransmittanceResult& t = form.Transmittance;
      ASSERT_EQ(t.PointCount, referenceRows);
      TiXYPlotChannel& c = *chart.Channel(0);
      double lowest = 0, dip = 1, aside = 0;
      for (int n = 0; n < t.PointCount; ++n) {
        const double w = 400 + 320.0 * n / referenceRows;
        EXPECT_DOUBLE_EQ(c.GetX(n), w);
        EXPECT_EQ(c.GetY(n), trace == 3 ? t.Transmittance[n] : t.Absorbance[n]);
        lowest = std::min(lowest, t.Absorbance[n]);
        if (std::abs(w - 550) < 2) dip = std::min(dip, t.Transmittance[n]);
        if ((w > 470 && w < 500) || (w > 600 && w < 630)) aside = std::max(aside, std::abs(t.Transmittance[n] - 1));
      }
      EXPECT_LT(dip, 0.4);
      EXPECT_LT(aside, 0.12);
      double highest = 0;
      for (int n = 0; n < t.PointCount; ++n) highest = std::max(highest, t.Transmittance[n]);
      TiPlotAxis& y = *chart.YAxis(0);
      if (trace == 3) {
        // Tracking widens the 0 .. 1 scale to the largest value.
        EXPECT_EQ(y.Min(), 0.0);
        EXPECT_EQ(y.Span(), std::max(1.0, highest));
        transmittanceX.assign({c.GetX(0), c.GetX(200)});
        transmittanceY.assign({c.GetY(0), c.GetY(200)});
      } else {
        // Tracking moves the 0 .. 2 window down to a negative absorbance, keeping its span.
        EXPECT_EQ(y.Min(), lowest);
        EXPECT_EQ(y.Span(), 2.0);
      }
    }
  }

  // Both intensities against wavelength, as the user leaves it.
  Plot(2, 1);
  const QImage shot = Screenshot(QStringLiteral("first-plot-synthetic.png"));
  ASSERT_EQ(shot.size(), form.size());
  const QRect plotArea = form.iXYPlot1->geometry().translated(form.Client->mapTo(&form, QPoint(0, 0)));
  int white = 0, dark = 0;
  for (int yy = plotArea.top(); yy <= plotArea.bottom(); ++yy)
    for (int xx = plotArea.left(); xx <= plotArea.right(); ++xx) {
      const QRgb p = shot.pixel(xx, yy);
      white += qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240;
      dark += qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) < 16;
    }
  EXPECT_GT(white, 200);                               // title, axis titles and labels
  EXPECT_GT(dark, plotArea.width() * plotArea.height() / 2);  // the chart's black ground

  // CSV: the header, then one line per row of the longer profile and one more.
  const QString csv = dir.filePath(QStringLiteral("LumioData.CSV"));
  dialogs.SaveAnswer = csv;
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Output data reflect most recent plot.")});
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(file.readAll());
  ASSERT_TRUE(text.endsWith(QStringLiteral("\r\n")));
  const QStringList lines = text.left(text.size() - 2).split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 1 + sampleRows + 1);
  EXPECT_EQ(lines[0], QStringLiteral("pixel number, wavelength, Isample(red), Isample(green), Isample(blue), Isample(total), "
                                     "pixel number, wavelength, Iref(red), Iref(green), Iref(blue), Iref(total), "
                                     "wavelength, Transmittance, Absorbance"));
  // Row 200 holds every group: what the channels plotted, written out.
  const QStringList row = lines[1 + 200].split(QLatin1Char(','));
  ASSERT_EQ(row.size(), 15);
  EXPECT_EQ(row[0], QStringLiteral("200"));
  ExpectWritten(row[1], chart.Channel(0)->GetX(200));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(row[2 + k].toDouble(), chart.Channel(k)->GetY(200));
  EXPECT_EQ(row[6], QStringLiteral("200"));
  ExpectWritten(row[7], chart.Channel(4)->GetX(200));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(row[8 + k].toDouble(), chart.Channel(4 + k)->GetY(200));
  ExpectWritten(row[12], transmittanceX[1]);
  ExpectWritten(row[13], transmittanceY[1]);
  // Past the reference's rows only the sample's group is filled; the last line is all fillers.
  EXPECT_TRUE(lines[1 + 300].startsWith(QStringLiteral("300,")));
  EXPECT_TRUE(lines[1 + 300].endsWith(QStringLiteral(", , , , , , , , ")));
  EXPECT_EQ(lines[1 + 301], QStringLiteral(" , , , , , , , , , , , , , , "));
}

// The photographs the README's first plot uses, loaded from the file lists and marked as it says.
TEST_F(FirstPlotTest, TheExamplePhotographsAsTheReadmeSays) {
  const QString examples = QStringLiteral(LUMIO_FIXTURES "/../../examples");
  ASSERT_TRUE(QFile::exists(examples + QStringLiteral("/webcam-1-ipa-glass.jpg")));
  const auto open = [&](TFileListBox* list, TDirectoryListBox* folders, const char* name) {
    folders->SetDirectory(QDir(examples).absolutePath());
    list->SelectFile(QString::fromLatin1(name));
    ASSERT_FALSE(list->selectedItems().isEmpty());
    const QRect item = list->visualItemRect(list->selectedItems().first());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  };
  open(form.FileListBox1, form.DirectoryListBox1, "webcam-1-ipa-glass.jpg");
  open(form.FileListBox2, form.DirectoryListBox2, "webcam-ipa-glass.jpg");
  ASSERT_TRUE(form.SampleLoaded && form.ReferenceLoaded);
  // Blue end (110, 75) at 400 nm and red end (414, 75) at 720 nm on both pictures, typed into
  // the boxes; band width 5.
  for (int box : {2, 9}) form.Edit[box]->setText(QStringLiteral("110"));
  for (int box : {5, 12}) form.Edit[box]->setText(QStringLiteral("414"));
  for (int box : {3, 6, 10, 13}) form.Edit[box]->setText(QStringLiteral("75"));
  form.Edit[7]->setText(QStringLiteral("5"));
  form.EditExit(form.Edit[7]);  // leaving the band-width box stores it into both records

  for (int trace : {2, 3, 4}) {
    SCOPED_TRACE(trace);
    Plot(trace, 1);
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(form.Sample.RowCount, 305);
    EXPECT_EQ(form.Sample.BandWidth, 5);
    ASSERT_EQ(form.Transmittance.PointCount, 305);
    for (int n = 0; n < 305; ++n) ASSERT_TRUE(std::isfinite(form.Transmittance.Absorbance[n]));
    // The first is the README's picture: run this test alone with LUMIO_SCREENSHOT_DIR=examples to renew it.
    const char* names[] = {"", "", "first-plot.png", "first-plot-transmittance.png", "first-plot-absorbance.png"};
    Screenshot(QString::fromLatin1(names[trace]));
  }
  // The data cursor over both intensities, following every channel: the legend grows value
  // columns, and pointer 1 at half the data view reads the middle of 400 .. 720 nm.
  Plot(2, 1);
  const int legendWidth = chart.Legend(0)->GetLayoutRect().Right - chart.Legend(0)->GetLayoutRect().Left;
  TiPlotDataCursor* cursor = chart.DataCursor(0);
  cursor->SetChannelName(QStringLiteral("<All>"));
  cursor->SetVisible(true);
  Screenshot(QStringLiteral("first-plot-cursor.png"));
  EXPECT_GT(chart.Legend(0)->GetLayoutRect().Right - chart.Legend(0)->GetLayoutRect().Left, legendWidth);
  for (int channel = 0; channel < 8; ++channel) {
    EXPECT_NEAR(chart.Channel(channel)->CursorX(), 560.0, 1e-9) << channel;
    EXPECT_TRUE(chart.Channel(channel)->CursorXText().startsWith(QStringLiteral("560"))) << channel;
  }
  cursor->SetVisible(false);
  // In the green, where both pictures are bright, the sample lets most of the light through.
  const TTransmittanceResult& t = form.Transmittance;
  for (int n = 0; n < t.PointCount; ++n) {
    if (t.Wavelength[n] > 500 && t.Wavelength[n] < 560) {
      EXPECT_NEAR(t.Transmittance[n], 1.0, 0.5) << t.Wavelength[n];
    }
  }

  // The same calibration puts the lamp's mercury line (546.07 nm) and europium line (611.6 nm)
  // where they belong, to within two rows.
  open(form.FileListBox1, form.DirectoryListBox1, "webcam-cfl.jpg");
  Plot(0, 1);
  const auto peak = [&](int channel, double from, double to) {
    TiXYPlotChannel& c = *chart.Channel(channel);
    int best = -1;
    for (int i = 0; i < c.Count(); ++i)
      if (c.GetX(i) > from && c.GetX(i) < to && (best < 0 || c.GetY(i) > c.GetY(best))) best = i;
    return best < 0 ? 0.0 : c.GetX(best);
  };
  EXPECT_NEAR(peak(1, 500, 580), 546.07, 2.2);  // green sums
  EXPECT_NEAR(peak(0, 590, 650), 611.6, 2.2);   // red sums
}
