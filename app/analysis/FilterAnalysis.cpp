#include "FilterAnalysis.h"

#include <algorithm>
#include <cmath>

namespace {

// The points sorted by frequency.
struct Curve {
    QVector<double> hz;
    QVector<double> db;
    qsizetype size() const { return hz.size(); }
};

Curve sortedCurve(const QVector<double>& hz, const QVector<double>& db) {
    const qsizetype n = std::min(hz.size(), db.size());
    QVector<qsizetype> order;
    order.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (std::isfinite(hz[i]) && std::isfinite(db[i]))
            order.push_back(i);
    }
    // A downward sweep is reversed first, so the sort finds it already in order.
    if (order.size() > 1 && hz[order.front()] > hz[order.back()])
        std::reverse(order.begin(), order.end());
    std::stable_sort(order.begin(), order.end(),
                     [&hz](qsizetype a, qsizetype b) { return hz[a] < hz[b]; });
    Curve c;
    c.hz.reserve(order.size());
    c.db.reserve(order.size());
    for (qsizetype i : order) {
        c.hz.push_back(hz[i]);
        c.db.push_back(db[i]);
    }
    return c;
}

// The adjacent points that hold the curve's maximum (or minimum), the first such run.
struct Run {
    qsizetype first = 0;
    qsizetype last = 0;
};

Run extreme(const Curve& c, bool highest) {
    qsizetype best = 0;
    for (qsizetype i = 1; i < c.size(); ++i) {
        if (highest ? c.db[i] > c.db[best] : c.db[i] < c.db[best])
            best = i;
    }
    Run run{best, best};
    while (run.last + 1 < c.size() && c.db[run.last + 1] == c.db[best])
        ++run.last;
    return run;
}

// Walks from point `from` one point at a time in direction step (-1 or +1) to the first point
// that has reached the threshold (fallen to it or below, or risen to it or above) and returns
// the interpolated frequency of the crossing. None when point `from` has reached it already or
// the curve ends first.
std::optional<double> crossing(const Curve& c, qsizetype from, int step, double threshold,
                               bool falling) {
    const auto reached = [&](double level) {
        return falling ? level <= threshold : level >= threshold;
    };
    if (reached(c.db[from]))
        return std::nullopt;
    for (qsizetype i = from, j = from + step; j >= 0 && j < c.size(); i = j, j += step) {
        if (reached(c.db[j])) {
            // db[i] is strictly on the other side of the threshold, so db[j] != db[i].
            const double t = (threshold - c.db[i]) / (c.db[j] - c.db[i]);
            return c.hz[i] + t * (c.hz[j] - c.hz[i]);
        }
    }
    return std::nullopt;
}

struct Edges {
    std::optional<double> lower;
    std::optional<double> upper;
    std::optional<double> width() const {
        if (lower && upper)
            return *upper - *lower;
        return std::nullopt;
    }
};

// The crossings on either side of the extreme run.
Edges edgesAround(const Curve& c, Run run, double threshold, bool falling) {
    return {crossing(c, run.first, -1, threshold, falling),
            crossing(c, run.last, +1, threshold, falling)};
}

std::optional<double> ratio(std::optional<double> a, std::optional<double> b) {
    if (a && b && *b > 0.0)
        return *a / *b;
    return std::nullopt;
}

void setPeak(FilterResult& r, const Curve& c, Run run) {
    r.peakDb = c.db[run.first];
    if (run.first > 0 || run.last < c.size() - 1)
        r.peakHz = (c.hz[run.first] + c.hz[run.last]) / 2.0;
}

void setEdges(FilterResult& r, const Edges& e) {
    r.lowerHz = e.lower;
    r.upperHz = e.upper;
    r.bandwidthHz = e.width();
    if (r.bandwidthHz) {
        r.centreHz = (*e.lower + *e.upper) / 2.0;
        r.q = ratio(r.centreHz, r.bandwidthHz);
    }
}

constexpr double kShapeNarrowDb = 6.0;
constexpr double kShapeWideDb = 60.0;

} // namespace

FilterResult analyseFilter(const QVector<double>& hz, const QVector<double>& db, FilterType type,
                           double levelDb) {
    FilterResult r;
    const Curve c = sortedCurve(hz, db);
    if (c.size() == 0)
        return r;
    const double fall = std::abs(levelDb);
    const qsizetype last = c.size() - 1;

    switch (type) {
    case FilterType::BandPass: {
        const Run peak = extreme(c, true);
        setPeak(r, c, peak);
        const double top = c.db[peak.first];
        setEdges(r, edgesAround(c, peak, top - fall, true));
        r.shapeFactor = ratio(edgesAround(c, peak, top - kShapeWideDb, true).width(),
                              edgesAround(c, peak, top - kShapeNarrowDb, true).width());
        break;
    }
    case FilterType::BandStop: {
        const Run notch = extreme(c, false);
        setPeak(r, c, notch);
        const double pass = (c.db.front() + c.db.back()) / 2.0;
        setEdges(r, edgesAround(c, notch, pass - fall, false));
        r.shapeFactor = ratio(edgesAround(c, notch, pass - kShapeNarrowDb, false).width(),
                              edgesAround(c, notch, pass - kShapeWideDb, false).width());
        break;
    }
    case FilterType::LowPass: {
        setPeak(r, c, extreme(c, true));
        const double pass = c.db.front();
        r.upperHz = crossing(c, 0, +1, pass - fall, true);
        r.shapeFactor = ratio(crossing(c, 0, +1, pass - kShapeWideDb, true),
                              crossing(c, 0, +1, pass - kShapeNarrowDb, true));
        break;
    }
    case FilterType::HighPass: {
        setPeak(r, c, extreme(c, true));
        const double pass = c.db.back();
        r.lowerHz = crossing(c, last, -1, pass - fall, true);
        r.shapeFactor = ratio(crossing(c, last, -1, pass - kShapeNarrowDb, true),
                              crossing(c, last, -1, pass - kShapeWideDb, true));
        break;
    }
    }
    return r;
}
