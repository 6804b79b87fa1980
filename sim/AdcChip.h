#pragma once
// A serial A/D converter, TLC549 (8 bits) or TLC1549 (10 bits), seen through its pins:
// chip select (active low), I/O clock and data out. When chip select falls the most
// significant bit of the previous conversion appears on data out; each falling clock
// edge presents the next bit. A new sample is taken during the read and converted when
// the read ends (chip select rises), so every read delivers the conversion that was
// sampled during the read before it.
#include "RingLog.h"
#include "SimTrace.h"

#include <QList>
#include <functional>

class AdcChip {
public:
    enum class Type { TLC549, TLC1549 };

    void setType(Type type);
    Type type() const { return m_type; }
    int bits() const { return m_type == Type::TLC549 ? 8 : 10; }
    int fullScale() const { return (1 << bits()) - 1; }

    // What the analogue input shows when a sample is taken, in converter codes.
    void setInput(std::function<int()> input) { m_input = std::move(input); }

    void setPins(bool chipSelect, bool clock);
    // Level of data out; a deselected chip leaves the line to the port's pull-up.
    bool dataOut() const;

    // Codes delivered by the completed reads, in order (what the host should have got); the
    // newest kDecodeLogCapacity of them.
    const QList<int>& delivered() const { return m_delivered.items(); }
    // Codes sampled, in order (the newest ones).
    const QList<int>& sampled() const { return m_sampled.items(); }
    // Reads completed since the last clearLog.
    int reads() const { return static_cast<int>(m_delivered.count()); }
    void clearLog();

    // One line per completed read ("read 700"); empty: none.
    void setTrace(TraceSink sink) { m_trace = std::move(sink); }

private:
    Type m_type = Type::TLC549;
    std::function<int()> m_input;
    bool m_cs = true; // pin level: high = deselected
    bool m_clock = false;
    bool m_selected = false;
    int m_bitIndex = 0; // bit of m_output on data out (bits()-1 down to 0)
    int m_fallingEdges = 0;
    int m_output = 0;     // result being shifted out
    int m_nextResult = 0; // result of the conversion that ends this read
    bool m_sampleTaken = false;
    RingLog<int> m_delivered;
    RingLog<int> m_sampled;
    TraceSink m_trace;
};
