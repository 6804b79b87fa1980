#pragma once
// PIC-shaped test device (org.orvane.Tarvex.cAsyncPIC). mySlowCPU is the pass time in ms;
// aScriviPIC("FAIL", 0) makes the next pass throw.
#include "TestDeviceBase.h"

#include <QList>

class TestPicDevice : public TestDeviceBase {
    Q_OBJECT
    Q_PROPERTY(short aSlowCPU READ mySlowCPU WRITE setSlowCPU)

public:
    explicit TestPicDevice(QObject* parent = nullptr);
    void setSlowCPU(short v);
    int passMs() const override { return mySlowCPU(); }

public Q_SLOTS:
    void Start() { start(); }
    bool aInizializzaSweep(int startFreq, int stepFreq);
    bool aInizializzaCOMM(short porta, const QString& settingsRS232);
    void aExitCOMM();
    bool aScriviPIC(const QString& comando, int frequenza);

Q_SIGNALS:
    void aVettore(const QList<qint16>& vettore);

protected:
    void sendVector(int pass) override;
};
