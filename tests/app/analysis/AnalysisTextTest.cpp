// SWR and return loss from a normalised level, and the texts of the analysis figures under
// two locales.
#include "AnalysisText.h"

#include "LocaleGuard.h"
#include "Reflection.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Reflection, SwrAndReturnLossUpToFullReflection) {
    // -20 dB: rho 0.1, SWR 1.1 / 0.9; 20*log10(0.5) dB: rho 0.5, SWR 3.
    std::optional<Reflection> r = reflectionOf(-20.0);
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->rho, 0.1, 1e-12);
    EXPECT_NEAR(r->swr, 1.1 / 0.9, 1e-12);
    EXPECT_DOUBLE_EQ(r->returnLossDb, 20.0);
    r = reflectionOf(-6.020599913279624);
    EXPECT_NEAR(r->rho, 0.5, 1e-12);
    EXPECT_NEAR(r->swr, 3.0, 1e-11);
    // 0 dB reflects everything: SWR without bound, shown "Inf".
    r = reflectionOf(0.0);
    ASSERT_TRUE(r.has_value());
    EXPECT_DOUBLE_EQ(r->rho, 1.0);
    EXPECT_TRUE(std::isinf(r->swr) && r->swr > 0);
    EXPECT_EQ(factorText(r->swr), QStringLiteral("Inf"));
    EXPECT_DOUBLE_EQ(r->returnLossDb, 0.0);
    // Above 0 dB, or not a number: no value at all.
    EXPECT_FALSE(reflectionOf(0.01).has_value());
    EXPECT_FALSE(reflectionOf(NAN).has_value());
}

TEST(AnalysisText, FiguresUseTheLocaleAndSayWhatIsMissing) {
    FilterResult r;
    r.peakHz = 10'000'000.4;
    r.peakDb = -0.004; // shows as 0.00, without a minus sign
    r.lowerHz = 9'900'012.5;
    r.q = 49.875; // halves round away from zero
    const char* expected[2][8] = {
        {"10,000,000 Hz", "0.00 dB", "9,900,013 Hz", "n/a", "n/a", "n/a", "49.88", "n/a"},
        {"10.000.000 Hz", "0,00 dB", "9.900.013 Hz", "n/a", "n/a", "n/a", "49,88", "n/a"}};
    const char* captions[8] = {
        "Peak frequency",   "Peak level", "Lower frequency", "Upper frequency", "Bandwidth",
        "Centre frequency", "Q",          "Shape factor"};
    int k = 0;
    for (const QLocale& locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        const QVector<ResultLine> lines = resultLines(r);
        ASSERT_EQ(lines.size(), 8);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(lines[i].caption, QString::fromLatin1(captions[i]));
            EXPECT_EQ(lines[i].value, QString::fromLatin1(expected[k][i]))
                << locale.name().toStdString();
        }
        ++k;
    }
    LocaleGuard guard(LocaleGuard::english());
    EXPECT_EQ(levelText(-3.456), QStringLiteral("-3.46 dB"));
    EXPECT_EQ(filterTypeCaption(FilterType::BandStop), QStringLiteral("Band-stop"));
    // The marker panel's SWR: -20 dB is an SWR of 1.1 / 0.9 = 1.22.
    EXPECT_EQ(reflectionText(reflectionOf(-20.0)), QStringLiteral("1.22 (RL 20.00 dB)"));
    EXPECT_EQ(reflectionText(reflectionOf(0.0)), QStringLiteral("Inf (RL 0.00 dB)"));
    EXPECT_EQ(reflectionText(reflectionOf(0.5)), QStringLiteral("n/a"));
}
