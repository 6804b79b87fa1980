// bench_graph [width height]: microseconds to draw the curve of one sweep (400 points,
// antialiased, over the grid layer) and to redraw the whole grid, painted into an image of the
// picture's size at pixel ratio 1 and 2. The default size is the picture's in the 800 x 600
// window. Target: the curve under 1 ms at ratio 2. Also the redraw of the live curve with four
// memories under it, normalised: each memory mapped onto the sweep's frequencies and measured
// against the reference, then everything painted. Target: under 2 ms at ratio 2.
#include "Normalisation.h"
#include "ScaleModel.h"
#include "StoredTrace.h"
#include "SweepGraph.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
constexpr int kRounds = 2000;

double medianMicros(std::vector<qint64>& ns) {
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1000.0;
}

// A band-pass curve with noise, as the simulated board gives.
QVector<double> curve(int round) {
    QVector<double> y(400);
    for (int i = 0; i < 400; ++i) {
        const double off = (i - 120) / 25.0;
        const double db = -40.0 / (1.0 + 1.0 / (0.05 + off * off)) + 0.3 * std::sin(i * 7 + round);
        y[i] = -1000.0 * db;
    }
    return y;
}

// Volts of a band-pass swept over hz, shifted by `shift` points.
QVector<double> volts(const QVector<double>& hz, double shift) {
    QVector<double> v(hz.size());
    for (int i = 0; i < hz.size(); ++i) {
        const double off = (i - 120 - shift) / 25.0;
        v[i] = 1.2 / (1.0 + 1.0 / (0.05 + off * off)) + 0.01;
    }
    return v;
}

// Four memories (taken over a range a little wider than the sweep's) and a reference, as the
// window maps them at every redraw.
void measureMemories(SweepGraph& g, qreal ratio) {
    QImage img(g.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    const QVector<double> hz = sweepFrequencies(3000000, 10000);
    const QVector<double> wider = sweepFrequencies(2900000, 10600);
    std::vector<StoredTrace> memories;
    for (int m = 0; m < 4; ++m)
        memories.emplace_back(wider, volts(wider, 10.0 * m));
    const StoredTrace reference(wider, QVector<double>(400, 1.0));
    QVector<double> refVolts(hz.size());
    for (int i = 0; i < hz.size(); ++i)
        refVolts[i] = reference.valueAt(hz[i]);
    std::vector<qint64> ns;
    QElapsedTimer t;
    for (int r = 0; r < kRounds; ++r) {
        t.start();
        g.drawLine(curve(r));
        QVector<MemoryCurve> curves;
        for (int m = 0; m < 4; ++m) {
            MemoryCurve c{
                SweepGraph::memoryColour(m + 1), QStringLiteral("Memory %1").arg(m + 1), {}};
            const QVector<std::optional<double>> v = traceOnSweep(memories[size_t(m)], hz);
            c.y.resize(v.size());
            for (int i = 0; i < v.size(); ++i)
                if (v[i])
                    c.y[i] = ScaleModel::userY(
                        normalisedLevel(*v[i], refVolts[i], NormalUnit::Decibel), 1);
            curves << c;
        }
        g.setMemories(curves);
        QPainter p(&img);
        g.paintPicture(p);
        p.end();
        ns.push_back(t.nsecsElapsed());
    }
    g.setMemories({});
    std::printf("ratio %.0f  %4d x %4d px: curve with 4 normalised memories %7.1f us (median of "
                "%d)\n",
                ratio, img.width(), img.height(), medianMicros(ns), kRounds);
}

void measure(SweepGraph& g, qreal ratio) {
    QImage img(g.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    {
        QPainter p(&img); // the grid layer made once
        g.paintPicture(p);
    }
    std::vector<qint64> curveNs;
    std::vector<qint64> gridNs;
    QElapsedTimer t;
    for (int r = 0; r < kRounds; ++r) {
        t.start();
        g.drawLine(curve(r));
        QPainter p(&img);
        g.paintPicture(p);
        p.end();
        curveNs.push_back(t.nsecsElapsed());
    }
    for (int r = 0; r < kRounds / 4; ++r) {
        t.start();
        g.drawScreen();
        QPainter p(&img);
        g.paintPicture(p);
        p.end();
        gridNs.push_back(t.nsecsElapsed());
    }
    std::printf("ratio %.0f  %4d x %4d px: curve %7.1f us, grid %7.1f us (median of %d / %d)\n",
                ratio, img.width(), img.height(), medianMicros(curveNs), medianMicros(gridNs),
                kRounds, kRounds / 4);
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int w = args.size() > 2 ? args[1].toInt() : 446;
    const int h = args.size() > 2 ? args[2].toInt() : 470;
    SweepGraph g;
    g.resize(w, h);
    g.inizializzaGraph(1.5);
    g.setScale(1, *ScaleModel::frameOf(1, 1.5, 60));
    g.drawScreen();
    for (qreal ratio : {1.0, 2.0})
        measure(g, ratio);
    for (qreal ratio : {1.0, 2.0})
        measureMemories(g, ratio);
    return 0;
}
