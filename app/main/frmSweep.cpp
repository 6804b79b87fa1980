// The main window's shell: the pieces are made and wired here; what each does lives in its
// own class.
#include "frmSweep.h"

#include "AppTitle.h"
#include "CommonFunctions.h"
#include "CsvFiles.h"
#include "CursorReadout.h"
#include "FrequencyEntry.h"
#include "HelpWindows.h"
#include "MarkerPanel.h"
#include "MeasurePanel.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "ScaleControls.h"
#include "SingleInstance.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "SweepDialogs.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "TestPanel.h"
#include "TraceMenu.h"
#include "UserMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

frmSweep::frmSweep(const StartOptions& options, UserMessages* messages, SweepDialogs* dialogs,
                   QWidget* parent)
    : QMainWindow(parent), m_options(options),
      m_ownMessages(messages ? nullptr : std::make_unique<UserMessages>()),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<SweepDialogs>()),
      m_messages(messages ? messages : m_ownMessages.get()),
      m_dialogs(dialogs ? dialogs : m_ownDialogs.get()),
      m_data(new SweepData(this)), m_context{m_cfg, nullptr, *m_data, *m_messages} {
    setObjectName(QStringLiteral("frmSweep"));
    if (m_ownMessages)
        m_ownMessages->setParentWidget(this);
    m_controller = new SweepController(m_cfg, m_data, *m_messages, options.stopWaitMs, this);
    buildUi();
    wirePieces();
    m_context.graphChanged = [this] {
        drawLine();
        m_markers->showLevels();
    };
    m_context.cursorModeChanged = [this](qint16) { m_cursor->applyCursorMode(); };
}

frmSweep::~frmSweep() {
    setLogSink({});
    if (m_device) {
        // Events of a dying server must not reach a half-destroyed window.
        m_device->disconnect(this);
        m_device->disconnect(m_controller);
        m_device->release();
    }
}

qint16 frmSweep::statoSweep() const {
    return m_controller->statoSweep();
}

qint32 frmSweep::freqStep() const {
    return m_controller->freqStep();
}

bool frmSweep::deviceBound() const {
    return m_device && m_device->isLive();
}

qint64 frmSweep::serverPid() const {
    return m_device ? m_device->serverPid() : 0;
}

void frmSweep::cmdStart_Click() {
    m_controller->cmdStart_Click();
}

void frmSweep::datiDDS(const QVector<double>& vettore) {
    m_controller->datiDDS(vettore);
}

void frmSweep::onErrore(qint16 tipoErrore, const QString& descrizione) {
    m_controller->onErrore(tipoErrore, descrizione);
}

void frmSweep::wirePieces() {
    SweepController* c = m_controller;
    connect(cmdStart, &QPushButton::clicked, c, &SweepController::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, c, &SweepController::cmdStop_Click);
    for (int i = 0; i < 3; ++i)
        connect(optSpeed[i], &QRadioButton::toggled, c, [c, i](bool on) {
            if (on)
                c->optSpeed_Click(i);
        });
    connect(m_entry, &FrequencyEntry::edited, c, &SweepController::restartUpdateTimer);
    connect(m_markers, &MarkerPanel::copyToRange, m_entry, &FrequencyEntry::setFrequency);
    wireGraph();
    wireTestPanel();
    wireFiles();
    wireTraces();

    connect(c, &SweepController::running, this, &frmSweep::showRunning);
    connect(c, &SweepController::idle, this, &frmSweep::showIdle);
    connect(c, &SweepController::rangeShown, this, [this] {
        m_entry->showRange();
        txtStep->setText(formatNumber(m_controller->freqStep(), QStringLiteral("###,###,##0")));
    });
    connect(c, &SweepController::rangeRebuilt, this, &frmSweep::showRangeLabels);
    connect(c, &SweepController::markersDue, m_markers, &MarkerPanel::aggiornaLblMarkerX);
    connect(c, &SweepController::redrawDue, this, [this] {
        drawLine();
        m_markers->showLevels();
    });
    connect(c, &SweepController::rateMeasured, this, &frmSweep::showRate);
    connect(c, &SweepController::pointReceived, m_testPanel, &TestPanel::showPoint);
    connect(c, &SweepController::retryWarning, m_testPanel, &TestPanel::countRetry);
    connect(c, &SweepController::sweepReceived, this, &frmSweep::sweepReceived);
}

void frmSweep::wireTraces() {
    m_trace = new TraceMenu(m_cfg, m_data, m_graph, m_controller, m_csv, *m_messages, this);
    m_trace->build(menuBar(), mnuSetUpAction);
    // Normalisation switched: every level is converted again and everything showing one redrawn.
    connect(m_trace, &TraceMenu::levelsChanged, this, [this] {
        aggiornaScala(m_cfg.scala);
        m_markers->showLevels();
    });
    connect(m_data, &SweepData::changed, m_trace, [this](bool newRange) {
        if (newRange)
            m_trace->rangeChanged();
    });
    connect(m_controller, &SweepController::sweepReceived, m_trace, &TraceMenu::sweepCompleted);
    connect(m_csv, &CsvFiles::loaded, m_trace, &TraceMenu::sweepCompleted);
    connect(m_measure, &MeasurePanel::placeMarker, m_markers, &MarkerPanel::placeMarker);
    connect(m_measure, &MeasurePanel::beepRequested, this, [this] { m_messages->beep(); });
}

void frmSweep::wireTestPanel() {
    TestPanel* t = m_testPanel;
    connect(t, &TestPanel::generatorReset, m_controller, &SweepController::resetState);
    connect(t, &TestPanel::testCurveReady, this, [this] {
        drawScreen();
        drawLine();
        m_markers->aggiornaLblMarkerX();
        m_markers->aggiornaLblMarkerY();
    });
    connect(t, &TestPanel::cleared, this, [this] {
        drawScreen();
        m_controller->aggiornaLblFrequenza();
        m_markers->aggiornaLblMarkerX();
    });
    // The controls go back to the stopped state without waiting for the device's end report.
    connect(t, &TestPanel::forcedStop, this, [this] {
        m_controller->cmdStop_Click();
        scriviLog(QStringLiteral("Stop sweep forzato"));
        showIdle();
    });
    t->setStepSource([this] {
        m_controller->calcolaStep();
        return m_controller->freqStep();
    });
}

void frmSweep::showRunning() {
    cmdStop->show();
    cmdStop->setFocus();
    cmdStart->hide();
    mnuSaveCSV->setEnabled(false);
    mnuOpenCSV->setEnabled(false);
    mnuSetUpAction->setEnabled(false);
}

void frmSweep::showIdle() {
    cmdStop->hide();
    cmdStart->show();
    mnuSaveCSV->setEnabled(true);
    mnuOpenCSV->setEnabled(true);
    mnuSetUpAction->setEnabled(true);
    cmdStart->setFocus();
}

void frmSweep::showRangeLabels() {
    m_markers->clearLevels();
    lblStart->setText(m_data->text(1, 0));
    lblStop->setText(m_data->text(NUMERO_CAMPIONI, 0));
    lblCentro->setText(m_data->text(NUMERO_CAMPIONI / 2, 0));
    describeGraph();
    const qint32 step = m_controller->freqStep();
    const double span =
        double(m_data->frequencyOf(NUMERO_CAMPIONI)) - double(m_data->frequencyOf(1));
    const double points = step != 0 ? roundHalfEven(span / step) : 0.0;
    m_testPanel->setSampleCount(QStringLiteral("N.Campioni ") + numberToTextBlank(points));
    m_graph->clearCurve();
}

void frmSweep::showRate(qint64 msPerSweep, double sweepsPerSecond) {
    // Painted at once, not at the next idle paint, so the rate stays visible while sweeps
    // arrive back to back.
    lblSpeed->setText(QString::number(msPerSweep));
    lblSpeed->repaint();
    lblFreq->setText(formatNumber(sweepsPerSecond, QStringLiteral("Fixed")));
    lblFreq->repaint();
}

void frmSweep::showWaiting(bool waiting) {
    lblWaiting->setVisible(waiting);
    cmdStart->setEnabled(!waiting);
}

void frmSweep::showHelp() {
    HelpWindows::showMain();
}

void frmSweep::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_outerSizeFixed)
        return;
    // 800 x 600 is the outer size, frame included. The window manager tells the frame only
    // after the window is mapped, so the size is set again once it is known.
    QTimer::singleShot(0, this, &frmSweep::applyOuterSize);
    QTimer::singleShot(200, this, &frmSweep::applyOuterSize);
    QTimer::singleShot(1000, this, [this] {
        applyOuterSize();
        m_outerSizeFixed = true;
    });
}

void frmSweep::applyOuterSize() {
    if (m_outerSizeFixed || isMaximized() || isFullScreen())
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize wanted = QSize(800, 600) - frame;
    if (size() != wanted)
        resize(wanted);
}

bool frmSweep::busy() const {
    return m_controller->inSequence() || (m_device && m_device->isWaiting());
}

void frmSweep::closeEvent(QCloseEvent* event) {
    if (m_loaded && !m_closing && busy()) {
        // Inside a handler (a device call waiting for the hardware, a message box of a
        // sequence, the wait for the end of a sweep): that handler ends first, with every
        // device call failing at once, and the close follows it.
        m_controller->setClosing();
        if (m_device)
            m_device->abandonWaits();
        m_messages->dismissAll();
        hide();
        event->ignore();
        if (!m_closeRetry) {
            m_closeRetry = new QTimer(this);
            connect(m_closeRetry, &QTimer::timeout, this, [this] {
                if (!busy()) {
                    m_closeRetry->stop();
                    close();
                }
            });
            m_closeRetry->start(20);
        }
        return;
    }
    if (m_loaded && !m_closing)
        shutdown();
    event->accept();
}

void frmSweep::shutdown() {
    m_closing = true;
    m_controller->setClosing();
    m_controller->updateTimer()->stop();
    m_controller->graphTimer()->stop();
    hide();
    m_cfg.vistaCorrente = m_vistaCorrente;
    const WriteResult saved = m_cfg.writeOnClose(m_markers->m1Text(), m_markers->m2Text(),
                                                 m_markers->m3Text(), m_markers->m4Text());
    if (m_device) {
        m_device->resume();
        if (m_device->isLive())
            m_device->shutdown(m_cfg);
        // The device's last words (end of the loop, port closed) still reach the log.
        m_device->flushEvents();
    }
    m_messages->dismissAll();
    if (!saved) {
        // Told once the device is at rest: the user may free the folder and keep a copy.
        m_messages->beep();
        showMessage(QStringLiteral("The settings could not be saved to %1:\n%2.\nThe range, "
                                   "markers and scale of this session are lost.")
                        .arg(saved.error.file, saved.error.reason),
                    QMessageBox::Warning);
    }
    HelpWindows::closeAll();
    if (m_device) {
        m_device->disconnect(this);
        m_device->disconnect(m_controller);
        m_device->release();
    }
    emit closed();
}
