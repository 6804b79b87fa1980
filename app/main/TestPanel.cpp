#include "TestPanel.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

TestPanel::TestPanel(QWidget* parent)
    : QObject(parent), frameTest(new QGroupBox(QStringLiteral("Test"), parent)) {
    frameTest->setObjectName(QStringLiteral("frameTest"));
    auto* g = new QGridLayout(frameTest);
    g->setContentsMargins(4, 2, 4, 2);
    lstLOG = new QListWidget(frameTest);
    lstLOG->setObjectName(QStringLiteral("lstLOG"));
    lstLOG->setAccessibleName(QStringLiteral("Log"));
    lstLOG->setMaximumHeight(90);
    lstLOG->setMinimumWidth(150);
    g->addWidget(lstLOG, 0, 0, 3, 1);
    txtRX = makeField(QStringLiteral("txtRX"), QStringLiteral("Last received"), true, frameTest);
    txtErrori = makeField(QStringLiteral("txtErrori"), QStringLiteral("Errori"), true, frameTest);
    txtErrori->setText(QStringLiteral("0"));
    txtRX->setMaximumWidth(90);
    txtErrori->setMaximumWidth(50);
    lblCampioni = makeLabel(QStringLiteral("lblCampioni"), QStringLiteral("Campioni"), frameTest);
    cmdMisura = new QPushButton(frameTest);
    cmdMisura->setObjectName(QStringLiteral("cmdMisura"));
    g->addWidget(txtRX, 0, 1, 1, 2);
    g->addWidget(makeLabel(QStringLiteral("Label4"), QStringLiteral("Errori"), frameTest), 1, 1);
    g->addWidget(txtErrori, 1, 2);
    g->addWidget(lblCampioni, 2, 1, 1, 2);
    auto* buttons = new QGridLayout;
    const QStringList names{QStringLiteral("cmdReset"),     QStringLiteral("cmdFreqDDS"),
                            QStringLiteral("cmdFreqStart"), QStringLiteral("cmdFreqStep"),
                            QStringLiteral("cmdDraw"),      QStringLiteral("cmdClear"),
                            QStringLiteral("cmdSwStop")};
    const QStringList captions{QStringLiteral("Reset"),   QStringLiteral("F.dds"),
                               QStringLiteral("F.Start"), QStringLiteral("F.Step"),
                               QStringLiteral("Draw"),    QStringLiteral("Clear"),
                               QStringLiteral("Stop")};
    cmdMisura->setMaximumWidth(56);
    buttons->addWidget(cmdMisura, 0, 0);
    for (int i = 0; i < names.size(); ++i) {
        auto* b = new QPushButton(captions[i], frameTest);
        b->setObjectName(names[i]);
        b->setMaximumWidth(56);
        buttons->addWidget(b, (i + 1) / 4, (i + 1) % 4);
    }
    g->addLayout(buttons, 0, 3, 3, 1);
    g->setColumnStretch(0, 1);
    g->setHorizontalSpacing(4);
    frameTest->hide();
}

void TestPanel::appendLog(const QString& line) {
    lstLOG->addItem(line);
    lstLOG->setCurrentRow(lstLOG->count() - 1);
    lstLOG->scrollToBottom();
}

void TestPanel::showPoint(int i, double received) {
    txtRX->setText(QStringLiteral("%1:%2").arg(i).arg(numberToText(received)));
    txtRX->repaint();
}

void TestPanel::countRetry() {
    const double n = parseNumber(txtErrori->text()).value_or(0.0);
    txtErrori->setText(numberToText(n + 1));
}

void TestPanel::setSampleCount(const QString& text) {
    lblCampioni->setText(text);
}

void TestPanel::setMeasureCaption(const QString& text) {
    cmdMisura->setText(text);
}
