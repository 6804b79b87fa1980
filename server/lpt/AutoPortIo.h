#pragma once
// --lpt-driver auto: ppdev first, then raw port access.
#include "PortIo.h"

class AutoPortIo : public PortIo {
public:
    bool initialize(uint16_t base) override;
    void shutdown() override;
    bool readByte(uint16_t address, uint32_t& value) override;
    bool writeByte(uint16_t address, uint32_t value) override;

private:
    std::unique_ptr<PortIo> m_active;
};
