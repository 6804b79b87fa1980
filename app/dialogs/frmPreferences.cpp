#include "frmPreferences.h"

#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "SweepConfig.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmPreferences::frmPreferences(SweepContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_cursorMode(context.config.cursorMode) {
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Cursor type"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* cursorLayout = new QVBoxLayout(Frame1);
    const QStringList captions{QStringLiteral("Floating cross"), QStringLiteral("Linked ")};
    for (int i = 0; i < 2; ++i) {
        optCursor[i] = new QRadioButton(captions[i], Frame1);
        optCursor[i]->setObjectName(QStringLiteral("optCursor_%1").arg(i));
        cursorLayout->addWidget(optCursor[i]);
    }
    // The stored mode is shown first; then the options act on their state, however it changes.
    optCursor[m_cursorMode != 0 ? 1 : 0]->setChecked(true);
    for (int i = 0; i < 2; ++i)
        connect(optCursor[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                m_cursorMode = static_cast<qint16>(i);
        });
    layout->addWidget(Frame1);

    Frame2 = new QGroupBox(QStringLiteral("Logarithmic scales"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* scaleLayout = new QVBoxLayout(Frame2);
    chkScalaLogaritmica =
        new QCheckBox(limitCaption(m_context.config.adcOffset, m_context.config.adcStep), Frame2);
    chkScalaLogaritmica->setObjectName(QStringLiteral("chkScalaLogaritmica"));
    // Shown for information: the scales are not limited.
    chkScalaLogaritmica->setEnabled(false);
    scaleLayout->addWidget(chkScalaLogaritmica);
    layout->addWidget(Frame2);

    auto* buttons = new QHBoxLayout;
    cmdExit = new QPushButton(QStringLiteral("EXIT"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmPreferences::limitCaption(float adcOffset, float adcStep) {
    // Against the 1 V reference of the logarithmic scales (scale 2).
    const double db = voltToDb(double(adcOffset + adcStep), 2);
    return QStringLiteral("Limit the Logaritmic Scales to the range of the ADC (") +
           numberToText(db) + QLatin1Char(')');
}

void frmPreferences::done(int result) {
    if (!m_closed) {
        m_closed = true;
        m_context.config.writePreferences(m_cursorMode);
        if (m_context.cursorModeChanged)
            m_context.cursorModeChanged(m_cursorMode);
    }
    QDialog::done(result);
}
