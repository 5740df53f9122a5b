#include "chart/axes/iDateTimeFormat.h"

#include "chart/axes/iDateUtils.h"

namespace {

QChar Upper(QChar c) { return c.toUpper(); }

bool StartsWithIgnoringCase(const QString& s, int at, const char* what) {
  const QString w = QString::fromLatin1(what);
  return s.mid(at, w.size()).compare(w, Qt::CaseInsensitive) == 0;
}

QString Padded(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

// One letter: the number as it is; more: `width` digits.
QString NumberField(int count, int value, int width) { return count == 1 ? QString::number(value) : Padded(value, width); }

// One to four letters: the number, two digits, the short name, the long name.
QString NumberOrName(int count, int value, const QString& shortName, const QString& longName) {
  if (count <= 2) return NumberField(count, value, 2);
  return count == 3 ? shortName : longName;
}

// Whether the hours written at `from` use a 12-hour clock: an am/pm marker follows before the
// next hour field (quoted text does not count).
bool TwelveHourClockAhead(const QString& pattern, int from) {
  bool quoted = false;
  QChar quote;
  for (int i = from; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (quoted) {
      if (c == quote) quoted = false;
      continue;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      quoted = true;
      quote = c;
    } else if (Upper(c) == QLatin1Char('A')) {
      return StartsWithIgnoringCase(pattern, i, "am/pm") || StartsWithIgnoringCase(pattern, i, "a/p") ||
             StartsWithIgnoringCase(pattern, i, "ampm");
    } else if (Upper(c) == QLatin1Char('H')) {
      return false;
    }
  }
  return false;
}

}  // namespace

namespace {

QString Format(const QString& pattern, double value, const TFormatSettings& fs, int depth);

// The locale's whole date or time formats inside a pattern; a locale format that names itself
// again is not followed further.
QString Nested(const QString& format, double value, const TFormatSettings& fs, int depth) {
  return depth < 2 ? Format(format, value, fs, depth + 1) : QString();
}

QString Format(const QString& pattern, double value, const TFormatSettings& fs, int depth) {
  const TDateTimeParts p = DecodeDateTime(value);
  QString out;
  QChar lastToken;
  int i = 0;
  const int n = pattern.size();
  auto runLength = [&](QChar letter) {
    int count = 1;
    while (i + count < n && Upper(pattern[i + count]) == letter) ++count;
    return count;
  };
  while (i < n) {
    const QChar c = pattern[i];
    QChar token = Upper(c);
    if (token.isLetter() && token.unicode() < 128) {
      if (token == QLatin1Char('M') && lastToken == QLatin1Char('H')) token = QLatin1Char('N');
      lastToken = token;
    }
    switch (token.unicode()) {
      case 'Y': {
        const int count = runLength(QLatin1Char('Y'));
        out += count <= 2 ? Padded(p.Year % 100, 2) : Padded(p.Year, 4);
        i += count;
        break;
      }
      case 'M': {
        const int count = runLength(QLatin1Char('M'));
        const auto m = static_cast<std::size_t>(p.Month - 1);
        out += NumberOrName(count, p.Month, fs.ShortMonthNames[m], fs.LongMonthNames[m]);
        i += count;
        break;
      }
      case 'D': {
        const int count = runLength(QLatin1Char('D'));
        const auto d = static_cast<std::size_t>(p.DayOfWeek - 1);
        if (count == 5) out += Nested(fs.ShortDateFormat, value, fs, depth);
        else if (count > 5) out += Nested(fs.LongDateFormat, value, fs, depth);
        else out += NumberOrName(count, p.Day, fs.ShortDayNames[d], fs.LongDayNames[d]);
        i += count;
        break;
      }
      case 'H': {
        const int count = runLength(QLatin1Char('H'));
        int hour = p.Hour;
        if (TwelveHourClockAhead(pattern, i + count)) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
        out += NumberField(count, hour, 2);
        i += count;
        break;
      }
      case 'N': {
        // Minutes, also an m (or mm) right after an hour field.
        const int count = runLength(Upper(c));
        out += NumberField(count, p.Minute, 2);
        i += count;
        break;
      }
      case 'S': {
        const int count = runLength(QLatin1Char('S'));
        out += NumberField(count, p.Second, 2);
        i += count;
        break;
      }
      case 'Z': {
        const int count = runLength(QLatin1Char('Z'));
        out += NumberField(count, p.MilliSecond, 3);
        i += count;
        break;
      }
      case 'A': {
        const bool pm = p.Hour >= 12;
        if (StartsWithIgnoringCase(pattern, i, "am/pm")) {
          out += pattern.mid(pm ? i + 3 : i, 2);
          i += 5;
        } else if (StartsWithIgnoringCase(pattern, i, "a/p")) {
          out += pattern[pm ? i + 2 : i];
          i += 3;
        } else if (StartsWithIgnoringCase(pattern, i, "ampm")) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          i += 4;
        } else {
          out += c;
          ++i;
        }
        break;
      }
      case 'C': {
        // The short date, and the long time when there is a time of day.
        out += Nested(fs.ShortDateFormat, value, fs, depth);
        if (p.Hour != 0 || p.Minute != 0 || p.Second != 0 || p.MilliSecond != 0)
          out += QLatin1Char(' ') + Nested(fs.LongTimeFormat, value, fs, depth);
        ++i;
        break;
      }
      case 'T': {
        const int count = runLength(QLatin1Char('T'));
        out += Nested(count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value, fs, depth);
        i += count;
        break;
      }
      case '/':
        out += fs.DateSeparator;
        ++i;
        break;
      case ':':
        out += fs.TimeSeparator;
        ++i;
        break;
      case '\'':
      case '"': {
        const int close = pattern.indexOf(c, i + 1);
        const int end = close < 0 ? n : close;
        out += pattern.mid(i + 1, end - i - 1);
        i = close < 0 ? n : close + 1;
        break;
      }
      default:
        out += c;
        ++i;
        break;
    }
  }
  return out;
}

}  // namespace

QString FormatDateTime(const QString& pattern, double value, const TFormatSettings& fs) { return Format(pattern, value, fs, 0); }
