// The control foundation: repaint requests, the paint cycle, input routing, the timer and the
// property files, on a small control that draws a few things.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "chart/core/iCustomComponent.h"
#include "chart/core/iErrors.h"
#include "platform/Bitmap.h"
#include "platform/Timer.h"

namespace {

enum TGaugeStyle : int { igsBar, igsNeedle, igsDial };

// A small control with one published property of every kind, drawing a frame, a bar and a caption.
class TTestGauge : public TiCustomComponent {
  TI_PERSISTENT
 public:
  TTestGauge() {
    resize(120, 60);
    captionFont_.OnChange = [this] { InvalidateChange(); };
  }

  double Position() const { return position_; }
  void SetPosition(double v) {
    if (position_ == v) return;
    position_ = v;
    InvalidateChange();
  }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& v) {
    if (caption_ == v) return;
    caption_ = v;
    InvalidateChange();
  }
  TColor BarColor() const { return barColor_; }
  void SetBarColor(TColor v) {
    if (barColor_ == v) return;
    barColor_ = v;
    InvalidateChange();
  }
  TGaugeStyle Style() const { return style_; }
  void SetStyle(TGaugeStyle v) { style_ = v; }
  QChar Marker() const { return marker_; }
  void SetMarker(QChar v) { marker_ = v; }
  std::uint8_t Sides() const { return sides_; }
  void SetSides(std::uint8_t v) { sides_ = v; }
  int Ticks() const { return ticks_; }
  void SetTicks(int v) { ticks_ = v; }
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool v) { showCaption_ = v; }
  TiFont* CaptionFont() { return &captionFont_; }

  void DoPaint(TCanvas& canvas) override {
    ++paints;
    DrawBackGround(canvas, BackGroundColor());
    if (!failure.isEmpty()) throw EiError(failure);
    canvas.Brush().Color = barColor_;
    canvas.Pen().Color = clBlack;
    const int right = 10 + static_cast<int>((Width() - 20) * position_ / 100.0);
    canvas.Rectangle(10, 10, right, 30);
    canvas.Pen().Style = psDot;
    canvas.MoveTo(10, 35);
    canvas.LineTo(Width() - 10, 35);
    canvas.Pen().Style = psSolid;
    if (showCaption_) {
      canvas.Font() = captionFont_.Font();
      canvas.Brush().Style = bsClear;
      TRect r = Rect(0, 38, Width(), Height() - 2);
      DrawTextOptions(canvas, caption_, r, canvas.Font().Color, Enabled(), {TTextOption::Center, TTextOption::SingleLine, TTextOption::VCenter});
    }
    if (HasFocus()) DrawFocusRectangle(canvas, Rect(3, 3, Width() - 3, Height() - 3));
  }

  // Every hook leaves a line in the log.
  void DoGotFocus() override {
    Log("got focus");
    TiCustomComponent::DoGotFocus();
  }
  void DoLostFocus() override {
    Log("lost focus");
    TiCustomComponent::DoLostFocus();
  }
  void DoWantSpecialKey(int& key, bool& result) override {
    Log("want " + std::to_string(key));
    if (key >= VK_LEFT && key <= VK_DOWN) result = true;
  }
  void DoKeyDown(int& key, TShiftState shift) override { Log("keydown " + std::to_string(key) + " " + std::to_string(shift)); }
  void DoKeyUp(int& key, TShiftState shift) override { Log("keyup " + std::to_string(key) + " " + std::to_string(shift)); }
  void DoKeyPress(QChar& key) override { Log("char " + QString(key).toStdString()); }
  void DoMouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Log("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    if (failMouse) throw EiError("mouse failure");
  }
  void DoMouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Log("up " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void DoMouseMove(TShiftState s, int x, int y) override { Log("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y)); }
  void DoDblClick() override { Log("dblclick"); }
  bool DoMouseWheel(int delta, TShiftState s, QPoint) override {
    Log("wheel " + std::to_string(delta));
    return wheelHandled;
  }

  void Log(const std::string& s) { log.push_back(s); }
  std::vector<std::string> log;
  QString failure;
  bool failMouse = false;
  bool wheelHandled = true;
  int paints = 0;

 private:
  double position_ = 50.0;
  QString caption_ = QStringLiteral("Gauge");
  TColor barColor_ = clLime;
  TGaugeStyle style_ = igsBar;
  QChar marker_ = QLatin1Char('*');
  std::uint8_t sides_ = 0xF;
  int ticks_ = 5;
  bool showCaption_ = true;
  TiFont captionFont_;
};

QKeyEvent Key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  return QKeyEvent(type, qtKey, mods, text);
}

void SendMouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint pos, quint64 time, Qt::KeyboardModifiers mods = {}) {
  const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons, mods);
  e.setTimestamp(time);
  QApplication::sendEvent(&w, &e);
}

}  // namespace

const TiClassInfo& TTestGauge::StaticClassInfo() {
  using C = TTestGauge;
  static const TiClassInfo info =
      TiClassBuilder<C>("TTestGauge", &TiCustomComponent::StaticClassInfo())
          .Float("Position", &C::Position, &C::SetPosition)
          .String("Caption", &C::Caption, &C::SetCaption)
          .Color("BarColor", &C::BarColor, &C::SetBarColor, clLime)
          .Enumeration<TGaugeStyle>("Style", &C::Style, &C::SetStyle, igsBar)
          .Char("Marker", &C::Marker, &C::SetMarker, QLatin1Char('*'))
          .Set("Sides", &C::Sides, &C::SetSides, 0xF)
          .Integer("Ticks", &C::Ticks, &C::SetTicks, 5)
          .Boolean("ShowCaption", &C::ShowCaption, &C::SetShowCaption, true)
          .Object("CaptionFont", &C::CaptionFont)
          .Redefault("BorderStyle", ibsRaised)
          .Build();
  return info;
}

// ---- repaint requests ----

TEST(RepaintGate, HoldsBackChangesWithinOneFrame) {
  TManualClock clock;
  TTestGauge g;
  g.SetAutoFrameRate(true);
  clock.AdvanceMs(100);
  const int before = g.RepaintRequests();
  g.InvalidateChange();
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  EXPECT_DOUBLE_EQ(g.LastInvalidateTime(), clock.Value());
  clock.AdvanceMs(5);
  g.InvalidateChange();  // 5 ms after the last repaint: held back
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  EXPECT_TRUE(g.ChangePending());
  clock.AdvanceMs(5);
  g.BackGroundChange();
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  EXPECT_TRUE(g.BackGroundChangePending());
  clock.AdvanceMs(10);  // 20 ms: more than a frame of 1/60 s
  g.InvalidateChange();
  EXPECT_EQ(g.RepaintRequests(), before + 2);
  EXPECT_FALSE(g.ChangePending());
  EXPECT_FALSE(g.BackGroundChangePending());
}

TEST(RepaintGate, EndUpdateShowsAHeldBackChangeOnceTheFrameIsOver) {
  TManualClock clock;
  TTestGauge g;
  g.SetAutoFrameRate(true);
  clock.AdvanceMs(100);
  g.InvalidateChange();
  const int before = g.RepaintRequests();
  clock.AdvanceMs(5);
  g.InvalidateChange();
  EXPECT_TRUE(g.ChangePending());
  g.EndUpdate();  // still inside the frame
  EXPECT_EQ(g.RepaintRequests(), before);
  clock.AdvanceMs(15);
  g.EndUpdate();
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  EXPECT_FALSE(g.ChangePending());
}

TEST(RepaintGate, FrameRateZeroOrAutoOffRepaintsEveryChange) {
  TManualClock clock;
  TTestGauge g;
  g.SetAutoFrameRate(true);
  g.SetUpdateFrameRate(0);
  int before = g.RepaintRequests();
  for (int i = 0; i < 3; ++i) g.InvalidateChange();
  EXPECT_EQ(g.RepaintRequests(), before + 3);
  g.SetAutoFrameRate(false);
  g.SetUpdateFrameRate(60);
  before = g.RepaintRequests();
  for (int i = 0; i < 3; ++i) g.InvalidateChange();
  EXPECT_EQ(g.RepaintRequests(), before + 3);
  g.SetUpdateFrameRate(-5);
  EXPECT_EQ(g.UpdateFrameRate(), 0);
}

TEST(UpdateSuspension, IsAFlagNotACounter) {
  TTestGauge g;
  g.BeginUpdate();
  g.BeginUpdate();
  const int before = g.RepaintRequests();
  g.SetPosition(75);
  g.SetBackGroundColor(clNavy);
  EXPECT_EQ(g.RepaintRequests(), before);
  EXPECT_TRUE(g.ChangePending());
  EXPECT_TRUE(g.BackGroundChangePending());
  EXPECT_TRUE(g.BackGroundChanged());
  g.EndUpdate();
  EXPECT_FALSE(g.Updating());
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  g.EndUpdate();  // nothing pending
  EXPECT_EQ(g.RepaintRequests(), before + 1);
}

TEST(UpdateSuspension, SwitchingAutoFrameRateOffEndsIt) {
  TTestGauge g;
  g.SetAutoFrameRate(true);
  g.BeginUpdate();
  g.SetPosition(10);
  const int before = g.RepaintRequests();
  g.SetAutoFrameRate(false);
  EXPECT_FALSE(g.Updating());
  EXPECT_EQ(g.RepaintRequests(), before + 1);
}

TEST(Setters, RequestOnlyOnRealChanges) {
  TTestGauge g;
  int before = g.RepaintRequests();
  g.SetBackGroundColor(g.BackGroundColor());
  g.SetBorderStyle(g.BorderStyle());
  g.SetUpdateFrameRate(g.UpdateFrameRate());
  g.SetEnabled(true);
  EXPECT_EQ(g.RepaintRequests(), before);
  g.SetBorderStyle(ibsLowered);
  g.SetEnabled(false);
  EXPECT_EQ(g.RepaintRequests(), before + 2);
  EXPECT_TRUE(g.BackGroundChanged());
}

// ---- painting ----

TEST(PaintCycle, DrawsBackgroundBorderAndContentInOnePiece) {
  TTestGauge g;
  g.SetBorderStyle(ibsRaised);
  g.SetBackGroundColor(clSilver);
  const QImage image = g.grab().toImage();  // the window's own paint event
  ASSERT_EQ(image.size(), QSize(120, 60));
  auto at = [&](int x, int y) { return FromQColor(image.pixelColor(x, y)); };
  EXPECT_EQ(at(0, 30), ColorToRGB(cl3DLight));        // raised: outer top-left
  EXPECT_EQ(at(1, 30), ColorToRGB(clBtnHighlight));   // inner top-left
  EXPECT_EQ(at(119, 30), ColorToRGB(cl3DDkShadow));   // outer bottom-right
  EXPECT_EQ(at(118, 30), ColorToRGB(clBtnShadow));
  EXPECT_EQ(at(5, 50), clSilver);                     // background
  EXPECT_EQ(at(30, 20), clLime);                      // the bar at 50 %
  EXPECT_EQ(at(10, 10), clBlack);                     // its frame
  EXPECT_EQ(at(59, 20), clBlack);                     // right edge at 10 + 50 - 1
  EXPECT_EQ(at(60, 20), clSilver);
  EXPECT_EQ(at(10, 35), clBlack);                     // dotted line: 3 on, 3 off
  EXPECT_EQ(at(13, 35), clLime);                      // gaps in the brush colour
  EXPECT_FALSE(g.BackGroundChanged());
  EXPECT_EQ(g.paints, 1);
}

TEST(PaintCycle, AFailingPaintShowsItsMessageWhiteOnBlack) {
  TTestGauge g;
  g.resize(90, 60);
  g.failure = QStringLiteral("Index out of Bounds while drawing the channels");
  const QImage image = g.PaintToImage();
  int white = 0, black = 0, other = 0, lowestWhite = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const TColor c = FromQColor(image.pixelColor(x, y));
      if (c == clWhite) {
        ++white;
        lowestWhite = y;
      } else if (c == clBlack) {
        ++black;
      } else {
        ++other;
      }
    }
  EXPECT_GT(white, 50);
  EXPECT_EQ(other, 0);  // nothing of the background or border is left
  TBitmap probe(10, 10);
  EXPECT_GT(lowestWhite, probe.Canvas()->TextHeight("X"));  // wrapped onto more lines
  // The next paint tries again.
  g.failure.clear();
  const QImage again = g.PaintToImage();
  EXPECT_EQ(FromQColor(again.pixelColor(30, 20)), clLime);
}

TEST(PaintCycle, FocusShowsInThePicture) {
  TTestGauge g;
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(&g, &in);
  const QImage image = g.PaintToImage();
  // The dotted frame runs along x = 3 and inverts the pixels whose coordinates add up to even.
  EXPECT_EQ(FromQColor(image.pixelColor(3, 21)), RGB(255 - 212, 255 - 208, 255 - 200));
  EXPECT_EQ(FromQColor(image.pixelColor(3, 20)), ColorToRGB(clBtnFace));
  EXPECT_EQ(FromQColor(image.pixelColor(4, 21)), ColorToRGB(clBtnFace));
}

// ---- input routing ----

TEST(InputRouting, AKeyReachesDoKeyDownTwice) {
  TTestGauge g;
  std::vector<std::string> events;
  g.OnKeyDown = [&](int& key, TShiftState s) { g.Log("OnKeyDown " + std::to_string(key)); };
  QKeyEvent press = Key(QEvent::KeyPress, Qt::Key_PageUp, Qt::ShiftModifier);
  QApplication::sendEvent(&g, &press);
  QKeyEvent release = Key(QEvent::KeyRelease, Qt::Key_PageUp, Qt::ShiftModifier);
  QApplication::sendEvent(&g, &release);
  const std::vector<std::string> expected{"keydown 33 0", "OnKeyDown 33", "keydown 33 1", "keyup 33 0", "keyup 33 1"};
  EXPECT_EQ(g.log, expected);
}

TEST(InputRouting, CharactersTabAndTheSpecialKeyQuery) {
  TTestGauge g;
  QKeyEvent a = Key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(&g, &a);
  EXPECT_EQ(g.log, (std::vector<std::string>{"keydown 65 0", "keydown 65 0", "char a"}));
  g.log.clear();
  QKeyEvent tab = Key(QEvent::KeyPress, Qt::Key_Tab);
  QApplication::sendEvent(&g, &tab);  // asked about first, then delivered: the control wants every key
  EXPECT_EQ(g.log, (std::vector<std::string>{"want 9", "keydown 9 0", "keydown 9 0"}));
  g.log.clear();
  QKeyEvent left = Key(QEvent::ShortcutOverride, Qt::Key_Left);
  left.ignore();
  QApplication::sendEvent(&g, &left);
  EXPECT_TRUE(left.isAccepted());
  QKeyEvent esc = Key(QEvent::ShortcutOverride, Qt::Key_Escape);
  esc.ignore();
  QApplication::sendEvent(&g, &esc);
  EXPECT_FALSE(esc.isAccepted());
  EXPECT_EQ(g.log, (std::vector<std::string>{"want 37", "want 27"}));
}

TEST(InputRouting, MouseHooksComeFirstAndClickPrecedesMouseUp) {
  TTestGauge g;
  g.OnMouseDown = [&](TMouseButton, TShiftState s, int, int) { g.Log("OnMouseDown " + std::to_string(s)); };
  g.OnMouseUp = [&](TMouseButton, TShiftState, int, int) { g.Log("OnMouseUp"); };
  g.OnClick = [&] { g.Log("OnClick"); };
  g.OnDblClick = [&] { g.Log("OnDblClick"); };
  g.OnMouseMove = [&](TShiftState, int, int) { g.Log("OnMouseMove"); };
  SendMouse(g, QEvent::MouseButtonPress, Qt::LeftButton, {5, 6}, 1000);
  SendMouse(g, QEvent::MouseMove, Qt::NoButton, {7, 6}, 1010);
  SendMouse(g, QEvent::MouseButtonRelease, Qt::LeftButton, {7, 6}, 1020);
  const std::vector<std::string> click{"down 0 8 5,6", "OnMouseDown 8", "move 0 7,6", "OnMouseMove", "up 0 0 7,6", "OnClick", "OnMouseUp"};
  EXPECT_EQ(g.log, click);

  // The second press of a double click: the double click first, then the press with ssDouble,
  // and no click at its release. A third press is an ordinary one again.
  g.log.clear();
  SendMouse(g, QEvent::MouseButtonPress, Qt::LeftButton, {7, 6}, 1100);
  SendMouse(g, QEvent::MouseButtonDblClick, Qt::LeftButton, {7, 6}, 1100);
  SendMouse(g, QEvent::MouseButtonRelease, Qt::LeftButton, {7, 6}, 1120);
  SendMouse(g, QEvent::MouseButtonPress, Qt::LeftButton, {7, 6}, 1150);
  const std::vector<std::string> dbl{"dblclick", "OnDblClick", "down 0 72 7,6", "OnMouseDown 72", "up 0 0 7,6", "OnMouseUp",
                                     "down 0 8 7,6", "OnMouseDown 8"};
  EXPECT_EQ(g.log, dbl);
  SendMouse(g, QEvent::MouseButtonRelease, Qt::LeftButton, {7, 6}, 1160);

  // A release outside the control is no click; a press long after the last is no double click.
  g.log.clear();
  SendMouse(g, QEvent::MouseButtonPress, Qt::LeftButton, {7, 6}, 9000);
  SendMouse(g, QEvent::MouseButtonRelease, Qt::LeftButton, {500, 6}, 9010);
  EXPECT_EQ(g.log, (std::vector<std::string>{"down 0 8 7,6", "OnMouseDown 8", "up 0 0 500,6", "OnMouseUp"}));
}

TEST(InputRouting, FailuresInMouseHooksAreSwallowed) {
  TTestGauge g;
  g.failMouse = true;
  bool platformSaw = false;
  g.OnMouseDown = [&](TMouseButton b, TShiftState, int, int) { platformSaw = b == mbRight; };
  SendMouse(g, QEvent::MouseButtonPress, Qt::RightButton, {5, 5}, 1000);
  EXPECT_TRUE(platformSaw);
  SendMouse(g, QEvent::MouseButtonRelease, Qt::RightButton, {5, 5}, 1010);
  EXPECT_EQ(g.log.back(), "up 1 0 5,5");
}

TEST(InputRouting, TheWheelResultTellsWhetherItWasHandled) {
  TTestGauge g;
  for (bool handled : {true, false}) {
    g.wheelHandled = handled;
    QWheelEvent e(QPointF(10, 10), g.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    e.setAccepted(!handled);
    QApplication::sendEvent(&g, &e);
    EXPECT_EQ(e.isAccepted(), handled);
  }
  EXPECT_EQ(g.log, (std::vector<std::string>{"wheel -120", "wheel -120"}));
}

TEST(InputRouting, FocusHooks) {
  TTestGauge g;
  int enters = 0, exits = 0;
  g.OnEnter = [&] { ++enters; };
  g.OnExit = [&] { ++exits; };
  const int before = g.RepaintRequests();
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(&g, &in);
  EXPECT_TRUE(g.HasFocus());
  EXPECT_EQ(g.RepaintRequests(), before + 1);
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);  // a popup menu keeps the focus here
  QApplication::sendEvent(&g, &popup);
  EXPECT_TRUE(g.HasFocus());
  QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
  QApplication::sendEvent(&g, &out);
  EXPECT_FALSE(g.HasFocus());
  EXPECT_EQ(g.RepaintRequests(), before + 2);
  EXPECT_EQ(g.log, (std::vector<std::string>{"got focus", "lost focus", "up 0 0 0,0"}));
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 1);
}

TEST(InputRouting, ResizeIsABackgroundChange) {
  TTestGauge g;
  (void)g.PaintToImage();
  EXPECT_FALSE(g.BackGroundChanged());
  g.resize(200, 80);
  QResizeEvent e(QSize(200, 80), QSize(120, 60));
  QApplication::sendEvent(&g, &e);
  EXPECT_TRUE(g.BackGroundChanged());
}

// ---- timer ----

TEST(ControlTimer, StartsWithTheFirstDelayThenTheInterval) {
  TTestGauge g;
  int ticks = 0;
  g.OnInternalTimer = [&] { ++ticks; };
  g.StartTimer(0, 0);
  EXPECT_FALSE(g.TimerRunning());
  EXPECT_FALSE(g.InternalTimer().Enabled());

  g.StartTimer(300, 2500);
  EXPECT_TRUE(g.TimerRunning());
  EXPECT_EQ(g.TimerID(), 1);
  EXPECT_TRUE(g.FirstShot());
  EXPECT_EQ(g.TimerInterval(), 2500);
  EXPECT_EQ(g.InternalTimer().Interval(), 300);
  g.StartTimer(10, 10);  // running: nothing changes
  EXPECT_EQ(g.InternalTimer().Interval(), 300);
  g.InternalTimer().Fire();
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(g.FirstShot());
  EXPECT_EQ(g.InternalTimer().Interval(), 2500);
  g.InternalTimer().Fire();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(g.InternalTimer().Interval(), 2500);
  g.StopTimer();
  EXPECT_FALSE(g.TimerRunning());
  EXPECT_EQ(g.TimerID(), 0);
  EXPECT_FALSE(g.InternalTimer().Enabled());
  g.InternalTimer().Fire();  // a stopped timer does not tick
  EXPECT_EQ(ticks, 2);

  g.StartTimer(0, 50);
  EXPECT_FALSE(g.FirstShot());
  EXPECT_EQ(g.InternalTimer().Interval(), 50);
  g.StopTimer();
  // A first delay without an interval ticks once.
  g.StartTimer(300, 0);
  g.InternalTimer().Fire();
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(g.TimerRunning());
}

TEST(ControlTimer, DestroyingTheControlStopsIt) {
  int ticks = 0;
  auto* g = new TTestGauge;
  g->OnInternalTimer = [&] { ++ticks; };
  g->StartTimer(1, 1);
  delete g;
  QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 0);
}

// ---- property files ----

TEST(PropertyFile, RoundTripsEveryKindAndLeavesPlacementOut) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("gauge.txt");
  TTestGauge g;
  g.SetPosition(37.25);
  g.SetCaption(QStringLiteral("Flow\r\nrate #10"));
  g.SetBarColor(clInfoBk);
  g.SetStyle(igsDial);
  g.SetMarker(QLatin1Char('+'));
  g.SetSides(0x5);
  g.SetTicks(-2);
  g.SetShowCaption(false);
  g.CaptionFont()->Assign(TFont{QStringLiteral("Arial"), 13, clRed, FontStyleBit(fsBold), 0});
  g.SetBackGroundColor(clNavy);
  g.SetBorderStyle(ibsNone);
  g.SetAutoFrameRate(true);
  g.SetUpdateFrameRate(30);
  g.SetHint(QStringLiteral("a hint"));
  g.Constraints()->SetMinWidth(40);
  g.SavePropertiesToFile(path);

  const QStringList lines = ReadTextLines(path);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.first(), "File Type = TTestGauge");
  for (const char* absent : {"Name", "Left", "Top", "Width", "Height", "Hint", "Tag", "Cursor", "Visible", "Enabled", "ShowHint"})
    for (const QString& line : lines) EXPECT_FALSE(line.startsWith(QString(absent) + " =")) << absent;
  EXPECT_TRUE(lines.contains("BorderStyle = 0"));  // differs from the redefaulted ibsRaised
  EXPECT_TRUE(lines.contains("Constraints.MinWidth = 40"));
  EXPECT_TRUE(lines.contains("Caption = Flow#13#10rate #3510"));

  TTestGauge h;
  const int before = h.RepaintRequests();
  h.LoadPropertiesFromFile(path);
  EXPECT_EQ(h.RepaintRequests(), before + 1);  // one repaint for the whole file
  EXPECT_FALSE(h.Updating());
  EXPECT_EQ(h.Position(), 37.25);
  EXPECT_EQ(h.Caption(), g.Caption());
  EXPECT_EQ(h.BarColor(), clInfoBk);
  EXPECT_EQ(h.Style(), igsDial);
  EXPECT_EQ(h.Marker(), QLatin1Char('+'));
  EXPECT_EQ(h.Sides(), 0x5);
  EXPECT_EQ(h.Ticks(), -2);
  EXPECT_FALSE(h.ShowCaption());
  EXPECT_EQ(h.CaptionFont()->Font(), g.CaptionFont()->Font());
  EXPECT_EQ(h.BackGroundColor(), clNavy);
  EXPECT_EQ(h.BorderStyle(), ibsNone);
  EXPECT_TRUE(h.AutoFrameRate());
  EXPECT_EQ(h.UpdateFrameRate(), 30);
  EXPECT_EQ(h.Constraints()->MinWidth(), 40);
  EXPECT_EQ(h.Hint(), QString());
}

TEST(PropertyFile, SaveAllPropertiesAddsThePlacement) {
  QTemporaryDir dir;
  const QString path = dir.filePath("all.txt");
  TTestGauge g;
  g.setObjectName("Gauge1");
  g.SetOptionSaveAllProperties(true);
  g.SetHint("tip");
  g.SavePropertiesToFile(path);
  const QStringList lines = ReadTextLines(path);
  EXPECT_TRUE(lines.contains("Width = 120"));
  EXPECT_TRUE(lines.contains("Height = 60"));
  EXPECT_TRUE(lines.contains("Hint = tip"));
  EXPECT_TRUE(lines.contains("OptionSaveAllProperties = 1"));
  for (const QString& line : lines) EXPECT_FALSE(line.startsWith("Name ="));
}

TEST(PropertyFile, FailuresCarryTheirPrefix) {
  QTemporaryDir dir;
  TTestGauge g;
  try {
    g.LoadPropertiesFromFile(dir.filePath("missing.txt"));
    FAIL();
  } catch (const EiError& e) {
    EXPECT_TRUE(e.Message.startsWith("Error Loading Properties - Cannot open file")) << e.Message.toStdString();
  }
  try {
    g.SavePropertiesToFile(dir.filePath("no/folder/x.txt"));
    FAIL();
  } catch (const EiError& e) {
    EXPECT_TRUE(e.Message.startsWith("Error Saving Properties - ")) << e.Message.toStdString();
  }
  const QString bad = dir.filePath("bad.txt");
  WriteTextLines(bad, {"File Type = TTestGauge", "Ticks = 7", "Style = dial", "Ticks = 9"});
  try {
    g.LoadPropertiesFromFile(bad);
    FAIL();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Error Loading Properties - 'dial' is not a valid integer value");
  }
  EXPECT_EQ(g.Ticks(), 7);
  EXPECT_FALSE(g.Updating());  // the control is not left frozen
}

TEST(PublishedProperties, ClassTablesFollowTheClasses) {
  TTestGauge g;
  EXPECT_EQ(g.ClassName(), "TTestGauge");
  EXPECT_TRUE(g.ClassInfo().InheritsFrom(TiComponent::StaticClassInfo()));
  const TiPropertyInfo* border = g.ClassInfo().Find("BorderStyle");
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(*border->Default, ibsRaised);
  EXPECT_EQ(*TiComponent::StaticClassInfo().Find("BorderStyle")->Default, ibsNone);
  EXPECT_EQ(*TiComponent::StaticClassInfo().Find("BackGroundColor")->Default, clBtnFace);
  EXPECT_EQ(*TiComponent::StaticClassInfo().Find("UpdateFrameRate")->Default, 60);
  EXPECT_EQ(*TiComponent::StaticClassInfo().Find("AutoFrameRate")->Default, 0);
  TiCustomComponent* base = &g;
  EXPECT_EQ(base->ClassName(), "TTestGauge");
}
