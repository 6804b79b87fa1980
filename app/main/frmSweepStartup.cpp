// Start-up of the main window, the binding of its device and the switch between the views.
#include "AppTitle.h"
#include "AuxPanel.h"
#include "CommonFunctions.h"
#include "CursorReadout.h"
#include "FrequencyEntry.h"
#include "MarkerPanel.h"
#include "ScaleControls.h"
#include "SingleInstance.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "SweepDeviceFactory.h"
#include "SweepDialogs.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "TestPanel.h"
#include "TraceMenu.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

void frmSweep::showMessage(const QString& text, QMessageBox::Icon icon) {
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

    // 5-6
    m_iniFile = m_options.iniPath.isEmpty() ? SweepConfig::defaultIniPath() : m_options.iniPath;
    m_cfg = SweepConfig(m_iniFile);
    m_cfg.readInterface();
    if (!controllaConfigurazione())
        return false;

    // 7
    m_cfg.readDebug();
    setLogEnabled(m_cfg.logEnabled);
    setLogSink([this](const QString& line) { m_testPanel->appendLog(line); });

    // 8-10: a device name the program does not know ends the start-up without saving anything.
    if (!m_cfg.readDdsDevice()) {
        m_messages->beep();
        showMessage(
            m_cfg.ddsDevice +
                QStringLiteral(" : Unknow DDSdevice.\nSupported DDS generators are: AD9850, "
                               "AD9851, AD9951"),
            QMessageBox::NoIcon);
        m_dialogs->showSetup(this, m_context);
        return false;
    }
    m_cfg.readDdsParameters();
    if (!m_cfg.readAdcDevice()) {
        m_messages->beep();
        showMessage(m_cfg.adcDevice +
                        QStringLiteral(" : Unknow ADCdevice.\nSupported ADC are: 8bit, 10bit"),
                    QMessageBox::NoIcon);
        m_dialogs->showSetup(this, m_context);
        return false;
    }

    // 11-13
    m_cfg.readAdcParameters();
    m_context.configRead = true; // the calibration offsets are known now
    m_testPanel->showMeasureKind(m_cfg.adcChannel);
    m_cfg.readPorts();
    m_cfg.readMainWindowState();
    // A stored view index outside 0..4 names no view: the marker view is shown instead.
    m_vistaCorrente =
        (m_cfg.vistaCorrente >= 0 && m_cfg.vistaCorrente < kViews) ? m_cfg.vistaCorrente : 0;
    m_scale->showStored();

    // 14-16
    m_entry->showRange();
    m_testPanel->frame()->setVisible(m_cfg.logEnabled);
    m_controller->graphTimer()->stop();
    m_cursor->applyCursorMode();

    // 17-18: the graph, the table for the range, the scale, then the markers from the file.
    m_graph->inizializzaGraph(m_cfg.maxScaleV);
    m_table->setLogLayout(m_cfg.logEnabled);
    m_controller->aggiornaLblFrequenza();
    aggiornaScala(m_cfg.scala);
    m_cfg.readMarkers();
    m_markers->restore(m_cfg.marker1, m_cfg.marker2, m_cfg.marker3, m_cfg.marker4);
    // The reference and memories kept beside the configuration, and the stored "Average".
    m_trace->restore(QFileInfo(m_iniFile).absolutePath());

    // 19-21: the views share one place (layout); only the parallel port has speed modes and
    // AUX outputs.
    m_device = makeSweepDevice(m_cfg.interfaccia, m_options.serverProgram);
    m_context.device = m_device.get();
    if (!m_device || !m_device->capabilities().hasSpeedAndAux) {
        frmSpeed->hide();
        for (int i = 2; i < 4; ++i) {
            frameView[i]->hide();
            cmdView[i]->hide();
            mnuView[i]->setVisible(false);
        }
        // A stored AUX view is still shown, but its presses must not change the saved words.
        for (AuxPanel* panel : m_aux)
            panel->setAvailable(false);
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
    if (m_cfg.isFirstRun() && m_dialogs->showSetup(this, m_context))
        return false; // "Apply" wrote a new configuration: it takes effect at the next start
    return true;
}

void frmSweep::inizializzaAux() {
    // A disabled output has no frame, button or menu entry.
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig aux = m_cfg.readAux(n);
        const int view = n + 1;
        frameView[view]->setTitle(aux.title);
        if (aux.enabled) {
            m_aux[n - 1]->inizializza(aux);
        } else {
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
    if (!m_cfg.simDut.isEmpty())
        args << QStringLiteral("--sim-dut") << m_cfg.simDut;
    return args + m_options.extraServerArgs;
}

void frmSweep::bindDevice() {
    if (!m_device)
        return; // no device object: the window works without hardware
    m_controller->setDevice(m_device.get());
    connect(m_device.get(), &SweepDevice::waitingChanged, this, &frmSweep::showWaiting);
    const QString caption = m_device->caption(m_cfg);
    setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" - ") + caption);
    const bool speedAndAux = m_device->capabilities().hasSpeedAndAux;
    if (speedAndAux) {
        frmSpeed->show();
        QRadioButton* stored = optSpeed[std::clamp<int>(m_cfg.sweepMode, 0, 2)];
        const QSignalBlocker shown(stored); // the device gets its speed when bound
        stored->setChecked(true);
    } else {
        frmSpeed->hide();
    }

    QString error;
    if (!m_device->open(serverArguments(), &error)) {
        m_messages->beep();
        showMessage(
            QStringLiteral(
                "The device server could not be started.\n%1\nSweep goes on without hardware; "
                "check that tarvex is installed beside sweep and start Sweep again.")
                .arg(error),
            QMessageBox::Warning);
        return;
    }
    const QString problem = m_device->bind(m_cfg);
    if (!problem.isEmpty()) {
        m_messages->beep();
        showMessage(problem, QMessageBox::Warning);
    } else if (speedAndAux) {
        m_aux[1]->restorePotentiometer();
    }
}

void frmSweep::selezionaVista(int index) {
    if (index < 0 || index >= kViews)
        index = 0;
    for (int j = 0; j < kViews; ++j) {
        mnuView[j]->setChecked(false);
        frameView[j]->hide();
        cmdView[j]->setEnabled(true);
    }
    mnuView[index]->setChecked(true);
    frameView[index]->show();
    cmdView[index]->setEnabled(false);
    m_vistaCorrente = static_cast<qint16>(index);
    m_markers->aggiornaLblMarkerX();
    m_markers->aggiornaLblMarkerY();
}
