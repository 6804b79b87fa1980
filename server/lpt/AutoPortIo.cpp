#include "AutoPortIo.h"

#include "PpdevPortIo.h"
#include "RawPortIo.h"

bool AutoPortIo::initialize(uint16_t base) {
    shutdown();
    auto ppdev = std::make_unique<PpdevPortIo>();
    if (ppdev->initialize(base)) {
        m_active = std::move(ppdev);
        return true;
    }
    auto raw = std::make_unique<RawPortIo>();
    if (raw->initialize(base)) {
        m_active = std::move(raw);
        return true;
    }
    setLastError(QStringLiteral("ppdev: %1; raw: %2").arg(ppdev->lastError(), raw->lastError()));
    return false;
}

void AutoPortIo::shutdown() {
    if (m_active)
        m_active->shutdown();
    m_active.reset();
}

bool AutoPortIo::readByte(uint16_t address, uint32_t& value) {
    return m_active && m_active->readByte(address, value);
}

bool AutoPortIo::writeByte(uint16_t address, uint32_t value) {
    return m_active && m_active->writeByte(address, value);
}
