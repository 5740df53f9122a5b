#pragma once
// A fake chart for object tests: it records what objects report to their owner, answers the
// popup question and translates through a table when one is given.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "chart/core/rUdudObjects.h"
#include "chart/core/rUdudTranslation.h"

// Readable test failures for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (int i = 0; i < l.size(); ++i) *os << (i ? ", " : "") << '"' << l[i].toStdString() << '"';
  *os << '}';
}

class TFakeOwner : public TiPlotOwner {
 public:
  void ObjectMouseDown(TiPlotObject* o, TMouseButton b, TShiftState s, int x, int y) override {
    Log << QStringLiteral("down %1 %2 %3 %4 %5").arg(Name(o)).arg(int(b)).arg(int(s)).arg(x).arg(y);
  }
  void ObjectMouseMove(TiPlotObject* o, TShiftState s, int x, int y) override {
    Log << QStringLiteral("move %1 %2 %3 %4").arg(Name(o)).arg(int(s)).arg(x).arg(y);
  }
  void ObjectMouseUp(TiPlotObject* o, TMouseButton b, TShiftState s, int x, int y) override {
    Log << QStringLiteral("up %1 %2 %3 %4 %5").arg(Name(o)).arg(int(b)).arg(int(s)).arg(x).arg(y);
  }
  void ObjectMouseWheel(TiPlotObject* o, int d, TShiftState s, int x, int y) override {
    Log << QStringLiteral("wheel %1 %2 %3 %4 %5").arg(Name(o)).arg(d).arg(int(s)).arg(x).arg(y);
  }
  bool ObjectPopupHandled(TiPlotObject* o, int sx, int sy) override {
    Log << QStringLiteral("popup? %1 %2 %3").arg(Name(o)).arg(sx).arg(sy);
    return CancelPopup;
  }
  void ObjectGotFocus(TiPlotObject* o) override { Log << QStringLiteral("got focus %1").arg(Name(o)); }
  void ObjectLostFocus(TiPlotObject* o) override { Log << QStringLiteral("lost focus %1").arg(Name(o)); }
  QString Translate(const QString& text) const override {
    const TiPlotTranslationManager* table = Table ? Table() : nullptr;
    return table ? table->Translate(text) : text;
  }
  TPoint ClientToScreen(TPoint p) const override { return {p.X + 1000, p.Y + 2000}; }

  static QString Name(TiPlotObject* o) { return o ? o->Name() : QStringLiteral("-"); }

  QStringList Log;
  bool CancelPopup = false;
  std::function<const TiPlotTranslationManager*()> Table;
};

// Handlers that only record what they receive, for objects tested without a chart.
// One case of the constructor checks: which of owner and handlers are given, and the refusal.
struct TConstructorCheck {
  bool owner, change, insert, remove, rename;
  const char* message;
};

// Constructs through `make(owner, handlers)` for each case; every case must be refused with its
// message before any handler is called.
template <class Make>
void ExpectConstructorRefusals(std::initializer_list<TConstructorCheck> cases, Make make) {
  TFakeOwner owner;
  for (const TConstructorCheck& c : cases) {
    SCOPED_TRACE(c.message);
    int calls = 0;
    auto count = [&calls](TiPlotPersistent*) { ++calls; };
    TiPlotHandlers h;
    if (c.change) h.OnChange = count;
    if (c.insert) h.OnInsert = count;
    if (c.remove) h.OnRemove = count;
    if (c.rename) h.OnRename = count;
    try {
      make(c.owner ? &owner : nullptr, h);
      ADD_FAILURE() << "accepted";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QString::fromLatin1(c.message));
    }
    EXPECT_EQ(calls, 0) << "a refused object reported something";
  }
}

struct THandlerLog {
  QStringList Calls;
  TiPlotHandlers Handlers() {
    return {[this](TiPlotPersistent*) { Calls << QStringLiteral("rename"); },
            [this](TiPlotPersistent*) { Calls << QStringLiteral("remove"); },
            [this](TiPlotPersistent*) { Calls << QStringLiteral("insert"); },
            [this](TiPlotPersistent*) { Calls << QStringLiteral("change"); }};
  }
  int Count(const QString& what) const { return static_cast<int>(Calls.count(what)); }
};
