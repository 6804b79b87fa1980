// Layout of the main window: graph with its scale labels and range labels on the left, the
// frequency entry, sweep buttons and the panel of views on the right.
#include "AppTitle.h"
#include "SweepDialogs.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "frmSweep.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <cmath>

namespace {
QLineEdit* makeField(const QString& name, const QString& accessible, bool readOnly,
                     QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(accessible);
    e->setReadOnly(readOnly);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

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
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    auto* mnuViewMain = bar->addMenu(QStringLiteral("View"));
    mnuViewMain->setObjectName(QStringLiteral("mnuViewMain"));
    const QStringList viewItems{QStringLiteral("Marker"), QStringLiteral("Table"),
                                QStringLiteral("Aux 1 "), QStringLiteral("Aux 2")};
    for (int i = 0; i < 4; ++i) {
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
    for (int i = 0; i < 5; ++i) {
        mnuScala[i] = scaleMenu->addAction(scaleItems[i]);
        mnuScala[i]->setObjectName(scaleNames[i]);
        mnuScala[i]->setCheckable(true);
        connect(mnuScala[i], &QAction::triggered, this, [this, i] {
            m_cfg.scala = static_cast<qint16>(i);
            applyScale();
        });
    }

    auto* mnuSetUp = bar->addMenu(QStringLiteral("SetUp"));
    mnuSetUp->setObjectName(QStringLiteral("mnuSetUp"));
    mnuSetUpAction = mnuSetUp->menuAction();
    mnuSetUpAction->setObjectName(QStringLiteral("mnuSetUp"));
    auto* mnuConfig = mnuSetUp->addAction(QStringLiteral("Configuration"));
    mnuConfig->setObjectName(QStringLiteral("mnuConfig"));
    connect(mnuConfig, &QAction::triggered, this, [this] {
        if (m_dialogs->showSetup(this, m_iniFile))
            QApplication::exit(0);
    });
    auto* mnuCalibraDDS = mnuSetUp->addAction(QStringLiteral("Calibrate Generator"));
    mnuCalibraDDS->setObjectName(QStringLiteral("mnuCalibraDDS"));
    connect(mnuCalibraDDS, &QAction::triggered, this,
            [this] { m_dialogs->showCalibraDDS(this, m_iniFile); });
    auto* mnuCalibraDetector = mnuSetUp->addAction(QStringLiteral("Calibrate Detector"));
    mnuCalibraDetector->setObjectName(QStringLiteral("mnuCalibraDetector"));
    connect(mnuCalibraDetector, &QAction::triggered, this,
            [this] { m_dialogs->showCalibraADC(this, m_iniFile); });
    auto* mnuPreferences = mnuSetUp->addAction(QStringLiteral("Preferences"));
    mnuPreferences->setObjectName(QStringLiteral("mnuPreferences"));
    connect(mnuPreferences, &QAction::triggered, this,
            [this] { m_dialogs->showPreferences(this, m_iniFile); });

    auto* mnuHelp = bar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    auto* mnuHelpContent = mnuHelp->addAction(QStringLiteral("Help Content"));
    mnuHelpContent->setObjectName(QStringLiteral("mnuHelpContent"));
    connect(mnuHelpContent, &QAction::triggered, this, &frmSweep::showHelp);
    auto* mnuAbout = mnuHelp->addAction(QStringLiteral("About Sweep Generator"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, [this] { m_dialogs->showAbout(this); });
}

QWidget* frmSweep::buildGraphArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);

    // Scale labels stand in a column left of the picture, centred on their divisions.
    auto* scaleColumn = new QWidget(area);
    scaleColumn->setObjectName(QStringLiteral("scaleColumn"));
    scaleColumn->setFixedWidth(40);
    for (int i = 0; i < 11; ++i) {
        lblVolt[i] = makeLabel(QStringLiteral("lblVolt_%1").arg(i), QString(), scaleColumn);
        lblVolt[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblVolt[i]->setFixedWidth(38);
        lblVolt[i]->hide();
    }
    m_graph = new SweepGraph(area);
    m_graph->installEventFilter(this);
    grid->addWidget(scaleColumn, 0, 0);
    grid->addWidget(m_graph, 0, 1);

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

    auto* lower = new QHBoxLayout;
    auto* cursorBox = new QGroupBox(QStringLiteral("Cursor position"), area);
    cursorBox->setObjectName(QStringLiteral("frameCursor"));
    auto* cursorRow = new QHBoxLayout(cursorBox);
    txtX = makeField(QStringLiteral("txtX"), QStringLiteral("Cursor frequency"), true, cursorBox);
    txtY = makeField(QStringLiteral("txtY"), QStringLiteral("Cursor level"), true, cursorBox);
    Label5 = makeLabel(QStringLiteral("Label5"), QStringLiteral("Volt"), cursorBox);
    cursorRow->addWidget(makeLabel(QStringLiteral("lblCursorHz"), QStringLiteral("Hz"), cursorBox));
    cursorRow->addWidget(txtX, 2);
    cursorRow->addWidget(txtY, 1);
    cursorRow->addWidget(Label5);
    lower->addWidget(cursorBox, 3);

    auto* scaleBox = new QGroupBox(QStringLiteral("Full scale"), area);
    scaleBox->setObjectName(QStringLiteral("frameFullScale"));
    auto* scaleRow = new QHBoxLayout(scaleBox);
    txtMaxVolt = makeField(QStringLiteral("txtMaxVolt"), QStringLiteral("Full scale in volts"),
                           false, scaleBox);
    txtMaxDb =
        makeField(QStringLiteral("txtMaxDb"), QStringLiteral("Full scale in dB"), false, scaleBox);
    scaleRow->addWidget(txtMaxVolt);
    scaleRow->addWidget(makeLabel(QStringLiteral("lblMaxVolt"), QStringLiteral("V"), scaleBox));
    scaleRow->addWidget(txtMaxDb);
    scaleRow->addWidget(makeLabel(QStringLiteral("lblMaxDb"), QStringLiteral("dB"), scaleBox));
    connect(txtMaxVolt, &QLineEdit::editingFinished, this, &frmSweep::applyScale);
    connect(txtMaxDb, &QLineEdit::editingFinished, this, &frmSweep::applyScale);
    lower->addWidget(scaleBox, 2);
    grid->addLayout(lower, 2, 0, 1, 2);

    frameTest = buildTestPanel();
    grid->addWidget(frameTest, 3, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return area;
}

QGroupBox* frmSweep::buildFrequencyFrame(const QString& title, QLineEdit*& field,
                                         std::array<QScrollBar*, 9>& bars, const QString& fieldName,
                                         const QString& barName) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QStringLiteral("frame%1").arg(fieldName.mid(3)));
    auto* box = new QVBoxLayout(frame);
    box->setSpacing(2);
    box->setContentsMargins(6, 4, 6, 4);
    field = makeField(fieldName, title, false, frame);
    field->installEventFilter(this);
    box->addWidget(field);
    auto* digits = new QHBoxLayout;
    digits->setSpacing(1);
    digits->addStretch(1);
    const bool startRow = fieldName == QStringLiteral("txtStart");
    // Index 8 (100 MHz) at the left, index 0 (1 Hz) at the right, under the matching digits.
    for (int n = 8; n >= 0; --n) {
        auto* bar = new QScrollBar(Qt::Vertical, frame);
        bar->setObjectName(QStringLiteral("%1_%2").arg(barName).arg(n));
        bar->setAccessibleName(QStringLiteral("%1 step %2 Hz")
                                   .arg(title.section(QLatin1Char(' '), 0, 0))
                                   .arg(QString::number(static_cast<qint64>(std::pow(10, n)))));
        bar->setRange(1, 3);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setValue(2);
        bar->setFixedSize(16, 30);
        bars[n] = bar;
        connect(bar, &QScrollBar::valueChanged, this,
                [this, startRow, n] { VScroll_Change(startRow, n); });
        digits->addWidget(bar);
    }
    box->addLayout(digits);
    return frame;
}

QWidget* frmSweep::buildControlColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(262);
    auto* box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(4);

    box->addWidget(buildFrequencyFrame(QStringLiteral("Start Frequency - Hz"), txtStart,
                                       VScrollStart, QStringLiteral("txtStart"),
                                       QStringLiteral("VScrollStart")));
    txtStart->setToolTip(QStringLiteral("Enter the start frequency in Hz"));
    box->addWidget(buildFrequencyFrame(QStringLiteral("Stop Frequency - Hz"), txtStop, VScrollStop,
                                       QStringLiteral("txtStop"), QStringLiteral("VScrollStop")));
    txtStop->setToolTip(QStringLiteral("Enter the stop frequency in Hz"));

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
    connect(cmdStart, &QPushButton::clicked, this, &frmSweep::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmSweep::cmdStop_Click);
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
    rateRow->addWidget(
        makeLabel(QStringLiteral("lblSpeedUnit"), QStringLiteral("ms/sweep:"), column));
    rateRow->addWidget(lblSpeed, 1);
    rateRow->addWidget(
        makeLabel(QStringLiteral("lblFreqUnit"), QStringLiteral("sweep/s:"), column));
    rateRow->addWidget(lblFreq, 1);
    box->addLayout(rateRow);

    frmSpeed = new QGroupBox(QStringLiteral("Mode"), column);
    frmSpeed->setObjectName(QStringLiteral("frmSpeed"));
    auto* speedRow = new QHBoxLayout(frmSpeed);
    speedRow->setContentsMargins(6, 2, 6, 2);
    const QStringList speeds{QStringLiteral("Standard"), QStringLiteral("Slow"),
                             QStringLiteral("Very slow")};
    for (int i = 0; i < 3; ++i) {
        optSpeed[i] = new QRadioButton(speeds[i], frmSpeed);
        optSpeed[i]->setObjectName(QStringLiteral("optSpeed_%1").arg(i));
        connect(optSpeed[i], &QRadioButton::clicked, this, [this, i] { optSpeed_Click(i); });
        speedRow->addWidget(optSpeed[i]);
    }
    box->addWidget(frmSpeed);

    auto* viewRow = new QHBoxLayout;
    viewRow->setSpacing(4);
    frameButton = new QGroupBox(column);
    frameButton->setObjectName(QStringLiteral("frameButton"));
    auto* buttons = new QVBoxLayout(frameButton);
    buttons->setContentsMargins(3, 3, 3, 3);
    const QStringList viewCaptions{QStringLiteral("Marker"), QStringLiteral("Table"),
                                   QStringLiteral("Aux1"), QStringLiteral("Aux2")};
    for (int i = 0; i < 4; ++i) {
        cmdView[i] = new QPushButton(viewCaptions[i], frameButton);
        cmdView[i]->setObjectName(QStringLiteral("cmdView_%1").arg(i));
        cmdView[i]->setFixedWidth(54);
        connect(cmdView[i], &QPushButton::clicked, this, [this, i] { selezionaVista(i); });
        buttons->addWidget(cmdView[i]);
    }
    buttons->addStretch(1);
    viewRow->addWidget(frameButton);

    // The four views share one place; exactly one is visible.
    auto* views = new QWidget(column);
    views->setObjectName(QStringLiteral("frameViews"));
    auto* stack = new QGridLayout(views);
    stack->setContentsMargins(0, 0, 0, 0);
    frameView[0] = new QGroupBox(QStringLiteral("Marker"), views);
    auto* markerBox = new QVBoxLayout(frameView[0]);
    markerBox->setContentsMargins(4, 4, 4, 4);
    markerBox->addWidget(buildMarkerView());
    frameView[1] = new QGroupBox(views);
    auto* tableBox = new QVBoxLayout(frameView[1]);
    tableBox->setContentsMargins(0, 0, 0, 0);
    m_table = new SweepTable(frameView[1]);
    tableBox->addWidget(m_table);
    frameView[2] = new QGroupBox(QStringLiteral("AUX 1"), views);
    frameView[3] = new QGroupBox(QStringLiteral("AUX 2"), views);
    for (int i = 0; i < 4; ++i) {
        frameView[i]->setObjectName(QStringLiteral("frameView_%1").arg(i));
        stack->addWidget(frameView[i], 0, 0);
    }
    new QVBoxLayout(frameView[2]);
    new QVBoxLayout(frameView[3]);
    viewRow->addWidget(views, 1);
    box->addLayout(viewRow, 1);
    return column;
}

QWidget* frmSweep::buildMarkerView() {
    auto* panel = new QWidget(this);
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(3);
    g->addWidget(makeLabel(QStringLiteral("lblMarkerFreq"), QStringLiteral("Frequency"), panel), 0,
                 1);
    Label15 = makeLabel(QStringLiteral("Label15"), QStringLiteral("Volt"), panel);
    g->addWidget(Label15, 0, 2);
    txtM1X = makeField(QStringLiteral("txtM1X"), QStringLiteral("M1 frequency"), false, panel);
    txtM1X->setToolTip(QStringLiteral("Enter freq in Hz or ClickLeft the graph"));
    txtM1Y = makeField(QStringLiteral("txtM1Y"), QStringLiteral("M1 level"), true, panel);
    txtM2X = makeField(QStringLiteral("txtM2X"), QStringLiteral("M2 frequency"), false, panel);
    txtM2X->setToolTip(QStringLiteral("Enter freq in Hz or ClickRight  the graph"));
    txtM2Y = makeField(QStringLiteral("txtM2Y"), QStringLiteral("M2 level"), true, panel);
    txtM2M1 = makeField(QStringLiteral("txtM2M1"), QStringLiteral("M2-M1"), true, panel);
    txtM3Y = makeField(QStringLiteral("txtM3Y"), QStringLiteral("M3 level"), false, panel);
    txtM3Y->setToolTip(QStringLiteral("Enter volt/dB or SHIFT+ ClickLeft  the graph"));
    txtM4Y = makeField(QStringLiteral("txtM4Y"), QStringLiteral("M4 level"), false, panel);
    txtM4Y->setToolTip(QStringLiteral("Enter volt/dB or SHIFT ClickRight  the graph"));
    txtM4M3 = makeField(QStringLiteral("txtM4M3"), QStringLiteral("M4-M3"), true, panel);
    const auto addRow = [&](int r, const QString& caption, QWidget* a, QWidget* b) {
        g->addWidget(makeLabel(QStringLiteral("lbl%1").arg(caption).remove(QLatin1Char('-')),
                               caption, panel),
                     r, 0);
        if (a)
            g->addWidget(a, r, 1);
        if (b)
            g->addWidget(b, r, 2);
    };
    addRow(1, QStringLiteral("M1"), txtM1X, txtM1Y);
    addRow(2, QStringLiteral("M2"), txtM2X, txtM2Y);
    addRow(3, QStringLiteral("M2-M1"), txtM2M1, nullptr);
    addRow(4, QStringLiteral("M3"), nullptr, txtM3Y);
    addRow(5, QStringLiteral("M4"), nullptr, txtM4Y);
    addRow(6, QStringLiteral("M4-M3"), nullptr, txtM4M3);
    cmdCopyM1 = new QPushButton(QStringLiteral("M1 -> Start"), panel);
    cmdCopyM1->setObjectName(QStringLiteral("cmdCopyM1"));
    cmdCopyM2 = new QPushButton(QStringLiteral("M2 -> Stop"), panel);
    cmdCopyM2->setObjectName(QStringLiteral("cmdCopyM2"));
    g->addWidget(cmdCopyM1, 7, 0, 1, 3);
    g->addWidget(cmdCopyM2, 8, 0, 1, 3);
    g->setRowStretch(9, 1);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(2, 2);
    for (auto* e : {txtM1X, txtM2X, txtM3Y, txtM4Y})
        e->installEventFilter(this);
    connect(cmdCopyM1, &QPushButton::clicked, this, [this] { copyMarkerToRange(true); });
    connect(cmdCopyM2, &QPushButton::clicked, this, [this] { copyMarkerToRange(false); });
    return panel;
}

QGroupBox* frmSweep::buildTestPanel() {
    auto* frame = new QGroupBox(QStringLiteral("Test"), this);
    frame->setObjectName(QStringLiteral("frameTest"));
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(4, 2, 4, 2);
    lstLOG = new QListWidget(frame);
    lstLOG->setObjectName(QStringLiteral("lstLOG"));
    lstLOG->setAccessibleName(QStringLiteral("Log"));
    lstLOG->setMaximumHeight(90);
    lstLOG->setMinimumWidth(150);
    g->addWidget(lstLOG, 0, 0, 3, 1);
    txtRX = makeField(QStringLiteral("txtRX"), QStringLiteral("Last received"), true, frame);
    txtErrori = makeField(QStringLiteral("txtErrori"), QStringLiteral("Errori"), true, frame);
    txtErrori->setText(QStringLiteral("0"));
    txtRX->setMaximumWidth(90);
    txtErrori->setMaximumWidth(50);
    lblCampioni = makeLabel(QStringLiteral("lblCampioni"), QStringLiteral("Campioni"), frame);
    cmdMisura = new QPushButton(frame);
    cmdMisura->setObjectName(QStringLiteral("cmdMisura"));
    g->addWidget(txtRX, 0, 1, 1, 2);
    g->addWidget(makeLabel(QStringLiteral("Label4"), QStringLiteral("Errori"), frame), 1, 1);
    g->addWidget(txtErrori, 1, 2);
    g->addWidget(lblCampioni, 2, 1, 1, 2);
    auto* buttons = new QGridLayout;
    const QStringList names{QStringLiteral("cmdReset"),     QStringLiteral("cmdFreqDDS"),
                            QStringLiteral("cmdFreqStart"), QStringLiteral("cmdFreqStep"),
                            QStringLiteral("cmdDraw"),      QStringLiteral("cmdClear"),
                            QStringLiteral("cmdSwStop")};
    const QStringList captions{QStringLiteral("Reset"),   QStringLiteral("F.dds"),
                               QStringLiteral("F.Start"), QStringLiteral("F.Step"),
                               QStringLiteral("Draw"),    QStringLiteral("Clear"),
                               QStringLiteral("Stop")};
    cmdMisura->setMaximumWidth(56);
    buttons->addWidget(cmdMisura, 0, 0);
    for (int i = 0; i < names.size(); ++i) {
        auto* b = new QPushButton(captions[i], frame);
        b->setObjectName(names[i]);
        b->setMaximumWidth(56);
        buttons->addWidget(b, (i + 1) / 4, (i + 1) % 4);
    }
    g->addLayout(buttons, 0, 3, 3, 1);
    g->setColumnStretch(0, 1);
    g->setHorizontalSpacing(4);
    frame->hide();
    return frame;
}
