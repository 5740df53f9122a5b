#pragma once
// The user's number format. The program carries its own built-in settings (a dot between the
// integer and the fraction) rather than reading the machine's; tests and callers may change them.
#include <QChar>

struct TFormatSettings {
  QChar DecimalSeparator = QLatin1Char('.');
  QChar ThousandSeparator = QLatin1Char(',');
};

TFormatSettings& FormatSettings();

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
