#include "NumberParse.h"

#include "LocaleGuard.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberParse, HexadecimalAndExponents) {
    LocaleGuard guard(LocaleGuard::english());
    EXPECT_EQ(parseNumber("&H378"), 888.0);
    EXPECT_EQ(parseNumber("&h3bc"), 956.0);
    EXPECT_EQ(parseNumber("  &HFF  "), 255.0);
    EXPECT_EQ(parseNumber("&H"), std::nullopt);
    EXPECT_EQ(parseNumber("&H12G"), std::nullopt);
    EXPECT_EQ(parseNumber("5e6"), 5e6);
    EXPECT_EQ(parseNumber("1E-3"), 0.001);
    EXPECT_EQ(parseNumber("-2.5e+2"), -250.0);
    EXPECT_EQ(parseNumber("5e"), std::nullopt);
    EXPECT_EQ(parseNumber("1e999"), std::nullopt);
}

TEST(NumberParse, SignsBlanksAndBareSeparators) {
    LocaleGuard guard(LocaleGuard::english());
    EXPECT_EQ(parseNumber(" -40 "), -40.0);
    EXPECT_EQ(parseNumber("+3"), 3.0);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    for (const char* bad : {"", "   ", "abc", "12abc", "1.2.3", "-", ".", "12 34", "--1", "1-"})
        EXPECT_EQ(parseNumber(bad), std::nullopt) << bad;
}

TEST(NumberParse, LocaleSeparators) {
    {
        LocaleGuard guard(LocaleGuard::english());
        EXPECT_EQ(parseNumber("1.5"), 1.5);
        EXPECT_EQ(parseNumber("1,5"), std::nullopt);
        EXPECT_EQ(parseNumber("1,000,000"), std::nullopt);
        EXPECT_EQ(parseNumber("1,000,000", ParseFlag::AllowGroupSeparator), 1e6);
        EXPECT_EQ(parseNumber("-1,234.5", ParseFlag::AllowGroupSeparator), -1234.5);
        EXPECT_EQ(parseNumber(",5", ParseFlag::AllowGroupSeparator), std::nullopt);
        EXPECT_EQ(parseNumber("5,", ParseFlag::AllowGroupSeparator), std::nullopt);
    }
    {
        LocaleGuard guard(LocaleGuard::german());
        EXPECT_EQ(parseNumber("1,5"), 1.5);
        EXPECT_EQ(parseNumber("1.5"), std::nullopt);
        EXPECT_EQ(parseNumber("1.000.000", ParseFlag::AllowGroupSeparator), 1e6);
        EXPECT_EQ(parseNumber("1.234,5", ParseFlag::AllowGroupSeparator), 1234.5);
        EXPECT_EQ(parseNumber("&H378"), 888.0);
        EXPECT_EQ(parseNumber("5e6"), 5e6);
    }
}

TEST(NumberParse, LeadingNumberReadsLikeVal) {
    for (const QLocale& locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        EXPECT_EQ(leadingNumber("12abc"), 12.0);
        EXPECT_EQ(leadingNumber("abc"), 0.0);
        EXPECT_EQ(leadingNumber(""), 0.0);
        EXPECT_EQ(leadingNumber("-40 dB"), -40.0);
        // Only '.' is a decimal point, whatever the locale.
        EXPECT_EQ(leadingNumber("-40.5"), -40.5);
        EXPECT_EQ(leadingNumber("-40,5"), -40.0);
        EXPECT_EQ(leadingNumber(" 1 2 3"), 123.0);
        EXPECT_EQ(leadingNumber("&H1F"), 31.0);
        EXPECT_EQ(leadingNumber("&O17"), 15.0);
        EXPECT_EQ(leadingNumber("2.5e3x"), 2500.0);
        EXPECT_EQ(leadingNumber("3e"), 3.0);
        EXPECT_EQ(leadingNumber(".5"), 0.5);
        EXPECT_EQ(leadingNumber("1e999"), 0.0);
    }
}

} // namespace
