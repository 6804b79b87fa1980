#include "TestVnaDevice.h"

#include "FlowAdaptor.h"
#include "cAsyncMiniVNAAdaptor.h"

TestVnaDevice::TestVnaDevice(QObject* parent) : TestDeviceBase(QStringLiteral("V> "), parent) {
    new CAsyncMiniVNAAdaptor(this);
    new FlowAdaptor(this);
}

void TestVnaDevice::aInizializzaSweep(int startFreq, int stepFreq, short maxCampioniFreq) {
    m_count = qBound(0, static_cast<int>(maxCampioniFreq), 400);
    log(QStringLiteral("sweep %1 %2 %3").arg(startFreq).arg(stepFreq).arg(m_count));
}

bool TestVnaDevice::aInizializzaCOMM(short porta, const QString& settingrs232) {
    log(QStringLiteral("COMMport %1 %2").arg(porta).arg(settingrs232));
    return porta > 0;
}

void TestVnaDevice::aExitCOMM() {
    log(QStringLiteral("COMMport chiusa"));
    endServerProcess();
}

void TestVnaDevice::sendVector(int pass) {
    QList<double> v(401, 0.0);
    for (int k = 1; k <= m_count; ++k)
        v[k] = sample(pass, k) + 0.5;
    emit aVettore(v);
}
