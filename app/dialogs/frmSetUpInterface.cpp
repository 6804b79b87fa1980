// The setup dialog's Interface page: the kind of hardware and its factory default sets.
#include "UserMessages.h"
#include "frmSetUp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

QGroupBox* frmSetUp::buildInterfacePage() {
    auto* page = new QGroupBox(QStringLiteral("Interface"), this);
    auto* grid = new QGridLayout(page);
    const QStringList captions{
        QStringLiteral("1 - PIC connected to the USB port COM"),
        QStringLiteral("2 - DDS Generator/Detector connected to the parallel port LPT"),
        QStringLiteral("3 - MiniVNA connected to the USB port COM")};
    const QStringList kinds{QStringLiteral("PIC board"),
                            QStringLiteral("DDS generator and detector on the parallel port"),
                            QStringLiteral("MiniVNA")};
    for (int n = 1; n <= 3; ++n) {
        optInterface[n] = new QRadioButton(captions[n - 1], page);
        optInterface[n]->setObjectName(QStringLiteral("optInterface_%1").arg(n));
        cmdDefault[n] = new QPushButton(QStringLiteral("Default"), page);
        cmdDefault[n]->setObjectName(QStringLiteral("cmdDefault%1").arg(n));
        cmdDefault[n]->setAutoDefault(false);
        cmdDefault[n]->setAccessibleName(QStringLiteral("Default"));
        cmdDefault[n]->setAccessibleDescription(
            QStringLiteral("Load the factory values for the %1").arg(kinds[n - 1]));
        cmdDefault[n]->setToolTip(cmdDefault[n]->accessibleDescription());
        grid->addWidget(optInterface[n], n - 1, 0);
        grid->addWidget(cmdDefault[n], n - 1, 1);
        connect(optInterface[n], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                optInterface_Click(n);
        });
        connect(cmdDefault[n], &QPushButton::clicked, this, [this, n] { cmdDefault_Click(n); });
    }
    auto* hint = new QLabel(
        QStringLiteral("Without hardware, choose an interface and, on the Ports page, the "
                       "simulated PIC board, the simulated MiniVNA or the simulated parallel-port "
                       "board."),
        page);
    hint->setWordWrap(true);
    grid->addWidget(hint, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    return page;
}

bool frmSetUp::loadDefaultSet(int n) {
    const QString section = QStringLiteral("Interface") + QString::number(n);
    if (!m_work.hasHardwareSection(section))
        return false;
    caricaSezione(section);
    return true;
}

void frmSetUp::optInterface_Click(int n) {
    if (m_work.interfaccia == n)
        return; // a click on the option already chosen changes nothing
    m_work.interfaccia = static_cast<qint16>(n);
    abilitaPagine();
    // The parallel-port hardware keeps the values shown; the other two get their own set.
    if (n != InterfaceKind::kParallelPort && !loadDefaultSet(n)) {
        m_context.messages.beep();
        m_context.messages.message(QStringLiteral("Sorry, default value not found."),
                                   QMessageBox::Warning);
    }
}

void frmSetUp::cmdDefault_Click(int n) {
    if (!m_work.hasHardwareSection(QStringLiteral("Interface") + QString::number(n))) {
        static const char* const kMissing[] = {
            "", "Default value for PIC not found.",
            "Default value for DDS/DAC connencted to LPT not found.",
            "Default value for MiniVNA not found."};
        m_context.messages.beep();
        m_context.messages.message(QString::fromLatin1(kMissing[n]), QMessageBox::Warning);
        return;
    }
    m_work.interfaccia = static_cast<qint16>(n);
    optInterface[n]->setChecked(true);
    loadDefaultSet(n);
    abilitaPagine();
}
