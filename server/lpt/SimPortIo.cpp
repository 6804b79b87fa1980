#include "SimPortIo.h"

SimPortIo::SimPortIo(std::shared_ptr<LptBoard> board) : m_board(std::move(board)) {}

bool SimPortIo::initialize(uint16_t base) {
    m_base = base;
    m_open = true;
    m_board->traceLine(QStringLiteral("port open at %1").arg(base));
    return true;
}

void SimPortIo::shutdown() {
    if (m_open)
        m_board->traceLine(QStringLiteral("port closed"));
    m_open = false;
}

bool SimPortIo::readByte(uint16_t address, uint32_t& value) {
    if (!m_open)
        return false;
    value = m_board->read(static_cast<uint16_t>(address - m_base));
    return true;
}

bool SimPortIo::writeByte(uint16_t address, uint32_t value) {
    if (!m_open)
        return false;
    m_board->write(static_cast<uint16_t>(address - m_base), static_cast<uint8_t>(value & 0xFF));
    return true;
}

void SimPortIo::describeHardware(const QString& dds, const QString& adc, double refClockHz) {
    m_board->configure(dds, adc, refClockHz);
}

void SimPortIo::sleepMs(int ms) {
    if (m_board->paced())
        PortIo::sleepMs(ms);
}

void SimPortIo::preciseWait(float rateKHz) {
    if (m_board->paced())
        PortIo::preciseWait(rateKHz);
}

void SimPortIo::settle(int ns) {
    if (m_board->paced())
        PortIo::settle(ns);
}
