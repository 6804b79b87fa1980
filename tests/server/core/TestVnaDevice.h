#pragma once
// MiniVNA-shaped test device (org.orvane.Tarvex.cAsyncMiniVNA): vectors of 401 doubles,
// samples 1 to maxCampioniFreq set.
#include "TestDeviceBase.h"

#include <QList>

class TestVnaDevice : public TestDeviceBase {
    Q_OBJECT
    Q_PROPERTY(short aMisura MEMBER m_misura)
    Q_PROPERTY(short aMultiplier MEMBER m_multiplier)
    Q_PROPERTY(double aClock MEMBER m_clock)
    Q_PROPERTY(double aDDSoffset MEMBER m_offset)

public:
    explicit TestVnaDevice(QObject* parent = nullptr);

public Q_SLOTS:
    void Start() { start(); }
    void aSetFrequenza(int Freq) { log(QStringLiteral("freq %1").arg(Freq)); }
    void aInizializzaSweep(int startFreq, int stepFreq, short maxCampioniFreq);
    bool aInizializzaCOMM(short porta, const QString& settingrs232);
    void aExitCOMM();

Q_SIGNALS:
    void aVettore(const QList<double>& vettore);

protected:
    void sendVector(int pass) override;

private:
    short m_misura = 0;
    short m_multiplier = 0;
    double m_clock = 0.0;
    double m_offset = 0.0;
    int m_count = 400;
};
