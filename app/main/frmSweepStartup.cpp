// Start-up, device binding and shutdown of the main window.
#include "AppTitle.h"
#include "CAsyncLPTProxy.h"
#include "CAsyncMiniVNAProxy.h"
#include "CAsyncPICProxy.h"
#include "CommonFunctions.h"
#include "DeviceBinding.h"
#include "DeviceCalls.h"
#include "NumberFormat.h"
#include "SingleInstance.h"
#include "SweepDialogs.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

frmSweep::frmSweep(const StartOptions& options, UserMessages* messages, SweepDialogs* dialogs,
                   QWidget* parent)
    : QMainWindow(parent), m_options(options) {
    setObjectName(QStringLiteral("frmSweep"));
    if (!messages) {
        m_ownMessages = std::make_unique<UserMessages>();
        m_ownMessages->setParentWidget(this);
        messages = m_ownMessages.get();
    }
    if (!dialogs) {
        m_ownDialogs = std::make_unique<SweepDialogs>();
        dialogs = m_ownDialogs.get();
    }
    m_messages = messages;
    m_dialogs = dialogs;
    m_clock.start();

    buildUi();
    timerUpdateSweep = new QTimer(this);
    timerUpdateSweep->setObjectName(QStringLiteral("timerUpdateSweep"));
    timerUpdateSweep->setInterval(500);
    connect(timerUpdateSweep, &QTimer::timeout, this, &frmSweep::timerUpdateSweep_Timer);
    timerGrafico = new QTimer(this);
    timerGrafico->setObjectName(QStringLiteral("timerGrafico"));
    timerGrafico->setInterval(100);
    connect(timerGrafico, &QTimer::timeout, this, &frmSweep::timerGrafico_Timer);
}

frmSweep::~frmSweep() {
    setLogSink({});
    if (m_device) {
        // Events of a dying server must not reach a half-destroyed window.
        m_device->disconnect(this);
        m_device->release();
    }
}

bool frmSweep::deviceBound() const {
    return m_device && m_device->isRunning();
}

qint64 frmSweep::serverPid() const {
    return deviceBound() ? m_device->serverPid() : 0;
}

void frmSweep::showMessage(const QString& text, QMessageBox::Icon icon) {
    m_messaggio = text;
    m_messages->message(text, icon);
}

bool frmSweep::load() {
    // 1-2: title, then one instance per user.
    m_instance = std::make_unique<SingleInstance>(
        m_options.lockPath.isEmpty() ? SingleInstance::defaultLockPath() : m_options.lockPath);
    if (!m_instance->acquire()) {
        m_messages->beep();
        showMessage(QStringLiteral("The program is already running"), QMessageBox::Warning);
        return false;
    }
    // 3-4
    setWindowTitle(QString::fromLatin1(kAppTitle));
    resize(800, 600);
    cmdStart->setVisible(true);
    cmdStop->setVisible(false);
    m_statoSweep = 0;

    // 5-6
    m_iniFile = m_options.iniPath.isEmpty() ? SweepConfig::defaultIniPath() : m_options.iniPath;
    m_cfg = SweepConfig(m_iniFile);
    m_cfg.readInterface();
    if (!controllaConfigurazione())
        return false;

    // 7
    m_cfg.readDebug();
    setLogEnabled(m_cfg.logEnabled);
    setLogSink([this](const QString& line) {
        lstLOG->addItem(line);
        lstLOG->scrollToBottom();
    });

    // 8-10: a device name the program does not know ends the start-up without saving anything.
    if (!m_cfg.readDdsDevice()) {
        m_messages->beep();
        showMessage(
            m_cfg.ddsDevice +
                QStringLiteral(" : Unknow DDSdevice.\nSupported DDS generators are: AD9850, "
                               "AD9851, AD9951"),
            QMessageBox::NoIcon);
        m_dialogs->showSetup(this, m_iniFile);
        return false;
    }
    m_cfg.readDdsParameters();
    if (!m_cfg.readAdcDevice()) {
        m_messages->beep();
        showMessage(m_cfg.adcDevice +
                        QStringLiteral(" : Unknow ADCdevice.\nSupported ADC are: 8bit, 10bit"),
                    QMessageBox::NoIcon);
        m_dialogs->showSetup(this, m_iniFile);
        return false;
    }

    // 11-13
    m_cfg.readAdcParameters();
    if (m_cfg.adcChannel == 3)
        cmdMisura->setText(QStringLiteral("DUT"));
    m_cfg.readPorts();
    readMainWindowState();

    // 14-16
    txtStart->setText(formatFreq(m_cfg.freqStart));
    txtStop->setText(formatFreq(m_cfg.freqStop));
    frameTest->setVisible(m_cfg.logEnabled);
    timerGrafico->stop();
    m_echoGuard = false;

    // 17-18
    m_graph->inizializzaGraph(m_cfg.maxScaleV);
    aggiornaLblFrequenza();
    applyScale();
    txtM3Y->setText(m_cfg.marker3);
    txtM4Y->setText(m_cfg.marker4);
    aggiornaPosMarkerY();
    txtM1X->setText(m_cfg.marker1);
    txtM2X->setText(m_cfg.marker2);
    aggiornaPosMarkerX(QStringLiteral("M1"));
    aggiornaPosMarkerX(QStringLiteral("M2"));

    // 19-21: the views share one place (layout); only the parallel port has AUX outputs.
    if (m_cfg.interfaccia != 2) {
        frmSpeed->hide();
        for (int i = 2; i < 4; ++i) {
            frameView[i]->hide();
            cmdView[i]->hide();
            mnuView[i]->setVisible(false);
        }
    } else {
        inizializzaAux();
    }
    selezionaVista(m_vistaCorrente);

    // 22
    m_loaded = true;
    bindDevice();
    return true;
}

bool frmSweep::controllaConfigurazione() {
    m_cfg.removeObsoleteSections();
    if (m_cfg.isFirstRun() && m_dialogs->showSetup(this, m_iniFile))
        return false; // "Apply" wrote a new configuration: it takes effect at the next start
    return true;
}

void frmSweep::readMainWindowState() {
    m_cfg.readMainWindowState();
    // A stored view index outside 0..3 names no view: the marker view is shown instead.
    m_vistaCorrente =
        (m_cfg.vistaCorrente >= 0 && m_cfg.vistaCorrente <= 3) ? m_cfg.vistaCorrente : 0;
    txtMaxVolt->setText(m_cfg.maxScaleVText);
    txtMaxDb->setText(m_cfg.maxScaleDbText);
}

void frmSweep::inizializzaAux() {
    // The AUX panels' contents come with the auxiliary-output panel; here only what the views
    // need: a disabled output has no frame, button or menu entry.
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig aux = m_cfg.readAux(n);
        const int view = n + 1;
        frameView[view]->setTitle(aux.title);
        if (!aux.enabled) {
            frameView[view]->hide();
            cmdView[view]->hide();
            mnuView[view]->setVisible(false);
            if (m_vistaCorrente == view)
                m_vistaCorrente = 0;
        }
    }
}

QStringList frmSweep::serverArguments() const {
    QStringList args{QStringLiteral("--lpt-driver"), m_cfg.lptDriver};
    if (!m_cfg.serialDevice.isEmpty())
        args << QStringLiteral("--com")
             << QStringLiteral("%1=%2").arg(m_cfg.commPort).arg(m_cfg.serialDevice);
    return args + m_options.extraServerArgs;
}

void frmSweep::setDeviceCaption(const QString& device) {
    setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" - ") + device);
}

void frmSweep::bindDevice() {
    const int itf = m_cfg.interfaccia;
    if (itf < 1 || itf > 3)
        return; // no device object: the window works without hardware

    m_device = new DeviceBinding(m_options.serverProgram, this);
    connect(m_device, &DeviceBinding::vettore, this, &frmSweep::onVettore);
    connect(m_device, &DeviceBinding::complete, this, &frmSweep::onComplete);
    connect(m_device, &DeviceBinding::errore, this, &frmSweep::onErrore);
    connect(m_device, &DeviceBinding::serverDied, this, &frmSweep::onServerDied);
    setDeviceCaption(itf == 3 ? QStringLiteral("MiniVNA") : m_cfg.ddsDevice);
    if (itf == 2) {
        frmSpeed->show();
        optSpeed[std::clamp<int>(m_cfg.sweepMode, 0, 2)]->setChecked(true);
    } else {
        frmSpeed->hide();
    }

    QString error;
    if (!m_device->create(itf, serverArguments(), &error)) {
        m_messages->beep();
        showMessage(
            QStringLiteral(
                "The device server could not be started.\n%1\nSweep goes on without hardware; "
                "check that tarvex is installed beside sweep and start Sweep again.")
                .arg(error),
            QMessageBox::Warning);
        delete m_device;
        m_device = nullptr;
        return;
    }

    const QString portMessage = QStringLiteral("Wrong serial port number (COM%1).\nPlease verify "
                                               "'SetUp/Configuration/Ports'.")
                                    .arg(m_cfg.commPort);
    if (itf == 1) {
        auto* aPIC = m_device->aPIC();
        if (!callReturnedTrue(aPIC->aInizializzaCOMM(m_cfg.commPort, m_cfg.serialSettings))) {
            m_messages->beep();
            showMessage(portMessage, QMessageBox::Warning);
            return;
        }
        if (!callReturnedTrue(aPIC->aScriviPIC(QStringLiteral("A"), m_cfg.freqStart))) {
            m_messages->beep();
            showMessage(QStringLiteral("DDS not initialized\nVerify the serial interface."),
                        QMessageBox::Warning);
        }
    } else if (itf == 2) {
        bindLpt();
    } else {
        auto* aVNA = m_device->aVNA();
        if (!callReturnedTrue(aVNA->aInizializzaCOMM(m_cfg.commPort, m_cfg.serialSettings))) {
            m_messages->beep();
            showMessage(portMessage, QMessageBox::Warning);
        }
        m_device->setProp("aClock", QVariant::fromValue(double(m_cfg.ddsClock)));
        m_device->setProp("aMultiplier", QVariant::fromValue(m_cfg.ddsMultiplier));
        m_device->setProp("aDDSoffset", QVariant::fromValue(m_cfg.ddsOffset));
        m_device->setProp("aMisura", QVariant::fromValue(m_cfg.adcChannel));
        callSucceeded(aVNA->aSetFrequenza(m_cfg.freqStart));
    }
}

void frmSweep::bindLpt() {
    auto* aLPT = m_device->aLPT();
    if (!callReturnedTrue(aLPT->aInizializzaLPT(m_cfg.lptAddress))) {
        m_messages->beep();
        showMessage(
            QStringLiteral(
                "Parallel port not initialized.\nDriver not found or wrong LPT address.\nPlease "
                "verify 'SetUp/Configuration/Ports'."),
            QMessageBox::Warning);
        return;
    }
    m_device->setProp("aDeviceDDS", m_cfg.ddsDevice);
    m_device->setProp("aDeviceADC", m_cfg.adcDevice);
    m_device->setProp("aClock", QVariant::fromValue(double(m_cfg.ddsClock)));
    m_device->setProp("aMultiplier", QVariant::fromValue(m_cfg.ddsMultiplier));
    m_device->setProp("aDDSoffset", QVariant::fromValue(m_cfg.ddsOffset));
    m_device->setProp("aSpeed", QVariant::fromValue(m_cfg.sweepMode));
    callSucceeded(aLPT->aInizializzaDDS());
    callSucceeded(aLPT->aSetFrequenzaDDS(m_cfg.freqStart));
    restoreAuxOutputs();
}

void frmSweep::restoreAuxOutputs() {
    auto* aLPT = m_device->aLPT();
    const qint16 values[2] = {m_cfg.aux1Value, m_cfg.aux2Value};
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig aux = m_cfg.readAux(n);
        if (!aux.enabled)
            continue;
        quint8 word = static_cast<quint8>(values[n - 1] & 0xFF);
        if (aux.inverseLogic)
            word = static_cast<quint8>(~word);
        callSucceeded(aLPT->aSetAttenuator(word, static_cast<short>(n)));
    }
}

void frmSweep::onServerDied(const QString& reason) {
    if (m_closing)
        return;
    const bool wasSweeping = m_statoSweep != 0;
    if (wasSweeping)
        endOfSweepControls(false);
    m_messages->beep();
    showMessage(QStringLiteral(
                    "The device server tarvex stopped%1: %2\nSweep goes on without hardware; close "
                    "and start Sweep again to reconnect.")
                    .arg(wasSweeping ? QStringLiteral(" during the sweep") : QString(), reason),
                QMessageBox::Warning);
}

void frmSweep::closeEvent(QCloseEvent* event) {
    if (m_loaded && !m_closing)
        shutdown();
    event->accept();
}

void frmSweep::shutdown() {
    m_closing = true;
    timerUpdateSweep->stop();
    timerGrafico->stop();
    m_cfg.vistaCorrente = m_vistaCorrente;
    m_cfg.writeOnClose(txtM1X->text(), txtM2X->text(), txtM3Y->text(), txtM4Y->text());

    if (m_device && m_device->isRunning()) {
        switch (m_cfg.interfaccia) {
        case 1:
            m_device->setSweepOn(2);
            callSucceeded(m_device->aPIC()->aScriviPIC(QStringLiteral("A"), m_cfg.freqStart));
            callSucceeded(m_device->aPIC()->aExitCOMM());
            break;
        case 2:
            m_device->setSweepOn(2);
            callSucceeded(m_device->aLPT()->aExitLPT());
            break;
        case 3:
            m_device->setSweepOn(2);
            callSucceeded(m_device->aVNA()->aExitCOMM());
            break;
        default:
            break;
        }
    }
    if (m_help)
        m_help->close();
    if (m_device) {
        m_device->disconnect(this);
        m_device->release();
    }
}
