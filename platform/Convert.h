#pragma once
// Text and number conversions with the platform's behaviour: parsing raises EConvertError with a
// clear message; numbers are formatted with an explicit decimal separator.
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>

// The platform's conversion error. Its message is what the user sees.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

// Accepts an optional sign and decimal digits, with blanks around them; nothing else.
bool TryStrToInt(const QString& text, int& value);
bool TryStrToInt64(const QString& text, std::int64_t& value);
// Accepts an optional sign, digits with an optional decimal point and an optional exponent,
// with blanks around them. Infinities and NaN are not numbers here.
bool TryStrToFloat(const QString& text, double& value, QChar decimalSeparator = QLatin1Char('.'));

int StrToInt(const QString& text);        // raises EConvertError
double StrToFloat(const QString& text);   // raises EConvertError

QString IntToStr(std::int64_t value);
// The general form with at most 15 significant digits: fixed-point without trailing zeros for
// magnitudes from 0.00001 whose integer part has at most 15 digits (400, 401.063122923588),
// otherwise scientific with an exponent signed only when negative (1.5E-7, 2E20).
QString FloatToStr(double value, QChar decimalSeparator = QLatin1Char('.'));
// FloatToStr's text with '.' written into `out` (at least kFloatTextSize chars, not terminated);
// returns its length.
inline constexpr int kFloatTextSize = 32;
int FloatToChars(double value, char* out);
// Fixed-point with exactly `decimals` digits after the separator (200 with 1 gives "200.0").
QString FormatFixed(double value, int decimals, QChar decimalSeparator = QLatin1Char('.'));
