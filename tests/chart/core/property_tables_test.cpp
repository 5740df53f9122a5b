// The property tables of the chart and of every kind of chart object: every enumeration names
// its values, and a property file cannot give one an ordinal that names no value.
#include <gtest/gtest.h>

#include <functional>

#include "chart/core/rUdudComponent.h"
#include "platform/Convert.h"
#include "tests/chart/core/ChartTestSupport.h"

namespace {

// Every enumeration property of the object's table and of the tables of its nested objects,
// under its dotted name, that registers no value names.
void CollectUnnamedEnumerations(const TiPersistent& object, const QString& prefix, QStringList& unnamed) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    const QString name = prefix.isEmpty() ? p.Name : prefix + QLatin1Char('.') + p.Name;
    if (p.Kind == TiPropertyKind::Enumeration && p.ValueNames.isEmpty()) unnamed << object.ClassName() + QLatin1Char(' ') + name;
    if (p.Kind == TiPropertyKind::Object && p.GetObject)
      if (const TiPersistent* nested = p.GetObject(object)) CollectUnnamedEnumerations(*nested, name, unnamed);
  }
}

// A chart holding one object of every kind and one translation entry.
struct TEveryKind {
  TiPlotComponent chart;
  std::vector<const TiPersistent*> objects;
  TEveryKind() {
    const std::function<int()> adds[] = {
        [&] { return chart.AddToolBar(); }, [&] { return chart.AddLegend(); },     [&] { return chart.AddTable(); },
        [&] { return chart.AddXAxis(); },   [&] { return chart.AddYAxis(); },      [&] { return chart.AddChannel(); },
        [&] { return chart.AddDataView(); }, [&] { return chart.AddDataCursor(); }, [&] { return chart.AddLimit(); },
        [&] { return chart.AddLabel(); },   [&] { return chart.AddAnnotation(); }};
    for (const auto& add : adds) add();
    objects = {&chart, chart.ToolBar(0), chart.Legend(0), chart.Table(0), chart.XAxis(0), chart.YAxis(0), chart.Channel(0),
               chart.DataView(0), chart.DataCursor(0), chart.Limit(0), chart.Labels(0), chart.Annotation(0)};
    objects.push_back(TiPlotTranslationObject::Create(chart.Master()->Handlers().OnRemove, chart.Master()->Handlers().OnInsert));
  }
};

}  // namespace

TEST(PropertyTables, EveryEnumerationNamesItsValues) {
  TEveryKind every;
  QStringList unnamed;
  for (const TiPersistent* object : every.objects) {
    ASSERT_NE(object, nullptr);
    CollectUnnamedEnumerations(*object, QString(), unnamed);
  }
  EXPECT_EQ(unnamed, QStringList()) << "enumeration properties without value names";
}

// Ordinals read from a file: the last value of each enumeration is taken, one past it refused.
TEST(PropertyTables, ReadingRefusesOrdinalsThatNameNoValue) {
  TEveryKind every;
  struct Case {
    TiPersistent* object;
    const char* line;
    bool ok;
  };
  TiPlotAnnotation* annotation = every.chart.Annotation(0);
  for (const Case& c : std::initializer_list<Case>{
           {annotation, "PenStyle = 6", true},
           {annotation, "PenStyle = 7", false},
           {annotation, "BrushStyle = 7", true},
           {annotation, "BrushStyle = 8", false},
           {annotation, "BrushStyle = -1", false},
           {annotation, "ReferenceSizeX = 3", false},
           {&every.chart, "AnnotationDefaultPenStlye = 7", false},
           {&every.chart, "AnnotationDefaultBrushStlye = 8", false},
           {&every.chart, "AnnotationDefaultReferencePositionY = 3", false},
           {&every.chart, "BackGroundGradientDirection = 11", true},
           {&every.chart, "BackGroundGradientDirection = 12", false},
       }) {
    SCOPED_TRACE(c.line);
    QStringList lines{QString::fromLatin1(c.line)};
    if (c.ok) {
      EXPECT_NO_THROW(ReadProperties(*c.object, QString(), lines));
    } else {
      EXPECT_THROW(ReadProperties(*c.object, QString(), lines), EConvertError);
    }
  }
  EXPECT_EQ(annotation->PenStyle(), psInsideFrame);
  EXPECT_EQ(annotation->BrushStyle(), bsDiagCross);
  EXPECT_EQ(every.chart.AnnotationDefaultPenStlye(), psSolid);
  EXPECT_EQ(every.chart.BackGroundGradientDirection(), ifdCircleIn);
}

namespace {
// Every property with a declared default, in the object's table and in the tables of its nested
// objects, whose value in the object differs from that default.
void CollectDefaultsNotHeld(const TiPersistent& object, const QString& prefix, QStringList& differing) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    const QString name = prefix.isEmpty() ? p.Name : prefix + QLatin1Char('.') + p.Name;
    if (p.IsOrdinal() && p.Default && p.Readable() && p.GetOrdinal(object) != *p.Default)
      differing << QStringLiteral("%1 %2 = %3, declared %4").arg(object.ClassName(), name).arg(p.GetOrdinal(object)).arg(*p.Default);
    if (p.Kind == TiPropertyKind::Float && p.FloatDefault && p.GetFloat && p.GetFloat(object) != *p.FloatDefault)
      differing << QStringLiteral("%1 %2 = %3, declared %4").arg(object.ClassName(), name).arg(p.GetFloat(object)).arg(*p.FloatDefault);
    if (p.Kind == TiPropertyKind::String && p.StringDefault && p.GetString && p.GetString(object) != *p.StringDefault)
      differing << QStringLiteral("%1 %2 = \"%3\", declared \"%4\"").arg(object.ClassName(), name, p.GetString(object), *p.StringDefault);
    if (p.Kind == TiPropertyKind::Object && p.GetObject)
      if (const TiPersistent* nested = p.GetObject(object)) CollectDefaultsNotHeld(*nested, name, differing);
  }
}
}  // namespace

// A declared default is what a new object has: every kind's freshly made object (before any
// collection names it or gives it the defaults of its kind), the chart itself and a translation
// entry hold the defaults of their tables.
TEST(PropertyTables, FreshObjectsHoldTheirTablesDefaults) {
  TiPlotComponent chart;
  QStringList differing;
  for (const TiPlotKindInfo& info : PlotObjectKinds()) {
    TiPlotObjectOwnedManager* collection = chart.Master()->Collection(info.Kind);
    ASSERT_NE(collection, nullptr);
    TiPlotPtr<TiPlotObject> fresh = collection->CreateItem();
    ASSERT_NE(fresh, nullptr);
    CollectDefaultsNotHeld(*fresh, QString(), differing);
  }
  CollectDefaultsNotHeld(chart, QString(), differing);
  const TiPlotTranslationObject* entry =
      TiPlotTranslationObject::Create(chart.Master()->Handlers().OnRemove, chart.Master()->Handlers().OnInsert);
  ASSERT_NE(entry, nullptr);
  CollectDefaultsNotHeld(*entry, QString(), differing);
  EXPECT_EQ(differing, QStringList());
}
