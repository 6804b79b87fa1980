// Filter figures against curves whose edges are known in closed form (tuned circuit,
// Butterworth band-pass, band-stop, low- and high-pass), and against small hand-made curves
// whose interpolated crossings are worked out by hand.
#include "FilterAnalysis.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Points {
    QVector<double> hz;
    QVector<double> db;
};

// 400 points from start by step (negative: a downward sweep), level from the response.
Points sample(double start, double step, const std::function<double(double)>& levelDb) {
    Points p;
    for (int i = 0; i < 400; ++i) {
        p.hz.push_back(start + i * step);
        p.db.push_back(levelDb(p.hz.back()));
    }
    return p;
}

Points reversed(const Points& p) {
    return {QVector<double>(p.hz.crbegin(), p.hz.crend()),
            QVector<double>(p.db.crbegin(), p.db.crend())};
}

// Band-pass of order n (n = 1: the single tuned circuit) at f0 with loaded Q:
// |H|^2 = 1 / (1 + (Q x)^(2n)), x = f/f0 - f0/f.
double bandPassDb(double f, double f0, double q, int n) {
    const double x = f / f0 - f0 / f;
    return -10.0 * std::log10(1.0 + std::pow(q * x, 2 * n));
}

// The frequency above f0 (sign +1) or below it (sign -1) where x = f/f0 - f0/f = sign * s.
double frequencyOfX(double f0, double s, int sign) {
    return f0 * (sign * s / 2.0 + std::sqrt(1.0 + s * s / 4.0));
}

// The band-pass edge at `fall` dB below 0 dB: (Q x)^(2n) = 10^(fall/10) - 1.
double bandPassEdge(double f0, double q, int n, double fall, int sign) {
    const double s = std::pow(std::pow(10.0, fall / 10.0) - 1.0, 1.0 / (2 * n)) / q;
    return frequencyOfX(f0, s, sign);
}

void expectRel(std::optional<double> actual, double expected, double tolerance, const char* what) {
    ASSERT_TRUE(actual.has_value()) << what;
    EXPECT_NEAR(*actual, expected, std::abs(expected) * tolerance) << what;
}

} // namespace

TEST(FilterAnalysis, BandPassFindsTheEdgesOfKnownCircuits) {
    // A tuned circuit, f0 = 10 MHz, Q = 50: 9.5 .. 10.4975 MHz in 2.5 kHz steps, either way.
    const double f0 = 10e6;
    const auto tuned = [&](double f) { return bandPassDb(f, f0, 50, 1); };
    for (const Points& p : {sample(9.5e6, 2500, tuned), sample(10.4975e6, -2500, tuned)}) {
        const FilterResult r = analyseFilter(p.hz, p.db, FilterType::BandPass, -3);
        ASSERT_TRUE(r.peakHz && r.peakDb);
        EXPECT_DOUBLE_EQ(*r.peakHz, f0); // a point lies on f0
        EXPECT_NEAR(*r.peakDb, 0.0, 1e-12);
        const double lower = bandPassEdge(f0, 50, 1, 3, -1);
        const double upper = bandPassEdge(f0, 50, 1, 3, +1);
        expectRel(r.lowerHz, lower, 1e-4, "lower");
        expectRel(r.upperHz, upper, 1e-4, "upper");
        // -3 dB is 3.0103 dB short of the half-power point, so f0 / Q only within 0.5 %.
        expectRel(r.bandwidthHz, f0 / 50, 0.005, "bandwidth ~ f0/Q");
        expectRel(r.bandwidthHz, upper - lower, 0.005, "bandwidth");
        expectRel(r.centreHz, (lower + upper) / 2, 1e-4, "centre");
        expectRel(r.q, (lower + upper) / 2 / (upper - lower), 0.005, "Q");
        // The curve falls only 14 dB within the sweep: no 60 dB width, so no shape factor.
        EXPECT_FALSE(r.shapeFactor.has_value());
    }

    // 4th-order Butterworth band-pass, f0 = 10 MHz, Q = 5, 4 .. 19.96 MHz in 40 kHz steps: the
    // 60 dB edges lie inside the sweep. Shape factor = ((10^6 - 1) / (10^0.6 - 1))^(1/8).
    const Points p = sample(4e6, 40e3, [&](double f) { return bandPassDb(f, f0, 5, 4); });
    for (double level : {-6.0, -20.0, -60.0}) {
        const FilterResult r = analyseFilter(p.hz, p.db, FilterType::BandPass, level);
        const double fall = -level;
        expectRel(r.lowerHz, bandPassEdge(f0, 5, 4, fall, -1), 5e-4, "lower");
        expectRel(r.upperHz, bandPassEdge(f0, 5, 4, fall, +1), 5e-4, "upper");
        expectRel(r.bandwidthHz,
                  bandPassEdge(f0, 5, 4, fall, +1) - bandPassEdge(f0, 5, 4, fall, -1), 0.005,
                  "bandwidth");
        expectRel(r.shapeFactor, std::pow((1e6 - 1) / (std::pow(10.0, 0.6) - 1), 1.0 / 8), 0.005,
                  "shape factor");
    }
}

TEST(FilterAnalysis, BandStopMeasuresTheNotchFromThePassBand) {
    // A 4th-order notch at 10 MHz, Q = 1, floor -80 dB:
    // |H|^2 = (e^2 + u) / (1 + u), u = (Q x)^8, e = 1e-4. 1 .. 36.91 MHz in 90 kHz steps (a
    // point on 10 MHz), run downward.
    const double f0 = 10e6;
    const double e2 = 1e-8;
    const auto notch = [&](double f) {
        const double u = std::pow(f / f0 - f0 / f, 8);
        return 10.0 * std::log10((e2 + u) / (1.0 + u));
    };
    const Points p = reversed(sample(1e6, 90e3, notch));
    const double pass = (notch(1e6) + notch(1e6 + 399 * 90e3)) / 2.0;
    // Edge where the curve is `fall` dB below the pass band: g = 10^((pass - fall)/10),
    // u = (g - e^2) / (1 - g).
    const auto edge = [&](double fall, int sign) {
        const double g = std::pow(10.0, (pass - fall) / 10.0);
        return frequencyOfX(f0, std::pow((g - e2) / (1.0 - g), 1.0 / 8), sign);
    };
    for (double level : {-3.0, -20.0, -60.0}) {
        const FilterResult r = analyseFilter(p.hz, p.db, FilterType::BandStop, level);
        ASSERT_TRUE(r.peakHz && r.peakDb);
        EXPECT_DOUBLE_EQ(*r.peakHz, f0);
        EXPECT_NEAR(*r.peakDb, -80.0, 1e-6);
        const double fall = -level;
        expectRel(r.lowerHz, edge(fall, -1), 5e-4, "lower");
        expectRel(r.upperHz, edge(fall, +1), 5e-4, "upper");
        expectRel(r.bandwidthHz, edge(fall, +1) - edge(fall, -1), 0.005, "bandwidth");
        expectRel(r.centreHz, (edge(fall, +1) + edge(fall, -1)) / 2, 5e-4, "centre");
        // The notch's shape factor: the wider (6 dB) over the narrower (60 dB) width.
        expectRel(r.shapeFactor, (edge(6, +1) - edge(6, -1)) / (edge(60, +1) - edge(60, -1)), 0.005,
                  "shape factor");
    }
    // A notch that never gets 60 dB below the pass band has no edges there.
    const Points shallow = sample(1e6, 90e3, [&](double f) { return notch(f) / 2; });
    const FilterResult r = analyseFilter(shallow.hz, shallow.db, FilterType::BandStop, -60);
    EXPECT_FALSE(r.lowerHz || r.upperHz || r.bandwidthHz || r.centreHz || r.q || r.shapeFactor);
    EXPECT_NEAR(*r.peakDb, -40.0, 1e-6);
}

TEST(FilterAnalysis, LowAndHighPassFindTheButterworthCutOff) {
    // 7th order, fc = 1 MHz: |H|^2 = 1 / (1 + r), r = (f/fc)^14 (low-pass) or (fc/f)^14
    // (high-pass). Falling by L from the pass band P: r = 10^((L - P)/10) - 1.
    const double fc = 1e6;
    const auto lowPass = [&](double f) { return -10.0 * std::log10(1.0 + std::pow(f / fc, 14)); };
    const auto highPass = [&](double f) { return -10.0 * std::log10(1.0 + std::pow(fc / f, 14)); };
    const auto root = [](double fall, double pass) {
        return std::pow(std::pow(10.0, (fall - pass) / 10.0) - 1.0, 1.0 / 14);
    };
    const double lowPassband = lowPass(10e3);
    const double highPassband = highPass(3.0025e6);
    // Low-pass upward from 10 kHz, high-pass downward from 3.0025 MHz; both 7.5 kHz steps.
    const Points lp = sample(10e3, 7.5e3, lowPass);
    const Points hp = sample(3.0025e6, -7.5e3, highPass);
    for (double level : {-3.0, -10.0, -60.0}) {
        const double fall = -level;
        const FilterResult l = analyseFilter(lp.hz, lp.db, FilterType::LowPass, level);
        expectRel(l.upperHz, fc * root(fall, lowPassband), 5e-4, "low-pass cut-off");
        EXPECT_FALSE(l.lowerHz || l.bandwidthHz || l.centreHz || l.q);
        expectRel(l.shapeFactor, root(60, lowPassband) / root(6, lowPassband), 0.005,
                  "low-pass shape factor");
        EXPECT_NEAR(*l.peakDb, 0.0, 1e-9);

        const FilterResult h = analyseFilter(hp.hz, hp.db, FilterType::HighPass, level);
        expectRel(h.lowerHz, fc / root(fall, highPassband), 5e-4, "high-pass cut-off");
        EXPECT_FALSE(h.upperHz || h.bandwidthHz || h.centreHz || h.q);
        expectRel(h.shapeFactor, root(60, highPassband) / root(6, highPassband), 0.005,
                  "high-pass shape factor");
        ASSERT_TRUE(h.peakHz.has_value());
        EXPECT_DOUBLE_EQ(*h.peakHz, 3.0025e6); // rising to the top end
    }
}

TEST(FilterAnalysis, CrossingsAreInterpolatedBetweenPoints) {
    const QVector<double> hz{100, 200, 300, 400, 500};
    const QVector<double> down(hz.crbegin(), hz.crend());
    const QVector<double> bump{-20, -5, 0, -2, -12};
    const QVector<double> bumpDown(bump.crbegin(), bump.crend());
    // -3 dB: between 200 (-5) and 300 (0) at 200 + 2/5 x 100; between 400 (-2) and 500 (-12)
    // at 400 + 1/10 x 100. Same run downward.
    for (const auto& [f, l] : {std::pair{hz, bump}, std::pair{down, bumpDown}}) {
        const FilterResult r = analyseFilter(f, l, FilterType::BandPass, -3);
        EXPECT_DOUBLE_EQ(*r.peakHz, 300);
        EXPECT_DOUBLE_EQ(*r.lowerHz, 240);
        EXPECT_DOUBLE_EQ(*r.upperHz, 410);
        EXPECT_DOUBLE_EQ(*r.bandwidthHz, 170);
        EXPECT_DOUBLE_EQ(*r.centreHz, 325);
        EXPECT_DOUBLE_EQ(*r.q, 325.0 / 170.0);
    }
    // -6 dB: between 100 (-20) and 200 (-5) at 100 + 14/15 x 100; 400 + 4/10 x 100.
    FilterResult r = analyseFilter(hz, bump, FilterType::BandPass, 6);
    EXPECT_DOUBLE_EQ(*r.lowerHz, 100 + 1400.0 / 15);
    EXPECT_DOUBLE_EQ(*r.upperHz, 440);

    // A second, lower hump does not move the edge: the search stops at the first crossing
    // below the main peak, between 300 (-2) and 200 (-10) at 300 - 1/8 x 100; above the peak
    // the curve ends at -2 dB, so there is no upper edge.
    r = analyseFilter(hz, {-1, -10, -2, 0, -2}, FilterType::BandPass, -3);
    EXPECT_DOUBLE_EQ(*r.lowerHz, 287.5);
    EXPECT_FALSE(r.upperHz || r.bandwidthHz || r.centreHz || r.q);

    // Notch: pass band (0 + 0) / 2, edges where it is back at -3 dB: from 300 (-20) towards
    // 200 (-1) 17/19 of the way, towards 400 (-2) 17/18 of the way.
    r = analyseFilter(down, {0, -2, -20, -1, 0}, FilterType::BandStop, -3);
    EXPECT_DOUBLE_EQ(*r.peakHz, 300);
    EXPECT_DOUBLE_EQ(*r.peakDb, -20);
    EXPECT_NEAR(*r.lowerHz, 300 - 1700.0 / 19, 1e-9);
    EXPECT_NEAR(*r.upperHz, 300 + 1700.0 / 18, 1e-9);

    // Low-pass from the level at 100 Hz, high-pass from the one at 500 Hz.
    r = analyseFilter(hz, {-1, -1, -3, -9, -30}, FilterType::LowPass, -6);
    EXPECT_DOUBLE_EQ(*r.upperHz, 300 + 4.0 / 6 * 100); // -7 dB between -3 and -9
    r = analyseFilter(down, {-1, -1, -3, -9, -30}, FilterType::HighPass, -6);
    EXPECT_DOUBLE_EQ(*r.lowerHz, 300 - 4.0 / 6 * 100);

    // A peak held by adjacent equal points lies in their middle.
    r = analyseFilter(hz, {-20, 0, 0, -20, -30}, FilterType::BandPass, -3);
    EXPECT_DOUBLE_EQ(*r.peakHz, 250);
    EXPECT_DOUBLE_EQ(*r.lowerHz, 200 - 3.0 / 20 * 100);
    EXPECT_DOUBLE_EQ(*r.upperHz, 300 + 3.0 / 20 * 100);
}

TEST(FilterAnalysis, WhatTheCurveCannotGiveIsMissing) {
    const QVector<double> hz{100, 200, 300, 400, 500};
    const auto nothingFound = [](const FilterResult& r) {
        return !r.lowerHz && !r.upperHz && !r.bandwidthHz && !r.centreHz && !r.q && !r.shapeFactor;
    };
    // Flat: a level, but no peak frequency and no edges, for every type.
    for (FilterType type :
         {FilterType::BandPass, FilterType::BandStop, FilterType::LowPass, FilterType::HighPass}) {
        const FilterResult r = analyseFilter(hz, QVector<double>(5, -7.0), type, -3);
        EXPECT_FALSE(r.peakHz.has_value());
        ASSERT_TRUE(r.peakDb.has_value());
        EXPECT_DOUBLE_EQ(*r.peakDb, -7.0);
        EXPECT_TRUE(nothingFound(r));
    }

    // Single-point peak at the top end: lower edge only (between 300 (-5) and 400 (-1)).
    FilterResult r = analyseFilter(hz, {-20, -10, -5, -1, 0}, FilterType::BandPass, -3);
    EXPECT_DOUBLE_EQ(*r.peakHz, 500);
    EXPECT_DOUBLE_EQ(*r.lowerHz, 350);
    EXPECT_FALSE(r.upperHz || r.bandwidthHz || r.centreHz || r.q || r.shapeFactor);
    // ... and at the bottom end: upper edge only (between 200 (-1) and 300 (-5)).
    r = analyseFilter(hz, {0, -1, -5, -10, -20}, FilterType::BandPass, -3);
    EXPECT_DOUBLE_EQ(*r.peakHz, 100);
    EXPECT_DOUBLE_EQ(*r.upperHz, 250);
    EXPECT_FALSE(r.lowerHz || r.bandwidthHz || r.centreHz || r.q || r.shapeFactor);

    // A low-pass that never falls by 20 dB, a high-pass read on a rising curve.
    r = analyseFilter(hz, {0, -1, -5, -10, -15}, FilterType::LowPass, -20);
    EXPECT_TRUE(nothingFound(r));
    r = analyseFilter(hz, {-30, -20, -10, -5, 0}, FilterType::HighPass, -60);
    EXPECT_TRUE(nothingFound(r));
    // A 6 dB width without a 60 dB one: no shape factor.
    r = analyseFilter(hz, {-20, -5, 0, -2, -12}, FilterType::BandPass, -6);
    EXPECT_TRUE(r.bandwidthHz.has_value());
    EXPECT_FALSE(r.shapeFactor.has_value());
    // No points, a fall of 0 dB, points that are not numbers.
    EXPECT_FALSE(analyseFilter({}, {}, FilterType::BandPass, -3).peakDb.has_value());
    EXPECT_TRUE(nothingFound(analyseFilter(hz, {-20, -5, 0, -2, -12}, FilterType::BandPass, 0)));
    r = analyseFilter(hz, {-20, -5, NAN, -2, -12}, FilterType::BandPass, -3);
    EXPECT_DOUBLE_EQ(*r.peakHz, 400);
}
