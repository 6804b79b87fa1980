// cAsyncLPT: the AUX1/AUX2 shift registers and the I2C potentiometer on the data lines.
#include "PortIo.h"
#include "cAsyncLPT.h"

namespace {
constexpr int32_t kSda = 0x01;        // D0, shared with the DDS and shift-register data
constexpr int32_t kScl = 0x10;        // D4
constexpr int32_t kShiftClock = 0x20; // D5
constexpr int32_t kLatchAux1 = 0x40;  // D6
constexpr int32_t kLatchAux2 = 0x80;  // D7
constexpr float kI2cRateKHz = 100.0f; // 9.5 us per wait
} // namespace

void cAsyncLPT::aSetAttenuator(uchar wordAtt, short auxNumber) {
    if (!requirePort("aSetAttenuator"))
        return;
    const int32_t latch = auxNumber == 2 ? kLatchAux2 : kLatchAux1;
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~(kShiftClock | latch);
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    for (int k = 0; k <= 7; ++k) {
        m_valoreDati = (wordAtt >> k) & 1 ? (m_valoreDati | kSda) : (m_valoreDati & ~kSda);
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_port->sleepMs(1);
        m_valoreDati |= kShiftClock;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_valoreDati &= ~kShiftClock;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    }
    m_port->sleepMs(1);
    m_valoreDati |= latch; // rising latch edge: the shifted byte reaches the outputs
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    m_port->sleepMs(1);
    m_valoreDati &= ~latch;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    log(QStringLiteral("AUX_%1: %2").arg(auxNumber).arg(wordAtt));
}

bool cAsyncLPT::aSetAmpli(uchar controlPot, uchar commandPot, uchar cursorePot) {
    if (!requirePort("aSetAmpli"))
        return false;
    i2c_Start();
    i2c_Write(controlPot);
    m_esitoPorta = i2c_Ack() ? 1 : 0;
    i2c_Write(commandPot);
    m_esitoPorta = i2c_Ack() ? 1 : 0;
    i2c_Write(cursorePot);
    m_esitoPorta = i2c_Ack() ? 1 : 0;
    i2c_Stop();
    log(QStringLiteral("POT: %1").arg(cursorePot));
    return true;
}

void cAsyncLPT::i2cWait() {
    m_port->preciseWait(kI2cRateKHz);
}

void cAsyncLPT::i2c_Start() {
    // Issued three times in a row, so that a device left mid-byte sees a clean start.
    for (int n = 0; n < 3; ++n) {
        m_valoreDati = static_cast<int32_t>(readRegister(0));
        m_valoreDati |= kSda | kScl;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
        m_valoreDati = static_cast<int32_t>(readRegister(0));
        m_valoreDati = (m_valoreDati & ~kSda) | kScl; // SDA falls while SCL is high
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
        m_valoreDati = static_cast<int32_t>(readRegister(0));
        m_valoreDati &= ~(kSda | kScl);
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
    }
}

void cAsyncLPT::i2c_Write(uint8_t b) {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~kScl;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    for (int k = 7; k >= 0; --k) {
        m_valoreDati = (b >> k) & 1 ? (m_valoreDati | kSda) : (m_valoreDati & ~kSda);
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
        m_valoreDati |= kScl;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
        m_valoreDati &= ~kScl;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        i2cWait();
    }
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~(kSda | kScl);
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
}

bool cAsyncLPT::i2c_Ack() {
    if (!requirePort("i2c_Ack"))
        return false;
    i2cWait();
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati |= kScl;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
    // The port's own output latch, not a status line: SDA reads as the port drives it.
    const bool result = readRegister(0) & kSda;
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~(kSda | kScl);
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
    return result;
}

void cAsyncLPT::i2c_Stop() {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~(kSda | kScl);
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati = (m_valoreDati & ~kSda) | kScl;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati |= kSda | kScl; // SDA rises while SCL is high
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    i2cWait();
}
