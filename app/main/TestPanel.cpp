#include "TestPanel.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "UserMessages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <array>
#include <cmath>

TestPanel::TestPanel(SweepContext& context, QWidget* parent)
    : QObject(parent), m_ctx(context), frameTest(new QGroupBox(QStringLiteral("Test"), parent)) {
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
    const std::array<void (TestPanel::*)(), 7> handlers{
        &TestPanel::cmdReset_Click,    &TestPanel::cmdFreqDDS_Click, &TestPanel::cmdFreqStart_Click,
        &TestPanel::cmdFreqStep_Click, &TestPanel::cmdDraw_Click,    &TestPanel::cmdClear_Click,
        &TestPanel::forcedStop};
    cmdMisura->setMaximumWidth(56);
    buttons->addWidget(cmdMisura, 0, 0);
    connect(cmdMisura, &QPushButton::clicked, this, &TestPanel::cmdMisura_Click);
    for (int i = 0; i < names.size(); ++i) {
        auto* b = new QPushButton(captions[i], frameTest);
        b->setObjectName(names[i]);
        b->setMaximumWidth(56);
        buttons->addWidget(b, (i + 1) / 4, (i + 1) % 4);
        connect(b, &QPushButton::clicked, this, handlers[i]);
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

QPushButton* TestPanel::button(const QString& name) const {
    return frameTest->findChild<QPushButton*>(name);
}

void TestPanel::showMeasureKind(qint16 kind) {
    static const char* const captions[] = {"Angle", "RetLoss", "DUT"};
    if (kind >= 1 && kind <= 3)
        cmdMisura->setText(QString::fromLatin1(captions[kind - 1]));
}

void TestPanel::cmdMisura_Click() {
    SweepDevice* device = m_ctx.device;
    if (!device || !device->capabilities().takesMeasureKind)
        return;
    const QString caption = cmdMisura->text();
    qint16& kind = m_ctx.config.adcChannel;
    if (caption == QStringLiteral("Angle"))
        kind = 2;
    else if (caption == QStringLiteral("RetLoss"))
        kind = 3;
    else if (caption == QStringLiteral("DUT"))
        kind = 1;
    showMeasureKind(kind);
    device->setMeasureKind(kind);
}

void TestPanel::cmdReset_Click() {
    if (m_ctx.device)
        m_ctx.device->testReset([this] { emit generatorReset(); });
}

void TestPanel::refused(const QString& text) {
    m_ctx.messages.beep();
    m_ctx.messages.message(text, QMessageBox::Warning);
}

void TestPanel::cmdFreqDDS_Click() {
    if (m_ctx.device && !m_ctx.device->setGeneratorFrequency(m_ctx.config.freqStart))
        refused(QStringLiteral("DDS frequency not initialized"));
}

void TestPanel::cmdFreqStart_Click() {
    if (m_ctx.device && !m_ctx.device->testStart(m_ctx.config.freqStart))
        refused(QStringLiteral("Start frequency not initialized"));
}

void TestPanel::cmdFreqStep_Click() {
    const qint32 step = m_computeStep ? m_computeStep() : 0;
    if (!m_ctx.device || !m_ctx.device->capabilities().takesStepCommand)
        m_ctx.messages.beep();
    else if (!m_ctx.device->testStep(step))
        refused(QStringLiteral("Step frequency not initialized"));
}

void TestPanel::cmdDraw_Click() {
    // Readings 0..1023 at random, converted as a sweep's are.
    const SweepConfig& cfg = m_ctx.config;
    QVector<double> raw(SweepData::kPoints);
    for (double& d : raw)
        d = 1024 - (std::floor(QRandomGenerator::global()->generateDouble() * 1024) + 1);
    m_ctx.data.setReadings(raw, cfg.scala, cfg.adcStep, cfg.adcOffset);
    emit testCurveReady();
}

void TestPanel::cmdClear_Click() {
    lstLOG->clear();
    txtRX->clear();
    emit cleared();
}
