#include "TestLptDevice.h"

#include "FlowAdaptor.h"
#include "cAsyncLPTAdaptor.h"

TestLptDevice::TestLptDevice(QObject* parent) : TestDeviceBase(QStringLiteral("L> "), parent) {
    new CAsyncLPTAdaptor(this);
    new FlowAdaptor(this);
}

bool TestLptDevice::aInizializzaLPT(short indirizzoLPT) {
    log(QStringLiteral("LPT %1").arg(indirizzoLPT));
    return indirizzoLPT != 0;
}

void TestLptDevice::aInizializzaSweep(int Start, int Step) {
    m_start = Start;
    m_step = Step;
}

void TestLptDevice::aSetAttenuator(uchar wordAtt, short auxNumber) {
    log(QStringLiteral("aux %1 = %2").arg(auxNumber).arg(wordAtt));
}

bool TestLptDevice::aSetAmpli(uchar controlPot, uchar commandPot, uchar cursorePot) {
    log(QStringLiteral("pot %1 %2 %3").arg(controlPot).arg(commandPot).arg(cursorePot));
    return cursorePot != 255;
}

void TestLptDevice::startLog() {
    log(QStringLiteral("StartFreq: %1").arg(m_start));
    log(QStringLiteral("StepFreq: %1").arg(m_step));
}

void TestLptDevice::sendVector(int pass) {
    QList<qint16> v(406, 0);
    for (int k = 1; k <= 400; ++k)
        v[k] = static_cast<qint16>(sample(pass, k));
    emit aVettore(v);
}
