#include "DialogFixture.h"

QList<SerialPortEntry> FixedPorts::serialPorts() const {
    return {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART")}};
}

bool FixedPorts::serialPortExists(const QString& path) const {
    return path == QLatin1String("/dev/ttyS0") || path == QLatin1String("/dev/ttyS2") ||
           path == QLatin1String("/dev/ttyUSB0") || path.startsWith(QLatin1String("sim:"));
}

QList<ParallelPortEntry> FixedPorts::parallelPorts() const {
    return {{QStringLiteral("parport0"), 0x278}};
}

SimulatedDevice::SimulatedDevice(int interfaccia, const SweepConfig& cfg, const QString& dut) {
    device = makeSweepDevice(interfaccia, QString());
    const QString port = interfaccia == 1 ? QStringLiteral("sim:pic") : QStringLiteral("sim:vna");
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

QString localised(QString english) {
    const QLocale l;
    for (QChar& c : english) {
        if (c == QLatin1Char(','))
            c = QChar(0x1);
        else if (c == QLatin1Char('.'))
            c = l.decimalPoint().at(0);
    }
    return english.replace(QChar(0x1), l.groupSeparator());
}
