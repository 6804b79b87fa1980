#pragma once
// Shared by the dialog tests: a computer with fixed ports, a device on simulated hardware with
// the log lines it reports, and a configuration in a private folder with the context the
// dialogs receive.
#include "PortScan.h"
#include "ScratchFiles.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "SweepDeviceFactory.h"
#include "TestMessages.h"

#include <QLocale>
#include <QStringList>
#include <memory>

class FixedPorts : public PortScan {
public:
    QList<SerialPortEntry> serialPorts() const override;
    bool serialPortExists(const QString& path) const override;
    QList<ParallelPortEntry> parallelPorts() const override;
};

// A device of the kind of interfaccia on the hardware simulated inside tarvex (the parallel-port
// board with the device under test dut, the PIC board or MiniVNA model on COM cfg.commPort),
// bound to cfg, and the log lines (code 0) it reports from then on, without the device's prefix:
// what a dialog sends to the hardware shows there, as in the window's log.
class SimulatedDevice : public QObject {
public:
    SimulatedDevice(int interfaccia, const SweepConfig& cfg, const QString& dut);
    SweepDevice* get() const { return device.get(); }

    std::unique_ptr<SweepDevice> device;
    QString problem; // why it could not be opened or bound; empty when it was
    QStringList lines;
};

class DialogFixture {
public:
    explicit DialogFixture(const QString& iniText = QString()) {
        if (!iniText.isNull())
            ini.write(iniText);
    }

    ScratchIni ini;
    SweepConfig config{ini.path()};
    SweepData data;
    TestMessages messages;
    SweepContext context{config, nullptr, data, messages};
};

// The locale's form of a number written with '.' and ',' as in English.
QString localised(QString english);
