#pragma once
// Parallel-port-shaped test device (org.orvane.Tarvex.cAsyncLPT): every member of the
// interface, values kept so a client can read back what it wrote.
#include "TestDeviceBase.h"

#include <QList>

class TestLptDevice : public TestDeviceBase {
    Q_OBJECT
    Q_PROPERTY(short myMultifactor MEMBER m_multifactor)
    Q_PROPERTY(double myRefCLK MEMBER m_refClk)
    Q_PROPERTY(QString aDeviceDDS MEMBER m_dds)
    Q_PROPERTY(QString aDeviceADC MEMBER m_adc)
    Q_PROPERTY(short aMultiplier MEMBER m_multifactor)
    Q_PROPERTY(double aClock MEMBER m_refClk)
    Q_PROPERTY(double aDDSoffset MEMBER m_offset)
    Q_PROPERTY(short aSpeed MEMBER m_speed)

public:
    explicit TestLptDevice(QObject* parent = nullptr);

public Q_SLOTS:
    void aStartLPT() { start(); }
    bool aInizializzaLPT(short indirizzoLPT);
    void aInizializzaDDS() { log(QStringLiteral("DDS ") + m_dds); }
    void aExitLPT() { log(QStringLiteral("LPT chiusa")); }
    void aInizializzaSweep(int Start, int Step);
    void aSetFrequenzaDDS(int Freq) { log(QStringLiteral("freq %1").arg(Freq)); }
    short aReadADC() { return static_cast<short>(m_speed * 100 + 5); }
    void aSetAttenuator(uchar wordAtt, short auxNumber);
    bool aSetAmpli(uchar controlPot, uchar commandPot, uchar cursorePot);
    bool i2c_Ack() { return true; }

Q_SIGNALS:
    void aVettore(const QList<qint16>& vettoreVolt);

protected:
    void startLog() override;
    void sendVector(int pass) override;

private:
    short m_multifactor = 0;
    double m_refClk = 0.0;
    QString m_dds;
    QString m_adc;
    double m_offset = 0.0;
    short m_speed = 0;
    int m_start = 0;
    int m_step = 0;
};
