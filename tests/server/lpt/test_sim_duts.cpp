// The simulated devices under test: the generator's fall with frequency that normalising takes
// out, each device's own response once normalised by "through", and the test signals. Expected
// levels are worked out from the devices' formulas, independently of the models.
#include "DutModel.h"
#include "SimulatedDuts.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {
// A full scale this large makes one count of noise negligible against the levels compared.
constexpr int kFine = 1000000;

double db(double ratio) {
    return 20.0 * std::log10(ratio);
}

// The device's response in dB: its reading over the reading of "through" at f.
double normalisedDb(const char* name, double f) {
    auto dut = DutModel::create(QLatin1String(name));
    auto through = DutModel::create(QStringLiteral("through"));
    return db(double(dut->code(f, kFine)) / through->code(f, kFine));
}

TEST(SimulatedDuts, OneListNamesEveryModelAndNothingElse) {
    EXPECT_EQ(simulatedDutNames(),
              (QStringList{"bandpass", "through", "lowpass", "notch", "ramp", "flat"}));
    EXPECT_EQ(defaultSimulatedDut(), "bandpass");
    EXPECT_EQ(simulatedDutChoices(), "bandpass, through, lowpass, notch, ramp or flat");
    for (const SimulatedDut& d : kSimulatedDuts) {
        EXPECT_NE(DutModel::create(QLatin1String(d.name)), nullptr) << d.name;
        EXPECT_GT(std::strlen(d.description), 10u) << d.name;
    }
    for (const char* unknown : {"", "nonesuch", "Bandpass", "bandpass "}) {
        EXPECT_EQ(DutModel::create(QLatin1String(unknown)), nullptr) << unknown;
        EXPECT_FALSE(isSimulatedDut(QLatin1String(unknown))) << unknown;
    }
}

TEST(SimulatedDuts, ThroughFollowsTheGeneratorThatFallsWithFrequency) {
    // 0.95 full scale times the sinc of 100 MHz sampling, the 5th-order 40 MHz reconstruction
    // filter and the detector's 40 MHz slope.
    auto through = DutModel::create(QStringLiteral("through"));
    const struct {
        double f;
        int code; // floor(0.95 * G(f) * 1e6)
    } points[] = {{1e6, 949547}, {10e6, 906549}, {30e6, 634751}};
    for (const auto& p : points) {
        const int c = through->code(p.f, kFine);
        EXPECT_GE(c, p.code - 1) << p.f;
        EXPECT_LE(c, p.code + 1) << p.f;
    }
    EXPECT_NEAR(generatorResponse(1e6), 0.9995232, 1e-6);
    EXPECT_NEAR(generatorResponse(30e6), 0.6681594, 1e-6);
    EXPECT_LE(db(generatorResponse(30e6) / generatorResponse(1e6)), -3.0);
    // Smooth: it falls at every step from 0 to 45 MHz, never by a jump.
    double last = generatorResponse(0.0);
    EXPECT_EQ(last, 1.0);
    for (double f = 100e3; f <= 45e6; f += 100e3) {
        const double g = generatorResponse(f);
        EXPECT_LT(g, last) << f;
        EXPECT_GT(g, last * 0.98) << f;
        last = g;
    }
}

TEST(SimulatedDuts, NormalisedByThroughEachDeviceShowsItsOwnResponse) {
    // The same sweep twice: each model starts from the same seed.
    EXPECT_EQ(normalisedDb("through", 17e6), 0.0);

    // Tuned circuit, f0 5 MHz, Q 8: -3.01 dB where Q x = 1, 625 kHz apart.
    EXPECT_NEAR(normalisedDb("bandpass", 5e6), 0.0, 1e-4);
    EXPECT_NEAR(normalisedDb("bandpass", 4697256.1), -3.0103, 0.002);
    EXPECT_NEAR(normalisedDb("bandpass", 5322256.1), -3.0103, 0.002);

    // 7th-order Butterworth at 10 MHz.
    EXPECT_NEAR(normalisedDb("lowpass", 1e6), 0.0, 1e-4);
    EXPECT_NEAR(normalisedDb("lowpass", 10e6), -3.0103, 0.002);
    EXPECT_NEAR(normalisedDb("lowpass", 20e6), -42.144, 0.01);

    // Band-stop at 7 MHz, Q 5, 40 dB deep: deepest at 7 MHz, -3.01 dB where Q x = 1.
    double deepestHz = 0.0, deepest = 0.0;
    for (double f = 5e6; f <= 9e6; f += 10e3) {
        const double level = normalisedDb("notch", f);
        if (level < deepest) {
            deepest = level;
            deepestHz = f;
        }
    }
    EXPECT_NEAR(deepestHz, 7e6, 1.0);
    EXPECT_NEAR(deepest, -40.0, 0.01);
    EXPECT_NEAR(normalisedDb("notch", 7734912.9), -3.0099, 0.002);
    EXPECT_NEAR(normalisedDb("notch", 1e6), 0.0, 0.1);
}

TEST(SimulatedDuts, OneCountOfSeededNoiseAndTheBandpassPeakWhereItWas) {
    // floor(0.95 * G(10 MHz) * 1023) = 927; the noise adds -1, 0 or +1, the same every run.
    auto a = DutModel::create(QStringLiteral("through"));
    auto b = DutModel::create(QStringLiteral("through"));
    QList<int> seen;
    for (int n = 0; n < 300; ++n) {
        const int c = a->code(10e6, 1023);
        EXPECT_EQ(b->code(10e6, 1023), c);
        EXPECT_GE(c, 926);
        EXPECT_LE(c, 928);
        if (!seen.contains(c))
            seen << c;
    }
    EXPECT_EQ(seen.size(), 3);
    // The tuned circuit's reading at its centre: 0.94 of full scale as before.
    auto bandpass = DutModel::create(QStringLiteral("bandpass"));
    for (int n = 0; n < 20; ++n) {
        const int c = bandpass->code(5e6, 1023);
        EXPECT_GE(c, 959);
        EXPECT_LE(c, 961);
    }
}

TEST(SimulatedDuts, TestSignalsKeepTheirExactCodes) {
    auto ramp = DutModel::create(QStringLiteral("ramp"));
    auto flat = DutModel::create(QStringLiteral("flat"));
    for (int repeat = 0; repeat < 3; ++repeat) { // no noise
        EXPECT_EQ(ramp->code(0.0, 1023), 0);
        EXPECT_EQ(ramp->code(1.005e6, 255), 100);
        EXPECT_EQ(ramp->code(7.005e6, 1023), 700);
        EXPECT_EQ(ramp->code(30e6, 1023), 1023);
        EXPECT_EQ(ramp->code(30e6, 255), 255);
        EXPECT_EQ(flat->code(1e6, 255), 128);
        EXPECT_EQ(flat->code(30e6, 1023), 512);
        EXPECT_EQ(ramp->phaseCode(5e6, 1023), 512);
    }
}

} // namespace
