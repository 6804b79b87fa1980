#include "SweepAverager.h"

#include <algorithm>

void SweepAverager::setCount(int n) {
    m_count = std::max(n, 1);
    trim();
}

void SweepAverager::trim() {
    while (int(m_history.size()) > m_count)
        m_history.pop_front();
}

QVector<double> SweepAverager::add(const QVector<double>& readings) {
    if (!m_history.empty() && m_history.back().size() != readings.size())
        m_history.clear();
    m_history.push_back(readings);
    trim();
    if (m_history.size() == 1)
        return readings;
    // Summed afresh each time: a few thousand additions, and no drift from a running sum.
    QVector<double> mean(readings.size(), 0.0);
    for (const QVector<double>& sweep : m_history) {
        for (qsizetype i = 0; i < mean.size(); ++i)
            mean[i] += sweep[i];
    }
    const double n = double(m_history.size());
    for (double& v : mean)
        v /= n;
    return mean;
}
