#include "RawPortIo.h"

#include <cerrno>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define SWEEP_HAVE_RAW_IO 1
#endif

namespace {
QString hex(uint16_t v) {
    return QStringLiteral("0x%1").arg(v, 0, 16);
}
} // namespace

RawPortIo::~RawPortIo() {
    shutdown();
}

bool RawPortIo::initialize(uint16_t base) {
    shutdown();
#ifdef SWEEP_HAVE_RAW_IO
    if (base > 0xFFFF - 2 || ::ioperm(base, 3, 1) != 0) {
        const int err = base > 0xFFFF - 2 ? EINVAL : errno;
        setLastError(QStringLiteral("raw port access to %1 refused (ioperm: %2): run tarvex "
                                    "as root or use the ppdev driver")
                         .arg(hex(base), QString::fromLocal8Bit(std::strerror(err))));
        return false;
    }
    m_base = base;
    m_open = true;
    return true;
#else
    setLastError(QStringLiteral("raw port access to %1 is not available on this machine: "
                                "use the ppdev driver")
                     .arg(hex(base)));
    return false;
#endif
}

void RawPortIo::shutdown() {
    if (!m_open)
        return;
#ifdef SWEEP_HAVE_RAW_IO
    ::ioperm(m_base, 3, 0);
#endif
    m_open = false;
}

bool RawPortIo::readByte(uint16_t address, uint32_t& value) {
    if (!owns(address))
        return false;
#ifdef SWEEP_HAVE_RAW_IO
    value = ::inb(address);
    return true;
#else
    (void)value;
    return false;
#endif
}

bool RawPortIo::writeByte(uint16_t address, uint32_t value) {
    if (!owns(address))
        return false;
#ifdef SWEEP_HAVE_RAW_IO
    ::outb(static_cast<unsigned char>(value & 0xFF), address);
    return true;
#else
    (void)value;
    return false;
#endif
}
