#pragma once
// A digital potentiometer on a two-wire I2C bus, seen through SDA and SCL. Decodes start
// and stop conditions, data bytes (most significant bit first, sampled on rising SCL) and
// the acknowledge clock after each byte. A write of address, command and wiper byte sets
// the wiper. The port drives SDA itself, so the model never pulls it low.
#include "RingLog.h"
#include "SimTrace.h"

#include <QList>
#include <cstdint>

class I2cPot {
public:
    // One transfer from a start condition to the next start or stop.
    struct Transfer {
        QList<uint8_t> bytes;
        int ackClocks = 0;    // acknowledge clocks seen after complete bytes
        bool stopped = false; // ended by a stop condition
    };

    void setPins(bool sda, bool scl);

    int wiper() const { return m_wiper; }
    int starts() const { return m_starts; }
    int stops() const { return m_stops; }
    // Transfers that carried at least one byte (the newest kDecodeLogCapacity of them).
    const QList<Transfer>& transfers() const { return m_transfers.items(); }
    void clearLog();

    // One line per transfer ("write 50 a9 7f acks 3 stop wiper 127"); empty: none.
    void setTrace(TraceSink sink) { m_trace = std::move(sink); }

private:
    void endTransfer(bool stopped);

    bool m_sda = true;
    bool m_scl = true;
    bool m_active = false; // between a start and a stop
    int m_bit = 0;         // bits of the current byte received (8 = next clock is the ack)
    uint8_t m_byte = 0;
    Transfer m_current;
    int m_wiper = 0;
    int m_starts = 0;
    int m_stops = 0;
    RingLog<Transfer> m_transfers;
    TraceSink m_trace;
};
