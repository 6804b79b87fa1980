#include "SweepController.h"

#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "SweepRefusal.h"
#include "UserMessages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <utility>

SweepController::Sequence::Sequence(SweepController* controller) : c(controller) {
    ++c->m_depth;
}

SweepController::Sequence::~Sequence() {
    --c->m_depth;
}

SweepController::SweepController(SweepConfig& config, SweepData* data, UserMessages& messages,
                                 int stopWaitMs, QObject* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_messages(messages), m_stopWaitMs(stopWaitMs),
      m_queuedStart(new QTimer(this)), timerUpdateSweep(new QTimer(this)),
      timerGrafico(new QTimer(this)) {
    m_clock.start();
    timerUpdateSweep->setObjectName(QStringLiteral("timerUpdateSweep"));
    timerUpdateSweep->setInterval(500);
    connect(timerUpdateSweep, &QTimer::timeout, this, &SweepController::timerUpdateSweep_Timer);
    timerGrafico->setObjectName(QStringLiteral("timerGrafico"));
    timerGrafico->setInterval(100);
    connect(timerGrafico, &QTimer::timeout, this, &SweepController::timerGrafico_Timer);
    // A queued "Sweep ON" looks for the end of the device call at this pace.
    m_queuedStart->setInterval(20);
    connect(m_queuedStart, &QTimer::timeout, this, &SweepController::replayQueuedStart);
}

void SweepController::setDevice(SweepDevice* device) {
    m_device = device;
    if (!device)
        return;
    connect(device, &SweepDevice::vettore, this, &SweepController::datiDDS);
    connect(device, &SweepDevice::complete, this, &SweepController::onComplete);
    connect(device, &SweepDevice::errore, this, &SweepController::onErrore);
    connect(device, &SweepDevice::serverDied, this, &SweepController::onServerDied);
}

void SweepController::tell(const QString& text) {
    if (m_closing)
        return;
    m_messages.beep();
    m_messages.message(text, QMessageBox::Warning);
}

QString SweepController::formatFreq(qint32 f) const {
    return formatNumber(static_cast<double>(f), QStringLiteral("###,###,##0"));
}

void SweepController::calcolaStep() {
    Sequence seq(this);
    qint32& start = m_cfg.freqStart;
    qint32& stop = m_cfg.freqStop;
    if (std::llabs(qint64(start) - stop) < NUMERO_CAMPIONI) {
        QString a = QStringLiteral("Start frequency will be set to ");
        QString b = QStringLiteral("Stop frequency will be set to ");
        if (start > stop) {
            if (qint64(start) - NUMERO_CAMPIONI < 1) {
                start = NUMERO_CAMPIONI + 1;
                stop = 1;
                a += formatFreq(start) + QStringLiteral(" Hz");
                b += QStringLiteral("1 Hz");
            } else {
                stop = start - NUMERO_CAMPIONI;
                a.clear();
                b += formatFreq(stop) + QStringLiteral(" Hz");
            }
        } else if (qint64(stop) + NUMERO_CAMPIONI > m_cfg.ddsMaxFreq) {
            stop = m_cfg.ddsMaxFreq;
            start = m_cfg.ddsMaxFreq - NUMERO_CAMPIONI;
            a += formatFreq(start) + QStringLiteral(" Hz");
            b += formatFreq(stop) + QStringLiteral(" Hz");
        } else {
            stop = start + NUMERO_CAMPIONI;
            a.clear();
            b += formatFreq(stop) + QStringLiteral(" Hz");
        }
        tell(QStringLiteral("Minimum sweeping range is ") + QString::number(NUMERO_CAMPIONI) +
             QStringLiteral(" Hz.\n") + a + QStringLiteral("\n") + b);
    }
    m_freqStep =
        static_cast<qint32>(roundHalfEven((double(stop) - double(start)) / NUMERO_CAMPIONI));
    emit rangeShown();
}

void SweepController::aggiornaLblFrequenza() {
    Sequence seq(this);
    calcolaStep();
    // A new range, or a new start, begins a new average: sweeps of other points never mix.
    m_averager.reset();
    m_data->rebuild(m_cfg.freqStart, m_freqStep, ScaleModel::isLinear(m_cfg.scala));
    emit rangeRebuilt();
}

void SweepController::setAveraging(int sweeps) {
    m_averager.setCount(sweeps);
    m_averager.reset();
}

void SweepController::cmdStart_Click() {
    requestStart(m_stops);
}

void SweepController::requestStart(quint32 stopsSeen) {
    Sequence seq(this);
    if (m_closing)
        return;
    // A start is already under way (its wait, or its calls to the device): it is what this
    // press asks for, and a second sweep must not start inside it.
    if (m_startPhase != StartPhase::None)
        return;
    // Another device call is waiting for its reply (a short one shows no sign of it): the
    // press is kept and carried out when that call has returned.
    if (m_device && m_device->isWaiting()) {
        m_startQueued = true;
        m_queuedStops = stopsSeen;
        m_queuedStart->start();
        return;
    }
    if (std::llabs(qint64(m_cfg.freqStop) - m_cfg.freqStart) < NUMERO_CAMPIONI) {
        tell(QStringLiteral("The minimum sweep range is ") + QString::number(NUMERO_CAMPIONI) +
             QStringLiteral(" Hz"));
        return;
    }
    m_startRefused = false;
    m_startPhase = StartPhase::Waiting;
    startSweep(stopsSeen);
    m_startPhase = StartPhase::None;
    // A start refused at the wait (the previous sweep never ended, or "Sweep OFF" came during
    // it) leaves the window idle.
    if (m_closing || m_startRefused)
        return;
    emit running();
}

void SweepController::replayQueuedStart() {
    if (m_device && m_device->isWaiting())
        return; // still waiting: look again at the next tick
    m_queuedStart->stop();
    if (!std::exchange(m_startQueued, false) || m_closing)
        return;
    // Only an idle window starts: a sweep begun meanwhile already did what the press asked,
    // and a "Sweep OFF" pressed since then is the later wish.
    if (m_statoSweep != SweepState::kStopped || m_startPhase != StartPhase::None ||
        m_stops != m_queuedStops)
        return;
    requestStart(m_queuedStops);
}

bool SweepController::waitForIdle() {
    if (m_statoSweep <= SweepState::kStopped)
        return true;
    // Events, timers and user input are handled inside this wait; the end-of-sweep report of
    // the device is what ends it. A heartbeat keeps the loop checking the deadline.
    QElapsedTimer waited;
    waited.start();
    QTimer heartbeat;
    heartbeat.start(50);
    while (m_statoSweep > SweepState::kStopped && !m_closing && waited.elapsed() < m_stopWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return m_statoSweep <= SweepState::kStopped;
}

void SweepController::startSweep(quint32 stopsSeen) {
    if (!waitForIdle()) {
        if (m_closing)
            return;
        endOfSweepControls();
        tell(QStringLiteral(
                 "The previous sweep did not end: the device gave no end-of-sweep report within "
                 "%1 seconds.\nThe sweep controls are back to idle. Press \"Sweep ON\" to try "
                 "again; if this repeats, check the device and its connection.")
                 .arg(std::max(1, m_stopWaitMs / 1000)));
        m_startRefused = true;
        return;
    }
    if (m_closing)
        return;
    // "Sweep OFF" was pressed while this start waited (a restart after a range edit waits for
    // the end of the running pass): the sweep stays off.
    if (m_stops != stopsSeen) {
        m_startRefused = true;
        return;
    }
    m_statoSweep = SweepState::kRunning;
    // The sweep takes the range as it is now: an edit pending until here needs no re-apply.
    m_startPhase = StartPhase::RangeTaken;
    timerUpdateSweep->stop();
    m_reapplyWhenIdle = false;
    aggiornaLblFrequenza();
    emit markersDue();
    if (!m_device || m_closing)
        return;
    const QString prefix = m_device->logPrefix();
    scriviLog(prefix + QStringLiteral("Start sweep"));
    if (!m_device->setUpSweep(m_cfg, m_freqStep)) {
        m_statoSweep = SweepState::kStopped;
        scriviLog(prefix + QStringLiteral("Errore inizializza ciclo sweep"));
        // A sweep the device cannot make is not started: back to idle, and the user is told.
        endOfSweepControls();
        m_startRefused = true;
        tell(sweepRefusedMessage(m_cfg, m_device->setUpFaults()));
        return;
    }
    m_device->start();
}

void SweepController::cmdStop_Click() {
    Sequence seq(this);
    ++m_stops;
    m_startQueued = false;
    m_statoSweep = SweepState::kStopRequested;
    if (m_device)
        m_device->setSweepOn(SweepState::kStopRequested);
    // Without a live device nothing will report the end of the sweep: go idle at once.
    if (!m_device || !m_device->isLive())
        endOfSweepControls();
}

void SweepController::optSpeed_Click(int index) {
    Sequence seq(this);
    m_cfg.sweepMode = static_cast<qint16>(index);
    if (m_device)
        m_device->setSpeed(m_cfg.sweepMode);
}

void SweepController::restartUpdateTimer() {
    timerUpdateSweep->stop();
    timerUpdateSweep->start();
}

void SweepController::timerUpdateSweep_Timer() {
    Sequence seq(this);
    timerUpdateSweep->stop();
    if (m_closing)
        return;
    // A start waiting for the end of the previous sweep reads the range when its wait ends.
    if (m_startPhase == StartPhase::Waiting)
        return;
    // The device is still busy with an earlier call, or a start is talking to it: try again
    // once it has answered.
    if (m_startPhase != StartPhase::None || (m_device && m_device->isWaiting())) {
        timerUpdateSweep->start();
        return;
    }
    // "Sweep OFF" was pressed: the loop is ending and no sweep may follow. The range is
    // applied as while idle, once the device has reported the end of its loop.
    if (m_statoSweep == SweepState::kStopRequested) {
        m_reapplyWhenIdle = true;
        return;
    }
    if (m_statoSweep <= SweepState::kStopped) {
        applyIdleFrequency();
        return;
    }
    if (m_device && m_device->capabilities().takesRangeWhileRunning) {
        aggiornaLblFrequenza();
        emit markersDue();
        m_device->reinitRange(m_cfg.freqStart, m_freqStep);
        scriviLog(m_device->logPrefix() + QStringLiteral("Start/step sweep reinizializzati"));
    } else if (m_device) {
        const quint32 stops = m_stops;
        m_device->setSweepOn(SweepState::kRestart);
        requestStart(stops);
    }
}

void SweepController::applyIdleFrequency() {
    if (m_device && !m_device->setIdleFrequency(m_cfg))
        tell(QStringLiteral("Frequency not iniatized."));
}

void SweepController::aggiornaTimer() {
    const qint64 tickOra = m_clock.elapsed();
    if (tickOra == m_tickUltimo)
        return;
    const qint64 ms = tickOra - m_tickUltimo;
    emit rateMeasured(ms, 1000.0 / double(ms));
    m_tickUltimo = m_clock.elapsed();
}

void SweepController::timerGrafico_Timer() {
    timerGrafico->stop();
    emit redrawDue();
}

void SweepController::endOfSweepControls() {
    emit idle();
    m_statoSweep = SweepState::kStopped;
}

void SweepController::onComplete() {
    Sequence seq(this);
    const QString prefix = m_device ? m_device->logPrefix() : QString();
    scriviLog(prefix + QStringLiteral("Stop sweep"));
    const bool reapply = std::exchange(m_reapplyWhenIdle, false);
    endOfSweepControls();
    if (!m_device || m_closing)
        return;
    // The parallel port then sets the generator back to the start frequency.
    m_device->afterComplete(m_cfg);
    if (reapply && m_statoSweep == SweepState::kStopped)
        applyIdleFrequency();
}

void SweepController::onErrore(qint16 tipoErrore, const QString& descrizione) {
    if (tipoErrore == ErrorCode::kRetry && m_device &&
        m_device->capabilities().countsRetryWarnings) {
        emit retryWarning();
        return;
    }
    scriviLog(QString::number(tipoErrore) + QLatin1Char(' ') + descrizione);
}

void SweepController::onServerDied(const QString& reason) {
    Sequence seq(this);
    if (m_closing)
        return;
    const bool wasSweeping = m_statoSweep != SweepState::kStopped;
    if (wasSweeping)
        endOfSweepControls();
    tell(QStringLiteral("The device server tarvex stopped%1: %2\nSweep goes on without hardware; "
                        "close and start Sweep again to reconnect.")
             .arg(wasSweeping ? QStringLiteral(" during the sweep") : QString(), reason));
}

void SweepController::datiDDS(const QVector<double>& vettore) {
    // Element 0 of every device's vector is not a sample (the parallel port keeps its
    // discarded read there); point i is element i.
    const int n = std::clamp<int>(vettore.size() - 1, 0, NUMERO_CAMPIONI);
    const bool invert = m_device && m_device->capabilities().invertsReadings(m_cfg.adcChannel);
    QVector<double> raw(n);
    for (int i = 0; i < n; ++i) {
        const double received = vettore[i + 1];
        raw[i] = invert ? 1024.0 - received : received;
        if (m_cfg.logEnabled)
            emit pointReceived(i + 1, received);
    }
    if (m_averager.count() > 1)
        raw = m_averager.add(raw);
    m_data->setReadings(raw, m_cfg.scala, m_cfg.adcStep, m_cfg.adcOffset);
    aggiornaTimer();
    // Enabling a running one-shot must not push it back: sweeps that arrive faster than
    // 100 ms apart would otherwise never get their curve drawn.
    if (!timerGrafico->isActive())
        timerGrafico->start();
    emit sweepReceived();
}
