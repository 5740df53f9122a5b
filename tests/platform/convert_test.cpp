#include <gtest/gtest.h>

#include "platform/Convert.h"

TEST(Convert, ParsesIntegersStrictly) {
  struct Case { const char* text; bool ok; int value; };
  for (const Case& c : std::initializer_list<Case>{
           {"0", true, 0}, {"42", true, 42}, {"-17", true, -17}, {"+5", true, 5}, {"  12 ", true, 12},
           {"2147483647", true, 2147483647}, {"2147483648", false, 0}, {"", false, 0}, {" ", false, 0},
           {"1.0", false, 0}, {"1e3", false, 0}, {"0x10", false, 0}, {"+-1", false, 0}, {"--1", false, 0},
           {"12a", false, 0}, {"\xd9\xa3", false, 0}}) {
    SCOPED_TRACE(c.text);
    int v = -99;
    EXPECT_EQ(TryStrToInt(QString::fromUtf8(c.text), v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
  EXPECT_THROW(StrToInt(QStringLiteral("abc")), EConvertError);
  try {
    StrToInt(QStringLiteral("abc"));
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("'abc' is not a valid integer value"));
  }
}

TEST(Convert, ParsesRealsStrictly) {
  struct Case { const char* text; bool ok; double value; };
  for (const Case& c : std::initializer_list<Case>{
           {"400.0", true, 400.0}, {"-1.5", true, -1.5}, {"+2", true, 2}, {".5", true, 0.5}, {"5.", true, 5},
           {"1e3", true, 1000}, {"2.5E-2", true, 0.025}, {" 7 ", true, 7}, {"inf", false, 0}, {"nan", false, 0},
           {"1e999", false, 0}, {"4,5", false, 0}, {"1.2.3", false, 0}, {"e5", false, 0}, {"", false, 0},
           {"-", false, 0}, {"0x1p3", false, 0}}) {
    SCOPED_TRACE(c.text);
    double v = -99;
    EXPECT_EQ(TryStrToFloat(QString::fromLatin1(c.text), v), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value);
    }
  }
  double v = 0;
  EXPECT_TRUE(TryStrToFloat(QStringLiteral("4,5"), v, QLatin1Char(',')));
  EXPECT_EQ(v, 4.5);
  try {
    StrToFloat(QStringLiteral("x1"));
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("'x1' is not a valid floating point value"));
  }
}

TEST(Convert, FormatsFixedWithOneDecimal) {
  struct Case { double value; const char* text; };
  for (const Case& c : std::initializer_list<Case>{{200, "200.0"}, {456.78, "456.8"}, {999.9, "999.9"}, {719.04, "719.0"},
                                                   {-0.04, "0.0"}, {-3.25, "-3.3"}, {0.25, "0.3"}, {0.05, "0.1"},
                                                   {9.96, "10.0"}, {99.95, "100.0"}, {1e20, "100000000000000000000.0"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatFixed(c.value, 1), QString::fromLatin1(c.text));
  }
  EXPECT_EQ(FormatFixed(2.5, 1, QLatin1Char(',')), QStringLiteral("2,5"));
}
