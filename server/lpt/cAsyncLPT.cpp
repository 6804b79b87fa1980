#include "cAsyncLPT.h"

#include "LptDrivers.h"
#include "LptWire.h"
#include "NumberFormat.h"
#include "PortIo.h"

#include <cmath>

namespace {
constexpr uint32_t kFqUd = 0x04;
} // namespace

cAsyncLPT::cAsyncLPT(std::unique_ptr<PortIo> port, const QString& driverName, QObject* parent)
    : DeviceObject(QStringLiteral("L> "), parent), m_port(std::move(port)),
      m_driverName(driverName), m_campioni(kVectorSize, 0) {}

cAsyncLPT::~cAsyncLPT() {
    if (m_port && m_portOpen)
        m_port->shutdown();
}

void cAsyncLPT::describeHardware() {
    if (m_port)
        m_port->describeHardware(m_tipoDDS, m_tipoADC, m_myRefCLK);
}

void cAsyncLPT::setMyRefCLK(double v) {
    m_myRefCLK = v;
    describeHardware();
}

void cAsyncLPT::setADeviceDDS(const QString& name) {
    m_tipoDDS = name;
    describeHardware();
    log(QStringLiteral("DDS: ") + name);
}

void cAsyncLPT::setADeviceADC(const QString& name) {
    m_tipoADC = name;
    describeHardware();
    log(QStringLiteral("ADC: ") + name);
}

void cAsyncLPT::setMyMultifactor(short v) {
    if (acceptMultiplier(v))
        m_myMultifactor = v;
}

void cAsyncLPT::setAMultiplier(short v) {
    if (!acceptMultiplier(v))
        return;
    m_myMultifactor = v;
    log(QStringLiteral("DDS CLK Mult: ") + QString::number(v));
}

bool cAsyncLPT::acceptMultiplier(short v) {
    if (lptwire::multiplierFits(isAd9951(), v))
        return true;
    // Sent as it is, the value would be cut to a byte: -1 would set the power-down and test
    // bits of an AD9851. The chip keeps the multiplier it has.
    reportError(
        QStringLiteral("DDS CLK Mult: %1 fuori campo %2 per %3: moltiplicatore invariato (%4)")
            .arg(v)
            .arg(isAd9951() ? QStringLiteral("0..31") : QStringLiteral("0..255"))
            .arg(isAd9951() ? QStringLiteral("AD9951") : QStringLiteral("AD9850/AD9851"))
            .arg(m_myMultifactor));
    return false;
}

void cAsyncLPT::setAClock(double hz) {
    m_myRefCLK = hz;
    describeHardware();
    log(QStringLiteral("DDS CLK Ref: ") + numberToText(hz));
}

void cAsyncLPT::setADDSoffset(double v) {
    m_offsetWritten = v;
    m_offsetDDS = v / 1000.0;
    log(QStringLiteral("DDS offset: ") + numberToText(m_offsetDDS));
}

void cAsyncLPT::setASpeed(short v) {
    m_velocita = v;
    log(QStringLiteral("Sweeping speed: ") + QString::number(v));
}

uint32_t cAsyncLPT::readRegister(int offset) {
    uint32_t value = 0;
    m_esitoPorta = m_port->readByte(static_cast<uint16_t>(m_base + offset), value) ? 1 : 0;
    return value & 0xFF;
}

void cAsyncLPT::writeRegister(int offset, uint32_t value) {
    m_esitoPorta = m_port->writeByte(static_cast<uint16_t>(m_base + offset), value) ? 1 : 0;
}

bool cAsyncLPT::requirePort(const char* operation) {
    if (m_portOpen)
        return true;
    reportError(QStringLiteral("%1 rifiutato: porta LPT non inizializzata (aInizializzaLPT non "
                               "riuscito o porta chiusa)")
                    .arg(QLatin1String(operation)));
    return false;
}

bool cAsyncLPT::aInizializzaLPT(short indirizzoLPT) {
    m_indirizzoLPT = indirizzoLPT;
    // The contract's Integer carries the 16-bit I/O address; addresses above 0x7FFF
    // (PCI cards) arrive negative.
    const auto base = static_cast<uint16_t>(indirizzoLPT);
    if (m_portOpen) {
        m_port->shutdown();
        m_portOpen = false;
    }
    if (!m_port) {
        reportError(QStringLiteral("Driver LPT NON installato"));
        reportError(QStringLiteral("driver della porta parallela sconosciuto \"%1\": usare %2")
                        .arg(m_driverName, lptDriverChoices(QStringLiteral(" o "))));
        return false;
    }
    if (m_port->initialize(base)) {
        log(QStringLiteral("Driver LPT installato"));
    } else {
        const QString firstReason = m_port->lastError();
        m_esitoPorta = m_port->install() ? 1 : 0;
        if (!m_port->initialize(base)) {
            reportError(QStringLiteral("Driver LPT NON installato"));
            const QString reason =
                m_port->lastError().isEmpty() ? firstReason : m_port->lastError();
            reportError(reason);
            return false;
        }
    }
    m_base = base;
    m_valoreDati = kFqUd;
    m_esitoPorta = m_port->writeByte(base, static_cast<uint32_t>(m_valoreDati)) ? 1 : 0;
    if (!m_esitoPorta) {
        m_port->shutdown();
        reportError(QStringLiteral("Porta LPT NON inizializzata"));
        return false;
    }
    m_portOpen = true;
    log(QStringLiteral("LPT address: ") + QString::number(base));
    return true;
}

void cAsyncLPT::aExitLPT() {
    if (m_portOpen)
        m_port->shutdown();
    m_portOpen = false;
    log(QStringLiteral("LPTport chiusa"));
}

void cAsyncLPT::aStartLPT() {
    if (!inEsecuzione() && !requirePort("aStartLPT")) {
        // A refused start ends like every loop, so a client waiting for the end of the sweep
        // returns to idle.
        endLoop();
        return;
    }
    requestStart();
}

void cAsyncLPT::aInizializzaSweep(int Start, int Step) {
    m_startFreq = Start;
    m_stepFreq = Step;
    m_frequenzaCorrente = Start;
    QString fault;
    for (int i = 1; i <= NUMERO_CAMPIONI; ++i) {
        const double word = wordOf(m_frequenzaCorrente);
        m_parolaDDS[static_cast<size_t>(i)] = word;
        if (fault.isEmpty())
            fault = pointFault(i, m_frequenzaCorrente, word);
        m_frequenzaCorrente += Step;
        m_campioni[i] = 0;
    }
    // Said now, at the set-up, so that the client learns it before it starts anything: a pass
    // would stop at that point without a sweep, or (a word of 0) sweep at 0 Hz. Without a port
    // the DDS was never set up: the pass reports the port itself.
    if (!fault.isEmpty() && m_portOpen) {
        reportError(QStringLiteral("Sweep non inizializzato: ") + fault);
        return;
    }
    log(QStringLiteral("Start/Step inizializzati"));
}

QString cAsyncLPT::pointFault(int i, double freqHz, double word) const {
    const QString at =
        QStringLiteral("punto %1 a %2 Hz").arg(i).arg(numberToText(std::round(freqHz)));
    if (freqHz < 0)
        return at + QStringLiteral(": frequenza negativa, impostare Start e Stop a 0 Hz o più");
    if (!lptwire::wordFits(word) && !(word > 0))
        return at + QStringLiteral(": FWord %1 sotto 0, offset DDS %2 non valido (Offset in "
                                   "SetUp/Configuration, o calibrare il generatore)")
                        .arg(numberToText(word), numberToText(m_offsetWritten));
    if (!lptwire::wordFits(word))
        return at + QStringLiteral(": FWord %1 oltre 4294967295, frequenza non inferiore al "
                                   "clock del DDS (%2 Hz) o offset DDS %3 troppo grande")
                        .arg(numberToText(word), numberToText(m_myRefCLK),
                             numberToText(m_offsetWritten));
    if (word == 0 && freqHz != 0)
        return at + QStringLiteral(": FWord 0, il DDS genererebbe 0 Hz (DDS non inizializzato "
                                   "o clock di riferimento %1 Hz troppo alto)")
                        .arg(numberToText(m_myRefCLK));
    return QString();
}

void cAsyncLPT::Runnable_Start() {
    log(QStringLiteral("StartFreq: ") + QString::number(m_startFreq));
    log(QStringLiteral("StepFreq: ") + QString::number(m_stepFreq));
    setMySweepON(kRunning);
    auto pointWhere = [this](int i) { return QStringLiteral("punto %1 dello sweep").arg(i); };
    while (mySweepON() > kStopRequested) {
        if (!requirePort("sweep"))
            break;
        setSyncro(true);
        const int speed = m_velocita;
        // Standard speed reads each point once: a converter read returns the conversion of
        // the read before, so the reading after loading point i belongs to point i - 1.
        const int lag = speed == 0 ? 1 : 0;
        if (!loadWord(m_parolaDDS[1], pointWhere(1))) {
            setSyncro(false);
            break;
        }
        m_campioni[1 - lag] = readDetector(speed);
        setSyncro(false);
        bool ok = true;
        for (int i = 2; i <= NUMERO_CAMPIONI; ++i) {
            yieldEvents();
            // A client that asked for the stop and then closed the port (its shutdown) ends the
            // pass here: nothing went wrong, and there is no one left to read a fault.
            if (!m_portOpen && mySweepON() <= kStopRequested) {
                ok = false;
                break;
            }
            if (!requirePort("sweep") ||
                !loadWord(m_parolaDDS[static_cast<size_t>(i)], pointWhere(i))) {
                ok = false;
                break;
            }
            m_campioni[i - lag] = readDetector(speed);
        }
        if (!ok)
            break;
        if (lag)
            m_campioni[NUMERO_CAMPIONI] = readDetector(speed);
        sendVector(&cAsyncLPT::aVettore, m_campioni);
    }
    endLoop(StateAtEnd::StoppedAfterComplete);
}
