#include "FrequencyEntry.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepConfig.h"
#include "UserMessages.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {
QString grouped(qint32 f) {
    return formatNumber(static_cast<double>(f), QStringLiteral("###,###,##0"));
}
} // namespace

FrequencyEntry::FrequencyEntry(SweepConfig& config, UserMessages& messages, QWidget* parent)
    : QObject(parent), m_cfg(config), m_messages(messages) {
    m_startFrame = buildFrame(QStringLiteral("Start Frequency - Hz"), txtStart, VScrollStart,
                              QStringLiteral("txtStart"), QStringLiteral("VScrollStart"), parent);
    txtStart->setToolTip(QStringLiteral("Enter the start frequency in Hz"));
    m_stopFrame = buildFrame(QStringLiteral("Stop Frequency - Hz"), txtStop, VScrollStop,
                             QStringLiteral("txtStop"), QStringLiteral("VScrollStop"), parent);
    txtStop->setToolTip(QStringLiteral("Enter the stop frequency in Hz"));
}

QGroupBox* FrequencyEntry::buildFrame(const QString& title, QLineEdit*& field,
                                      std::array<QScrollBar*, 9>& bars, const QString& fieldName,
                                      const QString& barName, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QStringLiteral("frame%1").arg(fieldName.mid(3)));
    auto* box = new QVBoxLayout(frame);
    box->setSpacing(2);
    box->setContentsMargins(6, 4, 6, 4);
    field = makeField(fieldName, title, false, frame);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [this, field] { m_editing = field; });
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
        bar->setFixedSize(16, 26);
        // A click takes the focus, so the field being edited loses it and commits first.
        bar->setFocusPolicy(Qt::ClickFocus);
        bars[n] = bar;
        connect(bar, &QScrollBar::valueChanged, this,
                [this, startRow, n] { VScroll_Change(startRow, n); });
        digits->addWidget(bar);
    }
    box->addLayout(digits);
    return frame;
}

qint32& FrequencyEntry::valueOf(QLineEdit* field) {
    return field == txtStart ? m_cfg.freqStart : m_cfg.freqStop;
}

bool FrequencyEntry::eventFilter(QObject* watched, QEvent* event) {
    if (!isEditFocusEvent(event))
        return false;
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field != txtStart && field != txtStop)
        return false;
    if (event->type() == QEvent::FocusIn)
        txtFreq_GotFocus(field);
    else
        txtFreq_LostFocus(field);
    return false;
}

void FrequencyEntry::showRange() {
    txtStop->setText(grouped(m_cfg.freqStop));
    txtStart->setText(grouped(m_cfg.freqStart));
}

void FrequencyEntry::setFrequency(bool start, qint32 frequency) {
    (start ? m_cfg.freqStart : m_cfg.freqStop) = frequency;
    (start ? txtStart : txtStop)->setText(grouped(frequency));
    emit edited();
}

void FrequencyEntry::commitPendingEdit() {
    if (m_editing && m_editing->hasFocus())
        txtFreq_LostFocus(m_editing);
}

void FrequencyEntry::txtFreq_GotFocus(QLineEdit* field) {
    m_editing = nullptr;
    field->setText(
        formatNumber(static_cast<double>(valueOf(field)), QStringLiteral("General Number")));
}

void FrequencyEntry::txtFreq_LostFocus(QLineEdit* field) {
    m_editing = nullptr;
    qint32& freq = valueOf(field);
    double value =
        parseNumber(field->text(), ParseFlag::AllowGroupSeparator).value_or(double(freq));
    if (value < m_cfg.ddsMinFreq) {
        value = m_cfg.ddsMinFreq;
        m_messages.beep();
    } else if (value > m_cfg.ddsMaxFreq) {
        value = m_cfg.ddsMaxFreq;
        m_messages.beep();
    }
    freq = toInt32(value).value_or(freq);
    field->setText(grouped(freq));
    emit edited();
    m_echoGuard = false;
}

void FrequencyEntry::VScroll_Change(bool startRow, int index) {
    if (m_echoGuard)
        return;
    // A wheel over a bar does not move the focus: the typed value goes in first.
    commitPendingEdit();
    m_echoGuard = true;
    QScrollBar* bar = startRow ? VScrollStart[index] : VScrollStop[index];
    qint32& freq = startRow ? m_cfg.freqStart : m_cfg.freqStop;
    const qint64 inc = static_cast<qint64>(std::llround(std::pow(10.0, index)));
    // 64-bit arithmetic: the 100 MHz step near the top of the 32-bit range must not wrap.
    qint64 f = freq;
    if (bar->value() == 1)
        f += inc;
    else if (bar->value() == 3 && inc < f)
        f -= inc;
    if (startRow ? f <= m_cfg.ddsMinFreq : f < m_cfg.ddsMinFreq) {
        f = m_cfg.ddsMinFreq;
        m_messages.beep();
    }
    if (f > m_cfg.ddsMaxFreq) {
        f = m_cfg.ddsMaxFreq;
        m_messages.beep();
    }
    freq = static_cast<qint32>(f);
    bar->setValue(2);
    (startRow ? txtStart : txtStop)->setText(grouped(freq));
    emit edited();
    m_echoGuard = false;
}
