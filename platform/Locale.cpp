#include "platform/Locale.h"

#include <QLocale>

namespace {

// The first character of a locale's pattern that separates its fields, or `fallback`.
QChar SeparatorIn(const QString& pattern, QChar fallback) {
  bool quoted = false;
  for (const QChar c : pattern) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    else if (!quoted && !c.isLetter() && !c.isSpace()) return c;
  }
  return fallback;
}

}  // namespace

TFormatSettings FormatSettingsFor(const QLocale& locale) {
  TFormatSettings fs;
  if (locale.language() == QLocale::C) return fs;
  for (int m = 1; m <= 12; ++m) {
    fs.ShortMonthNames[m - 1] = locale.monthName(m, QLocale::ShortFormat);
    fs.LongMonthNames[m - 1] = locale.monthName(m, QLocale::LongFormat);
  }
  // Sunday first, as the pattern language counts days; the locale counts Monday as 1.
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;
    fs.ShortDayNames[d] = locale.dayName(qtDay, QLocale::ShortFormat);
    fs.LongDayNames[d] = locale.dayName(qtDay, QLocale::LongFormat);
  }
  if (!locale.amText().isEmpty()) fs.TimeAMString = locale.amText();
  if (!locale.pmText().isEmpty()) fs.TimePMString = locale.pmText();
  fs.DateSeparator = SeparatorIn(locale.dateFormat(QLocale::ShortFormat), fs.DateSeparator);
  fs.TimeSeparator = SeparatorIn(locale.timeFormat(QLocale::ShortFormat), fs.TimeSeparator);
  return fs;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = FormatSettingsFor(QLocale());
  return settings;
}
