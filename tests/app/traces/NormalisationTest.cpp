// Normalisation to a stored reference: interpolation of a reference taken over another range,
// the refusal when it does not cover the sweep, the 0 V floor; memories drawn only where they
// cover the sweep.
#include "Normalisation.h"

#include "LocaleGuard.h"
#include "StoredTrace.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
// A reference of 400 points from 1 MHz in steps of 100 kHz whose volts zigzag between 0.1 and
// 0.5: between two points the interpolated value differs from either point's.
constexpr double kRefStart = 1'000'000;
constexpr double kRefStep = 100'000;

StoredTrace zigzagReference() {
    QVector<double> hz;
    QVector<double> volts;
    for (int i = 0; i < 400; ++i) {
        hz.push_back(kRefStart + i * kRefStep);
        volts.push_back(i % 2 ? 0.5 : 0.1);
    }
    return StoredTrace(hz, volts);
}

// The zigzag at any frequency, straight from its definition.
double zigzagAt(double hz) {
    const double pos = (hz - kRefStart) / kRefStep;
    const int i = int(std::floor(pos));
    const double t = pos - i;
    const double a = i % 2 ? 0.5 : 0.1;
    const double b = i % 2 ? 0.1 : 0.5;
    return a + t * (b - a);
}

QVector<double> upwardSweep(double start, double step, int points = 400) {
    QVector<double> hz;
    for (int i = 0; i < points; ++i)
        hz.push_back(start + i * step);
    return hz;
}
} // namespace

TEST(Normalisation, ReferenceOverAWiderRangeIsInterpolatedOntoTheSweep) {
    const StoredTrace ref = zigzagReference();
    // Downward, from 30 MHz in steps of 70 kHz: most points fall between reference points.
    QVector<double> hz;
    for (int i = 0; i < 400; ++i)
        hz.push_back(30'000'000.0 - i * 70'000.0);
    const QVector<double> volts(400, 0.25);

    const NormalisedSweep db = normaliseSweep(hz, volts, ref, NormalUnit::Decibel);
    const NormalisedSweep ratio = normaliseSweep(hz, volts, ref, NormalUnit::Ratio);
    ASSERT_TRUE(db.ok()) << db.refusal.toStdString();
    ASSERT_TRUE(ratio.ok());
    ASSERT_EQ(db.levels.size(), 400);
    for (int i = 0; i < 400; ++i) {
        const double vref = zigzagAt(hz[i]);
        EXPECT_NEAR(db.levels[i], 20.0 * std::log10(0.25 / vref), 1e-9) << hz[i];
        EXPECT_NEAR(ratio.levels[i], 0.25 / vref, 1e-9) << hz[i];
    }
    // Spot values worked by hand: 30 MHz is point 290 (0.1 V); 29.93 MHz lies 30 % of the way
    // from point 289 (0.5 V) to 290, at 0.38 V.
    EXPECT_NEAR(db.levels[0], 20.0 * std::log10(2.5), 1e-9);
    EXPECT_NEAR(ratio.levels[1], 0.25 / 0.38, 1e-9);

    // A memory is given only where it covers the sweep: 500 kHz .. 42.395 MHz in 105 kHz steps
    // lies partly outside the reference (1 MHz .. 40.9 MHz, plus half the sweep's step).
    const QVector<std::optional<double>> memory = traceOnSweep(ref, upwardSweep(500'000, 105'000));
    int covered = 0;
    for (const auto& v : memory)
        covered += v.has_value();
    EXPECT_EQ(covered, 381);             // points 5 .. 385
    EXPECT_FALSE(memory[4].has_value()); // 920 kHz
    ASSERT_TRUE(memory[5].has_value());
    EXPECT_DOUBLE_EQ(*memory[5], 0.2);   // 1.025 MHz: a quarter of the way from 0.1 to 0.5 V
    EXPECT_DOUBLE_EQ(*memory[385], 0.5); // 40.925 MHz: the end value
    EXPECT_FALSE(memory[386].has_value());
}

TEST(Normalisation, AReferenceThatDoesNotCoverTheSweepIsRefusedWithBothRanges) {
    // 1 MHz .. 30 MHz in 400 points; the sweep 500 kHz .. 39,901,250 Hz.
    QVector<double> refHz;
    for (int i = 0; i < 400; ++i)
        refHz.push_back(1'000'000.0 + i * (29'000'000.0 / 399.0));
    const StoredTrace ref(refHz, QVector<double>(400, 1.0));
    const QVector<double> sweep = upwardSweep(500'000, 98'750);
    {
        LocaleGuard english(LocaleGuard::english());
        const NormalisedSweep n =
            normaliseSweep(sweep, QVector<double>(400, 1.0), ref, NormalUnit::Decibel);
        EXPECT_FALSE(n.ok());
        EXPECT_TRUE(n.levels.isEmpty());
        EXPECT_EQ(n.refusal, QStringLiteral("The reference covers 1,000,000 Hz to 30,000,000 Hz; "
                                            "the sweep covers 500,000 Hz to 39,901,250 Hz. Store "
                                            "a reference over the sweep's range."));
    }
    {
        LocaleGuard german(LocaleGuard::german());
        QVector<double> downward(sweep.crbegin(), sweep.crend());
        const NormalisedSweep n =
            normaliseSweep(downward, QVector<double>(400, 1.0), ref, NormalUnit::Ratio);
        EXPECT_EQ(n.refusal, QStringLiteral("The reference covers 1.000.000 Hz to 30.000.000 Hz; "
                                            "the sweep covers 500.000 Hz to 39.901.250 Hz. Store "
                                            "a reference over the sweep's range."));
    }

    // Half a step (50 kHz) of slack at each end, no more: the reference ends at 1 MHz and
    // 40.9 MHz.
    const StoredTrace zigzag = zigzagReference();
    const QVector<double> ones(400, 1.0);
    const NormalisedSweep inside =
        normaliseSweep(upwardSweep(950'001, 100'000), ones, zigzag, NormalUnit::Ratio);
    ASSERT_TRUE(inside.ok());
    EXPECT_DOUBLE_EQ(inside.levels[0], 1.0 / 0.1); // the end value, not extrapolated
    EXPECT_FALSE(
        normaliseSweep(upwardSweep(949'999, 100'000), ones, zigzag, NormalUnit::Ratio).ok());
    EXPECT_TRUE(
        normaliseSweep(upwardSweep(1'049'999, 100'000), ones, zigzag, NormalUnit::Ratio).ok());
    EXPECT_FALSE(
        normaliseSweep(upwardSweep(1'050'001, 100'000), ones, zigzag, NormalUnit::Ratio).ok());

    // No reference at all.
    EXPECT_FALSE(normaliseSweep(sweep, ones, StoredTrace(), NormalUnit::Decibel).ok());
}

TEST(Normalisation, ZeroVoltsHaveNoLogarithm) {
    const StoredTrace ref(QVector<double>{1e6, 2e6, 3e6}, QVector<double>{0.0, 0.4, 0.8});
    const QVector<double> hz{1e6, 2e6, 2.5e6, 3e6};
    const NormalisedSweep db =
        normaliseSweep(hz, QVector<double>{0.3, 0.0, 0.3, 0.8}, ref, NormalUnit::Decibel);
    ASSERT_TRUE(db.ok());
    EXPECT_EQ(db.levels[0], -100.0); // 0 V reference
    EXPECT_EQ(db.levels[1], -100.0); // 0 V reading
    EXPECT_NEAR(db.levels[2], -6.0206, 1e-4);
    EXPECT_DOUBLE_EQ(db.levels[3], 0.0);
    const NormalisedSweep ratio =
        normaliseSweep(hz, QVector<double>{0.3, 0.2, 0.3, 0.8}, ref, NormalUnit::Ratio);
    EXPECT_EQ(ratio.levels[0], 0.0);
    EXPECT_DOUBLE_EQ(ratio.levels[1], 0.5);
    EXPECT_DOUBLE_EQ(ratio.levels[2], 0.5);
}
