// The setup dialog's A/D Converter page: the converter, its step and the channel.
#include "Accessible.h"
#include "NumberBox.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "frmSetUp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cmath>
#include <limits>

QGroupBox* frmSetUp::buildAdcPage() {
    auto* page = new QGroupBox(QStringLiteral("A/D Converter"), this);
    auto* grid = new QGridLayout(page);
    const QStringList captions{QStringLiteral("8 bits  (TLC549)"),
                               QStringLiteral("10 bits (TLC1549)")};
    const QStringList devices{QStringLiteral("8bit"), QStringLiteral("10bit")};
    for (int n = 1; n <= 2; ++n) {
        optADC[n] = new QRadioButton(captions[n - 1], page);
        optADC[n]->setObjectName(QStringLiteral("optADC_%1").arg(n));
        grid->addWidget(optADC[n], n - 1, 0, 1, 2);
        connect(optADC[n], &QRadioButton::toggled, this, [this, device = devices[n - 1]](bool on) {
            if (on)
                m_work.adcDevice = device;
        });
    }
    const auto beeper = [this] { beep(); };
    txtADCstep = new NumberBox(
        QStringLiteral("txtADCstep"),
        [this](bool plain) {
            // Millivolts in single precision, as the step is stored.
            const float mv = m_work.adcStep * 1000.0f;
            return plain ? numberToText(mv) : formatNumber(mv, QStringLiteral("#0.000"));
        },
        [this](double typed) {
            const double volts = typed / 1000.0;
            if (!std::isfinite(volts) || std::fabs(volts) > std::numeric_limits<float>::max())
                return false;
            m_work.adcStep = float(volts);
            return true;
        },
        beeper, page);
    txtADCchannel = new NumberBox(
        QStringLiteral("txtADCchannel"), [this](bool) { return numberToText(m_work.adcChannel); },
        [this](double typed) {
            const auto channel = toInt16(typed);
            if (!channel)
                return false;
            m_work.adcChannel = *channel;
            return true;
        },
        beeper, page);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Step (mV)"), page), txtADCstep), 2, 0);
    grid->addWidget(txtADCstep, 2, 1);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Channel"), page), txtADCchannel), 3, 0);
    grid->addWidget(txtADCchannel, 3, 1);
    lblOffset = new QLabel(page);
    lblOffset->setObjectName(QStringLiteral("lblOffset"));
    grid->addWidget(lblOffset, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

void frmSetUp::showAdcPage() {
    // Another device name stays as stored, whichever option was chosen last.
    const QSignalBlocker block8(optADC[1]);
    const QSignalBlocker block10(optADC[2]);
    if (m_work.adcDevice == QLatin1String("8bit"))
        optADC[1]->setChecked(true);
    else if (m_work.adcDevice == QLatin1String("10bit"))
        optADC[2]->setChecked(true);
    txtADCstep->refresh();
    txtADCchannel->refresh();
    lblOffset->setText(QStringLiteral("Offset: ") +
                       formatNumber(m_work.adcOffset, QStringLiteral("#0.000")) +
                       QStringLiteral(" Volt"));
}
