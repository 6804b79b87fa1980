// The setup dialog's DDS Generator page: the chip, its reference clock and multiplier, and the
// frequency limits of the entry fields.
#include "frmSetUpDds.h"

#include "Accessible.h"
#include "NumberBox.h"
#include "NumberFormat.h"
#include "Rounding.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

const QString kMHzPicture = QStringLiteral("###,000,000");

// A whole number of hertz the configuration can hold; above 0 where the chip divides by it.
bool takeHz(double typed, qint32 min, qint32* into) {
    const auto v = toInt32(typed);
    if (!v || *v < min)
        return false;
    *into = *v;
    return true;
}

} // namespace

SetUpDdsPage::SetUpDdsPage(std::function<void()> beep, QWidget* parent)
    : SetUpPage(QStringLiteral("DDS Generator"), parent), m_beep(std::move(beep)) {
    auto* grid = new QGridLayout(this);
    buildChipChoice(grid);
    grid->addWidget(buildAd9851Frame(), 1, 0, 1, 2);
    grid->addWidget(buildAd9951Frame(), 2, 0, 1, 2);
    connect(txtClk9851, &NumberBox::committed, this, &SetUpDdsPage::showSystemClock);
    connect(txtClk9951, &NumberBox::committed, this, &SetUpDdsPage::showSystemClock);
    buildFrequencyLimits(grid);
}

NumberBox* SetUpDdsPage::hertzBox(const QString& name, qint32* value, qint32 min,
                                  const QString& picture, QWidget* parent) {
    auto* box = new NumberBox(
        name,
        [value, picture](bool plain) {
            return plain ? numberToText(*value) : formatNumber(*value, picture);
        },
        [value, min](double typed) { return takeHz(typed, min, value); }, m_beep, parent);
    connect(box, &NumberBox::committed, this, &SetUpPage::edited);
    return box;
}

void SetUpDdsPage::buildChipChoice(QGridLayout* grid) {
    optDDSselect[1] = new QRadioButton(QStringLiteral("AD9850 / AD9851"), this);
    optDDSselect[1]->setObjectName(QStringLiteral("optDDSselect_1"));
    optDDSselect[2] = new QRadioButton(QStringLiteral("AD9951"), this);
    optDDSselect[2]->setObjectName(QStringLiteral("optDDSselect_2"));
    grid->addWidget(optDDSselect[1], 0, 0);
    grid->addWidget(optDDSselect[2], 0, 1);
    // The options and the x6 box act on their state, however it changes (a click, a key, a
    // screen reader's action); the page sets them from the stored values without acting.
    for (int n = 1; n <= 2; ++n)
        connect(optDDSselect[n], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                optDDSselect_Click(n);
        });
}

QGroupBox* SetUpDdsPage::buildAd9851Frame() {
    frmAD9851 = new QGroupBox(QStringLiteral("AD9850 / AD9851"), this);
    frmAD9851->setObjectName(QStringLiteral("frmAD9851"));
    auto* g51 = new QGridLayout(frmAD9851);
    txtClk9851 = hertzBox(QStringLiteral("txtClk9851"), &m_clock, 1, kMHzPicture, frmAD9851);
    g51->addWidget(captionFor(new QLabel(QStringLiteral("Clock (Hz)"), frmAD9851), txtClk9851), 0,
                   0);
    g51->addWidget(txtClk9851, 0, 1);
    optDDSx6 = new QCheckBox(QStringLiteral("Clock x6 multiplier"), frmAD9851);
    optDDSx6->setObjectName(QStringLiteral("optDDSx6"));
    g51->addWidget(optDDSx6, 1, 0, 1, 2);
    g51->setRowStretch(2, 1);
    connect(optDDSx6, &QCheckBox::toggled, this, &SetUpDdsPage::optDDSx6_Click);
    return frmAD9851;
}

QGroupBox* SetUpDdsPage::buildAd9951Frame() {
    frmAD9951 = new QGroupBox(QStringLiteral("AD9951"), this);
    frmAD9951->setObjectName(QStringLiteral("frmAD9951"));
    auto* g99 = new QGridLayout(frmAD9951);
    txtClk9951 = hertzBox(QStringLiteral("txtClk9951"), &m_clock, 1, kMHzPicture, frmAD9951);
    g99->addWidget(captionFor(new QLabel(QStringLiteral("Clock (Hz)"), frmAD9951), txtClk9951), 0,
                   0);
    g99->addWidget(txtClk9951, 0, 1, 1, 2);
    auto* multiplierLabel = new QLabel(QStringLiteral("Clock multiplier:"), frmAD9951);
    optMultiplier[0] = new QRadioButton(QStringLiteral("On"), frmAD9951);
    optMultiplier[0]->setObjectName(QStringLiteral("optMultiplier_0"));
    optMultiplier[1] = new QRadioButton(QStringLiteral("Off"), frmAD9951);
    optMultiplier[1]->setObjectName(QStringLiteral("optMultiplier_1"));
    g99->addWidget(multiplierLabel, 1, 0);
    g99->addWidget(optMultiplier[0], 1, 1);
    g99->addWidget(optMultiplier[1], 1, 2);
    for (int n = 0; n <= 1; ++n)
        connect(optMultiplier[n], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                optMultiplier_Click(n);
        });
    HScroll1 = new QScrollBar(Qt::Horizontal, frmAD9951);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(4, 20); // the multipliers an AD9951 accepts
    HScroll1->setPageStep(1);
    HScroll1->setMinimumWidth(160);
    lblMultFactor = new QLabel(frmAD9951);
    lblMultFactor->setObjectName(QStringLiteral("lblMultFactor"));
    g99->addWidget(captionFor(new QLabel(QStringLiteral("MultFactor"), frmAD9951), HScroll1), 2, 0);
    g99->addWidget(HScroll1, 2, 1);
    g99->addWidget(lblMultFactor, 2, 2);
    connect(HScroll1, &QScrollBar::valueChanged, this, &SetUpDdsPage::HScroll1_Change);
    lblSystemClock = new QLabel(frmAD9951);
    lblSystemClock->setObjectName(QStringLiteral("lblSystemClock"));
    auto* systemCaption =
        captionFor(new QLabel(QStringLiteral("SystemClock (Hz)"), frmAD9951), lblSystemClock);
    g99->addWidget(systemCaption, 3, 0);
    g99->addWidget(lblSystemClock, 3, 1, 1, 2);
    return frmAD9951;
}

void SetUpDdsPage::buildFrequencyLimits(QGridLayout* grid) {
    txtMaxFreq = hertzBox(QStringLiteral("txtMaxFreq"), &m_maxFreq, 1, kMHzPicture, this);
    txtMinFreq =
        hertzBox(QStringLiteral("txtMinFreq"), &m_minFreq, 0, QStringLiteral("###,###,##0"), this);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Max frequency (Hz)"), this), txtMaxFreq),
                    3, 0);
    grid->addWidget(txtMaxFreq, 3, 1);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Min frequency (Hz)"), this), txtMinFreq),
                    4, 0);
    grid->addWidget(txtMinFreq, 4, 1);
    lblOffsetDDS = new QLabel(this);
    lblOffsetDDS->setObjectName(QStringLiteral("lblOffsetDDS"));
    grid->addWidget(lblOffsetDDS, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
}

void SetUpDdsPage::load(const SetUpValues& values) {
    m_device = values.config.ddsDevice;
    m_multiplier = values.config.ddsMultiplier;
    m_clock = values.config.ddsClock;
    m_maxFreq = values.config.ddsMaxFreq;
    m_minFreq = values.config.ddsMinFreq;
    m_offset = values.config.ddsOffset;

    // The stored values, without running the handlers: opening the page changes nothing.
    const QSignalBlocker blockScroll(HScroll1);
    const QSignalBlocker block9851(optDDSselect[1]);
    const QSignalBlocker block9951(optDDSselect[2]);
    const QSignalBlocker blockX6(optDDSx6);
    const QSignalBlocker blockOn(optMultiplier[0]);
    const QSignalBlocker blockOff(optMultiplier[1]);
    const bool ad9951 = m_device == QLatin1String("AD9951");
    HScroll1->setValue(m_multiplier < 3 ? 4 : m_multiplier);
    frmAD9851->setVisible(!ad9951);
    frmAD9951->setVisible(ad9951);
    optDDSselect[ad9951 ? 2 : 1]->setChecked(true);
    optDDSx6->setChecked(m_multiplier == 1);
    optMultiplier[m_multiplier > 3 ? 0 : 1]->setChecked(true);
    txtClk9851->refresh();
    txtClk9951->refresh();
    txtMaxFreq->refresh();
    txtMinFreq->refresh();
    lblOffsetDDS->setText(QStringLiteral("Frequency offset: ") +
                          formatNumber(m_offset, QStringLiteral("##0.000")) +
                          QStringLiteral(" Hz"));
    showSystemClock();
}

void SetUpDdsPage::store(SetUpValues& values) const {
    values.config.ddsDevice = m_device;
    values.config.ddsMultiplier = m_multiplier;
    values.config.ddsClock = m_clock;
    values.config.ddsMaxFreq = m_maxFreq;
    values.config.ddsMinFreq = m_minFreq;
}

void SetUpDdsPage::showSystemClock() {
    lblSystemClock->setText(formatNumber(double(m_multiplier) * m_clock, kMHzPicture));
    lblMultFactor->setText(QString::number(m_multiplier));
}

void SetUpDdsPage::optDDSselect_Click(int n) {
    const bool ad9951 = m_device == QLatin1String("AD9951");
    if (ad9951 == (n == 2))
        return; // the chip shown already
    if (n == 1) {
        m_device = QStringLiteral("AD9851");
        // From an AD9951 with its multiplier on: the AD9851's x6 multiplier on.
        m_multiplier = m_multiplier > 1 ? 1 : 0;
        const QSignalBlocker shown(optDDSx6);
        optDDSx6->setChecked(m_multiplier == 1);
        txtClk9851->refresh();
    } else {
        m_device = QStringLiteral("AD9951");
        txtClk9951->refresh();
        const QSignalBlocker shownOn(optMultiplier[0]);
        const QSignalBlocker shownOff(optMultiplier[1]);
        if (m_multiplier > 3) {
            optMultiplier[0]->setChecked(true);
            const QSignalBlocker block(HScroll1);
            HScroll1->setValue(m_multiplier);
        } else {
            m_multiplier = 1;
            optMultiplier[1]->setChecked(true);
        }
    }
    emit edited();
    frmAD9851->setVisible(n == 1);
    frmAD9951->setVisible(n == 2);
    showSystemClock();
}

void SetUpDdsPage::optDDSx6_Click(bool checked) {
    m_multiplier = checked ? 1 : 0;
    emit edited();
    showSystemClock();
}

void SetUpDdsPage::optMultiplier_Click(int n) {
    m_multiplier = n == 0 ? static_cast<qint16>(HScroll1->value()) : qint16(1);
    emit edited();
    showSystemClock();
}

void SetUpDdsPage::HScroll1_Change(int value) {
    m_multiplier = optMultiplier[1]->isChecked() ? qint16(1) : static_cast<qint16>(value);
    emit edited();
    showSystemClock();
}
