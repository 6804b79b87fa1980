#include "NumberFormat.h"

#include "LocaleGuard.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Expected texts are written with English separators and translated for German.
QString local(const char* english, const QLocale& locale) {
    QString s = QString::fromLatin1(english);
    if (locale.decimalPoint() == QLatin1String(","))
        for (QChar& c : s)
            c = c == QLatin1Char(',')   ? QLatin1Char('.')
                : c == QLatin1Char('.') ? QLatin1Char(',')
                                        : c;
    return s;
}

class NumberFormatTest : public ::testing::TestWithParam<QLocale> {
protected:
    NumberFormatTest() : m_guard(GetParam()) {}
    QString L(const char* english) const { return local(english, GetParam()); }
    LocaleGuard m_guard;
};

TEST_P(NumberFormatTest, GroupedWholeNumbers) {
    EXPECT_EQ(formatNumber(1234567, "###,###,##0"), L("1,234,567"));
    EXPECT_EQ(formatNumber(-1234567, "###,###,##0"), L("-1,234,567"));
    EXPECT_EQ(formatNumber(0, "###,###,##0"), "0");
    EXPECT_EQ(formatNumber(2147483647, "###,###,##0"), L("2,147,483,647"));
    EXPECT_EQ(formatNumber(1500, "###,##0"), L("1,500"));
    // Display rounding takes halves away from zero and may carry into a new group.
    EXPECT_EQ(formatNumber(999.5, "###,###,##0"), L("1,000"));
    EXPECT_EQ(formatNumber(2.5, "###,###,##0"), "3");
    EXPECT_EQ(formatNumber(-2.5, "###,###,##0"), "-3");
}

TEST_P(NumberFormatTest, ForcedDigitsAreGroupedToo) {
    EXPECT_EQ(formatNumber(60000000, "###,000,000"), L("60,000,000"));
    EXPECT_EQ(formatNumber(5, "###,000,000"), L("000,005"));
    EXPECT_EQ(formatNumber(1234, "###,000,000"), L("001,234"));
}

TEST_P(NumberFormatTest, DecimalPictures) {
    EXPECT_EQ(formatNumber(1.2345, "#0.000"), L("1.235"));
    EXPECT_EQ(formatNumber(-0.5, "#0.000"), L("-0.500"));
    EXPECT_EQ(formatNumber(12.3456, "##0.000"), L("12.346"));
    EXPECT_EQ(formatNumber(0.1, "0.000"), L("0.100"));
    EXPECT_EQ(formatNumber(1.5, "#0.00"), L("1.50"));
    EXPECT_EQ(formatNumber(-6.02, "#0.0"), L("-6.0"));
    EXPECT_EQ(formatNumber(-6.05, "#0.0"), L("-6.1"));
    EXPECT_EQ(formatNumber(0.05, "#0.0"), L("0.1"));
    EXPECT_EQ(formatNumber(-90, "#0.0"), L("-90.0"));
    // The decision is taken on the decimal form the user knows, not the binary fraction.
    EXPECT_EQ(formatNumber(2.675, "#0.00"), L("2.68"));
    EXPECT_EQ(formatNumber(1.0005, "#0.000"), L("1.001"));
    EXPECT_EQ(formatNumber(9.9996, "#0.000"), L("10.000"));
}

TEST_P(NumberFormatTest, ValuesShownAsZeroHaveNoSign) {
    EXPECT_EQ(formatNumber(-0.0004, "#0.000"), L("0.000"));
    EXPECT_EQ(formatNumber(-0.04, "#0.0"), L("0.0"));
    EXPECT_EQ(formatNumber(-0.0, "###,###,##0"), "0");
    EXPECT_EQ(formatNumber(-0.001, "Fixed"), L("0.00"));
}

// What a reader of a formatted text gets back: halves away from zero, as the text shows them.
TEST_P(NumberFormatTest, ShownNumberIsTheValueThePictureShows) {
    EXPECT_EQ(shownNumber(1.2505, 3), 1.251); // half-even rounding would give 1.250
    EXPECT_EQ(shownNumber(-0.0005, 3), -0.001);
    EXPECT_EQ(shownNumber(2000000.5, 0), 2000001.0);
    EXPECT_EQ(shownNumber(0.1 + 0.2, 3), 0.3);
    const double zero = shownNumber(-0.0004, 3);
    EXPECT_EQ(zero, 0.0);
    EXPECT_FALSE(std::signbit(zero));
    EXPECT_TRUE(std::isinf(shownNumber(std::numeric_limits<double>::infinity(), 3)));
}

TEST_P(NumberFormatTest, NamedFormats) {
    EXPECT_EQ(formatNumber(1234567, "General Number"), "1234567");
    EXPECT_EQ(formatNumber(0.5, "General Number"), L("0.5"));
    EXPECT_EQ(formatNumber(1000.0 / 3.0, "Fixed"), L("333.33"));
    EXPECT_EQ(formatNumber(5, "Fixed"), L("5.00"));
    EXPECT_EQ(formatNumber(0.125, "Fixed"), L("0.13"));
    EXPECT_EQ(formatNumber(1234.5, "Fixed"), L("1234.50"));
    EXPECT_EQ(formatNumber(-12.345, "Fixed"), L("-12.35"));
}

TEST_P(NumberFormatTest, NumberToTextIsTheShortest15DigitForm) {
    EXPECT_EQ(numberToText(0.5), L("0.5"));
    EXPECT_EQ(numberToText(-40.0), "-40");
    EXPECT_EQ(numberToText(0.1 + 0.2), L("0.3"));
    EXPECT_EQ(numberToText(1.0 / 3.0), L("0.333333333333333"));
    EXPECT_EQ(numberToText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberToText(42949673.0), "42949673");
    EXPECT_EQ(numberToText(0.0001), L("0.0001"));
    EXPECT_EQ(numberToText(1e15), "1E+15");
    EXPECT_EQ(numberToText(1.5e20), L("1.5E+20"));
    EXPECT_EQ(numberToText(0.00001), "1E-05");
    EXPECT_EQ(numberToText(-0.0), "0");
    EXPECT_EQ(numberToText(std::numeric_limits<double>::quiet_NaN()), "NaN");
}

TEST_P(NumberFormatTest, SinglesKeepSevenDigits) {
    EXPECT_EQ(numberToText(1.1f), L("1.1"));
    EXPECT_EQ(numberToText(0.0025f), L("0.0025"));
    EXPECT_EQ(numberToText(-0.3f), L("-0.3"));
}

TEST_P(NumberFormatTest, BlankVariantAndIntegers) {
    EXPECT_EQ(numberToTextBlank(0), " 0");
    EXPECT_EQ(numberToTextBlank(42949673), " 42949673");
    EXPECT_EQ(numberToTextBlank(-1), "-1");
    EXPECT_EQ(numberToTextBlank(2.5), L(" 2.5"));
    EXPECT_EQ(numberToTextBlank(-2.5), L("-2.5"));
    EXPECT_EQ(numberToText(quint32(4294967295u)), "4294967295");
}

INSTANTIATE_TEST_SUITE_P(Locales, NumberFormatTest,
                         ::testing::Values(LocaleGuard::english(), LocaleGuard::german()),
                         [](const auto& info) {
                             return info.param.bcp47Name().replace('-', '_').toStdString();
                         });

} // namespace
