// The general number form: at most 15 significant digits, fixed-point for ordinary magnitudes,
// scientific otherwise; never dependent on the C locale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>
#include <limits>
#include <string>

#include "platform/Convert.h"

namespace {
struct Case {
  double value;
  const char* text;
};

TEST(FloatToStr, GeneralFormTable) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const Case& c : std::initializer_list<Case>{
           {0.0, "0"},
           {-0.0, "0"},
           {400.0, "400"},
           {12345.0, "12345"},
           {-7.0, "-7"},
           {401.063122923588, "401.063122923588"},
           {0.5, "0.5"},
           {-0.12345, "-0.12345"},
           {0.1 + 0.2, "0.3"},                     // 0.30000000000000004 rounds to 15 digits
           {1.0 / 3.0, "0.333333333333333"},
           {2.0 / 3.0, "0.666666666666667"},
           {-std::log(2.0) / std::log(10.0), "-0.301029995663981"},
           {0.00001, "0.00001"},                   // the smallest fixed-point magnitude
           {0.0000123, "0.0000123"},
           {0.000009, "9E-6"},
           {1.5e-7, "1.5E-7"},
           {-2.5e-300, "-2.5E-300"},
           {4.9406564584124654e-324, "4.94065645841247E-324"},  // denormal
           {123456789012345.0, "123456789012345"},  // 15-digit integer part stays fixed
           {1234567890123456.0, "1.23456789012346E15"},
           {999999999999999.9, "1E15"},             // rounding carries into a 16th digit
           {2e20, "2E20"},
           {-1e100, "-1E100"},
           {1.7976931348623157e308, "1.79769313486232E308"},
           {0.0999999999999999999, "0.1"},
           {9.99999999999999999e-6, "0.00001"},    // rounds up into the fixed range
           {16777216.125, "16777216.125"},
           {inf, "INF"},
           {-inf, "-INF"},
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStr(c.value).toStdString(), std::string(c.text));
  }
  EXPECT_EQ(FloatToStr(std::nan("")).toStdString(), "NAN");
}

TEST(FloatToStr, ExplicitDecimalSeparator) {
  EXPECT_EQ(FloatToStr(401.5, QLatin1Char(',')).toStdString(), "401,5");
  EXPECT_EQ(FloatToStr(1.5e-7, QLatin1Char(',')).toStdString(), "1,5E-7");
  EXPECT_EQ(FormatFixed(200.0, 1, QLatin1Char(',')).toStdString(), "200,0");
}

TEST(FloatToStr, RoundTripsFifteenDigits) {
  // Any value with 15 significant digits comes back unchanged through the text.
  for (double v : {401.063122923588, 0.000123456789012345, 98765.4321098765, -3.14159265358979}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(StrToFloat(FloatToStr(v)), v);
  }
}

TEST(FloatToStr, DigitsAreTheCorrectlyRoundedFifteen) {
  // The digits must be the value's own 15-digit rounding, as printf's exact "%.14e" gives it:
  // random bit patterns over the whole range, everyday magnitudes, ratios, subnormals, values
  // just around 15-digit midpoints and exact midpoints (ties go to the even digit).
  std::vector<double> values = {12345678901234.25, 12345678901234.75, 0.1000000000000005, 1.0000000000000049,
                                9.9999999999999995, 99999999999999.95, 2.2250738585072014e-308,
                                2.2250738585072009e-308, 1.2345678901234567e-310};
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), -53) * 1000.0);
    values.push_back(static_cast<double>(random() % 100000) / static_cast<double>(random() % 9999 + 1));
    values.push_back(std::nextafter(static_cast<double>(random() % 10000000) / 8.0 + 0.5e-7, 0.0));
    // Every decade from 1e-12 to 1e40, and the neighbours of its power of ten.
    const int decade = static_cast<int>(random() % 53) - 12;
    values.push_back((1.0 + std::ldexp(static_cast<double>(random() >> 11), -53) * 9.0) * std::pow(10.0, decade));
    values.push_back(std::nextafter(std::pow(10.0, decade), random() & 1 ? 0.0 : 1e300));
  }
  int wrong = 0;
  for (const double v : values) {
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.14e", v);
    const std::string ours = FloatToStr(v).toStdString();
    // Distinct 15-digit decimals are distinct doubles: equal parses mean equal digits.
    if (std::strtod(ours.c_str(), nullptr) != std::strtod(exact, nullptr) && ++wrong <= 5)
      ADD_FAILURE() << exact << " written as " << ours;
  }
  EXPECT_EQ(wrong, 0);
}

TEST(FormatFixed, OneDecimal) {
  for (const Case& c : std::initializer_list<Case>{
           {200.0, "200.0"}, {456.78, "456.8"}, {999.9, "999.9"}, {-0.04, "0.0"}, {0.05, "0.1"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatFixed(c.value, 1).toStdString(), std::string(c.text));
  }
}
}  // namespace
