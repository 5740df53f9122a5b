// The print preview: its geometry, its picture, its settings window and its modal run.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "chart/core/rUdudTranslation.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudPreview.h"
#include "chart/output/rUdudPrintGeometry.h"
#include "platform/Dialogs.h"
#include "tests/chart/output/OutputTestSupport.h"

namespace {

TEST(PreviewGeometry, A2To1ChartOnPortraitLetterFillsThePrintableWidth) {
  // Area 836 x 522: fitting room 816 x 502; 502 / 11 < 816 / 8.5, so the sheet is 502 high and
  // R(502 / 11 * 8.5) = R(387.9) = 388 wide; 46 pixels per inch (388 / 8.5 = 45.6).
  const TiPreviewGeometry g = PreviewGeometry(836, 522, {8.5, 11}, {1, 1, 1, 1}, 400, 200);
  EXPECT_EQ(g.PixelsPerInch, 46);
  EXPECT_EQ(g.Sheet.Left, 418 - 194 - 5);
  EXPECT_EQ(g.Sheet.Top, 261 - 251 - 5);
  EXPECT_EQ(g.Sheet.Right, 418 + 194 - 5);
  EXPECT_EQ(g.Sheet.Bottom, 261 + 251 - 5);
  EXPECT_EQ(g.Shadow.Left, g.Sheet.Left + 7);
  EXPECT_EQ(g.Shadow.Bottom, g.Sheet.Bottom + 7);
  EXPECT_EQ(g.Printable, (TSize{388 - 92, 502 - 92}));
  ASSERT_TRUE(g.HasPicture);
  EXPECT_EQ(g.Picture.Left, 219 + 46);
  EXPECT_EQ(g.Picture.Top, 5 + 46);
  EXPECT_EQ(g.Picture.Right - g.Picture.Left, 296);   // the printable width
  EXPECT_EQ(g.Picture.Bottom - g.Picture.Top, 148);   // half as high
}

TEST(PreviewGeometry, LandscapeAndEmptyCases) {
  // Landscape Letter in the same area: 502 / 8.5 > 816 / 11 is false, so 502 high and
  // R(502 / 8.5 * 11) = R(649.6) = 650 wide, 59 pixels per inch (650 / 11 = 59.09).
  const TiPreviewGeometry wide = PreviewGeometry(836, 522, {11, 8.5}, {1, 1, 1, 1}, 500, 200);
  EXPECT_EQ(wide.Sheet.Left, 418 - 325 - 5);
  EXPECT_EQ(wide.Sheet.Right, 418 + 325 - 5);
  EXPECT_EQ(wide.PixelsPerInch, 59);
  // Printable 650 - 118 = 532 by 502 - 118 = 384; 532 / 500 < 384 / 200: width-bound, 532 x R(212.8) = 213.
  EXPECT_EQ(wide.Picture.Right - wide.Picture.Left, 532);
  EXPECT_EQ(wide.Picture.Bottom - wide.Picture.Top, 213);

  struct Case {
    const char* what;
    int areaW, areaH, picW, picH;
    TiPrintMargins margins;
    bool sheet;
  };
  for (const Case& c : {Case{"chart without width", 836, 522, 0, 200, {1, 1, 1, 1}, true},
                        Case{"margins as large as the paper", 836, 522, 500, 200, {4.25, 1, 4.25, 1}, true},
                        Case{"margins not a number", 836, 522, 500, 200, {NAN, 1, 1, 1}, true},
                        Case{"area too small for a sheet", 20, 300, 500, 200, {1, 1, 1, 1}, false}}) {
    SCOPED_TRACE(c.what);
    const TiPreviewGeometry g = PreviewGeometry(c.areaW, c.areaH, {8.5, 11}, c.margins, c.picW, c.picH);
    EXPECT_FALSE(g.HasPicture);
    EXPECT_EQ(g.PixelsPerInch > 0, c.sheet);
  }
}

class Preview : public ::testing::Test {
 protected:
  Preview() { chart.resize(400, 200); }
  TDialogRecorder dialogs;
  TDrawingChart chart;
};

TEST_F(Preview, OpensWithTheChartsSettingsAndCaption) {
  chart.SetPrintMarginLeft(0.5);
  chart.SetPrintDocumentName(QStringLiteral("Spectrum"));
  chart.SetPrintOrientation(poPortrait);
  TiPlotPreviewForm form(&chart);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Spectrum (Preview)"));
  EXPECT_EQ(form.Settings().MarginLeft, 0.5);
  EXPECT_EQ(form.Settings().MarginTop, 1.0);
  EXPECT_EQ(form.Settings().Orientation, poPortrait);
  EXPECT_EQ(form.Settings().PaperSizeIndex, 0);
  EXPECT_EQ(form.size(), QSize(836, 563));
  EXPECT_EQ(form.minimumSize(), QSize(500, 300));
  EXPECT_EQ(form.Panel2->height(), 41);
  EXPECT_EQ(form.PrintButton->size(), QSize(28, 28));
  EXPECT_EQ(form.SettingsButton->text(), QStringLiteral("Settings"));
  EXPECT_EQ(form.CloseButton->text(), QStringLiteral("Close"));
}

TEST_F(Preview, DrawsTheSheetItsShadowAndTheChartWithoutToolbar) {
  chart.SetPrintOrientation(poPortrait);
  chart.ToolBar(0)->SetVisible(true);
  TiPlotPreviewForm form(&chart);
  std::vector<QObject*> senders;
  bool toolBarDuring = true;
  chart.OnBeforePrint = [&](QObject* s) {
    senders.push_back(s);
    toolBarDuring = chart.ToolBar(0)->Visible();
  };
  chart.OnAfterPrint = [&](QObject* s) { senders.push_back(s); };
  const QImage image = form.RenderPreview(836, 522).Image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(836, 522));
  EXPECT_EQ(senders, (std::vector<QObject*>{&form, &form}));
  EXPECT_FALSE(toolBarDuring);
  EXPECT_TRUE(chart.ToolBar(0)->Visible());
  // Geometry as above: sheet (219, 5)-(607, 507), shadow 7 further, picture (265, 51) 296 x 148.
  const unsigned face = Rgb(image, 5, 5);  // the button face around the sheet
  EXPECT_NE(face, 0xFFFFFFu);
  EXPECT_NE(face, 0x000000u);
  EXPECT_EQ(Rgb(image, 835, 521), face);
  EXPECT_EQ(Rgb(image, 219, 200), 0x000000u);   // the sheet's frame
  EXPECT_EQ(Rgb(image, 230, 300), 0xFFFFFFu);   // the sheet inside the margin
  EXPECT_EQ(Rgb(image, 610, 300), 0x000000u);   // the shadow at the right
  EXPECT_EQ(Rgb(image, 610, 8), Rgb(image, 5, 5));  // no shadow above its offset
  // The chart's red block (100..200, 50..150 of 400 x 200) scaled by 0.74.
  EXPECT_EQ(Rgb(image, 265 + 111, 51 + 74), 0xFF0000u);
  // Its lime block (300..400, 60..140).
  EXPECT_EQ(Rgb(image, 265 + 259, 51 + 74), 0x00FF00u);
  // The ellipse the chart draws at 420..480, beyond its 400 pixels, stays off the sheet.
  EXPECT_EQ(Rgb(image, 265 + 330, 51 + 37), 0xFFFFFFu);
}

TEST_F(Preview, AChartWithoutAreaShowsTheEmptySheet) {
  chart.resize(0, 200);
  chart.SetPrintOrientation(poPortrait);
  TiPlotPreviewForm form(&chart);
  const QImage image = form.RenderPreview(836, 522).Image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Rgb(image, 265 + 111, 51 + 74), 0xFFFFFFu);
  EXPECT_EQ(Rgb(image, 610, 300), 0x000000u);
}

TEST_F(Preview, SettingsGoBackToThePreviewAndTheChart) {
  TiPlotPreviewForm form(&chart);
  form.SettingsAnswer = [](TiPlotPreviewSettingsForm& s) {
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(s.PrintMarginTopEdit->text(), QStringLiteral("1"));
    EXPECT_TRUE(s.LandscapeButton->isChecked());
    EXPECT_EQ(s.PrintDocumentNameEdit->text(), QStringLiteral("Untitled"));
    EXPECT_EQ(s.PrintPaperSizeComboBox->currentText(), QStringLiteral("Letter"));
    s.PrintMarginTopEdit->setText(QStringLiteral("0.5"));
    s.PrintMarginLeftEdit->setText(QStringLiteral(" 2 "));
    s.PrintMarginRightEdit->setText(QStringLiteral("0"));
    s.PortraitButton->setChecked(true);
    s.PrintDocumentNameEdit->setText(QStringLiteral("Lamp"));
    s.PrintPaperSizeComboBox->setCurrentIndex(3);
    EXPECT_TRUE(s.Accept());
  };
  form.SettingsButtonClick();
  EXPECT_EQ(chart.PrintMarginTop(), 0.5);
  EXPECT_EQ(chart.PrintMarginLeft(), 2.0);
  EXPECT_EQ(chart.PrintMarginRight(), 0.0);
  EXPECT_EQ(chart.PrintMarginBottom(), 1.0);
  EXPECT_EQ(chart.PrintOrientation(), poPortrait);
  EXPECT_EQ(chart.PrintDocumentName(), QStringLiteral("Lamp"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Lamp (Preview)"));
  EXPECT_EQ(form.Settings().PaperSizeIndex, 3);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(Preview, BadValuesKeepTheSettingsOpenAndCancelChangesNothing) {
  TiPlotPreviewForm form(&chart);
  for (const char* bad : {"-1", "abc", "", "1e999", "nan"}) {
    SCOPED_TRACE(bad);
    dialogs.Messages.clear();
    bool accepted = true;
    form.SettingsAnswer = [&](TiPlotPreviewSettingsForm& s) {
      s.PrintMarginBottomEdit->setText(QString::fromLatin1(bad));
      s.PrintDocumentNameEdit->setText(QStringLiteral("Changed"));
      accepted = s.Accept();
      EXPECT_NE(s.result(), QDialog::Accepted);
    };
    form.SettingsButtonClick();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Bottom margin must be a number of 0 or more (inches).")});
  }
  form.SettingsAnswer = [](TiPlotPreviewSettingsForm& s) {
    s.PrintDocumentNameEdit->setText(QStringLiteral("Changed"));
    s.reject();
  };
  form.SettingsButtonClick();
  EXPECT_EQ(chart.PrintDocumentName(), QStringLiteral("Untitled"));
  EXPECT_EQ(chart.PrintMarginBottom(), 1.0);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Untitled (Preview)"));
}

TEST_F(Preview, CaptionsPassThroughTheChartsTranslationTable) {
  auto entry = [&](const char* original, const char* replacement) {
    TiPlotTranslationObject* e =
        TiPlotTranslationObject::Create(chart.Master()->Handlers().OnRemove, chart.Master()->Handlers().OnInsert);
    ASSERT_NE(e, nullptr);
    e->SetOriginalString(QString::fromLatin1(original));
    e->SetReplacementString(QString::fromLatin1(replacement));
  };
  entry("Close", "Schliessen");
  entry("Settings", "Einstellungen");
  entry("Margin", "Rand");
  entry("Cancel", "Abbrechen");
  TiPlotPreviewForm form(&chart);
  EXPECT_EQ(form.CloseButton->text(), QStringLiteral("Schliessen"));
  EXPECT_EQ(form.SettingsButton->text(), QStringLiteral("Einstellungen"));
  QStringList seen;
  form.SettingsAnswer = [&](TiPlotPreviewSettingsForm& s) {
    seen << s.windowTitle() << s.MarginGroup->title() << s.CancelButton->text();
    s.reject();
  };
  form.SettingsButtonClick();
  EXPECT_EQ(seen, (QStringList{"Einstellungen", "Rand", "Abbrechen"}));
}

TEST_F(Preview, ShowPrintPreviewRunsModallyUntilClosed) {
  QString caption;
  bool sawPreview = false;
  QTimer::singleShot(0, [&] {
    TiPlotPreviewForm* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<TiPlotPreviewForm*>(w); f && f->isVisible()) form = f;
    if (!form) return;
    sawPreview = true;
    caption = form->windowTitle();
    form->CloseButton->click();
  });
  chart.ShowPrintPreview();
  EXPECT_TRUE(sawPreview);
  EXPECT_EQ(caption, QStringLiteral("Untitled (Preview)"));
}

}  // namespace
