#include "PortScan.h"

#include <QDir>
#include <QFile>
#include <QSerialPortInfo>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

QList<SerialPortEntry> PortScan::serialPorts() const {
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        if (!info.manufacturer().isEmpty() && !description.contains(info.manufacturer()))
            description += QStringLiteral(" (%1)").arg(info.manufacturer());
        ports.append({info.systemLocation(), description.trimmed()});
    }
    return ports;
}

bool PortScan::serialPortExists(const QString& path) const {
    if (path.startsWith(QLatin1String("sim:")))
        return true;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.systemLocation() == path)
            return true;
    // Not listed (a pseudo-terminal, a port without a driver entry): usable when it opens
    // without waiting for a carrier and has line settings. /dev/ttyS3 on a board without a
    // fourth UART opens but has none.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios settings{};
    const bool isLine = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    return isLine;
}

QList<ParallelPortEntry> PortScan::parallelPorts() const {
    return parallelPortsIn(QStringLiteral("/proc/sys/dev/parport"));
}

QList<ParallelPortEntry> PortScan::parallelPortsIn(const QString& procDir) {
    QList<ParallelPortEntry> ports;
    const QDir dir(procDir);
    const QStringList names =
        dir.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        QFile f(dir.filePath(name + QStringLiteral("/base-addr")));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        bool ok = false;
        const int base =
            QString::fromLatin1(f.readAll()).simplified().section(' ', 0, 0).toInt(&ok);
        if (ok && base > 0)
            ports.append({name, base});
    }
    return ports;
}
