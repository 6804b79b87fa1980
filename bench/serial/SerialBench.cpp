// bench_serial [sweeps]: sweeps per second of each serial device against its model paced at
// the line's real byte rate (115200 baud 8N1 = 11,520 bytes/s), printed with the ratio to
// the wire's limit: 802 bytes per PIC block; the request lines plus 4 x 400 bytes per
// MiniVNA sweep.
#include "SerialLine.h"
#include "VnaProtocol.h"
#include "cAsyncMiniVNA.h"
#include "cAsyncPIC.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {
constexpr double kByteRate = 115200.0 / 10.0;
constexpr short kPort = 4;

struct Transport {
    ServerOptions options;
    std::unique_ptr<QProcess> sim;
    ~Transport() {
        if (sim) {
            sim->terminate();
            sim->waitForFinished(3000);
        }
    }
};

// "sim": the in-process line; "pty": sweep-sim in its own process behind a pseudo-terminal,
// read through the real serial stack.
std::unique_ptr<Transport> makeTransport(const QString& kind, const QString& model) {
    auto t = std::make_unique<Transport>();
    t->options.simDut = QStringLiteral("bandpass");
    t->options.simPaceReal = true;
    if (kind == QLatin1String("sim")) {
        t->options.comMap[kPort] = QStringLiteral("sim:") + model;
        return t;
    }
    t->sim = std::make_unique<QProcess>();
    t->sim->start(QCoreApplication::applicationDirPath() + QStringLiteral("/sweep-sim"),
                  {model, QStringLiteral("--dut"), QStringLiteral("bandpass")});
    if (!t->sim->waitForReadyRead(5000))
        qFatal("sweep-sim did not start: %s", qPrintable(t->sim->errorString()));
    t->options.comMap[kPort] = QString::fromLocal8Bit(t->sim->readLine()).trimmed();
    return t;
}

// Runs the device's loop until `sweeps` vectors after the first have arrived; returns sweeps/s.
template <typename Device> double measure(Device& device, int sweeps) {
    QElapsedTimer clock;
    int seen = 0;
    double rate = 0.0;
    bool done = false;
    QObject::connect(&device, &Device::aVettore, &device, [&] {
        if (seen == 0)
            clock.start(); // from the end of the first sweep: start-up is not counted
        if (++seen == sweeps + 1) {
            rate = sweeps / (clock.nsecsElapsed() / 1e9);
            device.setASweepON(2);
        }
    });
    QObject::connect(&device, &Device::aComplete, &device, [&] { done = true; });
    device.Start();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return rate;
}

void report(const char* what, double rate, double bytesPerSweep) {
    const double limit = kByteRate / bytesPerSweep;
    std::printf("%-26s %7.3f sweeps/s   wire limit %7.3f   ratio %.3f\n", what, rate, limit,
                rate / limit);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int sweeps = argc > 1 ? std::max(2, QString::fromLocal8Bit(argv[1]).toInt()) : 30;
    DeviceObject::setExitHandler([] {});

    for (const QString& kind : {QStringLiteral("sim"), QStringLiteral("pty")}) {
        auto t = makeTransport(kind, QStringLiteral("pic"));
        cAsyncPIC pic(new SerialLine(t->options));
        if (!pic.aInizializzaCOMM(kPort, QStringLiteral("115200,N,8,1")) ||
            !pic.aInizializzaSweep(1000000, 25000))
            qFatal("PIC board set-up failed");
        const double rate = measure(pic, sweeps);
        report(qPrintable(QStringLiteral("cAsyncPIC (%1)").arg(kind)), rate, 802.0);
    }
    for (const QString& kind : {QStringLiteral("sim"), QStringLiteral("pty")}) {
        auto t = makeTransport(kind, QStringLiteral("vna"));
        cAsyncMiniVNA vna(new SerialLine(t->options));
        if (!vna.aInizializzaCOMM(kPort, QString()))
            qFatal("MiniVNA set-up failed");
        vna.setAClock(100000000.0);
        vna.setAMultiplier(1);
        vna.setAMisura(2);
        vna.aInizializzaSweep(1000000, 25000, 400);
        qsizetype requestBytes = 0;
        for (const QByteArray& line :
             vnawire::requestLines(vna.modeByte(), vna.startWord(), 400, vna.stepWord()))
            requestBytes += line.size();
        const double rate = measure(vna, std::max(2, sweeps / 2));
        report(qPrintable(QStringLiteral("cAsyncMiniVNA (%1)").arg(kind)), rate,
               double(requestBytes + 1600));
    }
    return 0;
}
