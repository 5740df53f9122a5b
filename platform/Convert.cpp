#include "platform/Convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {
// The trimmed text as plain ASCII, or empty when it holds anything else.
std::string AsciiTrimmed(const QString& text) {
  const QString t = text.trimmed();
  std::string out;
  out.reserve(static_cast<std::size_t>(t.size()));
  for (QChar ch : t) {
    if (ch.unicode() > 127) return {};
    out.push_back(static_cast<char>(ch.unicode()));
  }
  return out;
}
}  // namespace

bool TryStrToInt64(const QString& text, std::int64_t& value) {
  std::string s = AsciiTrimmed(text);
  if (s.empty()) return false;
  std::size_t start = 0;
  if (s[0] == '+') start = 1;
  if (start >= s.size() || s[start] == '+') return false;
  if (s[start] == '-' && start == 1) return false;
  std::int64_t v = 0;
  const char* first = s.data() + start;
  const char* last = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(first, last, v, 10);
  if (ec != std::errc() || ptr != last) return false;
  value = v;
  return true;
}

bool TryStrToInt(const QString& text, int& value) {
  std::int64_t v = 0;
  if (!TryStrToInt64(text, v)) return false;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(v);
  return true;
}

bool TryStrToFloat(const QString& text, double& value, QChar decimalSeparator) {
  std::string s = AsciiTrimmed(text);
  if (s.empty()) return false;
  const char sep = static_cast<char>(decimalSeparator.unicode());
  // Only sign, digits, one separator and an exponent are numbers; from_chars would also take "inf".
  std::string normal;
  bool sawDigit = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char ch = s[i];
    if (ch >= '0' && ch <= '9') { sawDigit = true; normal.push_back(ch); }
    else if (ch == sep) normal.push_back('.');
    else if (ch == '+' || ch == '-' || ch == 'e' || ch == 'E') normal.push_back(ch);
    else return false;
  }
  if (!sawDigit) return false;
  std::size_t start = 0;
  if (normal[0] == '+') {
    start = 1;
    if (start < normal.size() && (normal[start] == '-' || normal[start] == '+')) return false;
  }
  double v = 0;
  const char* first = normal.data() + start;
  const char* last = normal.data() + normal.size();
  auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

int StrToInt(const QString& text) {
  int v = 0;
  if (!TryStrToInt(text, v)) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return v;
}

double StrToFloat(const QString& text) {
  double v = 0;
  if (!TryStrToFloat(text, v)) throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  return v;
}

QString IntToStr(std::int64_t value) { return QString::number(value); }

QString FormatFixed(double value, int decimals, QChar decimalSeparator) {
  if (!std::isfinite(value)) return std::isnan(value) ? QStringLiteral("NAN") : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
  decimals = std::clamp(decimals, 0, 18);
  // Rounds the exact decimal expansion half away from zero, as people round by hand (0.25 -> 0.3).
  // to_chars ignores the C locale, which QApplication sets from the environment (a German locale
  // would make printf write a comma).
  std::vector<char> buf(512);
  const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::fixed, decimals + 80);
  if (ec != std::errc()) return QStringLiteral("0");
  std::string s(buf.data(), end);
  const std::size_t point = s.find('.');
  std::string digits = s.substr(0, point) + s.substr(point + 1, static_cast<std::size_t>(decimals));
  if (s[point + 1 + static_cast<std::size_t>(decimals)] >= '5') {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
    if (i < 0) digits.insert(digits.begin(), '1');
    else ++digits[static_cast<std::size_t>(i)];
  }
  const std::size_t intDigits = digits.size() - static_cast<std::size_t>(decimals);
  std::string out = digits.substr(0, intDigits);
  if (decimals > 0) out += static_cast<char>(decimalSeparator.unicode()) + digits.substr(intDigits);
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (value < 0 && !zero) out.insert(out.begin(), '-');  // no negative zero
  return QString::fromLatin1(out.c_str());
}

namespace {
// The exact powers of ten a double holds.
constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// |value| scaled by 10^k with one rounding (|k| <= 22, an exact power).
double Scaled(double magnitude, int k) { return k >= 0 ? magnitude * kPowersOfTen[k] : magnitude / kPowersOfTen[-k]; }

// Eight decimal digits of v (< 1e8) as chars in one word, the first in its lowest byte: v is
// split into two lanes of four digits, each into two of two, each into two of one, every lane
// divided by a multiplication with its reciprocal (exact for every v below 1e8).
std::uint64_t EightDigits(std::uint32_t v) {
  const std::uint64_t q = (std::uint64_t{v} * 0x68db8bbull) >> 40;                  // v / 10000
  const std::uint64_t x = (std::uint64_t{v} << 32) - q * ((10000ull << 32) - 1);   // lanes v / 10000, v % 10000
  const std::uint64_t d = ((x * 0x147b) >> 19) & 0x7f0000007full;                  // each lane / 100
  const std::uint64_t y = (x << 16) - d * ((100 << 16) - 1);
  const std::uint64_t e = ((y * 0x67) >> 10) & 0x000f000f000f000full;              // each lane / 10
  const std::uint64_t z = (y << 8) - e * ((10 << 8) - 1);
  return z | 0x3030303030303030ull;
}

// The 15-digit rounding of the common magnitudes without a decimal conversion: |value| scaled by
// an exact power of ten to the 15-digit whole range [1e14, 1e15) takes one rounding, to a grid of
// at most 1/8 there, which holds every midpoint between two whole numbers. The scaled value is
// therefore on the same side of a midpoint as the exact one, unless it lies on the midpoint: the
// sign of the scaling's rounding error, exact from a fused multiply-add, decides then. False for
// exact midpoints (ties) and for magnitudes no exact power reaches: the caller takes the exact
// path then. `whole` gets the 15 digits as a whole number, `exponent` the decimal exponent of
// the first.
bool FastFifteenDigits(double value, std::uint64_t& whole, int& exponent) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-7 && magnitude < 1e36)) return false;
  std::uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int binary = static_cast<int>(bits >> 52) - 1022;  // frexp's exponent: every value here is normal
  // floor(log10(magnitude)) or one less (from -8 to 35 here), corrected by the scaled value.
  int e = ((binary - 1) * 78913) >> 18;
  int k = 14 - e;
  double scaled = Scaled(magnitude, k);
  if (scaled >= 1e15) {
    ++e;
    scaled = Scaled(magnitude, --k);
  }
  if (!(scaled >= 1e14 && scaled < 1e15)) return false;
  const double below = std::floor(scaled);
  const double fraction = scaled - below;  // exact: the scaled value has few fractional bits
  bool up = fraction > 0.5;
  if (fraction == 0.5) [[unlikely]] {
    // Exact value minus scaled value: the product's error, or the quotient's remainder over the divisor.
    const double error = k >= 0 ? std::fma(magnitude, kPowersOfTen[k], -scaled) : -std::fma(scaled, kPowersOfTen[-k], -magnitude);
    if (error == 0) return false;
    up = error > 0;
  }
  whole = static_cast<std::uint64_t>(below) + (up ? 1 : 0);
  if (whole == 1000000000000000ull) {  // rounded up to the next power of ten
    whole = 100000000000000ull;
    ++e;
  }
  exponent = e;
  return true;
}

// The general form of a 15-digit whole number `whole` (1e14 <= whole < 1e15) whose first digit
// has the decimal exponent `exponent`. Copies whole blocks of 16 chars, past the text's end but
// within the kFloatTextSize chars of `out`; the text's own chars are written last.
int PutFifteenDigits(char* out, bool negative, std::uint64_t whole, int exponent) {
  char all[40];
  const std::uint64_t high = EightDigits(static_cast<std::uint32_t>(whole / 100000000u));
  const std::uint64_t low = EightDigits(static_cast<std::uint32_t>(whole % 100000000u));
  std::memcpy(all, &high, 8);
  std::memcpy(all + 8, &low, 8);
  std::memset(all + 16, '0', 24);
  const char* digits = all + 1;  // the first of the 16 is always 0
  // Trailing zeros are the top bytes of the words that equal '0'; the first digit is never 0.
  constexpr std::uint64_t kZeros = 0x3030303030303030ull;
  const int count = low != kZeros ? 15 - __builtin_clzll(low ^ kZeros) / 8 : 7 - __builtin_clzll(high ^ kZeros) / 8;
  char* o = out;
  if (negative) *o++ = '-';
  if (exponent < -5 || exponent > 14) {
    *o++ = digits[0];
    if (count > 1) {
      *o++ = '.';
      std::memcpy(o, digits + 1, 16);
      o += count - 1;
    }
    *o++ = 'E';
    o = std::to_chars(o, o + 8, exponent).ptr;
  } else if (exponent < 0) {
    std::memcpy(o, "0.000000", 8);
    o += 1 - exponent;  // "0." and the zeros after the point
    std::memcpy(o, digits, 16);
    o += count;
  } else {
    // The digits past `count` are zeros: a whole number takes its first exponent + 1 as they are.
    const int intDigits = exponent + 1;
    std::memcpy(o, digits, 16);
    o += intDigits;
    if (count > intDigits) {
      *o++ = '.';
      std::memcpy(o, digits + intDigits, 16);
      o += count - intDigits;
    }
  }
  return static_cast<int>(o - out);
}

// The 15-digit rounding of a positive finite value from its shortest round-trip digits, which
// are cheaper to make than to_chars' exact 15-digit form. Both agree: when the shortest form has
// at most 15 digits it is the value's 15-digit rounding, and when it has 16 or 17 no 15-digit
// midpoint can lie between it and the value (a shorter or nearer form would have been chosen),
// so rounding it rounds the value. Only an exact midpoint ("...5" as the 16th and last digit) is
// left to the exact form: false then.
bool ShortestRoundedTo15(double value, char* digits, int& n, int& exponent) {
  // Subnormal values carry fewer than 15 digits of precision: their shortest form says too little.
  if (value < std::numeric_limits<double>::min()) return false;
  char buf[40];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  if (ec != std::errc()) return false;
  // "d.ddde+XX": the exponent's sign and two or three digits end the text.
  const char* e = end - 3;
  while (*e != 'e') --e;
  exponent = 0;
  for (const char* q = e + 2; q < end; ++q) exponent = exponent * 10 + (*q - '0');
  if (e[1] == '-') exponent = -exponent;
  n = 0;
  digits[n++] = buf[0];
  if (buf[1] == '.') {
    std::memcpy(digits + 1, buf + 2, static_cast<std::size_t>(e - (buf + 2)));
    n += static_cast<int>(e - (buf + 2));
  }
  if (n <= 15) return true;
  bool up = digits[15] > '5';
  if (digits[15] == '5') {
    up = std::any_of(digits + 16, digits + n, [](char c) { return c != '0'; });
    if (!up) return false;
  }
  n = 15;
  if (up) {
    int i = 14;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {  // 9.99...9 became 10
      digits[0] = '1';
      n = 1;
      ++exponent;
    }
  }
  return true;
}
}  // namespace

int FloatToChars(double value, char* out) {
  const auto put = [out](const char* text) {
    const int n = static_cast<int>(std::strlen(text));
    std::memcpy(out, text, static_cast<std::size_t>(n));
    return n;
  };
  if (std::isnan(value)) return put("NAN");
  if (std::isinf(value)) return put(value > 0 ? "INF" : "-INF");
  if (value == 0) return put("0");
  // Whole numbers of up to 15 digits are their own 15-digit rounding: written as integers, which
  // is what the general form gives them (the intensity sums of a profile are all whole).
  if (std::fabs(value) < 1e15) {
    const auto whole = static_cast<std::int64_t>(value);
    if (static_cast<double>(whole) == value)
      return static_cast<int>(std::to_chars(out, out + kFloatTextSize, whole).ptr - out);
  }
  // Rounded to 15 significant digits first; the exponent used is the one after rounding, so that
  // 999999999999999.9 becomes 1E15 and not a 16-digit integer. Built in place: a batch writes
  // thousands of these per file.
  const bool negative = value < 0;
  std::uint64_t whole;
  int exponent = 0;
  if (FastFifteenDigits(value, whole, exponent)) return PutFifteenDigits(out, negative, whole, exponent);
  char digits[24];
  int n = 0;
  if (!ShortestRoundedTo15(std::fabs(value), digits, n, exponent)) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    if (ec != std::errc()) return put("0");
    const char* e = std::find(static_cast<const char*>(buf), static_cast<const char*>(end), 'e');
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    n = 0;
    digits[n++] = buf[0];
    for (const char* q = buf + 2; q < e; ++q) digits[n++] = *q;  // 15 significant digits
  }
  // Laid out as the fast path lays out its digits.
  std::uint64_t fifteen = 0;
  for (int i = 0; i < 15; ++i) fifteen = fifteen * 10 + static_cast<std::uint64_t>(i < n ? digits[i] - '0' : 0);
  return PutFifteenDigits(out, negative, fifteen, exponent);
}

QString FloatToStr(double value, QChar decimalSeparator) {
  char buf[kFloatTextSize];
  QString text = QString::fromLatin1(buf, FloatToChars(value, buf));
  if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
  return text;
}
