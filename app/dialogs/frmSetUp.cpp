// The setup dialog's shell: loading, the page buttons, the section loader and "APPLY".
#include "frmSetUp.h"

#include "AppTitle.h"
#include "FactorySets.h"
#include "HelpWindows.h"
#include "LptPinout.h"
#include "PortScan.h"
#include "UserMessages.h"
#include "frmSetUpAdc.h"
#include "frmSetUpAux.h"
#include "frmSetUpDds.h"
#include "frmSetUpInterface.h"
#include "frmSetUpPorts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "Parallel Port pin out": fixed text, nothing to load or store.
class PinoutPage final : public SetUpPage {
public:
    explicit PinoutPage(QWidget* parent)
        : SetUpPage(QStringLiteral("Parallel Port pin out"), parent) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new LptPinout(this));
    }
    void load(const SetUpValues&) override {}
    void store(SetUpValues&) const override {}
};

} // namespace

frmSetUp::frmSetUp(SweepContext& context, const PortScan* scan, QWidget* parent)
    : QDialog(parent), m_context(context), m_ownScan(scan ? nullptr : std::make_unique<PortScan>()),
      m_scan(scan ? scan : m_ownScan.get()), m_values{SweepConfig(context.config.iniFile), {}} {
    setObjectName(QStringLiteral("frmSetUp"));
    setWindowTitle(QStringLiteral("Sweep Configuration"));
    auto* outer = new QHBoxLayout(this);
    auto* buttons = new QVBoxLayout;
    buildPageButtons(buttons);
    outer->addLayout(buttons);
    buildPages(outer);

    // "Default" must always find its set, so a configuration without them gets them.
    SweepConfig& work = m_values.config;
    FactorySets::ensure(work.iniFile);
    work.readInterface();
    const int n = work.interfaccia;
    if (!work.isFirstRun() || n < 1 || n > 3)
        caricaSezione(QStringLiteral("Config"));
    else
        caricaSezione(ConfigKeys::hardwareSetSection(n));
    work.readPorts();
    if (work.commPort == 0)
        work.commPort = 1;
    abilitaPagine();
    loadPages();
    showPage(kInterface);
}

frmSetUp::~frmSetUp() = default;

void frmSetUp::buildPageButtons(QVBoxLayout* buttons) {
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
}

void frmSetUp::buildPages(QHBoxLayout* outer) {
    const auto beep = [this] { m_context.messages.beep(); };
    auto* interfacePage = new SetUpInterfacePage(this);
    frameSetUp = {interfacePage,
                  new SetUpPortsPage(*m_scan, beep, this),
                  new SetUpDdsPage(beep, this),
                  new SetUpAdcPage(beep, this),
                  new SetUpAuxPage(this),
                  new PinoutPage(this)};
    connect(interfacePage, &SetUpInterfacePage::interfaceChanged, this,
            &frmSetUp::optInterface_Click);
    connect(interfacePage, &SetUpInterfacePage::defaultRequested, this,
            &frmSetUp::cmdDefault_Click);

    // All pages share one place; one is shown at a time.
    auto* pages = new QGridLayout;
    for (int p = 0; p < kPages; ++p) {
        SetUpPage* page = frameSetUp[p];
        page->setObjectName(QStringLiteral("frameSetUp_%1").arg(p));
        pages->addWidget(page, 0, 0);
        // The working values follow every change the user makes on a page.
        connect(page, &SetUpPage::edited, this, [this, page] { page->store(m_values); });
    }
    outer->addLayout(pages, 1);
    // Every page fits the place without the dialog changing size.
    QSize largest;
    for (SetUpPage* page : frameSetUp)
        largest = largest.expandedTo(page->sizeHint());
    for (SetUpPage* page : frameSetUp)
        page->setMinimumSize(largest);
}

void frmSetUp::frameInvisibili() {
    for (SetUpPage* page : frameSetUp)
        page->hide();
}

void frmSetUp::showPage(int page) {
    if (page < 0 || page >= kPages || !m_pageButtons[page]->isEnabled())
        page = kInterface;
    frameInvisibili();
    m_page = page;
    frameSetUp[page]->load(m_values);
    frameSetUp[page]->show();
    m_pageButtons[page]->setChecked(true);
}

void frmSetUp::loadPages() {
    for (SetUpPage* page : frameSetUp)
        page->load(m_values);
}

void frmSetUp::caricaSezione(const QString& section) {
    // The file's offsets, unless the window has the newer ones (a calibration applied in this
    // run is saved only when the window closes).
    SweepConfig& work = m_values.config;
    work.readHardwareSection(section);
    if (section.compare(QLatin1String("Config"), Qt::CaseInsensitive) == 0 &&
        m_context.configRead) {
        work.ddsOffset = m_context.config.ddsOffset;
        work.adcOffset = m_context.config.adcOffset;
    }
    m_values.aux[0] = work.readAuxForSetup(1);
    m_values.aux[1] = work.readAuxForSetup(2);
    loadPages();
}

void frmSetUp::abilitaPagine() {
    const bool lpt = m_values.config.interfaccia == InterfaceKind::kParallelPort;
    for (int p : {kDds, kAdc, kAux})
        m_pageButtons[p]->setEnabled(lpt);
    if (!m_pageButtons[m_page]->isEnabled())
        showPage(kInterface);
}

bool frmSetUp::loadDefaultSet(int n) {
    const QString section = ConfigKeys::hardwareSetSection(n);
    if (!m_values.config.hasHardwareSection(section))
        return false;
    caricaSezione(section);
    return true;
}

void frmSetUp::optInterface_Click(int n) {
    abilitaPagine();
    // The parallel-port hardware keeps the values shown; the other two get their own set.
    if (n != InterfaceKind::kParallelPort && !loadDefaultSet(n)) {
        m_context.messages.beep();
        m_context.messages.message(QStringLiteral("Sorry, default value not found."),
                                   QMessageBox::Warning);
    }
}

void frmSetUp::cmdDefault_Click(int n) {
    if (!m_values.config.hasHardwareSection(ConfigKeys::hardwareSetSection(n))) {
        static const char* const kMissing[] = {
            "", "Default value for PIC not found.",
            "Default value for DDS/DAC connencted to LPT not found.",
            "Default value for MiniVNA not found."};
        m_context.messages.beep();
        m_context.messages.message(QString::fromLatin1(kMissing[n]), QMessageBox::Warning);
        return;
    }
    m_values.config.interfaccia = static_cast<qint16>(n);
    loadDefaultSet(n); // shows the interface chosen with the set
    abilitaPagine();
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
    SweepConfig& work = m_values.config;
    work.beginBatch();
    work.writeSetup(m_values.aux[0], m_values.aux[1]);
    work.writePortMapping();
    const WriteResult written = work.commit();
    if (!written) {
        // Ending now would lose the configuration without a word.
        m_context.messages.beep();
        m_context.messages.message(
            QStringLiteral("The configuration could not be written to %1: %2.\nCheck that you "
                           "may write the file and its folder, then press APPLY again.")
                .arg(work.iniFile, written.error.reason),
            QMessageBox::Warning);
        return;
    }
    // The window saves its state on the way out: with the offsets just written, not older ones.
    m_context.config.ddsOffset = work.ddsOffset;
    m_context.config.adcOffset = work.adcOffset;
    HelpWindows::closeAll();
    m_applied = true;
    accept();
}
