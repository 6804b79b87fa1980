#pragma once
// How this fits: the parallel-port board as the PC sees it, for the "sim" port backend of
// tarvex and for tests. Three byte registers at offsets 0 (data), 1 (status) and 2
// (control) with the PC port's line inversions, wired to a DDS chip, an A/D converter, two
// shift registers and an I2C potentiometer:
//   data D0 DDS serial data / shift-register data / SDA   D1 DDS W_CLK   D2 DDS FQ_UD
//        D3 DDS reset   D4 SCL   D5 shift clock   D6 AUX1 latch   D7 AUX2 latch
//   control bit 0 (inverted) pin 1 converter clock, bit 1 (inverted) pin 14 converter
//        select (active low), bit 2 pin 16 "Syncro"; status bit 5 pin 12 converter data.
// The converter measures a device under test at the DDS output frequency.
#include "AdcChip.h"
#include "DdsChip.h"
#include "DutModel.h"
#include "I2cPot.h"
#include "RingLog.h"
#include "ShiftRegister.h"
#include "SimTrace.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

class LptBoard {
public:
    enum class Register { Data = 0, Status = 1, Control = 2 };

    // Ordered record of the events that tie the lines together in time.
    struct Event {
        enum class Kind { SyncroHigh, SyncroLow, DdsLoad, AdcRead };
        Kind kind;
        int value = 0; // DdsLoad: active word; AdcRead: code delivered
    };

    // dut: what the converter sees; nullptr means a flat mid-scale input.
    explicit LptBoard(std::unique_ptr<DutModel> dut = nullptr);

    // Real pacing: about 1 us per port access, as a PC port takes. Off for unpaced runs.
    void setPaced(bool paced) { m_paced = paced; }
    bool paced() const { return m_paced; }

    // Register access by offset from the base address (0, 1, 2; others read 0xFF and
    // ignore writes, as an empty bus does).
    uint8_t read(int offset);
    void write(int offset, uint8_t value);

    // The chips the host has configured; unknown names keep the AD9850 / TLC1549.
    void configure(const QString& ddsName, const QString& adcName, double refClockHz);

    DdsChip& dds() { return m_dds; }
    AdcChip& adc() { return m_adc; }
    ShiftRegister& aux1() { return m_aux1; }
    ShiftRegister& aux2() { return m_aux2; }
    I2cPot& pot() { return m_pot; }

    uint8_t dataLatch() const { return m_data; }
    uint8_t controlLatch() const { return m_control; }
    // Level of a connector pin (1, 2..9, 12, 14, 16); false for unused pins.
    bool pin(int number) const;

    uint64_t reads() const { return m_reads; }
    uint64_t writes() const { return m_writes; }
    uint64_t accesses() const { return m_reads + m_writes; }
    void resetCounts();

    // The newest events (kDecodeLogCapacity of them: about five sweep passes).
    const QList<Event>& events() const { return m_events.items(); }
    // Clears every decoded log (events, DDS, converter, shift registers, potentiometer).
    void clearLogs();

    // Writes what every part of the board decodes to trace, under "dds", "adc", "aux1",
    // "aux2", "pot" and "lpt" (the board's own lines: "syncro high", "syncro low" and what
    // the port backend notes with traceLine). nullptr: no trace.
    void setTrace(const std::shared_ptr<SimTrace>& trace);
    void traceLine(const QString& text) const;

private:
    void pace() const;
    void driveData();
    void driveControl(uint8_t old);

    std::unique_ptr<DutModel> m_dut;
    DdsChip m_dds;
    AdcChip m_adc;
    ShiftRegister m_aux1;
    ShiftRegister m_aux2;
    I2cPot m_pot;
    uint8_t m_data = 0;
    uint8_t m_control = 0;
    bool m_paced = true;
    uint64_t m_reads = 0;
    uint64_t m_writes = 0;
    RingLog<Event> m_events;
    TraceSink m_trace;
};
