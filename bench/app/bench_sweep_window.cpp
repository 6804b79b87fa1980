// bench_sweep_window [seconds]: prints sweeps per second through the whole chain and the
// window's own cost per received sweep (table fill, rate labels, curve redraw).
#include "BenchWindow.h"
#include "SweepController.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "frmSweep.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {
const QByteArray kIni =
    QByteArray(kDemoHardware) + "[Sweep Generator]\nStart=1000000\nStop=30000000\nScale=%1\n";
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLatin1(argv[1]).toDouble() : 5.0;
    QTemporaryDir dir;
    for (int scale : {0, 1}) {
        QFile f(dir.filePath(QStringLiteral("Sweep.ini")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(QByteArray(kIni).replace("%1", QByteArray::number(scale)));
        f.close();

        QuietMessages messages;
        StartOptions o;
        o.iniPath = f.fileName();
        o.lockPath = dir.filePath(QStringLiteral("lock"));
        o.extraServerArgs = {QStringLiteral("--sim-pace"), QStringLiteral("max")};
        frmSweep w(o, &messages);
        if (!w.load() || !w.deviceBound()) {
            std::fprintf(stderr, "the window did not bind the simulated board\n");
            return 1;
        }
        w.show();

        // The window's own cost: one received sweep into the table and rate labels, then the
        // deferred curve redraw painted at once.
        // Different counts every sweep, as a live detector gives (equal texts would cost nothing).
        QVector<QVector<double>> vectors(16, QVector<double>(406));
        for (auto& v : vectors)
            for (double& x : v)
                x = QRandomGenerator::global()->bounded(1024);
        const int rounds = 500;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < rounds; ++i)
            w.datiDDS(vectors[i % vectors.size()]);
        const double dataMs = double(t.nsecsElapsed()) / 1e6 / rounds;
        t.restart();
        for (int i = 0; i < rounds; ++i) {
            w.datiDDS(vectors[i % vectors.size()]);
            w.controller()->timerGrafico_Timer();
            w.graph()->repaint();
        }
        const double totalMs = double(t.nsecsElapsed()) / 1e6 / rounds;
        w.selezionaVista(1);
        QCoreApplication::processEvents();
        t.restart();
        for (int i = 0; i < rounds; ++i) {
            w.datiDDS(vectors[i % vectors.size()]);
            w.controller()->timerGrafico_Timer();
            w.graph()->repaint();
            w.table()->viewport()->repaint();
        }
        const double tableMs = double(t.nsecsElapsed()) / 1e6 / rounds;
        w.selezionaVista(0);

        // The whole chain, unpaced board.
        int sweeps = 0;
        QObject::connect(&w, &frmSweep::sweepReceived, &w, [&sweeps] { ++sweeps; });
        w.findChild<QPushButton*>(QStringLiteral("cmdStart"))->click();
        QElapsedTimer run;
        run.start();
        while (run.elapsed() < seconds * 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const double elapsed = run.elapsed() / 1000.0;
        w.findChild<QPushButton*>(QStringLiteral("cmdStop"))->click();
        while (w.statoSweep() != 0 && run.elapsed() < seconds * 1000 + 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

        std::printf("scale %d (%s)\n", scale, scale == 0 ? "volts" : "dB");
        std::printf("  window per received sweep (table + labels):      %.3f ms\n", dataMs);
        std::printf("  window per received sweep (+ curve redraw/paint): %.3f ms\n", totalMs);
        std::printf("  the same with the table view shown and repainted: %.3f ms\n", tableMs);
        std::printf(
            "  whole chain, unpaced board: %d sweeps in %.1f s = %.1f sweeps/s (%.2f ms/sweep)\n",
            sweeps, elapsed, sweeps / elapsed, sweeps ? elapsed * 1000 / sweeps : 0.0);
        w.close();
    }
    return 0;
}
