#include "chart/files/iDataNumbers.h"

#include <charconv>
#include <cfloat>
#include <cmath>
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

}  // namespace

char* WriteDataNumber(char* out, double value) {
  if (value == 0) {
    *out++ = '0';
    return out;
  }
  if (value < 0) *out++ = '-';
  char digits[16];
  const int exponent = SignificantDigits(value, digits);
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
