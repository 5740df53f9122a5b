// The popup menu tree and its presenter seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "platform/Menus.h"

TEST(Menus, ItemsFormATree) {
  TPopupMenu menu;
  int clicks = 0;
  TMenuItem* first = menu.Items().Add(QStringLiteral("First"), [&] { ++clicks; });
  TMenuItem* sub = menu.Items().Add(QStringLiteral("Sub"));
  TMenuItem* inner = sub->Add(QStringLiteral("Inner"));
  EXPECT_EQ(menu.Items().Count(), 2);
  EXPECT_EQ(inner->Parent(), sub);
  EXPECT_EQ(menu.Items().IndexOf(sub), 1);
  EXPECT_EQ(menu.Items().Find(QStringLiteral("Sub")), sub);
  EXPECT_EQ(menu.Items().Find(QStringLiteral("Inner")), nullptr) << "one level only";
  EXPECT_EQ(menu.Items().Items(2), nullptr);
  first->Click();
  first->Enabled = false;
  first->Click();
  first->Enabled = true;
  first->Visible = false;
  first->Click();
  EXPECT_EQ(clicks, 1) << "hidden or disabled items do not run";
  menu.Items().Delete(0);
  EXPECT_EQ(menu.Items().Items(0), sub);
  menu.Items().Delete(7);   // nothing there
  menu.Items().Clear();
  EXPECT_EQ(menu.Items().Count(), 0);
}

TEST(Menus, AnActionMayRebuildItsOwnMenu) {
  TPopupMenu menu;
  int ran = 0;
  menu.Items().Add(QStringLiteral("Rebuild"), [&] {
    ++ran;
    menu.Items().Clear();
    menu.Items().Add(QStringLiteral("New"));
  });
  menu.Items().Items(0)->Click();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(menu.Items().Items(0)->Caption, "New");
}

TEST(Menus, RecorderShowsVisibleItemsAndCanChooseOne) {
  TMenuRecorder recorder;
  TPopupMenu menu;
  int chosen = 0;
  menu.Items().Add(QStringLiteral("Edit..."), [&] { ++chosen; });
  menu.Items().Add(QStringLiteral("Hidden"))->Visible = false;
  recorder.ChooseCaption = QStringLiteral("Edit...");
  menu.Popup(30, 40);
  ASSERT_EQ(recorder.Shown.size(), 1u);
  EXPECT_EQ(recorder.Shown[0].Captions, QStringList{"Edit..."});
  EXPECT_EQ(recorder.Shown[0].X, 30);
  EXPECT_EQ(recorder.Shown[0].Y, 40);
  EXPECT_EQ(recorder.LastMenu, &menu);
  EXPECT_EQ(menu.PopupX(), 30);
  EXPECT_EQ(chosen, 1);
}

TEST(Menus, RecordersNest) {
  TMenuRecorder outer;
  {
    TMenuRecorder inner;
    TPopupMenu menu;
    menu.Popup(1, 2);
    EXPECT_EQ(inner.Shown.size(), 1u);
  }
  TPopupMenu menu;
  menu.Popup(3, 4);
  EXPECT_EQ(outer.Shown.size(), 1u);
}

TEST(Menus, QtPresenterShowsARealMenu) {
  // No recorder: the QMenu pops up; a timer closes it, as a user pressing Escape would.
  TPopupMenu menu;
  int clicks = 0;
  menu.Items().Add(QStringLiteral("One"), [&] { ++clicks; });
  menu.Items().Add(QStringLiteral("Sub"))->Add(QStringLiteral("Inner"));
  menu.Items().Items(0)->Checked = true;
  QTimer::singleShot(50, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->inherits("QMenu")) w->close();
  });
  menu.Popup(10, 10);
  EXPECT_EQ(clicks, 0) << "closed without a choice";
}
