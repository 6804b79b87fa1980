#include "TestPicDevice.h"

#include "FlowAdaptor.h"
#include "cAsyncPICAdaptor.h"

TestPicDevice::TestPicDevice(QObject* parent) : TestDeviceBase(QStringLiteral("P> "), parent) {
    new CAsyncPICAdaptor(this);
    new FlowAdaptor(this);
}

void TestPicDevice::setSlowCPU(short v) {
    setMySlowCPU(v);
}

bool TestPicDevice::aInizializzaSweep(int startFreq, int stepFreq) {
    log(QStringLiteral("sweep %1 %2").arg(startFreq).arg(stepFreq));
    return true;
}

bool TestPicDevice::aInizializzaCOMM(short porta, const QString& settingsRS232) {
    if (porta <= 0) {
        raise(3, QStringLiteral("porta COM%1 non valida").arg(porta));
        return false;
    }
    log(QStringLiteral("COMMport inizializzata ") + settingsRS232);
    return true;
}

void TestPicDevice::aExitCOMM() {
    log(QStringLiteral("COMMport chiusa"));
    endServerProcess();
}

bool TestPicDevice::aScriviPIC(const QString& comando, int frequenza) {
    if (comando == QLatin1String("FAIL")) {
        failNextPass();
        return true;
    }
    log(QStringLiteral("%1 %2").arg(comando).arg(frequenza));
    return true;
}

void TestPicDevice::sendVector(int pass) {
    QList<qint16> v(406, 0);
    for (int k = 1; k <= 400; ++k)
        v[k] = static_cast<qint16>(sample(pass, k));
    emit aVettore(v);
}
