// The chart property file and the annotation file: exact round trips, files that fail their
// check, sections without their object, blank lines, the byte-order mark and events.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>

#include "chart/decorations/rUdudLegend.h"
#include "chart/files/iPropertyLines.h"
#include "tests/chart/files/FilesTestSupport.h"

namespace {

// The chart's placement, which a load never resets and the modifier leaves alone too.
const QStringList kPlacement{"Name", "Left", "Top", "Width", "Height", "Visible", "Enabled", "Cursor", "Hint", "ShowHint", "Tag",
                             "Constraints", "LoggingActive", "OptionSaveAllProperties", "XAxisName", "YAxisName",
                             "ChannelName", "DataStyle", "RingBufferSize"};

void ModifyChart(TiPlotComponent& chart, int step) {
  ChangeEverything(chart, kPlacement, step);
  for (int kind = 0; kind < kPlotObjectKindCount; ++kind)
    for (int i = 0; i < chart.Count(TiPlotObjectKind(kind)); ++i)
      ChangeEverything(*chart.Item(TiPlotObjectKind(kind), i), kPlacement, step);
  chart.SetTitleText(QStringLiteral("Spectrum #10\r\nsecond line"));
  chart.Channel(0)->SetTitleText(QStringLiteral("Sample"));
}

QByteArray Saved(TiPlotComponent& chart, const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  chart.SavePropertiesToFile(path);
  return FileBytes(path);
}

}  // namespace

TEST(ChartPropertyFile, StartsWithTheTypeAndTheTwelveCounts) {
  QTemporaryDir dir;
  TiXYPlot chart;
  const QStringList lines = QString::fromUtf8(Saved(chart, dir, "a.txt")).split(QStringLiteral("\r\n"));
  ASSERT_GT(lines.size(), 14);
  EXPECT_EQ(lines.mid(0, 13), (QStringList{"File Type = Plot Config", "ChannelCount = 1", "XAxisCount = 1", "YAxisCount = 1",
                                           "ToolBarCount = 1", "LegendCount = 1", "TableCount = 0", "LabelCount = 1",
                                           "DataViewCount = 1", "DataCursorCount = 1", "LimitCount = 0",
                                           QStringLiteral("DataViewZHorz = %1").arg(chart.DataViewZHorz()),
                                           QStringLiteral("DataViewZVert = %1").arg(chart.DataViewZVert())}));
  EXPECT_TRUE(lines[13].startsWith("Channel0."));
  // Sections in kind order, the chart's own properties last, without its placement.
  QStringList order;
  for (const QString& line : lines.mid(13)) {
    const QString head = line.section(QLatin1Char('.'), 0, 0).section(QLatin1Char(' '), 0, 0);
    if (line.contains(QLatin1Char('.')) && line.indexOf('.') < line.indexOf('=') && (order.isEmpty() || order.last() != head)) order << head;
  }
  EXPECT_EQ(order.mid(0, 7), (QStringList{"Channel0", "XAxis0", "YAxis0", "ToolBar0", "Legend0", "Label0", "DataView0"}));
  for (const char* excluded : {"Name = ", "Left = ", "Width = ", "Visible = ", "Enabled = "})
    EXPECT_FALSE(lines.contains(QRegularExpression(QStringLiteral("^%1").arg(QLatin1String(excluded))))) << excluded;
  EXPECT_TRUE(lines.last().isEmpty());  // the last line ends with CR LF too
}

TEST(ChartPropertyFile, SaveLoadSaveGivesTheSameBytes) {
  struct Case { const char* name; std::function<void(TiPlotComponent&)> build; };
  for (const Case& c : std::initializer_list<Case>{
           {"default chart", [](TiPlotComponent&) {}},
           {"every kind of object", [](TiPlotComponent& chart) { AddEveryKind(chart); }},
           {"placement saved too",
            [](TiPlotComponent& chart) {
              chart.SetOptionSaveAllProperties(true);
              chart.SetWidth(321);
              chart.SetHint(QStringLiteral("a hint"));
            }},
           {"non-default values everywhere",
            [](TiPlotComponent& chart) {
              AddEveryKind(chart);
              ModifyChart(chart, 1);
            }},
       }) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    TiXYPlot original;
    c.build(original);
    const QByteArray first = Saved(original, dir, "first.txt");
    // Into a new chart, and into a chart whose values all differ: neither keeps anything of its own.
    TiXYPlot fresh;
    fresh.LoadPropertiesFromFile(dir.filePath("first.txt"));
    EXPECT_EQ(Saved(fresh, dir, "second.txt"), first);
    TiXYPlot other;
    AddEveryKind(other);
    ModifyChart(other, 2);
    other.LoadPropertiesFromFile(dir.filePath("first.txt"));
    EXPECT_EQ(Saved(other, dir, "third.txt"), first);
    EXPECT_FALSE(other.Updating());
    EXPECT_FALSE(other.IsLoading());
    EXPECT_TRUE(other.LayoutManager()->LayoutEnabled());
  }
}

TEST(ChartPropertyFile, BothToolBarSectionsGoToToolBarZeroTheSecondLast) {
  QTemporaryDir dir;
  TiXYPlot chart;
  chart.ToolBar(0)->SetShowCopyButton(false);  // not at its default
  const QString path = PutFile(dir, "two.txt",
                               "File Type = Plot Config\r\nToolBarCount = 2\r\nLegendCount = 1\r\n"
                               "ToolBar0.ShowSaveButton = 0\r\nToolBar0.ShowPrintButton = 0\r\n"
                               "ToolBar1.ShowSaveButton = 1\r\n"
                               "Legend0.Name = Kept\r\n");
  chart.LoadPropertiesFromFile(path);
  ASSERT_EQ(chart.ToolBarCount(), 1);
  EXPECT_TRUE(chart.ToolBar(0)->ShowSaveButton());    // the second section wins
  EXPECT_FALSE(chart.ToolBar(0)->ShowPrintButton());  // the first one's value stays
  const TiPropertyInfo* copy = chart.ToolBar(0)->ClassInfo().Find("ShowCopyButton");
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->AtDefault(*chart.ToolBar(0)));  // reset before the first section
  ASSERT_EQ(chart.LegendCount(), 1);
  EXPECT_EQ(chart.Legend(0)->Name(), "Kept");
  // Loaded and saved again, the file is a fixed point.
  chart.SavePropertiesToFile(dir.filePath("b.txt"));
  TiXYPlot again;
  again.LoadPropertiesFromFile(dir.filePath("b.txt"));
  again.SavePropertiesToFile(dir.filePath("c.txt"));
  EXPECT_EQ(FileBytes(dir.filePath("c.txt")), FileBytes(dir.filePath("b.txt")));
}

TEST(ChartPropertyFile, SectionsWithoutTheirObjectAreReadPast) {
  // A chart without default objects has no toolbar and no title label.
  QTemporaryDir dir;
  TiPlotComponent chart;
  const QString path = PutFile(dir, "none.txt",
                               "File Type = Plot Config\r\nToolBarCount = 3\r\nLegendCount = 1\r\nLabelCount = 1\r\n"
                               "DataViewCount = 1\r\n"
                               "ToolBar0.Name = A\r\nToolBar0.Visible = 0\r\nToolBar1.Name = B\r\nToolBar2.Name = C\r\n"
                               "Legend0.Name = TheLegend\r\nLabel0.Caption = Title\r\nDataView0.Name = TheView\r\n"
                               "OuterMarginLeft = 11\r\n");
  chart.LoadPropertiesFromFile(path);
  EXPECT_EQ(chart.ToolBarCount(), 0);
  ASSERT_EQ(chart.LegendCount(), 1);
  EXPECT_EQ(chart.Legend(0)->Name(), "TheLegend");
  EXPECT_EQ(chart.LabelCount(), 0);
  ASSERT_EQ(chart.DataViewCount(), 1);
  EXPECT_EQ(chart.DataView(0)->Name(), "TheView");
  EXPECT_EQ(chart.OuterMarginLeft(), 11);
}

TEST(ChartPropertyFile, BlankLinesAndAByteOrderMarkChangeNothing) {
  QTemporaryDir dir;
  TiXYPlot original;
  AddEveryKind(original);
  ModifyChart(original, 1);
  const QByteArray saved = Saved(original, dir, "plain.txt");
  // A blank line after every fifth line, blanks on some, and the mark an editor puts first.
  QByteArray edited = "\xEF\xBB\xBF";
  int n = 0;
  for (const QByteArray& line : saved.split('\n')) {
    if (line.isEmpty()) continue;
    edited += line + "\n";
    if (++n % 5 == 0) edited += (n % 10 ? "\r\n" : "   \t\r\n");
  }
  TiXYPlot loaded;
  loaded.LoadPropertiesFromFile(PutFile(dir, "edited.txt", edited));
  EXPECT_EQ(Saved(loaded, dir, "again.txt"), saved);
}

TEST(ChartPropertyFile, AByteOrderMarkBeforeAFileInASingleByteCodePage) {
  // "\xB5" is no UTF-8: the file is read byte for byte, and its mark must not become text.
  QTemporaryDir dir;
  TiXYPlot chart;
  chart.LoadPropertiesFromFile(PutFile(dir, "latin.txt", "\xEF\xBB\xBF" "File Type = Plot Config\r\nLabelCount = 1\r\n"
                                                         "Label0.Caption = 5 \xB5m\r\n"));
  EXPECT_EQ(chart.Labels(0)->Caption(), QString::fromUtf8("5 \xC2\xB5m"));
}

TEST(ChartPropertyFile, AFileThatFailsItsCheckLeavesTheChartAsItWas) {
  struct Case { const char* text; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
           {"ChannelCount = 0\r\n", "Incompatible Plot Configuration File Type"},
           {"File Type = Plot Channel Config\r\n", "Incompatible Plot Configuration File Type"},
           {"File Type = \r\n", "Incompatible Plot Configuration File Type"},
           {"", "Incompatible Plot Configuration File Type"},
           {"File Type = Plot Config\r\nChannelCount = -1\r\n", "ChannelCount \"-1\" is not a whole number from 0 to 1"},
           {"File Type = Plot Config\r\nLimitCount = 2000000000\r\nA = 1\r\n", "LimitCount \"2000000000\" is not a whole number from 0 to 2"},
           {"File Type = Plot Config\r\nXAxisCount = two\r\n", "XAxisCount \"two\" is not a whole number from 0 to 1"},
           {"File Type = Plot Config\r\nXAxisCount = 1.5\r\n", "XAxisCount \"1.5\" is not a whole number from 0 to 1"},
           {"File Type = Plot Config\r\nDataViewZHorz = x\r\n", "'x' is not a valid integer value"},
       }) {
    SCOPED_TRACE(c.text);
    QTemporaryDir dir;
    TiXYPlot chart;
    AddEveryKind(chart);
    ModifyChart(chart, 1);
    const QByteArray before = Saved(chart, dir, "before.txt");
    const int annotations = chart.AnnotationCount();
    int beforeEvents = 0, afterEvents = 0;
    chart.OnBeforeLoadProperties = [&](QObject* sender) {
      EXPECT_EQ(sender, &chart);
      ++beforeEvents;
    };
    chart.OnAfterLoadProperties = [&](QObject*) { ++afterEvents; };
    try {
      chart.LoadPropertiesFromFile(PutFile(dir, "bad.txt", c.text));
      ADD_FAILURE() << "loaded";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("Error Loading Properties - ") + QLatin1String(c.message));
    }
    EXPECT_EQ(beforeEvents, 1);
    EXPECT_EQ(afterEvents, 0);
    EXPECT_EQ(Saved(chart, dir, "after.txt"), before);
    EXPECT_EQ(chart.AnnotationCount(), annotations);
    EXPECT_FALSE(chart.Updating());
  }
}

TEST(ChartPropertyFile, AFailurePartWayLeavesAChartThatPaints) {
  QTemporaryDir dir;
  TPaintWatch chart;
  const QString path = PutFile(dir, "part.txt",
                               "File Type = plot config\r\nChannelCount = 1\r\nXAxisCount = 1\r\n"
                               "Channel0.Name = Kept\r\nXAxis0.Min = abc\r\n");
  try {
    chart.LoadPropertiesFromFile(path);
    ADD_FAILURE() << "loaded";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Error Loading Properties - 'abc' is not a valid floating point value");
  }
  EXPECT_EQ(chart.ChannelCount(), 1);
  EXPECT_EQ(chart.Channel(0)->Name(), "Kept");
  EXPECT_FALSE(chart.Updating());
  EXPECT_FALSE(chart.IsLoading());
  EXPECT_TRUE(chart.LayoutManager()->LayoutEnabled());
  EXPECT_TRUE(chart.Paints()) << chart.Failure.toStdString();
  // An update suspension the program had is kept.
  chart.BeginUpdate();
  EXPECT_THROW(chart.LoadPropertiesFromFile(path), EiError);
  EXPECT_TRUE(chart.Updating());
  chart.EndUpdate();
}

TEST(ChartPropertyFile, EventsComeAfterSuccessAndHandlersCannotUpsetTheLoad) {
  QTemporaryDir dir;
  TiXYPlot source;
  AddEveryKind(source);
  const QString path = dir.filePath("p.txt");
  int saved = 0;
  source.OnAfterSaveProperties = [&](QObject* sender) {
    EXPECT_EQ(sender, &source);
    EXPECT_TRUE(QFile::exists(path));
    ++saved;
  };
  source.SavePropertiesToFile(path);
  EXPECT_EQ(saved, 1);
  EXPECT_THROW(source.SavePropertiesToFile(dir.filePath("no/folder/p.txt")), EiError);
  EXPECT_EQ(saved, 1);

  TiXYPlot chart;
  int loaded = 0;
  // Handlers that add and remove objects while objects are added and removed.
  chart.OnAddChannel = [&](int) { chart.RemoveAllChannels(); };
  chart.OnRemoveLegend = [&](int) { chart.AddLegend(); };
  chart.OnAddXAxis = [&](int) { chart.RemoveAllXAxes(); };
  chart.OnAfterLoadProperties = [&](QObject* sender) {
    EXPECT_EQ(sender, &chart);
    ++loaded;
  };
  chart.LoadPropertiesFromFile(path);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(chart.ChannelCount(), source.ChannelCount());
  EXPECT_EQ(chart.XAxisCount(), source.XAxisCount());
  EXPECT_EQ(chart.LegendCount(), source.LegendCount());
}

TEST(ChartPropertyFile, RefusedWhileLogging) {
  QTemporaryDir dir;
  TiXYPlot chart;
  chart.SavePropertiesToFile(dir.filePath("p.txt"));
  chart.SetLogFileName(dir.filePath("log.txt"));
  chart.StartLogging(false);
  try {
    chart.LoadPropertiesFromFile(dir.filePath("p.txt"));
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Error Loading Properties - Properties can not be loaded while logging is active");
  }
  EXPECT_EQ(chart.ChannelCount(), 1);
  chart.StopLogging();
}

// ---- annotation file ----

TEST(AnnotationFile, RoundTripKeepsPolygonPointsAndValuesAtTheirDefaults) {
  QTemporaryDir dir;
  TiXYPlot chart;
  chart.AddAnnotation();
  chart.AddAnnotation();
  chart.Annotation(0)->SetText(QStringLiteral("peak #10"));
  chart.Annotation(1)->SetStyle(ipasPolygon);
  chart.Annotation(1)->AddPoint(1.5, 2.25);
  chart.Annotation(1)->AddPoint(-3, 1e-7);
  chart.Annotation(1)->AddPoint(400.063122923588, 7);
  const QString path = dir.filePath("a.txt");
  chart.SaveAnnotationsToFile(path);
  const QByteArray first = FileBytes(path);
  EXPECT_TRUE(first.startsWith("AnnotationCount = 2\r\n"));
  EXPECT_TRUE(first.contains("Annotation1.Points = 1.5 2.25 -3 1E-7 400.063122923588 7\r\n"));

  // A chart whose annotation defaults differ from the annotations' own defaults.
  TiXYPlot other;
  other.SetAnnotationDefaultPenWidth(5);
  other.SetAnnotationDefaultBrushColor(clRed);
  other.AddAnnotation();
  other.LoadAnnotationsFromFile(path);
  ASSERT_EQ(other.AnnotationCount(), 2);
  ASSERT_EQ(other.Annotation(1)->PointCount(), 3);
  EXPECT_EQ(other.Annotation(1)->Point(2).X, 400.063122923588);
  other.SaveAnnotationsToFile(dir.filePath("b.txt"));
  EXPECT_EQ(FileBytes(dir.filePath("b.txt")), first);
  EXPECT_FALSE(other.Updating());
}

TEST(AnnotationFile, BadFilesLeaveTheAnnotations) {
  struct Case { const char* text; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
           {"Annotation0.Text = x\r\n", "The file holds no \"AnnotationCount\" line"},
           {"", "The file holds no \"AnnotationCount\" line"},
           {"AnnotationCount = 5\r\nAnnotation0.Text = x\r\n", "AnnotationCount \"5\" is not a whole number from 0 to 2"},
           {"AnnotationCount = -1\r\n", "AnnotationCount \"-1\" is not a whole number from 0 to 1"},
       }) {
    SCOPED_TRACE(c.text);
    QTemporaryDir dir;
    TiXYPlot chart;
    chart.AddAnnotation();
    chart.Annotation(0)->SetText(QStringLiteral("keep"));
    try {
      chart.LoadAnnotationsFromFile(PutFile(dir, "a.txt", c.text));
      ADD_FAILURE();
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("Error Loading Annotations - ") + QLatin1String(c.message));
    }
    ASSERT_EQ(chart.AnnotationCount(), 1);
    EXPECT_EQ(chart.Annotation(0)->Text(), "keep");
    EXPECT_FALSE(chart.Updating());
  }
  TiXYPlot chart;
  try {
    chart.SaveAnnotationsToFile(QStringLiteral("/nonexistent-folder/a.txt"));
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_TRUE(e.Message.startsWith("Error Saving Annotations - ")) << e.Message.toStdString();
  }
}

// ---- the helpers ----

TEST(PropertyLines, KeyLookupTakesTheFirstMatchIgnoringCase) {
  QStringList lines{"a = 1", " FILE type =  Plot Config ", "File Type = Other", "x"};
  EXPECT_EQ(TakePropertyKey(lines, "File Type"), QString("Plot Config"));
  EXPECT_EQ(lines, (QStringList{"a = 1", "File Type = Other", "x"}));
  EXPECT_EQ(TakePropertyKey(lines, "Missing"), std::nullopt);
  EXPECT_EQ(TakePropertyKey(lines, "x"), std::nullopt);  // a line without "=" has no name
}
