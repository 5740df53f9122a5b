#include "chart/files/iDataNumbers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/Convert.h"

char* WriteDataNumber(char* out, double value) { return out + FloatToChars(value, out); }

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
