#pragma once
// A port whose reads return 0 and whose writes do nothing: measures the host's own cost.
#include "PortIo.h"

class NullPortIo : public PortIo {
public:
    bool initialize(uint16_t) override { return true; }
    void shutdown() override {}
    bool readByte(uint16_t, uint32_t& value) override {
        value = 0;
        ++m_accesses;
        return true;
    }
    bool writeByte(uint16_t, uint32_t) override {
        ++m_accesses;
        return true;
    }
    void sleepMs(int) override {}
    void preciseWait(float) override {}
    void settle(int) override {}
    uint64_t accesses() const { return m_accesses; }
    void resetAccesses() { m_accesses = 0; }

private:
    uint64_t m_accesses = 0;
};
