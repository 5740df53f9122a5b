// The published-property tables and the property text format.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "chart/core/iErrors.h"
#include "chart/core/iPersistent.h"
#include "platform/Convert.h"
#include "platform/Locale.h"

namespace {

enum TSampleKind : int { skFirst, skSecond, skThird };

// A nested object with a font of its own, to show paths of three parts.
class TSampleInner : public TiPersistent {
  TI_PERSISTENT
 public:
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  TiFont* Font() { return &font_; }

 private:
  int width_ = 1;
  TiFont font_;
};

// Every kind of property once.
class TSampleBase : public TiPersistent {
  TI_PERSISTENT
 public:
  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }

 private:
  int count_ = 5;
  TColor color_ = clBtnFace;
};

class TSample : public TSampleBase {
  TI_PERSISTENT
 public:
  QChar Separator() const { return separator_; }
  void SetSeparator(QChar v) { separator_ = v; }
  TSampleKind Kind() const { return kind_; }
  void SetKind(TSampleKind v) { kind_ = v; }
  bool Shown() const { return shown_; }
  void SetShown(bool v) { shown_ = v; }
  std::uint8_t Sides() const { return sides_; }
  void SetSides(std::uint8_t v) { sides_ = v; }
  double Min() const { return min_; }
  void SetMin(double v) { min_ = v; }
  QString Title() const { return title_; }
  void SetTitle(const QString& v) { title_ = v; }
  int Always() const { return always_; }
  void SetAlways(int v) { always_ = v; }
  int ReadOnly() const { return 42; }
  int Hidden() const { return hidden_; }
  void SetHidden(int v) { hidden_ = v; }
  TSampleInner* Inner() { return &inner_; }
  TSampleInner* Missing() { return nullptr; }

 private:
  QChar separator_ = QLatin1Char(',');
  TSampleKind kind_ = skFirst;
  bool shown_ = true;
  std::uint8_t sides_ = 0x3;
  double min_ = 0.0;
  QString title_;
  int always_ = 0;
  int hidden_ = 0;
  TSampleInner inner_;
};

}  // namespace

const TiClassInfo& TSampleInner::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TSampleInner>("TSampleInner", &TiPersistent::StaticClassInfo())
                                      .Integer("Width", &TSampleInner::Width, &TSampleInner::SetWidth, 1)
                                      .Object("Font", &TSampleInner::Font)
                                      .Build();
  return info;
}

const TiClassInfo& TSampleBase::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TSampleBase>("TSampleBase", &TiPersistent::StaticClassInfo())
                                      .Integer("Count", &TSampleBase::Count, &TSampleBase::SetCount, 5)
                                      .Color("Color", &TSampleBase::Color, &TSampleBase::SetColor, clBtnFace)
                                      .Build();
  return info;
}

const TiClassInfo& TSample::StaticClassInfo() {
  using C = TSample;
  static const TiClassInfo info = TiClassBuilder<C>("TSample", &TSampleBase::StaticClassInfo())
                                      .Char("Separator", &C::Separator, &C::SetSeparator, QLatin1Char(','))
                                      .Enumeration<TSampleKind>("Kind", &C::Kind, &C::SetKind, skFirst, {"skFirst", "skSecond", "skThird"})
                                      .Boolean("Shown", &C::Shown, &C::SetShown, true)
                                      .Set("Sides", &C::Sides, &C::SetSides, 0x3)
                                      .Float("Min", &C::Min, &C::SetMin)
                                      .String("Title", &C::Title, &C::SetTitle)
                                      .Integer("Always", &C::Always, &C::SetAlways)  // no default: always written
                                      .Integer("ReadOnly", &C::ReadOnly)
                                      .Integer("Hidden", &C::Hidden, &C::SetHidden, 0)
                                      .NotStored()
                                      .Object("Inner", &C::Inner)
                                      .Object("Missing", &C::Missing)
                                      .Redefault("Count", 7)
                                      .Build();
  return info;
}

TEST(PropertyTable, ListsInheritedPropertiesFirstAndFindsNamesIgnoringCase) {
  TSample s;
  const TiClassInfo& info = s.ClassInfo();
  EXPECT_EQ(s.ClassName(), "TSample");
  ASSERT_GE(info.Properties().size(), 3u);
  EXPECT_EQ(info.Properties()[0].Name, "Count");
  EXPECT_EQ(info.Properties()[1].Name, "Color");
  EXPECT_EQ(info.Properties()[2].Name, "Separator");
  ASSERT_NE(info.Find("min"), nullptr);
  EXPECT_EQ(info.Find("min")->Kind, TiPropertyKind::Float);
  EXPECT_EQ(info.Find("nothing"), nullptr);
  EXPECT_TRUE(info.InheritsFrom(TSampleBase::StaticClassInfo()));
  // A new default in the subclass, the parent's table untouched.
  EXPECT_EQ(*info.Find("Count")->Default, 7);
  EXPECT_EQ(*TSampleBase::StaticClassInfo().Find("Count")->Default, 5);
}

TEST(WriteProperties, SkipsDefaultsAndWritesEveryOtherKind) {
  TSample s;
  QStringList lines;
  WriteProperties(s, QString(), lines);
  // Count 5 differs from the subclass default 7; Color, Separator, Kind, Shown and Sides sit at
  // their defaults; floats and strings are always written; Always has no default.
  const QStringList expected{
      "Count = 5", "Min = 0", "Title = ", "Always = 0", "ReadOnly = 42", "Inner.Font.Color = -16777208", "Inner.Font.Height = 11",
      "Inner.Font.Name = Tahoma", "Inner.Font.Style = 0"};
  EXPECT_EQ(lines, expected);
}

TEST(WriteProperties, WritesOrdinalsAsSignedNumbers) {
  TSample s;
  s.SetCount(7);
  s.SetColor(clRed);
  s.SetSeparator(QLatin1Char(';'));
  s.SetKind(skThird);
  s.SetShown(false);
  s.SetSides(0x5);
  s.SetMin(-2.5e-7);
  s.Inner()->SetWidth(3);
  s.Inner()->Font()->SetColor(clBtnFace);
  QStringList lines;
  WriteProperties(s, "Channel0", lines);
  const QStringList expected{"Channel0.Color = 255",
                             "Channel0.Separator = 59",
                             "Channel0.Kind = 2",
                             "Channel0.Shown = 0",
                             "Channel0.Sides = 5",
                             "Channel0.Min = -2.5E-7",
                             "Channel0.Title = ",
                             "Channel0.Always = 0",
                             "Channel0.ReadOnly = 42",
                             "Channel0.Inner.Width = 3",
                             "Channel0.Inner.Font.Color = -16777201",
                             "Channel0.Inner.Font.Height = 11",
                             "Channel0.Inner.Font.Name = Tahoma",
                             "Channel0.Inner.Font.Style = 0"};
  EXPECT_EQ(lines, expected);
}

TEST(WriteProperties, ExclusionsIgnoreCaseAndApplyToDottedNames) {
  TSample s;
  QStringList lines;
  WriteProperties(s, QString(), lines, {"COUNT", "inner.font", "Title"});
  EXPECT_EQ(lines, (QStringList{"Min = 0", "Always = 0", "ReadOnly = 42"}));
}

TEST(WriteProperties, EncodesLineBreaksAndCutsLinesTo255Characters) {
  TSample s;
  s.SetTitle(QStringLiteral("a\r\nb"));
  QStringList lines;
  WriteProperties(s, QString(), lines, {"Count", "Min", "Always", "ReadOnly", "Inner"});
  EXPECT_EQ(lines, QStringList{"Title = a#13#10b"});

  s.SetTitle(QString(300, QLatin1Char('x')));
  lines.clear();
  WriteProperties(s, QString(), lines, {"Count", "Min", "Always", "ReadOnly", "Inner"});
  ASSERT_EQ(lines.size(), 1);
  EXPECT_EQ(lines[0].size(), 255);
  EXPECT_TRUE(lines[0].startsWith("Title = xxx"));
}

TEST(PropertyStrings, EncodeAndDecode) {
  struct Case { const char* value; const char* stored; };
  const Case cases[] = {
      {"a\r\nb", "a#13#10b"},
      {"plain", "plain"},
      {"Run #7", "Run #7"},        // a '#' that cannot be misread stays as it is
      {"Run #10", "Run #3510"},    // one that could is stored as #35
      {"#13", "#3513"},
      {"#", "#"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(EncodePropertyString(QString::fromUtf8(c.value)), QString::fromUtf8(c.stored));
    EXPECT_EQ(DecodePropertyString(QString::fromUtf8(c.stored)), QString::fromUtf8(c.value));
  }
  EXPECT_EQ(DecodePropertyString("x#13y#10z"), "x\ry\nz");
}

TEST(ReadProperties, ReadsEveryKindAlongDottedPaths) {
  TSample s;
  QStringList lines{"Count = 9",
                    "Color=255",
                    "Separator = 59",
                    "kind = 1",
                    "Shown = 0",
                    "Sides = 6",
                    "Min = 1.25",
                    "Title = a#13#10b",
                    "Inner.Width = 4",
                    "inner.font.color = 65280",
                    "Inner.Font.Name = Arial",
                    "Inner.Font.Size = 12",
                    "Hidden = 8"};
  ReadProperties(s, QString(), lines);
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_EQ(s.Count(), 9);
  EXPECT_EQ(s.Color(), clRed);
  EXPECT_EQ(s.Separator(), QLatin1Char(';'));
  EXPECT_EQ(s.Kind(), skSecond);
  EXPECT_FALSE(s.Shown());
  EXPECT_EQ(s.Sides(), 6);
  EXPECT_EQ(s.Min(), 1.25);
  EXPECT_EQ(s.Title(), "a\r\nb");
  EXPECT_EQ(s.Inner()->Width(), 4);
  EXPECT_EQ(s.Inner()->Font()->Color(), clLime);
  EXPECT_EQ(s.Inner()->Font()->Name(), "Arial");
  EXPECT_EQ(s.Inner()->Font()->Height(), 16);
  EXPECT_EQ(s.Hidden(), 8);  // not stored, still readable
}

TEST(ReadProperties, IgnoresWhatNamesNoProperty) {
  TSample s;
  QStringList lines{"File Type = Plot Config", "Nothing = 1", "no equals sign", "", "ReadOnly = 3", "Title.Width = 2",
                    "Missing.Width = 2", "Inner.Nothing.Color = 1", "Count = 8"};
  ReadProperties(s, QString(), lines);
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_EQ(s.Count(), 8);
}

TEST(ReadProperties, StopsAtTheFirstLineOfAnotherPrefix) {
  TSample first, second;
  QStringList lines{"Channel0.Count = 1", "Channel0.Title = zero", "Channel1.Count = 2", "Channel1.Title = one", "Count = 3"};
  ReadProperties(first, "Channel0", lines);
  EXPECT_EQ(first.Count(), 1);
  EXPECT_EQ(first.Title(), "zero");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines.first(), "Channel1.Count = 2");
  ReadProperties(second, "Channel1", lines);
  EXPECT_EQ(second.Count(), 2);
  EXPECT_EQ(lines, QStringList{"Count = 3"});
  // The prefix must match exactly.
  TSample third;
  QStringList other{"channel1.Count = 4"};
  ReadProperties(third, "Channel1", other);
  EXPECT_EQ(other.size(), 1);
}

TEST(ReadProperties, ReplacesOnlyTheFirstSeparatorOfAFloat) {
  struct Case { QChar local; const char* text; double value; bool ok; };
  const Case cases[] = {
      {QLatin1Char('.'), "0.5", 0.5, true},
      {QLatin1Char('.'), "0,5", 0.5, true},     // written where a comma is the separator
      {QLatin1Char('.'), "1,5,5", 0, false},    // only the first comma becomes a dot
      {QLatin1Char(','), "0.5", 0.5, true},
      {QLatin1Char(','), "0,5", 0.5, true},
      {QLatin1Char(','), "1.5.5", 0, false},
      {QLatin1Char('.'), "2E20", 2e20, true},
      {QLatin1Char('.'), "-INF", -INFINITY, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TFormatSettings fs;
    fs.DecimalSeparator = c.local;
    TFormatSettingsScope scope(fs);
    TSample s;
    QStringList lines{QStringLiteral("Min = ") + QString::fromUtf8(c.text)};
    if (c.ok) {
      ReadProperties(s, QString(), lines);
      EXPECT_EQ(s.Min(), c.value);
      EXPECT_TRUE(lines.isEmpty());
    } else {
      EXPECT_THROW(ReadProperties(s, QString(), lines), EConvertError);
      EXPECT_EQ(lines.size(), 1);  // the failing line stays
    }
  }
}

TEST(ReadProperties, AFloatWrittenWithACommaReadsBackWithADot) {
  TSample s;
  s.SetMin(0.5);
  QStringList lines;
  {
    TFormatSettings comma;
    comma.DecimalSeparator = QLatin1Char(',');
    TFormatSettingsScope scope(comma);
    WriteProperties(s, QString(), lines, {"Count", "Title", "Always", "ReadOnly", "Inner"});
  }
  EXPECT_EQ(lines, QStringList{"Min = 0,5"});
  TSample t;
  ReadProperties(t, QString(), lines);
  EXPECT_EQ(t.Min(), 0.5);
}

TEST(ReadProperties, AValueThatDoesNotConvertRaisesTheConversionError) {
  TSample s;
  QStringList lines{"Count = 2", "Kind = second", "Count = 3"};
  try {
    ReadProperties(s, QString(), lines);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'second' is not a valid integer value");
  }
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(lines.size(), 2);
}

// An ordinal outside the enumeration, from a hand-edited file, is refused like any other value
// that does not convert; the property keeps what it had.
TEST(ReadProperties, AnEnumerationOrdinalOutsideItsValuesIsAConversionError) {
  struct Case { const char* line; bool accepted; };
  const Case cases[] = {{"Kind = 0", true}, {"Kind = 2", true}, {"Kind = 3", false}, {"Kind = -1", false}, {"Kind = 99", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TSample s;
    s.SetKind(skSecond);
    QStringList lines{c.line, "Count = 3"};
    if (c.accepted) {
      ReadProperties(s, QString(), lines);
      EXPECT_TRUE(lines.isEmpty());
      EXPECT_EQ(s.Count(), 3);
      continue;
    }
    try {
      ReadProperties(s, QString(), lines);
      FAIL() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("'%1' is not a valid value of Kind").arg(QString::fromUtf8(c.line).mid(7)));
    }
    EXPECT_EQ(s.Kind(), skSecond);
    EXPECT_EQ(lines.size(), 2);
  }
}

TEST(PropertyText, RoundTripsEveryKind) {
  TSample s;
  s.SetCount(-3);
  s.SetColor(clInfoBk);
  s.SetSeparator(QChar(0x00E9));
  s.SetKind(skThird);
  s.SetShown(false);
  s.SetSides(0);
  s.SetMin(401.063122923588);
  s.SetTitle(QStringLiteral("Line 1\r\nLine #2 = \"x\""));
  s.SetAlways(-1);
  s.Inner()->SetWidth(12);
  s.Inner()->Font()->Assign(TFont{QStringLiteral("Arial"), 14, clNavy, FontStyleBit(fsBold) | FontStyleBit(fsItalic), 900});
  QStringList lines;
  WriteProperties(s, "Obj", lines);
  TSample t;
  ReadProperties(t, "Obj", lines);
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_EQ(t.Count(), s.Count());
  EXPECT_EQ(t.Color(), s.Color());
  EXPECT_EQ(t.Separator(), s.Separator());
  EXPECT_EQ(t.Kind(), s.Kind());
  EXPECT_EQ(t.Shown(), s.Shown());
  EXPECT_EQ(t.Sides(), s.Sides());
  EXPECT_EQ(t.Min(), s.Min());
  EXPECT_EQ(t.Title(), s.Title());
  EXPECT_EQ(t.Always(), s.Always());
  EXPECT_EQ(t.Inner()->Width(), 12);
  EXPECT_EQ(t.Inner()->Font()->Font(), s.Inner()->Font()->Font());
}

TEST(TiFont, NotifiesOnlyRealChanges) {
  TiFont f;
  int changes = 0;
  f.OnChange = [&] { ++changes; };
  f.SetColor(f.Color());
  f.SetName(QStringLiteral("Tahoma"));
  EXPECT_EQ(changes, 0);
  f.SetColor(clRed);
  f.SetSize(9);  // 12 pixels
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(f.Height(), 12);
  f.Assign(f.Font());
  EXPECT_EQ(changes, 2);
}

TEST(TextLines, WriteWithCrLfAndReadAnyLineEnd) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("lines.txt");
  WriteTextLines(path, {"a = 1", "b = 2"});
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("a = 1\r\nb = 2\r\n"));
  f.close();
  QFile g(dir.filePath("mixed.txt"));
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  g.write("x\ry\nz\r\nw");
  g.close();
  EXPECT_EQ(ReadTextLines(dir.filePath("mixed.txt")), (QStringList{"x", "y", "z", "w"}));
  // A byte-order mark left by an editor is not part of the first line.
  QFile bom(dir.filePath("bom.txt"));
  ASSERT_TRUE(bom.open(QIODevice::WriteOnly));
  bom.write("\xEF\xBB\xBF" "File Type = Plot Config\r\nTitle = \xC2\xB5m\r\n");
  bom.close();
  EXPECT_EQ(ReadTextLines(dir.filePath("bom.txt")), (QStringList{"File Type = Plot Config", QString::fromUtf8("Title = \xC2\xB5m")}));
  // A file saved in a single-byte code page keeps its characters instead of turning into
  // replacement marks.
  QFile latin(dir.filePath("latin.txt"));
  ASSERT_TRUE(latin.open(QIODevice::WriteOnly));
  latin.write("Title = 20\xB0" "C \xB5m\r\n");
  latin.close();
  EXPECT_EQ(ReadTextLines(dir.filePath("latin.txt")), QStringList{QString::fromUtf8("Title = 20\xC2\xB0" "C \xC2\xB5m")});
  EXPECT_THROW(ReadTextLines(dir.filePath("none.txt")), EiError);
  EXPECT_THROW(WriteTextLines(dir.filePath("no/such/folder/x.txt"), {"a"}), EiError);
}

TEST(AssignProperties, CopiesEveryPropertyBothObjectsHave) {
  TSample s;
  s.SetCount(11);
  s.SetMin(-4.5);
  s.SetTitle("copied");
  s.SetHidden(3);
  s.Inner()->SetWidth(9);
  s.Inner()->Font()->SetColor(clTeal);
  TSample t;
  AssignProperties(t, s);
  EXPECT_EQ(t.Count(), 11);
  EXPECT_EQ(t.Min(), -4.5);
  EXPECT_EQ(t.Title(), "copied");
  EXPECT_EQ(t.Hidden(), 3);  // not stored in files, but a property all the same
  EXPECT_EQ(t.Inner()->Width(), 9);
  EXPECT_EQ(t.Inner()->Font()->Color(), clTeal);
  TSampleBase base;
  AssignProperties(base, s);  // only what the base class has
  EXPECT_EQ(base.Count(), 11);
}
