// The translation table: look-up, order of entries, ownership, the stored form and the
// translation of whole windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include "chart/core/rUdudMasterManager.h"
#include "platform/Controls.h"
#include "platform/Menus.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

struct TranslationFixture : ::testing::Test {
  TFakeOwner owner;
  TiPlotMasterManager master{&owner};
  TiPlotTranslationManager& table = *master.TranslationManager();

  void SetUp() override {
    owner.Table = [this] { return master.TranslationManager(); };
  }
  TiPlotTranslationObject* Entry(const QString& original, const QString& replacement) {
    TiPlotTranslationObject* e = TiPlotTranslationObject::Create(master.Handlers().OnRemove, master.Handlers().OnInsert);
    EXPECT_NE(e, nullptr);
    e->SetOriginalString(original);
    e->SetReplacementString(replacement);
    return e;
  }
};

}  // namespace

TEST_F(TranslationFixture, AnEmptyTableChangesNothing) {
  EXPECT_EQ(table.Translate(QStringLiteral("Edit...")), "Edit...");
  QWidget window;
  window.setWindowTitle(QStringLiteral("Settings"));
  auto* label = new QLabel(QStringLiteral("Margin"), &window);
  table.TranslateForm(&window);
  table.TranslateForm(nullptr);
  EXPECT_EQ(window.windowTitle(), "Settings");
  EXPECT_EQ(label->text(), "Margin");
}

TEST_F(TranslationFixture, NewEntriesStartUnknownAndGoToTheFront) {
  TiPlotTranslationObject* first = TiPlotTranslationObject::Create(master.Handlers().OnRemove, master.Handlers().OnInsert);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->OriginalString(), "Unknown");
  EXPECT_EQ(first->ReplacementString(), "Unknown");
  TiPlotTranslationObject* second = Entry(QStringLiteral("a"), QStringLiteral("b"));
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Items(0), second);
  EXPECT_EQ(table.Items(1), first);
  table.Add(first);   // already listed: nothing changes
  EXPECT_EQ(table.Items(0), second);
  EXPECT_THROW(table.Items(2), EiError);
}

TEST_F(TranslationFixture, ExactTextOnlyAndTheLaterEntryWins) {
  Entry(QStringLiteral("Zoom"), QStringLiteral("Zoom 1"));
  Entry(QStringLiteral("Zoom"), QStringLiteral("Zoom 2"));
  EXPECT_EQ(table.Translate(QStringLiteral("Zoom")), "Zoom 2");
  EXPECT_EQ(table.Translate(QStringLiteral("zoom")), "zoom");
  EXPECT_EQ(table.Translate(QStringLiteral("Zoom ")), "Zoom ");
}

TEST_F(TranslationFixture, TheEditItemOfEveryObjectIsTranslated) {
  Entry(QStringLiteral("Edit..."), QStringLiteral("Bearbeiten..."));
  Entry(QStringLiteral("edit..."), QStringLiteral("wrong"));
  master.AddChannel();
  master.AddXAxis();
  master.AddAnnotation();
  TPopupMenu menu;
  for (TiPlotObject* o : std::initializer_list<TiPlotObject*>{master.ChannelManager()->Items(0), master.XAxisManager()->Items(0),
                                                               master.AnnotationManager()->Items(0)}) {
    menu.Items().Clear();
    o->AddEditMenuItem(&menu);
    ASSERT_EQ(menu.Items().Count(), 1);
    EXPECT_EQ(menu.Items().Items(0)->Caption, "Bearbeiten...");
  }
}

TEST_F(TranslationFixture, DeleteAndClearDestroyEntries) {
  Entry(QStringLiteral("a"), QStringLiteral("1"));
  Entry(QStringLiteral("b"), QStringLiteral("2"));
  Entry(QStringLiteral("c"), QStringLiteral("3"));
  table.Delete(0);
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Items(0)->OriginalString(), "b") << "the entry registered last went";
  EXPECT_EQ(table.Translate(QStringLiteral("c")), "c");
  EXPECT_THROW(table.Delete(5), EiError);
  table.Clear();
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Translate(QStringLiteral("a")), "a");
}

TEST_F(TranslationFixture, StoredEntriesReadBackInReverseOrder) {
  Entry(QStringLiteral("Print"), QStringLiteral("first"));
  Entry(QStringLiteral("Print"), QStringLiteral("second"));
  const auto stored = table.StoredEntries();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].second, "second");

  // A stored table whose second entry shares the first one's source text.
  table.ReadStoredEntries({{QStringLiteral("Print"), QStringLiteral("stored first")},
                           {QStringLiteral("Print"), QStringLiteral("stored second")}});
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Items(0)->ReplacementString(), "stored second");
  EXPECT_EQ(table.Translate(QStringLiteral("Print")), "stored second");
}

TEST(Translation, TableRefusesMissingHandlers) {
  auto handler = [](TiPlotPersistent*) {};
  struct Case {
    bool remove, insert;
    const char* message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {false, false, "OnInsert event handler can not be null"},
           {true, false, "OnInsert event handler can not be null"},
           {false, true, "OnRemove event handler can not be null"},
       }) {
    SCOPED_TRACE(c.message);
    try {
      TiPlotTranslationManager::Make(c.remove ? TiPlotNotifyEvent(handler) : nullptr, c.insert ? TiPlotNotifyEvent(handler) : nullptr);
      FAIL();
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QString::fromLatin1(c.message));
    }
  }
}

TEST(Translation, AnEntryNoTableTakesIsNotKept) {
  int removed = 0;
  TiPlotTranslationObject* e = TiPlotTranslationObject::Create([&](TiPlotPersistent*) { ++removed; }, [](TiPlotPersistent*) {});
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(removed, 1);
}

TEST(Translation, AStandaloneTableOwnsItsEntries) {
  TiPlotTranslationManager* tablePtr = nullptr;
  QStringList calls;
  TiPlotNotifyEvent onInsert = [&](TiPlotPersistent* p) {
    calls << "insert";
    if (auto* e = dynamic_cast<TiPlotTranslationObject*>(p)) tablePtr->Add(e);
  };
  TiPlotNotifyEvent onRemove = [&](TiPlotPersistent* p) {
    calls << "remove";
    if (auto* e = dynamic_cast<TiPlotTranslationObject*>(p)) tablePtr->Remove(e);
  };
  TiPlotPtr<TiPlotTranslationManager> table = TiPlotTranslationManager::Make(onRemove, onInsert);
  tablePtr = table.get();
  TiPlotTranslationObject* e = TiPlotTranslationObject::Create(onRemove, onInsert);
  ASSERT_NE(e, nullptr);
  table->Remove(e);   // out of its only owner: gone
  EXPECT_EQ(table->Count(), 0);
  TiPlotTranslationObject::Create(onRemove, onInsert);
  calls.clear();
  table.reset();
  EXPECT_EQ(calls, (QStringList{"remove", "remove"})) << "the entry first, then the table";
}

TEST_F(TranslationFixture, TranslateFormReachesCaptionsAndItems) {
  Entry(QStringLiteral("Settings"), QStringLiteral("Einstellungen"));
  Entry(QStringLiteral("Margin"), QStringLiteral("Rand"));
  Entry(QStringLiteral("OK"), QStringLiteral("Gut"));
  Entry(QStringLiteral("Visible"), QStringLiteral("Sichtbar"));
  Entry(QStringLiteral("Orientation"), QStringLiteral("Ausrichtung"));
  Entry(QStringLiteral("Portrait"), QStringLiteral("Hochformat"));
  Entry(QStringLiteral("A4"), QStringLiteral("DIN A4"));
  Entry(QStringLiteral("Copy"), QStringLiteral("Kopieren"));
  Entry(QStringLiteral("More"), QStringLiteral("Mehr"));
  Entry(QStringLiteral("Inner"), QStringLiteral("Innen"));
  Entry(QStringLiteral("typed"), QStringLiteral("changed"));

  QWidget window;
  window.setWindowTitle(QStringLiteral("Settings"));
  auto* label = new QLabel(QStringLiteral("Margin"), &window);
  auto* button = new QPushButton(QStringLiteral("OK"), &window);
  auto* check = new QCheckBox(QStringLiteral("Visible"), &window);
  auto* radio = new TRadioGroup(QStringLiteral("Orientation"), {QStringLiteral("Portrait"), QStringLiteral("Landscape")}, &window);
  auto* combo = new QComboBox(&window);
  combo->addItems({QStringLiteral("Letter"), QStringLiteral("A4")});
  auto* edit = new QLineEdit(QStringLiteral("typed"), &window);
  auto* popup = new QMenu(&window);
  popup->addAction(QStringLiteral("Copy"));
  QMenu* more = popup->addMenu(QStringLiteral("More"));
  more->addAction(QStringLiteral("Inner"));

  table.TranslateForm(&window);
  EXPECT_EQ(window.windowTitle(), "Einstellungen");
  EXPECT_EQ(label->text(), "Rand");
  EXPECT_EQ(button->text(), "Gut");
  EXPECT_EQ(check->text(), "Sichtbar");
  EXPECT_EQ(radio->title(), "Ausrichtung");
  EXPECT_EQ(radio->Items(), (QStringList{"Hochformat", "Landscape"}));
  EXPECT_EQ(combo->itemText(1), "DIN A4");
  EXPECT_EQ(edit->text(), "typed") << "what the user typed is not a caption";
  EXPECT_EQ(popup->actions()[0]->text(), "Kopieren");
  EXPECT_EQ(popup->actions()[1]->text(), "Mehr");
  EXPECT_EQ(more->actions()[0]->text(), "Inner") << "only top-level menu items";

  // A property editor window on its way out is left alone.
  QWidget closing;
  closing.setWindowTitle(QStringLiteral("Settings"));
  closing.setProperty("iPlotEditorClosing", true);
  master.TranslateForm(&closing);
  EXPECT_EQ(closing.windowTitle(), "Settings");
}

TEST_F(TranslationFixture, EntriesGoWithTheChart) {
  for (int i = 0; i < 5; ++i) Entry(QString::number(i), QStringLiteral("x"));
  EXPECT_EQ(table.Count(), 5);
  // The fixture's chart is destroyed with its entries; the sanitizers report any leak or stale
  // reference.
}
