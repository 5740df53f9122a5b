// The chart property file and the annotation file of TiPlotComponent.
#include <QByteArray>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/files/iDataNumbers.h"
#include "chart/files/iPropertyLines.h"
#include "platform/Convert.h"

namespace {

// The sections of the property file, in file order, with the word of their prefix and the key
// of their count line.
struct TiPlotFileSection {
  TiPlotObjectKind Kind;
  const char* Word;
  const char* CountKey;
};
constexpr std::array<TiPlotFileSection, 10> kFileSections = {{
    {ipokChannel, "Channel", "ChannelCount"},
    {ipokXAxis, "XAxis", "XAxisCount"},
    {ipokYAxis, "YAxis", "YAxisCount"},
    {ipokToolBar, "ToolBar", "ToolBarCount"},
    {ipokLegend, "Legend", "LegendCount"},
    {ipokTable, "Table", "TableCount"},
    {ipokLabel, "Label", "LabelCount"},
    {ipokDataView, "DataView", "DataViewCount"},
    {ipokDataCursor, "DataCursor", "DataCursorCount"},
    {ipokLimit, "Limit", "LimitCount"},
}};

QString Prefix(const char* word, int index) { return QLatin1String(word) + QString::number(index); }

// The chart's own properties that a load never resets: its name and its place in the window
// (written only with OptionSaveAllProperties, and then read back as written).
QStringList ChartResetExclusions() {
  return {QStringLiteral("Name"),   QStringLiteral("Left"),    QStringLiteral("Top"),      QStringLiteral("Width"),
          QStringLiteral("Height"), QStringLiteral("Align"),   QStringLiteral("Cursor"),   QStringLiteral("ShowHint"),
          QStringLiteral("Tag"),    QStringLiteral("Visible"), QStringLiteral("Enabled"),  QStringLiteral("Hint"),
          QStringLiteral("HelpContext"), QStringLiteral("HelpKeyword"), QStringLiteral("Constraints.MaxHeight"),
          QStringLiteral("Constraints.MaxWidth"), QStringLiteral("Constraints.MinHeight"), QStringLiteral("Constraints.MinWidth")};
}

// The bracket of a load: the chart is marked as loading (its events stay silent, so no handler
// can add or remove objects under the loader), its layout manager keeps stored levels as read
// and painting waits. Restore puts all three back as they were before, on every path.
class TLoadBracket {
 public:
  explicit TLoadBracket(TiPlotComponent& chart)
      : chart_(chart), wasUpdating_(chart.Updating()), wasLoading_(chart.IsLoading()),
        layoutWasEnabled_(chart.LayoutManager() ? chart.LayoutManager()->LayoutEnabled() : true) {
    chart_.SetLoading(true);
    if (TiPlotLayoutManager* layout = chart_.LayoutManager()) layout->SetLayoutEnabled(false);
    chart_.BeginUpdate();
  }
  TLoadBracket(const TLoadBracket&) = delete;
  TLoadBracket& operator=(const TLoadBracket&) = delete;
  ~TLoadBracket() {
    try {
      Restore();
    } catch (...) {
    }
  }
  void Restore() {
    if (restored_) return;
    restored_ = true;
    if (TiPlotLayoutManager* layout = chart_.LayoutManager()) layout->SetLayoutEnabled(layoutWasEnabled_);
    chart_.SetLoading(wasLoading_);
    if (!wasUpdating_) chart_.EndUpdate();
  }

 private:
  TiPlotComponent& chart_;
  bool wasUpdating_, wasLoading_, layoutWasEnabled_;
  bool restored_ = false;
};

// Polygon points are not properties: they travel in a line of their own at the end of the
// annotation's section ("Annotation0.Points = x1 y1 x2 y2 ..."), which readers that do not
// know it pass over as a property of no name they know.
const QString kPointsName = QStringLiteral("Points");

QString PointsLine(const QString& prefix, const TiPlotAnnotation& annotation) {
  QByteArray text;
  char buf[kDataNumberMaxChars];
  for (int i = 0; i < annotation.PointCount(); ++i) {
    const TiPlotAnnotationPoint p = annotation.Point(i);
    for (double v : {p.X, p.Y}) {
      if (!text.isEmpty()) text += ' ';
      if (std::isfinite(v)) text.append(buf, WriteDataNumber(buf, v) - buf);
      else text += FloatToStr(v).toLatin1();
    }
  }
  return prefix + QLatin1Char('.') + kPointsName + QStringLiteral(" = ") + QString::fromLatin1(text);
}

// Takes the points line out of the section of prefix at the top of lines and gives its points
// to the annotation.
void ReadPoints(const QString& prefix, QStringList& lines, TiPlotAnnotation& annotation) {
  const QString name = prefix + QLatin1Char('.') + kPointsName;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString lineName = eq >= 0 ? line.left(eq).trimmed() : QString();
    const qsizetype dot = lineName.indexOf(QLatin1Char('.'));
    if ((dot >= 0 ? lineName.left(dot) : lineName) != prefix) return;  // the section ended
    if (lineName.compare(name, Qt::CaseInsensitive) != 0) continue;
    const QStringList values = line.mid(eq + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<double> numbers;
    numbers.reserve(static_cast<std::size_t>(values.size()));
    for (const QString& v : values) {
      const QString upper = v.toUpper();
      if (upper == QLatin1String("NAN")) numbers.push_back(std::numeric_limits<double>::quiet_NaN());
      else if (upper == QLatin1String("INF")) numbers.push_back(std::numeric_limits<double>::infinity());
      else if (upper == QLatin1String("-INF")) numbers.push_back(-std::numeric_limits<double>::infinity());
      else numbers.push_back(ParseDataNumber(v));
    }
    lines.removeAt(i);
    annotation.ClearPoints();
    for (std::size_t k = 0; k + 1 < numbers.size(); k += 2) annotation.AddPoint(numbers[k], numbers[k + 1]);
    return;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Chart property file

void TiPlotComponent::SavePropertiesToFile(const QString& fileName) {
  try {
    QStringList lines{QStringLiteral("File Type = Plot Config")};
    for (const TiPlotFileSection& section : kFileSections)
      lines << QLatin1String(section.CountKey) + QStringLiteral(" = ") + QString::number(Count(section.Kind));
    lines << QStringLiteral("DataViewZHorz = ") + QString::number(DataViewZHorz());
    lines << QStringLiteral("DataViewZVert = ") + QString::number(DataViewZVert());
    for (const TiPlotFileSection& section : kFileSections)
      for (int i = 0; i < Count(section.Kind); ++i) WriteProperties(*Item(section.Kind, i), Prefix(section.Word, i), lines);
    WriteProperties(*this, QString(), lines, PropertyFileExclusions());
    WriteTextLines(fileName, lines);
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Saving Properties - ") + ErrorMessage(e));
  }
  if (OnAfterSaveProperties) OnAfterSaveProperties(this);
}

void TiPlotComponent::LoadPropertiesFromFile(const QString& fileName) {
  try {
    if (OnBeforeLoadProperties) OnBeforeLoadProperties(this);

    // 1. The whole file is read and checked before anything in the chart changes.
    QStringList lines = ReadTextLines(fileName);
    RemoveBlankLines(lines);
    const std::optional<QString> type = TakePropertyKey(lines, QStringLiteral("File Type"));
    if (!type || type->compare(QStringLiteral("Plot Config"), Qt::CaseInsensitive) != 0)
      throw EiError(QStringLiteral("Incompatible Plot Configuration File Type"));
    // The log's rows follow the channels; a new set of channels would break them.
    if (loggingActive_) throw EiError(QStringLiteral("Properties can not be loaded while logging is active"));
    const int linesInFile = static_cast<int>(std::min<qsizetype>(lines.size(), std::numeric_limits<int>::max()));
    std::array<int, kFileSections.size()> counts{};
    for (std::size_t k = 0; k < kFileSections.size(); ++k)
      counts[k] = TakePropertyCount(lines, QLatin1String(kFileSections[k].CountKey), linesInFile);
    std::optional<int> zHorz, zVert;
    if (const auto v = TakePropertyKey(lines, QStringLiteral("DataViewZHorz"))) zHorz = StrToInt(*v);
    if (const auto v = TakePropertyKey(lines, QStringLiteral("DataViewZVert"))) zVert = StrToInt(*v);

    // 2. The chart is rebuilt inside the loading bracket.
    TLoadBracket bracket(*this);
    if (zHorz) SetDataViewZHorz(*zHorz);
    if (zVert) SetDataViewZVert(*zVert);
    RemoveAllLegends();
    RemoveAllTables();
    RemoveAllLabels();
    RemoveAllLimits();
    RemoveAllXAxes();
    RemoveAllYAxes();
    RemoveAllDataViews();
    RemoveAllChannels();
    RemoveAllAnnotations();
    RemoveAllDataCursors();
    for (std::size_t k = 0; k < kFileSections.size(); ++k) {
      const TiPlotFileSection& section = kFileSections[k];
      for (int i = 0; i < counts[k]; ++i) {
        const QString prefix = Prefix(section.Word, i);
        TiPersistent* target = nullptr;
        bool reset = true;
        if (section.Kind == ipokToolBar) {
          // Every toolbar section goes to toolbar 0, the last one winning: reset before the first.
          if (ToolBarCount() > 0) target = ToolBar(0);
          reset = i == 0;
        } else if (section.Kind == ipokLabel && i == 0) {
          if (LabelCount() > 0) target = Labels(0);
        } else {
          const int index = Add(section.Kind);
          if (index >= 0 && index < Count(section.Kind)) target = Item(section.Kind, index);
        }
        // A section without its object is read past, so that the sections after it stay aligned.
        if (!target) {
          DiscardSection(prefix, lines);
          continue;
        }
        if (reset) ResetStoredToDefaults(*target, {});
        ReadProperties(*target, prefix, lines);
      }
    }
    ResetStoredToDefaults(*this, ChartResetExclusions());
    ReadProperties(*this, QString(), lines);
    // Older definitions may put the toolbar and the title in one slot: the toolbar moves out.
    if (ToolBarCount() > 0 && LabelCount() > 0) {
      TiPlotToolBar* toolBar = ToolBar(0);
      TiPlotLabel* title = Labels(0);
      if (toolBar->Horizontal() == title->Horizontal() && toolBar->ZOrder() == title->ZOrder())
        toolBar->SetZOrder(toolBar->ZOrder() + 1);
    }
    bracket.Restore();
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Loading Properties - ") + ErrorMessage(e));
  }
  if (OnAfterLoadProperties) OnAfterLoadProperties(this);
}

// ---------------------------------------------------------------------------------------------
// Annotation file

void TiPlotComponent::SaveAnnotationsToFile(const QString& fileName) {
  try {
    QStringList lines{QStringLiteral("AnnotationCount = ") + QString::number(AnnotationCount())};
    for (int i = 0; i < AnnotationCount(); ++i) {
      const QString prefix = Prefix("Annotation", i);
      WriteProperties(*Annotation(i), prefix, lines);
      if (Annotation(i)->PointCount() > 0) lines << PointsLine(prefix, *Annotation(i));
    }
    WriteTextLines(fileName, lines);
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Saving Annotations - ") + ErrorMessage(e));
  }
}

void TiPlotComponent::LoadAnnotationsFromFile(const QString& fileName) {
  try {
    QStringList lines = ReadTextLines(fileName);
    RemoveBlankLines(lines);
    const int linesInFile = static_cast<int>(std::min<qsizetype>(lines.size(), std::numeric_limits<int>::max()));
    QStringList probe = lines;
    if (!TakePropertyKey(probe, QStringLiteral("AnnotationCount")))
      throw EiError(QStringLiteral("The file holds no \"AnnotationCount\" line"));
    const int count = TakePropertyCount(lines, QStringLiteral("AnnotationCount"), linesInFile);

    TLoadBracket bracket(*this);
    RemoveAllAnnotations();
    for (int i = 0; i < count; ++i) {
      const QString prefix = Prefix("Annotation", i);
      const int index = AddAnnotation();
      if (index < 0 || index >= AnnotationCount()) {
        DiscardSection(prefix, lines);
        continue;
      }
      TiPlotAnnotation* annotation = Annotation(index);
      // The creation looks AddAnnotation gave are not in the file where they equal the defaults.
      ResetStoredToDefaults(*annotation, {});
      ReadPoints(prefix, lines, *annotation);
      ReadProperties(*annotation, prefix, lines);
    }
    bracket.Restore();
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Loading Annotations - ") + ErrorMessage(e));
  }
}
