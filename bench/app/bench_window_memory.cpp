// bench_window_memory [seconds] [interval]: runs the demo as a user does (the window on the
// simulated parallel-port board, paced like the real hardware, the band-pass device under
// test), presses "Sweep ON" and prints the resident memory of the window's process and of
// tarvex every interval seconds (default 600 s in steps of 30 s), then the growth per hour.
#include "BenchWindow.h"
#include "frmSweep.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
const QByteArray kIni =
    QByteArray(kDemoHardware) + "[Sweep Generator]\nStart=1000000\nStop=10000000\nMax scaleV=1.5\n";

// VmRSS of a process in kB, -1 when it cannot be read.
long rssKb(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 600;
    const int interval = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 30;
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Sweep.ini")));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(kIni);
    f.close();

    QuietMessages messages;
    StartOptions o;
    o.iniPath = f.fileName();
    o.lockPath = dir.filePath(QStringLiteral("lock"));
    frmSweep w(o, &messages);
    if (!w.load() || !w.deviceBound()) {
        std::fprintf(stderr, "the window did not bind the simulated board\n");
        return 1;
    }
    w.show();
    long sweeps = 0;
    QObject::connect(&w, &frmSweep::sweepReceived, &w, [&sweeps] { ++sweeps; });
    w.findChild<QPushButton*>(QStringLiteral("cmdStart"))->click();

    const qint64 server = w.serverPid();
    const qint64 self = QCoreApplication::applicationPid();
    long firstWindow = -1, firstServer = -1, lastWindow = -1, lastServer = -1;
    QElapsedTimer clock;
    clock.start();
    std::printf("%8s %8s %14s %14s\n", "seconds", "sweeps", "sweep RSS kB", "tarvex RSS kB");
    const auto sample = [&] {
        lastWindow = rssKb(self);
        lastServer = rssKb(server);
        if (firstWindow < 0) {
            firstWindow = lastWindow;
            firstServer = lastServer;
        }
        std::printf("%8lld %8ld %14ld %14ld\n", clock.elapsed() / 1000, sweeps, lastWindow,
                    lastServer);
        std::fflush(stdout);
    };
    // The first figure once the sweep runs and the caches have filled.
    QTimer::singleShot(5000, &w, sample);
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &w, sample);
    QTimer::singleShot(5000, &w, [&] { ticker.start(interval * 1000); });
    QTimer::singleShot(seconds * 1000 + 5000, &app, [&] {
        ticker.stop();
        sample();
        const double hours = (clock.elapsed() / 1000.0 - 5.0) / 3600.0;
        std::printf("sweeps: %ld (%.1f per second)\n", sweeps, sweeps / (clock.elapsed() / 1000.0));
        std::printf("sweep:  %ld kB -> %ld kB, %+.0f kB per hour\n", firstWindow, lastWindow,
                    (lastWindow - firstWindow) / hours);
        std::printf("tarvex: %ld kB -> %ld kB, %+.0f kB per hour\n", firstServer, lastServer,
                    (lastServer - firstServer) / hours);
        w.close();
        app.quit();
    });
    return app.exec();
}
