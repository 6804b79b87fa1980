#include "frmCalibraADC.h"

#include "Accessible.h"
#include "CalibrationParts.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SampleConverter.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepDevice.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr double kStep = 0.001; // volts per scroll-bar step
const QString kVoltPicture = QStringLiteral("#0.000");

} // namespace

frmCalibraADC::frmCalibraADC(SweepContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("frmCalibraADC"));
    setWindowTitle(QStringLiteral("Calibrate Detector"));
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(instructions(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(Label1, 0, 0, 1, 4);

    txtOffsetVolt = new QLineEdit(this);
    txtOffsetVolt->setObjectName(QStringLiteral("txtOffsetVolt"));
    VScrollOffset =
        makeStepBar(txtOffsetVolt, QStringLiteral("Offset fine steps of 0.001 Volt"), this);
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Offset (Volt):"), this), txtOffsetVolt),
                    1, 0);
    grid->addWidget(txtOffsetVolt, 1, 1);
    grid->addWidget(VScrollOffset, 1, 2);

    lblVolt = new QLabel(formatNumber(0.0, kVoltPicture), this);
    lblVolt->setObjectName(QStringLiteral("lblVolt"));
    QFont big = lblVolt->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblVolt->setFont(big);
    lblVolt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVolt->setMinimumWidth(90);
    Label3 = new QLabel(QStringLiteral("Volt"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    // The reading is read as shown; "Detector:" reaches it as its caption.
    auto* reading = captionFor(new QLabel(QStringLiteral("Detector:"), this), lblVolt);
    grid->addWidget(reading, 2, 0);
    grid->addWidget(lblVolt, 2, 1);
    grid->addWidget(Label3, 2, 2);

    QHBoxLayout* buttons = makeApplyExitRow(cmdApply, cmdExit, this);
    grid->addLayout(buttons, 3, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    txtOffsetVolt->setText(formatNumber(m_context.config.adcOffset, kVoltPicture));
    connect(txtOffsetVolt, &QLineEdit::editingFinished, this, &frmCalibraADC::txtOffsetVolt_Change);
    connect(VScrollOffset, &QScrollBar::valueChanged, this, &frmCalibraADC::VScrollOffset_Change);
    connect(cmdApply, &QPushButton::clicked, this, &frmCalibraADC::cmdApply_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);

    TimerDetector = new QTimer(this);
    TimerDetector->setObjectName(QStringLiteral("TimerDetector"));
    TimerDetector->setInterval(kTickMs);
    connect(TimerDetector, &QTimer::timeout, this, &frmCalibraADC::TimerDetector_Timer);
    TimerDetector->start();
    if (m_context.device)
        m_context.device->setSpeed(3);
}

QString frmCalibraADC::instructions() {
    return QStringLiteral("1. Select 'View/Table' and 'Scale/Linear'.\n"
                          "2. Connect the input of the detector to a known voltage.\n"
                          "3. Adjust the offset until the right voltage is presented.\n"
                          "4. Everytime you 'Apply', table will be updated with the new offset");
}

double frmCalibraADC::tried() const {
    return parseNumber(txtOffsetVolt->text()).value_or(0.0);
}

void frmCalibraADC::TimerDetector_Timer() {
    if (m_reading || m_closed || !m_context.device)
        return;
    m_reading = true;
    const QPointer<frmCalibraADC> alive(this);
    const auto counts =
        m_context.device->liveCounts(m_context.config.freqStart, m_context.data.raw(1));
    if (!alive)
        return;
    m_reading = false;
    // The offset being tried, not the stored one: the reading follows every adjustment.
    if (counts && !m_closed)
        lblVolt->setText(formatNumber(
            SampleConverter::volts(*counts, m_context.config.adcStep, tried()), kVoltPicture));
}

void frmCalibraADC::txtOffsetVolt_Change() {
    const auto v = parseNumber(txtOffsetVolt->text());
    const QString text = formatNumber(v.value_or(0.0), kVoltPicture);
    if (text != txtOffsetVolt->text())
        txtOffsetVolt->setText(text);
}

void frmCalibraADC::VScrollOffset_Change(int position) {
    if (m_updating)
        return;
    m_updating = true;
    // Position 1 is the bar's upper arrow.
    if (position == 1)
        txtOffsetVolt->setText(formatNumber(tried() + kStep, kVoltPicture));
    else if (position == 3)
        txtOffsetVolt->setText(formatNumber(tried() - kStep, kVoltPicture));
    VScrollOffset->setValue(2);
    m_updating = false;
}

void frmCalibraADC::cmdApply_Click() {
    txtOffsetVolt_Change(); // a value still being typed counts
    SweepConfig& cfg = m_context.config;
    cfg.adcOffset = float(tried());
    m_context.data.convertAll(cfg.scala, cfg.adcStep, cfg.adcOffset);
    if (m_context.graphChanged)
        m_context.graphChanged();
}

void frmCalibraADC::done(int result) {
    if (!m_closed) {
        m_closed = true;
        TimerDetector->stop();
        if (m_context.device)
            m_context.device->setSpeed(m_context.config.sweepMode);
    }
    QDialog::done(result);
}
