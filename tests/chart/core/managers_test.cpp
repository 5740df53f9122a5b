// Collections: names, look-up, defaults of new objects, channel colours, constructor checks,
// removal notices and ownership.
#include <gtest/gtest.h>

#include "chart/channels/iXYPlotChannel.h"
#include "chart/channels/rUdudChannel.h"
#include "chart/core/rUdudMasterManager.h"
#include "platform/Menus.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

struct Chart : ::testing::Test {
  TFakeOwner owner;
  TiPlotMasterManager master{&owner};
  TiPlotChannelManager& channels = *master.ChannelManager();
  TiPlotXAxisManager& xAxes = *master.XAxisManager();
  TiPlotYAxisManager& yAxes = *master.YAxisManager();
};

// A data cursor that records the removal notices it receives.
class TWatchingCursor : public TiPlotDataCursor {
 public:
  using TiPlotDataCursor::TiPlotDataCursor;
  void NotifyRemoving(TiPlotPersistent* item) override {
    TiPlotDataCursor::NotifyRemoving(item);
    Removing.push_back(item);
  }
  std::vector<TiPlotPersistent*> Removing;
};

}  // namespace

TEST_F(Chart, NewNameFollowsTheLargestNumber) {
  struct Case {
    std::vector<const char*> names;
    const char* next;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{}, "Channel 1"},
           {{"Channel 1", "Channel 3"}, "Channel 4"},
           {{"Channel 12", "Channel 2"}, "Channel 13"},
           {{"channel 7"}, "Channel 8"},
           {{"CHANNEL 2"}, "Channel 3"},
           {{"Channel x"}, "Channel 1"},
           {{"Channel  5"}, "Channel 6"},
           {{"Channel5"}, "Channel 6"},
           {{"Channel 5 "}, "Channel 1"},
           {{"Channel 5x"}, "Channel 1"},
           {{"Channel -3"}, "Channel 1"},
           {{"Chan"}, "Channel 1"},
           {{"Channels 4"}, "Channel 1"},
           {{"Channel 2147483647"}, "Channel 2147483648"},
           {{"Channel 99999999999"}, "Channel 1"},
       }) {
    SCOPED_TRACE(c.next);
    channels.Clear();
    for (const char* name : c.names) {
      ASSERT_GE(master.AddChannel(), 0);
      channels.Items(channels.Count() - 1)->SetName(QString::fromLatin1(name));
    }
    EXPECT_EQ(channels.NewName(), QString::fromLatin1(c.next));
  }
}

TEST_F(Chart, NewObjectsAreNamedByKind) {
  master.AddToolBar();
  master.AddLegend();
  master.AddTable();
  master.AddXAxis();
  master.AddYAxis();
  master.AddChannel();
  master.AddDataView();
  master.AddDataCursor();
  master.AddLimit();
  master.AddLabel();
  master.AddAnnotation();
  master.AddChannel();
  EXPECT_EQ(master.ToolBarManager()->Items(0)->Name(), "Toolbar 1");
  EXPECT_EQ(master.LegendManager()->Items(0)->Name(), "Legend 1");
  EXPECT_EQ(master.TableManager()->Items(0)->Name(), "Table 1");
  EXPECT_EQ(xAxes.Items(0)->Name(), "X-Axis 1");
  EXPECT_EQ(yAxes.Items(0)->Name(), "Y-Axis 1");
  EXPECT_EQ(channels.Items(0)->Name(), "Channel 1");
  EXPECT_EQ(channels.Items(1)->Name(), "Channel 2");
  EXPECT_EQ(master.DataViewManager()->Items(0)->Name(), "Data View 1");
  EXPECT_EQ(master.DataCursorManager()->Items(0)->Name(), "Cursor 1");
  EXPECT_EQ(master.LimitManager()->Items(0)->Name(), "Limit 1");
  EXPECT_EQ(master.LabelManager()->Items(0)->Name(), "Label 1");
  EXPECT_EQ(master.AnnotationManager()->Items(0)->Name(), "") << "annotations stay unnamed";
  EXPECT_EQ(master.AnnotationManager()->NewName(), "Annotation 1");
  // Neither the all-objects list nor the layout manager names what it lists.
  EXPECT_EQ(master.AllObjects()->BaseName(), "n/a");
  EXPECT_EQ(master.LayoutManager()->BaseName(), "Layout Object");
}

TEST_F(Chart, DefaultsOfNewObjects) {
  master.AddChannel();
  EXPECT_EQ(channels.Items(0)->TitleText(), "Channel 1");
  EXPECT_EQ(channels.Items(0)->XAxisName(), "") << "no axes yet";
  master.AddDataView();
  EXPECT_EQ(master.DataViewManager()->Items(0)->GridXAxisName(), "");

  master.AddXAxis();
  master.AddYAxis();
  master.AddXAxis();
  xAxes.Items(0)->SetName(QStringLiteral("Wavelength"));
  master.AddChannel();
  master.AddDataView();
  master.AddDataCursor();
  master.AddLimit();
  master.AddLabel();
  TiPlotChannelCustom* ch = channels.Items(1);
  EXPECT_EQ(ch->TitleText(), "Channel 2");
  EXPECT_EQ(ch->XAxisName(), "Wavelength");
  EXPECT_EQ(ch->YAxisName(), "Y-Axis 1");
  EXPECT_EQ(xAxes.Items(1)->Title(), "X-Axis 2");
  EXPECT_EQ(yAxes.Items(0)->Title(), "Y-Axis 1");
  TiPlotDataView* dv = master.DataViewManager()->Items(1);
  EXPECT_EQ(dv->GridXAxisName(), "Wavelength");
  EXPECT_EQ(dv->GridYAxisName(), "Y-Axis 1");
  TiPlotDataCursor* cursor = master.DataCursorManager()->Items(0);
  EXPECT_EQ(cursor->DataView(), master.DataViewManager()->Items(0));
  EXPECT_EQ(cursor->ChannelName(), "Channel 1");
  TiPlotLimit* limit = master.LimitManager()->Items(0);
  EXPECT_EQ(limit->XAxisName(), "Wavelength");
  EXPECT_EQ(limit->YAxisName(), "Y-Axis 1");
  EXPECT_EQ(master.LabelManager()->Items(0)->Caption(), "Label 1");
}

TEST_F(Chart, StoredNamesStayAndOnlyUnnamedObjectsAreNamed) {
  TiPlotPtr<TiPlotObject> stored = channels.CreateItem();
  stored->SetName(QStringLiteral("Channel 7"));
  static_cast<TiPlotChannelCustom*>(stored.get())->SetTitleText(QStringLiteral("Stored"));
  ASSERT_TRUE(InsertObject(std::move(stored)));
  ASSERT_EQ(channels.Count(), 1);
  EXPECT_EQ(channels.Items(0)->Name(), "Channel 7");
  EXPECT_EQ(channels.Items(0)->TitleText(), "Stored") << "defaults go to unnamed objects only";
  EXPECT_EQ(master.AddChannel(), 1);
  EXPECT_EQ(channels.Items(1)->Name(), "Channel 8");
}

TEST_F(Chart, FindByNameIgnoresCase) {
  master.AddXAxis();
  master.AddXAxis();
  EXPECT_EQ(xAxes.FindByName(QStringLiteral("x-axis 1")), xAxes.Items(0));
  EXPECT_EQ(xAxes.IndexOfName(QStringLiteral("X-AXIS 2")), 1);
  EXPECT_EQ(xAxes.FindByName(QStringLiteral("X-Axis 3")), nullptr);
  EXPECT_EQ(xAxes.IndexOfName(QStringLiteral("X-Axis")), -1);
  EXPECT_EQ(xAxes.IndexOf(yAxes.IsEmpty() ? nullptr : yAxes.Items(0)), -1);
}

TEST_F(Chart, ChannelColoursTakeTheLeastUsedPaletteColour) {
  master.AddChannel();
  master.AddChannel();
  EXPECT_EQ(channels.Items(0)->Color(), RGB(255, 0, 0));
  EXPECT_EQ(channels.Items(1)->Color(), RGB(255, 255, 0));
  master.AddChannel();
  EXPECT_EQ(channels.Items(2)->Color(), RGB(0, 0, 255));
  // With every palette colour used once (and red twice), the next least used is yellow.
  for (int i = 3; i < 31; ++i) master.AddChannel();
  EXPECT_EQ(channels.Items(29)->Color(), RGB(128, 255, 128));
  EXPECT_EQ(channels.Items(30)->Color(), RGB(255, 255, 0));
  // Colours off the palette count for nothing.
  channels.Clear();
  master.AddChannel();
  channels.Items(0)->SetColor(RGB(1, 2, 3));
  master.AddChannel();
  EXPECT_EQ(channels.Items(1)->Color(), RGB(255, 255, 0)) << "the new one is red while counted";
}

TEST(Collections, RefuseMissingOwnerOrHandlerInOrder) {
  ExpectConstructorRefusals(
      {
          {false, true, true, true, true, "Owner must be Assigned"},
          {true, false, true, true, true, "OnChange event handler can not be null"},
          {true, true, false, false, true, "OnInsert event handler can not be null"},
          {true, true, true, false, false, "OnRemove event handler can not be null"},
          {true, true, true, true, false, "AOnRename event handler can not be null"},
      },
      [](TiPlotOwner* owner, const TiPlotHandlers& h) { MakeCollection<TiPlotLabelManager>(owner, h); });
}

TEST_F(Chart, AllObjectsRefusesToCreateAndBadIndexesRaise) {
  try {
    master.AllObjects()->CreateItem();
    FAIL();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Object Manager does not support creation of objects");
  }
  EXPECT_THROW(channels.Items(0), EiError);
  EXPECT_THROW(master.AllObjects()->Items(-1), EiError);
  EXPECT_THROW(channels.Delete(3), EiError);
  EXPECT_EQ(channels.DeleteIndex(5), nullptr);
}

TEST_F(Chart, RemovalNoticesReachTheOtherObjectsOfOwningCollections) {
  master.AddDataView();
  master.AddDataView();
  auto* cursor = new TWatchingCursor(&owner, master.Handlers());
  ASSERT_TRUE(InsertObject(TiPlotPtr<TiPlotObject>(cursor)));
  ASSERT_EQ(cursor->DataView(), master.DataViewManager()->Items(0));
  TiPlotDataView* first = master.DataViewManager()->Items(0);
  master.DataViewManager()->Delete(0);
  ASSERT_EQ(cursor->Removing.size(), 1u);
  EXPECT_EQ(cursor->Removing[0], static_cast<TiPlotPersistent*>(first));
  EXPECT_EQ(cursor->DataView(), nullptr) << "the cursor dropped the view it lived in";
  EXPECT_EQ(master.DataViewManager()->Count(), 1);
  EXPECT_EQ(master.AllObjects()->IndexOf(first), -1);
}

// The object taken out leaves the whole chart at once and keeps no link into it: renaming,
// focusing or destroying it after the chart has gone touches nothing of the chart.
TEST(Collections, DeleteIndexHandsTheObjectBackCutOffFromTheChart) {
  TFakeOwner owner;
  auto master = std::make_unique<TiPlotMasterManager>(&owner);
  QStringList removed;
  master->OnObjectRemoved = [&](TiPlotPersistent* item) {
    if (auto* o = dynamic_cast<TiPlotObject*>(item))
      removed << QStringLiteral("%1 at %2").arg(o->Name()).arg(master->LabelManager()->IndexOf(o));
  };
  master->AddLabel();
  master->AddLabel();
  master->AddDataView();
  master->AddDataCursor();
  const int all = master->AllObjects()->Count();
  TiPlotPtr<TiPlotObject> label = master->LabelManager()->DeleteIndex(0);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Name(), "Label 1");
  EXPECT_EQ(removed, QStringList{"Label 1 at 0"}) << "the chart hears of it while it still has its index";
  EXPECT_EQ(master->LabelManager()->Count(), 1);
  EXPECT_EQ(master->AllObjects()->Count(), all - 1);
  EXPECT_EQ(master->AllObjects()->IndexOf(label.get()), -1);
  EXPECT_EQ(master->LayoutManager()->IndexOf(label.get()), -1);
  EXPECT_EQ(label->Owner(), nullptr);
  EXPECT_FALSE(label->OnChange || label->OnRemove || label->OnInsert || label->OnRename || label->OnLayoutChange ||
               label->OnGotFocus || label->OnEdit || label->OnFocusChange);

  // A data view taken out is forgotten by the cursor that lived in it.
  TiPlotDataCursor* cursor = master->DataCursorManager()->Items(0);
  ASSERT_NE(cursor->DataView(), nullptr);
  TiPlotPtr<TiPlotObject> view = master->DataViewManager()->DeleteIndex(0);
  EXPECT_EQ(cursor->DataView(), nullptr);

  master->OnObjectRemoved = nullptr;
  master.reset();
  label->SetName(QStringLiteral("renamed"));
  label->SetFocused(true);
  static_cast<TiPlotLabel*>(label.get())->SetZOrder(4);
  EXPECT_EQ(label->Translate(QStringLiteral("Edit...")), "Edit...");
  label.reset();
  view.reset();
}

TEST_F(Chart, RemovingALiveOwnedObjectDestroysIt) {
  master.AddLimit();
  TiPlotLimit* limit = master.LimitManager()->Items(0);
  master.LimitManager()->Remove(limit);
  EXPECT_EQ(master.LimitManager()->Count(), 0);
  EXPECT_EQ(master.AllObjects()->IndexOf(limit), -1);
}

TEST_F(Chart, ClearDestroysEveryObjectOfTheKind) {
  for (int i = 0; i < 3; ++i) master.AddXAxis();
  master.AddYAxis();
  const int all = master.AllObjects()->Count();
  const int layout = master.LayoutManager()->Count();
  xAxes.Clear();
  EXPECT_TRUE(xAxes.IsEmpty());
  EXPECT_EQ(master.AllObjects()->Count(), all - 3);
  EXPECT_EQ(master.LayoutManager()->Count(), layout - 3);
  EXPECT_EQ(yAxes.Count(), 1);
}

TEST_F(Chart, AnObjectNobodyTakesIsDestroyed) {
  TFakeOwner lonelyOwner;
  THandlerLog log;
  EXPECT_FALSE(InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotXAxis(&lonelyOwner, log.Handlers()))));
  EXPECT_EQ(log.Calls, (QStringList{"insert", "remove", "change"}));
}

TEST_F(Chart, AllObjectsForwardsInputToFocusedObjects) {
  master.AddXAxis();
  master.AddYAxis();
  master.AddChannel();
  master.AddLegend();
  TiPlotObjectManager& all = *master.AllObjects();
  // The channel first: it keeps its focus when the legend takes it (the legend shows it
  // selected), while other objects give theirs up to the next.
  xAxes.Items(0)->SetFocused(true);
  channels.Items(0)->SetFocused(true);
  EXPECT_FALSE(xAxes.Items(0)->HasFocus());
  master.LegendManager()->Items(0)->SetFocused(true);
  owner.Log.clear();
  all.SetShiftStateAll(ssShift);
  for (int i = 0; i < all.Count(); ++i) EXPECT_EQ(all.Items(i)->ShiftState(), ssShift);
  all.MouseDown(MakeMouseParams(mbLeft, 0, 1, 2, false));
  EXPECT_TRUE(master.LegendManager()->Items(0)->MouseIsDown());
  EXPECT_TRUE(channels.Items(0)->MouseIsDown());
  EXPECT_FALSE(xAxes.Items(0)->MouseIsDown());
  all.MouseUp(MakeMouseParams(mbLeft, 0, 1, 2, false));
  EXPECT_FALSE(channels.Items(0)->MouseIsDown());
  EXPECT_EQ(owner.Log, (QStringList{"up Channel 1 0 0 1 2", "up Legend 1 0 0 1 2"}));
  owner.Log.clear();
  // Focus moved on: an axis always takes a wheel turn.
  xAxes.Items(0)->SetFocused(true);
  EXPECT_FALSE(channels.Items(0)->HasFocus());
  owner.Log.clear();
  EXPECT_TRUE(all.MouseWheel(120, 0, {3, 4})) << "the focused axis handled it";
  EXPECT_EQ(owner.Log.size(), 1) << "only the focused object is called";
  all.DeselectAll();
  for (int i = 0; i < all.Count(); ++i) EXPECT_FALSE(all.Items(i)->HasFocus());
}

TEST_F(Chart, KeyOpensTheMenuOfFocusedObjectsOnly) {
  TMenuRecorder menus;
  TPopupMenu menu;
  master.AddXAxis();
  master.AddYAxis();
  xAxes.Items(0)->SetLayoutRect({0, 100, 200, 120});
  yAxes.Items(0)->SetFocused(true);
  yAxes.Items(0)->SetLayoutRect({0, 0, 20, 100});
  int key = VK_APPS;
  master.AllObjects()->DoKeyDown(key, 0, &menu);
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0].X, 1010);
  EXPECT_EQ(menus.Shown[0].Y, 2050);
}

TEST_F(Chart, PublishedPropertiesWriteAndReadBack) {
  master.AddXAxis();
  master.AddYAxis();
  master.AddChannel();
  TiPlotChannelCustom* channel = channels.Items(0);
  channel->SetVisible(false);
  channel->SetLayer(50);
  QStringList lines;
  WriteProperties(*channel, QStringLiteral("Channel0"), lines);
  EXPECT_EQ(lines, (QStringList{"Channel0.Name = Channel 1", "Channel0.Visible = 0", "Channel0.Layer = 50",
                                "Channel0.TitleText = Channel 1", "Channel0.Color = 255", "Channel0.MarkersFont.Color = 16777215",
                                "Channel0.MarkersFont.Height = 11", "Channel0.MarkersFont.Name = Tahoma",
                                "Channel0.MarkersFont.Style = 1", "Channel0.XAxisName = X-Axis 1",
                                "Channel0.YAxisName = Y-Axis 1", "Channel0.LogFileName = "}));
  EXPECT_EQ(channel->ClassName(), "TiXYPlotChannel");

  master.AddChannel();
  TiPlotChannelCustom* other = channels.Items(1);
  ReadProperties(*other, QStringLiteral("Channel0"), lines);
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_EQ(other->Name(), "Channel 1");
  EXPECT_FALSE(other->Visible());
  EXPECT_EQ(other->Layer(), 50);
  EXPECT_EQ(other->Color(), RGB(255, 0, 0));

  xAxes.Items(0)->SetStartPercent(25);
  lines.clear();
  WriteProperties(*xAxes.Items(0), QString(), lines, {QStringLiteral("Name")});
  // The layout manager made the X axis horizontal; properties at their declared defaults are
  // left out, texts and reals are always written.
  EXPECT_EQ(lines, (QStringList{"StopPercent = 100", "StartPercent = 25", "ZOrder = 0", "Horizontal = 1", "Title = X-Axis 1",
                                "TrackingScrollCompressMax = 0", "TrackingSpanMinimum = 0", "TrackingMinMargin = 0",
                                "TrackingMaxMargin = 0", "CartesianChildRefAxisName = <None>", "CartesianChildRefValue = 0",
                                "AlignRefAxisName = <None>", "Min = 0", "Span = 100", "DesiredIncrement = 0", "DesiredStart = 0",
                                "ScrollMin = 0", "ScrollMax = 100", "LabelSeparation = 2", "LabelsMinLength = 5", "DateTimeFormat = hh:nn:ss",
                                "CursorDateTimeFormat = hh:nn:ss", "CursorMinLength = 5", "LegendDateTimeFormat = hh:nn:ss",
                                "LegendMinLength = 5", "CursorScaler = 1", "LabelsFont.Color = 16777215", "LabelsFont.Height = 11",
                                "LabelsFont.Name = Tahoma", "LabelsFont.Style = 0", "TitleMargin = 0.25",
                                "TitleFont.Color = 16777215", "TitleFont.Height = 13", "TitleFont.Name = Arial",
                                "TitleFont.Style = 1", "LabelsMargin = 0.25", "StackingEndsMargin = 0.5"}));
}
