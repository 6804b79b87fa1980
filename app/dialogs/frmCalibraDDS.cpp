#include "frmCalibraDDS.h"

#include "Accessible.h"
#include "CalibrationParts.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SweepConfig.h"
#include "SweepDevice.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr double kStep = 0.01; // Hz per scroll-bar step

// The beginning of a number that is being typed: not yet a number, not yet wrong.
bool typingStarted(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+");
}

} // namespace

frmCalibraDDS::frmCalibraDDS(SweepContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("frmCalibraDDS"));
    setWindowTitle(QStringLiteral("Calibrate Generator"));
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(instructions(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(Label1, 0, 0, 1, 3);

    txtOffset = new QLineEdit(this);
    txtOffset->setObjectName(QStringLiteral("txtOffset"));
    VScrollOffset = makeStepBar(txtOffset, QStringLiteral("Offset fine steps of 0.01 Hz"), this);
    auto* caption = captionFor(new QLabel(QStringLiteral("Offset (Hz):"), this), txtOffset);
    grid->addWidget(caption, 1, 0);
    grid->addWidget(txtOffset, 1, 1);
    grid->addWidget(VScrollOffset, 1, 2);

    QHBoxLayout* buttons = makeApplyExitRow(cmdApply, cmdExit, this);
    grid->addLayout(buttons, 2, 0, 1, 3);

    txtOffset->setText(numberToText(m_context.config.ddsOffset));
    connect(txtOffset, &QLineEdit::textEdited, this, &frmCalibraDDS::txtOffset_Change);
    connect(txtOffset, &QLineEdit::editingFinished, this, &frmCalibraDDS::txtOffset_LostFocus);
    connect(VScrollOffset, &QScrollBar::valueChanged, this, &frmCalibraDDS::VScrollOffset_Change);
    connect(cmdApply, &QPushButton::clicked, this, &frmCalibraDDS::cmdApply_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmCalibraDDS::instructions() {
    return QStringLiteral("1. Select any start frequency.\n"
                          "2. Connect the output of the generator to a frequency meter.\n"
                          "3. Adjust the offset until the meter shows the right start frequency.\n"
                          "4. Apply");
}

double frmCalibraDDS::offset() const {
    return parseNumber(txtOffset->text()).value_or(0.0);
}

void frmCalibraDDS::send() {
    if (m_context.device)
        m_context.device->tryFrequencyOffset(offset(), m_context.config.freqStart);
}

void frmCalibraDDS::txtOffset_Change() {
    if (m_updating || typingStarted(txtOffset->text()))
        return;
    m_updating = true;
    if (!parseNumber(txtOffset->text()))
        txtOffset->setText(QStringLiteral("0"));
    send();
    m_updating = false;
}

void frmCalibraDDS::txtOffset_LostFocus() {
    if (m_updating || !typingStarted(txtOffset->text()))
        return;
    m_updating = true;
    txtOffset->setText(QStringLiteral("0"));
    send();
    m_updating = false;
}

void frmCalibraDDS::VScrollOffset_Change(int position) {
    if (m_updating)
        return;
    m_updating = true;
    // Position 1 is the bar's upper arrow.
    if (position == 1)
        txtOffset->setText(numberToText(offset() + kStep));
    else if (position == 3)
        txtOffset->setText(numberToText(offset() - kStep));
    VScrollOffset->setValue(2);
    send();
    m_updating = false;
}

void frmCalibraDDS::cmdApply_Click() {
    m_context.config.ddsOffset = offset();
}

void frmCalibraDDS::done(int result) {
    if (!m_closed) {
        m_closed = true;
        if (m_context.device)
            m_context.device->setFrequencyOffset(m_context.config.ddsOffset);
    }
    QDialog::done(result);
}
