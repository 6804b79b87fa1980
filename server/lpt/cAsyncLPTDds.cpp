// cAsyncLPT: DDS reset, initialisation and the serial loads of AD9850/AD9851/AD9951.
#include "LptWire.h"
#include "NumberFormat.h"
#include "PortIo.h"
#include "cAsyncLPT.h"

#include <cmath>

namespace {
constexpr int32_t kD0 = 0x01, kWClk = 0x02, kFqUd = 0x04, kReset = 0x08;
constexpr int32_t kSyncro = 0x04;
constexpr int kResetHoldMs = 100;
// Settle times between data and clock edges, in ns: far above the chips' few-ns setup and
// hold times; the AD9951 bytes are clocked more slowly, after and before the W_CLK rise.
constexpr int kShortSettleNs = 50;
constexpr int kLongSettleNs = 300;

const QString kAd9951 = QStringLiteral("AD9951");
} // namespace

bool cAsyncLPT::isAd9951() const {
    return m_tipoDDS == kAd9951;
}

double cAsyncLPT::wordOf(double freqHz) const {
    const double factor = isAd9951() ? m_fattoreAD9951 : m_fattoreAD9850;
    return lptwire::frequencyWord(m_offsetDDS, factor, freqHz);
}

void cAsyncLPT::aInizializzaDDS() {
    if (!requirePort("aInizializzaDDS"))
        return;
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati |= kReset;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    m_port->sleepMs(kResetHoldMs);
    m_valoreDati &= ~kReset;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    m_port->sleepMs(kResetHoldMs);

    // A clock of zero (or not a number) would give an infinite word factor: leave the DDS
    // uninitialised instead, so every word stays 0.
    if (!(m_myRefCLK > 0.0) || !std::isfinite(m_myRefCLK)) {
        if (isAd9951())
            m_fattoreAD9951 = 0.0;
        else
            m_fattoreAD9850 = 0.0;
        reportError(QStringLiteral("DDS CLK Ref %1 non valido: DDS non inizializzato, impostare "
                                   "il clock di riferimento in Hz")
                        .arg(numberToText(m_myRefCLK)));
        return;
    }

    if (isAd9951()) {
        m_multAD9951 = m_myMultifactor;
        m_clockAD9951 = m_myRefCLK;
        const auto control = lptwire::ad9951ControlByte(m_multAD9951);
        if (!control) {
            m_fattoreAD9951 = 0.0;
            reportError(QStringLiteral("AD9951 moltiplicatore %1 fuori campo (1..31): DDS non "
                                       "inizializzato")
                            .arg(m_multAD9951));
            return;
        }
        m_fattoreAD9951 = lptwire::kTwo32 / (m_multAD9951 * m_clockAD9951);
        inizioTrasferimentoDDS();
        inviaByteMSB(0x01); // instruction: write CFR2
        inviaByteMSB(0x00);
        inviaByteMSB(0x00);
        inviaByteMSB(*control);
        fineTrasferimentoDDS();
        log(QStringLiteral("AD9951 Inizializzato"));
        return;
    }
    m_multAD9850 = m_myMultifactor;
    m_clockAD9850 = m_myRefCLK;
    if (m_myMultifactor == 1) {
        // The AD9851's 6x reference multiplier, switched on by the control byte of every load.
        m_fattoreAD9850 = lptwire::kTwo32 / (m_clockAD9850 * 6.0);
    } else {
        m_myMultifactor = 0;
        m_fattoreAD9850 = lptwire::kTwo32 / m_clockAD9850;
    }
    log(QStringLiteral("AD9850 Inizializzato"));
}

void cAsyncLPT::aSetFrequenzaDDS(int Freq) {
    if (!requirePort("aSetFrequenzaDDS"))
        return;
    m_frequenzaCorrente = wordOf(Freq);
    if (!loadWord(m_frequenzaCorrente, QStringLiteral("%1 Hz").arg(Freq)))
        return;
    log((isAd9951() ? QStringLiteral("AD9951 FWord= ") : QStringLiteral("AD9850 FWord= ")) +
        numberToText(m_frequenzaCorrente));
}

bool cAsyncLPT::loadWord(double w, const QString& where) {
    // A word outside 32 bits (a frequency at or above the DDS clock, or a negative one)
    // cannot be loaded: report it and load nothing.
    if (!lptwire::wordFits(w)) {
        reportError(QStringLiteral("FWord %1 fuori campo 0..4294967295 (%2): frequenza negativa "
                                   "o non inferiore al clock del DDS, nulla caricato")
                        .arg(numberToText(w), where));
        return false;
    }
    if (isAd9951())
        scriviParolaAD9951(w);
    else
        scriviParolaAD9850(w);
    return true;
}

void cAsyncLPT::inizioTrasferimentoDDS() {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~(kWClk | kFqUd);
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
}

void cAsyncLPT::fineTrasferimentoDDS() {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    m_valoreDati &= ~kWClk;
    m_valoreDati |= kFqUd;
    writeRegister(0, static_cast<uint32_t>(m_valoreDati));
}

void cAsyncLPT::inviaByteLSB(uint8_t b) {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    for (int k = 0; k <= 7; ++k) {
        m_valoreDati = (b >> k) & 1 ? (m_valoreDati | kD0) : (m_valoreDati & ~kD0);
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_port->settle(kShortSettleNs);
        m_valoreDati |= kWClk; // the chip samples D0 on the rising edge
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_valoreDati &= ~kWClk;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    }
}

void cAsyncLPT::inviaByteMSB(uint8_t b) {
    m_valoreDati = static_cast<int32_t>(readRegister(0));
    for (int k = 7; k >= 0; --k) {
        m_valoreDati = (b >> k) & 1 ? (m_valoreDati | kD0) : (m_valoreDati & ~kD0);
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_port->settle(kLongSettleNs);
        m_valoreDati |= kWClk;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
        m_port->settle(kLongSettleNs);
        m_valoreDati &= ~kWClk;
        writeRegister(0, static_cast<uint32_t>(m_valoreDati));
    }
}

void cAsyncLPT::scriviParolaAD9850(double w) {
    const auto bytes = lptwire::splitWord(w);
    inizioTrasferimentoDDS();
    for (uint8_t b : bytes)
        inviaByteLSB(b);
    // Control byte, bits 32..39: bit 32 enables the AD9851's 6x multiplier.
    inviaByteLSB(lptwire::ad985xControlByte(m_myMultifactor));
    fineTrasferimentoDDS();
}

void cAsyncLPT::scriviParolaAD9951(double w) {
    const auto bytes = lptwire::splitWord(w);
    inizioTrasferimentoDDS();
    inviaByteMSB(0x04); // instruction: write FTW0
    inviaByteMSB(bytes[3]);
    inviaByteMSB(bytes[2]);
    inviaByteMSB(bytes[1]);
    inviaByteMSB(bytes[0]);
    fineTrasferimentoDDS();
}

void cAsyncLPT::setSyncro(bool high) {
    m_valoreControllo = static_cast<int32_t>(readRegister(2));
    m_valoreControllo = high ? (m_valoreControllo | kSyncro) : (m_valoreControllo & ~kSyncro);
    writeRegister(2, static_cast<uint32_t>(m_valoreControllo));
}
