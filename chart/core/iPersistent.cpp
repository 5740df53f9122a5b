#include "chart/core/iPersistent.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <cmath>
#include <limits>

#include "chart/core/iErrors.h"
#include "platform/Convert.h"
#include "platform/Locale.h"

// ---- tables ----

bool TiPropertyInfo::IsOrdinal() const {
  switch (Kind) {
    case TiPropertyKind::Integer:
    case TiPropertyKind::Char:
    case TiPropertyKind::Enumeration:
    case TiPropertyKind::Boolean:
    case TiPropertyKind::Set:
    case TiPropertyKind::Color: return true;
    default: return false;
  }
}

bool TiPropertyInfo::Readable() const {
  if (IsOrdinal()) return static_cast<bool>(GetOrdinal);
  switch (Kind) {
    case TiPropertyKind::Float: return static_cast<bool>(GetFloat);
    case TiPropertyKind::String: return static_cast<bool>(GetString);
    case TiPropertyKind::Object: return static_cast<bool>(GetObject);
    default: return false;
  }
}

bool TiPropertyInfo::Writable() const {
  if (IsOrdinal()) return static_cast<bool>(SetOrdinal);
  switch (Kind) {
    case TiPropertyKind::Float: return static_cast<bool>(SetFloat);
    case TiPropertyKind::String: return static_cast<bool>(SetString);
    default: return false;
  }
}

bool TiPropertyInfo::HasDefault() const {
  if (IsOrdinal()) return Default.has_value();
  if (Kind == TiPropertyKind::Float) return FloatDefault.has_value();
  if (Kind == TiPropertyKind::String) return StringDefault.has_value();
  return false;
}

bool TiPropertyInfo::AtDefault(const TiPersistent& object) const {
  if (!HasDefault() || !Readable()) return false;
  if (IsOrdinal()) return GetOrdinal(object) == *Default;
  if (Kind == TiPropertyKind::Float) {
    const double v = GetFloat(object);
    return v == *FloatDefault || (std::isnan(v) && std::isnan(*FloatDefault));
  }
  return GetString(object) == *StringDefault;
}

void TiPropertyInfo::SetToDefault(TiPersistent& object) const {
  if (!HasDefault() || !Writable()) return;
  if (IsOrdinal()) SetOrdinal(object, *Default);
  else if (Kind == TiPropertyKind::Float) SetFloat(object, *FloatDefault);
  else SetString(object, *StringDefault);
}

bool TiPropertyInfo::IsStored(const TiPersistent& object) const {
  if (!Stored) return false;
  return !StoredWhen || StoredWhen(object);
}

TiClassInfo::TiClassInfo(QString className, const TiClassInfo* parent, std::vector<TiPropertyInfo> own)
    : className_(std::move(className)), parent_(parent) {
  if (parent_) properties_ = parent_->Properties();
  for (TiPropertyInfo& p : own) {
    bool replaced = false;
    // A property declared again keeps its inherited place.
    for (TiPropertyInfo& q : properties_)
      if (q.Name.compare(p.Name, Qt::CaseInsensitive) == 0) {
        q = std::move(p);
        replaced = true;
        break;
      }
    if (!replaced) properties_.push_back(std::move(p));
  }
}

const TiPropertyInfo* TiClassInfo::Find(const QString& name) const {
  for (const TiPropertyInfo& p : properties_)
    if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return &p;
  return nullptr;
}

bool TiClassInfo::InheritsFrom(const TiClassInfo& other) const {
  for (const TiClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const TiClassInfo& TiPersistent::StaticClassInfo() {
  static const TiClassInfo info(QStringLiteral("TiPersistent"), nullptr, {});
  return info;
}

// ---- font ----

const TiClassInfo& TiFont::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiFont>(QStringLiteral("TiFont"), &TiPersistent::StaticClassInfo())
                                      .Color(QStringLiteral("Color"), &TiFont::Color, &TiFont::SetColor)
                                      .Integer(QStringLiteral("Height"), &TiFont::Height, &TiFont::SetHeight)
                                      .String(QStringLiteral("Name"), &TiFont::Name, &TiFont::SetName)
                                      .Integer(QStringLiteral("Orientation"), &TiFont::Orientation, &TiFont::SetOrientation, 0)
                                      .Integer(QStringLiteral("Size"), &TiFont::Size, &TiFont::SetSize)
                                      .NotStored()
                                      .Set(QStringLiteral("Style"), &TiFont::Style, &TiFont::SetStyle, std::nullopt,
                                           {QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
                                            QStringLiteral("fsStrikeOut")})
                                      .Build();
  return info;
}

void TiFont::Changed() {
  if (OnChange) OnChange();
}

void TiFont::Assign(const TFont& font) {
  if (font_ == font) return;
  font_ = font;
  Changed();
}

void TiFont::SetColor(TColor value) {
  if (font_.Color == value) return;
  font_.Color = value;
  Changed();
}

void TiFont::SetHeight(int value) {
  // A letter taller than the chart can draw only costs time and memory in the font engine.
  value = ClampCoordinate(value);
  if (font_.Height == value) return;
  font_.Height = value;
  Changed();
}

void TiFont::SetName(const QString& value) {
  if (font_.Name == value) return;
  font_.Name = value;
  Changed();
}

void TiFont::SetOrientation(int value) {
  if (font_.Orientation == value) return;
  font_.Orientation = value;
  Changed();
}

void TiFont::SetSize(int points) { SetHeight(ClampCoordinate((static_cast<long long>(points) * 96 + 36) / 72)); }

void TiFont::SetStyle(TFontStyles value) {
  if (font_.Style == value) return;
  font_.Style = value;
  Changed();
}

// ---- text format ----

namespace {

constexpr int kMaxLineLength = 255;

bool Excluded(const QString& name, const QStringList& exclusions) {
  for (const QString& e : exclusions)
    if (e.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void AddLine(QStringList& lines, const QString& name, const QString& value) {
  lines << (name + QStringLiteral(" = ") + value).left(kMaxLineLength);
}

QString StoredFloat(double value) {
  // Not-a-number and infinities have no general form; they are stored by name so that they read back.
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  return FloatToStr(value, FormatSettings().DecimalSeparator);
}

double ReadFloat(const QString& text) {
  // The local separator is what the general form puts between 1 and 1 in 1.1.
  const QString oneOne = FloatToStr(1.1, FormatSettings().DecimalSeparator);
  const QChar local = oneOne.size() > 1 ? oneOne[1] : QLatin1Char('.');
  QString s = text;
  if (local == QLatin1Char('.')) {
    const qsizetype i = s.indexOf(QLatin1Char(','));
    if (i >= 0) s[i] = QLatin1Char('.');
  } else if (local == QLatin1Char(',')) {
    const qsizetype i = s.indexOf(QLatin1Char('.'));
    if (i >= 0) s[i] = QLatin1Char(',');
  }
  const QString upper = s.trimmed().toUpper();
  if (upper == QLatin1String("NAN")) return std::numeric_limits<double>::quiet_NaN();
  if (upper == QLatin1String("INF") || upper == QLatin1String("+INF")) return std::numeric_limits<double>::infinity();
  if (upper == QLatin1String("-INF")) return -std::numeric_limits<double>::infinity();
  double v = 0;
  if (!TryStrToFloat(s, v, local)) throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  return v;
}

void WriteObject(const TiPersistent& object, const QString& prefix, QStringList& lines, const QStringList& exclusions) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    if (!p.Readable() || !p.IsStored(object)) continue;
    const QString name = prefix.isEmpty() ? p.Name : prefix + QLatin1Char('.') + p.Name;
    if (Excluded(name, exclusions)) continue;
    if (p.IsOrdinal()) {
      const std::int64_t v = p.GetOrdinal(object);
      if (p.Default && *p.Default == v) continue;
      AddLine(lines, name, QString::number(v));
    } else if (p.Kind == TiPropertyKind::Float) {
      AddLine(lines, name, StoredFloat(p.GetFloat(object)));
    } else if (p.Kind == TiPropertyKind::String) {
      AddLine(lines, name, EncodePropertyString(p.GetString(object)));
    } else if (p.Kind == TiPropertyKind::Object) {
      if (const TiPersistent* nested = p.GetObject(object)) WriteObject(*nested, name, lines, exclusions);
    }
  }
}

// Finds the property along the dotted path; nullptr when a part names nothing.
const TiPropertyInfo* FindPath(TiPersistent*& object, const QString& path) {
  const QStringList parts = path.split(QLatin1Char('.'));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const TiPropertyInfo* p = object->ClassInfo().Find(parts[i]);
    if (!p) return nullptr;
    if (i == parts.size() - 1) return p;
    if (p->Kind != TiPropertyKind::Object || !p->GetObject) return nullptr;
    object = p->GetObject(*object);
    if (!object) return nullptr;
  }
  return nullptr;
}

bool OrdinalFits(const TiPropertyInfo& p, int ordinal) {
  const qsizetype names = p.ValueNames.size();
  switch (p.Kind) {
    case TiPropertyKind::Enumeration: return names == 0 || (ordinal >= 0 && ordinal < names);
    case TiPropertyKind::Set: return names == 0 || names >= 31 || (ordinal >= 0 && ordinal < (1 << names));
    case TiPropertyKind::Char: return ordinal >= 0 && ordinal <= 0xFFFF;
    default: return true;
  }
}

void Apply(TiPersistent& root, const QString& path, const QString& value) {
  TiPersistent* target = &root;
  const TiPropertyInfo* p = FindPath(target, path);
  if (!p || !p->Writable()) return;
  if (p->IsOrdinal()) {
    const int ordinal = StrToInt(value);
    // An ordinal that names no value of the enumeration, a set with members it does not have or
    // a character beyond the character range would leave the object in a state no setter can
    // produce (or be cut to another value on the way in).
    if (!OrdinalFits(*p, ordinal)) throw EConvertError(QStringLiteral("'%1' is not a valid value of %2").arg(value, p->Name));
    p->SetOrdinal(*target, ordinal);
  } else if (p->Kind == TiPropertyKind::Float) {
    p->SetFloat(*target, ReadFloat(value));
  } else if (p->Kind == TiPropertyKind::String) {
    p->SetString(*target, DecodePropertyString(value));
  }
}

}  // namespace

QString EncodePropertyString(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == QLatin1Char('\r')) {
      out += QLatin1String("#13");
    } else if (c == QLatin1Char('\n')) {
      out += QLatin1String("#10");
    } else if (c == QLatin1Char('#')) {
      // A literal '#' before 13, 10 or 35 would read back as a control character; it is stored
      // as #35 then. Any other '#' stays as it is, as older files have it.
      const QStringView rest = QStringView(value).mid(i + 1, 2);
      if (rest == QLatin1String("13") || rest == QLatin1String("10") || rest == QLatin1String("35"))
        out += QLatin1String("#35");
      else
        out += c;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// Whether the two characters after position i of the stored text are one of the codes a
// '#' can stand before: 13, 10 or 35 (compared ignoring case).
bool CodeFollows(const QString& stored, qsizetype i) {
  if (i + 2 > stored.size()) return false;
  const QStringView code = QStringView(stored).mid(i, 2);
  return code.compare(QLatin1String("13"), Qt::CaseInsensitive) == 0 || code.compare(QLatin1String("10"), Qt::CaseInsensitive) == 0 ||
         code.compare(QLatin1String("35"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString DecodePropertyString(const QString& stored) {
  QString out;
  out.reserve(stored.size());
  for (qsizetype i = 0; i < stored.size(); ++i) {
    if (stored[i] == QLatin1Char('#') && CodeFollows(stored, i + 1)) {
      const QStringView code = QStringView(stored).mid(i + 1, 2);
      if (code == QLatin1String("13")) {
        out += QLatin1Char('\r');
        i += 2;
        continue;
      }
      if (code == QLatin1String("10")) {
        out += QLatin1Char('\n');
        i += 2;
        continue;
      }
      // "#35" is our writer's mark for a literal '#' that precedes a code; anywhere else it is
      // text as another writer of the format left it ("Batch #35"). The code after the mark
      // is text and is not read again.
      if (CodeFollows(stored, i + 3)) {
        out += QLatin1Char('#');
        out += stored[i + 3];
        out += stored[i + 4];
        i += 4;
        continue;
      }
    }
    out += stored[i];
  }
  return out;
}

void AssignProperties(TiPersistent& target, const TiPersistent& source) {
  if (&target == &source) return;
  for (const TiPropertyInfo& from : source.ClassInfo().Properties()) {
    const TiPropertyInfo* to = target.ClassInfo().Find(from.Name);
    if (!to || to->Kind != from.Kind || !from.Readable()) continue;
    if (from.Kind == TiPropertyKind::Object) {
      const TiPersistent* nestedFrom = from.GetObject(source);
      TiPersistent* nestedTo = to->GetObject ? to->GetObject(target) : nullptr;
      if (nestedFrom && nestedTo) AssignProperties(*nestedTo, *nestedFrom);
      continue;
    }
    if (!to->Writable()) continue;
    if (from.IsOrdinal())
      to->SetOrdinal(target, from.GetOrdinal(source));
    else if (from.Kind == TiPropertyKind::Float)
      to->SetFloat(target, from.GetFloat(source));
    else if (from.Kind == TiPropertyKind::String)
      to->SetString(target, from.GetString(source));
  }
}

void WriteProperties(const TiPersistent& object, const QString& prefix, QStringList& lines, const QStringList& exclusions) {
  WriteObject(object, prefix, lines, exclusions);
}

void ReadProperties(TiPersistent& object, const QString& prefix, QStringList& lines) {
  while (!lines.isEmpty()) {
    const QString& line = lines.first();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    QString name = eq >= 0 ? line.left(eq).trimmed() : QString();
    const QString value = eq >= 0 ? line.mid(eq + 1).trimmed() : QString();
    if (!prefix.isEmpty()) {
      const qsizetype dot = name.indexOf(QLatin1Char('.'));
      const QString head = dot >= 0 ? name.left(dot) : name;
      if (head != prefix) return;  // the line belongs to the next object
      name = dot >= 0 ? name.mid(dot + 1) : QString();
    }
    if (!name.isEmpty()) Apply(object, name, value);
    lines.removeFirst();
  }
}

QStringList ReadTextLines(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EiError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw EiError(QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()));
  // An editor's byte-order mark is no text, also before a file that is not UTF-8 after all.
  if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
  // Written as UTF-8; a file saved by an editor in a single-byte code page is read byte for byte
  // instead, so that its accented letters and units are not replaced by marks.
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(data);
  if (utf8.hasError()) text = QString::fromLatin1(data);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line end
  return lines;
}

void WriteTextLines(const QString& fileName, const QStringList& lines) {
  // Written beside the old file and put in its place only when complete, so a failed save
  // leaves the old file as it was.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EiError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
  QByteArray data;
  for (const QString& line : lines) {
    data += line.toUtf8();
    data += "\r\n";
  }
  if (file.write(data) != data.size() || !file.commit())
    throw EiError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
}
