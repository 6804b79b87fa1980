#pragma once
// A DDS synthesiser on serial load: AD9850, AD9851 or AD9951, seen through its four
// pins (serial data, W_CLK / SCLK, FQ_UD / I/O update, reset). The model acts on pin
// edges the way the chips do and keeps a log of what it decoded (its newest entries, see
// RingLog), and writes every decoded event to a trace when one is set.
#include "RingLog.h"
#include "SimTrace.h"

#include <QList>
#include <QString>
#include <cstdint>

class DdsChip {
public:
    enum class Type { AD9850, AD9851, AD9951 };

    // One decoded event. Loads carry the 40-bit AD9850/AD9851 word split into the
    // frequency word and the control byte; AD9951 register writes carry the instruction
    // address and the register bytes as received (most significant first).
    struct Record {
        enum class Kind { Reset, Load, Register, Update };
        Kind kind = Kind::Reset;
        uint32_t word = 0;     // Load: frequency word (bits 0..31)
        uint8_t control = 0;   // Load: control byte (bits 32..39)
        int bits = 0;          // Load: serial bits clocked since the previous update
        uint8_t address = 0;   // Register: register address of the instruction
        QList<uint8_t> bytes;  // Register: data bytes, most significant first
        double outputHz = 0.0; // output frequency after the event
    };

    // Maps a host chip name ("AD9850", "AD9851", "AD9951") to a type; AD9850 for others.
    static Type typeFromName(const QString& name);

    void setType(Type type);
    Type type() const { return m_type; }
    void setRefClock(double hz) { m_refClockHz = hz; }
    double refClock() const { return m_refClockHz; }

    // New pin levels; acts on the edges against the previous levels.
    void setPins(bool data, bool wclk, bool fqud, bool reset);

    // Output frequency in Hz of the active word (0 after a reset).
    double outputHz() const;
    uint32_t activeWord() const { return m_activeWord; }
    // System clock in Hz after the chip's reference multiplier.
    double systemClock() const;

    // Every serial byte seen (AD9850/AD9851: assembled least significant bit first, in
    // groups of eight from each update; AD9951: instruction and register bytes); the newest
    // kSerialByteCapacity of them.
    const QList<uint8_t>& serialBytes() const { return m_bytes.items(); }
    // The newest decoded events (kDecodeLogCapacity of them).
    const QList<Record>& log() const { return m_log.items(); }
    // Events decoded since the last clearLog, including those the log has dropped.
    qint64 recordCount() const { return m_log.count(); }
    void clearLog();

    // Lines such as "load 343597384 control 0x00 bits 40 -> 10000000 Hz"; empty: none.
    void setTrace(TraceSink sink) { m_trace = std::move(sink); }

    static constexpr qsizetype kSerialByteCapacity = 4 * kDecodeLogCapacity;

private:
    void risingClock(bool data);
    void update();
    void resetChip();
    void finishAd9951Register();
    void record(Record r);

    Type m_type = Type::AD9850;
    double m_refClockHz = 0.0;
    bool m_data = false, m_wclk = false, m_fqud = false, m_reset = false;

    // AD9850 / AD9851: 40-bit input register, least significant bit first.
    uint64_t m_shift = 0;
    int m_bitCount = 0;
    uint32_t m_activeWord = 0;
    bool m_sixTimes = false;

    // AD9951: serial port state: instruction byte, then the register's bytes.
    uint8_t m_byte = 0;
    int m_byteBits = 0;
    bool m_haveInstruction = false;
    uint8_t m_address = 0;
    QList<uint8_t> m_regBytes;
    uint32_t m_bufferFtw = 0;
    uint32_t m_bufferCfr2 = 0;
    uint32_t m_cfr2 = 0;
    int m_byteOfLoad = 0; // AD9850 byte assembly for serialBytes()
    uint8_t m_lsbByte = 0;

    RingLog<uint8_t> m_bytes{kSerialByteCapacity};
    RingLog<Record> m_log;
    TraceSink m_trace;
};
