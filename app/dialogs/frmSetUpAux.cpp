// The setup dialog's Auxiliary Button page: the two auxiliary output panels (enabled, negative
// logic, title, eight buttons with their values) and the potentiometer limits of Aux2.
#include "Accessible.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "frmSetUp.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

QGroupBox* frmSetUp::buildAuxPage() {
    auto* page = new QGroupBox(QStringLiteral("Auxiliary Button"), this);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(buildAuxFrame(1));
    layout->addWidget(buildAuxFrame(2));
    return page;
}

QGroupBox* frmSetUp::buildAuxFrame(int n) {
    const QString aux = QStringLiteral("Aux%1").arg(n);
    const QString upper = QStringLiteral("AUX%1").arg(n);
    AuxControls& c = m_auxControls[n - 1];
    AuxConfig& work = m_aux[n - 1];
    auto* frame = new QGroupBox(aux, this);
    frame->setObjectName(QStringLiteral("frameAux%1").arg(n));
    auto* grid = new QGridLayout(frame);

    c.enable = new QCheckBox(QStringLiteral("Enabled"), frame);
    c.enable->setObjectName(QStringLiteral("chkBoxEnableAux%1").arg(n));
    c.enable->setToolTip(QStringLiteral("Enable/Disable the frame %1.").arg(upper));
    c.logic = new QCheckBox(QStringLiteral("Negative logic"), frame);
    c.logic->setObjectName(QStringLiteral("chkBoxLogicaAux%1").arg(n));
    grid->addWidget(c.enable, 0, 0, 1, 2);
    grid->addWidget(c.logic, 0, 2);
    connect(c.enable, &QCheckBox::toggled, this, [&work](bool on) { work.enabled = on; });
    connect(c.logic, &QCheckBox::toggled, this, [&work](bool on) { work.inverseLogic = on; });

    c.title = new QLineEdit(frame);
    c.title->setObjectName(QStringLiteral("txtTitoloAux%1").arg(n));
    c.title->setToolTip(QStringLiteral("Title of the frame %1").arg(upper));
    grid->addWidget(captionFor(new QLabel(QStringLiteral("Title"), frame), c.title), 1, 0);
    grid->addWidget(c.title, 1, 1, 1, 2);
    connect(c.title, &QLineEdit::textEdited, this, [&work](const QString& t) { work.title = t; });
    c.title->setAccessibleName(aux + QStringLiteral(" title"));

    grid->addWidget(new QLabel(QStringLiteral("Button title"), frame), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Value"), frame), 2, 2);
    // The label and its value are stored as "label;value": a ';' in the label would move
    // part of it into the value.
    const auto* noSemicolon =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^;]*")), frame);
    for (int i = 0; i < AuxConfig::kSteps; ++i) {
        const int row = 3 + i;
        c.preview[i] = new QCheckBox(frame);
        c.preview[i]->setObjectName(QStringLiteral("chkAux%1_%2").arg(n).arg(i));
        c.preview[i]->setFocusPolicy(Qt::NoFocus);
        c.preview[i]->setAccessibleDescription(QStringLiteral("preview of the button"));
        c.label[i] = new QLineEdit(frame);
        c.label[i]->setObjectName(QStringLiteral("txtAux%1_%2").arg(n).arg(i));
        c.label[i]->setToolTip(
            QStringLiteral("Enter the label or leave 'blank' to disable this button"));
        c.label[i]->setValidator(noSemicolon);
        nameField(c.label[i], QStringLiteral("%1 button %2 title").arg(aux).arg(i + 1));
        c.value[i] = new QLineEdit(frame);
        c.value[i]->setObjectName(QStringLiteral("txtAux%1Val_%2").arg(n).arg(i));
        c.value[i]->setToolTip(QStringLiteral("Enter the value to be sent to the attenuator"));
        c.value[i]->setMaximumWidth(70);
        nameField(c.value[i], QStringLiteral("%1 button %2 value").arg(aux).arg(i + 1));
        grid->addWidget(c.preview[i], row, 0);
        grid->addWidget(c.label[i], row, 1);
        grid->addWidget(c.value[i], row, 2);
        QCheckBox* preview = c.preview[i];
        connect(c.label[i], &QLineEdit::textEdited, this, [&work, preview, i](const QString& t) {
            work.stepLabel[i] = t;
            preview->setText(t);
        });
        connect(c.value[i], &QLineEdit::textEdited, this,
                [&work, i](const QString& t) { work.stepValueText[i] = t; });
    }

    if (n == 2) {
        txtVscrollMax = new QLineEdit(frame);
        txtVscrollMax->setObjectName(QStringLiteral("txtVscrollMax"));
        txtVscrollMax->setToolTip(
            QStringLiteral("Enter MAX offset. If MAX = MIN potentiometer will be disabled."));
        txtVScrollMin = new QLineEdit(frame);
        txtVScrollMin->setObjectName(QStringLiteral("txtVScrollMin"));
        txtVScrollMin->setToolTip(
            QStringLiteral("Enter MIN offset. If MIN = MAX potentiometer will be disabled."));
        auto* pot = new QHBoxLayout;
        pot->addWidget(captionFor(new QLabel(QStringLiteral("Pot MAX"), frame), txtVscrollMax));
        pot->addWidget(txtVscrollMax);
        pot->addWidget(captionFor(new QLabel(QStringLiteral("Pot MIN"), frame), txtVScrollMin));
        pot->addWidget(txtVScrollMin);
        grid->addLayout(pot, 3 + AuxConfig::kSteps, 0, 1, 3);
        connect(txtVscrollMax, &QLineEdit::editingFinished, this,
                &frmSetUp::txtVscrollMax_LostFocus);
        connect(txtVScrollMin, &QLineEdit::editingFinished, this,
                &frmSetUp::txtVScrollMin_LostFocus);
    }
    grid->setRowStretch(4 + AuxConfig::kSteps, 1);
    return frame;
}

void frmSetUp::showAuxPage() {
    for (int k = 0; k < 2; ++k) {
        const AuxConfig& work = m_aux[k];
        AuxControls& c = m_auxControls[k];
        c.enable->setChecked(work.enabled);
        c.logic->setChecked(work.inverseLogic);
        c.title->setText(work.title);
        for (int i = 0; i < AuxConfig::kSteps; ++i) {
            c.label[i]->setText(work.stepLabel[i]);
            c.preview[i]->setText(work.stepLabel[i]);
            c.value[i]->setText(work.stepValueText[i]);
        }
    }
    txtVscrollMax->setText(QString::number(m_aux[1].potMax));
    txtVScrollMin->setText(QString::number(m_aux[1].potMin));
}

namespace {

// The limit as the potentiometer's byte; std::nullopt when the text is no number.
std::optional<qint16> limit(const QString& text) {
    const auto v = parseNumber(text.trimmed());
    return v ? toInt16(*v) : std::nullopt;
}

} // namespace

void frmSetUp::txtVscrollMax_LostFocus() {
    const auto max = limit(txtVscrollMax->text());
    const auto min = limit(txtVScrollMin->text());
    if (!max || *max > 255 || *max < 0 || (min && *max < *min))
        txtVscrollMax->setText(QStringLiteral("255"));
    m_aux[1].potMax = limit(txtVscrollMax->text()).value_or(255);
}

void frmSetUp::txtVScrollMin_LostFocus() {
    const auto min = limit(txtVScrollMin->text());
    const auto max = limit(txtVscrollMax->text());
    if (!min || *min < 0 || *min > 255 || (max && *min > *max))
        txtVScrollMin->setText(QStringLiteral("0"));
    m_aux[1].potMin = limit(txtVScrollMin->text()).value_or(0);
}
