// Sweep control, device events and the sweep data of the main window.
#include "CAsyncLPTProxy.h"
#include "CAsyncMiniVNAProxy.h"
#include "CAsyncPICProxy.h"
#include "CommonFunctions.h"
#include "DeviceBinding.h"
#include "DeviceCalls.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
const QString kFreqPicture = QStringLiteral("###,###,##0");
}

void frmSweep::log(const QString& text) {
    scriviLog(text);
}

void frmSweep::calcolaStep() {
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
        m_messages->beep();
        showMessage(QStringLiteral("Minimum sweeping range is ") + QStringLiteral("400") +
                        QStringLiteral(" Hz.\n") + a + QStringLiteral("\n") + b,
                    QMessageBox::Warning);
    }
    txtStop->setText(formatFreq(stop));
    txtStart->setText(formatFreq(start));
    m_freqStep =
        static_cast<qint32>(roundHalfEven((double(stop) - double(start)) / NUMERO_CAMPIONI));
    txtStep->setText(formatNumber(m_freqStep, kFreqPicture));
}

void frmSweep::cmdStart_Click() {
    if (std::llabs(qint64(m_cfg.freqStop) - m_cfg.freqStart) >= NUMERO_CAMPIONI) {
        m_startRefused = false;
        startSweep();
        // A start refused at the wait (the previous sweep never ended) leaves the window idle.
        if (m_closing || m_startRefused)
            return;
        cmdStop->show();
        cmdStop->setFocus();
        cmdStart->hide();
        mnuSaveCSV->setEnabled(false);
        mnuOpenCSV->setEnabled(false);
        mnuSetUpAction->setEnabled(false);
    } else {
        m_messages->beep();
        showMessage(QStringLiteral("The minimum sweep range is ") + QStringLiteral("400") +
                        QStringLiteral(" Hz"),
                    QMessageBox::Warning);
    }
}

bool frmSweep::waitForIdle() {
    if (m_statoSweep <= 0)
        return true;
    // Events, timers and user input are handled inside this wait; the end-of-sweep report of
    // the device is what ends it. A heartbeat keeps the loop checking the deadline.
    QElapsedTimer waited;
    waited.start();
    QTimer heartbeat;
    heartbeat.start(50);
    while (m_statoSweep > 0 && !m_closing && waited.elapsed() < m_options.stopWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return m_statoSweep <= 0;
}

void frmSweep::startSweep() {
    if (!waitForIdle()) {
        if (m_closing)
            return;
        endOfSweepControls(false);
        m_messages->beep();
        showMessage(
            QStringLiteral(
                "The previous sweep did not end: the device gave no end-of-sweep report within %1 "
                "seconds.\nThe sweep controls are back to idle. Press \"Sweep ON\" to try again; "
                "if this repeats, check the device and its connection.")
                .arg(std::max(1, m_options.stopWaitMs / 1000)),
            QMessageBox::Warning);
        m_startRefused = true;
        return;
    }
    if (m_closing)
        return;
    m_statoSweep = 4;
    aggiornaLblFrequenza();
    aggiornaLblMarkerX();

    if (!m_device)
        return;
    switch (m_cfg.interfaccia) {
    case 1: {
        log(QStringLiteral("P> Start sweep"));
        auto* aPIC = m_device->aPIC();
        if (!callReturnedTrue(aPIC->aInizializzaSweep(m_cfg.freqStart, m_freqStep))) {
            m_statoSweep = 0;
            log(QStringLiteral("P> Errore inizializza ciclo sweep"));
        }
        callSucceeded(aPIC->Start());
        break;
    }
    case 2: {
        log(QStringLiteral("L> Start sweep"));
        auto* aLPT = m_device->aLPT();
        m_device->setProp("aSpeed", QVariant::fromValue(m_cfg.sweepMode));
        callSucceeded(aLPT->aInizializzaSweep(m_cfg.freqStart, m_freqStep));
        callSucceeded(aLPT->aStartLPT());
        break;
    }
    case 3: {
        log(QStringLiteral("V> Start sweep"));
        auto* aVNA = m_device->aVNA();
        m_device->setProp("aMisura", QVariant::fromValue(m_cfg.adcChannel));
        callSucceeded(aVNA->aInizializzaSweep(m_cfg.freqStart, m_freqStep, NUMERO_CAMPIONI));
        callSucceeded(aVNA->Start());
        break;
    }
    default:
        break;
    }
}

void frmSweep::cmdStop_Click() {
    m_statoSweep = 2;
    setSweepOn(2);
    // Without a live device nothing will report the end of the sweep: go idle at once.
    if (!deviceBound())
        endOfSweepControls(false);
}

void frmSweep::setSweepOn(qint16 value) {
    if (m_device)
        m_device->setSweepOn(value);
}

void frmSweep::optSpeed_Click(int index) {
    m_cfg.sweepMode = static_cast<qint16>(index);
    if (m_device && m_cfg.interfaccia == 2)
        m_device->setProp("aSpeed", QVariant::fromValue(m_cfg.sweepMode));
}

void frmSweep::timerUpdateSweep_Timer() {
    timerUpdateSweep->stop();
    if (m_statoSweep < 1) {
        if (!m_device)
            return;
        switch (m_cfg.interfaccia) {
        case 1:
            if (!callReturnedTrue(
                    m_device->aPIC()->aScriviPIC(QStringLiteral("B"), m_cfg.freqStart))) {
                m_messages->beep();
                showMessage(QStringLiteral("Frequency not iniatized."), QMessageBox::Warning);
            }
            break;
        case 2:
            callSucceeded(m_device->aLPT()->aSetFrequenzaDDS(m_cfg.freqStart));
            break;
        case 3:
            m_device->setProp("aMisura", QVariant::fromValue(qint16(0)));
            callSucceeded(m_device->aVNA()->aSetFrequenza(m_cfg.freqStart));
            m_device->setProp("aMisura", QVariant::fromValue(m_cfg.adcChannel));
            break;
        default:
            break;
        }
        return;
    }
    if (m_cfg.interfaccia == 2) {
        aggiornaLblFrequenza();
        aggiornaLblMarkerX();
        if (m_device)
            callSucceeded(m_device->aLPT()->aInizializzaSweep(m_cfg.freqStart, m_freqStep));
        log(QStringLiteral("L> Start/step sweep reinizializzati"));
    } else if (m_cfg.interfaccia == 1 || m_cfg.interfaccia == 3) {
        setSweepOn(1);
        cmdStart_Click();
    }
}

void frmSweep::aggiornaTimer() {
    const qint64 tickOra = m_clock.elapsed();
    if (tickOra == m_tickUltimo)
        return;
    const qint64 ms = tickOra - m_tickUltimo;
    lblSpeed->setText(QString::number(ms));
    lblSpeed->repaint();
    lblFreq->setText(formatNumber(1000.0 / double(ms), QStringLiteral("Fixed")));
    lblFreq->repaint();
    m_tickUltimo = m_clock.elapsed();
}

void frmSweep::timerGrafico_Timer() {
    timerGrafico->stop();
    QVector<double> y(m_table->levels().size());
    for (int i = 0; i < y.size(); ++i)
        y[i] = levelToUser(m_table->levels()[i]);
    m_graph->drawLine(y);
    const auto rowOf = [](double x) {
        return std::clamp(static_cast<int>(roundHalfEven(x)), 1, NUMERO_CAMPIONI);
    };
    txtM1Y->setText(m_table->cellText(rowOf(m_graph->markerX(0)), 1));
    txtM2Y->setText(m_table->cellText(rowOf(m_graph->markerX(1)), 1));
}

void frmSweep::endOfSweepControls(bool focusBeforeMenus) {
    cmdStop->hide();
    cmdStart->show();
    if (focusBeforeMenus)
        cmdStart->setFocus();
    mnuSaveCSV->setEnabled(true);
    mnuOpenCSV->setEnabled(true);
    mnuSetUpAction->setEnabled(true);
    if (!focusBeforeMenus)
        cmdStart->setFocus();
    m_statoSweep = 0;
}

void frmSweep::onComplete() {
    switch (m_cfg.interfaccia) {
    case 2:
        log(QStringLiteral("L> Stop sweep"));
        endOfSweepControls(true);
        if (m_device)
            callSucceeded(m_device->aLPT()->aSetFrequenzaDDS(m_cfg.freqStart));
        break;
    case 1:
        log(QStringLiteral("P> Stop sweep"));
        endOfSweepControls(false);
        break;
    default:
        log(QStringLiteral("V> Stop sweep"));
        endOfSweepControls(false);
        break;
    }
}

void frmSweep::onErrore(qint16 tipoErrore, const QString& descrizione) {
    if (tipoErrore == 1 && m_cfg.interfaccia != 2) {
        const double n = parseNumber(txtErrori->text()).value_or(0.0);
        txtErrori->setText(numberToText(n + 1));
        return;
    }
    log(QString::number(tipoErrore) + QLatin1Char(' ') + descrizione);
}

void frmSweep::onVettore(const QVector<double>& vettore) {
    datiDDS(vettore);
}

void frmSweep::datiDDS(const QVector<double>& vettore) {
    // Element 0 of every device's vector is not a sample (the parallel port keeps its
    // discarded read there); point i is element i.
    const int n = std::clamp<int>(vettore.size() - 1, 0, NUMERO_CAMPIONI);
    const bool invert = m_cfg.interfaccia == 3 && m_cfg.adcChannel == 3;
    m_converter.prepare(m_cfg.scala, m_cfg.adcStep, m_cfg.adcOffset);
    QVector<double> raw(n);
    QVector<double> level(n);
    QStringList rawTexts;
    QStringList levelTexts;
    rawTexts.reserve(n);
    levelTexts.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double received = vettore[i + 1];
        const double c = invert ? 1024.0 - received : received;
        const SampleConverter::Point& p = m_converter.convert(c);
        raw[i] = c;
        rawTexts << p.rawText;
        level[i] = p.level;
        levelTexts << p.levelText;
        if (m_cfg.logEnabled) {
            txtRX->setText(QStringLiteral("%1:%2").arg(i + 1).arg(numberToText(received)));
            txtRX->repaint();
        }
    }
    m_table->setSweep(raw, level, rawTexts, levelTexts);
    aggiornaTimer();
    // Enabling a running one-shot must not push it back: sweeps that arrive faster than
    // 100 ms apart would otherwise never get their curve drawn.
    if (!timerGrafico->isActive())
        timerGrafico->start();
    emit sweepReceived();
}
