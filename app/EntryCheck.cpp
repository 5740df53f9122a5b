#include "app/EntryCheck.h"

#include <QRegularExpression>
#include <limits>

#include "platform/Convert.h"

namespace {
// A number written correctly but beyond the range of its type is still a number: it lies beyond
// every limit and is clamped like any other, instead of being refused as no number at all.
// These take a text that the plain conversion has already refused.
// Made per call: worker threads check the ends of their pictures at the same time.
bool OutOfRangeInteger(const QString& text, std::int64_t& value) {
  const QRegularExpression integer(QStringLiteral("^([+-]?)[0-9]+$"));
  const QRegularExpressionMatch m = integer.match(text.trimmed());
  if (!m.hasMatch()) return false;
  value = m.captured(1) == QLatin1String("-") ? std::numeric_limits<std::int64_t>::min()
                                              : std::numeric_limits<std::int64_t>::max();
  return true;
}

bool OutOfRangeReal(const QString& text, double& value) {
  const QRegularExpression real(QStringLiteral("^([+-]?)([0-9]*)\\.?([0-9]*)(?:[eE]([+-]?[0-9]+))?$"));
  const QRegularExpressionMatch m = real.match(text.trimmed());
  const QString whole = m.captured(2), fraction = m.captured(3);
  if (!m.hasMatch() || (whole.isEmpty() && fraction.isEmpty())) return false;
  // The decimal magnitude: digits of the whole part from its first non-zero digit, or minus the
  // zeros that open the fraction, plus the exponent.
  long long magnitude = 0;
  const qsizetype firstWhole = whole.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
  if (firstWhole >= 0) {
    magnitude = whole.size() - firstWhole;
  } else {
    const qsizetype firstFraction = fraction.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
    if (firstFraction < 0) return false;  // zero is never out of range
    magnitude = -firstFraction;
  }
  const QString exponent = m.captured(4);
  if (!exponent.isEmpty()) {
    bool ok = false;
    const long long e = exponent.toLongLong(&ok);
    magnitude = ok ? magnitude + e : (exponent.startsWith(QLatin1Char('-')) ? -1 : 1);
  }
  const bool negative = m.captured(1) == QLatin1String("-");
  const double size = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  value = negative ? -size : size;
  return true;
}

// Both checks: parse the whole text, clamp into the limits with a message.
template <typename T, typename Parse, typename Text>
TEntryCheck Check(const QString& input, T minimum, T maximum, const QString& kind, Parse parse, Text text) {
  TEntryCheck c;
  c.Range = QStringLiteral("Input must be %1 in the range %2 to %3.  Please re-enter.").arg(kind, text(minimum), text(maximum));
  T value{};
  if (!parse(input, value)) {
    c.State = TEntryCheck::Refused;
    c.Message = c.Range;
    return c;
  }
  c.State = TEntryCheck::Accepted;
  if (value < minimum) {
    c.Message = QStringLiteral("Entered value below allowed minimum of %1.  Setting to allowed minimum.").arg(text(minimum));
    c.State = TEntryCheck::Clamped;
    value = minimum;
  } else if (value > maximum) {
    c.Message = QStringLiteral("Entered value above allowed maximum of %1.  Setting to allowed maximum.").arg(text(maximum));
    c.State = TEntryCheck::Clamped;
    value = maximum;
  }
  c.Text = text(value);
  return c;
}
}  // namespace

TEntryCheck CheckIntegerText(const QString& text, std::int64_t minimum, std::int64_t maximum) {
  return Check<std::int64_t>(
      text, minimum, maximum, QStringLiteral("an integer"),
      [](const QString& t, std::int64_t& v) { return TryStrToInt64(t, v) || OutOfRangeInteger(t, v); },
      [](std::int64_t v) { return IntToStr(v); });
}

TEntryCheck CheckRealText(const QString& text, double minimum, double maximum) {
  // Limits, messages and the stored value all carry exactly one decimal. The limits are compared
  // as shown: one derived from a partner box (720.0 - 1) can lie a hair beside the number the
  // message would show, and typing that number must not count as beyond it.
  const auto shown = [](double v) {
    double rounded = v;
    return TryStrToFloat(FormatFixed(v, 1), rounded) ? rounded : v;
  };
  return Check<double>(
      text, shown(minimum), shown(maximum), QStringLiteral("a real number"),
      [](const QString& t, double& v) { return TryStrToFloat(t, v) || OutOfRangeReal(t, v); },
      [](double v) { return FormatFixed(v, 1); });
}
