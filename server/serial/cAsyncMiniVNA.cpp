#include "cAsyncMiniVNA.h"

#include "NumberFormat.h"
#include "VnaProtocol.h"

#include <QElapsedTimer>
#include <QThread>

cAsyncMiniVNA::cAsyncMiniVNA(SerialLine* line, QObject* parent)
    : SerialDevice(QStringLiteral("V> "), line, parent) {
    resetVectors();
}

cAsyncMiniVNA::~cAsyncMiniVNA() = default;

void cAsyncMiniVNA::Start() {
    requestStart();
}

void cAsyncMiniVNA::resetVectors() {
    m_phase = QList<double>(kVectorSize, 0.0);
    m_magnitude = QList<double>(kVectorSize, 0.0);
}

void cAsyncMiniVNA::setAMisura(short kind) {
    m_kind = kind;
    m_mode = vnawire::modeByte(kind);
}

void cAsyncMiniVNA::setAClock(double hz) {
    m_clock = hz;
    log(QStringLiteral("CLK Ref: ") + numberToText(hz));
    if (m_multiplier > 0)
        recompute();
}

void cAsyncMiniVNA::setAMultiplier(short m) {
    m_multiplier = m;
    log(QStringLiteral("CLK Mult: ") + numberToText(m));
    if (m_clock > 0)
        recompute();
}

void cAsyncMiniVNA::setADDSoffset(double x) {
    m_offset = x / 1000.0;
    log(QStringLiteral("Freq offset: ") + numberToText(m_offset));
    if (m_clock > 0 && m_multiplier > 0)
        recompute();
}

void cAsyncMiniVNA::recompute() {
    const auto f = vnawire::conversionFactor(m_multiplier, m_clock, m_offset);
    if (!f) {
        // A zero clock or multiplier: no factor can be formed, the old one stays.
        reportError(QStringLiteral("CLK Ref x CLK Mult = 0: Freq Mult invariato (") +
                    numberToText(m_factor) + QLatin1Char(')'));
        return;
    }
    m_factor = *f;
    log(QStringLiteral("Freq Mult: ") + numberToText(m_factor));
}

std::optional<qint32> cAsyncMiniVNA::toWord(qint64 freqHz) {
    const auto word = vnawire::tuningWord(static_cast<double>(freqHz), m_factor);
    if (!word)
        reportError(QStringLiteral("frequenza fuori limite: ") + numberToText(freqHz));
    return word;
}

void cAsyncMiniVNA::aInizializzaSweep(int startFreq, int stepFreq, short maxCampioniFreq) {
    if (maxCampioniFreq < 1 || maxCampioniFreq > NUMERO_CAMPIONI) {
        reportError(QStringLiteral("numero campioni fuori limite (1-400): ") +
                    numberToText(maxCampioniFreq));
        return;
    }
    const auto step = toWord(stepFreq);
    const auto start = step ? toWord(startFreq) : std::nullopt;
    if (!start)
        return;
    m_count = maxCampioniFreq;
    m_stepWord = *step;
    m_startWord = *start;
    m_mode = vnawire::modeByte(m_kind);
    log(QStringLiteral("Parametri sweep inizializzati"));
}

void cAsyncMiniVNA::aSetFrequenza(int Freq) {
    const auto word = toWord(Freq);
    if (!word)
        return;
    m_startWord = *word;
    log(QStringLiteral("New freq: ") + numberToText(m_startWord));
    m_count = 1;
    m_stepWord = 1;
    m_mode = vnawire::modeByte(m_kind);
    resetVectors();
    leggiCampioni();
    if (m_kind == 1)
        log(QStringLiteral("Angle: ") + numberToText(m_phase[1]));
    else if (m_kind == 2 || m_kind == 3)
        log(QStringLiteral("Return loss: ") + numberToText(m_magnitude[1]));
}

bool cAsyncMiniVNA::leggiCampioni() {
    for (const QByteArray& line : vnawire::requestLines(m_mode, m_startWord, m_count, m_stepWord)) {
        if (!m_line->output(line)) {
            reportError(QStringLiteral("errore invio comando"));
            return false;
        }
        QThread::msleep(1); // gives the analyser time to take the line
    }
    const qsizetype wanted = static_cast<qsizetype>(vnawire::kRecordBytes) * m_count;
    QElapsedTimer clock;
    clock.start();
    qsizetype waiting = m_line->inBufferCount();
    while (waiting >= 0 && waiting < wanted && clock.elapsed() <= kReplyTimeoutMs) {
        m_line->waitTurn(wanted, kReplyTimeoutMs + 1 - clock.elapsed());
        waiting = m_line->inBufferCount();
    }
    if (waiting < wanted) {
        reportError(QStringLiteral("timeout lettura campioni"));
        return true;
    }
    m_line->setInputMode(SerialLine::InputMode::Text);
    m_line->setInputLen(0);
    QByteArray bytes;
    m_line->input(&bytes);
    vnawire::unpackRecords(bytes, m_count, m_kind, m_kind == 1 ? m_phase : m_magnitude);
    return true;
}

void cAsyncMiniVNA::Runnable_Start() {
    log(QStringLiteral("avvio ciclo di sweep"));
    setMySweepON(kRunning);
    resetVectors();
    while (mySweepON() > kStopRequested) {
        // Every turn serves calls, whatever the line does: the wait for the answer is skipped
        // when it is already there or when the request could not be sent.
        yieldEvents();
        if (!leggiCampioni()) {
            // A line that refuses the request (an adapter pulled out) would otherwise be
            // retried, and reported, as fast as the processor goes.
            sleepServing(kResendPauseMs);
        }
        const QList<double>* vector = m_kind == 1                    ? &m_phase
                                      : (m_kind == 2 || m_kind == 3) ? &m_magnitude
                                                                     : nullptr;
        if (vector)
            sendVector(&cAsyncMiniVNA::aVettore, *vector);
    }
    endLoop();
}

bool cAsyncMiniVNA::aInizializzaCOMM(short porta, const QString&) {
    // The line keeps its preset (115200 baud, 8 data bits): the settings text is not used.
    return openWithRetries(porta, [&] {
        m_line->setPortOpen(false);
        m_line->setCommPort(porta);
        m_line->setInputMode(SerialLine::InputMode::Text);
        return m_line->setPortOpen(true);
    });
}

void cAsyncMiniVNA::aExitCOMM() {
    m_line->setPortOpen(false);
    log(QStringLiteral("COMMport chiusa"));
    endServerProcess();
}
