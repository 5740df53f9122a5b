#include "chart/axes/iDateUtils.h"

#include <algorithm>
#include <cmath>

#include "chart/core/iErrors.h"
#include "platform/Locale.h"

namespace {

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian; H. Hinnant's algorithms).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kEpochOffset = 25569;

double Checked(std::optional<double> v) {
  if (!v) throw EiError(QStringLiteral("Invalid date-time value"));
  return *v;
}

QString Field(std::optional<int> given, int fromBase, bool haveBase, int width) {
  if (!given && !haveBase) return QStringLiteral("?");
  return QStringLiteral("%1").arg(given ? *given : fromBase, width, 10, QLatin1Char('0'));
}

double Recode(double value, std::optional<int> year, std::optional<int> month, std::optional<int> day) {
  const TDateTimeParts p = DecodeDateTime(value);
  const int y = year.value_or(p.Year), m = month.value_or(p.Month), d = day.value_or(p.Day);
  const std::optional<double> date = TryEncodeDate(y, m, d);
  if (!date) throw EiError(InvalidDateTimeMessage(year, month, day, std::nullopt, std::nullopt, std::nullopt, std::nullopt, value));
  return *date + TimeOfDay(value);
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

std::optional<double> TryEncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day) + kEpochOffset);
}

std::optional<double> TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int milliSecond) {
  const std::optional<double> date = TryEncodeDate(year, month, day);
  if (!date || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || milliSecond < 0 ||
      milliSecond > 999)
    return std::nullopt;
  const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milliSecond;
  return *date + ms / kMSecsPerDay;
}

std::optional<TDateTimeParts> TryDecodeDateTime(double value) {
  if (!std::isfinite(value) || value < kDateTimeFirstDay || value >= kDateTimeEndDay) return std::nullopt;
  double dayPart = std::floor(value);
  double ms = std::nearbyint((value - dayPart) * kMSecsPerDay);
  if (ms >= kMSecsPerDay) {
    dayPart += 1.0;
    ms = 0.0;
    if (dayPart >= kDateTimeEndDay) return std::nullopt;
  }
  TDateTimeParts p;
  const auto days = static_cast<std::int64_t>(dayPart);
  CivilFromDays(days - kEpochOffset, p.Year, p.Month, p.Day);
  auto msInt = static_cast<std::int64_t>(ms);
  p.MilliSecond = static_cast<int>(msInt % 1000);
  msInt /= 1000;
  p.Second = static_cast<int>(msInt % 60);
  msInt /= 60;
  p.Minute = static_cast<int>(msInt % 60);
  p.Hour = static_cast<int>(msInt / 60);
  // 30 December 1899 was a Saturday.
  p.DayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
  return p;
}

TDateTimeParts DecodeDateTime(double value) {
  const std::optional<TDateTimeParts> p = TryDecodeDateTime(value);
  if (!p) throw EiError(QStringLiteral("Invalid date-time value"));
  return *p;
}

double TimeOfDay(double value) { return value - std::floor(value); }

int YearOf(double value) { return DecodeDateTime(value).Year; }
int MonthOf(double value) { return DecodeDateTime(value).Month; }

double IncMonth(double value, std::int64_t months) {
  const TDateTimeParts p = DecodeDateTime(value);
  // Far moves leave the calendar whatever the start; this keeps the arithmetic small.
  if (months > 120000 || months < -120000) throw EiError(QStringLiteral("Invalid date-time value"));
  const std::int64_t total = static_cast<std::int64_t>(p.Year) * 12 + (p.Month - 1) + months;
  const std::int64_t year = total >= 0 ? total / 12 : -((-total + 11) / 12);
  const int month = static_cast<int>(total - year * 12) + 1;
  if (year < 1 || year > 9999) throw EiError(QStringLiteral("Invalid date-time value"));
  const int y = static_cast<int>(year);
  const int day = std::min(p.Day, DaysInMonth(y, month));
  return Checked(TryEncodeDate(y, month, day)) + TimeOfDay(value);
}

double IncYear(double value, std::int64_t years) {
  if (years > 10000 || years < -10000) throw EiError(QStringLiteral("Invalid date-time value"));
  return IncMonth(value, years * 12);
}

double RecodeYear(double value, int year) { return Recode(value, year, std::nullopt, std::nullopt); }
double RecodeMonth(double value, int month) { return Recode(value, std::nullopt, month, std::nullopt); }
double RecodeDay(double value, int day) { return Recode(value, std::nullopt, std::nullopt, day); }

QString InvalidDateTimeMessage(std::optional<int> year, std::optional<int> month, std::optional<int> day,
                               std::optional<int> hour, std::optional<int> minute, std::optional<int> second,
                               std::optional<int> milliSecond, double baseDate) {
  const TFormatSettings& fs = FormatSettings();
  const bool haveBase = baseDate != 0.0;
  TDateTimeParts b;
  if (haveBase) {
    if (const std::optional<TDateTimeParts> p = TryDecodeDateTime(baseDate)) b = *p;
  }
  const QString text = Field(year, b.Year, haveBase, 4) + fs.DateSeparator + Field(month, b.Month, haveBase, 2) + fs.DateSeparator +
                       Field(day, b.Day, haveBase, 2) + QLatin1Char(' ') + Field(hour, b.Hour, haveBase, 2) + fs.TimeSeparator +
                       Field(minute, b.Minute, haveBase, 2) + fs.TimeSeparator + Field(second, b.Second, haveBase, 2) +
                       fs.DecimalSeparator + Field(milliSecond, b.MilliSecond, haveBase, 3);
  return QStringLiteral("''%1'' is not a valid date and time").arg(text);
}
