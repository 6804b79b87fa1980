#pragma once
// A sweep kept for later: the reference a sweep is normalised to, or a memory drawn beside the
// live curve. It keeps its points sorted by frequency, whichever way its sweep ran, and gives
// its value at any frequency between its ends by linear interpolation in frequency.
//
// A stored trace covers a sweep's frequency when that frequency lies between the trace's
// lowest and highest frequency, or beyond them by at most half the sweep's step (two sweeps
// over "the same" range may differ by the rounding of their steps). Such a point takes the
// value of the trace's end point: nothing is extrapolated.
#include "SweepContract.h"

#include <QVector>
#include <QtGlobal>
#include <optional>

class StoredTrace {
public:
    StoredTrace() = default;
    // hz[i] and values[i] form one point; a point whose frequency or value is not finite is
    // left out, and so is the tail of the longer vector.
    StoredTrace(const QVector<double>& hz, const QVector<double>& values);

    bool isEmpty() const { return m_hz.isEmpty(); }
    int size() const { return int(m_hz.size()); }
    // Both 0 for an empty trace.
    double lowestHz() const { return isEmpty() ? 0.0 : m_hz.front(); }
    double highestHz() const { return isEmpty() ? 0.0 : m_hz.back(); }
    const QVector<double>& frequencies() const { return m_hz; } // ascending
    const QVector<double>& values() const { return m_values; }  // in the order of frequencies()

    // The value at hz: linear between the two points around it, the end value beyond the ends;
    // 0 for an empty trace.
    double valueAt(double hz) const;
    // Whether every frequency from lowHz to highHz lies within the trace's range widened by
    // toleranceHz at each end. An empty trace covers nothing.
    bool covers(double lowHz, double highHz, double toleranceHz) const;

private:
    QVector<double> m_hz;
    QVector<double> m_values;
};

// Half the step between the points of a sweep (either direction): how far a sweep may reach
// beyond a stored trace's ends and still be covered. 0 for fewer than two points.
double halfStepOf(const QVector<double>& sweepHz);

// The stored trace on a sweep's frequencies: the interpolated value at each point it covers,
// no value at the others (a memory is drawn only over its own range).
QVector<std::optional<double>> traceOnSweep(const StoredTrace& trace,
                                            const QVector<double>& sweepHz);

// The frequencies of a sweep's points: start + i x step for i = 0 .. points - 1 (the step is
// negative on a downward sweep).
QVector<double> sweepFrequencies(qint64 start, qint64 step, int points = NUMERO_CAMPIONI);
