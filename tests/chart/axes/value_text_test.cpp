// Value texts: decimals for a precision, every text format and precision style, the
// customising event, the cursor and legend settings and label widths.
#include "chart/axes/AxisTestSupport.h"
#include "chart/axes/iAxisFormat.h"

TEST(DecimalsForPrecision, SignificantDigitsAndFixedDecimals) {
  struct Case {
    int precision;
    TiPrecisionStyle style;
    double reference;
    int decimals;
  };
  for (const Case& c : std::initializer_list<Case>{
           {3, ipsSignificantDigits, 100, 0},
           {3, ipsSignificantDigits, 5, 2},
           {3, ipsSignificantDigits, 0.5, 3},
           {3, ipsSignificantDigits, -5, 2},
           {3, ipsSignificantDigits, 999, 0},
           {3, ipsSignificantDigits, 1000, 0},      // would be -1
           {3, ipsSignificantDigits, 0.05, 4},      // trunc(log10 0.05) = -1: 3 - 0 + 1
           {3, ipsSignificantDigits, 0, 1},         // nothing from the size, one for d < 1
           {4, ipsSignificantDigits, 10, 2},        // log10 exact at powers of ten
           {0, ipsSignificantDigits, 5, 0},
           {-2, ipsSignificantDigits, 5, 0},
           {3, ipsSignificantDigits, 1e-30, 18},    // bounded
           {3, ipsSignificantDigits, std::nan(""), 0},
           {3, ipsFixedDecimalPoints, 1e6, 3},
           {25, ipsFixedDecimalPoints, 1, 18},
           {-1, ipsFixedDecimalPoints, 1, 0},
       }) {
    SCOPED_TRACE(testing::Message() << c.precision << " " << c.style << " " << c.reference);
    EXPECT_EQ(DecimalsForPrecision(c.precision, c.style, c.reference), c.decimals);
  }
}

TEST(ValueFormats, ExponentPrefixPriceAndThousands) {
  struct Case {
    const char* what;
    QString text;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"exponent 1500", FormatExponentValue(1500, 3), "1.50E+003"},
           {"exponent negative", FormatExponentValue(-0.00012345, 3), "-1.23E-004"},
           {"exponent carry", FormatExponentValue(9.9951, 3), "1.00E+001"},
           {"exponent half away", FormatExponentValue(0.125, 2), "1.3E-001"},
           {"exponent zero", FormatExponentValue(0, 3), "0.00E+000"},
           {"exponent one digit", FormatExponentValue(1e300, 1), "1E+300"},
           {"exponent digits bounded", FormatExponentValue(2, 40), "2.0000000000000000E+000"},
           {"exponent at least one digit", FormatExponentValue(2, 0), "2E+000"},
           {"prefix 1500", *FormatPrefixValue(1500, 3, ipsSignificantDigits, 100), "1.50K"},
           {"prefix 0.5", *FormatPrefixValue(0.5, 3, ipsSignificantDigits, 100), "0.500"},
           {"prefix 0.005", *FormatPrefixValue(0.005, 3, ipsSignificantDigits, 100), "0.00500"},
           {"prefix 0.0005", *FormatPrefixValue(0.0005, 3, ipsSignificantDigits, 100), "0.500m"},
           {"prefix -2.5e6", *FormatPrefixValue(-2.5e6, 3, ipsSignificantDigits, 100), "-2.50M"},
           {"prefix micro", *FormatPrefixValue(1e-6, 3, ipsSignificantDigits, 1e-5), "1.00\xB5"},
           {"prefix 1000", *FormatPrefixValue(1000, 2, ipsFixedDecimalPoints, 100), "1.00K"},
           {"prefix yotta", *FormatPrefixValue(3e24, 3, ipsSignificantDigits, 1e25), "3.00Y"},
           {"prefix noise", *FormatPrefixValue(3e-13, 3, ipsSignificantDigits, 100), "0.000"},
           {"prefix zero", *FormatPrefixValue(0, 3, ipsSignificantDigits, 100), "0.0"},
           {"price 100.5", FormatPrice32ndsValue(100.5), "100.160"},
           {"price 99.03125", FormatPrice32ndsValue(99.03125), "99.010"},
           {"price quarter", FormatPrice32ndsValue(2 + 7.5 / 32), "2.074"},
           {"price negative", FormatPrice32ndsValue(-100.5), "-100.160"},
           {"price carries 32/32", FormatPrice32ndsValue(0.9976), "1.000"},
           {"price small negative", FormatPrice32ndsValue(-0.001), "0.000"},
           {"thousands", FormatThousandsValue(1234567.891, 0), "1,234,568"},
           {"thousands decimals", FormatThousandsValue(1234567.891, 2), "1,234,567.89"},
           {"thousands negative", FormatThousandsValue(-1234.5, 2), "-1,234.50"},
           {"thousands short", FormatThousandsValue(999, 1), "999.0"},
       }) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.text, QString::fromLatin1(c.expected));
  }
  EXPECT_FALSE(FormatPrefixValue(1e27, 3, ipsSignificantDigits, 1e28).has_value());
  EXPECT_FALSE(FormatPrefixValue(1e-27, 3, ipsSignificantDigits, 1e-28).has_value());
}

TEST(ValueFormats, LocaleSeparators) {
  TFormatSettings german;
  german.DecimalSeparator = QLatin1Char(',');
  german.ThousandSeparator = QLatin1Char('.');
  TFormatSettingsScope scope(german);
  EXPECT_EQ(FormatThousandsValue(-1234567.5, 1), "-1.234.567,5");
  EXPECT_EQ(FormatExponentValue(1500, 3), "1,50E+003");
  EXPECT_EQ(FormatFixedValue(2.5, 2), "2,50");
}

using AxisText = AxisFixture;

TEST_F(AxisText, LabelTextOfEveryFormat) {
  struct Case {
    const char* what;
    TiPlotTextFormat format;
    int precision;
    TiPrecisionStyle style;
    double span, value;
    const char* pattern;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"value span 100", iptfValue, 3, ipsSignificantDigits, 100, 40, "", "40"},
           {"value span 5", iptfValue, 3, ipsSignificantDigits, 5, 0.5, "", "0.50"},
           {"value fixed", iptfValue, 3, ipsFixedDecimalPoints, 5, 0.5, "", "0.500"},
           {"value rounds half away", iptfValue, 1, ipsFixedDecimalPoints, 5, 0.25, "", "0.3"},
           {"value precision bounded", iptfValue, 1000, ipsFixedDecimalPoints, 5, 1, "", "1.000000000000000000"},
           {"exponent", iptfExponent, 3, ipsSignificantDigits, 100, 1500, "", "1.50E+003"},
           {"exponent fixed", iptfExponent, 2, ipsFixedDecimalPoints, 100, 1500, "", "1.50E+003"},
           {"exponent fixed, precision INT_MAX", iptfExponent, std::numeric_limits<int>::max(), ipsFixedDecimalPoints, 100,
            1500, "", "1.5000000000000000E+003"},
           {"exponent, precision INT_MAX", iptfExponent, std::numeric_limits<int>::max(), ipsSignificantDigits, 100, 1500, "",
            "1.5000000000000000E+003"},
           {"prefix", iptfPrefix, 3, ipsSignificantDigits, 100, 1500, "", "1.50K"},
           {"prefix beyond", iptfPrefix, 3, ipsSignificantDigits, 100, 1e30, "", "Unknown"},
           {"price", iptfPrice32nds, 3, ipsSignificantDigits, 100, 100.5, "", "100.160"},
           {"thousands", iptfThousands, 3, ipsSignificantDigits, 5, 12345.678, "", "12,345.68"},
           {"date-time", iptfDateTime, 3, ipsSignificantDigits, 1, 36526.75, "hh:nn:ss", "18:00:00"},
           {"date-time J", iptfDateTime, 3, ipsSignificantDigits, 1, 36526.75, "jhh:nn", "36526 18:00"},
           {"date-time blanks trimmed", iptfDateTime, 3, ipsSignificantDigits, 1, 36526.75, "  hh  ", "18"},
           {"date-time outside the calendar", iptfDateTime, 3, ipsSignificantDigits, 1, 1e9, "hh:nn", "Error"},
       }) {
    SCOPED_TRACE(c.what);
    axis.SetSpan(c.span);
    axis.SetLabelsFormatStyle(c.format);
    axis.SetLabelsPrecision(c.precision);
    axis.SetLabelsPrecisionStyle(c.style);
    axis.SetDateTimeFormat(QString::fromLatin1(c.pattern));
    EXPECT_EQ(axis.LabelText(c.value), QString::fromLatin1(c.expected));
  }
}

TEST_F(AxisText, LogarithmicValuesUseTheLabelPrecision) {
  axis.SetScaleType(ipstLog10);
  axis.SetMinSpan(1, 999);
  axis.SetCursorUseDefaultFormat(false);
  axis.SetCursorPrecision(6);   // not used by the logarithmic value style
  EXPECT_EQ(axis.LabelText(10), "10.0");      // 3 - 1 - 1 decimals
  EXPECT_EQ(axis.LabelText(0.02), "0.020");   // 3 - (-1) - 1
  EXPECT_EQ(axis.LabelText(5000), "5000");
  EXPECT_EQ(axis.CursorText(10), "10.0");
  axis.SetLabelsPrecisionStyle(ipsFixedDecimalPoints);
  EXPECT_EQ(axis.LabelText(10), "10.000");
  // Not above zero: "Unknown", without the customising event.
  EXPECT_EQ(axis.LabelText(0), "Unknown");
  EXPECT_EQ(axis.LabelText(-3), "Unknown");
  EXPECT_EQ(owner.Customized, 5);
}

TEST_F(AxisText, CustomizingEventReplacesTheText) {
  owner.Customize = [](double value, QString& text) {
    if (value == 20) text = QStringLiteral("  twenty\r\nper\rcent\nend ");
  };
  EXPECT_EQ(axis.LabelText(20), "twenty\r\nper\rcent\nend");
  EXPECT_EQ(axis.CursorText(20), "twenty per cent\nend");
  EXPECT_EQ(axis.LegendText(20), "twenty per cent\nend");
  EXPECT_EQ(axis.CursorValueText(20), "twenty per cent\nend");
  EXPECT_EQ(axis.LabelText(40), "40");
}

TEST_F(AxisText, CursorAndLegendSettings) {
  axis.SetSpan(5);
  axis.SetLabelsFormatStyle(iptfExponent);
  EXPECT_EQ(axis.CursorText(1500), "1.50E+003");   // the label settings by default
  EXPECT_EQ(axis.LegendText(1500), "1.50E+003");
  EXPECT_EQ(axis.CursorValueText(1500), "1500.00"); // always the value style
  axis.SetCursorUseDefaultFormat(false);
  axis.SetCursorFormatStyle(iptfPrefix);
  axis.SetCursorPrecision(2);
  EXPECT_EQ(axis.CursorText(1500), "1.5K");
  EXPECT_EQ(axis.CursorValueText(1500), "1500.0");   // the cursor precision now
  axis.SetLegendUseDefaultFormat(false);
  axis.SetLegendFormatStyle(iptfDateTime);
  axis.SetLegendDateTimeFormat(QStringLiteral("yyyy-mm-dd"));
  EXPECT_EQ(axis.LegendText(36526.5), "2000-01-01");
  EXPECT_EQ(axis.LabelText(1500), "1.50E+003");
}

TEST_F(AxisText, MinimumWidthsAndAutoAdjust) {
  const int w0 = ZeroWidth();
  ASSERT_GT(w0, 0);
  const TFont font = axis.LabelsFont()->Font();
  EXPECT_EQ(axis.LabelsMaxWidth(&canvas, font), 5 * w0);   // "100" is shorter than five "0"
  EXPECT_EQ(axis.CursorMinWidth(&canvas, font), 5 * w0);
  axis.SetCursorUseDefaultFormat(false);
  axis.SetCursorMinLength(2.5);
  axis.SetLegendUseDefaultFormat(false);
  axis.SetLegendMinLength(7);
  EXPECT_EQ(axis.CursorMinWidth(&canvas, font), static_cast<int>(std::nearbyint(2.5 * w0)));
  EXPECT_EQ(axis.LegendMinWidth(&canvas, font), 7 * w0);

  // The representative label is Span + trunc(Min / Span) * Span: 1000000 + 12 * 1000000.
  axis.SetMinSpan(12500000, 1000000);
  axis.SetLabelsPrecisionStyle(ipsFixedDecimalPoints);
  axis.SetLabelsPrecision(2);
  axis.SetLabelsMinLengthAutoAdjust(true);
  canvas.Font() = font;
  const int textWidth = canvas.TextWidth(QStringLiteral("13000000.00"));
  EXPECT_EQ(axis.LabelsMaxWidth(&canvas, font), std::max(textWidth, 5 * w0));
  EXPECT_EQ(axis.LabelsMinLength(), 11.0);   // grown silently to the label's length
  EXPECT_EQ(axis.LabelsMaxWidth(&canvas, font), std::max(textWidth, 11 * w0));
}

TEST_F(AxisText, RepresentativeLabelOfAnExtremeRangeStaysFinite) {
  axis.SetMinSpan(1e300, 0);   // Min / Span overflows
  const TFont font = axis.LabelsFont()->Font();
  EXPECT_GT(axis.LabelsMaxWidth(&canvas, font), 0);
}
