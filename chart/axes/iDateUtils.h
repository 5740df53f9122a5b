#pragma once
// Date-times as the chart counts them: days since 30 December 1899, 00:00, the fraction being the
// time of day, in the proleptic Gregorian calendar. The day of a value is its floor, so time runs
// on continuously through negative values (-0.25 is 29 December 1899, 18:00).
#include <QString>
#include <cstdint>
#include <optional>

// The calendar's range: 1 January 0001 up to (not including) 1 January 10000.
inline constexpr double kDateTimeFirstDay = -693593.0;
inline constexpr double kDateTimeEndDay = 2958466.0;
inline constexpr double kMSecsPerDay = 86400000.0;

struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
  int DayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

bool IsLeapYear(int year);
// Days of the month (1..12) in the year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// The day count of a calendar date; nothing for a date that does not exist or lies outside
// years 1 .. 9999.
std::optional<double> TryEncodeDate(int year, int month, int day);
std::optional<double> TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int milliSecond);

// The parts of a date-time, the time rounded to the nearest millisecond (half to even); a time
// that rounds up to midnight belongs to the next day. Nothing for a value that is not finite or
// lies outside the calendar.
std::optional<TDateTimeParts> TryDecodeDateTime(double value);
// As TryDecodeDateTime, raising EiError ("Invalid date-time value") where that gives nothing.
TDateTimeParts DecodeDateTime(double value);

// The time of day as a fraction of a day (value minus its day).
double TimeOfDay(double value);
int YearOf(double value);
int MonthOf(double value);

// Moves by whole months (or years), keeping the time of day and the day of month, which is
// clamped to the last day of the target month (31 January plus one month is 28 or 29
// February). Raises EiError when the result leaves the calendar.
double IncMonth(double value, std::int64_t months);
double IncYear(double value, std::int64_t years);

// Replace one calendar field and keep the others. A date that does not exist (29 February of a
// common year, day 31 of a 30-day month) raises EiError with
// "''<year>/<month>/<day> <hour>:<minute>:<second>.<ms>'' is not a valid date and time".
double RecodeYear(double value, int year);
double RecodeMonth(double value, int month);
double RecodeDay(double value, int day);

// The text of that failure for the requested fields; a field not given is taken from the base
// date, or shown as "?" when the base date is 0. Separators come from the format settings.
QString InvalidDateTimeMessage(std::optional<int> year, std::optional<int> month, std::optional<int> day,
                               std::optional<int> hour, std::optional<int> minute, std::optional<int> second,
                               std::optional<int> milliSecond, double baseDate);
