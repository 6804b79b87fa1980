#pragma once
// A cAsyncLPT on the simulated board (unpaced), with every aErrore line collected.
#include "LptBoard.h"
#include "SimPortIo.h"
#include "cAsyncLPT.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <memory>

struct LptTestRig {
    std::shared_ptr<LptBoard> board;
    std::unique_ptr<cAsyncLPT> lpt;
    QList<QPair<short, QString>> events; // aErrore (code, text); aComplete as (-1, "complete")
    QList<QList<qint16>> vectors;

    explicit LptTestRig(std::unique_ptr<DutModel> dut = DutModel::create(QStringLiteral("ramp")))
        : board(std::make_shared<LptBoard>(std::move(dut))) {
        board->setPaced(false);
        lpt =
            std::make_unique<cAsyncLPT>(std::make_unique<SimPortIo>(board), QStringLiteral("sim"));
        QObject::connect(lpt.get(), &DeviceObject::aErrore,
                         [this](short code, const QString& text) {
                             events.append({code, text});
                         });
        QObject::connect(lpt.get(), &DeviceObject::aComplete, [this] {
            events.append({-1, QStringLiteral("complete")});
        });
        QObject::connect(lpt.get(), &cAsyncLPT::aVettore,
                         [this](const QList<qint16>& v) { vectors.append(v); });
    }

    // The calling order of the main program: port, chips, clock, multiplier, offset, speed,
    // DDS initialisation.
    void configure(const QString& dds, const QString& adc, double clockHz, short mult,
                   short speed = 0, double offset = 0.0) {
        lpt->aInizializzaLPT(0x378);
        lpt->setADeviceDDS(dds);
        lpt->setADeviceADC(adc);
        lpt->setAClock(clockHz);
        lpt->setAMultiplier(mult);
        lpt->setADDSoffset(offset);
        lpt->setASpeed(speed);
        lpt->aInizializzaDDS();
        board->clearLogs();
        events.clear();
    }

    QStringList texts() const {
        QStringList out;
        for (const auto& e : events)
            out << e.second;
        return out;
    }
    QStringList textsWithCode(short code) const {
        QStringList out;
        for (const auto& e : events)
            if (e.first == code)
                out << e.second;
        return out;
    }
    bool completed() const {
        for (const auto& e : events)
            if (e.first == -1)
                return true;
        return false;
    }
};
