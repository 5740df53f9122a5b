// Calibrating from a lamp, peak labels, saturation warnings and workspaces in the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "app/MainWindow.h"
#include "app/calibration/CalibrationDialog.h"
#include "app/calibration/PeakLabels.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "platform/Controls.h"
#include "platform/Convert.h"
#include "support/PictureFiles.h"
#include "support/WindowsFixture.h"

namespace {
const QString kWebcam = QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg");

class CalibrationWindowTest : public TLumioWindowsTest {
 protected:
  void SetUp() override { ShowForm(); }

  // The README's marks on the webcam lamp, with wavelengths that are off by 20 nm.
  void MarkWebcam(int firstBox = 1) {
    const int o = firstBox - 1;  // 0 for the sample's boxes, 7 for the reference's
    form.Edit[1 + o]->setText(QStringLiteral("420.0"));
    form.Edit[4 + o]->setText(QStringLiteral("700.0"));
    form.Edit[2 + o]->setText(QStringLiteral("110"));
    form.Edit[3 + o]->setText(QStringLiteral("75"));
    form.Edit[5 + o]->setText(QStringLiteral("414"));
    form.Edit[6 + o]->setText(QStringLiteral("75"));
    form.Edit[7]->setText(QStringLiteral("5"));
  }
  void Plot(int trace, int abscissa) {
    form.RadioGroup1->Button(trace)->click();
    form.RadioGroup2->Button(abscissa)->click();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
  }
  QStringList AnnotationTexts(const QString& prefix) {
    QStringList texts;
    for (int i = 0; i < form.iXYPlot1->AnnotationCount(); ++i)
      if (form.iXYPlot1->Annotation(i)->Name().startsWith(prefix)) texts << form.iXYPlot1->Annotation(i)->Text();
    return texts;
  }
};
}  // namespace

TEST_F(CalibrationWindowTest, LinearAcceptWritesEndsThatReproduceTheFit) {
  MarkWebcam();
  dialogs.OpenAnswer = kWebcam;  // the sample side has no picture yet: the command asks for one
  TPolynomialFit fit;
  int rows = 0;
  form.RunCalibrationDialog = [&](TCalibrationDialog& d) {
    ASSERT_TRUE(d.Result().Ok) << d.Result().Message.toStdString();
    EXPECT_GE(d.Table->rowCount(), 4);
    // Every matched line is labelled on the dialog's chart.
    QStringList labels;
    for (int i = 0; i < d.Chart->AnnotationCount(); ++i) labels << d.Chart->Annotation(i)->Text();
    EXPECT_TRUE(labels.join(QLatin1Char('|')).contains(QStringLiteral("Hg 546.07"))) << labels.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(d.Summary->text().contains(QStringLiteral("saturated")));
    fit = d.Result().Linear.Fit;
    rows = d.Rows();
    d.AcceptLinear->click();
  };
  form.CalibrateSample1->trigger();
  ASSERT_TRUE(form.SampleLoaded);
  ASSERT_GT(rows, 0);
  EXPECT_FALSE(form.Sample.QuadraticInForce);
  EXPECT_FALSE(form.QuadraticNote[sdSample]->isVisibleTo(&form));
  Plot(0, 1);
  ASSERT_EQ(form.Sample.RowCount, rows);
  for (int i : {0, rows / 2, rows - 1}) EXPECT_NEAR(form.Sample.Wavelength[i], fit.At(i), 1e-3) << i;
  EXPECT_NEAR(form.Sample.Wavelength[140], 546.07, 2.0);
}

TEST_F(CalibrationWindowTest, QuadraticAcceptIsStoredShownAndEndedByTyping) {
  MarkWebcam();
  form.LoadPicture(kWebcam, sdSample);
  TPolynomialFit fit;
  form.RunCalibrationDialog = [&](TCalibrationDialog& d) {
    fit = d.Result().Quadratic.Fit;
    d.AcceptQuadratic->click();
  };
  form.CalibrateSample1->trigger();
  ASSERT_TRUE(fit.Valid);
  ASSERT_TRUE(form.Sample.QuadraticInForce);
  EXPECT_TRUE(form.QuadraticNote[sdSample]->isVisibleTo(&form));
  EXPECT_FALSE(form.QuadraticNote[sdReference]->isVisibleTo(&form));
  Plot(0, 1);
  const QString folder = qEnvironmentVariable("LUMIO_SCREENSHOT_DIR", dir.path());
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath(QStringLiteral("quadratic-in-force.png")), "PNG"));
  const int rows = form.Sample.RowCount;
  for (int i : {0, rows / 2, rows - 1}) EXPECT_DOUBLE_EQ(form.Sample.Wavelength[i], fit.At(i)) << i;
  // The boxes show the end wavelengths.
  EXPECT_NEAR(form.Edit[1]->text().toDouble(), fit.At(0), 1e-4);
  EXPECT_NEAR(form.Edit[4]->text().toDouble(), fit.At(rows), 1e-4);

  // Transmittance against a linearly calibrated reference runs on the curved scale, also after
  // leaving a wavelength box has rounded what it shows to one decimal.
  MarkWebcam(8);
  form.LoadPicture(kWebcam, sdReference);
  form.Edit[1]->setFocus();
  form.Edit[2]->setFocus();
  QCoreApplication::processEvents();
  ASSERT_EQ(form.Edit[1]->text(), FormatFixed(fit.At(0), 1));
  ASSERT_TRUE(form.Sample.QuadraticInForce);
  Plot(3, 1);
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
  EXPECT_GT(form.Transmittance.PointCount, 200);
  EXPECT_NEAR(form.Transmittance.Wavelength[0], 420.0, 1.2);  // the reference's grid from its blue end

  // Typing into a wavelength box goes back to the linear rule.
  form.Edit[4]->setFocus();
  QTest::keyClick(form.Edit[4], Qt::Key_End);
  QTest::keyClick(form.Edit[4], Qt::Key_Backspace);
  QTest::keyClick(form.Edit[4], Qt::Key_0);
  EXPECT_FALSE(form.Sample.QuadraticInForce);
  EXPECT_FALSE(form.QuadraticNote[sdSample]->isVisibleTo(&form));
  Plot(0, 1);
  EXPECT_DOUBLE_EQ(form.Sample.Wavelength[10],
                   form.Sample.BlueWavelength + (form.Sample.RedWavelength - form.Sample.BlueWavelength) * 10 / rows);
}

TEST_F(CalibrationWindowTest, CancelAndUnusableFitsChangeNothing) {
  MarkWebcam();
  form.LoadPicture(kWebcam, sdSample);
  form.RunCalibrationDialog = [](TCalibrationDialog& d) { d.CancelButton->click(); };
  form.CalibrateSample1->trigger();
  EXPECT_EQ(form.Edit[1]->text(), QStringLiteral("420.0"));
  EXPECT_EQ(form.Edit[4]->text(), QStringLiteral("700.0"));
  // A white LED has no lines: the dialog says so and offers no accept.
  form.RunCalibrationDialog = [](TCalibrationDialog& d) {
    d.SetLineList(2);
    EXPECT_FALSE(d.Result().Ok);
    EXPECT_TRUE(d.Summary->text().contains(QStringLiteral("no emission lines")));
    EXPECT_FALSE(d.AcceptLinear->isEnabled());
    EXPECT_FALSE(d.AcceptQuadratic->isEnabled());
    d.SetLineList(0);
    EXPECT_TRUE(d.AcceptLinear->isEnabled());
    // A line switched off in the list is no longer matched.
    d.LineBox->item(4)->setCheckState(Qt::Unchecked);
    for (const TLineMatch& m : d.Result().Linear.Lines) EXPECT_NE(m.Wavelength, 546.07);
    d.CancelButton->click();
  };
  form.CalibrateSample1->trigger();
  // A scale outside what the boxes accept is refused with a message.
  TPolynomialFit wild;
  wild.Valid = true;
  wild.C = {150, 1, 0};
  EXPECT_FALSE(form.AcceptLinearCalibration(sdSample, wild, 300));
  EXPECT_FALSE(form.AcceptQuadraticCalibration(sdSample, wild, 300));
  EXPECT_EQ(dialogs.Messages.size(), 2);
  EXPECT_EQ(form.Edit[1]->text(), QStringLiteral("420.0"));
  EXPECT_FALSE(form.Sample.QuadraticInForce);
  // An unmarked side has no band to calibrate: it says so and opens no dialog.
  form.LoadPicture(kWebcam, sdReference);
  bool opened = false;
  form.RunCalibrationDialog = [&](TCalibrationDialog&) { opened = true; };
  form.CalibrateReference1->trigger();
  EXPECT_FALSE(opened);
  ASSERT_EQ(dialogs.Messages.size(), 3);
  EXPECT_TRUE(dialogs.Messages[2].contains(QStringLiteral("too few rows")));
  // Without a picture the command asks for one; cancelling that ends it.
  TForm1 fresh;
  dialogs.OpenAnswer.clear();
  fresh.RunCalibrationDialog = [&](TCalibrationDialog&) { opened = true; };
  fresh.CalibrateSample1->trigger();
  EXPECT_FALSE(opened);
  EXPECT_FALSE(fresh.SampleLoaded);
}

TEST_F(CalibrationWindowTest, MakePlotWarnsOfClippedPixelsAndLabelsPeaksOnRequest) {
  MarkWebcam();
  form.LoadPicture(kWebcam, sdSample);
  Plot(0, 1);
  EXPECT_TRUE(form.SaturationText.contains(QStringLiteral("sample"))) << form.SaturationText.toStdString();
  EXPECT_TRUE(form.SaturationText.contains(QStringLiteral("green")));
  EXPECT_EQ(AnnotationTexts(QStringLiteral("Saturation")), QStringList{form.SaturationText});
  EXPECT_TRUE(dialogs.Messages.isEmpty());  // a warning in the chart, not a stop
  EXPECT_TRUE(AnnotationTexts(QString::fromLatin1(kPeakLabelName)).isEmpty());

  form.LabelPeaks1->setChecked(true);
  const QStringList labels = AnnotationTexts(QString::fromLatin1(kPeakLabelName));
  ASSERT_GE(labels.size(), 3);
  EXPECT_LE(labels.size(), 12);
  // Hg 546.07 lies at row ~138, near 547 nm under these boxes; its clipped top shows in the
  // saturated colour, the other labels in the plain one.
  int green = 0, saturated = 0;
  for (int i = 0; i < form.iXYPlot1->AnnotationCount(); ++i) {
    TiPlotAnnotation* a = form.iXYPlot1->Annotation(i);
    if (!a->Name().startsWith(QString::fromLatin1(kPeakLabelName))) continue;
    const bool isGreen = std::fabs(a->Text().toDouble() - (420 + 280.0 * 138.3 / 305)) < 1.5;
    green += isGreen;
    saturated += a->Font()->Color() == kSaturatedLabelColor;
    if (isGreen) {
      EXPECT_EQ(a->Font()->Color(), kSaturatedLabelColor);
    }
  }
  EXPECT_EQ(green, 1) << labels.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(saturated, 1);
  const QString folder = qEnvironmentVariable("LUMIO_SCREENSHOT_DIR", dir.path());
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath(QStringLiteral("label-peaks.png")), "PNG"));
  Plot(0, 0);  // the labels follow a new plot and stay at most a readable number
  EXPECT_EQ(AnnotationTexts(QString::fromLatin1(kPeakLabelName)).size(), labels.size());
  form.LabelPeaks1->setChecked(false);
  EXPECT_TRUE(AnnotationTexts(QString::fromLatin1(kPeakLabelName)).isEmpty());

  // A picture without clipped pixels gives no warning.
  const QString grey = dir.filePath(QStringLiteral("grey.jpg"));
  ASSERT_TRUE(WriteJpegFile(grey, FlatPicture(500, 150, RGB(120, 120, 120))));
  form.LoadPicture(grey, sdSample);
  Plot(0, 1);
  EXPECT_TRUE(form.SaturationText.isEmpty());
  EXPECT_TRUE(AnnotationTexts(QStringLiteral("Saturation")).isEmpty());
}

TEST_F(CalibrationWindowTest, WorkspaceRoundTripsThroughTheWindow) {
  QDir(dir.path()).mkdir(QStringLiteral("pictures"));
  const QString picture = dir.filePath(QStringLiteral("pictures/lamp.jpg"));
  ASSERT_TRUE(QFile::copy(kWebcam, picture));
  MarkWebcam();
  MarkWebcam(8);
  form.LoadPicture(picture, sdSample);
  form.LoadPicture(picture, sdReference);
  TPolynomialFit q;
  q.Valid = true;
  q.C = {397.1647, 1.097338, -0.000157};
  ASSERT_TRUE(form.AcceptQuadraticCalibration(sdReference, q, 305));
  form.RadioGroup1->Button(2)->click();
  form.RadioGroup2->Button(1)->click();
  const QString file = dir.filePath(QStringLiteral("lamp.lumio"));
  dialogs.SaveAnswer = file;
  form.SaveWorkspace1->trigger();
  ASSERT_TRUE(QFile::exists(file)) << dialogs.Messages.join(QLatin1Char('|')).toStdString();

  // Everything changed, then the workspace opened again.
  const TSpectrumRecord before = form.Reference;
  for (int n : {2, 3, 5, 6, 9, 10, 12, 13}) form.Edit[n]->setText(QStringLiteral("1"));
  form.Edit[7]->setText(QStringLiteral("9"));
  form.RevertToLinear(sdReference);
  form.RadioGroup1->Button(0)->click();
  form.LoadPicture(kWebcam, sdSample);
  dialogs.OpenAnswer = file;
  form.OpenWorkspace1->trigger();
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(form.PicturePath[sdSample], QFileInfo(picture).absoluteFilePath());
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_EQ(form.Edit[2]->text(), QStringLiteral("110"));
  EXPECT_EQ(form.Edit[13]->text(), QStringLiteral("75"));
  EXPECT_EQ(form.Edit[7]->text(), QStringLiteral("5"));
  EXPECT_EQ(form.RadioGroup1->ItemIndex(), 2);
  EXPECT_EQ(form.RadioGroup2->ItemIndex(), 1);
  EXPECT_TRUE(form.Reference.QuadraticInForce);
  EXPECT_EQ(form.Reference.Quadratic[2], -0.000157);
  EXPECT_EQ(form.Reference.RedWavelength, before.RedWavelength);
  EXPECT_TRUE(form.QuadraticNote[sdReference]->isVisibleTo(&form));

  // A missing picture is reported; the rest is restored and the side is not loaded.
  ASSERT_TRUE(QFile::remove(picture));
  form.Edit[2]->setText(QStringLiteral("1"));
  form.OpenWorkspace(file);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("missing"))) << dialogs.Messages[0].toStdString();
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("restored")));
  EXPECT_FALSE(form.SampleLoaded);
  EXPECT_EQ(form.Edit[2]->text(), QStringLiteral("110"));

  // A malformed file changes nothing.
  ASSERT_TRUE(WriteBytes(file, "{\"format\": \"lumio-workspace\", \"version\": 1"));
  form.Edit[2]->setText(QStringLiteral("33"));
  form.OpenWorkspace(file);
  ASSERT_EQ(dialogs.Messages.size(), 2);
  EXPECT_TRUE(dialogs.Messages[1].contains(QStringLiteral("Nothing was changed")));
  EXPECT_EQ(form.Edit[2]->text(), QStringLiteral("33"));
}

TEST_F(CalibrationWindowTest, DialogAsANewUserSeesIt) {
  // The webcam fixture, and the cfl photograph of the shared data when it is here.
  struct Case {
    QString picture, shot;
    int bx, by, rx, ry, band;
    std::size_t lines;
  };
  std::vector<Case> cases = {{kWebcam, QStringLiteral("calibration-dialog-webcam.png"), 110, 75, 414, 75, 5, 4}};
  const QString cfl = QStringLiteral(LUMIO_SHARED_DATA "/cfl-lamp-1280x720.jpg");
  if (QFileInfo::exists(cfl)) cases.push_back({cfl, QStringLiteral("calibration-dialog-cfl.png"), 241, 360, 814, 360, 99, 5});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shot.toStdString());
    const bool webcam = c.picture == kWebcam;
    form.Edit[1]->setText(QStringLiteral("420.0"));
    form.Edit[4]->setText(webcam ? QStringLiteral("700.0") : QStringLiteral("630.0"));
    form.Edit[2]->setText(QString::number(c.bx));
    form.Edit[3]->setText(QString::number(c.by));
    form.Edit[5]->setText(QString::number(c.rx));
    form.Edit[6]->setText(QString::number(c.ry));
    form.Edit[7]->setText(QString::number(c.band));
    form.LoadPicture(c.picture, sdSample);
    bool ran = false;
    form.RunCalibrationDialog = [&](TCalibrationDialog& d) {
      ran = true;
      d.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
      const QImage shot = d.grab().toImage();
      const QString folder = qEnvironmentVariable("LUMIO_SCREENSHOT_DIR", dir.path());
      EXPECT_TRUE(shot.save(QDir(folder).filePath(c.shot), "PNG"));
      // Every matched line's label is drawn on the chart.
      int drawn = 0;
      for (int i = 0; i < d.Chart->AnnotationCount(); ++i)
        if (d.Chart->Annotation(i)->Text().contains(QLatin1Char('.')) && d.Chart->Annotation(i)->Drawn()) ++drawn;
      EXPECT_GE(drawn, static_cast<int>(d.Result().Quadratic.Lines.size()));
      EXPECT_GE(d.Result().Quadratic.Lines.size(), c.lines);
      d.CancelButton->click();
    };
    form.CalibrateSample1->trigger();
    EXPECT_TRUE(ran);
  }
}

TEST_F(CalibrationWindowTest, AQuadraticScaleKeepsItsEndsWhenABoxRoundsThem) {
  // Leaving a wavelength box rounds what it shows to one decimal; the record's ends must still
  // be the scale's own, or the transmittance finds the reference's scale inconsistent.
  MarkWebcam();
  MarkWebcam(8);
  form.LoadPicture(kWebcam, sdSample);
  form.LoadPicture(kWebcam, sdReference);
  TPolynomialFit q;
  q.Valid = true;
  q.C = {397.1647, 1.097338, -0.000157};
  ASSERT_TRUE(form.AcceptQuadraticCalibration(sdReference, q, 305));
  form.Edit[8]->setFocus();
  form.Edit[9]->setFocus();
  QCoreApplication::processEvents();
  ASSERT_EQ(form.Edit[8]->text(), QStringLiteral("397.2"));
  ASSERT_TRUE(form.Reference.QuadraticInForce);
  for (int trace : {3, 1}) {
    Plot(trace, 1);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form.Reference.BlueWavelength, q.At(0));
    EXPECT_EQ(form.Reference.RedWavelength, q.At(form.Reference.RowCount));
  }
  EXPECT_GT(form.Transmittance.PointCount, 200);
}
