#pragma once
// Parallel port through direct I/O instructions (ioperm, inb, outb): needs root or the
// CAP_SYS_RAWIO capability, and an x86 machine.
#include "PortIo.h"

class RawPortIo : public PortIo {
public:
    ~RawPortIo() override;
    bool initialize(uint16_t base) override;
    void shutdown() override;
    bool readByte(uint16_t address, uint32_t& value) override;
    bool writeByte(uint16_t address, uint32_t value) override;

private:
    bool owns(uint16_t address) const {
        return m_open && address >= m_base && address - m_base < 3;
    }
    bool m_open = false;
    uint16_t m_base = 0;
};
