#include "PpdevPortIo.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
QString hex(uint16_t v) {
    return QStringLiteral("0x%1").arg(v, 0, 16);
}

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// The four control bits that ppdev reads and writes (strobe, auto feed, init, select in).
constexpr uint8_t kControlLines = 0x0F;
} // namespace

PpdevPortIo::~PpdevPortIo() {
    shutdown();
}

int PpdevPortIo::findPort(uint16_t base, const QString& procRoot) {
    const QDir dir(procRoot);
    const QStringList entries =
        dir.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        QFile file(dir.filePath(entry + QStringLiteral("/base-addr")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // "888\t1912": the base address and the ECP high base, in decimal.
        const QList<QByteArray> fields = file.readAll().simplified().split(' ');
        bool ok = false;
        const uint value = fields.isEmpty() ? 0 : fields.first().toUInt(&ok);
        if (!ok || value != base)
            continue;
        bool numberOk = false;
        const int n = entry.mid(7).toInt(&numberOk);
        if (numberOk)
            return n;
    }
    return -1;
}

bool PpdevPortIo::initialize(uint16_t base) {
    shutdown();
    const int n = findPort(base);
    if (n < 0) {
        setLastError(QStringLiteral("no parallel port at address %1 (none listed in "
                                    "/proc/sys/dev/parport): load the parport_pc module "
                                    "(modprobe parport_pc) or correct the port address")
                         .arg(hex(base)));
        return false;
    }
    const QString path = QStringLiteral("/dev/parport%1").arg(n);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == EACCES || err == EPERM)
            setLastError(QStringLiteral("permission denied on %1: add your user to the group "
                                        "lp and log in again")
                             .arg(path));
        else if (err == ENOENT || err == ENODEV || err == ENXIO)
            setLastError(QStringLiteral("cannot open %1: %2: load the ppdev module "
                                        "(modprobe ppdev)")
                             .arg(path, systemReason(err)));
        else
            setLastError(QStringLiteral("cannot open %1: %2").arg(path, systemReason(err)));
        return false;
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        const int err = errno;
        ::close(fd);
        setLastError(QStringLiteral("cannot claim %1: %2: another program holds the port; "
                                    "close it and try again")
                         .arg(path, systemReason(err)));
        return false;
    }
    int mode = IEEE1284_MODE_COMPAT;
    ::ioctl(fd, PPSETMODE, &mode);
    int forward = 0;
    ::ioctl(fd, PPDATADIR, &forward);
    m_fd = fd;
    m_base = base;
    unsigned char control = 0;
    if (::ioctl(m_fd, PPRCONTROL, &control) == 0)
        m_control = control;
    return true;
}

void PpdevPortIo::shutdown() {
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, PPRELEASE);
    ::close(m_fd);
    m_fd = -1;
}

// ppdev's control byte is the PC control register: parport_pc writes it to the port as it
// is (a set strobe or auto-feed bit asserts its line, driving the pin low), so the image
// that cAsyncLPT keeps passes through unchanged. Only the four line bits go through the
// driver; the others read back as last written.
bool PpdevPortIo::readByte(uint16_t address, uint32_t& value) {
    if (m_fd < 0)
        return false;
    unsigned char b = 0;
    int rc = -1;
    switch (address - m_base) {
    case 0:
        rc = ::ioctl(m_fd, PPRDATA, &b);
        break;
    case 1:
        rc = ::ioctl(m_fd, PPRSTATUS, &b);
        break;
    case 2:
        rc = ::ioctl(m_fd, PPRCONTROL, &b);
        b = static_cast<unsigned char>((b & kControlLines) | (m_control & ~kControlLines));
        break;
    default:
        return false;
    }
    if (rc != 0)
        return false;
    value = b;
    return true;
}

bool PpdevPortIo::writeByte(uint16_t address, uint32_t value) {
    if (m_fd < 0)
        return false;
    unsigned char b = static_cast<unsigned char>(value & 0xFF);
    switch (address - m_base) {
    case 0:
        return ::ioctl(m_fd, PPWDATA, &b) == 0;
    case 2: {
        m_control = b;
        unsigned char lines = b & kControlLines;
        return ::ioctl(m_fd, PPWCONTROL, &lines) == 0;
    }
    default:
        return false; // the status register is read-only
    }
}
