#pragma once
// Parallel port through the kernel's ppdev driver: finds the /dev/parportN whose base
// address (/proc/sys/dev/parport/parportN/base-addr) is the configured one and claims it.
#include "PortIo.h"

class PpdevPortIo : public PortIo {
public:
    ~PpdevPortIo() override;
    bool initialize(uint16_t base) override;
    void shutdown() override;
    bool readByte(uint16_t address, uint32_t& value) override;
    bool writeByte(uint16_t address, uint32_t value) override;

    // The parportN number whose first base address is base, -1 if none. procRoot is the
    // parport sysctl folder (replaceable for tests).
    static int findPort(uint16_t base,
                        const QString& procRoot = QStringLiteral("/proc/sys/dev/parport"));

private:
    int m_fd = -1;
    uint16_t m_base = 0;
    uint8_t m_control = 0; // bits the driver does not let us read back
};
