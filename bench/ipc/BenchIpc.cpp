// bench_ipc [SECONDS]: prints the IPC figures of tarvex, measured against tarvex-testserver
// in the same folder.
//   1. round trip of a method call (median and 99th percentile), idle and during a loop;
//   2. vectors per second reaching a client that keeps up (credit window 8, unpaced device);
//   3. resident memory of both processes over SECONDS (default 10) while the client is
//      10 times slower than the device, without and with the credit window, and how long a
//      stop request then takes.
#include "CAsyncLPTProxy.h"
#include "CAsyncPICProxy.h"
#include "FlowProxy.h"
#include "TarvexLauncher.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

long rssKiB(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void spinFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool spinUntil(const std::function<bool()>& cond, int maxMs) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void printRoundTrip(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2];
    const double p99 = us[static_cast<size_t>(static_cast<double>(us.size()) * 0.99)];
    std::printf("round trip %-22s median %7.1f us   p99 %7.1f us   (%zu calls)\n", what, median,
                p99, us.size());
}

std::vector<double> measureCalls(CAsyncLPTProxy* lpt, int n) {
    std::vector<double> us;
    us.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        const short v = lpt->aReadADC().value();
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        (void)v;
    }
    return us;
}

struct Session {
    TarvexLauncher launcher;
    CAsyncPICProxy* pic = nullptr;
    CAsyncLPTProxy* lpt = nullptr;
    FlowProxy* flow = nullptr;
    QObject owner;

    bool start() {
        launcher.setProgram(QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral("tarvex-testserver")));
        QString error;
        if (!launcher.start({}, &error)) {
            std::fprintf(stderr, "bench_ipc: %s\n", qPrintable(error));
            return false;
        }
        pic = new CAsyncPICProxy(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection(),
                                 &owner);
        lpt = new CAsyncLPTProxy(QString(), QStringLiteral("/cAsyncLPT"), launcher.connection(),
                                 &owner);
        flow =
            new FlowProxy(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection(), &owner);
        return true;
    }
};

// Memory over seconds with a client that spends 10 ms on each vector while the device
// makes one per millisecond. A busy client thread cannot time itself (one turn of its event
// loop may run a long backlog), so a second thread samples the memory and sends the stop.
void slowClient(int window, int seconds) {
    Session s;
    if (!s.start())
        return;
    const qint64 serverPid = s.launcher.serverPid();
    std::atomic<int> received{0};
    std::atomic<bool> draining{false};
    std::atomic<bool> complete{false};
    QObject::connect(s.pic, &CAsyncPICProxy::aVettore, &s.owner, [&] {
        ++received;
        if (!draining)
            QThread::msleep(10);
        if (window > 0)
            s.flow->AckVettore();
    });
    QObject::connect(s.pic, &CAsyncPICProxy::aComplete, &s.owner, [&] { complete = true; });
    s.pic->setMySlowCPU(1);
    s.flow->SetVectorWindow(window).waitForFinished();
    s.pic->Start().waitForFinished();
    std::printf("slow client, %s:\n",
                window > 0 ? qPrintable(QStringLiteral("window %1").arg(window)) : "no window");
    std::printf("   t/s   client RSS KiB   server RSS KiB   vectors received\n");
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    Clock::time_point stopAt;
    double stopCallMs = 0.0;
    QDBusConnection connection = s.launcher.connection();
    std::thread sampler([&] {
        const auto t0 = Clock::now();
        for (int t = 0; t <= seconds; ++t) {
            std::this_thread::sleep_until(t0 + std::chrono::seconds(t));
            std::printf("  %4d   %14ld   %14ld   %16d\n", t, rssKiB(::getpid()), rssKiB(serverPid),
                        received.load());
            std::fflush(stdout);
        }
        // The stop request, as the client's Sweep OFF would send it.
        QDBusMessage set = QDBusMessage::createMethodCall(
            QString(), QStringLiteral("/cAsyncPIC"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
        set << QStringLiteral("org.orvane.Tarvex.cAsyncPIC") << QStringLiteral("aSweepON")
            << QVariant::fromValue(QDBusVariant(QVariant::fromValue<short>(2)));
        stopAt = Clock::now();
        connection.call(set, QDBus::Block, 120000);
        stopCallMs = std::chrono::duration<double, std::milli>(Clock::now() - stopAt).count();
        draining = true;
    });
    spinUntil([&] { return complete.load(); }, (seconds + 180) * 1000);
    sampler.join();
    const double completeMs =
        std::chrono::duration<double, std::milli>(Clock::now() - stopAt).count();
    std::printf("  stop: aSweepON = 2 answered after %.1f ms; aComplete reached the client after "
                "%.1f ms%s (%d vectors received in all)\n",
                stopCallMs, completeMs, complete ? "" : " (not seen)", received.load());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;

    {
        Session s;
        if (!s.start())
            return 1;
        measureCalls(s.lpt, 200); // warm-up
        printRoundTrip("(idle server)", measureCalls(s.lpt, 5000));

        // During a paced loop (2 ms per pass) the call is served between two points.
        int vectors = 0;
        QObject::connect(s.pic, &CAsyncPICProxy::aVettore, &s.owner, [&] { ++vectors; });
        s.pic->Start().waitForFinished();
        spinUntil([&] { return vectors > 0; }, 5000);
        printRoundTrip("(during a loop)", measureCalls(s.lpt, 2000));
        s.pic->setASweepON(2);
        spinFor(100);

        // A client that keeps up: unpaced device, credit window 8, one ack per vector.
        bool complete = false;
        vectors = 0;
        QObject::connect(s.pic, &CAsyncPICProxy::aVettore, &s.owner, [&] { s.flow->AckVettore(); });
        QObject::connect(s.pic, &CAsyncPICProxy::aComplete, &s.owner, [&] { complete = true; });
        s.pic->setMySlowCPU(0);
        s.flow->SetVectorWindow(8).waitForFinished();
        s.pic->Start().waitForFinished();
        spinUntil([&] { return vectors > 0; }, 5000);
        const int before = vectors;
        QElapsedTimer t;
        t.start();
        spinFor(3000);
        const double rate = (vectors - before) / (static_cast<double>(t.nsecsElapsed()) / 1e9);
        s.pic->setASweepON(2);
        spinUntil([&] { return complete; }, 10000);
        std::printf("vectors per second to a client that keeps up (406 samples each, window 8): "
                    "%.0f\n",
                    rate);
        std::fflush(stdout);
    }

    slowClient(0, seconds);
    slowClient(8, seconds);
    return 0;
}
