// The setup dialog's Interface page: the kind of hardware and its factory default sets.
#include "frmSetUpInterface.h"

#include "SweepContract.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

SetUpInterfacePage::SetUpInterfacePage(QWidget* parent)
    : SetUpPage(QStringLiteral("Interface"), parent) {
    auto* grid = new QGridLayout(this);
    const QStringList captions{
        QStringLiteral("1 - PIC connected to the USB port COM"),
        QStringLiteral("2 - DDS Generator/Detector connected to the parallel port LPT"),
        QStringLiteral("3 - MiniVNA connected to the USB port COM")};
    const QStringList kinds{QStringLiteral("PIC board"),
                            QStringLiteral("DDS generator and detector on the parallel port"),
                            QStringLiteral("MiniVNA")};
    for (int n = 1; n <= 3; ++n) {
        optInterface[n] = new QRadioButton(captions[n - 1], this);
        optInterface[n]->setObjectName(QStringLiteral("optInterface_%1").arg(n));
        cmdDefault[n] = new QPushButton(QStringLiteral("Default"), this);
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
        connect(cmdDefault[n], &QPushButton::clicked, this,
                [this, n] { emit defaultRequested(n); });
    }
    auto* hint = new QLabel(
        QStringLiteral("Without hardware, choose an interface and, on the Ports page, the "
                       "simulated PIC board, the simulated MiniVNA or the simulated parallel-port "
                       "board."),
        this);
    hint->setWordWrap(true);
    grid->addWidget(hint, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
}

void SetUpInterfacePage::load(const SetUpValues& values) {
    m_interface = values.config.interfaccia;
    if (m_interface < InterfaceKind::kPic || m_interface > InterfaceKind::kMiniVna)
        return; // an interface the program does not know: no option is chosen
    const QSignalBlocker shown(optInterface[m_interface]);
    optInterface[m_interface]->setChecked(true);
}

void SetUpInterfacePage::store(SetUpValues& values) const {
    values.config.interfaccia = static_cast<qint16>(m_interface);
}

void SetUpInterfacePage::optInterface_Click(int n) {
    if (m_interface == n)
        return; // a click on the option already chosen changes nothing
    m_interface = n;
    emit edited();
    emit interfaceChanged(n);
}
