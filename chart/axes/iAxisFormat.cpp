#include "chart/axes/iAxisFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/Convert.h"

namespace {

constexpr int kMaxDecimals = 18;

// trunc(log10 |v|) for a finite non-zero v; log10 is exact at powers of ten.
int TruncLog10(double v) { return static_cast<int>(std::trunc(std::log10(std::fabs(v)))); }

}  // namespace

int DecimalsForPrecision(int precision, TiPrecisionStyle style, double reference) {
  if (style == ipsFixedDecimalPoints) return std::clamp(precision, 0, kMaxDecimals);
  if (precision <= 0) return 0;
  const double d = std::fabs(reference);
  if (!std::isfinite(d)) return 0;
  long long n = 0;
  if (d != 0.0) n = static_cast<long long>(precision) - (TruncLog10(d) + 1);
  if (d < 1.0) ++n;
  return static_cast<int>(std::clamp<long long>(n, 0, kMaxDecimals));
}

QString FormatFixedValue(double value, int decimals) {
  return FormatFixed(value, std::clamp(decimals, 0, kMaxDecimals), FormatSettings().DecimalSeparator);
}

QString FormatExponentValue(double value, int significant) {
  significant = std::clamp(significant, 1, 17);
  if (!std::isfinite(value)) return FormatFixed(value, 0);
  // The exact expansion with plenty of digits, rounded by hand half away from zero.
  char buf[128];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 40);
  if (ec != std::errc()) return QStringLiteral("Error");
  const std::string s(buf, end);
  const std::size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  int exponent = std::stoi(s.substr(e + 1));
  std::string kept = digits.substr(0, static_cast<std::size_t>(significant));
  if (digits[static_cast<std::size_t>(significant)] >= '5') {
    int i = significant - 1;
    for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i) kept[static_cast<std::size_t>(i)] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
      kept.pop_back();
      ++exponent;
    } else {
      ++kept[static_cast<std::size_t>(i)];
    }
  }
  if (value == 0.0) exponent = 0;
  QString text = QString::fromLatin1(kept.substr(0, 1).c_str());
  if (significant > 1) text += FormatSettings().DecimalSeparator + QString::fromLatin1(kept.substr(1).c_str());
  text += QString(QLatin1Char('E')) + QLatin1Char(exponent < 0 ? '-' : '+') + QStringLiteral("%1").arg(std::abs(exponent), 3, 10, QLatin1Char('0'));
  if (value < 0) text.prepend(QLatin1Char('-'));
  return text;
}

std::optional<QString> FormatPrefixValue(double value, int precision, TiPrecisionStyle style, double span) {
  if (!std::isfinite(value)) return std::nullopt;
  const int e = value == 0.0 ? 0 : 3 * static_cast<int>(std::trunc(std::log10(std::fabs(value)) / 3.0));
  static const char* const kPrefixes[] = {"y", "z", "a", "f", "p", "n", "\xB5", "m", "", "K", "M", "G", "T", "P", "E", "Z", "Y"};
  // Scaled by multiplying with a power of ten where the exponent is negative: 0.0005 * 1000 is
  // 0.5, while 0.0005 / 0.001 is not.
  const double scaled = e >= 0 ? value / std::pow(10.0, e) : value * std::pow(10.0, -e);
  const int decimals = DecimalsForPrecision(precision, style, scaled);
  if (span > 1e-10 && value > -1e-12 && value < 1e-12) {
    // Rounding noise around zero on an ordinary scale reads as zero.
    if (decimals == 0) return QStringLiteral("0");
    return QStringLiteral("0") + FormatSettings().DecimalSeparator + QString(decimals, QLatin1Char('0'));
  }
  if (e < -24 || e > 24) return std::nullopt;
  return FormatFixedValue(scaled, decimals) + QString::fromLatin1(kPrefixes[(e + 24) / 3]);
}

QString FormatPrice32ndsValue(double value) {
  if (!std::isfinite(value)) return FormatFixed(value, 0);
  const double shifted = std::fabs(value) + 1.0 / 512.0;
  double whole = std::trunc(shifted);
  long long k = static_cast<long long>(std::nearbyint((shifted - whole) * 1024.0));
  if (k >= 1024) {
    whole += 1.0;
    k -= 1024;
  }
  QString text = FormatFixed(whole, 0) + QLatin1Char('.') + QStringLiteral("%1").arg(k / 32, 2, 10, QLatin1Char('0')) +
                 QString::number((k % 32) / 4);
  if (value < 0 && (whole != 0.0 || k / 4 != 0)) text.prepend(QLatin1Char('-'));
  return text;
}

QString FormatThousandsValue(double value, int decimals) {
  const TFormatSettings& fs = FormatSettings();
  QString fixed = FormatFixed(value, std::clamp(decimals, 0, kMaxDecimals), fs.DecimalSeparator);
  if (!std::isfinite(value)) return fixed;
  const bool negative = fixed.startsWith(QLatin1Char('-'));
  if (negative) fixed.remove(0, 1);
  int intEnd = fixed.indexOf(fs.DecimalSeparator);
  if (intEnd < 0 || decimals <= 0) intEnd = fixed.size();
  for (int at = intEnd - 3; at > 0; at -= 3) fixed.insert(at, fs.ThousandSeparator);
  if (negative) fixed.prepend(QLatin1Char('-'));
  return fixed;
}
