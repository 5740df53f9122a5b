// The chart object base classes: change protocol, renaming, focus, mouse and keyboard protocol,
// popup items, layout spans and keys, and buttons with auto-repeat.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <limits>

#include "chart/channels/iXYPlotChannel.h"
#include "chart/core/rUdudObjects.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudToolBar.h"
#include "platform/Menus.h"
#include "platform/Timer.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

// A layout object that records its hooks and offers the "Edit..." item.
class TProbe : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
  QStringList Hooks;
  bool WheelResult = false;
  void DoMouseHover(const TiPlotMouseParams&) override { Hooks << "hover"; }
  void DoMouseDownLeft(const TiPlotMouseParams&) override { Hooks << "downLeft"; }
  void DoMouseDownRight(const TiPlotMouseParams&) override { Hooks << "downRight"; }
  void DoMouseDrag(const TiPlotMouseParams& p) override { Hooks << QStringLiteral("drag %1 %2").arg(p.XR).arg(p.YR); }
  void DoMouseUp(const TiPlotMouseParams&) override { Hooks << "up"; }
  bool DoMouseWheel(int, TShiftState, TPoint) override { return WheelResult; }
  void AddMenuItems(TPopupMenu* menu) override {
    TiPlotLayoutObject::AddMenuItems(menu);
    AddEditMenuItem(menu);
  }
};

struct ObjectFixture : ::testing::Test {
  TFakeOwner owner;
  THandlerLog log;
  TMenuRecorder menus;
  TPopupMenu menu;

  std::unique_ptr<TProbe> MakeProbe(const QString& name = QStringLiteral("Probe")) {
    auto probe = std::make_unique<TProbe>(&owner, log.Handlers());
    probe->SetName(name);
    probe->SetLayoutRect({10, 20, 110, 70});
    log.Calls.clear();
    return probe;
  }
  TiPlotMouseParams Params(TMouseButton button, int x, int y, bool reverse = false) {
    return MakeMouseParams(button, 0, x, y, reverse, &menu, {500, 600});
  }
};

}  // namespace

TEST(ManagerObject, RefusesMissingOwnerOrHandlerInOrder) {
  ExpectConstructorRefusals(
      {
          {false, false, false, false, false, "Owner must be assigned"},
          {false, true, true, true, true, "Owner must be assigned"},
          {true, false, false, false, false, "OnChange event handler can not be null"},
          {true, true, false, false, false, "OnInsert event handler can not be null"},
          {true, true, true, false, false, "OnRemove event handler can not be null"},
          {true, true, true, true, false, "AOnRename event handler can not be null"},
      },
      [](TiPlotOwner* owner, const TiPlotHandlers& h) { TiXYPlotChannel channel(owner, h); });
  // Plain objects and buttons need no chart.
  TiPlotAnnotation annotation(nullptr, {});
  TiPlotToolBarButton button(nullptr, {});
  EXPECT_TRUE(button.Enabled());
}

TEST_F(ObjectFixture, DefaultsAfterCreation) {
  auto p = MakeProbe();
  EXPECT_TRUE(p->Visible());
  EXPECT_TRUE(p->Enabled());
  EXPECT_EQ(p->Layer(), 100);
  EXPECT_TRUE(p->PopupEnabled());
  EXPECT_TRUE(p->CanFocus());
  EXPECT_FALSE(p->HasFocus());
  EXPECT_TRUE(p->UserCanEdit());
  EXPECT_FALSE(p->XYAxesReverse());
  EXPECT_EQ(p->StartPercent(), 0.0);
  EXPECT_EQ(p->StopPercent(), 100.0);
  EXPECT_EQ(p->Owner(), &owner);
}

TEST_F(ObjectFixture, SettersNotifyOnlyOnChange) {
  auto p = MakeProbe();
  struct Case {
    const char* name;
    std::function<void()> same, other;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Visible", [&] { p->SetVisible(true); }, [&] { p->SetVisible(false); }},
           {"Enabled", [&] { p->SetEnabled(true); }, [&] { p->SetEnabled(false); }},
           {"Layer", [&] { p->SetLayer(100); }, [&] { p->SetLayer(50); }},
           {"PopupEnabled", [&] { p->SetPopupEnabled(true); }, [&] { p->SetPopupEnabled(false); }},
           {"CanFocus", [&] { p->SetCanFocus(true); }, [&] { p->SetCanFocus(false); }},
           {"FarSide", [&] { p->SetFarSide(false); }, [&] { p->SetFarSide(true); }},
       }) {
    SCOPED_TRACE(c.name);
    log.Calls.clear();
    c.same();
    EXPECT_TRUE(log.Calls.isEmpty());
    c.other();
    EXPECT_EQ(log.Calls, QStringList{"change"});
  }
  log.Calls.clear();
  p->SetXYAxesReverse(true);
  EXPECT_TRUE(p->XYAxesReverse());
  EXPECT_TRUE(log.Calls.isEmpty()) << "the reverse flag is stored silently";
}

TEST_F(ObjectFixture, LayoutPropertiesNotifyTheLayoutFirst) {
  auto p = MakeProbe();
  p->OnLayoutChange = [this](TiPlotObject*) { log.Calls << "layout"; };
  p->SetZOrder(3);
  p->SetHorizontal(true);
  p->SetZOrder(3);
  EXPECT_EQ(log.Calls, (QStringList{"layout", "change", "layout", "change"}));
  log.Calls.clear();
  p->NotifyInsert();
  EXPECT_EQ(log.Calls, (QStringList{"insert", "layout"}));
}

TEST_F(ObjectFixture, RenameKeepsThePreviousName) {
  auto p = MakeProbe(QStringLiteral("Old"));
  QString seenPrevious;
  p->OnRename = [&](TiPlotPersistent* o) {
    seenPrevious = static_cast<TiPlotObject*>(o)->PreviousName();
    log.Calls << "rename";
  };
  p->SetName(QStringLiteral("New"));
  EXPECT_EQ(p->PreviousName(), "Old");
  EXPECT_EQ(seenPrevious, "Old");
  EXPECT_EQ(log.Calls, (QStringList{"rename", "change"}));
  log.Calls.clear();
  p->SetName(QStringLiteral("New"));
  p->SetName(QStringLiteral("new"));   // letter case counts
  EXPECT_EQ(log.Calls, (QStringList{"rename", "change"}));
}

TEST_F(ObjectFixture, FocusReportsInOrder) {
  auto p = MakeProbe();
  p->OnFocusChange = [this](TiPlotObject*) { owner.Log << "focus change"; };
  p->OnGotFocus = [this](TiPlotObject*) { owner.Log << "OnGotFocus"; };
  p->SetFocused(true);
  p->SetFocused(true);
  p->SetFocused(false);
  EXPECT_EQ(owner.Log, (QStringList{"focus change", "OnGotFocus", "got focus Probe", "focus change", "lost focus Probe"}));
}

TEST_F(ObjectFixture, DisablingDropsPressAndFocus) {
  auto p = MakeProbe();
  p->SetFocused(true);
  p->MouseDown(Params(mbLeft, 20, 30));
  ASSERT_TRUE(p->MouseIsDown());
  p->SetEnabled(false);
  EXPECT_FALSE(p->MouseIsDown());
  EXPECT_FALSE(p->HasFocus());
  p->Hooks.clear();
  owner.Log.clear();
  p->MouseDown(Params(mbLeft, 20, 30));
  EXPECT_TRUE(p->Hooks.isEmpty()) << "a disabled object ignores presses";
  EXPECT_TRUE(owner.Log.isEmpty());
}

TEST(Object, LayerKeyPadsToSixDigits) {
  TiPlotAnnotation a(nullptr, {});
  EXPECT_EQ(a.LayerKey(), "000100");
  a.SetLayer(0);
  EXPECT_EQ(a.LayerKey(), "000000");
  a.SetLayer(1234567);
  EXPECT_EQ(a.LayerKey(), "1234567");
}

TEST_F(ObjectFixture, SpanSettersKeepOnePercentApart) {
  struct Case {
    double start, stop;   // before
    bool setStart;
    double value;
    double wantStart, wantStop;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Case& c : std::initializer_list<Case>{
           {0, 100, true, 99.5, 99, 100},
           {0, 100, false, 0.5, 0, 1},
           {0, 100, true, -5, 0, 100},
           {0, 100, true, 150, 99, 100},
           {0, 100, false, 150, 0, 100},
           {0, 100, false, -1, 0, 1},
           {20, 60, true, 59.5, 59.5, 60.5},
           {20, 60, false, 20.5, 19.5, 20.5},
           {20, 60, true, 30, 30, 60},
           {20, 60, true, nan, 20, 60},
           {20, 60, false, nan, 20, 60},
       }) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.stop << (c.setStart ? " start=" : " stop=") << c.value);
    auto p = MakeProbe();
    p->SetStopPercent(c.stop);
    p->SetStartPercent(c.start);
    ASSERT_EQ(p->StartPercent(), c.start);
    ASSERT_EQ(p->StopPercent(), c.stop);
    if (c.setStart)
      p->SetStartPercent(c.value);
    else
      p->SetStopPercent(c.value);
    EXPECT_EQ(p->StartPercent(), c.wantStart);
    EXPECT_EQ(p->StopPercent(), c.wantStop);
    EXPECT_LE(0, p->StartPercent());
    EXPECT_LE(p->StopPercent(), 100);
    EXPECT_GE(p->StopPercent() - p->StartPercent(), 1);
  }
}

TEST_F(ObjectFixture, SortKeysAndHitTest) {
  auto p = MakeProbe();
  p->SetZOrder(2);
  EXPECT_EQ(p->ZOrderKey() + p->StartKey(), "002000");
  p->SetZOrder(0);
  p->SetStartPercent(50);
  EXPECT_EQ(p->ZOrderKey() + p->StartKey(), "000050");
  p->SetStartPercent(2.5);
  EXPECT_EQ(p->StartKey(), "002") << "ties go to the even neighbour";
  p->SetStartPercent(3.5);
  EXPECT_EQ(p->StartKey(), "004");

  // Rect (10, 20, 110, 70): right and bottom edges lie outside.
  EXPECT_TRUE(p->HitTest(Params(mbLeft, 10, 20)));
  EXPECT_TRUE(p->HitTest(Params(mbLeft, 109, 69)));
  EXPECT_FALSE(p->HitTest(Params(mbLeft, 110, 30)));
  EXPECT_FALSE(p->HitTest(Params(mbLeft, 30, 70)));
  EXPECT_FALSE(p->HitTest(Params(mbLeft, 9, 30)));
  EXPECT_EQ(p->LayoutWidth(), 100);
  EXPECT_EQ(p->LayoutHeight(), 50);
  EXPECT_TRUE(p->IsVertical());
  p->SetHorizontal(true);
  EXPECT_TRUE(p->IsHorizontal());
}

TEST_F(ObjectFixture, RightPressAndReleaseShowsTheMenu) {
  auto p = MakeProbe();
  p->MouseDown(Params(mbRight, 20, 30));
  EXPECT_TRUE(p->PopupPending());
  EXPECT_TRUE(p->MouseIsDown());
  p->MouseUp(Params(mbRight, 21, 31));
  EXPECT_FALSE(p->PopupPending());
  EXPECT_FALSE(p->MouseIsDown());
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0].Captions, QStringList{"Edit..."});
  EXPECT_EQ(menus.Shown[0].X, 500);
  EXPECT_EQ(menus.Shown[0].Y, 600);
  EXPECT_EQ(p->Hooks, (QStringList{"downRight", "up"}));
  EXPECT_EQ(owner.Log, (QStringList{"down Probe 1 0 20 30", "popup? Probe 500 600", "up Probe 1 0 21 31"}));
}

TEST_F(ObjectFixture, NoMenuWhenDisabledCancelledOrReleasedElsewhere) {
  struct Case {
    const char* name;
    bool popupEnabled, cancel;
    int releaseX;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"popup disabled", false, false, 20},
           {"owner handles it", true, true, 20},
           {"released outside", true, false, 500},
       }) {
    SCOPED_TRACE(c.name);
    auto p = MakeProbe();
    p->SetPopupEnabled(c.popupEnabled);
    owner.CancelPopup = c.cancel;
    menus.Shown.clear();
    p->MouseDown(Params(mbRight, 20, 30));
    p->MouseUp(Params(mbRight, c.releaseX, 30));
    EXPECT_TRUE(menus.Shown.empty());
    EXPECT_FALSE(p->PopupPending());
  }
}

TEST_F(ObjectFixture, LeftPressDragsAndMovesHover) {
  auto p = MakeProbe();
  p->MouseMove(Params(mbLeft, 20, 30));
  p->MouseDown(Params(mbLeft, 20, 30));
  p->MouseMove(Params(mbLeft, 25, 35, true));
  p->MouseUp(Params(mbLeft, 300, 300));
  p->MouseDown(Params(mbMiddle, 20, 30));
  EXPECT_EQ(p->Hooks, (QStringList{"hover", "downLeft", "drag 35 25", "up"}));
  EXPECT_FALSE(p->MouseIsDown()) << "the middle button presses nothing";
  // Owner notifications only while the point hits the object; the release still ends the press.
  EXPECT_EQ(owner.Log, (QStringList{"move Probe 0 20 30", "down Probe 0 0 20 30", "move Probe 0 25 35",
                                    "up Probe 0 0 300 300", "down Probe 2 0 20 30"}));
}

TEST_F(ObjectFixture, WheelReturnsTheHookResultAndTellsTheOwner) {
  auto p = MakeProbe();
  EXPECT_FALSE(p->MouseWheel(120, ssCtrl, {5, 6}));
  p->WheelResult = true;
  EXPECT_TRUE(p->MouseWheel(-120, 0, {7, 8}));
  EXPECT_EQ(owner.Log, (QStringList{"wheel Probe 120 4 5 6", "wheel Probe -120 0 7 8"}));
}

TEST_F(ObjectFixture, KeyboardOpensTheMenuAtTheCentre) {
  struct Case {
    const char* name;
    int key;
    TShiftState shift;
    bool popupEnabled;
    bool shown;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"menu key", VK_APPS, 0, true, true},
           {"Shift+F10", VK_F10, ssShift, true, true},
           {"F10 alone", VK_F10, 0, true, false},
           {"other key", VK_LEFT, ssShift, true, false},
           {"popup disabled", VK_APPS, 0, false, false},
       }) {
    SCOPED_TRACE(c.name);
    auto p = MakeProbe();
    p->SetPopupEnabled(c.popupEnabled);
    menus.Shown.clear();
    int key = c.key;
    p->DoKeyDown(key, c.shift, &menu);
    ASSERT_EQ(menus.Shown.size(), c.shown ? 1u : 0u);
    if (c.shown) {
      // Centre of (10, 20, 110, 70) in client pixels, then on the screen.
      EXPECT_EQ(menus.Shown[0].X, 1060);
      EXPECT_EQ(menus.Shown[0].Y, 2045);
    }
  }
}

TEST_F(ObjectFixture, KeyboardMenuOfAChannelSitsOnItsLegendRowAndOthersShowNone) {
  TiXYPlotChannel channel(&owner, log.Handlers());
  channel.SetLegendRect({-3, -5, 0, 0});
  int key = VK_APPS;
  channel.DoKeyDown(key, 0, &menu);
  ASSERT_EQ(menus.Shown.size(), 1u);
  // Halves truncate toward zero: (-3 + 0) div 2 = -1, (-5 + 0) div 2 = -2.
  EXPECT_EQ(menus.Shown[0].X, 999);
  EXPECT_EQ(menus.Shown[0].Y, 1998);

  TiPlotAnnotation annotation(&owner, log.Handlers());
  annotation.SetName(QStringLiteral("Note"));
  owner.Log.clear();
  annotation.DoKeyDown(key, 0, &menu);
  EXPECT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(owner.Log, QStringList{"popup? Note 0 0"}) << "asked first, then nothing to show";
  owner.CancelPopup = true;
  channel.DoKeyDown(key, 0, &menu);
  EXPECT_EQ(menus.Shown.size(), 1u);
}

TEST_F(ObjectFixture, EditItemFollowsUserCanEdit) {
  auto p = MakeProbe();
  int edits = 0;
  p->OnEdit = [&](TiPlotObject* o) {
    EXPECT_EQ(o, p.get());
    ++edits;
  };
  menu.Items().Add(QStringLiteral("stale"));
  p->AddMenuItems(&menu);
  ASSERT_EQ(menu.Items().Count(), 1) << "the menu is emptied first";
  EXPECT_EQ(menu.Items().Items(0)->Caption, "Edit...");
  EXPECT_TRUE(menu.Items().Items(0)->Visible);
  menu.Items().Items(0)->Click();
  EXPECT_EQ(edits, 1);
  p->SetUserCanEdit(false);
  p->AddMenuItems(&menu);
  EXPECT_EQ(menu.Items().Count(), 0);
}

TEST_F(ObjectFixture, MouseCursorFollowsTheHoverTarget) {
  auto p = MakeProbe();
  auto other = MakeProbe(QStringLiteral("Other"));
  EXPECT_EQ(p->GetObjectAt(1, 2), p.get());
  EXPECT_EQ(p->HoverTarget(), p.get());
  EXPECT_EQ(p->GetMouseCursor(Params(mbLeft, 0, 0)), crDefault);
  p->SetHoverTarget(nullptr);
  p->GetMouseCursor(Params(mbLeft, 0, 0));
  EXPECT_EQ(p->HoverTarget(), p.get());

  struct THand : TiPlotLayoutObject {
    using TiPlotLayoutObject::TiPlotLayoutObject;
    TCursor GetMouseCursor(const TiPlotMouseParams&) override { return crHandPoint; }
  } hand(&owner, log.Handlers());
  p->SetHoverTarget(&hand);
  EXPECT_EQ(p->GetMouseCursor(Params(mbLeft, 0, 0)), crHandPoint);
}

TEST_F(ObjectFixture, PrepareDrawMarksReady) {
  auto p = MakeProbe();
  EXPECT_FALSE(p->ReadyToDraw());
  p->PrepareDraw(nullptr);
  EXPECT_TRUE(p->ReadyToDraw());
}

TEST_F(ObjectFixture, DestructionReportsRemovalThenLayout) {
  auto p = MakeProbe();
  p->OnLayoutChange = [this](TiPlotObject*) { log.Calls << "layout"; };
  p.reset();
  EXPECT_EQ(log.Calls, (QStringList{"remove", "layout", "change"}));
}

// ---------------------------------------------------------------------------------------------
// Buttons

namespace {
struct ButtonFixture : ::testing::Test {
  TFakeOwner owner;
  TMenuRecorder menus;
  std::unique_ptr<TiPlotToolBarButton> button = std::make_unique<TiPlotToolBarButton>(&owner, TiPlotHandlers{});
  QStringList events;

  void SetUp() override {
    button->SetButtonRect({0, 0, 20, 10});
    button->OnClick = [this](TiPlotObject*) { events << "click"; };
    button->OnInvalidate = [this](TiPlotObject*) { events << "invalidate"; };
    button->OnGroupClick = [this](TiPlotObject*) { events << "group"; };
    button->OnDownChange = [this](TiPlotObject*) { events << "down changed"; };
  }
  void Press() { button->MouseDown(MakeMouseParams(mbLeft, 0, 5, 5, false)); }
  void Release(int x, int y) { button->MouseUp(MakeMouseParams(mbLeft, 0, x, y, false)); }
};
}  // namespace

TEST_F(ButtonFixture, ClickOnReleaseInsideOnly) {
  Press();
  EXPECT_EQ(button->RepeatTimer(), nullptr) << "no timer without auto-repeat";
  Release(19, 9);
  Press();
  Release(20, 5);   // right edge lies outside
  EXPECT_EQ(events, (QStringList{"invalidate", "invalidate", "click", "invalidate", "invalidate"}));
  EXPECT_EQ(button->ButtonWidth(), 20);
  EXPECT_EQ(button->ButtonHeight(), 10);
}

TEST_F(ButtonFixture, GroupCallbackBeforeClick) {
  button->SetGroupIndex(2);
  Press();
  Release(5, 5);
  EXPECT_EQ(events, (QStringList{"invalidate", "invalidate", "group", "click"}));
}

TEST_F(ButtonFixture, AutoRepeatWaits500ThenRepeatsEvery50AndFiresOnRelease) {
  button->SetAutoRepeat(true);
  Press();
  TTimer* timer = button->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), 500);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_TRUE(button->FirstRepeat());
  events.clear();
  timer->Fire();
  EXPECT_EQ(timer->Interval(), 50);
  EXPECT_FALSE(button->FirstRepeat());
  timer->Fire();
  EXPECT_EQ(timer->Interval(), 50);
  EXPECT_EQ(events, (QStringList{"click", "invalidate", "click", "invalidate"}));
  events.clear();
  Release(5, 5);
  EXPECT_EQ(button->RepeatTimer(), nullptr) << "the timer goes with the release";
  EXPECT_EQ(events, (QStringList{"invalidate", "click"}));
  // A new press starts with the long delay again.
  Press();
  EXPECT_EQ(button->RepeatTimer()->Interval(), 500);
}

TEST_F(ButtonFixture, DisablingStopsTheRepeat) {
  button->SetAutoRepeat(true);
  Press();
  ASSERT_NE(button->RepeatTimer(), nullptr);
  button->SetEnabled(false);
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  EXPECT_FALSE(button->MouseIsDown());
}

TEST_F(ButtonFixture, AClickThatDisablesTheButtonInsideATickIsSafe) {
  button->SetAutoRepeat(true);
  button->OnClick = [this](TiPlotObject*) { button->SetEnabled(false); };
  Press();
  button->RepeatTimer()->Fire();
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  Press();   // disabled: nothing starts
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  button.reset();   // the retired timer goes with the button
}

// The tick comes from the event loop: a click that fails must end only that tick, and the
// repeat goes on (the next tick clicks again, the release still ends it cleanly).
TEST_F(ButtonFixture, AFailingClickInATickStaysInsideTheTick) {
  button->SetAutoRepeat(true);
  int clicks = 0;
  button->OnClick = [&](TiPlotObject*) {
    ++clicks;
    throw EiError(QStringLiteral("handler failed"));
  };
  Press();
  TTimer* timer = button->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_NO_THROW(timer->Fire());
  EXPECT_NO_THROW(timer->Fire());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(timer->Interval(), 50) << "the first tick still switched to the short interval";
  button->OnClick = [&](TiPlotObject*) { ++clicks; };
  Release(5, 5);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(button->RepeatTimer(), nullptr) << "the release ends the repeat";
}

TEST_F(ButtonFixture, DestroyingAHeldButtonDiscardsItsTimer) {
  button->SetAutoRepeat(true);
  Press();
  button.reset();
  SUCCEED();   // the sanitizers watch the timer's end
}

TEST_F(ButtonFixture, DownNotifiesOnChange) {
  button->SetDown(true);
  button->SetDown(true);
  button->SetDown(false);
  EXPECT_EQ(events, (QStringList{"invalidate", "down changed", "invalidate", "down changed"}));
}

TEST_F(ButtonFixture, RealTimerRepeatsWhileHeld) {
  button->SetAutoRepeat(true);
  int clicks = 0;
  button->OnClick = [&](TiPlotObject*) { ++clicks; };
  Press();
  // Runs the real timer: the first repeat comes after 500 ms, the next ones every 50 ms. The wait
  // is bounded generously; only the count of repeats is checked, not their timing.
  QElapsedTimer waited;
  waited.start();
  while (clicks < 3 && waited.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  EXPECT_GE(clicks, 3);
  EXPECT_GE(waited.elapsed(), 500) << "repeated before the first delay";
  Release(5, 5);
}

TEST_F(ButtonFixture, AClickThatRemovesTheButtonDuringARealTick) {
  button->SetAutoRepeat(true);
  bool removed = false;
  button->OnClick = [&](TiPlotObject*) {
    button.reset();
    removed = true;
  };
  Press();
  QElapsedTimer waited;
  waited.start();
  while (!removed && waited.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  EXPECT_TRUE(removed);
  QCoreApplication::processEvents();   // the retired timer goes now
}
