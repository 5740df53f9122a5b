// Property files as other writers of the format leave them and as a damaged or hostile file
// has them: the "#35" mark, sizes and positions beyond what the chart can draw, enumeration
// ordinals that name no value, and a generated set of hostile lines that are loaded and then
// painted (the sanitizers watch every case).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <random>
#include <vector>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudLegend.h"
#include "chart/decorations/rUdudLimit.h"
#include "chart/decorations/rUdudTable.h"
#include "chart/decorations/rUdudToolBar.h"
#include "platform/Bitmap.h"
#include "platform/Convert.h"
#include "tests/chart/core/ChartTestSupport.h"
#include "tests/chart/core/LayoutTestSupport.h"

namespace {

// A chart with one object of every kind, so that painting reaches every object.
void AddOneOfEach(TiPlotComponent& chart) {
  chart.AddToolBar();
  chart.AddLegend();
  chart.AddTable();
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddDataView();
  chart.AddDataCursor();
  chart.AddChannel();
  chart.AddAnnotation();
  chart.AddLimit();
  chart.AddLabel();
}

// The chart and each of its objects with the prefix its section has in a chart property file.
std::vector<std::pair<QString, TiPersistent*>> Sections(TiPlotComponent& chart) {
  return {{QString(), &chart},
          {QStringLiteral("Channel0"), chart.Channel(0)},
          {QStringLiteral("XAxis0"), chart.XAxis(0)},
          {QStringLiteral("YAxis0"), chart.YAxis(0)},
          {QStringLiteral("ToolBar0"), chart.ToolBar(0)},
          {QStringLiteral("Legend0"), chart.Legend(0)},
          {QStringLiteral("Table0"), chart.Table(0)},
          {QStringLiteral("Label0"), chart.Labels(0)},
          {QStringLiteral("DataView0"), chart.DataView(0)},
          {QStringLiteral("DataCursor0"), chart.DataCursor(0)},
          {QStringLiteral("Limit0"), chart.Limit(0)},
          {QStringLiteral("Annotation0"), chart.Annotation(0)}};
}

// Every property reachable from object, with its dotted path (nested objects followed).
void CollectPaths(const TiPersistent& object, const QString& prefix, std::vector<std::pair<QString, const TiPropertyInfo*>>& out,
                  int depth = 0) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    const QString path = prefix.isEmpty() ? p.Name : prefix + QLatin1Char('.') + p.Name;
    if (p.Kind == TiPropertyKind::Object) {
      const TiPersistent* nested = p.GetObject ? p.GetObject(object) : nullptr;
      if (nested && depth < 4) CollectPaths(*nested, path, out, depth + 1);
      continue;
    }
    out.emplace_back(path, &p);
  }
}

QString WithPrefix(const QString& prefix, const QString& name) { return prefix.isEmpty() ? name : prefix + QLatin1Char('.') + name; }

// A property file as an editor would leave it (UTF-8, CR LF), written plainly: the hostile cases
// write thousands of them.
QString WriteFile(const QTemporaryDir& dir, const QStringList& lines) {
  const QString path = dir.filePath(QStringLiteral("chart.txt"));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
  return path;
}

// The chart's property file as it stands, with further lines after its own: loading it keeps
// the chart's objects (annotations aside, which the file does not hold) and applies the lines.
QString WriteChartFile(TiPlotComponent& chart, const QTemporaryDir& dir, const QStringList& extra) {
  const QString path = dir.filePath(QStringLiteral("whole.txt"));
  chart.SavePropertiesToFile(path);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
  for (const QString& line : extra) file.write((line + QStringLiteral("\r\n")).toUtf8());
  return path;
}

// A chart that shows a hint (so the hint font is used too) and notes a failure of its DoPaint,
// which the paint cycle would otherwise hide behind the failure picture.
class TWatchedChart : public THintChart {
 public:
  using THintChart::THintChart;
  void DoPaint(TCanvas& canvas) override {
    try {
      THintChart::DoPaint(canvas);
    } catch (const std::exception& e) {
      Failure = ErrorMessage(e);
      throw;
    }
  }
  QString Failure;
};

// Paints the chart as a window of 640 x 480 would show it; false when DoPaint failed.
bool PaintsWithoutFailure(TWatchedChart& chart, QString& failure) {
  chart.Failure.clear();
  QImage window(640, 480, QImage::Format_RGB32);
  QPainter painter(&window);
  chart.PaintCycle(painter, QRect(0, 0, 640, 480));
  failure = chart.Failure;
  return failure.isEmpty();
}

}  // namespace

// ---- "#35" as other writers have it ----

TEST(PropertyTextHash, TheMarkIsReadOnlyBeforeACode) {
  struct Case { const char* stored; const char* read; };
  for (const Case& c : std::initializer_list<Case>{
           {"Batch #35", "Batch #35"},      // another writer's text stays as it stands
           {"#35", "#35"},
           {"#35 and #36", "#35 and #36"},
           {"#351", "#351"},                // one digit after the mark is no code
           {"#35x10", "#35x10"},
           {"#35#13", "#35\r"},             // the mark before a '#', not before a code
           {"Run #3510", "Run #10"},        // the mark before 10, 13 and 35
           {"#3513", "#13"},
           {"#3535", "#35"},
           {"#353510", "#3510"},            // the code after a mark is text, not read again
           {"#35351", "#351"},
           {"a#3510#10b", "a#10\nb"},
           {"x#13y#10z", "x\ry\nz"},
           {"#1", "#1"},
           {"#", "#"},
           {"##13", "#\r"},
       }) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(DecodePropertyString(QString::fromUtf8(c.stored)), QString::fromUtf8(c.read));
  }
}

TEST(PropertyTextHash, WrittenTextsReadBackAsWritten) {
  // Each value is stored as the second text; a '#' is marked only where it stands before 13,
  // 10 or 35.
  struct Case { const char* value; const char* stored; };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Case& c : std::initializer_list<Case>{
           {"Run #10", "Run #3510"},
           {"Batch #35", "Batch #3535"},
           {"#13", "#3513"},
           {"#3510", "#353510"},
           {"Batch #36", "Batch #36"},
           {"#", "#"},
           {"#\r", "##13"},
           {"##35", "##3535"},
           {"a\r\n#10", "a#13#10#3510"},
       }) {
    SCOPED_TRACE(c.value);
    TiPlotComponent chart;
    chart.SetPrintDocumentName(QString::fromUtf8(c.value));
    const QString path = dir.filePath(QStringLiteral("hash.txt"));
    chart.SavePropertiesToFile(path);
    EXPECT_TRUE(ReadTextLines(path).contains(QStringLiteral("PrintDocumentName = ") + QString::fromUtf8(c.stored)));
    TiPlotComponent loaded;
    loaded.LoadPropertiesFromFile(path);
    EXPECT_EQ(loaded.PrintDocumentName(), QString::fromUtf8(c.value));
  }
}

TEST(PropertyTextHash, HandWrittenLinesKeepTheirHashes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TiPlotComponent chart;
  chart.LoadPropertiesFromFile(WriteFile(dir, {"File Type = Plot Config", "PrintDocumentName = Batch #35",
                                                "PrinterName = Room #35#13#10Desk #3510", "LogFileName = log#35.txt"}));
  EXPECT_EQ(chart.PrintDocumentName(), "Batch #35");
  EXPECT_EQ(chart.PrinterName(), "Room #35\r\nDesk #10");
  EXPECT_EQ(chart.LogFileName(), "log#35.txt");
}

// ---- sizes and positions ----

TEST(BadPropertyFiles, SizesAndPositionsAreHeldToTheDrawableRange) {
  struct Case { const char* line; int left, top, width, height; };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // The chart starts at (0, 0) with 500 x 200; sizes stay within 0 .. 32000 and positions
  // within -32000 .. 32000.
  for (const Case& c : std::initializer_list<Case>{
           {"Height = 16777208", 0, 0, 500, 32000},
           {"Width = 2147483647", 0, 0, 32000, 200},
           {"Width = 32001", 0, 0, 32000, 200},
           {"Width = 31999", 0, 0, 31999, 200},
           {"Height = -16777208", 0, 0, 500, 0},
           {"Width = -1", 0, 0, 0, 200},
           {"Left = -2147483648", -32000, 0, 500, 200},
           {"Left = 32000", 32000, 0, 500, 200},
           {"Top = 16777208", 0, 32000, 500, 200},
           {"Top = -32001", 0, -32000, 500, 200},
           {"Constraints.MinHeight = 16777208", 0, 0, 500, 32000},
           {"Constraints.MinWidth = 40000", 0, 0, 32000, 200},
           {"Constraints.MaxWidth = -5", 0, 0, 500, 200},  // no limit, as 0 is
           {"Constraints.MaxHeight = 150", 0, 0, 500, 150},
       }) {
    SCOPED_TRACE(c.line);
    TiPlotComponent chart;
    chart.LoadPropertiesFromFile(WriteFile(dir, {"File Type = Plot Config", c.line}));
    EXPECT_EQ(chart.Left(), c.left);
    EXPECT_EQ(chart.Top(), c.top);
    EXPECT_EQ(chart.Width(), c.width);
    EXPECT_EQ(chart.Height(), c.height);
  }
}

TEST(BadPropertyFiles, ConstraintsReadBackWithinTheRange) {
  TiPlotComponent chart;
  chart.Constraints()->SetMinWidth(-3);
  chart.Constraints()->SetMaxHeight(16777208);
  EXPECT_EQ(chart.Constraints()->MinWidth(), 0);
  EXPECT_EQ(chart.Constraints()->MaxHeight(), 32000);
  // The platform's own resizes stop at the range as well.
  chart.resize(100000, 50);
  EXPECT_EQ(chart.Width(), 32000);
}

TEST(BadPropertyFiles, AHugeHeightPaintsOnlyWhatTheWindowShows) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QWidget window;
  window.resize(400, 300);
  TiPlotComponent chart(&window);
  AddOneOfEach(chart);
  chart.LoadPropertiesFromFile(WriteChartFile(chart, dir, {"Height = 16777208"}));
  ASSERT_EQ(chart.Height(), 32000);
  // The window shows 400 x 300 of the 500 x 32000 chart; the paint's bitmap is no larger.
  QImage shot(400, 300, QImage::Format_RGB32);
  shot.fill(Qt::white);
  window.render(&shot);
  EXPECT_EQ(chart.LastPaintSize(), QSize(400, 300));
  // The chart's black background reached the window.
  EXPECT_EQ(shot.pixel(200, 150), qRgb(0, 0, 0));
  // Moved to the right, 100 of its columns are shown: the bitmap reaches to them only.
  chart.SetLeft(300);
  shot.fill(Qt::white);
  window.render(&shot);
  EXPECT_EQ(chart.LastPaintSize(), QSize(100, 300));
  EXPECT_NE(shot.pixel(200, 150), qRgb(0, 0, 0));  // the window's own background
  EXPECT_EQ(shot.pixel(350, 150), qRgb(0, 0, 0));
}

TEST(BadPropertyFiles, APaintOfPartOfTheChartReachesOnlyToThatPart) {
  TiPlotComponent chart;
  AddOneOfEach(chart);
  QImage target(500, 200, QImage::Format_RGB32);
  QPainter painter(&target);
  chart.PaintCycle(painter, QRect(10, 20, 30, 40));  // right 39, bottom 59
  EXPECT_EQ(chart.LastPaintSize(), QSize(40, 60));
  chart.PaintCycle(painter, QRect(450, 150, 400, 400));  // beyond the chart: cut at 500 x 200
  EXPECT_EQ(chart.LastPaintSize(), QSize(500, 200));
  chart.PaintCycle(painter, QRect());
  EXPECT_EQ(chart.LastPaintSize(), QSize());
}

// ---- enumeration ordinals ----

TEST(BadPropertyFiles, EveryNamedEnumerationRefusesOrdinalsThatNameNoValue) {
  TiPlotComponent chart;
  AddOneOfEach(chart);
  QStringList checked;
  for (const auto& [prefix, object] : Sections(chart)) {
    std::vector<std::pair<QString, const TiPropertyInfo*>> paths;
    CollectPaths(*object, QString(), paths);
    for (const auto& [path, p] : paths) {
      if (p->Kind != TiPropertyKind::Enumeration || p->ValueNames.isEmpty() || !p->Writable()) continue;
      const QString name = WithPrefix(prefix, path);
      SCOPED_TRACE(name.toStdString());
      checked << name;
      TiPersistent* holder = object;
      const QStringList parts = path.split(QLatin1Char('.'));
      for (qsizetype i = 0; i + 1 < parts.size(); ++i) holder = holder->ClassInfo().Find(parts[i])->GetObject(*holder);
      const std::int64_t before = p->GetOrdinal(*holder);
      const int count = static_cast<int>(p->ValueNames.size());
      for (const int ordinal : {-1, count, count + 1, 255, 2147483647}) {
        QStringList lines{name + QStringLiteral(" = ") + QString::number(ordinal)};
        EXPECT_THROW(ReadProperties(*object, prefix, lines), EConvertError) << ordinal;
        EXPECT_EQ(lines.size(), 1);
        EXPECT_EQ(p->GetOrdinal(*holder), before);
      }
      // The last named value is accepted.
      QStringList lines{name + QStringLiteral(" = ") + QString::number(count - 1)};
      ReadProperties(*object, prefix, lines);
      EXPECT_EQ(p->GetOrdinal(*holder), count - 1);
    }
  }
  // The walk reaches the chart's own enumerations, the nested objects' and those of the objects.
  for (const char* name : {"BorderStyle", "PrintOrientation", "XAxis0.CartesianStyle", "YAxis0.CartesianStyle", "Annotation0.Reference"})
    EXPECT_TRUE(checked.contains(QString::fromLatin1(name))) << name;
}

namespace {

// A separator character, as data-file settings have one.
class TCharHolder : public TiPersistent {
  TI_PERSISTENT
 public:
  QChar Separator() const { return separator_; }
  void SetSeparator(QChar value) { separator_ = value; }

 private:
  QChar separator_ = QLatin1Char(',');
};

}  // namespace

const TiClassInfo& TCharHolder::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TCharHolder>("TCharHolder", &TiPersistent::StaticClassInfo())
                                      .Char("Separator", &TCharHolder::Separator, &TCharHolder::SetSeparator, QLatin1Char(','))
                                      .Build();
  return info;
}

TEST(BadPropertyFiles, SetsWithUnknownMembersAndCharactersBeyondTheirRangeAreRefused) {
  // A font style has four members (bits 0 .. 3); a character is a code of 0 .. 65535.
  struct Case { const char* line; bool accepted; int style; int separator; };
  for (const Case& c : std::initializer_list<Case>{
           {"Style = 15", true, 15, ','},
           {"Style = 0", true, 0, ','},
           {"Style = 16", false, 1, ','},
           {"Style = -1", false, 1, ','},
           {"Style = 16777208", false, 1, ','},
           {"Separator = 59", true, 1, ';'},
           {"Separator = 65535", true, 1, 0xFFFF},
           {"Separator = 65536", false, 1, ','},   // would be cut to 0
           {"Separator = 65595", false, 1, ','},   // would be cut to ';'
           {"Separator = -1", false, 1, ','},
       }) {
    SCOPED_TRACE(c.line);
    TiFont font;
    font.SetStyle(FontStyleBit(fsBold));
    TCharHolder holder;
    QStringList lines{c.line};
    const bool isStyle = QByteArray(c.line).startsWith("Style");
    try {
      if (isStyle)
        ReadProperties(font, QString(), lines);
      else
        ReadProperties(holder, QString(), lines);
      EXPECT_TRUE(c.accepted);
    } catch (const EConvertError& e) {
      EXPECT_FALSE(c.accepted);
      EXPECT_EQ(e.Message, QStringLiteral("'%1' is not a valid value of %2")
                               .arg(QString::fromLatin1(c.line).section(QLatin1String(" = "), 1), isStyle ? "Style" : "Separator"));
    }
    EXPECT_EQ(static_cast<int>(font.Style()), c.style);
    EXPECT_EQ(holder.Separator().unicode(), c.separator);
  }
}

// ---- generated hostile lines ----

namespace {

QStringList HostileValues(const TiPropertyInfo& p) {
  const QString longDigits(400, QLatin1Char('9'));
  const QString longText(5000, QLatin1Char('W'));
  QStringList values{QString(), QStringLiteral("NaN"), QStringLiteral("INF"), QStringLiteral("-INF"), QStringLiteral("abc"),
                     longText};
  switch (p.Kind) {
    case TiPropertyKind::Float:
      values << QStringLiteral("1e308") << QStringLiteral("-1e308") << QStringLiteral("1e400") << QStringLiteral("4.9e-324")
             << QStringLiteral("-0") << QStringLiteral("16777208") << QStringLiteral("-16777208") << longDigits;
      break;
    case TiPropertyKind::String:
      values << QStringLiteral("#13#10#13#10#35") << QStringLiteral("a = b = c") << QString(100000, QLatin1Char('#'));
      break;
    default:
      values << QStringLiteral("16777208") << QStringLiteral("-16777208") << QStringLiteral("2147483647")
             << QStringLiteral("-2147483648") << QStringLiteral("2147483648") << QStringLiteral("-1") << QStringLiteral("255")
             << QStringLiteral("1e9") << longDigits;
      if (!p.ValueNames.isEmpty()) values << QString::number(p.ValueNames.size());
      break;
  }
  return values;
}

}  // namespace

TEST(BadPropertyFiles, HostileLinesLoadAndPaintCleanly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TiPlotComponent probe;
  AddOneOfEach(probe);
  const auto probeSections = Sections(probe);
  for (std::size_t s = 0; s < probeSections.size(); ++s) {
    const QString prefix = probeSections[s].first;
    std::vector<std::pair<QString, const TiPropertyInfo*>> paths;
    CollectPaths(*probeSections[s].second, QString(), paths);
    for (const auto& [path, p] : paths) {
      const QString name = WithPrefix(prefix, path);
      SCOPED_TRACE(name.toStdString());
      // One chart per property: its hostile values one after another, a paint after each.
      TWatchedChart chart;
      AddOneOfEach(chart);
      chart.ShowHint(QStringLiteral("x = 1.5\ny = 2"), 100, 50);
      TiPersistent* object = Sections(chart)[s].second;
      // The chart's own file as it starts: the first value of each property comes through a
      // whole file (which brings back every object), the others are read as the load reads them.
      QStringList chartLines;
      if (prefix.isEmpty()) {
        chart.SavePropertiesToFile(dir.filePath(QStringLiteral("start.txt")));
        chartLines = ReadTextLines(dir.filePath(QStringLiteral("start.txt")));
      }
      bool first = true;
      for (const QString& value : HostileValues(*p)) {
        SCOPED_TRACE(value.left(40).toStdString());
        const QString line = name + QStringLiteral(" = ") + value;
        if (prefix.isEmpty()) {
          try {
            if (first) {
              chart.LoadPropertiesFromFile(WriteFile(dir, QStringList(chartLines) << line));
            } else {
              QStringList lines{line};
              chart.BeginUpdate();
              try {
                ReadProperties(chart, QString(), lines);
              } catch (...) {
                chart.EndUpdate();
                throw;
              }
              chart.EndUpdate();
            }
          } catch (const EiError& e) {
            EXPECT_TRUE(e.Message.startsWith("Error Loading Properties - ") || e.Message == "Exceed Maximum List Size")
                << e.Message.toStdString();
          } catch (const EConvertError&) {
          }
          first = false;
          EXPECT_FALSE(chart.Updating());
        } else {
          QStringList lines{line, QStringLiteral("Next0.Name = x")};
          try {
            ReadProperties(*object, prefix, lines);
            EXPECT_EQ(lines, QStringList{"Next0.Name = x"});
          } catch (const EConvertError&) {
            EXPECT_EQ(lines.size(), 2);  // the refused line stays
          } catch (const EiError& e) {
            // A setter that refuses the value with its message (a ring larger than any list).
            EXPECT_EQ(e.Message, QStringLiteral("Exceed Maximum List Size"));
            EXPECT_EQ(lines.size(), 2);
          }
        }
        EXPECT_GE(chart.Left(), -32000);
        EXPECT_LE(chart.Left(), 32000);
        EXPECT_GE(chart.Top(), -32000);
        EXPECT_LE(chart.Top(), 32000);
        EXPECT_LE(chart.Width(), 32000);
        EXPECT_LE(chart.Height(), 32000);
        QString failure;
        EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
      }
      // An annotation made now takes the chart's annotation defaults as read.
      chart.AddAnnotation();
      QString failure;
      EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
    }
  }
}

TEST(BadPropertyFiles, MixedHostileLinesLoadAndPaintCleanly) {
  // Hostile values meet one another: a fixed-seed mix of the generated lines over every section
  // (a gradient with a hostile direction on a chart of hostile size, and so on), applied line by
  // line as a loader would, with a paint after each batch.
  std::vector<std::pair<std::size_t, QString>> pool;  // (section, line)
  {
    TiPlotComponent probe;
    AddOneOfEach(probe);
    const auto sections = Sections(probe);
    for (std::size_t s = 0; s < sections.size(); ++s) {
      std::vector<std::pair<QString, const TiPropertyInfo*>> paths;
      CollectPaths(*sections[s].second, QString(), paths);
      for (const auto& [path, p] : paths) {
        const QString name = WithPrefix(sections[s].first, path);
        for (const QString& value : HostileValues(*p)) pool.emplace_back(s, name + QStringLiteral(" = ") + value.left(300));
        // Values a file might hold on purpose, so that switches such as the gradient are on.
        for (const char* plain : {"1", "2", "7", "100"}) pool.emplace_back(s, name + QStringLiteral(" = ") + QLatin1String(plain));
      }
    }
  }
  std::mt19937 random(20261210);
  std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
  for (int round = 0; round < 60; ++round) {
    TWatchedChart chart;
    AddOneOfEach(chart);
    chart.ShowHint(QStringLiteral("hint"), 30, 30);
    const auto sections = Sections(chart);
    QStringList applied;
    for (int batch = 0; batch < 4; ++batch) {
      for (int n = 0; n < 12; ++n) {
        const auto& [s, line] = pool[pick(random)];
        QStringList lines{line};
        try {
          ReadProperties(*sections[s].second, sections[s].first, lines);
          applied << line.left(60);
        } catch (const EConvertError&) {
          EXPECT_EQ(lines.size(), 1);
        } catch (const EiError& e) {
          EXPECT_EQ(e.Message, QStringLiteral("Exceed Maximum List Size"));
          EXPECT_EQ(lines.size(), 1);
        }
      }
      SCOPED_TRACE(applied.join(QStringLiteral(" | ")).toStdString());
      EXPECT_LE(chart.Width(), 32000);
      EXPECT_LE(chart.Height(), 32000);
      QString failure;
      EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
    }
  }
}

TEST(BadPropertyFiles, SizesOnTheChartAreHeldToTheDrawableRange) {
  // The margins overflowed the layout's arithmetic and the font sizes the point conversion;
  // the others would make the chart draw far beyond what it can show.
  struct Case { const char* line; std::function<int(TiPlotComponent&)> value; int expected; };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Case& c : std::initializer_list<Case>{
           {"OuterMarginLeft = 2147483647", [](TiPlotComponent& ch) { return ch.OuterMarginLeft(); }, 32000},
           {"OuterMarginTop = -2147483648", [](TiPlotComponent& ch) { return ch.OuterMarginTop(); }, -32000},
           {"OuterMarginRight = 16777208", [](TiPlotComponent& ch) { return ch.OuterMarginRight(); }, 32000},
           {"OuterMarginBottom = -7", [](TiPlotComponent& ch) { return ch.OuterMarginBottom(); }, -7},
           {"HintsFont.Size = 2147483647", [](TiPlotComponent& ch) { return ch.HintsFont()->Height(); }, 32000},
           {"HintsFont.Size = -2147483648", [](TiPlotComponent& ch) { return ch.HintsFont()->Height(); }, -32000},
           {"HintsFont.Size = 9", [](TiPlotComponent& ch) { return ch.HintsFont()->Height(); }, 12},  // 9 * 96 / 72
           {"HintsFont.Height = 16777208", [](TiPlotComponent& ch) { return ch.HintsFont()->Height(); }, 32000},
           {"AnnotationDefaultFont.Height = -16777208", [](TiPlotComponent& ch) { return ch.AnnotationDefaultFont()->Height(); }, -32000},
           {"Height = 16777208", [](TiPlotComponent& ch) { return ch.Height(); }, 32000},
           {"Constraints.MinHeight = 16777208", [](TiPlotComponent& ch) { return ch.Height(); }, 32000},
           {"AnnotationDefaultPenWidth = 2147483647", [](TiPlotComponent& ch) { return ch.AnnotationDefaultPenWidth(); }, 32000},
           {"AnnotationDefaultPenWidth = -2147483648",
            [](TiPlotComponent& ch) {
              ch.AddAnnotation();
              return ch.Annotation(ch.AnnotationCount() - 1)->PenWidth();
            },
            -32000},
           {"AnnotationDefaultPenWidth = 3",
            [](TiPlotComponent& ch) {
              ch.AddAnnotation();
              ch.Annotation(0)->SetPenWidth(16777208);
              return ch.Annotation(0)->PenWidth();
            },
            32000},
       }) {
    SCOPED_TRACE(c.line);
    TWatchedChart chart;
    AddOneOfEach(chart);
    chart.ShowHint(QStringLiteral("hint"), 10, 10);
    chart.LoadPropertiesFromFile(WriteChartFile(chart, dir, {c.line}));
    EXPECT_EQ(c.value(chart), c.expected);
    QString failure;
    EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
  }
}

TEST(BadPropertyFiles, ObjectSizesAndLevelsAreHeldToTheDrawableRange) {
  // Found by the mixed hostile lines: a level of 2147483647 overflowed when the axes were
  // reflowed for XYAxesReverse. The others are sizes on the chart like the chart's own.
  struct Case { const char* line; std::function<int(TiPlotComponent&)> value; int expected; };
  for (const Case& c : std::initializer_list<Case>{
           {"ToolBar0.ZOrder = 2147483647", [](TiPlotComponent& ch) { return ch.ToolBar(0)->ZOrder(); }, 32000},
           {"Legend0.ZOrder = -2147483648", [](TiPlotComponent& ch) { return ch.Legend(0)->ZOrder(); }, -32000},
           {"XAxis0.ZOrder = 2147483647", [](TiPlotComponent& ch) { return ch.XAxis(0)->ZOrder(); }, 32000},
           {"YAxis0.ZOrder = 3", [](TiPlotComponent& ch) { return ch.YAxis(0)->ZOrder(); }, 3},
           {"Annotation0.PenWidth = 2147483647", [](TiPlotComponent& ch) { return ch.Annotation(0)->PenWidth(); }, 32000},
           {"Annotation0.Font.Size = 2147483647", [](TiPlotComponent& ch) { return ch.Annotation(0)->Font()->Height(); }, 32000},
           {"Label0.Font.Height = -16777208", [](TiPlotComponent& ch) { return ch.Labels(0)->Font()->Height(); }, -32000},
       }) {
    SCOPED_TRACE(c.line);
    TWatchedChart chart;
    AddOneOfEach(chart);
    const QString line = QString::fromLatin1(c.line);
    const QString prefix = line.section(QLatin1Char('.'), 0, 0);
    for (const auto& [sectionPrefix, object] : Sections(chart)) {
      if (sectionPrefix != prefix) continue;
      QStringList lines{line};
      ReadProperties(*object, prefix, lines);
      EXPECT_TRUE(lines.isEmpty());
    }
    EXPECT_EQ(c.value(chart), c.expected);
    // Reflowing the axes counts levels up and down; then the chart paints both ways round.
    chart.SetXYAxesReverse(true);
    QString failure;
    EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
    chart.SetXYAxesReverse(false);
    EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
  }
}

TEST(BadPropertyFiles, NamesThatLeadNowhereAreIgnored) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString longName(100000, QLatin1Char('N'));
  TWatchedChart chart;
  AddOneOfEach(chart);
  chart.SetOuterMarginLeft(7);
  const QStringList hostile{
      "Nothing = 1",
      "TitleFont.Nothing = 1",
      "TitleFont.Color.Deeper = 1",      // an ordinal has no parts
      "Constraints.MinWidth.X.Y.Z = 3",
      "PrintDocumentName.Length = 3",
      "Channel0.Nothing.Deeper.More = 1",
      "XAxis99.Title = x",
      ". = 1",
      "..... = 1",
      "TitleFont..Color = 1",
      ".TitleFont.Color = 1",
      "TitleFont.Color. = 1",
      " = 5",
      "=",
      "==",
      "no separator at all",
      longName + " = 1",
      "TitleFont." + longName + " = 1",
      QString(10000, QLatin1Char('.')) + " = 1",
  };
  QStringList lines = hostile;
  lines << "OuterMarginTop = 9";
  chart.LoadPropertiesFromFile(WriteChartFile(chart, dir, lines));
  EXPECT_EQ(chart.OuterMarginLeft(), 7);
  EXPECT_EQ(chart.OuterMarginTop(), 9);  // the lines after them still count
  chart.AddAnnotation();  // the property file holds no annotations

  // The same names inside each object's section: ignored, and the section read to its end.
  for (const auto& [prefix, object] : Sections(chart)) {
    if (prefix.isEmpty()) continue;
    SCOPED_TRACE(prefix.toStdString());
    QStringList section{prefix + " = 1", prefix + ". = 1", prefix + ".. = 1", prefix + ".Font.Nothing.Deeper = 1",
                        prefix + ".Name.Length = 1", prefix + "." + longName + " = 1"};
    // (A line without an equals sign belongs to no section: it would end this one.)
    for (const QString& line : hostile)
      if (line.contains(QLatin1Char('='))) section << prefix + "." + line;
    section << "Next0.Name = x";
    ReadProperties(*object, prefix, section);
    ASSERT_EQ(section.size(), 1);
    EXPECT_EQ(section.first(), "Next0.Name = x");
  }
  QString failure;
  EXPECT_TRUE(PaintsWithoutFailure(chart, failure)) << failure.toStdString();
}
