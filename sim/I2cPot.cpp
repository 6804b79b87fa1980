#include "I2cPot.h"

#include <QStringList>

void I2cPot::clearLog() {
    m_transfers.clear();
    m_starts = 0;
    m_stops = 0;
}

void I2cPot::endTransfer(bool stopped) {
    if (m_active && !m_current.bytes.isEmpty()) {
        m_current.stopped = stopped;
        // Address, command, wiper: the third byte of a write sets the wiper.
        if (stopped && m_current.bytes.size() >= 3)
            m_wiper = m_current.bytes.at(2);
        if (m_trace) {
            QStringList bytes;
            for (uint8_t b : m_current.bytes)
                bytes << traceHex(b);
            m_trace(QStringLiteral("write %1 acks %2 %3 wiper %4")
                        .arg(bytes.join(QLatin1Char(' ')))
                        .arg(m_current.ackClocks)
                        .arg(stopped ? QStringLiteral("stop") : QStringLiteral("no stop"))
                        .arg(m_wiper));
        }
        m_transfers.append(m_current);
    }
    m_current = Transfer();
    m_bit = 0;
    m_byte = 0;
}

void I2cPot::setPins(bool sda, bool scl) {
    const bool sclWasHigh = m_scl;
    const bool sclRise = scl && !m_scl;
    // SDA changing while SCL stays high is a start (falling) or a stop (rising). When both
    // lines change in one port write the clock edge is taken and SDA is data.
    if (sclWasHigh && scl && sda != m_sda) {
        if (!sda) {
            endTransfer(false);
            m_active = true;
            ++m_starts;
        } else {
            endTransfer(true);
            m_active = false;
            ++m_stops;
        }
    } else if (sclRise && m_active) {
        if (m_bit < 8) {
            m_byte = static_cast<uint8_t>((m_byte << 1) | (sda ? 1 : 0));
            if (++m_bit == 8)
                m_current.bytes.append(m_byte);
        } else {
            ++m_current.ackClocks; // ninth clock: the acknowledge slot
            m_bit = 0;
            m_byte = 0;
        }
    }
    m_sda = sda;
    m_scl = scl;
}
