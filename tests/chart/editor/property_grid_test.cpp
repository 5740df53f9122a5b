// The property grid on any persistent class: the kinds the chart's tables use rarely or not yet
// (characters, enumerations without value names, read-only texts, nested objects other than
// fonts) get their editors from the table alone.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "chart/editor/iPlotEditorWidgets.h"
#include "chart/editor/iPropertyGrid.h"
#include "platform/Dialogs.h"

namespace {

class TSub : public TiPersistent {
  TI_PERSISTENT
 public:
  int Depth() const { return depth_; }
  void SetDepth(int v) { depth_ = v; }

 private:
  int depth_ = 3;
};

class TSample : public TiPersistent {
  TI_PERSISTENT
 public:
  QChar Mark() const { return mark_; }
  void SetMark(QChar v) { mark_ = v; }
  int Mode() const { return mode_; }
  void SetMode(int v) { mode_ = v; }
  std::int64_t Flags() const { return flags_; }
  void SetFlags(std::int64_t v) { flags_ = v; }
  QString Serial() const { return QStringLiteral("SN-1"); }
  TSub* Sub() { return &sub_; }

 private:
  QChar mark_ = QLatin1Char('*');
  int mode_ = 0;
  std::int64_t flags_ = 5;
  TSub sub_;
};

const TiClassInfo& TSub::StaticClassInfo() {
  static const TiClassInfo info =
      TiClassBuilder<TSub>(QStringLiteral("TSub"), &TiPersistent::StaticClassInfo()).Integer(QStringLiteral("Depth"), &TSub::Depth, &TSub::SetDepth, 3).Build();
  return info;
}

const TiClassInfo& TSample::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TSample>(QStringLiteral("TSample"), &TiPersistent::StaticClassInfo())
                                      .Char(QStringLiteral("Mark"), &TSample::Mark, &TSample::SetMark, QChar(QLatin1Char('*')))
                                      .Enumeration<int>(QStringLiteral("Mode"), &TSample::Mode, &TSample::SetMode, 0)
                                      .Set(QStringLiteral("Flags"), &TSample::Flags, &TSample::SetFlags, 0,
                                           {QStringLiteral("sfA"), QStringLiteral("sfB"), QStringLiteral("sfC")})
                                      .String(QStringLiteral("Serial"), &TSample::Serial)
                                      .Object(QStringLiteral("Sub"), &TSample::Sub)
                                      .Build();
  return info;
}

struct GridFixture : ::testing::Test {
  TSample sample;
  TiPropertyGrid grid;
  TDialogRecorder dialogs;
  void SetUp() override {
    grid.SetObject([this]() -> TiPersistent* { return &sample; });
  }
  void Type(const QString& row, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(grid.Editor(row));
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  }
};

TEST_F(GridFixture, RowsFollowTheTable) {
  EXPECT_EQ(grid.RowNames(), (QStringList{"Mark", "Mode", "Flags", "Flags.sfA", "Flags.sfB", "Flags.sfC", "Serial", "Sub",
                                          "Sub.Depth"}));
}

TEST_F(GridFixture, ACharacterTakesExactlyOne) {
  Type(QStringLiteral("Mark"), QStringLiteral("x"));
  EXPECT_EQ(sample.Mark(), QLatin1Char('x'));
  Type(QStringLiteral("Mark"), QString());
  EXPECT_EQ(dialogs.Messages, QStringList{"'' is not a single character"});
  EXPECT_EQ(sample.Mark(), QLatin1Char('x'));
  // The reset goes back to the declared '*'.
  grid.ResetButton(QStringLiteral("Mark"))->click();
  EXPECT_EQ(sample.Mark(), QLatin1Char('*'));
}

TEST_F(GridFixture, AnEnumerationWithoutValueNamesTakesItsOrdinal) {
  Type(QStringLiteral("Mode"), QStringLiteral("2"));
  EXPECT_EQ(sample.Mode(), 2);
  Type(QStringLiteral("Mode"), QStringLiteral("two"));
  EXPECT_EQ(dialogs.Messages, QStringList{"'two' is not a valid integer value"});
  EXPECT_EQ(sample.Mode(), 2);
}

TEST_F(GridFixture, ASetShowsItsMembersAndEachTogglesItsBit) {
  auto* folded = qobject_cast<QLabel*>(grid.Editor(QStringLiteral("Flags")));
  ASSERT_NE(folded, nullptr);
  EXPECT_EQ(folded->text(), "[sfA,sfC]");  // 5 = bits 0 and 2
  qobject_cast<QCheckBox*>(grid.Editor(QStringLiteral("Flags.sfB")))->click();
  EXPECT_EQ(sample.Flags(), 7);
  qobject_cast<QCheckBox*>(grid.Editor(QStringLiteral("Flags.sfA")))->click();
  EXPECT_EQ(sample.Flags(), 6);
  EXPECT_EQ(folded->text(), "[sfB,sfC]");
  grid.ResetButton(QStringLiteral("Flags"))->click();
  EXPECT_EQ(sample.Flags(), 0);
  EXPECT_EQ(folded->text(), "[]");
}

TEST_F(GridFixture, AReadOnlyTextIsShownButNotChanged) {
  auto* serial = qobject_cast<QLineEdit*>(grid.Editor(QStringLiteral("Serial")));
  ASSERT_NE(serial, nullptr);
  EXPECT_EQ(serial->text(), "SN-1");
  EXPECT_TRUE(serial->isReadOnly());
  EXPECT_EQ(grid.ResetButton(QStringLiteral("Serial")), nullptr);
}

TEST_F(GridFixture, ANestedObjectOtherThanAFontUnfoldsWithoutTheFontDialog) {
  auto* box = qobject_cast<TiObjectBox*>(grid.Editor(QStringLiteral("Sub")));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Text(), "(TSub)");
  EXPECT_TRUE(box->FontButton()->isHidden());
  Type(QStringLiteral("Sub.Depth"), QStringLiteral("9"));
  EXPECT_EQ(sample.Sub()->Depth(), 9);
}

TEST_F(GridFixture, AGoneObjectLocksTheGrid) {
  bool gone = false;
  grid.SetObject([this, &gone]() -> TiPersistent* { return gone ? nullptr : &sample; });
  gone = true;
  grid.Refresh();
  auto* mode = qobject_cast<QLineEdit*>(grid.Editor(QStringLiteral("Mode")));
  ASSERT_NE(mode, nullptr);
  EXPECT_FALSE(mode->isEnabled());
  // Even a box that finishes its editing reaches nothing.
  mode->setText(QStringLiteral("4"));
  emit mode->editingFinished();
  qobject_cast<QCheckBox*>(grid.Editor(QStringLiteral("Flags.sfB")))->click();
  EXPECT_EQ(sample.Mode(), 0);
  EXPECT_EQ(sample.Flags(), 5);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(GridFixture, ChangesAreReported) {
  int changes = 0;
  grid.OnChanged = [&] { ++changes; };
  Type(QStringLiteral("Mode"), QStringLiteral("1"));
  qobject_cast<QCheckBox*>(grid.Editor(QStringLiteral("Flags.sfB")))->click();
  EXPECT_EQ(changes, 2);
}

}  // namespace
