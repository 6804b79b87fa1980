// The setup dialog's Auxiliary Button page: the two auxiliary output panels (enabled, negative
// logic, title, eight buttons with their values) and the potentiometer limits of Aux2.
#include "frmSetUpAux.h"

#include "Accessible.h"
#include "NumberParse.h"
#include "Rounding.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace {

// The limit as the potentiometer's byte; std::nullopt when the text is no number.
std::optional<qint16> limit(const QString& text) {
    const auto v = parseNumber(text.trimmed());
    return v ? toInt16(*v) : std::nullopt;
}

} // namespace

SetUpAuxPage::SetUpAuxPage(QWidget* parent)
    : SetUpPage(QStringLiteral("Auxiliary Button"), parent) {
    auto* layout = new QHBoxLayout(this);
    for (int k = 0; k < 2; ++k) {
        m_frames[k] = new SetUpAuxFrame(k + 1, this);
        layout->addWidget(m_frames[k]);
        connect(m_frames[k], &SetUpAuxFrame::edited, this, &SetUpPage::edited);
    }
}

void SetUpAuxPage::load(const SetUpValues& values) {
    for (int k = 0; k < 2; ++k)
        m_frames[k]->load(values.aux[k]);
}

void SetUpAuxPage::store(SetUpValues& values) const {
    for (int k = 0; k < 2; ++k)
        values.aux[k] = m_frames[k]->values();
}

SetUpAuxFrame::SetUpAuxFrame(int n, QWidget* parent)
    : QGroupBox(QStringLiteral("Aux%1").arg(n), parent), m_n(n) {
    setObjectName(QStringLiteral("frameAux%1").arg(n));
    auto* grid = new QGridLayout(this);
    buildSwitchesAndTitle(grid);
    buildButtonRows(grid);
    if (n == 2)
        buildPotLimits(grid);
    grid->setRowStretch(4 + AuxConfig::kSteps, 1);
}

void SetUpAuxFrame::buildSwitchesAndTitle(QGridLayout* grid) {
    const QString upper = QStringLiteral("AUX%1").arg(m_n);
    m_enable = new QCheckBox(QStringLiteral("Enabled"), this);
    m_enable->setObjectName(QStringLiteral("chkBoxEnableAux%1").arg(m_n));
    m_enable->setToolTip(QStringLiteral("Enable/Disable the frame %1.").arg(upper));
    m_logic = new QCheckBox(QStringLiteral("Negative logic"), this);
    m_logic->setObjectName(QStringLiteral("chkBoxLogicaAux%1").arg(m_n));
    grid->addWidget(m_enable, 0, 0, 1, 2);
    grid->addWidget(m_logic, 0, 2);
    connect(m_enable, &QCheckBox::toggled, this, [this](bool on) {
        m_aux.enabled = on;
        emit edited();
    });
    connect(m_logic, &QCheckBox::toggled, this, [this](bool on) {
        m_aux.inverseLogic = on;
        emit edited();
    });

    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("txtTitoloAux%1").arg(m_n));
    m_title->setToolTip(QStringLiteral("Title of the frame %1").arg(upper));
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Title"), this), m_title), 1, 0);
    grid->addWidget(m_title, 1, 1, 1, 2);
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_aux.title = t;
        emit edited();
    });
    m_title->setAccessibleName(title() + QStringLiteral(" title"));
}

void SetUpAuxFrame::buildButtonRows(QGridLayout* grid) {
    const QString aux = title();
    grid->addWidget(new QLabel(QStringLiteral("Button title"), this), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 2, 2);
    // The label and its value are stored as "label;value": a ';' in the label would move
    // part of it into the value.
    const auto* noSemicolon =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^;]*")), this);
    for (int i = 0; i < AuxConfig::kSteps; ++i) {
        const int row = 3 + i;
        m_preview[i] = new QCheckBox(this);
        m_preview[i]->setObjectName(QStringLiteral("chkAux%1_%2").arg(m_n).arg(i));
        m_preview[i]->setFocusPolicy(Qt::NoFocus);
        m_preview[i]->setAccessibleDescription(QStringLiteral("preview of the button"));
        m_label[i] = new QLineEdit(this);
        m_label[i]->setObjectName(QStringLiteral("txtAux%1_%2").arg(m_n).arg(i));
        m_label[i]->setToolTip(
            QStringLiteral("Enter the label or leave 'blank' to disable this button"));
        m_label[i]->setValidator(noSemicolon);
        nameField(m_label[i], QStringLiteral("%1 button %2 title").arg(aux).arg(i + 1));
        m_value[i] = new QLineEdit(this);
        m_value[i]->setObjectName(QStringLiteral("txtAux%1Val_%2").arg(m_n).arg(i));
        m_value[i]->setToolTip(QStringLiteral("Enter the value to be sent to the attenuator"));
        m_value[i]->setMaximumWidth(70);
        nameField(m_value[i], QStringLiteral("%1 button %2 value").arg(aux).arg(i + 1));
        grid->addWidget(m_preview[i], row, 0);
        grid->addWidget(m_label[i], row, 1);
        grid->addWidget(m_value[i], row, 2);
        connect(m_label[i], &QLineEdit::textEdited, this, [this, i](const QString& t) {
            m_aux.stepLabel[i] = t;
            m_preview[i]->setText(t);
            emit edited();
        });
        connect(m_value[i], &QLineEdit::textEdited, this, [this, i](const QString& t) {
            m_aux.stepValueText[i] = t;
            emit edited();
        });
    }
}

void SetUpAuxFrame::buildPotLimits(QGridLayout* grid) {
    txtVscrollMax = new QLineEdit(this);
    txtVscrollMax->setObjectName(QStringLiteral("txtVscrollMax"));
    txtVscrollMax->setToolTip(
        QStringLiteral("Enter MAX offset. If MAX = MIN potentiometer will be disabled."));
    txtVScrollMin = new QLineEdit(this);
    txtVScrollMin->setObjectName(QStringLiteral("txtVScrollMin"));
    txtVScrollMin->setToolTip(
        QStringLiteral("Enter MIN offset. If MIN = MAX potentiometer will be disabled."));
    auto* pot = new QHBoxLayout;
    pot->addWidget(captionFor(new QLabel(QStringLiteral("Pot MAX"), this), txtVscrollMax));
    pot->addWidget(txtVscrollMax);
    pot->addWidget(captionFor(new QLabel(QStringLiteral("Pot MIN"), this), txtVScrollMin));
    pot->addWidget(txtVScrollMin);
    grid->addLayout(pot, 3 + AuxConfig::kSteps, 0, 1, 3);
    connect(txtVscrollMax, &QLineEdit::editingFinished, this,
            &SetUpAuxFrame::txtVscrollMax_LostFocus);
    connect(txtVScrollMin, &QLineEdit::editingFinished, this,
            &SetUpAuxFrame::txtVScrollMin_LostFocus);
}

void SetUpAuxFrame::load(const AuxConfig& aux) {
    m_aux = aux;
    // Showing the values changes nothing.
    const QSignalBlocker blockEnable(m_enable);
    const QSignalBlocker blockLogic(m_logic);
    m_enable->setChecked(m_aux.enabled);
    m_logic->setChecked(m_aux.inverseLogic);
    m_title->setText(m_aux.title);
    for (int i = 0; i < AuxConfig::kSteps; ++i) {
        m_label[i]->setText(m_aux.stepLabel[i]);
        m_preview[i]->setText(m_aux.stepLabel[i]);
        m_value[i]->setText(m_aux.stepValueText[i]);
    }
    if (m_n == 2) {
        txtVscrollMax->setText(QString::number(m_aux.potMax));
        txtVScrollMin->setText(QString::number(m_aux.potMin));
    }
}

void SetUpAuxFrame::txtVscrollMax_LostFocus() {
    const auto max = limit(txtVscrollMax->text());
    const auto min = limit(txtVScrollMin->text());
    if (!max || *max > 255 || *max < 0 || (min && *max < *min))
        txtVscrollMax->setText(QStringLiteral("255"));
    m_aux.potMax = limit(txtVscrollMax->text()).value_or(255);
    emit edited();
}

void SetUpAuxFrame::txtVScrollMin_LostFocus() {
    const auto min = limit(txtVScrollMin->text());
    const auto max = limit(txtVscrollMax->text());
    if (!min || *min < 0 || *min > 255 || (max && *min > *max))
        txtVScrollMin->setText(QStringLiteral("0"));
    m_aux.potMin = limit(txtVScrollMin->text()).value_or(0);
    emit edited();
}
