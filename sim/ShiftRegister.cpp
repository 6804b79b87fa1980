#include "ShiftRegister.h"

namespace {
uint8_t reversed(uint8_t v) {
    uint8_t r = 0;
    for (int k = 0; k < 8; ++k)
        if (v & (1u << k))
            r = static_cast<uint8_t>(r | (0x80u >> k));
    return r;
}
} // namespace

void ShiftRegister::setPins(bool data, bool shiftClock, bool latchClock) {
    if (shiftClock && !m_shiftClock) {
        m_stages = static_cast<uint8_t>((m_stages << 1) | (data ? 1 : 0));
        ++m_clocks;
    }
    if (latchClock && !m_latchClock) {
        m_outputs = reversed(m_stages);
        m_latched.append(m_outputs);
        if (m_trace)
            m_trace(QStringLiteral("latch 0x") + traceHex(m_outputs));
    }
    m_shiftClock = shiftClock;
    m_latchClock = latchClock;
}

void ShiftRegister::clearLog() {
    m_latched.clear();
    m_clocks = 0;
}
