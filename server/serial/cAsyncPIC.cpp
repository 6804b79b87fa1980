#include "cAsyncPIC.h"

#include "PicProtocol.h"

#include <QElapsedTimer>
#include <limits>

namespace {
const QByteArray kEnd = QByteArrayLiteral("E");
const QByteArray kCrByte = QByteArrayLiteral("\r");
} // namespace

cAsyncPIC::cAsyncPIC(SerialLine* line, QObject* parent)
    : SerialDevice(QStringLiteral("P> "), line, parent), m_vettore(kVectorSize, 0) {}

cAsyncPIC::~cAsyncPIC() = default;

void cAsyncPIC::Start() {
    requestStart();
}

bool cAsyncPIC::openOnce(short porta, const QString& settings) {
    m_line->setPortOpen(false);
    m_line->setCommPort(porta);
    if (!m_line->setSettings(settings))
        return false;
    m_line->setHandshaking(SerialLine::Handshaking::None);
    m_line->setDTREnable(false);
    m_line->setRTSEnable(false);
    m_line->setRThreshold(0);
    m_line->setSThreshold(0);
    m_line->setInputMode(SerialLine::InputMode::Text);
    m_line->setInputLen(0);
    m_line->clearInBuffer();
    m_line->clearOutBuffer();
    return m_line->setPortOpen(true);
}

bool cAsyncPIC::aInizializzaCOMM(short porta, const QString& settingsRS232) {
    return openWithRetries(porta, [&] { return openOnce(porta, settingsRS232); });
}

void cAsyncPIC::aExitCOMM() {
    // With the port already closed there is nothing to stop; closing still logs and ends.
    if (m_line->portOpen())
        m_line->output(kEnd);
    m_line->setPortOpen(false);
    log(QStringLiteral("COMMport chiusa"));
    endServerProcess();
}

bool cAsyncPIC::aScriviPIC(const QString& comando, int frequenza) {
    m_line->setInputMode(SerialLine::InputMode::Text);
    bool result = false;
    const QByteArray frame = picwire::encodeFrame(comando.toLatin1(), frequenza);
    const QString frameText = QString::fromLatin1(frame);
    for (int left = kAttempts; left > 0; --left) {
        if (!m_line->portOpen() && !m_line->setPortOpen(true)) {
            reportError(QStringLiteral("errore scrittura PIC"));
            return false;
        }
        m_line->clearInBuffer();
        m_line->setInputLen(5);
        m_line->clearOutBuffer();
        if (!m_line->output(frame)) {
            reportError(QStringLiteral("errore scrittura PIC"));
            return false;
        }
        if (comando == QLatin1String("*"))
            return true; // the reset is not answered
        QElapsedTimer clock;
        clock.start();
        qsizetype waiting = m_line->inBufferCount();
        while (waiting >= 0 && waiting <= 4 && clock.elapsed() <= kAckTimeoutMs) {
            m_line->waitTurn(5, kAckTimeoutMs + 1 - clock.elapsed());
            waiting = m_line->inBufferCount();
        }
        if (waiting < 0) {
            reportError(QStringLiteral("errore scrittura PIC"));
            return false;
        }
        if (waiting <= 4) {
            reportError(frameText + QStringLiteral(" timeout"));
            continue;
        }
        QByteArray reply;
        m_line->input(&reply);
        if (picwire::isAcknowledged(reply)) {
            result = true;
            left = 0;
        }
        log(frameText + QLatin1Char(' ') + QString::fromLatin1(reply));
    }
    return result;
}

bool cAsyncPIC::aInizializzaSweep(int startFreq, int stepFreq) {
    const qint64 stop =
        static_cast<qint64>(startFreq) + NUMERO_CAMPIONI * static_cast<qint64>(stepFreq);
    if (stop < std::numeric_limits<qint32>::min() || stop > std::numeric_limits<qint32>::max()) {
        reportError(QStringLiteral("frequenza stop fuori limite (%1)").arg(stop));
        return false;
    }
    if (!aScriviPIC(QStringLiteral("B"), startFreq)) {
        reportError(QStringLiteral("timeout frequenza start"));
        return false;
    }
    if (!aScriviPIC(QStringLiteral("C"), static_cast<int>(stop))) {
        reportError(QStringLiteral("timeout frequenza stop"));
        return false;
    }
    if (!aScriviPIC(QStringLiteral("D"), stepFreq)) {
        reportError(QStringLiteral("timeout frequenza step"));
        return false;
    }
    if (!aScriviPIC(QStringLiteral("F"), mySlowCPU())) {
        reportError(QStringLiteral("timeout avvio ciclo sweep"));
        return false;
    }
    return true;
}

cAsyncPIC::Read cAsyncPIC::leggiPIC(int count, SerialLine::InputMode mode, QByteArray* out) {
    out->clear();
    m_line->setInputMode(mode);
    QElapsedTimer clock;
    clock.start();
    qsizetype waiting = m_line->inBufferCount();
    bool timedOut = false;
    while (waiting >= 0 && waiting < count) {
        if (clock.elapsed() > kReadTimeoutMs) {
            timedOut = true;
            break;
        }
        m_line->waitTurn(count, kReadTimeoutMs + 1 - clock.elapsed());
        waiting = m_line->inBufferCount();
    }
    if (waiting < 0) {
        reportError(QStringLiteral("errore lettura PIC"));
        return Read::Fault;
    }
    if (timedOut)
        return Read::Timeout;
    m_line->setInputLen(count);
    m_line->input(out);
    return Read::Ok;
}

void cAsyncPIC::Runnable_Start() {
    m_vettore.fill(0);
    log(QStringLiteral("avvio ciclo di sweep"));
    m_budget = kRetryBudget;
    setMySweepON(kRunning);
    // From here a port fault in one step does not end the loop: that step is skipped.
    while (mySweepON() > kStopRequested && m_budget >= 1) {
        // The reads below wait (and serve calls) only while bytes are missing: a line that
        // keeps up, or an unpaced model, would never let a stop request or a disconnect in.
        yieldEvents();
        QByteArray c;
        const Read start = leggiPIC(1, SerialLine::InputMode::Text, &c);
        if (start == Read::Ok && c.at(0) == picwire::kBlockStart) {
            QByteArray block;
            const Read body = leggiPIC(picwire::kBlockBytes, SerialLine::InputMode::Binary, &block);
            bool valid = false;
            bool overflow = false;
            if (body == Read::Ok) {
                const auto decoded = picwire::decodeBlock(block, m_vettore);
                valid = decoded.ok;
                overflow = !decoded.ok;
            } else if (body == Read::Timeout) {
                // A block cut short: its bytes are not readings and would only be read as
                // framing faults, so they go; the vector is not sent.
                m_line->clearInBuffer();
            }
            if (overflow) {
                raise(ErrorCode::kOverflow, QStringLiteral("overflow vout"));
            } else {
                QByteArray e;
                const Read end = leggiPIC(1, SerialLine::InputMode::Text, &e);
                if (end == Read::Ok && e.at(0) == picwire::kCr) {
                    if (valid)
                        sendVector(&cAsyncPIC::aVettore, m_vettore);
                } else if (end == Read::Timeout) {
                    reportError(QStringLiteral("timeout fine blocco(CR)"));
                    setMySweepON(kStopped);
                    break;
                } else {
                    raise(ErrorCode::kRetry,
                          QStringLiteral("retry %1 : manca fine blocco(CR)").arg(m_budget));
                    --m_budget;
                }
            }
        } else if (start == Read::Timeout) {
            reportError(QStringLiteral("timeout start blocco(:)"));
            setMySweepON(kStopped);
            break;
        } else {
            raise(ErrorCode::kRetry,
                  QStringLiteral("retry %1 : manca start blocco(:)").arg(m_budget));
            --m_budget;
        }
        if (mySlowCPU() > 0 && m_line->portOpen())
            m_line->output(kCrByte); // the host's acknowledgement of the block
    }
    endLoop();
    if (m_line->portOpen())
        m_line->output(kEnd); // the board's own sweep cycle ends too
}
