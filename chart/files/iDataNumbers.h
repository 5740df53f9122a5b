#pragma once
// Numbers of the data files (a channel's and the whole chart's): written in the general
// 15-significant-digit form with "." whatever the locale, read with "." or "," as the decimal
// separator. Working on bytes, so that millions of points need no text objects.
#include <QString>
#include <cstddef>

#include "platform/Convert.h"

// The longest text WriteDataNumber produces ("-1.23456789012345E-308" and the like).
inline constexpr std::size_t kDataNumberMaxChars = kFloatTextSize;

// Writes value as FloatToStr does (same bytes) at out, which must have room for
// kDataNumberMaxChars; returns the end. Not for NaN or infinity (the callers write gaps).
char* WriteDataNumber(char* out, double value);

// Reads an optional sign, digits with one optional decimal point ("." or ",") and an optional
// exponent, with blanks around them: the platform's real conversion with either separator.
// Infinities, NaN, hexadecimal and values beyond the double range are not numbers.
bool TryParseDataNumber(const char* first, const char* last, double& value);
// The same, raising the platform's conversion error that names the text.
double ParseDataNumber(const char* first, const char* last);
double ParseDataNumber(const QString& text);
