#include "LptBoard.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr uint8_t kD0 = 0x01, kD1 = 0x02, kD2 = 0x04, kD3 = 0x08;
constexpr uint8_t kD4 = 0x10, kD5 = 0x20, kD6 = 0x40, kD7 = 0x80;
constexpr uint8_t kCtrlStrobe = 0x01, kCtrlAutoFeed = 0x02, kCtrlInit = 0x04;
// Status inputs with nothing attached float high; bit 5 is the converter's data out.
constexpr uint8_t kStatusIdle = 0x5F;
constexpr uint8_t kStatusPaperOut = 0x20;
} // namespace

LptBoard::LptBoard(std::unique_ptr<DutModel> dut) : m_dut(std::move(dut)) {
    m_adc.setType(AdcChip::Type::TLC1549);
    m_adc.setInput([this]() {
        const int full = m_adc.fullScale();
        if (!m_dut)
            return (full + 1) / 2;
        return m_dut->code(m_dds.outputHz(), full);
    });
}

void LptBoard::pace() const {
    if (!m_paced)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(1);
    while (std::chrono::steady_clock::now() < until) {
    }
}

void LptBoard::configure(const QString& ddsName, const QString& adcName, double refClockHz) {
    m_dds.setType(DdsChip::typeFromName(ddsName));
    m_adc.setType(adcName == QLatin1String("8bit") ? AdcChip::Type::TLC549
                                                   : AdcChip::Type::TLC1549);
    m_dds.setRefClock(refClockHz);
    if (m_trace)
        traceLine(QStringLiteral("board dds %1 adc %2 clock %3 Hz")
                      .arg(ddsName, adcName, QString::number(refClockHz, 'f', 0)));
}

uint8_t LptBoard::read(int offset) {
    pace();
    ++m_reads;
    switch (static_cast<Register>(offset)) {
    case Register::Data:
        return m_data;
    case Register::Status:
        return kStatusIdle | (m_adc.dataOut() ? kStatusPaperOut : 0);
    case Register::Control:
        return m_control;
    }
    return 0xFF;
}

void LptBoard::write(int offset, uint8_t value) {
    pace();
    ++m_writes;
    switch (static_cast<Register>(offset)) {
    case Register::Data:
        m_data = value;
        driveData();
        break;
    case Register::Control: {
        const uint8_t old = m_control;
        m_control = value;
        driveControl(old);
        break;
    }
    case Register::Status:
        break;
    }
}

void LptBoard::driveData() {
    const bool d0 = m_data & kD0;
    const qint64 recordsBefore = m_dds.recordCount();
    m_dds.setPins(d0, m_data & kD1, m_data & kD2, m_data & kD3);
    // The records this write added are the newest of the DDS log.
    const QList<DdsChip::Record>& log = m_dds.log();
    const qint64 added = std::min<qint64>(m_dds.recordCount() - recordsBefore, log.size());
    for (qsizetype i = log.size() - added; i < log.size(); ++i) {
        const DdsChip::Record& r = log.at(i);
        if (r.kind == DdsChip::Record::Kind::Load || r.kind == DdsChip::Record::Kind::Update)
            m_events.append({Event::Kind::DdsLoad, static_cast<int>(r.word)});
    }
    m_pot.setPins(d0, m_data & kD4);
    m_aux1.setPins(d0, m_data & kD5, m_data & kD6);
    m_aux2.setPins(d0, m_data & kD5, m_data & kD7);
}

void LptBoard::driveControl(uint8_t old) {
    // Bits 0 and 1 are inverted by the port: a set bit drives its pin low.
    const int readsBefore = m_adc.reads();
    m_adc.setPins(!(m_control & kCtrlAutoFeed), !(m_control & kCtrlStrobe));
    if (m_adc.reads() > readsBefore)
        m_events.append({Event::Kind::AdcRead, m_adc.delivered().last()});
    const bool syncro = m_control & kCtrlInit;
    if (syncro != bool(old & kCtrlInit)) {
        m_events.append({syncro ? Event::Kind::SyncroHigh : Event::Kind::SyncroLow, 0});
        traceLine(syncro ? QStringLiteral("syncro high") : QStringLiteral("syncro low"));
    }
}

bool LptBoard::pin(int number) const {
    switch (number) {
    case 1:
        return !(m_control & kCtrlStrobe);
    case 12:
        return m_adc.dataOut();
    case 14:
        return !(m_control & kCtrlAutoFeed);
    case 16:
        return m_control & kCtrlInit;
    default:
        if (number >= 2 && number <= 9)
            return m_data & (1u << (number - 2));
        return false;
    }
}

void LptBoard::resetCounts() {
    m_reads = 0;
    m_writes = 0;
}

void LptBoard::clearLogs() {
    m_events.clear();
    m_dds.clearLog();
    m_adc.clearLog();
    m_aux1.clearLog();
    m_aux2.clearLog();
    m_pot.clearLog();
}

void LptBoard::setTrace(const std::shared_ptr<SimTrace>& trace) {
    m_trace = trace ? trace->sink(QStringLiteral("lpt")) : TraceSink();
    m_dds.setTrace(trace ? trace->sink(QStringLiteral("dds")) : TraceSink());
    m_adc.setTrace(trace ? trace->sink(QStringLiteral("adc")) : TraceSink());
    m_aux1.setTrace(trace ? trace->sink(QStringLiteral("aux1")) : TraceSink());
    m_aux2.setTrace(trace ? trace->sink(QStringLiteral("aux2")) : TraceSink());
    m_pot.setTrace(trace ? trace->sink(QStringLiteral("pot")) : TraceSink());
}

void LptBoard::traceLine(const QString& text) const {
    if (m_trace)
        m_trace(text);
}
