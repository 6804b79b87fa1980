// The setup dialog's A/D Converter page: the converter, its step and the channel.
#include "frmSetUpAdc.h"

#include "Accessible.h"
#include "NumberBox.h"
#include "NumberFormat.h"
#include "Rounding.h"

#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cmath>
#include <limits>

SetUpAdcPage::SetUpAdcPage(std::function<void()> beep, QWidget* parent)
    : SetUpPage(QStringLiteral("A/D Converter"), parent) {
    auto* grid = new QGridLayout(this);
    addDeviceOptions(grid);
    addStepAndChannel(grid, beep);
    lblOffset = new QLabel(this);
    lblOffset->setObjectName(QStringLiteral("lblOffset"));
    grid->addWidget(lblOffset, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
}

void SetUpAdcPage::addDeviceOptions(QGridLayout* grid) {
    const QStringList captions{QStringLiteral("8 bits  (TLC549)"),
                               QStringLiteral("10 bits (TLC1549)")};
    const QStringList devices{QStringLiteral("8bit"), QStringLiteral("10bit")};
    for (int n = 1; n <= 2; ++n) {
        optADC[n] = new QRadioButton(captions[n - 1], this);
        optADC[n]->setObjectName(QStringLiteral("optADC_%1").arg(n));
        grid->addWidget(optADC[n], n - 1, 0, 1, 2);
        connect(optADC[n], &QRadioButton::toggled, this, [this, device = devices[n - 1]](bool on) {
            if (!on)
                return;
            m_device = device;
            emit edited();
        });
    }
}

void SetUpAdcPage::addStepAndChannel(QGridLayout* grid, const std::function<void()>& beep) {
    txtADCstep = new NumberBox(
        QStringLiteral("txtADCstep"),
        [this](bool plain) {
            // Millivolts in single precision, as the step is stored.
            const float mv = m_step * 1000.0f;
            return plain ? numberToText(mv) : formatNumber(mv, QStringLiteral("#0.000"));
        },
        [this](double typed) {
            const double volts = typed / 1000.0;
            if (!std::isfinite(volts) || std::fabs(volts) > std::numeric_limits<float>::max())
                return false;
            m_step = float(volts);
            return true;
        },
        beep, this);
    txtADCchannel = new NumberBox(
        QStringLiteral("txtADCchannel"), [this](bool) { return numberToText(m_channel); },
        [this](double typed) {
            const auto channel = toInt16(typed);
            if (!channel)
                return false;
            m_channel = *channel;
            return true;
        },
        beep, this);
    connect(txtADCstep, &NumberBox::committed, this, &SetUpPage::edited);
    connect(txtADCchannel, &NumberBox::committed, this, &SetUpPage::edited);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Step (mV)"), this), txtADCstep), 2, 0);
    grid->addWidget(txtADCstep, 2, 1);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Channel"), this), txtADCchannel), 3, 0);
    grid->addWidget(txtADCchannel, 3, 1);
}

void SetUpAdcPage::load(const SetUpValues& values) {
    m_device = values.config.adcDevice;
    m_step = values.config.adcStep;
    m_channel = values.config.adcChannel;
    m_offset = values.config.adcOffset;
    // Another device name stays as stored, whichever option was chosen last.
    const QSignalBlocker block8(optADC[1]);
    const QSignalBlocker block10(optADC[2]);
    if (m_device == QLatin1String("8bit"))
        optADC[1]->setChecked(true);
    else if (m_device == QLatin1String("10bit"))
        optADC[2]->setChecked(true);
    txtADCstep->refresh();
    txtADCchannel->refresh();
    lblOffset->setText(QStringLiteral("Offset: ") +
                       formatNumber(m_offset, QStringLiteral("#0.000")) + QStringLiteral(" Volt"));
}

void SetUpAdcPage::store(SetUpValues& values) const {
    values.config.adcDevice = m_device;
    values.config.adcStep = m_step;
    values.config.adcChannel = m_channel;
}
