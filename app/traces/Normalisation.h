#pragma once
// "Normalize": each point of a sweep measured against a stored reference sweep, so a cable's
// or a detector's own response drops out. On the dB scales a point's level becomes
// 20 log10(V / Vref), on "Linear" the ratio V / Vref, where Vref is the reference's volts at
// the point's frequency, interpolated when the reference was taken with other points.
//
// A reference that does not cover the sweep's range (see StoredTrace) is refused whole, with a
// message that gives both ranges: a part-normalised curve would mix two units.
#include "StoredTrace.h"

#include <QString>
#include <QVector>

enum class NormalUnit {
    Decibel, // 20 log10(V / Vref)
    Ratio    // V / Vref, on "Linear"
};

// The level of one point. A logarithm needs two positive volts: a reference or a reading of 0 V
// or below gives -100 dB, the floor every dB scale uses for 0 V. The ratio against a reference
// of 0 V or below is 0: there is nothing to compare with, and 0 keeps the curve on the graph.
double normalisedLevel(double volts, double referenceVolts, NormalUnit unit);

struct NormalisedSweep {
    QVector<double> levels; // one per sweep point; empty when refused
    QString refusal;        // why the sweep cannot be normalised; empty on success
    bool ok() const { return refusal.isEmpty(); }
};

// Normalises the sweep whose point i lies at sweepHz[i] (either direction) and read volts[i].
// Points beyond the shorter of the two vectors are left out.
NormalisedSweep normaliseSweep(const QVector<double>& sweepHz, const QVector<double>& volts,
                               const StoredTrace& reference, NormalUnit unit);

// The message of a refused normalisation: "The reference covers 1,000,000 Hz to 30,000,000 Hz;
// the sweep covers 500,000 Hz to 40,000,000 Hz. Store a reference over the sweep's range."
// (frequencies with the locale's group separator, lowest first).
QString coverageRefusal(double referenceLowHz, double referenceHighHz, double sweepLowHz,
                        double sweepHighHz);
