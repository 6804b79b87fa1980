#pragma once
// An 8-bit serial-in shift register with an output latch (74HC595 style): the rising
// shift clock moves every stage up by one and takes the serial input into stage 0; the
// rising latch clock copies the stages to the outputs. The board wires stage 7 to output
// bit 0 (stage k to bit 7 - k), so a byte shifted in least significant bit first appears
// on the outputs unchanged.
#include "RingLog.h"
#include "SimTrace.h"

#include <QList>
#include <cstdint>

class ShiftRegister {
public:
    void setPins(bool data, bool shiftClock, bool latchClock);

    uint8_t stages() const { return m_stages; }
    // Output lines, bit k = output line k.
    uint8_t outputs() const { return m_outputs; }
    int shiftClocks() const { return m_clocks; }
    // The latched output bytes, in order (the newest kDecodeLogCapacity of them).
    const QList<uint8_t>& latched() const { return m_latched.items(); }
    void clearLog();

    // One line per latch ("latch 0xa5"); empty: none.
    void setTrace(TraceSink sink) { m_trace = std::move(sink); }

private:
    bool m_shiftClock = false;
    bool m_latchClock = false;
    uint8_t m_stages = 0;
    uint8_t m_outputs = 0;
    int m_clocks = 0;
    RingLog<uint8_t> m_latched;
    TraceSink m_trace;
};
