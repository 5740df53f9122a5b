#pragma once
// The user's number format. The program carries its own built-in settings (a dot between the
// integer and the fraction) rather than reading the machine's; tests and callers may change them.
#include <QChar>
#include <QString>
#include <array>

class QLocale;

struct TFormatSettings {
  QChar DecimalSeparator = QLatin1Char('.');
  QChar ThousandSeparator = QLatin1Char(',');
  // Date and time texts: the separators that '/' and ':' of a pattern stand for, the names of
  // months (January first) and days (Sunday first), and the texts of the 12-hour clock.
  QChar DateSeparator = QLatin1Char('/');
  QChar TimeSeparator = QLatin1Char(':');
  std::array<QString, 12> ShortMonthNames{QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
                                          QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
                                          QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
  std::array<QString, 12> LongMonthNames{QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
                                         QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
                                         QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
                                         QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
  std::array<QString, 7> ShortDayNames{QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                                       QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
  std::array<QString, 7> LongDayNames{QStringLiteral("Sunday"),   QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                                      QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                      QStringLiteral("Saturday")};
  QString TimeAMString = QStringLiteral("AM");
  QString TimePMString = QStringLiteral("PM");
  // Whole date and time formats in the date-time pattern language.
  QString ShortDateFormat = QStringLiteral("m/d/yyyy");
  QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
  QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
  QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
};

// The program's settings: at first use, those of the user's locale (QLocale's default), English
// where no locale is set.
TFormatSettings& FormatSettings();

// Month and day names, the 12-hour clock's texts and the date and time separators of a locale;
// the number separators and whole formats stay as they are, so that stored values read back.
// The C locale (none set) gives the English defaults.
TFormatSettings FormatSettingsFor(const QLocale& locale);

// Sets the settings for the life of the object and puts the previous ones back afterwards.
class TFormatSettingsScope {
 public:
  explicit TFormatSettingsScope(const TFormatSettings& settings) : saved_(FormatSettings()) { FormatSettings() = settings; }
  ~TFormatSettingsScope() { FormatSettings() = saved_; }
  TFormatSettingsScope(const TFormatSettingsScope&) = delete;
  TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

 private:
  TFormatSettings saved_;
};
