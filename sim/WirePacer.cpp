#include "WirePacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

double WirePacer::now() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void WirePacer::hostSent(qsizetype n) {
    if (!paced())
        return;
    m_hostDone = std::max(now(), m_hostDone) + static_cast<double>(n) / m_rate;
}

void WirePacer::outputStarted() {
    // A run that is still on the wire continues where it is; a new one starts after the
    // host's bytes.
    const double t = now();
    const double runEnd = m_base + static_cast<double>(m_count) / m_rate;
    m_base = std::max({t, m_hostDone, paced() ? runEnd : 0.0});
    m_count = 0;
}

qsizetype WirePacer::allowance() const {
    if (!paced())
        return std::numeric_limits<int>::max();
    const double elapsed = now() - m_base;
    if (elapsed <= 0.0)
        return 0;
    const auto total = static_cast<qint64>(std::floor(elapsed * m_rate));
    return static_cast<qsizetype>(std::max<qint64>(0, total - m_count));
}

double WirePacer::msUntil(qsizetype n) const {
    if (!paced() || n <= 0)
        return 0.0;
    const double due = m_base + static_cast<double>(m_count + n) / m_rate;
    return std::max(0.0, (due - now()) * 1000.0);
}
