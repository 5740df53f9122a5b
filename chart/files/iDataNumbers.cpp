#include "chart/files/iDataNumbers.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Convert.h"

namespace {

// The 15 significant digits of value (trailing zeros kept) and its decimal exponent after
// rounding. The shortest digits that read back as value lie within half a unit in the last place
// of it, which is less than 12 units of the 17th significant digit: rounded to 15 digits they give
// what the exact value gives, unless their 16th and 17th digits lie that close to the midpoint
// (50). Only then is the slower exact conversion needed.
int SignificantDigits(double value, char digits[15]) {
  char buf[40];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const char* p = buf + (buf[0] == '-' ? 1 : 0);
  char all[20];
  int count = 0;
  all[count++] = p[0];
  const char* e = p + 1;
  if (*e == '.')
    for (++e; *e != 'e'; ++e) all[count++] = *e;
  int exponent = 0;
  std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
  // Below the normal range a unit in the last place is no longer that small.
  const bool subnormal = std::fabs(value) < DBL_MIN;
  if (count <= 15 && !subnormal) {
    for (int i = 0; i < 15; ++i) digits[i] = i < count ? all[i] : '0';
    return exponent;
  }
  const int tail = count > 15 ? (all[15] - '0') * 10 + (count > 16 ? all[16] - '0' : 0) : 0;
  if (!subnormal && (tail < 38 || tail > 62)) {
    std::memcpy(digits, all, 15);
    if (tail > 50) {
      int i = 14;
      for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits[0] = '1';
        ++exponent;
      }
    }
    return exponent;
  }
  // Near a midpoint: the exact decimal expansion decides.
  auto [end2, ec2] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  p = buf + (buf[0] == '-' ? 1 : 0);
  digits[0] = p[0];
  std::memcpy(digits + 1, p + 2, 14);
  e = p + 16;
  exponent = 0;
  std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end2, exponent);
  return exponent;
}

// The exact powers of ten a double holds.
constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// |value| scaled by 10^k with one rounding (|k| <= 22, an exact power).
double Scaled(double magnitude, int k) { return k >= 0 ? magnitude * kPowersOfTen[k] : magnitude / kPowersOfTen[-k]; }

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void PutEightDigits(char* out, std::uint32_t v) {
  const std::uint32_t high = v / 10000, low = v % 10000;
  std::memcpy(out, kDigitPairs + 2 * (high / 100), 2);
  std::memcpy(out + 2, kDigitPairs + 2 * (high % 100), 2);
  std::memcpy(out + 4, kDigitPairs + 2 * (low / 100), 2);
  std::memcpy(out + 6, kDigitPairs + 2 * (low % 100), 2);
}

// SignificantDigits for the common magnitudes without a decimal conversion: |value| scaled by
// an exact power of ten to the 15-digit whole range [1e14, 1e15) takes one rounding, less than
// 0.0625 there; the whole number nearest to it is therefore the exact one unless the scaled value
// lies near a midpoint between two whole numbers. False for those and for magnitudes no exact
// power reaches: the caller takes the exact path then.
bool FastSignificantDigits(double value, char digits[15], int& exponent) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-7 && magnitude < 1e36)) return false;
  int binary;
  std::frexp(magnitude, &binary);
  // floor(log10(magnitude)) or one less (from -8 to 35 here), corrected by the scaled value.
  int e = ((binary - 1) * 78913) >> 18;
  double scaled = Scaled(magnitude, 14 - e);
  if (scaled >= 1e15) scaled = Scaled(magnitude, 14 - ++e);
  if (!(scaled >= 1e14 && scaled < 1e15)) return false;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;  // exact: the scaled value has few fractional bits
  if (fraction > 0.4 && fraction < 0.6) return false;
  std::uint64_t n = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  if (n == 1000000000000000ull) {  // rounded up to the next power of ten
    n = 100000000000000ull;
    ++e;
  }
  // Two halves of eight digits, two digits at a time: no chain of fifteen divisions.
  char all[16];
  PutEightDigits(all, static_cast<std::uint32_t>(n / 100000000u));
  PutEightDigits(all + 8, static_cast<std::uint32_t>(n % 100000000u));
  std::memcpy(digits, all + 1, 15);
  exponent = e;
  return true;
}

}  // namespace

char* WriteDataNumber(char* out, double value) {
  if (value == 0) {
    *out++ = '0';
    return out;
  }
  if (value < 0) *out++ = '-';
  char digits[16];
  int exponent;
  if (!FastSignificantDigits(value, digits, exponent)) exponent = SignificantDigits(value, digits);
  int count = 15;
  while (count > 1 && digits[count - 1] == '0') --count;
  if (exponent < -5 || exponent > 14) {
    *out++ = digits[0];
    if (count > 1) {
      *out++ = '.';
      std::memcpy(out, digits + 1, static_cast<std::size_t>(count - 1));
      out += count - 1;
    }
    *out++ = 'E';
    return std::to_chars(out, out + 8, exponent).ptr;
  }
  if (exponent < 0) {
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
    std::memcpy(out, digits, static_cast<std::size_t>(count));
    return out + count;
  }
  const int intDigits = exponent + 1;
  if (count <= intDigits) {
    std::memcpy(out, digits, static_cast<std::size_t>(count));
    out += count;
    for (int i = count; i < intDigits; ++i) *out++ = '0';
    return out;
  }
  std::memcpy(out, digits, static_cast<std::size_t>(intDigits));
  out += intDigits;
  *out++ = '.';
  std::memcpy(out, digits + intDigits, static_cast<std::size_t>(count - intDigits));
  return out + (count - intDigits);
}

namespace {
bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

bool TryParseDataNumber(const char* first, const char* last, double& value) {
  while (first < last && Blank(*first)) ++first;
  while (last > first && Blank(last[-1])) --last;
  if (first == last) return false;
  // Only sign, digits, one kind of decimal separator and an exponent are numbers; from_chars
  // alone would also take "inf" and "nan".
  bool digit = false, dot = false, comma = false;
  for (const char* p = first; p < last; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.') dot = true;
    else if (c == ',') comma = true;
    else if (c != '+' && c != '-' && c != 'e' && c != 'E') return false;
  }
  if (!digit || (dot && comma)) return false;
  if (*first == '+') {
    ++first;
    if (first < last && (*first == '+' || *first == '-')) return false;
  }
  const std::size_t size = static_cast<std::size_t>(last - first);
  double v = 0;
  std::from_chars_result r;
  if (comma) {
    std::string copy(first, size);
    for (char& c : copy)
      if (c == ',') c = '.';
    r = std::from_chars(copy.data(), copy.data() + copy.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != copy.data() + copy.size()) return false;
  } else {
    r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last) return false;
  }
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

double ParseDataNumber(const char* first, const char* last) {
  double value;
  if (TryParseDataNumber(first, last, value)) return value;
  return StrToFloat(QString::fromUtf8(first, last - first));  // raises with the platform's message
}

double ParseDataNumber(const QString& text) {
  double value;
  if (TryStrToFloat(text, value, QLatin1Char('.')) || TryStrToFloat(text, value, QLatin1Char(','))) return value;
  return StrToFloat(text);
}
