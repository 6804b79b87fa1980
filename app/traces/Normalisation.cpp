#include "Normalisation.h"

#include "NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNoLogarithmDb = -100.0;

QString hzText(double hz) {
    return formatNumber(hz, QStringLiteral("###,###,##0"));
}
} // namespace

double normalisedLevel(double volts, double referenceVolts, NormalUnit unit) {
    if (unit == NormalUnit::Ratio)
        return referenceVolts > 0.0 ? volts / referenceVolts : 0.0;
    if (volts <= 0.0 || referenceVolts <= 0.0)
        return kNoLogarithmDb;
    return 20.0 * std::log10(volts / referenceVolts);
}

QString coverageRefusal(double referenceLowHz, double referenceHighHz, double sweepLowHz,
                        double sweepHighHz) {
    return QStringLiteral("The reference covers %1 Hz to %2 Hz; the sweep covers %3 Hz to %4 Hz. "
                          "Store a reference over the sweep's range.")
        .arg(hzText(referenceLowHz), hzText(referenceHighHz), hzText(sweepLowHz),
             hzText(sweepHighHz));
}

NormalisedSweep normaliseSweep(const QVector<double>& sweepHz, const QVector<double>& volts,
                               const StoredTrace& reference, NormalUnit unit) {
    NormalisedSweep out;
    const qsizetype n = std::min(sweepHz.size(), volts.size());
    if (n == 0)
        return out;
    if (reference.isEmpty()) {
        out.refusal = QStringLiteral("No reference is stored. Store a reference over the "
                                     "sweep's range.");
        return out;
    }
    const QVector<double> hz = sweepHz.first(n);
    const auto [lo, hi] = std::minmax_element(hz.cbegin(), hz.cend());
    if (!reference.covers(*lo, *hi, halfStepOf(hz))) {
        out.refusal = coverageRefusal(reference.lowestHz(), reference.highestHz(), *lo, *hi);
        return out;
    }
    out.levels.resize(n);
    for (qsizetype i = 0; i < n; ++i)
        out.levels[i] = normalisedLevel(volts[i], reference.valueAt(hz[i]), unit);
    return out;
}
