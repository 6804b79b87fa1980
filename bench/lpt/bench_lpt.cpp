// Cost of one 400-point sweep pass of cAsyncLPT, per DDS chip and speed: "host only" runs
// on a port whose reads and writes do nothing (the class's own cost, settle waits
// excluded); "sim board" runs on the simulated board, unpaced.
#include "LptBoard.h"
#include "NullPortIo.h"
#include "SimPortIo.h"
#include "cAsyncLPT.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace {
constexpr int kPasses = 20;
// The machine is shared: report the best of several runs, the least disturbed one.
constexpr int kRuns = 5;

struct Result {
    double usPerPass;
    double accessesPerPass;
};

Result run(std::unique_ptr<PortIo> port, const std::function<uint64_t()>& accesses,
           const std::function<void()>& resetAccesses, const QString& dds, short speed) {
    cAsyncLPT lpt(std::move(port), QStringLiteral("bench"));
    lpt.aInizializzaLPT(0x378);
    lpt.setADeviceDDS(dds);
    lpt.setADeviceADC(QStringLiteral("10bit"));
    lpt.setAClock(dds == QLatin1String("AD9951") ? 20e6 : 125e6);
    lpt.setAMultiplier(dds == QLatin1String("AD9951") ? 4 : 0);
    lpt.setASpeed(speed);
    lpt.aInizializzaDDS();
    lpt.aInizializzaSweep(1000000, 10000);
    int passes = 0;
    QObject::connect(&lpt, &cAsyncLPT::aVettore, [&] {
        if (++passes >= kPasses)
            lpt.setASweepON(2);
    });
    resetAccesses();
    QElapsedTimer timer;
    timer.start();
    lpt.Runnable_Start();
    const double us = timer.nsecsElapsed() / 1000.0;
    return {us / passes, double(accesses()) / passes};
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%-8s %-6s %22s %22s %18s\n", "DDS", "speed", "host only [us/pass]",
                "sim board [us/pass]", "accesses/pass");
    for (const QString& dds : {QStringLiteral("AD9850"), QStringLiteral("AD9951")}) {
        for (short speed : {short(0), short(1), short(2)}) {
            Result host{1e300, 0};
            Result sim{1e300, 0};
            for (int r = 0; r < kRuns; ++r) {
                auto null = std::make_unique<NullPortIo>();
                NullPortIo* n = null.get();
                const Result h = run(
                    std::move(null), [n] { return n->accesses(); }, [n] { n->resetAccesses(); },
                    dds, speed);
                auto board =
                    std::make_shared<LptBoard>(DutModel::create(QStringLiteral("bandpass")));
                board->setPaced(false);
                const Result b = run(
                    std::make_unique<SimPortIo>(board), [board] { return board->accesses(); },
                    [board] { board->resetCounts(); }, dds, speed);
                if (h.usPerPass < host.usPerPass)
                    host = h;
                if (b.usPerPass < sim.usPerPass)
                    sim = b;
            }
            std::printf("%-8s %-6d %22.1f %22.1f %18.0f\n", qPrintable(dds), speed, host.usPerPass,
                        sim.usPerPass, sim.accessesPerPass);
        }
    }
    return 0;
}
