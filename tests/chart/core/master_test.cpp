// The master manager: creation, routing of insert, remove, rename, focus and change, the add
// operations, the chart-wide flags, and destruction in every order the chart allows.
#include <gtest/gtest.h>

#include <random>

#include "chart/channels/iXYPlotChannel.h"
#include "chart/channels/rUdudChannel.h"
#include "chart/core/rUdudMasterManager.h"
#include "platform/Menus.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

// Objects of three kinds that write what they hear into one shared log.
QStringList* g_log = nullptr;
void Note(const QString& s) {
  if (g_log) *g_log << s;
}

class TLoggingChannel : public TiXYPlotChannel {
 public:
  using TiXYPlotChannel::TiXYPlotChannel;
  void Clear() override { Note("clear " + Name()); }
  void NotifyRenamed(TiPlotObject* o) override { Note(QStringLiteral("%1 heard %2 was %3").arg(Name(), o->Name(), o->PreviousName())); }
  void NotifyRemoving(TiPlotPersistent* item) override {
    if (auto* o = dynamic_cast<TiPlotObject*>(item)) Note(QStringLiteral("%1 heard %2 goes").arg(Name(), o->Name()));
  }
  void NotifyFocus(TiPlotObject* o) override { Note(QStringLiteral("%1 heard %2 focused").arg(Name(), o->Name())); }
};

class TLoggingXAxis : public TiPlotXAxis {
 public:
  using TiPlotXAxis::TiPlotXAxis;
  void ResetTracking() override { Note("reset " + Name()); }
  void NotifyRenamed(TiPlotObject* o) override { Note(QStringLiteral("%1 heard %2 was %3").arg(Name(), o->Name(), o->PreviousName())); }
};

class TLoggingYAxis : public TiPlotYAxis {
 public:
  using TiPlotYAxis::TiPlotYAxis;
  void ResetTracking() override { Note("reset " + Name()); }
};

class TLoggingCursor : public TiPlotDataCursor {
 public:
  using TiPlotDataCursor::TiPlotDataCursor;
  void NotifyRemoving(TiPlotPersistent* item) override {
    TiPlotDataCursor::NotifyRemoving(item);
    if (auto* o = dynamic_cast<TiPlotObject*>(item)) Note(QStringLiteral("%1 heard %2 goes").arg(Name(), o->Name()));
  }
};

struct MasterFixture : ::testing::Test {
  QStringList log;
  QStringList events;
  TFakeOwner owner;
  std::unique_ptr<TiPlotMasterManager> master = std::make_unique<TiPlotMasterManager>(&owner);

  void SetUp() override {
    g_log = &log;
    owner.Table = [this] { return master ? master->TranslationManager() : nullptr; };
    master->OnChanged = [this](TiPlotMasterManager*) { events << "changed"; };
    master->OnRepaintNow = [this](TiPlotMasterManager*) { events << "repaint now"; };
    master->OnObjectInserted = [this](TiPlotPersistent* item) {
      if (auto* o = dynamic_cast<TiPlotObject*>(item)) events << "inserted " + o->Name();
    };
    master->OnObjectRemoved = [this](TiPlotPersistent* item) {
      if (auto* o = dynamic_cast<TiPlotObject*>(item)) events << "removed " + o->Name();
    };
  }
  void TearDown() override { g_log = nullptr; }

  template <class T>
  T* Insert() {
    auto* object = new T(&owner, master->Handlers());
    EXPECT_TRUE(InsertObject(TiPlotPtr<TiPlotObject>(object)));
    return object;
  }
  // A chart with objects of every kind.
  void Populate() {
    master->AddToolBar();
    master->AddLegend();
    master->AddXAxis();
    master->AddYAxis();
    master->AddChannel();
    master->AddChannel();
    master->AddDataView();
    master->AddDataCursor();
    master->AddLabel();
    master->AddTable();
    master->AddLimit();
    master->AddAnnotation();
    TiPlotTranslationObject* entry = TiPlotTranslationObject::Create(master->Handlers().OnRemove, master->Handlers().OnInsert);
    ASSERT_NE(entry, nullptr);
    entry->SetOriginalString(QStringLiteral("Edit..."));
  }
};

}  // namespace

TEST_F(MasterFixture, AfterCreationOnlyThePlaceholdersExist) {
  for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{
           master->ToolBarManager(), master->LegendManager(), master->TableManager(), master->XAxisManager(),
           master->YAxisManager(), master->ChannelManager(), master->DataViewManager(), master->DataCursorManager(),
           master->LimitManager(), master->LabelManager(), master->AnnotationManager()}) {
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->IsEmpty()) << c->BaseName().toStdString();
  }
  TiPlotLayoutManager* layout = master->LayoutManager();
  ASSERT_NE(layout, nullptr);
  ASSERT_EQ(layout->Count(), 2);
  EXPECT_EQ(layout->Items(0), layout->DataViewHorz());
  EXPECT_EQ(layout->Items(1), layout->DataViewVert());
  EXPECT_TRUE(layout->DataViewHorz()->Horizontal());
  EXPECT_FALSE(layout->DataViewVert()->Horizontal());
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(layout->DataViewVert()->Name(), "Data View");
  ASSERT_EQ(master->AllObjects()->Count(), 2);
  EXPECT_EQ(master->AllObjects()->Items(0), layout->DataViewHorz());
  EXPECT_EQ(master->AllObjects()->Items(1), layout->DataViewVert());
  EXPECT_EQ(master->TranslationManager()->Count(), 0);
  EXPECT_TRUE(master->UserCanEditObjects());
  EXPECT_FALSE(master->XYAxesReverse());
}

TEST(Master, RefusesAMissingOwner) {
  try {
    TiPlotMasterManager master(nullptr);
    FAIL();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Owner must be Assigned");
  }
}

TEST_F(MasterFixture, AddXAxisOnAnEmptyChart) {
  EXPECT_EQ(master->AddXAxis(), 0);
  TiPlotXAxis* axis = master->XAxisManager()->Items(0);
  EXPECT_EQ(axis->Name(), "X-Axis 1");
  EXPECT_EQ(axis->Title(), "X-Axis 1");
  EXPECT_EQ(axis->Owner(), &owner);
  EXPECT_EQ(master->AllObjects()->IndexOf(axis), 2);
  EXPECT_EQ(master->LayoutManager()->IndexOf(axis), 2);
  EXPECT_EQ(events.back(), "inserted X-Axis 1");
  EXPECT_EQ(master->AddXAxis(), 1);
}

TEST_F(MasterFixture, AddChannelBindsToTheFirstAxesAndUsesTheChannelClass) {
  master->AddXAxis();
  master->AddYAxis();
  EXPECT_EQ(master->AddChannel(), 0);
  TiPlotChannelCustom* ch = master->ChannelManager()->Items(0);
  EXPECT_NE(dynamic_cast<TiXYPlotChannel*>(ch), nullptr);
  EXPECT_EQ(ch->XAxisName(), "X-Axis 1");
  EXPECT_EQ(ch->YAxisName(), "Y-Axis 1");
  EXPECT_EQ(master->LayoutManager()->IndexOf(ch), -1) << "channels take no room around the data view";

  master->SetChannelClass(&CreateChannelOf<TiPlotChannel>);
  EXPECT_EQ(master->AddChannel(), 1);
  EXPECT_NE(dynamic_cast<TiPlotChannel*>(master->ChannelManager()->Items(1)), nullptr);
  EXPECT_NE(dynamic_cast<TiPlotChannel*>(master->ChannelManager()->CreateItem().get()), nullptr);
  EXPECT_THROW(master->SetChannelClass(nullptr), EiError);
  EXPECT_EQ(master->ChannelClass(), &CreateChannelOf<TiPlotChannel>);
}

TEST_F(MasterFixture, NewObjectsAreWiredToTheChart) {
  master->SetXYAxesReverse(true);
  master->SetUserCanEditObjects(false);
  TiPlotObject* edited = nullptr;
  master->OnEditObject = [&](TiPlotObject* o) { edited = o; };
  master->AddLimit();
  TiPlotLimit* limit = master->LimitManager()->Items(0);
  EXPECT_TRUE(limit->XYAxesReverse());
  EXPECT_FALSE(limit->UserCanEdit());
  limit->SetUserCanEdit(true);
  TPopupMenu menu;
  limit->AddEditMenuItem(&menu);
  menu.Items().Items(0)->Click();
  EXPECT_EQ(edited, limit);
  events.clear();
  limit->SetFocused(true);
  EXPECT_EQ(events, QStringList{"repaint now"});
  events.clear();
  limit->SetVisible(false);
  EXPECT_EQ(events, QStringList{"changed"});
}

TEST_F(MasterFixture, DestroyingAChannelRemovesItEverywhereAndTellsTheCursors) {
  master->AddChannel();
  auto* cursor = Insert<TLoggingCursor>();
  TiPlotChannelCustom* channel = master->ChannelManager()->Items(0);
  ASSERT_EQ(cursor->ChannelName(), "Channel 1");
  events.clear();
  log.clear();
  master->ChannelManager()->Delete(0);
  EXPECT_EQ(master->AllObjects()->IndexOf(channel), -1);
  EXPECT_TRUE(master->ChannelManager()->IsEmpty());
  EXPECT_EQ(log, QStringList{"Cursor 1 heard Channel 1 goes"});
  EXPECT_EQ(events.first(), "removed Channel 1") << "the chart hears of it first";
}

TEST_F(MasterFixture, RenamingAnAxisReachesEveryObject) {
  auto* axis = Insert<TLoggingXAxis>();
  Insert<TLoggingChannel>();
  Insert<TLoggingChannel>();
  log.clear();
  axis->SetName(QStringLiteral("Time"));
  // Layout objects hear it twice: through their kind's collection and through the layout manager.
  EXPECT_EQ(log, (QStringList{"Time heard Time was X-Axis 1", "Channel 1 heard Time was X-Axis 1",
                              "Channel 2 heard Time was X-Axis 1", "Time heard Time was X-Axis 1"}));
}

TEST_F(MasterFixture, FocusIsBroadcast) {
  Insert<TLoggingChannel>();
  Insert<TLoggingChannel>();
  log.clear();
  master->ChannelManager()->Items(1)->SetFocused(true);
  EXPECT_EQ(log, (QStringList{"Channel 1 heard Channel 2 focused", "Channel 2 heard Channel 2 focused"}));
  master->DeselectAll();
  EXPECT_FALSE(master->ChannelManager()->Items(1)->HasFocus());
}

TEST_F(MasterFixture, XYAxesReverseIsPassedOnEveryTime) {
  Populate();
  for (int round = 0; round < 2; ++round) {
    events.clear();
    master->SetXYAxesReverse(true);
    // The first time the axes move to their new sides (their changes come first); the immediate
    // repaint comes once, at the end, each time.
    EXPECT_EQ(events.count(QStringLiteral("repaint now")), 1);
    EXPECT_EQ(events.last(), QStringLiteral("repaint now"));
    if (round == 1) {
      EXPECT_EQ(events, QStringList{"repaint now"});
    }
    EXPECT_TRUE(master->LayoutManager()->XYAxesReverse());
    for (int i = 0; i < master->AllObjects()->Count(); ++i) {
      TiPlotObject* o = master->AllObjects()->Items(i);
      if (dynamic_cast<TiPlotDataViewLayout*>(o)) continue;   // placeholders belong to no kind
      EXPECT_TRUE(o->XYAxesReverse()) << o->Name().toStdString();
    }
  }
}

TEST_F(MasterFixture, UserCanEditObjectsReachesEveryObject) {
  Populate();
  master->SetUserCanEditObjects(false);
  for (int i = 0; i < master->AllObjects()->Count(); ++i) EXPECT_FALSE(master->AllObjects()->Items(i)->UserCanEdit());
  master->SetUserCanEditObjects(true);
  EXPECT_TRUE(master->ChannelManager()->Items(1)->UserCanEdit());
  EXPECT_TRUE(master->AnnotationManager()->Items(0)->UserCanEdit());
}

TEST_F(MasterFixture, ResetAllClearsChannelsThenResetsXThenYAxes) {
  Insert<TLoggingYAxis>();
  Insert<TLoggingXAxis>();
  Insert<TLoggingChannel>();
  Insert<TLoggingChannel>();
  log.clear();
  master->ResetAll();
  EXPECT_EQ(log, (QStringList{"clear Channel 1", "clear Channel 2", "reset X-Axis 1", "reset Y-Axis 1"}));
}

TEST_F(MasterFixture, ToolBarsVisibility) {
  master->AddToolBar();
  master->AddToolBar();
  master->SetToolBarsVisible(false);
  EXPECT_FALSE(master->ToolBarManager()->Items(0)->Visible());
  EXPECT_FALSE(master->ToolBarManager()->Items(1)->Visible());
}

TEST_F(MasterFixture, AnInsertHandlerMayDestroyTheNewObject) {
  master->OnObjectInserted = [this](TiPlotPersistent* item) {
    if (dynamic_cast<TiPlotLimit*>(item)) master->LimitManager()->Delete(master->LimitManager()->IndexOf(item));
  };
  EXPECT_EQ(master->AddLimit(), -1);
  EXPECT_TRUE(master->LimitManager()->IsEmpty());
  EXPECT_EQ(master->AllObjects()->Count(), 2);
}

TEST_F(MasterFixture, DestroyingTheFullChart) {
  Populate();
  QStringList collectionsGone;
  int objectsGone = 0;
  TiPlotMasterManager* m = master.get();
  m->OnObjectRemoved = [&](TiPlotPersistent* item) {
    if (auto* c = dynamic_cast<TiPlotObjectManagerCustom*>(item)) collectionsGone << c->BaseName();
    if (dynamic_cast<TiPlotObject*>(item)) ++objectsGone;
    // Whatever the chart can still reach while objects go must be sound.
    for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{m->AllObjects(), m->LayoutManager(), m->DataCursorManager()})
      if (c)
        for (int i = 0; i < c->Count(); ++i) c->Items(i)->Name();
  };
  owner.Table = nullptr;
  master.reset();
  EXPECT_EQ(objectsGone, 14);
  EXPECT_EQ(collectionsGone, (QStringList{"Toolbar", "Legend", "Table", "Channel", "X-Axis", "Y-Axis", "Data View",
                                          "Cursor", "Limit", "Label", "Annotation", "n/a", "Layout Object"}));
}

TEST_F(MasterFixture, DestroyingADetachedChart) {
  Populate();
  master->AllObjects()->DetachAll();
  master->OnChanged = nullptr;
  events.clear();
  master.reset();
  for (const QString& e : events) EXPECT_FALSE(e.startsWith("removed ")) << "detached objects report nothing";
}

TEST_F(MasterFixture, DestroyingObjectsInAnyOrder) {
  // Deletes every object of a populated chart one by one in shuffled orders, then the chart.
  std::mt19937 random(6);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    master = std::make_unique<TiPlotMasterManager>(&owner);
    Populate();
    master->AddXAxis();
    master->AddDataCursor();
    std::vector<TiPlotObjectOwnedManager*> kinds = {
        master->ToolBarManager(), master->LegendManager(), master->TableManager(), master->XAxisManager(),
        master->YAxisManager(), master->ChannelManager(), master->DataViewManager(), master->DataCursorManager(),
        master->LimitManager(), master->LabelManager(), master->AnnotationManager()};
    const int steps = static_cast<int>(random() % 12);
    for (int step = 0; step < steps; ++step) {
      TiPlotObjectOwnedManager* kind = kinds[random() % kinds.size()];
      if (kind->IsEmpty()) continue;
      if (random() % 3 == 0)
        kind->Clear();
      else
        kind->Delete(static_cast<int>(random() % static_cast<unsigned>(kind->Count())));
    }
    int owned = 0;
    for (auto* kind : kinds) owned += kind->Count();
    EXPECT_EQ(master->AllObjects()->Count(), owned + 2) << "the list of all objects follows every removal";
    for (int i = 0; i < master->DataCursorManager()->Count(); ++i) {
      TiPlotDataView* view = master->DataCursorManager()->Items(i)->DataView();
      if (view) {
        EXPECT_GE(master->DataViewManager()->IndexOf(view), 0) << "a cursor kept a view that went";
      }
    }
    if (random() % 2) master->TranslationManager()->Clear();
    master.reset();
  }
  master = std::make_unique<TiPlotMasterManager>(&owner);
}
