// Layout of the main window: the graph with its scale labels and range labels on the left, the
// frequency entry, sweep buttons and the panel of views on the right, the menus on top.
#include "AppTitle.h"
#include "AuxPanel.h"
#include "CursorReadout.h"
#include "DisplayWidgets.h"
#include "FrequencyEntry.h"
#include "MarkerPanel.h"
#include "MeasurePanel.h"
#include "ScaleControls.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepDialogs.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "TestPanel.h"
#include "frmSweep.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

void frmSweep::buildUi() {
    setWindowTitle(QString::fromLatin1(kAppTitle));
    buildMenus();
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmSweepClient"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);
    row->addWidget(buildGraphArea(), 1);
    row->addWidget(buildControlColumn(), 0);
    setCentralWidget(central);
}

void frmSweep::buildMenus() {
    QMenuBar* bar = menuBar();
    auto* mnuFile = bar->addMenu(QStringLiteral("File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpenCSV = mnuFile->addAction(QStringLiteral("Import"));
    mnuOpenCSV->setObjectName(QStringLiteral("mnuOpenCSV"));
    mnuSaveCSV = mnuFile->addAction(QStringLiteral("Export (.csv)"));
    mnuSaveCSV->setObjectName(QStringLiteral("mnuSaveCSV"));
    mnuSavePicture = mnuFile->addAction(QStringLiteral("Export picture (.png)"));
    mnuSavePicture->setObjectName(QStringLiteral("mnuSavePicture"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    auto* mnuViewMain = bar->addMenu(QStringLiteral("View"));
    mnuViewMain->setObjectName(QStringLiteral("mnuViewMain"));
    const QStringList viewItems{QStringLiteral("Marker"), QStringLiteral("Table"),
                                QStringLiteral("Aux 1 "), QStringLiteral("Aux 2"),
                                QStringLiteral("Measure")};
    for (int i = 0; i < kViews; ++i) {
        mnuView[i] = mnuViewMain->addAction(viewItems[i]);
        mnuView[i]->setObjectName(QStringLiteral("mnuView_%1").arg(i));
        mnuView[i]->setCheckable(true);
        connect(mnuView[i], &QAction::triggered, this, [this, i] { selezionaVista(i); });
    }

    auto* scaleMenu = bar->addMenu(QStringLiteral("Scale"));
    scaleMenu->setObjectName(QStringLiteral("mnuScala"));
    const QStringList scaleNames{
        QStringLiteral("mnuScalaLineare"), QStringLiteral("mnuScalaLogaritmica1"),
        QStringLiteral("mnuScalaLogaritmica1dB"), QStringLiteral("mnuScalaLogaritmica10"),
        QStringLiteral("mnuScalaLogaritmica10dB")};
    const QStringList scaleItems{QStringLiteral("Linear"), QStringLiteral("Logarithmic (1V)"),
                                 QStringLiteral("Logarithmic (1V + 10dB)"),
                                 QStringLiteral("Logarithmic (10V)"),
                                 QStringLiteral("Logarithmic (10V +10dB)")};
    for (int i = 0; i < ScaleModel::kScales; ++i) {
        mnuScala[i] = scaleMenu->addAction(scaleItems[i]);
        mnuScala[i]->setObjectName(scaleNames[i]);
        mnuScala[i]->setCheckable(true);
        connect(mnuScala[i], &QAction::triggered, this, [this, i] { mnuScala_Click(i); });
    }

    auto* mnuSetUp = bar->addMenu(QStringLiteral("SetUp"));
    mnuSetUp->setObjectName(QStringLiteral("mnuSetUp"));
    mnuSetUpAction = mnuSetUp->menuAction();
    mnuSetUpAction->setObjectName(QStringLiteral("mnuSetUp"));
    auto* mnuConfig = mnuSetUp->addAction(QStringLiteral("Configuration"));
    mnuConfig->setObjectName(QStringLiteral("mnuConfig"));
    connect(mnuConfig, &QAction::triggered, this, [this] {
        // "Apply" ends the program: as a normal close, so the window's state is saved too.
        if (m_dialogs->showSetup(this, m_context))
            close();
    });
    auto* mnuCalibraDDS = mnuSetUp->addAction(QStringLiteral("Calibrate Generator"));
    mnuCalibraDDS->setObjectName(QStringLiteral("mnuCalibraDDS"));
    connect(mnuCalibraDDS, &QAction::triggered, this,
            [this] { m_dialogs->showCalibraDDS(this, m_context); });
    auto* mnuCalibraDetector = mnuSetUp->addAction(QStringLiteral("Calibrate Detector"));
    mnuCalibraDetector->setObjectName(QStringLiteral("mnuCalibraDetector"));
    connect(mnuCalibraDetector, &QAction::triggered, this,
            [this] { m_dialogs->showCalibraADC(this, m_context); });
    auto* mnuPreferences = mnuSetUp->addAction(QStringLiteral("Preferences"));
    mnuPreferences->setObjectName(QStringLiteral("mnuPreferences"));
    connect(mnuPreferences, &QAction::triggered, this,
            [this] { m_dialogs->showPreferences(this, m_context); });

    auto* mnuHelp = bar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    auto* mnuHelpContent = mnuHelp->addAction(QStringLiteral("Help Content"));
    mnuHelpContent->setObjectName(QStringLiteral("mnuHelpContent"));
    connect(mnuHelpContent, &QAction::triggered, this, &frmSweep::showHelp);
    auto* mnuAbout = mnuHelp->addAction(QStringLiteral("About Sweep Generator"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, [this] { m_dialogs->showAbout(this, m_context); });
}

QWidget* frmSweep::buildGraphArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);

    m_graph = new SweepGraph(area);
    m_scale = new ScaleControls(m_cfg, m_data, m_graph, area);
    m_cursor = new CursorReadout(m_cfg, m_data, m_graph, area);
    grid->addWidget(m_scale->labelColumn(), 0, 0);
    // The labels and full-scale boxes are centred on the picture's edges: room for their halves.
    auto* picture = new QVBoxLayout;
    picture->setContentsMargins(0, ScaleControls::edgeMargin(), 0, ScaleControls::edgeMargin());
    picture->addWidget(m_graph);
    grid->addLayout(picture, 0, 1);

    auto* rangeRow = new QHBoxLayout;
    lblStart = makeLabel(QStringLiteral("lblStart"), QStringLiteral("start"), area);
    lblCentro = makeLabel(QStringLiteral("lblCentro"), QStringLiteral("center"), area);
    lblStop = makeLabel(QStringLiteral("lblStop"), QStringLiteral("stop"), area);
    lblCentro->setAlignment(Qt::AlignCenter);
    lblStop->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rangeRow->addWidget(lblStart, 1);
    rangeRow->addWidget(lblCentro, 1);
    rangeRow->addWidget(lblStop, 1);
    grid->addLayout(rangeRow, 1, 1);
    grid->addWidget(m_cursor->box(), 2, 0, 1, 2);

    m_testPanel = new TestPanel(m_context, area);
    grid->addWidget(m_testPanel->frame(), 3, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return area;
}

QWidget* frmSweep::buildControlColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(262);
    auto* box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(3);

    m_entry = new FrequencyEntry(m_cfg, *m_messages, column);
    box->addWidget(m_entry->startFrame());
    box->addWidget(m_entry->stopFrame());

    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(makeLabel(QStringLiteral("lblStep"), QStringLiteral("Step - Hz"), column));
    txtStep = makeField(QStringLiteral("txtStep"), QStringLiteral("Step - Hz"), true, column);
    stepRow->addWidget(txtStep, 1);
    box->addLayout(stepRow);

    auto* runRow = new QHBoxLayout;
    cmdStart = new QPushButton(QStringLiteral("Sweep ON"), column);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStop = new QPushButton(QStringLiteral("Sweep OFF"), column);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStart->setMinimumHeight(30);
    cmdStop->setMinimumHeight(30);
    cmdExit = new QPushButton(QStringLiteral("EXIT"), column);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setMinimumHeight(30);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    runRow->addWidget(cmdStart, 2);
    runRow->addWidget(cmdStop, 2);
    runRow->addWidget(cmdExit, 1);
    box->addLayout(runRow);

    auto* rateRow = new QHBoxLayout;
    lblSpeed = makeLabel(QStringLiteral("lblSpeed"), QString(), column);
    lblFreq = makeLabel(QStringLiteral("lblFreq"), QString(), column);
    lblSpeed->setToolTip(QStringLiteral("Milliseconds per sweep"));
    lblFreq->setToolTip(QStringLiteral("Sweeps per second"));
    // The rates are read as shown; their captions reach them as the captions' buddies.
    auto* speedCaption =
        makeLabel(QStringLiteral("lblSpeedUnit"), QStringLiteral("ms/sweep:"), column);
    speedCaption->setBuddy(lblSpeed);
    auto* freqCaption =
        makeLabel(QStringLiteral("lblFreqUnit"), QStringLiteral("sweep/s:"), column);
    freqCaption->setBuddy(lblFreq);
    rateRow->addWidget(speedCaption);
    rateRow->addWidget(lblSpeed, 1);
    rateRow->addWidget(freqCaption);
    rateRow->addWidget(lblFreq, 1);
    box->addLayout(rateRow);

    // Shown while a device call waits for slow hardware; the window stays usable meanwhile.
    lblWaiting = makeLabel(QStringLiteral("lblWaiting"),
                           QStringLiteral("Waiting for the device to answer..."), column);
    lblWaiting->setStyleSheet(QStringLiteral("color: #b05000;"));
    lblWaiting->hide();
    box->addWidget(lblWaiting);

    frmSpeed = new QGroupBox(QStringLiteral("Mode"), column);
    frmSpeed->setObjectName(QStringLiteral("frmSpeed"));
    auto* speedRow = new QHBoxLayout(frmSpeed);
    speedRow->setContentsMargins(6, 2, 6, 2);
    const QStringList speeds{QStringLiteral("Standard"), QStringLiteral("Slow"),
                             QStringLiteral("Very slow")};
    for (int i = 0; i < 3; ++i) {
        optSpeed[i] = new QRadioButton(speeds[i], frmSpeed);
        optSpeed[i]->setObjectName(QStringLiteral("optSpeed_%1").arg(i));
        speedRow->addWidget(optSpeed[i]);
    }
    box->addWidget(frmSpeed);
    box->addWidget(buildViews(column), 1);
    return column;
}

QWidget* frmSweep::buildViews(QWidget* parent) {
    auto* holder = new QWidget(parent);
    auto* viewRow = new QHBoxLayout(holder);
    viewRow->setContentsMargins(0, 0, 0, 0);
    viewRow->setSpacing(4);
    frameButton = new QGroupBox(holder);
    frameButton->setObjectName(QStringLiteral("frameButton"));
    auto* buttons = new QVBoxLayout(frameButton);
    buttons->setContentsMargins(3, 3, 3, 3);
    const QStringList viewCaptions{QStringLiteral("Marker"), QStringLiteral("Table"),
                                   QStringLiteral("Aux1"), QStringLiteral("Aux2"),
                                   QStringLiteral("Measure")};
    for (int i = 0; i < kViews; ++i) {
        cmdView[i] = new QPushButton(viewCaptions[i], frameButton);
        cmdView[i]->setObjectName(QStringLiteral("cmdView_%1").arg(i));
        cmdView[i]->setFixedWidth(54);
        connect(cmdView[i], &QPushButton::clicked, this, [this, i] { selezionaVista(i); });
        buttons->addWidget(cmdView[i]);
    }
    buttons->addStretch(1);
    viewRow->addWidget(frameButton);

    // The five views share one place; exactly one is visible.
    auto* views = new QWidget(holder);
    views->setObjectName(QStringLiteral("frameViews"));
    auto* stack = new QGridLayout(views);
    stack->setContentsMargins(0, 0, 0, 0);
    frameView[0] = new QGroupBox(QStringLiteral("Marker"), views);
    auto* markerBox = new QVBoxLayout(frameView[0]);
    markerBox->setContentsMargins(4, 4, 4, 4);
    m_markers = new MarkerPanel(m_cfg, m_data, m_graph, frameView[0]);
    markerBox->addWidget(m_markers->widget());
    frameView[1] = new QGroupBox(views);
    auto* tableBox = new QVBoxLayout(frameView[1]);
    tableBox->setContentsMargins(0, 0, 0, 0);
    m_table = new SweepTable(m_data, frameView[1]);
    tableBox->addWidget(m_table);
    frameView[2] = new QGroupBox(QStringLiteral("AUX 1"), views);
    frameView[3] = new QGroupBox(QStringLiteral("AUX 2"), views);
    frameView[4] = new QGroupBox(QStringLiteral("Measure"), views);
    auto* measureBox = new QVBoxLayout(frameView[4]);
    measureBox->setContentsMargins(2, 4, 2, 2);
    m_measure = new MeasurePanel(m_data, frameView[4]);
    measureBox->addWidget(m_measure->widget());
    for (int i = 0; i < kViews; ++i) {
        frameView[i]->setObjectName(QStringLiteral("frameView_%1").arg(i));
        stack->addWidget(frameView[i], 0, 0);
    }
    for (int n = 1; n <= 2; ++n) {
        new QVBoxLayout(frameView[n + 1]);
        m_aux[n - 1] = new AuxPanel(n, m_context, frameView[n + 1]);
    }
    viewRow->addWidget(views, 1);
    return holder;
}
