// Loading pictures into the two sides: from the file lists and the Load menu items, JPEG kinds,
// other picture types, and files that cannot be loaded.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/Application.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/PictureFiles.h"
#include "support/Pictures.h"
#include "support/WindowsFixture.h"

namespace {
const QString kNotJpeg = QStringLiteral("When is a JPG not a JPG?");

class PictureLoadingTest : public TLumioWindowsTest {
 protected:

  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QString Jpeg(const char* name, const TBitmap& picture, const TJpegWriteOptions& options = {}) {
    const QString path = Path(name);
    EXPECT_TRUE(WriteJpegFile(path, picture, options));
    return path;
  }
};

TEST_F(PictureLoadingTest, JpegLoadsTheSideAndEnablesTheButtons) {
  EXPECT_FALSE(form.Button1->isEnabled());
  const TBitmap picture = CoordinatePicture(300, 200);
  form.LoadPicture(Jpeg("s.jpg", picture, {100, false, jcsYCbCr, true}), sdSample);
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(form.SampleLoaded);
  EXPECT_FALSE(form.ReferenceLoaded);
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_TRUE(form.Button2->isEnabled());
  EXPECT_EQ(form.SampleBitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(form.SampleBitmap.Width(), 300);
  EXPECT_EQ(form.SampleBitmap.Height(), 200);
  // The view sizes itself to the picture and scrolls in its box.
  EXPECT_EQ(form.Image1->size(), QSize(300, 200));
  EXPECT_EQ(form.Image1->Picture().size(), QSize(300, 200));
  EXPECT_EQ(form.ScrollBox1->widget(), form.Image1);
  // The copy holds the decoded picture (within the compression's error).
  for (auto [x, y] : {std::pair{150, 100}, {20, 180}})
    EXPECT_NEAR(GetRValue(form.SampleBitmap.Pixel(x, y)), x % 256, 6);

  // A second, larger picture on the other side scrolls: the view is larger than its box.
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.LoadPicture(Jpeg("r.JPEG", CoordinatePicture(900, 700)), sdReference);
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_EQ(form.Image2->size(), QSize(900, 700));
  QCoreApplication::processEvents();
  EXPECT_GT(form.ScrollBox2->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(form.ScrollBox2->verticalScrollBar()->maximum(), 0);
}

TEST_F(PictureLoadingTest, ANewPictureOfTheSameSizeReplacesTheOldOneAndItsMarks) {
  form.Edit[7]->setText(QStringLiteral("9"));
  form.Edit[5]->setText(QStringLiteral("30"));
  form.Edit[6]->setText(QStringLiteral("20"));
  form.LoadPicture(Jpeg("a.jpg", FlatPicture(64, 48, RGB(250, 250, 250)), {100, false, jcsYCbCr, true}), sdSample);
  EXPECT_EQ(form.Image1Bitmap.Pixel(26, 16), RGB(255, 0, 0));  // corner of the red square
  form.Edit[5]->setText(QStringLiteral("40"));
  form.LoadPicture(Jpeg("b.jpg", FlatPicture(64, 48, RGB(10, 10, 10)), {100, false, jcsYCbCr, true}), sdSample);
  ASSERT_TRUE(form.SampleLoaded);
  EXPECT_NEAR(GetRValue(form.Image1Bitmap.Pixel(26, 16)), 10, 3);  // the old mark is gone
  EXPECT_EQ(form.Image1Bitmap.Pixel(36, 16), RGB(255, 0, 0));
  const QRgb shown = form.Image1->Picture().pixel(36, 16);
  EXPECT_EQ(RGB(qRed(shown), qGreen(shown), qBlue(shown)), RGB(255, 0, 0));
  EXPECT_NEAR(GetRValue(form.SampleBitmap.Pixel(36, 16)), 10, 3);  // the copy stays unmarked
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PictureLoadingTest, FileListsShowPictureTypesInAnyCaseSortedByName) {
  for (const char* name : {"b.JPG", "a.jpeg", "c.png", "D.Bmp", "e.ICO", "f.emf", "g.WMF", "h.txt", "i.gif", "j.jpg.bak"})
    ASSERT_TRUE(WriteBytes(Path(name), "x"));
  form.FileListBox1->SetDirectory(dir.path());
  QStringList shown;
  for (int i = 0; i < form.FileListBox1->count(); ++i) shown << form.FileListBox1->item(i)->text();
  EXPECT_EQ(shown, (QStringList{"a.jpeg", "b.JPG", "c.png", "D.Bmp", "e.ICO", "f.emf", "g.WMF"}));
  EXPECT_EQ(form.FileListBox2->Mask(), form.FileListBox1->Mask());
}

TEST_F(PictureLoadingTest, DoubleClickInAFileListLoadsThatSide) {
  Jpeg("camera.JPG", CoordinatePicture(64, 48));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.FileListBox2->SetDirectory(dir.path());
  ASSERT_EQ(form.FileListBox2->count(), 1);
  const QRect item = form.FileListBox2->visualItemRect(form.FileListBox2->item(0));
  QTest::mouseDClick(form.FileListBox2->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_FALSE(form.SampleLoaded);
  EXPECT_EQ(form.Image2->size(), QSize(64, 48));

  form.FileListBox1->SetDirectory(dir.path());
  const QRect item1 = form.FileListBox1->visualItemRect(form.FileListBox1->item(0));
  QTest::mouseDClick(form.FileListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, item1.center());
  EXPECT_TRUE(form.SampleLoaded);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PictureLoadingTest, LoadMenuItemsRunTheOpenDialog) {
  dialogs.OpenAnswer = Jpeg("a.jpg", CoordinatePicture(40, 30));
  form.LoadSample1->trigger();
  EXPECT_TRUE(form.SampleLoaded);
  ASSERT_EQ(dialogs.OpenRequests.size(), 1u);
  const TOpenDialogOptions& o = dialogs.OpenRequests[0];
  EXPECT_EQ(o.Filter, QStringLiteral("JPeg Files (*.JPG) | *.JPG"));
  EXPECT_EQ(o.InitialDir, QDir::currentPath());
  EXPECT_TRUE(o.FileMustExist);
  EXPECT_TRUE(o.HideReadOnly);

  form.LoadReference1->trigger();
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_EQ(dialogs.OpenRequests.size(), 2u);

  // Cancelled: nothing happens.
  dialogs.OpenAnswer.clear();
  form.ReferenceLoaded = false;
  form.LoadReference1->trigger();
  EXPECT_FALSE(form.ReferenceLoaded);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PictureLoadingTest, OtherPictureTypesAreShownButNotLoaded) {
  const TBitmap picture = CoordinatePicture(50, 40);
  ASSERT_TRUE(picture.Image().save(Path("p.png"), "png"));
  form.LoadPicture(Path("p.png"), sdSample);
  EXPECT_EQ(dialogs.Messages, QStringList{kNotJpeg});
  EXPECT_FALSE(form.SampleLoaded);
  EXPECT_FALSE(form.Button1->isEnabled());  // the buttons keep their state
  EXPECT_EQ(form.Image1->Picture().size(), QSize(50, 40));
  EXPECT_EQ(QColor(form.Image1->Picture().pixel(7, 3)), QColor(7, 3, 10));

  // A loaded side stops being loaded; the buttons stay enabled.
  form.LoadPicture(Jpeg("s.jpg", picture), sdReference);
  ASSERT_TRUE(form.ReferenceLoaded);
  ASSERT_TRUE(picture.Image().save(Path("q.bmp"), "bmp"));
  form.LoadPicture(Path("q.bmp"), sdReference);
  EXPECT_FALSE(form.ReferenceLoaded);
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_EQ(form.Image2->Picture().size(), QSize(50, 40));

  // Metafiles are reported the same way with an empty view.
  ASSERT_TRUE(WriteBytes(Path("m.emf"), QByteArray(100, '\0')));
  form.LoadPicture(Path("m.emf"), sdReference);
  EXPECT_TRUE(form.Image2->Picture().isNull());
  EXPECT_EQ(dialogs.Messages.last(), kNotJpeg);
}

TEST_F(PictureLoadingTest, GrayscaleJpegLoadsAsEightBitAndExtractionRefusesIt) {
  form.LoadPicture(Jpeg("g.jpg", FlatPicture(40, 60, RGB(90, 90, 90)), {90, false, jcsGrayscale, true}), sdSample);
  EXPECT_TRUE(form.SampleLoaded);
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_EQ(form.SampleBitmap.PixelFormat(), pf8bit);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  ExtractSpectrum(form.SampleBitmap, form.Sample);
  EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(kPixelFormatMessage)});
}

TEST_F(PictureLoadingTest, CmykAndProgressiveJpegsLoadAsColour) {
  for (TJpegWriteOptions o : {TJpegWriteOptions{90, true, jcsYCbCr, true}, TJpegWriteOptions{90, false, jcsCMYK, true},
                              TJpegWriteOptions{90, true, jcsYCCK, true}}) {
    SCOPED_TRACE(o.ColorSpace * 2 + o.Progressive);
    form.SampleLoaded = false;
    form.LoadPicture(Jpeg("k.jpg", FlatPicture(32, 24, RGB(200, 60, 20)), o), sdSample);
    EXPECT_TRUE(form.SampleLoaded);
    EXPECT_EQ(form.SampleBitmap.PixelFormat(), pf24bit);
    const TColor c = form.SampleBitmap.Pixel(20, 10);
    EXPECT_NEAR(GetRValue(c), 200, 8);
    EXPECT_NEAR(GetGValue(c), 60, 8);
    EXPECT_NEAR(GetBValue(c), 20, 8);
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PictureLoadingTest, BadFilesEmptyTheViewAndUnloadTheSide) {
  const QByteArray good = EncodeJpeg(CoordinatePicture(64, 64));
  QByteArray huge = good;
  for (qsizetype i = 2; i + 9 < huge.size(); ++i)
    if (static_cast<unsigned char>(huge[i]) == 0xFF && static_cast<unsigned char>(huge[i + 1]) == 0xC0) {
      huge[i + 5] = '\xEA', huge[i + 6] = '\x60', huge[i + 7] = '\xEA', huge[i + 8] = '\x60';  // 60000 x 60000
      break;
    }
  QByteArray zeroSize = huge;
  for (qsizetype i = 2; i + 9 < zeroSize.size(); ++i)
    if (static_cast<unsigned char>(zeroSize[i]) == 0xFF && static_cast<unsigned char>(zeroSize[i + 1]) == 0xC0) {
      zeroSize[i + 5] = 0, zeroSize[i + 6] = 0;
      break;
    }
  ASSERT_TRUE(WriteBytes(Path("empty.jpg"), QByteArray()));
  ASSERT_TRUE(WriteBytes(Path("truncated.jpg"), good.left(good.size() / 2)));
  ASSERT_TRUE(WriteBytes(Path("corrupt.jpg"), good.left(300) + QByteArray(good.size() - 300, '\x55')));
  ASSERT_TRUE(WriteBytes(Path("text.jpg"), "Dear diary"));
  ASSERT_TRUE(WriteBytes(Path("png-inside.jpg"), QByteArray("\x89PNG\r\n\x1a\n", 8)));
  ASSERT_TRUE(WriteBytes(Path("zero.jpg"), zeroSize));
  ASSERT_TRUE(WriteBytes(Path("huge.jpg"), huge));
  ASSERT_TRUE(WriteBytes(Path("picture.txt"), good));
  ASSERT_TRUE(WriteBytes(Path("broken.png"), "nope"));
  ASSERT_TRUE(QDir().mkdir(Path("folder.jpg")));

  struct Case {
    const char* name;
    const char* messagePart;  // null: the invalid-picture message
  };
  for (const Case& c : std::initializer_list<Case>{
           {"empty.jpg", nullptr},
           {"truncated.jpg", nullptr},
           {"corrupt.jpg", nullptr},
           {"text.jpg", nullptr},
           {"png-inside.jpg", nullptr},
           {"zero.jpg", nullptr},
           {"picture.txt", nullptr},
           {"huge.jpg", "60000 x 60000"},
           {"broken.png", "broken.png"},
           {"missing.jpg", "No such file or directory"},
           {"folder.jpg", "Is a directory"},
       }) {
    SCOPED_TRACE(c.name);
    const QString path = Path(c.name);
    form.LoadPicture(Jpeg("ok.jpg", CoordinatePicture(30, 20)), sdSample);
    ASSERT_TRUE(form.SampleLoaded);
    dialogs.Messages.clear();
    form.LoadPicture(path, sdSample);
    EXPECT_FALSE(form.SampleLoaded);
    EXPECT_TRUE(form.Image1->Picture().isNull());
    ASSERT_EQ(dialogs.Messages.size(), 1);
    if (c.messagePart) {
      EXPECT_TRUE(dialogs.Messages[0].contains(path)) << dialogs.Messages[0].toStdString();
      EXPECT_TRUE(dialogs.Messages[0].contains(QString::fromLatin1(c.messagePart))) << dialogs.Messages[0].toStdString();
    } else {
      EXPECT_EQ(dialogs.Messages[0], kNotJpeg);
    }
  }
}

TEST_F(PictureLoadingTest, MarksBeyondThePictureAreReportedAndTheSideLoads) {
  form.Edit[5]->setText(QStringLiteral("100"));  // RedX beyond a picture 80 wide
  form.Edit[6]->setText(QStringLiteral("10"));
  form.LoadPicture(Jpeg("narrow.jpg", CoordinatePicture(80, 60)), sdSample);
  EXPECT_TRUE(form.SampleLoaded);
  EXPECT_EQ(form.Sample.RedX, 100);
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0], QStringLiteral("Not showing spectrum location in image.  Current drawing parameters "
                                                "exceed image size.  Please retry setting spectrum location."));
  // The view shows the picture without marks.
  EXPECT_EQ(form.Image1->Picture().size(), QSize(80, 60));
  for (int y = 0; y < 60; y += 7)
    for (int x = 0; x < 80; x += 5) ASSERT_EQ(form.Image1Bitmap.Pixel(x, y), form.SampleBitmap.Pixel(x, y));
}

TEST_F(PictureLoadingTest, ABoxThatDoesNotConvertStillLeavesTheSideLoaded) {
  form.Edit[9]->setText(QStringLiteral("abc"));
  dialogs.OpenAnswer = Jpeg("r.jpg", CoordinatePicture(30, 30));
  form.LoadReference1->trigger();
  EXPECT_TRUE(form.ReferenceLoaded);
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_EQ(form.Image2->size(), QSize(30, 30));
  ASSERT_EQ(dialogs.Messages.size(), 1);
  EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("abc")));
}

TEST_F(PictureLoadingTest, CameraPhotographDecodesLikeQtsOwnDecoder) {
  const QString path = QStringLiteral(LUMIO_FIXTURES "/webcam-cfl.jpg");
  form.LoadPicture(path, sdSample);
  ASSERT_TRUE(form.SampleLoaded);
  const QImage qt(path);
  ASSERT_EQ(qt.size(), QSize(640, 150));
  ASSERT_EQ(form.SampleBitmap.Width(), 640);
  ASSERT_EQ(form.SampleBitmap.Height(), 150);
  int differing = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 640; ++x) {
      const QRgb q = qt.pixel(x, y);
      if (form.SampleBitmap.Pixel(x, y) != RGB(qRed(q), qGreen(q), qBlue(q))) ++differing;
    }
  EXPECT_EQ(differing, 0);
}
}  // namespace

TEST_F(PictureLoadingTest, BoxLimitsFollowWhatTheViewShowsAfterAFailedLoad) {
  // After a failed load the x and y boxes are limited by the view as it now is: back to the
  // 105 x 105 of a view without a picture, or to the size of another picture type it shows.
  ASSERT_TRUE(WriteBytes(Path("broken.jpg"), "Dear diary"));
  ASSERT_TRUE(WriteBytes(Path("drawing.emf"), QByteArray(100, '\0')));
  ASSERT_TRUE(CoordinatePicture(40, 30).Image().save(Path("small.png"), "png"));
  const QString big = Jpeg("big.jpg", FlatPicture(300, 200, RGB(200, 200, 200)));
  struct Case { const char* file; int width, height; };
  for (const Case& c : std::initializer_list<Case>{
           {"broken.jpg", 105, 105},   // undecodable JPEG: emptied
           {"drawing.emf", 105, 105},  // a type that is not shown: emptied
           {"missing.jpg", 105, 105},  // no such file: emptied
           {"small.png", 40, 30}}) {   // shown but not used
    SCOPED_TRACE(c.file);
    for (TSide side : {sdSample, sdReference}) {
      form.LoadPicture(big, side);
      ASSERT_TRUE(form.Loaded(side));
      ASSERT_EQ(form.View(side)->size(), QSize(300, 200));
      form.LoadPicture(Path(c.file), side);
      EXPECT_FALSE(form.Loaded(side));
      EXPECT_EQ(form.View(side)->size(), QSize(c.width, c.height));
      // 250 and 150 fit the old picture but not the view as it is now.
      const int xBox = side == sdSample ? 2 : 12, yBox = side == sdSample ? 6 : 10;
      dialogs.Messages.clear();
      form.Edit[xBox]->setText(QStringLiteral("250"));
      form.EditExit(form.Edit[xBox]);
      form.Edit[yBox]->setText(QStringLiteral("150"));
      form.EditExit(form.Edit[yBox]);
      EXPECT_EQ(form.Edit[xBox]->text(), QString::number(c.width));
      EXPECT_EQ(form.Edit[yBox]->text(), QString::number(c.height));
      EXPECT_EQ(dialogs.Messages,
                (QStringList{QStringLiteral("Entered value above allowed maximum of %1.  Setting to allowed maximum.").arg(c.width),
                             QStringLiteral("Entered value above allowed maximum of %1.  Setting to allowed maximum.").arg(c.height)}));
    }
  }
}

TEST(OpenDialog, ShowsTheFilterLabelOnce) {
  // The real dialog, not the recorder: the label is what the person choosing a file reads.
  TLumioWindows windows = CreateLumioWindows();
  QStringList labels, filters;
  int polls = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog && ++polls < 500) return;
    poll.stop();
    if (!dialog) return;
    filters = dialog->nameFilters();
    if (const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
      for (int i = 0; i < types->count(); ++i) labels << types->itemText(i);
    dialog->reject();
  });
  poll.start(10);
  windows.Form1->LoadSample1Click();
  EXPECT_EQ(filters, QStringList{QStringLiteral("JPeg Files (*.JPG)")});
  EXPECT_EQ(labels, QStringList{QStringLiteral("JPeg Files (*.JPG)")});
  EXPECT_FALSE(windows.Form1->SampleLoaded);
}

TEST(OpenDialog, FilterLabelsNameTheirPatternsOnce) {
  struct Case { const char* filter; const char* qt; };
  for (const Case& c : std::initializer_list<Case>{
           {"JPeg Files (*.JPG) | *.JPG", "JPeg Files (*.JPG)"},
           {"Pictures | *.jpg;*.png", "Pictures (*.jpg *.png)"},
           {"Pictures (*.jpg *.png) | *.jpg;*.png", "Pictures (*.jpg *.png)"},
           // A description naming other patterns than its own keeps them and gets its own.
           {"Pictures (*.jpg) | *.JPG", "Pictures (*.jpg) (*.JPG)"},
           {"CSV Files (*.CSV) | *.CSV | All Files (*.*) | *.*", "CSV Files (*.CSV);;All Files (*.*)"}}) {
    SCOPED_TRACE(c.filter);
    EXPECT_EQ(ToQtFilter(QString::fromLatin1(c.filter)), QString::fromLatin1(c.qt));
  }
}
