#pragma once
// The timeline of a serial line between host and firmware model: bytes move at the line's
// byte rate (115200 baud 8N1 = 11,520 bytes/s), in each direction one after the other. The
// firmware's answer cannot start before the host's last byte has arrived.
#include <QtGlobal>
#include <chrono>

class WirePacer {
public:
    using Clock = std::chrono::steady_clock;

    // bytesPerSecond 0: unpaced, every byte is due at once.
    explicit WirePacer(double bytesPerSecond = 0.0) : m_rate(bytesPerSecond) {}

    static double byteRateOfBaud(int baud) { return baud / 10.0; } // start + 8 data + stop bits

    bool paced() const { return m_rate > 0.0; }
    double rate() const { return m_rate; }

    // The host wrote n bytes now: they arrive n / rate later (after any still on the wire).
    void hostSent(qsizetype n);
    // The firmware has output again after being idle: its first byte leaves once the line is
    // free and the host's bytes have arrived.
    void outputStarted();
    // Bytes the firmware may have put on the line by now, beyond those already delivered.
    qsizetype allowance() const;
    void delivered(qsizetype n) { m_count += n; }
    // Milliseconds until n more bytes will have been allowed (0 when they already are).
    double msUntil(qsizetype n) const;

private:
    static double now();

    double m_rate;
    double m_hostDone = 0.0; // seconds on the steady clock
    double m_base = 0.0;     // when the current output run started
    qint64 m_count = 0;      // bytes delivered in the current run
};
