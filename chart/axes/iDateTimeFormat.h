#pragma once
// Date-time texts in the chart's own pattern language (which differs from Qt's):
//   d dd ddd dddd    day, two-digit day, short and long day name
//   m mm mmm mmmm    month, two-digit month, short and long month name (after h or hh: minutes)
//   yy yyyy          two- and four-digit year
//   h hh  n nn  s ss hours, minutes, seconds (one digit where it suffices, or two)
//   z zzz            milliseconds (as few digits as needed, or three)
//   am/pm a/p ampm   a 12-hour clock with the pattern's own letters (ampm: the locale's texts)
//   / :              the locale's date and time separators
//   ddddd dddddd     the locale's short and long date format
//   t tt             the locale's short and long time format
//   c                the short date, then the long time unless it is midnight
//   '...' "..."      text copied unchanged
// Letters are matched ignoring case; anything else is copied as it stands.
#include <QString>

#include "platform/Locale.h"

// Raises EiError for a value outside the calendar (see iDateUtils).
QString FormatDateTime(const QString& pattern, double value, const TFormatSettings& settings = FormatSettings());
