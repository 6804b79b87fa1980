#include "StoredTrace.h"

#include <algorithm>
#include <cmath>

StoredTrace::StoredTrace(const QVector<double>& hz, const QVector<double>& values) {
    const qsizetype n = std::min(hz.size(), values.size());
    QVector<qsizetype> order;
    order.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (std::isfinite(hz[i]) && std::isfinite(values[i]))
            order.push_back(i);
    }
    // Stable, so points of equal frequency keep their sweep order.
    std::stable_sort(order.begin(), order.end(),
                     [&hz](qsizetype a, qsizetype b) { return hz[a] < hz[b]; });
    m_hz.reserve(order.size());
    m_values.reserve(order.size());
    for (qsizetype i : order) {
        m_hz.push_back(hz[i]);
        m_values.push_back(values[i]);
    }
}

double StoredTrace::valueAt(double hz) const {
    if (isEmpty())
        return 0.0;
    // First point strictly above hz; the one before it is at or below hz.
    const auto above = std::upper_bound(m_hz.cbegin(), m_hz.cend(), hz);
    if (above == m_hz.cbegin())
        return m_values.front();
    if (above == m_hz.cend())
        return m_values.back();
    const qsizetype j = above - m_hz.cbegin();
    const qsizetype i = j - 1;
    const double t = (hz - m_hz[i]) / (m_hz[j] - m_hz[i]); // m_hz[j] > hz >= m_hz[i]
    return m_values[i] + t * (m_values[j] - m_values[i]);
}

bool StoredTrace::covers(double lowHz, double highHz, double toleranceHz) const {
    if (isEmpty())
        return false;
    return lowHz >= lowestHz() - toleranceHz && highHz <= highestHz() + toleranceHz;
}

double halfStepOf(const QVector<double>& sweepHz) {
    if (sweepHz.size() < 2)
        return 0.0;
    const auto [lo, hi] = std::minmax_element(sweepHz.cbegin(), sweepHz.cend());
    return (*hi - *lo) / double(sweepHz.size() - 1) / 2.0;
}

QVector<std::optional<double>> traceOnSweep(const StoredTrace& trace,
                                            const QVector<double>& sweepHz) {
    QVector<std::optional<double>> out(sweepHz.size());
    const double tolerance = halfStepOf(sweepHz);
    for (qsizetype i = 0; i < sweepHz.size(); ++i) {
        if (trace.covers(sweepHz[i], sweepHz[i], tolerance))
            out[i] = trace.valueAt(sweepHz[i]);
    }
    return out;
}

QVector<double> sweepFrequencies(qint64 start, qint64 step, int points) {
    QVector<double> hz(std::max(points, 0));
    for (int i = 0; i < hz.size(); ++i)
        hz[i] = double(start + qint64(i) * step);
    return hz;
}
