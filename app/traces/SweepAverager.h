#pragma once
// "Averaging": each point shows the mean of its readings over the last N sweeps (N = 1 is
// "Off"). The caller restarts it (reset) when the range changes or sweeping starts, so sweeps
// of different frequencies are never mixed; until N sweeps are in, the mean is over those
// there are.
#include <QVector>
#include <deque>

class SweepAverager {
public:
    // N sweeps to average; 1 (or less) is "Off". A smaller N keeps only the newest sweeps.
    void setCount(int n);
    int count() const { return m_count; }
    // Forgets every sweep taken so far.
    void reset() { m_history.clear(); }
    // Sweeps the next mean is taken over (at most count()).
    int sweepsIn() const { return int(m_history.size()); }

    // Takes one sweep's readings and returns the mean of each point over the sweeps in. A sweep
    // with another number of points than the ones before it restarts the history.
    QVector<double> add(const QVector<double>& readings);

private:
    void trim();

    int m_count = 1;
    std::deque<QVector<double>> m_history; // oldest first
};
