#include "PortIo.h"

#include "AutoPortIo.h"
#include "CommonAsync.h"
#include "PpdevPortIo.h"
#include "RawPortIo.h"
#include "ServerOptions.h"
#include "SimPortIo.h"

#include <QThread>
#include <chrono>

void PortIo::sleepMs(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

void PortIo::settle(int ns) {
    if (ns <= 0)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(ns);
    while (std::chrono::steady_clock::now() < until) {
    }
}

void PortIo::preciseWait(float rateKHz) {
    attesaPrecisa(rateKHz);
}

std::unique_ptr<PortIo> PortIo::create(const ServerOptions& options) {
    const QString& driver = options.lptDriver;
    if (driver == QLatin1String("auto"))
        return std::make_unique<AutoPortIo>();
    if (driver == QLatin1String("ppdev"))
        return std::make_unique<PpdevPortIo>();
    if (driver == QLatin1String("raw"))
        return std::make_unique<RawPortIo>();
    if (driver == QLatin1String("sim")) {
        auto board = std::make_shared<LptBoard>(DutModel::create(options.simDut));
        board->setPaced(options.simPaceReal);
        if (!options.simLogPath.isEmpty())
            board->setTrace(SimTrace::open(options.simLogPath));
        return std::make_unique<SimPortIo>(std::move(board));
    }
    return nullptr;
}
