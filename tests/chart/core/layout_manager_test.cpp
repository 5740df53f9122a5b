// The layout manager: placing objects by ZOrder with its shifting rules, closing gaps, the side
// lists with their keys and level counts, the axis reflow for XYAxesReverse, and the switch that
// keeps stored ZOrder values while a chart is built or read.
#include <gtest/gtest.h>

#include <functional>

#include "chart/core/rUdudMasterManager.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

struct LayoutFixture : ::testing::Test {
  TFakeOwner owner;
  std::unique_ptr<TiPlotMasterManager> master = std::make_unique<TiPlotMasterManager>(&owner);
  TiPlotLayoutManager* layout = master->LayoutManager();

  template <class T>
  T* Add(const std::function<void(T*)>& setup = {}) {
    auto* object = new T(&owner, master->Handlers());
    if (setup) setup(object);
    InsertObject(TiPlotPtr<TiPlotObject>(object));
    return object;
  }
  TiPlotXAxis* AddXAxis(double start = 0, double stop = 100) {
    return Add<TiPlotXAxis>([&](TiPlotXAxis* a) {
      a->SetStopPercent(stop);
      a->SetStartPercent(start);
    });
  }
  static QStringList Keys(const TiPlotSideList& list) {
    QStringList keys;
    for (int i = 0; i < list.Count(); ++i) keys << list.Keys(i);
    return keys;
  }
  static QStringList Names(const TiPlotSideList& list) {
    QStringList names;
    for (int i = 0; i < list.Count(); ++i) names << list.Objects(i)->Name();
    return names;
  }
};

TEST_F(LayoutFixture, ANewManagerHoldsItsPlaceholdersAtZOrderOne) {
  EXPECT_TRUE(layout->LayoutEnabled());
  EXPECT_EQ(layout->BaseName(), "Layout Object");
  ASSERT_EQ(layout->Count(), 2);
  EXPECT_EQ(layout->Items(0), layout->DataViewHorz());
  EXPECT_EQ(layout->Items(1), layout->DataViewVert());
  EXPECT_TRUE(layout->DataViewHorz()->Horizontal());
  EXPECT_FALSE(layout->DataViewVert()->Horizontal());
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(layout->DataViewVert()->ZOrder(), 1);
  EXPECT_EQ(layout->DataViewHorz()->Name(), "Data View");
  // Placeholders are never on a side.
  EXPECT_TRUE(layout->TopObjects().IsEmpty() && layout->BottomObjects().IsEmpty() && layout->LeftObjects().IsEmpty() &&
              layout->RightObjects().IsEmpty());
}

TEST_F(LayoutFixture, AnXAxisGoesBelowTheDataViewAtZOrderZero) {
  TiPlotXAxis* axis = AddXAxis();
  EXPECT_TRUE(axis->Horizontal());
  EXPECT_EQ(axis->ZOrder(), 0);
  EXPECT_FALSE(axis->FarSide());
  EXPECT_EQ(Names(layout->BottomObjects()), QStringList{"X-Axis 1"});
  EXPECT_EQ(Keys(layout->BottomObjects()), QStringList{"000000"});
  EXPECT_EQ(layout->BottomLevelCount(), 1);
  EXPECT_EQ(layout->TopLevelCount(), 0);
  TiPlotYAxis* y = Add<TiPlotYAxis>();
  EXPECT_FALSE(y->Horizontal());
  EXPECT_EQ(Names(layout->LeftObjects()), QStringList{"Y-Axis 1"});
}

TEST_F(LayoutFixture, ASecondAxisOfTheSameSpanPushesTheFirstOutward) {
  TiPlotXAxis* first = AddXAxis();
  TiPlotXAxis* second = AddXAxis();
  EXPECT_EQ(second->ZOrder(), 0);
  EXPECT_EQ(first->ZOrder(), 1);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 2);
  EXPECT_EQ(layout->DataViewVert()->ZOrder(), 1);   // the other orientation is left alone
  EXPECT_EQ(Names(layout->BottomObjects()), (QStringList{"X-Axis 2", "X-Axis 1"}));
  EXPECT_EQ(layout->BottomLevelCount(), 2);
}

TEST_F(LayoutFixture, TouchingSpansShareALevel) {
  TiPlotXAxis* left = AddXAxis(0, 50);
  TiPlotXAxis* right = AddXAxis(50, 100);
  EXPECT_EQ(left->ZOrder(), 0);
  EXPECT_EQ(right->ZOrder(), 0);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(Keys(layout->BottomObjects()), (QStringList{"000000", "000050"}));
  EXPECT_EQ(layout->BottomLevelCount(), 1);
  // An overlapping third one collides.
  TiPlotXAxis* third = AddXAxis(40, 60);
  EXPECT_EQ(third->ZOrder(), 0);
  EXPECT_EQ(left->ZOrder(), 1);
  EXPECT_EQ(right->ZOrder(), 1);
  EXPECT_EQ(layout->BottomLevelCount(), 2);
}

TEST_F(LayoutFixture, KeysOrderTheTopSide) {
  layout->SetLayoutEnabled(false);
  Add<TiPlotToolBar>([](TiPlotToolBar* t) {
    t->SetHorizontal(true);
    t->SetZOrder(3);
  });
  Add<TiPlotLabel>([](TiPlotLabel* l) { l->SetZOrder(2); });
  layout->SetLayoutEnabled(true);
  EXPECT_EQ(Names(layout->TopObjects()), (QStringList{"Label 1", "Toolbar 1"}));
  EXPECT_EQ(Keys(layout->TopObjects()), (QStringList{"002000", "003000"}));
  EXPECT_EQ(layout->TopLevelCount(), 2);
  EXPECT_TRUE(layout->TopObjects().Objects(0)->FarSide());
}

TEST_F(LayoutFixture, EqualKeysKeepTheNewestFirst) {
  layout->SetLayoutEnabled(false);
  for (int i = 0; i < 3; ++i) Add<TiPlotLegend>([](TiPlotLegend* l) { l->SetZOrder(2); });
  layout->SetLayoutEnabled(true);
  EXPECT_EQ(Names(layout->RightObjects()), (QStringList{"Legend 3", "Legend 2", "Legend 1"}));
  EXPECT_EQ(layout->RightLevelCount(), 1);
}

TEST_F(LayoutFixture, KeysPadZOrderAndRoundTheStart) {
  struct Case {
    int z;
    double start;
    const char* key;
  };
  for (const Case& c : std::initializer_list<Case>{{2, 0, "002000"}, {0, 50, "000050"}, {12, 12.5, "012012"},
                                                   {1, 13.5, "001014"}, {1000, 99, "1000099"}}) {
    SCOPED_TRACE(c.key);
    TiPlotLegend legend(&owner, master->Handlers());
    legend.SetZOrder(c.z);
    legend.SetStartPercent(c.start);
    EXPECT_EQ(legend.ZOrderKey() + legend.StartKey(), c.key);
  }
}

TEST_F(LayoutFixture, NegativeAndLargeZOrdersSortByNumber) {
  layout->SetLayoutEnabled(false);
  layout->DataViewVert()->SetZOrder(2000);
  Add<TiPlotLegend>([](TiPlotLegend* l) { l->SetZOrder(1000); });
  Add<TiPlotLegend>([](TiPlotLegend* l) { l->SetZOrder(-5); });
  Add<TiPlotLegend>([](TiPlotLegend* l) { l->SetZOrder(-1); });
  Add<TiPlotLegend>([](TiPlotLegend* l) { l->SetZOrder(20); });
  layout->SetLayoutEnabled(true);
  EXPECT_EQ(Names(layout->LeftObjects()), (QStringList{"Legend 2", "Legend 3", "Legend 4", "Legend 1"}));
  EXPECT_EQ(layout->LeftLevelCount(), 4);
}

TEST_F(LayoutFixture, PlaceAtModes) {
  struct Case {
    int mode;
    int z;
    int objectZ;
    int firstZ;     // axis that was at 0
    int secondZ;    // axis that was at 1
    int placeholderZ;
  };
  // Start: A at 0, B at 1, placeholder at 2; the placed axis C sits at 0 with A, spans equal.
  for (const Case& c : std::initializer_list<Case>{
           {0, 1, 1, 0, 2, 3},   // collides with B at 1: B and above move up
           {0, 5, 5, 0, 1, 2},   // free level: nothing moves
           {1, 1, 1, 0, 2, 3},   // before 1: everything at 1 or above moves up
           {2, 0, 1, 0, 2, 3},   // after 0: everything above 0 moves up, C takes 1
           {7, 1, 0, 0, 1, 2},   // unknown mode: nothing changes
       }) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " z " << c.z);
    TFakeOwner o;
    TiPlotMasterManager m(&o);
    auto add = [&] {
      auto* axis = new TiPlotXAxis(&o, m.Handlers());
      InsertObject(TiPlotPtr<TiPlotObject>(axis));
      return axis;
    };
    TiPlotXAxis* b = add();
    TiPlotXAxis* a = add();   // pushes b to 1
    m.LayoutManager()->SetLayoutEnabled(false);
    TiPlotXAxis* moved = add();
    m.LayoutManager()->SetLayoutEnabled(true);
    ASSERT_EQ(a->ZOrder(), 0);
    ASSERT_EQ(b->ZOrder(), 1);
    ASSERT_EQ(moved->ZOrder(), 0);
    m.LayoutManager()->PlaceAt(moved, c.z, c.mode);
    EXPECT_EQ(moved->ZOrder(), c.objectZ);
    EXPECT_EQ(a->ZOrder(), c.firstZ);
    EXPECT_EQ(b->ZOrder(), c.secondZ);
    EXPECT_EQ(m.LayoutManager()->DataViewHorz()->ZOrder(), c.placeholderZ);
  }
}

TEST_F(LayoutFixture, DestroyingTheOnlyObjectOfALevelLowersTheOthers) {
  layout->SetLayoutEnabled(false);
  layout->DataViewHorz()->SetZOrder(2);
  TiPlotXAxis* outer = Add<TiPlotXAxis>([](TiPlotXAxis* a) { a->SetZOrder(1); });
  Add<TiPlotXAxis>();   // at 0
  TiPlotLabel* label = Add<TiPlotLabel>([](TiPlotLabel* l) { l->SetZOrder(3); });
  layout->SetLayoutEnabled(true);
  master->XAxisManager()->Delete(1);
  EXPECT_EQ(outer->ZOrder(), 0);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(label->ZOrder(), 2);
  EXPECT_EQ(layout->DataViewVert()->ZOrder(), 1);
  EXPECT_EQ(Names(layout->BottomObjects()), QStringList{"X-Axis 1"});
  EXPECT_EQ(Names(layout->TopObjects()), QStringList{"Label 1"});
}

TEST_F(LayoutFixture, ALevelThatStillHoldsAnObjectKeepsItsValues) {
  layout->SetLayoutEnabled(false);
  AddXAxis(0, 50);
  AddXAxis(50, 100);
  TiPlotLabel* label = Add<TiPlotLabel>([](TiPlotLabel* l) { l->SetZOrder(2); });
  layout->SetLayoutEnabled(true);
  master->XAxisManager()->Delete(0);
  EXPECT_EQ(master->XAxisManager()->Items(0)->ZOrder(), 0);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(label->ZOrder(), 2);
}

TEST_F(LayoutFixture, ReversingMovesTheAxesToTheOtherOrientation) {
  TiPlotXAxis* x = AddXAxis();
  TiPlotYAxis* y = Add<TiPlotYAxis>();
  master->SetXYAxesReverse(true);
  EXPECT_TRUE(layout->XYAxesReverse());
  EXPECT_FALSE(x->Horizontal());
  EXPECT_TRUE(y->Horizontal());
  EXPECT_EQ(x->ZOrder(), 0);
  EXPECT_EQ(y->ZOrder(), 0);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(layout->DataViewVert()->ZOrder(), 1);
  EXPECT_EQ(Names(layout->LeftObjects()), QStringList{"X-Axis 1"});
  EXPECT_EQ(Names(layout->BottomObjects()), QStringList{"Y-Axis 1"});
  // A new X axis now starts out vertical.
  TiPlotXAxis* second = AddXAxis();
  EXPECT_FALSE(second->Horizontal());
  master->SetXYAxesReverse(false);
  EXPECT_TRUE(x->Horizontal());
  EXPECT_TRUE(second->Horizontal());
  EXPECT_FALSE(y->Horizontal());
  EXPECT_EQ(layout->BottomLevelCount(), 2);
  EXPECT_EQ(layout->LeftLevelCount(), 1);
}

TEST_F(LayoutFixture, WhileDisabledStoredZOrdersStayAndTheSidesWait) {
  layout->SetLayoutEnabled(false);
  TiPlotXAxis* a = Add<TiPlotXAxis>([](TiPlotXAxis* x) { x->SetZOrder(4); });
  TiPlotXAxis* b = Add<TiPlotXAxis>([](TiPlotXAxis* x) { x->SetZOrder(4); });
  EXPECT_EQ(a->ZOrder(), 4);
  EXPECT_EQ(b->ZOrder(), 4);
  EXPECT_TRUE(layout->TopObjects().IsEmpty());
  // A removal while disabled closes no gap either.
  master->XAxisManager()->Delete(1);
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  layout->SetLayoutEnabled(true);
  EXPECT_EQ(Names(layout->TopObjects()), QStringList{"X-Axis 1"});
  EXPECT_TRUE(a->FarSide());
  EXPECT_EQ(layout->TopLevelCount(), 1);
}

TEST_F(LayoutFixture, ChangingZOrderOrOrientationRebuildsExceptForTables) {
  TiPlotLegend* legend = Add<TiPlotLegend>();
  TiPlotTable* table = Add<TiPlotTable>();
  EXPECT_TRUE(legend->OnLayoutChange);
  EXPECT_FALSE(table->OnLayoutChange);
  ASSERT_EQ(layout->LeftObjects().Count(), 2);
  legend->SetZOrder(5);
  EXPECT_EQ(Names(layout->RightObjects()), QStringList{"Legend 1"});
  table->SetZOrder(5);   // takes effect only at the next rebuild
  EXPECT_EQ(Names(layout->LeftObjects()), QStringList{"Table 1"});
  legend->SetHorizontal(true);
  EXPECT_EQ(Names(layout->RightObjects()), QStringList{"Table 1"});
  EXPECT_EQ(Names(layout->TopObjects()), QStringList{"Legend 1"});
}

TEST_F(LayoutFixture, DataViewsAreListedButNeverOnASide) {
  TiPlotDataView* view = Add<TiPlotDataView>([](TiPlotDataView* v) { v->SetHorizontal(true); });
  EXPECT_GE(layout->IndexOf(view), 0);
  EXPECT_TRUE(view->OnLayoutChange);
  EXPECT_EQ(layout->LeftObjects().Count() + layout->RightObjects().Count() + layout->TopObjects().Count() +
                layout->BottomObjects().Count(),
            0);
  // A data view is no competitor: an axis added next to it stays at 0 without shifting anything.
  AddXAxis();
  EXPECT_EQ(layout->DataViewHorz()->ZOrder(), 1);
  EXPECT_EQ(view->ZOrder(), 0);
}

TEST_F(LayoutFixture, LevelCountOfASideList) {
  TiPlotSideList list;
  EXPECT_EQ(TiPlotLayoutManager::LevelCount(list), 0);
  std::vector<std::unique_ptr<TiPlotLegend>> legends;
  for (int z : {0, 0, 1, 3, 3, 3}) {
    legends.push_back(std::make_unique<TiPlotLegend>(&owner, master->Handlers()));
    legends.back()->OnChange = nullptr;
    legends.back()->SetZOrder(z);
    list.Add(legends.back().get());
  }
  EXPECT_EQ(TiPlotLayoutManager::LevelCount(list), 3);
  list.Remove(legends[3].get());
  EXPECT_EQ(list.Count(), 5);
  EXPECT_THROW(list.Objects(5), EiError);
}

}  // namespace
