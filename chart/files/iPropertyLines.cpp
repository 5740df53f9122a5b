#include "chart/files/iPropertyLines.h"

#include "chart/core/iErrors.h"
#include "chart/core/iPersistent.h"
#include "platform/Convert.h"

std::optional<QString> TakePropertyKey(QStringList& lines, const QString& key) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    if (QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) continue;
    QString value = line.mid(eq + 1).trimmed();
    lines.removeAt(i);
    return value;
  }
  return std::nullopt;
}

int TakePropertyCount(QStringList& lines, const QString& key, int linesInFile) {
  const std::optional<QString> value = TakePropertyKey(lines, key);
  if (!value) return 0;
  std::int64_t count = -1;
  if (!TryStrToInt64(*value, count) || count < 0 || count > linesInFile)
    throw EiError(QStringLiteral("%1 \"%2\" is not a whole number from 0 to %3").arg(key, value->left(40)).arg(linesInFile));
  return static_cast<int>(count);
}

void RemoveBlankLines(QStringList& lines) {
  lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
}

void DiscardSection(const QString& prefix, QStringList& lines) {
  while (!lines.isEmpty()) {
    const QString& line = lines.first();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString name = eq >= 0 ? line.left(eq).trimmed() : QString();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if ((dot >= 0 ? name.left(dot) : name) != prefix) return;
    lines.removeFirst();
  }
}

namespace {
void Reset(TiPersistent& object, const QString& path, const QStringList& exclusions, int depth) {
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    if (!p.Stored) continue;
    const QString name = path.isEmpty() ? p.Name : path + QLatin1Char('.') + p.Name;
    if (exclusions.contains(name, Qt::CaseInsensitive)) continue;
    if (p.Kind == TiPropertyKind::Object) {
      TiPersistent* nested = p.GetObject ? p.GetObject(object) : nullptr;
      if (nested && depth < 8) Reset(*nested, name, exclusions, depth + 1);
      continue;
    }
    if (p.HasDefault() && p.Writable() && !p.AtDefault(object)) p.SetToDefault(object);
  }
}
}  // namespace

void ResetStoredToDefaults(TiPersistent& object, const QStringList& exclusions) { Reset(object, QString(), exclusions, 0); }
