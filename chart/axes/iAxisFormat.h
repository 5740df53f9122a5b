#pragma once
// Value texts of axes, one value at a time: the number styles an axis offers for its labels,
// the data cursor and the legend. The axis picks the style and its settings; these functions
// only turn a number into text.
#include <QString>
#include <optional>

#include "platform/Locale.h"

enum TiPlotTextFormat : int { iptfValue, iptfExponent, iptfPrefix, iptfDateTime, iptfPrice32nds, iptfThousands };
enum TiPrecisionStyle : int { ipsSignificantDigits, ipsFixedDecimalPoints };

// Decimals for a fixed-point text: Precision itself for fixed decimals; for significant digits
// as many as give Precision significant digits for a number of the size of Reference (3 gives
// 0 decimals for 100, 2 for 5, 3 for 0.5). Always within 0 .. 18.
int DecimalsForPrecision(int precision, TiPrecisionStyle style, double reference);

// Fixed-point with the locale's decimal separator, rounded half away from zero.
QString FormatFixedValue(double value, int decimals);

// Scientific notation with `significant` digits (1 .. 17) and at least three exponent digits:
// 1500 with 3 gives "1.50E+003". Rounded half away from zero.
QString FormatExponentValue(double value, int significant);

// Engineering prefixes (K, M, m, micro sign, ...) on groups of three decimal exponents; the
// exponent group is truncated toward zero, so 0.001 < |value| < 1 gets none. Nothing (the text
// "Unknown") beyond 10^24 and 10^-24. A value within 1e-12 of zero on a scale wider than 1e-10
// reads as zero with the decimals it would have had.
std::optional<QString> FormatPrefixValue(double value, int precision, TiPrecisionStyle style, double span);

// Prices in 32nds: the whole part, ".", the 32nds with two digits and the quarter 32nds with
// one (100.5 gives "100.160"). The magnitude is formatted and the sign put before it; 32/32
// carries into the whole part.
QString FormatPrice32ndsValue(double value);

// Thousands grouped with the locale's separator, then the decimals (none when 0).
QString FormatThousandsValue(double value, int decimals);
