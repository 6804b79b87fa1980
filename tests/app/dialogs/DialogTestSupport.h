#pragma once
// Shared by the dialog tests: a message seam that records and answers questions, a computer
// with fixed ports, a device on simulated hardware with the log lines it reports, and a
// configuration in a private folder with the context the dialogs receive.
#include "PortScan.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "SweepDeviceFactory.h"
#include "UserMessages.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class AnsweringMessages : public UserMessages {
public:
    void beep() override { ++beeps; }
    void message(const QString& text, QMessageBox::Icon) override { shown.append(text); }
    bool question(const QString&, const QString& text, QMessageBox::Icon) override {
        asked.append(text);
        return answer;
    }
    int beeps = 0;
    QStringList shown;
    QStringList asked;
    bool answer = true;
};

class FixedPorts : public PortScan {
public:
    QList<SerialPortEntry> serialPorts() const override {
        return {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART")}};
    }
    bool serialPortExists(const QString& path) const override {
        return path == QLatin1String("/dev/ttyS0") || path == QLatin1String("/dev/ttyS2") ||
               path == QLatin1String("/dev/ttyUSB0") || path.startsWith(QLatin1String("sim:"));
    }
    QList<ParallelPortEntry> parallelPorts() const override {
        return {{QStringLiteral("parport0"), 0x278}};
    }
};

// A device of the kind of interfaccia on the hardware simulated inside tarvex (the parallel-port
// board with the device under test dut, the PIC board or MiniVNA model on COM cfg.commPort),
// bound to cfg, and the log lines (code 0) it reports from then on, without the device's prefix:
// what a dialog sends to the hardware shows there, as in the window's log.
class SimulatedDevice : public QObject {
public:
    SimulatedDevice(int interfaccia, const SweepConfig& cfg, const QString& dut) {
        device = makeSweepDevice(interfaccia, QString());
        const QString port =
            interfaccia == 1 ? QStringLiteral("sim:pic") : QStringLiteral("sim:vna");
        if (!device->open({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                           QStringLiteral("--sim-dut"), dut, QStringLiteral("--sim-pace"),
                           QStringLiteral("max"), QStringLiteral("--com"),
                           QStringLiteral("%1=%2").arg(cfg.commPort).arg(port)},
                          &problem))
            return;
        problem = device->bind(cfg);
        // The converter answers each read with the conversion of the one before: one reading
        // at the bound frequency makes every later one show it.
        device->liveCounts(cfg.freqStart, 0);
        device->flushEvents();
        connect(device.get(), &SweepDevice::errore, this, [this](qint16 code, const QString& text) {
            if (code == 0)
                lines.append(text.mid(3));
        });
    }
    SweepDevice* get() const { return device.get(); }

    std::unique_ptr<SweepDevice> device;
    QString problem; // why it could not be opened or bound; empty when it was
    QStringList lines;
};

class DialogFixture {
public:
    explicit DialogFixture(const QString& ini = QString()) {
        if (!ini.isNull())
            writeIni(ini);
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("Sweep.ini")); }
    void writeIni(const QString& text) {
        QFile f(iniPath());
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
    }
    QString readIni() const {
        QFile f(iniPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }

    QTemporaryDir dir;
    SweepConfig config{iniPath()};
    SweepData data;
    AnsweringMessages messages;
    SweepContext context{config, nullptr, data, messages};
};

// The locale's form of a number written with '.' and ',' as in English.
inline QString localised(QString english) {
    const QLocale l;
    for (QChar& c : english) {
        if (c == QLatin1Char(','))
            c = QChar(0x1);
        else if (c == QLatin1Char('.'))
            c = l.decimalPoint().at(0);
    }
    return english.replace(QChar(0x1), l.groupSeparator());
}
