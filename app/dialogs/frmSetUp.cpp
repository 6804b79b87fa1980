// The setup dialog's shell: loading, the page buttons, the section loader and "APPLY".
#include "frmSetUp.h"

#include "AppTitle.h"
#include "FactorySets.h"
#include "HelpWindows.h"
#include "LptPinout.h"
#include "PortScan.h"
#include "UserMessages.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

frmSetUp::frmSetUp(SweepContext& context, const PortScan* scan, QWidget* parent)
    : QDialog(parent), m_context(context), m_ownScan(scan ? nullptr : std::make_unique<PortScan>()),
      m_scan(scan ? scan : m_ownScan.get()), m_work(context.config.iniFile) {
    setObjectName(QStringLiteral("frmSetUp"));
    setWindowTitle(QStringLiteral("Sweep Configuration"));
    buildShell();

    // "Default" must always find its set, so a configuration without them gets them.
    FactorySets::ensure(m_work.iniFile);
    m_work.readInterface();
    const int n = m_work.interfaccia;
    if (!m_work.isFirstRun() || n < 1 || n > 3)
        caricaSezione(QStringLiteral("Config"));
    else
        caricaSezione(QStringLiteral("Interface") + QString::number(n));
    if (n >= 1 && n <= 3)
        optInterface[n]->setChecked(true);
    m_work.readPorts();
    if (m_work.commPort == 0)
        m_work.commPort = 1;
    abilitaPagine();
    fillControls();
    showPage(kInterface);
}

frmSetUp::~frmSetUp() = default;

void frmSetUp::buildShell() {
    auto* outer = new QHBoxLayout(this);
    auto* buttons = new QVBoxLayout;
    const QStringList names{QStringLiteral("cmdInterface"), QStringLiteral("cmdPort"),
                            QStringLiteral("cmdDDS"),       QStringLiteral("cmdADC"),
                            QStringLiteral("cmdAux"),       QStringLiteral("cmdLPTpin")};
    const QStringList captions{QStringLiteral("Interface"), QStringLiteral("Ports"),
                               QStringLiteral("DDS"),       QStringLiteral("A/D"),
                               QStringLiteral("Auxiliary"), QStringLiteral("LPT pinout")};
    // One page button is down at a time. A page follows its button's state, so a click, the
    // space bar and a screen reader's toggle action all show it; the button of the page shown
    // cannot be released.
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int p = 0; p < kPages; ++p) {
        m_pageButtons[p] = new QPushButton(captions[p], this);
        m_pageButtons[p]->setObjectName(names[p]);
        m_pageButtons[p]->setCheckable(true);
        m_pageButtons[p]->setAutoDefault(false);
        group->addButton(m_pageButtons[p], p);
        buttons->addWidget(m_pageButtons[p]);
        connect(m_pageButtons[p], &QPushButton::toggled, this, [this, p](bool down) {
            if (down && p != m_page)
                showPage(p);
        });
    }
    buttons->addStretch(1);
    cmdApply = new QPushButton(QStringLiteral("APPLY"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setAutoDefault(false);
    cmdExit = new QPushButton(QStringLiteral("EXIT"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdExit);
    connect(cmdApply, &QPushButton::clicked, this, &frmSetUp::cmdApply_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    outer->addLayout(buttons);

    // All pages share one place; one is shown at a time.
    auto* pages = new QGridLayout;
    frameSetUp = {buildInterfacePage(), buildPortsPage(), buildDdsPage(),
                  buildAdcPage(),       buildAuxPage(),   nullptr};
    auto* pinout = new QGroupBox(QStringLiteral("Parallel Port pin out"), this);
    auto* pinoutLayout = new QVBoxLayout(pinout);
    pinoutLayout->addWidget(new LptPinout(pinout));
    frameSetUp[kPinout] = pinout;
    for (int p = 0; p < kPages; ++p) {
        frameSetUp[p]->setObjectName(QStringLiteral("frameSetUp_%1").arg(p));
        pages->addWidget(frameSetUp[p], 0, 0);
    }
    outer->addLayout(pages, 1);
    // Every page fits the place without the dialog changing size.
    QSize largest;
    for (QGroupBox* page : frameSetUp)
        largest = largest.expandedTo(page->sizeHint());
    for (QGroupBox* page : frameSetUp)
        page->setMinimumSize(largest);
}

void frmSetUp::frameInvisibili() {
    for (QGroupBox* page : frameSetUp)
        page->hide();
}

void frmSetUp::showPage(int page) {
    if (page < 0 || page >= kPages || !m_pageButtons[page]->isEnabled())
        page = kInterface;
    frameInvisibili();
    m_page = page;
    switch (page) {
    case kPorts:
        showPortsPage();
        break;
    case kDds:
        showDdsPage();
        break;
    case kAdc:
        showAdcPage();
        break;
    case kAux:
        showAuxPage();
        break;
    default:
        break;
    }
    frameSetUp[page]->show();
    m_pageButtons[page]->setChecked(true);
}

void frmSetUp::caricaSezione(const QString& section) {
    // The file's offsets, unless the window has the newer ones (a calibration applied in this
    // run is saved only when the window closes).
    m_work.readHardwareSection(section);
    if (section.compare(QLatin1String("Config"), Qt::CaseInsensitive) == 0 &&
        m_context.configRead) {
        m_work.ddsOffset = m_context.config.ddsOffset;
        m_work.adcOffset = m_context.config.adcOffset;
    }
    m_aux[0] = m_work.readAuxForSetup(1);
    m_aux[1] = m_work.readAuxForSetup(2);
    fillControls();
}

void frmSetUp::abilitaPagine() {
    const bool lpt = m_work.interfaccia == InterfaceKind::kParallelPort;
    for (int p : {kDds, kAdc, kAux})
        m_pageButtons[p]->setEnabled(lpt);
    if (!m_pageButtons[m_page]->isEnabled())
        showPage(kInterface);
}

void frmSetUp::fillControls() {
    if (!txtVScrollMin)
        return; // still building
    showPortsPage();
    showDdsPage();
    showAdcPage();
    showAuxPage();
}

void frmSetUp::beep() {
    m_context.messages.beep();
}

void frmSetUp::cmdApply_Click() {
    // A value still being typed counts.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    m_context.messages.beep();
    if (!m_context.messages.question(
            QString::fromLatin1(kAppTitle),
            QStringLiteral("Please confirm, now program will exit.\nPlease restart."),
            QMessageBox::Question))
        return;
    // One replacement of the file: a crash leaves the old configuration or the new one.
    m_work.beginBatch();
    m_work.writeSetup(m_aux[0], m_aux[1]);
    m_work.writePortMapping();
    const WriteResult written = m_work.commit();
    if (!written) {
        // Ending now would lose the configuration without a word.
        m_context.messages.beep();
        m_context.messages.message(
            QStringLiteral("The configuration could not be written to %1: %2.\nCheck that you "
                           "may write the file and its folder, then press APPLY again.")
                .arg(m_work.iniFile, written.error.reason),
            QMessageBox::Warning);
        return;
    }
    // The window saves its state on the way out: with the offsets just written, not older ones.
    m_context.config.ddsOffset = m_work.ddsOffset;
    m_context.config.adcOffset = m_work.adcOffset;
    HelpWindows::closeAll();
    m_applied = true;
    accept();
}
