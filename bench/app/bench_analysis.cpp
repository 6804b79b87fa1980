// bench_analysis: microseconds to analyse one curve of 400 points with each filter type, and
// to normalise a 400-point sweep to a reference taken over a wider range (interpolated at
// every point), each the median of many rounds. Target: well under 1 ms each.
#include "FilterAnalysis.h"
#include "Normalisation.h"
#include "StoredTrace.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int kRounds = 5000;
constexpr int kPoints = 400;

double medianMicros(const std::function<void()>& work) {
    std::vector<qint64> ns;
    ns.reserve(kRounds);
    QElapsedTimer t;
    for (int r = 0; r < kRounds; ++r) {
        t.start();
        work();
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1000.0;
}

// A 4th-order band-pass at 10 MHz (Q 5) with a little ripple, swept 4 .. 20 MHz.
void bandPass(QVector<double>& hz, QVector<double>& db) {
    for (int i = 0; i < kPoints; ++i) {
        const double f = 4e6 + i * 40e3;
        const double x = 5.0 * (f / 10e6 - 10e6 / f);
        hz.push_back(f);
        db.push_back(-10.0 * std::log10(1.0 + std::pow(x, 8)) + 0.05 * std::sin(i * 0.7));
    }
}
} // namespace

int main() {
    QVector<double> hz;
    QVector<double> db;
    bandPass(hz, db);
    QVector<double> notch(db.size());
    std::transform(db.cbegin(), db.cend(), notch.begin(), [](double v) { return -80.0 - v; });
    QVector<double> downHz(hz.crbegin(), hz.crend());
    QVector<double> downDb(db.crbegin(), db.crend());

    volatile double sink = 0;
    const struct {
        const char* name;
        FilterType type;
        const QVector<double>* f;
        const QVector<double>* l;
    } cases[] = {{"band-pass", FilterType::BandPass, &hz, &db},
                 {"band-pass (downward)", FilterType::BandPass, &downHz, &downDb},
                 {"band-stop", FilterType::BandStop, &hz, &notch},
                 {"low-pass", FilterType::LowPass, &hz, &db},
                 {"high-pass", FilterType::HighPass, &hz, &db}};
    double total = 0;
    for (const auto& c : cases) {
        const double us = medianMicros([&] {
            const FilterResult r = analyseFilter(*c.f, *c.l, c.type, -3);
            sink = sink + r.peakDb.value_or(0);
        });
        if (c.type != FilterType::BandPass || c.f == &hz)
            total += us;
        std::printf("%-40s %7.1f us\n", (QByteArray("analyse ") + c.name).constData(), us);
    }
    std::printf("%-40s %7.1f us\n", "analyse all four types", total);

    // Reference: 400 points over 1 .. 40.9 MHz; sweep: 400 points downward 30 .. 2.07 MHz.
    QVector<double> refHz;
    QVector<double> refVolts;
    QVector<double> sweepHz;
    QVector<double> volts;
    for (int i = 0; i < kPoints; ++i) {
        refHz.push_back(1e6 + i * 100e3);
        refVolts.push_back(0.8 + 0.1 * std::sin(i * 0.05));
        sweepHz.push_back(30e6 - i * 70e3);
        volts.push_back(0.4 + 0.05 * std::cos(i * 0.03));
    }
    const StoredTrace reference(refHz, refVolts);
    const double normUs = medianMicros([&] {
        const NormalisedSweep n = normaliseSweep(sweepHz, volts, reference, NormalUnit::Decibel);
        sink = sink + n.levels.value(0);
    });
    std::printf("%-40s %7.1f us\n", "normalise 400 points (dB, interpolated)", normUs);
    const double storeUs = medianMicros([&] {
        const StoredTrace t(refHz, refVolts);
        sink = sink + t.highestHz();
    });
    std::printf("%-40s %7.1f us\n", "store a 400-point reference", storeUs);
    std::printf("(medians of %d rounds)\n", kRounds);
    return 0;
}
