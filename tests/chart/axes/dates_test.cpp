// Date-times as day counts since 30 December 1899 and their texts. The day counts below were
// worked out by counting days (2000-01-01 is 36526, 2024-02-29 is 45351).
#include <gtest/gtest.h>

#include <QLocale>

#include "chart/axes/iDateTimeFormat.h"
#include "chart/axes/iDateUtils.h"
#include "chart/core/ChartTestSupport.h"
#include "chart/core/iErrors.h"

namespace {
constexpr double kHour = 1.0 / 24;
constexpr double kMinute = 1.0 / 1440;
}  // namespace

TEST(DateUtils, EncodeAndDecodeCalendarDates) {
  struct Case {
    int y, m, d;
    double days;
    int dayOfWeek;   // 1 = Sunday
  };
  for (const Case& c : std::initializer_list<Case>{{1899, 12, 30, 0, 7},
                                                   {1899, 12, 31, 1, 1},
                                                   {1900, 3, 1, 61, 5},
                                                   {2000, 1, 1, 36526, 7},
                                                   {2024, 2, 29, 45351, 5},
                                                   {2025, 3, 1, 45717, 7},
                                                   {1, 1, 1, -693593, 2},
                                                   {9999, 12, 31, 2958465, 6}}) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    ASSERT_TRUE(TryEncodeDate(c.y, c.m, c.d).has_value());
    EXPECT_EQ(*TryEncodeDate(c.y, c.m, c.d), c.days);
    const TDateTimeParts p = DecodeDateTime(c.days + 0.75);
    EXPECT_EQ(p.Year, c.y);
    EXPECT_EQ(p.Month, c.m);
    EXPECT_EQ(p.Day, c.d);
    EXPECT_EQ(p.Hour, 18);
    EXPECT_EQ(p.DayOfWeek, c.dayOfWeek);
  }
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29).has_value());
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29).has_value());   // not a leap year
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29).has_value());    // a leap year
  EXPECT_FALSE(TryEncodeDate(0, 1, 1).has_value());
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1).has_value());
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31).has_value());
}

TEST(DateUtils, TimeOfDayRunsOnThroughNegativeValuesAndRoundsToMilliseconds) {
  TDateTimeParts p = DecodeDateTime(-0.25);   // six hours before 30 December 1899
  EXPECT_EQ(p.Day, 29);
  EXPECT_EQ(p.Hour, 18);
  p = DecodeDateTime(36526 + 13 * kHour + 5 * kMinute + 7.0004 / 86400);
  EXPECT_EQ(p.Hour, 13);
  EXPECT_EQ(p.Minute, 5);
  EXPECT_EQ(p.Second, 7);
  EXPECT_EQ(p.MilliSecond, 0);
  // A time that rounds up to midnight belongs to the next day.
  p = DecodeDateTime(36526 + (86400000 - 0.2) / 86400000.0);
  EXPECT_EQ(p.Day, 2);
  EXPECT_EQ(p.Hour, 0);
  EXPECT_FALSE(TryDecodeDateTime(std::nan("")).has_value());
  EXPECT_FALSE(TryDecodeDateTime(3e6).has_value());
  EXPECT_FALSE(TryDecodeDateTime(-7e5).has_value());
  const std::optional<double> t = TryEncodeDateTime(2000, 1, 1, 18, 30, 0, 500);
  ASSERT_TRUE(t.has_value());
  EXPECT_DOUBLE_EQ(*t, 36526 + 18.5 * kHour + 0.5 / 86400);
}

TEST(DateUtils, AddingMonthsClampsTheDay) {
  struct Case {
    const char* what;
    double from;
    std::int64_t months;
    double to;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"31 Jan 2024 + 1: 29 Feb", 45322.25, 1, 45351.25},
           {"29 Feb 2024 + 12: 28 Feb 2025", 45351, 12, 45351 + 365},
           {"1 Nov 2024 + 2: 1 Jan 2025", 45597, 2, 45658},
           {"1 Jan 2025 - 1: 1 Dec 2024", 45658, -1, 45627},
           {"30 Dec 1899 - 13: 30 Nov 1898", 0, -13, -395},
       }) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.to);
  }
  EXPECT_DOUBLE_EQ(IncYear(45351.5, 1), 45351.5 + 365);
  EXPECT_THROW(IncMonth(2958465, 1), EiError);
  EXPECT_THROW(IncYear(0, -2000), EiError);
  EXPECT_THROW(IncMonth(0, 4000000000000LL), EiError);
}

TEST(DateUtils, RecodingToADateThatDoesNotExistFails) {
  EXPECT_DOUBLE_EQ(RecodeYear(45351.5, 2028), *TryEncodeDate(2028, 2, 29) + 0.5);
  EXPECT_DOUBLE_EQ(RecodeMonth(45322, 3), *TryEncodeDate(2024, 3, 31));
  EXPECT_DOUBLE_EQ(RecodeDay(45322, 1), 45292);
  try {
    RecodeYear(45351 + 13 * kHour, 2023);
    ADD_FAILURE() << "accepted";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "''2023/02/29 13:00:00.000'' is not a valid date and time");
  }
  try {
    RecodeMonth(45322, 4);
    ADD_FAILURE() << "accepted";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "''2024/04/31 00:00:00.000'' is not a valid date and time");
  }
  // Without a base date the fields not given are unknown.
  EXPECT_EQ(InvalidDateTimeMessage(2023, 2, 29, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0),
            "''2023/02/29 ?:?:?.?'' is not a valid date and time");
}

TEST(DateTimeFormat, PatternLanguage) {
  // Saturday 1 January 2000, 18:05:09.042 and Thursday 29 February 2024, 00:30.
  const double t = 36526 + 18 * kHour + 5 * kMinute + 9.042 / 86400;
  const double leap = 45351 + 30 * kMinute;
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"hh:nn:ss", t, "18:05:09"},
           {"h:n:s", t, "18:5:9"},
           {"hh:mm", t, "18:05"},                 // m after h is minutes
           {"hh:nn:ss mm", t, "18:05:09 01"},     // but not after seconds
           {"yyyy-mm-dd", t, "2000-01-01"},
           {"d/m/yy", t, "1/1/00"},
           {"ddd d mmm yyyy", leap, "Thu 29 Feb 2024"},
           {"dddd, mmmm dd", leap, "Thursday, February 29"},
           {"ss.zzz", t, "09.042"},
           {"s.z", t, "9.42"},
           {"h:nn am/pm", t, "6:05 pm"},
           {"h:nn AM/PM", leap, "12:30 AM"},
           {"hh a/p", t, "06 p"},
           {"h ampm", t, "6 PM"},
           {"'day' d \"of\" m", t, "day 1 of 1"},
           {"hh 'am/pm'", t, "18 am/pm"},        // quoted: still a 24-hour clock
           {"HH:NN", t, "18:05"},
           {"hh%", t, "18%"},
           {"c", t, "1/1/2000 6:05:09 PM"},
           {"c", 45351, "2/29/2024"},             // midnight: the date alone
           {"ddddd", leap, "2/29/2024"},
           {"dddddd", leap, "Thursday, February 29, 2024"},
           {"t", t, "6:05 PM"},
           {"tt", leap, "12:30:00 AM"},
       }) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FormatDateTime(QString::fromLatin1(c.pattern), c.value), QString::fromLatin1(c.expected));
  }
}

TEST(DateTimeFormat, LocaleNamesAndSeparators) {
  TFormatSettings fs;
  fs.DateSeparator = QLatin1Char('.');
  fs.TimeSeparator = QLatin1Char('h');
  fs.ShortMonthNames[0] = QStringLiteral("janv.");
  fs.LongDayNames[6] = QStringLiteral("samedi");
  fs.TimePMString = QStringLiteral("soir");
  const double t = 36526 + 18 * kHour;
  EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), t, fs), "01.01.2000 18h00");
  EXPECT_EQ(FormatDateTime(QStringLiteral("dddd d mmm"), t, fs), "samedi 1 janv.");
  EXPECT_EQ(FormatDateTime(QStringLiteral("h ampm"), t, fs), "6 soir");
  EXPECT_THROW(FormatDateTime(QStringLiteral("hh"), 1e12), EiError);
  // A locale format that names itself is not followed for ever.
  fs.ShortDateFormat = QStringLiteral("d c");
  EXPECT_EQ(FormatDateTime(QStringLiteral("c"), 36526, fs), "1 1 ");   // two levels deep, then nothing
}

// Names and separators come from the user's locale; without one they are English.
TEST(DateTimeFormat, SettingsFollowTheLocale) {
  const double t = 36526 + 18 * kHour;   // Saturday 1 January 2000, 18:00
  const TFormatSettings english = FormatSettingsFor(QLocale::c());
  EXPECT_EQ(FormatDateTime(QStringLiteral("dddd d mmmm yyyy, dd/mm hh:nn"), t, english), "Saturday 1 January 2000, 01/01 18:00");
  const TFormatSettings us = FormatSettingsFor(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(FormatDateTime(QStringLiteral("ddd mmm dd/mm hh:nn ampm"), t, us), "Sat Jan 01/01 06:00 PM");
  const TFormatSettings german = FormatSettingsFor(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FormatDateTime(QStringLiteral("dddd d mmmm yyyy, dd/mm hh:nn"), t, german), "Samstag 1 Januar 2000, 01.01 18:00");
  const TFormatSettings finnish = FormatSettingsFor(QLocale(QLocale::Finnish, QLocale::Finland));
  EXPECT_EQ(finnish.TimeSeparator, QLatin1Char('.'));
  EXPECT_EQ(finnish.LongMonthNames[0], QLocale(QLocale::Finnish, QLocale::Finland).monthName(1));
  // Number separators stay as they are: stored values must read back.
  EXPECT_EQ(german.DecimalSeparator, QLatin1Char('.'));
}
