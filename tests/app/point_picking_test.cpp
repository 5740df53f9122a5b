// Picking the blue and the red end by clicking into a picture view and answering the
// point-meaning dialog, with and without scrolling.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/Application.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/PictureFiles.h"
#include "support/PointClicks.h"
#include "support/Pictures.h"
#include "support/WindowsFixture.h"

#include <QTemporaryDir>

namespace {
class PointPickingTest : public TLumioWindowsTest {
 protected:
  void SetUp() override { ShowForm(); }
  void Load(TSide side, int w, int h) {
    const QString path = dir.filePath(side == sdSample ? QStringLiteral("s.jpg") : QStringLiteral("r.jpg"));
    ASSERT_TRUE(WriteJpegFile(path, FlatPicture(w, h, RGB(255, 255, 255)), {100, false, jcsYCbCr, true}));
    form.LoadPicture(path, side);
    ASSERT_TRUE(form.Loaded(side));
    QCoreApplication::processEvents();  // lets the scroll boxes take the new size
  }
  // Clicks the view at a position in the view's own coordinates and answers the dialog, while
  // it runs, with the given button (null: its close box). Returns whether the dialog was shown.
  bool Click(TImage* view, QPoint pos, QAbstractButton* answer) {
    return AnswerDialog(dialog, answer, [&] { SendClick(view, pos); });
  }
  // A click as the person makes it: the events come from the window system (spontaneous), so
  // Qt's click-to-focus rules apply to them. Answers the dialog like Click.
  bool ClickAsTheUser(TImage* view, QPoint pos, QAbstractButton* answer) {
    return AnswerDialog(dialog, answer, [&] {
      QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, pos);
      QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, pos);
    });
  }
  QString Text(int box) const { return form.Edit[box]->text(); }
};

TEST_F(PointPickingTest, TopLeftPixelOfTheUnscrolledSample) {
  Load(sdSample, 600, 500);
  ASSERT_TRUE(Click(form.Image1, QPoint(0, 0), dialog.BitBtn1));
  EXPECT_EQ(dialog.Answer, 0);
  EXPECT_EQ(form.Sample.BlueX, 0);
  EXPECT_EQ(form.Sample.BlueY, 0);
  EXPECT_EQ(Text(2), QStringLiteral("0"));
  EXPECT_EQ(Text(3), QStringLiteral("0"));
}

TEST_F(PointPickingTest, StoresThePixelUnderTheCursorAndRedrawsTheMarks) {
  Load(sdSample, 600, 500);
  // The box has a border, which the position takes into account.
  ASSERT_GT(form.ScrollBox1->frameWidth(), 0);
  ASSERT_TRUE(Click(form.Image1, QPoint(137, 121), dialog.BitBtn2));
  EXPECT_EQ(dialog.Answer, 1);
  EXPECT_EQ(form.Sample.RedX, 137);
  EXPECT_EQ(form.Sample.RedY, 121);
  EXPECT_EQ(Text(5), QStringLiteral("137"));
  EXPECT_EQ(Text(6), QStringLiteral("121"));
  // The red square now stands around the point on the view, and not on the copy.
  EXPECT_EQ(form.Image1Bitmap.Pixel(140, 117), RGB(255, 0, 0));
  EXPECT_EQ(form.Image1Bitmap.Pixel(133, 124), RGB(255, 0, 0));
  EXPECT_EQ(form.Image1Bitmap.Pixel(141, 117), RGB(255, 255, 255));
  EXPECT_EQ(form.SampleBitmap.Pixel(133, 117), RGB(255, 255, 255));
  // The blue end and the other boxes are untouched.
  EXPECT_EQ(form.Sample.BlueX, 0);
  EXPECT_EQ(Text(2), QStringLiteral("0"));
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PointPickingTest, ScrollingMovesTheStoredPoint) {
  Load(sdReference, 900, 800);
  QScrollArea* box = form.ScrollBox2;
  ASSERT_GE(box->verticalScrollBar()->maximum(), 50);
  // The same place in the box, unscrolled and scrolled 50 pixels down and 30 to the right.
  const QPoint inBox(40, 60);
  ASSERT_TRUE(Click(form.Image2, form.Image2->mapFrom(box->viewport(), inBox), dialog.BitBtn1));
  const int x0 = form.Reference.BlueX, y0 = form.Reference.BlueY;
  EXPECT_EQ(QPoint(x0, y0), inBox);
  box->verticalScrollBar()->setValue(50);
  box->horizontalScrollBar()->setValue(30);
  QCoreApplication::processEvents();
  ASSERT_TRUE(Click(form.Image2, form.Image2->mapFrom(box->viewport(), inBox), dialog.BitBtn1));
  EXPECT_EQ(form.Reference.BlueX, x0 + 30);
  EXPECT_EQ(form.Reference.BlueY, y0 + 50);
  EXPECT_EQ(Text(9), QString::number(x0 + 30));
  EXPECT_EQ(Text(10), QString::number(y0 + 50));
  EXPECT_EQ(form.Sample.BlueY, 0);  // the other side is not touched
}

TEST_F(PointPickingTest, NeitherAndTheCloseBoxChangeNothing) {
  Load(sdSample, 300, 200);
  ASSERT_TRUE(Click(form.Image1, QPoint(20, 30), dialog.BitBtn1));
  const QImage marked = form.Image1->Picture().copy();
  // "Neither Cancel", then the close box after a "Blue End" answer: both leave everything.
  for (QAbstractButton* answer : {static_cast<QAbstractButton*>(dialog.BitBtn3), static_cast<QAbstractButton*>(nullptr)}) {
    SCOPED_TRACE(answer ? "Neither Cancel" : "close box");
    ASSERT_TRUE(Click(form.Image1, QPoint(150, 100), answer));
    EXPECT_EQ(dialog.Answer, 2);
    EXPECT_EQ(form.Sample.BlueX, 20);
    EXPECT_EQ(form.Sample.BlueY, 30);
    EXPECT_EQ(form.Sample.RedX, 0);
    EXPECT_EQ(Text(2), QStringLiteral("20"));
    EXPECT_EQ(Text(5), QStringLiteral("0"));
    EXPECT_EQ(form.Image1->Picture(), marked);
    ASSERT_TRUE(Click(form.Image1, QPoint(20, 30), dialog.BitBtn1));  // "Blue End" again before the next round
  }
}

TEST_F(PointPickingTest, LastPixelOfThePictureStaysInside) {
  Load(sdReference, 100, 80);
  ASSERT_TRUE(Click(form.Image2, QPoint(99, 79), dialog.BitBtn2));
  EXPECT_EQ(form.Reference.RedX, 99);
  EXPECT_EQ(form.Reference.RedY, 79);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PointPickingTest, AClickIntoAPictureLeavesTheFocusInTheBoxThatHoldsIt) {
  // The box's exit check must not run because of the click: an invalid box would swallow the
  // pick behind its message, a valid one would be read into the record before the pick.
  Load(sdSample, 300, 200);
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  struct Case { int box; const char* text; };
  for (const Case& c : std::initializer_list<Case>{{5, "abc"}, {6, "77"}, {12, "5"}}) {
    SCOPED_TRACE(testing::Message() << "Edit" << c.box << " holding " << c.text);
    QLineEdit* box = form.Edit[c.box];
    box->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();  // the exit check of the box left before
    ASSERT_TRUE(box->hasFocus());
    box->setText(QString::fromLatin1(c.text));
    dialogs.Messages.clear();
    ASSERT_TRUE(ClickAsTheUser(form.Image1, QPoint(40, 30), dialog.BitBtn1));
    // The window system gives the activation back to the main window once the dialog has
    // gone; the offscreen platform needs to be told. Exit checks queued by a focus change
    // would run here too.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QCoreApplication::processEvents();
    EXPECT_EQ(form.focusWidget(), box);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(box->text(), QString::fromLatin1(c.text));
    EXPECT_EQ(form.Sample.BlueX, 40);
    EXPECT_EQ(form.Sample.BlueY, 30);
    EXPECT_EQ(Text(2), QStringLiteral("40"));
    // The positions typed were never checked: they have not reached the records.
    EXPECT_EQ(form.Sample.RedY, 0);
    EXPECT_EQ(form.Reference.RedX, 0);
    box->setText(QStringLiteral("0"));
  }
  // The scroll bars of a picture box do not take the focus either.
  Load(sdReference, 900, 800);
  QLineEdit* box = form.Edit[3];
  box->setFocus(Qt::MouseFocusReason);
  QCoreApplication::processEvents();
  ASSERT_TRUE(box->hasFocus());
  QScrollBar* bar = form.ScrollBox2->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 30));
  QCoreApplication::processEvents();
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST_F(PointPickingTest, AViewWithoutAJpegTakesThePointButDrawsNoMarks) {
  ASSERT_TRUE(Click(form.Image1, QPoint(50, 60), dialog.BitBtn2));
  EXPECT_EQ(form.Sample.RedX, 50);
  EXPECT_EQ(form.Sample.RedY, 60);
  EXPECT_EQ(Text(6), QStringLiteral("60"));
  EXPECT_TRUE(form.Image1->Picture().isNull());
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}
}  // namespace
