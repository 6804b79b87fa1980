#include "AuxPanel.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepDevice.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {
// A three-state button that does not step while its array is busy.
class AuxButton : public QCheckBox {
public:
    AuxButton(std::function<bool()> busy, QWidget* parent)
        : QCheckBox(parent), m_busy(std::move(busy)) {
        setTristate(true);
    }

protected:
    void nextCheckState() override {
        if (!m_busy())
            QCheckBox::nextCheckState();
    }

private:
    std::function<bool()> m_busy;
};
} // namespace

AuxPanel::AuxPanel(int n, SweepContext& context, QGroupBox* frame)
    : QObject(frame), m_n(n), m_ctx(context) {
    auto* row = new QHBoxLayout;
    auto* column = new QVBoxLayout;
    // Eight buttons and the total within the height of the marker view.
    column->setSpacing(2);
    for (int i = 0; i < AuxConfig::kSteps; ++i) {
        auto* b = new AuxButton([this] { return m_busy || !m_available; }, frame);
        b->setObjectName(QStringLiteral("chkAux%1_%2").arg(n).arg(i));
        // The state change, not the click: a screen reader's toggle action counts as a press.
        connect(b, &QCheckBox::stateChanged, this, &AuxPanel::pressed);
        m_buttons[i] = b;
        column->addWidget(b);
    }
    m_total = makeLabel(QStringLiteral("lblAux%1").arg(n), QStringLiteral("0"), frame);
    // The total is read as shown; its caption reaches it as the caption's buddy.
    auto* totalRow = new QHBoxLayout;
    auto* totalCaption =
        makeLabel(QStringLiteral("lblAux%1Total").arg(n), QStringLiteral("Total:"), frame);
    totalCaption->setBuddy(m_total);
    totalRow->addWidget(totalCaption);
    totalRow->addWidget(m_total, 1);
    column->addSpacing(4);
    column->addLayout(totalRow);
    column->addStretch(1);
    row->addLayout(column, 1);
    if (n == 2) {
        auto* pot = new QVBoxLayout;
        VScrollPot2 = new QScrollBar(Qt::Vertical, frame);
        VScrollPot2->setObjectName(QStringLiteral("VScrollPot2"));
        VScrollPot2->setAccessibleName(QStringLiteral("Potentiometer"));
        VScrollPot2->setRange(0, 255);
        lblPot2 = makeLabel(QStringLiteral("lblPot2"), QStringLiteral("0"), frame);
        lblPot2->setAlignment(Qt::AlignCenter);
        pot->addWidget(VScrollPot2, 1, Qt::AlignHCenter);
        pot->addWidget(lblPot2);
        row->addLayout(pot);
        connect(VScrollPot2, &QScrollBar::valueChanged, this, &AuxPanel::potentiometerMoved);
    }
    m_note = makeLabel(QStringLiteral("lblAux%1Note").arg(n),
                       QStringLiteral("The auxiliary outputs work with the parallel-port "
                                      "interface only."),
                       frame);
    m_note->setWordWrap(true);
    m_note->hide();
    if (auto* box = qobject_cast<QBoxLayout*>(frame->layout())) {
        box->addWidget(m_note);
        box->addLayout(row);
    }
}

void AuxPanel::setAvailable(bool available) {
    m_available = available;
    for (QCheckBox* b : m_buttons)
        b->setEnabled(available);
    if (VScrollPot2)
        VScrollPot2->setEnabled(available);
    m_note->setVisible(!available);
}

qint16& AuxPanel::savedWord() const {
    return m_n == 1 ? m_ctx.config.aux1Value : m_ctx.config.aux2Value;
}

void AuxPanel::inizializza(const AuxConfig& aux) {
    m_aux = aux;
    const qint16 word = savedWord();
    for (int i = 0; i < AuxConfig::kSteps; ++i) {
        QCheckBox* b = m_buttons[i];
        const QSignalBlocker restoring(b); // the saved word is shown, not pressed again
        b->setText(aux.stepLabel[i]);
        b->setCheckState((word >> i) & 1 ? Qt::Checked : Qt::Unchecked);
        b->setVisible(!aux.stepLabel[i].isEmpty());
    }
    m_total->setText(numberToText(word));
    if (VScrollPot2) {
        const bool shown = aux.potMax != aux.potMin;
        VScrollPot2->setVisible(shown);
        lblPot2->setVisible(shown);
    }
}

void AuxPanel::pressed() {
    if (m_busy || !m_available)
        return;
    m_busy = true;
    int word = 0;
    m_total->setText(QStringLiteral("0"));
    for (int j = 0; j < AuxConfig::kSteps; ++j) {
        if (m_buttons[j]->checkState() != Qt::Checked)
            continue;
        const double total = parseNumber(m_total->text()).value_or(0.0);
        m_total->setText(numberToText(total + m_aux.stepValue[j]));
        word += 1 << j;
    }
    savedWord() = static_cast<qint16>(word);
    if (m_ctx.device)
        m_ctx.device->setAuxWord(m_n, m_aux.sentWord(word));
    m_busy = false;
}

void AuxPanel::restorePotentiometer() {
    if (!VScrollPot2 || !m_aux.enabled || m_aux.potMax == m_aux.potMin)
        return;
    // The wiper takes one byte: limits beyond 0..255 are brought inside.
    const int potMax = std::clamp<int>(m_aux.potMax, 0, 255);
    const int potMin = std::clamp<int>(m_aux.potMin, 0, 255);
    const int pot = std::max(std::min<int>(m_ctx.config.pot2Value, potMax), potMin);
    {
        // The new limits would move the bar on their own; the restored position is what is sent.
        const QSignalBlocker quiet(VScrollPot2);
        VScrollPot2->setRange(std::min(potMin, potMax), std::max(potMin, potMax));
        VScrollPot2->setValue(pot);
    }
    potentiometerMoved(pot);
}

void AuxPanel::potentiometerMoved(int value) {
    if (!m_available)
        return;
    m_ctx.config.pot2Value = static_cast<qint16>(value);
    lblPot2->setText(numberToText(value));
    if (m_ctx.device)
        m_ctx.device->setPotentiometer(m_aux.i2cControl, m_aux.i2cCommand,
                                       static_cast<quint8>(value));
}
