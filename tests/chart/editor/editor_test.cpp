// The chart editor: opened on every kind of object, each kind of property changed through its
// widget, typed numbers checked with the platform's messages, Cancel taking the session back,
// Reset, adding and deleting objects, objects that go while the window is open, translation and
// the chart's entry point with its events.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QToolButton>
#include <QTreeWidget>
#include <ostream>

#include "chart/editor/iPlotEditor.h"
#include "chart/editor/iPlotEditorWidgets.h"
#include "chart/editor/iPropertyGrid.h"
#include "chart/editor/iPropertySnapshot.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/Menus.h"
#include "platform/PickerDialogs.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// A chart with one object of every kind; the label is the title.
struct EditorFixture : ::testing::Test {
  // The repaint gate reads this clock: tests that count repaints move it themselves, so that
  // the time taken by earlier tests does not decide whether a change repaints.
  TManualClock clock;
  TiPlotComponent chart;
  TDialogRecorder dialogs;
  TPickerRecorder pickers;

  void SetUp() override {
    // Deleting asks first; the tests that delete mean it.
    dialogs.YesNoAnswer = true;
    chart.AddLabel();
    chart.AddChannel();
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddDataView();
    chart.AddLegend();
    chart.AddToolBar();
    chart.AddDataCursor();
    chart.AddLimit();
    chart.AddAnnotation();
    chart.AddTable();
  }

  template <class W>
  static W* EditorOf(TiPlotEditorForm& form, const QString& name) {
    QWidget* w = form.Grid()->Editor(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    auto* typed = qobject_cast<W*>(w);
    EXPECT_NE(typed, nullptr) << name.toStdString() << " has another editor";
    return typed;
  }
  // Types into a number or text box and leaves it with Return, as a user does.
  static void Type(TiPlotEditorForm& form, const QString& name, const QString& text) {
    auto* line = EditorOf<QLineEdit>(form, name);
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  }
  static void ChooseColor(TiPlotEditorForm& form, const QString& name, const QString& colorName) {
    auto* box = EditorOf<TiColorBox>(form, name);
    ASSERT_NE(box, nullptr);
    const int i = box->List()->findText(colorName);
    ASSERT_GE(i, 0) << colorName.toStdString();
    box->List()->setCurrentIndex(i);
  }
};

TEST_F(EditorFixture, OpensOnTheObjectOfEachKindAndListsEveryObject) {
  const std::vector<std::pair<TiPlotObject*, QString>> objects = {
      {chart.Channel(0), "Channel 1"},       {chart.XAxis(0), "X-Axis 1"},     {chart.YAxis(0), "Y-Axis 1"},
      {chart.DataView(0), "Data View 1"},    {chart.Legend(0), "Legend 1"},    {chart.ToolBar(0), "Toolbar 1"},
      {chart.DataCursor(0), "Cursor 1"}, {chart.Labels(0), "Label 1"},    {chart.Limit(0), "Limit 1"},
      {chart.Annotation(0), "Annotation #1"}, {chart.Table(0), "Table 1"}};
  for (const auto& [object, listed] : objects) {
    SCOPED_TRACE(listed.toStdString());
    TiPlotEditorForm form(&chart, object);
    EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(object));
    EXPECT_EQ(form.ObjectList()->currentItem()->text(0), listed);
    EXPECT_EQ(form.Grid()->Object(), static_cast<TiPersistent*>(object));
    // The properties every chart object publishes come first, in their declared order.
    const QStringList rows = form.Grid()->RowNames();
    ASSERT_GE(rows.size(), 6);
    EXPECT_EQ(rows.mid(0, 6), (QStringList{"Name", "Visible", "Enabled", "Layer", "PopupEnabled", "CanFocus"}));
    // Each kind's objects are changed through the grid like the chart's own (a data cursor
    // starts hidden, the others shown).
    const bool wasVisible = object->Visible();
    EXPECT_EQ(wasVisible, object != chart.DataCursor(0));
    EditorOf<QCheckBox>(form, QStringLiteral("Visible"))->click();
    EXPECT_EQ(object->Visible(), !wasVisible);
  }
}

TEST_F(EditorFixture, OpensOnTheChartWithoutAnObject) {
  TiPlotEditorForm form(&chart);
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(&chart));
  EXPECT_EQ(form.ObjectList()->currentItem()->text(0), "Chart");
  // Eleven kinds under the chart, each counted.
  QStringList kinds;
  for (int i = 1; i < form.ObjectList()->topLevelItemCount(); ++i) kinds << form.ObjectList()->topLevelItem(i)->text(0);
  EXPECT_EQ(kinds, (QStringList{"Channels (1)", "X-Axes (1)", "Y-Axes (1)", "Data Views (1)", "Legends (1)", "Toolbars (1)",
                                "Data Cursors (1)", "Labels (1)", "Limits (1)", "Annotations (1)", "Tables (1)"}));
}

TEST_F(EditorFixture, NestedFontsAndSetsUnfoldIntoRows) {
  TiPlotEditorForm form(&chart, chart.Labels(0));
  const QStringList rows = form.Grid()->RowNames();
  const qsizetype font = rows.indexOf(QStringLiteral("Font"));
  ASSERT_GE(font, 0);
  EXPECT_EQ(rows.mid(font, 11), (QStringList{"Font", "Font.Color", "Font.Height", "Font.Name", "Font.Orientation", "Font.Size",
                                             "Font.Style", "Font.Style.fsBold", "Font.Style.fsItalic", "Font.Style.fsUnderline",
                                             "Font.Style.fsStrikeOut"}));
  // The title font is Arial 19 bold.
  auto* box = EditorOf<TiObjectBox>(form, QStringLiteral("Font"));
  EXPECT_EQ(box->Text(), "Arial, 19 px, Bold");
  EXPECT_EQ(EditorOf<QLabel>(form, QStringLiteral("Font.Style"))->text(), "[fsBold]");
  EXPECT_TRUE(EditorOf<QCheckBox>(form, QStringLiteral("Font.Style.fsBold"))->isChecked());
  EXPECT_FALSE(EditorOf<QCheckBox>(form, QStringLiteral("Font.Style.fsItalic"))->isChecked());
}

TEST_F(EditorFixture, BooleanEnumerationAndStringChangeTheChart) {
  TiPlotEditorForm form(&chart);
  const int before = chart.RepaintRequests();
  clock.AdvanceMs(1000);  // a frame after the last repaint: the next change repaints
  EditorOf<QCheckBox>(form, QStringLiteral("BackGroundGradientEnabled"))->click();
  EXPECT_TRUE(chart.BackGroundGradientEnabled());

  auto* border = EditorOf<QComboBox>(form, QStringLiteral("BorderStyle"));
  EXPECT_EQ(border->currentText(), "ibsLowered");
  EXPECT_EQ(border->count(), 3);
  border->setCurrentIndex(1);
  EXPECT_EQ(chart.BorderStyle(), ibsRaised);

  Type(form, QStringLiteral("TitleText"), QStringLiteral("Absorbance"));
  EXPECT_EQ(chart.TitleText(), "Absorbance");
  EXPECT_EQ(chart.Labels(0)->Caption(), "Absorbance");
  EXPECT_GT(chart.RepaintRequests(), before);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(EditorFixture, AColourChosenByNameIsPaintedAndSystemColoursKeepTheirIndex) {
  TiPlotEditorForm form(&chart);
  ChooseColor(form, QStringLiteral("BackGroundColor"), QStringLiteral("clRed"));
  EXPECT_EQ(chart.BackGroundColor(), RGB(255, 0, 0));
  TBitmap bitmap(500, 200);
  chart.DoPaint(*bitmap.Canvas());
  // Inside the lowered border, outside the data view.
  EXPECT_EQ(bitmap.Canvas()->Pixel(3, 3), RGB(255, 0, 0));

  ChooseColor(form, QStringLiteral("BackGroundColor"), QStringLiteral("clBtnFace"));
  EXPECT_EQ(static_cast<std::uint32_t>(chart.BackGroundColor()), 0xFF00000Fu);  // system colour 15
  auto* box = EditorOf<TiColorBox>(form, QStringLiteral("BackGroundColor"));
  EXPECT_EQ(box->List()->currentText(), "clBtnFace");
}

TEST_F(EditorFixture, TheColourDialogAndAnUnnamedValue) {
  TiPlotEditorForm form(&chart, chart.Channel(0));
  const TColor start = chart.Channel(0)->Color();
  pickers.ColorAnswer = RGB(0x12, 0x34, 0x56);
  auto* box = EditorOf<TiColorBox>(form, QStringLiteral("Color"));
  box->MoreButton()->click();
  ASSERT_EQ(pickers.ColorRequests.size(), 1u);
  EXPECT_EQ(pickers.ColorRequests[0], start);
  EXPECT_EQ(chart.Channel(0)->Color(), RGB(0x12, 0x34, 0x56));
  // Blue, green, red from the high byte down.
  EXPECT_EQ(box->List()->currentText(), "$00563412");

  // A cancelled dialog changes nothing.
  pickers.ColorAnswer.reset();
  box->MoreButton()->click();
  EXPECT_EQ(chart.Channel(0)->Color(), RGB(0x12, 0x34, 0x56));
}

TEST_F(EditorFixture, TheFontDialogReplacesFaceHeightAndStyleButKeepsTheColour) {
  TiPlotEditorForm form(&chart, chart.Labels(0));
  pickers.FontAnswer = TFont{QStringLiteral("Tahoma"), 24, clBlue, FontStyleBit(fsItalic)};
  EditorOf<TiObjectBox>(form, QStringLiteral("Font"))->FontButton()->click();
  ASSERT_EQ(pickers.FontRequests.size(), 1u);
  EXPECT_EQ(pickers.FontRequests[0].Name, "Arial");
  const TFont& f = chart.Labels(0)->Font()->Font();
  EXPECT_EQ(f.Name, "Tahoma");
  EXPECT_EQ(f.Height, 24);
  EXPECT_EQ(f.Style, FontStyleBit(fsItalic));
  EXPECT_EQ(f.Color, clWhite);
  EXPECT_EQ(EditorOf<TiObjectBox>(form, QStringLiteral("Font"))->Text(), "Tahoma, 24 px, Italic");
  // The chart's title font is the same font.
  EXPECT_EQ(chart.TitleFont()->Name(), "Tahoma");
}

// Dialogs that let something happen while they are open, then answer.
class TBusyPickers : public TPickerDialogs {
 public:
  TBusyPickers() : previous_(&Pickers()) { SetPickers(this); }
  ~TBusyPickers() override { SetPickers(previous_ == this ? nullptr : previous_); }
  std::function<void()> WhileOpen;
  bool ExecuteFont(TFont& font) override {
    if (WhileOpen) WhileOpen();
    font.Height = 30;
    return true;
  }
  bool ExecuteColor(TColor& color) override {
    if (WhileOpen) WhileOpen();
    color = clLime;
    return true;
  }

 private:
  TPickerDialogs* previous_;
};

TEST_F(EditorFixture, AChoiceMadeWhileTheGridTurnedToAnotherObjectIsDropped) {
  TiPlotEditorForm form(&chart, chart.Labels(0));
  TBusyPickers busy;
  busy.WhileOpen = [&] { form.SelectObject(chart.Annotation(0)); };
  const int height = chart.Labels(0)->Font()->Height();
  EditorOf<TiObjectBox>(form, QStringLiteral("Font"))->FontButton()->click();
  EXPECT_EQ(chart.Labels(0)->Font()->Height(), height);
  EXPECT_EQ(chart.Annotation(0)->Font()->Height(), 11);

  busy.WhileOpen = [&] { form.SelectObject(chart.Labels(0)); };
  EditorOf<TiColorBox>(form, QStringLiteral("Font.Color"))->MoreButton()->click();
  EXPECT_EQ(chart.Annotation(0)->Font()->Color(), clWhite);
  EXPECT_EQ(chart.Labels(0)->Font()->Color(), clWhite);
  // Nor did it land on whatever row now stands in its place.
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  const TiPropertySnapshot label(*chart.Labels(0)), annotation(*chart.Annotation(0));
  form.SelectObject(chart.Annotation(0));
  EditorOf<TiColorBox>(form, QStringLiteral("Font.Color"))->MoreButton()->click();
  EXPECT_FALSE(label.Differs(*chart.Labels(0)));
  EXPECT_FALSE(annotation.Differs(*chart.Annotation(0)));
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(EditorFixture, SetMembersAndNestedValuesGoThroughTheFontsSetters) {
  TiPlotEditorForm form(&chart, chart.Annotation(0));
  EditorOf<QCheckBox>(form, QStringLiteral("Font.Style.fsUnderline"))->click();
  EXPECT_EQ(chart.Annotation(0)->Font()->Style(), FontStyleBit(fsUnderline));
  EditorOf<QCheckBox>(form, QStringLiteral("Font.Style.fsBold"))->click();
  EXPECT_EQ(chart.Annotation(0)->Font()->Style(), FontStyleBit(fsUnderline) | FontStyleBit(fsBold));
  EXPECT_EQ(EditorOf<QLabel>(form, QStringLiteral("Font.Style"))->text(), "[fsBold,fsUnderline]");
  Type(form, QStringLiteral("Font.Height"), QStringLiteral("16"));
  EXPECT_EQ(chart.Annotation(0)->Font()->Height(), 16);
  ChooseColor(form, QStringLiteral("Font.Color"), QStringLiteral("clYellow"));
  EXPECT_EQ(chart.Annotation(0)->Font()->Color(), RGB(255, 255, 0));
}

TEST_F(EditorFixture, NumberBoxesTakeNumbersAndRefuseTheRestWithThePlatformsMessages) {
  TiPlotEditorForm form(&chart, chart.Labels(0));
  struct Case {
    const char* row;
    const char* typed;
    const char* message;  // nullptr: accepted
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Layer", "42", nullptr},
           {"Layer", "4x2", "'4x2' is not a valid integer value"},
           {"Layer", "99999999999", "'99999999999' is not a valid integer value"},
           {"Layer", "", "'' is not a valid integer value"},
           {"MarginBottom", "1.25", nullptr},
           {"MarginBottom", "abc", "'abc' is not a valid floating point value"},
           {"MarginBottom", "NAN", "'NAN' is not a valid floating point value"},
           {"MarginBottom", "INF", "'INF' is not a valid floating point value"},
       }) {
    SCOPED_TRACE(std::string(c.row) + " <- " + c.typed);
    dialogs.Messages.clear();
    const int layer = chart.Labels(0)->Layer();
    const double margin = chart.Labels(0)->MarginBottom();
    Type(form, QString::fromLatin1(c.row), QString::fromLatin1(c.typed));
    if (c.message) {
      EXPECT_EQ(dialogs.Messages, QStringList{QString::fromLatin1(c.message)});
      EXPECT_EQ(chart.Labels(0)->Layer(), layer);
      EXPECT_EQ(chart.Labels(0)->MarginBottom(), margin);
    } else {
      EXPECT_TRUE(dialogs.Messages.isEmpty());
    }
  }
  EXPECT_EQ(chart.Labels(0)->Layer(), 42);
  EXPECT_EQ(chart.Labels(0)->MarginBottom(), 1.25);
  // A refused entry shows the value the object holds again.
  EXPECT_EQ(EditorOf<QLineEdit>(form, QStringLiteral("Layer"))->text(), "42");
  EXPECT_EQ(EditorOf<QLineEdit>(form, QStringLiteral("MarginBottom"))->text(), "1.25");
}

TEST_F(EditorFixture, NumbersFollowTheDecimalSeparator) {
  TFormatSettings comma;
  comma.DecimalSeparator = QLatin1Char(',');
  TFormatSettingsScope scope(comma);
  chart.Labels(0)->SetMarginBottom(0.5);
  TiPlotEditorForm form(&chart, chart.Labels(0));
  EXPECT_EQ(EditorOf<QLineEdit>(form, QStringLiteral("MarginBottom"))->text(), "0,5");
  Type(form, QStringLiteral("MarginBottom"), QStringLiteral("2,75"));
  EXPECT_EQ(chart.Labels(0)->MarginBottom(), 2.75);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(EditorFixture, TheWheelOverAListWithoutFocusLeavesItsValue) {
  TiPlotEditorForm form(&chart);
  for (const char* row : {"BorderStyle", "BackGroundColor"}) {
    SCOPED_TRACE(row);
    QWidget* editor = form.Grid()->Editor(QString::fromLatin1(row));
    QComboBox* list = qobject_cast<QComboBox*>(editor);
    if (!list) list = qobject_cast<TiColorBox*>(editor)->List();
    const int index = list->currentIndex();
    QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list, &wheel);
    EXPECT_EQ(list->currentIndex(), index);
  }
  EXPECT_EQ(chart.BorderStyle(), ibsLowered);
  EXPECT_EQ(chart.BackGroundColor(), clBlack);
}

TEST_F(EditorFixture, LeavingABoxUnchangedChangesNothing) {
  TiPlotEditorForm form(&chart, chart.Channel(0));
  int changes = 0;
  chart.Channel(0)->OnChange = [&](TiPlotPersistent*) { ++changes; };
  auto* line = EditorOf<QLineEdit>(form, QStringLiteral("TitleText"));
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(EditorFixture, ReadOnlyPropertiesCannotBeChanged) {
  TiPlotEditorForm form(&chart);
  auto* logging = EditorOf<QCheckBox>(form, QStringLiteral("LoggingActive"));
  EXPECT_FALSE(logging->isEnabled());
  EXPECT_EQ(form.Grid()->ResetButton(QStringLiteral("LoggingActive")), nullptr);
}

TEST_F(EditorFixture, ASetterThatRefusesShowsItsMessageAndTheBoxTheKeptValue) {
  struct TLoggingChart : TiPlotComponent {
    void StartLogging() { loggingActive_ = true; }
  } logging;
  logging.StartLogging();
  TiPlotEditorForm form(&logging);
  auto* format = EditorOf<QComboBox>(form, QStringLiteral("DataFileFormat"));
  format->setCurrentIndex(1);
  EXPECT_EQ(dialogs.Messages, QStringList{"Data File Format can not be changed while logging active"});
  EXPECT_EQ(logging.DataFileFormat(), ipdffText);
  EXPECT_EQ(format->currentIndex(), 0);
}

TEST_F(EditorFixture, ResetGoesBackToTheDeclaredDefault) {
  TiPlotEditorForm form(&chart, chart.Annotation(0));
  QToolButton* reset = form.Grid()->ResetButton(QStringLiteral("Layer"));
  ASSERT_NE(reset, nullptr);
  EXPECT_FALSE(reset->isEnabled());
  Type(form, QStringLiteral("Layer"), QStringLiteral("7"));
  EXPECT_EQ(chart.Annotation(0)->Layer(), 7);
  EXPECT_TRUE(reset->isEnabled());
  EXPECT_TRUE(form.Grid()->Row(QStringLiteral("Layer"))->font(0).bold());
  reset->click();
  EXPECT_EQ(chart.Annotation(0)->Layer(), 100);
  EXPECT_FALSE(reset->isEnabled());
  EXPECT_FALSE(form.Grid()->Row(QStringLiteral("Layer"))->font(0).bold());

  // A colour and an enumeration.
  ChooseColor(form, QStringLiteral("PenColor"), QStringLiteral("clNavy"));
  EditorOf<QComboBox>(form, QStringLiteral("Reference"))->setCurrentIndex(1);
  form.Grid()->ResetButton(QStringLiteral("PenColor"))->click();
  form.Grid()->ResetButton(QStringLiteral("Reference"))->click();
  EXPECT_EQ(chart.Annotation(0)->PenColor(), RGB(255, 255, 255));
  EXPECT_EQ(chart.Annotation(0)->Reference(), iprtDataView);
  // Values without a declared default have no reset.
  EXPECT_EQ(form.Grid()->ResetButton(QStringLiteral("Name")), nullptr);
}

TEST_F(EditorFixture, CancelRestoresEveryChangedValueAndRemovesAddedObjects) {
  chart.Labels(0)->Font()->SetHeight(14);  // a height whose point size would round to 15 pixels
  chart.Limit(0)->SetName(QStringLiteral("Threshold"));
  chart.SetUserCanAddRemoveChannels(true);
  const TColor channelColor = chart.Channel(0)->Color();
  const QString titleText = chart.TitleText();
  {
    TiPlotEditorForm form(&chart);
    ChooseColor(form, QStringLiteral("BackGroundColor"), QStringLiteral("clTeal"));
    Type(form, QStringLiteral("TitleText"), QStringLiteral("Changed"));
    Type(form, QStringLiteral("HintsPause"), QStringLiteral("900"));
    Type(form, QStringLiteral("PrintMarginLeft"), QStringLiteral("2.5"));

    form.SelectObject(chart.Labels(0));
    pickers.FontAnswer = TFont{QStringLiteral("Tahoma"), 20, clBlack, 0};
    EditorOf<TiObjectBox>(form, QStringLiteral("Font"))->FontButton()->click();
    Type(form, QStringLiteral("MarginBottom"), QStringLiteral("3"));

    form.SelectObject(chart.Limit(0));
    Type(form, QStringLiteral("Name"), QStringLiteral("Renamed"));
    EditorOf<QCheckBox>(form, QStringLiteral("Enabled"))->click();

    form.SelectObject(chart.Channel(0));
    ChooseColor(form, QStringLiteral("Color"), QStringLiteral("clFuchsia"));

    ASSERT_TRUE(form.SelectKind(QStringLiteral("Limits")));
    form.AddButton()->click();
    ASSERT_TRUE(form.SelectKind(QStringLiteral("Channels")));
    form.AddButton()->click();
    EXPECT_EQ(chart.LimitCount(), 2);
    EXPECT_EQ(chart.ChannelCount(), 2);
    EXPECT_EQ(chart.Limit(0)->Name(), "Renamed");

    form.CancelButton()->click();
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(chart.BackGroundColor(), clBlack);
  EXPECT_EQ(chart.TitleText(), titleText);
  EXPECT_EQ(chart.Labels(0)->Caption(), titleText);
  EXPECT_EQ(chart.HintsPause(), 500);
  EXPECT_EQ(chart.PrintMarginLeft(), 1.0);
  const TFont& title = chart.Labels(0)->Font()->Font();
  EXPECT_EQ(title.Name, "Arial");
  EXPECT_EQ(title.Height, 14);
  EXPECT_EQ(title.Style, FontStyleBit(fsBold));
  EXPECT_EQ(title.Color, clWhite);
  EXPECT_EQ(chart.Labels(0)->MarginBottom(), 0.0);
  EXPECT_EQ(chart.Limit(0)->Name(), "Threshold");
  EXPECT_TRUE(chart.Limit(0)->Enabled());
  EXPECT_EQ(chart.Channel(0)->Color(), channelColor);
  EXPECT_EQ(chart.LimitCount(), 1);
  EXPECT_EQ(chart.ChannelCount(), 1);
}

TEST_F(EditorFixture, OkKeepsTheChanges) {
  {
    TiPlotEditorForm form(&chart, chart.XAxis(0));
    form.show();
    Type(form, QStringLiteral("Title"), QStringLiteral("Wavelength (nm)"));
    // Return ends the entry, not the window.
    EXPECT_TRUE(form.isVisible());
    form.OkButton()->click();
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(chart.XAxis(0)->Title(), "Wavelength (nm)");
}

TEST_F(EditorFixture, EscapeTakesBackAPendingEntryFirstAndThenCancels) {
  const QString title = chart.XAxis(0)->Title();
  {
    TiPlotEditorForm form(&chart, chart.XAxis(0));
    form.show();
    Type(form, QStringLiteral("Title"), QStringLiteral("kept until cancelled"));
    auto* layer = EditorOf<QLineEdit>(form, QStringLiteral("Layer"));
    layer->selectAll();
    QTest::keyClicks(layer, QStringLiteral("55"));
    QTest::keyClick(layer, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(layer->text(), "100");
    EXPECT_EQ(chart.XAxis(0)->Layer(), 100);
    EXPECT_EQ(chart.XAxis(0)->Title(), "kept until cancelled");
    // Nothing pending: Escape is Cancel.
    QTest::keyClick(layer, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(chart.XAxis(0)->Title(), title);
}

TEST_F(EditorFixture, CancelAfterDeletingLeavesTheDeletionAndRestoresTheRest) {
  chart.AddLegend();
  {
    TiPlotEditorForm form(&chart, chart.Legend(1));
    form.DeleteButton()->click();
    EXPECT_EQ(chart.LegendCount(), 1);
    form.SelectObject(chart.Legend(0));
    EditorOf<QCheckBox>(form, QStringLiteral("Visible"))->click();
    form.reject();
  }
  EXPECT_EQ(chart.LegendCount(), 1);
  EXPECT_TRUE(chart.Legend(0)->Visible());
}

TEST_F(EditorFixture, AddAndDeleteThroughTheChartsOperations) {
  int added = 0, removed = 0;
  chart.OnAddLimit = [&](int) { ++added; };
  chart.OnRemoveLimit = [&](int) { ++removed; };
  TiPlotEditorForm form(&chart);
  ASSERT_TRUE(form.SelectKind(QStringLiteral("Limits")));
  EXPECT_TRUE(form.AddButton()->isEnabled());
  EXPECT_FALSE(form.DeleteButton()->isEnabled());  // a kind, not an object
  form.AddButton()->click();
  EXPECT_EQ(chart.LimitCount(), 2);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(chart.Limit(1)));
  EXPECT_EQ(form.ObjectList()->currentItem()->text(0), "Limit 2");
  EXPECT_EQ(form.ObjectList()->currentItem()->parent()->text(0), "Limits (2)");
  form.DeleteButton()->click();
  EXPECT_EQ(dialogs.Questions, QStringList{"Delete Limit 2? Cancel will not bring it back."});
  EXPECT_EQ(chart.LimitCount(), 1);
  EXPECT_EQ(removed, 1);
  // The remaining limit takes the place.
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(chart.Limit(0)));
  form.DeleteButton()->click();
  EXPECT_EQ(chart.LimitCount(), 0);
  EXPECT_EQ(form.SelectedObject(), nullptr);
  EXPECT_EQ(form.ObjectList()->currentItem()->text(0), "Limits (0)");
}

TEST_F(EditorFixture, ChannelsComeAndGoOnlyWhenTheChartAllowsIt) {
  {
    TiPlotEditorForm form(&chart, chart.Channel(0));
    EXPECT_FALSE(form.DeleteButton()->isEnabled());
    ASSERT_TRUE(form.SelectKind(QStringLiteral("Channels")));
    EXPECT_FALSE(form.AddButton()->isEnabled());
    form.AddButton()->click();
    EXPECT_EQ(chart.ChannelCount(), 1);
  }
  chart.SetUserCanAddRemoveChannels(true);
  TiPlotEditorForm form(&chart, chart.Channel(0));
  EXPECT_TRUE(form.DeleteButton()->isEnabled());
  form.DeleteButton()->click();
  EXPECT_EQ(chart.ChannelCount(), 0);
  ASSERT_TRUE(form.SelectKind(QStringLiteral("Channels")));
  form.AddButton()->click();
  EXPECT_EQ(chart.ChannelCount(), 1);
}

TEST_F(EditorFixture, TheTitleLabelCannotBeDeleted) {
  chart.AddLabel();
  TiPlotEditorForm form(&chart, chart.Labels(0));
  EXPECT_FALSE(form.DeleteButton()->isEnabled());
  form.DeleteButton()->click();
  EXPECT_EQ(chart.LabelCount(), 2);
  form.SelectObject(chart.Labels(1));
  EXPECT_TRUE(form.DeleteButton()->isEnabled());
  form.DeleteButton()->click();
  EXPECT_EQ(chart.LabelCount(), 1);
}

TEST_F(EditorFixture, AnObjectTheProgramRemovesWhileShownIsLeftAlone) {
  TiPlotEditorForm form(&chart, chart.Legend(0));
  QCheckBox* visible = EditorOf<QCheckBox>(form, QStringLiteral("Visible"));
  QLineEdit* name = EditorOf<QLineEdit>(form, QStringLiteral("Name"));
  chart.DeleteLegend(0);
  // The grid still shows the rows; using them must not reach the gone object.
  visible->click();
  name->setText(QStringLiteral("x"));
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_FALSE(visible->isEnabled());
  form.SyncObjects();
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(&chart));
  EXPECT_EQ(form.ObjectList()->topLevelItem(5)->text(0), "Legends (0)");
  // Objects the program adds are listed too.
  chart.AddLegend();
  form.SyncObjects();
  EXPECT_EQ(form.ObjectList()->topLevelItem(5)->text(0), "Legends (1)");
  form.reject();
}

TEST_F(EditorFixture, ValuesTheProgramChangesAreShownAndAnEntryBeingTypedStays) {
  TiPlotEditorForm form(&chart, chart.Channel(0));
  auto* title = EditorOf<QLineEdit>(form, QStringLiteral("TitleText"));
  auto* layer = EditorOf<QLineEdit>(form, QStringLiteral("Layer"));
  title->selectAll();
  QTest::keyClicks(title, QStringLiteral("typing"));
  chart.Channel(0)->SetTitleText(QStringLiteral("from the program"));
  chart.Channel(0)->SetLayer(12);
  chart.Channel(0)->SetName(QStringLiteral("Sample"));
  form.SyncObjects();
  EXPECT_EQ(layer->text(), "12");
  EXPECT_EQ(title->text(), "typing");
  EXPECT_EQ(form.ObjectList()->currentItem()->text(0), "Sample");
  // An object the program adds keeps the grid and its entry as they are.
  chart.AddLimit();
  form.SyncObjects();
  EXPECT_EQ(EditorOf<QLineEdit>(form, QStringLiteral("TitleText")), title);
  EXPECT_EQ(title->text(), "typing");
  QTest::keyClick(title, Qt::Key_Return);
  EXPECT_EQ(chart.Channel(0)->TitleText(), "typing");
}

TEST_F(EditorFixture, RenamingUpdatesTheList) {
  TiPlotEditorForm form(&chart, chart.YAxis(0));
  Type(form, QStringLiteral("Name"), QStringLiteral("Intensity"));
  EXPECT_EQ(chart.YAxis(0)->Name(), "Intensity");
  EXPECT_EQ(form.ObjectList()->currentItem()->text(0), "Intensity");
}

TEST_F(EditorFixture, TheFilterShowsMatchingRowsAndTheirParents) {
  TiPlotEditorForm form(&chart);
  QTest::keyClicks(form.FilterBox(), QStringLiteral("color"));
  EXPECT_FALSE(form.Grid()->Row(QStringLiteral("BackGroundColor"))->isHidden());
  EXPECT_TRUE(form.Grid()->Row(QStringLiteral("HintsPause"))->isHidden());
  // HintsFont.Color matches, so its parent stays.
  EXPECT_FALSE(form.Grid()->Row(QStringLiteral("HintsFont"))->isHidden());
  EXPECT_TRUE(form.Grid()->Row(QStringLiteral("HintsFont.Height"))->isHidden());
  form.FilterBox()->clear();
  EXPECT_FALSE(form.Grid()->Row(QStringLiteral("HintsPause"))->isHidden());
}

TEST_F(EditorFixture, TheWindowPassesThroughTheTranslationTable) {
  auto entry = [&](const char* from, const char* to) {
    TiPlotTranslationObject* e =
        TiPlotTranslationObject::Create(chart.Master()->Handlers().OnRemove, chart.Master()->Handlers().OnInsert);
    ASSERT_NE(e, nullptr);
    e->SetOriginalString(QString::fromLatin1(from));
    e->SetReplacementString(QString::fromLatin1(to));
  };
  entry("Chart Editor", "Diagramm bearbeiten");
  entry("Cancel", "Abbrechen");
  entry("Channels", "Kanaele");
  entry("Reset", "Zuruecksetzen");
  entry("Property", "Eigenschaft");
  TiPlotEditorForm form(&chart, chart.Channel(0));
  EXPECT_EQ(form.windowTitle(), "Diagramm bearbeiten");
  EXPECT_EQ(form.CancelButton()->text(), "Abbrechen");
  EXPECT_EQ(form.ObjectList()->topLevelItem(1)->text(0), "Kanaele (1)");
  EXPECT_EQ(form.Grid()->ResetButton(QStringLiteral("Visible"))->text(), "Zuruecksetzen");
  EXPECT_EQ(form.Grid()->headerItem()->text(0), "Eigenschaft");
}

TEST_F(EditorFixture, StayingOnTopTheChartOpensOneEditorAndRaisesItsEvents) {
  QStringList events;
  chart.OnAfterOpenEditor = [&](QObject* sender) { events << (sender == &chart ? "open" : "open?"); };
  chart.OnAfterCloseEditor = [&](QObject* sender) { events << (sender == &chart ? "close" : "close?"); };
  chart.SetEditorFormStyle(ipfsStayOnTop);
  auto* form = qobject_cast<TiPlotEditorForm*>(chart.ShowEditor(chart.XAxis(0)));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(form->SelectedObject(), static_cast<TiPersistent*>(chart.XAxis(0)));
  EXPECT_EQ(events, QStringList{"open"});
  // A second request shows the open window on the other object.
  EXPECT_EQ(chart.ShowEditor(chart.Table(0)), static_cast<QWidget*>(form));
  EXPECT_EQ(form->SelectedObject(), static_cast<TiPersistent*>(chart.Table(0)));
  EXPECT_EQ(events, QStringList{"open"});
  QPointer<TiPlotEditorForm> guard(form);
  form->OkButton()->click();
  EXPECT_EQ(events, (QStringList{"open", "close"}));
  EXPECT_TRUE(form->property("iPlotEditorClosing").toBool());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
}

TEST_F(EditorFixture, ModalTheEntryPointReturnsWhenTheWindowCloses) {
  QStringList events;
  chart.OnAfterOpenEditor = [&](QObject*) { events << "open"; };
  chart.OnAfterCloseEditor = [&](QObject*) { events << "close"; };
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    auto* form = chart.findChild<TiPlotEditorForm*>();
    if (!form) return;
    wasModal = form->isModal() || form->windowModality() != Qt::NonModal;
    EditorFixture::Type(*form, QStringLiteral("HintsPause"), QStringLiteral("750"));
    form->OkButton()->click();
  });
  EXPECT_EQ(chart.ShowEditor(), nullptr);
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(chart.HintsPause(), 750);
  EXPECT_EQ(events, (QStringList{"open", "close"}));
}

TEST_F(EditorFixture, TheChartGoingFirstLeavesNothingBehind) {
  auto* owned = new TiPlotComponent;
  owned->AddChannel();
  owned->SetEditorFormStyle(ipfsStayOnTop);
  QPointer<QWidget> form = owned->ShowEditor(owned->Channel(0));
  ASSERT_FALSE(form.isNull());
  delete owned;
  EXPECT_TRUE(form.isNull());
}

}  // namespace

namespace {

TEST_F(EditorFixture, ADeletionNotConfirmedKeepsTheObject) {
  dialogs.YesNoAnswer = false;
  chart.AddLegend();
  TiPlotEditorForm form(&chart, chart.Legend(1));
  form.DeleteButton()->click();
  EXPECT_EQ(dialogs.Questions, QStringList{"Delete Legend 2? Cancel will not bring it back."});
  EXPECT_EQ(chart.LegendCount(), 2);
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(chart.Legend(1)));
}

TEST_F(EditorFixture, ResetTakesNumbersAndTextsBackToTheirDeclaredDefaults) {
  struct Case {
    TiPlotObject* object;  // nullptr: the chart
    const char* row;
    const char* typed;
    const char* declared;  // what the row shows after Reset
  };
  for (const Case& c : std::initializer_list<Case>{
           {chart.XAxis(0), "Span", "250", "100"},
           {chart.XAxis(0), "LabelsMargin", "3.5", "0.25"},
           {chart.YAxis(0), "DateTimeFormat", "hh:nn", "hh:nn:ss"},
           {chart.YAxis(0), "AlignRefAxisName", "X-Axis 1", "<None>"},
           {chart.Limit(0), "Line2Position", "-7.5", "50"},
           {chart.Table(0), "ColumnSpacing", "0", "2"},
           {chart.Annotation(0), "Text", "peak", ""},
           {chart.Legend(0), "StopPercent", "60", "100"},
           {nullptr, "PrintDocumentName", "Spectrum", "Untitled"},
           {nullptr, "PrintMarginTop", "0.5", "1"},
       }) {
    SCOPED_TRACE(std::string(c.row) + " <- " + c.typed);
    TiPlotEditorForm form(&chart, c.object);
    TiPersistent* object = c.object ? static_cast<TiPersistent*>(c.object) : &chart;
    const TiPropertyInfo* p = object->ClassInfo().Find(QString::fromLatin1(c.row));
    ASSERT_NE(p, nullptr);
    QToolButton* reset = form.Grid()->ResetButton(QString::fromLatin1(c.row));
    ASSERT_NE(reset, nullptr);
    Type(form, QString::fromLatin1(c.row), QString::fromLatin1(c.typed));
    const auto held = [&] {
      return p->Kind == TiPropertyKind::Float ? QString::number(p->GetFloat(*object)) : p->GetString(*object);
    };
    EXPECT_EQ(held(), QString::fromLatin1(c.typed));
    EXPECT_TRUE(reset->isEnabled());
    EXPECT_TRUE(form.Grid()->Row(QString::fromLatin1(c.row))->font(0).bold());
    reset->click();
    EXPECT_EQ(held(), QString::fromLatin1(c.declared));
    EXPECT_EQ(EditorOf<QLineEdit>(form, QString::fromLatin1(c.row))->text(), QString::fromLatin1(c.declared));
    EXPECT_FALSE(reset->isEnabled());
    EXPECT_FALSE(form.Grid()->Row(QString::fromLatin1(c.row))->font(0).bold());
  }
  EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(EditorFixture, TheDeclaredDefaultIsNamedInTheRowsDescription) {
  TiPlotEditorForm form(&chart, chart.XAxis(0));
  EXPECT_EQ(form.Grid()->Description(form.Grid()->Row(QStringLiteral("Span"))), "Span: number, default 100");
  EXPECT_EQ(form.Grid()->Description(form.Grid()->Row(QStringLiteral("DateTimeFormat"))),
            "DateTimeFormat: text, default \"hh:nn:ss\"");
  EXPECT_EQ(form.Grid()->Description(form.Grid()->Row(QStringLiteral("Title"))), "Title: text");
}

TEST_F(EditorFixture, TheEditItemOfAnObjectsMenuOpensTheEditorOnThatObject) {
  chart.SetEditorFormStyle(ipfsStayOnTop);
  // The kinds whose menus offer "Edit..." today; the others take it up through the same call.
  for (TiPlotObject* object : {static_cast<TiPlotObject*>(chart.XAxis(0)), static_cast<TiPlotObject*>(chart.YAxis(0)),
                               static_cast<TiPlotObject*>(chart.Limit(0)), static_cast<TiPlotObject*>(chart.Table(0))}) {
    SCOPED_TRACE(object->Name().toStdString());
    TPopupMenu menu;
    object->AddMenuItems(&menu);
    TMenuItem* edit = menu.Items().Find(QStringLiteral("Edit..."));
    ASSERT_NE(edit, nullptr);
    edit->Click();
    auto* form = chart.findChild<TiPlotEditorForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->SelectedObject(), static_cast<TiPersistent*>(object));
    form->OkButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(chart.findChild<TiPlotEditorForm*>(), nullptr);
  }
  // Without UserCanEditObjects the item is not offered.
  chart.SetUserCanEditObjects(false);
  TPopupMenu menu;
  chart.Limit(0)->AddMenuItems(&menu);
  EXPECT_EQ(menu.Items().Find(QStringLiteral("Edit...")), nullptr);
}

TEST_F(EditorFixture, TheEditItemOpensTheModalEditorAndReturnsWhenItCloses) {
  QStringList events;
  chart.OnAfterOpenEditor = [&](QObject*) { events << "open"; };
  chart.OnAfterCloseEditor = [&](QObject*) { events << "close"; };
  TiPersistent* shown = nullptr;
  QTimer::singleShot(0, [&] {
    auto* form = chart.findChild<TiPlotEditorForm*>();
    if (!form) return;
    shown = form->SelectedObject();
    form->CancelButton()->click();
  });
  TPopupMenu menu;
  chart.XAxis(0)->AddMenuItems(&menu);
  ASSERT_NE(menu.Items().Find(QStringLiteral("Edit...")), nullptr);
  menu.Items().Find(QStringLiteral("Edit..."))->Click();
  EXPECT_EQ(shown, static_cast<TiPersistent*>(chart.XAxis(0)));
  EXPECT_EQ(events, (QStringList{"open", "close"}));
}

TEST_F(EditorFixture, CancelAlsoRestoresObjectsTheProgramAddedMeanwhile) {
  TiPlotEditorForm form(&chart);
  const int index = chart.AddLimit();
  chart.Limit(index)->SetLine1Position(20.0);
  form.SyncObjects();
  form.SelectObject(chart.Limit(index));
  ASSERT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(chart.Limit(index)));
  Type(form, QStringLiteral("Line1Position"), QStringLiteral("75"));
  EditorOf<QCheckBox>(form, QStringLiteral("Visible"))->click();
  form.reject();
  // The program's object stays, with the values it had when the window first listed it.
  ASSERT_EQ(chart.LimitCount(), 2);
  EXPECT_EQ(chart.Limit(index)->Line1Position(), 20.0);
  EXPECT_TRUE(chart.Limit(index)->Visible());
}

// The chart painted into a bitmap, as the screen gets it.
QImage Painted(TiPlotComponent& chart) {
  TBitmap bitmap(500, 300);
  chart.DoPaint(*bitmap.Canvas());
  return bitmap.Image().copy();
}

TEST_F(EditorFixture, ChangesOfEveryKindShowInThePaintedChart) {
  chart.SetWidth(500);
  chart.SetHeight(300);
  struct Case {
    const char* what;
    TiPlotObject* object;  // nullptr: the chart
    std::function<void(TiPlotEditorForm&)> change;
  };
  const std::vector<Case> cases = {
      {"boolean", chart.XAxis(0), [](TiPlotEditorForm& f) { EditorOf<QCheckBox>(f, QStringLiteral("Visible"))->click(); }},
      {"enumeration", nullptr,
       [](TiPlotEditorForm& f) { EditorOf<QComboBox>(f, QStringLiteral("BorderStyle"))->setCurrentIndex(1); }},
      {"colour", chart.Labels(0), [](TiPlotEditorForm& f) { ChooseColor(f, QStringLiteral("Font.Color"), QStringLiteral("clYellow")); }},
      {"font", chart.Labels(0),
       [this](TiPlotEditorForm& f) {
         pickers.FontAnswer = TFont{QStringLiteral("Tahoma"), 30, clWhite, 0};
         EditorOf<TiObjectBox>(f, QStringLiteral("Font"))->FontButton()->click();
       }},
      {"set member", chart.YAxis(0),
       [](TiPlotEditorForm& f) { EditorOf<QCheckBox>(f, QStringLiteral("LabelsFont.Style.fsBold"))->click(); }},
      {"integer", nullptr, [](TiPlotEditorForm& f) { Type(f, QStringLiteral("OuterMarginLeft"), QStringLiteral("40")); }},
      {"number", chart.XAxis(0), [](TiPlotEditorForm& f) { Type(f, QStringLiteral("Span"), QStringLiteral("7")); }},
      {"text", nullptr, [](TiPlotEditorForm& f) { Type(f, QStringLiteral("TitleText"), QStringLiteral("Absorbance")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TiPlotEditorForm form(&chart, c.object);
    const QImage before = Painted(chart);
    c.change(form);
    EXPECT_NE(Painted(chart), before);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    // Cancel takes the picture back as well.
    form.reject();
    EXPECT_EQ(Painted(chart), before);
  }
}

}  // namespace

namespace {

TEST_F(EditorFixture, InsertAndDeleteKeysInTheObjectListAddAndDelete) {
  TiPlotEditorForm form(&chart, chart.Limit(0));
  QTest::keyClick(form.ObjectList(), Qt::Key_Insert);
  ASSERT_EQ(chart.LimitCount(), 2);
  EXPECT_EQ(form.SelectedObject(), static_cast<TiPersistent*>(chart.Limit(1)));
  QTest::keyClick(form.ObjectList(), Qt::Key_Delete);
  EXPECT_EQ(dialogs.Questions, QStringList{"Delete Limit 2? Cancel will not bring it back."});
  EXPECT_EQ(chart.LimitCount(), 1);
  // The keys mean nothing to the property grid: Delete there deletes no object.
  QTest::keyClick(form.Grid(), Qt::Key_Delete);
  EXPECT_EQ(chart.LimitCount(), 1);
  // Nor where the kind does not allow it: the title label stays.
  form.SelectObject(chart.Labels(0));
  QTest::keyClick(form.ObjectList(), Qt::Key_Delete);
  EXPECT_EQ(chart.LabelCount(), 1);
  EXPECT_EQ(dialogs.Questions.size(), 1);
}

}  // namespace

// ---- the property file buttons ----

TEST_F(EditorFixture, SaveAndLoadButtonsWriteAndReadTheChartPropertyFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("chart.txt"));
  TiPlotEditorForm form(&chart);
  chart.SetOuterMarginLeft(17);
  dialogs.SaveAnswer = path;
  form.SaveButton()->click();
  ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
  EXPECT_TRUE(ReadTextLines(path).startsWith(QStringLiteral("File Type = Plot Config")));

  // Changed after saving: loading brings the file's chart back, and the list shows it.
  chart.SetOuterMarginLeft(3);
  chart.AddLimit();
  dialogs.OpenAnswer = path;
  form.LoadButton()->click();
  EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(" | ").toStdString();
  EXPECT_EQ(chart.OuterMarginLeft(), 17);
  EXPECT_EQ(chart.LimitCount(), 1);
  EXPECT_TRUE(form.SelectKind(QStringLiteral("Limits")));
  ASSERT_NE(form.ObjectList()->currentItem(), nullptr);
  EXPECT_EQ(form.ObjectList()->currentItem()->childCount(), 1);
  // Cancel takes back what followed the load, not the load.
  chart.SetOuterMarginLeft(9);
  form.CancelChanges();
  EXPECT_EQ(chart.OuterMarginLeft(), 17);
  EXPECT_EQ(chart.LimitCount(), 1);

  // A file that is no chart property file is reported and changes nothing.
  QFile bad(dir.filePath(QStringLiteral("bad.txt")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("File Type = Something Else\r\n");
  bad.close();
  dialogs.OpenAnswer = bad.fileName();
  form.LoadButton()->click();
  EXPECT_EQ(dialogs.Messages, QStringList{"Error Loading Properties - Incompatible Plot Configuration File Type"});
  EXPECT_EQ(chart.OuterMarginLeft(), 17);
  // Cancelled dialogs do nothing.
  dialogs.OpenAnswer.clear();
  dialogs.SaveAnswer.clear();
  form.LoadButton()->click();
  form.SaveButton()->click();
  EXPECT_EQ(dialogs.Messages.size(), 1);
  // A save that fails is reported.
  dialogs.SaveAnswer = dir.filePath(QStringLiteral("no/folder/chart.txt"));
  form.SaveButton()->click();
  ASSERT_EQ(dialogs.Messages.size(), 2);
  EXPECT_TRUE(dialogs.Messages[1].startsWith("Error Saving Properties - ")) << dialogs.Messages[1].toStdString();
}
