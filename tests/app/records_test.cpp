#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/Application.h"
#include "platform/Controls.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "support/WindowsFixture.h"

namespace {
class RecordsTest : public TLumioWindowsTest {
 protected:
  QLineEdit* E(int n) { return form.Edit[n]; }
  // Types into a box and leaves it through the exit rule.
  void Leave(int n, const QString& text) {
    E(n)->setText(text);
    form.EditExit(E(n));
  }
};
}  // namespace

TEST_F(RecordsTest, StartsWithTheDefaults) {
  const char* texts[14] = {nullptr, "400.0", "0", "0", "720.0", "0", "0", "1", "400.0", "0", "0", "720.0", "0", "0"};
  for (int n = 1; n <= 13; ++n) EXPECT_EQ(E(n)->text(), QString::fromLatin1(texts[n])) << "Edit" << n;
  for (const TSpectrumRecord* r : {&form.Sample, &form.Reference}) {
    EXPECT_EQ(r->BlueWavelength, 400.0);
    EXPECT_EQ(r->RedWavelength, 720.0);
    EXPECT_EQ(r->BandWidth, 1);
    EXPECT_EQ(r->RowCount, 0);
    EXPECT_EQ(r->Capacity(), SpectrumCapacity);
  }
  EXPECT_EQ(form.Sample.Binding[0], E(1));
  EXPECT_EQ(form.Sample.Binding[2], E(2));
  EXPECT_EQ(form.Reference.Binding[1], E(11));
  EXPECT_EQ(form.Reference.Binding[6], E(7));
  EXPECT_EQ(form.UpDown1->Min(), 1);
  EXPECT_EQ(form.UpDown1->Max(), 100);
  EXPECT_EQ(form.UpDown1->Position(), 1);
  EXPECT_FALSE(form.SampleLoaded);
  EXPECT_FALSE(form.ReferenceLoaded);
}

TEST_F(RecordsTest, CheckIntegerEntryClampsAndRejects) {
  struct Case { const char* text; bool ok; const char* after; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
           {"50", true, "50", nullptr},
           {" +7 ", true, "7", nullptr},
           {"-3", true, "0", "Entered value below allowed minimum of 0.  Setting to allowed minimum."},
           {"1000", true, "105", "Entered value above allowed maximum of 105.  Setting to allowed maximum."},
           {"99999999999", true, "105", "Entered value above allowed maximum of 105.  Setting to allowed maximum."},
           // Integers too long for 64 bits are still integers, beyond every limit.
           {"123456789012345678901234567890", true, "105", "Entered value above allowed maximum of 105.  Setting to allowed maximum."},
           {"-99999999999999999999", true, "0", "Entered value below allowed minimum of 0.  Setting to allowed minimum."},
           {"1e3", false, "1e3", "Input must be an integer in the range 0 to 105.  Please re-enter."},
           {"abc", false, "abc", "Input must be an integer in the range 0 to 105.  Please re-enter."},
           {"1.5", false, "1.5", "Input must be an integer in the range 0 to 105.  Please re-enter."},
           {"", false, "", "Input must be an integer in the range 0 to 105.  Please re-enter."}}) {
    SCOPED_TRACE(c.text);
    dialogs.Messages.clear();
    E(2)->setText(QString::fromLatin1(c.text));
    EXPECT_EQ(form.CheckIntegerEntry(E(2), 0, 105), c.ok);
    EXPECT_EQ(E(2)->text(), QString::fromLatin1(c.after));
    EXPECT_EQ(dialogs.Messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{});
  }
}

TEST_F(RecordsTest, CheckRealEntryRoundsToOneDecimal) {
  struct Case { const char* text; bool ok; const char* after; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
           {"456.78", true, "456.8", nullptr},
           {"500", true, "500.0", nullptr},
           {"5e2", true, "500.0", nullptr},
           {"100", true, "200.0", "Entered value below allowed minimum of 200.0.  Setting to allowed minimum."},
           {"1000", true, "719.0", "Entered value above allowed maximum of 719.0.  Setting to allowed maximum."},
           // Reals beyond the range of 64-bit floats are still real numbers.
           {"1e400", true, "719.0", "Entered value above allowed maximum of 719.0.  Setting to allowed maximum."},
           {"-1.5E+999", true, "200.0", "Entered value below allowed minimum of 200.0.  Setting to allowed minimum."},
           {"1e-400", true, "200.0", "Entered value below allowed minimum of 200.0.  Setting to allowed minimum."},
           {"1e400x", false, "1e400x", "Input must be a real number in the range 200.0 to 719.0.  Please re-enter."},
           {"nan", false, "nan", "Input must be a real number in the range 200.0 to 719.0.  Please re-enter."},
           {"4,5", false, "4,5", "Input must be a real number in the range 200.0 to 719.0.  Please re-enter."}}) {
    SCOPED_TRACE(c.text);
    dialogs.Messages.clear();
    E(1)->setText(QString::fromLatin1(c.text));
    EXPECT_EQ(form.CheckRealEntry(E(1), 200.0, 719.0), c.ok);
    EXPECT_EQ(E(1)->text(), QString::fromLatin1(c.after));
    EXPECT_EQ(dialogs.Messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{});
  }
}

TEST_F(RecordsTest, LeavingBoxesAppliesTheirRulesToTheirRecord) {
  Leave(4, QStringLiteral("1000"));
  EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Entered value above allowed maximum of 999.9.  Setting to allowed maximum."));
  EXPECT_EQ(E(4)->text(), QStringLiteral("999.9"));
  EXPECT_EQ(form.Sample.RedWavelength, 999.9);

  Leave(4, QStringLiteral("720"));
  Leave(1, QStringLiteral("719.5"));
  EXPECT_EQ(E(1)->text(), QStringLiteral("719.0"));
  EXPECT_EQ(form.Sample.BlueWavelength, 719.0);

  Leave(8, QStringLiteral("456.78"));
  EXPECT_EQ(E(8)->text(), QStringLiteral("456.8"));
  EXPECT_EQ(form.Reference.BlueWavelength, 456.8);
  EXPECT_EQ(form.Sample.BlueWavelength, 719.0);  // only the box's own record

  Leave(11, QStringLiteral("400"));  // minimum is the reference blue wavelength + 1
  EXPECT_EQ(E(11)->text(), QStringLiteral("457.8"));
  EXPECT_EQ(form.Reference.RedWavelength, 457.8);

  Leave(12, QStringLiteral("60"));
  Leave(13, QStringLiteral("61"));
  EXPECT_EQ(form.Reference.RedX, 60);
  EXPECT_EQ(form.Reference.RedY, 61);
  EXPECT_EQ(form.Sample.RedX, 0);
}

TEST_F(RecordsTest, TypingTheShownLimitOfAPartnerBoxIsAccepted) {
  // A limit derived from the partner box ("value - 1") can land a hair beside the number it
  // shows; typing exactly that number must not be reported as beyond it.
  struct Case { const char* red; const char* blue; };
  for (const Case& c : std::initializer_list<Case>{{"256.4", "255.4"}, {"512.3", "511.3"}, {"512.8", "511.8"}}) {
    SCOPED_TRACE(c.red);
    Leave(1, QStringLiteral("200"));
    Leave(4, QString::fromLatin1(c.red));
    ASSERT_EQ(E(4)->text(), QString::fromLatin1(c.red));
    dialogs.Messages.clear();
    Leave(1, QString::fromLatin1(c.blue));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(E(1)->text(), QString::fromLatin1(c.blue));
    EXPECT_EQ(form.Sample.BlueWavelength, StrToFloat(QString::fromLatin1(c.blue)));
  }
}

TEST_F(RecordsTest, PositionLimitsFollowTheirPictureView) {
  form.Image1->resize(640, 150);
  Leave(2, QStringLiteral("abc"));
  EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Input must be an integer in the range 0 to 640.  Please re-enter."));
  EXPECT_EQ(E(2)->text(), QStringLiteral("abc"));
  Leave(3, QStringLiteral("151"));
  EXPECT_EQ(E(3)->text(), QStringLiteral("150"));
  // The other side's limits stay those of its own (unloaded, 105 x 105) view.
  Leave(10, QStringLiteral("150"));
  EXPECT_EQ(E(10)->text(), QStringLiteral("105"));
}

TEST_F(RecordsTest, BandWidthGoesToBothRecords) {
  Leave(7, QStringLiteral("150"));
  EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Entered value above allowed maximum of 99.  Setting to allowed maximum."));
  EXPECT_EQ(E(7)->text(), QStringLiteral("99"));
  EXPECT_EQ(form.Sample.BandWidth, 99);
  EXPECT_EQ(form.Reference.BandWidth, 99);
}

TEST_F(RecordsTest, UpDownStoresTheBoxBeforeItsStep) {
  E(7)->setText(QStringLiteral("5"));
  form.UpDown1->Click(TUpDown::btNext);
  EXPECT_EQ(form.Sample.BandWidth, 5);  // the value before the step
  EXPECT_EQ(form.Reference.BandWidth, 5);
  EXPECT_EQ(E(7)->text(), QStringLiteral("6"));
  form.UpDown1->Click(TUpDown::btPrev);
  EXPECT_EQ(form.Sample.BandWidth, 6);
  EXPECT_EQ(E(7)->text(), QStringLiteral("5"));
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  // A box that holds no integer: the conversion error and no step.
  E(7)->setText(QStringLiteral("x"));
  form.UpDown1->Click(TUpDown::btNext);
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("'x' is not a valid integer value")});
  EXPECT_EQ(E(7)->text(), QStringLiteral("x"));
}

TEST_F(RecordsTest, ReadParametersStopsAtTheFirstBadBox) {
  E(1)->setText(QStringLiteral("410"));
  E(4)->setText(QStringLiteral("700"));
  E(2)->setText(QStringLiteral("12"));
  E(3)->setText(QStringLiteral("oops"));
  EXPECT_THROW(form.ReadParameters(form.Sample), EConvertError);
  // Fields read before the bad box keep their new values.
  EXPECT_EQ(form.Sample.BlueWavelength, 410.0);
  EXPECT_EQ(form.Sample.RedWavelength, 700.0);
  EXPECT_EQ(form.Sample.BlueX, 12);
  EXPECT_EQ(form.Sample.BlueY, 0);
  // Through a command, the platform's message is shown and nothing crashes.
  TForm1::RunCommand([&] { form.RefreshRecord(form.Sample); });
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("'oops' is not a valid integer value")});
}

TEST_F(RecordsTest, RejectedBoxGetsTheFocusBack) {
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  E(5)->setFocus();
  QTest::keyClicks(E(5), QStringLiteral("zz"));
  E(6)->setFocus(Qt::TabFocusReason);  // the user tabs on
  QTRY_COMPARE(dialogs.Messages.size(), 1);
  EXPECT_EQ(dialogs.Messages[0], QStringLiteral("Input must be an integer in the range 0 to 105.  Please re-enter."));
  QTRY_VERIFY(E(5)->hasFocus());
  EXPECT_EQ(E(5)->text(), QStringLiteral("0zz"));
  // Once corrected, leaving the box is accepted and the focus stays where the user put it.
  E(5)->setText(QStringLiteral("42"));
  E(6)->setFocus(Qt::TabFocusReason);
  QTRY_COMPARE(form.Sample.RedX, 42);
  EXPECT_TRUE(E(6)->hasFocus());
  EXPECT_EQ(dialogs.Messages.size(), 1);
}
